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

int TPositionIndex::FindOrAdd(const TMVector& P) {
    const bool Hashed = IsFinite(P);
    std::int64_t Xs[3], Ys[3], Zs[3];
    if (Hashed) {
        const int NX = CandidateCells(P.X, Xs);
        const int NY = CandidateCells(P.Y, Ys);
        const int NZ = CandidateCells(P.Z, Zs);
        int Found = -1;
        for (int I = 0; I < NX; ++I)
            for (int J = 0; J < NY; ++J)
                for (int K = 0; K < NZ; ++K) {
                    const auto Newest = NewestInCell.find({Xs[I], Ys[J], Zs[K]});
                    if (Newest == NewestInCell.end()) continue;
                    for (int G = Newest->second; G >= 0; G = NextInCell[static_cast<std::size_t>(G)])
                        if ((Found < 0 || G < Found) &&
                            VectorsEqualWithin(Positions[static_cast<std::size_t>(G)], P, DefaultTolerance))
                            Found = G;
                }
        if (Found >= 0) return Found;
    }
    const int Number = Count();
    Positions.push_back(P);
    NextInCell.push_back(-1);
    if (Hashed) {
        const auto [Newest, Inserted] = NewestInCell.try_emplace({Xs[0], Ys[0], Zs[0]}, Number);
        if (!Inserted) {
            NextInCell.back() = Newest->second;
            Newest->second = Number;
        }
    }
    return Number;
}

void TPositionIndex::Reserve(std::size_t N) {
    Positions.reserve(N);
    NextInCell.reserve(N);
    NewestInCell.reserve(N);
}

void TPositionIndex::Clear() {
    Positions.clear();
    NewestInCell.clear();
    NextInCell.clear();
}

}  // namespace sarnova
