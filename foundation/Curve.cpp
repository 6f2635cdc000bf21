#include "foundation/Curve.h"

#include <algorithm>

#include "foundation/Graphics.h"
#include "foundation/TextUtils.h"
#include "foundation/TextFile.h"

namespace sarnova {

// ---- TGeneratedCurve ----

TGeneratedCurve::TGeneratedCurve() : FGenerated(std::make_unique<TPolyline>()) {}

TGeneratedCurve::~TGeneratedCurve() = default;

std::unique_ptr<TRPoint> TGeneratedCurve::PointAt(double T) { return nullptr; }

std::unique_ptr<TRPoint> TGeneratedCurve::PointAtX(double X) {
    Generate();
    return SearchCoordinate(0, X, MinT(), MaxT(), Tolerance);
}

std::unique_ptr<TRPoint> TGeneratedCurve::PointAtY(double Y) {
    Generate();
    return SearchCoordinate(1, Y, MinT(), MaxT(), Tolerance);
}

std::unique_ptr<TRPoint> TGeneratedCurve::PointAtZ(double Z) {
    Generate();
    return SearchCoordinate(2, Z, MinT(), MaxT(), Tolerance);
}

TFrenetFrame TGeneratedCurve::FrenetFrame(double T) { return FrenetFrameFromDerivatives(Derivatives(T)); }

TDigitisationParameters TGeneratedCurve::DigitisationParameters(bool ByKnotInterval) {
    const int Segments = std::max(1, SegmentCount);
    const double Lo = MinT();
    const double Hi = MaxT();
    TDigitisationParameters Result(static_cast<std::size_t>(Segments) + 1);
    for (int I = 0; I <= Segments; ++I) Result[static_cast<std::size_t>(I)] = Lo + (Hi - Lo) * I / Segments;
    return Result;
}

std::unique_ptr<TPolyline> TGeneratedCurve::Digitise() {
    Generate();
    return FGenerated->Clone();
}

void TGeneratedCurve::Draw(IGraphics& G) {
    Generate();
    FGenerated->Draw(G);
}

// ---- TBSplineBasedCurve ----

TBSplineBasedCurve::TBSplineBasedCurve() : FSpline(std::make_unique<TBSpline>(4)) {}

TBSplineBasedCurve::~TBSplineBasedCurve() = default;

double TBSplineBasedCurve::MaxT() const { return FSpline->MaxT(); }

double TBSplineBasedCurve::MinT() const { return FSpline->MinT(); }

std::unique_ptr<TRPoint> TBSplineBasedCurve::PointAt(double T) { return FSpline->PointAt(T); }

TCurveDerivatives TBSplineBasedCurve::Derivatives(double T) { return FSpline->Derivatives(T); }

TCurveFirstDerivatives TBSplineBasedCurve::FirstDerivatives(double T) { return FSpline->FirstDerivatives(T); }

TDigitisationParameters TBSplineBasedCurve::DigitisationParameters(bool ByKnotInterval) {
    return FSpline->DigitisationParameters(ByKnotInterval);
}

void TBSplineBasedCurve::DrawControlPolygon(IGraphics& G) {
    FSpline->DrawControlPolygon(G);
    const TRPoints& Points = *FSpline;
    for (int I = 0; I < Points.Count(); ++I) G.EditHandlePoint(*Points.Point(I), 2);
}

void TBSplineBasedCurve::Generate() {
    FSpline->DisplaySegments = SegmentCount;
    FGenerated = FSpline->Digitise();
}

// ---- TCBSpline ----

void TCBSpline::Assign(const TCBSpline& Other) {
    TPolyline::Assign(Other);
    Continuity = Other.Continuity;
    StartCondition = Other.StartCondition;
    EndCondition = Other.EndCondition;
    AccountForChordLength = Other.AccountForChordLength;
}

namespace {

// A clamped end's tangent is a direction: it turns and scales with the curve but does not move.
TEndCondition TransformedCondition(const TEndCondition& C, const TMMatrix& M) {
    TEndCondition Result = C;
    if (C.Kind == ecClamped)
        Result.Tangent = VectorFromTo(MatrixTransformPoint(M, ZeroVector), MatrixTransformPoint(M, C.Tangent));
    return Result;
}

// The straight order-2 spline from a copy of First to a copy of Last.
std::unique_ptr<TBSpline> LineSpline(const TRPoint& First, const TRPoint& Last) {
    auto Line = std::make_unique<TBSpline>(2);
    Line->AddPointCopy(&First);
    Line->AddPointCopy(&Last);
    return Line;
}

}  // namespace

std::unique_ptr<TCBSpline> TCBSpline::Transformed(const TMMatrix& M) const {
    auto Result = std::make_unique<TCBSpline>();
    for (int I = 0; I < Count(); ++I) Result->Add(Point(I)->Transformed(M));
    Result->Continuity = Continuity;
    Result->StartCondition = TransformedCondition(StartCondition, M);
    Result->EndCondition = TransformedCondition(EndCondition, M);
    Result->AccountForChordLength = AccountForChordLength;
    return Result;
}

void TCBSpline::Generate() {
    if (Count() < 2) return;
    // The new spline is built before the old one goes, so a failure leaves the curve as it was.
    std::unique_ptr<TBSpline> NewSpline;
    if (Count() == 2) {
        NewSpline = LineSpline(*First(), *Last());
    } else {
        TPolyline Distinct;
        Distinct.Assign(*this);
        Distinct.RemoveDuplicatePoints();
        // Repeats removed, two points (or one) may be all that is left: their line, which
        // interpolation would not make.
        if (Distinct.Count() > 2)
            NewSpline = InterpolateCubicBSpline(Distinct, Continuity, StartCondition, EndCondition,
                                                AccountForChordLength);
        else
            NewSpline = LineSpline(*Distinct.First(), *Distinct.Last());
    }
    FSpline = std::move(NewSpline);
    TBSplineBasedCurve::Generate();
}

void TCBSpline::SaveToText(TTextWriter& F) {
    F.WriteLine("Continuity=" + ContinuityText(Continuity));
    F.WriteLine("StartCondition=" + EndConditionText(StartCondition));
    F.WriteLine("EndCondition=" + EndConditionText(EndCondition));
    F.WriteLine(std::string("AccountForChordLength=") + (AccountForChordLength ? "True" : "False"));
    TPolyline::SaveToText(F);
}

void TCBSpline::LoadFromText(TTextReader& F) {
    Continuity = ContinuityFromText(F.ReadLine());
    StartCondition = EndConditionFromText(F.ReadLine());
    EndCondition = EndConditionFromText(F.ReadLine());
    AccountForChordLength = UpperCase(F.ReadLine()).find("TRUE") != std::string::npos;
    TPolyline::LoadFromText(F);
}

}  // namespace sarnova
