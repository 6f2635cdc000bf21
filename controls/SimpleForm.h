// Dialogs whose controls are made in code: an owner of a plain form, the same with a dialog border
// centred on the screen, and the one-number dialog.
#pragma once
#include <memory>
#include <string>

#include "foundation/UserDialogs.h"

class QDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace sarnova {

// Owns its form; destroying the object frees the form.
class TSimpleForm {
public:
    TSimpleForm();
    virtual ~TSimpleForm();
    TSimpleForm(const TSimpleForm&) = delete;
    TSimpleForm& operator=(const TSimpleForm&) = delete;

    QDialog& GetForm() const { return *Form; }
    // Shows the form modally; closing it any other way than through a button answers mrCancel.
    TModalResult ShowModal();

protected:
    // The form's client area for a form Width x Height pixels outside, as the layouts give them.
    void SetFormSize(int Width, int Height);
    // Closes the form with Result.
    void CloseWith(TModalResult Result);

    std::unique_ptr<QDialog> Form;
    bool CentreOnScreen = false;
};

// A fixed dialog border, centred on the screen.
class TSimpleDlg : public TSimpleForm {
public:
    TSimpleDlg();
};

// Asks for one number: the group box FrameCaption holds the label LabelText and the edit box.
class TDoubleDlg : public TSimpleDlg {
public:
    TDoubleDlg(const std::string& Caption, const std::string& LabelText, const std::string& FrameCaption);

    // The number after Ok.
    double Value = 0;

    QGroupBox* GroupBox1;
    QLabel* Label1;
    QLineEdit* Edit1;
    QPushButton* Button1;
    QPushButton* Button2;

    // Takes the number and closes with mrOk; a text that is no number is reported, the edit gets the
    // focus and the dialog stays.
    void Ok();
};

}  // namespace sarnova
