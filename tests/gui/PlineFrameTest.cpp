// The property frame of the polyline-backed curves: what it shows, and edits in its grid as changes
// of the entity that undo takes back.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QToolButton>
#include <QGroupBox>

#include <memory>

#include "document/GPline.h"
#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "document/ui/PlineFrame.h"
#include "foundation/Polyline.h"

namespace sarnova {
namespace {

class PlineFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterGeometryClasses();
        RegisterCurveUi();
        auto Entity = std::make_unique<TGeoPline>();
        Entity->Polyline().AddPoint(0, 0, 0);
        Entity->Polyline().AddPoint(1.23456, 2, -3);
        Entity->SetName("P");
        P = static_cast<TGeoPline*>(Doc.Add(std::move(Entity)));
        Doc.GetUndoManager().Clear();
        Frame = dynamic_cast<TPlineFrame*>(P->CreateFrameFor(&Owner));
        ASSERT_NE(Frame, nullptr);
    }
    void TearDown() override { P->FreeFrame(); }

    QString Cell(int Row, int Column) const { return Frame->VkGrid1->item(Row, Column)->text(); }

    QWidget Owner;
    TGeometryInterface Doc;
    TGeoPline* P = nullptr;
    TPlineFrame* Frame = nullptr;
};

TEST_F(PlineFrameTest, ShowsTheEntityWithThreeDecimals) {
    EXPECT_EQ(Frame->EntityClass->text(), "Polyline");
    EXPECT_FALSE(Frame->CurveOrderGroupBox->isVisibleTo(Frame));
    EXPECT_EQ(Frame->Edit1->text(), "P");
    ASSERT_EQ(Frame->VkGrid1->rowCount(), 2);
    EXPECT_EQ(Frame->GridText(), "0.000\t0.000\t0.000\r\n1.235\t2.000\t-3.000\r\n");
    for (QToolButton* B : {Frame->InsAboveBut, Frame->InsBelowBut, Frame->FloodValueBut, Frame->DelRowBut})
        EXPECT_FALSE(B->isEnabled());
}

TEST_F(PlineFrameTest, AnEditedCellMovesThePointAsOneUndoStep) {
    Frame->VkGrid1->item(1, 2)->setText("7,5");
    EXPECT_EQ(P->Polyline().Point(1)->Z, 7.5);
    EXPECT_EQ(Cell(1, 2), "7.500");
    Doc.Undo();
    EXPECT_EQ(P->Polyline().Point(1)->Z, -3);
    EXPECT_EQ(Cell(1, 2), "-3.000");
    EXPECT_FALSE(Doc.CanUndo());

    // Text that is no number changes nothing and shows the value again.
    Frame->VkGrid1->item(0, 0)->setText("abc");
    EXPECT_EQ(Cell(0, 0), "0.000");
    EXPECT_FALSE(Doc.CanUndo());
}

TEST_F(PlineFrameTest, SelectedRowsMarkPointsWhileEditingAndEnableTheButtons) {
    Doc.SetEditedGeometry(P);
    Frame->VkGrid1->setRangeSelected(QTableWidgetSelectionRange(1, 0, 1, 0), true);
    EXPECT_FALSE(P->Polyline().Point(0)->Marked);
    EXPECT_TRUE(P->Polyline().Point(1)->Marked);
    EXPECT_TRUE(Frame->InsAboveBut->isEnabled());
    EXPECT_TRUE(Frame->FloodValueBut->isEnabled());

    Frame->VkGrid1->setCurrentCell(1, 0);
    Frame->InsBelowBut->click();
    ASSERT_EQ(Frame->VkGrid1->rowCount(), 3);
    EXPECT_EQ(P->Polyline().Point(2)->Vector(), (TMVector{1.23456 * 2, 4, -6}));
}

TEST_F(PlineFrameTest, NameEditsRenameTheEntity) {
    emit Frame->Edit1->textEdited("Stem");
    EXPECT_EQ(P->GetName(), "Stem");
    P->SetName("Keel");
    EXPECT_EQ(Frame->Edit1->text(), "Keel");
}

}  // namespace
}  // namespace sarnova
