// The view's side of the camera drags: saving the camera, marking the drag, rendering each step and
// keeping the scroll bars on the camera; and the fly timer.
#include <QTimer>

#include <cmath>
#include <climits>

#include "views/OpenGLView.h"

namespace sarnova {

namespace {

constexpr double ScrollRange = 20000;

// A scroll-bar value cut through single precision; false when there is none (a model without
// projected extents).
bool ScrollValue(double X, int& Value) {
    if (!(std::fabs(X) < double(INT_MAX) / 2)) return false;
    Value = static_cast<int>(std::trunc(static_cast<float>(X)));
    return true;
}

}  // namespace

void TOpenGLView::StartDrag(TInteractionMode Mode) {
    SaveCameraState();
    State |= vfDragging;
    DragMode = Mode;
}

void TOpenGLView::DragStepDone() {
    Render();
    UpdateScrollBars();
}

void TOpenGLView::FinishDrag() {
    State &= ~vfDragging;
    DragStepDone();
}

void TOpenGLView::PanBegin(int X, int Y) {
    StartDrag(imPan);
    SetCursor(12);
    Camera->PanBegin(X, Y);
}

void TOpenGLView::PanDrag(int X, int Y) {
    Camera->PanDrag(X, Y);
    DragStepDone();
}

void TOpenGLView::PanEnd() {
    State &= ~vfDragging;
    Camera->PanEnd();
    UpdateCursor();
    DragStepDone();
}

void TOpenGLView::ZoomBegin(int X, int Y) {
    StartDrag(imZoom);
    Camera->ZoomBegin(X, Y);
}

void TOpenGLView::ZoomDrag(int X, int Y) {
    Camera->ZoomDrag(X, Y);
    DragStepDone();
}

void TOpenGLView::ZoomEnd() {
    Camera->ZoomEnd();
    FinishDrag();
}

void TOpenGLView::RotateWorldBegin(int X, int Y) {
    StartDrag(imRotateWorld);
    Camera->RotateWorldBegin(X, Y);
}

void TOpenGLView::RotateWorldDrag(int X, int Y) {
    Camera->RotateWorldDrag(X, Y);
    DragStepDone();
}

void TOpenGLView::RotateWorldEnd() {
    Camera->RotateWorldEnd();
    FinishDrag();
}

void TOpenGLView::RotateViewBegin(int X, int Y) {
    StartDrag(imRotateView);
    Camera->RotateViewBegin(X, Y);
}

void TOpenGLView::RotateViewDrag(int X, int Y) {
    Camera->RotateViewDrag(X, Y);
    DragStepDone();
}

void TOpenGLView::RotateViewEnd() {
    Camera->RotateViewEnd();
    FinishDrag();
}

void TOpenGLView::RotateCameraBegin(int X, int Y) {
    StartDrag(imRotateCamera);
    Camera->RotateCameraBegin(X, Y);
}

void TOpenGLView::RotateCameraDrag(int X, int Y) {
    Camera->RotateCameraDrag(X, Y);
    DragStepDone();
}

void TOpenGLView::RotateCameraEnd() {
    Camera->RotateCameraEnd();
    FinishDrag();
}

void TOpenGLView::FieldOfViewBegin(int X, int Y) {
    StartDrag(imFieldOfView);
    Camera->FieldOfViewBegin(X, Y);
}

void TOpenGLView::FieldOfViewDrag(int X, int Y) {
    Camera->FieldOfViewDrag(X, Y);
    DragStepDone();
}

void TOpenGLView::FieldOfViewEnd() {
    Camera->FieldOfViewEnd();
    FinishDrag();
}

void TOpenGLView::FlyBegin(int X, int Y) {
    StartDrag(imFly);
    Camera->FlyBegin(X, Y);
}

void TOpenGLView::FlyDrag(int X, int Y) {
    Camera->FlySteer(X, Y);
    DragStepDone();
}

void TOpenGLView::FlyEnd() {
    State &= ~vfDragging;
    Camera->FlyEnd();
    DragStepDone();
}

void TOpenGLView::StartTimer(std::uint32_t Interval, std::function<void()> Tick) {
    FlyTimer = std::make_unique<QTimer>();
    FlyTimer->setInterval(int(Interval));
    QObject::connect(FlyTimer.get(), &QTimer::timeout, this, [this, Tick = std::move(Tick)] {
        // A tick that fails must not fail again every 25 ms: the flight stops and the error shows.
        try {
            Tick();
        } catch (const std::exception& E) {
            StopTimer();
            ReportError(E);
        }
    });
    FlyTimer->start();
}

void TOpenGLView::StopTimer() {
    if (!FlyTimer) return;
    // It may be its own tick that stops it.
    FlyTimer->stop();
    FlyTimer.release()->deleteLater();
}

// ---- Scroll bars ----

void TOpenGLView::UpdateScrollBars() {
    TCamera& C = *Camera;
    int Page = 0, Position = 0;
    if (ScrollValue(C.ViewWidth() / C.ProjectedWidth() * ScrollRange, Page) &&
        ScrollValue((-C.ProjectedMinX() - C.ViewWidth() / 2) / C.ProjectedWidth() * ScrollRange, Position)) {
        HorzScrollBar->SetPageSize(Page);
        HorzScrollBar->SetPosition(Position);
        HorzScrollBar->SmallChange = Page / 10;
        HorzScrollBar->SetLargeChange(Page);
    }
    if (ScrollValue(C.ViewHeight() / C.ProjectedHeight() * ScrollRange, Page) &&
        ScrollValue((C.ProjectedMaxY() - C.ViewHeight() / 2) / C.ProjectedHeight() * ScrollRange, Position)) {
        VertScrollBar->SetPageSize(Page);
        VertScrollBar->SetPosition(Position);
        VertScrollBar->SmallChange = Page / 10;
        VertScrollBar->SetLargeChange(Page);
    }
}

void TOpenGLView::DoScroll(int Bar, int Position) {
    if (State & vfDragging) {
        if (Bar == 0)
            Camera->HScrollTo(Position);
        else if (Bar == 1)
            Camera->VScrollTo(Position);
        Render();
        return;
    }
    // The first notification of a scroll only records where it starts.
    SaveCameraState();
    State |= vfDragging;
    if (Bar == 0)
        Camera->HScrollBegin();
    else if (Bar == 1)
        Camera->VScrollBegin();
}

void TOpenGLView::DoEndScroll(int Bar, int) {
    if (!(State & vfDragging)) return;
    State &= ~vfDragging;
    if (Bar == 0)
        Camera->HScrollEnd();
    else if (Bar == 1)
        Camera->VScrollEnd();
}

}  // namespace sarnova
