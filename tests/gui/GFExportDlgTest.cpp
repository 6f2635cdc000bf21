#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "exchange/ui/GFExportDlg.h"
#include "platform/ScriptedUserDialogs.h"

namespace sarnova {
namespace {

TEST(GFExportDlg, DimensionsFollowTheUnitsAndOkTakesTheControls) {
    TGFExportOptions Options;
    Options.Title = "ship.gf";
    Options.Reference = "Reference";
    Options.ModelLength = 12000;  // millimetres
    Options.ModelBeam = 3000;
    TScriptedUserDialogs Dialogs;
    TGFExportDlg Dlg(Options, Dialogs);
    EXPECT_EQ(Dlg.windowTitle(), "Geometry File (GF) Export Options");
    EXPECT_FALSE(Dlg.Edit3->isEnabled());
    Dlg.RadioButton2->click();  // source in millimetres, file in metres
    EXPECT_EQ(Dlg.Edit3->text(), "12.000");
    EXPECT_EQ(Dlg.Edit4->text(), "3.000");
    Dlg.RadioButton5->click();  // file in feet
    EXPECT_EQ(Dlg.Edit3->text(), "39.370");

    Dlg.CheckBox1->setChecked(true);
    EXPECT_TRUE(Dlg.Edit3->isEnabled());
    Dlg.Edit3->setText("bad");
    Dlg.Button1->click();
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Dialogs.Shown[0].Text, "Unable to convert text to number");
    EXPECT_EQ(Dlg.result(), QDialog::Rejected);

    Dlg.Edit3->setText("40.5");
    Dlg.RadioButton7->setChecked(true);
    Dlg.Button1->click();
    EXPECT_EQ(Dlg.result(), QDialog::Accepted);
    EXPECT_EQ(Options.SourceUnits, 1);
    EXPECT_EQ(Options.FileUnits, 1);
    EXPECT_FALSE(Options.SternToBowPositiveX);
    EXPECT_TRUE(Options.IncludeLength);
    EXPECT_FALSE(Options.IncludeBeam);
    EXPECT_EQ(Options.Length, 40.5);  // handed over in file units, as shown
    EXPECT_EQ(Options.Title, "ship.gf");
}

}  // namespace
}  // namespace sarnova
