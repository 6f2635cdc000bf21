// The curve-network surface entity in a document: grouping curves into a surface, its block, the
// undo steps of its settings, copies, regeneration after a macro move, the manifold export and the
// rules of its queries.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

#include "curvenet/GBSurfL.h"
#include "curvenet/GXTCurve.h"
#include "curvenet/GXTSurface.h"
#include "document/ShadedRenderer.h"
#include "entities/GBSurf.h"
#include "entities/GGregory.h"
#include "entities/GMesh.h"
#include "document/GBSpline.h"
#include "foundation/Polygon.h"
#include "naval/GPList.h"
#include "surfaces/SurfaceList.h"
#include "tests/entities/EntityFixtures.h"
#include "document/GeoFace.h"
#include "document/GeometryQuery.h"
#include "foundation/Console.h"
#include "foundation/MacroFile.h"
#include "foundation/TextFile.h"
#include "platform/Menu.h"
#include "platform/RecordingGraphics.h"
#include "platform/ScriptedUserDialogs.h"
#include "tests/DialogsScope.h"
#include "tests/document/CurveFixtures.h"

namespace sarnova::test {
namespace {

namespace fs = std::filesystem;

// A shaded renderer that counts what the entity gives it.
class TCountingRenderer : public IGLRenderer {
public:
    static inline int Surfaces = 0;
    static inline int Polygons = 0;
    TMBox GetBounds() override { return {}; }
    void Render(IGraphics&) override {}
    void SetMirrored(bool) override {}
    void Rebuild() override {}
    void SetMaterial(TColor, TColor, double) override {}
    void AddSurface(TSurface&, int) override { ++Surfaces; }
    void AddSurfaces(const TSurfaces& List) override { Surfaces += List.Count(); }
    void AddPolygons(const TPolygonList& List, bool) override { Polygons += List.Count() > 0; }
    void ClearInstances() override { Surfaces = Polygons = 0; }
    int InstanceCount() const override { return Surfaces + Polygons; }
};

class GXTSurfaceTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterTestClasses(); }

    TGeoXTCurve* AddCurve(const std::string& Name, const TMVector& A, const TMVector& B) {
        auto C = std::make_unique<TGeoXTCurve>();
        C->SetName(Name);
        C->Curve().AddPointAt(A);
        C->Curve().AddPointAt(B);
        return static_cast<TGeoXTCurve*>(Doc.Add(std::move(C)));
    }
    // The square 0..2 x 0..2 as four curves meeting at the corners, all selected.
    void AddSquare() {
        for (TGeoXTCurve* C : {AddCurve("Bottom", {0, 0, 0}, {2, 0, 0}), AddCurve("Right", {2, 0, 0}, {2, 2, 0}),
                               AddCurve("Top", {2, 2, 0}, {0, 2, 0}), AddCurve("Left", {0, 2, 0}, {0, 0, 0})})
            C->SetSelected(true);
    }
    TGeoXTSurface* GroupSquare() {
        AddSquare();
        TGeoXTSurface* S = TGeoXTSurface::CreateGroup(Doc);
        Doc.ClearSelection();
        Doc.GetUndoManager().Clear();
        return S;
    }
    // The caption of the one item the selection menu offers for the surface, or empty.
    bool OffersGroup() {
        TMenuItem Menu;
        TGeoXTSurface::AddSelectionMenuItems(Menu, Doc);
        return Menu.Find("Create XTSurface Group") != nullptr;
    }

    // The lines of the file that the popup item Caption writes, its name chosen in the save dialog.
    static std::vector<std::string> Export(TGeoXTSurface& S, const std::string& Caption, const std::string& Extension) {
        const fs::path File = fs::temp_directory_path() / ("xtsurface-" + std::to_string(::getpid()) + Extension);
        {
            TDialogsScope Scope;
            Scope.Dialogs.ChooseFile(File.string());
            ClickPopupItem(S, Caption);
        }
        std::ifstream In(File);
        std::vector<std::string> Lines;
        for (std::string Line; std::getline(In, Line);) Lines.push_back(Line);
        fs::remove(File);
        return Lines;
    }

    TGeometryInterface Doc;
};

// The network classes show their own names where others show the keyword's; an entity asks its class.
TEST(XTClassDescriptions, NetworkClassesNameThemselvesOthersFollowTheirKeyword) {
    const std::pair<const TGeometryClass*, const char*> Cases[] = {
        {&GeometryClassOf<TGeoXTCurve>(), "D-Azadavaz Curve"},
        {&GeometryClassOf<TGeoXTSurface>(), "D-Azadavaz Surface"},
        {&GeometryClassOf<TGeoBSurfList>(), "BSpline Surface List"},
    };
    for (const auto& [Class, Description] : Cases) EXPECT_EQ(Class->GetDescription(), Description);
    EXPECT_EQ(TGeoXTSurface().GetDescription(), "D-Azadavaz Surface");
}

TEST_F(GXTSurfaceTest, GroupIsOfferedForNetworkCurvesOnlyAndTakesThemInListOrder) {
    TGeoXTCurve* A = AddCurve("A", {0, 0, 0}, {1, 0, 0});
    AddCurve("B", {1, 0, 0}, {0, 1, 0});
    TGeoXTCurve* C = AddCurve("C", {0, 1, 0}, {0, 0, 0});
    EXPECT_TRUE(OffersGroup()) << "nothing selected";
    C->SetSelected(true);
    A->SetSelected(true);
    EXPECT_TRUE(OffersGroup());

    TMenuItem Menu;
    TGeoXTSurface::AddSelectionMenuItems(Menu, Doc);
    Menu.Find("Create XTSurface Group")->Click();
    auto* S = dynamic_cast<TGeoXTSurface*>(&Doc.Items(Doc.Count() - 1));
    ASSERT_NE(S, nullptr);
    EXPECT_EQ(S->GetName(), "XTSurface1");
    ASSERT_EQ(S->Surface().Curves().Count(), 2);
    EXPECT_EQ(S->Surface().Curves().Items(0)->GetName(), "A");
    EXPECT_EQ(S->Surface().Curves().Items(1)->GetName(), "C");
    EXPECT_TRUE(S->GetDrawParameters());

    S->SetSelected(true);
    EXPECT_FALSE(OffersGroup()) << "a surface among the selection";
}

TEST_F(GXTSurfaceTest, CurvesJoinASurfaceThroughTheirMenusAndTheFrameCommands) {
    TGeoXTSurface* S = GroupSquare();
    TGeoXTCurve* Extra = AddCurve("Diagonal", {0, 0, 0}, {2, 2, 0});
    Doc.GetUndoManager().Clear();

    // The curve's popup lists the surfaces that can take it; a curve already in it is not offered.
    TMenuItem* Insert = Extra->PopupMenu()->Find("Insert into Surface");
    ASSERT_NE(Insert, nullptr);
    Extra->UpdateMenuItems(*Extra->PopupMenu());
    ASSERT_EQ(Insert->Count(), 1);
    EXPECT_TRUE(Insert->Enabled);
    EXPECT_EQ(Insert->Items(0).Caption, "XTSurface1");
    ExpectOneUndoStep(Doc, "insert", [&] { Insert->Items(0).Click(); });

    auto* Bottom = dynamic_cast<TGeoXTCurve*>(Doc.FindByName("Bottom"));
    Bottom->UpdateMenuItems(*Bottom->PopupMenu());
    EXPECT_EQ(Bottom->PopupMenu()->Find("Insert into Surface")->Count(), 0);
    EXPECT_FALSE(Bottom->PopupMenu()->Find("Insert into Surface")->Enabled);

    ExpectOneUndoStep(Doc, "remove", [&] { S->RemoveCurve("Bottom"); });
    S->RemoveCurve("Diagonal");
    S->AddCurve("Nothing");
    EXPECT_EQ(S->Surface().Curves().Count(), 4) << "unknown names and curves not in the list change nothing";
}

TEST_F(GXTSurfaceTest, EachSettingIsOneUndoStepAndCopiesKeepTheScheme) {
    TGeoXTSurface* S = GroupSquare();
    const std::uint16_t Vertices = 1u << sdoVertices;
    ExpectOneUndoStep(Doc, "draw options", [&] { S->SetDrawOptions(Vertices); });
    ExpectOneUndoStep(Doc, "preset", [&] { S->SetOptions(soSubdivision); });
    S->SetDrawOptions(Vertices | (1u << sdoEdges));
    TXTSurfaceOptions Custom = soCoonsBezier;
    Custom.SubdivisionIterations = 3;
    S->SetOptions(Custom);
    Doc.GetUndoManager().Clear();
    S->SetDrawOptions(Vertices | (1u << sdoEdges));
    EXPECT_FALSE(Doc.CanUndo()) << "an unchanged set records nothing";

    // Copy and paste with its curves through a clipboard document; the copy rests on curves by name.
    Doc.SelectAll();
    TGeometryInterface Clipboard;
    Clipboard.TransferFrom(Doc, tmCopySelected, true);
    Doc.TransferFrom(Clipboard, tmCopyAll, false);
    auto* Pasted = dynamic_cast<TGeoXTSurface*>(&Doc.Items(Doc.Count() - 1));
    ASSERT_NE(Pasted, nullptr);
    ASSERT_NE(Pasted, S);
    EXPECT_TRUE(SameSurfaceOptions(Pasted->Surface().Options(), Custom)) << SurfaceOptionsToText(Pasted->Surface().Options());
    EXPECT_EQ(Pasted->DrawOptions(), Vertices | (1u << sdoEdges));
    ASSERT_EQ(Pasted->Surface().Curves().Count(), 4);
    EXPECT_NE(Pasted->Surface().Curves().Curve(0), nullptr);
}

TEST_F(GXTSurfaceTest, BlocksWithoutDrawOptionsOrWithTheSwitchOffReadBack) {
    TGeoXTSurface* S = GroupSquare();
    S->SetDrawParameters(false);
    TTextWriter W;
    S->SaveToText(W);
    EXPECT_NE(W.Text().find("DrawParameters=FALSE\n"), std::string::npos);
    EXPECT_EQ(W.Text().find("DrawOptions="), std::string::npos);

    TGeoXTSurface Read;
    TTextReader R(W.Text().substr(W.Text().find('\n') + 1));
    Read.LoadFromText(R);
    EXPECT_FALSE(Read.GetDrawParameters());
    EXPECT_EQ(Read.DrawOptions(), 0);
    EXPECT_EQ(Read.Surface().Curves().Count(), 4);
}

TEST_F(GXTSurfaceTest, MovingACurveByMacroRegeneratesOnceAndOneUndoRestoresBoth) {
    TGeoXTSurface* S = GroupSquare();
    int Generations = 0;
    S->Surface().OnRegenerated = [&](TXTSurfaceBase*) { ++Generations; };
    S->GetDataObject();
    const std::string Before = SavedText(Doc);
    Generations = 0;

    const fs::path File = fs::temp_directory_path() / ("xtsurface-move-" + std::to_string(::getpid()) + ".cmd");
    std::ofstream(File) << "SELECT Top\nMOVE X=0 Y=1 Z=0\n";
    TMacroFile Macro;
    Macro.LoadFromFile(File);
    Doc.RunMacro(Macro);
    fs::remove(File);
    S->GetDataObject();
    S->GetDataObject();
    EXPECT_EQ(Generations, 1);
    TMBox Box = S->GetExtents();
    EXPECT_DOUBLE_EQ(Box.Max.Y, 3.0) << "the box follows the moved curve";

    Doc.Undo();
    EXPECT_EQ(SavedText(Doc), Before);
    EXPECT_FALSE(Doc.CanUndo());
    Box = S->GetExtents();
    EXPECT_DOUBLE_EQ(Box.Max.Y, 2.0);
}

TEST_F(GXTSurfaceTest, ExportManifoldWritesTheSquaresVerticesEdgesAndBothFaces) {
    TGeoXTSurface* S = GroupSquare();
    int V = 0, E = 0, F = 0;
    for (const std::string& Line : Export(*S, "Export Manifold...", ".man")) {
        V += Line.starts_with("V ");
        E += Line.starts_with("E ");
        F += Line.starts_with("F ");
    }
    EXPECT_EQ(V, 4);
    EXPECT_EQ(E, 4);
    EXPECT_EQ(F, 2);

    TDialogsScope Scope;
    Scope.Dialogs.CancelFileDialog();
    ClickPopupItem(*S, "Export Manifold...");  // cancelled: nothing happens, nothing asked again
    EXPECT_TRUE(Scope.Dialogs.Shown.empty());
}

TEST_F(GXTSurfaceTest, QueriesAnswerByPatchType) {
    TGeoXTSurface* S = GroupSquare();
    const auto Count = [&](int Kind) {
        TGeometryQuery Q;
        Q.Kinds = 1u << Kind;
        Q.CountOnly = true;
        Doc.Query(Q, false);
        return Q.Count();
    };
    struct Case {
        TXTSurfaceOptions Options;
        int Kind;
        int Expected;
    };
    const Case Cases[] = {
        {soGregoryBezier, qkSurface, 1},       {soGregoryBezier, qkSurface + 1, 1},
        {soCoonsBezier, qkSurface + 1, 0},     {soCoonsBezier, qkSurfaceList, 1},
        {soCoonsBezier, qkSampledMesh, 1},     {soSubdivision, qkSurface, 0},
        {soSubdivision, qkSampledMesh, 0},     {soSubdivision, qkPolygonList, 1},
    };
    for (const Case& C : Cases) {
        S->SetOptions(C.Options);
        EXPECT_EQ(Count(C.Kind), C.Expected) << SurfaceOptionsPresetCaption(C.Options) << " kind " << C.Kind;
    }
}

TEST_F(GXTSurfaceTest, ConvertingWithoutBSplinePatchesKeepsTheSurface) {
    TGeoXTSurface* S = GroupSquare();
    S->SetOptions(soSubdivision);
    Doc.GetUndoManager().Clear();
    const std::string Name = S->GetName();
    S->ConvertToBSplineSurfaceList();
    EXPECT_TRUE(Doc.ContainsName(Name));
    EXPECT_FALSE(Doc.CanUndo());
}

TEST_F(GXTSurfaceTest, CurveLookupsFindSurfacesByNameAndTheNodesOfTheDocument) {
    TGeoXTSurface* S = GroupSquare();
    S->SetName("Hull");
    EXPECT_EQ(S->Surface().GetName(), "Hull");
    EXPECT_EQ(S->FindNode("Hull"), &S->Surface());
    EXPECT_NE(S->FindCurve("Top"), nullptr);
    EXPECT_EQ(S->FindCurve("Hull"), nullptr);
    EXPECT_EQ(S->Nodes()->Count(), 5);
    auto* Top = dynamic_cast<TGeoXTCurve*>(Doc.FindByName("Top"));
    EXPECT_EQ(Top->FindNode("Hull"), &S->Surface());
    EXPECT_TRUE(S->Surface().IsUpToDate()) << "looked up by name, the surface is brought up to date";

    // Inside an update that shows the hourglass asking for the data regenerates nothing; a plain one does.
    S->Surface().Changed();
    Doc.BeginUpdate(ufHourGlass);
    S->GetDataObject();
    EXPECT_FALSE(S->Surface().IsUpToDate());
    Doc.EndUpdate();
    Doc.BeginUpdate(0);
    S->GetDataObject();
    EXPECT_TRUE(S->Surface().IsUpToDate());
    Doc.EndUpdate();
}

TEST_F(GXTSurfaceTest, TheSubdivisionPresetGivesPolygonsToTheRendererAndThePolygonQuery) {
    TGeoXTSurface* S = GroupSquare();
    S->PopupMenu();  // the frame's preset button does this, through the entity
    S->SetOptions(soSubdivision);
    EXPECT_EQ(S->Surface().Options().SubdivisionIterations, 5);
    RegisterGLRenderer([](bool) -> std::unique_ptr<IGLRenderer> { return std::make_unique<TCountingRenderer>(); });
    S->SetDisplayState(dsRendered);
    RegisterGLRenderer({});
    ASSERT_NE(S->GetRenderer(), nullptr);
    EXPECT_EQ(TCountingRenderer::Surfaces, 0);
    EXPECT_EQ(TCountingRenderer::Polygons, 1) << "the one face's polygons";

    auto Polygons = QueryOf(Doc, {qkPolygonList});
    ASSERT_EQ(Polygons->Count(), 1);
    const TPolygonList* List = Polygons->Item(0).As<TPolygonList>();
    ASSERT_NE(List, nullptr);
    EXPECT_GT(List->Count(), 100) << "five subdivisions of one face";
    EXPECT_EQ(Polygons->Item(0).Name, "XTSurface1");
    EXPECT_EQ(QueryOf(Doc, {qkSurface, qkSampledMesh})->Count(), 0);

    // A change empties the renderer before the patches it points at go; the next update fills it.
    S->Surface().Changed();
    EXPECT_EQ(TCountingRenderer::Polygons, 0);

    // Back to patches: the renderer is filled anew, nothing of the polygons stays.
    S->SetOptions(soGregoryBezier);
    EXPECT_EQ(TCountingRenderer::Surfaces, 1);
    EXPECT_EQ(TCountingRenderer::Polygons, 0);
    S->SetDisplayState(dsNormal);
}

TEST_F(GXTSurfaceTest, ExplodeAndConvertReplaceTheSurfaceInOneUndoStep) {
    TGeoXTSurface* S = GroupSquare();
    ExpectOneUndoStep(Doc, "explode", [&] {
        ClickPopupItem(*S, "Explode");
        ASSERT_EQ(Doc.Count(), 5);
        auto* Patch = dynamic_cast<TGeoGregorySurface*>(&Doc.Items(4));
        ASSERT_NE(Patch, nullptr) << "one Gregory surface for the Gregory-type square";
        EXPECT_EQ(Patch->GetNumULine(), 5);
    });
    S = dynamic_cast<TGeoXTSurface*>(&Doc.Items(4));
    ASSERT_NE(S, nullptr);
    S->SetOptions(soCoonsBezier);
    ExpectOneUndoStep(Doc, "convert", [&] {
        ClickPopupItem(*S, "Convert to BSpline Surface List");
        ASSERT_EQ(Doc.Count(), 5);
        auto* List = dynamic_cast<TGeoBSurfList*>(&Doc.Items(4));
        ASSERT_NE(List, nullptr);
        EXPECT_EQ(List->Surfaces().Count(), 1);
    });
    auto* Restored = dynamic_cast<TGeoXTSurface*>(&Doc.Items(4));
    ASSERT_NE(Restored, nullptr);
    EXPECT_EQ(Restored->Surface().Options().PatchType, sptCoons) << "the undone surface keeps its scheme";
}

TEST_F(GXTSurfaceTest, CalculationSectionsAndQueriesReachThePatches) {
    TGeoXTSurface* S = GroupSquare();
    ClickPopupItem(*S, "Create Calculation Sections");
    ASSERT_EQ(Doc.Count(), 6);
    auto* Sections = dynamic_cast<TGeoPList*>(&Doc.Items(5));
    ASSERT_NE(Sections, nullptr);
    const TMBox Box = Sections->Polylines().Extents();
    EXPECT_LT(Box.Min.X, 0.5);
    EXPECT_GT(Box.Max.X, 1.5);

    auto Surfaces = QueryOf(Doc, {qkSurface});
    ASSERT_EQ(Surfaces->Count(), 1);
    EXPECT_EQ(Surfaces->Item(0).Name, "");
    auto BSplines = QueryOf(Doc, {qkSurface + 1});
    ASSERT_EQ(BSplines->Count(), 1) << "the Gregory patch converted";
    EXPECT_NE(BSplines->Item(0).As<TBSplineSurface>(), nullptr);
    EXPECT_TRUE(BSplines->Item(0).Owned());
    auto List = QueryOf(Doc, {qkSurfaceList});
    ASSERT_EQ(List->Count(), 1);
    EXPECT_EQ(List->Item(0).Name, "XTSurface1");
    EXPECT_GT(S->CreatePolygonRepresentation(4)->Count(), 0);
}

TEST_F(GXTSurfaceTest, EdgesAndMeshesComeOutOfTheLastGeneration) {
    TGeoXTSurface* S = GroupSquare();
    ClickPopupItem(*S, "Extract Curve Edges");
    ASSERT_EQ(Doc.Count(), 9) << "one B-spline curve per edge, the surface stays";
    for (int I = 5; I < 9; ++I) EXPECT_NE(dynamic_cast<TGeoBSpline*>(&Doc.Items(I)), nullptr);

    S->SetOptions(soCoonsBezier);
    const std::string Name = S->GetName();
    ClickPopupItem(*S, "Explode as Surface Meshes");
    EXPECT_FALSE(Doc.ContainsName(Name)) << "the surface is gone";
    ASSERT_EQ(Doc.Count(), 9);
    EXPECT_NE(dynamic_cast<TGeoMesh*>(&Doc.Items(8)), nullptr);
}

TEST_F(GXTSurfaceTest, SelectedCurvePointsDragThroughTheSurface) {
    TGeoXTSurface* S = GroupSquare();
    S->GetDataObject();
    ASSERT_EQ(S->GetPointCount(), 8) << "both ends of every side";
    TXTPoint* Moved = S->Editor().Points(3);
    TXTPoint* Still = S->Editor().Points(2);
    const TMVector From = Moved->GetPosition();
    const TMVector StillAt = Still->GetPosition();
    Moved->Selected = true;
    TRecordingGraphics View;
    // As the view drags: the entity's change bracket round the drag. Undo gives the curve back.
    ExpectOneUndoStep(Doc, "drag", [&] {
        S->SetState(S->GetState() | gsDragging);
        S->BeginChange();
        S->BeginDrag({0, 0}, From, View, 0, {});
        S->Drag({0, 0}, From, View, 0, {0, 0, 0.5});
        S->Drag({0, 0}, From, View, 0, {0, 0, 1});
        S->EndDrag({0, 0}, From, View, 0, {0, 0, 1});
        S->SetState(S->GetState() & ~gsDragging);
        S->EndChange();
        EXPECT_DOUBLE_EQ(Moved->GetPosition().Z, From.Z + 1) << "from the start, not step on step";
        EXPECT_DOUBLE_EQ(Still->GetPosition().Z, StillAt.Z);
    });

    ExpectOneUndoStep(Doc, "typed coordinate", [&] { S->SetPointCoordinate(2, 1, 7.5); });
}

TEST_F(GXTSurfaceTest, SeveralSelectedCurvesJoinASurfaceFromTheSelectionMenuInOneStep) {
    TGeoXTSurface* S = GroupSquare();
    S->RemoveCurve("Top");
    S->RemoveCurve("Left");
    Doc.GetUndoManager().Clear();
    for (const char* Name : {"Top", "Left"}) Doc.FindByName(Name)->SetSelected(true);
    TMenuItem Menu;
    TGeoXTCurve::AddSelectionMenuItems(Menu, Doc);
    TMenuItem* Insert = Menu.Find("Insert into Surface");
    ASSERT_NE(Insert, nullptr);
    ASSERT_EQ(Insert->Count(), 1);
    ExpectOneUndoStep(Doc, "insert both", [&] {
        Insert->Items(0).Click();
        EXPECT_EQ(S->Surface().Curves().Count(), 4);
    });
}

TEST_F(GXTSurfaceTest, ExportSurfaceAndCurvesWritesTheCurvesThenTheSurface) {
    TGeoXTSurface* S = GroupSquare();
    std::vector<std::string> Blocks;
    for (const std::string& Line : Export(*S, "Export Surface and Curves...", ".geo"))
        if (Line.starts_with("[")) Blocks.push_back(Line);
    EXPECT_EQ(Blocks, (std::vector<std::string>{"[TXTCurve]", "[TXTCurve]", "[TXTCurve]", "[TXTCurve]", "[TXTSurface]"}));
}

}  // namespace
}  // namespace sarnova::test
