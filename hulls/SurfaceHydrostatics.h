// The hydrostatics of a generated half hull measured on its own surface, faceted finely enough that
// the displacement of a lofted hull is within about 0.01 % of the surface's.
#pragma once
#include <memory>

#include "foundation/Polygon.h"
#include "naval/VkHydro.h"

namespace sarnova {

class TBSplineSurface;

// Facets per control-point span, in each direction, of the meshes the generators measure.
constexpr int HydrostaticsDensity = 8;

// The surface faceted at HydrostaticsDensity.
std::unique_ptr<TPolygonList> FineFacets(TBSplineSurface& S);
// The underwater body of a half hull below z = Draught, both sides; every field 0 when the surface
// has nothing below it.
THydrostaticsData SurfaceHydrostatics(TBSplineSurface& S, double Draught);

}  // namespace sarnova
