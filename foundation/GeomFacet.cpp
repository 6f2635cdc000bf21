#include "foundation/GeomFacet.h"

#include <bit>
#include <cmath>
#include <type_traits>
#include <utility>

#include "foundation/NumberText.h"
#include "foundation/Polygon.h"
#include "foundation/Errors.h"
#include "foundation/GeomBox.h"
#include "foundation/SlotPool.h"
#include "foundation/VkMathsIntersect.h"

namespace sarnova {

namespace {

[[noreturn]] void ListIndexError(int Index) {
    throw EError("List index out of bounds (" + std::to_string(Index) + ")");
}

// Side of P: 1 above, -1 below, 0 within 1e-4 of the plane.
template <class TPoint>
int CornerSide(const TMPlane& Plane, const TPoint& P) {
    const double S = VectorDot(Plane.Normal, P.Vector()) - Plane.Distance;
    if (std::fabs(S) < DefaultTolerance) return 0;
    return S > 0 ? 1 : -1;
}

// Where the edge from A to B crosses the plane, a plain point; only asked for ends on opposite sides.
template <class TPoint>
TPoint EdgeCrossing(const TPoint& A, const TPoint& B, const TMPlane& Plane) {
    return TPoint(IntersectionOfPointsAndPlane(A.Vector(), B.Vector(), Plane));
}

// The points of a cut facet, gathered on the stack before the facet is made. A triangle cut by a
// plane leaves at most four points on either side.
struct TCutPoints {
    std::array<TRPoint, 4> Points;
    int Count = 0;

    // A copy of Q's values, as a clone would be: the mark is not carried.
    void Add(const TRPoint& Q) { Points[static_cast<std::size_t>(Count++)].Assign(Q); }
};

// The facet of the collected points in order: a triangle for three, a quadrilateral for four.
std::unique_ptr<TPolygon> FacetOfPoints(const TCutPoints& Cut) {
    auto F = std::make_unique<TPolygon>();
    for (int I = 0; I < Cut.Count; ++I) F->SetCorner(I, Cut.Points[static_cast<std::size_t>(I)]);
    return F;
}


// The next word of Line from Pos on; words are separated by blanks, tabs and other control characters.
std::string_view NextWord(std::string_view Line, std::size_t& Pos) {
    while (Pos < Line.size() && static_cast<unsigned char>(Line[Pos]) <= ' ') ++Pos;
    const std::size_t Start = Pos;
    while (Pos < Line.size() && static_cast<unsigned char>(Line[Pos]) > ' ') ++Pos;
    return Line.substr(Start, Pos - Start);
}

double Coordinate(const TFacetCorner& P, int Axis) { return Axis == 0 ? P.X : Axis == 1 ? P.Y : P.Z; }

// Half the cross product of the diagonals.
double QuadArea(const TMVector& A, const TMVector& B, const TMVector& C, const TMVector& D) {
    return VectorLength(VectorCross(VectorFromTo(A, C), VectorFromTo(B, D))) / 2;
}

// The same double, bit for bit (so -0 and NaN count as given).
bool SameBits(double A, double B) { return std::bit_cast<std::uint64_t>(A) == std::bit_cast<std::uint64_t>(B); }

template <class TFacet>
double PolygonCoordinate(const TFacet& F, int Axis, int Mode) {
    const int N = F.CornerCount();
    double Result = 0;
    for (int I = 0; I < N; ++I) {
        const TFacetCorner* P = F.Corner(I);
        const double V = P ? Coordinate(*P, Axis) : 0;
        if (Mode == 2) {
            Result += V;
        } else if (I == 0 || (Mode == 1 ? V < Result : V > Result)) {
            Result = V;
        }
    }
    return Mode == 2 ? Result / N : Result;
}

}  // namespace

std::string QuotedLine(std::string_view Line) {
    constexpr std::size_t Shown = 80;
    if (Line.size() <= Shown) return "\"" + std::string(Line) + "\"";
    return "\"" + std::string(Line.substr(0, Shown)) + "...\"";
}

// ---- TFacetCorner ----

bool TFacetCorner::InsideBox(const TMBox& B) const { return AsPoint().InsideBox(B); }

bool TFacetCorner::IsEqual(const TFacetCorner& B) const { return AsPoint().IsEqual(B.AsPoint()); }

void* TFacetCorner::operator new(std::size_t Size) { return PooledNew<TFacetCorner>(Size); }

void TFacetCorner::operator delete(void* P, std::size_t Size) noexcept { PooledDelete<TFacetCorner>(P, Size); }

// ---- TPolygon ----

const TFacetCorner TPolygon::NoCorner;

TPolygon::TPolygon(int Shape) {
    SetShape(Shape);
    OwnColor = false;
}

TPolygon::~TPolygon() = default;

void* TPolygon::operator new(std::size_t Size) { return PooledNew<TPolygon>(Size); }

void TPolygon::operator delete(void* P, std::size_t Size) noexcept { PooledDelete<TPolygon>(P, Size); }

TPolygon::TPolygon(const TPolygon& F)
    : Color(F.Color), Group(F.Group), EdgeColor(F.EdgeColor), OwnColor(F.OwnColor), Selected(F.Selected),
      FShape(F.FShape), FMarks(F.FMarks), FCornerSet(F.FCornerSet), FCorners(F.FCorners),
      FCorner3(F.FCorner3 ? std::make_unique<TFacetCorner>(*F.FCorner3) : nullptr),
      FParts(F.FParts ? std::make_unique<TParts>(*F.FParts) : nullptr) {}

TPolygon& TPolygon::operator=(const TPolygon& F) {
    if (&F == this) return *this;
    Color = F.Color;
    Group = F.Group;
    EdgeColor = F.EdgeColor;
    OwnColor = F.OwnColor;
    Selected = F.Selected;
    FShape = F.FShape;
    FMarks = F.FMarks;
    FCornerSet = F.FCornerSet;
    FCorners = F.FCorners;
    if (F.FCorner3)
        Slot(3) = *F.FCorner3;
    else
        FCorner3.reset();
    if (F.FParts)
        MakeParts() = *F.FParts;
    else
        FParts.reset();
    return *this;
}

TFacetParts::TFacetParts(const TFacetParts& P)
    : Normal(P.Normal), NormalSet(P.NormalSet), Extras(P.Extras ? std::make_unique<TFacetCornerExtras>(*P.Extras) : nullptr) {}

TFacetParts& TFacetParts::operator=(const TFacetParts& P) {
    if (&P == this) return *this;
    Normal = P.Normal;
    NormalSet = P.NormalSet;
    if (!P.Extras)
        Extras.reset();
    else if (Extras)
        *Extras = *P.Extras;
    else
        Extras = std::make_unique<TFacetCornerExtras>(*P.Extras);
    return *this;
}

void* TPolygon::TParts::operator new(std::size_t Size) { return PooledNew<TParts>(Size); }

void TPolygon::TParts::operator delete(void* P, std::size_t Size) noexcept { PooledDelete<TParts>(P, Size); }

TPolygon::TParts& TPolygon::MakeParts() {
    if (!FParts) FParts = std::make_unique<TParts>();
    return *FParts;
}

TPolygon::TCornerExtras& TPolygon::MakeExtras() {
    TParts& P = MakeParts();
    if (!P.Extras) P.Extras = std::make_unique<TCornerExtras>();
    return *P.Extras;
}

TFacetCorner& TPolygon::Slot(int Index) {
    if (Index < 3) return FCorners[static_cast<std::size_t>(Index)];
    if (!FCorner3) FCorner3 = std::make_unique<TFacetCorner>();
    return *FCorner3;
}

void TPolygon::ClearExtras(int Index) {
    if (TCornerExtras* E = Extras()) (*E)[static_cast<std::size_t>(Index)] = TCornerExtra{};
}

void TPolygon::StoreValues(int Index, const TRPoint& P) {
    Slot(Index) = TFacetCorner(P.Vector());
    const TCornerExtra Default;
    // Most corners carry nothing but their position: the extras are made for the first that does.
    if (!Extras() && SameBits(P.W, Default.W) && SameBits(P.T, Default.T) && P.Tag == Default.Tag) return;
    MakeExtras()[static_cast<std::size_t>(Index)] = {P.W, P.T, P.Tag};
}

void TPolygon::CopyExtras(int Index, const TPolygon& F, int From) {
    const TCornerExtras* Source = F.Extras();
    if (!Source) {
        ClearExtras(Index);
        return;
    }
    // Read before the extras are made: F may be this facet.
    const TCornerExtra E = (*Source)[static_cast<std::size_t>(From)];
    MakeExtras()[static_cast<std::size_t>(Index)] = E;
}

TRPoint TPolygon::CornerPoint(int Index) const {
    TRPoint P;
    if (!HasCorner(Index)) return P;
    P.SetVector(StoredCorner(Index).Vector());
    const TCornerExtra E = ExtraOf(Index);
    P.W = E.W;
    P.T = E.T;
    P.Tag = E.Tag;
    P.Marked = FMarks >> Index & 1;
    return P;
}

void TPolygon::SetCornerMarked(int Index, bool Value) noexcept {
    if (!HasCorner(Index)) return;
    const auto Bit = static_cast<std::uint8_t>(1u << Index);
    FMarks = static_cast<std::uint8_t>(Value ? FMarks | Bit : FMarks & ~Bit) & 0xF;
}

void TPolygon::SetShape(int Shape) {
    if (Shape != 0 && Shape != 1)
        throw EGeometryError("TPolygon.SetShape - Shape must be 0 (triangle) or 1 (quadrilateral)");
    FShape = static_cast<std::uint8_t>(Shape);
    FCorners = {};
    if (Shape == 1)
        Slot(3) = TFacetCorner();
    else
        FCorner3.reset();
    if (FParts) FParts->Extras.reset();
    FMarks = 0;
    FCornerSet = Shape == 1 ? 0b1111 : 0b0111;
    EdgeColor = clWhite;
    Color = clNone;
}

void TPolygon::DropCorner(int Index) {
    // A dropped fourth corner gives its room back: a quadrilateral split in place becomes a plain
    // triangle.
    if (Index == 3)
        FCorner3.reset();
    else
        FCorners[static_cast<std::size_t>(Index)] = TFacetCorner();
    ClearExtras(Index);
    SetCornerMarked(Index, false);
    FCornerSet &= static_cast<std::uint8_t>(~(1u << Index));
}

void TPolygon::SetCorner(int Index, const TRPoint& P) {
    if (Index < 0 || Index > 3) return;
    StoreValues(Index, P);
    FCornerSet |= static_cast<std::uint8_t>(1u << Index);
    SetCornerMarked(Index, P.Marked);
    if (Index == 2) {
        FShape = 0;
        // A triangle has no fourth corner.
        if (HasCorner(3)) DropCorner(3);
    } else if (Index == 3) {
        FShape = 1;
    }
}

void TPolygon::AssignCorner(int Index, const TRPoint& P) {
    if (HasCorner(Index)) StoreValues(Index, P);
}

void TPolygon::Assign(const TPolygon& F) {
    if (&F == this) return;
    FShape = F.FShape;
    for (int I = 0; I < 4; ++I) {
        if (F.HasCorner(I)) {
            Slot(I) = F.StoredCorner(I);
            CopyExtras(I, F, I);
            FCornerSet |= static_cast<std::uint8_t>(1u << I);
        } else if (HasCorner(I)) {
            DropCorner(I);
        }
    }
    for (int I = 0; I < 3; ++I)
        if (F.HasNormal(I)) SetNormal(I, F.FParts->Normal[static_cast<std::size_t>(I)]);
    Color = F.Color;
    OwnColor = F.OwnColor;
    EdgeColor = F.EdgeColor;
    Selected = F.Selected;
}

void TPolygon::SetNormal(int Index, const TMVector& N) {
    if (Index < 0 || Index > 2) return;
    TParts& P = MakeParts();
    P.Normal[static_cast<std::size_t>(Index)] = N;
    P.NormalSet |= static_cast<std::uint8_t>(1u << Index);
}

TMTriangle TPolygon::Triangle() const {
    if (FShape != 0) throw EGeometryError("TPolygon.Triangle - Polygon is a Quadrilateral");
    return {FCorners[0].Vector(), FCorners[1].Vector(), FCorners[2].Vector()};
}

double TPolygon::Area() const {
    if (FShape == 1)
        return QuadArea(FCorners[0].Vector(), FCorners[1].Vector(), FCorners[2].Vector(), StoredCorner(3).Vector());
    return TriangleArea(FCorners[0].Vector(), FCorners[1].Vector(), FCorners[2].Vector());
}

void TPolygon::Insert(int Index, const TMVector& V) {
    if (Index < 0 || Index > 3)
        throw EGeometryError("TPolygon.Insert - Point index is outside range, expected [0, 3]");
    if (FShape != 0)
        throw EGeometryError("TPolygon.Insert - Point can only be inserted into a polygon with 3 points");
    if (Index == 0) Index = 3;
    // The fourth slot is made before anything changes, so a failure to make it leaves the facet.
    Slot(3);
    FCornerSet |= 0b1000;
    for (int I = 2; I >= Index; --I) {
        Slot(I + 1) = FCorners[static_cast<std::size_t>(I)];
        CopyExtras(I + 1, *this, I);
    }
    // The new corner is a plain point at V; the moved values leave the marks where they were.
    Slot(Index) = TFacetCorner(V);
    ClearExtras(Index);
    SetCornerMarked(Index, false);
    FShape = 1;
}

void TPolygon::Delete(int Index) {
    if (Index < 0 || Index > 3)
        throw EGeometryError("TPolygon.Delete - Point index is outside range, expected [0, 3]");
    if (FShape != 1)
        throw EGeometryError("TPolygon.Delete - Point can only be deleted from a polygon with 4 points");
    for (int I = Index; I < 3; ++I) {
        FCorners[static_cast<std::size_t>(I)] = StoredCorner(I + 1);
        CopyExtras(I, *this, I + 1);
    }
    DropCorner(3);
    FShape = 0;
}

void TPolygon::SwapCornerValues(int A, int B) {
    if (!HasCorner(A) || !HasCorner(B)) return;
    std::swap(Slot(A), Slot(B));
    if (TCornerExtras* E = Extras()) std::swap((*E)[static_cast<std::size_t>(A)], (*E)[static_cast<std::size_t>(B)]);
}

void TPolygon::SaveToText(std::string& Text) const {
    AppendFacetLine(Text, FShape, FCorners[0], FCorners[1], FCorners[2], StoredCorner(3));
}

void AppendFacetLine(std::string& Text, int Shape, const TFacetCorner& A, const TFacetCorner& B, const TFacetCorner& C,
                     const TFacetCorner& D) {
    if (Shape == 1) {
        Text += FormatWithPoint("4 %.3f %.3f %.3f %.3f %.3f %.3f %.3f %.3f %.3f %.3f %.3f %.3f",
                                {A.X, A.Y, A.Z, B.X, B.Y, B.Z, C.X, C.Y, C.Z, D.X, D.Y, D.Z});
    } else {
        Text += FormatWithPoint("3 %.3f %.3f %.3f %.3f %.3f %.3f %.3f %.3f %.3f",
                                {A.X, A.Y, A.Z, B.X, B.Y, B.Z, C.X, C.Y, C.Z});
    }
    Text += '\n';
}

void TPolygon::LoadFromText(std::string_view Line) {
    std::size_t Pos = 0;
    int Count = 0;
    if (!TryStrToInt(NextWord(Line, Pos), Count) || (Count != 3 && Count != 4))
        throw EInOutError("TPolygon.LoadFromText - Expected 3 or 4 corners in line " + QuotedLine(Line));
    // All numbers are read before anything changes, so a damaged line leaves the facet as it was.
    std::array<double, 12> Values;
    for (int I = 0; I < Count * 3; ++I) {
        if (!TryStrToFloat(NextWord(Line, Pos), Values[static_cast<std::size_t>(I)]))
            throw EInOutError("TPolygon.LoadFromText - Error in formatted input in line " + QuotedLine(Line));
    }
    SetShape(Count - 3);
    for (int I = 0; I < Count; ++I) {
        const auto At = static_cast<std::size_t>(I) * 3;
        Slot(I).SetXYZ(Values[At], Values[At + 1], Values[At + 2]);
    }
}

// ---- Building ----

std::unique_ptr<TPolygon> NewTriangle(const TRPoint& A, const TRPoint& B, const TRPoint& C) {
    auto F = std::make_unique<TPolygon>(0);
    F->AssignCorner(0, A);
    F->AssignCorner(1, B);
    F->AssignCorner(2, C);
    return F;
}

std::unique_ptr<TPolygon> NewQuad(const TRPoint& A, const TRPoint& B, const TRPoint& C, const TRPoint& D) {
    auto F = std::make_unique<TPolygon>(1);
    F->AssignCorner(0, A);
    F->AssignCorner(1, B);
    F->AssignCorner(2, C);
    F->AssignCorner(3, D);
    return F;
}

std::unique_ptr<TPolygon> TriangleFromVectors(const TMVector& A, const TMVector& B, const TMVector& C) {
    auto F = std::make_unique<TPolygon>(0);
    F->Corner(0)->SetVector(A);
    F->Corner(1)->SetVector(B);
    F->Corner(2)->SetVector(C);
    return F;
}

std::unique_ptr<TPolygon> QuadFromVectors(const TMVector& A, const TMVector& B, const TMVector& C,
                                          const TMVector& D) {
    auto F = std::make_unique<TPolygon>(1);
    F->Corner(0)->SetVector(A);
    F->Corner(1)->SetVector(B);
    F->Corner(2)->SetVector(C);
    F->Corner(3)->SetVector(D);
    return F;
}

std::unique_ptr<TPolygon> CopyPolygon(const TPolygon& F) {
    auto Copy = std::make_unique<TPolygon>(F.GetShape());
    Copy->Assign(F);
    return Copy;
}

namespace {

// ---- Attributes and measures ----

template <class TFacet>
const TFacetCorner& PolygonCornerOrOriginOf(const TFacet& F, int Index) {
    static const TFacetCorner Origin;
    return Index >= 0 && Index < 4 ? F.StoredCorner(Index) : Origin;
}

template <class TFacet>
bool PolygonHasNormalsOf(const TFacet& F) { return F.Normal(0) && F.Normal(1) && F.Normal(2); }

template <class TFacet>
int PolygonCornerIndexOf(const TFacet& F, const TRPoint& P) {
    for (int I = 0; I < F.CornerCount(); ++I) {
        const TFacetCorner* C = F.Corner(I);
        if (C && C->AsPoint().IsEqual(P)) return I;
    }
    return -1;
}


template <class TFacet>
double PolygonXOf(const TFacet& F, int Mode) { return PolygonCoordinate(F, 0, Mode); }
template <class TFacet>
double PolygonYOf(const TFacet& F, int Mode) { return PolygonCoordinate(F, 1, Mode); }
template <class TFacet>
double PolygonZOf(const TFacet& F, int Mode) { return PolygonCoordinate(F, 2, Mode); }

template <class TFacet>
TMBox PolygonBoxOf(const TFacet& F) {
    return {{PolygonXOf(F, 0), PolygonYOf(F, 0), PolygonZOf(F, 0)}, {PolygonXOf(F, 1), PolygonYOf(F, 1), PolygonZOf(F, 1)}};
}

template <class TFacet>
TMVector PolygonCentroidOf(const TFacet& F) {
    return {PolygonXOf(F, 2), PolygonYOf(F, 2), PolygonZOf(F, 2)};
}


template <class TFacet>
TMVector PolygonNormalOf(const TFacet& F) {
    auto At = [&F](int I) { return PolygonCornerOrOriginOf(F, I).Vector(); };
    const TMVector D = VectorFromTo(At(0), At(2));
    const TMVector V = F.GetShape() == 1 ? VectorFromTo(At(1), At(3)) : VectorFromTo(At(1), At(0));
    // VectorCross(V, D) is D x V.
    return VectorNormalise(VectorCross(V, D));
}

template <class TFacet>
bool PolygonTouchesBoxOf(const TFacet& F, const TMBox& Box) {
    for (int I = 0; I < F.CornerCount(); ++I) {
        const TFacetCorner* P = F.Corner(I);
        if (P && P->InsideBox(Box)) return true;
    }
    return false;
}

// ---- Edits and transforms ----


template <class TFacet>
std::unique_ptr<TPolygon> TransformedPolygonOf(const TFacet& F, const TMMatrix& M) {
    auto Result = std::make_unique<TPolygon>(F.GetShape());
    for (int I = 0; I < F.CornerCount(); ++I) {
        if (!F.Corner(I)) continue;
        // What TRPoint::Transformed does (W and Tag go along, T does not), without a heap point.
        const TRPoint P = F.CornerPoint(I);
        TRPoint Q(MatrixTransformPoint(M, P.Vector()));
        Q.W = P.W;
        Q.Tag = P.Tag;
        Result->AssignCorner(I, Q);
    }
    // The linear part of M: a normal must not move with the translation.
    TMMatrix Linear = M;
    Linear[0][3] = Linear[1][3] = Linear[2][3] = 0;
    for (int I = 0; I < 3; ++I)
        if (const TMVector* N = F.Normal(I)) Result->SetNormal(I, VectorNormalise(MatrixTransformPoint(Linear, *N)));
    Result->SetColor(F.GetColor());
    Result->EdgeColor = F.GetEdgeColor();
    Result->Selected = F.GetSelected();
    return Result;
}

template <class TFacet>
void SplitTriangleByPlaneOf(const TFacet& F, const TMPlane& Plane, std::unique_ptr<TPolygon>& Above,
                          std::unique_ptr<TPolygon>& Below) {
    Above.reset();
    Below.reset();
    if (!F.Corner(0) || !F.Corner(1) || !F.Corner(2)) return;
    const TRPoint P[3] = {F.CornerPoint(0), F.CornerPoint(1), F.CornerPoint(2)};
    const int Side[3] = {CornerSide(Plane, P[0]), CornerSide(Plane, P[1]), CornerSide(Plane, P[2])};
    TCutPoints Up, Down;
    for (int I = 0; I < 3; ++I) {
        const int J = (I + 1) % 3;
        if (Side[I] >= 0) Up.Add(P[I]);
        if (Side[I] <= 0) Down.Add(P[I]);
        if (Side[I] * Side[J] < 0) {
            const TRPoint X = EdgeCrossing(P[I], P[J], Plane);
            Up.Add(X);
            Down.Add(X);
        }
    }
    auto Keep = [](const TCutPoints& Cut) -> std::unique_ptr<TPolygon> {
        if (Cut.Count <= 2) return nullptr;
        auto Part = FacetOfPoints(Cut);
        if (Part->Area() < 1e-10) return nullptr;
        return Part;
    };
    auto NewAbove = Keep(Up);
    auto NewBelow = Keep(Down);
    Above = std::move(NewAbove);
    Below = std::move(NewBelow);
}


// The corners of F on the negative side of Plane, the edge crossings between them, handed to Add in
// order. -1 when F lies wholly below (nothing is handed on), 0 when it lies wholly above or lacks a
// corner, else how many points were handed on. TPoint is TFacetCorner for the positions alone (the
// passes over whole meshes) or TRPoint for corners with everything they carry.
template <class TPoint, class TFacet, class TAdd>
int ClipTriangleCorners(const TFacet& F, const TMPlane& Plane, TAdd&& Add) {
    if (!F.Corner(0) || !F.Corner(1) || !F.Corner(2)) return 0;
    auto CornerOf = [&F](int I) -> TPoint {
        if constexpr (std::is_same_v<TPoint, TRPoint>)
            return F.CornerPoint(I);
        else
            return F.StoredCorner(I);
    };
    const TPoint P[3] = {CornerOf(0), CornerOf(1), CornerOf(2)};
    const int Side[3] = {CornerSide(Plane, P[0]), CornerSide(Plane, P[1]), CornerSide(Plane, P[2])};
    if (Side[0] == -1 && Side[1] == -1 && Side[2] == -1) return -1;
    if (Side[0] == 1 && Side[1] == 1 && Side[2] == 1) return 0;
    int Count = 0;
    auto AddPoint = [&](const TPoint& Q) {
        if (Count == 4) throw EGeometryError("ClippedPolygonArea.AddPoint: Attempted to add more than 4 points");
        Add(Count++, Q);
    };
    for (int I = 0; I < 3; ++I) {
        const int J = (I + 1) % 3;
        if (Side[I] != 1) AddPoint(P[I]);
        if (Side[I] * Side[J] < 0) AddPoint(EdgeCrossing(P[I], P[J], Plane));
    }
    return Count;
}


template <class TFacet>
std::unique_ptr<TPolygon> ClippedPolygonAreaOf(const TFacet& F, const TMPlane& Plane) {
    TCutPoints Kept;
    const int Count = ClipTriangleCorners<TRPoint>(F, Plane, [&Kept](int, const TRPoint& Q) { Kept.Add(Q); });
    if (Count < 0) return CopyPolygon(F);
    if (Count < 3) return nullptr;
    return FacetOfPoints(Kept);
}

template <class TFacet>
int ClippedPolygonCornersOf(const TFacet& F, const TMPlane& Plane, std::array<TMVector, 4>& Corners) {
    const int Count = ClipTriangleCorners<TFacetCorner>(F, Plane, [&Corners](int K, const TFacetCorner& Q) {
        Corners[static_cast<std::size_t>(K)] = Q.Vector();
    });
    if (Count < 0) {
        const int All = F.GetShape() == 1 ? 4 : 3;
        for (int K = 0; K < All; ++K) Corners[static_cast<std::size_t>(K)] = PolygonCornerOrOriginOf(F, K).Vector();
        return All;
    }
    return Count < 3 ? 0 : Count;
}

}  // namespace

// ---- The measures, for facet objects and (where passes over meshes need them) list facets ----

double TriangleAreaOfPoints(const TRPoint& A, const TRPoint& B, const TRPoint& C) {
    return TriangleArea(A.Vector(), B.Vector(), C.Vector());
}

double QuadAreaOfPoints(const TRPoint& A, const TRPoint& B, const TRPoint& C, const TRPoint& D) {
    return QuadArea(A.Vector(), B.Vector(), C.Vector(), D.Vector());
}

const TFacetCorner& PolygonCornerOrOrigin(const TPolygon& F, int Index) { return PolygonCornerOrOriginOf(F, Index); }
const TFacetCorner& PolygonCornerOrOrigin(const TFacetRef& F, int Index) { return PolygonCornerOrOriginOf(F, Index); }
bool PolygonHasNormals(const TPolygon& F) { return PolygonHasNormalsOf(F); }
bool PolygonHasNormals(const TFacetRef& F) { return PolygonHasNormalsOf(F); }
int PolygonCornerIndex(const TPolygon& F, const TRPoint& P) { return PolygonCornerIndexOf(F, P); }
int PolygonCornerIndex(const TFacetRef& F, const TRPoint& P) { return PolygonCornerIndexOf(F, P); }
double PolygonX(const TPolygon& F, int Mode) { return PolygonXOf(F, Mode); }
double PolygonY(const TPolygon& F, int Mode) { return PolygonYOf(F, Mode); }
double PolygonZ(const TPolygon& F, int Mode) { return PolygonZOf(F, Mode); }
TMBox PolygonBox(const TPolygon& F) { return PolygonBoxOf(F); }
TMVector PolygonCentroid(const TPolygon& F) { return PolygonCentroidOf(F); }
TMVector PolygonCentroid(const TFacetRef& F) { return PolygonCentroidOf(F); }
TMVector PolygonNormal(const TPolygon& F) { return PolygonNormalOf(F); }
TMVector PolygonNormal(const TFacetRef& F) { return PolygonNormalOf(F); }
bool PolygonTouchesBox(const TPolygon& F, const TMBox& Box) { return PolygonTouchesBoxOf(F, Box); }

void SetPolygonNormalAt(TPolygon& F, const TRPoint& P, const TMVector& N) {
    F.SetNormal(PolygonCornerIndexOf(F, P), N);
}

void FlipPolygon(TPolygon& F) { F.SwapCornerValues(0, 2); }

std::unique_ptr<TPolygon> TransformedPolygon(const TPolygon& F, const TMMatrix& M) { return TransformedPolygonOf(F, M); }

void SplitTriangleByPlane(const TPolygon& F, const TMPlane& Plane, std::unique_ptr<TPolygon>& Above,
                          std::unique_ptr<TPolygon>& Below) {
    SplitTriangleByPlaneOf(F, Plane, Above, Below);
}

std::unique_ptr<TPolygon> ClippedPolygonArea(const TPolygon& F, const TMPlane& Plane) { return ClippedPolygonAreaOf(F, Plane); }
std::unique_ptr<TPolygon> ClippedPolygonArea(const TFacetRef& F, const TMPlane& Plane) { return ClippedPolygonAreaOf(F, Plane); }

int ClippedPolygonCorners(const TPolygon& F, const TMPlane& Plane, std::array<TMVector, 4>& Corners) {
    return ClippedPolygonCornersOf(F, Plane, Corners);
}
int ClippedPolygonCorners(const TFacetRef& F, const TMPlane& Plane, std::array<TMVector, 4>& Corners) {
    return ClippedPolygonCornersOf(F, Plane, Corners);
}

// ---- Lists ----

void TPolygons::ThrowIndexError(int Index) { ListIndexError(Index); }

int TPolygons::Add(TPolygon* F) {
    FItems.push_back(F);
    return Count() - 1;
}

void TPolygons::Delete(int Index) {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    FItems.erase(FItems.begin() + Index);
}

int TLines::Add(std::unique_ptr<TRPoint> P1, std::unique_ptr<TRPoint> P2) {
    FLines.push_back(std::make_unique<TRLine>(std::move(P1), std::move(P2)));
    return Count() - 1;
}

TRLine* TLines::Line(int Index) const {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    return FLines[static_cast<std::size_t>(Index)].get();
}

void TLines::Delete(int Index) {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    FLines.erase(FLines.begin() + Index);
}

}  // namespace sarnova
