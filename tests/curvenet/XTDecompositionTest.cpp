#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "curvenet/CurveDocument.h"
#include "curvenet/XTDecomposition.h"
#include "curvenet/XTPatchFixtures.h"
#include "foundation/Errors.h"

using namespace sarnova;
using test::RegularPolygon;
using test::TXTPatchFace;

namespace {

TXTEdge* EdgeBetween(TManifold& M, int A, int B) {
    TVertex* VA = M.Vertices().Vertex(A);
    TVertex* VB = M.Vertices().Vertex(B);
    for (int I = 0; I < VA->EdgeCount(); ++I)
        if (VA->Edge(I)->OtherVertex(VA) == VB) return static_cast<TXTEdge*>(VA->Edge(I));
    return nullptr;
}

void ForceBezier(TManifold& M) {
    for (int I = 0; I < M.Edges().Count(); ++I) static_cast<TXTEdge*>(M.Edges().Edge(I))->ForceBezier = true;
}

// Interior faces and their side counts.
std::vector<int> InteriorSides(const TManifold& M) {
    std::vector<int> Sides;
    for (int I = 0; I < M.Faces().Count(); ++I)
        if (!M.Faces().Face(I)->IsExterior()) Sides.push_back(M.Faces().Face(I)->FinCount());
    return Sides;
}

TMVector ControlPoint(TXTBSpline& S, int I) {
    TMVector V;
    S.PointAt(I, V);
    return V;
}

// The cubic Bezier P at T by de Casteljau, with the control points of its two pieces.
TMVector DeCasteljau(const std::vector<TMVector>& P, double T, std::vector<TMVector>& First, std::vector<TMVector>& Second) {
    std::vector<TMVector> L = P;
    First = {L[0]};
    Second = {L[3]};
    for (int Round = 0; Round < 3; ++Round) {
        for (std::size_t I = 0; I + 1 < L.size(); ++I) L[I] = VectorLerp(L[I], L[I + 1], T);
        L.pop_back();
        First.push_back(L.front());
        Second.insert(Second.begin(), L.back());
    }
    return L[0];
}

// A pentagon whose bottom side runs through a middle vertex: v0 (0, 0), v1 (1, 0), v2 (2, 0), v3 (2, 1),
// v4 (-0.5, 1). Along y three vertices share a level; along x the cut from v0 would leave a triangle,
// so the one cut runs from v1 up to the top side v3 v4.
const std::vector<TMVector> Pentagon = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {2, 1, 0}, {-0.5, 1, 0}};

}  // namespace

TEST(Decomposition, TriesTheAxesMoreThanThirtyDegreesFromTheNormal) {
    // A hexagon tilted about x by Tilt degrees: its normal leaves z towards y.
    struct TCase {
        double Tilt;
        std::vector<TMVector> Axes;
    };
    const TCase Cases[] = {{10, {{1, 0, 0}, {0, 1, 0}}}, {80, {{0, 0, 1}, {1, 0, 0}}}, {45, {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}}}};
    for (const TCase& C : Cases) {
        std::vector<TMVector> P = RegularPolygon(6);
        const double A = C.Tilt * std::numbers::pi / 180;
        for (TMVector& V : P) V = {V.X, V.Y * std::cos(A), V.Y * std::sin(A)};
        TXTPatchFace Face(P);
        TXTDecomposition D;
        D.Plan(Face.Face);
        ASSERT_EQ(D.DirectionCount(), static_cast<int>(C.Axes.size())) << C.Tilt;
        for (int I = 0; I < D.DirectionCount(); ++I) EXPECT_EQ(D.Direction(I)->Axis, C.Axes[I]) << C.Tilt;
    }
    // Three sides or fewer: nothing to decompose.
    TXTPatchFace Triangle(RegularPolygon(3));
    TXTDecomposition D;
    EXPECT_TRUE(D.Plan(Triangle.Face));
    EXPECT_EQ(D.DirectionCount(), 0);
}

TEST(Decomposition, VerticesOnOneLevelMakeOneCutFromVertexToVertex) {
    // The regular hexagon: along y, v0 and v3 share a level, and so do v1, v2 and v4, v5. The pairs
    // on an edge need no cut; the middle one cuts the face into two four-sided halves. Along x the
    // bands would be more elongated.
    TXTPatchFace Face(RegularPolygon(6));
    ForceBezier(Face.M);
    TXTDecomposition D;
    ASSERT_FALSE(D.Plan(Face.Face));
    ASSERT_EQ(D.DirectionCount(), 2);
    TXTDecompositionDirection* Y = D.Direction(1);
    ASSERT_EQ(Y->SliceCount(), 3);
    for (int S = 0; S < 3; ++S) {
        const TXTDecompositionSlice* Slice = Y->Slice(S);
        ASSERT_TRUE(Slice->HasEnd()) << S;
        EXPECT_FALSE(Slice->EndInside()) << S;
        EXPECT_NEAR(Slice->EndPoint().Y, Slice->StartPoint().Y, 1e-12) << S;
    }
    EXPECT_LT(Y->Score, D.Direction(0)->Score);
    ASSERT_FALSE(D.Execute());
    EXPECT_EQ(D.Chosen(), Y);
    EXPECT_EQ(InteriorSides(Face.M), (std::vector<int>{4, 4}));
    EXPECT_EQ(sarnova::testing::CheckLinks(Face.M), "");
    // The cut is a cubic Bezier in the plane y = 0, from v3 to v0 or back.
    auto* Cut = static_cast<TXTEdge*>(Face.M.Edges().Last());
    TXTBSpline& S = Cut->GetSpline();
    ASSERT_EQ(S.Count(), 4);
    EXPECT_EQ(S.Order(), 4);
    for (int I = 0; I < 4; ++I) EXPECT_NEAR(ControlPoint(S, I).Y, 0.0, 1e-12) << I;
    EXPECT_NEAR(std::abs(ControlPoint(S, 0).X), 1.0, 1e-12);
    EXPECT_NEAR(ControlPoint(S, 3).X, -ControlPoint(S, 0).X, 1e-12);
    // Both sides of the cut have ribbons.
    EXPECT_EQ(Cut->XTFin1()->Ribbon().Count(), 2);
    EXPECT_EQ(Cut->XTFin2()->Ribbon().Count(), 2);
}

TEST(Decomposition, AnAxisWithThreeVerticesOnALevelFails) {
    // Along x three vertices lie at x = 1; y has no such level.
    TXTPatchFace Face({{0, 0, 0}, {1, -1, 0}, {3, -1, 0}, {3, 1, 0}, {1, 1, 0}, {1, 0.3, 0}});
    ForceBezier(Face.M);
    TXTDecomposition D;
    ASSERT_FALSE(D.Plan(Face.Face));
    ASSERT_EQ(D.DirectionCount(), 2);
    EXPECT_TRUE(D.Direction(0)->Failed);
    EXPECT_FALSE(D.Direction(1)->Failed);
    ASSERT_FALSE(D.Execute());
    EXPECT_EQ(D.Chosen(), D.Direction(1));
    EXPECT_EQ(sarnova::testing::CheckLinks(Face.M), "");
    EXPECT_GT(InteriorSides(Face.M).size(), 1u);

    // A face that no axis can cut: a square has fewer than three slices on every axis.
    TXTPatchFace Square({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}});
    TXTDecomposition S;
    EXPECT_TRUE(S.Plan(Square.Face));
    EXPECT_TRUE(Decompose(Square.Face));
    EXPECT_EQ(InteriorSides(Square.M), (std::vector<int>{4}));
}

TEST(Decomposition, ACutIntoABezierEdgeSplitsItIntoExactPieces) {
    // The top side v3 v4 bulges unevenly; the cut from v1 meets it at x = 1.
    const std::vector<TMVector> Top = {{2, 1, 0}, {1.8, 1.6, 0}, {0.2, 1.2, 0}, {-0.5, 1, 0}};
    TXTPatchFace Face(Pentagon, [&](const TMVector& A, const TMVector& B) {
        if (A.Y == 1 && B.Y == 1) return A.X > B.X ? Top : std::vector<TMVector>(Top.rbegin(), Top.rend());
        return std::vector<TMVector>{A, VectorLerp(A, B, 1.0 / 3), VectorLerp(A, B, 2.0 / 3), B};
    });
    ForceBezier(Face.M);
    TXTEdge* TopEdge = EdgeBetween(Face.M, 3, 4);
    const bool FromV3 = TopEdge->Fin1()->GetVertex() == Face.M.Vertices().Vertex(3);
    const std::vector<TMVector> Control = FromV3 ? Top : std::vector<TMVector>(Top.rbegin(), Top.rend());
    const int EdgesBefore = Face.M.Edges().Count();

    TXTDecomposition D;
    ASSERT_FALSE(D.Plan(Face.Face));
    ASSERT_EQ(D.DirectionCount(), 2);
    EXPECT_TRUE(D.Direction(1)->Failed);  // y: v0, v1 and v2 on one level
    // Along x, the cut from v0 would leave the triangle v4 v0 and the crossing below the band of v1:
    // it is dropped.
    TXTDecompositionDirection* X = D.Direction(0);
    ASSERT_EQ(X->SliceCount(), 3);
    EXPECT_EQ(X->Slice(1)->StartPoint(), Pentagon[1]);
    EXPECT_TRUE(X->Slice(1)->EndInside());
    EXPECT_EQ(X->Slice(1)->SidesBefore + X->Slice(1)->SidesAfter, 8);
    ASSERT_FALSE(D.Execute());

    // Split edge, new half and cut edge.
    ASSERT_EQ(Face.M.Edges().Count(), EdgesBefore + 2);
    auto* Half = static_cast<TXTEdge*>(Face.M.Edges().Edge(EdgesBefore));
    TXTBSpline& Piece = TopEdge->GetSpline();
    ASSERT_EQ(Piece.Count(), 4);
    // The parameter the edge was split at, from the first piece's second control point.
    const double T = (ControlPoint(Piece, 1).X - Control[0].X) / (Control[1].X - Control[0].X);
    std::vector<TMVector> First, Second;
    const TMVector At = DeCasteljau(Control, T, First, Second);
    // The crossing is found to the root finder's tolerance.
    EXPECT_NEAR(At.X, 1.0, 1e-4);
    EXPECT_LT(VectorDistance(TopEdge->Fin2()->GetVertex()->Position, At), 1e-12);
    for (auto [Edge, Expected] : {std::pair{TopEdge, &First}, std::pair{Half, &Second}}) {
        TXTBSpline& S = Edge->GetSpline();
        ASSERT_EQ(S.Count(), 4);
        for (int I = 0; I < 4; ++I) EXPECT_LT(VectorDistance(ControlPoint(S, I), (*Expected)[I]), 1e-12) << I;
        EXPECT_TRUE(Edge->ForceBezier);
    }
    EXPECT_EQ(InteriorSides(Face.M), (std::vector<int>{4, 4}));
    EXPECT_EQ(sarnova::testing::CheckLinks(Face.M), "");
}

TEST(Decomposition, ACutInsideARunOfOneCurveBlendsTheTangentsAtTheRunsEnds) {
    // v1 lies inside the bottom curve v0 v1 v2. The neighbouring sides leave its ends along
    // (-0.5, 1) and (0, 1); half way the blend is -0.25 along the curve and 1 along the ribbon, and
    // the ellipse through (1, 0) and (-0.25, 1) crosses x = 1 at height 1 / sqrt(1 - 1/16).
    test::TCurveDocument Doc;
    TXTCurve* Bottom = Doc.Add("Bottom", {Pentagon[0], Pentagon[1], Pentagon[2]});
    TXTPatchFace Face(Pentagon);
    ForceBezier(Face.M);
    EdgeBetween(Face.M, 0, 1)->Curve = Bottom;
    EdgeBetween(Face.M, 1, 2)->Curve = Bottom;
    const int EdgesBefore = Face.M.Edges().Count();
    ASSERT_FALSE(Decompose(Face.Face));
    ASSERT_EQ(Face.M.Edges().Count(), EdgesBefore + 2);
    auto* Cut = static_cast<TXTEdge*>(Face.M.Edges().Last());
    TXTBSpline& S = Cut->GetSpline();
    ASSERT_EQ(S.Count(), 4);
    const double Height = 1 / std::sqrt(1 - 1.0 / 16);
    // The flat top takes the tangent across the surface, one chord long.
    const std::vector<TMVector> Expected = {{1, 0, 0}, {1, Height / 3, 0}, {1, 1 - 1.0 / 3, 0}, {1, 1, 0}};
    const bool Upwards = ControlPoint(S, 0).Y == 0;
    for (int I = 0; I < 4; ++I)
        EXPECT_LT(VectorDistance(ControlPoint(S, I), Expected[Upwards ? I : 3 - I]), 1e-9) << I;
}

TEST(Decomposition, AFaceOnOneCurveHasNoCutTangent) {
    test::TCurveDocument Doc;
    TXTCurve* Round = Doc.Add("Round", Pentagon);
    TXTPatchFace Face(Pentagon);
    ForceBezier(Face.M);
    for (int I = 0; I < Face.M.Edges().Count(); ++I) static_cast<TXTEdge*>(Face.M.Edges().Edge(I))->Curve = Round;
    try {
        Decompose(Face.Face);
        FAIL() << "no exception";
    } catch (const EGeometryError& E) {
        EXPECT_EQ(std::string(E.what()),
                  "TXTDecompositionSlice.Derivative - Failed to find derivative, face seems to be boundard by only one curve!");
    }
}

TEST(Decomposition, ACrossingOutsideTheEdgesCurveRangeMakesNoCut) {
    // The top side lies on a curve, but its addresses cover only the curve's first span: the crossing
    // at x = 1 falls outside them, so the edge cannot be split there.
    test::TCurveDocument Doc;
    TXTCurve* TopCurve = Doc.Add("Top", {Pentagon[3], {1.5, 1, 0}, {0.5, 1, 0}, Pentagon[4]});
    TopCurve->Regenerate();
    TXTPatchFace Face(Pentagon);
    TXTEdge* TopEdge = EdgeBetween(Face.M, 3, 4);
    TopEdge->Curve = TopCurve;
    TopEdge->StartAddress = {0, 0.0};
    TopEdge->EndAddress = {0, 0.5};
    const int EdgesBefore = Face.M.Edges().Count();
    EXPECT_FALSE(Decompose(Face.Face));
    EXPECT_EQ(Face.M.Edges().Count(), EdgesBefore);
    EXPECT_EQ(InteriorSides(Face.M), (std::vector<int>{5}));
}
