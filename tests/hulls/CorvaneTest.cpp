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

namespace {

// The three diagonals as the generator sets them for the default hull (Tc 0.57, Bwl 3.17).
struct TDiagonals {
    TDiagonal A, B, C;
    TDiagonals() {
        const double Angles[3] = {std::numbers::pi / 4, (std::numbers::pi / 4 + std::atan(2.0)) / 2, std::atan(2.0)};
        const double Heights[3] = {0.57, 0.57 + 3.17 / 8, 0.57 + 3.17 / 4};
        TDiagonal* All[3] = {&A, &B, &C};
        for (int I = 0; I < 3; ++I) {
            SetHull(*All[I]);
            All[I]->SetOriginX(11.1);
            All[I]->SetOriginZ(Heights[I]);
            All[I]->SetAngle(Angles[I]);
        }
    }
};

template <class TKind>
void SetMidship(TKind& S, TDiagonals& D) {
    S.SetLoa(12);
    S.SetLwl(10);
    S.SetOvh(0.9);
    S.SetTc(0.57);
    S.SetKeelZ(0);
    S.SetSheerZ(0.57 + 1.35);
    S.SetSheerHalfBreadth(1.62);
    S.SetWaterlineHalfBreadth(1.585);
    S.SetDiagonals(&D.A, &D.B, &D.C);
}

}  // namespace

TEST(CorvaneDiagonal, OffsetsAreInsertedInOrderAndLieInTheDiagonalPlane) {
    TDiagonals D;
    TDiagonal& B = D.B;
    B.SetOffset(10, 1.2);
    B.SetOffset(5, 0.8);
    B.SetOffset(15, 1.0);
    ASSERT_EQ(B.Offsets().Count(), 4);
    for (int I = 1; I < 4; ++I) EXPECT_LT(B.Offsets().Point(I - 1)->X, B.Offsets().Point(I)->X);
    const TMVector P = B.StationPoint(10);
    EXPECT_NEAR(P.X, 6.1, 1e-12);
    EXPECT_NEAR(P.Y, 1.2 * std::sin(B.Angle()), 1e-12);
    EXPECT_NEAR(P.Z, B.OriginZ() - 1.2 * std::cos(B.Angle()), 1e-12);
    EXPECT_EQ(B.Offset(10), 1.2);
    // A second offset at the same station replaces the first.
    B.SetOffset(10, 1.1);
    EXPECT_EQ(B.Offsets().Count(), 4);
    EXPECT_EQ(B.Offset(10), 1.1);

    B.Update();
    // A station without a point gives the distance of the fitted curve from the diagonal's line.
    const TMVector Q = B.StationPoint(8);
    EXPECT_NEAR(B.Offset(8), std::hypot(Q.Y, Q.Z - B.OriginZ()), 1e-6);
    EXPECT_GT(B.Offset(8), 0.8);

    // Moving the origin moves the origin point, wherever X order has put it, and no station point.
    B.SetOriginZ(1.5);
    int Moved = 0;
    for (int I = 0; I < B.Offsets().Count(); ++I)
        if (B.Offsets().Point(I)->X == 11.1 && B.Offsets().Point(I)->Z == 1.5) ++Moved;
    EXPECT_EQ(Moved, 1);
    EXPECT_EQ(B.Offset(5), 0.8);
    B.RemoveQuarterPoints();
    EXPECT_EQ(B.Offsets().Count(), 2);
    B.Clear();
    EXPECT_EQ(B.Offsets().Count(), 1);
    try {
        B.Update();
        FAIL() << "expected a fitting error";
    } catch (const EGeometryError& E) {
        EXPECT_STREQ(E.what(), "TDiagonal.DoUpdate - Fitting of diagonal attempted with less than three points");
    }
}

TEST(CorvaneSection, MidSectionReachesItsAreaAndWaterlineBreadth) {
    TDiagonals D;
    TMidSection S(10);
    SetMidship(S, D);
    const double Target = 2 * 1.585 * 0.57 * 0.752;
    S.SetTargetArea(Target);
    std::vector<std::string> Progress;
    S.OnProgressText = [&](const std::string& T) { Progress.push_back(T); };
    S.Update();
    EXPECT_NEAR(S.Area(), Target, 1e-3 * Target);
    EXPECT_NEAR(S.WaterlineBreadth(), 2 * 1.585, 2e-3);
    EXPECT_NEAR(S.AreaCoefficient(), 0.752, 2e-3);
    ASSERT_EQ(Progress.size(), 1u);
    EXPECT_EQ(Progress[0], "Updating Mid Section");
    // The section runs from the keel to the sheer through the three diagonals' points.
    TBSpline& C = S.Curve();
    ASSERT_EQ(C.Count(), 6);
    EXPECT_EQ(C.Point(0)->Vector(), (TMVector{6.1, 0, 0}));
    EXPECT_EQ(C.Point(5)->Vector(), (TMVector{6.1, 1.62, 1.92}));
    for (TDiagonal* Diag : {&D.A, &D.B, &D.C}) EXPECT_EQ(C.Point(Diag == &D.A ? 2 : Diag == &D.B ? 3 : 4)->Vector(), Diag->StationPoint(10));
    // Diagonal A never reaches below the keel.
    EXPECT_LE(D.A.Offset(10), D.A.OffsetToHeight(0) + 1e-12);
}

TEST(CorvaneSection, QuarterSectionTakesTheAreaItAchieves) {
    TDiagonals D;
    // Fitted diagonals through the midship and the ends, as after the midship section.
    for (TDiagonal* Diag : {&D.B, &D.C}) {
        Diag->SetOffset(0, 0.6);
        Diag->SetOffset(10, 1.4);
    }
    D.B.Update();
    D.C.Update();
    TQuarterSection S(5);
    SetMidship(S, D);
    S.SetWaterlineHalfBreadth(1.4);
    const double CBefore = D.C.Offset(5);
    S.SetTargetArea(0.8);
    std::string Progress;
    S.OnProgressText = [&](const std::string& T) { Progress = T; };
    S.Update();
    EXPECT_EQ(Progress, "Updating Aft Quarter Section");
    EXPECT_NEAR(D.C.Offset(5), CBefore, 1e-12);  // C keeps its interpolated offset, now as a point
    EXPECT_EQ(S.TargetArea(), S.Area());
    EXPECT_NEAR(S.Area(), 0.8, 1e-3);
}

TEST(CorvaneTransom, DiagonalsMeetTheTransomPlaneOrFallBackToItsBottom) {
    TTransom T;
    T.SetTc(0.57);
    T.SetTransomHeight(0.3);
    T.SetFreeAft(1.3);
    T.SetBTransom(2);
    T.SetTransomAngle(30);
    const TMPlane Plane = T.TransomPlane();
    const double E = std::tan(30 * std::numbers::pi / 180) * 1.0;
    for (const TMVector& P : {TMVector{0, 0, 0.87}, TMVector{E, 0, 1.87}, TMVector{E, 1, 1.87}})
        EXPECT_NEAR(Plane.Normal.X * P.X + Plane.Normal.Y * P.Y + Plane.Normal.Z * P.Z, Plane.Distance, 1e-12);

    TDiagonals D;
    for (int I = 0; I <= 10; ++I) D.C.SetOffset(I, 1.0 + 0.04 * I);
    const TMVector Hit = T.TransomPoint(D.C);
    EXPECT_NEAR(Plane.Normal.X * Hit.X + Plane.Normal.Y * Hit.Y + Plane.Normal.Z * Hit.Z, Plane.Distance, 1e-9);
    EXPECT_GT(Hit.Y, 0);
    EXPECT_GE(Hit.Z, 0.87);

    // A diagonal whose stations all stand at one X cannot be fitted: the transom bottom stands in,
    // with a warning.
    std::string Warning;
    T.OnWarning = [&](const std::string& W) { Warning = W; };
    TDiagonals Empty;
    Empty.B.SetLwl(0);
    const TMVector Bottom = T.TransomPoint(Empty.B);
    EXPECT_EQ(Bottom.X, 0);
    EXPECT_EQ(Bottom.Y, 0);
    EXPECT_NEAR(Bottom.Z, 0.87, 1e-12);
    EXPECT_FALSE(Warning.empty());

    T.SetDiagonals(&D.A, &Empty.B, &D.C);
    std::string Progress;
    T.OnProgressText = [&](const std::string& S) { Progress = S; };
    T.Update();
    EXPECT_EQ(Progress, "Update Transom");
    ASSERT_EQ(T.Curve().Count(), 6);
    EXPECT_NEAR(T.Curve().Point(3)->Z, 0.87, 1e-12);
    EXPECT_EQ(T.Curve().Point(3)->Y, 0);
    EXPECT_NEAR(T.Curve().Point(5)->X, E, 1e-12);
}
