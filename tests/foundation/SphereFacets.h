// A UV sphere as a list of outward-facing triangles, for the smoothing tests, the renderer tests and
// the smoothing benchmark: Segments around the z axis, Rings from pole to pole, so
// Segments x (2 Rings - 2) facets (the poles are fans).
#pragma once
#include <cmath>
#include <memory>
#include <numbers>

#include "foundation/GeomFacet.h"
#include "foundation/Polygon.h"

inline std::unique_ptr<sarnova::TPolygonList> SphereFacets(int Segments, int Rings, double Radius,
                                                           const sarnova::TMVector& Centre = {}) {
    using sarnova::TMVector;
    auto At = [&](int I, int J) {
        const double Theta = std::numbers::pi * I / Rings;
        const double Phi = 2 * std::numbers::pi * (J % Segments) / Segments;
        return TMVector{Centre.X + Radius * std::sin(Theta) * std::cos(Phi),
                        Centre.Y + Radius * std::sin(Theta) * std::sin(Phi), Centre.Z + Radius * std::cos(Theta)};
    };
    auto List = std::make_unique<sarnova::TPolygonList>();
    for (int I = 0; I < Rings; ++I)
        for (int J = 0; J < Segments; ++J) {
            // South then east turns counter-clockwise seen from outside.
            if (I < Rings - 1) List->Add(sarnova::TriangleFromVectors(At(I, J), At(I + 1, J), At(I + 1, J + 1)));
            if (I > 0) List->Add(sarnova::TriangleFromVectors(At(I, J), At(I + 1, J + 1), At(I, J + 1)));
        }
    return List;
}
