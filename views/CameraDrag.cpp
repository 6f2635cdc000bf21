// The camera's drag navigation: pan, zoom, the three rotations, field of view, fly and the scroll
// bars. No Qt and no GL here; the view only feeds pixels in and renders.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <numbers>

#include "foundation/VkMathsIntersect.h"
#include "views/Camera.h"

namespace sarnova {

namespace {

constexpr double Pi = std::numbers::pi;
constexpr std::uint32_t FlyInterval = 25;
constexpr double ScrollRange = 20000;

// T(P) . M . T(-P): M applied about P.
TMMatrix About(const TMVector& P, const TMMatrix& M) {
    return MatrixMultiply(MatrixTranslationByVector(P), MatrixMultiply(M, MatrixTranslationByVector(VectorNegate(P))));
}

// A drag of F window heights as a scale factor: 1 + F downwards, 1 / (1 + |F|) upwards.
double DragFactor(double F) { return F >= 0 ? F + 1 : 1 / (std::fabs(F) + 1); }

// The turn of the view-centred rotations: about the world z axis by the horizontal fraction, about
// the camera's right axis by the vertical one.
TMMatrix DragRotation(double AboutZ, const TMVector& Right, double AboutRight) {
    return MatrixMultiply(MatrixFromRotationAngles(0, 0, AboutZ), MatrixRotationAboutAxis(Right, AboutRight));
}

}  // namespace

std::uint32_t ICameraView::Milliseconds() {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

TCameraFrustum TCamera::TransformFrustum(const TMMatrix& M, const TCameraFrustum& F) {
    TCameraFrustum R;
    R.TopLeft = MatrixTransformPoint(M, F.TopLeft);
    R.TopRight = MatrixTransformPoint(M, F.TopRight);
    R.BottomLeft = MatrixTransformPoint(M, F.BottomLeft);
    R.BottomRight = MatrixTransformPoint(M, F.BottomRight);
    R.Centre = MatrixTransformPoint(M, F.Centre);
    R.Width = VectorDistance(R.TopLeft, R.TopRight);
    R.Height = VectorDistance(R.TopLeft, R.BottomLeft);
    return R;
}

void TCamera::RecordRightAndUp() {
    RightVec = RightVector();
    UpVec = UpVector();
}

// ---- Pan ----

void TCamera::PanBegin(int X, int Y) {
    StartX = X;
    StartY = Y;
    StartTarget = Target;
    RecordRightAndUp();
    StartDistance = Distance();
    StartViewDirection = ViewDirection();
}

void TCamera::PanDrag(int X, int Y) {
    const double FX = double(StartX - X) * 2 / ViewportWidth();
    const double FY = double(Y - StartY) * 2 / ViewportHeight();
    Target = VectorAdd(StartTarget, VectorAdd(VectorScale(RightVec, FX), VectorScale(UpVec, FY)));
    Eye = VectorAdd(Target, VectorScale(StartViewDirection, -StartDistance));
}

// ---- Zoom ----

void TCamera::ZoomBegin(int X, int Y) {
    StartX = X;
    StartY = Y;
    StartPick = ScreenToWorld(X, Y, 0);
    StartEye = Eye;
    StartDistance = Distance();
    StartFrustum = FrustumSection(Near);
}

void TCamera::ZoomDrag(int X, int Y) {
    const double K = DragFactor(double(Y - StartY) * 5 / ViewportHeight());
    const TMVector D = ViewDirection();
    const TMPlane OnTarget = TargetPlane();
    if (Mode == cmPerspective) {
        // The eye slides along the ray through the point first under the mouse.
        const TMLine Ray = LineThroughPoints(StartEye, StartPick);
        const TMPlane Moved = PlaneFromNormalAndPoint(D, VectorAdd(Target, VectorScale(D, -StartDistance * K)));
        Eye = IntersectionPointOfLineAndPlane(Ray, Moved);
        Target = IntersectionPointOfLineAndPlane(LineFromDirectionAndPoint(D, Eye), OnTarget);
        return;
    }
    // The start window scaled by K about the start point; both planes are those before this step, so
    // the view direction stays exactly as it was.
    const TMPlane OnEye = ViewPlane();
    const TMMatrix M = About(StartPick, MatrixUniformScaling(K));
    const TCameraFrustum F = TransformFrustum(M, StartFrustum);
    const TMLine Axis = LineFromDirectionAndPoint(D, F.Centre);
    Target = IntersectionPointOfLineAndPlane(Axis, OnTarget);
    Eye = IntersectionPointOfLineAndPlane(Axis, OnEye);
    ViewSize = F.Height;
}

// ---- Rotations ----

void TCamera::RotateViewBegin(int X, int Y) {
    StartX = X;
    StartY = Y;
    RecordRightAndUp();
    StartEye = Eye;
    StartUp = Up;
}

void TCamera::RotateViewDrag(int X, int Y) {
    const double FX = double(X - StartX) / ViewportWidth();
    const double FY = double(StartY - Y) / ViewportHeight();
    const TMMatrix R = DragRotation(FX * Pi, RightVec, FY * Pi);
    Eye = MatrixTransformPoint(About(Target, R), StartEye);
    Up = MatrixTransformPoint(R, StartUp);
}

void TCamera::RotateCameraBegin(int X, int Y) {
    RotateViewBegin(X, Y);
    StartTarget = Target;
}

void TCamera::RotateCameraDrag(int X, int Y) {
    const double FX = double(StartX - X) / ViewportWidth();
    const double FY = double(Y - StartY) / ViewportHeight();
    const double A = FieldOfView * Pi / 180;
    const TMMatrix R = DragRotation(FX * A, RightVec, FY * A);
    Target = MatrixTransformPoint(About(StartEye, R), StartTarget);
    Up = MatrixTransformPoint(R, StartUp);
}

void TCamera::RotateWorldBegin(int X, int Y) {
    StartX = X;
    StartY = Y;
    RightVec = RightVector();
    StartEye = Eye;
    StartTarget = Target;
    StartUp = Up;
    Pivot = View.GetModelCentre();
}

void TCamera::RotateWorldDrag(int X, int Y) {
    const double FX = double(X - StartX) / ViewportWidth();
    const double FY = double(StartY - Y) / ViewportHeight();
    const TMMatrix R = DragRotation(FX * Pi, RightVec, FY * Pi);
    const TMMatrix M = About(Pivot, R);
    Eye = MatrixTransformPoint(M, StartEye);
    Target = MatrixTransformPoint(M, StartTarget);
    Up = MatrixTransformPoint(R, StartUp);
}

// ---- Field of view ----

void TCamera::FieldOfViewBegin(int X, int Y) {
    StartX = X;
    StartY = Y;
    StartFieldOfView = FieldOfView;
}

void TCamera::FieldOfViewDrag(int X, int Y) {
    SetFieldOfView(StartFieldOfView * DragFactor(double(Y - StartY) * 5 / ViewportHeight()));
}

// ---- Fly ----

void TCamera::FlyBegin(int X, int Y) {
    StartX = X;
    StartY = Y;
    FlyClock = View.Milliseconds();
    StartFlyTimer();
}

void TCamera::FlySteer(int X, int Y) {
    const int W = ViewportWidth() / 2;
    const int H = ViewportHeight() / 2;
    FlySteerX = double(W - X) / W;
    FlySteerY = double(Y - H) / H;
}

void TCamera::FlyStep() {
    const std::uint32_t Now = View.Milliseconds();
    const double Seconds = double(Now - FlyClock) / 1000;
    FlyClock = Now;
    const TMVector D = ViewDirection();
    const TMVector R = VectorNormalise(VectorCross(Up, D));
    const TMVector U = VectorCross(D, R);
    const double S = std::max(std::fabs(FlySteerX), std::fabs(FlySteerY));
    const double G = std::min(S, 1.0);
    const double L = std::min(2 * S, 1.0);
    const double Dist = Distance();
    // Full speed near the centre, slowing to nothing at the window's edge.
    const double Speed = G <= 0.5 ? Dist / 5 : (1 - (G - 0.5) * 2) * Dist / 5;
    const TMVector N = VectorNormalise(
        VectorAdd(D, VectorAdd(VectorScale(U, -L * FlySteerY / 100), VectorScale(R, -L * FlySteerX / 100))));
    Eye = VectorAdd(Eye, VectorScale(N, Speed * Seconds));
    Target = VectorAdd(Eye, VectorScale(N, Dist));
    Up = {0, 0, 1};
    View.Render();
}

void TCamera::FlyEnd() { StopFlyTimer(); }

void TCamera::StartFlyTimer() { View.StartTimer(FlyInterval, [this] { FlyStep(); }); }

void TCamera::StopFlyTimer() { View.StopTimer(); }

// ---- Scroll bars ----

void TCamera::ScrollBegin() {
    const TCameraFrustum F = FrustumSection(Distance());
    RightVec = VectorNormalise(VectorFromTo(Target, VectorMidpoint(F.TopRight, F.BottomRight)));
    UpVec = VectorNormalise(VectorFromTo(Target, VectorMidpoint(F.TopLeft, F.TopRight)));
    StartEye = Eye;
    StartTarget = Target;
    StartUp = Up;
}

void TCamera::HScrollBegin() {
    ScrollBegin();
    ScrollViewWidth = ViewWidth();
    ScrollExtentWidth = ProjectedWidth() * 1.01;
    ScrollExtentStart = ProjectedMinX() * 1.01;
}

void TCamera::HScrollTo(int Position) {
    const double X = Position / ScrollRange * ScrollExtentWidth + ScrollExtentStart + ScrollViewWidth / 2;
    Target = VectorAdd(StartTarget, VectorScale(RightVec, X));
    Eye = VectorAdd(StartEye, VectorScale(RightVec, X));
}

void TCamera::VScrollBegin() {
    ScrollBegin();
    ScrollViewHeight = ViewHeight();
    ScrollExtentHeight = ProjectedHeight() * 1.01;
    ScrollExtentEnd = ProjectedMaxY() * 1.01;
}

void TCamera::VScrollTo(int Position) {
    const double Y = ScrollExtentEnd - (Position / ScrollRange * ScrollExtentHeight + ScrollViewHeight / 2);
    Target = VectorAdd(StartTarget, VectorScale(UpVec, Y));
    Eye = VectorAdd(StartEye, VectorScale(UpVec, Y));
}

}  // namespace sarnova
