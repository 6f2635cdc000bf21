#include "entities/ui/ShapeFrame.h"

#include <QHeaderView>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include "entities/ui/FrameParts.h"
#include "controls/VkGroupBox.h"
#include "controls/VkSpin.h"

namespace sarnova {

// ---- TShapeFrame ----

TShapeFrame::TShapeFrame(TGeoDefinedCurve& AEntity, const std::string& Caption, const QString& Name,
                         const QStringList& Rows, QWidget* Parent)
    : TEntityFrame(AEntity, Caption, Name, Parent) {
    VkGroupBox2 = AddGroupBox("Points", "VkGroupBox2");
    VkGrid1 = new QTableWidget(static_cast<int>(Rows.size()), 3, VkGroupBox2);
    VkGrid1->setHorizontalHeaderLabels({"X", "Y", "Z"});
    VkGrid1->setVerticalHeaderLabels(Rows);
    VkGrid1->verticalHeader()->setMinimumWidth(40);
    VkGrid1->verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    VkGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    VkGrid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    VkGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    static_cast<QVBoxLayout*>(VkGroupBox2->layout())->addWidget(VkGrid1);
    for (int Row = 0; Row < VkGrid1->rowCount(); ++Row) SetCoordinateRow(*VkGrid1, Row, ZeroVector);
    connect(VkGrid1, &QTableWidget::cellChanged, this, [this](int Row, int Column) { EditCell(Row, Column); });
    connect(VkGrid1, &QTableWidget::itemSelectionChanged, this, [this] { SelectRows(); });
}

void TShapeFrame::FillRow(int Row) {
    if (Entity() == nullptr || Row >= Entity()->HandleCount()) return;
    const QSignalBlocker Block(VkGrid1);
    SetCoordinateRow(*VkGrid1, Row, Entity()->Handle(Row).Vector());
}

void TShapeFrame::UpdateFromEntity() {
    if (Entity() == nullptr) return;
    Filling = true;
    NameColor->Refresh();
    VkGrid1->setUpdatesEnabled(false);
    for (int Row = 0; Row < VkGrid1->rowCount(); ++Row) FillRow(Row);
    VkGrid1->setUpdatesEnabled(true);
    ShowOthers();
    Filling = false;
}

void TShapeFrame::UpdateDragged() {
    if (Entity() == nullptr) return;
    for (int Row = 0; Row < VkGrid1->rowCount(); ++Row)
        if (Entity()->Handle(Row).Marked) FillRow(Row);
}

void TShapeFrame::EditCell(int Row, int Column) {
    if (Filling || Entity() == nullptr) return;
    double Value = 0;
    if (CellNumber(*VkGrid1, Row, Column, Value))
        EditPoint(Row, Column, Value);
    else
        FillRow(Row);  // not a number: the cell shows the point's value again
}

void TShapeFrame::SelectRows() {
    if (Filling || Entity() == nullptr) return;
    const QList<QTableWidgetSelectionRange> Ranges = VkGrid1->selectedRanges();
    if (Ranges.isEmpty()) return;
    Entity()->MarkPointRange(Ranges.first().topRow(), Ranges.first().bottomRow());
}

// ---- TArcFrame ----

TArcFrame::TArcFrame(TGeoArc& AEntity, QWidget* Parent)
    : TShapeFrame(AEntity, "Arc", "TArcFrame", {"Start", "Middle", "End"}, Parent) {
    FinishLayout();
    UpdateFromEntity();
}

void TArcFrame::EditPoint(int Row, int Axis, double Value) {
    static_cast<TGeoArc*>(Entity())->SetPointCoordinate(Row, Axis, Value);
}

// ---- TCircleFrame ----

TCircleFrame::TCircleFrame(TGeoCircle& AEntity, QWidget* Parent)
    : TShapeFrame(AEntity, "Circle", "TCircleFrame", {"Centre"}, Parent) {
    VkGroupBox3 = AddGroupBox("Radius", "VkGroupBox3");
    VkSpinEdit1 = AddSpinEdit(*VkGroupBox3, "Radius:", 0.1f);
    VkSpinEdit1->MaxValue = 1e33f;
    VkSpinEdit1->OnChange = [this](QObject*) {
        if (!Filling && Circle() != nullptr) Circle()->SetRadius(VkSpinEdit1->GetValue());
    };
    FinishLayout();
    UpdateFromEntity();
}

void TCircleFrame::UpdateDragged() {
    if (Circle() == nullptr) return;
    FillRow(0);
    ShowOthers();
}

void TCircleFrame::EditPoint(int, int Axis, double Value) { Circle()->SetCentreCoordinate(Axis, Value); }

void TCircleFrame::ShowOthers() {
    const bool Was = Filling;
    Filling = true;
    VkSpinEdit1->SetValueQuietly(static_cast<float>(Circle()->Circle().Radius()));
    Filling = Was;
}

// ---- Registration ----

void RegisterShapeFrames() {
    RegisterGeometryFrame(ArcFrameName, [](TGeometry& Geometry, void* Owner) -> IGeometryFrame* {
        auto* Arc = dynamic_cast<TGeoArc*>(&Geometry);
        return Arc != nullptr ? new TArcFrame(*Arc, static_cast<QWidget*>(Owner)) : nullptr;
    });
    RegisterGeometryFrame(CircleFrameName, [](TGeometry& Geometry, void* Owner) -> IGeometryFrame* {
        auto* Circle = dynamic_cast<TGeoCircle*>(&Geometry);
        return Circle != nullptr ? new TCircleFrame(*Circle, static_cast<QWidget*>(Owner)) : nullptr;
    });
}

}  // namespace sarnova
