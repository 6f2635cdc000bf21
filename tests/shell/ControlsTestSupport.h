// Input for the control tests: mouse and key events sent straight to a widget, and work done on the
// modal dialog that a call is about to show.
#pragma once
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace sarnova::test {

inline void SendMouse(QWidget* Widget, QEvent::Type Type, QPoint Local, Qt::MouseButton Button = Qt::LeftButton,
                      Qt::MouseButtons Buttons = Qt::NoButton) {
    if (Type == QEvent::MouseButtonPress || Type == QEvent::MouseButtonDblClick) Buttons |= Button;
    const QPointF Global = Widget->mapToGlobal(QPointF(Local));
    QMouseEvent Event(Type, QPointF(Local), Global, Type == QEvent::MouseMove ? Qt::NoButton : Button, Buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(Widget, &Event);
}

inline void Click(QWidget* Widget, QPoint Local) {
    SendMouse(Widget, QEvent::MouseButtonPress, Local);
    SendMouse(Widget, QEvent::MouseButtonRelease, Local);
}

inline void SendKey(QWidget* Widget, int Key, const QString& Text = {}) {
    QKeyEvent Press(QEvent::KeyPress, Key, Qt::NoModifier, Text);
    QApplication::sendEvent(Widget, &Press);
    QKeyEvent Release(QEvent::KeyRelease, Key, Qt::NoModifier, Text);
    QApplication::sendEvent(Widget, &Release);
}

// The widget a user's key would reach in Window: the window is made active and Target given the focus
// as a click would, and the key goes to whatever then holds the focus (a proxy, a container), never
// straight to an inner widget the user cannot address.
inline QWidget* FocusIn(QWidget* Window, QWidget* Target) {
    Window->window()->activateWindow();
    Target->setFocus(Qt::MouseFocusReason);
    for (int I = 0; I < 50 && !Window->window()->isActiveWindow(); ++I) QApplication::processEvents();
    QWidget* Focus = QApplication::focusWidget();
    return Focus ? Focus : Window->window()->focusWidget();
}

inline void TypeKey(QWidget* Window, QWidget* Target, int Key, const QString& Text = {}) {
    SendKey(FocusIn(Window, Target), Key, Text);
}

// Runs Action on the modal dialog once it is up (checked from the event loop the dialog runs).
inline void WhenModal(std::function<void(QWidget* Dialog)> Action) {
    auto* Timer = new QTimer;
    Timer->setInterval(10);
    QObject::connect(Timer, &QTimer::timeout, [Timer, Action = std::move(Action)] {
        QWidget* Dialog = QApplication::activeModalWidget();
        if (!Dialog || !Dialog->isVisible()) return;
        Timer->stop();
        Timer->deleteLater();
        Action(Dialog);
    });
    Timer->start();
}

}  // namespace sarnova::test
