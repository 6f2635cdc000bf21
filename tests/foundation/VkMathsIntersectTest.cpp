#include "foundation/VkMathsIntersect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "VkMathsExpect.h"
#include "foundation/Errors.h"

using namespace sarnova;

namespace {

constexpr double Pi = std::numbers::pi;

TMVector ArcPoint(const TMArc& Arc, double Angle) {
    return VectorAdd(Arc.Centre, VectorScale(VectorAdd(VectorScale(Arc.XAxis, std::cos(Angle)),
                                                       VectorScale(Arc.YAxis, std::sin(Angle))),
                                             Arc.Radius));
}

const char* const LineParallelToPlane =
    "VkMaths - IntersectionOfLineAndPlane: Intersection attempted with a line parallel to plane";

}  // namespace

// ---- Lines and planes ----

TEST(LineAndPlane, GivesThePointAndItsParameter) {
    double T = 0;
    const TMLine L{{0, 0, 5}, {0, 0, -2}};
    ExpectNear(IntersectionOfLineAndPlane(L, XYPlane, T), {0, 0, 0});
    EXPECT_DOUBLE_EQ(T, 2.5);
    ExpectNear(IntersectionPointOfLineAndPlane({{1, 2, 3}, {1, 1, 1}}, {{0, 0, 1}, -1}), {-3, -2, -1});
    ExpectNear(IntersectionOfPointsAndPlane({1, 1, 4}, {1, 1, 2}, {{0, 0, 1}, 1}), {1, 1, 1});
}

TEST(LineAndPlane, RefusesParallelLines) {
    const TMLine Parallel{{0, 0, 5}, {1, 0, 0}};
    ExpectError([&] { IntersectionPointOfLineAndPlane(Parallel, XYPlane); }, LineParallelToPlane);
    ExpectError([&] {
        double T;
        IntersectionOfLineAndPlane(Parallel, XYPlane, T);
    }, LineParallelToPlane);
    const char* PointsMessage =
        "VkMaths - IntersectionOfPointsAndPlane: Intersection attempted with a line parallel to plane";
    ExpectError([] { IntersectionOfPointsAndPlane({0, 0, 1}, {5, 3, 1}, XYPlane); }, PointsMessage);
    ExpectError([] { IntersectionOfPointsAndPlane({1, 1, 1}, {1, 1, 1}, XYPlane); }, PointsMessage);
}

TEST(PlaneIntersections, TwoPlanesMeetInALineAlongTheSecondCrossTheFirst) {
    const TMLine L = IntersectionOfTwoPlanes(XYPlane, YZPlane);
    ExpectNear(L.Direction, {0, -1, 0});
    ExpectNear(L.Point, {0, 0, 0});
    // z = 1 and x = 2: the point of the common line nearest the origin.
    ExpectNear(IntersectionOfTwoPlanes({{0, 0, 1}, 1}, {{1, 0, 0}, 2}).Point, {2, 0, 1});
    EXPECT_EQ(VectorLength(IntersectionOfTwoPlanes(XYPlane, {{0, 0, 1}, 4}).Direction), 0);
}

TEST(PlaneIntersections, ThreePlanesMeetInAPointUnlessTwoAreParallel) {
    ExpectNear(IntersectionOfThreePlanes({{1, 0, 0}, 1}, {{0, 1, 0}, 2}, {{0, 0, 1}, 3}), {1, 2, 3});
    const TMVector N = VectorNormalise({1, 1, 1});
    const TMVector P = IntersectionOfThreePlanes({N, std::sqrt(3.0)}, {{1, 0, 0}, 0}, {{0, 1, 0}, 0});
    ExpectNear(P, {0, 0, 3});
    ExpectError([] { IntersectionOfThreePlanes({{1, 0, 0}, 1}, {{0, 1, 0}, 2}, {{0, -1, 0}, 3}); },
                "VkMaths.IntersectionOfThreePlanes - Two/Three planes are parallel");
}

TEST(LineIntersectsTriangle, TestsTheWholeLineEdgesIncluded) {
    const TMVector V0{0, 0, 0}, V1{2, 0, 0}, V2{0, 2, 0};
    const struct {
        TMLine L;
        bool Hits;
        const char* What;
    } Cases[] = {
        {{{0.5, 0.5, 3}, {0, 0, -1}}, true, "through the inside"},
        {{{0.5, 0.5, -3}, {0, 0, -1}}, true, "triangle behind the line's point"},
        {{{2, 0, 1}, {0, 0, 1}}, true, "through a vertex"},
        {{{1, 1, 1}, {0, 0, 2}}, true, "through the hypotenuse"},
        {{{1.5, 1.5, 1}, {0, 0, 1}}, false, "beside the hypotenuse"},
        {{{-0.1, 0.5, 1}, {0, 0, 1}}, false, "beside an edge"},
        {{{0.5, 0.5, 0}, {1, 0, 0}}, false, "in the triangle's plane"},
    };
    for (const auto& C : Cases) EXPECT_EQ(LineIntersectsTriangle(C.L, V0, V1, V2), C.Hits) << C.What;
}

// ---- Closest points ----

TEST(ClosestPoints, PointOnLineAndDistance) {
    const TMLine L{{1, 1, 0}, {2, 0, 0}};
    ExpectNear(PointOnLineClosestToPoint(L, {5, 4, 4}), {5, 1, 0});
    EXPECT_DOUBLE_EQ(DistanceFromPointToLine({5, 4, 4}, L), 5);
    // A short direction is still a direction.
    ExpectNear(PointOnLineClosestToPoint({{1, 1, 0}, {0, 1e-6, 0}}, {5, 4, 3}), {1, 4, 0});
    const TMLine Zero{{1, 1, 0}, {0, 0, 0}};
    ExpectError([&] { PointOnLineClosestToPoint(Zero, {1, 2, 3}); },
                "VkMaths.PointOnLineClosestToPoint - Line has zero magnitude direction vector");
    ExpectError([&] { DistanceFromPointToLine({1, 2, 3}, Zero); },
                "VkMaths.DistanceFromPointToLine - Line has zero magnitude direction vector");
}

TEST(ClosestPoints, SkewLines) {
    const TMLine L1{{-3, 0, 0}, {2, 0, 0}};
    const TMLine L2{{0, 4, 1}, {0, -1, 0}};
    ExpectNear(PointOnLineClosestToLine(L1, L2), {0, 0, 0});
    ExpectNear(PointBetweenTwoLines(L1, L2), {0, 0, 0.5});

    const TMClosestApproach R = ClosestApproachOfLines(L1, L2);
    EXPECT_DOUBLE_EQ(R.TA, 1.5);
    EXPECT_DOUBLE_EQ(R.TB, 4);
    ExpectNear(R.PA, {0, 0, 0});
    ExpectNear(R.PB, {0, 0, 1});
    ExpectNear(R.Join.Point, {0, 0, 0});
    ExpectNear(R.Join.Direction, {0, 0, -1});  // unit, from PB towards PA
    EXPECT_DOUBLE_EQ(R.Det, 4);
    EXPECT_EQ(R.LineA, L1);
    EXPECT_EQ(R.LineB, L2);
}

TEST(ClosestPoints, ParallelLines) {
    const TMLine L1{{0, 0, 0}, {1, 0, 0}};
    const TMLine L2{{0, 1, 0}, {-3, 0, 0}};
    EXPECT_NEAR(ClosestApproachOfLines(L1, L2).Det, 0, 1e-12);
    ExpectError([&] { PointOnLineClosestToLine(L1, L2); },
                "VkMaths - PointOnLineClosestToLine: attempted with parallel lines");
    ExpectError([&] { PointBetweenTwoLines(L1, L2); },
                "VkMaths - PointBetweenTwoLines: attempted with parallel lines");
}

TEST(ClosestPoints, SegmentsClampToTheirEnds) {
    TMClosestApproach R = ClosestApproachOfSegments({{0, 0, 0}, {1, 0, 0}}, {{2, 1, 0}, {0, 1, 0}});
    EXPECT_EQ(R.TA, 1);
    EXPECT_EQ(R.TB, 0);
    ExpectNear(R.PA, {1, 0, 0});
    ExpectNear(R.PB, {2, 1, 0});
    ExpectNear(R.Join.Direction, {1, 1, 0});  // PB - PA, not normalised

    R = ClosestApproachOfSegments({{-1, 0, 0}, {2, 0, 0}}, {{0, -1, 1}, {0, 4, 0}});
    EXPECT_DOUBLE_EQ(R.TA, 0.5);
    EXPECT_DOUBLE_EQ(R.TB, 0.25);
    ExpectNear(R.Join.Direction, {0, 0, 1});

    // Parallel segments: the first one's start, and the nearest point of the second to it.
    R = ClosestApproachOfSegments({{0, 0, 0}, {1, 0, 0}}, {{-2, 1, 0}, {4, 0, 0}});
    EXPECT_EQ(R.TA, 0);
    EXPECT_DOUBLE_EQ(R.TB, 0.5);
    ExpectNear(R.PB, {0, 1, 0});

    // Segments of no length do not divide by zero.
    R = ClosestApproachOfSegments({{1, 2, 3}, {0, 0, 0}}, {{4, 5, 6}, {0, 0, 0}});
    ExpectNear(R.PA, {1, 2, 3});
    ExpectNear(R.PB, {4, 5, 6});
}

TEST(ClosestPoints, PointOnLineClosestToSegment) {
    const TMLine L{{0, 0, 1}, {1, 0, 0}};
    const struct {
        TMSegment S;
        TMVector Expected;
        const char* What;
    } Cases[] = {
        {{{2, -1, 0}, {2, 1, 0}}, {2, 0, 1}, "crossing under the line"},
        {{{2, 1, 0}, {2, 3, 0}}, {2, 0, 1}, "nearest at the segment's start"},
        {{{2, -3, 0}, {3, -1, 0}}, {3, 0, 1}, "nearest at the segment's end"},
        {{{4, 1, 0}, {6, 1, 0}}, {5, 0, 1}, "parallel: across from the midpoint"},
        {{{7, 2, 2}, {7, 2, 2}}, {7, 0, 1}, "a segment of no length"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.What);
        ExpectNear(PointOnLineClosestToSegment(L, C.S), C.Expected);
    }
}

// ---- Triangles ----

TEST(TriangleStraddlesPlane, CountsAPointOnThePlaneAsBelowIt) {
    const struct {
        TMVector V0, V1, V2;
        bool Straddles;
    } Cases[] = {
        {{0, 0, 1}, {1, 0, 1}, {0, 1, 1}, false},   // all above
        {{0, 0, -1}, {1, 0, -1}, {0, 1, -1}, false},  // all below
        {{0, 0, 1}, {1, 0, -1}, {0, 1, 1}, true},
        {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, false},  // in the plane: three times "below"
        {{0, 0, 0}, {1, 0, 1}, {0, 1, 1}, true},   // touching from above
        {{0, 0, 0}, {1, 0, -1}, {0, 1, -1}, false},  // touching from below
    };
    for (const auto& C : Cases) {
        EXPECT_EQ(TriangleStraddlesPlane(XYPlane, C.V0, C.V1, C.V2), C.Straddles);
        EXPECT_EQ(TriangleArrayStraddlesPlane(XYPlane, {C.V0, C.V1, C.V2}), C.Straddles);
    }
}

namespace {

struct TCutCase {
    const char* What;
    TMPlane Plane;
    TMTriangle T;
    int Code;
    TMVector Start, End;
};

void ExpectCuts(const TCutCase* Begin, const TCutCase* End) {
    for (const TCutCase* C = Begin; C != End; ++C) {
        SCOPED_TRACE(C->What);
        TMSegment Cut{{9, 9, 9}, {9, 9, 9}};
        EXPECT_EQ(PlaneCutsTriangleArray(C->Plane, C->T, Cut), C->Code);
        ExpectNear(Cut.Start, C->Start);
        ExpectNear(Cut.End, C->End);
    }
}

}  // namespace

TEST(PlaneCutsTriangle, AxisPlanes) {
    const TCutCase Cases[] = {
        {"two crossing edges", YZPlane, {{{-1, 0, 0}, {1, 0, 0}, {1, 1, 0}}}, 3, {0, 0, 0}, {0, 0.5, 0}},
        {"vertex on the plane, the others on both sides", YZPlane, {{{0, 0, 0}, {1, 0, 0}, {-1, 1, 0}}}, 3,
         {0, 0, 0}, {0, 0.5, 0}},
        {"edge in the plane", YZPlane, {{{0, 0, 0}, {3, 0, 0}, {0, 1, 0}}}, 3, {0, 0, 0}, {0, 1, 0}},
        {"touching at a vertex", YZPlane, {{{1, 0, 0}, {0, 2, 0}, {1, 1, 0}}}, 1, {0, 2, 0}, {0, 2, 0}},
        {"triangle in the plane", YZPlane, {{{0, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, 4, {0, 0, 0}, {0, 0, 0}},
        {"triangle parallel to the plane", YZPlane, {{{2, 0, 0}, {2, 1, 0}, {2, 0, 1}}}, 0, {0, 0, 0}, {0, 0, 0}},
        {"missing", YZPlane, {{{1, 0, 0}, {2, 1, 0}, {3, 0, 1}}}, 0, {0, 0, 0}, {0, 0, 0}},
        {"y = 1", {{0, 1, 0}, 1}, {{{0, 0, 0}, {0, 2, 0}, {2, 2, 0}}},
         3, {0, 1, 0}, {1, 1, 0}},
        {"negative normal: z = -2", {{0, 0, -1}, 2}, {{{0, 0, 0}, {0, 0, -4}, {4, 0, -4}}}, 3, {0, 0, -2},
         {2, 0, -2}},
        {"normal of length 2: x = 0.5", {{2, 0, 0}, 1}, {{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}}, 3, {0.5, 0, 0},
         {0.5, 0.5, 0}},
    };
    ExpectCuts(std::begin(Cases), std::end(Cases));
}

TEST(PlaneCutsTriangle, AxisPlaneCutLiesExactlyOnThePlane) {
    TMSegment Cut;
    ASSERT_EQ(PlaneCutsTriangle({{1, 0, 0}, 0.1}, {0, 0, 0}, {0.3, 0.7, 0.1}, {0.7, -0.3, 0.9}, Cut), 3);
    EXPECT_EQ(Cut.Start.X, 0.1);
    EXPECT_EQ(Cut.End.X, 0.1);
}

TEST(PlaneCutsTriangle, GeneralPlanes) {
    const TMPlane P{{0.6, 0.8, 0}, 0};
    // (4, -3, z) lies in the plane; (0.6, 0.8, z) and (-0.6, -0.8, z) one unit off it on either side.
    const TCutCase Cases[] = {
        {"lone vertex: crossings on the edges towards it", P, {{{0.6, 0.8, 0}, {-0.6, -0.8, 1}, {0.6, 0.8, 2}}}, 2,
         {0, 0, 0.5}, {0, 0, 1.5}},
        {"vertex on the plane, the others on both sides", P, {{{0.6, 0.8, 0}, {4, -3, 5}, {-0.6, -0.8, 2}}}, 2,
         {4, -3, 5}, {0, 0, 1}},
        {"two vertices within 1e-10", P, {{{4, -3, 0}, {0.6, 0.8, 0}, {-4, 3 + 5e-11, 1}}}, 3, {4, -3, 0},
         {-4, 3 + 5e-11, 1}},
        {"touching at a vertex", P, {{{0.6, 0.8, 0}, {4, -3, 5}, {1.2, 1.6, 0}}}, 1, {4, -3, 5}, {4, -3, 5}},
        {"in the plane", P, {{{4, -3, 0}, {-4, 3, 0}, {0, 0, 1}}}, 4, {0, 0, 0}, {0, 0, 0}},
        {"missing", P, {{{0.6, 0.8, 0}, {1.2, 1.6, 0}, {0.6, 0.8, 3}}}, 0, {0, 0, 0}, {0, 0, 0}},
    };
    ExpectCuts(std::begin(Cases), std::end(Cases));
}

TEST(PlaneCutsTriangle, GrazingEdgeIsCutNotRefused) {
    // A long edge whose ends lie just beyond the side tolerance on either side of a general plane:
    // too close to parallel for the line routine, yet it crosses.
    const TMPlane P{VectorNormalise({0, 1e-3, 1}), 0};
    TMVector U, V;
    PlaneAxes(P.Normal, U, V);
    const TMVector A = VectorAdd(VectorScale(U, -5), VectorScale(P.Normal, 3e-10));
    const TMVector B = VectorAdd(VectorScale(U, 5), VectorScale(P.Normal, -3e-10));
    const TMVector C = VectorAdd(VectorScale(V, 2), VectorScale(P.Normal, 1));
    ExpectError([&] { IntersectionOfPointsAndPlane(A, B, P); },
                "VkMaths - IntersectionOfPointsAndPlane: Intersection attempted with a line parallel to plane");

    TMSegment Cut;
    EXPECT_EQ(PlaneCutsTriangle(P, A, B, C, Cut), 2);  // B alone below: the edges A-B and C-B
    ExpectNear(Cut.Start, {0, 0, 0}, 1e-9);
    EXPECT_NEAR(VectorDot(P.Normal, Cut.End), 0, 1e-12);
}

TEST(IntersectionOfTriangles, CrossingTrianglesShareTheOverlapOfTheirCuts) {
    // T1 in z = 0 meets the x axis over [-1.5, 1.5]; T2 in y = 0 over [-1/3, 7/3].
    const TMTriangle T1{{{-2, -1, 0}, {2, -1, 0}, {0, 3, 0}}};
    const TMTriangle T2{{{-1, 0, -1}, {3, 0, -1}, {1, 0, 2}}};
    TMSegment Cut;
    ASSERT_TRUE(IntersectionOfTriangles(T1, T2, Cut));
    const TMVector U = IntersectionOfTwoPlanes(PlaneFromTriangle(T1), PlaneFromTriangle(T2)).Direction;
    const TMVector Low{-1.0 / 3, 0, 0}, High{1.5, 0, 0};
    ExpectNear(Cut.Start, U.X > 0 ? Low : High);
    ExpectNear(Cut.End, U.X > 0 ? High : Low);
    EXPECT_TRUE(IntersectionOfTriangles(T2, T1, Cut));

    // Crossing planes but cuts that do not overlap; parallel planes with the same orientation.
    const TMTriangle Apart{{{4, 0, -1}, {8, 0, -1}, {6, 0, 2}}};
    const TMTriangle Above{{{-2, -1, 1}, {2, -1, 1}, {0, 3, 1}}};
    for (const TMTriangle* Other : {&Apart, &Above}) {
        Cut = {{1, 1, 1}, {2, 2, 2}};
        EXPECT_FALSE(IntersectionOfTriangles(T1, *Other, Cut));
        EXPECT_EQ(Cut, TMSegment{});
    }
}

// ---- Circles and arcs ----

TEST(Circles, AxesFollowTheNormalsLargestComponent) {
    TMCircle C = MakeCircle({1, 2, 3}, {0, 0, 0}, 4);
    ExpectNear(C.Centre, {1, 2, 3});
    EXPECT_EQ(C.Radius, 4);
    ExpectNear(C.Normal, {0, 0, 1});
    ExpectNear(C.XAxis, {-1, 0, 0});
    ExpectNear(C.YAxis, {0, -1, 0});

    C = MakeCircle({0, 0, 0}, {2, 0, 0}, 1);
    ExpectNear(C.Normal, {1, 0, 0});
    ExpectNear(C.XAxis, {0, -1, 0});
    ExpectNear(C.YAxis, {0, 0, -1});

    // Whatever the normal, the axes are a right-handed unit frame with it.
    for (const TMVector& N : {TMVector{1, 2, 3}, TMVector{-3, 1, 0.5}, TMVector{0.2, -4, 1}}) {
        C = MakeCircle({0, 0, 0}, N, 1);
        EXPECT_NEAR(VectorLength(C.XAxis), 1, 1e-12);
        EXPECT_NEAR(VectorDot(C.XAxis, C.YAxis), 0, 1e-12);
        ExpectNear(VectorCross(C.YAxis, C.XAxis), VectorNormalise(N));  // XAxis x YAxis
    }

    C = CircleFromCentreAndPoints({3, 0, 1}, {1, 4, 1}, {1, 0, 1});
    EXPECT_DOUBLE_EQ(C.Radius, 3);
    ExpectNear(C.Normal, {0, 0, -1});  // along (P2 - Centre) x (P1 - Centre)
    ExpectNear(C.Centre, {1, 0, 1});
}

TEST(Arcs, ThroughThreePoints) {
    const double H = std::sqrt(0.5);
    TMArc Arc = ArcThroughPoints({1, 0, 0}, {H, H, 0}, {0, 1, 0});
    ExpectNear(Arc.Centre, {0, 0, 0}, 1e-8);
    EXPECT_NEAR(Arc.Radius, 1, 1e-8);
    ExpectNear(Arc.Normal, {0, 0, -1});
    ExpectNear(Arc.XAxis, {1, 0, 0}, 1e-8);
    ExpectNear(Arc.YAxis, {0, 1, 0}, 1e-8);
    EXPECT_EQ(Arc.StartAngle, 0);
    EXPECT_NEAR(Arc.Sweep, Pi / 2, 1e-8);

    Arc = ArcThroughPoints({1, 0, 0}, {0, 1, 0}, {0, -1, 0});
    EXPECT_NEAR(Arc.Sweep, 3 * Pi / 2, 1e-12);

    Arc = ArcThroughPoints({1, 0, 0}, {0, -1, 0}, {-1, 0, 0});
    ExpectNear(Arc.Normal, {0, 0, 1});
    ExpectNear(Arc.YAxis, {0, -1, 0});
    EXPECT_NEAR(Arc.Sweep, Pi, 1e-12);

    // Any three points: the arc starts at A, passes B and ends at C.
    const TMVector A{1, 2, 3}, B{2, 0.5, 4}, C{-1, 1, 2};
    Arc = ArcThroughPoints(A, B, C);
    ExpectNear(ArcPoint(Arc, 0), A, 1e-9);
    ExpectNear(ArcPoint(Arc, Arc.Sweep), C, 1e-9);
    const TMVector ToB = VectorFromTo(Arc.Centre, B);
    double AngleB = std::atan2(VectorDot(ToB, Arc.YAxis), VectorDot(ToB, Arc.XAxis));
    if (AngleB < 0) AngleB += 2 * Pi;
    EXPECT_LT(AngleB, Arc.Sweep);
    ExpectNear(ArcPoint(Arc, AngleB), B, 1e-9);
}

// A and C on one diameter: the centre carries rounding, and the half circle must not collapse.
// Integer half circles in the three axis planes, then carried through transforms that leave the
// points off the integer grid.
TEST(Arcs, HalfCirclesThroughADiameter) {
    const TMArc Arc = ArcThroughPoints({0, 2, 0}, {1, 1, 0}, {2, 2, 0});
    EXPECT_NEAR(Arc.Radius, 1, 1e-12);
    EXPECT_NEAR(Arc.Sweep, Pi, 1e-12);

    const TMMatrix Transforms[] = {
        IdentityMatrix,
        MatrixFromRotationAngles(0.3, -1.1, 2.7),
        MatrixMirror(2, 1.7),
        MatrixMultiply(MatrixTranslation(0.1, -3.3, 7.9), MatrixScaling(0.37, 0.37, 0.37)),
    };
    unsigned Seed = 12345;
    const auto Next = [&Seed](int Range) {
        Seed = Seed * 1103515245u + 12345u;
        return static_cast<int>((Seed >> 16) % static_cast<unsigned>(2 * Range + 1)) - Range;
    };
    int Collapsed = 0;
    for (int Case = 0; Case < 1000; ++Case) {
        const TMVector Centre{double(Next(50)), double(Next(50)), double(Next(50))};
        int a = Next(20), b = Next(20);
        if (a == 0 && b == 0) a = 1;
        // v and its quarter turn w in one axis plane: A = Centre + v, B = Centre + w, C = Centre - v.
        TMVector v{}, w{};
        switch (Case % 3) {
            case 0: v = {double(a), double(b), 0}, w = {double(-b), double(a), 0}; break;
            case 1: v = {0, double(a), double(b)}, w = {0, double(-b), double(a)}; break;
            default: v = {double(b), 0, double(a)}, w = {double(a), 0, double(-b)}; break;
        }
        for (const TMMatrix& M : Transforms) {
            const auto Place = [&](const TMVector& Offset) { return MatrixTransformPoint(M, VectorAdd(Centre, Offset)); };
            const TMArc Half = ArcThroughPoints(Place(v), Place(w), Place(VectorNegate(v)));
            if (!(Half.Radius > 0) || std::fabs(Half.Sweep - Pi) > 1e-9) ++Collapsed;
        }
    }
    EXPECT_EQ(Collapsed, 0);
}

TEST(Arcs, CollinearPointsGiveRadiusZero) {
    EXPECT_EQ(ArcThroughPoints({0, 0, 0}, {1, 1, 1}, {3, 3, 3}).Radius, 0);
    EXPECT_EQ(ArcThroughPoints({1, 1, 1}, {1, 1, 1}, {2, 0, 0}).Radius, 0);
    // Not quite collinear, but too straight for the centre to be found.
    EXPECT_EQ(ArcThroughPoints({0, 0, 0}, {1, 1e-12, 0}, {2, 0, 0}).Radius, 0);
}

TEST(Arcs, FromEndsAndCentre) {
    TMArc Arc = ArcFromEndsAndCentre({2, 0, 0}, {0, 4, 0}, {0, 0, 0});
    EXPECT_DOUBLE_EQ(Arc.Radius, 3);
    ExpectNear(Arc.XAxis, {1, 0, 0});
    ExpectNear(Arc.Normal, {0, 0, -1});
    ExpectNear(Arc.YAxis, {0, 1, 0});
    EXPECT_NEAR(Arc.Sweep, Pi / 2, 1e-12);

    // The reference normal picks the way round.
    Arc = ArcFromEndsCentreAndNormal({1, 0, 0}, {0, 1, 0}, {0, 0, 0}, {0, 0, 1});
    ExpectNear(Arc.Normal, {0, 0, 1});
    ExpectNear(Arc.YAxis, {0, -1, 0});
    EXPECT_NEAR(Arc.Sweep, 3 * Pi / 2, 1e-12);
    ExpectNear(ArcPoint(Arc, Arc.Sweep), {0, 1, 0});

    Arc = ArcFromEndsCentreAndNormal({1, 0, 0}, {0, 1, 0}, {0, 0, 0}, {0, 0, -1});
    ExpectNear(Arc.Normal, {0, 0, -1});
    EXPECT_NEAR(Arc.Sweep, Pi / 2, 1e-12);

    // Ends on one diameter: the reference normal is taken as it is.
    Arc = ArcFromEndsCentreAndNormal({1, 0, 0}, {-1, 0, 0}, {0, 0, 0}, {0, 0, 2});
    ExpectNear(Arc.Normal, {0, 0, 2});
    ExpectNear(Arc.YAxis, {0, -1, 0});
    EXPECT_NEAR(Arc.Sweep, Pi, 1e-12);
}

TEST(Arcs, FromAnglesStartOnTheXYPlaneWhateverTheNormal) {
    for (const TMVector& N : {TMVector{0, 0, 1}, TMVector{3, 0, 0}}) {
        const TMArc Arc = ArcFromAngles({1, 1, 1}, N, 2, Pi / 2, Pi);
        ExpectNear(Arc.XAxis, {0, 1, 0});
        EXPECT_EQ(Arc.Normal, N);
        EXPECT_EQ(Arc.Radius, 2);
        EXPECT_DOUBLE_EQ(Arc.Sweep, Pi / 2);
        EXPECT_EQ(Arc.StartAngle, 0);
    }
}

// ---- Ellipse ----

TEST(EllipticVector, PointOfTheEllipsePerpendicularToTheDirection) {
    // Semi-axes 2 along x and 1 along y.
    ExpectNear(EllipticVector({2, 0, 0}, {0, 1, 0}, {0, 1, 0}), {2, 0, 0});
    ExpectNear(EllipticVector({2, 0, 0}, {0, 1, 0}, {1, 0, 0}), {0, -1, 0});
    const TMVector P = EllipticVector({2, 0, 0}, {0, 1, 0}, {1, 1, 0});
    EXPECT_NEAR(P.X * P.X / 4 + P.Y * P.Y, 1, 1e-12);
    EXPECT_NEAR(P.X, -P.Y, 1e-12);

    // B reaches further along A than A does: the major semi-axis runs along B, the ellipse passes A.
    const TMVector A{1, 0, 0}, B{3, 1, 0};
    ExpectNear(EllipticVector(A, B, {1, -3, 0}), B);
    const TMVector Q = EllipticVector(A, B, {0, 1, 0});
    EXPECT_NEAR(Q.Y, 0, 1e-12);  // perpendicular to D
    // Q lies on the ellipse with semi-axis B (length^2 10) that passes through A.
    const TMVector UB = VectorNormalise(B), Across = VectorNormalise({-1, 3, 0});
    const double AlongA = VectorDot(A, UB), AcrossA = VectorDot(A, Across);
    const double MinorSquared = AcrossA * AcrossA / (1 - AlongA * AlongA / 10);
    EXPECT_NEAR(std::pow(VectorDot(Q, UB), 2) / 10 + std::pow(VectorDot(Q, Across), 2) / MinorSquared, 1, 1e-12);

    ExpectError([] { EllipticVector({1, 0, 0}, {2, 0, 0}, {0, 1, 0}); }, "Solve3DLinearEquation");
}
