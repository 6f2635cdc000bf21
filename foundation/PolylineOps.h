// Free routines that compute with polylines: nearest points to a point or a pixel, collinear runs,
// crossings of two curves in a principal plane and of a curve with a plane. The editing operations
// that act on one polyline are members of TPolyline (declared in Polyline.h, built in
// PolylineOps.cpp).
#pragma once
#include <memory>

#include "foundation/Polyline.h"

namespace sarnova {

// The point of Polyline nearest to Pixel on G's screen. X, Y, Z, W and T come from the nearest
// segment's 3-D ends interpolated at the foot of the pixel, Tag from its first end. Below two points
// a default point (the origin, W 1.0).
std::unique_ptr<TRPoint> PolylineNearestScreenPoint(const TPoint& Pixel, const TPolyline& Polyline,
                                                    IGraphics& G);
// The point of Polyline nearest to V: W interpolated between the segment's ends, Tag the first
// end's, T the arc length from the start. A single point gives a copy of it (T 0); an empty polyline
// a default point.
std::unique_ptr<TRPoint> PolylineNearestPoint(const TMVector& V, const TPolyline& Polyline);
// Index of the point nearest to P, the first of equals; 0 for an empty polyline.
int PolylineNearestPointIndex(const TRPoint& P, const TPolyline& Polyline);
// Every point strictly between I and J lies within 1e-4 of the line through points I and J (of
// point I when I and J coincide). False when J - I < 2. Indices outside the list throw its index
// error.
bool PolylinePointsCollinear(int I, int J, const TPolyline& Polyline);

// Crossings of the two curves seen in a principal plane: PlaneCode 0 x-y, 1 y-z, 2 x-z (any other
// code is read as x-y). Coordinates are cut to 3 decimals and repeated points removed. Never null;
// the result may be empty.
std::unique_ptr<TPolyline> CurveCurveIntersections(TPolyline& C1, TPolyline& C2, int PlaneCode);
// The points where Curve crosses Plane (a point exactly on the plane counts as below it); nullptr
// when there are none. On a plain TPolyline each point's T is the arc length at the crossing; a
// smooth curve's crossings are found by root-finding on the curve and carry its parameter; where its
// digitised points carry no parameter span (a B-spline of fewer points than its order, drawn as its
// control polygon) the digitised segment is cut. Throws the root finder's error when a digitised
// crossing does not bracket the plane on the curve.
std::unique_ptr<TPolyline> CurvePlaneIntersections(const TMPlane& Plane, TPolyline& Curve);
std::unique_ptr<TPolyline> PolylinePlaneIntersections(TPolyline& Curve, const TMPlane& Plane);

// The signed distance of a curve from a plane as a function of the curve parameter, for finding
// where the curve meets the plane.
class TCurvePlaneIntersection {
public:
    TMPlane Plane;
    // Not owned; must outlive this object.
    TCurve* Curve;

    TCurvePlaneIntersection(TCurve& ACurve, const TMPlane& APlane) : Plane(APlane), Curve(&ACurve) {}

    // Normal . PointAt(T) - Distance; NaN where the curve has no point.
    double Distance(double T);
    // A parameter between T1 and T2 where the curve meets the plane (Brent, to 1e-4 in T). Throws
    // "VkMaths.FindValueBrent - Value is outside of Bracket" when the curve's distances at T1 and T2
    // have the same sign.
    double FindRoot(double T1, double T2);
};

}  // namespace sarnova
