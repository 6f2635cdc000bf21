// What the move, rotate, scale and mirror dialogs share: the transform their OK button builds, the
// "Create a &Copy" check box, OK and Cancel, and how they are run.
#pragma once
#include <QDialog>

#include "foundation/VkMaths.h"

class QCheckBox;
class QFormLayout;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QVBoxLayout;

namespace sarnova {

class TTransformForm : public QDialog {
public:
    // The transform the last OK built; the identity before.
    TMMatrix Transform = IdentityMatrix;
    QCheckBox* CheckBox1;
    QPushButton* Button1;  // OK, the default button
    QPushButton* Button2;  // Cancel

    // Builds Transform from the edits and closes the dialog with OK. A text that is no number is
    // reported and the dialog stays open on that field.
    void Button1Click();

protected:
    TTransformForm(const char* Caption, QWidget* Parent);
    // Reads the edits; raises when one holds no number.
    virtual TMMatrix BuildTransform() = 0;
    // Call last in the derived constructor: the check box and the buttons go below Body.
    void AddButtons();

    // The pages of the dialog, every tab in view.
    QTabWidget* AddPageControl();
    // A group box with a form layout, and a labelled edit in it.
    static QGroupBox* NewGroup(const char* Title, QFormLayout*& Layout);
    static QLineEdit* AddEdit(QFormLayout* Layout, const char* Label, const char* Text);
    // The page "<Caption>" with the group " Origin " and the edits X, Y and Z, each "0.0".
    void AddOriginPage(QTabWidget* Tabs, const char* Caption, QLineEdit*& X, QLineEdit*& Y, QLineEdit*& Z);
    // The three edits read strictly, in order.
    static TMVector EditsToVector(QLineEdit* X, QLineEdit* Y, QLineEdit* Z);

    QVBoxLayout* Body;
};

// Runs Form modally and hands out its transform and copy choice; true when it ended with OK.
bool RunTransformForm(TTransformForm& Form, TMMatrix& Transform, bool& Copy);
// The window the dialogs are shown over: the application's active window.
QWidget* TransformFormOwner();

template <class TForm>
bool ExecuteTransformForm(TMMatrix& Transform, bool& Copy) {
    TForm Form(TransformFormOwner());
    return RunTransformForm(Form, Transform, Copy);
}

}  // namespace sarnova
