// The spans of a curve-network curve. Break points divide the curve's points into spans: a span with
// free inner points is a B-spline over them, one with interpolated inner points a cubic spline
// through them. Spans are fitted (cubic ones first, since they hand their end directions on),
// digitised into the curve's polyline with their place on the curve, and joined into one B-spline.
#pragma once
#include <memory>
#include <vector>

#include "curvenet/XTBSpline.h"
#include "curvenet/XTPoints.h"

namespace sarnova {

class IGraphics;

// Length factor of the tangent control points of a two-point span, times the chord.
inline constexpr double TwoPointTangentFactor = 0.390322943;

// One span: its points (the first and last are break points, shared with the neighbouring spans)
// and its curve over MinT .. MaxT.
class TXTSegment : public TXTCurveElement {
public:
    TXTSegment();
    ~TXTSegment() override;

    // ---- The points (not owned) ----
    int Count() const { return static_cast<int>(FPoints.size()); }
    TXTPoint* Items(int Index) const;
    void Add(TXTPoint* Point) { FPoints.push_back(Point); }
    void Clear() { FPoints.clear(); }
    TXTPoint* First() const { return Items(0); }
    TXTPoint* Last() const { return Items(Count() - 1); }

    TXTBSpline& Spline() { return FSpline; }
    const TXTBSpline& Spline() const { return FSpline; }
    TXTSegment* Previous() const { return FPrevious; }
    TXTSegment* Next() const { return FNext; }

    double MinT() const { return FSpline.MinT(); }
    double MaxT() const { return FSpline.MaxT(); }
    void PositionAt(double T, TMVector& V) { FSpline.PositionAt(T, V); }
    void Frenet(double T, TFrenetFrame& Frame) { FSpline.Frenet(T, Frame); }
    // The spline's samples, tagged with this span's index.
    void Digitise(TPolyline& Polyline);
    // The control polygon, for a B-spline span of more than two points.
    virtual void DrawControlPolygon(IGraphics& G);
    // The control polygon, then every control point as an edit handle.
    void DrawControlPoints(IGraphics& G);
    // Parameters at which the surface generator cuts the span's edges.
    virtual void AddCutParameters(std::vector<double>& Parameters) {}

private:
    friend class TXTSegments;
    std::vector<TXTPoint*> FPoints;
    TXTBSpline FSpline;
    TXTSegment* FPrevious = nullptr;
    TXTSegment* FNext = nullptr;
};

// A span whose inner points are free: they are the B-spline's control points, with the tangents of
// the end points adding control points next to them.
class TXTBSplineSegment : public TXTSegment {
public:
    void Update() override;
};

// A span whose inner points are interpolated: a cubic spline through them.
class TXTCSplineSegment : public TXTSegment {
public:
    // Fits with chord-length tangent scaling when its span list says so.
    void Update() override;
    void DrawControlPolygon(IGraphics& G) override {}
    // The knot of every inner reference point.
    void AddCutParameters(std::vector<double>& Parameters) override;
};

// The spans of a curve, in curve order, owned.
class TXTSegments : public TXTCurveElements {
public:
    using TXTCurveElements::TXTCurveElements;

    // Cubic spans fit with chord-length tangent scaling; the curve sets it from its options.
    bool FitChordLength = false;

    TXTSegment* Items(int Index) const { return static_cast<TXTSegment*>(TXTCurveElements::Items(Index)); }
    // Links the span after the current last one and appends it.
    TXTSegment* AddSpan(std::unique_ptr<TXTSegment> Span);
    TXTSegment* First() const { return Items(0); }
    TXTSegment* Last() const { return Items(Count() - 1); }
    // The span of an address: the last span for the far end {Count, 0.0}, nullptr for any other
    // index outside the list.
    TXTSegment* SpanOfAddress(const TBeadAddress& Address) const;
    // Rebuilds the spans from the curve's points and break points. Fewer than two points: none.
    void Build();
    // Fits the cubic spans, then the others.
    void UpdateSpans();
    // UpdateSpans, then every span's samples appended to Polyline, in order.
    void Digitise(TPolyline& Polyline);
    void DrawControlPolygons(IGraphics& G);
    void DrawControlPoints(IGraphics& G);
    // UpdateSpans, then all spans as one spline of order 4 (unless a single span is lower),
    // position-continuous at the joints, 100 display segments per span. No spans: an empty spline.
    void JoinInto(TXTBSpline& Result);
};

}  // namespace sarnova
