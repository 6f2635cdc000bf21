#include "surfaces/Manifold.h"

#include <bit>
#include <cmath>
#include <cstdio>
#include <string>
#include <unordered_set>

#include "foundation/Graphics.h"
#include "foundation/Console.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/GeomBox.h"
#include "foundation/Polygon.h"
#include "foundation/PolygonBuild.h"
#include "foundation/Polyline.h"
#include "foundation/TextFile.h"
#include "foundation/UserDialogs.h"

namespace sarnova {

namespace {

[[noreturn]] void ThrowIndexError(int Index) {
    throw EError("List index out of bounds (" + std::to_string(Index) + ")");
}

std::size_t LowBit(std::size_t I) { return I & (~I + 1); }

// A plain message box with an OK button, as the program's other notices; on the standard error
// stream while no dialogs exist.
void ShowMessage(const std::string& Text) {
    if (GExceptionHandler && GExceptionHandler->UserDialogs != nullptr)
        GExceptionHandler->UserDialogs->MessageBox(GExceptionHandler->ApplicationTitle, Text,
                                                   TMsgDlgType::mtCustom, mbOK);
    else
        std::fprintf(stderr, "%s\n", Text.c_str());
}

// A x B, right-handed (VectorCross gives B x A).
TMVector Cross(const TMVector& A, const TMVector& B) { return VectorCross(B, A); }

}  // namespace

bool IsClosedFinLoop(const TFin* Start) {
    if (Start == nullptr) return false;
    // Floyd's walk: the fast pointer meets Start again on a closed loop, and meets the slow pointer
    // instead on a loop that runs into a cycle avoiding Start.
    const TFin* Slow = Start;
    const TFin* Fast = Start;
    for (;;) {
        for (int Step = 0; Step < 2; ++Step) {
            Fast = Fast->NextFin;
            if (Fast == nullptr) return false;
            if (Fast == Start) return true;
        }
        Slow = Slow->NextFin;
        if (Slow == Fast) return false;
    }
}

std::vector<TFin*> ClosedFinLoop(TFin* Start, const char* Routine) {
    if (!IsClosedFinLoop(Start)) throw EGeometryError(std::string(Routine) + " - Open Fin Cycle Found");
    std::vector<TFin*> Loop;
    TFin* Fin = Start;
    do {
        Loop.push_back(Fin);
        Fin = Fin->NextFin;
    } while (Fin != Start);
    return Loop;
}

// ---- TManifoldObject ----

TManifoldObject::~TManifoldObject() {
    if (FSlotList != nullptr) FSlotList->DropSlot(FSlot);
}

void TManifoldObject::Draw(IGraphics&) {}

// ---- TManifoldObjects ----

TManifoldObjects::~TManifoldObjects() {
    std::vector<TManifoldObject*> All = ExtractAll();
    for (auto It = All.rbegin(); It != All.rend(); ++It) Release(*It);
}

TManifoldObject* TManifoldObjects::Items(int Index) const {
    if (Index < 0 || Index >= FLive) ThrowIndexError(Index);
    return FSlots[SlotOfIndex(Index)];
}

std::size_t TManifoldObjects::SlotOfIndex(int Index) const {
    if (FHoles == 0) return static_cast<std::size_t>(Index);
    // The smallest slot with Index + 1 live entries up to and including it.
    const std::size_t N = FSlots.size();
    std::size_t Pos = 0;
    int Rest = Index + 1;
    for (std::size_t Step = std::bit_floor(N); Step > 0; Step >>= 1) {
        if (Pos + Step <= N && FTree[Pos + Step] < Rest) {
            Pos += Step;
            Rest -= FTree[Pos];
        }
    }
    return Pos;
}

int TManifoldObjects::IndexOfSlot(std::size_t Slot) const {
    if (FHoles == 0) return static_cast<int>(Slot);
    int Sum = 0;
    for (std::size_t I = Slot; I > 0; I -= LowBit(I)) Sum += FTree[I];
    return Sum;
}

int TManifoldObjects::IndexOf(const TManifoldObject* Element) const {
    if (Element == nullptr) return -1;
    if (Element->FSlotList == this) return IndexOfSlot(Element->FSlot);
    // Not in this list, or held by another container too (which then keeps the slot).
    int Index = 0;
    for (const TManifoldObject* E : FSlots) {
        if (E == nullptr) continue;
        if (E == Element) return Index;
        ++Index;
    }
    return -1;
}

void TManifoldObjects::Remove(TManifoldObject* Element) {
    const int Index = IndexOf(Element);
    if (Index >= 0) Delete(Index);
}

void TManifoldObjects::Assign(const TManifoldObjects& Source) {
    if (&Source == this) return;
    for (const TManifoldObject* E : Source.FSlots)
        if (E != nullptr && !Accepts(E))
            throw EError("TManifoldObjects.Assign - Element of another kind in the source list");
    std::unordered_set<const TManifoldObject*> Kept;
    if (FContainer)
        for (const TManifoldObject* E : Source.FSlots)
            if (E != nullptr) Kept.insert(E);
    std::vector<TManifoldObject*> Old = ExtractAll();
    for (TManifoldObject* E : Source.FSlots)
        if (E != nullptr) Append(E);
    for (auto It = Old.rbegin(); It != Old.rend(); ++It)
        if (Kept.count(*It) == 0) Release(*It);
}

void TManifoldObjects::Draw(IGraphics& Graphics) const {
    for (TManifoldObject* E : FSlots)
        if (E != nullptr) E->Draw(Graphics);
}

void TManifoldObjects::Delete(int Index) {
    if (Index < 0 || Index >= FLive) ThrowIndexError(Index);
    const std::size_t Slot = SlotOfIndex(Index);
    TManifoldObject* E = FSlots[Slot];
    DropSlot(Slot);
    Release(E);
}

void TManifoldObjects::Clear() {
    std::vector<TManifoldObject*> All = ExtractAll();
    for (auto It = All.rbegin(); It != All.rend(); ++It) Release(*It);
}

void TManifoldObjects::Release(TManifoldObject* Element) {
    if (FContainer && FManifold != nullptr && Element->GetManifold() == FManifold) delete Element;
}

void TManifoldObjects::Append(TManifoldObject* Element) {
    if (Element == nullptr) throw EError("TManifoldObjects.Add - Element not assigned");
    FSlots.push_back(Element);
    ++FLive;
    if (FHoles > 0) {
        // The new tree node covers the slots (k - lowbit(k), k], 1-based.
        const std::size_t K = FSlots.size();
        int Sum = 1;
        for (std::size_t I = K - 1; I > K - LowBit(K); I -= LowBit(I)) Sum += FTree[I];
        FTree.push_back(Sum);
    }
    if (FContainer) {
        Element->FSlotList = this;
        Element->FSlot = FSlots.size() - 1;
    }
}

std::vector<TManifoldObject*> TManifoldObjects::ExtractAll() {
    std::vector<TManifoldObject*> All;
    All.reserve(static_cast<std::size_t>(FLive));
    for (TManifoldObject* E : FSlots) {
        if (E == nullptr) continue;
        // A plain list never touches its elements: they may be gone before it is.
        if (FContainer && E->FSlotList == this) E->FSlotList = nullptr;
        All.push_back(E);
    }
    FSlots.clear();
    FTree.clear();
    FLive = 0;
    FHoles = 0;
    return All;
}

void TManifoldObjects::DropSlot(std::size_t Slot) {
    TManifoldObject* E = FSlots[Slot];
    if (E->FSlotList == this) E->FSlotList = nullptr;
    --FLive;
    if (!FContainer) {
        FSlots.erase(FSlots.begin() + static_cast<std::ptrdiff_t>(Slot));
        return;
    }
    if (FHoles == 0) BuildTree();
    FSlots[Slot] = nullptr;
    ++FHoles;
    for (std::size_t I = Slot + 1; I < FTree.size(); I += LowBit(I)) --FTree[I];
    if (FHoles > FLive) Compact();
}

void TManifoldObjects::BuildTree() {
    const std::size_t N = FSlots.size();
    FTree.assign(N + 1, 0);
    for (std::size_t I = 1; I <= N; ++I) {
        FTree[I] += FSlots[I - 1] != nullptr ? 1 : 0;
        const std::size_t J = I + LowBit(I);
        if (J <= N) FTree[J] += FTree[I];
    }
}

void TManifoldObjects::Pack() {
    if (FHoles > 0) Compact();
}

void TManifoldObjects::Compact() {
    std::size_t To = 0;
    for (TManifoldObject* E : FSlots) {
        if (E == nullptr) continue;
        if (E->FSlotList == this) E->FSlot = To;
        FSlots[To++] = E;
    }
    FSlots.resize(To);
    FTree.clear();
    FHoles = 0;
}

// ---- Typed lists ----

TVertex* TVertices::Vertex(int Index) const { return static_cast<TVertex*>(Items(Index)); }

TVertex* TVertices::FindByPosition(const TMVector& Point) const {
    for (int I = 0; I < Count(); ++I) {
        TVertex* V = Vertex(I);
        if (std::fabs(V->Position.X - Point.X) < 0.005 && std::fabs(V->Position.Y - Point.Y) < 0.005 &&
            std::fabs(V->Position.Z - Point.Z) < 0.005)
            return V;
    }
    return nullptr;
}

void TVertices::Add(TVertex* Vertex) { Append(Vertex); }

bool TVertices::Accepts(const TManifoldObject* Element) const {
    return dynamic_cast<const TVertex*>(Element) != nullptr;
}

TEdge* TEdges::Edge(int Index) const { return static_cast<TEdge*>(Items(Index)); }

void TEdges::Add(TEdge* Edge) { Append(Edge); }

bool TEdges::Accepts(const TManifoldObject* Element) const {
    return dynamic_cast<const TEdge*>(Element) != nullptr;
}

int TEdges::LastIndexOf(const TEdge* Edge) const {
    for (int I = Count() - 1; I >= 0; --I)
        if (this->Edge(I) == Edge) return I;
    return -1;
}

TFace* TFaces::Face(int Index) const { return static_cast<TFace*>(Items(Index)); }

void TFaces::Add(TFace* Face) { Append(Face); }

bool TFaces::Accepts(const TManifoldObject* Element) const {
    return dynamic_cast<const TFace*>(Element) != nullptr;
}

// ---- Iterators ----

bool TVertexEdgeIterator::MoveNext() {
    if (FPosition < FVertex.EdgeCount()) ++FPosition;
    return FPosition < FVertex.EdgeCount();
}

TEdge* TVertexEdgeIterator::Current() const {
    return FPosition >= 0 && FPosition < FVertex.EdgeCount() ? FVertex.Edge(FPosition) : nullptr;
}

bool TFaceFinIterator::MoveNext() {
    if (!FStarted) {
        FStarted = true;
        FStart = FCurrent = FFace.FirstFin();
        // A loop that never comes back is walked no further than the face has fins.
        FStepsLeft = IsClosedFinLoop(FStart) ? SIZE_MAX : static_cast<std::size_t>(FFace.FinCount());
        return FCurrent != nullptr;
    }
    if (FCurrent == nullptr) return false;
    FCurrent = FStepsLeft-- > 1 ? FCurrent->NextFin : nullptr;
    if (FCurrent == FStart) FCurrent = nullptr;
    return FCurrent != nullptr;
}

// ---- TVertex ----

TVertex::TVertex(TManifold* AManifold) : TManifoldObject(AManifold) {}

TVertex::~TVertex() {
    while (FEdges.Count() > 0) {
        TEdge* E = FEdges.Edge(FEdges.Count() - 1);
        TFin* F = E->Fin1() != nullptr && E->Fin1()->GetVertex() == this ? E->Fin1() : E->Fin2();
        if (F != nullptr && F->GetVertex() == this)
            F->SetVertex(nullptr);
        else
            FEdges.Delete(FEdges.Count() - 1);
    }
}

TVertexContainer* TVertex::GetOwnerContainer() const { return static_cast<TVertexContainer*>(Container()); }

int TVertex::Index() const { return Container() != nullptr ? Container()->IndexOf(this) : -1; }

std::unique_ptr<TVertexEdgeIterator> TVertex::EdgeIterator() const {
    return std::make_unique<TVertexEdgeIterator>(*this);
}

void TVertex::RemoveEdge(TEdge* E) {
    // Searched from the end: edges usually leave in the reverse order of their arrival.
    const int Index = FEdges.LastIndexOf(E);
    if (Index < 0) return;
    TFin* F = E->GetFin(this);
    TFin* O = F->OtherFin();
    if (O != nullptr) {
        if (F->NextFin != nullptr && O->PrevFin != nullptr) {
            F->NextFin->PrevFin = O->PrevFin;
            O->PrevFin->NextFin = F->NextFin;
        }
        O->PrevFin = nullptr;
    }
    F->NextFin = nullptr;
    FEdges.Delete(Index);
}

bool TVertex::HasEdge(const TEdge* E) const { return FEdges.Contains(E); }

void TVertex::DropEdge(TEdge* E) {
    const int Index = FEdges.LastIndexOf(E);
    if (Index >= 0) FEdges.Delete(Index);
}

TEdge* TVertex::NextEdge(TEdge* E) const {
    const TFin* F = E->GetFin(this);
    return F->NextFin != nullptr ? F->NextFin->GetEdge() : nullptr;
}

TMVector TVertex::CalculateNormal() const {
    const int N = EdgeCount();
    if (N < 2) return ZeroVector;
    auto Dir = [this](TEdge* E) { return E->GetFin(this)->Direction(); };
    TEdge* First = FirstEdge();
    TEdge* P = First;
    TEdge* Q = NextEdge(P);
    // Two edges pair up whatever the loops say; the sign is settled below.
    if (N == 2 && Q == nullptr) Q = Edge(1) != First ? Edge(1) : Edge(0);
    TMVector Sum = ZeroVector;
    // An open fan (no next edge) ends the sum early; one that never returns stops after N terms.
    for (int Terms = 0; Q != nullptr;) {
        Sum = VectorAdd(Sum, VectorNormalise(Cross(Dir(P), Dir(Q))));
        ++Terms;
        if (N < 3) break;
        TEdge* R = NextEdge(Q);
        if (Q == First || Terms >= N) break;
        P = Q;
        Q = R;
    }
    TMVector Result = VectorNormalise(Sum);
    if (N != 2) return Result;

    // Two edges give a cross product of either sign: a face at the first edge settles it.
    TFin* A = First->Fin1();
    TFin* B = First->Fin2();
    bool Missing = false;
    for (const TFin* F : {A, B}) {
        if (F->GetFace() == nullptr) {
            ShowMessage("TVertex.CalculateNormal - AFin1.Face not assigned in normal vector calculation");
            Missing = true;
        }
    }
    if (Missing) return Result;
    TFin* Picked = A;
    const int CountA = A->GetFace()->FinCount();
    const int CountB = B->GetFace()->FinCount();
    if (CountB < CountA) {
        Picked = B;
    } else if (CountB == CountA && GetManifold() != nullptr) {
        const TFaces& Faces = GetManifold()->Faces();
        const int IndexA = Faces.IndexOf(A->GetFace());
        const int IndexB = Faces.IndexOf(B->GetFace());
        if (IndexB >= 0 && (IndexA < 0 || IndexB < IndexA)) Picked = B;
    }
    TMVector Fan = ZeroVector;
    if (IsClosedFinLoop(Picked)) {
        const TFin* F = Picked;
        do {
            const TMVector U = VectorNormalise(VectorFromTo(Position, F->Position()));
            const TMVector W = VectorNormalise(VectorFromTo(Position, F->NextFin->Position()));
            Fan = VectorAdd(Fan, VectorNormalise(Cross(U, W)));
            F = F->NextFin;
        } while (F != Picked);
    }
    if (VectorLength(Fan) > 0) {
        Fan = VectorNormalise(Fan);
        if (VectorLength(VectorAdd(Fan, Result)) > std::sqrt(2.0)) Result = VectorNegate(Result);
    }
    return Result;
}

void TVertex::Draw(IGraphics& Graphics) {
    Graphics.EditHandle(2, Position.X, Position.Y, Position.Z);
    DrawNormal(Graphics);
}

void TVertex::DrawNormal(IGraphics& Graphics) const {
    if (VectorLength(Normal) > 0.9) Graphics.Vector(Position, Normal, 1.0, true);
}

void TVertex::Assign(const TVertex& Source) {
    Position = Source.Position;
    Normal = Source.Normal;
}

// ---- TFin ----

TFin::~TFin() {
    if (FFace != nullptr) FFace->RemoveFin(this);
    if (NextFin != nullptr && NextFin->PrevFin == this) NextFin->PrevFin = nullptr;
    if (PrevFin != nullptr && PrevFin->NextFin == this) PrevFin->NextFin = nullptr;
}

TMVector TFin::Position() const { return FVertex != nullptr ? FVertex->Position : ZeroVector; }

TMVector TFin::Direction() const {
    TMVector Dir = ZeroVector;
    if (FEdge == nullptr) return Dir;
    if (FEdge->Fin1() == this)
        FEdge->Direction(0, Dir);
    else if (FEdge->Fin2() == this)
        FEdge->Direction(1, Dir);
    return VectorNormalise(Dir);
}

TFin* TFin::OtherFin() const {
    if (FEdge == nullptr) return nullptr;
    if (FEdge->Fin1() == this) return FEdge->Fin2();
    if (FEdge->Fin2() == this) return FEdge->Fin1();
    return nullptr;
}

void TFin::SetVertex(TVertex* V) {
    if (FVertex != nullptr) FVertex->RemoveEdge(FEdge);
    FVertex = V;
    if (V != nullptr) V->AddEdge(FEdge);
}

void TFin::Assign(const TFin&) {}

void TFin::Draw(IGraphics&) {}

// ---- TEdge ----

TEdge::TEdge(TManifold* AManifold) : TManifoldObject(AManifold) {
    if (AManifold == nullptr) return;
    FFin1 = AManifold->CreateFin(this);
    FFin2 = AManifold->CreateFin(this);
}

TEdge::~TEdge() {
    for (TFin* F : {Fin1(), Fin2()})
        if (F != nullptr) F->SetVertex(nullptr);
    FFin2.reset();
    FFin1.reset();
}

TEdgeContainer* TEdge::GetOwnerContainer() const { return static_cast<TEdgeContainer*>(Container()); }

int TEdge::Index() const { return Container() != nullptr ? Container()->IndexOf(this) : -1; }

TFin* TEdge::GetFin(const TVertex* V) const {
    if (FFin1 != nullptr && FFin1->GetVertex() == V) return Fin1();
    if (FFin2 != nullptr && FFin2->GetVertex() == V) return Fin2();
    throw EGeometryError("TEdge.GetFin - End for vertex not found, edge not connected to vertex");
}

TVertex* TEdge::OtherVertex(const TVertex* V) const {
    if (V == nullptr || FFin1 == nullptr || FFin2 == nullptr) return nullptr;
    TVertex* V1 = FFin1->GetVertex();
    TVertex* V2 = FFin2->GetVertex();
    if (V1 == nullptr || V2 == nullptr) return nullptr;
    if (V == V1) return V2;
    if (V == V2) return V1;
    return nullptr;
}

void TEdge::Draw(IGraphics& Graphics) {
    if (FFin1 != nullptr && FFin2 != nullptr) Graphics.LineVectors(FFin1->Position(), FFin2->Position());
}

void TEdge::DrawFins(IGraphics& Graphics) {
    for (TFin* F : {Fin1(), Fin2()})
        if (F != nullptr) F->Draw(Graphics);
}

void TEdge::DrawFinDirections(IGraphics& Graphics) {
    for (TFin* F : {Fin1(), Fin2()})
        if (F != nullptr) Graphics.Vector(F->Position(), F->Direction(), 1.0, true);
}

double TEdge::Length() const {
    if (FFin1 == nullptr || FFin2 == nullptr) return 0;
    return VectorDistance(FFin1->Position(), FFin2->Position());
}

void TEdge::Direction(int EndIndex, TMVector& Dir) const {
    if (FFin1 == nullptr || FFin2 == nullptr) return;
    if (EndIndex == 0)
        Dir = VectorNormalise(VectorFromTo(FFin1->Position(), FFin2->Position()));
    else if (EndIndex == 1)
        Dir = VectorNormalise(VectorFromTo(FFin2->Position(), FFin1->Position()));
}

void TEdge::Assign(const TEdge&) {}

// ---- TFace ----

TFace::~TFace() { DetachFins(); }

std::unique_ptr<TFaceFinIterator> TFace::FinIterator() const { return std::make_unique<TFaceFinIterator>(*this); }

void TFace::AddFin(TFin* Fin) {
    if (Fin->FFace == this) return;
    if (Fin->FFace != nullptr) Fin->FFace->RemoveFin(Fin);
    FFins.push_back(Fin);
    Fin->FFace = this;
}

void TFace::RemoveFin(TFin* Fin) {
    if (Fin->FFace != this) return;
    for (auto It = FFins.begin(); It != FFins.end(); ++It) {
        if (*It == Fin) {
            FFins.erase(It);
            break;
        }
    }
    Fin->FFace = nullptr;
}

void TFace::DetachFins() {
    for (TFin* F : FFins) F->FFace = nullptr;
    FFins.clear();
}

void TFace::RebuildFromFin(TFin* Fin) {
    const std::vector<TFin*> Loop = ClosedFinLoop(Fin, "TFace.RebuildFromFin");
    DetachFins();
    for (TFin* F : Loop) AddFin(F);
}

void TFace::CalculateCentroidAndNormal() {
    TFin* First = FirstFin();
    if (First == nullptr) return;
    const std::vector<TFin*> Loop = ClosedFinLoop(First, "TFace.CalculateCentroidAndNormal");
    TMVector N = ZeroVector;
    TMVector Sum = ZeroVector;
    for (const TFin* F : Loop) {
        const TMVector A = F->Position();
        const TMVector B = F->NextFin->Position();
        N.X += (A.Y - B.Y) * (A.Z + B.Z);
        N.Y += (A.Z - B.Z) * (A.X + B.X);
        N.Z += (A.X - B.X) * (A.Y + B.Y);
        Sum = VectorAdd(Sum, A);
    }
    FNormal = VectorNormalise(N);
    Centroid = VectorScale(Sum, 1.0 / static_cast<double>(Loop.size()));
}

void TFace::DrawInset(IGraphics& Graphics) {
    if (IsExterior() || FirstFin() == nullptr) return;
    const std::vector<TFin*> Loop = ClosedFinLoop(FirstFin(), "TFace.DrawInset");
    TMVector C = ZeroVector;
    for (const TFin* F : Loop) C = VectorAdd(C, F->Position());
    C = VectorScale(C, 1.0 / static_cast<double>(Loop.size()));
    TPolyline Outline;
    for (const TFin* F : Loop) Outline.AddVector(VectorLerp(C, F->Position(), 0.95));
    Outline.AddVector(VectorLerp(C, Loop.front()->Position(), 0.95));
    std::unique_ptr<TPolygonList> Triangles = TriangulatePolyline(Outline);
    for (int I = 0; I < Triangles->Count(); ++I) Triangles->Polygon(I)->SetColor(0xFF0000);
    Triangles->DrawFilled(Graphics);
    Graphics.SetLineColor(0xFFFFFF);
    Outline.Draw(Graphics);
    Triangles->Draw(Graphics);
}

TMBox TFace::GetExtents() const {
    TMBox Box = EmptyBox;
    for (const TFin* F : FFins) ExtendBoxByVector(F->Position(), Box);
    return Box;
}

void TFace::Assign(const TFace& Source) {
    Exterior = Source.Exterior;
    Centroid = Source.Centroid;
    FNormal = Source.FNormal;
}

void TFace::Validate() const {
    for (const TFin* F : FFins) {
        if (F->PrevFin == nullptr || F->NextFin == nullptr || F->PrevFin->NextFin != F || F->NextFin->PrevFin != F)
            throw EGeometryError("TFace.Validate - Error in Fin Loop Integrity");
    }
}

// ---- TManifold ----

TManifold::TManifold() {
    VertexFactory = [this](TManifold* M) { return NewVertex(M); };
    EdgeFactory = [this](TManifold* M) { return NewEdge(M); };
    FinFactory = [this](TManifold* M, TEdge* E) { return NewFin(M, E); };
    FaceFactory = [this](TManifold* M) { return NewFace(M); };
}

TManifold::~TManifold() { Clear(); }

void TManifold::Clear() {
    FFaces.Clear();
    // Everything goes: unlinking the loops first spares the unsplicing of every freed edge and never
    // lets it follow a link into a fin that is already gone.
    for (int I = 0; I < FEdges.Count(); ++I) {
        TEdge* E = FEdges.Edge(I);
        if (E->GetManifold() != this) continue;
        for (TFin* F : {E->Fin1(), E->Fin2()}) {
            if (F == nullptr) continue;
            F->NextFin = nullptr;
            F->PrevFin = nullptr;
        }
    }
    FEdges.Clear();
    FVertices.Clear();
}

void TManifold::Pack() {
    FVertices.Pack();
    FEdges.Pack();
    FFaces.Pack();
}

std::unique_ptr<TVertex> TManifold::CreateVertex() {
    if (!VertexFactory) throw EGeometryError("TManifold.CreateVertex - Vertex Factory not assigned");
    std::unique_ptr<TVertex> V = VertexFactory(this);
    if (V == nullptr) throw EGeometryError("TManifold.CreateVertex - Vertex Factory made no vertex");
    return V;
}

std::unique_ptr<TEdge> TManifold::CreateEdge() {
    if (!EdgeFactory) throw EGeometryError("TManifold.CreateEdge - Edge Factory not assigned");
    std::unique_ptr<TEdge> E = EdgeFactory(this);
    if (E == nullptr || E->Fin1() == nullptr || E->Fin2() == nullptr)
        throw EGeometryError("TManifold.CreateEdge - Edge Factory made no edge with two fins");
    return E;
}

std::unique_ptr<TFin> TManifold::CreateFin(TEdge* Edge) {
    if (!FinFactory) throw EGeometryError("TManifold.CreateFin - Fin Factory not assigned");
    std::unique_ptr<TFin> F = FinFactory(this, Edge);
    if (F == nullptr) throw EGeometryError("TManifold.CreateFin - Fin Factory made no fin");
    return F;
}

std::unique_ptr<TFace> TManifold::CreateFace() {
    if (!FaceFactory) throw EGeometryError("TManifold.CreateFace - Face Factory not assigned");
    std::unique_ptr<TFace> F = FaceFactory(this);
    if (F == nullptr) throw EGeometryError("TManifold.CreateFace - Face Factory made no face");
    return F;
}

std::unique_ptr<TVertex> TManifold::NewVertex(TManifold* AManifold) { return std::make_unique<TVertex>(AManifold); }

std::unique_ptr<TEdge> TManifold::NewEdge(TManifold* AManifold) { return std::make_unique<TEdge>(AManifold); }

std::unique_ptr<TFin> TManifold::NewFin(TManifold* AManifold, TEdge* Edge) {
    return std::make_unique<TFin>(AManifold, Edge);
}

std::unique_ptr<TFace> TManifold::NewFace(TManifold* AManifold) { return std::make_unique<TFace>(AManifold); }

TVertex* TManifold::AddVertex(const TMVector& Point) {
    std::unique_ptr<TVertex> V = CreateVertex();
    V->Position = Point;
    TVertex* Result = V.release();
    FVertices.Add(Result);
    return Result;
}

TEdge* TManifold::AddEdge(TVertex* V1, TVertex* V2) {
    std::unique_ptr<TEdge> E = CreateEdge();
    E->Fin1()->SetVertex(V1);
    E->Fin2()->SetVertex(V2);
    TEdge* Result = E.release();
    FEdges.Add(Result);
    return Result;
}

TFace* TManifold::AddFace(TFin* Fin) {
    if (!IsClosedFinLoop(Fin)) throw EGeometryError("TManiFold.AddFace - Open Fin Cycle Found");
    TFin* F = Fin;
    do {
        F = F->NextFin;
        if (F->GetFace() != nullptr && FFaces.Contains(F->GetFace()))
            throw EGeometryError("TManiFold.AddFace - Partial Empty Fin Cycle Found");
    } while (F != Fin);
    std::unique_ptr<TFace> Owned = CreateFace();
    TFace* Face = Owned.release();
    FFaces.Add(Face);
    F = Fin;
    do {
        F = F->NextFin;
        Face->AddFin(F);
    } while (F != Fin);
    return Face;
}

int TManifold::Assign(TManifold& Source) {
    if (&Source == this) return 0;
    // The copy links of Source are scratch of this copy only: cleared on every way out.
    struct TCopyLinks {
        TManifold& M;
        void Clear() {
            for (int I = 0; I < M.FVertices.Count(); ++I) M.FVertices.Vertex(I)->CopyLink = nullptr;
            for (int I = 0; I < M.FEdges.Count(); ++I) M.FEdges.Edge(I)->CopyLink = nullptr;
            for (int I = 0; I < M.FFaces.Count(); ++I) M.FFaces.Face(I)->CopyLink = nullptr;
        }
        ~TCopyLinks() { Clear(); }
    } Links{Source};

    Clear();
    Links.Clear();
    const TVertexContainer& SV = Source.FVertices;
    const TEdgeContainer& SE = Source.FEdges;
    const TFaceContainer& SF = Source.FFaces;
    for (int I = 0; I < SV.Count(); ++I) {
        std::unique_ptr<TVertex> V = CreateVertex();
        SV.Vertex(I)->CopyLink = V.get();
        FVertices.Add(V.release());
    }
    auto CopyOf = [](const TVertex* V) { return V != nullptr ? V->CopyLink : nullptr; };
    for (int I = 0; I < SE.Count(); ++I) {
        TEdge* S = SE.Edge(I);
        std::unique_ptr<TEdge> E = CreateEdge();
        E->Fin1()->SetVertex(S->Fin1() != nullptr ? CopyOf(S->Fin1()->GetVertex()) : nullptr);
        E->Fin2()->SetVertex(S->Fin2() != nullptr ? CopyOf(S->Fin2()->GetVertex()) : nullptr);
        TEdge* Copy = E.release();
        FEdges.Add(Copy);
        S->CopyLink = Copy;
    }
    // The copy of a source fin: the same end of its edge's copy.
    auto CopyOfFin = [](const TFin* F) -> TFin* {
        if (F == nullptr || F->GetEdge() == nullptr || F->GetEdge()->CopyLink == nullptr) return nullptr;
        TEdge* Copy = F->GetEdge()->CopyLink;
        if (F == F->GetEdge()->Fin1()) return Copy->Fin1();
        if (F == F->GetEdge()->Fin2()) return Copy->Fin2();
        return nullptr;
    };
    for (int I = 0; I < SE.Count(); ++I) {
        TEdge* S = SE.Edge(I);
        for (TFin* F : {S->Fin1(), S->Fin2()}) {
            if (F == nullptr || F->NextFin == nullptr) continue;
            TFin* From = CopyOfFin(F);
            TFin* To = CopyOfFin(F->NextFin);
            if (From == nullptr || To == nullptr) continue;
            From->NextFin = To;
            To->PrevFin = From;
        }
    }
    for (int I = 0; I < SF.Count(); ++I) {
        TFace* S = SF.Face(I);
        std::unique_ptr<TFace> Owned = CreateFace();
        TFace* Face = Owned.release();
        FFaces.Add(Face);
        S->CopyLink = Face;
        TFin* Q = CopyOfFin(S->FirstFin());
        if (Q == nullptr) {
            if (S->FirstFin() == nullptr) continue;
            Clear();
            return 1;
        }
        TFin* F = Q;
        do {
            if (F == nullptr || F->GetFace() != nullptr) {
                Clear();
                return 1;
            }
            Face->AddFin(F);
            F = F->NextFin;
        } while (F != Q);
    }
    for (int I = 0; I < SV.Count(); ++I) SV.Vertex(I)->CopyLink->Assign(*SV.Vertex(I));
    for (int I = 0; I < SE.Count(); ++I) {
        TEdge* S = SE.Edge(I);
        TEdge* Copy = S->CopyLink;
        Copy->Assign(*S);
        if (S->Fin1() != nullptr) Copy->Fin1()->Assign(*S->Fin1());
        if (S->Fin2() != nullptr) Copy->Fin2()->Assign(*S->Fin2());
    }
    for (int I = 0; I < SF.Count(); ++I) SF.Face(I)->CopyLink->Assign(*SF.Face(I));
    return 0;
}

void TManifold::Draw(IGraphics& Graphics) {
    FVertices.Draw(Graphics);
    FEdges.Draw(Graphics);
    FFaces.Draw(Graphics);
}

void TManifold::SaveToFile(const std::filesystem::path& FileName) const {
    std::string Text;
    for (int I = 0; I < FVertices.Count(); ++I) {
        const TMVector& P = FVertices.Vertex(I)->Position;
        Text += FormatWithPoint("V %0.6f %0.6f %0.6f", {P.X, P.Y, P.Z});
        Text += '\n';
    }
    auto Number = [](const TFin* F) {
        return F != nullptr && F->GetVertex() != nullptr ? F->GetVertex()->Index() + 1 : 0;
    };
    for (int I = 0; I < FEdges.Count(); ++I) {
        const TEdge* E = FEdges.Edge(I);
        Text += FormatWithPoint("E %d %d", {Number(E->Fin1()), Number(E->Fin2())});
        Text += '\n';
    }
    for (int I = 0; I < FFaces.Count(); ++I) {
        const TFace* Face = FFaces.Face(I);
        Text += 'F';
        if (Face->FirstFin() != nullptr)
            for (const TFin* F : ClosedFinLoop(Face->FirstFin(), "TManifold.SaveToFile"))
                Text += ' ' + std::to_string(Number(F));
        Text += '\n';
    }
    TTextWriter Out;
    Out.Write(Text);
    Out.SaveToFile(FileName);
}

}  // namespace sarnova
