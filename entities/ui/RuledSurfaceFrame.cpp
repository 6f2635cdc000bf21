#include "entities/ui/RuledSurfaceFrame.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "document/GeometryList.h"
#include "document/GeometryReference.h"
#include "controls/VkGroupBox.h"
#include "controls/VkSpin.h"

namespace sarnova {

TRuledSurfaceFrame::TRuledSurfaceFrame(TGeoRuledSurface& AEntity, QWidget* Parent)
    : TGeneratedSurfaceFrame(AEntity, "Ruled Surface", "TRuledSurfaceFrame", Parent) {
    TVkGroupBox* Curves = AddGroupBox("Curves", "CurvesGroup");
    for (int I = 0; I < 2; ++I) {
        auto* Row = new QHBoxLayout;
        auto* Label = new QLabel(I == 0 ? "Curve1:" : "Curve2:", Curves);
        auto* Combo = new QComboBox(Curves);
        Row->addWidget(Label);
        Row->addWidget(Combo, 1);
        static_cast<QVBoxLayout*>(Curves->layout())->addLayout(Row);
        (I == 0 ? ComboBox1 : ComboBox2) = Combo;
    }
    connect(ComboBox1, &QComboBox::activated, this, [this](int Index) {
        if (Entity() != nullptr) CurveChosen(Entity()->Curve1(), ComboBox1->itemText(Index));
    });
    connect(ComboBox2, &QComboBox::activated, this, [this](int Index) {
        if (Entity() != nullptr) CurveChosen(Entity()->Curve2(), ComboBox2->itemText(Index));
    });
    AddDivisionsGroup();
    FinishLayout();
    UpdateControls();
}

void TRuledSurfaceFrame::CurveChosen(TGeometryReference& Reference, const QString& Name) {
    TGeoRuledSurface* E = Entity();
    if (Filling || E->GetOwnerList() == nullptr) return;
    E->BeginChange();
    Reference.SetGeometry(E->GetOwnerList()->FindByName(Name.toStdString()));
    E->InvalidateViews();
    UpdateControls();
}

void TRuledSurfaceFrame::UpdateControls() {
    TGeoRuledSurface* E = Entity();
    if (E == nullptr) return;
    Filling = true;
    RefreshCommon();
    const std::string Name1 = E->Curve1().GetName();
    const std::string Name2 = E->Curve2().GetName();
    FillCurveNames(*ComboBox1, *E, Name2, Name1);
    FillCurveNames(*ComboBox2, *E, Name1, Name2);
    // A mesh is built across at the count it had: only a B-spline surface takes a new one.
    VkSpinEdit1->setEnabled(E->BSplineSurface() != nullptr);
    Filling = false;
}

void RegisterRuledSurfaceFrame() {
    RegisterGeometryFrame(RuledSurfaceFrameName, [](TGeometry& Geometry, void* Owner) -> IGeometryFrame* {
        auto* Surface = dynamic_cast<TGeoRuledSurface*>(&Geometry);
        return Surface != nullptr ? new TRuledSurfaceFrame(*Surface, static_cast<QWidget*>(Owner)) : nullptr;
    });
}

}  // namespace sarnova
