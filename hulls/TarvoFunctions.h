// Edits and analyses of the section curves of the parametric hull, and the construction of its
// generated control curves. Section curves run from the keel (point 0) to the deck edge (the last
// point); x runs forward, y is the half-breadth, z is up. Routines that change a curve's control
// points invalidate it.
#pragma once
#include <memory>

#include "foundation/VkMaths.h"

namespace sarnova {

class TPolyline;
class TRPoints;
class TTarvoCurve;
class TWeightBlend;

double Clamp01(double X);
// X when positive, else 0.
double PositivePart(double X);

void ShiftCurveX(TTarvoCurve& Curve, double D);
void ScaleCurveX(TTarvoCurve& Curve, double S);
// A change of the full breadth from Old to New about the point Index (-1: the start of the turn of
// the bilge): the points below it are scaled in y, the others move out by half the change. A curve
// flat in y (within 2e-4) is left alone.
void ChangeCurveBeam(TTarvoCurve& Curve, int Index, double Old, double New);
// A change of depth from Old to New about the point Index (-1: the end of the turn of the bilge):
// the points above it are scaled in z about it.
void ChangeCurveDepth(TTarvoCurve& Curve, int Index, double Old, double New);
// Moves the end of the parallel middle body (the curve's smallest x, or largest for Aft) by
// New - Old, the points towards keel and deck following in proportion; the end points stay.
void MoveParallelBodyFore(TTarvoCurve& Curve, double Old, double New);
void MoveParallelBodyAft(TTarvoCurve& Curve, double Old, double New);
// Moves the points above the smallest (largest for Aft) x by New - Old in proportion to their
// height above it.
void MoveParallelDeckFore(TTarvoCurve& Curve, double Old, double New);
void MoveParallelDeckAft(TTarvoCurve& Curve, double Old, double New);

// The index of the point where the turn of the bilge starts; the last index when the section has no
// distinct bilge.
int BilgeStartIndex(const TRPoints& Points);
// The index of the point where the turn of the bilge ends; 0 when the section has no distinct bilge.
int BilgeEndIndex(const TRPoints& Points);
// The plane of the flat of bottom, through the longest straight run of the section below its first
// segment steeper than 45 degrees; the zero plane when there is none.
TMPlane FlatBottomPlane(const TRPoints& Points);
// The plane of the flat of side, through the longest straight run from the first steep segment up;
// the zero normal with distance -1 when there is none.
TMPlane FlatSidePlane(const TRPoints& Points);
// P lies within 1e-4 of the plane.
bool PointOnPlane(const TMVector& P, const TMPlane& Plane);
// The mean distance between corresponding control points. Throws EGeometryError when the curves
// have different numbers of points.
double AverageDistanceBetweenPoints(const TTarvoCurve& A, const TTarvoCurve& B);

// The girth profile of the points offset in the x-girth plane: a new polyline of points with x in X
// and the girth in W, from girth 0 to the total girth, without loops. The girth is measured across
// Direction; the points' own W (from point 1 on) receive their girth.
std::unique_ptr<TPolyline> OffsetProfile(TRPoints& Points, const TMVector& Direction, double DeckOffset,
                                         double KeelOffset);
// Fills Control with a copy of Boundary moved towards EndCurve by half of Percent of the distance
// at the deck edge (a quarter at the keel), measured along the girth; Control becomes a tangent
// curve. Throws EGeometryError when the offset profile misses a point's girth.
void BuildFlatTangentCurve(const TMVector& Direction, TTarvoCurve& Boundary, const TTarvoCurve& EndCurve,
                           TTarvoCurve& Control, double Percent);
// Shapes Blend for the volume curve between the sections P and Q: its ends by P's flats of bottom
// and side as found on Q, its fullness by Fraction. R0 and R1 receive the range of Q's points over
// which the girth runs.
void SetupVolumeBlend(const TTarvoCurve& P, const TTarvoCurve& Q, TWeightBlend& Blend, double Fraction, int& R0,
                      int& R1);
// Fills Control with the section between P and Q weighted along the girth by the volume blend.
// Throws EGeometryError when the curves have different numbers of points.
void BuildVolumeCurve(const TTarvoCurve& P, const TTarvoCurve& Q, TTarvoCurve& Control, double Fraction);

}  // namespace sarnova
