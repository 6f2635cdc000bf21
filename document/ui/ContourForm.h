// The "Contour Setup" and "Add Contour Group" dialogs on screen, over their models in
// document/GContoursSetup.h. InstallContourSetupDialogs makes the model open them.
#pragma once
#include <QDialog>

#include "document/GContoursSetup.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace sarnova {

class TFormatGridWidget;

class TContourStepsDialog : public QDialog {
    Q_OBJECT
public:
    TContourStepsDialog(TContourStepsDlg& ADialog, QWidget* Parent = nullptr);

    QLineEdit* StartEdit = nullptr;
    QLineEdit* EndEdit = nullptr;
    QLineEdit* NumberEdit = nullptr;
    QPushButton* OkButton = nullptr;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void OkClicked();
    QLineEdit* EditFor(const std::string& Field) const;

    TContourStepsDlg& Dialog;
};

class TContourFormDialog : public QDialog {
    Q_OBJECT
public:
    TContourFormDialog(TContourForm& AForm, QWidget* Parent = nullptr);
    // The form may outlive the dialog: it no longer opens the group dialog through it.
    ~TContourFormDialog() override;

    QTabWidget* Pages = nullptr;
    TFormatGridWidget* Grids[3]{};
    QCheckBox* SpacingOn[3]{};
    QLineEdit* SpacingEdit[3]{};
    QCheckBox* SelectedObjects = nullptr;
    QPushButton* GenerateBut = nullptr;
    QPushButton* SectionsGenerate = nullptr;
    QCheckBox* ClearYZContours = nullptr;
    QPushButton* OkButton = nullptr;

    // The model's state into the controls, and back.
    void ShowForm();
    void ReadControls();

private:
    // Runs a button's work on the model with the controls' state, then shows the result; an error is
    // reported and the dialog stays open.
    template <class F>
    void Run(F Work);
    QWidget* MakeGridPage(int Axis);
    QWidget* MakeBuildPage();

    TContourForm& Form;
};

// Lets ShowContourSetup open the dialog, modal over Parent.
void InstallContourSetupDialogs(QWidget* Parent = nullptr);

}  // namespace sarnova
