#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <vector>

#include "platform/qt/QtCanvas.h"

namespace sarnova {
namespace {

QImage WhiteImage() {
    QImage Image(100, 100, QImage::Format_RGB32);
    Image.fill(Qt::white);
    return Image;
}

TEST(QtCanvas, MapsColoursRedFirst) {
    EXPECT_EQ(ColorToQColor(clRed), QColor(255, 0, 0));
    EXPECT_EQ(ColorToQColor(RGBColor(1, 2, 3)), QColor(1, 2, 3));
    EXPECT_EQ(ColorToQColor(clNone).alpha(), 0);
}

TEST(QtCanvas, FillsAPolygonWithTheBrushAndOutlinesItWithThePen) {
    QImage Image = WhiteImage();
    {
        QPainter Painter(&Image);
        TQtCanvas Canvas(Painter);
        Canvas.SetPenColor(clBlue);
        Canvas.SetBrushColor(clRed);
        const std::vector<TPoint> Square{{20, 20}, {80, 20}, {80, 80}, {20, 80}};
        Canvas.Polygon(Square);
    }
    EXPECT_EQ(Image.pixelColor(50, 50), QColor(255, 0, 0));
    EXPECT_EQ(Image.pixelColor(20, 50), QColor(0, 0, 255));
    EXPECT_EQ(Image.pixelColor(50, 20), QColor(0, 0, 255));
    EXPECT_EQ(Image.pixelColor(10, 10), QColor(255, 255, 255));
    EXPECT_EQ(Image.pixelColor(90, 50), QColor(255, 255, 255));
}

TEST(QtCanvas, LinesRunFromTheCurrentPosition) {
    QImage Image = WhiteImage();
    {
        QPainter Painter(&Image);
        TQtCanvas Canvas(Painter);
        Canvas.SetPenColor(clLime);
        Canvas.MoveTo(10, 30);
        Canvas.LineTo(90, 30);
        Canvas.LineTo(90, 70);
    }
    EXPECT_EQ(Image.pixelColor(50, 30), QColor(0, 255, 0));
    EXPECT_EQ(Image.pixelColor(90, 50), QColor(0, 255, 0));
    EXPECT_EQ(Image.pixelColor(50, 50), QColor(255, 255, 255));
}

TEST(QtCanvas, TurnedTextRunsUpwardsFromItsCorner) {
    QImage Image(200, 200, QImage::Format_RGB32);
    Image.fill(Qt::white);
    int Width = 0, Height = 0;
    {
        QPainter Painter(&Image);
        TQtCanvas Canvas(Painter);
        Canvas.SetBrushColor(clYellow);  // the text's background shows where the text went
        Canvas.SetFontAngle(900);
        Width = Canvas.TextWidth("Bow");
        Height = Canvas.TextHeight("Bow");
        Canvas.TextOut(100, 150, "Bow");
    }
    ASSERT_GT(Width, 4);
    ASSERT_GT(Height, 4);
    const auto Painted = [&](int X, int Y) { return Image.pixelColor(X, Y) != QColor(Qt::white); };
    // Turned a quarter counter-clockwise, the text's box lies right of the corner and above it.
    EXPECT_TRUE(Painted(100 + Height / 2, 150 - Width / 2));
    EXPECT_FALSE(Painted(100 + Height / 2, 150 + 4));
    EXPECT_FALSE(Painted(100 - 4, 150 - Width / 2));
}

}  // namespace
}  // namespace sarnova
