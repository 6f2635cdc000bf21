#include "naval/ui/PlistFrame.h"

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "entities/ui/FrameParts.h"
#include "foundation/NumberText.h"
#include "naval/ui/PolyMeshDlg.h"
#include "naval/ui/SectionUnit.h"
#include "naval/ui/WebFramesDlg.h"
#include "platform/Clipboard.h"
#include "controls/FillDlg.h"
#include "controls/MeshEditSelector.h"
#include "platform/qt/QtMenus.h"
#include "controls/VkGroupBox.h"

namespace sarnova {

namespace {

QToolButton* NewButton(const QString& Text, const QString& Hint, QWidget* Parent) {
    auto* Button = new QToolButton(Parent);
    Button->setText(Text);
    Button->setToolTip(Hint);
    return Button;
}

}  // namespace

TPlistFrame::TPlistFrame(TGeoPList& AEntity, QWidget* Parent) : QWidget(Parent), Entity(&AEntity) {
    setObjectName("PlistFrame");
    auto* Layout = new QVBoxLayout(this);
    EntityClass = NewFrameTitle("PolylineList", this);
    Layout->addWidget(EntityClass);
    VkGroupBox1 = new TFrameNameColor(&AEntity, this);
    VkGroupBox1->setObjectName("VkGroupBox1");
    Layout->addWidget(VkGroupBox1);

    VkGroupBox3 = new TVkGroupBox("Points", this);
    VkGroupBox3->setObjectName("VkGroupBox3");
    auto* PointsLayout = new QVBoxLayout(VkGroupBox3);
    PointsLayout->setContentsMargins(2, 2, 2, 2);
    auto* Buttons = new QHBoxLayout;
    Buttons->setSpacing(2);
    InsAboveBut = NewButton("Ins ^", "Insert Above", VkGroupBox3);
    InsBelowBut = NewButton("Ins v", "Insert Below", VkGroupBox3);
    FloodValueBut = NewButton("Fill", "Fill Column", VkGroupBox3);
    DelRowBut = NewButton("Del Row", "Delete Rows", VkGroupBox3);
    LeftBut = NewButton("<", "Previous Section", VkGroupBox3);
    RightBut = NewButton(">", "Next Section", VkGroupBox3);
    CopyBut = NewButton("Copy", "Copy Grid", VkGroupBox3);
    DelBut = NewButton("Del", "Delete Column or Row", VkGroupBox3);
    for (QToolButton* B : {InsAboveBut, InsBelowBut, FloodValueBut, DelRowBut, LeftBut, RightBut, CopyBut, DelBut})
        Buttons->addWidget(B);
    PointsLayout->addLayout(Buttons);
    MeshEditSelector1 = new TMeshEditSelector(VkGroupBox3);
    MeshEditSelector1->setMinimumHeight(80);
    MeshEditSelector1->SetGridView(svU);
    MeshEditSelector1->SetGridUCount(4);
    MeshEditSelector1->SetGridVCount(4);
    MeshEditSelector1->SetGridColor(clBlack);
    MeshEditSelector1->SetGridUSelected(0);
    PointsLayout->addWidget(MeshEditSelector1);
    VkGrid1 = new QTableWidget(7, 4, VkGroupBox3);
    VkGrid1->horizontalHeader()->hide();
    VkGrid1->verticalHeader()->hide();
    VkGrid1->verticalHeader()->setDefaultSectionSize(17);
    VkGrid1->horizontalHeader()->setDefaultSectionSize(64);
    VkGrid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    VkGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    PointsLayout->addWidget(VkGrid1, 1);
    Layout->addWidget(VkGroupBox3, 1);

    VkGroupBoxManager1 = new TVkGroupBoxManager(this);
    VkGroupBox1->Loaded();
    VkGroupBox3->Loaded();
    VkGroupBoxManager1->Loaded();

    connect(LeftBut, &QToolButton::clicked, this, [this] { RunMenuCommand([this] { LeftButClick(); }); });
    connect(RightBut, &QToolButton::clicked, this, [this] { RunMenuCommand([this] { RightButClick(); }); });
    connect(DelBut, &QToolButton::clicked, this, [this] { RunMenuCommand([this] { DelButClick(); }); });
    connect(FloodValueBut, &QToolButton::clicked, this, [this] { RunMenuCommand([this] { FloodValueButClick(); }); });
    connect(InsAboveBut, &QToolButton::clicked, this, [this] { RunMenuCommand([this] { InsAboveButClick(); }); });
    connect(InsBelowBut, &QToolButton::clicked, this, [this] { RunMenuCommand([this] { InsBelowButClick(); }); });
    connect(DelRowBut, &QToolButton::clicked, this, [this] { RunMenuCommand([this] { DelRowButClick(); }); });
    connect(CopyBut, &QToolButton::clicked, this, [this] { RunMenuCommand([this] { CopyButClick(); }); });
    connect(VkGrid1, &QTableWidget::cellChanged, this, [this](int Row, int Column) { CellChanged(Row, Column); });
    connect(VkGrid1, &QTableWidget::itemSelectionChanged, this, [this] { SelectionChanged(); });
    MeshEditSelector1->OnMeshSelect = [this](QObject*, TMeshEditSelectorView, int GridIndex, int) {
        MeshEditSelector1MeshSelect(GridIndex);
    };

    Refresh();
    VkGrid1SelectRange(-1, -1, -1, -1);
}

TPlistFrame::~TPlistFrame() = default;

void TPlistFrame::GeometryDestroyed() {
    Entity = nullptr;
    VkGroupBox1->SetEntity(nullptr);
}

void TPlistFrame::FillRow(int Row) {
    const TRPoint* P = Entity->GetPoint(Row - 1);
    if (P == nullptr) return;
    const QString Texts[] = {QString::number(Row - 1), QString::fromStdString(Format("%.3f", {P->X})),
                             QString::fromStdString(Format("%.3f", {P->Y})), QString::fromStdString(Format("%.3f", {P->Z}))};
    for (int Column = 0; Column < 4; ++Column) {
        QTableWidgetItem* Item = VkGrid1->item(Row, Column);
        if (Item == nullptr) {
            Item = new QTableWidgetItem;
            Item->setTextAlignment(Column == 0 ? Qt::AlignCenter : (Qt::AlignRight | Qt::AlignVCenter));
            if (Column == 0) Item->setFlags(Item->flags() & ~Qt::ItemIsEditable);
            VkGrid1->setItem(Row, Column, Item);
        }
        Item->setText(Texts[Column]);
    }
}

void TPlistFrame::Refresh() {
    if (Entity == nullptr) return;
    Filling = true;
    const QSignalBlocker Block(VkGrid1);
    VkGroupBox1->Refresh();
    const int Count = Entity->Polylines().Count();
    const int Index = Entity->GetCurrentIndex();
    const int Points = Entity->GetPointCount();
    LeftBut->setEnabled(Index > 0);
    RightBut->setEnabled(Index < Count - 1);
    DelBut->setEnabled(Count > 3);
    VkGroupBox3->SetCaption(Format("Polyline %d of %d - %d Points", {Index + 1, Count, Points}));

    if (VkGrid1->rowCount() != Points + 1) VkGrid1->setRowCount(Points + 1);
    VkGrid1->setColumnWidth(0, 30);
    const char* const Headers[] = {"", "X", "Y", "Z"};
    for (int Column = 0; Column < 4; ++Column) {
        auto* Header = new QTableWidgetItem(Headers[Column]);
        Header->setTextAlignment(Qt::AlignCenter);
        Header->setFlags(Qt::ItemIsEnabled);
        VkGrid1->setItem(0, Column, Header);
    }
    for (int Row = 1; Row <= Points; ++Row) FillRow(Row);

    MeshEditSelector1->SetGridUCount(Count);
    MeshEditSelector1->SetGridUSelected(Index);
    Filling = false;
}

void TPlistFrame::UpdateSelectedRows() {
    if (Entity == nullptr) return;
    Filling = true;
    const QSignalBlocker Block(VkGrid1);
    for (int Row = 1; Row < VkGrid1->rowCount(); ++Row)
        if (const TRPoint* P = Entity->GetPoint(Row - 1); P != nullptr && P->Marked) FillRow(Row);
    Filling = false;
}

void TPlistFrame::EndCellEdit() {
    // An open cell editor is the focused widget inside the grid's viewport.
    QWidget* Editor = QApplication::focusWidget();
    if (Editor != nullptr && VkGrid1->viewport()->isAncestorOf(Editor)) {
        emit VkGrid1->itemDelegate()->commitData(Editor);
        emit VkGrid1->itemDelegate()->closeEditor(Editor);
    }
}

void TPlistFrame::LeftButClick() {
    if (Entity != nullptr) Entity->SetCurrentPolyline(Entity->GetCurrentIndex() - 1);
}

void TPlistFrame::RightButClick() {
    if (Entity == nullptr) return;
    Entity->SetCurrentPolyline(Entity->GetCurrentIndex() + 1);
    VkGrid1->clearSelection();
}

void TPlistFrame::MeshEditSelector1MeshSelect(int Index) {
    if (Entity == nullptr) return;
    Entity->SetCurrentPolyline(Index);
    VkGrid1->clearSelection();
}

void TPlistFrame::DelButClick() {
    if (Entity == nullptr || Entity->Polylines().Count() < 4) return;
    Entity->DeleteCurrentPolyline();
    VkGrid1->clearSelection();
}

void TPlistFrame::FloodValueButClick() {
    if (Entity == nullptr) return;
    TPolyline* Current = Entity->CurrentPolyline();
    if (Current == nullptr) return;
    Entity->BeginChange();
    EndCellEdit();
    const int Column = VkGrid1->currentColumn();
    FillPolylineCoordinate(*Current, Column == 1 ? 0 : Column == 2 ? 1 : 2);
    Entity->EndChange();
    Entity->InvalidateViews();
}

bool TPlistFrame::SelectedRows(int& Top, int& Bottom) const {
    const QList<QTableWidgetSelectionRange> Ranges = VkGrid1->selectedRanges();
    if (Ranges.isEmpty()) return false;
    Top = Ranges.first().topRow();
    Bottom = Ranges.first().bottomRow();
    return true;
}

void TPlistFrame::SelectionChanged() {
    if (Filling) return;
    const QList<QTableWidgetSelectionRange> Ranges = VkGrid1->selectedRanges();
    if (Ranges.isEmpty()) {
        VkGrid1SelectRange(-1, -1, -1, -1);
        return;
    }
    const QTableWidgetSelectionRange& R = Ranges.first();
    VkGrid1SelectRange(R.leftColumn(), R.topRow(), R.rightColumn(), R.bottomRow());
}

void TPlistFrame::VkGrid1SelectRange(int Left, int Top, int Right, int Bottom) {
    if (Entity != nullptr && Entity->Editing() && Top >= 1) Entity->SelectPointRange(Top - 1, Bottom - 1);
    InsAboveBut->setEnabled(Top >= 1 && Top == Bottom);
    InsBelowBut->setEnabled(Top >= 1 && Top == Bottom);
    DelRowBut->setEnabled(Top >= 1);
    FloodValueBut->setEnabled(Left >= 1 && Left == Right);
}

void TPlistFrame::VkGrid1EditCell(int Column, double Value, int Row) {
    if (Entity != nullptr && Column >= 1 && Column <= 3) Entity->SetPointCoordinate(Row - 1, Column - 1, Value);
}

void TPlistFrame::CellChanged(int Row, int Column) {
    if (Filling || Entity == nullptr) return;
    double Value = 0;
    if (CellNumber(*VkGrid1, Row, Column, Value)) {
        VkGrid1EditCell(Column, Value, Row);
        return;
    }
    // Not a number: the cell shows the point's value again.
    Filling = true;
    const QSignalBlocker Block(VkGrid1);
    FillRow(Row);
    Filling = false;
}

void TPlistFrame::InsAboveButClick() {
    EndCellEdit();
    int Top = 0, Bottom = 0;
    if (Entity != nullptr && SelectedRows(Top, Bottom) && Top >= 1) Entity->InsertPointBefore(Top - 1);
}

void TPlistFrame::InsBelowButClick() {
    EndCellEdit();
    int Top = 0, Bottom = 0;
    if (Entity != nullptr && SelectedRows(Top, Bottom) && Top >= 1) Entity->InsertPointAfter(Top - 1);
}

void TPlistFrame::DelRowButClick() {
    EndCellEdit();
    int Top = 0, Bottom = 0;
    if (Entity == nullptr || !SelectedRows(Top, Bottom) || Top < 1) return;
    Entity->SelectPointRange(Top - 1, Bottom - 1);
    Entity->DeleteSelectedPoints();
}

void TPlistFrame::CopyButClick() {
    QString Text;
    for (int Row = 0; Row < VkGrid1->rowCount(); ++Row) {
        for (int Column = 0; Column < VkGrid1->columnCount(); ++Column) {
            const QTableWidgetItem* Item = VkGrid1->item(Row, Column);
            Text += (Item != nullptr ? Item->text() : QString()) + (Column < VkGrid1->columnCount() - 1 ? "\t" : "\r\n");
        }
    }
    TextClipboard().SetText(Text.toStdString());
}

void RegisterPlistUi() {
    RegisterGeometryFrame(PlistFrameName, [](TGeometry& Geometry, void* Owner) -> IGeometryFrame* {
        auto* List = dynamic_cast<TGeoPList*>(&Geometry);
        if (List == nullptr) return nullptr;
        return new TPlistFrame(*List, static_cast<QWidget*>(Owner));
    });
    TPlistDialogs& Dialogs = PlistDialogs();
    Dialogs.ShowSectionSpacingDialog = ShowSectionSpacingDialog;
    Dialogs.ShowWebFramesDialog = ShowWebFramesDialog;
    Dialogs.ShowPolyMeshDialog = ShowPolyMeshDialog;
    Dialogs.ShowDoubleDialog = [](const std::string& Caption, const std::string& Label, const std::string& ValueName,
                                  double& Value) {
        TDoubleDlg Dialog(Caption, Label, ValueName);
        if (Dialog.ShowModal() != TModalResult::mrOk) return false;
        Value = Dialog.Value;
        return true;
    };
}

}  // namespace sarnova
