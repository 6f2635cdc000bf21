// Operations that change a B-spline's knot vector or build new curves from it: knot insertion and
// refinement, splitting, sub-curves, degree raising, compatible pairs, sums, products, derivatives,
// subdivision, joins, the nearest point and knuckles. The operations themselves are members of
// TBSpline (BSpline.h); this header adds the free routine on knot arrays.
#pragma once
#include "foundation/BSpline.h"

namespace sarnova {

// Inserts V into Knots, whose used front part is sorted ascending: before the first value larger or
// equal, moving the rest up one place (the last value is lost), or over the first value after the
// sorted part when V exceeds all of it. Nothing changes when V fits nowhere (a full, sorted array
// of smaller values) or is not a number.
void InsertSortedKnotValue(TKnotArray& Knots, double V);

}  // namespace sarnova
