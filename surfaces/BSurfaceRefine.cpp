// Refinement works row by row: every row of control points along the refined direction is a B-spline
// curve with that direction's order and knots, and the curve kernel's operation on it gives the new
// row. The new knots depend on the knots alone, so every row comes back with the same vector.
#include "surfaces/BSurfaceRefine.h"

#include <algorithm>
#include <string>
#include <vector>

#include "foundation/BSplineOps.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"

namespace sarnova {

namespace {

using TRows = std::vector<std::unique_ptr<TBSpline>>;

// The data of one direction of a surface: Direction 0 is u, any other v.
struct TDirection {
    const TBSplineSurface& S;
    int Direction;

    bool IsU() const { return Direction == 0; }
    int Count() const { return IsU() ? S.NumU() : S.NumV(); }
    int Across() const { return IsU() ? S.NumV() : S.NumU(); }
    int Order() const { return IsU() ? S.OrderU() : S.OrderV(); }
    const TKnotArray& Knots() const { return IsU() ? S.KnotsU() : S.KnotsV(); }
    double Knot(int I) const { return Knots()[static_cast<std::size_t>(I)]; }  // 0-based
    // Control point Index along the direction in row Row across it.
    const TRPoint& Point(int Index, int Row) const {
        const TMesh& Net = S;
        return IsU() ? Net.Point(Index, Row) : Net.Point(Row, Index);
    }
    const char* Name() const { return IsU() ? "U" : "V"; }
};

void CheckResultSize(const char* Routine, long long Points, int Order) {
    if (Points + Order > MaxKnots)
        throw EGeometryError(Format("%s - %d control points of order %d need %d knots, more than the limit of %d",
                                    {Routine, Points, Order, Points + Order, MaxKnots}));
}

// Row Row of the direction as a curve with stored knots. A surface without rows across the direction
// still gives one row (of default points), so the new knots can be computed.
std::unique_ptr<TBSpline> RowCurve(const TDirection& D, int Row) {
    auto Curve = std::make_unique<TBSpline>(0);
    for (int i = 0; i < D.Count(); ++i) Curve->AddVector(D.Point(i, Row).Vector());
    Curve->SetOrder(D.Order());
    Curve->KnotType = ktNonUniform;
    for (int i = 1; i <= MaxKnots; ++i) Curve->SetKnot(i, D.Knot(i - 1));
    return Curve;
}

template <typename Op>
TRows MapRows(const TDirection& D, Op Operation) {
    TRows Rows;
    for (int r = 0; r < std::max(D.Across(), 1); ++r) Rows.push_back(Operation(RowCurve(D, r)));
    return Rows;
}

// Makes the rows Target's net along Direction, with their order and knots. The knots become stored
// ones: NonUniform, or Custom with its limits for a Custom surface (the parameters are unchanged).
void StoreRows(TBSplineSurface& Target, int Direction, const TRows& Rows) {
    const TBSpline& First = *Rows.front();
    const int n = First.Count();
    const int Across = Direction == 0 ? Target.NumV() : Target.NumU();
    TMesh Net(Direction == 0 ? n : Across, Direction == 0 ? Across : n);
    for (int r = 0; r < Across; ++r)
        for (int i = 0; i < n; ++i) {
            const TMVector P = static_cast<const TBSpline&>(*Rows[static_cast<std::size_t>(r)]).Point(i)->Vector();
            (Direction == 0 ? Net.Point(i, r) : Net.Point(r, i)).SetVector(P);
        }
    static_cast<TMesh&>(Target).Assign(Net);
    if (Direction == 0) {
        Target.SetOrderU(First.GetOrder());
        Target.SetKnotsU(First.Knots());
    } else {
        Target.SetOrderV(First.GetOrder());
        Target.SetKnotsV(First.Knots());
    }
    if (Target.KnotType != ktCustom) Target.KnotType = ktNonUniform;
}

// Inserts the values of X into the direction's knots in one pass.
void RefineDirection(TBSplineSurface& S, int Direction, std::span<const double> X, const char* Routine) {
    S.UpdateKnots();
    if (X.empty()) return;
    const TDirection D{S, Direction};
    const int n = D.Count();
    const int p = D.Order() - 1;
    for (const double x : X)
        if (p < 0 || n <= p || !(D.Knot(p) <= x && x <= D.Knot(n)))
            throw EGeometryError(Format("%s - Knot %g lies outside the parameter range", {Routine, x}));
    CheckResultSize(Routine, n + static_cast<long long>(X.size()), D.Order());
    const TRows Rows = MapRows(D, [X](std::unique_ptr<TBSpline> Row) {
        Row->RefineKnots(X);
        return Row;
    });
    StoreRows(S, Direction, Rows);
}

void InsertKnotIn(TBSplineSurface& S, int Direction, double T, const char* Routine) {
    S.UpdateKnots();
    const TDirection D{S, Direction};
    const int n = D.Count();
    const int k = D.Order();
    if (n + k < 1 || !(T > D.Knot(0) && T < D.Knot(n + k - 1))) return;
    // The rows s - p .. s around the span s holding T must exist.
    if (k < 1 || n < k || !(D.Knot(k - 1) <= T && T < D.Knot(n)))
        throw EGeometryError(std::string(Routine) + " - Unable to insert Knot, Index outside of range was accessed");
    const double X[1] = {T};
    RefineDirection(S, Direction, X, Routine);
}

std::unique_ptr<TBSplineSurface> RaiseDegree(TBSplineSurface& S, int Direction, int NewOrder, const char* Message) {
    S.UpdateKnots();
    const TDirection D{S, Direction};
    if (NewOrder <= D.Order()) throw EGeometryError(Message);
    auto Result = CloneBSplineSurface(S);
    const TRows Rows = MapRows(D, [NewOrder](std::unique_ptr<TBSpline> Row) { return Row->RaiseOrder(NewOrder); });
    StoreRows(*Result, Direction, Rows);
    return Result;
}

}  // namespace

void TBSplineSurface::InsertKnotU(double T) { InsertKnotIn(*this, 0, T, "TBSplineSurface.InsertKnotU"); }

void TBSplineSurface::InsertKnotV(double T) { InsertKnotIn(*this, 1, T, "TBSplineSurface.InsertKnotV"); }

void TBSplineSurface::RefineKnotsU(std::span<const double> X) { RefineDirection(*this, 0, X, "TBSplineSurface.RefineKnotsU"); }

void TBSplineSurface::RefineKnotsV(std::span<const double> X) { RefineDirection(*this, 1, X, "TBSplineSurface.RefineKnotsV"); }

std::unique_ptr<TBSplineSurface> TBSplineSurface::SubDivide(int Direction) {
    if (Direction != 0 && Direction != 1) return nullptr;
    UpdateKnots();
    const TDirection D{*this, Direction};
    const int n = D.Count();
    const int k = D.Order();
    if (k < 1 || n < k) return nullptr;
    int Spans = 0;
    for (int s = k - 1; s < n; ++s)
        if (D.Knot(s) < D.Knot(s + 1)) ++Spans;
    if (Spans == 0) return nullptr;
    CheckResultSize("TBSplineSurface.SubDivide", n + static_cast<long long>(Spans), k);
    auto Result = CloneBSplineSurface(*this);
    StoreRows(*Result, Direction, MapRows(D, [](std::unique_ptr<TBSpline> Row) { return Row->Subdivide(); }));
    // Halving unit spans gives unit spans again at twice the parameter: the Open knots of the new net.
    if (KnotType == ktOpen) {
        Result->KnotType = ktOpen;
        Result->UpdateKnots();
    }
    return Result;
}

std::unique_ptr<TBSplineSurface> BSplineSurfaceRaiseDegreeU(TBSplineSurface& S, int NewOrder) {
    return RaiseDegree(S, 0, NewOrder,
                       "BSplineSurfaceRaiseDegreeU - Order must be greater than existing BSpline Surface (U Order)");
}

std::unique_ptr<TBSplineSurface> BSplineSurfaceRaiseDegreeV(TBSplineSurface& S, int NewOrder) {
    return RaiseDegree(S, 1, NewOrder,
                       "BSplineSurfaceRaiseDegreeV - Order must be greater than existing BSpline Surface (V Order)");
}

// ---- Knuckles ----

bool TBSplineSurface::CanKnuckleU(int I) const { return KnotType == ktOpen && I >= 1 && I < NumU() - 1; }

bool TBSplineSurface::CanKnuckleV(int J) const { return KnotType == ktOpen && J >= 1 && J < NumV() - 1; }

bool TBSplineSurface::IsKnuckleU(int I) { return KnotType == ktOpen && FindKnuckle(0, I).Found; }

bool TBSplineSurface::IsKnuckleV(int J) { return KnotType == ktOpen && FindKnuckle(1, J).Found; }

TKnuckleRun TBSplineSurface::FindKnuckle(int Direction, int Index) {
    TKnuckleRun Run;
    if (Direction != 0 && Direction != 1) return Run;
    UpdateKnots();
    const TDirection D{*this, Direction};
    const int k = D.Order();
    // Order 2 creases at every line already: there is nothing to find.
    if (k < 3) return Run;
    const int w = k - 2;
    const int Lo = std::max(Index - w, 1);
    const int Hi = std::min(Index + w, D.Count() - 2);
    for (int f = Lo; f + w <= Hi; ++f) {
        bool Equal = true;
        for (int r = 0; r < std::max(D.Across(), 1) && Equal; ++r)
            for (int m = f + 1; m <= f + w && Equal; ++m) Equal = D.Point(m, r).IsEqual(D.Point(f, r));
        if (Equal) return {f, f + w, true};
    }
    return Run;
}

namespace {

// Removes the knuckle near Index, or makes one at Index (k - 2 copies of line Index after it).
template <typename Insert, typename Delete, typename Copy>
void SetKnuckle(TBSplineSurface& S, int Direction, int Index, bool On, bool Allowed, Insert InsertLine,
                Delete DeleteLine, Copy CopyLine) {
    if (On) {
        // A knuckle needs lines on both sides: elsewhere the copies would land outside the net.
        if (!Allowed) return;
        const TDirection D{S, Direction};
        const int k = D.Order();
        if (k < 3) return;
        CheckResultSize("TBSplineSurface.SetKnuckle", D.Count() + static_cast<long long>(k - 2), k);
        for (int c = 0; c < k - 2; ++c) InsertLine(Index + 1);
        for (int m = Index + 1; m <= Index + k - 2; ++m) CopyLine(Index, m);
    } else {
        const TKnuckleRun Run = S.FindKnuckle(Direction, Index);
        for (int c = 0; c < Run.Last - Run.First; ++c) DeleteLine(Run.First + 1);
    }
}

}  // namespace

void TBSplineSurface::SetKnuckleU(int I, bool On) {
    if (KnotType != ktOpen || IsKnuckleU(I) == On) return;
    SetKnuckle(
        *this, 0, I, On, CanKnuckleU(I), [this](int Index) { InsertU(Index); }, [this](int Index) { DeleteU(Index); },
        [this](int From, int To) {
            for (int j = 0; j < NumV(); ++j) SetPoint(To, j, Point(From, j));
        });
}

void TBSplineSurface::SetKnuckleV(int J, bool On) {
    if (KnotType != ktOpen || IsKnuckleV(J) == On) return;
    SetKnuckle(
        *this, 1, J, On, CanKnuckleV(J), [this](int Index) { InsertV(Index); }, [this](int Index) { DeleteV(Index); },
        [this](int From, int To) {
            for (int i = 0; i < NumU(); ++i) SetPoint(i, To, Point(i, From));
        });
}

}  // namespace sarnova
