#include "entities/ui/PlaneProjectionForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "entities/PlaneProjectionDlg.h"

namespace sarnova {

TPlaneProjectionForm::TPlaneProjectionForm(QWidget* Parent) : QDialog(Parent) {
    setWindowTitle("Project Curve on to Plane");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* Layout = new QVBoxLayout(this);
    auto* Group = new QGroupBox(" Projection Direction ", this);
    auto* GroupLayout = new QVBoxLayout(Group);
    const char* const Captions[4] = {"Project Parallel to X Axis", "Project Parallel to Y Axis",
                                     "Project Parallel to Z Axis", "Project Normal to Plane"};
    for (int Code = 0; Code < 4; ++Code) {
        DirectionButtons[Code] = new QRadioButton(Captions[Code], Group);
        GroupLayout->addWidget(DirectionButtons[Code]);
    }
    DirectionButtons[pdNormalToPlane]->setChecked(true);
    Layout->addWidget(Group);
    CopyCurveBox = new QCheckBox("Copy Curve", this);
    Layout->addWidget(CopyCurveBox);
    auto* Buttons = new QHBoxLayout;
    OkButton = new QPushButton("Ok", this);
    CancelButton = new QPushButton("Cancel", this);
    OkButton->setDefault(true);
    Buttons->addStretch();
    Buttons->addWidget(OkButton);
    Buttons->addWidget(CancelButton);
    Layout->addLayout(Buttons);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TPlaneProjectionForm::Setup(const TMPlane& Plane) {
    for (std::uint8_t Code = 0; Code < 3; ++Code)
        DirectionButtons[Code]->setEnabled(ProjectionDirectionAllowed(Plane, Code));
    DirectionButtons[pdNormalToPlane]->setChecked(true);
}

std::uint8_t TPlaneProjectionForm::Direction() const {
    for (std::uint8_t Code = 0; Code < 4; ++Code)
        if (DirectionButtons[Code]->isChecked()) return Code;
    return pdNormalToPlane;
}

bool TPlaneProjectionForm::CopyCurve() const { return CopyCurveBox->isChecked(); }

bool ShowPlaneProjectionForm(const TMPlane& Plane, std::uint8_t& Direction, bool& CopyCurve) {
    TPlaneProjectionForm Form(QApplication::activeWindow());
    Form.Setup(Plane);
    if (Form.exec() != QDialog::Accepted) return false;
    Direction = Form.Direction();
    CopyCurve = Form.CopyCurve();
    return true;
}

}  // namespace sarnova
