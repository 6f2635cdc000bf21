#include <gtest/gtest.h>

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

#include <string>
#include <vector>

#include "foundation/TextUtils.h"
#include "shell/AboutBox.h"
#include "shell/ShellTestSupport.h"
#include "controls/VkPaintFormClient.h"

namespace sarnova {
namespace {

TEST(AboutBox, ShowsTheProductAndItsVersion) {
    std::string Version;
    GetVersionInfoValue(2, Version);
    ASSERT_FALSE(Version.empty());
    TAboutForm Form;
    EXPECT_EQ(Form.windowTitle(), "About Sarnova");
    EXPECT_EQ(Form.Label1->text(), "Sarnova");
    EXPECT_EQ(Form.Label3->text(), "Version:");
    EXPECT_EQ(Form.Label4->text().toStdString(), Version);
    // The build gives no legal notice: the label stays empty.
    EXPECT_EQ(Form.Label2->text(), "");
    EXPECT_EQ(Form.Button1->text(), "Ok");
    EXPECT_TRUE(Form.Button1->isDefault());
    EXPECT_FALSE(Form.Image1->pixmap().isNull());
}

TEST(AboutBox, OkClosesTheModalBox) {
    QString Shown;
    QTimer::singleShot(0, [&Shown] {
        auto* Box = qobject_cast<TAboutForm*>(QApplication::activeModalWidget());
        if (!Box) return;
        Shown = Box->Label4->text();
        Box->Button1->click();
    });
    ShowAboutBox();
    std::string Version;
    GetVersionInfoValue(2, Version);
    EXPECT_EQ(Shown.toStdString(), Version);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

std::vector<QPoint> Corners(const std::vector<QRect>& Tiles) {
    std::vector<QPoint> Found;
    for (const QRect& Tile : Tiles) {
        EXPECT_EQ(Tile.size(), QSize(20, 10));
        Found.push_back(Tile.topLeft());
    }
    return Found;
}

TEST(PaintFormClient, TilesCoverTheAreaInGridOrStaggeredRows) {
    using Points = std::vector<QPoint>;
    EXPECT_EQ(Corners(PaintTiles(20, 10, 45, 15, toGrid)),
              (Points{{0, 0}, {20, 0}, {40, 0}, {0, 10}, {20, 10}, {40, 10}}));
    EXPECT_EQ(Corners(PaintTiles(20, 10, 45, 15, toStagger)),
              (Points{{0, 0}, {20, 0}, {40, 0}, {-10, 10}, {10, 10}, {30, 10}, {50, 10}}));
    // An area smaller than a tile still gets the one tile at the corner.
    EXPECT_EQ(Corners(PaintTiles(20, 10, 5, 5, toStagger)), (Points{{0, 0}}));
    EXPECT_TRUE(PaintTiles(0, 10, 45, 15, toGrid).empty());
}

// Left half red, right half blue: a staggered row shows blue where a grid row shows red.
QPixmap TwoColourTile() {
    QPixmap Tile(20, 10);
    QPainter Painter(&Tile);
    Painter.fillRect(0, 0, 10, 10, Qt::red);
    Painter.fillRect(10, 0, 10, 10, Qt::blue);
    return Tile;
}

TEST(PaintFormClient, PaintsBehindTheDocumentAreaOnlyWithAPictureAndAForm) {
    QMainWindow Frame;
    auto* Area = new QMdiArea;
    Frame.setCentralWidget(Area);
    Frame.resize(300, 200);

    TVkPaintFormClient Empty(&Frame);
    Empty.HookClient();
    EXPECT_FALSE(Empty.IsHooked());
    QObject NotAForm;
    TVkPaintFormClient Orphan(&NotAForm);
    Orphan.SetImage(TwoColourTile());
    Orphan.HookClient();
    EXPECT_FALSE(Orphan.IsHooked());
    TVkPaintFormClient OnAChild(Area);
    OnAChild.SetImage(TwoColourTile());
    OnAChild.HookClient();
    EXPECT_FALSE(OnAChild.IsHooked());

    for (TVkPaintTileOptions Options : {toGrid, toStagger}) {
        auto* Client = new TVkPaintFormClient(&Frame);
        Client->TileOptions = Options;
        Client->SetImage(TwoColourTile());
        Client->HookClient();
        ASSERT_TRUE(Client->IsHooked());
        EXPECT_EQ(Client->PaintedWindow(), Area->viewport());
        Frame.show();
        Settle();
        const QImage Shot = Area->viewport()->grab().toImage();
        EXPECT_EQ(QColor(Shot.pixel(5, 5)), QColor(Qt::red));
        EXPECT_EQ(QColor(Shot.pixel(15, 5)), QColor(Qt::blue));
        EXPECT_EQ(QColor(Shot.pixel(5, 15)), Options == toGrid ? QColor(Qt::red) : QColor(Qt::blue));
        // Freed, the area paints its own background again.
        delete Client;
        const QImage Plain = Area->viewport()->grab().toImage();
        EXPECT_NE(QColor(Plain.pixel(5, 5)), QColor(Qt::red));
    }
}

}  // namespace
}  // namespace sarnova
