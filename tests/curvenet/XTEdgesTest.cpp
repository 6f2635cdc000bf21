#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "curvenet/XTEdges.h"
#include "curvenet/CurveDocument.h"
#include "foundation/Errors.h"
#include "foundation/VkMaths.h"
#include "platform/RecordingGraphics.h"
#include "surfaces/ManifoldFixtures.h"

using namespace sarnova;

namespace {

TBeadAddress CurveStart(TXTCurve& C) { return MakeBeadAddress(0, C.Segments().Items(0)->MinT()); }
TBeadAddress CurveEnd(TXTCurve& C) { return MakeBeadAddress(C.Segments().Count(), 0.0); }

bool Near(const TMVector& A, const TMVector& B) { return VectorDistance(A, B) < 1e-9; }

// A spline through the given control points, as a ribbon.
std::unique_ptr<TXTBSpline> Ribbon(const std::vector<TMVector>& Points) {
    auto R = std::make_unique<TXTBSpline>();
    for (const TMVector& P : Points) R->AddPoint(P);
    R->Spline().UpdateKnots();
    return R;
}

// The triangle A(0,0,0) B(2,0,0) C(1,2,0), both sides a face, of XT elements, with AB lying on a straight
// curve through (1,0,0).
struct TTriangle {
    test::TCurveDocument Doc;
    TManifold M;
    TXTCurve* Curve = nullptr;
    TXTEdge* AB = nullptr;

    explicit TTriangle(bool ForceBezier = false, double Inner = 1) {
        UseXTEdgeFactories(M);
        sarnova::testing::BuildManifold(M, {{0, 0, 0}, {2, 0, 0}, {1, 2, 0}}, {{0, 1, 2}, {0, 2, 1}});
        Curve = Doc.Add("Keel", {{0, 0, 0}, {Inner, 0, 0}, {2, 0, 0}});
        Curve->Regenerate();
        for (int I = 0; I < M.Edges().Count(); ++I) {
            auto* E = static_cast<TXTEdge*>(M.Edges().Edge(I));
            if (E->OtherVertex(M.Vertices().Vertex(0)) == M.Vertices().Vertex(1)) AB = E;
        }
        if (AB->Fin1()->GetVertex() != M.Vertices().Vertex(0)) AB->Reverse();
        AB->Curve = Curve;
        AB->ForceBezier = ForceBezier;
        AB->StartAddress = CurveStart(*Curve);
        AB->EndAddress = CurveEnd(*Curve);
    }
};

}  // namespace

TEST(XTEdge, ForceBezierMakesOneCubicOnlyOfLongerPieces) {
    test::TCurveDocument Doc;
    const std::vector<std::vector<TMVector>> Shapes = {
        {{0, 0, 0}, {3, 1, 0}},
        {{0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {3, 1, 0}, {4, 0, 0}}};
    for (const auto& Shape : Shapes) {
        TXTCurve* C = Doc.Add("C" + std::to_string(Shape.size()), Shape);
        C->Regenerate();
        const int PieceCount = C->SubCurve(CurveStart(*C), CurveEnd(*C))->Count();
        TManifold M;
        UseXTEdgeFactories(M);
        auto* E = static_cast<TXTEdge*>(M.AddEdge(M.AddVertex(Shape.front()), M.AddVertex(Shape.back())));
        E->Curve = C;
        E->ForceBezier = true;
        E->StartAddress = CurveStart(*C);
        E->EndAddress = CurveEnd(*C);
        const TXTBSpline& S = E->GetSpline();
        EXPECT_EQ(S.Count(), std::min(PieceCount, 4)) << Shape.size();
        TMVector First, Last;
        S.FirstPoint(First);
        S.LastPoint(Last);
        EXPECT_TRUE(Near(First, Shape.front()) && Near(Last, Shape.back())) << Shape.size();
        if (Shape.size() == 5) { EXPECT_GT(PieceCount, 4); }
    }
}

TEST(XTEdge, EndTangentIsTheChordUntilTheSplineIsBuilt) {
    TTriangle T;
    TMVector V{9, 9, 9};
    T.AB->EndTangent(0, V);
    EXPECT_TRUE(Near(V, {2, 0, 0}));
    T.AB->EndTangent(1, V);
    EXPECT_TRUE(Near(V, {-2, 0, 0}));
    T.AB->EndTangent(2, V);
    EXPECT_TRUE(Near(V, {-2, 0, 0}));  // untouched
    T.AB->GetSpline();
    T.AB->EndTangent(1, V);
    EXPECT_LT(V.X, 0);
    EXPECT_NEAR(V.Y, 0, 1e-9);
    EXPECT_TRUE(Near(T.AB->XTFin1()->EdgeTangent(), [&] { TMVector S; T.AB->EndTangent(0, S); return S; }()));
    TMVector D;
    T.AB->Direction(1, D);
    EXPECT_TRUE(Near(D, {-1, 0, 0}));
}

TEST(XTEdge, SplitAtTheChordMidpointSplitsBothRibbonsInHalf) {
    TTriangle T;
    T.AB->XTFin1()->SetRibbon(Ribbon({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}}));
    T.AB->XTFin2()->SetRibbon(Ribbon({{0, 0, 0}, {0, 1, 0}, {0, 2, 0}, {0, 3, 0}}));
    const TBeadAddress OldEnd = T.AB->EndAddress;
    TEdgeSplit Split;
    T.AB->SubDivide({1, 0.1, 0}, Split);
    auto* N = static_cast<TXTEdge*>(Split.NewEdge);
    ASSERT_NE(N, nullptr);
    EXPECT_TRUE(Near(Split.NewVertex->Position, {1, 0, 0}));
    EXPECT_EQ(N->Curve, T.Curve);
    EXPECT_EQ(N->EndAddress, OldEnd);
    EXPECT_EQ(N->StartAddress, T.AB->EndAddress);
    TMVector P;
    T.AB->GetSpline().LastPoint(P);
    EXPECT_TRUE(Near(P, {1, 0, 0}));
    N->GetSpline().LastPoint(P);
    EXPECT_TRUE(Near(P, {2, 0, 0}));
    const std::pair<TXTFin*, TXTFin*> Sides[] = {{T.AB->XTFin1(), N->XTFin1()}, {T.AB->XTFin2(), N->XTFin2()}};
    const TMVector Middles[] = {{1.5, 0, 0}, {0, 1.5, 0}};
    for (int S = 0; S < 2; ++S) {
        TMVector Last, First;
        Sides[S].first->Ribbon().LastPoint(Last);
        Sides[S].second->Ribbon().FirstPoint(First);
        EXPECT_TRUE(Near(Last, Middles[S])) << S;
        EXPECT_TRUE(Near(First, Middles[S])) << S;
    }
}

// A ribbon runs with its edge's spline parameter. Here each fin's ribbon is its edge's spline itself:
// after a split each piece's ribbon must still be its own spline, and after the pieces are joined
// again the joined ribbon the joined spline, also where the curve's points are spaced unevenly, so
// that a place's share of the chord is not its share of the parameter.
TEST(XTEdge, SplitAndJoinedRibbonsStayWithTheirStretchOfCurve) {
    const auto RibbonsFollow = [](std::initializer_list<TXTEdge*> Edges, const std::string& Where) {
        for (TXTEdge* E : Edges)
            for (TXTFin* F : {E->XTFin1(), E->XTFin2()})
                for (const double S : {0.0, 0.3, 0.7, 1.0}) {
                    TXTBSpline& Spline = E->GetSpline();
                    TXTBSpline& R = F->Ribbon();
                    TMVector OnSpline, OnRibbon;
                    Spline.PositionAt(Spline.MinT() + S * (Spline.MaxT() - Spline.MinT()), OnSpline);
                    R.PositionAt(R.MinT() + S * (R.MaxT() - R.MinT()), OnRibbon);
                    EXPECT_LT(VectorDistance(OnSpline, OnRibbon), 1e-9) << Where << " " << S;
                }
    };
    for (const bool Bezier : {false, true}) {
        TTriangle T(Bezier, 0.3);
        for (TXTFin* F : {T.AB->XTFin1(), T.AB->XTFin2()}) F->SetRibbon(T.AB->GetSpline().Clone());
        TEdgeSplit Split;
        if (Bezier)
            T.AB->SubDivideAtT(Split, T.AB->GetSpline().MinT() + 0.4 * (T.AB->GetSpline().MaxT() - T.AB->GetSpline().MinT()));
        else
            T.AB->SubDivide({1.4, 0.1, 0}, Split);
        auto* N = static_cast<TXTEdge*>(Split.NewEdge);
        ASSERT_NE(N, nullptr);
        RibbonsFollow({T.AB, N}, Bezier ? "Bezier split" : "split");

        // The pieces of a non-Bezier edge are cut from the curve; the joined edge is the curve again.
        if (Bezier) continue;
        for (TXTEdge* E : {T.AB, N})
            for (TXTFin* F : {E->XTFin1(), E->XTFin2()}) F->SetRibbon(E->GetSpline().Clone());
        TFin* F = T.AB->GetFin(Split.NewVertex);
        if (F->NextFin == nullptr || F->NextFin->GetEdge() != N) F = F->OtherFin();
        ASSERT_NE(F->NextFin, nullptr);
        T.AB->JoinToNext(F);
        RibbonsFollow({T.AB}, "joined");
    }
}

TEST(XTEdge, RefusedSplitsAndJoinsLeaveTheEdgeAsItWas) {
    TTriangle Bezier(true), Plain;
    TEdgeSplit Split;
    const int Edges = Bezier.M.Edges().Count();
    try {
        Bezier.AB->SubDivideAtBead(MakeBeadAddress(0, 0.5), Split);
        ADD_FAILURE();
    } catch (const EGeometryError& E) {
        EXPECT_STREQ(E.what(), "TXTEdge.SubDivide(Bead) - Attempting to subdivide a bezier edge with a bead");
    }
    try {
        Plain.AB->SubDivideAtT(Split, 0.5);
        ADD_FAILURE();
    } catch (const EGeometryError& E) {
        EXPECT_STREQ(E.what(), "TXTEdge.SubDivide(T) - Attempting to subdivide a non bezier edge with T");
    }
    // BC lies on no curve, AB on the keel.
    try {
        Plain.AB->JoinToNext(Plain.AB->Fin2()->NextFin != nullptr ? Plain.AB->Fin2() : Plain.AB->Fin1());
        ADD_FAILURE();
    } catch (const EGeometryError& E) {
        EXPECT_STREQ(E.what(), "TXTEdge.JoinToNext - Can only join to an edge on the same curve");
    }
    EXPECT_EQ(Bezier.M.Edges().Count(), Edges);
    EXPECT_EQ(Plain.M.Edges().Count(), Edges);
    EXPECT_EQ(Plain.AB->EndAddress, CurveEnd(*Plain.Curve));
}

TEST(XTEdge, BezierSplitAtTAndJoinBackRestoreTheEdge) {
    TTriangle T(true);
    T.AB->XTFin1()->SetRibbon(Ribbon({{0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}}));
    TEdgeSplit Split;
    T.AB->SubDivideAtT(Split, 0.25);
    auto* N = static_cast<TXTEdge*>(Split.NewEdge);
    TMVector Start;
    N->GetSpline().FirstPoint(Start);
    EXPECT_TRUE(Near(Split.NewVertex->Position, Start));
    EXPECT_NEAR(Start.Y, 0, 1e-9);
    EXPECT_GT(Start.X, 0);
    EXPECT_LT(Start.X, 2);
    EXPECT_EQ(N->XTFin1()->Ribbon().Count(), 4);
    EXPECT_EQ(T.AB->NextOnCurveAtEnd(), N);
    EXPECT_EQ(N->NextOnCurveAtStart(), T.AB);
    EXPECT_EQ(T.AB->NextOnCurveAtStart(), nullptr);

    // The fin whose head is the new vertex and whose loop goes on along the new edge.
    TFin* F = T.AB->GetFin(Split.NewVertex);
    if (F->NextFin == nullptr || F->NextFin->GetEdge() != N) F = F->OtherFin();
    ASSERT_NE(F->NextFin, nullptr);
    N->Curve = T.Curve;
    T.AB->JoinToNext(F);
    EXPECT_EQ(T.M.Edges().Count(), 3);
    EXPECT_EQ(T.AB->StartAddress, CurveStart(*T.Curve));
    EXPECT_EQ(T.AB->EndAddress, CurveEnd(*T.Curve));
    TMVector Last;
    T.AB->GetSpline().LastPoint(Last);
    EXPECT_TRUE(Near(Last, {2, 0, 0}));  // rebuilt for the merged piece
    // The ribbon pieces joined again; the side that had none stays empty.
    TXTBSpline& R = T.AB->XTFin1()->Ribbon();
    ASSERT_GT(R.Count(), 4);
    TMVector Mid;
    R.PositionAt((R.MinT() + R.MaxT()) / 2, Mid);
    EXPECT_TRUE(Near(Mid, {0, 0, 1}));
    EXPECT_EQ(T.AB->XTFin2()->Ribbon().Count(), 0);
}

TEST(XTEdge, ReverseSwapsRibbonsAndKeepsAddresses) {
    TTriangle T;
    T.AB->XTFin1()->SetRibbon(Ribbon({{1, 0, 0}, {1, 0, 0}}));
    const TBeadAddress Start = T.AB->StartAddress;
    T.AB->Reverse();
    EXPECT_EQ(T.AB->XTFin1()->Ribbon().Count(), 0);
    EXPECT_EQ(T.AB->XTFin2()->Ribbon().Count(), 2);
    EXPECT_EQ(T.AB->StartAddress, Start);

    TRecordingGraphics G;
    T.AB->XTFin1()->DrawRibbon(G, 1.0);
    EXPECT_TRUE(G.Calls.empty());
    T.AB->DrawWithOptions(G, 0x10 | 0x20, 1.0);
    EXPECT_EQ(G.Calls.size(), 2u * (101 + 100));
}
