#include <gtest/gtest.h>

#include <QColorDialog>
#include <QImage>

#include <string>

#include "ControlsTestSupport.h"
#include "platform/qt/QtCanvas.h"
#include "controls/ColCombo.h"
#include "shell/ShellTestSupport.h"
#include "controls/VkColorPanel.h"

namespace sarnova {
namespace {

TEST(ColorComboBox, ListsTheSixteenNamedColours) {
    TColorComboBox Combo;
    ASSERT_EQ(Combo.count(), 16);
    const char* const Names[] = {"Black", "Maroon", "Green",  "Olive", "Navy", "Purple",  "Teal", "Gray",
                                 "Silver", "Red",   "Lime",   "Yellow", "Blue", "Fuchsia", "Aqua", "White"};
    for (int I = 0; I < 16; ++I) {
        EXPECT_EQ(Combo.itemText(I).toStdString(), Names[I]);
        EXPECT_EQ(Combo.ItemColor(I), StandardColorTable[static_cast<std::size_t>(I)]);
    }
    Combo.SetSelectedColor(clRed);
    EXPECT_EQ(Combo.currentIndex(), 9);
    EXPECT_EQ(Combo.currentText(), "Red");
    Combo.SetSelectedColor(RGBColor(1, 2, 3));
    EXPECT_EQ(Combo.currentIndex(), -1);
    EXPECT_EQ(Combo.GetSelectedColor(), RGBColor(1, 2, 3));
}

TEST(ColorComboBox, OwnerSuppliesMoreColoursAndNames) {
    TColorComboBox Combo;
    Combo.OnGetColorNum = [](QObject*, int& Num) { Num = 18; };
    Combo.OnGetColor = [](QObject*, int Index, TColor& Color, std::string& Name) {
        if (Index == 0) Name = "Ink";
        if (Index == 16) Color = RGBColor(10, 20, 30), Name = "Custom";
        if (Index == 17) Color = clRed, Name = "Signal";
    };
    Combo.SetSelectedColor(RGBColor(10, 20, 30));
    Combo.PopulateItems();
    ASSERT_EQ(Combo.count(), 18);
    EXPECT_EQ(Combo.itemText(0), "Ink");
    EXPECT_EQ(Combo.currentIndex(), 16);
    // Of two items of one colour, the last is selected.
    Combo.SetSelectedColor(clRed);
    EXPECT_EQ(Combo.currentIndex(), 17);
}

TEST(ColorComboBox, ChoosingAnItemTakesItsColour) {
    TColorComboBox Combo;
    int Clicks = 0;
    Combo.OnClick = [&](QObject*) { ++Clicks; };
    Combo.setCurrentIndex(12);
    Combo.Click();
    EXPECT_EQ(Combo.GetSelectedColor(), clBlue);
    EXPECT_EQ(Clicks, 1);
    Combo.SetPictureWidth(-4);
    EXPECT_EQ(Combo.GetPictureWidth(), 32);
    Combo.SetPictureWidth(20);
    EXPECT_EQ(Combo.GetPictureWidth(), 20);
}

QRgb CentrePixel(QWidget& Widget) {
    const QImage Image = Widget.grab().toImage();
    return Image.pixel(Image.width() / 2, Image.height() / 2) & 0xFFFFFF;
}

TEST(ColorPanel, ShowsItsColourOrTheButtonFaceWhenDisabled) {
    TVkColorPanel Panel;
    EXPECT_EQ(Panel.GetColor(), clWhite);
    EXPECT_EQ(Panel.size(), QSize(21, 21));
    Panel.SetColor(clRed);
    EXPECT_EQ(CentrePixel(Panel), ColorToQColor(clRed).rgb() & 0xFFFFFF);
    Panel.setEnabled(false);
    EXPECT_EQ(CentrePixel(Panel), ColorToQColor(clBtnFace).rgb() & 0xFFFFFF);
    EXPECT_EQ(Panel.GetColor(), clRed);
}

TEST(ColorPanel, ClickPicksAColourInTheColourDialog) {
    TVkColorPanel Panel;
    Panel.SetColor(clNavy);
    int Changes = 0;
    Panel.OnChange = [&](QObject*) { ++Changes; };
    test::WhenModal([](QWidget* Dialog) {
        auto* Colours = qobject_cast<QColorDialog*>(Dialog);
        ASSERT_NE(Colours, nullptr);
        EXPECT_EQ(Colours->currentColor(), QColor(0, 0, 0x80));
        Colours->setCurrentColor(QColor(255, 128, 0));
        Colours->accept();
    });
    test::Click(&Panel, {10, 10});
    EXPECT_EQ(Panel.GetColor(), RGBColor(255, 128, 0));
    EXPECT_EQ(Changes, 1);

    test::WhenModal([](QWidget* Dialog) { qobject_cast<QDialog*>(Dialog)->reject(); });
    Panel.Click();
    EXPECT_EQ(Panel.GetColor(), RGBColor(255, 128, 0));
    EXPECT_EQ(Changes, 1);
}

}  // namespace
}  // namespace sarnova
