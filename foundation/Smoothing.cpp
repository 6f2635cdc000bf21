#include "foundation/Smoothing.h"

#include <cmath>

#include "foundation/GeomFacet.h"

namespace sarnova {

namespace {

// The fold between two facets along their shared edge E: the absolute signed angle of their normals,
// which is 0 when the normals are parallel or one of them is zero.
double FoldAngle(const TMVector& N1, const TMVector& N2, const TMVector& E) {
    return std::fabs(TRPoint(N1).SignedAngle(TRPoint(N2), TRPoint(E)));
}

}  // namespace

// ---- TVertexPolygons ----

TVertexPolygons::TVertexPolygons(const TRPoint& AVertex) { FVertex.Assign(AVertex); }

TMVector TVertexPolygons::AverageNormal() const {
    TMVector Sum;
    for (const TPolygon* F : FPolygons) Sum = VectorAdd(Sum, PolygonNormal(*F));
    return VectorNormalise(Sum);
}

void TVertexPolygons::SetNormal(const TMVector& Normal) {
    for (TPolygon* F : FPolygons) SetPolygonNormalAt(*F, FVertex, Normal);
}

void TVertexPolygons::Smooth(double CreaseAngle) {
    const TMVector Average = AverageNormal();
    const double Limit = std::cos(CreaseAngle / 2);
    for (const TPolygon* F : FPolygons) {
        if (VectorDot(Average, PolygonNormal(*F)) < Limit) {
            CreaseSmooth(CreaseAngle);
            return;
        }
    }
    SetNormal(Average);
}

std::optional<TMVector> TVertexPolygons::SharedEdge(const TPolygon& F, const TPolygon& G) const {
    // The two corners of a facet other than its first one at the vertex.
    auto Others = [this](const TPolygon& P, TMVector Out[2]) {
        const int Skip = PolygonCornerIndex(P, FVertex);
        int N = 0;
        for (int I = 0; I < 3 && N < 2; ++I)
            if (I != Skip) Out[N++] = PolygonCornerOrOrigin(P, I).Vector();
    };
    TMVector FOthers[2], GOthers[2];
    Others(F, FOthers);
    Others(G, GOthers);
    const TMVector V = FVertex.Vector();
    for (const TMVector& FCorner : FOthers) {
        const TMVector D = VectorNormalise(VectorFromTo(FCorner, V));
        for (const TMVector& GCorner : GOthers) {
            const TMVector E = VectorNormalise(VectorFromTo(GCorner, V));
            if (VectorDot(D, E) > 0.9999) return D;
        }
    }
    return std::nullopt;
}

void TVertexPolygons::CreaseSmooth(double CreaseAngle) {
    const int N = Count();
    if (N == 0) return;
    std::vector<TMVector> Normals(static_cast<std::size_t>(N));
    for (int K = 0; K < N; ++K) Normals[static_cast<std::size_t>(K)] = PolygonNormal(*FPolygons[static_cast<std::size_t>(K)]);
    auto F = [this](int K) -> TPolygon& { return *FPolygons[static_cast<std::size_t>(K)]; };
    auto Normal = [&Normals](int K) -> const TMVector& { return Normals[static_cast<std::size_t>(K)]; };
    // Neighbours in the group's order join one run when they share an edge here and fold gently.
    auto Joined = [&](int A, int B) {
        const std::optional<TMVector> Edge = SharedEdge(F(A), F(B));
        return Edge && FoldAngle(Normal(A), Normal(B), *Edge) < CreaseAngle;
    };

    int Runs = 1;
    F(0).Group = 1;
    for (int K = 1; K < N; ++K) {
        if (!Joined(K, K - 1)) ++Runs;
        F(K).Group = Runs;
    }
    // A fan listed from the middle of a smooth run closes over its ends: the trailing run joins the
    // first. The emptied run number stays counted.
    if (N > 1 && F(0).Group != F(N - 1).Group && Joined(0, N - 1)) {
        const std::int32_t Trailing = F(N - 1).Group;
        for (int K = N - 1; K > 0 && F(K).Group == Trailing; --K) F(K).Group = F(0).Group;
    }

    if (Runs == 1) {
        // The average was too far from some facet, yet no neighbours fold apart: a cone tip, shaded
        // flat.
        for (int K = 0; K < N; ++K) SetPolygonNormalAt(F(K), FVertex, Normal(K));
        return;
    }
    std::vector<TMVector> Sums(static_cast<std::size_t>(Runs) + 1);
    for (int K = 0; K < N; ++K) {
        TMVector& Sum = Sums[static_cast<std::size_t>(F(K).Group)];
        Sum = VectorAdd(Sum, Normal(K));
    }
    for (int K = 0; K < N; ++K)
        SetPolygonNormalAt(F(K), FVertex, VectorNormalise(Sums[static_cast<std::size_t>(F(K).Group)]));
}

// ---- TSmoothingList ----

std::unique_ptr<TVertexPolygons> TSmoothingList::CreateGroup(const TRPoint& Vertex) {
    return std::make_unique<TVertexPolygons>(Vertex);
}

TVertexPolygons& TSmoothingList::FindOrAdd(const TRPoint& P) {
    const int Number = Places.FindOrAdd(P.Vector());
    if (Number == Count()) FGroups.push_back(CreateGroup(P));
    return *FGroups[static_cast<std::size_t>(Number)];
}

void TSmoothingList::AddPolygon(TPolygon& Facet) {
    for (int I = 0; I < 3; ++I) FindOrAdd(PolygonCornerOrOrigin(Facet, I)).Add(&Facet);
}

void TSmoothingList::AddPolygons(const TPolygons& List) {
    // A closed mesh has about half as many vertices as facets.
    Places.Reserve(static_cast<std::size_t>(Count() + List.Count() / 2));
    for (int I = 0; I < List.Count(); ++I) AddPolygon(*List.Polygon(I));
}

void TSmoothingList::Smooth(double CreaseAngle) {
    for (const auto& Group : FGroups) Group->Smooth(CreaseAngle);
}

void TSmoothingList::Clear() {
    FGroups.clear();
    Places.Clear();
}

void SmoothPolygonNormals(TPolygons& List, double CreaseAngle) {
    TSmoothingList Groups;
    Groups.AddPolygons(List);
    Groups.Smooth(CreaseAngle);
}

}  // namespace sarnova
