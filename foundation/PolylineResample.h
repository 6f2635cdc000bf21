// Re-spacing polylines and matching sections: knuckle marks (corners that must survive any
// re-spacing), resampling by equal arc length, by spacing or to a count with the knuckles kept,
// thinning, re-spacing a section separately below and above a waterline, point links between two
// sections through their matched knuckles, and the section interpolated between two others.
//
// Knuckle marks live in the points' Tag: 1 for a knuckle or an end point, -1 for a smooth point. A
// polyline is knuckle-marked when every point carries 1 or -1. The resampling routines replace the
// points in place, leaving the polyline's flags off and colours 0 like a new polyline; their points
// are new (W 1.0, T 0, Tag 0), so callers mark knuckles again where they need them.
#pragma once
#include <memory>

#include "foundation/Geom.h"
#include "foundation/Polyline.h"

namespace sarnova {

// Removes repeated points, tags every point -1, the ends 1, and each interior point 1 where the
// polyline turns by more than Angle (radians). The turn is folded: a turn of more than a right angle
// counts as its supplement, so a section that doubles back is not marked there, and an Angle of 90
// degrees or more marks no interior point.
void MarkKnuckles(TPolyline& Polyline, double Angle);
// The number of points tagged 1; 0 when the polyline is not knuckle-marked.
int CountKnuckles(const TPolyline& Polyline);
// Copies of the interior knuckles (not the ends), each copy's Tag set to its index in Polyline;
// empty below three points.
std::unique_ptr<TPolyline> KnucklePoints(const TPolyline& Polyline);
// Copies of points From .. To; empty when To < From. Indices outside the polyline throw its index
// error.
std::unique_ptr<TPolyline> SubPolyline(const TPolyline& Polyline, int From, int To);

// A copy when the polyline has N points or more, or fewer than 2; otherwise each segment divided into
// K = N div (Count - 1) equal parts, at most 15.
std::unique_ptr<TPolyline> DensifyPolyline(int N, const TPolyline& Polyline);
// Removes interior points one at a time, the one nearest to the line through its two neighbours
// first (the first of equals), until at most N points remain; never below two. Leaves each remaining
// interior point's W at its last squared distance. A point whose neighbours coincide is measured from
// that point.
void ReducePointsToCount(int N, TRPoints& Points);

// The following throw EGeometryError "<routine> - fewer than 2 points" for a polyline with fewer than
// two points, and leave a polyline of zero length as it is.

// N points (at least 2) at equal arc-length steps from the first point to the last. A step that falls
// on an interior vertex gives that vertex once.
void ResampleEqualArcLength(int N, TPolyline& Polyline);
// About N points keeping the knuckles of a knuckle-marked polyline: each knuckle-to-knuckle piece is
// resampled by equal arc length, at the spacing Length / (N - 1), with at least 2 points. A last point
// that is not marked counts as a knuckle. Any other polyline gets ResampleEqualArcLength(N).
void ResampleKeepingKnuckles(int N, TPolyline& Polyline);
// ResampleKeepingKnuckles with N = Length / Spacing + 1 (truncated, at least 2): a straight polyline
// of length 10 at spacing 1 gets 11 points. Throws EGeometryError
// "ResampleBySpacing - spacing must be greater than 0" for a spacing that is not.
void ResampleBySpacing(TPolyline& Polyline, double Spacing);
// Marks knuckles at Angle and re-spaces each knuckle-to-knuckle piece at Spacing; the result is
// knuckle-marked again. Throws as ResampleBySpacing.
void ResampleAtKnuckles(TPolyline& Polyline, double Spacing, double Angle);
// Re-spaces a section to NTotal points, NBelow of them below the waterline z = Height where it has
// more. Above the waterline the points keep the spacing below unless FixedTotal is set or that gives
// fewer than NTotal points. A section the waterline does not cross (or only touches) is re-spaced
// whole at 0.2 when it has more than NTotal points.
void ResampleSection(int NTotal, int NBelow, bool FixedTotal, double Height, double Angle,
                     TPolyline& Polyline);

// Links every point of the polyline with more points (A on equal counts) to the nearest point of the
// other, then links the other's unreached points in order. First always indexes A.
std::unique_ptr<TLinksList> MatchPoints(const TPolyline& A, const TPolyline& B);
// Point links from start to end of sections A and B: where both are knuckle-marked with interior
// knuckles, knuckles that match (the nearest knuckle lies within 1.2 times the distance to the other
// section) are linked first and the pieces between them matched with MatchPoints. First indexes A.
std::unique_ptr<TLinksList> LinkSections(const TPolyline& A, const TPolyline& B);
// The section at station X between sections A and B, point for point along LinkSections. Throws
// EGeometryError "XPOLYLINE: X is not between Polylines" when X does not lie between their stations
// (bounds included). Linked points at the same x give the point of A moved to X.
std::unique_ptr<TPolyline> InterpolateSection(const TPolyline& A, const TPolyline& B, double X);

}  // namespace sarnova
