#include "controls/VkColorPanel.h"

#include <QColorDialog>
#include <QMouseEvent>
#include <QPainter>

#include "platform/qt/QtCanvas.h"

namespace sarnova {

TVkColorPanel::TVkColorPanel(QWidget* Parent) : QWidget(Parent) { resize(21, 21); }

void TVkColorPanel::SetColor(TColor Value) {
    Color = Value;
    update();
}

void TVkColorPanel::Click() {
    const QColor Chosen = QColorDialog::getColor(ColorToQColor(Color), this);
    if (!Chosen.isValid()) return;
    Color = RGBColor(Chosen.red(), Chosen.green(), Chosen.blue());
    repaint();
    if (OnChange) OnChange(this);
}

void TVkColorPanel::paintEvent(QPaintEvent*) {
    QPainter Canvas(this);
    const QRect R = rect();
    Canvas.fillRect(R, ColorToQColor(isEnabled() ? Color : clBtnFace));
    // A one-pixel sunken edge.
    Canvas.setPen(ColorToQColor(clBtnShadow));
    Canvas.drawLine(R.topLeft(), R.topRight());
    Canvas.drawLine(R.topLeft(), R.bottomLeft());
    Canvas.setPen(ColorToQColor(clBtnHighlight));
    Canvas.drawLine(R.bottomLeft(), R.bottomRight());
    Canvas.drawLine(R.topRight(), R.bottomRight());
}

void TVkColorPanel::mousePressEvent(QMouseEvent* Event) {
    if (Event->button() == Qt::LeftButton) Pressed = true;
    QWidget::mousePressEvent(Event);
}

void TVkColorPanel::mouseReleaseEvent(QMouseEvent* Event) {
    const bool Clicked = Event->button() == Qt::LeftButton && Pressed && rect().contains(Event->position().toPoint());
    if (Event->button() == Qt::LeftButton) Pressed = false;
    QWidget::mouseReleaseEvent(Event);
    if (Clicked) Click();
}

void TVkColorPanel::changeEvent(QEvent* Event) {
    QWidget::changeEvent(Event);
    if (Event->type() == QEvent::EnabledChange) update();
}

}  // namespace sarnova
