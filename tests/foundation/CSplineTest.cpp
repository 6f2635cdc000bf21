#include "foundation/CSpline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "VkMathsExpect.h"

namespace sarnova {
namespace {

std::unique_ptr<TCSpline> Spline(const std::vector<TMVector>& Points) {
    auto C = std::make_unique<TCSpline>();
    for (const TMVector& P : Points) C->AddVector(P);
    return C;
}

const std::vector<TMVector> Zigzag = {{0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {3, 1, 0}};

TEST(CSpline, NaturalCubicThroughThePoints) {
    auto C = Spline(Zigzag);
    C->Generate();
    EXPECT_EQ(C->MaxT(), 3);
    EXPECT_EQ(C->MinT(), 0);
    // The natural spline of y on unit spacing, worked out apart: second derivatives 0, -4, 4, 0.
    const std::pair<double, TMVector> Cases[] = {
        {0, {0, 0, 0}},          {0.5, {0.5, 0.75, 0}},  {1, {1, 1, 0}},         {1.25, {1.25, 0.8125, 0}},
        {1.5, {1.5, 0.5, 0}},    {2.75, {2.75, 0.59375, 0}}, {3, {3, 1, 0}},     {3.5, {3, 1, 0}},
        {-0.5, {-0.5, -0.75, 0}},
    };
    for (const auto& [t, P] : Cases) {
        auto Q = C->PointAt(t);
        ASSERT_TRUE(Q) << t;
        ExpectNear(Q->Vector(), P, 1e-12);
        EXPECT_EQ(Q->T, t);
    }
    EXPECT_EQ(C->PointAt(4), nullptr);
    EXPECT_EQ(C->PointAt(-1), nullptr);
    EXPECT_EQ(C->PointAt(1e300), nullptr);
    EXPECT_EQ(C->PointAt(NAN), nullptr);

    // Natural ends, and smooth where the segments meet.
    EXPECT_NEAR(C->Derivatives(0)[2].Y, 0, 1e-12);
    EXPECT_NEAR(C->Derivatives(3)[2].Y, 0, 1e-12);
    EXPECT_NEAR(C->Derivatives(1 - 1e-9)[1].Y, C->Derivatives(1)[1].Y, 1e-7);
    EXPECT_NEAR(C->Derivatives(1)[2].Y, -4, 1e-12);
    EXPECT_EQ(C->Derivatives(5)[0].X, 0);

    const TPolyline& G = C->Generated();
    ASSERT_EQ(G.Count(), 101);
    EXPECT_EQ(G.First()->W, 0);
    EXPECT_EQ(G.Last()->T, 3);
    EXPECT_EQ(G.Point(50)->W, 1.5);
    ExpectNear(G.Point(50)->Vector(), {1.5, 0.5, 0}, 1e-12);

    auto Found = C->PointAtY(0.8125);
    ASSERT_TRUE(Found);
    EXPECT_NEAR(Found->Y, 0.8125, C->Tolerance);
}

TEST(CSpline, TooFewOrTooManyPointsGiveThePolyline) {
    for (const int n : {3, 201}) {
        auto C = Spline({});
        for (int i = 0; i < n; ++i) C->AddPoint(i, i % 2, 0);
        C->Generate();
        EXPECT_EQ(C->Generated().Count(), n);
        EXPECT_EQ(C->XCoefficients(), nullptr);
        ExpectNear(C->PointAt(1.5)->Vector(), {1.5, 0.5, 0});
    }
    // Tables of an earlier point count are not read.
    auto C = Spline(Zigzag);
    C->AddPoint(4, 0, 0);
    C->Generate();
    ASSERT_NE(C->XCoefficients(), nullptr);
    C->Delete(4);
    ExpectNear(C->PointAt(2.5)->Vector(), {2.5, 0.5, 0});
}

TEST(CSpline, DigitisationParametersAndTransform) {
    auto C = Spline(Zigzag);
    C->AddPoint(4, 0, 0);
    const auto Params = C->DigitisationParameters(true);
    ASSERT_EQ(Params.size(), 101u);
    EXPECT_DOUBLE_EQ(Params[1], 0.04);
    EXPECT_EQ(Params.back(), 4);

    auto T = C->Transformed(MatrixTranslation(1, 2, 3));
    ASSERT_EQ(T->Count(), 5);
    ExpectNear(T->Point(4)->Vector(), {5, 2, 3});
}

}  // namespace
}  // namespace sarnova
