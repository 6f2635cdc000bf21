// The GDI view: its camera and projection, drawing onto a canvas, zooming, scrolling, the mouse modes
// and printing; most of it without a window, the last tests on the control itself.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

#include <cmath>
#include <string>
#include <vector>

#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "foundation/Geom.h"
#include "platform/RecordingCanvas.h"
#include "shell/ShellTestSupport.h"
#include "views/ViewWinAPI.h"

namespace sarnova {
namespace {

// A view without window that counts what it asks of its window.
class TTestView : public TViewWinAPICore {
public:
    TTestView() { SetClientSize(200, 100); }
    int Invalidates = 0;
    int BandChanges = 0;
    void SetAngles(double A, double E) {
        Azimuth = A;
        Elevation = E;
        UpdateViewMatrix();
    }

protected:
    void Invalidate() override { ++Invalidates; }
    void RubberBandChanged() override { ++BandChanges; }
};

std::vector<TCanvasCall> CallsOf(const TRecordingCanvas& Canvas, TCanvasCallKind Kind) {
    std::vector<TCanvasCall> Result;
    for (const TCanvasCall& C : Canvas.Calls)
        if (C.Kind == Kind) Result.push_back(C);
    return Result;
}

std::unique_ptr<TRPoints> PointList(std::initializer_list<TMVector> Points) {
    auto List = std::make_unique<TRPoints>();
    for (const TMVector& P : Points) List->Add(std::make_unique<TRPoint>(P));
    return List;
}

// The window 2 high about the origin on 200 x 100 pixels: 50 pixels a unit, the origin at (100, 50).
class ViewWinAPITest : public ::testing::Test {
protected:
    void SetUp() override {
        View.UpdateViewMatrix();
        View.UpdateScreenMatrix();
    }
    TTestView View;
};

TEST_F(ViewWinAPITest, StartsLookingDownOnTheModelWithTheWindowOfTheClientAreasAspect) {
    EXPECT_EQ(View.GetAzimuth(), 270);
    EXPECT_EQ(View.GetElevation(), 0);
    EXPECT_EQ(View.GetInteractionMode(), imRotate);
    EXPECT_EQ(View.GetCursor(), 0);  // the window sets the mode's cursor
    EXPECT_DOUBLE_EQ(View.GetWindow().Height, 2);
    EXPECT_DOUBLE_EQ(View.GetWindow().Width, 4);
    EXPECT_EQ(View.WorldToPixel(0, 0, 0), (TPoint{100, 50}));
    // Seen from above, depth does not move a point.
    EXPECT_EQ(View.WorldToPixel(1, 2, 3), View.WorldToPixel(1, 2, 7));
}

TEST_F(ViewWinAPITest, TheTwoAnglesTurnTheModel) {
    struct TCase {
        double Azimuth, Elevation;
        TMVector World;
        TPoint Pixel;
    };
    const TCase Cases[] = {
        {270, 0, {1, 0, 0}, {150, 50}},  // plan: x to the right
        {270, 0, {0, 1, 0}, {100, 0}},   // y upwards
        {0, 0, {1, 0, 0}, {100, 100}},   // turned a quarter: x downwards
        {0, 0, {0, 1, 0}, {150, 50}},    // and y to the right
        {270, 90, {0, 0, 1}, {100, 0}},  // raised a quarter: the profile, z upwards
    };
    for (const TCase& C : Cases) {
        View.SetAngles(C.Azimuth, C.Elevation);
        EXPECT_EQ(View.WorldToPixel(C.World.X, C.World.Y, C.World.Z), C.Pixel) << C.Azimuth << " " << C.Elevation;
    }
}

TEST_F(ViewWinAPITest, APolylineIsDrawnAtTheCamerasPlaceOverTheBackground) {
    auto Points = PointList({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});
    View.OnRedraw = [&](void*, IGraphics& G) { G.Polyline(*Points); };
    TRecordingCanvas Canvas;
    View.Redraw(Canvas);

    ASSERT_FALSE(Canvas.Calls.empty());
    const TCanvasCall& Fill = Canvas.Calls.front();
    EXPECT_EQ(Fill.Kind, ccFillRect);
    EXPECT_EQ(Fill.Points, (std::vector<TPoint>{{0, 0}, {200, 100}}));
    EXPECT_EQ(Fill.BrushColor, clBlack);
    const auto Lines = CallsOf(Canvas, ccPolyline);
    ASSERT_EQ(Lines.size(), 1u);
    EXPECT_EQ(Lines[0].Points, (std::vector<TPoint>{{100, 50}, {150, 50}, {150, 0}}));
    EXPECT_EQ(Lines[0].PenColor, clWhite);

    // The axis icon follows: labels beside the tips, size 8 in the line colour; the font keeps its colour.
    const auto Labels = CallsOf(Canvas, ccTextOut);
    ASSERT_EQ(Labels.size(), 3u);
    EXPECT_EQ(Labels[0].Text, "x");
    EXPECT_EQ(Labels[0].Points[0], (TPoint{78, 57}));
    EXPECT_EQ(Labels[1].Points[0], (TPoint{38, 17}));
    EXPECT_EQ(Labels[0].Font.Size, 8);
    EXPECT_EQ(Labels[0].Font.Color, clWhite);
    EXPECT_EQ(Canvas.GetFont().Color, View.Font.Color);
    EXPECT_EQ(CallsOf(Canvas, ccLineTo).size(), 15u);

    // Without the icon only the picture is drawn.
    View.SetDrawAxes(false);
    Canvas.Calls.clear();
    View.Redraw(Canvas);
    EXPECT_TRUE(CallsOf(Canvas, ccTextOut).empty());
}

TEST_F(ViewWinAPITest, ListsAndFacetsUseTheirColoursAndLeaveLineAndBackgroundColour) {
    View.SetDrawAxes(false);
    View.SetColor(clNavy);
    auto Filled = PointList({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});
    Filled->Filled = true;
    auto Coloured = PointList({{0, 0, 0}, {-1, 0, 0}});
    Coloured->OwnColors = true;
    Coloured->LineColor = clRed;
    Coloured->FillColor = clLime;
    View.OnRedraw = [&](void*, IGraphics& G) {
        G.SetFillColor(clYellow);  // nothing draws with it
        G.Polyline(*Filled);
        G.Polyline(*Coloured);
        G.EditHandle(3, 0, 0, 0);
    };
    TRecordingCanvas Canvas;
    View.Redraw(Canvas);
    const auto Polygons = CallsOf(Canvas, ccPolygon);
    ASSERT_EQ(Polygons.size(), 1u);
    EXPECT_EQ(Polygons[0].BrushColor, clNavy);
    EXPECT_EQ(Polygons[0].PenColor, clWhite);
    const auto Lines = CallsOf(Canvas, ccPolyline);
    ASSERT_EQ(Lines.size(), 1u);
    EXPECT_EQ(Lines[0].PenColor, clRed);
    const auto Handles = CallsOf(Canvas, ccEllipse);
    ASSERT_EQ(Handles.size(), 1u);
    EXPECT_EQ(Handles[0].Points, (std::vector<TPoint>{{95, 45}, {105, 55}}));
    EXPECT_EQ(Handles[0].PenColor, clWhite);
    EXPECT_EQ(Handles[0].BrushColor, clNavy);
    EXPECT_EQ(View.GetFillColor(), clYellow);
}

TEST_F(ViewWinAPITest, DrawingGrowsTheExtentsButOnlyARedrawPaints) {
    View.Line(1, 2, 3, -1, -2, -3);
    View.LineStart(5, 0, 0);  // a pen position alone measures nothing
    View.TextOut("t", 9, 9, 9);
    EXPECT_EQ(View.GetModelExtents(), MakeBox(-1, -2, -3, 1, 2, 3));
    View.LineNext(5, 5, 0);
    EXPECT_EQ(View.GetModelExtents(), MakeBox(-1, -2, -3, 5, 5, 3));
    EXPECT_EQ(View.TextWidth("abc"), 0);
}

TEST_F(ViewWinAPITest, ScreenToWorldRefusesPerspectiveButTheRayDoesNot) {
    const TMVector P = View.ScreenToWorld(150, 0);
    EXPECT_NEAR(P.X, 1, 1e-12);
    EXPECT_NEAR(P.Y, 1, 1e-12);
    EXPECT_NEAR(P.Z, 0, 1e-12);
    View.SetProjection(TProjection::Perspective);
    try {
        View.ScreenToWorld(150, 0);
        FAIL() << "no error";
    } catch (const EError& E) {
        EXPECT_STREQ(E.what(), "Cannot Translate to World coordinates while in perspective mode");
    }
    const TMLine Ray = View.ScreenToRay(150, 0);
    EXPECT_NEAR(Ray.Point.X, 1, 1e-12);
    EXPECT_NEAR(Ray.Point.Y, 1, 1e-12);
    EXPECT_NEAR(std::fabs(Ray.Direction.Z), 1, 1e-12);
    // The simple lens: x and y scaled by 1000 / (depth + 50).
    EXPECT_EQ(View.WorldToPixel(0.1, 0, 0), (TPoint{200, 50}));
}

TEST_F(ViewWinAPITest, ZoomAllFitsWhatTheRedrawDraws) {
    // Nothing drawn: the cube from -10 to 10.
    View.ZoomAll();
    EXPECT_EQ(View.GetModelExtents(), MakeBox(-10, -10, -10, 10, 10, 10));
    EXPECT_NEAR(View.GetWindow().Height, 21, 0.5);

    int Draws = 0;
    View.OnRedraw = [&](void*, IGraphics& G) {
        ++Draws;
        G.Line(2, 1, 0, 6, 3, 0);
    };
    View.Invalidates = 0;
    View.ZoomAll();
    EXPECT_EQ(Draws, 1);
    EXPECT_FALSE(View.IsMeasuring());
    EXPECT_EQ(View.GetModelExtents(), MakeBox(2, 1, 0, 6, 3, 0));
    // Centred on the model, which fills the width with a twentieth to spare.
    EXPECT_NEAR(View.GetWindow().CentreX, 0, 1e-9);
    EXPECT_NEAR(View.GetWindow().CentreY, 0, 1e-9);
    EXPECT_NEAR(View.GetWindow().Width, 4 * 1.05, 0.05);
    EXPECT_EQ(View.WorldToPixel(4, 2, 0), (TPoint{100, 50}));
    EXPECT_GT(View.Invalidates, 0);

    // A model smaller than 5 x 5 pixels changes the view matrix only.
    const TViewWindow Before = View.GetWindow();
    View.OnRedraw = [](void*, IGraphics& G) { G.Line(100, 100, 0, 100.001, 100, 0); };
    View.ZoomAll();
    EXPECT_DOUBLE_EQ(View.GetWindow().Height, Before.Height);
    EXPECT_DOUBLE_EQ(View.GetWindow().CentreX, Before.CentreX);
    EXPECT_EQ(View.WorldToPixel(100, 100, 0), (TPoint{100, 50}));
}

TEST_F(ViewWinAPITest, AFailingRedrawEventLeavesTheViewUsable) {
    View.OnRedraw = [](void*, IGraphics&) { throw EError("broken"); };
    EXPECT_THROW(View.ZoomAll(), EError);
    EXPECT_FALSE(View.IsMeasuring());
    TRecordingCanvas Canvas;
    EXPECT_THROW(View.Redraw(Canvas), EError);
    EXPECT_FALSE(View.IsPainting());
    int Draws = 0;
    View.OnRedraw = [&](void*, IGraphics&) { ++Draws; };
    View.Redraw(Canvas);
    EXPECT_EQ(Draws, 1);
}

TEST_F(ViewWinAPITest, ZoomToARectangleKeepsTheAspectAndIgnoresTinyOnes) {
    // y counted from the bottom; the right half of the area, full height.
    View.ZoomToRect({100, 0, 200, 100});
    EXPECT_DOUBLE_EQ(View.GetWindow().CentreX, 1);
    EXPECT_DOUBLE_EQ(View.GetWindow().CentreY, 0);
    EXPECT_DOUBLE_EQ(View.GetWindow().Height, 2);
    EXPECT_DOUBLE_EQ(View.GetWindow().Width, 4);
    // A wide strip: the width leads.
    View.ZoomToRect({0, 40, 200, 60});
    EXPECT_DOUBLE_EQ(View.GetWindow().Width, 4);
    EXPECT_DOUBLE_EQ(View.GetWindow().Height, 2);
    View.ZoomToRect({10, 10, 14, 14});
    EXPECT_DOUBLE_EQ(View.GetWindow().CentreX, 1);
}

TEST_F(ViewWinAPITest, TheWheelZoomsAboutTheWindowCentre) {
    const struct {
        int Delta;
        double Factor;
    } Cases[] = {{-120, 1.2}, {0, 1.2}, {120, 0.8}};
    for (const auto& C : Cases) {
        TTestView V;
        V.UpdateScreenMatrix();
        EXPECT_TRUE(V.MouseWheel(C.Delta));
        EXPECT_DOUBLE_EQ(V.GetWindow().Height, 2 * C.Factor) << C.Delta;
        EXPECT_DOUBLE_EQ(V.GetWindow().CentreX, 0);
        EXPECT_DOUBLE_EQ(V.GetWindow().CentreY, 0);
        EXPECT_EQ(V.Invalidates, 1);
    }
}

TEST_F(ViewWinAPITest, AZoomDragScalesAboutThePressedPoint) {
    View.SetInteractionMode(imZoom);
    EXPECT_EQ(View.GetCursor(), 11);
    // Pressed at view point (1, 0.5); a quarter of the height down enlarges 2.25 times, up shrinks.
    const struct {
        int ToY;
        double Factor;
    } Cases[] = {{25 + 25, 2.25}, {25 - 25, 1 / 2.25}};
    for (const auto& C : Cases) {
        TTestView V;
        V.UpdateScreenMatrix();
        V.SetInteractionMode(imZoom);
        V.MouseDown(mbLeft, ssLeft, 150, 25);
        V.MouseMove(ssLeft, 150, C.ToY);
        EXPECT_NEAR(V.GetWindow().Height, 2 * C.Factor, 1e-12);
        EXPECT_NEAR(V.GetWindow().Width, 4 * C.Factor, 1e-12);
        // The pressed point stays where it was in the window.
        EXPECT_NEAR(V.GetWindow().Left() + 0.75 * V.GetWindow().Width, 1, 1e-12);
        EXPECT_NEAR(V.GetWindow().Top() - 0.25 * V.GetWindow().Height, 0.5, 1e-12);
        EXPECT_TRUE(V.IsDirty());
        V.MouseUp(mbLeft, 0, 150, C.ToY);
        EXPECT_FALSE(V.IsInteracting());
    }
}

TEST_F(ViewWinAPITest, DragsDrawPreviewsAndOneFullPictureAtTheEnd) {
    int Full = 0, Previews = 0;
    View.OnRedraw = [&](void*, IGraphics&) { ++Full; };
    View.OnPreviewRedraw = [&](void*, IGraphics&) { ++Previews; };
    TRecordingCanvas Canvas;
    View.SetInteractionMode(imPan);
    EXPECT_EQ(View.GetCursor(), 12);
    View.MouseDown(mbLeft, ssLeft, 100, 50);
    EXPECT_TRUE(View.IsInteracting());
    View.MouseMove(ssLeft, 150, 75);
    // The scene follows the mouse: half a width to the right and a quarter down.
    EXPECT_DOUBLE_EQ(View.GetWindow().CentreX, -1);
    EXPECT_DOUBLE_EQ(View.GetWindow().CentreY, 0.5);
    View.Paint(Canvas);
    EXPECT_EQ(Previews, 1);
    EXPECT_EQ(Full, 0);
    // Setting a mode meanwhile is ignored.
    View.SetInteractionMode(imZoom);
    EXPECT_EQ(View.GetInteractionMode(), imPan);
    View.MouseUp(mbLeft, 0, 150, 75);
    View.Paint(Canvas);
    EXPECT_EQ(Full, 1);
    EXPECT_FALSE(View.IsDirty());

    // Turning: a drag across the whole width turns by 180 degrees.
    View.SetInteractionMode(imRotate);
    View.MouseDown(mbLeft, ssLeft, 200, 100);
    View.MouseMove(ssLeft, 0, 50);
    EXPECT_DOUBLE_EQ(View.GetAzimuth(), 270 + 180);
    EXPECT_DOUBLE_EQ(View.GetElevation(), 90);
    View.MouseUp(mbLeft, 0, 0, 50);
    EXPECT_FALSE(View.IsInteracting());
}

TEST_F(ViewWinAPITest, TheRightButtonPansInEveryModeAndTheUserModesGetTheMouse) {
    for (TInteractionMode Mode : {imZoom, imDragBox, imNone}) {
        TTestView V;
        V.UpdateScreenMatrix();
        V.SetInteractionMode(Mode);
        V.MouseDown(mbRight, ssRight, 100, 50);
        EXPECT_TRUE(V.IsRightPanning());
        EXPECT_EQ(V.GetCursor(), 12);
        V.MouseMove(ssRight, 100, 100);
        EXPECT_DOUBLE_EQ(V.GetWindow().CentreY, 1) << Mode;
        V.MouseUp(mbRight, 0, 100, 100);
        EXPECT_FALSE(V.IsRightPanning());
        EXPECT_FALSE(V.IsInteracting());
        EXPECT_NE(V.GetCursor(), 12);
    }

    std::vector<std::string> Events;
    View.OnMouseDown = [&](void*, TMouseButton, TShiftState, int X, int) {
        Events.push_back("down " + std::to_string(X));
    };
    View.OnMouseMove = [&](void*, TShiftState, int X, int) { Events.push_back("move " + std::to_string(X)); };
    View.OnMouseUp = [&](void*, TMouseButton, TShiftState, int X, int) { Events.push_back("up " + std::to_string(X)); };
    for (TInteractionMode Mode : {imNone, imUser}) {
        Events.clear();
        View.SetInteractionMode(Mode);
        EXPECT_EQ(View.GetCursor(), crArrow);
        View.MouseDown(mbLeft, ssLeft, 1, 1);
        View.MouseMove(ssLeft, 2, 2);
        View.MouseUp(mbLeft, 0, 3, 3);
        EXPECT_EQ(Events, (std::vector<std::string>{"down 1", "move 2", "up 3"}));
        EXPECT_FALSE(View.IsInteracting());
        EXPECT_DOUBLE_EQ(View.GetWindow().CentreX, 0);
    }
}

TEST_F(ViewWinAPITest, AZoomWindowBandZoomsWhenItHasSomeSize) {
    View.SetInteractionMode(imZoomWindow);
    EXPECT_EQ(View.GetCursor(), 16);
    // 3 x 4 pixels: nothing.
    View.MouseDown(mbLeft, ssLeft, 100, 50);
    EXPECT_TRUE(View.IsRubberBanding());
    View.MouseMove(ssLeft, 103, 54);
    EXPECT_EQ(View.GetRubberRect(), (TRect{100, 50, 103, 54}));
    View.MouseUp(mbLeft, 0, 103, 54);
    EXPECT_FALSE(View.IsRubberBanding());
    EXPECT_EQ(View.BandChanges, 3);
    EXPECT_DOUBLE_EQ(View.GetWindow().Height, 2);
    // 3 x 50 pixels, drawn upwards from the bottom: the window becomes its height about its centre.
    View.MouseDown(mbLeft, ssLeft, 153, 100);
    View.MouseMove(ssLeft, 150, 50);
    View.MouseUp(mbLeft, 0, 150, 50);
    EXPECT_DOUBLE_EQ(View.GetWindow().Height, 1);
    EXPECT_NEAR(View.GetWindow().CentreX, 1.03, 1e-12);
    EXPECT_NEAR(View.GetWindow().CentreY, -0.5, 1e-12);

    // A drag box shows its band and zooms nothing.
    View.SetInteractionMode(imDragBox);
    EXPECT_EQ(View.GetCursor(), crCross);
    View.MouseDown(mbLeft, ssLeft, 0, 0);
    View.MouseMove(ssLeft, 150, 90);
    View.MouseUp(mbLeft, 0, 150, 90);
    EXPECT_DOUBLE_EQ(View.GetWindow().Height, 1);
}

TEST_F(ViewWinAPITest, TheScrollBarsShowTheWindowInTheProjectedExtents) {
    View.OnRedraw = [](void*, IGraphics& G) { G.Line(0, 0, 0, 10, 5, 0); };
    View.ZoomAll();
    View.ZoomToRect({0, 0, 100, 100});  // the left half
    const TProjectedExtents& P = View.GetProjectedExtents();
    EXPECT_DOUBLE_EQ(P.MaxX - P.MinX, 10);
    const TViewWindow& W = View.GetWindow();
    const TWinAPIScrollBar& H = View.GetScrollBar(0);
    EXPECT_EQ(H.PageSize, RoundPixel(W.Width / 10 * 20000));
    EXPECT_EQ(H.Position, RoundPixel((W.CentreX - P.MinX - W.Width / 2) / 10 * 20000));
    EXPECT_EQ(H.SmallChange, H.PageSize / 10);
    EXPECT_EQ(H.LargeChange, H.PageSize);
    const TWinAPIScrollBar& V = View.GetScrollBar(1);
    EXPECT_EQ(V.Position, RoundPixel((P.MaxY - W.CentreY - W.Height / 2) / 5 * 20000));

    // Scrolling moves the window and holds the view interacting until the end of the scroll.
    View.ScrollTo(0, 10000);
    EXPECT_TRUE(View.IsInteracting());
    EXPECT_NEAR(View.GetWindow().CentreX, 0 + W.Width / 2, 1e-12);
    View.ScrollTo(1, 0);
    EXPECT_NEAR(View.GetWindow().CentreY, 2.5 - W.Height / 2, 1e-12);
    View.EndScroll();
    EXPECT_FALSE(View.IsInteracting());

    // Extents without width leave the horizontal bar empty.
    View.OnRedraw = [](void*, IGraphics& G) { G.Line(3, 0, 0, 3, 5, 0); };
    View.ZoomAll();
    EXPECT_EQ(View.GetScrollBar(0).PageSize, 0);
    EXPECT_EQ(View.GetScrollBar(0).Position, 0);
    EXPECT_GT(View.GetScrollBar(1).PageSize, 0);
}

TEST_F(ViewWinAPITest, APrintedPageShowsTheWholeWindowAtThePagesAspect) {
    View.OnRedraw = [](void*, IGraphics& G) { G.Line(-5, -5, 0, 5, 5, 0); };
    View.ZoomAll();
    const TViewWindow W = View.GetWindow();  // twice as wide as high, as the client area

    TRecordingCanvas Canvas;
    const auto Tall = View.CreatePrinterCanvas(Canvas, 1000, 2000);
    EXPECT_DOUBLE_EQ(Tall->Window.Width, W.Width);
    EXPECT_DOUBLE_EQ(Tall->Window.Height, W.Width * 2);
    EXPECT_DOUBLE_EQ(Tall->Window.CentreX, W.CentreX);
    const auto Wide = View.CreatePrinterCanvas(Canvas, 4000, 1000);
    EXPECT_DOUBLE_EQ(Wide->Window.Height, W.Height);
    EXPECT_DOUBLE_EQ(Wide->Window.Width, W.Height * 4);
    // The window's centre (the model's, after the zoom) is the page's centre.
    EXPECT_EQ(Tall->WorldToScreen(0, 0, 0), (TPoint{500, 1000}));

    View.PrintPage(Canvas, 1000, 2000);
    const auto Lines = CallsOf(Canvas, ccLineTo);
    ASSERT_EQ(Lines.size(), 1u);
}

// ---- The control ----

TEST(ViewWinAPIControl, PaintsThroughItsCanvasAndPrintsOnePage) {
    TViewWinAPI View;
    View.resize(120, 100);
    View.SetDrawAxes(false);
    View.OnRedraw = [](void*, IGraphics& G) { G.Line(-100, 0, 0, 100, 0, 0); };
    View.show();
    // A busy X server maps the window late, and a paint before that never happens.
    SettleExposed(View);
    EXPECT_EQ(View.GetCursor(), 13);
    EXPECT_EQ(View.HorzScrollBar().GetMax(), 20000);
    View.ZoomAll();
    View.repaint();
    const QImage& Frame = View.GetFrame();
    ASSERT_EQ(Frame.width(), View.ClientWidth());
    const TPoint Middle = View.WorldToPixel(0, 0, 0);
    EXPECT_EQ(QColor(Frame.pixel(Middle.X, Middle.Y)), QColor(Qt::white));
    EXPECT_EQ(QColor(Frame.pixel(Middle.X, Middle.Y + 5)), QColor(Qt::black));

    QTemporaryDir Folder;
    QPrinter Printer(QPrinter::HighResolution);
    Printer.setOutputFormat(QPrinter::PdfFormat);
    Printer.setOutputFileName(Folder.filePath("view.pdf"));
    View.Print("", Printer);
    EXPECT_EQ(Printer.docName().toStdString(), GExeName + " - Viewport");
    QFile File(Folder.filePath("view.pdf"));
    ASSERT_TRUE(File.open(QIODevice::ReadOnly));
    EXPECT_TRUE(File.readAll().startsWith("%PDF"));

    // A job under way: nothing drawn.
    int Draws = 0;
    View.OnRedraw = [&](void*, IGraphics&) { ++Draws; };
    QPrinter Busy(QPrinter::HighResolution);
    Busy.setOutputFormat(QPrinter::PdfFormat);
    Busy.setOutputFileName(Folder.filePath("busy.pdf"));
    QPainter Job(&Busy);
    View.Print("Mine", Busy);
    EXPECT_EQ(Draws, 0);
    Job.end();
}

}  // namespace
}  // namespace sarnova
