#include "foundation/Smoothing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "SphereFacets.h"
#include "VkMathsExpect.h"
#include "foundation/GeomFacet.h"
#include "foundation/Polygon.h"

using namespace sarnova;

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double Crease = Pi / 4;

// The vertex normal of F at its corner P.
TMVector NormalAt(const TPolygon& F, const TMVector& P) {
    const int Index = PolygonCornerIndex(F, TRPoint(P));
    EXPECT_GE(Index, 0);
    const TMVector* N = F.Normal(Index);
    EXPECT_NE(N, nullptr);
    return N ? *N : TMVector{};
}

// Two triangles on the common edge from the origin to (0, 1, 0): one in the XY plane on the -x side,
// the other folded up by Fold radians on the +x side.
void AddFold(TPolygonList& List, double Fold) {
    const TMVector O{0, 0, 0}, Up{0, 1, 0};
    List.Add(TriangleFromVectors(O, Up, {-1, 0.5, 0}));
    List.Add(TriangleFromVectors(O, {std::cos(Fold), 0.5, std::sin(Fold)}, Up));
}

}  // namespace

TEST(SmoothPolygonNormals, AFlatFanSharesItsNormalEverywhere) {
    TPolygonList Fan;
    const int N = 6;
    for (int K = 0; K < N; ++K) {
        const double A = 2 * Pi * K / N, B = 2 * Pi * (K + 1) / N;
        Fan.Add(TriangleFromVectors({0, 0, 0}, {std::cos(A), std::sin(A), 0}, {std::cos(B), std::sin(B), 0}));
    }
    SmoothPolygonNormals(Fan, Crease);
    for (int I = 0; I < Fan.Count(); ++I) {
        ASSERT_TRUE(PolygonHasNormals(*Fan.Polygon(I)));
        for (int C = 0; C < 3; ++C) ExpectNear(*Fan.Polygon(I)->Normal(C), {0, 0, 1});
    }
}

TEST(SmoothPolygonNormals, TheFoldAgainstHalfTheCreaseAngleDecides) {
    // A fold averages when every facet lies within half the crease angle of the average; otherwise
    // neighbours closer than the crease angle would still join, which these folds are not.
    struct TCase {
        double FoldDegrees;
        bool Shared;
    } Cases[] = {{0, true}, {30, true}, {44, true}, {46, false}, {60, false}, {90, false}, {180, false}};
    for (const TCase& Case : Cases) {
        TPolygonList List;
        AddFold(List, Case.FoldDegrees * Pi / 180);
        SmoothPolygonNormals(List, Crease);
        const TFacetRef Flat = List.Polygon(0);
        const TFacetRef Raised = List.Polygon(1);
        const TMVector AtFlat = NormalAt(*Flat, {0, 0, 0}), AtRaised = NormalAt(*Raised, {0, 0, 0});
        if (Case.Shared) {
            ExpectNear(AtFlat, AtRaised);
            const double Half = Case.FoldDegrees / 2 * Pi / 180;
            EXPECT_NEAR(VectorDot(AtFlat, PolygonNormal(Flat)), std::cos(Half), 1e-12) << Case.FoldDegrees;
        } else {
            ExpectNear(AtFlat, PolygonNormal(Flat));
            ExpectNear(AtRaised, PolygonNormal(Raised));
        }
        // The corners off the common edge belong to one facet each: always its own normal.
        ExpectNear(*Flat.Normal(2), PolygonNormal(Flat));
    }
}

TEST(SmoothPolygonNormals, ACubeKeepsItsFaceNormalsAtEveryCorner) {
    TPolygonList Cube;
    // Each face as two triangles, counter-clockwise from outside.
    const TMVector Faces[6][4] = {{{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}}, {{0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}},
                                  {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}}, {{0, 1, 0}, {0, 1, 1}, {1, 1, 1}, {1, 1, 0}},
                                  {{0, 0, 0}, {0, 0, 1}, {0, 1, 1}, {0, 1, 0}}, {{1, 0, 0}, {1, 1, 0}, {1, 1, 1}, {1, 0, 1}}};
    for (const auto& F : Faces) {
        Cube.Add(TriangleFromVectors(F[0], F[1], F[2]));
        Cube.Add(TriangleFromVectors(F[0], F[2], F[3]));
    }
    SmoothPolygonNormals(Cube, Crease);
    for (int I = 0; I < Cube.Count(); ++I) {
        const TFacetRef F = Cube.Polygon(I);
        const TMVector Own = PolygonNormal(F);
        EXPECT_NEAR(VectorLength(Own), 1, 1e-12);
        for (int C = 0; C < 3; ++C) ExpectNear(*F.Normal(C), Own);
    }
}

TEST(SmoothPolygonNormals, ASphereGetsRadialNormals) {
    const TMVector Centre{5, -3, 2};
    auto Sphere = SphereFacets(24, 12, 2.0, Centre);
    SmoothPolygonNormals(*Sphere, Crease);
    double Worst = 1;
    for (int I = 0; I < Sphere->Count(); ++I) {
        const TFacetRef F = Sphere->Polygon(I);
        ASSERT_TRUE(PolygonHasNormals(F));
        for (int C = 0; C < 3; ++C) {
            const TMVector Radial = VectorNormalise(VectorFromTo(Centre, F.Corner(C)->Vector()));
            Worst = std::min(Worst, VectorDot(*F.Normal(C), Radial));
            EXPECT_NEAR(VectorLength(*F.Normal(C)), 1, 1e-12);
        }
    }
    // The average is unweighted, so the rings near the poles lean a little.
    EXPECT_GT(Worst, std::cos(2 * Pi / 180)) << std::acos(Worst) * 180 / Pi;
}

TEST(SmoothPolygonNormals, AConeTipWithoutCreasesIsShadedFlat) {
    // Eight facets, about 42 degrees off the axis and 30 degrees from each neighbour: the average is
    // too far from each, yet no neighbour folds away.
    TPolygonList Cone;
    const double Slope = std::tan(40 * Pi / 180);
    const TMVector Tip{0, 0, 0};
    for (int K = 0; K < 8; ++K) {
        const double A = 2 * Pi * K / 8, B = 2 * Pi * (K + 1) / 8;
        Cone.Add(TriangleFromVectors(Tip, {std::cos(A), std::sin(A), -Slope}, {std::cos(B), std::sin(B), -Slope}));
    }
    SmoothPolygonNormals(Cone, Crease);
    for (int I = 0; I < Cone.Count(); ++I) ExpectNear(NormalAt(*Cone.Polygon(I), Tip), PolygonNormal(*Cone.Polygon(I)));
}

TEST(SmoothPolygonNormals, AFanListedFromTheMiddleOfARunClosesOverItsEnds) {
    // Eight facets round the origin, ring points every 45 degrees. The +x half is folded up by 60
    // degrees (a crease along the y axis); the -x half is gently curved. Listed from the middle of
    // the -x half, its last facet joins the first run again.
    auto Ring = [](int K) {
        const double A = K * Pi / 4;
        const double X = std::round(std::cos(A) * 1e12) / 1e12, Y = std::sin(A);
        const double Z = X > 0 ? X * std::tan(60 * Pi / 180) : -0.1 * X * X - 0.05 * Y;
        return TMVector{X, Y, Z};
    };
    TPolygonList Fan;
    for (int Step = 0; Step < 8; ++Step) {
        const int K = (Step + 3) % 8;  // facets from 135 degrees on, ending with the one from 90
        Fan.Add(TriangleFromVectors({0, 0, 0}, Ring(K), Ring(K + 1)));
    }
    SmoothPolygonNormals(Fan, Crease);
    const TMVector O{0, 0, 0};
    const TMVector First = NormalAt(*Fan.Polygon(0), O);
    // The -x half is one run: facets 0 to 2 and the last.
    for (int I : {1, 2, 7}) ExpectNear(NormalAt(*Fan.Polygon(I), O), First);
    EXPECT_GT(VectorLength(VectorFromTo(PolygonNormal(*Fan.Polygon(7)), First)), 1e-3);
    // The folded half is the other run.
    const TMVector Second = NormalAt(*Fan.Polygon(3), O);
    for (int I : {4, 5, 6}) ExpectNear(NormalAt(*Fan.Polygon(I), O), Second);
    EXPECT_LT(VectorDot(First, Second), std::cos(Pi / 4));
}

TEST(SmoothPolygonNormals, ADegenerateFacetNeitherBreaksNorTiltsAFlatFan) {
    TPolygonList Fan;
    Fan.Add(TriangleFromVectors({0, 0, 0}, {1, 0, 0}, {0, 1, 0}));
    Fan.Add(TriangleFromVectors({0, 0, 0}, {0, 1, 0}, {0, 1, 0}));
    Fan.Add(TriangleFromVectors({0, 0, 0}, {0, 1, 0}, {-1, 0, 0}));
    SmoothPolygonNormals(Fan, Crease);
    for (int I : {0, 2})
        for (int C = 0; C < 3; ++C) ExpectNear(*Fan.Polygon(I)->Normal(C), {0, 0, 1});
}

TEST(TSmoothingList, GroupsCornersWithinTheToleranceOnEveryAxis) {
    struct TCase {
        TMVector A, B;
        bool Same;
    } Cases[] = {
        {{1, 2, 3}, {1.00005, 2.00005, 3.00005}, true},
        {{1, 2, 3}, {1.0002, 2, 3}, false},
        {{1, 2, 3}, {1, 2, 3.0002}, false},
        // Either side of the hash's cell boundaries, and across zero.
        {{0.0003999, 0, 0}, {0.0004001, 0, 0}, true},
        {{0, 0.00079995, 0}, {0, 0.00080004, 0}, true},
        {{-0.00002, 0, -0.00003}, {0.00002, 0, 0.00003}, true},
        {{-0.00005, 0, 0}, {0.00006, 0, 0}, false},
        {{1e20, 0, 0}, {1e20, 0, 0}, true},
        {{1e300, 0, 0}, {-1e300, 0, 0}, false},
    };
    for (const TCase& Case : Cases) {
        TSmoothingList List;
        const int First = List.FindOrAdd(TRPoint(Case.A));
        const int Second = List.FindOrAdd(TRPoint(Case.B));
        EXPECT_EQ(First == Second, Case.Same) << Case.A.X << " " << Case.B.X;
        EXPECT_EQ(List.Count(), Case.Same ? 1 : 2);
        EXPECT_EQ(List.Vertex(First), Case.A);
    }
    // A corner that is not finite matches nothing, not even itself.
    TSmoothingList List;
    const TRPoint Broken(TMVector{std::nan(""), 0, 0});
    EXPECT_NE(List.FindOrAdd(Broken), List.FindOrAdd(Broken));
}

TEST(TSmoothingList, ListsEachFacetUnderItsThreeCorners) {
    TPolygonList Mesh;
    Mesh.Add(TriangleFromVectors({0, 0, 0}, {1, 0, 0}, {0, 1, 0}));
    Mesh.Add(TriangleFromVectors({1, 0, 0}, {1, 1, 0}, {0, 1, 0}));
    Mesh.Add(TriangleFromVectors({0, 0, 0}, {0, 1, 0}, {0, 1, 0}));  // degenerate: listed twice there
    TSmoothingList List;
    List.AddPolygons(Mesh);
    ASSERT_EQ(List.Count(), 4);
    const int Expected[4] = {2, 2, 4, 1};  // groups in the order first met: (0,0,0), (1,0,0), (0,1,0), (1,1,0)
    for (int I = 0; I < 4; ++I) EXPECT_EQ(List.FacetCount(I), Expected[I]) << I;
    EXPECT_EQ(List.Facet(2, 3), 2);
    EXPECT_EQ(List.Facet(3, 0), 1);
    List.Clear();
    EXPECT_EQ(List.Count(), 0);
    EXPECT_EQ(List.FindOrAdd(TRPoint({0, 0, 0})), 0);
    EXPECT_EQ(List.FacetCount(0), 0);
}
