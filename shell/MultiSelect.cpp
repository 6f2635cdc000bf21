#include "shell/MultiSelect.h"

#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <vector>

#include "document/GCurve.h"
#include "document/GCustomPline.h"
#include "document/GeometryList.h"
#include "document/ui/DefaultGeometryFrame.h"
#include "platform/qt/QtMenus.h"
#include "controls/VkColorPanel.h"
#include "controls/VkGroupBox.h"
#include "controls/VkSpin.h"

namespace sarnova {

// ---- TGrayableCheckBox ----

TGrayableCheckBox::TGrayableCheckBox(const QString& Text, QWidget* Parent) : QCheckBox(Text, Parent) {}

void TGrayableCheckBox::nextCheckState() {
    if (IsGrayed()) return;
    setTristate(false);
    QCheckBox::nextCheckState();
}

// ---- TStateReview ----

template <class T>
void TStateReview::Add(T Value, T& Stored) {
    if (!HasValue) {
        HasValue = true;
        Stored = Value;
    } else if (Value != Stored) {
        Mixed = true;
    }
}

void TStateReview::AddBoolean(bool Value) { Add(Value, BooleanValue); }
void TStateReview::AddColor(TColor Value) { Add(Value, ColorValue); }
void TStateReview::AddInteger(std::int32_t Value) { Add(Value, IntegerValue); }

void TStateReview::ApplyToCheckBox(TGrayableCheckBox& Box) const {
    if (!HasValue) return;
    const QSignalBlocker Detached(&Box);
    if (Mixed) {
        Box.setTristate(true);
        Box.setCheckState(Qt::PartiallyChecked);
    } else {
        Box.setTristate(false);
        Box.setChecked(BooleanValue);
    }
}

// ---- TMultiSelectFrame ----

namespace {

TVkSpinEdit* NewDivisionsEdit(QWidget* Parent) {
    auto* Edit = new TVkSpinEdit(Parent);
    Edit->SetSpinType(spInteger);
    Edit->QuietValueUpdateDelay = 1000;
    Edit->SetValue(25);
    return Edit;
}

}  // namespace

TMultiSelectFrame::TMultiSelectFrame(QWidget* Parent) : QWidget(Parent) {
    setObjectName("MultiSelectFrame");
    auto* Layout = new QVBoxLayout(this);
    Heading = NewFrameHeading(this);
    Heading->setText("Multiple Selection");
    VkColorPanel1 = new TVkColorPanel(this);
    VkColorPanel1->setObjectName("VkColorPanel1");
    VkColorPanel1->setFixedSize(21, 21);
    auto* Top = new QHBoxLayout;
    Top->addWidget(Heading, 1);
    Top->addWidget(VkColorPanel1);
    Layout->addLayout(Top);

    VisualisationGroup = new TVkGroupBox("Visualisation Options", this);
    VisualisationGroup->setObjectName("VisualisationGroup");
    auto* Visualisation = new QVBoxLayout(VisualisationGroup);
    MirroredCheckBox = new TGrayableCheckBox("Mirrored", VisualisationGroup);
    CurvatureCheckBox = new TGrayableCheckBox("Curvature Porcupines", VisualisationGroup);
    OutlinesCheckBox = new TGrayableCheckBox("Compartment Outlines", VisualisationGroup);
    for (QWidget* W : {MirroredCheckBox, CurvatureCheckBox, OutlinesCheckBox}) Visualisation->addWidget(W);
    Layout->addWidget(VisualisationGroup);

    SurfaceGroup = new TVkGroupBox("Surface Visualisation Options", this);
    SurfaceGroup->setObjectName("SurfaceGroup");
    auto* Surface = new QFormLayout(SurfaceGroup);
    UDivisionsEdit = NewDivisionsEdit(SurfaceGroup);
    VDivisionsEdit = NewDivisionsEdit(SurfaceGroup);
    ParametersCheckBox = new TGrayableCheckBox("Parameters", SurfaceGroup);
    ContoursCheckBox = new TGrayableCheckBox("Contours", SurfaceGroup);
    UpdateButton = new QPushButton("Update", SurfaceGroup);
    Surface->addRow("U Divisions:", UDivisionsEdit);
    Surface->addRow("V Divisions:", VDivisionsEdit);
    Surface->addRow(ParametersCheckBox);
    Surface->addRow(ContoursCheckBox);
    Surface->addRow(UpdateButton);
    Layout->addWidget(SurfaceGroup);
    Layout->addStretch(1);

    VkGroupBoxManager1 = new TVkGroupBoxManager(this);
    VisualisationGroup->Loaded();
    SurfaceGroup->Loaded();
    VkGroupBoxManager1->Loaded();

    VkColorPanel1->OnChange = [this](QObject*) {
        RunMenuCommand([this] { ForSelected([this](TGeometry& E) { E.SetColor(VkColorPanel1->GetColor()); }); });
    };
    OnBoxClicked(MirroredCheckBox, [](TGeometry& E, bool On) { E.SetMirrored(On); });
    OnBoxClicked(CurvatureCheckBox, [](TGeometry& E, bool On) {
        if (auto* Curve = dynamic_cast<TGeoDraggableCurve*>(&E)) Curve->SetDrawCurvature(On);
    });
    OnBoxClicked(ContoursCheckBox, [](TGeometry& E, bool On) { E.SetDrawContours(On); });
    // Compartment outlines, surface parameters and divisions belong to polyline-list and surface
    // entities, which the program does not have yet: their controls find nothing to change.
    connect(UpdateButton, &QPushButton::clicked, this, [this] {
        RunMenuCommand([this] {
            if (Document) Document->InvalidateViews();
        });
    });
}

template <class F>
void TMultiSelectFrame::ForSelected(F Change) {
    if (!Document) return;
    std::vector<TGeometry*> Selected;
    for (int I = 0; I < Document->Count(); ++I)
        if (Document->Items(I).GetSelected()) Selected.push_back(&Document->Items(I));
    InListUpdate(*Document, [&] {
        for (TGeometry* E : Selected) Change(*E);
    });
}

template <class F>
void TMultiSelectFrame::OnBoxClicked(TGrayableCheckBox* Box, F Change) {
    connect(Box, &QCheckBox::clicked, this, [this, Box, Change] {
        if (Box->IsGrayed()) return;
        const bool On = Box->isChecked();
        RunMenuCommand([&] { ForSelected([&](TGeometry& E) { Change(E, On); }); });
    });
}

void TMultiSelectFrame::Fill(TGeometryList* ADocument) {
    Document = ADocument;
    if (!Document) return;
    TStateReview Colour, Mirrored, Curvature, Outlines, Contours, Parameters, UDivisions, VDivisions;
    for (int I = 0; I < Document->Count(); ++I) {
        TGeometry& E = Document->Items(I);
        if (!E.GetSelected()) continue;
        Colour.AddColor(E.GetColor());
        Mirrored.AddBoolean(E.Mirrored());
        Contours.AddBoolean(E.DrawContours());
        if (auto* Curve = dynamic_cast<TGeoDraggableCurve*>(&E)) Curvature.AddBoolean(Curve->DrawCurvature());
        // Outlines, parameters and divisions come from polyline-list and surface entities, which the
        // program does not have yet.
    }
    VkColorPanel1->SetColor(Colour.Mixed ? TColor(0xFFFFFF) : Colour.ColorValue);
    Mirrored.ApplyToCheckBox(*MirroredCheckBox);
    Curvature.ApplyToCheckBox(*CurvatureCheckBox);
    Outlines.ApplyToCheckBox(*OutlinesCheckBox);
    Contours.ApplyToCheckBox(*ContoursCheckBox);
    Parameters.ApplyToCheckBox(*ParametersCheckBox);
    UDivisionsEdit->SetValueQuietly(UDivisions.HasValue ? static_cast<float>(UDivisions.IntegerValue) : 0.0f);
    VDivisionsEdit->SetValueQuietly(VDivisions.HasValue ? static_cast<float>(VDivisions.IntegerValue) : 0.0f);
}

TMultiSelectFrame* CreateMultiSelectFrame(QWidget* Owner) { return new TMultiSelectFrame(Owner); }

}  // namespace sarnova
