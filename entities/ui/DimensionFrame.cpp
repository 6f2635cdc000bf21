#include "entities/ui/DimensionFrame.h"

#include <QGridLayout>
#include <QLabel>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/Clipboard.h"
#include "controls/VkGroupBox.h"

namespace sarnova {

namespace {

// The grid's cells without header and row titles: x, y and z by tabs, each row ended by CR LF.
std::string PointRowsText(const QTableWidget& Grid) {
    QString Text;
    for (int Row = 0; Row < Grid.rowCount(); ++Row) {
        for (int Column = 0; Column < Grid.columnCount(); ++Column) {
            if (Column > 0) Text += '\t';
            if (const QTableWidgetItem* Item = Grid.item(Row, Column)) Text += Item->text();
        }
        Text += "\r\n";
    }
    return Text.toStdString();
}

}  // namespace

TDimensionFrame::TDimensionFrame(TGeoDimension& AEntity, QWidget* Parent)
    : TShapeFrame(AEntity, "Dimension", "TDimensionFrame", {"1", "2"}, Parent) {
    CopyBut = new QToolButton(VkGroupBox2);
    CopyBut->setObjectName("CopyBut");
    CopyBut->setText("Copy");
    CopyBut->setToolTip("Copy Grid");
    static_cast<QVBoxLayout*>(VkGroupBox2->layout())->insertWidget(0, CopyBut);
    connect(CopyBut, &QToolButton::clicked, this, [this] { TextClipboard().SetText(PointRowsText(*VkGrid1)); });

    VkGroupBox3 = AddGroupBox("Dimensions", "VkGroupBox3");
    auto* Table = new QWidget(VkGroupBox3);
    auto* Layout = new QGridLayout(Table);
    Layout->setContentsMargins(0, 0, 0, 0);
    const char* const Captions[7] = {"Distance XYZ: ", "Distance X:",  "Distance Y:", "Distance Z:",
                                     "Distance XY:",   "Distance YZ:", "Distance XZ:"};
    for (int I = 0; I < 7; ++I) {
        auto* Caption = new QLabel(Captions[I], Table);
        Caption->setObjectName(QString("Label%1").arg(I + 1));
        auto* Value = new QLabel(Table);
        Value->setObjectName(QString("Label%1").arg(I + 8));
        Value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        Layout->addWidget(Caption, I, 0);
        Layout->addWidget(Value, I, 1);
        Values[static_cast<std::size_t>(I)] = Value;
    }
    static_cast<QVBoxLayout*>(VkGroupBox3->layout())->addWidget(Table);
    FinishLayout();
    UpdateFromEntity();
}

void TDimensionFrame::UpdateDragged() {
    if (Entity() == nullptr) return;
    FillRow(0);
    FillRow(1);
    ShowOthers();
}

void TDimensionFrame::EditPoint(int Row, int Axis, double Value) { Entity()->SetPointCoordinate(Row, Axis, Value); }

void TDimensionFrame::ShowOthers() {
    if (Entity() == nullptr) return;
    const auto Distances = DimensionDistances(Entity()->Handle(0).Vector(), Entity()->Handle(1).Vector());
    for (std::size_t I = 0; I < Values.size(); ++I)
        Values[I]->setText(QString::fromStdString(DimensionText(Distances[I])));
}

void RegisterDimensionFrame() {
    RegisterGeometryFrame(DimensionFrameName, [](TGeometry& Geometry, void* Owner) -> IGeometryFrame* {
        auto* Dimension = dynamic_cast<TGeoDimension*>(&Geometry);
        return Dimension != nullptr ? new TDimensionFrame(*Dimension, static_cast<QWidget*>(Owner)) : nullptr;
    });
}

}  // namespace sarnova
