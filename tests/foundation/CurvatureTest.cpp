#include "foundation/Curvature.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "VkMathsExpect.h"
#include "foundation/BSpline.h"
#include "foundation/BSplineInterpolate.h"
#include "foundation/CSpline.h"
#include "foundation/Polyline.h"
#include "platform/RecordingGraphics.h"

namespace sarnova {
namespace {

std::unique_ptr<TPolyline> MakePolyline(const std::vector<TMVector>& Points) {
    auto P = std::make_unique<TPolyline>();
    for (const TMVector& V : Points) P->AddVector(V);
    return P;
}

double ToothLength(const TPointDerivative& S) { return VectorDistance(S.Point, S.Tip); }

bool IsFinite(const TMVector& V) { return std::isfinite(V.X) && std::isfinite(V.Y) && std::isfinite(V.Z); }

void ExpectAllFinite(const TCurveAnalysis& A) {
    for (int i = 0; i < A.Count(); ++i) {
        const TPointDerivative& S = A.Items(i);
        EXPECT_TRUE(IsFinite(S.Point) && IsFinite(S.Normal) && IsFinite(S.Tip) && std::isfinite(S.Curvature))
            << "sample " << i;
    }
}

TEST(ThreePointMeasures, TurnIsTwiceTheSineOfHalfTheTurningAngle) {
    struct Case {
        const char* Name;
        TMVector A, B, C;
        TMVector Normal;
        double Turn;
    };
    const double r = std::sqrt(0.5);
    const Case Cases[] = {
        {"straight on", {0, 0, 0}, {2, 0, 0}, {5, 0, 0}, {0, 0, 0}, 0},
        {"right angle", {0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {r, -r, 0}, std::sqrt(2.0)},
        {"full reversal", {0, 0, 0}, {0, 0, 4}, {0, 0, 1}, {0, 0, 1}, 2},
        {"60 degrees, lengths do not count", {0, 0, 0}, {1, 0, 0}, {1 + 50 * 0.5, 50 * std::sqrt(3.0) / 2, 0},
         {0.5, -std::sqrt(3.0) / 2, 0}, 1},
    };
    for (const Case& C : Cases) {
        ExpectNear(ThreePointNormal(C.A, C.B, C.C), C.Normal, 1e-12);
        EXPECT_NEAR(ThreePointTurn(C.A, C.B, C.C), C.Turn, 1e-7) << C.Name;
    }
}

TEST(ThreePointMeasures, RoundingOnAStraightLineGivesZeroNotNaN) {
    // Three points in line along D, spaced Step and Step x Factor apart. For these the two unit
    // vectors sum to a length just over 2, which would put the root below zero.
    struct Case {
        double Step, Factor;
        TMVector D;
    };
    const Case Cases[] = {{0.3, 2, {6, 7, 7}}, {0.3, 0.5, {3, 0, 5}}, {1.3, 0.5, {7, 8, 2}}, {2.9, 1.5, {6, 4, 3}}};
    for (const Case& C : Cases) {
        const TMVector A{0, 0, 0};
        const TMVector B = VectorScale(C.D, C.Step);
        const TMVector End = VectorAdd(B, VectorScale(C.D, C.Step * C.Factor));
        EXPECT_EQ(ThreePointTurn(A, B, End), 0) << C.D.X << " " << C.D.Y << " " << C.D.Z;
    }
}

TEST(CurveAnalysis, PolylineRightAngleCornerPointsAwayFromTheInside) {
    auto P = MakePolyline({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}});
    TCurveAnalysis A;
    A.Analyse(*P);
    ASSERT_EQ(A.Count(), 3);
    // No tooth at the ends.
    EXPECT_EQ(A.Items(0).Tip, A.Items(0).Point);
    EXPECT_EQ(A.Items(2).Tip, A.Items(2).Point);
    const TPointDerivative& Corner = A.Items(1);
    EXPECT_EQ(Corner.Point, (TMVector{10, 0, 0}));
    EXPECT_NEAR(Corner.Curvature, std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(ToothLength(Corner), 6 * 10 * std::sqrt(2.0), 1e-9);  // 84.85
    // The inside of the corner is towards (0, 10); the tooth goes the other way.
    const double Half = 6 * 10 * std::sqrt(2.0) * std::sqrt(0.5);
    ExpectNear(Corner.Tip, {10 + Half, -Half, 0}, 1e-9);
}

TEST(CurveAnalysis, StraightPolylinesHaveZeroLengthTeeth) {
    const std::vector<std::vector<TMVector>> Lines = {
        {{0, 0, 0}, {1, 0, 0}, {3, 0, 0}, {6, 0, 0}},
        {{0, 0, 0}, {0.1, 0.1, 0.1}, {0.7, 0.7, 0.7}, {2.3, 2.3, 2.3}, {9, 9, 9}},
    };
    for (const auto& Points : Lines) {
        auto P = MakePolyline(Points);
        TCurveAnalysis A;
        A.AnalysePolyline(*P);
        ASSERT_EQ(A.Count(), static_cast<int>(Points.size()));
        for (int i = 0; i < A.Count(); ++i) {
            EXPECT_EQ(A.Items(i).Point, Points[static_cast<std::size_t>(i)]);
            EXPECT_LT(ToothLength(A.Items(i)), 1e-6) << i;
        }
        ExpectAllFinite(A);
    }
}

TEST(CurveAnalysis, PolylineCombSkipsRepeatedPointsAndShortPolylines) {
    TCurveAnalysis A;
    // A repeated corner counts once, and the corner still gets its tooth.
    auto Repeated = MakePolyline({{0, 0, 0}, {10, 0, 0}, {10, 0, 0}, {10, 10, 0}});
    A.Analyse(*Repeated);
    ASSERT_EQ(A.Count(), 3);
    EXPECT_NEAR(ToothLength(A.Items(1)), 6 * 10 * std::sqrt(2.0), 1e-9);
    EXPECT_EQ(Repeated->Count(), 4);  // the caller's polyline is left alone

    // Two points: the comb that was there goes.
    auto Two = MakePolyline({{0, 0, 0}, {5, 5, 0}});
    A.Analyse(*Two);
    EXPECT_EQ(A.Count(), 0);

    // Three points of which only one is distinct: ends only, nothing drawn with NaN.
    auto Same = MakePolyline({{1, 2, 3}, {1, 2, 3}, {1, 2, 3}});
    A.Analyse(*Same);
    ASSERT_EQ(A.Count(), 1);
    EXPECT_EQ(A.Items(0).Tip, (TMVector{1, 2, 3}));
}

// A closed cubic through 72 points of a circle of radius 5 about (1, 2, 0).
std::unique_ptr<TBSpline> CircleCurve() {
    TPolyline P;
    for (int i = 0; i <= 72; ++i) {
        const double a = 2 * std::numbers::pi * i / 72;
        P.AddVector({1 + 5 * std::cos(a), 2 + 5 * std::sin(a), 0});
    }
    return InterpolateBSpline(4, P);
}

TEST(CurveAnalysis, CircleCombHasTeethOfRadiusReciprocalTimesExtentPointingOut) {
    auto Circle = CircleCurve();
    const double L = TCurveAnalysis::LargestExtent(Circle->Extents());
    ASSERT_NEAR(L, 10, 0.05);
    TCurveAnalysis A;
    A.Analyse(*Circle);
    ASSERT_EQ(A.Count(), static_cast<int>(Circle->DigitisationParameters(true).size()));
    const TMVector Centre{1, 2, 0};
    // The ends of the interpolation lack the neighbours that pin the curvature; look inside.
    for (int i = 10; i < A.Count() - 10; ++i) {
        const TPointDerivative& S = A.Items(i);
        EXPECT_NEAR(S.Curvature, 0.2, 1e-3) << i;
        EXPECT_NEAR(ToothLength(S), S.Curvature * L, 1e-9) << i;
        EXPECT_NEAR(VectorLength(S.Normal), 1, 1e-12) << i;
        // Outwards: the tip lies farther from the centre by the tooth's length.
        EXPECT_NEAR(VectorDistance(S.Tip, Centre) - VectorDistance(S.Point, Centre), ToothLength(S), 1e-3) << i;
    }
    ExpectAllFinite(A);
}

TEST(CurveAnalysis, SmoothCurveWithVanishingFirstDerivativeHasNoToothThere) {
    // A Bezier whose first two control points coincide starts with zero speed.
    TBSpline Curve(4);
    for (const TMVector& V : std::vector<TMVector>{{0, 0, 0}, {0, 0, 0}, {4, 3, 0}, {8, 0, 0}}) Curve.AddVector(V);
    TCurveAnalysis A;
    A.AnalyseCurve(Curve);
    ASSERT_GT(A.Count(), 2);
    EXPECT_EQ(A.Items(0).Curvature, 0);
    EXPECT_EQ(A.Items(0).Tip, A.Items(0).Point);
    ExpectAllFinite(A);
}

TEST(CurveAnalysis, SmoothStraightCurveAndEmptyCurveHaveNoTeeth) {
    TBSpline Line(3);
    for (int i = 0; i < 5; ++i) Line.AddVector({double(i), 2.0 * i, 0});
    TCurveAnalysis A;
    A.Analyse(Line);
    ASSERT_GT(A.Count(), 0);
    for (int i = 0; i < A.Count(); ++i) EXPECT_LT(ToothLength(A.Items(i)), 1e-9) << i;
    ExpectAllFinite(A);

    TBSpline Empty(4);
    A.Analyse(Empty);
    EXPECT_EQ(A.Count(), 0);
}

TEST(CurveAnalysis, AnalyseChoosesTheMethodByExactClass) {
    // The same three points: as a polyline, one tooth of 6 L sqrt(2) at the corner; as a quadratic
    // B-spline, a smooth comb sampled at its display parameters.
    const std::vector<TMVector> Points{{0, 0, 0}, {10, 0, 0}, {10, 10, 0}};
    auto P = MakePolyline(Points);
    TBSpline S(3);
    for (const TMVector& V : Points) S.AddVector(V);
    TCurveAnalysis A;
    A.Analyse(*P);
    EXPECT_EQ(A.Count(), 3);
    A.Analyse(S);
    EXPECT_EQ(A.Count(), 100);
    EXPECT_EQ(A.Items(0).Point, (TMVector{0, 0, 0}));
    EXPECT_EQ(A.Items(99).Point, (TMVector{10, 10, 0}));

    // A generated curve, evaluated from its last Generate, is sampled at its own parameters.
    TCSpline C;
    for (const TMVector& V : std::vector<TMVector>{{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}}) C.AddVector(V);
    C.Generate();
    A.Analyse(C);
    ASSERT_EQ(A.Count(), C.SegmentCount + 1);
    ExpectNear(A.Items(0).Point, {0, 0, 0});
    ExpectNear(A.Items(C.SegmentCount).Point, {0, 10, 0});
    ExpectAllFinite(A);
}

TEST(CurveAnalysis, AssignCopiesAndDrawGoesFromPointToTip) {
    auto P = MakePolyline({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}});
    TCurveAnalysis A;
    A.Analyse(*P);
    TCurveAnalysis B;
    B.Add(std::make_unique<TPointDerivative>());
    B.Assign(A);
    ASSERT_EQ(B.Count(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_NE(&B.Items(i), &A.Items(i));
        EXPECT_EQ(B.Items(i).Tip, A.Items(i).Tip);
        EXPECT_EQ(B.Items(i).Normal, A.Items(i).Normal);
        EXPECT_EQ(B.Items(i).Curvature, A.Items(i).Curvature);
    }

    TRecordingGraphics G;
    B.Draw(G);
    ASSERT_EQ(G.Calls.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(G.Calls[i].Name, "LineVectors");
        EXPECT_EQ(G.Calls[i].Points, (std::vector<TMVector>{B.Items(i).Point, B.Items(i).Tip}));
    }

    ExpectError([&] { B.Items(4); }, "List index out of bounds (4)");
    ExpectError([&] { B.Items(-1); }, "List index out of bounds (-1)");
    B.Clear();
    EXPECT_EQ(B.Count(), 0);
}

TEST(CurveAnalysis, LargestExtentIsTheLongestSide) {
    EXPECT_EQ(TCurveAnalysis::LargestExtent({{3, 7, 1}, {1, 2, -4}}), 5);
    EXPECT_EQ(TCurveAnalysis::LargestExtent({{9, 7, 1}, {1, 2, 0}}), 8);
}

}  // namespace
}  // namespace sarnova
