#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <filesystem>

#include "../DialogsScope.h"
#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "exchange/IoSus.h"
#include "exchange/SusFile.h"
#include "exchange/ui/SusPropForm.h"
#include "naval/GPList.h"
#include "shell/ControlsTestSupport.h"

namespace sarnova {
namespace {

// A hull and four compartments A .. D.
void FillModel(TSusFile& F) {
    for (const char* Name : {"Hull", "A", "B", "C", "D"}) {
        auto R = std::make_unique<TSus>();
        R->Name = Name;
        F.Add(std::move(R));
    }
}

void Choose(QComboBox* Box, int Index) {
    Box->setCurrentIndex(Index);
    emit Box->activated(Index);
}

TEST(SusPropForm, ShipDefinitionsFollowTheListsAndErrorsKeepTheWindowOpen) {
    TSusFile F;
    FillModel(F);
    F.Flags = susHydrostatics;
    TSusPropForm Form;
    Form.SetSusFile(&F);
    EXPECT_EQ(Form.windowTitle(), "SUS File properties");
    EXPECT_EQ(Form.Label10->text(), "4");
    EXPECT_FALSE(Form.ComboBox1->isEnabled());

    Form.CheckBox2->click();
    EXPECT_TRUE(F.Flags & susShipInfo);
    ASSERT_EQ(Form.ComboBox1->count(), 5);
    Choose(Form.ComboBox1, 3);
    Choose(Form.ComboBox2, 2);
    EXPECT_EQ(Form.Label10->text(), "ERROR: Ship2 starts at an invalid compartment");
    {
        test::TDialogsScope Scope;
        Form.Button1Click();
        EXPECT_NE(Form.result(), QDialog::Accepted);
        ASSERT_EQ(Scope.Dialogs.Shown.size(), 1u);
        EXPECT_NE(Scope.Dialogs.Shown[0].Text.find("ERROR: Ship2 starts at an invalid compartment"), std::string::npos);
    }

    Choose(Form.ComboBox2, 3);
    EXPECT_EQ(Form.Label10->text(), "ERROR: Ship1 is empty");
    Choose(Form.ComboBox2, 4);
    EXPECT_EQ(Form.Label10->text(), "4 2 1 1 0 ");
    EXPECT_EQ(F.ShipOneCount, 1);
    EXPECT_EQ(F.ShipTwoCount, 1);

    // "<none>" for ship one resets and disables the other two.
    Choose(Form.ComboBox1, 0);
    EXPECT_EQ(Form.ComboBox2->currentIndex(), 0);
    EXPECT_FALSE(Form.ComboBox2->isEnabled());
    EXPECT_FALSE(Form.ComboBox3->isEnabled());
    EXPECT_EQ(Form.Label10->text(), "4 0 0 0 0 ");
    EXPECT_NE(F.SaveToText().find("\nB\n4 0 0 0 0\n"), std::string::npos);

    Form.Edit2->setText("120.5");
    Form.Button1Click();
    EXPECT_EQ(Form.result(), QDialog::Accepted);
    EXPECT_EQ(F.Length, 120.5);
}

TEST(SusPropForm, CompanionModeFixesTheOptions) {
    TSusFile F;
    FillModel(F);
    F.Flags = susShipInfo | susTimeSimulation | susDamCompanion;
    TSusPropForm Form;
    Form.SetSusFile(&F);
    EXPECT_EQ(Form.Label4->text(), "Draught:");
    EXPECT_TRUE(Form.RadioButton2->isChecked());
    EXPECT_TRUE(Form.CheckBox2->isChecked());
    EXPECT_FALSE(Form.CheckBox2->isEnabled());
    EXPECT_FALSE(Form.RadioButton1->isEnabled());
    EXPECT_TRUE(Form.Label10->isHidden());

    TSusFile Empty;
    TSusPropForm EmptyForm;
    EmptyForm.SetSusFile(&Empty);
    EXPECT_EQ(EmptyForm.Label10->text(), "File has no hull or compartment definitions");
}

TEST(SusPropForm, ExportShowsTheWindowAndItsFrameCancels) {
    RegisterGeometryClasses();
    RegisterSusPropForm();
    TGeometryInterface Doc;
    auto Hull = std::make_unique<TGeoPList>();
    auto Section = std::make_unique<TPolyline>();
    Section->AddPoint(0, 0, 0);
    Section->AddPoint(0, 1, 1);
    Hull->Polylines().Add(std::move(Section));
    Hull->SetName("Hull");
    Doc.Add(std::move(Hull));
    const auto Path = std::filesystem::temp_directory_path() / "window.sus";
    std::filesystem::remove(Path);

    test::WhenModal([](QWidget* Dialog) { static_cast<TSusPropForm*>(Dialog)->reject(); });
    ExportSus(Path.string(), Doc);
    EXPECT_FALSE(std::filesystem::exists(Path));

    test::WhenModal([](QWidget* Dialog) {
        auto* Form = static_cast<TSusPropForm*>(Dialog);
        Form->Edit1->setText("From the window");
        Form->Button1->click();
    });
    ExportSus(Path.string(), Doc);
    GShowSusProperties = nullptr;
    ASSERT_TRUE(std::filesystem::exists(Path));
    TSusFile Written;
    Written.LoadFromFile(Path);
    EXPECT_EQ(Written.Title, "From the window");
}

}  // namespace
}  // namespace sarnova
