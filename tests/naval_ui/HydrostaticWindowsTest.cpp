// The hydrostatic table and the sectional-area curve on the box hull (sections every metre, x 0..10,
// y -1..1, z 0..2).
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "HullSections.h"
#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "foundation/Console.h"
#include "naval/HydroTable.h"
#include "naval/ui/HydrostaticsForm.h"
#include "naval/ui/SecAreaForm.h"
#include "platform/Clipboard.h"
#include "platform/ScriptedUserDialogs.h"
#include "controls/VkGraph.h"
#include "controls/VkGrid.h"
#include "controls/VkStatusBar.h"

namespace sarnova::test {
namespace {

class HydrostaticWindows : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterGeometryClasses();
        Saved = GExceptionHandler->UserDialogs;
        GExceptionHandler->UserDialogs = &Dialogs;
        SetTextClipboard(&Clipboard);
        Hull = static_cast<TGeoPList*>(Doc.Add(BoxHull("Hull")));
        Hull->SetSelected(true);
    }
    void TearDown() override {
        GExceptionHandler->UserDialogs = Saved;
        SetTextClipboard(nullptr);
    }
    static std::vector<std::string> Row(TVkGrid& G, int R) {
        std::vector<std::string> Cells;
        for (int C = 0; C < G.GetColCount(); ++C) Cells.push_back(G.Cell(C, R).DisplayText());
        return Cells;
    }

    TScriptedUserDialogs Dialogs;
    IUserDialogs* Saved = nullptr;
    TMemoryClipboard Clipboard;
    TGeometryInterface Doc;
    TGeoPList* Hull = nullptr;
};

TEST_F(HydrostaticWindows, TableOfTheBoxHullCopiedAsTabSeparatedText) {
    THydrostaticsForm Form;
    EXPECT_EQ(Form.windowTitle(), "Hydrostatics - (Under Test)");
    Form.SetDocument(&Doc);
    Form.Prepare();
    EXPECT_EQ(Form.Label4->text(), "0.000");
    EXPECT_EQ(Form.Label5->text(), "2.000");
    EXPECT_EQ(Form.Edit1->text(), "1.000");
    EXPECT_TRUE(Form.Button1->isEnabled());
    Form.CopyButton->click();
    // The wetted area counts the two immersed ends of the box.
    EXPECT_EQ(Clipboard.GetText(),
              "T\tDISPM\tVOLM\tLCB\tVCB\tKMT\tLCF\tTPC\tCB\tWSA\r\n"
              "1.000\t20.500\t20.000\t5.000\t0.500\t0.833\t5.000\t0.205\t1.000\t44.000\r\n");
    // The window says where the figures come from, and they cannot be typed over.
    EXPECT_EQ(Form.StatusBar1->Panels().Item(0)->GetText(), "Figures from the hull's sections");
    EXPECT_FALSE(Form.VkGrid1->GetOptions() & loEditing);
}

TEST_F(HydrostaticWindows, PopupMenuShowsAQuantityFromTheKeptTable) {
    THydrostaticsForm Form;
    Form.SetDocument(&Doc);
    Form.Prepare();
    Form.Edit1->setText("1 2 3");
    Form.Button1->click();
    TVkGrid& G = *Form.VkGrid1;
    ASSERT_EQ(G.GetRowCount(), 4);
    ASSERT_EQ(G.GetColCount(), 10);
    EXPECT_EQ(Row(G, 3)[0], "3.000");
    EXPECT_EQ(G.Cell(0, 2).GetColor(), TColor(0xDCDCDC));
    EXPECT_NE(G.Cell(0, 1).GetColor(), TColor(0xDCDCDC));
    ASSERT_EQ(Form.MenuItems.size(), 21u);
    QAction* MCT = Form.MenuItems.back();
    EXPECT_EQ(MCT->text(), "MCT");
    EXPECT_FALSE(MCT->isChecked());
    // A value put into the kept table shows: ticking refills the grid, it does not recompute.
    Form.Table().SetCellValue(21, 1, 99.0);
    MCT->trigger();
    ASSERT_EQ(G.GetColCount(), 11);
    EXPECT_EQ(Row(G, 0).back(), "MCT");
    EXPECT_EQ(Row(G, 1).back(), "99.000");
    Form.MenuItems[0]->trigger();  // DISPM off
    EXPECT_EQ(Row(G, 0)[1], "VOLM");
}

TEST_F(HydrostaticWindows, DraughtListsThatCannotBeComputedAreReported) {
    THydrostaticsForm Form;
    Form.SetDocument(&Doc);
    Form.Prepare();
    for (const char* Text : {"(0, 2000, 1)", "(1 2"}) {
        Form.Edit1->setText(Text);
        Form.Button1->click();
        EXPECT_TRUE(Form.Button1->isEnabled()) << Text;
        EXPECT_TRUE(Form.Edit1->isEnabled()) << Text;
    }
    ASSERT_EQ(Dialogs.Shown.size(), 2u);
    EXPECT_EQ(Dialogs.Shown[0].Text, "Too many draughts: at most 1000.");
    EXPECT_EQ(Dialogs.Shown[1].Text, "ArrayFromString: Parenthesis do not match.");
    // The last good table stays.
    EXPECT_EQ(Form.VkGrid1->GetRowCount(), 2);
}

TEST_F(HydrostaticWindows, NothingIsComputedWithoutASelectedHull) {
    Doc.ClearSelection();
    THydrostaticsForm Table;
    Table.SetDocument(&Doc);
    Table.Prepare();
    EXPECT_EQ(Table.GetSections(), nullptr);
    EXPECT_EQ(Table.Edit1->text(), "");
    TSecAreaForm Curve;
    Curve.SetDocument(&Doc);
    Curve.Prepare();
    EXPECT_EQ(Curve.VkGraph1->GetSeriesList().Count(), 0);
}

TEST_F(HydrostaticWindows, SectionAreaCurvesOnePerDraught) {
    TSecAreaForm Form;
    EXPECT_EQ(Form.windowTitle(), "Section Area Curve");
    EXPECT_EQ(Form.Edit1->text(), "(0.1, 2, 0.1), 0.25");
    Form.SetDocument(&Doc);
    Form.Prepare();
    EXPECT_EQ(Form.Edit1->text(), "1.000");
    TVkSeriesList& Series = Form.VkGraph1->GetSeriesList();
    ASSERT_EQ(Series.Count(), 1);
    EXPECT_EQ(Series.GetSeries(0).GetName(), "Draught 1");
    EXPECT_EQ(Form.VkGraph1->GetTitle(), "Half Section Area");

    Form.Edit1->setText("(0.1, 2, 0.1), 0.25");
    Form.Button1->click();
    ASSERT_EQ(Series.Count(), 21);
    EXPECT_EQ(Series.GetSeries(2).GetName(), "Draught 0.25");
    TVkGrid& G = *Form.VkGrid1;
    ASSERT_EQ(G.GetColCount(), 22);
    ASSERT_EQ(G.GetRowCount(), 12);
    EXPECT_EQ(G.Cell(3, 0).DisplayText(), "0.250");
    EXPECT_EQ(G.Cell(0, 11).DisplayText(), "X10.000");
    // Half of a 2 m wide section immersed 2 m.
    EXPECT_EQ(G.Cell(21, 5).DisplayText(), "2.000");

    Form.RadioButton3->click();
    EXPECT_EQ(Form.VkGraph1->GetTitle(), "Area/MaxArea");
    EXPECT_EQ(Form.VkGraph1->GetYAxis().GetMax(), 1);
    EXPECT_EQ(G.Cell(1, 1).DisplayText(), "1.000");
}

}  // namespace
}  // namespace sarnova::test
