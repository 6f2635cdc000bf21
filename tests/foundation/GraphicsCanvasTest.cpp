#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <stdexcept>
#include <vector>

#include "platform/GraphicsCanvas.h"
#include "foundation/Geom.h"
#include "foundation/GeomFacet.h"
#include "platform/RecordingCanvas.h"
#include "platform/RecordingGraphics.h"

namespace sarnova {
namespace {

void ExpectNear(const TMVector& A, const TMVector& B, const char* What = "") {
    EXPECT_NEAR(A.X, B.X, 1e-12) << What;
    EXPECT_NEAR(A.Y, B.Y, 1e-12) << What;
    EXPECT_NEAR(A.Z, B.Z, 1e-12) << What;
}

// A canvas target looking down Z at 10 pixels per unit; it remembers every world point it mapped.
class TPlanTarget : public TCanvasInterface {
public:
    using TCanvasInterface::TCanvasInterface;
    std::vector<TMVector> Mapped;

    TPoint WorldToScreen(double X, double Y, double Z) override {
        Mapped.push_back({X, Y, Z});
        return {static_cast<int>(std::lround(X * 10)), static_cast<int>(std::lround(Y * 10))};
    }
    TMVector ScreenToWorld(int X, int Y) override { return {X / 10.0, Y / 10.0, 0}; }
};

struct CanvasTargetTest : ::testing::Test {
    TRecordingCanvas Canvas{0x112233, 0x445566};
    TPlanTarget Target{Canvas, 640, 480};

    std::unique_ptr<TRPoints> Square(bool OwnColors, bool Filled) {
        auto Points = std::make_unique<TRPoints>();
        for (TMVector V : {TMVector{0, 0, 0}, TMVector{1, 0, 0}, TMVector{1, 1, 0}, TMVector{0, 1, 0}})
            Points->Add(std::make_unique<TRPoint>(V));
        Points->OwnColors = OwnColors;
        Points->Filled = Filled;
        Points->LineColor = clRed;
        Points->FillColor = clBlue;
        return Points;
    }
};

TEST_F(CanvasTargetTest, TakesItsColoursFromTheCanvasAndNeverDrawsWhiteLines) {
    EXPECT_EQ(Target.GetLineColor(), 0x112233);
    EXPECT_EQ(Target.GetFillColor(), 0x445566);
    EXPECT_EQ(Target.GetBackColor(), clWhite);

    Target.SetLineColor(0xFFFFFF);
    EXPECT_EQ(Target.GetLineColor(), 0);
    EXPECT_EQ(Canvas.GetPenColor(), 0);
    Target.SetLineColor(0xFFFFFE);
    EXPECT_EQ(Target.GetLineColor(), 0xFFFFFE);
    EXPECT_EQ(Canvas.GetPenColor(), 0xFFFFFE);

    Target.SetFillColor(clLime);
    EXPECT_EQ(Canvas.GetBrushColor(), clLime);
    Target.SetBackColor(clRed);
    EXPECT_EQ(Target.GetBackColor(), clWhite);
}

TEST_F(CanvasTargetTest, LineWidthBecomesThePenWidthInWholePixelsFromOneUp) {
    const std::pair<double, int> Cases[] = {{3, 3}, {1, 1}, {2.6, 3}, {0, 1}, {-4, 1}, {1e9, 16}, {std::nan(""), 1}};
    for (auto [Width, Pen] : Cases) {
        Target.SetLineWidth(Width);
        EXPECT_EQ(Canvas.GetPenWidth(), Pen) << Width;
    }
    // Through a matrix pipeline the width reaches the target untransformed.
    TMatrixPipeline Pipeline;
    Pipeline.SetTarget(&Target);
    Pipeline.SetLineWidth(3);
    EXPECT_EQ(Canvas.GetPenWidth(), 3);
}

TEST_F(CanvasTargetTest, LinesMoveToTheFirstPixelAndDrawToTheSecondInTheLineColour) {
    Target.Line2D(1, 2, 3, 4);
    Target.Line(1, 2, 0, 3, 4, 0);
    TRPoint A(TMVector{1, 2, 0}), B(TMVector{3, 4, 0});
    Target.LinePoints(A, B);
    Target.LineVectors({1, 2, 0}, {3, 4, 0});
    ASSERT_EQ(Canvas.Calls.size(), 8u);
    for (std::size_t i = 0; i < 8; i += 2) {
        EXPECT_EQ(Canvas.Calls[i].Kind, ccMoveTo);
        EXPECT_EQ(Canvas.Calls[i].Points[0], (TPoint{10, 20}));
        EXPECT_EQ(Canvas.Calls[i + 1].Kind, ccLineTo);
        EXPECT_EQ(Canvas.Calls[i + 1].Points[0], (TPoint{30, 40}));
        EXPECT_EQ(Canvas.Calls[i + 1].PenColor, 0x112233);
    }

    // A strip: the pen is set at the start, each next point draws on from the last.
    Canvas.Calls.clear();
    Canvas.SetPenColor(clRed);
    Target.LineStart(0, 0, 0);
    Target.LineNextVector({1, 0, 0});
    Target.LineNext(1, 1, 0);
    Target.LineFinish();
    ASSERT_EQ(Canvas.Calls.size(), 3u);
    EXPECT_EQ(Canvas.Calls[0].Kind, ccMoveTo);
    EXPECT_EQ(Canvas.Calls[2].Points[0], (TPoint{10, 10}));
    EXPECT_EQ(Canvas.Calls[2].PenColor, 0x112233);
}

TEST_F(CanvasTargetTest, PolylineUsesTheListsColoursOnlyForItself) {
    Target.Polyline(*Square(true, false));
    ASSERT_EQ(Canvas.Calls.size(), 1u);
    EXPECT_EQ(Canvas.Calls[0].Kind, ccPolyline);
    EXPECT_EQ(Canvas.Calls[0].Points, (std::vector<TPoint>{{0, 0}, {10, 0}, {10, 10}, {0, 10}}));
    EXPECT_EQ(Canvas.Calls[0].PenColor, clRed);
    EXPECT_EQ(Canvas.Calls[0].BrushColor, clBlue);

    // Afterwards the target's own line colour is back, and the brush is white.
    Target.Line(0, 0, 0, 1, 1, 0);
    EXPECT_EQ(Canvas.Calls.back().PenColor, 0x112233);
    EXPECT_EQ(Canvas.Calls.back().BrushColor, clWhite);

    Canvas.Calls.clear();
    Target.Polyline(*Square(false, true));
    ASSERT_EQ(Canvas.Calls.size(), 1u);
    EXPECT_EQ(Canvas.Calls[0].Kind, ccPolygon);
    EXPECT_EQ(Canvas.Calls[0].PenColor, 0x112233);

    Canvas.Calls.clear();
    TRPoints Empty;
    Target.Polyline(Empty);
    EXPECT_TRUE(Canvas.Calls.empty());
}

TEST_F(CanvasTargetTest, PolygonFillsTheFacetInItsColoursThenRestoresPenAndBrush) {
    TRPoint A(TMVector{0, 0, 0}), B(TMVector{2, 0, 0}), C(TMVector{0, 2, 0});
    const std::unique_ptr<TPolygon> F = NewTriangle(A, B, C);
    F->SetColor(clYellow);
    F->EdgeColor = clNavy;
    Target.Polygon(*F);
    ASSERT_EQ(Canvas.Calls.size(), 1u);
    EXPECT_EQ(Canvas.Calls[0].Kind, ccPolygon);
    EXPECT_EQ(Canvas.Calls[0].Points, (std::vector<TPoint>{{0, 0}, {20, 0}, {0, 20}}));
    EXPECT_EQ(Canvas.Calls[0].PenColor, clNavy);
    EXPECT_EQ(Canvas.Calls[0].BrushColor, clYellow);
    EXPECT_EQ(Canvas.GetPenColor(), 0x112233);
    EXPECT_EQ(Canvas.GetBrushColor(), clWhite);
}

TEST_F(CanvasTargetTest, VectorDrawsAShaftAndFourHeadLinesEndingAtTheTip) {
    Target.Vector({0, 0, 0}, {0, 0, 2}, 1, false);
    ASSERT_EQ(Canvas.Calls.size(), 10u);
    for (std::size_t i = 0; i < 10; ++i) EXPECT_EQ(Canvas.Calls[i].Kind, i % 2 == 0 ? ccMoveTo : ccLineTo);
    const TMVector Expected[] = {{0, 0, 0},      {0, 0, 2},       {0.4, 0, 1.4}, {0, 0, 2},  {-0.4, 0, 1.4},
                                 {0, 0, 2},      {0, 0.4, 1.4},   {0, 0, 2},     {0, -0.4, 1.4}, {0, 0, 2}};
    ASSERT_EQ(Target.Mapped.size(), 10u);
    for (std::size_t i = 0; i < 10; ++i) ExpectNear(Target.Mapped[i], Expected[i]);
}

TEST_F(CanvasTargetTest, VectorHeadsSitAcrossAnyDirection) {
    struct Case {
        TMVector Direction;
        double Size;
        bool Absolute;
        double Length;  // of the drawn shaft
    };
    const Case Cases[] = {
        {{0, 0, 4}, 0.5, false, 2},   {{0, 0, 4}, 0.5, true, 0.5}, {{3, 0, 4}, 1, false, 5},
        {{1, 2, 2}, 2, true, 2},      {{0, 0, -1}, 1, false, 1},   {{-2, 0, 0}, 1, false, 2},
    };
    const TMVector Base{1, -1, 3};
    for (const Case& C : Cases) {
        Target.Mapped.clear();
        Target.Vector(Base, C.Direction, C.Size, C.Absolute);
        ASSERT_EQ(Target.Mapped.size(), 10u);
        const TMVector D = VectorNormalise(C.Direction);
        const TMVector Tip = VectorAdd(Base, VectorScale(D, C.Length));
        ExpectNear(Target.Mapped[0], Base, "base");
        for (std::size_t i = 1; i < 10; i += 2) ExpectNear(Target.Mapped[i], Tip, "tip");
        for (std::size_t i = 2; i < 10; i += 2) {
            const TMVector Back = VectorFromTo(Target.Mapped[i], Tip);
            EXPECT_NEAR(VectorDot(Back, D), 0.3 * C.Length, 1e-12);
            EXPECT_NEAR(VectorLength(VectorFromTo(VectorScale(D, 0.3 * C.Length), Back)), 0.2 * C.Length, 1e-12);
        }
        // The four heads stand in two perpendicular pairs.
        const TMVector U = VectorFromTo(Target.Mapped[2], Target.Mapped[4]);
        const TMVector W = VectorFromTo(Target.Mapped[6], Target.Mapped[8]);
        EXPECT_NEAR(VectorDot(U, W), 0, 1e-12);
    }
}

TEST_F(CanvasTargetTest, VectorWithoutADirectionDrawsNothing) {
    Target.Vector({1, 2, 3}, {0, 0, 0}, 1, false);
    Target.Vector({1, 2, 3}, {0, 0, 0}, 1, true);
    EXPECT_TRUE(Canvas.Calls.empty());
}

TEST_F(CanvasTargetTest, TextAndPixelQueries) {
    Target.TextOut("Station 4", 1.5, 2, 0);
    ASSERT_EQ(Canvas.Calls.size(), 1u);
    EXPECT_EQ(Canvas.Calls[0].Kind, ccTextOut);
    EXPECT_EQ(Canvas.Calls[0].Points[0], (TPoint{15, 20}));
    EXPECT_EQ(Canvas.Calls[0].Text, "Station 4");
    EXPECT_EQ(Target.TextWidth("abc"), 24.0);
    EXPECT_EQ(Target.TextHeight("abc"), 16.0);

    EXPECT_EQ(Target.ScreenToWorldPoint({30, 40}), (TMVector{3, 4, 0}));
    EXPECT_EQ(Target.ScreenToRayPoint({30, 40}), (TMLine{{3, 4, 0}, {0, 0, 1}}));
    EXPECT_EQ(Target.WorldToScreenVector({1, 2, 9}), (TPoint{10, 20}));

    // A canvas has no OpenGL and no handles.
    Target.EditHandle(0, 1, 1, 1);
    EXPECT_EQ(Canvas.Calls.size(), 1u);
}

// ---- TMatrixPipeline ----

struct PipelineTest : ::testing::Test {
    TRecordingGraphics Target;
    TMatrixPipeline Pipeline;

    void SetUp() override {
        Pipeline.SetTarget(&Target);
        Pipeline.SetMatrix(MatrixMultiply(MatrixTranslation(10, 0, 0), MatrixUniformScaling(2)));
    }
};

TEST(MatrixPipeline, WithoutATargetDrawsNothingAndGivesFixedAnswers) {
    TMatrixPipeline Pipeline;
    EXPECT_EQ(Pipeline.GetMatrix(), IdentityMatrix);
    EXPECT_EQ(Pipeline.GetInverse(), IdentityMatrix);
    EXPECT_EQ(Pipeline.WorldToScreen(1, 2, 3), (TPoint{0, 0}));
    EXPECT_EQ(Pipeline.ScreenToWorld(5, 6), ZeroVector);
    EXPECT_EQ(Pipeline.ScreenToRay(5, 6), (TMLine{ZeroVector, XAxisVector}));
    EXPECT_EQ(Pipeline.GetLineColor(), clWhite);
    EXPECT_EQ(Pipeline.GetFillColor(), clWhite);
    EXPECT_EQ(Pipeline.GetBackColor(), 0);
    EXPECT_EQ(Pipeline.TextWidth("abc"), 0);
    TRPoints Points;
    Pipeline.Polyline(Points);
    Pipeline.Line(0, 0, 0, 1, 1, 1);
    Pipeline.Vector({0, 0, 0}, {1, 0, 0}, 1, false);
}

TEST_F(PipelineTest, ScalingByTwoDoublesTheArrow) {
    Pipeline.SetMatrix(MatrixUniformScaling(2));
    Pipeline.Vector({1, 2, 3}, {0, 0, 1}, 1, false);
    ASSERT_EQ(Target.Calls.size(), 1u);
    const TGraphicsCall& Call = Target.Calls[0];
    EXPECT_EQ(Call.Name, "Vector");
    EXPECT_EQ(Call.Points, (std::vector<TMVector>{{2, 4, 6}, {0, 0, 2}}));
    EXPECT_EQ(Call.Size, 1);
    EXPECT_FALSE(Call.Flag);
}

TEST_F(PipelineTest, EveryLineFormReachesTheTargetAsVectors) {
    TRPoint A(TMVector{1, 1, 1}), B(TMVector{2, 2, 2});
    Pipeline.Line(1, 1, 1, 2, 2, 2);
    Pipeline.Line2D(1, 1, 2, 2);
    Pipeline.LinePoints(A, B);
    Pipeline.LineVectors({1, 1, 1}, {2, 2, 2});
    Pipeline.LineStart(1, 1, 1);
    Pipeline.LineStartPoint(A);
    Pipeline.LineStartVector({1, 1, 1});
    Pipeline.LineNext(2, 2, 2);
    Pipeline.LineNextPoint(B);
    Pipeline.LineNextVector({2, 2, 2});
    Pipeline.LineFinish();
    const std::vector<std::string> Names{"LineVectors",     "LineVectors",     "LineVectors",    "LineVectors",
                                         "LineStartVector", "LineStartVector", "LineStartVector", "LineNextVector",
                                         "LineNextVector",  "LineNextVector",  "LineFinish"};
    EXPECT_EQ(Target.Names(), Names);
    EXPECT_EQ(Target.Calls[0].Points, (std::vector<TMVector>{{12, 2, 2}, {14, 4, 4}}));
    EXPECT_EQ(Target.Calls[1].Points, (std::vector<TMVector>{{12, 2, 0}, {14, 4, 0}}));
    for (int i = 4; i < 7; ++i) EXPECT_EQ(Target.Calls[i].Points, (std::vector<TMVector>{{12, 2, 2}}));
    for (int i = 7; i < 10; ++i) EXPECT_EQ(Target.Calls[i].Points, (std::vector<TMVector>{{14, 4, 4}}));
}

TEST_F(PipelineTest, PolylineAndPolygonGoAsTransformedCopies) {
    TRPoints Points;
    Points.Add(std::make_unique<TRPoint>(TMVector{0, 1, 0}));
    Points.Add(std::make_unique<TRPoint>(TMVector{1, 1, 0}));
    Points.OwnColors = true;
    Points.Filled = true;
    Points.LineColor = clRed;
    Points.FillColor = clBlue;
    Pipeline.Polyline(Points);
    ASSERT_EQ(Target.Calls.size(), 1u);
    EXPECT_EQ(Target.Calls[0].Points, (std::vector<TMVector>{{10, 2, 0}, {12, 2, 0}}));
    EXPECT_TRUE(Target.Calls[0].OwnColors);
    EXPECT_TRUE(Target.Calls[0].Flag);
    EXPECT_EQ(Target.Calls[0].Color, clRed);
    EXPECT_EQ(Target.Calls[0].FillColor, clBlue);
    EXPECT_EQ(Points.Point(0)->Vector(), (TMVector{0, 1, 0}));  // the caller's list is untouched

    TRPoint A(TMVector{0, 0, 0}), B(TMVector{1, 0, 0}), C(TMVector{0, 1, 0});
    const std::unique_ptr<TPolygon> F = NewTriangle(A, B, C);
    F->EdgeColor = clNavy;
    Pipeline.Polygon(*F);
    ASSERT_EQ(Target.Calls.size(), 2u);
    EXPECT_EQ(Target.Calls[1].Points, (std::vector<TMVector>{{10, 0, 0}, {12, 0, 0}, {10, 2, 0}}));
    EXPECT_EQ(Target.Calls[1].Color, clNavy);
}

TEST_F(PipelineTest, TargetFailuresPassThrough) {
    struct TFailingTarget : TRecordingGraphics {
        void Polyline(const TRPoints&) override { throw std::runtime_error("printer gone"); }
    } Failing;
    Pipeline.SetTarget(&Failing);
    TRPoints Points;
    Points.Add(std::make_unique<TRPoint>());
    EXPECT_THROW(Pipeline.Polyline(Points), std::runtime_error);
}

TEST_F(PipelineTest, TextAndColoursAreForwarded) {
    Pipeline.TextOut("Frame 3", 1, 2, 3);
    ASSERT_EQ(Target.Calls.size(), 1u);
    EXPECT_EQ(Target.Calls[0].Points, (std::vector<TMVector>{{12, 4, 6}}));
    EXPECT_EQ(Target.Calls[0].Text, "Frame 3");

    // Mirroring targets may measure text negative; the pipeline answers sizes.
    Target.CharWidth = -8;
    EXPECT_EQ(Pipeline.TextWidth("abc"), 24);
    EXPECT_EQ(Pipeline.TextHeight("abc"), 16);

    Pipeline.SetLineColor(clRed);
    Pipeline.SetFillColor(clBlue);
    Pipeline.SetBackColor(clGray);
    EXPECT_EQ(Pipeline.GetLineColor(), clRed);
    EXPECT_EQ(Pipeline.GetFillColor(), clBlue);
    EXPECT_EQ(Pipeline.GetBackColor(), clGray);

    Target.Calls.clear();
    TRPoint P;
    Pipeline.EditHandle(1, 0, 0, 0);
    Pipeline.EditHandlePoint(P, 1);
    EXPECT_TRUE(Target.Calls.empty());
}

TEST_F(PipelineTest, PixelQueriesGoThroughTheMatrixAndBack) {
    Target.ScreenAnswer = {7, 8};
    EXPECT_EQ(Pipeline.WorldToScreen(1, 2, 3), (TPoint{7, 8}));
    ASSERT_EQ(Target.Calls.size(), 1u);
    EXPECT_EQ(Target.Calls[0].Name, "WorldToScreenVector");
    EXPECT_EQ(Target.Calls[0].Points, (std::vector<TMVector>{{12, 4, 6}}));

    // The target answers (X, Y, 0) and rays along +Z; the inverse halves and shifts back.
    ExpectNear(Pipeline.ScreenToWorldPoint({14, 6}), {2, 3, 0});
    const TMLine Ray = Pipeline.ScreenToRay(14, 6);
    ExpectNear(Ray.Point, {2, 3, 0});
    ExpectNear(Ray.Direction, {0, 0, 0.5});

    // A singular matrix sends every pixel to the origin.
    Pipeline.SetMatrix(MatrixScaling(1, 1, 0));
    EXPECT_EQ(Pipeline.GetInverse(), ZeroMatrix);
    EXPECT_EQ(Pipeline.ScreenToWorld(14, 6), ZeroVector);
    EXPECT_EQ(Pipeline.ScreenToRay(14, 6), (TMLine{ZeroVector, ZeroVector}));
}

}  // namespace
}  // namespace sarnova
