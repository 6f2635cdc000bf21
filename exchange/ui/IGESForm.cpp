#include "exchange/ui/IGESForm.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace sarnova {

namespace {

constexpr TIGESUnits ButtonUnits[8] = {iuKilometres, iuMetres, iuCentimetres,
                                       iuMillimetres, iuMiles,  iuFeet, iuInches, iuMils};
constexpr const char* ButtonCaptions[8] = {"Kilometres", "Metres", "Centimetres", "Millimetres",
                                           "Miles",      "Feet",   "Inches",      "Mils (0.001 Inch)"};

}  // namespace

TIGESForm::TIGESForm(QWidget* Parent) : QDialog(Parent) {
    setWindowTitle("IGES Properties");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* Layout = new QVBoxLayout(this);
    auto* User = new QGroupBox("User Details", this);
    auto* UserLayout = new QFormLayout(User);
    Edit1 = new QLineEdit(User);
    Edit2 = new QLineEdit(User);
    UserLayout->addRow("Author:", Edit1);
    UserLayout->addRow("Organisation:", Edit2);
    Layout->addWidget(User);
    auto* UnitsBox = new QGroupBox("Units", this);
    auto* UnitsLayout = new QVBoxLayout(UnitsBox);
    auto* Group = UnitGroup = new QButtonGroup(this);
    for (int I = 0; I < 8; ++I) {
        UnitButtons[I] = new QRadioButton(ButtonCaptions[I], UnitsBox);
        UnitsLayout->addWidget(UnitButtons[I]);
        Group->addButton(UnitButtons[I]);
    }
    UnitButtons[1]->setChecked(true);
    Layout->addWidget(UnitsBox);
    auto* Buttons = new QHBoxLayout;
    Button1 = new QPushButton("Close", this);
    Buttons->addStretch();
    Buttons->addWidget(Button1);
    Layout->addLayout(Buttons);
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);
}

void TIGESForm::Setup(const std::string& Author, const std::string& Organisation, TIGESUnits Units) {
    Edit1->setText(QString::fromStdString(Author));
    Edit2->setText(QString::fromStdString(Organisation));
    bool Found = false;
    for (int I = 0; I < 8; ++I)
        if (ButtonUnits[I] == Units) {
            UnitButtons[I]->setChecked(true);
            Found = true;
        }
    if (Found) return;
    // A unit without a button selects none, so that closing the window keeps it.
    UnitGroup->setExclusive(false);
    for (QRadioButton* B : UnitButtons) B->setChecked(false);
    UnitGroup->setExclusive(true);
}

TIGESUnits TIGESForm::Units(TIGESUnits Current) const {
    for (int I = 0; I < 8; ++I)
        if (UnitButtons[I]->isChecked()) return ButtonUnits[I];
    return Current;
}

void ShowIGESForm(std::string& Author, std::string& Organisation, TIGESUnits& Units) {
    TIGESForm Form(QApplication::activeWindow());
    Form.Setup(Author, Organisation, Units);
    Form.exec();
    Author = Form.Edit1->text().toStdString();
    Organisation = Form.Edit2->text().toStdString();
    Units = Form.Units(Units);
}

void RegisterIGESForm() { IGESPropertiesDialog() = ShowIGESForm; }

}  // namespace sarnova
