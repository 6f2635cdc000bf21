// The topological edits of the manifold mesh: splitting faces and edges, struts, joining and
// reversing edges, and deleting edges and vertices with the merging of faces that follows.
#include <string>
#include <vector>

#include "foundation/Errors.h"
#include "surfaces/Manifold.h"

namespace sarnova {

namespace {

TFin* OtherOf(const TFin* F) { return F != nullptr ? F->OtherFin() : nullptr; }

}  // namespace

// ---- Faces ----

void TFace::SubDivide(TVertex* V1, TVertex* V2, TFaceSplit& Split) {
    auto LoopFinAt = [this](TVertex* V) -> TFin* {
        if (V == nullptr) return nullptr;
        for (int I = 0; I < V->EdgeCount(); ++I) {
            TFin* F = V->Edge(I)->GetFin(V);
            if (F->GetFace() == this) return F;
        }
        return nullptr;
    };
    TFin* FinA = LoopFinAt(V1);
    if (FinA == nullptr) throw EGeometryError("TFace.SubDivide - Vertex1 is not part of face");
    TFin* FinB = LoopFinAt(V2);
    if (FinB == nullptr) throw EGeometryError("TFace.SubDivide - Vertex2 is not part of face");
    SubDivideAtFins(FinA, FinB, Split);
}

void TFace::SubDivideAtFins(TFin* FinA, TFin* FinB, TFaceSplit& Split) {
    // Both fins must lie on this face's intact loop, apart: splicing fins of two loops, or a fin to
    // itself, would leave a new edge hanging in broken links.
    if (FinA == nullptr || FinA->GetFace() != this)
        throw EGeometryError("TFace.SubDivide - Vertex1 is not part of face");
    if (FinB == nullptr || FinB->GetFace() != this)
        throw EGeometryError("TFace.SubDivide - Vertex2 is not part of face");
    if (FinA == FinB) throw EGeometryError("TFace.SubDivide - Vertex1 and Vertex2 are the same loop corner");
    Validate();
    if (!IsClosedFinLoop(FinA)) throw EGeometryError("TFace.SubDivide - Open Fin Cycle Found");

    TManifold* M = GetManifold();
    if (M == nullptr) throw EGeometryError("TFace.SubDivide - Face has no manifold");
    TEdge* E = M->AddEdge(FinA->GetVertex(), FinB->GetVertex());
    TFin* E1 = E->Fin1();
    TFin* E2 = E->Fin2();
    E1->NextFin = FinA->NextFin;
    E1->PrevFin = FinB;
    E2->NextFin = FinB->NextFin;
    E2->PrevFin = FinA;
    FinA->NextFin->PrevFin = E1;
    FinA->NextFin = E2;
    FinB->NextFin->PrevFin = E2;
    FinB->NextFin = E1;

    Split.Fin1 = FinA;
    Split.Fin2 = FinB;
    Split.NewEdge = E;
    Split.Face = FinA->GetFace();
    RebuildFromFin(FinA);
    Validate();
    Split.NewFace = M->AddFace(FinB);
    Split.NewFace->Validate();
}

TEdge* TFace::AddStrut(TVertex* V, TVertex* LoopVertex) {
    TFin* Start = FirstFin();
    TFin* Found = nullptr;
    if (IsClosedFinLoop(Start)) {
        TFin* F = Start;
        do {
            if (F->GetVertex() == LoopVertex) {
                Found = F;
                break;
            }
            F = F->NextFin;
        } while (F != Start);
    }
    if (Found == nullptr || LoopVertex == nullptr)
        throw EGeometryError("TFace.AddStrut - Edge Vertex was not found in the face loop");
    return AddStrutAtFin(V, Found);
}

TEdge* TFace::AddStrutAtFin(TVertex* V, TFin* Fin) {
    Validate();
    if (V == nullptr || V->EdgeCount() > 0)
        throw EGeometryError("TFace.AddStrut - Strut can only be made to an empty vertex");
    if (Fin == nullptr || Fin->GetFace() != this)
        throw EGeometryError("TFace.AddStrut - Fin does not belong to this face");
    TManifold* M = GetManifold();
    if (M == nullptr) throw EGeometryError("TFace.AddStrut - Face has no manifold");

    TEdge* E = M->AddEdge(V, Fin->GetVertex());
    TFin* E1 = E->Fin1();
    TFin* E2 = E->Fin2();
    E1->PrevFin = Fin;
    E1->NextFin = E2;
    E2->PrevFin = E1;
    E2->NextFin = Fin->NextFin;
    Fin->NextFin->PrevFin = E2;
    Fin->NextFin = E1;
    Rebuild();
    Validate();
    return E;
}

// ---- Edges ----

void TEdge::SubDivide(const TMVector& Point, TEdgeSplit& Split) {
    TManifold* M = GetManifold();
    if (M == nullptr || Fin1() == nullptr || Fin2() == nullptr)
        throw EGeometryError("TEdge.SubDivide - Edge has no manifold");
    TFin* F = Fin1();
    TFin* S = Fin2();
    if (S->GetFace() != nullptr) S->GetFace()->Validate();
    if (F->GetFace() != nullptr) F->GetFace()->Validate();

    TVertex* V2 = S->GetVertex();
    Split.Edge = this;
    TVertex* N = M->AddVertex(Point);
    Split.NewVertex = N;
    TEdge* E = M->AddEdge(N, V2);
    Split.NewEdge = E;
    TFin* E1 = E->Fin1();
    TFin* E2 = E->Fin2();

    if (S->NextFin != nullptr) {
        E2->NextFin = S->NextFin;
        S->NextFin->PrevFin = E2;
    }
    if (F->PrevFin != nullptr) {
        E1->PrevFin = F->PrevFin;
        F->PrevFin->NextFin = E1;
    }
    if (S->GetFace() != nullptr) S->GetFace()->AddFin(E2);
    if (F->GetFace() != nullptr) F->GetFace()->AddFin(E1);

    // This edge leaves V2 without unsplicing there: the loops at V2 now run through the new edge.
    if (V2 != nullptr) V2->DropEdge(this);
    S->SetVertex(N);

    if (S->NextFin != nullptr) {
        E2->PrevFin = S;
        S->NextFin = E2;
    }
    if (F->PrevFin != nullptr) {
        E1->NextFin = F;
        F->PrevFin = E1;
    }
    if (S->GetFace() != nullptr) S->GetFace()->Validate();
    if (F->GetFace() != nullptr) F->GetFace()->Validate();
}

void TEdge::JoinToNext(TFin* Fin) {
    TVertex* Head = Fin != nullptr ? Fin->GetVertex() : nullptr;
    if (Head == nullptr || Head->EdgeCount() != 2)
        throw EGeometryError(
            "TEdge.JoinToNext - Can only join to next edge if there is only two edges at the next vertex");
    if (Fin->GetEdge() != this || GetManifold() == nullptr)
        throw EGeometryError("TEdge.JoinToNext - Fin does not belong to this edge");
    TFin* N = Fin->NextFin;
    TFin* NO = OtherOf(N);
    TFin* After = N != nullptr ? N->NextFin : nullptr;
    TFin* Before = NO != nullptr ? NO->PrevFin : nullptr;
    TFin* Back = Fin->OtherFin();
    if (N == nullptr || NO == nullptr || After == nullptr || Before == nullptr || Back == nullptr ||
        N->GetEdge() == this)
        throw EGeometryError("TEdge.JoinToNext - Open Fin Cycle Found");
    // The next edge's far vertex keeps this edge; a vertex that only the next edge reaches would go
    // with it, so that join is refused before anything changes.
    TVertex* W = N->GetVertex();
    if (W == nullptr || W == Head || W->EdgeCount() < 2 || After == NO || Before == N)
        throw EGeometryError("TEdge.JoinToNext - The next edge ends at a free vertex");

    if (N->GetFace() != nullptr) N->GetFace()->RemoveFin(N);
    if (NO->GetFace() != nullptr) NO->GetFace()->RemoveFin(NO);
    Fin->SetVertex(nullptr);
    GetManifold()->DeleteVertex(Head);
    Fin->SetVertex(W);
    Fin->NextFin = After;
    Back->PrevFin = Before;
    After->PrevFin = Fin;
    Before->NextFin = Back;
}

void TEdge::Reverse() {
    TFin* F = Fin1();
    TFin* S = Fin2();
    if (F == nullptr || S == nullptr) return;
    TFin* FPrev = F->PrevFin;
    TFin* FNext = F->NextFin;
    TFin* SPrev = S->PrevFin;
    TFin* SNext = S->NextFin;
    S->NextFin = OtherOf(FPrev);
    F->PrevFin = OtherOf(SNext);
    F->NextFin = OtherOf(SPrev);
    S->PrevFin = OtherOf(FNext);

    TFace* FFaceOld = F->GetFace();
    TFace* SFaceOld = S->GetFace();
    auto Slot = [](TFace* Face, TFin* Fin) -> TFin** {
        if (Face == nullptr) return nullptr;
        for (TFin*& Entry : Face->FFins)
            if (Entry == Fin) return &Entry;
        return nullptr;
    };
    TFin** FSlot = Slot(FFaceOld, F);
    TFin** SSlot = Slot(SFaceOld, S);
    if (FSlot != nullptr) *FSlot = S;
    if (SSlot != nullptr) *SSlot = F;
    F->FFace = SFaceOld;
    S->FFace = FFaceOld;
}

// ---- Deleting ----

void TManifold::DeleteEdge(TEdge* E) {
    if (E == nullptr) return;
    TFin* F = E->Fin1();
    TFin* S = E->Fin2();
    if (F == nullptr || S == nullptr) {
        FEdges.Remove(E);
        return;
    }
    TFace* FFace = F->GetFace();
    TFace* SFace = S->GetFace();
    TFace* Dead = nullptr;
    TFace* Kept = nullptr;
    if (FFace == nullptr || SFace == nullptr) {
        if (FFace != nullptr) FFaces.Remove(FFace);
        if (SFace != nullptr) FFaces.Remove(SFace);
    } else if (FFace != SFace) {
        if (FFace->IsExterior() && !SFace->IsExterior()) {
            Dead = FFace;
            Kept = SFace;
        } else {
            Dead = SFace;
            Kept = FFace;
        }
    }
    if (F->GetFace() != nullptr) F->GetFace()->RemoveFin(F);
    if (S->GetFace() != nullptr) S->GetFace()->RemoveFin(S);
    if (Dead != nullptr) FFaces.Remove(Dead);

    TVertex* VF = F->GetVertex();
    TVertex* VS = S->GetVertex();
    F->SetVertex(nullptr);
    S->SetVertex(nullptr);
    FEdges.Remove(E);
    if (VF != nullptr && VF->EdgeCount() == 0) FVertices.Remove(VF);
    if (VS != nullptr && VS != VF && VS->EdgeCount() == 0) FVertices.Remove(VS);

    if (Kept != nullptr) {
        // A face whose loop was this edge alone has nothing left to bound.
        if (Kept->FirstFin() == nullptr)
            FFaces.Remove(Kept);
        else
            Kept->Rebuild();
    }
}

void TManifold::DeleteVertex(TVertex* V) {
    if (V == nullptr) return;
    // The distinct edges, taken before any goes: the last DeleteEdge frees V itself.
    std::vector<TEdge*> Edges;
    for (int I = 0; I < V->EdgeCount(); ++I) {
        TEdge* E = V->Edge(I);
        bool Seen = false;
        for (TEdge* Other : Edges) Seen = Seen || Other == E;
        if (!Seen) Edges.push_back(E);
    }
    if (Edges.empty()) {
        FVertices.Remove(V);
        return;
    }
    for (auto It = Edges.rbegin(); It != Edges.rend(); ++It) DeleteEdge(*It);
}

void TManifold::DeleteFreeEdges() {
    for (int I = FEdges.Count() - 1; I >= 0; --I) {
        if (I >= FEdges.Count()) continue;
        TEdge* E = FEdges.Edge(I);
        const bool Free1 = E->Fin1() == nullptr || E->Fin1()->GetFace() == nullptr;
        const bool Free2 = E->Fin2() == nullptr || E->Fin2()->GetFace() == nullptr;
        if (Free1 && Free2) DeleteEdge(E);
    }
}

}  // namespace sarnova
