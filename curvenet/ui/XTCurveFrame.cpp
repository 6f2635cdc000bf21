#include "curvenet/ui/XTCurveFrame.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <numbers>
#include <string>
#include <vector>

#include "curvenet/XTReferencePoints.h"
#include "curvenet/ui/XTFrameParts.h"
#include "entities/ui/FrameParts.h"
#include "foundation/TextUtils.h"
#include "controls/FillDlg.h"
#include "platform/qt/QtMenus.h"
#include "controls/VkGroupBox.h"
#include "controls/VkSpin.h"

namespace sarnova {

namespace {

const char* const NoCurve = "<none>";

bool IsAngle(std::uint8_t Direction) { return Direction >= pdRoll && Direction <= pdYaw; }

}  // namespace

TXTCurveFrame::TXTCurveFrame(TGeoXTCurve& AEntity, QWidget* Parent) : QWidget(Parent), Entity(&AEntity) {
    setObjectName("XTCurveFrame");
    auto* Layout = new QVBoxLayout(this);
    EntityClass = NewFrameTitle(TGeoXTCurve::GetKeyword().substr(1), this);
    EntityClass->setObjectName("EntityClass");
    Layout->addWidget(EntityClass);
    VkGroupBox1 = new TFrameNameColor(&AEntity, this);
    Layout->addWidget(VkGroupBox1);

    VkGroupBox4 = NewGroup("VkGroupBox4", "Location Surface", gsCollapsed, this);
    RBNoLocationSurface = NewRadio("RBNoLocationSurface", "None (Reset)", VkGroupBox4, VkGroupBox4->layout());
    VkGroupBox4->layout()->addWidget(new QLabel("Parametric Plane", VkGroupBox4));
    auto* PlaneGrid = new QGridLayout;
    const char* const PlaneNames[] = {"RBPlaneX", "RBPlaneY", "RBPlaneZ", "RBPlaneRoll", "RBPlanePitch", "RBPlaneYaw"};
    const char* const PlaneCaptions[] = {"X", "Y", "Z", "Roll", "Pitch", "Yaw"};
    for (int I = 0; I < 6; ++I) {
        PlaneButtons[I] = new QRadioButton(PlaneCaptions[I], VkGroupBox4);
        PlaneButtons[I]->setObjectName(PlaneNames[I]);
        PlaneGrid->addWidget(PlaneButtons[I], I / 3, I % 3);
    }
    static_cast<QVBoxLayout*>(VkGroupBox4->layout())->addLayout(PlaneGrid);
    auto* ValueRow = new QHBoxLayout;
    Label4 = new QLabel("Parameter = ", VkGroupBox4);
    Label4->setObjectName("Label4");
    VkSpinEdit1 = new TVkSpinEdit(VkGroupBox4);
    VkSpinEdit1->setObjectName("VkSpinEdit1");
    VkSpinEdit1->SetSpinType(spFloat);
    VkSpinEdit1->SetIncrement(0.01f);
    VkSpinEdit1->SetPrecision(3);
    VkSpinEdit1->QuietValueUpdateDelay = 1000;
    ValueRow->addWidget(Label4);
    ValueRow->addWidget(VkSpinEdit1, 1);
    static_cast<QVBoxLayout*>(VkGroupBox4->layout())->addLayout(ValueRow);
    VkGroupBox4->layout()->addWidget(new QLabel("Referenced Plane", VkGroupBox4));
    auto* PlaneRow = new QHBoxLayout;
    PlaneRow->addWidget(new QLabel("Plane:", VkGroupBox4));
    ComboBox1 = new QComboBox(VkGroupBox4);
    ComboBox1->setObjectName("ComboBox1");
    PlaneRow->addWidget(ComboBox1, 1);
    static_cast<QVBoxLayout*>(VkGroupBox4->layout())->addLayout(PlaneRow);
    VkGroupBox4->layout()->addWidget(new QLabel("Offset from Curve", VkGroupBox4));
    auto* CurveRow = new QHBoxLayout;
    CurveRow->addWidget(new QLabel("Curve:", VkGroupBox4));
    cbOffsetContraintCurve = new QComboBox(VkGroupBox4);
    cbOffsetContraintCurve->setObjectName("cbOffsetContraintCurve");
    CurveRow->addWidget(cbOffsetContraintCurve, 1);
    static_cast<QVBoxLayout*>(VkGroupBox4->layout())->addLayout(CurveRow);
    // The offset direction is shown, not chosen: the buttons sit in a group of their own.
    auto* Panel2 = new QWidget(VkGroupBox4);
    Panel2->setObjectName("Panel2");
    auto* DirectionRow = new QHBoxLayout(Panel2);
    DirectionRow->setContentsMargins(0, 0, 0, 0);
    rbodX = NewRadio("rbodX", "X", Panel2, DirectionRow);
    rbodY = NewRadio("rbodY", "Y", Panel2, DirectionRow);
    rbodZ = NewRadio("rbodZ", "Z", Panel2, DirectionRow);
    VkGroupBox4->layout()->addWidget(Panel2);
    Layout->addWidget(VkGroupBox4);

    VkGroupBox3 = NewGroup("VkGroupBox3", "Surface Tangent", gsCollapsed, this);
    const char* const TangentNames[] = {"RBrtcNone", "RBrtcKnuckle",        "RBrtcX",
                                        "RBrtcY",    "RBrtcZ",              "RBrtcNormalToCurve",
                                        "RBrtcTangentialToCurve"};
    const char* const TangentCaptions[] = {"No Constraint", "Knuckle Line",    "X", "Y", "Z",
                                           "Normal to Curve", "Parallel to Curve"};
    for (int I = 0; I < 7; ++I) TangentButtons[I] = NewRadio(TangentNames[I], TangentCaptions[I], VkGroupBox3, VkGroupBox3->layout());
    Layout->addWidget(VkGroupBox3);

    VkGroupBox5 = NewGroup("VkGroupBox5", "Curve Options", gsCollapsed, this);
    CheckBox1 = new QCheckBox("Chord Length based Knot Vector", VkGroupBox5);
    CheckBox1->setObjectName("CheckBox1");
    CheckBox2 = new QCheckBox("Tag Curve as Surface Boundary", VkGroupBox5);
    CheckBox2->setObjectName("CheckBox2");
    VkGroupBox5->layout()->addWidget(CheckBox1);
    VkGroupBox5->layout()->addWidget(CheckBox2);
    Layout->addWidget(VkGroupBox5);

    VkGroupBox2 = NewGroup("VkGroupBox2", "Points", gsExpanded, this);
    auto* PointButtons = new QHBoxLayout;
    PointButtons->setSpacing(2);
    InsAboveBut = NewButton("InsAboveBut", "Above", "Insert New Point Above Row", VkGroupBox2, PointButtons);
    InsBelowBut = NewButton("InsBelowBut", "Below", "Insert New Point Below Row", VkGroupBox2, PointButtons);
    FloodValueBut = NewButton("FloodValueBut", "Fill", "Flood Points into Column", VkGroupBox2, PointButtons);
    DelRowBut = NewButton("DelRowBut", "Delete", "Delete Point Row", VkGroupBox2, PointButtons);
    CopyBut = NewButton("CopyBut", "Copy", "Copy Grid", VkGroupBox2, PointButtons);
    PointButtons->addStretch();
    static_cast<QVBoxLayout*>(VkGroupBox2->layout())->addLayout(PointButtons);
    VkGrid1 = new QTableWidget(1, 4, VkGroupBox2);
    VkGrid1->setObjectName("VkGrid1");
    VkGrid1->horizontalHeader()->hide();
    VkGrid1->verticalHeader()->hide();
    VkGrid1->verticalHeader()->setDefaultSectionSize(17);
    VkGrid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    VkGrid1->setColumnWidth(0, 20);
    VkGroupBox2->layout()->addWidget(VkGrid1);
    Layout->addWidget(VkGroupBox2, 1);
    for (QToolButton* B : {InsAboveBut, InsBelowBut, FloodValueBut, DelRowBut}) B->setEnabled(false);

    VkGroupBoxManager1 = new TVkGroupBoxManager(this);
    for (TVkGroupBox* Box : {static_cast<TVkGroupBox*>(VkGroupBox1), VkGroupBox4, VkGroupBox3, VkGroupBox5, VkGroupBox2})
        Box->Loaded();
    VkGroupBoxManager1->Loaded();

    // Every control edits through the entity, one undo step each; the entity's change brings the
    // frame up to date.
    const auto Run = [this](auto Command) {
        RunMenuCommand([this, Command] {
            if (Entity != nullptr) Command(*Entity);
        });
    };
    connect(RBNoLocationSurface, &QRadioButton::clicked, this, [Run] { Run([](TGeoXTCurve& E) { E.ClearLocation(); }); });
    for (int I = 0; I < 6; ++I)
        connect(PlaneButtons[I], &QRadioButton::clicked, this, [Run, I] {
            Run([I](TGeoXTCurve& E) { E.SetPlaneDirection(static_cast<std::uint8_t>(pdX + I)); });
        });
    VkSpinEdit1->OnChange = [this, Run](QObject*) {
        if (Filling) return;
        const double Value = VkSpinEdit1->GetValue();
        Run([Value](TGeoXTCurve& E) { E.SetPlaneParameter(Value); });
    };
    connect(cbOffsetContraintCurve, &QComboBox::activated, this, [this, Run](int Index) {
        const std::string Name = Index > 0 ? cbOffsetContraintCurve->itemText(Index).toStdString() : std::string();
        Run([Name](TGeoXTCurve& E) { E.SetOffsetCurveByName(Name); });
    });
    for (int I = 0; I < 7; ++I)
        connect(TangentButtons[I], &QRadioButton::clicked, this, [Run, I] {
            Run([I](TGeoXTCurve& E) { E.SetRibbonKindFromMenu(static_cast<std::uint8_t>(I)); });
        });
    connect(CheckBox1, &QCheckBox::clicked, this, [Run] { Run([](TGeoXTCurve& E) { E.ToggleOption(coFitChordLength); }); });
    connect(CheckBox2, &QCheckBox::clicked, this, [Run] { Run([](TGeoXTCurve& E) { E.ToggleOption(coSurfaceBoundary); }); });
    connect(VkGrid1, &QTableWidget::itemSelectionChanged, this, [this] { SelectRange(); });
    connect(VkGrid1, &QTableWidget::cellChanged, this, [this](int Row, int Column) { EditCell(Row, Column); });
    connect(InsAboveBut, &QToolButton::clicked, this, [this] { InsertRow(true); });
    connect(InsBelowBut, &QToolButton::clicked, this, [this] { InsertRow(false); });
    connect(DelRowBut, &QToolButton::clicked, this, [this] { DeleteRows(); });
    connect(FloodValueBut, &QToolButton::clicked, this, [this] { FloodValue(); });
    connect(CopyBut, &QToolButton::clicked, this, [this] { CopyPointRowsToClipboard(*VkGrid1); });

    Refresh();
}

TXTCurveFrame::~TXTCurveFrame() = default;

void TXTCurveFrame::GeometryDestroyed() {
    Entity = nullptr;
    VkGroupBox1->SetEntity(nullptr);
}

void TXTCurveFrame::Refresh() {
    if (Entity == nullptr) return;
    const TFlagScope Setting(Filling);
    VkGroupBox1->Refresh();
    ShowLocation();
    const std::uint8_t Ribbon = Entity->Curve().GetRibbonKind();
    for (int I = 0; I < 7; ++I) ShowChecked(TangentButtons[I], Ribbon == I);
    const std::uint8_t Options = Entity->Curve().Options();
    for (auto [Box, Bit] : {std::pair{CheckBox1, coFitChordLength}, std::pair{CheckBox2, coSurfaceBoundary}}) {
        const QSignalBlocker Block(Box);
        Box->setChecked((Options & Bit) != 0);
    }
    ShowPoints(true);
}

void TXTCurveFrame::ShowLocation() {
    TXTCurve& Curve = Entity->Curve();
    Entity->DropPlaneWithoutDirection();
    const TXTPlaneConstraint* Plane = Curve.Constraints().PlaneConstraint();
    TXTOffsetConstraint* Offset = Entity->OffsetConstraint();
    ShowChecked(RBNoLocationSurface, Plane == nullptr && Offset == nullptr);
    for (int I = 0; I < 6; ++I) {
        PlaneButtons[I]->setEnabled(true);
        ShowChecked(PlaneButtons[I], Plane != nullptr && Plane->Direction == pdX + I);
    }
    if (Plane != nullptr) {
        VkSpinEdit1->setEnabled(true);
        Label4->setEnabled(true);
        const double Value = Plane->ParameterValue();
        VkSpinEdit1->SetValueQuietly(static_cast<float>(IsAngle(Plane->Direction) ? Value * 180 / std::numbers::pi : Value));
        Label4->setText(QString::fromStdString(Plane->DirectionCaption() + " ="));
    } else {
        VkSpinEdit1->setEnabled(false);
        Label4->setEnabled(false);
        Label4->setText("Parameter =");
    }

    const QSignalBlocker Block(cbOffsetContraintCurve);
    cbOffsetContraintCurve->clear();
    std::uint8_t Direction = odNone;
    bool DirectionFree = false;
    if (Plane != nullptr) {
        cbOffsetContraintCurve->addItem(NoCurve);
        cbOffsetContraintCurve->setCurrentIndex(0);
    } else {
        std::vector<std::string> Names;
        FillCurveNameList(Names, Curve, true);
        for (const std::string& Name : Names) cbOffsetContraintCurve->addItem(QString::fromStdString(Name));
        if (Offset != nullptr) {
            const QString From = QString::fromStdString(Offset->OffsetFromCurve().GetName());
            cbOffsetContraintCurve->setCurrentIndex(From.isEmpty() ? -1 : cbOffsetContraintCurve->findText(From));
            Direction = Offset->EffectiveDirection();
            DirectionFree = Direction == odNone;
        } else {
            cbOffsetContraintCurve->setCurrentIndex(0);
        }
    }
    QRadioButton* const Directions[] = {rbodX, rbodY, rbodZ};
    for (int I = 0; I < 3; ++I) {
        Directions[I]->setEnabled(DirectionFree);
        ShowChecked(Directions[I], Direction == odX + I);
    }
}

void TXTCurveFrame::ShowPoints(bool Resize) {
    TXTCurve& Curve = Entity->Curve();
    ShowNetworkPointRows(*VkGrid1, Curve.PointCount(), [&Curve](int I) { return Curve.PointAt(I); }, Resize,
                         palette().color(QPalette::WindowText));
}

void TXTCurveFrame::UpdateGridValues() {
    if (Entity != nullptr) ShowPoints(false);
}

void TXTCurveFrame::SelectRange() {
    const QList<QTableWidgetSelectionRange> Ranges = VkGrid1->selectedRanges();
    const bool Any = !Ranges.isEmpty() && Ranges.first().bottomRow() >= 1;
    const int Top = Any ? std::max(1, Ranges.first().topRow()) : -1;
    const int Bottom = Any ? Ranges.first().bottomRow() : -1;
    const int Left = Any ? Ranges.first().leftColumn() : -1;
    const int Right = Any ? Ranges.first().rightColumn() : -1;
    if (Entity != nullptr && !Filling && Any && Entity->Editing()) Entity->SelectVertices(Top - 1, Bottom - 1);
    InsAboveBut->setEnabled(Any && Top == Bottom);
    InsBelowBut->setEnabled(Any && Top == Bottom);
    DelRowBut->setEnabled(Any);
    FloodValueBut->setEnabled(Any && Left == Right && Left >= 1);
}

void TXTCurveFrame::EditCell(int Row, int Column) {
    if (Filling || Entity == nullptr || Row < 1 || Column < 1 || Column > 3) return;
    double Value = 0;
    if (CellNumber(*VkGrid1, Row, Column, Value))
        RunMenuCommand([&] { Entity->SetVertexCoordinate(Row - 1, Column - 1, Value); });
    // Not a number, or nothing changed: the cell shows the vertex again.
    if (Entity != nullptr) ShowPoints(false);
}

void TXTCurveFrame::InsertRow(bool Above) {
    EndGridCellEdit(*VkGrid1);
    const int Vertex = VkGrid1->currentRow() - 1;
    if (Entity == nullptr || Vertex < 0) return;
    RunMenuCommand([&] {
        if (Above)
            Entity->InsertVertexAbove(Vertex);
        else
            Entity->InsertVertexBelow(Vertex);
    });
}

void TXTCurveFrame::DeleteRows() {
    EndGridCellEdit(*VkGrid1);
    const QList<QTableWidgetSelectionRange> Ranges = VkGrid1->selectedRanges();
    if (Entity == nullptr || Ranges.isEmpty()) return;
    TXTCurve& Curve = Entity->Curve();
    for (int I = 0; I < Curve.PointCount(); ++I) {
        bool In = false;
        for (const QTableWidgetSelectionRange& R : Ranges) In = In || (I + 1 >= R.topRow() && I + 1 <= R.bottomRow());
        Curve.PointAt(I)->Selected = In;
    }
    RunMenuCommand([this] { Entity->DeleteSelectedPoints(); });
}

void TXTCurveFrame::FloodValue() {
    EndGridCellEdit(*VkGrid1);
    if (Entity == nullptr) return;
    const TFillDlgResult Fill = ExecuteFillDialog("XTCurve", VkGrid1->currentColumn() - 1);
    if (Fill.Ok && Entity != nullptr) RunMenuCommand([&] { Entity->FillCoordinate(Fill.Axis, Fill.Value); });
}

void RegisterXTCurveFrame() {
    RegisterGeometryFrame(XTCurveFrameName, [](TGeometry& Geometry, void* Owner) -> IGeometryFrame* {
        auto* Curve = dynamic_cast<TGeoXTCurve*>(&Geometry);
        if (Curve == nullptr) return nullptr;
        return new TXTCurveFrame(*Curve, static_cast<QWidget*>(Owner));
    });
}

}  // namespace sarnova
