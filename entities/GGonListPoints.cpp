#include "entities/GGonListPoints.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <unordered_map>

#include "foundation/Errors.h"
#include "foundation/Polygon.h"
#include "foundation/Polyline.h"
#include "foundation/VkMaths.h"

namespace sarnova {

namespace {

[[noreturn]] void IndexError(int Index) {
    throw EError("List index out of bounds (" + std::to_string(Index) + ")");
}

double& CoordinateOf(TMVector& V, int Axis) { return Axis == 0 ? V.X : Axis == 1 ? V.Y : V.Z; }

// Every coordinate within TSharedPointList::Tolerance.
bool WithinTolerance(const TMVector& A, const TMVector& B) { return VectorsEqualStrict(A, B); }

// Positions bucketed in cubes much larger than the tolerance, so a corner finds every position within
// the tolerance in the one or two cubes per axis around it. Coordinates too large to bucket (and NaN)
// are kept apart and compared one by one: within the tolerance such values are equal, so they only
// ever match each other.
class TPositionIndex {
public:
    explicit TPositionIndex(const std::vector<std::unique_ptr<TSharedPoint>>& Items) : FItems(Items) {}

    // The lowest index of a position within the tolerance of P; -1 for none.
    int Find(const TMVector& P) const {
        int Best = -1;
        const auto Consider = [&](int Index) {
            if ((Best < 0 || Index < Best) && WithinTolerance(FItems[static_cast<std::size_t>(Index)]->Position(), P))
                Best = Index;
        };
        for (int Index : FWide) Consider(Index);
        if (!Bucketable(P)) return Best;
        const double M = 2 * TSharedPointList::Tolerance;
        const TKey Low = KeyOf({P.X - M, P.Y - M, P.Z - M});
        const TKey High = KeyOf({P.X + M, P.Y + M, P.Z + M});
        for (std::int64_t X = Low.X; X <= High.X; ++X)
            for (std::int64_t Y = Low.Y; Y <= High.Y; ++Y)
                for (std::int64_t Z = Low.Z; Z <= High.Z; ++Z) {
                    const auto It = FCells.find({X, Y, Z});
                    if (It == FCells.end()) continue;
                    // Chains run in ascending index order: the first match is the chain's lowest.
                    for (int Index = It->second.Head; Index >= 0; Index = FNext[static_cast<std::size_t>(Index)])
                        if (WithinTolerance(FItems[static_cast<std::size_t>(Index)]->Position(), P)) {
                            if (Best < 0 || Index < Best) Best = Index;
                            break;
                        }
                }
        return Best;
    }

    // Files the position of shared point Index, the newest one.
    void Add(int Index) {
        FNext.push_back(-1);
        const TMVector& P = FItems[static_cast<std::size_t>(Index)]->Position();
        if (!Bucketable(P)) {
            FWide.push_back(Index);
            return;
        }
        const auto [It, New] = FCells.try_emplace(KeyOf(P), TChain{Index, Index});
        if (!New) {
            FNext[static_cast<std::size_t>(It->second.Tail)] = Index;
            It->second.Tail = Index;
        }
    }

private:
    static constexpr double CellSize = 1e-6;
    static constexpr double Limit = 1e12;  // Limit / CellSize stays well inside 64 bits

    struct TKey {
        std::int64_t X, Y, Z;
        bool operator==(const TKey&) const = default;
    };
    struct THash {
        std::size_t operator()(const TKey& K) const {
            std::uint64_t H = static_cast<std::uint64_t>(K.X) * 0x9E3779B97F4A7C15ull;
            H ^= static_cast<std::uint64_t>(K.Y) * 0xC2B2AE3D27D4EB4Full + (H << 6) + (H >> 2);
            H ^= static_cast<std::uint64_t>(K.Z) * 0x165667B19E3779F9ull + (H << 6) + (H >> 2);
            return static_cast<std::size_t>(H);
        }
    };
    struct TChain {
        int Head;
        int Tail;
    };

    static bool Bucketable(const TMVector& P) {
        return std::fabs(P.X) < Limit && std::fabs(P.Y) < Limit && std::fabs(P.Z) < Limit;
    }
    static TKey KeyOf(const TMVector& P) {
        return {static_cast<std::int64_t>(std::floor(P.X / CellSize)), static_cast<std::int64_t>(std::floor(P.Y / CellSize)),
                static_cast<std::int64_t>(std::floor(P.Z / CellSize))};
    }

    const std::vector<std::unique_ptr<TSharedPoint>>& FItems;
    std::unordered_map<TKey, TChain, THash> FCells;
    std::vector<int> FNext;
    std::vector<int> FWide;
};

}  // namespace

// ---- TRPointList ----

TCornerRef TRPointList::Items(int Index) const {
    if (Index < 0 || Index >= Count()) IndexError(Index);
    return FItems[static_cast<std::size_t>(Index)];
}

void TRPointList::SetSelected(bool Value) {
    for (const TCornerRef& C : FItems) C.SetMarked(Value);
}

void TRPointList::CopyToPolyline(TPolyline& Polyline) const {
    Polyline.Clear();
    for (const TCornerRef& C : FItems) {
        const TRPoint P = C.Facet().CornerPoint(C.Index);
        Polyline.AddPointCopy(&P);
    }
}

// ---- TCornerPointInfo ----

void TCornerPointInfo::SetSelected(bool Value) {
    if (Corner.List != nullptr) Corner.SetMarked(Value);
}

void TCornerPointInfo::SetCorner(TCornerRef ACorner, IGraphics* View, bool AVisible) {
    Corner = ACorner;
    if (Corner.List != nullptr)
        SetPoint(Corner.Vector(), Corner.Marked(), AVisible, View);
    else
        SetPoint(ZeroVector, false, false, View);
}

// ---- TSharedPoint ----

void TSharedPoint::SetCoordinate(int Axis, double Value) {
    if (Axis < 0 || Axis > 2) return;
    for (int I = 0; I < Count(); ++I) {
        TMVector V = Items(I).Vector();
        CoordinateOf(V, Axis) = Value;
        Items(I).SetVector(V);
    }
    CoordinateOf(FPosition, Axis) = Value;
}

void TSharedPoint::SetX(double Value) { SetCoordinate(0, Value); }
void TSharedPoint::SetY(double Value) { SetCoordinate(1, Value); }
void TSharedPoint::SetZ(double Value) { SetCoordinate(2, Value); }

void TSharedPoint::SetPosition(const TMVector& Value) {
    for (int Axis = 0; Axis < 3; ++Axis) SetCoordinate(Axis, Axis == 0 ? Value.X : Axis == 1 ? Value.Y : Value.Z);
}

void TSharedPoint::UpdatePosition() {
    if (Count() > 0) FPosition = Items(0).Vector();
}

// ---- TSharedPointList ----

TSharedPoint& TSharedPointList::Items(int Index) const {
    if (Index < 0 || Index >= Count()) IndexError(Index);
    return *FItems[static_cast<std::size_t>(Index)];
}

void TSharedPointList::AddCorner(TCornerRef Corner) {
    const TMVector P = Corner.Vector();
    for (const auto& Shared : FItems)
        if (WithinTolerance(Shared->Position(), P)) {
            Shared->Add(Corner);
            return;
        }
    FItems.push_back(std::make_unique<TSharedPoint>(P));
    FItems.back()->Add(Corner);
}

void TSharedPointList::Build(TPolygonList& Facets) {
    Clear();
    // The same first-match rule as AddCorner, with the match looked up instead of searched for.
    TPositionIndex Index(FItems);
    for (int I = 0; I < Facets.Count(); ++I) {
        const TFacetRef F = Facets.Polygon(I);
        if (!F.GetSelected()) continue;
        for (int C = 0; C < F.CornerCount(); ++C) {
            const TCornerRef Corner{&Facets, I, C};
            const TMVector P = Corner.Vector();
            const int Found = Index.Find(P);
            if (Found >= 0) {
                FItems[static_cast<std::size_t>(Found)]->Add(Corner);
                continue;
            }
            FItems.push_back(std::make_unique<TSharedPoint>(P));
            FItems.back()->Add(Corner);
            Index.Add(Count() - 1);
        }
    }
}

void TSharedPointList::UpdatePositions() {
    for (const auto& Shared : FItems) Shared->UpdatePosition();
}

void TSharedPointList::FillCoordinate(int Axis, double Value) {
    for (const auto& Shared : FItems) Shared->SetCoordinate(Axis, Value);
}

}  // namespace sarnova
