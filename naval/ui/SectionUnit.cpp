#include "naval/ui/SectionUnit.h"

#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <charconv>

#include "controls/FormatGridWidget.h"
#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "foundation/PolyList.h"
#include "foundation/PolyListSections.h"
#include "controls/EditNumbers.h"

namespace sarnova {

namespace {

// The edit's text as a whole number; otherwise the edit gets the focus and the reading fails.
int EditToInteger(QLineEdit* Edit) {
    const std::string Text = Trim(Edit->text().toStdString());
    int Value = 0;
    const auto [End, Error] = std::from_chars(Text.data(), Text.data() + Text.size(), Value);
    if (Text.empty() || Error != std::errc() || End != Text.data() + Text.size()) {
        ShowControlPage(Edit);
        Edit->setFocus();
        throw EConvertError("Unable to convert text to number");
    }
    return Value;
}

}  // namespace

TSectionForm::TSectionForm() {
    QDialog& F = *Form;
    F.setWindowTitle("Section Spacing");
    GroupBox1 = new QGroupBox(" Change Section Spacing ", &F);
    auto* Grid = new QGridLayout(GroupBox1);
    RadioButton1 = new QRadioButton("Change number of sections =", GroupBox1);
    RadioButton1->setChecked(true);
    Edit1 = new QLineEdit(GroupBox1);
    RadioButton2 = new QRadioButton("Change section spacing = ", GroupBox1);
    Edit2 = new QLineEdit(GroupBox1);
    Edit2->setEnabled(false);
    Grid->addWidget(RadioButton1, 0, 0);
    Grid->addWidget(Edit1, 0, 1);
    Grid->addWidget(RadioButton2, 1, 0);
    Grid->addWidget(Edit2, 1, 1);
    Button1 = new QPushButton("OK", &F);
    Button1->setDefault(true);
    Button2 = new QPushButton("Cancel", &F);
    auto* Layout = new QGridLayout(&F);
    Layout->addWidget(GroupBox1, 0, 0, 2, 1);
    Layout->addWidget(Button1, 0, 1);
    Layout->addWidget(Button2, 1, 1);
    QObject::connect(RadioButton1, &QRadioButton::clicked, &F, [this] { RadioButton1Click(); });
    QObject::connect(RadioButton2, &QRadioButton::clicked, &F, [this] { RadioButton2Click(); });
    QObject::connect(Button1, &QPushButton::clicked, &F, [this] { Button1Click(); });
    QObject::connect(Button2, &QPushButton::clicked, &F, [this] { CloseWith(TModalResult::mrCancel); });
}

void TSectionForm::Setup(TPolylineList& AList) {
    List = &AList;
    const int Count = AList.Count();
    Edit1->setText(QString::number(Count));
    const TMBox Box = AList.Extents();
    // An empty list has no length to share out.
    const double Spacing = Count > 0 ? (Box.Max.X - Box.Min.X) / Count : 0;
    Edit2->setText(QString::fromStdString(Format("%.3f", {Spacing})));
}

void TSectionForm::RadioButton1Click() {
    Edit1->setEnabled(true);
    Edit2->setEnabled(false);
}

void TSectionForm::RadioButton2Click() {
    Edit1->setEnabled(false);
    Edit2->setEnabled(true);
}

void TSectionForm::Button1Click() {
    try {
        const int Count = EditToInteger(Edit1);
        const double Spacing = EditToFloat(Edit2, true);
        if (List != nullptr) {
            if (RadioButton1->isChecked())
                RespaceSections(Count, *List);
            else
                RespaceSectionsBySpacing(*List, Spacing);
        }
    } catch (const std::exception& E) {
        ReportUiError(E);
        return;
    }
    CloseWith(TModalResult::mrOk);
}

bool ShowSectionSpacingDialog(TPolylineList& List) {
    TSectionForm Form;
    Form.Setup(List);
    return Form.ShowModal() == TModalResult::mrOk;
}

}  // namespace sarnova
