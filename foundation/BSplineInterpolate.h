// B-spline curves through given points: a collocation of any order, and the three cubic schemes with
// chosen end conditions behind the interpolating curves, with the text forms of their settings.
#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "foundation/BSpline.h"

namespace sarnova {

// The cubic schemes: C1 Hermite-like segments, one global C2 curve, C2 Bezier segments.
enum TSplineContinuity : std::uint8_t { scFirstOrder = 0, scSecondOrder = 1, scSecondOrderPiecewise = 2 };

enum TEndConditionKind : std::uint8_t { ecClamped = 0, ecNatural = 1, ecBessel = 2 };

// How a cubic interpolation ends; Tangent is used only by ecClamped.
struct TEndCondition {
    TEndConditionKind Kind = ecNatural;
    TMVector Tangent;
    bool operator==(const TEndCondition&) const = default;
};

// The default of every interpolating curve.
inline constexpr TEndCondition NaturalEndCondition{ecNatural, {0, 0, 0}};

// A curve of the given order through every point of Polyline at chord-length parameters, with as
// many control points as points and Open knots. Throws EGeometryError when the points cannot be
// interpolated at that order (fewer points than the order, coincident points).
std::unique_ptr<TBSpline> InterpolateBSpline(int Order, const TPolyline& Polyline);

// A cubic curve through the points by the chosen scheme (any value other than scFirstOrder and
// scSecondOrder selects scSecondOrderPiecewise). With AccountForChordLength the schemes weigh
// tangents or knots by the distances between the points. Callers remove duplicate points first.
// Throws EGeometryError for fewer than 3 points (2 for scSecondOrder, which makes a line of them).
std::unique_ptr<TBSpline> InterpolateCubicBSpline(const TPolyline& Polyline, TSplineContinuity Continuity,
                                                  const TEndCondition& StartCondition,
                                                  const TEndCondition& EndCondition,
                                                  bool AccountForChordLength);
// The global C2 cubic through Points: point i at parameter i, or at knots spaced by chord length
// with ChordLengthKnots; two points give a straight line of order 2. Throws as
// InterpolateCubicBSpline for fewer than two points or coincident neighbours.
std::unique_ptr<TBSpline> InterpolatingCubicBSpline(std::span<const TMVector> Points,
                                                    const TEndCondition& StartCondition,
                                                    const TEndCondition& EndCondition, bool ChordLengthKnots);

// "Natural", "Bessel" or "Clamped [x, y, z]"; numbers in the general format with ".".
std::string EndConditionText(const TEndCondition& C);
// "NATURAL" or "BESSEL" anywhere in the text (any letter case), else a clamped condition with the
// three comma-separated numbers between "[" and "]". A field that is not a number raises
// EConvertError.
TEndCondition EndConditionFromText(std::string_view S);
// "FirstOrder", "SecondOrderPiecewise", and "SecondOrder" for any other value.
std::string ContinuityText(TSplineContinuity V);
// scFirstOrder or scSecondOrderPiecewise when the text names them (any letter case), else
// scSecondOrder.
TSplineContinuity ContinuityFromText(std::string_view S);

}  // namespace sarnova
