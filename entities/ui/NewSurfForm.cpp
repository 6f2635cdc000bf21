#include "entities/ui/NewSurfForm.h"

#include <QApplication>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "entities/GBSurf.h"
#include "foundation/Console.h"
#include "controls/EditNumbers.h"
#include "foundation/UserDialogs.h"
#include "surfaces/BSurface.h"

namespace sarnova {

namespace {

QLineEdit* AddEdit(QFormLayout* Layout, const char* Label, const char* Text) {
    auto* Edit = new QLineEdit(Text);
    Layout->addRow(Label, Edit);
    return Edit;
}

QFormLayout* AddGroup(QVBoxLayout* Layout, const char* Caption, QWidget* Parent) {
    auto* Group = new QGroupBox(Caption, Parent);
    auto* Form = new QFormLayout(Group);
    Layout->addWidget(Group);
    return Form;
}

}  // namespace

TNewSurfForm::TNewSurfForm(QWidget* Parent) : QDialog(Parent) {
    setWindowTitle("Create BSpline Surface");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* Layout = new QVBoxLayout(this);
    QFormLayout* Dimensions = AddGroup(Layout, " Dimensions ", this);
    Edit7 = AddEdit(Dimensions, "Length:", "10");
    Edit6 = AddEdit(Dimensions, "Breadth:", "10");
    Edit5 = AddEdit(Dimensions, "Depth:", "10");
    QFormLayout* Complexity = AddGroup(Layout, " Complexity ", this);
    Edit1 = AddEdit(Complexity, "Rows (V):", "4");
    Edit2 = AddEdit(Complexity, "Columns (U):", "4");
    QFormLayout* Order = AddGroup(Layout, " Surface Order ", this);
    Edit3 = AddEdit(Order, "Rows (V):", "4");
    Edit4 = AddEdit(Order, "Columns (U):", "4");
    auto* Buttons = new QHBoxLayout;
    Button1 = new QPushButton("Ok", this);
    Button2 = new QPushButton("Cancel", this);
    Button1->setDefault(true);
    Buttons->addStretch();
    Buttons->addWidget(Button1);
    Buttons->addWidget(Button2);
    Layout->addLayout(Buttons);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

TNewSurfForm::~TNewSurfForm() = default;

void TNewSurfForm::Button1Click() {
    TNewSurfaceInput In;
    try {
        In.Length = EditToFloat(Edit7, true);
        In.Breadth = EditToFloat(Edit6, true);
        In.Depth = EditToFloat(Edit5, true);
        In.NumU = EditToInteger(Edit2, true);
        In.NumV = EditToInteger(Edit1, true);
        In.OrderU = EditToInteger(Edit4, true);
        In.OrderV = EditToInteger(Edit3, true);
    } catch (const std::exception& E) {
        // An error may not leave a Qt slot; it is shown here, as the event loop would.
        if (GExceptionHandler) GExceptionHandler->HandleException(E);
        return;
    }
    if (const std::string Error = NewSurfaceInputError(In); !Error.empty()) {
        if (GExceptionHandler && GExceptionHandler->UserDialogs != nullptr)
            GExceptionHandler->UserDialogs->MessageBox("Error", Error, TMsgDlgType::mtError, mbOK);
        return;
    }
    Surface = NewSurfaceFromInput(In);
    accept();
}

void RegisterNewSurfaceDialog() {
    NewBSplineSurfaceDialog() = []() -> std::unique_ptr<TBSplineSurface> {
        TNewSurfForm Form(QApplication::activeWindow());
        if (Form.exec() != QDialog::Accepted) return nullptr;
        return Form.TakeSurface();
    };
}

}  // namespace sarnova
