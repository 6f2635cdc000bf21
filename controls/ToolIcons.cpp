#include "controls/ToolIcons.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QSvgRenderer>
#include <QToolBar>

// The resources of a static library have to be registered by hand; this must run outside any namespace.
static void RegisterIconResources() {
    static const bool Done = [] {
        Q_INIT_RESOURCE(icons);
        return true;
    }();
    (void)Done;
}

namespace sarnova {

QIcon ToolIcon(const char* Name) {
    RegisterIconResources();
    QFile File(QString(":/icons/%1.svg").arg(Name));
    if (!File.open(QIODevice::ReadOnly)) return {};
    QByteArray Drawing = File.readAll();
    const QColor Ink = QApplication::palette().color(QPalette::Active, QPalette::ButtonText);
    Drawing.replace("#000000", Ink.name().toLatin1());
    QSvgRenderer Renderer(Drawing);
    if (!Renderer.isValid()) return {};
    QIcon Icon;
    for (int Size : {16, 24, 32, 48}) {
        QPixmap Pixmap(Size, Size);
        Pixmap.fill(Qt::transparent);
        QPainter Painter(&Pixmap);
        Painter.setRenderHint(QPainter::Antialiasing);
        Renderer.render(&Painter);
        Painter.end();
        Icon.addPixmap(Pixmap);
    }
    return Icon;
}

void SetToolIcon(QAction* Action, const char* Name) {
    Action->setIcon(ToolIcon(Name));
    // The caption without its accelerator and dots, or the hint the action was given.
    QString Tip = Action->toolTip();
    if (!Action->shortcut().isEmpty()) Tip += " (" + Action->shortcut().toString(QKeySequence::NativeText) + ")";
    Action->setToolTip(Tip);
}

void AddToolGroups(QToolBar& Bar, const std::vector<std::vector<TToolButton>>& Groups) {
    for (std::size_t I = 0; I < Groups.size(); ++I) {
        if (I > 0) Bar.addSeparator();
        for (auto [Action, Icon] : Groups[I]) {
            SetToolIcon(Action, Icon);
            Bar.addAction(Action);
        }
    }
}

}  // namespace sarnova
