// The B-spline curve entity: structural edits that keep the knots open (and ask before converting a
// curve whose knots are not), orders, knuckles, knot insertion and its preview, subdivision, the
// conversions and the weld, its creator, and one undo step for every editing operation.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CurveFixtures.h"
#include "DragPoints.h"
#include "FakeView.h"
#include "TestPoint.h"
#include "document/GBSpline.h"
#include "document/GeoFace.h"
#include "document/GeometryQuery.h"
#include "foundation/BSpline.h"
#include "hulls/GTarvoCurve.h"
#include "platform/Menu.h"
#include "../DialogsScope.h"

namespace sarnova::test {
namespace {

const char* const ConvertQuestion =
    "This operation can only be performed on a BSpline Curve \r\nwith an Open Uniform Knot Vector, Convert the Curve?";

// A zigzag of six control points from (0, 0) to (10, 4).
const std::vector<TMVector> Zigzag = {{0, 0, 0}, {2, 4, 0}, {4, 0, 0}, {6, 4, 0}, {8, 0, 0}, {10, 4, 0}};

// The view is declared after the document, so that it lets go of its editor while the document exists.
class GBSplineTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterTestClasses(); }

    TGeoBSpline* Add(const std::vector<TMVector>& Points = Zigzag, const std::string& Name = "B") {
        return AddCurve<TGeoBSpline>(Doc, Points, Name);
    }
    TGeoBSpline* BSplineAt(int Index) { return dynamic_cast<TGeoBSpline*>(&Doc.Items(Index)); }
    // Marks the points in edit mode.
    void Mark(TGeoBSpline& B, std::initializer_list<int> Indices) {
        Doc.SetEditedGeometry(&B);
        MarkPoints(B.Spline(), Indices);
    }
    void Click(TMouseButton Button, double X, double Y) {
        const TPoint P = Px(X, Y);
        View.Move(P.X, P.Y);
        View.Press(Button, P.X, P.Y);
        View.Release(Button, P.X, P.Y);
    }

    TDialogsScope Dialogs;
    TGeometryInterface Doc;
    TFakeView View;
};

TEST_F(GBSplineTest, TheCreatorGivesACurveOfFewPointsTheOrderOfItsPoints) {
    const std::pair<int, int> Cases[] = {{2, 2}, {3, 3}, {5, 4}};
    for (auto [Points, Order] : Cases) {
        Doc.Clear();
        auto* Creator = dynamic_cast<TGeoBSplineCreator*>(&RunCreator(std::make_unique<TGeoBSplineCreator>(Doc), View));
        ASSERT_NE(Creator, nullptr);
        for (int I = 0; I < Points; ++I) {
            Click(mbLeft, I, I % 2);
            // Drawn at the order of its points while they are few, and back at 4 in between.
            EXPECT_EQ(Creator->Spline().GetOrder(), 4);
        }
        Click(mbRight, 9, 9);
        ASSERT_EQ(Doc.Count(), 1) << Points;
        const TBSpline& Made = BSplineAt(0)->Spline();
        EXPECT_EQ(Made.Count(), Points);
        EXPECT_EQ(Made.GetOrder(), Order) << Points;
        EXPECT_EQ(Made.KnotType, ktOpen);
        Click(mbRight, 9, 9);  // ends the creator
    }
    EXPECT_EQ(RunningCreatorCount(), 0);
}

TEST_F(GBSplineTest, TheCreatorDrawsTheControlPolygonOfASinglePoint) {
    TGeoBSplineCreator Creator(Doc);
    View.SetEditorInterface(&Creator);
    Creator.Spline().AddPoint(1, 1, 0);
    View.Drawn.clear();
    Creator.DrawShape();
    EXPECT_EQ(Creator.Spline().GetOrder(), 4);
    std::vector<std::string> Names;
    for (const TFakeDraw& D : View.Drawn) Names.push_back(D.Name);
    // The control polygon, the curve (as its control polygon) and the handle: no curve evaluated.
    EXPECT_EQ(Names, (std::vector<std::string>{"SetLineColor", "Polyline", "SetLineColor", "Polyline",
                                               "SetLineColor", "EditHandle"}));
    View.SetEditorInterface(nullptr);
}

TEST_F(GBSplineTest, DeletingMarkedPointsStopsAtTheOrder) {
    TGeoBSpline* B = Add();
    Mark(*B, {0, 1, 2, 3, 4, 5});
    B->DeleteSelectedPoints();
    ASSERT_EQ(B->Spline().Count(), 4);
    EXPECT_EQ(PointsOf(B->Spline()), (std::vector<TMVector>(Zigzag.begin() + 2, Zigzag.end())));
    EXPECT_TRUE(B->Spline().Point(0)->Marked) << "the points left over stay marked";
    EXPECT_TRUE(Dialogs.Dialogs.Shown.empty());
}

TEST_F(GBSplineTest, StructuralEditsOfACurveWithInsertedKnotsAskFirst) {
    TGeoBSpline* B = Add();
    B->InsertKnotClick(Px(5, 2), 0, View);
    EXPECT_EQ(B->Spline().KnotType, ktNonUniform);
    EXPECT_EQ(B->Spline().Count(), 7);
    EXPECT_FALSE(B->HasCapability(cpInsertPointKey)) << "no point insertion with A";
    Mark(*B, {3});
    TMenuItem* Menu = B->PopupMenu();
    EXPECT_FALSE(Menu->Find("Sub divide")->Enabled);

    // Cancel leaves everything as it was.
    Doc.GetUndoManager().Clear();
    Dialogs.Dialogs.Answer(TModalResult::mrCancel);
    B->DeleteSelectedPoints();
    ASSERT_EQ(Dialogs.Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Dialogs.Dialogs.Shown[0].Text, ConvertQuestion);
    EXPECT_EQ(Dialogs.Dialogs.Shown[0].Buttons, mbOK | mbCancel);
    EXPECT_EQ(B->Spline().Count(), 7);
    EXPECT_EQ(B->Spline().KnotType, ktNonUniform);
    EXPECT_FALSE(Doc.CanUndo());

    // OK converts the curve and deletes; the order menu asks the same way.
    Dialogs.Dialogs.Answer(TModalResult::mrOk);
    B->DeleteSelectedPoints();
    EXPECT_EQ(B->Spline().Count(), 6);
    EXPECT_EQ(B->Spline().KnotType, ktOpen);
    EXPECT_TRUE(B->HasCapability(cpInsertPointKey));

    B->InsertKnotClick(Px(5, 2), 0, View);
    Dialogs.Dialogs.Answer(TModalResult::mrCancel);
    B->SetOrderFromMenu(3);
    EXPECT_EQ(B->Spline().GetOrder(), 4);
    EXPECT_EQ(Dialogs.Dialogs.Shown.size(), 3u);
}

TEST_F(GBSplineTest, TheOrderItemsFollowThePointCount) {
    TGeoBSpline* B = Add({{0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {3, 1, 0}});
    TMenuItem* Menu = B->PopupMenu();
    ASSERT_NE(Menu, nullptr);
    EXPECT_EQ(MenuCaptions(*Menu), (std::vector<std::string>{"Edit", "Show Attributes...", "-", "Curve Order", "-",
                                                         "Reverse Points Order", "Straighten Points", "Knuckle Point",
                                                         "Sub divide", "-", "Convert Curve to TarvoCurve", "Convert Curve to Polyline",
                                                         "Control Points to Polyline", "Extrude a Surface", "-", "Create D-Azadavaz Curve (BSpline)", "-",
                                                         "Show Curvature"}));
    TMenuItem* Orders = Menu->Find("Curve Order");
    ASSERT_EQ(MenuCaptions(*Orders), (std::vector<std::string>{"3 (Quadratic)", "4 (Cubic)", "5", "6", "Bezier"}));
    const auto State = [&] {
        std::string S;
        for (int I = 0; I < Orders->Count(); ++I)
            S += std::string(Orders->Items(I).Enabled ? "e" : "-") + (Orders->Items(I).Checked ? "c " : "- ");
        return S;
    };
    EXPECT_EQ(State(), "e- ec -- -- e- ");

    Orders->Find("Bezier")->Click();
    EXPECT_EQ(B->Spline().GetOrder(), 4);
    EXPECT_TRUE(B->Spline().GetForcedBezier());
    B->PopupMenu();
    EXPECT_EQ(State(), "e- e- -- -- ec ");

    Orders->Find("3 (Quadratic)")->Click();
    EXPECT_EQ(B->Spline().GetOrder(), 3);
    EXPECT_FALSE(B->Spline().GetForcedBezier());
}

TEST_F(GBSplineTest, AKnuckleAddsCopiesThatMarkingThemAllRemoves) {
    TGeoBSpline* B = Add();
    TMenuItem* Menu = B->PopupMenu();
    EXPECT_FALSE(Menu->Find("Knuckle Point")->Enabled) << "outside edit mode";

    Mark(*B, {0});
    Menu = B->PopupMenu();
    EXPECT_FALSE(Menu->Find("Knuckle Point")->Enabled) << "not at the first point";
    B->Spline().Point(0)->Marked = false;
    Mark(*B, {5});
    EXPECT_FALSE(B->PopupMenu()->Find("Knuckle Point")->Enabled) << "nor at the last";

    B->Spline().Point(5)->Marked = false;
    Mark(*B, {2});
    Menu = B->PopupMenu();
    EXPECT_TRUE(Menu->Find("Knuckle Point")->Enabled);
    EXPECT_FALSE(Menu->Find("Knuckle Point")->Checked);
    Menu->Find("Knuckle Point")->Click();
    ASSERT_EQ(B->Spline().Count(), 8);
    for (int I = 2; I <= 4; ++I) EXPECT_EQ(B->Spline().Point(I)->Vector(), Zigzag[2]) << I;

    // The marked point now stands last of the three.
    EXPECT_TRUE(B->Spline().Point(4)->Marked);
    MarkPoints(B->Spline(), {2, 3});
    Menu = B->PopupMenu();
    EXPECT_TRUE(Menu->Find("Knuckle Point")->Enabled);
    EXPECT_TRUE(Menu->Find("Knuckle Point")->Checked);
    Menu->Find("Knuckle Point")->Click();
    EXPECT_EQ(PointsOf(B->Spline()), Zigzag);
}

TEST_F(GBSplineTest, KnotInsertionAndSubdivisionKeepTheShape) {
    TGeoBSpline* B = Add();
    const std::unique_ptr<TPolyline> Before = B->Spline().Digitise();
    B->InsertKnotClick(Px(5, 2), 0, View);
    B->Subdivide();
    EXPECT_GT(B->Spline().Count(), 7);
    for (int I = 0; I < Before->Count(); I += 10) {
        double T = 0;
        const TMVector P = Before->Point(I)->Vector();
        EXPECT_LT(VectorDistance(B->Spline().ClosestPoint(P, T), P), 1e-6) << I;
    }

    // The subdivision of an open curve stays open: points may still be inserted.
    TGeoBSpline* Open = Add(Zigzag, "Open");
    Open->Subdivide();
    EXPECT_EQ(Open->Spline().KnotType, ktOpen);
    EXPECT_EQ(Open->Spline().Count(), 9);
}

TEST_F(GBSplineTest, TheKnotPreviewShowsTheNewControlPolygonAndIsErased) {
    TTestSettings Settings;
    TGeoBSpline* B = Add();
    View.Drawn.clear();
    B->DrawInsertKnotPreview(Px(5, 2), 0, View);
    int Handles = 0;
    for (const TFakeDraw& D : View.Drawn) Handles += D.Name == "EditHandle";
    // The seven control points of the curve with the knot, the start again, and the knot's place.
    EXPECT_EQ(Handles, 9);
    EXPECT_EQ(View.Drawn.back().Name, "EditHandle");
    const TMVector Knot = View.Drawn.back().Points[0];
    EXPECT_LT(std::abs(Knot.X - 5), 0.2);
    EXPECT_EQ(B->Spline().Count(), 6) << "the curve itself is not changed";

    View.Drawn.clear();
    B->EraseInsertKnotPreview(Px(5, 2), 0, View);
    ASSERT_GE(View.Drawn.size(), 2u);
    EXPECT_EQ(View.Drawn[0].Color, Settings->BackColor);
    EXPECT_EQ(View.Drawn[1].Points[0], Knot);
    for (const TFakeDraw& D : View.Drawn) EXPECT_EQ(D.Color, Settings->BackColor) << D.Name;
    View.Drawn.clear();
    B->EraseInsertKnotPreview(Px(5, 2), 0, View);
    EXPECT_TRUE(View.Drawn.empty()) << "erased once";
}

TEST_F(GBSplineTest, QueriesGetTheSplineOrTheDisplayPolyline) {
    TGeoBSpline* B = Add();
    const std::pair<std::uint32_t, bool> Cases[] = {{QueryKinds({qkCurve}), true},
                                                   {QueryKinds({qkBSplineCurve}), true},
                                                   {QueryKinds({qkPolyline, qkBSplineCurve}), true},
                                                   {QueryKinds({qkPolyline}), false}};
    for (auto [Kinds, AsSpline] : Cases) {
        TGeometryQuery Query;
        Query.Kinds = Kinds;
        Doc.Query(Query, false);
        ASSERT_EQ(Query.Count(), 1);
        EXPECT_EQ(Query.First()->Name, "B");
        if (AsSpline)
            EXPECT_EQ(Query.First()->As<TBSpline>(), &B->Spline());
        else
            EXPECT_EQ(Query.First()->As<TPolyline>()->Count(), B->Spline().DisplaySegments);
    }
    TGeometryQuery Counting;
    Counting.Kinds = QueryKinds({qkPolyline, qkCurve});
    Counting.CountOnly = true;
    Doc.Query(Counting, false);
    EXPECT_EQ(Counting.Count(), 1);
}

TEST_F(GBSplineTest, SelectionMenuConvertsEachSelectedCurveAndWeldsTwo) {
    AddPline(Doc, {{0, 0, 0}, {0, 1, 0}}, "P");
    TGeoBSpline* A = Add(Zigzag, "A");
    TGeoBSpline* B = Add({{10, 4, 0}, {12, 0, 0}, {14, 4, 0}, {16, 0, 0}}, "C");
    A->SetSelected(true);
    TMenuItem One;
    TGeoBSpline::AddSelectionMenuItems(One, Doc);
    EXPECT_EQ(MenuCaptions(One), (std::vector<std::string>{"Convert BSpline Curve representations to Polylines",
                                                       "Convert BSpline Curve Control Polygons to Polylines"}));
    B->SetSelected(true);
    TMenuItem Two;
    Two.Add("Other");
    TGeoBSpline::AddSelectionMenuItems(Two, Doc);
    EXPECT_EQ(MenuCaptions(Two), (std::vector<std::string>{"Other", "-", "Convert BSpline Curve representations to Polylines",
                                                       "Convert BSpline Curve Control Polygons to Polylines",
                                                       "Weld BSplines"}));
    Doc.Items(0).SetSelected(true);
    TMenuItem Mixed;
    TGeoBSpline::AddSelectionMenuItems(Mixed, Doc);
    EXPECT_EQ(Mixed.Count(), 0);
    Doc.Items(0).SetSelected(false);

    Two.Find("Weld BSplines")->Click();
    ASSERT_EQ(Doc.Count(), 2);
    const TBSpline& Welded = BSplineAt(1)->Spline();
    EXPECT_EQ(Welded.First()->Vector(), Zigzag.front());
    EXPECT_EQ(Welded.Last()->Vector(), (TMVector{16, 0, 0}));
    Doc.Undo();
    ASSERT_EQ(Doc.Count(), 3);

    for (int I = 1; I < 3; ++I) Doc.Items(I).SetSelected(true);
    Two.Find("Convert BSpline Curve Control Polygons to Polylines")->Click();
    ASSERT_EQ(Doc.Count(), 3);
    EXPECT_EQ(Doc.Items(0).GetName(), "P");
    EXPECT_EQ(PointsOf(dynamic_cast<TGeoPline&>(Doc.Items(1)).Polyline()), Zigzag);
    EXPECT_EQ(dynamic_cast<TGeoPline&>(Doc.Items(2)).Polyline().Count(), 4);
    EXPECT_EQ(Doc.SelectedCount(), 0);
}

TEST_F(GBSplineTest, ConvertsToATarvoCurveInOneUndoStep) {
    TGeoBSpline* B = Add();
    ASSERT_NE(B->PopupMenu()->Find("Convert Curve to TarvoCurve"), nullptr);
    ExpectOneUndoStep(Doc, "conversion", [&] { B->PopupMenu()->Find("Convert Curve to TarvoCurve")->Click(); });
    B = BSplineAt(0);
    ASSERT_NE(B, nullptr);
    B->PopupMenu()->Find("Convert Curve to TarvoCurve")->Click();
    ASSERT_EQ(Doc.Count(), 1);
    auto* T = dynamic_cast<TGeoTarvoCurve*>(&Doc.Items(0));
    ASSERT_NE(T, nullptr);
    EXPECT_EQ(T->GetName(), "TarvoCurve1");
    EXPECT_EQ(PointsOf(T->Curve().Spline()), Zigzag);
}

// Each editing operation is one undo step that gives back the document as it was saved.
TEST_F(GBSplineTest, EveryEditUndoesToTheSavedDocument) {
    const std::pair<const char*, std::function<void(TGeoBSpline&, TGeometryInterface&, IGraphics&)>> Cases[] = {
        {"order 3", [](TGeoBSpline& B, TGeometryInterface&, IGraphics&) { B.SetOrderFromMenu(3); }},
        {"bezier", [](TGeoBSpline& B, TGeometryInterface&, IGraphics&) { B.SetBezierFromMenu(); }},
        {"order from the frame", [](TGeoBSpline& B, TGeometryInterface&, IGraphics&) { B.SetCurveOrder(5); }},
        {"delete", [](TGeoBSpline& B, TGeometryInterface& D, IGraphics&) {
             D.SetEditedGeometry(&B);
             MarkPoints(B.Spline(), {1, 4});
             B.DeleteSelectedPoints();
         }},
        {"insert above", [](TGeoBSpline& B, TGeometryInterface&, IGraphics&) { B.InsertPointAbove(2); }},
        {"insert below", [](TGeoBSpline& B, TGeometryInterface&, IGraphics&) { B.InsertPointBelow(5); }},
        {"knot", [](TGeoBSpline& B, TGeometryInterface&, IGraphics& V) { B.InsertKnotClick(Px(5, 2), 0, V); }},
        {"knuckle", [](TGeoBSpline& B, TGeometryInterface& D, IGraphics&) {
             D.SetEditedGeometry(&B);
             MarkPoints(B.Spline(), {3});
             B.ToggleKnuckle();
         }},
        {"subdivide", [](TGeoBSpline& B, TGeometryInterface&, IGraphics&) { B.Subdivide(); }},
        {"reverse", [](TGeoBSpline& B, TGeometryInterface&, IGraphics&) { B.ReversePoints(); }},
        {"straighten", [](TGeoBSpline& B, TGeometryInterface& D, IGraphics&) {
             D.SetEditedGeometry(&B);
             MarkPoints(B.Spline(), {1, 2, 3});
             B.StraightenPoints();
         }},
        {"coordinate", [](TGeoBSpline& B, TGeometryInterface&, IGraphics&) { B.SetPointCoordinate(1, 2, 7.5); }},
        {"transform", [](TGeoBSpline& B, TGeometryInterface&, IGraphics&) { B.Transform(MatrixTranslation(1, 2, 3)); }},
        {"control points", [](TGeoBSpline& B, TGeometryInterface&, IGraphics&) { B.ControlPointsToPolyline(); }},
        {"curve to polyline", [](TGeoBSpline& B, TGeometryInterface&, IGraphics&) { B.ConvertToPolyline(); }},
        {"weld", [](TGeoBSpline& B, TGeometryInterface& D, IGraphics&) {
             D.SelectAll();
             WeldSelectedBSplines(D);
         }},
    };
    for (const auto& [Name, Edit] : Cases) {
        TGeometryInterface D;
        AddCurve<TGeoBSpline>(D, {{-6, 0, 0}, {-4, 2, 0}, {-1, 0, 0}, {0, 0, 0}}, "First");
        auto* B = AddCurve<TGeoBSpline>(D, Zigzag, "B");
        B->SetColor(clRed);
        ExpectOneUndoStep(D, Name, [&] { Edit(*B, D, View); });
    }
}

}  // namespace
}  // namespace sarnova::test
