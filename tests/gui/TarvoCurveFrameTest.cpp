// The property frame of the Tarvo curve: greyed rows of driven points, the constraint buttons and
// list, and the plane and offset settings, each edit one undo step.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QTableWidget>
#include <QToolButton>

#include <memory>

#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "hulls/GTarvoCurve.h"
#include "hulls/ui/TarvoCurveFrame.h"
#include "controls/VkGroupBox.h"
#include "controls/VkSpin.h"

namespace sarnova {
namespace {

class TarvoCurveFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterGeometryClasses();
        RegisterTarvoCurveFrame();
        R = Add({{0, 0, 0}, {0, 1, 0}, {0, 2, 0}, {0, 3, 0}, {0, 4, 0}}, "R");
        C = Add({{2, 0, 0}, {2, 1, 1}, {2, 2, 0}, {2, 3, 1}, {2, 4, 0}}, "C");
        Doc.GetUndoManager().Clear();
        Frame = dynamic_cast<TTarvoCurveFrame*>(C->CreateFrameFor(&Owner));
        ASSERT_NE(Frame, nullptr);
    }
    void TearDown() override { C->FreeFrame(); }

    TGeoTarvoCurve* Add(std::initializer_list<TMVector> Points, const std::string& Name) {
        auto T = std::make_unique<TGeoTarvoCurve>();
        for (const TMVector& P : Points) T->Curve().AddPointVector(P);
        T->SetName(Name);
        return static_cast<TGeoTarvoCurve*>(Doc.Add(std::move(T)));
    }
    bool Editable(int Row) const { return (Frame->VkGrid1->item(Row, 0)->flags() & Qt::ItemIsEditable) != 0; }

    QWidget Owner;
    TGeometryInterface Doc;
    TGeoTarvoCurve* R = nullptr;
    TGeoTarvoCurve* C = nullptr;
    TTarvoCurveFrame* Frame = nullptr;
};

TEST_F(TarvoCurveFrameTest, DrivenRowsAreGreyAndReadOnly) {
    EXPECT_EQ(Frame->EntityClass->text(), "TarvoCurve");
    ASSERT_EQ(Frame->VkGrid1->rowCount(), 5);
    EXPECT_TRUE(Frame->PlaneButton->isEnabled());
    EXPECT_FALSE(Frame->StraightButton->isEnabled());  // nothing marked
    Doc.SetEditedGeometry(C);
    for (int I : {1, 2, 3}) C->Curve().Point(I)->Marked = true;
    Frame->UpdateConstraintButtons();
    ASSERT_TRUE(Frame->StraightButton->isEnabled());
    Frame->StraightButton->click();
    ASSERT_EQ(Frame->ListBox1->count(), 1);
    EXPECT_EQ(Frame->ListBox1->item(0)->text(), "Straight : Points[1 -> 3]");
    EXPECT_TRUE(Editable(1));
    EXPECT_FALSE(Editable(2));
    EXPECT_NE(Frame->VkGrid1->item(2, 0)->foreground().color(), Frame->VkGrid1->item(1, 0)->foreground().color());
    // The straight line put point 2 on the chord.
    EXPECT_EQ(Frame->VkGrid1->item(2, 2)->text(), "1.000");
    Doc.Undo();
    EXPECT_EQ(C->Curve().Constraints().Count(), 0);
}

TEST_F(TarvoCurveFrameTest, PlaneAndOffsetSettingsShowWithTheirConstraint) {
    Frame->OffsetButton->click();
    EXPECT_FALSE(Frame->OffsetGroup->isVisibleTo(Frame));
    Frame->ListBox1->setCurrentRow(0);
    EXPECT_TRUE(Frame->OffsetGroup->isVisibleTo(Frame));
    EXPECT_FALSE(Frame->PlaneGroup->isVisibleTo(Frame));
    // The curve itself is no candidate.
    ASSERT_EQ(Frame->OffsetCurvesList->count(), 1);
    emit Frame->OffsetCurvesList->activated(0);
    Frame->AxisButtons[0]->click();
    EXPECT_EQ(Frame->ListBox1->item(0)->text(), "Offset <- R in X");
    EXPECT_FALSE(Frame->AxisButtons[1]->isEnabled());
    EXPECT_EQ(C->Curve().Point(1)->Z, 0);  // z copied from R

    // A plane may join while the offset is alone; with X offsets only X, pitch and yaw planes.
    Frame->PlaneButton->click();
    Frame->ListBox1->setCurrentRow(1);
    EXPECT_TRUE(Frame->PlaneGroup->isVisibleTo(Frame));
    EXPECT_TRUE(Frame->PlaneButtons[0]->isEnabled());
    EXPECT_FALSE(Frame->PlaneButtons[1]->isEnabled());
    EXPECT_TRUE(Frame->PlaneButtons[5]->isEnabled());
    Frame->PlaneButtons[0]->click();
    EXPECT_EQ(Frame->Label4->text(), "X =");
    Frame->VkSpinEdit1->SetValue(3);
    for (int I = 0; I < C->Curve().Count(); ++I) EXPECT_EQ(C->Curve().Point(I)->X, 3);
    Doc.Undo();
    EXPECT_EQ(C->Curve().Point(0)->X, 2);
}

}  // namespace
}  // namespace sarnova
