#include "platform/Menu.h"

#include <algorithm>
#include <cctype>

#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "foundation/Keys.h"

namespace sarnova {

TMenuItem::TMenuItem(std::string ACaption, TMenuAction AOnClick)
    : Caption(std::move(ACaption)), OnClick(std::move(AOnClick)) {}

TMenuItem::~TMenuItem() = default;

void TMenuItem::Click() {
    // A handler may free the menu that holds this item (an entity deleting itself from its own popup):
    // run a copy, so the handler's own storage outlives the call.
    const TMenuAction Action = OnClick;
    if (Action) Action(*this);
}

TMenuItem& TMenuItem::Items(int Index) const {
    if (Index < 0 || Index >= Count())
        throw EError("TMenuItem.Items - Index " + std::to_string(Index) + " out of bounds");
    return *Children[static_cast<std::size_t>(Index)];
}

int TMenuItem::IndexOf(const TMenuItem* Item) const {
    for (std::size_t I = 0; I < Children.size(); ++I)
        if (Children[I].get() == Item) return static_cast<int>(I);
    return -1;
}

TMenuItem* TMenuItem::Find(const std::string& ACaption) const {
    for (const auto& Child : Children)
        if (Child->Caption == ACaption) return Child.get();
    return nullptr;
}

TMenuItem& TMenuItem::Add(std::unique_ptr<TMenuItem> Item) { return Insert(Count(), std::move(Item)); }

TMenuItem& TMenuItem::Add(const std::string& ACaption, TMenuAction AOnClick) {
    return Add(std::make_unique<TMenuItem>(ACaption, std::move(AOnClick)));
}

TMenuItem& TMenuItem::Insert(int Index, std::unique_ptr<TMenuItem> Item) {
    if (!Item) throw EError("TMenuItem.Insert - no item");
    if (Index < 0 || Index > Count())
        throw EError("TMenuItem.Insert - Index " + std::to_string(Index) + " out of bounds");
    Item->Parent = this;
    auto Position = Children.insert(Children.begin() + Index, std::move(Item));
    return **Position;
}

std::unique_ptr<TMenuItem> TMenuItem::Remove(TMenuItem* Item) {
    const int Index = IndexOf(Item);
    if (Index < 0) return nullptr;
    auto Taken = std::move(Children[static_cast<std::size_t>(Index)]);
    Children.erase(Children.begin() + Index);
    Taken->Parent = nullptr;
    return Taken;
}

void TMenuItem::Delete(int Index) {
    if (Index < 0 || Index >= Count())
        throw EError("TMenuItem.Delete - Index " + std::to_string(Index) + " out of bounds");
    Children.erase(Children.begin() + Index);
}

void TMenuItem::Clear() {
    // Last first, so that a child's destructor never sees its later siblings moved.
    while (!Children.empty()) Children.pop_back();
}

TShortCut TextToShortCut(std::string_view Text) {
    std::string Rest = UpperCase(Text);
    TShortCut Modifiers = 0;
    for (;;) {
        if (Rest.rfind("SHIFT+", 0) == 0) {
            Modifiers |= scShift;
            Rest.erase(0, 6);
        } else if (Rest.rfind("CTRL+", 0) == 0) {
            Modifiers |= scCtrl;
            Rest.erase(0, 5);
        } else if (Rest.rfind("ALT+", 0) == 0) {
            Modifiers |= scAlt;
            Rest.erase(0, 4);
        } else {
            break;
        }
    }
    TKeyCode Key = 0;
    if (Rest.size() == 1 && std::isalnum(static_cast<unsigned char>(Rest[0]))) {
        Key = static_cast<TKeyCode>(Rest[0]);
    } else if (Rest.size() >= 2 && Rest.size() <= 3 && Rest[0] == 'F' &&
               std::all_of(Rest.begin() + 1, Rest.end(), [](char C) { return C >= '0' && C <= '9'; })) {
        const int N = std::stoi(Rest.substr(1));
        if (N >= 1 && N <= 24) Key = static_cast<TKeyCode>(VK_F1 + N - 1);
    } else {
        static const std::pair<const char*, TKeyCode> Names[] = {
            {"ESC", VK_ESCAPE}, {"ENTER", VK_RETURN}, {"SPACE", VK_SPACE}, {"TAB", VK_TAB},
            {"BKSP", VK_BACK},  {"INS", VK_INSERT},   {"DEL", VK_DELETE},  {"HOME", VK_HOME},
            {"END", VK_END},    {"PGUP", VK_PRIOR},   {"PGDN", VK_NEXT},   {"LEFT", VK_LEFT},
            {"UP", VK_UP},      {"RIGHT", VK_RIGHT},  {"DOWN", VK_DOWN}};
        for (const auto& [Name, Code] : Names)
            if (Rest == Name) Key = Code;
    }
    return Key == 0 ? 0 : static_cast<TShortCut>(Modifiers | Key);
}

}  // namespace sarnova
