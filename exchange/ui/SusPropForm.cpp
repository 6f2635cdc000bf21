#include "exchange/ui/SusPropForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "exchange/IoSus.h"
#include "exchange/SusFile.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/Errors.h"
#include "controls/EditNumbers.h"

namespace sarnova {

namespace {

QString Fixed3(double Value) { return QString::fromStdString(FloatToStrF(Value, ffFixed, 15, 3)); }

}  // namespace

TSusPropForm::TSusPropForm(QWidget* Parent) : QDialog(Parent) {
    setWindowTitle("SUS File properties");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* Layout = new QVBoxLayout(this);

    auto* GroupBox1 = new QGroupBox(" Header Information ", this);
    auto* Header = new QGridLayout(GroupBox1);
    Edit1 = new QLineEdit(GroupBox1);
    Edit2 = new QLineEdit(GroupBox1);
    Edit3 = new QLineEdit(GroupBox1);
    Edit4 = new QLineEdit(GroupBox1);
    Label4 = new QLabel("Depth:", GroupBox1);
    Header->addWidget(new QLabel("Name:", GroupBox1), 0, 0);
    Header->addWidget(Edit1, 0, 1, 1, 2);
    const char* Captions[] = {"LBP:", "Beam:"};
    QLineEdit* Dimensions[] = {Edit2, Edit3, Edit4};
    for (int I = 0; I < 3; ++I) {
        Header->addWidget(I < 2 ? new QLabel(Captions[I], GroupBox1) : Label4, I + 1, 0);
        Header->addWidget(Dimensions[I], I + 1, 1);
        Header->addWidget(new QLabel("m", GroupBox1), I + 1, 2);
    }
    Layout->addWidget(GroupBox1);

    auto* GroupBox3 = new QGroupBox(" Compatibility ", this);
    auto* Compat = new QVBoxLayout(GroupBox3);
    RadioButton1 = new QRadioButton("File Compatible with Hydrostatics", GroupBox3);
    CheckBox1 = new QCheckBox("Include Margin Line", GroupBox3);
    RadioButton2 = new QRadioButton("File Compatibile with Time Simulation ", GroupBox3);
    Label8 = new QLabel("(Includes dummy 'C', 'D' and 'E' sections and No 'A' Section)", GroupBox3);
    RadioButton1->setChecked(true);
    for (QWidget* W : std::initializer_list<QWidget*>{RadioButton1, CheckBox1, RadioButton2, Label8})
        Compat->addWidget(W);
    Layout->addWidget(GroupBox3);

    auto* GroupBox2 = new QGroupBox(" Ship Definitions ", this);
    auto* Ships = new QGridLayout(GroupBox2);
    CheckBox2 = new QCheckBox("Save Ship information", GroupBox2);
    Ships->addWidget(CheckBox2, 0, 0, 1, 2);
    Label11 = new QLabel("Ship One:", GroupBox2);
    Label12 = new QLabel("Ship Two:", GroupBox2);
    Label13 = new QLabel("Ship Three:", GroupBox2);
    ComboBox1 = new QComboBox(GroupBox2);
    ComboBox2 = new QComboBox(GroupBox2);
    ComboBox3 = new QComboBox(GroupBox2);
    QLabel* ListLabels[] = {Label11, Label12, Label13};
    QComboBox* Lists[] = {ComboBox1, ComboBox2, ComboBox3};
    for (int I = 0; I < 3; ++I) {
        Ships->addWidget(ListLabels[I], I + 1, 0);
        Ships->addWidget(Lists[I], I + 1, 1);
    }
    Label9 = new QLabel("'B' Section Header line:", GroupBox2);
    Label10 = new QLabel("no information", GroupBox2);
    Ships->addWidget(Label9, 4, 0);
    Ships->addWidget(Label10, 4, 1);
    Layout->addWidget(GroupBox2);

    auto* Buttons = new QHBoxLayout;
    Button1 = new QPushButton("Close", this);
    Buttons->addStretch();
    Buttons->addWidget(Button1);
    Layout->addLayout(Buttons);

    connect(Edit1, &QLineEdit::textChanged, this, [this] {
        if (FSusFile && !FLoading) FSusFile->Title = Edit1->text().toStdString();
    });
    connect(RadioButton1, &QRadioButton::clicked, this, &TSusPropForm::RadioButton1Click);
    connect(RadioButton2, &QRadioButton::clicked, this, &TSusPropForm::RadioButton1Click);
    connect(CheckBox1, &QCheckBox::clicked, this, [this] {
        if (!FSusFile) return;
        FSusFile->Flags = CheckBox1->isChecked() ? FSusFile->Flags | susMarginLine : FSusFile->Flags & ~susMarginLine;
    });
    connect(CheckBox2, &QCheckBox::clicked, this, &TSusPropForm::CheckBox2Click);
    connect(ComboBox1, &QComboBox::activated, this, &TSusPropForm::ComboBox1Change);
    connect(ComboBox2, &QComboBox::activated, this, &TSusPropForm::ComboBox2Change);
    connect(ComboBox3, &QComboBox::activated, this, &TSusPropForm::UpdateShipDefinitions);
    connect(Button1, &QPushButton::clicked, this, &TSusPropForm::Button1Click);
}

void TSusPropForm::SetSusFile(TSusFile* File) {
    FSusFile = File;
    LoadControls();
}

void TSusPropForm::LoadControls() {
    if (!FSusFile) return;
    FLoading = true;
    Edit1->setText(QString::fromStdString(FSusFile->Title));
    FLoading = false;
    Edit2->setText(Fixed3(FSusFile->Length));
    Edit3->setText(Fixed3(FSusFile->Beam));
    Edit4->setText(Fixed3(FSusFile->Depth));
    const int Flags = FSusFile->Flags;
    if (Flags & susDamCompanion) {
        Label4->setText("Draught:");
        CheckBox1->setChecked(false);
        CheckBox1->setEnabled(false);
        RadioButton2->setChecked(true);
        CheckBox2->setChecked(true);
        for (QWidget* W : std::initializer_list<QWidget*>{RadioButton1, RadioButton2, CheckBox2, ComboBox1, ComboBox2,
                                                          ComboBox3, Label8, Label11, Label12, Label13})
            W->setEnabled(false);
        Label9->setVisible(false);
        Label10->setVisible(false);
        return;
    }
    Label4->setText("Depth:");
    CheckBox1->setChecked((Flags & susMarginLine) != 0);
    CheckBox1->setEnabled((Flags & susMarginLine) != 0);
    if (Flags & susHydrostatics)
        RadioButton1->setChecked(true);
    else if (Flags & susTimeSimulation)
        RadioButton2->setChecked(true);
    CheckBox2->setChecked((Flags & susShipInfo) != 0);
    CheckBox2Click();
    FillShipLists();
    UpdateHeaderLabel();
}

void TSusPropForm::RadioButton1Click() {
    if (!FSusFile) return;
    CheckBox1->setEnabled(RadioButton1->isChecked() && (FSusFile->Flags & susMarginLine));
    FSusFile->Flags &= ~(susHydrostatics | susTimeSimulation);
    FSusFile->Flags |= RadioButton1->isChecked() ? susHydrostatics : susTimeSimulation;
}

void TSusPropForm::CheckBox2Click() {
    if (!FSusFile) return;
    const bool On = CheckBox2->isChecked();
    FSusFile->Flags = On ? FSusFile->Flags | susShipInfo : FSusFile->Flags & ~susShipInfo;
    ComboBox1->setEnabled(On);
    ComboBox2->setEnabled(On && ComboBox1->currentText() != "<none>");
    ComboBox3->setEnabled(ComboBox2->isEnabled() && ComboBox2->currentText() != "<none>");
    UpdateHeaderLabel();
}

void TSusPropForm::FillShipLists() {
    const int Count = FSusFile->Count();
    QComboBox* Lists[] = {ComboBox1, ComboBox2, ComboBox3};
    for (QComboBox* L : Lists) {
        L->clear();
        L->addItem("<none>");
        for (int I = 1; I < Count; ++I) L->addItem(QString::fromStdString(FSusFile->Items(I)->Name));
    }
    const TSusFile& F = *FSusFile;
    const auto Select = [](QComboBox* L, int Index) { L->setCurrentIndex(Index >= 0 && Index < L->count() ? Index : 0); };
    Select(ComboBox1, F.ShipOneCount != 0 ? Count - F.ShipOneCount - F.ShipTwoCount - F.ShipThreeCount : 0);
    Select(ComboBox2, F.ShipTwoCount != 0 ? Count - F.ShipTwoCount - F.ShipThreeCount : 0);
    Select(ComboBox3, F.ShipThreeCount != 0 ? Count - F.ShipThreeCount : 0);
}

void TSusPropForm::UpdateHeaderLabel() {
    if (!FSusFile) return;
    const TSusFile& F = *FSusFile;
    if (F.Count() == 0) {
        Label10->setText("File has no hull or compartment definitions");
        return;
    }
    std::string Text = std::to_string(F.Count() - 1);
    if (F.Flags & susShipInfo) {
        Text += " " + std::to_string(F.ShipCount) + " ";
        if (F.ShipCount > 0) Text += std::to_string(F.ShipOneCount) + " ";
        if (F.ShipCount > 1) Text += std::to_string(F.ShipTwoCount) + " ";
        if (F.ShipCount > 2) Text += std::to_string(F.ShipThreeCount) + " ";
    }
    Label10->setText(QString::fromStdString(Text));
}

void TSusPropForm::ComboBox1Change() {
    if (ComboBox1->currentText() == "<none>") {
        ComboBox2->setCurrentIndex(0);
        ComboBox3->setCurrentIndex(0);
        ComboBox2->setEnabled(false);
        ComboBox3->setEnabled(false);
    } else {
        ComboBox2->setEnabled(true);
    }
    UpdateShipDefinitions();
}

void TSusPropForm::ComboBox2Change() {
    if (ComboBox2->currentText() == "<none>") {
        ComboBox3->setCurrentIndex(0);
        ComboBox3->setEnabled(false);
    } else {
        ComboBox3->setEnabled(true);
    }
    UpdateShipDefinitions();
}

void TSusPropForm::UpdateShipDefinitions() {
    if (!FSusFile) return;
    TSusFile& F = *FSusFile;
    const int Count = F.Count();
    const auto IndexOf = [&](QComboBox* L) {
        const std::string Name = L->currentText().toStdString();
        for (int I = 1; I < Count; ++I)
            if (F.Items(I)->Name == Name) return I;
        return -1;
    };
    const int s1 = IndexOf(ComboBox1), s2 = IndexOf(ComboBox2), s3 = IndexOf(ComboBox3);
    std::string Error;
    if (s3 == -1) {
        F.ShipCount = 2;
        F.ShipThreeCount = 0;
    } else {
        F.ShipThreeCount = Count - s3;
        F.ShipCount = 3;
    }
    if (s2 == -1) {
        F.ShipCount = 1;
        F.ShipTwoCount = 0;
    } else if (s3 == -1) {
        F.ShipTwoCount = Count - s2;
        F.ShipCount = 2;
    } else {
        F.ShipTwoCount = s3 - s2;
        if (s3 == s2) Error = "ERROR: Ship2 is empty";
        if (s3 < s2) Error = "ERROR: Ship3 starts at an invalid compartment";
    }
    if (s1 == -1) {
        F.ShipCount = 0;
        F.ShipOneCount = 0;
    } else if (s2 == -1) {
        F.ShipOneCount = Count - s1;
        F.ShipCount = 1;
    } else {
        F.ShipOneCount = s2 - s1;
        if (s2 == s1) Error = "ERROR: Ship1 is empty";
        if (s2 < s1) Error = "ERROR: Ship2 starts at an invalid compartment";
    }
    ShipError = Error;
    if (!Error.empty()) {
        Label10->setText(QString::fromStdString(Error));
        return;
    }
    Label10->setText(QString::fromStdString(std::to_string(Count - 1) + " " + std::to_string(F.ShipCount) + " " +
                                            std::to_string(F.ShipOneCount) + " " + std::to_string(F.ShipTwoCount) +
                                            " " + std::to_string(F.ShipThreeCount) + " "));
}

void TSusPropForm::Button1Click() {
    try {
        const double Length = EditToFloat(Edit2, true);
        const double Beam = EditToFloat(Edit3, true);
        const double Depth = EditToFloat(Edit4, true);
        if (FSusFile) {
            FSusFile->Length = Length;
            FSusFile->Beam = Beam;
            FSusFile->Depth = Depth;
        }
        if (!ShipError.empty()) throw EError(ShipError);
    } catch (const std::exception& E) {
        // An error may not leave a Qt slot; it is shown here, as the event loop would.
        if (GExceptionHandler) GExceptionHandler->HandleException(E);
        return;
    }
    accept();
}

void TSusPropForm::keyPressEvent(QKeyEvent* Event) {
    if (Event->key() == Qt::Key_Escape) {
        Button1Click();
        return;
    }
    QDialog::keyPressEvent(Event);
}

bool ShowSusPropForm(TSusFile& File) {
    TSusPropForm Form(QApplication::activeWindow());
    Form.SetSusFile(&File);
    return Form.exec() == QDialog::Accepted;
}

void RegisterSusPropForm() { GShowSusProperties = ShowSusPropForm; }

}  // namespace sarnova
