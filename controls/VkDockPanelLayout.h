// The docking layer's moves on Qt's dock layout: reading an area's arrangement as a tree, docking a
// window beside another, putting one window in another's place, and taking a form out of its host.
#pragma once
#include <QRect>

#include <vector>

#include "controls/VkDockPanelRules.h"

class QDockWidget;
class QMainWindow;
class QWidget;

namespace sarnova {

class TVkDockForm;

// The main window that hosts the docking (free forms float as its dock widgets), or none.
QMainWindow* HostMainWindow();

// Windows docked (not floating) in Area of Window, hidden ones too, top to bottom, left to right.
std::vector<QDockWidget*> DockedInArea(const QMainWindow& Window, Qt::DockWidgetArea Area);
// The arrangement of the visible windows of an area; Leaves receives them, indexed by the leaves.
TVkDockLayoutNode AreaLayout(const QMainWindow& Window, Qt::DockWidgetArea Area, std::vector<QDockWidget*>& Leaves);
// Docks the windows of Tree (indices into Docks) into Area, which holds none of them yet.
void ArrangeInArea(QMainWindow& Window, Qt::DockWidgetArea Area, const TVkDockLayoutNode& Tree,
                   const std::vector<QDockWidget*>& Docks);
// Docks New (taken out of its host already) into Area beside the docked window Target, or along the
// whole area when Target is none or hidden, on side Align. The other windows keep their sizes.
void DockBeside(QMainWindow& Window, Qt::DockWidgetArea Area, QDockWidget* Target, QDockWidget* New, TVkAlign Align);
// New (taken out of its host already) takes the place of the docked window Old, which leaves the
// layout hidden.
void ReplaceDocked(QMainWindow& Window, QDockWidget* Old, QDockWidget* New);
// The docked window of Docks whose rectangle holds ScreenPoint, or none.
QDockWidget* DockedAt(const std::vector<QDockWidget*>& Docks, QPoint ScreenPoint);
// A widget's rectangle on screen.
QRect ScreenRectOf(const QWidget* Widget);
QRect ToQRect(const TRect& R);
TRect FromQRect(const QRect& R);

// Takes Form out of wherever it is docked or floats: out of its site (telling the site), out of an
// edge panel or the host's floating windows. Afterwards it is hidden and in no layout.
void DetachForm(TVkDockForm* Form);
// Floats Form as a free window at ScreenRect (its frame), shown; a tool window's panel takes drops
// again.
void FloatForm(TVkDockForm* Form, const QRect& ScreenRect);
// The rectangle Form floats in when dropped nowhere, its top-left corner at TopLeft.
QRect UndockRect(const TVkDockForm* Form, QPoint TopLeft);

}  // namespace sarnova
