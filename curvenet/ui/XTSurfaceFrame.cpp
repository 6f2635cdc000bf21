#include "curvenet/ui/XTSurfaceFrame.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPalette>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <string>

#include "curvenet/GXTCurve.h"
#include "curvenet/XTCurve.h"
#include "curvenet/XTReferencePoints.h"
#include "curvenet/ui/XTFrameParts.h"
#include "document/GCustomPline.h"
#include "document/GeometryList.h"
#include "entities/ui/FrameParts.h"
#include "foundation/TextUtils.h"
#include "platform/qt/QtMenus.h"
#include "controls/VkGroupBox.h"
#include "controls/VkSpin.h"

namespace sarnova {

namespace {

const char* const PresetNames[8] = {"RadioButton1", "RadioButton2", "RadioButton7", "RadioButton4",
                                    "RadioButton5", "RadioButton8", "RadioButton3", "RadioButton6"};

// The label shown above a preset, by the preset's place.
const char* PresetHeading(int Index) {
    switch (Index) {
        case 0: return "BSpline/NURBS Surfaces";
        case 3: return "Transfinite Surfaces";
        case 5: return "Coons (Cubic Bezier) Surfaces";
        case 7: return "Subdivision Surfaces";
        default: return nullptr;
    }
}

const char* const PatchTypeItems[] = {"Bi-Linear Bezier Blend", "Bi-Cubic Bezier Blend",   "Coons Bezier",
                                      "Gregory Bezier",         "Coons with Browns Twist", "Coons with Gregory Twist",
                                      "Subdivision - Brennick"};

struct TOptionBox {
    const char* Name;
    const char* Caption;
    bool TXTSurfaceOptions::*Field;
};
const TOptionBox OptionBoxList[7] = {
    {"CheckBox13", "Join Adjacent Curve Edges", &TXTSurfaceOptions::JoinAdjacentEdges},
    {"CheckBox14", "Force Bezier Edges", &TXTSurfaceOptions::ForceBezierEdges},
    {"CheckBox15", "Allow Triangle Patches", &TXTSurfaceOptions::AllowTrianglePatches},
    {"CheckBox16", "Use Regular Subdivision", &TXTSurfaceOptions::UseRegularSubdivision},
    {"CheckBox17", "Use Irregular Subdivision", &TXTSurfaceOptions::UseIrregularSubdivision},
    {"CheckBox18", "Linear Tangent Interpolation", &TXTSurfaceOptions::LinearTangentInterpolation},
    {"CheckBox1", "Force Twist Compatibility (1.0 Degrees)", &TXTSurfaceOptions::ForceTwistCompatibility},
};

struct TDisplayBox {
    const char* Heading;  // opens a group when set
    const char* Caption;
    TXTSurfaceDrawOption Option;
};
const TDisplayBox DisplayBoxList[14] = {
    {"Initial Manifold", "Vertices", sdoVertices},
    {nullptr, "Vertex Normals", sdoVertexNormals},
    {nullptr, "Edges", sdoEdges},
    {nullptr, "Edge Tangents", sdoEdgeTangents},
    {nullptr, "Face Polygons", sdoGlobalFacePolygons},
    {"Surface Tangent Generation", "Edge Surface Tangents", sdoEdgeSurfaceTangents},
    {nullptr, "Edge Surface Normals", sdoEdgeSurfaceNormals},
    {"Local Subdivision", "Final Face Polygons", sdoLocalFacePolygons},
    {nullptr, "Final Edges", sdoLocalEdges},
    {nullptr, "Final Surface Tangents", sdoLocalEdgeTangents},
    {nullptr, "Final Surface Derivatives", sdoLocalEdgeDerivatives},
    {nullptr, "Final Surface Normals", sdoLocalEdgeNormals},
    {"Surface Generation", "Actual Surface Normals", sdoSurfaceNormals},
    {nullptr, "Surface Polygons", sdoSurfacePolygons},
};

QCheckBox* NewCheck(const char* Name, const char* Caption, QWidget* Parent, QLayout* Layout) {
    auto* Box = new QCheckBox(Caption, Parent);
    Box->setObjectName(Name);
    Layout->addWidget(Box);
    return Box;
}

void ShowBox(QCheckBox* Box, bool On) {
    const QSignalBlocker Block(Box);
    Box->setChecked(On);
}

}  // namespace

TXTSurfaceFrame::TXTSurfaceFrame(TGeoXTSurface& AEntity, QWidget* Parent) : QWidget(Parent), Entity(&AEntity) {
    setObjectName("XTSurfaceFrame");
    auto* Layout = new QVBoxLayout(this);
    EntityClass = NewFrameTitle("XTSurface", this);
    EntityClass->setObjectName("EntityClass");
    Layout->addWidget(EntityClass);
    VkGroupBox1 = new TFrameNameColor(&AEntity, this);
    Layout->addWidget(VkGroupBox1);

    CurvesGroup = NewGroup("CurvesGroup", "Definition Curves", gsExpanded, this);
    auto* CurveButtons = new QHBoxLayout;
    CurveButtons->setSpacing(2);
    AddButton = NewButton("AddButton", "Add Selected", "Add the selected curves", CurvesGroup, CurveButtons);
    SpeedButton1 = NewButton("SpeedButton1", QString(QChar(0x25BE)), "Add a curve", CurvesGroup, CurveButtons);
    DeleteEntities = NewButton("DeleteEntities", "Remove", "Remove the curve from the surface", CurvesGroup, CurveButtons);
    CurveButtons->addStretch();
    static_cast<QVBoxLayout*>(CurvesGroup->layout())->addLayout(CurveButtons);
    ListBox1 = new QListWidget(CurvesGroup);
    ListBox1->setObjectName("ListBox1");
    CurvesGroup->layout()->addWidget(ListBox1);
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    Layout->addWidget(CurvesGroup);

    // The point grid exists for the drag refreshes but is not shown.
    PointsGroup = NewGroup("PointsGroup", "Points", gsExpanded, this);
    auto* PointButtons = new QHBoxLayout;
    CopyBut = NewButton("CopyBut", "Copy", "Copy Grid", PointsGroup, PointButtons);
    PointButtons->addStretch();
    static_cast<QVBoxLayout*>(PointsGroup->layout())->addLayout(PointButtons);
    VkGrid1 = new QTableWidget(1, 4, PointsGroup);
    VkGrid1->setObjectName("VkGrid1");
    VkGrid1->horizontalHeader()->hide();
    VkGrid1->verticalHeader()->hide();
    VkGrid1->verticalHeader()->setDefaultSectionSize(17);
    VkGrid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    VkGrid1->setColumnWidth(0, 20);
    PointsGroup->layout()->addWidget(VkGrid1);
    Layout->addWidget(PointsGroup);
    PointsGroup->hide();

    PatchTypeGroup = NewGroup("PatchTypeGroup", "Surface Patch Type", gsExpanded, this);
    for (int I = 0; I < 8; ++I) {
        if (const char* Heading = PresetHeading(I)) PatchTypeGroup->layout()->addWidget(new QLabel(Heading, PatchTypeGroup));
        PresetButtons[I] =
            NewRadio(PresetNames[I], SurfaceOptionsPresets[static_cast<std::size_t>(I)].Caption, PatchTypeGroup,
                     PatchTypeGroup->layout());
    }
    PatchTypeGroup->layout()->addWidget(new QLabel("User Defined Surface Settings", PatchTypeGroup));
    RadioButton10 = NewRadio("RadioButton10", "Customised", PatchTypeGroup, PatchTypeGroup->layout());
    Layout->addWidget(PatchTypeGroup);

    CustomGroup = NewGroup("CustomGroup", "Custom Surface Patch Options", gsCollapsed, this);
    auto* TypeRow = new QHBoxLayout;
    TypeRow->addWidget(new QLabel("Patch Type:", CustomGroup));
    ComboBox1 = new QComboBox(CustomGroup);
    ComboBox1->setObjectName("ComboBox1");
    for (const char* Item : PatchTypeItems) ComboBox1->addItem(Item);
    TypeRow->addWidget(ComboBox1, 1);
    static_cast<QVBoxLayout*>(CustomGroup->layout())->addLayout(TypeRow);
    for (int I = 0; I < 7; ++I)
        OptionBoxes[I] = NewCheck(OptionBoxList[I].Name, OptionBoxList[I].Caption, CustomGroup, CustomGroup->layout());
    auto* IterationRow = new QHBoxLayout;
    IterationRow->addWidget(new QLabel("Subdivision Interations:", CustomGroup));
    VkSpinEdit1 = new TVkSpinEdit(CustomGroup);
    VkSpinEdit1->setObjectName("VkSpinEdit1");
    VkSpinEdit1->SetSpinType(spInteger);
    VkSpinEdit1->MinValue = 0;
    VkSpinEdit1->MaxValue = MaxSubdivisionIterations;
    IterationRow->addWidget(VkSpinEdit1, 1);
    static_cast<QVBoxLayout*>(CustomGroup->layout())->addLayout(IterationRow);
    Layout->addWidget(CustomGroup);

    ViewGroup = NewGroup("ViewGroup", "View Options", gsExpanded, this);
    CheckBox5 = NewCheck("CheckBox5", "Patch Outlines", ViewGroup, ViewGroup->layout());
    CheckBox3 = NewCheck("CheckBox3", "Surfaces", ViewGroup, ViewGroup->layout());
    CheckBox2 = NewCheck("CheckBox2", "Contours", ViewGroup, ViewGroup->layout());
    CheckBox22 = NewCheck("CheckBox22", "Mirrored", ViewGroup, ViewGroup->layout());
    Layout->addWidget(ViewGroup);

    ExtendedGroup = NewGroup("ExtendedGroup", "Extended View Options", gsCollapsed, this);
    for (int I = 0; I < 14; ++I) {
        if (const char* Heading = DisplayBoxList[I].Heading)
            ExtendedGroup->layout()->addWidget(new QLabel(Heading, ExtendedGroup));
        const std::string Name = "DisplayBox" + std::to_string(I);
        DisplayBoxes[I] = NewCheck(Name.c_str(), DisplayBoxList[I].Caption, ExtendedGroup, ExtendedGroup->layout());
    }
    Layout->addWidget(ExtendedGroup);
    Layout->addStretch(1);

    VkGroupBoxManager1 = new TVkGroupBoxManager(this);
    for (TVkGroupBox* Box : {static_cast<TVkGroupBox*>(VkGroupBox1), CurvesGroup, PointsGroup, PatchTypeGroup,
                             CustomGroup, ViewGroup, ExtendedGroup})
        Box->Loaded();
    VkGroupBoxManager1->Loaded();

    // Every control edits through the entity, one undo step each; the entity's change brings the
    // frame up to date.
    const auto Run = [this](auto Command) {
        RunMenuCommand([this, Command] {
            if (Entity != nullptr) Command(*Entity);
        });
    };
    connect(AddButton, &QToolButton::clicked, this, [this, Run] {
        if (Entity == nullptr || Entity->GetOwnerList() == nullptr) return;
        std::vector<std::string> Names;
        for (TGeoXTCurve* C : SelectedOfClass<TGeoXTCurve>(*Entity->GetOwnerList())) Names.push_back(C->GetName());
        Run([Names](TGeoXTSurface& E) {
            for (const std::string& Name : Names) E.AddCurve(Name);
        });
    });
    connect(SpeedButton1, &QToolButton::clicked, this, [this] {
        FillCurveMenu();
        PopupMenu1->popup(SpeedButton1->mapToGlobal(QPoint(SpeedButton1->width(), SpeedButton1->height())));
    });
    connect(DeleteEntities, &QToolButton::clicked, this, [this, Run] {
        QListWidgetItem* Item = ListBox1->currentItem();
        if (Item == nullptr) return;
        const std::string Name = Item->text().toStdString();
        Run([Name](TGeoXTSurface& E) { E.RemoveCurve(Name); });
    });
    for (int I = 0; I < 8; ++I)
        connect(PresetButtons[I], &QRadioButton::clicked, this, [this, Run, I] {
            Run([I](TGeoXTSurface& E) { E.SetOptions(SurfaceOptionsPresets[static_cast<std::size_t>(I)].Options); });
            RefreshPatchType();
        });
    connect(ComboBox1, &QComboBox::activated, this, [this](int Index) { ChangeOption(7, Index); });
    for (int I = 0; I < 7; ++I)
        connect(OptionBoxes[I], &QCheckBox::clicked, this, [this, I](bool On) { ChangeOption(I, On ? 1 : 0); });
    VkSpinEdit1->OnChange = [this](QObject*) {
        if (!Filling) ChangeOption(8, VkSpinEdit1->GetValueI());
    };
    connect(CheckBox5, &QCheckBox::clicked, this, [Run](bool On) { Run([On](TGeoXTSurface& E) { E.SetDrawOutline(On); }); });
    connect(CheckBox3, &QCheckBox::clicked, this,
            [Run](bool On) { Run([On](TGeoXTSurface& E) { E.SetDrawParameters(On); }); });
    connect(CheckBox2, &QCheckBox::clicked, this,
            [Run](bool On) { Run([On](TGeoXTSurface& E) { E.SetDrawContours(On); }); });
    connect(CheckBox22, &QCheckBox::clicked, this, [Run](bool On) { Run([On](TGeoXTSurface& E) { E.SetMirrored(On); }); });
    for (QCheckBox* Box : DisplayBoxes) connect(Box, &QCheckBox::clicked, this, [this] { StoreDisplayOptions(); });
    connect(VkGrid1, &QTableWidget::itemSelectionChanged, this, [this] { SelectRange(); });
    connect(VkGrid1, &QTableWidget::cellChanged, this, [this](int Row, int Column) { EditCell(Row, Column); });
    connect(CopyBut, &QToolButton::clicked, this, [this] { CopyPointRowsToClipboard(*VkGrid1); });
    Refresh();
}

TXTSurfaceFrame::~TXTSurfaceFrame() = default;

void TXTSurfaceFrame::GeometryDestroyed() {
    Entity = nullptr;
    VkGroupBox1->SetEntity(nullptr);
}

void TXTSurfaceFrame::Refresh() {
    if (Entity == nullptr) return;
    const TFlagScope Setting(Filling);
    VkGroupBox1->Refresh();
    ShowCurves();
    RefreshPatchType();
    RefreshDisplayOptions();
    ShowViewOptions();
    ShowPoints(true);
}

void TXTSurfaceFrame::ShowCurves() {
    const QSignalBlocker Block(ListBox1);
    const int Current = ListBox1->currentRow();
    ListBox1->clear();
    const TXTCurveReferences& Curves = Entity->Surface().Curves();
    for (int I = 0; I < Curves.Count(); ++I)
        ListBox1->addItem(QString::fromStdString(Curves.Reference(I).GetName()));
    if (Current >= 0 && Current < ListBox1->count()) ListBox1->setCurrentRow(Current);
}

void TXTSurfaceFrame::RefreshPatchType() {
    if (Entity == nullptr) return;
    const TFlagScope Setting(Filling);
    const TXTSurfaceOptions& Options = Entity->Surface().Options();
    bool Preset = false;
    for (int I = 0; I < 8; ++I) {
        const bool Same = SameSurfaceOptions(Options, SurfaceOptionsPresets[static_cast<std::size_t>(I)].Options);
        ShowChecked(PresetButtons[I], Same);
        Preset = Preset || Same;
    }
    ShowChecked(RadioButton10, !Preset);
    {
        const QSignalBlocker Block(ComboBox1);
        ComboBox1->setCurrentIndex(Options.PatchType < 7 ? Options.PatchType : -1);
    }
    for (int I = 0; I < 7; ++I) ShowBox(OptionBoxes[I], Options.*(OptionBoxList[I].Field));
    VkSpinEdit1->SetValueQuietly(static_cast<float>(Options.SubdivisionIterations));
}

void TXTSurfaceFrame::RefreshDisplayOptions() {
    if (Entity == nullptr) return;
    const TXTSurfaceDrawOptions Options{Entity->DrawOptions()};
    for (int I = 0; I < 14; ++I) ShowBox(DisplayBoxes[I], Options.Has(DisplayBoxList[I].Option));
}

void TXTSurfaceFrame::ShowViewOptions() {
    ShowBox(CheckBox5, Entity->GetDrawOutline());
    CheckBox5->setEnabled(Entity->DrawContours() && !Entity->GetDrawParameters());
    ShowBox(CheckBox3, Entity->GetDrawParameters());
    ShowBox(CheckBox2, Entity->DrawContours());
    ShowBox(CheckBox22, Entity->Mirrored());
}

void TXTSurfaceFrame::ChangeOption(int Field, int Value) {
    if (Filling || Entity == nullptr) return;
    TXTSurfaceOptions Options = Entity->Surface().Options();
    if (Field < 7)
        Options.*(OptionBoxList[Field].Field) = Value != 0;
    else if (Field == 7)
        Options.PatchType = static_cast<TXTPatchType>(Value);
    else
        Options.SubdivisionIterations = Value;
    RunMenuCommand([this, Options] {
        if (Entity != nullptr) Entity->SetOptions(Options);
    });
    RefreshPatchType();
}

void TXTSurfaceFrame::StoreDisplayOptions() {
    if (Filling || Entity == nullptr) return;
    TXTSurfaceDrawOptions Options;
    // The surfaces bit has no box and stays as it is.
    if (TXTSurfaceDrawOptions{Entity->DrawOptions()}.Has(sdoSurfaces)) Options.Include(sdoSurfaces);
    for (int I = 0; I < 14; ++I)
        if (DisplayBoxes[I]->isChecked()) Options.Include(DisplayBoxList[I].Option);
    RunMenuCommand([this, Options] {
        if (Entity != nullptr) Entity->SetDrawOptions(Options.Bits);
    });
}

void TXTSurfaceFrame::FillCurveMenu() {
    PopupMenu1->clear();
    if (Entity == nullptr || Entity->GetOwnerList() == nullptr) return;
    const TGeometryList& List = *Entity->GetOwnerList();
    for (int I = 0; I < List.Count(); ++I) {
        auto* C = dynamic_cast<TGeoXTCurve*>(&List.Items(I));
        if (C == nullptr || !Entity->Surface().Curves().CanAdd(&C->Curve())) continue;
        const std::string Name = C->GetName();
        PopupMenu1->addAction(QString::fromStdString(Name), this, [this, Name] {
            RunMenuCommand([this, Name] {
                if (Entity != nullptr) Entity->AddCurve(Name);
            });
        });
    }
}

void TXTSurfaceFrame::ShowPoints(bool Resize) {
    const TXTSurfaceEditor& Editor = Entity->Editor();
    ShowNetworkPointRows(*VkGrid1, Editor.Count(), [&Editor](int I) { return Editor.Points(I); }, Resize,
                         palette().color(QPalette::WindowText));
}

void TXTSurfaceFrame::RefreshGrid() {
    if (Entity != nullptr) ShowPoints(false);
}

void TXTSurfaceFrame::SelectRange() {
    const QList<QTableWidgetSelectionRange> Ranges = VkGrid1->selectedRanges();
    if (Entity == nullptr || Filling || Ranges.isEmpty() || Ranges.first().bottomRow() < 1) return;
    Entity->SelectPoints(std::max(1, Ranges.first().topRow()) - 1, Ranges.first().bottomRow() - 1);
}

void TXTSurfaceFrame::EditCell(int Row, int Column) {
    if (Filling || Entity == nullptr || Row < 1 || Column < 1 || Column > 3) return;
    double Value = 0;
    if (CellNumber(*VkGrid1, Row, Column, Value))
        RunMenuCommand([&] { Entity->SetPointCoordinate(Row - 1, Column - 1, Value); });
    if (Entity != nullptr) ShowPoints(false);
}

void RegisterXTSurfaceFrame() {
    RegisterGeometryFrame(XTSurfaceFrameName, [](TGeometry& Geometry, void* Owner) -> IGeometryFrame* {
        auto* Surface = dynamic_cast<TGeoXTSurface*>(&Geometry);
        if (Surface == nullptr) return nullptr;
        return new TXTSurfaceFrame(*Surface, static_cast<QWidget*>(Owner));
    });
}

}  // namespace sarnova
