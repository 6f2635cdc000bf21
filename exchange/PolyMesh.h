// A polyface mesh collected while it is read: numbered vertices and faces that name them by number,
// turned into triangles and quadrilaterals once the reading is done.
#pragma once
#include <memory>
#include <vector>

#include "foundation/Geom.h"

namespace sarnova {

class TPolygonList;
class TPolyMesh;

class TPolyMeshVertex {
public:
    TPolyMesh* Mesh = nullptr;
    int Id = 0;
    TMVector Position;
};

// Owns its vertices and keeps them sorted by ascending Id.
class TPolyMeshVertices {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    TPolyMeshVertex* Items(int Index) const { return FItems.at(static_cast<std::size_t>(Index)).get(); }
    TPolyMeshVertex* First() const { return Items(0); }
    TPolyMeshVertex* Last() const { return Items(Count() - 1); }
    void Clear() { FItems.clear(); }
    // Inserts at the sorted place; EError "TPolyMeshVertices.Add - Vertex Id already exists" for a
    // repeated id.
    TPolyMeshVertex* Add(std::unique_ptr<TPolyMeshVertex> Vertex);
    // Bisection; -1 when absent.
    int IndexOfId(int Id) const;
    TPolyMeshVertex* FindById(int Id) const;
    bool ContainsId(int Id) const { return IndexOfId(Id) != -1; }

private:
    std::vector<std::unique_ptr<TPolyMeshVertex>> FItems;
};

class TPolyMeshFace {
public:
    TPolyMesh* Mesh = nullptr;
    int Count() const { return static_cast<int>(FVertices.size()); }
    TPolyMeshVertex* Items(int Index) const { return FVertices.at(static_cast<std::size_t>(Index)); }
    // Appends the vertex of that id; an id that names no vertex is left out.
    void AddVertexId(int Id);

private:
    std::vector<TPolyMeshVertex*> FVertices;
};

class TPolyMeshFaces {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    TPolyMeshFace* Items(int Index) const { return FItems.at(static_cast<std::size_t>(Index)).get(); }
    TPolyMeshFace* Add(std::unique_ptr<TPolyMeshFace> Face);
    void Clear() { FItems.clear(); }

private:
    std::vector<std::unique_ptr<TPolyMeshFace>> FItems;
};

class TPolyMesh {
public:
    TPolyMeshVertices Vertices;
    TPolyMeshFaces Faces;

    // A vertex at the origin; EError "TPolyMesh.AddVertex - PolyMesh already contains Vertex Id <id>"
    // for an id in use, the mesh unchanged.
    TPolyMeshVertex* AddVertex(int Id);
    TPolyMeshVertex* AddVertexAt(int Id, const TMVector& Position);
    TPolyMeshVertex* AddVertexXYZ(int Id, double X, double Y, double Z) { return AddVertexAt(Id, {X, Y, Z}); }
    TPolyMeshFace* AddFace();
    // Clears List, then one triangle per face of 3 vertices and one quadrilateral per face of 4, in
    // the face's vertex order; other faces are skipped.
    void ToPolygonList(TPolygonList& List) const;
};

}  // namespace sarnova
