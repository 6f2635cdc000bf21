#include "curvenet/XTPatchComplex.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <string>
#include <utility>

#include "curvenet/XTCrossBoundary.h"
#include "curvenet/XTCurve.h"
#include "curvenet/XTDecomposition.h"
#include "curvenet/XTEdges.h"
#include "curvenet/XTSegments.h"
#include "foundation/Errors.h"
#include "foundation/Geom.h"
#include "foundation/GeomBox.h"
#include "foundation/Polyline.h"
#include "foundation/VkMaths.h"
#include "foundation/VkMathsIntersect.h"
#include "foundation/VkMathsSolvers.h"

namespace sarnova {

namespace {

// A corner wider than this (in the face's plane) makes a face unsuitable for regular subdivision.
constexpr double MaxRegularCornerAngle = 2.7052603405912108;  // 155 degrees

TXTEdge* XTEdgeOf(const TFin* Fin) { return Fin != nullptr ? dynamic_cast<TXTEdge*>(Fin->GetEdge()) : nullptr; }

bool OnSameCurve(const TFin* A, const TFin* B) {
    const TXTEdge* EA = XTEdgeOf(A);
    const TXTEdge* EB = XTEdgeOf(B);
    return EA != nullptr && EB != nullptr && EA->Curve != nullptr && EA->Curve == EB->Curve;
}

TXTFin* XTFinOf(TFin* Fin, const char* What) {
    auto* F = dynamic_cast<TXTFin*>(Fin);
    if (F == nullptr) throw EGeometryError(std::string("TXTRegularSubDivision - ") + What + " is not a curve-network fin");
    return F;
}

// The midpoint of the fin's edge chord.
TMVector ChordMidpoint(const TFin* F) { return VectorMidpoint(F->Position(), F->OtherFin()->Position()); }

}  // namespace

// ---- TXTPatchComplex ----

TXTPatchComplex::TXTPatchComplex(TManifold* AManifold) : TXTPatchFace(AManifold) {}

TXTPatchComplex::~TXTPatchComplex() { FLocalManifold.reset(); }

std::unique_ptr<TManifold> TXTPatchComplex::NewLocalManifold() {
    auto M = std::make_unique<TManifold>();
    UseXTEdgeFactories(*M);
    M->FaceFactory = [](TManifold* A) { return std::make_unique<TXTPatchFace>(A); };
    return M;
}

void TXTPatchComplex::Report(const TXTReportRoutine& Routine, const std::string& Text) const {
    TInfoMessage M;
    M.Text = Text;
    M.Box = GetExtents();
    if (Routine) Routine(M);
}

void TXTPatchComplex::BuildPatch(const TXTSurfaceOptions& Options, const TXTReportRoutine& Routine, TXTSurface& Surface) {
    FreePatches();
    FLocalManifold.reset();
    if (IsExterior()) return;
    const int N = FinCount();
    if (N == 4 || (N == 3 && Options.AllowTrianglePatches) || N == 2) {
        TXTPatchFace::BuildPatch(Options, Routine, Surface);
        return;
    }
    TFace* Local = CopyFace();
    if (Options.JoinAdjacentEdges) JoinEdges(*Local);
    Local->Validate();
    const int Sides = Local->FinCount();
    const bool Whole = Sides == 4 || (Sides == 3 && Options.AllowTrianglePatches);
    if (!Whole && !Split(*Local, Options, Routine)) return;
    TFaces& Pieces = FLocalManifold->Faces();
    for (int I = 0; I < Pieces.Count(); ++I)
        if (auto* P = dynamic_cast<TXTPatchFace*>(Pieces.Face(I))) P->BuildPatch(Options, Routine, Surface);
}

bool TXTPatchComplex::Split(TFace& Local, const TXTSurfaceOptions& Options, const TXTReportRoutine& Routine) {
    const auto Regular = [&]() {
        if (!RegularSubdivide(&Local)) return true;
        FLocalManifold.reset();
        Report(Routine, "Regular Subdivision Failed");
        return false;
    };
    const bool UseRegular = Options.UseRegularSubdivision;
    const bool UseIrregular = Options.UseIrregularSubdivision;
    if (UseRegular && UseIrregular) {
        if (Local.FinCount() < 4 || IsRegularSubdivisionSuitable(Local)) return Regular();
        TXTDecomposition Decomposition;
        if (Decomposition.Plan(&Local)) return Regular();
        if (Decomposition.Execute()) {
            const TXTDecompositionDirection* Axis = Decomposition.Chosen();
            Report(Routine, "Decomposition Failed " + VectorToStr(Axis != nullptr ? Axis->Axis : TMVector{}));
            return false;
        }
        return true;
    }
    if (UseRegular) return Regular();
    if (UseIrregular && Decompose(&Local)) {
        Report(Routine, "Decomposition Failed");
        return false;
    }
    return true;
}

TFace* TXTPatchComplex::CopyFace() {
    FLocalManifold = NewLocalManifold();
    TManifold& M = *FLocalManifold;
    const std::vector<TFin*> Loop = ClosedFinLoop(FirstFin(), "TXTPatchComplex.CopyFace");
    const std::size_t N = Loop.size();
    TVertex* First = M.AddVertex(Loop.front()->OtherFin()->Position());
    TVertex* Previous = First;
    std::vector<TFin*> Inner, Outer;
    for (std::size_t I = 0; I < N; ++I) {
        TFin* F = Loop[I];
        TVertex* Current = I + 1 == N ? First : M.AddVertex(F->Position());
        // The copy runs the same way as the original edge.
        const bool AlongFirst = F == F->GetEdge()->Fin1();
        TEdge* E = AlongFirst ? M.AddEdge(Current, Previous) : M.AddEdge(Previous, Current);
        TFin* In = AlongFirst ? E->Fin1() : E->Fin2();
        E->Assign(*F->GetEdge());
        In->Assign(*F);
        Inner.push_back(In);
        Outer.push_back(In->OtherFin());
        Previous = Current;
    }
    for (std::size_t I = 0; I < N; ++I) {
        TFin* Next = Inner[(I + 1) % N];
        Inner[I]->NextFin = Next;
        Next->PrevFin = Inner[I];
        TFin* Back = Outer[(I + N - 1) % N];
        Outer[I]->NextFin = Back;
        Back->PrevFin = Outer[I];
    }
    // AddFace starts the loop at the fin after the one it is given.
    TFace* Face = M.AddFace(Inner.back());
    Face->Validate();
    return Face;
}

bool TXTPatchComplex::CanJoinAtFin(const TFin& Fin) {
    const TFin* Next = Fin.NextFin;
    if (Next == nullptr || Next->GetEdge() == Fin.GetEdge() || !OnSameCurve(&Fin, Next)) return false;
    const TXTEdge* E = XTEdgeOf(&Fin);
    int A = E->StartAddress.SegmentIndex;
    int B = XTEdgeOf(Next)->StartAddress.SegmentIndex;
    if (A > B) std::swap(A, B);
    if (A == B) return true;
    const TXTSegments& Spans = E->Curve->Segments();
    if (A < 0 || B > Spans.Count()) return false;
    for (int S = A; S < B; ++S)
        if (Spans.Items(S)->Last()->State > psBreak) return false;
    return true;
}

void TXTPatchComplex::JoinEdges(TFace& Face) {
    TFin* Start = Face.FirstFin();
    if (Start == nullptr) return;
    // Start where a run of sides on one curve begins, so that the run merges from its first side.
    for (int Steps = Face.FinCount(); Steps > 0 && OnSameCurve(Start->PrevFin, Start); --Steps) Start = Start->PrevFin;
    TFin* F = Start;
    do {
        // The start fin itself is never merged away.
        while (F->NextFin != Start && CanJoinAtFin(*F)) XTEdgeOf(F)->JoinToNext(F);
        F = F->NextFin;
    } while (F != Start);
}

bool TXTPatchComplex::IsRegularSubdivisionSuitable(TFace& Local) const {
    Local.CalculateCentroidAndNormal();
    const TMVector C = Local.Centroid;
    const TMVector N = VectorNormalise(Local.Normal());
    if (Local.FinCount() == 3) return true;

    for (TFin* F : ClosedFinLoop(Local.FirstFin(), "TXTPatchComplex.IsRegularSubdivisionSuitable")) {
        const TMVector A = VectorPerpendicularPart(N, F->Direction());
        const TMVector B = VectorPerpendicularPart(N, F->NextFin->OtherFin()->Direction());
        if (VectorAngle(A, B) > MaxRegularCornerAngle) return false;
    }

    const std::vector<TFin*> Loop = ClosedFinLoop(FirstFin(), "TXTPatchComplex.IsRegularSubdivisionSuitable");
    double Reach = 1.7e308;
    for (const TFin* F : Loop) Reach = std::min(Reach, VectorDistance(C, ChordMidpoint(F)) / 2);

    const TMPlane FacePlane = PlaneFromNormalAndPoint(N, C);
    const auto Bisector = [](const TFin* F) {
        return PlaneFromNormalAndPoint(VectorNormalise(VectorFromTo(F->OtherFin()->Position(), F->Position())),
                                       ChordMidpoint(F));
    };
    for (std::size_t I = 0; I < Loop.size(); ++I) {
        const TMPlane P1 = Bisector(Loop[(I + Loop.size() - 1) % Loop.size()]);
        const TMPlane P2 = Bisector(Loop[I]);
        if (std::fabs(VectorDot(P1.Normal, P2.Normal)) == 1.0) return false;
        TMVector Meet;
        try {
            Meet = IntersectionOfThreePlanes(FacePlane, P1, P2);
        } catch (const EError&) {
            // Bisectors too close to parallel meet nowhere near the centre.
            return false;
        }
        if (VectorDistance(Meet, C) > Reach) return false;
    }
    return true;
}

void TXTPatchComplex::CollectFaces(TFaces& List) {
    if (FLocalManifold == nullptr) {
        TXTPatchFace::CollectFaces(List);
        return;
    }
    TFaces& Pieces = FLocalManifold->Faces();
    for (int I = 0; I < Pieces.Count(); ++I)
        if (auto* P = dynamic_cast<TXTPatchFace*>(Pieces.Face(I))) P->CollectFaces(List);
}

void TXTPatchComplex::Draw(IGraphics& Graphics) {
    if (FLocalManifold != nullptr)
        FLocalManifold->Faces().Draw(Graphics);
    else
        TXTPatchFace::Draw(Graphics);
}

void TXTPatchComplex::DrawWithOptions(IGraphics& G, std::uint16_t Options, double Scale) {
    if (FLocalManifold != nullptr) {
        TFaces& Pieces = FLocalManifold->Faces();
        for (int I = 0; I < Pieces.Count(); ++I)
            if (auto* P = dynamic_cast<TXTPatchFace*>(Pieces.Face(I))) P->TXTPatchFace::DrawWithOptions(G, Options, Scale);
    } else {
        TXTPatchFace::DrawWithOptions(G, Options, Scale);
    }
    if ((Options >> sdoGlobalFacePolygons) & 1u) DrawInset(G);
}

void TXTPatchComplex::AddParameterLines(TPolylineList& List, int SurfaceCount) {
    if (FLocalManifold == nullptr) {
        TXTPatchFace::AddParameterLines(List, SurfaceCount);
        return;
    }
    TFaces& Pieces = FLocalManifold->Faces();
    for (int I = 0; I < Pieces.Count(); ++I)
        if (auto* P = dynamic_cast<TXTPatchFace*>(Pieces.Face(I))) P->AddParameterLines(List, SurfaceCount);
}

void TXTPatchComplex::AddPolygons(TPolygonList& List, std::uint8_t Purpose) {
    if (FLocalManifold == nullptr) {
        TXTPatchFace::AddPolygons(List, Purpose);
        return;
    }
    TFaces& Pieces = FLocalManifold->Faces();
    for (int I = 0; I < Pieces.Count(); ++I)
        if (auto* P = dynamic_cast<TXTPatchFace*>(Pieces.Face(I))) P->AddPolygons(List, Purpose);
}

void TXTPatchComplex::Assign(const TFace& Source) {
    TXTPatchFace::Assign(Source);
    FLocalManifold.reset();
    const auto* Other = dynamic_cast<const TXTPatchComplex*>(&Source);
    if (Other == nullptr || Other->FLocalManifold == nullptr) return;
    FLocalManifold = NewLocalManifold();
    FLocalManifold->Assign(*Other->FLocalManifold);
}

// ---- Regular subdivision ----

bool RegularSubdivide(TFace* Face) {
    TXTRegularSubDivision Division;
    return Division.Execute(Face);
}

bool TXTRegularSubDivision::Execute(TFace* AFace) {
    try {
        Face = AFace;
        if (Face == nullptr) return true;
        Face->Validate();
        Edges.clear();
        for (TFin* F : ClosedFinLoop(Face->FirstFin(), "TXTRegularSubDivision.Execute"))
            Edges.push_back(std::make_unique<TXTRegularSubDivisionEdge>(this, XTFinOf(F, "Side")));
        const double Share = 1.0 / static_cast<double>(Edges.size());
        Centre = TMVector{};
        for (auto& E : Edges) {
            E->FindMidpoint();
            Centre = VectorAdd(Centre, VectorScale(E->MidPoint, Share));
        }
        for (auto& E : Edges) E->StrutTangent();
        Centre = TMVector{};
        for (auto& E : Edges) Centre = VectorAdd(Centre, VectorScale(E->Inner, Share));
        for (auto& E : Edges) E->InnerControl();
        if (Edges.size() > 4) {
            // The controls next to the centre in one plane, so that the pieces meet smoothly there.
            TRPoints Controls;
            for (auto& E : Edges) Controls.Add(std::make_unique<TRPoint>(E->Control1));
            Face->CalculateCentroidAndNormal();
            TMPlane Plane = PlaneFromNormalAndPoint(VectorNormalise(Face->Normal()), Centre);
            FitPlaneToPoints(Controls, 3, Plane);
            for (auto& E : Edges) E->Control1 = PointOnPlaneClosestToPoint(Plane, E->Control1);
        }
        Face->Validate();
        Build();
        for (auto& E : Edges) E->StrutRibbons();
        return false;
    } catch (const std::exception&) {
        return true;
    }
}

void TXTRegularSubDivision::Build() {
    CentreVertex = Face->GetManifold()->AddVertex(Centre);
    for (auto& E : Edges) E->AddStrut();
}

void TXTRegularSubDivisionEdge::FindMidpoint() {
    TXTEdge* E = XTEdgeOf(Fin);
    if (E == nullptr) throw EGeometryError("TXTRegularSubDivisionEdge.FindMidpoint - Side is not a curve-network edge");
    TPolyline Samples;
    E->GetSpline().Digitise(Samples, 0);
    double Length = 0;
    for (int I = 1; I < Samples.Count(); ++I)
        Length += VectorDistance(Samples.Point(I - 1)->Vector(), Samples.Point(I)->Vector());
    if (!(Length > 0)) throw EGeometryError("TXTRegularSubDivisionEdge.FindMidpoint - Side has no length");
    double Before = 0;
    for (int I = 1; I < Samples.Count(); ++I) {
        const TRPoint* P0 = Samples.Point(I - 1);
        const TRPoint* P1 = Samples.Point(I);
        const double Segment = VectorDistance(P0->Vector(), P1->Vector());
        if (Segment > 0 && Before / Length <= 0.5 && 0.5 <= (Before + Segment) / Length) {
            const double F = (Length / 2 - Before) / Segment;
            MidParameter = (1 - F) * P0->W + F * P1->W;
            // On the side itself, not on the chord between two samples: the strut must end where
            // the side is split.
            E->GetSpline().PositionAt(MidParameter, MidPoint);
            break;
        }
        Before += Segment;
    }
    if (E->Curve != nullptr) E->Curve->NearestAddress(MidPoint, MidAddress);
}

TMVector TXTRegularSubDivisionEdge::CrossDirection() const {
    TXTEdge* E = XTEdgeOf(Fin);
    const TMVector A0 = XTFinOf(Fin->PrevFin, "Previous side")->EdgeTangent();
    const TMVector A1 = XTFinOf(Fin->NextFin->OtherFin(), "Next side")->EdgeTangent();
    TXTBSpline& Side = E->GetSpline();
    TXTBSpline& Ribbon = Fin->Ribbon();
    TMVector StartTangent, EndTangent, StartRibbon, EndRibbon;
    Side.StartDerivative(StartTangent);
    Side.EndDerivative(EndTangent);
    Ribbon.FirstPoint(StartRibbon);
    Ribbon.LastPoint(EndRibbon);
    // The walk along the side begins at the spline's end when the fin is its edge's first fin.
    const bool Backwards = Fin == E->Fin1();
    const TMVector& BeginTangent = Backwards ? EndTangent : StartTangent;
    const TMVector& BeginRibbon = Backwards ? EndRibbon : StartRibbon;
    const TMVector& ArriveTangent = Backwards ? StartTangent : EndTangent;
    const TMVector& ArriveRibbon = Backwards ? StartRibbon : EndRibbon;
    double S0 = 0, T0 = 0, S1 = 0, T1 = 0;
    // A neighbour's tangent off the corner's plane by a trace of placement error is solved for in
    // the plane and the trace added back, rather than falling back to the straight blend.
    const TMVector In0 = IntoNearPlane(BeginTangent, BeginRibbon, A0, TangentPlaneTolerance);
    const TMVector In1 = IntoNearPlane(ArriveTangent, ArriveRibbon, A1, TangentPlaneTolerance);
    const bool Failed = Solve3DPlaneEquation(BeginTangent, BeginRibbon, In0, S0, T0, false) ||
                        Solve3DPlaneEquation(ArriveTangent, ArriveRibbon, In1, S1, T1, false);
    // The midpoint's place along the side, as a fraction of each curve's range.
    const double Range = Side.MaxT() - Side.MinT();
    const double F = Range > 0 ? (MidParameter - Side.MinT()) / Range : 0.5;
    if (Failed) return VectorLerp(A0, A1, F);
    TMVector R;
    Ribbon.PositionAt(Ribbon.MinT() + F * (Ribbon.MaxT() - Ribbon.MinT()), R);
    TCurveDerivatives D;
    Side.Derivatives(MidParameter, D);
    const TMVector Trace = VectorLerp(VectorFromTo(In0, A0), VectorFromTo(In1, A1), F);
    return VectorAdd(VectorAdd(VectorScale(R, (1 - F) * T0 + F * T1), VectorScale(D[1], (1 - F) * S0 + F * S1)), Trace);
}

void TXTRegularSubDivisionEdge::StrutTangent() {
    const TMVector G = VectorNormalise(CrossDirection());
    const double Reach = VectorDistance(MidPoint, Division->Centre);
    Control2 = VectorAdd(MidPoint, VectorScale(G, Reach / 3));
    Inner = VectorAdd(MidPoint, VectorScale(G, Reach / 2));
}

void TXTRegularSubDivisionEdge::InnerControl() {
    Control1 = VectorScale(VectorAdd(VectorScale(Inner, 2), Division->Centre), 1.0 / 3);
}

void TXTRegularSubDivisionEdge::SplitSide() {
    TXTEdge* E = XTEdgeOf(Fin);
    TFace* Owner = Fin->GetFace();
    TEdgeSplit Split;
    if (E->ForceBezier)
        E->SubDivideAtT(Split, MidParameter);
    else
        E->SubDivideAtBead(MidAddress, Split);
    TVertex* V = Split.NewVertex;
    for (int I = 0; I < V->EdgeCount(); ++I) {
        TFin* Arriving = V->Edge(I)->GetFin(V);
        if (Arriving->GetFace() == Owner) {
            Fin = XTFinOf(Arriving, "Split side");
            return;
        }
    }
    throw EGeometryError("TXTRegularSubDivisionEdge.SplitSide - Split side left the face");
}

void TXTRegularSubDivisionEdge::AddStrut() {
    SplitSide();
    TFace* Owner = Fin->GetFace();
    TVertex* Centre = Division->CentreVertex;
    TEdge* Made = nullptr;
    if (Centre->EdgeCount() == 0) {
        Made = Owner->AddStrutAtFin(Centre, Fin);
    } else {
        TFaceSplit Split;
        Owner->SubDivide(Centre, Fin->GetVertex(), Split);
        Made = Split.NewEdge;
    }
    Strut = dynamic_cast<TXTEdge*>(Made);
    if (Strut == nullptr) throw EGeometryError("TXTRegularSubDivisionEdge.AddStrut - Strut is not a curve-network edge");
    MeetSplitSide();
    TXTBSpline& Spline = Strut->GetSpline();
    Spline.Clear();
    Spline.SetOrder(4);
    Spline.AddPoint(Centre->Position);
    Spline.AddPoint(Control1);
    Spline.AddPoint(Control2);
    Spline.AddPoint(MidPoint);
}

void TXTRegularSubDivisionEdge::MeetSplitSide() {
    // The split vertex sits where the curve address lies, a rounding away from MidPoint; the strut
    // ends there, leaving it in the plane of the half side's tangent and ribbon. Otherwise the
    // patches on either side find corner data that do not fit together and fall back to straight
    // cross derivatives, which leave the tangent plane.
    const TMVector Vertex = Fin->GetVertex()->Position;
    const TMVector Leg = VectorFromTo(MidPoint, Control2);
    const double Length = VectorLength(Leg);
    TMVector Ribbon;
    TXTBSpline& Half = Fin->Ribbon();
    const bool AtStart = Fin == XTEdgeOf(Fin)->Fin1();  // a fin's vertex is its edge's start
    if (Half.Count() > 1) {
        if (AtStart)
            Half.FirstPoint(Ribbon);
        else
            Half.LastPoint(Ribbon);
    }
    const TMVector Normal = VectorNormalise(VectorCross(Fin->EdgeTangent(), Ribbon));
    TMVector G = VectorNormalise(Leg);
    if (VectorLength(Normal) > 0.5) G = VectorNormalise(VectorPerpendicularPart(Normal, G));
    MidPoint = Vertex;
    Control2 = VectorAdd(Vertex, VectorScale(G, Length));
}

void TXTRegularSubDivisionEdge::StrutRibbons() { SetInteriorEdgeRibbons(*Strut); }

}  // namespace sarnova
