#include "entities/ui/ShadingController.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>

#include <algorithm>

#include "platform/qt/QtCanvas.h"

namespace sarnova {

TVkShadingController::TVkShadingController(QWidget* Parent) : TVkBorderControl(Parent) {
    resize(80, 80);
    // Painted whole into the back buffer, so that dragging does not flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TVkShadingController::SetMin(double Value) {
    Scale.Min = Value;
    Scale.ResetClipping();
    update();
}

void TVkShadingController::SetMax(double Value) {
    Scale.Max = Value;
    Scale.ResetClipping();
    update();
}

void TVkShadingController::SetClippingMin(double Value) {
    const double V = Scale.ClampClippingMin(Value);
    if (V == Scale.ClippingMin) return;
    Scale.ClippingMin = V;
    update();
}

void TVkShadingController::SetClippingMax(double Value) {
    const double V = Scale.ClampClippingMax(Value);
    if (V == Scale.ClippingMax) return;
    Scale.ClippingMax = V;
    update();
}

void TVkShadingController::SetShadingMethod(TShadingMethod Value) {
    if (Value == Scale.Method) return;
    Scale.Method = Value;
    Scale.ResetClipping();
    update();
}

void TVkShadingController::SetShadingModel(TColorInterpolationMode Value) {
    if (Value == Scale.Model) return;
    Scale.Model = Value;
    update();
}

void TVkShadingController::paintEvent(QPaintEvent* Event) {
    TVkBorderControl::paintEvent(Event);
    QPainter Canvas(this);
    const QRect Client = contentsRect();
    Canvas.fillRect(Client, palette().color(QPalette::Window));
    const QRect R = Client.adjusted(10, 10, -10, -10);
    if (R.width() <= 0 || R.height() <= 0) return;
    Canvas.setFont(font());
    const QFontMetrics Metrics(font());
    const QColor FontColour = palette().color(QPalette::WindowText);

    // The rows first, so that the ticks can be placed on them.
    Scale.Top = R.top();
    Scale.Bottom = R.bottom();
    Scale.Zero = (Scale.Top + Scale.Bottom) / 2;
    const std::vector<TShadingTick> Ticks = Scale.Ticks();
    int LabelWidth = 0;
    for (const TShadingTick& T : Ticks) LabelWidth = std::max(LabelWidth, Metrics.horizontalAdvance(QString::fromStdString(T.Label)));

    int X = R.left() + LabelWidth + 7;
    Canvas.setPen(FontColour);
    Canvas.drawLine(X, Scale.Top, X, Scale.Bottom);
    for (const TShadingTick& T : Ticks) {
        Canvas.drawLine(X - 5, T.Y, X, T.Y);
        const QString Label = QString::fromStdString(T.Label);
        const int W = Metrics.horizontalAdvance(Label);
        // The label's right edge 2 pixels left of the tick, centred on its row.
        Canvas.drawText(X - 5 - 2 - W, T.Y - Metrics.height() / 2 + Metrics.ascent(), Label);
    }

    X += 5;
    for (int Y = Scale.Top; Y <= Scale.Bottom; ++Y) {
        Canvas.setPen(ColorToQColor(Scale.RowColour(Y)));
        Canvas.drawLine(X, Y, R.right(), Y);
    }
    Canvas.setPen(FontColour);
    Canvas.setBrush(Qt::NoBrush);
    Canvas.drawRect(QRect(QPoint(X, Scale.Top), QPoint(R.right(), R.bottom() + 1)));

    // A marker is a filled triangle whose point touches the band's right edge.
    const auto Marker = [&](double Value, TColor Colour, QRect& Hit) {
        const int Y = Scale.ValueToY(Value) + 1;
        const QColor C = ColorToQColor(Colour);
        Canvas.setPen(C);
        Canvas.setBrush(C);
        Canvas.drawPolygon(QPolygon({QPoint(R.right() + 6, Y + 5), QPoint(R.right() + 6, Y - 5), QPoint(R.right() + 1, Y)}));
        Hit = QRect(QPoint(R.right() - 3, Y - 10), QPoint(R.right() + 10, Y + 10));
    };
    Marker(Scale.ClippingMax, clRed, MaxMarker);
    Marker(Scale.ClippingMin, clBlue, MinMarker);
}

void TVkShadingController::DragTo(int Y) {
    if (DragState == 1)
        SetClippingMax(YToValue(Y));
    else
        SetClippingMin(YToValue(Y));
    if (OnChanging) OnChanging(this);
}

void TVkShadingController::mousePressEvent(QMouseEvent* Event) {
    TVkBorderControl::mousePressEvent(Event);
    const QPoint P = Event->position().toPoint();
    if (MaxMarker.contains(P))
        DragState = 1;
    else if (MinMarker.contains(P))
        DragState = 2;
    else
        return;
    DragTo(P.y());
}

void TVkShadingController::mouseMoveEvent(QMouseEvent* Event) {
    TVkBorderControl::mouseMoveEvent(Event);
    if (DragState != 0) DragTo(Event->position().toPoint().y());
}

void TVkShadingController::mouseReleaseEvent(QMouseEvent* Event) {
    TVkBorderControl::mouseReleaseEvent(Event);
    const bool Dragging = DragState != 0;
    DragState = 0;
    if (Dragging && OnChanged) OnChanged(this);
}

}  // namespace sarnova
