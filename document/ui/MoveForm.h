// The move dialog: translates the selected entities by three typed distances.
#pragma once
#include "document/ui/TransformForm.h"

namespace sarnova {

class TMoveForm : public TTransformForm {
public:
    explicit TMoveForm(QWidget* Parent = nullptr);
    QLineEdit* Edit1;  // X (Length)
    QLineEdit* Edit2;  // Y (Breadth)
    QLineEdit* Edit3;  // Z (Depth)

protected:
    TMMatrix BuildTransform() override;
};

// Shows the dialog over the active window; true on OK, with the translation and the copy choice.
bool ExecuteMoveDialog(TMMatrix& Transform, bool& Copy);

}  // namespace sarnova
