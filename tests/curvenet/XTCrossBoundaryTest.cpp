#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "curvenet/CurveDocument.h"
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

namespace {

// A roof of four quads: the ridge R0 R1 R2 along x on a curve, eaves at y = -1 and y = 1, Drop below
// the ridge; the open boundary closed by an exterior face.
struct TRoof {
    test::TCurveDocument Doc;
    TManifold M;
    TXTCurve* Ridge = nullptr;
    std::vector<TXTEdge*> RidgeEdges;

    // Twisted: the first left quad is two triangles with its outer corner raised, so that the left
    // side is no longer one plane at the middle of the ridge.
    TRoof(double Drop, std::uint8_t RibbonKind, bool Twisted = false) {
        UseXTEdgeFactories(M);
        std::vector<TMVector> P = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}};
        for (double Y : {-1.0, 1.0})
            for (int X = 0; X < 3; ++X) P.push_back({double(X), Y, -Drop});
        sarnova::testing::TIndexPolygons Faces = {{4, 5, 2, 1}, {0, 1, 7, 6}, {1, 2, 8, 7}, {4, 3, 0, 6, 7, 8, 2, 5}};
        if (Twisted) {
            P[3].Z = -Drop / 2;
            Faces.insert(Faces.begin(), {{3, 4, 1}, {3, 1, 0}});
        } else {
            Faces.insert(Faces.begin(), {3, 4, 1, 0});
        }
        sarnova::testing::BuildManifold(M, P, Faces);
        for (int I = 0; I < 2; ++I) {
            TVertex* A = M.Vertices().Vertex(I);
            TVertex* B = M.Vertices().Vertex(I + 1);
            for (int J = 0; J < A->EdgeCount(); ++J)
                if (A->Edge(J)->OtherVertex(A) == B) RidgeEdges.push_back(static_cast<TXTEdge*>(A->Edge(J)));
        }
        // The curve runs the way the ridge edges do, from their first fins to their second.
        std::vector<TMVector> Points = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}};
        if (RidgeEdges[0]->Fin1()->GetVertex() != M.Vertices().Vertex(0)) std::reverse(Points.begin(), Points.end());
        Ridge = Doc.Add("Ridge", Points);
        Ridge->SetRibbonKind(RibbonKind);
        Ridge->Regenerate();
        for (TXTEdge* E : RidgeEdges) {
            E->Curve = Ridge;
            Ridge->NearestAddress(E->Fin1()->GetVertex()->Position, E->StartAddress);
            Ridge->NearestAddress(E->Fin2()->GetVertex()->Position, E->EndAddress);
        }
    }

    // The unit direction across the ridge into the face of fin F, at x.
    static TMVector IntoFace(const TFin* F) {
        for (const TFin* X : F->GetFace()->Fins())
            if (X->GetVertex()->Position.Y != 0) {
                const TMVector P = X->GetVertex()->Position;
                return VectorNormalise({0, P.Y, P.Z});
            }
        return ZeroVector;
    }
};

TMVector RibbonAt(TXTFin* F, double Fraction) {
    TXTBSpline& R = F->Ribbon();
    TMVector V;
    R.PositionAt(R.MinT() + (R.MaxT() - R.MinT()) * Fraction, V);
    return V;
}

}  // namespace

TEST(CrossBoundaryTangents, RibbonsPointIntoTheFaceOnEachSide) {
    struct TCase {
        const char* Name;
        double Drop;
        std::uint8_t Kind;
        bool Linear;
    };
    const TCase Cases[] = {{"knuckle roof", 1.0, rkKnuckle, false},
                           {"folded roof", 1.0, rkNone, false},
                           {"flat", 0.0, rkNone, false},
                           {"flat, linear", 0.0, rkNone, true},
                           {"knuckle roof, linear", 1.0, rkKnuckle, true}};
    for (const TCase& C : Cases) {
        TRoof Roof(C.Drop, C.Kind);
        std::vector<std::string> Messages;
        GenerateCrossBoundaryTangents(*Roof.Ridge, Roof.M, C.Linear,
                                      [&](const TInfoMessage& M) { Messages.push_back(M.Text); });
        EXPECT_TRUE(Messages.empty()) << C.Name << ": " << (Messages.empty() ? "" : Messages[0]);
        for (TXTEdge* E : Roof.RidgeEdges)
            for (TXTFin* F : {E->XTFin1(), E->XTFin2()}) {
                ASSERT_GE(F->Ribbon().Count(), 2) << C.Name;
                if (C.Linear) {
                    EXPECT_EQ(F->Ribbon().Count(), 2) << C.Name;
                }
                for (double At : {0.0, 0.5, 1.0})
                    EXPECT_LT(VectorDistance(RibbonAt(F, At), TRoof::IntoFace(F)), 1e-6) << C.Name << " at " << At;
            }
        // Only a flat roof has sides that are negations of each other.
        const TMVector Sum = VectorAdd(RibbonAt(Roof.RidgeEdges[0]->XTFin1(), 0.5), RibbonAt(Roof.RidgeEdges[0]->XTFin2(), 0.5));
        EXPECT_EQ(VectorLength(Sum) < 1e-9, C.Drop == 0.0) << C.Name;
    }
}

TEST(CrossBoundaryTangents, ReportsEachEdgeOutOfTheTangentPlane) {
    TRoof Roof(1.0, rkNone, true);
    std::vector<TInfoMessage> Messages;
    GenerateCrossBoundaryTangents(*Roof.Ridge, Roof.M, false, [&](const TInfoMessage& M) { Messages.push_back(M); });
    ASSERT_EQ(Messages.size(), 1u);
    const std::string& Text = Messages[0].Text;
    EXPECT_EQ(Text.rfind("Non-continuous tangent plane at Vertex 1 (     1.000,      0.000,      0.000) on Side ", 0), 0u)
        << Text;
    EXPECT_EQ(Text.substr(Text.size() - 9), " of Ridge") << Text;
    EXPECT_EQ(Messages[0].Sender, Roof.M.Vertices().Vertex(1));
    // The ribbons are made all the same.
    for (TXTEdge* E : Roof.RidgeEdges) EXPECT_GE(E->XTFin1()->Ribbon().Count(), 2);
}
