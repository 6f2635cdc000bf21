// Refinement of B-spline surfaces that builds new surfaces: degree raising in one direction. Knot
// insertion, refinement, subdivision and knuckles are members of TBSplineSurface (BSurface.h).
#pragma once
#include <memory>

#include "surfaces/BSurface.h"

namespace sarnova {

// A new surface of order NewOrder in u describing the same surface (every distinct u knot gains
// NewOrder - OrderU copies), NonUniform; S's net is not changed (its knots are brought up to date).
// Throws EGeometryError "BSplineSurfaceRaiseDegreeU - Order must be greater than existing BSpline
// Surface (U Order)" unless NewOrder exceeds OrderU, or naming the knot limit when the result would
// not fit.
std::unique_ptr<TBSplineSurface> BSplineSurfaceRaiseDegreeU(TBSplineSurface& S, int NewOrder);
// The same in v ("BSplineSurfaceRaiseDegreeV - Order must be greater than existing BSpline Surface
// (V Order)").
std::unique_ptr<TBSplineSurface> BSplineSurfaceRaiseDegreeV(TBSplineSurface& S, int NewOrder);

}  // namespace sarnova
