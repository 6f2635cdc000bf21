// Finding points again by position: the vertex merging of mesh cuts, of vertex-normal smoothing and
// of the edges a curve-network surface cuts from its curves. Positions closer than the index's
// tolerance to each other in every coordinate (1e-4 unless given) are one place. Lookup goes through a
// hash of the positions quantised to cells, so that its cost does not grow with the number of
// positions.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "foundation/VkMaths.h"

namespace sarnova {

// Positions numbered 0, 1, 2 ... in the order added.
class TPositionIndex {
public:
    explicit TPositionIndex(double Tolerance = DefaultTolerance);

    int Count() const noexcept { return static_cast<int>(Positions.size()); }
    const TMVector& Position(int Number) const { return Positions.at(static_cast<std::size_t>(Number)); }
    // The number of the oldest position within the tolerance of P. When there is none, P is added and
    // gets the next number, Count() before the call. A position that is not finite always gets a
    // number of its own.
    int FindOrAdd(const TMVector& P);
    // The same without the record of recent answers, for a caller that remembers the exact positions
    // it has given already and asks about each only once.
    int FindOrAddOnce(const TMVector& P);
    // Room for N positions without rehashing.
    void Reserve(std::size_t N);
    void Clear();

private:
    // A slot of the open-addressed table of cells: the high half of the cell's hash and the newest
    // position of the cell; Newest < 0 marks a free slot. Cells whose hashes agree share a chain,
    // which costs a few comparisons and is never wrong, since candidates are compared exactly.
    struct TSlot {
        std::uint32_t Tag = 0;
        std::int32_t Newest = -1;
    };

    // FindOrAdd for a finite P, through the cells.
    int Lookup(const TMVector& P);
    // The slot of the cell with this hash, or the free slot where it would go.
    TSlot& SlotOf(std::uint64_t Hash);
    // A table of at least N slots (a power of two) holding the cells again.
    void Rehash(std::size_t N);

    double FTolerance;
    // One over the cell size, which is a fixed multiple of the tolerance.
    double FInvCellSize;
    std::vector<TMVector> Positions;
    // The newest position of each cell is in its slot; NextInCell chains to the older ones of the cell.
    std::vector<int> NextInCell;
    std::vector<TSlot> Slots;
    std::size_t UsedSlots = 0;
    // Answers given lately, by a hash of the exact coordinates: a mesh meets each corner again a few
    // facets later, and this small table answers that without reaching into the large ones. An
    // answer never changes, since positions are only added.
    struct TRecent {
        TMVector P;
        int Number = -1;
    };
    std::vector<TRecent> Recent;
};

}  // namespace sarnova
