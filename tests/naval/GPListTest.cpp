// The polyline-list entity: its block, point editing, picking and snapping, queries, and the section
// tools of its menus with their undo steps.
#include "naval/GPList.h"

#include <gtest/gtest.h>

#include "document/CurveFixtures.h"
#include "document/DragPoints.h"
#include "document/FakeView.h"
#include "document/GPline.h"
#include "document/GeometryClasses.h"
#include "document/GeometryQuery.h"
#include "document/PolylineDialogs.h"
#include "startup/RegisterClasses.h"
#include "entities/GGonList.h"
#include "entities/GMesh.h"
#include "entities/GPointList.h"
#include "foundation/Console.h"
#include "foundation/Errors.h"
#include "foundation/PolyListSections.h"
#include "naval/HullMeshes.h"
#include "naval/VkHydro.h"
#include "platform/Menu.h"
#include "surfaces/Surface.h"

namespace sarnova::test {
namespace {

using TPoints = std::vector<TMVector>;

std::unique_ptr<TPolyline> Line(const TPoints& Points) {
    auto P = std::make_unique<TPolyline>();
    for (const TMVector& V : Points) P->AddVector(V);
    return P;
}

TPoints PointsOf(const TPolyline& P) {
    TPoints Result;
    for (int I = 0; I < P.Count(); ++I) Result.push_back(P.Point(I)->Vector());
    return Result;
}

std::string BlockOf(TGeometry& Entity) {
    TTextWriter Out;
    Entity.SaveToText(Out);
    return Out.Text();
}

template <class T>
std::vector<T*> EntitiesOf(const TGeometryList& List) {
    std::vector<T*> Result;
    for (int I = 0; I < List.Count(); ++I)
        if (auto* E = dynamic_cast<T*>(&List.Items(I))) Result.push_back(E);
    return Result;
}

// A sections list whose polylines run from the keel (y = 0) up to the deck edge at these stations.
const TPoints HalfSection = {{0, 0, 0}, {0, 2, 1}, {0, 3, 3}};

class GPListTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterGeometryClasses(); }
    void TearDown() override {
        PolylineDialogs() = {};
        PlistDialogs() = {};
    }

    TGeoPList* AddList(const std::vector<TPoints>& Polylines, const std::string& Name = "L") {
        auto Entity = std::make_unique<TGeoPList>();
        for (const TPoints& P : Polylines) Entity->Polylines().Add(Line(P));
        Entity->SetName(Name);
        return static_cast<TGeoPList*>(Doc.Add(std::move(Entity)));
    }
    // Sections of HalfSection at each x.
    TGeoPList* AddSections(std::initializer_list<double> Xs) {
        std::vector<TPoints> All;
        for (double X : Xs) {
            TPoints P = HalfSection;
            for (TMVector& V : P) V.X = X;
            All.push_back(P);
        }
        return AddList(All);
    }
    TGeoPList* LoadList(const std::string& Block) {
        TTextReader In(Block);
        Doc.LoadFromText(In);
        const auto Lists = EntitiesOf<TGeoPList>(Doc);
        return Lists.empty() ? nullptr : Lists.back();
    }

    TTestSettings Settings;
    TGeometryInterface Doc;
};

// ---- The block ----

TEST_F(GPListTest, ANewListWritesItsPermeabilityAndDefaultsAreLeftOut) {
    TGeoPList* List = AddList({{{0, 0, 0}, {0, 1, 1}}}, "");
    EXPECT_EQ(BlockOf(*List),
              "[TPolylineList]\nNumPolylines=1\nNumPoints=2\n     0.000      0.000      0.000\n"
              "     0.000      1.000      1.000\nPermeability= 1.00000000000000E+0000\n\n");
    List->SetPermeability(0);
    EXPECT_NE(BlockOf(*List).find("Permeability= 0.00000000000000E+0000\n"), std::string::npos);
}

TEST_F(GPListTest, ReadingTakesTheKeysByValueAndPassesOverUnknownOnes) {
    struct TCase {
        const char* Keys;
        bool Mirrored;
        const char* Name;
        double Permeability;
    };
    const TCase Cases[] = {
        {"", false, "", 1.0},
        {"Mirrored=FALSE\n", false, "", 1.0},
        {"mirrored = true\n", true, "", 1.0},
        {"Future=1\nName=Tank\n", false, "Tank", 1.0},
        {"PERMEABILITY=0,5\n", false, "", 0.5},
    };
    for (const TCase& C : Cases) {
        TGeometryInterface One;
        TTextReader In(std::string("[TPolylineList]\nNumPolylines=0\n") + C.Keys + "\n");
        One.LoadFromText(In);
        ASSERT_EQ(One.Count(), 1) << C.Keys;
        auto* List = dynamic_cast<TGeoPList*>(&One.Items(0));
        ASSERT_NE(List, nullptr) << C.Keys;
        EXPECT_EQ(List->Mirrored(), C.Mirrored) << C.Keys;
        EXPECT_EQ(List->GetName(), C.Name) << C.Keys;
        EXPECT_EQ(List->GetPermeability(), C.Permeability) << C.Keys;
    }
}

TEST_F(GPListTest, ABlockThatCannotBeReadIsKeptAsItWas) {
    for (const std::string Block : {"[TPolylineList]\nNumPolylines=1\nNumPoints=x\n\n",
                                    "[TPolylineList]\nNumPolylines=0\nPermeability=full\n\n"}) {
        TGeometryInterface Damaged;
        TTextReader In(Block);
        Damaged.LoadFromText(In);
        EXPECT_TRUE(EntitiesOf<TGeoPList>(Damaged).empty()) << Block;
        EXPECT_EQ(SavedText(Damaged).rfind(Block, 0), 0u) << Block;
    }
}

// ---- Points of the current polyline ----

TEST_F(GPListTest, DeletingSelectedPointsKeepsTwoAsOneUndoStep) {
    TGeoPList* List = AddList({{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}});
    ExpectOneUndoStep(Doc, "delete", [&] {
        List->SelectPointRange(0, 2);
        List->DeleteSelectedPoints();
        EXPECT_EQ(List->CurrentPolyline()->Count(), 2);
    });
}

TEST_F(GPListTest, InsertedPointsExtendTheEndsOrSplitTheGap) {
    struct TCase {
        bool Before;
        int Index;
        TPoints Expected;
    };
    const TCase Cases[] = {
        {true, 0, {{8, 0, 0}, {10, 0, 0}, {12, 0, 0}}},
        {false, 1, {{10, 0, 0}, {12, 0, 0}, {14, 0, 0}}},
        {true, 1, {{10, 0, 0}, {11, 0, 0}, {12, 0, 0}}},
        {false, 0, {{10, 0, 0}, {11, 0, 0}, {12, 0, 0}}},
    };
    for (const TCase& C : Cases) {
        TGeoPList* List = AddList({{{10, 0, 0}, {12, 0, 0}}});
        C.Before ? List->InsertPointBefore(C.Index) : List->InsertPointAfter(C.Index);
        EXPECT_EQ(PointsOf(*List->CurrentPolyline()), C.Expected) << C.Before << " " << C.Index;
    }
}

TEST_F(GPListTest, TheCurrentPolylineStaysInsideTheList) {
    TGeoPList* List = AddSections({0, 1, 2, 3});
    List->SetCurrentPolyline(3);
    List->SetCurrentPolyline(4);
    List->SetCurrentPolyline(-1);
    EXPECT_EQ(List->GetCurrentIndex(), 3);
    // Deleting the last polyline steps back; a list of three keeps its polylines.
    List->DeleteCurrentPolyline();
    EXPECT_EQ(List->Polylines().Count(), 3);
    EXPECT_EQ(List->GetCurrentIndex(), 2);
    List->DeleteCurrentPolyline();
    EXPECT_EQ(List->Polylines().Count(), 3);
    // A list that shrank under it (a weld, an undo) answers with its last polyline.
    List->Polylines().Delete(2);
    EXPECT_EQ(List->CurrentPolyline(), List->Polylines().Items(1));
}

// ---- Picking, snapping and queries ----

TEST_F(GPListTest, AMirroredListIsPickedOnBothHalvesButSnapsOnItsOwn) {
    TGeoPList* List = AddList({{{0, 2, 0}, {1, 3, 0}}});
    TFakeView View;
    EXPECT_GT(List->DistanceToPoint(Px(0, -2), View), 10);
    List->SetMirrored(true);
    EXPECT_EQ(List->DistanceToPoint(Px(0, -2), View), 0);
    EXPECT_TRUE(List->InRect({Px(1, -3).X - 1, Px(1, -3).Y - 1, Px(1, -3).X + 1, Px(1, -3).Y + 1}, View));
    const TMBox Box = List->CalculateExtents();
    EXPECT_EQ(Box.Min.Y, -3);
    EXPECT_EQ(Box.Max.Y, 3);

    Settings->SnapOptions.reset();
    Settings->SnapOptions.set(stPolylineList).set(stPoint);
    TGeometrySnapInfo Mirror(Px(0, -2), &View, nullptr, {});
    List->AddSnapPoints(Mirror);
    EXPECT_FALSE(Mirror.Found());
    TGeometrySnapInfo Own(Px(0, 2), &View, nullptr, {});
    List->AddSnapPoints(Own);
    ASSERT_TRUE(Own.Found());
    EXPECT_EQ(Own.BestPoint, (TMVector{0, 2, 0}));
    // Without polyline-list snapping the list offers nothing.
    Settings->SnapOptions.reset(stPolylineList);
    TGeometrySnapInfo Off(Px(0, 2), &View, nullptr, {});
    List->AddSnapPoints(Off);
    EXPECT_FALSE(Off.Found());
}

TEST_F(GPListTest, QueriesGetTheWholeListOrEachPolyline) {
    TGeoPList* List = AddSections({0, 1, 2});
    TGeometryQuery Whole;
    Whole.Kinds = QueryKinds({qkPolylineList, qkPolyline});
    List->Query(Whole);
    ASSERT_EQ(Whole.Count(), 1);
    EXPECT_EQ(Whole.Item(0).As<TPolylineList>(), &List->Polylines());
    TGeometryQuery Each;
    Each.Kinds = QueryKinds({qkPolyline});
    List->Query(Each);
    EXPECT_EQ(Each.Count(), 3);
    TGeometryQuery Counted;
    Counted.Kinds = Each.Kinds;
    Counted.CountOnly = true;
    List->Query(Counted);
    EXPECT_EQ(Counted.Count(), 1);
}

// ---- Section tools ----

TEST_F(GPListTest, ClosingTheHullAddsCentrePlanePointsOnceAndUnclosingTakesThemAway) {
    TGeoPList* List = AddList({{{0, 1, 0}, {0, 2, 1}, {0, 3, 3}}, {{5, 0, 0}, {5, 3, 3}}});
    const TPoints Before = PointsOf(*List->Polylines().Items(0));
    ExpectOneUndoStep(Doc, "close hull", [&] { List->CloseHull(); });
    List->CloseHull();
    EXPECT_EQ(PointsOf(*List->Polylines().Items(0)), (TPoints{{0, 0, 0}, {0, 1, 0}, {0, 2, 1}, {0, 3, 3}, {0, 0, 3}}));
    EXPECT_EQ(PointsOf(*List->Polylines().Items(1)), (TPoints{{5, 0, 0}, {5, 3, 3}, {5, 0, 3}}));
    const std::string Closed = SavedText(Doc);
    List->CloseHull();
    EXPECT_EQ(SavedText(Doc), Closed);
    List->UncloseHull();
    EXPECT_EQ(PointsOf(*List->Polylines().Items(0)), Before);
}

TEST_F(GPListTest, OperationsInPlaceAreOneUndoStepEach) {
    TGeoPList* List = AddSections({4, 0, 8});
    const std::pair<const char*, std::function<void()>> Operations[] = {
        {"close polylines", [&] { List->ClosePolylines(); }},
        {"sort", [&] { List->SortByX(); }},
        {"sort and orient", [&] { List->SortByXAndDefineStart(); }},
        {"reverse", [&] { List->ReversePointsOrder(); }},
        {"shell", [&] { List->AddShellThickness(0.1); }},
    };
    for (const auto& [What, Operation] : Operations) ExpectOneUndoStep(Doc, What, Operation);
    List->ClosePolylines();
    ExpectOneUndoStep(Doc, "unclose polylines", [&] { List->UnclosePolylines(); });
}

TEST_F(GPListTest, UnclosingTheDeckDropsTheHigherEndOnTheCentrePlane) {
    TGeoPList* List = AddList({{{0, 0, 0}, {0, 2, 1}, {0, 0, 3}}, {{1, 0, 3}, {1, 2, 1}, {1, 0, 0}}});
    List->UncloseDeck();
    EXPECT_EQ(PointsOf(*List->Polylines().Items(0)), (TPoints{{0, 0, 0}, {0, 2, 1}}));
    EXPECT_EQ(PointsOf(*List->Polylines().Items(1)), (TPoints{{1, 2, 1}, {1, 0, 0}}));
}

TEST_F(GPListTest, ExplodingMakesOnePolylinePerSectionAndOneUndoBringsTheListBack) {
    AddSections({0, 1, 2, 3})->SetShowAsCompartment(true);
    ExpectOneUndoStep(Doc, "explode", [&] {
        EntitiesOf<TGeoPList>(Doc)[0]->Explode();
        EXPECT_TRUE(EntitiesOf<TGeoPList>(Doc).empty());
        EXPECT_EQ(EntitiesOf<TGeoPline>(Doc).size(), 4u);
    });
    ASSERT_EQ(EntitiesOf<TGeoPList>(Doc).size(), 1u);
}

TEST_F(GPListTest, AWeldToOnePolylineReplacesTheListAndOtherwiseKeepsIt) {
    AddList({{{0, 0, 0}, {1, 0, 0}}, {{1, 0, 0}, {2, 0, 0}}, {{5, 0, 0}, {6, 0, 0}}});
    EntitiesOf<TGeoPList>(Doc)[0]->WeldPolylines(0.001);
    ASSERT_EQ(EntitiesOf<TGeoPList>(Doc).size(), 1u);
    EXPECT_EQ(EntitiesOf<TGeoPList>(Doc)[0]->Polylines().Count(), 2);
    ExpectOneUndoStep(Doc, "weld into one", [&] {
        EntitiesOf<TGeoPList>(Doc)[0]->WeldPolylines(10);
        EXPECT_TRUE(EntitiesOf<TGeoPList>(Doc).empty());
        ASSERT_EQ(EntitiesOf<TGeoPline>(Doc).size(), 1u);
        // The shared end of the first two stands once.
        EXPECT_EQ(EntitiesOf<TGeoPline>(Doc)[0]->Polyline().Count(), 5);
    });
}

TEST_F(GPListTest, TheWeldToleranceMustBeANumber) {
    TGeoPList* List = AddList({{{0, 0, 0}, {1, 0, 0}}, {{1, 0, 0}, {2, 0, 0}}});
    std::string Answer;
    PolylineDialogs().InputQuery = [&](const std::string& Caption, const std::string& Prompt, std::string& Value) {
        EXPECT_EQ(Caption, "Weld Polylines with Tolerance");
        EXPECT_EQ(Prompt, "Max tolerance between lines:");
        EXPECT_EQ(Value, "0.001");
        Value = Answer;
        return true;
    };
    const std::string Before = SavedText(Doc);
    Answer = "tight";
    try {
        List->WeldPolylines();
        FAIL() << "no error";
    } catch (const EConvertError& E) {
        EXPECT_STREQ(E.what(), "Unable to convert text to number");
    }
    EXPECT_EQ(SavedText(Doc), Before);
    Answer = "0,01";
    List->WeldPolylines();
    EXPECT_EQ(EntitiesOf<TGeoPline>(Doc).size(), 1u);
}

TEST_F(GPListTest, SlicingReplacesTheListByItsTwoSides) {
    AddSections({-4, -2, 2, 4});
    ExpectOneUndoStep(Doc, "slice", [&] {
        EntitiesOf<TGeoPList>(Doc)[0]->Slice(TMPlane{{1, 0, 0}, 0}, false);
        const auto Lists = EntitiesOf<TGeoPList>(Doc);
        ASSERT_EQ(Lists.size(), 2u);
        EXPECT_EQ(Lists[0]->Polylines().Count(), 2);
        EXPECT_EQ(Lists[1]->Polylines().Count(), 2);
    });
}

TEST_F(GPListTest, WebFramesAndMeshesAreNewPolygonListsBesideTheSections) {
    TGeoPList* List = AddSections({0, 1, 2});
    for (const auto& [Depth, Thickness] : {std::pair{0.0, 0.01}, std::pair{0.3, 0.0}}) {
        List->GenerateWebFrames(Depth, Thickness);
        EXPECT_EQ(Doc.Count(), 1) << Depth << " " << Thickness;
    }
    // The dialog cancelled answers zeros.
    PlistDialogs().ShowWebFramesDialog = [] { return TWebFrameSize{}; };
    List->GenerateWebFrames();
    EXPECT_EQ(Doc.Count(), 1);
    List->GenerateWebFrames(0.3, 0.01);
    ASSERT_EQ(EntitiesOf<TGeoPGonlist>(Doc).size(), 1u);
    EXPECT_GT(EntitiesOf<TGeoPGonlist>(Doc)[0]->Facets().Count(), 0);

    PlistDialogs().ShowPolyMeshDialog = [] { return TPolyMeshOptions{0.5, 2.0, true, true, true}; };
    List->GeneratePolygonMesh();
    EXPECT_EQ(EntitiesOf<TGeoPGonlist>(Doc).size(), 1u);
    const TPolyMeshOptions Capped{0.5, 2.0, false, true, true};
    List->GeneratePolygonMesh(Capped);
    List->GeneratePolygonMesh(TPolyMeshOptions{0.5, 2.0, false, false, false});
    const auto Meshes = EntitiesOf<TGeoPGonlist>(Doc);
    ASSERT_EQ(Meshes.size(), 3u);
    EXPECT_GT(Meshes[1]->Facets().Count(), Meshes[2]->Facets().Count());
    EXPECT_EQ(EntitiesOf<TGeoPList>(Doc).size(), 1u);
}

TEST_F(GPListTest, TheSectionDialogWorksOnACopyAndOnlyOKChangesTheList) {
    TGeoPList* List = AddSections({0, 10, 20});
    bool Ok = false;
    PlistDialogs().ShowSectionSpacingDialog = [&](TPolylineList& Copy) {
        EXPECT_NE(&Copy, &List->Polylines());
        RespaceSections(5, Copy);
        return Ok;
    };
    List->ChangeSectionSpacing();
    EXPECT_EQ(List->Polylines().Count(), 3);
    Ok = true;
    ExpectOneUndoStep(Doc, "section spacing", [&] { List->ChangeSectionSpacing(); });
    List->ChangeSectionSpacing();
    EXPECT_EQ(List->Polylines().Count(), 5);
}

TEST_F(GPListTest, ConvertingToAPointCloudKeepsEveryPoint) {
    AddSections({0, 1});
    EntitiesOf<TGeoPList>(Doc)[0]->ConvertToPointCloud();
    ASSERT_EQ(Doc.Count(), 1);
    auto* Cloud = dynamic_cast<TGeoPointList*>(&Doc.Items(0));
    ASSERT_NE(Cloud, nullptr);
    EXPECT_EQ(Cloud->Cloud().Count(), 6);
}

TEST_F(GPListTest, PopupItemsFollowTheDisplayState) {
    TGeoPList* List = AddSections({0, 1});
    TMenuItem* Menu = List->PopupMenu();
    ASSERT_NE(Menu, nullptr);
    EXPECT_FALSE(Menu->Find("Extract Contours")->Enabled);
    EXPECT_TRUE(Menu->Find("Show Direction")->Enabled);
    ASSERT_NE(Menu->Find("Hull Section Sort"), nullptr);
    EXPECT_NE(Menu->Find("Hull Section Sort")->Find("By X Location && Define Section Start Point"), nullptr);
    // Without a GUI the dialog operations are not offered.
    EXPECT_FALSE(Menu->Find("Generate Web Frames...")->Enabled);
    Menu->Find("Show Compartment Outline")->Click();
    List->UpdateMenuItems(*Menu);
    EXPECT_TRUE(List->ShowAsCompartment());
    EXPECT_TRUE(Menu->Find("Show Compartment Outline")->Checked);
    EXPECT_FALSE(Menu->Find("Show Direction")->Enabled);
    EXPECT_NE(BlockOf(*List).find("ShowAsCompartment=TRUE\n"), std::string::npos);
}

TEST_F(GPListTest, TheSelectionMenuActsOnPolylineListsOnly) {
    TGeoPList* A = AddSections({0, 1});
    TGeoPList* B = AddSections({2, 3});
    TGeometry* Other = AddPline(Doc, {{0, 0, 0}, {1, 1, 1}});
    A->SetSelected(true);
    B->SetSelected(true);
    Other->SetSelected(true);
    TMenuItem Mixed;
    TGeoPList::AddSelectionMenuItems(Mixed, Doc);
    EXPECT_EQ(Mixed.Count(), 0);

    Other->SetSelected(false);
    TMenuItem Menu;
    TGeoPList::AddSelectionMenuItems(Menu, Doc);
    ASSERT_NE(Menu.Find("Show as Compartments"), nullptr);
    Menu.Find("Show as Compartments")->Click();
    EXPECT_TRUE(A->ShowAsCompartment() && B->ShowAsCompartment());
    Menu.Find("Show Polyline Directions")->Click();
    EXPECT_TRUE(A->GetShowDirection() && B->GetShowDirection());
    Doc.GetUndoManager().Clear();
    Menu.Find("Explode All Polylists")->Click();
    EXPECT_TRUE(EntitiesOf<TGeoPList>(Doc).empty());
    EXPECT_EQ(EntitiesOf<TGeoPline>(Doc).size(), 5u);
    Doc.Undo();
    EXPECT_EQ(EntitiesOf<TGeoPList>(Doc).size(), 2u);
}

TEST_F(GPListTest, ThePolygonRepresentationSkinsTheSortedSections) {
    TGeoPList* List = AddSections({2, 0, 1});
    List->Polylines().Add(std::make_unique<TPolyline>());
    std::vector<std::string> Lines;
    const auto Saved = GConsole->OnLine;
    GConsole->OnLine = [&](const std::string& Line) { Lines.push_back(Line); };
    const auto Facets = List->CreatePolygonRepresentation(4);
    GConsole->OnLine = Saved;
    ASSERT_NE(Facets, nullptr);
    ASSERT_GT(Facets->Count(), 0);
    for (int I = 0; I < Facets->Count(); ++I) EXPECT_EQ(Facets->Polygon(I)->CornerCount(), 3);
    EXPECT_EQ(Lines, std::vector<std::string>{"  Creating Polygon Representation of TGeoPList.L..."});
}

TEST_F(GPListTest, TheCompartmentOutlineFollowsTheSectionsAndHidesWhileEditing) {
    TGeoPList* List = AddSections({0, 1, 2});
    TCompartmentRepresentation& Outline = List->CompartmentRepresentation();
    EXPECT_FALSE(Outline.CanDraw());
    List->SetShowAsCompartment(true);
    Outline.Update();
    ASSERT_NE(Outline.GetPolylines(), nullptr);
    // The end sections and at least the lines along the keel and the deck edge.
    ASSERT_GE(Outline.GetPolylines()->Count(), 4);
    const TMBox Before = Outline.GetPolylines()->Extents();
    EXPECT_EQ(Before.Min.X, 0);
    EXPECT_EQ(Before.Max.X, 2);
    List->Transform(MatrixTranslation(5, 0, 0));
    Outline.Update();
    EXPECT_EQ(Outline.GetPolylines()->Extents().Min.X, 5);
    // The sections themselves are untouched by the outline's knuckle marks.
    EXPECT_EQ(List->Polylines().Items(0)->Point(1)->Tag, 0);
    List->SetSelected(true);
    List->SetEditing(true);
    EXPECT_FALSE(Outline.CanDraw());
}

TEST_F(GPListTest, AListInOnePlaneIsNoEmptyEntity) {
    TGeoPList* List = AddSections({3});
    List->CloseHull();
    ASSERT_EQ(EntitiesOf<TGeoPList>(Doc).size(), 1u);
    EXPECT_EQ(List->Polylines().Items(0)->Count(), 4);
}

// ---- Conversions into the list ----

TEST_F(GPListTest, CalculationSectionsOfAWigleyMeshGiveItsHydrostatics) {
    const double L = 100, B = 10, T = 6.25;
    auto* Mesh = static_cast<TGeoPGonlist*>(Doc.Add(std::make_unique<TGeoPGonlist>()));
    Mesh->Facets().Assign(*WigleyHull(L, B, T, 203, 50));
    Mesh->CreateCalculationSections();
    const auto Lists = EntitiesOf<TGeoPList>(Doc);
    ASSERT_EQ(Lists.size(), 1u);
    THydrostaticsData R;
    ResetHydrostatics(R);
    Lists[0]->Polylines().HydrostaticSummary(WaterplaneAtDraught(T), R);
    EXPECT_NEAR(R.Volume, 4 * L * B * T / 9, 0.005 * 4 * L * B * T / 9);
    for (double K : {R.CWP, R.CM, R.CP}) EXPECT_NEAR(K, 2.0 / 3, 0.01 * 2 / 3);
}

TEST_F(GPListTest, AMeshExplodesIntoAListOfItsLines) {
    struct TCase {
        void (TGeoMesh::*Explode)();
        int Lines;
    };
    for (const TCase& C : {TCase{&TGeoMesh::ExplodeULines, 4}, TCase{&TGeoMesh::ExplodeVLines, 4},
                           TCase{&TGeoMesh::ExplodeUVLines, 8}}) {
        TGeometryInterface One;
        auto Net = std::make_unique<TGeoMesh>();
        for (int I = 0; I < 4; ++I)
            for (int J = 0; J < 4; ++J) Net->Net().Point(I, J).SetVector({double(I), double(J), double(I * J)});
        auto* Mesh = static_cast<TGeoMesh*>(One.Add(std::move(Net)));
        (Mesh->*C.Explode)();
        ASSERT_EQ(One.Count(), 1);
        auto* List = dynamic_cast<TGeoPList*>(&One.Items(0));
        ASSERT_NE(List, nullptr);
        EXPECT_EQ(List->Polylines().Count(), C.Lines);
    }
}

TEST_F(GPListTest, AMeshSurfaceGivesCalculationSections) {
    auto Net = std::make_unique<TGeoMesh>();
    // Half a box section from the keel to the deck edge, along x.
    for (int I = 0; I < 4; ++I)
        for (int J = 0; J < 4; ++J)
            Net->Net().Point(I, J).SetVector({4.0 * I, J == 0 ? 0.0 : 2.0, J < 2 ? 0.0 : J - 1.0});
    auto* Mesh = static_cast<TGeoMesh*>(Doc.Add(std::move(Net)));
    Mesh->CreateCalculationSections();
    ASSERT_EQ(EntitiesOf<TGeoPList>(Doc).size(), 1u);
    EXPECT_GT(EntitiesOf<TGeoPList>(Doc)[0]->Polylines().Count(), 2);
}

}  // namespace
}  // namespace sarnova::test
