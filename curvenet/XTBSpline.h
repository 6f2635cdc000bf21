// A thin wrapper over the kernel's B-spline, as the spans of a curve-network curve, the surface edges
// and the cross-boundary curves hold it: control points as vectors, derivatives at the ends, sampling
// with the place on the curve recorded in each sample, and the joins of the curve's spans.
#pragma once
#include <memory>
#include <utility>

#include "foundation/BSpline.h"

namespace sarnova {

class IGraphics;

// A curve wrapped by the network's classes; the wrapper owns it.
class TXTCustomPolyline {
public:
    virtual ~TXTCustomPolyline();
    TXTCustomPolyline(const TXTCustomPolyline&) = delete;
    TXTCustomPolyline& operator=(const TXTCustomPolyline&) = delete;

    int Count() const { return FCurve->Count(); }
    // Control point Index; the list's index error outside the list.
    void PointAt(int Index, TMVector& V) const { V = std::as_const(*FCurve).Point(Index)->Vector(); }
    void SetPoint(int Index, const TMVector& V);
    void AddPoint(const TMVector& V) { FCurve->AddVector(V); }
    void Clear() { FCurve->Clear(); }

protected:
    explicit TXTCustomPolyline(std::unique_ptr<TPolyline> ACurve) : FCurve(std::move(ACurve)) {}
    std::unique_ptr<TPolyline> FCurve;
};

// The wrapper of a B-spline, order 4 when new.
class TXTBSpline : public TXTCustomPolyline {
public:
    // Samples that Digitise takes of the spline.
    static constexpr int DigitiseSamples = 200;

    TXTBSpline();
    explicit TXTBSpline(const TBSpline& Source);

    TBSpline& Spline() { return *FSpline; }
    const TBSpline& Spline() const { return *FSpline; }

    // Throw the list's index error when there are no control points.
    void FirstPoint(TMVector& V) const { PointAt(0, V); }
    void LastPoint(TMVector& V) const { PointAt(Count() - 1, V); }
    std::unique_ptr<TXTBSpline> Clone() const { return std::make_unique<TXTBSpline>(*FSpline); }
    void Assign(const TXTBSpline& Other) { FSpline->Assign(*Other.FSpline); }
    void AssignSpline(const TBSpline& Other) { FSpline->Assign(Other); }
    int Order() const { return FSpline->GetOrder(); }
    void SetOrder(int K) { FSpline->SetOrder(K); }
    double MinT() const { return FSpline->MinT(); }
    double MaxT() const { return FSpline->MaxT(); }
    // Leaving Open knots, the knots are first computed, so that the curve stays as it is.
    void SetKnotType(TKnotType Type);
    // Evaluations on the knots as they stand.
    void PositionAt(double T, TMVector& V) { V = FSpline->EvaluatePoint(T); }
    void Frenet(double T, TFrenetFrame& Frame) { Frame = FSpline->FrenetFrame(T); }
    void Derivatives(double T, TCurveDerivatives& D) { D = FSpline->Derivatives(T); }
    // The derivative at MinT (MaxT) from the first (last) two control points; the zero vector below
    // two control points.
    void StartDerivative(TMVector& V);
    void EndDerivative(TMVector& V);
    void Draw(IGraphics& G) { FSpline->Draw(G); }
    void DrawControlPolygon(IGraphics& G) { FSpline->DrawControlPolygon(G); }
    // Appends DigitiseSamples points evenly over MinT .. MaxT, both ends included; each carries Tag
    // and its parameter in W.
    void Digitise(TPolyline& Polyline, int Tag);
    void Reparameterise(double Min, double Max) { FSpline->Reparameterise(Min, Max); }
    void NormaliseKnots() { FSpline->NormaliseKnots(); }
    // Raises the order to K when it is lower; the curve keeps its shape.
    void RaiseOrderTo(int K);
    // The parts before and after T.
    void Split(double T, std::unique_ptr<TXTBSpline>& First, std::unique_ptr<TXTBSpline>& Second);
    std::unique_ptr<TXTBSpline> SubCurve(double Lower, double Upper);
    // The cubic with the same end points and end derivatives.
    std::unique_ptr<TXTBSpline> ToBezier();
    // Second appended to First: the result goes through both, position-continuous at the joint (a knot
    // of multiplicity order - 1 there), at the larger of the two orders, with Second's parameters
    // shifted to follow First's.
    static std::unique_ptr<TXTBSpline> Join(const TXTBSpline& First, const TXTBSpline& Second);

private:
    TBSpline* FSpline;
};

// Appends Next to Working as a join: Working's knot type becomes NonUniform, Next's knots after its
// first Order ones are written, each plus Shift, after Working's knots less one, and Next's control
// points but its first are appended. Both curves have one order and up-to-date knots; Working's last
// control point is taken to be Next's first. Throws EGeometryError, changing nothing, when the
// result would need more knots than a spline holds.
void AppendSplineJoint(TBSpline& Working, const TBSpline& Next, double Shift);

}  // namespace sarnova
