// The mesh entity and the surface bases under it: cached lines, edit views, line insertion and
// deletion, dragging, the document block, queries, edge extraction and undo.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "document/CurveFixtures.h"
#include "document/GeometryQuery.h"
#include "entities/GGonList.h"
#include "entities/GMesh.h"
#include "EntityFixtures.h"
#include "foundation/Colors.h"
#include "foundation/Console.h"
#include "foundation/Errors.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "platform/RecordingGraphics.h"
#include "surfaces/Surface.h"
#include "surfaces/SurfaceAnalysis.h"

namespace sarnova::test {
namespace {

// A NumU by NumV net with point (i, j) at (i, j, i * j).
std::unique_ptr<TGeoMesh> MakeMesh(int NumU, int NumV, const std::string& Name = {}) {
    auto M = std::make_unique<TGeoMesh>();
    M->Net().SetSize(NumU, NumV);
    for (int I = 0; I < NumU; ++I)
        for (int J = 0; J < NumV; ++J) M->Net().Point(I, J).SetVector({double(I), double(J), double(I * J)});
    if (!Name.empty()) M->SetName(Name);
    return M;
}

TMVector At(const TGeoMesh& M, int I, int J) { return M.Net().Point(I, J).Vector(); }

class MeshTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterTestClasses(); }
    TGeoMesh* Add(int NumU, int NumV, const std::string& Name = "M") {
        return static_cast<TGeoMesh*>(Doc.Add(MakeMesh(NumU, NumV, Name)));
    }
    TGeoMesh* Load(const std::string& Block) {
        TTextReader In(Block);
        Doc.LoadFromText(In);
        return dynamic_cast<TGeoMesh*>(&Doc.Items(Doc.Count() - 1));
    }

    TGeometryInterface Doc;
};

int LineCount(TPolylistRepresentation* R) {
    R->Update();
    return R->GetPolylines() != nullptr ? R->GetPolylines()->Count() : -1;
}

TEST_F(MeshTest, NewMeshShowsEveryNetLineAndFourEdges) {
    TGeoMesh Mesh;
    EXPECT_TRUE(Mesh.GetDrawParameters());
    EXPECT_EQ(Mesh.Net().NumU(), 4);
    EXPECT_EQ(LineCount(Mesh.ParametersRepresentation()), 8);
    EXPECT_EQ(LineCount(Mesh.OutlineRepresentation()), 4);
    EXPECT_EQ(Mesh.GetCapabilities() & (cpUndoable | cpRenderable), cpUndoable | cpRenderable);
    EXPECT_EQ(Mesh.GetSelectionType(), 5);

    // Mirrored: every line twice, once reflected, and extents symmetric in y.
    auto M = MakeMesh(3, 2);
    M->SetMirrored(true);
    M->InvalidateRepresentations();
    EXPECT_EQ(LineCount(M->ParametersRepresentation()), 10);
    EXPECT_EQ(LineCount(M->OutlineRepresentation()), 8);
    const TMBox Box = M->CalculateExtents();
    EXPECT_DOUBLE_EQ(Box.Min.Y, -1);
    EXPECT_DOUBLE_EQ(Box.Max.Y, 1);

    // Switching the parameter lines off empties them; hiding the outline switches them off too.
    M->SetDrawParameters(false);
    EXPECT_EQ(LineCount(M->ParametersRepresentation()), 0);
    M->SetDrawParameters(true);
    M->SetDrawOutline(false);
    EXPECT_FALSE(M->GetDrawParameters());
}

TEST_F(MeshTest, EditViewsChooseThePointsTheEditorSees) {
    TGeoMesh* M = Add(5, 4);
    EXPECT_EQ(M->GetPointCount(), 20);
    Doc.SetEditedGeometry(M);
    M->SetEditView(mvU);
    M->SetEditIndex(2);
    EXPECT_EQ(M->GetPointCount(), 4);
    EXPECT_EQ(M->GetPoint(1)->Vector(), At(*M, 2, 1));
    M->SetEditView(mvV);
    EXPECT_EQ(M->GetEditIndex(), 0);  // a new view starts at the first line
    M->SetEditIndex(3);
    EXPECT_EQ(M->GetPointCount(), 5);
    EXPECT_EQ(M->GetPoint(4)->Vector(), At(*M, 4, 3));
    EXPECT_EQ(M->GetPoint(5), nullptr);
    M->SetEditView(mvUV);
    EXPECT_EQ(M->GetPointCount(), 20);
}

TEST_F(MeshTest, InsertsAndDeletesNetLines) {
    TGeoMesh* M = Add(4, 3);
    M->InsertU(2);
    ASSERT_EQ(M->Net().NumU(), 5);
    EXPECT_EQ(At(*M, 2, 2), (TMVector{1.5, 2, 3}));
    EXPECT_FALSE(M->IsChangePending());  // the change was applied, not left hanging
    M->InsertV(0);                       // outside 1 .. NumV - 1: no change
    EXPECT_EQ(M->Net().NumV(), 3);

    // Deleting the last U line while it is edited keeps the edit index on the net.
    Doc.SetEditedGeometry(M);
    M->SetEditView(mvU);
    M->SetEditIndex(4);
    M->DeleteEditedLine();
    EXPECT_EQ(M->Net().NumU(), 4);
    EXPECT_EQ(M->GetEditIndex(), 3);

    // A net keeps at least two lines in each direction.
    M->SetEditView(mvV);
    M->DeleteEditedLine();
    EXPECT_EQ(M->Net().NumV(), 2);
    M->DeleteEditedLine();
    EXPECT_EQ(M->Net().NumV(), 2);
}

TEST_F(MeshTest, DragMovesSelectedPointsFromWhereTheyStarted) {
    TGeoMesh* M = Add(3, 3);
    M->Net().Point(0, 0).Marked = true;
    M->Net().Point(2, 1).Marked = true;
    TPlanView View;
    M->BeginDrag({}, {}, View, {}, {});
    for (double Step : {0.25, 0.5, 1.0}) M->Drag({}, {}, View, {}, {Step, 0, 0});
    M->EndDrag({}, {}, View, {}, {1, 0, 0});
    EXPECT_EQ(At(*M, 0, 0), (TMVector{1, 0, 0}));
    EXPECT_EQ(At(*M, 2, 1), (TMVector{3, 1, 2}));
    EXPECT_EQ(At(*M, 1, 1), (TMVector{1, 1, 1}));
}

TEST_F(MeshTest, WritesItsBlockAndReadsItBack) {
    TGeoMesh* M = Add(2, 2, "Deck");
    M->Net().Point(1, 1).SetVector({1.5, -2, 0.125});
    const std::string Shown =
        "[TMesh]\n"
        "NumU=2\n"
        "NumV=2\n"
        "     0.000000      0.000000      0.000000      1.000\n"
        "     0.000000      1.000000      0.000000      1.000\n"
        "     1.000000      0.000000      0.000000      1.000\n"
        "     1.500000     -2.000000      0.125000      1.000\n"
        "Name=Deck\n"
        "\n";
    EXPECT_EQ(SavedText(Doc), Shown);

    M->SetDrawParameters(false);
    M->SetMirrored(true);
    M->SetColor(clRed);
    const std::string Changed =
        Shown.substr(0, Shown.size() - 1) + "DrawParameters=FALSE\nMirrored=TRUE\nColor=clRed\n\n";
    EXPECT_EQ(SavedText(Doc), Changed);

    Doc.Clear();
    TGeoMesh* Read = Load(Shown);
    ASSERT_NE(Read, nullptr);
    EXPECT_TRUE(Read->GetDrawParameters());  // shown by the constructor, as the block left it out
    EXPECT_EQ(SavedText(Doc), Shown);
    Doc.Clear();
    Read = Load(Changed);
    EXPECT_FALSE(Read->GetDrawParameters());
    EXPECT_TRUE(Read->Mirrored());
    EXPECT_EQ(SavedText(Doc), Changed);
}

TEST_F(MeshTest, DamagedCountsAreReported) {
    for (auto [Block, Message] : {std::pair{"[TMesh]\nNumU=x\nNumV=2\n\n", "Error in field Mesh.NumU"},
                                  std::pair{"[TMesh]\nNumU=2\nNumV=-1\n\n", "NumV=-1 on line 2 is a negative count"}}) {
        TGeoMesh M;
        TTextReader In(std::string(Block).substr(8));
        try {
            M.LoadFromText(In);
            ADD_FAILURE() << Block;
        } catch (const std::runtime_error& E) {
            EXPECT_EQ(std::string(E.what()), Message);
        }
    }
}

TEST_F(MeshTest, AnswersQueriesWithItsNetOrNewFacets) {
    TGeoMesh* M = Add(3, 3);
    TGeometryQuery Count;
    Count.Kinds = QueryKinds({qkSampledMesh});
    Count.CountOnly = true;
    Doc.Query(Count, false);
    EXPECT_EQ(Count.Count(), 1);

    TGeometryQuery Meshes;
    Meshes.Kinds = QueryKinds({qkSampledMesh, qkPolygonList});
    Doc.Query(Meshes, false);
    ASSERT_EQ(Meshes.Count(), 1);
    EXPECT_EQ(Meshes.Item(0).As<TMesh>(), &M->Net());
    EXPECT_FALSE(Meshes.Item(0).Owned());

    TGeometryQuery Facets;
    Facets.Kinds = QueryKinds({qkPolygonList});
    Doc.Query(Facets, false);
    ASSERT_EQ(Facets.Count(), 1);
    EXPECT_TRUE(Facets.Item(0).Owned());
    EXPECT_NE(Facets.Item(0).As<TPolygonList>(), nullptr);

    TGeometryQuery Other;
    Other.Kinds = QueryKinds({qkPolyline});
    Doc.Query(Other, false);
    EXPECT_EQ(Other.Count(), 0);
}

TEST_F(MeshTest, PolygonMeshHasTwoTrianglesPerCell) {
    TGeoMesh* M = Add(3, 3);
    ClickPopupItem(*M, "Generate Polygon Mesh");
    ASSERT_EQ(Doc.Count(), 2);
    auto* Facets = dynamic_cast<TGeoPGonlist*>(&Doc.Items(1));
    ASSERT_NE(Facets, nullptr);
    EXPECT_EQ(Facets->Facets().Count(), 8);
}

TEST_F(MeshTest, ExtractEdgesAddsNamedPolylinesAndKeepsTheMesh) {
    Add(3, 2, "Deck");
    static_cast<TGeoMesh&>(Doc.Items(0)).ExtractEdges();
    ASSERT_EQ(Doc.Count(), 5);
    const std::vector<std::string> Names = {"Deck.MinUEdge", "Deck.MinVEdge", "Deck.MaxUEdge", "Deck.MaxVEdge"};
    for (int I = 0; I < 4; ++I) EXPECT_EQ(Doc.Items(I + 1).GetName(), Names[I]);
    EXPECT_EQ(PointsOf(static_cast<TGeoPline&>(Doc.Items(3)).Polyline()),
              (std::vector<TMVector>{{2, 0, 0}, {2, 1, 2}}));

    Doc.Clear();
    Add(2, 2, "");
    static_cast<TGeoMesh&>(Doc.Items(0)).ExtractEdges();
    EXPECT_EQ(Doc.Items(1).GetName().rfind("MinUEdge", 0), 0u);
}

// The edited line stays on the net when the net loses lines under it, and the editor never reaches
// past the net: no point of another line, no stray points added to the list.
TEST_F(MeshTest, EditIndexStaysOnTheNetThroughFlipsAndUndo) {
    const std::vector<std::pair<std::string, std::function<void(TGeoMesh&)>>> Changes = {
        {"flip U-V", [](TGeoMesh& M) { M.SwapUV(); }},
        {"undo of an insert", [this](TGeoMesh& M) {
             M.InsertU(1);
             M.SetEditIndex(5);
             Doc.Undo();
         }},
    };
    for (const auto& [What, Change] : Changes) {
        Doc.Clear();
        TGeoMesh* M = Add(5, 3);
        Doc.SetEditedGeometry(M);
        M->SetEditView(mvU);
        M->SetEditIndex(4);
        Change(*M);
        const int Lines = M->Net().NumU();
        EXPECT_EQ(M->GetEditIndex(), Lines - 1) << What;
        ASSERT_EQ(M->GetPointCount(), M->Net().NumV()) << What;
        EXPECT_EQ(M->GetPoint(0), &M->Net().Point(Lines - 1, 0)) << What;
        TRecordingGraphics View;
        M->Draw(View);
        EXPECT_EQ(M->Net().PointCount(), Lines * M->Net().NumV()) << What;
    }
    // Asked for a line beyond the net, the editor takes the last one.
    TGeoMesh* M = static_cast<TGeoMesh*>(&Doc.Items(0));
    M->SetEditIndex(99);
    EXPECT_EQ(M->GetEditIndex(), M->Net().NumU() - 1);
    M->SetEditIndex(-3);
    EXPECT_EQ(M->GetEditIndex(), 0);
}

TEST(MeshNet, PointRefusesIndicesOffTheNet) {
    TMesh Net(3, 2);
    Net.Point(2, 1).SetVector({1, 2, 3});  // within the net: the list grows to it
    EXPECT_EQ(Net.PointCount(), 6);
    const TMesh& Read = Net;
    for (const auto& [I, J] : {std::pair{3, 0}, {0, 2}, {-1, 0}, {0, -1}, {5, 5}}) {
        EXPECT_THROW(Net.Point(I, J), EError) << I << ", " << J;
        EXPECT_THROW(Read.Point(I, J), EError) << I << ", " << J;
    }
    EXPECT_EQ(Net.PointCount(), 6);
    try {
        Net.Point(3, 0);
    } catch (const EError& E) {
        EXPECT_STREQ(E.what(), "TMesh.Point - Index (3, 0) outside the net of 3 x 2 points");
    }
}

TEST_F(MeshTest, EachEditIsOneUndoStep) {
    const std::vector<std::pair<std::string, std::function<void(TGeoMesh&)>>> Edits = {
        {"reverse U", [](TGeoMesh& M) { M.ReverseU(); }},
        {"swap", [](TGeoMesh& M) { M.SwapUV(); }},
        {"insert", [](TGeoMesh& M) { M.InsertV(1); }},
        {"transform", [](TGeoMesh& M) { M.Transform(MatrixTranslation(1, 2, 3)); }},
        {"extract edges", [](TGeoMesh& M) { M.ExtractEdges(); }},
    };
    for (const auto& [What, Edit] : Edits) {
        Doc.Clear();
        TGeoMesh* M = Add(3, 2, "Deck");
        ExpectOneUndoStep(Doc, What, [&] { Edit(*M); });
    }
}

TEST_F(MeshTest, AnalysisMenuSwitchesModes) {
    TGeoMesh M;
    TSurfaceAnalysis& Analysis = M.AnalysisRepresentation().Analysis();
    M.HideAnalysis();
    EXPECT_FALSE(M.GetShowAnalysis());
    M.ShowMeanCurvature();
    EXPECT_TRUE(M.GetShowAnalysis());
    EXPECT_EQ(Analysis.GetMode(), 1);
    M.ShowZebra();
    EXPECT_TRUE(M.GetShowAnalysis());
    EXPECT_EQ(Analysis.GetMode(), 2);

    TMenuItem* Menu = M.PopupMenu();
    ASSERT_NE(Menu, nullptr);
    TMenuItem& Root = *Menu;
    const std::vector<std::string> Captions = MenuCaptions(Root);
    ASSERT_GE(Captions.size(), 14u);
    EXPECT_EQ(std::vector<std::string>(Captions.end() - 14, Captions.end()),
              (std::vector<std::string>{"-", "Reverse in U", "Reverse in V", "Flip U-V", "-", "Extract Edges",
                                        "Generate Polygon Mesh", "Explode to Polylines", "Make a B-Spline surface",
                                        "Extract Contours", "-", "Show Mesh", "Show Contours", "Mirrored"}));
    EXPECT_TRUE(Root.Find("Show Mesh")->Checked);
}

TEST_F(MeshTest, FacetsAreAnnouncedOnTheConsole) {
    std::vector<std::string> Lines;
    GConsole = std::make_unique<TConsole>();
    GConsole->OnLine = [&](const std::string& L) { Lines.push_back(L); };
    TGeoMesh* Named = Add(2, 2, "Deck");
    EXPECT_NE(Named->CreatePolygonRepresentation(0), nullptr);
    TGeoMesh Unnamed;
    Unnamed.CreatePolygonRepresentation(0);
    GConsole.reset();
    EXPECT_EQ(Lines, (std::vector<std::string>{"  Creating Polygon Representation of TGeoMesh.Deck...",
                                               "  Creating Polygon Representation of TGeoMesh..."}));
}

TEST_F(MeshTest, SimplifiedDrawingOfLargeNetsIsTheBox) {
    const std::pair<int, int> Boxed[] = {{21, 2}, {9, 9}};
    const std::pair<int, int> Drawn[] = {{8, 9}, {3, 3}};
    // The box is twelve single lines; a net draws its rows and columns as connected lines.
    const auto DrawsBox = [](int U, int V) {
        TPlanView View;
        MakeMesh(U, V)->DrawSimplified(View);
        const std::vector<std::string> Names = View.Names();
        return Names.size() == 12 && std::count(Names.begin(), Names.end(), Names.front()) == 12;
    };
    for (auto [U, V] : Boxed) EXPECT_TRUE(DrawsBox(U, V)) << U << "x" << V;
    for (auto [U, V] : Drawn) EXPECT_FALSE(DrawsBox(U, V)) << U << "x" << V;
}

}  // namespace
}  // namespace sarnova::test
