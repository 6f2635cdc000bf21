// The face finder: turns the vertices and edges a surface cut from its curves into a closed,
// two-sided mesh by taking each edge's shortest non-separating cycles as faces, closing the open
// boundary into exterior faces.
#pragma once
#include <functional>
#include <memory>
#include <queue>
#include <set>
#include <tuple>
#include <vector>

#include "surfaces/Manifold.h"

namespace sarnova {

class TQuillmoor;

// One step of a candidate ring: the edge and the vertex reached along it.
struct TQMCycleEdge {
    TEdge* Edge = nullptr;
    TVertex* Vertex = nullptr;
    // The fin of Edge whose head is Vertex; nullptr when either is missing.
    TFin* Fin() const;
};

struct TQMCycle {
    std::vector<TQMCycleEdge> Ring;  // from the head element on
    double Length = 0;
    bool TouchesFace = false;
    int Count() const { return static_cast<int>(Ring.size()); }
    bool Contains(const TEdge* E) const;
    // Walks the ring backwards from the same head: every element arrives at its edge's other end.
    void Reverse();
};

class TQuillmoor {
public:
    // True when validation was asked for and failed. Raises "TQuillmoor.CheckForStruts - Manifold
    // Contains Struts, Cannot generate faces" before any change when an edge ends in a vertex of one
    // edge.
    bool Execute(TManifold& AManifold, bool Validate);

    // One console line per incomplete vertex or fin; true when it wrote any. Then every face's loop
    // is checked (TFace.Validate).
    static bool ValidateManifold(TManifold& Manifold);

private:
    struct TVertexData {
        bool Active = false;
        bool Visited = false;  // settled by the shortest-path search
        bool Filled = false;   // reached by the whole-graph flood fill
        int Group = -1;        // the local connectivity search that reached it, in run FSearchRun
        int SearchRun = 0;
        double Distance = 0;
        TEdge* Predecessor = nullptr;
        TVertex* Root = nullptr;
    };
    struct TEdgeData {
        bool Active = false;
        bool Filled = false;
        bool Separating = false;
        bool InHeap = false;
        int UseCount = 0;
    };
    // Seed order: most fins with a face, fewest uses, shortest, then container order.
    using TSeedKey = std::tuple<int, int, double, int>;

    void CheckForStruts() const;
    TVertexData& VD(const TVertex* V) { return FVertexData[static_cast<std::size_t>(V->Index())]; }
    TEdgeData& ED(const TEdge* E) { return FEdgeData[static_cast<std::size_t>(E->Index())]; }

    void SetAllActive();
    void SetVertexActive(TVertex* V, bool Value);
    // Whether the active part of the graph falls apart: a flood fill of the whole graph.
    bool IsDisconnected();
    // The same answer for a connected graph with the vertices Removed inactive, found by searching
    // from their neighbours only until the searches meet or one runs dry.
    bool IsDisconnectedAround(const std::vector<TVertex*>& Removed);
    bool IsSeparatingEdge(TEdge* E);
    bool IsSeparatingCycle(const TQMCycle& C);

    TSeedKey SeedKey(TEdge* E);
    void HeapAdd(TEdge* E);
    void HeapRemove(TEdge* E);
    // Re-sorts E after a face was made on it, or drops it once both sides have one.
    void HeapUpdate(TEdge* E);

    bool IsAdmissible(TVertex* V, TEdge* E);
    bool IsClosingEdge(TEdge* E, TEdge* Seed);
    // The shortest-path search from both ends of Seed: StartSearch sets it up, SettleNext settles
    // the nearest vertex (nullptr when none is left) and NextDistance is the distance of the next.
    void StartSearch(TEdge* Seed);
    TVertex* SettleNext();
    double NextDistance();
    std::vector<std::unique_ptr<TQMCycle>> FindCycles(TEdge* Seed);
    // For a seed with a face on one side: candidates are taken shortest first as soon as no cycle
    // still unfound can be shorter, and the search stops with the face that closes the seed.
    void CloseSeed(TEdge* Seed);
    std::unique_ptr<TQMCycle> GenerateCycle(TEdge* E, TEdge* Seed);
    bool IsValid(const TQMCycle& C);
    void ProcessCycles(std::vector<std::unique_ptr<TQMCycle>>& Cycles, TEdge* Seed);
    TFace* CreateFace(TQMCycle& C);
    void CreateExteriorFaces();

    TManifold* FManifold = nullptr;
    std::vector<TVertexData> FVertexData;
    std::vector<TEdgeData> FEdgeData;
    std::vector<TSeedKey> FHeapKeys;
    std::set<TSeedKey> FEdgeHeap;
    using TQueueItem = std::pair<double, int>;  // distance, vertex index: ties by container order
    std::priority_queue<TQueueItem, std::vector<TQueueItem>, std::greater<TQueueItem>> FQueue;
    std::vector<TVertex*> FTouched;  // vertices whose search fields the last search set
    bool FConnected = false;         // the whole graph is one piece
    int FSearchRun = 0;
};

// Runs the face finder on Manifold; true when validation was asked for and failed.
bool FindFaces(TManifold& Manifold, bool Validate);

}  // namespace sarnova
