// The property frame of the control-net surfaces: the edited line in its grid, edits of a cell as
// one undo step, and the selector's clicks in the insert modes.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTableWidget>
#include <QToolButton>

#include <memory>

#include "document/GeoFace.h"
#include "document/RegisterClasses.h"
#include "entities/GMesh.h"
#include "entities/ui/MeshFrame.h"
#include "surfaces/Surface.h"

namespace sarnova {
namespace {

class MeshFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterGeometryClasses();
        RegisterSurfaceUi();
        auto Entity = std::make_unique<TGeoMesh>();
        Entity->Net().SetSize(3, 2);
        for (int I = 0; I < 3; ++I)
            for (int J = 0; J < 2; ++J) Entity->Net().Point(I, J).SetVector({double(I), double(J), 0.5});
        M = static_cast<TGeoMesh*>(Doc.Add(std::move(Entity)));
        Doc.GetUndoManager().Clear();
        Frame = dynamic_cast<TMeshFrame*>(M->CreateFrameFor(&Owner));
        ASSERT_NE(Frame, nullptr);
    }
    void TearDown() override { M->FreeFrame(); }

    QWidget Owner;
    TGeometryInterface Doc;
    TGeoMesh* M = nullptr;
    TMeshFrame* Frame = nullptr;
};

TEST_F(MeshFrameTest, ShowsTheEditedLine) {
    EXPECT_EQ(Frame->EntityClass->text(), "Mesh");
    EXPECT_FALSE(Frame->VkGrid1->isVisibleTo(Frame));
    EXPECT_FALSE(Frame->DelBut->isEnabled());
    Frame->UBut->click();
    EXPECT_EQ(M->GetEditView(), mvU);
    ASSERT_EQ(Frame->VkGrid1->rowCount(), 3);
    EXPECT_EQ(Frame->VkGrid1->item(0, 0)->text(), "U=0");
    Frame->IncEditT->click();
    EXPECT_EQ(Frame->VkGrid1->item(0, 0)->text(), "U=1");
    EXPECT_EQ(Frame->VkGrid1->item(2, 1)->text(), "1.000");
    EXPECT_EQ(Frame->VkGrid1->item(2, 2)->text(), "1.000");
    EXPECT_EQ(Frame->VkGrid1->item(2, 3)->text(), "0.500");
    EXPECT_TRUE(Frame->DelBut->isEnabled());
}

TEST_F(MeshFrameTest, AnEditedCellIsOneUndoStep) {
    Frame->VBut->click();
    Frame->VkGrid1->item(3, 3)->setText("7,5");
    EXPECT_EQ(M->Net().Point(2, 0).Z, 7.5);
    Doc.Undo();
    EXPECT_EQ(M->Net().Point(2, 0).Z, 0.5);
}

// A typed text that is no finite number leaves the point and the undo list alone and the cell shows
// the point again.
TEST_F(MeshFrameTest, ACellRefusesWhatIsNoFiniteNumber) {
    Frame->VBut->click();
    Doc.GetUndoManager().Clear();
    for (const char* Text : {"1e400", "-1E400", "nan", "inf", "abc", ""}) {
        Frame->VkGrid1->item(3, 3)->setText(Text);
        EXPECT_EQ(M->Net().Point(2, 0).Z, 0.5) << Text;
        EXPECT_EQ(Frame->VkGrid1->item(3, 3)->text(), "0.500") << Text;
    }
    EXPECT_FALSE(Doc.CanUndo());
}

TEST_F(MeshFrameTest, InsertModeTakesOneSelectorClick) {
    Frame->UBut->click();
    Frame->AddUBut->click();
    EXPECT_EQ(Frame->GetInsertMode(), 2);
    Frame->MeshSelect(0, 1);
    EXPECT_EQ(M->Net().NumU(), 4);
    EXPECT_EQ(Frame->GetInsertMode(), 0);
    Frame->MeshSelect(2, 2);  // an ordinary click picks the line
    EXPECT_EQ(M->GetEditIndex(), 2);
    EXPECT_EQ(M->Net().NumU(), 4);
}

}  // namespace
}  // namespace sarnova
