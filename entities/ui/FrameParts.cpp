#include "entities/ui/FrameParts.h"

#include <QApplication>
#include <QAbstractItemDelegate>
#include <QClipboard>

#include <QHBoxLayout>
#include <QSignalBlocker>

#include "document/Geometry.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"

namespace sarnova {

QLabel* NewFrameTitle(const std::string& Text, QWidget* Parent) {
    auto* Title = new QLabel(QString::fromStdString(Text), Parent);
    QFont Font = Title->font();
    Font.setBold(true);
    Font.setItalic(true);
    Font.setPixelSize(16);
    Title->setFont(Font);
    Title->setStyleSheet("color: blue");
    return Title;
}

void SetCoordinateRow(QTableWidget& Grid, int Row, const TMVector& V) {
    const double Values[] = {V.X, V.Y, V.Z};
    for (int Column = 0; Column < 3; ++Column) {
        QTableWidgetItem* Item = Grid.item(Row, Column);
        if (Item == nullptr) {
            Item = new QTableWidgetItem;
            Item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            Grid.setItem(Row, Column, Item);
        }
        Item->setText(QString::fromStdString(Format("%.3f", {Values[Column]})));
    }
}

void SetIndexedPointRow(QTableWidget& Grid, int Row, int Index, const TMVector& P) {
    const QString Texts[] = {QString::number(Index), QString::fromStdString(Format("%.3f", {P.X})),
                             QString::fromStdString(Format("%.3f", {P.Y})), QString::fromStdString(Format("%.3f", {P.Z}))};
    for (int Column = 0; Column < 4; ++Column) {
        QTableWidgetItem* Item = Grid.item(Row, Column);
        if (Item == nullptr) {
            Item = new QTableWidgetItem;
            Item->setTextAlignment(Column == 0 ? Qt::AlignCenter : (Qt::AlignRight | Qt::AlignVCenter));
            if (Column == 0) Item->setFlags(Item->flags() & ~Qt::ItemIsEditable);
            Grid.setItem(Row, Column, Item);
        }
        Item->setText(Texts[Column]);
    }
}

void CopyPointRowsToClipboard(const QTableWidget& Grid) {
    QString Text;
    for (int Row = 1; Row < Grid.rowCount(); ++Row)
        for (int Column = 1; Column < 4; ++Column) {
            const QTableWidgetItem* Item = Grid.item(Row, Column);
            Text += (Item != nullptr ? Item->text() : QString()) + (Column < 3 ? "\t" : "\r\n");
        }
    QApplication::clipboard()->setText(Text);
}

bool CellNumber(const QTableWidget& Grid, int Row, int Column, double& Value) {
    const QTableWidgetItem* Item = Grid.item(Row, Column);
    try {
        Value = ParseFloat(Item != nullptr ? Item->text().toStdString() : std::string());
    } catch (const EConvertError&) {
        return false;
    }
    return true;
}

QString CoordinateGridText(const QTableWidget& Grid) {
    QString Text = "\tX\tY\tZ\r\n";
    for (int Row = 0; Row < Grid.rowCount(); ++Row) {
        Text += QString::number(Row);
        for (int Column = 0; Column < Grid.columnCount(); ++Column) {
            Text += '\t';
            if (const QTableWidgetItem* Item = Grid.item(Row, Column)) Text += Item->text();
        }
        Text += "\r\n";
    }
    return Text;
}

void EndGridCellEdit(QTableWidget& Grid) {
    // An open cell editor is the focused widget inside the grid's viewport.
    QWidget* Editor = QApplication::focusWidget();
    if (Editor != nullptr && Grid.viewport()->isAncestorOf(Editor)) {
        emit Grid.itemDelegate()->commitData(Editor);
        emit Grid.itemDelegate()->closeEditor(Editor);
    }
}

TFrameNameColor::TFrameNameColor(TGeometry* AEntity, QWidget* Parent)
    : TVkGroupBox("Name and Color", Parent), Entity(AEntity) {
    setObjectName("NameAndColor");
    auto* Layout = new QHBoxLayout(this);
    NameEdit = new QLineEdit(this);
    ColorPanel = new TVkColorPanel(this);
    ColorPanel->setFixedSize(30, 21);
    Layout->addWidget(NameEdit);
    Layout->addWidget(ColorPanel);
    connect(NameEdit, &QLineEdit::textChanged, this, [this](const QString& Text) {
        if (Entity != nullptr) Entity->SetName(Text.toStdString());
    });
    ColorPanel->OnChange = [this](QObject*) {
        if (Entity != nullptr) Entity->SetColor(ColorPanel->GetColor());
    };
    Refresh();
}

void TFrameNameColor::Refresh() {
    if (Entity == nullptr) return;
    const QSignalBlocker Block(NameEdit);
    const QString Name = QString::fromStdString(Entity->GetName());
    if (NameEdit->text() != Name) NameEdit->setText(Name);
    ColorPanel->SetColor(Entity->GetColor());
}

}  // namespace sarnova
