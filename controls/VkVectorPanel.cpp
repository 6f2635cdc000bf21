#include "controls/VkVectorPanel.h"

#include <QMouseEvent>
#include <QOpenGLContext>
#include <QOpenGLWidget>
#include <QPainter>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <exception>
#include <numbers>

#include "controls/FormatGridWidget.h"
#include "foundation/NumberText.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/OpenGLHelpers.h"

namespace sarnova {

namespace {

constexpr double DegreesPerRadian = 180.0 / std::numbers::pi;

// The panel's drawing surface: an OpenGL widget over the panel's client area that leaves the mouse
// to the panel.
class TVectorPanelView : public QOpenGLWidget {
public:
    explicit TVectorPanelView(TVkVectorPanel* Panel) : QOpenGLWidget(Panel), Panel(Panel) {
        QSurfaceFormat Format = format();
        Format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
        Format.setRedBufferSize(8);
        Format.setGreenBufferSize(8);
        Format.setBlueBufferSize(8);
        Format.setDepthBufferSize(24);
        Format.setStencilBufferSize(0);
        setFormat(Format);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void initializeGL() override {
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
    }
    void paintGL() override {
        try {
            Panel->Paint();
        } catch (const std::exception& E) {
            ReportUiError(E);
        }
    }

private:
    TVkVectorPanel* Panel;
};

}  // namespace

// ---- Rules ----

TVectorPanelPose VectorPanelPose(double X, double Y, bool EnableAngleSnapping, int SnapAngle) {
    TVectorPanelPose Pose;
    const double R = std::min(std::sqrt(X * X + Y * Y), 1.0);
    Pose.Tilt = std::asin(R);
    Pose.Pitch = std::trunc(Pose.Tilt * DegreesPerRadian / 5) * 5;
    Pose.Yaw = Angle2D(Y, X) * DegreesPerRadian;
    Pose.Axis = VectorNormalise(TMVector{-Y, X, 0});
    if (EnableAngleSnapping) {
        const double Step = std::max(SnapAngle, 1);
        Pose.Pitch = std::trunc(Pose.Pitch / Step) * Step;
        Pose.Yaw = std::trunc(Pose.Yaw / Step) * Step;
        Pose.Axis = TMVector{std::sin(-Pose.Yaw / DegreesPerRadian), std::cos(Pose.Yaw / DegreesPerRadian), 0};
    }
    Pose.Direction = MatrixTransformPoint(MatrixRotationAboutAxis(Pose.Axis, Pose.Tilt), ZAxisVector);
    return Pose;
}

void VectorPanelProjectionRange(int W, int H, double& XRange, double& YRange) {
    XRange = 1.2;
    YRange = 1.2;
    if (W <= 0 || H <= 0) return;
    if (H < W)
        XRange = 1.2 * W / H;
    else
        YRange = 1.2 * H / W;
}

void VectorPanelUnproject(int PX, int PY, int W, int H, double& X, double& Y) {
    double XRange = 0;
    double YRange = 0;
    VectorPanelProjectionRange(W, H, XRange, YRange);
    // Window y runs upwards.
    X = W > 0 ? (2.0 * PX / W - 1) * XRange : 0;
    Y = H > 0 ? (2.0 * (H - PY) / H - 1) * YRange : 0;
}

std::string VectorPanelPitchText(double Pitch) { return "Pitch: " + Format("%2.0f", {Pitch}) + "\u00B0"; }

std::string VectorPanelYawText(double Yaw) { return "Yaw: " + Format("%3.0f", {Yaw}) + "\u00B0"; }

int VectorPanelBandCount(std::uint8_t BandAngle) { return BandAngle > 0 ? 180 / BandAngle : 0; }

int VectorPanelBandSteps(std::uint8_t BandAngle) { return BandAngle > 0 ? 360 / BandAngle : 0; }

// ---- TVkVectorPanel ----

TVkVectorPanel::TVkVectorPanel(QWidget* Parent) : TVkBorderControl(Parent) {
    QPalette Palette = palette();
    Palette.setColor(QPalette::WindowText, ColorToQColor(FontColor));
    setPalette(Palette);
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (isEnabled()) CreateContext();
}

TVkVectorPanel::~TVkVectorPanel() {
    try {
        DestroyContext();
        CheckGLError();
    } catch (const std::exception& E) {
        ReportUiError(E);
    }
}

void TVkVectorPanel::Loaded() {
    if (isEnabled()) CreateContext();
}

void TVkVectorPanel::CreateContext() {
    if (GLView) return;
    GLView = new TVectorPanelView(this);
    GLView->setGeometry(contentsRect());
    GLView->show();
}

void TVkVectorPanel::DestroyContext() {
    if (!GLView) return;
    CheckGLError();
    QOpenGLWidget* View = GLView;
    GLView = nullptr;
    delete View;
}

void TVkVectorPanel::CheckGLError() {
    if (GLView && GLView->context() && QOpenGLContext::currentContext() == GLView->context()) CheckCurrentGLError();
}

void TVkVectorPanel::Repaint() {
    if (GLView) GLView->update();
}

void TVkVectorPanel::SetBandAngle(std::uint8_t Degrees) {
    if (Degrees == 0 || Degrees == BandAngle) return;
    BandAngle = Degrees;
    Repaint();
}

void TVkVectorPanel::SetBand1Color(TColor Value) {
    if (Value == Band1Color) return;
    Band1Color = Value;
    Repaint();
}

void TVkVectorPanel::SetBand2Color(TColor Value) {
    if (Value == Band2Color) return;
    Band2Color = Value;
    Repaint();
}

void TVkVectorPanel::SetColor(TColor Value) {
    Color = Value;
    Repaint();
}

void TVkVectorPanel::SetDirection(const TMVector& Value) {
    const TMVector V = VectorNormalise(Value);
    if (VectorsEqual(V, Direction)) return;
    Direction = V;
    PickedX = V.X;
    PickedY = V.Y;
    Repaint();
}

QPoint TVkVectorPanel::ClientPoint(const QPoint& P) const { return P - contentsRect().topLeft(); }

void TVkVectorPanel::PickAt(int PX, int PY) {
    if (GLView) GLView->makeCurrent();
    CheckGLError();
    const QRect Client = contentsRect();
    VectorPanelUnproject(PX, PY, Client.width(), Client.height(), PickedX, PickedY);
    // The direction follows at once, so that the change events see it before the next paint.
    Direction = VectorPanelPose(PickedX, PickedY, EnableAngleSnapping, std::max(SnapAngle, 1)).Direction;
    Repaint();
    CheckGLError();
}

void TVkVectorPanel::Paint() {
    if (!GLView) return;
    CheckGLError();
    const int W = GLView->width();
    const int H = GLView->height();
    if (EnableAngleSnapping && SnapAngle < 1) SnapAngle = 1;
    const TVectorPanelPose Pose = VectorPanelPose(PickedX, PickedY, EnableAngleSnapping, SnapAngle);
    Direction = Pose.Direction;

    QPainter Painter(GLView);
    Painter.beginNativePainting();
    glViewport(0, 0, static_cast<GLsizei>(W * GLView->devicePixelRatio()),
               static_cast<GLsizei>(H * GLView->devicePixelRatio()));
    const std::array<float, 4> Back = ColorToGLColor(Color, 1);
    glClearColor(Back[0], Back[1], Back[2], Back[3]);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    double XRange = 0;
    double YRange = 0;
    VectorPanelProjectionRange(W, H, XRange, YRange);
    {
        TGLMatrixSaver SaveProjection(GL_PROJECTION);
        TGLMatrixSaver SaveModelView(GL_MODELVIEW);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-XRange, XRange, -YRange, YRange, -40, 40);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glRotated(Pose.Pitch, Pose.Axis.X, Pose.Axis.Y, Pose.Axis.Z);

        const int Bands = VectorPanelBandCount(BandAngle);
        const int Steps = VectorPanelBandSteps(BandAngle);
        const double G = BandAngle / DegreesPerRadian;
        for (int K = 0; K < Bands; ++K) {
            SetGLColor(K % 2 == 0 ? Band1Color : Band2Color);
            const double Phi1 = K * G;
            const double Phi2 = (K + 1) * G;
            glBegin(GL_QUAD_STRIP);
            for (int J = 0; J <= Steps; ++J) {
                const double U = static_cast<double>(J) / Steps * 2 * std::numbers::pi;
                glVertex3d(std::sin(Phi1) * std::cos(U), std::sin(Phi1) * std::sin(U), std::cos(Phi1));
                glVertex3d(std::sin(Phi2) * std::cos(U), std::sin(Phi2) * std::sin(U), std::cos(Phi2));
            }
            glEnd();
            CheckGLError();
        }
    }
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    Painter.endNativePainting();

    if (Dragging) {
        // The angles at the top left, one line below the other.
        const QString Pitch = QString::fromStdString(VectorPanelPitchText(Pose.Pitch));
        const QString Yaw = QString::fromStdString(VectorPanelYawText(Pose.Yaw));
        Painter.setFont(font());
        Painter.setPen(ColorToQColor(FontColor));
        const int TextHeight = Painter.fontMetrics().height();
        Painter.drawText(2, TextHeight + 2, Pitch);
        Painter.drawText(2, 2 * TextHeight + 2, Yaw);
    }
    Painter.end();
    CheckGLError();
}

void TVkVectorPanel::mousePressEvent(QMouseEvent* Event) {
    if (Event->button() != Qt::LeftButton) {
        TVkBorderControl::mousePressEvent(Event);
        return;
    }
    try {
        const QPoint P = ClientPoint(Event->position().toPoint());
        PickAt(P.x(), P.y());
        Dragging = true;
    } catch (const std::exception& E) {
        ReportUiError(E);
    }
}

void TVkVectorPanel::mouseMoveEvent(QMouseEvent* Event) {
    if (!Dragging) {
        TVkBorderControl::mouseMoveEvent(Event);
        return;
    }
    try {
        const QPoint P = ClientPoint(Event->position().toPoint());
        PickAt(P.x(), P.y());
        if (OnChange) OnChange(this);
    } catch (const std::exception& E) {
        ReportUiError(E);
    }
}

void TVkVectorPanel::mouseReleaseEvent(QMouseEvent* Event) {
    if (Event->button() != Qt::LeftButton) {
        TVkBorderControl::mouseReleaseEvent(Event);
        return;
    }
    Dragging = false;
    Repaint();
    try {
        if (OnChanged) OnChanged(this);
    } catch (const std::exception& E) {
        ReportUiError(E);
    }
}

void TVkVectorPanel::resizeEvent(QResizeEvent* Event) {
    TVkBorderControl::resizeEvent(Event);
    if (GLView) GLView->setGeometry(contentsRect());
}

void TVkVectorPanel::changeEvent(QEvent* Event) {
    if (Event->type() == QEvent::EnabledChange) {
        try {
            CheckGLError();
            if (isEnabled())
                CreateContext();
            else
                DestroyContext();
        } catch (const std::exception& E) {
            ReportUiError(E);
        }
    }
    TVkBorderControl::changeEvent(Event);
}

}  // namespace sarnova
