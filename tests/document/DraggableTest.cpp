#include "document/GDraggable.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "DragPoints.h"
#include "FakeView.h"
#include "TestPoint.h"

namespace sarnova::test {
namespace {

// One entity with a point at (1, 2, 0) being edited in a list with 3-D editing, in a view looking
// down Z. Declared before the view, the list outlives it.
class DraggableTest : public ::testing::Test {
protected:
    void SetUp() override {
        List.SetProjectOptions(po3DEditing);
        Entity = static_cast<TDragPoints*>(
            List.Add(std::make_unique<TDragPoints>("Edited", std::vector<TMVector>{{1, 2, 0}})));
        Entity->SetEditing(true);
        View.SetEditorInterface(Entity);
        List.Snapshots.clear();
    }
    // Picks point Index of the edited entity at its pixel and drags it to Target (a world point).
    void DragTo(int Index, const TMVector& Target, TShiftState Shift = 0) {
        const TPoint From = Px(Entity->At(Index).X, Entity->At(Index).Y);
        const TPoint To = Px(Target.X, Target.Y);
        View.Press(mbLeft, From.X, From.Y, Shift);
        View.Move(To.X, To.Y, Shift);
        View.Release(mbLeft, To.X, To.Y, Shift);
    }

    TRecordingList List;
    TFakeView View;
    TDragPoints* Entity = nullptr;
};

TEST_F(DraggableTest, AddsEditingCapabilitiesAndRoutesPicksMovesAndKeys) {
    EXPECT_EQ(Entity->GetCapabilities() & 0x1921, 0x1921);
    EXPECT_EQ(Entity->GetEditorFlags(), efSelectPoints | efDragMoves | efKeys);
    EXPECT_EQ(View.Hints.front(),
              "Left Click to Select, Shift to Select by region, Ctrl to add to add to previous selection");
}

TEST_F(DraggableTest, ClickSelectsEveryVisiblePointCloserThanFivePixels) {
    const std::vector<TMVector> At{{0, 0, 0}, {0.2, 0.4, 0}, {0.3, 0.4, 0}};
    auto& Three = *static_cast<TDragPoints*>(List.Add(std::make_unique<TDragPoints>("Three", At)));
    TSelectAction Action = saDoNothing;
    // (2, 4) pixels away is 4.47, (3, 4) exactly 5.0: the first two are picked, the third missed.
    Three.SelectPoint(View, 100, 100, 0, Action);
    EXPECT_EQ(Action, saMouseDrag);
    EXPECT_TRUE(Three.IsSelected(0));
    EXPECT_TRUE(Three.IsSelected(1));
    EXPECT_FALSE(Three.IsSelected(2));

    Three.Select(2);
    Three.SelectPoint(View, 10, 10, ssCtrl, Action);
    EXPECT_EQ(Action, saDragRectangle);
    EXPECT_TRUE(Three.IsSelected(0) && Three.IsSelected(1) && Three.IsSelected(2)) << "Ctrl keeps the selection";
    Three.SelectPoint(View, 10, 10, 0, Action);
    EXPECT_FALSE(Three.IsSelected(0) || Three.IsSelected(1) || Three.IsSelected(2));

    // A rectangle takes the points inside, right and bottom edges excluded.
    Three.SelectRect(View, {100, 96, 103, 101}, 0);
    EXPECT_TRUE(Three.IsSelected(0));
    EXPECT_TRUE(Three.IsSelected(1));
    EXPECT_FALSE(Three.IsSelected(2));
}

TEST_F(DraggableTest, DragMovesThePointOnTheEditPlaneWithOneUndoSnapshot) {
    // Grabbed 2 pixels beside the handle: the handle keeps that distance to the cursor.
    const TPoint From = Px(1, 2);
    View.Press(mbLeft, From.X + 2, From.Y);
    EXPECT_EQ(Entity->GetState() & gsDragging, gsDragging);
    EXPECT_EQ(Entity->GetChosenEditPlane().Kind, epXY);
    EXPECT_TRUE(View.EditMarkerShown);
    View.Move(From.X + 12, From.Y - 10);
    ExpectNear(Entity->At(0), {2, 3, 0}, "during the drag");
    TMVector Location;
    Entity->GetCursorLocation(View, {0, 0}, Location);
    ExpectNear(Location, {2, 3, 0}, "reported location");
    View.Move(From.X + 22, From.Y - 20);
    View.Release(mbLeft, From.X + 22, From.Y - 20);
    ExpectNear(Entity->At(0), {3, 4, 0}, "after the release");
    EXPECT_EQ(Entity->GetState() & gsDragging, 0);
    EXPECT_FALSE(View.EditMarkerShown);
    EXPECT_EQ(List.Snapshots, std::vector<TGeometry*>{Entity});
    EXPECT_EQ(Entity->Log, (std::vector<std::string>{"BeginDrag", "EndDrag"}));
}

TEST_F(DraggableTest, GridRoundsHalvesTowardsZeroAndNeedsThreeDEditing) {
    List.SetProjectOptions(po3DEditing | poGridSnap);
    const std::pair<double, double> Cases[] = {{3.0, 2.0}, {3.1, 4.0}, {-3.0, -2.0}, {-3.1, -4.0}, {0.9, 0.0}};
    for (auto [Dragged, Snapped] : Cases) {
        DragTo(0, {Dragged, 0, 0});
        ExpectNear(Entity->At(0), {Snapped, 0, 0}, std::to_string(Dragged).c_str());
    }
    List.SetProjectOptions(poGridSnap);
    DragTo(0, {3.1, 1.0, 0});
    ExpectNear(Entity->At(0), {3.1, 1.0, 0}, "without 3-D editing");
    EXPECT_EQ(Entity->GetChosenEditPlane().Kind, epView);
}

TEST_F(DraggableTest, ObjectWinsATieWithTheGridAndTheHintNamesIt) {
    List.SetProjectOptions(po3DEditing | poGridSnap | poObjectSnap);
    List.Add(std::make_unique<TDragPoints>("Other", std::vector<TMVector>{{4, 0, 0}}));
    // Dragged to (3, 0): the grid point (2, 0) and the other entity's point (4, 0) are both 10 pixels away.
    const TPoint From = Px(1, 2);
    const TPoint To = Px(3, 0);
    View.Press(mbLeft, From.X, From.Y);
    View.Move(To.X, To.Y);
    ExpectNear(Entity->At(0), {4, 0, 0});
    EXPECT_TRUE(Entity->GetSnapped());
    EXPECT_EQ(View.Hint(), "Snapping to Drag Points:Other");
    EXPECT_TRUE(View.SnapMarkerShown);
    EXPECT_EQ(View.SnapMarkerKind, 4);

    // Esc cancels object snapping for the rest of the drag: the grid takes over.
    View.KeyDown(VK_ESCAPE);
    ExpectNear(Entity->At(0), {2, 0, 0});
    EXPECT_FALSE(View.SnapMarkerShown);
    EXPECT_EQ(View.Hint(),
              "Ctrl to lock manipulation in X/Y/Z, Available Edit Planes  [XY], Tab to change");
    View.Release(mbLeft, To.X, To.Y);
}

TEST_F(DraggableTest, SnapTargetDeletedDuringADragIsForgotten) {
    List.SetProjectOptions(po3DEditing | poObjectSnap);
    TGeometry* Other = List.Add(std::make_unique<TDragPoints>("Other", std::vector<TMVector>{{4, 0, 0}}));
    const TPoint From = Px(1, 2);
    View.Press(mbLeft, From.X, From.Y);
    View.Move(Px(4, 0).X, Px(4, 0).Y);
    ASSERT_EQ(Entity->GetSnapTarget(), Other);
    List.DeleteGeometry(Other);
    EXPECT_EQ(Entity->GetSnapTarget(), nullptr);
    View.Move(Px(5, 5).X, Px(5, 5).Y);
    View.Release(mbLeft, Px(5, 5).X, Px(5, 5).Y);
    ExpectNear(Entity->At(0), {5, 5, 0});
}

TEST_F(DraggableTest, CtrlLocksTheDragToTheNearestAxisOfThePlane) {
    const std::pair<TMVector, TMVector> Cases[] = {
        {{4, 3, 0}, {4, 2, 0}},  // 10 pixels off the X line, 30 off the Y line
        {{2, 5, 0}, {1, 5, 0}},  // 30 and 10
        {{3, 4, 0}, {3, 2, 0}},  // equally near: X wins
    };
    for (const auto& [Target, Locked] : Cases) {
        Entity->Points[0]->SetXYZ(1, 2, 0);
        const TPoint From = Px(1, 2);
        const TPoint To = Px(Target.X, Target.Y);
        View.Press(mbLeft, From.X, From.Y);
        View.Move(To.X, To.Y, ssCtrl);
        ExpectNear(Entity->At(0), Locked);
        EXPECT_EQ(Entity->GetState() & gsAxisLock, gsAxisLock);
        // Releasing Ctrl frees the drag again.
        View.KeyUp(VK_CONTROL);
        ExpectNear(Entity->At(0), Target);
        EXPECT_EQ(Entity->GetState() & gsAxisLock, 0);
        View.Release(mbLeft, To.X, To.Y);
    }
}

TEST_F(DraggableTest, TabCyclesThroughTheAllowedPlanesInKindOrder) {
    Entity->Planes = (1u << epXY) | (1u << epZX);
    Entity->ChooseEditPlane();
    EXPECT_EQ(Entity->GetChosenEditPlane().Kind, epXY) << "the plane most facing the viewer";
    View.KeyDown(VK_TAB);
    EXPECT_EQ(Entity->GetChosenEditPlane().Kind, epZX);
    View.KeyDown(VK_TAB);
    EXPECT_EQ(Entity->GetChosenEditPlane().Kind, epXY) << "wrapped around";
    EXPECT_EQ(Entity->GetEffectiveEditPlane().Kind, epXY);

    Entity->Planes = (1u << epXY) | (1u << epAlongZ);
    Entity->ChooseEditPlane();
    Entity->UpdateHint();
    EXPECT_EQ(View.Hint(), "Ctrl to lock manipulation in X/Y/Z, Available Edit Planes  [Z, XY], Tab to change");
    Entity->Planes = 1u << epView;
    Entity->ChooseEditPlane();
    Entity->UpdateHint();
    EXPECT_EQ(View.Hint(),
              "Ctrl to lock manipulation in X/Y/Z, Available Edit Planes  [X, Y, Z, XY, YZ, XZ], Tab to change");
}

TEST_F(DraggableTest, CursorShowsThePlaneExceptInAParallelViewAlongAnAxis) {
    Entity->UpdateCursor();
    EXPECT_EQ(View.Cursor, crDefault);
    View.Projection = cmPerspective;
    Entity->UpdateCursor();
    EXPECT_EQ(View.Cursor, crEditXY);
    View.Camera.Look({1, -3, 1}, {0, 0, 1});
    Entity->UpdateCursor();
    EXPECT_EQ(View.Cursor, crEditZX);
    View.Mode = imZoom;
    View.Cursor = 11;
    Entity->UpdateCursor();
    EXPECT_EQ(View.Cursor, 11) << "only imUser shows the editing cursors";
}

TEST_F(DraggableTest, ArrowKeysNudgeByTheNudgeStepWithOneUndoSnapshotPerKeyEdit) {
    Entity->Select(0);
    View.Mouse = Px(1, 2);
    View.KeyDown(VK_RIGHT);
    View.KeyDown(VK_RIGHT);  // auto-repeat: the same key edit
    View.KeyDown(VK_UP);
    EXPECT_EQ(Entity->GetState() & gsKeyMoving, gsKeyMoving);
    TMVector Location;
    Entity->GetCursorLocation(View, {0, 0}, Location);
    ExpectNear(Location, {1.02, 2.01, 0}, "reported location");
    View.KeyUp(VK_UP);
    ExpectNear(Entity->At(0), {1.02, 2.01, 0});
    EXPECT_EQ(Entity->GetState() & gsKeyMoving, 0);
    EXPECT_EQ(List.Snapshots, std::vector<TGeometry*>{Entity});
    EXPECT_EQ(Entity->Log, (std::vector<std::string>{"BeginDrag", "EndDrag"}));

    View.KeyDown(VK_LEFT);
    View.KeyUp(VK_LEFT);
    ExpectNear(Entity->At(0), {1.01, 2.01, 0}, "a second key edit");
    EXPECT_EQ(List.Snapshots.size(), 2u);
}

TEST_F(DraggableTest, NudgeStepsFollowThePositiveAxesOfTheChosenPlane) {
    struct TCase {
        TMVector Direction, UpHint;
        TMVector Moved;  // after Right, Right, Up from (1, 2, 0)
    };
    const TCase Cases[] = {
        {{1, 0, 0}, {0, 0, 1}, {1, 2.02, 0.01}},  // screen right is -Y: Right still moves along +Y
        {{0, 0, 1}, {1, 0, 0}, {1.01, 2.02, 0}},  // screen right is +Y and up is +X: the axes swap
    };
    Entity->Select(0);
    for (const TCase& C : Cases) {
        Entity->Points[0]->SetXYZ(1, 2, 0);
        View.Camera.Look(C.Direction, C.UpHint);
        View.Mouse = View.WorldToScreenVector({1, 2, 0});
        View.KeyDown(VK_RIGHT);
        View.KeyDown(VK_RIGHT);
        View.KeyDown(VK_UP);
        View.KeyUp(VK_UP);
        ExpectNear(Entity->At(0), C.Moved);
    }
}

TEST_F(DraggableTest, InsertPointModeNeedsAnEmptyShiftStateAndInsertsOnClick) {
    View.Mouse = {30, 40};
    View.KeyDown('A', ssShift);
    EXPECT_EQ(Entity->GetState() & gsInsertPoint, 0);
    View.KeyDown('A');
    EXPECT_EQ(Entity->GetState() & gsInsertPoint, gsInsertPoint);
    EXPECT_EQ(View.Cursor, crInsertPoint);
    EXPECT_EQ(Entity->GetEditorFlags() & (efSelectPoints | efAllMoves), efAllMoves);
    View.Move(50, 60);
    View.Press(mbLeft, 50, 60);
    View.Release(mbLeft, 50, 60);
    View.KeyUp('A');
    EXPECT_EQ(Entity->GetState() & gsInsertPoint, 0);
    EXPECT_EQ(Entity->Log, (std::vector<std::string>{"Preview 30,40", "Erase 30,40", "Preview 50,60", "Erase 50,60",
                                                     "Insert 50,60", "Preview 50,60", "Erase 50,60"}));
    EXPECT_TRUE(List.Snapshots.empty()) << "a pick is no drag";
}

TEST_F(DraggableTest, DetachDuringADragLeavesNoDragBehind) {
    View.Press(mbLeft, Px(1, 2).X, Px(1, 2).Y);
    View.Move(Px(3, 3).X, Px(3, 3).Y);
    View.SetEditorInterface(nullptr);
    EXPECT_EQ(Entity->GetState() & (gsDragging | gsEditing), 0);
    EXPECT_FALSE(View.EditMarkerShown);
    EXPECT_EQ(Entity->GetView(), nullptr);
    // The change is applied again once the drag is over.
    Entity->ApplyChange();
    EXPECT_FALSE(Entity->IsChangePending());
}

}  // namespace
}  // namespace sarnova::test
