#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "exchange/OFFFile.h"
#include "exchange/ui/OFFFileForm.h"
#include "platform/ScriptedUserDialogs.h"

namespace sarnova {
namespace {

TEST(OFFFileForm, SaveTakesTheFieldsAndABadNumberKeepsTheWindowOpen) {
    TOFFFile File;
    File.LOA = 12.5;
    TScriptedUserDialogs Dialogs;
    TOFFFileForm Form(File, Dialogs);
    EXPECT_EQ(Form.windowTitle(), "Export IMS Offsets");
    EXPECT_EQ(Form.Edit3->text(), "12.5");
    EXPECT_EQ(Form.Edit4->text(), "0.0");
    EXPECT_EQ(Form.Edit6->text(), "0");
    EXPECT_TRUE(Form.RadioButton2->isChecked());
    EXPECT_FALSE(Form.Button3->isEnabled());

    Dialogs.ChooseFile("/tmp/yacht.off");
    Form.Button4->click();
    EXPECT_EQ(Form.Edit1->text(), "/tmp/yacht.off");
    EXPECT_EQ(Dialogs.ShownFileDialogs.back().Title, "Export IMS Offsets File");

    Form.Edit3->setText("x");
    Form.Button1->click();
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Dialogs.Shown[0].Text, "Unable to convert text to number");
    EXPECT_EQ(Form.result(), QDialog::Rejected);
    EXPECT_EQ(File.LOA, 12.5);

    Form.Edit3->setText("11.25");
    Form.Edit2->setText("Sloop");
    Form.Edit6->setText("042");
    Form.RadioButton1->setChecked(true);
    Form.Button1->click();
    EXPECT_EQ(Form.result(), QDialog::Accepted);
    EXPECT_EQ(File.LOA, 11.25);
    EXPECT_EQ(File.YachtName, "Sloop");
    EXPECT_EQ(File.MeasurerNumber, "42");
    EXPECT_FALSE(File.Metric);
}

}  // namespace
}  // namespace sarnova
