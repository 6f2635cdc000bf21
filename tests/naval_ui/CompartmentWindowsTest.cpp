// The windows of the compartment arrangement: the permeability plot with the document's setup, the
// "Permeabilities" tool window and the Hierarchy window, on HULL > TANK1 > SUMP.
#include <gtest/gtest.h>

#include <QLabel>

#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>

#include "document/GeoFace.h"
#include "foundation/PolyList.h"
#include "naval/Arrangement.h"
#include "naval/Compartments.h"
#include "naval/GSetup.h"
#include "naval/ui/PermForm.h"
#include "shell/PermeabilityForm.h"
#include "shell/DocumentWindowFixture.h"
#include "shell/HierarchyFloat.h"
#include "controls/VkGrid.h"

namespace sarnova::test {
namespace {

class CompartmentWindows : public TDocumentWindowFixture {
protected:
    void SetUp() override {
        TDocumentWindowFixture::SetUp();
        W = NewWindow();
        ASSERT_NE(W, nullptr);
        Doc = &W->GetDocument();
        AddTanks(*Doc, Hull, Tank, Sump);
        Settle();
    }
    int SetupCount() const {
        int N = 0;
        for (int I = 0; I < Doc->Count(); ++I) N += dynamic_cast<TGeoSetup*>(&Doc->Items(I)) != nullptr;
        return N;
    }

    TViewform* W = nullptr;
    TGeometryInterface* Doc = nullptr;
    TGeoPList* Hull = nullptr;
    TGeoPList* Tank = nullptr;
    TGeoPList* Sump = nullptr;
};

TEST_F(CompartmentWindows, ThePlotKeepsItsLayoutInTheDocument) {
    TPermForm Plot;
    EXPECT_EQ(Plot.windowTitle(), "Permeability Plot");
    Plot.SetDocument(Doc);
    ASSERT_EQ(SetupCount(), 1);
    ASSERT_NE(Plot.GetSetup(), nullptr);
    EXPECT_TRUE(Plot.GetSetup()->IsHidden());
    EXPECT_EQ(Plot.Edit1->text(), "Z=1 Z=3 Z=5 Z=7 Z=10 Z=12 PROF");
    Plot.Rebuild();
    // Waterlines at 1 and 3 cut all three spaces, 5 and above nothing; the profile cuts all three.
    ASSERT_NE(Plot.GetOutlines(), nullptr);
    const int Before = Plot.GetOutlines()->Count();
    EXPECT_GT(Before, 0);

    Doc->SetModified(false);
    Plot.Edit1->setText("(X=3.5 X=8) PROF");
    Plot.Button1->click();
    EXPECT_EQ(Plot.GetSetup()->GetViewLayout(), "(X=3.5 X=8) PROF");
    EXPECT_TRUE(Doc->GetModified());
    EXPECT_NE(Plot.GetOutlines()->Count(), Before);

    // A second plot finds the same setup.
    TPermForm Again;
    Again.SetDocument(Doc);
    EXPECT_EQ(Again.GetSetup(), Plot.GetSetup());
    EXPECT_EQ(Again.Edit1->text(), "(X=3.5 X=8) PROF");
    EXPECT_EQ(SetupCount(), 1);
}

TEST_F(CompartmentWindows, AForeignSetupEntityIsReportedAndLeftAlone) {
    Sump->SetName("Setup");
    TPermForm Plot;
    Plot.SetDocument(Doc);
    EXPECT_EQ(Plot.GetSetup(), nullptr);
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Dialogs.Shown[0].Text,
              "There is already an entity which is called setup but is not a arrangement drawing setup");
    EXPECT_EQ(Plot.Edit1->text(), "Z=1 Z=3 Z=5 Z=7 Z=10 Z=12 PROF");
    Doc->SetModified(false);
    Plot.Button1->click();
    EXPECT_FALSE(Doc->GetModified());
    EXPECT_EQ(SetupCount(), 0);
}

TEST_F(CompartmentWindows, PermeabilitiesShowOwnAndEffectiveValues) {
    Form->UpdateActions();
    Form->PermeabilitiesAction->trigger();
    Settle();
    TPermeabilityForm* P = GetPermeabilityForm();
    TVkGrid& G = *P->VkGrid1;
    ASSERT_EQ(G.GetRowCount(), 4);
    auto Row = [&](int R) {
        return G.Cell(0, R).DisplayText() + " " + G.Cell(1, R).DisplayText() + " " + G.Cell(2, R).DisplayText();
    };
    EXPECT_EQ(Row(0), "Name Permeability Actual Perm");
    EXPECT_EQ(Row(1), "HULL 1.000 ");
    EXPECT_EQ(Row(2), "TANK1 -0.850 -0.850");
    EXPECT_EQ(Row(3), "SUMP -0.100 -0.950");

    // A row selects its entity alone; only the own permeability is typed over.
    Hull->SetSelected(true);
    bool CanSelect = false;
    G.OnSelectCell(&G, 1, 3, CanSelect);
    EXPECT_TRUE(CanSelect);
    EXPECT_TRUE(Sump->GetSelected());
    EXPECT_FALSE(Hull->GetSelected());
    EXPECT_TRUE(G.GetOptions() & loEditing);
    G.OnSelectCell(&G, 2, 3, CanSelect);
    EXPECT_FALSE(G.GetOptions() & loEditing);

    // With the button down the space inside keeps its effective permeability.
    EXPECT_TRUE(P->PermBut->isChecked());
    P->EditPermeability(2, -0.6);
    EXPECT_EQ(Row(2), "TANK1 -0.600 -0.600");
    EXPECT_EQ(Row(3), "SUMP -0.350 -0.950");
    // Up, the spaces inside follow the change.
    P->PermBut->setChecked(false);
    P->EditPermeability(2, -0.85);
    EXPECT_EQ(Row(3), "SUMP -0.350 -1.200");
    EXPECT_EQ(P->ProblemLabel->text(), "");

    // Without its hull the window says what an arrangement needs.
    Hull->SetName("SHELL");
    P->Refresh();
    EXPECT_EQ(P->ProblemLabel->text().toStdString(),
              "No arrangement: \"SHELL\" comes before the hull; the hull must be the first permeable polyline "
              "list, with \"HULL\" in its name");
}

TEST_F(CompartmentWindows, HierarchyShowsTheArrangement) {
    THierarchyForm* H = GetHierarchyForm();
    H->Rebuild();
    QTreeWidget& T = *H->TreeView1;
    ASSERT_EQ(T.topLevelItemCount(), 1);
    QTreeWidgetItem* Root = T.topLevelItem(0);
    EXPECT_EQ(Root->text(0), "HULL");
    ASSERT_EQ(Root->childCount(), 1);
    EXPECT_EQ(Root->child(0)->text(0), "TANK1");
    ASSERT_EQ(Root->child(0)->childCount(), 1);
    EXPECT_EQ(Root->child(0)->child(0)->text(0), "SUMP");
    EXPECT_EQ(NodeData(Root->child(0)->child(0)), Sump);
}

}  // namespace
}  // namespace sarnova::test
