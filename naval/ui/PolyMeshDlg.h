// The polyline meshing dialog: knuckle threshold, segment length and the end caps of the mesh made
// from a list's sections.
#pragma once
#include "naval/GPList.h"
#include "controls/SimpleForm.h"

class QCheckBox;

namespace sarnova {

class TPolyMeshForm : public TSimpleDlg {
public:
    TPolyMeshForm();

    // Takes the answers (the threshold turned into radians) and closes with OK; a text that is no
    // number is reported and the dialog stays.
    void Button1Click();
    void Button2Click();

    // Cancelled unless the dialog closed with OK, however it was closed.
    TPolyMeshOptions Result;

    QGroupBox* GroupBox1;
    QGroupBox* GroupBox2;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QPushButton* Button1;
    QPushButton* Button2;
};

TPolyMeshOptions ShowPolyMeshDialog();

}  // namespace sarnova
