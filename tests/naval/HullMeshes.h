// Facet meshes of simple hulls whose hydrostatics are known in closed form, for the hydrostatics
// tests and benchmarks.
#pragma once
#include <initializer_list>
#include <memory>
#include <vector>

#include "foundation/Polygon.h"
#include "surfaces/BSurface.h"

namespace sarnova {

// A facet through the corners (3 or 4), turned so that its normal points along Outward.
inline std::unique_ptr<TPolygon> FacetFacing(std::vector<TMVector> C, const TMVector& Outward) {
    auto F = C.size() == 4 ? QuadFromVectors(C[0], C[1], C[2], C[3]) : TriangleFromVectors(C[0], C[1], C[2]);
    if (VectorDot(PolygonNormal(*F), Outward) < 0) FlipPolygon(*F);
    return F;
}

// The faces of the box X0..X1, Y0..Y1, Z0..Z1 with outward normals: bottom, the two sides (a side at
// y = 0 is left out when OpenAtCentre), the two ends, and the lid when Lid.
inline std::unique_ptr<TPolygonList> BoxMesh(double X0, double X1, double Y0, double Y1, double Z0, double Z1,
                                             bool Lid = false, bool OpenAtCentre = false) {
    auto M = std::make_unique<TPolygonList>();
    auto Face = [&](std::vector<TMVector> C, TMVector Out) { M->Add(FacetFacing(std::move(C), Out)); };
    Face({{X0, Y0, Z0}, {X1, Y0, Z0}, {X1, Y1, Z0}, {X0, Y1, Z0}}, {0, 0, -1});
    if (Lid) Face({{X0, Y0, Z1}, {X1, Y0, Z1}, {X1, Y1, Z1}, {X0, Y1, Z1}}, {0, 0, 1});
    if (!(OpenAtCentre && Y0 == 0)) Face({{X0, Y0, Z0}, {X1, Y0, Z0}, {X1, Y0, Z1}, {X0, Y0, Z1}}, {0, -1, 0});
    Face({{X0, Y1, Z0}, {X1, Y1, Z0}, {X1, Y1, Z1}, {X0, Y1, Z1}}, {0, 1, 0});
    Face({{X0, Y0, Z0}, {X0, Y1, Z0}, {X0, Y1, Z1}, {X0, Y0, Z1}}, {-1, 0, 0});
    Face({{X1, Y0, Z0}, {X1, Y1, Z0}, {X1, Y1, Z1}, {X1, Y0, Z1}}, {1, 0, 0});
    return M;
}

// The Wigley hull y = +-(B/2)(1 - (2x/L)^2)(1 - ((z - T)/T)^2) for x in -L/2..L/2 and z in 0..T:
// both sides, closed at the keel (z = 0) and the ends, open along the waterplane z = T, outward normals.
// 4 NX NZ triangles. Its volume is 4LBT/9, its centre of buoyancy 5T/8 above the keel and its
// transverse metacentric radius 3B^2/(35T).
inline std::unique_ptr<TPolygonList> WigleyHull(double L, double B, double T, int NX, int NZ) {
    auto M = std::make_unique<TPolygonList>();
    auto P = [&](int I, int J, double Side) {
        const double X = -L / 2 + L * I / NX, Z = T * J / NZ;
        const double U = 2 * X / L, W = (Z - T) / T;
        return TMVector{X, Side * B / 2 * (1 - U * U) * (1 - W * W), Z};
    };
    for (double Side : {1.0, -1.0})
        for (int I = 0; I < NX; ++I)
            for (int J = 0; J < NZ; ++J) {
                // Down the z row first, then along x, gives the normal +y on the starboard side.
                TMVector A = P(I, J, Side), B1 = P(I, J + 1, Side), C = P(I + 1, J + 1, Side), D = P(I + 1, J, Side);
                if (Side < 0) std::swap(B1, D);
                M->Add(TriangleFromVectors(A, B1, C));
                M->Add(TriangleFromVectors(A, C, D));
            }
    return M;
}

// The Wigley hull as a bicubic B-spline surface (starboard half), x along u and z along v.
inline std::unique_ptr<TBSplineSurface> WigleySurface(double L, double B, double T) {
    auto S = std::make_unique<TBSplineSurface>(7, 4);
    for (int I = 0; I < 7; ++I)
        for (int J = 0; J < 4; ++J) {
            const double X = -L / 2 + L * I / 6, Z = T * J / 3;
            const double U = 2 * X / L, W = (Z - T) / T;
            TRPoint& P = S->Point(I, J);
            P.X = X;
            P.Y = B / 2 * (1 - U * U) * (1 - W * W);
            P.Z = Z;
        }
    S->UpdateKnots();
    return S;
}

}  // namespace sarnova
