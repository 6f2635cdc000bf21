#include "document/ui/MoveForm.h"

#include <QApplication>
#include <QFormLayout>
#include <QGroupBox>
#include <QVBoxLayout>

#include "document/MoveDlg.h"
#include "foundation/ui/DuZezOrideControls.h"

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
    const double X = EditToFloat(Edit1, true);
    const double Y = EditToFloat(Edit2, true);
    const double Z = EditToFloat(Edit3, true);
    return MoveTransform(X, Y, Z);
}

bool ExecuteMoveDialog(TMMatrix& Transform, bool& Copy) {
    TMoveForm Form(QApplication::activeWindow());
    return ExecuteTransformForm(Form, Transform, Copy);
}

}  // namespace sarnova
