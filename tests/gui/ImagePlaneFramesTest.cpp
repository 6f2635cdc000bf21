// The image plane's property frame and its rescale dialog: what they show, and their edits.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "../DialogsScope.h"
#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "entities/ui/FrameParts.h"
#include "entities/ui/ImageFrame.h"
#include "entities/ui/ImagePlaneGL.h"
#include "entities/ui/ScaleImagePlaneForm.h"
#include "controls/VkColorPanel.h"
#include "controls/VkSpin.h"

namespace sarnova {
namespace {

class ImagePlaneFramesTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterGeometryClasses();
        RegisterImagePlaneUi();
        Image = static_cast<TGeoImagePlane*>(Doc.Add(std::make_unique<TGeoImagePlane>()));
        TOpenGLImage Pixels(200, 100);
        Image->ImagePlane().Image().Compress(Pixels);
        Image->ImagePlane().ImageExtents().SetExtents({0, 0, 4, 2});
        Frame = dynamic_cast<TImageFrame*>(Image->CreateFrameFor(&Owner));
    }
    void TearDown() override { Image->FreeFrame(); }

    QWidget Owner;
    TGeometryInterface Doc;
    TGeoImagePlane* Image = nullptr;
    TImageFrame* Frame = nullptr;
};

TEST_F(ImagePlaneFramesTest, ShowsThePlaneTheExtentsAndTheSwitches) {
    ASSERT_NE(Frame, nullptr);
    EXPECT_EQ(Frame->EntityClass->text(), "Image Plane");
    EXPECT_FALSE(Frame->NameColor->ColorPanel->isEnabled());
    EXPECT_TRUE(Frame->RadioButtons[2]->isChecked());
    EXPECT_FALSE(Frame->RadioButtons[0]->isChecked());
    EXPECT_FLOAT_EQ(Frame->ExtentEdits[2]->GetValue(), 4);
    EXPECT_FLOAT_EQ(Frame->VkSpinEdit10->GetValue(), 1);
    EXPECT_FALSE(Frame->CheckBox2->isEnabled());
    EXPECT_FALSE(Frame->BitBtn1->isEnabled());

    Frame->CheckBox1->setChecked(true);
    EXPECT_TRUE(Image->GetShowSelection());
    EXPECT_TRUE(Frame->CheckBox2->isEnabled());
    EXPECT_TRUE(Frame->BitBtn1->isEnabled());

    // An X plane through the typed offset.
    Frame->VkSpinEdit1->SetValue(1.5f);
    Frame->RadioButtons[0]->click();
    EXPECT_EQ(Image->ImagePlane().Plane().Normal, (TMVector{1, 0, 0}));
    EXPECT_FLOAT_EQ(static_cast<float>(Image->ImagePlane().Plane().Distance), 1.5f);
    EXPECT_TRUE(Doc.GetModified());
}

TEST_F(ImagePlaneFramesTest, ExtentsMoveThroughTheHandlesSoTheLockApplies) {
    ASSERT_NE(Frame, nullptr);
    Frame->CheckBox3->setChecked(true);
    ASSERT_TRUE(Image->ImagePlane().LockAspectRatio);
    Frame->ExtentEdits[2]->SetValue(6);  // max u
    const TImageExtents& E = Image->ImagePlane().ImageExtents();
    EXPECT_DOUBLE_EQ(E.MaxU(), 6);
    EXPECT_DOUBLE_EQ(E.MaxV(), 3) << "the lock keeps the proportions";
    EXPECT_FLOAT_EQ(Frame->ExtentEdits[3]->GetValue(), 3);

    Frame->VkSpinEdit10->SetValue(2);
    EXPECT_NEAR(Image->ImagePlane().PixelAspectRatio(), 2, 1e-6);

    Frame->WindowEdits[3]->SetValue(0.5f);
    EXPECT_DOUBLE_EQ(Image->ImagePlane().SelectionWindow().MaxV(), 0.5);
}

TEST_F(ImagePlaneFramesTest, RescaleDialogTakesFourNumbers) {
    test::TDialogsScope Dialogs;
    TImagePlane& Plane = Image->ImagePlane();
    Plane.SelectionWindow().SetExtents({1, 0.5, 3, 1.5});
    TScaleImagePlaneForm Form(Plane, nullptr);
    EXPECT_EQ(Form.windowTitle(), "Rescale Image Plane to Selection Window Dimensions");
    EXPECT_TRUE(Form.Edit1->text().isEmpty());
    Form.Edit1->setText("10");
    Form.Edit2->setText("15");
    Form.Edit3->setText("ten");
    Form.Edit4->setText("20");
    Form.Accept();
    ASSERT_EQ(Dialogs.Dialogs.Shown.size(), 1u);
    // Shown as every error the program reports.
    EXPECT_EQ(Dialogs.Dialogs.Shown[0].Text, "Unable to convert text to number.");
    EXPECT_EQ(Form.result(), 0) << "still open";
    EXPECT_DOUBLE_EQ(Plane.ImageExtents().MaxU(), 4);

    Form.Edit3->setText(" 10 ");
    Form.Accept();
    EXPECT_EQ(Form.result(), QDialog::Accepted);
    EXPECT_DOUBLE_EQ(Plane.ImageExtents().MinU(), 5);
    EXPECT_DOUBLE_EQ(Plane.ImageExtents().MaxV(), 17.5);
}

}  // namespace
}  // namespace sarnova
