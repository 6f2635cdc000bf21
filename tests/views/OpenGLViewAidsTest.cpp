// The view's own aids in a real OpenGL context (run under Xvfb): the grid, the snap and edit markers,
// the axis icon, the camera drags as the input code calls them, the fly timer and the scroll bars.
#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <bit>
#include <map>

#include "views/OpenGLViewFixture.h"
#include "views/OpenGLViewGlyphs.h"

using namespace sarnova;

namespace {

class OpenGLViewAidsTest : public OpenGLViewFixture {
protected:
    int CountAround(TPoint P, int Half, const QColor& Colour) {
        int N = 0;
        for (int Y = P.Y - Half; Y < P.Y + Half; ++Y)
            for (int X = P.X - Half; X < P.X + Half; ++X) N += PixelAt(X, Y) == Colour;
        return N;
    }
};

const QColor Lime(0, 255, 0), Gray(128, 128, 128), Red(255, 0, 0), White(255, 255, 255);

int Bits(TViewGlyph Glyph) {
    int N = 0;
    for (std::uint16_t Row : ViewGlyphRows(Glyph)) N += std::popcount(Row);
    return N;
}

}  // namespace

TEST_F(OpenGLViewAidsTest, TheGridDrawsMinorAndMajorLinesAndKeepsTheLineColour) {
    TViewGrid& Grid = View->GetGrid();
    Grid.SetEnabled(true);
    Grid.SetMajorColor(clRed);
    TColor Seen = 0;
    View->OnRedraw = [&](void*, IGraphics& G) { Seen = G.GetLineColor(); };
    View->SetLineColor(clAqua);
    View->SetProjection(cmParallel);
    View->ViewXY();
    // The default box of +-10 in 160 pixels: cells of 2 units, the major lines at 0 and +-20.
    ASSERT_EQ(Grid.GetPixelMultiplier() * Grid.GetGridSize(), 2);
    EXPECT_EQ(Seen, clAqua);
    EXPECT_TRUE(ShowsNear(View->WorldToScreen(0, 1, 0), Red));
    EXPECT_TRUE(ShowsNear(View->WorldToScreen(4, 1, 0), Gray));
    EXPECT_TRUE(ShowsNear(View->WorldToScreen(1, -6, 0), Gray));
    EXPECT_FALSE(ShowsNear(View->WorldToScreen(1, 1, 0), Gray));

    Grid.SetEnabled(false);
    View->Render();
    EXPECT_FALSE(ShowsNear(View->WorldToScreen(4, 1, 0), Gray));
}

TEST_F(OpenGLViewAidsTest, TheSnapMarkerShowsItsGlyphAndIsErasedOnce) {
    View->ViewXY();
    const TPoint P = View->WorldToScreen(0, 0, 0);
    View->ShowSnapMarker({0, 0, 0}, 4);
    View->Render();
    EXPECT_EQ(CountAround(P, 12, Lime), Bits(vgThickSquare));

    // A move within 1e-4 leaves it where it is.
    View->BeginOverlayDraw();
    View->ShowSnapMarker({1e-5, 0, 0}, 4);
    View->EndOverlayDraw();
    EXPECT_TRUE(View->GetSnapMarker().IsDrawn());
    EXPECT_EQ(CountAround(P, 12, Lime), Bits(vgThickSquare));

    // Hidden in an overlay bracket: painted over in the background colour.
    View->BeginOverlayDraw();
    View->HideSnapMarker();
    View->EndOverlayDraw();
    EXPECT_EQ(CountAround(P, 12, Lime), 0);
    EXPECT_FALSE(View->GetSnapMarker().IsDrawn());

    View->ShowSnapMarker({0, 0, 0}, 3);
    EXPECT_TRUE(View->IsSnapMarkerVisible());
    View->GetSnapMarker().SetKind(9);
    EXPECT_FALSE(View->IsSnapMarkerVisible());
}

TEST_F(OpenGLViewAidsTest, TheEditMarkerShowsTheConstraintUnlessTheViewLooksSquarelyAtItsPlane) {
    View->ViewXY();
    TEditPlane Constraint;
    Constraint.Kind = epXY;
    View->ShowEditMarker({0, 0, 0}, Constraint);
    EXPECT_FALSE(View->IsEditMarkerVisible());

    Constraint.Kind = epAlongX;
    View->ShowEditMarker({0, 0, 0}, Constraint);
    EXPECT_TRUE(View->IsEditMarkerVisible());
    View->Render();
    // An arrow of 48 pixels along x with its label.
    const TPoint P = View->WorldToScreen(0, 0, 0);
    EXPECT_TRUE(ShowsNear({P.X + 20, P.Y}, Gray));
    EXPECT_TRUE(ShowsNear({P.X - 20, P.Y}, Gray));
    EXPECT_FALSE(ShowsNear({P.X, P.Y - 20}, Gray));
    View->BeginOverlayDraw();
    View->HideEditMarker();
    View->EndOverlayDraw();
    EXPECT_EQ(CountAround(P, 40, Gray), 0);

    // A direction of its own: the figure is turned onto it.
    Constraint.Kind = epAlongVector;
    Constraint.Direction = {1, 0, 0};
    Constraint.Plane = {{0, 1, 0}, 0};
    View->ShowEditMarker({0, 0, 0}, Constraint);
    EXPECT_EQ(View->GetEditMarker().GetKind(), epAlongVector);
    EXPECT_NEAR(View->GetEditMarker().GetAngle(), 90, 1e-9);
    EXPECT_TRUE(VectorsEqual(View->GetEditMarker().GetAxis(), {0, 1, 0}));
    Constraint.Kind = epInPlane;
    View->ShowEditMarker({0, 0, 0}, Constraint);
    EXPECT_TRUE(VectorsEqual(View->GetEditMarker().GetAxis(), {-1, 0, 0}));
}

TEST_F(OpenGLViewAidsTest, TheAxisIconSitsAtTheOriginOrInTheLowerLeftCorner) {
    View->ViewXY();
    const TPoint Origin = View->WorldToScreen(0, 0, 0);
    const TPoint Corner{35, View->GetClientHeight() - 35};
    struct TCase {
        TAxisIcon Icon;
        bool AtOrigin, InCorner;
    };
    for (const TCase& C : {TCase{aiModelOrigin, true, false}, TCase{aiLeftBottom, false, true},
                           TCase{aiNone, false, false}}) {
        View->SetAxisIcon(C.Icon);
        View->Render();
        // Half-way along the x and y arms.
        EXPECT_EQ(ShowsNear({Origin.X + 20, Origin.Y}, White), C.AtOrigin) << int(C.Icon);
        EXPECT_EQ(ShowsNear({Origin.X, Origin.Y - 20}, White), C.AtOrigin) << int(C.Icon);
        EXPECT_EQ(ShowsNear({Corner.X + 20, Corner.Y}, White), C.InCorner) << int(C.Icon);
        EXPECT_EQ(ShowsNear({Corner.X, Corner.Y - 20}, White), C.InCorner) << int(C.Icon);
    }
}

TEST_F(OpenGLViewAidsTest, CameraDragsSaveTheCameraRenderEachStepAndEndTheDrag) {
    using TBegin = void (TOpenGLView::*)(int, int);
    using TEnd = void (TOpenGLView::*)();
    struct TCase {
        TInteractionMode Mode;
        TBegin Begin, Drag;
        TEnd End;
    };
    const TCase Cases[] = {
        {imPan, &TOpenGLView::PanBegin, &TOpenGLView::PanDrag, &TOpenGLView::PanEnd},
        {imZoom, &TOpenGLView::ZoomBegin, &TOpenGLView::ZoomDrag, &TOpenGLView::ZoomEnd},
        {imRotateWorld, &TOpenGLView::RotateWorldBegin, &TOpenGLView::RotateWorldDrag, &TOpenGLView::RotateWorldEnd},
        {imRotateView, &TOpenGLView::RotateViewBegin, &TOpenGLView::RotateViewDrag, &TOpenGLView::RotateViewEnd},
        {imRotateCamera, &TOpenGLView::RotateCameraBegin, &TOpenGLView::RotateCameraDrag,
         &TOpenGLView::RotateCameraEnd},
        {imFieldOfView, &TOpenGLView::FieldOfViewBegin, &TOpenGLView::FieldOfViewDrag, &TOpenGLView::FieldOfViewEnd},
    };
    int Draws = 0;
    View->OnRedraw = [&](void*, IGraphics& G) {
        ++Draws;
        G.Line(-8, -4, 0, 8, 4, 0);
    };
    for (const TCase& C : Cases) {
        View->ViewForeEnd();
        TCamera& Camera = View->GetCamera();
        const auto Before = Camera.SaveState();
        const int Saved = View->SavedCameraStates();
        Draws = 0;
        (View.get()->*C.Begin)(100, 80);
        EXPECT_EQ(View->SavedCameraStates(), Saved + 1) << int(C.Mode);
        EXPECT_TRUE(View->GetStateFlags() & vfDragging);
        EXPECT_EQ(View->GetDragMode(), C.Mode);
        (View.get()->*C.Drag)(130, 110);
        EXPECT_EQ(Draws, 1) << int(C.Mode);
        const auto After = Camera.SaveState();
        EXPECT_TRUE(After->Eye != Before->Eye || After->Target != Before->Target ||
                    After->FieldOfView != Before->FieldOfView)
            << int(C.Mode);
        (View.get()->*C.End)();
        EXPECT_FALSE(View->GetStateFlags() & vfDragging);
        EXPECT_EQ(Draws, 2) << int(C.Mode);
        View->ZoomPrevious();
        EXPECT_EQ(Camera.GetEye(), Before->Eye) << int(C.Mode);
    }
}

TEST_F(OpenGLViewAidsTest, FlyingMovesOnTheTimerUntilTheEnd) {
    View->ViewForeEnd();
    TCamera& Camera = View->GetCamera();
    const TMVector Eye = Camera.GetEye(), Direction = Camera.ViewDirection();
    const double Distance = Camera.Distance();
    View->FlyBegin(100, 80);
    View->FlyDrag(100, 80);  // the window centre: straight ahead
    EXPECT_TRUE(View->IsFlying());
    Now += 1000;
    QElapsedTimer Clock;
    Clock.start();
    while (VectorsEqual(Camera.GetEye(), Eye) && Clock.elapsed() < 2000)
        QApplication::processEvents(QEventLoop::AllEvents, 30);
    // One second of the view's clock: a fifth of the distance ahead.
    EXPECT_TRUE(VectorsEqualWithin(Camera.GetEye(), VectorAdd(Eye, VectorScale(Direction, Distance / 5)), 1e-6));
    View->FlyEnd();
    EXPECT_FALSE(View->IsFlying());
    EXPECT_FALSE(View->GetStateFlags() & vfDragging);
}

TEST_F(OpenGLViewAidsTest, ScrollBarsFollowTheCameraAndMoveIt) {
    View->OnRedraw = [](void*, IGraphics& G) { G.Line(-8, -4, 0, 8, 4, 0); };
    View->SetProjection(cmParallel);
    View->ViewXY();
    View->ZoomIn();
    View->ZoomIn();
    TCamera& Camera = View->GetCamera();
    TScrollBarController& H = View->GetHorzScrollBar();
    TScrollBarController& V = View->GetVertScrollBar();
    // The window shows part of the model: the thumbs are smaller than the range.
    EXPECT_EQ(H.GetMax(), 20000);
    EXPECT_GT(H.GetPageSize(), 0);
    EXPECT_LT(H.GetPageSize(), 20000);
    EXPECT_NEAR(H.GetPageSize(), Camera.ViewWidth() / Camera.ProjectedWidth() * 20000, 1);
    EXPECT_NEAR(V.GetPageSize(), Camera.ViewHeight() / Camera.ProjectedHeight() * 20000, 1);
    EXPECT_EQ(H.SmallChange, H.GetPageSize() / 10);
    EXPECT_EQ(H.GetLargeChange(), H.GetPageSize());

    // The first notification only records; the next ones move the camera; the end lets go.
    const TMVector Target = Camera.GetTarget();
    const int Saved = View->SavedCameraStates();
    View->DoScroll(0, H.GetPosition() + 1000);
    EXPECT_EQ(Camera.GetTarget(), Target);
    EXPECT_TRUE(View->GetStateFlags() & vfDragging);
    EXPECT_EQ(View->SavedCameraStates(), Saved + 1);
    View->DoScroll(0, H.GetPosition() + 1000);
    EXPECT_GT(Camera.GetTarget().X, Target.X + 0.5);
    EXPECT_NEAR(Camera.GetTarget().Y, Target.Y, 1e-9);
    View->DoEndScroll(0, 0);
    EXPECT_FALSE(View->GetStateFlags() & vfDragging);
}

// A control with bars that counts what its controllers send to them.
class TCountingScrollOwner : public IScrollBarOwner {
public:
    TScrollStyle GetScrollBars() const override { return Style; }
    bool HandleAllocated() const override { return true; }
    const TWindowScrollInfo* WindowScrollInfo(int) const override { return &Info; }
    void SetWindowScrollInfo(int, const TWindowScrollInfo&, bool) override { ++Updates; }
    void SetWindowScrollPos(int, int) override { ++Updates; }
    TScrollStyle Style = ssBoth;
    TWindowScrollInfo Info;
    int Updates = 0;
};

TEST(ScrollBarController, PositionsAreClampedToTheRangeLessThePage) {
    TCountingScrollOwner Owner;
    TScrollStyle& Style = Owner.Style;
    int& Updates = Owner.Updates;
    TScrollBarController Bar(&Owner, 0);
    Bar.SetMax(20000);
    Bar.SetPageSize(5000);
    struct TCase {
        int Page, Asked, Got;
    };
    const TCase Cases[] = {{5000, 25000, 15001}, {5000, -5, 0}, {5000, 700, 700}, {30000, 100, -9999}, {0, 99999, 20001}};
    for (const TCase& C : Cases) {
        Bar.SetPageSize(C.Page);
        Bar.SetPosition(C.Asked);
        EXPECT_EQ(Bar.GetPosition(), C.Got) << C.Page << " " << C.Asked;
    }
    EXPECT_EQ(Bar.GetLargeChange(), 10);  // no page: the stored step
    Bar.SetPageSize(300);
    EXPECT_EQ(Bar.GetLargeChange(), 300);

    // A bar the owner does not show keeps its position and tells nobody.
    Style = ssVertical;
    Updates = 0;
    Bar.SetPosition(5);
    Bar.SetMax(100);
    EXPECT_EQ(Bar.GetPosition(), 20001);
    EXPECT_EQ(Bar.GetMax(), 100);
    EXPECT_EQ(Updates, 0);
}
