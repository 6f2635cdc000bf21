// Menus as the model builds them: a plain tree of items with captions, shortcuts, check and enable
// states and click actions. Entities and documents fill it; the GUI turns it into its own menus when
// one is shown, and tests walk it and click items directly.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace sarnova {

// A key with its modifiers, coded as the window system of the original program did: the virtual-key
// code in the low byte, plus scShift, scCtrl and scAlt. 0 is no shortcut.
using TShortCut = std::uint16_t;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;

// A shortcut written as text: modifiers "Shift+", "Ctrl+", "Alt+" (any order, letter case ignored)
// before a letter, a digit, "F1" .. "F24" or a key name (Esc, Enter, Space, Tab, BkSp, Ins, Del,
// Home, End, PgUp, PgDn, Left, Up, Right, Down): "Ctrl+M", "Shift+Ctrl+F5". 0 when not understood.
TShortCut TextToShortCut(std::string_view Text);

class TMenuItem;
// What a click does; the clicked item is passed, so one handler can serve several items.
using TMenuAction = std::function<void(TMenuItem& Sender)>;

// One menu item; an item with children is a submenu, and the root of a popup menu is an item whose
// children are the menu's entries. An item owns its children. The caption "-" makes a separator.
class TMenuItem {
public:
    explicit TMenuItem(std::string ACaption = {}, TMenuAction AOnClick = {});
    virtual ~TMenuItem();
    TMenuItem(const TMenuItem&) = delete;
    TMenuItem& operator=(const TMenuItem&) = delete;

    std::string Caption;
    TShortCut ShortCut = 0;
    bool Checked = false;
    bool Enabled = true;
    bool Visible = true;
    // The default item of a popup menu is shown in bold and runs on a double click.
    bool Default = false;
    // Image in menus and trees; -1 for none.
    int ImageIndex = -1;
    // Free for the item's owner (the recent-file menu keeps the file number here).
    int Tag = 0;
    TMenuAction OnClick;

    // Runs OnClick when one is set; items with behaviour of their own override it.
    virtual void Click();

    int Count() const { return static_cast<int>(Children.size()); }
    // Child by position; throws EError out of range.
    TMenuItem& Items(int Index) const;
    TMenuItem* GetParent() const { return Parent; }
    // Position among the children, -1 when Item is not one of them.
    int IndexOf(const TMenuItem* Item) const;
    // The first child with exactly this caption, nullptr when none.
    TMenuItem* Find(const std::string& ACaption) const;

    // Appends Item (which must not be null) and returns it.
    TMenuItem& Add(std::unique_ptr<TMenuItem> Item);
    // Convenience: appends a new item with this caption and action.
    TMenuItem& Add(const std::string& ACaption, TMenuAction AOnClick = {});
    // Inserts Item at Index (0 .. Count) and returns it.
    TMenuItem& Insert(int Index, std::unique_ptr<TMenuItem> Item);
    // Takes the child out without freeing it; nullptr when Item is not a child.
    std::unique_ptr<TMenuItem> Remove(TMenuItem* Item);
    // Frees the child at Index.
    void Delete(int Index);
    // Frees every child.
    void Clear();

private:
    std::vector<std::unique_ptr<TMenuItem>> Children;
    TMenuItem* Parent = nullptr;
};

}  // namespace sarnova
