// The B-spline surface list entity: its block, the lines of its surfaces, queries, explosion into
// single entities, and its creation from selected B-spline surface entities in one undo step.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "curvenet/GBSurfL.h"
#include "document/GeometryQuery.h"
#include "entities/EntityFixtures.h"
#include "entities/GBSurf.h"
#include "entities/GGonList.h"
#include "entities/GMesh.h"
#include "foundation/Polygon.h"
#include "naval/GPList.h"
#include "platform/Menu.h"
#include "surfaces/BSurfaceBuild.h"
#include "surfaces/SurfaceList.h"

namespace sarnova::test {
namespace {

// A bilinear surface over x in [X, X + 1], y in [0, 2].
std::unique_ptr<TBSplineSurface> Patch(double X) {
    return CornerPointBSplineSurface({X, 0, 0}, {X + 1, 0, 0}, {X + 1, 2, 0}, {X, 2, 1});
}

class BSurfListTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterEntityClasses(); }
    TGeoBSurfList* AddList(int Count, const std::string& Name = "L") {
        auto List = std::make_unique<TGeoBSurfList>();
        for (int I = 0; I < Count; ++I) List->Surfaces().AddSurface(Patch(2 * I));
        List->SetName(Name);
        return static_cast<TGeoBSurfList*>(Doc.Add(std::move(List)));
    }
    TGeoBSurf* AddSurface(double X, const std::string& Name) {
        auto E = std::make_unique<TGeoBSurf>();
        AssignBSplineSurface(E->Surface(), *Patch(X));
        E->SetName(Name);
        return static_cast<TGeoBSurf*>(Doc.Add(std::move(E)));
    }

    TGeometryInterface Doc;
};

TEST_F(BSurfListTest, BlockReadsBackWithListDisplayLines) {
    TGeoBSurfList* L = AddList(2);
    L->Surfaces().BSplineSurface(0)->SetNumULine(12);
    L->Surfaces().BSplineSurface(1)->SetLinePointCount(40);
    L->SetDrawOutline(false);
    L->SetMirrored(true);
    const std::string Text = SavedText(Doc);
    EXPECT_EQ(Text.substr(0, 35), "[TBSplineSurfaceList]\nNumSurfaces=2");
    EXPECT_NE(Text.find("Name=L\nDrawOutline=FALSE\nDrawParameters=FALSE\nMirrored=TRUE\n\n"), std::string::npos)
        << Text;

    TGeometryInterface Read;
    LoadDocumentText(Read, Text);
    auto* R = dynamic_cast<TGeoBSurfList*>(&Read.Items(0));
    ASSERT_NE(R, nullptr);
    ASSERT_EQ(R->Surfaces().Count(), 2);
    for (int I = 0; I < 2; ++I) {
        const TSurface& S = *R->Surfaces().Surface(I);
        EXPECT_EQ(S.NumULine(), 5) << I;
        EXPECT_EQ(S.NumVLine(), 5) << I;
        EXPECT_EQ(S.StoredLinePointCount(), 10) << I;
    }
    EXPECT_FALSE(R->GetDrawOutline());
    EXPECT_TRUE(R->Mirrored());
    EXPECT_EQ(SavedText(Read), Text);
}

TEST_F(BSurfListTest, LinesComeFromEverySurfaceAtTheEntityCounts) {
    TGeoBSurfList* L = AddList(2);
    L->Surfaces().BSplineSurface(0)->SetNumULine(9);
    TPolylineList Lines;
    L->AddParameterLines(Lines);
    EXPECT_EQ(Lines.Count(), 2 * (5 + 5));
    // The surfaces' own settings stay.
    EXPECT_EQ(L->Surfaces().Surface(0)->NumULine(), 9);
    TPolylineList Edges;
    L->AddBoundaryLines(Edges);
    EXPECT_EQ(Edges.Count(), 2 * 4);
}

TEST_F(BSurfListTest, AnswersEveryQueryKind) {
    TGeoBSurfList* L = AddList(3);
    const auto Ask = [&](std::initializer_list<int> Kinds, bool CountOnly = false) { return QueryOf(Doc, Kinds, CountOnly); };
    EXPECT_EQ(Ask({qkSurface, qkSampledMesh}, true)->Count(), 1);
    for (int Kind : {qkSurfaceList, qkSurfaceList + 1}) {
        auto Q = Ask({Kind, qkSurface});
        ASSERT_EQ(Q->Count(), 1);
        EXPECT_EQ(Q->Item(0).As<TBSplineSurfaceList>(), &L->Surfaces());
        EXPECT_EQ(Q->Item(0).Name, "L");
    }
    auto Surfaces = Ask({qkSurface + 1, qkPolygonList});
    ASSERT_EQ(Surfaces->Count(), 3);
    EXPECT_EQ(Surfaces->Item(2).As<TBSplineSurface>(), L->Surfaces().BSplineSurface(2));
    EXPECT_EQ(Surfaces->Item(2).Name, "");
    auto Meshes = Ask({qkSampledMesh, qkPolygonList});
    ASSERT_EQ(Meshes->Count(), 3);
    EXPECT_TRUE(Meshes->Item(0).Owned());
    auto Facets = Ask({qkPolygonList});
    ASSERT_EQ(Facets->Count(), 1);
    EXPECT_NE(Facets->Item(0).As<TPolygonList>(), nullptr);
    EXPECT_EQ(Ask({qkPolyline})->Count(), 0);
}

TEST_F(BSurfListTest, SectionsAreCutThroughAllSurfaces) {
    TGeoBSurfList* L = AddList(2);
    ClickPopupItem(*L, "Create Calculation Sections");
    ASSERT_EQ(Doc.Count(), 2);
    auto* Sections = dynamic_cast<TGeoPList*>(&Doc.Items(1));
    ASSERT_NE(Sections, nullptr);
    // Stations run over both patches, x from 0 to 3.
    const TMBox Box = Sections->Polylines().Extents();
    EXPECT_LT(Box.Min.X, 0.5);
    EXPECT_GT(Box.Max.X, 2.5);

    // The facets of both patches in one polygon list.
    ClickPopupItem(*L, "Create Polygon Mesh");
    ASSERT_EQ(Doc.Count(), 3);
    auto* Facets = dynamic_cast<TGeoPGonlist*>(&Doc.Items(2));
    ASSERT_NE(Facets, nullptr);
    const TMBox FacetBox = Facets->Facets().Extents();
    EXPECT_DOUBLE_EQ(FacetBox.Min.X, 0);
    EXPECT_DOUBLE_EQ(FacetBox.Max.X, 3);
}

TEST_F(BSurfListTest, ExplodeReplacesTheListInOneStep) {
    AddList(2);
    ExpectOneUndoStep(Doc, "explode", [&] { static_cast<TGeoBSurfList&>(Doc.Items(0)).Explode(); });
    static_cast<TGeoBSurfList&>(Doc.Items(0)).Explode();
    auto Surfaces = EntitiesOf<TGeoBSurf>(Doc);
    ASSERT_EQ(Surfaces.size(), 2u);
    EXPECT_EQ(Doc.Count(), 2);
    EXPECT_EQ(Surfaces[1]->GetNumULine(), 5);
    EXPECT_EQ(Surfaces[1]->Surface().Point(1, 1).Vector(), (TMVector{3, 2, 0}));

    Doc.Clear();
    AddList(2)->ExplodeAsMeshes();
    auto Meshes = EntitiesOf<TGeoMesh>(Doc);
    ASSERT_EQ(Meshes.size(), 2u);
    EXPECT_EQ(Doc.Count(), 2);
    EXPECT_EQ(Meshes[0]->Net().NumU(), 5);
}

TEST_F(BSurfListTest, SelectedSurfacesBecomeOneListInOneUndoStep) {
    for (int I = 0; I < 3; ++I) AddSurface(2 * I, "S" + std::to_string(I))->SetSelected(true);
    AddSurface(10, "Other");
    TMenuItem Menu;
    Menu.Add("Existing");
    TGeoBSurfList::AddSelectionMenuItems(Menu, Doc);
    ASSERT_EQ(Menu.Count(), 3);
    EXPECT_EQ(Menu.Items(1).Caption, "-");
    const std::string Before = SavedText(Doc);
    Doc.GetUndoManager().Clear();
    Menu.Items(2).Click();
    ASSERT_EQ(Doc.Count(), 2);
    auto Lists = EntitiesOf<TGeoBSurfList>(Doc);
    ASSERT_EQ(Lists.size(), 1u);
    ASSERT_EQ(Lists[0]->Surfaces().Count(), 3);
    EXPECT_EQ(Lists[0]->Surfaces().Surface(2)->NumULine(), 5);
    EXPECT_EQ(Lists[0]->Surfaces().BSplineSurface(2)->Point(0, 0).Vector(), (TMVector{4, 0, 0}));
    Doc.Undo();
    EXPECT_EQ(SavedText(Doc), Before);

    // Another kind among the selection, or nothing selected, offers nothing.
    Doc.ClearSelection();
    TMenuItem None;
    TGeoBSurfList::AddSelectionMenuItems(None, Doc);
    EXPECT_EQ(None.Count(), 0);
    Doc.Add(std::make_unique<TGeoMesh>())->SetSelected(true);
    Doc.Items(0).SetSelected(true);
    TGeoBSurfList::AddSelectionMenuItems(None, Doc);
    EXPECT_EQ(None.Count(), 0);
}

}  // namespace
}  // namespace sarnova::test
