// The plane's cuts: the crossings of the curves, the lines across the surfaces, the curves made from
// the crossings, the cut of one selected surface and the projection of one selected curve.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "PlaneFixtures.h"
#include "naval/GPList.h"
#include "document/GBSpline.h"
#include "document/GCBSpline.h"
#include "document/GeometryClasses.h"
#include "entities/PlaneProjectionDlg.h"
#include "foundation/Errors.h"
#include "foundation/GeomBox.h"
#include "foundation/Polygon.h"

namespace sarnova::test {
namespace {

// A surface of the test: flat squares in z = 0, two units wide, at the given x offsets.
class TFakeSurface : public TGeometry {
public:
    explicit TFakeSurface(std::vector<double> AOffsets = {0}) : Offsets(std::move(AOffsets)) {}
    const TGeometryClass& GetClass() const override { return GeometryClassOf<TFakeSurface>(); }
    std::uint8_t GetSelectionType() override { return hgSurface; }
    TMBox CalculateExtents() override { return Facets()->Extents(); }
    std::unique_ptr<TPolygonList> CreatePolygonRepresentation(std::uint8_t Purpose) override {
        Purposes.push_back(Purpose);
        return Facets();
    }
    std::unique_ptr<TPolygonList> Facets() const {
        auto List = std::make_unique<TPolygonList>();
        for (double X : Offsets) {
            auto F = std::make_unique<TPolygon>(1);
            const TMVector Corners[] = {{X, 0, 0}, {X + 2, 0, 0}, {X + 2, 2, 0}, {X, 2, 0}};
            for (int I = 0; I < 4; ++I) F->SetCorner(I, TRPoint(Corners[I]));
            List->Add(std::move(F));
        }
        return List;
    }

    std::vector<double> Offsets;
    std::vector<int> Purposes;
};

void ExpectPoints(const TPolyline& P, const std::vector<TMVector>& Expected) {
    ASSERT_EQ(P.Count(), static_cast<int>(Expected.size()));
    for (int I = 0; I < P.Count(); ++I) ExpectNear(P.Point(I)->Vector(), Expected[static_cast<std::size_t>(I)]);
}

// The plane x = 1 in the document of the fixture, whose line crosses it at (1, 1, 1.2).
class PlaneIntersectTest : public PlaneDocumentTest {
protected:
    void SetUp() override {
        PlaneDocumentTest::SetUp();
        Plane->SetPlaneMode(pmX);
        Plane->SetOffset(1);
    }
    void TearDown() override { PlaneProjectionDialog() = nullptr; }

    TFakeSurface* AddSurface(std::vector<double> Offsets = {0}) {
        return static_cast<TFakeSurface*>(Doc.Add(std::make_unique<TFakeSurface>(std::move(Offsets))));
    }
    void SelectOnly(std::initializer_list<TGeometry*> Entities) {
        Doc.ClearSelection();
        for (TGeometry* G : Entities) G->SetSelected(true);
    }
};

TEST_F(PlaneIntersectTest, CrossingsAreCleanedOfRepeatsInARowThenSorted) {
    AddPline(Doc, {{0, 0, 0}, {2, 0, 0}}, "A");
    AddPline(Doc, {{0, 5, 0}, {2, 5, 0}, {0, 6, 0}}, "B");
    // Its crossing repeats B's last one: dropped.
    AddPline(Doc, {{2, 5.5, 0}, {0, 5.5, 0}}, "C");
    // Its crossing repeats A's, but not in a row: both stay, side by side after the sort.
    AddPline(Doc, {{0, 0, 0}, {2, 0, 0}}, "D");
    Plane->SetSortAxis(1);
    Plane->SetShowCurveIntersections(true);
    ExpectPoints(Plane->CurveIntersections(), {{1, 0, 0}, {1, 0, 0}, {1, 1, 1.2}, {1, 5, 0}, {1, 5.5, 0}});

    // Sorted along z; a hidden curve drops out at the next recalculation.
    Plane->SetSortAxis(2);
    EXPECT_NEAR(Plane->CurveIntersections().Last()->Z, 1.2, 1e-12);
    Line->SetDisplayState(dsHidden);
    Plane->RefreshIntersections();
    EXPECT_EQ(Plane->CurveIntersections().Count(), 4);
    for (int I = 0; I < 4; ++I) EXPECT_EQ(Plane->CurveIntersections().Point(I)->Z, 0);
}

TEST_F(PlaneIntersectTest, TheCurveCommandsNeedTheirNumberOfCrossings) {
    Plane->SetSortAxis(1);
    const auto ItemsEnabled = [&] {
        TMenuItem* Menu = Plane->PopupMenu();
        std::vector<bool> Result;
        for (const char* Caption : {"Polyline from Curve Intersection Points", "BSpline from Curve Intersection Points",
                                    "Cubic Spline from Curve Intersection Points",
                                    "Cubic Interpolating BSpline from Curve Intersection Points"})
            Result.push_back(Menu->Find(Caption)->Enabled);
        return Result;
    };
    // One crossing, and the switch off: nothing.
    EXPECT_EQ(ItemsEnabled(), (std::vector<bool>{false, false, false, false}));
    Plane->SetShowCurveIntersections(true);
    Plane->PolylineFromIntersections();
    EXPECT_EQ(Doc.Count(), 2);

    AddPline(Doc, {{0, 2, 0}, {2, 2, 0}, {0, 3, 0}}, "B");
    EXPECT_EQ(ItemsEnabled(), (std::vector<bool>{true, false, false, false}));
    Plane->BSplineFromIntersections();
    Plane->CubicSplineFromIntersections();
    EXPECT_EQ(Doc.Count(), 3);
    ExpectOneUndoStep(Doc, "polyline", [&] { Plane->PopupMenu()->Find("Polyline from Curve Intersection Points")->Click(); });
    Plane = PlaneAt(1);
    Plane->PolylineFromIntersections();
    ASSERT_EQ(Doc.Count(), 4);
    ExpectPoints(static_cast<TGeoPline&>(Doc.Items(3)).Polyline(), {{1, 1, 1.2}, {1, 2, 0}, {1, 2.5, 0}});

    // A fourth crossing: the B-spline and both cubic items.
    AddPline(Doc, {{0, 4, 0}, {2, 4, 0}}, "C");
    EXPECT_EQ(ItemsEnabled(), (std::vector<bool>{true, true, true, true}));
    Plane->PopupMenu()->Find("BSpline from Curve Intersection Points")->Click();
    Plane->PopupMenu()->Find("Cubic Spline from Curve Intersection Points")->Click();
    Plane->PopupMenu()->Find("Cubic Interpolating BSpline from Curve Intersection Points")->Click();
    ASSERT_EQ(Doc.Count(), 8);
    auto* BSpline = dynamic_cast<TGeoBSpline*>(&Doc.Items(5));
    ASSERT_NE(BSpline, nullptr);
    ExpectPoints(BSpline->Spline(), {{1, 1, 1.2}, {1, 2, 0}, {1, 2.5, 0}, {1, 4, 0}});
    for (int I : {6, 7}) {
        auto* Cubic = dynamic_cast<TGeoCBSpline*>(&Doc.Items(I));
        ASSERT_NE(Cubic, nullptr);
        ExpectPoints(*Cubic->GetCurve(), {{1, 1, 1.2}, {1, 2, 0}, {1, 2.5, 0}, {1, 4, 0}});
    }
}

TEST_F(PlaneIntersectTest, APlaneThatMissesEveryCurveHasNoCrossings) {
    Plane->SetOffset(50);
    Plane->SetShowCurveIntersections(true);
    EXPECT_EQ(Plane->CurveIntersections().Count(), 0);
    TMenuItem* Menu = Plane->PopupMenu();
    EXPECT_FALSE(Menu->Find("Polyline from Curve Intersection Points")->Enabled);
    Plane->PolylineFromIntersections();
    EXPECT_EQ(Doc.Count(), 2);
}

TEST_F(PlaneIntersectTest, SurfacesAreCutThroughTheirFacets) {
    TFakeSurface* Surface = AddSurface({0, 10});
    Plane->SetShowSurfaceIntersections(true);
    TPolylineList& Lines = Plane->SurfaceIntersections();
    ASSERT_EQ(Lines.Count(), 1);
    ASSERT_EQ(Lines.Items(0)->Count(), 2);
    EXPECT_NEAR(Lines.Items(0)->Point(0)->X, 1, 1e-12);
    EXPECT_NEAR(Lines.Items(0)->Point(1)->X, 1, 1e-12);
    EXPECT_NEAR(std::fabs(Lines.Items(0)->Point(0)->Y - Lines.Items(0)->Point(1)->Y), 2, 1e-12);
    ASSERT_FALSE(Surface->Purposes.empty());
    EXPECT_EQ(Surface->Purposes.back(), 9);

    // A surface whose box the plane misses is not asked for its facets.
    Surface->Purposes.clear();
    Plane->SetOffset(-20);
    Plane->RefreshIntersections();
    EXPECT_TRUE(Surface->Purposes.empty());
    EXPECT_EQ(Lines.Count(), 0);
    // Nor is a hidden one.
    Surface->SetDisplayState(dsHidden);
    Plane->SetOffset(1);
    Plane->RefreshIntersections();
    EXPECT_TRUE(Surface->Purposes.empty());
    EXPECT_EQ(Lines.Count(), 0);
}

TEST_F(PlaneIntersectTest, TheCutOfOneSelectedSurfaceBecomesACurve) {
    TFakeSurface* Surface = AddSurface();
    // A third selected entity: nothing.
    SelectOnly({Plane, Surface, Line});
    TGeoPlane::IntersectSurfaceClick(Doc);
    EXPECT_EQ(Doc.Count(), 3);
    // Without a surface: nothing.
    SelectOnly({Plane, Line});
    TGeoPlane::IntersectSurfaceClick(Doc);
    EXPECT_EQ(Doc.Count(), 3);

    SelectOnly({Surface, Plane});
    TMenuItem Menu;
    TGeoPlane::AddSelectionMenuItems(Menu, Doc);
    EXPECT_EQ(MenuCaptions(Menu), (std::vector<std::string>{"Intersection between Plane and Surface"}));
    ExpectOneUndoStep(Doc, "cut", [&] { Menu.Items(0).Click(); });
    SelectOnly({PlaneAt(1), &Doc.Items(2)});
    TGeoPlane::IntersectSurfaceClick(Doc);
    ASSERT_EQ(Doc.Count(), 4);
    const TPolyline& Cut = static_cast<TGeoPline&>(Doc.Items(3)).Polyline();
    ASSERT_GE(Cut.Count(), 2);
    for (int I = 0; I < Cut.Count(); ++I) EXPECT_NEAR(Cut.Point(I)->X, 1, 1e-12);
    EXPECT_EQ(static_cast<TFakeSurface&>(Doc.Items(2)).Purposes.back(), 9);

    // A plane beside the surface: nothing found, nothing made.
    PlaneAt(1)->SetOffset(-20);
    TGeoPlane::IntersectSurfaceClick(Doc);
    EXPECT_EQ(Doc.Count(), 4);
}

TEST_F(PlaneIntersectTest, SeveralCutLinesBecomeOnePolylineList) {
    TFakeSurface* Surface = AddSurface({0, 10});
    // y = 1 crosses both squares.
    Plane->SetPlaneMode(pmY);
    SelectOnly({Plane, Surface});
    TGeoPlane::IntersectSurfaceClick(Doc);
    ASSERT_EQ(Doc.Count(), 4);
    auto* List = dynamic_cast<TGeoPList*>(&Doc.Items(3));
    ASSERT_NE(List, nullptr);
    ASSERT_EQ(List->Polylines().Count(), 2);
    for (int I = 0; I < 2; ++I) EXPECT_NEAR(List->Polylines().Items(I)->Point(0)->Y, 1, 1e-12);
}

TEST_F(PlaneIntersectTest, ACurveIsProjectedInPlaceOrAsACopy) {
    TGeoPline* Curve = AddPline(Doc, {{3, 0, 0}, {4, 1, 2}}, "Curve");
    SelectOnly({Curve, Plane});
    TMenuItem Menu;
    TGeoPlane::AddSelectionMenuItems(Menu, Doc);
    EXPECT_EQ(MenuCaptions(Menu), (std::vector<std::string>{"Project Curve on to Plane..."}));
    EXPECT_FALSE(Menu.Items(0).Enabled) << "no dialog to ask with";

    std::uint8_t Direction = pdNormalToPlane;
    bool Copy = false;
    bool Answer = true;
    std::vector<TMVector> Normals;
    PlaneProjectionDialog() = [&](const TMPlane& P, std::uint8_t& D, bool& C) {
        Normals.push_back(P.Normal);
        D = Direction;
        C = Copy;
        return Answer;
    };
    TMenuItem Again;
    Again.Add("Earlier");
    TGeoPlane::AddSelectionMenuItems(Again, Doc);
    EXPECT_EQ(MenuCaptions(Again), (std::vector<std::string>{"Earlier", "-", "Project Curve on to Plane..."}));
    EXPECT_TRUE(Again.Items(2).Enabled);

    ExpectOneUndoStep(Doc, "in place", [&] { Again.Items(2).Click(); });
    ASSERT_EQ(Normals.size(), 1u);
    EXPECT_EQ(Normals[0], (TMVector{1, 0, 0}));
    Curve = static_cast<TGeoPline*>(&Doc.Items(2));
    TGeoPlane::ProjectCurveClick(Doc);
    EXPECT_EQ(PointsOf(Curve->Polyline()), (std::vector<TMVector>{{1, 0, 0}, {1, 1, 2}}));

    // Along z onto a plane turned about y: a copy, the original left alone.
    PlaneAt(1)->SetPlaneMode(pmPitch);
    PlaneAt(1)->SetInclination(Pi / 4);
    Curve->Polyline().Point(0)->SetXYZ(3, 0, 0);
    Direction = pdParallelToZ;
    Copy = true;
    TGeoPlane::ProjectCurveClick(Doc);
    ASSERT_EQ(Doc.Count(), 4);
    const TPolyline& Copied = static_cast<TGeoPline&>(Doc.Items(3)).Polyline();
    EXPECT_EQ(Doc.Items(3).GetName(), "Curve1");
    const TMPlane Tilted = PlaneAt(1)->Plane().Plane();
    for (int I = 0; I < 2; ++I) {
        EXPECT_NEAR(VectorDot(Tilted.Normal, Copied.Point(I)->Vector()), Tilted.Distance, 1e-9);
        EXPECT_EQ(Copied.Point(I)->X, Curve->Polyline().Point(I)->X);
        EXPECT_EQ(Copied.Point(I)->Y, Curve->Polyline().Point(I)->Y);
    }
    EXPECT_EQ(Curve->Polyline().Point(0)->Vector(), (TMVector{3, 0, 0}));

    // Cancelled: nothing.
    Answer = false;
    TGeoPlane::ProjectCurveClick(Doc);
    EXPECT_EQ(Doc.Count(), 4);
}

TEST_F(PlaneIntersectTest, AProjectionAlongThePlaneFailsBeforeAnythingMoves) {
    TGeoPline* Curve = AddPline(Doc, {{3, 0, 0}, {4, 1, 2}}, "Curve");
    SelectOnly({Curve, Plane});
    PlaneProjectionDialog() = [](const TMPlane&, std::uint8_t& D, bool& C) {
        D = pdParallelToY;
        C = false;
        return true;
    };
    Doc.GetUndoManager().Clear();
    const std::string Saved = SavedText(Doc);
    try {
        TGeoPlane::ProjectCurveClick(Doc);
        ADD_FAILURE() << "no error";
    } catch (const EError& E) {
        EXPECT_STREQ(E.what(), "Geom.ProjectPointsOntoPlane - Projection is Parallel to Plane");
    }
    EXPECT_EQ(SavedText(Doc), Saved);
    EXPECT_FALSE(Doc.CanUndo());
    // The dialog offers only the directions that cross the plane.
    EXPECT_TRUE(ProjectionDirectionAllowed(Plane->Plane().Plane(), pdParallelToX));
    EXPECT_FALSE(ProjectionDirectionAllowed(Plane->Plane().Plane(), pdParallelToY));
    EXPECT_FALSE(ProjectionDirectionAllowed(Plane->Plane().Plane(), pdParallelToZ));
    EXPECT_TRUE(ProjectionDirectionAllowed(Plane->Plane().Plane(), pdNormalToPlane));
}

TEST_F(PlaneIntersectTest, TheSelectionMenuWantsOnePlaneAndOneSurfaceOrCurve) {
    TFakeSurface* Surface = AddSurface();
    auto* Second = static_cast<TGeoPlane*>(Doc.Add(std::make_unique<TGeoPlane>()));
    const auto Captions = [&](std::initializer_list<TGeometry*> Selected) {
        SelectOnly(Selected);
        TMenuItem Menu;
        TGeoPlane::AddSelectionMenuItems(Menu, Doc);
        return MenuCaptions(Menu);
    };
    EXPECT_TRUE(Captions({Plane, Second, Surface}).empty());
    EXPECT_TRUE(Captions({Plane}).empty());
    EXPECT_TRUE(Captions({Surface, Line}).empty());
    // One of each: both items, though each then wants exactly two selected entities.
    EXPECT_EQ(Captions({Plane, Surface, Line}),
              (std::vector<std::string>{"Intersection between Plane and Surface", "Project Curve on to Plane..."}));
    TGeoPlane::IntersectSurfaceClick(Doc);
    EXPECT_EQ(Doc.Count(), 4);
}

}  // namespace
}  // namespace sarnova::test
