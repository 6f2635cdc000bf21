#include "views/ViewWinAPICore.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "foundation/Geom.h"
#include "foundation/GeomFacet.h"

namespace sarnova {

namespace {

// The program's own cursors of the modes.
constexpr TCursor crZoomCursor = 11;
constexpr TCursor crPanCursor = 12;
constexpr TCursor crRotateCursor = 13;
constexpr TCursor crZoomWindowCursor = 16;

// Clears a flag when the scope ends, also when a redraw event throws: a view left believing it paints
// or measures would never draw again.
class TFlagReset {
public:
    explicit TFlagReset(bool& Flag) : Flag(Flag) {}
    ~TFlagReset() { Flag = false; }
    TFlagReset(const TFlagReset&) = delete;
    TFlagReset& operator=(const TFlagReset&) = delete;

private:
    bool& Flag;
};

std::array<TMVector, 8> BoxCorners(const TMBox& B) {
    return {{{B.Min.X, B.Min.Y, B.Min.Z},
             {B.Max.X, B.Min.Y, B.Min.Z},
             {B.Min.X, B.Max.Y, B.Min.Z},
             {B.Max.X, B.Max.Y, B.Min.Z},
             {B.Min.X, B.Min.Y, B.Max.Z},
             {B.Max.X, B.Min.Y, B.Max.Z},
             {B.Min.X, B.Max.Y, B.Max.Z},
             {B.Max.X, B.Max.Y, B.Max.Z}}};
}

bool IsSelectionMode(TInteractionMode Mode) { return Mode == imNone || Mode == imUser; }

// One bar from the window's span and centre within the projected extents' span. Position counts from
// the extents' low end (Forward) or from their high end.
TWinAPIScrollBar ScrollBarOf(double Size, double Min, double Max, double Centre, bool Forward) {
    TWinAPIScrollBar Bar;
    const double Extent = Max - Min;
    if (!(Extent > 0.001)) return Bar;
    Bar.PageSize = RoundPixel(Size / Extent * WinAPIScrollRange);
    const double Start = Forward ? Centre - Min - Size / 2 : Max - Centre - Size / 2;
    Bar.Position = RoundPixel(Start / Extent * WinAPIScrollRange);
    Bar.SmallChange = Bar.PageSize / 10;
    Bar.LargeChange = Bar.PageSize;
    return Bar;
}

}  // namespace

int RoundPixel(double X) {
    constexpr double Far = 1e9;
    if (std::isnan(X)) return 0;
    return RoundToInteger(std::clamp(X, -Far, Far));
}

// ---- TWinAPITransform ----

TMVector WinAPIPerspective(TMVector Q) {
    Q.X = Q.X * 1000 / (Q.Z + 50);
    Q.Y = Q.Y * 1000 / (Q.Z + 50);
    return Q;
}

TMMatrix WinAPIScreenMatrix(const TViewWindow& Window, int Width, int Height) {
    const double L = Window.Left(), R = Window.Right(), T = Window.Top(), B = Window.Bottom();
    TMMatrix M = IdentityMatrix;
    M[0][0] = Width / (R - L);
    M[0][3] = -L / (R - L) * Width;
    M[1][1] = Height / (B - T);
    M[1][3] = -T / (B - T) * Height;
    return M;
}

void TWinAPITransform::Combine() {
    CombinedMatrix = MatrixMultiply(ScreenMatrix, ViewMatrix);
    InverseMatrix = MatrixInverse(CombinedMatrix);
}

TPoint TWinAPITransform::WorldToPixel(double X, double Y, double Z) const {
    TMVector P;
    if (Projection == TProjection::Perspective)
        P = MatrixTransformPoint(ScreenMatrix, WinAPIPerspective(MatrixTransformPoint(ViewMatrix, {X, Y, Z})));
    else
        P = MatrixTransformPoint(CombinedMatrix, {X, Y, Z});
    return {RoundPixel(P.X), RoundPixel(P.Y)};
}

TMVector TWinAPITransform::PixelToWorld(int X, int Y) const {
    if (Projection == TProjection::Perspective)
        throw EError("Cannot Translate to World coordinates while in perspective mode");
    return MatrixTransformPoint(InverseMatrix, {static_cast<double>(X), static_cast<double>(Y), 0});
}

TMLine TWinAPITransform::PixelToRay(int X, int Y) const {
    const TMVector A = MatrixTransformPoint(InverseMatrix, {static_cast<double>(X), static_cast<double>(Y), 0});
    const TMVector B = MatrixTransformPoint(InverseMatrix, {static_cast<double>(X), static_cast<double>(Y), 1});
    return LineThroughPoints(A, B);
}

// ---- TViewWinAPICore ----

TViewWinAPICore::TViewWinAPICore() = default;

TViewWinAPICore::~TViewWinAPICore() = default;

void TViewWinAPICore::SetClientSize(int Width, int Height) {
    FClientWidth = Width;
    FClientHeight = Height;
}

void TViewWinAPICore::SetColor(TColor Value) {
    if (Value == Color) return;
    Color = Value;
    Repaint();
}

void TViewWinAPICore::SetInteractionMode(TInteractionMode Value) {
    if (Interacting) return;
    InteractionMode = Value;
    UpdateCursor();
}

void TViewWinAPICore::UpdateCursor() {
    switch (InteractionMode) {
        case imNone:
        case imUser: SetCursor(crArrow); break;
        case imPan: SetCursor(crPanCursor); break;
        case imZoom: SetCursor(crZoomCursor); break;
        case imRotate: SetCursor(crRotateCursor); break;
        case imZoomWindow: SetCursor(crZoomWindowCursor); break;
        case imDragBox: SetCursor(crCross); break;
        default: break;
    }
}

void TViewWinAPICore::SetProjection(TProjection Value) {
    if (Value == Transform.Projection) return;
    Transform.Projection = Value;
    UpdateTransforms();
    Repaint();
}

void TViewWinAPICore::SetDrawAxes(bool Value) {
    if (Value == DrawAxes) return;
    DrawAxes = Value;
    Repaint();
}

// ---- Camera ----

void TViewWinAPICore::UpdateViewMatrix() {
    const double A = Azimuth * std::numbers::pi / 180;
    const double E = Elevation * std::numbers::pi / 180;
    TMMatrix R = IdentityMatrix;
    const double Rows[3][3] = {{-std::sin(A), std::cos(A), 0},
                               {-std::cos(A) * std::cos(E), -std::sin(A) * std::cos(E), std::sin(E)},
                               {-std::cos(A) * std::sin(E), -std::sin(A) * std::sin(E), -std::cos(E)}};
    for (int I = 0; I < 3; ++I)
        for (int J = 0; J < 3; ++J) R[I][J] = Rows[I][J];
    const TMVector C = BoxCentre(ModelExtents);
    Transform.ViewMatrix = MatrixMultiply(R, MatrixTranslation(-C.X, -C.Y, -C.Z));
    UpdateTransforms();
}

void TViewWinAPICore::UpdateScreenMatrix() {
    const int W = ClientWidth(), H = ClientHeight();
    // Without pixels there is no aspect to keep, and the window must not become infinite.
    if (W <= 0 || H <= 0) return;
    Window.Width = W * Window.Height / H;
    Transform.ScreenMatrix = WinAPIScreenMatrix(Window, W, H);
    UpdateTransforms();
}

void TViewWinAPICore::UpdateTransforms() {
    Transform.Combine();
    ProjectedExtents = TProjectedExtents{};
    for (const TMVector& Corner : BoxCorners(ModelExtents)) {
        TMVector Q = MatrixTransformPoint(Transform.ViewMatrix, Corner);
        if (Transform.Projection == TProjection::Perspective) Q = WinAPIPerspective(Q);
        ProjectedExtents.MinX = std::min(ProjectedExtents.MinX, Q.X);
        ProjectedExtents.MinY = std::min(ProjectedExtents.MinY, Q.Y);
        ProjectedExtents.MaxX = std::max(ProjectedExtents.MaxX, Q.X);
        ProjectedExtents.MaxY = std::max(ProjectedExtents.MaxY, Q.Y);
    }
    UpdateScrollBars();
}

void TViewWinAPICore::UpdateScrollBars() {
    const TProjectedExtents& P = ProjectedExtents;
    HorzBar = ScrollBarOf(Window.Width, P.MinX, P.MaxX, Window.CentreX, true);
    VertBar = ScrollBarOf(Window.Height, P.MinY, P.MaxY, Window.CentreY, false);
    ScrollBarsChanged();
}

// ---- Redraws ----

void TViewWinAPICore::DrawPicture(ICanvas& Target, const TRedrawEvent& Event) {
    Canvas = &Target;
    struct TCanvasReset {
        ICanvas*& Canvas;
        ~TCanvasReset() { Canvas = nullptr; }
    } Reset{Canvas};
    Target.SetFont(Font);
    Target.SetPenColor(LineColor);
    Target.SetPenWidth(LineWidth);
    Target.SetBrushColor(Color);
    Target.FillRect({0, 0, ClientWidth(), ClientHeight()});
    if (Event) Event(this, *this);
    if (DrawAxes) DrawAxesIcon();
}

void TViewWinAPICore::Redraw(ICanvas& Target) {
    if (Painting) return;
    Painting = true;
    const TFlagReset Done(Painting);
    PreviewPending = false;
    DrawPicture(Target, OnRedraw);
    Dirty = false;
}

void TViewWinAPICore::PreviewRedraw(ICanvas& Target) {
    DrawPicture(Target, OnPreviewRedraw ? OnPreviewRedraw : OnRedraw);
}

void TViewWinAPICore::Paint(ICanvas& Target) {
    if (PreviewPending) {
        PreviewPending = false;
        PreviewRedraw(Target);
    } else {
        Redraw(Target);
    }
}

void TViewWinAPICore::Repaint() {
    PreviewPending = false;
    Invalidate();
}

void TViewWinAPICore::RequestPreview() {
    PreviewPending = true;
    Invalidate();
}

void TViewWinAPICore::DrawAxesIcon() {
    if (Canvas == nullptr) return;
    ICanvas& C = *Canvas;
    const int H = ClientHeight();
    TFont F = C.GetFont();
    const TColor SavedFontColor = F.Color;
    F.Size = 8;
    F.Color = LineColor;
    C.SetFont(F);
    C.SetPenColor(LineColor);
    C.SetBrushColor(Color);

    // Only the view's rotation turns the icon: one world unit a pixel, about a fixed corner point.
    const TMMatrix& V = Transform.ViewMatrix;
    auto Place = [&](const TMVector& P) {
        const int PX = RoundPixel(V[0][0] * P.X + V[0][1] * P.Y + V[0][2] * P.Z);
        const int PY = RoundPixel(V[1][0] * P.X + V[1][1] * P.Y + V[1][2] * P.Z);
        return TPoint{PX, PY};
    };
    auto Segment = [&](const TMVector& A, const TMVector& B) {
        const TPoint PA = Place(A), PB = Place(B);
        C.MoveTo(35 + PA.X, H - PA.Y - 35);
        C.LineTo(35 + PB.X, H - PB.Y - 35);
    };
    static const char* const Labels[3] = {"x", "y", "z"};
    for (int Axis = 0; Axis < 3; ++Axis) {
        auto Along = [Axis](double Length, double Across1, double Across2) {
            double P[3] = {0, 0, 0};
            P[Axis] = Length;
            P[(Axis + 1) % 3] = Across1;
            P[(Axis + 2) % 3] = Across2;
            return TMVector{P[0], P[1], P[2]};
        };
        const TMVector Tip = Along(40, 0, 0);
        Segment(ZeroVector, Tip);
        for (double Side : {3.0, -3.0}) {
            Segment(Along(35, Side, 0), Tip);
            Segment(Along(35, 0, Side), Tip);
        }
        const TPoint T = Place(Tip);
        C.TextOut(38 + T.X, H - T.Y - 43, Labels[Axis]);
    }
    F.Color = SavedFontColor;
    C.SetFont(F);
}

void TViewWinAPICore::MeasureExtents() {
    ModelExtents = EmptyBox;
    Measuring = true;
    {
        const TFlagReset Done(Measuring);
        const TRedrawEvent& Event = OnPreviewRedraw ? OnPreviewRedraw : OnRedraw;
        if (Event) Event(this, *this);
    }
    if (ModelExtents.Max.X < ModelExtents.Min.X && ModelExtents.Max.Y < ModelExtents.Min.Y)
        ModelExtents = MakeBox(-10, -10, -10, 10, 10, 10);
}

// ---- Zoom and scroll ----

void TViewWinAPICore::ZoomAll() {
    MeasureExtents();
    UpdateViewMatrix();
    FitToExtents();
}

void TViewWinAPICore::FitToExtents() {
    UpdateScreenMatrix();
    const int H = ClientHeight();
    double MinX = HugeValue, MinY = HugeValue, MaxX = -HugeValue, MaxY = -HugeValue;
    for (const TMVector& Corner : BoxCorners(ModelExtents)) {
        const TPoint P = WorldToPixel(Corner.X, Corner.Y, Corner.Z);
        const double Y = H - P.Y;
        MinX = std::min(MinX, static_cast<double>(P.X));
        MaxX = std::max(MaxX, static_cast<double>(P.X));
        MinY = std::min(MinY, Y);
        MaxY = std::max(MaxY, Y);
    }
    const double CX = (MinX + MaxX) / 2, CY = (MinY + MaxY) / 2;
    const double HalfW = (MaxX - MinX) * 1.05 / 2, HalfH = (MaxY - MinY) * 1.05 / 2;
    ZoomToRect({RoundPixel(CX - HalfW), RoundPixel(CY - HalfH), RoundPixel(CX + HalfW), RoundPixel(CY + HalfH)});
}

void TViewWinAPICore::ZoomToRect(const TRect& Rect) {
    if (std::abs(Rect.Right - Rect.Left) < 5 && std::abs(Rect.Bottom - Rect.Top) < 5) return;
    const int W = ClientWidth(), H = ClientHeight();
    if (W <= 0 || H <= 0) return;
    const double L = Window.Left(), R = Window.Right(), T = Window.Top(), B = Window.Bottom();
    const double X1 = L + static_cast<double>(Rect.Left) / W * (R - L);
    const double X2 = L + static_cast<double>(Rect.Right) / W * (R - L);
    const double Y1 = B + static_cast<double>(Rect.Top) / H * (T - B);
    const double Y2 = B + static_cast<double>(Rect.Bottom) / H * (T - B);
    Window.CentreX = (X1 + X2) / 2;
    Window.CentreY = (Y1 + Y2) / 2;
    const double MappedWidth = std::fabs(X2 - X1);
    Window.Height = std::fabs(Y2 - Y1);
    Window.Width = Window.Height * W / H;
    if (MappedWidth > Window.Width) {
        Window.Width = MappedWidth;
        Window.Height = MappedWidth * H / W;
    }
    UpdateScreenMatrix();
    Repaint();
    UpdateScrollBars();
}

void TViewWinAPICore::ZoomIn() {
    Window.Height *= 0.8;
    UpdateScreenMatrix();
    Repaint();
}

void TViewWinAPICore::ZoomOut() {
    Window.Height *= 1.2;
    UpdateScreenMatrix();
    Repaint();
}

void TViewWinAPICore::ScrollTo(int Bar, int Position) {
    Interacting = true;
    const TProjectedExtents& P = ProjectedExtents;
    if (Bar == 0)
        Window.CentreX =
            static_cast<double>(Position) / WinAPIScrollRange * (P.MaxX - P.MinX) + P.MinX + Window.Width / 2;
    else
        Window.CentreY = P.MaxY - ((P.MaxY - P.MinY) * Position / WinAPIScrollRange + Window.Height / 2);
    UpdateScreenMatrix();
    Repaint();
}

void TViewWinAPICore::EndScroll() { Interacting = false; }

// ---- Mouse ----

void TViewWinAPICore::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbRight && !Interacting) {
        RightPanning = true;
        PanStart(X, Y);
        return;
    }
    if (IsSelectionMode(InteractionMode)) {
        if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
        return;
    }
    if (Button != mbLeft || RightPanning) return;
    switch (InteractionMode) {
        case imPan: PanStart(X, Y); break;
        case imZoom: ZoomDragStart(X, Y); break;
        case imRotate: RotateStart(X, Y); break;
        case imZoomWindow:
        case imDragBox: RubberBandStart(X, Y); break;
        default: break;
    }
}

void TViewWinAPICore::MouseMove(TShiftState Shift, int X, int Y) {
    if (RightPanning) {
        PanStep(X, Y);
        return;
    }
    if (IsSelectionMode(InteractionMode)) {
        if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
        return;
    }
    if (!Interacting) return;
    switch (InteractionMode) {
        case imPan: PanStep(X, Y); break;
        case imZoom: ZoomDragStep(X, Y); break;
        case imRotate: RotateStep(X, Y); break;
        case imZoomWindow:
        case imDragBox: RubberBandStep(X, Y); break;
        default: break;
    }
}

void TViewWinAPICore::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbRight && RightPanning) {
        RightPanning = false;
        PanEnd();
        return;
    }
    if (IsSelectionMode(InteractionMode)) {
        if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
        return;
    }
    // A left release during a right-button pan must not end the pan under way.
    if (Button != mbLeft || !Interacting || RightPanning) return;
    switch (InteractionMode) {
        case imPan: PanEnd(); break;
        case imZoom:
        case imRotate: DragEnd(); break;
        case imZoomWindow:
        case imDragBox: RubberBandEnd(); break;
        default: break;
    }
}

bool TViewWinAPICore::MouseWheel(int Delta) {
    if (Delta <= 0)
        ZoomOut();
    else
        ZoomIn();
    return true;
}

void TViewWinAPICore::DragEnd() {
    Interacting = false;
    if (Dirty) Repaint();
}

void TViewWinAPICore::PanStart(int X, int Y) {
    SetCursor(crPanCursor);
    Interacting = true;
    DragStart = {X, Y};
    DragSavedX = Window.CentreX;
    DragSavedY = Window.CentreY;
}

void TViewWinAPICore::PanStep(int X, int Y) {
    const int W = ClientWidth(), H = ClientHeight();
    if (W <= 0 || H <= 0) return;
    Window.CentreX = DragSavedX - (X - DragStart.X) * Window.Width / W;
    Window.CentreY = (Y - DragStart.Y) * Window.Height / H + DragSavedY;
    UpdateScreenMatrix();
    RequestPreview();
    UpdateScrollBars();
    Dirty = true;
}

void TViewWinAPICore::PanEnd() {
    Interacting = false;
    UpdateCursor();
    if (Dirty) Repaint();
}

void TViewWinAPICore::RotateStart(int X, int Y) {
    Interacting = true;
    DragStart = {X, Y};
    DragSavedX = Azimuth;
    DragSavedY = Elevation;
}

void TViewWinAPICore::RotateStep(int X, int Y) {
    const int W = ClientWidth(), H = ClientHeight();
    if (W <= 0 || H <= 0) return;
    Azimuth = (DragStart.X - X) * 180.0 / W + DragSavedX;
    Elevation = (DragStart.Y - Y) * 180.0 / H + DragSavedY;
    UpdateViewMatrix();
    RequestPreview();
    Dirty = true;
}

void TViewWinAPICore::ZoomDragStart(int X, int Y) {
    const int W = ClientWidth(), H = ClientHeight();
    if (W <= 0 || H <= 0) return;
    Interacting = true;
    DragStart = {X, Y};
    ZoomLeft = Window.Left();
    ZoomTop = Window.Top();
    ZoomRight = Window.Right();
    ZoomBottom = Window.Bottom();
    ZoomMouseX = ZoomLeft + static_cast<double>(X) / W * (ZoomRight - ZoomLeft);
    ZoomMouseY = ZoomTop + static_cast<double>(Y) / H * (ZoomBottom - ZoomTop);
}

void TViewWinAPICore::ZoomDragStep(int X, int Y) {
    const int Height = ControlHeight();
    if (Height <= 0) return;
    const double F = (Y - DragStart.Y) * 5.0 / Height;
    const double Factor = F >= 0 ? F + 1 : 1 / (std::fabs(F) + 1);
    const double L = ZoomMouseX - (ZoomMouseX - ZoomLeft) * Factor;
    const double R = ZoomMouseX + (ZoomRight - ZoomMouseX) * Factor;
    const double T = ZoomMouseY - (ZoomMouseY - ZoomTop) * Factor;
    const double B = ZoomMouseY + (ZoomBottom - ZoomMouseY) * Factor;
    Window.CentreX = (L + R) / 2;
    Window.CentreY = (T + B) / 2;
    Window.Width = R - L;
    Window.Height = T - B;
    UpdateScreenMatrix();
    RequestPreview();
    UpdateScrollBars();
    Dirty = true;
}

void TViewWinAPICore::RubberBandStart(int X, int Y) {
    Interacting = true;
    RubberBanding = true;
    DragStart = {X, Y};
    RubberRect = {X, Y, X, Y};
    RubberBandChanged();
}

void TViewWinAPICore::RubberBandStep(int X, int Y) {
    SetCursor(Cursor);
    RubberRect.Right = X;
    RubberRect.Bottom = Y;
    RubberBandChanged();
}

void TViewWinAPICore::RubberBandEnd() {
    Interacting = false;
    RubberBanding = false;
    RubberBandChanged();
    const TRect R{std::min(RubberRect.Left, RubberRect.Right), std::min(RubberRect.Top, RubberRect.Bottom),
                  std::max(RubberRect.Left, RubberRect.Right), std::max(RubberRect.Top, RubberRect.Bottom)};
    if (InteractionMode == imZoomWindow) {
        const int H = ClientHeight();
        ZoomToRect({R.Left, H - R.Top, R.Right, H - R.Bottom});
    }
}

// ---- Printing ----

std::unique_ptr<TWinAPICanvasInterface> TViewWinAPICore::CreatePrinterCanvas(ICanvas& Target, int PageWidth,
                                                                             int PageHeight) const {
    auto Result = std::make_unique<TWinAPICanvasInterface>(Target, PageWidth, PageHeight);
    // The whole window fits the page, widened to the page's aspect.
    double W = Window.Width;
    double H = Window.Width / PageWidth * PageHeight;
    if (H < Window.Height) {
        H = Window.Height;
        W = Window.Height / PageHeight * PageWidth;
    }
    Result->Window = {Window.CentreX, Window.CentreY, W, H};
    Result->Transform.ScreenMatrix = WinAPIScreenMatrix(Result->Window, PageWidth, PageHeight);
    Result->Transform.ViewMatrix = Transform.ViewMatrix;
    Result->Transform.Projection = Transform.Projection;
    Result->Transform.Combine();
    return Result;
}

void TViewWinAPICore::PrintPage(ICanvas& Target, int PageWidth, int PageHeight) {
    const auto Page = CreatePrinterCanvas(Target, PageWidth, PageHeight);
    if (OnRedraw) OnRedraw(this, *Page);
}

// ---- IGraphics ----

void TViewWinAPICore::Extend(double X, double Y, double Z) { ExtendBoxXYZ(ModelExtents, X, Y, Z); }

void TViewWinAPICore::RestorePenAndBrush() {
    Canvas->SetPenColor(LineColor);
    Canvas->SetBrushColor(Color);
}

void TViewWinAPICore::SetLineColor(TColor C) {
    LineColor = C;
    if (Canvas) Canvas->SetPenColor(C);
}

void TViewWinAPICore::SetLineWidth(double Width) {
    LineWidth = DrawableLineWidth(Width);
    if (Canvas) Canvas->SetPenWidth(LineWidth);
}

void TViewWinAPICore::Line(double X1, double Y1, double Z1, double X2, double Y2, double Z2) {
    Extend(X1, Y1, Z1);
    Extend(X2, Y2, Z2);
    if (!CanDraw()) return;
    const TPoint A = WorldToPixel(X1, Y1, Z1);
    const TPoint B = WorldToPixel(X2, Y2, Z2);
    Canvas->SetPenColor(LineColor);
    Canvas->MoveTo(A.X, A.Y);
    Canvas->LineTo(B.X, B.Y);
}

void TViewWinAPICore::Line2D(double X1, double Y1, double X2, double Y2) { Line(X1, Y1, 0, X2, Y2, 0); }

void TViewWinAPICore::LineStart(double X, double Y, double Z) { PenPosition = {X, Y, Z}; }

void TViewWinAPICore::LineNext(double X, double Y, double Z) {
    Line(PenPosition.X, PenPosition.Y, PenPosition.Z, X, Y, Z);
    PenPosition = {X, Y, Z};
}

void TViewWinAPICore::Polyline(const TRPoints& Points) {
    for (int I = 0; I < Points.Count(); ++I) {
        const TRPoint& P = *Points.Point(I);
        Extend(P.X, P.Y, P.Z);
    }
    if (!CanDraw()) return;
    std::vector<TPoint> Pixels;
    Pixels.reserve(static_cast<std::size_t>(Points.Count()));
    for (int I = 0; I < Points.Count(); ++I) Pixels.push_back(WorldToScreenPoint(*Points.Point(I)));
    if (Points.OwnColors) {
        Canvas->SetPenColor(Points.LineColor);
        Canvas->SetBrushColor(Points.FillColor);
    } else {
        RestorePenAndBrush();
    }
    if (!Pixels.empty()) {
        if (Points.Filled)
            Canvas->Polygon(Pixels);
        else
            Canvas->Polyline(Pixels);
    }
    RestorePenAndBrush();
}

void TViewWinAPICore::Polygon(const TPolygon& F) {
    for (int I = 0; I < F.CornerCount(); ++I) {
        const auto& P = *F.Corner(I);
        Extend(P.X, P.Y, P.Z);
    }
    if (!CanDraw()) return;
    std::vector<TPoint> Pixels;
    for (int I = 0; I < F.CornerCount(); ++I) Pixels.push_back(WorldToScreenPoint(F.Corner(I)->AsPoint()));
    Canvas->SetPenColor(F.EdgeColor);
    Canvas->SetBrushColor(F.Color);
    Canvas->Polygon(Pixels);
    RestorePenAndBrush();
}

void TViewWinAPICore::EditHandle(int, double X, double Y, double Z) {
    Extend(X, Y, Z);
    if (!CanDraw()) return;
    const TPoint P = WorldToPixel(X, Y, Z);
    Canvas->Ellipse({P.X - 5, P.Y - 5, P.X + 5, P.Y + 5});
}

void TViewWinAPICore::EditHandlePoint(const TRPoint& P, int Kind) { EditHandle(Kind, P.X, P.Y, P.Z); }

void TViewWinAPICore::VectorPoints(const TRPoint& Base, const TRPoint& Direction, double Size, bool Absolute) {
    Vector(Base.Vector(), Direction.Vector(), Size, Absolute);
}

void TViewWinAPICore::Vector(const TMVector& Base, const TMVector& Direction, double Size, bool Absolute) {
    TArrowLines Lines;
    if (!ArrowLines(Base, Direction, Size, Absolute, Lines)) return;
    for (const auto& [From, To] : Lines) LineVectors(From, To);
}

void TViewWinAPICore::TextOut(const std::string& Text, double X, double Y, double Z) {
    if (!CanDraw()) return;
    const TPoint P = WorldToPixel(X, Y, Z);
    Canvas->TextOut(P.X, P.Y, Text);
}

double TViewWinAPICore::TextWidth(const std::string& Text) { return Canvas ? Canvas->TextWidth(Text) : 0; }

double TViewWinAPICore::TextHeight(const std::string& Text) { return Canvas ? Canvas->TextHeight(Text) : 0; }

TPoint TViewWinAPICore::WorldToScreenPoint(const TRPoint& P) { return WorldToPixel(P.X, P.Y, P.Z); }

}  // namespace sarnova
