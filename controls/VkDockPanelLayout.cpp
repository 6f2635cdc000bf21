#include "controls/VkDockPanelLayout.h"

#include <QDockWidget>
#include <QMainWindow>

#include <algorithm>

#include "controls/VkDockPanel.h"
#include "controls/VkDockPanelManager.h"
#include "controls/VkDockPanelSites.h"

namespace sarnova {

QMainWindow* HostMainWindow() { return GDockingManager ? GDockingManager->MainWindow.data() : nullptr; }

QRect ScreenRectOf(const QWidget* Widget) { return QRect(Widget->mapToGlobal(QPoint(0, 0)), Widget->size()); }

QRect ToQRect(const TRect& R) { return QRect(R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top); }

TRect FromQRect(const QRect& R) { return {R.x(), R.y(), R.x() + R.width(), R.y() + R.height()}; }

std::vector<QDockWidget*> DockedInArea(const QMainWindow& Window, Qt::DockWidgetArea Area) {
    std::vector<QDockWidget*> Docked;
    for (QDockWidget* Dock : Window.findChildren<QDockWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!Dock->isFloating() && Window.dockWidgetArea(Dock) == Area) Docked.push_back(Dock);
    }
    std::stable_sort(Docked.begin(), Docked.end(), [](const QDockWidget* A, const QDockWidget* B) {
        const QPoint PA = A->geometry().topLeft(), PB = B->geometry().topLeft();
        return PA.y() != PB.y() ? PA.y() < PB.y() : PA.x() < PB.x();
    });
    return Docked;
}

TVkDockLayoutNode AreaLayout(const QMainWindow& Window, Qt::DockWidgetArea Area, std::vector<QDockWidget*>& Leaves) {
    Leaves.clear();
    std::vector<TRect> Rects;
    for (QDockWidget* Dock : DockedInArea(Window, Area)) {
        if (Dock->isHidden()) continue;
        Leaves.push_back(Dock);
        Rects.push_back(FromQRect(Dock->geometry()));
    }
    return Rects.empty() ? TVkDockLayoutNode{} : DockLayoutFromRects(Rects);
}

namespace {

void ShowDocked(QDockWidget* Dock) {
    if (Dock->isFloating()) Dock->setFloating(false);
    Dock->show();
}

// Lays out the first leaves of Node's children in a row first, then each child within its place, so
// that every split cuts the right part of the tree.
void PlaceChildren(QMainWindow& Window, const TVkDockLayoutNode& Node, const std::vector<QDockWidget*>& Docks) {
    if (Node.IsLeaf()) return;
    const Qt::Orientation Orientation = Node.Horizontal ? Qt::Horizontal : Qt::Vertical;
    for (size_t I = 1; I < Node.Children.size(); ++I) {
        QDockWidget* Next = Docks[static_cast<size_t>(Node.Children[I].FirstLeaf())];
        Window.splitDockWidget(Docks[static_cast<size_t>(Node.Children[I - 1].FirstLeaf())], Next, Orientation);
        ShowDocked(Next);
    }
    for (const TVkDockLayoutNode& Child : Node.Children) PlaceChildren(Window, Child, Docks);
}

}  // namespace

void ArrangeInArea(QMainWindow& Window, Qt::DockWidgetArea Area, const TVkDockLayoutNode& Tree,
                   const std::vector<QDockWidget*>& Docks) {
    QDockWidget* First = Docks[static_cast<size_t>(Tree.FirstLeaf())];
    Window.addDockWidget(Area, First);
    ShowDocked(First);
    PlaceChildren(Window, Tree, Docks);
}

void DockBeside(QMainWindow& Window, Qt::DockWidgetArea Area, QDockWidget* Target, QDockWidget* New, TVkAlign Align) {
    const std::vector<QDockWidget*> Docked = DockedInArea(Window, Area);
    std::vector<QDockWidget*> Leaves;
    TVkDockLayoutNode Tree = AreaLayout(Window, Area, Leaves);
    if (Leaves.empty()) {
        Window.addDockWidget(Area, New);
        ShowDocked(New);
        return;
    }
    // Qt cannot put a window before another, nor along a whole nested area: the area is laid out
    // anew from its tree, and its windows get their sizes back.
    std::vector<QSize> Sizes;
    for (const QDockWidget* Dock : Leaves) Sizes.push_back(Dock->size());
    const auto Found = std::find(Leaves.begin(), Leaves.end(), Target);
    const int TargetIndex = Found == Leaves.end() ? -1 : static_cast<int>(Found - Leaves.begin());
    const bool Horizontal = Align == alLeft || Align == alRight;
    if (TargetIndex >= 0) {
        QSize& Split = Sizes[static_cast<size_t>(TargetIndex)];
        Horizontal ? Split.setWidth(Split.width() / 2) : Split.setHeight(Split.height() / 2);
        const QSize Half = Split;
        Sizes.push_back(Half);
    }
    Tree = InsertDockLeaf(Tree, TargetIndex, static_cast<int>(Leaves.size()), Align);
    Leaves.push_back(New);
    for (QDockWidget* Dock : Docked) Window.removeDockWidget(Dock);
    ArrangeInArea(Window, Area, Tree, Leaves);
    for (QDockWidget* Dock : Docked) {
        if (std::find(Leaves.begin(), Leaves.end(), Dock) == Leaves.end()) Window.addDockWidget(Area, Dock);
    }
    if (TargetIndex < 0) return;  // a side of the whole area: Qt shares the room out
    QList<QDockWidget*> Resized;
    QList<int> Widths, Heights;
    for (size_t I = 0; I < Sizes.size(); ++I) {
        Resized.push_back(Leaves[I]);
        Widths.push_back(Sizes[I].width());
        Heights.push_back(Sizes[I].height());
    }
    Window.resizeDocks(Resized, Widths, Qt::Horizontal);
    Window.resizeDocks(Resized, Heights, Qt::Vertical);
}

void ReplaceDocked(QMainWindow& Window, QDockWidget* Old, QDockWidget* New) {
    const Qt::DockWidgetArea Area = Window.dockWidgetArea(Old);
    const Qt::Orientation Along =
        (Area == Qt::LeftDockWidgetArea || Area == Qt::RightDockWidgetArea) ? Qt::Vertical : Qt::Horizontal;
    const QSize Size = Old->size();
    Window.splitDockWidget(Old, New, Along);
    ShowDocked(New);
    Window.removeDockWidget(Old);
    Window.resizeDocks({New}, {Size.width()}, Qt::Horizontal);
    Window.resizeDocks({New}, {Size.height()}, Qt::Vertical);
}

QDockWidget* DockedAt(const std::vector<QDockWidget*>& Docks, QPoint ScreenPoint) {
    for (QDockWidget* Dock : Docks) {
        if (!Dock->isHidden() && ScreenRectOf(Dock).contains(ScreenPoint)) return Dock;
    }
    return nullptr;
}

void DetachForm(TVkDockForm* Form) {
    if (TVkDockSiteForm* Site = Form->HostSite()) {
        Site->RemoveClient(Form);
        Site->ClientLeft(Form);
        return;
    }
    if (auto* Window = qobject_cast<QMainWindow*>(Form->parentWidget())) {
        Window->removeDockWidget(Form);
    } else {
        Form->hide();
    }
}

void FloatForm(TVkDockForm* Form, const QRect& ScreenRect) {
    if (Form->HostSite() || !Form->isFloating()) DetachForm(Form);
    QMainWindow* Host = HostMainWindow();
    if (Host && Form->parentWidget() != Host) Form->setParent(Host);
    if (!Form->isFloating()) Form->setFloating(true);
    Form->setGeometry(ScreenRect);
    Form->show();
    if (TVkDockPanel* Panel = FirstDockPanel(Form)) Panel->SetDockSite(true);
}

QRect UndockRect(const TVkDockForm* Form, QPoint TopLeft) {
    return QRect(TopLeft, QSize(Form->UndockWidth, Form->UndockHeight));
}

}  // namespace sarnova
