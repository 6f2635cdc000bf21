// The Wigley hull y = B/2 (1 - (2x/L)^2) (1 - (z/T)^2), -L/2 <= x <= L/2, -T <= z <= 0, closed by a
// flat deck at z = 0, as triangles: Columns cells along x and Rows cells down each side, split along
// one diagonal, so 4 Columns Rows side facets and 2 Columns deck facets. Its volume is 4/9 L B T, and
// its stations have the area (2/3) B T (1 - (2x/L)^2). Shared by the section tests and benchmarks.
#pragma once
#include <memory>

#include "foundation/GeomFacet.h"
#include "foundation/Polygon.h"

struct TWigley {
    double L = 100;
    double B = 10;
    double T = 6.25;

    double Volume() const { return 4.0 / 9.0 * L * B * T; }
    double StationArea(double X) const {
        const double Xi = 2 * X / L;
        return 2.0 / 3.0 * B * T * (1 - Xi * Xi);
    }
    double HalfBreadth(double X, double Z) const {
        const double Xi = 2 * X / L, Zeta = Z / T;
        return B / 2 * (1 - Xi * Xi) * (1 - Zeta * Zeta);
    }

    std::unique_ptr<sarnova::TPolygonList> Facets(int Columns, int Rows) const {
        using sarnova::TMVector;
        auto List = std::make_unique<sarnova::TPolygonList>();
        auto X = [&](int I) { return -L / 2 + L * I / Columns; };
        auto Z = [&](int J) { return -T + T * J / Rows; };
        for (int I = 0; I < Columns; ++I) {
            for (int J = 0; J < Rows; ++J)
                for (double Side : {1.0, -1.0}) {
                    auto P = [&](int A, int C) { return TMVector{X(A), Side * HalfBreadth(X(A), Z(C)), Z(C)}; };
                    List->Add(sarnova::TriangleFromVectors(P(I, J), P(I + 1, J), P(I + 1, J + 1)));
                    List->Add(sarnova::TriangleFromVectors(P(I, J), P(I + 1, J + 1), P(I, J + 1)));
                }
            auto D = [&](int A, double Side) { return TMVector{X(A), Side * HalfBreadth(X(A), 0), 0}; };
            List->Add(sarnova::TriangleFromVectors(D(I, -1), D(I + 1, -1), D(I + 1, 1)));
            List->Add(sarnova::TriangleFromVectors(D(I, -1), D(I + 1, 1), D(I, 1)));
        }
        return List;
    }
};
