// The constraint kinds: where each may sit, what each does to the points, how each follows the
// curve's point edits, and their parameter lines.
#include <cmath>
#include <numbers>

#include "curvenet/XTConstraints.h"
#include "curvenet/XTCurve.h"
#include "foundation/TextUtils.h"
#include "foundation/NumberText.h"
#include "foundation/TextFile.h"

namespace sarnova {

namespace {

// The text after the first "=" of the next line, as the records hold their values.
std::string ReadValue(TTextReader& F) { return TextAfterKeyword("=", F.ReadLine()).substr(0, 255); }

TMVector PositionOf(const TXTCurve& C, int I) { return C.PointAt(I)->GetPosition(); }

TMVector UnitFromTo(const TXTCurve& C, int From, int To) {
    return VectorNormalise(VectorFromTo(PositionOf(C, From), PositionOf(C, To)));
}

bool HoldsKindAt(const TXTCurve& Curve, int Index, bool (*IsKind)(const TXTConstraint*)) {
    const TXTConstraints& List = Curve.Constraints();
    for (int I = 0; I < List.Count(); ++I) {
        const auto* P = dynamic_cast<const TXTPointConstraint*>(List.Items(I));
        if (P && P->Vertex == Index && IsKind(P)) return true;
    }
    return false;
}

// The point's tangents of the constraint kind are released.
void MakeKnuckle(TXTPoint& P) {
    P.State = psKnuckle;
    if (P.InTangent.GetKind() == tkConstraint) P.InTangent.SetKind(tkNone);
    if (P.OutTangent.GetKind() == tkConstraint) P.OutTangent.SetKind(tkNone);
}

// The curve, when it sent the message itself: a constraint follows its own curve only.
TXTCurve* OwnCurve(const TXTConstraint& C, const TXTMessage& Message) {
    TXTCurve* Curve = C.Curve();
    return Curve && Message.Node == Curve ? Curve : nullptr;
}

}  // namespace

// ---- Point constraints ----

void TXTPointConstraint::HandleMessage(TXTMessage& Message) {
    TXTCurve* C = OwnCurve(*this, Message);
    if (!C) return;
    const int N = C->PointCount();
    if (auto* M = dynamic_cast<TXTInsertPointMessage*>(&Message)) {
        if (M->Index <= Vertex) ++Vertex;
    } else if (auto* M = dynamic_cast<TXTRemovePointMessage*>(&Message)) {
        const int K = M->Index;
        // A constraint deletes itself, not the first one at its vertex: two kinds may share a vertex,
        // and the other may have to stay.
        const bool BecomesEnd = (K == 0 && Vertex == 1) || (K == N - 1 && Vertex == N - 2);
        if ((BecomesEnd && !AllowedAtEnds()) || K == Vertex) {
            TXTCurveElements* List = GetOwnerList();
            List->Delete(Index());  // frees this constraint
            return;
        }
        if (K < Vertex) --Vertex;
    } else if (dynamic_cast<TXTReversePointsMessage*>(&Message)) {
        Vertex = N - 1 - Vertex;
    }
}

void TXTPointConstraint::LoadFromText(TTextReader& F) { Vertex = StrToInt(ReadValue(F)); }

void TXTPointConstraint::SaveToText(TTextWriter& F) const {
    TXTConstraint::SaveToText(F);
    F.WriteLine("  Vertex=" + IntToStr(Vertex));
}

void TXTPointConstraint::Assign(const TXTConstraint& Source) {
    if (auto* P = dynamic_cast<const TXTPointConstraint*>(&Source)) Vertex = P->Vertex;
}

int TXTPointConstraint::CommonVertexState(const TXTCurve& Curve, int Index, bool (*IsKind)(const TXTConstraint*)) {
    if (Index < 1 || Index >= Curve.PointCount() - 1) return csNotAllowed;
    return HoldsKindAt(Curve, Index, IsKind) ? csPresent : csAbsent;
}

void TXTInterpolateConstraint::ApplyToTangents() {
    TXTCurve* C = Curve();
    if (!C || Vertex < 0 || Vertex >= C->PointCount()) return;
    TXTPoint* P = C->PointAt(Vertex);
    if (P->State == psFree) P->State = psInterpolated;
}

int TXTInterpolateConstraint::VertexState(const TXTCurve& Curve, int Index) {
    const int State = CommonVertexState(Curve, Index, &IsConstraintKind<TXTInterpolateConstraint>);
    if (State != csAbsent) return State;
    const TXTConstraints& List = Curve.Constraints();
    if (List.HasConstraint<TXTCubicSplineConstraint>() || List.HasConstraint<TXTPolylineConstraint>() ||
        HoldsKindAt(Curve, Index, &IsConstraintKind<TXTKnuckleConstraint>))
        return csNotAllowed;
    return csAbsent;
}

void TXTKnuckleConstraint::ApplyToTangents() {
    TXTCurve* C = Curve();
    if (C && Vertex >= 0 && Vertex < C->PointCount()) MakeKnuckle(*C->PointAt(Vertex));
}

int TXTKnuckleConstraint::VertexState(const TXTCurve& Curve, int Index) {
    const int State = CommonVertexState(Curve, Index, &IsConstraintKind<TXTKnuckleConstraint>);
    if (State == csAbsent && Curve.Constraints().HasConstraint<TXTPolylineConstraint>()) return csNotAllowed;
    return State;
}

int TXTOverrideSurfaceTangentConstraint::VertexState(const TXTCurve& Curve, int Index) {
    if (Index < 0 || Index > Curve.PointCount() - 1) return csNotAllowed;
    return HoldsKindAt(Curve, Index, &IsConstraintKind<TXTOverrideSurfaceTangentConstraint>) ? csPresent : csAbsent;
}

// ---- Range constraints ----

void TXTRangeConstraint::CreateSpan(int First, TXTCurve& Curve, int Last) {
    Vertex = First;
    for (int I = 0; I < Last - First - 1; ++I) Curve.DeletePoint(First + 1);
}

void TXTRangeConstraint::HandleMessage(TXTMessage& Message) {
    TXTCurve* C = OwnCurve(*this, Message);
    if (!C) return;
    const int N = C->PointCount();
    if (auto* M = dynamic_cast<TXTInsertPointMessage*>(&Message)) {
        if (M->Index <= Vertex) ++Vertex;
    } else if (auto* M = dynamic_cast<TXTRemovePointMessage*>(&Message)) {
        const int K = M->Index;
        if (K == Vertex || K == Vertex + 1) {
            GetOwnerList()->Delete(Index());  // frees this constraint
            return;
        }
        if (K < Vertex) --Vertex;
    } else if (dynamic_cast<TXTReversePointsMessage*>(&Message)) {
        Vertex = N - 2 - Vertex;
    }
}

void TXTRangeConstraint::LoadFromText(TTextReader& F) { Vertex = StrToInt(ReadValue(F)); }

void TXTRangeConstraint::SaveToText(TTextWriter& F) const {
    TXTConstraint::SaveToText(F);
    F.WriteLine("  Vertex=" + IntToStr(Vertex));
}

void TXTRangeConstraint::Assign(const TXTConstraint& Source) {
    if (auto* R = dynamic_cast<const TXTRangeConstraint*>(&Source)) Vertex = R->Vertex;
}

void TXTStraightConstraint::ApplyToTangents() {
    TXTCurve* C = Curve();
    if (!C || Vertex < 0 || Vertex + 1 >= C->PointCount()) return;
    TXTPoint* A = C->PointAt(Vertex);
    TXTPoint* B = C->PointAt(Vertex + 1);
    if (A->State == psKnuckle) {
        A->OutTangent.SetKind(tkNone);
    } else {
        A->State = psBreak;
        A->OutTangent.SetKind(tkConstraint);
    }
    A->OutTangent.SetVector(UnitFromTo(*C, Vertex, Vertex + 1));
    if (B->State == psKnuckle) {
        B->InTangent.SetKind(tkNone);
    } else {
        B->State = psBreak;
        B->InTangent.SetKind(tkConstraint);
    }
    B->InTangent.SetVector(UnitFromTo(*C, Vertex + 1, Vertex));
}

void TXTBlendConstraint::ApplyToTangents() {
    TXTCurve* C = Curve();
    if (!C) return;
    const int N = C->PointCount();
    const int V = Vertex;
    if (V < 0 || V + 1 >= N) return;
    TXTPoint* A = C->PointAt(V);
    TXTPoint* B = C->PointAt(V + 1);
    if (A->State == psKnuckle) {
        A->OutTangent.SetKind(tkNone);
    } else if (V > 0) {
        A->State = psBreak;
        A->InTangent.SetKind(tkConstraint);
    }
    if (V > 0) A->InTangent.SetVector(UnitFromTo(*C, V, V - 1));
    if (B->State == psKnuckle) {
        B->InTangent.SetKind(tkNone);
    } else if (V < N - 2) {
        B->State = psBreak;
        B->OutTangent.SetKind(tkConstraint);
    }
    if (V < N - 2) B->OutTangent.SetVector(UnitFromTo(*C, V + 1, V + 2));
}

// ---- Whole-curve constraints ----

int TXTCurveConstraint::CommonCurveState(const TXTCurve& Curve, bool (*IsKind)(const TXTConstraint*)) {
    const TXTConstraints& List = Curve.Constraints();
    for (int I = 0; I < List.Count(); ++I)
        if (IsConstraintKind<TXTCurveConstraint>(List.Items(I))) return IsKind(List.Items(I)) ? csPresent : csNotAllowed;
    return csAbsent;
}

void TXTPolylineConstraint::ApplyToTangents() {
    if (TXTCurve* C = Curve())
        for (int I = 0; I < C->PointCount(); ++I) MakeKnuckle(*C->PointAt(I));
}

int TXTPolylineConstraint::CurveState(const TXTCurve& Curve) {
    const int State = CommonCurveState(Curve, &IsConstraintKind<TXTPolylineConstraint>);
    if (State == csAbsent && Curve.Constraints().HasConstraint<TXTRangeConstraint>()) return csNotAllowed;
    return State;
}

void TXTCubicSplineConstraint::ApplyToTangents() {
    if (TXTCurve* C = Curve())
        for (int I = 0; I < C->PointCount(); ++I)
            if (C->PointAt(I)->State == psFree) C->PointAt(I)->State = psInterpolated;
}

int TXTCubicSplineConstraint::CurveState(const TXTCurve& Curve) {
    return CommonCurveState(Curve, &IsConstraintKind<TXTCubicSplineConstraint>);
}

// ---- The plane constraint ----

namespace {

// File texts and captions by direction.
constexpr const char* DirectionTexts[] = {"", "X", "Y", "Z", "ROLL", "PITCH", "YAW"};
constexpr const char* DirectionCaptions[] = {"", "X", "Y", "Z", "Roll", "Pitch", "Yaw"};

double Coordinate(const TMVector& V, std::uint8_t Direction) {
    return Direction == pdX ? V.X : Direction == pdY ? V.Y : V.Z;
}

}  // namespace

void TXTPlaneConstraint::LoadFromText(TTextReader& F) {
    const std::string Line = F.ReadLine();
    // Searched in this order, so that "YAW" is not taken for "Y".
    static constexpr std::pair<const char*, std::uint8_t> Keys[] = {{"X", pdX},    {"YAW", pdYaw},    {"Y", pdY},
                                                                      {"Z", pdZ},    {"ROLL", pdRoll}, {"PITCH", pdPitch}};
    Direction = pdNone;
    for (auto [Key, Value] : Keys)
        if (Line.find(Key) != std::string::npos) {
            Direction = Value;
            break;
        }
    Parameter = StrToFloat(ReadValue(F));
}

void TXTPlaneConstraint::SaveToText(TTextWriter& F) const {
    TXTConstraint::SaveToText(F);
    F.WriteLine(std::string(" Direction=") + (Direction <= pdYaw ? DirectionTexts[Direction] : ""));
    F.WriteLine(" Parameter=" + FormatWithPoint("%.10f", {Parameter}));
}

void TXTPlaneConstraint::Assign(const TXTConstraint& Source) {
    if (auto* P = dynamic_cast<const TXTPlaneConstraint*>(&Source)) {
        Direction = P->Direction;
        Parameter = P->Parameter;
    }
}

TMPlane TXTPlaneConstraint::Plane() const {
    TXTCurve* C = Curve();
    if (!C || C->PointCount() == 0 || Direction == pdNone || Direction > pdYaw) return NullPlane;
    const TMVector P0 = C->FirstPoint()->GetPosition();
    const double S = std::sin(Parameter), Co = std::cos(Parameter);
    TMPlane Result = NullPlane;
    switch (Direction) {
        case pdX: Result.Normal = {1, 0, 0}; break;
        case pdY: Result.Normal = {0, 1, 0}; break;
        case pdZ: Result.Normal = {0, 0, 1}; break;
        case pdRoll: Result.Normal = {0, -S, Co}; break;
        case pdPitch: Result.Normal = {Co, 0, -S}; break;
        default: Result.Normal = {-S, Co, 0}; break;
    }
    Result.Distance = ClampToRange(VectorDot(Result.Normal, P0));
    return Result;
}

void TXTPlaneConstraint::UpdateRange() {
    RangeMin = -1e33;
    RangeMax = 1e33;
    TXTCurve* C = Curve();
    if (!C) return;
    const TMVector Normal = Plane().Normal;
    for (int I = 0; I < C->PointCount(); ++I) {
        const TXTPoint* P = C->PointAt(I);
        TXTCurveRepresentation* Host = P->IsReferencePoint() ? P->HostCurve() : nullptr;
        if (!Host || Host->Polyline().Count() == 0) continue;
        double Lo = 1e33, Hi = -1e33;
        for (int J = 0; J < Host->Polyline().Count(); ++J) {
            const double D = VectorDot(Normal, Host->Polyline().Point(J)->Vector());
            Lo = std::min(Lo, D);
            Hi = std::max(Hi, D);
        }
        RangeMin = std::max(RangeMin, Lo);
        RangeMax = std::min(RangeMax, Hi);
    }
}

double TXTPlaneConstraint::ClampToRange(double Value) const {
    if (RangeMin > RangeMax) return Value;
    return std::clamp(Value, RangeMin, RangeMax);
}

void TXTPlaneConstraint::ApplyToPositions() {
    UpdateRange();
    TXTCurve* C = Curve();
    if (!C || C->PointCount() == 0 || Direction == pdNone) return;
    TXTPoint* First = C->FirstPoint();
    if (First->IsReferencePoint()) First->Update();
    if (Direction <= pdZ) {
        const double Value = ClampToRange(Coordinate(First->GetPosition(), Direction));
        for (int I = 0; I < C->PointCount(); ++I) {
            TXTPoint* P = C->PointAt(I);
            if (Direction == pdX)
                P->SetX(Value);
            else if (Direction == pdY)
                P->SetY(Value);
            else
                P->SetZ(Value);
        }
    } else if (Direction <= pdYaw) {
        const TMPlane Pl = Plane();
        for (int I = 0; I < C->PointCount(); ++I)
            C->PointAt(I)->SetPosition(PointOnPlaneClosestToPoint(Pl, C->PointAt(I)->GetPosition()));
    }
}

double TXTPlaneConstraint::ParameterValue() const {
    TXTCurve* C = Curve();
    if (Direction >= pdX && Direction <= pdZ)
        return C && C->PointCount() > 0 ? Coordinate(C->FirstPoint()->GetPosition(), Direction) : 0.0;
    if (Direction >= pdRoll && Direction <= pdYaw) return Parameter;
    return 0.0;
}

void TXTPlaneConstraint::SetParameterValue(double Value) {
    TXTCurve* C = Curve();
    if (Direction >= pdX && Direction <= pdZ) {
        if (C && C->PointCount() > 0) {
            TXTPoint* First = C->FirstPoint();
            const double V = ClampToRange(Value);
            if (Direction == pdX)
                First->SetX(V);
            else if (Direction == pdY)
                First->SetY(V);
            else
                First->SetZ(V);
        }
    } else if (Direction >= pdRoll && Direction <= pdYaw) {
        Parameter = Value * std::numbers::pi / 180;
    }
    if (C) C->MarkDirty(dlGeometry);
}

void TXTPlaneConstraint::SetDirection(std::uint8_t ADirection) {
    if (ADirection == Direction) return;
    Direction = ADirection;
    if (TXTCurve* C = Curve()) C->MarkDirty(dlGeometry);
}

std::string TXTPlaneConstraint::DirectionCaption() const { return Direction <= pdYaw ? DirectionCaptions[Direction] : ""; }

int TXTPlaneConstraint::PlaneConstraintState(const TXTCurve& Curve) {
    return Curve.Constraints().HasPlaneConstraint() ? csPresent : csAbsent;
}

}  // namespace sarnova
