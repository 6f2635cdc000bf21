// The polygon-list entity: its block, copies, drawing and picking, its popup menu and commands, the
// multiple-selection commands, and the conversions of other entities into it.
#include "entities/GGonList.h"

#include <gtest/gtest.h>

#include <functional>

#include "EntityFixtures.h"
#include "document/GPline.h"
#include "document/GeometryQuery.h"
#include "document/PolylineDialogs.h"
#include "entities/GBox.h"
#include "foundation/Console.h"
#include "foundation/GeomFacet.h"

namespace sarnova::test {
namespace {

// A triangle and a quadrilateral that straddle z = 0, named and coloured.
const std::string Straddling =
    "[TPolygonList]\nNumberofPolygons=2\n"
    "3 0.000 0.000 -1.000 1.000 0.000 -1.000 0.000 1.000 1.000\n"
    "4 0.000 0.000 -2.000 2.000 0.000 -2.000 2.000 2.000 2.000 0.000 2.000 2.000\n"
    "Name=Hull\nColor=clRed\n\n";

std::string BlockOf(TGeometry& Entity) {
    TTextWriter Out;
    Entity.SaveToText(Out);
    return Out.Text();
}

class GGonListTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterEntityClasses(); }
    void TearDown() override { PolylineDialogs().ShowSliceDialog = nullptr; }

    // A list of the triangles with these lowest corners, each 1 wide and 1 high in the z = Z plane.
    TGeoPGonlist* AddList(std::initializer_list<double> Xs, double Z = 0, const std::string& Name = {}) {
        auto Entity = std::make_unique<TGeoPGonlist>();
        for (double X : Xs) Entity->Facets().Add(TriangleFromVectors({X, 0, Z}, {X + 1, 0, Z}, {X, 1, Z}));
        Entity->SetName(Name);
        return static_cast<TGeoPGonlist*>(Doc.Add(std::move(Entity)));
    }
    std::vector<TGeoPGonlist*> Lists() const { return EntitiesOf<TGeoPGonlist>(Doc); }
    TGeometry* AddBoxEntity() { return Doc.Add(std::make_unique<TGeoBox>()); }

    TTestSettings TestSettings;
    TGeometryInterface Doc;
};

TEST_F(GGonListTest, TheBlockKeepsFacetsNameAndColourAndReadsTheKeysByTheirCase) {
    ExpectLoadsAndSavesUnchanged(Straddling);
    ExpectLoadsAndSavesUnchanged("[TPolygonList]\nNumberofPolygons=0\n\n");

    // "Name" only with that case; the colour key in any case; other lines passed over.
    LoadDocumentText(Doc,
                     "[TPolygonList]\nNumberofPolygons=1\n3 0.000 0.000 0.000 1.000 0.000 0.000 0.000 1.000 0.000\n"
                     "NAME=Upper\ncolor=clBlue\nno key here\nFuture=1\n\n");
    ASSERT_EQ(Lists().size(), 1u);
    EXPECT_EQ(Lists()[0]->GetName(), "");
    EXPECT_EQ(Lists()[0]->GetColor(), clBlue);
    EXPECT_FALSE(Lists()[0]->ShowNormals());
    EXPECT_TRUE(Lists()[0]->ShowPolygons());
}

TEST_F(GGonListTest, ADamagedBlockIsKeptUnchanged) {
    for (const std::string Block : {
             "[TPolygonList]\nNumberofPolygons=many\n\n",
             "[TPolygonList]\nNumberofPolygons=2\n3 0.000 0.000 0.000 1.000 0.000 0.000 0.000 1.000 0.000\n\n",
             "[TPolygonList]\nNumberofPolygons=1\n3 0.000 zero 0.000\n\n",
             "[TPolygonList]\nNumberofPolygons=0\nColor=clNoSuchColour\n\n",
         }) {
        TGeometryInterface Damaged;
        LoadDocumentText(Damaged, Block);
        EXPECT_TRUE(EntitiesOf<TGeoPGonlist>(Damaged).empty()) << Block;
        EXPECT_EQ(SavedText(Damaged), Block) << Block;
    }
}

TEST_F(GGonListTest, ACloneAndTransformsKeepTheWholeEntity) {
    LoadDocumentText(Doc, Straddling);
    TGeoPGonlist* List = Lists()[0];
    EXPECT_EQ(BlockOf(*List->Clone()), BlockOf(*List));
    ExpectOneUndoStep(Doc, "move", [&] { List->Transform(MatrixTranslation(1, 2, 3)); });
    Lists()[0]->Transform(MatrixTranslation(1, 0, 0));
    EXPECT_DOUBLE_EQ(Lists()[0]->GetExtents().Min.X, 1);
}

TEST_F(GGonListTest, AFlatListStaysAndAPointLikeOneGoes) {
    TGeoPGonlist* Flat = AddList({0, 3}, 0, "Flat");
    auto Point = std::make_unique<TGeoPGonlist>();
    Point->Facets().Add(TriangleFromVectors({1, 1, 1}, {1, 1, 1}, {1, 1, 1}));
    TGeometry* Added = Doc.Add(std::move(Point));
    for (TGeometry* G : {static_cast<TGeometry*>(Flat), Added}) {
        G->BeginChange();
        G->EndChange();
    }
    // The next list change lets every entity check itself.
    AddList({5}, 1, "Next");
    ASSERT_EQ(Lists().size(), 2u);
    EXPECT_EQ(Lists()[0]->GetName(), "Flat");
}

TEST_F(GGonListTest, DrawsFacetsOrItsBoxAndIsPickedAtItsCorners) {
    LoadDocumentText(Doc, Straddling);
    TGeoPGonlist* List = Lists()[0];
    TRecordingGraphics Shown;
    List->Draw(Shown);
    const auto Lines = [](const TRecordingGraphics& G) {
        int N = 0;
        for (const std::string& Name : G.Names()) N += Name == "Line";
        return N;
    };
    EXPECT_EQ(Lines(Shown), 7);

    // Neither facets nor contours: the extents box keeps it visible.
    List->ToggleShowPolygons();
    TRecordingGraphics Boxed;
    List->Draw(Boxed);
    EXPECT_EQ(Lines(Boxed), 12);

    TFakeView View;
    // Corner (2, 2) is pixel (120, 80) in the fake view.
    EXPECT_NEAR(List->DistanceToPoint({123, 84}, View), 5, 1e-9);
    EXPECT_TRUE(List->InRect({118, 78, 122, 82}, View));
    EXPECT_FALSE(List->InRect({150, 150, 160, 160}, View));
    List->SetDisplayState(dsHidden);
    EXPECT_EQ(List->DistanceToPoint({120, 80}, View), 1e33);
    EXPECT_FALSE(List->InRect({118, 78, 122, 82}, View));
}

TEST_F(GGonListTest, WhileEditingSelectedFacetsAreDrawnLastWithTheirCorners) {
    LoadDocumentText(Doc, Straddling);
    TGeoPGonlist* List = Lists()[0];
    Doc.SetEditedGeometry(List);
    ASSERT_TRUE(List->Editing());
    // Entering edit mode deselects every facet: the selection is made afterwards.
    List->Facets().Polygon(0)->SetSelected(true);
    List->Facets().Polygon(0)->SetCornerMarked(1, true);
    List->Facets().ShowNormals = true;
    TRecordingGraphics G;
    List->Draw(G);
    // The quadrilateral's four edges and normal, then the triangle's three edges, normal and corners.
    std::vector<std::string> Drawn;
    std::vector<TColor> Handles;
    TColor Colour = 0;
    for (const TGraphicsCall& C : G.Calls) {
        if (C.Name == "SetLineColor") {
            Colour = C.Color;
            continue;
        }
        Drawn.push_back(C.Name);
        if (C.Name == "EditHandlePoint") Handles.push_back(Colour);
    }
    EXPECT_EQ(Drawn, (std::vector<std::string>{"LinePoints", "LinePoints", "LinePoints", "LinePoints",
                                               "VectorPoints", "LinePoints", "LinePoints", "LinePoints",
                                               "VectorPoints", "EditHandlePoint", "EditHandlePoint",
                                               "EditHandlePoint"}));
    const TColor Draw = List->Colors().DrawColor(), Select = List->Colors().SelectColor();
    ASSERT_NE(Draw, Select);
    EXPECT_EQ(Handles, (std::vector<TColor>{Draw, Select, Draw}));

    // While editing only the selected facets turn round.
    const TMVector Normals[] = {PolygonNormal(*List->Facets().Polygon(0)), PolygonNormal(*List->Facets().Polygon(1))};
    List->FlipNormals();
    EXPECT_EQ(PolygonNormal(*List->Facets().Polygon(0)), VectorScale(Normals[0], -1));
    EXPECT_EQ(PolygonNormal(*List->Facets().Polygon(1)), Normals[1]);
    // The normal arrows are 1 % of the largest side of the box (4 high).
    for (const TGraphicsCall& C : G.Calls) {
        if (C.Name == "VectorPoints") {
            EXPECT_DOUBLE_EQ(C.Size, 0.04);
        }
    }
}

TEST_F(GGonListTest, AnswersPolygonListQueriesAndSelectsItselfAmongPolygonLists) {
    LoadDocumentText(Doc, Straddling);

    TGeometryQuery Count;
    Count.CountOnly = true;
    Count.Kinds = QueryKinds({qkPolygonList});
    Doc.Query(Count, false);
    EXPECT_EQ(Count.Count(), 1);
    TGeometryQuery Facets;
    Facets.Kinds = QueryKinds({qkPolygonList});
    Doc.Query(Facets, false);
    ASSERT_EQ(Facets.Count(), 1);
    EXPECT_FALSE(Facets.Item(0).Owned());
    EXPECT_EQ(Facets.Item(0).Name, "Hull");
    EXPECT_EQ(Facets.Item(0).As<TPolygonList>(), &Lists()[0]->Facets());

    AddBoxEntity();
    Doc.SelectPolygons();
    EXPECT_TRUE(Lists()[0]->GetSelected());
    EXPECT_EQ(Doc.SelectedCount(), 1);
}

TEST_F(GGonListTest, ThePopupMenuTree) {
    TGeoPGonlist* List = AddList({0});
    TMenuItem& Root = *List->PopupMenu();
    EXPECT_EQ(MenuCaptions(Root),
              (std::vector<std::string>{"Edit", "Show Attributes...", "-", "Add Polygons", "Merge Polygons",
                                        "Split Polygons", "Move to new Polygon List", "-", "Flip Normals",
                                        "Convert to Triangles", "Slice...", "-", "Create Calculation Sections",
                                        "Extract Contours", "-", "Show Normals", "Show Polygons", "Show Contours"}));
    EXPECT_EQ(Root.Find("Add Polygons")->ShortCut, TextToShortCut("Ctrl+R"));
    EXPECT_EQ(Root.Find("Merge Polygons")->ShortCut, TextToShortCut("Ctrl+M"));
    EXPECT_EQ(Root.Find("Split Polygons")->ShortCut, TextToShortCut("Ctrl+K"));
    // Without the slice dialog there is no slicing.
    EXPECT_FALSE(Root.Find("Slice...")->Enabled);
    EXPECT_TRUE(Root.Find("Show Polygons")->Checked);

    // Normals are shown only with the facets; the display switches leave no undo step.
    Doc.GetUndoManager().Clear();
    ClickPopupItem(*List, "Show Normals");
    EXPECT_TRUE(List->ShowNormals());
    List->PopupMenu();
    EXPECT_TRUE(Root.Find("Show Normals")->Checked);
    ClickPopupItem(*List, "Show Polygons");
    List->PopupMenu();
    EXPECT_FALSE(Root.Find("Show Polygons")->Checked);
    EXPECT_FALSE(Root.Find("Show Normals")->Enabled);
    EXPECT_FALSE(Doc.CanUndo());

    // Contours, and what needs them.
    EXPECT_FALSE(Root.Find("Extract Contours")->Enabled);
    ClickPopupItem(*List, "Show Contours");
    List->PopupMenu();
    EXPECT_TRUE(Root.Find("Show Contours")->Checked);
    EXPECT_TRUE(Root.Find("Extract Contours")->Enabled);
}

TEST_F(GGonListTest, FlipTwiceGivesTheOriginalAndTrianglesReplaceQuadrilaterals) {
    LoadDocumentText(Doc, Straddling);
    TGeoPGonlist* List = Lists()[0];
    const std::string Original = BlockOf(*List);
    ExpectOneUndoStep(Doc, "flip", [&] { ClickPopupItem(*Lists()[0], "Flip Normals"); });
    List = Lists()[0];
    List->FlipNormals();
    const TMVector Flipped = PolygonNormal(*List->Facets().Polygon(0));
    List->FlipNormals();
    EXPECT_EQ(BlockOf(*List), Original);
    EXPECT_EQ(Flipped, VectorScale(PolygonNormal(*List->Facets().Polygon(0)), -1));

    ExpectOneUndoStep(Doc, "triangles", [&] { ClickPopupItem(*Lists()[0], "Convert to Triangles"); });
    List = Lists()[0];
    List->ConvertToTriangles();
    ASSERT_EQ(List->Facets().Count(), 3);
    for (int I = 0; I < 3; ++I) EXPECT_EQ(List->Facets().Polygon(I)->CornerCount(), 3);
}

TEST_F(GGonListTest, SliceReplacesTheListByBothSidesAsOneStep) {
    std::string Caption;
    bool OfferedClosing = true;
    PolylineDialogs().ShowSliceDialog = [&](const std::string& Name, TGeometryList&, bool AllowClosing, bool&,
                                            TMPlane& Plane) {
        Caption = Name;
        OfferedClosing = AllowClosing;
        Plane = PlaneFromDirection(0, 0);  // z = 0
        return true;
    };
    LoadDocumentText(Doc, Straddling);
    ExpectOneUndoStep(Doc, "slice", [&] { ClickPopupItem(*Lists()[0], "Slice..."); });
    EXPECT_EQ(Caption, "Polygon List");
    EXPECT_FALSE(OfferedClosing);

    ClickPopupItem(*Lists()[0], "Slice...");
    ASSERT_EQ(Lists().size(), 2u);
    const TMBox Below = Lists()[0]->GetExtents();
    const TMBox Above = Lists()[1]->GetExtents();
    EXPECT_NEAR(Below.Max.Z, 0, 1e-9);
    EXPECT_NEAR(Below.Min.Z, -2, 1e-9);
    EXPECT_NEAR(Above.Min.Z, 0, 1e-9);
    EXPECT_NEAR(Above.Max.Z, 2, 1e-9);

    // Everything on one side: the empty half has nothing to show and goes at once, the other stays.
    TGeometryInterface OneSide;
    auto Entity = std::make_unique<TGeoPGonlist>();
    Entity->Facets().Add(TriangleFromVectors({0, 0, 1}, {1, 0, 1}, {0, 1, 2}));
    static_cast<TGeoPGonlist*>(OneSide.Add(std::move(Entity)))->Slice(PlaneFromDirection(0, 0));
    const auto Halves = EntitiesOf<TGeoPGonlist>(OneSide);
    ASSERT_EQ(Halves.size(), 1u);
    EXPECT_EQ(Halves[0]->Facets().Count(), 1);
}

TEST_F(GGonListTest, CombineGathersTheFacetsInDocumentOrder) {
    TGeoPGonlist* Lists3[] = {AddList({0}, 0, "A"), AddList({1, 2}, 0, "B"), AddList({3}, 0, "C")};
    AddList({9}, 0, "Unselected");
    // Selected in another order than the document's.
    for (TGeoPGonlist* L : {Lists3[2], Lists3[0], Lists3[1]}) L->SetSelected(true);
    TMenuItem Menu;
    TGeoPGonlist::AddSelectionMenuItems(Menu, Doc);
    ASSERT_EQ(MenuCaptions(Menu), (std::vector<std::string>{"Combine Polygon Groups"}));
    ExpectOneUndoStep(Doc, "combine", [&] { Menu.Items(0).Click(); });

    TMenuItem Again;
    TGeoPGonlist::AddSelectionMenuItems(Again, Doc);
    Again.Items(0).Click();
    ASSERT_EQ(Lists().size(), 2u);
    EXPECT_EQ(Lists()[0]->GetName(), "Unselected");
    const TPolygonList& All = Lists()[1]->Facets();
    ASSERT_EQ(All.Count(), 4);
    for (int I = 0; I < 4; ++I) EXPECT_EQ(All.Polygon(I)->Corner(0)->X, I) << I;
}

TEST_F(GGonListTest, TheSelectionMenuNeedsPolygonListsOrTwoSurfaces) {
    TGeoPGonlist* A = AddList({0});
    A->SetSelected(true);
    AddPline(Doc, {{0, 0, 0}, {1, 0, 0}})->SetSelected(true);
    TMenuItem Mixed;
    Mixed.Add("Other");
    TGeoPGonlist::AddSelectionMenuItems(Mixed, Doc);
    EXPECT_EQ(MenuCaptions(Mixed), (std::vector<std::string>{"Other"}));

    // Two facet lists that cross along the line x = 0.5, z = 0.
    Doc.Items(1).SetSelected(false);
    auto B = std::make_unique<TGeoPGonlist>();
    B->Facets().Add(QuadFromVectors({0.5, -1, -1}, {0.5, 2, -1}, {0.5, 2, 1}, {0.5, -1, 1}));
    Doc.Add(std::move(B))->SetSelected(true);
    TMenuItem Pair;
    Pair.Add("Other");
    TGeoPGonlist::AddSelectionMenuItems(Pair, Doc);
    ASSERT_EQ(MenuCaptions(Pair),
              (std::vector<std::string>{"Other", "-", "Combine Polygon Groups", "Intersection Between Surfaces"}));
    Pair.Items(3).Click();
    auto Lines = EntitiesOf<TGeoPline>(Doc);
    ASSERT_EQ(Lines.size(), 2u);
    const TPolyline& Cut = Lines[1]->Polyline();
    ASSERT_GE(Cut.Count(), 2);
    for (int I = 0; I < Cut.Count(); ++I) {
        EXPECT_NEAR(Cut.Point(I)->X, 0.5, 1e-9);
        EXPECT_NEAR(Cut.Point(I)->Z, 0, 1e-9);
    }

    // Lists that do not meet make nothing.
    Lines[1]->DeleteFromList();
    Doc.Items(2).Transform(MatrixTranslation(9, 0, 0));
    const int Count = Doc.Count();
    Pair.Items(3).Click();
    EXPECT_EQ(Doc.Count(), Count);
}

TEST_F(GGonListTest, ABoxBecomesTwelveTriangles) {
    ClickPopupItem(*AddBoxEntity(), "Create Polygons");
    ASSERT_EQ(Lists().size(), 1u);
    EXPECT_EQ(Lists()[0]->Facets().Count(), 12);
}

}  // namespace
}  // namespace sarnova::test
