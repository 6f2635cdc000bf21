// The section-spacing dialog of the polyline lists: re-sections a list to a number of sections or
// to a spacing along x.
#pragma once
#include <string>

#include "controls/SimpleForm.h"

class QRadioButton;

namespace sarnova {

class TPolylineList;

class TSectionForm : public TSimpleDlg {
public:
    TSectionForm();

    // Shows the list's section count and its mean spacing (length over count, three decimals).
    void Setup(TPolylineList& AList);
    void RadioButton1Click();
    void RadioButton2Click();
    // Reads both edits, re-sections the list as the checked button says and closes with OK; a text
    // that is no number is reported, its edit gets the focus and the dialog stays.
    void Button1Click();

    QGroupBox* GroupBox1;
    QRadioButton* RadioButton1;
    QLineEdit* Edit1;
    QRadioButton* RadioButton2;
    QLineEdit* Edit2;
    QPushButton* Button1;
    QPushButton* Button2;

private:
    TPolylineList* List = nullptr;
};

// Shows the dialog for List; true when it closed with OK, List then re-sectioned.
bool ShowSectionSpacingDialog(TPolylineList& List);

}  // namespace sarnova
