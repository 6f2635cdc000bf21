#include "document/ui/RotateForm.h"

#include <QApplication>
#include <QFormLayout>
#include <QGroupBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "document/RotateDlg.h"
#include "foundation/ui/DuZezOrideControls.h"

namespace sarnova {

TRotateForm::TRotateForm(QWidget* Parent) : TTransformForm("Rotate Selected Entities", Parent) {
    PageControl1 = AddPageControl();

    QFormLayout* Layout;
    PageControl1->addTab(NewGroup(" Rotation Angles ", Layout), "Rotation Angles");
    Edit1 = AddEdit(Layout, "About X (Roll):", "0.000");
    Edit2 = AddEdit(Layout, "About Y (Pitch):", "0.000");
    Edit3 = AddEdit(Layout, "About Z (Yaw):", "0.000");

    PageControl1->addTab(NewGroup(" Origin ", Layout), "Rotation Origin");
    Edit4 = AddEdit(Layout, "X:", "0.0");
    Edit5 = AddEdit(Layout, "Y:", "0.0");
    Edit6 = AddEdit(Layout, "Z:", "0.0");
    AddButtons();
}

TMMatrix TRotateForm::BuildTransform() {
    const TMVector Origin{EditToFloat(Edit4, true), EditToFloat(Edit5, true), EditToFloat(Edit6, true)};
    const double X = EditToFloat(Edit1, true);
    const double Y = EditToFloat(Edit2, true);
    const double Z = EditToFloat(Edit3, true);
    return RotateTransform(X, Y, Z, Origin);
}

bool ExecuteRotateDialog(TMMatrix& Transform, bool& Copy) {
    TRotateForm Form(QApplication::activeWindow());
    return ExecuteTransformForm(Form, Transform, Copy);
}

}  // namespace sarnova
