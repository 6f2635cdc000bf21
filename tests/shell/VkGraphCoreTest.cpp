// The chart without its window: the drawing pass on a recording canvas, printing geometry, the
// clipboard, the mouse modes and the popup menu.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/Clipboard.h"
#include "platform/RecordingCanvas.h"
#include "controls/VkGraphCore.h"

namespace sarnova {
namespace {

std::vector<const TCanvasCall*> CallsOf(const TRecordingCanvas& Canvas, TCanvasCallKind Kind) {
    std::vector<const TCanvasCall*> Result;
    for (const TCanvasCall& C : Canvas.Calls)
        if (C.Kind == Kind) Result.push_back(&C);
    return Result;
}

const TCanvasCall* TextCall(const TRecordingCanvas& Canvas, const std::string& Text) {
    for (const TCanvasCall& C : Canvas.Calls)
        if (C.Kind == ccTextOut && C.Text == Text) return &C;
    return nullptr;
}

// A 420 x 300 chart with one series "S1" from (0, 0) to (10, 10). On the test canvas (8 pixels a
// character, 16 a line) its plot area runs from x 56 to 356 and from y 32 to 244.
class Chart : public ::testing::Test {
protected:
    TVkGraphCore Graph;
    TRecordingCanvas Canvas;

    Chart() {
        Graph.SetClientSize(420, 300);
        TVkSeries& S = Graph.GetSeriesList().AddNew("S1");
        S.SetColor(clRed);
        S.AddXY(0, 0);
        S.AddXY(10, 10);
    }
    void Paint() {
        Canvas.Calls.clear();
        Graph.PaintTo(Canvas);
    }
};

TEST_F(Chart, LayoutLeavesRoomForLegendTitlesAndLabels) {
    Paint();
    EXPECT_EQ(Graph.GetPlotRect(), (TRect{56, 32, 356, 244}));
    // Legend: h 16, q 4, W 16; a box of one swatch, centred vertically at the right.
    const auto Boxes = CallsOf(Canvas, ccRectangle);
    ASSERT_GE(Boxes.size(), 3u);
    EXPECT_EQ(Boxes[0]->Points, (std::vector<TPoint>{{372, 138}, {416, 162}}));
    EXPECT_EQ(Boxes[1]->Points, (std::vector<TPoint>{{376, 142}, {392, 158}}));
    EXPECT_EQ(Boxes[1]->BrushColor, clRed);
    const TCanvasCall* Name = TextCall(Canvas, "S1");
    ASSERT_NE(Name, nullptr);
    EXPECT_EQ(Name->Points[0], (TPoint{396, 142}));
    EXPECT_EQ(Name->BrushColor, clNone);
    EXPECT_EQ(TextCall(Canvas, "Title")->Font, Graph.GetTitleFont());
    EXPECT_EQ(TextCall(Canvas, "Y-Axis")->FontAngle, 900);

    // Without a legend the title step takes 2h from the right; a blank title keeps its room.
    Graph.SetShowLegend(false);
    Graph.SetTitle("   ");
    Paint();
    EXPECT_EQ(Graph.GetPlotRect(), (TRect{56, 32, 388, 244}));
    EXPECT_EQ(TextCall(Canvas, "   "), nullptr);
}

TEST_F(Chart, NothingButBackgroundWithoutSeriesOrRange) {
    Graph.GetSeriesList().Clear();
    Paint();
    ASSERT_EQ(Canvas.Calls.size(), 1u);
    EXPECT_EQ(Canvas.Calls[0].Kind, ccFillRect);
    EXPECT_EQ(Canvas.Calls[0].BrushColor, clWhite);
    Graph.GetSeriesList().AddNew("S").AddXY(1, 1);
    for (TVkAxis* Axis : {&Graph.GetXAxis(), &Graph.GetYAxis()}) {
        Axis->SetMin(3);
        Axis->SetMax(3);
    }
    Paint();
    EXPECT_EQ(Canvas.Calls.size(), 1u);
}

TEST_F(Chart, AxisLinesLieAtZeroEvenOutsideTheView) {
    TVkSeries& S = Graph.GetSeriesList().GetSeries(0);
    S.GetPoint(0).SetY(-10);
    S.GetPoint(1).SetY(-2);
    Paint();
    const TPoint Origin = Graph.WorldToScreen(0, 0);
    EXPECT_LT(Origin.Y, Graph.GetPlotRect().Top);
    const TCanvasCall* Label = TextCall(Canvas, "0");  // the X labels: 0 .. 10; the Y labels are negative
    ASSERT_NE(Label, nullptr);
    EXPECT_EQ(Label->Points[0].Y, Origin.Y + 8);
    EXPECT_NE(TextCall(Canvas, "-10"), nullptr);
}

TEST_F(Chart, TickCountsAreBounded) {
    Graph.GetXAxis().SetGap(0);  // one tick, at 0
    Paint();
    const auto Labels = CallsOf(Canvas, ccTextOut);
    EXPECT_EQ(std::count_if(Labels.begin(), Labels.end(), [](auto* C) { return C->Text == "0"; }), 2);
    EXPECT_EQ(TextCall(Canvas, "5")->Points[0].X, Graph.GetPlotRect().Left - 8 - 8);  // a Y label only
    Graph.GetXAxis().SetGap(1e-9);
    Paint();
    EXPECT_LT(CallsOf(Canvas, ccTextOut).size(), 1100u);
}

TEST_F(Chart, FarPointsKeepTheirSegmentsDirection) {
    Graph.GetXAxis().SetMin(0);
    Graph.GetXAxis().SetMax(10);
    Graph.GetSeriesList().GetSeries(0).AddXY(1e12, 10);
    Paint();
    std::vector<TPoint> Drawn;
    for (const TCanvasCall* C : CallsOf(Canvas, ccPolyline))
        if (C->PenColor == clRed) Drawn.insert(Drawn.end(), C->Points.begin(), C->Points.end());
    ASSERT_EQ(Drawn.size(), 4u);  // the near segment, then the far one cut back
    EXPECT_EQ(Drawn[2], Graph.WorldToScreen(10, 10));
    EXPECT_EQ(Drawn[3].Y, Drawn[2].Y);
    EXPECT_GT(Drawn[3].X, 1000000);
}

TEST_F(Chart, PrintingScalesPensAndMarkersAndKeepsTheScreenMapping) {
    EXPECT_EQ(Graph.PrintRect(2100, 2000), (TRect{105, 325, 1995, 1675}));
    EXPECT_EQ(Graph.PrintRect(1000, 500), (TRect{185, 25, 815, 475}));
    TVkSeries& S = Graph.GetSeriesList().GetSeries(0);
    S.SetLineWidth(3);
    Paint();
    const TRect Screen = Graph.GetPlotRect();
    Canvas.Calls.clear();
    Graph.PrintTo(Canvas, 2100, 2000);  // scale 2100 / 420 = 5
    const auto Lines = CallsOf(Canvas, ccPolyline);
    const auto Series = std::find_if(Lines.begin(), Lines.end(), [](auto* C) { return C->PenColor == clRed; });
    ASSERT_NE(Series, Lines.end());
    EXPECT_EQ((*Series)->PenWidth, 15);
    EXPECT_TRUE(CallsOf(Canvas, ccEllipse).empty());
    EXPECT_EQ(Graph.GetPlotRect(), Screen);

    S.SetPointType(ptCircle);
    Canvas.Calls.clear();
    Graph.PrintTo(Canvas, 2100, 2000);
    const auto Markers = CallsOf(Canvas, ccEllipse);
    ASSERT_EQ(Markers.size(), 2u);
    EXPECT_EQ(Markers[0]->Points[1].X - Markers[0]->Points[0].X, 24);  // radius (5 x 5) div 2
    EXPECT_EQ(Markers[0]->PenWidth, 1);
}

// ---- Clipboard ----

class ChartClipboard : public Chart {
protected:
    TMemoryClipboard Text;
    ChartClipboard() { SetTextClipboard(&Text); }
    ~ChartClipboard() override { SetTextClipboard(nullptr); }
};

TEST_F(ChartClipboard, TextListsEverySeries) {
    TVkSeriesList& List = Graph.GetSeriesList();
    List.Clear();
    TVkSeries& A = List.AddNew("A");
    A.AddXY(1, 2);
    A.AddXY(3, 4);
    List.AddNew("B").AddXY(0.5, -1e20);
    Graph.CopyToClipboard();
    EXPECT_EQ(Text.GetText(), "A\r\n1\t2\r\n3\t4\r\n\r\n\r\nB\r\n0.5\t-1E020\r\n\r\n\r\n");
    EXPECT_TRUE(Graph.HasChartFormat());
}

TEST_F(ChartClipboard, PasteAddsCopiesWhileTheCopyingChartLives) {
    auto Source = std::make_unique<TVkGraphCore>();
    Source->GetSeriesList().AddNew("P").AddXY(1, 1);
    Source->GetSeriesList().AddNew("Q").AddXY(2, 2);
    Source->CopyToClipboard();
    Graph.Paste();
    Graph.Paste();
    ASSERT_EQ(Graph.GetSeriesList().Count(), 5);
    EXPECT_EQ(Graph.GetSeriesList().GetSeries(4).GetName(), "Q");
    EXPECT_EQ(Graph.GetXAxis().DataMax, 10);
    // Pasting into the copying chart adds each of its series once.
    Source->Paste();
    EXPECT_EQ(Source->GetSeriesList().Count(), 4);

    Source.reset();
    EXPECT_FALSE(Graph.HasChartFormat());
    EXPECT_EQ(Text.GetText(), "");
    Graph.Paste();
    EXPECT_EQ(Graph.GetSeriesList().Count(), 5);
}

TEST_F(ChartClipboard, ClosingAChartLeavesAnotherChartsCopy) {
    auto First = std::make_unique<TVkGraphCore>();
    First->CopyChartFormat();
    Graph.CopyToClipboard();
    First.reset();
    EXPECT_TRUE(Graph.HasChartFormat());
    TVkGraphCore Other;
    Other.Paste();
    EXPECT_EQ(Other.GetSeriesList().Count(), 1);
}

// A clipboard holding whatever block a test puts there.
class TBlockClipboard : public IChartClipboard {
public:
    std::string Block;
    void Place(const TChartClipboardContents& Contents) override { Block = Contents.ChartFormat; }
    bool HasChartFormat() const override { return !Block.empty(); }
    std::string GetChartFormat() const override { return Block; }
    void SetText(const std::string&) override { Block.clear(); }
};

class TBlockGraph : public TVkGraphCore {
public:
    mutable TBlockClipboard Clipboard;
    IChartClipboard& GetClipboard() const override { return Clipboard; }
};

TEST(ChartFormat, ForeignOrDamagedBlocksPasteNothing) {
    TBlockGraph Graph;
    for (const char* Block : {"SarnovaChart:1:1", "SarnovaChart:x", "junk", "SarnovaChart:"}) {
        Graph.Clipboard.Block = Block;
        Graph.Paste();
        EXPECT_EQ(Graph.GetSeriesList().Count(), 0) << Block;
    }
}

// ---- Mouse modes ----

TEST_F(Chart, PanShiftsBothAxesByTheDraggedDistance) {
    Paint();
    Graph.SetMouseMode(lgmPan);
    EXPECT_EQ(Graph.GetCursor(), crGraphPan);
    Graph.MouseDown(mbLeft, ssLeft, 200, 150);
    Graph.MouseMove(ssLeft, 230, 150);
    EXPECT_DOUBLE_EQ(Graph.GetXAxis().GetMin(), -1);
    EXPECT_DOUBLE_EQ(Graph.GetXAxis().GetMax(), 9);
    EXPECT_DOUBLE_EQ(Graph.GetYAxis().GetMin(), 0);
    EXPECT_DOUBLE_EQ(Graph.GetYAxis().GetMax(), 10);
    EXPECT_FALSE(Graph.GetYAxis().GetAutoMin());
    // The mode stays while the drag lasts.
    Graph.SetMouseMode(lgmZoom);
    EXPECT_EQ(Graph.GetMouseMode(), lgmPan);
    Graph.MouseUp(mbLeft, 0, 230, 150);
    Graph.SetMouseMode(lgmZoom);
    EXPECT_EQ(Graph.GetMouseMode(), lgmZoom);
}

TEST_F(Chart, ZoomTakesTheBandUnlessItIsTooSmall) {
    Paint();
    Graph.SetMouseMode(lgmZoom);
    Graph.MouseDown(mbLeft, ssLeft, 100, 100);
    Graph.MouseMove(ssLeft, 110, 200);
    EXPECT_TRUE(Graph.GetZoomBandVisible());
    Graph.MouseUp(mbLeft, 0, 110, 200);
    EXPECT_FALSE(Graph.GetZoomBandVisible());
    EXPECT_TRUE(Graph.GetXAxis().GetAutoMin());

    Graph.MouseDown(mbLeft, ssLeft, 206, 138);
    Graph.MouseMove(ssLeft, 86, 180);  // dragged up and left: the band is normalised
    Graph.MouseUp(mbLeft, 0, 86, 180);
    EXPECT_DOUBLE_EQ(Graph.GetXAxis().GetMin(), 1);
    EXPECT_DOUBLE_EQ(Graph.GetXAxis().GetMax(), 5);
    EXPECT_NEAR(Graph.GetYAxis().GetMin(), 3.0188679, 1e-6);
    EXPECT_DOUBLE_EQ(Graph.GetYAxis().GetMax(), 5);
    EXPECT_TRUE(Graph.GetXAxis().GetAutoGap());
    Graph.DefaultAxesSetting();
    EXPECT_DOUBLE_EQ(Graph.GetXAxis().GetMax(), 10);
}

TEST_F(Chart, ModifyMovesAPointAlongOneAxis) {
    TVkSeries& S = Graph.GetSeriesList().GetSeries(0);
    S.AddXY(5, 5);
    S.AutoSort = true;
    Paint();
    Graph.SetMouseMode(lgmModify);
    const TPoint P = Graph.WorldToScreen(5, 5);
    Graph.MouseMove(0, P.X + 2, P.Y + 2);
    EXPECT_EQ(Graph.GetCursor(), crGraphOverPoint);
    Graph.MouseDown(mbLeft, ssLeft, P.X + 2, P.Y + 2);
    ASSERT_EQ(Graph.GetModifySeries(), &S);
    EXPECT_TRUE(Graph.GetSeriesList().GetUpdating());
    double WX = 0, WY = 0;
    struct Case {
        int DX, DY;
        bool MovesX;
    };
    for (const Case C : {Case{30, 3, true}, Case{3, -30, false}, Case{10, 10, false}}) {
        const TPoint To{P.X + 2 + C.DX, P.Y + 2 + C.DY};
        Graph.MouseMove(ssLeft, To.X, To.Y);
        Graph.ScreenToWorld(To, WX, WY);
        EXPECT_DOUBLE_EQ(S.GetPoint(2).GetX(), C.MovesX ? WX : 5) << C.DX << "," << C.DY;
        EXPECT_DOUBLE_EQ(S.GetPoint(2).GetY(), C.MovesX ? 5 : WY) << C.DX << "," << C.DY;
        EXPECT_EQ(Graph.GetCursor(), C.MovesX ? crGraphMoveX : crGraphMoveY);
    }
    EXPECT_EQ(Graph.GetYAxis().DataMax, 10);  // the axes hold still during the move
    Graph.MouseMove(ssLeft, P.X + 40, P.Y);
    Graph.MouseUp(mbLeft, 0, P.X + 40, P.Y);
    EXPECT_FALSE(Graph.GetSeriesList().GetUpdating());
    EXPECT_GT(S.GetPoint(1).GetX(), 5);  // re-sorted once the move ended
    EXPECT_EQ(S.GetPoint(2).GetX(), 10);

    // A press that hits no point starts no drag.
    Graph.MouseDown(mbLeft, ssLeft, 60, 40);
    EXPECT_FALSE(Graph.GetDragging());
    EXPECT_EQ(Graph.GetModifyIndex(), -1);
}

TEST_F(Chart, QueryShowsTheValueNextToTheNearestPoint) {
    TVkSeries& S = Graph.GetSeriesList().GetSeries(0);
    S.GetPoint(0).SetY(5);
    S.GetPoint(1).SetY(5);
    Paint();
    Graph.SetMouseMode(lgmQueryValue);
    const TPoint Q = Graph.WorldToScreen(2, 5);
    const auto ValueBox = [&]() -> const TCanvasCall* {
        for (const TCanvasCall& C : Canvas.Calls)
            if (C.Kind == ccTextOut && C.Text.rfind("X:", 0) == 0) return &C;
        return nullptr;
    };

    Graph.MouseDown(mbLeft, ssLeft, Q.X, Q.Y + 25);
    Paint();
    EXPECT_EQ(ValueBox(), nullptr);

    Graph.MouseMove(ssLeft, Q.X, Q.Y + 10);
    Paint();
    const TCanvasCall* Text = ValueBox();
    ASSERT_NE(Text, nullptr);
    EXPECT_EQ(Text->Text, "X:1.986; Y:5.000; Series:S1");  // the pixel's X on a 292-pixel plot
    EXPECT_EQ(Text->Points[0], (TPoint{Q.X + 10, Q.Y - 8 - 10}));

    // Near the right edge the box goes to the left of the point.
    const TPoint R = Graph.WorldToScreen(9.5, 5);
    Graph.MouseMove(ssLeft, R.X, R.Y + 3);
    Paint();
    Text = ValueBox();
    ASSERT_NE(Text, nullptr);
    const int Width = 8 * static_cast<int>(Text->Text.size());
    EXPECT_EQ(Text->Points[0], (TPoint{R.X - Width - 10, R.Y + 8 + 10 - 16}));
    const auto Lines = CallsOf(Canvas, ccLineTo);
    EXPECT_EQ(Lines.back()->Points[0], (TPoint{R.X - 10, R.Y + 10}));  // the leader line

    Graph.MouseUp(mbLeft, 0, R.X, R.Y);
    Paint();
    EXPECT_EQ(ValueBox(), nullptr);
}

TEST_F(Chart, UserModePassesTheLeftPressAndEveryRelease) {
    std::string Events;
    Graph.OnMouseDown = [&](TVkGraphCore*, TMouseButton B, TShiftState, int, int) {
        Events += B == mbLeft ? "DL" : "D?";
    };
    Graph.OnMouseMove = [&](TVkGraphCore*, TShiftState, int, int) { Events += "M"; };
    Graph.OnMouseUp = [&](TVkGraphCore*, TMouseButton B, TShiftState, int, int) {
        Events += B == mbLeft ? "UL" : "UR";
    };
    Graph.MouseDown(mbRight, ssRight, 1, 1);
    Graph.MouseUp(mbRight, 0, 1, 1);
    Graph.MouseDown(mbLeft, ssLeft, 1, 1);
    Graph.MouseMove(ssLeft, 2, 2);
    Graph.MouseUp(mbLeft, 0, 2, 2);
    Graph.MouseMove(0, 3, 3);
    EXPECT_EQ(Events, "URDLMULM");
}

TEST_F(Chart, PopupMenuOffersModesCopyPasteAndPrint) {
    EXPECT_EQ(Graph.GetPopupMenu(), nullptr);
    Graph.Loaded();
    TMenuItem* Menu = Graph.GetPopupMenu();
    ASSERT_NE(Menu, nullptr);
    std::vector<std::string> Captions;
    for (int I = 0; I < Menu->Count(); ++I) Captions.push_back(Menu->Items(I).Caption);
    EXPECT_EQ(Captions, (std::vector<std::string>{"Properties", "-", "Interaction", "Default Axes Setting", "-",
                                                  "Copy", "Paste", "-", "Print", "Print Settings..."}));
    EXPECT_TRUE(Menu->Items(0).Default);
    TMenuItem& Interaction = *Menu->Find("Interaction");
    EXPECT_EQ(Interaction.Count(), 4);
    Interaction.Find("Zoom")->Click();
    EXPECT_EQ(Graph.GetMouseMode(), lgmZoom);
    Graph.UpdatePopupMenu();
    EXPECT_TRUE(Interaction.Find("Zoom")->Checked);
    EXPECT_FALSE(Interaction.Find("Query")->Checked);

    // "User" only when the user's press handler was there at loading.
    Graph.OnMouseDown = [](TVkGraphCore*, TMouseButton, TShiftState, int, int) {};
    Graph.Loaded();
    TMenuItem& WithUser = *Graph.GetPopupMenu()->Find("Interaction");
    ASSERT_EQ(WithUser.Count(), 5);
    EXPECT_EQ(WithUser.Items(4).Caption, "User");
    EXPECT_EQ(WithUser.Items(4).Tag, lgmUser);

    TVkGraphCore Plain;
    Plain.UsePopupMenu = false;
    Plain.Loaded();
    EXPECT_EQ(Plain.GetPopupMenu(), nullptr);
}

}  // namespace
}  // namespace sarnova
