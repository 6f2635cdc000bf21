// Points and owned point lists.
#include "foundation/Geom.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "foundation/Errors.h"
#include "foundation/SlotPool.h"

namespace sarnova {

namespace {

[[noreturn]] void ListIndexError(int Index) {
    throw EError("List index out of bounds (" + std::to_string(Index) + ")");
}

}  // namespace

// ---- TRPoint ----

void* TRPoint::operator new(std::size_t Size) { return PooledNew<TRPoint>(Size); }

void TRPoint::operator delete(void* P, std::size_t Size) noexcept { PooledDelete<TRPoint>(P, Size); }

std::unique_ptr<TRPoint> TRPoint::Clone() const {
    auto P = std::make_unique<TRPoint>();
    P->Assign(*this);
    return P;
}

TRPoint& TRPoint::Assign(const TRPoint& B) {
    X = B.X;
    Y = B.Y;
    Z = B.Z;
    W = B.W;
    Tag = B.Tag;
    T = B.T;
    return *this;
}

TRPoint& TRPoint::SetVector(const TMVector& V) {
    SetXYZ(V.X, V.Y, V.Z);
    return *this;
}

std::unique_ptr<TRPoint> TRPoint::Transformed(const TMMatrix& M) const {
    auto P = std::make_unique<TRPoint>(MatrixTransformPoint(M, Vector()));
    P->W = W;
    P->Tag = Tag;
    return P;
}

double TRPoint::Distance(const TRPoint& B) const { return VectorDistance(Vector(), B.Vector()); }

bool TRPoint::IsEqual(const TRPoint& B) const { return PointsEqual(*this, B, DefaultTolerance); }

std::unique_ptr<TRPoint> TRPoint::Add(const TRPoint& B) const { return NewRPoint(X + B.X, Y + B.Y, Z + B.Z); }

std::unique_ptr<TRPoint> TRPoint::Subtract(const TRPoint& B) const {
    return NewRPoint(X - B.X, Y - B.Y, Z - B.Z);
}

std::unique_ptr<TRPoint> TRPoint::MidPoint(const TRPoint& B) const {
    return NewRPoint((X + B.X) / 2, (Y + B.Y) / 2, (Z + B.Z) / 2);
}

void TRPoint::Scale(double F) {
    X *= F;
    Y *= F;
    Z *= F;
}

double TRPoint::Dot(const TRPoint& B) const { return X * B.X + Y * B.Y + Z * B.Z; }

std::unique_ptr<TRPoint> TRPoint::Cross(const TRPoint& B) const {
    return NewRPointFromVector(VectorCross(Vector(), B.Vector()));
}

double TRPoint::Length() const { return std::sqrt(Dot(*this)); }

void TRPoint::Normalise() {
    const double L = Length();
    if (L > 0) {
        X /= L;
        Y /= L;
        Z /= L;
    }
}

double TRPoint::SignedAngle(const TRPoint& B, const TRPoint& N) const {
    TRPoint UA(Vector());
    TRPoint UB(B.Vector());
    UA.Normalise();
    UB.Normalise();
    const double D = UA.Dot(UB);
    const int S = Sign(UA.Cross(UB)->Dot(N));
    if (std::fabs(D + 1) < 1e-10) return std::numbers::pi;
    // Rounding can push the dot product of two unit vectors just past 1.
    return S * std::acos(std::clamp(D, -1.0, 1.0));
}

// ---- Free routines on points ----

std::unique_ptr<TRPoint> NewRPoint(double X, double Y, double Z) {
    auto P = std::make_unique<TRPoint>();
    P->SetXYZ(X, Y, Z);
    return P;
}

std::unique_ptr<TRPoint> NewRPointFromVector(const TMVector& V) { return std::make_unique<TRPoint>(V); }

bool PointsEqual(const TRPoint& A, const TRPoint& B, double Tol) {
    return VectorsEqualWithin(A.Vector(), B.Vector(), Tol);
}

int ComparePoints(const TRPoint& A, const TRPoint& B) {
    const double Pairs[3][2] = {{A.X, B.X}, {A.Y, B.Y}, {A.Z, B.Z}};
    for (const auto& P : Pairs) {
        if (std::fabs(P[0] - P[1]) >= DefaultTolerance) return P[0] >= P[1] ? 1 : -1;
    }
    return 0;
}

double PointCoordinate(const TRPoint& P, std::uint8_t Index) {
    switch (Index) {
        case 0: return P.X;
        case 1: return P.Y;
        case 2: return P.Z;
        case 3: return P.W;
        default: return 0;
    }
}

std::unique_ptr<TRPoint> InterpolatePoints(const TRPoint& A, const TRPoint& B, std::uint8_t Axis,
                                           double Value) {
    if (Axis > 2) return nullptr;
    const double AC = PointCoordinate(A, Axis);
    const double BC = PointCoordinate(B, Axis);
    if (!Between(AC, BC, Value) || AC == BC) throw EGeometryError("Interpolation of TRPoints out of Range");
    const double F = (Value - AC) / (BC - AC);
    auto P = NewRPoint(A.X + F * (B.X - A.X), A.Y + F * (B.Y - A.Y), A.Z + F * (B.Z - A.Z));
    // The selected coordinate is exactly the requested value, not a rounded interpolation.
    (Axis == 0 ? P->X : Axis == 1 ? P->Y : P->Z) = Value;
    return P;
}

namespace {

// Crossing of lines AB and CD seen in the plane of coordinates I and J; coordinate K is interpolated
// along AB by I, or by J when AB is perpendicular to I.
std::unique_ptr<TRPoint> IntersectLinesIn(const TRPoint& A, const TRPoint& B, const TRPoint& C,
                                          const TRPoint& D, std::uint8_t I, std::uint8_t J, std::uint8_t K) {
    const auto At = [](const TRPoint& P, std::uint8_t Axis) { return PointCoordinate(P, Axis); };
    double U = 0, V = 0;  // both lines vertical: left at the origin
    LinesIntersection2D(At(A, I), At(A, J), At(B, I), At(B, J), At(C, I), At(C, J), At(D, I), At(D, J), U, V);
    const double W = At(A, I) != At(B, I)
                         ? At(B, K) + (U - At(B, I)) / (At(A, I) - At(B, I)) * (At(A, K) - At(B, K))
                         : At(B, K) + (V - At(B, J)) / (At(A, J) - At(B, J)) * (At(A, K) - At(B, K));
    double R[3];
    R[I] = U;
    R[J] = V;
    R[K] = W;
    return NewRPoint(R[0], R[1], R[2]);
}

}  // namespace

std::unique_ptr<TRPoint> IntersectLinesXY(const TRPoint& A, const TRPoint& B, const TRPoint& C,
                                          const TRPoint& D) {
    return IntersectLinesIn(A, B, C, D, 0, 1, 2);
}

std::unique_ptr<TRPoint> IntersectLinesYZ(const TRPoint& A, const TRPoint& B, const TRPoint& C,
                                          const TRPoint& D) {
    return IntersectLinesIn(A, B, C, D, 1, 2, 0);
}

// ---- TRPoints ----

TRPoints::~TRPoints() { FreePoints(); }

namespace {

// The block of a point list: one word of capacity, then the pointers.
std::uintptr_t* PointBlock(TRPoint** Points) { return reinterpret_cast<std::uintptr_t*>(Points) - 1; }

std::uint32_t PointCapacity(TRPoint** Points) {
    return Points == nullptr ? 0 : static_cast<std::uint32_t>(*PointBlock(Points));
}

}  // namespace

void TRPoints::Grow(std::uint32_t Capacity) {
    if (Capacity <= PointCapacity(FPoints)) return;
    if (Capacity > static_cast<std::uint32_t>(std::numeric_limits<int>::max())) throw std::bad_alloc();
    auto* Block = new std::uintptr_t[std::size_t{Capacity} + 1];
    Block[0] = Capacity;
    auto** Points = reinterpret_cast<TRPoint**>(Block + 1);
    if (FCount > 0) std::memcpy(Points, FPoints, FCount * sizeof(TRPoint*));
    if (FPoints != nullptr) delete[] PointBlock(FPoints);
    FPoints = Points;
}

void TRPoints::FreePoints() noexcept {
    if (FPoints == nullptr) return;
    for (std::uint32_t I = 0; I < FCount; ++I) delete FPoints[I];
    delete[] PointBlock(FPoints);
    FPoints = nullptr;
    FCount = 0;
}

void TRPoints::ThrowIndexError(int Index) { ListIndexError(Index); }

TRPoint* TRPoints::Point(int Index) {
    CheckIndex(Index);
    return FPoints[Index];
}

TRPoint* TRPoints::First() {
    CheckIndex(0);
    return FPoints[0];
}

const TRPoint* TRPoints::First() const {
    CheckIndex(0);
    return FPoints[0];
}

TRPoint* TRPoints::Last() {
    CheckIndex(Count() - 1);
    return FPoints[FCount - 1];
}

const TRPoint* TRPoints::Last() const {
    CheckIndex(Count() - 1);
    return FPoints[FCount - 1];
}

int TRPoints::Add(std::unique_ptr<TRPoint> P) {
    if (!P) throw EError("TRPoints.Add - no point");
    if (FCount == PointCapacity(FPoints)) Grow(std::max<std::uint32_t>(4, 2 * FCount));
    FPoints[FCount++] = P.release();
    return Count() - 1;
}

void TRPoints::Reserve(int Capacity) {
    if (Capacity > 0) Grow(static_cast<std::uint32_t>(Capacity));
}

void TRPoints::Insert(int Index, std::unique_ptr<TRPoint> P) {
    if (Index < 0 || Index > Count()) ListIndexError(Index);
    if (!P) throw EError("TRPoints.Insert - no point");
    if (FCount == PointCapacity(FPoints)) Grow(std::max<std::uint32_t>(4, 2 * FCount));
    std::memmove(FPoints + Index + 1, FPoints + Index, (FCount - static_cast<std::uint32_t>(Index)) * sizeof(TRPoint*));
    FPoints[Index] = P.release();
    ++FCount;
}

std::unique_ptr<TRPoint> TRPoints::Remove(const TRPoint* P, int* FormerIndex) {
    const auto It = std::find(FPoints, FPoints + FCount, P);
    const bool Found = P != nullptr && It != FPoints + FCount;
    if (FormerIndex) *FormerIndex = Found ? static_cast<int>(It - FPoints) : -1;
    if (!Found) return nullptr;
    std::unique_ptr<TRPoint> Taken(*It);
    std::memmove(It, It + 1, static_cast<std::size_t>(FPoints + FCount - It - 1) * sizeof(TRPoint*));
    --FCount;
    return Taken;
}

void TRPoints::Delete(int Index) {
    CheckIndex(Index);
    std::unique_ptr<TRPoint> Freed(FPoints[Index]);
    std::memmove(FPoints + Index, FPoints + Index + 1, (FCount - static_cast<std::uint32_t>(Index) - 1) * sizeof(TRPoint*));
    --FCount;
}

void TRPoints::Exchange(int I, int J) {
    CheckIndex(I);
    CheckIndex(J);
    std::swap(FPoints[I], FPoints[J]);
}

void TRPoints::Clear() {
    OwnColors = false;
    Filled = false;
    FillColor = clNone;
    LineColor = clWhite;
    FreePoints();
}

void TRPoints::ResetAttributes() {
    OwnColors = false;
    Filled = false;
    FillColor = 0;
    LineColor = clWhite;
}

void TRPoints::Assign(const TRPoints& Source) {
    // Clearing first would lose the points when a list is assigned to itself.
    if (&Source == this) return;
    Clear();
    Reserve(Source.Count());
    for (std::uint32_t I = 0; I < Source.FCount; ++I) Add(Source.FPoints[I]->Clone());
    Filled = Source.Filled;
    OwnColors = Source.OwnColors;
    FillColor = Source.FillColor;
    LineColor = Source.LineColor;
}

std::unique_ptr<TRPoints> TRPoints::Transformed(const TMMatrix& M) const {
    auto Result = std::make_unique<TRPoints>();
    Result->Reserve(Count());
    for (std::uint32_t I = 0; I < FCount; ++I) Result->Add(FPoints[I]->Transformed(M));
    Result->Filled = Filled;
    Result->OwnColors = OwnColors;
    Result->FillColor = FillColor;
    Result->LineColor = LineColor;
    return Result;
}

std::unique_ptr<IMVectorIterator> TRPoints::Iterator() { return std::make_unique<TRPointsIterator>(*this); }

TMarkedRange TRPoints::MarkedRange() const {
    TMarkedRange R;
    int MarkedCount = 0;
    for (int I = 0; I < Count(); ++I) {
        if (!FPoints[I]->Marked) continue;
        if (MarkedCount == 0) R.FirstIndex = I;
        R.LastIndex = I;
        ++MarkedCount;
    }
    if (MarkedCount == 0)
        R.Kind = 0;
    else if (MarkedCount == 1)
        R.Kind = 1;
    else
        R.Kind = R.LastIndex - R.FirstIndex + 1 == MarkedCount ? 2 : 3;
    return R;
}

// ---- TRPointsIterator ----

TRPointsIterator::TRPointsIterator(const TRPoints& Points) : FPoints(&Points) {
    if (Points.Count() <= 0) throw EError("TRPointsIterator.Create - no points");
}

TMVector TRPointsIterator::FirstVector() {
    FIndex = 0;
    return FPoints->Point(FIndex)->Vector();
}

TMVector TRPointsIterator::NextVector() {
    if (FIndex + 1 < FPoints->Count()) ++FIndex;
    return FPoints->Point(FIndex)->Vector();
}

bool TRPointsIterator::AtLast() const { return FIndex + 1 == FPoints->Count(); }

// ---- Point pairs ----

TRPointPair::TRPointPair(bool CreatePoints) {
    if (CreatePoints) this->CreatePoints();
}

TRPointPair::TRPointPair(std::unique_ptr<TRPoint> P1, std::unique_ptr<TRPoint> P2)
    : Point1(std::move(P1)), Point2(std::move(P2)) {}

TRPointPair::~TRPointPair() = default;

void TRPointPair::CreatePoints() {
    if (!Point1) Point1 = std::make_unique<TRPoint>();
    if (!Point2) Point2 = std::make_unique<TRPoint>();
}

void TRPointPair::SetPoint1(const TRPoint& P) {
    if (!Point1) Point1 = std::make_unique<TRPoint>();
    Point1->Assign(P);
}

void TRPointPair::SetPoint2(const TRPoint& P) {
    if (!Point2) Point2 = std::make_unique<TRPoint>();
    Point2->Assign(P);
}

void TRPointPair::Assign(const TRPointPair& Other) {
    if (Other.Point1) SetPoint1(*Other.Point1);
    if (Other.Point2) SetPoint2(*Other.Point2);
}

std::unique_ptr<TRLine> TRPointPair::CloneAsLine() const {
    return std::make_unique<TRLine>(Point1 ? Point1->Clone() : nullptr, Point2 ? Point2->Clone() : nullptr);
}

void OrderPointPair(TRPointPair& Pair) {
    if (!Pair.Point1 || !Pair.Point2) return;
    if (ComparePoints(*Pair.Point1, *Pair.Point2) == 1) std::swap(Pair.Point1, Pair.Point2);
}

std::unique_ptr<TRPointVector> PointVectorFromPair(const TRPointPair& Pair) {
    auto PV = std::make_unique<TRPointVector>(true);
    PV->Assign(Pair);
    return PV;
}

std::unique_ptr<TRPointVector> TransformPointVector(const TRPointPair& PV, const TMMatrix& M) {
    if (!PV.Point1 || !PV.Point2) throw EGeometryError("TransformPointVector - the pair has no points");
    auto Base = PV.Point1->Transformed(M);
    auto Tip = PV.Point1->Add(*PV.Point2)->Transformed(M);
    auto Direction = Tip->Subtract(*Base);
    return std::make_unique<TRPointVector>(std::move(Base), std::move(Direction));
}

// ---- TLinksList ----

int TLinksList::Add(std::int32_t First, std::int32_t Second) {
    FLinks.push_back({First, Second});
    return Count() - 1;
}

TLink& TLinksList::Link(int Index) {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    return FLinks[static_cast<std::size_t>(Index)];
}

const TLink& TLinksList::Link(int Index) const {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    return FLinks[static_cast<std::size_t>(Index)];
}

void TLinksList::SwapAll() {
    for (auto& L : FLinks) std::swap(L.First, L.Second);
}

void TLinksList::Sort() {
    // Links that compare equal are identical, so any sort gives the same list.
    std::sort(FLinks.begin(), FLinks.end(), [](const TLink& A, const TLink& B) {
        return A.First < B.First || (A.First == B.First && A.Second < B.Second);
    });
}

}  // namespace sarnova
