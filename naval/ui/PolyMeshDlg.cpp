#include "naval/ui/PolyMeshDlg.h"

#include <QCheckBox>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "controls/FormatGridWidget.h"
#include "controls/EditNumbers.h"

namespace sarnova {

TPolyMeshForm::TPolyMeshForm() {
    Result.Cancelled = true;
    QDialog& F = *Form;
    F.setWindowTitle("Mesh Polylines");
    GroupBox1 = new QGroupBox(" Generation ", &F);
    auto* Generation = new QGridLayout(GroupBox1);
    Edit1 = new QLineEdit("120.0", GroupBox1);
    Edit2 = new QLineEdit("0.5", GroupBox1);
    Generation->addWidget(new QLabel("Knuckle Threshold:", GroupBox1), 0, 0);
    Generation->addWidget(Edit1, 0, 1);
    Generation->addWidget(new QLabel("Degrees", GroupBox1), 0, 2);
    Generation->addWidget(new QLabel("Segment Length:", GroupBox1), 1, 0);
    Generation->addWidget(Edit2, 1, 1);
    Generation->addWidget(new QLabel("Units", GroupBox1), 1, 2);
    GroupBox2 = new QGroupBox(" Cap Ends ", &F);
    auto* Caps = new QGridLayout(GroupBox2);
    CheckBox1 = new QCheckBox("Cap Start", GroupBox2);
    CheckBox2 = new QCheckBox("Cap End", GroupBox2);
    Caps->addWidget(CheckBox1, 0, 0);
    Caps->addWidget(CheckBox2, 0, 1);
    Button1 = new QPushButton("OK", &F);
    Button1->setDefault(true);
    Button2 = new QPushButton("Cancel", &F);
    auto* Layout = new QGridLayout(&F);
    Layout->addWidget(GroupBox1, 0, 0, 2, 1);
    Layout->addWidget(GroupBox2, 2, 0);
    Layout->addWidget(Button1, 0, 1);
    Layout->addWidget(Button2, 1, 1);
    QObject::connect(Button1, &QPushButton::clicked, &F, [this] { Button1Click(); });
    QObject::connect(Button2, &QPushButton::clicked, &F, [this] { Button2Click(); });
}

void TPolyMeshForm::Button1Click() {
    TPolyMeshOptions Answer;
    try {
        Answer.KnuckleAngle = EditToFloat(Edit1, true) / 180 * 3.1415926535897932385;
        Answer.SegmentLength = EditToFloat(Edit2, true);
    } catch (const std::exception& E) {
        ReportUiError(E);
        return;
    }
    Answer.CapStart = CheckBox1->isChecked();
    Answer.CapEnd = CheckBox2->isChecked();
    Answer.Cancelled = false;
    Result = Answer;
    CloseWith(TModalResult::mrOk);
}

void TPolyMeshForm::Button2Click() {
    Result.Cancelled = true;
    CloseWith(TModalResult::mrCancel);
}

TPolyMeshOptions ShowPolyMeshDialog() {
    TPolyMeshForm Form;
    Form.ShowModal();
    return Form.Result;
}

}  // namespace sarnova
