// The cubic spline entity: point deletion down to four, short splines drawn as their polyline, the
// conversions of several selected splines, its creator, and one undo step for every editing operation.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CurveFixtures.h"
#include "TestPoint.h"
#include "document/GCSpline.h"
#include "document/GeoFace.h"
#include "foundation/CSpline.h"
#include "platform/Menu.h"

namespace sarnova::test {
namespace {

const std::vector<TMVector> Keel = {{0, 0, 0}, {1, 0.5, 0}, {2, 0, 1}, {3, -0.5, 0}, {4, 0, 0}};

using GCSplineTest = TCurveDocumentTest<TGeoCSpline>;

TEST_F(GCSplineTest, DeletingAllPointsLeavesTheLastFour) {
    TGeoCSpline* S = Add(Keel, "K");
    Doc.SetEditedGeometry(S);
    MarkPoints(S->Spline(), {0, 1, 2, 3, 4});
    S->DeleteSelectedPoints();
    EXPECT_EQ(PointsOf(S->Spline()), (std::vector<TMVector>(Keel.begin() + 1, Keel.end())));
}

TEST_F(GCSplineTest, ThreePointsAreDrawnAsTheirPolylineAndStillShowCurvature) {
    TGeoCSpline* S = Add({{0, 0, 0}, {1, 1, 0}, {2, 0, 0}}, "Short");
    ASSERT_NE(S->DisplayPolyline(), nullptr);
    EXPECT_EQ(PointsOf(*S->DisplayPolyline()), PointsOf(S->Spline()));
    TMenuItem* Menu = S->PopupMenu();
    ASSERT_NE(Menu->Find("Show Curvature"), nullptr);
    Menu->Find("Show Curvature")->Click();
    EXPECT_TRUE(S->DrawCurvature());
    EXPECT_EQ(Add(Keel, "Long")->DisplayPolyline()->Count(), S->Spline().SegmentCount + 1) << "five points make the curve";
}

TEST_F(GCSplineTest, ConvertingTheSelectedSplinesAppendsTheirPolylines) {
    Add(Keel, "A");
    AddPline(Doc, {{0, 0, 0}, {0, 1, 0}}, "P");
    Add({{5, 0, 0}, {6, 1, 0}, {7, 0, 0}, {8, 1, 0}}, "B");
    Doc.Items(0).SetSelected(true);
    Doc.Items(2).SetSelected(true);
    TMenuItem Menu;
    TGeoCSpline::AddSelectionMenuItems(Menu, Doc);
    ASSERT_EQ(Menu.Count(), 2);
    EXPECT_EQ(Menu.Items(0).Caption, "Convert CSpline Curves to Polylines");
    Menu.Find("Convert CSpline Points to Polylines")->Click();
    ASSERT_EQ(Doc.Count(), 3);
    EXPECT_EQ(Doc.Items(0).GetName(), "P");
    EXPECT_EQ(PointsOf(dynamic_cast<TGeoPline&>(Doc.Items(1)).Polyline()), Keel);
    EXPECT_EQ(dynamic_cast<TGeoPline&>(Doc.Items(2)).Polyline().Count(), 4);
    Doc.Undo();
    // One step undoes both, and the splines are back in their places.
    ASSERT_EQ(Doc.Count(), 3);
    EXPECT_EQ(Doc.Items(0).GetName(), "A");
    EXPECT_NE(dynamic_cast<TGeoCSpline*>(&Doc.Items(0)), nullptr);
    EXPECT_EQ(Doc.Items(1).GetName(), "P");
    EXPECT_EQ(Doc.Items(2).GetName(), "B");
    EXPECT_NE(dynamic_cast<TGeoCSpline*>(&Doc.Items(2)), nullptr);
}

TEST_F(GCSplineTest, TheCreatorMakesASplineThroughItsPoints) {
    TGeoCSplineCreator Creator(Doc);
    for (const TMVector& V : Keel) Creator.GetPoints().AddVector(V);
    Creator.CreateGeometry();
    ASSERT_EQ(Doc.Count(), 1);
    EXPECT_EQ(PointsOf(dynamic_cast<TGeoCSpline&>(Doc.Items(0)).Spline()), Keel);
}

// Each editing operation is one undo step that gives back the document as it was saved.
TEST_F(GCSplineTest, EveryEditUndoesToTheSavedDocument) {
    const std::pair<const char*, std::function<void(TGeoCSpline&, TGeometryInterface&)>> Cases[] = {
        {"delete", [](TGeoCSpline& S, TGeometryInterface& D) {
             D.SetEditedGeometry(&S);
             MarkPoints(S.Spline(), {2});
             S.DeleteSelectedPoints();
         }},
        {"insert above", [](TGeoCSpline& S, TGeometryInterface&) { S.InsertPointAbove(0); }},
        {"transform", [](TGeoCSpline& S, TGeometryInterface&) { S.Transform(MatrixTranslation(0, 0, 1)); }},
        {"control points", [](TGeoCSpline& S, TGeometryInterface&) { S.ControlPointsToPolyline(); }},
        {"to polyline", [](TGeoCSpline& S, TGeometryInterface&) { S.ConvertToPolyline(); }},
    };
    for (const auto& [Name, Edit] : Cases) {
        TGeometryInterface D;
        auto* S = AddCurve<TGeoCSpline>(D, Keel, "K");
        ExpectOneUndoStep(D, Name, [&] { Edit(*S, D); });
    }
}

}  // namespace
}  // namespace sarnova::test
