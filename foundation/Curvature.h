// Curvature combs of curves: teeth drawn outwards from the curve with a length proportional to its
// bending, built from a polyline's vertex turns or from a smooth curve's derivatives. Also the unit
// normal from the differences of a point's four neighbours (surfaces/MeshGridDirections for a mesh).
#pragma once
#include <memory>
#include <vector>

#include "foundation/VkMaths.h"

namespace sarnova {

class IGraphics;
class TPolyline;
class TRPoint;

// One tooth of a comb. Normal is the zero vector where the direction is undefined.
struct TPointDerivative {
    TMVector Point;
    TMVector Normal;
    TMVector Tip;
    double Curvature = 0;
};

// The comb of one curve: its samples in curve order. Each build clears the previous comb first.
class TCurveAnalysis {
public:
    TCurveAnalysis() = default;
    TCurveAnalysis(const TCurveAnalysis&) = delete;
    TCurveAnalysis& operator=(const TCurveAnalysis&) = delete;
    virtual ~TCurveAnalysis();

    int Count() const { return static_cast<int>(FItems.size()); }
    // Throws EError "List index out of bounds (Index)" outside 0 .. Count - 1.
    TPointDerivative& Items(int Index);
    const TPointDerivative& Items(int Index) const;
    // Appends Sample; the analysis takes ownership.
    void Add(std::unique_ptr<TPointDerivative> Sample);
    void Clear();
    // Clear, then a copy of each of Other's samples in order.
    virtual void Assign(const TCurveAnalysis& Other);

    // The largest of the box's three side lengths.
    static double LargestExtent(const TMBox& Box);

    // The polyline method for an exact TPolyline, the smooth method for every subclass.
    void Analyse(TPolyline& Curve);
    // Turn per vertex (dimensionless), teeth scaled by 6 x the largest extent; points equal to their
    // predecessor are dropped first and the end points get no tooth. Below three points the comb is
    // empty.
    void AnalysePolyline(TPolyline& Polyline);
    // Curvature |d1 x d2| / |d1|^3 (0 where |d1| <= 1e-9) at each display parameter, teeth scaled by
    // the largest extent and pointing away from the centre of curvature. A curve without points
    // gives an empty comb.
    void AnalyseCurve(TPolyline& Curve);

    // One line from each sample's point to its tip, in the view's current line colour.
    void Draw(IGraphics& View) const;

private:
    std::vector<std::unique_ptr<TPointDerivative>> FItems;
};

// unit(unit(B - A) - unit(C - B)): the outer side of the bend at B; zero for three points in line.
TMVector ThreePointNormal(const TMVector& A, const TMVector& B, const TMVector& C);
// sqrt(4 - |unit(B - A) + unit(C - B)|^2) = 2 sin(theta / 2) for the turning angle theta at B:
// 0 straight on, 2 for a full reversal. Rounding below zero under the root counts as 0.
double ThreePointTurn(const TMVector& A, const TMVector& B, const TMVector& C);

// unit(To - From); the zero vector where the points coincide.
TMVector UnitDifference(const TRPoint& From, const TRPoint& To);
// unit(unit(Right - Left) x unit(Up - Down)), x the right-handed cross product.
TMVector NormalFromCrossDifferences(const TRPoint& Left, const TRPoint& Right, const TRPoint& Up,
                                    const TRPoint& Down);

}  // namespace sarnova
