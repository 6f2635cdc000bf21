// The GDI view without its window: a camera of two angles with an orthographic or a simple perspective
// projection onto a zoom window, the IGraphics drawing target that paints the world onto a 2-D canvas,
// the full and preview redraws, zoom to all and to a rectangle, the scroll-bar arithmetic, the mouse
// modes (pan, zoom drag, rotation, rubber band, right-button pan) and the printer's canvas interface.
// The view control (TViewWinAPI) puts it into a window; tests drive it directly. No Qt and no GL here.
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "platform/GraphicsCanvas.h"
#include "foundation/GeomBox.h"
#include "platform/Canvas.h"
#include "platform/Font.h"
#include "foundation/Keys.h"

namespace sarnova {

// A real as a pixel (or scroll value): rounded, halves to even; NaN counts as 0 and values beyond
// +-1e9 are held there, so a point far off screen (or behind the perspective lens) still draws towards
// its direction instead of failing the conversion.
int RoundPixel(double X);

// The scroll bars run over the projected model extents on this scale.
inline constexpr int WinAPIScrollRange = 20000;

// The zoom window, in view units. Its edges: left = CentreX - Width / 2, right = CentreX + Width / 2,
// top = CentreY + Height / 2, bottom = CentreY - Height / 2 (view y grows upwards).
struct TViewWindow {
    double CentreX = 0;
    double CentreY = 0;
    double Width = 2.0;
    double Height = 2.0;
    double Left() const { return CentreX - Width / 2; }
    double Right() const { return CentreX + Width / 2; }
    double Top() const { return CentreY + Height / 2; }
    double Bottom() const { return CentreY - Height / 2; }
};

// The model extents' corners in view units, after the view matrix and the perspective division.
struct TProjectedExtents {
    double MinX = HugeValue;
    double MinY = HugeValue;
    double MaxX = -HugeValue;
    double MaxY = -HugeValue;
};

// The mapping of world points to pixels that the view and its printer canvas share.
struct TWinAPITransform {
    TMMatrix ScreenMatrix = IdentityMatrix;
    TMMatrix ViewMatrix = IdentityMatrix;
    TMMatrix CombinedMatrix = IdentityMatrix;
    TMMatrix InverseMatrix = IdentityMatrix;
    TProjection Projection = TProjection::Orthographic;

    // CombinedMatrix := ScreenMatrix x ViewMatrix, InverseMatrix := its inverse.
    void Combine();
    // Orthographic: CombinedMatrix x P. Perspective: the view point's x and y scaled by
    // 1000 / (z + 50), then ScreenMatrix.
    TPoint WorldToPixel(double X, double Y, double Z) const;
    // InverseMatrix x (X, Y, 0). Throws EError "Cannot Translate to World coordinates while in
    // perspective mode" in Perspective.
    TMVector PixelToWorld(int X, int Y) const;
    // Through InverseMatrix x (X, Y, 0), directed from InverseMatrix x (X, Y, 1) towards it; the
    // orthographic ray also in Perspective.
    TMLine PixelToRay(int X, int Y) const;
};

// The perspective division: x and y of a view point scaled by 1000 / (z + 50).
TMVector WinAPIPerspective(TMVector Q);
// Maps Window onto Width x Height pixels: x to the right from its left edge, y downwards from its top.
TMMatrix WinAPIScreenMatrix(const TViewWindow& Window, int Width, int Height);

// The view's projection applied to another canvas (a printer page).
class TWinAPICanvasInterface : public TCanvasInterface {
public:
    TWinAPICanvasInterface(ICanvas& Canvas, int Width, int Height) : TCanvasInterface(Canvas, Width, Height) {}

    TWinAPITransform Transform;
    // The view window that the page shows (the view's, widened to the page's aspect).
    TViewWindow Window;

    TPoint WorldToScreen(double X, double Y, double Z) override { return Transform.WorldToPixel(X, Y, Z); }
    // Throws in Perspective, as the view does.
    TMVector ScreenToWorld(int X, int Y) override { return Transform.PixelToWorld(X, Y); }
};

// The control's own mouse events, fired in imNone and imUser.
using TWinAPIMouseEvent = std::function<void(void* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TWinAPIMouseMoveEvent = std::function<void(void* Sender, TShiftState Shift, int X, int Y)>;

// What the view puts into one scroll bar (bar 0 horizontal, 1 vertical).
struct TWinAPIScrollBar {
    int PageSize = 0;
    int Position = 0;
    int SmallChange = 0;
    int LargeChange = 0;
};

class TViewWinAPICore : public IGraphics {
public:
    // Black background, white lines, black fill, 80 x 80 pixels, the window 2 x 2 about the origin,
    // Elevation 0 and Azimuth 270 (the model seen from above), identity matrices, imRotate, axis icon
    // shown, Orthographic.
    TViewWinAPICore();
    ~TViewWinAPICore() override;

    // ---- Properties ----
    TColor LineColor = clWhite;
    // Pen width of the lines, in pixels (SetLineWidth).
    int LineWidth = 1;
    // Kept and answered; nothing draws with it.
    TColor FillColor = clBlack;
    // The font of TextOut, as the class library gives controls; the axis icon writes its labels at
    // size 8 in the line colour.
    TFont Font{"", 8, 0, clWindowText};
    TRedrawEvent OnRedraw;
    // Drawn during drags and for measuring the extents, when assigned; OnRedraw otherwise.
    TRedrawEvent OnPreviewRedraw;
    TWinAPIMouseEvent OnMouseDown;
    TWinAPIMouseEvent OnMouseUp;
    TWinAPIMouseMoveEvent OnMouseMove;

    // The background colour; a change repaints.
    TColor GetColor() const { return Color; }
    void SetColor(TColor Value);
    TInteractionMode GetInteractionMode() const { return InteractionMode; }
    // Ignored while a drag or a scroll is under way; otherwise stored, with the mode's cursor.
    void SetInteractionMode(TInteractionMode Value);
    TProjection GetProjection() const { return Transform.Projection; }
    // A change updates the transforms and repaints.
    void SetProjection(TProjection Value);
    bool GetDrawAxes() const { return DrawAxes; }
    // A change repaints.
    void SetDrawAxes(bool Value);

    // ---- State ----
    double GetAzimuth() const { return Azimuth; }
    double GetElevation() const { return Elevation; }
    const TViewWindow& GetWindow() const { return Window; }
    const TMBox& GetModelExtents() const { return ModelExtents; }
    const TProjectedExtents& GetProjectedExtents() const { return ProjectedExtents; }
    const TWinAPITransform& GetTransform() const { return Transform; }
    const TWinAPIScrollBar& GetScrollBar(int Bar) const { return Bar == 0 ? HorzBar : VertBar; }
    bool IsPainting() const { return Painting; }
    bool IsDirty() const { return Dirty; }
    bool IsMeasuring() const { return Measuring; }
    bool IsInteracting() const { return Interacting; }
    bool IsRightPanning() const { return RightPanning; }
    bool IsRubberBanding() const { return RubberBanding; }
    // In pixels; its second corner follows the mouse.
    const TRect& GetRubberRect() const { return RubberRect; }
    // The cursor the view asked for last.
    TCursor GetCursor() const { return Cursor; }

    // ---- Camera ----
    // The rotation of Azimuth and Elevation after a translation of the model extents' centre to the
    // origin; then UpdateTransforms.
    void UpdateViewMatrix();
    // Width follows the client area's aspect (Height leads); the window onto the client area. Nothing
    // while the client area has no pixels.
    void UpdateScreenMatrix();
    // Combined and inverse matrices, the projected extents, the scroll bars.
    void UpdateTransforms();
    void UpdateScrollBars();
    TPoint WorldToPixel(double X, double Y, double Z) const { return Transform.WorldToPixel(X, Y, Z); }

    // ---- Redraws ----
    // The full picture onto Canvas: the client area filled with the background, OnRedraw, the axis
    // icon; clears Dirty. Nothing while a full redraw runs.
    void Redraw(ICanvas& Canvas);
    // The drag picture: the background, OnPreviewRedraw (else OnRedraw) and the axis icon.
    void PreviewRedraw(ICanvas& Canvas);
    // What the control's paint draws: the preview while a drag has asked for one, else the full
    // picture.
    void Paint(ICanvas& Canvas);
    // Ask the window for a full redraw, or for the preview of a drag step.
    void Repaint();
    void RequestPreview();
    // The x, y and z triad in the lower-left corner, turned as the view is; needs a redraw's canvas.
    void DrawAxesIcon();
    // ModelExtents := what the preview (or full) redraw event draws; the cube from -10 to 10 when it
    // draws nothing. The event draws nothing on screen meanwhile.
    void MeasureExtents();

    // ---- Zoom and scroll ----
    // Fits the view to everything the redraw event draws.
    void ZoomAll();
    void FitToExtents();
    // Makes a pixel rectangle (y counted from the bottom of the client area, corners in any order)
    // the window, keeping the client area's aspect; less than 5 pixels both ways does nothing.
    void ZoomToRect(const TRect& Rect);
    // The window's height times 0.8 (in) or 1.2 (out) about its centre.
    void ZoomIn();
    void ZoomOut();
    // A scroll bar moved to Position (on the 0 .. 20000 scale); the window follows it. The view is
    // interacting until EndScroll.
    void ScrollTo(int Bar, int Position);
    void EndScroll();

    // ---- Mouse (pixels of the client area) ----
    // A right press pans in every mode; in imNone and imUser the control's events get the mouse; the
    // other modes drag with the left button.
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    void MouseMove(TShiftState Shift, int X, int Y);
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    // A delta of 0 or less zooms out, a positive one in. Always handled.
    bool MouseWheel(int Delta);

    // ---- Printing ----
    // A target on a page of PageWidth x PageHeight pixels showing the view's window widened to the
    // page's aspect, with the view's view matrix and projection.
    std::unique_ptr<TWinAPICanvasInterface> CreatePrinterCanvas(ICanvas& Canvas, int PageWidth, int PageHeight) const;
    // OnRedraw onto such a page.
    void PrintPage(ICanvas& Canvas, int PageWidth, int PageHeight);

    // ---- IGraphics ----
    // Every drawing call that extends grows ModelExtents also while measuring, and draws nothing then
    // (nor outside a redraw).
    TColor GetLineColor() override { return LineColor; }
    TColor GetFillColor() override { return FillColor; }
    TColor GetBackColor() override { return Color; }
    void SetLineColor(TColor C) override;
    void SetLineWidth(double Width) override;
    void SetFillColor(TColor C) override { FillColor = C; }
    void SetBackColor(TColor C) override { SetColor(C); }
    void Line(double X1, double Y1, double Z1, double X2, double Y2, double Z2) override;
    void Line2D(double X1, double Y1, double X2, double Y2) override;
    // The strip's pen position; nothing drawn or measured.
    void LineStart(double X, double Y, double Z) override;
    void LineNext(double X, double Y, double Z) override;
    void LineFinish() override {}
    // In the list's own colours when it has them, else the line colour and the background colour as
    // brush (so a filled list without colours is filled with the background); pen and brush back to
    // line and background colour afterwards.
    void Polyline(const TRPoints& Points) override;
    // Filled with the facet's colour, outlined in its edge colour.
    void Polygon(const TPolygon& F) override;
    // Shaded objects are not drawn here.
    void RenderObject(IRenderable& Obj) override {}
    // A circle of radius 5 pixels in the current pen and brush, whatever the kind.
    void EditHandle(int Kind, double X, double Y, double Z) override;
    void EditHandlePoint(const TRPoint& P, int Kind) override;
    void VectorPoints(const TRPoint& Base, const TRPoint& Direction, double Size, bool Absolute) override;
    void Vector(const TMVector& Base, const TMVector& Direction, double Size, bool Absolute) override;
    // At the point's pixel in Font; not measured.
    void TextOut(const std::string& Text, double X, double Y, double Z) override;
    // 0 outside a redraw.
    double TextWidth(const std::string& Text) override;
    double TextHeight(const std::string& Text) override;
    TPoint WorldToScreen(double X, double Y, double Z) override { return WorldToPixel(X, Y, Z); }
    TPoint WorldToScreenVector(const TMVector& V) override { return WorldToPixel(V.X, V.Y, V.Z); }
    TPoint WorldToScreenPoint(const TRPoint& P) override;
    // Throws in Perspective.
    TMVector ScreenToWorld(int X, int Y) override { return Transform.PixelToWorld(X, Y); }
    TMVector ScreenToWorldPoint(TPoint P) override { return ScreenToWorld(P.X, P.Y); }
    TMLine ScreenToRay(int X, int Y) override { return Transform.PixelToRay(X, Y); }
    TMLine ScreenToRayPoint(TPoint P) override { return ScreenToRay(P.X, P.Y); }

    // ---- What the window supplies; the defaults serve a view without one ----
    virtual int ClientWidth() const { return FClientWidth; }
    virtual int ClientHeight() const { return FClientHeight; }
    // The control's outer height (the zoom drag's scale).
    virtual int ControlHeight() const { return ClientHeight(); }
    void SetClientSize(int Width, int Height);

protected:
    // A redraw is wanted.
    virtual void Invalidate() {}
    // The rubber band moved, showed or went.
    virtual void RubberBandChanged() {}
    // The cursor shows at once.
    virtual void SetCursor(TCursor Value) { Cursor = Value; }
    // HorzBar and VertBar changed.
    virtual void ScrollBarsChanged() {}
    // The cursor of the interaction mode: imNone and imUser the arrow, imPan 12, imZoom 11, imRotate
    // 13, imZoomWindow 16, imDragBox the cross; other modes keep the cursor.
    void UpdateCursor();

    double Elevation = 0;
    double Azimuth = 270;
    TMBox ModelExtents = EmptyBox;

private:
    void Extend(double X, double Y, double Z);
    bool CanDraw() const { return Canvas != nullptr && !Measuring; }
    // Pen := line colour, brush := background, as after every filled shape.
    void RestorePenAndBrush();
    // Fills the client area with the background and runs Event onto this view, with Canvas as target.
    void DrawPicture(ICanvas& Target, const TRedrawEvent& Event);

    void PanStart(int X, int Y);
    void PanStep(int X, int Y);
    void PanEnd();
    void RotateStart(int X, int Y);
    void RotateStep(int X, int Y);
    void ZoomDragStart(int X, int Y);
    void ZoomDragStep(int X, int Y);
    void RubberBandStart(int X, int Y);
    void RubberBandStep(int X, int Y);
    void RubberBandEnd();
    // Ends a drag of a mode that needs no more than the full redraw its previews call for.
    void DragEnd();

    ICanvas* Canvas = nullptr;
    bool Painting = false;
    bool Dirty = false;
    bool Measuring = false;
    bool PreviewPending = false;
    TWinAPITransform Transform;
    double DragSavedX = 0;
    double DragSavedY = 0;
    TProjectedExtents ProjectedExtents;
    TViewWindow Window;
    bool Interacting = false;
    bool RightPanning = false;
    bool RubberBanding = false;
    TMVector PenPosition;
    TPoint DragStart;
    // The window's edges and the view point under the mouse when a zoom drag began.
    double ZoomLeft = 0;
    double ZoomTop = 0;
    double ZoomRight = 0;
    double ZoomBottom = 0;
    double ZoomMouseX = 0;
    double ZoomMouseY = 0;
    TRect RubberRect;
    TInteractionMode InteractionMode = imRotate;
    bool DrawAxes = true;
    TColor Color = clBlack;
    TCursor Cursor = crDefault;
    TWinAPIScrollBar HorzBar;
    TWinAPIScrollBar VertBar;
    int FClientWidth = 80;
    int FClientHeight = 80;
};

}  // namespace sarnova
