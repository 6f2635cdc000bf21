// The window "Export IMS Offsets": file name, yacht name, measurer number, main dimensions and units
// of an IMS offsets export.
#pragma once
#include <QDialog>

#include <string>

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace sarnova {

class IUserDialogs;
class TOFFFile;

class TOFFFileForm : public QDialog {
    Q_OBJECT
public:
    TOFFFileForm(TOFFFile& File, IUserDialogs& Dialogs, QWidget* Parent = nullptr);

    QLineEdit* Edit1;  // "Filename:"
    QPushButton* Button4;  // "Browse"
    QLineEdit* Edit2;  // "Yacht Name:"
    QLineEdit* Edit6;  // "Measurer Number:"
    QLineEdit* Edit3;  // "LOA:"
    QLineEdit* Edit4;  // "SFJ:"
    QLineEdit* Edit5;  // "SFBI:"
    QRadioButton* RadioButton1;  // imperial
    QRadioButton* RadioButton2;  // metric
    QPushButton* Button3;  // "Flip 'x' Orientation using LOA" (no action: disabled)
    QPushButton* Button1;  // "&Save"
    QPushButton* Button2;  // "&Cancel"

    // Takes the fields into the model and closes with OK; a field that is no number keeps the window
    // open with the conversion error shown.
    void Save();

private:
    void Browse();

    TOFFFile& FFile;
    IUserDialogs& FDialogs;
};

// Shows the window modally for File; true (with FileName) on Save.
bool ShowOFFFileForm(TOFFFile& File, std::string& FileName);
// Sets the export window of the IMS offsets export; the GUI calls it at start-up.
void RegisterOFFFileForm();

}  // namespace sarnova
