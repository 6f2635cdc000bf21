#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPalette>

#include "controls/ToolIcons.h"

namespace sarnova {
namespace {

// The mean lightness (0 to 255) of the opaque pixels of the icon at Size.
double InkLightness(const QIcon& Icon, int Size) {
    const QImage Image = Icon.pixmap(Size).toImage().convertToFormat(QImage::Format_ARGB32);
    double Sum = 0;
    int Count = 0;
    for (int Y = 0; Y < Image.height(); ++Y)
        for (int X = 0; X < Image.width(); ++X) {
            const QColor C = Image.pixelColor(X, Y);
            if (C.alpha() < 200) continue;
            Sum += C.lightness();
            ++Count;
        }
    return Count ? Sum / Count : -1;
}

TEST(ToolIcons, AreDrawnInTheThemesTextColourAtEverySize) {
    const QPalette Kept = QApplication::palette();
    for (bool Dark : {false, true}) {
        QPalette Theme = Kept;
        Theme.setColor(QPalette::Button, Dark ? QColor(40, 40, 40) : QColor(240, 240, 240));
        Theme.setColor(QPalette::ButtonText, Dark ? QColor(235, 235, 235) : QColor(20, 20, 20));
        QApplication::setPalette(Theme);
        // The arrow is all ink; the other drawings mix ink and the blue or red accents.
        for (int Size : {16, 24}) {
            const double Lightness = InkLightness(ToolIcon("select"), Size);
            ASSERT_GE(Lightness, 0) << Size;
            if (Dark)
                EXPECT_GT(Lightness, 180) << Size;
            else
                EXPECT_LT(Lightness, 60) << Size;
        }
    }
    QApplication::setPalette(Kept);
    EXPECT_TRUE(ToolIcon("no-such-drawing").isNull());
}

}  // namespace
}  // namespace sarnova
