#include "document/ui/MirrorForm.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "document/MirrorDlg.h"

namespace sarnova {

TMirrorForm::TMirrorForm(QWidget* Parent) : TTransformForm("Mirror Selected Entities", Parent) {
    auto* Group = new QGroupBox(" Mirror Planes ");
    auto* Grid = new QGridLayout(Group);
    RadioButton1 = new QRadioButton("Mirror in XY Plane = ");
    RadioButton2 = new QRadioButton("Mirror in YZ Plane = ");
    RadioButton3 = new QRadioButton("Mirror in ZX Plane = ");
    Edit1 = new QLineEdit("0.000");
    Edit2 = new QLineEdit("0.000");
    Edit3 = new QLineEdit("0.000");
    const std::pair<QRadioButton*, QLineEdit*> Rows[] = {
        {RadioButton1, Edit1}, {RadioButton2, Edit2}, {RadioButton3, Edit3}};
    for (int Row = 0; Row < 3; ++Row) {
        auto [Button, Edit] = Rows[Row];
        Grid->addWidget(Button, Row, 0);
        Grid->addWidget(Edit, Row, 1);
        Edit->setEnabled(false);
        // Each choice enables its own offset and disables the other two.
        connect(Button, &QRadioButton::toggled, Edit, &QLineEdit::setEnabled);
    }
    RadioButton3->setChecked(true);
    Body->addWidget(Group);
    AddButtons();
}

TMMatrix TMirrorForm::BuildTransform() {
    const TMVector Offsets = EditsToVector(Edit1, Edit2, Edit3);
    if (RadioButton1->isChecked()) return MirrorTransform(TMirrorChoice::mcXYPlane, Offsets.X);
    if (RadioButton2->isChecked()) return MirrorTransform(TMirrorChoice::mcYZPlane, Offsets.Y);
    return MirrorTransform(TMirrorChoice::mcZXPlane, Offsets.Z);
}

bool ExecuteMirrorDialog(TMMatrix& Transform, bool& Copy) {
    return ExecuteTransformForm<TMirrorForm>(Transform, Copy);
}

}  // namespace sarnova
