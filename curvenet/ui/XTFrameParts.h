// Small builders the property frames of the curve-network entities share.
#pragma once
#include <QAbstractButton>
#include <QLayout>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QString>
#include <QToolButton>
#include <QVBoxLayout>

#include "shell/VkGroupBox.h"

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

}  // namespace sarnova
