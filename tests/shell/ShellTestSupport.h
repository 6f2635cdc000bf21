// Helpers of the shell's window tests.
#pragma once
#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QImage>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <chrono>
#include <thread>

#include <string>
#include <vector>

#include "document/Geometry.h"
#include "shell/ControlsTestSupport.h"

namespace sarnova {

// Lets posted work run and frees what was deleted later, as the event loop would between events.
inline void Settle() {
    for (int I = 0; I < 4; ++I) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// Settles until a shown top-level widget is really on the screen: on a busy X server the window can
// be mapped later than its show() call, and a paint before that never happens.
inline void SettleExposed(QWidget& Widget) {
    for (int I = 0; I < 200; ++I) {
        Settle();
        if (Widget.windowHandle() && Widget.windowHandle()->isExposed()) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// What the screen shows of Widget: the pixels the window system holds, not a frame rendered for the
// grab (which would hide a frame that was never brought up to date).
inline QImage ScreenOf(QWidget& Widget) {
    const QPoint Origin = Widget.mapToGlobal(QPoint(0, 0));
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, Origin.x(), Origin.y(), Widget.width(), Widget.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// A menu's captions in order, "-" for a separator.
inline std::vector<std::string> MenuCaptions(const QMenu* Menu) {
    std::vector<std::string> Captions;
    for (const QAction* Action : Menu->actions())
        Captions.push_back(Action->isSeparator() ? "-" : Action->text().toStdString());
    return Captions;
}

// Opens Top from Window's menu bar with a click, as a user does, and answers the menu (shown, its
// items up to date) without choosing anything.
inline QMenu* OpenMenu(QMainWindow& Window, QMenu* Top) {
    QMenuBar* Bar = Window.menuBar();
    const QPoint At = Bar->actionGeometry(Top->menuAction()).center();
    test::SendMouse(Bar, QEvent::MouseButtonPress, At);
    test::SendMouse(Bar, QEvent::MouseButtonRelease, At);
    Settle();
    return Top;
}

// Clicks the visible item of an open menu whose caption is Caption; false when there is none.
inline bool ClickMenuItem(QMenu* Menu, const std::string& Caption) {
    for (QAction* Action : Menu->actions()) {
        if (!Action->isVisible() || Action->text().toStdString() != Caption) continue;
        const QPoint At = Menu->actionGeometry(Action).center();
        test::SendMouse(Menu, QEvent::MouseMove, At);
        test::SendMouse(Menu, QEvent::MouseButtonPress, At);
        test::SendMouse(Menu, QEvent::MouseButtonRelease, At);
        Settle();
        return true;
    }
    return false;
}

// The captions of a menu's visible items, "-" for a separator.
inline std::vector<std::string> VisibleCaptions(const QMenu* Menu) {
    std::vector<std::string> Captions;
    for (const QAction* Action : Menu->actions())
        if (Action->isVisible()) Captions.push_back(Action->isSeparator() ? "-" : Action->text().toStdString());
    return Captions;
}

// An entity with extents, so that a list keeps it, and a name, so that the view's popup lists it.
class TBoxEntity : public TGeometry {
public:
    explicit TBoxEntity(const std::string& Name = {}) { SetName(Name); }
    TMBox CalculateExtents() override {
        TMBox Box;
        InitEmptyBox(Box);
        ExtendBoxXYZ(Box, 0, 0, 0);
        ExtendBoxXYZ(Box, 1, 1, 1);
        return Box;
    }
};

}  // namespace sarnova
