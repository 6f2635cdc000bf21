// Boxes and plane routines.
#include "foundation/GeomBox.h"

#include <algorithm>
#include <cmath>

#include "foundation/Errors.h"
#include "foundation/Geom.h"
#include "foundation/VkMathsIntersect.h"
#include "foundation/VkMathsSolvers.h"

namespace sarnova {

namespace {

bool BoxIsEmpty(const TMBox& B) { return B.Max.X < B.Min.X || B.Max.Y < B.Min.Y || B.Max.Z < B.Min.Z; }

std::array<TMVector, 8> BoxCorners(const TMBox& B) {
    std::array<TMVector, 8> C;
    for (int I = 0; I < 8; ++I)
        C[I] = {(I & 1) ? B.Max.X : B.Min.X, (I & 2) ? B.Max.Y : B.Min.Y, (I & 4) ? B.Max.Z : B.Min.Z};
    return C;
}

// Centroid G of the points, and the eigenvalues D and eigenvectors (columns of V) of the scatter
// matrix of their deviations from G.
void PrincipalFrame(const TRPoints& Points, TMVector& G, std::array<double, 4>& D, TMMatrix& V) {
    const int N = Points.Count();
    G = ZeroVector;
    for (int I = 0; I < N; ++I) G = VectorAdd(G, Points.Point(I)->Vector());
    G = VectorScale(G, 1.0 / N);
    TMMatrix S = ZeroMatrix;
    for (int I = 0; I < N; ++I) {
        const TMVector Dev = VectorFromTo(G, Points.Point(I)->Vector());
        const double C[3] = {Dev.X, Dev.Y, Dev.Z};
        for (int R = 0; R < 3; ++R)
            for (int K = 0; K < 3; ++K) S[R][K] += C[R] * C[K];
    }
    int NRot = 0;
    Jacobi(S, 3, D, V, NRot);
}

TMVector MatrixColumn(const TMMatrix& M, int Column) { return {M[0][Column], M[1][Column], M[2][Column]}; }

// Solves the normal equations of F = a + b U + c V. The inverse of the normal matrix is taken as
// before, but a singular or numerically singular system is refused instead of silently giving the
// zero solution.
std::array<double, 3> FitLinear(const TRPoints& Points, int FAxis, int UAxis, int VAxis) {
    TMMatrix N = ZeroMatrix;  // the 3x3 system inside a 4x4 identity
    N[3][3] = 1;
    double R[3] = {0, 0, 0};
    for (int I = 0; I < Points.Count(); ++I) {
        const TRPoint& P = *Points.Point(I);
        const double Row[3] = {1, PointCoordinate(P, static_cast<std::uint8_t>(UAxis)),
                               PointCoordinate(P, static_cast<std::uint8_t>(VAxis))};
        const double F = PointCoordinate(P, static_cast<std::uint8_t>(FAxis));
        for (int R0 = 0; R0 < 3; ++R0) {
            for (int C0 = 0; C0 < 3; ++C0) N[R0][C0] += Row[R0] * Row[C0];
            R[R0] += Row[R0] * F;
        }
    }
    // The normal matrix is symmetric positive semi-definite, so its determinant is at most the
    // product of its diagonal; their ratio does not depend on the scale of the coordinates.
    const double Det = N[0][0] * (N[1][1] * N[2][2] - N[1][2] * N[2][1]) -
                       N[0][1] * (N[1][0] * N[2][2] - N[1][2] * N[2][0]) +
                       N[0][2] * (N[1][0] * N[2][1] - N[1][1] * N[2][0]);
    const double DiagonalProduct = N[0][0] * N[1][1] * N[2][2];
    const TMMatrix Inv = MatrixInverse(N);
    if (!(DiagonalProduct > 0) || !(Det > 1e-12 * DiagonalProduct) || Inv == ZeroMatrix)
        throw EGeometryError("Geom.FitPlaneToPoints - The points do not determine a plane");
    std::array<double, 3> Coef{};
    for (int R0 = 0; R0 < 3; ++R0) Coef[R0] = Inv[R0][0] * R[0] + Inv[R0][1] * R[1] + Inv[R0][2] * R[2];
    return Coef;
}

}  // namespace

// ---- TRPoint and boxes ----

void TRPoint::AddToBox(TMBox& B) const { ExtendBoxXYZ(B, X, Y, Z); }

bool TRPoint::InsideBox(const TMBox& B) const { return VectorInBox(Vector(), B); }

TMBox InitEmptyBox(TMBox& B) {
    B = EmptyBox;
    return B;
}

TMBox MakeBox(double MinX, double MinY, double MinZ, double MaxX, double MaxY, double MaxZ) {
    return {{MaxX, MaxY, MaxZ}, {MinX, MinY, MinZ}};
}

void ExtendBoxByVector(const TMVector& V, TMBox& B) { ExtendBoxXYZ(B, V.X, V.Y, V.Z); }

TMBox UniteBoxes(const TMBox& A, const TMBox& B) {
    return {{std::max(A.Max.X, B.Max.X), std::max(A.Max.Y, B.Max.Y), std::max(A.Max.Z, B.Max.Z)},
            {std::min(A.Min.X, B.Min.X), std::min(A.Min.Y, B.Min.Y), std::min(A.Min.Z, B.Min.Z)}};
}

bool IntersectBoxes(const TMBox& A, const TMBox& B, TMBox& R) {
    const bool Meet = A.Max.X >= B.Min.X && A.Max.Y >= B.Min.Y && A.Max.Z >= B.Min.Z &&
                      B.Max.X >= A.Min.X && B.Max.Y >= A.Min.Y && B.Max.Z >= A.Min.Z;
    if (!Meet) {
        InitEmptyBox(R);
        return false;
    }
    R = {{std::min(A.Max.X, B.Max.X), std::min(A.Max.Y, B.Max.Y), std::min(A.Max.Z, B.Max.Z)},
         {std::max(A.Min.X, B.Min.X), std::max(A.Min.Y, B.Min.Y), std::max(A.Min.Z, B.Min.Z)}};
    return true;
}

bool VectorInBox(const TMVector& V, const TMBox& B) {
    return B.Min.X <= V.X && V.X <= B.Max.X && B.Min.Y <= V.Y && V.Y <= B.Max.Y && B.Min.Z <= V.Z &&
           V.Z <= B.Max.Z;
}

double BoxMaxSize(const TMBox& B) {
    return std::max({B.Max.X - B.Min.X, B.Max.Y - B.Min.Y, B.Max.Z - B.Min.Z});
}

TMVector BoxCentre(const TMBox& B) { return VectorMidpoint(B.Max, B.Min); }

void ScaleBox(TMBox& B, double F) {
    const TMVector C = BoxCentre(B);
    const TMVector Half = VectorScale(VectorFromTo(B.Min, B.Max), F / 2);
    B.Max = VectorAdd(C, Half);
    B.Min = VectorFromTo(Half, C);
}

void TransformBox(TMBox& B, const TMMatrix& M) {
    // Carrying only the two stored corners fails under a rotation (Max can end below Min and the
    // box no longer holds the object), so every corner is carried and boxed again.
    if (BoxIsEmpty(B)) return;
    TMBox R = EmptyBox;
    for (const TMVector& C : BoxCorners(B)) ExtendBoxByVector(MatrixTransformPoint(M, C), R);
    B = R;
}

TMBox CopyBoxSymmetricY(const TMBox& B) {
    TMBox R = B;
    if (std::fabs(B.Max.Y) > std::fabs(B.Min.Y))
        R.Min.Y = -B.Max.Y;
    else if (std::fabs(B.Max.Y) < std::fabs(B.Min.Y))
        R.Max.Y = -B.Min.Y;
    return R;
}

bool BoxHasArea(const TMBox& B) {
    const int Extended = (B.Max.X - B.Min.X > 1e-30) + (B.Max.Y - B.Min.Y > 1e-30) + (B.Max.Z - B.Min.Z > 1e-30);
    return Extended >= 2;
}

TMRect2D MakeRealRect(double A, double B, double C, double D) { return {A, B, C, D}; }

// ---- Planes ----

bool PlaneCutsBox(const TMPlane& Plane, const TMBox& B) {
    const auto Corners = BoxCorners(B);
    const int First = PlaneSide(Plane, Corners[0], 0);
    for (const TMVector& C : Corners)
        if (PlaneSide(Plane, C, 0) != First) return true;
    return false;
}

void ProjectPointsOntoPlane(TRPoints& Points, const TMPlane& Plane, std::uint8_t Direction) {
    const TMVector D = Direction == 0   ? XAxisVector
                       : Direction == 1 ? YAxisVector
                       : Direction == 2 ? ZAxisVector
                                        : Plane.Normal;
    if (std::fabs(VectorDot(D, Plane.Normal)) < 1e-30)
        throw EGeometryError("Geom.ProjectPointsOntoPlane - Projection is Parallel to Plane");
    for (int I = 0; I < Points.Count(); ++I) {
        TRPoint& P = *Points.Point(I);
        P.SetVector(IntersectionPointOfLineAndPlane(LineFromPointAndDirection(P.Vector(), D), Plane));
    }
}

TMRect2D PlaneExtents(const TMPlane& Plane, const TMBox& B) {
    TMRect2D R{1e33, 1e33, -1e33, -1e33};
    const TMVector C = VectorScale(Plane.Normal, Plane.Distance);
    TMVector U, V;
    PlaneAxes(Plane.Normal, U, V);
    const TMLine LU = LineFromPointAndDirection(C, U);
    const TMLine LV = LineFromPointAndDirection(C, V);
    const auto LineT = [](const TMLine& L, const TMVector& K) {
        if (!(VectorLength(L.Direction) > 0))
            throw EGeometryError("Geom.PlaneExtents.LineT - Line has zero magnitude direction vector");
        return (VectorDot(K, L.Direction) - VectorDot(L.Point, L.Direction)) / VectorDot(L.Direction, L.Direction);
    };
    for (const TMVector& K : BoxCorners(B)) {
        const double TU = LineT(LU, K);
        const double TV = LineT(LV, K);
        R.MinU = std::min(R.MinU, TU);
        R.MaxU = std::max(R.MaxU, TU);
        R.MinV = std::min(R.MinV, TV);
        R.MaxV = std::max(R.MaxV, TV);
    }
    return R;
}

std::array<TMVector, 4> PlaneBoxRectangle(const TMPlane& Plane, const TMBox& B) {
    return PlaneRectangleCorners(Plane, PlaneExtents(Plane, B));
}

void FitPlaneToPoints(const TRPoints& Points, std::uint8_t Mode, TMPlane& Plane) {
    if (Mode > 3) return;
    if (Points.Count() <= 0) throw EGeometryError("Geom.FitPlaneToPoints - no points");
    if (Mode == 3) {
        TMVector G;
        std::array<double, 4> D{};
        TMMatrix V;
        PrincipalFrame(Points, G, D, V);
        for (int I = 0; I < 3; ++I) {
            if (D[I] < D[(I + 1) % 3] && D[I] < D[(I + 2) % 3]) {
                Plane.Normal = MatrixColumn(V, I);
                Plane.Distance = VectorDot(Plane.Normal, G);
                return;
            }
        }
        return;  // the smallest spread is shared: no single plane
    }
    // Mode 0 fits x over (y, z), Mode 1 y over (x, z), Mode 2 z over (x, y).
    static constexpr int Axes[3][3] = {{0, 1, 2}, {1, 0, 2}, {2, 0, 1}};
    const auto& A = Axes[Mode];
    const auto [CoefA, CoefB, CoefC] = FitLinear(Points, A[0], A[1], A[2]);
    const double L = std::sqrt(1 + CoefB * CoefB + CoefC * CoefC);
    double N[3];
    N[A[0]] = 1 / L;
    N[A[1]] = -CoefB / L;
    N[A[2]] = -CoefC / L;
    Plane.Normal = {N[0], N[1], N[2]};
    Plane.Distance = CoefA / L;
}

TMOrientedBox PrincipalAxes(const TRPoints& Points) {
    if (Points.Count() <= 0) throw EGeometryError("Geom.PrincipalAxes - no points");
    TMVector G;
    std::array<double, 4> D{};
    TMMatrix V;
    PrincipalFrame(Points, G, D, V);
    // Decreasing spread; of equal ones the lower-numbered eigenvector first.
    std::array<int, 3> Order{0, 1, 2};
    std::stable_sort(Order.begin(), Order.end(), [&D](int I, int J) { return D[I] > D[J]; });
    TMOrientedBox R;
    R.Axis1 = MatrixColumn(V, Order[0]);
    R.Axis2 = MatrixColumn(V, Order[1]);
    R.Axis3 = MatrixColumn(V, Order[2]);
    TMBox Local = EmptyBox;
    for (int I = 0; I < Points.Count(); ++I) {
        const TMVector P = VectorFromTo(G, Points.Point(I)->Vector());
        ExtendBoxXYZ(Local, VectorDot(R.Axis1, P), VectorDot(R.Axis2, P), VectorDot(R.Axis3, P));
    }
    R.Size1 = Local.Max.X - Local.Min.X;
    R.Size2 = Local.Max.Y - Local.Min.Y;
    R.Size3 = Local.Max.Z - Local.Min.Z;
    R.Centre = MatrixTransformPoint(MatrixFromAxes(R.Axis1, R.Axis2, R.Axis3, G), BoxCentre(Local));
    return R;
}

}  // namespace sarnova
