#include "platform/qt/QtMenus.h"

#include <QAction>
#include <QFont>
#include <QMenu>

#include <exception>

#include "foundation/Console.h"
#include "foundation/Keys.h"
#include "document/MacroErrorText.h"

namespace sarnova {

namespace {

// The Qt key of a virtual-key code; 0 for codes without one.
int QtKeyOfVirtualKey(unsigned Code) {
    if ((Code >= 'A' && Code <= 'Z') || (Code >= '0' && Code <= '9')) return static_cast<int>(Code);
    if (Code >= VK_F1 && Code < VK_F1 + 24) return Qt::Key_F1 + static_cast<int>(Code - VK_F1);
    if (Code >= 0x60 && Code <= 0x69) return Qt::Key_0 + static_cast<int>(Code - 0x60);  // numeric pad
    switch (Code) {
        case VK_BACK: return Qt::Key_Backspace;
        case VK_TAB: return Qt::Key_Tab;
        case VK_RETURN: return Qt::Key_Return;
        case VK_ESCAPE: return Qt::Key_Escape;
        case VK_SPACE: return Qt::Key_Space;
        case VK_PRIOR: return Qt::Key_PageUp;
        case VK_NEXT: return Qt::Key_PageDown;
        case VK_END: return Qt::Key_End;
        case VK_HOME: return Qt::Key_Home;
        case VK_LEFT: return Qt::Key_Left;
        case VK_UP: return Qt::Key_Up;
        case VK_RIGHT: return Qt::Key_Right;
        case VK_DOWN: return Qt::Key_Down;
        case VK_INSERT: return Qt::Key_Insert;
        case VK_DELETE: return Qt::Key_Delete;
        case 0x6A: return Qt::Key_Asterisk;
        case 0x6B: return Qt::Key_Plus;
        case 0x6D: return Qt::Key_Minus;
        case 0x6F: return Qt::Key_Slash;
        default: return 0;
    }
}

}  // namespace

void RunMenuCommand(const std::function<void()>& Command) {
    try {
        Command();
    } catch (const std::exception& Error) {
        // A macro run from a menu that failed inside the program is shown in the user's words at its
        // macro line; the program's own wording goes to the log.
        if (const auto Shown = LocatedMacroErrorForUser(Error.what()); Shown && GExceptionHandler) {
            if (GConsole) GConsole->WriteLine(Error.what());
            GExceptionHandler->ShowError(*Shown);
            return;
        }
        if (GExceptionHandler) GExceptionHandler->HandleException(Error);
    }
}

QAction* CreateCommandAction(QWidget& Owner, const char* Name, const char* Caption, const QKeySequence& Shortcut,
                             Qt::ShortcutContext Context, std::function<void()> Execute) {
    auto* Action = new QAction(QString::fromUtf8(Caption), &Owner);
    Action->setObjectName(Name);
    Action->setShortcut(Shortcut);
    Action->setShortcutContext(Context);
    QObject::connect(Action, &QAction::triggered, &Owner, [Execute = std::move(Execute)] { RunMenuCommand(Execute); });
    Owner.addAction(Action);
    return Action;
}

QKeySequence ShortCutToKeySequence(TShortCut ShortCut) {
    const int Key = QtKeyOfVirtualKey(ShortCut & 0xFF);
    if (Key == 0) return {};
    Qt::KeyboardModifiers Modifiers;
    if (ShortCut & scShift) Modifiers |= Qt::ShiftModifier;
    if (ShortCut & scCtrl) Modifiers |= Qt::ControlModifier;
    if (ShortCut & scAlt) Modifiers |= Qt::AltModifier;
    return QKeySequence(QKeyCombination(Modifiers, static_cast<Qt::Key>(Key)));
}

QAction* CreateMenuItemAction(QMenu& Menu, TMenuItem& Item) {
    auto* Action = new QAction(QString::fromStdString(Item.Caption), &Menu);
    if (Item.Caption == "-") {
        // Without a text: a separator with one is drawn as a section heading showing it, and is never
        // folded into a neighbouring separator.
        Action->setText(QString());
        Action->setSeparator(true);
    } else if (Item.Count() > 0) {
        auto* Sub = new QMenu(QString::fromStdString(Item.Caption), &Menu);
        for (int I = 0; I < Item.Count(); ++I) Sub->addAction(CreateMenuItemAction(*Sub, Item.Items(I)));
        Action->setMenu(Sub);
        // The submenu goes with its item, also when the item is taken out of the menu and freed.
        QObject::connect(Action, &QObject::destroyed, Sub, &QObject::deleteLater);
    } else {
        Action->setShortcut(ShortCutToKeySequence(Item.ShortCut));
        Action->setCheckable(Item.Checked);
        Action->setChecked(Item.Checked);
        QObject::connect(Action, &QAction::triggered, &Menu, [&Item] { RunMenuCommand([&Item] { Item.Click(); }); });
    }
    Action->setEnabled(Item.Enabled);
    Action->setVisible(Item.Visible);
    if (Item.Default) {
        QFont Bold = Action->font();
        Bold.setBold(true);
        Action->setFont(Bold);
    }
    return Action;
}

TQtMenuMirror::TQtMenuMirror(QMenu& Menu, TMenuItem& Root, QAction* Before)
    : QObject(&Menu), FMenu(Menu), FRoot(Root), FBefore(Before) {
    Refresh();
    connect(&FMenu, &QMenu::aboutToShow, this, [this] { Refresh(); });
}

void TQtMenuMirror::Refresh() {
    for (QAction* Action : FActions) {
        FMenu.removeAction(Action);
        delete Action;
    }
    FActions.clear();
    for (int I = 0; I < FRoot.Count(); ++I) {
        QAction* Action = CreateMenuItemAction(FMenu, FRoot.Items(I));
        FMenu.insertAction(FBefore, Action);
        FActions.push_back(Action);
    }
}

}  // namespace sarnova
