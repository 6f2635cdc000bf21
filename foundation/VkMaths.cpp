// Value types under every geometric computation: the routines that are not inline in the header.
#include "foundation/VkMaths.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <numbers>

#include "foundation/Errors.h"
#include "foundation/VkMatrix.h"

namespace sarnova {

namespace {

constexpr double StrictTolerance = 1e-10;
constexpr double Pi = std::numbers::pi;

// Double to single; out-of-range values become infinities instead of undefined behaviour.
float ToSingle(double Value) {
    if (Value > FLT_MAX) return INFINITY;
    if (Value < -FLT_MAX) return -INFINITY;
    return static_cast<float>(Value);
}

// The diagonal element and the translation element of the axis that MatrixMirror reflects; -1 for a
// code that reflects nothing.
int MirrorAxis(TPlaneDirection Code) {
    switch (Code & 0x7F) {
        case 0: return 2;
        case 1: return 0;
        case 2: return 1;
        default: return -1;
    }
}

}  // namespace

// ---- Scalars ----

int Sign(double X) {
    if (X > 0) return 1;
    if (X < 0) return -1;
    return 0;
}

double CopySign(double Magnitude, double SignSource) {
    return SignSource >= 0 ? std::fabs(Magnitude) : -std::fabs(Magnitude);
}

bool Between(double A, double B, double X) {
    return A <= B ? (X >= A && X <= B) : (X >= B && X <= A);
}

double Cube(double X) { return X * X * X; }

double FourthPower(double X) {
    const double Square = X * X;
    return Square * Square;
}

// hypot avoids the overflow of the squares that the plain formula meets in double precision.
double Hypotenuse(double A, double B) { return std::hypot(A, B); }

double TruncateDecimals(double Value, int Digits) {
    const float Factor = ToSingle(std::pow(10.0, Digits));
    // The product of two singles is exact in double, so only the truncation and the division round.
    return std::trunc(static_cast<double>(ToSingle(Value)) * Factor) / Factor;
}

double Angle2D(double Y, double X) {
    if (std::fabs(X) < NearZero) return Sign(Y) * Pi / 2;
    const double R = std::atan(Y / X);
    if (X >= 0) return R;
    if (Y > 0) return R + Pi;
    if (Y == 0) return Pi;
    return R - Pi;
}

double TriangleAreaFromSides(double A, double B, double C) {
    const double S = (A + B + C) / 2;
    return std::sqrt(S * (S - A) * (S - B) * (S - C));
}

double Binomial(unsigned N, unsigned K) {
    if (N == 0 || K > N || N > 1754) return 0;
    if (K == 0 || K == N) return 1;
    if (N / 2 < K) K = N - K;
    // Extended precision carries the large intermediate products that a double cannot hold.
    long double Product = 1;
    for (unsigned J = 1; J <= K; ++J) Product = Product * static_cast<long double>(N - K + J) / J;
    const long double Result = std::floor(Product + 0.5L);
    if (!(Result <= static_cast<long double>(DBL_MAX))) return -1;
    return static_cast<double>(Result);
}

double NiceNumber(double Value, bool Rounded) {
    if (Value <= 0) return 0;
    const float E = ToSingle(std::floor(std::log10(Value)));
    const double Power = std::pow(10.0, static_cast<double>(E));
    const double F = Value / Power;
    double N;
    if (Rounded)
        N = F < 1.5 ? 1 : F < 3 ? 2 : F < 7 ? 5 : 10;
    else
        N = F <= 1 ? 1 : F <= 2 ? 2 : F <= 5 ? 5 : 10;
    return Power * N;
}

double Intepolation(double X, double XMin, double XMax, double YMin, double YMax) {
    if (XMin == XMax) throw EError("VkMaths.Intepolation - XMin = XMax");
    return YMin + (X - XMin) / (XMax - XMin) * (YMax - YMin);
}

// ---- Vectors ----

std::string VectorToStr(const TMVector& V) {
    // Fixed notation with two decimals; to_chars never consults the locale. The buffer holds the
    // largest double written out in full.
    std::string Text = "[";
    const double Values[] = {V.X, V.Y, V.Z};
    for (int I = 0; I < 3; ++I) {
        char Buffer[400];
        const auto Result = std::to_chars(Buffer, Buffer + sizeof Buffer, Values[I], std::chars_format::fixed, 2);
        if (I > 0) Text += ", ";
        Text.append(Buffer, Result.ptr);
    }
    return Text + "]";
}

double VectorLength(const TMVector& V) { return std::sqrt(VectorDot(V, V)); }

double VectorDistance(const TMVector& A, const TMVector& B) { return VectorLength(VectorFromTo(A, B)); }

TMVector VectorNormalise(const TMVector& V) {
    const double Length = VectorLength(V);
    if (Length > 0) return {V.X / Length, V.Y / Length, V.Z / Length};
    return V;
}

double VectorAngle(const TMVector& A, const TMVector& B) {
    // Rounding can push the dot product of two unit vectors just past +-1, where arccos has no value.
    const double Dot = VectorDot(VectorNormalise(A), VectorNormalise(B));
    return std::acos(std::clamp(Dot, -1.0, 1.0));
}

bool VectorsEqualWithin(const TMVector& A, const TMVector& B, double Tol) {
    return std::fabs(A.X - B.X) < Tol && std::fabs(A.Y - B.Y) < Tol && std::fabs(A.Z - B.Z) < Tol;
}

bool VectorsEqual(const TMVector& A, const TMVector& B) { return VectorsEqualWithin(A, B, DefaultTolerance); }

bool VectorsEqualStrict(const TMVector& A, const TMVector& B) { return VectorsEqualWithin(A, B, StrictTolerance); }

TMVector VectorPerpendicularPart(const TMVector& U, const TMVector& V) {
    return VectorFromTo(VectorScale(U, VectorDot(U, V)), V);
}

TMVector NearestAxis(const TMVector& V) {
    const double A = std::fabs(V.X), B = std::fabs(V.Y), C = std::fabs(V.Z);
    if (A >= B && A >= C) return XAxisVector;
    if (B >= C) return YAxisVector;
    return ZAxisVector;
}

void PlaneAxes(const TMVector& N, TMVector& U, TMVector& V) {
    U = XAxisVector;
    V = YAxisVector;
    const double A = std::fabs(N.X), B = std::fabs(N.Y), C = std::fabs(N.Z);
    TMVector U0;
    if (A >= B && A >= C)
        U0 = YAxisVector;
    else if ((B >= A && B >= C) || (C >= A && C >= B))
        U0 = XAxisVector;
    else
        return;  // a NaN component: no comparison holds
    V = VectorNormalise(VectorCross(U0, N));
    U = VectorNormalise(VectorCross(N, V));
}

double TriangleArea(const TMVector& A, const TMVector& B, const TMVector& C) {
    return VectorLength(VectorCross(VectorFromTo(A, B), VectorFromTo(A, C))) / 2;
}

// ---- Planes and lines ----

TMPlane PlaneFromDirection(TPlaneDirection Code, double Distance) {
    switch (Code & 0x7F) {
        case 0:
        case 5: return {ZAxisVector, Distance};
        case 1:
        case 3: return {XAxisVector, Distance};
        case 2:
        case 4: return {YAxisVector, Distance};
        default: throw EError("MPlane: Bad Plane Direction Requested (opXYZ)");
    }
}

TMPlane PlaneFromNormalAndPoint(const TMVector& Normal, const TMVector& Point) {
    const TMVector Unit = VectorNormalise(Normal);
    return {Unit, VectorDot(Unit, Point)};
}

TMPlane PlaneFromPoints(const TMVector& A, const TMVector& B, const TMVector& C) {
    const TMVector Normal = VectorNormalise(VectorCross(VectorFromTo(A, B), VectorFromTo(A, C)));
    return {Normal, VectorDot(Normal, A)};
}

TMPlane PlaneFromTriangle(const TMTriangle& T) { return PlaneFromPoints(T[0], T[1], T[2]); }

TMPlane PlaneFromPointsAndDirection(const TMVector& A, const TMVector& B, const TMVector& D) {
    return PlaneFromPoints(A, VectorAdd(A, D), B);
}

void OrientPlane(TMPlane& Plane) {
    if (Plane.Normal.Z < 0 || (Plane.Normal.Z == 0 && Plane.Normal.Y < 0)) {
        Plane.Normal = VectorNegate(Plane.Normal);
        Plane.Distance = -Plane.Distance;
    }
}

int PlaneSide(const TMPlane& Plane, const TMVector& P, double Tol) {
    const double S = VectorDot(Plane.Normal, P) - Plane.Distance;
    if (std::fabs(S) < Tol) return 0;
    return S > Tol ? 1 : -1;
}

double DistanceFromPointToPlane(const TMPlane& Plane, const TMVector& P) {
    return std::fabs(Plane.Distance - VectorDot(Plane.Normal, P)) / VectorLength(Plane.Normal);
}

TMVector PointOnPlaneClosestToPoint(const TMPlane& Plane, const TMVector& P) {
    const double T = (Plane.Distance - VectorDot(Plane.Normal, P)) / VectorDot(Plane.Normal, Plane.Normal);
    return VectorAdd(P, VectorScale(Plane.Normal, T));
}

TMRect2D MakeRect2D(double MinU, double MinV, double MaxU, double MaxV) { return {MinU, MinV, MaxU, MaxV}; }

std::array<TMVector, 4> PlaneRectangleCorners(const TMPlane& Plane, const TMRect2D& Rect) {
    const TMVector Centre = VectorScale(Plane.Normal, Plane.Distance);
    TMVector U, V;
    PlaneAxes(Plane.Normal, U, V);
    const auto Corner = [&](double CU, double CV) {
        return VectorSum3(Centre, VectorScale(U, CU), VectorScale(V, CV));
    };
    return {Corner(Rect.MinU, Rect.MinV), Corner(Rect.MinU, Rect.MaxV), Corner(Rect.MaxU, Rect.MaxV),
            Corner(Rect.MaxU, Rect.MinV)};
}

TMLine LineFromPointAndDirection(const TMVector& P, const TMVector& D) { return {P, D}; }

TMLine LineFromDirectionAndPoint(const TMVector& D, const TMVector& P) { return {P, D}; }

TMLine LineThroughPoints(const TMVector& A, const TMVector& B) { return {A, VectorNormalise(VectorFromTo(B, A))}; }

TMVector PointOnLine(const TMLine& L, double T) { return VectorAdd(L.Point, VectorScale(L.Direction, T)); }

// ---- 2-D helpers ----

TMPoint2D MakePoint2D(double X, double Y) { return {X, Y}; }

TMLine2D Line2DFromPoints(const TMPoint2D& P1, const TMPoint2D& P2) {
    const double DX = P2.X - P1.X;
    if (DX != 0) {
        const double Slope = (P2.Y - P1.Y) / DX;
        return {Slope, P1.Y - P1.X * Slope, false, 0};
    }
    return {0, 0, true, P2.X};
}

double Line2DY(const TMLine2D& L, double X) { return L.Slope * X + L.Intercept; }

double Line2DX(const TMLine2D& L, double Y) { return (Y - L.Intercept) / L.Slope; }

TMPoint2D GetLinesMeet(const TMLine2D& L1, const TMLine2D& L2) {
    if (L1.Vertical && L2.Vertical) throw EError("GETLINESMEET: Lines are Parallel");
    if (L1.Vertical) return {L1.X, Line2DY(L2, L1.X)};
    if (L2.Vertical) return {L2.X, Line2DY(L1, L2.X)};
    const double D = 1 / (L1.Slope - L2.Slope);
    return {D * (L2.Intercept - L1.Intercept), D * (L1.Slope * L2.Intercept - L2.Slope * L1.Intercept)};
}

void LinesIntersection2D(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                         double Y4, double& X, double& Y) {
    if (X2 != X1) {
        if (X4 == X3) {
            X = X3;
            Y = Y2 + (X3 - X2) / (X1 - X2) * (Y1 - Y2);
        } else {
            const double M1 = (Y2 - Y1) / (X2 - X1);
            const double M2 = (Y4 - Y3) / (X4 - X3);
            const double C1 = Y1 - M1 * X1;
            const double C2 = Y3 - M2 * X3;
            X = (C1 - C2) / (M2 - M1);
            Y = (M2 * C1 - M1 * C2) / (M2 - M1);
        }
    } else if (X4 != X3) {
        X = X1;
        Y = Y3 + (Y4 - Y3) * (X1 - X3) / (X4 - X3);
    }
}

// ---- Matrices ----

TMMatrix MatrixMultiply(const TMMatrix& A, const TMMatrix& B) {
    TMMatrix R;
    for (int I = 0; I < 4; ++I)
        for (int J = 0; J < 4; ++J) R[I][J] = A[I][0] * B[0][J] + A[I][1] * B[1][J] + A[I][2] * B[2][J] + A[I][3] * B[3][J];
    return R;
}

TMMatrix MatrixMultiplyByScalar(const TMMatrix& M, double S) {
    TMMatrix R;
    for (int I = 0; I < 4; ++I)
        for (int J = 0; J < 4; ++J) R[I][J] = M[I][J] * S;
    return R;
}

TMMatrix MatrixAdd(const TMMatrix& A, const TMMatrix& B) {
    TMMatrix R;
    for (int I = 0; I < 4; ++I)
        for (int J = 0; J < 4; ++J) R[I][J] = A[I][J] + B[I][J];
    return R;
}

TMMatrix MatrixSubtract(const TMMatrix& A, const TMMatrix& B) {
    TMMatrix R;
    for (int I = 0; I < 4; ++I)
        for (int J = 0; J < 4; ++J) R[I][J] = A[I][J] - B[I][J];
    return R;
}

TMMatrix MatrixTranspose(const TMMatrix& M) {
    TMMatrix R;
    for (int I = 0; I < 4; ++I)
        for (int J = 0; J < 4; ++J) R[I][J] = M[J][I];
    return R;
}

TMVector MatrixTransformPoint(const TMMatrix& M, const TMVector& P) {
    return {M[0][0] * P.X + M[0][1] * P.Y + M[0][2] * P.Z + M[0][3],
            M[1][0] * P.X + M[1][1] * P.Y + M[1][2] * P.Z + M[1][3],
            M[2][0] * P.X + M[2][1] * P.Y + M[2][2] * P.Z + M[2][3]};
}

TMPlane MatrixTransformPlane(const TMMatrix& M, const TMPlane& Plane) {
    const TMVector Foot = VectorScale(Plane.Normal, Plane.Distance);
    const TMVector Q0 = MatrixTransformPoint(M, Foot);
    const TMVector Q1 = MatrixTransformPoint(M, VectorAdd(Foot, Plane.Normal));
    const TMVector Normal = VectorNormalise(VectorFromTo(Q0, Q1));
    return {Normal, VectorDot(Normal, Q0)};
}

TMMatrix MatrixInverse(const TMMatrix& M) {
    // The elimination of the general matrices: pivots judged against their rows, so a transform that
    // scales by a tiny factor still inverts, and a singular one is not answered with rounding noise.
    std::array<double, 16> A, B;
    for (int R = 0; R < 4; ++R)
        for (int C = 0; C < 4; ++C) A[static_cast<std::size_t>(4 * R + C)] = M[R][C];
    if (!GaussJordanInverse(A, B, 4)) return ZeroMatrix;
    TMMatrix Result;
    for (int R = 0; R < 4; ++R)
        for (int C = 0; C < 4; ++C) Result[R][C] = B[static_cast<std::size_t>(4 * R + C)];
    return Result;
}

TMMatrix MatrixFromAxes(const TMVector& X, const TMVector& Y, const TMVector& Z, const TMVector& O) {
    return {{{X.X, Y.X, Z.X, O.X}, {X.Y, Y.Y, Z.Y, O.Y}, {X.Z, Y.Z, Z.Z, O.Z}, {0, 0, 0, 1}}};
}

TMVector VectorFromMatrixColumn(const TMMatrix& M, int Index) {
    if (Index < 1 || Index > 4) throw EError("VkMaths.VectorFromMatrixColumn - Column Index out of bounds");
    return {M[0][Index - 1], M[1][Index - 1], M[2][Index - 1]};
}

TMMatrix MatrixTranslation(double X, double Y, double Z) {
    return MatrixFromAxes(XAxisVector, YAxisVector, ZAxisVector, {X, Y, Z});
}

TMMatrix MatrixTranslationByVector(const TMVector& V) { return MatrixTranslation(V.X, V.Y, V.Z); }

TMMatrix MatrixScaling(double SX, double SY, double SZ) {
    return MatrixFromAxes({SX, 0, 0}, {0, SY, 0}, {0, 0, SZ}, ZeroVector);
}

TMMatrix MatrixUniformScaling(double S) { return MatrixScaling(S, S, S); }

TMMatrix MatrixFromRotationAngles(double AX, double AY, double AZ) {
    TMMatrix R = IdentityMatrix;
    if (AX != 0) {
        const double C = std::cos(AX), S = std::sin(AX);
        R[1][1] = C;
        R[1][2] = S;
        R[2][1] = -S;
        R[2][2] = C;
    }
    if (AY != 0) {
        const double C = std::cos(AY), S = std::sin(AY);
        TMMatrix RY = IdentityMatrix;
        RY[0][0] = C;
        RY[0][2] = -S;
        RY[2][0] = S;
        RY[2][2] = C;
        R = MatrixMultiply(RY, R);
    }
    if (AZ != 0) {
        const double C = std::cos(AZ), S = std::sin(AZ);
        TMMatrix RZ = IdentityMatrix;
        RZ[0][0] = C;
        RZ[0][1] = S;
        RZ[1][0] = -S;
        RZ[1][1] = C;
        R = MatrixMultiply(RZ, R);
    }
    return R;
}

TMMatrix MatrixRotationAboutAxis(const TMVector& Axis, double Angle) {
    const TMVector A = VectorNormalise(Axis);
    const double X = A.X, Y = A.Y, Z = A.Z;
    const double C = std::cos(Angle), S = std::sin(Angle), T = 1 - C;
    return {{{C + T * X * X, T * X * Y - S * Z, T * X * Z + S * Y, 0},
             {T * Y * X + S * Z, C + T * Y * Y, T * Y * Z - S * X, 0},
             {T * Z * X - S * Y, T * Z * Y + S * X, C + T * Z * Z, 0},
             {0, 0, 0, 1}}};
}

TMMatrix MatrixRotationBetween(const TMVector& A, const TMVector& B) {
    return MatrixRotationAboutAxis(VectorNormalise(VectorCross(B, A)), VectorAngle(A, B));
}

TMMatrix MatrixMirror(TPlaneDirection Code, double Offset) {
    const int Axis = MirrorAxis(Code);
    if (Axis < 0) return IdentityMatrix;
    TMMatrix S = IdentityMatrix;
    S[Axis][Axis] = -1;
    if (Offset == 0) return S;
    TMMatrix Forward = IdentityMatrix, Back = IdentityMatrix;
    Forward[Axis][3] = Offset;
    Back[Axis][3] = -Offset;
    return MatrixMultiply(Forward, MatrixMultiply(S, Back));
}

}  // namespace sarnova
