#include "foundation/PolygonBuild.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <utility>
#include <vector>

#include "foundation/GeomFacet.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "foundation/Polyline.h"
#include "foundation/PolylineResample.h"
#include "foundation/VkMathsIntersect.h"

namespace sarnova {

namespace {

// The corners present, counted from corner 0.
int PresentCorners(const TPolygon& F) {
    int N = 0;
    while (N < F.CornerCount() && F.Corner(N)) ++N;
    return N;
}

// ---- Outline triangulation ----

// One piece of an outline: indices into the outline's points, in cyclic order.
using TPiece = std::vector<int>;

class TOutlineSplitter {
public:
    // Every piece of a planar outline split along diagonals runs the same way about the outline's
    // normal as the whole.
    explicit TOutlineSplitter(const TPolyline& Outline) : FOutline(Outline), FNormal(Outline.AreaNormal()) {}

    void Split(TPiece Whole, TPolygonList& Result) {
        // Pieces wait on a stack rather than in recursion, so a long outline cannot exhaust the call
        // stack; the first piece of a split is still finished before the second.
        std::vector<TPiece> Pending;
        Pending.push_back(std::move(Whole));
        while (!Pending.empty()) {
            TPiece Piece = std::move(Pending.back());
            Pending.pop_back();
            if (Piece.size() == 3) {
                Result.Add(NewTriangle(Point(Piece, 0), Point(Piece, 1), Point(Piece, 2)));
                continue;
            }
            int I = 0, J = 0;
            if (!FindDiagonal(Piece, I, J)) continue;  // left as a hole
            Pending.push_back(SubPiece(Piece, J, I));
            Pending.push_back(SubPiece(Piece, I, J));
        }
    }

private:
    const TRPoint& Point(const TPiece& Piece, int K) const {
        return *FOutline.Point(Piece[static_cast<std::size_t>(K)]);
    }
    TMVector Vector(const TPiece& Piece, int K) const { return Point(Piece, K).Vector(); }

    // From I forward through the cyclic order to J, both included.
    static TPiece SubPiece(const TPiece& Piece, int I, int J) {
        const int N = static_cast<int>(Piece.size());
        TPiece Sub;
        for (int K = I;; K = (K + 1) % N) {
            Sub.push_back(Piece[static_cast<std::size_t>(K)]);
            if (K == J) break;
        }
        return Sub;
    }

    // Positive when V lies counterclockwise from U about N, negative clockwise, 0 when parallel.
    static double Turn(const TMVector& N, const TMVector& U, const TMVector& V) {
        const TMVector C = VectorCross(VectorPerpendicularPart(N, V), VectorPerpendicularPart(N, U));
        return VectorLength(VectorAdd(VectorNormalise(C), N)) - 1;
    }

    bool DiagonalInCone(const TPiece& Piece, const TMVector& N, int I, int J) const {
        const int Count = static_cast<int>(Piece.size());
        const TMVector A = Vector(Piece, I);
        const TMVector D = VectorFromTo(A, Vector(Piece, J));
        const TMVector Prev = VectorFromTo(A, Vector(Piece, (I + Count - 1) % Count));
        const TMVector Next = VectorFromTo(A, Vector(Piece, (I + 1) % Count));
        if (Turn(N, Next, Prev) > 0) return Turn(N, Next, D) > 0 && Turn(N, D, Prev) > 0;
        return Turn(N, Next, D) > 0 || Turn(N, D, Prev) > 0;
    }

    // The outline is planar, so lines whose parameters both fall on the segments cross whatever their
    // distance. The lines run along unit directions, so that their determinant measures the angle
    // between them and not their lengths too: short edges of a finely divided outline are not taken
    // for parallel.
    static bool SegmentsCross(const TMVector& A0, const TMVector& A1, const TMVector& B0, const TMVector& B1) {
        const TMVector DA = VectorFromTo(A0, A1);
        const TMVector DB = VectorFromTo(B0, B1);
        const TMVector UA = VectorNormalise(DA);
        const TMClosestApproach R = ClosestApproachOfLines(LineFromPointAndDirection(A0, UA),
                                                           LineFromPointAndDirection(B0, VectorNormalise(DB)));
        if (std::fabs(R.Det) >= NearZero)
            return R.TA >= 0 && R.TA <= VectorLength(DA) && R.TB >= 0 && R.TB <= VectorLength(DB);
        // Parallel segments (or a point-like edge) meet only where they lie on one line and overlap:
        // a diagonal parallel to a side across the outline, as in any regular polygon of an odd
        // number of sides, crosses nothing.
        if (VectorLength(DA) < DefaultTolerance) return true;
        auto OffLine = [&](const TMVector& P) {
            return VectorLength(VectorPerpendicularPart(UA, VectorFromTo(A0, P))) >= DefaultTolerance;
        };
        if (OffLine(B0) && OffLine(B1)) return false;
        const double T0 = VectorDot(UA, VectorFromTo(A0, B0));
        const double T1 = VectorDot(UA, VectorFromTo(A0, B1));
        return std::max(std::min(T0, T1), 0.0) <= std::min(std::max(T0, T1), VectorLength(DA));
    }

    bool IsValidDiagonal(const TPiece& Piece, const TMVector& N, int I, int J) const {
        if (!DiagonalInCone(Piece, N, I, J)) return false;
        const int Count = static_cast<int>(Piece.size());
        const TMVector A = Vector(Piece, I);
        const TMVector B = Vector(Piece, J);
        for (int K = 0; K < Count; ++K) {
            const int L = (K + 1) % Count;
            if (K == I || K == J || L == I || L == J) continue;
            if (SegmentsCross(A, B, Vector(Piece, K), Vector(Piece, L))) return false;
        }
        return true;
    }

    bool FindDiagonal(const TPiece& Piece, int& I, int& J) const {
        const int Count = static_cast<int>(Piece.size());
        const TMVector& N = FNormal;
        for (I = 0; I < Count; ++I)
            for (J = 0; J < Count; ++J) {
                if (J == I || J == (I + 1) % Count || I == (J + 1) % Count) continue;
                if (IsValidDiagonal(Piece, N, I, J)) return true;
            }
        return false;
    }

    const TPolyline& FOutline;
    const TMVector FNormal;
};

// ---- Plates and subdivision ----

TRPoint MovedInX(const TRPoint& P, double DX) {
    TRPoint Q;
    Q.Assign(P);
    Q.X += DX;
    return Q;
}

TRPoint PointAt(const TMVector& V) { return TRPoint(V); }

using TEdge = std::pair<const TFacetCorner*, const TFacetCorner*>;

// Corners of facet F's edge K (from corner K to the next, the last back to corner 0).
TEdge EdgeOf(const TPolygon& F, int K) { return {F.Corner(K), F.Corner((K + 1) % F.CornerCount())}; }

// The same two places within 1e-4, in either direction.
bool SameEdge(const TEdge& E, const TEdge& G) {
    return (E.first->IsEqual(*G.first) && E.second->IsEqual(*G.second)) ||
           (E.first->IsEqual(*G.second) && E.second->IsEqual(*G.first));
}

// The first edge of A (then of B) that the two facets share; false when there is none or either
// facet lacks corners.
bool FirstSharedEdge(const TPolygon& A, const TPolygon& B, int& EdgeA, int& EdgeB) {
    if (PresentCorners(A) != A.CornerCount() || PresentCorners(B) != B.CornerCount()) return false;
    for (EdgeA = 0; EdgeA < A.CornerCount(); ++EdgeA)
        for (EdgeB = 0; EdgeB < B.CornerCount(); ++EdgeB)
            if (SameEdge(EdgeOf(A, EdgeA), EdgeOf(B, EdgeB))) return true;
    return false;
}

// The two corners a facet gives to a merged quadrilateral: a triangle its corner opposite the edge,
// then the edge's first corner; a quadrilateral its two corners off the edge, starting after it.
std::pair<int, int> CornersOffEdge(const TPolygon& F, int Edge) {
    if (F.CornerCount() == 3) return {(Edge + 2) % 3, Edge};
    return {(Edge + 2) % 4, (Edge + 3) % 4};
}

}  // namespace

// ---- Outlines ----

std::unique_ptr<TPolygonList> TriangulatePolyline(const TPolyline& Outline) {
    auto Result = std::make_unique<TPolygonList>();
    const std::unique_ptr<TPolyline> Work = Outline.Clone();
    while (Work->IsClosed()) Work->Delete(Work->Count() - 1);
    if (Work->Count() < 3) return Result;
    TPiece Whole(static_cast<std::size_t>(Work->Count()));
    for (int I = 0; I < Work->Count(); ++I) Whole[static_cast<std::size_t>(I)] = I;
    TOutlineSplitter(*Work).Split(std::move(Whole), *Result);
    return Result;
}

// ---- Skinning ----

std::unique_ptr<TPolygonList> MeshFromSections(const TPolylineList& Sections, double Spacing, double Angle) {
    TPolylineList Respaced;
    for (int I = 0; I < Sections.Count(); ++I) {
        std::unique_ptr<TPolyline> Copy = Sections.Items(I)->Clone();
        ResampleAtKnuckles(*Copy, Spacing, Angle);
        Respaced.Add(std::move(Copy));
    }
    return SkinPolylines(Respaced);
}

std::unique_ptr<TPolygonList> SkinPolylines(const TPolylineList& Sections) {
    auto Mesh = std::make_unique<TPolygonList>();
    for (int I = 1; I < Sections.Count(); ++I) StripBetween(*Sections.Items(I - 1), *Sections.Items(I), *Mesh);
    return Mesh;
}

void StripBetween(const TPolyline& P, const TPolyline& Q, TPolygonList& Mesh) {
    const std::unique_ptr<TLinksList> Links = LinkSections(P, Q);
    const TPolyline& CP = P;
    const TPolyline& CQ = Q;
    for (int K = 1; K < Links->Count(); ++K) {
        const int B = Links->Link(K - 1).First, D = Links->Link(K - 1).Second;
        const int C = Links->Link(K).First, E = Links->Link(K).Second;
        if (B == C)
            Mesh.Add(NewTriangle(*CP.Point(B), *CQ.Point(D), *CQ.Point(E)));
        else if (D == E)
            Mesh.Add(NewTriangle(*CP.Point(B), *CQ.Point(D), *CP.Point(C)));
        else
            Mesh.Add(NewQuad(*CP.Point(B), *CQ.Point(D), *CQ.Point(E), *CP.Point(C)));
    }
}

// ---- Plates ----

std::unique_ptr<TPolygonList> ThickenPolyline(const TPolyline& Section, double Width, double Thickness) {
    auto Mesh = std::make_unique<TPolygonList>();
    const std::unique_ptr<TPolyline> A = Section.Clone();
    A->RemoveDuplicatePoints();
    if (A->Count() < 2) return Mesh;
    const std::unique_ptr<TPolyline> B = A->Clone();
    B->OffsetInYZ(-Width);
    const double H = Thickness / 2;
    const TPolyline& CA = *A;
    const TPolyline& CB = *B;
    const int N = std::min(CA.Count(), CB.Count());
    for (int C = 1; C < N; ++C) {
        const int D = C - 1;
        const TRPoint& Ad = *CA.Point(D);
        const TRPoint& Ac = *CA.Point(C);
        const TRPoint& Bd = *CB.Point(D);
        const TRPoint& Bc = *CB.Point(C);
        Mesh->Add(NewQuad(MovedInX(Ad, H), MovedInX(Bd, H), MovedInX(Bc, H), MovedInX(Ac, H)));
        Mesh->Add(NewQuad(MovedInX(Ac, -H), MovedInX(Bc, -H), MovedInX(Bd, -H), MovedInX(Ad, -H)));
        Mesh->Add(NewQuad(MovedInX(Bd, -H), MovedInX(Bd, H), MovedInX(Bc, H), MovedInX(Bc, -H)));
        Mesh->Add(NewQuad(MovedInX(Ac, -H), MovedInX(Ac, H), MovedInX(Ad, H), MovedInX(Ad, -H)));
    }
    Mesh->Triangulate();
    return Mesh;
}

std::unique_ptr<TPolygonList> ThickenPolylines(const TPolylineList& Sections, double Width, double Thickness) {
    auto Mesh = std::make_unique<TPolygonList>();
    for (int I = 0; I < Sections.Count(); ++I) {
        const std::unique_ptr<TPolygonList> Plate = ThickenPolyline(*Sections.Items(I), Width, Thickness);
        Mesh->TakeFrom(*Plate);
    }
    return Mesh;
}

// ---- Subdivision ----

std::unique_ptr<TPolygonList> SubdivideFacet(const TPolygon& F) {
    auto Mesh = std::make_unique<TPolygonList>();
    // The corners with everything they carry, as the new facets take them.
    const TRPoint C0 = F.CornerPoint(0);
    const TRPoint C1 = F.CornerPoint(1);
    const TRPoint C2 = F.CornerPoint(2);
    if (F.GetShape() != 1) {
        const TRPoint G = PointAt(PolygonCentroid(F));
        Mesh->Add(NewTriangle(C0, C1, G));
        Mesh->Add(NewTriangle(C1, C2, G));
        Mesh->Add(NewTriangle(C2, C0, G));
        return Mesh;
    }
    const TRPoint C3 = F.CornerPoint(3);
    const TRPoint M01 = PointAt(VectorMidpoint(C0.Vector(), C1.Vector()));
    const TRPoint M12 = PointAt(VectorMidpoint(C1.Vector(), C2.Vector()));
    const TRPoint M23 = PointAt(VectorMidpoint(C2.Vector(), C3.Vector()));
    const TRPoint M30 = PointAt(VectorMidpoint(C3.Vector(), C0.Vector()));
    if (M12.Distance(M30) >= M01.Distance(M23)) {
        Mesh->Add(NewQuad(C3, C0, M01, M23));
        Mesh->Add(NewQuad(C1, C2, M23, M01));
    } else {
        Mesh->Add(NewQuad(C0, C1, M12, M30));
        Mesh->Add(NewQuad(C2, C3, M30, M12));
    }
    return Mesh;
}

std::unique_ptr<TPolygonList> SubdivideFacets(const TPolygons& L) {
    auto Mesh = std::make_unique<TPolygonList>();
    for (int I = 0; I < L.Count(); ++I) {
        const std::unique_ptr<TPolygonList> Parts = SubdivideFacet(*L.Polygon(I));
        Mesh->TakeFrom(*Parts);
    }
    return Mesh;
}

std::unique_ptr<TPolygonList> SubdivideFacets(const TPolygonList& L, const std::vector<int>& Indices) {
    auto Mesh = std::make_unique<TPolygonList>();
    for (const int I : Indices) {
        const std::unique_ptr<TPolygonList> Parts = SubdivideFacet(*CopyPolygon(L.Polygon(I)));
        Mesh->TakeFrom(*Parts);
    }
    return Mesh;
}

// ---- Edges ----

bool FacetsShareEdge(const TPolygon& A, const TPolygon& B) {
    int EdgeA = 0, EdgeB = 0;
    return FirstSharedEdge(A, B, EdgeA, EdgeB);
}

std::unique_ptr<TPolygon> MergeFacetsToQuad(const TPolygon& A, TPolygon& B) {
    int EdgeA = 0, EdgeB = 0;
    if (!FirstSharedEdge(A, B, EdgeA, EdgeB)) return nullptr;
    if (VectorDistance(PolygonNormal(A), PolygonNormal(B)) > std::numbers::sqrt2) {
        FlipPolygon(B);
        FirstSharedEdge(A, B, EdgeA, EdgeB);
    }
    const auto [A1, A2] = CornersOffEdge(A, EdgeA);
    const auto [B1, B2] = CornersOffEdge(B, EdgeB);
    return NewQuad(A.CornerPoint(A1), A.CornerPoint(A2), B.CornerPoint(B1), B.CornerPoint(B2));
}

TClosestEdgePoint ClosestEdgePoint(const TPolygon& F, const TRPoint& Point) {
    TClosestEdgePoint Result;
    const int N = PresentCorners(F);
    const TMVector P = Point.Vector();
    double Best = HugeValue;
    for (int K = 0; K < N; ++K) {
        const TMVector S = F.Corner(K)->Vector();
        const TMVector E = F.Corner((K + 1) % N)->Vector();
        const TMVector D = VectorFromTo(S, E);
        const double DD = VectorDot(D, D);
        double T = 0;
        if (std::fabs(DD) >= NearZero)
            T = VectorDot(VectorFromTo(S, P), D) / DD;
        else
            T = VectorDistance(P, S) <= VectorDistance(P, E) ? 0 : 1;
        T = std::clamp(T, 0.0, 1.0);
        const double Distance = VectorDistance(P, VectorAdd(S, VectorScale(D, T)));
        if (Distance < Best) {
            Best = Distance;
            Result.Edge = K + 1;
            Result.Fraction = T;
        }
    }
    return Result;
}

}  // namespace sarnova
