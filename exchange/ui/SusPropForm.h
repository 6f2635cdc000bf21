// The window "SUS File properties": title, main dimensions, compatibility options and the ship
// definitions of a SUS file about to be written.
#pragma once
#include <QDialog>

#include <string>

class QCheckBox;
class QKeyEvent;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace sarnova {

class TSusFile;

class TSusPropForm : public QDialog {
    Q_OBJECT
public:
    explicit TSusPropForm(QWidget* Parent = nullptr);

    // Attaches the model (not owned) and loads the controls from it.
    void SetSusFile(TSusFile* File);
    void LoadControls();
    void FillShipLists();
    void UpdateHeaderLabel();
    void UpdateShipDefinitions();

    void RadioButton1Click();
    void CheckBox2Click();
    void ComboBox1Change();
    void ComboBox2Change();
    // Stores the dimensions; a remembered ship error or a box without a number keeps the window open.
    void Button1Click();

    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4;
    QLabel* Label4;  // the caption of Edit4
    QRadioButton *RadioButton1, *RadioButton2;
    QCheckBox *CheckBox1, *CheckBox2;
    QLabel* Label8;
    QComboBox *ComboBox1, *ComboBox2, *ComboBox3;
    QLabel *Label11, *Label12, *Label13;
    QLabel *Label9, *Label10;
    QPushButton* Button1;
    std::string ShipError;

protected:
    // Escape is the Close button; only the window frame cancels.
    void keyPressEvent(QKeyEvent* Event) override;

private:
    TSusFile* FSusFile = nullptr;
    bool FLoading = false;
};

// Shows the window modally on File: true when it was closed with Close.
bool ShowSusPropForm(TSusFile& File);
// Sets the SUS exports' properties window to ShowSusPropForm; the GUI calls it at start-up.
void RegisterSusPropForm();

}  // namespace sarnova
