// Editing a polygon list: shared points, picking facets and corners, dragging, inserting and deleting
// corners, merging, splitting and moving facets, and the creator that draws facets.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <vector>

#include "EntityFixtures.h"
#include "document/GCreator.h"
#include "entities/GGonList.h"
#include "entities/GGonListPoints.h"
#include "entities/GPolygonCreator.h"
#include "foundation/GeomFacet.h"
#include "foundation/Keys.h"

namespace sarnova::test {
namespace {

std::vector<TMVector> CornersOf(const TPolygon& F) {
    std::vector<TMVector> Result;
    for (int C = 0; C < F.CornerCount(); ++C) Result.push_back(F.Corner(C)->Vector());
    return Result;
}

// The shared points as (corner count, position) for comparing two builds.
std::vector<std::pair<int, TMVector>> Rows(const TSharedPointList& L) {
    std::vector<std::pair<int, TMVector>> Result;
    for (int K = 0; K < L.Count(); ++K) Result.push_back({L.Items(K).Count(), L.Items(K).Position()});
    return Result;
}

TEST(SharedPoints, CornersWithinTheToleranceShareTheFirstMatchingPoint) {
    const struct {
        double Offset;
        int Count;
    } Cases[] = {{0, 3}, {1e-11, 3}, {-1e-11, 3}, {1e-9, 5}, {-1e-9, 5}};
    for (auto [Offset, Count] : Cases) {
        TPolygonList Facets;
        Facets.Add(TriangleFromVectors({0, 0, 0}, {1, 0, 0}, {0, 1, 0}));
        Facets.Add(TriangleFromVectors({1 + Offset, 0, 0}, {0, 1, Offset}, {0, 0, 0}));
        for (int I = 0; I < 2; ++I) Facets.Polygon(I)->SetSelected(true);
        TSharedPointList Shared;
        Shared.Build(Facets);
        EXPECT_EQ(Shared.Count(), Count) << Offset;
        // The stored position is the first corner's, whoever joins later.
        EXPECT_EQ(Shared.Items(1).Position(), (TMVector{1, 0, 0})) << Offset;
    }
}

TEST(SharedPoints, TheHashedBuildMatchesTheOneByOneRule) {
    // Positions that straddle bucket borders, lie far out, or are not numbers at all.
    const double Inf = std::numeric_limits<double>::infinity();
    const double NaN = std::numeric_limits<double>::quiet_NaN();
    const std::vector<TMVector> Places = {
        {0, 0, 0},          {1e-6 - 2e-11, 0, 0}, {1e-6 + 2e-11, 0, 0}, {1e-6, 5e-11, -5e-11}, {-1e-6, 0, 0},
        {-1e-6 + 5e-11, 0, 0}, {3e13, 1, 2},        {3e13, 1, 2},         {Inf, 0, 0},          {Inf, 0, 0},
        {NaN, 0, 0},        {NaN, 0, 0},          {2.5, -7.25, 1e-12},  {2.5, -7.25, 0},      {1e-6, 0, 0}};
    TPolygonList Facets;
    for (std::size_t I = 0; I + 2 < Places.size(); I += 2) {
        Facets.Add(TriangleFromVectors(Places[I], Places[I + 1], Places[I + 2]));
        Facets.Polygon(Facets.Count() - 1)->SetSelected(true);
    }
    Facets.Add(TriangleFromVectors({9, 9, 9}, {8, 8, 8}, {7, 7, 7}));  // not selected: left out
    TSharedPointList Hashed;
    Hashed.Build(Facets);
    TSharedPointList OneByOne;
    for (int I = 0; I < Facets.Count(); ++I)
        if (TFacetRef F = Facets.Polygon(I); F.GetSelected())
            for (int C = 0; C < 3; ++C) OneByOne.AddCorner({&Facets, I, C});
    const auto A = Rows(Hashed), B = Rows(OneByOne);
    ASSERT_EQ(A.size(), B.size());
    for (std::size_t K = 0; K < A.size(); ++K) {
        EXPECT_EQ(A[K].first, B[K].first) << K;
        EXPECT_EQ(std::memcmp(&A[K].second, &B[K].second, sizeof(TMVector)), 0) << K;
        for (int C = 0; C < A[K].first; ++C) EXPECT_EQ(Hashed.Items(int(K)).Items(C), OneByOne.Items(int(K)).Items(C));
    }
}

// A square of two triangles in z = 0 sharing the edge (4, 0) - (0, 4); in the fake view the world
// point (x, y) is pixel (100 + 10 x, 100 - 10 y).
class GGonListEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterEntityClasses();
        Doc.SetProjectOptions(0);
        Doc.View = &View;
    }
    void TearDown() override {
        Doc.SetEditedGeometry(nullptr);
        Doc.View = nullptr;
    }

    TGeoPGonlist* AddSquare() {
        auto Entity = std::make_unique<TGeoPGonlist>();
        Entity->Facets().Add(TriangleFromVectors({0, 0, 0}, {4, 0, 0}, {0, 4, 0}));
        Entity->Facets().Add(TriangleFromVectors({4, 0, 0}, {4, 4, 0}, {0, 4, 0}));
        return static_cast<TGeoPGonlist*>(Doc.Add(std::move(Entity)));
    }
    TGeoPGonlist* EditSquare() {
        TGeoPGonlist* List = AddSquare();
        Doc.SetEditedGeometry(List);
        EXPECT_EQ(View.Editor, List);
        return List;
    }
    // Presses and releases the left button at the world point (x, y) with Shift.
    void Click(double X, double Y, TShiftState Shift = 0) {
        const TPoint P = Px(X, Y);
        View.Press(mbLeft, P.X, P.Y, Shift);
        View.Release(mbLeft, P.X, P.Y, Shift);
    }
    std::vector<bool> Selection(const TGeoPGonlist& List) const {
        std::vector<bool> Result;
        for (int I = 0; I < List.Facets().Count(); ++I) Result.push_back(List.Facets().Polygon(I)->GetSelected());
        return Result;
    }
    std::vector<TGeoPGonlist*> Lists() const { return EntitiesOf<TGeoPGonlist>(Doc); }

    TTestSettings TestSettings;
    TFakeView View;
    TGeometryInterface Doc;
};

TEST_F(GGonListEditTest, ClicksSelectFacetsAndCtrlTogglesOne) {
    TGeoPGonlist* List = EditSquare();
    TSelectAction Action = saDoNothing;
    List->SelectPoint(View, Px(1, 1).X, Px(1, 1).Y, 0, Action);
    EXPECT_EQ(Action, saDoNothing);
    EXPECT_EQ(Selection(*List), (std::vector<bool>{true, false}));
    EXPECT_TRUE(List->HasCapability(cpInsertPointKey)) << "one selected triangle";
    Click(3, 3, ssCtrl);
    EXPECT_EQ(Selection(*List), (std::vector<bool>{true, true}));
    EXPECT_FALSE(List->HasCapability(cpInsertPointKey));
    Click(1, 1, ssCtrl);
    EXPECT_EQ(Selection(*List), (std::vector<bool>{false, true}));
    Click(3, 3);
    EXPECT_EQ(Selection(*List), (std::vector<bool>{false, true}));
    // A plain click on empty space deselects everything and asks for a rubber band.
    List->SelectPoint(View, Px(20, 20).X, Px(20, 20).Y, 0, Action);
    EXPECT_EQ(Action, saDragRectangle);
    EXPECT_EQ(Selection(*List), (std::vector<bool>{false, false}));
    EXPECT_EQ(List->SharedPoints().Count(), 0);

    // A rectangle selects every facet with a corner inside it.
    List->SelectRect(View, {Px(3.5, 0).X, Px(0, 4.5).Y, Px(4.5, 0).X, Px(0, 3.5).Y}, 0);
    EXPECT_EQ(Selection(*List), (std::vector<bool>{false, true}));
    List->SelectRect(View, {Px(-0.5, 0).X, Px(0, 0.5).Y, Px(0.5, 0).X, Px(0, -0.5).Y}, ssCtrl);
    EXPECT_EQ(Selection(*List), (std::vector<bool>{true, true}));
    List->SelectAllPoints();
    EXPECT_EQ(List->SharedPoints().Count(), 4);
    Doc.SetEditedGeometry(nullptr);
    EXPECT_EQ(Selection(*List), (std::vector<bool>{false, false}));
    EXPECT_EQ(List->SharedPoints().Count(), 0);
}

TEST_F(GGonListEditTest, TwoTrianglesOnAnEdgeShowFourSharedPointsAndAnEditMovesBoth) {
    TGeoPGonlist* List = EditSquare();
    List->SelectAllPoints();
    const TSharedPointList& Shared = List->SharedPoints();
    ASSERT_EQ(Shared.Count(), 4);
    EXPECT_EQ(Rows(Shared), (std::vector<std::pair<int, TMVector>>{
                                {1, {0, 0, 0}}, {2, {4, 0, 0}}, {2, {0, 4, 0}}, {1, {4, 4, 0}}}));
    ExpectOneUndoStep(Doc, "coordinate", [&] { List->SetSharedCoordinate(1, 0, 5); });
    List = Lists()[0];
    List->SelectAllPoints();
    List->SetSharedCoordinate(1, 0, 5);
    EXPECT_EQ(List->Facets().Polygon(0)->Corner(1)->X, 5);
    EXPECT_EQ(List->Facets().Polygon(1)->Corner(0)->X, 5);
    List->FillSharedCoordinate(2, -1);
    for (int I = 0; I < 2; ++I)
        for (const TMVector& P : CornersOf(*List->Facets().Polygon(I))) EXPECT_EQ(P.Z, -1);

    // Rows picked in the frame select their corners.
    List->SelectSharedPoints(1, 2);
    EXPECT_EQ(CornersOf(*List->Facets().Polygon(0)).size(), 3u);
    for (int I = 0; I < 2; ++I) {
        const TFacetRef F = List->Facets().Polygon(I);
        for (int C = 0; C < 3; ++C) {
            const bool OnEdge = F.Corner(C)->X == 5 || (F.Corner(C)->Y == 4 && F.Corner(C)->X == 0);
            EXPECT_EQ(F.CornerMarked(C), OnEdge) << I << " " << C;
        }
    }
}

TEST_F(GGonListEditTest, ACornerClickPicksEveryCoincidentCornerAndTheDragMovesThemAsOneStep) {
    TGeoPGonlist* List = EditSquare();
    List->SelectAllPoints();
    Doc.GetUndoManager().Clear();
    const TPoint From = Px(4, 0);
    const TPoint To = Px(5, 1);
    View.Press(mbLeft, From.X + 2, From.Y - 2);
    ASSERT_EQ(List->SelectedPoints().Count(), 2);
    EXPECT_EQ(List->GetPointCount(), 2);
    View.Move(To.X + 2, To.Y - 2);
    View.Release(mbLeft, To.X + 2, To.Y - 2);
    EXPECT_EQ(CornersOf(*List->Facets().Polygon(0))[1], (TMVector{5, 1, 0}));
    EXPECT_EQ(CornersOf(*List->Facets().Polygon(1))[0], (TMVector{5, 1, 0}));
    // The views see the picked corners as the entity's points; unselecting one there unmarks it.
    TPointInfo& Info = List->PointInfo(1, nullptr);
    EXPECT_EQ(Info.GetPoint(), (TMVector{5, 1, 0}));
    EXPECT_TRUE(Info.IsSelected() && Info.IsVisible());
    Info.SetSelected(false);
    EXPECT_FALSE(List->PointInfo(1, nullptr).IsSelected());
    EXPECT_EQ(int(List->Facets().Polygon(0)->CornerMarked(1)) + int(List->Facets().Polygon(1)->CornerMarked(0)), 1);
    EXPECT_FALSE(List->PointInfo(2, nullptr).IsVisible());
    Doc.SetEditedGeometry(nullptr);
    Doc.Undo();
    EXPECT_EQ(CornersOf(*Lists()[0]->Facets().Polygon(0))[1], (TMVector{4, 0, 0}));
    EXPECT_FALSE(Doc.CanUndo());
}

TEST_F(GGonListEditTest, DeleteTakesOneQuadrilateralCornerOrTheSelectedFacets) {
    // Facets: a quadrilateral and two triangles; for each case the facets selected and the corners
    // marked in them, and the corner counts left.
    const struct {
        std::vector<std::vector<int>> Marked;  // per facet: -1 not selected, else marked corners
        std::vector<int> Left;
    } Cases[] = {
        {{{2}, {-1}, {}}, {3, 3, 3}},          // one corner of the quadrilateral: a triangle
        {{{-1}, {0}, {}}, {4}},                // a triangle's corner: every selected facet goes
        {{{}, {0, 1}, {-1}}, {4, 3, 3}},       // two corners in one facet: nothing
        {{{1}, {}, {2}}, {4, 3, 3}},           // a quadrilateral's corner, then another marked corner
        {{{}, {-1}, {-1}}, {3, 3}},            // a selected facet without marks goes
    };
    for (const auto& Case : Cases) {
        TGeometryInterface D;
        auto Entity = std::make_unique<TGeoPGonlist>();
        Entity->Facets().Add(QuadFromVectors({0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}));
        Entity->Facets().Add(TriangleFromVectors({5, 0, 0}, {6, 0, 0}, {5, 1, 0}));
        Entity->Facets().Add(TriangleFromVectors({7, 0, 0}, {8, 0, 0}, {7, 1, 0}));
        auto* List = static_cast<TGeoPGonlist*>(D.Add(std::move(Entity)));
        D.SetEditedGeometry(List);
        for (std::size_t I = 0; I < Case.Marked.size(); ++I) {
            TFacetRef F = List->Facets().Polygon(int(I));
            F.SetSelected(Case.Marked[I] != std::vector<int>{-1});
            for (int C : Case.Marked[I])
                if (C >= 0) F.SetCornerMarked(C, true);
        }
        List->DeleteSelectedPoints();
        std::vector<int> Left;
        for (int I = 0; I < List->Facets().Count(); ++I) Left.push_back(List->Facets().Polygon(I)->CornerCount());
        EXPECT_EQ(Left, Case.Left);
        EXPECT_EQ(List->SelectedPoints().Count(), 0);
        D.SetEditedGeometry(nullptr);
    }
}

TEST_F(GGonListEditTest, MergeSplitAndDeleteLeaveNoPickedCornerBehind) {
    const struct {
        const char* What;
        TKeyCode Key;
        TShiftState Shift;
        std::vector<int> Corners;
    } Cases[] = {{"merge", 'M', ssCtrl, {3, 4}},
                 {"split", 'K', ssCtrl, {3, 3, 3, 3, 3, 3, 3}},
                 {"delete", VK_DELETE, 0, {3}}};
    for (const auto& Case : Cases) {
        Doc.SetEditedGeometry(nullptr);
        while (Doc.Count() > 0) Doc.DeleteGeometry(&Doc.Items(0));
        TGeoPGonlist* List = AddSquare();
        // A triangle apart that stays unselected.
        List->Facets().Add(TriangleFromVectors({10, 0, 0}, {11, 0, 0}, {10, 1, 0}));
        Doc.SetEditedGeometry(List);
        Click(1, 1);
        Click(3, 3, ssCtrl);
        // The shared corner (4, 0) picked in both triangles (so Delete removes both facets).
        Click(4, 0);
        ASSERT_EQ(List->SelectedPoints().Count(), 2) << Case.What;
        Doc.GetUndoManager().Clear();
        View.KeyDown(Case.Key, Case.Shift);
        std::vector<int> Corners;
        for (int I = 0; I < List->Facets().Count(); ++I) Corners.push_back(List->Facets().Polygon(I)->CornerCount());
        EXPECT_EQ(Corners, Case.Corners) << Case.What;
        EXPECT_EQ(List->SelectedPoints().Count(), 0) << Case.What;
        EXPECT_EQ(List->GetPoint(0), nullptr) << Case.What;
        // The arrow keys find nothing to move (one more, empty, step).
        View.KeyDown(VK_RIGHT);
        View.KeyUp(VK_RIGHT);
        Doc.SetEditedGeometry(nullptr);
        Doc.Undo();
        Doc.Undo();
        EXPECT_EQ(Lists()[0]->Facets().Count(), 3) << Case.What;
    }
}

TEST_F(GGonListEditTest, FacetsReplacedAsAWholeDropThePickedCornersAndRebuildTheSharedPoints) {
    TGeoPGonlist* List = EditSquare();
    const std::function<void()> Replacements[] = {
        [&] { List->ConvertToTriangles(); },
        [&] { List->Transform(MatrixTranslation(0, 0, 1)); },
        [&] {
            Doc.Undo();
            Doc.SetEditedGeometry(List);
        }};
    for (const auto& Replace : Replacements) {
        List->SelectAllPoints();
        Click(4, 0);
        ASSERT_EQ(List->SelectedPoints().Count(), 2);
        Replace();
        EXPECT_EQ(List->SelectedPoints().Count(), 0);
        EXPECT_EQ(List->SharedPoints().Count(), List->Editing() ? 4 : 0);
        if (List->SharedPoints().Count() > 0) {
            EXPECT_EQ(List->SharedPoints().Items(0).Items(0), (TCornerRef{&List->Facets(), 0, 0}));
        }
    }
}

TEST_F(GGonListEditTest, MergeNeedsTwoFacetsOnAnEdgeAndSplitKeepsTheArea) {
    TGeoPGonlist* List = EditSquare();
    List->Facets().Add(TriangleFromVectors({10, 0, 0}, {11, 0, 0}, {10, 1, 0}));
    Click(1, 1);
    Click(10.2, 0.2, ssCtrl);
    EXPECT_FALSE(List->CanMerge());
    View.KeyDown('M', ssCtrl);
    List->MergeSelected();
    EXPECT_EQ(List->Facets().Count(), 3);
    Click(1, 1);
    Click(3, 3, ssCtrl);
    ASSERT_TRUE(List->CanMerge());
    View.KeyDown('M', ssCtrl);
    ASSERT_EQ(List->Facets().Count(), 2);
    const TFacetRef Merged = List->Facets().Polygon(1);
    EXPECT_EQ(Merged.CornerCount(), 4);
    EXPECT_DOUBLE_EQ(Merged.Area(), 16);
    EXPECT_EQ(PolygonNormal(Merged), (TMVector{0, 0, 1}));

    // The quadrilateral into two, the triangle into three; the new facets at the end.
    List->SelectAllPoints();
    View.KeyDown('K', ssCtrl);
    ASSERT_EQ(List->Facets().Count(), 5);
    double Area = 0;
    for (int I = 0; I < 5; ++I) Area += List->Facets().Polygon(I)->Area();
    EXPECT_DOUBLE_EQ(Area, 16.5);
    EXPECT_EQ(List->Facets().SelectedCount(), 0);
    EXPECT_EQ(List->SharedPoints().Count(), 0);
}

TEST_F(GGonListEditTest, InsertModeAddsTheCornerOnTheNearestEdgeOfTheSelectedTriangle) {
    TGeoPGonlist* List = EditSquare();
    Click(1, 1);
    const TPoint Near = Px(2, 0.3);
    View.Move(Near.X, Near.Y);
    View.Drawn.clear();
    View.KeyDown('A');
    // The preview: two yellow lines to the new place, under the mouse at the edge's depth, and its
    // handle.
    std::vector<std::string> Names;
    for (const TFakeDraw& D : View.Drawn) Names.push_back(D.Name);
    ASSERT_EQ(Names, (std::vector<std::string>{"SetLineColor", "Line", "Line", "EditHandle"}));
    EXPECT_EQ(View.Drawn[1].Color, clYellow);
    ExpectNear(View.Drawn[3].Points.at(0), {2, 0.3, 0});
    Doc.GetUndoManager().Clear();
    View.Press(mbLeft, Near.X, Near.Y);
    View.Release(mbLeft, Near.X, Near.Y);
    View.KeyUp('A');
    const std::vector<TMVector> Corners = CornersOf(*List->Facets().Polygon(0));
    ASSERT_EQ(Corners.size(), 4u);
    ExpectNear(Corners[1], {2, 0.3, 0});
    EXPECT_EQ(Corners[2], (TMVector{4, 0, 0}));
    EXPECT_EQ(List->SharedPoints().Count(), 4);
    Doc.SetEditedGeometry(nullptr);
    Doc.Undo();
    EXPECT_EQ(Lists()[0]->Facets().Polygon(0)->CornerCount(), 3);

    // Nearest the closing edge the corner goes last.
    Doc.SetEditedGeometry(Lists()[0]);
    List = Lists()[0];
    Click(1, 1);
    List->InsertPointClick(Px(0.2, 2), 0, View);
    ExpectNear(CornersOf(*List->Facets().Polygon(0)).at(3), {0.2, 2, 0});
    // With two facets selected nothing is inserted.
    Click(3, 3, ssCtrl);
    List->InsertPointClick(Px(2, 0.2), 0, View);
    EXPECT_EQ(List->Facets().Polygon(0)->CornerCount(), 4);
}

TEST_F(GGonListEditTest, MovingFacetsToANewListIsOneStepAndNeedsSomeButNotAll) {
    TGeoPGonlist* List = EditSquare();
    List->SelectAllPoints();
    List->MoveToNewPolygonList();
    EXPECT_EQ(Doc.Count(), 1);
    Click(3, 3);
    ExpectOneUndoStep(Doc, "move", [&] { List->MoveToNewPolygonList(); });
    Doc.SetEditedGeometry(Lists()[0]);
    Click(3, 3);
    Lists()[0]->MoveToNewPolygonList();
    ASSERT_EQ(Lists().size(), 2u);
    EXPECT_EQ(CornersOf(*Lists()[0]->Facets().Polygon(0))[1], (TMVector{4, 0, 0}));
    EXPECT_EQ(Lists()[0]->Facets().Count(), 1);
    EXPECT_EQ(CornersOf(*Lists()[1]->Facets().Polygon(0))[1], (TMVector{4, 4, 0}));
}

TEST_F(GGonListEditTest, SnapsOfferTheCornersThatAreNotDragged) {
    TGeoPGonlist* List = EditSquare();
    List->SelectAllPoints();
    View.Press(mbLeft, Px(4, 0).X, Px(4, 0).Y);
    View.Release(mbLeft, Px(4, 0).X, Px(4, 0).Y);
    TDragPoints Asker;
    const auto SnapNear = [&](double X, double Y) {
        TGeometrySnapInfo Request(Px(X, Y), &View, &Asker, {X, Y, 0});
        List->AddSnapPoints(Request);
        return Request;
    };
    EXPECT_FALSE(SnapNear(0.2, 4.1).Found()) << "polygon-list snaps switched off";
    TestSettings->SnapOptions.set(stPolygonList);
    const TGeometrySnapInfo AtCorner = SnapNear(0.2, 4.1);
    ASSERT_TRUE(AtCorner.Found());
    EXPECT_EQ(AtCorner.BestKind, stPolygonList);
    EXPECT_EQ(AtCorner.BestPoint, (TMVector{0, 4, 0}));
    EXPECT_FALSE(SnapNear(4.1, 0.1).Found()) << "the picked corners snap to nothing of their own";
}

// ---- The creator ----

TEST_F(GGonListEditTest, FourClicksMakeAQuadrilateralAndThreeAndARightClickATriangle) {
    TGeoPolygonCreator& Creator = static_cast<TGeoPolygonCreator&>(
        RunCreator(std::make_unique<TGeoPolygonCreator>(Doc, nullptr), View));
    for (auto [X, Y] : {std::pair{0.0, 0.0}, {4.0, 0.0}, {4.0, 4.0}, {0.0, 4.0}}) ClickAt(View, mbLeft, X, Y);
    ASSERT_EQ(Lists().size(), 1u);
    TGeoPGonlist* List = Lists()[0];
    ASSERT_EQ(List->Facets().Count(), 1);
    EXPECT_EQ(CornersOf(*List->Facets().Polygon(0)),
              (std::vector<TMVector>{{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}}));
    EXPECT_EQ(Creator.GetPhase(), 0);

    for (auto [X, Y] : {std::pair{5.0, 0.0}, {6.0, 0.0}, {5.0, 1.0}}) ClickAt(View, mbLeft, X, Y);
    ClickAt(View, mbRight, 9, 9);
    ASSERT_EQ(List->Facets().Count(), 2);
    EXPECT_EQ(CornersOf(*List->Facets().Polygon(1)), (std::vector<TMVector>{{5, 0, 0}, {6, 0, 0}, {5, 1, 0}}));

    // A right click after two points drops them and keeps the tool; the next one ends it.
    ClickAt(View, mbLeft, 7, 0);
    ClickAt(View, mbLeft, 8, 0);
    ClickAt(View, mbRight, 8, 1);
    EXPECT_EQ(List->Facets().Count(), 2);
    EXPECT_EQ(View.Editor != nullptr, true);
    EXPECT_FALSE(Creator.HasEnded());
    ClickAt(View, mbRight, 8, 1);
    EXPECT_EQ(View.Editor, nullptr);
    EXPECT_EQ(RunningCreatorCount(), 0);
    EXPECT_FALSE(List->Editing());
}

TEST_F(GGonListEditTest, ACreatorEndedBeforeAnyFacetMakesNoEntity) {
    RunCreator(std::make_unique<TGeoPolygonCreator>(Doc, nullptr), View);
    ClickAt(View, mbLeft, 1, 1);
    ClickAt(View, mbLeft, 2, 1);
    View.KeyPress(27);
    View.KeyPress(27);
    EXPECT_EQ(View.Editor, nullptr);
    EXPECT_EQ(Doc.Count(), 0);

    // The Create menu offers it.
    TMenuItem Menu;
    TGeoPGonlist::AddCreateMenuItems(Menu, Doc);
    ASSERT_NE(Menu.Find("Polygons"), nullptr);
    EXPECT_EQ(Menu.Find("Polygons")->ImageIndex, TGeoPGonlist::GetImageIndex());
    Menu.Find("Polygons")->Click();
    EXPECT_EQ(RunningCreatorCount(), 1);
    EXPECT_NE(View.Editor, nullptr);
    View.KeyPress(27);
    EXPECT_EQ(RunningCreatorCount(), 0);
}

TEST_F(GGonListEditTest, AddPolygonsUndoesFacetByFacetAndEditsTheListAgain) {
    TGeoPGonlist* List = EditSquare();
    List->PopupMenu();
    EXPECT_TRUE(List->PopupMenu()->Find("Add Polygons")->Enabled);
    Doc.GetUndoManager().Clear();
    ClickPopupItem(*List, "Add Polygons");
    EXPECT_NE(View.Editor, List);
    EXPECT_FALSE(List->Editing());
    for (auto [X, Y] : {std::pair{5.0, 0.0}, {6.0, 0.0}, {5.0, 1.0}}) ClickAt(View, mbLeft, X, Y);
    ClickAt(View, mbRight, 9, 9);
    for (auto [X, Y] : {std::pair{7.0, 0.0}, {8.0, 0.0}, {8.0, 1.0}, {7.0, 1.0}}) ClickAt(View, mbLeft, X, Y);
    EXPECT_EQ(List->Facets().Count(), 4);
    EXPECT_EQ(List->GetExtents().Max.X, 8) << "the extents follow each facet";
    ClickAt(View, mbRight, 9, 9);
    EXPECT_EQ(View.Editor, List);
    EXPECT_TRUE(List->Editing());
    EXPECT_EQ(Doc.Count(), 1);
    Doc.Undo();
    EXPECT_EQ(Lists()[0]->Facets().Count(), 3);
    Doc.Undo();
    EXPECT_EQ(Lists()[0]->Facets().Count(), 2);
    EXPECT_FALSE(Doc.CanUndo());
}

}  // namespace
}  // namespace sarnova::test
