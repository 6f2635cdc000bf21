#include "hulls/ui/TarvoCurveFrame.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPalette>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <numbers>

#include "entities/ui/FrameParts.h"
#include "platform/Clipboard.h"
#include "controls/FillDlg.h"
#include "controls/VkGroupBox.h"
#include "controls/VkSpin.h"

namespace sarnova {

namespace {

QToolButton* NewButton(const QString& Text, const QString& Hint, QWidget* Parent, QLayout* Row) {
    auto* Button = new QToolButton(Parent);
    Button->setText(Text);
    Button->setToolTip(Hint);
    Row->addWidget(Button);
    return Button;
}

QRadioButton* NewRadio(const QString& Caption, QWidget* Parent, QLayout* Layout) {
    auto* Button = new QRadioButton(Caption, Parent);
    Layout->addWidget(Button);
    return Button;
}

TVkGroupBox* NewGroup(const char* Caption, QWidget* Parent) {
    auto* Box = new TVkGroupBox(Caption, Parent);
    Box->setObjectName(Caption);
    auto* Layout = new QVBoxLayout(Box);
    Layout->setContentsMargins(4, 16, 4, 4);
    return Box;
}

// Ticks one button of a group, or none (an exclusive group refuses to untick its last one).
void ShowChecked(QRadioButton* Button, bool On) {
    const QSignalBlocker Block(Button);
    Button->setAutoExclusive(false);
    Button->setChecked(On);
    Button->setAutoExclusive(true);
}

bool IsAngleKind(TPlaneKind K) { return K == pkRoll || K == pkPitch || K == pkYaw; }

}  // namespace

TTarvoCurveFrame::TTarvoCurveFrame(TGeoTarvoCurve& AEntity, QWidget* Parent) : QWidget(Parent), Entity(&AEntity) {
    setObjectName("TarvoCurveFrame");
    auto* Layout = new QVBoxLayout(this);
    EntityClass = NewFrameTitle("TarvoCurve", this);
    Layout->addWidget(EntityClass);
    NameColor = new TFrameNameColor(&AEntity, this);
    Layout->addWidget(NameColor);

    TVkGroupBox* Constraints = NewGroup("Constraints", this);
    auto* Buttons = new QHBoxLayout;
    Buttons->setSpacing(2);
    StraightButton = NewButton("Straight", "Apply Straight Modifier", Constraints, Buttons);
    CurveButton = NewButton("Blend", "Apply Curve Modifier", Constraints, Buttons);
    KnuckleButton = NewButton("Knuckle", "Apply Knuckle Modifier", Constraints, Buttons);
    PlaneButton = NewButton("Plane", "Apply Plane Modifier", Constraints, Buttons);
    OffsetButton = NewButton("Offset", "Apply Offset Modifier", Constraints, Buttons);
    Buttons->addStretch();
    Constraints->layout()->addItem(Buttons);
    auto* ListButtons = new QHBoxLayout;
    DeleteModifierButton = NewButton("Delete", "Delete Modifier", Constraints, ListButtons);
    DeleteAllModifiersButton = NewButton("Clear", "Clear all Modifiers", Constraints, ListButtons);
    ListButtons->addStretch();
    Constraints->layout()->addItem(ListButtons);
    ListBox1 = new QListWidget(Constraints);
    ListBox1->setMaximumHeight(90);
    Constraints->layout()->addWidget(ListBox1);
    Layout->addWidget(Constraints);

    PlaneGroup = NewGroup("Plane Constraints", this);
    auto* PlaneRow = new QHBoxLayout;
    const char* const PlaneCaptions[] = {"X", "Y", "Z", "Roll", "Pitch", "Yaw"};
    for (int I = 0; I < 6; ++I) PlaneButtons[I] = NewRadio(PlaneCaptions[I], PlaneGroup, PlaneRow);
    PlaneGroup->layout()->addItem(PlaneRow);
    auto* ValueRow = new QHBoxLayout;
    Label4 = new QLabel("Parameter = ", PlaneGroup);
    VkSpinEdit1 = new TVkSpinEdit(PlaneGroup);
    VkSpinEdit1->SetSpinType(spFloat);
    VkSpinEdit1->SetIncrement(0.1f);
    VkSpinEdit1->SetPrecision(3);
    ValueRow->addWidget(Label4);
    ValueRow->addWidget(VkSpinEdit1, 1);
    PlaneGroup->layout()->addItem(ValueRow);
    Layout->addWidget(PlaneGroup);

    OffsetGroup = NewGroup("Offset Curve Constraints", this);
    auto* CurveRow = new QHBoxLayout;
    CurveRow->addWidget(new QLabel("Curve:", OffsetGroup));
    OffsetCurvesList = new QComboBox(OffsetGroup);
    CurveRow->addWidget(OffsetCurvesList, 1);
    OffsetGroup->layout()->addItem(CurveRow);
    OffsetGroup->layout()->addWidget(new QLabel("Offset in", OffsetGroup));
    auto* AxisRow = new QHBoxLayout;
    const char* const AxisCaptions[] = {"X-Axis", "Y-Axis", "Z-Axis", "by Vector"};
    for (int I = 0; I < 4; ++I) AxisButtons[I] = NewRadio(AxisCaptions[I], OffsetGroup, AxisRow);
    OffsetGroup->layout()->addItem(AxisRow);
    Layout->addWidget(OffsetGroup);

    OperationGroup = NewGroup("TarvoCurve Surface Operation", this);
    const char* const OperationCaptions[] = {"Control Curve", "Tangent Curve", "Panel Break"};
    for (int I = 0; I < 3; ++I)
        OperationButtons[I] = NewRadio(OperationCaptions[I], OperationGroup, OperationGroup->layout());
    Layout->addWidget(OperationGroup);

    TVkGroupBox* Points = NewGroup("Points", this);
    auto* PointButtons = new QHBoxLayout;
    PointButtons->setSpacing(2);
    InsAboveBut = NewButton("Above", "Insert New Point Above Row", Points, PointButtons);
    InsBelowBut = NewButton("Below", "Insert New Point Below Row", Points, PointButtons);
    FloodValueBut = NewButton("Fill", "Flood Points into Column", Points, PointButtons);
    DelRowBut = NewButton("Delete", "Delete Point Row", Points, PointButtons);
    CopyBut = NewButton("Copy", "Copy Grid", Points, PointButtons);
    PointButtons->addStretch();
    Points->layout()->addItem(PointButtons);
    VkGrid1 = new QTableWidget(0, 3, Points);
    VkGrid1->setHorizontalHeaderLabels({"X", "Y", "Z"});
    VkGrid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    VkGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    VkGrid1->verticalHeader()->setMinimumWidth(20);
    Points->layout()->addWidget(VkGrid1);
    Layout->addWidget(Points, 1);

    PlaneGroup->hide();
    OffsetGroup->hide();
    OperationGroup->SetState(gsCollapsed);
    for (QToolButton* B : {InsAboveBut, InsBelowBut, FloodValueBut, DelRowBut, DeleteModifierButton}) B->setEnabled(false);

    // Every control edits through the entity, which brackets the change for undo.
    const auto OnClick = [this](QToolButton* Button, void (TGeoTarvoCurve::*Command)()) {
        connect(Button, &QToolButton::clicked, this, [this, Command] {
            if (Entity != nullptr) (Entity->*Command)();
        });
    };
    OnClick(StraightButton, &TGeoTarvoCurve::ToggleStraight);
    OnClick(CurveButton, &TGeoTarvoCurve::ToggleBlend);
    OnClick(KnuckleButton, &TGeoTarvoCurve::ToggleKnuckle);
    OnClick(PlaneButton, &TGeoTarvoCurve::AddPlaneConstraint);
    OnClick(OffsetButton, &TGeoTarvoCurve::AddOffsetConstraint);
    OnClick(DeleteAllModifiersButton, &TGeoTarvoCurve::ClearConstraints);
    connect(DeleteModifierButton, &QToolButton::clicked, this, [this] {
        const int Row = ListBox1->currentRow();
        ListBox1->setCurrentRow(-1);
        if (Entity != nullptr && Row >= 0) Entity->DeleteConstraint(Row);
    });
    connect(ListBox1, &QListWidget::currentRowChanged, this, [this](int) {
        if (!Filling) ShowConstraintGroups();
    });
    for (int I = 0; I < 6; ++I)
        connect(PlaneButtons[I], &QRadioButton::clicked, this, [this, I] {
            if (Entity != nullptr) Entity->SetPlaneKind(static_cast<TPlaneKind>(I + 1));
        });
    VkSpinEdit1->OnChange = [this](QObject*) {
        if (!Filling && Entity != nullptr) Entity->SetPlaneValue(VkSpinEdit1->GetValue());
    };
    connect(OffsetCurvesList, &QComboBox::activated, this, [this](int Index) {
        if (Entity != nullptr && Index >= 0) Entity->SetOffsetReference(OffsetCurvesList->itemText(Index).toStdString());
    });
    const TOffsetAxis Axes[] = {oaX, oaY, oaZ, oaVector};
    for (int I = 0; I < 4; ++I)
        connect(AxisButtons[I], &QRadioButton::clicked, this, [this, Axis = Axes[I]] {
            if (Entity != nullptr) Entity->SetOffsetAxis(Axis);
        });
    for (int I = 0; I < 3; ++I)
        connect(OperationButtons[I], &QRadioButton::toggled, this, [this, I](bool On) {
            if (On && !Filling && Entity != nullptr) Entity->SetSurfaceOperation(static_cast<TSurfaceOperation>(I));
        });
    connect(VkGrid1, &QTableWidget::itemSelectionChanged, this, [this] { SelectRange(); });
    connect(VkGrid1, &QTableWidget::cellChanged, this, [this](int Row, int Column) { EditCell(Row, Column); });
    connect(InsAboveBut, &QToolButton::clicked, this, [this] {
        EndCellEdit();
        if (Entity != nullptr) Entity->InsertPointAbove(VkGrid1->currentRow());
    });
    connect(InsBelowBut, &QToolButton::clicked, this, [this] {
        EndCellEdit();
        if (Entity != nullptr) Entity->InsertPointBelow(VkGrid1->currentRow());
    });
    connect(DelRowBut, &QToolButton::clicked, this, [this] {
        EndCellEdit();
        const QList<QTableWidgetSelectionRange> Ranges = VkGrid1->selectedRanges();
        if (Entity != nullptr && !Ranges.isEmpty()) Entity->DeleteRows(Ranges.first().topRow(), Ranges.first().bottomRow());
    });
    connect(FloodValueBut, &QToolButton::clicked, this, [this] { FloodValue(); });
    connect(CopyBut, &QToolButton::clicked, this, [this] { TextClipboard().SetText(GridText().toStdString()); });

    UpdateFromEntity();
}

TTarvoCurveFrame::~TTarvoCurveFrame() = default;

void TTarvoCurveFrame::GeometryDestroyed() {
    Entity = nullptr;
    NameColor->SetEntity(nullptr);
}

TConstraint* TTarvoCurveFrame::SelectedConstraint() const {
    const int Row = ListBox1->currentRow();
    if (Entity == nullptr || Row < 0 || Row >= Entity->Curve().Constraints().Count()) return nullptr;
    return Entity->Curve().Constraints().Items(Row);
}

void TTarvoCurveFrame::UpdateConstraintButtons() {
    if (Entity == nullptr) return;
    const TTarvoCurve& C = Entity->Curve();
    StraightButton->setEnabled(TStraightConstraint::StateForSelection(C) == tarvo::csAbsent);
    CurveButton->setEnabled(TBlendConstraint::StateForSelection(C) == tarvo::csAbsent);
    KnuckleButton->setEnabled(TKnuckleConstraint::StateForSelection(C) == tarvo::csAbsent);
    PlaneButton->setEnabled(TPlaneConstraint::State(C) == tarvo::csAbsent);
    OffsetButton->setEnabled(TOffsetConstraint::State(C) == tarvo::csAbsent);
}

void TTarvoCurveFrame::FillRow(int Index) {
    const TTarvoCurve& C = Entity->Curve();
    SetCoordinateRow(*VkGrid1, Index, C.Point(Index)->Vector());
    // Driven points are shown greyed and cannot be typed into.
    const bool Free = C.AcceptsIndex(Index);
    const QColor Text = palette().color(Free ? QPalette::Active : QPalette::Disabled, QPalette::Text);
    for (int Column = 0; Column < 3; ++Column)
        if (QTableWidgetItem* Item = VkGrid1->item(Index, Column)) {
            Item->setForeground(Text);
            Item->setFlags(Free ? Item->flags() | Qt::ItemIsEditable : Item->flags() & ~Qt::ItemIsEditable);
        }
}

void TTarvoCurveFrame::UpdateFromEntity() {
    if (Entity == nullptr) return;
    Filling = true;
    const QSignalBlocker BlockGrid(VkGrid1);
    const QSignalBlocker BlockList(ListBox1);
    NameColor->Refresh();
    UpdateConstraintButtons();
    TTarvoCurve& C = Entity->Curve();
    // Driven points take their places before they are shown.
    Entity->GetPolyline();
    const int N = C.Count();
    if (VkGrid1->rowCount() != N) VkGrid1->setRowCount(N);
    QStringList Numbers;
    for (int I = 0; I < N; ++I) {
        Numbers << QString::number(I);
        FillRow(I);
    }
    VkGrid1->setVerticalHeaderLabels(Numbers);

    const int Selected = ListBox1->currentRow();
    ListBox1->clear();
    const TConstraints& List = C.Constraints();
    for (int I = 0; I < List.Count(); ++I) ListBox1->addItem(QString::fromStdString(List.Items(I)->GetDescription()));
    ListBox1->setCurrentRow(Selected < List.Count() ? Selected : -1);
    DeleteModifierButton->setEnabled(ListBox1->currentRow() >= 0);
    DeleteAllModifiersButton->setEnabled(List.Count() > 1);

    if (const TPlaneConstraint* P = List.PlaneConstraint()) {
        const TPlaneKinds Allowed = P->AllowedKinds();
        for (int I = 0; I < 6; ++I) {
            PlaneButtons[I]->setEnabled(Allowed.test(I + 1));
            ShowChecked(PlaneButtons[I], P->Kind() == I + 1);
        }
        const bool Angle = IsAngleKind(P->Kind());
        VkSpinEdit1->SetValue(static_cast<float>(Angle ? P->Value() * 180 / std::numbers::pi : P->Value()));
        Label4->setText(QString::fromStdString(P->KindName() + " ="));
        VkSpinEdit1->setEnabled(P->Kind() != pkNone);
        Label4->setEnabled(P->Kind() != pkNone);
    }
    if (const TOffsetConstraint* O = List.OffsetConstraint()) {
        const QSignalBlocker Block(OffsetCurvesList);
        std::vector<std::string> Names;
        O->ListCandidates(Names);
        OffsetCurvesList->clear();
        for (const std::string& Name : Names) OffsetCurvesList->addItem(QString::fromStdString(Name));
        const TTarvoCurve* R = O->Reference();
        OffsetCurvesList->setCurrentIndex(R != nullptr ? OffsetCurvesList->findText(QString::fromStdString(R->Name)) : -1);
        const TOffsetAxis Axes[] = {oaX, oaY, oaZ, oaVector};
        for (int I = 0; I < 4; ++I) {
            AxisButtons[I]->setEnabled(O->Axis() == oaNone);
            ShowChecked(AxisButtons[I], O->Axis() == Axes[I]);
        }
    }
    for (int I = 0; I < 3; ++I) ShowChecked(OperationButtons[I], C.GetSurfaceOperation() == I);
    Filling = false;
    ShowConstraintGroups();
}

void TTarvoCurveFrame::ShowConstraintGroups() {
    const TConstraint* Selected = SelectedConstraint();
    DeleteModifierButton->setEnabled(Selected != nullptr);
    PlaneGroup->setVisible(dynamic_cast<const TPlaneConstraint*>(Selected) != nullptr);
    OffsetGroup->setVisible(dynamic_cast<const TOffsetConstraint*>(Selected) != nullptr);
}

void TTarvoCurveFrame::UpdatePointCells() {
    if (Entity == nullptr) return;
    const QSignalBlocker Block(VkGrid1);
    const TTarvoCurve& C = Entity->Curve();
    for (int I = 0; I < C.Count() && I < VkGrid1->rowCount(); ++I) SetCoordinateRow(*VkGrid1, I, C.Point(I)->Vector());
}

QString TTarvoCurveFrame::GridText() const { return CoordinateGridText(*VkGrid1); }

void TTarvoCurveFrame::SelectRange() {
    const QList<QTableWidgetSelectionRange> Ranges = VkGrid1->selectedRanges();
    const int Top = Ranges.isEmpty() ? -1 : Ranges.first().topRow();
    const int Bottom = Ranges.isEmpty() ? -1 : Ranges.first().bottomRow();
    const int Left = Ranges.isEmpty() ? -1 : Ranges.first().leftColumn();
    const int Right = Ranges.isEmpty() ? -1 : Ranges.first().rightColumn();
    if (Entity == nullptr) return;
    if (!Filling && Entity->Editing()) Entity->MarkRows(Top, Bottom);
    const bool Offset = Entity->Curve().Constraints().HasOffset();
    InsAboveBut->setEnabled(Top >= 0 && Top == Bottom && !Offset);
    InsBelowBut->setEnabled(Top >= 0 && Top == Bottom && !Offset);
    DelRowBut->setEnabled(Top >= 0 && !Offset);
    FloodValueBut->setEnabled(Left >= 0 && Left == Right);
}

void TTarvoCurveFrame::EditCell(int Row, int Column) {
    if (Filling || Entity == nullptr) return;
    double Value = 0;
    if (CellNumber(*VkGrid1, Row, Column, Value)) {
        Entity->SetPointCoordinate(Row, Column, Value);
    }
    // Refused or not a number: the cell shows the point's value again.
    const QSignalBlocker Block(VkGrid1);
    if (Row < Entity->Curve().Count()) FillRow(Row);
}

void TTarvoCurveFrame::EndCellEdit() { EndGridCellEdit(*VkGrid1); }

void TTarvoCurveFrame::FloodValue() {
    if (Entity == nullptr) return;
    EndCellEdit();
    const int Column = VkGrid1->currentColumn();
    const int Axis = Column == 0 ? 0 : Column == 1 ? 1 : 2;
    const TFillDlgResult Fill = ExecuteFillDialog("TarvoCurve", Axis);
    if (Fill.Ok && Fill.Axis >= 0) Entity->FillCoordinate(Fill.Axis, Fill.Value);
}

void RegisterTarvoCurveFrame() {
    RegisterGeometryFrame(TarvoCurveFrameName, [](TGeometry& Geometry, void* Owner) -> IGeometryFrame* {
        auto* Curve = dynamic_cast<TGeoTarvoCurve*>(&Geometry);
        if (Curve == nullptr) return nullptr;
        return new TTarvoCurveFrame(*Curve, static_cast<QWidget*>(Owner));
    });
}

}  // namespace sarnova
