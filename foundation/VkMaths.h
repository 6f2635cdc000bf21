// Value types under every geometric computation: vectors, planes, lines, boxes, 4x4 transforms and a
// few 2-D helpers, with the free routines that build and combine them. All records are plain values.
#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace sarnova {

// A point or a direction in 3-D.
struct TMVector {
    double X = 0;
    double Y = 0;
    double Z = 0;
    bool operator==(const TMVector&) const = default;
};

// The plane of all points P with Normal . P = Distance.
struct TMPlane {
    TMVector Normal;  // unit length wherever a routine of this module built the plane
    double Distance = 0;
    bool operator==(const TMPlane&) const = default;
};

// The line of points Point + T * Direction; Direction is not normalised unless its builder says so.
struct TMLine {
    TMVector Point;
    TMVector Direction;
    bool operator==(const TMLine&) const = default;
};

// Axis-aligned box, maximum corner first. The empty box has Max = (-1e33, -1e33, -1e33) and
// Min = (1e33, 1e33, 1e33), so that growing it by any point yields that point.
struct TMBox {
    TMVector Max;
    TMVector Min;
    bool operator==(const TMBox&) const = default;
};

// 4x4 transform indexed [row][column], acting on column vectors: the translation sits in column 3 and
// A . B applies B first. Routines that build a matrix start from IdentityMatrix.
struct TMMatrix {
    double M[4][4] = {};
    double* operator[](int Row) { return M[Row]; }
    const double* operator[](int Row) const { return M[Row]; }
    bool operator==(const TMMatrix&) const = default;
};

// A rectangle in the two in-plane axes of a plane; the empty one is (1e33, 1e33, -1e33, -1e33).
struct TMRect2D {
    double MinU = 0;
    double MinV = 0;
    double MaxU = 0;
    double MaxV = 0;
    bool operator==(const TMRect2D&) const = default;
};

struct TMPoint2D {
    double X = 0;
    double Y = 0;
    bool operator==(const TMPoint2D&) const = default;
};

// A 2-D line: y = Slope x + Intercept, or x = X when Vertical (then Slope and Intercept are 0).
struct TMLine2D {
    double Slope = 0;
    double Intercept = 0;
    bool Vertical = false;
    double X = 0;
    bool operator==(const TMLine2D&) const = default;
};

// The corners of a triangle, V0, V1, V2.
using TMTriangle = std::array<TMVector, 3>;

// Axis plane or viewing direction; only the low seven bits are read:
// 0 XY plane (normal Z), 1 YZ plane (normal X), 2 XZ plane (normal Y), 3, 4, 5 normal X, Y, Z,
// 6 a general (non-axis) direction.
using TPlaneDirection = std::uint8_t;

inline constexpr TMVector ZeroVector{0, 0, 0};
inline constexpr TMVector XAxisVector{1, 0, 0};
inline constexpr TMVector YAxisVector{0, 1, 0};
inline constexpr TMVector ZAxisVector{0, 0, 1};

inline constexpr TMPlane YZPlane{{1, 0, 0}, 0};  // x = 0
inline constexpr TMPlane XZPlane{{0, 1, 0}, 0};  // y = 0, the centre plane of a symmetric hull
inline constexpr TMPlane XYPlane{{0, 0, 1}, 0};  // z = 0
// Zero normal: the "no plane" answer of plane and ribbon queries.
inline constexpr TMPlane NullPlane{{0, 0, 0}, 0};

inline constexpr TMMatrix IdentityMatrix{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
inline constexpr TMMatrix ZeroMatrix{};
// Reflection y -> -y in the centre plane: draws and builds the mirrored half of symmetric geometry.
inline constexpr TMMatrix MirrorXZMatrix{{{1, 0, 0, 0}, {0, -1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};

// Coincident points in the curve and mesh kernels; the initial tolerance of every B-spline.
inline constexpr double DefaultTolerance = 1e-4;
// Zero test of denominators and near-equal values.
inline constexpr double NearZero = 1e-9;
// Start value of nearest-point and minimum searches.
inline constexpr double HugeValue = 1.7e308;
// Below this a length or a determinant counts as nothing.
inline constexpr double TinyValue = 1e-30;
// Start value of the curve network's nearest-point searches and of its plane ranges; also the bound of
// the empty box.
inline constexpr double LargeValue = 1e33;

// ---- Scalars ----

int Sign(double X);  // 1, -1 or 0
// abs(Magnitude), negated when SignSource < 0 (a zero SignSource counts as positive).
double CopySign(double Magnitude, double SignSource);
// X lies between A and B, ends included, whichever of A and B is larger.
bool Between(double A, double B, double X);
double Cube(double X);
double FourthPower(double X);
double Hypotenuse(double A, double B);
// Value, taken in single precision, cut towards zero to Digits decimal places.
double TruncateDecimals(double Value, int Digits);
// Direction angle of (X, Y) in (-pi, pi]; X within 1e-9 of zero counts as zero.
double Angle2D(double Y, double X);
double TriangleAreaFromSides(double A, double B, double C);
// 0 when N = 0, K > N or N > 1754; -1 when the result overflows a double.
double Binomial(unsigned N, unsigned K);
// A 1-2-5 step value for axis scales; 0 for Value <= 0.
double NiceNumber(double Value, bool Rounded);
// Linear interpolation; throws EError when XMin = XMax.
double Intepolation(double X, double XMin, double XMax, double YMin, double YMax);

// ---- Vectors ----

inline TMVector MakeVector(double X, double Y, double Z) { return {X, Y, Z}; }
// "[x, y, z]" with two decimals each, "." as decimal separator.
std::string VectorToStr(const TMVector& V);

inline TMVector VectorAdd(const TMVector& A, const TMVector& B) { return {A.X + B.X, A.Y + B.Y, A.Z + B.Z}; }
inline TMVector VectorSum3(const TMVector& A, const TMVector& B, const TMVector& C) {
    return {A.X + B.X + C.X, A.Y + B.Y + C.Y, A.Z + B.Z + C.Z};
}
inline TMVector VectorSum4(const TMVector& A, const TMVector& B, const TMVector& C, const TMVector& D) {
    return {A.X + B.X + C.X + D.X, A.Y + B.Y + C.Y + D.Y, A.Z + B.Z + C.Z + D.Z};
}
inline TMVector VectorScale(const TMVector& V, double S) { return {V.X * S, V.Y * S, V.Z * S}; }
inline TMVector VectorNegate(const TMVector& V) { return {-V.X, -V.Y, -V.Z}; }
// A + F B, the step of every weighted sum of vectors.
inline TMVector VectorAddScaled(const TMVector& A, double F, const TMVector& B) {
    return {A.X + F * B.X, A.Y + F * B.Y, A.Z + F * B.Z};
}
// B - A, the vector from A to B.
inline TMVector VectorFromTo(const TMVector& A, const TMVector& B) { return {B.X - A.X, B.Y - A.Y, B.Z - A.Z}; }
inline TMVector VectorMidpoint(const TMVector& A, const TMVector& B) {
    return {(A.X + B.X) / 2, (A.Y + B.Y) / 2, (A.Z + B.Z) / 2};
}
inline TMVector VectorAverage3(const TMVector& A, const TMVector& B, const TMVector& C) {
    return {(A.X + B.X + C.X) / 3, (A.Y + B.Y + C.Y) / 3, (A.Z + B.Z + C.Z) / 3};
}
// A at T = 0, B at T = 1.
inline TMVector VectorLerp(const TMVector& A, const TMVector& B, double T) {
    return {A.X * (1 - T) + B.X * T, A.Y * (1 - T) + B.Y * T, A.Z * (1 - T) + B.Z * T};
}
inline double VectorDot(const TMVector& A, const TMVector& B) { return A.X * B.X + A.Y * B.Y + A.Z * B.Z; }
// Mind the order: this is B x A, that is -(A x B). Callers that want A x B write VectorCross(B, A).
inline TMVector VectorCross(const TMVector& A, const TMVector& B) {
    return {A.Z * B.Y - A.Y * B.Z, A.X * B.Z - A.Z * B.X, A.Y * B.X - A.X * B.Y};
}
double VectorLength(const TMVector& V);
double VectorDistance(const TMVector& A, const TMVector& B);
// V scaled to unit length; a zero vector is returned unchanged.
TMVector VectorNormalise(const TMVector& V);
// Angle in [0, pi]; a zero vector makes pi/2 with anything.
double VectorAngle(const TMVector& A, const TMVector& B);
// Every coordinate differs by strictly less than Tol.
bool VectorsEqualWithin(const TMVector& A, const TMVector& B, double Tol);
bool VectorsEqual(const TMVector& A, const TMVector& B);        // within 1e-4
bool VectorsEqualStrict(const TMVector& A, const TMVector& B);  // within 1e-10
// V - U (U . V): the part of V perpendicular to the unit vector U.
TMVector VectorPerpendicularPart(const TMVector& U, const TMVector& V);
// The axis vector with the largest abs(V . axis); ties prefer X, then Y.
TMVector NearestAxis(const TMVector& V);
// Two unit axes spanning the plane normal to N: N = (0, 0, 1) gives U = X, V = Y; N = (1, 0, 0)
// gives U = Y, V = Z. U and V stay X and Y when N has a NaN component.
void PlaneAxes(const TMVector& N, TMVector& U, TMVector& V);
double TriangleArea(const TMVector& A, const TMVector& B, const TMVector& C);

// ---- Planes and lines ----

// Axis plane by code (low seven bits): 0 and 5 normal Z, 1 and 3 normal X, 2 and 4 normal Y; any other
// code throws EError.
TMPlane PlaneFromDirection(TPlaneDirection Code, double Distance);
TMPlane PlaneFromNormalAndPoint(const TMVector& Normal, const TMVector& Point);
// The unit normal runs along (C - A) x (B - A): it points to the side from which A, B, C are seen
// clockwise.
TMPlane PlaneFromPoints(const TMVector& A, const TMVector& B, const TMVector& C);
TMPlane PlaneFromTriangle(const TMTriangle& T);
// The plane through A and B that contains the direction D.
TMPlane PlaneFromPointsAndDirection(const TMVector& A, const TMVector& B, const TMVector& D);
// Makes Normal.Z positive, or Normal.Y when Normal.Z is 0; Normal.X is never consulted.
void OrientPlane(TMPlane& Plane);
// 0 when abs(S) < Tol, 1 when S > Tol, else -1, with S = Normal . P - Distance. Note that a point
// exactly on the plane gives -1 with Tol 0.
int PlaneSide(const TMPlane& Plane, const TMVector& P, double Tol);
double DistanceFromPointToPlane(const TMPlane& Plane, const TMVector& P);
TMVector PointOnPlaneClosestToPoint(const TMPlane& Plane, const TMVector& P);
TMRect2D MakeRect2D(double MinU, double MinV, double MaxU, double MaxV);
// The corners of Rect laid in the plane (unit normal) along its PlaneAxes, in the order
// (MinU, MinV), (MinU, MaxV), (MaxU, MaxV), (MaxU, MinV).
std::array<TMVector, 4> PlaneRectangleCorners(const TMPlane& Plane, const TMRect2D& Rect);
TMLine LineFromPointAndDirection(const TMVector& P, const TMVector& D);
TMLine LineFromDirectionAndPoint(const TMVector& D, const TMVector& P);
// Point A, unit direction from B towards A.
TMLine LineThroughPoints(const TMVector& A, const TMVector& B);
TMVector PointOnLine(const TMLine& L, double T);

// ---- 2-D helpers ----

TMPoint2D MakePoint2D(double X, double Y);
TMLine2D Line2DFromPoints(const TMPoint2D& P1, const TMPoint2D& P2);
double Line2DY(const TMLine2D& L, double X);  // not meaningful for a vertical line
double Line2DX(const TMLine2D& L, double Y);
// Throws EError when both lines are vertical; equal slopes give non-finite coordinates.
TMPoint2D GetLinesMeet(const TMLine2D& L1, const TMLine2D& L2);
// Meeting point of the line through (X1, Y1), (X2, Y2) with the line through (X3, Y3), (X4, Y4);
// X and Y are left unchanged when both lines are vertical.
void LinesIntersection2D(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                         double Y4, double& X, double& Y);

// ---- Matrices ----

TMMatrix MatrixMultiply(const TMMatrix& A, const TMMatrix& B);  // A . B: B applies first
TMMatrix MatrixMultiplyByScalar(const TMMatrix& M, double S);
TMMatrix MatrixAdd(const TMMatrix& A, const TMMatrix& B);
TMMatrix MatrixSubtract(const TMMatrix& A, const TMMatrix& B);
TMMatrix MatrixTranspose(const TMMatrix& M);
// M times (x, y, z, 1); row 3 is ignored.
TMVector MatrixTransformPoint(const TMMatrix& M, const TMVector& P);
TMPlane MatrixTransformPlane(const TMMatrix& M, const TMPlane& Plane);
// ZeroMatrix when M is singular.
TMMatrix MatrixInverse(const TMMatrix& M);
// Columns 0..2 = X, Y, Z, column 3 = O.
TMMatrix MatrixFromAxes(const TMVector& X, const TMVector& Y, const TMVector& Z, const TMVector& O);
// Column Index - 1 for Index 1..4; any other Index throws EError.
TMVector VectorFromMatrixColumn(const TMMatrix& M, int Index);
TMMatrix MatrixTranslation(double X, double Y, double Z);
TMMatrix MatrixTranslationByVector(const TMVector& V);
TMMatrix MatrixScaling(double SX, double SY, double SZ);
TMMatrix MatrixUniformScaling(double S);
// Rz . Ry . Rx, each factor turning a point by the NEGATIVE angle about its axis: (pi/2, 0, 0) maps
// (0, 1, 0) to (0, 0, -1). The opposite sense to MatrixRotationAboutAxis.
TMMatrix MatrixFromRotationAngles(double AX, double AY, double AZ);
// Right-handed rotation about the normalised Axis through the origin: about X by pi/2, (0, 1, 0) goes
// to (0, 0, 1). A zero axis leaves cos(Angle) on the diagonal and zeros elsewhere.
TMMatrix MatrixRotationAboutAxis(const TMVector& Axis, double Angle);
// Turns the direction of A onto the direction of B.
TMMatrix MatrixRotationBetween(const TMVector& A, const TMVector& B);
// Reflection in the axis plane of Code 0 (z = Offset), 1 (x = Offset) or 2 (y = Offset); the identity
// for any other code.
TMMatrix MatrixMirror(TPlaneDirection Code, double Offset);

}  // namespace sarnova
