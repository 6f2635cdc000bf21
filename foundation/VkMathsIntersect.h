// Where lines, planes and triangles meet, closest points of lines and segments, the cut of a triangle
// by a plane (the step under every mesh slice and waterline), the frames of circles and arcs, and one
// ellipse construction used for tangent estimates.
// Same conventions as the value types: VectorCross(A, B) is B x A, planes carry unit normals.
#pragma once
#include "foundation/VkMaths.h"

namespace sarnova {

// Two points: the result of a cut (laid out like a TMLine, but End is a point, not a direction).
struct TMSegment {
    TMVector Start;
    TMVector End;
    bool operator==(const TMSegment&) const = default;
};

// Closest approach of two lines or segments.
struct TMClosestApproach {
    TMLine LineA;
    TMLine LineB;
    double TA = 0;  // parameter of PA on LineA
    double TB = 0;  // parameter of PB on LineB
    TMVector PA;
    TMVector PB;
    TMLine Join;     // joins PA and PB; each routine says which way it points
    double Det = 0;  // a c - b^2 of the two directions; near zero for parallel lines
};

// A point at angle A is Centre + Radius (cos A XAxis + sin A YAxis).
struct TMCircle {
    TMVector Centre;
    TMVector XAxis;
    TMVector YAxis;
    TMVector Normal;
    double Radius = 0;
};

// An arc runs from StartAngle (always 0 here, so it starts on XAxis) by Sweep towards YAxis.
struct TMArc {
    TMVector Centre;
    TMVector XAxis;
    TMVector YAxis;
    TMVector Normal;
    double Radius = 0;
    double StartAngle = 0;
    double Sweep = 0;
};

// What PlaneCutsTriangle found. Callers treat ptcCrossing and ptcSegment alike.
enum TPlaneTriangleCut : int {
    ptcNone = 0,      // no contact; the cut is zeroed
    ptcTouch = 1,     // one point of contact; Start = End
    ptcCrossing = 2,  // the plane crosses the triangle (general planes)
    ptcSegment = 3,   // a segment from an axis-plane cut, or an edge lying in a general plane
    ptcInPlane = 4,   // the whole triangle lies in the plane; the cut is zeroed
};

// ---- Lines and planes ----

// Where L meets the plane; T receives the line parameter of that point. A result that misses the
// plane by more than 1e-9 is moved onto it once along the line. Throws EError when L is within 1e-9
// of parallel to the plane.
TMVector IntersectionOfLineAndPlane(const TMLine& L, const TMPlane& Plane, double& T);
TMVector IntersectionPointOfLineAndPlane(const TMLine& L, const TMPlane& Plane);
// Where the line through A and B meets the plane; throws EError when it is within 1e-9 of parallel.
TMVector IntersectionOfPointsAndPlane(const TMVector& A, const TMVector& B, const TMPlane& Plane);
// The common line: unit direction along N2 x N1 and the point nearest the origin. Parallel planes give
// a zero direction (and a zero point): callers test the direction's length.
TMLine IntersectionOfTwoPlanes(const TMPlane& P1, const TMPlane& P2);
// Throws EError when two or three of the planes are parallel.
TMVector IntersectionOfThreePlanes(const TMPlane& P1, const TMPlane& P2, const TMPlane& P3);
// The infinite line (not the ray from L.Point) passes through the triangle, edges included.
bool LineIntersectsTriangle(const TMLine& L, const TMVector& V0, const TMVector& V1, const TMVector& V2);

// ---- Closest points ----

// Foot of the perpendicular from P; throws EError when L.Direction has zero length.
TMVector PointOnLineClosestToPoint(const TMLine& L, const TMVector& P);
// Throws EError when L.Direction has zero length.
double DistanceFromPointToLine(const TMVector& P, const TMLine& L);
// The point of L1 nearest to L2; throws EError for parallel lines.
TMVector PointOnLineClosestToLine(const TMLine& L1, const TMLine& L2);
// The point of L nearest to the segment S.
TMVector PointOnLineClosestToSegment(const TMLine& L, const TMSegment& S);
// Join runs from PA along the unit direction from PB towards PA. For parallel lines only Det (and the
// copies of the lines) mean anything.
TMClosestApproach ClosestApproachOfLines(const TMLine& L1, const TMLine& L2);
// Each segment is Point + t Direction, t in [0, 1]. Join is (PA, PB - PA), not normalised.
TMClosestApproach ClosestApproachOfSegments(const TMLine& S1, const TMLine& S2);
// Midway between the closest points of two lines; throws EError for parallel lines.
TMVector PointBetweenTwoLines(const TMLine& L1, const TMLine& L2);

// ---- Triangles ----

// Not all three points strictly on one side (a point exactly on the plane counts as below it).
bool TriangleStraddlesPlane(const TMPlane& Plane, const TMVector& V0, const TMVector& V1, const TMVector& V2);
bool TriangleArrayStraddlesPlane(const TMPlane& Plane, const TMTriangle& T);
// Cuts the triangle by the plane and returns a TPlaneTriangleCut code. Planes normal to an axis are
// cut by exact comparison of one coordinate; other planes by a side test within 1e-10.
int PlaneCutsTriangle(const TMPlane& Plane, const TMVector& V0, const TMVector& V1, const TMVector& V2,
                      TMSegment& Cut);
int PlaneCutsTriangleArray(const TMPlane& Plane, const TMTriangle& T, TMSegment& Cut);
// The segment two triangles share; false (and a zeroed Cut) when they do not cross.
bool IntersectionOfTriangles(const TMTriangle& T1, const TMTriangle& T2, TMSegment& Cut);

// ---- Circles and arcs ----

// The normal is normalised (a zero one becomes Z); the axes follow from its largest component. For
// normal Z the axes are -X and -Y.
TMCircle MakeCircle(const TMVector& Centre, const TMVector& Normal, double Radius);
// Radius the mean of the distances to P1 and P2; normal along (P2 - Centre) x (P1 - Centre).
TMCircle CircleFromCentreAndPoints(const TMVector& P1, const TMVector& P2, const TMVector& Centre);
// The arc from A through B to C, Sweep in [0, 2 pi]. Collinear points give Radius 0, and then the
// other fields carry no meaning.
TMArc ArcThroughPoints(const TMVector& A, const TMVector& B, const TMVector& C);
// The shorter arc from S to E about C.
TMArc ArcFromEndsAndCentre(const TMVector& S, const TMVector& E, const TMVector& C);
// The arc from S to E about C that runs positively about the reference normal Ref.
TMArc ArcFromEndsCentreAndNormal(const TMVector& S, const TMVector& E, const TMVector& C, const TMVector& Ref);
// XAxis is (cos Start, sin Start, 0) in the XY plane whatever the normal; Normal is kept as given.
TMArc ArcFromAngles(const TMVector& Centre, const TMVector& Normal, double Radius, double Start, double End);

// ---- Ellipse ----

// The point of the ellipse about the origin, in the plane of A and B, that lies in the direction
// perpendicular to D: one semi-axis runs along A (along B when B reaches further along A's direction
// than A itself) and the ellipse passes through the tip of the other vector. Throws EError
// ("Solve3DLinearEquation") when A and B are parallel; an ellipse that cannot pass through the other
// tip gives non-finite values.
TMVector EllipticVector(const TMVector& A, const TMVector& B, const TMVector& D);

}  // namespace sarnova
