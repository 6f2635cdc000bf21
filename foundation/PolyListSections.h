// Operations on whole sets of polylines, mostly transverse sections of a hull (polylines in planes
// x = constant, ordered along x): interpolating and re-spacing stations, re-spacing every section
// around the waterline of a floating position, tidying imported sections, cutting lists by a height,
// a level or a plane, splitting a polyline where another crosses it, plane crossings of a list, and
// knuckle lines through the matching corners of consecutive sections. Every list or polyline
// returned is new and belongs to the caller; nullptr means there is nothing.
#pragma once
#include <memory>

#include "foundation/PolyList.h"

namespace sarnova {

// The section at X from the first consecutive pair whose first points' x enclose X (bounds
// included); nullptr when no pair does. The pair is chosen by the first points but checked by the
// stations (the last points), so a section whose ends differ in x can raise
// "XPOLYLINE: X is not between Polylines".
std::unique_ptr<TPolyline> InterpolateSectionAt(const TPolylineList& List, double X);
// In place: when N differs from the count, N sections at stations evenly spaced from the first
// section's station to the last's (N = 1: the first station); stations without a result are left
// out. An empty list stays empty; N below 1 throws EGeometryError
// "RespaceSections - the number of sections must be at least 1".
void RespaceSections(int N, TPolylineList& List);
// In place: sections at the multiples of Spacing from the list's least to its greatest x (the
// multipliers truncated towards zero); stations without a result are left out. Throws
// EGeometryError "RespaceSectionsBySpacing - spacing must be greater than 0".
void RespaceSectionsBySpacing(TPolylineList& List, double Spacing);

// The parts of every polyline below (Side -1) or above (+1) z = H; nullptr when none remains.
std::unique_ptr<TPolylineList> ClipListAtHeight(const TPolylineList& List, int Side, bool Reclose, double H);
// As ClipListAtHeight at y = Level for Axis 2, at z = Level for any other Axis.
std::unique_ptr<TPolylineList> ClipListAtLevel(const TPolylineList& List, int Side, int Axis, double Level,
                                               bool Reclose);
// The pieces of the polyline above (Side +1) or below (-1) the plane (a point on the plane counts as
// below), with the crossing points inserted. With KeepClosed a closed polyline stays one piece
// joined along the plane. The pieces are welded: all into one where ends chain (WeldAll), else where
// ends meet within 1e-4.
std::unique_ptr<TPolylineList> SplitPolylineByPlane(const TPolyline& Polyline, int Side, const TMPlane& Plane,
                                                    bool KeepClosed, bool WeldAll);
// SplitPolylineByPlane of every polyline, all pieces in one list; nullptr when none.
std::unique_ptr<TPolylineList> ClipPolylinesByPlane(const TPolylineList& List, int Side, const TMPlane& Plane,
                                                    bool KeepClosed, bool WeldAll);
// Whether segments AB and CD cross when projected onto the plane; F is then the fraction along AB,
// else -1. Parallel segments do not cross.
bool SegmentsCrossInPlane(const TMVector& A, const TMVector& B, const TMVector& C, const TMVector& D,
                          const TMPlane& Plane, double& F);
// The pieces of Polyline between the places where Cutter crosses it, seen projected onto Plane;
// repeated points are removed and pieces without length dropped.
std::unique_ptr<TPolylineList> SplitPolylineByPolyline(const TPolyline& Polyline, const TPolyline& Cutter,
                                                       const TMPlane& Plane);
// The points where the polylines cross the plane, in list order; nullptr when there are none.
std::unique_ptr<TPolyline> PlaneIntersectionsOfList(const TMPlane& Plane, TPolylineList& List);
// In place: every polyline whose first point is higher than its last is reversed.
void OrientPolylinesUpward(TPolylineList& List);
// In place: every point with exactly the x, y and z of an earlier point is removed (not only
// neighbours: a closing point equal to the first goes too).
void RemoveRepeatedPoints(TRPoints& Points);
// In place: polylines at the same station (within 1e-4) are joined into the first of them, then
// each is cut to 3 decimals, cleared of repeated and collinear points and oriented as a section.
void TidySections(TPolylineList& List);
// In place: every section re-spaced around the waterline of the floating position at Draught and
// Trim (radians), NTotal points each with NBelow below the waterline (ResampleSection). Angle
// (radians) marks the knuckles kept; 2 pi keeps none. The sections come back as plain polylines.
void ResampleSections(TPolylineList& List, int NBelow, int NTotal, double Draught, double Trim, double Angle,
                      bool FixedTotal);
// The full section from one half: the half mirrored in y joined with the half at their nearest ends.
std::unique_ptr<TPolyline> MirrorAndJoin(const TPolyline& Polyline);
// Marks the section's knuckles at 25 degrees (tidying and tagging it in place) and returns copies of
// the knuckles, ends included.
std::unique_ptr<TPolyline> SectionKnuckles(TPolyline& Polyline);
// Two-point polylines joining the matching knuckles of two sections (both marked in place). Of links
// that share a knuckle, only the one whose knuckles lie nearest each other is kept.
std::unique_ptr<TPolylineList> KnuckleLinks(TPolyline& A, TPolyline& B);
// The first and the last section (each joined with its mirror image when Mirror), then the
// longitudinal lines through matching knuckles of all sections (with their mirror images first when
// Mirror); each group stands in reverse order. The sections are knuckle-marked in place. A list of
// fewer than two sections throws the list's index error.
std::unique_ptr<TPolylineList> KnuckleLines(TPolylineList& List, bool Mirror);

}  // namespace sarnova
