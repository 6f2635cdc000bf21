#include "hulls/ui/TarvoSurfaceFrame.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

#include "entities/ui/FrameParts.h"
#include "controls/VkGroupBox.h"

namespace sarnova {

TTarvoSurfaceFrame::TTarvoSurfaceFrame(TGeoTarvoSurface& AEntity, QWidget* Parent)
    : TEntityFrame(AEntity, "TarvoSurface", "TTarvoSurfaceFrame", Parent) {
    EntityClass->setObjectName("XTSurface");
    AddCurvesGroup();
    TVkGroupBox* View = AddGroupBox("View Options", "ViewGroup");
    CheckBox3 = AddViewCheck(View, "View Surface", [this](bool On) { Entity()->SetDrawParameters(On); });
    CheckBox4 = AddViewCheck(View, "View Contours", [this](bool On) { Entity()->SetDrawContours(On); });
    CheckBox5 = AddViewCheck(View, "View Blends", [this](bool On) { Entity()->SetDrawBlends(On); });
    CheckBox1 = AddViewCheck(View, "View Construction Curves", [this](bool On) { Entity()->SetDrawCurves(On); });
    FinishLayout();
    UpdateControls();
}

TTarvoSurfaceFrame::TTarvoSurfaceFrame(TGeoTarvoSurface& AEntity, const std::string& Caption, const QString& Name,
                                       QWidget* Parent)
    : TEntityFrame(AEntity, Caption, Name, Parent) {}

void TTarvoSurfaceFrame::AddCurvesGroup() {
    TVkGroupBox* Curves = AddGroupBox("Definition Curves", "CurvesGroup");
    auto* Buttons = new QHBoxLayout;
    AddButton = new QPushButton("Add Selected", Curves);
    DeleteEntities = new QPushButton("Remove", Curves);
    SpeedButton1 = new QToolButton(Curves);
    SpeedButton1->setArrowType(Qt::DownArrow);
    Buttons->addWidget(AddButton);
    Buttons->addWidget(DeleteEntities);
    Buttons->addWidget(SpeedButton1);
    static_cast<QVBoxLayout*>(Curves->layout())->addLayout(Buttons);
    ListBox1 = new QListWidget(Curves);
    static_cast<QVBoxLayout*>(Curves->layout())->addWidget(ListBox1);
    PopupMenu1 = new QMenu(this);

    connect(AddButton, &QPushButton::clicked, this, [this] {
        if (Entity() == nullptr) return;
        // The names first: each addition changes the document.
        for (const std::string& Name : Entity()->SelectedCurveNames()) Entity()->AddDefinitionCurve(Name);
        UpdateControls();
    });
    connect(DeleteEntities, &QPushButton::clicked, this, [this] {
        if (Entity() == nullptr || ListBox1->currentItem() == nullptr) return;
        Entity()->RemoveDefinitionCurve(ListBox1->currentItem()->text().toStdString());
        UpdateControls();
    });
    connect(SpeedButton1, &QToolButton::clicked, this, [this] {
        FillPopup();
        PopupMenu1->popup(SpeedButton1->mapToGlobal(QPoint(SpeedButton1->width(), SpeedButton1->height())));
    });
}

QCheckBox* TTarvoSurfaceFrame::AddViewCheck(TVkGroupBox* View, const char* Caption, std::function<void(bool)> Set) {
    auto* Box = new QCheckBox(Caption, View);
    static_cast<QVBoxLayout*>(View->layout())->addWidget(Box);
    connect(Box, &QCheckBox::toggled, this, [this, Set = std::move(Set)](bool On) {
        if (!Filling && Entity() != nullptr) Set(On);
    });
    return Box;
}

void TTarvoSurfaceFrame::FillPopup() {
    PopupMenu1->clear();
    if (Entity() == nullptr) return;
    for (const std::string& Name : Entity()->CandidateCurves()) {
        QAction* Item = PopupMenu1->addAction(QString::fromStdString(Name));
        connect(Item, &QAction::triggered, this, [this, Item] {
            if (Entity() == nullptr) return;
            Entity()->AddDefinitionCurve(Item->text().remove('&').toStdString());
            UpdateControls();
        });
    }
}

void TTarvoSurfaceFrame::UpdateControls() {
    TGeoTarvoSurface* E = Entity();
    if (E == nullptr) return;
    Filling = true;
    NameColor->Refresh();
    ListBox1->clear();
    TTarvoReferenceCurves& Curves = E->Surface().ReferenceCurves();
    for (int i = 0; i < Curves.Count(); ++i) ListBox1->addItem(QString::fromStdString(Curves.Reference(i).GetName()));
    for (const auto& [Box, On] : {std::pair{CheckBox1, E->GetDrawCurves()}, std::pair{CheckBox5, E->GetDrawBlends()},
                                  std::pair{CheckBox3, E->GetDrawParameters()}, std::pair{CheckBox4, E->DrawContours()}}) {
        const QSignalBlocker Block(Box);
        Box->setChecked(On);
    }
    Filling = false;
}

void RegisterTarvoSurfaceFrame() {
    RegisterGeometryFrame(TarvoSurfaceFrameName, [](TGeometry& Geometry, void* Owner) -> IGeometryFrame* {
        auto* Surface = dynamic_cast<TGeoTarvoSurface*>(&Geometry);
        return Surface != nullptr ? new TTarvoSurfaceFrame(*Surface, static_cast<QWidget*>(Owner)) : nullptr;
    });
}

}  // namespace sarnova
