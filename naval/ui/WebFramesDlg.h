// The web-frame dialog: the depth and thickness of the web frames made from a list's sections.
#pragma once
#include "naval/GPList.h"
#include "controls/SimpleForm.h"

namespace sarnova {

class TWebFramesForm : public TSimpleDlg {
public:
    TWebFramesForm();

    // Reads both edits into the result and closes with OK; a text that is no number is reported and
    // the dialog stays.
    void Button1Click();

    // Both 0 unless the dialog closed with OK.
    TWebFrameSize Result;

    QGroupBox* GroupBox1;
    QLabel* Label1;
    QLabel* Label2;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QPushButton* Button1;
    QPushButton* Button2;
};

// Shows the dialog; (0, 0) when it was cancelled.
TWebFrameSize ShowWebFramesDialog();

}  // namespace sarnova
