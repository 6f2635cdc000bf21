#include "foundation/BSpline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "foundation/BSplineInterpolate.h"
#include "foundation/Errors.h"
#include "foundation/TextFile.h"
#include "platform/RecordingGraphics.h"

namespace sarnova {
namespace {

std::unique_ptr<TBSpline> MakeCurve(const std::vector<TMVector>& Points, int Order = 4,
                                    TKnotType Type = ktOpen) {
    auto Curve = std::make_unique<TBSpline>(Order);
    for (const TMVector& P : Points) Curve->AddVector(P);
    Curve->KnotType = Type;
    return Curve;
}

// n points along the x axis.
std::unique_ptr<TBSpline> MakeLine(int n, int Order = 4, TKnotType Type = ktOpen) {
    std::vector<TMVector> Points;
    for (int i = 0; i < n; ++i) Points.push_back({double(i), 0, 0});
    return MakeCurve(Points, Order, Type);
}

std::vector<double> KnotsOf(const TBSpline& Curve) {
    std::vector<double> Result;
    for (int i = 1; i <= Curve.KnotCount(); ++i) Result.push_back(Curve.Knot(i));
    return Result;
}

std::string SaveText(TBSpline& Curve) {
    TTextWriter Out;
    Curve.SaveToText(Out);
    return Out.Text();
}

std::unique_ptr<TBSpline> LoadText(const std::string& Text) {
    auto Curve = std::make_unique<TBSpline>(4);
    TTextReader In(Text);
    Curve->LoadFromText(In);
    return Curve;
}

// The message of the EError that Action throws; "" when it throws none.
std::string ErrorOf(const std::function<void()>& Action) {
    try {
        Action();
    } catch (const EError& E) {
        return E.what();
    }
    return "";
}

void ExpectNear(const TMVector& Actual, const TMVector& Expected, double Tol, const std::string& What) {
    EXPECT_NEAR(Actual.X, Expected.X, Tol) << What;
    EXPECT_NEAR(Actual.Y, Expected.Y, Tol) << What;
    EXPECT_NEAR(Actual.Z, Expected.Z, Tol) << What;
}

const std::vector<TMVector> SixPoints = {{0, 0, 0}, {1, 2, 0.5}, {2, -1, 1}, {4, 3, -1}, {5, 0, 2}, {7, 1, 0}};

// ---- Knot vectors and parameter range ----

TEST(BSplineKnots, EachKnotTypeBuildsItsVectorAndRange) {
    struct Case {
        const char* Name;
        std::function<std::unique_ptr<TBSpline>()> Make;
        std::vector<double> Knots;
        double MinT, MaxT;
        int Order;
    };
    const Case Cases[] = {
        {"empty open", [] { return MakeLine(0); }, {0, 0, 0, 0}, 0, 0, 4},
        {"4 points open", [] { return MakeLine(4); }, {0, 0, 0, 0, 1, 1, 1, 1}, 0, 1, 4},
        {"6 points open", [] { return MakeLine(6); }, {0, 0, 0, 0, 1, 2, 3, 3, 3, 3}, 0, 3, 4},
        {"2 points open, order 4", [] { return MakeLine(2); }, {0, 0, 0, 0, 0, 0}, 0, 0, 4},
        {"6 points periodic", [] { return MakeLine(6, 4, ktPeriodic); }, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 3, 6, 4},
        {"forced Bezier, 7 points",
         [] {
             auto C = MakeLine(7);
             C->SetForcedBezier(true);
             C->SetOrder(4);  // switches it off again
             C->SetForcedBezier(true);
             return C;
         },
         {0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1}, 0, 1, 7},
        {"stored knots made non-decreasing",
         [] {
             auto C = MakeLine(6, 4, ktNonUniform);
             C->SetKnotsText("[0 0 0 0 2 1 3 3 3 3]");
             return C;
         },
         {0, 0, 0, 0, 2, 2, 3, 3, 3, 3}, 0, 3, 4},
        {"stored knots below u[k] lowered",
         [] {
             auto C = MakeLine(4, 4, ktNonUniform);
             C->SetKnotsText("[0 5 1 2 3 3 3 3]");
             return C;
         },
         {0, 1, 1, 2, 3, 3, 3, 3}, 2, 3, 4},
    };
    for (const Case& C : Cases) {
        auto Curve = C.Make();
        Curve->UpdateKnots();
        EXPECT_EQ(KnotsOf(*Curve), C.Knots) << C.Name;
        EXPECT_EQ(Curve->MinT(), C.MinT) << C.Name;
        EXPECT_EQ(Curve->MaxT(), C.MaxT) << C.Name;
        EXPECT_EQ(Curve->GetOrder(), C.Order) << C.Name;
    }
}

TEST(BSplineKnots, RebuiltAfterEveryChange) {
    auto Curve = MakeLine(4);
    Curve->UpdateKnots();
    Curve->AddPoint(4, 0, 0);
    Curve->UpdateKnots();
    EXPECT_EQ(KnotsOf(*Curve), std::vector<double>({0, 0, 0, 0, 1, 2, 2, 2, 2}));
    Curve->SetOrder(3);
    Curve->UpdateKnots();
    EXPECT_EQ(KnotsOf(*Curve), std::vector<double>({0, 0, 0, 1, 2, 3, 3, 3}));
    Curve->KnotType = ktNonUniform;
    Curve->SetKnot(5, 7);
    Curve->UpdateKnots();
    EXPECT_EQ(KnotsOf(*Curve), std::vector<double>({0, 0, 0, 1, 7, 7, 7, 7}));
    Curve->KnotType = ktPeriodic;
    Curve->UpdateKnots();
    EXPECT_EQ(KnotsOf(*Curve), std::vector<double>({0, 1, 2, 3, 4, 5, 6, 7}));
}

TEST(BSplineKnots, SpanSearchAndBasisDerivatives) {
    auto Curve = MakeLine(6);
    Curve->UpdateKnots();
    const TKnotArray& u = Curve->Knots();  // 0 0 0 0 1 2 3 3 3 3
    const std::pair<double, int> Spans[] = {{0, 4}, {0.5, 4}, {1, 5}, {2.99, 6}, {3, 6}, {-0.1, -1}, {3.1, -1}, {std::nan(""), -1}};
    for (auto [T, Span] : Spans) EXPECT_EQ(FindKnotSpan(6, 3, u, T), Span) << T;
    EXPECT_EQ(FindKnotSpan(2, 3, u, 0), -1);  // fewer points than the order

    // A cubic's fourth and fifth derivatives are zero; the basis sums to 1 and its derivatives to 0.
    TBSplineDerivatives D;
    BasisFunctionDerivatives(5, 3, 5, D, u, 1.5);
    ASSERT_EQ(D.size(), 6u);
    for (std::size_t r = 0; r < D.size(); ++r) {
        ASSERT_EQ(D[r].size(), 4u);
        double Sum = 0;
        for (const double v : D[r]) Sum += v;
        EXPECT_NEAR(Sum, r == 0 ? 1 : 0, 1e-14) << r;
    }
    EXPECT_EQ(D[4], std::vector<double>(4, 0.0));
    std::array<double, 4> N{};
    BasisFunctions(4, 3, u, N, 1.5);
    for (int j = 0; j < 4; ++j) EXPECT_EQ(N[j], D[0][j]);
    EXPECT_NE(ErrorOf([&] { BasisFunctionDerivatives(2, 3, 1, D, u, 0); }), "");
    EXPECT_NE(ErrorOf([&] { BasisFunctions(497, 3, u, N, 0); }), "");
}

TEST(BSplineKnots, CustomRangeLiesInsideItsLimits) {
    auto Curve = MakeLine(4, 4, ktCustom);
    Curve->SetKnotsText("[0 0 0 0 1 1 1 1]");
    Curve->MinTParameter = 0.2;
    Curve->MaxTParameter = 5;
    EXPECT_DOUBLE_EQ(Curve->MinT(), 0.200001);
    EXPECT_EQ(Curve->MaxT(), 1);
    EXPECT_DOUBLE_EQ(Curve->ParameterRange(), 1 - 0.200001);
}

// ---- Evaluation ----

TEST(BSplineEvaluation, MatchesAnIndependentDeBoorEvaluation) {
    // Position, first and second derivative of the six-point cubic with knots 0 0 0 0 1 2 3 3 3 3,
    // computed outside this code by de Boor's algorithm on the curve and its hodographs.
    struct Row {
        double T;
        TMVector P, D1, D2;
    };
    const Row Reference[] = {
        {0.0, {0.0, 0.0, 0.0}, {3.0, 6.0, 1.5}, {-3.0, -21.0, -1.5}},
        {0.3, {0.7807499999999998, 0.9877499999999999, 0.37687499999999996}, {2.2575, 1.0274999999999999, 0.9937499999999998},
         {-1.9499999999999997, -12.149999999999999, -1.8749999999999998}},
        {1.0, {2.0833333333333335, 0.41666666666666663, 0.5416666666666667}, {1.75, -0.25, -0.625}, {0.5, 8.5, -2.75}},
        {1.5, {3.0, 1.0, 0.078125}, {1.875, 1.875, -0.84375}, {0.0, 0.0, 1.875}},
        {2.25, {4.36328125, 1.31640625, 0.52734375}, {1.921875, -1.640625, 2.015625}, {1.875, -2.625, -0.375}},
        {2.9, {6.443416666666665, 0.7710833333333332, 0.4995833333333337}, {5.147499999999999, 1.6174999999999988, -4.037499999999999},
         {8.049999999999999, 12.649999999999997, -18.249999999999996}},
        {3.0, {7.0, 1.0, 0.0}, {6.0, 3.0, -6.0}, {9.0, 15.0, -21.0}},
    };
    auto Curve = MakeCurve(SixPoints);
    Curve->UpdateKnots();
    for (const Row& R : Reference) {
        const std::string At = "T = " + std::to_string(R.T);
        const auto P = Curve->PointAt(R.T);
        ExpectNear(P->Vector(), R.P, 1e-12, At);
        EXPECT_EQ(P->T, R.T);
        EXPECT_EQ(P->W, 1.0);
        const TCurveDerivatives D = Curve->Derivatives(R.T);
        ExpectNear(D[0], R.P, 1e-12, At);
        ExpectNear(D[1], R.D1, 1e-12, At);
        ExpectNear(D[2], R.D2, 1e-12, At);
    }
}

TEST(BSplineEvaluation, FirstDerivativesAgreeWithTheFullDerivatives) {
    // Orders 2 to 5, repeated interior knots and knots left out of order, at parameters taken out of
    // order, on the span ends and outside the range; each answer against a fresh copy of the curve,
    // which has no earlier span to start from.
    struct TCase {
        const char* Name;
        int Order;
        TKnotType Type;
        const char* Knots;
    } Cases[] = {{"open cubic", 4, ktOpen, ""},          {"open quadratic", 3, ktOpen, ""},
                 {"open linear", 2, ktOpen, ""},         {"open quartic", 5, ktOpen, ""},
                 {"double knot", 4, ktNonUniform, "[0 0 0 0 1 1 2.5 3 3 3]"},
                 {"out of order", 4, ktNonUniform, "[0 0 0 0 2 1 3 3 3 3]"}};
    const double Ts[] = {0, 2.99, 0.3, 1, 1.0000001, 2.5, 0.999, 3, -0.1, 3.2, 1.5, std::nan(""), 2.25, 0.7};
    for (const TCase& C : Cases) {
        auto Curve = MakeCurve(SixPoints, C.Order, C.Type);
        if (*C.Knots) Curve->SetKnotsText(C.Knots);
        for (const double T : Ts) {
            const std::string At = std::string(C.Name) + ", T = " + std::to_string(T);
            const TCurveFirstDerivatives F = Curve->FirstDerivatives(T);
            const TCurveDerivatives D = Curve->Clone()->Derivatives(T);
            ExpectNear(F[0], D[0], 1e-12, At);
            ExpectNear(F[1], D[1], 1e-11, At);
            EXPECT_EQ(Curve->Derivatives(T), D) << At;
        }
    }
    // Through the curve interface, and on a curve too short for its order.
    const auto Owned = MakeCurve(SixPoints);
    TCurve& AsCurve = *Owned;
    ExpectNear(AsCurve.FirstDerivatives(1.5)[1], AsCurve.Derivatives(1.5)[1], 1e-12, "interface");
    EXPECT_EQ(MakeLine(3)->FirstDerivatives(0), (TCurveFirstDerivatives{}));
}

TEST(BSplineEvaluation, BasisValuesFollowTheFullRecursion) {
    // Values of the Cox-de Boor recursion over all functions, computed outside this code: outside
    // the range of a periodic curve, on a repeated interior knot, and on knots left out of order.
    struct Case {
        const char* Name;
        TKnotType Type;
        int n;
        const char* Knots;
        double T;
        std::vector<double> Basis;
    };
    const Case Cases[] = {
        {"periodic, before the range", ktPeriodic, 6, "", 1.5, {0.4791666666666667, 0.020833333333333332, 0, 0, 0, 0}},
        {"periodic, inside", ktPeriodic, 6, "", 4.25, {0, 0.0703125, 0.6119791666666667, 0.31510416666666663, 0.0026041666666666665, 0}},
        {"double knot", ktNonUniform, 7, "[0 0 0 0 1 1 2.5 3 3 3 3]", 1.2,
         {0, 0, 0.3905777777777778, 0.5725333333333333, 0.03555555555555554, 0.0013333333333333324, 0}},
        {"knots out of order", ktNonUniform, 6, "[0 0 0 0 2 1 3 3 3 3]", 1.5, {0.015625, 0.140625, 0.84375, 0.84375, 0.140625, 0.015625}},
        {"knots out of order, later", ktNonUniform, 6, "[0 0 0 0 2 1 3 3 3 3]", 2.5,
         {0, 0, 0.020833333333333332, 0.2604166666666667, 0.296875, 0.421875}},
    };
    for (const Case& C : Cases) {
        auto Curve = MakeLine(C.n, 4, C.Type);
        if (C.Type == ktPeriodic) Curve->UpdateKnots();
        Curve->SetKnotsText(C.Knots);  // no UpdateKnots: the knots are evaluated as they stand
        Curve->ComputeBasis(C.T);
        for (int i = 1; i <= C.n; ++i) EXPECT_NEAR(Curve->Basis(i), C.Basis[i - 1], 1e-15) << C.Name << ", N" << i;
    }
}

TEST(BSplineEvaluation, EndsAndParametersOutsideTheCurve) {
    auto Curve = MakeCurve({{1, 2, 3}, {2, 5, 1}, {4, 4, 0}, {6, 1, 2}});
    Curve->UpdateKnots();
    EXPECT_EQ(Curve->PointAt(0)->Vector(), TMVector({1, 2, 3}));
    EXPECT_EQ(Curve->PointAt(1)->Vector(), TMVector({6, 1, 2}));
    // Outside the knots every basis function is zero.
    EXPECT_EQ(Curve->PointAt(1.5)->Vector(), ZeroVector);
    EXPECT_EQ(Curve->PointAt(std::nan(""))->Vector(), ZeroVector);
    for (const double T : {-0.5, 1.5, std::nan("")})
        for (const TMVector& V : Curve->Derivatives(T)) EXPECT_EQ(V, ZeroVector) << T;
    // Too few points for the order: no derivatives instead of reading before the first point.
    auto Short = MakeLine(3);
    for (const TMVector& V : Short->Derivatives(0)) EXPECT_EQ(V, ZeroVector);
}

TEST(BSplineEvaluation, FrenetFrameOfAParabola) {
    // The quadratic Bezier (0,0) (1,1) (2,0) at its middle: d1 = (2, 0, 0), d2 = (0, -4, 0).
    auto Curve = MakeCurve({{0, 0, 0}, {1, 1, 0}, {2, 0, 0}}, 3);
    const TFrenetFrame F = Curve->FrenetFrame(0.5);
    ExpectNear(F.Point, {1, 0.5, 0}, 1e-15, "point");
    ExpectNear(F.Tangent, {1, 0, 0}, 1e-15, "tangent");
    ExpectNear(F.Binormal, {0, 0, -1}, 1e-15, "binormal");
    ExpectNear(F.Normal, {0, -1, 0}, 1e-15, "normal");
    EXPECT_NEAR(F.Curvature, 1, 1e-15);
}

TEST(BSplineEvaluation, PointAtACoordinate) {
    auto Curve = MakeCurve(SixPoints);
    const auto P = Curve->PointAtX(4.36328125);
    ASSERT_NE(P, nullptr);
    EXPECT_NEAR(P->X, 4.36328125, Curve->Tolerance);
    EXPECT_NEAR(P->T, 2.25, 1e-3);
    EXPECT_EQ(Curve->PointAtX(8), nullptr);
    EXPECT_EQ(Curve->PointAtZ(-5), nullptr);
    // A break in the curve (an interior knot of full multiplicity) where x jumps from 1 to 2: the
    // search cannot come within the tolerance of 1.5 and gives up instead of halving forever.
    auto Broken = MakeCurve({{0, 0, 0}, {0.3, 0, 0}, {0.6, 0, 0}, {1, 0, 0}, {2, 0, 0}, {2.3, 0, 0}, {2.6, 0, 0}, {3, 0, 0}},
                            4, ktNonUniform);
    Broken->SetKnotsText("[0 0 0 0 1 1 1 1 2 2 2 2]");
    EXPECT_EQ(Broken->PointAtX(1.5), nullptr);
    ASSERT_NE(Broken->PointAtX(2.3), nullptr);
}

// ---- Sampling, digitising and drawing ----

TEST(BSplineSampling, ParameterCountsAndSegmentCounts) {
    for (const int n : {1, 4, 10, 11, 30}) {
        auto Curve = MakeLine(n, 1);
        EXPECT_EQ(Curve->DigitisationParameters(true).size(), std::size_t(n > 10 ? 10 * n : 100)) << n;
    }
    const std::pair<int, int> Segments[] = {{2, 20}, {5, 45}, {10, 80}, {19, 95}, {20, 80}, {50, 200}};
    for (auto [n, Count] : Segments) EXPECT_EQ(BSplineSegmentCount(n), Count) << n;
}

TEST(BSplineSampling, ByKnotIntervalEverySpanGetsTheSameShare) {
    auto Curve = MakeLine(6, 4, ktNonUniform);
    Curve->SetKnotsText("[0 0 0 0 1 3 4 4 4 4]");
    TKnotArray Knots = Curve->Knots();
    EXPECT_EQ(ParameterisationArray(6, 4, 7, true, Knots, 0, 4), TDigitisationParameters({0, 0.5, 1, 2, 3, 3.5, 4}));
    EXPECT_EQ(ParameterisationArray(6, 4, 5, false, Knots, 0, 4), TDigitisationParameters({0, 1, 2, 3, 4}));
    // Clamped to the range; fewer than two samples become two.
    EXPECT_EQ(ParameterisationArray(6, 4, 5, false, Knots, 0.5, 3.5), TDigitisationParameters({0.5, 1, 2, 3, 3.5}));
    EXPECT_EQ(ParameterisationArray(6, 4, 0, true, Knots, 0, 4), TDigitisationParameters({0, 4}));
    EXPECT_EQ(ErrorOf([&] { ParameterisationArray(6, 4, 5, true, Knots, 0, 5); }),
              "BSpline.ParameterisationArray - Knot Interval not found");
}

TEST(BSplineDrawing, CurveAsOneStripOrTheControlPolygon) {
    auto Curve = MakeCurve(SixPoints);
    Curve->DisplaySegments = 12;
    TRecordingGraphics G;
    Curve->Draw(G);
    ASSERT_EQ(G.Calls.size(), 13u);
    EXPECT_EQ(G.Calls.front().Name, "LineStartPoint");
    EXPECT_EQ(G.Calls[11].Name, "LineNextPoint");
    EXPECT_EQ(G.Calls.back().Name, "LineFinish");
    ExpectNear(G.Calls[0].Points[0], SixPoints.front(), 0, "start");
    ExpectNear(G.Calls[11].Points[0], SixPoints.back(), 0, "end");

    const auto Digitised = Curve->Digitise();
    ASSERT_EQ(Digitised->Count(), 12);
    EXPECT_EQ(Digitised->Point(11)->T, 3);
    ExpectNear(Digitised->Point(11)->Vector(), SixPoints.back(), 0, "digitised end");

    // No points, fewer points than the order, order below 3, more than 200 points.
    const std::function<std::unique_ptr<TBSpline>()> Polygons[] = {
        [] { return MakeLine(0); }, [] { return MakeLine(3); }, [] { return MakeLine(5, 2); },
        [] { return MakeLine(201); }};
    for (const auto& Make : Polygons) {
        TRecordingGraphics P;
        Make()->Draw(P);
        EXPECT_EQ(P.Names(), std::vector<std::string>({"Polyline"}));
    }
    EXPECT_EQ(MakeLine(3)->Digitise()->Count(), 3);
}

// ---- Reverse, copies ----

TEST(BSplineReverse, StoredKnotsAndCustomLimitsAreMirrored) {
    auto Curve = MakeCurve(SixPoints, 4, ktCustom);
    Curve->SetKnotsText("[0 0 0 0 1 2.5 4 4 4 4]");
    Curve->MinTParameter = 0.5;
    Curve->MaxTParameter = 3;
    auto Reversed = Curve->Clone();
    Reversed->Reverse();
    EXPECT_EQ(KnotsOf(*Reversed), std::vector<double>({0, 0, 0, 0, 1.5, 3, 4, 4, 4, 4}));
    EXPECT_EQ(Reversed->Point(0)->Vector(), SixPoints.back());
    EXPECT_DOUBLE_EQ(Reversed->MinT(), 4 - Curve->MaxT());
    EXPECT_DOUBLE_EQ(Reversed->MaxT(), 4 - Curve->MinT());
    for (const double T : {0.6, 1.7, 2.9})
        ExpectNear(Reversed->EvaluatePoint(4 - T), Curve->EvaluatePoint(T), 1e-12, "T " + std::to_string(T));

    auto Open = MakeCurve(SixPoints);
    Open->Reverse();
    Open->UpdateKnots();
    EXPECT_EQ(KnotsOf(*Open), std::vector<double>({0, 0, 0, 0, 1, 2, 3, 3, 3, 3}));
    EXPECT_EQ(Open->Point(5)->Vector(), SixPoints.front());
}

TEST(BSplineCopies, CloneAndTransformedCarryTheSettings) {
    auto Curve = MakeCurve(SixPoints, 4, ktCustom);
    Curve->SetKnotsText("[0 0 0 0 1 2.5 4 4 4 4]");
    Curve->MinTParameter = 0.5;
    Curve->MaxTParameter = 3;
    Curve->DisplaySegments = 33;
    Curve->Tolerance = 1e-6;
    Curve->OwnColors = true;
    for (const auto& Copy : {Curve->Clone(), Curve->Transformed(MatrixTranslationByVector({1, 0, 0}))}) {
        EXPECT_EQ(Copy->GetOrder(), 4);
        EXPECT_EQ(Copy->KnotType, ktCustom);
        EXPECT_EQ(Copy->Knots(), Curve->Knots());
        EXPECT_EQ(Copy->MinTParameter, 0.5);
        EXPECT_EQ(Copy->MaxTParameter, 3);
        EXPECT_EQ(Copy->DisplaySegments, 33);
        EXPECT_EQ(Copy->Tolerance, 1e-6);
    }
    EXPECT_TRUE(Curve->Clone()->OwnColors);
    EXPECT_FALSE(Curve->Transformed(IdentityMatrix)->OwnColors);
    EXPECT_EQ(Curve->Transformed(MatrixTranslationByVector({1, 0, 0}))->Point(5)->X, 8);

    auto Bezier = MakeLine(5);
    Bezier->SetForcedBezier(true);
    const auto Moved = Bezier->Transformed(IdentityMatrix);
    EXPECT_TRUE(Moved->GetForcedBezier());
    EXPECT_EQ(Moved->GetOrder(), 5);
}

// ---- Text block ----

TEST(BSplineText, NonUniformBlockRoundTripsUnchanged) {
    const std::string Block =
        "KnotType=NonUniform\n"
        "Knot=[0 0 0 0 1 1 1 1]\n"
        "MinTParameter=0\n"
        "MaxTParameter=1\n"
        "Order=4\n"
        "NumPoints=4\n"
        "  0.000000   0.000000   0.000000\n"
        "  1.250000   2.000000  -0.500000\n"
        "  3.000000   2.125000   0.000000\n"
        "  4.000000   0.000000  10.000001\n";
    auto Curve = LoadText(Block);
    EXPECT_EQ(Curve->KnotType, ktNonUniform);
    EXPECT_EQ(Curve->Count(), 4);
    EXPECT_EQ(Curve->Point(3)->Z, 10.000001);
    EXPECT_EQ(SaveText(*Curve), Block);
}

TEST(BSplineText, WrittenBlocksOfEachKindReadBack) {
    auto Open = MakeCurve(SixPoints);
    EXPECT_EQ(SaveText(*Open).substr(0, 19), "Order=4\nNumPoints=6");
    auto Periodic = MakeCurve(SixPoints, 3, ktPeriodic);
    EXPECT_EQ(SaveText(*Periodic).substr(0, 28), "KnotType=Periodic\nOrder=3\nNu");
    auto Bezier = MakeCurve(SixPoints);
    Bezier->SetForcedBezier(true);
    EXPECT_EQ(SaveText(*Bezier).substr(0, 21), "ForcedBezier\nOrder=6\n");
    for (TBSpline* Curve : {Open.get(), Periodic.get(), Bezier.get()}) {
        auto Back = LoadText(SaveText(*Curve));
        EXPECT_EQ(Back->KnotType, Curve->KnotType);
        EXPECT_EQ(Back->GetOrder(), Curve->GetOrder());
        EXPECT_EQ(Back->GetForcedBezier(), Curve->GetForcedBezier());
        EXPECT_EQ(Back->Count(), 6);
        EXPECT_EQ(SaveText(*Back), SaveText(*Curve));
    }
}

TEST(BSplineText, KnotsAndLimitsKeepFullPrecisionThroughSaveAndLoad) {
    // Knots and limits used to pass through single precision and six decimals, and the Custom
    // range was written instead of its limits, narrowing the curve by 1e-6 at every save.
    auto Curve = MakeCurve(SixPoints, 4, ktCustom);
    Curve->SetKnotsText("[0 0 0 0 0.1234567 1.000000001 2 2 2 2]");
    EXPECT_EQ(Curve->Knot(5), 0.1234567);
    Curve->MinTParameter = 0.1;
    Curve->MaxTParameter = 1.9;
    const std::string First = SaveText(*Curve);
    EXPECT_NE(First.find("Knot=[0 0 0 0 0.1234567 1.000000001 2 2 2 2]\nMinTParameter=0.1\nMaxTParameter=1.9\n"),
              std::string::npos)
        << First;
    auto Back = LoadText(First);
    EXPECT_EQ(Back->Knots(), Curve->Knots());
    EXPECT_EQ(Back->MinT(), Curve->MinT());
    EXPECT_EQ(Back->MaxT(), Curve->MaxT());
    EXPECT_EQ(SaveText(*Back), First);
    // Typed knots may use a comma.
    Back->SetKnotsText("Knot=[0\t0,5   1]");
    EXPECT_EQ(std::vector<double>({Back->Knot(1), Back->Knot(2), Back->Knot(3), Back->Knot(4)}),
              std::vector<double>({0, 0.5, 1, 0}));
}

TEST(BSplineText, DamagedBlocksNameTheirField) {
    const std::pair<const char*, const char*> Cases[] = {
        {"ForcedBezier \nOrder=4\nNumPoints=0\n", "Error in field BSpline.Order"},
        {"Order=four\nNumPoints=0\n", "Error in field BSpline.Order"},
        {"Order=-1\nNumPoints=0\n", "Error in field BSpline.Order"},
        {"", "Error in field BSpline.Order"},
        {"KnotType=NonUniform\nKnot=[0 0 1 1]\nMinTParameter=zero\n", "Error in field BSplineSurface.MinTParameter"},
        {"KnotType=NonUniform\nKnot=[0 0 1 1]\nMinTParameter=0\nMaxTParameter=\n", "Error in field BSplineSurface.MaxTParameter"},
        {"KnotType=Bezier\nOrder=4\n", "TBSpline.KnotTypeByString - Unknown knotType"},
        {"KnotType=Custom\nKnot=[0 0 x 1]\n", "Unable to convert string to number (x)"},
        {"Order=2\nNumPoints=many\n", "Error in field Polyline.NumPoints"},
        // Values that read but make no curve.
        {"Order=0\nNumPoints=2\n0 0 0\n1 0 0\n", "B-spline order 0 is less than 1"},
        {"Order=4\nNumPoints=3\n0 0 0\n1 0 0\n2 0 0\n", "B-spline order 4 exceeds its 3 points"},
        {"KnotType=NonUniform\nKnot=[0 1]\nMinTParameter=0\nMaxTParameter=1\nOrder=2\nNumPoints=2\n0 0 0\n1 0 0\n",
         "B-spline has 2 knots where 2 points of order 2 need 4"},
        {"KnotType=Custom\nKnot=[1 1 1 1]\nMinTParameter=1\nMaxTParameter=1\nOrder=2\nNumPoints=2\n0 0 0\n1 0 0\n",
         "B-spline knots span no parameter range"},
    };
    for (auto [Block, Message] : Cases) EXPECT_EQ(ErrorOf([&] { LoadText(Block); }), Message) << Block;
}

// ---- The knot limit ----

TEST(BSplineLimit, EveryWayInRefusesMoreThan499Knots) {
    const auto Names499 = [](const std::string& Message) { return Message.find("499") != std::string::npos; };
    std::string Many = "Knot=[";
    for (int i = 0; i < 500; ++i) Many += "1 ";
    Many += "]";
    std::string LongBlock = "Order=4\nNumPoints=496\n";
    for (int i = 0; i < 496; ++i) LongBlock += "1 2 3\n";

    const std::pair<const char*, std::function<void()>> Cases[] = {
        {"order", [] { MakeLine(10)->SetOrder(490); }},
        {"forced Bezier", [] { MakeLine(250)->SetForcedBezier(true); }},
        {"knot index", [] { MakeLine(4)->SetKnot(500, 1); }},
        {"knot text", [&] { MakeLine(4)->SetKnotsText(Many); }},
        {"points added", [] { MakeLine(496)->UpdateKnots(); }},
        {"evaluation", [] { MakeLine(496)->PointAt(1); }},
        {"writing", [] { SaveText(*MakeLine(496, 4, ktNonUniform)); }},
        {"reading the order", [] { LoadText("Order=500\nNumPoints=0\n"); }},
        {"reading the points", [&] { LoadText(LongBlock); }},
        {"reading knots", [&] { LoadText("KnotType=NonUniform\n" + Many + "\n"); }},
        {"interpolating", [] { InterpolateCubicBSpline(*MakeLine(200), scFirstOrder, NaturalEndCondition, NaturalEndCondition, false); }},
    };
    for (const auto& [Name, Action] : Cases) EXPECT_PRED1(Names499, ErrorOf(Action)) << Name;
    // 495 points of order 4 are the most that fit.
    auto Full = MakeLine(495);
    Full->UpdateKnots();
    EXPECT_EQ(Full->MaxT(), 492);
}

// ---- Interpolation ----

const std::vector<TMVector> Data = {{0, 0, 0}, {1, 2, 0.5}, {3, 2.5, 1}, {4, 1, 0}, {6, 0.5, -1}};

std::unique_ptr<TPolyline> MakePolyline(const std::vector<TMVector>& Points) {
    auto Result = std::make_unique<TPolyline>();
    for (const TMVector& P : Points) Result->AddVector(P);
    return Result;
}

TEST(BSplineInterpolation, EveryCubicSchemePassesThroughItsPoints) {
    const TEndCondition Conditions[] = {NaturalEndCondition, {ecBessel, {}}, {ecClamped, {1, 1, 0}}};
    const auto Polyline = MakePolyline(Data);
    for (const TSplineContinuity Scheme : {scFirstOrder, scSecondOrder, scSecondOrderPiecewise})
        for (const TEndCondition& Start : Conditions)
            for (const TEndCondition& End : Conditions)
                for (const bool Chord : {false, true}) {
                    const std::string Name = ContinuityText(Scheme) + " " + EndConditionText(Start) + " " +
                                             EndConditionText(End) + (Chord ? " chord" : "");
                    auto Curve = InterpolateCubicBSpline(*Polyline, Scheme, Start, End, Chord);
                    ASSERT_EQ(Curve->GetOrder(), 4) << Name;
                    for (int i = 0; i < int(Data.size()); ++i) {
                        // The second-order curve has a data point at every knot, the others at
                        // every whole parameter.
                        const double T = Scheme == scSecondOrder ? Curve->Knot(i + 4) : i;
                        ExpectNear(Curve->EvaluatePoint(T), Data[i], 1e-12, Name + " point " + std::to_string(i));
                    }
                }
}

TEST(BSplineInterpolation, InterpolatingCubicPutsPointIAtParameterI) {
    auto Curve = InterpolatingCubicBSpline(Data, NaturalEndCondition, NaturalEndCondition, false);
    ASSERT_EQ(Curve->GetOrder(), 4);
    for (int i = 0; i < int(Data.size()); ++i)
        ExpectNear(Curve->EvaluatePoint(i), Data[i], 1e-12, "point " + std::to_string(i));
    const std::vector<TMVector> Two(Data.begin(), Data.begin() + 2);
    auto Line = InterpolatingCubicBSpline(Two, NaturalEndCondition, NaturalEndCondition, false);
    EXPECT_EQ(Line->GetOrder(), 2);
    ExpectNear(Line->EvaluatePoint(0.5), VectorMidpoint(Data[0], Data[1]), 1e-12, "line");
}

TEST(BSplineInterpolation, ControlPointsAndKnotsOfEachScheme) {
    const std::vector<TMVector> Three(Data.begin(), Data.begin() + 3);
    const std::vector<TMVector> Four(Data.begin(), Data.begin() + 4);
    auto First = InterpolateCubicBSpline(*MakePolyline(Three), scFirstOrder, NaturalEndCondition, NaturalEndCondition, false);
    EXPECT_EQ(First->Count(), 7);
    EXPECT_EQ(First->KnotType, ktNonUniform);
    EXPECT_EQ(KnotsOf(*First), std::vector<double>({0, 0, 0, 0, 1, 1, 1, 2, 2, 2, 2}));

    auto Piecewise = InterpolateCubicBSpline(*MakePolyline(Three), scSecondOrderPiecewise, NaturalEndCondition,
                                             NaturalEndCondition, false);
    EXPECT_EQ(Piecewise->Count(), 8);
    EXPECT_EQ(KnotsOf(*Piecewise), std::vector<double>({0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2}));
    EXPECT_EQ(Piecewise->Point(3)->Vector(), Data[1]);
    EXPECT_EQ(Piecewise->Point(4)->Vector(), Data[1]);

    auto Line = InterpolateCubicBSpline(*MakePolyline({Data[0], Data[1]}), scSecondOrder, NaturalEndCondition,
                                        NaturalEndCondition, false);
    EXPECT_EQ(Line->GetOrder(), 2);
    EXPECT_EQ(Line->Count(), 2);
    EXPECT_EQ(Line->KnotType, ktOpen);

    auto Second = InterpolateCubicBSpline(*MakePolyline(Four), scSecondOrder, NaturalEndCondition, NaturalEndCondition, false);
    EXPECT_EQ(Second->Count(), 6);
    EXPECT_EQ(Second->KnotType, ktOpen);
    EXPECT_EQ(KnotsOf(*Second), std::vector<double>({0, 0, 0, 0, 1, 2, 3, 3, 3, 3}));
    for (int i = 0; i < 4; ++i) ExpectNear(Second->EvaluatePoint(i), Data[i], 1e-12, "at " + std::to_string(i));

    // Chords 1, 2 and 3 long put the interior knots at 0.5 and 1.5 of the range 3.
    auto Chord = InterpolateCubicBSpline(*MakePolyline({{0, 0, 0}, {1, 0, 0}, {1, 2, 0}, {1, 2, 3}}), scSecondOrder,
                                         NaturalEndCondition, NaturalEndCondition, true);
    EXPECT_EQ(Chord->KnotType, ktNonUniform);
    EXPECT_EQ(KnotsOf(*Chord), std::vector<double>({0, 0, 0, 0, 0.5, 1.5, 3, 3, 3, 3}));
    ExpectNear(Chord->EvaluatePoint(1.5), {1, 2, 0}, 1e-12, "chord");
}

// A natural end has no bending: the second derivative vanishes at both ends on uniform and
// chord-length knots, so curves built from it carry no kink of parameter speed into patches.
TEST(BSplineInterpolation, NaturalEndsHaveZeroSecondDerivative) {
    for (const std::size_t Count : {3u, 4u, 5u})
        for (const bool Chord : {false, true}) {
            const std::vector<TMVector> Points(Data.begin(), Data.begin() + Count);
            auto Curve = InterpolateCubicBSpline(*MakePolyline(Points), scSecondOrder, NaturalEndCondition,
                                                 NaturalEndCondition, Chord);
            const std::string Name = std::to_string(Count) + (Chord ? " chord" : "");
            const TCurveDerivatives Start = Curve->Derivatives(Curve->MinT());
            const TCurveDerivatives End = Curve->Derivatives(Curve->MaxT());
            ExpectNear(Start[2], {0, 0, 0}, 1e-9, Name + " start");
            ExpectNear(End[2], {0, 0, 0}, 1e-9, Name + " end");
            for (std::size_t i = 0; i < Count; ++i)
                ExpectNear(Curve->EvaluatePoint(Curve->Knot(int(i) + 4)), Points[i], 1e-12, Name + " point");
        }
}

TEST(BSplineInterpolation, ClampedStartHandles) {
    const TEndCondition Clamped{ecClamped, {1, 0, 0}};
    const auto Polyline = MakePolyline(Data);
    auto Second = InterpolateCubicBSpline(*Polyline, scSecondOrder, Clamped, NaturalEndCondition, false);
    EXPECT_EQ(Second->Point(1)->Vector(), TMVector({1, 0, 0}));
    auto First = InterpolateCubicBSpline(*Polyline, scFirstOrder, Clamped, NaturalEndCondition, false);
    ExpectNear(First->Point(1)->Vector(), {VectorDistance(Data[1], Data[0]) / 3, 0, 0}, 1e-15, "first order");
    auto Piecewise = InterpolateCubicBSpline(*Polyline, scSecondOrderPiecewise, NaturalEndCondition, Clamped, false);
    EXPECT_EQ(Piecewise->Point(4 * 5 - 6)->Vector(), VectorAdd(Data[4], {1, 0, 0}));
}

TEST(BSplineInterpolation, BesselEndsReproduceAParabola) {
    // A cubic through samples of a parabola whose end tangents are those of the parabola through
    // the three end points is that parabola, whichever scheme joins the segments.
    const auto Polyline = MakePolyline({{0, 0, 0}, {1, 1, 0.5}, {2, 4, 1}, {3, 9, 1.5}});
    const TEndCondition Bessel{ecBessel, {}};
    for (const TSplineContinuity Scheme : {scFirstOrder, scSecondOrder, scSecondOrderPiecewise}) {
        auto Curve = InterpolateCubicBSpline(*Polyline, Scheme, Bessel, Bessel, false);
        for (const double T : {0.25, 1.5, 2.8})
            ExpectNear(Curve->EvaluatePoint(T), {T, T * T, T / 2}, 1e-12, ContinuityText(Scheme));
    }
}

TEST(BSplineInterpolation, PiecewiseSegmentsJoinWithEqualSecondDerivatives) {
    auto Curve = InterpolateCubicBSpline(*MakePolyline(Data), scSecondOrderPiecewise, NaturalEndCondition,
                                         {ecClamped, {0, 1, 0}}, false);
    const auto P = [&](int i) { return Curve->Point(i)->Vector(); };
    const auto Second = [&](int a, int b, int c) { return VectorAdd(VectorFromTo(P(b), P(a)), VectorFromTo(P(b), P(c))); };
    for (int Joint = 1; Joint < 4; ++Joint) {
        const int e = 4 * Joint - 1;  // last point of the segment ending at the joint
        ExpectNear(Second(e - 2, e - 1, e), Second(e + 1, e + 2, e + 3), 1e-12, "joint " + std::to_string(Joint));
    }
}

TEST(BSplineInterpolation, CollocationOfAnyOrder) {
    const auto Polyline = MakePolyline(Data);
    for (const int Order : {2, 3, 4, 5}) {
        auto Curve = InterpolateBSpline(Order, *Polyline);
        EXPECT_EQ(Curve->Count(), 5);
        EXPECT_EQ(Curve->KnotType, ktOpen);
        double Length = 0;
        std::vector<double> s{0};
        for (int i = 1; i < 5; ++i) s.push_back(Length += VectorDistance(Data[i], Data[i - 1]));
        for (int i = 0; i < 5; ++i)
            ExpectNear(Curve->EvaluatePoint(s[i] / Length * Curve->MaxT()), Data[i], 1e-9,
                       "order " + std::to_string(Order) + " point " + std::to_string(i));
    }
    const auto Coincident = MakePolyline({Data[0], Data[1], Data[1], Data[2], Data[3]});
    EXPECT_NE(ErrorOf([&] { InterpolateBSpline(4, *Coincident); }), "");
    EXPECT_NE(ErrorOf([&] { InterpolateBSpline(6, *Polyline); }), "");
}

// Every point lies on the curve to 1e-9 of the size of the points, or the points are refused: a
// curve that misses them is never returned. Clustered and unevenly spaced points are the hard cases
// (solved through the normal equations they came back units away without a word).
TEST(BSplineInterpolation, PassesThroughEveryPointOrRefuses) {
    std::vector<TMVector> Clustered = {{0, 0, 0},    {1e-3, 0, 0}, {2e-3, 1e-3, 0}, {3e-3, 0, 1e-3},
                                       {10, 5, 0},   {20, 0, 0},   {20.001, 0, 0},  {30, 3, 1}};
    // Unevenly spaced points may leave a basis function without a parameter in its support. Evenly
    // spaced ones drift against the uniform knots as they grow in number, and where they pass the
    // middle of the spans a cubic's system is all but singular: long rows at high orders may be
    // refused, the others must be interpolated.
    std::vector<TMVector> Uneven, Helix, Longest;
    for (int i = 0; i < 150; ++i) {
        Uneven.push_back({i * 0.5 + 0.4 * std::sin(i * 1.3), std::sin(i * 0.7), std::cos(i * 0.2)});
        Helix.push_back({std::cos(i * 0.3), std::sin(i * 0.3), i * 0.05});
    }
    for (int i = 0; i < 493; ++i) Longest.push_back({3 * std::cos(i * 0.1), 3 * std::sin(i * 0.1), i * 0.02});
    // Spaced like the averages of three successive cubic knots: the spacing that suits any count.
    std::vector<TMVector> KnotSpaced;
    const auto Knot = [](int i) { return static_cast<double>(std::clamp(i - 3, 0, 495 - 3)); };
    for (int i = 0; i < 495; ++i) {
        const double a = 0.1 * (Knot(i + 1) + Knot(i + 2) + Knot(i + 3)) / 3;
        KnotSpaced.push_back({3 * std::cos(a), 3 * std::sin(a), a});
    }
    const struct {
        const char* Name;
        const std::vector<TMVector>& Points;
        std::vector<int> Orders;
        bool MayRefuse;
    } Cases[] = {{"clustered", Clustered, {2, 3, 4, 6}, true}, {"uneven", Uneven, {2, 3, 4, 6}, true},
                 {"helix", Helix, {2, 3, 4}, false},        {"helix", Helix, {6}, true},
                 {"493 points", Longest, {2, 3}, false},    {"493 points", Longest, {4, 6}, true},
                 {"knot-spaced", KnotSpaced, {4}, false}};
    for (const auto& Case : Cases) {
        const auto Polyline = MakePolyline(Case.Points);
        TMVector Low = Case.Points[0], High = Case.Points[0];
        for (const TMVector& P : Case.Points) {
            Low = {std::min(Low.X, P.X), std::min(Low.Y, P.Y), std::min(Low.Z, P.Z)};
            High = {std::max(High.X, P.X), std::max(High.Y, P.Y), std::max(High.Z, P.Z)};
        }
        const double Size = VectorDistance(Low, High);
        std::vector<double> s{0};
        for (std::size_t i = 1; i < Case.Points.size(); ++i)
            s.push_back(s.back() + VectorDistance(Case.Points[i], Case.Points[i - 1]));
        for (const int Order : Case.Orders) {
            const std::string What = std::string(Case.Name) + ", order " + std::to_string(Order);
            std::unique_ptr<TBSpline> Curve;
            try {
                Curve = InterpolateBSpline(Order, *Polyline);
            } catch (const EGeometryError& E) {
                EXPECT_TRUE(Case.MayRefuse) << What << ": " << E.what();
                continue;
            }
            for (std::size_t i = 0; i < Case.Points.size(); ++i)
                ASSERT_LE(VectorDistance(Curve->EvaluatePoint(s[i] / s.back() * Curve->MaxT()), Case.Points[i]),
                          1e-9 * Size)
                    << What << ", point " << i;
        }
    }
}

TEST(BSplineInterpolation, TooFewPointsAreRefused) {
    const auto Two = MakePolyline({Data[0], Data[1]});
    EXPECT_NE(ErrorOf([&] { InterpolateCubicBSpline(*Two, scFirstOrder, NaturalEndCondition, NaturalEndCondition, false); }), "");
    EXPECT_NE(ErrorOf([&] {
                  InterpolateCubicBSpline(*Two, scSecondOrderPiecewise, NaturalEndCondition, NaturalEndCondition, false);
              }),
              "");
    const auto One = MakePolyline({Data[0]});
    EXPECT_NE(ErrorOf([&] { InterpolateCubicBSpline(*One, scSecondOrder, NaturalEndCondition, NaturalEndCondition, false); }), "");
}

TEST(BSplineInterpolation, TextFormsOfConditionsAndSchemes) {
    EXPECT_EQ(EndConditionText({ecClamped, {1, 0, 0}}), "Clamped [1, 0, 0]");
    EXPECT_EQ(EndConditionText({ecClamped, {0.5, -2.25, 1e-7}}), "Clamped [0.5, -2.25, 1E-007]");
    EXPECT_EQ(EndConditionText(NaturalEndCondition), "Natural");
    EXPECT_EQ(EndConditionText({ecBessel, {}}), "Bessel");
    const TEndCondition Clamped{ecClamped, {0.5, -2.25, 1e-7}};
    EXPECT_EQ(EndConditionFromText(EndConditionText(Clamped)), Clamped);
    EXPECT_EQ(EndConditionFromText("StartCondition=natural"), NaturalEndCondition);
    EXPECT_EQ(EndConditionFromText("bessel").Kind, ecBessel);
    EXPECT_THROW(EndConditionFromText("Clamped [1, 0]"), EConvertError);

    const std::pair<const char*, TSplineContinuity> Texts[] = {
        {"FirstOrder", scFirstOrder}, {"secondorderpiecewise", scSecondOrderPiecewise},
        {"SecondOrder", scSecondOrder}, {"", scSecondOrder}};
    for (auto [Text, Value] : Texts) EXPECT_EQ(ContinuityFromText(Text), Value) << Text;
    for (const TSplineContinuity V : {scFirstOrder, scSecondOrder, scSecondOrderPiecewise})
        EXPECT_EQ(ContinuityFromText(ContinuityText(V)), V);
}

}  // namespace
}  // namespace sarnova
