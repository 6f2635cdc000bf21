#include "document/ui/ScaleForm.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "document/ScaleDlg.h"

namespace sarnova {

TScaleForm::TScaleForm(QWidget* Parent) : TTransformForm("Scale Selected Entities", Parent) {
    PageControl1 = AddPageControl();

    FactorsPage = new QWidget;
    auto* FactorsRow = new QHBoxLayout(FactorsPage);
    QFormLayout* Layout;
    FactorsRow->addWidget(NewGroup(" Scale Factors ", Layout));
    Edit1 = AddEdit(Layout, "X (Length):", "1.0");
    Edit2 = AddEdit(Layout, "Y (Breadth):", "1.0");
    Edit3 = AddEdit(Layout, "Z (Depth):", "1.0");
    SpeedButton1 = new QToolButton;
    SpeedButton1->setText("Lock");
    SpeedButton1->setCheckable(true);
    SpeedButton1->setChecked(true);
    FactorsRow->addWidget(SpeedButton1);
    PageControl1->addTab(FactorsPage, "Scale Factors");
    for (QLineEdit* Edit : {Edit1, Edit2, Edit3})
        connect(Edit, &QLineEdit::textChanged, this, [this, Edit] { Edit1Change(Edit); });

    auto* Units = new QGroupBox(" Units Conversion ");
    auto* UnitsLayout = new QVBoxLayout(Units);
    RadioButton1 = new QRadioButton("Custom Scale Factors");
    RadioButton1->setChecked(true);
    UnitsLayout->addWidget(RadioButton1);
    for (std::size_t I = 0; I < Presets.size(); ++I) {
        Presets[I] = new QRadioButton(ScalePresets[I].Caption);
        UnitsLayout->addWidget(Presets[I]);
        connect(Presets[I], &QRadioButton::clicked, this, [this, I] {
            const QString Text = QString::fromStdString(ScaleFactorText(ScalePresets[I].Factor));
            for (QLineEdit* Edit : {Edit1, Edit2, Edit3}) Edit->setText(Text);
        });
    }
    PageControl1->addTab(Units, "Units Conversion");

    AddOriginPage(PageControl1, "Scale Origin", Edit4, Edit5, Edit6);
    PageControl1->setCurrentIndex(2);
    AddButtons();
}

void TScaleForm::Edit1Change(QLineEdit* Sender) {
    if (!SpeedButton1->isChecked() || FCopying) return;
    FCopying = true;
    for (QLineEdit* Edit : {Edit1, Edit2, Edit3})
        if (Edit != Sender) Edit->setText(Sender->text());
    FCopying = false;
    if (PageControl1->currentWidget() == FactorsPage) RadioButton1->setChecked(true);
}

TMMatrix TScaleForm::BuildTransform() {
    const TMVector Origin = EditsToVector(Edit4, Edit5, Edit6);
    const TMVector Factors = EditsToVector(Edit1, Edit2, Edit3);
    return ScaleTransform(Factors.X, Factors.Y, Factors.Z, Origin);
}

bool ExecuteScaleDialog(TMMatrix& Transform, bool& Copy) {
    return ExecuteTransformForm<TScaleForm>(Transform, Copy);
}

}  // namespace sarnova
