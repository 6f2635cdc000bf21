// The window "Geometry File (GF) Export Options": source and file units, orientation, title and
// reference, and the length and beam to write.
#pragma once
#include <QDialog>

#include "exchange/IoGF.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace sarnova {

class IUserDialogs;

class TGFExportDlg : public QDialog {
    Q_OBJECT
public:
    TGFExportDlg(TGFExportOptions& Options, IUserDialogs& Dialogs, QWidget* Parent = nullptr);

    QRadioButton* RadioButton1;  // source "Metres"
    QRadioButton* RadioButton2;  // source "Millimetres"
    QRadioButton* RadioButton3;  // source "Feet"
    QRadioButton* RadioButton4;  // file "Metres"
    QRadioButton* RadioButton5;  // file "Feet"
    QRadioButton* RadioButton6;  // "Stern to Bow in positive X direction"
    QRadioButton* RadioButton7;  // "Stern to Bow in negative X direction"
    QLineEdit* Edit1;  // "Title:"
    QLineEdit* Edit2;  // "Reference Number:"
    QCheckBox* CheckBox1;  // "Include Length"
    QLineEdit* Edit3;
    QCheckBox* CheckBox2;  // "Include Beam"
    QLineEdit* Edit4;
    QPushButton* Button1;  // "OK"
    QPushButton* Button2;  // "Cancel"

    // The options from the controls; closes with OK unless a dimension is no number.
    void Ok();

private:
    void ReadUnits();
    void ShowDimensions();

    TGFExportOptions& FOptions;
    IUserDialogs& FDialogs;
};

bool ShowGFExportDlg(TGFExportOptions& Options);
// Sets the GF export's options window; the GUI calls it at start-up.
void RegisterGFExportDlg();

}  // namespace sarnova
