// The whole-curve constraints of the Tarvo curve: the plane through its first control point and the
// offset from a reference curve.
#include <cmath>
#include <numbers>

#include "foundation/TextUtils.h"
#include "foundation/NumberText.h"
#include "foundation/TextFile.h"
#include "foundation/VkMathsIntersect.h"
#include "hulls/TarvoCurve.h"

namespace sarnova {

namespace {

constexpr double HalfPi = std::numbers::pi / 2;

bool IsAxisKind(TPlaneKind K) { return K == pkX || K == pkY || K == pkZ; }
bool IsAngleKind(TPlaneKind K) { return K == pkRoll || K == pkPitch || K == pkYaw; }

double Coordinate(const TMVector& V, TPlaneKind AxisKind) {
    return AxisKind == pkX ? V.X : AxisKind == pkY ? V.Y : V.Z;
}

TMVector FirstPointOf(const TTarvoCurve* C) {
    return C != nullptr && C->Count() > 0 ? C->Point(0)->Vector() : TMVector{};
}

// The curve holds a whole-curve constraint of one class; the other class may join only while that
// one is the curve's only constraint.
TConstraintState CurveConstraintState(const TTarvoCurve& Curve, bool HasOwn, bool HasOther) {
    if (HasOwn) return tarvo::csPresent;
    if (HasOther && Curve.Constraints().Count() > 1) return tarvo::csBlocked;
    return tarvo::csAbsent;
}

}  // namespace

// ---- TPlaneConstraint ----

TConstraintState TPlaneConstraint::State(const TTarvoCurve& Curve) {
    return CurveConstraintState(Curve, Curve.Constraints().HasPlane(), Curve.Constraints().HasOffset());
}

TConstraintState TPlaneConstraint::Add(TTarvoCurve& Curve) {
    const TConstraintState S = State(Curve);
    if (S == tarvo::csAbsent) Curve.Constraints().Add(std::make_unique<TPlaneConstraint>());
    return S;
}

TMPlane TPlaneConstraint::Plane() const {
    const double a = FParameter;
    TMVector N;
    switch (FKind) {
        case pkX: N = {1, 0, 0}; break;
        case pkY: N = {0, 1, 0}; break;
        case pkZ: N = {0, 0, 1}; break;
        case pkRoll: N = {0, -std::sin(a), std::cos(a)}; break;
        case pkPitch: N = {std::cos(a), 0, -std::sin(a)}; break;
        case pkYaw: N = {-std::sin(a), std::cos(a), 0}; break;
        default: return {};
    }
    return {N, VectorDot(N, FirstPointOf(Curve()))};
}

double TPlaneConstraint::Value() const {
    if (IsAxisKind(FKind)) return Coordinate(FirstPointOf(Curve()), FKind);
    if (IsAngleKind(FKind)) return FParameter;
    return 0;
}

std::string TPlaneConstraint::KindName() const {
    switch (FKind) {
        case pkX: return "X";
        case pkY: return "Y";
        case pkZ: return "Z";
        case pkRoll: return "Roll Angle";
        case pkPitch: return "Pitch Angle";
        case pkYaw: return "Yaw Angle";
        default: return "Parameter";
    }
}

void TPlaneConstraint::InvalidateCurve() {
    if (TTarvoCurve* C = Curve()) C->Invalidate(false);
}

void TPlaneConstraint::Turn(double Angle) {
    TTarvoCurve* C = Curve();
    if (C == nullptr || C->Count() == 0) return;
    const TMVector O = C->Point(0)->Vector();
    const double Cos = std::cos(Angle), Sin = std::sin(Angle);
    for (int i = 1; i < C->Count(); ++i) {
        TRPoint& P = *C->Point(i);
        const TMVector D = VectorFromTo(O, P.Vector());
        TMVector R = D;
        // Right-handed: y towards z about X, z towards x about Y, x towards y about Z.
        if (FKind == pkRoll) {
            R.Y = D.Y * Cos - D.Z * Sin;
            R.Z = D.Y * Sin + D.Z * Cos;
        } else if (FKind == pkPitch) {
            R.Z = D.Z * Cos - D.X * Sin;
            R.X = D.Z * Sin + D.X * Cos;
        } else if (FKind == pkYaw) {
            R.X = D.X * Cos - D.Y * Sin;
            R.Y = D.X * Sin + D.Y * Cos;
        }
        P.SetVector(VectorAdd(O, R));
    }
}

void TPlaneConstraint::TurnAs(TPlaneKind AngleKind, double Angle) {
    FKind = AngleKind;
    FParameter = 0;
    Turn(Angle);
}

void TPlaneConstraint::SetValue(double X) {
    TTarvoCurve* C = Curve();
    if (IsAxisKind(FKind)) {
        // Compared with the first point as well: Parameter goes stale when the user moves that point.
        if (X == FParameter && X == Value()) return;
        if (C != nullptr)
            for (int i = 0; i < C->Count(); ++i) {
                TRPoint& P = *C->Point(i);
                (FKind == pkX ? P.X : FKind == pkY ? P.Y : P.Z) = X;
            }
    } else {
        if (X == FParameter) return;
        if (IsAngleKind(FKind)) Turn(X - FParameter);
    }
    FParameter = X;
    InvalidateCurve();
}

void TPlaneConstraint::SetKind(TPlaneKind K) {
    if (K == FKind) return;
    const double P = FParameter;
    const TMVector First = FirstPointOf(Curve());
    const auto Pair = [&](TPlaneKind From, TPlaneKind To) { return FKind == From && K == To; };
    if (FKind == pkNone) {
        FParameter = IsAxisKind(K) ? Coordinate(First, K) : 0;
    } else if (Pair(pkX, pkY)) {
        TurnAs(pkYaw, HalfPi);
    } else if (Pair(pkX, pkZ)) {
        TurnAs(pkPitch, HalfPi);
    } else if (Pair(pkX, pkPitch) || Pair(pkY, pkYaw) || Pair(pkZ, pkRoll)) {
        FParameter = 0;
    } else if (Pair(pkX, pkYaw) || Pair(pkY, pkRoll) || Pair(pkZ, pkPitch)) {
        FParameter = HalfPi;
    } else if (Pair(pkY, pkX)) {
        TurnAs(pkYaw, -HalfPi);
    } else if (Pair(pkY, pkZ)) {
        TurnAs(pkRoll, -HalfPi);
    } else if (Pair(pkZ, pkX)) {
        TurnAs(pkPitch, -HalfPi);
    } else if (Pair(pkZ, pkY)) {
        TurnAs(pkRoll, HalfPi);
    } else if (Pair(pkRoll, pkY) || Pair(pkPitch, pkZ) || Pair(pkYaw, pkX)) {
        Turn(HalfPi - P);
    } else if (Pair(pkRoll, pkZ) || Pair(pkPitch, pkX) || Pair(pkYaw, pkY)) {
        Turn(-P);
    } else {
        return;
    }
    FKind = K;
    InvalidateCurve();
}

TPlaneKinds TPlaneConstraint::AllowedKinds() const {
    const auto Kinds = [](std::initializer_list<TPlaneKind> List) {
        TPlaneKinds S;
        for (TPlaneKind K : List) S.set(K);
        return S;
    };
    const TTarvoCurve* C = Curve();
    if (C == nullptr || !C->Constraints().HasOffsetAndPlane()) {
        switch (FKind) {
            case pkNone: return Kinds({pkX, pkY, pkZ, pkRoll, pkPitch, pkYaw});
            case pkX: return Kinds({pkX, pkY, pkZ, pkPitch, pkYaw});
            case pkY: return Kinds({pkX, pkY, pkZ, pkRoll, pkYaw});
            case pkZ: return Kinds({pkX, pkY, pkZ, pkRoll, pkPitch});
            case pkRoll: return Kinds({pkY, pkZ, pkRoll});
            case pkPitch: return Kinds({pkX, pkZ, pkPitch});
            case pkYaw: return Kinds({pkX, pkY, pkYaw});
        }
        return {};
    }
    // With an offset, only planes that the offset lines along its axis cross: the axis's own plane
    // and those turned from it about one of the two other axes.
    const TOffsetAxis Axis = C->Constraints().OffsetConstraint()->Axis();
    TPlaneKind Own, TurnA, TurnB;
    switch (Axis) {
        case oaX: Own = pkX, TurnA = pkPitch, TurnB = pkYaw; break;
        case oaY: Own = pkY, TurnA = pkRoll, TurnB = pkYaw; break;
        case oaZ: Own = pkZ, TurnA = pkRoll, TurnB = pkPitch; break;
        default: return {};
    }
    if (FKind == pkNone || FKind == Own) return Kinds({Own, TurnA, TurnB});
    if (FKind == TurnA) return Kinds({Own, TurnA});
    if (FKind == TurnB) return Kinds({Own, TurnB});
    return {};
}

std::string TPlaneConstraint::GetDescription() const {
    if (IsAxisKind(FKind)) return Format("Plane [%s=%f]", {KindName(), Value()});
    if (IsAngleKind(FKind)) return Format("Plane [%s=%f]", {KindName(), FParameter * 180 / std::numbers::pi});
    return "Plane <undefined>";
}

void TPlaneConstraint::SaveToText(TTextWriter& F) const {
    static const char* const Keys[] = {"", "X", "Y", "Z", "ROLL", "PITCH", "YAW"};
    F.WriteLine(std::string(" Direction=") + Keys[FKind <= pkYaw ? FKind : 0]);
    F.WriteLine(" Parameter=" + FormatWithPoint("%.10f", {FParameter}));
}

void TPlaneConstraint::LoadFromText(TTextReader& F) {
    const std::string Line = F.ReadLine();
    const auto Has = [&Line](const char* Key) { return Line.find(Key) != std::string::npos; };
    const TPlaneKind K = Has("X")       ? pkX
                         : Has("YAW")   ? pkYaw
                         : Has("Y")     ? pkY
                         : Has("Z")     ? pkZ
                         : Has("ROLL")  ? pkRoll
                         : Has("PITCH") ? pkPitch
                                        : pkNone;
    const double P = ParseFloat(Trim(TarvoFieldText(F.ReadLine())));
    FKind = K;
    FParameter = P;
}

void TPlaneConstraint::Assign(const TConstraint& Source) {
    if (const auto* S = dynamic_cast<const TPlaneConstraint*>(&Source)) {
        FKind = S->FKind;
        FParameter = S->FParameter;
    }
}

void TPlaneConstraint::Apply() {
    TTarvoCurve* C = Curve();
    if (FKind == pkNone || C == nullptr || C->Count() == 0) return;
    const TMPlane P = Plane();
    const TOffsetConstraint* Offset = Owner->OffsetConstraint();
    // An axis offset whose reference has another point count does not act: the plane then works as
    // without it, so that no line through a missing reference point is wanted.
    const bool AlongOffset = Offset != nullptr && Offset->Axis() != oaNone &&
                             !(Offset->Axis() != oaVector && Offset->Reference() != nullptr && !Offset->Matches());
    if (AlongOffset) {
        // The offset has set the other coordinates already: each point slides along its line.
        for (int i = 0; i < C->Count(); ++i)
            C->Point(i)->SetVector(IntersectionPointOfLineAndPlane(Offset->Line(i), P));
        return;
    }
    for (int i = 1; i < C->Count(); ++i) C->Point(i)->SetVector(PointOnPlaneClosestToPoint(P, C->Point(i)->Vector()));
}

// ---- TOffsetConstraint ----

TOffsetConstraint::TOffsetConstraint(TTarvoCurve* Curve) : FReference(std::make_unique<TNodeReference>(Curve)) {}

TOffsetConstraint::~TOffsetConstraint() = default;

TConstraintState TOffsetConstraint::State(const TTarvoCurve& Curve) {
    return CurveConstraintState(Curve, Curve.Constraints().HasOffset(), Curve.Constraints().HasPlane());
}

TConstraintState TOffsetConstraint::Add(TTarvoCurve& Curve) {
    const TConstraintState S = State(Curve);
    if (S == tarvo::csAbsent) Curve.Constraints().Add(std::make_unique<TOffsetConstraint>(&Curve));
    return S;
}

void TOffsetConstraint::SetAxis(TOffsetAxis A) {
    if (A == FAxis) return;
    FAxis = A;
    if (Reference() != nullptr)
        if (TTarvoCurve* C = Curve()) C->Invalidate(false);
}

TTarvoCurve* TOffsetConstraint::Reference() const {
    // A curve of that name that depends on this one is refused by the reference: it does not count.
    FReference->GetNode();
    return dynamic_cast<TTarvoCurve*>(FReference->AttachedNode());
}

bool TOffsetConstraint::Matches() const {
    const TTarvoCurve* R = Reference();
    const TTarvoCurve* C = Curve();
    return R != nullptr && C != nullptr && R->Count() == C->Count();
}

TMVector TOffsetConstraint::Direction() const {
    switch (FAxis) {
        case oaX: return {1, 0, 0};
        case oaY: return {0, 1, 0};
        case oaZ: return {0, 0, 1};
        case oaVector:
            if (!Matches() || Curve()->Count() == 0) return {};
            return VectorNormalise(VectorFromTo(Curve()->Point(0)->Vector(), Reference()->Point(0)->Vector()));
        default: return {};
    }
}

TMLine TOffsetConstraint::Line(int I) const {
    const TTarvoCurve* R = Reference();
    if (R == nullptr || I < 0 || I >= R->Count()) return {};
    return {R->Point(I)->Vector(), Direction()};
}

TMVector TOffsetConstraint::ProjectOntoLine(int I, const TMVector& P) const {
    const TMLine L = Line(I);
    if (L.Direction == TMVector{}) return L.Point;
    return PointOnLineClosestToPoint(L, P);
}

void TOffsetConstraint::ListCandidates(std::vector<std::string>& Strings) const {
    Strings.clear();
    const TTarvoCurve* C = Curve();
    if (C == nullptr || C->Manager() == nullptr) return;
    const std::unique_ptr<TNodes> Nodes = C->Manager()->Nodes();
    for (int i = 0; i < Nodes->Count(); ++i) {
        const auto* Candidate = dynamic_cast<const TTarvoCurve*>(Nodes->Items(i));
        if (Candidate != nullptr && !IsDependentNode(C, Candidate) && Candidate->Count() == C->Count())
            Strings.push_back(Candidate->Name);
    }
}

std::string TOffsetConstraint::GetDescription() const {
    const TTarvoCurve* R = Reference();
    if (R == nullptr) return "Offset <no curve>";
    static const char* const AxisTexts[] = {"<no direction>", "in X", "in Y", "in Z", "by Vector"};
    return Format("Offset <- %s %s", {R->Name, AxisTexts[FAxis <= oaVector ? FAxis : 0]});
}

void TOffsetConstraint::SaveToText(TTextWriter& F) const {
    static const char* const Keys[] = {"", "X", "Y", "Z", "V"};
    F.WriteLine(" ReferenceCurve=" + FReference->GetName());
    F.WriteLine(std::string(" Axis=") + Keys[FAxis <= oaVector ? FAxis : 0]);
}

void TOffsetConstraint::LoadFromText(TTextReader& F) {
    const std::string Name = Trim(TarvoFieldText(F.ReadLine()));
    const std::string Axis = Trim(TarvoFieldText(F.ReadLine()));
    const char A = Axis.empty() ? '\0' : Axis[0];
    FAxis = A == 'V' ? oaVector : A == 'X' ? oaX : A == 'Y' ? oaY : A == 'Z' ? oaZ : oaNone;
    FReference->SetName(Name);
}

void TOffsetConstraint::HandleMessage(TNodeMessage& Message) {
    if (dynamic_cast<TDeleteNodeMessage*>(&Message) == nullptr || Message.Node == nullptr ||
        Message.Node != FReference->AttachedNode())
        return;
    // Let go directly rather than through the reference's own handling, which would pass the
    // message back to the curve and so here again.
    FReference->SetNode(nullptr);
    if (Owner != nullptr) Owner->Remove(this);  // frees this constraint
}

void TOffsetConstraint::Assign(const TConstraint& Source) {
    if (const auto* S = dynamic_cast<const TOffsetConstraint*>(&Source)) {
        FAxis = S->FAxis;
        // A curve with a manager takes the reference by name, so that a copy outside the document (an
        // undo snapshot) does not attach itself to the document's curves. It binds without bringing the
        // reference curve up to date: that would move the points its own constraints drive, and an
        // undo step that restores this curve must not change another one.
        const TNode* C = FReference->Owner();
        if (C != nullptr && C->HasManager())
            FReference->BindName(S->FReference->GetName());
        else
            FReference->Assign(*S->FReference);
    }
}

void TOffsetConstraint::Apply() {
    TTarvoCurve* C = Curve();
    if (FAxis == oaNone || !Matches()) return;
    const TTarvoCurve* R = Reference();
    for (int i = 0; i < C->Count(); ++i) {
        TRPoint& P = *C->Point(i);
        const TRPoint& Q = *R->Point(i);
        switch (FAxis) {
            case oaX: P.Y = Q.Y, P.Z = Q.Z; break;
            case oaY: P.X = Q.X, P.Z = Q.Z; break;
            case oaZ: P.X = Q.X, P.Y = Q.Y; break;
            default: P.SetVector(ProjectOntoLine(i, P.Vector())); break;
        }
    }
}

}  // namespace sarnova
