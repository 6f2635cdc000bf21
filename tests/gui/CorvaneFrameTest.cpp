// The property frame of the yacht hull-lines entity: edits leave the hull ungenerated unless updates
// are interactive, the entity keeps that choice, and "Defaults" generates at once when it is made.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QTableWidget>
#include <QToolButton>

#include <memory>

#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "foundation/NumberText.h"
#include "hulls/GCorvane.h"
#include "hulls/ui/CorvaneFrame.h"

namespace sarnova {
namespace {

class CorvaneFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterGeometryClasses();
        RegisterCorvaneFrame();
        H = static_cast<TGeoCorvane*>(Doc.Add(std::make_unique<TGeoCorvane>()));
        Frame = dynamic_cast<TCorvaneFrame*>(H->CreateFrameFor(&Owner));
        ASSERT_NE(Frame, nullptr);
    }
    void TearDown() override { H->FreeFrame(); }
    bool ShowsUngenerated() const {
        return Frame->Panel2->text() == QString::fromUtf8("\u00AB\u00AB Hull Ungenerated \u00BB\u00BB");
    }

    QWidget Owner;
    TGeometryInterface Doc;
    TGeoCorvane* H = nullptr;
    TCorvaneFrame* Frame = nullptr;
};

TEST_F(CorvaneFrameTest, EditsLeaveTheHullUngeneratedUnlessInteractive) {
    EXPECT_EQ(Frame->VkGrid1->rowCount(), 19);
    EXPECT_EQ(Frame->VkGrid1->verticalHeaderItem(0)->text(), "Loa");
    EXPECT_EQ(Frame->VkGrid1->item(0, 0)->text(), "12.000");
    EXPECT_TRUE(ShowsUngenerated());
    EXPECT_TRUE(Frame->SpeedButton1->isEnabled());

    Frame->UpdateClick();
    EXPECT_TRUE(H->Generated());
    EXPECT_FALSE(Frame->SpeedButton1->isEnabled());
    EXPECT_EQ(Frame->Panel2->text(), QString::fromUtf8("\u00AB\u00AB Hull Complete \u00BB\u00BB"));
    // The table keeps the typed Cp, which the surface has.
    EXPECT_EQ(Frame->VkGrid1->item(TCorvane::pCp, 0)->text().toStdString(), "0.570");
    EXPECT_NEAR(H->Generator().AchievedCp(), 0.57, 0.002);

    Frame->EditParameter(TCorvane::pBwl, "3,05");
    EXPECT_FALSE(H->Generated());
    EXPECT_DOUBLE_EQ(H->Generator().Parameter(TCorvane::pBwl), 3.05);
    EXPECT_TRUE(Frame->SpeedButton1->isEnabled());
    EXPECT_TRUE(ShowsUngenerated());

    Frame->CheckBox1->setChecked(true);  // ticking it on an ungenerated hull generates at once
    EXPECT_TRUE(H->Generated());
    EXPECT_TRUE(H->InteractiveUpdate);
    Frame->EditParameter(TCorvane::pLoa, "12.5");
    EXPECT_TRUE(H->Generated());
    EXPECT_NEAR(H->Generator().GetExtents().Max.X, 12.5, 1e-6);

    Frame->DefaultsClick();
    EXPECT_TRUE(H->Generated());
    EXPECT_EQ(H->Generator().Parameter(TCorvane::pLoa), 12);
    EXPECT_NEAR(H->Generator().GetExtents().Max.X, 12, 1e-6);

    // A new frame of the entity shows the choice the entity kept.
    H->FreeFrame();
    Frame = dynamic_cast<TCorvaneFrame*>(H->CreateFrameFor(&Owner));
    ASSERT_NE(Frame, nullptr);
    EXPECT_TRUE(Frame->CheckBox1->isChecked());
    EXPECT_FALSE(Frame->SpeedButton1->isEnabled());

    Frame->CheckBox1->setChecked(false);
    EXPECT_FALSE(H->InteractiveUpdate);
    Frame->DefaultsClick();
    EXPECT_FALSE(H->Generated());
    EXPECT_TRUE(Frame->SpeedButton1->isEnabled());
}

}  // namespace
}  // namespace sarnova
