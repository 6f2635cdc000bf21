#include "document/ui/MoveForm.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QVBoxLayout>

#include "document/MoveDlg.h"

namespace sarnova {

TMoveForm::TMoveForm(QWidget* Parent) : TTransformForm("Translate Selected Entites", Parent) {
    QFormLayout* Layout;
    Body->addWidget(NewGroup(" Translations ", Layout));
    Edit1 = AddEdit(Layout, "X (Length):", "0");
    Edit2 = AddEdit(Layout, "Y (Breadth):", "0");
    Edit3 = AddEdit(Layout, "Z (Depth):", "0");
    AddButtons();
}

TMMatrix TMoveForm::BuildTransform() {
    const TMVector D = EditsToVector(Edit1, Edit2, Edit3);
    return MoveTransform(D.X, D.Y, D.Z);
}

bool ExecuteMoveDialog(TMMatrix& Transform, bool& Copy) {
    return ExecuteTransformForm<TMoveForm>(Transform, Copy);
}

}  // namespace sarnova
