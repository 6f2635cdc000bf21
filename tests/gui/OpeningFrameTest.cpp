// The opening frame: the section grid and its buttons, the two group lists of the connection and the
// edits that change the connection as changes of the document; and the group frame's list of the
// openings that connect a group.
#include "naval/ui/OpeningFrame.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTableWidget>
#include <QToolButton>

#include "DialogsScope.h"
#include "document/GPline.h"
#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "naval/GGroup.h"
#include "naval/GOpening.h"
#include "naval/ui/GroupFrame.h"
#include "controls/VkGroupBox.h"

namespace sarnova {
namespace {

using TTexts = std::vector<std::string>;

class OpeningFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterGeometryClasses();
        RegisterOpeningUi();
        RegisterGroupUi();
        auto Line = std::make_unique<TGeoPline>();
        Line->Polyline().AddPoint(0, 0, 0);
        Line->Polyline().AddPoint(1, 0, 0);
        Line->SetName("Rail");
        TGeometry* Rail = Doc.Add(std::move(Line));
        auto AddGroup = [&](std::unique_ptr<TGeoGroup> G, const char* Name) {
            G->SetName(Name);
            G->SetOwnerList(&Doc);
            G->AddMember(Rail);
            Doc.Add(std::move(G));
        };
        AddGroup(std::make_unique<TGeoOpenGroup>(), "Hold1");
        auto Copy = std::make_unique<TGeoPline>();
        Copy->Polyline().AddPoint(0, 0, 0);
        Copy->Polyline().AddPoint(1, 1, 0);
        Copy->SetName("Pipe");
        TGeometry* Pipe = Doc.Add(std::move(Copy));
        auto Closed = std::make_unique<TGeoClosedGroup>();
        Closed->SetName("Tank");
        Closed->SetOwnerList(&Doc);
        Closed->AddMember(Pipe);
        Doc.Add(std::move(Closed));
    }
    void TearDown() override {
        if (Frame != nullptr && Doc.Contains(Opening)) Opening->FreeFrame();
    }
    // An opening of Sections sections of two points each, connecting Hold1 to the sea.
    void Open(int Sections) {
        auto O = std::make_unique<TGeoOpening>();
        O->SetName("Door");
        for (int I = 0; I < Sections; ++I) {
            auto P = std::make_unique<TPolyline>();
            P->AddPoint(I, 0, 0);
            P->AddPoint(I, 2, 4);
            O->Sections().Add(std::move(P));
        }
        O->Connection().Parse("Hold1 -> SEA");
        Opening = static_cast<TGeoOpening*>(Doc.Add(std::move(O)));
        Frame = dynamic_cast<TOpeningFrame*>(Opening->CreateFrameFor(&Owner));
        ASSERT_NE(Frame, nullptr);
    }
    static TTexts Items(const QComboBox* Combo) {
        TTexts T;
        for (int I = 0; I < Combo->count(); ++I) T.push_back(Combo->itemText(I).toStdString());
        return T;
    }
    TRPoint& Point(int Section, int Index) { return *Opening->Sections().Items(Section)->Point(Index); }

    test::TDialogsScope Dialogs;
    QWidget Owner;
    TGeometryInterface Doc;
    TGeoOpening* Opening = nullptr;
    TOpeningFrame* Frame = nullptr;
};

TEST_F(OpeningFrameTest, ShowsTheCurrentSectionAndStepsThrough) {
    Open(7);
    EXPECT_EQ(Frame->VkGroupBox3->GetCaption(), "Section 1 of 7 - 2 Points");
    EXPECT_FALSE(Frame->LeftBut->isEnabled());
    EXPECT_TRUE(Frame->RightBut->isEnabled());
    EXPECT_EQ(Frame->VkGrid1->rowCount(), 3);
    EXPECT_EQ(Frame->VkGrid1->item(0, 2)->text(), "Y");
    EXPECT_EQ(Frame->VkGrid1->item(2, 3)->text(), "4.000");
    EXPECT_TRUE(Frame->RadioButton1->isChecked());
    EXPECT_EQ(Frame->Edit2->text(), "0");

    Frame->MeshEditSelector1MeshSelect(6);
    EXPECT_EQ(Frame->VkGroupBox3->GetCaption(), "Section 7 of 7 - 2 Points");
    EXPECT_FALSE(Frame->RightBut->isEnabled());
    // Deleting the last section makes the one before it current.
    Frame->DelButClick();
    EXPECT_EQ(Opening->Sections().Count(), 6);
    EXPECT_EQ(Frame->VkGroupBox3->GetCaption(), "Section 6 of 6 - 2 Points");
    Frame->LeftButClick();
    EXPECT_EQ(Opening->GetCurrentSection(), 4);
}

TEST_F(OpeningFrameTest, ThreeSectionsAreKept) {
    Open(3);
    EXPECT_FALSE(Frame->DelBut->isEnabled());
    Frame->DelButClick();
    EXPECT_EQ(Opening->Sections().Count(), 3);
}

TEST_F(OpeningFrameTest, PointEditsOfTheCurrentSection) {
    Open(4);
    Frame->RightButClick();
    // P0 (1, 0, 0), P1 (1, 2, 4): above the first 2 P0 - P1, below the last 2 Pn - Pn-1.
    Frame->VkGrid1->setCurrentCell(1, 1);
    Frame->InsAboveButClick();
    Frame->VkGrid1->setCurrentCell(3, 1);
    Frame->InsBelowButClick();
    Frame->VkGrid1->setCurrentCell(2, 1);
    Frame->InsBelowButClick();
    const TPolyline& S = *Opening->Sections().Items(1);
    const TMVector Expected[] = {{1, -2, -4}, {1, 0, 0}, {1, 1, 2}, {1, 2, 4}, {1, 4, 8}};
    ASSERT_EQ(S.Count(), 5);
    for (int I = 0; I < 5; ++I) EXPECT_EQ(S.Point(I)->Vector(), Expected[I]) << I;
    EXPECT_EQ(Frame->VkGroupBox3->GetCaption(), "Section 2 of 4 - 5 Points");

    Frame->VkGrid1->item(3, 2)->setText("7.5");
    EXPECT_DOUBLE_EQ(Point(1, 2).Y, 7.5);
    Frame->VkGrid1->item(3, 2)->setText("no number");
    EXPECT_DOUBLE_EQ(Point(1, 2).Y, 7.5);
    EXPECT_EQ(Frame->VkGrid1->item(3, 2)->text(), "7.500");

    // The point row delete removes that point while two remain, and is disabled below that.
    Frame->VkGrid1->setCurrentCell(1, 1);
    for (int I = 0; I < 3; ++I) Frame->DelRowButClick();
    EXPECT_EQ(S.Count(), 2);
    EXPECT_FALSE(Frame->DelRowBut->isEnabled());
    Frame->DelRowButClick();
    EXPECT_EQ(S.Count(), 2);
}

TEST_F(OpeningFrameTest, GroupListsLeaveOutTheOtherEnd) {
    Open(3);
    EXPECT_EQ(Items(Frame->ComboBox1), (TTexts{"Sea", "Hold1", "Tank"}));
    EXPECT_EQ(Frame->ComboBox1->currentText(), "Hold1");
    EXPECT_EQ(Items(Frame->ComboBox2), (TTexts{"Sea", "Tank"}));
    EXPECT_EQ(Frame->ComboBox2->currentText(), "Sea");

    // Choosing the closed group as end B takes it out of end A's list; the change can be undone.
    Doc.GetUndoManager().Clear();
    Frame->ComboBox2->setCurrentIndex(1);
    Frame->ComboBox2Change();
    EXPECT_EQ(Opening->Connection().GetEndB(), "Tank");
    EXPECT_EQ(Items(Frame->ComboBox1), (TTexts{"Sea", "Hold1"}));
    EXPECT_TRUE(Doc.IsChanged());
    Doc.Undo();
    EXPECT_EQ(Opening->Connection().GetEndB(), "SEA");

    Frame->RadioButtonClick(2);
    EXPECT_EQ(Opening->Connection().Direction, 2);
    Frame->Edit3->setText("12.5");
    Frame->Edit3Change();
    EXPECT_DOUBLE_EQ(Opening->Connection().OpeningTime, 12.5);
    Frame->Edit2->setText("oops");
    Frame->Edit2Change();
    EXPECT_DOUBLE_EQ(Opening->Connection().HeadOfWater, 0);
}

TEST_F(OpeningFrameTest, GroupFrameListsTheConnectedOpenings) {
    Open(3);
    auto* Group = static_cast<TGeoGroup*>(Doc.FindByName("Hold1"));
    QWidget GroupOwner;
    auto* GroupFrame = dynamic_cast<TGroupFrame*>(Group->CreateFrameFor(&GroupOwner));
    ASSERT_NE(GroupFrame, nullptr);
    ASSERT_EQ(GroupFrame->ListBox1->count(), 1);
    EXPECT_EQ(GroupFrame->ListBox1->item(0)->text(), "Door");
    Group->FreeFrame();
}

}  // namespace
}  // namespace sarnova
