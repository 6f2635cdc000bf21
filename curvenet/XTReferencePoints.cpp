#include "curvenet/XTReferencePoints.h"

#include <cmath>

#include "curvenet/XTCurve.h"
#include "foundation/TextUtils.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/GeomBox.h"

namespace sarnova {

namespace {

// Right-handed A x B (VectorCross(A, B) is B x A).
TMVector Cross(const TMVector& A, const TMVector& B) { return VectorCross(B, A); }

// Kind of the crossing-plane record of two curves.
constexpr std::uint8_t rkCrossingPlane = 7;

const double Sqrt2 = std::sqrt(2.0);

// V, or its negation when the current vector Current points more than 90 degrees away from V.
TMVector Oriented(const TMVector& Current, const TMVector& V) {
    if (VectorLength(Current) > DefaultTolerance && VectorLength(VectorAdd(Current, V)) < Sqrt2)
        return VectorNegate(V);
    return V;
}

TXTReferencePoint* AsReferencePoint(TXTPoint* P) { return P && P->IsReferencePoint() ? static_cast<TXTReferencePoint*>(P) : nullptr; }

}  // namespace

// ---- TXTReferencePoint ----

TXTReferencePoint::TXTReferencePoint(TXTNode* Owner) : FReference(std::make_unique<TXTReference>(Owner)) {
    FReference->OnChange = [this](TXTNode*) { OnTargetChanged(); };
    FReference->OnMessage = [this](TXTMessage& M) { HandleMessage(M); };
}

TXTReferencePoint::~TXTReferencePoint() = default;

TXTCurveRepresentation* TXTReferencePoint::HostCurve() const {
    return dynamic_cast<TXTCurveRepresentation*>(FReference->GetTarget());
}

TXTCurve* TXTReferencePoint::HoldingCurve() const { return dynamic_cast<TXTCurve*>(GetCurve()); }

double TXTReferencePoint::GetT() {
    TBeadAddress A;
    GetBeadAddress(A);
    return A.T;
}

int TXTReferencePoint::GetSegmentIndex() {
    TBeadAddress A;
    GetBeadAddress(A);
    return A.SegmentIndex;
}

void TXTReferencePoint::RibbonOfTarget(TXTRibbonTangent& Ribbon) {
    Ribbon.Kind = rkNone;
    Ribbon.Reference = TMVector{0, 0, 0};
    Ribbon.Plane = NullPlane;
}

void TXTReferencePoint::CrossingPlane(TXTRibbonTangent& Ribbon) { TXTReferencePoint::RibbonOfTarget(Ribbon); }

void TXTReferencePoint::CrossingPlaneWith(const TFrenetFrame& HostFrame, TXTRibbonTangent& Ribbon) {
    TXTCurveRepresentation* Own = GetCurve();
    TFrenetFrame OwnFrame;
    if (Own) {
        TBeadAddress A;
        Own->AddressOfPoint(Index(), A);
        if (IsValidAddress(A)) Own->Frenet(A, OwnFrame);
    }
    const TMVector N = VectorNormalise(Cross(OwnFrame.Tangent, HostFrame.Tangent));
    Ribbon.Kind = rkCrossingPlane;
    Ribbon.Reference = OwnFrame.Tangent;
    Ribbon.Plane = PlaneFromNormalAndPoint(N, GetPosition());
    Ribbon.Frame = HostFrame;
}

TXTPoint* TXTReferencePoint::MakePlain() {
    auto* List = dynamic_cast<TXTPoints*>(GetOwnerList());
    if (!List) return nullptr;
    TXTCurve* Curve = HoldingCurve();
    auto Plain = std::make_unique<TXTPoint>();
    Plain->SetPosition(GetPosition());  // not in a list yet: nobody is told
    TXTPoint* Result = Plain.get();
    std::unique_ptr<TXTCurveElement> Self = List->Replace(this, std::move(Plain));
    if (Curve) Curve->MarkDirty(dlSpans);
    return Result;  // this point goes with Self
}

void TXTReferencePoint::SetReleased(bool Released) {
    if (Released == FReleased) return;
    FReleased = Released;
    SetPosition(GetPosition());
}

void TXTReferencePoint::ReleaseAt(const TMVector& Position) {
    FReleased = true;
    TXTPoint::SetPosition(Position);
}

void TXTReferencePoint::Assign(const TXTPoint& Other) {
    TXTPoint::Assign(Other);
    if (auto* R = AsReferencePoint(const_cast<TXTPoint*>(&Other))) FReference->AssignName(R->Reference());
}

void TXTReferencePoint::ResolveReference() { FReference->GetTarget(); }

void TXTReferencePoint::ValidateReferences() {
    if (FReference->GetTarget()) return;
    std::string Text = "TXTReferencePoint.ValidateReferences - Point Reference could not be resolved";
    // A host that exists but rests on this curve (through others) was refused: name the cycle.
    const TXTNode* Owner = FReference->GetOwner();
    const TXTNode* Wanted = Owner ? Owner->FindNode(FReference->GetName()) : nullptr;
    if (Wanted != nullptr) {
        const std::vector<const TXTNode*> Path = Owner->DependentPath(Wanted);
        if (!Path.empty()) {
            // Owner would rest on Wanted, which rests back along the path on Owner.
            Text += ", the curves would rest on each other: " + Owner->GetName();
            for (auto It = Path.rbegin(); It != Path.rend(); ++It) Text += " -> " + (*It)->GetName();
        }
    }
    throw EError(Text);
}

void TXTReferencePoint::CheckReference() {
    if (!FReference->GetTarget()) MakePlain();
}

void TXTReferencePoint::ResetConstraintState() {
    TXTPoint::ResetConstraintState();
    if (State == psEnd) return;
    TXTCurveRepresentation* Host = HostCurve();
    State = Host && Host->GetRibbonKind() == rkKnuckle ? psKnuckle : psInterpolated;
}

namespace {

bool HasOverrideAt(const TXTCurve* Curve, int Index) {
    if (!Curve) return false;
    const TXTConstraints& List = Curve->Constraints();
    for (int I = 0; I < List.Count(); ++I) {
        const auto* C = dynamic_cast<const TXTOverrideSurfaceTangentConstraint*>(List.Items(I));
        if (C && C->Vertex == Index) return true;
    }
    return false;
}

}  // namespace

bool TXTReferencePoint::UsesRibbonTangent() const {
    const TXTCurveRepresentation* Host = HostCurve();
    if (!Host || Host->GetRibbonKind() < rkX || Host->GetRibbonKind() > rkTangentialToCurve) return false;
    return !HasOverrideAt(HoldingCurve(), Index());
}

void TXTReferencePoint::SetDefaultTangents() {
    const TXTPoints* List = dynamic_cast<const TXTPoints*>(GetOwnerList());
    const int I = Index();
    const int N = List ? List->Count() : 0;
    const TXTPoint* Prev = I > 0 ? List->Items(I - 1) : nullptr;
    const TXTPoint* Next = I >= 0 && I + 1 < N ? List->Items(I + 1) : nullptr;
    const TMVector P = GetPosition();
    if (State < psBreak) {
        State = psBreak;
        const TMVector From = Prev ? Prev->GetPosition() : P;
        const TMVector To = Next ? Next->GetPosition() : P;
        OutTangent.SetKind(tkDirection);
        InTangent.SetKind(tkDirection);
        OutTangent.SetVector(VectorNormalise(VectorFromTo(From, To)));
        return;
    }
    if ((State == psKnuckle || I == 0) && OutTangent.GetKind() == tkNone && Next) {
        OutTangent.SetKind(tkDirection);
        OutTangent.SetVector(VectorNormalise(VectorFromTo(P, Next->GetPosition())));
    }
    if ((State == psKnuckle || I == N - 1) && InTangent.GetKind() == tkNone && Prev) {
        InTangent.SetKind(tkDirection);
        InTangent.SetVector(VectorNormalise(VectorFromTo(P, Prev->GetPosition())));
    }
}

void TXTReferencePoint::ApplyRibbonTangent() {
    if (!UsesRibbonTangent()) return;
    SetDefaultTangents();
    TXTRibbonTangent R;
    RibbonOfTarget(R);
    if (R.Kind == rkNone) return;
    const TMVector N = R.Plane.Normal;
    const TMVector A = R.Reference;
    TXTCurve* Curve = HoldingCurve();
    const TXTPlaneConstraint* Plane = Curve ? Curve->Constraints().PlaneConstraint() : nullptr;
    if (State != psKnuckle && Plane && Plane->Direction != pdNone) {
        const TMVector D = VectorNormalise(Cross(N, Plane->Plane().Normal));
        if (VectorLength(D) < TinyValue) return;
        OutTangent.SetKind(tkDirection);
        InTangent.SetKind(tkDirection);
        OutTangent.SetVector(Oriented(OutTangent.GetVector(), D));
        InTangent.SetVector(Oriented(InTangent.GetVector(), D));
    } else if (State == psKnuckle) {
        auto InPlane = [&](TXTTangent& T, const TMVector& Fallback) {
            const TMVector V = VectorPerpendicularPart(N, T.GetVector());
            T.SetKind(tkDirection);
            T.SetVector(VectorLength(V) < TinyValue ? Fallback : V);
        };
        InPlane(OutTangent, A);
        InPlane(InTangent, VectorNegate(A));
    } else if (R.Kind >= rkNormalToCurve) {
        const bool Last = GetOwnerList() && Index() == GetOwnerList()->Count() - 1;
        const TMVector W = Last ? VectorNormalise(Cross(N, InTangent.GetVector()))
                                : VectorNormalise(Cross(OutTangent.GetVector(), N));
        TMVector D = VectorNormalise(Cross(N, W));
        if (VectorLength(D) < TinyValue) D = A;
        OutTangent.SetKind(tkDirection);
        InTangent.SetKind(tkDirection);
        OutTangent.SetVector(D);
        InTangent.SetVector(VectorNegate(D));
    } else {
        OutTangent.SetKind(tkDirection);
        InTangent.SetKind(tkDirection);
        auto AlongAxis = [&](TXTTangent& T) {
            const TMVector W = VectorNormalise(Cross(T.GetVector(), A));
            if (VectorLength(W) <= TinyValue) return;
            const TMVector D = VectorNormalise(Cross(N, W));
            if (VectorLength(D) > TinyValue) T.SetVector(Oriented(T.GetVector(), D));
        };
        AlongAxis(OutTangent);
        AlongAxis(InTangent);
    }
}

// ---- TXTBead ----

std::unique_ptr<TXTPoint> TXTBead::CreateLike(TXTCurveRepresentation* Curve) const {
    return std::make_unique<TXTBead>(Curve);
}

void TXTBead::Assign(const TXTPoint& Other) {
    TXTReferencePoint::Assign(Other);
    if (const auto* B = dynamic_cast<const TXTBead*>(&Other)) FAddress = B->FAddress;
}

void TXTBead::RibbonOfTarget(TXTRibbonTangent& Ribbon) {
    TXTCurveRepresentation* Host = HostCurve();
    if (!Host) return TXTReferencePoint::RibbonOfTarget(Ribbon);
    Host->RibbonAt(FAddress, Ribbon);
}

void TXTBead::CrossingPlane(TXTRibbonTangent& Ribbon) {
    TXTCurveRepresentation* Host = HostCurve();
    TXTCurveRepresentation* Own = GetCurve();
    if (!Host || !Own || (Own->GetRibbonKind() == rkKnuckle && Host->GetRibbonKind() == rkKnuckle))
        return TXTReferencePoint::CrossingPlane(Ribbon);
    TFrenetFrame HostFrame;
    Host->Frenet(FAddress, HostFrame);
    CrossingPlaneWith(HostFrame, Ribbon);
}

namespace {

// The host's current name, or the name the reference holds while it is unresolved.
std::string HostName(TXTReference& Reference) {
    TXTNode* Target = Reference.CurrentTarget();
    return Target ? Target->GetName() : Reference.GetName();
}

}  // namespace

std::string TXTBead::GetReferenceText() {
    return FormatWithPoint("Bead at Address %d:%0.6f on Curve %s",
                           {FAddress.SegmentIndex, FAddress.T, HostName(Reference())});
}

void TXTBead::ReadReferenceText(const std::string& Text) {
    if (Text.find("Bead") == std::string::npos) return;
    const std::size_t At = Text.find("Address");
    const std::size_t Colon = Text.find(':', At == std::string::npos ? 0 : At);
    if (At == std::string::npos || Colon == std::string::npos)
        throw EConvertError("'" + Text + "' is not a valid bead address");
    const int Segment = StrToInt(Trim(Text.substr(At + 7, Colon - At - 7)));
    const std::size_t Blank = Text.find(' ', Colon + 1);
    const double T = ParseFloat(Trim(Text.substr(Colon + 1, Blank == std::string::npos ? std::string::npos
                                                                                        : Blank - Colon - 1)));
    FAddress = MakeBeadAddress(Segment, T);
    const std::size_t Curve = Text.find("Curve");
    if (Curve != std::string::npos) Reference().SetName(Trim(Text.substr(Curve + 5)));
}

void TXTBead::Update() {
    TXTCurveRepresentation* Host = IsReleased() ? nullptr : HostCurve();
    if (!Host) return;
    TXTCurve* Curve = HoldingCurve();
    const TXTPlaneConstraint* Plane = Curve ? Curve->Constraints().PlaneConstraint() : nullptr;
    if (Plane && Plane->Direction != pdNone) {
        TBeadAddress A;
        Host->NearestPlaneIntersection(Plane->Plane(), GetPosition(), A);
        // A plane the range keeps on the host always cuts it; should it miss, the bead stays put.
        if (IsValidAddress(A)) FAddress = A;
    }
    Host->F(FAddress, FPosition);
}

void TXTBead::SlideTo(const TMVector& P, int Axis) {
    TXTCurveRepresentation* Host = IsReleased() ? nullptr : HostCurve();
    if (!Host) return TXTPoint::SetPosition(P);
    TBeadAddress A;
    if (Axis < 0)
        Host->NearestAddress(P, A);
    else
        Host->AddressOnAxisPlane(P, Axis, A);
    if (!IsValidAddress(A)) return;
    FAddress = A;
    TMVector On;
    Host->F(FAddress, On);
    TXTPoint::SetPosition(On);
}

void TXTBead::SetPosition(const TMVector& V) { SlideTo(V, -1); }

void TXTBead::SetX(double X) {
    if (IsReleased() || !HostCurve()) return TXTPoint::SetX(X);
    SlideTo({X, FPosition.Y, FPosition.Z}, 0);
}

void TXTBead::SetY(double Y) {
    if (IsReleased() || !HostCurve()) return TXTPoint::SetY(Y);
    SlideTo({FPosition.X, Y, FPosition.Z}, 1);
}

void TXTBead::SetZ(double Z) {
    if (IsReleased() || !HostCurve()) return TXTPoint::SetZ(Z);
    SlideTo({FPosition.X, FPosition.Y, Z}, 2);
}

void TXTBead::HandleMessage(TXTMessage& Message) {
    TXTCurveRepresentation* Host = dynamic_cast<TXTCurveRepresentation*>(Reference().CurrentTarget());
    if (!Host || Message.Node != Host) return;
    if (dynamic_cast<TXTDeleteNodeMessage*>(&Message)) {
        if (TXTCurveRepresentation* Own = GetCurve()) Own->DetachPoint(Index());  // frees this bead
    } else if (dynamic_cast<TXTCurveReparameterisationMessage*>(&Message) ||
               dynamic_cast<TXTReversePointsMessage*>(&Message)) {
        TBeadAddress A;
        Host->NearestAddress(GetPosition(), A);
        if (IsValidAddress(A)) FAddress = A;
    } else if (dynamic_cast<TXTRibbonTangentChangeMessage*>(&Message)) {
        if (TXTCurve* Curve = HoldingCurve()) Curve->MarkDirty(dlSpans);
    }
}

void TXTBead::CheckReference() {
    TXTCurveRepresentation* Host = HostCurve();
    if (Host) {
        if (!Host->IsUpToDate()) Host->Regenerate();
        auto* HostCurve = dynamic_cast<TXTCurve*>(Host);
        // The far end {spans, 0} is where a bead at the host's end is kept.
        const bool AtFarEnd = HostCurve && FAddress.SegmentIndex == HostCurve->Segments().Count() && FAddress.T == 0.0;
        if (HostCurve && (HostCurve->AddressInRange(FAddress) || AtFarEnd)) return;
    }
    MakePlain();
}

// ---- TXTPointIndexReference ----

std::unique_ptr<TXTPoint> TXTPointIndexReference::CreateLike(TXTCurveRepresentation* Curve) const {
    return std::make_unique<TXTPointIndexReference>(Curve);
}

void TXTPointIndexReference::Assign(const TXTPoint& Other) {
    TXTReferencePoint::Assign(Other);
    if (const auto* R = dynamic_cast<const TXTPointIndexReference*>(&Other)) FVertexIndex = R->FVertexIndex;
}

TXTPoint* TXTPointIndexReference::ReferencedVertex() const {
    TXTCurveRepresentation* Host = HostCurve();
    if (!Host || FVertexIndex < 0 || FVertexIndex >= Host->PointCount()) return nullptr;
    return Host->PointAt(FVertexIndex);
}

void TXTPointIndexReference::GetBeadAddress(TBeadAddress& Address) {
    Address = InvalidBeadAddress;
    TXTCurveRepresentation* Host = HostCurve();
    if (!Host || FVertexIndex < 0 || FVertexIndex >= Host->PointCount()) return;
    auto* Curve = dynamic_cast<TXTCurve*>(Host);
    if (!Curve) return Host->AddressOfPoint(FVertexIndex, Address);
    if (!Curve->IsUpToDate()) Curve->Regenerate();
    const TXTPoint* Vertex = Host->PointAt(FVertexIndex);
    TXTSegments& Spans = Curve->Segments();
    for (int S = 0; S < Spans.Count(); ++S) {
        TXTSegment* Span = Spans.Items(S);
        for (int J = 0; J + 1 < Span->Count(); ++J) {
            if (Span->Items(J) != Vertex) continue;
            if (J == 0) {
                Address = MakeBeadAddress(S, 0.0);
            } else if (auto* Cubic = dynamic_cast<TXTCSplineSegment*>(Span)) {
                TBSpline& B = Cubic->Spline().Spline();
                B.UpdateKnots();
                Address = MakeBeadAddress(S, B.Knot(B.GetOrder() + J));
            }
            return;
        }
    }
    if (Spans.Count() > 0 && Spans.Last()->Last() == Vertex)
        Address = MakeBeadAddress(Spans.Count() - 1, Spans.Last()->MaxT());
}

void TXTPointIndexReference::SetBeadAddress(const TBeadAddress&) {
    throw EError("TXTPointIndexReference.SetBeadAddress - Cannot set the BeadAddress of a Point Index reference point");
}

void TXTPointIndexReference::SetT(double) {
    throw EError("TXTPointIndexReference.SetT - Cannot set the BeadAddress of a Point Index reference point");
}

void TXTPointIndexReference::SetSegmentIndex(int) {
    throw EError("TXTPointIndexReference.SetSegmentIndex - Cannot set the BeadAddress of a Point Index reference point");
}

void TXTPointIndexReference::RibbonOfTarget(TXTRibbonTangent& Ribbon) {
    TXTReferencePoint::RibbonOfTarget(Ribbon);
    TXTPoint* Vertex = ReferencedVertex();
    if (!Vertex) return;
    if (TXTReferencePoint* R = AsReferencePoint(Vertex)) {
        if (R->UsesRibbonTangent())
            R->RibbonOfTarget(Ribbon);
        else
            CrossingPlane(Ribbon);
        return;
    }
    if (Vertex->State == psFree) return;
    TXTCurveRepresentation* Host = HostCurve();
    TBeadAddress A;
    Host->AddressOfPoint(FVertexIndex, A);
    if (IsValidAddress(A)) Host->RibbonAt(A, Ribbon);
}

void TXTPointIndexReference::CrossingPlane(TXTRibbonTangent& Ribbon) {
    TXTPoint* Vertex = ReferencedVertex();
    if (TXTReferencePoint* R = AsReferencePoint(Vertex)) return R->CrossingPlane(Ribbon);
    TXTCurveRepresentation* Host = HostCurve();
    TXTCurveRepresentation* Own = GetCurve();
    if (!Vertex || !Own || (Own->GetRibbonKind() == rkKnuckle && Host->GetRibbonKind() == rkKnuckle))
        return TXTReferencePoint::CrossingPlane(Ribbon);
    TBeadAddress A;
    Host->AddressOfPoint(FVertexIndex, A);
    TFrenetFrame HostFrame;
    if (IsValidAddress(A)) Host->Frenet(A, HostFrame);
    CrossingPlaneWith(HostFrame, Ribbon);
}

std::string TXTPointIndexReference::GetReferenceText() {
    return Format("Vertex %d on Curve %s", {FVertexIndex, HostName(Reference())});
}

void TXTPointIndexReference::ReadReferenceText(const std::string& Text) {
    if (Text.find("Vertex") == std::string::npos) return;
    const std::size_t Blank = Text.find(' ');
    const std::string Rest = Blank == std::string::npos ? std::string() : Text.substr(Blank + 1);
    FVertexIndex = StrToInt(Trim(Rest.substr(0, Rest.find("on"))));
    if (Text.find("on ") == std::string::npos) return;
    const std::size_t Curve = Text.find("Curve ");
    if (Curve != std::string::npos) Reference().SetName(Trim(Text.substr(Curve + 6)));
}

void TXTPointIndexReference::Update() {
    if (IsReleased() || !TargetChanged() || !HostCurve()) return;
    TXTPoint* Vertex = ReferencedVertex();
    if (!Vertex) {
        MakePlain();
        return;
    }
    FPosition = Vertex->GetPosition();
    if (Vertex->State == psFree) {
        TInfoMessage M;
        M.Sender = GetCurve();
        M.Text = Format("Incorrect Referenced Control Point (Index: %d)", {Index()});
        ExtendBoxByVector(FPosition, M.Box);
        ReportInfo(M);
    }
}

void TXTPointIndexReference::SetPosition(const TMVector& V) {
    if (IsReleased() || !HostCurve()) return TXTPoint::SetPosition(V);
    Update();
}

void TXTPointIndexReference::Transform(const TMMatrix& M) {
    TXTCurveRepresentation* Host = HostCurve();
    if (!Host) return;
    TXTPoint* Next = VectorInBox(MatrixTransformPoint(M, GetPosition()), Host->Extents()) ? ConvertToBead() : MakePlain();
    if (Next) Next->Transform(M);
}

void TXTPointIndexReference::HandleMessage(TXTMessage& Message) {
    TXTCurveRepresentation* Host = dynamic_cast<TXTCurveRepresentation*>(Reference().CurrentTarget());
    if (!Host || Message.Node != Host) return;
    TXTCurveRepresentation* Own = GetCurve();
    if (dynamic_cast<TXTDeleteNodeMessage*>(&Message)) {
        if (Own) Own->DetachPoint(Index());  // frees this point
    } else if (auto* Insert = dynamic_cast<TXTInsertPointMessage*>(&Message)) {
        if (FVertexIndex >= Insert->Index) ++FVertexIndex;
    } else if (auto* Remove = dynamic_cast<TXTRemovePointMessage*>(&Message)) {
        if (Remove->Index < FVertexIndex)
            --FVertexIndex;
        else if (Remove->Index == FVertexIndex && Own)
            Own->DetachPoint(Index());  // frees this point
    } else if (dynamic_cast<TXTReversePointsMessage*>(&Message)) {
        FVertexIndex = Host->PointCount() - FVertexIndex - 1;
    } else if (dynamic_cast<TXTRibbonTangentChangeMessage*>(&Message)) {
        if (TXTCurve* Curve = HoldingCurve()) Curve->MarkDirty(dlSpans);
    }
}

void TXTPointIndexReference::CheckReference() {
    // The vertex states are the host's rebuild's.
    if (TXTCurveRepresentation* Host = HostCurve(); Host && !Host->IsUpToDate()) Host->Regenerate();
    const TXTPoint* Vertex = ReferencedVertex();
    if (!Vertex || Vertex->State == psFree) MakePlain();
}

bool TXTPointIndexReference::UsesRibbonTangent() const {
    if (AsReferencePoint(ReferencedVertex())) return !HasOverrideAt(HoldingCurve(), Index());
    return TXTReferencePoint::UsesRibbonTangent();
}

TXTPoint* TXTPointIndexReference::ConvertToBead() {
    TBeadAddress A;
    GetBeadAddress(A);
    TXTCurveRepresentation* Host = HostCurve();
    auto* List = dynamic_cast<TXTPoints*>(GetOwnerList());
    if (!IsValidAddress(A) || !Host || !List) return MakePlain();
    Host->NormaliseAddress(A);
    TXTCurveRepresentation* Own = GetCurve();
    auto Bead = std::make_unique<TXTBead>(Own);
    Bead->SetTargetNode(Host);
    Bead->SetBeadAddress(A);
    Bead->TXTPoint::Assign(*this);
    TXTBead* Result = Bead.get();
    std::unique_ptr<TXTCurveElement> Self = List->Replace(this, std::move(Bead));
    if (TXTCurve* Curve = dynamic_cast<TXTCurve*>(Own)) Curve->MarkDirty(dlSpans);
    Result->Update();
    return Result;  // this point goes with Self
}

}  // namespace sarnova
