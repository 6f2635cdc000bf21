#include "entities/ui/GregoryFrame.h"

#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "entities/ui/FrameParts.h"
#include "foundation/NumberText.h"
#include "controls/FillDlg.h"
#include "surfaces/Gregory.h"

namespace sarnova {

TGregoryFrame::TGregoryFrame(TGeoGregorySurface& AEntity, QWidget* Parent) : QWidget(Parent), Entity(&AEntity) {
    auto* Layout = new QVBoxLayout(this);
    const std::string Keyword = TGeoGregorySurface::GetKeyword();
    EntityClass = NewFrameTitle(Keyword.substr(1), this);
    Layout->addWidget(EntityClass);

    NameColor = new TFrameNameColor(&AEntity, this);
    Layout->addWidget(NameColor);

    auto* PointsGroup = new QGroupBox("Points", this);
    auto* PointsLayout = new QVBoxLayout(PointsGroup);
    auto* Buttons = new QHBoxLayout;
    FloodValueBut = new QToolButton(PointsGroup);
    FloodValueBut->setText("Fill");
    FloodValueBut->setToolTip("Float Values");
    FloodValueBut->setEnabled(false);
    CopyBut = new QToolButton(PointsGroup);
    CopyBut->setText("Copy");
    CopyBut->setToolTip("Copy Grid");
    Buttons->addWidget(FloodValueBut);
    Buttons->addWidget(CopyBut);
    Buttons->addStretch();
    PointsLayout->addLayout(Buttons);
    VkGrid1 = new QTableWidget(TGregorySurface::ControlPointCount + 1, 4, PointsGroup);
    VkGrid1->setColumnWidth(0, 30);
    PointsLayout->addWidget(VkGrid1);
    Layout->addWidget(PointsGroup, 1);

    auto* LinesGroup = new QGroupBox("Gregory Surface Properties", this);
    auto* LinesLayout = new QGridLayout(LinesGroup);
    LinesLayout->addWidget(new QLabel("U Direction", LinesGroup), 0, 1);
    LinesLayout->addWidget(new QLabel("V Direction", LinesGroup), 0, 2);
    LinesLayout->addWidget(new QLabel("Divisions:", LinesGroup), 1, 0);
    VkSpinEdit1 = new QSpinBox(LinesGroup);
    VkSpinEdit2 = new QSpinBox(LinesGroup);
    for (QSpinBox* Spin : {VkSpinEdit1, VkSpinEdit2}) Spin->setRange(2, 200);
    LinesLayout->addWidget(VkSpinEdit1, 1, 1);
    LinesLayout->addWidget(VkSpinEdit2, 1, 2);
    Layout->addWidget(LinesGroup);

    connect(FloodValueBut, &QToolButton::clicked, this, [this] { FloodValueButClick(); });
    connect(CopyBut, &QToolButton::clicked, this, [this] { CopyPointRowsToClipboard(*VkGrid1); });
    connect(VkGrid1, &QTableWidget::currentCellChanged, this,
            [this](int Row, int Column, int, int) { SelectCell(Row, Column); });
    connect(VkGrid1, &QTableWidget::cellChanged, this, [this](int Row, int Column) { EditCell(Row, Column); });
    connect(VkSpinEdit1, &QSpinBox::valueChanged, this, [this](int Value) {
        if (!Filling && Entity != nullptr && Value > 1) Entity->SetNumULine(Value);
    });
    connect(VkSpinEdit2, &QSpinBox::valueChanged, this, [this](int Value) {
        if (!Filling && Entity != nullptr && Value > 1) Entity->SetNumVLine(Value);
    });
    Refresh();
}

TGregoryFrame::~TGregoryFrame() = default;

void TGregoryFrame::GeometryDestroyed() {
    Entity = nullptr;
    NameColor->SetEntity(nullptr);
}

void TGregoryFrame::FillRow(int Row) {
    if (Entity == nullptr || Row < 1 || Row > TGregorySurface::ControlPointCount) return;
    SetIndexedPointRow(*VkGrid1, Row, Row - 1, Entity->Surface().ControlPoint(Row - 1).Vector());
}

void TGregoryFrame::Refresh() {
    if (Entity == nullptr) return;
    Filling = true;
    const QSignalBlocker BlockGrid(VkGrid1);
    NameColor->Refresh();
    const char* Headers[] = {"", "X", "Y", "Z"};
    for (int Column = 0; Column < 4; ++Column) {
        auto* Header = new QTableWidgetItem(Headers[Column]);
        Header->setFlags(Header->flags() & ~Qt::ItemIsEditable);
        VkGrid1->setItem(0, Column, Header);
    }
    for (int Row = 1; Row <= TGregorySurface::ControlPointCount; ++Row) FillRow(Row);
    VkSpinEdit1->setValue(Entity->GetNumULine());
    VkSpinEdit2->setValue(Entity->GetNumVLine());
    Filling = false;
}

void TGregoryFrame::RefreshSelectedRows() {
    if (Entity == nullptr) return;
    const QSignalBlocker BlockGrid(VkGrid1);
    for (int K = 0; K < TGregorySurface::ControlPointCount; ++K)
        if (Entity->Surface().ControlPoint(K).Marked) FillRow(K + 1);
}

void TGregoryFrame::SelectCell(int Row, int Column) {
    FloodValueBut->setEnabled(Row >= 0);
    if (Entity == nullptr || Row < 1 || Column < 0 || !Entity->Editing()) return;
    Entity->DeselectAllPoints();
    Entity->Surface().ControlPoint(Row - 1).Marked = true;
    Entity->Redraw();
}

void TGregoryFrame::EditCell(int Row, int Column) {
    if (Filling || Entity == nullptr || Column < 1 || Column > 3 || Row < 1 ||
        Row > TGregorySurface::ControlPointCount)
        return;
    double Value = 0;
    if (!CellNumber(*VkGrid1, Row, Column, Value)) {
        Filling = true;
        FillRow(Row);
        Filling = false;
        return;
    }
    TRPoint& P = Entity->Surface().ControlPoint(Row - 1);
    Entity->BeginChange();
    Entity->Undraw();
    (Column == 1 ? P.X : Column == 2 ? P.Y : P.Z) = Value;
    Entity->EndChange();
    Entity->Redraw();
}

void TGregoryFrame::FloodValueButClick() {
    if (Entity == nullptr) return;
    const int Column = VkGrid1->currentColumn();
    const int Offered = Column == 1 ? 0 : Column == 2 ? 1 : 2;
    VkGrid1->closePersistentEditor(VkGrid1->currentItem());
    const TFillDlgResult Result = ExecuteFillDialog("Polyline", Offered);
    if (!Result.Ok) return;
    Entity->SetAllCoordinates(Result.Axis, Result.Value);
    Refresh();
}

void RegisterGregoryUi() {
    RegisterGeometryFrame(GregoryFrameName, [](TGeometry& Geometry, void* Owner) -> IGeometryFrame* {
        auto* Gregory = dynamic_cast<TGeoGregorySurface*>(&Geometry);
        if (Gregory == nullptr) return nullptr;
        return new TGregoryFrame(*Gregory, static_cast<QWidget*>(Owner));
    });
}

}  // namespace sarnova
