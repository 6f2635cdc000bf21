#include "curvenet/XTBSpline.h"

#include <utility>

namespace sarnova {

TXTCustomPolyline::~TXTCustomPolyline() = default;

void TXTCustomPolyline::SetPoint(int Index, const TMVector& V) {
    // The checked access: a polyline's own Point would grow the curve for an index past its end.
    const TRPoint* P = std::as_const(*FCurve).Point(Index);
    const_cast<TRPoint*>(P)->SetXYZ(V.X, V.Y, V.Z);
}

TXTBSpline::TXTBSpline() : TXTCustomPolyline(std::make_unique<TBSpline>(4)) {
    FSpline = static_cast<TBSpline*>(FCurve.get());
}

TXTBSpline::TXTBSpline(const TBSpline& Source) : TXTBSpline() { FSpline->Assign(Source); }

void TXTBSpline::SetKnotType(TKnotType Type) {
    if (FSpline->KnotType == ktOpen && Type != ktOpen) FSpline->UpdateKnots();
    FSpline->KnotType = Type;
}

namespace {

// The derivative at an end of a clamped spline: (k - 1) / (Knot(Hi) - Knot(Lo)) times the leg from
// control point A to B; the zero vector below two control points.
TMVector EndLeg(TBSpline& S, int A, int B, int Hi, int Lo) {
    if (S.Count() < 2) return ZeroVector;
    S.UpdateKnots();
    const double Scale = (S.GetOrder() - 1) / (S.Knot(Hi) - S.Knot(Lo));
    return VectorScale(VectorFromTo(std::as_const(S).Point(A)->Vector(), std::as_const(S).Point(B)->Vector()), Scale);
}

}  // namespace

// u[k] - u[1] and u[n+k-2] - u[n-1] with the knots counted from 0; Knot() counts from 1.
void TXTBSpline::StartDerivative(TMVector& V) { V = EndLeg(*FSpline, 0, 1, Order() + 1, 2); }

void TXTBSpline::EndDerivative(TMVector& V) {
    const int N = Count();
    V = EndLeg(*FSpline, N - 2, N - 1, N + Order() - 1, N);
}

void TXTBSpline::Digitise(TPolyline& Polyline, int Tag) {
    if (Count() == 0) return;
    FSpline->UpdateKnots();
    const double Lo = MinT(), Hi = MaxT();
    Polyline.Reserve(Polyline.Count() + DigitiseSamples);
    for (int I = 0; I < DigitiseSamples; ++I) {
        const double T = Lo + (Hi - Lo) * I / (DigitiseSamples - 1);
        auto P = std::make_unique<TRPoint>(FSpline->EvaluatePoint(T));
        P->T = T;
        P->Tag = Tag;
        P->W = T;
        Polyline.AddRPoint(std::move(P));
    }
}

void TXTBSpline::RaiseOrderTo(int K) {
    if (Order() >= K) return;
    std::unique_ptr<TBSpline> Raised = FSpline->RaiseOrder(K);
    FSpline->Assign(*Raised);
}

void TXTBSpline::Split(double T, std::unique_ptr<TXTBSpline>& First, std::unique_ptr<TXTBSpline>& Second) {
    std::unique_ptr<TBSpline> Left, Right;
    FSpline->Split(T, Left, Right);
    First = std::make_unique<TXTBSpline>(*Left);
    Second = std::make_unique<TXTBSpline>(*Right);
}

std::unique_ptr<TXTBSpline> TXTBSpline::SubCurve(double Lower, double Upper) {
    return std::make_unique<TXTBSpline>(*FSpline->SubCurve(Lower, Upper));
}

std::unique_ptr<TXTBSpline> TXTBSpline::ToBezier() { return std::make_unique<TXTBSpline>(*FSpline->EndTangentBezier()); }

std::unique_ptr<TXTBSpline> TXTBSpline::Join(const TXTBSpline& First, const TXTBSpline& Second) {
    TXTBSpline A(First.Spline()), B(Second.Spline());
    A.Spline().UpdateKnots();
    B.Spline().UpdateKnots();
    const int K = std::max(A.Order(), B.Order());
    A.RaiseOrderTo(K);
    B.RaiseOrderTo(K);
    AppendSplineJoint(A.Spline(), B.Spline(), A.MaxT() - B.MinT());
    return std::make_unique<TXTBSpline>(A.Spline());
}

void AppendSplineJoint(TBSpline& Working, const TBSpline& Next, double Shift) {
    const int N = Working.Count();
    const int K = Working.GetOrder();
    const int M = Next.Count();
    CheckKnotLimit(N + M - 1, K);
    Working.KnotType = ktNonUniform;
    // Next's knots u[k] .. u[m+k-1] (from 0) go to Working's u[n+k-1] on; Knot() counts from 1.
    for (int J = 0; J < M; ++J) Working.SetKnot(N + K + J, Next.Knot(K + 1 + J) + Shift);
    for (int I = 1; I < M; ++I) Working.AddVector(Next.Point(I)->Vector());
}

}  // namespace sarnova
