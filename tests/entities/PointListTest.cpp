// The point cloud and its entity: the text form, the polyline through the points, deleting, dragging,
// the frame's edits, the creator, and the polyline's conversions into a cloud.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "document/CurveFixtures.h"
#include "document/DragPoints.h"
#include "document/FakeView.h"
#include "document/TestPoint.h"
#include "document/GeometryClasses.h"
#include "document/GeometryQuery.h"
#include "entities/GPointList.h"
#include "foundation/Errors.h"
#include "foundation/TextFile.h"

namespace sarnova::test {
namespace {

std::vector<TMVector> CloudPoints(const TPointCloud& Cloud) {
    std::vector<TMVector> Result;
    for (int I = 0; I < Cloud.Count(); ++I) Result.push_back(Cloud.Items(I)->Vector());
    return Result;
}

class PointListTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestClasses();
        Doc.SetProjectOptions(po3DEditing);
    }

    TGeoPointList* AddCloud(const std::vector<TMVector>& Points, const std::string& Name = "Cloud") {
        auto Entity = std::make_unique<TGeoPointList>();
        for (const TMVector& P : Points) Entity->Cloud().AddXYZ(P.X, P.Y, P.Z);
        Entity->SetName(Name);
        return static_cast<TGeoPointList*>(Doc.Add(std::move(Entity)));
    }
    std::unique_ptr<TGeoPointList> Read(const std::string& Block) {
        auto Entity = std::make_unique<TGeoPointList>();
        TTextReader In(Block);
        In.ReadLine();  // the header, as the document reader takes it
        Entity->LoadFromText(In);
        return Entity;
    }

    TGeometryInterface Doc;
};

TEST_F(PointListTest, TheBlockKeepsThreeDecimalsAndTheNameButNoColour) {
    TGeoPointList* Cloud = AddCloud({{1.23456, -2, 0}, {1000.5, 0.0004, -7.25}});
    Cloud->SetColor(clRed);
    const std::string Block =
        "[TPointCloud]\nNumPoints=2\n     1.235     -2.000      0.000\n  1000.500      0.000     -7.250\n"
        "Name=Cloud\n\n";
    EXPECT_EQ(SavedText(Doc), Block);

    const auto Back = Read(Block);
    EXPECT_EQ(Back->GetName(), "Cloud");
    EXPECT_EQ(CloudPoints(Back->Cloud()), (std::vector<TMVector>{{1.235, -2, 0}, {1000.5, 0, -7.25}}));
    // Written back byte for byte.
    TTextWriter Out;
    Back->SaveToText(Out);
    EXPECT_EQ(Out.Text(), Block);

    // A colour line of another program is read all the same; unknown keys are passed over.
    const auto Coloured = Read("[TPointCloud]\nNumPoints=0\nWhatever=1\ncolor = clRed\nName=B\n\nName=Later\n");
    EXPECT_EQ(Coloured->GetColor(), clRed);
    EXPECT_EQ(Coloured->GetName(), "B");
}

TEST_F(PointListTest, DamagedBlocksFailWithTheirMessage) {
    struct TCase {
        const char* Block;
        const char* Message;
    };
    const TCase Cases[] = {
        {"[TPointCloud]\nNumPoints=two\n", "Error in field PointList.NumPoints"},
        {"[TPointCloud]\nNumPoints=\n", "Error in field PointList.NumPoints"},
        {"[TPointCloud]\nNumPoints=1.5\n", "Error in field PointList.NumPoints"},
        // A count the block's lines do not hold is refused before anything is read or allocated.
        {"[TPointCloud]\nNumPoints=2000000000\n1 2 3\n",
         "NumPoints=2000000000 on line 2 does not match the 1 lines that follow"},
        {"[TPointCloud]\nNumPoints=1\n1 x 3\n", "I/O Result 106"},
    };
    for (const TCase& C : Cases) {
        try {
            Read(C.Block);
            ADD_FAILURE() << C.Block;
        } catch (const EError& E) {
            EXPECT_STREQ(E.what(), C.Message) << C.Block;
        }
    }
}

TEST_F(PointListTest, PolylineThroughTakesTheFirstTwoThenInsertsIntoTheNearestSegment) {
    TPointCloud Cloud;
    Cloud.AddXYZ(0, 0, 0);
    Cloud.AddXYZ(4, 0, 0);
    EXPECT_EQ(PointsOf(*Cloud.PolylineThrough()), (std::vector<TMVector>{{0, 0, 0}, {4, 0, 0}}));
    // Collinear points: between the first two, and beyond the end where the last segment leads.
    Cloud.AddXYZ(2, 0, 0);
    Cloud.AddXYZ(6, 0, 0);
    EXPECT_EQ(PointsOf(*Cloud.PolylineThrough()), (std::vector<TMVector>{{0, 0, 0}, {2, 0, 0}, {4, 0, 0}, {6, 0, 0}}));
    // Nothing is taken from the cloud.
    EXPECT_EQ(Cloud.Count(), 4);
    TPointCloud One;
    One.AddXYZ(1, 1, 1);
    EXPECT_EQ(One.PolylineThrough()->Count(), 1);
    EXPECT_EQ(TPointCloud().PolylineThrough()->Count(), 0);
}

TEST_F(PointListTest, CloudOperationsCopyThePoints) {
    TPolyline Line;
    Line.AddPoint(1, 2, 3);
    Line.AddPoint(4, 5, 6);
    TPointCloud Cloud;
    Cloud.AddXYZ(9, 9, 9);
    Cloud.AssignPolyline(Line);
    Cloud.AddPolyline(Line);
    EXPECT_EQ(CloudPoints(Cloud), (std::vector<TMVector>{{1, 2, 3}, {4, 5, 6}, {1, 2, 3}, {4, 5, 6}}));
    EXPECT_NE(Cloud.Items(0), Line.Point(0));
    EXPECT_EQ(CloudPoints(*Cloud.Transformed(MatrixTranslation(1, 0, 0)))[1], (TMVector{5, 5, 6}));
    Cloud.Assign(Cloud);
    EXPECT_EQ(Cloud.Count(), 4);
    Cloud.Delete(0);
    EXPECT_EQ(Cloud.First()->Vector(), (TMVector{4, 5, 6}));
    EXPECT_THROW(Cloud.Items(3), EError);
    EXPECT_THROW(Cloud.Delete(-1), EError);
}

TEST_F(PointListTest, DeletingSelectedPointsStopsAtTwoAsOneUndoStep) {
    TGeoPointList* Cloud = AddCloud({{0, 0, 0}, {1, 0, 0}, {2, 1, 0}, {3, 0, 0}, {4, 2, 0}});
    ExpectOneUndoStep(Doc, "delete", [&] {
        for (int I = 0; I < 5; ++I) Cloud->Cloud().Items(I)->Marked = true;
        Cloud->DeleteSelectedPoints();
    });
    // Undo brought the cloud back as it was; this time the deletion is kept.
    Cloud = static_cast<TGeoPointList*>(&Doc.Items(0));
    for (int I = 0; I < 5; ++I) Cloud->Cloud().Items(I)->Marked = true;
    Cloud->DeleteSelectedPoints();
    EXPECT_EQ(CloudPoints(Cloud->Cloud()), (std::vector<TMVector>{{3, 0, 0}, {4, 2, 0}}));

    // The frame's delete on two points deletes nothing and leaves no undo step.
    Doc.GetUndoManager().Clear();
    Cloud->DeletePoint(0);
    EXPECT_EQ(Cloud->Cloud().Count(), 2);
    EXPECT_FALSE(Doc.CanUndo());
}

TEST_F(PointListTest, TheFramesEditsAreOneUndoStepEach) {
    TGeoPointList* Cloud = AddCloud({{0, 0, 0}, {1, 1, 0}, {2, 0, 1}});
    ExpectOneUndoStep(Doc, "coordinate", [&] { Cloud->SetPointCoordinate(1, 2, 7.5); });
    Cloud = static_cast<TGeoPointList*>(&Doc.Items(0));
    ExpectOneUndoStep(Doc, "add", [&] { Cloud->AddOrigin(); });
    Cloud = static_cast<TGeoPointList*>(&Doc.Items(0));
    ExpectOneUndoStep(Doc, "delete row", [&] { Cloud->DeletePoint(1); });
    Cloud = static_cast<TGeoPointList*>(&Doc.Items(0));

    Cloud->SetPointCoordinate(1, 2, 7.5);
    Cloud->AddOrigin();
    Cloud->DeletePoint(0);
    EXPECT_EQ(CloudPoints(Cloud->Cloud()), (std::vector<TMVector>{{1, 1, 7.5}, {2, 0, 1}, {0, 0, 0}}));
    // Out of range does nothing.
    Doc.GetUndoManager().Clear();
    Cloud->SetPointCoordinate(3, 0, 1);
    Cloud->SetPointCoordinate(0, 3, 1);
    EXPECT_FALSE(Doc.CanUndo());

    // Selecting a row selects its point alone, only while editing.
    Cloud->SelectOnlyPoint(1);
    EXPECT_FALSE(Cloud->Cloud().Items(1)->Marked);
    Doc.SetEditedGeometry(Cloud);
    Cloud->Cloud().Items(0)->Marked = true;
    Cloud->SelectOnlyPoint(1);
    EXPECT_FALSE(Cloud->Cloud().Items(0)->Marked);
    EXPECT_TRUE(Cloud->Cloud().Items(1)->Marked);
}

TEST_F(PointListTest, DraggingMovesTheSelectedPointsByTheOffset) {
    TFakeView View;
    Doc.View = &View;
    TGeoPointList* Cloud = AddCloud({{1, 2, 0}, {3, 2, 0}, {5, 5, 0}});
    Doc.SetEditedGeometry(Cloud);
    ASSERT_EQ(View.Editor, Cloud);
    EXPECT_EQ(Cloud->GetEditorFlags(), efSelectPoints | efDragMoves | efKeys);
    EXPECT_EQ(View.Hint(),
              "Left Click to Select, Shift to Select by region, Ctrl to add to add to previous selection, Delete to "
              "remove points, 'A' to add points");
    Cloud->Cloud().Items(1)->Marked = true;
    const TPoint From = Px(1, 2);
    const TPoint To = Px(2, 4);
    View.Press(mbLeft, From.X, From.Y, ssCtrl);
    View.Move(To.X, To.Y);
    View.Release(mbLeft, To.X, To.Y);
    EXPECT_EQ(CloudPoints(Cloud->Cloud()), (std::vector<TMVector>{{2, 4, 0}, {4, 4, 0}, {5, 5, 0}}));
    Doc.SetEditedGeometry(nullptr);
    Doc.View = nullptr;
    Doc.Undo();
    EXPECT_EQ(CloudPoints(static_cast<TGeoPointList&>(Doc.Items(0)).Cloud()),
              (std::vector<TMVector>{{1, 2, 0}, {3, 2, 0}, {5, 5, 0}}));
}

TEST_F(PointListTest, PolylineThroughPointsFollowsTheSelectionWhileEditing) {
    TGeoPointList* Cloud = AddCloud({{0, 0, 0}, {4, 0, 0}, {2, 0, 0}});
    TMenuItem* Menu = Cloud->PopupMenu();
    ASSERT_NE(Menu, nullptr);
    EXPECT_EQ(MenuCaptions(*Menu), (std::vector<std::string>{"Edit", "Show Attributes...", "-", "Polyline through Points"}));
    EXPECT_TRUE(Menu->Find("Polyline through Points")->Enabled);
    Menu->Find("Polyline through Points")->Click();
    ASSERT_EQ(Doc.Count(), 2);
    EXPECT_EQ(PointsOf(static_cast<TGeoPline&>(Doc.Items(1)).Polyline()),
              (std::vector<TMVector>{{0, 0, 0}, {2, 0, 0}, {4, 0, 0}}));

    Doc.SetEditedGeometry(Cloud);
    Cloud->Cloud().Items(0)->Marked = true;
    Menu = Cloud->PopupMenu();
    EXPECT_FALSE(Menu->Find("Polyline through Points")->Enabled) << "one selected point";
    Cloud->Cloud().Items(2)->Marked = true;
    Menu = Cloud->PopupMenu();
    ASSERT_TRUE(Menu->Find("Polyline through Points")->Enabled);
    Menu->Find("Polyline through Points")->Click();
    ASSERT_EQ(Doc.Count(), 3);
    EXPECT_EQ(PointsOf(static_cast<TGeoPline&>(Doc.Items(2)).Polyline()), (std::vector<TMVector>{{0, 0, 0}, {2, 0, 0}}));
}

TEST_F(PointListTest, QueryTransformAndDrawing) {
    TTestSettings Settings;
    TGeoPointList* Cloud = AddCloud({{0, 0, 0}, {1, 1, 1}});
    TGeometryQuery Query;
    Query.Kinds = QueryKinds({qkPointCloud});
    Doc.Query(Query, false);
    ASSERT_EQ(Query.Count(), 1);
    EXPECT_EQ(Query.First()->As<TPointCloud>(), &Cloud->Cloud());
    EXPECT_EQ(Query.First()->Name, "Cloud");

    Cloud->Transform(MatrixTranslation(0, 0, 2));
    EXPECT_EQ(CloudPoints(Cloud->Cloud()), (std::vector<TMVector>{{0, 0, 2}, {1, 1, 3}}));
    EXPECT_EQ(Cloud->GetExtents(), MakeBox(0, 0, 2, 1, 1, 3));

    TFakeView View;
    Cloud->Draw(View);
    EXPECT_EQ(View.CountDrawn("EditHandle"), 2);
    EXPECT_EQ(View.CountDrawn("SetLineColor"), 0) << "markers in the colour set for the entity";
    View.Drawn.clear();
    Doc.SetEditedGeometry(Cloud);
    Cloud->Cloud().Items(1)->Marked = true;
    Cloud->Draw(View);
    ASSERT_EQ(View.Drawn.size(), 4u);
    EXPECT_EQ(View.Drawn[0].Color, Settings->ControlPolygonColor);
    EXPECT_EQ(View.Drawn[2].Color, Settings->SelectColor);
}

TEST_F(PointListTest, TheCreatorClicksPointsIntoANewCloud) {
    TFakeView View;
    Doc.View = &View;
    auto Owned = std::make_unique<TGeoPointCloudCreator>(Doc);
    TGeoPointCloudCreator& Creator = *Owned;
    View.SetEditorInterface(&Creator);
    TMVector Reference;
    View.Press(mbLeft, Px(1, 2).X, Px(1, 2).Y);
    EXPECT_EQ(Creator.GetPhase(), 1);
    Creator.GetReferencePoint(Reference);
    EXPECT_EQ(Reference, ZeroVector);
    View.Press(mbLeft, Px(3, 4).X, Px(3, 4).Y);
    EXPECT_EQ(Creator.GetPhase(), 2);
    Creator.GetReferencePoint(Reference);
    EXPECT_EQ(Reference, (TMVector{1, 2, 0}));
    View.Press(mbRight, 0, 0);
    ASSERT_EQ(Doc.Count(), 1);
    auto& Cloud = static_cast<TGeoPointList&>(Doc.Items(0));
    EXPECT_EQ(CloudPoints(Cloud.Cloud()), (std::vector<TMVector>{{1, 2, 0}, {3, 4, 0}}));
    // The tool stays for the next cloud, empty; Esc ends it.
    EXPECT_EQ(View.Editor, &Creator);
    EXPECT_EQ(Creator.GetCloud().Count(), 0);
    View.KeyPress(27);
    EXPECT_TRUE(Creator.HasEnded());
    Doc.View = nullptr;
}

TEST_F(PointListTest, ThePolylineConvertsIntoACloudAsOneUndoStep) {
    TGeoPline* P = AddPline(Doc, {{0, 0, 0}, {1, 0, 0}, {2, 1, 0}}, "P");
    ExpectOneUndoStep(Doc, "convert", [&] {
        TMenuItem* Menu = P->PopupMenu();
        ASSERT_NE(Menu, nullptr);
        Menu->Find("Convert to PointCloud")->Click();
    });
    P = static_cast<TGeoPline*>(&Doc.Items(0));
    P->ConvertToPointCloud();
    ASSERT_EQ(Doc.Count(), 1);
    auto* Cloud = dynamic_cast<TGeoPointList*>(&Doc.Items(0));
    ASSERT_NE(Cloud, nullptr);
    EXPECT_EQ(CloudPoints(Cloud->Cloud()), (std::vector<TMVector>{{0, 0, 0}, {1, 0, 0}, {2, 1, 0}}));
}

TEST_F(PointListTest, SelectedPolylinesConvertIntoOneCloud) {
    // Undo brings deleted entities back at the end: the one left alone comes first, so that the
    // document reads as before.
    AddPline(Doc, {{5, 5, 5}}, "Other");
    AddPline(Doc, {{0, 0, 0}, {1, 0, 0}}, "A");
    AddPline(Doc, {{2, 2, 0}, {3, 3, 0}}, "B");
    Doc.Items(1).SetSelected(true);
    Doc.Items(2).SetSelected(true);
    TMenuItem Menu;
    TGeoPline::AddSelectionMenuItems(Menu, Doc);
    ASSERT_NE(Menu.Find("Convert to PointCloud"), nullptr);
    ExpectOneUndoStep(Doc, "convert selected", [&] { Menu.Find("Convert to PointCloud")->Click(); });
    ConvertSelectedToPointCloud(Doc);
    ASSERT_EQ(Doc.Count(), 2);
    EXPECT_EQ(Doc.Items(0).GetName(), "Other");
    EXPECT_EQ(CloudPoints(static_cast<TGeoPointList&>(Doc.Items(1)).Cloud()),
              (std::vector<TMVector>{{0, 0, 0}, {1, 0, 0}, {2, 2, 0}, {3, 3, 0}}));

    // Every point in one place: the empty cloud goes at the check after the change, and nothing
    // touches it afterwards.
    Doc.Clear();
    AddPline(Doc, {{1, 1, 1}, {1, 1, 1}}, "Same")->SetSelected(true);
    ConvertSelectedToPointCloud(Doc);
    EXPECT_EQ(Doc.Count(), 0);
}

}  // namespace
}  // namespace sarnova::test
