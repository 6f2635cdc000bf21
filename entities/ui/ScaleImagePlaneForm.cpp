#include "entities/ui/ScaleImagePlaneForm.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "entities/ImagePlane.h"
#include "foundation/Console.h"
#include "foundation/Errors.h"
#include "controls/EditNumbers.h"

namespace sarnova {

namespace {

// A caption over an edit.
QLineEdit* LabelledEdit(const char* Caption, QWidget* Parent, QGridLayout& Grid, int Row, int Column) {
    auto* Box = new QWidget(Parent);
    auto* Layout = new QVBoxLayout(Box);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->addWidget(new QLabel(Caption, Box));
    auto* Edit = new QLineEdit(Box);
    Layout->addWidget(Edit);
    Grid.addWidget(Box, Row, Column, Qt::AlignCenter);
    return Edit;
}

}  // namespace

TScaleImagePlaneForm::TScaleImagePlaneForm(TImagePlane& APlane, QWidget* Parent) : QDialog(Parent), Plane(APlane) {
    setObjectName("TScaleImagePlaneForm");
    setWindowTitle("Rescale Image Plane to Selection Window Dimensions");
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    auto* Grid = new QGridLayout;
    auto* Picture = new QLabel("Image", this);
    Picture->setObjectName("Panel1");
    Picture->setAlignment(Qt::AlignCenter);
    Picture->setMinimumSize(160, 100);
    Picture->setStyleSheet("background: #a6caf0; border: 1px dotted black;");
    QFont Large = Picture->font();
    Large.setPixelSize(32);
    Picture->setFont(Large);
    Grid->addWidget(Picture, 1, 1);
    Edit1 = LabelledEdit("Min U:", this, *Grid, 1, 0);
    Edit2 = LabelledEdit("Max V:", this, *Grid, 0, 1);
    Edit3 = LabelledEdit("Min V:", this, *Grid, 2, 1);
    Edit4 = LabelledEdit("Max U:", this, *Grid, 1, 2);

    OKButton = new QPushButton("OK", this);
    OKButton->setDefault(true);
    CancelButton = new QPushButton("Cancel", this);
    auto* Buttons = new QHBoxLayout;
    Buttons->addStretch();
    Buttons->addWidget(OKButton);
    Buttons->addWidget(CancelButton);
    auto* Layout = new QVBoxLayout(this);
    Layout->addLayout(Grid);
    Layout->addLayout(Buttons);
    connect(OKButton, &QPushButton::clicked, this, [this] { Accept(); });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TScaleImagePlaneForm::Accept() {
    double UMin = 0, VMin = 0, UMax = 0, VMax = 0;
    try {
        UMin = EditToFloat(Edit1, true);
        VMin = EditToFloat(Edit3, true);
        UMax = EditToFloat(Edit4, true);
        VMax = EditToFloat(Edit2, true);
    } catch (const EConvertError& Error) {
        if (GExceptionHandler) GExceptionHandler->HandleException(Error);
        return;
    }
    Plane.RescaleToSelection(UMin, VMin, UMax, VMax);
    accept();
}

}  // namespace sarnova
