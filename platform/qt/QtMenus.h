// Menu trees built by the model (entities, the class registry, the file manager) shown as Qt menus.
// A mirror keeps a section of a Qt menu equal to the children of one tree item: it builds the actions
// at once, so that their shortcuts work, and again each time the menu opens, so that checks, enabled
// states and added or removed items show.
#pragma once
#include <QKeySequence>
#include <QObject>

#include <functional>
#include <vector>

#include "platform/Menu.h"

class QAction;
class QMenu;
class QWidget;

namespace sarnova {

// Runs a menu or toolbar command: an error is shown by the program's exception handler and the
// program carries on, as the event loop may not see it.
void RunMenuCommand(const std::function<void()>& Command);

// A command of Owner's own: an action named Name, added to Owner, whose shortcut works in Context and
// whose trigger runs Execute through RunMenuCommand.
QAction* CreateCommandAction(QWidget& Owner, const char* Name, const char* Caption, const QKeySequence& Shortcut,
                             Qt::ShortcutContext Context, std::function<void()> Execute);

// The Qt key sequence of a menu shortcut (virtual-key code plus scShift, scCtrl, scAlt); an empty
// sequence for 0 and for keys that have no Qt counterpart.
QKeySequence ShortCutToKeySequence(TShortCut ShortCut);

// A new action in Menu for Item, not yet added to it: a separator for the caption "-", a submenu for
// an item with children, else an action whose trigger runs Item.Click. Item must outlive the action.
// An error of the click goes to the program's exception handler, as for every menu command.
QAction* CreateMenuItemAction(QMenu& Menu, TMenuItem& Item);

class TQtMenuMirror : public QObject {
public:
    // Mirrors Root's children into Menu, in front of Before, or at the end when Before is nullptr.
    // Root must outlive the mirror; the mirror lives as long as Menu.
    TQtMenuMirror(QMenu& Menu, TMenuItem& Root, QAction* Before = nullptr);

    // Replaces the mirrored actions by new ones for the tree as it is now.
    void Refresh();
    // The actions of the mirrored section, in menu order.
    const std::vector<QAction*>& Actions() const { return FActions; }

private:
    QMenu& FMenu;
    TMenuItem& FRoot;
    QAction* FBefore;
    std::vector<QAction*> FActions;
};

}  // namespace sarnova
