#include "foundation/Smoothing.h"

#include <cmath>
#include <optional>
#include <string>

#include "foundation/Errors.h"
#include "foundation/Polygon.h"

namespace sarnova {

namespace {

// The fold between two facets along their shared edge E: the absolute signed angle of their normals,
// which is 0 when the normals are parallel or one of them is zero.
double FoldAngle(const TMVector& N1, const TMVector& N2, const TMVector& E) {
    return std::fabs(TRPoint(N1).SignedAngle(TRPoint(N2), TRPoint(E)));
}

// The corner of F that takes the normal of the group at Vertex that F's corner Index joined: the
// first corner at the vertex, as PolygonCornerIndex finds it. A corner that joined its group lies at
// the vertex itself, so only the corners before it need a look.
int CornerAtVertex(const TFacetRef& F, int Index, const TMVector& Vertex) {
    const TFacetCorner* Own = F.Corner(Index);
    if (Own == nullptr || !VectorsEqualWithin(Own->Vector(), Vertex, DefaultTolerance))
        return PolygonCornerIndex(F, TRPoint(Vertex));
    for (int I = 0; I < Index; ++I) {
        const TFacetCorner* C = F.Corner(I);
        if (C != nullptr && VectorsEqualWithin(C->Vector(), Vertex, DefaultTolerance)) return I;
    }
    return Index;
}

// The unit direction from a common neighbour corner to the vertex when F and G share an edge at the
// vertex; nullopt when they do not. Each facet's corners other than its first one at the vertex
// are tried in order.
std::optional<TMVector> SharedEdge(const TFacetRef& F, const TFacetRef& G, const TRPoint& Vertex) {
    auto Others = [&Vertex](const TFacetRef& P, TMVector Out[2]) {
        const int Skip = PolygonCornerIndex(P, Vertex);
        int N = 0;
        for (int I = 0; I < 3 && N < 2; ++I)
            if (I != Skip) Out[N++] = PolygonCornerOrOrigin(P, I).Vector();
    };
    TMVector FOthers[2], GOthers[2];
    Others(F, FOthers);
    Others(G, GOthers);
    const TMVector V = Vertex.Vector();
    for (const TMVector& FCorner : FOthers) {
        const TMVector D = VectorNormalise(VectorFromTo(FCorner, V));
        for (const TMVector& GCorner : GOthers) {
            const TMVector E = VectorNormalise(VectorFromTo(GCorner, V));
            if (VectorDot(D, E) > 0.9999) return D;
        }
    }
    return std::nullopt;
}

}  // namespace

int TSmoothingList::FacetCount(int Group) const {
    if (Group < 0 || Group >= Count()) throw EError("List index out of bounds (" + std::to_string(Group) + ")");
    SortCorners();
    return FGroupStart[static_cast<std::size_t>(Group) + 1] - FGroupStart[static_cast<std::size_t>(Group)];
}

int TSmoothingList::Facet(int Group, int Index) const {
    if (Index < 0 || Index >= FacetCount(Group)) throw EError("List index out of bounds (" + std::to_string(Index) + ")");
    return FByGroup[static_cast<std::size_t>(FGroupStart[static_cast<std::size_t>(Group)] + Index)] / 3;
}

int TSmoothingList::FindOrAdd(const TRPoint& P) {
    FSorted = false;
    return FPlaces.FindOrAdd(P.Vector());
}

void TSmoothingList::AddPolygons(TPolygonList& List) {
    Clear();
    FList = &List;
    const std::size_t Facets = static_cast<std::size_t>(List.Count());
    // A closed mesh has a few more than half as many vertices as facets; open ones a few more still.
    FPlaces.Reserve(Facets / 2 + Facets / 32 + 16);
    FNormals.reserve(Facets);
    FCornerGroups.reserve(3 * Facets);
    for (int I = 0; I < List.Count(); ++I) {
        const TFacetRef F = List.Polygon(I);
        FNormals.push_back(PolygonNormal(F));
        for (int K = 0; K < 3; ++K) FCornerGroups.push_back(FPlaces.FindOrAdd(F.StoredCorner(K).Vector()));
    }
    FRuns.assign(Facets, 0);
    FSorted = false;
}

void TSmoothingList::SortCorners() const {
    if (FSorted) return;
    // A counting sort: stable, so each group keeps its facets in the order they were added. Each
    // group's start serves as its fill position and is moved back afterwards.
    const std::size_t Groups = static_cast<std::size_t>(Count());
    FGroupStart.assign(Groups + 1, 0);
    for (const int G : FCornerGroups) ++FGroupStart[static_cast<std::size_t>(G) + 1];
    for (std::size_t G = 1; G <= Groups; ++G) FGroupStart[G] += FGroupStart[G - 1];
    FByGroup.resize(FCornerGroups.size());
    for (std::size_t C = 0; C < FCornerGroups.size(); ++C)
        FByGroup[static_cast<std::size_t>(FGroupStart[static_cast<std::size_t>(FCornerGroups[C])]++)] = static_cast<int>(C);
    for (std::size_t G = Groups; G > 0; --G) FGroupStart[G] = FGroupStart[G - 1];
    FGroupStart[0] = 0;
    FSorted = true;
}

void TSmoothingList::Smooth(double CreaseAngle) {
    SortCorners();
    const std::span<const int> All(FByGroup);
    const double Limit = std::cos(CreaseAngle / 2);
    for (int G = 0; G < Count(); ++G) {
        const int Begin = FGroupStart[static_cast<std::size_t>(G)];
        const int End = FGroupStart[static_cast<std::size_t>(G) + 1];
        SmoothGroup(Vertex(G), All.subspan(static_cast<std::size_t>(Begin), static_cast<std::size_t>(End - Begin)), CreaseAngle,
                    Limit);
    }
}

void TSmoothingList::SmoothGroup(const TMVector& Vertex, std::span<const int> Corners, double CreaseAngle,
                                 double Limit) {
    TMVector Sum;
    for (const int C : Corners) Sum = VectorAdd(Sum, FNormals[static_cast<std::size_t>(C / 3)]);
    const TMVector Average = VectorNormalise(Sum);
    for (const int C : Corners)
        if (VectorDot(Average, FNormals[static_cast<std::size_t>(C / 3)]) < Limit) {
            CreaseSmooth(Vertex, Corners, CreaseAngle);
            return;
        }
    for (const int C : Corners) {
        TFacetRef F = FList->Polygon(C / 3);
        F.SetNormal(CornerAtVertex(F, C % 3, Vertex), Average);
    }
}

void TSmoothingList::CreaseSmooth(const TMVector& Vertex, std::span<const int> Corners, double CreaseAngle) {
    const int N = static_cast<int>(Corners.size());
    if (N == 0) return;
    const TRPoint At(Vertex);
    auto Corner = [&](int K) { return Corners[static_cast<std::size_t>(K)]; };
    auto F = [&](int K) { return FList->Polygon(Corner(K) / 3); };
    auto Run = [&](int K) -> std::int32_t& { return FRuns[static_cast<std::size_t>(Corner(K) / 3)]; };
    auto Normal = [&](int K) -> const TMVector& { return FNormals[static_cast<std::size_t>(Corner(K) / 3)]; };
    auto SetNormal = [&](int K, const TMVector& V) { F(K).SetNormal(CornerAtVertex(F(K), Corner(K) % 3, Vertex), V); };
    // Neighbours in the group's order join one run when they share an edge here and fold gently.
    auto Joined = [&](int A, int B) {
        const std::optional<TMVector> Edge = SharedEdge(F(A), F(B), At);
        return Edge && FoldAngle(Normal(A), Normal(B), *Edge) < CreaseAngle;
    };

    int Runs = 1;
    Run(0) = 1;
    for (int K = 1; K < N; ++K) {
        if (!Joined(K, K - 1)) ++Runs;
        Run(K) = Runs;
    }
    // A fan listed from the middle of a smooth run closes over its ends: the trailing run joins the
    // first. The emptied run number stays counted.
    if (N > 1 && Run(0) != Run(N - 1) && Joined(0, N - 1)) {
        const std::int32_t Trailing = Run(N - 1);
        for (int K = N - 1; K > 0 && Run(K) == Trailing; --K) Run(K) = Run(0);
    }

    if (Runs == 1) {
        // The average was too far from some facet, yet no neighbours fold apart: a cone tip, shaded
        // flat.
        for (int K = 0; K < N; ++K) SetNormal(K, Normal(K));
        return;
    }
    std::vector<TMVector> Sums(static_cast<std::size_t>(Runs) + 1);
    for (int K = 0; K < N; ++K) {
        TMVector& Sum = Sums[static_cast<std::size_t>(Run(K))];
        Sum = VectorAdd(Sum, Normal(K));
    }
    for (int K = 0; K < N; ++K) SetNormal(K, VectorNormalise(Sums[static_cast<std::size_t>(Run(K))]));
}

void TSmoothingList::Clear() {
    FPlaces.Clear();
    FList = nullptr;
    FRuns.clear();
    FNormals.clear();
    FCornerGroups.clear();
    FByGroup.clear();
    FGroupStart.clear();
    FSorted = false;
}

void SmoothPolygonNormals(TPolygonList& List, double CreaseAngle) {
    TSmoothingList Groups;
    Groups.AddPolygons(List);
    Groups.Smooth(CreaseAngle);
}

}  // namespace sarnova
