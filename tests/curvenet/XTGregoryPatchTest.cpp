#include <gtest/gtest.h>

#include "curvenet/PatchEdgeFixtures.h"
#include "curvenet/XTGregoryPatch.h"
#include "curvenet/XTPatchEdge.h"
#include "curvenet/XTSurfaceOptions.h"
#include "foundation/VkMaths.h"

using namespace sarnova;
using namespace sarnova::test;

TEST(GregoryPatch, SidesOfOneBicubicPatchGiveThatPatch) {
    const auto Net = SampleNet();
    TXTPatchEdges Edges;
    SetBicubicSides(Edges, Net);
    auto G = BuildGregoryPatch(Edges);
    auto B = BicubicPatch(Net);
    for (double U : {0.0, 0.2, 0.5, 0.9, 1.0})
        for (double V : {0.0, 0.1, 0.6, 1.0}) EXPECT_LT(VectorDistance(G->Evaluate(U, V), B->Evaluate(U, V)), 1e-9) << U << " " << V;
}

TEST(GregoryPatch, MeetsTheEndsOfSidesOfManyControlPoints) {
    TCurvedQuad F;
    TXTPatchEdges Edges;
    Edges.Build(*F.Face, TXTSurfaceOptions{});
    ASSERT_GT(Edges.Edge(0).PointCount(), 4);
    auto G = BuildGregoryPatch(Edges);
    const TMVector C00 = Edges.Edge(0).StartPoint(), C10 = Edges.Edge(0).EndPoint();
    const TMVector C01 = Edges.Edge(2).StartPoint(), C11 = Edges.Edge(2).EndPoint();
    EXPECT_LT(VectorDistance(G->Evaluate(0, 0), C00), 1e-9);
    EXPECT_LT(VectorDistance(G->Evaluate(1, 0), C10), 1e-9);
    EXPECT_LT(VectorDistance(G->Evaluate(0, 1), C01), 1e-9);
    EXPECT_LT(VectorDistance(G->Evaluate(1, 1), C11), 1e-9);
    // The boundary leaves each corner along its side.
    const TSurfaceDerivatives D = G->EvaluateDerivatives(0, 0);
    TMVector Start;
    Edges.Edge(0).Curve().StartDerivative(Start);
    EXPECT_LT(VectorDistance(D.Su, Start), 1e-9);
}

TEST(GregoryPatch, ATriangleGivesAPatchWithSide1AtItsCorner) {
    TPatchFaceFixture F({{0, 0, 0}, {4, 0, 0}, {4, 1, 0.5}}, {0, 1, 2});
    TXTPatchEdges Edges;
    Edges.Build(*F.Face, TXTSurfaceOptions{});
    auto G = BuildGregoryPatch(Edges);
    const TMVector Corner = Edges.Edge(1).StartPoint();
    for (double V : {0.0, 0.4, 1.0}) EXPECT_LT(VectorDistance(G->Evaluate(0, V), Corner), 1e-9);
    EXPECT_LT(VectorDistance(G->Evaluate(1, 0.5), SideAt(Edges.Edge(3), 0.5)), 1e-9);
}
