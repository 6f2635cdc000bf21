// Fixed-size slots carved from large blocks, for the small objects the program makes by the million
// (points, facets): no allocator header per object, and objects made one after another lie side by
// side in memory.
#pragma once
#include <cstddef>
#include <memory>
#include <new>
#include <vector>

namespace sarnova {

// Bytes of the pools of this thread: slots handed out, and blocks taken from the heap for them. Heap
// measurements count the slots in use rather than the blocks: a freed slot is used again.
struct TSlotPoolBytes {
    std::size_t InUse = 0;
    std::size_t Reserved = 0;
};

inline TSlotPoolBytes& SlotPoolBytes() {
    thread_local TSlotPoolBytes Bytes;
    return Bytes;
}

// Blocks of slots handed out one by one; freed slots wait in a list for the next request. The blocks
// stay for the life of the program (reachable from here), as a heap would keep them too.
template <std::size_t Size, std::size_t Align>
class TSlotPool {
public:
    // One pool per thread (an object freed on another thread than it was made on only changes
    // pools), never destroyed: objects held by static objects are freed after every thread-local is
    // gone.
    static TSlotPool& Local() {
        thread_local TSlotPool* Pool = new TSlotPool;
        return *Pool;
    }

    void* Take() {
        if (FFree == nullptr) {
            FBlocks.emplace_back(new TSlot[BlockSlots]);  // left uninitialised: each slot is written when taken
            SlotPoolBytes().Reserved += sizeof(TSlot) * BlockSlots;
            TSlot* Block = FBlocks.back().get();
            for (std::size_t I = BlockSlots; I-- > 0;) {
                Block[I].Next = FFree;
                FFree = &Block[I];
            }
        }
        TSlot* Slot = FFree;
        FFree = Slot->Next;
        SlotPoolBytes().InUse += sizeof(TSlot);
        return Slot;
    }

    void Give(void* P) noexcept {
        auto* Slot = static_cast<TSlot*>(P);
        Slot->Next = FFree;
        FFree = Slot;
        SlotPoolBytes().InUse -= sizeof(TSlot);
    }

private:
    union TSlot {
        TSlot* Next;
        alignas(Align) unsigned char Storage[Size];
    };
    static constexpr std::size_t BlockSlots = 4096;

    TSlot* FFree = nullptr;
    std::vector<std::unique_ptr<TSlot[]>> FBlocks;
};

// The class-specific operator new and delete of T through the pool of its size; objects of another
// size (descendants with fields of their own) go to the global heap. Under the address sanitizer
// every object goes to the heap, so that a use after free is caught.
template <class T>
void* PooledNew(std::size_t Size) {
#if defined(__SANITIZE_ADDRESS__)
    return ::operator new(Size);
#else
    if (Size != sizeof(T)) return ::operator new(Size);
    return TSlotPool<sizeof(T), alignof(T)>::Local().Take();
#endif
}

template <class T>
void PooledDelete(void* P, std::size_t Size) noexcept {
    if (P == nullptr) return;
#if defined(__SANITIZE_ADDRESS__)
    ::operator delete(P, Size);
#else
    if (Size != sizeof(T))
        ::operator delete(P, Size);
    else
        TSlotPool<sizeof(T), alignof(T)>::Local().Give(P);
#endif
}

}  // namespace sarnova
