// The polyline-list frame and the section tools' dialogs: navigation, the point grid and its buttons,
// and the answers the dialogs give, also when they are cancelled or closed.
#include "naval/ui/PlistFrame.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QToolButton>

#include <memory>

#include "DialogsScope.h"
#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "naval/ui/PolyMeshDlg.h"
#include "naval/ui/SectionUnit.h"
#include "naval/ui/WebFramesDlg.h"
#include "platform/Menu.h"
#include "shell/ControlsTestSupport.h"
#include "controls/MeshEditSelector.h"
#include "controls/VkGroupBox.h"

namespace sarnova {
namespace {

// Count sections of Points points each, at x = 0 .. 100 evenly.
std::unique_ptr<TGeoPList> Sections(int Count, int Points) {
    auto Entity = std::make_unique<TGeoPList>();
    for (int I = 0; I < Count; ++I) {
        auto P = std::make_unique<TPolyline>();
        for (int J = 0; J < Points; ++J) P->AddPoint(Count > 1 ? 100.0 * I / (Count - 1) : 0, J, J * J);
        Entity->Polylines().Add(std::move(P));
    }
    return Entity;
}

class PlistFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterGeometryClasses();
        RegisterPlistUi();
    }
    void TearDown() override {
        if (Frame != nullptr) List->FreeFrame();
        PlistDialogs() = {};
    }
    void Open(std::unique_ptr<TGeoPList> Entity) {
        List = static_cast<TGeoPList*>(Doc.Add(std::move(Entity)));
        Doc.GetUndoManager().Clear();
        Frame = dynamic_cast<TPlistFrame*>(List->CreateFrameFor(&Owner));
        ASSERT_NE(Frame, nullptr);
    }
    void SelectRows(int Top, int Bottom) {
        Frame->VkGrid1->clearSelection();
        Frame->VkGrid1->setRangeSelected(QTableWidgetSelectionRange(Top, 0, Bottom, 3), true);
    }
    std::vector<double> Xs() const {
        std::vector<double> Result;
        const TPolyline& P = *List->CurrentPolyline();
        for (int I = 0; I < P.Count(); ++I) Result.push_back(P.Point(I)->X);
        return Result;
    }

    test::TDialogsScope Dialogs;
    QWidget Owner;
    TGeometryInterface Doc;
    TGeoPList* List = nullptr;
    TPlistFrame* Frame = nullptr;
};

TEST_F(PlistFrameTest, ShowsTheCurrentSectionAndSteps) {
    Open(Sections(11, 5));
    EXPECT_EQ(Frame->EntityClass->text(), "PolylineList");
    EXPECT_EQ(Frame->VkGroupBox3->GetCaption(), "Polyline 1 of 11 - 5 Points");
    EXPECT_EQ(Frame->VkGrid1->rowCount(), 6);
    EXPECT_EQ(Frame->VkGrid1->item(0, 1)->text(), "X");
    EXPECT_EQ(Frame->VkGrid1->item(5, 3)->text(), "16.000");
    EXPECT_EQ(Frame->MeshEditSelector1->GetGridUCount(), 11);
    EXPECT_FALSE(Frame->LeftBut->isEnabled());
    EXPECT_TRUE(Frame->RightBut->isEnabled());
    Frame->RightBut->click();
    EXPECT_EQ(Frame->VkGroupBox3->GetCaption(), "Polyline 2 of 11 - 5 Points");
    EXPECT_EQ(Frame->VkGrid1->item(1, 1)->text(), "10.000");
    Frame->MeshEditSelector1MeshSelect(10);
    EXPECT_EQ(Frame->MeshEditSelector1->GetGridUSelected(), 10);
    EXPECT_FALSE(Frame->RightBut->isEnabled());
    EXPECT_TRUE(Frame->DelBut->isEnabled());
    Frame->DelBut->click();
    EXPECT_EQ(Frame->VkGroupBox3->GetCaption(), "Polyline 10 of 10 - 5 Points");
}

TEST_F(PlistFrameTest, AListOfThreeKeepsItsSections) {
    Open(Sections(3, 2));
    EXPECT_FALSE(Frame->DelBut->isEnabled());
    Frame->DelButClick();
    EXPECT_EQ(List->Polylines().Count(), 3);
    EXPECT_FALSE(Doc.CanUndo());
}

TEST_F(PlistFrameTest, InsertsBeyondTheEndsOfTheSelectedRow) {
    auto Entity = std::make_unique<TGeoPList>();
    auto P = std::make_unique<TPolyline>();
    P->AddPoint(10, 0, 0);
    P->AddPoint(12, 0, 0);
    Entity->Polylines().Add(std::move(P));
    Open(std::move(Entity));
    SelectRows(1, 1);
    EXPECT_TRUE(Frame->InsAboveBut->isEnabled());
    Frame->InsAboveBut->click();
    EXPECT_EQ(Xs(), (std::vector<double>{8, 10, 12}));
    SelectRows(3, 3);
    Frame->InsBelowBut->click();
    EXPECT_EQ(Xs(), (std::vector<double>{8, 10, 12, 14}));
    EXPECT_EQ(Frame->VkGrid1->rowCount(), 5);
}

TEST_F(PlistFrameTest, SelectedRowsSelectPointsWhileEditing) {
    Open(Sections(4, 5));
    List->SetSelected(true);
    List->SetEditing(true);
    ASSERT_TRUE(List->Editing());
    SelectRows(2, 4);
    for (int I = 0; I < 5; ++I) EXPECT_EQ(List->CurrentPolyline()->Point(I)->Marked, I >= 1 && I <= 3) << I;
    EXPECT_TRUE(Frame->DelRowBut->isEnabled());
    EXPECT_FALSE(Frame->InsAboveBut->isEnabled());
    EXPECT_FALSE(Frame->InsBelowBut->isEnabled());
    EXPECT_FALSE(Frame->FloodValueBut->isEnabled());
    Frame->DelRowBut->click();
    EXPECT_EQ(List->CurrentPolyline()->Count(), 2);
}

TEST_F(PlistFrameTest, AnEditedCellIsOneUndoStep) {
    Open(Sections(4, 3));
    Frame->VkGrid1->item(2, 2)->setText("7,5");
    EXPECT_EQ(List->CurrentPolyline()->Point(1)->Y, 7.5);
    Frame->VkGrid1->item(2, 3)->setText("deep");
    EXPECT_EQ(Frame->VkGrid1->item(2, 3)->text(), "1.000");
    Doc.Undo();
    EXPECT_EQ(List->CurrentPolyline()->Point(1)->Y, 1);
    EXPECT_FALSE(Doc.CanUndo());
}

TEST_F(PlistFrameTest, TheSectionDialogShowsCountAndSpacingAndResections) {
    const std::unique_ptr<TGeoPList> Entity = Sections(11, 3);
    TSectionForm Form;
    Form.Setup(Entity->Polylines());
    EXPECT_EQ(Form.GetForm().windowTitle(), "Section Spacing");
    EXPECT_EQ(Form.Edit1->text(), "11");
    EXPECT_EQ(Form.Edit2->text(), "9.091");
    EXPECT_FALSE(Form.Edit2->isEnabled());
    Form.RadioButton2->click();
    EXPECT_TRUE(Form.Edit2->isEnabled());
    EXPECT_FALSE(Form.Edit1->isEnabled());
    Form.RadioButton1->click();

    // Both edits are read whichever button is checked.
    Form.Edit2->setText("wide");
    Form.Edit1->setText("5");
    Form.Button1->click();
    EXPECT_EQ(Form.GetForm().result(), 0);
    ASSERT_EQ(Dialogs.Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Dialogs.Dialogs.Shown[0].Text.rfind("Unable to convert text to number", 0), 0u);
    EXPECT_EQ(Entity->Polylines().Count(), 11);
    Form.Edit2->setText("20");
    Form.Button1->click();
    EXPECT_EQ(Form.GetForm().result(), static_cast<int>(TModalResult::mrOk));
    EXPECT_EQ(Entity->Polylines().Count(), 5);
}

TEST_F(PlistFrameTest, TheSectionItemRunsTheDialogAsOneUndoStep) {
    Open(Sections(11, 3));
    test::WhenModal([](QWidget* Dialog) {
        auto* Edit = Dialog->findChildren<QLineEdit*>().first();
        Edit->setText("6");
        for (QPushButton* B : Dialog->findChildren<QPushButton*>())
            if (B->text() == "OK") B->click();
    });
    List->PopupMenu()->Find("Change Section Spacing...")->Click();
    EXPECT_EQ(List->Polylines().Count(), 6);
    Doc.Undo();
    EXPECT_EQ(List->Polylines().Count(), 11);
}

TEST_F(PlistFrameTest, TheWebFrameAndMeshDialogsAnswerOnlyForOK) {
    {
        TWebFramesForm Form;
        EXPECT_EQ(Form.Edit1->text(), "0.3");
        EXPECT_EQ(Form.Edit2->text(), "0.01");
        Form.Button2->click();
        EXPECT_EQ(Form.Result.Depth, 0);
        EXPECT_EQ(Form.Result.Thickness, 0);
        Form.Button1->click();
        EXPECT_EQ(Form.Result.Depth, 0.3);
        EXPECT_EQ(Form.Result.Thickness, 0.01);
    }
    // Cancelled, the operation adds nothing.
    Open(Sections(3, 3));
    test::WhenModal([](QWidget* Dialog) { Dialog->close(); });
    List->PopupMenu()->Find("Generate Web Frames...")->Click();
    EXPECT_EQ(Doc.Count(), 1);

    TPolyMeshForm Mesh;
    EXPECT_TRUE(Mesh.Result.Cancelled);
    Mesh.CheckBox2->setChecked(true);
    Mesh.Edit1->setText("90");
    Mesh.Button1->click();
    EXPECT_FALSE(Mesh.Result.Cancelled);
    EXPECT_NEAR(Mesh.Result.KnuckleAngle, 1.5707963267948966, 1e-15);
    EXPECT_EQ(Mesh.Result.SegmentLength, 0.5);
    EXPECT_FALSE(Mesh.Result.CapStart);
    EXPECT_TRUE(Mesh.Result.CapEnd);

    // Closed by its close box, the mesh dialog counts as cancelled: no mesh of segment length 0.
    test::WhenModal([](QWidget* Dialog) { Dialog->close(); });
    List->PopupMenu()->Find("Generate Polygon Mesh")->Click();
    EXPECT_EQ(Doc.Count(), 1);
}

}  // namespace
}  // namespace sarnova
