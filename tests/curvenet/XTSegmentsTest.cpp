#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "curvenet/XTCurveRepresentation.h"
#include "curvenet/XTSegments.h"
#include "foundation/Errors.h"
#include "platform/RecordingGraphics.h"

using namespace sarnova;

namespace {

class TSpanCurve : public TXTCurveRepresentation {
public:
    void NormaliseAddress(TBeadAddress&) override {}
};

// A point resting on another curve, as far as the spans see it.
class TRestingPoint : public TXTPoint {
public:
    bool IsReferencePoint() const override { return true; }
};

// Points along a gentle arc with the given states; tangents left at kind none.
void MakePoints(TSpanCurve& Curve, const std::vector<int>& States) {
    for (std::size_t I = 0; I < States.size(); ++I) {
        const double X = static_cast<double>(I);
        TXTPoint* P = Curve.AddPointXYZ(X * 2, X * X * 0.3, (I % 2) * 0.5);
        P->State = static_cast<std::uint8_t>(States[I]);
    }
}

// "B 0-3" for a B-spline span over points 0 .. 3, "C" for a cubic-spline span.
std::vector<std::string> Describe(const TXTSegments& Spans, const TSpanCurve& Curve) {
    std::vector<std::string> Out;
    for (int I = 0; I < Spans.Count(); ++I) {
        const TXTSegment* S = Spans.Items(I);
        const bool Cubic = dynamic_cast<const TXTCSplineSegment*>(S) != nullptr;
        Out.push_back(std::string(Cubic ? "C " : "B ") + std::to_string(S->First()->Index()) + "-" +
                      std::to_string(S->Last()->Index()));
        EXPECT_EQ(S->Previous(), I > 0 ? Spans.Items(I - 1) : nullptr);
        EXPECT_EQ(S->Next(), I + 1 < Spans.Count() ? Spans.Items(I + 1) : nullptr);
        EXPECT_EQ(S->GetCurve(), &Curve);
    }
    return Out;
}

std::vector<TMVector> ControlPoints(const TXTBSpline& S) {
    std::vector<TMVector> Out(static_cast<std::size_t>(S.Count()));
    for (int I = 0; I < S.Count(); ++I) S.PointAt(I, Out[static_cast<std::size_t>(I)]);
    return Out;
}

void ExpectNear(const TMVector& A, const TMVector& B, double Tol, const std::string& What) {
    EXPECT_NEAR(A.X, B.X, Tol) << What;
    EXPECT_NEAR(A.Y, B.Y, Tol) << What;
    EXPECT_NEAR(A.Z, B.Z, Tol) << What;
}

}  // namespace

TEST(XTSegments, SpansStartAndEndAtBreakPoints) {
    const int F = psFree, I = psInterpolated, B = psBreak, E = psEnd;
    const std::pair<std::vector<int>, std::vector<std::string>> Cases[] = {
        {{E, F, F, I, I, E}, {"B 0-3", "C 3-5"}},
        {{E, I, I, E}, {"C 0-3"}},
        {{E, F, F, E}, {"B 0-3"}},
        {{E, E}, {"B 0-1"}},
        {{E, B, E}, {"B 0-1", "B 1-2"}},
        {{E, F, I, F, E}, {"B 0-2", "B 2-4"}},
        {{E, I, B, I, E}, {"C 0-2", "C 2-4"}},
        {{E, B, B, E}, {"B 0-1", "B 1-2", "B 2-3"}},
        {{E}, {}},
        {{E, F, F}, {}},  // no break point after the start
    };
    for (const auto& [States, Expected] : Cases) {
        TSpanCurve Curve;
        MakePoints(Curve, States);
        TXTSegments Spans(&Curve);
        Spans.Build();
        EXPECT_EQ(Describe(Spans, Curve), Expected) << States.size() << " points";
    }

    TSpanCurve Curve;
    MakePoints(Curve, {E, F, F, I, I, E});
    TXTSegments Spans(&Curve);
    Spans.Build();
    EXPECT_EQ(Spans.SpanOfAddress({1, 0.3}), Spans.Items(1));
    EXPECT_EQ(Spans.SpanOfAddress({2, 0.0}), Spans.Items(1));  // the far end
    EXPECT_EQ(Spans.SpanOfAddress({2, 0.5}), nullptr);
    EXPECT_EQ(Spans.SpanOfAddress(InvalidBeadAddress), nullptr);
}

TEST(XTSegments, BSplineSpanControlPoints) {
    // By hand: a two-point span along x with both tangents given as directions along the chord.
    TSpanCurve Curve;
    Curve.AddPointXYZ(0, 0, 0)->State = psEnd;
    Curve.AddPointXYZ(10, 0, 0)->State = psEnd;
    Curve.PointAt(0)->OutTangent.SetKind(tkDirection);
    Curve.PointAt(0)->OutTangent.SetVector({2, 0, 0});  // only the direction counts
    Curve.PointAt(1)->InTangent.SetKind(tkDirection);
    Curve.PointAt(1)->InTangent.SetVector({-1, 0, 0});
    TXTSegments Spans(&Curve);
    Spans.Build();
    Spans.UpdateSpans();
    const std::vector<TMVector> Expected{{0, 0, 0}, {3.90322943, 0, 0}, {6.09677057, 0, 0}, {10, 0, 0}};
    const std::vector<TMVector> Got = ControlPoints(Spans.First()->Spline());
    ASSERT_EQ(Got.size(), 4u);
    for (std::size_t I = 0; I < 4; ++I) ExpectNear(Got[I], Expected[I], 1e-12, "point " + std::to_string(I));
    EXPECT_EQ(Spans.First()->Spline().Order(), 4);

    // The same span without tangents is a straight line; a full vector is added as it is.
    Curve.PointAt(0)->OutTangent.SetKind(tkNone);
    Curve.PointAt(1)->InTangent.SetKind(tkVector);
    Curve.PointAt(1)->InTangent.SetVector({0, 0, 1});
    Spans.UpdateSpans();
    EXPECT_EQ(ControlPoints(Spans.First()->Spline()), (std::vector<TMVector>{{0, 0, 0}, {10, 0, 1}, {10, 0, 0}}));
    EXPECT_EQ(Spans.First()->Spline().Order(), 3);
    Curve.PointAt(1)->InTangent.SetKind(tkNone);
    Spans.UpdateSpans();
    EXPECT_EQ(Spans.First()->Spline().Order(), 2);

    // Three free points and no tangents: a quadratic; a direction on a longer span is a third of the
    // first leg long.
    TSpanCurve Three;
    MakePoints(Three, {psEnd, psFree, psEnd});
    TXTSegments ThreeSpans(&Three);
    ThreeSpans.Build();
    ThreeSpans.UpdateSpans();
    EXPECT_EQ(ThreeSpans.First()->Spline().Order(), 3);
    Three.PointAt(0)->OutTangent.SetKind(tkDirection);
    Three.PointAt(0)->OutTangent.SetVector({0, 0, 5});
    ThreeSpans.UpdateSpans();
    const double Leg = VectorDistance(Three.PointAt(0)->GetPosition(), Three.PointAt(1)->GetPosition());
    ExpectNear(ControlPoints(ThreeSpans.First()->Spline())[1], {0, 0, Leg / 3}, 1e-12, "tangent point");
    EXPECT_EQ(ThreeSpans.First()->Spline().Order(), 4);
}

TEST(XTSegments, CubicSpansPassThroughTheirPointsAndLeadTheirNeighbours) {
    TSpanCurve Curve;
    MakePoints(Curve, {psEnd, psFree, psFree, psBreak, psInterpolated, psInterpolated, psEnd});
    // At the joint the cubic side is shaped by its own fit and the B-spline side takes its direction.
    TXTPoint* Joint = Curve.PointAt(3);
    Joint->OutTangent.SetKind(tkConstraint);
    Joint->InTangent.SetKind(tkDirection);
    EXPECT_EQ(Joint->InTangent.GetVector(), ZeroVector);
    TXTSegments Spans(&Curve);
    Spans.Build();
    ASSERT_EQ(Spans.Count(), 2);
    Spans.UpdateSpans();

    TXTSegment& Cubic = *Spans.Items(1);
    TBSpline& C = Cubic.Spline().Spline();
    const int K = C.GetOrder();
    for (int J = 0; J < Cubic.Count(); ++J) {
        TMVector V;
        Cubic.PositionAt(C.Knot(K + J), V);  // point j sits at u[k - 1 + j]
        ExpectNear(V, Cubic.Items(J)->GetPosition(), 1e-9, "through point " + std::to_string(J));
    }
    const TMVector Back = VectorNormalise(VectorFromTo(C.Point(1)->Vector(), C.Point(0)->Vector()));
    ExpectNear(Joint->InTangent.GetVector(), Back, 1e-12, "handed-on direction");
    ExpectNear(Joint->OutTangent.GetVector(), VectorScale(Back, -1), 1e-12, "opposite side");

    // The B-spline span, fitted after the cubic, leaves the joint along that direction.
    const std::vector<TMVector> B = ControlPoints(Spans.Items(0)->Spline());
    const TMVector Leg = VectorFromTo(Joint->GetPosition(), B[B.size() - 2]);
    const double Expected = VectorDistance(Joint->GetPosition(), Curve.PointAt(2)->GetPosition()) / 3;
    ExpectNear(Leg, VectorScale(Back, Expected), 1e-9, "B-spline tangent point");
}

TEST(XTSegments, DigitiseSamplesEverySpanWithItsAddress) {
    TSpanCurve Curve;
    MakePoints(Curve, {psEnd, psFree, psFree, psInterpolated, psInterpolated, psEnd});
    TXTSegments Spans(&Curve);
    Spans.Build();
    TPolyline Line;
    Spans.Digitise(Line);
    ASSERT_EQ(Line.Count(), 400);
    for (int S = 0; S < 2; ++S) {
        const TRPoint& First = *Line.Point(S * 200);
        const TRPoint& Last = *Line.Point(S * 200 + 199);
        EXPECT_EQ(First.Tag, S);
        EXPECT_EQ(Last.Tag, S);
        EXPECT_DOUBLE_EQ(First.W, Spans.Items(S)->MinT());
        EXPECT_DOUBLE_EQ(Last.W, Spans.Items(S)->MaxT());
        TMVector At;
        Spans.Items(S)->PositionAt(Line.Point(S * 200 + 57)->W, At);
        ExpectNear(Line.Point(S * 200 + 57)->Vector(), At, 1e-12, "sample carries its parameter");
    }
    // The second span starts where the first ends.
    ExpectNear(Line.Point(200)->Vector(), Line.Point(199)->Vector(), 1e-9, "shared break point");
    ExpectNear(Line.Point(199)->Vector(), Curve.PointAt(3)->GetPosition(), 1e-9, "break point");
}

TEST(XTSegments, JoinIntoOneSpline) {
    TSpanCurve Curve;
    MakePoints(Curve, {psEnd, psInterpolated, psBreak, psInterpolated, psEnd});
    TXTSegments Spans(&Curve);
    Spans.Build();
    ASSERT_EQ(Spans.Count(), 2);
    TXTBSpline Joined;
    Spans.JoinInto(Joined);
    TBSpline& J = Joined.Spline();
    EXPECT_EQ(J.GetOrder(), 4);
    EXPECT_EQ(J.KnotType, ktNonUniform);
    EXPECT_EQ(J.DisplaySegments, 200);
    const double X = Spans.Items(0)->MaxT();
    int AtJoint = 0;
    for (int I = 1; I <= J.KnotCount(); ++I) AtJoint += J.Knot(I) == X;
    EXPECT_EQ(AtJoint, 3);
    EXPECT_EQ(J.Count(), Spans.Items(0)->Spline().Count() + Spans.Items(1)->Spline().Count() - 1);
    // The joined curve traces the first span and then the second, shifted along by X.
    for (double T : {0.0, 0.37, 1.0}) {
        TMVector A, B;
        const double T0 = Spans.Items(0)->MinT() + T * (X - Spans.Items(0)->MinT());
        Spans.Items(0)->PositionAt(T0, A);
        Joined.PositionAt(T0, B);
        ExpectNear(A, B, 1e-9, "first span");
        const double T1 = Spans.Items(1)->MinT() + T * (Spans.Items(1)->MaxT() - Spans.Items(1)->MinT());
        Spans.Items(1)->PositionAt(T1, A);
        Joined.PositionAt(T1 + X - Spans.Items(1)->MinT(), B);
        ExpectNear(A, B, 1e-9, "second span");
    }

    // A lone straight span stays as it is; a curve without spans gives an empty spline.
    TSpanCurve Two;
    MakePoints(Two, {psEnd, psEnd});
    TXTSegments TwoSpans(&Two);
    TwoSpans.Build();
    TwoSpans.JoinInto(Joined);
    EXPECT_EQ(Joined.Order(), 2);
    EXPECT_EQ(Joined.Count(), 2);
    EXPECT_EQ(Joined.Spline().DisplaySegments, 100);
    TSpanCurve One;
    MakePoints(One, {psEnd});
    TXTSegments None(&One);
    None.Build();
    None.JoinInto(Joined);
    EXPECT_EQ(Joined.Count(), 0);
}

TEST(XTSegments, CutParametersAtInnerReferencePoints) {
    TSpanCurve Curve;
    MakePoints(Curve, {psEnd, psInterpolated, psEnd});
    Curve.InsertPoint(2, std::make_unique<TRestingPoint>())->State = psInterpolated;
    Curve.PointAt(2)->SetPosition({5, 1, 1});
    TXTSegments Spans(&Curve);
    Spans.Build();
    ASSERT_EQ(Spans.Count(), 1);
    Spans.UpdateSpans();
    std::vector<double> Cuts{-1};
    Spans.First()->AddCutParameters(Cuts);
    const TBSpline& S = Spans.First()->Spline().Spline();
    EXPECT_EQ(Cuts, (std::vector<double>{-1, S.Knot(S.GetOrder() + 2)}));
    TMVector At;
    Spans.First()->PositionAt(Cuts[1], At);
    ExpectNear(At, {5, 1, 1}, 1e-9, "cut at the point");
}

TEST(XTBSpline, EndDerivativesJoinAndKnotType) {
    TXTBSpline S;
    for (TMVector V : {TMVector{0, 0, 0}, {1, 2, 0}, {3, 2, 1}, {4, 0, 0}, {6, 1, 0}}) S.AddPoint(V);
    S.Spline().UpdateKnots();
    S.Reparameterise(2, 5);
    TMVector D0, D1;
    S.StartDerivative(D0);
    S.EndDerivative(D1);
    TCurveDerivatives A, B;
    S.Derivatives(S.MinT(), A);
    S.Derivatives(S.MaxT(), B);
    ExpectNear(D0, A[1], 1e-9, "start");
    ExpectNear(D1, B[1], 1e-9, "end");
    TXTBSpline Lone;
    Lone.AddPoint({1, 1, 1});
    Lone.StartDerivative(D0);
    EXPECT_EQ(D0, ZeroVector);
    // Reading past the last control point is an index error; it never grows the curve.
    EXPECT_THROW(Lone.PointAt(1, D0), EError);
    EXPECT_EQ(Lone.Count(), 1);

    // A quadratic on [2, 5] joined by a line: order 3, the line's points follow on from 5.
    TXTBSpline Q, L;
    for (TMVector V : {TMVector{0, 0, 0}, {1, 1, 0}, {2, 0, 0}}) Q.AddPoint(V);
    Q.SetOrder(3);
    Q.Spline().UpdateKnots();
    Q.Reparameterise(2, 5);
    L.AddPoint({2, 0, 0});
    L.AddPoint({4, 0, 0});
    L.SetOrder(2);
    std::unique_ptr<TXTBSpline> J = TXTBSpline::Join(Q, L);
    EXPECT_EQ(J->Order(), 3);
    EXPECT_DOUBLE_EQ(J->MaxT(), 6);
    TMVector P;
    J->PositionAt(5.5, P);
    ExpectNear(P, {3, 0, 0}, 1e-9, "on the line");
    J->PositionAt(3.5, P);
    TMVector QP;
    Q.PositionAt(3.5, QP);
    ExpectNear(P, QP, 1e-9, "on the quadratic");

    // Leaving Open knots keeps the curve: the knots are made first.
    TXTBSpline K;
    for (TMVector V : {TMVector{0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {3, 1, 0}}) K.AddPoint(V);
    K.SetKnotType(ktNonUniform);
    EXPECT_DOUBLE_EQ(K.MaxT(), 1);
    K.PositionAt(1, P);
    ExpectNear(P, {3, 1, 0}, 1e-12, "end point");

    EXPECT_THROW(K.SetPoint(4, {}), EError);
    EXPECT_EQ(K.Count(), 4);
}

TEST(XTSegments, ControlPointsShowTheirPolygonOnlyForLongerBSplineSpans) {
    TSpanCurve Curve;
    MakePoints(Curve, {psEnd, psFree, psBreak, psEnd, psInterpolated, psEnd});
    TXTSegments Spans(&Curve);
    Spans.Build();
    ASSERT_EQ(Describe(Spans, Curve), (std::vector<std::string>{"B 0-2", "B 2-3", "C 3-5"}));
    Spans.UpdateSpans();
    for (int I = 0; I < 3; ++I) {
        TRecordingGraphics G;
        Spans.Items(I)->DrawControlPoints(G);
        int Handles = 0, Other = 0;
        for (const TGraphicsCall& C : G.Calls) (C.Name == "EditHandle" && C.Kind == 2 ? Handles : Other)++;
        EXPECT_EQ(Handles, Spans.Items(I)->Spline().Count()) << "span " << I;
        EXPECT_EQ(Other > 0, I == 0) << "span " << I;  // only the three-point B-spline span
    }
}
