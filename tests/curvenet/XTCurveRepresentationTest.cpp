#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "curvenet/XTCurveRepresentation.h"
#include "foundation/Errors.h"
#include "platform/RecordingGraphics.h"

using namespace sarnova;

namespace {

// The curve without its spans: addresses are taken as they come, and the digitised polyline is
// whatever the test puts there. Regenerate counts its calls.
class TTestCurve : public TXTCurveRepresentation {
public:
    bool Stale = false;
    int Regenerations = 0;
    void NormaliseAddress(TBeadAddress&) override {}
    bool IsUpToDate() const override { return !Stale; }
    void Regenerate() override {
        TXTCurveRepresentation::Regenerate();
        ++Regenerations;
        Stale = false;
    }
    // Polyline points as {x, y, z, span, parameter}.
    void SetPolyline(std::initializer_list<std::array<double, 5>> Samples) {
        Polyline().Clear();
        for (const auto& S : Samples) {
            const int I = Polyline().AddPoint(S[0], S[1], S[2]);
            Polyline().Point(I)->Tag = static_cast<int>(S[3]);
            Polyline().Point(I)->W = S[4];
        }
    }
};

TTestCurve& WithPoints(TTestCurve& C, int N) {
    for (int I = 0; I < N; ++I) C.AddPointXYZ(I, 0, 0);
    return C;
}

void SetStates(TTestCurve& C, const std::vector<int>& States) {
    for (std::size_t I = 0; I < States.size(); ++I) C.PointAt(static_cast<int>(I))->State = static_cast<std::uint8_t>(States[I]);
}

class TTestNode : public TXTNode {};

}  // namespace

TEST(XTCurveRepresentation, PointEditsSendOneMessageAndKeepTheSnapshotAligned) {
    TTestCurve Curve;
    WithPoints(Curve, 4);
    TTestCurve Resting;
    TXTReference R(&Resting);
    R.SetTarget(&Curve);
    std::vector<std::string> Seen;
    R.OnMessage = [&](TXTMessage& M) {
        auto* C = dynamic_cast<TXTChangePointsMessage*>(&M);
        ASSERT_NE(C, nullptr);
        const bool Insert = dynamic_cast<TXTInsertPointMessage*>(&M) != nullptr;
        // The element is where the message says it is when the message arrives.
        Seen.push_back(std::string(Insert ? "insert " : "remove ") + std::to_string(C->Index) + " at " +
                       std::to_string(C->Element->Index()));
    };

    TXTPoint* P = Curve.InsertPointAt(2, {9, 9, 9});
    EXPECT_EQ(Seen, std::vector<std::string>{"insert 2 at 2"});
    EXPECT_EQ(P->Index(), 2);
    ASSERT_EQ(Curve.Snapshot().Count(), 5);
    EXPECT_EQ(Curve.Snapshot().Items(2)->GetPosition(), (TMVector{9, 9, 9}));
    EXPECT_EQ(Curve.Snapshot().Items(3)->GetPosition(), (TMVector{2, 0, 0}));

    Seen.clear();
    Curve.DeletePoint(2);
    EXPECT_EQ(Seen, std::vector<std::string>{"remove 2 at 2"});
    ASSERT_EQ(Curve.PointCount(), 4);
    ASSERT_EQ(Curve.Snapshot().Count(), 4);
    EXPECT_EQ(Curve.Snapshot().Items(2)->GetPosition(), (TMVector{2, 0, 0}));

    // A bad index changes nothing and tells no one.
    Seen.clear();
    EXPECT_THROW(Curve.InsertPointAt(7, {}), EError);
    EXPECT_THROW(Curve.DeletePoint(4), EError);
    EXPECT_TRUE(Seen.empty());
    EXPECT_EQ(Curve.Snapshot().Count(), 4);

    // Clearing the points takes the snapshot with them, so later insertions stay aligned.
    Curve.ClearPoints();
    Curve.AddPointXYZ(5, 5, 5);
    ASSERT_EQ(Curve.Snapshot().Count(), 1);
    EXPECT_EQ(Curve.Snapshot().Items(0)->GetPosition(), (TMVector{5, 5, 5}));
}

TEST(XTCurveRepresentation, BreakPoints) {
    const int F = psFree, I = psInterpolated, B = psBreak, K = psKnuckle, E = psEnd;
    struct TCase {
        std::vector<int> States;
        std::vector<bool> Breaks;
    };
    const TCase Cases[] = {
        {{E, F, F, I, I, E}, {true, false, false, true, false, true}},
        {{E, I, I, I, E}, {true, false, false, false, true}},
        {{F, I, F}, {false, true, false}},
        {{I, I, F}, {false, true, false}},  // the ends count only through their state
        {{E, B, K, F, E}, {true, true, true, false, true}},
    };
    for (const TCase& C : Cases) {
        TTestCurve Curve;
        WithPoints(Curve, static_cast<int>(C.States.size()));
        SetStates(Curve, C.States);
        for (int J = 0; J < Curve.PointCount(); ++J) EXPECT_EQ(Curve.IsBreakPoint(J), C.Breaks[J]) << "point " << J;
        EXPECT_FALSE(Curve.IsBreakPoint(-1));
        EXPECT_FALSE(Curve.IsBreakPoint(Curve.PointCount()));
    }
}

TEST(XTCurveRepresentation, SelectionRange) {
    const std::pair<std::vector<int>, TXTSelectionRange> Cases[] = {
        {{}, {1, -1, -1}},        {{3}, {1, 3, 3}},         {{2, 3, 4}, {2, 2, 4}},
        {{2, 4}, {3, 2, 4}},      {{0, 1, 5}, {3, 0, 5}},  {{5, 6}, {2, 5, 6}},
    };
    for (const auto& [Selected, Expected] : Cases) {
        TTestCurve Curve;
        WithPoints(Curve, 7);
        for (int I : Selected) Curve.PointAt(I)->Selected = true;
        EXPECT_EQ(Curve.SelectionRange(), Expected) << Selected.size() << " selected";
    }
}

TEST(XTTangent, SidesAreCoupledBelowAKnuckle) {
    TXTPoint P;
    P.State = psBreak;
    P.InTangent.SetVector({1, 2, 3});
    EXPECT_EQ(P.OutTangent.GetVector(), (TMVector{-1, -2, -3}));
    P.State = psKnuckle;
    P.InTangent.SetVector({0, 0, 1});
    EXPECT_EQ(P.OutTangent.GetVector(), (TMVector{-1, -2, -3}));

    TXTPoint Q;
    Q.InTangent.SetKind(tkConstraint);
    EXPECT_EQ(Q.OutTangent.GetKind(), tkDirection);  // a free opposite takes the direction
    EXPECT_EQ(Q.State, psFree);
    Q.OutTangent.SetKind(tkConstraint);
    EXPECT_EQ(Q.State, psKnuckle);  // constraints on both sides
    Q.InTangent.Clear();
    EXPECT_EQ(Q.InTangent.GetKind(), tkNone);
}

TEST(XTPoints, ResetCopyAndReverse) {
    TTestCurve Curve;
    WithPoints(Curve, 3);
    for (int I = 0; I < 3; ++I) {
        Curve.PointAt(I)->State = psKnuckle;
        Curve.PointAt(I)->InTangent.SetKind(tkVector);
    }
    Curve.Points().ResetConstraintStates();
    EXPECT_EQ(Curve.PointAt(0)->State, psEnd);
    EXPECT_EQ(Curve.PointAt(1)->State, psFree);
    EXPECT_EQ(Curve.PointAt(2)->State, psEnd);
    EXPECT_EQ(Curve.PointAt(1)->InTangent.GetKind(), tkNone);

    Curve.PointAt(1)->Selected = true;
    Curve.PointAt(1)->State = psBreak;
    Curve.PointAt(1)->OutTangent.SetVector({0, 1, 0});
    TTestCurve Copy;
    Copy.Assign(Curve);
    ASSERT_EQ(Copy.PointCount(), 3);
    EXPECT_EQ(Copy.PointAt(1)->GetCurve(), &Copy);
    EXPECT_EQ(Copy.PointAt(1)->State, psBreak);
    EXPECT_EQ(Copy.PointAt(1)->InTangent.GetVector(), (TMVector{0, -1, 0}));
    EXPECT_FALSE(Copy.PointAt(1)->Selected);
    EXPECT_EQ(Copy.Snapshot().Count(), 3);

    Copy.Points().Reverse();
    EXPECT_EQ(Copy.PointAt(0)->GetPosition(), (TMVector{2, 0, 0}));
    EXPECT_EQ(Copy.Extents().Max, (TMVector{2, 0, 0}));
}

TEST(XTCurveRepresentation, SnapshotTellsMovedPointsAndDetachKeepsPosition) {
    TTestCurve Curve;
    WithPoints(Curve, 3);
    Curve.TakeSnapshot();
    Curve.PointAt(1)->SetY(0.00005);  // within 1e-4
    EXPECT_FALSE(Curve.HasPointMoved(1));
    Curve.PointAt(1)->SetY(0.5);
    EXPECT_TRUE(Curve.HasPointMoved(1));
    Curve.Snapshot().Delete(0);
    EXPECT_FALSE(Curve.HasPointMoved(1));  // counts differ

    Curve.PointAt(1)->State = psKnuckle;
    Curve.PointAt(1)->Selected = true;
    Curve.DetachPoint(1);
    EXPECT_EQ(Curve.PointAt(1)->GetPosition(), (TMVector{1, 0.5, 0}));
    EXPECT_EQ(Curve.PointAt(1)->State, psFree);
    EXPECT_FALSE(Curve.PointAt(1)->Selected);
    EXPECT_EQ(Curve.PointAt(1)->GetCurve(), &Curve);
}

TEST(XTCurveRepresentation, PlaneCrossingsCarryTheirAddress) {
    TTestCurve Curve;
    // Two spans: x runs 0..10 in span 0 (parameter 0..1), then back to 4 in span 1 (parameter 0..2).
    Curve.SetPolyline({{{0, 0, 0, 0, 0.0}}, {{10, 0, 0, 0, 1.0}}, {{10, 0, 0, 1, 0.0}}, {{4, 2, 0, 1, 2.0}}});
    Curve.Stale = true;
    std::unique_ptr<TPolyline> X = Curve.PlaneIntersections({{1, 0, 0}, 5});
    EXPECT_EQ(Curve.Regenerations, 1);
    ASSERT_NE(X, nullptr);
    ASSERT_EQ(X->Count(), 2);
    EXPECT_DOUBLE_EQ(X->Point(0)->X, 5);
    EXPECT_EQ(X->Point(0)->Tag, 0);
    EXPECT_DOUBLE_EQ(X->Point(0)->W, 0.5);
    EXPECT_EQ(X->Point(1)->Tag, 1);
    EXPECT_NEAR(X->Point(1)->W, 5.0 / 3.0, 1e-12);
    EXPECT_NEAR(X->Point(1)->Y, 5.0 / 3.0, 1e-12);
    EXPECT_EQ(Curve.PlaneIntersections({{1, 0, 0}, 20}), nullptr);

    TBeadAddress A;
    Curve.NearestPlaneIntersection({{1, 0, 0}, 5}, {5, 2, 0}, A);
    EXPECT_EQ(A.SegmentIndex, 1);
    Curve.AddressOnAxisPlane({5, -1, 0}, 0, A);  // plane x = 5, nearer the first crossing
    EXPECT_EQ(A, MakeBeadAddress(0, 0.5));
    Curve.AddressOnAxisPlane({3, 1, 0}, 0, A);  // x = 3 is crossed once, in span 0
    EXPECT_EQ(A, MakeBeadAddress(0, 0.3));
    // The plane z = 7 misses the curve: the nearest place instead.
    Curve.AddressOnAxisPlane({2, -3, 7}, 2, A);
    EXPECT_EQ(A.SegmentIndex, 0);
    EXPECT_NEAR(A.T, 0.2, 1e-12);

    TTestCurve Empty;
    Empty.NearestAddress({1, 2, 3}, A);
    EXPECT_FALSE(IsValidAddress(A));
}

TEST(XTCurveRepresentation, TouchingAndShallowCrossings) {
    TTestCurve Curve;
    // The polyline touches the plane y = 0 at its middle point.
    Curve.SetPolyline({{{0, 1, 0, 0, 0.0}}, {{1, 0, 0, 0, 0.5}}, {{2, 1, 0, 0, 1.0}}});
    std::unique_ptr<TPolyline> X = Curve.PlaneIntersections(XZPlane);
    ASSERT_NE(X, nullptr);
    ASSERT_EQ(X->Count(), 2);
    for (int I = 0; I < 2; ++I) {
        EXPECT_DOUBLE_EQ(X->Point(I)->X, 1);
        EXPECT_DOUBLE_EQ(X->Point(I)->W, 0.5);
    }
    TBeadAddress A;
    Curve.NearestPlaneIntersection(XZPlane, {1, 0, 0}, A);
    EXPECT_EQ(A, MakeBeadAddress(0, 0.5));

    // A segment from a point on the plane (within the tolerance) to one just off it is too shallow to
    // cut: the point on the plane is the crossing.
    Curve.SetPolyline({{{0, 0.9e-9, 0, 3, 0.25}}, {{1, 1.2e-9, 0, 3, 0.75}}});
    X = Curve.PlaneIntersections(XZPlane);
    ASSERT_NE(X, nullptr);
    ASSERT_EQ(X->Count(), 1);
    EXPECT_DOUBLE_EQ(X->Point(0)->W, 0.25);
    EXPECT_EQ(X->Point(0)->Tag, 3);

    TRPoint P(TMVector{0, 0, 0}), Q(TMVector{1, 0, 0});
    try {
        Curve.IntersectionOfLineAndPlane(P, Q, XZPlane);
        FAIL() << "parallel line";
    } catch (const EGeometryError& E) {
        EXPECT_STREQ(E.what(),
                     "TXTCurveRepresentation.IntersectionOfLineAndPlane: Intersection attempted with a line "
                     "parallel to plane");
    }
}

TEST(XTCurveRepresentation, DrawsTheCurvesRestingOnItOnce) {
    struct TDrawnCurve : TTestCurve {
        std::vector<std::string>* Log;
        explicit TDrawnCurve(std::string Name, std::vector<std::string>* ALog) : Log(ALog) { SetName(Name); }
        void Draw(IGraphics&) override { Log->push_back(GetName()); }
    };
    std::vector<std::string> Drawn;
    TDrawnCurve Base("Base", &Drawn), Left("Left", &Drawn), Right("Right", &Drawn), Top("Top", &Drawn);
    TTestNode Surface;  // not a curve: not drawn
    std::vector<std::unique_ptr<TXTReference>> Links;
    auto Rest = [&](TXTNode& Owner, TXTNode& Target) {
        Links.push_back(std::make_unique<TXTReference>(&Owner));
        Links.back()->SetTarget(&Target);
    };
    Rest(Left, Base);
    Rest(Right, Base);
    Rest(Top, Left);
    Rest(Top, Right);
    Rest(Surface, Base);
    TRecordingGraphics G;
    Base.DrawWithDependents(G);
    EXPECT_EQ(Drawn, (std::vector<std::string>{"Base", "Left", "Top", "Right"}));
    Links.clear();
}
