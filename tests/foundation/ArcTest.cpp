#include "foundation/Arc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "TextBlock.h"
#include "VkMathsExpect.h"
#include "foundation/Polyline.h"
#include "platform/RecordingGraphics.h"

using namespace sarnova;

namespace {

constexpr double Pi = std::numbers::pi;

std::unique_ptr<TCircle> CircleFrom(const TMCircle& F) {
    auto C = std::make_unique<TCircle>();
    C->SetFrame(F);
    return C;
}

void ExpectSamePoints(const TCircle& A, const TCircle& B, double Tol) {
    for (int I = 0; I < 5; ++I) ExpectNear(A.Point(I)->Vector(), B.Point(I)->Vector(), Tol);
}

}  // namespace

// ---- TCircle ----

TEST(Circle, SetFrameLaysTheQuadrantHandles) {
    const auto C = CircleFrom(MakeCircle({1, 2, 3}, {0, 0, 1}, 2));
    const TMVector Expected[] = {{1, 2, 3}, {-1, 2, 3}, {1, 0, 3}, {3, 2, 3}, {1, 4, 3}};
    for (int I = 0; I < 5; ++I) ExpectNear(C->Point(I)->Vector(), Expected[I]);
    EXPECT_DOUBLE_EQ(C->Radius(), 2);
    const TMCircle F = C->Frame();
    ExpectNear(F.Centre, {1, 2, 3});
    EXPECT_DOUBLE_EQ(F.Radius, 2);
    ExpectNear(F.Normal, {0, 0, -1});  // (P2 - P0) x (P1 - P0)
    ExpectNear(C->Normal(), {0, 0, -1});
}

TEST(Circle, ExtentsAndPolylineFollowTheFrame) {
    const auto C = CircleFrom(MakeCircle({1, 2, 3}, {0, 0, 1}, 2));
    const TMBox B = C->Extents();
    ExpectNear(B.Min, {-1, 0, 3});
    ExpectNear(B.Max, {3, 4, 3});
    const auto L = C->AsPolyline();
    ASSERT_EQ(L->Count(), 101);
    ExpectNear(L->First()->Vector(), L->Last()->Vector());
    ExpectNear(L->Point(25)->Vector(), {1, 4, 3});  // a quarter turn along the frame's axes -X, Y
    for (int I = 0; I <= 100; I += 10) EXPECT_NEAR(VectorDistance(L->Point(I)->Vector(), {1, 2, 3}), 2, 1e-12);

    const auto Control = C->ControlPolyline();
    ASSERT_EQ(Control->Count(), 5);
    for (int I = 0; I < 5; ++I) EXPECT_EQ(Control->Point(I)->Vector(), C->Point(I)->Vector());
}

TEST(Circle, SaveAndLoadGiveBackTheSamePointsFacingTheSameSide) {
    const TMCircle Frames[] = {MakeCircle({1, 2, 3}, {0, 0, 1}, 2), MakeCircle({0, 0, 0}, {0, 0, -1}, 1),
                               MakeCircle({1234.567, -2000.25, 3000.125}, {1, 2, 3}, 0.1),
                               MakeCircle({-5, 7, 0.3}, {-0.3, 0.1, -0.9}, 12.75),
                               MakeCircle({0.1, 0.2, 0.3}, {1, 0, 0}, 1.0 / 3)};
    for (const TMCircle& F : Frames) {
        const auto Original = CircleFrom(F);
        const std::string Text = SavedText(*Original);
        TCircle Copy;
        LoadText(Copy, Text);
        ExpectSamePoints(Copy, *Original, 1e-9);
        ExpectNear(Copy.Normal(), Original->Normal(), 1e-12);
        EXPECT_EQ(SavedText(Copy), Text);

        // Once read, the points survive any number of cycles exactly.
        TCircle Again;
        LoadText(Again, SavedText(Copy));
        for (int I = 0; I < 5; ++I) EXPECT_EQ(Again.Point(I)->Vector(), Copy.Point(I)->Vector());
    }
}

TEST(Circle, WritesTheNormalThePointsWerePlacedFrom) {
    const auto C = CircleFrom(MakeCircle({1, 2, 3}, {0, 0, 1}, 2));
    EXPECT_EQ(SavedText(*C), "Radius=2\nCentre=(1,2,3)\nNormal=(0,0,1)\n");
}

TEST(Circle, ReadsTheLinesAsGivenByPosition) {
    // A block whose normal is the one Frame reports lays the circle from that normal.
    TCircle C;
    LoadText(C, "Radius=2\nCentre=(1,2,3)\nNormal=(0,0,-1)\n");
    ExpectNear(C.Point(1)->Vector(), {-1, 2, 3});
    ExpectNear(C.Point(2)->Vector(), {1, 4, 3});
    ExpectNear(C.Normal(), {0, 0, 1});

    TCircle Keys;
    LoadText(Keys, "R=1,5\nC=(0,0,0)\nN=(1, 0, 0)\n");
    EXPECT_DOUBLE_EQ(Keys.Radius(), 1.5);
    ExpectError([&] { LoadText(Keys, "Radius=1\nCentre=(0,0)\nNormal=(0,0,1)\n"); },
                "Unable to convert string to number ()");
}

TEST(Circle, WritesTheRadiusAsADistanceAndTheNormalAsAUnitVector) {
    TCircle C;
    LoadText(C, "Radius=2\nCentre=(1,2,3)\nNormal=(0,0,5)\n");
    EXPECT_EQ(SavedText(C), "Radius=2\nCentre=(1,2,3)\nNormal=(0,0,1)\n");
    LoadText(C, "Radius=0.5\nCentre=(0,0,0)\nNormal=(0,-3,4)\n");
    EXPECT_EQ(SavedText(C), "Radius=0.5\nCentre=(0,0,0)\nNormal=(0,-0.6,0.8)\n");

    // Neither a negative radius nor a normal of no length lays a circle.
    ExpectError([&] { LoadText(C, "Radius=-2\nCentre=(0,0,0)\nNormal=(0,0,1)\n"); }, "Circle radius -2 is negative");
    ExpectError([&] { LoadText(C, "Radius=2\nCentre=(0,0,0)\nNormal=(0,0,0)\n"); }, "Circle normal is not a direction");
}

TEST(Circle, AHandMovedCircleIsWrittenAsItsOwnCircle) {
    auto C = CircleFrom(MakeCircle({0, 0, 0}, {0, 0, 1}, 1));
    TCircle Read;
    LoadText(Read, SavedText(*C));
    Read.SetPoint(1, {-3, 0, 0});  // only that handle moves
    ExpectNear(Read.Point(3)->Vector(), {1, 0, 0});
    EXPECT_EQ(SavedText(Read), "Radius=3\nCentre=(0,0,0)\nNormal=(0,0,1)\n");
}

TEST(Circle, RadiusAndCentreEditsKeepTheSideTheCircleFaces) {
    auto C = CircleFrom(MakeCircle({1, 2, 3}, {0, 0, 1}, 2));
    C->SetRadius(-3);
    EXPECT_DOUBLE_EQ(C->Radius(), 3);
    ExpectNear(C->Point(2)->Vector(), {1, -1, 3});
    ExpectNear(C->Normal(), {0, 0, -1});
    C->SetRadius(3);
    ExpectNear(C->Point(2)->Vector(), {1, -1, 3});

    C->SetPoint(0, {0, 0, 0});
    const TMVector Expected[] = {{0, 0, 0}, {-3, 0, 0}, {0, -3, 0}, {3, 0, 0}, {0, 3, 0}};
    for (int I = 0; I < 5; ++I) ExpectNear(C->Point(I)->Vector(), Expected[I]);
}

TEST(Circle, IndicesOfPointsAndOppositeHandles) {
    TCircle C;
    EXPECT_EQ(C.PointCount(), 5);
    const std::pair<int, int> Opposite[] = {{0, -1}, {1, 3}, {2, 4}, {3, 1}, {4, 2}, {5, -1}, {-1, -1}};
    for (auto [Index, Other] : Opposite) EXPECT_EQ(C.OppositePoint(Index), Other) << Index;
    ExpectError([&] { C.Point(5); }, "TCircle.Point - Index 5 out of bounds, only 0..4 allowed");
    ExpectError([&] { C.SetPoint(-1, {}); }, "TCircle.Point - Index -1 out of bounds, only 0..4 allowed");
}

TEST(Circle, TransformedAndAssignCarryThePoints) {
    const auto C = CircleFrom(MakeCircle({1, 2, 3}, {0, 0, 1}, 2));
    const auto T = C->Transformed(MatrixTranslation(10, 0, 0));
    ExpectNear(T->Frame().Centre, {11, 2, 3});
    EXPECT_DOUBLE_EQ(T->Radius(), 2);
    TCircle Copy;
    Copy.Assign(*C);
    ExpectSamePoints(Copy, *C, 0);
}

TEST(Circle, ARotatedCircleReadsBackToTheSameTextOnEveryReopen) {
    // The normal written after a rotation has all 15 digits; read again it must be written as read.
    for (const double Angle : {0.3, 1.0, 2.5, 0.1, 0.7, 1.9, 3.0})
        for (const TMVector Axis : {TMVector{1, 0, 0}, TMVector{1, 2, 3}, TMVector{-0.3, 0.7, 0.2}, TMVector{0, 1, 0},
                                    TMVector{0.5, 0.5, 0}, TMVector{3, -1, 2}}) {
            const auto Rotated =
                CircleFrom(MakeCircle({1, 2, 3}, {0, 0, 1}, 2))->Transformed(MatrixRotationAboutAxis(Axis, Angle));
            const std::string Text = SavedText(*Rotated);
            TCircle Reopened;
            LoadText(Reopened, Text);
            EXPECT_EQ(SavedText(Reopened), Text) << Angle;
            TCircle Again;
            LoadText(Again, SavedText(Reopened));
            EXPECT_EQ(SavedText(Again), Text) << Angle;
        }
}

// ---- TArc ----

TEST(Arc, FrameThroughThreePointsAndBack) {
    TArc A;
    A.SetStart(TRPoint({1, 0, 0}));
    A.SetMid(TRPoint({0, 1, 0}));
    A.SetEnd(TRPoint({-1, 0, 0}));
    const TMArc F = A.Frame();
    ExpectNear(F.Centre, {0, 0, 0});
    EXPECT_NEAR(F.Radius, 1, 1e-12);
    EXPECT_NEAR(F.Sweep, Pi, 1e-12);
    A.SetMid(TRPoint({5, 5, 5}));
    A.SetFrame(F);
    ExpectNear(A.GetPoint(1)->Vector(), {0, 1, 0});
    ExpectNear(A.GetPoint(2)->Vector(), {-1, 0, 0});
}

TEST(Arc, ThreePointsOfATiltedCircleGiveItsCentreAndRadius) {
    const TMCircle Circle = MakeCircle({1, 2, 3}, {1, -2, 0.5}, 5);
    const auto On = [&](double A) {
        return VectorSum3(Circle.Centre, VectorScale(Circle.XAxis, 5 * std::cos(A)),
                          VectorScale(Circle.YAxis, 5 * std::sin(A)));
    };
    TArc A;
    A.SetStart(TRPoint(On(0.2)));
    A.SetMid(TRPoint(On(1.5)));
    A.SetEnd(TRPoint(On(4)));
    const TMArc F = A.Frame();
    ExpectNear(F.Centre, {1, 2, 3}, 1e-9);
    EXPECT_NEAR(F.Radius, 5, 1e-9);
    EXPECT_NEAR(F.Sweep, 3.8, 1e-9);

    const auto L = A.AsPolyline();
    ASSERT_EQ(L->Count(), 101);
    ExpectNear(L->First()->Vector(), On(0.2), 1e-9);
    ExpectNear(L->Point(50)->Vector(), On(2.1), 1e-9);
    ExpectNear(L->Last()->Vector(), On(4), 1e-9);
    const TMBox B = A.Extents();
    for (int I = 0; I <= 100; ++I) EXPECT_TRUE(VectorInBox(L->Point(I)->Vector(), B));
}

TEST(Arc, CollinearPointsHaveRadiusZero) {
    TArc A;
    A.SetStart(TRPoint({0, 0, 0}));
    A.SetMid(TRPoint({1, 1, 1}));
    A.SetEnd(TRPoint({2, 2, 2}));
    EXPECT_EQ(A.Frame().Radius, 0);
    EXPECT_EQ(A.AsPolyline()->Count(), 101);
}

TEST(Arc, PointsByIndex) {
    TArc A;
    EXPECT_EQ(A.PointCount(), 3);
    A.GetPoint(2)->Tag = 7;
    const auto Control = A.ControlPolyline();
    EXPECT_EQ(Control->Point(2)->Tag, 7);  // clones, not just positions
    ExpectError([&] { A.GetPoint(3); }, "TArc.GetPoint - Index 3 out of bounds, only 0..2 allowed");
    ExpectError([&] { A.GetPoint(-1); }, "TArc.GetPoint - Index -1 out of bounds, only 0..2 allowed");

    const auto T = A.Transformed(MatrixTranslation(1, 2, 3));
    EXPECT_EQ(T->GetPoint(2)->Vector(), (TMVector{1, 2, 3}));
    EXPECT_EQ(T->GetPoint(2)->Tag, 0);
}

TEST(Arc, TextUnderAnyKeysAndSaveLoadSave) {
    TArc A;
    LoadText(A, "First=(1,0,0)\n(0,1,0)\nwhatever (-1, 0 ,0,5) \n");
    EXPECT_EQ(A.GetPoint(2)->Vector(), (TMVector{-1, 0, 0.5}));
    const std::string Text = SavedText(A);
    EXPECT_EQ(Text, "StartPoint=(1,0,0)\nMidPoint=(0,1,0)\nEndPoint=(-1,0,0.5)\n");
    A.SetMid(TRPoint({1.0 / 3, 2e-7, -123456.789012345}));
    TArc B;
    LoadText(B, SavedText(A));
    EXPECT_EQ(SavedText(B), SavedText(A));
}

TEST(Arc, DrawingRoutinesRunOneStripOf101Points) {
    const TMCircle Circle = MakeCircle({0, 0, 0}, {0, 0, 1}, 1);
    TRecordingGraphics G;
    DrawCircle(Circle, G);
    ASSERT_EQ(G.Calls.size(), 102u);
    EXPECT_EQ(G.Calls.front().Name, "LineStartVector");
    EXPECT_EQ(G.Calls[100].Name, "LineNextVector");
    EXPECT_EQ(G.Calls.back().Name, "LineFinish");
    ExpectNear(G.Calls[100].Points.at(0), G.Calls[0].Points.at(0));
    ExpectNear(G.Calls[25].Points.at(0), {0, -1, 0});  // a quarter turn from XAxis = -X towards YAxis = -Y

    TMArc Arc{Circle.Centre, Circle.XAxis, Circle.YAxis, Circle.Normal, 2, 0, Pi / 2};
    TRecordingGraphics H;
    DrawArc(Arc, H);
    ASSERT_EQ(H.Calls.size(), 102u);
    ExpectNear(H.Calls[0].Points.at(0), {-2, 0, 0});
    ExpectNear(H.Calls[100].Points.at(0), {0, -2, 0});
}
