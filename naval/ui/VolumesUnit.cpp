#include "naval/ui/VolumesUnit.h"

#include <QHBoxLayout>
#include <QPrintDialog>
#include <QToolButton>
#include <QVBoxLayout>

#include "naval/VolumesUnit.h"
#include "platform/qt/QtPrinter.h"
#include "platform/qt/QtMenus.h"
#include "controls/VkGrid.h"
#include "controls/VkStatusBar.h"

namespace sarnova {

namespace {

// Light grey, red = green = blue = 220.
constexpr TColor ShadedRowColor = 14474460;

QToolButton* NewSpeedButton(const char* Name, const char* Text, const char* Hint, QWidget* Parent) {
    auto* Button = new QToolButton(Parent);
    Button->setObjectName(Name);
    Button->setText(Text);
    Button->setToolTip(Hint);
    return Button;
}

// Keeps a grid's update bracket closed on every way out.
struct TGridUpdate {
    explicit TGridUpdate(TVkGrid& AGrid) : Grid(AGrid) { Grid.BeginUpdate(); }
    ~TGridUpdate() { Grid.EndUpdate(); }
    TVkGrid& Grid;
};

}  // namespace

TVolumesForm* VolumesForm = nullptr;

TReportForm::TReportForm(QWidget* Parent, const char* Name, const char* Caption, int Columns, std::string Title)
    : QDialog(Parent), PrintTitle(std::move(Title)) {
    setObjectName(Name);
    setWindowTitle(Caption);
    resize(720, 400);
    Panel1 = new QWidget(this);
    Panel1->setObjectName("Panel1");
    auto* Buttons = new QHBoxLayout(Panel1);
    Buttons->setContentsMargins(2, 2, 2, 2);
    SpeedButton1 = NewSpeedButton("SpeedButton1", "Copy", "Copy to Clipboard", Panel1);
    SpeedButton2 = NewSpeedButton("SpeedButton2", "Print", "Print", Panel1);
    Buttons->addWidget(SpeedButton1);
    Buttons->addWidget(SpeedButton2);

    VkGrid1 = new TVkGrid(this);
    VkGrid1->setObjectName("VkGrid1");
    VkGrid1->SetSize(Columns, 1);
    VkGrid1->SetFixedRows(1);
    VkGrid1->SetFixedColumns(0);
    VkGrid1->SetOptions(VkGrid1->GetOptions() & ~(loEditing | loClearing | loAllowMultiCellEntry));
    VkGrid1->FloatFormat().SetFormat(ffFixed);
    VkGrid1->FloatFormat().SetDigits(3);
    VkGrid1->SetFixedAlignment(laCentre);
    TVkGridPagePrintOptions Print;
    Print.SetWideFitPages(1);
    Print.SetColumnHeaders(true);
    Print.SetRowSpaces(5);
    Print.GridLines = false;
    Print.CellColors = false;
    VkGrid1->SetPrintOptions(&Print);

    StatusBar1 = new TVkStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->Panels().Add()->SetWidth(400);
    StatusBar1->Loaded();

    auto* Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->addWidget(Panel1);
    Layout->addWidget(VkGrid1, 1);
    Layout->addWidget(StatusBar1);

    connect(SpeedButton1, &QToolButton::clicked, this, [this] { RunMenuCommand([this] { SpeedButton1Click(); }); });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { RunMenuCommand([this] { SpeedButton2Click(); }); });
}

void TReportForm::SpeedButton1Click() { VkGrid1->CopyAllToClipboard(true); }

void TReportForm::SpeedButton2Click() {
    QPrintDialog PrintDialog1(&GetPrinter(), this);
    if (PrintDialog1.exec() != QDialog::Accepted) return;
    VkGrid1->Print(PrintTitle);
}

void TReportForm::LayOutColumns() {
    for (int C = 0; C < VkGrid1->GetColCount(); ++C) {
        VkGrid1->Column(C).SetWidth(80);
        VkGrid1->Column(C).AutoSize = C == 0;
    }
    VkGrid1->Cell(0, 0).SetAlignment(laLeftJustify);
    VkGrid1->Column(0).SetAlignment(laLeftJustify);
    VkGrid1->SetOptions(VkGrid1->GetOptions() | loAutoSizeColumns);
}

void TReportForm::ShadeRow(int Row) { VkGrid1->Row(Row).SetColor(ShadedRowColor); }

TVolumesForm::TVolumesForm(QWidget* Parent)
    : TReportForm(Parent, "VolumesForm", "Compartment Volumes and Centres", 8, "Compartment Volumes") {
    static_cast<QHBoxLayout*>(Panel1->layout())->addStretch(1);
    StatusBar1->Panels().Item(0)->SetText(GroupVolumeNote);
    StatusBar1->FitPanels();
}

void TVolumesForm::Fill(TGeometryList& Document) {
    const std::vector<TVolumeInformation> Rows = CompartmentVolumes(Document);
    TGridUpdate Update(*VkGrid1);
    VkGrid1->SetSize(8, static_cast<int>(Rows.size()) + 1);
    const char* const Header[] = {"Name", "Type", "Permeability", "Volume", "X", "Y", "Z", "VNet"};
    for (int C = 0; C < 8; ++C) VkGrid1->Cell(C, 0).SetValue(std::string(Header[C]));
    LayOutColumns();
    VkGrid1->Column(1).SetAlignment(laCentre);
    VkGrid1->Column(2).SetAlignment(laCentre);
    for (std::size_t I = 0; I < Rows.size(); ++I) {
        const TVolumeInformation& R = Rows[I];
        const int Row = static_cast<int>(I) + 1;
        VkGrid1->Cell(0, Row).SetValue(R.Name);
        VkGrid1->Cell(1, Row).SetValue(std::string(R.IsGroup ? "Group" : "Compartment"));
        VkGrid1->Cell(2, Row).SetValue(R.IsGroup ? TVkValue() : TVkValue(R.Permeability));
        VkGrid1->Cell(3, Row).SetValue(R.Volume);
        for (int A = 0; A < 3; ++A) VkGrid1->Cell(4 + A, Row).SetValue(R.Centre[A]);
        VkGrid1->Cell(7, Row).SetValue(R.NetVolume);
        if (Row % 2 == 1) ShadeRow(Row);
    }
    VkGrid1->Column(2).FloatFormat().SetDigits(2);
    VkGrid1->FitColumnsToText(80);
}

void ShowCompartmentVolumes(TGeometryList* Document) { ShowReport(Document, VolumesForm); }

}  // namespace sarnova
