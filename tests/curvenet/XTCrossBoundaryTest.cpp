#include <gtest/gtest.h>

#include "curvenet/XTCrossBoundary.h"
#include "curvenet/XTEdges.h"
#include "foundation/VkMaths.h"
#include "surfaces/ManifoldFixtures.h"

using namespace sarnova;

TEST(InteriorEdgeRibbons, RunAcrossTheEdgeIntoTheFaceOnEachSide) {
    // A square folded along AC (D lifted), split by the new edge AC.
    TManifold M;
    UseXTEdgeFactories(M);
    sarnova::testing::BuildManifold(M, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0.5}}, {{0, 1, 2, 3}, {0, 3, 2, 1}});
    TFaceSplit Split;
    M.Faces().Face(0)->SubDivide(M.Vertices().Vertex(0), M.Vertices().Vertex(2), Split);
    auto* AC = static_cast<TXTEdge*>(Split.NewEdge);
    SetInteriorEdgeRibbons(*AC);

    const TMVector Mid{0.5, 0.5, 0};
    const TMVector Along = VectorNormalise({1, 1, 0});
    for (TXTFin* F : {AC->XTFin1(), AC->XTFin2()}) {
        TXTBSpline& R = F->Ribbon();
        ASSERT_EQ(R.Count(), 2);
        EXPECT_EQ(R.Order(), 2);
        // The corner of this side's triangle that is not on AC.
        TMVector Corner;
        for (const TFin* X : F->GetFace()->Fins())
            if (X->GetVertex() != M.Vertices().Vertex(0) && X->GetVertex() != M.Vertices().Vertex(2))
                Corner = X->GetVertex()->Position;
        const TMVector Into = VectorFromTo(Mid, Corner);
        for (int I = 0; I < 2; ++I) {
            TMVector V;
            R.PointAt(I, V);
            EXPECT_NEAR(VectorLength(V), 1.0, 1e-9);
            EXPECT_NEAR(VectorDot(V, Along), 0.0, 1e-9);
            // In the plane of the side's triangle, pointing to its far corner.
            const TMVector Expected =
                VectorNormalise(VectorAdd(Into, VectorScale(Along, -VectorDot(Into, Along))));
            EXPECT_LT(VectorDistance(V, Expected), 1e-9) << I;
        }
    }
}
