#include "entities/ui/MeshFrame.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "entities/GBSurf.h"
#include "entities/ui/FrameParts.h"
#include "foundation/NumberText.h"
#include "platform/qt/QtCanvas.h"
#include "controls/FillDlg.h"
#include "controls/MeshEditSelector.h"
#include "surfaces/BSurface.h"
#include "surfaces/Surface.h"

namespace sarnova {

namespace {

QToolButton* NewButton(const QString& Text, const QString& Hint, QWidget* Parent, bool Checkable = false) {
    auto* Button = new QToolButton(Parent);
    Button->setText(Text);
    Button->setToolTip(Hint);
    Button->setCheckable(Checkable);
    return Button;
}

}  // namespace

TMeshFrame::TMeshFrame(TGeoCustomMesh& AEntity, QWidget* Parent) : QWidget(Parent), Entity(&AEntity) {
    auto* Layout = new QVBoxLayout(this);

    const std::string Keyword = AEntity.GetClass().GetKeyword();
    EntityClass = NewFrameTitle(Keyword.size() > 1 ? Keyword.substr(1) : Keyword, this);
    Layout->addWidget(EntityClass);

    auto* NameGroup = new QGroupBox("Name and Color", this);
    auto* NameLayout = new QHBoxLayout(NameGroup);
    Edit1 = new QLineEdit(NameGroup);
    VkColorPanel1 = new QPushButton(NameGroup);
    VkColorPanel1->setFixedWidth(40);
    NameLayout->addWidget(Edit1);
    NameLayout->addWidget(VkColorPanel1);
    Layout->addWidget(NameGroup);

    auto* EditGroup = new QGroupBox("Editing Selection", this);
    auto* EditLayout = new QVBoxLayout(EditGroup);
    MeshEditSelector1 = new TMeshEditSelector(EditGroup);
    MeshEditSelector1->setMinimumHeight(120);
    EditLayout->addWidget(MeshEditSelector1);
    auto* EditButtons = new QHBoxLayout;
    UVBut = NewButton("UV", "Edit U and V", EditGroup, true);
    UBut = NewButton("U", "Edit U", EditGroup, true);
    VBut = NewButton("V", "Edit V", EditGroup, true);
    AddUBut = NewButton("+U", "Add a U Column - Click in window to position", EditGroup, true);
    AddVBut = NewButton("+V", "Add a V Row - Click in window to create", EditGroup, true);
    DelBut = NewButton("Del", "Delete Column or Row", EditGroup);
    SubDivU = NewButton("/U", "Sub Divide in U", EditGroup);
    SubDivV = NewButton("/V", "Sub Divide in V", EditGroup);
    for (QToolButton* B : {UVBut, UBut, VBut, SubDivU, SubDivV, AddUBut, AddVBut, DelBut}) EditButtons->addWidget(B);
    EditLayout->addLayout(EditButtons);
    Layout->addWidget(EditGroup);

    auto* PointsGroup = new QGroupBox("Points", this);
    auto* PointsLayout = new QVBoxLayout(PointsGroup);
    auto* PointButtons = new QHBoxLayout;
    GridUBut = NewButton("U", "Edit U", PointsGroup, true);
    GridVBut = NewButton("V", "Edit V", PointsGroup, true);
    FloodValueBut = NewButton("Fill", "Float Values", PointsGroup);
    DecEditT = NewButton("<", "Previous", PointsGroup);
    IncEditT = NewButton(">", "Next", PointsGroup);
    CopyBut = NewButton("Copy", "Copy Grid", PointsGroup);
    for (QToolButton* B : {GridUBut, GridVBut, FloodValueBut, DecEditT, IncEditT, CopyBut}) PointButtons->addWidget(B);
    PointsLayout->addLayout(PointButtons);
    VkGrid1 = new QTableWidget(0, 4, PointsGroup);
    VkGrid1->setHorizontalHeaderLabels({"", "X", "Y", "Z"});
    VkGrid1->setColumnWidth(0, 30);
    PointsLayout->addWidget(VkGrid1);
    Layout->addWidget(PointsGroup, 1);

    BSplineGroup = new QGroupBox("BSpline Surface Properties", this);
    auto* BSplineLayout = new QGridLayout(BSplineGroup);
    BSplineLayout->addWidget(new QLabel("U Direction", BSplineGroup), 0, 1);
    BSplineLayout->addWidget(new QLabel("V Direction", BSplineGroup), 0, 2);
    Label3 = new QLabel("Order:", BSplineGroup);
    ComboBox1 = new QComboBox(BSplineGroup);
    ComboBox2 = new QComboBox(BSplineGroup);
    BSplineLayout->addWidget(Label3, 1, 0);
    BSplineLayout->addWidget(ComboBox1, 1, 1);
    BSplineLayout->addWidget(ComboBox2, 1, 2);
    BSplineLayout->addWidget(new QLabel("Divisions:", BSplineGroup), 2, 0);
    VkSpinEdit1 = new QSpinBox(BSplineGroup);
    VkSpinEdit2 = new QSpinBox(BSplineGroup);
    for (QSpinBox* Spin : {VkSpinEdit1, VkSpinEdit2}) Spin->setRange(2, 200);
    BSplineLayout->addWidget(VkSpinEdit1, 2, 1);
    BSplineLayout->addWidget(VkSpinEdit2, 2, 2);
    Layout->addWidget(BSplineGroup);

    connect(Edit1, &QLineEdit::textEdited, this, [this](const QString& Text) {
        if (Entity != nullptr) Entity->SetName(Text.toStdString());
    });
    connect(VkColorPanel1, &QPushButton::clicked, this, [this] {
        if (Entity == nullptr) return;
        const QColor Chosen = QColorDialog::getColor(ColorToQColor(Entity->GetColor()), this);
        if (Chosen.isValid()) Entity->SetColor(RGBColor(Chosen.red(), Chosen.green(), Chosen.blue()));
    });
    connect(UVBut, &QToolButton::clicked, this, [this] { ChooseView(mvUV); });
    connect(UBut, &QToolButton::clicked, this, [this] { ChooseView(mvU); });
    connect(VBut, &QToolButton::clicked, this, [this] { ChooseView(mvV); });
    connect(GridUBut, &QToolButton::clicked, this, [this] { ChooseView(mvU); });
    connect(GridVBut, &QToolButton::clicked, this, [this] { ChooseView(mvV); });
    connect(FloodValueBut, &QToolButton::clicked, this, [this] { FloodValueButClick(); });
    connect(AddUBut, &QToolButton::clicked, this, [this] { SetInsertMode(2); });
    connect(AddVBut, &QToolButton::clicked, this, [this] { SetInsertMode(1); });
    connect(DelBut, &QToolButton::clicked, this, [this] {
        if (Entity != nullptr) Entity->DeleteEditedLine();
    });
    const auto Surface = [this] { return dynamic_cast<TGeoBSurf*>(Entity); };
    connect(SubDivU, &QToolButton::clicked, this, [Surface] {
        if (TGeoBSurf* S = Surface()) S->SubDivideU();
    });
    connect(SubDivV, &QToolButton::clicked, this, [Surface] {
        if (TGeoBSurf* S = Surface()) S->SubDivideV();
    });
    for (int Direction = 0; Direction < 2; ++Direction) {
        connect(Direction == 0 ? ComboBox1 : ComboBox2, &QComboBox::activated, this, [this, Surface, Direction](int Index) {
            if (TGeoBSurf* S = Surface()) S->SetDirectionOrder(Direction, Index + 2);
            // A refused change shows the order the surface kept.
            RefreshBSpline();
        });
        connect(Direction == 0 ? VkSpinEdit1 : VkSpinEdit2, &QSpinBox::valueChanged, this, [this, Surface, Direction](int Value) {
            TGeoBSurf* S = Surface();
            if (Filling || S == nullptr || Value <= 1) return;
            Direction == 0 ? S->SetNumULine(Value) : S->SetNumVLine(Value);
        });
    }
    connect(DecEditT, &QToolButton::clicked, this, [this] { StepEditIndex(-1); });
    connect(IncEditT, &QToolButton::clicked, this, [this] { StepEditIndex(1); });
    connect(CopyBut, &QToolButton::clicked, this, [this] { CopyPointRowsToClipboard(*VkGrid1); });
    connect(VkGrid1, &QTableWidget::cellChanged, this, [this](int Row, int Column) { EditCell(Row, Column); });
    connect(VkGrid1, &QTableWidget::currentCellChanged, this,
            [this](int Row, int Column, int, int) { SelectCell(Row, Column); });
    MeshEditSelector1->OnMeshSelect = [this](QObject*, TMeshEditSelectorView, int GridIndex, int InsertIndex) {
        MeshSelect(GridIndex, InsertIndex);
    };

    SetInsertMode(0);
    Refresh();
}

TMeshFrame::~TMeshFrame() = default;

void TMeshFrame::ChooseView(std::uint8_t View) {
    if (Entity == nullptr) return;
    if (View == mvUV || Entity->GetEditView() != View) {
        Entity->SetEditView(View);
        Entity->DeselectAllPoints();
    }
    SetInsertMode(0);
}

void TMeshFrame::StepEditIndex(int Step) {
    if (Entity == nullptr) return;
    Entity->SetEditIndex(Entity->GetEditIndex() + Step);
    Entity->DeselectAllPoints();
}

void TMeshFrame::MeshSelect(int GridIndex, int InsertIndex) {
    if (Entity == nullptr) return;
    if (InsertMode == 0) {
        if (Entity->GetEditView() != mvUV) {
            Entity->SetEditIndex(GridIndex);
            Entity->DeselectAllPoints();
        }
        return;
    }
    const int Mode = InsertMode;
    SetInsertMode(0);
    if (Mode == 2)
        Entity->InsertU(InsertIndex);
    else
        Entity->InsertV(InsertIndex);
}

void TMeshFrame::SetInsertMode(int Mode) {
    InsertMode = Mode;
    const std::uint8_t View = Entity != nullptr ? Entity->GetEditView() : mvUV;
    AddUBut->setChecked(Mode == 2);
    AddVBut->setChecked(Mode == 1);
    if (Mode == 0) {
        UVBut->setChecked(View == mvUV);
        UBut->setChecked(View == mvU);
        VBut->setChecked(View == mvV);
        AddUBut->setEnabled(View == mvU);
        AddVBut->setEnabled(View == mvV);
        DelBut->setEnabled(View != mvUV);
    } else {
        DelBut->setEnabled(false);
    }
}

TRPoint* TMeshFrame::RowPoint(int Row) const { return Entity != nullptr ? Entity->EditedLinePoint(Row - 1) : nullptr; }

void TMeshFrame::FillRow(int Row) {
    if (const TRPoint* P = RowPoint(Row)) SetIndexedPointRow(*VkGrid1, Row, Row - 1, P->Vector());
}

void TMeshFrame::Refresh() {
    if (Entity == nullptr) return;
    Filling = true;
    const QSignalBlocker BlockGrid(VkGrid1);
    Edit1->setText(QString::fromStdString(Entity->GetName()));
    VkColorPanel1->setStyleSheet("background-color: " + ColorToQColor(Entity->GetColor()).name());
    const std::uint8_t View = Entity->GetEditView();
    const int Index = Entity->GetEditIndex();
    const TMesh& Net = Entity->Net();
    UVBut->setChecked(View == mvUV);
    UBut->setChecked(View == mvU);
    VBut->setChecked(View == mvV);
    GridUBut->setChecked(View == mvU);
    GridVBut->setChecked(View == mvV);
    DecEditT->setEnabled(View != mvUV && Index > 0);
    IncEditT->setEnabled((View == mvU && Index < Net.NumU() - 1) || (View == mvV && Index < Net.NumV() - 1));

    VkGrid1->setVisible(View != mvUV);
    CopyBut->setEnabled(View != mvUV);
    FloodValueBut->setEnabled(View != mvUV);
    if (View != mvUV) {
        const int Rows = (View == mvU ? Net.NumV() : Net.NumU()) + 1;
        if (VkGrid1->rowCount() != Rows) VkGrid1->setRowCount(Rows);
        auto* Corner = new QTableWidgetItem(QString(View == mvU ? "U=" : "V=") + QString::number(Index));
        Corner->setFlags(Corner->flags() & ~Qt::ItemIsEditable);
        VkGrid1->setItem(0, 0, Corner);
        for (int Row = 1; Row < Rows; ++Row) FillRow(Row);
    }

    RefreshBSpline();

    MeshEditSelector1->SetGridUCount(Net.NumU());
    MeshEditSelector1->SetGridVCount(Net.NumV());
    MeshEditSelector1->SetGridView(static_cast<TMeshEditSelectorView>(View));
    if (View == mvU) MeshEditSelector1->SetGridUSelected(Index);
    if (View == mvV) MeshEditSelector1->SetGridVSelected(Index);
    Filling = false;
}

void TMeshFrame::RefreshBSpline() {
    auto* Surface = dynamic_cast<TGeoBSurf*>(Entity);
    BSplineGroup->setVisible(Surface != nullptr);
    if (Surface == nullptr) {
        SubDivU->setEnabled(false);
        SubDivV->setEnabled(false);
        return;
    }
    const bool Saved = Filling;
    Filling = true;
    const TBSplineSurface& S = Surface->Surface();
    const auto Fill = [](QComboBox* Box, int Order, int Count) {
        const QSignalBlocker Block(Box);
        Box->clear();
        for (const std::string& Choice : OrderChoices(Count)) Box->addItem(QString::fromStdString(Choice));
        Box->setCurrentIndex(Order - 2);
    };
    Fill(ComboBox1, S.OrderU(), S.NumU());
    Fill(ComboBox2, S.OrderV(), S.NumV());
    const bool Open = S.KnotType == ktOpen;
    for (QWidget* W : std::initializer_list<QWidget*>{ComboBox1, ComboBox2, Label3, SubDivU, SubDivV}) W->setEnabled(Open);
    VkSpinEdit1->setValue(Surface->GetNumULine());
    VkSpinEdit2->setValue(Surface->GetNumVLine());
    Filling = Saved;
}

void TMeshFrame::RefreshSelectedRows() {
    const QSignalBlocker BlockGrid(VkGrid1);
    for (int Row = 1; Row < VkGrid1->rowCount(); ++Row)
        if (const TRPoint* P = RowPoint(Row); P != nullptr && P->Marked) FillRow(Row);
}

void TMeshFrame::EditCell(int Row, int Column) {
    if (Filling || Entity == nullptr || Column < 1 || Column > 3) return;
    TRPoint* P = RowPoint(Row);
    QTableWidgetItem* Item = VkGrid1->item(Row, Column);
    if (P == nullptr || Item == nullptr) return;
    // Through the program's own number reading: Qt's would take "nan" and "inf".
    double Value = 0;
    if (!CellNumber(*VkGrid1, Row, Column, Value)) {
        // Showing the point again is no edit: it must not come back here as one.
        Filling = true;
        FillRow(Row);
        Filling = false;
        return;
    }
    Entity->BeginChange();
    Entity->Undraw();
    (Column == 1 ? P->X : Column == 2 ? P->Y : P->Z) = Value;
    Entity->EndChange();
    Entity->Redraw();
}

void TMeshFrame::SelectCell(int Row, int Column) {
    FloodValueBut->setEnabled(Row >= 0);
    if (Filling || Entity == nullptr || Row < 0 || Column < 0 || !Entity->Editing()) return;
    TRPoint* Picked = RowPoint(Row);
    if (Picked == nullptr) return;
    for (int K = 0; TRPoint* P = Entity->EditedLinePoint(K); ++K) P->Marked = false;
    Picked->Marked = true;
    Entity->Redraw();
}

void TMeshFrame::FloodValueButClick() {
    if (Entity == nullptr || Entity->GetEditView() == mvUV) return;
    const int Column = VkGrid1->currentColumn();
    const int Offered = Column == 1 ? 0 : Column == 2 ? 1 : 2;
    VkGrid1->closePersistentEditor(VkGrid1->currentItem());
    const TFillDlgResult Result = ExecuteFillDialog("Polyline", Offered);
    if (!Result.Ok) return;
    Entity->SetEditedLineCoordinate(Result.Axis, Result.Value);
    Refresh();
}

void RegisterSurfaceUi() {
    RegisterGeometryFrame(MeshFrameName, [](TGeometry& Geometry, void* Owner) -> IGeometryFrame* {
        auto* Mesh = dynamic_cast<TGeoCustomMesh*>(&Geometry);
        if (Mesh == nullptr) return nullptr;
        return new TMeshFrame(*Mesh, static_cast<QWidget*>(Owner));
    });
}

}  // namespace sarnova
