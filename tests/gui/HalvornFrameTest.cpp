// The property frame of the ship hull-lines entity: the parameter grid follows the hull type, an edit
// leaves the hull ungenerated or generates it at once, and the status follows the generation.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QTableWidget>
#include <QToolButton>

#include <memory>

#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "hulls/GHalvorn.h"
#include "hulls/ui/HalvornFrame.h"

namespace sarnova {
namespace {

class HalvornFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterGeometryClasses();
        RegisterHalvornFrame();
        H = static_cast<TGeoHalvorn*>(Doc.Add(std::make_unique<TGeoHalvorn>()));
        Frame = dynamic_cast<THalvornFrame*>(H->CreateFrameFor(&Owner));
        ASSERT_NE(Frame, nullptr);
    }
    void TearDown() override { H->FreeFrame(); }
    QString Status() const { return Frame->Panel2->text(); }

    QWidget Owner;
    TGeometryInterface Doc;
    TGeoHalvorn* H = nullptr;
    THalvornFrame* Frame = nullptr;
};

TEST_F(HalvornFrameTest, EditsLeaveTheHullUngeneratedUnlessInteractive) {
    EXPECT_EQ(Frame->VkGrid1->rowCount(), 24);
    EXPECT_EQ(Frame->VkGrid1->item(0, 0)->text(), "100.000");
    EXPECT_EQ(Status(), QString::fromUtf8("\u00AB\u00AB Hull Ungenerated \u00BB\u00BB"));

    Frame->UpdateClick();
    EXPECT_TRUE(H->Generated());
    EXPECT_EQ(Status(), QString::fromUtf8("\u00AB\u00AB Hull Complete \u00BB\u00BB"));

    Frame->EditParameter(11, "-250");  // out of its domain: refused, the hull stays
    EXPECT_TRUE(H->Generated());
    EXPECT_EQ(Frame->VkGrid1->item(11, 0)->text(), "15.000");
    Frame->EditParameter(11, "-100");
    EXPECT_FALSE(H->Generated());
    EXPECT_EQ(Frame->VkGrid1->item(11, 0)->text(), "-100.000");
    EXPECT_TRUE(Frame->SpeedButton1->isEnabled());
    EXPECT_EQ(Status(), QString::fromUtf8("\u00AB\u00AB Hull Ungenerated \u00BB\u00BB"));

    Frame->CheckBox1->setChecked(true);  // ticking it on an ungenerated hull generates at once
    EXPECT_TRUE(H->Generated());
    EXPECT_FALSE(Frame->SpeedButton1->isEnabled());
    Frame->EditParameter(2, "21,5");
    EXPECT_TRUE(H->Generated());
    EXPECT_DOUBLE_EQ(H->Generator().Parameters().Beam, 21.5);

    Frame->HullTypeClick(1);
    EXPECT_EQ(Frame->VkGrid1->rowCount(), 25);
    EXPECT_EQ(Frame->VkGrid1->verticalHeaderItem(23)->text(), "BulbLength");
    EXPECT_TRUE(Frame->RadioButton2->isChecked());
    EXPECT_TRUE(H->Generated());

    Frame->DefaultsClick();
    EXPECT_FALSE(H->Generated());
    EXPECT_EQ(H->Generator().BowShape(), 0);
    EXPECT_EQ(Frame->VkGrid1->rowCount(), 24);
}

}  // namespace
}  // namespace sarnova

namespace sarnova {
namespace {

TEST_F(HalvornFrameTest, AnEditIsOneUndoStep) {
    Doc.GetUndoManager().Clear();
    Frame->EditParameter(2, "24");
    auto* Edited = dynamic_cast<TGeoHalvorn*>(&Doc.Items(0));
    ASSERT_NE(Edited, nullptr);
    EXPECT_DOUBLE_EQ(Edited->Generator().Parameters().Beam, 24);
    Doc.Undo();
    auto* Back = dynamic_cast<TGeoHalvorn*>(&Doc.Items(0));
    ASSERT_NE(Back, nullptr);
    EXPECT_DOUBLE_EQ(Back->Generator().Parameters().Beam, 20);
    H = Back;
}

}  // namespace
}  // namespace sarnova
