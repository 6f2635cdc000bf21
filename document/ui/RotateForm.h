// The rotate dialog: turns the selected entities by three angles about a typed origin.
#pragma once
#include "document/ui/TransformForm.h"

class QTabWidget;

namespace sarnova {

class TRotateForm : public TTransformForm {
public:
    explicit TRotateForm(QWidget* Parent = nullptr);
    QTabWidget* PageControl1;  // "Rotation Angles", "Rotation Origin"
    QLineEdit* Edit1;          // about X (roll), degrees
    QLineEdit* Edit2;          // about Y (pitch)
    QLineEdit* Edit3;          // about Z (yaw)
    QLineEdit* Edit4;          // origin X
    QLineEdit* Edit5;          // origin Y
    QLineEdit* Edit6;          // origin Z

protected:
    TMMatrix BuildTransform() override;
};

bool ExecuteRotateDialog(TMMatrix& Transform, bool& Copy);

}  // namespace sarnova
