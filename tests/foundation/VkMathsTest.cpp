#include "foundation/VkMaths.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <type_traits>

#include "VkMathsExpect.h"
#include "foundation/Errors.h"

using namespace sarnova;

namespace {

constexpr double Pi = std::numbers::pi;

void ExpectNear(const TMMatrix& Actual, const TMMatrix& Expected, double Tol = 1e-12) {
    for (int R = 0; R < 4; ++R)
        for (int C = 0; C < 4; ++C) EXPECT_NEAR(Actual[R][C], Expected[R][C], Tol) << "[" << R << "][" << C << "]";
}

}  // namespace

TEST(VkMathsRecords, ArePlainValuesWithTheDocumentedLayout) {
    static_assert(std::is_aggregate_v<TMVector> && std::is_trivially_copyable_v<TMVector>);
    static_assert(std::is_aggregate_v<TMMatrix> && std::is_trivially_copyable_v<TMMatrix>);
    static_assert(std::is_trivially_copyable_v<TMPlane> && std::is_trivially_copyable_v<TMBox>);
    static_assert(sizeof(TMVector) == 3 * sizeof(double) && sizeof(TMMatrix) == 16 * sizeof(double));
    // Element [r][c] is the (4r + c)-th double.
    TMMatrix M = MatrixTranslation(7, 8, 9);
    EXPECT_EQ(reinterpret_cast<const double*>(&M)[4 * 1 + 3], 8);
}

TEST(VectorCross, YieldsBCrossA) {
    EXPECT_EQ(VectorCross(XAxisVector, YAxisVector), MakeVector(0, 0, -1));
    EXPECT_EQ(VectorCross(YAxisVector, XAxisVector), MakeVector(0, 0, 1));
    // So the normal of a plane from points points to the side that sees them clockwise.
    const TMPlane P = PlaneFromPoints(ZeroVector, XAxisVector, YAxisVector);
    EXPECT_EQ(P.Normal, MakeVector(0, 0, -1));
    EXPECT_EQ(P.Distance, 0);
    EXPECT_EQ(PlaneFromTriangle({ZeroVector, XAxisVector, YAxisVector}), P);
}

TEST(Vectors, DegenerateAndBoundaryCases) {
    EXPECT_EQ(VectorFromTo(MakeVector(1, 2, 3), MakeVector(4, 6, 8)), MakeVector(3, 4, 5));
    EXPECT_EQ(VectorNormalise(ZeroVector), ZeroVector);
    ExpectNear(VectorNormalise(MakeVector(0, 3, 4)), MakeVector(0, 0.6, 0.8));
    // Clamped: the dot product of the normalised vectors must not leave [-1, 1].
    EXPECT_DOUBLE_EQ(VectorAngle(MakeVector(1, 0, 0), MakeVector(-2, 0, 0)), Pi);
    EXPECT_DOUBLE_EQ(VectorAngle(MakeVector(0.1, 0.7, 0.3), MakeVector(-0.3, -2.1, -0.9)), Pi);
    EXPECT_DOUBLE_EQ(VectorAngle(ZeroVector, XAxisVector), Pi / 2);
    // The tolerance is strict.
    EXPECT_FALSE(VectorsEqual(ZeroVector, MakeVector(0.0001, 0, 0)));
    EXPECT_TRUE(VectorsEqual(ZeroVector, MakeVector(0.00009, 0, 0)));
    EXPECT_FALSE(VectorsEqualStrict(ZeroVector, MakeVector(0, 0, 1e-10)));
    EXPECT_TRUE(VectorsEqualStrict(ZeroVector, MakeVector(0, 0, 0.9e-10)));
    EXPECT_EQ(NearestAxis(MakeVector(-1, 1, 1)), XAxisVector);
    EXPECT_EQ(NearestAxis(MakeVector(0, -2, 2)), YAxisVector);
    EXPECT_EQ(NearestAxis(MakeVector(0.1, 0, -0.2)), ZAxisVector);
    ExpectNear(VectorPerpendicularPart(XAxisVector, MakeVector(3, 4, 5)), MakeVector(0, 4, 5));
    EXPECT_DOUBLE_EQ(TriangleArea(ZeroVector, MakeVector(4, 0, 0), MakeVector(0, 3, 7)), 0.5 * std::hypot(3, 7) * 4);
    EXPECT_EQ(VectorToStr(MakeVector(1, -2.5, 3.14159)), "[1.00, -2.50, 3.14]");
}

TEST(PlaneAxes, SpanThePlaneNormalToN) {
    TMVector U, V;
    PlaneAxes(ZAxisVector, U, V);
    ExpectNear(U, XAxisVector);
    ExpectNear(V, YAxisVector);
    PlaneAxes(XAxisVector, U, V);
    ExpectNear(U, YAxisVector);
    ExpectNear(V, ZAxisVector);
    PlaneAxes(MakeVector(NAN, 0, 1), U, V);
    EXPECT_EQ(U, XAxisVector);
    EXPECT_EQ(V, YAxisVector);

    // Corners in the order (MinU, MinV), (MinU, MaxV), (MaxU, MaxV), (MaxU, MinV), around the foot
    // of the perpendicular from the origin.
    const auto Corners = PlaneRectangleCorners(PlaneFromDirection(1, 2), MakeRect2D(-1, -2, 3, 4));
    ExpectNear(Corners[0], MakeVector(2, -1, -2));
    ExpectNear(Corners[1], MakeVector(2, -1, 4));
    ExpectNear(Corners[2], MakeVector(2, 3, 4));
    ExpectNear(Corners[3], MakeVector(2, 3, -2));
}

TEST(Scalars, FollowTheirRules) {
    EXPECT_DOUBLE_EQ(Angle2D(1, 0), Pi / 2);
    EXPECT_DOUBLE_EQ(Angle2D(0, -1), Pi);
    EXPECT_DOUBLE_EQ(Angle2D(-1, -1), -3 * Pi / 4);
    EXPECT_DOUBLE_EQ(Angle2D(-1, 1e-10), -Pi / 2);
    EXPECT_EQ(Angle2D(0, 0), 0);

    EXPECT_TRUE(Between(3, 1, 2));
    EXPECT_TRUE(Between(1, 3, 3));
    EXPECT_FALSE(Between(1, 3, 3.0001));
    EXPECT_EQ(CopySign(-2, -0.0), 2);
    EXPECT_EQ(CopySign(2, -1e-300), -2);
    EXPECT_EQ(Sign(-0.5), -1);
    EXPECT_EQ(Sign(0), 0);

    EXPECT_DOUBLE_EQ(TriangleAreaFromSides(3, 4, 5), 6);
    // Single precision first: 1.239 as a single, times 100, cut towards zero.
    EXPECT_DOUBLE_EQ(TruncateDecimals(1.239, 2), 123.0 / 100.0f);
    EXPECT_DOUBLE_EQ(TruncateDecimals(-1.239, 2), -123.0 / 100.0f);
    EXPECT_DOUBLE_EQ(Intepolation(2, 1, 3, 10, 20), 15);
    ExpectError([] { Intepolation(2, 1, 1, 10, 20); }, "VkMaths.Intepolation - XMin = XMax");
}

TEST(Binomial, CoversTheRangeAndOverflow) {
    const struct { unsigned N, K; double Expected; } Cases[] = {
        {5, 2, 10}, {5, 3, 10}, {0, 0, 0}, {3, 5, 0}, {7, 0, 1}, {7, 7, 1}, {52, 5, 2598960},
        {1755, 1, 0}, {1000, 1, 1000}, {1754, 877, -1},  // beyond the largest double
    };
    for (const auto& C : Cases) EXPECT_EQ(Binomial(C.N, C.K), C.Expected) << C.N << " " << C.K;
    EXPECT_NEAR(Binomial(1000, 500) / 2.702882409454366e299, 1, 1e-12);
}

TEST(NiceNumber, StepsOneTwoFive) {
    const struct { double Value; bool Rounded; double Expected; } Cases[] = {
        {0.037, true, 0.05}, {0.037, false, 0.05}, {7.2, true, 10}, {7.2, false, 10},
        {2.2, true, 2}, {2.2, false, 5}, {100, false, 100}, {1.4, true, 1}, {0, true, 0}, {-3, false, 0},
    };
    for (const auto& C : Cases) EXPECT_DOUBLE_EQ(NiceNumber(C.Value, C.Rounded), C.Expected) << C.Value;
}

TEST(Planes, DirectionCodesOrientationAndSides) {
    EXPECT_EQ(PlaneFromDirection(3, 2.5), (TMPlane{XAxisVector, 2.5}));
    EXPECT_EQ(PlaneFromDirection(128 + 2, 1), (TMPlane{YAxisVector, 1}));  // the top bit is ignored
    EXPECT_EQ(PlaneFromDirection(0, -1), (TMPlane{ZAxisVector, -1}));
    ExpectError([] { PlaneFromDirection(6, 0); }, "MPlane: Bad Plane Direction Requested (opXYZ)");

    TMPlane P{{0, 0, -1}, 2};
    OrientPlane(P);
    EXPECT_EQ(P, (TMPlane{{0, 0, 1}, -2}));
    P = {{0, -1, 0}, 2};
    OrientPlane(P);
    EXPECT_EQ(P, (TMPlane{{0, 1, 0}, -2}));
    P = {{-1, 0, 0}, 2};
    OrientPlane(P);
    EXPECT_EQ(P, (TMPlane{{-1, 0, 0}, 2}));

    const TMPlane X1{XAxisVector, 1};
    EXPECT_EQ(PlaneSide(X1, MakeVector(1, 5, 5), 0), -1);  // on the plane, tolerance 0
    EXPECT_EQ(PlaneSide(X1, MakeVector(1.05, 0, 0), 0.1), 0);
    EXPECT_EQ(PlaneSide(X1, MakeVector(1.2, 0, 0), 0.1), 1);
    EXPECT_EQ(PlaneSide(TMPlane{XAxisVector, 0}, MakeVector(0.1, 0, 0), 0.1), -1);
    EXPECT_EQ(PlaneSide(X1, MakeVector(0.5, 0, 0), 0.1), -1);

    const TMPlane Tilted{{0, 3, 4}, 10};  // not unit: the distance still divides by its length
    EXPECT_DOUBLE_EQ(DistanceFromPointToPlane(Tilted, ZeroVector), 2);
    ExpectNear(PointOnPlaneClosestToPoint(Tilted, ZeroVector), MakeVector(0, 1.2, 1.6));
    const TMPlane FromNormal = PlaneFromNormalAndPoint(MakeVector(0, 0, 2), MakeVector(5, 5, 3));
    EXPECT_EQ(FromNormal, (TMPlane{ZAxisVector, 3}));
    // Through A and B, containing D: the plane of A, A + D, B, whose normal runs along D x (B - A).
    const TMPlane Contains = PlaneFromPointsAndDirection(ZeroVector, XAxisVector, ZAxisVector);
    ExpectNear(Contains.Normal, MakeVector(0, -1, 0));
}

TEST(Lines, BuildersAndTwoDimensionalMeets) {
    const TMLine L = LineThroughPoints(MakeVector(1, 1, 1), MakeVector(1, 1, 5));
    EXPECT_EQ(L.Point, MakeVector(1, 1, 1));
    EXPECT_EQ(L.Direction, MakeVector(0, 0, -1));  // from B towards A
    EXPECT_EQ(PointOnLine(L, 2), MakeVector(1, 1, -1));
    EXPECT_EQ(LineFromDirectionAndPoint(XAxisVector, YAxisVector), LineFromPointAndDirection(YAxisVector, XAxisVector));

    const TMLine2D Sloped = Line2DFromPoints(MakePoint2D(0, 1), MakePoint2D(2, 5));
    EXPECT_EQ(Sloped, (TMLine2D{2, 1, false, 0}));
    EXPECT_EQ(Line2DX(Sloped, 5), 2);
    const TMLine2D Upright = Line2DFromPoints(MakePoint2D(3, 1), MakePoint2D(3, 5));
    EXPECT_EQ(Upright, (TMLine2D{0, 0, true, 3}));
    EXPECT_EQ(GetLinesMeet(Sloped, Upright), MakePoint2D(3, 7));
    EXPECT_EQ(GetLinesMeet(Upright, Sloped), MakePoint2D(3, 7));
    EXPECT_EQ(GetLinesMeet(Sloped, TMLine2D{-1, 4, false, 0}), MakePoint2D(1, 3));
    ExpectError([&] { GetLinesMeet(Upright, Upright); }, "GETLINESMEET: Lines are Parallel");

    double X = -7, Y = -7;
    LinesIntersection2D(0, 1, 2, 5, 3, 0, 3, 9, X, Y);  // second line vertical
    EXPECT_DOUBLE_EQ(X, 3);
    EXPECT_DOUBLE_EQ(Y, 7);
    LinesIntersection2D(3, 0, 3, 9, 0, 1, 2, 5, X, Y);  // first line vertical
    EXPECT_DOUBLE_EQ(X, 3);
    EXPECT_DOUBLE_EQ(Y, 7);
    LinesIntersection2D(0, 1, 2, 5, 0, 4, 4, 0, X, Y);
    EXPECT_DOUBLE_EQ(X, 1);
    EXPECT_DOUBLE_EQ(Y, 3);
    X = -7, Y = -7;
    LinesIntersection2D(1, 0, 1, 1, 2, 0, 2, 1, X, Y);  // both vertical: untouched
    EXPECT_EQ(X, -7);
    EXPECT_EQ(Y, -7);
}

TEST(Matrices, ProductAppliesTheRightFactorFirst) {
    const TMMatrix M = MatrixMultiply(MatrixTranslation(1, 0, 0), MatrixScaling(2, 2, 2));
    EXPECT_EQ(MatrixTransformPoint(M, MakeVector(1, 1, 1)), MakeVector(3, 2, 2));
    // Row 3 is ignored: no perspective division.
    TMMatrix P = MatrixTranslation(1, 2, 3);
    P[3][0] = 5;
    P[3][3] = 9;
    EXPECT_EQ(MatrixTransformPoint(P, MakeVector(1, 1, 1)), MakeVector(2, 3, 4));

    const TMMatrix A = MatrixFromAxes(MakeVector(1, 2, 3), MakeVector(4, 5, 6), MakeVector(7, 8, 9), MakeVector(10, 11, 12));
    EXPECT_EQ(A[1][0], 2);
    EXPECT_EQ(A[0][3], 10);
    EXPECT_EQ(A[3][3], 1);
    EXPECT_EQ(VectorFromMatrixColumn(A, 2), MakeVector(4, 5, 6));
    EXPECT_EQ(VectorFromMatrixColumn(A, 4), MakeVector(10, 11, 12));
    for (int Bad : {0, 5})
        ExpectError([&] { VectorFromMatrixColumn(A, Bad); }, "VkMaths.VectorFromMatrixColumn - Column Index out of bounds");
    EXPECT_EQ(MatrixTranspose(A)[0][1], 2);
    EXPECT_EQ(MatrixSubtract(MatrixAdd(A, IdentityMatrix), A), IdentityMatrix);
    const TMMatrix Tripled = MatrixMultiplyByScalar(A, 3);
    EXPECT_EQ(Tripled[2][1], 18);
    EXPECT_EQ(Tripled[3][3], 3);
}

TEST(Matrices, RotationHandedness) {
    // About an axis: right-handed.
    ExpectNear(MatrixTransformPoint(MatrixRotationAboutAxis(XAxisVector, Pi / 2), YAxisVector), ZAxisVector);
    ExpectNear(MatrixTransformPoint(MatrixRotationAboutAxis(MakeVector(0, 0, 5), Pi / 2), XAxisVector), YAxisVector);
    // From angles: each factor turns by the negative angle, X first, then Y, then Z.
    ExpectNear(MatrixTransformPoint(MatrixFromRotationAngles(Pi / 2, 0, 0), YAxisVector), MakeVector(0, 0, -1));
    ExpectNear(MatrixTransformPoint(MatrixFromRotationAngles(0, 0, Pi / 2), XAxisVector), MakeVector(0, -1, 0));
    ExpectNear(MatrixTransformPoint(MatrixFromRotationAngles(0, Pi / 2, 0), ZAxisVector), MakeVector(-1, 0, 0));
    ExpectNear(MatrixTransformPoint(MatrixFromRotationAngles(Pi / 2, 0, Pi / 2), YAxisVector), MakeVector(0, 0, -1));
    ExpectNear(MatrixTransformPoint(MatrixFromRotationAngles(Pi / 2, 0, Pi / 2), ZAxisVector), XAxisVector);

    // Turns the direction of A onto that of B.
    const TMVector A = MakeVector(1, 2, 2), B = MakeVector(0, -3, 4);
    ExpectNear(MatrixTransformPoint(MatrixRotationBetween(A, B), A), MakeVector(0, -1.8, 2.4));
    // Opposite vectors: a zero axis turned by pi leaves a point reflection.
    const TMMatrix Flip = MatrixRotationBetween(A, VectorNegate(A));
    ExpectNear(Flip, MatrixScaling(-1, -1, -1));
}

TEST(MatrixInverse, PivotsOnTheLargestElementOfTheColumn) {
    ExpectNear(MatrixInverse(MatrixTranslation(1, 2, 3)), MatrixTranslation(-1, -2, -3));
    // A quarter-turn puts cos(pi/2) ~ 6e-17 on the diagonal; taking it as the pivot gave a
    // translation of (4, -1, -3).
    const TMMatrix M = MatrixMultiply(MatrixTranslation(1, 2, 3), MatrixFromRotationAngles(0, 0, Pi / 2));
    const TMMatrix Inverse = MatrixInverse(M);
    ExpectNear(VectorFromMatrixColumn(Inverse, 4), MakeVector(2, -1, -3));
    ExpectNear(MatrixMultiply(M, Inverse), IdentityMatrix);

    const TMMatrix General = MatrixFromAxes(MakeVector(0, 2, 1), MakeVector(1e-20, 0, 3), MakeVector(4, 1, 0), MakeVector(1, 2, 3));
    ExpectNear(MatrixMultiply(MatrixInverse(General), General), IdentityMatrix);
}

TEST(MatrixInverse, SingularGivesTheZeroMatrix) {
    TMMatrix ZeroColumn = MatrixTranslation(1, 2, 3);
    ZeroColumn[1][1] = 0;
    EXPECT_EQ(MatrixInverse(ZeroColumn), ZeroMatrix);
    EXPECT_EQ(MatrixInverse(MatrixFromAxes(XAxisVector, YAxisVector, MakeVector(1, 1, 0), ZeroVector)), ZeroMatrix);
    // Dependent up to rounding: axes 0.1 .. 0.9.
    EXPECT_EQ(MatrixInverse(MatrixFromAxes(MakeVector(0.1, 0.4, 0.7), MakeVector(0.2, 0.5, 0.8),
                                           MakeVector(0.3, 0.6, 0.9), ZeroVector)),
              ZeroMatrix);
    // A tiny scale is no singularity: pivots are judged against their rows.
    EXPECT_EQ(MatrixInverse(MatrixScaling(1, 1, 1e-31)), MatrixScaling(1, 1, 1e31));
}

TEST(MatrixMirror, ReflectsInAnAxisPlaneAtAnOffset) {
    const struct { TPlaneDirection Code; double Offset; TMVector In, Out; } Cases[] = {
        {2, 1, {0, 3, 0}, {0, -1, 0}},
        {0, 0, {1, 2, 3}, {1, 2, -3}},
        {0, 2, {1, 2, 3}, {1, 2, 1}},
        {1, -1, {1, 2, 3}, {-3, 2, 3}},
        {1, 0, {1, 2, 3}, {-1, 2, 3}},
        {3, 5, {1, 2, 3}, {1, 2, 3}},  // not a plane code: the identity
    };
    for (const auto& C : Cases) ExpectNear(MatrixTransformPoint(MatrixMirror(C.Code, C.Offset), C.In), C.Out);
    EXPECT_EQ(MatrixMirror(2, 0), MirrorXZMatrix);
}

TEST(MatrixTransformPlane, MovesAndTurnsThePlane) {
    const TMMatrix M = MatrixMultiply(MatrixTranslation(0, 0, 5), MatrixRotationAboutAxis(XAxisVector, Pi / 2));
    const TMPlane P = MatrixTransformPlane(M, TMPlane{YAxisVector, 2});  // y = 2 turns to z = 2, then moves to z = 7
    ExpectNear(P.Normal, ZAxisVector);
    EXPECT_NEAR(P.Distance, 7, 1e-12);
}
