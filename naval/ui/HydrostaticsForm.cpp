#include "naval/ui/HydrostaticsForm.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrintDialog>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "foundation/NumberText.h"
#include "foundation/PolyList.h"
#include "naval/HullSelection.h"
#include "naval/HullHydrostatics.h"
#include "naval/HydroTable.h"
#include "platform/qt/QtPrinter.h"
#include "platform/qt/QtMenus.h"
#include "controls/VkGrid.h"
#include "controls/VkStatusBar.h"

namespace sarnova {

namespace {

// The progress bar of status panel 1.
QProgressBar* PanelProgress(TVkStatusBar& Bar) {
    TVkStatusPanel* Panel = Bar.Panels().Item(1);
    if (!Panel->GetProgressBar()) {
        auto* Progress = new QProgressBar(&Bar);
        Progress->setObjectName("ProgressBar1");
        Progress->setRange(0, 100);
        Progress->setFormat("%p%");
        Progress->setAlignment(Qt::AlignCenter);
        Panel->SetProgressBar(Progress);
    }
    return Panel->GetProgressBar();
}

// Undoes the window's "working" state when the work ends, also by an error.
class TWorking {
public:
    TWorking(THullCalculationForm& Form) : FForm(Form) { FForm.EnableControls(false); }
    ~TWorking() { FForm.EnableControls(true); }
    TWorking(const TWorking&) = delete;
    TWorking& operator=(const TWorking&) = delete;

private:
    THullCalculationForm& FForm;
};

}  // namespace

THydrostaticsForm::THydrostaticsForm(QWidget* Parent)
    : THullCalculationForm(Parent), FTable(std::make_unique<THydrostaticsTable>()) {
    setObjectName("HydrostaticsForm");
    setWindowTitle("Hydrostatics - (Under Test)");
    resize(760, 420);

    CopyButton = new QToolButton(this);
    CopyButton->setObjectName("CopyButton");
    CopyButton->setToolTip("Copy to Clipboard");
    CopyButton->setText("Copy");
    PrintButton = new QToolButton(this);
    PrintButton->setObjectName("PrintButton");
    PrintButton->setToolTip("Print");
    PrintButton->setText("Print");
    Button1->setToolTip("Calculate Hydrostatics");

    auto* Top = new QHBoxLayout;
    Top->setContentsMargins(4, 4, 6, 4);
    Top->addWidget(CopyButton);
    Top->addWidget(PrintButton);
    Top->addWidget(new QLabel("Draughts:", this));
    Top->addWidget(Edit1, 1);
    Top->addWidget(Button1);
    Top->addWidget(new QLabel("Min Draught:", this));
    Top->addWidget(Label4);
    Top->addWidget(new QLabel("Max Draught:", this));
    Top->addWidget(Label5);

    VkGrid1 = new TVkGrid(this);
    VkGrid1->setObjectName("VkGrid1");
    VkGrid1->SetFixedRows(1);
    VkGrid1->SetFixedColumns(0);
    VkGrid1->SetFormat(lfNumeric);
    VkGrid1->FloatFormat().SetFormat(ffFixed);
    VkGrid1->FloatFormat().SetDigits(3);
    // Results are read only: a typed figure would be copied and printed as if computed.
    VkGrid1->SetOptions(static_cast<TVkGridOptions>((VkGrid1->GetOptions() | loAutoSizeColumns) & ~(loEditing | loClearing)));
    TVkGridPagePrintOptions Print;
    Print.SetWideFitPages(1);
    Print.SetColumnHeaders(true);
    Print.SetRowSpaces(5);
    Print.GridLines = false;
    Print.CellColors = false;
    VkGrid1->SetPrintOptions(&Print);
    // The design-time header: the labels of the quantities shown at start.
    VkGrid1->SetSize(1, 1);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    for (int I = 1; I < HydrostaticsColumnCount; ++I) {
        const THydrostaticsColumn& Column = HydrostaticsColumns()[static_cast<std::size_t>(I)];
        QAction* Item = PopupMenu1->addAction(Column.Label);
        Item->setCheckable(true);
        Item->setChecked(Column.ShownAtStart);
        Item->setData(I - 1);
        connect(Item, &QAction::triggered, this, [this, Item] { RunMenuCommand([this, Item] { MenuItemClick(Item); }); });
        MenuItems.push_back(Item);
    }
    VkGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(VkGrid1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& At) { PopupMenu1->popup(VkGrid1->mapToGlobal(At)); });

    for (int Width : {300, 150, 100}) StatusBar1->Panels().Add()->SetWidth(Width);
    StatusBar1->Loaded();

    auto* Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->addLayout(Top);
    Layout->addWidget(VkGrid1, 1);
    Layout->addWidget(StatusBar1);

    connect(CopyButton, &QToolButton::clicked, this, [this] { RunMenuCommand([this] { CopyButtonClick(); }); });
    connect(PrintButton, &QToolButton::clicked, this, [this] { RunMenuCommand([this] { PrintButtonClick(); }); });
}

THydrostaticsForm::~THydrostaticsForm() = default;

void THydrostaticsForm::Calculate() {
    TWorking Working(*this);
    const std::vector<double> Draughts = DraughtsFromText(Edit1->text().toStdString());
    FTable->Reset();
    QProgressBar* Progress = PanelProgress(*StatusBar1);
    Progress->setVisible(Draughts.size() >= 2);
    for (std::size_t I = 0; I < Draughts.size(); ++I) {
        if (Draughts.size() >= 2) Progress->setValue(TruncSingle(double(I) / double(Draughts.size() - 1) * 100));
        ComputeRow(Draughts[I]);
        ProcessPendingMessages();
    }
    SetStatusText("Updating table, Please Wait...");
    ProcessPendingMessages();
    FillGrid();
    SetStatusText(IdleStatusText());
    Progress->setVisible(false);
    StatusBar1->update();
}

std::string THydrostaticsForm::IdleStatusText() const {
    return Hydrostatics ? HydrostaticsMethodText(*Hydrostatics) : "";
}

void THydrostaticsForm::ComputeRow(double Draught) {
    THydrostaticsData R;
    ResetHydrostatics(R);
    if (Hydrostatics)
        Hydrostatics->AtDraught(Draught, R);
    else if (Sections)
        HydrostaticsAtDraught(*Sections, Draught, R);
    SetStatusText(DraughtStatusText(R));
    FTable->AddRecord(R);
}

void THydrostaticsForm::FillGrid() {
    std::vector<int> Columns{0};
    for (QAction* Item : MenuItems)
        if (Item->isChecked()) Columns.push_back(Item->data().toInt() + 1);
    VkGrid1->BeginUpdate();
    struct TEnd {
        TVkGrid* Grid;
        ~TEnd() { Grid->EndUpdate(); }
    } End{VkGrid1};
    VkGrid1->SetSize(static_cast<int>(Columns.size()), FTable->RowCount());
    for (int Row = 0; Row < FTable->RowCount(); ++Row) {
        for (std::size_t C = 0; C < Columns.size(); ++C) {
            const TCellValue Value = FTable->GetCellValue(Columns[C], Row);
            TVkCell& Cell = VkGrid1->Cell(static_cast<int>(C), Row);
            if (const double* Number = std::get_if<double>(&Value))
                Cell.SetValue(*Number);
            else if (const std::string* Text = std::get_if<std::string>(&Value))
                Cell.SetValue(*Text);
            else
                Cell.SetValue(TVkValue());
        }
        if (Row >= 2 && Row % 2 == 0) VkGrid1->Row(Row).SetColor(0xDCDCDC);
    }
}

void THydrostaticsForm::MenuItemClick(QAction* Item) {
    TWorking Working(*this);
    SetStatusText("Updating table, Please Wait...");
    struct TClear {
        THydrostaticsForm& Form;
        ~TClear() { Form.SetStatusText(""); }
    } Clear{*this};
    ProcessPendingMessages();
    FillGrid();
}

void THydrostaticsForm::CopyButtonClick() { VkGrid1->CopyAllToClipboard(true); }

void THydrostaticsForm::PrintButtonClick() {
    QPrintDialog PrintDialog1(&GetPrinter(), this);
    if (PrintDialog1.exec() != QDialog::Accepted) return;
    VkGrid1->Print("Hydrostatics");
}

bool CanOpenHydrostaticTable(TGeometryList* Document) { return DocumentHasSelectedHull(Document); }

void OpenHydrostaticTable(TGeometryList* Document) {
    THydrostaticsForm Form;
    Form.SetDocument(Document);
    Form.exec();
}

}  // namespace sarnova
