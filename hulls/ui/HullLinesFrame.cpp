#include "hulls/ui/HullLinesFrame.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QStyle>
#include <QLabel>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "entities/ui/FrameParts.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "controls/VkGroupBox.h"

namespace sarnova {

TWaitCursor::TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }

TWaitCursor::~TWaitCursor() { QApplication::restoreOverrideCursor(); }

THullLinesFrame::THullLinesFrame(TGeoHullLines& AEntity, const char* Title, const char* ObjectName, QWidget* Parent)
    : QWidget(Parent), Entity(&AEntity) {
    setObjectName(ObjectName);
    Layout = new QVBoxLayout(this);
    Label1 = NewFrameTitle(Title, this);
    Layout->addWidget(Label1);
    NameColor = new TFrameNameColor(&AEntity, this);
    Layout->addWidget(NameColor);

    auto* Parameters = new TVkGroupBox("Parameters", this);
    Parameters->setObjectName("VkGroupBox2");
    auto* Inner = new QVBoxLayout(Parameters);
    Inner->setContentsMargins(4, 16, 4, 4);
    auto* Buttons = new QHBoxLayout;
    SpeedButton1 = new QToolButton(Parameters);
    SpeedButton1->setText("Update");
    SpeedButton2 = new QToolButton(Parameters);
    SpeedButton2->setText("Defaults");
    CheckBox1 = new QCheckBox("Interactive update", Parameters);
    Buttons->addWidget(SpeedButton1);
    Buttons->addWidget(SpeedButton2);
    Buttons->addWidget(CheckBox1);
    Buttons->addStretch();
    Inner->addItem(Buttons);
    Panel2 = new QLabel(QString::fromUtf8(AEntity.Generated() ? "" : HullUngeneratedText), Parameters);
    Panel2->setFrameShape(QFrame::Panel);
    Panel2->setFrameShadow(QFrame::Sunken);
    Inner->addWidget(Panel2);
    VkGrid1 = new QTableWidget(0, 1, Parameters);
    VkGrid1->setHorizontalHeaderLabels({"Value"});
    VkGrid1->horizontalHeader()->setStretchLastSection(true);
    VkGrid1->setMinimumHeight(360);
    Inner->addWidget(VkGrid1);
    Layout->addWidget(Parameters, 1);

    connect(SpeedButton1, &QToolButton::clicked, this, [this] { UpdateClick(); });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { DefaultsClick(); });
    connect(CheckBox1, &QCheckBox::toggled, this, [this](bool On) { InteractiveClick(On); });
    connect(VkGrid1, &QTableWidget::cellChanged, this, [this](int Row, int) {
        if (!Filling && VkGrid1->item(Row, 0)) EditParameter(Row, VkGrid1->item(Row, 0)->text());
    });
}

THullLinesFrame::~THullLinesFrame() = default;

void THullLinesFrame::GeometryDestroyed() {
    Entity = nullptr;
    NameColor->SetEntity(nullptr);
}

void THullLinesFrame::UpdateFromEntity() {
    if (Entity == nullptr) return;
    Filling = true;
    NameColor->Refresh();
    RefreshControls();
    const QSignalBlocker Block(VkGrid1);
    const int N = ParameterCount();
    VkGrid1->setRowCount(N);
    QStringList Names;
    for (int i = 0; i < N; ++i) {
        Names << QString::fromStdString(ParameterName(i));
        auto* Item = new QTableWidgetItem(QString::fromStdString(FormatWithPoint("%.3f", {Parameter(i)})));
        Item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        VkGrid1->setItem(i, 0, Item);
    }
    VkGrid1->setVerticalHeaderLabels(Names);
    // Wide enough for the longest name and a value: a narrower tool window scrolls the frame
    // sideways instead of cutting the values off.
    VkGrid1->setMinimumWidth(VkGrid1->verticalHeader()->sizeHint().width() +
                             VkGrid1->fontMetrics().horizontalAdvance("-00000.000") + 2 * VkGrid1->frameWidth() +
                             VkGrid1->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 12);
    RefreshUpdateButton();
    Filling = false;
}

void THullLinesFrame::RefreshUpdateButton() { SpeedButton1->setEnabled(!CheckBox1->isChecked()); }

void THullLinesFrame::ShowStatus(const std::string& Text) {
    Panel2->setText(QString::fromStdString(Text));
    Panel2->repaint();
}

void THullLinesFrame::GenerateNow() {
    if (Entity == nullptr) return;
    try {
        Entity->Generate();
    } catch (const std::exception& Error) {
        // A refused generation may have put the last hull and its parameters back.
        UpdateFromEntity();
        ShowStatus(Entity->Generated() ? "" : HullUngeneratedText);
        if (GExceptionHandler) GExceptionHandler->HandleException(Error);
    }
}

void THullLinesFrame::AfterEdit() {
    if (CheckBox1->isChecked()) {
        GenerateNow();
    } else {
        SpeedButton1->setEnabled(true);
        Entity->SetUngenerated();
        ShowStatus(HullUngeneratedText);
    }
    Entity->InvalidateViews();
}

void THullLinesFrame::EditParameter(int Index, const QString& Text) {
    if (Entity == nullptr) return;
    const TWaitCursor Wait;
    try {
        const double Value = ParseFloat(Text.toStdString());
        Entity->BeginChange();
        SetParameter(Index, Value);
        Entity->EndChange();
        AfterEdit();
    } catch (const std::exception& Error) {
        if (GExceptionHandler) GExceptionHandler->HandleException(Error);
    }
    // The value as the setter left it, limits applied.
    UpdateFromEntity();
}

void THullLinesFrame::UpdateClick() {
    SpeedButton1->setEnabled(false);
    const TWaitCursor Wait;
    GenerateNow();
}

void THullLinesFrame::DefaultsClick() {
    if (Entity == nullptr) return;
    Entity->BeginChange();
    SetDefaults();
    Entity->SetUngenerated();
    Entity->EndChange();
    UpdateFromEntity();
    ShowStatus(HullUngeneratedText);
    SpeedButton1->setEnabled(true);
}

void THullLinesFrame::InteractiveClick(bool On) {
    SpeedButton1->setEnabled(!On);
    if (On && Entity && !Entity->Generated()) GenerateNow();
}

}  // namespace sarnova
