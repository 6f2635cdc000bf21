// The scale dialog: scales the selected entities about a typed origin, by three factors or by a
// unit conversion.
#pragma once
#include <array>

#include "document/ui/TransformForm.h"

class QRadioButton;
class QTabWidget;
class QToolButton;

namespace sarnova {

class TScaleForm : public TTransformForm {
public:
    explicit TScaleForm(QWidget* Parent = nullptr);
    QTabWidget* PageControl1;  // "Scale Factors", "Units Conversion", "Scale Origin"
    QWidget* FactorsPage;
    QLineEdit* Edit1;  // factor X (Length)
    QLineEdit* Edit2;  // factor Y (Breadth)
    QLineEdit* Edit3;  // factor Z (Depth)
    // Down: a factor typed into one edit is copied into the other two.
    QToolButton* SpeedButton1;
    QRadioButton* RadioButton1;  // "Custom Scale Factors"
    std::array<QRadioButton*, 6> Presets;  // RadioButton2 .. RadioButton7
    QLineEdit* Edit4;  // origin X
    QLineEdit* Edit5;  // origin Y
    QLineEdit* Edit6;  // origin Z

    // A factor edit changed. With the lock down its text goes to the other two factors and, when the
    // factors page is showing, the custom factors are chosen again.
    void Edit1Change(QLineEdit* Sender);

protected:
    TMMatrix BuildTransform() override;

private:
    bool FCopying = false;
};

bool ExecuteScaleDialog(TMMatrix& Transform, bool& Copy);

}  // namespace sarnova
