#include "curvenet/XTConstraints.h"

#include <algorithm>

#include "curvenet/XTCurve.h"
#include "foundation/TextUtils.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/TextFile.h"

namespace sarnova {

// ---- TXTConstraint ----

TXTCurve* TXTConstraint::Curve() const { return dynamic_cast<TXTCurve*>(GetCurve()); }

void TXTConstraint::SaveToText(TTextWriter& F) const { F.WriteLine(ClassName()); }

// ---- TXTConstraints ----

void TXTConstraints::Added(int Index, TXTCurveElement* Element) {
    TXTCurveElements::Added(Index, Element);
    if (auto* C = dynamic_cast<TXTCurve*>(GetCurve())) C->MarkDirty(dlSpans);
}

void TXTConstraints::Removed(int Index, TXTCurveElement* Element) {
    if (auto* C = dynamic_cast<TXTCurve*>(GetCurve())) C->MarkDirty(dlSpans);
}

void TXTConstraints::SortByPriority() {
    SortEntries([](const TXTCurveElement* A, const TXTCurveElement* B) {
        return static_cast<const TXTConstraint*>(A)->Priority() < static_cast<const TXTConstraint*>(B)->Priority();
    });
}

void TXTConstraints::ApplyToPositions() {
    SortByPriority();
    for (int I = 0; I < Count(); ++I) Items(I)->ApplyToPositions();
}

void TXTConstraints::ApplyToTangents() {
    SortByPriority();
    for (int I = 0; I < Count(); ++I) Items(I)->ApplyToTangents();
}

TXTPlaneConstraint* TXTConstraints::PlaneConstraint() const {
    for (int I = 0; I < Count(); ++I)
        if (auto* P = dynamic_cast<TXTPlaneConstraint*>(Items(I))) return P;
    return nullptr;
}

std::unique_ptr<TXTConstraint> TXTConstraints::CreateConstraint(const std::string& Line) const {
    const std::string Name = UpperCase(Trim(Line));
    if (Name == "TXTKNUCKLECONSTRAINT") return std::make_unique<TXTKnuckleConstraint>();
    if (Name == "TXTPLANECONSTRAINT") return std::make_unique<TXTPlaneConstraint>();
    if (Name == "TXTBLENDCONSTRAINT") return std::make_unique<TXTBlendConstraint>();
    if (Name == "TXTCUBICSPLINECONSTRAINT") return std::make_unique<TXTCubicSplineConstraint>();
    if (Name == "TXTSTRAIGHTCONSTRAINT") return std::make_unique<TXTStraightConstraint>();
    if (Name == "TXTPOLYLINECONSTRAINT") return std::make_unique<TXTPolylineConstraint>();
    if (Name == "TXTINTERPOLATECONSTRAINT") return std::make_unique<TXTInterpolateConstraint>();
    if (Name == "TXTOVERRIDESURFACETANGENTCONSTRAINT") return std::make_unique<TXTOverrideSurfaceTangentConstraint>();
    if (Name == "TXTOFFSETCONSTRAINT") return std::make_unique<TXTOffsetConstraint>(dynamic_cast<TXTCurve*>(GetCurve()));
    throw EError("Constraint " + Name + " not found");
}

std::unique_ptr<TXTConstraint> TXTConstraints::CloneConstraint(const TXTConstraint& Constraint) const {
    std::unique_ptr<TXTConstraint> C = CreateConstraint(Constraint.ClassName());
    C->Assign(Constraint);
    return C;
}

void TXTConstraints::Assign(const TXTConstraints& Other) {
    if (&Other == this) return;
    Clear();
    for (int I = 0; I < Other.Count(); ++I) Add(CloneConstraint(*Other.Items(I)));
}

void TXTConstraints::LoadFromText(TTextReader& F) {
    const int N = StrToInt(TextAfterKeyword("=", F.ReadLine()).substr(0, 255));
    for (int I = 0; I < N; ++I) {
        std::unique_ptr<TXTConstraint> C = CreateConstraint(F.ReadLine());
        C->LoadFromText(F);
        Add(std::move(C));
    }
}

void TXTConstraints::SaveToText(TTextWriter& F) const {
    F.WriteLine("NumConstraints=" + IntToStr(Count()));
    for (int I = 0; I < Count(); ++I) Items(I)->SaveToText(F);
}

void TXTConstraints::SurfaceTangentPlane(const TBeadAddress& Address, TXTRibbonTangent& Result) const {
    TXTCurveRepresentation* C = GetCurve();
    Result.Kind = C ? C->GetRibbonKind() : rkNone;
    Result.Plane = NullPlane;
    if (Result.Kind == rkNone || Result.Kind == rkKnuckle) return;
    C->Frenet(Address, Result.Frame);
    const TMVector& P = Result.Frame.Point;
    const TMVector& T = Result.Frame.Tangent;
    // VectorCross(A, B) is B x A: the plane normals below are A x T, right-handed.
    auto SetPlane = [&](const TMVector& Normal) {
        Result.Plane.Normal = Normal;
        Result.Plane.Distance = VectorDot(Normal, P);
    };
    const TXTPlaneConstraint* Plane = PlaneConstraint();
    switch (Result.Kind) {
        case rkX:
        case rkY:
        case rkZ: {
            const TMVector A = Result.Kind == rkX ? TMVector{1, 0, 0} : Result.Kind == rkY ? TMVector{0, 1, 0}
                                                                                            : TMVector{0, 0, 1};
            Result.Reference = A;
            SetPlane(VectorNormalise(VectorCross(T, A)));
            break;
        }
        case rkNormalToCurve:
            if (Plane) {
                const TMVector N = Plane->Plane().Normal;
                Result.Reference = N;
                SetPlane(VectorNormalise(VectorCross(T, N)));
            } else {
                Result.Reference = TMVector{0, 0, 0};
                SetPlane(Result.Frame.Normal);
            }
            break;
        case rkTangentialToCurve:
            if (Plane) {
                Result.Plane = Plane->Plane();
                Result.Reference = Result.Plane.Normal;
            } else {
                SetPlane(Result.Frame.Binormal);
            }
            break;
        default:
            break;
    }
}

// ---- Adding and removing ----

std::vector<int> SelectedVertices(const TXTCurve& Curve) {
    std::vector<int> Result;
    for (int I = 0; I < Curve.PointCount(); ++I)
        if (Curve.PointAt(I)->Selected) Result.push_back(I);
    return Result;
}

int SelectionVertexState(const TXTCurve& Curve, int (*VertexState)(const TXTCurve&, int)) {
    const TXTSelectionRange R = Curve.SelectionRange();
    if (R.Kind == 1) return VertexState(Curve, R.First);
    const std::vector<int> Selected = SelectedVertices(Curve);
    const int State = VertexState(Curve, Selected.front());
    for (int V : Selected)
        if (VertexState(Curve, V) != State) return csNotAllowed;
    return State;
}

void AddConstraint(TXTCurve& Curve, std::unique_ptr<TXTConstraint> Constraint) {
    Curve.Constraints().Add(std::move(Constraint));
}

namespace {

// The first constraint at Vertex that Matches; -1 when none.
template <class Family>
int FindAt(const TXTConstraints& List, int Vertex, bool (*IsKind)(const TXTConstraint*)) {
    for (int I = 0; I < List.Count(); ++I) {
        const auto* C = dynamic_cast<const Family*>(List.Items(I));
        if (C && C->Vertex == Vertex && (!IsKind || IsKind(C))) return I;
    }
    return -1;
}

}  // namespace

void DeletePointConstraintAt(TXTCurve& Curve, int Vertex) {
    if (Vertex < 0 || Vertex >= Curve.PointCount()) return;
    DeletePointConstraintOfKindAt(Curve, Vertex, nullptr);
}

void DeletePointConstraintOfKindAt(TXTCurve& Curve, int Vertex, bool (*IsKind)(const TXTConstraint*)) {
    const int I = FindAt<TXTPointConstraint>(Curve.Constraints(), Vertex, IsKind);
    if (I >= 0) Curve.Constraints().Delete(I);
}

void DeleteRangeConstraintAt(TXTCurve& Curve, int Vertex) {
    const int I = FindAt<TXTRangeConstraint>(Curve.Constraints(), Vertex, nullptr);
    if (I >= 0) Curve.Constraints().Delete(I);
}

int RangeState(const TXTCurve& Curve, int First, int Last, bool (*IsKind)(const TXTConstraint*)) {
    const TXTConstraints& List = Curve.Constraints();
    if (List.HasConstraint<TXTCurveConstraint>()) return csNotAllowed;
    for (int I = 0; I < List.Count(); ++I) {
        const auto* K = dynamic_cast<const TXTKnuckleConstraint*>(List.Items(I));
        if (K && K->Vertex > First && K->Vertex < Last) return csNotAllowed;
    }
    const int I = FindAt<TXTRangeConstraint>(List, First, nullptr);
    if (I < 0) return csAbsent;
    return Last - First == 1 && IsKind(List.Items(I)) ? csPresent : csNotAllowed;
}

int SelectionRangeState(const TXTCurve& Curve, bool (*IsKind)(const TXTConstraint*)) {
    const TXTSelectionRange R = Curve.SelectionRange();
    if (R.Kind != 2) return csNotAllowed;
    return RangeState(Curve, R.First, R.Last, IsKind);
}

void AddRangeConstraint(TXTCurve& Curve, std::unique_ptr<TXTRangeConstraint> Constraint) {
    const TXTSelectionRange R = Curve.SelectionRange();
    if (R.Kind != 2) return;
    Constraint->CreateSpan(R.First, Curve, R.Last);
    AddConstraint(Curve, std::move(Constraint));
}

void RemoveRangeConstraint(TXTCurve& Curve) {
    const TXTSelectionRange R = Curve.SelectionRange();
    if (R.Kind == 2 && R.Last - R.First == 1) DeleteRangeConstraintAt(Curve, R.First);
}

void RemoveCurveConstraint(TXTCurve& Curve, bool (*IsKind)(const TXTConstraint*)) {
    TXTConstraints& List = Curve.Constraints();
    for (int I = List.Count() - 1; I >= 0; --I)
        if (IsKind(List.Items(I))) List.Delete(I);
}

void AddPlaneConstraint(TXTCurve& Curve) {
    if (!Curve.Constraints().HasPlaneConstraint()) AddConstraint(Curve, std::make_unique<TXTPlaneConstraint>());
}

void RemovePlaneConstraint(TXTCurve& Curve) {
    TXTConstraints& List = Curve.Constraints();
    if (TXTPlaneConstraint* P = List.PlaneConstraint()) List.Delete(List.IndexOf(P));
}

}  // namespace sarnova
