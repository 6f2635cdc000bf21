#include "entities/ui/PointListFrame.h"

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QToolButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include "entities/ui/FrameParts.h"
#include "platform/Clipboard.h"
#include "controls/VkGroupBox.h"

namespace sarnova {

TPointListFrame::TPointListFrame(TGeoPointList& AEntity, QWidget* Parent) : QWidget(Parent), Entity(&AEntity) {
    setObjectName("PointListFrame");
    setFixedWidth(206);
    auto* Layout = new QVBoxLayout(this);
    // The keyword without its "T".
    Title = NewFrameTitle(TGeoPointList::GetKeyword().substr(1), this);
    Layout->addWidget(Title);
    NameColor = new TFrameNameColor(&AEntity, this);
    Layout->addWidget(NameColor);

    auto* PointsGroup = new TVkGroupBox("Points", this);
    PointsGroup->setObjectName("Points");
    auto* PointsLayout = new QVBoxLayout(PointsGroup);
    PointsLayout->setContentsMargins(2, 2, 2, 2);
    auto* Buttons = new QHBoxLayout;
    Buttons->setSpacing(2);
    AddButton = new QToolButton(PointsGroup);
    AddButton->setText("Add");
    AddButton->setToolTip("Add a point");
    DeleteButton = new QToolButton(PointsGroup);
    DeleteButton->setText("Delete");
    DeleteButton->setToolTip("Delete the point of the current row");
    CopyButton = new QToolButton(PointsGroup);
    CopyButton->setText("Copy Grid");
    for (QToolButton* B : {AddButton, DeleteButton, CopyButton}) Buttons->addWidget(B);
    PointsLayout->addLayout(Buttons);
    Grid = new QTableWidget(0, 3, PointsGroup);
    Grid->setHorizontalHeaderLabels({"X", "Y", "Z"});
    Grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    Grid->verticalHeader()->setFixedWidth(30);
    Grid->setSelectionMode(QAbstractItemView::SingleSelection);
    PointsLayout->addWidget(Grid);
    Layout->addWidget(PointsGroup, 1);

    connect(Grid, &QTableWidget::cellChanged, this, [this](int Row, int Column) { EditCell(Row, Column); });
    connect(Grid, &QTableWidget::currentCellChanged, this, [this](int Row, int, int, int) {
        if (!Filling && Entity != nullptr && Row >= 0) Entity->SelectOnlyPoint(Row);
    });
    connect(AddButton, &QToolButton::clicked, this, [this] {
        EndCellEdit();
        if (Entity != nullptr) Entity->AddOrigin();
    });
    connect(DeleteButton, &QToolButton::clicked, this, [this] {
        EndCellEdit();
        if (Entity != nullptr) Entity->DeletePoint(Grid->currentRow());
    });
    connect(CopyButton, &QToolButton::clicked, this, [this] { TextClipboard().SetText(GridText().toStdString()); });

    RefreshAll();
}

TPointListFrame::~TPointListFrame() = default;

void TPointListFrame::GeometryDestroyed() {
    Entity = nullptr;
    NameColor->SetEntity(nullptr);
}

void TPointListFrame::FillRow(int Index) { SetCoordinateRow(*Grid, Index, Entity->Cloud().Items(Index)->Vector()); }

void TPointListFrame::RefreshAll() {
    if (Entity == nullptr) return;
    Filling = true;
    const QSignalBlocker Block(Grid);
    NameColor->Refresh();
    const int N = Entity->Cloud().Count();
    if (Grid->rowCount() != N) Grid->setRowCount(N);
    QStringList Numbers;
    for (int I = 0; I < N; ++I) {
        Numbers << QString::number(I);
        FillRow(I);
    }
    Grid->setVerticalHeaderLabels(Numbers);
    Filling = false;
}

void TPointListFrame::RefreshPositions() {
    if (Entity == nullptr) return;
    const QSignalBlocker Block(Grid);
    const TPointCloud& Cloud = Entity->Cloud();
    for (int I = 0; I < Cloud.Count() && I < Grid->rowCount(); ++I)
        if (Cloud.Items(I)->Marked) FillRow(I);
}

QString TPointListFrame::GridText() const { return CoordinateGridText(*Grid); }

void TPointListFrame::EndCellEdit() { EndGridCellEdit(*Grid); }

void TPointListFrame::EditCell(int Row, int Column) {
    if (Filling || Entity == nullptr) return;
    double Value = 0;
    if (CellNumber(*Grid, Row, Column, Value)) {
        Entity->SetPointCoordinate(Row, Column, Value);
        return;
    }
    // Not a number: the cell shows the point's value again.
    const QSignalBlocker Block(Grid);
    if (Row < Entity->Cloud().Count()) FillRow(Row);
}

void RegisterPointListUi() {
    RegisterGeometryFrame(PointListFrameName, [](TGeometry& Geometry, void* Owner) -> IGeometryFrame* {
        auto* Cloud = dynamic_cast<TGeoPointList*>(&Geometry);
        if (Cloud == nullptr) return nullptr;
        return new TPointListFrame(*Cloud, static_cast<QWidget*>(Owner));
    });
}

}  // namespace sarnova
