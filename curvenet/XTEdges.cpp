#include "curvenet/XTEdges.h"

#include <utility>

#include "curvenet/XTCurve.h"
#include "foundation/Graphics.h"
#include "foundation/Errors.h"
#include "foundation/VkMaths.h"

namespace sarnova {

namespace {

constexpr int HairCount = 100;

// The parameter at fraction F of the spline's range.
double AtFraction(const TXTBSpline& S, double F) { return S.MinT() + (S.MaxT() - S.MinT()) * F; }

// Draws a hair from the edge at each of the 101 samples to Tip(point, derivative, ribbon vector),
// the tips joined.
template <typename TTip>
void DrawHairs(IGraphics& Graphics, TXTBSpline& Edge, TXTBSpline& Ribbon, TTip Tip) {
    if (Ribbon.Count() <= 1 || Edge.Count() <= 1) return;
    TMVector Previous;
    for (int I = 0; I <= HairCount; ++I) {
        const double F = static_cast<double>(I) / HairCount;
        TCurveDerivatives D;
        Edge.Derivatives(AtFraction(Edge, F), D);
        TMVector R;
        Ribbon.PositionAt(AtFraction(Ribbon, F), R);
        const TMVector T = Tip(D[0], D[1], R);
        Graphics.LineVectors(D[0], T);
        if (I > 0) Graphics.LineVectors(Previous, T);
        Previous = T;
    }
}

}  // namespace

// ---- TXTFin ----

TXTFin::TXTFin(TManifold* AManifold, TEdge* AEdge) : TFin(AManifold, AEdge), FRibbon(std::make_unique<TXTBSpline>()) {}

TXTFin::~TXTFin() = default;

std::unique_ptr<TXTBSpline> TXTFin::TakeRibbon() {
    auto Taken = std::move(FRibbon);
    FRibbon = std::make_unique<TXTBSpline>();
    return Taken;
}

TXTEdge* TXTFin::XTEdge() const { return dynamic_cast<TXTEdge*>(GetEdge()); }

TMVector TXTFin::EdgeTangent() const {
    TMVector T;
    const TXTEdge* E = XTEdge();
    if (E == nullptr) return T;
    if (E->Fin1() == this)
        E->EndTangent(0, T);
    else if (E->Fin2() == this)
        E->EndTangent(1, T);
    return T;
}

void TXTFin::Assign(const TFin& Source) {
    TFin::Assign(Source);
    if (const auto* S = dynamic_cast<const TXTFin*>(&Source)) FRibbon->Assign(*S->FRibbon);
}

void TXTFin::DrawRibbon(IGraphics& Graphics, double Scale) {
    TXTEdge* E = XTEdge();
    if (E == nullptr) return;
    DrawHairs(Graphics, E->GetSpline(), *FRibbon,
              [&](const TMVector& P, const TMVector&, const TMVector& R) { return VectorAdd(P, VectorScale(R, Scale / 2)); });
}

void TXTFin::DrawNormals(IGraphics& Graphics, double Scale) {
    TXTEdge* E = XTEdge();
    if (E == nullptr) return;
    // The first fin's normals are turned so that both sides point to their own face.
    const double Sign = E->Fin1() == this ? -1.0 : 1.0;
    DrawHairs(Graphics, E->GetSpline(), *FRibbon, [&](const TMVector& P, const TMVector& D, const TMVector& R) {
        const TMVector N = VectorNormalise(VectorCross(VectorNormalise(D), VectorNormalise(R)));
        return VectorAdd(P, VectorScale(N, Sign * Scale));
    });
}

// ---- TXTEdge ----

TXTEdge::~TXTEdge() = default;

TXTBSpline& TXTEdge::GetSpline() const {
    if (FSpline == nullptr) {
        if (Curve == nullptr) {
            FSpline = std::make_unique<TXTBSpline>();
        } else {
            auto Piece = Curve->SubCurve(StartAddress, EndAddress);
            if (ForceBezier && Piece->Count() > 4) Piece = Piece->ToBezier();
            FSpline = std::move(Piece);
        }
    }
    return *FSpline;
}

void TXTEdge::InvalidateSpline() {
    FSpline.reset();
    GetSpline();
}

void TXTEdge::EndTangent(int EndIndex, TMVector& Tangent) const {
    if (EndIndex != 0 && EndIndex != 1) return;
    if (FSpline != nullptr && FSpline->Count() > 1) {
        if (EndIndex == 0) {
            FSpline->StartDerivative(Tangent);
        } else {
            FSpline->EndDerivative(Tangent);
            Tangent = VectorNegate(Tangent);
        }
        return;
    }
    if (Fin1() == nullptr || Fin2() == nullptr) return;
    const TMVector Chord = VectorFromTo(Fin1()->Position(), Fin2()->Position());
    Tangent = EndIndex == 0 ? Chord : VectorNegate(Chord);
}

void TXTEdge::Direction(int EndIndex, TMVector& Dir) const {
    if (EndIndex != 0 && EndIndex != 1) return;
    TFrenetFrame Frame;
    if (Curve != nullptr && ForceBezier) {
        TXTBSpline& S = GetSpline();
        S.Frenet(EndIndex == 0 ? S.MinT() : S.MaxT(), Frame);
        Dir = EndIndex == 0 ? Frame.Tangent : VectorNegate(Frame.Tangent);
    } else if (Curve != nullptr) {
        Curve->Frenet(EndIndex == 0 ? StartAddress : EndAddress, Frame);
        Dir = EndIndex == 0 ? Frame.Tangent : VectorNegate(Frame.Tangent);
    } else if (const TXTBSpline& S = GetSpline(); S.Count() >= 2) {
        TMVector A, B;
        if (EndIndex == 0) {
            S.PointAt(0, A);
            S.PointAt(1, B);
        } else {
            S.PointAt(S.Count() - 1, A);
            S.PointAt(S.Count() - 2, B);
        }
        Dir = VectorNormalise(VectorFromTo(A, B));
    } else {
        TEdge::Direction(EndIndex, Dir);
    }
}

TXTEdge* TXTEdge::NextOnCurveAt(const TVertex* V) const {
    if (Curve == nullptr || V == nullptr) return nullptr;
    for (int I = 0; I < V->EdgeCount(); ++I) {
        auto* E = dynamic_cast<TXTEdge*>(V->Edge(I));
        if (E != nullptr && E != this && E->Curve == Curve) return E;
    }
    return nullptr;
}

TXTEdge* TXTEdge::NextOnCurveAtStart() const { return Fin1() ? NextOnCurveAt(Fin1()->GetVertex()) : nullptr; }
TXTEdge* TXTEdge::NextOnCurveAtEnd() const { return Fin2() ? NextOnCurveAt(Fin2()->GetVertex()) : nullptr; }

void TXTEdge::HandOverEnd(const TEdgeSplit& Split, const TBeadAddress& A) {
    if (auto* N = dynamic_cast<TXTEdge*>(Split.NewEdge)) {
        N->Curve = Curve;
        N->EndAddress = EndAddress;
        N->ForceBezier = ForceBezier;
        N->StartAddress = A;
    }
    EndAddress = A;
}

double TXTEdge::SplitRatio(const TMVector& P) const {
    TXTBSpline& S = GetSpline();
    const double Range = S.MaxT() - S.MinT();
    if (S.Count() < 2 || !(Range > 0)) return 0.5;
    double T = S.MinT();
    S.Spline().ClosestPoint(P, T);
    return (T - S.MinT()) / Range;
}

void TXTEdge::SplitRibbons(const TEdgeSplit& Split, double Ratio) {
    auto* N = dynamic_cast<TXTEdge*>(Split.NewEdge);
    if (N == nullptr) return;
    const std::pair<TXTFin*, TXTFin*> Sides[] = {{XTFin1(), N->XTFin1()}, {XTFin2(), N->XTFin2()}};
    for (auto [Mine, Theirs] : Sides) {
        if (Mine == nullptr || Theirs == nullptr || Mine->Ribbon().Count() <= 1) continue;
        std::unique_ptr<TXTBSpline> First, Second;
        Mine->Ribbon().Split(AtFraction(Mine->Ribbon(), Ratio), First, Second);
        Mine->SetRibbon(std::move(First));
        Theirs->SetRibbon(std::move(Second));
    }
}

void TXTEdge::SubDivide(const TMVector& Point, TEdgeSplit& Split) {
    if (Curve == nullptr) throw EGeometryError("TXTEdge.SubDivide - Edge does not lie on a curve");
    TBeadAddress A;
    Curve->NearestAddress(Point, A);
    SubDivideAtBead(A, Split);
}

void TXTEdge::SubDivideAtBead(const TBeadAddress& Address, TEdgeSplit& Split) {
    if (ForceBezier) throw EGeometryError("TXTEdge.SubDivide(Bead) - Attempting to subdivide a bezier edge with a bead");
    if (Curve == nullptr) throw EGeometryError("TXTEdge.SubDivide - Edge does not lie on a curve");
    TMVector P;
    Curve->F(Address, P);
    const double Ratio = SplitRatio(P);
    TEdge::SubDivide(P, Split);
    HandOverEnd(Split, Address);
    InvalidateSpline();
    if (auto* N = dynamic_cast<TXTEdge*>(Split.NewEdge)) N->InvalidateSpline();
    SplitRibbons(Split, Ratio);
}

void TXTEdge::SubDivideAtT(TEdgeSplit& Split, double T) {
    if (!ForceBezier) throw EGeometryError("TXTEdge.SubDivide(T) - Attempting to subdivide a non bezier edge with T");
    auto Copy = GetSpline().Clone();
    TMVector P;
    Copy->PositionAt(T, P);
    TBeadAddress A = InvalidBeadAddress;
    if (Curve != nullptr) Curve->NearestAddress(P, A);
    const double Range = Copy->MaxT() - Copy->MinT();
    const double Ratio = Range > 0 ? (T - Copy->MinT()) / Range : 0.5;
    std::unique_ptr<TXTBSpline> First, Second;
    Copy->Split(T, First, Second);  // before any change, so a bad T leaves the edge as it was
    TEdge::SubDivide(P, Split);
    HandOverEnd(Split, A);
    // Exact pieces of the Bezier, not pieces of the curve.
    FSpline = std::move(First);
    if (auto* N = dynamic_cast<TXTEdge*>(Split.NewEdge)) N->FSpline = std::move(Second);
    SplitRibbons(Split, Ratio);
}

void TXTEdge::JoinToNext(TFin* Fin) {
    TFin* Following = Fin != nullptr ? Fin->NextFin : nullptr;
    auto* Next = Following != nullptr ? dynamic_cast<TXTEdge*>(Following->GetEdge()) : nullptr;
    if (Next == nullptr || Next->Curve != Curve)
        throw EGeometryError("TXTEdge.JoinToNext - Can only join to an edge on the same curve");
    const bool AtStart = Fin == Fin1();
    const TBeadAddress Far = Following == Next->Fin1() ? Next->StartAddress : Next->EndAddress;

    // The ribbons are taken before the manifold merges the edges, and joined once the merged
    // edge's spline shows where the removed vertex lies along it.
    std::unique_ptr<TXTBSpline> Mine[2], Theirs[2];
    const std::pair<TFin*, TFin*> Sides[] = {{Fin, Following}, {Fin->OtherFin(), Following->OtherFin()}};
    for (int S = 0; S < 2; ++S) {
        auto* M = dynamic_cast<TXTFin*>(Sides[S].first);
        auto* T = dynamic_cast<TXTFin*>(Sides[S].second);
        if (M == nullptr || T == nullptr || M->Ribbon().Count() < 2 || T->Ribbon().Count() < 2) continue;
        Mine[S] = M->Ribbon().Clone();
        Theirs[S] = T->Ribbon().Clone();
    }
    const TMVector Joint = Fin->Position();
    const double LengthBefore = AtStart ? Next->Length() : Length();
    const double LengthAll = Length() + Next->Length();
    TXTFin* Keep[2] = {dynamic_cast<TXTFin*>(Fin), dynamic_cast<TXTFin*>(Fin->OtherFin())};
    TEdge::JoinToNext(Fin);
    (AtStart ? StartAddress : EndAddress) = Far;
    // A spline already built would still cover the old piece only.
    InvalidateSpline();
    // Each ribbon runs with its own piece of the merged spline: the pieces meet where the removed
    // vertex lies in the merged spline's parameter, not where it lies along the chords.
    double F = SplitRatio(Joint);
    if (!(F > 0 && F < 1)) F = LengthAll > 0 ? LengthBefore / LengthAll : 0.5;
    for (int S = 0; S < 2; ++S) {
        if (Keep[S] == nullptr) continue;
        if (Mine[S] == nullptr) {
            Keep[S]->Ribbon().Clear();
            continue;
        }
        // Along the merged edge the next edge's piece comes first when the start vertex goes.
        TXTBSpline& Before = AtStart ? *Theirs[S] : *Mine[S];
        TXTBSpline& After = AtStart ? *Mine[S] : *Theirs[S];
        Before.Reparameterise(0, F);
        After.Reparameterise(F, 1);
        const auto Joined = TXTBSpline::Join(Before, After);
        Joined->NormaliseKnots();
        Keep[S]->Ribbon().Assign(*Joined);
    }
}

void TXTEdge::Reverse() {
    TEdge::Reverse();
    if (XTFin1() != nullptr && XTFin2() != nullptr) {
        auto R1 = XTFin1()->TakeRibbon();
        XTFin1()->SetRibbon(XTFin2()->TakeRibbon());
        XTFin2()->SetRibbon(std::move(R1));
    }
}

void TXTEdge::Assign(const TEdge& Source) {
    TEdge::Assign(Source);
    const auto* S = dynamic_cast<const TXTEdge*>(&Source);
    if (S == nullptr) return;
    ForceBezier = S->ForceBezier;
    Curve = S->Curve;
    StartAddress = S->StartAddress;
    EndAddress = S->EndAddress;
    FSpline = S->FSpline != nullptr ? S->FSpline->Clone() : nullptr;
}

void TXTEdge::Draw(IGraphics& Graphics) {
    GetSpline().Draw(Graphics);
    DrawFins(Graphics);
}

void TXTEdge::DrawWithOptions(IGraphics& Graphics, std::uint16_t Options, double Scale) {
    if (Options & 0x02) GetSpline().Draw(Graphics);
    if (Options & 0x04) DrawFinDirections(Graphics);
    if (Options & 0x10)
        for (TXTFin* F : {XTFin1(), XTFin2()})
            if (F != nullptr) F->DrawRibbon(Graphics, Scale);
    if (Options & 0x20)
        for (TXTFin* F : {XTFin1(), XTFin2()})
            if (F != nullptr) F->DrawNormals(Graphics, Scale);
}

void UseXTEdgeFactories(TManifold& Manifold) {
    Manifold.EdgeFactory = [](TManifold* M) { return std::make_unique<TXTEdge>(M); };
    Manifold.FinFactory = [](TManifold* M, TEdge* E) { return std::make_unique<TXTFin>(M, E); };
}

}  // namespace sarnova
