#include "hulls/ui/HalvornFrame.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "entities/ui/FrameParts.h"
#include "foundation/DuZezOride.h"
#include "foundation/DuZezOrideConsole.h"
#include "shell/VkGroupBox.h"

namespace sarnova {

namespace {

TVkGroupBox* NewGroup(const char* Caption, const char* Name, QWidget* Parent) {
    auto* Box = new TVkGroupBox(Caption, Parent);
    Box->setObjectName(Name);
    auto* Layout = new QVBoxLayout(Box);
    Layout->setContentsMargins(4, 16, 4, 4);
    return Box;
}

// The hourglass while a change runs; the cursor comes back on every path.
class TWaitCursor {
public:
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

THalvornFrame::THalvornFrame(TGeoHalvorn& AEntity, QWidget* Parent) : QWidget(Parent), Entity(&AEntity) {
    setObjectName("HalvornFrame");
    auto* Layout = new QVBoxLayout(this);
    Label1 = NewFrameTitle("Halvorn", this);
    Layout->addWidget(Label1);
    NameColor = new TFrameNameColor(&AEntity, this);
    Layout->addWidget(NameColor);

    TVkGroupBox* HullType = NewGroup("Hull Type", "VkGroupBox3", this);
    RadioButton1 = new QRadioButton("Hull without Bulbous Bow", HullType);
    RadioButton2 = new QRadioButton("Hull with Bulbous Bow", HullType);
    RadioButton1->setChecked(true);
    HullType->layout()->addWidget(RadioButton1);
    HullType->layout()->addWidget(RadioButton2);
    Layout->addWidget(HullType);

    TVkGroupBox* Parameters = NewGroup("Parameters", "VkGroupBox2", this);
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
    Parameters->layout()->addItem(Buttons);
    Panel2 = new QLabel(QString::fromUtf8(AEntity.Generated() ? "" : HalvornUngeneratedText), Parameters);
    Panel2->setFrameShape(QFrame::Panel);
    Panel2->setFrameShadow(QFrame::Sunken);
    Parameters->layout()->addWidget(Panel2);
    VkGrid1 = new QTableWidget(0, 1, Parameters);
    VkGrid1->setHorizontalHeaderLabels({"Value"});
    VkGrid1->horizontalHeader()->setStretchLastSection(true);
    VkGrid1->verticalHeader()->setFixedWidth(100);
    VkGrid1->setMinimumHeight(360);
    Parameters->layout()->addWidget(VkGrid1);
    Layout->addWidget(Parameters, 1);

    connect(RadioButton1, &QRadioButton::clicked, this, [this] { HullTypeClick(0); });
    connect(RadioButton2, &QRadioButton::clicked, this, [this] { HullTypeClick(1); });
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { UpdateClick(); });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { DefaultsClick(); });
    connect(CheckBox1, &QCheckBox::toggled, this, [this](bool On) { InteractiveClick(On); });
    connect(VkGrid1, &QTableWidget::cellChanged, this, [this](int Row, int) {
        if (!Filling && VkGrid1->item(Row, 0)) EditParameter(Row, VkGrid1->item(Row, 0)->text());
    });
    UpdateFromEntity();
}

THalvornFrame::~THalvornFrame() {
    if (Entity) Entity->Generator().OnProgress = nullptr;
}

void THalvornFrame::GeometryDestroyed() {
    Entity = nullptr;
    NameColor->SetEntity(nullptr);
}

void THalvornFrame::UpdateFromEntity() {
    if (Entity == nullptr) return;
    Filling = true;
    NameColor->Refresh();
    THalvornVisual& G = Entity->Generator();
    {
        const QSignalBlocker B1(RadioButton1), B2(RadioButton2);
        RadioButton1->setChecked(G.BowShape() != 1);
        RadioButton2->setChecked(G.BowShape() == 1);
    }
    const QSignalBlocker Block(VkGrid1);
    const int N = G.ParameterCount();
    VkGrid1->setRowCount(N);
    QStringList Names;
    for (int i = 0; i < N; ++i) {
        Names << QString::fromStdString(G.ParameterName(i));
        auto* Item = new QTableWidgetItem(QString::fromStdString(FormatWithPoint("%.3f", {G.Parameter(i)})));
        Item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        VkGrid1->setItem(i, 0, Item);
    }
    VkGrid1->setVerticalHeaderLabels(Names);
    SpeedButton1->setEnabled(!CheckBox1->isChecked());
    Filling = false;
}

void THalvornFrame::ShowStatus(const std::string& Text) {
    Panel2->setText(QString::fromStdString(Text));
    Panel2->repaint();
}

void THalvornFrame::GenerateNow() {
    if (Entity == nullptr) return;
    try {
        Entity->Generate();
    } catch (const std::exception& Error) {
        ShowStatus(HalvornUngeneratedText);
        if (GExceptionHandler) GExceptionHandler->HandleException(Error);
    }
}

void THalvornFrame::AfterEdit() {
    if (CheckBox1->isChecked()) {
        GenerateNow();
    } else {
        SpeedButton1->setEnabled(true);
        Entity->SetUngenerated();
        ShowStatus(HalvornUngeneratedText);
    }
    Entity->InvalidateViews();
}

void THalvornFrame::EditParameter(int Index, const QString& Text) {
    if (Entity == nullptr) return;
    const TWaitCursor Wait;
    try {
        const double Value = ParseFloat(Text.toStdString());
        Entity->BeginChange();
        Entity->Generator().SetParameter(Index, Value);
        Entity->EndChange();
        AfterEdit();
    } catch (const std::exception& Error) {
        if (GExceptionHandler) GExceptionHandler->HandleException(Error);
    }
    // The value as the setter left it, limits applied.
    UpdateFromEntity();
}

void THalvornFrame::UpdateClick() {
    SpeedButton1->setEnabled(false);
    const TWaitCursor Wait;
    GenerateNow();
}

void THalvornFrame::DefaultsClick() {
    if (Entity == nullptr) return;
    Entity->BeginChange();
    Entity->Generator().SetDefaults();
    Entity->SetUngenerated();
    Entity->EndChange();
    UpdateFromEntity();
    ShowStatus(HalvornUngeneratedText);
    SpeedButton1->setEnabled(true);
}

void THalvornFrame::HullTypeClick(int Shape) {
    if (Entity == nullptr) return;
    const TWaitCursor Wait;
    SpeedButton1->setEnabled(false);
    Entity->BeginChange();
    Entity->Generator().SetBowShape(static_cast<std::uint8_t>(Shape));
    Entity->EndChange();
    UpdateFromEntity();
    AfterEdit();
    SpeedButton1->setEnabled(!CheckBox1->isChecked());
}

void THalvornFrame::InteractiveClick(bool On) {
    SpeedButton1->setEnabled(!On);
    if (On && Entity && !Entity->Generated()) GenerateNow();
}

void RegisterHalvornFrame() {
    RegisterGeometryFrame(HalvornFrameName, [](TGeometry& Geometry, void* Owner) -> IGeometryFrame* {
        auto* Hull = dynamic_cast<TGeoHalvorn*>(&Geometry);
        if (Hull == nullptr) return nullptr;
        return new THalvornFrame(*Hull, static_cast<QWidget*>(Owner));
    });
}

}  // namespace sarnova
