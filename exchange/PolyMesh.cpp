#include "exchange/PolyMesh.h"

#include <algorithm>

#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/Polygon.h"

namespace sarnova {

namespace {

bool IdBelow(const std::unique_ptr<TPolyMeshVertex>& V, int Id) { return V->Id < Id; }

}  // namespace

TPolyMeshVertex* TPolyMeshVertices::Add(std::unique_ptr<TPolyMeshVertex> Vertex) {
    const auto At = std::lower_bound(FItems.begin(), FItems.end(), Vertex->Id, IdBelow);
    if (At != FItems.end() && (*At)->Id == Vertex->Id) throw EError("TPolyMeshVertices.Add - Vertex Id already exists");
    return FItems.insert(At, std::move(Vertex))->get();
}

int TPolyMeshVertices::IndexOfId(int Id) const {
    if (FItems.empty() || Id < FItems.front()->Id || Id > FItems.back()->Id) return -1;
    const auto At = std::lower_bound(FItems.begin(), FItems.end(), Id, IdBelow);
    return At != FItems.end() && (*At)->Id == Id ? static_cast<int>(At - FItems.begin()) : -1;
}

TPolyMeshVertex* TPolyMeshVertices::FindById(int Id) const {
    const int Index = IndexOfId(Id);
    return Index < 0 ? nullptr : FItems[static_cast<std::size_t>(Index)].get();
}

void TPolyMeshFace::AddVertexId(int Id) {
    if (TPolyMeshVertex* V = Mesh ? Mesh->Vertices.FindById(Id) : nullptr) FVertices.push_back(V);
}

TPolyMeshFace* TPolyMeshFaces::Add(std::unique_ptr<TPolyMeshFace> Face) {
    FItems.push_back(std::move(Face));
    return FItems.back().get();
}

TPolyMeshVertex* TPolyMesh::AddVertex(int Id) {
    if (Vertices.ContainsId(Id)) throw EError(Format("TPolyMesh.AddVertex - PolyMesh already contains Vertex Id %d", {Id}));
    auto V = std::make_unique<TPolyMeshVertex>();
    V->Mesh = this;
    V->Id = Id;
    return Vertices.Add(std::move(V));
}

TPolyMeshVertex* TPolyMesh::AddVertexAt(int Id, const TMVector& Position) {
    TPolyMeshVertex* V = AddVertex(Id);
    V->Position = Position;
    return V;
}

TPolyMeshFace* TPolyMesh::AddFace() {
    auto F = std::make_unique<TPolyMeshFace>();
    F->Mesh = this;
    return Faces.Add(std::move(F));
}

void TPolyMesh::ToPolygonList(TPolygonList& List) const {
    List.Clear();
    for (int I = 0; I < Faces.Count(); ++I) {
        const TPolyMeshFace& F = *Faces.Items(I);
        if (F.Count() == 3)
            List.Add(TriangleFromVectors(F.Items(0)->Position, F.Items(1)->Position, F.Items(2)->Position));
        else if (F.Count() == 4)
            List.Add(QuadFromVectors(F.Items(0)->Position, F.Items(1)->Position, F.Items(2)->Position,
                                     F.Items(3)->Position));
    }
}

}  // namespace sarnova
