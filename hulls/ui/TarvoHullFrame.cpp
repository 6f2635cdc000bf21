#include "hulls/ui/TarvoHullFrame.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

#include "entities/ui/FrameParts.h"
#include "foundation/Console.h"
#include "shell/HelpFloat.h"
#include "controls/VkGrid.h"
#include "controls/VkGroupBox.h"
#include "controls/VkSpin.h"

namespace sarnova {

TTarvoHullFrame::TTarvoHullFrame(TGeoTarvoHull& AEntity, QWidget* Parent)
    : TTarvoSurfaceFrame(AEntity, "TarvoHULL", "TTarvoHullFrame", Parent) {
    EntityClass->setObjectName("TarvoHull");
    AddCurvesGroup();

    TVkGroupBox* Parameters = AddGroupBox("Parameters", "ParametersGroup");
    VkGrid1 = new TVkGrid(Parameters);
    VkGrid1->setObjectName("VkGrid1");
    VkGrid1->SetSize(2, 1);
    VkGrid1->SetFixedRows(1);
    VkGrid1->SetFixedColumns(0);
    VkGrid1->FloatFormat().SetFormat(ffFixed);
    VkGrid1->FloatFormat().SetDigits(3);
    VkGrid1->Cell(0, 0).SetValue("Parameter");
    VkGrid1->Cell(1, 0).SetValue("Value");
    VkGrid1->setMinimumHeight(200);
    VkGrid1->SetOptions(VkGrid1->GetOptions() | loAutoSizeColumns);
    // Only the values are edited.
    VkGrid1->OnSelectCell = [this](TVkGridModel*, int Col, int, bool& CanSelect) {
        CanSelect = true;
        VkGrid1->SetOptions(Col == 1 ? (VkGrid1->GetOptions() | loEditing) : (VkGrid1->GetOptions() & ~loEditing));
    };
    VkGrid1->OnEditCell = [this](TVkGridModel*, int Col, int Row, TVkValue& Value) {
        if (Col == 1 && !Filling) EditParameter(Row, Value.AsDouble());
    };
    static_cast<QVBoxLayout*>(Parameters->layout())->addWidget(VkGrid1);

    TVkGroupBox* Bulb = AddGroupBox("Bulb Parameters", "BulbGroup");
    Bulb->InitialState = gsCollapsed;
    CheckBox7 = new QCheckBox("Apply Bulb", Bulb);
    static_cast<QVBoxLayout*>(Bulb->layout())->addWidget(CheckBox7);
    connect(CheckBox7, &QCheckBox::toggled, this, [this](bool On) {
        if (Filling || Hull() == nullptr) return;
        Hull()->SetApplyBulb(On);
        UpdateControls();
    });
    SpBulbLength = AddBulbSpin(Bulb, "BulbLength:", 1020, 0.1f, &TTarvoBulb::SetBulbLength);
    SpTailLength = AddBulbSpin(Bulb, "TailLength:", 1030, 0.1f, &TTarvoBulb::SetTailLength);
    SpTailBeam = AddBulbSpin(Bulb, "TailBeam:", 1020, 0.1f, &TTarvoBulb::SetTailBeam);
    SpBeam = AddBulbSpin(Bulb, "Beam:", 1030, 0.1f, &TTarvoBulb::SetBeam);
    SpPointHeight = AddBulbSpin(Bulb, "Point Height:", 1040, 0.1f, &TTarvoBulb::SetPointHeight);
    SpTailHeight = AddBulbSpin(Bulb, "Tail Height:", 1050, 0.1f, &TTarvoBulb::SetTailHeight);
    SpBarWidth = AddBulbSpin(Bulb, "Bar Width:", 1060, 0.1f, &TTarvoBulb::SetBarWidth);
    SpSeparation = AddBulbSpin(Bulb, "Separation:", 1070, 0.1f, &TTarvoBulb::SetBeamPointSeparation);
    SpSoftnose = AddBulbSpin(Bulb, "SoftNose:", 1080, 0.05f, &TTarvoBulb::SetSoftNose);
    SpeedButton18 = new QPushButton("Update Surface", Bulb);
    static_cast<QVBoxLayout*>(Bulb->layout())->addWidget(SpeedButton18);
    connect(SpeedButton18, &QPushButton::clicked, this, [this] {
        if (Hull() == nullptr) return;
        try {
            Hull()->UpdateBulbSurface();
        } catch (const std::exception& E) {
            if (GExceptionHandler) GExceptionHandler->HandleException(E);
        }
        UpdateControls();
    });

    TVkGroupBox* View = AddGroupBox("View Options", "ViewGroup");
    CheckBox1 = AddViewCheck(View, "View Construction Curves", [this](bool On) { Entity()->SetDrawCurves(On); });
    CheckBox5 = AddViewCheck(View, "View Blends", [this](bool On) { Entity()->SetDrawBlends(On); });
    CheckBox2 = AddViewCheck(View, "View Bulb Surface", [this](bool On) { Hull()->SetDrawBulb(On); });
    CheckBox3 = AddViewCheck(View, "View Surface", [this](bool On) { Entity()->SetDrawParameters(On); });
    CheckBox4 = AddViewCheck(View, "View Contours", [this](bool On) { Entity()->SetDrawContours(On); });

    // The bulb group starts collapsed unless the user left it open.
    Bulb->Loaded();
    FinishLayout();
    UpdateControls();
}

TVkSpinEdit* TTarvoHullFrame::AddBulbSpin(TVkGroupBox* Box, const char* Caption, int HelpContext, float Increment,
                                          void (TTarvoBulb::*Set)(double)) {
    auto* Row = new QHBoxLayout;
    auto* Label = new QLabel(Caption, Box);
    auto* Spin = new TVkSpinEdit(Box);
    Spin->SetSpinType(spFloat);
    Spin->SetIncrement(Increment);
    auto* Help = new QToolButton(Box);
    Help->setText("?");
    Help->setToolTip(QString("Help on %1").arg(QString(Caption).remove(':')));
    Label->setMinimumWidth(80);
    Row->addWidget(Label);
    Row->addWidget(Spin, 1);
    Row->addWidget(Help);
    static_cast<QVBoxLayout*>(Box->layout())->addLayout(Row);
    connect(Help, &QToolButton::clicked, this, [HelpContext] { ShowHelpContext(HelpContext); });
    Spin->OnChange = [this, Spin, Set](QObject*) {
        if (Filling || Hull() == nullptr) return;
        // The bulb shows the new dimension at once; the hull takes it on "Update Surface".
        Hull()->Undraw();
        (Hull()->Hull().Bulb().*Set)(Spin->GetValue());
        SpeedButton18->setEnabled(true);
        Hull()->Redraw();
    };
    BulbLabels.push_back(Label);
    BulbSpins.push_back(Spin);
    HelpButtons.push_back(Help);
    return Spin;
}

void TTarvoHullFrame::EditParameter(int Row, double Value) {
    if (Hull() == nullptr) return;
    try {
        Hull()->SetParameter(Row - 1, Value);
    } catch (const std::exception& E) {
        // A fit that cannot start or does not converge: the grid shows the hull as it is.
        if (GExceptionHandler) GExceptionHandler->HandleException(E);
    }
    UpdateControls();
}

void TTarvoHullFrame::UpdateControls() {
    TGeoTarvoHull* E = Hull();
    if (E == nullptr) return;
    TTarvoSurfaceFrame::UpdateControls();
    Filling = true;
    TTarvoHull& H = E->Hull();
    TFTParameters& P = H.Parameters();
    VkGrid1->BeginUpdate();
    VkGrid1->SetRowCount(P.Count() + 1);
    for (int I = 0; I < P.Count(); ++I) {
        TVkCell& Name = VkGrid1->Cell(0, I + 1);
        Name.SetFormat(lfText);
        Name.SetAlignment(laLeftJustify);
        Name.SetValue(P.Items(I).Name);
        VkGrid1->Cell(1, I + 1).SetFormat(lfNumeric);
        VkGrid1->Cell(1, I + 1).SetValue(P.Items(I).GetValue());
    }
    VkGrid1->EndUpdate();

    const bool Applied = H.ApplyBulb();
    {
        const QSignalBlocker Block(CheckBox7);
        CheckBox7->setChecked(Applied);
    }
    for (QLabel* L : BulbLabels) L->setEnabled(Applied);
    for (TVkSpinEdit* S : BulbSpins) S->setEnabled(Applied);
    SpeedButton18->setEnabled(false);
    const TTarvoBulb& B = H.Bulb();
    const std::pair<TVkSpinEdit*, double> Values[] = {
        {SpBulbLength, B.BulbLength()},   {SpTailLength, B.TailLength()}, {SpTailBeam, B.TailBeam()},
        {SpBeam, B.Beam()},               {SpPointHeight, B.PointHeight()}, {SpTailHeight, B.TailHeight()},
        {SpBarWidth, B.BarWidth()},       {SpSeparation, B.BeamPointSeparation()}, {SpSoftnose, B.SoftNose()},
    };
    for (const auto& [Spin, Value] : Values) Spin->SetValueQuietly(static_cast<float>(Value));
    {
        const QSignalBlocker Block(CheckBox2);
        CheckBox2->setChecked(E->GetDrawBulb());
    }
    CheckBox2->setEnabled(Applied);
    Filling = false;
}

void RegisterTarvoHullFrame() {
    RegisterGeometryFrame(TarvoHullFrameName, [](TGeometry& Geometry, void* Owner) -> IGeometryFrame* {
        auto* Hull = dynamic_cast<TGeoTarvoHull*>(&Geometry);
        return Hull != nullptr ? new TTarvoHullFrame(*Hull, static_cast<QWidget*>(Owner)) : nullptr;
    });
}

}  // namespace sarnova
