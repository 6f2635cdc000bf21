// The Groups tool window on a document with an open and a closed group.
#include <gtest/gtest.h>

#include <QTreeWidget>

#include "document/GeoFace.h"
#include "naval/Compartments.h"
#include "naval/GGroup.h"
#include "shell/DocumentWindowFixture.h"
#include "shell/GroupsFloat.h"
#include "shell/ToolWindow.h"

namespace sarnova::test {
namespace {

class GroupsWindow : public TDocumentWindowFixture {};

TEST_F(GroupsWindow, ListsEveryGroupWithItsMembers) {
    TViewform* W = NewWindow();
    ASSERT_NE(W, nullptr);
    TGeometryInterface& Doc = W->GetDocument();
    TGeoPList *Hull, *Tank, *Sump;
    AddTanks(Doc, Hull, Tank, Sump);
    auto Open = std::make_unique<TGeoOpenGroup>();
    Open->SetName("Space");
    Open->SetOwnerList(&Doc);
    Open->AddMember(Hull);
    Open->AddMember(Tank);
    Doc.Add(std::move(Open));
    Sump->SetSelected(true);
    TGeoClosedGroup::CreateClosedGroup(Doc);
    Settle();

    TGroupsForm* Form = GetGroupsForm();
    Form->Rebuild();
    QTreeWidget& T = *Form->TreeView1;
    ASSERT_EQ(T.topLevelItemCount(), 2);
    EXPECT_EQ(T.topLevelItem(0)->text(0), "Space");
    EXPECT_EQ(NodeImage(T.topLevelItem(0)), 57);
    ASSERT_EQ(T.topLevelItem(0)->childCount(), 2);
    EXPECT_EQ(T.topLevelItem(0)->child(0)->text(0), "HULL");
    EXPECT_EQ(NodeData(T.topLevelItem(0)->child(1)), Tank);
    EXPECT_EQ(T.topLevelItem(1)->text(0), "Group1");
    EXPECT_EQ(NodeImage(T.topLevelItem(1)), 56);
    ASSERT_EQ(T.topLevelItem(1)->childCount(), 1);
    EXPECT_EQ(T.topLevelItem(1)->child(0)->text(0), "SUMP");

    // Picking a group's node selects it in the document.
    T.topLevelItem(0)->setSelected(true);
    EXPECT_TRUE(Doc.FindByName("Space")->GetSelected());
}

}  // namespace
}  // namespace sarnova::test
