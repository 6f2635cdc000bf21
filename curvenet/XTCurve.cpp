#include "curvenet/XTCurve.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "curvenet/XTReferencePoints.h"
#include "document/Settings.h"
#include "foundation/Curvature.h"
#include "foundation/Graphics.h"
#include "foundation/TextUtils.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/TextFile.h"

namespace sarnova {

namespace {

// An address this close to the end of its span is the start of the next one.
constexpr double AddressEndTolerance = 1e-8;

}  // namespace

std::string CurveOptionsToText(std::uint8_t Options) {
    std::string Text;
    if (Options & coFitChordLength) Text += "coFitChordLength,";
    if (Options & coSurfaceBoundary) Text += "coSurfaceBoundary,";
    if (!Text.empty()) Text.pop_back();
    return "[" + Text + "]";
}

std::string RibbonKindToText(std::uint8_t Kind) {
    static const char* const Names[] = {"None", "Knuckle", "X", "Y", "Z", "NormalToCurve", "TangentialToCurve"};
    return Kind <= rkTangentialToCurve ? Names[Kind] : Names[0];
}

TXTCurve::TXTCurve() : FConstraints(this), FSegments(this) {}

TXTCurve::~TXTCurve() {
    NotifyDestroying();
    FConstraints.Clear();
    FSegments.Clear();
}

void TXTCurve::SetOptions(std::uint8_t Options) {
    if (Options == FOptions) return;
    FOptions = Options;
    MarkDirty(dlSpans);
}

void TXTCurve::MarkDirty(std::uint8_t Level) {
    if (FDirtyLevel < Level) FDirtyLevel = Level;
    if (Level >= dlSpans) FAssigned = false;
    TXTNode::Changed();
}

std::uint8_t TXTCurve::ElasticMode() const { return ElasticDisabled ? 0 : GElasticMode; }

void TXTCurve::HandleMessage(TXTMessage& Message) { FConstraints.HandleMessage(Message); }

void TXTCurve::Regenerate() {
    // Evaluations made while the curve rebuilds see it as it stands.
    if (FRebuilding) return;
    TXTNode::Regenerate();
    Rebuild();
}

void TXTCurve::Changed() { MarkDirty(dlGeometry); }

void TXTCurve::EnsureRegenerated() {
    if (!IsUpToDate()) Regenerate();
}

void TXTCurve::Draw(IGraphics& G) {
    EnsureRegenerated();
    Polyline().Draw(G);
}

void TXTCurve::ResolveReferences() {
    Points().ResolveReferences();
    FConstraints.ResolveReferences();
}

void TXTCurve::CheckReferences() {
    Points().CheckReferences();
    FConstraints.CheckReferences();
}

void TXTCurve::ValidateReferences() {
    Points().ValidateReferences();
    FConstraints.ValidateReferences();
}

void TXTCurve::SetRibbonKind(std::uint8_t Kind) {
    if (Kind == GetRibbonKind()) return;
    TXTCurveRepresentation::SetRibbonKind(Kind);
    MarkDirty(dlSpans);
    TXTRibbonTangentChangeMessage Message;
    SendMessage(Message);
}

void TXTCurve::PointInserted(int Index, TXTPoint* Point) {
    TXTCurveRepresentation::PointInserted(Index, Point);
    MarkDirty(dlSpans);
}

void TXTCurve::PointRemoved(int Index, TXTPoint* Point) {
    TXTCurveRepresentation::PointRemoved(Index, Point);
    MarkDirty(dlSpans);
}

void TXTCurve::DetachPoint(int Index) {
    TXTCurveRepresentation::DetachPoint(Index);
    MarkDirty(dlSpans);
}

void TXTCurve::ReversePoints() {
    Points().Reverse();
    // The snapshot turns with the points: a reversal moves none of them, so nothing may follow
    // elastically.
    Snapshot().Reverse();
    Changed();
    TXTReversePointsMessage Message;
    SendMessage(Message);
    MarkDirty(dlSpans);
}

void TXTCurve::Assign(const TXTCurve& Other) {
    if (&Other == this) return;
    TXTCurveRepresentation::Assign(Other);
    FConstraints.Assign(Other.FConstraints);
    TXTCurveRepresentation::SetRibbonKind(Other.GetRibbonKind());
    FOptions = Other.FOptions;
    MarkDirty(dlSpans);
    FAssigned = true;
}

void TXTCurve::Transform(const TMMatrix& M) { Points().Transform(M); }

void TXTCurve::ApplySnap(const TXTSnapTarget& Snap) {
    const int Index = Points().IndexOf(Snap.Point);
    if (Index < 0) return;
    if (Snap.Kind == skDetach) {
        DetachPoint(Index);
        PointAt(Index)->SetPosition(Snap.WorldPosition);
    } else if (Snap.Kind == skCurve || Snap.Kind == skVertex) {
        // A point cannot rest on its own curve, nor on one that rests on it.
        if (!Snap.Curve || HasDependent(Snap.Curve)) return;
        std::unique_ptr<TXTReferencePoint> New;
        if (Snap.Kind == skCurve) {
            New = std::make_unique<TXTBead>(this);
        } else {
            auto Vertex = std::make_unique<TXTPointIndexReference>(this);
            Vertex->SetVertexIndex(Snap.VertexIndex);
            New = std::move(Vertex);
        }
        New->SetPosition(Snap.WorldPosition);  // no host yet: stored as it is
        New->SetTargetNode(Snap.Curve);
        if (Snap.Kind == skCurve) New->SetBeadAddress(Snap.Address);
        TXTReferencePoint* Point = New.get();
        std::unique_ptr<TXTCurveElement> Old = Points().Replace(PointAt(Index), std::move(New));
        Old.reset();
        Point->Update();
    } else {
        return;
    }
    MarkDirty(dlSpans);
}

// ---- The text block ----

namespace {

// The text after the first "=", at most 255 characters; the whole line without one.
std::string ValueOf(const std::string& Line) {
    const std::size_t Eq = Line.find('=');
    return (Eq == std::string::npos ? Line : Line.substr(Eq + 1)).substr(0, 255);
}

std::uint8_t RibbonKindFromLine(const std::string& Line) {
    const std::string Upper = UpperCase(Line);
    static const char* const Keys[] = {"NONE", "KNUCKLE", "X", "Y", "Z", "NORMALTOCURVE", "TANGENTIALTOCURVE"};
    for (std::uint8_t K = 0; K <= rkTangentialToCurve; ++K)
        if (Upper.find(Keys[K]) != std::string::npos) return K;
    return rkNone;
}

}  // namespace

void TXTCurve::SaveToText(TTextWriter& F) {
    F.WriteLine("Name=" + GetName());
    F.WriteLine("CurveOptions=" + CurveOptionsToText(FOptions));
    F.WriteLine("TangentRibbon=" + RibbonKindToText(GetRibbonKind()));
    FConstraints.SaveToText(F);
    F.WriteLine("NumPoints=" + IntToStr(PointCount()));
    for (int I = 0; I < PointCount(); ++I) {
        TXTPoint* P = PointAt(I);
        const TMVector V = P->GetPosition();
        std::string Line = FormatWithPoint("%0.6f %0.6f %0.6f", {V.X, V.Y, V.Z});
        if (P->IsReferencePoint()) Line += " (" + static_cast<TXTReferencePoint*>(P)->GetReferenceText() + ")";
        F.WriteLine(Line);
    }
}

void TXTCurve::LoadFromText(TTextReader& F) {
    SetName(ValueOf(F.ReadLine()));
    std::string Line = F.ReadLine();
    if (UpperCase(Line).find("CURVEOPTIONS") != std::string::npos) {
        FOptions = 0;
        if (Line.find("coFitChordLength") != std::string::npos) FOptions |= coFitChordLength;
        if (Line.find("coSurfaceBoundary") != std::string::npos) FOptions |= coSurfaceBoundary;
        Line = F.ReadLine();
    }
    if (UpperCase(Line).find("TANGENTRIBBON") == std::string::npos)
        throw EError("old format curve file: Ribbon Tangent into not present");
    TXTCurveRepresentation::SetRibbonKind(RibbonKindFromLine(Line));
    FConstraints.LoadFromText(F);
    const int N = StrToInt(ValueOf(F.ReadLine()));
    for (int I = 0; I < N; ++I) {
        Line = F.ReadLine();
        // Three numbers, then what rests on another curve in brackets.
        std::string_view Rest = Line;
        double XYZ[3];
        for (double& C : XYZ) {
            Rest = TrimmedView(Rest);
            const std::size_t End = std::min(Rest.find_first_of(" \t"), Rest.size());
            C = ParseFloat(Rest.substr(0, End));
            Rest.remove_prefix(End);
        }
        const std::string Tail = Trim(Rest);
        std::unique_ptr<TXTPoint> P;
        std::string Text;
        if (Tail.empty()) {
            P = std::make_unique<TXTPoint>();
        } else {
            // To the last ")": a curve name may hold brackets of its own.
            const std::size_t Open = Tail.find('(');
            const std::size_t Close = Tail.rfind(')');
            Text = Open == std::string::npos ? Tail
                                             : Tail.substr(Open + 1, Close == std::string::npos || Close < Open
                                                                         ? std::string::npos
                                                                         : Close - Open - 1);
            if (Text.find("Bead") != std::string::npos)
                P = std::make_unique<TXTBead>(this);
            else if (Text.find("Vertex") != std::string::npos)
                P = std::make_unique<TXTPointIndexReference>(this);
            else
                throw EError("Unhandled reference point (" + Text + ")");
        }
        P->SetPosition({XYZ[0], XYZ[1], XYZ[2]});  // no host yet: stored as it is
        if (!Text.empty()) static_cast<TXTReferencePoint*>(P.get())->ReadReferenceText(Text);
        Points().Add(std::move(P));
    }
    TakeSnapshot();
    MarkDirty(dlSpans);
}

// ---- Rebuilding ----

void TXTCurve::Rebuild() {
    if (FDirtyLevel == dlUpToDate || FRebuilding) return;
    FRebuilding = true;
    try {
        ClearInfoMessages(nullptr);
        FConstraints.ApplyToPositions();
        Points().UpdateAll();
        ElasticAdjust();
        TangentPass();
        FSegments.FitChordLength = (FOptions & coFitChordLength) != 0;
        const bool Respan = FDirtyLevel >= dlSpans;
        if (Respan) FSegments.Build();
        Polyline().Clear();
        FSegments.Digitise(Polyline());
        FDirtyLevel = dlUpToDate;
        const bool Assigned = FAssigned;
        FAssigned = false;
        if (Respan && !Assigned) {
            TXTCurveReparameterisationMessage Message;
            SendMessage(Message);
        }
        TakeSnapshot();
    } catch (...) {
        FRebuilding = false;
        throw;
    }
    FRebuilding = false;
    if (OnRegenerated) OnRegenerated(this);
}

void TXTCurve::ElasticAdjust() {
    const int N = PointCount();
    const TXTPoints& Snap = Snapshot();
    if (Snap.Count() != N) return;
    std::vector<bool> Moved(static_cast<std::size_t>(N));
    int MovedCount = 0;
    bool Plain = false;
    for (int I = 0; I < N; ++I) {
        Moved[I] = HasPointMoved(I);
        if (!Moved[I]) continue;
        ++MovedCount;
        const TXTPoint* P = PointAt(I);
        if (!P->IsReferencePoint() || P->Selected) Plain = true;
    }
    const int Kind = MovedCount == 0 ? 0 : (MovedCount == 1 && !Plain) ? 1 : 2;
    if (Kind == 0 || Kind > ElasticMode()) return;

    auto IsAnchor = [&](int I) { return PointAt(I)->State > psInterpolated || PointAt(I)->IsReferencePoint() || Moved[I]; };
    auto Snapped = [&](int I) { return Snap.Items(I)->GetPosition(); };
    int Start = 0;
    while (Start < N - 1) {
        // The chord lengths of the snapshot up to each point after Start, until the next anchor.
        std::vector<double> Along{0.0};
        int End = Start + 1;
        for (;; ++End) {
            Along.push_back(Along.back() + VectorDistance(Snapped(End), Snapped(End - 1)));
            if (End == N - 1 || IsAnchor(End)) break;
        }
        const double L = Along.back();
        if (L > 0) {
            const TMVector D0 = VectorFromTo(Snapped(Start), PointAt(Start)->GetPosition());
            const TMVector D1 = VectorFromTo(Snapped(End), PointAt(End)->GetPosition());
            for (int J = Start + 1; J < End; ++J) {
                const double U = Along[static_cast<std::size_t>(J - Start)] / L;
                const double E = 2 * U * U * U - 3 * U * U + 1;
                TXTPoint* P = PointAt(J);
                P->SetPosition(VectorAdd(P->GetPosition(), VectorAdd(VectorScale(D0, E), VectorScale(D1, 1 - E))));
            }
        }
        Start = End;
    }
}

void TXTCurve::TangentPass() {
    Points().ResetConstraintStates();
    FConstraints.ApplyToTangents();
    const int N = PointCount();
    for (int I = 1; I < N - 1; ++I) {
        TXTPoint* P = PointAt(I);
        if (P->State != psInterpolated || !IsBreakPoint(I)) continue;
        const bool PrevFree = PointAt(I - 1)->State == psFree;
        const bool NextFree = PointAt(I + 1)->State == psFree;
        const TMVector Prev = PointAt(I - 1)->GetPosition();
        const TMVector Here = P->GetPosition();
        const TMVector Next = PointAt(I + 1)->GetPosition();
        P->State = psBreak;
        if (PrevFree && NextFree) {
            P->InTangent.SetKind(tkVector);
            P->OutTangent.SetKind(tkVector);
            P->OutTangent.SetVector(VectorScale(VectorFromTo(Prev, Next), 0.25));
        } else if (NextFree) {
            P->InTangent.SetKind(tkDirection);
            P->InTangent.SetVector(VectorNormalise(VectorFromTo(Next, Here)));
        } else {
            P->OutTangent.SetKind(tkDirection);
            P->OutTangent.SetVector(VectorNormalise(VectorFromTo(Prev, Here)));
        }
    }
    Points().ApplyRibbonTangents();
}

// ---- Addresses ----

void TXTCurve::NormaliseAddress(TBeadAddress& Address) {
    if (Address.SegmentIndex < 0 || Address.SegmentIndex >= FSegments.Count()) return;
    if (std::abs(Address.T - FSegments.Items(Address.SegmentIndex)->MaxT()) < AddressEndTolerance)
        Address = MakeBeadAddress(Address.SegmentIndex + 1, 0.0);
}

bool TXTCurve::AddressInRange(const TBeadAddress& Address) const {
    if (Address.SegmentIndex < 0 || Address.SegmentIndex >= FSegments.Count()) return false;
    const TXTSegment* S = FSegments.Items(Address.SegmentIndex);
    return S->MinT() <= Address.T && Address.T <= S->MaxT();
}

void TXTCurve::AddressOfPoint(int Index, TBeadAddress& Address) {
    // Stale spans may still hold points that were deleted since.
    EnsureRegenerated();
    Address = InvalidBeadAddress;
    if (Index < 0 || Index >= PointCount()) return;
    const TXTPoint* Point = PointAt(Index);
    for (int S = 0; S < FSegments.Count(); ++S) {
        TXTSegment* Span = FSegments.Items(S);
        const int First = Span->First()->Index();
        const int Last = Span->Last()->Index();
        if (Index < First || Index > Last) continue;
        double T;
        if (auto* Cubic = dynamic_cast<TXTCSplineSegment*>(Span)) {
            TBSpline& B = Cubic->Spline().Spline();
            B.UpdateKnots();
            T = B.Knot(B.GetOrder() + Index - First);
        } else if (Index == First) {
            T = Span->MinT();
        } else if (Index == Last) {
            T = Span->MaxT();
        } else {
            Span->Spline().Spline().ClosestPoint(Point->GetPosition(), T);
        }
        Address = MakeBeadAddress(S, T);
        return;
    }
}

void TXTCurve::CheckAddress(const TBeadAddress& Address, const char* Where) {
    if (!FSegments.SpanOfAddress(Address) || (Address.SegmentIndex == FSegments.Count() && Address.T != 0.0))
        throw EError(Format(std::string("TXTCurve.") + Where + "(ABeadAddress) - SegmentIndex out of bounds [%s;%d:%f]",
                            {GetName(), Address.SegmentIndex, Address.T}));
}

void TXTCurve::F(const TBeadAddress& Address, TMVector& Position) {
    EnsureRegenerated();
    CheckAddress(Address, "F");
    TXTSegment* S = FSegments.SpanOfAddress(Address);
    S->PositionAt(Address.SegmentIndex == FSegments.Count() ? S->MaxT() : Address.T, Position);
}

void TXTCurve::Frenet(const TBeadAddress& Address, TFrenetFrame& Frame) {
    EnsureRegenerated();
    CheckAddress(Address, "Frenet");
    TXTSegment* S = FSegments.SpanOfAddress(Address);
    S->Frenet(Address.SegmentIndex == FSegments.Count() ? S->MaxT() : Address.T, Frame);
}

void TXTCurve::RibbonAt(const TBeadAddress& Address, TXTRibbonTangent& Ribbon) {
    Ribbon.Kind = GetRibbonKind();
    Ribbon.Plane = NullPlane;
    if (Ribbon.Kind >= rkX && Ribbon.Kind <= rkTangentialToCurve) FConstraints.SurfaceTangentPlane(Address, Ribbon);
}

// ---- Drawing and joining ----

void TXTCurve::DrawSegments(IGraphics& G) { FSegments.DrawControlPolygons(G); }

void TXTCurve::DrawRibbon(IGraphics& G, double S) {
    if (GetRibbonKind() < rkX || GetRibbonKind() > rkTangentialToCurve) return;
    EnsureRegenerated();
    for (int I = 0; I < FSegments.Count(); ++I) {
        TXTSegment* Span = FSegments.Items(I);
        const int N = 10 * Span->Spline().Count();
        const double Min = Span->MinT(), Max = Span->MaxT();
        for (int J = 0; J < N; ++J) {
            TXTRibbonTangent R;
            FConstraints.SurfaceTangentPlane(MakeBeadAddress(I, Min + (Max - Min) * J / N), R);
            // VectorCross(A, B) is B x A: this is T x N.
            const TMVector D = VectorNormalise(VectorCross(R.Plane.Normal, R.Frame.Tangent));
            G.LineVectors(VectorAdd(R.Frame.Point, VectorScale(D, -S)), VectorAdd(R.Frame.Point, VectorScale(D, S)));
        }
    }
}

void TXTCurve::ToBSpline(TBSpline& Result) {
    EnsureRegenerated();
    TXTBSpline Joined;
    FSegments.JoinInto(Joined);
    Result.Assign(Joined.Spline());
}

void TXTCurve::AddToCurveAnalysis(TCurveAnalysis& Analysis) {
    TBSpline Joined;
    ToBSpline(Joined);
    Analysis.Analyse(Joined);
}

std::unique_ptr<TXTBSpline> TXTCurve::SubCurve(const TBeadAddress& From, const TBeadAddress& To) {
    EnsureRegenerated();
    CheckAddress(From, "SubCurve");
    CheckAddress(To, "SubCurve");
    // The far end is the end of the last span.
    auto Resolve = [&](const TBeadAddress& A) {
        return A.SegmentIndex == FSegments.Count() ? MakeBeadAddress(A.SegmentIndex - 1, FSegments.Last()->MaxT()) : A;
    };
    TBeadAddress A = Resolve(From), B = Resolve(To);
    // An end a rounding error from its span's far end starts (or ends) at the neighbouring span:
    // a sliver piece of almost no knot span would fold the patches on it.
    const auto Near = [](TXTSegment* S, double T, double Knot) {
        return std::abs(T - Knot) <= TBSpline::KnotSnapTolerance * (S->MaxT() - S->MinT());
    };
    if (A.SegmentIndex < B.SegmentIndex && Near(FSegments.Items(A.SegmentIndex), A.T, FSegments.Items(A.SegmentIndex)->MaxT()))
        A = MakeBeadAddress(A.SegmentIndex + 1, FSegments.Items(A.SegmentIndex + 1)->MinT());
    if (A.SegmentIndex < B.SegmentIndex && Near(FSegments.Items(B.SegmentIndex), B.T, FSegments.Items(B.SegmentIndex)->MinT()))
        B = MakeBeadAddress(B.SegmentIndex - 1, FSegments.Items(B.SegmentIndex - 1)->MaxT());
    TXTSegment* First = FSegments.Items(A.SegmentIndex);
    if (A.SegmentIndex == B.SegmentIndex) return First->Spline().SubCurve(A.T, B.T);
    std::unique_ptr<TXTBSpline> Result = First->Spline().SubCurve(A.T, First->MaxT());
    Result->SetKnotType(ktNonUniform);
    for (int I = A.SegmentIndex + 1; I <= B.SegmentIndex; ++I) {
        TXTSegment* Span = FSegments.Items(I);
        std::unique_ptr<TXTBSpline> Piece =
            I == B.SegmentIndex ? Span->Spline().SubCurve(Span->MinT(), B.T) : Span->Spline().Clone();
        Result = TXTBSpline::Join(*Result, *Piece);
    }
    return Result;
}

}  // namespace sarnova
