#include "foundation/PolygonIntersect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "VkMathsExpect.h"
#include "foundation/Errors.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "foundation/Polyline.h"

using namespace sarnova;

namespace {

using TPoints = std::vector<TMVector>;

const TMPlane ZPlane{{0, 0, 1}, 0};

TPoints PointsOf(const TPolyline& P) {
    TPoints Result;
    for (int I = 0; I < P.Count(); ++I) Result.push_back(P.Point(I)->Vector());
    return Result;
}

// The polylines of a cut as point lists; none for no result.
std::vector<TPoints> Lines(const std::unique_ptr<TPolylineList>& List) {
    std::vector<TPoints> Result;
    if (List)
        for (int I = 0; I < List->Count(); ++I) Result.push_back(PointsOf(*List->Items(I)));
    return Result;
}

std::vector<TPoints> Chain(TPolygonIntersections& Cut) { return Lines(Cut.ToPolylines()); }

void ExpectPoints(const TPoints& Actual, const TPoints& Expected, double Tol = 1e-12) {
    ASSERT_EQ(Actual.size(), Expected.size());
    for (std::size_t I = 0; I < Actual.size(); ++I) {
        SCOPED_TRACE(I);
        ExpectNear(Actual[I], Expected[I], Tol);
    }
}

// The box [Lo, Hi]^3 as 12 triangles, two per face split along a diagonal, normals outward.
void AddCube(TPolygonList& Mesh, double Lo, double Hi) {
    auto P = [&](int I) { return TMVector{I & 1 ? Hi : Lo, I & 2 ? Hi : Lo, I & 4 ? Hi : Lo}; };
    const int Faces[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    for (const auto& F : Faces) {
        Mesh.Add(TriangleFromVectors(P(F[0]), P(F[1]), P(F[2])));
        Mesh.Add(TriangleFromVectors(P(F[0]), P(F[2]), P(F[3])));
    }
}

// A sphere of radius R about the origin from Slices x Stacks quadrilaterals (triangles at the poles).
void AddSphere(TPolygonList& Mesh, double R, int Slices, int Stacks) {
    auto P = [&](int I, int J) {
        const double Theta = 2 * std::numbers::pi * I / Slices, Phi = std::numbers::pi * J / Stacks;
        return TMVector{R * std::sin(Phi) * std::cos(Theta), R * std::sin(Phi) * std::sin(Theta), -R * std::cos(Phi)};
    };
    for (int J = 0; J < Stacks; ++J)
        for (int I = 0; I < Slices; ++I) {
            if (J == 0)
                Mesh.Add(TriangleFromVectors(P(I, 0), P(I + 1, 1), P(I, 1)));
            else if (J == Stacks - 1)
                Mesh.Add(TriangleFromVectors(P(I, J), P(I + 1, J), P(I, J + 1)));
            else
                Mesh.Add(QuadFromVectors(P(I, J), P(I + 1, J), P(I + 1, J + 1), P(I, J + 1)));
        }
}

bool IsClosed(const TPoints& P) { return P.size() > 2 && VectorsEqualStrict(P.front(), P.back()); }

// A closed outline of the unit square: its four corners, and no other point but the seam, where the
// chaining started (a point where a face diagonal was cut, which as an end point is kept).
void ExpectSquareOutline(const TPoints& Loop) {
    EXPECT_TRUE(IsClosed(Loop));
    ASSERT_EQ(Loop.size(), 6u);
    int Corners = 0;
    for (std::size_t I = 1; I + 1 < Loop.size(); ++I) {
        const TMVector& P = Loop[I];
        EXPECT_NEAR(std::min(P.X, 1 - P.X), 0, 1e-12);
        EXPECT_NEAR(std::min(P.Y, 1 - P.Y), 0, 1e-12);
        Corners += (P.X == 0 || P.X == 1) && (P.Y == 0 || P.Y == 1);
    }
    EXPECT_EQ(Corners, 4);
}

}  // namespace

TEST(IntersectPlaneWithPolygons, NoCutGivesNothing) {
    TPolygonList Cube;
    AddCube(Cube, 0, 1);
    EXPECT_EQ(IntersectPlaneWithPolygons({{0, 0, 1}, 2}, Cube), nullptr);
    EXPECT_EQ(IntersectPlaneWithPolygons(ZPlane, TPolygonList()), nullptr);
}

TEST(IntersectPlaneWithPolygons, SliceOfAClosedBoxIsOneClosedOutline) {
    TPolygonList Cube;
    AddCube(Cube, 0, 1);
    // Half height of a general plane and of an axis plane (which is cut by exact comparison).
    for (const TMPlane& Plane : {TMPlane{{0, 0, 1}, 0.5}, TMPlane{VectorNormalise({0, 0.001, 1}), 0.5}}) {
        const auto Result = Lines(IntersectPlaneWithPolygons(Plane, Cube));
        ASSERT_EQ(Result.size(), 1u);
        ExpectSquareOutline(Result[0]);
    }
}

TEST(IntersectPlaneWithPolygons, QuadrilateralsAreCutAsBothTriangles) {
    // An upright strip of three 1 x 2 quadrilaterals, open at both ends.
    TPolygonList Strip;
    for (int I = 0; I < 3; ++I) Strip.Add(QuadFromVectors({I + 0.0, 0, -1}, {I + 1.0, 0, -1}, {I + 1.0, 0, 1}, {I + 0.0, 0, 1}));
    const auto Result = Lines(IntersectPlaneWithPolygons(ZPlane, Strip));
    ASSERT_EQ(Result.size(), 1u);
    // One open line from end to end; the inner points are collinear and dropped.
    ExpectPoints(Result[0], {{0, 0, 0}, {3, 0, 0}});
}

TEST(IntersectPlaneWithPolygons, AFacetInThePlaneAddsNothingAndSharedEdgesCountOnce) {
    // A floor facet in z = 0 with a facet rising from its first edge and one hanging from it.
    TPolygonList Mesh;
    Mesh.Add(TriangleFromVectors({0, 0, 0}, {1, 0, 0}, {0, 1, 0}));
    Mesh.Add(TriangleFromVectors({1, 0, 0}, {0, 0, 0}, {0.5, -1, 1}));
    Mesh.Add(TriangleFromVectors({0, 0, 0}, {1, 0, 0}, {0.5, -1, -1}));
    for (const TMPlane& Plane : {ZPlane, TMPlane{{0, 0, -1}, 0}}) {
        const auto Result = Lines(IntersectPlaneWithPolygons(Plane, Mesh));
        ASSERT_EQ(Result.size(), 1u);
        ExpectPoints(Result[0], {{0, 0, 0}, {1, 0, 0}});
    }
}

TEST(TPolygonIntersections, EndsCloserThanTheToleranceShareAVertex) {
    struct TCase {
        double Gap;
        std::size_t Lines;
    };
    for (const TCase& Case : {TCase{0, 1}, TCase{5e-5, 1}, TCase{9.9e-5, 1}, TCase{2e-4, 2}}) {
        SCOPED_TRACE(Case.Gap);
        // The gap in every coordinate, so each axis has to agree.
        TPolygonIntersections Cut;
        Cut.AddSegment({{0, 0, 0}, {1, 0, 0}});
        Cut.AddSegment({{1 + Case.Gap, Case.Gap, -Case.Gap}, {1, 1, 0}});
        const auto Result = Chain(Cut);
        EXPECT_EQ(Result.size(), Case.Lines);
        if (Case.Lines == 1) ExpectPoints(Result[0], {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});
    }
    // The first position seen at a place is the one kept, whatever the order of the search cells.
    TIntersectionVertices Vertices;
    TIntersectionVertex* First = Vertices.FindOrAdd({0.00019, 0, 0});
    Vertices.FindOrAdd({0.00021, 0.00015, 0});
    EXPECT_EQ(Vertices.FindOrAdd({0.0002, 0.00008, 0}), First);
    EXPECT_EQ(Vertices.Count(), 2);
}

TEST(TPolygonIntersections, ShortLinesAreDropped) {
    TPolygonIntersections Cut;
    Cut.AddSegment({{0, 0, 0}, {0.0005, 0, 0}});
    Cut.AddSegment({{5, 0, 0}, {5.0005, 0, 0}});
    Cut.AddSegment({{5.0005, 0, 0}, {5.0005, 0.0006, 0}});
    const auto Result = Chain(Cut);
    ASSERT_EQ(Result.size(), 1u);
    EXPECT_EQ(Result[0].size(), 3u);
    ExpectNear(Result[0][0], {5, 0, 0});
}

TEST(TPolygonIntersections, BranchesEndChainsButNotTheChaining) {
    // A Y of three lines meeting at (1, 0, 0), and a separate line that sorts after it.
    TPolygonIntersections Cut;
    Cut.AddSegment({{0, 0, 0}, {1, 0, 0}});
    Cut.AddSegment({{1, 0, 0}, {2, 1, 0}});
    Cut.AddSegment({{2, -1, 0}, {1, 0, 0}});
    Cut.AddSegment({{7, 0, 0}, {8, 0, 0}});
    Cut.AddSegment({{8, 0, 0}, {8, 1, 0}});
    const auto Result = Chain(Cut);
    ASSERT_EQ(Result.size(), 3u);
    // The first chain runs through the branch along two of its lines; the third line is kept too.
    ASSERT_EQ(Result[0].size(), 3u);
    ExpectNear(Result[0][1], {1, 0, 0});
    ASSERT_EQ(Result[1].size(), 2u);
    EXPECT_TRUE(VectorsEqual(Result[1][0], {1, 0, 0}) || VectorsEqual(Result[1][1], {1, 0, 0}));
    ExpectPoints(Result[2], {{7, 0, 0}, {8, 0, 0}, {8, 1, 0}});
}

TEST(TPolygonIntersections, SortEdgesOrientsAndRemovesDuplicatesAndDegenerateEdges) {
    TPolygonIntersections Cut;
    Cut.AddSegmentUnchecked({1, 0, 0}, {0, 0, 0});
    Cut.AddSegmentUnchecked({0, 0, 0}, {1, 0, 0});
    Cut.AddSegmentUnchecked({0, 0, 0}, {0.00005, 0, 0});  // merges into one vertex: no edge
    TIntersectionVertex* A = Cut.Vertices.FindOrAdd({0, 0, 0});
    Cut.Edges.Add(A, A);
    Cut.AddSegmentUnchecked({0, 1, 0}, {0, 0, 0});
    EXPECT_EQ(Cut.Edges.Count(), 4);
    Cut.Edges.SortEdges();
    ASSERT_EQ(Cut.Edges.Count(), 2);
    EXPECT_EQ(Cut.Edges.Edge(0)->V1, A);
    ExpectNear(Cut.Edges.Edge(0)->V2->Position, {0, 1, 0});
    ExpectNear(Cut.Edges.Edge(1)->V2->Position, {1, 0, 0});
    EXPECT_EQ(A->Degree(), 2);

    ExpectError([&] { Cut.Edges.Edge(1)->OtherVertex(Cut.Edges.Edge(0)->V2); },
                "TIntersectionEdge.OtherVertex - Edge do not connect to specified vertex");
    // AddSegment asks for an existing edge first.
    Cut.AddSegment({{1, 0, 0}, {0, 0, 0}});
    EXPECT_EQ(Cut.Edges.Count(), 2);
}

TEST(IntersectPlaneWithPolygons, SlicesOfASphereAreClosedCircles) {
    TPolygonList Sphere;
    AddSphere(Sphere, 2, 48, 24);
    for (double Z : {-1.5, -0.3, 0.0, 1.0}) {
        SCOPED_TRACE(Z);
        const auto Result = Lines(IntersectPlaneWithPolygons({{0, 0, 1}, Z}, Sphere));
        ASSERT_EQ(Result.size(), 1u);
        EXPECT_TRUE(IsClosed(Result[0]));
        EXPECT_GT(Result[0].size(), 48u);
        for (const TMVector& P : Result[0]) EXPECT_NEAR(P.Z, Z, 1e-12);
    }
}

TEST(IntersectPolygonLists, CutsTwoMeshes) {
    TPolygonList Cube;
    AddCube(Cube, 0, 1);
    // A plate far larger than the cube: no corner of it lies near the cube, and it is one quadrilateral.
    TPolygonList Plate;
    Plate.Add(QuadFromVectors({-10, -10, 0.5}, {10, -10, 0.5}, {10, 10, 0.5}, {-10, 10, 0.5}));
    const auto Result = Lines(IntersectPolygonLists(Cube, Plate));
    ASSERT_EQ(Result.size(), 1u);
    ExpectSquareOutline(Result[0]);

    TPolygonList Sphere;
    AddSphere(Sphere, 2, 48, 24);
    const auto Ring = Lines(IntersectPolygonLists(Sphere, Plate));
    ASSERT_EQ(Ring.size(), 1u);
    EXPECT_TRUE(IsClosed(Ring[0]));

    TPolygonList Far;
    AddCube(Far, 5, 6);
    EXPECT_EQ(IntersectPolygonLists(Cube, Far), nullptr);
}

TEST(IntersectFacets, CommonSegmentOfTwoTriangles) {
    const auto A = TriangleFromVectors({0, 0, 0}, {2, 0, 0}, {0, 2, 0});
    const auto B = TriangleFromVectors({0.5, 0.5, -1}, {0.5, 0.5, 1}, {3, 0.5, 0});
    const auto Cut = IntersectFacets(*A, *B);
    ASSERT_NE(Cut, nullptr);
    ASSERT_EQ(Cut->Count(), 2);
    const auto Quad = QuadFromVectors({0.5, -1, -1}, {0.5, 3, -1}, {0.5, 3, 1}, {0.5, -1, 1});
    EXPECT_EQ(IntersectFacets(*A, *Quad), nullptr);
    EXPECT_EQ(IntersectFacets(*A, *TriangleFromVectors({0, 0, 5}, {1, 0, 5}, {0, 1, 5})), nullptr);
}
