// Mouse input for the window tests, sent as the window system would.
#pragma once
#include <QApplication>
#include <QMouseEvent>
#include <QPoint>
#include <QWidget>

#include "shell/ShellTestSupport.h"
#include "views/OpenGLView.h"

namespace sarnova {

// A mouse event at a pixel of the widget.
inline void SendMouse(QWidget& Widget, QEvent::Type Type, QPoint Pixel, Qt::MouseButton Button,
                      Qt::MouseButtons Held, Qt::KeyboardModifiers Keys = Qt::NoModifier) {
    QMouseEvent Event(Type, QPointF(Pixel), Widget.mapToGlobal(QPointF(Pixel)), Button, Held, Keys);
    QApplication::sendEvent(&Widget, &Event);
}

// A move to the pixel, then a press and release of the button there.
inline void Click(QWidget& Widget, QPoint At, Qt::MouseButton Button) {
    SendMouse(Widget, QEvent::MouseMove, At, Qt::NoButton, Qt::NoButton);
    Settle();
    SendMouse(Widget, QEvent::MouseButtonPress, At, Button, Button);
    SendMouse(Widget, QEvent::MouseButtonRelease, At, Button, Qt::NoButton);
    Settle();
}

// The pixel of a world point (anything with X, Y and Z) in the view.
template <class TPointLike>
QPoint PixelOf(TOpenGLView& View, const TPointLike& P) {
    const TPoint S = View.WorldToScreen(P.X, P.Y, P.Z);
    return {S.X, S.Y};
}

}  // namespace sarnova
