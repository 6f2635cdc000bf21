#include "curvenet/XTSegments.h"

#include <string>

#include "curvenet/XTCurveRepresentation.h"
#include "foundation/BSplineInterpolate.h"
#include "foundation/Graphics.h"
#include "foundation/Errors.h"

namespace sarnova {

namespace {

// Display segments of the joined spline, per span.
constexpr int JoinedSegmentsPerSpan = 100;

bool IsCubicSpan(const TXTSegment* S) { return dynamic_cast<const TXTCSplineSegment*>(S) != nullptr; }

// A copy of Spline, knots up to date, at order 4 at least.
void RaiseToCubic(TBSpline& Spline) {
    Spline.UpdateKnots();
    if (Spline.GetOrder() < 4) {
        std::unique_ptr<TBSpline> Raised = Spline.RaiseOrder(4);
        Spline.Assign(*Raised);
        Spline.UpdateKnots();
    }
}

}  // namespace

// ---- TXTSegment ----

TXTSegment::TXTSegment() = default;
TXTSegment::~TXTSegment() = default;

TXTPoint* TXTSegment::Items(int Index) const {
    if (Index < 0 || Index >= Count())
        throw EError("TXTSegment.Items - List index out of bounds (" + std::to_string(Index) + ")");
    return FPoints[static_cast<std::size_t>(Index)];
}

void TXTSegment::Digitise(TPolyline& Polyline) { FSpline.Digitise(Polyline, Index()); }

void TXTSegment::DrawControlPolygon(IGraphics& G) {
    if (Count() > 2) FSpline.DrawControlPolygon(G);
}

void TXTSegment::DrawControlPoints(IGraphics& G) {
    DrawControlPolygon(G);
    for (int I = 0; I < FSpline.Count(); ++I) {
        TMVector V;
        FSpline.PointAt(I, V);
        G.EditHandle(2, V.X, V.Y, V.Z);
    }
}

void TXTBSplineSegment::Update() {
    TBSpline& S = Spline().Spline();
    S.Clear();
    S.KnotType = ktOpen;
    S.SetOrder(4);
    const int M = Count();
    if (M == 0) return;
    const TMVector P0 = First()->GetPosition();
    const TMVector PN = Last()->GetPosition();
    const double Chord = VectorDistance(P0, PN) * TwoPointTangentFactor;

    S.AddVector(P0);
    const TXTTangent& Out = First()->OutTangent;
    if (Out.GetKind() == tkDirection) {
        const double A = M == 2 ? Chord : VectorDistance(Items(1)->GetPosition(), P0) / 3;
        S.AddVector(VectorAdd(P0, VectorScale(VectorNormalise(Out.GetVector()), A)));
    } else if (Out.GetKind() == tkVector) {
        S.AddVector(VectorAdd(P0, Out.GetVector()));
    }
    for (int I = 1; I < M - 1; ++I) S.AddVector(Items(I)->GetPosition());
    const TXTTangent& In = Last()->InTangent;
    if (In.GetKind() == tkDirection) {
        const double A = M == 2 ? Chord : VectorDistance(PN, Items(M - 2)->GetPosition()) / 3;
        S.AddVector(VectorAdd(PN, VectorScale(VectorNormalise(In.GetVector()), A)));
    } else if (In.GetKind() == tkVector) {
        S.AddVector(VectorAdd(PN, In.GetVector()));
    }
    if (M > 1) S.AddVector(PN);
    // Two control points make a straight line, three a quadratic.
    if (S.Count() < S.GetOrder()) S.SetOrder(S.Count());
    S.UpdateKnots();
}

void TXTCSplineSegment::Update() {
    const int M = Count();
    if (M < 2) return;
    TEndCondition Start = NaturalEndCondition, End = NaturalEndCondition;
    TXTPoint* F = First();
    TXTPoint* L = Last();
    if (F->OutTangent.GetKind() == tkDirection)
        Start = {ecClamped, VectorScale(VectorNormalise(F->OutTangent.GetVector()),
                                        VectorDistance(Items(1)->GetPosition(), F->GetPosition()) / 3)};
    // The in tangent points back into the span, as the end condition expects.
    if (L->InTangent.GetKind() == tkDirection)
        End = {ecClamped, VectorScale(VectorNormalise(L->InTangent.GetVector()),
                                      VectorDistance(L->GetPosition(), Items(M - 2)->GetPosition()) / 3)};
    TPolyline Through;
    for (int I = 0; I < M; ++I) Through.AddVector(Items(I)->GetPosition());
    Through.RemoveDuplicatePoints();
    const auto* List = dynamic_cast<const TXTSegments*>(GetOwnerList());
    std::unique_ptr<TBSpline> Fitted =
        InterpolateCubicBSpline(Through, scSecondOrder, Start, End, List && List->FitChordLength);
    Spline().AssignSpline(*Fitted);

    // Hand the fitted end directions to the B-spline spans on the other side.
    TBSpline& S = Spline().Spline();
    const int N = S.Count();
    if (N < 2) return;
    if (F->State < psKnuckle && F->OutTangent.GetKind() == tkConstraint && F->InTangent.GetKind() == tkDirection)
        F->InTangent.SetVector(VectorNormalise(VectorFromTo(S.Point(1)->Vector(), S.Point(0)->Vector())));
    if (L->State < psKnuckle && L->InTangent.GetKind() == tkConstraint && L->OutTangent.GetKind() == tkDirection)
        L->OutTangent.SetVector(VectorNormalise(VectorFromTo(S.Point(N - 2)->Vector(), S.Point(N - 1)->Vector())));
}

void TXTCSplineSegment::AddCutParameters(std::vector<double>& Parameters) {
    TBSpline& S = Spline().Spline();
    S.UpdateKnots();
    const int K = S.GetOrder();
    // Point j of the span sits at u[k - 1 + j] (from 0), that is Knot(k + j).
    for (int J = 1; J < Count() - 1; ++J)
        if (Items(J)->IsReferencePoint()) Parameters.push_back(S.Knot(K + J));
}

// ---- TXTSegments ----

TXTSegment* TXTSegments::AddSpan(std::unique_ptr<TXTSegment> Span) {
    if (Count() > 0) {
        Span->FPrevious = Last();
        Last()->FNext = Span.get();
    }
    return static_cast<TXTSegment*>(Add(std::move(Span)));
}

TXTSegment* TXTSegments::SpanOfAddress(const TBeadAddress& Address) const {
    if (Count() > 0 && Address.SegmentIndex == Count() && Address.T == 0.0) return Last();
    if (Address.SegmentIndex < 0 || Address.SegmentIndex >= Count()) return nullptr;
    return Items(Address.SegmentIndex);
}

void TXTSegments::Build() {
    Clear();
    const TXTCurveRepresentation* Curve = GetCurve();
    if (!Curve) return;
    const int N = Curve->PointCount();
    int Start = 0;
    for (int I = 1; I < N; ++I) {
        if (!Curve->IsBreakPoint(I)) continue;
        bool AllFree = true, AllInterpolated = true;
        for (int J = Start + 1; J < I; ++J) {
            const std::uint8_t State = Curve->PointAt(J)->State;
            AllFree = AllFree && State == psFree;
            AllInterpolated = AllInterpolated && State == psInterpolated;
        }
        std::unique_ptr<TXTSegment> Span;
        if (I == Start + 1 || AllFree)
            Span = std::make_unique<TXTBSplineSegment>();
        else if (AllInterpolated)
            Span = std::make_unique<TXTCSplineSegment>();
        if (Span) {
            for (int J = Start; J <= I; ++J) Span->Add(Curve->PointAt(J));
            AddSpan(std::move(Span));
        }
        Start = I;
    }
}

void TXTSegments::UpdateSpans() {
    // Cubic spans hand their end directions to their neighbours: they go first.
    for (int I = 0; I < Count(); ++I)
        if (IsCubicSpan(Items(I))) Items(I)->Update();
    for (int I = 0; I < Count(); ++I)
        if (!IsCubicSpan(Items(I))) Items(I)->Update();
}

void TXTSegments::Digitise(TPolyline& Polyline) {
    UpdateSpans();
    for (int I = 0; I < Count(); ++I) Items(I)->Digitise(Polyline);
}

void TXTSegments::DrawControlPolygons(IGraphics& G) {
    for (int I = 0; I < Count(); ++I) Items(I)->DrawControlPolygon(G);
}

void TXTSegments::DrawControlPoints(IGraphics& G) {
    for (int I = 0; I < Count(); ++I) Items(I)->DrawControlPoints(G);
}

void TXTSegments::JoinInto(TXTBSpline& Result) {
    UpdateSpans();
    if (Count() == 0) {
        Result.AssignSpline(TBSpline(4));
        return;
    }
    TBSpline Working;
    Working.Assign(First()->Spline().Spline());
    if (Count() > 1) {
        RaiseToCubic(Working);
        for (int I = 1; I < Count(); ++I) {
            TBSpline Next;
            Next.Assign(Items(I)->Spline().Spline());
            RaiseToCubic(Next);
            // Next's parameters follow on from the joint (a span starting at 0 moves by MaxT).
            AppendSplineJoint(Working, Next, Working.MaxT() - Next.MinT());
        }
    }
    Working.DisplaySegments = JoinedSegmentsPerSpan * Count();
    Result.AssignSpline(Working);
}

}  // namespace sarnova
