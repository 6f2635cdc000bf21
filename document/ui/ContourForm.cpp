#include "document/ui/ContourForm.h"

#include <QCheckBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "controls/FormatGridWidget.h"
#include "controls/EditNumbers.h"

namespace sarnova {

namespace {

QString Q(const std::string& Text) { return QString::fromStdString(Text); }
std::string S(const QString& Text) { return Text.toStdString(); }

}  // namespace

// ---- Add Contour Group ----

TContourStepsDialog::TContourStepsDialog(TContourStepsDlg& ADialog, QWidget* Parent)
    : QDialog(Parent), Dialog(ADialog) {
    setWindowTitle("Add Contour Group");
    auto* Group = new QGroupBox(" Group Setup ", this);
    auto* Fields = new QFormLayout(Group);
    StartEdit = new QLineEdit(Q(Dialog.StartText), Group);
    EndEdit = new QLineEdit(Q(Dialog.EndText), Group);
    NumberEdit = new QLineEdit(Q(Dialog.NumberText), Group);
    Fields->addRow("Start:", StartEdit);
    Fields->addRow("End:", EndEdit);
    Fields->addRow("Number of Contours:", NumberEdit);
    for (QLineEdit* Edit : {StartEdit, EndEdit, NumberEdit}) Edit->installEventFilter(this);

    OkButton = new QPushButton("Ok", this);
    OkButton->setDefault(true);
    auto* Cancel = new QPushButton("Cancel", this);
    connect(OkButton, &QPushButton::clicked, this, [this] { OkClicked(); });
    connect(Cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* Buttons = new QHBoxLayout;
    Buttons->addStretch();
    Buttons->addWidget(OkButton);
    Buttons->addWidget(Cancel);
    auto* Layout = new QVBoxLayout(this);
    Layout->addWidget(Group);
    Layout->addLayout(Buttons);
}

QLineEdit* TContourStepsDialog::EditFor(const std::string& Field) const {
    return Field == "Start" ? StartEdit : Field == "End" ? EndEdit : NumberEdit;
}

bool TContourStepsDialog::eventFilter(QObject* Watched, QEvent* Event) {
    // Each box is read when it loses the focus, as typed numbers are everywhere.
    if (Event->type() == QEvent::FocusOut && isVisible()) {
        try {
            if (Watched == StartEdit) {
                Dialog.StartText = S(StartEdit->text());
                Dialog.StartExit();
            } else if (Watched == EndEdit) {
                Dialog.EndText = S(EndEdit->text());
                Dialog.EndExit();
            } else if (Watched == NumberEdit) {
                Dialog.NumberText = S(NumberEdit->text());
                Dialog.NumberExit();
            }
        } catch (const std::exception& E) {
            ReportUiError(E);
        }
    }
    return QDialog::eventFilter(Watched, Event);
}

void TContourStepsDialog::OkClicked() {
    Dialog.StartText = S(StartEdit->text());
    Dialog.EndText = S(EndEdit->text());
    Dialog.NumberText = S(NumberEdit->text());
    try {
        Dialog.OkClick();
    } catch (const EEditNumberError& E) {
        QLineEdit* Edit = EditFor(E.Field);
        Edit->setFocus();
        Edit->selectAll();
        ReportUiError(E);
        return;
    } catch (const std::exception& E) {
        ReportUiError(E);
        return;
    }
    accept();
}

// ---- Contour Setup ----

TContourFormDialog::TContourFormDialog(TContourForm& AForm, QWidget* Parent) : QDialog(Parent), Form(AForm) {
    setWindowTitle("Contour Setup");
    Pages = new QTabWidget(this);
    Pages->addTab(MakeGridPage(0), "X Contours");
    Pages->addTab(MakeGridPage(1), "Y Contours");
    Pages->addTab(MakeGridPage(2), "Z Contours");
    Pages->addTab(MakeBuildPage(), "Build Contours");

    OkButton = new QPushButton("Ok", this);
    auto* Cancel = new QPushButton("Cancel", this);
    connect(OkButton, &QPushButton::clicked, this, [this] {
        for (TFormatGridWidget* Grid : Grids) Grid->CommitEditor();
        try {
            ReadControls();
            Form.Button1Click();
        } catch (const std::exception& E) {
            ReportUiError(E);
            return;
        }
        accept();
    });
    // Cancel copies nothing back; what the buttons already did to the set stays.
    connect(Cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* Buttons = new QVBoxLayout;
    Buttons->addWidget(OkButton);
    Buttons->addWidget(Cancel);
    Buttons->addStretch();
    auto* Layout = new QHBoxLayout(this);
    Layout->addWidget(Pages, 1);
    Layout->addLayout(Buttons);

    Form.ShowStepsDialog = [this](TContourStepsDlg& Dialog) {
        TContourStepsDialog Steps(Dialog, this);
        return Steps.exec() == QDialog::Accepted ? TModalResult::mrOk : TModalResult::mrCancel;
    };
    ShowForm();
}

TContourFormDialog::~TContourFormDialog() { Form.ShowStepsDialog = nullptr; }

QWidget* TContourFormDialog::MakeGridPage(int Axis) {
    auto* Page = new QWidget;
    TFormatGrid& Model = Axis == 0 ? Form.XGrid : Axis == 1 ? Form.YGrid : Form.ZGrid;
    Grids[Axis] = new TFormatGridWidget(Model, Page);
    Grids[Axis]->horizontalHeader()->setStretchLastSection(true);
    auto* Buttons = new QVBoxLayout;
    // The buttons of the three pages share their work, done on the active page's grid.
    auto AddButton = [&](const char* Caption, void (TContourForm::*Work)(), bool Focus) {
        auto* Button = new QPushButton(Caption, Page);
        connect(Button, &QPushButton::clicked, this, [this, Work, Focus] {
            for (TFormatGridWidget* Grid : Grids) Grid->CommitEditor();
            Run([this, Work] { (Form.*Work)(); });
            if (Focus) Grids[Form.ActivePage < 3 ? Form.ActivePage : 2]->setFocus();
        });
        Buttons->addWidget(Button);
    };
    AddButton("Add Contour", &TContourForm::AddContourClick, true);
    AddButton("Delete Contour", &TContourForm::DeleteContourClick, true);
    AddButton("Delete All", &TContourForm::DeleteAllClick, false);
    AddButton("Group", &TContourForm::GroupClick, false);
    Buttons->addStretch();
    auto* Layout = new QHBoxLayout(Page);
    Layout->addWidget(Grids[Axis], 1);
    Layout->addLayout(Buttons);
    return Page;
}

QWidget* TContourFormDialog::MakeBuildPage() {
    auto* Page = new QWidget;
    auto* Spacing = new QGroupBox(" Contour Spacing ", Page);
    auto* Grid = new QFormLayout(Spacing);
    const char* Captions[] = {"X Spacing:", "Y Spacing:", "Z Spacing:"};
    for (int Axis = 0; Axis < 3; ++Axis) {
        SpacingOn[Axis] = new QCheckBox(Captions[Axis], Spacing);
        SpacingEdit[Axis] = new QLineEdit(Spacing);
        SpacingEdit[Axis]->setObjectName(QString("Edit%1").arg(Axis + 1));
        connect(SpacingOn[Axis], &QCheckBox::toggled, SpacingEdit[Axis], &QWidget::setEnabled);
        Grid->addRow(SpacingOn[Axis], SpacingEdit[Axis]);
    }
    GenerateBut = new QPushButton("Generate", Spacing);
    SelectedObjects = new QCheckBox("Use Selected Objects Only", Spacing);
    Grid->addRow(GenerateBut, SelectedObjects);
    connect(GenerateBut, &QPushButton::clicked, this, [this] { Run([this] { Form.GenerateButClick(); }); });

    auto* Sections = new QGroupBox(" X Contours from Selected Polyline List Sections ", Page);
    auto* SectionsLayout = new QHBoxLayout(Sections);
    SectionsGenerate = new QPushButton("Generate", Sections);
    ClearYZContours = new QCheckBox("Clear Y and Z Contours", Sections);
    SectionsLayout->addWidget(SectionsGenerate);
    SectionsLayout->addWidget(ClearYZContours);
    connect(SectionsGenerate, &QPushButton::clicked, this, [this] { Run([this] { Form.Button15Click(); }); });

    auto* Layout = new QVBoxLayout(Page);
    Layout->addWidget(Spacing);
    Layout->addWidget(Sections);
    Layout->addStretch();
    return Page;
}

void TContourFormDialog::ShowForm() {
    Pages->setCurrentIndex(Form.ActivePage);
    const bool On[] = {Form.XSpacingOn, Form.YSpacingOn, Form.ZSpacingOn};
    const std::string* Texts[] = {&Form.Edit1, &Form.Edit2, &Form.Edit3};
    for (int Axis = 0; Axis < 3; ++Axis) {
        SpacingOn[Axis]->setChecked(On[Axis]);
        SpacingEdit[Axis]->setEnabled(On[Axis]);
        SpacingEdit[Axis]->setText(Q(*Texts[Axis]));
        Grids[Axis]->GetModel().Refresh();
        Grids[Axis]->SyncCurrent();
    }
    SelectedObjects->setChecked(Form.SelectedObjects);
    SelectedObjects->setEnabled(Form.SelectedObjectsEnabled);
    ClearYZContours->setChecked(Form.ClearYZContours);
    ClearYZContours->setEnabled(Form.SectionsEnabled);
    SectionsGenerate->setEnabled(Form.SectionsEnabled);
}

void TContourFormDialog::ReadControls() {
    Form.ActivePage = Pages->currentIndex();
    Form.XSpacingOn = SpacingOn[0]->isChecked();
    Form.YSpacingOn = SpacingOn[1]->isChecked();
    Form.ZSpacingOn = SpacingOn[2]->isChecked();
    Form.Edit1 = S(SpacingEdit[0]->text());
    Form.Edit2 = S(SpacingEdit[1]->text());
    Form.Edit3 = S(SpacingEdit[2]->text());
    Form.SelectedObjects = SelectedObjects->isChecked();
    Form.ClearYZContours = ClearYZContours->isChecked();
}

template <class F>
void TContourFormDialog::Run(F Work) {
    ReadControls();
    try {
        Work();
    } catch (const EEditNumberError& E) {
        // The box in question is brought into view and focused.
        for (QLineEdit* Edit : SpacingEdit)
            if (Edit->objectName() == Q(E.Field)) {
                ShowControlPage(Edit);
                Edit->setFocus();
                Edit->selectAll();
            }
        ReportUiError(E);
    } catch (const std::exception& E) {
        ReportUiError(E);
    }
    const int Page = Pages->currentIndex();
    ShowForm();
    Pages->setCurrentIndex(Page);
}

void InstallContourSetupDialogs(QWidget* Parent) {
    SetContourSetupHandler([Parent](TContourForm& Form) {
        TContourFormDialog Dialog(Form, Parent);
        return Dialog.exec() == QDialog::Accepted ? TModalResult::mrOk : TModalResult::mrCancel;
    });
}

}  // namespace sarnova
