#include "views/OpenGLView.h"

#include <QCursor>
#include <QEvent>
#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <QOpenGLFramebufferObject>
#include <QSurfaceFormat>
#include <QTimer>

#include <GL/gl.h>
#include <GL/glu.h>

#include <chrono>
#include <cmath>

#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/Errors.h"
#include "foundation/Geom.h"
#include "foundation/GeomFacet.h"
#include "platform/qt/QtKeys.h"
#include "platform/qt/OpenGLHelpers.h"
#include "views/OpenGLViewGlyphs.h"

namespace sarnova {

namespace {

constexpr double MeasureLimit = 1.7e308 / 4;
const TMBox DefaultExtents{{10, 10, 10}, {-10, -10, -10}};

std::uint32_t SteadyMilliseconds() {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::string AlreadyDrawingLine(const char* Operation) {
    return std::string("OpenGLView.") + Operation + " - Already Drawing Line (LineStart, LineNext, LineEnd)";
}

}  // namespace

TOpenGLView::TOpenGLView(QWidget* Parent) : QOpenGLWidget(Parent) {
    Camera = std::make_unique<TCamera>(*this);
    CameraStack = std::make_unique<TCameraInfoStack>();
    Grid = std::make_unique<TViewGrid>(Camera.get());
    SnapMarker = std::make_unique<TSnapState>(*this);
    EditMarker = std::make_unique<TEditState>(*this);
    VertScrollBar = std::make_unique<TScrollBarController>(this, 1);
    HorzScrollBar = std::make_unique<TScrollBarController>(this, 0);
    for (TScrollBarController* Bar : {HorzScrollBar.get(), VertScrollBar.get()}) {
        Bar->SetMin(0);
        Bar->SetMax(20000);
    }
    MillisecondClock = SteadyMilliseconds;
    // The frame stays in the frame buffer between paints: overlays are drawn onto it.
    setUpdateBehavior(QOpenGLWidget::PartialUpdate);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Editors may want every move, also without a button held, and the keys.
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    ApplySurfaceFormat();
    resize(120, 120);
    InitEmptyBox(ModelExtents);
    SetLineColor(clWhite);
}

TOpenGLView::~TOpenGLView() {
    FlyTimer.reset();
    // The widget's own destructor destroys the context; by then this part of the view is gone.
    if (context()) disconnect(context(), nullptr, this, nullptr);
    if (isValid()) {
        makeCurrent();
        DestroyContext();
        doneCurrent();
    }
}

// ---- Properties ----

void TOpenGLView::ApplySurfaceFormat() {
    QSurfaceFormat F;
    F.setRenderableType(QSurfaceFormat::OpenGL);
    F.setProfile(QSurfaceFormat::CompatibilityProfile);
    const int Channel = (ColorBits & 0xFF) / 3;
    F.setRedBufferSize(Channel);
    F.setGreenBufferSize(Channel);
    F.setBlueBufferSize(Channel);
    F.setDepthBufferSize(DepthBits & 0xFF);
    F.setStencilBufferSize(StencilBits);
    F.setSwapBehavior((PfdFlags & PfdFlag(TPFDFlag::DoubleBuffer)) ? QSurfaceFormat::DoubleBuffer
                                                                   : QSurfaceFormat::SingleBuffer);
    F.setStereo((PfdFlags & PfdFlag(TPFDFlag::Stereo)) != 0);
    setFormat(F);
}

void TOpenGLView::SetPfdFlags(TPFDFlags Value) {
    PfdFlags = Value;
    if (!isValid()) ApplySurfaceFormat();
}

void TOpenGLView::SetColorBits(int Value) {
    ColorBits = Value;
    if (!isValid()) ApplySurfaceFormat();
}

void TOpenGLView::SetDepthBits(int Value) {
    DepthBits = Value;
    if (!isValid()) ApplySurfaceFormat();
}

void TOpenGLView::SetStencilBits(int Value) {
    StencilBits = Value;
    if (!isValid()) ApplySurfaceFormat();
}

void TOpenGLView::SetAxisIcon(TAxisIcon Value) {
    if (Value == AxisIcon) return;
    AxisIcon = Value;
    Invalidate();
}

void TOpenGLView::SetColor(TColor Value) {
    BackColor = Value;
    Invalidate();
}

void TOpenGLView::Invalidate() {
    RenderPending = true;
    update();
}

void TOpenGLView::SetProjection(TCameraMode Mode) {
    if (Mode == Camera->GetMode()) return;
    SaveCameraState();
    Camera->SetMode(Mode);
    Render();
}

void TOpenGLView::SetStateFlag(TOpenGLViewFlag Flag, bool On) {
    if (On)
        State |= Flag;
    else
        State &= ~Flag;
}

void TOpenGLView::SetGrid(const TViewGrid& Value) {
    Grid->Assign(Value);
    Invalidate();
}

int TOpenGLView::GetClientWidth() const { return qRound(width() * devicePixelRatioF()); }

int TOpenGLView::GetClientHeight() const { return qRound(height() * devicePixelRatioF()); }

// ---- Qt's side of the context ----

void TOpenGLView::initializeGL() {
    // The widget loses its context when it moves to another window; it gets a new one afterwards.
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, [this] {
        makeCurrent();
        DestroyContext();
        doneCurrent();
    });
    if (isEnabled()) CreateContext();
}

void TOpenGLView::resizeGL(int, int) {
    FramePresented = false;
    UpdateViewport();
}

void TOpenGLView::resizeEvent(QResizeEvent* Event) {
    QOpenGLWidget::resizeEvent(Event);
    Camera->SetViewport({0, 0, GetClientWidth(), GetClientHeight()});
}

void TOpenGLView::paintGL() {
    InPaintGL = true;
    struct TReset {
        bool& Flag;
        ~TReset() { Flag = false; }
    } Reset{InPaintGL};
    if (!(State & vfContextReady)) {
        const auto C = ColorToGLColor(BackColor, 1);
        glClearColor(C[0], C[1], C[2], 1);
        glClear(GL_COLOR_BUFFER_BIT);
        return;
    }
    // A rubber band draws over the frame it finds; a frame just rendered is shown as it is, unless the
    // document changed since.
    if (State & vfRubberBand) return;
    if (FramePresented && !RenderPending) {
        FramePresented = false;
        return;
    }
    FramePresented = false;
    Render();
}

void TOpenGLView::changeEvent(QEvent* Event) {
    QOpenGLWidget::changeEvent(Event);
    if (Event->type() == QEvent::FontChange) {
        FontListsStale = true;
        GlyphMetricsStale = true;
    }
    if (Event->type() != QEvent::EnabledChange || !isValid()) return;
    try {
        if (isEnabled()) {
            if (State & vfContextReady) return;
            makeCurrent();
            CreateContext();
            ZoomAll();
        } else {
            if (!(State & vfContextReady)) return;
            makeCurrent();
            DestroyContext();
        }
        FramePresented = false;
        update();
    } catch (const std::exception& E) {
        ReportError(E);
    }
}

// ---- Rendering context ----

void TOpenGLView::CreateContext() {
    if (State & vfContextReady) return;
    ClearMask = GL_COLOR_BUFFER_BIT;
    if (Enable & EnableFlag(TEnable::DepthTest)) {
        glEnable(GL_DEPTH_TEST);
        ClearMask |= GL_DEPTH_BUFFER_BIT;
    }
    if (Enable & EnableFlag(TEnable::CullFace)) glEnable(GL_CULL_FACE);
    if (Enable & EnableFlag(TEnable::Lighting)) glEnable(GL_LIGHTING);
    State |= vfContextReady;
    DrawState = dsLit;
    SetDrawState(dsLines);
    SetGLColor(LineColor);
}

void TOpenGLView::DestroyContext() {
    if (!(State & vfContextReady)) return;
    CachedFrame.reset();
    ReleaseFontLists();
    if (QOpenGLContext::currentContext() == context())
        KeptLineLists.Release();
    else
        KeptLineLists.Abandon();
    State &= ~vfContextReady;
}

void TOpenGLView::MakeCurrent() {
    if ((State & vfContextReady) && QOpenGLContext::currentContext() != context()) makeCurrent();
    FlushPendingLines();
}

void TOpenGLView::SetViewportToClient() {
    glViewport(0, 0, GetClientWidth(), GetClientHeight());
    Camera->SetViewport({0, 0, GetClientWidth(), GetClientHeight()});
}

void TOpenGLView::UpdateViewport() {
    if (!(State & vfContextReady)) return;
    MakeCurrent();
    SetViewportToClient();
    CheckGLError();
}

void TOpenGLView::RecoverContext() {
    if (glGetError() == GL_NO_ERROR) return;
    // Every flag that is set reads back once; a context without a pending error reads none.
    for (int I = 0; I < 32 && glGetError() != GL_NO_ERROR; ++I) {
    }
    DestroyContext();
    CreateContext();
    UpdateViewport();
}

void TOpenGLView::CheckGLError() {
    // Inside an open strip OpenGL refuses the query itself (and records that as an error).
    if (LineOpen && !(State & vfMeasuring)) return;
    FlushPendingLines();
    if ((State & vfContextReady) && QOpenGLContext::currentContext() == context()) CheckCurrentGLError();
}

void TOpenGLView::SetDrawState(std::uint8_t Value) {
    FlushPendingLines();
    if ((State & vfOverlay) || Value == DrawState) return;
    DrawState = Value;
    auto Switch = [](GLenum Cap, bool On) { On ? glEnable(Cap) : glDisable(Cap); };
    switch (Value) {
        case dsLines:
            Switch(GL_LIGHTING, false);
            Switch(GL_CULL_FACE, false);
            Switch(GL_DEPTH_TEST, true);
            break;
        case dsLit:
            Switch(GL_LIGHTING, true);
            Switch(GL_CULL_FACE, false);
            Switch(GL_DEPTH_TEST, true);
            break;
        case dsBitmaps:
        case dsOverlay:
            Switch(GL_LIGHTING, false);
            Switch(GL_CULL_FACE, true);
            Switch(GL_DEPTH_TEST, false);
            break;
        default:
            break;
    }
}

// ---- Rendering ----

void TOpenGLView::ApplyCamera() {
    Camera->Apply();
    LoadGLProjectionMatrix(Camera->GetProjectionMatrix());
    LoadGLModelViewMatrix(Camera->GetModelViewMatrix());
}

void TOpenGLView::Render() {
    if (!(State & vfContextReady) || (State & vfRendering)) return;
    State |= vfRendering;
    RenderPending = false;
    try {
        MakeCurrent();
        RecoverContext();
        SetViewportToClient();
        CheckGLError();
        ClearBuffers();
        CheckGLError();
        ApplyCamera();
        CheckGLError();
        if (DefaultLighting) {
            SetupLights();
            CheckGLError();
        }
        glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);

        const bool Interacting = (State & vfDragging) &&
                                 ((InteractionMode >= imPan && InteractionMode <= imFly) || (State & vfMiddlePan));
        auto FullDraw = [this] {
            DrawGrid();
            const std::uint32_t Start = MillisecondClock();
            DoRedraw();
            LastFullDrawTime = MillisecondClock() - Start;
            KeptLineLists.EndFrame();
        };
        if (!Interacting) {
            FullDraw();
        } else {
            switch (AdaptiveDegration) {
                case adWhenRequired:
                    if (LastFullDrawTime < AdaptiveDegrationThreshold)
                        FullDraw();
                    else
                        DrawPreview();
                    break;
                case adNever:
                    DrawGrid();
                    DoRedraw();
                    KeptLineLists.EndFrame();
                    break;
                case adAlways: DrawPreview(); break;
                default: break;
            }
        }
        // A rubber band shown before the render is in the new frame too, so that drawing it again
        // with XOR still takes it away.
        if ((State & vfRubberBand) && BandShown) DrawBandXor();
        ShowEditorFeedback();
        Present();
        State &= ~vfRendering;
        CheckGLError();
        RenderFailed = false;
    } catch (const std::exception& E) {
        AbandonDrawing();
        ReportRenderFailure(E);
    }
}

void TOpenGLView::AbandonDrawing() {
    if (LineOpen && !(State & vfMeasuring)) glEnd();
    LineOpen = false;
    State &= ~(vfRendering | vfMeasuring | vfWindowMeasure);
    // Whatever the failed drawing switched, the next state change applies all switches again.
    DrawState = 0xFF;
    if (!InPaintGL) {
        FramePresented = true;
        update();
    }
}

void TOpenGLView::ReportRenderFailure(const std::exception& E) {
    // A document that fails to draw fails at every paint; one report is enough until it draws again.
    if (RenderFailed) return;
    RenderFailed = true;
    ReportError(E);
}

void TOpenGLView::ReportError(const std::exception& E) {
    if (GExceptionHandler)
        GExceptionHandler->HandleException(E);
    else if (GConsole)
        GConsole->WriteLine(E.what());
}

void TOpenGLView::ClearBuffers() {
    if (!(State & vfRendering)) return;
    // Every frame starts from the same state, whatever a renderer of the last one left switched: a
    // depth mask left off would keep the depth buffer from clearing and hide the whole model behind
    // the last frame's depths, leaving only the grid on the screen.
    glDepthMask(GL_TRUE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_1D);
    glDisable(GL_TEXTURE_2D);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glDepthFunc(GL_LESS);
    DrawState = 0xFF;
    const auto C = ColorToGLColor(BackColor, 1);
    glClearColor(C[0], C[1], C[2], 1);
    CheckGLError();
    glClear(ClearMask);
    CheckGLError();
    glDisable(GL_COLOR_LOGIC_OP);
    CheckGLError();
}

void TOpenGLView::SetupLights() {
    const TGLMatrixSaver Keep(GL_MODELVIEW);
    glLoadIdentity();
    const TMVector L0 = VectorNormalise({0.5, -0.5, 1.0});
    const TMVector L1 = VectorNormalise({-1.0, 0.5, 1.0});
    SetGLLight(GL_LIGHT0, clWhite, L0.X, L0.Y, L0.Z);
    SetGLLight(GL_LIGHT1, clWhite, L1.X, L1.Y, L1.Z);
}

void TOpenGLView::DoRedraw() {
    if (OnRedraw) OnRedraw(this, *this);
}

void TOpenGLView::DrawPreview() {
    CheckGLError();
    if (OnPreviewRedraw) {
        OnPreviewRedraw(this, *this);
        return;
    }
    const TMBox B = ModelExtents;
    auto Corner = [&](int I) {
        return TMVector{(I & 1) ? B.Max.X : B.Min.X, (I & 2) ? B.Max.Y : B.Min.Y, (I & 4) ? B.Max.Z : B.Min.Z};
    };
    // Corners that differ in one coordinate bit share an edge.
    for (int I = 0; I < 8; ++I)
        for (int Bit = 1; Bit < 8; Bit <<= 1)
            if (!(I & Bit)) LineVectors(Corner(I), Corner(I | Bit));
}

void TOpenGLView::ShowEditorFeedback() {
    if (!Editor) return;
    const bool Opened = !(State & (vfOverlay | vfRendering));
    BeginOverlayDraw();
    Editor->ShowFeedback();
    if (Opened) EndOverlayDraw();
}

void TOpenGLView::Present() {
    if (!(State & vfContextReady)) return;
    MakeCurrent();
    if (!(State & vfRubberBand)) {
        SnapMarker->Draw();
        CheckGLError();
        EditMarker->Draw();
        CheckGLError();
        DrawAxisIcon();
        CheckGLError();
        ApplyCamera();
        CheckGLError();
    }
    glFlush();
    if ((State & vfRendering) && CopyBackBuffer && (PfdFlags & PfdFlag(TPFDFlag::DoubleBuffer))) CacheFrame();
    CheckGLError();
    if (!InPaintGL) {
        FramePresented = true;
        update();
    }
}

void TOpenGLView::CacheFrame() {
    QOpenGLExtraFunctions* F = context()->extraFunctions();
    const QSize Size(GetClientWidth(), GetClientHeight());
    if (Size.isEmpty()) return;
    if (!CachedFrame || CachedFrame->size() != Size) CachedFrame = std::make_unique<QOpenGLFramebufferObject>(Size);
    F->glBindFramebuffer(GL_READ_FRAMEBUFFER, defaultFramebufferObject());
    F->glBindFramebuffer(GL_DRAW_FRAMEBUFFER, CachedFrame->handle());
    F->glBlitFramebuffer(0, 0, Size.width(), Size.height(), 0, 0, Size.width(), Size.height(), GL_COLOR_BUFFER_BIT,
                         GL_NEAREST);
    F->glBindFramebuffer(GL_FRAMEBUFFER, defaultFramebufferObject());
}

bool TOpenGLView::RestoreCachedFrame() {
    if (!(State & vfContextReady) || !CachedFrame) return false;
    const QSize Size(GetClientWidth(), GetClientHeight());
    if (CachedFrame->size() != Size) return false;
    MakeCurrent();
    QOpenGLExtraFunctions* F = context()->extraFunctions();
    F->glBindFramebuffer(GL_READ_FRAMEBUFFER, CachedFrame->handle());
    F->glBindFramebuffer(GL_DRAW_FRAMEBUFFER, defaultFramebufferObject());
    F->glBlitFramebuffer(0, 0, Size.width(), Size.height(), 0, 0, Size.width(), Size.height(), GL_COLOR_BUFFER_BIT,
                         GL_NEAREST);
    F->glBindFramebuffer(GL_FRAMEBUFFER, defaultFramebufferObject());
    Drawn = true;
    return true;
}

void TOpenGLView::MeasureExtents() {
    CheckGLError();
    InitEmptyBox(ModelExtents);
    State |= vfMeasuring;
    try {
        if (!OnPreviewRedraw && OnRedraw)
            DoRedraw();
        else if (OnPreviewRedraw)
            DrawPreview();
    } catch (...) {
        // Nothing reached OpenGL; a strip the owner left open would refuse every later line.
        LineOpen = false;
        State &= ~vfMeasuring;
        throw;
    }
    State &= ~vfMeasuring;
    if (!BoxHasArea(ModelExtents)) ModelExtents = DefaultExtents;
    ModelCentre = BoxCentre(ModelExtents);
}

TMBox TOpenGLView::GetExtents() const {
    const TMBox& B = ModelExtents;
    if (B.Min.X < B.Max.X || B.Min.Y < B.Max.Y || B.Min.Z < B.Max.Z) return B;
    return DefaultExtents;
}

// ---- Overlay drawing ----

void TOpenGLView::BeginOverlayDraw() {
    if (State & (vfOverlay | vfRendering)) return;
    // Current first: the switches belong to this view's context.
    MakeCurrent();
    SetDrawState(dsOverlay);
    State |= vfOverlay;
    Drawn = false;
}

void TOpenGLView::EndOverlayDraw() {
    if (!(State & vfOverlay)) return;
    MakeCurrent();
    PresentIfDrawn();
    State &= ~vfOverlay;
    SetDrawState(dsLines);
}

void TOpenGLView::PresentIfDrawn() {
    if (Drawn) Present();
}

void TOpenGLView::DrawGrid() {
    Drawn = true;
    if (!Grid->GetEnabled()) return;
    SetDrawState(dsLines);
    const TColor Kept = LineColor;
    // The grid lies under the model: it writes no depth, so a shaded surface in front of or through
    // the grid plane covers it.
    glDepthMask(GL_FALSE);
    try {
        Grid->Draw(*this);
    } catch (...) {
        glDepthMask(GL_TRUE);
        throw;
    }
    glDepthMask(GL_TRUE);
    SetLineColor(Kept);
}

// ---- Camera operations ----

void TOpenGLView::SaveCameraState() {
    if (State & vfContextReady) CameraStack->Push(Camera->SaveState());
}

void TOpenGLView::RestoreCameraState() {
    auto Info = CameraStack->Pop();
    if (!Info) return;
    Camera->Restore(*Info);
    Render();
    UpdateScrollBars();
    UpdateCursor();
}

void TOpenGLView::ZoomPrevious() {
    if (State & vfContextReady) RestoreCameraState();
}

void TOpenGLView::ZoomIn() {
    if (State & vfDragging) return;
    SaveCameraState();
    Camera->ZoomIn();
    Render();
    UpdateScrollBars();
}

void TOpenGLView::ZoomOut() {
    if (State & vfDragging) return;
    SaveCameraState();
    Camera->ZoomOut();
    Render();
    UpdateScrollBars();
}

void TOpenGLView::ZoomAll() {
    if (State & vfDragging) return;
    SaveCameraState();
    FitAll();
}

void TOpenGLView::FitAll() {
    if (!(State & vfContextReady)) return;
    MakeCurrent();
    RecoverContext();
    MeasureExtents();
    Camera->FitToBox(ModelExtents);
    Render();
}

void TOpenGLView::StandardView(const TMVector& Direction, const TMVector& Up) {
    if (!(State & vfContextReady)) return;
    SaveCameraState();
    Camera->SetViewDirection(Direction);
    Camera->SetUp(Up);
    FitAll();
    UpdateCursor();
}

void TOpenGLView::ViewXY() { StandardView({0, 0, -1}, {0, 1, 0}); }

void TOpenGLView::ViewYZ() { StandardView({-1, 0, 0}, {0, 0, 1}); }

void TOpenGLView::ViewZX() { StandardView({0, 1, 0}, {0, 0, 1}); }

void TOpenGLView::ViewForeEnd() { StandardView({-0.866, -0.5, 0.1736}, {0, 0, 1}); }

void TOpenGLView::ViewAftEnd() { StandardView({0.866, -0.5, 0.1736}, {0, 0, 1}); }

void TOpenGLView::ZoomWindow(const TRect& Rect) {
    if (std::abs(Rect.Right - Rect.Left) <= 5 && std::abs(Rect.Bottom - Rect.Top) <= 5) return;
    SaveCameraState();
    Camera->ZoomWindow(Rect);
    Render();
}

void TOpenGLView::ZoomToBox(const TMBox& Box) {
    if (!BoxHasArea(Box)) return;
    SaveCameraState();
    Camera->FitToBox(Box);
    Render();
}

// ---- Interaction, cursor, editor, markers ----

void TOpenGLView::SetInteractionMode(TInteractionMode Mode) {
    if (Mode == imRotate) throw EError("TOpenGLView.InteractionMode - imRotate no longer supported");
    if (State & vfDragging) return;
    InteractionMode = Mode;
    UpdateCursor();
    const std::string Hint = InteractionModeHint(Mode, Camera->GetMode());
    if (!Hint.empty()) DoHintInformation(Hint);
}

void TOpenGLView::SetCursor(TCursor Value) {
    Cursor = Value;
    setCursor(QCursor(QtCursorShape(Value)));
}

void TOpenGLView::UpdateCursor() {
    switch (InteractionMode) {
        case imNone:
        case imUser:
            SetCursor(crArrow);
            if (Editor) Editor->UpdateCursor();
            break;
        case imPan: SetCursor(12); break;
        case imZoom: SetCursor(11); break;
        case imRotate:
        case imRotateWorld:
        case imRotateView:
        case imRotateCamera: SetCursor(13); break;
        case imZoomWindow: SetCursor(16); break;
        case imDragBox: SetCursor(crCross); break;
        default: break;
    }
}

TPoint TOpenGLView::GetMousePosition() const {
    const QPoint P = mapFromGlobal(QCursor::pos());
    return {P.x(), P.y()};
}

void TOpenGLView::SetEditorInterface(IEditorInterface* Value) {
    if (Value == Editor) return;
    // The previous editor is replaced whatever it answers.
    if (Editor) Editor->Detach(*this);
    Editor = Value;
    if (Editor)
        Editor->Attach(*this);
    else if (InteractionMode == imUser)
        DoHintInformation(InteractionModeHint(imUser, Camera->GetMode()));
    else
        DoHintInformation("Left Click to manipulate, Middle Click to Pan, MouseWheel Up/Down to Zoom In/Out");
    UpdateCursor();
}

void TOpenGLView::DoHintInformation(const std::string& Text) {
    if (OnHintInformation) OnHintInformation(this, Text);
}

void TOpenGLView::ShowSnapMarker(const TMVector& P, std::uint8_t Kind) {
    SnapMarker->SetPosition(P);
    SnapMarker->SetKind(Kind);
    SnapMarker->SetVisible(true);
}

void TOpenGLView::HideSnapMarker() { SnapMarker->SetVisible(false); }

void TOpenGLView::ShowEditMarker(const TMVector& P, const TEditPlane& Constraint) {
    EditMarker->SetDirection(Constraint.Direction);
    EditMarker->SetPlane(Constraint.Plane);
    EditMarker->SetPosition(P);
    EditMarker->SetKind(Constraint.Kind);
    // The plane came last: a direction of its own turns the figure back onto the direction.
    if (Constraint.Kind == epAlongVector) EditMarker->SetDirection(Constraint.Direction);
    EditMarker->SetVisible(true);
}

void TOpenGLView::HideEditMarker() { EditMarker->SetVisible(false); }

// ---- Extents ----

void TOpenGLView::AddExtentsPoint(double X, double Y, double Z) {
    if (!(std::fabs(X) < MeasureLimit && std::fabs(Y) < MeasureLimit && std::fabs(Z) < MeasureLimit)) return;
    ExtendBoxXYZ(ModelExtents, X, Y, Z);
    if (!(State & vfWindowMeasure)) return;
    const TPoint P = Camera->WorldToScreen(X, Y, Z);
    const TRect& R = WindowMeasure.Rect;
    if (P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom) {
        ExtendBoxXYZ(WindowMeasure.Extents, X, Y, Z);
        WindowMeasure.Sum = VectorAdd(WindowMeasure.Sum, {X, Y, Z});
        ++WindowMeasure.Count;
    }
}

void TOpenGLView::AddExtentsRPoint(const TRPoint& P) { AddExtentsPoint(P.X, P.Y, P.Z); }

TWindowMeasure TOpenGLView::MeasureWindow(const TRect& Rect) {
    WindowMeasure = TWindowMeasure{};
    WindowMeasure.Rect = Rect;
    State |= vfWindowMeasure;
    try {
        MeasureExtents();
    } catch (...) {
        State &= ~vfWindowMeasure;
        throw;
    }
    State &= ~vfWindowMeasure;
    if (WindowMeasure.Count > 0) WindowMeasure.Mean = VectorScale(WindowMeasure.Sum, 1.0 / WindowMeasure.Count);
    return WindowMeasure;
}

// ---- IGraphics ----

TColor TOpenGLView::GetLineColor() {
    if (!(State & vfContextReady) || QOpenGLContext::currentContext() != context()) return LineColor;
    GLfloat C[4];
    glGetFloatv(GL_CURRENT_COLOR, C);
    return RGBColor(TruncSingle(C[0] * 255.0), TruncSingle(C[1] * 255.0), TruncSingle(C[2] * 255.0));
}

void TOpenGLView::SetLineColor(TColor C) {
    CheckGLError();
    LineColor = C;
    if (State & vfContextReady) {
        MakeCurrent();
        SetGLColor(C);
    }
}

void TOpenGLView::SetLineWidth(double Width) {
    if (!(State & vfContextReady)) return;
    MakeCurrent();
    glLineWidth(static_cast<GLfloat>(DrawableLineWidth(Width)));
}

void TOpenGLView::RefuseOpenLine(const char* Operation) const {
    if (LineOpen) throw EError(AlreadyDrawingLine(Operation));
}

void TOpenGLView::DrawLine(const TMVector& A, const TMVector& B) {
    AddExtentsPoint(A.X, A.Y, A.Z);
    AddExtentsPoint(B.X, B.Y, B.Z);
    if (State & vfMeasuring) return;
    Drawn = true;
    if (KeepingLines) {
        // The lines state holds until the next switch, which sends the gathered lines first.
        if (PendingLines.empty()) SetDrawState(dsLines);
        // OpenGL keeps vertices as floats: converted here, they are the same.
        PendingLines.insert(PendingLines.end(), {float(A.X), float(A.Y), float(A.Z), float(B.X), float(B.Y), float(B.Z)});
        // A bounded buffer: the list takes the lines in pieces.
        if (PendingLines.size() >= 6 * 32768) DrawPendingLines();
        return;
    }
    SetDrawState(dsLines);
    glBegin(GL_LINES);
    GLVertexVector(A);
    GLVertexVector(B);
    glEnd();
}

void TOpenGLView::DrawPendingLines() {
    // A long run is copied into a buffer drawn between the list compiled so far and a new one,
    // where compiling it would cost per vertex. Buffers and list names are made at once, not
    // compiled.
    constexpr std::size_t BufferedRun = 3 * 2 * 1024;
    if (KeepingLines && PendingLines.size() >= BufferedRun && !KeptParts.empty()) {
        const GLuint Next = glGenLists(1);
        const GLuint Buffer = Next != 0 ? TGLKeptLines::LineBuffer(PendingLines.data(), PendingLines.size()) : 0;
        if (Buffer != 0) {
            glEndList();
            KeptParts.back().Buffer = Buffer;
            KeptParts.back().Vertices = static_cast<int>(PendingLines.size() / 3);
            KeptParts.push_back({Next});
            glNewList(Next, GL_COMPILE);
            PendingLines.clear();
            return;
        }
        if (Next != 0) glDeleteLists(Next, 1);
    }
    // Client state is not compiled into a list: the array is read when the draw is compiled.
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, PendingLines.data());
    glDrawArrays(GL_LINES, 0, static_cast<GLsizei>(PendingLines.size() / 3));
    glPopClientAttrib();
    PendingLines.clear();
}

void TOpenGLView::Line(double X1, double Y1, double Z1, double X2, double Y2, double Z2) {
    RefuseOpenLine("Line");
    DrawLine({X1, Y1, Z1}, {X2, Y2, Z2});
}

void TOpenGLView::Line2D(double X1, double Y1, double X2, double Y2) { Line(X1, Y1, 0, X2, Y2, 0); }

void TOpenGLView::LineStart(double X, double Y, double Z) {
    if (LineOpen) throw EError("OpenGLView.LineStart - Line already started");
    CheckGLError();
    AddExtentsPoint(X, Y, Z);
    if (!(State & vfMeasuring)) {
        Drawn = true;
        SetDrawState(dsLines);
        glBegin(GL_LINE_STRIP);
        glVertex3d(X, Y, Z);
    }
    LineOpen = true;
}

void TOpenGLView::LineNext(double X, double Y, double Z) {
    if (!LineOpen) throw EError("OpenGLView.LineNext - LineStart must be called to begin a line");
    AddExtentsPoint(X, Y, Z);
    if (!(State & vfMeasuring)) glVertex3d(X, Y, Z);
}

void TOpenGLView::LineFinish() {
    if (!LineOpen) throw EError("OpenGLView.LineFinish - LineStart must be called to begin a line");
    if (!(State & vfMeasuring)) glEnd();
    LineOpen = false;
    CheckGLError();
}

void TOpenGLView::Polyline(const TRPoints& Points) {
    RefuseOpenLine("Polyline");
    if (State & vfMeasuring) {
        for (int I = 0; I < Points.Count(); ++I) AddExtentsRPoint(*Points.Point(I));
        return;
    }
    Drawn = true;
    SetDrawState(dsLines);
    if (Points.OwnColors) SetGLColor(Points.LineColor);
    glBegin(GL_LINE_STRIP);
    for (int I = 0; I < Points.Count(); ++I) {
        const TRPoint& P = *Points.Point(I);
        glVertex3d(P.X, P.Y, P.Z);
        AddExtentsRPoint(P);
    }
    glEnd();
}

void TOpenGLView::Polygon(const TPolygon& F) {
    RefuseOpenLine("Polygon");
    Drawn = true;
    const int Corners = F.CornerCount();
    for (int I = 0; I < Corners; ++I) AddExtentsRPoint(F.Corner(I)->AsPoint());
    if (State & vfMeasuring) return;
    SetDrawState(dsLines);
    if (F.OwnColor) {
        SetGLColor(F.Color);
        glBegin(GL_TRIANGLES);
        const int Order[6] = {0, 1, 2, 0, 2, 3};
        for (int K = 0; K < (Corners == 4 ? 6 : 3) && Corners >= 3; ++K) {
            const auto& P = *F.Corner(Order[K]);
            glVertex3d(P.X, P.Y, P.Z);
        }
        glEnd();
    } else {
        // Just off the face, so that the outline shows over a filled face at the same place.
        SetGLColor(F.EdgeColor);
        glBegin(GL_LINE_LOOP);
        for (int I = 0; I < Corners; ++I) {
            const auto& P = *F.Corner(I);
            glVertex3d(P.X + DefaultTolerance, P.Y + DefaultTolerance, P.Z + DefaultTolerance);
        }
        glEnd();
    }
}

void TOpenGLView::RenderObject(IRenderable& Obj) {
    ModelExtents = UniteBoxes(ModelExtents, Obj.GetBounds());
    if (State & vfMeasuring) return;
    SetDrawState(dsLit);
    if (Enable & EnableFlag(TEnable::Lighting)) glEnable(GL_LIGHTING);
    Obj.Render(*this);
}

void TOpenGLView::EditHandle(int Kind, double X, double Y, double Z) {
    RefuseOpenLine("EditHandle");
    AddExtentsPoint(X, Y, Z);
    if (State & vfMeasuring) return;
    Drawn = true;
    FlushPendingLines();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const TMVector P{X, Y, Z};
    // A glyph's colour is the current colour when its raster position is set.
    auto Glyph = [&](TViewGlyph G, TColor Colour) {
        SetGLColor(Colour);
        DrawGLGlyphCentred(P, G);
    };
    switch (Kind) {
        case 0:
        case 1:
            // An opaque inside under the outline.
            SetDrawState(dsBitmaps);
            Glyph(Kind == 0 ? vgDisc : vgSquare, BackColor);
            Glyph(Kind == 0 ? vgRing : vgHollowSquare, LineColor);
            break;
        case 2:
            SetDrawState(dsBitmaps);
            Glyph(vgCross, LineColor);
            break;
        case 3:
            SetDrawState(dsBitmaps);
            SetGLColor(LineColor);
            DrawGLGlyphAt(P, vgDot, 2, 2);
            break;
        case 4:
        case 5:
        case 6:
        case 7: {
            const TViewGlyph Thick[4] = {vgThickSquare, vgThickRing, vgThickCross, vgTriangle};
            SetDrawState(dsBitmaps);
            Glyph(Thick[Kind - 4], LineColor);
            break;
        }
        case 8:
            SetDrawState(dsLines);
            glBegin(GL_POINTS);
            glVertex3d(X, Y, Z);
            glEnd();
            break;
        case 10:
            SetDrawState(dsBitmaps);
            Glyph(vgHalfDisc, LineColor);
            Glyph(vgOtherHalfDisc, BackColor);
            SetGLColor(LineColor);
            break;
        default: break;
    }
}

void TOpenGLView::EditHandlePoint(const TRPoint& P, int Kind) { EditHandle(Kind, P.X, P.Y, P.Z); }

void TOpenGLView::VectorPoints(const TRPoint& Base, const TRPoint& Direction, double Size, bool Absolute) {
    Vector(Base.Vector(), Direction.Vector(), Size, Absolute);
}

void TOpenGLView::Vector(const TMVector& Base, const TMVector& Direction, double Size, bool Absolute) {
    RefuseOpenLine("Vector");
    Drawn = true;
    TArrowLines Lines;
    if (!ArrowLines(Base, Direction, Size, Absolute, Lines)) return;
    for (const auto& [From, To] : Lines) DrawLine(From, To);
}

TPoint TOpenGLView::WorldToScreen(double X, double Y, double Z) { return Camera->WorldToScreen(X, Y, Z); }

TPoint TOpenGLView::WorldToScreenVector(const TMVector& V) { return Camera->WorldToScreenVector(V); }

TPoint TOpenGLView::WorldToScreenPoint(const TRPoint& P) { return Camera->WorldToScreenPoint(P); }

TMVector TOpenGLView::ScreenToWorld(int X, int Y) { return Camera->ScreenToWorld(X, Y, 0); }

TMVector TOpenGLView::ScreenToWorldPoint(TPoint P) { return Camera->ScreenToWorldPoint(P); }

TMLine TOpenGLView::ScreenToRay(int X, int Y) { return Camera->ScreenToRay(X, Y); }

TMLine TOpenGLView::ScreenToRayPoint(TPoint P) { return Camera->ScreenToRayPoint(P); }

// ---- IRenderTarget ----

void TOpenGLView::Begin(TRenderPrimitive Kind) {
    FlushPendingLines();
    switch (Kind) {
        case TRenderPrimitive::Quads: glBegin(GL_QUADS); break;
        case TRenderPrimitive::QuadStrip: glBegin(GL_QUAD_STRIP); break;
        case TRenderPrimitive::Triangles: glBegin(GL_TRIANGLES); break;
        case TRenderPrimitive::Lines: glBegin(GL_LINES); break;
        case TRenderPrimitive::LineLoop: glBegin(GL_LINE_LOOP); break;
    }
}

void TOpenGLView::End() { glEnd(); }

void TOpenGLView::Normal(const TMVector& N) {
    FlushPendingLines();
    glNormal3d(N.X, N.Y, N.Z);
}

void TOpenGLView::Color(double R, double G, double B) {
    FlushPendingLines();
    glColor3d(R, G, B);
}

void TOpenGLView::Vertex(const TMVector& V) { GLVertexVector(V); }

void TOpenGLView::EnableDepthTest() { SetDrawState(dsLines); }

void TOpenGLView::BeginPixelOverlay() {
    FlushPendingLines();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, GetClientWidth(), GetClientHeight(), 0, -110, 110);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glPushAttrib(GL_COLOR_BUFFER_BIT | GL_ENABLE_BIT | GL_DEPTH_BUFFER_BIT | GL_LIGHTING_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
}

void TOpenGLView::EndPixelOverlay() {
    glPopAttrib();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

void TOpenGLView::Material(TColor Diffuse, TColor Specular, double Shininess) {
    if ((State & vfMeasuring) || !(State & vfContextReady)) return;
    FlushPendingLines();
    SetGLMaterial(Diffuse, Specular, static_cast<float>(Shininess));
}

bool TOpenGLView::WorldToWindow(const TMVector& P, TMVector& Window) {
    if ((State & vfMeasuring) || !(State & vfContextReady)) return false;
    MakeCurrent();
    GLdouble ModelView[16], Projection[16];
    GLint Viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, ModelView);
    glGetDoublev(GL_PROJECTION_MATRIX, Projection);
    glGetIntegerv(GL_VIEWPORT, Viewport);
    GLdouble WX = 0, WY = 0, WZ = 0;
    if (!gluProject(P.X, P.Y, P.Z, ModelView, Projection, Viewport, &WX, &WY, &WZ)) return false;
    // The pixel overlay counts y down from the top edge.
    Window = {WX, GetClientHeight() - WY, WZ};
    return true;
}

void TOpenGLView::Bitmap(double X, double Y, const TBitmapRows& Rows) {
    FlushPendingLines();
    GLubyte Bytes[32];
    for (int R = 0; R < 16; ++R) {
        Bytes[2 * R] = static_cast<GLubyte>(Rows[R] >> 8);
        Bytes[2 * R + 1] = static_cast<GLubyte>(Rows[R] & 0xFF);
    }
    glRasterPos2d(X, Y);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glBitmap(16, 16, 0, 0, 0, 0, Bytes);
}

}  // namespace sarnova
