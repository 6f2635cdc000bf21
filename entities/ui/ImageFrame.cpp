#include "entities/ui/ImageFrame.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

#include "entities/ui/FrameParts.h"
#include "controls/VkGroupBox.h"
#include "controls/VkSpin.h"

namespace sarnova {

namespace {

const TMVector AxisNormals[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};

QToolButton* AddButton(TVkGroupBox& Box, const char* Caption) {
    auto* Button = new QToolButton(&Box);
    Button->setText(Caption);
    Button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    static_cast<QVBoxLayout*>(Box.layout())->addWidget(Button);
    return Button;
}

QCheckBox* AddCheckBox(TVkGroupBox& Box, const char* Caption) {
    auto* Check = new QCheckBox(Caption, &Box);
    static_cast<QVBoxLayout*>(Box.layout())->addWidget(Check);
    return Check;
}

}  // namespace

TImageFrame::TImageFrame(TGeoImagePlane& AEntity, QWidget* Parent)
    : TEntityFrame(AEntity, "Image Plane", "TImageFrame", Parent) {
    // Image planes keep no colour in the document: the swatch shows it and takes no change.
    NameColor->ColorPanel->setEnabled(false);

    VkGroupBox2 = AddGroupBox("Plane", "VkGroupBox2");
    auto* Radios = new QHBoxLayout;
    const char* const PlaneCaptions[3] = {"X Plane", "Y Plane", "Z Plane"};
    for (int I = 0; I < 3; ++I) {
        auto* Radio = new QRadioButton(PlaneCaptions[I], VkGroupBox2);
        Radio->setObjectName(QString("RadioButton%1").arg(I + 1));
        Radios->addWidget(Radio);
        RadioButtons[static_cast<std::size_t>(I)] = Radio;
        connect(Radio, &QRadioButton::clicked, this, [this, I] {
            if (!Filling && Entity() != nullptr)
                Entity()->ChangePlane(AxisNormals[I], Entity()->ImagePlane().Plane().Distance);
        });
    }
    static_cast<QVBoxLayout*>(VkGroupBox2->layout())->addLayout(Radios);
    VkSpinEdit1 = AddSpinEdit(*VkGroupBox2, "Plane Offset:", 0.01f);
    VkSpinEdit1->OnChange = [this](QObject*) {
        if (!Filling && Entity() != nullptr)
            Entity()->ChangePlane(Entity()->ImagePlane().Plane().Normal, VkSpinEdit1->GetValue());
    };

    VkGroupBox3 = AddGroupBox("Extents", "VkGroupBox3");
    const char* const Captions[4] = {"Min U:", "Min V:", "Max U:", "Max V:"};
    // Each edge moves through its edge handle, so that the aspect lock applies.
    const int EdgeHandles[4] = {7, 1, 3, 5};
    for (int I = 0; I < 4; ++I) {
        TVkSpinEdit* Spin = AddSpinEdit(*VkGroupBox3, Captions[I], 0.01f);
        Spin->setObjectName(QString("VkSpinEdit%1").arg(I + 2));
        const int Handle = EdgeHandles[I];
        const bool AlongU = I == 0 || I == 2;
        Spin->OnChange = [this, Spin, Handle, AlongU](QObject*) {
            if (Filling || Entity() == nullptr) return;
            const double Value = Spin->GetValue();
            const TImageExtents& E = Entity()->ImagePlane().ImageExtents();
            Entity()->ChangeHandle(Handle, AlongU ? Value : E.CentreU(), AlongU ? E.CentreV() : Value);
        };
        ExtentEdits[static_cast<std::size_t>(I)] = Spin;
    }
    VkSpinEdit10 = AddSpinEdit(*VkGroupBox3, "Pixel Aspect Ratio:", 0.01f);
    VkSpinEdit10->MinValue = 0.01f;
    VkSpinEdit10->MaxValue = 100;
    VkSpinEdit10->OnChange = [this](QObject*) {
        if (!Filling && Entity() != nullptr) Entity()->ChangePixelAspectRatio(VkSpinEdit10->GetValue());
    };
    CheckBox3 = AddCheckBox(*VkGroupBox3, "Lock Aspect Ratio");
    connect(CheckBox3, &QCheckBox::toggled, this, [this](bool On) {
        if (!Filling && Entity() != nullptr) Entity()->ImagePlane().LockAspectRatio = On;
    });

    VkGroupBox4 = AddGroupBox("Scaling Selection Window", "VkGroupBox4");
    for (int I = 0; I < 4; ++I) {
        TVkSpinEdit* Spin = AddSpinEdit(*VkGroupBox4, Captions[I], 0.01f);
        Spin->setObjectName(QString("VkSpinEdit%1").arg(I + 6));
        Spin->OnChange = [this, Spin, I](QObject*) {
            if (!Filling && Entity() != nullptr) Entity()->ChangeSelectionWindow(I, Spin->GetValue());
        };
        WindowEdits[static_cast<std::size_t>(I)] = Spin;
    }
    CheckBox1 = AddCheckBox(*VkGroupBox4, "Show Scaling Selection");
    connect(CheckBox1, &QCheckBox::toggled, this, [this](bool On) {
        if (Filling || Entity() == nullptr) return;
        Entity()->SetShowSelection(On);
        ShowSwitches();
    });
    CheckBox2 = AddCheckBox(*VkGroupBox4, "Edit Scaling Selection");
    connect(CheckBox2, &QCheckBox::toggled, this, [this](bool On) {
        if (!Filling && Entity() != nullptr) Entity()->SetEditSelection(On);
    });
    BitBtn1 = AddButton(*VkGroupBox4, "Rescale Image to Window Dimensions");
    connect(BitBtn1, &QToolButton::clicked, this, [this] {
        if (Entity() != nullptr) Entity()->ScaleImage();
    });

    VkGroupBox5 = AddGroupBox("Image", "VkGroupBox5");
    BitBtn2 = AddButton(*VkGroupBox5, "Select Image ...");
    connect(BitBtn2, &QToolButton::clicked, this, [this] {
        if (Entity() != nullptr) Entity()->SelectImage();
    });
    BitBtn3 = AddButton(*VkGroupBox5, "Negative Image Colors");
    connect(BitBtn3, &QToolButton::clicked, this, [this] {
        if (Entity() != nullptr) Entity()->NegativeImage();
    });
    FinishLayout();
    Refresh();
}

void TImageFrame::ShowExtents() {
    const TImagePlane& Plane = Entity()->ImagePlane();
    const TImageExtents& E = Plane.ImageExtents();
    const TImageExtents& W = Plane.SelectionWindow();
    const double Picture[4] = {E.MinU(), E.MinV(), E.MaxU(), E.MaxV()};
    const double Window[4] = {W.MinU(), W.MinV(), W.MaxU(), W.MaxV()};
    for (int I = 0; I < 4; ++I) {
        ExtentEdits[static_cast<std::size_t>(I)]->SetValueQuietly(static_cast<float>(Picture[I]));
        WindowEdits[static_cast<std::size_t>(I)]->SetValueQuietly(static_cast<float>(Window[I]));
    }
    VkSpinEdit10->SetValueQuietly(static_cast<float>(Plane.PixelAspectRatio()));
}

void TImageFrame::ShowSwitches() {
    const bool Show = Entity()->GetShowSelection();
    CheckBox2->setEnabled(Show);
    BitBtn1->setEnabled(Show);
}

void TImageFrame::Refresh() {
    if (Entity() == nullptr) return;
    const bool Was = Filling;
    Filling = true;
    NameColor->Refresh();
    const TImagePlane& Plane = Entity()->ImagePlane();
    for (int I = 0; I < 3; ++I) {
        QRadioButton* Radio = RadioButtons[static_cast<std::size_t>(I)];
        const QSignalBlocker Block(Radio);
        // Exclusive buttons cannot all be off: the exclusivity is lifted while they are set.
        Radio->setAutoExclusive(false);
        Radio->setChecked(VectorsEqualWithin(Plane.Plane().Normal, AxisNormals[I], 1e-4));
        Radio->setAutoExclusive(true);
    }
    VkSpinEdit1->SetValueQuietly(static_cast<float>(Plane.Plane().Distance));
    ShowExtents();
    CheckBox3->setChecked(Plane.LockAspectRatio);
    CheckBox1->setChecked(Entity()->GetShowSelection());
    CheckBox2->setChecked(Entity()->GetEditSelection());
    ShowSwitches();
    Filling = Was;
}

void TImageFrame::UpdateDragged() {
    if (Entity() == nullptr) return;
    const bool Was = Filling;
    Filling = true;
    ShowExtents();
    Filling = Was;
}

void RegisterImageFrame() {
    RegisterGeometryFrame(ImageFrameName, [](TGeometry& Geometry, void* Owner) -> IGeometryFrame* {
        auto* Image = dynamic_cast<TGeoImagePlane*>(&Geometry);
        return Image != nullptr ? new TImageFrame(*Image, static_cast<QWidget*>(Owner)) : nullptr;
    });
}

}  // namespace sarnova
