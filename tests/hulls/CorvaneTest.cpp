#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "foundation/Errors.h"
#include "hulls/Corvane.h"

using namespace sarnova;

namespace {

// The generator's default yacht: 12 m overall, 10 m waterline, 0.9 m bow overhang, 0.57 m draught.
template <class TCurve>
void SetHull(TCurve& C) {
    C.SetLoa(12);
    C.SetLwl(10);
    C.SetOvh(0.9);
    C.SetTc(0.57);
}

void SetDefaultProfile(TProfile& P) {
    SetHull(P);
    P.SetFreeBow(1.5);
    P.SetForeFoot(0.2);
    P.SetBowCurve(0);
    P.SetFreeAft(1.3);
    P.SetTransomAngle(30);
}

void SetDefaultSheer(TSheerLine& S, double TransomHeight) {
    SetHull(S);
    S.SetFreeAft(1.3);
    S.SetFreeMid(1.35);
    S.SetFreeBow(1.5);
    S.SetBMax(3.25);
    S.SetBTransom(2);
    S.SetTransomHeight(TransomHeight);
    S.SetTransomAngle(30);
}

double WidestHalfBreadth(TBSpline& C) {
    double Widest = 0;
    for (int I = 0; I <= 1000; ++I) Widest = std::max(Widest, C.EvaluatePoint(C.MinT() + C.ParameterRange() * I / 1000).Y);
    return Widest;
}

}  // namespace

TEST(CorvaneFormCurves, StationsSpanTheWaterlineFromItsAftEnd) {
    TWaterline W;
    SetHull(W);
    EXPECT_NEAR(W.StartX(), 1.1, 1e-12);
    EXPECT_NEAR(W.EndX(), 11.1, 1e-12);
    EXPECT_NEAR(W.StationX(10), 6.1, 1e-12);
    EXPECT_NEAR(W.StationX(20), 11.1, 1e-12);
    // Before any update no station has a point: the fallback lies on the station at the origin height.
    const TMVector P = W.StationPoint(7);
    EXPECT_NEAR(P.X, W.StationX(7), 1e-12);
    EXPECT_EQ(P.Y, 0);
    EXPECT_EQ(P.Z, 0);
}

TEST(CorvaneFormCurves, UpdateRunsOnceAndOnlyChangedValuesInvalidate) {
    TProfile P;
    SetDefaultProfile(P);
    int Changes = 0;
    std::vector<std::string> Progress;
    P.OnChange = [&](TFormCurve&) { ++Changes; };
    P.OnProgressText = [&](const std::string& S) { Progress.push_back(S); };
    P.Update();
    P.Update();
    EXPECT_TRUE(P.UpToDate());
    EXPECT_EQ(Changes, 1);
    ASSERT_EQ(Progress.size(), 1u);
    EXPECT_EQ(Progress[0], "Update Profile");

    P.SetFreeBow(1.5);  // unchanged
    EXPECT_TRUE(P.UpToDate());
    P.SetFreeBow(1.6);
    EXPECT_FALSE(P.UpToDate());
    P.Update();
    EXPECT_EQ(Changes, 2);
    P.Invalidate();
    EXPECT_FALSE(P.UpToDate());
}

TEST(CorvaneFormCurves, ProfileMeetsTheWaterlineAtItsAftEndAndEndsAtTheStemHead) {
    TProfile P;
    SetDefaultProfile(P);
    const double Height = P.GetTransomHeight();
    EXPECT_TRUE(P.UpToDate());
    EXPECT_GE(Height, -0.57);
    EXPECT_LE(Height, 1.3);
    TBSpline& C = P.Curve();
    ASSERT_EQ(C.Count(), 19);
    EXPECT_NEAR(C.Point(0)->Z, 0.57 + Height, 1e-12);
    auto AtStart = C.PointAtX(P.StartX());
    ASSERT_TRUE(AtStart);
    EXPECT_NEAR(AtStart->Z, 0.57, 1e-3);
    const TMVector Head = C.EvaluatePoint(C.MaxT());
    EXPECT_NEAR(Head.X, 12, 1e-9);
    EXPECT_NEAR(Head.Z, 0.57 + 1.5, 1e-9);
    // Midships the canoe body sits on its lowest point.
    ASSERT_TRUE(P.Station(10));
    EXPECT_NEAR(P.Station(10)->Z, 0, 1e-6);
}

TEST(CorvaneFormCurves, SheerReachesTheGreatestBeamOrFallsBackToTheTransomBeam) {
    struct Case {
        double BMax;
        double ExpectedBMax;
    };
    for (const Case& K : std::vector<Case>{{3.25, 3.25}, {2.0, 2.0}, {1.5, 2.0}}) {
        SCOPED_TRACE(K.BMax);
        TSheerLine S;
        SetDefaultSheer(S, 0.3);
        S.SetBMax(K.BMax);
        S.Update();
        EXPECT_EQ(S.BMax(), K.ExpectedBMax);
        ASSERT_EQ(S.Curve().Count(), 3);
        if (K.BMax > 2.0) {
            EXPECT_NEAR(WidestHalfBreadth(S.Curve()), K.BMax / 2, 2e-3);
        } else {
            EXPECT_EQ(S.Curve().Point(1)->Y, 1.0);
        }
        const TMVector Top = S.Curve().EvaluatePoint(S.Curve().MinT());
        EXPECT_NEAR(Top.Y, 1.0, 1e-9);
        EXPECT_NEAR(Top.Z, 0.57 + 1.3, 1e-9);
    }
}

TEST(CorvaneFormCurves, SheerReducesATransomRakeThatReachesPastTheWaterline) {
    TSheerLine S;
    SetDefaultSheer(S, 0.3);
    S.SetTransomAngle(80);  // tan 80 deg x 1.0 m lies far forward of StartX = 1.1
    S.Update();
    EXPECT_NEAR(S.TransomAngle(), std::atan2(1.1, 1.0) * 180 / std::numbers::pi, 1e-9);
    EXPECT_NEAR(S.Curve().EvaluatePoint(S.Curve().MinT()).X, 1.1 - 0.0001, 1e-9);

    TSheerLine Mild;
    SetDefaultSheer(Mild, 0.3);
    Mild.Update();
    EXPECT_EQ(Mild.TransomAngle(), 30);
}

TEST(CorvaneFormCurves, WaterlineReachesItsCoefficientAndCentreOfFlotation) {
    struct Case {
        double Cwp, Lcf;
    };
    for (const Case& K : std::vector<Case>{{0.73, 55}, {0.68, 52}}) {
        SCOPED_TRACE(K.Cwp);
        TWaterline W;
        SetHull(W);
        W.SetBwl(3.17);
        W.SetCwp(K.Cwp);
        W.SetLcf(K.Lcf);
        W.Update();
        EXPECT_NEAR(W.WaterplaneCoefficient(), K.Cwp, 2e-3);
        EXPECT_NEAR(W.FlotationFraction(), K.Lcf / 100, 2e-3);
        ASSERT_TRUE(W.Station(10));
        EXPECT_NEAR(W.Station(10)->Z, 0.57, 1e-9);
        EXPECT_NEAR(W.StationPoint(20).Y, 0, 1e-3);
    }
}

TEST(CorvaneFormCurves, CentreOfFlotationIsLimitedToTheMiddleHalf) {
    struct Case {
        double Value, Stored;
    };
    for (const Case& K : std::vector<Case>{{10, 25}, {90, 75}, {40, 40}}) {
        TWaterline W;
        W.SetLcf(K.Value);
        EXPECT_EQ(W.Lcf(), K.Stored) << K.Value;
    }
}

TEST(CorvaneFormCurves, LeastSquaresRecoversAQuadraticAndMeetsAPlane) {
    TDiagonalLeastSquares Q;
    for (double X : {0.0, 1.0, 2.0, 3.0, 4.5})
        Q.AddPoint({X, 0.5 * X * X - X + 2, -0.25 * X * X + 3 * X - 1});
    Q.Solve();
    EXPECT_NEAR(Q.A, 0.5, 1e-9);
    EXPECT_NEAR(Q.B, -1, 1e-9);
    EXPECT_NEAR(Q.C, 2, 1e-9);
    EXPECT_NEAR(Q.D, -0.25, 1e-9);
    EXPECT_NEAR(Q.E, 3, 1e-9);
    EXPECT_NEAR(Q.F, -1, 1e-9);
    // y = 2 is met at x = 0 and x = 2: the root of smaller magnitude wins.
    const TMVector P = Q.Intersect({{0, 1, 0}, 2});
    EXPECT_NEAR(P.X, 0, 1e-9);
    EXPECT_NEAR(P.Z, -1, 1e-9);
    // y never drops to 1 (its least value is 1.5).
    try {
        Q.Intersect({{0, 1, 0}, 1});
        FAIL() << "expected no roots";
    } catch (const EGeometryError& E) {
        EXPECT_STREQ(E.what(), "TDiagonalLeastSquares.F - Quadratic Diagonal Equation has no roots");
    }
}

TEST(CorvaneFormCurves, LeastSquaresRefusesTooFewPoints) {
    TDiagonalLeastSquares Q;
    Q.AddPoint({1, 1, 1});
    Q.AddPoint({2, 1, 1});
    EXPECT_THROW(Q.Solve(), EGeometryError);
}
