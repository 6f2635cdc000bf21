// The distinct edges of a facet mesh: the wireframe a view keeps draws each shared edge once.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <memory>
#include <vector>

#include "foundation/BitMix.h"
#include "foundation/Graphics.h"
#include "foundation/Polygon.h"

namespace sarnova {

namespace {

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
        const std::size_t H = Hash(Key);
        // Neighbouring facets share corners: most positions were met a few facets before, and the
        // small cache answers them without a miss in the large table.
        std::uint32_t& Cached = Recent[H % Recent.size()];
        if (Cached != 0 && Keys[Cached - 1] == Key) return Cached - 1;
        const std::size_t Mask = Slots.size() - 1;
        for (std::size_t S = H & Mask;; S = (S + 1) & Mask) {
            const std::uint32_t Held = Slots[S];
            if (Held == 0) {
                Keys.push_back(Key);
                Slots[S] = static_cast<std::uint32_t>(Keys.size());
                Cached = Slots[S];
                if (2 * Keys.size() > Slots.size()) Grow();
                return static_cast<std::uint32_t>(Keys.size() - 1);
            }
            if (Keys[Held - 1] == Key) {
                Cached = Held;
                return Held - 1;
            }
        }
    }

    std::uint32_t Count() const { return static_cast<std::uint32_t>(Keys.size()); }
    // The position of Number (a zero unsigned).
    TMVector Position(std::uint32_t Number) const {
        const TKey& K = Keys[Number];
        return {std::bit_cast<double>(K.X), std::bit_cast<double>(K.Y), std::bit_cast<double>(K.Z)};
    }

private:
    struct TKey {
        std::uint64_t X, Y, Z;
        bool operator==(const TKey&) const = default;
    };
    static std::size_t Hash(const TKey& K) { return MixBits(MixBits(MixBits(K.X) ^ K.Y) ^ K.Z); }

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
    // The number + 1 of a position met lately, by its hash; 0 for none.
    std::array<std::uint32_t, 4096> Recent{};
};

}  // namespace

void TPolygonList::DrawDistinctEdges(IGraphics& G) const {
    if (Count() == 0) return;
    // The number of every corner's position, facet after facet, in one walk over the facets. A
    // closed triangle mesh has about half as many corner positions as facets.
    const auto Facets = static_cast<std::size_t>(Count());
    auto Numbers = std::make_unique<TExactPositionNumbers>(Facets);
    std::vector<std::uint32_t> Corner;
    Corner.reserve(3 * Facets);
    std::vector<std::uint8_t> Corners(Facets);
    for (std::size_t K = 0; K < Facets; ++K) {
        const TFacetRef F(*this, static_cast<int>(K));
        const int N = F.CornerCount();
        Corners[K] = static_cast<std::uint8_t>(N);
        for (int I = 0; I < N; ++I) Corner.push_back(Numbers->NumberOf(F.StoredCorner(I).Vector()));
    }
    const std::size_t Positions = Numbers->Count();

    // Edge E runs from corner E to the next corner of its facet; the facet's first corner follows its
    // last.
    const auto ForEachEdge = [&](auto Visit) {
        std::size_t E = 0;
        for (const std::uint8_t N : Corners) {
            const std::size_t First = E;
            for (std::size_t I = 0; I < N; ++I, ++E) Visit(E, Corner[E], Corner[I + 1 < N ? E + 1 : First]);
        }
    };
    // The edges grouped by the smaller number of their ends, each as (larger number, edge) in edge
    // order: numbers are handed out as the facets meet positions, so these writes stay close together,
    // unlike those into one table of all edges.
    const std::size_t Edges = Corner.size();
    std::vector<std::uint32_t> Start(Positions + 2, 0);
    ForEachEdge([&](std::size_t, std::uint32_t A, std::uint32_t B) { ++Start[std::min(A, B) + 2]; });
    for (std::size_t K = 2; K < Start.size(); ++K) Start[K] += Start[K - 1];
    std::vector<std::uint64_t> ByEnd(Edges);
    ForEachEdge([&](std::size_t E, std::uint32_t A, std::uint32_t B) {
        ByEnd[Start[std::min(A, B) + 1]++] = (std::uint64_t{std::max(A, B)} << 32) | E;
    });
    // An edge repeats one met before it with the same larger end in its group.
    std::vector<std::uint8_t> Repeated(Edges, 0);
    constexpr std::ptrdiff_t SmallGroup = 32;
    for (std::size_t P = 0; P < Positions; ++P) {
        const auto First = ByEnd.begin() + Start[P], Last = ByEnd.begin() + Start[P + 1];
        const bool Small = Last - First <= SmallGroup;
        // Groups hold the edges at a corner: few, unless a large fan meets there, which is sorted
        // (larger end, then edge) so that repeats follow their first.
        if (!Small) std::sort(First, Last);
        for (auto It = First + 1; It < Last; ++It)
            for (auto Before = It - 1;; --Before) {
                if ((*Before >> 32) == (*It >> 32)) {
                    Repeated[*It & 0xFFFFFFFFu] = 1;
                    break;
                }
                if (Before == First || !Small) break;
            }
    }

    ForEachEdge([&](std::size_t E, std::uint32_t A, std::uint32_t B) {
        if (Repeated[E]) return;
        const TMVector From = Numbers->Position(A), To = Numbers->Position(B);
        G.Line(From.X, From.Y, From.Z, To.X, To.Y, To.Z);
    });
}

}  // namespace sarnova
