#include "document/ui/TransformForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <exception>

#include "foundation/Console.h"
#include "controls/EditNumbers.h"

namespace sarnova {

TTransformForm::TTransformForm(const char* Caption, QWidget* Parent) : QDialog(Parent) {
    setWindowTitle(Caption);
    Body = new QVBoxLayout(this);
    CheckBox1 = new QCheckBox("Create a &Copy", this);
    Button1 = new QPushButton("OK", this);
    Button2 = new QPushButton("Cancel", this);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void TTransformForm::AddButtons() {
    auto* Row = new QHBoxLayout;
    Row->addWidget(CheckBox1);
    Row->addStretch();
    Row->addWidget(Button1);
    Row->addWidget(Button2);
    Body->addLayout(Row);
}

void TTransformForm::Button1Click() {
    try {
        Transform = BuildTransform();
    } catch (const std::exception& E) {
        // An error may not leave a Qt slot; it is shown here, as the event loop would.
        if (GExceptionHandler) GExceptionHandler->HandleException(E);
        return;
    }
    accept();
}

QTabWidget* TTransformForm::AddPageControl() {
    auto* Tabs = new QTabWidget(this);
    Tabs->setUsesScrollButtons(false);
    Body->addWidget(Tabs);
    return Tabs;
}

QGroupBox* TTransformForm::NewGroup(const char* Title, QFormLayout*& Layout) {
    auto* Group = new QGroupBox(Title);
    Layout = new QFormLayout(Group);
    return Group;
}

QLineEdit* TTransformForm::AddEdit(QFormLayout* Layout, const char* Label, const char* Text) {
    auto* Edit = new QLineEdit(Text);
    Layout->addRow(Label, Edit);
    return Edit;
}

void TTransformForm::AddOriginPage(QTabWidget* Tabs, const char* Caption, QLineEdit*& X, QLineEdit*& Y,
                                   QLineEdit*& Z) {
    QFormLayout* Layout;
    Tabs->addTab(NewGroup(" Origin ", Layout), Caption);
    X = AddEdit(Layout, "X:", "0.0");
    Y = AddEdit(Layout, "Y:", "0.0");
    Z = AddEdit(Layout, "Z:", "0.0");
}

TMVector TTransformForm::EditsToVector(QLineEdit* X, QLineEdit* Y, QLineEdit* Z) {
    const double VX = EditToFloat(X, true);
    const double VY = EditToFloat(Y, true);
    return {VX, VY, EditToFloat(Z, true)};
}

QWidget* TransformFormOwner() { return QApplication::activeWindow(); }

bool RunTransformForm(TTransformForm& Form, TMMatrix& Transform, bool& Copy) {
    const bool Ok = Form.exec() == QDialog::Accepted;
    Transform = Form.Transform;
    Copy = Form.CheckBox1->isChecked();
    return Ok;
}

}  // namespace sarnova
