// The B-spline surface entity: its block and line counts, the order and knuckle items, net changes on
// knots that are not open, the derived entities, conversions to and from meshes, queries, the dialog's
// input rules and the CORNERPOINTSURFACE block.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "DialogsScope.h"
#include "document/CurveFixtures.h"
#include "document/GBSpline.h"
#include "document/GeometryQuery.h"
#include "entities/GBSurf.h"
#include "entities/GGonList.h"
#include "entities/GMesh.h"
#include "naval/GPList.h"
#include "EntityFixtures.h"
#include "foundation/BSpline.h"
#include "foundation/PolyList.h"
#include "platform/Menu.h"
#include "surfaces/BSurface.h"

namespace sarnova::test {
namespace {

// A NumU by NumV surface of orders up to 4 with point (i, j) at (i, j, i * j).
std::unique_ptr<TGeoBSurf> MakeSurf(int NumU, int NumV, const std::string& Name = "S") {
    auto E = std::make_unique<TGeoBSurf>();
    TBSplineSurface& S = E->Surface();
    S.SetSize(NumU, NumV);
    S.Clear();
    for (int I = 0; I < NumU; ++I)
        for (int J = 0; J < NumV; ++J) S.Point(I, J).SetVector({double(I), double(J), double(I * J)});
    S.SetOrderU(std::min(NumU, 4));
    S.SetOrderV(std::min(NumV, 4));
    E->SetName(Name);
    return E;
}

// Makes S periodic with the unclamped knots 0, 1, 2, ...
void MakePeriodic(TBSplineSurface& S) {
    S.KnotType = ktPeriodic;
    for (int I = 1; I <= S.NumU() + S.OrderU(); ++I) S.SetKnotU(I, I - 1);
    for (int I = 1; I <= S.NumV() + S.OrderV(); ++I) S.SetKnotV(I, I - 1);
}

int LineCount(TPolylistRepresentation* R) {
    R->Invalidate();
    R->Update();
    return R->GetPolylines() != nullptr ? R->GetPolylines()->Count() : -1;
}

class BSurfTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterEntityClasses(); }
    TGeoBSurf* Add(int NumU, int NumV, const std::string& Name = "S") {
        return static_cast<TGeoBSurf*>(Doc.Add(MakeSurf(NumU, NumV, Name)));
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> Result;
        for (int I = 0; I < Doc.Count(); ++I) Result.push_back(Doc.Items(I).GetName());
        return Result;
    }

    TGeometryInterface Doc;
};

TEST_F(BSurfTest, BlockKeepsLineCountsAndOnlyWritesThemWhenNotDefault) {
    TGeoBSurf* S = Add(4, 4);
    EXPECT_EQ(SavedText(Doc).find("NumULine"), std::string::npos);
    S->SetNumULine(12);
    const std::string Text = SavedText(Doc);
    EXPECT_NE(Text.find("Name=S\nNumULine=12\n\n"), std::string::npos) << Text;

    TGeometryInterface Read;
    LoadDocumentText(Read, Text);
    auto* R = dynamic_cast<TGeoBSurf*>(&Read.Items(0));
    ASSERT_NE(R, nullptr);
    EXPECT_EQ(R->GetNumULine(), 12);
    EXPECT_EQ(R->GetNumVLine(), 25);
    EXPECT_EQ(LineCount(R->ParametersRepresentation()), 12 + 25);
    EXPECT_EQ(SavedText(Read), Text);

    // A count that no display could take is a damaged block, kept as it was.
    for (const char* Bad : {"NumULine=0", "NumVLine=100000000", "NumULine=twelve"}) {
        std::string Damaged = Text;
        Damaged.replace(Damaged.find("NumULine=12"), 11, Bad);
        TGeometryInterface Other;
        LoadDocumentText(Other, Damaged);
        EXPECT_EQ(EntitiesOf<TGeoBSurf>(Other).size(), 0u) << Bad;
        EXPECT_EQ(SavedText(Other), Damaged) << Bad;
    }
}

TEST_F(BSurfTest, PointsViewDrawsCoarseLinesUntilTheDragEnds) {
    TGeoBSurf* S = Add(6, 5);
    S->SetNumULine(8);
    EXPECT_EQ(S->Surface().NumULine(), 8);
    EXPECT_EQ(S->Surface().StoredLinePointCount(), BSplineSegmentCount(5));
    Doc.SetEditedGeometry(S);
    S->SetEditView(mvU);
    S->SetEditView(mvUV);
    EXPECT_EQ(S->Surface().StoredLinePointCount(), 10);
    EXPECT_EQ(S->Surface().NumULine(), 8);
    TRecordingGraphics View;
    S->Surface().Point(2, 2).Marked = true;
    S->BeginDrag({}, {}, View, {}, {});
    S->Drag({}, {}, View, {}, {0, 0, 1});
    S->EndDrag({}, {}, View, {}, {});
    EXPECT_EQ(S->Surface().StoredLinePointCount(), BSplineSegmentCount(5));
}

TEST_F(BSurfTest, OrderItemsFollowTheNet) {
    struct Case {
        int NumU, NumV;
        const char* Caption;
        bool Enabled;
    };
    const Case Cases[] = {{4, 3, "4 (Cubic)", false}, {4, 4, "4 (Cubic)", true}, {3, 3, "3 (Quadratic)", true},
                          {2, 3, "3 (Quadratic)", false}, {6, 6, "6", true}, {6, 5, "6", false},
                          {2, 2, "Bezier", true}};
    for (const Case& C : Cases) {
        Doc.Clear();
        TGeoBSurf* S = Add(C.NumU, C.NumV);
        TMenuItem* Orders = S->PopupMenu()->Find("Surface Order");
        ASSERT_NE(Orders, nullptr);
        EXPECT_EQ(Orders->Find(C.Caption)->Enabled, C.Enabled) << C.NumU << "x" << C.NumV << " " << C.Caption;
    }

    Doc.Clear();
    TGeoBSurf* S = Add(3, 3);
    const auto Item = [&](const char* Caption) {
        S->UpdateMenuItems(*S->PopupMenu());
        return S->PopupMenu()->Find("Surface Order")->Find(Caption);
    };
    Item("Bezier")->Click();
    EXPECT_TRUE(S->Surface().GetForcedBezier());
    EXPECT_TRUE(Item("Bezier")->Checked);
    EXPECT_FALSE(Item("3 (Quadratic)")->Checked);
    Item("3 (Quadratic)")->Click();
    EXPECT_FALSE(Item("Bezier")->Checked);
    EXPECT_TRUE(Item("3 (Quadratic)")->Checked);
    EXPECT_EQ(S->Surface().OrderU(), 3);

    // The item is told by its first character, whatever accelerator marker the menu put in front.
    TMenuItem Marked("&5");
    Doc.Clear();
    S = Add(5, 6);
    S->SurfaceOrderClick(Marked);
    EXPECT_EQ(S->Surface().OrderU(), 5);
    EXPECT_EQ(S->Surface().OrderV(), 5);

    // Undo brings the Bezier choice back with the orders.
    Doc.Clear();
    S = Add(3, 3);
    S->SetSurfaceOrder(0);
    ExpectOneUndoStep(Doc, "order", [&] { S->SetSurfaceOrder(3); });
    EXPECT_TRUE(static_cast<TGeoBSurf&>(Doc.Items(0)).Surface().GetForcedBezier());
}

TEST_F(BSurfTest, KnuckleItemsFollowTheSelectedPoints) {
    TGeoBSurf* S = Add(5, 4);
    S->Surface().SetKnuckleU(2, true);  // lines 2, 3 and 4 of 7 coincide
    ASSERT_EQ(S->Surface().NumU(), 7);
    Doc.SetEditedGeometry(S);
    const auto Knuckle = [&] {
        S->UpdateMenuItems(*S->PopupMenu());
        return S->PopupMenu()->Find("Knuckle in U");
    };
    for (int I = 2; I <= 4; ++I) S->Surface().Point(I, 1).Marked = true;
    EXPECT_TRUE(Knuckle()->Enabled);
    EXPECT_TRUE(Knuckle()->Checked);
    Knuckle()->Click();
    EXPECT_EQ(S->Surface().NumU(), 5);
    EXPECT_FALSE(S->Surface().IsKnuckleU(2));

    S->DeselectAllPoints();
    S->Surface().Point(0, 1).Marked = true;
    EXPECT_FALSE(Knuckle()->Enabled);
    S->DeselectAllPoints();
    S->Surface().Point(2, 1).Marked = true;
    EXPECT_TRUE(Knuckle()->Enabled);
    EXPECT_FALSE(Knuckle()->Checked);
    ExpectOneUndoStep(Doc, "knuckle", [&] { Knuckle()->Click(); });
}

TEST_F(BSurfTest, NetChangesOnKnotsNotOpenAskFirst) {
    TDialogsScope Scope;
    TGeoBSurf* S = Add(5, 4);
    MakePeriodic(S->Surface());
    const std::string Periodic = SavedText(Doc);

    Scope.Dialogs.Answer(TModalResult::mrCancel);
    S->InsertU(1);
    ASSERT_EQ(Scope.Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Scope.Dialogs.Shown[0].Text,
              "This operation can only be performed on a BSpline Surface \r\nwith an Open Uniform Knot Vector, Convert "
              "the Curve?");
    EXPECT_EQ(SavedText(Doc), Periodic);

    Scope.Dialogs.Answer(TModalResult::mrOk);
    S->InsertU(1);
    EXPECT_EQ(S->Surface().KnotType, ktOpen);
    EXPECT_EQ(S->Surface().NumU(), 6);
    // One question, one change: undo gives the periodic surface back.
    Doc.Undo();
    EXPECT_EQ(SavedText(Doc), Periodic);

    // Deleting the edited line asks once, and undo also restores the knots it opened.
    S = static_cast<TGeoBSurf*>(&Doc.Items(0));
    Doc.SetEditedGeometry(S);
    S->SetEditView(mvU);
    Scope.Dialogs.Answer(TModalResult::mrOk);
    S->DeleteEditedLine();
    EXPECT_EQ(Scope.Dialogs.Shown.size(), 3u);
    EXPECT_EQ(S->Surface().NumU(), 4);
    Doc.Undo();
    EXPECT_EQ(static_cast<TGeoBSurf&>(Doc.Items(0)).Surface().KnotType, ktPeriodic);
}

TEST_F(BSurfTest, ReverseAndFlipKeepAnyKnotsWithoutAsking) {
    const auto Custom = [](TBSplineSurface& S) {
        S.KnotType = ktNonUniform;
        const double U[] = {0, 0, 0, 0, 0.2, 1, 1, 1, 1};
        for (int I = 1; I <= 9; ++I) S.SetKnotU(I, U[I - 1]);
        for (int I = 1; I <= S.NumV() + S.OrderV(); ++I) S.SetKnotV(I, I <= 4 ? 0 : 1);
        S.MinUParameter = S.MinVParameter = 0;
        S.MaxUParameter = S.MaxVParameter = 1;
    };
    // Knots 0, 0.2, 1 are not symmetric: only a reversal of the knots as well keeps the shape.
    const auto Near = [](const TRPoint& A, const TRPoint& B) {
        return std::abs(A.X - B.X) < 1e-9 && std::abs(A.Y - B.Y) < 1e-9 && std::abs(A.Z - B.Z) < 1e-9;
    };
    for (const bool Periodic : {true, false}) {
        Doc.Clear();
        TDialogsScope Scope;
        TGeoBSurf* S = Add(5, 4);
        Periodic ? MakePeriodic(S->Surface()) : Custom(S->Surface());
        const TKnotType Type = S->Surface().KnotType;
        const std::string Saved = SavedText(Doc);
        const std::unique_ptr<TMesh> Shape = Periodic ? nullptr : S->Surface().CreateMeshSized(6, 5);
        S->ReverseU();
        EXPECT_EQ(S->Surface().KnotType, Type);
        EXPECT_TRUE(Near(S->Surface().Point(0, 1), *MakeSurf(5, 4)->Surface().Point(4, 1).Clone()));
        if (Shape) {
            const std::unique_ptr<TMesh> Reversed = S->Surface().CreateMeshSized(6, 5);
            for (int I = 0; I < Shape->NumU(); ++I)
                for (int J = 0; J < Shape->NumV(); ++J)
                    EXPECT_TRUE(Near(Reversed->Point(I, J), Shape->Point(Shape->NumU() - 1 - I, J))) << I << " " << J;
        }
        S->ReverseU();
        S->ReverseV();
        S->ReverseV();
        EXPECT_EQ(SavedText(Doc), Saved);
        ExpectOneUndoStep(Doc, "flip", [&] {
            S->SwapUV();
            EXPECT_EQ(S->Surface().KnotType, Type);
            EXPECT_EQ(S->Surface().NumU(), 4);
        });
        EXPECT_TRUE(Scope.Dialogs.Shown.empty());
    }
}

TEST_F(BSurfTest, DerivedEntitiesAreNamedAfterTheSurface) {
    Add(4, 3, "Hull")->FillEdgesToCenterline();
    EXPECT_EQ(Names(), (std::vector<std::string>{"Hull", "Hull.U=0", "Hull.V=0", "Hull.U=Max", "Hull.V=Max"}));
    // Each fill runs from its edge (row 0) to the edge's copy on y = 0 (row 1).
    const TBSplineSurface& UMax = static_cast<TGeoBSurf&>(Doc.Items(3)).Surface();
    EXPECT_EQ(UMax.Point(0, 0).Vector(), (TMVector{3, 0, 0}));
    EXPECT_EQ(UMax.Point(2, 1).Vector(), (TMVector{3, 0, 6}));

    Doc.Clear();
    Add(4, 3, "Deck")->ExtractEdges();
    ASSERT_EQ(Names(), (std::vector<std::string>{"Deck", "Deck.MinUEdge", "Deck.MinVEdge", "Deck.MaxUEdge",
                                                 "Deck.MaxVEdge"}));
    const TBSpline& MaxV = static_cast<TGeoBSpline&>(Doc.Items(4)).Spline();
    EXPECT_EQ(MaxV.Count(), 4);
    EXPECT_EQ(MaxV.GetOrder(), 4);
}

TEST_F(BSurfTest, ConversionsBetweenMeshesAndSurfaces) {
    // The mesh's own item: orders up to 4, and the mesh stays.
    const auto AddMesh = [&](int NumU, int NumV) {
        auto Mesh = std::make_unique<TGeoMesh>();
        Mesh->Net().SetSize(NumU, NumV);
        for (int J = 0; J < NumV; ++J)
            for (int I = 0; I < NumU; ++I) Mesh->Net().Point(I, J).SetVector({double(I), double(J), 0});
        return static_cast<TGeoMesh*>(Doc.Add(std::move(Mesh)));
    };
    TGeoMesh* M = AddMesh(3, 7);
    ClickPopupItem(*M, "Make a B-Spline surface");
    ASSERT_EQ(Doc.Count(), 2);
    const TBSplineSurface& Made = static_cast<TGeoBSurf&>(Doc.Items(1)).Surface();
    EXPECT_EQ(Made.OrderU(), 3);
    EXPECT_EQ(Made.OrderV(), 4);
    EXPECT_EQ(Made.NumV(), 7);

    // A selection of both kinds offers all three conversions; each replaces its kind in one step.
    Doc.Items(0).SetSelected(true);
    Doc.Items(1).SetSelected(true);
    TMenuItem Menu;
    TGeoBSurf::AddSelectionMenuItems(Menu, Doc);
    ASSERT_EQ(Menu.Count(), 4);
    EXPECT_EQ(Menu.Items(2).Caption, "Convert BSpline Surface Representation to Meshes");
    const std::string Before = SavedText(Doc);
    Doc.GetUndoManager().Clear();
    Menu.Find("Convert BSpline Surface Control Polygons to Meshes")->Click();
    EXPECT_EQ(EntitiesOf<TGeoBSurf>(Doc).size(), 0u);
    ASSERT_EQ(EntitiesOf<TGeoMesh>(Doc).size(), 2u);
    EXPECT_EQ(EntitiesOf<TGeoMesh>(Doc)[1]->Net().NumV(), 7);
    Doc.Undo();
    EXPECT_EQ(SavedText(Doc), Before);

    Doc.Clear();
    M = AddMesh(4, 4);
    M->SetSelected(true);
    TMenuItem MeshMenu;
    TGeoBSurf::AddSelectionMenuItems(MeshMenu, Doc);
    ASSERT_EQ(MeshMenu.Count(), 1);
    MeshMenu.Items(0).Click();
    auto Surfaces = EntitiesOf<TGeoBSurf>(Doc);
    ASSERT_EQ(Surfaces.size(), 1u);
    EXPECT_EQ(Surfaces[0]->Surface().OrderU(), 2);
    EXPECT_EQ(Surfaces[0]->Surface().NumU(), 4);

    // The sampled surface at the entity's line counts.
    Surfaces[0]->SetNumULine(6);
    Surfaces[0]->ConvertToSurfaceMesh();
    ASSERT_EQ(EntitiesOf<TGeoMesh>(Doc).size(), 1u);
    EXPECT_EQ(EntitiesOf<TGeoMesh>(Doc)[0]->Net().NumU(), 6);
    EXPECT_EQ(Doc.Count(), 1);
}

TEST_F(BSurfTest, ContoursAndSectionsBecomePolylineLists) {
    TGeoBSurf* S = Add(5, 4);
    S->SetDrawContours(true);
    TMenuItem* Menu = S->PopupMenu();
    EXPECT_TRUE(Menu->Find("Extract Contours")->Enabled);
    ClickPopupItem(*S, "Create Calculation Sections");
    ASSERT_EQ(Doc.Count(), 2);
    auto* Sections = dynamic_cast<TGeoPList*>(&Doc.Items(1));
    ASSERT_NE(Sections, nullptr);
    EXPECT_GT(Sections->Polylines().Count(), 2);

    ClickPopupItem(*S, "Generate Polygon Mesh");
    ASSERT_EQ(Doc.Count(), 3);
    auto* Facets = dynamic_cast<TGeoPGonlist*>(&Doc.Items(2));
    ASSERT_NE(Facets, nullptr);
    EXPECT_GT(Facets->Facets().Count(), 0);
}

TEST_F(BSurfTest, AnswersSurfaceMeshAndFacetQueries) {
    TGeoBSurf* S = Add(4, 4);
    const auto Ask = [&](std::initializer_list<int> Kinds, bool CountOnly = false) { return QueryOf(Doc, Kinds, CountOnly); };
    EXPECT_EQ(Ask({qkSurface}, true)->Count(), 1);
    for (int Kind : {qkSurface, qkSurface + 1}) {
        auto Q = Ask({Kind, qkSampledMesh});
        ASSERT_EQ(Q->Count(), 1);
        EXPECT_EQ(Q->Item(0).As<TBSplineSurface>(), &S->Surface());
        EXPECT_FALSE(Q->Item(0).Owned());
    }
    auto Meshes = Ask({qkSampledMesh});
    ASSERT_EQ(Meshes->Count(), 1);
    EXPECT_TRUE(Meshes->Item(0).Owned());
    EXPECT_NE(Meshes->Item(0).As<TMesh>(), nullptr);
    EXPECT_EQ(Ask({qkPolyline})->Count(), 0);
}

TEST_F(BSurfTest, PeriodicSurfaceCopiesAndDrawsItsNet) {
    TGeoBSurf* S = Add(5, 4);
    MakePeriodic(S->Surface());
    auto Copy = std::make_unique<TGeoBSurf>();
    Copy->Assign(*S);
    EXPECT_EQ(Copy->Surface().KnotType, ktPeriodic);
    EXPECT_EQ(Copy->Surface().KnotU(8), 7);
    EXPECT_EQ(LineCount(Copy->ParametersRepresentation()), 0);
    TRecordingGraphics View;
    Doc.SetEditedGeometry(S);
    S->Draw(View);
}

TEST(NewSurfaceDialog, RefusesWhatCannotMakeASurface) {
    const std::string Both =
        "The order cannot be more than the number of control polygon points (Complexity) in both the U and V directions";
    const std::string InU =
        "The order cannot be more than the number of control polygon points (Complexity) in the U Direction";
    const std::string InV =
        "The order cannot be more than the number of control polygon points (Complexity) in the V Direction";
    struct Case {
        int NumU, NumV, OrderU, OrderV;
        std::string Error;
    };
    const Case Cases[] = {
        {4, 4, 5, 3, InU},
        {4, 4, 5, 5, Both},
        {4, 4, 3, 5, InV},
        {1, 4, 1, 4, "The number of control polygon points (Complexity) must be at least 2"},
        {4, 4, 1, 4, "The order must be at least 2"},
        {490, 4, 10, 4, "The number of control polygon points and the order cannot together be more than 499"},
        {4, 4, 4, 4, ""},
        {2, 3, 2, 2, ""},
    };
    for (const Case& C : Cases) {
        TNewSurfaceInput In;
        In.NumU = C.NumU;
        In.NumV = C.NumV;
        In.OrderU = C.OrderU;
        In.OrderV = C.OrderV;
        EXPECT_EQ(NewSurfaceInputError(In), C.Error) << C.NumU << " " << C.NumV << " " << C.OrderU << " " << C.OrderV;
    }

    TNewSurfaceInput In;
    In.Breadth = 5;
    In.Depth = 2;
    const std::unique_ptr<TBSplineSurface> S = NewSurfaceFromInput(In);
    EXPECT_EQ(S->Point(3, 3).Vector(), (TMVector{10, 5, 2}));
    EXPECT_EQ(S->Point(3, 0).Vector(), (TMVector{10, 0, 0}));
}

TEST_F(BSurfTest, CornerPointBlockErrors) {
    const std::pair<std::string, std::string> Cases[] = {
        {"CORNERPOINTSURFACE Deck\n0 0\n10 0\n", "Error: test.cmd(1): No END for CORNERPOINTSURFACE Deck"},
        {"\ncornerpointsurface Deck\n0 0\n10 0\n10 5\n0 5\n0 0\nEND\n",
         "Error: test.cmd(2): Four points expected for CORNERPOINTSURFACE Deck"},
    };
    for (const auto& [Text, Error] : Cases) {
        EXPECT_EQ(MacroError(Doc, Text), Error) << Text;
        EXPECT_EQ(Doc.Count(), 0);
    }
    RunMacroText(Doc, "cornerPointSurface\n0 0\n1 0 2\n1 1\n0 1\nEND\n");
    ASSERT_EQ(Doc.Count(), 1);
    const TBSplineSurface& S = static_cast<TGeoBSurf&>(Doc.Items(0)).Surface();
    EXPECT_EQ(S.Point(1, 0).Vector(), (TMVector{1, 0, 2}));
    EXPECT_EQ(S.Point(0, 1).Vector(), (TMVector{0, 1, 0}));
}

}  // namespace
}  // namespace sarnova::test
