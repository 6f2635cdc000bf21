// The 3-D view control. It draws with legacy fixed-function OpenGL (immediate mode, display lists,
// GLU) in a compatibility-profile context of a Qt OpenGL widget: each render clears the frame, sets up
// the camera and two head-lights and hands the view, as the IGraphics drawing target, to its owner's
// OnRedraw event. While the camera is dragged it falls back to a cheap preview when the last full draw
// was slow (adaptive degradation). It measures the model extents with a drawing pass that reaches no
// OpenGL, and lets editors draw onto the shown frame between BeginOverlayDraw and EndOverlayDraw.
//
// The widget renders into a frame buffer object that keeps its contents between frames, so the frame
// on screen is always the one drawn into: overlay drawing lands on it directly. A render also keeps a
// copy of its finished frame (the cached frame); RestoreCachedFrame puts it back, so rubber bands and
// markers can be erased by restoring it and drawing again.
#pragma once
#include <QOpenGLWidget>

#include <array>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "document/Settings.h"
#include "foundation/ViewContract.h"
#include "foundation/RenderTarget.h"
#include "controls/VkControls.h"
#include "views/Camera.h"
#include "views/OpenGLViewKeptLines.h"
#include "views/OpenGLViewMarkers.h"
#include "views/ViewGrid.h"

class QMenu;
class QOpenGLFramebufferObject;
class QPrinter;
class QTimer;

namespace sarnova {

enum TTextMode : std::uint8_t { tmBitmap, tmStrokedLine, tmStrokedPolygon };

// The OpenGL switches a drawing operation needs; the view applies them only on a change.
//   dsLines: lighting off, face culling off, depth test on (lines, points, grid, axis icon)
//   dsLit: lighting on, culling off, depth test on (renderable objects)
//   dsBitmaps and dsOverlay: lighting off, culling on, depth test off
enum TGLDrawState : std::uint8_t { dsLines, dsLit, dsBitmaps, dsOverlay };

// The view's state flags.
enum TOpenGLViewFlag : std::uint16_t {
    vfContextReady = 0x1,    // the rendering context exists and the view may draw
    vfRendering = 0x2,       // Render is under way (re-entry guard)
    vfOverlay = 0x4,         // an overlay-drawing bracket is open
    vfMeasuring = 0x8,       // extents-only pass: drawing only grows the extents
    vfDragging = 0x10,       // a mouse or scroll-bar drag is under way
    vfRubberBand = 0x20,     // a rubber-band rectangle is shown
    vfMiddlePan = 0x40,      // a pan started by the middle button is under way
    vfPopupAllowed = 0x80,   // the right button may open the popup menu
    vfWindowMeasure = 0x100  // the extents pass also collects the vertices inside a window rectangle
};
using TOpenGLViewFlags = std::uint16_t;

// Pixel-format request; bit n of TPFDFlags is flag n.
enum class TPFDFlag : std::uint8_t {
    DoubleBuffer,
    Stereo,
    Draw_To_Window,
    Draw_To_Bitmap,
    Support_GDI,
    Support_OpenGL,
    Generic_Format,
    Need_Palette,
    Need_System_Palette,
    Swap_Exchange,
    Swap_Copy,
    Swap_Layer_Buffers,
    Generic_Accelerated,
};
using TPFDFlags = std::uint16_t;
constexpr TPFDFlags PfdFlag(TPFDFlag F) { return static_cast<TPFDFlags>(1u << static_cast<unsigned>(F)); }

enum class TPFDPixelType : std::uint8_t { RGBA, ColorIndex };

// OpenGL switches turned on with the context; bit n of TEnables is switch n.
enum class TEnable : std::uint8_t { DepthTest, CullFace, Lighting };
using TEnables = std::uint8_t;
constexpr TEnables EnableFlag(TEnable E) { return static_cast<TEnables>(1u << static_cast<unsigned>(E)); }

// A hint line for the view's owner.
using THintInformationEvent = std::function<void(void* Sender, const std::string& Text)>;
// A rubber band of the drag-box mode was released; ARect in pixels, normalised.
using TDragRectEvent = std::function<void(void* Sender, const TRect& ARect)>;
// The world position under the mouse.
using TMouseLocationEvent = std::function<void(void* Sender, double X, double Y, double Z)>;
// The tooltip text for the pixel; an empty Hint shows none.
using TVkHintWindowEvent = std::function<void(void* Sender, int X, int Y, std::string& Hint)>;
// The control's own input events, fired for the input that the view does not use itself.
using TViewMouseEvent = std::function<void(void* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TViewMouseMoveEvent = std::function<void(void* Sender, TShiftState Shift, int X, int Y)>;
using TViewKeyEvent = std::function<void(void* Sender, TKeyCode& Key, TShiftState Shift)>;
using TViewKeyPressEvent = std::function<void(void* Sender, char32_t& Key)>;
using TViewNotifyEvent = std::function<void(void* Sender)>;

// The status-bar hint of an interaction mode (imZoom names the field of view only in perspective);
// empty for imNone, imRotate and imEdit.
std::string InteractionModeHint(TInteractionMode Mode, TCameraMode Projection);

class ICanvas;
class TOpenGLCanvasInterface;

// What the outline of one character measures, in em units (text mode tmStrokedLine and
// tmStrokedPolygon): its black box, the box's top-left corner from the character origin (y up), and
// the advance to the next character.
struct TGlyphMetrics {
    float BlackBoxX = 0;
    float BlackBoxY = 0;
    float OriginX = 0;
    float OriginY = 0;
    float CellIncX = 0;
    float CellIncY = 0;
};

class TOpenGLView : public QOpenGLWidget,
                    public IOpenGLView,
                    public IRenderTarget,
                    public ICameraView,
                    public IScrollBarOwner {
public:
    explicit TOpenGLView(QWidget* Parent = nullptr);
    ~TOpenGLView() override;

    // ---- Properties ----
    // The pixel-format request takes effect when the context is created (the widget is first shown).
    TPFDFlags GetPfdFlags() const { return PfdFlags; }
    void SetPfdFlags(TPFDFlags Value);
    TPFDPixelType GetPixelType() const { return PixelType; }
    void SetPixelType(TPFDPixelType Value) { PixelType = Value; }
    int GetColorBits() const { return ColorBits; }
    void SetColorBits(int Value);
    int GetDepthBits() const { return DepthBits; }
    void SetDepthBits(int Value);
    int GetStencilBits() const { return StencilBits; }
    void SetStencilBits(int Value);
    TEnables GetEnable() const { return Enable; }
    void SetEnable(TEnables Value) { Enable = Value; }
    TTextMode GetTextMode() const { return TextMode; }
    // A change rebuilds the font lists before the next text.
    void SetTextMode(TTextMode Value);
    TAxisIcon GetAxisIcon() const { return AxisIcon; }
    // Repaints on a change.
    void SetAxisIcon(TAxisIcon Value);
    // The background colour; a change repaints.
    TColor GetColor() const { return BackColor; }
    void SetColor(TColor Value);
    double GetFieldOfView() const { return Camera->GetFieldOfView(); }
    // Only the camera's field of view changes; nothing is rendered.
    void SetFieldOfView(double Degrees) { Camera->SetFieldOfView(Degrees); }
    TCameraMode GetProjection() const override { return Camera->GetMode(); }
    // A different mode saves the camera, switches and renders.
    void SetProjection(TCameraMode Mode);

    TColor AxisIconColor = clWhite;
    TColor EditIconColor = clGray;
    TColor SnapIconColor = clLime;
    bool CopyBackBuffer = true;
    bool DefaultLighting = true;
    TAdaptiveDegradation AdaptiveDegration = adWhenRequired;
    // Milliseconds a full draw may take before drags show the preview.
    std::uint32_t AdaptiveDegrationThreshold = 250;

    // The owner draws the document through View; the preview is a cheaper drawing used while the
    // camera is dragged after slow full draws, and for measuring the extents.
    TRedrawEvent OnRedraw;
    TRedrawEvent OnPreviewRedraw;
    THintInformationEvent OnHintInformation;

    // Milliseconds of a steady clock; tests replace it to time the full draws.
    std::function<std::uint32_t()> MillisecondClock;
    // Duration of the last timed full draw.
    std::uint32_t GetLastFullDrawTime() const { return LastFullDrawTime; }

    TOpenGLViewFlags GetStateFlags() const { return State; }
    // The input handlers mark drags, rubber bands and middle-button pans with this.
    void SetStateFlag(TOpenGLViewFlag Flag, bool On);

    TCamera& GetCamera() override { return *Camera; }
    TViewGrid& GetGrid() override { return *Grid; }
    // Copies the given grid's settings and repaints.
    void SetGrid(const TViewGrid& Value);
    TSnapState& GetSnapMarker() { return *SnapMarker; }
    TEditState& GetEditMarker() { return *EditMarker; }
    int SavedCameraStates() const { return CameraStack->Count(); }

    // ---- Rendering context ----
    bool IsContextReady() const { return (State & vfContextReady) != 0; }
    // Sets up the OpenGL switches of a new context and marks the view ready; nothing when ready.
    void CreateContext();
    // Releases what the view keeps in the context and marks it not ready.
    void DestroyContext();
    void MakeCurrent() override;
    void UpdateViewport();
    // A pending OpenGL error makes the view set its context up afresh instead of failing.
    void RecoverContext();
    // Throws EError "Error in paint", a carriage return and the error text for a pending OpenGL error
    // of the view's context.
    void CheckGLError();
    // Nothing while an overlay bracket is open or when State is the current state.
    void SetDrawState(std::uint8_t State);

    // ---- Rendering ----
    // Renders and presents one frame; ignored without a context and during a render. An error
    // raised while rendering is reported (once while renders keep failing) and the view stays usable.
    void Render() override;
    void ClearBuffers();
    void SetupLights();
    void DoRedraw();
    // OnPreviewRedraw, or the twelve edges of the model extents.
    void DrawPreview();
    void ShowEditorFeedback();
    // Draws the markers and the axis icon over the scene (not while a rubber band shows), then
    // shows the frame.
    void Present();
    // The extents-only pass: the model extents become what the owner draws (the default box when
    // that has no area) and the model centre their centre.
    void MeasureExtents();
    // The model extents when they extend along some axis, else the box from (-10, -10, -10) to
    // (10, 10, 10).
    TMBox GetExtents() const override;
    const TMBox& GetModelExtents() const { return ModelExtents; }
    TMVector GetModelCentre() const override { return ModelCentre; }
    // Puts the last rendered frame back on screen; false when there is none of the window's size.
    bool RestoreCachedFrame();

    // ---- Overlay drawing ----
    void BeginOverlayDraw() override;
    void EndOverlayDraw() override;
    bool IsOverlayDrawing() const override { return (State & vfOverlay) != 0; }
    void PresentIfDrawn() override;
    // Marks the frame as drawn into, and draws the grid when it is enabled.
    void DrawGrid() override;
    // The X, Y, Z triad in the lower-left corner or at the origin, by AxisIcon.
    void DrawAxisIcon();
    // Something was drawn: the next overlay end presents the frame.
    void MarkDrawn() { Drawn = true; }
    // (Re)builds the character display lists of the view's font for the text mode; the context must
    // be ready.
    void BuildFontLists();

    // ---- Camera operations ----
    void SaveCameraState();
    void RestoreCameraState();
    void ZoomPrevious();
    void ZoomIn();
    void ZoomOut();
    void ZoomAll() override;
    void FitAll();
    void ViewXY();
    void ViewYZ();
    void ViewZX();
    void ViewForeEnd();
    void ViewAftEnd();
    // Only for a rectangle more than 5 pixels wide or high.
    void ZoomWindow(const TRect& Rect);
    // Only for a box with an area.
    void ZoomToBox(const TMBox& Box);

    // ---- Camera drags ----
    // What the input code calls for the mouse drags of the navigation modes. Each begin saves the
    // camera (for zoom-previous), marks the drag and records the press; each drag moves the camera,
    // renders and updates the scroll bars; each end clears the drag mark, renders and updates them.
    TInteractionMode GetDragMode() const { return DragMode; }
    void PanBegin(int X, int Y);
    void PanDrag(int X, int Y);
    void PanEnd();
    void ZoomBegin(int X, int Y);
    void ZoomDrag(int X, int Y);
    void ZoomEnd();
    void RotateWorldBegin(int X, int Y);
    void RotateWorldDrag(int X, int Y);
    void RotateWorldEnd();
    void RotateViewBegin(int X, int Y);
    void RotateViewDrag(int X, int Y);
    void RotateViewEnd();
    void RotateCameraBegin(int X, int Y);
    void RotateCameraDrag(int X, int Y);
    void RotateCameraEnd();
    void FieldOfViewBegin(int X, int Y);
    void FieldOfViewDrag(int X, int Y);
    void FieldOfViewEnd();
    // The camera flies on a 25 ms timer from the begin to the end; the drags steer it.
    void FlyBegin(int X, int Y);
    void FlyDrag(int X, int Y);
    void FlyEnd();
    bool IsFlying() const { return FlyTimer != nullptr; }

    // ---- Scroll bars ----
    // Both run from 0 to 20000 over the projected model extents; the thumb shows where the window
    // lies in them.
    TScrollStyle GetScrollBars() const override { return ScrollBars; }
    void SetScrollBars(TScrollStyle Value) { ScrollBars = Value; }
    // The view shows no bars of its own yet: the controllers keep their values and send nothing.
    bool HandleAllocated() const override { return false; }
    const TWindowScrollInfo* WindowScrollInfo(int) const override { return nullptr; }
    void SetWindowScrollInfo(int, const TWindowScrollInfo&, bool) override {}
    void SetWindowScrollPos(int, int) override {}
    TScrollBarController& GetHorzScrollBar() { return *HorzScrollBar; }
    TScrollBarController& GetVertScrollBar() { return *VertScrollBar; }
    void UpdateScrollBars();
    // A scroll of Bar (0 horizontal, 1 vertical) to Position: the first notification of a scroll
    // records the camera, the following ones move it.
    void DoScroll(int Bar, int Position);
    void DoEndScroll(int Bar, int Position);

    // ---- Printing and copying ----
    // A drawing target on Canvas that projects with the camera's matrices for a Width x Height
    // picture.
    std::unique_ptr<TOpenGLCanvasInterface> CreatePrintCanvas(ICanvas& Canvas, int Width, int Height);
    // One page with what OnRedraw draws, as vector graphics; nothing while the printer is busy. An
    // empty title becomes the program name + " - Viewport". The job is ended also when drawing fails.
    void Print(const std::string& Title, QPrinter& Printer);
    void Print(const std::string& Title = "");
    // Whether the model, as the view looks at it, is wider on the screen than it is high: the page
    // orientation that it fills.
    bool ModelIsWide();
    // The whole model on one page of Printer, as large as the page allows: the page turned the way the
    // model is longer, the view zoomed to the model for the print and put back afterwards. Asks
    // Confirm (the print dialog) once the page is turned; nothing is printed when it says no.
    void PrintFitted(const std::string& Title, QPrinter& Printer, const std::function<bool()>& Confirm);
    // Puts the view on the clipboard twice: as a vector picture (PDF) of twice the window's size and
    // as an image of the window's pixels.
    void CopyToClipboard();

    // ---- Interaction, cursor, editor, markers ----
    TInteractionMode GetInteractionMode() const override { return InteractionMode; }
    void SetInteractionMode(TInteractionMode Mode) override;
    TCursor GetCursor() const override { return Cursor; }
    void SetCursor(TCursor Value) override;
    void UpdateCursor() override;
    TPoint GetMousePosition() const override;
    IEditorInterface* GetEditorInterface() const { return Editor; }
    void SetEditorInterface(IEditorInterface* Value) override;
    void DoHintInformation(const std::string& Text) override;
    // The markers keep where they are and whether they show; their figures come with the markers'
    // drawing.
    void ShowSnapMarker(const TMVector& P, std::uint8_t Kind) override;
    void HideSnapMarker() override;
    void ShowEditMarker(const TMVector& P, const TEditPlane& Constraint) override;
    void HideEditMarker() override;
    bool IsSnapMarkerVisible() const { return SnapMarker->IsVisible(); }
    bool IsEditMarkerVisible() const { return EditMarker->IsVisible(); }

    // ---- Input ----
    // The handlers of the mouse, wheel and keys in the view's pixels (x right, y down). The Qt event
    // handlers translate and call them; an exception from an editor or an event handler passes
    // through these and is reported by the Qt handlers.
    TSelectPointEvent OnSelectPoint;
    TSelectRectEvent OnSelectRect;
    TDragRectEvent OnDragRect;
    TMouseLocationEvent OnMouseLocation;
    TVkHintWindowEvent OnSelectionHint;
    TViewMouseEvent OnMouseDown;
    TViewMouseEvent OnMouseUp;
    TViewMouseMoveEvent OnMouseMove;
    TViewKeyEvent OnKeyDown;
    TViewKeyEvent OnKeyUp;
    TViewKeyPressEvent OnKeyPress;
    TViewNotifyEvent OnMouseEnter;
    TViewNotifyEvent OnMouseLeave;
    // The context menu (not owned); with PopupAutoPopup off a right press leaves it to the editor.
    QMenu* PopupMenu = nullptr;
    bool PopupAutoPopup = true;

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    void MouseMove(TShiftState Shift, int X, int Y);
    // A positive delta zooms in, any other (or any while a rubber band shows) out. True: handled.
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
    void KeyDown(TKeyCode& Key, TShiftState Shift);
    void KeyUp(TKeyCode& Key, TShiftState Shift);
    void KeyPress(char32_t& Key);
    void DoMouseEnter();
    void DoMouseLeave();
    // The menu a right click opens: PopupMenu while the last right press allowed it and no rubber band
    // shows.
    QMenu* GetPopupMenu() const;
    void DoMouseLocation(int X, int Y);
    void DoSelectionHint(int X, int Y, std::string& Hint);
    // What the view does with a press, release and move in imNone and imUser while an editor is set.
    void EditorMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    void EditorMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    void EditorMouseMove(TShiftState Shift, int X, int Y);

    // A stippled rectangle from the press to the mouse, drawn with exclusive-or over the shown frame
    // so that drawing it again erases it exactly. The end returns it in pixels, normalised.
    void BeginRubberBand(int X, int Y, std::uint16_t Pattern);
    void MoveRubberBand(int X, int Y);
    TRect EndRubberBand();
    void DrawBandRectangle();
    void ZoomWindowBegin(int X, int Y);
    void ZoomWindowDrag(int X, int Y);
    void ZoomWindowEnd();
    // Only with OnDragRect assigned.
    void DragBoxBegin(int X, int Y);
    void DragBoxDrag(int X, int Y);
    void DragBoxEnd();

    // ---- Extents ----
    // Points with a coordinate of magnitude 1.7e308 / 4 or more are drawn but not measured.
    void AddExtentsPoint(double X, double Y, double Z);
    void AddExtentsRPoint(const TRPoint& P);
    // The extents grown by a box of measured points (nothing for an empty box).
    void AddExtentsBox(const TMBox& B);
    // Re-measures the model and collects the drawn vertices whose pixels lie in Rect.
    TWindowMeasure MeasureWindow(const TRect& Rect) override;
    int GetClientWidth() const override;
    int GetClientHeight() const override;
    bool IsMeasuring() const override { return (State & vfMeasuring) != 0; }

    // ---- IGraphics ----
    // The current OpenGL colour (the line colour before the context exists).
    TColor GetLineColor() override;
    TColor GetFillColor() override { return FillColor; }
    TColor GetBackColor() override { return BackColor; }
    // Stores the colour and makes it the current OpenGL colour.
    void SetLineColor(TColor C) override;
    void SetLineWidth(double Width) override;
    // The colour last given to SetLineColor.
    TColor GetStoredLineColor() const { return LineColor; }
    void SetFillColor(TColor C) override { FillColor = C; }
    void SetBackColor(TColor C) override { SetColor(C); }
    // The line operations refuse to run while a line strip is open, and the strip operations refuse
    // to break the LineStart, LineNext, LineFinish order.
    void Line(double X1, double Y1, double Z1, double X2, double Y2, double Z2) override;
    void Line2D(double X1, double Y1, double X2, double Y2) override;
    void LineStart(double X, double Y, double Z) override;
    void LineNext(double X, double Y, double Z) override;
    void LineFinish() override;
    // One open line strip, in the list's own line colour when it has one (which stays current).
    void Polyline(const TRPoints& Points) override;
    // Filled in its colour when the facet has its own, else outlined in its edge colour just above it.
    void Polygon(const TPolygon& F) override;
    // Adds the object's bounds to the extents and lets it draw lit.
    void RenderObject(IRenderable& Obj) override;
    // While the context is ready, except in a measuring pass.
    bool KeepsLines() override;
    // The lines of Key from display lists (and vertex buffers for long runs of lines) made on their
    // first draw (in the lines state, the current colour); their extents are kept with them. A full
    // frame lets go of the drawings it did not draw.
    void KeptLines(const TDrawingKey& Key, const std::function<void(IGraphics&)>& Draw) override;
    // How many line drawings the view keeps.
    int KeptLinesCount() const { return KeptLineLists.Count(); }
    // A 16-pixel glyph at the point by Kind: 0 ring, 1 square (both with an opaque inside), 2 cross,
    // 3 dot, 4 thick square, 5 thick ring, 6 thick cross, 7 triangle, 8 one OpenGL point, 10 a disc of
    // four quarters in the line and background colours; other kinds draw nothing.
    void EditHandle(int Kind, double X, double Y, double Z) override;
    void EditHandlePoint(const TRPoint& P, int Kind) override;
    void VectorPoints(const TRPoint& Base, const TRPoint& Direction, double Size, bool Absolute) override;
    void Vector(const TMVector& Base, const TMVector& Direction, double Size, bool Absolute) override;
    // Text at the point in the current colour: in tmBitmap mode the view's font in pixels from the
    // point's raster position, in the stroked modes the font's outlines one world unit an em high.
    // Characters are Latin-1; others show as "?".
    void TextOut(const std::string& Text, double X, double Y, double Z) override;
    double TextWidth(const std::string& Text) override;
    double TextHeight(const std::string& Text) override;
    TPoint WorldToScreen(double X, double Y, double Z) override;
    TPoint WorldToScreenVector(const TMVector& V) override;
    TPoint WorldToScreenPoint(const TRPoint& P) override;
    TMVector ScreenToWorld(int X, int Y) override;
    TMVector ScreenToWorldPoint(TPoint P) override;
    TMLine ScreenToRay(int X, int Y) override;
    TMLine ScreenToRayPoint(TPoint P) override;
    // The outline measures of one character code (stroked text modes).
    const TGlyphMetrics& GetGlyphMetrics(unsigned char Code);

    // ---- ICameraView: the camera's clock, fly timer and repaints ----
    std::uint32_t Milliseconds() override { return MillisecondClock(); }
    void StartTimer(std::uint32_t Interval, std::function<void()> Tick) override;
    void StopTimer() override;
    // The next paint renders the document afresh, also when a frame drawn outside it (an overlay) is
    // waiting to be shown: that frame may hold erased rubber lines and lack a new entity.
    void Invalidate() override;

    // ---- IRenderTarget: renderable objects draw through these ----
    void Begin(TRenderPrimitive Kind) override;
    void End() override;
    void Normal(const TMVector& N) override;
    void Color(double R, double G, double B) override;
    void Vertex(const TMVector& V) override;
    void EnableDepthTest() override;
    void BeginPixelOverlay() override;
    void EndPixelOverlay() override;
    void Bitmap(double X, double Y, const TBitmapRows& Rows) override;
    void Material(TColor Diffuse, TColor Specular, double Shininess) override;
    // False while measuring or without a context.
    bool WorldToWindow(const TMVector& P, TMVector& Window) override;

protected:
    void initializeGL() override;
    void resizeGL(int W, int H) override;
    void paintGL() override;
    void changeEvent(QEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    bool event(QEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseDoubleClickEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void wheelEvent(QWheelEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;
    void keyReleaseEvent(QKeyEvent* Event) override;
    void enterEvent(QEnterEvent* Event) override;
    void leaveEvent(QEvent* Event) override;
    void contextMenuEvent(QContextMenuEvent* Event) override;
    // Tab reaches the view's key handlers instead of moving the focus.
    bool focusNextPrevChild(bool Next) override;

private:
    void ApplySurfaceFormat();
    // Viewport to the client area, in OpenGL and in the camera.
    void SetViewportToClient();
    // The camera's Apply, and its matrices loaded into OpenGL.
    void ApplyCamera();
    void CacheFrame();
    // Leaves the view usable after an exception ended a render or a measuring pass.
    void AbandonDrawing();
    void ReportRenderFailure(const std::exception& E);
    void ReportError(const std::exception& E);
    void RefuseOpenLine(const char* Operation) const;
    void DrawLine(const TMVector& A, const TMVector& B);
    // While a kept list is compiled, single lines gather in PendingLines and go into the list as one
    // array draw: far cheaper to compile than a begin-end pair per line, and the same pixels; a long
    // run goes into a vertex buffer after the list, and a new list follows. Every other OpenGL call
    // of the view sends the gathered lines first, so that the order stays.
    void FlushPendingLines() {
        if (!PendingLines.empty()) DrawPendingLines();
    }
    void DrawPendingLines();
    void StandardView(const TMVector& Direction, const TMVector& Up);
    void DrawAxisTriad(double Length, double HeadStart, double HeadOff, bool DepthTested);
    // The begin of a navigation drag: saves the camera and marks the drag of Mode.
    void StartDrag(TInteractionMode Mode);
    // After each drag step and at each end.
    void DragStepDone();
    void FinishDrag();
    void ReleaseFontLists();
    // With Outlines, also every character's outline contours (em units, y up).
    void UpdateGlyphMetrics(std::vector<std::vector<std::vector<std::array<double, 3>>>>* Outlines);
    // The band's outline with exclusive-or in the band's stipple, in window coordinates.
    void DrawBandXor();
    // The mouse event's position in the view's pixels.
    TPoint EventPixel(const QPointF& Position) const;
    void HandleMousePress(QMouseEvent* Event, TShiftState Extra);
    // Runs an input handler for Qt's loop: an exception is reported, not passed on.
    void Guarded(const std::function<void()>& Handler);
    // Processes a paint that is waiting (a band must not freeze a stale frame).
    void PaintPending();
    bool EditorWantsKeys() const;

    std::unique_ptr<TCamera> Camera;
    std::unique_ptr<TCameraInfoStack> CameraStack;
    std::unique_ptr<TViewGrid> Grid;
    std::unique_ptr<TSnapState> SnapMarker;
    std::unique_ptr<TEditState> EditMarker;
    TScrollStyle ScrollBars = ssBoth;
    std::unique_ptr<TScrollBarController> VertScrollBar;
    std::unique_ptr<TScrollBarController> HorzScrollBar;
    std::unique_ptr<QTimer> FlyTimer;
    TInteractionMode DragMode = imNone;

    bool FontListsStale = true;
    bool GlyphMetricsStale = true;
    unsigned FontListBase = 0;
    std::array<TGlyphMetrics, 256> GlyphMetrics{};

    TPFDFlags PfdFlags = PfdFlag(TPFDFlag::Draw_To_Window) | PfdFlag(TPFDFlag::Support_OpenGL);
    TPFDPixelType PixelType = TPFDPixelType::RGBA;
    int ColorBits = 24;
    int DepthBits = 32;
    int StencilBits = 0;
    TEnables Enable = EnableFlag(TEnable::DepthTest) | EnableFlag(TEnable::CullFace);
    TTextMode TextMode = tmBitmap;
    TAxisIcon AxisIcon = aiModelOrigin;
    TColor BackColor = clBlack;
    TColor LineColor = clWhite;
    TColor FillColor = clWhite;
    TInteractionMode InteractionMode = imRotateWorld;
    TCursor Cursor = crDefault;
    IEditorInterface* Editor = nullptr;
    // The cursor to put back when a middle-button pan ends.
    TCursor SavedCursor = crDefault;
    TPoint DragStart;
    // In OpenGL window coordinates (y up); BandShown once it is on the frame.
    TRect BandRect;
    std::uint16_t BandPattern = 0;
    bool BandShown = false;

    TOpenGLViewFlags State = 0;
    std::uint8_t DrawState = dsLines;
    unsigned ClearMask = 0;
    bool LineOpen = false;
    bool Drawn = false;
    std::uint32_t LastFullDrawTime = 0;
    TMBox ModelExtents = EmptyBox;
    TMVector ModelCentre;
    TWindowMeasure WindowMeasure;

    std::unique_ptr<QOpenGLFramebufferObject> CachedFrame;
    TGLKeptLines KeptLineLists;
    // Lines are being compiled into a kept list.
    bool KeepingLines = false;
    // x, y, z of each end of the lines gathered while compiling (see FlushPendingLines).
    std::vector<float> PendingLines;
    // The parts of the kept drawing being compiled; the last one's list is open.
    std::vector<TGLKeptLines::TPart> KeptParts;
    bool InPaintGL = false;
    // A frame rendered outside paintGL waits in the frame buffer; the next paint only shows it.
    bool FramePresented = false;
    // Invalidate asked for a render that has not happened yet; an overlay's frame does not stand in.
    bool RenderPending = false;
    // A failed render was reported; the next failures stay quiet until a render succeeds.
    bool RenderFailed = false;
};

}  // namespace sarnova
