// The group frame: the members and parameters it shows, and what its buttons and edits change.
#include "naval/ui/GroupFrame.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeWidget>

#include "DialogsScope.h"
#include "document/GPline.h"
#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "foundation/Polyline.h"
#include "naval/GGroup.h"

namespace sarnova {
namespace {

class GroupFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterGeometryClasses();
        RegisterGroupUi();
        for (const char* Name : {"A", "B", ""}) {
            auto P = std::make_unique<TGeoPline>();
            P->Polyline().AddPoint(0, 0, 0);
            P->Polyline().AddPoint(1, 1, 0);
            P->SetName(Name);
            Lines.push_back(static_cast<TGeoPline*>(Doc.Add(std::move(P))));
        }
    }
    void TearDown() override {
        if (Frame != nullptr && Doc.Contains(Group)) Group->FreeFrame();
    }
    void Open(std::unique_ptr<TGeoGroup> G) {
        G->SetOwnerList(&Doc);
        for (TGeoPline* L : Lines) G->AddMember(L);
        Group = static_cast<TGeoGroup*>(Doc.Add(std::move(G)));
        Frame = dynamic_cast<TGroupFrame*>(Group->CreateFrameFor(&Owner));
        ASSERT_NE(Frame, nullptr);
    }
    std::vector<std::string> Column(int C) const {
        std::vector<std::string> Texts;
        for (int I = 0; I < Frame->GroupListView->topLevelItemCount(); ++I)
            Texts.push_back(Frame->GroupListView->topLevelItem(I)->text(C).toStdString());
        return Texts;
    }
    std::string GridText(int Row, int C) const { return Frame->VkGrid1->item(Row, C)->text().toStdString(); }

    test::TDialogsScope Dialogs;
    QWidget Owner;
    TGeometryInterface Doc;
    std::vector<TGeoPline*> Lines;
    TGeoGroup* Group = nullptr;
    TGroupFrame* Frame = nullptr;
};

using TTexts = std::vector<std::string>;

TEST_F(GroupFrameTest, ClosedGroupListsItsCopiesAndRemovesThem) {
    Lines.pop_back();  // the unnamed line stays out of the closed group
    Open(std::make_unique<TGeoClosedGroup>());
    EXPECT_EQ(Frame->EntityClass->text(), "ClosedGroup");
    EXPECT_EQ(Column(0), (TTexts{"A", "B"}));
    EXPECT_EQ(Column(1), (TTexts{"TPolyline", "TPolyline"}));
    EXPECT_FALSE(Frame->DelParamBut->isEnabled());

    Frame->GroupListView->topLevelItem(0)->setSelected(true);
    Frame->DeleteEntities->click();
    EXPECT_EQ(Column(0), (TTexts{"B"}));
    EXPECT_EQ(Group->GetMemberCount(), 1);
}

TEST_F(GroupFrameTest, OpenGroupMembersAndParameters) {
    Open(std::make_unique<TGeoOpenGroup>());
    EXPECT_EQ(Frame->EntityClass->text(), "OpenGroup");
    // The unnamed line was named when it joined.
    EXPECT_EQ(Column(0), (TTexts{"A", "B", "Polyline"}));

    // A caption edited in the list renames the member.
    Frame->GroupListView->topLevelItem(1)->setText(0, "Renamed");
    EXPECT_EQ(Lines[1]->GetName(), "Renamed");

    // Duplicate parameter names show the first one's value in both rows.
    Group->Parameters = {"Water=1", "water=2"};
    Frame->Refresh();
    EXPECT_EQ(Frame->VkGrid1->rowCount(), 3);
    EXPECT_EQ(GridText(0, 0), "Name");
    EXPECT_EQ(GridText(2, 0), "water");
    EXPECT_EQ(GridText(2, 1), "1");
    EXPECT_TRUE(Frame->DelParamBut->isEnabled());

    Frame->AddParam->click();
    EXPECT_EQ(Group->Parameters.back(), "NewParameter3=");
    Frame->VkGrid1->item(3, 1)->setText("0.5");
    EXPECT_EQ(Group->Parameters.back(), "NewParameter3=0.5");
    Frame->VkGrid1->setCurrentCell(1, 0);
    Frame->DelParamBut->click();
    EXPECT_EQ(Group->Parameters, (TTexts{"water=2", "NewParameter3=0.5"}));

    // Removing open members leaves the entities in the document.
    Frame->GroupListView->topLevelItem(0)->setSelected(true);
    Frame->DeleteEntities->click();
    EXPECT_EQ(Column(0), (TTexts{"Renamed", "Polyline"}));
    EXPECT_EQ(Doc.FindByName("A"), Lines[0]);
}

}  // namespace
}  // namespace sarnova
