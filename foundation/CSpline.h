// The natural cubic spline through its points, on uniform parameters (point i at parameter i), with
// zero second derivatives at both ends; evaluated from per-axis tables of cubic coefficients.
#pragma once
#include <memory>

#include "foundation/Curve.h"
#include "foundation/VkMatrix.h"

namespace sarnova {

class TCSpline : public TGeneratedCurve {
public:
    TCSpline();
    ~TCSpline() override;

    // The transformed points only.
    std::unique_ptr<TCSpline> Transformed(const TMMatrix& M) const;

    // Count - 1 and 0.
    double MaxT() const override;
    double MinT() const override;
    // The cubic of segment S (from point S - 1 to point S, S = trunc(T) + 1) at the fraction of T:
    // parameters up to one before the first point and up to (but not including) one past the last
    // point are answered, the end of the last segment beyond the last point; nullptr further out.
    // Without tables of the present points (before a solve, or below 4 or above 200 points) the
    // plain polyline through the points is evaluated instead. W is 1 and T the argument.
    std::unique_ptr<TRPoint> PointAt(double T) override;
    // Position and derivatives on the segment PointAt selects; zero vectors where it has none.
    TCurveDerivatives Derivatives(double T) override;
    // With 4 to 200 points: the tables are solved and the curve sampled at SegmentCount + 1 evenly
    // spaced parameters (each point's W and T are its parameter). Otherwise the generated polyline
    // is a copy of the points and the tables are dropped.
    void Generate() override;
    // The tables of the present points: row S holds a, b, c, d of segment S for that axis, the
    // coordinate being a + b u + c u^2 + d u^3 for u from 0 to 1. Below 2 points there are none.
    void SolveCoefficients();

    // nullptr until solved.
    const TVkMatrix* XCoefficients() const { return FXCoefficients.get(); }
    const TVkMatrix* YCoefficients() const { return FYCoefficients.get(); }
    const TVkMatrix* ZCoefficients() const { return FZCoefficients.get(); }

private:
    void DropCoefficients();
    // The segment (1-based) and its local parameter for T; false when T has none.
    bool SelectSegment(double T, int& S, double& U) const;
    // The tables belong to the present point count.
    bool HasCoefficients() const;

    std::unique_ptr<TVkMatrix> FXCoefficients;
    std::unique_ptr<TVkMatrix> FYCoefficients;
    std::unique_ptr<TVkMatrix> FZCoefficients;
};

}  // namespace sarnova
