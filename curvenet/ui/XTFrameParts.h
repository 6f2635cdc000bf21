// Small builders the property frames of the curve-network entities share.
#pragma once
#include <QAbstractButton>
#include <QColor>
#include <QLayout>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QString>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "curvenet/XTReferencePoints.h"
#include "entities/ui/FrameParts.h"
#include "controls/VkGroupBox.h"

namespace sarnova {

inline TVkGroupBox* NewGroup(const char* Name, const char* Caption, TVkGroupBoxState State, QWidget* Parent) {
    auto* Box = new TVkGroupBox(Caption, Parent);
    Box->setObjectName(Name);
    Box->InitialState = State;
    auto* Layout = new QVBoxLayout(Box);
    Layout->setContentsMargins(4, 16, 4, 4);
    return Box;
}

inline QToolButton* NewButton(const char* Name, const QString& Text, const QString& Hint, QWidget* Parent, QLayout* Row) {
    auto* Button = new QToolButton(Parent);
    Button->setObjectName(Name);
    Button->setText(Text);
    Button->setToolTip(Hint);
    Row->addWidget(Button);
    return Button;
}

inline QRadioButton* NewRadio(const char* Name, const char* Caption, QWidget* Parent, QLayout* Layout) {
    auto* Button = new QRadioButton(Caption, Parent);
    Button->setObjectName(Name);
    Layout->addWidget(Button);
    return Button;
}

// Ticks one button of a group, or none (an exclusive group refuses to untick its last one).
inline void ShowChecked(QAbstractButton* Button, bool On) {
    const QSignalBlocker Block(Button);
    Button->setAutoExclusive(false);
    Button->setChecked(On);
    Button->setAutoExclusive(true);
}

// Fills a point grid of a header row and one row per vertex, PointAt(i) giving vertex i; vertices
// that rest on another curve show in blue. Resize also writes the headers and sets the row count.
template <class PointAtFn>
void ShowNetworkPointRows(QTableWidget& Grid, int Count, PointAtFn PointAt, bool Resize, const QColor& Text) {
    const QSignalBlocker Block(&Grid);
    Grid.setUpdatesEnabled(false);
    if (Resize) {
        const char* const Headers[] = {"", "X", "Y", "Z"};
        for (int Column = 0; Column < 4; ++Column) {
            QTableWidgetItem* Header = Grid.item(0, Column);
            if (Header == nullptr) {
                Header = new QTableWidgetItem;
                Header->setFlags(Header->flags() & ~Qt::ItemIsEditable);
                Grid.setItem(0, Column, Header);
            }
            Header->setText(Headers[Column]);
        }
        if (Grid.rowCount() != Count + 1) Grid.setRowCount(Count + 1);
    }
    for (int I = 0; I < Count && I + 1 < Grid.rowCount(); ++I) {
        const TXTPoint* P = PointAt(I);
        SetIndexedPointRow(Grid, I + 1, I, P->GetPosition());
        const QColor Colour = dynamic_cast<const TXTReferencePoint*>(P) ? QColor(Qt::blue) : Text;
        for (int Column = 1; Column < 4; ++Column) Grid.item(I + 1, Column)->setForeground(Colour);
    }
    Grid.setUpdatesEnabled(true);
}

}  // namespace sarnova
