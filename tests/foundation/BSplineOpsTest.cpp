#include "foundation/BSplineOps.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "VkMathsExpect.h"

namespace sarnova {
namespace {

using TKnots = std::vector<double>;

std::unique_ptr<TBSpline> Curve(const std::vector<TMVector>& Points, int Order = 4, TKnotType Type = ktOpen,
                                const TKnots& Knots = {}) {
    auto C = std::make_unique<TBSpline>(Order);
    for (const TMVector& P : Points) C->AddVector(P);
    C->KnotType = Type;
    for (std::size_t i = 0; i < Knots.size(); ++i) C->SetKnot(static_cast<int>(i) + 1, Knots[i]);
    return C;
}

const std::vector<TMVector> Bezier = {{0, 0, 0}, {1, 2, 0}, {3, 2, 1}, {4, 0, 0}};
const std::vector<TMVector> Six = {{0, 0, 0}, {1, 2, 0.5}, {2, -1, 1}, {4, 3, -1}, {5, 0, 2}, {7, 1, 0}};
// Six points on stored knots with a double interior knot.
const TKnots SixKnots = {0, 0, 0, 0, 0.3, 0.3, 1, 1, 1, 1};

TKnots KnotsOf(const TBSpline& C) {
    TKnots Result;
    for (int i = 1; i <= C.KnotCount(); ++i) Result.push_back(C.Knot(i));
    return Result;
}

// Copy's point at Copy's parameter for each of 100 parameters of Source's range, mapped linearly onto
// Copy's range (Lo .. Hi of it when given): the same curve however it is parameterised.
void ExpectSameCurve(TBSpline& Source, TBSpline& Copy, double Tol = 1e-12, double Lo = NAN, double Hi = NAN) {
    Source.UpdateKnots();
    Copy.UpdateKnots();
    const double A = Source.MinT(), B = Source.MaxT();
    const double C = std::isnan(Lo) ? Copy.MinT() : Lo;
    const double D = std::isnan(Hi) ? Copy.MaxT() : Hi;
    for (int i = 0; i < 100; ++i) {
        const double t = A + (B - A) * i / 99;
        SCOPED_TRACE("t = " + std::to_string(t));
        ExpectNear(Copy.EvaluatePoint(C + (D - C) * (t - A) / (B - A)), Source.EvaluatePoint(t), Tol);
    }
}

TEST(BSplineInsertKnot, KeepsTheCurveWithOneMorePoint) {
    auto C = Curve(Bezier);
    auto Original = C->Clone();
    C->InsertKnot(0.5);  // the Open knots are built first
    EXPECT_EQ(C->Count(), 5);
    EXPECT_EQ(KnotsOf(*C), TKnots({0, 0, 0, 0, 0.5, 1, 1, 1, 1}));
    EXPECT_EQ(C->KnotType, ktNonUniform);
    ExpectSameCurve(*Original, *C);

    // At the ends of the knot vector nothing happens.
    for (const double T : {0.0, 1.0, -1.0}) {
        auto D = Curve(Bezier);
        D->InsertKnot(T);
        EXPECT_EQ(D->Count(), 4) << T;
        EXPECT_EQ(D->KnotType, ktOpen) << T;
    }
}

TEST(BSplineInsertKnot, OutsideTheRangeOfUnclampedKnotsOrPastTheLimit) {
    auto C = Curve(Six, 4, ktPeriodic);  // knots 0 .. 9, range [3, 6]
    for (const double T : {1.5, 6.0, 8.0}) {
        ExpectError([&] { C->InsertKnot(T); },
                    "TBSpline.InsertKnot - Unable to insert Knot, Index outside of range was accessed");
        EXPECT_EQ(C->Count(), 6);
        EXPECT_EQ(C->KnotType, ktPeriodic);
    }
    auto Original = C->Clone();
    C->InsertKnot(3.5);
    EXPECT_EQ(C->Count(), 7);
    ExpectSameCurve(*Original, *C);

    std::vector<TMVector> Many;
    for (int i = 0; i < 495; ++i) Many.push_back({double(i), std::sin(i * 0.1), 0});
    auto Full = Curve(Many);
    EXPECT_THROW(Full->InsertKnot(10.5), EGeometryError);
    EXPECT_THROW(Full->RefineKnots(std::vector<double>{0.5}), EGeometryError);
    EXPECT_EQ(Full->Count(), 495);
    EXPECT_EQ(Full->KnotType, ktOpen);
}

TEST(BSplineRefine, ManyKnotsAtOnceInAnyOrder) {
    auto C = Curve(Six, 4, ktNonUniform, SixKnots);
    auto Original = C->Clone();
    C->RefineKnots(std::vector<double>{0.9, 0.1, 0.3, 0.5, 0.5, 0.0, 1.0});
    EXPECT_EQ(C->Count(), 13);
    EXPECT_EQ(KnotsOf(*C), TKnots({0, 0, 0, 0, 0, 0.1, 0.3, 0.3, 0.3, 0.5, 0.5, 0.9, 1, 1, 1, 1, 1}));
    ExpectSameCurve(*Original, *C);

    auto D = Curve(Six, 4, ktNonUniform, SixKnots);
    ExpectError([&] { D->RefineKnots(std::vector<double>{0.5, 1.5}); },
                "TBSpline.RefineKnots - Knot 1.5 lies outside the parameter range");
    EXPECT_EQ(D->Count(), 6);

    // Each value up to multiplicity k, repeats and existing knots counted.
    TArray L;
    for (const double V : {0.3, 0.6, 0.6}) L.Add(V);
    D->InsertKnotsFully(L);
    EXPECT_EQ(KnotsOf(*D), TKnots({0, 0, 0, 0, 0.3, 0.3, 0.3, 0.3, 0.6, 0.6, 0.6, 0.6, 1, 1, 1, 1}));
    ExpectSameCurve(*Original, *D);
}

TEST(BSplineSplit, TwoNormalisedPartsOfTheSameCurve) {
    auto C = Curve(Bezier);
    std::unique_ptr<TBSpline> Left, Right;
    C->Split(0.5, Left, Right);
    for (TBSpline* Part : {Left.get(), Right.get()}) {
        EXPECT_EQ(Part->Count(), 4);
        EXPECT_EQ(KnotsOf(*Part), TKnots({0, 0, 0, 0, 1, 1, 1, 1}));
        EXPECT_EQ(Part->KnotType, ktNonUniform);
    }
    ExpectSameCurve(*Left, *C, 1e-12, 0, 0.5);
    ExpectSameCurve(*Right, *C, 1e-12, 0.5, 1);

    auto D = Curve(Six, 4, ktNonUniform, SixKnots);
    D->Split(0.3, Left, Right);  // at the double knot: one insertion less
    EXPECT_EQ(Left->Count() + Right->Count(), 6 + 2);
    ExpectSameCurve(*Left, *D, 1e-12, 0, 0.3);
    ExpectSameCurve(*Right, *D, 1e-12, 0.3, 1);
    EXPECT_THROW(D->Split(1, Left, Right), EGeometryError);
}

TEST(BSplineSubCurve, PartsWholeCurvesAndBadBounds) {
    auto C = Curve(Six);  // Open, range [0, 3]
    auto Whole = C->SubCurve(0, 3);
    EXPECT_EQ(Whole->Count(), 6);
    EXPECT_EQ(KnotsOf(*Whole), TKnots({0, 0, 0, 0, 1.0 / 3, 2.0 / 3, 1, 1, 1, 1}));
    ExpectSameCurve(*C, *Whole);

    auto Part = C->SubCurve(0.5, 2.2);
    ExpectSameCurve(*Part, *C, 1e-12, 0.5, 2.2);
    EXPECT_EQ(Part->MinT(), 0);
    EXPECT_EQ(Part->MaxT(), 1);

    ExpectError([&] { C->SubCurve(0.7, 0.3); }, "TBSpline.SubCurve - UpperT is less than LowerT");
    EXPECT_THROW(C->SubCurve(-1, 2), EGeometryError);

    // Unclamped knots: the whole range still gives the whole curve.
    auto P = Curve(Six, 4, ktPeriodic);
    auto PW = P->SubCurve(3, 6);
    ExpectSameCurve(*P, *PW);
}

// A cut a rounding error off a knot is made at the knot: no piece gets a knot interval of almost
// nothing, whose control points would fold the patches built on it.
TEST(BSplineSubCurve, EndsARoundingErrorOffAKnotCutAtTheKnot) {
    auto C = Curve(Six);  // Open, range [0, 3], interior knots 1 and 2
    for (const double Off : {-1e-10, 1e-10}) {
        auto Part = C->SubCurve(1 + Off, 3);
        auto Exact = C->SubCurve(1, 3);
        EXPECT_EQ(KnotsOf(*Part), KnotsOf(*Exact)) << Off;
        ExpectSameCurve(*Part, *Exact);
        auto Left = C->SubCurve(0, 2 + Off);
        EXPECT_EQ(KnotsOf(*Left), KnotsOf(*C->SubCurve(0, 2))) << Off;
    }
    // A real cut near a knot is kept.
    auto Near = C->SubCurve(1.001, 3);
    ExpectSameCurve(*Near, *C, 1e-12, 1.001, 3);
}

TEST(BSplineReparameterise, MapsUkAndTheLastKnot) {
    auto C = Curve(Six);
    C->Reparameterise(10, 16);
    EXPECT_EQ(KnotsOf(*C), TKnots({10, 10, 10, 10, 12, 14, 16, 16, 16, 16}));
    EXPECT_EQ(C->KnotType, ktNonUniform);
    C->NormaliseKnots();
    EXPECT_EQ(KnotsOf(*C), TKnots({0, 0, 0, 0, 1.0 / 3, 2.0 / 3, 1, 1, 1, 1}));
}

TEST(BSplineRaiseOrder, SameCurveWithEveryKnotRaised) {
    auto C = Curve(Bezier);
    auto R = C->RaiseOrder(5);
    EXPECT_EQ(R->GetOrder(), 5);
    EXPECT_EQ(R->Count(), 5);
    EXPECT_EQ(KnotsOf(*R), TKnots({0, 0, 0, 0, 0, 1, 1, 1, 1, 1}));
    EXPECT_EQ(R->KnotType, ktNonUniform);
    ExpectSameCurve(*C, *R);
    ExpectError([&] { C->RaiseOrder(4); }, "BSplineRaiseDegree - Order must be greater than existing BSpline curve");

    // Distinct knots 0, 0.3, 1 (0.3 double): n + t (d - 1) points.
    auto D = Curve(Six, 4, ktNonUniform, SixKnots);
    auto R2 = D->RaiseOrder(6);
    EXPECT_EQ(R2->Count(), 6 + 2 * 2);
    EXPECT_EQ(KnotsOf(*R2), TKnots({0, 0, 0, 0, 0, 0, 0.3, 0.3, 0.3, 0.3, 1, 1, 1, 1, 1, 1}));
    ExpectSameCurve(*D, *R2, 1e-10);

    // An unclamped curve is raised over its range, a curve that breaks at a knot stays broken.
    auto P = Curve(Six, 3, ktPeriodic);
    auto RP = P->RaiseOrder(4);
    ExpectSameCurve(*P, *RP, 1e-10);
    auto B = Curve(Six, 3, ktNonUniform, {0, 0, 0, 1, 1, 1, 2, 2, 2});
    auto RB = B->RaiseOrder(5);
    EXPECT_EQ(RB->Count(), 10);
    ExpectSameCurve(*B, *RB, 1e-10);
    EXPECT_THROW(C->RaiseOrder(1000), EGeometryError);

    // High orders with simple knots: many knots leave again after each Bezier segment is raised.
    std::vector<TMVector> Eight = Six;
    Eight.push_back({8, 3, 1});
    Eight.push_back({9, -2, 0});
    auto H = Curve(Eight, 6, ktNonUniform, {0, 0, 0, 0, 0, 0, 0.2, 0.7, 1, 1, 1, 1, 1, 1});
    auto RH = H->RaiseOrder(7);
    EXPECT_EQ(RH->Count(), 8 + 3);
    ExpectSameCurve(*H, *RH, 1e-10);
}

TEST(BSplineCompatible, OneOrderOneKnotVectorBothShapesKept) {
    auto A = Curve(Six, 4, ktNonUniform, SixKnots);
    auto B = Curve({{0, 1, 0}, {1, 1, 1}, {2, 0, 0}, {3, 1, 0}}, 3);  // Open: knots 0 0 0 0.5 1 1 1 after normalising
    auto A0 = A->Clone();
    auto B0 = B->Clone();
    A->MakeCompatible(*B);
    EXPECT_EQ(A->GetOrder(), 4);
    EXPECT_EQ(B->GetOrder(), 4);
    EXPECT_EQ(KnotsOf(*A), KnotsOf(*B));
    EXPECT_EQ(KnotsOf(*A), TKnots({0, 0, 0, 0, 0.3, 0.3, 0.5, 0.5, 1, 1, 1, 1}));
    ExpectSameCurve(*A0, *A, 1e-10);
    ExpectSameCurve(*B0, *B, 1e-10);

    A->MakeCompatibleWithOrder(*B, 5);
    EXPECT_EQ(A->GetOrder(), 5);
    EXPECT_EQ(KnotsOf(*A), KnotsOf(*B));
    ExpectSameCurve(*B0, *B, 1e-10);
}

TEST(BSplineSum, ControlPointsOfCompatibleCopiesAdded) {
    auto C = Curve(Six);
    auto Twice = C->Sum(*C);
    ASSERT_EQ(Twice->Count(), 6);
    for (int i = 0; i < 6; ++i) ExpectNear(Twice->Point(i)->Vector(), VectorScale(Six[i], 2));

    auto A = Curve(Six, 4, ktNonUniform, SixKnots);
    auto B = Curve(Bezier, 3);  // range [0, 2]
    auto S = A->Sum(*B);
    EXPECT_EQ(A->Count(), 6);  // the sources stay
    EXPECT_EQ(B->GetOrder(), 3);
    A->UpdateKnots();
    B->UpdateKnots();
    S->UpdateKnots();
    for (const double t : {0.0, 0.2, 0.3, 0.55, 1.0})
        ExpectNear(S->EvaluatePoint(t), VectorAdd(A->EvaluatePoint(t), B->EvaluatePoint(2 * t)), 1e-10);
}

TEST(BSplineMultiply, ProductOfTheCoordinatesWithTheRougherSmoothness) {
    auto A = Curve(Six, 4, ktNonUniform, {0, 0, 0, 0, 0.3, 0.3, 2, 2, 2, 2});
    auto B = Curve({{1, 2, 3}, {-1, 0, 2}, {2, 1, 1}, {0, 3, -1}, {1, 1, 1}, {2, -1, 0}}, 4, ktNonUniform,
                   {0, 0, 0, 0, 0.3, 1, 2, 2, 2, 2});
    auto P = A->Multiply(*B);
    EXPECT_EQ(P->GetOrder(), 7);
    EXPECT_EQ(P->KnotType, ktNonUniform);
    // Degree 6. At 0.15 (after normalising) A is C1 and B C2: the product is C1, multiplicity 5; at
    // 0.5 only B has a knot: C2, multiplicity 4.
    EXPECT_EQ(KnotsOf(*P), TKnots({0, 0, 0, 0, 0, 0, 0, 0.15, 0.15, 0.15, 0.15, 0.15, 0.5, 0.5, 0.5, 0.5, 1, 1,
                                   1, 1, 1, 1, 1}));
    ExpectNear(P->Point(0)->Vector(), {0 * 1, 0 * 2, 0 * 3});
    A->UpdateKnots();
    B->UpdateKnots();
    P->UpdateKnots();
    for (int i = 0; i <= 20; ++i) {
        const double t = i / 20.0;
        const TMVector a = A->EvaluatePoint(2 * t), b = B->EvaluatePoint(2 * t), p = P->EvaluatePoint(t);
        ExpectNear(p, {a.X * b.X, a.Y * b.Y, a.Z * b.Z}, 1e-10);
    }
}

TEST(BSplineDerivative, HodographOfEachKnotType) {
    struct Case {
        const char* Name;
        std::unique_ptr<TBSpline> C;
        TKnotType Expected;
    };
    Case Cases[] = {{"open", Curve(Six), ktOpen},
                    {"stored", Curve(Six, 4, ktNonUniform, SixKnots), ktNonUniform},
                    {"periodic", Curve(Six, 4, ktPeriodic), ktNonUniform}};
    for (Case& K : Cases) {
        SCOPED_TRACE(K.Name);
        auto D = K.C->Derivative();
        EXPECT_EQ(D->GetOrder(), 3);
        EXPECT_EQ(D->Count(), 5);
        EXPECT_EQ(D->KnotType, K.Expected);
        D->UpdateKnots();
        const TKnots Source = KnotsOf(*K.C);
        EXPECT_EQ(KnotsOf(*D), TKnots(Source.begin() + 1, Source.end() - 1));
        for (int i = 0; i <= 10; ++i) {
            const double t = K.C->MinT() + (K.C->MaxT() - K.C->MinT()) * i / 10;
            ExpectNear(D->EvaluatePoint(t), K.C->Derivatives(t)[1], 1e-10);
        }
    }
}

TEST(BSplineSubdivide, AKnotInTheMiddleOfEverySpan) {
    auto C = Curve(Six);  // 3 spans
    auto S = C->Subdivide();
    EXPECT_EQ(S->Count(), 9);
    EXPECT_EQ(S->KnotType, ktOpen);
    EXPECT_EQ(KnotsOf(*S), TKnots({0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 6, 6, 6}));
    ExpectSameCurve(*C, *S);

    auto D = Curve(Six, 4, ktNonUniform, SixKnots);  // 2 spans
    auto SD = D->Subdivide();
    EXPECT_EQ(SD->Count(), 8);
    EXPECT_EQ(KnotsOf(*SD), TKnots({0, 0, 0, 0, 0.15, 0.3, 0.3, 0.65, 1, 1, 1, 1}));
    ExpectSameCurve(*D, *SD);
}

TEST(BSplineEndTangentBezier, EndPointsAndEndDerivatives) {
    auto C = Curve(Six);  // range [0, 3]
    auto E = C->EndTangentBezier();
    EXPECT_EQ(E->Count(), 4);
    EXPECT_EQ(E->GetOrder(), 4);
    EXPECT_EQ(E->MaxT(), 1);
    const auto D0 = C->Derivatives(0), D1 = C->Derivatives(3);
    const auto E0 = E->Derivatives(0), E1 = E->Derivatives(1);
    ExpectNear(E0[0], D0[0]);
    ExpectNear(E1[0], D1[0]);
    ExpectNear(E0[1], VectorScale(D0[1], 3), 1e-10);
    ExpectNear(E1[1], VectorScale(D1[1], 3), 1e-10);
}

TEST(BSplineJoin, ExactJoinsTheCurvesAtTheirNearestEnds) {
    auto A = Curve(Six);
    std::vector<TMVector> Next = {{7, 1, 0}, {8, 2, 0}, {9, 0, 1}, {11, 1, 1}};
    auto B = Curve(Next);
    auto J = A->JoinWith(*B, true);
    ASSERT_TRUE(J);
    EXPECT_EQ(J->Count(), 6 + 4 - 1);
    EXPECT_EQ(J->KnotType, ktNonUniform);
    EXPECT_EQ(KnotsOf(*J), TKnots({0, 0, 0, 0, 1.0 / 3, 2.0 / 3, 1, 1, 1, 2, 2, 2, 2}));
    ExpectSameCurve(*A, *J, 1e-12, 0, 1);
    ExpectSameCurve(*B, *J, 1e-12, 1, 2);

    // B reversed and of lower order: found at B's last point, raised to order 4.
    std::vector<TMVector> Back(Next.rbegin(), Next.rend());
    auto C = Curve(Back, 3);
    auto J2 = C->JoinWith(*A, true);
    ASSERT_TRUE(J2);
    EXPECT_EQ(J2->GetOrder(), 4);
    ExpectSameCurve(*C, *J2, 1e-10, 0, 1);
    ExpectSameCurve(*A, *J2, 1e-10, 2, 1);  // A runs backwards over [1, 2]

    auto Polygon = A->JoinWith(*Curve(Next, 3), false);
    ASSERT_TRUE(Polygon);
    EXPECT_EQ(Polygon->Count(), 9);
    EXPECT_EQ(Polygon->KnotType, ktOpen);
    EXPECT_EQ(Polygon->GetOrder(), 4);
    EXPECT_EQ(A->JoinWith(TBSpline(4), true), nullptr);
}

TEST(BSplineClosestPoint, OnAndOffTheCurve) {
    auto C = Curve(Six);
    C->UpdateKnots();
    for (const double t0 : {0.0, 0.7, 1.55, 3.0}) {
        double T = -1;
        ExpectNear(C->ClosestPoint(C->EvaluatePoint(t0), T), C->EvaluatePoint(t0), 1e-6);
        EXPECT_NEAR(T, t0, 1e-6);
    }
    // Off the curve the connecting line stands square on the tangent.
    const TMVector P{3, 3, 3};
    double T = 0;
    const TMVector Q = C->ClosestPoint(P, T);
    EXPECT_NEAR(VectorDot(VectorFromTo(Q, P), C->Derivatives(T)[1]), 0, 1e-6);
    ExpectNear(Q, C->EvaluatePoint(T));
    EXPECT_THROW(TBSpline(4).ClosestPoint(P, T), EGeometryError);
}

// A hairpin whose legs run closer together than the even samples lie along it: the nearest sample
// can lie on the other leg.
TEST(BSplineClosestPoint, FoldedCurveAnswersFromTheRightBranch) {
    auto C = Curve({{0, 0, 0}, {15, 0, 0}, {20, 0, 0}, {20, 0.2, 0}, {15, 0.2, 0}, {0, 0.2, 0}});
    C->UpdateKnots();
    for (int i = 0; i <= 200; ++i) {
        const double t0 = C->MaxT() * i / 200;
        const TMVector P = C->EvaluatePoint(t0);
        double T = -1;
        EXPECT_LT(VectorDistance(C->ClosestPoint(P, T), P), 1e-6) << "t = " << t0;
        ExpectNear(C->EvaluatePoint(T), P, 1e-6);
    }
}

TEST(BSplineKnuckles, MadeAndRemovedOnOpenCurves) {
    auto C = Curve(Six);
    EXPECT_FALSE(C->KnuckleAllowed(0));
    EXPECT_TRUE(C->KnuckleAllowed(4));
    EXPECT_FALSE(C->KnuckleAllowed(5));
    EXPECT_FALSE(C->IsKnuckle(2));
    C->SetKnuckle(2, true);
    ASSERT_EQ(C->Count(), 8);
    for (int i = 2; i <= 4; ++i) ExpectNear(C->Point(i)->Vector(), Six[2]);
    int First, Last;
    bool Found;
    for (int i = 2; i <= 4; ++i) {
        C->FindKnuckle(i, First, Last, Found);
        EXPECT_TRUE(Found && First == 2 && Last == 4) << i;
    }
    EXPECT_FALSE(C->IsKnuckle(1));
    C->SetKnuckle(2, true);  // already one
    EXPECT_EQ(C->Count(), 8);
    C->SetKnuckle(3, false);
    EXPECT_EQ(C->Count(), 6);

    auto N = Curve(Six, 4, ktNonUniform, SixKnots);
    EXPECT_FALSE(N->KnuckleAllowed(2));
    N->SetKnuckle(2, true);
    EXPECT_EQ(N->Count(), 6);
}

TEST(BSplineIsSameAs, PointsOrderTypeAndKnotsInUse) {
    auto A = Curve(Six);
    auto B = Curve(Six);
    EXPECT_TRUE(A->IsSameAs(*B));
    // Knots left over from a longer curve do not count.
    auto Longer = Curve(Six);
    Longer->AddPoint(9, 9, 9);
    Longer->UpdateKnots();
    Longer->Delete(6);
    EXPECT_TRUE(A->IsSameAs(*Longer));
    B->Point(3)->X += 1e-6;
    EXPECT_FALSE(A->IsSameAs(*B));
    auto C = Curve(Six, 3);
    EXPECT_FALSE(A->IsSameAs(*C));
}

TEST(BSplineOps, InsertSortedKnotValue) {
    struct Case {
        TKnots Before;
        double V;
        TKnots After;
    };
    const Case Cases[] = {
        {{1, 2, 3}, 0.5, {0.5, 1, 2, 3}},
        {{1, 2, 3}, 2.5, {1, 2, 2.5, 3}},
        {{1, 2, 2, 3}, 2, {1, 2, 2, 2, 3}},
        {{0, 0, 1, 1}, 0, {0, 0, 0, 1, 1}},
        {{0, 1, 2}, 5, {0, 1, 2, 5}},  // over the first value after the sorted part
    };
    for (const Case& C : Cases) {
        TKnotArray K{};
        std::copy(C.Before.begin(), C.Before.end(), K.begin());
        InsertSortedKnotValue(K, C.V);
        EXPECT_EQ(TKnots(K.begin(), K.begin() + static_cast<long>(C.After.size())), C.After) << C.V;
    }
    TKnotArray Full;
    for (std::size_t i = 0; i < Full.size(); ++i) Full[i] = double(i);
    InsertSortedKnotValue(Full, 1000);
    EXPECT_EQ(Full.back(), 498);
}

}  // namespace
}  // namespace sarnova
