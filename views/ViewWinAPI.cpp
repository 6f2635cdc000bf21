#include "views/ViewWinAPI.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QPrinter>
#include <QWheelEvent>

#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtKeys.h"
#include "platform/qt/QtPrinter.h"
#include "platform/qt/QtMenus.h"

namespace sarnova {

TViewWinAPI::TViewWinAPI(QWidget* Parent) : TVkScrollControl(Parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The control's own move event is wanted also without a button held.
    setMouseTracking(true);
    resize(80, 80);
    UpdateCursor();
}

TViewWinAPI::~TViewWinAPI() = default;

int TViewWinAPI::ClientWidth() const { return ClientRect().width(); }

int TViewWinAPI::ClientHeight() const { return ClientRect().height(); }

void TViewWinAPI::Invalidate() {
    FrameStale = true;
    update();
}

void TViewWinAPI::SetCursor(TCursor Value) {
    TViewWinAPICore::SetCursor(Value);
    setCursor(QCursor(QtCursorShape(Value)));
}

void TViewWinAPI::ScrollBarsChanged() {
    auto Apply = [](TScrollBarController& Controller, const TWinAPIScrollBar& Bar) {
        Controller.SetPageSize(Bar.PageSize);
        Controller.SetPosition(Bar.Position);
        Controller.SmallChange = Bar.SmallChange;
        Controller.SetLargeChange(Bar.LargeChange);
    };
    Apply(HorzScrollBar(), GetScrollBar(0));
    Apply(VertScrollBar(), GetScrollBar(1));
}

void TViewWinAPI::DoFirstShow() {
    TVkScrollControl::DoFirstShow();
    for (TScrollBarController* Bar : {&HorzScrollBar(), &VertScrollBar()}) {
        Bar->SetMin(0);
        Bar->SetMax(WinAPIScrollRange);
    }
    // Positions written before the range existed were cut to the empty range.
    ScrollBarsChanged();
}

void TViewWinAPI::DoScroll(int Bar, int Position) {
    RunMenuCommand([&] { ScrollTo(Bar, Position); });
}

void TViewWinAPI::DoEndScroll(int, int) { EndScroll(); }

void TViewWinAPI::paintEvent(QPaintEvent* Event) {
    TVkScrollControl::paintEvent(Event);
    const QRect Client = ClientRect();
    if (Client.width() <= 0 || Client.height() <= 0) return;
    if (FrameStale || Frame.size() != Client.size()) {
        Frame = QImage(Client.size(), QImage::Format_RGB32);
        QPainter FramePainter(&Frame);
        TQtCanvas Canvas(FramePainter, LineColor, GetColor());
        try {
            Paint(Canvas);
            PaintFailed = false;
        } catch (const std::exception& Error) {
            // Reported once, and after the paint: a message box must not open inside it.
            if (!PaintFailed) {
                PaintFailed = true;
                const std::string Message = Error.what();
                QMetaObject::invokeMethod(
                    this, [Message] { RunMenuCommand([&] { throw EError(Message); }); }, Qt::QueuedConnection);
            }
        }
        FrameStale = false;
    }
    QPainter Painter(this);
    Painter.drawImage(Client.topLeft(), Frame);
    if (IsRubberBanding()) {
        // Inverted under a dotted outline, so it shows on any picture.
        const TRect& B = GetRubberRect();
        Painter.setClipRect(Client);
        Painter.translate(Client.topLeft());
        Painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
        Painter.setPen(QPen(Qt::black, 0, Qt::DotLine));
        Painter.setBrush(Qt::NoBrush);
        Painter.drawRect(QRect(QPoint(B.Left, B.Top), QPoint(B.Right, B.Bottom)).normalized());
    }
}

void TViewWinAPI::resizeEvent(QResizeEvent* Event) {
    TVkScrollControl::resizeEvent(Event);
    FrameStale = true;
    if (OnResize) RunMenuCommand([this] { OnResize(this); });
}

TPoint TViewWinAPI::ClientPixel(const QPointF& Position) const {
    const QPoint P = Position.toPoint() - ClientRect().topLeft();
    return {P.x(), P.y()};
}

void TViewWinAPI::mousePressEvent(QMouseEvent* Event) {
    TMouseButton Button;
    if (!QtMouseButton(Event->button(), Button)) return;
    const TPoint P = ClientPixel(Event->position());
    RunMenuCommand([&] { MouseDown(Button, QtShiftState(Event->modifiers(), Event->buttons()), P.X, P.Y); });
}

void TViewWinAPI::mouseMoveEvent(QMouseEvent* Event) {
    const TPoint P = ClientPixel(Event->position());
    RunMenuCommand([&] { MouseMove(QtShiftState(Event->modifiers(), Event->buttons()), P.X, P.Y); });
}

void TViewWinAPI::mouseReleaseEvent(QMouseEvent* Event) {
    TMouseButton Button;
    if (!QtMouseButton(Event->button(), Button)) return;
    const TPoint P = ClientPixel(Event->position());
    RunMenuCommand([&] { MouseUp(Button, QtShiftState(Event->modifiers(), Event->buttons()), P.X, P.Y); });
}

void TViewWinAPI::wheelEvent(QWheelEvent* Event) {
    const int Delta = Event->angleDelta().y();
    RunMenuCommand([&] { MouseWheel(Delta); });
    Event->accept();
}

void TViewWinAPI::Print(const std::string& Title, QPrinter& Printer) {
    PrintJob(Printer, Title.empty() ? GExeName + " - Viewport" : Title,
             [this](ICanvas& Canvas, int Width, int Height) { PrintPage(Canvas, Width, Height); });
}

void TViewWinAPI::Print(const std::string& Title) { Print(Title, GetPrinter()); }

}  // namespace sarnova
