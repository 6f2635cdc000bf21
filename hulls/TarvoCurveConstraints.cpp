// The constraints of the Tarvo curve: the list, the factory, the constraint block and the range
// constraints (straight, blend, knuckle). The plane and offset constraints are in
// TarvoCurvePlaneOffset.cpp.
#include <algorithm>
#include <cmath>

#include "foundation/TextUtils.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/TextFile.h"
#include "hulls/Blend.h"
#include "hulls/TarvoCurve.h"

namespace sarnova {

// ---- Text fields ----

std::string TarvoFieldText(std::string_view Line) {
    const std::size_t Equals = Line.find('=');
    const std::size_t From = Equals == std::string_view::npos ? 0 : Equals + 1;
    return std::string(Line.substr(From, 255));
}

int TarvoFieldInteger(std::string_view Line) { return StrToInt(Trim(TarvoFieldText(Line))); }

// ---- TConstraint ----

TTarvoCurve* TConstraint::Curve() const { return Owner != nullptr ? Owner->Curve() : nullptr; }

// ---- TRangeConstraint ----

bool TRangeConstraint::FitsCurve() const {
    const TTarvoCurve* C = Curve();
    return C != nullptr && FFirst >= 0 && FLast < C->Count() && AllowsRange(FFirst, FLast);
}

TRPoint& TRangeConstraint::PointOf(int Index) const { return *Curve()->Point(Index); }

std::string TRangeConstraint::GetDescription() const {
    return Format("%s : Points[%d -> %d]", {KindText(), FFirst, FLast});
}

void TRangeConstraint::SaveToText(TTextWriter& F) const {
    F.WriteLine(" FirstIndex=" + IntToStr(FFirst));
    F.WriteLine(" LastIndex=" + IntToStr(FLast));
}

void TRangeConstraint::LoadFromText(TTextReader& F) {
    const int First = TarvoFieldInteger(F.ReadLine());
    const int Last = TarvoFieldInteger(F.ReadLine());
    SetRange(First, Last);
}

void TRangeConstraint::HandleMessage(TNodeMessage& Message) {
    const auto* Point = dynamic_cast<TTarvoCurveInsertDeletePointMessage*>(&Message);
    if (Point == nullptr || Point->Node == nullptr || Point->Node != Curve()) return;
    const int I = Point->Index;
    if (dynamic_cast<TTarvoCurveInsertPointMessage*>(&Message) != nullptr) {
        if (FFirst >= I) {
            ++FFirst;
            ++FLast;
        } else if (FLast >= I) {
            ++FLast;
        }
    } else if (dynamic_cast<TTarvoCurveDeletePointMessage*>(&Message) != nullptr) {
        if (I < FFirst) {
            --FFirst;
            --FLast;
        } else if (I <= FLast) {
            // The deleted point was one of ours: the range keeps the points that are left, as long as
            // the class allows so few.
            if (!AllowsRange(FFirst, FLast - 1)) {
                Owner->Remove(this);  // frees this constraint
                return;
            }
            --FLast;
        }
    }
}

void TRangeConstraint::Assign(const TConstraint& Source) {
    if (const auto* R = dynamic_cast<const TRangeConstraint*>(&Source)) SetRange(R->FFirst, R->FLast);
}

void TRangeConstraint::Reverse() {
    const TTarvoCurve* C = Curve();
    if (C == nullptr) return;
    const int n = C->Count();
    SetRange(n - 1 - FLast, n - 1 - FFirst);
}

TConstraintState TRangeConstraint::RangeState(const TTarvoCurve& Curve, int First, int Last,
                                              bool (*IsOfClass)(const TConstraint&), bool (*Allows)(int, int)) {
    const TConstraints& List = Curve.Constraints();
    for (int i = 0; i < List.Count(); ++i) {
        const auto* P = dynamic_cast<const TPointsConstraint*>(List.Items(i));
        if (P == nullptr) continue;
        if (P->FirstIndex() == First && P->LastIndex() == Last && IsOfClass(*P)) return tarvo::csPresent;
        if (P->FirstIndex() < Last && First < P->LastIndex()) return tarvo::csBlocked;
    }
    if (First < 0 || Last >= Curve.Count() || !Allows(First, Last)) return tarvo::csBlocked;
    return tarvo::csAbsent;
}

// ---- Class-level operations ----

template <class T>
TConstraintState TRangeConstraintOf<T>::State(const TTarvoCurve& Curve, int First, int Last) {
    return RangeState(
        Curve, First, Last, [](const TConstraint& C) { return dynamic_cast<const T*>(&C) != nullptr; },
        &T::RangeAllowed);
}

template <class T>
TConstraintState TRangeConstraintOf<T>::StateForSelection(const TTarvoCurve& Curve) {
    const TMarkedRange R = Curve.MarkedRange();
    // Only one unbroken run of marked points is a range.
    if (R.Kind != 2) return tarvo::csBlocked;
    return State(Curve, R.FirstIndex, R.LastIndex);
}

template <class T>
TConstraintState TRangeConstraintOf<T>::AddForSelection(TTarvoCurve& Curve) {
    const TConstraintState S = StateForSelection(Curve);
    if (S == tarvo::csAbsent) {
        const TMarkedRange R = Curve.MarkedRange();
        Curve.Constraints().Add(std::make_unique<T>(R.FirstIndex, R.LastIndex));
    }
    return S;
}

template <class T>
TConstraintState TRangeConstraintOf<T>::Add(TTarvoCurve& Curve, int First, int Last) {
    const TConstraintState S = State(Curve, First, Last);
    if (S == tarvo::csAbsent) Curve.Constraints().Add(std::make_unique<T>(First, Last));
    return S;
}

template <class T>
void TRangeConstraintOf<T>::Remove(TTarvoCurve& Curve, int First, int Last) {
    TConstraints& List = Curve.Constraints();
    for (int i = 0; i < List.Count(); ++i) {
        const auto* C = dynamic_cast<const T*>(List.Items(i));
        if (C != nullptr && C->FirstIndex() == First && C->LastIndex() == Last) {
            List.Delete(i);
            return;
        }
    }
}

template <class T>
void TRangeConstraintOf<T>::RemoveForSelection(TTarvoCurve& Curve) {
    if (StateForSelection(Curve) != tarvo::csPresent) return;
    const TMarkedRange R = Curve.MarkedRange();
    Remove(Curve, R.FirstIndex, R.LastIndex);
}

template class TRangeConstraintOf<TStraightConstraint>;
template class TRangeConstraintOf<TBlendConstraint>;
template class TRangeConstraintOf<TKnuckleConstraint>;

// ---- Apply ----

void TStraightConstraint::Apply() {
    if (!FitsCurve()) return;
    const int First = FirstIndex();
    const int Last = LastIndex();
    const int N = Last - First;
    const TMVector PF = PointOf(First).Vector();
    const TMVector PL = PointOf(Last).Vector();
    const TOffsetConstraint* Offset = Owner->OffsetConstraint();
    if (Offset == nullptr) {
        for (int k = 1; k < N; ++k) PointOf(First + k).SetVector(VectorLerp(PF, PL, static_cast<double>(k) / N));
        return;
    }
    // The offset has copied the other two coordinates from its reference curve: only the one along
    // the offset axis is set, at the point's share of the chord length of the run.
    const TOffsetAxis Axis = Offset->Axis();
    if (Axis != oaX && Axis != oaY && Axis != oaZ) return;
    std::vector<double> Run(static_cast<std::size_t>(N) + 1, 0.0);
    for (int k = 1; k <= N; ++k)
        Run[k] = Run[k - 1] + VectorDistance(PointOf(First + k - 1).Vector(), PointOf(First + k).Vector());
    if (Run[N] == 0) return;
    for (int k = 1; k < N; ++k) {
        const TMVector V = VectorLerp(PF, PL, Run[k] / Run[N]);
        TRPoint& P = PointOf(First + k);
        if (Axis == oaX) P.X = V.X;
        else if (Axis == oaY) P.Y = V.Y;
        else P.Z = V.Z;
    }
}

void TKnuckleConstraint::Apply() {
    if (!FitsCurve()) return;
    const TRPoint& Corner = PointOf(FirstIndex());
    PointOf(FirstIndex() + 1).Assign(Corner);
    PointOf(LastIndex()).Assign(Corner);
}

namespace {

// Mean distance between successive points of the blend at t = i / n, i = 0 .. n.
double MeanSpacing(const TBlendFunction& B, int n) {
    double Sum = 0;
    TMVector Previous = B.PointAt(0);
    for (int i = 1; i <= n; ++i) {
        const TMVector P = B.PointAt(static_cast<double>(i) / n);
        Sum += VectorDistance(Previous, P);
        Previous = P;
    }
    return Sum / n;
}

}  // namespace

void TBlendConstraint::Apply() {
    if (!FitsCurve()) return;
    const TTarvoCurve& C = *Curve();
    const int First = FirstIndex();
    const int Last = LastIndex();
    const int N = Count();
    const TMVector PF = PointOf(First).Vector();
    const TMVector PL = PointOf(Last).Vector();
    const double L = VectorDistance(PF, PL);
    const TMVector Chord = VectorNormalise(VectorFromTo(PF, PL));
    // The unit direction between two control points; where the curve has no point at an index, the
    // chord of the range stands in, turned the way the missing point would have given.
    const auto Direction = [&](int From, int To, const TMVector& Fallback) {
        if (From < 0 || To < 0 || From >= C.Count() || To >= C.Count()) return Fallback;
        return VectorNormalise(VectorFromTo(C.Point(From)->Vector(), C.Point(To)->Vector()));
    };

    if (N == 4) {
        const TMVector D0 = Direction(First - 1, First, Chord);
        PointOf(First + 1).SetVector(VectorAdd(PF, VectorScale(D0, 0.39 * L)));
        const TMVector D3 = Direction(Last + 1, Last, VectorNegate(Chord));
        PointOf(Last - 1).SetVector(VectorAdd(PL, VectorScale(D3, 0.39 * L)));
        return;
    }

    // At the end of a straight run the blend leaves along the straight line; elsewhere along the
    // first (last) interior point, which the user moves to steer the blend.
    const auto EndsStraight = [&](int Index) {
        for (int i = 0; i < Owner->Count(); ++i) {
            const auto* S = dynamic_cast<const TStraightConstraint*>(Owner->Items(i));
            if (S != nullptr && (S->FirstIndex() == Index || S->LastIndex() == Index)) return true;
        }
        return false;
    };
    const TMVector D0 = EndsStraight(First) ? Direction(First - 1, First, Chord) : Direction(First, First + 1, Chord);
    const TMVector D3 = EndsStraight(Last) ? Direction(Last, Last + 1, Chord) : Direction(Last - 1, Last, Chord);

    const int Steps = N - 3;
    TBlendFunction B;
    B.SetEnd(1, PF);
    B.SetEnd(2, D0);
    B.SetEnd(4, PL);
    B.SetEnd(5, D3);
    B.Fit();
    double X = Steps * MeanSpacing(B, Steps) / (N - 1);
    // The first and last interior points sit t from the ends; t settles where it equals the mean
    // spacing of the interior points.
    for (int Pass = 0; Pass < 101; ++Pass) {
        const double T = X;
        B.SetEnd(1, VectorAdd(PF, VectorScale(D0, T)));
        B.SetEnd(4, VectorFromTo(VectorScale(D3, T), PL));
        B.SetEnd(2, VectorScale(D0, 0.8 * L));
        B.SetEnd(5, VectorScale(D3, 0.8 * L));
        B.Fit();
        X = 0.5 * MeanSpacing(B, Steps) + 0.5 * T;
        if (std::fabs(X - T) < 0.001) break;
    }
    for (int j = First + 1; j < Last; ++j)
        PointOf(j).SetVector(B.PointAt(static_cast<double>(j - First - 1) / Steps));
}

// ---- TConstraints ----

TConstraints::~TConstraints() {
    // Freed without invalidating: the curve is going away or replacing this list.
    std::vector<std::unique_ptr<TConstraint>> Items = std::move(FItems);
    FItems.clear();
}

TConstraint* TConstraints::Items(int Index) const {
    if (Index < 0 || Index >= Count()) throw EError(Format("List index out of bounds (%d)", {Index}));
    return FItems[static_cast<std::size_t>(Index)].get();
}

namespace {

template <class T>
T* FirstOfClass(const std::vector<std::unique_ptr<TConstraint>>& Items) {
    for (const auto& C : Items)
        if (auto* Found = dynamic_cast<T*>(C.get())) return Found;
    return nullptr;
}

}  // namespace

TPlaneConstraint* TConstraints::PlaneConstraint() const { return FirstOfClass<TPlaneConstraint>(FItems); }

TOffsetConstraint* TConstraints::OffsetConstraint() const { return FirstOfClass<TOffsetConstraint>(FItems); }

void TConstraints::Install(std::unique_ptr<TConstraint> Constraint) {
    Constraint->Owner = this;
    FItems.push_back(std::move(Constraint));
}

void TConstraints::InvalidateCurve() {
    if (FCurve != nullptr) FCurve->Invalidate(false);
}

void TConstraints::Add(std::unique_ptr<TConstraint> Constraint) {
    if (Constraint == nullptr) return;
    Install(std::move(Constraint));
    Sort();
    InvalidateCurve();
}

void TConstraints::Delete(int Index) {
    Items(Index);  // checks the index
    std::unique_ptr<TConstraint> Gone = std::move(FItems[static_cast<std::size_t>(Index)]);
    FItems.erase(FItems.begin() + Index);
    Gone.reset();
    InvalidateCurve();
}

void TConstraints::Remove(TConstraint* Constraint) {
    for (int i = 0; i < Count(); ++i)
        if (FItems[static_cast<std::size_t>(i)].get() == Constraint) {
            Delete(i);
            return;
        }
}

void TConstraints::Clear() {
    std::vector<std::unique_ptr<TConstraint>> Gone = std::move(FItems);
    FItems.clear();
    Gone.clear();
    InvalidateCurve();
}

void TConstraints::Sort() {
    std::stable_sort(FItems.begin(), FItems.end(),
                     [](const auto& A, const auto& B) { return A->Priority() < B->Priority(); });
}

void TConstraints::Apply() {
    Sort();
    for (const auto& C : FItems) C->Apply();
}

bool TConstraints::AcceptsIndex(int Index) const {
    return std::all_of(FItems.begin(), FItems.end(), [Index](const auto& C) { return C->AcceptsIndex(Index); });
}

void TConstraints::HandleMessage(TNodeMessage& Message) {
    for (int i = Count() - 1; i >= 0; i = std::min(i, Count()) - 1)
        FItems[static_cast<std::size_t>(i)]->HandleMessage(Message);
}

void TConstraints::Reverse() {
    for (const auto& C : FItems) C->Reverse();
}

void TConstraints::Draw(IGraphics& G) {
    for (const auto& C : FItems) C->Draw(G);
}

void TConstraints::Assign(const TConstraints& Source) {
    if (&Source == this) return;
    Clear();
    for (const auto& S : Source.FItems) {
        std::unique_ptr<TConstraint> C = CreateConstraint(S->ClassName(), FCurve);
        if (C == nullptr) continue;
        C->Assign(*S);
        Add(std::move(C));
    }
}

void TConstraints::SaveToText(TTextWriter& F) const {
    F.WriteLine("NumConstraints=" + IntToStr(Count()));
    for (const auto& C : FItems) {
        F.WriteLine(C->ClassName());
        C->SaveToText(F);
    }
}

void TConstraints::LoadFromText(TTextReader& F) {
    const std::string Head = F.ReadLine();
    const int Line = F.LastLineNumber();
    const int N = TarvoFieldInteger(Head);
    if (N < 0)
        throw EGeometryError(Format("TConstraints.LoadFromText - %d is no number of constraints (line %d)", {N, Line}));
    std::vector<std::unique_ptr<TConstraint>> Read;
    for (int i = 0; i < N; ++i) {
        if (F.Eof())
            throw EGeometryError(
                Format("TConstraints.LoadFromText - The block ends after %d of its %d constraints", {i, N}));
        const std::string Name = Trim(F.ReadLine());
        std::unique_ptr<TConstraint> C = CreateConstraint(Name, FCurve);
        if (C == nullptr)
            throw EGeometryError(Format("TConstraints.LoadFromText - Unknown constraint class \"%s\" in line %d",
                                        {Name, F.LastLineNumber()}));
        C->Owner = this;
        C->LoadFromText(F);
        Read.push_back(std::move(C));
    }
    std::vector<std::unique_ptr<TConstraint>> Gone = std::move(FItems);
    FItems = std::move(Read);
    Gone.clear();
    Sort();
    InvalidateCurve();
}

std::unique_ptr<TConstraint> CreateConstraint(std::string_view Name, TTarvoCurve* Curve) {
    const std::string U = UpperCase(Name);
    if (U == "TSTRAIGHTCONSTRAINT" || U == "TSTRAIGHTMODIFIER") return std::make_unique<TStraightConstraint>();
    if (U == "TBLENDCONSTRAINT" || U == "TCURVEMODIFIER") return std::make_unique<TBlendConstraint>();
    if (U == "TKNUCKLECONSTRAINT" || U == "TKNUCKLEMODIFIER") return std::make_unique<TKnuckleConstraint>();
    if (U == "TOFFSETCONSTRAINT" || U == "TOFFSETMODIFIER") return std::make_unique<TOffsetConstraint>(Curve);
    if (U == "TPLANECONSTRAINT" || U == "TPLANEMODIFIER") return std::make_unique<TPlaneConstraint>();
    return nullptr;
}

}  // namespace sarnova
