// The interpolating cubic B-spline entity: point deletion down to four, the interpolation settings as
// its frame changes them, its conversions and queries, the generated control polygon, and one undo
// step for every editing operation.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CurveFixtures.h"
#include "FakeView.h"
#include "TestPoint.h"
#include "document/GBSpline.h"
#include "document/GCBSpline.h"
#include "document/GeoFace.h"
#include "document/GeometryQuery.h"
#include "foundation/Curve.h"
#include "platform/Menu.h"

namespace sarnova::test {
namespace {

const std::vector<TMVector> Sheer = {{0, 0, 0}, {1, 2, 0}, {3, 2.5, 0}, {5, 2, 0}, {7, 1, 0}, {8, 0, 0}};

using GCBSplineTest = TCurveDocumentTest<TGeoCBSpline>;

TEST_F(GCBSplineTest, DeletingAllPointsLeavesTheLastFourWithoutAsking) {
    TGeoCBSpline* S = Add(Sheer, "S");
    Doc.SetEditedGeometry(S);
    MarkPoints(S->Spline(), {0, 1, 2, 3, 4, 5});
    S->DeleteSelectedPoints();
    EXPECT_EQ(PointsOf(S->Spline()), (std::vector<TMVector>(Sheer.begin() + 2, Sheer.end())));
}

TEST_F(GCBSplineTest, SettingsChangeOnlyWhenTheyDiffer) {
    TGeoCBSpline* S = Add(Sheer, "S");
    TCBSpline& C = S->Spline();
    C.StartCondition = {ecClamped, {1, 0.5, 0}};
    Doc.GetUndoManager().Clear();

    S->SetContinuity(scSecondOrder);
    S->SetEndConditionKind(ecNatural);
    S->SetAccountForChordLength(false);
    EXPECT_FALSE(Doc.CanUndo()) << "nothing changed, nothing recorded";

    S->SetStartConditionKind(ecNatural);
    EXPECT_EQ(C.StartCondition.Kind, ecNatural);
    S->SetContinuity(scSecondOrderPiecewise);
    S->SetEndConditionKind(ecBessel);
    S->SetAccountForChordLength(true);
    EXPECT_EQ(C.Continuity, scSecondOrderPiecewise);
    EXPECT_EQ(C.EndCondition.Kind, ecBessel);
    EXPECT_TRUE(C.AccountForChordLength);
    // Marked, and applied when the entity is next drawn.
    EXPECT_TRUE(S->IsChangePending());

    for (int Step = 0; Step < 4; ++Step) Doc.Undo();
    EXPECT_EQ(C.StartCondition, (TEndCondition{ecClamped, {1, 0.5, 0}}));
    EXPECT_EQ(C.Continuity, scSecondOrder);
    EXPECT_FALSE(C.AccountForChordLength);
}

TEST_F(GCBSplineTest, ThePointsOrTheGeneratedBSplineBecomeOtherEntities) {
    Add(Sheer, "S");
    Add(Sheer, "T");
    Doc.Items(0).SetSelected(true);
    Doc.Items(1).SetSelected(true);
    TMenuItem Menu;
    TGeoCBSpline::AddSelectionMenuItems(Menu, Doc);
    ASSERT_EQ(MenuCaptions(Menu), (std::vector<std::string>{"Convert Cubic BSpline Curves to Polylines",
                                                        "Convert Cubic BSpline Points to Polylines",
                                                        "Convert Cubic BSpline Curves to BSplines"}));

    // The generated B-spline has control points of its own, not the points it passes through.
    TCBSpline Expected;
    for (const TMVector& V : Sheer) Expected.AddVector(V);
    Expected.Generate();
    Menu.Find("Convert Cubic BSpline Curves to BSplines")->Click();
    ASSERT_EQ(Doc.Count(), 2);
    for (int I = 0; I < 2; ++I) {
        auto* B = dynamic_cast<TGeoBSpline*>(&Doc.Items(I));
        ASSERT_NE(B, nullptr);
        EXPECT_EQ(PointsOf(B->Spline()), PointsOf(Expected.Spline()));
        EXPECT_NE(PointsOf(B->Spline()), Sheer);
    }

    Doc.Clear();
    Add(Sheer, "S")->ControlPointsToPolyline();
    ASSERT_EQ(Doc.Count(), 1);
    EXPECT_EQ(PointsOf(dynamic_cast<TGeoPline&>(Doc.Items(0)).Polyline()), Sheer);
}

TEST_F(GCBSplineTest, QueriesGetTheCurveItsBSplineOrTheDisplayPolyline) {
    TGeoCBSpline* S = Add(Sheer, "S");
    TGeometryQuery Curve;
    Curve.Kinds = QueryKinds({qkPolyline, qkCurve, qkBSplineCurve});
    Doc.Query(Curve, false);
    ASSERT_EQ(Curve.Count(), 1);
    EXPECT_EQ(Curve.First()->As<TCBSpline>(), &S->Spline());

    // Asked before the curve was ever drawn: the B-spline of its points.
    TGeometryQuery BSpline;
    BSpline.Kinds = QueryKinds({qkPolyline, qkBSplineCurve});
    Doc.Query(BSpline, false);
    ASSERT_EQ(BSpline.Count(), 1);
    EXPECT_EQ(BSpline.First()->As<TBSpline>(), &S->Spline().Spline());
    EXPECT_GE(S->Spline().Spline().Count(), static_cast<int>(Sheer.size()));

    TGeometryQuery Polyline;
    Polyline.Kinds = QueryKinds({qkPolyline});
    Doc.Query(Polyline, false);
    ASSERT_EQ(Polyline.Count(), 1);
    EXPECT_EQ(Polyline.First()->As<TPolyline>()->Count(), S->Spline().SegmentCount);
}

TEST_F(GCBSplineTest, TheShownControlPolygonIsDrawnInTheDrawColour) {
    TTestSettings Settings;
    TGeoCBSpline* S = Add(Sheer, "S");
    TMenuItem* Menu = S->PopupMenu();
    EXPECT_EQ(MenuCaptions(*Menu), (std::vector<std::string>{"Edit", "Show Attributes...", "-", "Straighten Points", "-",
                                                         "Convert Curve to Polyline", "Control Points to Polyline",
                                                         "Convert Curve to BSpline", "Extrude a Surface", "-", "Show Control Polygon",
                                                         "Show Curvature"}));
    EXPECT_FALSE(Menu->Find("Show Control Polygon")->Checked);
    Menu->Find("Show Control Polygon")->Click();
    EXPECT_TRUE(S->PopupMenu()->Find("Show Control Polygon")->Checked);

    S->SetColor(clRed);
    TPlanView View;
    S->Draw(View);
    // After the curve: the draw colour, the generated control polygon and a handle at each control point.
    std::size_t Polygon = 0;
    for (std::size_t I = 0; I < View.Calls.size(); ++I)
        if (View.Calls[I].Name == "Polyline") Polygon = I;
    ASSERT_GT(Polygon, 0u);
    EXPECT_EQ(View.Calls[Polygon - 1].Name, "SetLineColor");
    EXPECT_EQ(View.Calls[Polygon - 1].Color, clRed);
    int Handles = 0;
    for (const TGraphicsCall& Call : View.Calls) Handles += Call.Name == "EditHandlePoint";
    EXPECT_EQ(Handles, S->Spline().Spline().Count());
}

TEST_F(GCBSplineTest, TheCreatorDrawsNoOldCurveOnceItStartsOver) {
    TFakeView View;
    TGeoCBSplineCreator Creator(Doc);
    View.SetEditorInterface(&Creator);
    for (const TMVector& V : Sheer) Creator.GetPoints().AddVector(V);
    Creator.DrawShape();
    Creator.CreateGeometry();
    ASSERT_EQ(Doc.Count(), 1);
    EXPECT_EQ(PointsOf(dynamic_cast<TGeoCBSpline&>(Doc.Items(0)).Spline()), Sheer);

    // Started over with no point: the curve just made is neither drawn again nor erased.
    Creator.Reset();
    View.Drawn.clear();
    Creator.EraseShape();
    for (const TFakeDraw& D : View.Drawn) EXPECT_TRUE(D.Points.empty()) << D.Name;
    View.SetEditorInterface(nullptr);
}

// Each editing operation is one undo step that gives back the document as it was saved.
TEST_F(GCBSplineTest, EveryEditUndoesToTheSavedDocument) {
    const std::pair<const char*, std::function<void(TGeoCBSpline&, TGeometryInterface&)>> Cases[] = {
        {"delete", [](TGeoCBSpline& S, TGeometryInterface& D) {
             D.SetEditedGeometry(&S);
             MarkPoints(S.Spline(), {0, 3});
             S.DeleteSelectedPoints();
         }},
        {"continuity", [](TGeoCBSpline& S, TGeometryInterface&) { S.SetContinuity(scFirstOrder); }},
        {"start", [](TGeoCBSpline& S, TGeometryInterface&) { S.SetStartConditionKind(ecNatural); }},
        {"end", [](TGeoCBSpline& S, TGeometryInterface&) { S.SetEndConditionKind(ecNatural); }},
        {"chord length", [](TGeoCBSpline& S, TGeometryInterface&) { S.SetAccountForChordLength(true); }},
        {"insert below", [](TGeoCBSpline& S, TGeometryInterface&) { S.InsertPointBelow(0); }},
        {"transform", [](TGeoCBSpline& S, TGeometryInterface&) { S.Transform(MatrixScaling(2, 1, 1)); }},
        {"control points", [](TGeoCBSpline& S, TGeometryInterface&) { S.ControlPointsToPolyline(); }},
        {"to bspline", [](TGeoCBSpline& S, TGeometryInterface&) { S.ConvertToBSpline(); }},
        {"to polyline", [](TGeoCBSpline& S, TGeometryInterface&) { S.ConvertToPolyline(); }},
    };
    for (const auto& [Name, Edit] : Cases) {
        TGeometryInterface D;
        auto* S = AddCurve<TGeoCBSpline>(D, Sheer, "S");
        S->Spline().StartCondition = {ecClamped, {1, 0.5, 0}};
        S->Spline().EndCondition = {ecBessel, {}};
        ExpectOneUndoStep(D, Name, [&] { Edit(*S, D); });
    }
}

}  // namespace
}  // namespace sarnova::test
