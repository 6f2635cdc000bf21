#include "views/OpenGLViewPrint.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QOpenGLContext>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>

#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtPrinter.h"
#include "platform/qt/OpenGLHelpers.h"
#include "views/OpenGLView.h"

namespace sarnova {

namespace {

std::array<double, 16> ColumnOrder(const TMMatrix& M) {
    std::array<double, 16> A{};
    for (int R = 0; R < 4; ++R)
        for (int C = 0; C < 4; ++C) A[C * 4 + R] = M[R][C];
    return A;
}

// A window coordinate as a pixel; points that project far outside any page (behind the eye in
// perspective) are held at a distance a canvas still draws towards.
int PixelOf(double X) {
    constexpr double Far = 1e8;
    if (std::isnan(X)) return 0;
    return TruncSingle(std::clamp(X, -Far, Far));
}

}  // namespace

// ---- TOpenGLCanvasInterface ----

TOpenGLCanvasInterface::TOpenGLCanvasInterface(ICanvas& Canvas, int Width, int Height)
    : TCanvasInterface(Canvas, Width, Height),
      ModelView(ColumnOrder(IdentityMatrix)),
      Projection(ColumnOrder(IdentityMatrix)),
      Viewport{0, 0, Width, Height} {}

void TOpenGLCanvasInterface::SetMatrices(const TMMatrix& AModelView, const TMMatrix& AProjection) {
    ModelView = ColumnOrder(AModelView);
    Projection = ColumnOrder(AProjection);
}

TPoint TOpenGLCanvasInterface::WorldToScreen(double X, double Y, double Z) {
    GLdouble WX = 0, WY = 0, WZ = 0;
    if (!gluProject(X, Y, Z, ModelView.data(), Projection.data(), Viewport.data(), &WX, &WY, &WZ)) return {0, Height};
    return {PixelOf(WX), Height - PixelOf(WY)};
}

TMVector TOpenGLCanvasInterface::ScreenToWorld(int X, int Y) {
    GLdouble WX = 0, WY = 0, WZ = 0;
    if (!gluUnProject(X, Height - Y, 0, ModelView.data(), Projection.data(), Viewport.data(), &WX, &WY, &WZ))
        return ZeroVector;
    return {WX, WY, WZ};
}

// ---- DrawGLLabel ----

void DrawGLLabel(const TMVector& Point, std::uint8_t HAlign, std::uint8_t VAlign, IGraphics& Graphics,
                 const std::string& Text, double DX, double DY) {
    GLdouble ModelView[16], Projection[16];
    GLint Viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, ModelView);
    glGetDoublev(GL_PROJECTION_MATRIX, Projection);
    glGetIntegerv(GL_VIEWPORT, Viewport);
    const TGLMatrixSaver KeepProjection(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, Viewport[2], 0, Viewport[3], -110, 110);
    const TGLMatrixSaver KeepModelView(GL_MODELVIEW);
    glLoadIdentity();
    GLdouble WX = 0, WY = 0, WZ = 0;
    gluProject(Point.X, Point.Y, Point.Z, ModelView, Projection, Viewport, &WX, &WY, &WZ);
    const double W = Graphics.TextWidth(Text);
    const double H = Graphics.TextHeight(Text);
    if (HAlign == 1) DX -= W / 2;
    if (HAlign == 2) DX -= W;
    if (VAlign == 0) DY -= H;
    if (VAlign == 1) DY -= H / 2;
    Graphics.TextOut(Text, WX + DX, WY + DY, 0);
}

// ---- The view's printing and copying ----

std::unique_ptr<TOpenGLCanvasInterface> TOpenGLView::CreatePrintCanvas(ICanvas& Canvas, int Width, int Height) {
    auto Result = std::make_unique<TOpenGLCanvasInterface>(Canvas, Width, Height);
    Camera->ApplyForAspect(Width, Height);
    Result->SetMatrices(Camera->GetModelViewMatrix(), Camera->GetProjectionMatrix());
    UpdateViewport();
    return Result;
}

void TOpenGLView::Print(const std::string& Title, QPrinter& Printer) {
    PrintJob(Printer, Title.empty() ? GExeName + " - Viewport" : Title, [this](ICanvas& Canvas, int Width, int Height) {
        const auto Target = CreatePrintCanvas(Canvas, Width, Height);
        if (OnRedraw) OnRedraw(this, *Target);
    });
}

void TOpenGLView::Print(const std::string& Title) { Print(Title, GetPrinter()); }

bool TOpenGLView::ModelIsWide() {
    const TMBox& B = ModelExtents;
    if (B.Min.X > B.Max.X) return GetClientWidth() > GetClientHeight();
    int Left = INT_MAX, Right = INT_MIN, Top = INT_MAX, Bottom = INT_MIN;
    for (int I = 0; I < 8; ++I) {
        const TPoint P = WorldToScreen((I & 1) ? B.Max.X : B.Min.X, (I & 2) ? B.Max.Y : B.Min.Y,
                                       (I & 4) ? B.Max.Z : B.Min.Z);
        Left = std::min(Left, P.X);
        Right = std::max(Right, P.X);
        Top = std::min(Top, P.Y);
        Bottom = std::max(Bottom, P.Y);
    }
    return Right - Left > Bottom - Top;
}

void TOpenGLView::PrintFitted(const std::string& Title, QPrinter& Printer, const std::function<bool()>& Confirm) {
    Printer.setPageOrientation(ModelIsWide() ? QPageLayout::Landscape : QPageLayout::Portrait);
    if (Confirm && !Confirm()) return;
    // The camera is kept only with a rendering context; without one there is nothing to put back.
    const bool Kept = (State & vfContextReady) != 0;
    SaveCameraState();
    ZoomAll();
    try {
        Print(Title, Printer);
    } catch (...) {
        if (Kept) RestoreCameraState();
        throw;
    }
    if (Kept) RestoreCameraState();
}

void TOpenGLView::CopyToClipboard() {
    auto Data = std::make_unique<QMimeData>();
    const int W = GetClientWidth(), H = GetClientHeight();

    // The scalable picture: twice the window's size, one point a pixel.
    QBuffer Pdf;
    Pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter Writer(&Pdf);
        Writer.setResolution(72);
        Writer.setPageSize(QPageSize(QSizeF(2 * W, 2 * H), QPageSize::Point));
        Writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter Painter(&Writer);
        struct TEndPicture {
            QPainter& Painter;
            ~TEndPicture() { Painter.end(); }
        } End{Painter};
        TQtCanvas Canvas(Painter);
        const auto Target = CreatePrintCanvas(Canvas, 2 * W, 2 * H);
        if (OnRedraw) OnRedraw(this, *Target);
    }
    Data->setData("application/pdf", Pdf.data());

    // The screen shot: the frame as it is shown.
    if ((State & vfContextReady) && W > 0 && H > 0) {
        makeCurrent();
        QImage Image(W, H, QImage::Format_RGBA8888);
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glReadPixels(0, 0, W, H, GL_RGBA, GL_UNSIGNED_BYTE, Image.bits());
        Data->setImageData(Image.mirrored().convertToFormat(QImage::Format_RGB32));
    }
    QApplication::clipboard()->setMimeData(Data.release());
}

}  // namespace sarnova
