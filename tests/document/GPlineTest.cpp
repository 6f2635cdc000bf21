// The polyline entity: its macro command, popup-menu operations (break, slice, first point, vertex
// spacing), the operations on several selected polylines, its menus, queries and validation.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "CurveFixtures.h"
#include "TestPoint.h"
#include "document/GeoFace.h"
#include "document/GeometryClasses.h"
#include "document/GeometryQuery.h"
#include "foundation/Errors.h"
#include "foundation/MacroFile.h"
#include "foundation/PolyList.h"
#include "platform/Menu.h"

namespace sarnova::test {
namespace {

class GPlineTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterTestClasses(); }
    void TearDown() override { PolylineDialogs() = {}; }

    // Runs the macro's first line through the polyline class; the reader is left where the class
    // left it.
    bool RunMacro(const std::string& Text) {
        Macro = MacroAt("polyline-test.cmd", Text);
        return TGeoPline::CreateFromMacro(Macro, Doc);
    }
    TGeoPline* Pline(int Index) { return dynamic_cast<TGeoPline*>(&Doc.Items(Index)); }
    std::vector<std::string> Captions(const TMenuItem& Menu) {
        std::vector<std::string> Result;
        for (int I = 0; I < Menu.Count(); ++I) Result.push_back(Menu.Items(I).Caption);
        return Result;
    }
    void SelectAll() {
        for (int I = 0; I < Doc.Count(); ++I) Doc.Items(I).SetSelected(true);
    }

    TGeometryInterface Doc;
    TMacroFile Macro;
};

TEST_F(GPlineTest, TheMacroBlockMakesANamedPolyline) {
    ASSERT_TRUE(RunMacro("polyline Stem\n0 0\n1 0 2\nEND\n"));
    ASSERT_EQ(Doc.Count(), 1);
    EXPECT_EQ(Pline(0)->GetName(), "Stem");
    EXPECT_EQ(PointsOf(Pline(0)->Polyline()), (std::vector<TMVector>{{0, 0, 0}, {1, 0, 2}}));
    EXPECT_EQ(SavedText(Doc),
              "[TPolyline]\nNumPoints=2\n     0.000      0.000      0.000\n     1.000      0.000      2.000\n"
              "Name=Stem\n\n");
}

TEST_F(GPlineTest, CloseAnywhereAmongThePointsClosesThePolyline) {
    ASSERT_TRUE(RunMacro("POLYLINE Loop\n0 0\n1 0\n  close  \n1 1\n// a comment\nEND\n"));
    const TPolyline& P = Pline(0)->Polyline();
    EXPECT_TRUE(P.IsClosed());
    EXPECT_EQ(PointsOf(P), (std::vector<TMVector>{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 0, 0}}));
}

TEST_F(GPlineTest, PointLinesTakeExpressions) {
    ASSERT_TRUE(RunMacro("POLYLINE P\n1+1 2*3 -1\nEND\n"));
    EXPECT_EQ(PointsOf(Pline(0)->Polyline()), (std::vector<TMVector>{{2, 6, -1}}));
}

TEST_F(GPlineTest, MacroLinesThatAreNotAPolylineBlockAreLeftAlone) {
    for (const char* Line : {"Polyline1.COLOR=Red", "POLYLINES A", "PLANE A", "XPOLYLINE 2"}) {
        EXPECT_FALSE(RunMacro(std::string(Line) + "\nEND\n")) << Line;
        EXPECT_EQ(Doc.Count(), 0) << Line;
    }
}

TEST_F(GPlineTest, MacroBlockFailures) {
    struct TCase {
        const char* Text;
        const char* Message;
    };
    const TCase Cases[] = {
        // The file's last line is not taken as a point: the error names the line after POLYLINE.
        {"\nPOLYLINE Stem\n0 0\n1 0 2\n", "No END for POLYLINE Stem"},
        {"POLYLINE Stem\n0 0\nENCLOSED\nEND\n", "Unable to convert ENCLOSED to number"},
        {"POLYLINE Stem\n0 zz\nEND\n", "Unable to convert ZZ to number"},
    };
    const int Lines[] = {3, 3, 2};
    for (int I = 0; I < 3; ++I) {
        const std::string Path = "polyline-test.cmd";
        Macro = MacroAt(Path, Cases[I].Text);
        try {
            TGeoPline::CreateFromMacro(Macro, Doc);
            ADD_FAILURE() << Cases[I].Text;
        } catch (const EError& E) {
            const std::string Expected = "(" + std::to_string(Lines[I]) + "): " + Cases[I].Message;
            EXPECT_NE(std::string(E.what()).find(Expected), std::string::npos) << E.what();
        }
        EXPECT_EQ(Doc.Count(), 0) << Cases[I].Text;
    }
}

TEST_F(GPlineTest, BreakSplitsAtTheMarkedPointWhichBothPiecesKeep) {
    struct TCase {
        int Marked;
        std::vector<TMVector> First;
        std::vector<TMVector> Second;
    };
    const TCase Cases[] = {
        {1, {{0, 0, 0}, {1, 0, 0}}, {{1, 0, 0}, {2, 0, 0}}},
        {0, {{0, 0, 0}}, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}},
    };
    for (const TCase& C : Cases) {
        TGeometryList List;
        TGeoPline* P = AddPline(List, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}, "P");
        // Outside edit mode nothing is marked as far as the break is concerned.
        MarkPoints(P->Polyline(), {C.Marked});
        P->Break();
        ASSERT_EQ(List.Count(), 1);
        List.SetEditedGeometry(P);
        MarkPoints(P->Polyline(), {C.Marked});
        List.BeginUpdate(0);  // keeps the one-point piece from validation, to see what the break made
        P->Break();
        ASSERT_EQ(List.Count(), 2) << C.Marked;
        EXPECT_EQ(PointsOf(dynamic_cast<TGeoPline&>(List.Items(0)).Polyline()), C.First);
        EXPECT_EQ(PointsOf(dynamic_cast<TGeoPline&>(List.Items(1)).Polyline()), C.Second);
        List.EndUpdate();
    }
}

TEST_F(GPlineTest, ANamedPolylineOfOnePointSurvivesValidationAnUnnamedOneDoesNot) {
    AddPline(Doc, {{1, 1, 1}}, "Dot");
    AddPline(Doc, {{2, 2, 2}});
    AddPline(Doc, {}, "Empty");
    Doc.ValidateEntities();
    ASSERT_EQ(Doc.Count(), 1);
    EXPECT_EQ(Doc.Items(0).GetName(), "Dot");
}

TEST_F(GPlineTest, SliceReplacesThePolylineByItsPiecesOnBothSides) {
    AddPline(Doc, {{0, 0, 0}, {4, 0, 0}}, "Wholly");
    Pline(0)->Slice(PlaneFromDirection(1, 10), true);
    ASSERT_EQ(Doc.Count(), 1);
    EXPECT_EQ(PointsOf(Pline(0)->Polyline()), (std::vector<TMVector>{{0, 0, 0}, {4, 0, 0}}));
    EXPECT_NE(Pline(0)->GetName(), "Wholly");

    Doc.Clear();
    AddPline(Doc, {{0, 0, 0}, {4, 0, 0}, {4, 2, 0}}, "Across");
    Pline(0)->Slice(PlaneFromDirection(1, 2), false);
    ASSERT_EQ(Doc.Count(), 2);
    EXPECT_EQ(PointsOf(Pline(0)->Polyline()), (std::vector<TMVector>{{0, 0, 0}, {2, 0, 0}}));
    EXPECT_EQ(PointsOf(Pline(1)->Polyline()), (std::vector<TMVector>{{2, 0, 0}, {4, 0, 0}, {4, 2, 0}}));
    // One step undoes the whole slice.
    Doc.Undo();
    ASSERT_EQ(Doc.Count(), 1);
    EXPECT_EQ(Doc.Items(0).GetName(), "Across");
}

TEST_F(GPlineTest, SetPointAsFirstRestartsAtTheMarkedPoint) {
    TGeoPline* P = AddPline(Doc, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}, "P");
    Doc.SetEditedGeometry(P);
    MarkPoints(P->Polyline(), {1});
    P->SetPointAsFirst();
    EXPECT_EQ(PointsOf(P->Polyline()), (std::vector<TMVector>{{1, 0, 0}, {2, 0, 0}, {0, 0, 0}}));
}

TEST_F(GPlineTest, VertexSpacingRebuildsThePolylineAsOneChange) {
    TGeoPline* P = AddPline(Doc, {{0, 0, 0}, {10, 0, 0}}, "P");
    Doc.GetUndoManager().Clear();
    TVertexOptions Cancelled;
    P->ChangeVertexSpacing(Cancelled);
    EXPECT_FALSE(Doc.CanUndo());

    TVertexOptions BySpacing;
    BySpacing.Mode = 2;
    BySpacing.PointSpacing = 2.5;
    P->ChangeVertexSpacing(BySpacing);
    EXPECT_EQ(P->Polyline().Count(), 5);
    Doc.Undo();
    EXPECT_EQ(P->Polyline().Count(), 2);
}

TEST(ModifyPolylineVertices, ChoosesTheReSpacingByTheOptions) {
    // An L of two legs 4 long with its corner at (4, 0): a knuckle of 90 degrees.
    const auto LShape = [] {
        auto P = std::make_unique<TPolyline>();
        for (int I = 0; I <= 4; ++I) P->AddPoint(I, 0, 0);
        for (int I = 1; I <= 4; ++I) P->AddPoint(4, I, 0);
        return P;
    };
    struct TCase {
        const char* Name;
        TVertexOptions Options;
        int Count;
        bool KeepsCorner;
    };
    const auto Options = [](std::uint8_t Mode, int Count, double Spacing, bool Shape, bool Colinear, bool Knuckles) {
        TVertexOptions O;
        O.Mode = Mode;
        O.PointCount = Count;
        O.PointSpacing = Spacing;
        O.MaintainShape = Shape;
        O.RemoveColinear = Colinear;
        O.DetectKnuckles = Knuckles;
        return O;
    };
    const TCase Cases[] = {
        {"cancelled", Options(0, 3, 1, false, false, false), 9, true},
        {"shape kept", Options(1, 3, 1, true, false, false), 3, true},
        {"shape kept, more points asked than there are", Options(1, 20, 1, true, false, false), 9, true},
        // Each leg is re-spaced on its own at the spacing of four points over the whole length.
        {"count with knuckles", Options(1, 4, 1, false, false, true), 3, true},
        {"count without knuckles", Options(1, 4, 1, false, false, false), 4, false},
        {"spacing with knuckles", Options(2, 0, 2, false, false, true), 5, true},
        {"spacing, colinear points removed", Options(2, 0, 2, false, true, true), 3, true},
    };
    for (const TCase& C : Cases) {
        const auto P = LShape();
        ModifyPolylineVertices(*P, C.Options);
        EXPECT_EQ(P->Count(), C.Count) << C.Name;
        bool Corner = false;
        for (int I = 0; I < P->Count(); ++I) Corner = Corner || P->Point(I)->Vector() == TMVector{4, 0, 0};
        EXPECT_EQ(Corner, C.KeepsCorner) << C.Name;
    }
}

TEST(ModifyPolylineListVertices, ReSpacesEveryPolylineAndIgnoresTheWaterplaneBySpacing) {
    TPolylineList List;
    for (double Y : {0.0, 5.0}) {
        auto P = std::make_unique<TPolyline>();
        for (int I = 0; I <= 8; ++I) P->AddPoint(I, Y, 0);
        List.Add(std::move(P));
    }
    TVertexOptions Options;
    Options.Mode = 2;
    Options.PointSpacing = 2;
    // Set before the spacing was chosen: the spacing alone counts.
    Options.WaterplaneEnabled = true;
    Options.Draught = 0;
    ModifyPolylineListVertices(List, Options);
    for (int I = 0; I < 2; ++I) EXPECT_EQ(List.Items(I)->Count(), 5) << I;

    Options.Mode = 0;
    Options.PointSpacing = 0.5;
    ModifyPolylineListVertices(List, Options);
    EXPECT_EQ(List.Items(0)->Count(), 5);
}

TEST_F(GPlineTest, WeldingTwoPolylinesWritesTheSharedPointOnce) {
    AddPline(Doc, {{0, 0, 0}, {1, 0, 0}}, "A");
    AddPline(Doc, {{2, 0, 0}, {1, 0, 0}}, "B");
    AddPline(Doc, {{5, 5, 0}, {6, 5, 0}}, "Other");
    SelectAll();
    Doc.Items(2).SetSelected(false);
    WeldSelectedPolylines(Doc);
    ASSERT_EQ(Doc.Count(), 2);
    EXPECT_EQ(Doc.Items(0).GetName(), "Other");
    EXPECT_EQ(PointsOf(Pline(1)->Polyline()), (std::vector<TMVector>{{2, 0, 0}, {1, 0, 0}, {0, 0, 0}}));
}

TEST_F(GPlineTest, WeldingWithAToleranceAsksForIt) {
    const auto Setup = [this] {
        Doc.Clear();
        AddPline(Doc, {{0, 0, 0}, {1, 0, 0}}, "A");
        AddPline(Doc, {{1.0015, 0, 0}, {2, 0, 0}}, "B");
        AddPline(Doc, {{2.01, 0, 0}, {3, 0, 0}}, "C");
        SelectAll();
    };
    std::string Answer;
    std::string Asked;
    PolylineDialogs().InputQuery = [&](const std::string& Caption, const std::string& Prompt, std::string& Value) {
        Asked = Caption + "|" + Prompt + "|" + Value;
        Value = Answer;
        return !Answer.empty();
    };
    struct TCase {
        const char* Answer;
        int Count;
    };
    // Cancelled and not a number change nothing; "," is a decimal separator.
    for (const TCase C : {TCase{"", 3}, TCase{"abc", 3}, TCase{"0,002", 2}, TCase{"0.02", 1}}) {
        Setup();
        Answer = C.Answer;
        WeldMultiplePolylinesWithTolerance(Doc);
        EXPECT_EQ(Doc.Count(), C.Count) << C.Answer;
    }
    EXPECT_EQ(Asked, "Weld Multiple Polylines with Tolerance|Max tolerance between lines:|0.001");
}

TEST_F(GPlineTest, BridgeAndBreakAtVisualIntersections) {
    AddPline(Doc, {{0, 0, 0}, {4, 0, 0}}, "A");
    AddPline(Doc, {{2, -1, 5}, {2, 1, 5}}, "B");
    SelectAll();
    // Seen along z the two cross at x = 2 although they lie 5 apart.
    BreakSelectedAtVisualIntersections(Doc, PlaneFromDirection(0, 0));
    ASSERT_EQ(Doc.Count(), 4);
    EXPECT_EQ(PointsOf(Pline(0)->Polyline()), (std::vector<TMVector>{{0, 0, 0}, {2, 0, 0}}));
    EXPECT_EQ(PointsOf(Pline(3)->Polyline()), (std::vector<TMVector>{{2, 0, 5}, {2, 1, 5}}));

    Doc.Clear();
    AddPline(Doc, {{0, 0, 0}, {4, 0, 0}}, "Line");
    AddPline(Doc, {{1, 1, 0}, {3, 1, 0}, {3, 2, 0}, {1, 2, 0}, {1, 1, 0}}, "Loop");
    SelectAll();
    BridgeSelectedPolylines(Doc);
    ASSERT_EQ(Doc.Count(), 1);
    EXPECT_GT(Pline(0)->Polyline().Count(), 7);
}

TEST_F(GPlineTest, TheSelectionMenuDependsOnHowManyPolylinesAreSelected) {
    for (int I = 0; I < 3; ++I) AddPline(Doc, {{0, 0, double(I)}, {1, 0, double(I)}}, "P");
    Doc.Items(0).SetSelected(true);
    Doc.Items(1).SetSelected(true);
    TMenuItem Two;
    TGeoPline::AddSelectionMenuItems(Two, Doc);
    EXPECT_EQ(Captions(Two), (std::vector<std::string>{"Convert to PointCloud", "Weld Polylines", "Bridge Polylines",
                                                       "Break Polylines at visual intersections", "-",
                                                       "Reverse Points Order", "-", "Show Polyline Direction",
                                                       "Hide Polyline Direction"}));
    // Without a view there is no direction to see the crossings along.
    EXPECT_FALSE(Two.Find("Break Polylines at visual intersections")->Enabled);

    Doc.Items(2).SetSelected(true);
    TMenuItem Three;
    Three.Add("Earlier");
    TGeoPline::AddSelectionMenuItems(Three, Doc);
    EXPECT_EQ(Captions(Three), (std::vector<std::string>{"Earlier", "-", "Convert to PointCloud", "Weld Multiple Polylines",
                                                         "Weld Multiple Polylines with Tolerance...", "-",
                                                         "Reverse Points Order", "-", "Show Polyline Direction",
                                                         "Hide Polyline Direction"}));
    EXPECT_FALSE(Three.Find("Weld Multiple Polylines with Tolerance...")->Enabled);

    Three.Find("Show Polyline Direction")->Click();
    EXPECT_TRUE(Pline(1)->GetShowDirection());
    Three.Find("Weld Multiple Polylines")->Click();
    EXPECT_EQ(Doc.Count(), 1);

    // Another kind of entity among the selection: no polyline operations.
    Doc.Add(std::make_unique<TTestPoint>("T", 1))->SetSelected(true);
    Doc.Items(0).SetSelected(true);
    TMenuItem Mixed;
    TGeoPline::AddSelectionMenuItems(Mixed, Doc);
    EXPECT_EQ(Mixed.Count(), 0);
}

TEST_F(GPlineTest, ThePopupMenuFollowsTheMarkedPoints) {
    TGeoPline* P = AddPline(Doc, {{0, 0, 0}, {1, 0, 0}, {2, 1, 0}, {3, 0, 0}}, "P");
    TMenuItem* Menu = P->PopupMenu();
    ASSERT_NE(Menu, nullptr);
    EXPECT_EQ(Captions(*Menu),
              (std::vector<std::string>{"Edit", "Show Attributes...", "-", "Straighen Points", "Close",
                                        "Set Point as First", "Break", "Slice...", "Reverse Points Order",
                                        "Change Vertex Spacing...", "-", "Fit a Cubic Spline",
                                        "Fit a Cubic Interpolating BSpline ", "Create a BSpline from Points", "-",
                                        "Create D-Azadavaz Curve (Cubic Spline)", "Create D-Azadavaz Curve (Polyline)", "-",
                                        "Convert to PointCloud", "Extrude a Surface", "-", "Show Direction", "Show Curvature"}));
    for (const char* Caption : {"Straighen Points", "Set Point as First", "Break", "Slice...", "Change Vertex Spacing..."})
        EXPECT_FALSE(Menu->Find(Caption)->Enabled) << Caption;

    PolylineDialogs().ShowSliceDialog = [](const std::string&, TGeometryList&, bool, bool&, TMPlane&) { return false; };
    Doc.SetEditedGeometry(P);
    MarkPoints(P->Polyline(), {1});
    Menu = P->PopupMenu();
    EXPECT_TRUE(Menu->Find("Break")->Enabled);
    EXPECT_TRUE(Menu->Find("Set Point as First")->Enabled);
    EXPECT_FALSE(Menu->Find("Straighen Points")->Enabled);
    EXPECT_TRUE(Menu->Find("Slice...")->Enabled);
    MarkPoints(P->Polyline(), {0, 2});
    Menu = P->PopupMenu();
    EXPECT_TRUE(Menu->Find("Straighen Points")->Enabled);
    EXPECT_FALSE(Menu->Find("Break")->Enabled);

    Menu->Find("Close")->Click();
    Menu->Find("Show Direction")->Click();
    Menu = P->PopupMenu();
    EXPECT_TRUE(Menu->Find("Close")->Checked);
    EXPECT_TRUE(Menu->Find("Show Direction")->Checked);
}

TEST_F(GPlineTest, EditModeDrawsTheControlPolygonAndHandles) {
    TTestSettings Settings;
    TGeoPline* P = AddPline(Doc, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}, "P");
    Doc.SetEditedGeometry(P);
    MarkPoints(P->Polyline(), {1});
    TPlanView View;
    P->Draw(View);
    std::vector<std::string> Handles;
    for (const TGraphicsCall& Call : View.Calls)
        if (Call.Name == "SetLineColor")
            Handles.push_back(Call.Color == Settings->SelectColor          ? "select"
                              : Call.Color == Settings->ControlPolygonColor ? "polygon"
                              : Call.Color == Settings->StartColor          ? "start"
                                                                            : "other");
        else if (Call.Name == "EditHandlePoint")
            Handles.push_back("handle");
    EXPECT_EQ(Handles, (std::vector<std::string>{"polygon", "polygon", "handle", "select", "handle", "polygon",
                                                 "handle", "start", "handle"}));
}

TEST_F(GPlineTest, TransformQueryAndConversionMenu) {
    TGeoPline* P = AddPline(Doc, {{0, 0, 0}, {1, 0, 0}}, "P");
    P->Transform(MatrixTranslation(1, 2, 3));
    EXPECT_EQ(PointsOf(P->Polyline()), (std::vector<TMVector>{{1, 2, 3}, {2, 2, 3}}));

    TGeometryQuery Query;
    Query.Kinds = QueryKinds({qkPolyline});
    Doc.Query(Query, false);
    ASSERT_EQ(Query.Count(), 1);
    EXPECT_EQ(Query.First()->As<TPolyline>(), &P->Polyline());
    EXPECT_EQ(Query.First()->Name, "P");
    TGeometryQuery Others;
    Others.Kinds = QueryKinds({qkCurve, qkBSplineCurve});
    Doc.Query(Others, false);
    EXPECT_EQ(Others.Count(), 0);

    // The polyline class itself serves as a registered curve class to convert into.
    P->ConvertToCurveClass("TPolyline");
    ASSERT_EQ(Doc.Count(), 2);
    EXPECT_EQ(PointsOf(Pline(1)->Polyline()), PointsOf(P->Polyline()));
    P->ConvertToCurveClass("TNoSuchCurve");
    EXPECT_EQ(Doc.Count(), 2);
}

TEST_F(GPlineTest, TheCreatorMakesAPolylineOfItsPoints) {
    TGeoPolylineCreator Creator(Doc);
    Creator.GetPoints().AddPoint(0, 0, 0);
    Creator.GetPoints().AddPoint(2, 1, 0);
    Creator.CreateGeometry();
    ASSERT_EQ(Doc.Count(), 1);
    EXPECT_EQ(PointsOf(Pline(0)->Polyline()), (std::vector<TMVector>{{0, 0, 0}, {2, 1, 0}}));
}

TEST_F(GPlineTest, TheCreateMenuOffersThePolylineCreator) {
    TMenuItem Menu;
    GGeometryClasses->AddCreateMenuItems(Menu, Doc);
    const TMenuItem* Item = Menu.Find("Polyline");
    ASSERT_NE(Item, nullptr);
    EXPECT_EQ(Item->ImageIndex, 42);
}

}  // namespace
}  // namespace sarnova::test
