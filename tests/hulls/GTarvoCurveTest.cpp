// The Tarvo curve entity in a document: names, dragging within the constraints, handles and menu
// states, the file block and the older "TCurve" sections, conversions, creator and undo.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "document/CurveFixtures.h"
#include "document/DragPoints.h"
#include "document/FakeView.h"
#include "document/GBSpline.h"
#include "document/GPline.h"
#include "foundation/BSpline.h"
#include "foundation/Console.h"
#include "hulls/GTarvoCurve.h"

namespace sarnova::test {
namespace {

// The view is declared after the document, so that it lets go of its editor while the document exists.
class GTarvoCurveTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterTestClasses(); }

    TGeoTarvoCurve* Add(const std::vector<TMVector>& Points, const std::string& Name = {}) {
        auto T = std::make_unique<TGeoTarvoCurve>();
        for (const TMVector& P : Points) T->Curve().AddPointVector(P);
        if (!Name.empty()) T->SetName(Name);
        return static_cast<TGeoTarvoCurve*>(Doc.Add(std::move(T)));
    }
    TGeoTarvoCurve* At(int Index) { return dynamic_cast<TGeoTarvoCurve*>(&Doc.Items(Index)); }
    void Edit(TGeoTarvoCurve& T) {
        Doc.SetEditedGeometry(&T);
        View.SetEditorInterface(&T);
    }
    void DragPoint(const TMVector& From, const TMVector& To) {
        const TPoint A = Px(From.X, From.Y), B = Px(To.X, To.Y);
        View.Press(mbLeft, A.X, A.Y);
        View.Move(B.X, B.Y);
        View.Release(mbLeft, B.X, B.Y);
    }

    TGeometryInterface Doc;
    TFakeView View;
};

const std::vector<TMVector> Column = {{0, 0, 0}, {0, 1, 0}, {0, 2, 0}, {0, 3, 0}, {0, 4, 0}};
const std::vector<TMVector> Shifted = {{2, 0, 0}, {2, 1, 0}, {2, 2, 0}, {2, 3, 0}, {2, 4, 0}};

TEST_F(GTarvoCurveTest, NewCurvesAreNumberedAndCarryTheirClassData) {
    TGeoTarvoCurve* A = Add(Column);
    TGeoTarvoCurve* B = Add(Shifted);
    EXPECT_EQ(A->GetName(), "TarvoCurve1");
    EXPECT_EQ(B->GetName(), "TarvoCurve2");
    EXPECT_EQ(B->Curve().Name, "TarvoCurve2");
    EXPECT_EQ(B->GetCapabilities() & 0x42, 0x42);
    EXPECT_EQ(A->GetClass().GetKeyword(), "TTarvoCurve");
    EXPECT_EQ(A->GetClass().GetImageIndex(), 72);
    EXPECT_EQ(A->GetDataObject().Object, &A->Curve());
    // Names resolve over the document.
    EXPECT_EQ(A->FindNode("TarvoCurve2"), &B->Curve());
    EXPECT_EQ(A->Nodes()->Count(), 2);
}

TEST_F(GTarvoCurveTest, AnOffsetInXLetsPointsMoveOnlyAlongX) {
    Add(Column, "R");
    TGeoTarvoCurve* C = Add(Shifted, "C");
    TOffsetConstraint::Add(C->Curve());
    C->SetOffsetReference("R");
    C->SetOffsetAxis(oaX);
    Edit(*C);
    // Without object snapping, which would pull the point to the curve's own first point.
    Doc.SetProjectOptions(po3DEditing);
    Doc.GetUndoManager().Clear();
    DragPoint({2, 1, 0}, {3.5, 2.5, 0});
    EXPECT_NEAR(C->Curve().Point(1)->X, 3.5, 1e-9);
    EXPECT_NEAR(C->Curve().Point(1)->Y, 1, 1e-9);
    EXPECT_EQ(C->GetChosenEditPlane().Kind, epAlongX);
    Doc.Undo();
    C = At(1);
    EXPECT_NEAR(C->Curve().Point(1)->X, 2, 1e-9);
    // The undone curve still follows its reference.
    EXPECT_EQ(C->Curve().Constraints().OffsetConstraint()->Reference(), &At(0)->Curve());
    EXPECT_EQ(At(0)->Curve().Dependents().Count(), 1);

    // A vector offset holds every point but the first one on its line.
    C->SetOffsetAxis(oaVector);
    C->Curve().Point(1)->Marked = true;
    TEditPlaneSet Allowed = 0xFFFF;
    C->RestrictEditPlanes(Allowed);
    EXPECT_EQ(Allowed, 1u << epAlongVector);
    C->Curve().Point(1)->Marked = false;
    C->Curve().Point(0)->Marked = true;
    Allowed = 0xFFFF;
    C->RestrictEditPlanes(Allowed);
    EXPECT_EQ(Allowed, 0xFFFF);
}

TEST_F(GTarvoCurveTest, ACurveThatCannotBeEvaluatedIsDrawnAsItWasAndSaidOnce) {
    Add(Column, "R");
    TGeoTarvoCurve* C = Add(Shifted, "C");
    TOffsetConstraint::Add(C->Curve());
    C->SetOffsetReference("R");
    C->SetOffsetAxis(oaX);
    TPlanView Plan;
    C->Draw(Plan);
    const std::size_t Drawn = Plan.Calls.size();
    // Offset lines along X never meet a plane normal to Y.
    TPlaneConstraint::Add(C->Curve());
    C->SetPlaneKind(pkY);
    std::vector<std::string> Lines;
    GConsole->OnLine = [&](const std::string& Line) { Lines.push_back(Line); };
    for (int I = 0; I < 2; ++I) {
        TPlanView Again;
        EXPECT_NO_THROW(C->Draw(Again));
        EXPECT_EQ(Again.Calls.size(), Drawn);
    }
    GConsole->OnLine = nullptr;
    EXPECT_EQ(Lines, (std::vector<std::string>{
                         "C: VkMaths - IntersectionOfLineAndPlane: Intersection attempted with a line parallel to plane"}));
}

TEST_F(GTarvoCurveTest, PlaneKindsChooseTheEditPlane) {
    const std::pair<TPlaneKind, TEditPlaneKind> Cases[] = {{pkX, epYZ}, {pkY, epZX}, {pkZ, epXY}, {pkYaw, epInPlane}};
    for (auto [Kind, Expected] : Cases) {
        TGeoTarvoCurve* C = Add(Shifted);
        TPlaneConstraint::Add(C->Curve());
        C->SetPlaneKind(Kind);
        TEditPlaneSet Allowed = 0xFFFF;
        C->RestrictEditPlanes(Allowed);
        EXPECT_EQ(Allowed, 1u << Expected) << int(Kind);
        TEditPlane Plane;
        C->AdjustEditPlane(Plane, Allowed);
        EXPECT_EQ(Plane.Kind, Expected);
    }
}

TEST_F(GTarvoCurveTest, DrivenPointsHaveNoHandleAndTheMenuFollowsTheConstraints) {
    TGeoTarvoCurve* C = Add(Shifted);
    Edit(*C);
    MarkPoints(C->Curve().Spline(), {1, 2, 3});
    TMenuItem* Menu = C->PopupMenu();
    ASSERT_NE(Menu, nullptr);
    EXPECT_TRUE(Menu->Find("Straight Points")->Enabled);
    EXPECT_FALSE(Menu->Find("Blend Points")->Enabled);  // three points are too few for a blend
    EXPECT_TRUE(Menu->Find("Knuckle Point")->Enabled);
    ExpectOneUndoStep(Doc, "straight", [&] { Menu->Find("Straight Points")->Click(); });
    C = At(0);
    MarkPoints(C->Curve().Spline(), {1, 2, 3});
    C->ToggleStraight();
    ASSERT_EQ(C->Curve().Constraints().Count(), 1);
    C->UpdateMenuItems(*C->PopupMenu());
    EXPECT_TRUE(C->PopupMenu()->Find("Straight Points")->Checked);

    TRPointInfo Info(C);
    C->GetPointInfo(2, Info, &View);
    EXPECT_FALSE(Info.IsVisible());
    C->GetPointInfo(3, Info, &View);
    EXPECT_TRUE(Info.IsVisible());
    // A grid edit of a driven point changes nothing.
    C->SetPointCoordinate(2, 0, 9);
    EXPECT_EQ(C->Curve().Point(2)->X, 2);

    // Reversing is refused while a curve follows this one.
    EXPECT_TRUE(C->PopupMenu()->Find("Reverse Points Order")->Enabled);
    TGeoTarvoCurve* D = Add(Column);
    TOffsetConstraint::Add(D->Curve());
    D->SetOffsetReference(C->GetName());
    C->UpdateMenuItems(*C->PopupMenu());
    EXPECT_FALSE(C->PopupMenu()->Find("Reverse Points Order")->Enabled);
}

TEST_F(GTarvoCurveTest, TheBlockReadsBackAndOldSectionsBecomeTarvoCurves) {
    TGeoTarvoCurve* R = Add(Column, "R");
    TGeoTarvoCurve* C = Add(Shifted, "C");
    TOffsetConstraint::Add(C->Curve());
    C->SetOffsetReference("R");
    C->SetOffsetAxis(oaZ);
    R->SetColor(clRed);
    const std::string Saved = SavedText(Doc);
    EXPECT_NE(Saved.find("\nColor=clRed\n\n[TTarvoCurve]\nName=C\n"), std::string::npos) << Saved;
    EXPECT_NE(Saved.find("[TTarvoCurve]\nName=C\nSurfaceOperation=Control\nNumConstraints=1\nTOffsetConstraint\n"
                         " ReferenceCurve=R\n Axis=Z\n"),
              std::string::npos)
        << Saved;
    TGeometryInterface Copy;
    TTextReader In(Saved);
    Copy.LoadFromText(In);
    EXPECT_EQ(SavedText(Copy), Saved);
    auto* C2 = dynamic_cast<TGeoTarvoCurve*>(&Copy.Items(1));
    ASSERT_NE(C2, nullptr);
    EXPECT_EQ(C2->Curve().Constraints().OffsetConstraint()->Reference(), &dynamic_cast<TGeoTarvoCurve&>(Copy.Items(0)).Curve());
    EXPECT_EQ(Copy.Items(0).GetColor(), clRed);

    std::vector<std::string> Lines;
    GConsole->OnLine = [&](const std::string& Line) { Lines.push_back(Line); };
    TGeometryInterface Old;
    TTextReader OldIn("[TCurve]\nOrder=4\nNumPoints=5\n0 0 0\n1 1 0\n2 1 0\n3 0 0\n4 0 0\nNumConstraints=1\n"
                      "TCurveModifier\n FirstIndex=0\n LastIndex=3\nName=Stem\n\n");
    // As a document is read: inside one update of the list.
    Old.BeginUpdate(0);
    Old.LoadFromText(OldIn);
    Old.EndUpdate();
    GConsole->OnLine = nullptr;
    EXPECT_EQ(Lines, (std::vector<std::string>{"Old format TarvoCurve Loaded", "Old format TarvoCurve sucessfully imported"}));
    ASSERT_EQ(Old.Count(), 1);
    auto* Stem = dynamic_cast<TGeoTarvoCurve*>(&Old.Items(0));
    ASSERT_NE(Stem, nullptr);
    EXPECT_EQ(Stem->GetName(), "Stem");
    EXPECT_EQ(Stem->Curve().Count(), 5);
    EXPECT_EQ(Stem->Curve().Constraints().Items(0)->GetDescription(), "Blend : Points[0 -> 3]");
    EXPECT_EQ(SavedText(Old).find("[TCurve]"), std::string::npos);

    // A loader that never reached a list frees its curve and says so.
    Lines.clear();
    GConsole->OnLine = [&](const std::string& Line) { Lines.push_back(Line); };
    {
        TGeoOldCurveLoader Loader;
        TTextReader Again("Order=4\nNumPoints=4\n0 0 0\n1 1 0\n2 1 0\n3 0 0\nNumConstraints=0\nName=Lost\n");
        Loader.LoadFromText(Again);
    }
    GConsole->OnLine = nullptr;
    EXPECT_EQ(Lines, (std::vector<std::string>{"Old format TarvoCurve Loaded", "Old format TarvoCurve not imported properly"}));
}

TEST_F(GTarvoCurveTest, ConversionsReplaceTheEntity) {
    struct Case {
        const char* Caption;
        int Points;  // of the new entity's curve; 0: many (the digitised curve)
        bool BSpline;
    };
    const Case Cases[] = {{"Convert TarvoCurve to Polyline", 0, false},
                          {"Control Points to Polyline", 5, false},
                          {"Convert TarvoCurve to BSpline", 5, true}};
    for (const Case& c : Cases) {
        Doc.Clear();
        TGeoTarvoCurve* C = Add(Shifted, "C");
        ExpectOneUndoStep(Doc, c.Caption, [&] { C->PopupMenu()->Find(c.Caption)->Click(); });
        At(0)->PopupMenu()->Find(c.Caption)->Click();
        ASSERT_EQ(Doc.Count(), 1);
        if (c.BSpline) {
            auto* B = dynamic_cast<TGeoBSpline*>(&Doc.Items(0));
            ASSERT_NE(B, nullptr);
            EXPECT_EQ(PointsOf(B->Spline()), Shifted);
        } else {
            auto* P = dynamic_cast<TGeoPline*>(&Doc.Items(0));
            ASSERT_NE(P, nullptr) << c.Caption;
            if (c.Points > 0)
                EXPECT_EQ(P->Polyline().Count(), c.Points);
            else
                EXPECT_GT(P->Polyline().Count(), 10);
        }
    }
}

TEST_F(GTarvoCurveTest, DeletingPointsStopsAtFourAndTheCreatorMakesACurve) {
    TGeoTarvoCurve* C = Add(Shifted);
    Edit(*C);
    MarkPoints(C->Curve().Spline(), {0, 1, 2});
    C->DeleteSelectedPoints();
    EXPECT_EQ(C->Curve().Count(), 4);
    EXPECT_TRUE(C->Curve().Point(0)->Marked);
    Doc.SetEditedGeometry(nullptr);

    TGeoTarvoCurveCreator Creator(Doc);
    for (const TMVector& P : Column) Creator.GetPoints().AddVector(P);
    Creator.CreateGeometry();
    ASSERT_EQ(Doc.Count(), 2);
    EXPECT_EQ(At(1)->GetName(), "TarvoCurve2");
    EXPECT_EQ(PointsOf(At(1)->Curve().Spline()), Column);
}

}  // namespace
}  // namespace sarnova::test
