// The arc entity: its points in and out of edit mode, its block, conversion, dragging, grid edits,
// queries, menus and the three-click creator.
#include "entities/GArc.h"

#include <gtest/gtest.h>

#include <numbers>
#include <string>
#include <utility>

#include "EntityFixtures.h"
#include "document/GeometryQuery.h"
#include "document/GPline.h"

namespace sarnova::test {
namespace {

class ArcTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterEntityClasses(); }
    TGeoArc* AddArc(const TMVector& S, const TMVector& M, const TMVector& E, const std::string& Name = {}) {
        auto Arc = std::make_unique<TGeoArc>();
        Arc->Arc().GetPoint(0)->SetVector(S);
        Arc->Arc().GetPoint(1)->SetVector(M);
        Arc->Arc().GetPoint(2)->SetVector(E);
        Arc->SetName(Name);
        return static_cast<TGeoArc*>(Doc.Add(std::move(Arc)));
    }
    void Click(TMouseButton Button, double X, double Y) { ClickAt(View, Button, X, Y); }

    TGeometryInterface Doc;
    TFakeView View;
};

TEST_F(ArcTest, PicksAlongItsPolylineAndEditsItsThreePoints) {
    TGeoArc* Arc = AddArc({0, 0, 0}, {1, 1, 0}, {2, 0, 0});
    EXPECT_EQ(Arc->GetPointCount(), 101);
    ExpectNear(Arc->GetPoint(50)->Vector(), {1, 1, 0});
    ExpectNear(Arc->GetPoint(100)->Vector(), {2, 0, 0});
    EXPECT_EQ(Arc->GetSelectionType(), 2);
    Arc->SetEditing(true);
    EXPECT_EQ(Arc->GetPointCount(), 3);
    EXPECT_EQ(Arc->GetPoint(1), Arc->Arc().GetPoint(1));
    EXPECT_EQ(Arc->GetPoint(3), nullptr);
    const TMBox E = Arc->GetExtents();
    ExpectNear(E.Min, {0, 0, 0});
    ExpectNear(E.Max, {2, 1, 0});
}

TEST_F(ArcTest, BlockLoadsAndSavesUnchanged) {
    AddArc({0, 0, 0}, {1, 1, 0}, {2, 0, 0});
    EXPECT_EQ(SavedText(Doc), "[TArc]\nStartPoint=(0,0,0)\nMidPoint=(1,1,0)\nEndPoint=(2,0,0)\n\n");
    ExpectLoadsAndSavesUnchanged("[TArc]\nStartPoint=(0.5,-1.25,3)\nMidPoint=(1,1,0)\nEndPoint=(2,0,0)\nName=A\nColor=clRed\n\n");
}

// A half circle whose ends lie on one diameter: after every transform its polyline is still the
// half circle (length pi r), and undoing them all gives back the document as it was, in its order.
TEST_F(ArcTest, HalfCircleSurvivesTransformsAndUndo) {
    const std::string Text =
        "[TArc]\nStartPoint=(0,2,0)\nMidPoint=(1,1,0)\nEndPoint=(2,2,0)\nName=Half\n\n"
        "[TArc]\nStartPoint=(0,0,0)\nMidPoint=(1,1,0)\nEndPoint=(2,0,0)\nName=Bow\n\n";
    TTextReader In(Text);
    Doc.LoadFromText(In);
    ASSERT_EQ(Doc.Count(), 2);
    EXPECT_EQ(SavedText(Doc), Text);
    const auto ExpectHalfCircles = [&](double Radius, const std::string& What) {
        for (int I = 0; I < Doc.Count(); ++I) {
            auto& Arc = static_cast<TGeoArc&>(Doc.Items(I));
            EXPECT_NEAR(Arc.DisplayPolyline().Length(), std::numbers::pi * Radius, 1e-3 * Radius) << What << ", " << I;
        }
    };
    ExpectHalfCircles(1, "loaded");
    const std::pair<const char*, TMMatrix> Transforms[] = {
        {"mirror", MatrixMirror(2, 1)},
        {"rotate", MatrixFromRotationAngles(0, 0, std::numbers::pi / 6)},
        {"scale", MatrixScaling(2, 2, 2)},
        {"move", MatrixTranslation(1, 1, 1)},
    };
    Doc.GetUndoManager().Clear();
    double Radius = 1;
    for (const auto& [What, M] : Transforms) {
        Doc.SelectAll();
        Doc.TransformSelected(M, false);
        if (std::string(What) == "scale") Radius = 2;
        ExpectHalfCircles(Radius, What);
    }
    for (int Step = 0; Step < 4; ++Step) Doc.Undo();
    EXPECT_EQ(SavedText(Doc), Text);
    ExpectHalfCircles(1, "undone");
}

TEST_F(ArcTest, KeysInAnyCaseUpToTheFirstLineWithoutOne) {
    TGeoArc Arc;
    TTextReader In("StartPoint=(0,0,0)\nMidPoint=(1,1,0)\nEndPoint=(2,0,0)\nname=Foo\nMirrored=TRUE\nno key\nName=Bar\n");
    Arc.LoadFromText(In);
    EXPECT_EQ(Arc.GetName(), "Foo");
    EXPECT_FALSE(Arc.Mirrored());
    EXPECT_EQ(In.ReadLine(), "Name=Bar");
}

TEST_F(ArcTest, ConvertsToAPolylineAsOneUndoStep) {
    TGeoArc* Arc = AddArc({0, 0, 0}, {1, 1, 0}, {2, 0, 0}, "A");
    ExpectOneUndoStep(Doc, "convert", [&] {
        Arc->SetSelected(true);
        ClickPopupItem(*Arc, "Convert Arc to Polyline");
    });
    EXPECT_EQ(EntitiesOf<TGeoArc>(Doc).size(), 1u);
    Doc.FindByName("A")->SetSelected(true);
    ClickPopupItem(*Doc.FindByName("A"), "Convert Arc to Polyline");
    ASSERT_EQ(Doc.Count(), 1);
    auto* Polyline = dynamic_cast<TGeoPline*>(&Doc.Items(0));
    ASSERT_NE(Polyline, nullptr);
    EXPECT_EQ(Polyline->Polyline().Count(), 101);
    EXPECT_EQ(Polyline->GetName(), "");
}

TEST_F(ArcTest, SelectionMenuOnlyForArcsAlone) {
    TGeoArc* A = AddArc({0, 0, 0}, {1, 1, 0}, {2, 0, 0});
    TGeoArc* B = AddArc({0, 3, 0}, {1, 4, 0}, {2, 3, 0});
    A->SetSelected(true);
    B->SetSelected(true);
    TMenuItem Menu;
    Menu.Add("Existing");
    TGeoArc::AddSelectionMenuItems(Menu, Doc);
    ASSERT_EQ(MenuCaptions(Menu), (std::vector<std::string>{"Existing", "-", "Convert Arc to Polylines"}));

    AddPline(Doc, {{0, 0, 0}, {1, 0, 0}}, "P")->SetSelected(true);
    TMenuItem Mixed;
    TGeoArc::AddSelectionMenuItems(Mixed, Doc);
    EXPECT_EQ(Mixed.Count(), 0);
    Doc.FindByName("P")->SetSelected(false);

    Doc.GetUndoManager().Clear();
    Menu.Items(2).Click();
    EXPECT_TRUE(EntitiesOf<TGeoArc>(Doc).empty());
    EXPECT_EQ(EntitiesOf<TGeoPline>(Doc).size(), 3u);
    Doc.Undo();
    EXPECT_EQ(EntitiesOf<TGeoArc>(Doc).size(), 2u);
    EXPECT_FALSE(Doc.CanUndo());
}

TEST_F(ArcTest, DraggingMovesTheSelectedPoints) {
    TGeoArc* Arc = AddArc({0, 0, 0}, {1, 1, 0}, {2, 0, 0}, "A");
    Doc.View = &View;
    Arc->SetEditing(true);
    ExpectOneUndoStep(Doc, "drag", [&] {
        TSelectAction Action = saDoNothing;
        const TPoint From = Px(2, 0);
        Arc->SelectPoint(View, From.X, From.Y, 0, Action);
        const TPoint To = Px(4, -2);
        View.Press(mbLeft, From.X, From.Y);
        View.Move(To.X, To.Y);
        View.Release(mbLeft, To.X, To.Y);
        ExpectNear(Arc->Arc().GetPoint(2)->Vector(), {4, -2, 0});
        ExpectNear(Arc->Arc().GetPoint(0)->Vector(), {0, 0, 0});
    });
    Doc.View = nullptr;
}

TEST_F(ArcTest, GridEditsAndRowSelection) {
    TGeoArc* Arc = AddArc({0, 0, 0}, {1, 1, 0}, {2, 0, 0}, "A");
    ExpectOneUndoStep(Doc, "cell", [&] { Arc->SetPointCoordinate(1, 1, 3); });
    Arc->SetPointCoordinate(1, 2, -1);
    ExpectNear(Arc->Arc().GetPoint(1)->Vector(), {1, 1, -1});

    // Rows select points only in edit mode.
    Arc->MarkPointRange(0, 1);
    EXPECT_FALSE(Arc->Arc().GetPoint(0)->Marked);
    Arc->SetEditing(true);
    Arc->Arc().GetPoint(2)->Marked = true;
    Arc->MarkPointRange(0, 1);
    EXPECT_TRUE(Arc->Arc().GetPoint(0)->Marked);
    EXPECT_TRUE(Arc->Arc().GetPoint(1)->Marked);
    EXPECT_FALSE(Arc->Arc().GetPoint(2)->Marked);
}

TEST_F(ArcTest, AnswersArcAndPolylineQueries) {
    TGeoArc* Arc = AddArc({0, 0, 0}, {1, 1, 0}, {2, 0, 0}, "A");
    TGeometryQuery Both;
    Both.Kinds = QueryKinds({qkArc, qkPolyline});
    Doc.Query(Both, false);
    ASSERT_EQ(Both.Count(), 1);
    EXPECT_EQ(Both.Item(0).As<TArc>(), &Arc->Arc());
    EXPECT_FALSE(Both.Item(0).Owned());
    TGeometryQuery Lines;
    Lines.Kinds = QueryKinds({qkPolyline});
    Doc.Query(Lines, false);
    ASSERT_EQ(Lines.Count(), 1);
    ASSERT_NE(Lines.Item(0).As<TPolyline>(), nullptr);
    EXPECT_EQ(Lines.Item(0).As<TPolyline>()->Count(), 101);

    // The polyline answers for the arc as it is now, drawn or not.
    TMMatrix Move = IdentityMatrix;
    Move[0][3] = 10;
    Arc->Transform(Move);
    TGeometryQuery Moved;
    Moved.Kinds = QueryKinds({qkPolyline});
    Doc.Query(Moved, false);
    ExpectNear(Moved.Item(0).As<TPolyline>()->Point(0)->Vector(), {10, 0, 0});

    Doc.SendMessage(std::make_unique<TGeoSelectArcs>());
    EXPECT_TRUE(Arc->GetSelected());
}

TEST_F(ArcTest, ThreeClicksMakeAnArcAndTheCreatorStays) {
    RunCreator(std::make_unique<TGeoArcCreator>(Doc), View);
    Click(mbLeft, 0, 0);
    Click(mbLeft, 1, 1);
    EXPECT_EQ(Doc.Count(), 0);
    Click(mbLeft, 2, 0);
    ASSERT_EQ(EntitiesOf<TGeoArc>(Doc).size(), 1u);
    TArc& Arc = EntitiesOf<TGeoArc>(Doc).front()->Arc();
    ExpectNear(Arc.GetPoint(0)->Vector(), {0, 0, 0});
    ExpectNear(Arc.GetPoint(1)->Vector(), {1, 1, 0});
    ExpectNear(Arc.GetPoint(2)->Vector(), {2, 0, 0});
    ASSERT_NE(View.Editor, nullptr);

    // The next arc takes three more clicks; a right click during it drops it and keeps the creator.
    Click(mbLeft, 5, 5);
    Click(mbRight, 6, 6);
    ASSERT_NE(View.Editor, nullptr);
    Click(mbLeft, 5, 5);
    Click(mbLeft, 6, 6);
    Click(mbLeft, 7, 5);
    EXPECT_EQ(EntitiesOf<TGeoArc>(Doc).size(), 2u);
    ExpectNear(EntitiesOf<TGeoArc>(Doc).back()->Arc().GetPoint(0)->Vector(), {5, 5, 0});

    // Right after an arc nothing is entered: a right click ends the creator.
    Click(mbRight, 6, 6);
    EXPECT_EQ(View.Editor, nullptr);
    EXPECT_EQ(RunningCreatorCount(), 0);
}

TEST_F(ArcTest, RubberShapeOfPointsInALine) {
    RunCreator(std::make_unique<TGeoArcCreator>(Doc), View);
    Click(mbLeft, 0, 0);
    Click(mbLeft, 1, 0);
    View.Drawn.clear();
    const TPoint P = Px(2, 0);
    View.Move(P.X, P.Y);
    // No arc runs through three points in a line: the points themselves show.
    EXPECT_EQ(View.CountDrawn("LineStart"), 0);
    EXPECT_EQ(View.CountDrawn("Polyline"), 2);
    Click(mbRight, 0, 0);
    Click(mbRight, 0, 0);
    EXPECT_EQ(View.Editor, nullptr);
}

}  // namespace
}  // namespace sarnova::test
