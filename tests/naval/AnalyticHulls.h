// Hulls whose hydrostatics are known analytically, as closed facet meshes (whole, or the half on
// either side of the centre plane), as lists of half sections from keel to deck and, for the Wigley
// hull, as exact B-spline surfaces (tests/naval/data/wigley-bspline-*.geo). The shapes, L long, B
// wide, keel at z = 0, x from -L/2 to L/2:
//   wigley  y = B/2 (1 - xi^2)(1 - (1 - z/T)^2), vertical topsides above T, deck at 1.5 T
//   asym    y = B/2 h(xi) (1 - (1 - z/T)^m(xi)), h = (1 - xi^2)(1 + xi/2)/max, m = 2 + 0.8 xi
//   box     a box barge 1.5 T deep
//   cyl     a circular cylinder of radius B/2 on its side, flat ends
//   sph     an ellipsoid with semi-axes L/2, B/2, B/2
// with xi = 2x/L.
#pragma once
#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "naval/HullMeshes.h"

namespace sarnova::test {

enum class THullShape { Wigley, Asym, Box, Cylinder, Spheroid };
enum class THullSide { Whole, Starboard, Port };

struct TAnalyticHull {
    THullShape Shape;
    double L, B, T;

    double Depth() const {
        return Shape == THullShape::Cylinder || Shape == THullShape::Spheroid ? B : 1.5 * T;
    }
    bool Revolved() const { return Shape == THullShape::Cylinder || Shape == THullShape::Spheroid; }

    // Half-breadth of the lines hulls at (x, z).
    double HalfBreadth(double X, double Z) const {
        const double Xi = std::clamp(2 * X / L, -1.0, 1.0), Zt = std::min(std::max(Z, 0.0), T) / T;
        if (Shape == THullShape::Wigley) return B / 2 * (1 - Xi * Xi) * (1 - (1 - Zt) * (1 - Zt));
        // The greatest (1 - xi^2)(1 + xi/2), at xi = (-2 + sqrt(7)) / 3.
        const double Xm = (std::sqrt(7.0) - 2) / 3, HMax = (1 - Xm * Xm) * (1 + Xm / 2);
        const double H = (1 - Xi * Xi) * (1 + Xi / 2) / HMax, M = 2 + 0.8 * Xi;
        return B / 2 * H * (1 - std::pow(1 - Zt, M));
    }

    // Radii about the axis (x, 0, B/2) of a revolved hull at x.
    double Radius(double X) const {
        if (Shape == THullShape::Cylinder) return B / 2;
        const double Xi = std::clamp(2 * X / L, -1.0, 1.0);
        return B / 2 * std::sqrt(std::max(0.0, 1 - Xi * Xi));
    }
};

namespace detail {

inline void AddFacing(TPolygonList& M, const TMVector& A, const TMVector& B, const TMVector& C, const TMVector& Out) {
    const TMVector N = VectorCross(VectorFromTo(A, C), VectorFromTo(A, B));
    // Facets without area (where the hull's lines meet) only disturb the edge count.
    if (VectorLength(N) < 1e-12) return;
    M.Add(FacetFacing({A, B, C}, Out));
}

inline bool KeepSide(double Sign, THullSide Side) {
    return Side == THullSide::Whole || (Side == THullSide::Starboard) == (Sign > 0);
}

}  // namespace detail

// The closed mesh of the hull, or its half on one side without centre-plane facets. NX stations
// along the length, NZ steps up (or round) the sections.
inline std::unique_ptr<TPolygonList> AnalyticHullMesh(const TAnalyticHull& H, THullSide Side, int NX, int NZ) {
    const double D = H.Depth();
    const double YLow = Side == THullSide::Whole ? -H.B / 2 : 0, YHigh = H.B / 2;
    if (H.Shape == THullShape::Box) {
        auto M = BoxMesh(-H.L / 2, H.L / 2, YLow, YHigh, 0, D, true, Side != THullSide::Whole);
        if (Side == THullSide::Port) {
            M = M->Transformed(MirrorXZMatrix);
            M->FlipNormals();
        }
        return M;
    }
    auto M = std::make_unique<TPolygonList>();
    if (H.Revolved()) {
        // Rings round the axis; the spheroid's stations crowd towards its ends.
        const double Zc = H.B / 2;
        const int NT = NZ;
        auto X = [&](int I) {
            return H.Shape == THullShape::Cylinder
                       ? -H.L / 2 + H.L * I / NX
                       : -H.L / 2 * std::cos(std::numbers::pi * I / NX);
        };
        auto P = [&](int I, int J) {
            const double Th = 2 * std::numbers::pi * J / NT, R = H.Radius(X(I));
            return TMVector{X(I), R * std::cos(Th), Zc + R * std::sin(Th)};
        };
        for (int I = 0; I < NX; ++I)
            for (int J = 0; J < NT; ++J) {
                const double Mid = 2 * std::numbers::pi * (J + 0.5) / NT;
                if (!detail::KeepSide(std::cos(Mid), Side)) continue;
                const TMVector A = P(I, J), B = P(I + 1, J), C = P(I + 1, J + 1), E = P(I, J + 1);
                const TMVector Out{0, std::cos(Mid), std::sin(Mid)};
                detail::AddFacing(*M, A, B, C, Out);
                detail::AddFacing(*M, A, C, E, Out);
            }
        if (H.Shape == THullShape::Cylinder)
            for (int End : {0, NX})
                for (int J = 0; J < NT; ++J) {
                    const double Mid = 2 * std::numbers::pi * (J + 0.5) / NT;
                    if (!detail::KeepSide(std::cos(Mid), Side)) continue;
                    detail::AddFacing(*M, {X(End), 0, Zc}, P(End, J), P(End, J + 1), {End == 0 ? -1.0 : 1.0, 0, 0});
                }
        return M;
    }
    // Lines hulls: each side a grid over x and z, and a deck.
    auto P = [&](int I, int J, double Sign) {
        const double X = -H.L / 2 + H.L * I / NX, Z = D * J / NZ;
        return TMVector{X, Sign * H.HalfBreadth(X, Z), Z};
    };
    for (double Sign : {1.0, -1.0}) {
        if (!detail::KeepSide(Sign, Side)) continue;
        for (int I = 0; I < NX; ++I)
            for (int J = 0; J < NZ; ++J) {
                const TMVector A = P(I, J, Sign), B = P(I + 1, J, Sign), C = P(I + 1, J + 1, Sign), E = P(I, J + 1, Sign);
                detail::AddFacing(*M, A, B, C, {0, Sign, 0});
                detail::AddFacing(*M, A, C, E, {0, Sign, 0});
            }
    }
    for (int I = 0; I < NX; ++I) {
        const double Lo = Side == THullSide::Whole ? -1 : 0;
        const double S = Side == THullSide::Port ? -1 : 1;
        const TMVector A = P(I, NZ, S), B = P(I + 1, NZ, S);
        const TMVector C{B.X, Lo * B.Y, D}, E{A.X, Lo * A.Y, D};
        detail::AddFacing(*M, A, B, C, {0, 0, 1});
        detail::AddFacing(*M, A, C, E, {0, 0, 1});
    }
    return M;
}

// Half sections from the keel (y = 0) up to the deck at Stations stations, N points each, the end
// stations of a fine-ended hull 1e-3 inside its ends (the spheroid's crowding towards its round ends,
// as a lines plan spaces them); a list whose least y is 0, so the hydrostatics complete it by its
// mirror image.
inline std::unique_ptr<TPolylineList> AnalyticHullSections(const TAnalyticHull& H, int Stations, int N) {
    auto List = std::make_unique<TPolylineList>();
    const bool FlatEnds = H.Shape == THullShape::Box || H.Shape == THullShape::Cylinder;
    for (int I = 0; I < Stations; ++I) {
        double X = H.Shape == THullShape::Spheroid ? -H.L / 2 * std::cos(std::numbers::pi * I / (Stations - 1))
                                                    : -H.L / 2 + H.L * I / (Stations - 1);
        if (!FlatEnds && I == 0) X += 1e-3;
        if (!FlatEnds && I == Stations - 1) X -= 1e-3;
        auto S = std::make_unique<TPolyline>();
        if (H.Shape == THullShape::Box) {
            S->AddPoint(X, 0, 0);
            S->AddPoint(X, H.B / 2, 0);
            S->AddPoint(X, H.B / 2, H.Depth());
            S->AddPoint(X, 0, H.Depth());
        } else if (H.Revolved()) {
            const double R = H.Radius(X), Zc = H.B / 2;
            for (int K = 0; K <= N; ++K) {
                const double Th = -std::numbers::pi / 2 + std::numbers::pi * K / N;
                S->AddPoint(X, K == 0 || K == N ? 0 : R * std::cos(Th), Zc + R * std::sin(Th));
            }
        } else {
            for (int K = 0; K <= N; ++K) {
                const double Z = H.Depth() * K / N;
                S->AddPoint(X, H.HalfBreadth(X, Z), Z);
            }
        }
        List->Add(std::move(S));
    }
    return List;
}

}  // namespace sarnova::test
