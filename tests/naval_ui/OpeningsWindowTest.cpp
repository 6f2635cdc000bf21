// The Openings tool window on a document with openings between groups and to the sea.
#include <gtest/gtest.h>

#include <QTreeWidget>

#include "document/GeoFace.h"
#include "naval/Compartments.h"
#include "naval/GGroup.h"
#include "naval/GOpening.h"
#include "shell/DocumentWindowFixture.h"
#include "shell/OpeningsFloat.h"
#include "shell/ToolWindow.h"

namespace sarnova::test {
namespace {

class OpeningsWindow : public TDocumentWindowFixture {};

TEST_F(OpeningsWindow, ListsEveryOpeningWithItsTwoEnds) {
    TViewform* W = NewWindow();
    ASSERT_NE(W, nullptr);
    TGeometryInterface& Doc = W->GetDocument();
    TGeoPList *Hull, *Tank, *Sump;
    AddTanks(Doc, Hull, Tank, Sump);
    for (auto [Name, Member] : {std::pair{"Hold1", Tank}, {"Hold2", Sump}}) {
        auto G = std::make_unique<TGeoOpenGroup>();
        G->SetName(Name);
        G->SetOwnerList(&Doc);
        G->AddMember(Member);
        Doc.Add(std::move(G));
    }
    auto AddOpening = [&](const char* Name, const char* Connection, double X) {
        auto O = std::make_unique<TGeoOpening>();
        O->SetName(Name);
        for (double Z : {0.0, 1.0}) {
            auto P = std::make_unique<TPolyline>();
            P->AddPoint(X, 0, Z);
            P->AddPoint(X, 1, Z);
            O->Sections().Add(std::move(P));
        }
        O->Connection().Parse(Connection);
        return static_cast<TGeoOpening*>(Doc.Add(std::move(O)));
    };
    TGeoOpening* Door = AddOpening("Door", "Hold1 <-> Hold2", 1);
    TGeoOpening* Vent = AddOpening("Vent", "HOLD2 -> SEA", 2);
    Settle();

    TOpeningsForm* Form = GetOpeningsForm();
    Form->Rebuild();
    QTreeWidget& T = *Form->TreeView1;
    ASSERT_EQ(T.topLevelItemCount(), 2);
    EXPECT_EQ(T.topLevelItem(0)->text(0), "Door");
    EXPECT_EQ(NodeData(T.topLevelItem(0)), Door);
    ASSERT_EQ(T.topLevelItem(0)->childCount(), 2);
    EXPECT_EQ(T.topLevelItem(0)->child(0)->text(0), "Hold1");
    EXPECT_EQ(NodeData(T.topLevelItem(0)->child(1)), Doc.FindByName("Hold2"));
    ASSERT_EQ(T.topLevelItem(1)->childCount(), 2);
    EXPECT_EQ(T.topLevelItem(1)->child(0)->text(0), "Hold2");
    // The sea is a name only.
    EXPECT_EQ(T.topLevelItem(1)->child(1)->text(0), "SEA");
    EXPECT_EQ(NodeData(T.topLevelItem(1)->child(1)), nullptr);

    // Picking an opening hides the other openings and the open groups and selects it.
    T.topLevelItem(1)->setSelected(true);
    EXPECT_TRUE(Vent->GetSelected());
    EXPECT_TRUE(Door->IsHidden());
    EXPECT_FALSE(Vent->IsHidden());
    EXPECT_TRUE(Doc.FindByName("Hold1")->IsHidden());
}

}  // namespace
}  // namespace sarnova::test
