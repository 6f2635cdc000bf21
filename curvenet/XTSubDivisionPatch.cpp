#include "curvenet/XTSubDivisionPatch.h"

#include <cmath>
#include <vector>

#include "curvenet/XTEdges.h"
#include "foundation/Graphics.h"
#include "foundation/Errors.h"
#include "foundation/Polygon.h"
#include "foundation/PolyList.h"
#include "foundation/Polyline.h"
#include "foundation/VkMaths.h"
#include "foundation/VkMathsSolvers.h"

namespace sarnova {

namespace {

// The parameter length of a side.
constexpr double SideLength = 2.0;
constexpr int HairCount = 30;

TXTSubdivisionVertex* SubVertex(TVertex* V) { return static_cast<TXTSubdivisionVertex*>(V); }
TXTSubdivisionEdge* SubEdge(TEdge* E) { return dynamic_cast<TXTSubdivisionEdge*>(E); }
TXTSubDivisionFin* SubFin(TFin* F) { return dynamic_cast<TXTSubDivisionFin*>(F); }

// The vertex a fin leaves: the head of its edge's other fin.
TVertex* Tail(const TFin* F) {
    const TFin* O = F != nullptr ? F->OtherFin() : nullptr;
    return O != nullptr ? O->GetVertex() : nullptr;
}

// The boundary edge of fin F, when it lies on the same side as Edge; else nullptr.
TXTSubdivisionEdge* SameSideEdge(const TFin* F, const TXTSubdivisionEdge& Edge) {
    TXTSubdivisionEdge* E = F != nullptr ? SubEdge(F->GetEdge()) : nullptr;
    return E != nullptr && E->BoundaryFin == Edge.BoundaryFin ? E : nullptr;
}

// Boundary data of edge E at its end V.
struct TSideData {
    TMVector C;
    TMVector D;
};

TSideData DataAt(const TXTSubdivisionEdge& E, const TVertex* V) {
    TSideData S;
    SubFin(E.Fin1())->FBoundary(V, S.C, S.D);
    return S;
}

}  // namespace

// ---- Edges ----

TXTEdge* TXTSubdivisionEdge::SideEdge() const {
    return BoundaryFin != nullptr ? dynamic_cast<TXTEdge*>(BoundaryFin->GetEdge()) : nullptr;
}

TXTBSpline& TXTSubdivisionEdge::SideSpline() const { return SideEdge()->GetSpline(); }

void TXTSubdivisionEdge::MakeBoundary(TXTFin* Fin) {
    auto* Side = Fin != nullptr ? dynamic_cast<TXTEdge*>(Fin->GetEdge()) : nullptr;
    if (Side == nullptr) throw EGeometryError("TXTSubDivisionPatch.BuildInitialManifold - Fin did not connect to a TXTEdge");
    if (Side->GetSpline().Count() < 2)
        throw EGeometryError("TXTSubDivisionPatch.BuildInitialManifold - Side of the face has no curve");
    BoundaryFin = Fin;
    Side->GetSpline().Reparameterise(0, SideLength);
    if (Fin->Ribbon().Count() >= 2) Fin->Ribbon().Reparameterise(0, SideLength);
    SubFin(Fin1())->Parameter = 0;
    SubFin(Fin2())->Parameter = SideLength;
    for (TFin* F : {Fin1(), Fin2()})
        if (F->GetVertex() != nullptr) SubVertex(F->GetVertex())->BoundaryKind = 1;
}

void TXTSubdivisionEdge::GenerateDerivative() {
    const bool Face1 = Fin1()->GetFace() != nullptr;
    const bool Face2 = Fin2()->GetFace() != nullptr;
    if (Face1 == Face2)
        throw EGeometryError("TXTSubdivisionEdge.GenerateDerivative - Face found on both sides of boundary edge");
    if (!IsBoundary()) return;
    // The neighbouring sides' tangents at the corners, pointing along them away from the corner: at
    // the boundary fin's head the next side leaves it, at its tail the previous side arrives.
    const TXTEdge* Side = SideEdge();
    auto* Next = BoundaryFin->NextFin != nullptr ? dynamic_cast<TXTFin*>(BoundaryFin->NextFin->OtherFin()) : nullptr;
    auto* Prev = dynamic_cast<TXTFin*>(BoundaryFin->PrevFin);
    const TMVector AtHead = Next != nullptr ? Next->EdgeTangent() : ZeroVector;
    const TMVector AtTail = Prev != nullptr ? Prev->EdgeTangent() : ZeroVector;
    const bool HeadIsStart = BoundaryFin == Side->Fin1();
    StartTarget = HeadIsStart ? AtHead : AtTail;
    EndTarget = HeadIsStart ? AtTail : AtHead;

    TXTBSpline& Ribbon = BoundaryFin->Ribbon();
    SolveFailed = 1;
    if (Ribbon.Count() < 2) return;  // no ribbon: the cross derivative runs between the targets
    TXTBSpline& S = SideSpline();
    TMVector C0, C2, R0, R2;
    S.StartDerivative(C0);
    S.EndDerivative(C2);
    Ribbon.FirstPoint(R0);
    Ribbon.LastPoint(R2);
    const TMVector In0 = IntoNearPlane(C0, R0, StartTarget, TangentPlaneTolerance);
    const TMVector In1 = IntoNearPlane(C2, R2, EndTarget, TangentPlaneTolerance);
    StartTrace = VectorFromTo(In0, StartTarget);
    EndTrace = VectorFromTo(In1, EndTarget);
    const bool Failed0 = Solve3DPlaneEquation(C0, R0, In0, StartTangentFactor, StartRibbonFactor, false);
    const bool Failed1 = Solve3DPlaneEquation(C2, R2, In1, EndTangentFactor, EndRibbonFactor, false);
    SolveFailed = Failed0 || Failed1 ? 1 : 0;
}

TMVector TXTSubdivisionEdge::SideDerivative(double X) const { return SideSpline().Spline().FirstDerivatives(X)[1]; }

void TXTSubdivisionEdge::BoundaryDataAt(double X, TMVector& Position, TMVector& Derivative) const {
    TXTBSpline& S = SideSpline();
    const double U = X / SideLength;
    if (SolveFailed != 0) {
        S.PositionAt(X, Position);
        Derivative = VectorAdd(VectorScale(StartTarget, 1 - U), VectorScale(EndTarget, U));
        return;
    }
    const TCurveFirstDerivatives D = S.Spline().FirstDerivatives(X);
    Position = D[0];
    TMVector R;
    BoundaryFin->Ribbon().PositionAt(X, R);
    const double Alpha = (1 - U) * StartTangentFactor + U * EndTangentFactor;
    const double Beta = (1 - U) * StartRibbonFactor + U * EndRibbonFactor;
    Derivative = VectorAdd(VectorScale(D[1], Alpha), VectorScale(R, Beta));
    if (VectorLength(StartTrace) > 0 || VectorLength(EndTrace) > 0)
        Derivative = VectorAdd(Derivative, VectorAdd(VectorScale(StartTrace, 1 - U), VectorScale(EndTrace, U)));
}

void TXTSubdivisionEdge::Draw(IGraphics& Graphics) {
    if (!IsBoundary()) return;
    SideSpline().Draw(Graphics);
    DrawFins(Graphics);
    const double X0 = SubFin(Fin1())->Parameter;
    const double X1 = SubFin(Fin2())->Parameter;
    for (int I = 0; I <= HairCount; ++I) {
        TMVector C, D;
        BoundaryDataAt(X0 + (X1 - X0) * I / HairCount, C, D);
        Graphics.LineVectors(C, VectorAdd(C, VectorScale(D, 0.25)));
    }
    Graphics.Vector(Fin1()->Position(), StartTarget, 1, false);
    Graphics.Vector(Fin2()->Position(), EndTarget, 1, false);
}

void TXTSubdivisionEdge::Direction(int EndIndex, TMVector& Dir) const {
    if (!IsBoundary() || (EndIndex != 0 && EndIndex != 1)) {
        TEdge::Direction(EndIndex, Dir);
        return;
    }
    if (EndIndex == 0)
        Dir = SideDerivative(SubFin(Fin1())->Parameter);
    else
        Dir = VectorNegate(SideDerivative(SubFin(Fin2())->Parameter));
}

void TXTSubdivisionEdge::CopySideData(const TXTSubdivisionEdge& Source) {
    SolveFailed = Source.SolveFailed;
    StartTangentFactor = Source.StartTangentFactor;
    EndTangentFactor = Source.EndTangentFactor;
    StartRibbonFactor = Source.StartRibbonFactor;
    EndRibbonFactor = Source.EndRibbonFactor;
    EndTarget = Source.EndTarget;
    StartTarget = Source.StartTarget;
    StartTrace = Source.StartTrace;
    EndTrace = Source.EndTrace;
    BoundaryFin = Source.BoundaryFin;
}

void TXTSubdivisionEdge::SubDivide(const TMVector& Point, TEdgeSplit& Split) {
    const double X0 = SubFin(Fin1())->Parameter;
    const double X1 = SubFin(Fin2())->Parameter;
    TEdge::SubDivide(Point, Split);
    auto* Half = SubEdge(Split.NewEdge);
    if (!IsBoundary() || Half == nullptr) return;
    Half->CopySideData(*this);
    const double Middle = (X0 + X1) / 2;
    SubFin(Fin2())->Parameter = Middle;
    SubFin(Half->Fin1())->Parameter = Middle;
    SubFin(Half->Fin2())->Parameter = X1;
    SubVertex(Split.NewVertex)->BoundaryKind = 2;
}

// ---- Fins ----

TXTSubdivisionEdge* TXTSubDivisionFin::SubdivisionEdge() const { return SubEdge(GetEdge()); }

void TXTSubDivisionFin::BoundaryDataAt(TMVector& Position, TMVector& Derivative) const {
    SubdivisionEdge()->BoundaryDataAt(Parameter, Position, Derivative);
}

TMVector TXTSubDivisionFin::GetDerivative() const {
    const TXTSubdivisionEdge* E = SubdivisionEdge();
    if (E == nullptr) throw EGeometryError("TXTSubdivisionFin.GetDerivative - Fin is not on a TXTSubdivisionEdge");
    if (!E->IsBoundary()) throw EGeometryError("TXTSubdivisionFin.GetDerivative - Fin is not on a boundary");
    const TMVector D = E->SideDerivative(Parameter);
    return E->Fin2() == this ? VectorNegate(D) : D;
}

void TXTSubDivisionFin::FBoundary(const TVertex* V, TMVector& Position, TMVector& Derivative) const {
    const TXTSubdivisionEdge* E = SubdivisionEdge();
    if (E == nullptr || !E->IsBoundary()) throw EGeometryError("TXTSubdivisionFin.FBoundary - Fin is not on a boundary");
    const TXTSubDivisionFin* At = nullptr;
    if (V != nullptr && V == GetVertex())
        At = this;
    else if (V != nullptr && V == Tail(this))
        At = SubFin(OtherFin());
    if (At == nullptr) throw EGeometryError("TXTSubdivisionFin.FBoundary - Vertex does not belong to this edge");
    E->BoundaryDataAt(At->Parameter, Position, Derivative);
}

void TXTSubDivisionFin::CalculateBoundaryVertexSubdivisionPosition(double C) {
    if (GetFace() == nullptr || GetFace()->IsExterior()) return;
    auto* P = SubVertex(GetVertex());
    if (P->BoundaryKind == 0) {
        BoundaryPosition = P->Position;
        return;
    }
    TXTSubdivisionEdge* Edge = SubdivisionEdge();
    if (Edge == nullptr || !Edge->IsBoundary()) return;
    TVertex* A = Tail(this);
    const TSideData DA = DataAt(*Edge, A);
    const TSideData DP = DataAt(*Edge, P);

    if (P->BoundaryKind == 2) {
        // P inside a side: X across the face along the interior edge, B beyond P along the side.
        TFin* Next = NextFin;
        TFin* Neighbour = Next != nullptr ? Next->OtherFin() : nullptr;
        TFin* Across = Neighbour != nullptr && Neighbour->GetFace() != nullptr ? Neighbour->NextFin : nullptr;
        TXTSubdivisionEdge* BEdge = SameSideEdge(Across, *Edge);
        if (BEdge == nullptr || BEdge == Edge)
            throw EGeometryError(
                "TXTSubdivisionFin.CalculateBoundaryVertexSubdivisionPosition - Incorrect topology for Edge Boundary Vertex");
        const TMVector X = Next->GetVertex()->Position;
        const TSideData DB = DataAt(*BEdge, Across->GetVertex());
        TMVector R = VectorScale(P->Position, 2);
        R = VectorAdd(R, VectorScale(X, -0.5));
        R = VectorAdd(R, VectorScale(VectorAdd(DA.C, DB.C), -0.25));
        R = VectorAdd(R, VectorScale(VectorAdd(DA.D, DB.D), -C / 12));
        R = VectorAdd(R, VectorScale(DP.D, 2 * C / 3));
        BoundaryPosition = R;
        SubFin(Neighbour)->BoundaryPosition = R;
        return;
    }

    // A corner: the face runs A, P, B, X; A' and B' lie beyond A and B along their sides.
    auto Fail = [] {
        throw EGeometryError(
            "TXTSubdivisionFin.CalculateBoundaryVertexSubdivisionPosition - Incorrect topology for Corner Boundary Vertex");
    };
    TFin* Next = NextFin;
    TXTSubdivisionEdge* BEdge = Next != nullptr ? SubEdge(Next->GetEdge()) : nullptr;
    if (GetFace()->FinCount() != 4 || BEdge == nullptr || !BEdge->IsBoundary() || Next->NextFin == nullptr ||
        PrevFin == nullptr)
        Fail();
    TVertex* B = Next->GetVertex();
    const TMVector X = Next->NextFin->GetVertex()->Position;
    // Through the neighbouring faces across the interior edges at A and at B.
    TFin* AcrossA = PrevFin->OtherFin() != nullptr ? PrevFin->OtherFin()->PrevFin : nullptr;
    TFin* AcrossB = Next->NextFin->OtherFin() != nullptr ? Next->NextFin->OtherFin()->NextFin : nullptr;
    TXTSubdivisionEdge* A2Edge = SameSideEdge(AcrossA, *Edge);
    TXTSubdivisionEdge* B2Edge = SameSideEdge(AcrossB, *BEdge);
    if (A2Edge == nullptr || A2Edge == Edge || B2Edge == nullptr || B2Edge == BEdge) Fail();
    const TSideData DB = DataAt(*BEdge, B);
    const TSideData D2P = DataAt(*BEdge, P);
    const TSideData DA2 = DataAt(*A2Edge, Tail(AcrossA));
    const TSideData DB2 = DataAt(*B2Edge, AcrossB->GetVertex());
    TMVector R = VectorScale(P->Position, 2.5);
    R = VectorAdd(R, VectorScale(X, 0.25));
    R = VectorAdd(R, VectorScale(VectorAdd(DA.C, DB.C), -1));
    R = VectorAdd(R, VectorScale(VectorAdd(DA2.C, DB2.C), 0.125));
    R = VectorAdd(R, VectorScale(VectorAdd(DP.D, D2P.D), 29 * C / 48));
    R = VectorAdd(R, VectorScale(VectorAdd(DA.D, DB.D), -C / 12));
    R = VectorAdd(R, VectorScale(VectorAdd(DA2.D, DB2.D), -C / 48));
    BoundaryPosition = R;
}

void TXTSubDivisionFin::Assign(const TFin& Source) {
    TFin::Assign(Source);
    auto* Side = dynamic_cast<TXTFin*>(const_cast<TFin*>(&Source));
    if (Side != nullptr && Side->GetFace() != nullptr && SubdivisionEdge() != nullptr)
        SubdivisionEdge()->MakeBoundary(Side);
}

void UseSubdivisionFactories(TManifold& Manifold) {
    Manifold.VertexFactory = [](TManifold* M) { return std::make_unique<TXTSubdivisionVertex>(M); };
    Manifold.EdgeFactory = [](TManifold* M) { return std::make_unique<TXTSubdivisionEdge>(M); };
    Manifold.FinFactory = [](TManifold* M, TEdge* E) { return std::make_unique<TXTSubDivisionFin>(M, E); };
    Manifold.FaceFactory = [](TManifold* M) { return std::make_unique<TXTSubDivisionFace>(M); };
}

// ---- The patch ----

TXTSubDivisionPatch::~TXTSubDivisionPatch() = default;

void TXTSubDivisionPatch::Generate() {
    BuildInitialManifold();
    for (int K = 0; K < Levels; ++K) SubdivideOnce(K);
}

void TXTSubDivisionPatch::BuildInitialManifold() {
    const std::vector<TFin*> Loop =
        ClosedFinLoop(Face != nullptr ? Face->FirstFin() : nullptr, "TXTSubDivisionPatch.BuildInitialManifold");
    if (Loop.size() < 2) throw EGeometryError("TXTSubDivisionPatch.BuildInitialManifold - Face has fewer than two sides");
    for (TFin* F : Loop)
        if (dynamic_cast<TXTFin*>(F) == nullptr || dynamic_cast<TXTEdge*>(F->GetEdge()) == nullptr)
            throw EGeometryError("TXTSubDivisionPatch.BuildInitialManifold - Fin did not connect to a TXTEdge");

    auto M = std::make_unique<TManifold>();
    UseSubdivisionFactories(*M);
    // Corner I is the tail of loop fin I; the last fin ends at the first corner again.
    const std::size_t N = Loop.size();
    std::vector<TVertex*> Corners;
    Corners.push_back(M->AddVertex(Tail(Loop[0])->Position));
    for (std::size_t I = 0; I + 1 < N; ++I) Corners.push_back(M->AddVertex(Loop[I]->GetVertex()->Position));
    std::vector<TFin*> Inside;
    for (std::size_t I = 0; I < N; ++I) {
        TVertex* From = Corners[I];
        TVertex* To = Corners[(I + 1) % N];
        // Directed like the side's edge: the first fin at the curve's start.
        const bool Forward = Loop[I] == Loop[I]->GetEdge()->Fin2();
        TEdge* E = Forward ? M->AddEdge(From, To) : M->AddEdge(To, From);
        Inside.push_back(E->GetFin(To));
    }
    for (std::size_t I = 0; I < N; ++I) {
        TFin* F = Inside[I];
        TFin* G = Inside[(I + 1) % N];
        F->NextFin = G;
        G->PrevFin = F;
        // The outside loop runs the other way round.
        G->OtherFin()->NextFin = F->OtherFin();
        F->OtherFin()->PrevFin = G->OtherFin();
    }
    M->AddFace(Inside[N - 1]);
    for (std::size_t I = 0; I < N; ++I) SubEdge(Inside[I]->GetEdge())->MakeBoundary(static_cast<TXTFin*>(Loop[I]));
    for (int I = 0; I < M->Edges().Count(); ++I) SubEdge(M->Edges().Edge(I))->GenerateDerivative();
    FManifold = std::move(M);
}

void TXTSubDivisionPatch::SubdivideOnce(int K) {
    if (FManifold == nullptr) return;
    TManifold& M = *FManifold;
    // The parameter length of a boundary edge at this step.
    const double C = std::ldexp(SideLength, -K);

    // 1. Boundary positions (from the first step on), 2. no split vertices yet.
    for (int I = 0; I < M.Vertices().Count(); ++I) {
        TXTSubdivisionVertex* V = SubVertex(M.Vertices().Vertex(I));
        if (K == 0) {
            V->NewPosition = V->Position;
            continue;
        }
        for (int J = 0; J < V->EdgeCount(); ++J)
            SubFin(V->Edge(J)->GetFin(V))->CalculateBoundaryVertexSubdivisionPosition(C);
    }
    for (int I = 0; I < M.Edges().Count(); ++I) SubEdge(M.Edges().Edge(I))->SplitVertex = nullptr;

    // 3. Face points.
    for (int I = 0; I < M.Faces().Count(); ++I) {
        auto* F = static_cast<TXTSubDivisionFace*>(M.Faces().Face(I));
        TMVector Sum;
        for (TFin* Fin : F->Fins()) {
            auto* SF = SubFin(Fin);
            if (K == 0) {
                // The side's middle pushed by its cross derivative.
                TMVector Pos, D;
                SF->SubdivisionEdge()->BoundaryDataAt(SideLength / 2, Pos, D);
                Sum = VectorAdd(Sum, VectorAdd(Pos, D));
            } else {
                Sum = VectorAdd(Sum, SF->BoundaryPosition);
            }
        }
        if (F->FinCount() > 0) F->FacePoint = VectorScale(Sum, 1.0 / F->FinCount());
    }

    // 4. Edge points: on the side curve for a boundary edge.
    auto FacePointOf = [](const TFin* Fin) {
        return Fin->GetFace() != nullptr ? static_cast<TXTSubDivisionFace*>(Fin->GetFace())->FacePoint : ZeroVector;
    };
    for (int I = 0; I < M.Edges().Count(); ++I) {
        TXTSubdivisionEdge* E = SubEdge(M.Edges().Edge(I));
        if (E->IsBoundary()) {
            TMVector D;
            E->BoundaryDataAt((SubFin(E->Fin1())->Parameter + SubFin(E->Fin2())->Parameter) / 2, E->EdgePoint, D);
        } else {
            TMVector Sum = VectorAdd(E->Fin1()->Position(), E->Fin2()->Position());
            Sum = VectorAdd(Sum, VectorAdd(FacePointOf(E->Fin1()), FacePointOf(E->Fin2())));
            E->EdgePoint = VectorScale(Sum, 0.25);
        }
    }

    // 5. Interior vertices by the valence-four weights, whatever their valence.
    for (int I = 0; I < M.Vertices().Count(); ++I) {
        TXTSubdivisionVertex* V = SubVertex(M.Vertices().Vertex(I));
        if (V->BoundaryKind != 0 || V->EdgeCount() == 0) continue;
        TMVector R, Q;
        int Faces = 0;
        for (int J = 0; J < V->EdgeCount(); ++J) {
            TEdge* E = V->Edge(J);
            R = VectorAdd(R, SubEdge(E)->EdgePoint);
            const TFin* Arriving = E->GetFin(V);
            if (Arriving->GetFace() != nullptr) {
                Q = VectorAdd(Q, FacePointOf(Arriving));
                ++Faces;
            }
        }
        R = VectorScale(R, 1.0 / V->EdgeCount());
        if (Faces > 0) Q = VectorScale(Q, 1.0 / Faces);
        V->NewPosition = VectorAdd(R, VectorScale(VectorFromTo(Q, V->Position), 0.25));
    }

    // 6. Edges split at their edge points, last first.
    for (int I = M.Edges().Count() - 1; I >= 0; --I) {
        TXTSubdivisionEdge* E = SubEdge(M.Edges().Edge(I));
        TEdgeSplit Split;
        E->SubDivide(E->EdgePoint, Split);
        E->SplitVertex = Split.NewVertex;
        SubEdge(Split.NewEdge)->SplitVertex = nullptr;
        SubVertex(Split.NewVertex)->NewPosition = E->EdgePoint;
    }

    // 7. Faces split round a centre vertex, last first; the faces made here are not visited.
    for (int I = M.Faces().Count() - 1; I >= 0; --I) {
        auto* F = static_cast<TXTSubDivisionFace*>(M.Faces().Face(I));
        if (F->IsExterior()) continue;
        std::vector<TVertex*> Splits;
        auto It = F->FinIterator();
        while (It->MoveNext())
            if (TVertex* S = SubEdge(It->Current()->GetEdge())->SplitVertex) Splits.push_back(S);
        if (Splits.empty()) continue;
        auto* Centre = SubVertex(M.AddVertex(F->FacePoint));
        Centre->NewPosition = F->FacePoint;
        F->AddStrut(Centre, Splits[0]);
        TFaceSplit Split;
        for (std::size_t J = 1; J < Splits.size(); ++J) F->SubDivide(Centre, Splits[J], Split);
    }

    // 8.
    for (int I = 0; I < M.Vertices().Count(); ++I) {
        TXTSubdivisionVertex* V = SubVertex(M.Vertices().Vertex(I));
        V->Position = V->NewPosition;
    }
}

std::unique_ptr<TPolygonList> TXTSubDivisionPatch::CreatePolygons() const {
    auto List = std::make_unique<TPolygonList>();
    if (FManifold == nullptr) return List;
    for (int I = 0; I < FManifold->Faces().Count(); ++I) {
        const TFace* F = FManifold->Faces().Face(I);
        const int N = F->FinCount();
        if (N != 3 && N != 4) continue;
        auto P = std::make_unique<TPolygon>(N == 4 ? 1 : 0);
        int Corner = 0;
        auto It = F->FinIterator();
        while (It->MoveNext() && Corner < N) P->SetCorner(Corner++, TRPoint(It->Current()->Position()));
        List->Add(std::move(P));
    }
    return List;
}

void TXTSubDivisionPatch::AddEdgeLines(TPolylineList& List) const {
    if (FManifold == nullptr) return;
    for (int I = 0; I < FManifold->Edges().Count(); ++I) {
        const TEdge* E = FManifold->Edges().Edge(I);
        auto Line = std::make_unique<TPolyline>();
        Line->AddVector(E->Fin1()->Position());
        Line->AddVector(E->Fin2()->Position());
        List.Add(std::move(Line));
    }
}

void TXTSubDivisionPatch::Draw(IGraphics& Graphics) const {
    if (FManifold == nullptr) return;
    for (int I = 0; I < FManifold->Faces().Count(); ++I) {
        const TFace* F = FManifold->Faces().Face(I);
        auto It = F->FinIterator();
        if (!It->MoveNext()) continue;
        const TMVector First = It->Current()->Position();
        Graphics.LineStartVector(First);
        while (It->MoveNext()) Graphics.LineNextVector(It->Current()->Position());
        Graphics.LineNextVector(First);
        Graphics.LineFinish();
    }
}

}  // namespace sarnova
