#include "curvenet/XTSurface.h"

#include <algorithm>
#include <ctime>
#include <initializer_list>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>

#include "curvenet/FaceFinder.h"
#include "curvenet/XTCrossBoundary.h"
#include "curvenet/XTCurve.h"
#include "curvenet/XTEdges.h"
#include "curvenet/XTPatchComplex.h"
#include "curvenet/XTReferencePoints.h"
#include "document/Geometry.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "foundation/PositionIndex.h"
#include "foundation/TextFile.h"
#include "surfaces/SurfaceList.h"

namespace sarnova {

namespace {

// Cut points of different curves closer than this on every axis are one vertex.
constexpr double VertexTolerance = 0.005;

void WriteConsole(const std::string& Line) {
    if (GConsole) GConsole->WriteLine(Line);
}

// The local time in the user's long time format.
std::string TimeText() {
    const std::time_t Now = std::time(nullptr);
    std::tm Local{};
    localtime_r(&Now, &Local);
    char Text[64];
    const std::size_t Length = std::strftime(Text, sizeof Text, "%X", &Local);
    return std::string(Text, Length);
}

// The text after the first "=", at most 255 characters; the whole line without one.
std::string ValueOf(const std::string& Line) {
    const std::size_t Eq = Line.find('=');
    return (Eq == std::string::npos ? Line : Line.substr(Eq + 1)).substr(0, 255);
}

IXTPatchFace* PatchFaceOf(TFace* Face) { return dynamic_cast<IXTPatchFace*>(Face); }

}  // namespace

// ---- TXTCurveReferences ----

TXTCurve* TXTCurveReferences::Curve(int Index) const { return dynamic_cast<TXTCurve*>(Items(Index)); }

void TXTCurveReferences::GetExtents(TMBox& Box) const {
    InitEmptyBox(Box);
    for (int I = 0; I < Count(); ++I)
        if (TXTCurve* C = Curve(I)) Box = UniteBoxes(Box, C->Extents());
}

// ---- TXTSurfaceBase ----

TXTSurfaceBase::TXTSurfaceBase()
    : FCurves(std::make_unique<TXTCurveReferences>(this)), FSurfaces(std::make_unique<TSurfaces>()) {}

TXTSurfaceBase::~TXTSurfaceBase() {
    // The curves must not hear from a half-destroyed surface.
    NotifyDestroying();
    FSurfaces.reset();
    FCurves.reset();
}

void TXTSurfaceBase::SetOptions(const TXTSurfaceOptions& Options) {
    FOptions = Options;
    Changed();
}

void TXTSurfaceBase::Changed() {
    FUpToDate = false;
    TXTNode::Changed();
}

void TXTSurfaceBase::Regenerate() {
    if (FUpToDate) return;
    TXTNode::Regenerate();
    Generate();
    DoChange();
    FUpToDate = true;
}

void TXTSurfaceBase::DoChange() {
    if (OnRegenerated) OnRegenerated(this);
}

void TXTSurfaceBase::Clear() { FCurves->Clear(); }

void TXTSurfaceBase::DropUnresolvedCurves() {
    for (int I = FCurves->Count() - 1; I >= 0; --I) {
        if (I >= FCurves->Count() || FCurves->Items(I)) continue;
        WriteConsole("Surface " + GetName() + ": curve " + FCurves->Reference(I).GetName() +
                     " not found, removed from the surface's curves");
        FCurves->Delete(I);
    }
}

void TXTSurfaceBase::ResolveReferences() { DropUnresolvedCurves(); }

void TXTSurfaceBase::ValidateReferences() { DropUnresolvedCurves(); }

void TXTSurfaceBase::SaveToText(TTextWriter& F) {
    F.WriteLine("Name=" + GetName());
    F.WriteLine("Options=" + SurfaceOptionsToText(FOptions));
    F.WriteLine("NumCurves=" + std::to_string(FCurves->Count()));
    for (int I = 0; I < FCurves->Count(); ++I) F.WriteLine(FCurves->Reference(I).GetName());
}

void TXTSurfaceBase::LoadFromText(TTextReader& F) {
    SetName(ValueOf(F.ReadLine()));
    std::string Line = F.ReadLine();
    if (Line.find("Options") != std::string::npos) {
        FOptions = ReadSurfaceOptions(ValueOf(Line), GetName());
        Line = F.ReadLine();
    }
    const int N = StrToInt(ValueOf(Line));
    for (int I = 0; I < N; ++I) {
        // A damaged count must not read on for ever past the end of the text.
        if (F.Eof()) throw EError("TXTSurfaceBase.LoadFromText - The list of curve names ends early");
        FCurves->AddByName(F.ReadLine());
    }
}

void TXTSurfaceBase::ExportWithCurves(const std::filesystem::path& FileName) {
    TTextWriter F;
    for (int I = 0; I < FCurves->Count(); ++I) {
        TXTNode* C = FCurves->Items(I);
        if (!C) continue;
        F.WriteLine("[" + ClassNameOf(typeid(*C)) + "]");
        C->SaveToText(F);
        F.WriteLine("");
    }
    F.WriteLine("[" + ClassNameOf(typeid(*this)) + "]");
    SaveToText(F);
    F.WriteLine("");
    F.SaveToFile(FileName);
}

// ---- TXTSurface ----

TXTSurface::TXTSurface() : FManifold(NewManifold()) {}

std::unique_ptr<TManifold> TXTSurface::NewManifold() {
    auto M = std::make_unique<TManifold>();
    UseXTEdgeFactories(*M);
    // Edges take the Bezier flag the options have when they are made.
    M->EdgeFactory = [this](TManifold* Owner) {
        auto E = std::make_unique<TXTEdge>(Owner);
        E->ForceBezier = Options().ForceBezierEdges;
        return E;
    };
    M->FaceFactory = [this](TManifold* Owner) { return NewFace(Owner); };
    return M;
}

TXTSurface::~TXTSurface() {
    NotifyDestroying();
    FPatchFaces.Clear();
    Surfaces().Clear();
    FManifold.reset();
}

std::unique_ptr<TFace> TXTSurface::NewFace(TManifold* AManifold) { return std::make_unique<TXTPatchComplex>(AManifold); }

const TXTPatchFaces& TXTSurface::GetPatchFaces() {
    if (!IsUpToDate()) Regenerate();
    return FPatchFaces;
}

void TXTSurface::Assign(TXTSurface& Other) {
    Curves().AssignNames(Other.Curves());
    FPatchFaces.Clear();
    Surfaces().Clear();
    FBuilt.clear();
    FOpenedFace = -1;
    FManifold->Assign(*Other.FManifold);
    CollectSurfaces();
}

void TXTSurface::Clear() {
    FPatchFaces.Clear();
    Surfaces().Clear();
    FBuilt.clear();
    FOpenedFace = -1;
    FManifold->Clear();
    TXTSurfaceBase::Clear();
}

void TXTSurface::Generate() {
    WriteConsole("[" + TimeText() + "] Begin Generating Surface: " + GetName());
    ClearInfoMessages();
    FPatchFaces.Clear();
    Surfaces().Clear();
    // After a change of the curves alone the faces usually stay: the previous manifold is kept
    // aside until the new edges show whether they do.
    std::unique_ptr<TManifold> Previous;
    if (FGenerated && FBuiltOptions == Options()) {
        Previous = std::move(FManifold);
        FManifold = NewManifold();
    } else {
        FManifold->Clear();
        FBuilt.clear();
    }
    FGenerated = false;
    FBuiltOptions = Options();

    BuildEdges();
    const bool FacesKept = Previous != nullptr && KeepFaces(*Previous, *FManifold);
    if (FacesKept) {
        FManifold = std::move(Previous);
        // The outline face is judged again from the new shapes.
        if (FOpenedFace >= 0 && FOpenedFace < FManifold->Faces().Count())
            FManifold->Faces().Face(FOpenedFace)->Exterior = 0;
    } else {
        Previous.reset();
        FBuilt.clear();
    }
    FOpenedFace = -1;
    if (FManifold->Edges().Count() <= 2) {
        TInfoMessage M;
        M.Text = "Atleast three curves/edges are required to generate a surface";
        Report(M);
        return;
    }
    if (!FacesKept && FindFaces(*FManifold, true)) {
        TInfoMessage M;
        M.Text = "Quillmoor Failed";
        Report(M);
        return;
    }
    OpenOverlappingFace();
    ReportBezierEdges();
    BuildCrossTangents();
    BuildPatches(FacesKept);
    CollectSurfaces();
    FGenerated = true;
    WriteConsole("[" + TimeText() + "] End Generating Surface: " + GetName());
    if (OnGenerated) OnGenerated(this);
}

bool TXTSurface::KeepFaces(TManifold& Previous, TManifold& Fresh) {
    TVertices& OldVertices = Previous.Vertices();
    TVertices& NewVertices = Fresh.Vertices();
    TEdges& OldEdges = Previous.Edges();
    TEdges& NewEdges = Fresh.Edges();
    if (OldVertices.Count() != NewVertices.Count() || OldEdges.Count() != NewEdges.Count()) return false;
    std::unordered_map<const TVertex*, const TVertex*> Counterpart;
    for (int I = 0; I < NewVertices.Count(); ++I) Counterpart[NewVertices.Vertex(I)] = OldVertices.Vertex(I);
    for (int I = 0; I < NewEdges.Count(); ++I) {
        auto* A = static_cast<TXTEdge*>(OldEdges.Edge(I));
        auto* B = static_cast<TXTEdge*>(NewEdges.Edge(I));
        if (A->Curve != B->Curve || Counterpart[B->Fin1()->GetVertex()] != A->Fin1()->GetVertex() ||
            Counterpart[B->Fin2()->GetVertex()] != A->Fin2()->GetVertex())
            return false;
    }
    for (int I = 0; I < NewVertices.Count(); ++I) OldVertices.Vertex(I)->Position = NewVertices.Vertex(I)->Position;
    for (int I = 0; I < NewEdges.Count(); ++I) {
        auto* A = static_cast<TXTEdge*>(OldEdges.Edge(I));
        auto* B = static_cast<TXTEdge*>(NewEdges.Edge(I));
        A->ForceBezier = B->ForceBezier;
        A->StartAddress = B->StartAddress;
        A->EndAddress = B->EndAddress;
        A->InvalidateSpline();
        // The ribbons start empty, as on new fins.
        A->XTFin1()->SetRibbon(std::make_unique<TXTBSpline>());
        A->XTFin2()->SetRibbon(std::make_unique<TXTBSpline>());
    }
    // The normals follow the new positions, as the face finder leaves them.
    for (int I = 0; I < OldVertices.Count(); ++I) OldVertices.Vertex(I)->UpdateNormal();
    return true;
}

void TXTSurface::BuildEdges() {
    FCutCurves.clear();
    for (int I = 0; I < Curves().Count(); ++I)
        if (TXTCurve* C = Curves().Curve(I)) {
            C->Regenerate();
            FCutCurves.insert(C);
        }
    // The index numbers the positions as the manifold numbers its vertices: both only grow here.
    TPositionIndex Shared(VertexTolerance);
    std::vector<TBeadAddress> Cuts;
    for (int I = 0; I < Curves().Count(); ++I) {
        TXTCurve* C = Curves().Curve(I);
        if (!C) continue;
        CollectCuts(*C, Cuts);
        for (int S = 0; S < C->Segments().Count(); ++S) CutSpan(*C, S, Cuts, Shared);
    }
    FCutCurves.clear();
    DropDanglingVertices();
    // Removed tails leave holes in the containers, which would make every index lookup of the face
    // finder a tree walk.
    FManifold->Pack();
}

void TXTSurface::CollectCuts(TXTCurve& C, std::vector<TBeadAddress>& Cuts) {
    Cuts.clear();
    // Outside a generation (a caller asking directly) the list is read as it stands.
    std::unordered_set<const TXTNode*> Local;
    const std::unordered_set<const TXTNode*>* Listed = &FCutCurves;
    if (FCutCurves.empty()) {
        for (int I = 0; I < Curves().Count(); ++I)
            if (TXTCurve* L = Curves().Curve(I)) Local.insert(L);
        Listed = &Local;
    }
    const auto InSurface = [Listed](const TXTNode* N) { return Listed->count(N) != 0; };
    const auto Take = [&](const TBeadAddress& A) { Cuts.push_back(A); };

    const TXTReferences& Dependents = C.Dependents();
    for (int I = 0; I < Dependents.Count(); ++I) {
        auto* D = dynamic_cast<TXTCurve*>(Dependents.OwnerOf(I));
        if (!D) continue;
        if (InSurface(D)) {
            for (int P = 0; P < D->PointCount(); ++P) {
                auto* R = dynamic_cast<TXTReferencePoint*>(D->PointAt(P));
                if (!R || R->GetTargetNode() != &C) continue;
                TBeadAddress A;
                R->GetBeadAddress(A);
                Take(A);
            }
            continue;
        }
        // A surface curve that repeats a bead this outside curve holds on C.
        const TXTReferences& Further = D->Dependents();
        for (int J = 0; J < Further.Count(); ++J) {
            auto* E = dynamic_cast<TXTCurve*>(Further.OwnerOf(J));
            if (!E || !InSurface(E)) continue;
            for (int P = 0; P < E->PointCount(); ++P) {
                auto* R = dynamic_cast<TXTPointIndexReference*>(E->PointAt(P));
                if (!R || R->GetTargetNode() != D) continue;
                auto* Bead = dynamic_cast<TXTBead*>(R->ReferencedVertex());
                if (!Bead || Bead->GetTargetNode() != &C) continue;
                TBeadAddress A;
                Bead->GetBeadAddress(A);
                Take(A);
            }
        }
    }
}

void TXTSurface::CutParameters(std::vector<double>& Parameters, TXTCurve& C, int SpanIndex) {
    std::vector<TBeadAddress> Cuts;
    CollectCuts(C, Cuts);
    CutParameters(Parameters, C, SpanIndex, Cuts);
}

void TXTSurface::CutParameters(std::vector<double>& Parameters, TXTCurve& C, int SpanIndex,
                               const std::vector<TBeadAddress>& Cuts) {
    Parameters.clear();
    TXTSegment* Span = C.Segments().Items(SpanIndex);
    const double MinT = Span->MinT();
    const double MaxT = Span->MaxT();
    for (const TBeadAddress& A : Cuts) {
        if (A.SegmentIndex != SpanIndex || A.T == MinT || A.T == MaxT) continue;
        if (Parameters.empty() || A.T != Parameters.back()) Parameters.push_back(A.T);
    }
    Span->AddCutParameters(Parameters);
    std::sort(Parameters.begin(), Parameters.end());
    Parameters.erase(std::unique(Parameters.begin(), Parameters.end()), Parameters.end());
    if (Parameters.empty() || Parameters.front() > MinT) Parameters.insert(Parameters.begin(), MinT);
    if (MaxT > Parameters.back()) Parameters.push_back(MaxT);
}

void TXTSurface::CutSpan(TXTCurve& C, int SpanIndex, const std::vector<TBeadAddress>& Cuts, TPositionIndex& Shared) {
    std::vector<double> Parameters;
    CutParameters(Parameters, C, SpanIndex, Cuts);
    TXTSegment* Span = C.Segments().Items(SpanIndex);
    Span->Update();
    const auto VertexAt = [&](double T) {
        TMVector P;
        Span->PositionAt(T, P);
        const int Number = Shared.FindOrAdd(P);
        if (Number == FManifold->Vertices().Count()) return FManifold->AddVertex(P);
        return FManifold->Vertices().Vertex(Number);
    };
    for (std::size_t I = 0; I + 1 < Parameters.size(); ++I) {
        const double T0 = Parameters[I];
        const double T1 = Parameters[I + 1];
        TVertex* V0 = VertexAt(T0);
        TVertex* V1 = VertexAt(T1);
        if (V0 == V1) continue;
        auto* E = static_cast<TXTEdge*>(FManifold->AddEdge(V0, V1));
        E->Curve = &C;
        E->StartAddress = {SpanIndex, T0};
        E->EndAddress = {SpanIndex, T1};
    }
}

void TXTSurface::DropDanglingVertices() {
    // Every pass of the rule removes the last vertex of one edge in container order and starts again;
    // the candidates are kept in that order instead, so a long loose tail costs no rescans. Removing
    // a vertex keeps the order of the others.
    TVertices& Vertices = FManifold->Vertices();
    std::unordered_map<const TVertex*, int> Order;
    std::set<std::pair<int, TVertex*>> Dangling;
    for (int I = Vertices.Count() - 1; I >= 0; --I) {
        TVertex* V = Vertices.Vertex(I);
        if (V->EdgeCount() == 0) {
            FManifold->DeleteVertex(V);
            continue;
        }
        Order[V] = I;
        if (V->EdgeCount() == 1) Dangling.insert({I, V});
    }
    while (!Dangling.empty()) {
        TVertex* V = std::prev(Dangling.end())->second;
        Dangling.erase(std::prev(Dangling.end()));
        auto* E = static_cast<TXTEdge*>(V->Edge(0));
        const TMVector A = E->Fin1()->Position();
        const TMVector B = E->Fin2()->Position();
        TInfoMessage M;
        M.Text = FormatWithPoint("%s ignored between [%0.3f, %0.3f, %0.3f] - [%0.3f, %0.3f, %0.3f]",
                                 {E->Curve ? E->Curve->GetName() : std::string(), A.X, A.Y, A.Z, B.X, B.Y, B.Z});
        InitEmptyBox(M.Box);
        ExtendBoxByVector(A, M.Box);
        ExtendBoxByVector(B, M.Box);
        Report(M);
        TVertex* Other = E->OtherVertex(V);
        // The far end goes with the edge when this was its only edge.
        const bool OtherGoes = Other == nullptr || Other == V || Other->EdgeCount() == 1;
        if (OtherGoes && Other != nullptr) Dangling.erase({Order[Other], Other});
        FManifold->DeleteVertex(V);
        if (!OtherGoes && Other->EdgeCount() == 1) Dangling.insert({Order[Other], Other});
    }
}

namespace {

// Twice the vector area of a face's loop, its edges followed along their curves (a loop of two
// curved edges, a lens, has an area its two corners do not show).
TMVector LoopArea(TFace& F) {
    std::vector<TMVector> P;
    for (TFin* Fin : F.Fins()) {
        auto* E = static_cast<TXTEdge*>(Fin->GetEdge());
        TBSpline& S = E->GetSpline().Spline();
        S.UpdateKnots();
        // The spline runs from the first fin's vertex to the second's; a fin arrives at its vertex.
        const bool Forward = Fin == E->Fin2();
        constexpr int Steps = 8;
        for (int K = 0; K < Steps; ++K) {
            const double T = double(Forward ? K : Steps - K) / Steps;
            P.push_back(S.EvaluatePoint(S.MinT() + T * (S.MaxT() - S.MinT())));
        }
    }
    TMVector A{0, 0, 0};
    for (std::size_t I = 0; I < P.size(); ++I) A = VectorAdd(A, VectorCross(P[(I + 1) % P.size()], P[I]));
    return A;
}

// How the face turns at its corners about the vertex normals: each corner adds the sine of its
// angle, signed by the normal the faces round the vertex set. Straight corners add nothing.
double CornerTurn(TFace& F) {
    double Turn = 0;
    for (TFin* Fin : F.Fins()) {
        TVertex* V = Fin->GetVertex();
        TEdge* P = Fin->GetEdge();
        TEdge* Q = V != nullptr ? V->NextEdge(P) : nullptr;
        if (Q == nullptr || Q == P) continue;
        const TMVector A = VectorNormalise(P->GetFin(V)->Direction());
        const TMVector B = VectorNormalise(Q->GetFin(V)->Direction());
        Turn += VectorDot(V->Normal, VectorCross(A, B));
    }
    return Turn;
}

// The faces of a surface all turn one way round their corners, however the surface curves; the
// outer loop of a disc folds back over the faces at each of its bent corners and turns the other
// way. The faces of a closed body all turn alike, so none of them is taken for an outline.
bool FoldsBackOverTheOthers(TFaces& Faces, std::size_t Outline) {
    const double Turn = CornerTurn(*Faces.Face(static_cast<int>(Outline)));
    if (Turn == 0) return false;
    for (int I = 0; I < Faces.Count(); ++I)
        if (static_cast<std::size_t>(I) != Outline && CornerTurn(*Faces.Face(I)) * Turn >= 0) return false;
    return true;
}

}  // namespace

void TXTSurface::OpenOverlappingFace() {
    // The finder closes the open boundary of a disc-like network (a ring of faces round a hole, a
    // lens on a square) into one more face, lying over all the others: the loop is where the surface
    // ends, not a face of it. Such a mesh has no exterior face; the largest face is that loop when
    // the others, seen from it, cover it as a single sheet facing the other way.
    TFaces& Faces = FManifold->Faces();
    if (Faces.Count() < 3) return;
    for (int I = 0; I < Faces.Count(); ++I)
        if (Faces.Face(I)->IsExterior()) return;
    std::vector<TMVector> Area;
    std::size_t Largest = 0;
    for (int I = 0; I < Faces.Count(); ++I) {
        Area.push_back(LoopArea(*Faces.Face(I)));
        if (VectorLength(Area.back()) > VectorLength(Area[Largest])) Largest = Area.size() - 1;
    }
    TMVector Others{0, 0, 0};
    double Sheet = 0;
    for (std::size_t I = 0; I < Area.size(); ++I)
        if (I != Largest) {
            Others = VectorAdd(Others, Area[I]);
            Sheet += VectorLength(Area[I]);
        }
    const double Outline = VectorLength(Area[Largest]);
    // A closed body shows its faces from every side: the sum of the others' areas is then much
    // smaller than their total.
    const bool FlatSheet = Sheet > 0 && VectorLength(Others) >= 0.7 * Sheet && VectorDot(Others, Area[Largest]) < 0 &&
                           Outline >= 0.7 * Sheet;
    if (!FlatSheet && !FoldsBackOverTheOthers(Faces, Largest)) return;
    Faces.Face(static_cast<int>(Largest))->Exterior = 1;
    FOpenedFace = static_cast<int>(Largest);
}

namespace {

// Samples of a spline over its whole range.
std::vector<TMVector> Samples(TBSpline& S, int Steps) {
    S.UpdateKnots();
    std::vector<TMVector> P;
    for (int K = 0; K <= Steps; ++K) P.push_back(S.EvaluatePoint(S.MinT() + (S.MaxT() - S.MinT()) * K / Steps));
    return P;
}

double DistanceToPolyline(const TMVector& P, const std::vector<TMVector>& Line) {
    double Best = VectorDistance(P, Line.front());
    for (std::size_t I = 0; I + 1 < Line.size(); ++I) {
        const TMVector D = VectorFromTo(Line[I], Line[I + 1]);
        const double L2 = VectorDot(D, D);
        const double T = L2 > 0 ? std::clamp(VectorDot(VectorFromTo(Line[I], P), D) / L2, 0.0, 1.0) : 0.0;
        Best = std::min(Best, VectorDistance(P, VectorAdd(Line[I], VectorScale(D, T))));
    }
    return Best;
}

// The edge's curve piece lies inside one knot span of one curve span: it is a single cubic (or
// less), which the Bezier repeats exactly. Saves cutting the piece out on every regeneration.
bool WithinOneSpan(TXTEdge& E) {
    const TBeadAddress& A = E.StartAddress;
    const TBeadAddress& B = E.EndAddress;
    if (A.SegmentIndex != B.SegmentIndex || A.SegmentIndex < 0 || A.SegmentIndex >= E.Curve->Segments().Count())
        return false;
    const TBSpline& S = E.Curve->Segments().Items(A.SegmentIndex)->Spline().Spline();
    const double Lo = std::min(A.T, B.T), Hi = std::max(A.T, B.T);
    const double Tolerance = TBSpline::KnotSnapTolerance * (Hi - Lo + 1);
    for (int K = 1; K <= S.KnotCount(); ++K)
        if (S.Knot(K) > Lo + Tolerance && S.Knot(K) < Hi - Tolerance) return false;
    return S.GetOrder() <= 4;
}

}  // namespace

void TXTSurface::ReportBezierEdges() {
    // A forced Bezier edge stands for a curve piece of several spans by one cubic through its ends
    // with its end tangents: the patches then leave the curve. The designer is told which curve
    // and how far, to choose a scheme that interpolates.
    TEdges& Edges = FManifold->Edges();
    for (int I = 0; I < Edges.Count(); ++I) {
        auto* E = static_cast<TXTEdge*>(Edges.Edge(I));
        if (!E->ForceBezier || E->Curve == nullptr || WithinOneSpan(*E)) continue;
        std::unique_ptr<TXTBSpline> Piece = E->Curve->SubCurve(E->StartAddress, E->EndAddress);
        if (Piece->Count() <= 4) continue;
        const std::vector<TMVector> Curve = Samples(Piece->Spline(), 64);
        double Off = 0;
        for (const TMVector& P : Samples(E->GetSpline().Spline(), 32)) Off = std::max(Off, DistanceToPolyline(P, Curve));
        if (Off <= VertexTolerance) continue;
        const TMVector A = E->Fin1()->Position();
        const TMVector B = E->Fin2()->Position();
        TInfoMessage M;
        M.Text = FormatWithPoint("%s replaced by one Bezier between [%0.3f, %0.3f, %0.3f] - [%0.3f, %0.3f, %0.3f], up to %0.4f off the curve",
                                 {E->Curve->GetName(), A.X, A.Y, A.Z, B.X, B.Y, B.Z, Off});
        InitEmptyBox(M.Box);
        for (const TMVector& P : Curve) ExtendBoxByVector(P, M.Box);
        Report(M);
    }
}

void TXTSurface::BuildCrossTangents() {
    const TXTReportRoutine Routine = [this](const TInfoMessage& M) { Report(M); };
    std::unordered_map<const TXTCurve*, std::vector<TXTEdge*>> EdgesOf;
    TEdges& Edges = FManifold->Edges();
    for (int I = 0; I < Edges.Count(); ++I)
        if (auto* E = dynamic_cast<TXTEdge*>(Edges.Edge(I)); E != nullptr && E->Curve != nullptr)
            EdgesOf[E->Curve].push_back(E);
    static const std::vector<TXTEdge*> None;
    for (int I = 0; I < Curves().Count(); ++I)
        if (TXTCurve* C = Curves().Curve(I)) {
            const auto It = EdgesOf.find(C);
            GenerateCrossBoundaryTangents(*C, It == EdgesOf.end() ? None : It->second,
                                          Options().LinearTangentInterpolation, Routine);
        }
}

namespace {

void AppendSpline(std::vector<double>& Inputs, TBSpline& S) {
    S.UpdateKnots();
    Inputs.push_back(S.GetOrder());
    Inputs.push_back(S.Count());
    for (int K = 1; K <= S.KnotCount(); ++K) Inputs.push_back(S.Knot(K));
    for (int I = 0; I < S.Count(); ++I) {
        const TRPoint& P = *std::as_const(S).Point(I);
        Inputs.insert(Inputs.end(), {P.X, P.Y, P.Z, P.W});
    }
}

// Everything a face's patch is built from: its corners, its edges' splines and the ribbons on both
// sides of them, the Bezier flags and the boundary marks of the curves.
std::vector<double> PatchInputs(TFace& F) {
    std::vector<double> Inputs{double(F.IsExterior()), double(F.FinCount())};
    for (TFin* Fin : F.Fins()) {
        auto* E = static_cast<TXTEdge*>(Fin->GetEdge());
        const TMVector P = Fin->Position();
        const TMVector Normal = Fin->GetVertex() != nullptr ? Fin->GetVertex()->Normal : TMVector{};
        Inputs.insert(Inputs.end(), {P.X, P.Y, P.Z, Normal.X, Normal.Y, Normal.Z, double(Fin == E->Fin1()), double(E->ForceBezier),
                                     E->Curve != nullptr ? double(E->Curve->Options()) : -1.0});
        AppendSpline(Inputs, E->GetSpline().Spline());
        AppendSpline(Inputs, E->XTFin1()->Ribbon().Spline());
        AppendSpline(Inputs, E->XTFin2()->Ribbon().Spline());
    }
    return Inputs;
}

}  // namespace

void TXTSurface::BuildPatches(bool FacesKept) {
    TFaces& Faces = FManifold->Faces();
    // Joining edges reads the curves' spans beyond the face's own edges, and a subdivision patch
    // re-parameterises the edges' splines and ribbons in place and reads them through its fins
    // afterwards: every patch is built then. The N-sided patches keep copies of what they read.
    if (!FacesKept || Options().JoinAdjacentEdges || Options().PatchType == sptSubdivision) FBuilt.clear();
    for (int I = 0; I < Faces.Count(); ++I) {
        TFace* Face = Faces.Face(I);
        IXTPatchFace* F = PatchFaceOf(Face);
        if (F == nullptr) continue;
        std::vector<double> Inputs = PatchInputs(*Face);
        TBuiltPatch& Built = FBuilt[Face];
        if (!Built.Inputs.empty() && Built.Inputs == Inputs) {
            for (const TInfoMessage& M : Built.Messages) Report(M);
            continue;
        }
        Built.Inputs.clear();
        Built.Messages.clear();
        const TXTReportRoutine Routine = [this, &Built](const TInfoMessage& M) {
            Built.Messages.push_back(M);
            Report(M);
        };
        F->BuildPatch(Options(), Routine, *this);
        Built.Inputs = std::move(Inputs);
    }
}

void TXTSurface::CollectSurfaces() {
    Surfaces().Clear();
    FPatchFaces.Clear();
    TFaces& Faces = FManifold->Faces();
    for (int I = 0; I < Faces.Count(); ++I)
        if (IXTPatchFace* F = PatchFaceOf(Faces.Face(I))) F->CollectFaces(FPatchFaces);
    // Subdivision patches hold polygons, not surfaces.
    if (Options().PatchType == sptSubdivision) return;
    for (int I = 0; I < FPatchFaces.Count(); ++I)
        if (IXTPatchFace* F = PatchFaceOf(FPatchFaces.TFaces::Face(I)))
            if (TSurface* S = F->PatchSurface()) Surfaces().Add(S);
}

void TXTSurface::DrawSurface(IGraphics& G) {
    if (!IsUpToDate()) Regenerate();
    FManifold->Faces().Draw(G);
}

void TXTSurface::DrawWithOptions(IGraphics& G, std::uint16_t Options, double Scale) {
    if (!IsUpToDate()) Regenerate();
    const auto Any = [Options](std::initializer_list<TXTSurfaceDrawOption> Bits) {
        for (TXTSurfaceDrawOption B : Bits)
            if ((Options >> B) & 1u) return true;
        return false;
    };
    TVertices& Vertices = FManifold->Vertices();
    if (Any({sdoVertices}))
        for (int I = 0; I < Vertices.Count(); ++I) Vertices.Vertex(I)->Draw(G);
    if (Any({sdoVertexNormals}))
        for (int I = 0; I < Vertices.Count(); ++I) Vertices.Vertex(I)->DrawNormal(G);
    if (Any({sdoEdges, sdoEdgeTangents, sdoEdgeSurfaceTangents, sdoEdgeSurfaceNormals})) {
        TEdges& Edges = FManifold->Edges();
        for (int I = 0; I < Edges.Count(); ++I)
            if (auto* E = dynamic_cast<TXTEdge*>(Edges.Edge(I))) E->DrawWithOptions(G, Options, Scale);
    }
    if (Any({sdoGlobalFacePolygons, sdoSurfaces, sdoSurfacePolygons, sdoSurfaceNormals, sdoLocalEdges,
             sdoLocalEdgeTangents, sdoLocalEdgeDerivatives, sdoLocalEdgeNormals, sdoLocalFacePolygons})) {
        TFaces& Faces = FManifold->Faces();
        for (int I = 0; I < Faces.Count(); ++I)
            if (IXTPatchFace* F = PatchFaceOf(Faces.Face(I))) F->DrawWithOptions(G, Options, Scale);
    }
}

void TXTSurface::AddParameterLines(TPolylineList& List) {
    if (!IsUpToDate()) Regenerate();
    TFaces& Faces = FManifold->Faces();
    for (int I = 0; I < Faces.Count(); ++I)
        if (IXTPatchFace* F = PatchFaceOf(Faces.Face(I))) F->AddParameterLines(List, Surfaces().Count());
}

void TXTSurface::AddEdgeCurves(TPolylineList& List) {
    if (!IsUpToDate()) Regenerate();
    TEdges& Edges = FManifold->Edges();
    for (int I = 0; I < Edges.Count(); ++I)
        if (auto* E = dynamic_cast<TXTEdge*>(Edges.Edge(I))) List.Add(E->GetSpline().Spline().Digitise());
}

void TXTSurface::AddPolygons(TPolygonList& List, std::uint8_t Purpose) {
    if (!IsUpToDate()) Regenerate();
    TFaces& Faces = FManifold->Faces();
    for (int I = 0; I < Faces.Count(); ++I)
        if (IXTPatchFace* F = PatchFaceOf(Faces.Face(I))) F->AddPolygons(List, Purpose);
}

}  // namespace sarnova
