#include "document/ui/PlineFrame.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "document/PolylineDialogs.h"
#include "document/ui/CBSplineFrame.h"
#include "document/ui/PolylineDialogsUi.h"
#include "foundation/BSpline.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/Polyline.h"
#include "platform/qt/QtCanvas.h"
#include "controls/FillDlg.h"

namespace sarnova {

namespace {

QString CoordinateText(double Value) { return QString::fromStdString(Format("%.3f", {Value})); }


// The order captions of the B-spline order list.
QString OrderCaption(int Order, int PointCount) {
    if (Order == PointCount) return QString::number(Order) + " (Bezier)";
    switch (Order) {
        case 2: return "2 (Linear)";
        case 3: return "3 (Quadratic)";
        case 4: return "4 (Cubic)";
        default: return QString::number(Order);
    }
}

QToolButton* NewButton(const QString& Text, const QString& Hint, QWidget* Parent) {
    auto* Button = new QToolButton(Parent);
    Button->setText(Text);
    Button->setToolTip(Hint);
    return Button;
}

}  // namespace

TPlineFrame::TPlineFrame(TGeoCustomPLine& AEntity, QWidget* Parent) : QWidget(Parent), Entity(&AEntity) {
    auto* Layout = new QVBoxLayout(this);

    EntityClass = new QLabel(this);
    QFont Font = EntityClass->font();
    Font.setBold(true);
    Font.setItalic(true);
    Font.setPixelSize(16);
    EntityClass->setFont(Font);
    EntityClass->setStyleSheet("color: blue");
    // The class keyword without its "T": Polyline, BSpline, CSpline.
    const std::string Keyword = AEntity.GetClass().GetKeyword();
    EntityClass->setText(QString::fromStdString(Keyword.size() > 1 ? Keyword.substr(1) : Keyword));
    Layout->addWidget(EntityClass);

    auto* NameGroup = new QGroupBox("Name and Color", this);
    auto* NameLayout = new QHBoxLayout(NameGroup);
    Edit1 = new QLineEdit(NameGroup);
    VkColorPanel1 = new QPushButton(NameGroup);
    VkColorPanel1->setFixedWidth(40);
    NameLayout->addWidget(Edit1);
    NameLayout->addWidget(VkColorPanel1);
    Layout->addWidget(NameGroup);

    CurveOrderGroupBox = new QGroupBox("Curve Order", this);
    auto* OrderLayout = new QHBoxLayout(CurveOrderGroupBox);
    ComboBox1 = new QComboBox(CurveOrderGroupBox);
    OrderLayout->addWidget(ComboBox1);
    Layout->addWidget(CurveOrderGroupBox);
    // Only a B-spline curve has an order to choose.
    const TDataObject Data = AEntity.GetDataObject();
    CurveOrderGroupBox->setVisible(Data && *Data.Type == typeid(TBSpline));

    auto* PointsGroup = new QGroupBox("Points", this);
    auto* PointsLayout = new QVBoxLayout(PointsGroup);
    auto* Buttons = new QHBoxLayout;
    InsAboveBut = NewButton("Above", "Insert a point above", PointsGroup);
    InsBelowBut = NewButton("Below", "Insert a point below", PointsGroup);
    FloodValueBut = NewButton("Fill", "Fill a column with one value", PointsGroup);
    DelRowBut = NewButton("Delete", "Delete the selected points", PointsGroup);
    CopyBut = NewButton("Copy", "Copy Grid", PointsGroup);
    for (QToolButton* B : {InsAboveBut, InsBelowBut, FloodValueBut, DelRowBut}) B->setEnabled(false);
    for (QToolButton* B : {InsAboveBut, InsBelowBut, FloodValueBut, DelRowBut, CopyBut}) Buttons->addWidget(B);
    Buttons->addStretch();
    PointsLayout->addLayout(Buttons);
    VkGrid1 = new QTableWidget(0, 3, PointsGroup);
    VkGrid1->setHorizontalHeaderLabels({"X", "Y", "Z"});
    VkGrid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    VkGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    VkGrid1->verticalHeader()->setMinimumWidth(20);
    VkGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    PointsLayout->addWidget(VkGrid1);
    Layout->addWidget(PointsGroup, 1);

    connect(Edit1, &QLineEdit::textEdited, this, [this](const QString& Text) {
        if (Entity != nullptr) Entity->SetName(Text.toStdString());
    });
    connect(VkColorPanel1, &QPushButton::clicked, this, [this] {
        if (Entity == nullptr) return;
        const QColor Chosen = QColorDialog::getColor(ColorToQColor(Entity->GetColor()), this);
        if (Chosen.isValid()) Entity->SetColor(RGBColor(Chosen.red(), Chosen.green(), Chosen.blue()));
    });
    connect(ComboBox1, &QComboBox::activated, this, [this](int Index) {
        if (Entity != nullptr && Index >= 0) Entity->SetCurveOrder(Index + 2);
    });
    connect(VkGrid1, &QTableWidget::itemSelectionChanged, this, [this] { SelectRange(); });
    connect(VkGrid1, &QTableWidget::cellChanged, this, [this](int Row, int Column) { EditCell(Row, Column); });
    connect(InsAboveBut, &QToolButton::clicked, this, [this] {
        if (Entity != nullptr) Entity->InsertPointAbove(VkGrid1->currentRow());
    });
    connect(InsBelowBut, &QToolButton::clicked, this, [this] {
        if (Entity != nullptr) Entity->InsertPointBelow(VkGrid1->currentRow());
    });
    connect(DelRowBut, &QToolButton::clicked, this, [this] {
        const QList<QTableWidgetSelectionRange> Ranges = VkGrid1->selectedRanges();
        if (Entity == nullptr || Ranges.isEmpty()) return;
        Entity->MarkPointRange(Ranges.first().topRow(), Ranges.first().bottomRow());
        Entity->DeleteSelectedPoints();
    });
    connect(FloodValueBut, &QToolButton::clicked, this, [this] { FloodValue(); });
    connect(CopyBut, &QToolButton::clicked, this, [this] { QApplication::clipboard()->setText(GridText()); });

    UpdateFromEntity();
}

TPlineFrame::~TPlineFrame() = default;

void TPlineFrame::ShowColor() {
    VkColorPanel1->setStyleSheet("background-color: " + ColorToQColor(Entity->GetColor()).name());
}

void TPlineFrame::FillRow(int Index) {
    const TRPoint& P = *Entity->GetCurve()->Point(Index);
    const double Values[] = {P.X, P.Y, P.Z};
    for (int Column = 0; Column < 3; ++Column) {
        QTableWidgetItem* Item = VkGrid1->item(Index, Column);
        if (Item == nullptr) {
            Item = new QTableWidgetItem;
            Item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            VkGrid1->setItem(Index, Column, Item);
        }
        Item->setText(CoordinateText(Values[Column]));
    }
}

void TPlineFrame::UpdateFromEntity() {
    if (Entity == nullptr) return;
    Filling = true;
    const QSignalBlocker BlockGrid(VkGrid1);
    const QSignalBlocker BlockOrder(ComboBox1);
    Edit1->setText(QString::fromStdString(Entity->GetName()));
    ShowColor();
    if (auto* BSpline = dynamic_cast<TBSpline*>(Entity->GetCurve()); BSpline != nullptr && CurveOrderGroupBox->isVisibleTo(this)) {
        ComboBox1->clear();
        for (int Order = 2; Order <= BSpline->Count(); ++Order) ComboBox1->addItem(OrderCaption(Order, BSpline->Count()));
        ComboBox1->setCurrentIndex(BSpline->GetOrder() - 2);
    }
    if (const TPolyline* Curve = Entity->GetCurve()) {
        if (VkGrid1->rowCount() != Curve->Count()) VkGrid1->setRowCount(Curve->Count());
        QStringList Indices;
        for (int I = 0; I < Curve->Count(); ++I) {
            Indices << QString::number(I);
            FillRow(I);
        }
        VkGrid1->setVerticalHeaderLabels(Indices);
    }
    Filling = false;
}

void TPlineFrame::UpdateMarkedRows() {
    if (Entity == nullptr || Entity->GetCurve() == nullptr) return;
    const QSignalBlocker Block(VkGrid1);
    TPolyline& Curve = *Entity->GetCurve();
    for (int I = 0; I < Curve.Count() && I < VkGrid1->rowCount(); ++I)
        if (Curve.Point(I)->Marked) FillRow(I);
}

QString TPlineFrame::GridText() const {
    QString Text;
    for (int Row = 0; Row < VkGrid1->rowCount(); ++Row) {
        for (int Column = 0; Column < VkGrid1->columnCount(); ++Column) {
            if (Column > 0) Text += '\t';
            if (const QTableWidgetItem* Item = VkGrid1->item(Row, Column)) Text += Item->text();
        }
        Text += "\r\n";
    }
    return Text;
}

void TPlineFrame::SelectRange() {
    const QList<QTableWidgetSelectionRange> Ranges = VkGrid1->selectedRanges();
    const int Top = Ranges.isEmpty() ? -1 : Ranges.first().topRow();
    const int Bottom = Ranges.isEmpty() ? -1 : Ranges.first().bottomRow();
    const int Left = Ranges.isEmpty() ? -1 : Ranges.first().leftColumn();
    const int Right = Ranges.isEmpty() ? -1 : Ranges.first().rightColumn();
    if (Entity != nullptr && !Filling && Entity->Editing()) Entity->MarkPointRange(Top, Bottom);
    InsAboveBut->setEnabled(Top >= 0 && Top == Bottom);
    InsBelowBut->setEnabled(Top >= 0 && Top == Bottom);
    DelRowBut->setEnabled(Top >= 0);
    FloodValueBut->setEnabled(Left >= 0 && Left == Right);
}

void TPlineFrame::EditCell(int Row, int Column) {
    if (Filling || Entity == nullptr) return;
    const QTableWidgetItem* Item = VkGrid1->item(Row, Column);
    double Value = 0;
    try {
        Value = ParseFloat(Item != nullptr ? Item->text().toStdString() : std::string());
    } catch (const EConvertError&) {
        // Not a number: the cell shows the point's value again.
        const QSignalBlocker Block(VkGrid1);
        if (Entity->GetCurve() != nullptr && Row < Entity->GetCurve()->Count()) FillRow(Row);
        return;
    }
    Entity->SetPointCoordinate(Row, Column, Value);
}

void TPlineFrame::FloodValue() {
    if (Entity == nullptr || Entity->GetCurve() == nullptr) return;
    // The current column's axis is offered first: x, y, anything else z.
    const int Column = VkGrid1->currentColumn();
    const int Axis = Column == 0 ? 0 : Column == 1 ? 1 : 2;
    // The entity's change is opened only once the user confirms, so that a cancelled fill leaves
    // neither an undo step nor a modified document behind.
    const TFillDlgResult Fill = ExecuteFillDialog(Entity->GetCurve()->ClassName().substr(1), Axis);
    if (Fill.Ok && Fill.Axis >= 0) Entity->FillCoordinate(Fill.Axis, Fill.Value);
}

void RegisterCurveUi() {
    RegisterGeometryFrame(PlineFrameName, [](TGeometry& Geometry, void* Owner) -> IGeometryFrame* {
        auto* Curve = dynamic_cast<TGeoCustomPLine*>(&Geometry);
        if (Curve == nullptr) return nullptr;
        return new TPlineFrame(*Curve, static_cast<QWidget*>(Owner));
    });
    RegisterCBSplineFrame();
    RegisterPolylineDialogs();
}

}  // namespace sarnova
