// The Gregory surface's property frame: its grid of the 20 control points, an edited cell as one undo
// step, and the line counts that change the parameter lines at once.
#include <gtest/gtest.h>

#include <QLabel>
#include <QSpinBox>
#include <QTableWidget>

#include <memory>

#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "entities/GGregory.h"
#include "entities/ui/GregoryFrame.h"
#include "foundation/PolyList.h"
#include "surfaces/Gregory.h"

namespace sarnova {
namespace {

class GregoryFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterGeometryClasses();
        RegisterGregoryUi();
        auto Entity = std::make_unique<TGeoGregorySurface>();
        Entity->Surface().Assign(*GregorySurfaceFromCorners({0, 0, 0}, {3, 0, 0}, {3, 3, 1}, {0, 3, 1}));
        G = static_cast<TGeoGregorySurface*>(Doc.Add(std::move(Entity)));
        Doc.GetUndoManager().Clear();
        Frame = dynamic_cast<TGregoryFrame*>(G->CreateFrameFor(&Owner));
        ASSERT_NE(Frame, nullptr);
    }
    void TearDown() override { G->FreeFrame(); }

    QWidget Owner;
    TGeometryInterface Doc;
    TGeoGregorySurface* G = nullptr;
    TGregoryFrame* Frame = nullptr;
};

TEST_F(GregoryFrameTest, GridShowsAndEditsTheControlPoints) {
    EXPECT_EQ(Frame->EntityClass->text(), "GregorySurface");
    ASSERT_EQ(Frame->VkGrid1->rowCount(), 21);
    EXPECT_EQ(Frame->VkGrid1->item(0, 1)->text(), "X");
    EXPECT_EQ(Frame->VkGrid1->item(4, 0)->text(), "3");
    EXPECT_EQ(Frame->VkGrid1->item(4, 1)->text(), "3.000");
    EXPECT_EQ(Frame->VkGrid1->item(16, 3)->text(), "1.000");

    Frame->VkGrid1->item(2, 3)->setText("2,5");
    EXPECT_EQ(G->Surface().ControlPoint(1).Z, 2.5);
    Doc.Undo();
    EXPECT_EQ(static_cast<TGeoGregorySurface&>(Doc.Items(0)).Surface().ControlPoint(1).Z, 0);
}

TEST_F(GregoryFrameTest, LineCountsChangeTheParameterLinesAtOnce) {
    EXPECT_EQ(Frame->VkSpinEdit1->value(), 25);
    Frame->VkSpinEdit1->setValue(4);
    EXPECT_EQ(G->GetNumULine(), 4);
    G->ParametersRepresentation()->Update();
    EXPECT_EQ(G->ParametersRepresentation()->GetPolylines()->Count(), 5 + 26);
    EXPECT_EQ(G->Surface().NumULine(), 25);
}

}  // namespace
}  // namespace sarnova
