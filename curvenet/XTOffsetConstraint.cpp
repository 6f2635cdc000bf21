#include <algorithm>
#include <cmath>
#include <string>

#include "curvenet/XTConstraints.h"
#include "curvenet/XTCurve.h"
#include "foundation/Errors.h"
#include "foundation/TextFile.h"

namespace sarnova {

namespace {

const char* const DirectionNames[] = {"NONE", "X", "Y", "Z", "NORMAL"};

// A vertex dropped this close (in span parameter) to a span end is attached at that end.
constexpr double SpanEndSnap = 250 * DefaultTolerance;

}  // namespace

TXTOffsetConstraint::TXTOffsetConstraint(TXTCurve* Constrained, TXTCurve* OffsetFrom)
    : FOffsetFromCurve(std::make_unique<TXTReference>(Constrained)) {
    FOffsetFromCurve->SetTarget(OffsetFrom);
}

TXTOffsetConstraint::~TXTOffsetConstraint() = default;

void TXTOffsetConstraint::SetCurve(TXTCurveRepresentation* Curve) {
    TXTConstraint::SetCurve(Curve);
    if (!Curve || FOffsetFromCurve->GetOwner() == Curve) return;
    const std::string Name = FOffsetFromCurve->GetName();
    FOffsetFromCurve = std::make_unique<TXTReference>(Curve);
    FOffsetFromCurve->SetName(Name);
}

TXTCurve* TXTOffsetConstraint::OffsetCurve() const { return dynamic_cast<TXTCurve*>(FOffsetFromCurve->GetTarget()); }

void TXTOffsetConstraint::SetOffsetCurve(TXTCurve* Curve) { FOffsetFromCurve->SetTarget(Curve); }

std::uint8_t TXTOffsetConstraint::EffectiveDirection() const {
    const TXTCurve* From = OffsetCurve();
    if (!From)
        OffsetDirection = odNone;
    else if (From->Constraints().HasPlaneConstraint())
        OffsetDirection = odNormal;
    else if (OffsetDirection >= odNormal)
        OffsetDirection = odNone;
    return OffsetDirection;
}

TMPlane TXTOffsetConstraint::OffsetPlane() const {
    TXTCurve* From = OffsetCurve();
    if (!From) return NullPlane;
    if (const TXTPlaneConstraint* Plane = From->Constraints().PlaneConstraint()) return Plane->Plane();
    const std::uint8_t D = EffectiveDirection();
    if (D < odX || D > odZ || From->PointCount() == 0) return NullPlane;
    const TMVector Axis = D == odX ? TMVector{1, 0, 0} : D == odY ? TMVector{0, 1, 0} : TMVector{0, 0, 1};
    return PlaneFromNormalAndPoint(Axis, From->FirstPoint()->GetPosition());
}

TXTOffsetAttachment TXTOffsetConstraint::ComputeAttachment(const TXTPoint& Point) const {
    TXTOffsetAttachment Result;
    TXTCurve* From = OffsetCurve();
    if (!From) return Result;
    const TMVector N = OffsetPlane().Normal;
    const TMVector P = Point.GetPosition();
    From->NearestAddress(VectorAdd(P, VectorScale(N, -VectorDot(N, P))), Result.Address);
    if (!IsValidAddress(Result.Address)) return Result;
    TMVector Q;
    From->F(Result.Address, Q);
    // The place on the curve straight along the offset direction from the point, sharpened by
    // Gauss-Newton steps on the distance across that direction: a point placed by an attachment
    // then finds that attachment again, so reading a curve back does not move it.
    const auto Across = [&N](const TMVector& V) { return VectorAdd(V, VectorScale(N, -VectorDot(N, V))); };
    From->NearestAddress(VectorAdd(P, VectorScale(N, VectorDot(N, Q) - VectorDot(N, P))), Result.Address);
    if (!IsValidAddress(Result.Address) || Result.Address.SegmentIndex >= From->Segments().Count()) return Result;
    TXTSegment* Span = From->Segments().Items(Result.Address.SegmentIndex);
    const double Lo = Span->MinT(), Hi = Span->MaxT(), H = 1e-6 * (Hi - Lo);
    const auto At = [&](double T) {
        TMVector X;
        From->F(MakeBeadAddress(Result.Address.SegmentIndex, T), X);
        return X;
    };
    double T = Result.Address.T;
    for (int Step = 0; Step < 20 && H > 0; ++Step) {
        const TMVector D = Across(VectorScale(VectorFromTo(At(std::max(Lo, T - H)), At(std::min(Hi, T + H))),
                                              1 / (std::min(Hi, T + H) - std::max(Lo, T - H))));
        const double Slope = VectorDot(D, D);
        if (!(Slope > 0)) break;
        const double Next = std::clamp(T - VectorDot(Across(VectorFromTo(P, At(T))), D) / Slope, Lo, Hi);
        const bool Settled = std::abs(Next - T) <= 1e-14 * (Hi - Lo);
        T = Next;
        if (Settled) break;
    }
    Result.Address.T = T;
    From->F(Result.Address, Q);
    Result.Distance = VectorDot(N, P) - VectorDot(N, Q);
    return Result;
}

void TXTOffsetConstraint::UpdatePoint(TXTPoint& Point) {
    TXTCurve* Own = Curve();
    TXTCurve* From = OffsetCurve();
    if (!From) return;
    TXTOffsetAttachment A = Point.OffsetAttachment;
    if (!IsValidAddress(A.Address)) {
        A = ComputeAttachment(Point);
    } else if (Own && Own->HasPointMoved(Point.Index())) {
        A = ComputeAttachment(Point);
        TBeadAddress& At = A.Address;
        if (IsValidAddress(At) && At.SegmentIndex < From->Segments().Count()) {
            if (At.T < SpanEndSnap)
                At.T = 0.0;
            else if (From->Segments().Items(At.SegmentIndex)->MaxT() - At.T < SpanEndSnap)
                At = MakeBeadAddress(At.SegmentIndex + 1, 0.0);
        }
    }
    PlacePoint(Point, A);
}

void TXTOffsetConstraint::PlacePoint(TXTPoint& Point, const TXTOffsetAttachment& Attachment) {
    TXTCurve* From = OffsetCurve();
    if (!From || !IsValidAddress(Attachment.Address)) return;
    TMVector Q;
    From->F(Attachment.Address, Q);
    const TMVector P = VectorAdd(Q, VectorScale(OffsetPlane().Normal, Attachment.Distance));
    Point.SetX(P.X);
    Point.SetY(P.Y);
    Point.SetZ(P.Z);
    Point.OffsetAttachment = Attachment;
    if (TXTCurve* Own = Curve()) Own->Changed();
}

void TXTOffsetConstraint::ApplyToPositions() {
    TXTCurve* Own = Curve();
    if (!Own || !OffsetCurve()) return;
    for (int I = 0; I < Own->PointCount(); ++I) UpdatePoint(*Own->PointAt(I));
}

void TXTOffsetConstraint::SaveToText(TTextWriter& F) const {
    TXTConstraint::SaveToText(F);
    F.WriteLine(std::string(" OffsetDirection=") + DirectionNames[EffectiveDirection()]);
    F.WriteLine(" OffsetFromCurve=" + FOffsetFromCurve->GetName());
}

void TXTOffsetConstraint::LoadFromText(TTextReader& F) {
    const std::string Line = F.ReadLine();
    OffsetDirection = odNone;
    for (std::uint8_t D = odNone; D <= odNormal; ++D)
        if (Line.find(DirectionNames[D]) != std::string::npos) {
            OffsetDirection = D;
            break;
        }
    const std::string Name = F.ReadLine();
    const std::size_t Eq = Name.find('=');
    FOffsetFromCurve->SetName((Eq == std::string::npos ? Name : Name.substr(Eq + 1)).substr(0, 255));
}

void TXTOffsetConstraint::Assign(const TXTConstraint& Source) {
    const auto* Other = dynamic_cast<const TXTOffsetConstraint*>(&Source);
    if (!Other || Other == this) return;
    OffsetDirection = Other->OffsetDirection;
    FOffsetFromCurve->AssignName(*Other->FOffsetFromCurve);
}

int TXTOffsetConstraint::OffsetConstraintState(const TXTCurve& Curve) {
    if (Curve.Constraints().HasPlaneConstraint()) return csNotAllowed;
    return Curve.Constraints().HasConstraint<TXTOffsetConstraint>() ? csPresent : csAbsent;
}

void AddOffsetConstraint(TXTCurve& Curve) {
    if (TXTOffsetConstraint::OffsetConstraintState(Curve) == csAbsent)
        AddConstraint(Curve, std::make_unique<TXTOffsetConstraint>(&Curve));
}

void RemoveOffsetConstraint(TXTCurve& Curve) {
    TXTConstraints& List = Curve.Constraints();
    for (int I = 0; I < List.Count(); ++I)
        if (dynamic_cast<TXTOffsetConstraint*>(List.Items(I))) return List.Delete(I);
}

}  // namespace sarnova
