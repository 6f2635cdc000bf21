#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "exchange/ui/IGESForm.h"
#include "shell/ControlsTestSupport.h"

namespace sarnova {
namespace {

TEST(IGESForm, UnitsComeBackHoweverTheWindowCloses) {
    TIGESForm Form;
    EXPECT_EQ(Form.windowTitle(), "IGES Properties");
    EXPECT_TRUE(Form.UnitButtons[1]->isChecked());
    Form.Setup("A", "B", iuFeet);
    EXPECT_TRUE(Form.UnitButtons[5]->isChecked());
    EXPECT_EQ(Form.Units(iuMetres), iuFeet);
    // Units without a button select none and keep their value.
    Form.Setup("A", "B", iuMicrons);
    for (QRadioButton* B : Form.UnitButtons) EXPECT_FALSE(B->isChecked()) << B->text().toStdString();
    EXPECT_EQ(Form.Units(iuMicrons), iuMicrons);

    test::WhenModal([](QWidget* Dialog) {
        auto* F = static_cast<TIGESForm*>(Dialog);
        F->Edit1->setText("Naval Architect");
        F->UnitButtons[3]->setChecked(true);
        F->Button1->click();
    });
    std::string Author = "login", Organisation = "Yard";
    TIGESUnits Units = iuMetres;
    ShowIGESForm(Author, Organisation, Units);
    EXPECT_EQ(Author, "Naval Architect");
    EXPECT_EQ(Organisation, "Yard");
    EXPECT_EQ(Units, iuMillimetres);

    test::WhenModal([](QWidget* Dialog) { static_cast<TIGESForm*>(Dialog)->reject(); });
    Units = iuMicroinches;
    ShowIGESForm(Author, Organisation, Units);
    EXPECT_EQ(Units, iuMicroinches);
}

}  // namespace
}  // namespace sarnova
