// Smooth curves through the points a user places. A generated curve keeps those points as its own
// point list and generates from them, on demand, a fine polyline that is drawn, digitised and
// searched. Here the common base, the base of curves evaluated through an owned B-spline, and the
// interpolating cubic B-spline with its text block.
#pragma once
#include <memory>

#include "foundation/BSplineInterpolate.h"

namespace sarnova {

// The generated polyline, the B-spline and the coefficient tables of the subclasses are caches of
// the defining points: only Generate renews them. Draw, Digitise and the coordinate searches call
// Generate first; PointAt, Derivatives and FrenetFrame answer from the last Generate.
class TGeneratedCurve : public TPolyline {
public:
    // Sample intervals of the generated polyline and of DigitisationParameters.
    int SegmentCount = 100;
    // Stop criterion of the coordinate searches PointAtX, PointAtY and PointAtZ.
    double Tolerance = DefaultTolerance;

    TGeneratedCurve();
    ~TGeneratedCurve() override;

    // Rebuilds the generated polyline (and what the subclass evaluates from) from the points.
    virtual void Generate() = 0;
    // The polyline of the last Generate.
    const TPolyline& Generated() const { return *FGenerated; }

    double MaxT() const override = 0;
    double MinT() const override = 0;
    // nullptr: the base has no curve of its own.
    std::unique_ptr<TRPoint> PointAt(double T) override;
    // Generate, then a bisection on the parameter range for the coordinate; nullptr when the curve
    // does not reach it. With several crossings one of them is found.
    std::unique_ptr<TRPoint> PointAtX(double X) override;
    std::unique_ptr<TRPoint> PointAtY(double Y) override;
    std::unique_ptr<TRPoint> PointAtZ(double Z) override;
    TFrenetFrame FrenetFrame(double T) override;
    // SegmentCount + 1 parameters evenly over MinT .. MaxT (the flag is ignored); a SegmentCount
    // below 1 counts as 1.
    TDigitisationParameters DigitisationParameters(bool ByKnotInterval) override;
    // Generate, then a copy of the generated polyline.
    std::unique_ptr<TPolyline> Digitise() override;
    // Generate, then the generated polyline.
    void Draw(IGraphics& G) override;

protected:
    std::unique_ptr<TPolyline> FGenerated;
};

// A generated curve evaluated through an owned B-spline, which Generate builds.
class TBSplineBasedCurve : public TGeneratedCurve {
public:
    // Spline starts empty with order 4.
    TBSplineBasedCurve();
    ~TBSplineBasedCurve() override;

    TBSpline& Spline() { return *FSpline; }
    const TBSpline& Spline() const { return *FSpline; }

    // Spline's, in its state after the last Generate.
    double MaxT() const override;
    double MinT() const override;
    std::unique_ptr<TRPoint> PointAt(double T) override;
    TCurveDerivatives Derivatives(double T) override;
    TCurveFirstDerivatives FirstDerivatives(double T) override;
    TDigitisationParameters DigitisationParameters(bool ByKnotInterval) override;
    // Spline's control polygon with an edit handle at each control point.
    void DrawControlPolygon(IGraphics& G) override;
    // The generated polyline becomes Spline digitised at SegmentCount parameters. Subclasses set up
    // Spline first and then call this.
    void Generate() override;

protected:
    std::unique_ptr<TBSpline> FSpline;
};

// The interpolating cubic B-spline: Spline is fitted through the points with the chosen continuity,
// end conditions and chord-length spacing.
class TCBSpline : public TBSplineBasedCurve {
public:
    // Tangents and knot spacing follow the chord lengths between the points.
    bool AccountForChordLength = false;
    TSplineContinuity Continuity = scSecondOrder;
    TEndCondition StartCondition = NaturalEndCondition;
    TEndCondition EndCondition = NaturalEndCondition;

    using TPolyline::Assign;
    // The points, flags and colours, then the four settings.
    void Assign(const TCBSpline& Other);
    // The points carried through M with the settings; clamped end tangents are carried through M's
    // linear part, so they keep their direction relative to the curve.
    std::unique_ptr<TCBSpline> Transformed(const TMMatrix& M) const;

    // Two points or more that differ: Spline interpolates the points without repeats (a straight
    // line of order 2 when two remain), then the generated polyline. Fewer than 2 points change
    // nothing. Interpolation errors propagate and leave Spline as it was.
    void Generate() override;

    // "Continuity=", "StartCondition=", "EndCondition=", "AccountForChordLength=" ("True" or "False")
    // and the "NumPoints=" block of the points.
    void SaveToText(TTextWriter& F) override;
    // Reads the first four lines by position whatever their keys, then the points.
    void LoadFromText(TTextReader& F) override;
};

}  // namespace sarnova
