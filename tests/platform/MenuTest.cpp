#include "platform/Menu.h"

#include <gtest/gtest.h>

#include "foundation/Errors.h"
#include "foundation/Keys.h"

namespace sarnova {
namespace {

TEST(MenuTest, ItemsCanBeTakenOutWithoutBeingFreedAndClicked) {
    TMenuItem Root("Popup");
    int Clicks = 0;
    Root.Add("First", [&](TMenuItem& Sender) { Clicks += Sender.Caption == "First" ? 1 : 100; });
    TMenuItem& Second = Root.Add("Second");
    Second.Add("Child");
    Root.Insert(0, std::make_unique<TMenuItem>("-"));
    EXPECT_EQ(Root.IndexOf(&Second), 2);
    EXPECT_EQ(Second.GetParent(), &Root);

    std::unique_ptr<TMenuItem> Taken = Root.Remove(&Second);
    ASSERT_EQ(Taken.get(), &Second);
    EXPECT_EQ(Taken->GetParent(), nullptr);
    EXPECT_EQ(Taken->Items(0).Caption, "Child");
    EXPECT_EQ(Root.Remove(&Second), nullptr);

    Root.Find("First")->Click();
    Root.Items(0).Click();  // no action: nothing happens
    EXPECT_EQ(Clicks, 1);
    Root.Delete(0);
    EXPECT_EQ(Root.Count(), 1);
    EXPECT_THROW(Root.Items(1), EError);
    EXPECT_THROW(Root.Insert(3, std::make_unique<TMenuItem>()), EError);
    Root.Clear();
    EXPECT_EQ(Root.Count(), 0);
}

TEST(MenuTest, ShortcutsAreReadFromTheirText) {
    const std::pair<const char*, TShortCut> Cases[] = {
        {"Ctrl+M", scCtrl | 'M'},     {"shift+ctrl+f5", scShift | scCtrl | (VK_F1 + 4)},
        {"Alt+7", scAlt | '7'},       {"Del", VK_DELETE},
        {"Ctrl+PgDn", scCtrl | VK_NEXT}, {"F24", VK_F1 + 23},
        {"F25", 0},                   {"Ctrl+", 0},
        {"Ctrl+Mx", 0},               {"", 0}};
    for (auto [Text, Code] : Cases) EXPECT_EQ(TextToShortCut(Text), Code) << Text;
}

}  // namespace
}  // namespace sarnova
