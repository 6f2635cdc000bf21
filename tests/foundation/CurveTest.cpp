#include "foundation/Curve.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "VkMathsExpect.h"
#include "foundation/TextFile.h"
#include "platform/RecordingGraphics.h"

namespace sarnova {
namespace {

std::unique_ptr<TCBSpline> Through(const std::vector<TMVector>& Points) {
    auto C = std::make_unique<TCBSpline>();
    for (const TMVector& P : Points) C->AddVector(P);
    return C;
}

std::string Block(TCBSpline& C) {
    TTextWriter Out;
    C.SaveToText(Out);
    return Out.Text();
}

const std::vector<TMVector> Four = {{0, 0, 0}, {1, 1, 0}, {2, 0, 1}, {3, 1, 0}};

TEST(CBSplineText, DefaultsAndRoundTrip) {
    TCBSpline Fresh;
    EXPECT_EQ(Block(Fresh),
              "Continuity=SecondOrder\nStartCondition=Natural\nEndCondition=Natural\n"
              "AccountForChordLength=False\nNumPoints=0\n");

    auto C = Through({{1, 2, 3}, {4, 5, 6.5}});
    C->Continuity = scFirstOrder;
    C->StartCondition = {ecClamped, {1, 0.5, 0}};
    C->EndCondition = {ecBessel, {}};
    C->AccountForChordLength = true;
    const std::string Text = Block(*C);
    EXPECT_EQ(Text.substr(0, Text.find("NumPoints")),
              "Continuity=FirstOrder\nStartCondition=Clamped [1, 0.5, 0]\nEndCondition=Bessel\n"
              "AccountForChordLength=True\n");
    TCBSpline Read;
    TTextReader In(Text);
    Read.LoadFromText(In);
    EXPECT_EQ(Read.Continuity, scFirstOrder);
    EXPECT_EQ(Read.StartCondition, C->StartCondition);
    EXPECT_EQ(Read.EndCondition, C->EndCondition);
    EXPECT_TRUE(Read.AccountForChordLength);
    ASSERT_EQ(Read.Count(), 2);
    ExpectNear(Read.Point(1)->Vector(), {4, 5, 6.5});

    // The four setting lines are read by position; unknown words fall back.
    TCBSpline Loose;
    TTextReader Odd("A=secondorderpiecewise\nB=natural\nC=[0, 0, 2]\nD=no\nNumPoints=0\n");
    Loose.LoadFromText(Odd);
    EXPECT_EQ(Loose.Continuity, scSecondOrderPiecewise);
    EXPECT_EQ(Loose.StartCondition.Kind, ecNatural);
    EXPECT_EQ(Loose.EndCondition, (TEndCondition{ecClamped, {0, 0, 2}}));
    EXPECT_FALSE(Loose.AccountForChordLength);
}

TEST(CBSplineGenerate, InterpolatesThePointsWithTheChosenScheme) {
    auto C = Through(Four);
    C->Generate();
    EXPECT_EQ(C->Spline().Count(), 6);
    EXPECT_EQ(C->MinT(), 0);
    EXPECT_EQ(C->MaxT(), 3);
    for (int i = 0; i < 4; ++i) ExpectNear(C->PointAt(i)->Vector(), Four[static_cast<std::size_t>(i)], 1e-12);
    EXPECT_EQ(C->Generated().Count(), 100);  // the spline's DisplaySegments samples

    C->Continuity = scFirstOrder;
    C->Generate();
    EXPECT_EQ(C->Spline().Count(), 10);

    // Repeated points are dropped before interpolating, so the range follows the distinct points.
    auto D = Through({{0, 0, 0}, {1, 1, 0}, {1, 1, 0}, {2, 0, 1}, {3, 1, 0}});
    D->Generate();
    EXPECT_EQ(D->MaxT(), 3);
    auto Found = D->PointAtX(2.5);  // searched over the spline's range, not over the point count
    ASSERT_TRUE(Found);
    EXPECT_NEAR(Found->X, 2.5, D->Tolerance);
}

TEST(CBSplineGenerate, LinesAndCurvesThatCannotBeInterpolated) {
    auto Line = Through({{0, 0, 0}, {4, 2, 0}});
    Line->Generate();
    EXPECT_EQ(Line->Spline().GetOrder(), 2);
    auto Mid = Line->PointAtX(2);
    ASSERT_TRUE(Mid);
    ExpectNear(Mid->Vector(), {2, 1, 0}, 1e-4);

    // Two distinct points among three: their line, for every scheme.
    auto Twice = Through({{0, 0, 0}, {4, 2, 0}, {4, 2, 0}});
    Twice->Continuity = scSecondOrderPiecewise;
    Twice->Generate();
    EXPECT_EQ(Twice->Spline().GetOrder(), 2);
    EXPECT_EQ(Twice->Spline().Count(), 2);

    // Below two points nothing changes.
    auto One = Through({{1, 1, 1}});
    One->Generate();
    EXPECT_EQ(One->Spline().Count(), 0);
    EXPECT_EQ(One->Generated().Count(), 0);

    // A failing interpolation (too many knots) leaves the last spline in place.
    auto Many = Through(Four);
    Many->Generate();
    Many->Continuity = scFirstOrder;
    for (int i = 4; i < 200; ++i) Many->AddPoint(i, i % 2, 0);
    EXPECT_THROW(Many->Generate(), EGeometryError);
    EXPECT_EQ(Many->Spline().Count(), 6);
}

TEST(CBSplineTransformed, SettingsKeptAndClampedTangentsTurnedWithTheCurve) {
    auto C = Through(Four);
    C->StartCondition = {ecClamped, {1, 0, 0}};
    C->EndCondition = {ecClamped, {0, 0, 2}};
    C->AccountForChordLength = true;
    C->Continuity = scSecondOrderPiecewise;
    // A quarter turn about z, then a shift: the tangents turn but do not shift.
    TMMatrix M = MatrixMultiply(MatrixTranslation(5, 6, 7), MatrixRotationAboutAxis({0, 0, 1}, M_PI / 2));
    auto T = C->Transformed(M);
    EXPECT_EQ(T->Continuity, scSecondOrderPiecewise);
    EXPECT_TRUE(T->AccountForChordLength);
    EXPECT_EQ(T->StartCondition.Kind, ecClamped);
    ExpectNear(T->StartCondition.Tangent, MatrixTransformPoint(MatrixRotationAboutAxis({0, 0, 1}, M_PI / 2), {1, 0, 0}));
    ExpectNear(T->EndCondition.Tangent, {0, 0, 2});
    // The transformed curve is the original curve transformed.
    C->Generate();
    T->Generate();
    for (int i = 0; i <= 12; ++i) {
        const double t = 3.0 * i / 12;
        ExpectNear(T->PointAt(t)->Vector(), MatrixTransformPoint(M, C->PointAt(t)->Vector()), 1e-9);
    }
}

TEST(CBSplineDrawing, CurveAndControlPolygonWithHandles) {
    auto C = Through(Four);
    TRecordingGraphics G;
    C->Draw(G);
    ASSERT_EQ(G.Names(), std::vector<std::string>({"Polyline"}));
    EXPECT_EQ(G.Calls[0].Points.size(), 100u);
    TRecordingGraphics H;
    C->DrawControlPolygon(H);
    EXPECT_EQ(H.Names(), std::vector<std::string>({"Polyline", "EditHandlePoint", "EditHandlePoint", "EditHandlePoint",
                                                   "EditHandlePoint", "EditHandlePoint", "EditHandlePoint"}));
    EXPECT_EQ(H.Calls[1].Kind, 2);
    EXPECT_EQ(C->DigitisationParameters(true).size(), 100u);
    const TFrenetFrame F = C->FrenetFrame(1.5);
    ExpectNear(F.Point, C->PointAt(1.5)->Vector());
    EXPECT_GT(F.Curvature, 0);
}

}  // namespace
}  // namespace sarnova
