// The window "IGES Properties": author, organisation and units of an IGES export.
#pragma once
#include <QDialog>

#include <string>

#include "exchange/IGESFile.h"

class QButtonGroup;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace sarnova {

class TIGESForm : public QDialog {
    Q_OBJECT
public:
    explicit TIGESForm(QWidget* Parent = nullptr);

    // Fills the edits and selects the button of Units; units without a button select none.
    void Setup(const std::string& Author, const std::string& Organisation, TIGESUnits Units);
    // The selected unit; Current when no button is selected.
    TIGESUnits Units(TIGESUnits Current) const;

    QLineEdit* Edit1;  // "Author:"
    QLineEdit* Edit2;  // "Organisation:"
    // Kilometres, Metres, Centimetres, Millimetres, Miles, Feet, Inches, Mils.
    QRadioButton* UnitButtons[8];
    QPushButton* Button1;  // "Close"
    QButtonGroup* UnitGroup;
};

// Shows the window modally and takes the values back however it was closed.
void ShowIGESForm(std::string& Author, std::string& Organisation, TIGESUnits& Units);
// Sets the export's properties dialog to ShowIGESForm; the GUI calls it at start-up.
void RegisterIGESForm();

}  // namespace sarnova
