// The dimension entity: its block, the label and arrow it draws, its points in and out of edit mode,
// snapping, dragging, the frame's distances and the two-click creator.
#include "entities/GDimension.h"

#include <gtest/gtest.h>

#include <clocale>

#include "EntityFixtures.h"
#include "document/GeometryQuery.h"
#include "foundation/Polyline.h"

namespace sarnova::test {
namespace {

class DimensionTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterEntityClasses(); }
    TGeoDimension* AddDimension(const TMVector& A, const TMVector& B, const std::string& Name = {}) {
        auto Dimension = std::make_unique<TGeoDimension>();
        Dimension->Line().Point1->SetVector(A);
        Dimension->Line().Point2->SetVector(B);
        Dimension->SetName(Name);
        return static_cast<TGeoDimension*>(Doc.Add(std::move(Dimension)));
    }
    void Click(TMouseButton Button, double X, double Y) { ClickAt(View, Button, X, Y); }

    TGeometryInterface Doc;
    TFakeView View;
};

TEST_F(DimensionTest, BlockLoadsAndSavesUnchanged) {
    AddDimension({0, 0, 0}, {3, 4, 12});
    EXPECT_EQ(SavedText(Doc), "[TDimension]\n     0.000      0.000      0.000\n     3.000      4.000     12.000\n\n");
    ExpectLoadsAndSavesUnchanged(
        "[TDimension]\n    -1.250      2.000      0.000\n  1000.500     -0.001      7.000\nName=D1\nColor=clRed\n\n");
    // Text after the three numbers of a point line is passed over.
    TGeometryInterface Other;
    LoadDocumentText(Other, "[TDimension]\n1 2 3 extra\n4 5 6\n\n");
    ASSERT_EQ(EntitiesOf<TGeoDimension>(Other).size(), 1u);
    ExpectNear(EntitiesOf<TGeoDimension>(Other).front()->Line().Point2->Vector(), {4, 5, 6});
}

TEST_F(DimensionTest, DistancesAndTheirText) {
    const auto D = DimensionDistances({0, 0, 0}, {3, 4, 12});
    const char* Expected[] = {"13.000", "3.000", "4.000", "12.000", "5.000", "12.649", "12.369"};
    for (int I = 0; I < 7; ++I) EXPECT_EQ(DimensionText(D[static_cast<std::size_t>(I)]), Expected[I]) << I;
    // Past ten significant digits the exponent form.
    EXPECT_EQ(DimensionText(123456789012.0), "1.23456789E011");
    // The locale's decimal separator, as the user reads numbers.
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr) {
        EXPECT_EQ(DimensionText(13), "13,000");
        std::setlocale(LC_NUMERIC, "C");
    }
}

TEST_F(DimensionTest, DrawsTheDistanceOverTheMiddleAndAnArrowWithTwoHeads) {
    TGeoDimension* Dimension = AddDimension({0, 0, 0}, {3, 4, 12});
    TRenderView Render;
    Dimension->Draw(Render);
    // The midpoint (1.5, 2, 6) shows at window pixel (215, 240): the label centred on it, one text
    // height above.
    const auto Labels = Render.Of("TextOut");
    ASSERT_EQ(Labels.size(), 1u);
    EXPECT_EQ(Labels[0].Text, "13.000");
    EXPECT_DOUBLE_EQ(Labels[0].Points[0].X, 215 - 6 * 8 / 2);
    EXPECT_DOUBLE_EQ(Labels[0].Points[0].Y, 240 - 16);
    ASSERT_EQ(Render.Of("LineVectors").size(), 1u);
    // Two filled triangles in the pixel overlay.
    EXPECT_EQ(std::count(Render.Rendered.begin(), Render.Rendered.end(), "Vertex"), 6);
    EXPECT_EQ(Render.Overlays, 2);
    EXPECT_EQ(Render.OverlaysOpen, 0);
    // A canvas without window pixels gets the line alone; the simplified form is a plain line.
    TRecordingGraphics Canvas;
    Dimension->Draw(Canvas);
    ASSERT_EQ(Canvas.Calls.size(), 1u);
    EXPECT_EQ(Canvas.Calls[0].Name, "LineVectors");
    TRenderView Simple;
    Dimension->DrawSimplified(Simple);
    EXPECT_EQ(Simple.Overlays, 0);
    EXPECT_EQ(Simple.Of("LinePoints").size(), 1u);
}

TEST(DoubleArrowHeads, PointOutwardsAndShrinkOnShortLines) {
    TArrowHeads Heads;
    ASSERT_TRUE(DoubleArrowHeads({0, 0, 0}, {100, 0, 0}, 20, Heads));
    ExpectNear(Heads[0][0], {0, 0, 0});
    ExpectNear(Heads[0][1], {20, 5, 0});
    ExpectNear(Heads[0][2], {20, -5, 0});
    ExpectNear(Heads[1][0], {100, 0, 0});
    ExpectNear(Heads[1][1], {80, 5, 0});
    // At most 0.4 of the line: 10 pixels long gives heads 4 long.
    ASSERT_TRUE(DoubleArrowHeads({0, 0, 0}, {0, 10, 0}, 20, Heads));
    ExpectNear(Heads[1][1], {-1, 6, 0});
    EXPECT_FALSE(DoubleArrowHeads({5, 5, 0}, {5, 5, 0}, 20, Heads));
}

TEST_F(DimensionTest, PointsSnappingAndDragging) {
    TGeoDimension* Dimension = AddDimension({0, 0, 0}, {10, 0, 0});
    EXPECT_EQ(Dimension->GetPointCount(), 101);
    ExpectNear(Dimension->GetPoint(50)->Vector(), {5, 0, 0});

    // The end points are offered to snapping, as points, outside edit mode only.
    TGeometrySnapInfo Request(Px(9.8, 0.1), &View, nullptr, {});
    Dimension->AddSnapPoints(Request);
    ASSERT_TRUE(Request.Found());
    ExpectNear(Request.BestPoint, {10, 0, 0});

    Doc.SetProjectOptions(po3DEditing);
    Doc.View = &View;
    Dimension->SetEditing(true);
    EXPECT_EQ(Dimension->GetPointCount(), 2);
    EXPECT_EQ(Dimension->GetPoint(1), Dimension->Line().Point2.get());
    EXPECT_EQ(Dimension->GetPoint(2), nullptr);
    TGeometrySnapInfo Editing(Px(9.8, 0.1), &View, nullptr, {});
    Dimension->AddSnapPoints(Editing);
    EXPECT_FALSE(Editing.Found());

    // Dragging the marked end point moves it alone, as one undo step.
    ExpectOneUndoStep(Doc, "end point", [&] {
        Dimension->DeselectAllPoints();
        Dimension->Line().Point2->Marked = true;
        View.Press(mbLeft, Px(10, 0).X, Px(10, 0).Y);
        View.Move(Px(10, 5).X, Px(10, 5).Y);
        View.Release(mbLeft, Px(10, 5).X, Px(10, 5).Y);
        ExpectNear(Dimension->Line().Point1->Vector(), {0, 0, 0});
        ExpectNear(Dimension->Line().Point2->Vector(), {10, 5, 0});
    });
}

TEST_F(DimensionTest, TransformMovesBothPointsAndAFlatDimensionStays) {
    // Along one axis its box is flat, yet it has something to show and stays after the list changes.
    TGeoDimension* Dimension = AddDimension({1, 0, 0}, {4, 0, 0}, "Along x");
    AddDimension({1, 1, 1}, {1, 1, 1}, "Point");
    AddDimension({0, 0, 0}, {0, 0, 1}, "Along z");
    EXPECT_EQ(Doc.FindByName("Point"), nullptr) << "a dimension of no length has nothing to show";
    RunMacroText(Doc, "SELECT ALL\nMOVE X=1 Y=2 Z=3\n");
    ASSERT_EQ(Doc.FindByName("Along x"), Dimension);
    EXPECT_NE(Doc.FindByName("Along z"), nullptr);
    ExpectNear(Dimension->Line().Point1->Vector(), {2, 2, 3});
    ExpectNear(Dimension->Line().Point2->Vector(), {5, 2, 3});
}

TEST_F(DimensionTest, TwoClicksMakeADimension) {
    auto& Creator = static_cast<TGeoDimensionCreator&>(RunCreator(std::make_unique<TGeoDimensionCreator>(Doc), View));
    Click(mbLeft, 1, 1);
    // The second end follows the mouse.
    const TPoint P = Px(4, 5);
    View.Move(P.X, P.Y);
    ASSERT_EQ(Creator.GetPoints().Count(), 2);
    ExpectNear(Creator.GetPoints().Point(1)->Vector(), {4, 5, 0});
    Click(mbLeft, 4, 5);
    ASSERT_EQ(EntitiesOf<TGeoDimension>(Doc).size(), 1u);
    EXPECT_NEAR(EntitiesOf<TGeoDimension>(Doc).front()->Distance(), 5, 1e-9);
    EXPECT_EQ(Creator.GetPoints().Count(), 0);
    // A right click after the first end drops it; the next one ends the creator.
    Click(mbLeft, 10, 10);
    Click(mbRight, 10, 10);
    ASSERT_NE(View.Editor, nullptr);
    Click(mbRight, 10, 10);
    EXPECT_EQ(View.Editor, nullptr);
    EXPECT_EQ(EntitiesOf<TGeoDimension>(Doc).size(), 1u);
}

}  // namespace
}  // namespace sarnova::test
