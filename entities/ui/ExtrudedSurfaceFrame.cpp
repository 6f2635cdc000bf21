#include "entities/ui/ExtrudedSurfaceFrame.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

#include "document/GCustomPline.h"
#include "document/GeometryList.h"
#include "document/GeometryReference.h"
#include "entities/ui/FrameParts.h"
#include "controls/VkGroupBox.h"
#include "controls/VkSpin.h"
#include "surfaces/BSurfaceBuild.h"

namespace sarnova {

namespace {

constexpr const char* LinearExtrusion = "<linear extrusion>";

// The options of the check boxes, in their order.
constexpr TExtrusionOptions CheckBoxOptions[4] = {eoOrientWithPath, eoCentreWithPath, eoRotateWithPath, eoScaleShape};
constexpr const char* CheckBoxCaptions[4] = {"Orient Shape with Path", "Centre Shape with Path",
                                             "Rotate Shape with Path", "Scale Shape"};

// A combo box with a caption in front, in Box.
QComboBox* AddComboBox(TVkGroupBox& Box, const char* Caption) {
    auto* Row = new QHBoxLayout;
    auto* Label = new QLabel(Caption, &Box);
    auto* Combo = new QComboBox(&Box);
    Label->setMinimumWidth(50);
    Row->addWidget(Label);
    Row->addWidget(Combo, 1);
    static_cast<QVBoxLayout*>(Box.layout())->addLayout(Row);
    return Combo;
}

}  // namespace

TVkSpinEdit* AddIntegerSpinEdit(TVkGroupBox& Box, const char* Caption, int Min, int Max) {
    TVkSpinEdit* Spin = AddSpinEdit(Box, Caption, 1.0f);
    Spin->SetSpinType(spInteger);
    Spin->MinValue = static_cast<float>(Min);
    Spin->MaxValue = static_cast<float>(Max);
    return Spin;
}

void FillCurveNames(QComboBox& Combo, TGeometry& Entity, const std::string& Except, const std::string& Selected,
                    const char* Leading, bool SelectFirst) {
    const QSignalBlocker Block(&Combo);
    Combo.clear();
    if (Leading != nullptr) Combo.addItem(Leading);
    if (TGeometryList* List = Entity.GetOwnerList())
        for (int I = 0; I < List->Count(); ++I) {
            TGeometry& G = List->Items(I);
            const std::string Name = G.GetName();
            if (dynamic_cast<TGeoCustomPLine*>(&G) != nullptr && !Name.empty() && Name != Except)
                Combo.addItem(QString::fromStdString(Name));
        }
    const int Found = Selected.empty() ? -1 : Combo.findText(QString::fromStdString(Selected));
    Combo.setCurrentIndex(Found >= 0 ? Found : SelectFirst ? 0 : -1);
}

// ---- TGeneratedSurfaceFrame ----

TGeneratedSurfaceFrame::TGeneratedSurfaceFrame(TGeoSurface& AEntity, const std::string& Caption, const QString& Name,
                                               QWidget* Parent)
    : TEntityFrame(AEntity, Caption, Name, Parent) {}

void TGeneratedSurfaceFrame::AddDivisionsGroup() {
    PropertiesGroup = AddGroupBox("Surface Properties", "PropertiesGroup");
    VkSpinEdit1 = AddIntegerSpinEdit(*PropertiesGroup, "U Divisions:", 2, 200);
    VkSpinEdit2 = AddIntegerSpinEdit(*PropertiesGroup, "V Divisions:", 2, 200);
    VkSpinEdit1->OnChange = [this](QObject*) {
        if (!Filling && Surface() != nullptr && VkSpinEdit1->GetValueI() >= 2) Surface()->SetNumULine(VkSpinEdit1->GetValueI());
    };
    VkSpinEdit2->OnChange = [this](QObject*) {
        if (!Filling && Surface() != nullptr && VkSpinEdit2->GetValueI() >= 2) Surface()->SetNumVLine(VkSpinEdit2->GetValueI());
    };
}

void TGeneratedSurfaceFrame::RefreshCommon() {
    NameColor->Refresh();
    if (VkSpinEdit1 != nullptr) VkSpinEdit1->SetValueQuietly(static_cast<float>(Surface()->GetNumULine()));
    if (VkSpinEdit2 != nullptr) VkSpinEdit2->SetValueQuietly(static_cast<float>(Surface()->GetNumVLine()));
}

// ---- TExtrudedSurfaceFrame ----

TExtrudedSurfaceFrame::TExtrudedSurfaceFrame(TGeoExtrudedSurface& AEntity, QWidget* Parent)
    : TGeneratedSurfaceFrame(AEntity, "Extruded Surface", "TExtrudedSurfaceFrame", Parent) {
    TVkGroupBox* Curves = AddGroupBox("Curves", "CurvesGroup");
    ComboBox1 = AddComboBox(*Curves, "Shape:");
    ComboBox2 = AddComboBox(*Curves, "Path:");
    SpeedButton1 = new QToolButton(Curves);
    SpeedButton1->setText("Swap Curves");
    static_cast<QVBoxLayout*>(Curves->layout())->addWidget(SpeedButton1);
    connect(ComboBox1, &QComboBox::activated, this, [this](int Index) { ShapeChosen(Index); });
    connect(ComboBox2, &QComboBox::activated, this, [this](int Index) { PathChosen(Index); });
    connect(SpeedButton1, &QToolButton::clicked, this, [this] {
        if (Entity() != nullptr) Entity()->SwapCurves();
        UpdateControls();
    });

    SweepGroup = AddGroupBox("Sweep Options", "SweepGroup");
    for (std::size_t I = 0; I < CheckBoxes.size(); ++I) {
        auto* Box = new QCheckBox(CheckBoxCaptions[I], SweepGroup);
        static_cast<QVBoxLayout*>(SweepGroup->layout())->addWidget(Box);
        const TExtrusionOptions Bit = CheckBoxOptions[I];
        connect(Box, &QCheckBox::toggled, this, [this, Bit](bool On) {
            if (Filling || Entity() == nullptr) return;
            const TExtrusionOptions Options = Entity()->GetOptions();
            Entity()->SetOptions(static_cast<TExtrusionOptions>(On ? Options | Bit : Options & ~Bit));
        });
        CheckBoxes[I] = Box;
    }

    LinearGroup = AddGroupBox("Linear Extrusion Options", "LinearGroup");
    VkSpinEdit3 = AddSpinEdit(*LinearGroup, "Min Extrusion:", 0.01f);
    VkSpinEdit4 = AddSpinEdit(*LinearGroup, "Max Extrusion:", 0.01f);
    VkSpinEdit5 = AddIntegerSpinEdit(*LinearGroup, "Divisions:", 0, 100);
    for (TVkSpinEdit* Spin : {VkSpinEdit3, VkSpinEdit4}) {
        Spin->MinValue = -1e9f;
        Spin->MaxValue = 1e9f;
    }
    VkSpinEdit3->OnChange = [this](QObject*) {
        if (!Filling && Entity() != nullptr) Entity()->SetMinExtrusion(VkSpinEdit3->GetValue());
    };
    VkSpinEdit4->OnChange = [this](QObject*) {
        if (!Filling && Entity() != nullptr) Entity()->SetMaxExtrusion(VkSpinEdit4->GetValue());
    };
    VkSpinEdit5->OnChange = [this](QObject*) {
        if (!Filling && Entity() != nullptr) Entity()->SetDivisions(VkSpinEdit5->GetValueI());
    };

    AddDivisionsGroup();
    FinishLayout();
    UpdateControls();
}

void TExtrudedSurfaceFrame::ShapeChosen(int Index) {
    TGeoExtrudedSurface* E = Entity();
    if (Filling || E == nullptr || E->GetOwnerList() == nullptr) return;
    E->BeginChange();
    E->Shape().SetGeometry(E->GetOwnerList()->FindByName(ComboBox1->itemText(Index).toStdString()));
    E->InvalidateViews();
    UpdateControls();
}

void TExtrudedSurfaceFrame::PathChosen(int Index) {
    TGeoExtrudedSurface* E = Entity();
    if (Filling || E == nullptr || E->GetOwnerList() == nullptr) return;
    E->BeginChange();
    if (Index <= 0)
        E->Path().SetName("");
    else
        E->Path().SetGeometry(E->GetOwnerList()->FindByName(ComboBox2->itemText(Index).toStdString()));
    E->InvalidateViews();
    UpdateControls();
}

void TExtrudedSurfaceFrame::UpdateControls() {
    TGeoExtrudedSurface* E = Entity();
    if (E == nullptr) return;
    Filling = true;
    RefreshCommon();
    const std::string Shape = E->Shape().GetName();
    const bool HasPath = E->Path().GetGeometry() != nullptr;
    const std::string Path = HasPath ? E->Path().GetName() : std::string();
    FillCurveNames(*ComboBox1, *E, Path, Shape);
    FillCurveNames(*ComboBox2, *E, Shape, Path, LinearExtrusion, !Shape.empty());
    SpeedButton1->setEnabled(HasPath);
    SweepGroup->setVisible(HasPath);
    LinearGroup->setVisible(!HasPath);
    for (std::size_t I = 0; I < CheckBoxes.size(); ++I) {
        const QSignalBlocker Block(CheckBoxes[I]);
        CheckBoxes[I]->setChecked((E->GetOptions() & CheckBoxOptions[I]) != 0);
    }
    VkSpinEdit3->SetValueQuietly(static_cast<float>(E->GetMinExtrusion()));
    VkSpinEdit4->SetValueQuietly(static_cast<float>(E->GetMaxExtrusion()));
    VkSpinEdit5->SetValueQuietly(static_cast<float>(E->GetDivisions()));
    VkSpinEdit1->setEnabled(E->BSplineSurface() != nullptr);
    Filling = false;
}

void RegisterExtrudedSurfaceFrame() {
    RegisterGeometryFrame(ExtrudedSurfaceFrameName, [](TGeometry& Geometry, void* Owner) -> IGeometryFrame* {
        auto* Surface = dynamic_cast<TGeoExtrudedSurface*>(&Geometry);
        return Surface != nullptr ? new TExtrudedSurfaceFrame(*Surface, static_cast<QWidget*>(Owner)) : nullptr;
    });
}

}  // namespace sarnova
