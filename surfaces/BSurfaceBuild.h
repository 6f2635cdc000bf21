// Surfaces and meshes built from curves or points: extrusion along a curve's plane normal, sweeping a
// profile along a path, ruled surfaces between two curves and bilinear four-corner patches. Every
// routine returns a new object that the caller owns and leaves its inputs as they were, except where
// a routine says otherwise.
#pragma once
#include <cstdint>
#include <memory>

#include "foundation/BSpline.h"
#include "surfaces/BSurface.h"

namespace sarnova {

// Sweep flags.
enum : std::uint8_t {
    eoRotateWithPath = 1,  // the profile turns with the path's tangent
    eoOrientWithPath = 2,  // the profile's plane is first turned to face along the path's start
    eoCentreWithPath = 4,  // the centre of the profile's box, not the path's start, rides on the path
    eoScaleShape = 8,      // mitre: the profile is widened at path corners
};

// A path's local frame at one of its points.
struct TPathFrame {
    TMVector Position;
    // The unit bisector of the incoming and outgoing directions; zero where the path turns back.
    TMVector Tangent;
    // The turn between the incoming and outgoing directions, radians.
    double Angle = 0;
    TMVector Axis;
};

// The curve's own points (a B-spline's control points) moved along the unit normal of the curve's
// fitted plane: NumU is the point count, row i of Steps + 1 (Steps <= 0 counts as 1) lies at offset
// From + i / Steps (To - From).
std::unique_ptr<TMesh> ExtrudePolyline(const TPolyline& Curve, int Steps, double From, double To);
// That mesh of the control points as a B-spline surface: the curve's order, knot type and knots in u
// with its parameter range as the u limits; order min(Steps + 1, 4) and clamped uniform knots in v.
std::unique_ptr<TBSplineSurface> ExtrudeBSpline(const TBSpline& Curve, int Steps, double From, double To);

// The frame at point Index of the path (the list's index error outside it). Coincident neighbours
// (1e-4) are passed over; at the first and last point the missing direction is zero.
TPathFrame PathFrame(const TPolyline& Path, int Index);
// The digitised profile placed at every path point: point (j, i) is profile sample j carried to path
// point i, as the eo flags say. Without flags each row is the profile moved by (path point i - path
// point 0).
std::unique_ptr<TMesh> SweepProfile(TPolyline& Profile, const TPolyline& Path, std::uint8_t Flags);
// The swept mesh as a B-spline surface with the profile's order in u and the path's in v. Both
// curves get UpdateKnots. Both Open (or both Periodic) gives that knot type; otherwise the v knots
// are the path's and the u knots, since the u rows are the profile's samples, clamped uniform ones;
// Custom when either curve is, with the path's range in v and the whole u range.
std::unique_ptr<TBSplineSurface> SweepBSpline(TBSpline& Profile, TBSpline& Path, std::uint8_t Flags);

// A mesh of Count rows from polyline A (row 0) to B (row Count - 1): the polyline with fewer points
// is resampled to the other's count, keeping its knuckles (turns above KnuckleAngle radians) where
// the count allows, and B is reversed when it runs against A. Throws EGeometryError for Count < 2.
std::unique_ptr<TMesh> RuledMesh(const TPolyline& A, const TPolyline& B, int Count, double KnuckleAngle);
// The exact ruled B-spline surface between two curves: copies of both are oriented alike, normalised
// to [0, 1], raised to one order and given one knot vector; row v = 0 holds A's control points, row
// v = 1 B's, order 2 and knots 0 0 1 1 in v. Throws EGeometryError naming the curve (first or second)
// that has fewer than two control points, and "BSurface.RuledSurface - Merging of Knot Vectors failed"
// when the copies still differ in point count or order.
std::unique_ptr<TBSplineSurface> RuledSurface(const TBSpline& A, const TBSpline& B);
// Raises the curve to Order when its order is lower; otherwise nothing.
void RaiseSplineOrderTo(TBSpline& Curve, int Order);
// Inserts into Curve the knots of Other (u[1], u[2], ...) that it lacks, walking both vectors in
// order (exact comparison), in one refinement.
void MergeKnotVectors(TBSpline& Curve, const TKnotArray& Other);

// A 2 x 2 mesh with point (0, 0) at P00, (1, 0) at P10, (1, 1) at P11 and (0, 1) at P01.
std::unique_ptr<TMesh> CornerPointMesh(const TMVector& P00, const TMVector& P10, const TMVector& P11,
                                       const TMVector& P01);
// The same corners as a bilinear B-spline surface (orders 2 and 2, Open knots).
std::unique_ptr<TBSplineSurface> CornerPointBSplineSurface(const TMVector& P00, const TMVector& P10,
                                                           const TMVector& P11, const TMVector& P01);

}  // namespace sarnova
