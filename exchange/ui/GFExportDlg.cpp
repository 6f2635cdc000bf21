#include "exchange/ui/GFExportDlg.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "foundation/TextUtils.h"
#include "controls/EditNumbers.h"
#include "foundation/UserDialogs.h"
#include "platform/qt/QtUserDialogs.h"

namespace sarnova {

namespace {

QGroupBox* RadioGroup(QWidget* Parent, const char* Caption, std::initializer_list<QRadioButton**> Buttons,
                      std::initializer_list<const char*> Captions) {
    auto* Box = new QGroupBox(Caption, Parent);
    auto* Layout = new QVBoxLayout(Box);
    auto* Group = new QButtonGroup(Box);
    auto C = Captions.begin();
    for (QRadioButton** B : Buttons) {
        *B = new QRadioButton(*C++, Box);
        Layout->addWidget(*B);
        Group->addButton(*B);
    }
    (*Buttons.begin())[0]->setChecked(true);
    return Box;
}

}  // namespace

TGFExportDlg::TGFExportDlg(TGFExportOptions& Options, IUserDialogs& Dialogs, QWidget* Parent)
    : QDialog(Parent), FOptions(Options), FDialogs(Dialogs) {
    setWindowTitle("Geometry File (GF) Export Options");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* Layout = new QVBoxLayout(this);
    Layout->addWidget(RadioGroup(this, " Source Model Units ", {&RadioButton1, &RadioButton2, &RadioButton3},
                                 {"Metres", "Millimetres", "Feet"}));
    Layout->addWidget(RadioGroup(this, " Geometry File Units ", {&RadioButton4, &RadioButton5}, {"Metres", "Feet"}));
    Layout->addWidget(RadioGroup(this, " Source Model Orientation ", {&RadioButton6, &RadioButton7},
                                 {"Stern to Bow in positive X direction", "Stern to Bow in negative X direction"}));
    auto* Desc = new QGroupBox(" Description ", this);
    auto* DescLayout = new QFormLayout(Desc);
    Edit1 = new QLineEdit(QString::fromStdString(Options.Title), Desc);
    Edit1->setMaxLength(58);
    Edit2 = new QLineEdit(QString::fromStdString(Options.Reference), Desc);
    Edit2->setMaxLength(12);
    DescLayout->addRow("Title:", Edit1);
    DescLayout->addRow("Reference Number:", Edit2);
    Layout->addWidget(Desc);
    auto* Dims = new QGroupBox(" Dimensions ", this);
    auto* DimsLayout = new QFormLayout(Dims);
    CheckBox1 = new QCheckBox("Include Length", Dims);
    Edit3 = new QLineEdit(Dims);
    CheckBox2 = new QCheckBox("Include Beam", Dims);
    Edit4 = new QLineEdit(Dims);
    Edit3->setEnabled(false);
    Edit4->setEnabled(false);
    DimsLayout->addRow(CheckBox1, Edit3);
    DimsLayout->addRow(CheckBox2, Edit4);
    Layout->addWidget(Dims);
    auto* Buttons = new QHBoxLayout;
    Button1 = new QPushButton("OK", this);
    Button1->setDefault(true);
    Button2 = new QPushButton("Cancel", this);
    Buttons->addStretch();
    Buttons->addWidget(Button1);
    Buttons->addWidget(Button2);
    Layout->addLayout(Buttons);

    connect(CheckBox1, &QCheckBox::toggled, Edit3, &QWidget::setEnabled);
    connect(CheckBox2, &QCheckBox::toggled, Edit4, &QWidget::setEnabled);
    for (QRadioButton* B : {RadioButton1, RadioButton2, RadioButton3, RadioButton4, RadioButton5})
        connect(B, &QRadioButton::clicked, this, &TGFExportDlg::ShowDimensions);
    connect(Button1, &QPushButton::clicked, this, &TGFExportDlg::Ok);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    ShowDimensions();
}

void TGFExportDlg::ReadUnits() {
    FOptions.SourceUnits = RadioButton2->isChecked() ? 1 : RadioButton3->isChecked() ? 2 : 0;
    FOptions.FileUnits = RadioButton5->isChecked() ? 1 : 0;
}

void TGFExportDlg::ShowDimensions() {
    ReadUnits();
    const double F = GFFileUnitsPerModelUnit(FOptions);
    Edit3->setText(QString::fromStdString(FormatWithPoint("%0.3f", {FOptions.ModelLength * F})));
    Edit4->setText(QString::fromStdString(FormatWithPoint("%0.3f", {FOptions.ModelBeam * F})));
}

void TGFExportDlg::Ok() {
    try {
        const double Length = EditToFloat(Edit3, true), Beam = EditToFloat(Edit4, true);
        ReadUnits();
        FOptions.SternToBowPositiveX = RadioButton6->isChecked();
        FOptions.Title = Edit1->text().toStdString();
        FOptions.Reference = Edit2->text().toStdString();
        FOptions.IncludeLength = CheckBox1->isChecked();
        FOptions.IncludeBeam = CheckBox2->isChecked();
        FOptions.Length = Length;
        FOptions.Beam = Beam;
    } catch (const std::exception& E) {
        FDialogs.MessageBox("Error", E.what(), TMsgDlgType::mtError, mbOK);
        return;
    }
    accept();
}

bool ShowGFExportDlg(TGFExportOptions& Options) {
    TGFExportDlg Dialog(Options, ProgramUserDialogs(), QApplication::activeWindow());
    return Dialog.exec() == QDialog::Accepted;
}

void RegisterGFExportDlg() { GFExportDialog() = ShowGFExportDlg; }

}  // namespace sarnova
