// The camera's drag navigation without OpenGL: every drag is computed from its begin, so the tests
// drag, check where the camera went, and drag back.
#include <gtest/gtest.h>

#include <numbers>

#include "foundation/TextUtils.h"
#include "views/Camera.h"
#include "views/FakeCameraView.h"

using namespace sarnova;

namespace {

class CameraDragTest : public ::testing::Test {
protected:
    CameraDragTest() : Camera(View) { Camera.SetViewport({0, 0, View.Width, View.Height}); }

    void Look(const TMVector& Direction, const TMVector& Up, const TMVector& Target, double Distance) {
        Camera.SetTarget(Target);
        Camera.SetEye(VectorAdd(Target, VectorScale(VectorNormalise(Direction), -Distance)));
        Camera.SetUp(Up);
        Camera.Apply();
    }

    static void ExpectNear(const TMVector& A, const TMVector& B, double Tol = 1e-9) {
        EXPECT_TRUE(VectorsEqualWithin(A, B, Tol)) << VectorToStr(A) << " vs " << VectorToStr(B);
    }

    TFakeView View;
    TCamera Camera;
};

constexpr double Degrees = std::numbers::pi / 180;

}  // namespace

TEST_F(CameraDragTest, PanMovesTheTargetAgainstTheMouseByHalfWindows) {
    Look({0.3, -1, -0.5}, {0, 0, 1}, {1, 2, 3}, 50);
    const TMVector T0 = Camera.GetTarget(), E0 = Camera.GetEye();
    const TMVector Right = Camera.RightVector(), Up = Camera.UpVector();
    Camera.PanBegin(100, 100);
    Camera.PanDrag(300, 100);  // half the width to the right
    ExpectNear(Camera.GetTarget(), VectorAdd(T0, VectorNegate(Right)));
    ExpectNear(VectorFromTo(Camera.GetEye(), Camera.GetTarget()), VectorFromTo(E0, T0));
    Camera.PanDrag(100, 250);  // half the height down
    ExpectNear(Camera.GetTarget(), VectorAdd(T0, Up));
    Camera.PanDrag(100, 100);
    ExpectNear(Camera.GetTarget(), T0);
    ExpectNear(Camera.GetEye(), E0);
}

TEST_F(CameraDragTest, AFifthOfTheHeightDoublesOrHalvesAndThePointUnderTheMouseStays) {
    struct TCase {
        TCameraMode Mode;
        int DY;
        double Factor;
    };
    const TCase Cases[] = {
        {cmPerspective, 60, 2}, {cmPerspective, -60, 0.5}, {cmParallel, 60, 2}, {cmParallel, -60, 0.5}};
    for (const TCase& C : Cases) {
        Camera.SetMode(C.Mode);
        Camera.SetViewSize(30);
        Look({0.3, -1, -0.5}, {0, 0, 1}, {1, 2, 3}, 50);
        const TPoint Press{120, 90};
        const TMVector Picked = Camera.ScreenToWorld(Press.X, Press.Y, 0);
        const double Distance = Camera.Distance(), Size = Camera.GetViewSize();
        const TMVector Direction = Camera.ViewDirection();
        Camera.ZoomBegin(Press.X, Press.Y);
        Camera.ZoomDrag(Press.X + 37, Press.Y + C.DY);  // sideways motion does not count
        const std::string Label = std::to_string(C.Mode) + "/" + std::to_string(C.DY);
        if (C.Mode == cmPerspective)
            EXPECT_NEAR(Camera.Distance(), Distance * C.Factor, 1e-9) << Label;
        else
            EXPECT_NEAR(Camera.GetViewSize(), Size * C.Factor, 1e-9) << Label;
        ExpectNear(Camera.ViewDirection(), Direction);
        Camera.Apply();
        const TPoint Now = Camera.WorldToScreenVector(Picked);
        EXPECT_NEAR(Now.X, Press.X, 1) << Label;
        EXPECT_NEAR(Now.Y, Press.Y, 1) << Label;
        Camera.ZoomDrag(Press.X, Press.Y);
        EXPECT_NEAR(Camera.Distance(), Distance, 1e-9) << Label;
        if (C.Mode == cmParallel) {
            EXPECT_NEAR(Camera.GetViewSize(), Size, 1e-9) << Label;
        }
    }
}

TEST_F(CameraDragTest, RotationsTurnAboutTheTargetTheEyeOrTheModel) {
    // A window width about the target: half a turn about the vertical through it.
    Look({1, 1, -0.5}, {0, 0, 1}, {1, 2, 3}, 30);
    const TMVector E0 = Camera.GetEye(), T = Camera.GetTarget();
    Camera.RotateViewBegin(100, 100);
    Camera.RotateViewDrag(500, 100);
    ExpectNear(Camera.GetEye(), {2 * T.X - E0.X, 2 * T.Y - E0.Y, E0.Z}, 1e-9);
    ExpectNear(Camera.GetUp(), {0, 0, 1});
    Camera.RotateViewDrag(100, 25);  // a quarter of the height: 45 degrees about the right axis
    EXPECT_NEAR(Camera.Distance(), 30, 1e-9);
    EXPECT_NEAR(VectorAngle(VectorFromTo(T, E0), VectorFromTo(T, Camera.GetEye())), 45 * Degrees, 1e-9);
    Camera.RotateViewDrag(100, 100);
    ExpectNear(Camera.GetEye(), E0);

    // About the eye: a window width turns the look by one field of view.
    Look({1, 0, 0}, {0, 0, 1}, {0, 0, 0}, 30);
    const TMVector Eye = Camera.GetEye(), D0 = Camera.ViewDirection();
    Camera.RotateCameraBegin(300, 100);
    Camera.RotateCameraDrag(-100, 100);
    ExpectNear(Camera.GetEye(), Eye);
    EXPECT_NEAR(Camera.Distance(), 30, 1e-9);
    EXPECT_NEAR(VectorAngle(D0, Camera.ViewDirection()), 35 * Degrees, 1e-9);
    EXPECT_NEAR(Camera.ViewDirection().Z, 0, 1e-12);

    // About the model centre: eye and target turn together around it.
    View.Extents = MakeBox(0, 0, 0, 10, 10, 10);
    Look({1, 1, -0.5}, {0, 0, 1}, {1, 2, 3}, 30);
    const TMVector E1 = Camera.GetEye(), T1 = Camera.GetTarget(), C{5, 5, 5};
    Camera.RotateWorldBegin(0, 0);
    Camera.RotateWorldDrag(400, 0);
    ExpectNear(Camera.GetEye(), {2 * C.X - E1.X, 2 * C.Y - E1.Y, E1.Z}, 1e-9);
    ExpectNear(Camera.GetTarget(), {2 * C.X - T1.X, 2 * C.Y - T1.Y, T1.Z}, 1e-9);
}

TEST_F(CameraDragTest, FieldOfViewStopsAtNinetyAndNeverReachesZero) {
    Look({1, 0, 0}, {0, 0, 1}, {0, 0, 0}, 30);
    Camera.FieldOfViewBegin(200, 150);
    Camera.FieldOfViewDrag(200, 210);
    EXPECT_NEAR(Camera.GetFieldOfView(), 70, 1e-12);
    Camera.FieldOfViewDrag(200, 3150);
    EXPECT_EQ(Camera.GetFieldOfView(), 90);
    Camera.FieldOfViewDrag(200, -30000);
    EXPECT_GT(Camera.GetFieldOfView(), 0);
    EXPECT_LT(Camera.GetFieldOfView(), 0.1);
}

TEST_F(CameraDragTest, FlyingGoesAheadAtAFifthOfTheDistanceASecondAndTurnsTowardsTheMouse) {
    Look({1, 0, 0}, {0, 1, 1}, {0, 0, 0}, 50);
    Camera.FlyBegin(200, 150);
    EXPECT_EQ(View.TimerInterval, 25u);
    ASSERT_TRUE(View.TimerTick);
    Camera.FlySteer(200, 150);
    View.Now += 1000;
    View.TimerTick();
    ExpectNear(Camera.GetEye(), {-40, 0, 0});
    ExpectNear(Camera.GetTarget(), {10, 0, 0});
    ExpectNear(Camera.GetUp(), {0, 0, 1});
    EXPECT_EQ(View.Renders, 1);

    // At the left edge: no speed, but the flight turns left.
    Camera.FlySteer(0, 150);
    EXPECT_EQ(Camera.GetFlySteerX(), 1);
    View.Now += 500;
    View.TimerTick();
    ExpectNear(Camera.GetEye(), {-40, 0, 0});
    EXPECT_GT(Camera.ViewDirection().Y, 0);
    EXPECT_NEAR(Camera.Distance(), 50, 1e-9);

    Camera.FlyEnd();
    EXPECT_FALSE(View.TimerTick);
}

TEST_F(CameraDragTest, ScrollingMovesAlongTheUnitRightAndUpOverTheProjectedExtents) {
    Look({0.3, -1, -0.5}, {0, 0, 1}, {1, 2, 3}, 50);
    const TMVector T0 = Camera.GetTarget(), E0 = Camera.GetEye();
    const TMVector Right = VectorNormalise(Camera.RightVector()), Up = VectorNormalise(Camera.UpVector());
    const double Width = Camera.ProjectedWidth(), Height = Camera.ProjectedHeight();
    Camera.HScrollBegin();
    Camera.HScrollTo(4000);
    const TMVector T1 = Camera.GetTarget();
    Camera.HScrollTo(6000);
    ExpectNear(VectorFromTo(T1, Camera.GetTarget()), VectorScale(Right, 0.1 * Width * 1.01));
    ExpectNear(VectorFromTo(E0, Camera.GetEye()), VectorFromTo(T0, Camera.GetTarget()));

    Camera.VScrollBegin();
    const TMVector T2 = Camera.GetTarget();
    Camera.VScrollTo(4000);
    const TMVector T3 = Camera.GetTarget();
    Camera.VScrollTo(6000);
    ExpectNear(VectorFromTo(T3, Camera.GetTarget()), VectorScale(Up, -0.1 * Height * 1.01));
    EXPECT_NEAR(VectorDot(VectorFromTo(T2, T3), Right), 0, 1e-9);
}

TEST_F(CameraDragTest, TransformFrustumMeasuresTheCarriedCorners) {
    Look({0, 0, -1}, {0, 1, 0}, {0, 0, 0}, 30);
    const TCameraFrustum F = Camera.FrustumSection(10);
    const TCameraFrustum G = TCamera::TransformFrustum(MatrixUniformScaling(2), F);
    EXPECT_NEAR(G.Width, 2 * F.Width, 1e-12);
    EXPECT_NEAR(G.Height, 2 * F.Height, 1e-12);
    ExpectNear(G.Centre, VectorScale(F.Centre, 2));
}
