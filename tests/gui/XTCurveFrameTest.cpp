// The property frame of the curve-network curve: every control's edit is one undo step, the plane's
// angle is typed in degrees, the offset list offers only curves the curve may rest on, and the grid
// shows reference points in blue and follows a drag.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QToolButton>

#include <functional>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "curvenet/GXTCurve.h"
#include "curvenet/XTReferencePoints.h"
#include "curvenet/ui/XTCurveFrame.h"
#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "shell/ControlsTestSupport.h"
#include "controls/VkSpin.h"
#include "tests/document/CurveFixtures.h"
#include "tests/document/FakeView.h"

namespace sarnova {
namespace {

class XTCurveFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterGeometryClasses();
        RegisterXTCurveFrame();
        Build();
    }
    void TearDown() override { C->FreeFrame(); }

    // Host, the curve C that the frame shows, and Dependent, whose first vertex rests on C's second.
    void Build() {
        Host = Add("Host", {{0, 5, 0}, {4, 5, 0}});
        C = Add("C", {{1, 0, 0}, {2, 1, 0}, {4, 1, 0}});
        // Rests on C, so C may not be offset from it.
        Dependent = Add("Dependent", {{2, 1, 0}, {2, 3, 0}});
        TXTSnapTarget Snap;
        Snap.Curve = &C->Curve();
        Snap.Point = Dependent->Curve().PointAt(0);
        Snap.VertexIndex = 1;
        Snap.WorldPosition = {2, 1, 0};
        Snap.Kind = skVertex;
        Dependent->Curve().ApplySnap(Snap);
        Doc.GetUndoManager().Clear();
        Frame = dynamic_cast<TXTCurveFrame*>(C->CreateFrameFor(&Owner));
        ASSERT_NE(Frame, nullptr);
    }
    void Rebuild() {
        C->FreeFrame();
        Doc.Clear();
        Build();
    }

    TGeoXTCurve* Add(const std::string& Name, std::initializer_list<TMVector> Points) {
        auto E = std::make_unique<TGeoXTCurve>();
        for (const TMVector& P : Points) E->Curve().AddPointAt(P);
        E->SetName(Name);
        return static_cast<TGeoXTCurve*>(Doc.Add(std::move(E)));
    }
    TMVector Vertex(int I) const { return C->Curve().PointAt(I)->GetPosition(); }
    std::vector<std::string> OffsetList() const {
        std::vector<std::string> Names;
        for (int I = 0; I < Frame->cbOffsetContraintCurve->count(); ++I)
            Names.push_back(Frame->cbOffsetContraintCurve->itemText(I).toStdString());
        return Names;
    }

    QWidget Owner;
    TGeometryInterface Doc;
    TGeoXTCurve* Host = nullptr;
    TGeoXTCurve* C = nullptr;
    TGeoXTCurve* Dependent = nullptr;
    TXTCurveFrame* Frame = nullptr;
};

TEST_F(XTCurveFrameTest, EveryControlEditsTheCurveAsOneUndoStep) {
    struct TCase {
        const char* What;
        std::function<void()> Prepare;  // outside the step
        std::function<void()> Edit;
        std::function<void()> Check;  // right after the edit
    };
    const auto Near = [](const TMVector& A, const TMVector& B) { return VectorDistance(A, B) < 1e-9; };
    const TCase Cases[] = {
        {"roll plane", {}, [&] { Frame->PlaneButtons[3]->click(); },
         [&] {
             const TXTPlaneConstraint* P = C->Curve().Constraints().PlaneConstraint();
             ASSERT_NE(P, nullptr);
             EXPECT_EQ(P->Direction, pdRoll);
             EXPECT_EQ(Frame->Label4->text(), "Roll =");
             EXPECT_TRUE(Frame->VkSpinEdit1->isEnabled());
         }},
        {"roll angle in degrees", [&] { Frame->PlaneButtons[3]->click(); }, [&] { Frame->VkSpinEdit1->SetValue(30); },
         [&] {
             EXPECT_NEAR(C->Curve().Constraints().PlaneConstraint()->Parameter, 30 * std::numbers::pi / 180, 1e-12);
             EXPECT_FLOAT_EQ(Frame->VkSpinEdit1->GetValue(), 30);
         }},
        {"none clears the plane", [&] { Frame->PlaneButtons[0]->click(); }, [&] { Frame->RBNoLocationSurface->click(); },
         [&] {
             EXPECT_FALSE(C->Curve().Constraints().HasPlaneConstraint());
             EXPECT_TRUE(Frame->RBNoLocationSurface->isChecked());
             EXPECT_FALSE(Frame->VkSpinEdit1->isEnabled());
         }},
        {"offset from a curve", {}, [&] { emit Frame->cbOffsetContraintCurve->activated(1); },
         [&] {
             EXPECT_TRUE(C->Curve().Constraints().HasConstraint<TXTOffsetConstraint>());
             EXPECT_EQ(Frame->cbOffsetContraintCurve->currentText(), "Host");
         }},
        {"offset removed by <none>", [&] { emit Frame->cbOffsetContraintCurve->activated(1); },
         [&] { emit Frame->cbOffsetContraintCurve->activated(0); },
         [&] { EXPECT_FALSE(C->Curve().Constraints().HasConstraint<TXTOffsetConstraint>()); }},
        {"surface tangent", {}, [&] { Frame->TangentButtons[5]->click(); },
         [&] { EXPECT_EQ(C->Curve().GetRibbonKind(), rkNormalToCurve); }},
        {"chord length option", {}, [&] { Frame->CheckBox1->click(); },
         [&] { EXPECT_EQ(C->Curve().Options(), coFitChordLength); }},
        {"typed coordinate", {}, [&] { Frame->VkGrid1->item(2, 2)->setText("7,5"); },
         [&] {
             EXPECT_TRUE(Near(Vertex(1), {2, 7.5, 0}));
             EXPECT_EQ(Frame->VkGrid1->item(2, 2)->text(), "7.500");
         }},
        {"insert above the first row", [&] { Frame->VkGrid1->setCurrentCell(1, 1); }, [&] { Frame->InsAboveBut->click(); },
         [&] {
             ASSERT_EQ(C->Curve().PointCount(), 4);
             EXPECT_TRUE(Near(Vertex(0), {0, -1, 0}));  // 2 P0 - P1
             EXPECT_EQ(Frame->VkGrid1->rowCount(), 5);
         }},
        {"insert above a middle row", [&] { Frame->VkGrid1->setCurrentCell(3, 1); }, [&] { Frame->InsAboveBut->click(); },
         [&] { EXPECT_TRUE(Near(Vertex(2), {3, 1, 0})); }},
        {"insert below the last row", [&] { Frame->VkGrid1->setCurrentCell(3, 1); }, [&] { Frame->InsBelowBut->click(); },
         [&] { EXPECT_TRUE(Near(Vertex(3), {6, 1, 0})); }},
        {"delete the selected rows", [&] { Frame->VkGrid1->setRangeSelected(QTableWidgetSelectionRange(1, 1, 2, 3), true); },
         [&] { Frame->DelRowBut->click(); },
         [&] {
             ASSERT_EQ(C->Curve().PointCount(), 2);  // never fewer
             EXPECT_TRUE(Near(Vertex(1), {4, 1, 0}));
         }},
        {"fill every vertex", [&] { Frame->VkGrid1->setRangeSelected(QTableWidgetSelectionRange(2, 3, 2, 3), true); },
         [&] {
             test::WhenModal([](QWidget* Dialog) {
                 Dialog->findChild<QLineEdit*>("Edit1")->setText("2");
                 Dialog->findChild<QPushButton*>("Button1")->click();
             });
             Frame->VkGrid1->setCurrentCell(2, 3);
             Frame->FloodValueBut->click();
         },
         [&] {
             for (int I = 0; I < 3; ++I) EXPECT_EQ(Vertex(I).Z, 2) << I;
         }},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.What);
        if (Case.Prepare) Case.Prepare();
        test::ExpectOneUndoStep(Doc, Case.What, [&] {
            Case.Edit();
            Case.Check();
        });
        Rebuild();
    }
}

TEST_F(XTCurveFrameTest, TheOffsetListLeavesOutTheCurveAndWhatRestsOnIt) {
    EXPECT_EQ(OffsetList(), (std::vector<std::string>{"<none>", "Host"}));
    EXPECT_EQ(Frame->cbOffsetContraintCurve->currentIndex(), 0);
    // A curve in a plane may not be offset.
    Frame->PlaneButtons[2]->click();
    EXPECT_EQ(OffsetList(), (std::vector<std::string>{"<none>"}));
    EXPECT_FALSE(Frame->rbodX->isEnabled());
}

TEST_F(XTCurveFrameTest, ReferencePointsShowInBlueADragMovesTheRowsAndPickedRowsSelect) {
    QWidget DependentOwner;
    auto* Other = dynamic_cast<TXTCurveFrame*>(Dependent->CreateFrameFor(&DependentOwner));
    ASSERT_NE(Other, nullptr);
    EXPECT_EQ(Other->VkGrid1->item(1, 1)->foreground().color(), QColor(Qt::blue));
    EXPECT_NE(Other->VkGrid1->item(2, 1)->foreground().color(), QColor(Qt::blue));
    Dependent->FreeFrame();

    // A plane without a direction constrains nothing: showing the curve drops it.
    AddPlaneConstraint(C->Curve());
    C->UpdateFrame();
    EXPECT_FALSE(C->Curve().Constraints().HasPlaneConstraint());
    EXPECT_TRUE(Frame->RBNoLocationSurface->isChecked());

    // While vertex 2 follows the mouse the grid's row follows it.
    test::TFakeView View;
    C->Curve().PointAt(2)->Selected = true;
    C->BeginDrag({0, 0}, Vertex(2), View, 0, ZeroVector);
    C->Drag({0, 0}, Vertex(2), View, 0, {0.5, 2, 0});
    EXPECT_EQ(Frame->VkGrid1->item(3, 1)->text(), "4.500");
    EXPECT_EQ(Frame->VkGrid1->item(3, 2)->text(), "3.000");
    C->EndDrag({0, 0}, Vertex(2), View, 0, {0.5, 2, 0});

    // In edit mode the rows picked in the grid are the selected vertices.
    Doc.SetEditedGeometry(C);
    Frame->VkGrid1->setRangeSelected(QTableWidgetSelectionRange(1, 1, 2, 3), true);
    EXPECT_TRUE(C->Curve().PointAt(0)->Selected);
    EXPECT_TRUE(C->Curve().PointAt(1)->Selected);
    EXPECT_FALSE(C->Curve().PointAt(2)->Selected);
    EXPECT_FALSE(Frame->InsAboveBut->isEnabled());
    EXPECT_TRUE(Frame->DelRowBut->isEnabled());
    EXPECT_FALSE(Frame->FloodValueBut->isEnabled());
    Doc.SetEditedGeometry(nullptr);
}

}  // namespace
}  // namespace sarnova
