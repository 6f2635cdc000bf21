// Finding points again by position: the vertex merging of mesh cuts and of vertex-normal smoothing.
// Positions within 1e-4 of each other in every coordinate are one place. Lookup goes through a hash
// of the positions quantised to cells, so that its cost does not grow with the number of positions.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "foundation/VkMaths.h"

namespace sarnova {

// Positions numbered 0, 1, 2 ... in the order added.
class TPositionIndex {
public:
    int Count() const noexcept { return static_cast<int>(Positions.size()); }
    const TMVector& Position(int Number) const { return Positions.at(static_cast<std::size_t>(Number)); }
    // The number of the oldest position within the tolerance of P. When there is none, P is added and
    // gets the next number, Count() before the call. A position that is not finite always gets a
    // number of its own.
    int FindOrAdd(const TMVector& P);
    // Room for N positions without rehashing.
    void Reserve(std::size_t N);
    void Clear();

private:
    struct TCell {
        std::int64_t X, Y, Z;
        bool operator==(const TCell&) const = default;
    };
    struct TCellHash {
        std::size_t operator()(const TCell& C) const noexcept;
    };

    // A cell and the newest position in it; Newest -1 marks a free slot.
    struct TSlot {
        TCell Cell;
        int Newest;
    };
    // The slot of Cell, or the free slot where it would go.
    std::size_t SlotOf(const TCell& C) const;
    void Grow(std::size_t Cells);

    std::vector<TMVector> Positions;
    // The newest position of each cell, in an open-addressed table (a power of two in size, at most
    // half full, so that a lookup reads a slot or two); NextInCell chains to the older positions of
    // the same cell.
    std::vector<TSlot> NewestInCell;
    std::size_t CellCount = 0;
    std::vector<int> NextInCell;
};

}  // namespace sarnova
