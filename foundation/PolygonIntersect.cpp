#include "foundation/PolygonIntersect.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <compare>
#include <string>
#include <utility>

#include "foundation/Errors.h"
#include "foundation/FacetCutIndex.h"
#include "foundation/GeomBox.h"
#include "foundation/GeomFacet.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "foundation/Polyline.h"

namespace sarnova {

namespace {

// Cut lines shorter than this are dropped.
constexpr double MinimumLength = 0.001;

bool IsFinite(const TMVector& V) { return std::isfinite(V.X) && std::isfinite(V.Y) && std::isfinite(V.Z); }

// Lexicographic by x, then y, then z. A weak order on doubles, so sorting never meets an inconsistent
// comparison, not even with a NaN.
std::weak_ordering CompareCoordinates(double A, double B) {
    // Numbers compare as usual (the two zeros alike, as in the weak order); only a NaN needs the
    // weak order's rule.
    if (A < B) return std::weak_ordering::less;
    if (B < A) return std::weak_ordering::greater;
    if (A == B) return std::weak_ordering::equivalent;
    return std::weak_order(A, B);
}

std::weak_ordering ComparePositions(const TMVector& A, const TMVector& B) {
    if (auto C = CompareCoordinates(A.X, B.X); C != 0) return C;
    if (auto C = CompareCoordinates(A.Y, B.Y); C != 0) return C;
    return CompareCoordinates(A.Z, B.Z);
}

void CheckIndex(int Index, int Count) {
    if (Index < 0 || Index >= Count) throw EError("List index out of bounds (" + std::to_string(Index) + ")");
}

void Unregister(TIntersectionEdge* E, TIntersectionVertex* V) { V->Edges.erase(E); }

// The triangles of a facet: itself, or a quadrilateral's (0, 1, 2) and (0, 2, 3). A corner the facet
// does not have counts as the origin, as in the facet measures.
template <class TFunction>
void ForEachTriangle(const TFacetRef& F, TFunction&& Visit) {
    auto At = [&F](int I) {
        const TFacetCorner* P = F.Corner(I);
        return P ? P->Vector() : ZeroVector;
    };
    const TMVector C0 = At(0);
    const TMVector C2 = At(2);
    Visit(TMTriangle{C0, At(1), C2});
    if (F.GetShape() == 1) Visit(TMTriangle{C0, C2, At(3)});
}

TMBox TriangleBox(const TMTriangle& T) {
    TMBox Box = EmptyBox;
    for (const TMVector& V : T) ExtendBoxByVector(V, Box);
    return Box;
}

bool BoxesMeet(const TMBox& A, const TMBox& B) {
    return A.Min.X <= B.Max.X && B.Min.X <= A.Max.X && A.Min.Y <= B.Max.Y && B.Min.Y <= A.Max.Y &&
           A.Min.Z <= B.Max.Z && B.Min.Z <= A.Max.Z;
}

struct TBoxedTriangle {
    TMTriangle Corners;
    TMBox Box;
};

// The triangles of a mesh whose boxes reach into Region.
std::vector<TBoxedTriangle> TrianglesMeeting(const TPolygonList& Mesh, const TMBox& Region) {
    std::vector<TBoxedTriangle> Result;
    for (int I = 0; I < Mesh.Count(); ++I) {
        ForEachTriangle(Mesh.Polygon(I), [&](const TMTriangle& T) {
            const TMBox Box = TriangleBox(T);
            if (BoxesMeet(Box, Region)) Result.push_back({T, Box});
        });
    }
    return Result;
}

// A uniform grid of cells over a region, each cell listing the triangles whose boxes reach into it.
// Cells are about as large as the triangles, and there are never many more cells than triangles.
class TTriangleGrid {
public:
    TTriangleGrid(const TMBox& Region, const std::vector<TBoxedTriangle>& Members, double CellEdge) : FMin(Region.Min) {
        const TMVector Size = VectorFromTo(Region.Min, Region.Max);
        double Largest = 0;
        for (double E : {Size.X, Size.Y, Size.Z})
            if (E > Largest) Largest = E;
        FCell = std::max({CellEdge, Largest / 1024, 1e-30});
        const double MaxCells = 4.0 * static_cast<double>(Members.size()) + 64;
        for (;;) {
            FN = {Cells(Size.X), Cells(Size.Y), Cells(Size.Z)};
            if (static_cast<double>(FN[0]) * FN[1] * FN[2] <= MaxCells) break;
            FCell *= 1.5;
        }
        // Two passes (count, then fill) keep every cell's members in one array.
        FStart.assign(static_cast<std::size_t>(FN[0] * FN[1] * FN[2]) + 1, 0);
        for (const TBoxedTriangle& T : Members) VisitCells(T.Box, [&](std::size_t C) { ++FStart[C + 1]; });
        for (std::size_t C = 1; C < FStart.size(); ++C) FStart[C] += FStart[C - 1];
        FMembers.resize(FStart.back());
        std::vector<std::size_t> Fill(FStart.begin(), FStart.end() - 1);
        for (std::size_t I = 0; I < Members.size(); ++I)
            VisitCells(Members[I].Box, [&](std::size_t C) { FMembers[Fill[C]++] = static_cast<int>(I); });
    }

    // Calls Visit with the index of every member listed in a cell that Box reaches into; a member
    // listed in several of them is reported once for each.
    template <class TFunction>
    void VisitMembers(const TMBox& Box, TFunction&& Visit) const {
        VisitCells(Box, [&](std::size_t C) {
            for (std::size_t K = FStart[C]; K < FStart[C + 1]; ++K) Visit(FMembers[K]);
        });
    }

private:
    int Cells(double Extent) const {
        const double N = Extent / FCell;
        return N > 0 ? static_cast<int>(std::min(N, 1023.0)) + 1 : 1;  // also a NaN
    }

    int Index(double V, double Lo, int Axis) const {
        const double D = (V - Lo) / FCell;
        if (!(D > 0)) return 0;  // also a NaN
        return D >= FN[Axis] ? FN[Axis] - 1 : static_cast<int>(D);
    }

    template <class TFunction>
    void VisitCells(const TMBox& Box, TFunction&& Visit) const {
        const int X0 = Index(Box.Min.X, FMin.X, 0), X1 = Index(Box.Max.X, FMin.X, 0);
        const int Y0 = Index(Box.Min.Y, FMin.Y, 1), Y1 = Index(Box.Max.Y, FMin.Y, 1);
        const int Z0 = Index(Box.Min.Z, FMin.Z, 2), Z1 = Index(Box.Max.Z, FMin.Z, 2);
        for (int Z = Z0; Z <= Z1; ++Z)
            for (int Y = Y0; Y <= Y1; ++Y)
                for (int X = X0; X <= X1; ++X)
                    Visit(static_cast<std::size_t>((Z * FN[1] + Y) * FN[0] + X));
    }

    TMVector FMin;
    double FCell = 1;
    std::array<int, 3> FN{1, 1, 1};
    std::vector<std::size_t> FStart;
    std::vector<int> FMembers;
};

double MeanBoxEdge(const std::vector<TBoxedTriangle>& A, const std::vector<TBoxedTriangle>& B) {
    double Sum = 0;
    for (const auto* List : {&A, &B})
        for (const TBoxedTriangle& T : *List) {
            const TMVector D = VectorFromTo(T.Box.Min, T.Box.Max);
            const double Edge = std::max({D.X, D.Y, D.Z});
            if (std::isfinite(Edge)) Sum += Edge;
        }
    return Sum / static_cast<double>(std::max<std::size_t>(A.size() + B.size(), 1));
}

// The first edge at V, other than Current, that is still free.
TIntersectionEdge* FreeEdgeAt(const TIntersectionVertex* V, const TIntersectionEdge* Current) {
    for (TIntersectionEdge* E : V->Edges)
        if (E != Current && E->IsFree()) return E;
    return nullptr;
}

}  // namespace

// ---- Vertices and edges ----

void TIntersectionEdgeRefs::push_back(TIntersectionEdge* E) {
    if (!FSpilled && FCount < 2) {
        FFew[FCount++] = E;
        return;
    }
    if (!FSpilled) {
        FMore.assign(FFew, FFew + FCount);
        FSpilled = true;
    }
    FMore.push_back(E);
}

void TIntersectionEdgeRefs::erase(const TIntersectionEdge* E) {
    if (FSpilled) {
        std::erase(FMore, E);
        return;
    }
    FCount = static_cast<std::size_t>(std::remove(FFew, FFew + FCount, E) - FFew);
}

TIntersectionEdge::TIntersectionEdge(TIntersectionVertex* A, TIntersectionVertex* B) : V1(A), V2(B) {
    A->Edges.push_back(this);
    B->Edges.push_back(this);
}

TIntersectionVertex* TIntersectionEdge::OtherVertex(const TIntersectionVertex* V) const {
    if (V == V1) return V2;
    if (V == V2) return V1;
    throw EGeometryError("TIntersectionEdge.OtherVertex - Edge do not connect to specified vertex");
}

TIntersectionVertex* TIntersectionVertices::Vertex(int Index) const {
    CheckIndex(Index, Count());
    // The vertices are the list's, but callers link edges to them: the list hands them out to edit.
    return const_cast<TIntersectionVertex*>(&FItems[static_cast<std::size_t>(Index)]);
}

namespace {

std::uint64_t BitsOf(double V) { return std::bit_cast<std::uint64_t>(V); }

std::size_t ExactHash(const std::uint64_t (&B)[3]) {
    std::uint64_t H = B[0] * 0x9E3779B97F4A7C15ULL;
    H = (H ^ (H >> 29) ^ B[1]) * 0xBF58476D1CE4E5B9ULL;
    H = (H ^ (H >> 31) ^ B[2]) * 0x94D049BB133111EBULL;
    return static_cast<std::size_t>(H ^ (H >> 32));
}

}  // namespace

int TIntersectionVertices::FindExact(const TMVector& P, std::size_t& Slot) const {
    const std::uint64_t Key[3] = {BitsOf(P.X), BitsOf(P.Y), BitsOf(P.Z)};
    const std::size_t Mask = FExact.size() - 1;
    for (Slot = ExactHash(Key) & Mask;; Slot = (Slot + 1) & Mask) {
        const TExactSlot& S = FExact[Slot];
        if (S.Number < 0) return -1;
        if (S.Bits[0] == Key[0] && S.Bits[1] == Key[1] && S.Bits[2] == Key[2]) return S.Number;
    }
}

void TIntersectionVertices::RehashExact(std::size_t Size) {
    std::vector<TExactSlot> Old(Size, TExactSlot{{0, 0, 0}, -1});
    Old.swap(FExact);
    for (const TExactSlot& S : Old)
        if (S.Number >= 0) {
            std::size_t Slot = ExactHash(S.Bits) & (FExact.size() - 1);
            while (FExact[Slot].Number >= 0) Slot = (Slot + 1) & (FExact.size() - 1);
            FExact[Slot] = S;
        }
}

void TIntersectionVertices::AddExact(const TMVector& P, int Number) {
    if (2 * (FExactCount + 1) > FExact.size()) RehashExact(std::max<std::size_t>(64, 2 * FExact.size()));
    std::size_t Slot = 0;
    if (FindExact(P, Slot) >= 0) return;
    FExact[Slot] = {{BitsOf(P.X), BitsOf(P.Y), BitsOf(P.Z)}, Number};
    ++FExactCount;
}

void TIntersectionVertices::Reserve(std::size_t N) {
    FPlaces.Reserve(N);
    const std::size_t Size = std::bit_ceil(std::max<std::size_t>(64, 2 * (N + 1)));
    if (Size > FExact.size()) RehashExact(Size);
}

TIntersectionVertex* TIntersectionVertices::FindOrAdd(const TMVector& P) {
    std::size_t Slot = 0;
    // The tolerant search gives the oldest vertex within reach, and the same position never reaches a
    // different one later: the exact match is what that search would find again.
    int Number = FExact.empty() ? -1 : FindExact(P, Slot);
    if (Number < 0) {
        // Every exact position reaches the tolerant search once.
        Number = FPlaces.FindOrAddOnce(P);
        if (Number == Count()) {
            FItems.emplace_back(P);
        } else {
            TIntersectionVertex& V = FItems[static_cast<std::size_t>(Number)];
            FMerged.push_back({P, V.NewestMerged});
            V.NewestMerged = static_cast<int>(FMerged.size()) - 1;
        }
        if (!FExact.empty() && 2 * (FExactCount + 1) <= FExact.size()) {
            // The free slot the search ended on is where the position goes.
            FExact[Slot] = {{BitsOf(P.X), BitsOf(P.Y), BitsOf(P.Z)}, Number};
            ++FExactCount;
        } else {
            AddExact(P, Number);
        }
    }
    return &FItems[static_cast<std::size_t>(Number)];
}

TMVector TIntersectionVertices::FarthestPosition(const TIntersectionVertex& V, const TMVector& From) const {
    TMVector Best = V.Position;
    double BestDistance = VectorDistance(Best, From);
    // Only a strictly farther position replaces the vertex's own.
    for (int I = V.NewestMerged; I >= 0; I = FMerged[static_cast<std::size_t>(I)].Older) {
        const TMVector& P = FMerged[static_cast<std::size_t>(I)].Position;
        const double D = VectorDistance(P, From);
        if (D > BestDistance) {
            Best = P;
            BestDistance = D;
        }
    }
    return Best;
}

void TIntersectionVertices::Clear() {
    FItems.clear();
    FMerged.clear();
    FPlaces.Clear();
    FExact.clear();
    FExactCount = 0;
}

TIntersectionEdge* TIntersectionEdges::Edge(int Index) const {
    CheckIndex(Index, Count());
    return FItems[static_cast<std::size_t>(Index)];
}

TIntersectionEdge* TIntersectionEdges::Add(TIntersectionVertex* A, TIntersectionVertex* B) {
    FItems.push_back(&FStore.emplace_back(A, B));
    return FItems.back();
}

void TIntersectionEdges::Delete(int Index) {
    TIntersectionEdge* E = Edge(Index);
    Unregister(E, E->V1);
    Unregister(E, E->V2);
    FItems.erase(FItems.begin() + Index);
}

void TIntersectionEdges::SortEdges() {
    for (auto& E : FItems)
        if (ComparePositions(E->V1->Position, E->V2->Position) > 0) std::swap(E->V1, E->V2);
    std::stable_sort(FItems.begin(), FItems.end(), [](const auto& A, const auto& B) {
        if (auto C = ComparePositions(A->V1->Position, B->V1->Position); C != 0) return C < 0;
        return ComparePositions(A->V2->Position, B->V2->Position) < 0;
    });
    // From the last edge down: a degenerate edge goes, and so does the following surviving edge when
    // it joins the same places, which leaves the first of every run of duplicates.
    std::vector<bool> Doomed(FItems.size(), false);
    std::ptrdiff_t Following = -1;
    for (std::ptrdiff_t I = static_cast<std::ptrdiff_t>(FItems.size()) - 1; I >= 0; --I) {
        const TIntersectionEdge& E = *FItems[static_cast<std::size_t>(I)];
        if (VectorsEqual(E.V1->Position, E.V2->Position)) {
            Doomed[static_cast<std::size_t>(I)] = true;
            continue;
        }
        if (Following >= 0) {
            const TIntersectionEdge& N = *FItems[static_cast<std::size_t>(Following)];
            if (VectorsEqual(E.V1->Position, N.V1->Position) && VectorsEqual(E.V2->Position, N.V2->Position))
                Doomed[static_cast<std::size_t>(Following)] = true;
        }
        Following = I;
    }
    std::size_t Kept = 0;
    for (std::size_t I = 0; I < FItems.size(); ++I) {
        if (Doomed[I]) {
            Unregister(FItems[I], FItems[I]->V1);
            Unregister(FItems[I], FItems[I]->V2);
        } else {
            FItems[Kept++] = FItems[I];
        }
    }
    FItems.resize(Kept);
}

void TIntersectionEdges::Clear() {
    for (TIntersectionEdge* E : FItems) {
        Unregister(E, E->V1);
        Unregister(E, E->V2);
    }
    FItems.clear();
    FStore.clear();
}

// ---- Gathering ----

void TPolygonIntersections::Clear() {
    Edges.Clear();
    Vertices.Clear();
}

void TPolygonIntersections::AddSegment(const TMSegment& S) {
    if (!IsFinite(S.Start) || !IsFinite(S.End)) return;
    TIntersectionVertex* A = Vertices.FindOrAdd(S.Start);
    TIntersectionVertex* B = Vertices.FindOrAdd(S.End);
    if (A == B) return;
    for (const TIntersectionEdge* E : A->Edges)
        if (E->OtherVertex(A) == B) return;
    Edges.Add(A, B);
}

void TPolygonIntersections::AddSegmentUnchecked(const TMVector& A, const TMVector& B) {
    if (!IsFinite(A) || !IsFinite(B)) return;
    TIntersectionVertex* VA = Vertices.FindOrAdd(A);
    TIntersectionVertex* VB = Vertices.FindOrAdd(B);
    if (VA != VB) Edges.Add(VA, VB);
}

void TPolygonIntersections::IntersectPlane(const TMPlane& Plane, const TPolygonList& Mesh) {
    Clear();
    const TPlaneCutter Cutter(Plane, OnPlaneTolerance(Mesh));
    // Each corner position is judged once; a facet whose corners all lie clear of the plane on one
    // side cannot be cut and is passed over without reading its corners.
    std::vector<std::int8_t> Sides(static_cast<std::size_t>(Mesh.VertexCount()));
    for (int V = 0; V < Mesh.VertexCount(); ++V) {
        const double S = Cutter.Side(Mesh.Vertex(V).Vector());
        Sides[static_cast<std::size_t>(V)] = S > 0 ? 1 : S < 0 ? -1 : 0;
    }
    const auto Clear = [&Sides](const TFacetRef& F) {
        int Sum = 0;
        const int N = F.CornerCount();
        for (int K = 0; K < N; ++K) {
            const int V = F.VertexNumber(K);
            if (V < 0) return false;
            Sum += Sides[static_cast<std::size_t>(V)];
        }
        return Sum == N || Sum == -N;
    };
    TMSegment Cut;
    for (int I = 0; I < Mesh.Count(); ++I) {
        const TFacetRef F = Mesh.Polygon(I);
        if (Clear(F)) continue;
        ForEachTriangle(F, [&](const TMTriangle& T) {
            if (Cutter.Cut(T, Cut)) AddSegment(Cut);
        });
    }
}

void TPolygonIntersections::IntersectPlane(const TMPlane& Plane, const TFacetCutIndex& Index) {
    Clear();
    const TPlaneCutter Cutter(Plane, Index.Tolerance());
    // The cuts first, so that the vertex tables are made once in the size the cut needs: a closed
    // cut has about as many vertices as segments.
    std::vector<TMSegment> Cuts;
    TMSegment Cut;
    Index.ForEachNear(Plane, [&](int I) {
        if (Cutter.Cut(Index.Triangle(I), Cut)) Cuts.push_back(Cut);
    });
    Vertices.Reserve(Cuts.size() + 1);
    for (const TMSegment& S : Cuts) AddSegment(S);
}

void TPolygonIntersections::IntersectMeshes(const TPolygonList& A, const TPolygonList& B) {
    TMBox Overlap;
    if (!IntersectBoxes(A.Extents(), B.Extents(), Overlap)) return;
    ScaleBox(Overlap, 1.1);
    const std::vector<TBoxedTriangle> TrianglesA = TrianglesMeeting(A, Overlap);
    const std::vector<TBoxedTriangle> TrianglesB = TrianglesMeeting(B, Overlap);
    if (TrianglesA.empty() || TrianglesB.empty()) return;
    const TTriangleGrid Grid(Overlap, TrianglesB, MeanBoxEdge(TrianglesA, TrianglesB));
    // Seen[b] holds the last triangle of A that met b, so a pair listed in several cells is tried once.
    std::vector<std::size_t> Seen(TrianglesB.size(), static_cast<std::size_t>(-1));
    std::vector<int> Candidates;
    for (std::size_t I = 0; I < TrianglesA.size(); ++I) {
        const TBoxedTriangle& TA = TrianglesA[I];
        Candidates.clear();
        Grid.VisitMembers(TA.Box, [&](int J) {
            std::size_t& Mark = Seen[static_cast<std::size_t>(J)];
            if (Mark == I) return;
            Mark = I;
            if (BoxesMeet(TA.Box, TrianglesB[static_cast<std::size_t>(J)].Box)) Candidates.push_back(J);
        });
        // In mesh order, as if every pair had been tried.
        std::sort(Candidates.begin(), Candidates.end());
        for (int J : Candidates) {
            TMSegment Cut;
            if (IntersectionOfTriangles(TA.Corners, TrianglesB[static_cast<std::size_t>(J)].Corners, Cut))
                AddSegmentUnchecked(Cut.Start, Cut.End);
        }
    }
}

// ---- Chaining ----

std::unique_ptr<TPolylineList> TPolygonIntersections::ToPolylines() {
    if (Edges.Count() == 0) return nullptr;
    Edges.SortEdges();
    auto Result = std::make_unique<TPolylineList>();
    // An edge that is not free when its turn comes never becomes free again, so one pass finds the
    // start of every chain.
    for (int I = 0; I < Edges.Count(); ++I) {
        TIntersectionEdge* Start = Edges.Edge(I);
        if (!Start->IsFree()) continue;
        TIntersectionEdge* Head = Start;
        while (TIntersectionEdge* E = FreeEdgeAt(Head->V1, Head)) {
            if (E->V1 == Head->V1) std::swap(E->V1, E->V2);
            E->Next = Head;
            Head->Prev = E;
            Head = E;
        }
        TIntersectionEdge* Tail = Start;
        while (TIntersectionEdge* E = FreeEdgeAt(Tail->V2, Tail)) {
            if (E->V2 == Tail->V2) std::swap(E->V1, E->V2);
            Tail->Next = E;
            E->Prev = Tail;
            Tail = E;
        }
        // Where a cut leaves the mesh, a short piece of it may have collapsed into the end vertex
        // (a station next to a column of mesh vertices crosses each diagonal within 1e-4 of the
        // row above). The vertex keeps the position it met first, which may be the inner end of
        // that piece: the line would stop short of the mesh's edge. It ends at the outer one instead.
        const bool Open = Head->V1 != Tail->V2;
        auto EndPosition = [&](const TIntersectionVertex* End, const TIntersectionVertex* Neighbour) {
            return Open && End->Degree() == 1 ? Vertices.FarthestPosition(*End, Neighbour->Position) : End->Position;
        };
        auto Line = std::make_unique<TPolyline>();
        Line->AddVector(EndPosition(Head->V1, Head->V2));
        for (TIntersectionEdge* E = Head;; E = E->Next) {
            Line->AddVector(E == Tail ? EndPosition(Tail->V2, Tail->V1) : E->V2->Position);
            E->Used = true;
            if (E == Tail) break;
        }
        Line->RemoveDuplicatePoints();
        Line->RemoveCutCollinearPoints();
        if (Line->Length() >= MinimumLength) Result->Add(std::move(Line));
    }
    if (Result->Count() == 0) return nullptr;
    return Result;
}

// ---- Entry points ----

std::unique_ptr<TPolyline> IntersectFacets(const TPolygon& A, const TPolygon& B) {
    if (A.GetShape() == 1 || B.GetShape() == 1) return nullptr;
    TMSegment Cut;
    if (!IntersectionOfTriangles(A.Triangle(), B.Triangle(), Cut)) return nullptr;
    auto Line = std::make_unique<TPolyline>();
    Line->AddVector(Cut.Start);
    Line->AddVector(Cut.End);
    return Line;
}

std::unique_ptr<TPolylineList> IntersectPlaneWithPolygons(const TMPlane& Plane, const TPolygonList& Mesh) {
    TPolygonIntersections Cut;
    Cut.IntersectPlane(Plane, Mesh);
    return Cut.ToPolylines();
}

std::unique_ptr<TPolylineList> IntersectPlaneWithPolygons(const TMPlane& Plane, const TFacetCutIndex& Index) {
    TPolygonIntersections Cut;
    Cut.IntersectPlane(Plane, Index);
    return Cut.ToPolylines();
}

std::unique_ptr<TPolylineList> IntersectPolygonLists(const TPolygonList& MeshA, const TPolygonList& MeshB) {
    TPolygonIntersections Cut;
    Cut.IntersectMeshes(MeshA, MeshB);
    return Cut.ToPolylines();
}

}  // namespace sarnova
