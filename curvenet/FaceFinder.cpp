#include "curvenet/FaceFinder.h"

#include <algorithm>
#include <functional>
#include <utility>

#include "foundation/Console.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"

namespace sarnova {

namespace {

constexpr double Unreached = 1.7e308;

int FacedFins(const TEdge* E) {
    return (E->Fin1() != nullptr && E->Fin1()->GetFace() != nullptr) +
           (E->Fin2() != nullptr && E->Fin2()->GetFace() != nullptr);
}

bool IsChainEdge(const TEdge* E) {
    const TVertex* A = E->Fin1()->GetVertex();
    const TVertex* B = E->Fin2()->GetVertex();
    return A != nullptr && B != nullptr && A->EdgeCount() == 2 && B->EdgeCount() == 2;
}

// The free fin leaving F's vertex next along the open boundary: turning through the faces around
// the vertex from F's other side; nullptr unless the turn passes every edge at the vertex.
TFin* NextFreeFin(TFin* F) {
    const TVertex* V = F->GetVertex();
    TFin* X = F->OtherFin();
    if (V == nullptr || X == nullptr) return nullptr;
    int Passed = 1;
    while (X->PrevFin != nullptr && Passed <= V->EdgeCount()) {
        X = X->PrevFin->OtherFin();
        if (X == nullptr) return nullptr;
        ++Passed;
    }
    return X->PrevFin == nullptr && Passed == V->EdgeCount() ? X : nullptr;
}

}  // namespace

TFin* TQMCycleEdge::Fin() const {
    if (Edge == nullptr || Vertex == nullptr) return nullptr;
    return Edge->GetFin(Vertex);
}

bool TQMCycle::Contains(const TEdge* E) const {
    return std::any_of(Ring.begin(), Ring.end(), [E](const TQMCycleEdge& X) { return X.Edge == E; });
}

void TQMCycle::Reverse() {
    if (Ring.size() > 1) std::reverse(Ring.begin() + 1, Ring.end());
    for (TQMCycleEdge& X : Ring) X.Vertex = X.Edge->OtherVertex(X.Vertex);
}

// ---- connectivity ----

void TQuillmoor::SetAllActive() {
    for (auto& D : FVertexData) D.Active = true;
    for (auto& D : FEdgeData) D.Active = true;
}

void TQuillmoor::SetVertexActive(TVertex* V, bool Value) {
    VD(V).Active = Value;
    for (int I = 0; I < V->EdgeCount(); ++I) ED(V->Edge(I)).Active = Value;
}

bool TQuillmoor::IsDisconnected() {
    for (auto& D : FVertexData) D.Filled = false;
    for (auto& D : FEdgeData) D.Filled = false;
    TVertexContainer& Vertices = FManifold->Vertices();
    TVertex* Start = nullptr;
    for (int I = 0; I < Vertices.Count() && Start == nullptr; ++I) {
        TVertex* V = Vertices.Vertex(I);
        if (!VD(V).Active) continue;
        for (int J = 0; J < V->EdgeCount(); ++J)
            if (ED(V->Edge(J)).Active) {
                Start = V;
                break;
            }
    }
    if (Start == nullptr) return false;
    // Depth first with an explicit stack: a hull network is far too deep for recursion.
    std::vector<TVertex*> Stack{Start};
    VD(Start).Filled = true;
    while (!Stack.empty()) {
        TVertex* V = Stack.back();
        Stack.pop_back();
        for (int J = 0; J < V->EdgeCount(); ++J) {
            TEdge* E = V->Edge(J);
            if (!ED(E).Active) continue;
            ED(E).Filled = true;
            TVertex* W = E->OtherVertex(V);
            if (W != nullptr && VD(W).Active && !VD(W).Filled) {
                VD(W).Filled = true;
                Stack.push_back(W);
            }
        }
    }
    for (const auto& D : FVertexData)
        if (D.Active && !D.Filled) return true;
    for (const auto& D : FEdgeData)
        if (D.Active && !D.Filled) return true;
    return false;
}

bool TQuillmoor::IsDisconnectedAround(const std::vector<TVertex*>& Removed) {
    if (!FConnected) return IsDisconnected();
    // In a connected graph every piece left holds a neighbour of a removed vertex, so the rest
    // hangs together exactly when those neighbours do. An active edge between two removed
    // vertices is never reached, which the whole fill counts as a piece of its own.
    ++FSearchRun;
    std::vector<TVertex*> Seeds;
    bool Chord = false;
    for (TVertex* V : Removed)
        for (int J = 0; J < V->EdgeCount(); ++J) {
            TEdge* E = V->Edge(J);
            TVertex* W = E->OtherVertex(V);
            if (W == nullptr) continue;
            if (!VD(W).Active) {
                Chord = Chord || ED(E).Active;
                continue;
            }
            TVertexData& D = VD(W);
            if (D.SearchRun == FSearchRun) continue;
            D.SearchRun = FSearchRun;
            D.Group = static_cast<int>(Seeds.size());
            Seeds.push_back(W);
        }
    // The fill needs a start: an active vertex with an active edge. Vertices away from the removed
    // ones keep all their edges.
    std::size_t RemovedCount = 0;
    for (TVertex* V : Removed)
        if (VD(V).SearchRun != -FSearchRun) {
            VD(V).SearchRun = -FSearchRun;
            ++RemovedCount;
        }
    const auto HasActiveEdge = [this](TVertex* V) {
        for (int J = 0; J < V->EdgeCount(); ++J)
            if (ED(V->Edge(J)).Active) return true;
        return false;
    };
    const std::size_t Left = static_cast<std::size_t>(FManifold->Vertices().Count()) - RemovedCount;
    const bool HasStart = Left > Seeds.size() || std::any_of(Seeds.begin(), Seeds.end(), HasActiveEdge);
    if (!HasStart) return false;
    if (Chord) return true;
    if (Seeds.size() <= 1) return false;

    // One breadth-first search per seed, taking turns; searches that meet merge. A search that
    // runs dry while others remain has found a piece of its own.
    const std::size_t N = Seeds.size();
    std::vector<int> Parent(N);
    std::vector<std::vector<TVertex*>> Queue(N);
    std::vector<std::size_t> Head(N, 0);
    for (std::size_t G = 0; G < N; ++G) {
        Parent[G] = static_cast<int>(G);
        Queue[G].push_back(Seeds[G]);
    }
    const auto Find = [&Parent](int G) {
        while (Parent[static_cast<std::size_t>(G)] != G) G = Parent[static_cast<std::size_t>(G)] = Parent[static_cast<std::size_t>(Parent[static_cast<std::size_t>(G)])];
        return G;
    };
    std::size_t Groups = N;
    while (true) {
        for (std::size_t G = 0; G < N; ++G) {
            if (Find(static_cast<int>(G)) != static_cast<int>(G)) continue;
            if (Head[G] == Queue[G].size()) return true;
            TVertex* V = Queue[G][Head[G]++];
            for (int J = 0; J < V->EdgeCount(); ++J) {
                TEdge* E = V->Edge(J);
                if (!ED(E).Active) continue;
                TVertex* W = E->OtherVertex(V);
                if (W == nullptr || !VD(W).Active) continue;
                TVertexData& D = VD(W);
                if (D.SearchRun != FSearchRun) {
                    D.SearchRun = FSearchRun;
                    D.Group = static_cast<int>(G);
                    Queue[G].push_back(W);
                    continue;
                }
                const int H = Find(D.Group);
                if (H == static_cast<int>(G)) continue;
                if (--Groups == 1) return false;
                // This search takes over the other one, the shorter waiting list joining the longer.
                const std::size_t Gone = static_cast<std::size_t>(H);
                if (Queue[G].size() - Head[G] < Queue[Gone].size() - Head[Gone]) {
                    std::swap(Queue[G], Queue[Gone]);
                    std::swap(Head[G], Head[Gone]);
                }
                Queue[G].insert(Queue[G].end(), Queue[Gone].begin() + static_cast<std::ptrdiff_t>(Head[Gone]), Queue[Gone].end());
                Queue[Gone].clear();
                Head[Gone] = 0;
                Parent[Gone] = static_cast<int>(G);
            }
        }
    }
}

bool TQuillmoor::IsSeparatingEdge(TEdge* E) {
    TVertex* A = E->Fin1()->GetVertex();
    TVertex* B = E->Fin2()->GetVertex();
    SetVertexActive(A, false);
    SetVertexActive(B, false);
    const bool Result = IsDisconnectedAround({A, B});
    SetVertexActive(A, true);
    SetVertexActive(B, true);
    return Result;
}

bool TQuillmoor::IsSeparatingCycle(const TQMCycle& C) {
    std::vector<TVertex*> Removed;
    for (const TQMCycleEdge& X : C.Ring) {
        for (TVertex* V : {X.Edge->Fin1()->GetVertex(), X.Edge->Fin2()->GetVertex()}) {
            VD(V).Active = false;
            Removed.push_back(V);
        }
        ED(X.Edge).Active = false;
    }
    const bool Result = IsDisconnectedAround(Removed);
    for (const TQMCycleEdge& X : C.Ring) {
        VD(X.Edge->Fin1()->GetVertex()).Active = true;
        VD(X.Edge->Fin2()->GetVertex()).Active = true;
        ED(X.Edge).Active = true;
    }
    return Result;
}

// ---- the edge heap ----

TQuillmoor::TSeedKey TQuillmoor::SeedKey(TEdge* E) { return {-FacedFins(E), ED(E).UseCount, E->Length(), E->Index()}; }

void TQuillmoor::HeapAdd(TEdge* E) {
    FHeapKeys[static_cast<std::size_t>(E->Index())] = SeedKey(E);
    FEdgeHeap.insert(FHeapKeys[static_cast<std::size_t>(E->Index())]);
    ED(E).InHeap = true;
}

void TQuillmoor::HeapRemove(TEdge* E) {
    if (!ED(E).InHeap) return;
    FEdgeHeap.erase(FHeapKeys[static_cast<std::size_t>(E->Index())]);
    ED(E).InHeap = false;
}

void TQuillmoor::HeapUpdate(TEdge* E) {
    // The exterior faces are made after the work records are gone.
    if (static_cast<std::size_t>(E->Index()) >= FEdgeData.size() || !ED(E).InHeap) return;
    HeapRemove(E);
    if (FacedFins(E) < 2) HeapAdd(E);
}

// ---- candidate cycles ----

bool TQuillmoor::IsAdmissible(TVertex* V, TEdge* E) {
    if (!ED(E).Active || !ED(E).InHeap || FacedFins(E) == 2) return false;
    if (V->EdgeCount() < 3) return true;
    // The path must not turn along the corner of a face already made at V.
    TEdge* A = VD(V).Predecessor;
    TFin* F = A->GetFin(V);
    if (F->NextFin != nullptr && F->NextFin->GetEdge() == E) return false;
    TFin* O = F->OtherFin();
    return !(O != nullptr && O->PrevFin != nullptr && O->PrevFin->GetEdge() == E);
}

bool TQuillmoor::IsClosingEdge(TEdge* E, TEdge* Seed) {
    if (E == Seed || FacedFins(E) == 2 || !ED(E).InHeap) return false;
    const TVertex* A = E->Fin1()->GetVertex();
    const TVertex* B = E->Fin2()->GetVertex();
    if (A == nullptr || B == nullptr) return false;
    const TVertex* RA = VD(A).Root;
    const TVertex* RB = VD(B).Root;
    return RA != nullptr && RB != nullptr && RA != RB;
}

void TQuillmoor::StartSearch(TEdge* Seed) {
    // Only the vertices the last search reached carry anything to clear.
    for (TVertex* V : FTouched) {
        TVertexData& D = VD(V);
        D.Visited = false;
        D.Distance = Unreached;
        D.Predecessor = nullptr;
        D.Root = nullptr;
    }
    FTouched.clear();
    FQueue = {};
    for (TVertex* End : {Seed->Fin1()->GetVertex(), Seed->Fin2()->GetVertex()}) {
        VD(End).Distance = 0;
        VD(End).Predecessor = Seed;
        VD(End).Root = End;
        FTouched.push_back(End);
        FQueue.push({0.0, End->Index()});
    }
}

double TQuillmoor::NextDistance() {
    while (!FQueue.empty()) {
        const auto [Distance, Index] = FQueue.top();
        const TVertexData& D = FVertexData[static_cast<std::size_t>(Index)];
        if (!D.Visited && Distance <= D.Distance) return Distance;
        FQueue.pop();
    }
    return Unreached;
}

TVertex* TQuillmoor::SettleNext() {
    if (NextDistance() == Unreached) return nullptr;
    const int Index = FQueue.top().second;
    FQueue.pop();
    TVertex* V = FManifold->Vertices().Vertex(Index);
    TVertexData& D = VD(V);
    for (int J = 0; J < V->EdgeCount(); ++J) {
        TEdge* E = V->Edge(J);
        if (!IsAdmissible(V, E)) continue;
        TVertex* W = E->OtherVertex(V);
        if (W == nullptr || VD(W).Visited) continue;
        const double Near = D.Distance + E->Length();
        TVertexData& WD = VD(W);
        if (Near < WD.Distance) {
            if (WD.Distance == Unreached) FTouched.push_back(W);
            WD.Distance = Near;
            WD.Predecessor = E;
            WD.Root = D.Root;
            FQueue.push({Near, W->Index()});
        }
    }
    D.Visited = true;
    return V;
}

std::vector<std::unique_ptr<TQMCycle>> TQuillmoor::FindCycles(TEdge* Seed) {
    ED(Seed).Active = false;
    struct TRestore {
        TEdgeData& D;
        ~TRestore() { D.Active = true; }
    } Restore{ED(Seed)};
    StartSearch(Seed);
    while (SettleNext() != nullptr) {
    }
    std::vector<std::unique_ptr<TQMCycle>> Cycles;
    TEdgeContainer& Edges = FManifold->Edges();
    for (int I = 0; I < Edges.Count(); ++I)
        if (IsClosingEdge(Edges.Edge(I), Seed)) Cycles.push_back(GenerateCycle(Edges.Edge(I), Seed));
    ++ED(Seed).UseCount;
    return Cycles;
}

void TQuillmoor::CloseSeed(TEdge* Seed) {
    // Every cycle through the seed touches its face, so the candidates go by length alone (closing
    // edges in container order on a tie). A cycle not found yet closes through a vertex not settled
    // yet, so it is at least the next distance plus the seed long.
    ED(Seed).Active = false;
    struct TRestore {
        TEdgeData& D;
        ~TRestore() { D.Active = true; }
    } Restore{ED(Seed)};
    using TCandidate = std::pair<std::pair<double, int>, std::unique_ptr<TQMCycle>>;
    const auto Later = [](const TCandidate& A, const TCandidate& B) { return A.first > B.first; };
    std::vector<TCandidate> Found;  // a heap, shortest on top
    StartSearch(Seed);
    bool Done = false;
    while (!Done) {
        TVertex* V = SettleNext();
        if (V != nullptr)
            for (int J = 0; J < V->EdgeCount(); ++J) {
                TEdge* E = V->Edge(J);
                TVertex* W = E->OtherVertex(V);
                if (W == nullptr || W == V || !VD(W).Visited || !IsClosingEdge(E, Seed)) continue;
                auto C = GenerateCycle(E, Seed);
                Found.emplace_back(std::make_pair(C->Length, E->Index()), std::move(C));
                std::push_heap(Found.begin(), Found.end(), Later);
            }
        const double Bound = V == nullptr ? Unreached : NextDistance() + Seed->Length();
        while (!Found.empty()) {
            const double Length = Found.front().first.first;
            if (V != nullptr && !(Length + 1e-9 * Length < Bound)) break;
            std::pop_heap(Found.begin(), Found.end(), Later);
            std::unique_ptr<TQMCycle> C = std::move(Found.back().second);
            Found.pop_back();
            const bool Valid = IsValid(*C);
            ED(Seed).Active = false;  // the test above leaves every edge of the ring active
            if (Valid && CreateFace(*C) != nullptr) {
                Done = true;
                break;
            }
        }
        if (V == nullptr) Done = true;
    }
    ++ED(Seed).UseCount;
}

std::unique_ptr<TQMCycle> TQuillmoor::GenerateCycle(TEdge* E, TEdge* Seed) {
    TVertex* P = Seed->Fin1()->GetVertex();
    TVertex* Q = Seed->Fin2()->GetVertex();
    TVertex* A = E->Fin1()->GetVertex();
    TVertex* B = E->Fin2()->GetVertex();
    TVertex *R, *W;
    if (VD(A).Root == Q && VD(B).Root == P) {
        R = B;
        W = A;
    } else if (VD(A).Root == P && VD(B).Root == Q) {
        R = A;
        W = B;
    } else {
        throw EGeometryError(Format(
            "TQMCycle.GenerateCycle - Could not find StartVertex and EndVertex from DestinationEdge [%d - %d]",
            {A->Index() + 1, B->Index() + 1}));
    }
    auto C = std::make_unique<TQMCycle>();
    // P down its tree to R: collected from R upwards, then turned round.
    for (TVertex* X = R; X != P;) {
        TEdge* Up = VD(X).Predecessor;
        C->Ring.push_back({Up, X});
        X = Up->OtherVertex(X);
    }
    std::reverse(C->Ring.begin(), C->Ring.end());
    C->Ring.push_back({E, W});
    for (TVertex* X = W; X != Q;) {
        TEdge* Up = VD(X).Predecessor;
        X = Up->OtherVertex(X);
        C->Ring.push_back({Up, X});
    }
    C->Ring.push_back({Seed, P});
    for (const TQMCycleEdge& X : C->Ring) {
        C->Length += X.Edge->Length();
        if (FacedFins(X.Edge) > 0) C->TouchesFace = true;
    }
    return C;
}

bool TQuillmoor::IsValid(const TQMCycle& C) {
    for (const TQMCycleEdge& X : C.Ring)
        if (ED(X.Edge).Separating) return true;
    return !IsSeparatingCycle(C);
}

void TQuillmoor::ProcessCycles(std::vector<std::unique_ptr<TQMCycle>>& Cycles, TEdge* Seed) {
    // Touching a face first, then shortest; equal keys keep the closing edges' order. A cycle's
    // validity (a flood fill) is only worked out when the cycle comes up; skipping the invalid ones
    // there keeps the order of the valid ones.
    std::stable_sort(Cycles.begin(), Cycles.end(), [](const auto& A, const auto& B) {
        if (A->TouchesFace != B->TouchesFace) return A->TouchesFace;
        return A->Length < B->Length;
    });
    std::size_t Next = 0;
    while (Next < Cycles.size()) {
        TQMCycle& C = *Cycles[Next];
        if (!IsValid(C)) {
            Cycles.erase(Cycles.begin() + static_cast<std::ptrdiff_t>(Next));
            continue;
        }
        if (CreateFace(C) != nullptr) {
            for (const TQMCycleEdge& X : C.Ring) {
                if (X.Edge == Seed || IsChainEdge(X.Edge)) continue;
                for (std::size_t K = Cycles.size() - 1; K > Next; --K)
                    if (Cycles[K]->Contains(X.Edge)) Cycles.erase(Cycles.begin() + static_cast<std::ptrdiff_t>(K));
            }
            if (FacedFins(Seed) == 2) return;
        }
        Cycles.erase(Cycles.begin() + static_cast<std::ptrdiff_t>(Next));
    }
}

TFace* TQuillmoor::CreateFace(TQMCycle& C) {
    if (C.Ring.empty()) return nullptr;
    const auto Faced = [](const TFin* F) { return F != nullptr && F->GetFace() != nullptr; };
    bool FinFaced = false, OtherFaced = false;
    for (const TQMCycleEdge& X : C.Ring) {
        TFin* F = X.Fin();
        FinFaced = FinFaced || Faced(F);
        OtherFaced = OtherFaced || (F != nullptr && Faced(F->OtherFin()));
    }
    if (FinFaced) {
        if (OtherFaced) return nullptr;
        C.Reverse();
    }
    const std::size_t N = C.Ring.size();
    std::vector<TFin*> Fins(N);
    for (std::size_t I = 0; I < N; ++I) {
        Fins[I] = C.Ring[I].Fin();
        if (Fins[I] == nullptr) return nullptr;
    }
    // The new face must not wrap round the corner of a face already there.
    for (std::size_t I = 0; I < N; ++I) {
        const std::size_t Prev = (I + N - 1) % N;
        const TVertex* Start = C.Ring[Prev].Vertex;
        const TFace* Across = Fins[I]->OtherFin() != nullptr ? Fins[I]->OtherFin()->GetFace() : nullptr;
        const TFace* PrevAcross = Fins[Prev]->OtherFin() != nullptr ? Fins[Prev]->OtherFin()->GetFace() : nullptr;
        if (Start->EdgeCount() > 2 && Across != nullptr && Across == PrevAcross) return nullptr;
    }
    for (std::size_t I = 0; I < N; ++I) {
        Fins[I]->NextFin = Fins[(I + 1) % N];
        Fins[I]->PrevFin = Fins[(I + N - 1) % N];
    }
    TFace* Face = FManifold->AddFace(Fins[0]);
    for (const TQMCycleEdge& X : C.Ring) HeapUpdate(X.Edge);
    return Face;
}

void TQuillmoor::CreateExteriorFaces() {
    TEdgeContainer& Edges = FManifold->Edges();
    for (int I = 0; I < Edges.Count(); ++I) {
        TEdge* E = Edges.Edge(I);
        if (FacedFins(E) != 1) continue;
        TFin* F = E->Fin1()->GetFace() == nullptr ? E->Fin1() : E->Fin2();
        TQMCycle C;
        while (F != nullptr && C.Count() <= Edges.Count()) {
            C.Ring.push_back({F->GetEdge(), F->GetVertex()});
            C.Length += F->GetEdge()->Length();
            F = NextFreeFin(F);
            if (F == nullptr) C.Ring.clear();
            else if (F->GetEdge() == C.Ring.front().Edge) break;
        }
        if (F == nullptr || C.Count() > Edges.Count()) continue;
        if (C.Count() > 1)
            if (TFace* Face = CreateFace(C)) Face->Exterior = 1;
    }
}

// ---- the run ----

void TQuillmoor::CheckForStruts() const {
    const TEdgeContainer& Edges = FManifold->Edges();
    for (int I = 0; I < Edges.Count(); ++I) {
        const TEdge* E = Edges.Edge(I);
        for (const TFin* F : {E->Fin1(), E->Fin2()})
            if (F != nullptr && F->GetVertex() != nullptr && F->GetVertex()->EdgeCount() == 1)
                throw EGeometryError("TQuillmoor.CheckForStruts - Manifold Contains Struts, Cannot generate faces");
    }
}

bool TQuillmoor::Execute(TManifold& AManifold, bool Validate) {
    FManifold = &AManifold;
    CheckForStruts();
    TEdgeContainer& Edges = FManifold->Edges();
    FVertexData.assign(static_cast<std::size_t>(FManifold->Vertices().Count()), {});
    FEdgeData.assign(static_cast<std::size_t>(Edges.Count()), {});
    FHeapKeys.assign(FEdgeData.size(), {});
    FEdgeHeap.clear();
    {
        struct TRelease {
            TQuillmoor& Q;
            ~TRelease() {
                Q.FVertexData.clear();
                Q.FEdgeData.clear();
                Q.FHeapKeys.clear();
                Q.FEdgeHeap.clear();
                Q.FTouched.clear();
                Q.FQueue = {};
            }
        } Release{*this};

        SetAllActive();
        for (auto& D : FVertexData) D.Distance = Unreached;
        FTouched.clear();
        FConnected = !IsDisconnected();
        for (int I = 0; I < Edges.Count(); ++I) ED(Edges.Edge(I)).Separating = IsSeparatingEdge(Edges.Edge(I));
        for (int I = 0; I < Edges.Count(); ++I)
            if (FacedFins(Edges.Edge(I)) < 2) HeapAdd(Edges.Edge(I));
        if (FEdgeHeap.size() < 3) return false;

        while (!FEdgeHeap.empty()) {
            TEdge* Seed = Edges.Edge(std::get<3>(*FEdgeHeap.begin()));
            if (FacedFins(Seed) == 1) {
                CloseSeed(Seed);
            } else {
                auto Cycles = FindCycles(Seed);
                ProcessCycles(Cycles, Seed);
            }
            ++ED(Seed).UseCount;
            HeapRemove(Seed);
        }
    }
    FManifold->DeleteFreeEdges();
    CreateExteriorFaces();
    if (Validate && ValidateManifold(*FManifold)) return true;
    TVertexContainer& Vertices = FManifold->Vertices();
    for (int I = 0; I < Vertices.Count(); ++I) Vertices.Vertex(I)->UpdateNormal();
    return false;
}

bool TQuillmoor::ValidateManifold(TManifold& Manifold) {
    bool Problem = false;
    const auto Report = [&](const std::string& Line) {
        if (GConsole) GConsole->WriteLine("TQuillmoor.ValidateManifold - " + Line);
        Problem = true;
    };
    TVertexContainer& Vertices = Manifold.Vertices();
    for (int I = 0; I < Vertices.Count(); ++I)
        if (Vertices.Vertex(I)->EdgeCount() < 2) Report(Format("Vertex %d has less than two edges", {I}));
    TEdgeContainer& Edges = Manifold.Edges();
    for (int I = 0; I < Edges.Count(); ++I) {
        const TEdge* E = Edges.Edge(I);
        const TFin* Fins[2] = {E->Fin1(), E->Fin2()};
        for (int S = 0; S < 2; ++S) {
            const std::string Fin = "Fin" + std::to_string(S + 1) + " of Edge " + std::to_string(I);
            const TFin* F = Fins[S];
            if (F == nullptr || F->GetVertex() == nullptr) Report(Fin + " is not connected to a vertex");
            if (F == nullptr || F->PrevFin == nullptr) Report(Fin + " has no previous edge in a face cycle");
            if (F == nullptr || F->NextFin == nullptr) Report(Fin + " has no subsequent edge in a face cycle");
            if (F == nullptr || F->GetFace() == nullptr) Report(Fin + " has no face");
        }
    }
    TFaceContainer& Faces = Manifold.Faces();
    for (int I = 0; I < Faces.Count(); ++I) Faces.Face(I)->Validate();
    return Problem;
}

bool FindFaces(TManifold& Manifold, bool Validate) {
    TQuillmoor Finder;
    return Finder.Execute(Manifold, Validate);
}

}  // namespace sarnova
