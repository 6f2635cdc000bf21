#include "surfaces/Gregory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "foundation/Errors.h"
#include "foundation/TextBlock.h"
#include "foundation/TextFile.h"
#include "foundation/VkMathsExpect.h"
#include "platform/RecordingGraphics.h"
#include "surfaces/AllocationCounter.h"
#include "surfaces/BSurface.h"

namespace sarnova {
namespace {

// A curved patch whose inner points and partners all differ, so every blend matters.
std::unique_ptr<TGregorySurface> WavyPatch() {
    auto S = std::make_unique<TGregorySurface>();
    for (int m = 0; m < 20; ++m) {
        const int i = m % 4, j = (m % 16) / 4;
        TMVector P{i + 0.1 * j * j, j + 0.15 * i, std::sin(i + 1.7 * j)};
        if (m >= 16) P = VectorAdd(P, {0.3, -0.2, 0.4 + 0.1 * m});  // partners away from their inner points
        S->ControlPoint(m).SetVector(P);
    }
    return S;
}

TMVector P(const TGregorySurface& S, int m) { return S.ControlPoint(m).Vector(); }

double Bernstein(int n, int i, double t) {
    return std::tgamma(n + 1) / (std::tgamma(i + 1) * std::tgamma(n - i + 1)) * std::pow(t, i) *
           std::pow(1 - t, n - i);
}

TMVector CubicBezier(const TMVector& A, const TMVector& B, const TMVector& C, const TMVector& D, double t) {
    TMVector R = VectorScale(A, Bernstein(3, 0, t));
    R = VectorAdd(R, VectorScale(B, Bernstein(3, 1, t)));
    R = VectorAdd(R, VectorScale(C, Bernstein(3, 2, t)));
    return VectorAdd(R, VectorScale(D, Bernstein(3, 3, t)));
}

// The tensor-product Bezier of points 0 .. 15 as stored, without blending.
TMVector StoredNet(const TGregorySurface& S, double u, double v) {
    TMVector R{0, 0, 0};
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i)
            R = VectorAdd(R, VectorScale(P(S, i + 4 * j), Bernstein(3, i, u) * Bernstein(3, j, v)));
    return R;
}

TEST(GregorySurfaceTest, CornersAndTheCornerRule) {
    const auto S = WavyPatch();
    EXPECT_EQ(S->Evaluate(0, 0), P(*S, 0));
    EXPECT_EQ(S->Evaluate(1, 0), P(*S, 3));
    EXPECT_EQ(S->Evaluate(0, 1), P(*S, 12));
    EXPECT_EQ(S->Evaluate(1, 1), P(*S, 15));
    // Within 1e-5 of a corner the stored net is used; just outside the blend, which agrees with it
    // in the limit.
    ExpectNear(S->Evaluate(1e-6, 0), StoredNet(*S, 1e-6, 0), 1e-14);
    ExpectNear(S->Evaluate(1 - 1e-6, 1), StoredNet(*S, 1 - 1e-6, 1), 1e-14);
    EXPECT_LT(VectorDistance(S->Evaluate(1e-4, 0), S->Evaluate(1e-6, 0)), 1e-3);
    EXPECT_NE(S->Evaluate(0.4, 0.3), StoredNet(*S, 0.4, 0.3));
}

TEST(GregorySurfaceTest, SidesAreTheBoundaryCurves) {
    const auto S = WavyPatch();
    const int Sides[4][4] = {{0, 1, 2, 3}, {12, 13, 14, 15}, {0, 4, 8, 12}, {3, 7, 11, 15}};
    for (int k = 0; k <= 10; ++k) {
        const double t = k / 10.0;
        const auto Side = [&](int s) {
            return CubicBezier(P(*S, Sides[s][0]), P(*S, Sides[s][1]), P(*S, Sides[s][2]), P(*S, Sides[s][3]), t);
        };
        ExpectNear(S->Evaluate(t, 0), Side(0));
        ExpectNear(S->Evaluate(t, 1), Side(1));
        ExpectNear(S->Evaluate(0, t), Side(2));
        ExpectNear(S->Evaluate(1, t), Side(3));
    }
}

TEST(GregorySurfaceTest, CrossDerivativeOfASideDependsOnItsOwnInnerPoints) {
    auto S = WavyPatch();
    const auto Sv = [&S](double u) { return S->EvaluateDerivatives(u, 0).Sv; };
    const auto Su = [&S](double v) { return S->EvaluateDerivatives(0, v).Su; };
    const TMVector Before = Sv(0.4), BeforeU = Su(0.4);
    // P5 and P6 govern the sides u = 0 and u = 1, not v = 0.
    S->ControlPoint(5).SetVector({9, 9, 9});
    S->ControlPoint(6).SetVector({-9, 9, 9});
    ExpectNear(Sv(0.4), Before, 1e-12);
    EXPECT_GT(VectorDistance(Su(0.4), BeforeU), 1);
    S->ControlPoint(16).SetVector({9, 9, 9});
    EXPECT_GT(VectorDistance(Sv(0.4), Before), 1);
}

TEST(GregorySurfaceTest, DerivativesMatchDifferences) {
    auto S = WavyPatch();
    const double h = 1e-5;
    for (const auto& [u, v] : {std::pair{0.3, 0.6}, {0.8, 0.1}, {0.05, 0.9}, {0.5, 0.5}}) {
        const TSurfaceDerivatives D = S->EvaluateDerivatives(u, v);
        ExpectNear(D.S, S->Evaluate(u, v), 1e-12);
        const auto Du = [&](double a, double b) {
            return VectorScale(VectorFromTo(S->Evaluate(a - h, b), S->Evaluate(a + h, b)), 1 / (2 * h));
        };
        const auto Dv = [&](double a, double b) {
            return VectorScale(VectorFromTo(S->Evaluate(a, b - h), S->Evaluate(a, b + h)), 1 / (2 * h));
        };
        ExpectNear(D.Su, Du(u, v), 1e-6);
        ExpectNear(D.Sv, Dv(u, v), 1e-6);
        const double g = 1e-4;
        ExpectNear(D.Suu, VectorScale(VectorFromTo(Du(u - g, v), Du(u + g, v)), 1 / (2 * g)), 1e-4);
        ExpectNear(D.Svv, VectorScale(VectorFromTo(Dv(u, v - g), Dv(u, v + g)), 1 / (2 * g)), 1e-4);
        ExpectNear(D.Suv, VectorScale(VectorFromTo(Du(u, v - g), Du(u, v + g)), 1 / (2 * g)), 1e-4);
    }
    // At a corner the stored net with no blend derivatives.
    EXPECT_EQ(S->EvaluateDerivatives(0, 0).S, P(*S, 0));
    ExpectNear(S->EvaluateDerivatives(0, 0).Su, VectorScale(VectorFromTo(P(*S, 0), P(*S, 1)), 3));
}

TEST(GregorySurfaceTest, EvaluationAllocatesNothing) {
    auto S = WavyPatch();
    S->EvaluateDerivatives(0.5, 0.5);
    const long Before = AllocationCount();
    TMVector Sum{0, 0, 0};
    for (int a = 0; a <= 10; ++a)
        for (int b = 0; b <= 10; ++b)
            Sum = VectorAdd(VectorAdd(Sum, S->Evaluate(a / 10.0, b / 10.0)), S->EvaluateDerivatives(a / 10.0, b / 10.0).Suv);
    EXPECT_EQ(AllocationCount() - Before, 0);
    EXPECT_TRUE(std::isfinite(Sum.X));
}

TEST(GregorySurfaceTest, FlatPatchFromCorners) {
    const auto S = GregorySurfaceFromCorners({0, 0, 0}, {3, 0, 0}, {3, 3, 0}, {0, 3, 0});
    ExpectNear(P(*S, 1), {1, 0, 0});
    ExpectNear(P(*S, 11), {3, 2, 0});
    ExpectNear(P(*S, 13), {1, 3, 0});
    ExpectNear(P(*S, 4), {0, 1, 0});
    // Inner points at a quarter and three quarters between opposite side points.
    ExpectNear(P(*S, 5), {0.75, 1, 0});
    ExpectNear(P(*S, 6), {2.25, 1, 0});
    ExpectNear(P(*S, 16), {1, 0.75, 0});
    ExpectNear(P(*S, 19), {2, 2.25, 0});
    for (int a = 0; a <= 8; ++a)
        for (int b = 0; b <= 8; ++b) {
            EXPECT_EQ(S->Evaluate(a / 8.0, b / 8.0).Z, 0);
            EXPECT_EQ(S->EvaluateDerivatives(a / 8.0, b / 8.0).Suv.Z, 0);
        }
    const TMBox Box = S->GetExtents();
    EXPECT_EQ(Box.Max, (TMVector{3, 3, 0}));
    EXPECT_EQ(Box.Min, (TMVector{0, 0, 0}));
}

// ---- Conversion to the rational degree-7 net ----

// The target net evaluated as a rational surface with its stored weights, in Gregory parameters.
TMVector Rational(const TBSplineSurface& N, double u, double v) {
    TMVector Sum{0, 0, 0};
    double W = 0;
    for (int i = 0; i < 8; ++i)
        for (int j = 0; j < 8; ++j) {
            const TRPoint& Q = N.Point(i, j);
            const double b = Bernstein(7, j, u) * Bernstein(7, i, v) * Q.W;
            Sum = VectorAdd(Sum, VectorScale(Q.Vector(), b));
            W += b;
        }
    return VectorScale(Sum, 1 / W);
}

TEST(GregorySurfaceTest, ConversionIsExactAsARationalNet) {
    const auto S = WavyPatch();
    TBSplineSurface N;
    N.PointByIndex(99).SetXYZ(1, 2, 3);  // a stray point beyond the net: replaced, not kept
    S->ConvertToBSpline(N);
    ASSERT_EQ(N.NumU(), 8);
    ASSERT_EQ(N.NumV(), 8);
    EXPECT_EQ(N.PointCount(), 64);
    EXPECT_EQ(N.OrderU(), 8);
    EXPECT_EQ(N.OrderV(), 8);
    EXPECT_TRUE(N.GetForcedBezier());
    for (const auto& [u, v] : {std::pair{0.3, 0.6}, {0.8, 0.1}, {0.5, 0.5}, {0.02, 0.97}, {0.5, 0.0}, {1.0, 0.3}})
        ExpectNear(Rational(N, u, v), S->Evaluate(u, v), 1e-9);

    // Row 0 is the side v = 0 raised to degree 7 (corners and their nudged neighbours aside).
    const TMVector P0 = P(*S, 0), P1 = P(*S, 1), P2 = P(*S, 2), P3 = P(*S, 3);
    const auto Mix = [](std::initializer_list<std::pair<double, TMVector>> Terms, double D) {
        TMVector R{0, 0, 0};
        for (const auto& [c, V] : Terms) R = VectorAdd(R, VectorScale(V, c / D));
        return R;
    };
    ExpectNear(N.Point(0, 2).Vector(), Mix({{5, P0}, {6, P1}}, 11), 1e-12);
    ExpectNear(N.Point(0, 3).Vector(), Mix({{2, P0}, {15, P1}, {6, P2}}, 23), 1e-12);
    ExpectNear(N.Point(0, 4).Vector(), Mix({{6, P1}, {15, P2}, {2, P3}}, 23), 1e-12);
    ExpectNear(N.Point(0, 5).Vector(), Mix({{6, P2}, {5, P3}}, 11), 1e-12);
    EXPECT_EQ(N.Point(0, 0).Vector(), P0);
    EXPECT_EQ(N.Point(0, 7).Vector(), P3);
    EXPECT_EQ(N.Point(7, 0).Vector(), P(*S, 12));
    EXPECT_EQ(N.Point(7, 7).Vector(), P(*S, 15));
    // The points next to a corner sit 1e-10 of the way towards the next one.
    ExpectNear(N.Point(0, 1).Vector(), VectorLerp(P0, N.Point(0, 2).Vector(), 1e-10), 1e-14);
    ExpectNear(N.Point(6, 7).Vector(), VectorLerp(P(*S, 15), N.Point(5, 7).Vector(), 1e-10), 1e-14);
    // Inner points near corner 0 (target (i, j) holds Gregory k = j, l = i).
    const TMVector P4 = P(*S, 4), P5 = P(*S, 5), P8 = P(*S, 8), P16 = P(*S, 16);
    ExpectNear(N.Point(1, 1).Vector(), Mix({{7, P0}, {3, P1}, {3, P4}}, 13), 1e-12);
    ExpectNear(N.Point(1, 2).Vector(), Mix({{28, P0}, {42, P1}, {6, P2}, {15, P4}, {18, P16}}, 109), 1e-12);
    ExpectNear(N.Point(2, 1).Vector(), Mix({{28, P0}, {15, P1}, {42, P4}, {6, P8}, {18, P5}}, 109), 1e-12);
}

TEST(GregorySurfaceTest, ConversionWeights) {
    const auto S = WavyPatch();
    TBSplineSurface N;
    S->ConvertToBSpline(N);
    const double Quarter[4][4] = {{1e-10, 2.0 / 7, 11.0 / 21, 23.0 / 35},
                                  {2.0 / 7, 26.0 / 49, 109.0 / 147, 211.0 / 245},
                                  {11.0 / 21, 109.0 / 147, 412.0 / 441, 256.0 / 245},
                                  {23.0 / 35, 211.0 / 245, 256.0 / 245, 282.0 / 245}};
    for (int k = 0; k < 8; ++k)
        for (int l = 0; l < 8; ++l) {
            const double Expected = Quarter[k < 4 ? k : 7 - k][l < 4 ? l : 7 - l];
            EXPECT_NEAR(N.Point(k, l).W, Expected, 1e-14) << k << ", " << l;
            EXPECT_DOUBLE_EQ(N.Point(k, l).W, N.Point(l, k).W);
        }
}

// ---- Points, curves, drawing and text ----

TEST(GregorySurfaceTest, PointsCopiesAndTransforms) {
    auto S = WavyPatch();
    TRPoint Q(TMVector{1, 2, 3});
    Q.W = 0.5;
    Q.Tag = 7;
    S->SetControlPoint(19, Q);
    EXPECT_EQ(S->ControlPoint(19).W, 0.5);
    const auto C = CloneGregorySurface(*S);
    for (int m = 0; m < TGregorySurface::ControlPointCount; ++m) EXPECT_EQ(P(*C, m), P(*S, m));
    EXPECT_EQ(C->ControlPoint(19).Tag, 7);
    const auto T = S->CreateTransformed(MatrixTranslation(1, 0, -2));
    ExpectNear(P(*T, 19), {2, 2, 1});
    ExpectNear(T->Evaluate(0.3, 0.4), VectorAdd(S->Evaluate(0.3, 0.4), {1, 0, -2}), 1e-12);
    ExpectError([&] { S->ControlPoint(20); }, "List index out of bounds (20)");
    ExpectError([&] { S->ControlPoint(-1); }, "List index out of bounds (-1)");
}

TEST(GregorySurfaceTest, BoundaryCurves) {
    const auto S = WavyPatch();
    const std::pair<int, std::array<int, 4>> Cases[] = {
        {0, {0, 4, 8, 12}}, {1, {0, 1, 2, 3}}, {3, {12, 13, 14, 15}}, {2, {3, 7, 11, 15}}, {7, {3, 7, 11, 15}}};
    for (const auto& [Side, Indices] : Cases) {
        const auto C = S->BoundaryCurve(Side);
        EXPECT_EQ(C->GetOrder(), 4);
        ASSERT_EQ(C->Count(), 4);
        for (int k = 0; k < 4; ++k) EXPECT_EQ(C->Point(k)->Vector(), P(*S, Indices[static_cast<std::size_t>(k)])) << Side;
    }
    // The curve is the patch's side.
    ExpectNear(S->BoundaryCurve(2)->EvaluatePoint(0.3), S->Evaluate(1, 0.3));
}

TEST(GregorySurfaceTest, ControlNetDrawing) {
    auto S = WavyPatch();
    TRecordingGraphics G;
    S->DrawControlNet(G);
    ASSERT_EQ(G.Calls.size(), 14u + 8u);
    EXPECT_EQ(G.Calls[0].Name, "LineStartPoint");
    EXPECT_EQ(G.Calls[13].Name, "LineFinish");
    const int Strip[] = {0, 1, 2, 3, 7, 11, 15, 14, 13, 12, 8, 4, 0};
    for (int k = 0; k < 13; ++k) EXPECT_EQ(G.Calls[static_cast<std::size_t>(k)].Points[0], P(*S, Strip[k]));
    const int Spokes[8][2] = {{1, 16}, {2, 17}, {4, 5}, {8, 9}, {7, 6}, {11, 10}, {13, 18}, {14, 19}};
    for (int k = 0; k < 8; ++k) {
        const TGraphicsCall& C = G.Calls[14 + static_cast<std::size_t>(k)];
        EXPECT_EQ(C.Name, "LinePoints");
        EXPECT_EQ(C.Points, (std::vector<TMVector>{P(*S, Spokes[k][0]), P(*S, Spokes[k][1])}));
    }
}

TEST(GregorySurfaceTest, TextBlockRoundTrip) {
    auto S = WavyPatch();
    const std::string Text = SavedText(*S);
    std::vector<std::string> Lines;
    for (std::size_t a = 0, b; (b = Text.find('\n', a)) != std::string::npos; a = b + 1) Lines.push_back(Text.substr(a, b - a));
    ASSERT_EQ(Lines.size(), 20u);
    EXPECT_EQ(Lines[1], "     1.000000      0.150000      0.841471");
    EXPECT_EQ(Text.back(), '\n');
    TGregorySurface R;
    R.ControlPoint(3).W = 0.25;
    LoadText(R, Text);
    for (int m = 0; m < 20; ++m) ExpectNear(P(R, m), P(*S, m), 5e-7);
    EXPECT_EQ(R.ControlPoint(3).W, 0.25);  // weights are not part of the block

    // A short block fails and changes nothing.
    TGregorySurface Short;
    Short.ControlPoint(0).SetXYZ(4, 5, 6);
    EXPECT_THROW(LoadText(Short, Text.substr(0, Text.size() / 2)), EInOutError);
    EXPECT_EQ(P(Short, 0), (TMVector{4, 5, 6}));
    EXPECT_THROW(LoadText(Short, "1 2 x\n"), EInOutError);
}

}  // namespace
}  // namespace sarnova
