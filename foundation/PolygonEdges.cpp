// The distinct edges of a facet mesh: the wireframe a view keeps draws each shared edge once.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <vector>

#include "foundation/Graphics.h"
#include "foundation/Polygon.h"

namespace sarnova {

namespace {

std::uint64_t Mix(std::uint64_t H) {
    H ^= H >> 33;
    H *= 0xff51afd7ed558ccdULL;
    H ^= H >> 33;
    H *= 0xc4ceb9fe1a85ec53ULL;
    H ^= H >> 33;
    return H;
}

// The bits of a coordinate, 0 and -0 alike.
std::uint64_t Bits(double V) { return std::bit_cast<std::uint64_t>(V + 0.0); }

// Open-addressed tables of a power-of-two size, never more than half full.
std::size_t TableSizeFor(std::size_t Entries) { return std::bit_ceil(std::max<std::size_t>(16, 2 * Entries)); }

// Numbers 0, 1, 2 ... for positions compared bit for bit: positions that draw the same point.
class TExactPositionNumbers {
public:
    explicit TExactPositionNumbers(std::size_t Expected) : Slots(TableSizeFor(Expected), 0) {
        Keys.reserve(Expected);
    }

    std::uint32_t NumberOf(const TMVector& P) {
        const TKey Key{Bits(P.X), Bits(P.Y), Bits(P.Z)};
        const std::size_t Mask = Slots.size() - 1;
        for (std::size_t S = Hash(Key) & Mask;; S = (S + 1) & Mask) {
            const std::uint32_t Held = Slots[S];
            if (Held == 0) {
                Keys.push_back(Key);
                Slots[S] = static_cast<std::uint32_t>(Keys.size());
                if (2 * Keys.size() > Slots.size()) Grow();
                return static_cast<std::uint32_t>(Keys.size() - 1);
            }
            if (Keys[Held - 1] == Key) return Held - 1;
        }
    }

private:
    struct TKey {
        std::uint64_t X, Y, Z;
        bool operator==(const TKey&) const = default;
    };
    static std::size_t Hash(const TKey& K) { return Mix(Mix(Mix(K.X) ^ K.Y) ^ K.Z); }

    void Grow() {
        Slots.assign(2 * Slots.size(), 0);
        const std::size_t Mask = Slots.size() - 1;
        for (std::size_t N = 0; N < Keys.size(); ++N) {
            std::size_t S = Hash(Keys[N]) & Mask;
            while (Slots[S] != 0) S = (S + 1) & Mask;
            Slots[S] = static_cast<std::uint32_t>(N + 1);
        }
    }

    std::vector<TKey> Keys;
    // The number + 1 of the position held; 0 for a free slot.
    std::vector<std::uint32_t> Slots;
};

// The unordered pairs of position numbers met so far.
class TEdgeSet {
public:
    explicit TEdgeSet(std::size_t Expected) : Slots(TableSizeFor(Expected), Free) {}

    // True when the pair is new.
    bool Insert(std::uint32_t A, std::uint32_t B) {
        const std::uint64_t Key = A < B ? (std::uint64_t{A} << 32) | B : (std::uint64_t{B} << 32) | A;
        const std::size_t Mask = Slots.size() - 1;
        for (std::size_t S = Mix(Key) & Mask;; S = (S + 1) & Mask) {
            if (Slots[S] == Key) return false;
            if (Slots[S] != Free) continue;
            Slots[S] = Key;
            if (2 * ++Used > Slots.size()) Grow();
            return true;
        }
    }

private:
    // No pair of numbers below 2^32 is all ones.
    static constexpr std::uint64_t Free = ~std::uint64_t{0};

    void Grow() {
        std::vector<std::uint64_t> Old(2 * Slots.size(), Free);
        Old.swap(Slots);
        const std::size_t Mask = Slots.size() - 1;
        for (const std::uint64_t Key : Old) {
            if (Key == Free) continue;
            std::size_t S = Mix(Key) & Mask;
            while (Slots[S] != Free) S = (S + 1) & Mask;
            Slots[S] = Key;
        }
    }

    std::vector<std::uint64_t> Slots;
    std::size_t Used = 0;
};

}  // namespace

void TPolygonList::DrawDistinctEdges(IGraphics& G) const {
    if (FItems.empty()) return;
    // A closed triangle mesh has about half as many corner positions as facets and one and a half
    // times as many edges.
    TExactPositionNumbers Numbers(FItems.size());
    TEdgeSet Drawn(2 * FItems.size());
    for (const TPolygon* F : FItems) {
        const int N = F->CornerCount();
        TMVector P[4];
        std::uint32_t Number[4];
        for (int I = 0; I < N; ++I) {
            P[I] = PolygonCornerOrOrigin(*F, I).Vector();
            Number[I] = Numbers.NumberOf(P[I]);
        }
        for (int I = 0; I < N; ++I) {
            const int J = (I + 1) % N;
            if (Drawn.Insert(Number[I], Number[J])) G.Line(P[I].X, P[I].Y, P[I].Z, P[J].X, P[J].Y, P[J].Z);
        }
    }
}

}  // namespace sarnova
