#include "foundation/AddressTable.h"

namespace sarnova {

std::size_t TAddressTable::Home(const void* Key) const {
    // Fibonacci hashing: the high bits of the product mix every bit of the address.
    return static_cast<std::size_t>((reinterpret_cast<std::uintptr_t>(Key) * 0x9E3779B97F4A7C15ull) >> Shift);
}

TAddressTable::TEntry* TAddressTable::Find(const void* Key) {
    if (Used == 0 || Key == nullptr) return nullptr;
    const std::size_t Mask = Slots.size() - 1;
    for (std::size_t I = Home(Key); Slots[I].Key != nullptr; I = (I + 1) & Mask)
        if (Slots[I].Key == Key) return &Slots[I];
    return nullptr;
}

void TAddressTable::Resize(std::size_t Size) {
    std::vector<TEntry> Old(Size, TEntry{nullptr, None, None});
    Old.swap(Slots);
    Shift = 64;
    for (std::size_t N = Size; N > 1; N >>= 1) --Shift;
    const std::size_t Mask = Slots.size() - 1;
    for (const TEntry& Entry : Old)
        if (Entry.Key != nullptr) {
            std::size_t I = Home(Entry.Key);
            while (Slots[I].Key != nullptr) I = (I + 1) & Mask;
            Slots[I] = Entry;
        }
}

void TAddressTable::Reserve(std::size_t Count) {
    std::size_t Size = Slots.empty() ? 16 : Slots.size();
    while (Size < 2 * Count) Size *= 2;
    if (Size > Slots.size()) Resize(Size);
}

TAddressTable::TEntry& TAddressTable::Insert(const void* Key) {
    if (TEntry* Found = Find(Key)) return *Found;
    Reserve(Used + 1);
    const std::size_t Mask = Slots.size() - 1;
    std::size_t I = Home(Key);
    while (Slots[I].Key != nullptr) I = (I + 1) & Mask;
    Slots[I] = TEntry{Key, None, None};
    ++Used;
    return Slots[I];
}

void TAddressTable::Erase(TEntry* Entry) {
    const std::size_t Mask = Slots.size() - 1;
    std::size_t I = static_cast<std::size_t>(Entry - Slots.data());
    // Later entries of the probe run move up into the gap unless their own run starts after it, so
    // that every entry stays reachable from its home slot without a mark for erased slots.
    for (std::size_t J = (I + 1) & Mask; Slots[J].Key != nullptr; J = (J + 1) & Mask) {
        const std::size_t H = Home(Slots[J].Key);
        const bool StaysBehindGap = I <= J ? (I < H && H <= J) : (I < H || H <= J);
        if (StaysBehindGap) continue;
        Slots[I] = Slots[J];
        I = J;
    }
    Slots[I] = TEntry{nullptr, None, None};
    --Used;
    // Mostly empty: a quarter full again, so that a walk over the keys costs what they number.
    if (Slots.size() > 64 && 8 * Used < Slots.size()) {
        std::size_t Size = 16;
        while (Size < 4 * Used) Size *= 2;
        Resize(Size);
    }
}

void TAddressTable::Erase(const void* Key) {
    if (TEntry* Entry = Find(Key)) Erase(Entry);
}

void TAddressTable::Clear() {
    std::vector<TEntry>().swap(Slots);
    Used = 0;
    Shift = 64;
}

}  // namespace sarnova
