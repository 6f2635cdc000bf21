#include "document/GCreator.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "DragPoints.h"
#include "FakeView.h"
#include "TestPoint.h"
#include "foundation/Polyline.h"

namespace sarnova::test {
namespace {

// The entities the test creators make: their points as entered.
TGeometry* AddShape(TGeometryList& List, const char* Name, std::vector<TMVector> Points) {
    TGeometry* Shape = List.Add(std::make_unique<TDragPoints>(Name, std::move(Points)));
    Shape->Redraw();
    return Shape;
}

class TTestLineCreator : public TGeoDraggableLineCreator {
public:
    explicit TTestLineCreator(TGeometryList& AList) : TGeoDraggableLineCreator(AList, std::make_unique<TPolyline>()) {}
    void CreateGeometry() override {
        std::vector<TMVector> At;
        for (int I = 0; I < Points->Count(); ++I) At.push_back(Points->Point(I)->Vector());
        AddShape(*List, "Line", At);
    }
};

class TTestRectCreator : public TGeoDraggableRectCreator {
public:
    using TGeoDraggableRectCreator::TGeoDraggableRectCreator;
    void CreateGeometry() override { AddShape(*List, "Rect", {Corners.begin(), Corners.end()}); }
};

TDragPoints& ShapeAt(TGeometryList& List, int Index) { return dynamic_cast<TDragPoints&>(List.Items(Index)); }

// The view is declared after the list, so that it lets go of its editor while the list still exists.
class CreatorTest : public ::testing::Test {
protected:
    void Click(TMouseButton Button, double X, double Y) {
        const TPoint P = Px(X, Y);
        View.Move(P.X, P.Y);
        View.Press(Button, P.X, P.Y);
        View.Release(Button, P.X, P.Y);
    }

    TRecordingList List;
    TFakeView View;
};

TEST_F(CreatorTest, LineCreatorMakesEntitiesUntilARightClickWithNothingEntered) {
    RunCreator(std::make_unique<TTestLineCreator>(List), View);
    ASSERT_NE(View.Editor, nullptr);
    EXPECT_EQ(View.Mode, imUser);
    EXPECT_EQ(View.Hint(), "Left Click to add Points, Right Click or Esc to Finish");

    // Two clicks and a right click: an entity of the two clicked points; the creator starts over.
    Click(mbLeft, 1, 1);
    Click(mbLeft, 3, 1);
    Click(mbRight, 4, 2);
    ASSERT_EQ(List.Count(), 1);
    ExpectNear(ShapeAt(List, 0).At(0), {1, 1, 0});
    ExpectNear(ShapeAt(List, 0).At(1), {3, 1, 0});
    EXPECT_EQ(ShapeAt(List, 0).GetPointCount(), 2);
    EXPECT_FALSE(View.PopupShown);

    // One click and a right click: nothing made, the creator stays for the next entity.
    Click(mbLeft, 5, 5);
    Click(mbRight, 6, 6);
    EXPECT_EQ(List.Count(), 1);
    ASSERT_NE(View.Editor, nullptr);
    EXPECT_EQ(RunningCreatorCount(), 1);

    // A right click with nothing entered ends it: detached, and freed once the click is handled.
    Click(mbRight, 6, 6);
    EXPECT_EQ(View.Editor, nullptr);
    EXPECT_EQ(RunningCreatorCount(), 0);
    EXPECT_FALSE(View.PopupShown);
    EXPECT_EQ(View.Hint(), "Left Click to Select, Shift to Select by region, Ctrl to add to add to previous selection")
        << "the ended creator wrote nothing after it let go";
    EXPECT_EQ(List.Count(), 1);
}

TEST_F(CreatorTest, EscOnlyFinishes) {
    TTestLineCreator Creator(List);
    View.SetEditorInterface(&Creator);
    Click(mbLeft, 1, 1);
    Click(mbLeft, 3, 1);
    View.KeyPress(27);
    EXPECT_EQ(List.Count(), 0) << "Esc makes nothing";
    EXPECT_EQ(Creator.GetPhase(), 0);
    EXPECT_EQ(Creator.GetPoints().Count(), 0);
    EXPECT_EQ(View.Editor, &Creator);

    View.KeyPress(27);
    EXPECT_TRUE(Creator.HasEnded());
    EXPECT_EQ(View.Editor, nullptr);
}

TEST_F(CreatorTest, ViewLettingGoFreesARunningCreator) {
    RunCreator(std::make_unique<TTestRectCreator>(List), View);
    Click(mbLeft, 1, 1);
    TTestPoint Other;
    View.SetEditorInterface(&Other);
    EXPECT_EQ(RunningCreatorCount(), 0);
    View.SetEditorInterface(nullptr);
}

TEST_F(CreatorTest, ObjectWinsATieWithTheGridAndTheHintNamesIt) {
    List.SetProjectOptions(poGridSnap | poObjectSnap);
    List.Add(std::make_unique<TDragPoints>("Other", std::vector<TMVector>{{4, 0, 0}}));
    TTestLineCreator Creator(List);
    View.SetEditorInterface(&Creator);

    // At (3, 0) the grid point (2, 0) and the other entity's point (4, 0) are both 10 pixels away.
    View.Move(Px(3, 0).X, Px(3, 0).Y);
    ExpectNear(Creator.GetCurrentPoint(), {4, 0, 0});
    EXPECT_TRUE(Creator.GetSnapped());
    EXPECT_EQ(View.Hint(), "Snapping to Drag Points:Other");
    EXPECT_TRUE(View.SnapMarkerShown);
    ExpectNear(View.SnapMarkerAt, {4, 0, 0});

    // Nearer the grid: the grid point, not reported as a snap; before the first click the
    // snapped point shows as a handle.
    View.Drawn.clear();
    View.Move(Px(2.2, 0.3).X, Px(2.2, 0.3).Y);
    ExpectNear(Creator.GetCurrentPoint(), {2, 0, 0});
    EXPECT_FALSE(Creator.GetSnapped());
    EXPECT_FALSE(View.SnapMarkerShown);
    EXPECT_EQ(View.Hint(), "Left Click to add Points, Right Click or Esc to Finish");
    ASSERT_EQ(View.CountDrawn("EditHandle"), 2) << "erased, then drawn";
    ExpectNear(View.Drawn.back().Points[0], {2, 0, 0});
    View.SetEditorInterface(nullptr);
}

TEST_F(CreatorTest, RectangleNeedsSizeInBothDirections) {
    TTestRectCreator Creator(List);
    View.SetEditorInterface(&Creator);
    Click(mbLeft, 1, 1);
    EXPECT_EQ(Creator.GetPhase(), 1);
    Click(mbLeft, 1, 1);
    EXPECT_EQ(List.Count(), 0);
    EXPECT_EQ(Creator.GetPhase(), 0) << "started over";
    EXPECT_EQ(View.Editor, &Creator);

    Click(mbLeft, 3, 4);
    View.Drawn.clear();
    Click(mbLeft, 1, 1);
    ASSERT_EQ(List.Count(), 1);
    const TMVector Expected[] = {{1, 1, 0}, {1, 4, 0}, {3, 4, 0}, {3, 1, 0}};
    for (int I = 0; I < 4; ++I) ExpectNear(ShapeAt(List, 0).At(I), Expected[I]);
    // The rubber band was a closed line through the corners.
    EXPECT_EQ(View.CountDrawn("LineStart"), View.CountDrawn("LineFinish"));
    EXPECT_EQ(View.CountDrawn("LineNext"), 4 * View.CountDrawn("LineStart"));

    // A right click with nothing entered ends it.
    Click(mbRight, 0, 0);
    EXPECT_TRUE(Creator.HasEnded());
}

TEST_F(CreatorTest, DrawingPlaneFacesTheViewerThroughTheLastFixedPoint) {
    TTestLineCreator Creator(List);
    View.SetEditorInterface(&Creator);
    EXPECT_EQ(View.Cursor, crCross) << "looking exactly along an axis";
    Click(mbLeft, 1, 2);

    View.Camera.Look({1, -3, 1}, {0, 0, 1});
    Creator.UpdateCursor();
    EXPECT_EQ(View.Cursor, crCreateXZ);
    TMPlane Plane;
    Creator.GetDrawingPlane(Plane);
    ExpectNear(Plane.Normal, {0, 1, 0});
    EXPECT_DOUBLE_EQ(Plane.Distance, 2);
    View.Move(150, 150);
    EXPECT_NEAR(Creator.GetCurrentPoint().Y, 2, 1e-9);
    View.SetEditorInterface(nullptr);
}

}  // namespace
}  // namespace sarnova::test
