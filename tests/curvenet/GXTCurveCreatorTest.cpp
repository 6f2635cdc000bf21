// Drawing a curve-network curve with the mouse: the clicked vertices make the curve, and a vertex put
// onto another curve's vertex or onto the curve itself rests on it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "curvenet/GXTCurve.h"
#include "curvenet/XTReferencePoints.h"
#include "document/GeoFace.h"
#include "document/GeometryClasses.h"
#include "platform/Menu.h"
#include "tests/document/CurveFixtures.h"
#include "tests/document/DragPoints.h"
#include "tests/document/FakeView.h"

namespace sarnova::test {
namespace {

// The view is declared after the document, so that it lets go of its editor while the document exists.
class GXTCurveCreatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestClasses();
        Settings->SnapOptions.reset();
        Settings->SnapOptions.set(stCurveNetPoint).set(stPoint).set(stCurveNetCurve).set(stCurve);
        Doc.SetProjectOptions(poObjectSnap);
        Doc.View = &View;
    }
    void TearDown() override { Doc.View = nullptr; }

    TGeoXTCurve* AddHost() {
        auto C = std::make_unique<TGeoXTCurve>();
        C->Curve().AddPointAt({0, 2, 0});
        C->Curve().AddPointAt({8, 2, 0});
        C->SetName("Host");
        return static_cast<TGeoXTCurve*>(Doc.Add(std::move(C)));
    }
    void Click(TMouseButton Button, double X, double Y) {
        const TPoint P = Px(X, Y);
        View.Move(P.X, P.Y);
        View.Press(Button, P.X, P.Y);
        View.Release(Button, P.X, P.Y);
    }
    TGeoXTCurve* Drawn() { return dynamic_cast<TGeoXTCurve*>(&Doc.Items(Doc.Count() - 1)); }

    TTestSettings Settings;
    TGeometryInterface Doc;
    TFakeView View;
};

TEST_F(GXTCurveCreatorTest, ClickedVerticesMakeTheCurveAndARightClickWithoutTwoMakesNone) {
    TMenuItem Menu;
    GGeometryClasses->AddCreateMenuItems(Menu, Doc);
    TMenuItem* Item = Menu.Find("D-Azadavaz Curve");
    ASSERT_NE(Item, nullptr);
    EXPECT_EQ(Item->ImageIndex, 75);
    Item->Click();
    ASSERT_NE(View.Editor, nullptr);

    // One click and a right click: nothing; the creator waits for the next curve.
    Click(mbLeft, 1, -3);
    Click(mbRight, 2, -3);
    EXPECT_EQ(Doc.Count(), 0);
    ASSERT_NE(View.Editor, nullptr);

    Click(mbLeft, 1, -3);
    Click(mbLeft, 4, -5);
    Click(mbLeft, 7, -3);
    Click(mbRight, 9, -9);
    ASSERT_EQ(Doc.Count(), 1);
    TGeoXTCurve* C = Drawn();
    ASSERT_NE(C, nullptr);
    EXPECT_EQ(C->GetName(), "XTCurve1");
    EXPECT_EQ(C->Curve().GetName(), "XTCurve1");
    ASSERT_EQ(C->Curve().PointCount(), 3);
    const TMVector Expected[] = {{1, -3, 0}, {4, -5, 0}, {7, -3, 0}};
    for (int I = 0; I < 3; ++I) {
        EXPECT_NEAR(VectorDistance(C->Curve().PointAt(I)->GetPosition(), Expected[I]), 0, 1e-9) << I;
    }
    // The next one is renamed by the document.
    for (double X : {1.0, 3.0}) Click(mbLeft, X, -8);
    Click(mbRight, 0, 0);
    ASSERT_EQ(Doc.Count(), 2);
    EXPECT_EQ(Drawn()->GetName(), "XTCurve2");

    // A right click with nothing entered ends it.
    Click(mbRight, 0, 0);
    EXPECT_EQ(View.Editor, nullptr);
    EXPECT_EQ(RunningCreatorCount(), 0);
}

// The first vertex of a two-vertex curve clicked near the host: what it becomes, and whether the new
// curve follows when the host's end moves.
TEST_F(GXTCurveCreatorTest, AVertexClickedOntoAnotherCurveRestsOnIt) {
    struct TCase {
        const char* What;
        TMVector At;
        std::vector<int> Kinds;
        bool ObjectSnap;
        const char* Expected;  // class of the new curve's first vertex
        TMVector Position;     // where it is after the host's end moved to (8, 4, 0)
        TCursor Cursor;        // while the mouse rests there
    };
    // A bead keeps its parameter on the host, which need not be proportional to the length.
    const TCase Cases[] = {
        {"near the host's end", {8.4, 2.3, 0}, {stCurveNetPoint, stPoint}, true, "TXTPointIndexReference", {8, 4, 0}, crSnapPending},
        {"near the host's middle", {4, 2.4, 0}, {stCurveNetCurve, stCurve}, true, "TXTBead", {4, 3, 0}, crSnapPending},
        {"without object snapping", {8.4, 2.3, 0}, {stCurveNetPoint, stPoint}, false, "TXTPoint", {8.4, 2.3, 0}, crCross},
        {"beyond 30 pixels", {8, 6, 0}, {stCurveNetPoint, stPoint, stCurveNetCurve, stCurve}, true, "TXTPoint", {8, 6, 0}, crCross},
        {"on a hidden host", {8.4, 2.3, 0}, {stCurveNetPoint, stPoint}, true, "TXTPoint", {8.4, 2.3, 0}, crCross},
    };
    for (const TCase& C : Cases) {
        Doc.Clear();
        TGeoXTCurve* Host = AddHost();
        if (std::string(C.What) == "on a hidden host") Host->SetDisplayState(dsHidden);
        Settings->SnapOptions.reset();
        for (int K : C.Kinds) Settings->SnapOptions.set(K);
        Doc.SetProjectOptions(C.ObjectSnap ? poObjectSnap : 0);
        RunCreator(std::make_unique<TGeoXTCurveCreator>(Doc), View);
        View.Move(Px(C.At.X, C.At.Y).X, Px(C.At.X, C.At.Y).Y);
        EXPECT_EQ(View.Cursor, C.Cursor) << C.What;
        Click(mbLeft, C.At.X, C.At.Y);
        Click(mbLeft, 4, -6);
        Click(mbRight, 0, -9);
        Click(mbRight, 0, -9);
        ASSERT_EQ(Doc.Count(), 2) << C.What;
        TXTCurve& New = Drawn()->Curve();
        EXPECT_EQ(ClassNameOf(typeid(*New.PointAt(0))), C.Expected) << C.What;
        EXPECT_EQ(ClassNameOf(typeid(*New.PointAt(1))), "TXTPoint") << C.What;

        Host->Curve().PointAt(1)->SetPosition({8, 4, 0});
        Host->Curve().MarkDirty(dlGeometry);
        New.Regenerate();
        const TMVector P = New.PointAt(0)->GetPosition();
        EXPECT_NEAR(VectorDistance(P, C.Position), 0, 0.1) << C.What;
        if (std::string(C.Expected) == "TXTBead") {
            EXPECT_NEAR(P.Y, 2 + P.X / 4, 1e-6) << C.What;  // on the moved host
        } else {
            EXPECT_NEAR(VectorDistance(P, C.Position), 0, 1e-9) << C.What;
        }
    }
}

// The view lets the creator go while its rubber curve rests on the host: the host keeps nothing of it.
TEST_F(GXTCurveCreatorTest, ACreatorLetGoWhileRestingOnACurveLeavesItFree) {
    TGeoXTCurve* Host = AddHost();
    auto& Creator = static_cast<TGeoXTCurveCreator&>(RunCreator(std::make_unique<TGeoXTCurveCreator>(Doc), View));
    Click(mbLeft, 4, 2.4);
    ASSERT_NE(dynamic_cast<TXTBead*>(Creator.WorkingCurve().PointAt(0)), nullptr);
    View.SetEditorInterface(nullptr);
    EXPECT_EQ(RunningCreatorCount(), 0);
    Host->Curve().PointAt(1)->SetPosition({8, 4, 0});
    Host->Curve().MarkDirty(dlSpans);
    Host->Curve().Regenerate();
    EXPECT_EQ(Doc.Count(), 1);
}

}  // namespace
}  // namespace sarnova::test
