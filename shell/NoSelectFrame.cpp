#include "shell/NoSelectFrame.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "document/Settings.h"
#include "document/ui/DefaultGeometryFrame.h"
#include "shell/MainUnit.h"
#include "platform/qt/QtMenus.h"
#include "controls/VkColorListBox.h"
#include "controls/VkColorPanel.h"
#include "controls/VkGroupBox.h"
#include "controls/VkSpin.h"
#include "controls/VkVectorPanel.h"

namespace sarnova {

const char* const ColorListNames[15] = {
    "Background",       "Normal Drawing",   "Selected",   "Disabled",   "First Curve Point",
    "Control Polygon",  "X Contours",       "Y Contours", "Z Contours", "Opening Normal Vector",
    "Major Grid Color", "Minor Grid Color", "Axis Color", "Snap Color", "3DEdit Icons Color"};

TColor& ColorListSetting(int Index) {
    TSarnovaSettings& S = *GSettings;
    switch (Index) {
        case 0: return S.BackColor;
        case 1: return S.DrawColor;
        case 2: return S.SelectColor;
        case 3: return S.NonEditColor;
        case 4: return S.StartColor;
        case 5: return S.ControlPolygonColor;
        case 6: return GXContourColor;
        case 7: return GYContourColor;
        case 8: return GZContourColor;
        case 9: return S.OpeningNormalVectorColor;
        case 10: return S.MajorGridColor;
        case 11: return S.MinorGridColor;
        case 12: return S.AxisIconColor;
        case 13: return S.SnapIconColor;
        default: return S.EditIconColor;
    }
}

namespace {

TVkSpinEdit* NewSpin(QWidget* Parent, TVkSpinType Type, float Increment, float Min = 0, float Max = 0) {
    auto* Edit = new TVkSpinEdit(Parent);
    Edit->SetSpinType(Type);
    Edit->SetIncrement(Increment);
    Edit->MinValue = Min;
    Edit->MaxValue = Max;
    return Edit;
}

// A spin edit with its caption before it and its unit after it.
QHBoxLayout* LabelledRow(const char* Caption, QWidget* Edit, const char* Unit = nullptr) {
    auto* Row = new QHBoxLayout;
    if (Caption) Row->addWidget(new QLabel(Caption));
    Row->addWidget(Edit, 1);
    if (Unit) Row->addWidget(new QLabel(Unit));
    return Row;
}

void Check(QAbstractButton* Button, bool On) {
    if (Button) Button->setChecked(On);
}

}  // namespace

TNoSelectionFrame::TNoSelectionFrame(QWidget* Parent) : QWidget(Parent) {
    setObjectName("NoSelectionFrame");
    auto* Layout = new QVBoxLayout(this);
    Heading = NewFrameHeading(this);
    Heading->setText("Sarnova Options");
    Layout->addWidget(Heading);
    BuildManipulation();
    BuildColors();
    BuildViewGroups();
    BuildCurvature();
    BuildZebra();
    BuildSystem();
    BuildUnits();
    Layout->addStretch(1);
    VkGroupBoxManager1 = new TVkGroupBoxManager(this);
    for (TVkGroupBox* Box : findChildren<TVkGroupBox*>(Qt::FindDirectChildrenOnly)) Box->Loaded();
    VkGroupBoxManager1->Loaded();
}

TVkGroupBox* TNoSelectionFrame::NewGroup(const char* Caption, const char* Name, bool Expanded) {
    auto* Box = new TVkGroupBox(Caption, this);
    Box->setObjectName(Name);
    Box->InitialState = Expanded ? gsExpanded : gsCollapsed;
    new QVBoxLayout(Box);
    layout()->addWidget(Box);
    return Box;
}

QCheckBox* TNoSelectionFrame::NewCheckBox(const char* Caption, QWidget* Parent, std::function<void(bool)> Store) {
    auto* Box = new QCheckBox(Caption, Parent);
    Parent->layout()->addWidget(Box);
    // Only the user's clicks: the frame's own filling sets the boxes without storing.
    connect(Box, &QCheckBox::clicked, this, [this, Store](bool On) {
        RunMenuCommand([&] {
            Store(On);
            SettingChanged();
        });
    });
    return Box;
}

QButtonGroup* TNoSelectionFrame::NewRadioGroup(QWidget* Parent,
                                               std::initializer_list<std::pair<const char*, int>> Buttons,
                                               std::function<void(int)> Store, bool ApplyToWindows) {
    auto* Group = new QButtonGroup(Parent);
    for (auto [Caption, Id] : Buttons) {
        auto* Radio = new QRadioButton(Caption, Parent);
        Parent->layout()->addWidget(Radio);
        Group->addButton(Radio, Id);
    }
    connect(Group, &QButtonGroup::idClicked, this, [this, Store, ApplyToWindows](int Id) {
        RunMenuCommand([&] {
            Store(Id);
            SettingChanged(ApplyToWindows);
        });
    });
    return Group;
}

void TNoSelectionFrame::OnSpinChange(TVkSpinEdit* Edit, std::function<void()> Store, bool ApplyToWindows) {
    Edit->OnChange = [this, Store, ApplyToWindows](QObject*) {
        RunMenuCommand([&] {
            Store();
            SettingChanged(ApplyToWindows);
        });
    };
}

void TNoSelectionFrame::SettingChanged(bool ApplyToWindows) {
    if (ApplyToWindows && GMainForm) GMainForm->ApplySettings();
    GSettings->Save();
}

void TNoSelectionFrame::SetProjectOption(int Bit, bool On) {
    TProjectOptions& Options = GSettings->ProjectOptions;
    Options = On ? static_cast<TProjectOptions>(Options | Bit) : static_cast<TProjectOptions>(Options & ~Bit);
}

void TNoSelectionFrame::BuildManipulation() {
    ManipulationGroup = NewGroup("Manipulation Options", "ManipulationGroup", true);
    auto* Box = static_cast<QVBoxLayout*>(ManipulationGroup->layout());
    GridSpacingEdit = NewSpin(ManipulationGroup, spFloat, 1, 0.0001f, 1e33f);
    MajorFrequencyEdit = NewSpin(ManipulationGroup, spInteger, 1);
    NudgeEdit = NewSpin(ManipulationGroup, spFloat, 0.001f);
    NudgeEdit->SetPrecision(3);
    Box->addLayout(LabelledRow("Grid Spacing:", GridSpacingEdit));
    Box->addLayout(LabelledRow("Major Frequency:", MajorFrequencyEdit));
    Box->addLayout(LabelledRow("Key Nudge:", NudgeEdit));
    OnSpinChange(GridSpacingEdit, [this] { GSettings->GridSize = GridSpacingEdit->GetValue(); });
    OnSpinChange(MajorFrequencyEdit, [this] { GSettings->MajorGridFrequency = MajorFrequencyEdit->GetValueI(); });
    OnSpinChange(NudgeEdit, [this] { GSettings->Nudge = NudgeEdit->GetValue(); });

    GridCheckBox = NewCheckBox("Grid ", ManipulationGroup, [](bool On) { GSettings->GridEnabled = On; });
    Edit3DCheckBox = NewCheckBox("3D Enhanced Editing", ManipulationGroup, [this](bool On) {
        SetProjectOption(po3DEditing, On);
        UpdateEnabledStates();
    });
    GridSnapCheckBox =
        NewCheckBox("Grid Snap", ManipulationGroup, [this](bool On) { SetProjectOption(poGridSnap, On); });
    ObjectSnapCheckBox =
        NewCheckBox("Object Snap (F3)", ManipulationGroup, [this](bool On) { SetProjectOption(poObjectSnap, On); });
    HighlightCheckBox =
        NewCheckBox("Object Highlighting", ManipulationGroup, [this](bool On) { SetProjectOption(poHighlight, On); });
    ContoursWhileEditingCheckBox = NewCheckBox("Show Contours while Editing", ManipulationGroup,
                                               [](bool On) { GSettings->ShowSurfaceContoursWhileEditing = On; });
    CurvatureWhileEditingCheckBox = NewCheckBox("Show Curvature while Editing", ManipulationGroup,
                                                [](bool On) { GSettings->ShowSurfaceCurvatureWhileEditing = On; });
}

void TNoSelectionFrame::BuildColors() {
    ColorsGroup = NewGroup("Colors", "ColorsGroup");
    VkColorListBox1 = new TVkColorListBox(ColorsGroup);
    VkColorListBox1->setObjectName("VkColorListBox1");
    ClassicSchemeButton = new QPushButton("Classis Color Scheme", ColorsGroup);
    EvolutionSchemeButton = new QPushButton("Evolution Color Scheme", ColorsGroup);
    for (QWidget* W : {static_cast<QWidget*>(VkColorListBox1), static_cast<QWidget*>(ClassicSchemeButton),
                       static_cast<QWidget*>(EvolutionSchemeButton)})
        ColorsGroup->layout()->addWidget(W);
    VkColorListBox1->OnChange = [this](QObject*, int Index, const std::string&, TColor Colour) {
        if (Index < 0 || Index >= 15) return;
        ColorListSetting(Index) = Colour;
        SettingChanged();
    };
    connect(ClassicSchemeButton, &QPushButton::clicked, this,
            [this] { RunMenuCommand([this] { ChooseScheme(true); }); });
    connect(EvolutionSchemeButton, &QPushButton::clicked, this,
            [this] { RunMenuCommand([this] { ChooseScheme(false); }); });
}

void TNoSelectionFrame::ChooseScheme(bool Classic) {
    if (Classic)
        GSettings->SetClassicColorScheme();
    else
        GSettings->SetEvolutionColorScheme();
    SettingChanged();
    Fill(Document);
}

void TNoSelectionFrame::BuildViewGroups() {
    AxisIconGroup = NewGroup("Axis Icon Location", "AxisIconGroup");
    AxisIconButtons = NewRadioGroup(
        AxisIconGroup, {{"At Model Origin", aiModelOrigin}, {"Bottom Left of View", aiLeftBottom}, {"Off", aiNone}},
        [](int Id) { GSettings->AxisIcon = static_cast<TAxisIcon>(Id); });

    DegradationGroup = NewGroup("Adaptive Degradation", "DegradationGroup");
    DegradationButtons = NewRadioGroup(
        DegradationGroup, {{"Always", adAlways}, {"When Required Delay:", adWhenRequired}, {"Never", adNever}},
        [this](int Id) {
            GSettings->AdaptiveDegradationOption = static_cast<TAdaptiveDegradation>(Id);
            UpdateEnabledStates();
        });
    DegradationDelayEdit = NewSpin(DegradationGroup, spInteger, 1);
    static_cast<QVBoxLayout*>(DegradationGroup->layout())
        ->addLayout(LabelledRow(nullptr, DegradationDelayEdit, "msec"));
    OnSpinChange(DegradationDelayEdit,
                 [this] { GSettings->AdaptiveDegradationInterval = DegradationDelayEdit->GetValueI(); });

    RotationGroup = NewGroup("View Rotation  Mode", "RotationGroup");
    RotationButtons = NewRadioGroup(
        RotationGroup, {{"About Project Centre", imRotateWorld}, {"About Camera \"Lookat\" Point", imRotateView}},
        [](int Id) { GSettings->RotationMode = static_cast<TInteractionMode>(Id); });
}

void TNoSelectionFrame::BuildCurvature() {
    CurvatureGroup = NewGroup("Surface Curvature Shading Model", "CurvatureGroup");
    ShadingButtons = NewRadioGroup(CurvatureGroup, {{"Mono", 0}, {"RGB", 1}, {"HSL", 2}, {"RYB", 3}},
                                   [](int Id) { GSettings->CurvatureShadingModel = static_cast<std::uint8_t>(Id); });
    LayersCheckBox = NewCheckBox("Discrete Color Layers", CurvatureGroup, [this](bool On) {
        GSettings->CurvatureLayers = On;
        UpdateEnabledStates();
    });
    LayerCountEdit = NewSpin(CurvatureGroup, spInteger, 2, 5, 65);
    LayerCountEdit->SetValue(17);
    LayerCountEdit->SetPixelPerInc(5);
    LayerCountEdit->ChangeWhileDragging = false;
    CurvatureGroup->layout()->addWidget(LayerCountEdit);
    // Layers come in odd counts: an even one is raised by one, and shown so.
    OnSpinChange(LayerCountEdit, [this] {
        int Count = LayerCountEdit->GetValueI();
        if (Count % 2 == 0) {
            ++Count;
            LayerCountEdit->SetValueI(Count);
        }
        GSettings->CurvatureLayersCount = Count;
    });
}

void TNoSelectionFrame::BuildZebra() {
    ZebraGroup = NewGroup("Surface Zebra Shading Parameters", "ZebraGroup");
    auto* Box = static_cast<QVBoxLayout*>(ZebraGroup->layout());
    Box->addWidget(new QLabel("Light Direction (looking from above)", ZebraGroup));
    VkVectorPanel1 = new TVkVectorPanel(ZebraGroup);
    VkVectorPanel1->setObjectName("VkVectorPanel1");
    VkVectorPanel1->SetBand1Color(clWhite);
    VkVectorPanel1->SetBand2Color(clBlack);
    VkVectorPanel1->setMinimumHeight(120);
    Box->addWidget(VkVectorPanel1);
    VkVectorPanel1->OnChanged = [this](QObject*) {
        RunMenuCommand([this] {
            GSettings->ZebraVector = VkVectorPanel1->GetDirection();
            SettingChanged();
        });
    };

    auto* Snap = new QHBoxLayout;
    SnapAngleButtons = new QButtonGroup(ZebraGroup);
    for (int Angle : {1, 5, 10}) {
        auto* Button = new QToolButton(ZebraGroup);
        Button->setText(QString::number(Angle) + QChar(0x00B0));
        Button->setCheckable(true);
        SnapAngleButtons->addButton(Button, Angle);
        Snap->addWidget(Button);
    }
    SnapAngleButtons->button(1)->setChecked(true);
    // The snap angle only steers the panel; it is not a setting.
    connect(SnapAngleButtons, &QButtonGroup::idClicked, this, [this](int Angle) { VkVectorPanel1->SnapAngle = Angle; });
    ResetButton = new QPushButton("Reset", ZebraGroup);
    Snap->addWidget(ResetButton);
    Box->addLayout(Snap);
    connect(ResetButton, &QPushButton::clicked, this, [this] {
        RunMenuCommand([this] {
            GSettings->ZebraVector = ZAxisVector;
            VkVectorPanel1->SetDirection(ZAxisVector);
            SettingChanged();
        });
    });

    auto* Bands = new QHBoxLayout;
    const auto AddBand = [&](const char* Caption, TColor TSarnovaSettings::*Setting,
                             void (TVkVectorPanel::*Show)(TColor)) {
        auto* Panel = new TVkColorPanel(ZebraGroup);
        Panel->setFixedSize(21, 21);
        Bands->addWidget(new QLabel(Caption, ZebraGroup));
        Bands->addWidget(Panel);
        Panel->OnChange = [this, Panel, Setting, Show](QObject*) {
            RunMenuCommand([&] {
                GSettings.get()->*Setting = Panel->GetColor();
                (VkVectorPanel1->*Show)(Panel->GetColor());
                SettingChanged();
            });
        };
        return Panel;
    };
    Band1Panel = AddBand("Band 1", &TSarnovaSettings::ZebraBand1Color, &TVkVectorPanel::SetBand1Color);
    Band2Panel = AddBand("Band 2", &TSarnovaSettings::ZebraBand2Color, &TVkVectorPanel::SetBand2Color);
    Bands->addStretch(1);
    Box->addLayout(Bands);
    BandButtons = NewRadioGroup(ZebraGroup, {{"10 degrees", 10}, {"5 degrees", 5}, {"2 degrees", 2}, {"1 degree", 1}},
                                [this](int Id) {
                                    GSettings->ZebraBands = static_cast<std::uint8_t>(Id);
                                    VkVectorPanel1->SetBandAngle(static_cast<std::uint8_t>(Id));
                                });
}

void TNoSelectionFrame::BuildSystem() {
    SystemGroup = NewGroup("System Options", "SystemGroup");
    OpenProjectCheckBox =
        NewCheckBox("Open Project on Startup", SystemGroup, [](bool On) { GSettings->InitiallyOpenProject = On; });
    AutoSaveCheckBox = NewCheckBox("Enable Auto Save", SystemGroup, [](bool On) { GSettings->AutoSaveEnabled = On; });
    AutoSaveIntervalEdit = NewSpin(SystemGroup, spInteger, 1, 1, 100);
    AutoSaveIntervalEdit->SetValue(1);
    static_cast<QVBoxLayout*>(SystemGroup->layout())->addLayout(LabelledRow("Interval:", AutoSaveIntervalEdit, "mins"));
    OnSpinChange(AutoSaveIntervalEdit, [this] { GSettings->AutoSaveInterval = AutoSaveIntervalEdit->GetValueI(); });
    NvidiaCheckBox = NewCheckBox("Resolve NVIDIA Double Buffering Problem", SystemGroup,
                                 [](bool On) { GSettings->CorrectNVIDIABackBufferProblem = On; });
}

// The hydrostatic units are only saved: no window shows them.
void TNoSelectionFrame::BuildUnits() {
    DesignUnitsGroup = NewGroup("Design Units (for Hydrostatics)", "DesignUnitsGroup");
    DesignUnitButtons = NewRadioGroup(
        DesignUnitsGroup, {{"Metres", 0}, {"Centimetres", 1}, {"Millimetres", 2}, {"Feet", 3}, {"Inches", 4}},
        [](int Tag) { GDesignUnits = static_cast<std::uint8_t>(Tag); }, false);
    MassUnitsGroup = NewGroup("Hydrostatics Mass Units", "MassUnitsGroup");
    MassUnitButtons = NewRadioGroup(
        MassUnitsGroup, {{"Tonnes", 0}, {"Kilograms", 1}, {"Tons (Long)", 2}, {"Lbs", 3}},
        [](int Tag) { GDesignMassUnit = static_cast<std::uint8_t>(Tag); }, false);
    WaterDensityEdit = NewSpin(MassUnitsGroup, spFloat, 1);
    WaterDensityEdit->SetPrecision(0);
    static_cast<QVBoxLayout*>(MassUnitsGroup->layout())
        ->addLayout(LabelledRow("Water Density:", WaterDensityEdit, "Kg/m\u00B3"));
    OnSpinChange(
        WaterDensityEdit, [this] { GWaterDensity = WaterDensityEdit->GetValue(); }, false);
}

void TNoSelectionFrame::UpdateEnabledStates() {
    const bool Edit3D = (GSettings->ProjectOptions & po3DEditing) != 0;
    GridSnapCheckBox->setEnabled(Edit3D);
    ObjectSnapCheckBox->setEnabled(Edit3D);
    DegradationDelayEdit->setEnabled(GSettings->AdaptiveDegradationOption == adWhenRequired);
    LayerCountEdit->setEnabled(GSettings->CurvatureLayers);
}

void TNoSelectionFrame::Fill(TGeometryList* ADocument) {
    Document = ADocument;
    const TSarnovaSettings& S = *GSettings;
    VkColorListBox1->setUpdatesEnabled(false);
    VkColorListBox1->clear();
    for (int I = 0; I < 15; ++I) VkColorListBox1->SetColorByName(ColorListNames[I], ColorListSetting(I));
    VkColorListBox1->setUpdatesEnabled(true);

    // Boxes and radio buttons store only on the user's clicks, so setting them here stores nothing.
    GridSpacingEdit->SetValueQuietly(static_cast<float>(S.GridSize));
    MajorFrequencyEdit->SetValueQuietly(static_cast<float>(S.MajorGridFrequency));
    NudgeEdit->SetValueQuietly(static_cast<float>(S.Nudge));
    GridCheckBox->setChecked(S.GridEnabled);
    Edit3DCheckBox->setChecked(S.ProjectOptions & po3DEditing);
    GridSnapCheckBox->setChecked(S.ProjectOptions & poGridSnap);
    ObjectSnapCheckBox->setChecked(S.ProjectOptions & poObjectSnap);
    HighlightCheckBox->setChecked(S.ProjectOptions & poHighlight);
    ContoursWhileEditingCheckBox->setChecked(S.ShowSurfaceContoursWhileEditing);
    CurvatureWhileEditingCheckBox->setChecked(S.ShowSurfaceCurvatureWhileEditing);
    Check(AxisIconButtons->button(S.AxisIcon), true);
    Check(DegradationButtons->button(S.AdaptiveDegradationOption), true);
    Check(RotationButtons->button(S.RotationMode), true);
    Check(ShadingButtons->button(S.CurvatureShadingModel), true);
    LayersCheckBox->setChecked(S.CurvatureLayers);
    OpenProjectCheckBox->setChecked(S.InitiallyOpenProject);
    AutoSaveCheckBox->setChecked(S.AutoSaveEnabled);
    NvidiaCheckBox->setChecked(S.CorrectNVIDIABackBufferProblem);
    Check(DesignUnitButtons->button(GDesignUnits), true);
    Check(MassUnitButtons->button(GDesignMassUnit), true);
    Check(BandButtons->button(S.ZebraBands), true);
    // These store what they are given, as a typed value would be.
    DegradationDelayEdit->SetValue(static_cast<float>(S.AdaptiveDegradationInterval));
    LayerCountEdit->SetValue(static_cast<float>(S.CurvatureLayersCount));
    AutoSaveIntervalEdit->SetValue(static_cast<float>(S.AutoSaveInterval));
    WaterDensityEdit->SetValue(static_cast<float>(GWaterDensity));
    UpdateEnabledStates();

    VkVectorPanel1->SetDirection(S.ZebraVector);
    VkVectorPanel1->SetBand1Color(S.ZebraBand1Color);
    VkVectorPanel1->SetBand2Color(S.ZebraBand2Color);
    if (S.ZebraBands > 0) VkVectorPanel1->SetBandAngle(S.ZebraBands);
    VkVectorPanel1->setEnabled(true);
    Band1Panel->SetColor(S.ZebraBand1Color);
    Band2Panel->SetColor(S.ZebraBand2Color);
}

TNoSelectionFrame* CreateNoSelectionFrame(QWidget* Owner) { return new TNoSelectionFrame(Owner); }

}  // namespace sarnova
