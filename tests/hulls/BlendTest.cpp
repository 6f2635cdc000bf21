#include <gtest/gtest.h>

#include "hulls/Blend.h"

using namespace sarnova;

namespace {

TBlendFunction MakeBlend(TMVector P0, TMVector T0, TMVector P1, TMVector T1) {
    TBlendFunction B;
    B.SetEnd(1, P0);
    B.SetEnd(2, T0);
    B.SetEnd(4, P1);
    B.SetEnd(5, T1);
    B.Fit();
    return B;
}

}  // namespace

TEST(Blend, RunsFromEndToEndWithTheGivenTangents) {
    const TMVector P0{0.1, 0.7, -0.3}, P1{3.3, 1.9, 0.7};
    const TBlendFunction B = MakeBlend(P0, {1.7, 0.3, 0.0}, P1, {0.9, -2.1, 0.4});
    EXPECT_EQ(B.PointAt(0), P0);
    EXPECT_EQ(B.PointAt(1), P1);
    const double h = 1e-6;
    const TMVector D = VectorScale(VectorFromTo(B.PointAt(0), B.PointAt(h)), 1 / h);
    EXPECT_NEAR(D.X, 1.7, 1e-5);
    EXPECT_NEAR(D.Y, 0.3, 1e-5);
    const TMVector E = VectorScale(VectorFromTo(B.PointAt(1 - h), B.PointAt(1)), 1 / h);
    EXPECT_NEAR(E.X, 0.9, 1e-5);
    EXPECT_NEAR(E.Y, -2.1, 1e-5);
    EXPECT_NEAR(E.Z, 0.4, 1e-5);
}

TEST(Blend, ATangentPointCountsFromTheEndPointAtFitTime) {
    TBlendFunction B;
    B.SetEnd(3, {1, 1, 0});  // tangent point before the point moves
    B.SetEnd(1, {1, 0, 0});
    B.SetEnd(4, {2, 0, 0});
    B.SetEnd(5, {1, 0, 0});
    EXPECT_EQ(B.StartEnd.GetTangent(), (TMVector{0, 1, 0}));
    B.Fit();
    const double h = 1e-6;
    EXPECT_NEAR((B.PointAt(h).Y - B.PointAt(0).Y) / h, 1.0, 1e-5);
    B.SetEnd(2, {5, 0, 0});
    EXPECT_FALSE(B.StartEnd.UseTangentPoint);
    B.SetEnd(7, {9, 9, 9});  // ignored
    EXPECT_EQ(B.StartEnd.Point, (TMVector{1, 0, 0}));
}

TEST(Blend, ParameterAtXInvertsAMonotoneX) {
    // x(t) = -4 t^3 + 7 t^2 + t + 2 rises from 2 to 6.
    const TBlendFunction B = MakeBlend({2, 0, 0}, {1, 2, 0}, {6, 1, 0}, {3, -1, 0});
    const struct {
        double X;
        double T;  // expected parameter; -1 for none
    } cases[] = {{2.0, 0.0}, {6.0, 1.0}, {2.00005, 0.0}, {5.99995, 1.0}, {1.9, -1.0}, {6.1, -1.0}, {1.9998, -1.0}};
    for (const auto& c : cases) EXPECT_EQ(B.ParameterAtX(c.X), c.T) << c.X;
    for (double X : {2.5, 3.7, 4.0, 5.2}) {
        const double T = B.ParameterAtX(X);
        ASSERT_GT(T, 0.0) << X;
        EXPECT_NEAR(B.XAt(T), X, 1e-4);
        EXPECT_EQ(B.PointAtX(X), B.PointAt(T));
    }
    EXPECT_EQ(B.PointAtX(7), B.PointAt(-1)) << "a failed inverse evaluates the cubic at -1";
}

TEST(Blend, ParameterAtXEndsOnASteepCubic) {
    // So steep that no double parameter meets the tolerance: the pass limit ends the search.
    const TBlendFunction B = MakeBlend({0, 0, 0}, {1e20, 0, 0}, {1e20, 0, 0}, {1e20, 0, 0});
    const double T = B.ParameterAtX(0.37e20 + 0.5);
    EXPECT_NEAR(T, 0.37, 1e-9);
}
