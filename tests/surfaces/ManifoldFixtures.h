// Manifolds for the tests: a builder from indexed polygons that pairs the two sides of each edge
// through a hash of its vertex pair, the shapes the tests share, and a checker that walks every link.
#pragma once
#include <algorithm>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "foundation/Errors.h"
#include "surfaces/Manifold.h"

namespace sarnova::testing {

using TIndexPolygons = std::vector<std::vector<int>>;

// One vertex per point and one face per polygon, whose loop visits the polygon's corners in order.
// A polygon that needs a side of an edge that another polygon already bounds (a third face on an
// edge, or two faces running along it the same way) throws before anything of it is linked.
inline void BuildManifold(TManifold& M, const std::vector<TMVector>& Points, const TIndexPolygons& Polygons) {
    std::vector<TVertex*> V;
    V.reserve(Points.size());
    for (const TMVector& P : Points) V.push_back(M.AddVertex(P));
    std::unordered_map<std::uint64_t, TEdge*> Edges;
    Edges.reserve(Polygons.size() * 2);
    std::vector<TFin*> Loop;
    for (const std::vector<int>& Polygon : Polygons) {
        Loop.clear();
        const std::size_t N = Polygon.size();
        for (std::size_t I = 0; I < N; ++I) {
            const int A = Polygon[I];
            const int B = Polygon[(I + 1) % N];
            const auto Key =
                (static_cast<std::uint64_t>(std::min(A, B)) << 32) | static_cast<std::uint32_t>(std::max(A, B));
            auto [It, New] = Edges.try_emplace(Key, nullptr);
            if (New) It->second = M.AddEdge(V[A], V[B]);
            TFin* Fin = It->second->GetFin(V[B]);
            if (Fin->GetFace() != nullptr || Fin->NextFin != nullptr ||
                std::find(Loop.begin(), Loop.end(), Fin) != Loop.end())
                throw EGeometryError("Edge " + std::to_string(A) + "-" + std::to_string(B) +
                                     " is already bounded on that side");
            Loop.push_back(Fin);
        }
        for (std::size_t I = 0; I < N; ++I) {
            Loop[I]->NextFin = Loop[(I + 1) % N];
            Loop[(I + 1) % N]->PrevFin = Loop[I];
        }
        M.AddFace(Loop.back());
    }
}

// The unit cube, corner i at (i & 1, i >> 1 & 1, i >> 2 & 1), as 12 triangles whose loops turn
// counter-clockwise seen from outside.
inline std::vector<TMVector> CubePoints() {
    std::vector<TMVector> P;
    for (int I = 0; I < 8; ++I) P.push_back({double(I & 1), double(I >> 1 & 1), double(I >> 2 & 1)});
    return P;
}

inline TIndexPolygons CubeTriangles() {
    const int Quads[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    TIndexPolygons T;
    for (const auto& Q : Quads) {
        T.push_back({Q[0], Q[1], Q[2]});
        T.push_back({Q[0], Q[2], Q[3]});
    }
    return T;
}

// A flat N x N grid of points in the XY plane cut into 2 (N - 1)^2 triangles; an open sheet.
inline void GridMesh(int N, std::vector<TMVector>& Points, TIndexPolygons& Triangles) {
    Points.clear();
    Triangles.clear();
    for (int J = 0; J < N; ++J)
        for (int I = 0; I < N; ++I) Points.push_back({double(I), double(J), 0});
    for (int J = 0; J + 1 < N; ++J) {
        for (int I = 0; I + 1 < N; ++I) {
            const int A = I + J * N;
            Triangles.push_back({A, A + 1, A + N + 1});
            Triangles.push_back({A, A + N + 1, A + N});
        }
    }
}

// Every third edge that has faces on both sides, until 2 Count are found: the edges of Count edits.
inline std::vector<TEdge*> InteriorEdges(const TManifold& M, int Count) {
    std::vector<TEdge*> Interior;
    for (int I = 0; I < M.Edges().Count() && static_cast<int>(Interior.size()) < 2 * Count; I += 3) {
        TEdge* E = M.Edges().Edge(I);
        if (E->Fin1()->GetFace() != nullptr && E->Fin2()->GetFace() != nullptr) Interior.push_back(E);
    }
    return Interior;
}

// One edit per pair of those edges: the first split at its middle and joined again, the second
// deleted.
inline void SplitAndDelete(TManifold& M, const std::vector<TEdge*>& Edges) {
    TEdgeSplit Split;
    for (std::size_t I = 0; I + 1 < Edges.size(); I += 2) {
        TEdge* E = Edges[I];
        const TMVector Mid = VectorMidpoint(E->Fin1()->Position(), E->Fin2()->Position());
        E->SubDivide(Mid, Split);
        E->JoinToNext(E->Fin2());
        M.DeleteEdge(Edges[I + 1]);
    }
}

// "" when every link agrees with every other; else the first disagreement found.
inline std::string CheckLinks(const TManifold& M) {
    std::unordered_set<const TVertex*> Vertices;
    std::unordered_set<const TEdge*> Edges;
    std::unordered_set<const TFace*> Faces;
    for (int I = 0; I < M.Vertices().Count(); ++I) {
        const TVertex* V = M.Vertices().Vertex(I);
        if (V->Index() != I) return "vertex " + std::to_string(I) + " has index " + std::to_string(V->Index());
        Vertices.insert(V);
    }
    for (int I = 0; I < M.Edges().Count(); ++I) {
        const TEdge* E = M.Edges().Edge(I);
        if (E->Index() != I) return "edge " + std::to_string(I) + " has index " + std::to_string(E->Index());
        Edges.insert(E);
    }
    for (int I = 0; I < M.Faces().Count(); ++I) Faces.insert(M.Faces().Face(I));

    std::unordered_map<const TVertex*, int> FinsAt;
    for (int I = 0; I < M.Edges().Count(); ++I) {
        const TEdge* E = M.Edges().Edge(I);
        const std::string Name = "edge " + std::to_string(I);
        if (E->Fin1() == nullptr || E->Fin2() == nullptr) return Name + " lacks a fin";
        if (E->Fin1()->OtherFin() != E->Fin2() || E->Fin2()->OtherFin() != E->Fin1()) return Name + ": fins not paired";
        for (const TFin* F : {E->Fin1(), E->Fin2()}) {
            if (F->GetEdge() != E) return Name + ": fin of another edge";
            const TVertex* V = F->GetVertex();
            if (V != nullptr) {
                if (Vertices.count(V) == 0) return Name + ": head outside the vertex container";
                if (!V->HasEdge(E)) return Name + ": missing from its head's edge list";
                ++FinsAt[V];
            }
            if (F->NextFin != nullptr) {
                if (Edges.count(F->NextFin->GetEdge()) == 0) return Name + ": next fin of a deleted edge";
                if (F->NextFin->PrevFin != F) return Name + ": next fin does not point back";
                if (F->NextFin->OtherFin()->GetVertex() != V) return Name + ": next fin does not leave the head";
            }
            if (F->PrevFin != nullptr) {
                if (Edges.count(F->PrevFin->GetEdge()) == 0) return Name + ": previous fin of a deleted edge";
                if (F->PrevFin->NextFin != F) return Name + ": previous fin does not point back";
            }
            if (const TFace* Face = F->GetFace()) {
                if (Faces.count(Face) == 0) return Name + ": face outside the face container";
                const auto& List = Face->Fins();
                if (std::find(List.begin(), List.end(), F) == List.end()) return Name + ": not in its face's list";
            }
        }
    }
    for (int I = 0; I < M.Vertices().Count(); ++I) {
        const TVertex* V = M.Vertices().Vertex(I);
        if (V->EdgeCount() != FinsAt[V]) return "vertex " + std::to_string(I) + ": edge list and fins disagree";
        for (int K = 0; K < V->EdgeCount(); ++K)
            if (Edges.count(V->Edge(K)) == 0) return "vertex " + std::to_string(I) + ": lists a deleted edge";
    }
    for (int I = 0; I < M.Faces().Count(); ++I) {
        const TFace* Face = M.Faces().Face(I);
        const std::string Name = "face " + std::to_string(I);
        for (const TFin* F : Face->Fins())
            if (F->GetFace() != Face) return Name + ": listed fin names another face";
        if (Face->FinCount() == 0) continue;
        if (!IsClosedFinLoop(Face->FirstFin())) return Name + ": loop not closed";
        int Steps = 0;
        const TFin* F = Face->FirstFin();
        do {
            if (F->GetFace() != Face) return Name + ": loop runs through another face";
            ++Steps;
            F = F->NextFin;
        } while (F != Face->FirstFin());
        if (Steps != Face->FinCount()) return Name + ": loop and fin list differ in length";
    }
    return "";
}

}  // namespace sarnova::testing
