#include "platform/Menu.h"

#include <algorithm>

#include "foundation/Errors.h"

namespace sarnova {

TMenuItem::TMenuItem(std::string ACaption, TMenuAction AOnClick)
    : Caption(std::move(ACaption)), OnClick(std::move(AOnClick)) {}

TMenuItem::~TMenuItem() = default;

void TMenuItem::Click() {
    if (OnClick) OnClick(*this);
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

}  // namespace sarnova
