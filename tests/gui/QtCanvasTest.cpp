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

TEST(QtCanvas, BoxesLeaveOutTheirRightAndBottomEdges) {
    QImage Image = WhiteImage();
    {
        QPainter Painter(&Image);
        TQtCanvas Canvas(Painter);
        Canvas.SetPenColor(clBlue);
        Canvas.SetBrushColor(clRed);
        Canvas.Rectangle({10, 10, 30, 30});
        Canvas.SetBrushColor(clLime);
        Canvas.FillRect({40, 10, 60, 30});
        Canvas.Ellipse({10, 40, 30, 60});
    }
    EXPECT_EQ(Image.pixelColor(10, 10), QColor(0, 0, 255));
    EXPECT_EQ(Image.pixelColor(29, 29), QColor(0, 0, 255));
    EXPECT_EQ(Image.pixelColor(20, 20), QColor(255, 0, 0));
    EXPECT_EQ(Image.pixelColor(30, 20), QColor(255, 255, 255));
    EXPECT_EQ(Image.pixelColor(59, 29), QColor(0, 255, 0));
    EXPECT_EQ(Image.pixelColor(60, 20), QColor(255, 255, 255));
    EXPECT_EQ(Image.pixelColor(20, 50), QColor(0, 255, 0));  // the ellipse is filled with the brush
    EXPECT_EQ(Image.pixelColor(11, 41), QColor(255, 255, 255));
}

TEST(QtCanvas, WidePensClipsAndFontColours) {
    QImage Image = WhiteImage();
    {
        QPainter Painter(&Image);
        TQtCanvas Canvas(Painter);
        Canvas.SetPenColor(clBlack);
        Canvas.SetPenWidth(9);
        Canvas.SetClipRect({0, 0, 50, 100});
        Canvas.MoveTo(10, 20);
        Canvas.LineTo(90, 20);
        Canvas.ResetClip();
        Canvas.SetPenWidth(1);
        Canvas.SetFont({"Arial", 20, fsBold, clRed});
        Canvas.SetBrushColor(clNone);
        Canvas.TextOut(10, 50, "WWW");
        EXPECT_EQ(Canvas.GetFont().Size, 20);
    }
    EXPECT_EQ(Image.pixelColor(30, 24), QColor(0, 0, 0));
    EXPECT_EQ(Image.pixelColor(60, 20), QColor(255, 255, 255));
    bool Red = false, Black = false;
    for (int X = 10; X < 60; ++X)
        for (int Y = 50; Y < 80; ++Y) {
            const QColor C = Image.pixelColor(X, Y);
            Red = Red || (C.red() > 200 && C.green() < 60);
            Black = Black || C == QColor(0, 0, 0);
        }
    EXPECT_TRUE(Red);
    EXPECT_FALSE(Black);
}

}  // namespace
}  // namespace sarnova
