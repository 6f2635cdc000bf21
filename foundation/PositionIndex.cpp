#include "foundation/PositionIndex.h"

#include <algorithm>
#include <cmath>

namespace sarnova {

namespace {

// Cells are wider than the tolerance, so that a position needs a neighbouring cell only when it lies
// near that side of its own: most lookups read one to three cells.
constexpr double CellSize = 4 * DefaultTolerance;
// Where a position lies closer than the tolerance to a side of its cell; a little wide against the
// rounding of the division.
constexpr double NearLow = 0.26;
constexpr double NearHigh = 0.74;
// Far coordinates share clamped cells: slower, never wrong, since candidates are compared exactly.
// The clamp keeps a neighbour's number inside 64 bits.
constexpr double CellLimit = 4.0e18;

bool IsFinite(const TMVector& V) { return std::isfinite(V.X) && std::isfinite(V.Y) && std::isfinite(V.Z); }

// The cell numbers on one axis that may hold a position matching the coordinate: its own first, then
// the neighbour on each side it lies near. Returns how many were written.
int CandidateCells(double Coordinate, std::int64_t Out[3]) {
    const double Q = Coordinate / CellSize;
    const double Floor = std::floor(Q);
    const std::int64_t Own = static_cast<std::int64_t>(std::clamp(Floor, -CellLimit, CellLimit));
    const double Fraction = Q - Floor;
    int N = 0;
    Out[N++] = Own;
    if (Fraction < NearLow) Out[N++] = Own - 1;
    if (Fraction > NearHigh) Out[N++] = Own + 1;
    return N;
}

}  // namespace

std::size_t TPositionIndex::TCellHash::operator()(const TCell& C) const noexcept {
    auto Mix = [](std::uint64_t H) {
        H ^= H >> 33;
        H *= 0xff51afd7ed558ccdULL;
        H ^= H >> 33;
        return H;
    };
    return Mix(static_cast<std::uint64_t>(C.X) ^ Mix(static_cast<std::uint64_t>(C.Y) ^ Mix(static_cast<std::uint64_t>(C.Z))));
}

std::size_t TPositionIndex::SlotOf(const TCell& C) const {
    const std::size_t Mask = NewestInCell.size() - 1;
    std::size_t Slot = TCellHash()(C) & Mask;
    while (NewestInCell[Slot].Newest >= 0 && !(NewestInCell[Slot].Cell == C)) Slot = (Slot + 1) & Mask;
    return Slot;
}

void TPositionIndex::Grow(std::size_t Cells) {
    std::size_t Size = 64;
    while (Size < 2 * Cells) Size *= 2;
    if (Size <= NewestInCell.size()) return;
    std::vector<TSlot> Old(Size, TSlot{{0, 0, 0}, -1});
    Old.swap(NewestInCell);
    for (const TSlot& S : Old)
        if (S.Newest >= 0) NewestInCell[SlotOf(S.Cell)] = S;
}

int TPositionIndex::FindOrAdd(const TMVector& P) {
    const bool Hashed = IsFinite(P);
    std::int64_t Xs[3], Ys[3], Zs[3];
    if (Hashed && CellCount > 0) {
        const int NX = CandidateCells(P.X, Xs);
        const int NY = CandidateCells(P.Y, Ys);
        const int NZ = CandidateCells(P.Z, Zs);
        int Found = -1;
        for (int I = 0; I < NX; ++I)
            for (int J = 0; J < NY; ++J)
                for (int K = 0; K < NZ; ++K) {
                    const TSlot& S = NewestInCell[SlotOf({Xs[I], Ys[J], Zs[K]})];
                    for (int G = S.Newest; G >= 0; G = NextInCell[static_cast<std::size_t>(G)])
                        if ((Found < 0 || G < Found) &&
                            VectorsEqualWithin(Positions[static_cast<std::size_t>(G)], P, DefaultTolerance))
                            Found = G;
                }
        if (Found >= 0) return Found;
    } else if (Hashed) {
        CandidateCells(P.X, Xs);
        CandidateCells(P.Y, Ys);
        CandidateCells(P.Z, Zs);
    }
    const int Number = Count();
    Positions.push_back(P);
    NextInCell.push_back(-1);
    if (Hashed) {
        Grow(CellCount + 1);
        TSlot& S = NewestInCell[SlotOf({Xs[0], Ys[0], Zs[0]})];
        if (S.Newest >= 0) {
            NextInCell.back() = S.Newest;
        } else {
            S.Cell = {Xs[0], Ys[0], Zs[0]};
            ++CellCount;
        }
        S.Newest = Number;
    }
    return Number;
}

void TPositionIndex::Reserve(std::size_t N) {
    Positions.reserve(N);
    NextInCell.reserve(N);
    Grow(N);
}

void TPositionIndex::Clear() {
    Positions.clear();
    NewestInCell.clear();
    CellCount = 0;
    NextInCell.clear();
}

}  // namespace sarnova
