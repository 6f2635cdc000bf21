// Picks a direction in space by pointing at a sphere: the panel draws, in its own OpenGL context, a
// unit sphere in alternating bands of two colours and tilts its pole toward the point under the
// mouse, showing pitch and yaw in degrees while the user drags. The band angle's names in the
// settings are SnapAngleName and SnapAngleFromName of the settings module.
#pragma once
#include <cstdint>
#include <string>

#include "foundation/Colors.h"
#include "foundation/VkMaths.h"
#include "controls/VkControls.h"

class QOpenGLWidget;

namespace sarnova {

// What the panel shows for the picked point (X, Y) in the sphere's plane.
struct TVectorPanelPose {
    // The tilt of the pole, radians: arcsin of the point's distance from the centre (at most 1).
    double Tilt = 0;
    // Degrees as shown: the pitch in steps of 5 (and of SnapAngle when snapping), the yaw as the
    // point's direction angle (stepped when snapping).
    double Pitch = 0;
    double Yaw = 0;
    // The axis the pole tilts about.
    TMVector Axis;
    // The pole (0, 0, 1) tilted by Tilt about Axis.
    TMVector Direction;
};

// SnapAngle is used only when snapping, and must be at least 1 then.
TVectorPanelPose VectorPanelPose(double X, double Y, bool EnableAngleSnapping, int SnapAngle);
// The half-extents of the panel's orthographic projection for a client area W x H: 1.2 along the
// shorter side, proportionally more along the longer one.
void VectorPanelProjectionRange(int W, int H, double& XRange, double& YRange);
// The point of the sphere's plane under pixel (PX, PY) of a client area W x H.
void VectorPanelUnproject(int PX, int PY, int W, int H, double& X, double& Y);
// "Pitch: %2.0f°" and "Yaw: %3.0f°".
std::string VectorPanelPitchText(double Pitch);
std::string VectorPanelYawText(double Yaw);
// Bands of BandAngle degrees from the pole (180 div BandAngle), and the steps around each (360 div
// BandAngle). BandAngle must be above 0.
int VectorPanelBandCount(std::uint8_t BandAngle);
int VectorPanelBandSteps(std::uint8_t BandAngle);

class TVkVectorPanel : public TVkBorderControl {
    Q_OBJECT
public:
    explicit TVkVectorPanel(QWidget* Parent = nullptr);
    ~TVkVectorPanel() override;

    std::uint8_t GetBandAngle() const { return BandAngle; }
    // Degrees per band; 0 is refused (no band could be drawn), a change repaints.
    void SetBandAngle(std::uint8_t Degrees);
    TColor GetBand1Color() const { return Band1Color; }
    void SetBand1Color(TColor Value);
    TColor GetBand2Color() const { return Band2Color; }
    void SetBand2Color(TColor Value);
    TColor GetColor() const { return Color; }
    void SetColor(TColor Value);
    TColor FontColor = clWhite;
    bool EnableAngleSnapping = false;
    // Below 1 it becomes 1 at the next paint.
    int SnapAngle = 5;

    const TMVector& GetDirection() const { return Direction; }
    // Normalised; a direction within 1e-4 of the present one changes nothing. The picked point moves
    // under the new direction, so that the next paint keeps it (a direction below the xy-plane comes
    // back mirrored into the upper half, the only half the panel shows).
    void SetDirection(const TMVector& Value);
    double GetPickedX() const { return PickedX; }
    double GetPickedY() const { return PickedY; }
    bool GetDragging() const { return Dragging; }

    TNotifyEvent OnChange;
    TNotifyEvent OnChanged;

    // After the panel is set up: the context, when enabled.
    void Loaded();
    bool ContextCreated() const { return GLView != nullptr; }
    void CreateContext();
    void DestroyContext();
    // Throws "Error in paint", a carriage return and the error text for a pending OpenGL error of
    // the panel's context, when that context is current.
    void CheckGLError();
    // Takes the point of the sphere's plane under the client pixel (PX, PY) and repaints.
    void PickAt(int PX, int PY);
    // Draws the sphere (and while dragging the angles) into the current context.
    void Paint();

protected:
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void changeEvent(QEvent* Event) override;

private:
    void Repaint();
    QPoint ClientPoint(const QPoint& P) const;

    std::uint8_t BandAngle = 10;
    QOpenGLWidget* GLView = nullptr;
    bool Dragging = false;
    double PickedX = 0;
    double PickedY = 0;
    TMVector Direction = ZAxisVector;
    TColor Band1Color = clWhite;
    TColor Band2Color = clBlack;
    TColor Color = clBlack;
};

}  // namespace sarnova
