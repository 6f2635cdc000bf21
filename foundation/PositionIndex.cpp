#include "foundation/PositionIndex.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace sarnova {

namespace {

// Cells are much wider than the tolerance, so that a position needs a neighbouring cell only when it
// lies near that side of its own: most lookups read one or two cells. Meshes and cuts rarely hold
// distinct positions this close together, so a cell seldom holds more than one.
constexpr double CellsPerTolerance = 16;
// Where a position lies closer than the tolerance to a side of its cell; a little wide against the
// rounding of the division.
constexpr double NearLow = 1.0 / CellsPerTolerance + 0.01;
constexpr double NearHigh = 1 - NearLow;
// Far coordinates share clamped cells: slower, never wrong, since candidates are compared exactly.
// The clamp keeps a neighbour's number inside 64 bits.
constexpr double CellLimit = 4.0e18;

constexpr std::size_t FirstTableSize = 64;
// The table of recent answers starts small and grows with the index up to a size that stays in the
// processor's cache.
constexpr std::size_t FirstRecentSize = 256;
constexpr std::size_t MaxRecentSize = 4096;

// Slots for N cells: at most three quarters of the table is used, which keeps the probes short.
std::size_t TableSizeFor(std::size_t N) { return N + N / 3 + 1; }

bool IsFinite(const TMVector& V) { return std::isfinite(V.X) && std::isfinite(V.Y) && std::isfinite(V.Z); }

// The cell numbers on one axis that may hold a position matching the coordinate: its own first, then
// the neighbour on each side it lies near. Returns how many were written.
// std::floor of a finite Q, inline: without the processor's rounding instruction the library's floor
// is a call, and every lookup takes three.
double FloorOf(double Q) {
    // Beyond the limit a double is a whole number already.
    if (!(std::fabs(Q) < CellLimit)) return Q;
    const double T = static_cast<double>(static_cast<std::int64_t>(Q));
    return T > Q ? T - 1 : T;
}

int CandidateCells(double Coordinate, double InvCellSize, std::int64_t Out[3]) {
    const double Q = Coordinate * InvCellSize;
    const double Floor = FloorOf(Q);
    const std::int64_t Own = static_cast<std::int64_t>(std::clamp(Floor, -CellLimit, CellLimit));
    const double Fraction = Q - Floor;
    int N = 0;
    Out[N++] = Own;
    if (Fraction < NearLow) Out[N++] = Own - 1;
    if (Fraction > NearHigh) Out[N++] = Own + 1;
    return N;
}

std::uint64_t Mix(std::uint64_t H) {
    H ^= H >> 33;
    H *= 0xff51afd7ed558ccdULL;
    H ^= H >> 33;
    return H;
}

std::uint64_t Hash3(std::uint64_t X, std::uint64_t Y, std::uint64_t Z) { return Mix(X ^ Mix(Y ^ Mix(Z))); }

// Cell numbers are small and close together: three independent products and one mix spread them
// well enough, at a third of the cost of mixing each.
std::uint64_t CellHash(std::int64_t X, std::int64_t Y, std::int64_t Z) {
    return Mix(static_cast<std::uint64_t>(X) * 0x9E3779B97F4A7C15ULL ^ static_cast<std::uint64_t>(Y) * 0xC2B2AE3D27D4EB4FULL ^
               static_cast<std::uint64_t>(Z) * 0x165667B19E3779F9ULL);
}

std::uint64_t OwnCellHash(const TMVector& P, double InvCellSize) {
    std::int64_t X[3], Y[3], Z[3];
    CandidateCells(P.X, InvCellSize, X);
    CandidateCells(P.Y, InvCellSize, Y);
    CandidateCells(P.Z, InvCellSize, Z);
    return CellHash(X[0], Y[0], Z[0]);
}

std::uint32_t TagOf(std::uint64_t Hash) { return static_cast<std::uint32_t>(Hash >> 32); }

std::size_t ExactHash(const TMVector& P) {
    return static_cast<std::size_t>(
        Hash3(std::bit_cast<std::uint64_t>(P.X), std::bit_cast<std::uint64_t>(P.Y), std::bit_cast<std::uint64_t>(P.Z)));
}

}  // namespace

TPositionIndex::TPositionIndex(double Tolerance)
    : FTolerance(Tolerance), FInvCellSize(1 / (CellsPerTolerance * Tolerance)) {}

TPositionIndex::TSlot& TPositionIndex::SlotOf(std::uint64_t Hash) {
    const std::size_t Mask = Slots.size() - 1;
    const std::uint32_t Tag = TagOf(Hash);
    // The table is never full, so the probe always meets the cell or a free slot.
    for (std::size_t I = static_cast<std::size_t>(Hash) & Mask;; I = (I + 1) & Mask) {
        TSlot& S = Slots[I];
        if (S.Newest < 0 || S.Tag == Tag) return S;
    }
}

void TPositionIndex::Rehash(std::size_t N) {
    // A slot keeps only half of its cell's hash, so the cells are built again from the positions, the
    // oldest first so that every chain runs from the newest to the oldest as before.
    Slots.assign(std::bit_ceil(std::max(N, FirstTableSize)), TSlot{});
    UsedSlots = 0;
    for (std::size_t G = 0; G < Positions.size(); ++G) {
        const TMVector& P = Positions[G];
        if (!IsFinite(P)) continue;
        const std::uint64_t Hash = OwnCellHash(P, FInvCellSize);
        TSlot& S = SlotOf(Hash);
        if (S.Newest < 0) {
            S.Tag = TagOf(Hash);
            ++UsedSlots;
        }
        NextInCell[G] = S.Newest;
        S.Newest = static_cast<std::int32_t>(G);
    }
}

int TPositionIndex::FindOrAdd(const TMVector& P) {
    if (!IsFinite(P)) {
        Positions.push_back(P);
        NextInCell.push_back(-1);
        return Count() - 1;
    }
    if (Recent.size() < MaxRecentSize && Positions.size() >= Recent.size())
        Recent.assign(std::min(MaxRecentSize, std::max(FirstRecentSize, 4 * Recent.size())), TRecent{});
    TRecent& Answer = Recent[ExactHash(P) & (Recent.size() - 1)];
    if (Answer.Number < 0 || Answer.P.X != P.X || Answer.P.Y != P.Y || Answer.P.Z != P.Z) {
        Answer.P = P;
        Answer.Number = Lookup(P);
    }
    return Answer.Number;
}

int TPositionIndex::FindOrAddOnce(const TMVector& P) {
    if (!IsFinite(P)) return FindOrAdd(P);
    return Lookup(P);
}

int TPositionIndex::Lookup(const TMVector& P) {
    std::int64_t Xs[3], Ys[3], Zs[3];
    const int NX = CandidateCells(P.X, FInvCellSize, Xs);
    const int NY = CandidateCells(P.Y, FInvCellSize, Ys);
    const int NZ = CandidateCells(P.Z, FInvCellSize, Zs);
    if (Slots.empty()) Rehash(FirstTableSize);
    const std::uint64_t OwnHash = CellHash(Xs[0], Ys[0], Zs[0]);
    int Found = -1;
    // The own cell first. A position equal to P is the oldest within the tolerance of P: an older one
    // near it would have taken its place when it was added.
    for (int G = SlotOf(OwnHash).Newest; G >= 0; G = NextInCell[static_cast<std::size_t>(G)]) {
        const TMVector& Q = Positions[static_cast<std::size_t>(G)];
        if (Q.X == P.X && Q.Y == P.Y && Q.Z == P.Z) return G;
        // The chain runs from the newest to the oldest.
        if (VectorsEqualWithin(Q, P, FTolerance)) Found = G;
    }
    for (int I = 0; I < NX; ++I)
        for (int J = 0; J < NY; ++J)
            for (int K = 0; K < NZ; ++K) {
                if (I == 0 && J == 0 && K == 0) continue;
                for (int G = SlotOf(CellHash(Xs[I], Ys[J], Zs[K])).Newest; G >= 0;
                     G = NextInCell[static_cast<std::size_t>(G)])
                    if ((Found < 0 || G < Found) &&
                        VectorsEqualWithin(Positions[static_cast<std::size_t>(G)], P, FTolerance))
                        Found = G;
            }
    if (Found >= 0) return Found;

    if (TableSizeFor(UsedSlots + 1) > Slots.size()) Rehash(2 * Slots.size());
    const int Number = Count();
    TSlot& S = SlotOf(OwnHash);
    if (S.Newest < 0) {
        S.Tag = TagOf(OwnHash);
        ++UsedSlots;
    }
    Positions.push_back(P);
    NextInCell.push_back(S.Newest);
    S.Newest = Number;
    return Number;
}

void TPositionIndex::Reserve(std::size_t N) {
    Positions.reserve(N);
    NextInCell.reserve(N);
    if (TableSizeFor(N) > Slots.size()) Rehash(TableSizeFor(N));
}

void TPositionIndex::Clear() {
    Positions.clear();
    NextInCell.clear();
    Slots.clear();
    UsedSlots = 0;
    Recent.clear();
}

}  // namespace sarnova
