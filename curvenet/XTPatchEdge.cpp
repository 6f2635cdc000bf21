#include "curvenet/XTPatchEdge.h"

#include <cmath>
#include <vector>

#include "curvenet/XTEdges.h"
#include "curvenet/XTSurfaceOptions.h"
#include "foundation/Graphics.h"
#include "foundation/Console.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/GeomBox.h"
#include "foundation/VkMathsSolvers.h"
#include "surfaces/CoonsPatch.h"
#include "surfaces/Manifold.h"

namespace sarnova {

namespace {

constexpr int HairCount = 100;

double AtFraction(const TXTBSpline& S, double F) { return S.MinT() + (S.MaxT() - S.MinT()) * F; }

TMVector ControlVector(const TXTBSpline& S, int I) {
    TMVector V;
    S.PointAt(I, V);
    return V;
}

// The first derivative at each end of the curve as evaluated (not from the end legs).
TMVector TangentAt(TXTBSpline& S, bool AtEnd) {
    TCurveDerivatives D;
    S.Spline().UpdateKnots();
    S.Derivatives(AtEnd ? S.MaxT() : S.MinT(), D);
    return D[1];
}

// The order-2 spline from (A, A, A) to (B, B, B): a linear scalar factor for Multiply.
std::unique_ptr<TBSpline> LinearFactor(double A, double B) {
    auto F = std::make_unique<TBSpline>(2);
    F->AddVector({A, A, A});
    F->AddVector({B, B, B});
    F->UpdateKnots();
    return F;
}

// S becomes the straight order-2 curve from A to B.
void SetStraight(TBSpline& S, const TMVector& A, const TMVector& B) {
    S.Clear();
    S.SetOrder(2);
    S.KnotType = ktOpen;
    S.AddVector(A);
    S.AddVector(B);
    S.UpdateKnots();
}

// The interior knots of a clamped curve.
std::vector<double> InteriorKnots(TBSpline& S) {
    S.UpdateKnots();
    std::vector<double> K;
    for (int I = S.GetOrder() + 1; I <= S.Count(); ++I) K.push_back(S.Knot(I));
    return K;
}

// The tangent leaving Vertex along the edge of Fin or of its other fin, whichever has Vertex as its
// head; false when neither has.
bool TangentAtVertex(TFin* Fin, const TVertex& Vertex, TMVector& Tangent) {
    TFin* AtVertex = Fin->GetVertex() == &Vertex ? Fin : Fin->OtherFin();
    if (AtVertex == nullptr || AtVertex->GetVertex() != &Vertex) return false;
    Tangent = ZeroVector;
    if (auto* E = dynamic_cast<TXTEdge*>(AtVertex->GetEdge())) {
        // The tangent is the spline's: make sure the edge has built it.
        E->GetSpline();
        if (auto* XF = dynamic_cast<TXTFin*>(AtVertex)) Tangent = XF->EdgeTangent();
    }
    return true;
}

}  // namespace

// ---- TXTPatchEdge ----

TXTPatchEdge::TXTPatchEdge(TXTPatchEdges* AOwner, int AIndex)
    : FOwner(AOwner),
      FIndex(AIndex),
      FCurve(std::make_unique<TXTBSpline>()),
      FRibbon(std::make_unique<TXTBSpline>()),
      FCrossDerivative(std::make_unique<TXTBSpline>()) {}

TXTPatchEdge::~TXTPatchEdge() = default;

void TXTPatchEdge::CopyFrom(const TXTPatchEdge& Other) {
    FCurve->Assign(*Other.FCurve);
    FRibbon->Assign(*Other.FRibbon);
    FCrossDerivative->Assign(*Other.FCrossDerivative);
    Collapsed = Other.Collapsed;
    StartTwist = Other.StartTwist;
    EndTwist = Other.EndTwist;
}

void TXTPatchEdge::Assign(TFin& Fin) {
    auto* Edge = dynamic_cast<TXTEdge*>(Fin.GetEdge());
    if (Edge == nullptr) throw EGeometryError("TXTEdgeGeometry.Assign - Fin did not connect to a TXTEdge");
    FCurve->Assign(Edge->GetSpline());
    if (auto* XF = dynamic_cast<TXTFin*>(&Fin))
        FRibbon->Assign(XF->Ribbon());
    else
        FRibbon->Clear();
    Collapsed = 0;
}

void TXTPatchEdge::Assign(const TVertex& Vertex, TFin* AStartFin, TFin* AEndFin) {
    Collapsed = 1;
    TBSpline& C = FCurve->Spline();
    C.Clear();
    C.SetOrder(4);
    C.KnotType = ktOpen;
    for (int I = 0; I < 4; ++I) C.AddVector(Vertex.Position);
    C.UpdateKnots();
    if (AStartFin == nullptr || AEndFin == nullptr)
        throw EGeometryError("TXTPatchEdge.Assign - AStartFin or AEndFin not assigned");
    TMVector T0, T1;
    if (!TangentAtVertex(AStartFin, Vertex, T0))
        throw EGeometryError("TXTPatchEdge.Assign - AStartFin or Adjacent Fin does not connect to vertex");
    if (!TangentAtVertex(AEndFin, Vertex, T1))
        throw EGeometryError("TXTPatchEdge.Assign - AEndFin or Adjacent Fin does not connect to vertex");
    SetStraight(FCrossDerivative->Spline(), T0, T1);
}

TMVector TXTPatchEdge::StartPoint() const { return ControlVector(*FCurve, 0); }

TMVector TXTPatchEdge::EndPoint() const { return ControlVector(*FCurve, FCurve->Count() - 1); }

int TXTPatchEdge::MaxOrder() const { return std::max(FCurve->Order(), FCrossDerivative->Order()); }

std::pair<TMVector, TMVector> TXTPatchEdge::ControlPair(int I) const {
    return {ControlVector(*FCurve, I), ControlVector(*FCrossDerivative, I)};
}

std::pair<TMVector, TMVector> TXTPatchEdge::StartPair() const {
    return {ControlVector(*FCurve, 0), ControlVector(*FCrossDerivative, 0)};
}

std::pair<TMVector, TMVector> TXTPatchEdge::EndPair() const {
    return {ControlVector(*FCurve, FCurve->Count() - 1),
            ControlVector(*FCrossDerivative, FCrossDerivative->Count() - 1)};
}

TMBox TXTPatchEdge::GetExtents() const { return FCurve->Spline().Extents(); }

TMVector TXTPatchEdge::StartTwistEstimate() {
    TMVector V;
    FCrossDerivative->StartDerivative(V);
    return V;
}

TMVector TXTPatchEdge::EndTwistEstimate() {
    TMVector V;
    FCrossDerivative->EndDerivative(V);
    return V;
}

bool TXTPatchEdge::PointAt(double S, TMVector& Point, TMVector& Cross) {
    Cross = ZeroVector;
    if (!(S >= 0 && S <= 1)) return false;
    FCurve->Spline().UpdateKnots();
    FCurve->PositionAt(AtFraction(*FCurve, S), Point);
    if (FCrossDerivative->Count() >= 2) {
        FCrossDerivative->Spline().UpdateKnots();
        FCrossDerivative->PositionAt(AtFraction(*FCrossDerivative, S), Cross);
    }
    return true;
}

TXTPatchEdgeDerivatives TXTPatchEdge::DerivativesAt(double S) {
    TXTPatchEdgeDerivatives R{};
    TCurveDerivatives D;
    FCurve->Derivatives(AtFraction(*FCurve, S), D);
    for (int I = 0; I < 4; ++I) R[static_cast<std::size_t>(I)] = D[static_cast<std::size_t>(I)];
    if (FCrossDerivative->Count() >= 2 && S >= 0 && S <= 1) {
        FCrossDerivative->Derivatives(AtFraction(*FCrossDerivative, S), D);
        for (int I = 0; I < 4; ++I) R[static_cast<std::size_t>(I + 4)] = D[static_cast<std::size_t>(I)];
    }
    return R;
}

void TXTPatchEdge::SetStartPoint(const TMVector& P) { FCurve->SetPoint(0, P); }

void TXTPatchEdge::SetEndPoint(const TMVector& P) { FCurve->SetPoint(FCurve->Count() - 1, P); }

void TXTPatchEdge::Reverse() {
    FCurve->Spline().Reverse();
    FRibbon->Spline().Reverse();
    FCrossDerivative->Spline().Reverse();
}

void TXTPatchEdge::MakeCompatible(int N) { FCurve->Spline().MakeCompatibleWithOrder(FCrossDerivative->Spline(), N); }

void TXTPatchEdge::RefineKnots(std::span<const double> Values) {
    FCurve->Spline().RefineKnots(Values);
    FCrossDerivative->Spline().RefineKnots(Values);
}

void TXTPatchEdge::JoinNearestEnds(TXTPatchEdge& Other) {
    const TMVector A0 = StartPoint(), A1 = EndPoint(), B0 = Other.StartPoint(), B1 = Other.EndPoint();
    const double Distances[4] = {VectorDistance(A0, B0), VectorDistance(A0, B1), VectorDistance(A1, B0),
                                 VectorDistance(A1, B1)};
    int Nearest = -1;
    double Smallest = 1e33;
    for (int I = 0; I < 4; ++I)
        if (Distances[I] < Smallest) {
            Smallest = Distances[I];
            Nearest = I;
        }
    if (Nearest < 0) return;
    const bool AtEndOfThis = Nearest >= 2, AtEndOfOther = Nearest % 2 == 1;
    const TMVector Mid = VectorLerp(AtEndOfThis ? A1 : A0, AtEndOfOther ? B1 : B0, 0.5);
    if (AtEndOfThis)
        SetEndPoint(Mid);
    else
        SetStartPoint(Mid);
    if (AtEndOfOther)
        Other.SetEndPoint(Mid);
    else
        Other.SetStartPoint(Mid);
}

void TXTPatchEdge::GenerateCrossDerivative(const TMVector& V0, const TMVector& V1) {
    if (FCurve->Count() <= 1 || FRibbon->Count() <= 1) return;
    const TMVector A0 = TangentAt(*FCurve, false), A1 = TangentAt(*FCurve, true);
    TMVector R0, R1;
    FRibbon->FirstPoint(R0);
    FRibbon->LastPoint(R1);
    double a0 = 0, b0 = 0, a1 = 0, b1 = 0;
    // A corner vector off the ribbon's plane by a trace of placement error is solved for in the
    // plane, and the trace added back along the side: the straight cross derivative would leave the
    // tangent plane that the neighbour keeps, and the corner must still meet the next side exactly.
    const TMVector In0 = IntoNearPlane(A0, R0, V0, TangentPlaneTolerance);
    const TMVector In1 = IntoNearPlane(A1, R1, V1, TangentPlaneTolerance);
    const bool StartFailed = Solve3DPlaneEquation(A0, R0, In0, a0, b0, false);
    const bool EndFailed = Solve3DPlaneEquation(A1, R1, In1, a1, b1, false);
    if (StartFailed || EndFailed) {
        const char* Line = "TXTPatchEdge.GenerateCrossDerivative - Solve3DPlaneEquation failed at (%10.3f, %10.3f, %10.3f)";
        const auto Report = [&](const TMVector& P) {
            if (GConsole) GConsole->WriteLine(Format(Line, {P.X, P.Y, P.Z}));
        };
        if (StartFailed) Report(StartPoint());
        if (EndFailed) Report(EndPoint());
        SetStraight(FCrossDerivative->Spline(), V0, V1);
        return;
    }
    TBSpline& Spline = FCurve->Spline();
    Spline.UpdateKnots();
    std::unique_ptr<TBSpline> C = Spline.GetOrder() > 2 ? Spline.Clone() : Spline.RaiseOrder(3);
    const auto Tangent = C->Derivative();
    const auto Along = LinearFactor(a0, a1)->Multiply(*Tangent);
    const auto Across = LinearFactor(b0, b1)->Multiply(FRibbon->Spline());
    auto Sum = Along->Sum(*Across);
    const TMVector Trace0 = VectorFromTo(In0, V0), Trace1 = VectorFromTo(In1, V1);
    if (VectorLength(Trace0) > 0 || VectorLength(Trace1) > 0) {
        TBSpline Trace(2);
        SetStraight(Trace, Trace0, Trace1);
        Sum = Sum->Sum(Trace);
    }
    FCrossDerivative->AssignSpline(*Sum);
}

void TXTPatchEdge::EnforceTwistCompatibility(const TXTSurfaceOptions& Options) {
    const double Theta = Options.TwistCompatibilityAngle;
    // Files of older versions hold an angle of 0: it would insert a span of no length and flatten
    // the cross derivative at the corner.
    if (!(Theta > 0)) return;
    TBSpline& D = FCrossDerivative->Spline();
    const int n = D.Count();
    if (n < 2) return;
    D.UpdateKnots();
    const int k = D.GetOrder();
    const double Degree = k - 1;
    // Knots counted from 0 in the formulas: u[i] is Knot(i + 1).
    const double URangeStart = D.Knot(2), URangeEnd = D.Knot(n + k - 1);
    const double Span0 = D.Knot(k + 1) - URangeStart, Span1 = URangeEnd - D.Knot(n);
    const TMVector Q0 = ControlVector(*FCrossDerivative, 0), Q1 = ControlVector(*FCrossDerivative, 1);
    const TMVector QLast = ControlVector(*FCrossDerivative, n - 1), QBefore = ControlVector(*FCrossDerivative, n - 2);
    const TMVector T0 = StartTwist, T1 = EndTwist;
    const TMVector E0 = StartTwistEstimate(), E1 = EndTwistEstimate();

    const TMVector Target0 = VectorAdd(Q0, VectorScale(T0, Span0 / Degree));
    const TMVector Target1 = VectorFromTo(VectorScale(T1, Span1 / Degree), QLast);
    const double SinTheta = std::sin(Theta);
    double S0 = 0, S1 = 0;
    if (VectorAngle(Q1, Target0) > Theta)
        S0 = VectorLength(Q0) * SinTheta * Degree / (VectorLength(E0) * SinTheta + VectorDistance(T0, E0));
    if (VectorAngle(QBefore, Target1) > Theta)
        S1 = VectorLength(QLast) * SinTheta * Degree / (VectorLength(E1) * SinTheta + VectorDistance(T1, E1));
    // The new knot must fall inside the end span it shortens, and the two may not cross.
    bool RepairStart = S0 > 0 && S0 < Span0;
    bool RepairEnd = S1 > 0 && S1 < Span1;
    if (RepairStart && RepairEnd && URangeStart + S0 >= URangeEnd - S1) RepairStart = RepairEnd = false;
    std::vector<double> Knots;
    if (RepairStart) Knots.push_back(URangeStart + S0);
    if (RepairEnd) Knots.push_back(URangeEnd - S1);
    if (Knots.empty()) return;
    RefineKnots(Knots);
    const int Refined = D.Count();
    if (RepairStart) FCrossDerivative->SetPoint(1, VectorAdd(Q0, VectorScale(T0, S0 / Degree)));
    if (RepairEnd) FCrossDerivative->SetPoint(Refined - 2, VectorFromTo(VectorScale(T1, S1 / Degree), QLast));
}

void TXTPatchEdge::DrawCurve(IGraphics& G) {
    FCurve->DrawControlPolygon(G);
    for (int I = 0; I < FCurve->Count(); ++I) G.EditHandlePoint(*std::as_const(FCurve->Spline()).Point(I), 0);
    FCurve->Spline().UpdateKnots();
    FCurve->Draw(G);
}

void TXTPatchEdge::DrawRibbon(IGraphics& G, double Scale) {
    if (FRibbon->Count() <= 1) return;
    FCurve->Spline().UpdateKnots();
    FRibbon->Spline().UpdateKnots();
    TMVector Previous;
    for (int I = 0; I <= HairCount; ++I) {
        const double S = static_cast<double>(I) / HairCount;
        TMVector P, R;
        FCurve->PositionAt(AtFraction(*FCurve, S), P);
        FRibbon->PositionAt(AtFraction(*FRibbon, S), R);
        const TMVector Tip = VectorAdd(P, VectorScale(R, Scale / 2));
        G.LineVectors(P, Tip);
        if (I > 0) G.LineVectors(Previous, Tip);
        Previous = Tip;
    }
}

void TXTPatchEdge::DrawCrossDerivative(IGraphics& G) {
    if (FCrossDerivative->Count() <= 1) return;
    for (int I = 0; I <= HairCount; ++I) {
        TMVector P, D;
        PointAt(static_cast<double>(I) / HairCount, P, D);
        G.LineVectors(P, VectorAdd(P, VectorScale(D, 0.33)));
    }
}

void TXTPatchEdge::DrawNormals(IGraphics& G, double Scale) {
    if (FCrossDerivative->Count() <= 1) return;
    // Sides 0 and 3 run the other way round the patch than sides 1 and 2.
    const double Sign = FIndex == 0 || FIndex == 3 ? -1.0 : 1.0;
    TMVector Previous;
    for (int I = 0; I <= HairCount; ++I) {
        const TXTPatchEdgeDerivatives D = DerivativesAt(static_cast<double>(I) / HairCount);
        // normalise(D) x normalise(C'): VectorCross takes its operands the other way round.
        const TMVector N = VectorNormalise(VectorCross(VectorNormalise(D[1]), VectorNormalise(D[4])));
        const TMVector Tip = VectorAdd(D[0], VectorScale(N, Sign * Scale));
        G.LineVectors(D[0], Tip);
        if (I > 0) G.LineVectors(Previous, Tip);
        Previous = Tip;
    }
}

// ---- TXTPatchEdges ----

TXTPatchEdges::TXTPatchEdges() {
    for (int I = 0; I < 4; ++I) FEdges[static_cast<std::size_t>(I)] = std::make_unique<TXTPatchEdge>(this, I);
}

TXTPatchEdges::~TXTPatchEdges() = default;

void TXTPatchEdges::Assign(const TXTPatchEdges& Other) {
    for (int I = 0; I < 4; ++I) Edge(I).CopyFrom(Other.Edge(I));
}

TMBox TXTPatchEdges::GetExtents() const {
    TMBox Box = EmptyBox;
    for (int I = 0; I < 4; ++I) Box = UniteBoxes(Box, Edge(I).GetExtents());
    return Box;
}

void TXTPatchEdges::DrawCurves(IGraphics& G) {
    for (auto& E : FEdges) E->DrawCurve(G);
}

void TXTPatchEdges::DrawRibbons(IGraphics& G, double Scale) {
    for (auto& E : FEdges) E->DrawRibbon(G, Scale);
}

void TXTPatchEdges::DrawCrossDerivatives(IGraphics& G) {
    for (auto& E : FEdges) E->DrawCrossDerivative(G);
}

void TXTPatchEdges::DrawNormals(IGraphics& G, double Scale) {
    for (auto& E : FEdges) E->DrawNormals(G, Scale);
}

void TXTPatchEdges::JoinCorners() {
    for (int I = 0; I < 4; ++I) Edge(I).JoinNearestEnds(Edge((I + 1) % 4));
}

void TXTPatchEdges::MakeSidesCompatible(int A, int B) {
    TXTPatchEdge& EA = Edge(A);
    TXTPatchEdge& EB = Edge(B);
    const int K = std::max({EA.MaxOrder(), EB.MaxOrder(), 4});
    EA.MakeCompatible(K);
    EB.MakeCompatible(K);
    const std::vector<double> KA = InteriorKnots(EA.Curve().Spline());
    const std::vector<double> KB = InteriorKnots(EB.Curve().Spline());
    EA.RefineKnots(MissingKnots(KA, KB));
    EB.RefineKnots(MissingKnots(KB, KA));
}

void TXTPatchEdges::Build(const TFace& Face, const TXTSurfaceOptions& Options) {
    TXTPatchEdge& S0 = Edge(0);
    TXTPatchEdge& S1 = Edge(1);
    TXTPatchEdge& S2 = Edge(2);
    TXTPatchEdge& S3 = Edge(3);
    const int Fins = Face.FinCount();
    // The sides follow the loop from fin to fin: a broken loop is an error, not a walk into nothing.
    if (Fins >= 2 && Fins <= 4) ClosedFinLoop(Face.FirstFin(), "TXTPatchEdges.Build");
    if (Fins == 2) {
        TFin* F0 = Face.FirstFin();
        TFin* F1 = F0->NextFin;
        S0.Assign(*F0);
        S2.Assign(*F1);
        // Side 0 keeps its direction: the collapsed side 1 sits at its start and side 3 at its end,
        // each with the cross derivative running from side 0's tangent to side 2's.
        const TVertex* V = F0->GetVertex();
        const TVertex* W = F1->GetVertex();
        if (VectorDistance(S0.StartPoint(), W->Position) < VectorDistance(S0.StartPoint(), V->Position))
            std::swap(V, W);
        S1.Assign(*V, F0, F1);
        S3.Assign(*W, F0, F1);
        if (VectorsEqual(S2.StartPoint(), S0.EndPoint())) S2.Reverse();
    } else if (Fins == 3) {
        // The corner where the sides meet at the smallest angle collapses.
        TFin* F = nullptr;
        double Smallest = 1e33;
        for (int I = 0; I < 3; ++I) {
            TFin* Candidate = Face.Fins()[static_cast<std::size_t>(I)];
            TFin* Next = Candidate->NextFin;
            if (Next == nullptr || Next->OtherFin() == nullptr) continue;
            const double Angle = std::fabs(VectorAngle(Candidate->Direction(), Next->OtherFin()->Direction()));
            if (Angle < Smallest) {
                Smallest = Angle;
                F = Candidate;
            }
        }
        if (F == nullptr) F = Face.FirstFin();
        TFin* G = F->NextFin;
        TFin* H = G->NextFin;
        const TVertex& V = *F->GetVertex();
        S0.Assign(*F);
        S1.Assign(V, F, G);
        S2.Assign(*G);
        S3.Assign(*H);
        JoinCorners();
        if (VectorsEqual(S0.EndPoint(), V.Position)) S0.Reverse();
        if (VectorsEqual(S2.EndPoint(), V.Position)) S2.Reverse();
        if (VectorsEqual(S3.EndPoint(), S0.EndPoint())) S3.Reverse();
    } else if (Fins == 4) {
        TFin* F = Face.FirstFin();
        for (int I = 0; I < 4; ++I, F = F->NextFin) Edge(I).Assign(*F);
        JoinCorners();
        if (VectorsEqual(S0.EndPoint(), S1.StartPoint()) || VectorsEqual(S0.EndPoint(), S1.EndPoint())) S0.Reverse();
        if (VectorsEqual(S1.EndPoint(), S0.StartPoint())) S1.Reverse();
        if (VectorsEqual(S2.EndPoint(), S1.EndPoint())) S2.Reverse();
        if (VectorsEqual(S3.StartPoint(), S2.EndPoint())) S3.Reverse();
    }

    for (int I = 0; I < 4; ++I) Edge(I).Curve().NormaliseKnots();

    TMVector Start[4], End[4];
    for (int I = 0; I < 4; ++I) {
        Start[I] = TangentAt(Edge(I).Curve(), false);
        End[I] = TangentAt(Edge(I).Curve(), true);
    }
    // A collapsed side keeps the straight cross derivative it was made with.
    if (!S0.Collapsed) S0.GenerateCrossDerivative(Start[1], Start[3]);
    if (!S2.Collapsed) S2.GenerateCrossDerivative(VectorNegate(End[1]), VectorNegate(End[3]));
    if (!S1.Collapsed) S1.GenerateCrossDerivative(Start[0], Start[2]);
    if (!S3.Collapsed) S3.GenerateCrossDerivative(VectorNegate(End[0]), VectorNegate(End[2]));

    for (int I = 0; I < 4; ++I) Edge(I).StartTwist = Edge(I).EndTwist = ZeroVector;
    if (!Options.ForceTwistCompatibility) return;
    const TMVector D0s = S0.StartTwistEstimate(), D0e = S0.EndTwistEstimate();
    const TMVector D1s = S1.StartTwistEstimate(), D1e = S1.EndTwistEstimate();
    const TMVector D2s = S2.StartTwistEstimate(), D2e = S2.EndTwistEstimate();
    const TMVector D3s = S3.StartTwistEstimate(), D3e = S3.EndTwistEstimate();
    const TMVector T00 = VectorScale(VectorAdd(D0s, D1s), 0.5);
    const TMVector T01 = VectorScale(VectorFromTo(D2s, D1e), 0.5);
    const TMVector T10 = VectorScale(VectorFromTo(D3s, D0e), 0.5);
    const TMVector T11 = VectorScale(VectorAdd(D2e, D3e), 0.5);
    S0.StartTwist = S1.StartTwist = T00;
    S1.EndTwist = T01;
    S2.StartTwist = VectorNegate(T01);
    S0.EndTwist = T10;
    S3.StartTwist = VectorNegate(T10);
    S2.EndTwist = S3.EndTwist = T11;
    for (int I = 0; I < 4; ++I) Edge(I).EnforceTwistCompatibility(Options);
}

}  // namespace sarnova
