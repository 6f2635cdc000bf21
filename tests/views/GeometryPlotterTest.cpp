// Scale printing without a window: printer metrics, units and scales, fitting, the page transform,
// pagination, the page setters, the sheet and the print jobs, on a recording printer.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "document/Geometry.h"
#include "document/GeometryList.h"
#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "foundation/GeomFacet.h"
#include "platform/RecordingCanvas.h"
#include "platform/RecordingGraphics.h"
#include "views/GeometryPlotter.h"

namespace sarnova {
namespace {

// A line from A to B: its extents are the box of the two.
class TTestLine : public TGeometry {
public:
    TTestLine(TMVector A, TMVector B) : A(A), B(B) {}
    TMBox CalculateExtents() override {
        TMBox Box = EmptyBox;
        ExtendBoxByVector(A, Box);
        ExtendBoxByVector(B, Box);
        return Box;
    }
    void Draw(IGraphics& View) override {
        if (FailDrawing) throw EError("Cannot draw");
        View.LineVectors(A, B);
    }
    TMVector A;
    TMVector B;
    bool FailDrawing = false;
};

// An A4 sheet at 254 dots per inch (10 pixels a millimetre) with 10 mm margins: a printable area of
// 190 x 277 mm.
TPrinterDeviceCaps A4Caps() {
    TPrinterDeviceCaps Caps;
    Caps.HorzSize = 190;
    Caps.VertSize = 277;
    Caps.LogPixelsX = 254;
    Caps.LogPixelsY = 254;
    Caps.PhysicalWidth = 2100;
    Caps.PhysicalHeight = 2970;
    Caps.PhysicalOffsetX = 100;
    Caps.PhysicalOffsetY = 100;
    Caps.PageWidth = 1900;
    Caps.PageHeight = 2770;
    return Caps;
}

class TRecordingPrinter : public IPlotterPrinter {
public:
    TPrinterDeviceCaps Caps = A4Caps();
    std::vector<std::string> Calls;
    std::string Title;
    bool Busy = false;
    TRecordingCanvas Page;

    bool Printing() const override { return Busy || InJob; }
    void SetPortrait() override { Calls.push_back("SetPortrait"); }
    TPrinterDeviceCaps DeviceCaps() override { return Caps; }
    void SetTitle(const std::string& Value) override { Title = Value; }
    void BeginDoc() override {
        Calls.push_back("BeginDoc");
        InJob = true;
    }
    void NewPage() override { Calls.push_back("NewPage"); }
    void EndDoc() override {
        Calls.push_back("EndDoc");
        InJob = false;
    }
    ICanvas& Canvas() override { return Page; }

private:
    bool InJob = false;
};

class GeometryPlotterTest : public ::testing::Test {
protected:
    TTestLine* AddLine(TMVector A, TMVector B, bool Internal = false) {
        auto Line = std::make_unique<TTestLine>(A, B);
        if (Internal) Line->SetCapabilities(Line->GetCapabilities() | cpInternal);
        return static_cast<TTestLine*>(List.Add(std::move(Line)));
    }
    // Where the page's transform puts a model point, in page millimetres.
    static TMVector Placed(TGeometryPage& Page, const TMVector& P, bool ForPreview = true) {
        TMatrixPipeline Pipeline;
        Page.SetupPipeline(Pipeline, ForPreview);
        return Pipeline.TransformPoint(P);
    }

    TRecordingPrinter Printer;
    TGeometryPlotter Plotter{Printer};
    TGeometryList List;
};

void ExpectNear(const TMVector& Actual, const TMVector& Expected, const char* What) {
    EXPECT_NEAR(Actual.X, Expected.X, 1e-9) << What;
    EXPECT_NEAR(Actual.Y, Expected.Y, 1e-9) << What;
    EXPECT_NEAR(Actual.Z, Expected.Z, 1e-9) << What;
}

TEST_F(GeometryPlotterTest, MetricsComeFromTheDevicesReportInPortrait) {
    const TPrinterMetrics M = Plotter.GetMetrics();
    EXPECT_EQ(M, (TPrinterMetrics{210, 297, 190, 277, 10, 10, 10, 10, 254, 254, 2770, 1900}));
    EXPECT_EQ(Printer.Calls, std::vector<std::string>{"SetPortrait"});
    EXPECT_EQ(Plotter.GetPageWidth(), 1900);
    EXPECT_EQ(Plotter.GetPrintableHeight(), 277);

    const TPrinterMetrics L = SwapPrinterMetrics(M);
    EXPECT_EQ(L, (TPrinterMetrics{297, 210, 277, 190, 10, 10, 10, 10, 254, 254, 1900, 2770}));
    // Uneven margins show which way each pair goes.
    TPrinterDeviceCaps Caps = A4Caps();
    Caps.PhysicalOffsetX = 50;
    Caps.PhysicalOffsetY = 200;
    const TPrinterMetrics U = PrinterMetricsFromCaps(Caps);
    EXPECT_EQ(U.LeftMargin, 5);
    EXPECT_EQ(U.TopMargin, 20);
    EXPECT_EQ(U.RightMargin, 15);
    EXPECT_EQ(U.BottomMargin, 0);
    const TPrinterMetrics S = SwapPrinterMetrics(U);
    EXPECT_EQ(S.LeftMargin, 20);
    EXPECT_EQ(S.TopMargin, 5);
    EXPECT_EQ(S.RightMargin, 0);
    EXPECT_EQ(S.BottomMargin, 15);

    // A running job keeps its orientation.
    Printer.Busy = true;
    Printer.Calls.clear();
    ReadPrinterMetrics(Printer);
    EXPECT_TRUE(Printer.Calls.empty());
}

TEST_F(GeometryPlotterTest, AModelLengthPrintsAtItsScaleOfTheDesignUnits) {
    struct TCase {
        std::uint8_t Units;
        const char* Scale;
        double Paper;  // millimetres of a 10-unit line
    } const Cases[] = {
        {0, "1:50", 200},                  // metres
        {1, "1:1", 100},                   // centimetres
        {2, "2:1", 20},                    // millimetres
        {3, "1:10", 304.799999536704},     // feet
        {4, "1:1", 253.99999961392},       // inches
        {9, "1:1", 10},                    // no such unit: one millimetre a unit
    };
    AddLine({0, 0, 0}, {10, 0, 0});
    Plotter.Paginate(List, false);
    TGeometryPage& Page = Plotter.Pages(0);
    for (const TCase& C : Cases) {
        Plotter.Units = C.Units;
        Plotter.SetScaleText(C.Scale);
        const TMVector A = Placed(Page, {0, 0, 0}), B = Placed(Page, {10, 0, 0});
        EXPECT_NEAR(B.X - A.X, C.Paper, 1e-9) << C.Scale << " unit " << int(C.Units);
        EXPECT_DOUBLE_EQ(Page.Scale(), C.Paper / 10);
    }
}

TEST_F(GeometryPlotterTest, ScaleTextsAreReadAndWritten) {
    TGeometryPage Page;
    const struct {
        const char* Text;
        double Ratio;
        const char* Shown;
    } Good[] = {
        {"1:50", 0.02, "1:50"}, {"2:1", 2, "2:1"}, {"1:33", 1.0 / 33, "1:33"}, {"1:1", 1, "1:1"}, {"3:2", 1.5, "1.5:1"}};
    for (const auto& C : Good) {
        Page.SetScaleText(C.Text);
        EXPECT_DOUBLE_EQ(Page.Ratio, C.Ratio) << C.Text;
        EXPECT_EQ(Page.GetScaleText(), C.Shown);
    }
    const std::string BadFormat = "Scale Factor should be in the format \"number:number\"";
    const std::string BelowOne = "Both numbers in the scale factor should be 1 or greater";
    const std::pair<const char*, const std::string*> Bad[] = {
        {"0.5:1", &BelowOne}, {"1:0", &BelowOne}, {"", &BadFormat},   {"abc", &BadFormat},
        {"1-50", &BadFormat}, {"a:1", &BadFormat}, {"1:b", &BadFormat}, {":", &BadFormat}};
    for (auto [Text, Message] : Bad) {
        Page.Ratio = 0.25;
        try {
            Page.SetScaleText(Text);
            ADD_FAILURE() << "accepted " << Text;
        } catch (const EError& E) {
            EXPECT_EQ(E.what(), *Message) << Text;
        }
        EXPECT_EQ(Page.Ratio, 0.25) << Text;
    }
}

TEST_F(GeometryPlotterTest, AFittedPageFillsThePrintableAreaAlongItsTighterSide) {
    struct TCase {
        TMVector Far;  // the other corner of the model, from the origin
        std::uint8_t Plane;
        std::uint8_t Orientation;
        double Scale;
    } const Cases[] = {
        {{100, 10, 0}, 0, 0, 1.9 * 0.999},    // width-limited
        {{10, 100, 0}, 0, 0, 2.77 * 0.999},   // height-limited
        {{100, 10, 0}, 0, 1, 2.77 * 0.999},   // landscape: 277 across
        {{10, 100, 0}, 0, 1, 1.9 * 0.999},
        {{0, 100, 10}, 1, 0, 1.9 * 0.999},    // sections: y across, z up
        {{100, 0, 200}, 2, 0, 1.385 * 0.999}, // profile: x across, z up
    };
    for (const TCase& C : Cases) {
        List.Clear();
        AddLine({0, 0, 0}, C.Far);
        Plotter.Paginate(List, false);
        Plotter.SetFit(true);
        Plotter.SetViewPlane(C.Plane);
        Plotter.SetOrientation(C.Orientation);
        TGeometryPage& Page = Plotter.Pages(0);
        Page.Offset = {5, 5, 0};
        Page.Extents = Page.Objects.Extents();
        EXPECT_NEAR(Page.Scale(), C.Scale, 1e-12) << int(C.Plane) << int(C.Orientation);
        // Fitting leaves no offset behind, at every drawing.
        EXPECT_EQ(Page.Offset, ZeroVector);
    }

    // A model without extent across the plane has nothing to fit: it keeps the ratio's scale.
    List.Clear();
    AddLine({0, 0, 0}, {0, 0, 5});
    Plotter.Paginate(List, false);
    Plotter.SetFit(true);
    TGeometryPage& Page = Plotter.Pages(0);
    Page.Extents = Page.Objects.Extents();
    EXPECT_DOUBLE_EQ(Page.Scale(), 1000);
}

TEST_F(GeometryPlotterTest, TheModelCentreLandsInThePrintableAreasCentreShiftedByTheOffset) {
    AddLine({0, 0, 0}, {10, 4, 0});
    Plotter.Paginate(List, false);
    Plotter.Units = 2;  // millimetres at 1:1: one paper millimetre a unit
    TGeometryPage& Page = Plotter.Pages(0);
    Page.Offset = {3, 7, 0};
    // Portrait: W/2, H/2 of the 190 x 277 printable area.
    ExpectNear(Placed(Page, {5, 2, 0}), {98, 145.5, 0}, "portrait centre");
    ExpectNear(Placed(Page, {10, 4, 0}), {103, 147.5, 0}, "portrait corner");
    // The landscape preview shows a landscape sheet, 277 across.
    Page.Orientation = 1;
    ExpectNear(Placed(Page, {5, 2, 0}), {141.5, 102, 0}, "landscape preview");
    // Printed, the landscape picture is turned onto the portrait sheet.
    ExpectNear(Placed(Page, {5, 2, 0}, false), {88, 141.5, 0}, "landscape print centre");
    ExpectNear(Placed(Page, {10, 4, 0}, false), {86, 146.5, 0}, "landscape print corner");

    // The planes' axes: YZ takes y across and z up, XZ x across and z up; depth is dropped.
    Page.Orientation = 0;
    Page.Offset = ZeroVector;
    List.Clear();
    AddLine({0, 0, 0}, {6, 10, 4});
    Plotter.Paginate(List, false);
    TGeometryPage& Planes = Plotter.Pages(0);
    Planes.ViewPlane = 1;
    ExpectNear(Placed(Planes, {6, 10, 4}), {100, 140.5, 0}, "YZ");
    Planes.ViewPlane = 2;
    ExpectNear(Placed(Planes, {6, 10, 4}), {98, 140.5, 0}, "XZ");
}

TEST_F(GeometryPlotterTest, PaginationLeavesOutInternalEntities) {
    AddLine({0, 0, 0}, {1, 0, 0});
    AddLine({0, 0, 0}, {9, 0, 0}, true);  // the contours entity's kind
    AddLine({0, 0, 0}, {3, 0, 0});
    AddLine({0, 0, 0}, {4, 0, 0});
    Plotter.Paginate(List, true);
    ASSERT_EQ(Plotter.PageCount(), 3);
    EXPECT_EQ(Plotter.Pages(1).Objects.Item(0), &List.Items(2));
    EXPECT_EQ(Plotter.Pages(0).Plotter, &Plotter);
    Plotter.SetCurrentIndex(2);
    EXPECT_EQ(Plotter.GetCurrentIndex(), 2);
    Plotter.SetCurrentIndex(3);  // no such page
    EXPECT_EQ(Plotter.GetCurrentIndex(), 2);

    Plotter.Paginate(List, false);
    ASSERT_EQ(Plotter.PageCount(), 1);
    EXPECT_EQ(Plotter.Pages(0).Objects.Count(), 3);
    EXPECT_EQ(Plotter.Pages(0).Objects.Extents(), MakeBox(0, 0, 0, 4, 0, 0));
    // The current index is clamped into the pages there are.
    EXPECT_EQ(Plotter.GetCurrentIndex(), 0);
    EXPECT_THROW(Plotter.Pages(1), EError);

    Plotter.ClearPages();
    EXPECT_EQ(Plotter.GetCurrentIndex(), -1);
    EXPECT_EQ(Plotter.CurrentPage(), nullptr);
    EXPECT_EQ(Plotter.GetViewPlane(), 0);
    EXPECT_EQ(Plotter.GetOrientation(), 0);
    EXPECT_EQ(Plotter.GetScaleText(), "1:1");
    EXPECT_FALSE(Plotter.GetFit());
    Plotter.SetOrientation(1);  // nothing to set
}

TEST_F(GeometryPlotterTest, SettersActOnAllPagesOrOnTheCurrentOne) {
    for (int I = 1; I <= 3; ++I) AddLine({0, 0, 0}, {double(I), 1, 1});
    Plotter.Paginate(List, true);
    Plotter.SetOrientation(1);
    Plotter.SetScaleText("1:50");
    for (int I = 0; I < 3; ++I) {
        EXPECT_EQ(Plotter.Pages(I).Orientation, 1);
        EXPECT_EQ(Plotter.Pages(I).GetScaleText(), "1:50");
    }

    Plotter.ApplyToAll = false;
    Plotter.SetCurrentIndex(1);
    Plotter.SetViewPlane(2);
    Plotter.SetOrientation(0);
    Plotter.SetFit(true);
    Plotter.Pages(0).Offset = Plotter.Pages(1).Offset = {1, 1, 0};
    Plotter.ResetOffsets();
    EXPECT_EQ(Plotter.GetViewPlane(), 2);
    EXPECT_TRUE(Plotter.GetFit());
    for (int I : {0, 2}) {
        EXPECT_EQ(Plotter.Pages(I).ViewPlane, 0);
        EXPECT_EQ(Plotter.Pages(I).Orientation, 1);
        EXPECT_FALSE(Plotter.Pages(I).Fit);
    }
    EXPECT_EQ(Plotter.Pages(0).Offset, (TMVector{1, 1, 0}));
    EXPECT_EQ(Plotter.Pages(1).Offset, ZeroVector);

    // A rejected text changes no page.
    Plotter.ApplyToAll = true;
    EXPECT_THROW(Plotter.SetScaleText("1:0"), EError);
    for (int I = 0; I < 3; ++I) EXPECT_EQ(Plotter.Pages(I).GetScaleText(), "1:50");
}

TEST_F(GeometryPlotterTest, AnOffsetDragMovesThePictureOnTheSheetUntilAFitTakesItBack) {
    AddLine({0, 0, 0}, {10, 4, 0});
    Plotter.Paginate(List, false);
    TRecordingGraphics Preview;  // pixel (X, Y) is page point (X, Y)
    Plotter.BeginOffsetDrag(Preview, 10, 10);
    Plotter.DragOffset(Preview, 12, 11);
    Plotter.DragOffset(Preview, 15, 13);
    Plotter.EndOffsetDrag(Preview, 15, 13);
    EXPECT_EQ(Plotter.Pages(0).Offset, (TMVector{5, 3, 0}));
    // Dragging again starts from there.
    Plotter.BeginOffsetDrag(Preview, 0, 0);
    Plotter.DragOffset(Preview, 1, 1);
    EXPECT_EQ(Plotter.Pages(0).Offset, (TMVector{6, 4, 0}));

    Plotter.SetFit(true);
    Plotter.DrawPreview(Preview);
    EXPECT_EQ(Plotter.Pages(0).Offset, ZeroVector);
}

class TRecordingSwitches : public IPlotterSheetSwitches {
public:
    explicit TRecordingSwitches(TRecordingGraphics& G) : G(G) {}
    void DepthTestOff() override { Log.push_back("DepthTestOff@" + std::to_string(G.Calls.size())); }
    void LineStipple(int Factor, std::uint16_t Pattern) override {
        Log.push_back("Stipple " + std::to_string(Factor) + " " + std::to_string(Pattern) + "@" +
                      std::to_string(G.Calls.size()));
    }
    TRecordingGraphics& G;
    std::vector<std::string> Log;
};

TEST_F(GeometryPlotterTest, ThePreviewShowsTheSheetWithItsShadowAndPrintableAreaThenThePage) {
    AddLine({0, 0, 0}, {10, 4, 0});
    Plotter.Paginate(List, false);
    TRecordingGraphics Preview;
    TRecordingSwitches Switches(Preview);
    Plotter.SheetSwitches = &Switches;
    Plotter.DrawPreview(Preview);

    const std::vector<std::string> Strip = {"LineStart", "LineNext", "LineNext", "LineNext", "LineNext", "LineFinish"};
    std::vector<std::string> Expected = {"SetBackColor", "Polygon", "Polygon", "SetLineColor"};
    Expected.insert(Expected.end(), Strip.begin(), Strip.end());
    Expected.insert(Expected.end(), Strip.begin(), Strip.end());
    Expected.push_back("LineVectors");
    EXPECT_EQ(Preview.Names(), Expected);
    EXPECT_EQ(Switches.Log, (std::vector<std::string>{"DepthTestOff@0", "Stipple 1 61680@10", "Stipple 1 0@16"}));
    EXPECT_EQ(Preview.Calls[0].Color, clAppWorkSpace);
    // The shadow lies a sixtieth of the printable area's short side to the lower right, behind the paper.
    const double D = 190.0 / 60;
    EXPECT_EQ(Preview.Calls[1].Color, clBlack);
    ExpectNear(Preview.Calls[1].Points[0], {-10 + D, -10 - D, -1}, "shadow");
    EXPECT_EQ(Preview.Calls[2].Color, clWindow);
    ExpectNear(Preview.Calls[2].Points[2], {200, 287, 0}, "paper");
    ExpectNear(Preview.Calls[10].Points[0], {0, 0, 0}, "printable area");
    ExpectNear(Preview.Calls[12].Points[0], {190, 277, 0}, "printable area");

    EXPECT_EQ(Plotter.Pages(0).SheetBox(), MakeBox(-10, -10, -1, 200, 287, 1));
    Plotter.SetOrientation(1);
    EXPECT_EQ(Plotter.Pages(0).SheetBox(), MakeBox(-10, -10, -1, 287, 200, 1));
}

TEST_F(GeometryPlotterTest, ThePrinterCanvasMapsPageMillimetresToDevicePixels) {
    TRecordingCanvas Canvas;
    TGeometryPlotterCanvas Page(Canvas, 1900, 2770, 190, 277);
    EXPECT_EQ(Page.WorldToScreen(0, 0, 0), (TPoint{0, 2770}));
    EXPECT_EQ(Page.WorldToScreen(190, 277, 0), (TPoint{1900, 0}));
    EXPECT_EQ(Page.WorldToScreen(95, 138.5, 5), (TPoint{950, 1385}));
    EXPECT_EQ(Page.ScreenToWorld(950, 1385), ZeroVector);
}

TEST_F(GeometryPlotterTest, PrintingDrawsEachPageOnASheetOfItsOwnInOneJob) {
    AddLine({0, 0, 0}, {10, 0, 0});
    AddLine({0, 0, 0}, {0, 10, 0});
    AddLine({0, 0, 0}, {0, 0, 10});
    Plotter.Paginate(List, true);
    Plotter.SetScaleText("1:50");
    Printer.Calls.clear();
    Plotter.PrintAll("");
    EXPECT_EQ(Printer.Calls,
              (std::vector<std::string>{"SetPortrait", "SetPortrait", "BeginDoc", "NewPage", "NewPage", "EndDoc"}));
    EXPECT_EQ(Printer.Title, GExeName + " - Plotter");
    // The 10 m line at 1:50 is 200 mm, 2000 pixels, about the printable area's centre.
    ASSERT_GE(Printer.Page.Calls.size(), 2u);
    EXPECT_EQ(Printer.Page.Calls[0].Points[0], (TPoint{-50, 1385}));
    EXPECT_EQ(Printer.Page.Calls[1].Points[0], (TPoint{1950, 1385}));
    EXPECT_EQ(Printer.Page.Calls.size(), 6u);

    // The current page alone, under its own title.
    Printer.Calls.clear();
    Printer.Page.Calls.clear();
    Plotter.SetCurrentIndex(1);
    Plotter.PrintCurrent("Plan");
    EXPECT_EQ(Printer.Title, "Plan");
    EXPECT_EQ(Printer.Calls, (std::vector<std::string>{"SetPortrait", "SetPortrait", "BeginDoc", "EndDoc"}));
    EXPECT_EQ(Printer.Page.Calls.size(), 2u);

    // An empty range still starts and ends its job.
    Printer.Calls.clear();
    Printer.Page.Calls.clear();
    Plotter.PrintRange(2, 1, "");
    EXPECT_EQ(Printer.Calls, (std::vector<std::string>{"SetPortrait", "SetPortrait", "BeginDoc", "EndDoc"}));
    EXPECT_TRUE(Printer.Page.Calls.empty());

    // A page that does not exist is refused before any job starts.
    Printer.Calls.clear();
    EXPECT_THROW(Plotter.PrintRange(1, 3, ""), EError);
    EXPECT_TRUE(Printer.Calls.empty());

    // A busy printer prints nothing.
    Printer.Busy = true;
    Plotter.PrintAll("");
    EXPECT_TRUE(Printer.Calls.empty());
    Printer.Busy = false;

    // A drawing that fails ends the job all the same.
    static_cast<TTestLine&>(List.Items(1)).FailDrawing = true;
    EXPECT_THROW(Plotter.PrintAll(""), EError);
    ASSERT_FALSE(Printer.Calls.empty());
    EXPECT_EQ(Printer.Calls.back(), "EndDoc");
    EXPECT_FALSE(Printer.Printing());
}

}  // namespace
}  // namespace sarnova
