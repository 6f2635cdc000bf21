#include "entities/ui/PointListFrame.h"

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include "entities/ui/FrameNameColor.h"
#include "foundation/DuZezOrideFormat.h"
#include "foundation/Errors.h"
#include "platform/Clipboard.h"
#include "shell/VkGroupBox.h"

namespace sarnova {

namespace {

QString CoordinateText(double Value) { return QString::fromStdString(Format("%.3f", {Value})); }

}  // namespace

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
    auto* Buttons = new QHBoxLayout;
    AddButton = new QPushButton("Add", PointsGroup);
    AddButton->setToolTip("Add a point");
    DeleteButton = new QPushButton("Delete", PointsGroup);
    DeleteButton->setToolTip("Delete the point of the current row");
    CopyButton = new QPushButton("Copy Grid", PointsGroup);
    for (QPushButton* B : {AddButton, DeleteButton, CopyButton}) Buttons->addWidget(B);
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
    connect(AddButton, &QPushButton::clicked, this, [this] {
        EndCellEdit();
        if (Entity != nullptr) Entity->AddOrigin();
    });
    connect(DeleteButton, &QPushButton::clicked, this, [this] {
        EndCellEdit();
        if (Entity != nullptr) Entity->DeletePoint(Grid->currentRow());
    });
    connect(CopyButton, &QPushButton::clicked, this, [this] { TextClipboard().SetText(GridText().toStdString()); });

    RefreshAll();
}

TPointListFrame::~TPointListFrame() = default;

void TPointListFrame::GeometryDestroyed() {
    Entity = nullptr;
    NameColor->SetEntity(nullptr);
}

void TPointListFrame::FillRow(int Index) {
    const TRPoint& P = *Entity->Cloud().Items(Index);
    const double Values[] = {P.X, P.Y, P.Z};
    for (int Column = 0; Column < 3; ++Column) {
        QTableWidgetItem* Item = Grid->item(Index, Column);
        if (Item == nullptr) {
            Item = new QTableWidgetItem;
            Item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            Grid->setItem(Index, Column, Item);
        }
        Item->setText(CoordinateText(Values[Column]));
    }
}

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

QString TPointListFrame::GridText() const {
    QString Text = "\tX\tY\tZ\r\n";
    for (int Row = 0; Row < Grid->rowCount(); ++Row) {
        Text += QString::number(Row);
        for (int Column = 0; Column < Grid->columnCount(); ++Column) {
            Text += '\t';
            if (const QTableWidgetItem* Item = Grid->item(Row, Column)) Text += Item->text();
        }
        Text += "\r\n";
    }
    return Text;
}

void TPointListFrame::EndCellEdit() {
    // An open cell editor is the focused widget inside the grid's viewport.
    QWidget* Editor = QApplication::focusWidget();
    if (Editor != nullptr && Grid->viewport()->isAncestorOf(Editor)) {
        emit Grid->itemDelegate()->commitData(Editor);
        emit Grid->itemDelegate()->closeEditor(Editor);
    }
}

void TPointListFrame::EditCell(int Row, int Column) {
    if (Filling || Entity == nullptr) return;
    const QTableWidgetItem* Item = Grid->item(Row, Column);
    double Value = 0;
    try {
        Value = ParseFloat(Item != nullptr ? Item->text().toStdString() : std::string());
    } catch (const EConvertError&) {
        // Not a number: the cell shows the point's value again.
        const QSignalBlocker Block(Grid);
        if (Row < Entity->Cloud().Count()) FillRow(Row);
        return;
    }
    Entity->SetPointCoordinate(Row, Column, Value);
}

void RegisterPointListUi() {
    RegisterGeometryFrame(PointListFrameName, [](TGeometry& Geometry, void* Owner) -> IGeometryFrame* {
        auto* Cloud = dynamic_cast<TGeoPointList*>(&Geometry);
        if (Cloud == nullptr) return nullptr;
        return new TPointListFrame(*Cloud, static_cast<QWidget*>(Owner));
    });
}

}  // namespace sarnova
