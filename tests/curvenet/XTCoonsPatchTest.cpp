#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "curvenet/PatchEdgeFixtures.h"
#include "curvenet/XTBezierCoonsPatch.h"
#include "curvenet/XTCoonsPatch.h"
#include "curvenet/XTPatchEdge.h"
#include "curvenet/XTSurfaceOptions.h"
#include "foundation/VkMaths.h"

using namespace sarnova;
using sarnova::test::TCurvedQuad;
using sarnova::test::SideAt;
using sarnova::test::TPatchFaceFixture;

namespace {

// The unit square; the loop starts so that side 0 runs from (0, 0) along x and side 1 along y.
const std::vector<TMVector> Square = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
const std::vector<int> SquareLoop = {1, 0, 3, 2};

std::unique_ptr<TBSplineSurface> PatchOfType(TXTPatchEdges& Edges, int Type) {
    if (Type == 2) return BuildCoonsPatch(Edges);
    return BuildBezierCoonsPatch(Edges, Type == 1);
}

}  // namespace

TEST(BezierCoonsPatch, FlatUnitSquareGivesTheBilinearPatchForEveryKind) {
    for (int Type : {0, 1, 2}) {
        TPatchFaceFixture F(Square, SquareLoop);
        TXTPatchEdges Edges;
        Edges.Build(*F.Face, TXTSurfaceOptions{});
        auto S = PatchOfType(Edges, Type);
        ASSERT_NE(S, nullptr);
        for (double U : {0.0, 0.1, 0.5, 0.77, 1.0})
            for (double V : {0.0, 0.3, 0.5, 0.9, 1.0}) {
                const TMVector P = S->Evaluate(U, V);
                EXPECT_NEAR(P.X, U, 1e-12) << Type;
                EXPECT_NEAR(P.Y, V, 1e-12) << Type;
                EXPECT_NEAR(P.Z, 0, 1e-12) << Type;
            }
    }
}

TEST(BezierCoonsPatch, SidesOfDifferentLengthsAreRefinedAndInterpolated) {
    for (bool Cubic : {false, true}) {
        TCurvedQuad F;
        TXTPatchEdges Edges;
        Edges.Build(*F.Face, TXTSurfaceOptions{});
        TXTBezierCoonsPatch Patch(Edges, Cubic);
        Patch.Build();
        ASSERT_NE(Patch.Surface(), nullptr);
        // The loft between sides 0 and 2 has a row of points for every control point of the refined
        // sides, which now agree.
        EXPECT_EQ(Edges.Edge(0).PointCount(), Edges.Edge(2).PointCount()) << Cubic;
        EXPECT_EQ(Patch.SurfaceU()->NumU(), Edges.Edge(0).PointCount()) << Cubic;
        if (Cubic) {
            EXPECT_EQ(Edges.Edge(0).CrossDerivative().Count(), Edges.Edge(0).PointCount());
            EXPECT_EQ(Edges.Edge(2).CrossDerivative().Count(), Edges.Edge(0).PointCount());
        }
        TBSplineSurface& S = *Patch.Surface();
        for (double T : {0.0, 0.15, 0.4, 0.5, 0.83, 1.0}) {
            EXPECT_LT(VectorDistance(S.Evaluate(T, 0), SideAt(Edges.Edge(0), T)), 1e-9) << Cubic << " " << T;
            EXPECT_LT(VectorDistance(S.Evaluate(T, 1), SideAt(Edges.Edge(2), T)), 1e-9) << Cubic << " " << T;
            EXPECT_LT(VectorDistance(S.Evaluate(0, T), SideAt(Edges.Edge(1), T)), 1e-9) << Cubic << " " << T;
            EXPECT_LT(VectorDistance(S.Evaluate(1, T), SideAt(Edges.Edge(3), T)), 1e-9) << Cubic << " " << T;
        }
    }
}

TEST(BezierCoonsPatch, ATriangleShrinksSide1ToItsCorner) {
    for (bool Cubic : {false, true}) {
        TPatchFaceFixture F({{0, 0, 0}, {4, 0, 0}, {4, 1, 0.5}}, {0, 1, 2});
        TXTPatchEdges Edges;
        Edges.Build(*F.Face, TXTSurfaceOptions{});
        auto S = BuildBezierCoonsPatch(Edges, Cubic);
        ASSERT_NE(S, nullptr);
        const TMVector Corner = Edges.Edge(1).StartPoint();
        for (double V : {0.0, 0.3, 0.6, 1.0}) EXPECT_LT(VectorDistance(S->Evaluate(0, V), Corner), 1e-9) << Cubic;
        for (double U : {0.2, 0.7})
            EXPECT_LT(VectorDistance(S->Evaluate(U, 1), SideAt(Edges.Edge(2), U)), 1e-9) << Cubic;
    }
}

TEST(CoonsPatch, OnlyTheCornerDataOfLongerSidesShapeThePatch) {
    TCurvedQuad F;
    TXTPatchEdges Edges;
    Edges.Build(*F.Face, TXTSurfaceOptions{});
    auto S = BuildCoonsPatch(Edges);
    EXPECT_EQ(S->NumU(), 4);
    EXPECT_EQ(S->NumV(), 4);
    TXTPatchEdge& S0 = Edges.Edge(0);
    TXTPatchEdge& S1 = Edges.Edge(1);
    const TSurfaceDerivatives D = S->EvaluateDerivatives(0, 0);
    EXPECT_LT(VectorDistance(D.S, S0.StartPoint()), 1e-12);
    EXPECT_LT(VectorDistance(D.Sv, S0.StartPair().second), 1e-9);
    EXPECT_LT(VectorDistance(D.Su, S1.StartPair().second), 1e-9);
    const TMVector Twist = VectorScale(VectorAdd(S0.StartTwistEstimate(), S1.StartTwistEstimate()), 0.5);
    EXPECT_LT(VectorDistance(D.Suv, Twist), 1e-9);
    for (const auto& [U, V, P] : {std::tuple{1.0, 0.0, S0.EndPoint()}, std::tuple{0.0, 1.0, Edges.Edge(2).StartPoint()},
                                  std::tuple{1.0, 1.0, Edges.Edge(2).EndPoint()}})
        EXPECT_LT(VectorDistance(S->Evaluate(U, V), P), 1e-12);
    // Side 0 has seven control points: the patch leaves it between the corners.
    EXPECT_GT(VectorDistance(S->Evaluate(0.5, 0), SideAt(S0, 0.5)), 1e-3);
}
