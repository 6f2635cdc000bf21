#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>

#include <string>
#include <vector>

#include "foundation/Keys.h"
#include "platform/qt/QtMenus.h"

namespace sarnova {
namespace {

std::vector<std::string> Captions(const QMenu& Menu) {
    std::vector<std::string> Result;
    for (QAction* Action : Menu.actions())
        Result.push_back(Action->isSeparator() ? "-" : Action->text().toStdString());
    return Result;
}

TEST(ShortCutToKeySequence, GivesTheQtKeyWithItsModifiers) {
    const std::pair<TShortCut, QKeySequence> Cases[] = {
        {0, QKeySequence()},
        {'A' | scCtrl, QKeySequence("Ctrl+A")},
        {'7' | scShift | scAlt, QKeySequence("Shift+Alt+7")},
        {VK_F2, QKeySequence("F2")},
        {VK_DELETE | scCtrl, QKeySequence("Ctrl+Del")},
        {VK_F1 + 11, QKeySequence("F12")},
        {0x60 + 4, QKeySequence("4")},
        {VK_SHIFT, QKeySequence()},  // a modifier alone is no shortcut
    };
    for (const auto& [ShortCut, Keys] : Cases) EXPECT_EQ(ShortCutToKeySequence(ShortCut), Keys) << ShortCut;
}

TEST(QtMenuMirror, ShowsTheTreeAndFollowsItWhenTheMenuOpens) {
    QMenu Menu;
    QAction* Last = Menu.addAction("Last");
    TMenuItem Root;
    int Clicks = 0;
    TMenuItem& Run = Root.Add("&Run", [&](TMenuItem&) { ++Clicks; });
    Run.ShortCut = 'R' | scCtrl;
    Root.Add("-");
    TMenuItem& Sub = Root.Add("Sub");
    Sub.Add("Inner").Checked = true;
    Root.Add("Off").Enabled = false;
    Root.Add("Hidden").Visible = false;

    TQtMenuMirror Mirror(Menu, Root, Last);
    EXPECT_EQ(Captions(Menu), (std::vector<std::string>{"&Run", "-", "Sub", "Off", "Hidden", "Last"}));
    const QList<QAction*> Actions = Menu.actions();
    EXPECT_EQ(Actions[0]->shortcut().toString().toStdString(), "Ctrl+R");
    ASSERT_NE(Actions[2]->menu(), nullptr);
    EXPECT_TRUE(Actions[2]->menu()->actions().at(0)->isChecked());
    EXPECT_FALSE(Actions[3]->isEnabled());
    EXPECT_FALSE(Actions[4]->isVisible());
    Actions[0]->trigger();
    EXPECT_EQ(Clicks, 1);

    // The tree changes; the next opening shows it as it is now.
    Root.Delete(1);
    Root.Add("New");
    Sub.Items(0).Checked = false;
    emit Menu.aboutToShow();
    EXPECT_EQ(Captions(Menu), (std::vector<std::string>{"&Run", "Sub", "Off", "Hidden", "New", "Last"}));
    EXPECT_FALSE(Menu.actions().at(1)->menu()->actions().at(0)->isChecked());
    EXPECT_EQ(Mirror.Actions().size(), 5u);
}

TEST(QtMenuMirror, SeparatorsAreLinesAndAnEmptyGroupLeavesNoGap) {
    // As the Create menu is built: every group opens with a separator, also one that adds nothing.
    QMenu Menu;
    TMenuItem Root;
    for (const char* Caption : {"-", "Box", "Plane", "-", "Polyline", "-", "-", "Frames..."}) Root.Add(Caption);
    TQtMenuMirror Mirror(Menu, Root);
    Menu.popup(QPoint(10, 10));
    QApplication::processEvents();
    int Lines = 0;
    for (QAction* Action : Menu.actions()) {
        if (!Action->isSeparator()) continue;
        EXPECT_TRUE(Action->text().isEmpty()) << "a separator with a text is drawn as a heading";
        if (!Menu.actionGeometry(Action).isEmpty()) ++Lines;
    }
    Menu.close();
    // The leading separator and the second of the pair fold away.
    EXPECT_EQ(Lines, 2);
}

}  // namespace
}  // namespace sarnova
