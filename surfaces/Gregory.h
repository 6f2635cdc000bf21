// The bicubic Gregory patch: a cubic Bezier net whose four inner points are split in two and blended
// by the parameters, so that the cross-boundary derivative of each side can be set on its own. Also
// its exact conversion into a rational degree-7 Bezier net held by a B-spline surface, and the flat
// patch over four corners that the interactive creator starts from.
#pragma once
#include <array>
#include <memory>

#include "foundation/BSpline.h"
#include "surfaces/Surface.h"

namespace sarnova {

class TBSplineSurface;

// Points 0 .. 15 form the 4 x 4 net, point i + 4 j at u index i and v index j. The inner points 5, 6,
// 9 and 10 govern the cross derivative of the sides u = 0 (5, 9) and u = 1 (6, 10); their partners
// 16, 17, 18 and 19 that of the sides v = 0 (16, 17) and v = 1 (18, 19). Parameters run over [0, 1].
class TGregorySurface : public TSurface {
public:
    static constexpr int ControlPointCount = 20;

    TGregorySurface() = default;

    // Point Index (0 .. 19); another index throws EError "List index out of bounds (<Index>)".
    TRPoint& ControlPoint(int Index);
    const TRPoint& ControlPoint(int Index) const;
    // Copies the values of P (TRPoint::Assign) into point Index.
    void SetControlPoint(int Index, const TRPoint& P);
    // Copies every point of Source (coordinates, weight, parameter, tag).
    void Assign(const TGregorySurface& Source);
    // A new surface whose points are this surface's carried through M.
    std::unique_ptr<TGregorySurface> CreateTransformed(const TMMatrix& M) const;

    // Within 1e-5 of a corner, where a blend denominator vanishes, the stored net without blending;
    // elsewhere the net with its four inner points blended. Allocates nothing.
    TMVector Evaluate(double U, double V) const override;
    // Position and the first and second partial derivatives, the blends differentiated exactly.
    TSurfaceDerivatives EvaluateDerivatives(double U, double V) override;
    // The box of all 20 points.
    TMBox GetExtents() const override;
    // The boundary polygon as one strip, then the eight segments joining each inner point to the
    // boundary point of its side.
    void DrawControlNet(IGraphics& G) override;

    // A new cubic curve through copies of one side's points: 0 the points 0, 4, 8, 12; 1 the points
    // 0, 1, 2, 3; 3 the points 12, 13, 14, 15; any other side 3, 7, 11, 15.
    std::unique_ptr<TBSpline> BoundaryCurve(int Side) const;

    // Replaces Target by an 8 x 8 forced-Bezier net holding the patch exactly as a rational surface:
    // each point carries its weight in W. Target point (i, j) holds the Gregory net point with u index
    // j and v index i. The corner weights vanish in the exact form; they are stored as 1e-10 and the
    // eight points next to the corners moved 1e-10 of the way along their sides, so that the net is
    // still usable by evaluators that divide by the weight.
    void ConvertToBSpline(TBSplineSurface& Target) const;

    // Twenty lines "%13.6f %13.6f %13.6f", the points in index order.
    void SaveToText(TTextWriter& F) const;
    // Reads twenty lines of three numbers (the rest of each line skipped) into x, y and z of the
    // points. A short or malformed block throws the reader's EInOutError and changes no point.
    void LoadFromText(TTextReader& F);

private:
    std::array<TRPoint, ControlPointCount> FPoints{};
};

// A new copy of Source.
std::unique_ptr<TGregorySurface> CloneGregorySurface(const TGregorySurface& Source);

// A flat patch with straight sides A to B (v = 0), B to C (u = 1), C to D (v = 1) and D to A (u = 0);
// side points at the thirds, inner points a quarter and three quarters between opposite side points.
std::unique_ptr<TGregorySurface> GregorySurfaceFromCorners(const TMVector& A, const TMVector& B, const TMVector& C,
                                                           const TMVector& D);

}  // namespace sarnova
