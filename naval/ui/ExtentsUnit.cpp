#include "naval/ui/ExtentsUnit.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QToolButton>

#include "naval/VolumesUnit.h"
#include "platform/qt/QtMenus.h"
#include "controls/VkGrid.h"

namespace sarnova {

TExtentsForm* ExtentsForm = nullptr;

TExtentsForm::TExtentsForm(QWidget* Parent) : TReportForm(Parent, "ExtentsForm", "Entity Extents", 7, "Entity Extents") {
    setWindowFlags(windowFlags() | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint);
    auto* Group = new QButtonGroup(this);
    Group->setExclusive(true);
    int Index = 3;
    for (QToolButton** Button : {&SpeedButton3, &SpeedButton4}) {
        *Button = new QToolButton(Panel1);
        (*Button)->setObjectName(QString("SpeedButton%1").arg(Index++));
        (*Button)->setCheckable(true);
        (*Button)->setAutoRaise(true);
        Group->addButton(*Button);
        static_cast<QHBoxLayout*>(Panel1->layout())->addWidget(*Button);
    }
    SpeedButton3->setText("Min / Max");
    SpeedButton3->setToolTip("Minima, then Maxima");
    SpeedButton4->setText("By Axis");
    SpeedButton4->setToolTip("Minimum and Maximum of each Axis");
    SpeedButton3->setChecked(true);
    static_cast<QHBoxLayout*>(Panel1->layout())->addStretch(1);
    connect(SpeedButton3, &QToolButton::clicked, this, [this] { RunMenuCommand([this] { SpeedButton3Click(); }); });
    connect(SpeedButton4, &QToolButton::clicked, this, [this] { RunMenuCommand([this] { SpeedButton4Click(); }); });
}

void TExtentsForm::Fill(TGeometryList& ADocument) {
    Document = &ADocument;
    const bool ByAxis = SpeedButton4->isChecked();
    const std::vector<TExtentsRow> Rows = EntityExtents(ADocument, ByAxis);
    VkGrid1->BeginUpdate();
    struct TEnd {
        TVkGrid* Grid;
        ~TEnd() { Grid->EndUpdate(); }
    } End{VkGrid1};
    VkGrid1->SetSize(7, static_cast<int>(Rows.size()) + 1);
    VkGrid1->Cell(0, 0).SetValue(std::string("Name"));
    const auto Header = ExtentsHeader(ByAxis);
    for (int C = 0; C < 6; ++C) VkGrid1->Cell(C + 1, 0).SetValue(std::string(Header[static_cast<std::size_t>(C)]));
    LayOutColumns();
    for (std::size_t I = 0; I < Rows.size(); ++I) {
        const TExtentsRow& R = Rows[I];
        const int Row = static_cast<int>(I) + 1;
        VkGrid1->Cell(0, Row).SetValue(R.Name);
        for (int C = 0; C < 6; ++C) {
            TVkCell& Cell = VkGrid1->Cell(C + 1, Row);
            if (R.HasArea) {
                Cell.SetValue(R.Values[static_cast<std::size_t>(C)]);
                Cell.SetAlignment(laDefault);
            } else {
                Cell.SetValue(std::string("-"));
                Cell.SetAlignment(laCentre);
            }
        }
        if (Row % 2 == 0) ShadeRow(Row);
    }
}

void TExtentsForm::SpeedButton3Click() {
    if (Document != nullptr) Fill(*Document);
}

void TExtentsForm::SpeedButton4Click() {
    if (Document != nullptr) Fill(*Document);
}

void ShowEntityExtents(TGeometryList* Document) { ShowReport(Document, ExtentsForm); }

}  // namespace sarnova
