#include <gtest/gtest.h>

#include <QOpenGLWidget>

#include <cmath>

#include "ControlsTestSupport.h"
#include "shell/ShellTestSupport.h"
#include "controls/VkVectorPanel.h"

namespace sarnova {
namespace {

void ExpectVector(const TMVector& V, double X, double Y, double Z) {
    EXPECT_NEAR(V.X, X, 1e-9);
    EXPECT_NEAR(V.Y, Y, 1e-9);
    EXPECT_NEAR(V.Z, Z, 1e-9);
}

TEST(VectorPanelPose, TiltsThePoleTowardThePickedPoint) {
    const TVectorPanelPose Centre = VectorPanelPose(0, 0, false, 5);
    EXPECT_EQ(Centre.Pitch, 0);
    ExpectVector(Centre.Direction, 0, 0, 1);

    const TVectorPanelPose Pose = VectorPanelPose(0.6, 0, false, 5);
    EXPECT_EQ(Pose.Pitch, 35);  // arcsin 0.6 = 36.87 degrees, in steps of 5
    EXPECT_EQ(Pose.Yaw, 0);
    ExpectVector(Pose.Direction, 0.6, 0, 0.8);

    const TVectorPanelPose Quarter = VectorPanelPose(0, -0.6, false, 5);
    EXPECT_NEAR(Quarter.Yaw, -90, 1e-9);
    ExpectVector(Quarter.Direction, 0, -0.6, 0.8);

    // Outside the unit circle the pole lies in the xy-plane.
    const TVectorPanelPose Outside = VectorPanelPose(3, 4, false, 5);
    EXPECT_EQ(Outside.Pitch, 90);
    ExpectVector(Outside.Direction, 0.6, 0.8, 0);
}

TEST(VectorPanelPose, SnappingStepsTheShownAnglesNotTheDirection) {
    const double R = std::sin(47.3 * std::acos(-1.0) / 180);
    EXPECT_EQ(VectorPanelPose(R, 0, false, 5).Pitch, 45);
    EXPECT_EQ(VectorPanelPose(R, 0, true, 1).Pitch, 45);
    EXPECT_EQ(VectorPanelPose(R, 0, true, 20).Pitch, 40);

    // Yaw 33.7 degrees stepped by 10.
    const double X = std::cos(33.7 * std::acos(-1.0) / 180) * 0.5;
    const double Y = std::sin(33.7 * std::acos(-1.0) / 180) * 0.5;
    const TVectorPanelPose Snapped = VectorPanelPose(X, Y, true, 10);
    EXPECT_EQ(Snapped.Yaw, 30);
    EXPECT_NEAR(Snapped.Axis.X, -0.5, 1e-9);
    EXPECT_NEAR(Snapped.Axis.Y, std::sqrt(0.75), 1e-9);
    EXPECT_NEAR(Snapped.Direction.Z, std::sqrt(0.75), 1e-9);
}

TEST(VectorPanelGeometry, ProjectionTextsAndBands) {
    double X = 0, Y = 0;
    VectorPanelProjectionRange(200, 100, X, Y);
    EXPECT_DOUBLE_EQ(X, 2.4);
    EXPECT_DOUBLE_EQ(Y, 1.2);
    VectorPanelProjectionRange(100, 150, X, Y);
    EXPECT_DOUBLE_EQ(X, 1.2);
    EXPECT_DOUBLE_EQ(Y, 1.8);

    VectorPanelUnproject(50, 50, 100, 100, X, Y);
    EXPECT_DOUBLE_EQ(X, 0);
    EXPECT_DOUBLE_EQ(Y, 0);
    VectorPanelUnproject(75, 0, 100, 100, X, Y);
    EXPECT_DOUBLE_EQ(X, 0.6);
    EXPECT_DOUBLE_EQ(Y, 1.2);  // the top row is +y

    EXPECT_EQ(VectorPanelPitchText(35), "Pitch: 35\u00B0");
    EXPECT_EQ(VectorPanelPitchText(5), "Pitch:  5\u00B0");
    EXPECT_EQ(VectorPanelYawText(-90), "Yaw: -90\u00B0");
    EXPECT_EQ(VectorPanelYawText(7), "Yaw:   7\u00B0");

    EXPECT_EQ(VectorPanelBandCount(7), 25);
    EXPECT_EQ(VectorPanelBandSteps(7), 51);
    EXPECT_EQ(VectorPanelBandCount(10), 18);
    EXPECT_EQ(VectorPanelBandCount(0), 0);
}

TEST(VectorPanel, PicksAndDrawsInItsOwnContext) {
    TVkVectorPanel Panel;
    Panel.SetBorderStyle(bsNone);
    Panel.resize(100, 100);
    Panel.show();
    Settle();
    ASSERT_TRUE(Panel.ContextCreated());
    ExpectVector(Panel.GetDirection(), 0, 0, 1);

    int Changes = 0, Changed = 0;
    Panel.OnChange = [&](QObject*) { ++Changes; };
    Panel.OnChanged = [&](QObject*) { ++Changed; };
    // Pixel (75, 50) is the point (0.6, 0) of the sphere's plane.
    test::SendMouse(&Panel, QEvent::MouseButtonPress, {75, 50});
    EXPECT_TRUE(Panel.GetDragging());
    test::SendMouse(&Panel, QEvent::MouseMove, {75, 50}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(Changes, 1);
    ExpectVector(Panel.GetDirection(), 0.6, 0, 0.8);
    const QImage WhileDragging = Panel.findChild<QOpenGLWidget*>()->grabFramebuffer();
    test::SendMouse(&Panel, QEvent::MouseButtonRelease, {75, 50});
    EXPECT_FALSE(Panel.GetDragging());
    EXPECT_EQ(Changed, 1);
    const QImage After = Panel.findChild<QOpenGLWidget*>()->grabFramebuffer();
    ExpectVector(Panel.GetDirection(), 0.6, 0, 0.8);
    // The angles are shown only while dragging.
    EXPECT_NE(WhileDragging, After);

    Panel.SetDirection({0, 0, 2});
    Panel.findChild<QOpenGLWidget*>()->grabFramebuffer();
    ExpectVector(Panel.GetDirection(), 0, 0, 1);

    Panel.SnapAngle = 0;
    Panel.EnableAngleSnapping = true;
    Panel.findChild<QOpenGLWidget*>()->grabFramebuffer();
    EXPECT_EQ(Panel.SnapAngle, 1);

    Panel.SetBandAngle(0);
    EXPECT_EQ(Panel.GetBandAngle(), 10);
    Panel.SetBandAngle(7);
    EXPECT_EQ(Panel.GetBandAngle(), 7);
    Panel.findChild<QOpenGLWidget*>()->grabFramebuffer();
}

TEST(VectorPanel, DisabledPanelHasNoContext) {
    TVkVectorPanel Panel;
    Panel.setEnabled(false);
    EXPECT_FALSE(Panel.ContextCreated());
    EXPECT_EQ(Panel.findChild<QOpenGLWidget*>(), nullptr);
    Panel.setEnabled(true);
    EXPECT_TRUE(Panel.ContextCreated());
}

}  // namespace
}  // namespace sarnova
