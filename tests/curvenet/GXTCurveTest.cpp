// The curve-network curve entity in a document: its block, its node found by name, expressions,
// queries, conversions, the one-step undo of its toggles and its drawing.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "curvenet/GXTCurve.h"
#include "curvenet/XTReferencePoints.h"
#include "document/GBSpline.h"
#include "document/GPline.h"
#include "document/GeoFace.h"
#include "document/GeometryQuery.h"
#include "foundation/BSpline.h"
#include "foundation/ColorNames.h"
#include "foundation/Errors.h"
#include "platform/Menu.h"
#include "tests/document/CurveFixtures.h"
#include "tests/document/DragPoints.h"
#include "tests/document/FakeView.h"

namespace sarnova::test {
namespace {

const char* const HostBlock =
    "[TXTCurve]\n"
    "Name=XTCurve2\n"
    "CurveOptions=[]\n"
    "TangentRibbon=None\n"
    "NumConstraints=0\n"
    "NumPoints=2\n"
    "0.000000 2.000000 0.000000\n"
    "4.000000 2.000000 0.000000\n";

const char* const HolderBlock =
    "[TXTCurve]\n"
    "Name=XTCurve1\n"
    "CurveOptions=[]\n"
    "TangentRibbon=None\n"
    "NumConstraints=0\n"
    "NumPoints=3\n"
    "1.000000 0.000000 0.000000\n"
    "1.000000 2.000000 0.000000 (Bead at Address 0:0.250000 on Curve XTCurve2)\n"
    "1.000000 4.000000 1.000000\n";

class GXTCurveTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterTestClasses(); }

    void Load(const std::string& Text) {
        TTextReader In(Text);
        Doc.LoadFromText(In);
    }
    TGeoXTCurve* Curve(const std::string& Name) { return dynamic_cast<TGeoXTCurve*>(Doc.FindByName(Name)); }
    TGeoXTCurve* AddLine(const TMVector& A, const TMVector& B) {
        auto C = std::make_unique<TGeoXTCurve>();
        C->Curve().AddPointAt(A);
        C->Curve().AddPointAt(B);
        return static_cast<TGeoXTCurve*>(Doc.Add(std::move(C)));
    }

    TGeometryInterface Doc;
};

TEST_F(GXTCurveTest, ANewCurveAndItsNodeShareTheNameAndRenamesReachTheNode) {
    TGeoXTCurve C;
    EXPECT_EQ(C.GetName(), "XTCurve1");
    EXPECT_EQ(C.Curve().GetName(), "XTCurve1");
    C.SetName("Sheer");
    EXPECT_EQ(C.Curve().GetName(), "Sheer");
    EXPECT_EQ(C.FindNode("Sheer"), nullptr) << "outside a document no node is found";
    EXPECT_EQ(C.Nodes(), nullptr);
    EXPECT_EQ(C.GetHintText(), "Left Click to Select, Shift to Select by region, Ctrl to add to previous selection, "
                               "Delete to remove points, 'A' to add points, ESC to cancel snapping");
}

TEST_F(GXTCurveTest, BlocksReadAndWriteBackWithTheColourAfterTheCurve) {
    // The colour line follows the curve directly; other keys are passed over.
    Load(std::string(HostBlock) + "Foo=1\nCOLOR = clRed\n\n" + HolderBlock + "\n");
    ASSERT_EQ(Doc.Count(), 2);
    EXPECT_EQ(Curve("XTCurve2")->GetColor(), StringToColor("clRed"));
    EXPECT_EQ(SavedText(Doc), std::string(HostBlock) + "Color=clRed\n\n" + HolderBlock + "\n")
        << "a recoloured curve keeps its colour";
}

TEST_F(GXTCurveTest, ACurveWhoseHostIsMissingIsWrittenAsItHoldsItself) {
    // Outside a document the bead's host cannot be found: the curve cannot be regenerated, and is
    // written all the same, the bead by its host's name.
    TGeoXTCurve C;
    TTextReader In(std::string(HolderBlock).substr(std::string("[TXTCurve]\n").size()) + "\n");
    C.LoadFromText(In);
    EXPECT_THROW(C.Curve().Regenerate(), EError);
    TTextWriter Out;
    C.SaveToText(Out);
    EXPECT_EQ(Out.Text(), std::string(HolderBlock) + "\n");
}

TEST_F(GXTCurveTest, NodesAreFoundByEntityNameInDocumentOrder) {
    Load(std::string(HostBlock) + "\n" + HolderBlock + "\n");
    TGeoXTCurve* Holder = Curve("XTCurve1");
    EXPECT_EQ(Holder->FindNode("xtcurve2"), &Curve("XTCurve2")->Curve());
    EXPECT_EQ(Holder->FindNode("Nobody"), nullptr);
    const std::unique_ptr<TXTNodeList> Nodes = Holder->Nodes();
    ASSERT_NE(Nodes, nullptr);
    ASSERT_EQ(Nodes->Count(), 2);
    EXPECT_EQ(Nodes->Items(0), &Curve("XTCurve2")->Curve());
    // The bead follows its host.
    Curve("XTCurve2")->Transform(MatrixTranslation(0, 0, 1));
    Holder->Curve().Regenerate();
    EXPECT_NEAR(Holder->Curve().PointAt(1)->GetPosition().Z, 1, 1e-9);
}

TEST_F(GXTCurveTest, ExpressionsGiveACoordinateWhereAnotherHasAValue) {
    TGeoXTCurve* C = AddLine({0, 0, 0}, {1, 0, 2});
    struct TCase {
        const char* Text;
        double Value;
        const char* Error;
    };
    const TCase Cases[] = {
        {"FX(0.5).Z", 1, nullptr},
        {"FZ(1).X", 0.5, nullptr},
        {"FX(0.25 * 2).X", 0.5, nullptr},
        {"FY(1).X", 0, "Abscissa out of range (FY(1).X)"},
        {"GX(0.5).Z", 0, "TGeoXTCurve.Expression - Correct Function component not found GX(0.5).Z"},
        {"FX(0.5).W", 0, "TGeoXTCurve.Expression - Correct Coordinate component not found FX(0.5).W"},
    };
    for (const TCase& T : Cases) {
        if (T.Error == nullptr) {
            EXPECT_NEAR(C->Expression(T.Text), T.Value, 1e-6) << T.Text;
        } else {
            try {
                C->Expression(T.Text);
                ADD_FAILURE() << T.Text << " raised nothing";
            } catch (const EError& E) {
                EXPECT_EQ(std::string(E.what()), T.Error);
            }
        }
    }
}

TEST_F(GXTCurveTest, TheCoordinateIsTheOneAfterTheArgument) {
    TGeoXTCurve* C = AddLine({0, 0, 0}, {1, 0, 2});
    TGeoXTCurve* Deck = AddLine({0, 0, 0}, {0.5, 0, 0});
    Deck->SetName("Deck");
    // The argument names a coordinate too: only the suffix after it counts.
    EXPECT_NEAR(C->Expression("FX(Deck.FX(0.5).X).Z"), 1, 1e-6);
}

TEST_F(GXTCurveTest, QueriesGiveAnOwnedBSplineOrThePolylineAndNothingForAPoint) {
    TGeoXTCurve* C = AddLine({0, 0, 0}, {1, 0, 2});
    TGeometryQuery Splines;
    Splines.Kinds = QueryKinds({qkBSplineCurve});
    C->Query(Splines);
    ASSERT_EQ(Splines.Count(), 1);
    EXPECT_TRUE(Splines.Item(0).Owned());
    EXPECT_NE(Splines.Item(0).As<TBSpline>(), nullptr);
    TGeometryQuery Lines;
    Lines.Kinds = QueryKinds({qkPolyline});
    C->Query(Lines);
    ASSERT_EQ(Lines.Count(), 1);
    EXPECT_FALSE(Lines.Item(0).Owned());
    EXPECT_EQ(Lines.Item(0).As<TPolyline>(), &C->Curve().Polyline());

    TGeoXTCurve* Single = static_cast<TGeoXTCurve*>(Doc.Add(std::make_unique<TGeoXTCurve>()));
    Single->Curve().AddPointAt({0, 0, 0});
    TGeometryQuery None;
    None.Kinds = QueryKinds({qkBSplineCurve});
    Single->Query(None);
    EXPECT_EQ(None.Count(), 0);
    Doc.GetUndoManager().Clear();
    Single->ConvertToBSpline();
    EXPECT_EQ(Doc.Count(), 2) << "a curve of one point is not converted";
}

TEST_F(GXTCurveTest, ConvertingAHostFreesTheBeadsInOneUndoStep) {
    Load(std::string(HostBlock) + "\n" + HolderBlock + "\n");
    Curve("XTCurve1")->Curve().Regenerate();
    ExpectOneUndoStep(Doc, "conversion", [&] { Curve("XTCurve2")->PopupMenu()->Find("Convert to BSpline Curve")->Click(); });
    Curve("XTCurve2")->PopupMenu()->Find("Convert to BSpline Curve")->Click();
    ASSERT_EQ(Doc.Count(), 2);
    EXPECT_NE(dynamic_cast<TGeoBSpline*>(&Doc.Items(1)), nullptr);
    TXTPoint* Former = Curve("XTCurve1")->Curve().PointAt(1);
    EXPECT_EQ(dynamic_cast<TXTReferencePoint*>(Former), nullptr);
    EXPECT_NEAR(Former->GetPosition().Y, 2, 1e-9);
}

TEST_F(GXTCurveTest, EachToggleIsOneUndoStep) {
    TGeoXTCurve* C = AddLine({0, 0, 0}, {1, 0, 2});
    C->Curve().AddPointAt({2, 0, 2});
    for (const char* Caption : {"Cubic Spline Knot Vector based on Chord Length", "Force Curve to be Surface Boundary",
                                "Polyline Curve", "Cubic Spline Curve", "Reverse Point Order"})
        ExpectOneUndoStep(Doc, Caption, [&] { C->PopupMenu()->Find(Caption)->Click(); });
    ExpectOneUndoStep(Doc, "ribbon", [&] { C->PopupMenu()->Find("Surface Tangent Constraint")->Items(4).Click(); });
    EXPECT_EQ(C->Curve().GetRibbonKind(), rkNone);
}

TEST_F(GXTCurveTest, UnlinkIsOfferedForOneSelectedBead) {
    Load(std::string(HostBlock) + "\n" + HolderBlock + "\n");
    TGeoXTCurve* Holder = Curve("XTCurve1");
    Holder->Curve().Regenerate();
    Holder->SetEditing(true);
    TMenuItem* Unlink = Holder->PopupMenu()->Find("Unlink Point");
    Holder->Curve().PointAt(1)->Selected = true;
    Holder->UpdateMenuItems(*Holder->PopupMenu());
    EXPECT_TRUE(Unlink->Enabled);
    Holder->Curve().PointAt(2)->Selected = true;
    Holder->UpdateMenuItems(*Holder->PopupMenu());
    EXPECT_FALSE(Unlink->Enabled);
    Holder->Curve().PointAt(2)->Selected = false;
    Unlink->Click();
    EXPECT_EQ(dynamic_cast<TXTReferencePoint*>(Holder->Curve().PointAt(1)), nullptr);
}

TEST_F(GXTCurveTest, PolylineCurvesAreOfferedOnlyForASharedState) {
    TGeoXTCurve* A = AddLine({0, 0, 0}, {1, 0, 2});
    TGeoXTCurve* B = AddLine({0, 1, 0}, {1, 1, 2});
    A->SetSelected(true);
    B->SetSelected(true);
    TMenuItem Menu;
    TGeoXTCurve::AddSelectionMenuItems(Menu, Doc);
    ASSERT_NE(Menu.Find("Polyline Curves"), nullptr);
    Menu.Find("Polyline Curves")->Click();
    EXPECT_EQ(TXTPolylineConstraint::CurveState(A->Curve()), csPresent);
    A->TogglePolyline();
    TMenuItem Mixed;
    TGeoXTCurve::AddSelectionMenuItems(Mixed, Doc);
    EXPECT_EQ(Mixed.Find("Polyline Curves"), nullptr);
    Mixed.Find("Convert XTCurves to Polylines")->Click();
    ASSERT_EQ(Doc.Count(), 2);
    EXPECT_NE(dynamic_cast<TGeoPline*>(&Doc.Items(0)), nullptr);
    EXPECT_NE(dynamic_cast<TGeoPline*>(&Doc.Items(1)), nullptr);
}

TEST_F(GXTCurveTest, PolylinesAndOpenCubicBSplinesBecomeNetworkCurves) {
    TGeoPline* P = AddPline(Doc, {{0, 0, 0}, {1, 1, 0}, {2, 0, 1}}, "P");
    P->SetSelected(true);
    P->PopupMenu()->Find("Create D-Azadavaz Curve (Polyline)")->Click();
    ASSERT_EQ(Doc.Count(), 2) << "the polyline stays";
    EXPECT_FALSE(P->GetSelected());
    auto* C = dynamic_cast<TGeoXTCurve*>(&Doc.Items(1));
    ASSERT_NE(C, nullptr);
    ASSERT_EQ(C->Curve().PointCount(), 3);
    EXPECT_EQ(C->Curve().PointAt(2)->GetPosition().Z, 1);
    EXPECT_EQ(TXTPolylineConstraint::CurveState(C->Curve()), csPresent);

    auto B = std::make_unique<TGeoBSpline>();
    for (const TMVector& V : std::vector<TMVector>{{0, 0, 0}, {1, 1, 0}, {2, 1, 0}, {3, 0, 0}}) B->Spline().AddVector(V);
    TGeoBSpline* Spline = static_cast<TGeoBSpline*>(Doc.Add(std::move(B)));
    ExpectOneUndoStep(Doc, "B-spline conversion",
                      [&] { Spline->PopupMenu()->Find("Create D-Azadavaz Curve (BSpline)")->Click(); });
    Spline = dynamic_cast<TGeoBSpline*>(&Doc.Items(2));  // the undo brought back a copy
    ASSERT_NE(Spline, nullptr);
    Spline->SetOrderFromMenu(3);
    Spline->UpdateMenuItems(*Spline->PopupMenu());
    EXPECT_FALSE(Spline->PopupMenu()->Find("Create D-Azadavaz Curve (BSpline)")->Enabled);
    Spline->ConvertToXTCurve();
    EXPECT_EQ(Doc.Count(), 3) << "only a curve of order 4 converts";
}

TEST_F(GXTCurveTest, EveryRebuildIsAnnouncedAndAChangeShowsInThePicture) {
    TRecordingList List;
    auto* C = static_cast<TGeoXTCurve*>(List.Add(std::make_unique<TGeoXTCurve>()));
    C->Curve().AddPointAt({0, 0, 0});
    C->Curve().AddPointAt({1, 0, 0});
    List.Messages.clear();
    ASSERT_NE(C->DisplayPolyline(), nullptr);
    EXPECT_EQ(C->DisplayPolyline()->Point(0)->Z, 0);
    EXPECT_EQ(std::count(List.Messages.begin(), List.Messages.end(), "TGeoXTCurveUpdate"), 1);
    // A moved point reaches the cached picture.
    C->Transform(MatrixTranslation(0, 0, 3));
    EXPECT_EQ(C->DisplayPolyline()->Point(0)->Z, 3);
    EXPECT_EQ(std::count(List.Messages.begin(), List.Messages.end(), "TGeoXTCurveUpdate"), 2);
}

TEST_F(GXTCurveTest, ARibbonCurveIsDrawnWide) {
    TGeoXTCurve* C = AddLine({0, 0, 0}, {1, 0, 2});
    for (std::uint8_t Kind : {rkNone, rkKnuckle}) {
        C->Curve().SetRibbonKind(Kind);
        TPlanView View;
        C->Draw(View);
        double Widest = 1;
        for (const TGraphicsCall& Call : View.Calls)
            if (Call.Name == "SetLineWidth") Widest = std::max(Widest, Call.Size);
        EXPECT_EQ(Widest, Kind == rkNone ? 1 : 3);
        EXPECT_EQ(View.LineWidth, 1) << "width back to normal";
    }
}

// A vertex dragged to within a few pixels of another curve's end and let go there rests on it; after
// Esc it lands as a free vertex; a place along the host makes a bead. A bead pulled away from every
// curve shows the detach cursor and lands free; moved along its host it stays a bead.
TEST_F(GXTCurveTest, DraggedVertexRestsWhereTheViewSnappedIt) {
    struct TCase {
        const char* What;
        bool Bead;  // the dragged vertex starts as a bead on the host
        TMVector To;
        bool Escape;
        const char* Expected;  // class of the dragged vertex after the drag
        TCursor Cursor;        // while held at To
    };
    const TCase Cases[] = {
        {"onto the host's end", false, {8.3, 2.2, 0}, false, "TXTPointIndexReference", crSnapPending},
        {"onto the host's middle", false, {4, 2.1, 0}, false, "TXTBead", crSnapPending},
        {"Esc first", false, {8.3, 2.2, 0}, true, "TXTPoint", crDefault},
        {"far from every curve", false, {2, -5, 0}, false, "TXTPoint", crDefault},
        {"bead along its host", true, {3, 2.2, 0}, false, "TXTBead", crDefault},
        {"bead pulled away", true, {2, -5, 0}, false, "TXTPoint", crDetachPending},
    };
    TTestSettings Settings;
    Settings->SnapOptions.reset();
    Settings->SnapOptions.set(stCurveNetPoint).set(stPoint).set(stCurveNetCurve).set(stCurve);
    for (const TCase& C : Cases) {
        TRecordingList List;
        List.SetProjectOptions(po3DEditing | poObjectSnap);
        auto* Host = static_cast<TGeoXTCurve*>(List.Add(std::make_unique<TGeoXTCurve>()));
        Host->Curve().AddPointAt({0, 2, 0});
        Host->Curve().AddPointAt({8, 2, 0});
        auto* Dragged = static_cast<TGeoXTCurve*>(List.Add(std::make_unique<TGeoXTCurve>()));
        const TMVector From = C.Bead ? TMVector{2, 2, 0} : TMVector{1, -2, 0};
        Dragged->Curve().AddPointAt(From);
        Dragged->Curve().AddPointAt({1, -6, 0});
        if (C.Bead) {
            TXTSnapTarget S;
            S.Curve = &Host->Curve();
            S.Point = Dragged->Curve().PointAt(0);
            S.WorldPosition = From;
            S.Address = MakeBeadAddress(0, 0.25);
            S.Kind = skCurve;
            Dragged->Curve().ApplySnap(S);
            ASSERT_NE(dynamic_cast<TXTBead*>(Dragged->Curve().PointAt(0)), nullptr);
        }
        TFakeView View;
        Dragged->SetEditing(true);
        View.SetEditorInterface(Dragged);
        const TPoint To = Px(C.To.X, C.To.Y);
        View.Press(mbLeft, Px(From.X, From.Y).X, Px(From.X, From.Y).Y);
        View.Move(To.X, To.Y);
        if (C.Escape) View.KeyDown(VK_ESCAPE);
        View.Move(To.X, To.Y);
        EXPECT_EQ(View.Cursor, C.Cursor) << C.What;
        View.Release(mbLeft, To.X, To.Y);
        TXTPoint* P = Dragged->Curve().PointAt(0);
        EXPECT_EQ(ClassNameOf(typeid(*P)), C.Expected) << C.What;
        if (auto* R = dynamic_cast<TXTReferencePoint*>(P)) {
            EXPECT_EQ(R->GetTargetNode(), &Host->Curve()) << C.What;
        }
        View.SetEditorInterface(nullptr);
    }
}

TEST_F(GXTCurveTest, DeleteKeepsTwoVerticesAndInsertAddsAFreeOneEachInOneUndoStep) {
    struct TCase {
        std::vector<int> Selected;
        int Left;
    };
    for (const TCase& C : {TCase{{1}, 3}, TCase{{0, 1, 2}, 2}, TCase{{0, 1, 2, 3}, 2}}) {
        TGeoXTCurve* Curve = AddLine({0, 0, 0}, {1, 0, 0});
        Curve->Curve().AddPointAt({2, 0, 0});
        Curve->Curve().AddPointAt({3, 0, 0});
        ExpectOneUndoStep(Doc, "delete", [&] {
            for (int I : C.Selected) Curve->Curve().PointAt(I)->Selected = true;
            Curve->DeleteSelectedPoints();
            EXPECT_EQ(Curve->Curve().PointCount(), C.Left);
        });
        Doc.DeleteGeometry(Curve);
    }
    // Nothing selected, or two vertices left: nothing happens and nothing is recorded.
    TGeoXTCurve* Two = AddLine({0, 0, 0}, {1, 0, 0});
    Doc.GetUndoManager().Clear();
    Two->Curve().PointAt(0)->Selected = true;
    Two->DeleteSelectedPoints();
    EXPECT_EQ(Two->Curve().PointCount(), 2);
    EXPECT_FALSE(Doc.CanUndo());

    TPlanView View;
    TGeoXTCurve* Long = AddLine({0, 0, 0}, {100, 0, 0});
    Long->DrawInsertPointPreview({50, 3}, 0, View);
    std::vector<std::string> Preview;
    for (const TGraphicsCall& Call : View.Calls)
        if (Call.Name == "LineVectors" || Call.Name == "EditHandle") Preview.push_back(Call.Name);
    EXPECT_EQ(Preview, (std::vector<std::string>{"LineVectors", "LineVectors", "EditHandle"}));
    ExpectOneUndoStep(Doc, "insert", [&] { Long->InsertPointClick({50, 3}, 0, View); });
    Long->InsertPointClick({50, 3}, 0, View);
    ASSERT_EQ(Long->Curve().PointCount(), 3);
    EXPECT_EQ(Long->Curve().PointAt(1)->State, psFree);
    EXPECT_NEAR(Long->Curve().PointAt(1)->GetPosition().X, 50, 1e-6);
}

// Renumbering the vertices moves the vertex references of the curves resting on this one; undo gives
// them their old vertices back in the same step.
TEST_F(GXTCurveTest, UndoingARenumberingRestoresTheVertexReferencesOnIt) {
    TPlanView View;
    const std::pair<const char*, std::function<void(TGeoXTCurve&)>> Edits[] = {
        {"delete", [](TGeoXTCurve& H) {
             H.Curve().PointAt(0)->Selected = true;
             H.DeleteSelectedPoints();
         }},
        {"insert", [&View](TGeoXTCurve& H) { H.InsertPointClick({25, 3}, 0, View); }},
        {"insert above", [](TGeoXTCurve& H) { H.InsertVertexAbove(0); }},
    };
    for (const auto& [What, Edit] : Edits) {
        Doc.Clear();
        TGeoXTCurve* Host = AddLine({0, 0, 0}, {50, 0, 0});
        Host->Curve().AddPointAt({100, 0, 0});
        TGeoXTCurve* Holder = AddLine({50, 0, 0}, {50, 40, 0});
        TXTSnapTarget S;
        S.Curve = &Host->Curve();
        S.Point = Holder->Curve().PointAt(0);
        S.VertexIndex = 1;
        S.Kind = skVertex;
        Holder->Curve().ApplySnap(S);
        ExpectOneUndoStep(Doc, What, [&] { Edit(*Host); });
        Holder->Curve().Regenerate();
        EXPECT_NEAR(VectorDistance(Holder->Curve().PointAt(0)->GetPosition(), {50, 0, 0}), 0, 1e-9) << What;
    }
}

TEST_F(GXTCurveTest, OffersVerticesAndThePlaceNearestToOtherEntitiesOnly) {
    struct TCase {
        const char* What;
        int AskedBy;  // 0 a polyline, 1 a network curve, 2 the curve creator
        std::vector<int> Kinds;
        bool EndSelected;
        TPoint Pixel;
        std::uint8_t ExpectedKind;  // 255: nothing offered
        double ExpectedX;
    };
    const TCase Cases[] = {
        {"vertex", 0, {stCurveNetPoint, stPoint}, false, {98, 2}, stPoint, 100},
        {"selected vertex", 0, {stCurveNetPoint, stPoint}, true, {98, 2}, 255, 0},
        {"curve", 0, {stCurveNetCurve, stCurve}, false, {40, 2}, stCurve, 40},
        {"without the network kinds", 0, {stPoint, stCurve}, false, {98, 2}, 255, 0},
        {"asked by a network curve", 1, {stCurveNetPoint, stPoint, stCurveNetCurve, stCurve}, false, {98, 2}, 255, 0},
        {"asked by the curve creator", 2, {stCurveNetPoint, stPoint, stCurveNetCurve, stCurve}, false, {98, 2}, 255, 0},
    };
    TTestSettings Settings;
    TPlanView View;
    TGeoXTCurve* Curve = AddLine({0, 0, 0}, {100, 0, 0});
    TGeoXTCurve* Network = AddLine({0, 50, 0}, {100, 50, 0});
    TGeoPline* Other = AddPline(Doc, {{0, 80, 0}, {10, 80, 0}}, "Other");
    TGeoXTCurveCreator Creator(Doc);
    TGeometryObject* const Askers[] = {Other, Network, &Creator};
    for (const TCase& C : Cases) {
        Settings->SnapOptions.reset();
        for (int K : C.Kinds) Settings->SnapOptions.set(K);
        Curve->Curve().PointAt(1)->Selected = C.EndSelected;
        TGeometrySnapInfo Request(C.Pixel, &View, Askers[C.AskedBy], {0, 0, 0});
        Curve->AddSnapPoints(Request);
        EXPECT_EQ(Request.BestKind, C.ExpectedKind) << C.What;
        if (Request.Found()) {
            EXPECT_EQ(Request.SnapTarget, Curve) << C.What;
            EXPECT_NEAR(Request.BestPoint.X, C.ExpectedX, 1.0) << C.What;
        }
    }
}

TEST_F(GXTCurveTest, ASnappedDragIsOneUndoStep) {
    TTestSettings Settings;
    Settings->SnapOptions.reset();
    Settings->SnapOptions.set(stCurveNetPoint).set(stPoint);
    Doc.SetProjectOptions(po3DEditing | poObjectSnap);
    AddLine({0, 2, 0}, {8, 2, 0});
    TGeoXTCurve* Dragged = AddLine({1, -2, 0}, {1, -6, 0});
    TFakeView View;
    Dragged->SetEditing(true);
    View.SetEditorInterface(Dragged);
    Doc.GetUndoManager().Clear();
    const std::string Before = SavedText(Doc);
    View.Press(mbLeft, Px(1, -2).X, Px(1, -2).Y);
    View.Move(Px(8.2, 2.1).X, Px(8.2, 2.1).Y);
    View.Release(mbLeft, Px(8.2, 2.1).X, Px(8.2, 2.1).Y);
    EXPECT_NE(dynamic_cast<TXTPointIndexReference*>(Dragged->Curve().PointAt(0)), nullptr);
    // The view lets go of the entity before undo may replace it.
    View.SetEditorInterface(nullptr);
    Doc.Undo();
    EXPECT_EQ(SavedText(Doc), Before);
    EXPECT_FALSE(Doc.CanUndo());
}

}  // namespace
}  // namespace sarnova::test
