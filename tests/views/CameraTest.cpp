// The camera's arithmetic, without OpenGL: a view of fixed size and extents stands in for the widget.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "foundation/Errors.h"
#include "views/Camera.h"
#include "views/FakeCameraView.h"

using namespace sarnova;

namespace {

class CameraTest : public ::testing::Test {
protected:
    CameraTest() : Camera(View) { Camera.SetViewport({0, 0, View.Width, View.Height}); }

    // Looks along Direction at Target from Distance away.
    void Look(const TMVector& Direction, const TMVector& Up, const TMVector& Target = {}, double Distance = 50) {
        Camera.SetTarget(Target);
        Camera.SetEye(VectorAdd(Target, VectorScale(VectorNormalise(Direction), -Distance)));
        Camera.SetUp(Up);
        Camera.Apply();
    }

    void ExpectNear(const TMVector& A, const TMVector& B, double Tol) {
        EXPECT_NEAR(A.X, B.X, Tol);
        EXPECT_NEAR(A.Y, B.Y, Tol);
        EXPECT_NEAR(A.Z, B.Z, Tol);
    }

    TFakeView View;
    TCamera Camera;
};

}  // namespace

TEST_F(CameraTest, FieldOfViewIsClampedToZeroToNinety) {
    const std::pair<double, double> Cases[] = {
        {-5, 0}, {120, 90}, {35, 35}, {90, 90}, {std::numeric_limits<double>::quiet_NaN(), 0}};
    for (auto [In, Out] : Cases) {
        Camera.SetFieldOfView(In);
        EXPECT_EQ(Camera.GetFieldOfView(), Out) << In;
    }
}

TEST_F(CameraTest, ZoomInThenOutDoesNotReturnToTheStart) {
    Look({0, 0, -1}, {0, 1, 0}, {1, 2, 3}, 50);
    Camera.ZoomIn();
    EXPECT_NEAR(Camera.Distance(), 40, 1e-9);
    Camera.ZoomOut();
    EXPECT_NEAR(Camera.Distance(), 48, 1e-9);
    ExpectNear(Camera.GetTarget(), {1, 2, 3}, 1e-12);

    Camera.SetMode(cmParallel);
    const double Size = Camera.GetViewSize();
    Camera.ZoomIn();
    Camera.ZoomOut();
    EXPECT_NEAR(Camera.GetViewSize(), Size * 0.96, 1e-9);
    EXPECT_NEAR(Camera.Distance(), 48, 1e-9);
}

TEST_F(CameraTest, SwitchingToParallelKeepsTheWindowAtTheFarDistance) {
    Look({0, 0, -1}, {0, 1, 0});
    ASSERT_GT(Camera.GetFar(), 0);
    const double Expected = 2 * Camera.GetFar() * std::tan(35.0 / 2 * std::numbers::pi / 180);
    Camera.SetMode(cmParallel);
    EXPECT_NEAR(Camera.GetViewSize(), Expected, 1e-9);
    // Setting the same mode again changes nothing.
    Camera.SetViewSize(7);
    Camera.SetMode(cmParallel);
    EXPECT_EQ(Camera.GetViewSize(), 7);
}

TEST_F(CameraTest, ClippingFollowsTheModelExtents) {
    Look({0, 0, -1}, {0, 1, 0}, {}, 50);
    const double R = std::sqrt(300.0);
    EXPECT_DOUBLE_EQ(Camera.GetNear(), 0.01);
    EXPECT_NEAR(Camera.GetFar(), 50 + 10 * R, 1e-9);
    EXPECT_NEAR(Camera.GetAspect(), 400.0 / 300.0, 1e-12);
    Camera.SetMode(cmParallel);
    Camera.Apply();
    EXPECT_NEAR(Camera.GetNear(), 50 - 10 * R, 1e-9);
    // A tiny model close to the eye still gets a depth range.
    View.Extents = MakeBox(0, 0, 0, 0, 0, 0);
    Camera.SetMode(cmPerspective);
    Camera.SetEye({0, 0, 0});
    Camera.Apply();
    EXPECT_DOUBLE_EQ(Camera.GetFar(), 0.02);
}

TEST_F(CameraTest, PixelsAndWorldPointsConvertBothWays) {
    for (TCameraMode Mode : {cmPerspective, cmParallel}) {
        Camera.SetMode(Mode);
        Look({0, 0, -1}, {0, 1, 0}, {5, 5, 0}, 50);
        // The target sits in the middle of the window; +y is up, so it goes to smaller pixel rows.
        EXPECT_EQ(Camera.WorldToScreen(5, 5, 0), (TPoint{200, 150})) << int(Mode);
        const TPoint Up = Camera.WorldToScreen(5, 8, 0);
        const TPoint Right = Camera.WorldToScreen(8, 5, 0);
        EXPECT_LT(Up.Y, 150);
        EXPECT_EQ(Up.X, 200);
        EXPECT_GT(Right.X, 200);
        // In the XY view the pixel's point is put on z = 0; in parallel it is the point under the
        // pixel (to the pixel), in perspective the one on the near plane.
        const TMVector P = Camera.ScreenToWorld(Right.X, Right.Y, 0);
        EXPECT_EQ(P.Z, 0);
        if (Mode == cmParallel) {
            const double Pixel = Camera.WorldPerPixel(P);
            EXPECT_NEAR(P.X, 8, Pixel);
            EXPECT_NEAR(P.Y, 5, Pixel);
        }
    }
}

TEST_F(CameraTest, AnObliqueViewReturnsThePointOnTheNearPlane) {
    Look({1, 1, -1}, {0, 0, 1}, {}, 50);
    const TMVector P = Camera.ScreenToWorld(120, 80, 0);
    EXPECT_NEAR(VectorDot(VectorFromTo(Camera.GetEye(), P), Camera.ViewDirection()), Camera.GetNear(), 1e-6);
    const TMLine Ray = Camera.ScreenToRay(120, 80);
    ExpectNear(Ray.Point, P, 1e-9);
}

TEST_F(CameraTest, TheRayThroughTheCentrePointsAtTheViewer) {
    Look({0, 0, -1}, {0, 1, 0});
    const TMLine Ray = Camera.ScreenToRay(200, 150);
    ExpectNear(Ray.Direction, {0, 0, 1}, 1e-9);
    ExpectNear(Ray.Point, {0, 0, 50 - 0.01}, 1e-6);
}

TEST_F(CameraTest, ConstrainedPickingStaysOnTheConstraint) {
    Look({1, 1, -1}, {0, 0, 1}, {}, 50);
    const TMVector Base{1, 2, 5};
    const TPoint Pixel{250, 100};
    EXPECT_NEAR(Camera.ScreenToWorldConstrained(Base, Pixel, epXY).Z, 5, 1e-9);
    EXPECT_NEAR(Camera.ScreenToWorldConstrained(Base, Pixel, epYZ).X, 1, 1e-9);
    EXPECT_NEAR(Camera.ScreenToWorldConstrained(Base, Pixel, epZX).Y, 2, 1e-9);
    const TMVector OnX = Camera.ScreenToWorldConstrained(Base, Pixel, epAlongX);
    EXPECT_NEAR(OnX.Y, 2, 1e-9);
    EXPECT_NEAR(OnX.Z, 5, 1e-9);
    const TMVector Free = Camera.ScreenToWorldConstrained(Base, Pixel, epView);
    EXPECT_NEAR(VectorDot(VectorFromTo(Base, Free), Camera.ViewDirection()), 0, 1e-9);
    // The plain form has no plane or direction of its own: kinds 7 and 8 constrain nothing.
    ExpectNear(Camera.ScreenToWorldConstrained(Base, Pixel, epInPlane), Camera.ScreenToWorldPoint(Pixel), 1e-12);

    TEditPlane Along;
    Along.Kind = epAlongVector;
    Along.Direction = {0, 1, 1};
    const TMVector OnVector = Camera.ScreenToWorldEditConstraint(Base, Pixel, Along);
    EXPECT_NEAR(OnVector.X, 1, 1e-9);
    EXPECT_NEAR(OnVector.Z - 5, OnVector.Y - 2, 1e-9);

    // Looking along X in parallel, every pick ray runs along X: a drag along X has no closest point.
    Camera.SetMode(cmParallel);
    Look({-1, 0, 0}, {0, 0, 1});
    try {
        Camera.ScreenToWorldConstrained(Base, Pixel, epAlongX);
        ADD_FAILURE();
    } catch (const EError& E) {
        EXPECT_STREQ(E.what(), "VkMaths - PointOnLineClosestToLine: attempted with parallel lines");
    }
}

TEST_F(CameraTest, ViewDirectionDecidesTheAxisPlanes) {
    struct TCase {
        TMVector Direction;
        TPlaneDirection Code;
        TEditPlaneSet Facing;
        TEditPlaneKind Nearest;
    };
    const TCase Cases[] = {
        {{0, 0, -1}, 0, 1u << epXY, epXY},
        {{1, 0, 0}, 1, 1u << epYZ, epYZ},
        {{0, -1, 0}, 2, 1u << epZX, epZX},
        {{0.6, 0, -0.8}, 6, (1u << epXY) | (1u << epYZ), epXY},
        {{0.8, 0.1, -0.6}, 6, (1u << epXY) | (1u << epYZ), epYZ},
        {{1, 1, 1}, 6, (1u << epXY) | (1u << epYZ) | (1u << epZX), epXY},
    };
    for (const TCase& C : Cases) {
        Camera.SetTarget(VectorAdd(Camera.GetEye(), C.Direction));
        EXPECT_EQ(Camera.ViewDirectionCode(), C.Code) << VectorToStr(C.Direction);
        EXPECT_EQ(Camera.FacingAxisPlanes(), C.Facing) << VectorToStr(C.Direction);
        EXPECT_EQ(Camera.NearestAxisPlaneCode(), C.Nearest) << VectorToStr(C.Direction);
    }
}

TEST_F(CameraTest, ParallelFitFillsTheWindowWithTheLargerExtent) {
    View.Width = 1000;
    View.Height = 800;
    Camera.SetViewport({0, 0, 1000, 800});
    Camera.SetMode(cmParallel);
    struct TCase {
        TMBox Box;
        bool WidthLimits;
    };
    const TCase Cases[] = {{MakeBox(0, 0, -1, 40, 10, 1), true}, {MakeBox(0, 0, -1, 10, 40, 1), false}};
    for (const TCase& C : Cases) {
        View.Extents = C.Box;
        Look({0, 0, -1}, {0, 1, 0});
        Camera.FitToBox(C.Box);
        Camera.Apply();
        const double Fill = C.WidthLimits ? Camera.ProjectedWidth() / Camera.ViewWidth()
                                          : Camera.ProjectedHeight() / Camera.ViewHeight();
        EXPECT_NEAR(Fill, 1 / 1.1, 0.003) << C.WidthLimits;
        ExpectNear(Camera.GetTarget(), BoxCentre(C.Box), 1e-9);
    }
}

TEST_F(CameraTest, PerspectiveFitKeepsTheWholeBoxInView) {
    const TMBox Box = MakeBox(-30, -5, 0, 50, 5, 12);
    View.Extents = Box;
    Look({-0.866, -0.5, 0.1736}, {0, 0, 1}, {}, 500);
    const TMVector Direction = Camera.ViewDirection();
    Camera.FitToBox(Box);
    Camera.Apply();
    ExpectNear(Camera.ViewDirection(), Direction, 1e-9);
    int MinX = 1 << 30, MaxX = -(1 << 30), MinY = 1 << 30, MaxY = -(1 << 30);
    for (int I = 0; I < 8; ++I) {
        const TPoint P = Camera.WorldToScreen((I & 1) ? Box.Max.X : Box.Min.X, (I & 2) ? Box.Max.Y : Box.Min.Y,
                                              (I & 4) ? Box.Max.Z : Box.Min.Z);
        MinX = std::min(MinX, P.X), MaxX = std::max(MaxX, P.X);
        MinY = std::min(MinY, P.Y), MaxY = std::max(MaxY, P.Y);
    }
    EXPECT_GE(MinX, 0);
    EXPECT_LE(MaxX, View.Width);
    EXPECT_GE(MinY, 0);
    EXPECT_LE(MaxY, View.Height);
    // The box is pushed against the frustum's sides: it spans most of the limiting window extent.
    EXPECT_GT(std::max((MaxX - MinX) / double(View.Width), (MaxY - MinY) / double(View.Height)), 0.8);
}

TEST_F(CameraTest, ZoomWindowInParallelShowsTheRectangle) {
    Camera.SetMode(cmParallel);
    Look({0, 0, -1}, {0, 1, 0});
    Camera.SetViewSize(30);
    Camera.Apply();
    const TMVector Corner1 = Camera.ScreenToWorld(100, 50, 0);
    const TMVector Corner2 = Camera.ScreenToWorld(300, 150, 0);
    Camera.ZoomWindow({300, 150, 100, 50});  // corners given the other way round
    // A 200 x 100 rectangle has the window's aspect 4:3 exceeded: its width fills the window.
    EXPECT_NEAR(Camera.GetViewSize(), std::fabs(Corner2.X - Corner1.X) / Camera.GetAspect(), 1e-9);
    EXPECT_NEAR(Camera.GetTarget().X, (Corner1.X + Corner2.X) / 2, 0.1);
    EXPECT_NEAR(Camera.GetTarget().Y, (Corner1.Y + Corner2.Y) / 2, 0.1);
    EXPECT_NEAR(Camera.Distance(), 50, 1e-9);
}

TEST_F(CameraTest, ZoomWindowInPerspectiveNeedsDrawnPointsInTheRectangle) {
    Look({0, 0, -1}, {0, 1, 0});
    const auto Before = Camera.SaveState();
    Camera.ZoomWindow({10, 10, 60, 60});
    EXPECT_EQ(View.Found.Rect, (TRect{10, 10, 60, 60}));
    EXPECT_EQ(Camera.GetEye(), Before->Eye);
    EXPECT_EQ(Camera.GetTarget(), Before->Target);

    View.Found.Count = 2;
    View.Found.Extents = MakeBox(-2, -1, 0, 2, 1, 0);
    View.Found.Mean = {0, 0, 0};
    Camera.ZoomWindow({150, 100, 250, 200});
    ExpectNear(Camera.GetTarget(), {0, 0, 0}, 1e-12);
    // A square rectangle in a 4:3 window: its height limits, F = 100 / 300 of the way from the found
    // points back to the eye.
    EXPECT_NEAR(Camera.Distance(), 50.0 / 3, 1e-9);
    ExpectNear(Camera.ViewDirection(), {0, 0, -1}, 1e-12);
}

TEST_F(CameraTest, SavedStatesRestoreTheCamera) {
    Look({1, 0, 0}, {0, 0, 1}, {3, 4, 5}, 20);
    Camera.SetFieldOfView(50);
    TCameraInfoStack Stack;
    EXPECT_EQ(Stack.Pop(), nullptr);
    Stack.Push(Camera.SaveState());
    Camera.SetMode(cmParallel);
    Camera.SetViewSize(3);
    Camera.SetFieldOfView(10);
    Camera.SetViewDirection({0, 1, 0});
    EXPECT_NEAR(Camera.Distance(), 20, 1e-12);
    const auto Saved = Stack.Pop();
    ASSERT_NE(Saved, nullptr);
    EXPECT_TRUE(Stack.Empty());
    Camera.Restore(*Saved);
    EXPECT_EQ(Camera.GetMode(), cmPerspective);
    EXPECT_EQ(Camera.GetFieldOfView(), 50);
    ExpectNear(Camera.GetTarget(), {3, 4, 5}, 1e-12);
    ExpectNear(Camera.GetEye(), {-17, 4, 5}, 1e-12);
}

TEST_F(CameraTest, FrustumVectorsSpanTheViewAtTheTarget) {
    Camera.SetMode(cmParallel);
    Look({0, 0, -1}, {0, 1, 0});
    Camera.SetViewSize(30);
    ExpectNear(Camera.UpVector(), {0, 15, 0}, 1e-9);
    ExpectNear(Camera.RightVector(), {15 * 400.0 / 300.0, 0, 0}, 1e-9);
    // One pixel of a 300 pixel high window showing 30 units.
    EXPECT_NEAR(Camera.WorldPerPixel({0, 0, 0}), 0.1, 0.002);
    View.Measuring = true;
    EXPECT_EQ(Camera.WorldPerPixel({0, 0, 0}), 0);
}
