// The 2-D line chart without its window: properties, the drawing pass on a canvas (the same for the
// screen, the clipboard pictures and the printer), the mouse modes, the popup menu and the chart's
// clipboard formats. The chart control on forms (TVkGraph) puts it into a window; tests drive it
// directly.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "foundation/Colors.h"
#include "platform/Canvas.h"
#include "platform/Font.h"
#include "foundation/Keys.h"
#include "platform/Menu.h"
#include "foundation/Types.h"
#include "controls/VkGraphData.h"

namespace sarnova {

class TVkGraphCore;

enum TVkGraphMouseMode : std::uint8_t { lgmUser, lgmQueryValue, lgmPan, lgmZoom, lgmModify };

// The chart's own clipboard format (0x1100): it names the series list of the chart that copied, and
// only that chart, alive in this process, can be pasted from it.
inline constexpr int ChartClipboardFormat = 4352;

// What one copy puts on the clipboard.
struct TChartClipboardContents {
    bool HasText = false;
    std::string Text;
    // The chart-format block; empty for none.
    std::string ChartFormat;
    // The chart to place as pictures (bitmap and scalable picture of its window size), or nullptr.
    TVkGraphCore* Picture = nullptr;
};

// The clipboard as the chart uses it.
class IChartClipboard {
public:
    virtual ~IChartClipboard() = default;
    // Replaces the clipboard's contents with these formats, all at once.
    virtual void Place(const TChartClipboardContents& Contents) = 0;
    // Whether the clipboard offers ChartClipboardFormat, and its block ("" when it does not).
    virtual bool HasChartFormat() const = 0;
    virtual std::string GetChartFormat() const = 0;
    // Replaces the contents with this text alone.
    virtual void SetText(const std::string& Text) = 0;
};

// The chart clipboard of charts without a window: texts go to the program's text clipboard
// (TextClipboard), and the chart format stays offered while that clipboard still holds the text of
// the copy that placed it. No pictures.
IChartClipboard& DefaultChartClipboard();

using TVkGraphCustomDraw = std::function<void(TVkGraphCore* Sender, TVkGraphCore* Graph, ICanvas& Canvas)>;
using TVkGraphMouseEvent =
    std::function<void(TVkGraphCore* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TVkGraphMouseMoveEvent = std::function<void(TVkGraphCore* Sender, TShiftState Shift, int X, int Y)>;

// A pixel coordinate from a real one: through single precision, truncated toward zero, held within
// +-134217727 so that far-off points stay drawable; NaN gives 0.
int GraphPixel(double V);

// Cursors of the mouse modes, from the program's cursor table.
inline constexpr TCursor crGraphPan = 12;
inline constexpr TCursor crGraphZoom = 16;
inline constexpr TCursor crGraphOverPoint = 17;
inline constexpr TCursor crGraphMoveX = 20;
inline constexpr TCursor crGraphMoveY = 21;

class TVkGraphCore {
public:
    TVkGraphCore();
    virtual ~TVkGraphCore();
    TVkGraphCore(const TVkGraphCore&) = delete;
    TVkGraphCore& operator=(const TVkGraphCore&) = delete;

    // ---- Properties ----
    TVkSeriesList& GetSeriesList() const { return *SeriesList; }
    TVkAxis& GetXAxis() const { return *XAxis; }
    TVkAxis& GetYAxis() const { return *YAxis; }
    const std::string& GetTitle() const { return Title; }
    void SetTitle(const std::string& Value);
    const TFont& GetTitleFont() const { return TitleFont; }
    void SetTitleFont(const TFont& Value);
    // The font of the legend, the axis titles and the labels; its colour draws axes and ticks.
    const TFont& GetFont() const { return Font; }
    void SetFont(const TFont& Value);
    // The background of the whole control.
    TColor GetColor() const { return Color; }
    void SetColor(TColor Value);
    TColor GetGridLinesColor() const { return GridLinesColor; }
    void SetGridLinesColor(TColor Value);
    // The plot area's colour.
    TColor GetChartColor() const { return ChartColor; }
    void SetChartColor(TColor Value);
    bool GetShowChartBorder() const { return ShowChartBorder; }
    void SetShowChartBorder(bool Value);
    bool GetShowLegend() const { return ShowLegend; }
    void SetShowLegend(bool Value);
    TVkGraphMouseMode GetMouseMode() const { return MouseMode; }
    // Ignored during a drag; otherwise also sets the mode's cursor.
    void SetMouseMode(TVkGraphMouseMode Value);
    // Read by Loaded: whether the chart gets its popup menu.
    bool UsePopupMenu = true;
    TVkGraphCustomDraw OnCustomDraw;
    // The user's mouse events. OnMouseDown and OnMouseMove serve the lgmUser mode; OnMouseUp runs on
    // every release.
    TVkGraphMouseEvent OnMouseDown;
    TVkGraphMouseMoveEvent OnMouseMove;
    TVkGraphMouseEvent OnMouseUp;

    // The client area's size in pixels (200 x 160 until the window says otherwise).
    int GetClientWidth() const { return ClientWidth; }
    int GetClientHeight() const { return ClientHeight; }
    void SetClientSize(int Width, int Height);
    TRect GetClientRect() const { return {0, 0, ClientWidth, ClientHeight}; }
    TCursor GetCursor() const { return Cursor; }

    // Runs once the owner has set the chart up: builds the popup menu when UsePopupMenu is set.
    virtual void Loaded();
    // nullptr when there is none.
    TMenuItem* GetPopupMenu() const { return PopupMenu.get(); }
    // What the menu shows when it opens: "Paste" enabled while the clipboard offers the chart format,
    // the interaction item of the mouse mode ticked.
    void UpdatePopupMenu();

    // ---- Change and mapping ----
    // A point, series or list sender copies the list's extents into the axes' data ranges; every
    // sender invalidates the control.
    void Changed(TVkChartObject* Sender);
    // World to pixel through the view and plot rectangle of the last drawing pass; through single
    // precision, truncated toward zero, and held within +-134217727 (NaN gives 0).
    TPoint WorldToScreen(double X, double Y) const;
    void ScreenToWorld(TPoint Pixel, double& X, double& Y) const;
    const TRect& GetPlotRect() const { return PlotRect; }
    const TGraphExtents& GetView() const { return View; }

    // ---- Drawing ----
    // One drawing pass into R; Scale multiplies line widths and marker sizes (1 on the screen).
    void DrawTo(const TRect& R, ICanvas& Canvas, int Scale);
    // The screen picture: DrawTo of the client area and, while the query mode shows one, the value box.
    void PaintTo(ICanvas& Canvas);
    // The area of a printer page of PageWidth x PageHeight pixels the chart prints into: 90 per cent of
    // the page, centred, with the control's aspect.
    TRect PrintRect(int PageWidth, int PageHeight) const;
    // The pass for a printer page; the screen's plot rectangle and view stay as they were.
    void PrintTo(ICanvas& Canvas, int PageWidth, int PageHeight);

    // ---- Clipboard ----
    // One line per series name and per point ("%g\t%g"), CR LF ends, two empty lines after a series.
    std::string ClipboardText() const;
    // Bitmap, picture, text and chart format, all at once.
    void CopyToClipboard();
    // The chart format alone, replacing the block this chart placed before.
    void CopyChartFormat();
    // Adds a copy of every series of the chart whose format the clipboard holds, in one update bracket;
    // nothing when the clipboard holds none or its chart is gone.
    void Paste();
    bool HasChartFormat() const;
    // Forgets this chart's block; when the clipboard still holds it, the clipboard is emptied.
    void ReleaseChartFormat();

    // ---- Mouse ----
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    void MouseMove(TShiftState Shift, int X, int Y);
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    bool GetDragging() const { return Dragging; }
    // True when a point of a series maps inside the plot rectangle less than 5 pixels from Pixel.
    bool HitTest(TPoint Pixel) const;

    void QueryAt(TPoint P);
    void StartPan(TPoint P);
    void PanTo(TPoint P);
    void EndPan() {}
    void StartZoom(TPoint P);
    void ZoomTo(TPoint P);
    void EndZoom();
    void StartModify(TPoint P);
    void ModifyTo(TPoint P);
    void EndModify();

    // The zoom rubber band as dragged (not normalised); shown while GetZoomBandVisible.
    const TRect& GetZoomBand() const { return ZoomBand; }
    bool GetZoomBandVisible() const { return ZoomBandVisible; }
    // The query result the screen picture shows, while GetQueryVisible.
    const TSeriesQueryResult& GetQueryResult() const { return QueryResult; }
    bool GetQueryVisible() const { return QueryVisible; }
    // The point being moved by the modify mode: its series (nullptr when none) and index.
    TVkSeries* GetModifySeries() const { return ModifySeries; }
    int GetModifyIndex() const { return ModifyIndex; }

    // "Default Axes Setting": both axes automatic again.
    void DefaultAxesSetting();

    // ---- What the window provides ----
    // The clipboard the chart uses; DefaultChartClipboard here.
    virtual IChartClipboard& GetClipboard() const;
    // Asks for a repaint later; nothing here.
    virtual void InvalidateControl() {}
    // Repaints now; nothing here.
    virtual void Repaint() {}
    // The window takes the keyboard focus when it lacks it.
    virtual void TakeFocus() {}
    // Shows the properties dialog.
    virtual void ShowProperties() {}
    // The print dialog and, when confirmed, the print.
    virtual void ExecutePrint() {}
    virtual void ExecutePrinterSetup() {}

protected:
    // The pointer shape; the window shows it.
    virtual void SetCursor(TCursor Value) { Cursor = Value; }
    virtual void BuildPopupMenu();

private:
    // The value box of the query mode: marker, leader line and text, beside the point or, near the
    // right edge, to its left.
    void DrawQueryValue(ICanvas& Canvas);
    // A star of four 7-pixel strokes at Q, in the pen colour.
    void DrawQueryMarker(ICanvas& Canvas, TPoint Q);
    void FixView();

    std::unique_ptr<TVkSeriesList> SeriesList;
    std::string Title = "Title";
    TFont Font;
    TFont TitleFont;
    std::unique_ptr<TVkAxis> XAxis;
    std::unique_ptr<TVkAxis> YAxis;
    TColor Color = clWhite;
    TColor GridLinesColor = clGray;
    TColor ChartColor = clAqua;
    bool ShowChartBorder = true;
    bool ShowLegend = true;
    // The token of the chart-format block this chart placed; 0 for none.
    std::uint64_t ChartFormatToken = 0;
    TRect PlotRect;
    TGraphExtents View;
    TGraphExtents SavedView;
    TPoint DragStart;
    bool Dragging = false;
    TRect ZoomBand;
    bool ZoomBandVisible = false;
    TVkGraphMouseMode MouseMode = lgmUser;
    TVkSeries* ModifySeries = nullptr;
    int ModifyIndex = -1;
    double ModifyStartX = 0;
    double ModifyStartY = 0;
    TSeriesQueryResult QueryResult;
    bool QueryVisible = false;
    std::unique_ptr<TMenuItem> PopupMenu;
    int ClientWidth = 200;
    int ClientHeight = 160;
    TCursor Cursor = crDefault;
};

}  // namespace sarnova
