// The fill button of the curve frame: the chosen coordinate of every point, as one undo step, and a
// cancelled fill that leaves the document as it was.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>

#include <memory>

#include "document/GPline.h"
#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "document/ui/PlineFrame.h"
#include "foundation/Polyline.h"
#include "shell/ControlsTestSupport.h"

namespace sarnova {
namespace {

// Answers the fill dialog once it is up: Value into the box and Ok, or Cancel when Value is empty.
void AnswerFillDialog(const char* Value) {
    test::WhenModal([Value](QWidget* Dialog) {
        if (*Value == 0) {
            Dialog->findChild<QPushButton*>("Button2")->click();
            return;
        }
        Dialog->findChild<QLineEdit*>("Edit1")->setText(Value);
        Dialog->findChild<QPushButton*>("Button1")->click();
    });
}

class PlineFrameFillTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterGeometryClasses();
        RegisterCurveUi();
        auto Entity = std::make_unique<TGeoPline>();
        for (int I = 0; I < 3; ++I) Entity->Polyline().AddPoint(I, 10 + I, 20 + I);
        P = static_cast<TGeoPline*>(Doc.Add(std::move(Entity)));
        Doc.GetUndoManager().Clear();
        Frame = dynamic_cast<TPlineFrame*>(P->CreateFrameFor(&Owner));
        ASSERT_NE(Frame, nullptr);
        // The Y column is current.
        Frame->VkGrid1->setCurrentCell(0, 1);
    }
    void TearDown() override { P->FreeFrame(); }

    QWidget Owner;
    TGeometryInterface Doc;
    TGeoPline* P = nullptr;
    TPlineFrame* Frame = nullptr;
};

TEST_F(PlineFrameFillTest, FillsTheCurrentColumnAsOneUndoStep) {
    AnswerFillDialog("4.5");
    Frame->FloodValueBut->click();
    for (int I = 0; I < 3; ++I) {
        EXPECT_DOUBLE_EQ(P->Polyline().Point(I)->Y, 4.5);
        EXPECT_DOUBLE_EQ(P->Polyline().Point(I)->X, I);
    }
    EXPECT_EQ(Frame->VkGrid1->item(2, 1)->text(), "4.500");
    ASSERT_TRUE(Doc.CanUndo());
    Doc.Undo();
    EXPECT_DOUBLE_EQ(P->Polyline().Point(2)->Y, 12);
}

TEST_F(PlineFrameFillTest, CancelledFillLeavesNoUndoStep) {
    AnswerFillDialog("");
    Frame->FloodValueBut->click();
    EXPECT_DOUBLE_EQ(P->Polyline().Point(1)->Y, 11);
    EXPECT_FALSE(Doc.CanUndo());
}

}  // namespace
}  // namespace sarnova
