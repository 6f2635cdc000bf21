// The property frame of the control-net surfaces: the edited line in its grid, edits of a cell and
// "Float Values" as one undo step each, a row selecting its point, and the selector's clicks in the
// insert modes.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QToolButton>

#include <memory>

#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "entities/GBSurf.h"
#include "entities/GMesh.h"
#include "entities/ui/MeshFrame.h"
#include "shell/ControlsTestSupport.h"
#include "DialogsScope.h"
#include "surfaces/BSurface.h"
#include "surfaces/Surface.h"

namespace sarnova {
namespace {

class MeshFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterGeometryClasses();
        RegisterSurfaceUi();
        auto Entity = std::make_unique<TGeoMesh>();
        Entity->Net().SetSize(3, 2);
        for (int I = 0; I < 3; ++I)
            for (int J = 0; J < 2; ++J) Entity->Net().Point(I, J).SetVector({double(I), double(J), 0.5});
        M = static_cast<TGeoMesh*>(Doc.Add(std::move(Entity)));
        Doc.GetUndoManager().Clear();
        Frame = dynamic_cast<TMeshFrame*>(M->CreateFrameFor(&Owner));
        ASSERT_NE(Frame, nullptr);
    }
    void TearDown() override { M->FreeFrame(); }

    QWidget Owner;
    TGeometryInterface Doc;
    TGeoMesh* M = nullptr;
    TMeshFrame* Frame = nullptr;
};

TEST_F(MeshFrameTest, ShowsTheEditedLine) {
    EXPECT_EQ(Frame->EntityClass->text(), "Mesh");
    EXPECT_FALSE(Frame->VkGrid1->isVisibleTo(Frame));
    EXPECT_FALSE(Frame->DelBut->isEnabled());
    Frame->UBut->click();
    EXPECT_EQ(M->GetEditView(), mvU);
    ASSERT_EQ(Frame->VkGrid1->rowCount(), 3);
    EXPECT_EQ(Frame->VkGrid1->item(0, 0)->text(), "U=0");
    Frame->IncEditT->click();
    EXPECT_EQ(Frame->VkGrid1->item(0, 0)->text(), "U=1");
    EXPECT_EQ(Frame->VkGrid1->item(2, 1)->text(), "1.000");
    EXPECT_EQ(Frame->VkGrid1->item(2, 2)->text(), "1.000");
    EXPECT_EQ(Frame->VkGrid1->item(2, 3)->text(), "0.500");
    EXPECT_TRUE(Frame->DelBut->isEnabled());
}

TEST_F(MeshFrameTest, AnEditedCellIsOneUndoStep) {
    Frame->VBut->click();
    Frame->VkGrid1->item(3, 3)->setText("7,5");
    EXPECT_EQ(M->Net().Point(2, 0).Z, 7.5);
    Doc.Undo();
    EXPECT_EQ(M->Net().Point(2, 0).Z, 0.5);
}

// A typed text that is no finite number leaves the point and the undo list alone and the cell shows
// the point again.
TEST_F(MeshFrameTest, ACellRefusesWhatIsNoFiniteNumber) {
    Frame->VBut->click();
    Doc.GetUndoManager().Clear();
    for (const char* Text : {"1e400", "-1E400", "nan", "inf", "abc", ""}) {
        Frame->VkGrid1->item(3, 3)->setText(Text);
        EXPECT_EQ(M->Net().Point(2, 0).Z, 0.5) << Text;
        EXPECT_EQ(Frame->VkGrid1->item(3, 3)->text(), "0.500") << Text;
    }
    EXPECT_FALSE(Doc.CanUndo());
}

TEST_F(MeshFrameTest, InsertModeTakesOneSelectorClick) {
    Frame->UBut->click();
    Frame->AddUBut->click();
    EXPECT_EQ(Frame->GetInsertMode(), 2);
    Frame->MeshSelect(0, 1);
    EXPECT_EQ(M->Net().NumU(), 4);
    EXPECT_EQ(Frame->GetInsertMode(), 0);
    Frame->MeshSelect(2, 2);  // an ordinary click picks the line
    EXPECT_EQ(M->GetEditIndex(), 2);
    EXPECT_EQ(M->Net().NumU(), 4);
}

TEST_F(MeshFrameTest, TheGridsEditButtonsChooseTheView) {
    Frame->GridVBut->click();
    EXPECT_EQ(M->GetEditView(), mvV);
    EXPECT_TRUE(Frame->GridVBut->isChecked());
    EXPECT_TRUE(Frame->VBut->isChecked());
    EXPECT_FALSE(Frame->GridUBut->isChecked());
    Frame->GridUBut->click();
    EXPECT_EQ(M->GetEditView(), mvU);
    EXPECT_TRUE(Frame->UBut->isChecked());
    Frame->UVBut->click();
    EXPECT_FALSE(Frame->GridUBut->isChecked());
    EXPECT_FALSE(Frame->GridVBut->isChecked());
    EXPECT_FALSE(Frame->FloodValueBut->isEnabled());
}

TEST_F(MeshFrameTest, AGridRowSelectsItsPointAloneOnTheEditedLine) {
    Doc.SetEditedGeometry(M);
    Frame->VBut->click();  // V=0: the points (0, 0), (1, 0), (2, 0)
    M->Net().Point(0, 0).Marked = true;
    M->Net().Point(1, 1).Marked = true;  // on another line: left alone
    Frame->VkGrid1->setCurrentCell(2, 1);
    EXPECT_FALSE(M->Net().Point(0, 0).Marked);
    EXPECT_TRUE(M->Net().Point(1, 0).Marked);
    EXPECT_TRUE(M->Net().Point(1, 1).Marked);
    EXPECT_TRUE(Frame->FloodValueBut->isEnabled());
    Doc.SetEditedGeometry(nullptr);
}

TEST_F(MeshFrameTest, FloatValuesSetsOneCoordinateOfTheEditedLineAsOneUndoStep) {
    Frame->UBut->click();
    Frame->IncEditT->click();  // U=1: the points (1, 0) and (1, 1)
    Frame->VkGrid1->setCurrentCell(1, 3);
    test::WhenModal([](QWidget* Dialog) {
        Dialog->findChild<QLineEdit*>("Edit1")->setText("-2");
        Dialog->findChild<QPushButton*>("Button1")->click();
    });
    Frame->FloodValueBut->click();
    EXPECT_DOUBLE_EQ(M->Net().Point(1, 0).Z, -2);
    EXPECT_DOUBLE_EQ(M->Net().Point(1, 1).Z, -2);
    EXPECT_DOUBLE_EQ(M->Net().Point(0, 0).Z, 0.5);
    EXPECT_EQ(Frame->VkGrid1->item(2, 3)->text(), "-2.000");
    ASSERT_TRUE(Doc.CanUndo());
    Doc.Undo();
    EXPECT_DOUBLE_EQ(M->Net().Point(1, 1).Z, 0.5);

    // Cancelled, it changes nothing.
    Doc.GetUndoManager().Clear();
    test::WhenModal([](QWidget* Dialog) { Dialog->findChild<QPushButton*>("Button2")->click(); });
    Frame->FloodValueBut->click();
    EXPECT_FALSE(Doc.CanUndo());
}

TEST_F(MeshFrameTest, BSplineSurfaceShowsItsOrdersAndLineCounts) {
    EXPECT_FALSE(Frame->BSplineGroup->isVisibleTo(Frame));
    EXPECT_FALSE(Frame->SubDivU->isEnabled());

    auto Entity = std::make_unique<TGeoBSurf>();
    Entity->Surface().SetSize(4, 5);
    Entity->Surface().Clear();
    for (int I = 0; I < 4; ++I)
        for (int J = 0; J < 5; ++J) Entity->Surface().Point(I, J).SetVector({double(I), double(J), 0});
    auto* S = static_cast<TGeoBSurf*>(Doc.Add(std::move(Entity)));
    auto* SFrame = dynamic_cast<TMeshFrame*>(S->CreateFrameFor(&Owner));
    ASSERT_NE(SFrame, nullptr);
    EXPECT_EQ(SFrame->EntityClass->text(), "BSplineSurface");
    EXPECT_TRUE(SFrame->BSplineGroup->isVisibleTo(SFrame));
    ASSERT_EQ(SFrame->ComboBox1->count(), 3);
    EXPECT_EQ(SFrame->ComboBox1->itemText(0), "2 (Linear)");
    EXPECT_EQ(SFrame->ComboBox1->itemText(1), "3 (Quadratic)");
    EXPECT_EQ(SFrame->ComboBox1->itemText(2), "4 (Bezier)");
    EXPECT_EQ(SFrame->ComboBox2->itemText(2), "4 (Cubic)");
    EXPECT_EQ(SFrame->ComboBox2->currentIndex(), 2);

    SFrame->ComboBox1->activated(1);
    EXPECT_EQ(S->Surface().OrderU(), 3);
    SFrame->VkSpinEdit2->setValue(7);
    EXPECT_EQ(S->GetNumVLine(), 7);
    SFrame->SubDivU->click();  // a knot in each of the two spans of order 3 over 4 points
    EXPECT_EQ(S->Surface().NumU(), 6);

    // On knots that are not open the order lists are locked, and a refused change keeps the order.
    S->Surface().KnotType = ktNonUniform;
    SFrame->Refresh();
    EXPECT_FALSE(SFrame->ComboBox1->isEnabled());
    {
        test::TDialogsScope Scope;
        Scope.Dialogs.Answer(TModalResult::mrCancel);
        SFrame->ComboBox2->activated(1);
        EXPECT_EQ(S->Surface().OrderV(), 4);
        EXPECT_EQ(SFrame->ComboBox2->currentIndex(), 2);
    }
    S->FreeFrame();
}

}  // namespace
}  // namespace sarnova
