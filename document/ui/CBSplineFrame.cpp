#include "document/ui/CBSplineFrame.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <initializer_list>

#include "document/GCBSpline.h"
#include "foundation/Curve.h"

namespace sarnova {

namespace {

// A group whose title check box shows or hides its contents.
QGroupBox* NewCollapsibleGroup(const QString& Title, bool Expanded, QWidget* Parent, QWidget*& Contents) {
    auto* Group = new QGroupBox(Title, Parent);
    Group->setCheckable(true);
    Group->setChecked(Expanded);
    auto* Layout = new QVBoxLayout(Group);
    Contents = new QWidget(Group);
    Layout->addWidget(Contents);
    Contents->setVisible(Expanded);
    QObject::connect(Group, &QGroupBox::toggled, Contents, &QWidget::setVisible);
    return Group;
}

QRadioButton* NewRadio(const QString& Caption, QWidget* Parent) {
    auto* Button = new QRadioButton(Caption, Parent);
    Parent->layout()->addWidget(Button);
    return Button;
}

// Checks the buttons of one exclusive group as given; all may be off (a clamped end shows neither
// kind), which an exclusive group refuses while it is exclusive.
void ShowChoice(std::initializer_list<std::pair<QRadioButton*, bool>> Buttons) {
    for (auto [Button, On] : Buttons) {
        const QSignalBlocker Block(Button);
        Button->setAutoExclusive(false);
        Button->setChecked(On);
        Button->setAutoExclusive(true);
    }
}

}  // namespace

TCBSplineFrame::TCBSplineFrame(TGeoCBSpline& AEntity, QWidget* Parent) : TPlineFrame(AEntity, Parent) {
    QLayout* Layout = layout();

    ContinuityGroupBox = new QGroupBox("Continuity", this);
    new QVBoxLayout(ContinuityGroupBox);
    RadioButton5 = NewRadio("1st Order", ContinuityGroupBox);
    RadioButton6 = NewRadio("2nd Order", ContinuityGroupBox);
    RadioButton7 = NewRadio("2nd Order Piecewise", ContinuityGroupBox);
    CheckBox1 = new QCheckBox("Account for Chord Length", ContinuityGroupBox);
    ContinuityGroupBox->layout()->addWidget(CheckBox1);
    Layout->addWidget(ContinuityGroupBox);

    // The two end conditions, collapsed at first.
    const auto ConditionGroup = [&](const QString& Title, QRadioButton*& Natural, QRadioButton*& Bessel) {
        QWidget* Contents = nullptr;
        QGroupBox* Group = NewCollapsibleGroup(Title, false, this, Contents);
        new QVBoxLayout(Contents);
        Natural = NewRadio("Natural", Contents);
        Bessel = NewRadio("Bessel", Contents);
        Layout->addWidget(Group);
        return Group;
    };
    StartGroupBox = ConditionGroup("Start End Conditions", RadioButton1, RadioButton2);
    EndGroupBox = ConditionGroup("End Conditions", RadioButton3, RadioButton4);

    // Only the user's clicks edit: the frame's own updates block the signals.
    const auto OnClick = [this](QAbstractButton* Button, auto Apply) {
        connect(Button, &QAbstractButton::clicked, this, [this, Apply] {
            if (TGeoCBSpline* S = Spline()) Apply(*S);
        });
    };
    OnClick(RadioButton5, [](TGeoCBSpline& S) { S.SetContinuity(scFirstOrder); });
    OnClick(RadioButton6, [](TGeoCBSpline& S) { S.SetContinuity(scSecondOrder); });
    OnClick(RadioButton7, [](TGeoCBSpline& S) { S.SetContinuity(scSecondOrderPiecewise); });
    OnClick(RadioButton1, [](TGeoCBSpline& S) { S.SetStartConditionKind(ecNatural); });
    OnClick(RadioButton2, [](TGeoCBSpline& S) { S.SetStartConditionKind(ecBessel); });
    OnClick(RadioButton3, [](TGeoCBSpline& S) { S.SetEndConditionKind(ecNatural); });
    OnClick(RadioButton4, [](TGeoCBSpline& S) { S.SetEndConditionKind(ecBessel); });
    connect(CheckBox1, &QCheckBox::clicked, this, [this](bool On) {
        if (TGeoCBSpline* S = Spline()) S->SetAccountForChordLength(On);
    });

    UpdateFromEntity();
}

TGeoCBSpline* TCBSplineFrame::Spline() const { return dynamic_cast<TGeoCBSpline*>(GetEntity()); }

void TCBSplineFrame::UpdateFromEntity() {
    TPlineFrame::UpdateFromEntity();
    const TGeoCBSpline* Entity = Spline();
    if (Entity == nullptr) return;
    const TCBSpline& S = Entity->Spline();
    ShowChoice({{RadioButton1, S.StartCondition.Kind == ecNatural}, {RadioButton2, S.StartCondition.Kind == ecBessel}});
    ShowChoice({{RadioButton3, S.EndCondition.Kind == ecNatural}, {RadioButton4, S.EndCondition.Kind == ecBessel}});
    ShowChoice({{RadioButton5, S.Continuity == scFirstOrder},
                {RadioButton6, S.Continuity == scSecondOrder},
                {RadioButton7, S.Continuity == scSecondOrderPiecewise}});
    const QSignalBlocker Block(CheckBox1);
    CheckBox1->setChecked(S.AccountForChordLength);
}

void RegisterCBSplineFrame() {
    RegisterGeometryFrame(CBSplineFrameName, [](TGeometry& Geometry, void* Owner) -> IGeometryFrame* {
        auto* Curve = dynamic_cast<TGeoCBSpline*>(&Geometry);
        if (Curve == nullptr) return nullptr;
        return new TCBSplineFrame(*Curve, static_cast<QWidget*>(Owner));
    });
}

}  // namespace sarnova
