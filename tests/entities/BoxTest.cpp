// The box entity: its block, the BOX macro block and its errors, the frame's dimension edits, facets,
// queries, snapping, its menu and the lit rendering.
#include "entities/GBox.h"

#include <gtest/gtest.h>

#include "EntityFixtures.h"
#include "entities/GGonList.h"
#include "document/GeometryQuery.h"
#include "foundation/Console.h"

namespace sarnova::test {
namespace {

const std::string DefaultBlock =
    "[TBox]\n"
    "    -5.000    -5.000    -5.000\n"
    "    -5.000     5.000    -5.000\n"
    "    -5.000     5.000     5.000\n"
    "    -5.000    -5.000     5.000\n"
    "     5.000    -5.000    -5.000\n"
    "     5.000    -5.000     5.000\n"
    "     5.000     5.000     5.000\n"
    "     5.000     5.000    -5.000\n"
    "\n";

class BoxTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterEntityClasses(); }
    TGeoBox* AddBox(const std::string& Name = {}) {
        auto Box = std::make_unique<TGeoBox>();
        Box->SetName(Name);
        return static_cast<TGeoBox*>(Doc.Add(std::move(Box)));
    }
    TGeoBox* OnlyBox() {
        const auto Boxes = EntitiesOf<TGeoBox>(Doc);
        return Boxes.size() == 1 ? Boxes.front() : nullptr;
    }

    TGeometryInterface Doc;
};

TEST_F(BoxTest, BlockLoadsAndSavesUnchanged) {
    AddBox();
    EXPECT_EQ(SavedText(Doc), DefaultBlock);

    ExpectLoadsAndSavesUnchanged(DefaultBlock.substr(0, DefaultBlock.size() - 1) + "Name=Tank\nColor=clRed\n\n");
}

TEST_F(BoxTest, ReadsNameExactlySoAndColourInAnyCase) {
    LoadDocumentText(Doc, DefaultBlock.substr(0, DefaultBlock.size() - 1) +
                              "NAME=Upper\nno key here\ncolor = clBlue\nName=Tank\n\n[TBox]\n" +
                              DefaultBlock.substr(7));
    ASSERT_EQ(EntitiesOf<TGeoBox>(Doc).size(), 2u);
    TGeoBox& First = *EntitiesOf<TGeoBox>(Doc).front();
    EXPECT_EQ(First.GetName(), "Tank");
    EXPECT_EQ(First.GetColor(), clBlue);
}

TEST_F(BoxTest, MacroBlockMakesANamedBox) {
    RunMacroText(Doc, "BOX Tank\nX 5\nL 10\nW 4\nH 2\nEND\n");
    TGeoBox* Box = OnlyBox();
    ASSERT_NE(Box, nullptr);
    EXPECT_EQ(Box->GetName(), "Tank");
    EXPECT_EQ(Box->GetExtents(), MakeBox(0, -2, -1, 10, 2, 1));

    // The letter may stand anywhere in the line: WIDTH holds W before H, LENGTH an L, HEIGHT an H.
    RunMacroText(Doc, "BOX Words\nY 1\nZ 2\nLENGTH 10\nWIDTH 5\nHEIGHT 3\nEND\n");
    EXPECT_EQ(Doc.FindByName("Words")->GetExtents(), MakeBox(-5, -1.5, 0.5, 5, 3.5, 3.5));
}

TEST_F(BoxTest, MacroBlockErrorsAddNoBox) {
    const std::pair<const char*, const char*> Cases[] = {
        {"BOX Tank\nX 5\nW 4\nH 2\nEND\n", "Error: test.cmd(2): BOX Tank has no Length"},
        {"BOX Tank\nL 10\nH 2\nEND\n", "Error: test.cmd(2): BOX Tank has no Width"},
        {"BOX Tank\nL 10\nW 4\nEND\n", "Error: test.cmd(2): BOX Tank has no Height"},
        {"BOX Tank\nL 10\nQ 5\nEND\n", "Error: test.cmd(3): Unknown Command Q"},
        {"BOX Tank\nL 10\nW 4\nH 2\n", "Error: test.cmd(2): No END for BOX Tank"},
        {"BOX Tank\nL 10\nW 4\nH 2\n\n\n", "Error: test.cmd(2): No END for BOX Tank"},
        {"BOX Tank\nL ten\n", "Error: test.cmd(2): Unable to convert TEN to number"},
    };
    for (auto [Text, Message] : Cases) {
        EXPECT_EQ(MacroError(Doc, Text), Message) << Text;
        EXPECT_EQ(OnlyBox(), nullptr) << Text;
    }
}

TEST_F(BoxTest, CommandOnABoxIsNoBlock) {
    RunMacroText(Doc, "BOX Box1\nL 1\nW 1\nH 1\nEND\nBox1.Color=Red\n");
    ASSERT_NE(OnlyBox(), nullptr);
    EXPECT_EQ(OnlyBox()->GetColor(), clRed);
}

TEST_F(BoxTest, FrameEditsRebuildAnAxisAlignedBox) {
    TGeoBox* Box = AddBox("B");
    ExpectOneUndoStep(Doc, "length", [&] { Box->SetDimension(4, 20); });
    ExpectOneUndoStep(Doc, "centre", [&] { Box->SetDimension(2, -3); });
    // Codes outside 1 to 6 change nothing and leave no undo step.
    Doc.GetUndoManager().Clear();
    Box->SetDimension(7, 1);
    EXPECT_FALSE(Doc.CanUndo());

    // A rotated box becomes axis-aligned again, sized from its corners' extents.
    TMMatrix Turn = IdentityMatrix;
    Turn[0][0] = Turn[1][1] = std::sqrt(0.5);
    Turn[0][1] = -std::sqrt(0.5);
    Turn[1][0] = std::sqrt(0.5);
    ExpectOneUndoStep(Doc, "transform", [&] { Box->Transform(Turn); });
    Box->Transform(Turn);
    Box->SetDimension(6, 4);
    const double Half = 5 * std::sqrt(2.0);
    const TMBox E = Box->GetExtents();
    EXPECT_NEAR(E.Max.X, Half, 1e-9);
    EXPECT_NEAR(E.Min.Y, -Half, 1e-9);
    EXPECT_NEAR(E.Max.Z, 2, 1e-9);
    EXPECT_NEAR(Box->Box().Corner(1).X, -Half, 1e-9);
    EXPECT_NEAR(Box->Box().Corner(1).Y, Half, 1e-9);
}

TEST_F(BoxTest, FacetsQueriesAndTheirConsoleLine) {
    TGeoBox* Box = AddBox("Tank");
    std::vector<std::string> Lines;
    GConsole->OnLine = [&](const std::string& L) { Lines.push_back(L); };
    EXPECT_EQ(Box->CreatePolygonRepresentation(6)->Count(), 12);
    GConsole->OnLine = nullptr;
    EXPECT_EQ(Lines, (std::vector<std::string>{"  Creating Polygon Representation of TGeoBox.Tank..."}));

    TGeometryQuery Count;
    Count.Kinds = QueryKinds({qkPolygonList, qkPolyline});
    Count.CountOnly = true;
    Doc.Query(Count, false);
    EXPECT_EQ(Count.Count(), 1);
    TGeometryQuery Facets;
    Facets.Kinds = QueryKinds({qkPolygonList});
    Doc.Query(Facets, false);
    ASSERT_EQ(Facets.Count(), 1);
    EXPECT_TRUE(Facets.Item(0).Owned());
    EXPECT_EQ(Facets.Item(0).Name, "Tank");
    ASSERT_NE(Facets.Item(0).As<TPolygonList>(), nullptr);
    EXPECT_EQ(Facets.Item(0).As<TPolygonList>()->Count(), 12);
    TGeometryQuery Other;
    Other.Kinds = QueryKinds({qkPolyline, qkCircle});
    Doc.Query(Other, false);
    EXPECT_EQ(Other.Count(), 0);
}

TEST_F(BoxTest, SnapsToCornersAndEdges) {
    TGeoBox* Box = AddBox();
    TFakeView View;
    // Near corner 4 (5, -5): the corner, as a point.
    TGeometrySnapInfo AtCorner(Px(4.5, -4.5), &View, nullptr, {});
    Box->AddSnapPoints(AtCorner);
    EXPECT_EQ(AtCorner.BestKind, stPoint);
    ExpectNear(AtCorner.BestPoint, {5, -5, -5});
    // Marked corners are not offered (corner 5 shows at the same pixel).
    Box->GetPoint(4)->Marked = true;
    Box->GetPoint(5)->Marked = true;
    TGeometrySnapInfo Marked(Px(4.5, -4.5), &View, nullptr, {});
    Box->AddSnapPoints(Marked);
    EXPECT_EQ(Marked.BestKind, stCurve);
    // Midway along the bottom edge, far from the corners: the edge point, of the first edge seen there.
    TGeometrySnapInfo AtEdge(Px(0.3, -5.5), &View, nullptr, {});
    Box->AddSnapPoints(AtEdge);
    EXPECT_EQ(AtEdge.BestKind, stCurve);
    ExpectNear(AtEdge.BestPoint, {0.3, -5, -5});
    // Any index beyond 6 is corner 7.
    EXPECT_EQ(Box->GetPoint(9), &Box->Box().Corner(7));
}

TEST_F(BoxTest, MenuOffersConversionsAndTheContours) {
    TGeoBox* Box = AddBox("B");
    Box->SetSelected(true);
    TMenuItem& Root = *Box->PopupMenu();
    EXPECT_EQ(MenuCaptions(Root), (std::vector<std::string>{"Show Attributes...", "-", "Extract Contours",
                                                            "Create Polygons", "-", "Show Contours"}));
    EXPECT_FALSE(Root.Find("Extract Contours")->Enabled);
    EXPECT_FALSE(Root.Find("Show Contours")->Checked);
    ClickPopupItem(*Box, "Show Contours");
    Box->PopupMenu();
    EXPECT_TRUE(Root.Find("Extract Contours")->Enabled);
    EXPECT_TRUE(Root.Find("Show Contours")->Checked);

    ClickPopupItem(*Box, "Create Polygons");
    const auto Facets = EntitiesOf<TGeoPGonlist>(Doc);
    ASSERT_EQ(Facets.size(), 1u);
    EXPECT_EQ(Facets.front()->Facets().Count(), 12);
    // Undone as one step.
    Doc.GetUndoManager().Clear();
    Box->CreatePolygons();
    EXPECT_EQ(EntitiesOf<TGeoPGonlist>(Doc).size(), 2u);
    Doc.Undo();
    EXPECT_EQ(EntitiesOf<TGeoPGonlist>(Doc).size(), 1u);
    EXPECT_FALSE(Doc.CanUndo());

    // The Create menu's box: 10 by 10 by 10 about the origin, the only selection.
    TMenuItem Create;
    TGeoBox::AddCreateMenuItems(Create, Doc);
    ASSERT_EQ(Create.Count(), 1);
    EXPECT_EQ(Create.Items(0).Caption, "Box");
    EXPECT_EQ(Create.Items(0).ImageIndex, 41);
    Create.Items(0).Click();
    TGeometry& Made = Doc.Items(Doc.Count() - 1);
    EXPECT_EQ(Made.GetExtents(), MakeBox(-5, -5, -5, 5, 5, 5));
    EXPECT_EQ(Doc.SelectedCount(), 1);
    EXPECT_TRUE(Made.GetSelected());
}

TEST_F(BoxTest, RendersLitFacesInItsColour) {
    TGeoBox* Box = AddBox();
    Box->SetColor(clGreen);
    TRenderView View;
    Box->DrawRendered(View);
    EXPECT_EQ(View.Materials, (std::vector<TColor>{clGreen}));
    EXPECT_EQ(std::count(View.Rendered.begin(), View.Rendered.end(), "Vertex"), 24);
    // Outside the rendered state: the twelve edges.
    TRenderView Lines;
    Box->Draw(Lines);
    EXPECT_EQ(Lines.Of("LinePoints").size(), 12u);
}

}  // namespace
}  // namespace sarnova::test
