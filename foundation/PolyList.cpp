// Lists of polylines and welding.
#include "foundation/PolyList.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <queue>
#include <string>
#include <tuple>

#include "foundation/BSpline.h"
#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "foundation/GeomBox.h"
#include "foundation/TextFile.h"

namespace sarnova {

namespace {

[[noreturn]] void ListIndexError(int Index) {
    throw EError("List index out of bounds (" + std::to_string(Index) + ")");
}

// Order of the station sort: the x of the last point, NaN last, so the order stays well defined.
bool StationLess(double A, double B) {
    if (std::isnan(A)) return false;
    if (std::isnan(B)) return true;
    return A < B;
}

}  // namespace

// ---- TPolylineList ----

TPolylineList::~TPolylineList() = default;

TPolyline* TPolylineList::Items(int Index) {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    return FItems[static_cast<std::size_t>(Index)].get();
}

const TPolyline* TPolylineList::Items(int Index) const {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    return FItems[static_cast<std::size_t>(Index)].get();
}

void TPolylineList::Add(std::unique_ptr<TPolyline> P) {
    if (P) FItems.push_back(std::move(P));
}

void TPolylineList::Insert(int Index, std::unique_ptr<TPolyline> P) {
    if (!P) return;
    if (Index < 0 || Index > Count()) ListIndexError(Index);
    FItems.insert(FItems.begin() + Index, std::move(P));
}

void TPolylineList::Delete(int Index) {
    Items(Index);
    FItems.erase(FItems.begin() + Index);
}

std::unique_ptr<TPolyline> TPolylineList::Remove(const TPolyline* P, int* FormerIndex) {
    const int Index = IndexOf(P);
    if (FormerIndex) *FormerIndex = Index;
    if (Index < 0) return nullptr;
    std::unique_ptr<TPolyline> Result = std::move(FItems[static_cast<std::size_t>(Index)]);
    FItems.erase(FItems.begin() + Index);
    return Result;
}

int TPolylineList::IndexOf(const TPolyline* P) const {
    for (int I = 0; I < Count(); ++I)
        if (FItems[static_cast<std::size_t>(I)].get() == P) return I;
    return -1;
}

void TPolylineList::Clear() { FItems.clear(); }

void TPolylineList::Assign(const TPolylineList& Other) {
    if (&Other == this) return;
    Clear();
    AddCopies(Other);
}

std::unique_ptr<TPolylineList> TPolylineList::Clone() const {
    auto Result = std::make_unique<TPolylineList>();
    Result->Assign(*this);
    return Result;
}

void TPolylineList::AddCopies(const TPolylineList& Other) {
    const int N = Other.Count();
    for (int I = 0; I < N; ++I) Add(Other.Items(I)->Clone());
}

void TPolylineList::TakeFrom(TPolylineList& Other) {
    if (&Other == this) return;
    while (!Other.FItems.empty()) {
        FItems.push_back(std::move(Other.FItems.back()));
        Other.FItems.pop_back();
    }
}

std::unique_ptr<TPolylineList> TPolylineList::Transformed(const TMMatrix& M) const {
    auto Result = std::make_unique<TPolylineList>();
    for (const auto& P : FItems) Result->Add(P->Transformed(M));
    return Result;
}

TMBox TPolylineList::Extents() const {
    TMBox Box = EmptyBox;
    for (const auto& P : FItems) Box = UniteBoxes(Box, P->Extents());
    return Box;
}

void TPolylineList::SortByStation() {
    for (const auto& P : FItems)
        if (P->Count() == 0) ListIndexError(-1);
    std::stable_sort(FItems.begin(), FItems.end(), [](const auto& A, const auto& B) {
        return StationLess(A->Last()->X, B->Last()->X);
    });
}

void TPolylineList::ResetStyles() {
    for (const auto& P : FItems) P->ResetAttributes();
}

void TPolylineList::Draw(IGraphics& G) {
    for (const auto& P : FItems) P->Draw(G);
}

void TPolylineList::DrawOutlines(IGraphics& G) {
    for (const auto& P : FItems) P->DrawOutline(G);
}

void TPolylineList::DrawDirections(IGraphics& G) {
    for (const auto& P : FItems) P->DrawDirection(G);
}

void TPolylineList::SaveToText(TTextWriter& F) {
    F.WriteLine("NumPolylines=" + IntToStr(Count()));
    for (const auto& P : FItems) P->SaveToText(F);
}

void TPolylineList::LoadFromText(TTextReader& F) {
    const std::string Line = F.ReadLine();
    const std::size_t Equals = Line.find('=');
    const std::size_t Start = Equals == std::string::npos ? 0 : Equals + 1;
    int N = 0;
    if (!TryStrToInt(Trim(std::string_view(Line).substr(Start, 255)), N))
        throw EGeometryError("Error in field PolylineList.NumPolylines");
    // One polyline at a time: a count larger than the text ends at the reader's error.
    for (int I = 0; I < N; ++I) {
        auto P = std::make_unique<TPolyline>();
        P->LoadFromText(F);
        Add(std::move(P));
    }
}

void TPolylineList::ExtentAlong(const TMPlane& Plane, double& Min, double& Max) const {
    Min = HugeValue;
    Max = -HugeValue;
    for (const auto& P : FItems) {
        const TPolyline& L = *P;
        for (int I = 0; I < L.Count(); ++I) {
            const double A = VectorDot(Plane.Normal, L.Point(I)->Vector());
            if (A < Min) Min = A;
            if (A > Max) Max = A;
        }
    }
}

// ---- TBSplineList ----

TBSpline* TBSplineList::BSplines(int Index) { return dynamic_cast<TBSpline*>(Items(Index)); }

std::unique_ptr<TBSplineList> TBSplineList::Transformed(const TMMatrix& M) const {
    auto Result = std::make_unique<TBSplineList>();
    for (int I = 0; I < Count(); ++I) {
        const TPolyline* P = Items(I);
        if (const auto* S = dynamic_cast<const TBSpline*>(P))
            Result->Add(S->Transformed(M));
        else
            Result->Add(P->Transformed(M));
    }
    return Result;
}

void TBSplineList::SaveToText(TTextWriter& F) {
    for (int I = 0; I < Count(); ++I) {
        TPolyline* P = Items(I);
        F.WriteLine("[" + P->ClassName() + "]");
        P->SaveToText(F);
        F.WriteLine("");
    }
}

// ---- TBSplines and TBSplineIterator ----

TBSpline* TBSplines::Items(int Index) const {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    return FItems[static_cast<std::size_t>(Index)];
}

int TBSplines::Add(TBSpline* S) {
    FItems.push_back(S);
    return Count() - 1;
}

std::unique_ptr<TBSplineIterator> TBSplines::Iterator() { return std::make_unique<TBSplineIterator>(this); }

bool TBSplineIterator::MoveNext() {
    ++Position;
    if (List) return Position < List->Count();
    if (Splines) return Position < Splines->Count();
    return false;
}

TBSpline* TBSplineIterator::Current() const {
    if (List) return List->BSplines(Position);
    if (Splines) return Splines->Items(Position);
    return nullptr;
}

// ---- Welding ----

double EndGap(const TRPoints& A, const TRPoints& B) {
    return std::min({A.First()->Distance(*B.First()), A.First()->Distance(*B.Last()),
                     A.Last()->Distance(*B.First()), A.Last()->Distance(*B.Last())});
}

std::unique_ptr<TPolyline> TWeld::Join() const { return PolylineA->JoinAtNearestEnds(*PolylineB); }

namespace {

// A k-d tree over fixed points that can be switched off one by one. Each node counts the live points
// below it, so searches skip what is used up.
class TEndTree {
public:
    TEndTree(const std::vector<TMVector>& Points, std::vector<int> Usable)
        : FPoints(Points), FNodeOf(Points.size(), -1), FAlive(Points.size(), 0) {
        for (int P : Usable) FAlive[static_cast<std::size_t>(P)] = 1;
        FNodes.reserve(Usable.size());
        FRoot = Build(Usable, 0, static_cast<int>(Usable.size()), -1);
    }

    bool IsAlive(int P) const { return FAlive[static_cast<std::size_t>(P)] != 0; }

    void Kill(int P) {
        if (!IsAlive(P)) return;
        FAlive[static_cast<std::size_t>(P)] = 0;
        for (int N = FNodeOf[static_cast<std::size_t>(P)]; N >= 0; N = Node(N).Parent) --Node(N).Alive;
    }

    // The nearest live point Q with Accept(Q) closer than Bound, ties to the lower index: Q and its
    // distance, or -1.
    template <typename TAccept>
    std::pair<int, double> Nearest(const TMVector& P, double Bound, const TAccept& Accept) const {
        std::pair<int, double> Best{-1, Bound};
        Search(FRoot, P, Accept, Best);
        return Best;
    }

private:
    struct TNode {
        int Point;
        int Axis;
        int Left = -1;
        int Right = -1;
        int Parent = -1;
        int Alive = 0;
    };

    static double Coordinate(const TMVector& V, int Axis) { return Axis == 0 ? V.X : Axis == 1 ? V.Y : V.Z; }
    TNode& Node(int N) { return FNodes[static_cast<std::size_t>(N)]; }
    const TNode& Node(int N) const { return FNodes[static_cast<std::size_t>(N)]; }
    const TMVector& At(int P) const { return FPoints[static_cast<std::size_t>(P)]; }

    int Build(std::vector<int>& Ids, int Lo, int Hi, int Parent) {
        if (Lo >= Hi) return -1;
        TMBox Box = EmptyBox;
        for (int I = Lo; I < Hi; ++I) ExtendBoxByVector(At(Ids[static_cast<std::size_t>(I)]), Box);
        const double Spread[3] = {Box.Max.X - Box.Min.X, Box.Max.Y - Box.Min.Y, Box.Max.Z - Box.Min.Z};
        const int Axis = static_cast<int>(std::max_element(Spread, Spread + 3) - Spread);
        const int Mid = Lo + (Hi - Lo) / 2;
        std::nth_element(Ids.begin() + Lo, Ids.begin() + Mid, Ids.begin() + Hi, [&](int A, int B) {
            return Coordinate(At(A), Axis) < Coordinate(At(B), Axis);
        });
        const int N = static_cast<int>(FNodes.size());
        FNodes.push_back({Ids[static_cast<std::size_t>(Mid)], Axis});
        Node(N).Parent = Parent;
        Node(N).Alive = Hi - Lo;
        FNodeOf[static_cast<std::size_t>(Node(N).Point)] = N;
        const int Left = Build(Ids, Lo, Mid, N);
        const int Right = Build(Ids, Mid + 1, Hi, N);
        Node(N).Left = Left;
        Node(N).Right = Right;
        return N;
    }

    template <typename TAccept>
    void Search(int N, const TMVector& P, const TAccept& Accept, std::pair<int, double>& Best) const {
        if (N < 0 || Node(N).Alive == 0) return;
        const TNode& Here = Node(N);
        const TMVector& Q = At(Here.Point);
        if (IsAlive(Here.Point) && Accept(Here.Point)) {
            const double D = VectorDistance(P, Q);
            if (D < Best.second || (Best.first >= 0 && D == Best.second && Here.Point < Best.first))
                Best = {Here.Point, D};
        }
        const double Diff = Coordinate(P, Here.Axis) - Coordinate(Q, Here.Axis);
        Search(Diff < 0 ? Here.Left : Here.Right, P, Accept, Best);
        if (std::fabs(Diff) <= Best.second) Search(Diff < 0 ? Here.Right : Here.Left, P, Accept, Best);
    }

    const std::vector<TMVector>& FPoints;
    std::vector<TNode> FNodes;
    std::vector<int> FNodeOf;
    std::vector<char> FAlive;
    int FRoot = -1;
};

// Which pair of ends JoinAtNearestEnds joins: 0 first-first, 1 last-first, 2 first-last, 3 last-last
// (the first of equals).
int NearestEndsCase(const TPolyline& A, const TPolyline& B) {
    const double D[4] = {A.First()->Distance(*B.First()), A.Last()->Distance(*B.First()),
                         A.First()->Distance(*B.Last()), A.Last()->Distance(*B.Last())};
    return static_cast<int>(std::min_element(D, D + 4) - D);
}

}  // namespace

struct TWelds::TState {
    // Chain K's ends are end points Ends[K][0] (its first point) and Ends[K][1] (its last).
    std::vector<std::unique_ptr<TPolyline>> Chains;
    std::vector<std::array<int, 2>> Ends;
    std::vector<int> Owner;
    std::vector<TMVector> EndPoints;
};

TWelds::TWelds(TPolylineList& List) : FPolylines(List), FLimited(false), FTolerance(0) {}

TWelds::TWelds(TPolylineList& List, double Tolerance) : FPolylines(List), FLimited(true), FTolerance(Tolerance) {}

TWelds::~TWelds() = default;

void TWelds::WeldAll() {
    TState S;
    S.Chains = std::move(FPolylines.FItems);
    FPolylines.FItems.clear();
    // Whatever happens, the list gets back every polyline still standing: the untouched ones in their
    // order, then the joined ones in the order they were made.
    struct TRestore {
        TState& S;
        TPolylineList& List;
        ~TRestore() {
            for (auto& P : S.Chains)
                if (P) List.FItems.push_back(std::move(P));
        }
    } Restore{S, FPolylines};

    const int N = static_cast<int>(S.Chains.size());
    std::vector<int> Usable;
    for (int C = 0; C < N; ++C) {
        const TPolyline& P = *S.Chains[static_cast<std::size_t>(C)];
        S.Ends.push_back({2 * C, 2 * C + 1});
        S.Owner.push_back(C);
        S.Owner.push_back(C);
        S.EndPoints.push_back(P.Count() > 0 ? P.First()->Vector() : TMVector{});
        S.EndPoints.push_back(P.Count() > 0 ? P.Last()->Vector() : TMVector{});
        if (P.Count() == 0) continue;
        for (int E : {2 * C, 2 * C + 1}) {
            const TMVector& V = S.EndPoints[static_cast<std::size_t>(E)];
            if (std::isfinite(V.X) && std::isfinite(V.Y) && std::isfinite(V.Z)) Usable.push_back(E);
        }
    }
    TEndTree Tree(S.EndPoints, Usable);
    // Beyond 1e33 JoinAtNearestEnds finds no ends to join.
    const double Bound = FLimited ? FTolerance : 1e33;

    // Each live end keeps at least one entry no larger than the distance to its nearest partner.
    // Partners only ever drop out, so an entry whose partner is gone is simply looked up again when
    // it comes to the top, and the first valid entry on top is the closest pair of all.
    using TEntry = std::tuple<double, int, int, int, int>;  // gap, lower end, higher end, end, partner
    std::priority_queue<TEntry, std::vector<TEntry>, std::greater<TEntry>> Queue;
    auto Offer = [&](int E) {
        const auto [Q, D] = Tree.Nearest(S.EndPoints[static_cast<std::size_t>(E)], Bound, [&](int Q) {
            return S.Owner[static_cast<std::size_t>(Q)] != S.Owner[static_cast<std::size_t>(E)];
        });
        if (Q >= 0) Queue.emplace(D, std::min(E, Q), std::max(E, Q), E, Q);
    };
    for (int E : Usable) Offer(E);

    while (!Queue.empty()) {
        const auto [Gap, Lo, Hi, E, Q] = Queue.top();
        Queue.pop();
        if (!Tree.IsAlive(E)) continue;
        if (!Tree.IsAlive(Q) || S.Owner[static_cast<std::size_t>(Q)] == S.Owner[static_cast<std::size_t>(E)]) {
            Offer(E);
            continue;
        }
        const int A = std::min(S.Owner[static_cast<std::size_t>(E)], S.Owner[static_cast<std::size_t>(Q)]);
        const int B = std::max(S.Owner[static_cast<std::size_t>(E)], S.Owner[static_cast<std::size_t>(Q)]);
        TPolyline& PA = *S.Chains[static_cast<std::size_t>(A)];
        TPolyline& PB = *S.Chains[static_cast<std::size_t>(B)];
        const TWeld W(&PA, EndGap(PA, PB), &PB);
        auto J = W.Join();
        if (!J) continue;
        const std::array<int, 2> EA = S.Ends[static_cast<std::size_t>(A)];
        const std::array<int, 2> EB = S.Ends[static_cast<std::size_t>(B)];
        // The joined ends are used up; the far ends become the new polyline's first and last.
        std::array<int, 2> Used, Kept;
        switch (NearestEndsCase(PA, PB)) {
            case 0: Used = {EA[0], EB[0]}; Kept = {EA[1], EB[1]}; break;
            case 1: Used = {EA[1], EB[0]}; Kept = {EA[0], EB[1]}; break;
            case 2: Used = {EA[0], EB[1]}; Kept = {EB[0], EA[1]}; break;
            default: Used = {EA[1], EB[1]}; Kept = {EB[0], EA[0]}; break;
        }
        for (int U : Used) Tree.Kill(U);
        const int K = static_cast<int>(S.Chains.size());
        S.Chains[static_cast<std::size_t>(A)].reset();
        S.Chains[static_cast<std::size_t>(B)].reset();
        S.Chains.push_back(std::move(J));
        S.Ends.push_back(Kept);
        for (int End : Kept) S.Owner[static_cast<std::size_t>(End)] = K;
    }
}

std::unique_ptr<TPolylineList> WeldAllPolylines(const TPolylineList& List) {
    auto Result = List.Clone();
    TWelds(*Result).WeldAll();
    return Result;
}

std::unique_ptr<TPolylineList> WeldPolylinesWithin(const TPolylineList& List, double Tolerance) {
    auto Result = List.Clone();
    TWelds(*Result, Tolerance).WeldAll();
    return Result;
}

std::unique_ptr<TPolyline> JoinPolylines(const TPolylineList& List) {
    auto Welded = WeldAllPolylines(List);
    return Welded->Remove(Welded->First());
}

}  // namespace sarnova
