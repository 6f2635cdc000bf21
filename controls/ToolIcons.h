// The program's own toolbar and menu icons: SVG drawings kept in the resources (controls/icons), drawn
// with the palette's button-text colour where the drawing uses black, so that one set reads on light
// and dark themes alike. Accents keep their colours.
#pragma once
#include <QIcon>

#include <utility>
#include <vector>

class QAction;
class QToolBar;

namespace sarnova {

// The icon named Name (the file name without ".svg"), with pixmaps for 16, 24, 32 and 48 pixels; an
// empty icon for a name that has no drawing.
QIcon ToolIcon(const char* Name);

// Gives Action the icon Name, and a tooltip of its caption (or the hint it has) followed by its shortcut
// when it has one.
void SetToolIcon(QAction* Action, const char* Name);

// A toolbar button and the name of its icon.
using TToolButton = std::pair<QAction*, const char*>;
// Adds the groups to Bar, a separator between two groups, each action with its icon (SetToolIcon).
void AddToolGroups(QToolBar& Bar, const std::vector<std::vector<TToolButton>>& Groups);

}  // namespace sarnova
