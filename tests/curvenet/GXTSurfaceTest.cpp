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
#include "document/GeoFace.h"
#include "document/GeometryQuery.h"
#include "foundation/DuZezOrideConsole.h"
#include "foundation/MacroFile.h"
#include "foundation/TextFile.h"
#include "platform/Menu.h"
#include "platform/ScriptedUserDialogs.h"
#include "tests/document/CurveFixtures.h"

namespace sarnova::test {
namespace {

namespace fs = std::filesystem;

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

    TGeometryInterface Doc;
};

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
    TScriptedUserDialogs Dialogs;
    IUserDialogs* Old = GExceptionHandler->UserDialogs;
    GExceptionHandler->UserDialogs = &Dialogs;
    const fs::path File = fs::temp_directory_path() / ("xtsurface-" + std::to_string(::getpid()) + ".man");
    Dialogs.ChooseFile(File.string());
    Dialogs.CancelFileDialog();
    S->PopupMenu()->Find("Export Manifold...")->Click();
    S->PopupMenu()->Find("Export Manifold...")->Click();  // cancelled: nothing happens
    GExceptionHandler->UserDialogs = Old;

    std::ifstream In(File);
    int V = 0, E = 0, F = 0;
    for (std::string Line; std::getline(In, Line);) {
        V += Line.starts_with("V ");
        E += Line.starts_with("E ");
        F += Line.starts_with("F ");
    }
    fs::remove(File);
    EXPECT_EQ(V, 4);
    EXPECT_EQ(E, 4);
    EXPECT_EQ(F, 2);
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
    S->ConvertToBSplineSurfaceList();
    EXPECT_TRUE(Doc.Contains(S));
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
}

}  // namespace
}  // namespace sarnova::test
