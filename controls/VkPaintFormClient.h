// Paints a picture, tiled, behind the document windows of a form's document area (or behind the form
// itself when it has none).
#pragma once
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QRect>

#include <vector>

class QPainter;
class QWidget;

namespace sarnova {

enum TVkPaintTileOptions { toGrid = 0, toStagger = 1 };

// Where tiles of W x H go on a client area of ClientWidth x ClientHeight: rows of tiles from the
// top-left corner, one row and one column more than fit whole; with toStagger every odd row starts
// half a tile to the left and has one tile more.
std::vector<QRect> PaintTiles(int W, int H, int ClientWidth, int ClientHeight, TVkPaintTileOptions Options);

class TVkPaintFormClient : public QObject {
    Q_OBJECT
public:
    explicit TVkPaintFormClient(QObject* Owner);
    // Gives the painted window its own background back.
    ~TVkPaintFormClient() override;

    const QPixmap& GetImage() const { return Image; }
    void SetImage(const QPixmap& Value) { Image = Value; }
    TVkPaintTileOptions TileOptions = toGrid;

    // Takes over the background of the painted window; only when the owner is a form and the picture
    // is not empty.
    void HookClient();
    bool IsHooked() const { return Client != nullptr; }
    // The owner's document area when it has one, else the owner form itself; none when the owner is
    // not a form.
    QWidget* PaintedWindow() const;
    // The tiles over the painted window's whole client area.
    void PaintBackground(QPainter& Canvas) const;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    QWidget* OwnerForm() const;

    QPixmap Image;
    QPointer<QWidget> Client;
};

}  // namespace sarnova
