// The property frames of the spline entities: the curve frame's order list for a B-spline curve, its
// label for a cubic spline, and the interpolation settings of the interpolating cubic B-spline.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

#include <memory>

#include "../DialogsScope.h"
#include "document/GBSpline.h"
#include "document/GCBSpline.h"
#include "document/GCSpline.h"
#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "document/ui/CBSplineFrame.h"
#include "foundation/BSpline.h"
#include "foundation/Curve.h"

namespace sarnova {
namespace {

class SplineFramesTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterGeometryClasses();
        RegisterCurveUi();
    }
    // Adds Entity with points along a zigzag.
    template <class T>
    T* Add(std::unique_ptr<T> Entity, int Points) {
        for (int I = 0; I < Points; ++I) Entity->GetCurve()->AddPoint(I, I % 2, 0);
        Entity->SetName("S");
        T* Added = static_cast<T*>(Doc.Add(std::move(Entity)));
        Doc.GetUndoManager().Clear();
        return Added;
    }

    QWidget Owner;
    TGeometryInterface Doc;
};

TEST_F(SplineFramesTest, TheBSplineFrameListsTheOrdersUpToTheBezierOne) {
    test::TDialogsScope Dialogs;
    TGeoBSpline* B = Add(std::make_unique<TGeoBSpline>(), 5);
    auto* Frame = dynamic_cast<TPlineFrame*>(B->CreateFrameFor(&Owner));
    ASSERT_NE(Frame, nullptr);
    EXPECT_EQ(Frame->EntityClass->text(), "BSpline");
    EXPECT_TRUE(Frame->CurveOrderGroupBox->isVisibleTo(Frame));
    QStringList Items;
    for (int I = 0; I < Frame->ComboBox1->count(); ++I) Items << Frame->ComboBox1->itemText(I);
    EXPECT_EQ(Items, (QStringList{"2 (Linear)", "3 (Quadratic)", "4 (Cubic)", "5 (Bezier)"}));
    EXPECT_EQ(Frame->ComboBox1->currentIndex(), 2);

    emit Frame->ComboBox1->activated(1);
    EXPECT_EQ(B->Spline().GetOrder(), 3);
    EXPECT_EQ(Frame->ComboBox1->currentIndex(), 1);
    Doc.Undo();
    EXPECT_EQ(B->Spline().GetOrder(), 4);

    // A curve with an inserted knot asks first; Cancel keeps the order.
    B->Spline().KnotType = ktNonUniform;
    Dialogs.Dialogs.Answer(TModalResult::mrCancel);
    emit Frame->ComboBox1->activated(1);
    EXPECT_EQ(B->Spline().GetOrder(), 4);
    EXPECT_EQ(Dialogs.Dialogs.Shown.size(), 1u);
    B->FreeFrame();
}

TEST_F(SplineFramesTest, TheCubicSplineFrameHasNoOrder) {
    TGeoCSpline* S = Add(std::make_unique<TGeoCSpline>(), 5);
    auto* Frame = dynamic_cast<TPlineFrame*>(S->CreateFrameFor(&Owner));
    ASSERT_NE(Frame, nullptr);
    EXPECT_EQ(Frame->EntityClass->text(), "CSpline");
    EXPECT_FALSE(Frame->CurveOrderGroupBox->isVisibleTo(Frame));
    S->FreeFrame();
}

TEST_F(SplineFramesTest, TheInterpolatingFrameEditsTheSettings) {
    TGeoCBSpline* S = Add(std::make_unique<TGeoCBSpline>(), 6);
    S->Spline().StartCondition = {ecClamped, {1, 0, 0}};
    S->Spline().EndCondition = {ecBessel, {}};
    auto* Frame = dynamic_cast<TCBSplineFrame*>(S->CreateFrameFor(&Owner));
    ASSERT_NE(Frame, nullptr);
    EXPECT_EQ(Frame->EntityClass->text(), "CBSpline");
    EXPECT_FALSE(Frame->CurveOrderGroupBox->isVisibleTo(Frame));
    EXPECT_FALSE(Frame->StartGroupBox->isChecked()) << "collapsed at first";
    EXPECT_FALSE(Frame->EndGroupBox->isChecked());
    // A clamped start turns on neither of its buttons.
    EXPECT_FALSE(Frame->RadioButton1->isChecked());
    EXPECT_FALSE(Frame->RadioButton2->isChecked());
    EXPECT_TRUE(Frame->RadioButton4->isChecked());
    EXPECT_TRUE(Frame->RadioButton6->isChecked());
    EXPECT_FALSE(Frame->CheckBox1->isChecked());

    Frame->RadioButton6->click();
    EXPECT_FALSE(Doc.CanUndo()) << "already second order";

    Frame->StartGroupBox->setChecked(true);
    Frame->EndGroupBox->setChecked(true);
    Frame->RadioButton1->click();
    EXPECT_EQ(S->Spline().StartCondition.Kind, ecNatural);
    Frame->RadioButton7->click();
    EXPECT_EQ(S->Spline().Continuity, scSecondOrderPiecewise);
    Frame->CheckBox1->click();
    EXPECT_TRUE(S->Spline().AccountForChordLength);
    Frame->RadioButton3->click();
    EXPECT_EQ(S->Spline().EndCondition.Kind, ecNatural);

    // Undo puts the entity and its frame back.
    Doc.Undo();
    Doc.Undo();
    EXPECT_EQ(S->Spline().EndCondition.Kind, ecBessel);
    EXPECT_FALSE(S->Spline().AccountForChordLength);
    EXPECT_TRUE(Frame->RadioButton4->isChecked());
    EXPECT_FALSE(Frame->CheckBox1->isChecked());
    S->FreeFrame();
}

}  // namespace
}  // namespace sarnova
