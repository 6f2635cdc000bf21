// The mirror dialog: reflects the selected entities in an axis plane at a typed offset.
#pragma once
#include "document/ui/TransformForm.h"

class QRadioButton;

namespace sarnova {

class TMirrorForm : public TTransformForm {
public:
    explicit TMirrorForm(QWidget* Parent = nullptr);
    QRadioButton* RadioButton1;  // XY plane, offset in Edit1
    QRadioButton* RadioButton2;  // YZ plane, offset in Edit2
    QRadioButton* RadioButton3;  // ZX plane, offset in Edit3; the first choice
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLineEdit* Edit3;

protected:
    // Reads all three offsets, the disabled ones too.
    TMMatrix BuildTransform() override;
};

bool ExecuteMirrorDialog(TMMatrix& Transform, bool& Copy);

}  // namespace sarnova
