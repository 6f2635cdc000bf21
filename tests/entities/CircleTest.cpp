// The circle entity: its block, dragging the centre and the quadrant points, the frame's edits, the
// conversions and the two-click creator.
#include "entities/GCircle.h"

#include <gtest/gtest.h>

#include "EntityFixtures.h"
#include "entities/GGonList.h"
#include "document/GPline.h"
#include "document/GeometryQuery.h"
#include "foundation/VkMathsIntersect.h"

namespace sarnova::test {
namespace {

class CircleTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterEntityClasses(); }
    TGeoCircle* AddCircle(const TMVector& Centre, double Radius, const std::string& Name = {}) {
        auto Circle = std::make_unique<TGeoCircle>();
        Circle->Circle().SetFrame(MakeCircle(Centre, ZAxisVector, Radius));
        Circle->SetName(Name);
        return static_cast<TGeoCircle*>(Doc.Add(std::move(Circle)));
    }
    // Drags point Index of the edited circle to the world point (X, Y) of the view's XY plane.
    void DragPoint(TGeoCircle& Circle, int Index, double X, double Y) {
        Circle.DeselectAllPoints();
        Circle.Circle().Point(Index)->Marked = true;
        const TRPoint& P = *Circle.Circle().Point(Index);
        const TPoint From = Px(P.X, P.Y);
        const TPoint To = Px(X, Y);
        View.Press(mbLeft, From.X, From.Y);
        View.Move(To.X, To.Y);
        View.Release(mbLeft, To.X, To.Y);
    }
    void Click(TMouseButton Button, double X, double Y) { ClickAt(View, Button, X, Y); }

    TGeometryInterface Doc;
    TFakeView View;
};

TEST_F(CircleTest, BlockLoadsAndSavesUnchanged) {
    AddCircle({1, 0, 0}, 2.5);
    EXPECT_EQ(SavedText(Doc), "[TCircle]\nRadius=2.5\nCentre=(1,0,0)\nNormal=(0,0,1)\n\n");
    ExpectLoadsAndSavesUnchanged("[TCircle]\nRadius=0.75\nCentre=(1,-2,3.5)\nNormal=(0,1,0)\nName=C\nColor=clRed\n\n");
}

TEST_F(CircleTest, PointsInAndOutOfEditMode) {
    TGeoCircle* Circle = AddCircle({0, 0, 0}, 2);
    EXPECT_EQ(Circle->GetPointCount(), 101);
    ExpectNear(Circle->GetPoint(0)->Vector(), Circle->GetPoint(100)->Vector());
    Circle->SetEditing(true);
    EXPECT_EQ(Circle->GetPointCount(), 5);
    EXPECT_EQ(Circle->GetPoint(4), Circle->Circle().Point(4));
    // Selecting the grid's centre row marks the centre alone.
    for (int I = 0; I < 5; ++I) Circle->Circle().Point(I)->Marked = true;
    Circle->MarkPointRange(0, 0);
    EXPECT_TRUE(Circle->Circle().Point(0)->Marked);
    for (int I = 1; I < 5; ++I) EXPECT_FALSE(Circle->Circle().Point(I)->Marked) << I;
}

TEST_F(CircleTest, DraggingAQuadrantPointPivotsAboutTheOppositeOne) {
    TGeoCircle* Circle = AddCircle({0, 0, 0}, 2, "C");
    // Without object snapping: the circle's own handles would catch the dragged point.
    Doc.SetProjectOptions(po3DEditing);
    Doc.View = &View;
    Circle->SetEditing(true);
    const TMVector Opposite = Circle->Circle().Point(3)->Vector();
    // Along the diameter from the opposite point through point 1, and across it in the view's plane.
    const TMVector Along = VectorNormalise(VectorFromTo(Opposite, Circle->Circle().Point(1)->Vector()));
    const TMVector Across{-Along.Y, Along.X, 0};
    ExpectOneUndoStep(Doc, "quadrant", [&] {
        // Off the diameter's plane: the dragged point is held to it.
        const TMVector Target = VectorAdd(VectorAdd(Opposite, VectorScale(Along, 7)), Across);
        DragPoint(*Circle, 1, Target.X, Target.Y);
        EXPECT_NEAR(Circle->Circle().Radius(), 3.5, 1e-9);
        ExpectNear(Circle->Circle().Point(0)->Vector(), VectorAdd(Opposite, VectorScale(Along, 3.5)));
        bool Kept = false;
        for (int I = 1; I <= 4; ++I) Kept = Kept || VectorDistance(Circle->Circle().Point(I)->Vector(), Opposite) < 1e-9;
        EXPECT_TRUE(Kept) << "the opposite point stays on the circle";
        // Still facing the same side.
        ExpectNear(Circle->Circle().Normal(), {0, 0, -1});
    });
    ExpectOneUndoStep(Doc, "centre", [&] {
        DragPoint(*Circle, 0, 3, 1);
        ExpectNear(Circle->Circle().Point(0)->Vector(), {3, 1, 0});
        EXPECT_NEAR(Circle->Circle().Radius(), 2, 1e-9);
    });
    Doc.View = nullptr;
}

TEST_F(CircleTest, FrameEditsAreUndoneByteForByte) {
    TGeoCircle* Circle = AddCircle({0, 0, 0}, 2, "C");
    ExpectOneUndoStep(Doc, "radius", [&] { Circle->SetRadius(-3); });
    Circle->SetRadius(-3);
    EXPECT_DOUBLE_EQ(Circle->Circle().Radius(), 3);
    ExpectOneUndoStep(Doc, "centre", [&] { Circle->SetCentreCoordinate(2, 4); });
    Circle->SetCentreCoordinate(1, -1);
    ExpectNear(Circle->Circle().Point(0)->Vector(), {0, -1, 0});
    EXPECT_DOUBLE_EQ(Circle->Circle().Radius(), 3);
}

TEST_F(CircleTest, MeshKeepsTheCircleAndConvertReplacesIt) {
    TGeoCircle* Circle = AddCircle({0, 0, 0}, 2, "C");
    Circle->SetSelected(true);
    EXPECT_EQ(MenuCaptions(*Circle->PopupMenu()),
              (std::vector<std::string>{"Edit", "Show Attributes...", "-", "Convert Circle to Polyline", "Mesh Circle"}));
    Doc.GetUndoManager().Clear();
    ClickPopupItem(*Circle, "Mesh Circle");
    Doc.Undo();
    EXPECT_TRUE(EntitiesOf<TGeoPGonlist>(Doc).empty());
    EXPECT_FALSE(Doc.CanUndo());
    ClickPopupItem(*Circle, "Mesh Circle");
    ASSERT_EQ(EntitiesOf<TGeoPGonlist>(Doc).size(), 1u);
    EXPECT_GT(EntitiesOf<TGeoPGonlist>(Doc).front()->Facets().Count(), 90);
    EXPECT_EQ(EntitiesOf<TGeoCircle>(Doc).size(), 1u);

    ExpectOneUndoStep(Doc, "convert", [&] { Circle->ConvertToPolyline(); });
    // Undo brought back a copy of the circle.
    EntitiesOf<TGeoCircle>(Doc).front()->ConvertToPolyline();
    EXPECT_TRUE(EntitiesOf<TGeoCircle>(Doc).empty());
    ASSERT_EQ(EntitiesOf<TGeoPline>(Doc).size(), 1u);
    EXPECT_EQ(EntitiesOf<TGeoPline>(Doc).front()->Polyline().Count(), 101);
}

TEST_F(CircleTest, SelectionMenuMeshesAndConvertsEveryCircle) {
    AddCircle({0, 0, 0}, 1)->SetSelected(true);
    AddCircle({5, 0, 0}, 1)->SetSelected(true);
    TMenuItem Menu;
    TGeoCircle::AddSelectionMenuItems(Menu, Doc);
    ASSERT_EQ(MenuCaptions(Menu), (std::vector<std::string>{"Convert Circle to Polylines", "Mesh Circles"}));
    Menu.Items(1).Click();
    EXPECT_EQ(EntitiesOf<TGeoPGonlist>(Doc).size(), 2u);
    Menu.Items(0).Click();
    EXPECT_TRUE(EntitiesOf<TGeoCircle>(Doc).empty());
    EXPECT_EQ(EntitiesOf<TGeoPline>(Doc).size(), 2u);
}

TEST_F(CircleTest, AnswersCircleAndPolylineQueries) {
    TGeoCircle* Circle = AddCircle({0, 0, 0}, 1, "C");
    TGeometryQuery Both;
    Both.Kinds = QueryKinds({qkCircle, qkPolyline});
    Doc.Query(Both, false);
    ASSERT_EQ(Both.Count(), 1);
    EXPECT_EQ(Both.Item(0).As<TCircle>(), &Circle->Circle());
    TGeometryQuery Lines;
    Lines.Kinds = QueryKinds({qkPolyline});
    Doc.Query(Lines, false);
    ASSERT_EQ(Lines.Count(), 1);
    EXPECT_EQ(Lines.Item(0).As<TPolyline>()->Count(), 101);
    Doc.SendMessage(std::make_unique<TGeoSelectCircles>());
    EXPECT_TRUE(Circle->GetSelected());
}

TEST_F(CircleTest, TwoClicksMakeACircleInTheFacingPlane) {
    RunCreator(std::make_unique<TGeoCircleCreator>(Doc), View);
    Click(mbLeft, 1, 1);
    Click(mbLeft, 4, 1);
    ASSERT_EQ(EntitiesOf<TGeoCircle>(Doc).size(), 1u);
    TCircle& Made = EntitiesOf<TGeoCircle>(Doc).front()->Circle();
    ExpectNear(Made.Point(0)->Vector(), {1, 1, 0});
    EXPECT_NEAR(Made.Radius(), 3, 1e-9);
    EXPECT_NEAR(std::fabs(Made.Normal().Z), 1, 1e-9);
    ASSERT_NE(View.Editor, nullptr);
    // A right click after the centre drops it; the next one ends the creator.
    Click(mbLeft, 10, 10);
    Click(mbRight, 10, 10);
    ASSERT_NE(View.Editor, nullptr);
    Click(mbRight, 10, 10);
    EXPECT_EQ(View.Editor, nullptr);
    EXPECT_EQ(EntitiesOf<TGeoCircle>(Doc).size(), 1u);
}

}  // namespace
}  // namespace sarnova::test
