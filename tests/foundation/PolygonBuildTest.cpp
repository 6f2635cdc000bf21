#include "foundation/PolygonBuild.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "VkMathsExpect.h"
#include "foundation/Errors.h"
#include "foundation/GeomBox.h"
#include "foundation/GeomFacet.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "foundation/Polyline.h"

using namespace sarnova;

namespace {

std::unique_ptr<TPolyline> Line(const std::vector<TMVector>& Points) {
    auto P = std::make_unique<TPolyline>();
    for (const TMVector& V : Points) P->AddVector(V);
    return P;
}

void ExpectCorners(const TPolygon& F, const std::vector<TMVector>& Expected, double Tol = 1e-12) {
    ASSERT_EQ(F.CornerCount(), static_cast<int>(Expected.size()));
    for (int I = 0; I < F.CornerCount(); ++I) {
        SCOPED_TRACE(I);
        ExpectNear(F.Corner(I)->Vector(), Expected[static_cast<std::size_t>(I)], Tol);
    }
}

double MeshArea(const TPolygonList& M) {
    double A = 0;
    for (int I = 0; I < M.Count(); ++I) A += M.Polygon(I)->Area();
    return A;
}

// Inside the L made of the unit squares at (0, 0), (1, 0) and (0, 1).
bool InsideL(const TMVector& P) {
    return P.X > 0 && P.Y > 0 && ((P.X < 2 && P.Y < 1) || (P.X < 1 && P.Y < 2));
}

}  // namespace

// ---- Outlines ----

TEST(PolygonBuild, TriangulatingASquareAndDegenerateOutlines) {
    const auto Square = Line({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 0}});
    const auto M = TriangulatePolyline(*Square);
    ASSERT_EQ(M->Count(), 2);
    ExpectCorners(*M->Polygon(0), {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});
    ExpectCorners(*M->Polygon(1), {{1, 1, 0}, {0, 1, 0}, {0, 0, 0}});
    EXPECT_EQ(Square->Count(), 5);  // the outline itself is left alone

    // Too few points, or points that enclose nothing: an empty mesh, never a failure.
    const std::vector<std::vector<TMVector>> Degenerate = {
        {},
        {{0, 0, 0}, {1, 0, 0}},
        {{0, 0, 0}, {1, 0, 0}, {0, 0, 0}},
        {{1, 1, 1}, {1, 1, 1}, {1, 1, 1}, {1, 1, 1}, {1, 1, 1}},
        {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}},
    };
    for (const auto& Points : Degenerate)
        EXPECT_EQ(TriangulatePolyline(*Line(Points))->Count(), 0) << Points.size();
}

TEST(PolygonBuild, TriangulatingAnLShapeStaysInsideWhicheverWayItRuns) {
    std::vector<TMVector> L = {{0, 0, 0}, {2, 0, 0}, {2, 1, 0}, {1, 1, 0}, {1, 2, 0}, {0, 2, 0}};
    for (int Pass = 0; Pass < 2; ++Pass) {
        SCOPED_TRACE(Pass);
        const auto M = TriangulatePolyline(*Line(L));
        ASSERT_EQ(M->Count(), 4);
        EXPECT_NEAR(MeshArea(*M), 3, 1e-12);
        for (int I = 0; I < M->Count(); ++I) EXPECT_TRUE(InsideL(PolygonCentroid(*M->Polygon(I)))) << I;
        std::reverse(L.begin(), L.end());
    }
}

// Regular polygons in a tilted plane. Their diagonals run parallel to sides across the outline (in a
// pentagon every diagonal to the opposite side), which must not count as crossing; the finely
// divided circle has sides short enough to look parallel to anything by an unscaled determinant, and
// is split one triangle at a time without deep recursion.
TEST(PolygonBuild, TriangulatingRegularPolygonsFillsThemWhole) {
    for (int N : {5, 6, 10, 1000}) {
        auto Outline = std::make_unique<TPolyline>();
        for (int I = 0; I < N; ++I) {
            const double A = 2 * std::numbers::pi * I / N;
            Outline->AddVector({std::cos(A), std::sin(A) * 0.6, std::sin(A) * 0.8});
        }
        const auto M = TriangulatePolyline(*Outline);
        EXPECT_EQ(M->Count(), N - 2) << N;
        EXPECT_NEAR(MeshArea(*M), N / 2.0 * std::sin(2 * std::numbers::pi / N), 1e-9) << N;
    }
}

TEST(PolygonBuild, TriangulatingDegenerateOutlinesGivesDegenerateFacetsOrHoles) {
    // A repeated corner: the square is still covered, with one facet of no area.
    auto M = TriangulatePolyline(*Line({{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {2, 2, 0}, {0, 2, 0}}));
    ASSERT_EQ(M->Count(), 3);
    EXPECT_NEAR(MeshArea(*M), 4, 1e-12);
    // A bow tie has no normal to turn about and so no diagonal: nothing is filled.
    M = TriangulatePolyline(*Line({{0, 0, 0}, {2, 2, 0}, {2, 0, 0}, {0, 2, 0}}));
    EXPECT_EQ(M->Count(), 0);
}

// ---- Skinning ----

TEST(PolygonBuild, StripsRunTheSameWayRoundBetweenLinkedPoints) {
    const auto P = Line({{0, 0, 0}, {0, 1, 0}, {0, 2, 0}});
    const auto Q = Line({{1, 0, 0}, {1, 1, 0}, {1, 2, 0}});
    TPolygonList M;
    StripBetween(*P, *Q, M);
    ASSERT_EQ(M.Count(), 2);
    ExpectCorners(*M.Polygon(0), {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}});
    ExpectCorners(*M.Polygon(1), {{0, 1, 0}, {1, 1, 0}, {1, 2, 0}, {0, 2, 0}});

    // A point of P linked to two of Q gives a triangle.
    const auto Short = Line({{0, 0, 0}, {0, 2, 0}});
    TPolygonList T;
    StripBetween(*Short, *Q, T);
    ASSERT_EQ(T.Count(), 2);
    EXPECT_EQ(T.Polygon(0)->GetShape() + T.Polygon(1)->GetShape(), 1);
    EXPECT_NEAR(MeshArea(T), 2, 1e-12);
}

TEST(PolygonBuild, SkinningSectionsJoinsEverySuccessivePair) {
    TPolylineList Sections;
    for (double X : {0.0, 1.0, 3.0}) Sections.Add(Line({{X, 0, 0}, {X, 0, 2}}));
    const auto Plain = SkinPolylines(Sections);
    ASSERT_EQ(Plain->Count(), 2);
    EXPECT_NEAR(MeshArea(*Plain), 6, 1e-12);

    // Re-spaced at 1 first, each section gets three points: two quadrilaterals per strip.
    const auto Respaced = MeshFromSections(Sections, 1, 0.4);
    ASSERT_EQ(Respaced->Count(), 4);
    EXPECT_NEAR(MeshArea(*Respaced), 6, 1e-12);
    EXPECT_EQ(Sections.Items(0)->Count(), 2);

    TPolylineList One;
    One.Add(Line({{0, 0, 0}, {0, 0, 2}}));
    EXPECT_EQ(SkinPolylines(One)->Count(), 0);
    EXPECT_THROW(MeshFromSections(Sections, 0, 0.4), EGeometryError);
}

// ---- Plates ----

TEST(PolygonBuild, APlateAlongASectionIsFourQuadrilateralsPerSegmentSplitIntoTriangles) {
    const auto Section = Line({{0, 1, 0}, {0, 1, 0}, {0, 1, 2}});  // the repeated point is dropped
    const auto Plate = ThickenPolyline(*Section, 1, 0.5);
    ASSERT_EQ(Plate->Count(), 8);
    for (int I = 0; I < Plate->Count(); ++I) EXPECT_EQ(Plate->Polygon(I)->GetShape(), 0);
    const TMBox Box = Plate->Extents();
    ExpectNear(Box.Min, {-0.25, 0, 0});
    ExpectNear(Box.Max, {0.25, 1, 2});
    // The first quadrilateral is the face at +h: A[0], B[0], B[1], A[1].
    ExpectCorners(*Plate->Polygon(0), {{0.25, 1, 0}, {0.25, 0, 0}, {0.25, 0, 2}});
    // Two faces of 1 x 2 and two of 0.5 x 2.
    EXPECT_NEAR(MeshArea(*Plate), 6, 1e-12);

    // Zero thickness folds the plate flat; a section without a segment gives nothing.
    EXPECT_EQ(ThickenPolyline(*Section, 1, 0)->Count(), 8);
    EXPECT_EQ(ThickenPolyline(*Line({{0, 1, 0}, {0, 1, 0}}), 1, 0.5)->Count(), 0);
    EXPECT_EQ(ThickenPolyline(*Line({}), 1, 0.5)->Count(), 0);

    TPolylineList Sections;
    Sections.Add(Line({{0, 1, 0}, {0, 1, 2}}));
    Sections.Add(Line({{3, 1, 0}, {3, 1, 2}}));
    const auto Plates = ThickenPolylines(Sections, 1, 0.5);
    ASSERT_EQ(Plates->Count(), 16);
    // Each plate's facets arrive last first.
    EXPECT_NEAR(PolygonX(*Plates->Polygon(0), 2), 0, 0.25);
    EXPECT_NEAR(PolygonX(*Plates->Polygon(15), 2), 3, 0.25);
    ExpectCorners(*Plates->Polygon(7), {{0.25, 1, 0}, {0.25, 0, 0}, {0.25, 0, 2}});
}

// ---- Subdivision ----

TEST(PolygonBuild, SubdivisionCutsQuadrilateralsAcrossTheirLongSides) {
    const auto Long = QuadFromVectors({0, 0, 0}, {4, 0, 0}, {4, 1, 0}, {0, 1, 0});
    auto M = SubdivideFacet(*Long);
    ASSERT_EQ(M->Count(), 2);
    ExpectCorners(*M->Polygon(0), {{0, 1, 0}, {0, 0, 0}, {2, 0, 0}, {2, 1, 0}});
    ExpectCorners(*M->Polygon(1), {{4, 0, 0}, {4, 1, 0}, {2, 1, 0}, {2, 0, 0}});

    const auto Tall = QuadFromVectors({0, 0, 0}, {1, 0, 0}, {1, 4, 0}, {0, 4, 0});
    M = SubdivideFacet(*Tall);
    ASSERT_EQ(M->Count(), 2);
    ExpectCorners(*M->Polygon(0), {{0, 0, 0}, {1, 0, 0}, {1, 2, 0}, {0, 2, 0}});
    ExpectCorners(*M->Polygon(1), {{1, 4, 0}, {0, 4, 0}, {0, 2, 0}, {1, 2, 0}});

    const auto Tri = TriangleFromVectors({0, 0, 0}, {3, 0, 0}, {0, 3, 0});
    M = SubdivideFacet(*Tri);
    ASSERT_EQ(M->Count(), 3);
    ExpectCorners(*M->Polygon(0), {{0, 0, 0}, {3, 0, 0}, {1, 1, 0}});
    ExpectCorners(*M->Polygon(1), {{3, 0, 0}, {0, 3, 0}, {1, 1, 0}});
    ExpectCorners(*M->Polygon(2), {{0, 3, 0}, {0, 0, 0}, {1, 1, 0}});

    // A facet without corners is subdivided as one at the origin, without failing.
    EXPECT_EQ(SubdivideFacet(TPolygon())->Count(), 3);

    TPolygons Both;
    Both.Add(Tri.get());
    Both.Add(Long.get());
    M = SubdivideFacets(Both);
    ASSERT_EQ(M->Count(), 5);
    ExpectCorners(*M->Polygon(0), {{0, 3, 0}, {0, 0, 0}, {1, 1, 0}});
    ExpectCorners(*M->Polygon(3), {{4, 0, 0}, {4, 1, 0}, {2, 1, 0}, {2, 0, 0}});
}

// ---- Edges ----

TEST(PolygonBuild, TwoTrianglesOnADiagonalMergeIntoTheSquare) {
    const TMVector A{0, 0, 0}, B{1, 1, 0}, X{1, 0, 0}, Y{0, 1, 0};
    const auto First = TriangleFromVectors(A, X, B);  // (a, x, b): edge (2, 0) is the diagonal
    auto Second = TriangleFromVectors(B, Y, A);
    EXPECT_TRUE(FacetsShareEdge(*First, *Second));
    auto Q = MergeFacetsToQuad(*First, *Second);
    ASSERT_NE(Q, nullptr);
    ExpectCorners(*Q, {X, B, Y, A});
    ExpectNear(PolygonNormal(*Q), {0, 0, 1});

    // The second facet turned the other way is reversed in place first.
    auto Flipped = TriangleFromVectors(A, Y, B);
    Q = MergeFacetsToQuad(*First, *Flipped);
    ASSERT_NE(Q, nullptr);
    ExpectCorners(*Flipped, {B, Y, A});
    ExpectCorners(*Q, {X, B, Y, A});

    // Triangles that only touch at a corner do not merge, and nothing is changed.
    auto Touching = TriangleFromVectors(B, {2, 1, 0}, {2, 2, 0});
    EXPECT_FALSE(FacetsShareEdge(*First, *Touching));
    auto Reversed = TriangleFromVectors(B, {2, 2, 0}, {2, 1, 0});
    EXPECT_EQ(MergeFacetsToQuad(*First, *Reversed), nullptr);
    ExpectCorners(*Reversed, {B, {2, 2, 0}, {2, 1, 0}});
    EXPECT_FALSE(FacetsShareEdge(*First, TPolygon()));
}

TEST(PolygonBuild, ATriangleAndAQuadrilateralMerge) {
    // Quadrilateral (0, 0)-(2, 0)-(2, 1)-(0, 1) and the triangle on its top edge.
    const auto Quad = QuadFromVectors({0, 0, 0}, {2, 0, 0}, {2, 1, 0}, {0, 1, 0});
    auto Roof = TriangleFromVectors({0, 1, 0}, {2, 1, 0}, {1, 2, 0});
    const auto Q = MergeFacetsToQuad(*Quad, *Roof);
    ASSERT_NE(Q, nullptr);
    // The quadrilateral gives its corners off edge (2, 3): 0 and 1; the triangle its corner opposite
    // edge (0, 1), then that edge's first corner.
    ExpectCorners(*Q, {{0, 0, 0}, {2, 0, 0}, {1, 2, 0}, {0, 1, 0}});
}

TEST(PolygonBuild, ClosestEdgePointGivesWhereACornerWouldBeInserted) {
    const auto Tri = TriangleFromVectors({0, 0, 0}, {2, 0, 0}, {2, 2, 0});
    struct Case {
        TMVector P;
        int Edge;
        double Fraction;
    };
    const Case Cases[] = {
        {{1, -1, 0}, 1, 0.5},     // below edge (0, 1)
        {{3, 1, 0}, 2, 0.5},      // right of edge (1, 2)
        {{2.5, 3, 0}, 2, 1},      // beyond corner 2, near edge (1, 2)
        {{0.5, 1.5, 0}, 3, 0.5},  // by the closing edge (2, 0)
    };
    for (const Case& K : Cases) {
        const TClosestEdgePoint R = ClosestEdgePoint(*Tri, TRPoint(K.P));
        EXPECT_EQ(R.Edge, K.Edge) << K.P.X;
        EXPECT_NEAR(R.Fraction, K.Fraction, 1e-12) << K.P.X;
    }
    EXPECT_EQ(ClosestEdgePoint(TPolygon(), TRPoint()).Edge, -1);

    // A zero-length edge takes whichever end is nearer.
    const auto Pinched = QuadFromVectors({0, 0, 0}, {2, 0, 0}, {2, 0, 0}, {0, 2, 0});
    const TClosestEdgePoint R = ClosestEdgePoint(*Pinched, TRPoint({2.5, -0.1, 0}));
    EXPECT_EQ(R.Edge, 1);
    EXPECT_EQ(R.Fraction, 1);
}
