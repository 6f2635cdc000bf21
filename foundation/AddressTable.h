// A hash table keyed by address, for bookkeeping about a million objects at a time (the undo
// manager's relocations, the selected entities of a list): one flat array probed linearly, with no
// allocation per key, at most half full and shrunk when mostly empty.
#pragma once
#include <climits>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace sarnova {

class TAddressTable {
public:
    // Each key carries two numbers that the owner uses as it likes.
    struct TEntry {
        const void* Key;
        std::uint32_t First;
        std::uint32_t Last;
    };
    static constexpr std::uint32_t None = UINT32_MAX;

    bool Empty() const { return Used == 0; }
    std::size_t Count() const { return Used; }
    // nullptr when Key has no entry. The null address is never a key.
    TEntry* Find(const void* Key);
    const TEntry* Find(const void* Key) const { return const_cast<TAddressTable*>(this)->Find(Key); }
    bool Contains(const void* Key) const { return Find(Key) != nullptr; }
    // Key's entry, made with First and Last None when it had none. Key must not be null. Other
    // entries may move: an entry found before is stale.
    TEntry& Insert(const void* Key);
    // Removes the entry that Find or Insert returned; other entries may move.
    void Erase(TEntry* Entry);
    // Removes Key's entry, if any.
    void Erase(const void* Key);
    void Clear();
    // Room for Count keys without growing.
    void Reserve(std::size_t Count);
    // Calls Visit(Key) for every key, in no particular order; Visit must not change the table.
    template <class F>
    void ForEachKey(F Visit) const {
        for (const TEntry& Entry : Slots)
            if (Entry.Key != nullptr) Visit(Entry.Key);
    }

private:
    std::size_t Home(const void* Key) const;
    void Resize(std::size_t Size);

    // Key nullptr: a free slot. The size is a power of two (or zero).
    std::vector<TEntry> Slots;
    std::size_t Used = 0;
    int Shift = 64;
};

}  // namespace sarnova
