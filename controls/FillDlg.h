// The fill dialog of the point-list frames: one coordinate of every point set to one value.
#pragma once
#include <array>
#include <string>

#include "controls/SimpleForm.h"

class QFrame;
class QRadioButton;

namespace sarnova {

class TPolyline;

// What the dialog answered: whether Ok was pressed, the coordinate (0 X, 1 Y, 2 Z, -1 none chosen)
// and the value.
struct TFillDlgResult {
    bool Ok = false;
    int Axis = 0;
    double Value = 0;
};

class TFillDlg : public TSimpleDlg {
public:
    // Captioned "Fill Values to " + CaptionSuffix, with coordinate Axis chosen (kept within -1 .. 2).
    TFillDlg(const std::string& CaptionSuffix, int Axis);

    QFrame* Bevel1;
    QGroupBox* RGroupBox1;
    std::array<QRadioButton*, 3> RGroupItems;
    QGroupBox* GroupBox2;
    QLineEdit* Edit1;
    QPushButton* Button1;
    QPushButton* Button2;

    // The chosen coordinate, -1 when none is.
    int ItemIndex() const;
    // Takes the value and the coordinate and closes; a text that is no number is reported, the edit
    // gets the focus and the dialog stays.
    void Ok();

    TFillDlgResult Result;
};

// Runs the fill dialog; Ok false when it was cancelled.
TFillDlgResult ExecuteFillDialog(const std::string& CaptionSuffix, int Axis);

// Asks with the fill dialog (captioned with the class name without its "T", Axis offered first) and
// sets the chosen coordinate of every point of Points to the value; nothing on cancel. The points are
// changed directly: the caller brackets the change and redraws.
void FillPolylineCoordinate(TPolyline& Points, int Axis);

}  // namespace sarnova
