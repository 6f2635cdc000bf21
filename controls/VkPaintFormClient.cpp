#include "controls/VkPaintFormClient.h"

#include <QEvent>
#include <QMainWindow>
#include <QMdiArea>
#include <QPainter>

namespace sarnova {

std::vector<QRect> PaintTiles(int W, int H, int ClientWidth, int ClientHeight, TVkPaintTileOptions Options) {
    std::vector<QRect> Tiles;
    if (W <= 0 || H <= 0) return Tiles;
    const int Columns = ClientWidth / W;
    const int Rows = ClientHeight / H;
    for (int Row = 0; Row <= Rows; ++Row) {
        const bool Staggered = Options == toStagger && Row % 2 == 1;
        const int Start = Staggered ? -(W / 2) : 0;
        const int Count = Columns + 1 + (Staggered ? 1 : 0);
        for (int Column = 0; Column < Count; ++Column) Tiles.emplace_back(Start + Column * W, Row * H, W, H);
    }
    return Tiles;
}

TVkPaintFormClient::TVkPaintFormClient(QObject* Owner) : QObject(Owner) {}

TVkPaintFormClient::~TVkPaintFormClient() {
    if (Client) Client->removeEventFilter(this);
}

QWidget* TVkPaintFormClient::OwnerForm() const {
    auto* Form = qobject_cast<QWidget*>(parent());
    return Form && Form->isWindow() ? Form : nullptr;
}

QWidget* TVkPaintFormClient::PaintedWindow() const {
    QWidget* Form = OwnerForm();
    if (auto* Frame = qobject_cast<QMainWindow*>(Form)) {
        if (auto* Area = qobject_cast<QMdiArea*>(Frame->centralWidget())) return Area->viewport();
    }
    return Form;
}

void TVkPaintFormClient::HookClient() {
    QWidget* Window = PaintedWindow();
    if (!Window || Image.width() <= 0 || Image.height() <= 0 || Client) return;
    Client = Window;
    Client->installEventFilter(this);
    Client->update();
}

void TVkPaintFormClient::PaintBackground(QPainter& Canvas) const {
    if (!Client) return;
    for (const QRect& Tile : PaintTiles(Image.width(), Image.height(), Client->width(), Client->height(), TileOptions))
        Canvas.drawPixmap(Tile.topLeft(), Image);
}

// The painted window's own background painting is replaced by the tiles; everything else is its own.
bool TVkPaintFormClient::eventFilter(QObject* Watched, QEvent* Event) {
    if (Watched == Client && Event->type() == QEvent::Paint) {
        QPainter Canvas(Client);
        PaintBackground(Canvas);
        return true;
    }
    return QObject::eventFilter(Watched, Event);
}

}  // namespace sarnova
