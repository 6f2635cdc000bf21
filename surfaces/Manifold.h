// The half-edge manifold mesh: vertices, edges with two oriented fins each, and faces bounded by
// loops of fins. The curve-network modeller finds and splits its faces on it, and the surface
// analysis averages normals over it. Every element is made through four replaceable factories, so
// users plug in their own element classes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "foundation/VkMaths.h"

namespace sarnova {

class IGraphics;
class TManifold;
class TManifoldObjects;
class TVertex;
class TEdge;
class TFin;
class TFace;
class TVertexContainer;
class TEdgeContainer;

// Base of vertices, edges and faces.
class TManifoldObject {
public:
    explicit TManifoldObject(TManifold* AManifold) : FManifold(AManifold) {}
    // Leaves the owning container that still lists it, so no container keeps a freed element.
    virtual ~TManifoldObject();
    TManifoldObject(const TManifoldObject&) = delete;
    TManifoldObject& operator=(const TManifoldObject&) = delete;

    TManifold* GetManifold() const { return FManifold; }
    // Nothing in the base.
    virtual void Draw(IGraphics& Graphics);

protected:
    // The container that holds the element, nullptr when none does.
    TManifoldObjects* Container() const { return FSlotList; }

private:
    friend class TManifoldObjects;
    TManifold* FManifold;
    // The container that holds this element and its slot there: lets a container of a few hundred
    // thousand elements find, index and drop it without a search. For vertices and edges it is the
    // owner container.
    TManifoldObjects* FSlotList = nullptr;
    std::size_t FSlot = 0;
};

// An ordered list of manifold elements. A plain list never frees anything; the three containers of
// a manifold free the elements of their own manifold when they drop them, and leave other elements
// alive.
//
// A container also records in each element the slot that holds it, keeps removed entries as holes
// and counts the live entries before a slot with a Fenwick tree: so Items, IndexOf and removal stay
// O(log n) in a container of a few hundred thousand elements while the order is kept. The holes are
// squeezed out once they outnumber the live entries.
class TManifoldObjects {
public:
    // A plain list; Manifold only says whose elements it is meant to hold.
    explicit TManifoldObjects(TManifold* AManifold = nullptr) : FManifold(AManifold) {}
    // A container frees the owned elements it still holds.
    virtual ~TManifoldObjects();
    TManifoldObjects(const TManifoldObjects&) = delete;
    TManifoldObjects& operator=(const TManifoldObjects&) = delete;

    TManifold* GetManifold() const { return FManifold; }
    int Count() const { return FLive; }
    // Throws EError "List index out of bounds (Index)" outside 0 .. Count - 1.
    TManifoldObject* Items(int Index) const;
    // -1 when absent.
    int IndexOf(const TManifoldObject* Element) const;
    bool Contains(const TManifoldObject* Element) const { return IndexOf(Element) >= 0; }
    // Delete at the element's index when it is listed.
    void Remove(TManifoldObject* Element);
    // The list's entries become Source's (shared, not copied); a container frees the owned entries
    // it drops that Source does not hold. Throws EError when Source holds elements of another kind.
    void Assign(const TManifoldObjects& Source);
    // Draw of every element in order.
    void Draw(IGraphics& Graphics) const;
    // Squeezes out the holes that removals left, so that Items and IndexOf are direct lookups again;
    // the order stays.
    void Pack();

    // Removes the entry (index error outside 0 .. Count - 1); a container frees it when it owns it.
    virtual void Delete(int Index);
    // Empties the list; a container frees what it owns, last first.
    virtual void Clear();

protected:
    TManifoldObjects(TManifold* AManifold, bool AContainer) : FManifold(AManifold), FContainer(AContainer) {}
    // Appends Element; throws EError for nullptr.
    void Append(TManifoldObject* Element);
    // Whether Element is of the list's kind.
    virtual bool Accepts(const TManifoldObject* Element) const { return Element != nullptr; }

private:
    friend class TManifoldObject;
    // Frees the element when this is a container of its manifold.
    void Release(TManifoldObject* Element);
    std::vector<TManifoldObject*> ExtractAll();
    std::size_t SlotOfIndex(int Index) const;
    int IndexOfSlot(std::size_t Slot) const;
    void DropSlot(std::size_t Slot);
    void BuildTree();
    void Compact();

    TManifold* FManifold = nullptr;
    bool FContainer = false;
    std::vector<TManifoldObject*> FSlots;  // nullptr marks a hole of a container
    std::vector<int> FTree;                // live counts, kept only while there are holes
    int FLive = 0;
    int FHoles = 0;
};

class TVertices : public TManifoldObjects {
public:
    using TManifoldObjects::TManifoldObjects;
    TVertex* Vertex(int Index) const;
    TVertex* Last() const { return Vertex(Count() - 1); }
    // The first vertex whose three coordinates each differ from Point's by less than 0.005.
    TVertex* FindByPosition(const TMVector& Point) const;
    virtual void Add(TVertex* Vertex);

protected:
    bool Accepts(const TManifoldObject* Element) const override;
};

class TEdges : public TManifoldObjects {
public:
    using TManifoldObjects::TManifoldObjects;
    TEdge* Edge(int Index) const;
    TEdge* First() const { return Edge(0); }
    TEdge* Last() const { return Edge(Count() - 1); }
    virtual void Add(TEdge* Edge);

protected:
    bool Accepts(const TManifoldObject* Element) const override;

private:
    friend class TVertex;
    int LastIndexOf(const TEdge* Edge) const;
};

class TFaces : public TManifoldObjects {
public:
    using TManifoldObjects::TManifoldObjects;
    TFace* Face(int Index) const;
    TFace* First() const { return Face(0); }
    void Add(TFace* Face);

protected:
    bool Accepts(const TManifoldObject* Element) const override;
};

// The containers a manifold owns; they are the owner containers of their vertices and edges.
class TVertexContainer : public TVertices {
public:
    explicit TVertexContainer(TManifold* AManifold) : TVertices(AManifold, true) {}
};

class TEdgeContainer : public TEdges {
public:
    explicit TEdgeContainer(TManifold* AManifold) : TEdges(AManifold, true) {}
};

class TFaceContainer : public TFaces {
public:
    explicit TFaceContainer(TManifold* AManifold) : TFaces(AManifold, true) {}
};

// Walks the incident edges of a vertex; the caller owns it.
class TVertexEdgeIterator {
public:
    explicit TVertexEdgeIterator(const TVertex& AVertex) : FVertex(AVertex) {}
    bool MoveNext();
    // nullptr before the first and after the last edge.
    TEdge* Current() const;

private:
    const TVertex& FVertex;
    int FPosition = -1;
};

// Walks a face loop from its first fin along NextFin; the caller owns it.
class TFaceFinIterator {
public:
    explicit TFaceFinIterator(const TFace& AFace) : FFace(AFace) {}
    // First call: the first fin. Later calls: the next fin of the loop, false once back at the first
    // fin (or at a fin without a next one, where the loop is open).
    bool MoveNext();
    TFin* Current() const { return FCurrent; }

private:
    const TFace& FFace;
    TFin* FStart = nullptr;
    TFin* FCurrent = nullptr;
    bool FStarted = false;
    // Steps left before an open loop that never returns to its start is given up.
    std::size_t FStepsLeft = 0;
};

class TVertex : public TManifoldObject {
public:
    explicit TVertex(TManifold* AManifold);
    // The fins still ending here lose their vertex, so no edge keeps pointing at a freed vertex.
    ~TVertex() override;

    TMVector Position;
    TMVector Normal;
    // Only used inside TManifold::Assign: the vertex's copy.
    TVertex* CopyLink = nullptr;

    TVertexContainer* GetOwnerContainer() const;
    // Position in the owner container; -1 without one.
    int Index() const;

    int EdgeCount() const { return FEdges.Count(); }
    TEdge* Edge(int Index) const { return FEdges.Edge(Index); }
    // nullptr for a vertex without edges.
    TEdge* FirstEdge() const { return EdgeCount() > 0 ? FEdges.Edge(0) : nullptr; }
    const TEdges& Edges() const { return FEdges; }
    std::unique_ptr<TVertexEdgeIterator> EdgeIterator() const;
    void AddEdge(TEdge* E) { FEdges.Add(E); }
    bool HasEdge(const TEdge* E) const;
    // When E is incident: joins the loops that ran in along E's fin ending here and out along its
    // other fin past the edge, unlinks those two fins there, and drops E from the list.
    void RemoveEdge(TEdge* E);
    // The edge of the fin that follows E's fin at this vertex in its face loop; nullptr when that
    // fin has no next fin.
    TEdge* NextEdge(TEdge* E) const;

    // The unit normal averaged from the edge pairs around the vertex, pointing against the
    // right-handed normal of the surrounding face loops; zero with fewer than two edges. A vertex of
    // two edges whose first edge misses a face on a side shows a message for each missing face.
    TMVector CalculateNormal() const;
    void UpdateNormal() { Normal = CalculateNormal(); }

    // An edit handle at the position and the normal.
    void Draw(IGraphics& Graphics) override;
    // An arrow along the normal when it is longer than 0.9.
    void DrawNormal(IGraphics& Graphics) const;
    // Position and Normal.
    virtual void Assign(const TVertex& Source);

private:
    friend class TEdge;
    // Takes E off the incident list without touching any loop.
    void DropEdge(TEdge* E);
    TEdges FEdges;
};

// One side of an edge. Its Vertex is its head: walking a face loop forward, each fin runs from the
// far end of its edge to its Vertex, and NextFin leaves that vertex.
class TFin {
public:
    TFin(TManifold* AManifold, TEdge* AEdge) : FManifold(AManifold), FEdge(AEdge) {}
    // Leaves its face and unlinks its loop neighbours.
    virtual ~TFin();
    TFin(const TFin&) = delete;
    TFin& operator=(const TFin&) = delete;

    TFin* NextFin = nullptr;
    TFin* PrevFin = nullptr;

    TManifold* GetManifold() const { return FManifold; }
    TEdge* GetEdge() const { return FEdge; }
    TVertex* GetVertex() const { return FVertex; }
    TFace* GetFace() const { return FFace; }

    // The head's position; zero without a head.
    TMVector Position() const;
    // The unit vector along the edge leaving the head; zero when the fin is not on its edge.
    TMVector Direction() const;
    // The other fin of the edge; nullptr when this fin is not one of its edge's fins.
    TFin* OtherFin() const;
    // Unsplices at the old head, then makes V the head and keeps both incident-edge lists right.
    void SetVertex(TVertex* V);

    // Nothing in the base.
    virtual void Assign(const TFin& Source);
    virtual void Draw(IGraphics& Graphics);

private:
    friend class TFace;
    friend class TEdge;  // Reverse swaps the faces of its fins in place
    TManifold* FManifold;
    TEdge* FEdge;
    TVertex* FVertex = nullptr;
    TFace* FFace = nullptr;
};

// True when the loop from Start along NextFin comes back to Start; false for a nil Start, a fin
// without a next one on the way, or a loop that runs into a cycle avoiding Start.
bool IsClosedFinLoop(const TFin* Start);
// The fins of the closed loop from Start, Start first. Throws EGeometryError "<Routine> - Open Fin
// Cycle Found" when the loop is not closed.
std::vector<TFin*> ClosedFinLoop(TFin* Start, const char* Routine);

// What TEdge::SubDivide made.
struct TEdgeSplit {
    TEdge* Edge = nullptr;       // the edge that was split; it now ends at the new vertex
    TEdge* NewEdge = nullptr;    // from the new vertex to the old second vertex
    TVertex* NewVertex = nullptr;
};

// What TFace::SubDivide made.
struct TFaceSplit {
    TFin* Fin1 = nullptr;        // the loop fin at the first vertex
    TFin* Fin2 = nullptr;        // the loop fin at the second vertex
    TEdge* NewEdge = nullptr;
    TFace* Face = nullptr;       // the face that was split
    TFace* NewFace = nullptr;
};

class TEdge : public TManifoldObject {
public:
    // Makes both fins through the manifold's fin factory (first, then second); an edge without a
    // manifold has no fins.
    explicit TEdge(TManifold* AManifold);
    // Leaves its vertices and faces first, so no loop, face or vertex keeps a freed fin.
    ~TEdge() override;

    // Only used inside TManifold::Assign: the edge's copy.
    TEdge* CopyLink = nullptr;

    TFin* Fin1() const { return FFin1.get(); }
    TFin* Fin2() const { return FFin2.get(); }
    TEdgeContainer* GetOwnerContainer() const;
    // Position in the owner container; -1 without one.
    int Index() const;

    // The fin whose head is V, the first fin first. Throws EGeometryError "TEdge.GetFin - End for
    // vertex not found, edge not connected to vertex".
    TFin* GetFin(const TVertex* V) const;
    // The vertex at the other end; nullptr for a nil V, a fin without a vertex or a V that is no end.
    TVertex* OtherVertex(const TVertex* V) const;

    // A line between the fins' positions.
    void Draw(IGraphics& Graphics) override;
    void DrawFins(IGraphics& Graphics);
    void DrawFinDirections(IGraphics& Graphics);

    virtual double Length() const;
    // End 0: the unit vector from the first fin's position to the second's; end 1 the reverse; any
    // other end leaves Dir as it is.
    virtual void Direction(int EndIndex, TMVector& Dir) const;
    // Swaps the roles of the two fins in their loops: each fin takes the place of the other in the
    // reversed loop, and the fins exchange their faces at the same list positions.
    virtual void Reverse();
    // Nothing in the base.
    virtual void Assign(const TEdge& Source);
    // Splits the edge at Point: a new vertex there and a new edge from it to the old second vertex,
    // in the same faces and loops. Raises the validation error of a face that is broken before or
    // after.
    virtual void SubDivide(const TMVector& Point, TEdgeSplit& Split);
    // Merges the next edge at Fin's head into this one and deletes that vertex; this edge then ends
    // at the next edge's far vertex. Raises "TEdge.JoinToNext - Can only join to next edge if there
    // is only two edges at the next vertex" unless exactly two edges meet there.
    virtual void JoinToNext(TFin* Fin);

private:
    std::unique_ptr<TFin> FFin1;
    std::unique_ptr<TFin> FFin2;
};

class TFace : public TManifoldObject {
public:
    explicit TFace(TManifold* AManifold) : TManifoldObject(AManifold) {}
    // The fins stay alive and only lose their face.
    ~TFace() override;

    TMVector Centroid;
    // Set for an outside face: not drawn, and users give it no patch.
    std::uint8_t Exterior = 0;
    // Only used inside TManifold::Assign: the face's copy.
    TFace* CopyLink = nullptr;

    int FinCount() const { return static_cast<int>(FFins.size()); }
    // The fins in the order they were added.
    const std::vector<TFin*>& Fins() const { return FFins; }
    // nullptr for a face without fins.
    TFin* FirstFin() const { return FFins.empty() ? nullptr : FFins.front(); }
    std::unique_ptr<TFaceFinIterator> FinIterator() const;

    // Nothing when Fin is already in this face; else takes it from its former face and appends it.
    void AddFin(TFin* Fin);
    // When Fin belongs to this face: drops it and clears its face.
    void RemoveFin(TFin* Fin);
    // Clears the face of every fin and empties the list.
    void DetachFins();
    // The fins of the closed loop through Fin become the face's fins, Fin first. Throws
    // EGeometryError "TFace.RebuildFromFin - Open Fin Cycle Found", before any change, when the loop
    // does not come back to Fin.
    void RebuildFromFin(TFin* Fin);
    void Rebuild() { RebuildFromFin(FirstFin()); }

    // Newell's normal and the mean of the loop's heads. A loop without area keeps a zero normal.
    void CalculateCentroidAndNormal();

    void Draw(IGraphics& Graphics) override { DrawInset(Graphics); }
    // The loop shrunk to 95 % about its centre, filled red and outlined white; nothing for an
    // exterior face.
    void DrawInset(IGraphics& Graphics);
    virtual TMVector Normal() const { return FNormal; }
    // The box of the fins' head positions.
    virtual TMBox GetExtents() const;
    virtual bool IsExterior() const { return Exterior != 0; }
    // The exterior flag, centroid and normal.
    virtual void Assign(const TFace& Source);

    // Splits the face by a new edge between two of its vertices; the new face gets the part from
    // V2. Raises "TFace.SubDivide - Vertex1 is not part of face" or "... Vertex2 ...".
    void SubDivide(TVertex* V1, TVertex* V2, TFaceSplit& Split);
    void SubDivideAtFins(TFin* FinA, TFin* FinB, TFaceSplit& Split);
    // A dangling edge from V, which has no edges yet, to the loop vertex LoopVertex.
    TEdge* AddStrut(TVertex* V, TVertex* LoopVertex);
    TEdge* AddStrutAtFin(TVertex* V, TFin* Fin);
    // Raises "TFace.Validate - Error in Fin Loop Integrity" when a listed fin's neighbours do not
    // point back at it.
    void Validate() const;

protected:
    TMVector FNormal;

private:
    friend class TEdge;
    std::vector<TFin*> FFins;
};

// The mesh: owns its vertex, edge and face containers and everything in them.
class TManifold {
public:
    using TVertexFactoryFunc = std::function<std::unique_ptr<TVertex>(TManifold*)>;
    using TEdgeFactoryFunc = std::function<std::unique_ptr<TEdge>(TManifold*)>;
    using TFinFactoryFunc = std::function<std::unique_ptr<TFin>(TManifold*, TEdge*)>;
    using TFaceFactoryFunc = std::function<std::unique_ptr<TFace>(TManifold*)>;

    // The factories start bound to NewVertex, NewEdge, NewFin and NewFace of this manifold.
    TManifold();
    // Frees the faces, then the edges, then the vertices.
    virtual ~TManifold();
    TManifold(const TManifold&) = delete;
    TManifold& operator=(const TManifold&) = delete;

    // Element factories; users replace them to plug in their own element classes.
    TVertexFactoryFunc VertexFactory;
    TEdgeFactoryFunc EdgeFactory;
    TFinFactoryFunc FinFactory;
    TFaceFactoryFunc FaceFactory;

    TVertexContainer& Vertices() { return FVertices; }
    const TVertexContainer& Vertices() const { return FVertices; }
    TEdgeContainer& Edges() { return FEdges; }
    const TEdgeContainer& Edges() const { return FEdges; }
    TFaceContainer& Faces() { return FFaces; }
    const TFaceContainer& Faces() const { return FFaces; }

    // Clears the faces, then the edges, then the vertices.
    void Clear();
    // Packs the three containers: worth it before a long run of index lookups after many removals.
    void Pack();

    // Through the factories, added to no container. Throw EGeometryError "TManifold.CreateVertex -
    // Vertex Factory not assigned" (Edge, Fin, Face alike) when the factory is empty.
    std::unique_ptr<TVertex> CreateVertex();
    std::unique_ptr<TEdge> CreateEdge();
    std::unique_ptr<TFin> CreateFin(TEdge* Edge);
    std::unique_ptr<TFace> CreateFace();

    TVertex* AddVertex(const TMVector& Point);
    // The first fin's head is V1 and the second's V2; no loop links are set.
    TEdge* AddEdge(TVertex* V1, TVertex* V2);
    // A face on the closed fin cycle through Fin; Fin.NextFin becomes its first fin. Throws
    // EGeometryError "TManiFold.AddFace - Partial Empty Fin Cycle Found" when a fin of the cycle
    // already has a face of this manifold, and "TManiFold.AddFace - Open Fin Cycle Found" when the
    // cycle does not come back to Fin; both before any change.
    TFace* AddFace(TFin* Fin);

    // Deletes E and merges the faces on its sides: an interior face survives an exterior
    // neighbour, otherwise the first fin's face; an end vertex left without edges goes too.
    void DeleteEdge(TEdge* E);
    // Deletes every edge of V, last first, and V.
    void DeleteVertex(TVertex* V);
    // Deletes, last first, every edge neither of whose fins has a face.
    void DeleteFreeEdges();

    // Rebuilds this manifold as a copy of Source through this manifold's own factories: 0 on
    // success, 1 (and an empty manifold) when a face loop of Source is broken.
    virtual int Assign(TManifold& Source);
    virtual void Draw(IGraphics& Graphics);

    // The text dump: "V %0.6f %0.6f %0.6f" per vertex, "E %d %d" per edge (1-based head indices of
    // the first and second fin) and "F" with " %d" per loop fin for each face. Throws EInOutError
    // when the file cannot be written.
    void SaveToFile(const std::filesystem::path& FileName) const;

protected:
    // The default factories: plain elements of the given manifold.
    virtual std::unique_ptr<TVertex> NewVertex(TManifold* AManifold);
    virtual std::unique_ptr<TEdge> NewEdge(TManifold* AManifold);
    virtual std::unique_ptr<TFin> NewFin(TManifold* AManifold, TEdge* Edge);
    virtual std::unique_ptr<TFace> NewFace(TManifold* AManifold);

private:
    TVertexContainer FVertices{this};
    TEdgeContainer FEdges{this};
    TFaceContainer FFaces{this};
};

}  // namespace sarnova
