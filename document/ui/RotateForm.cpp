#include "document/ui/RotateForm.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "document/RotateDlg.h"

namespace sarnova {

TRotateForm::TRotateForm(QWidget* Parent) : TTransformForm("Rotate Selected Entities", Parent) {
    PageControl1 = AddPageControl();

    QFormLayout* Layout;
    PageControl1->addTab(NewGroup(" Rotation Angles ", Layout), "Rotation Angles");
    Edit1 = AddEdit(Layout, "About X (Roll):", "0.000");
    Edit2 = AddEdit(Layout, "About Y (Pitch):", "0.000");
    Edit3 = AddEdit(Layout, "About Z (Yaw):", "0.000");

    AddOriginPage(PageControl1, "Rotation Origin", Edit4, Edit5, Edit6);
    AddButtons();
}

TMMatrix TRotateForm::BuildTransform() {
    const TMVector Origin = EditsToVector(Edit4, Edit5, Edit6);
    const TMVector Angles = EditsToVector(Edit1, Edit2, Edit3);
    return RotateTransform(Angles.X, Angles.Y, Angles.Z, Origin);
}

bool ExecuteRotateDialog(TMMatrix& Transform, bool& Copy) {
    return ExecuteTransformForm<TRotateForm>(Transform, Copy);
}

}  // namespace sarnova
