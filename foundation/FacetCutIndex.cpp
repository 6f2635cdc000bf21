#include "foundation/FacetCutIndex.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <tuple>

#include "foundation/Polygon.h"

namespace sarnova {

namespace {

// Rounding in a mesh built from angles or transforms stays within a few thousand units in the last
// place of its coordinates; features are drawn at 1e-4 and above.
constexpr double SizeFraction = 1e-10;
constexpr double MagnitudeFraction = 1e-13;
// How many facets ahead a pass over a mesh asks for the memory it will read.
constexpr int PrefetchDistance = 8;

bool IsFinite(const TMVector& V) { return std::isfinite(V.X) && std::isfinite(V.Y) && std::isfinite(V.Z); }

double& CoordinateOf(TMVector& V, int Axis) { return Axis == 0 ? V.X : Axis == 1 ? V.Y : V.Z; }
double CoordinateOf(const TMVector& V, int Axis) { return Axis == 0 ? V.X : Axis == 1 ? V.Y : V.Z; }

// The float next to V on its lower (upper) side, or V itself when a float holds it; beyond the float
// range the largest float or an infinity. Extents kept this way are a little wide, never short.
float FloatBelow(double V) {
    if (V > std::numeric_limits<float>::max()) return std::numeric_limits<float>::max();
    if (V < -std::numeric_limits<float>::max()) return -std::numeric_limits<float>::infinity();
    const float F = static_cast<float>(V);
    if (!(static_cast<double>(F) > V)) return F;
    // One step down, by the bits rather than a library call.
    if (F > 0) return std::bit_cast<float>(std::bit_cast<std::uint32_t>(F) - 1);
    if (F < 0) return std::bit_cast<float>(std::bit_cast<std::uint32_t>(F) + 1);
    return -std::numeric_limits<float>::denorm_min();
}
float FloatAbove(double V) { return -FloatBelow(-V); }

// A corner the facet does not have counts as the origin, as in the facet measures.
TMVector CornerOf(const TFacetRef& F, int I) { return F.StoredCorner(I).Vector(); }

}  // namespace

void PrefetchFacet(const TFacetRef& F) {
    for (int K = 0; K < F.CornerCount(); ++K) {
        __builtin_prefetch(&F.StoredCorner(K));
        __builtin_prefetch(&F.StoredCorner(K).Z);
    }
}

// ---- Tolerance ----

void TCutTolerance::Add(const TMVector& P) {
    if (!IsFinite(P)) return;
    FLow = {std::min(FLow.X, P.X), std::min(FLow.Y, P.Y), std::min(FLow.Z, P.Z)};
    FHigh = {std::max(FHigh.X, P.X), std::max(FHigh.Y, P.Y), std::max(FHigh.Z, P.Z)};
}

double TCutTolerance::Tolerance() const {
    if (!(FLow.X <= FHigh.X)) return 0;
    const double Size = std::max({FHigh.X - FLow.X, FHigh.Y - FLow.Y, FHigh.Z - FLow.Z});
    const double Magnitude = std::max({-FLow.X, -FLow.Y, -FLow.Z, FHigh.X, FHigh.Y, FHigh.Z});
    const double Result = SizeFraction * Size + MagnitudeFraction * Magnitude;
    return std::isfinite(Result) ? Result : 0;
}

double OnPlaneTolerance(const TPolygonList& Mesh) {
    TCutTolerance T;
    for (int I = 0; I < Mesh.Count(); ++I) {
        const TFacetRef F = Mesh.Polygon(I);
        for (int K = 0; K < F.CornerCount(); ++K) T.Add(CornerOf(F, K));
    }
    return T.Tolerance();
}

// ---- One plane ----

TPlaneCutter::TPlaneCutter(const TMPlane& Plane, double Tolerance) : FPlane(Plane) {
    const TMVector& N = Plane.Normal;
    if (N.Y == 0 && N.Z == 0 && N.X != 0) FAxis = 0;
    if (N.X == 0 && N.Z == 0 && N.Y != 0) FAxis = 1;
    if (N.X == 0 && N.Y == 0 && N.Z != 0) FAxis = 2;
    if (FAxis >= 0) {
        FLevel = Plane.Distance / CoordinateOf(N, FAxis);
        FTolerance = Tolerance;
    } else {
        // Side measures in units of the normal's length.
        FTolerance = Tolerance * VectorLength(N);
    }
}

double TPlaneCutter::Side(const TMVector& P) const {
    const double D = FAxis >= 0 ? CoordinateOf(P, FAxis) - FLevel : VectorDot(FPlane.Normal, P) - FPlane.Distance;
    return std::fabs(D) <= FTolerance ? 0 : D;
}

bool TPlaneCutter::Cut(const TMTriangle& T, TMSegment& Segment, int* Corners) const {
    const double D[3] = {Side(T[0]), Side(T[1]), Side(T[2])};
    int On = 0, Above = 0, Below = 0;
    for (double S : D) {
        if (S == 0) ++On;
        else if (S > 0) ++Above;
        else if (S < 0) ++Below;
        else return false;  // not a number
    }
    // Along an edge, or across: not in the plane, missing it, or touching it at one corner.
    if (On != 2 && !(Above > 0 && Below > 0)) return false;
    TMVector Points[2];
    int From[2] = {-1, -1};
    int N = 0;
    for (int K = 0; K < 3; ++K)
        if (D[K] == 0) {
            Points[N] = T[static_cast<std::size_t>(K)];
            if (FAxis >= 0) CoordinateOf(Points[N], FAxis) = FLevel;
            From[N++] = K;
        }
    for (int K = 0; K < 3 && N < 2; ++K) {
        const int E = (K + 1) % 3;
        if (!((D[K] < 0 && D[E] > 0) || (D[K] > 0 && D[E] < 0))) continue;
        // Measured from the lower end, so that the two triangles sharing an edge find the same point
        // to the last bit whichever way round they hold it.
        const bool Forward = std::tie(T[K].X, T[K].Y, T[K].Z) < std::tie(T[E].X, T[E].Y, T[E].Z);
        const int A = Forward ? K : E, B = Forward ? E : K;
        const TMVector& P = T[static_cast<std::size_t>(A)];
        const TMVector& Q = T[static_cast<std::size_t>(B)];
        Points[N] = VectorAdd(P, VectorScale(VectorFromTo(P, Q), D[A] / (D[A] - D[B])));
        if (FAxis >= 0) CoordinateOf(Points[N], FAxis) = FLevel;
        ++N;
    }
    // A corner that is not finite spoils the triangle, whichever corners the cut uses.
    if (N != 2 || !IsFinite(T[0]) || !IsFinite(T[1]) || !IsFinite(T[2])) return false;
    Segment.Start = Points[0];
    Segment.End = Points[1];
    if (Corners) {
        Corners[0] = From[0];
        Corners[1] = From[1];
    }
    return true;
}

// ---- Many parallel planes ----

TFacetCutIndex::TFacetCutIndex(const TPolygonList& Mesh, const TMVector& Direction)
    : FMesh(&Mesh), FDirection(VectorLength(Direction) > 0 ? Direction : XAxisVector) {
    const std::size_t Facets = static_cast<std::size_t>(Mesh.Count());
    FRange.reserve(Facets);
    double Low = HUGE_VAL, High = -HUGE_VAL, ExtentSum = 0, Cuttable = 0;
    // The box of the finite corners, for the tolerance, kept here rather than through a call a corner.
    TMVector BoxLow{HUGE_VAL, HUGE_VAL, HUGE_VAL}, BoxHigh{-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    auto Finite = [&](const TMVector& P) {
        if (!IsFinite(P)) return false;
        BoxLow = {std::min(BoxLow.X, P.X), std::min(BoxLow.Y, P.Y), std::min(BoxLow.Z, P.Z)};
        BoxHigh = {std::max(BoxHigh.X, P.X), std::max(BoxHigh.Y, P.Y), std::max(BoxHigh.Z, P.Z)};
        return true;
    };
    const TMVector N = FDirection;
    auto Take = [&](bool AllFinite, const TMVector& A, const TMVector& B, const TMVector& C) {
        std::array<float, 2> R{1, 0};
        if (AllFinite) {
            const double DA = VectorDot(N, A), DB = VectorDot(N, B), DC = VectorDot(N, C);
            const double Least = std::min({DA, DB, DC}), Greatest = std::max({DA, DB, DC});
            if (std::isfinite(Least) && std::isfinite(Greatest)) {
                R = {FloatBelow(Least), FloatAbove(Greatest)};
                Low = std::min(Low, Least);
                High = std::max(High, Greatest);
                ExtentSum += Greatest - Least;
                ++Cuttable;
            }
        }
        FRange.push_back(R);
    };
    const int Count = Mesh.Count();
    for (int I = 0; I < Count; ++I) {
        // Facets are large and scattered: asking for one a few ahead keeps several reads in flight.
        if (I + PrefetchDistance < Count) PrefetchFacet(Mesh.Polygon(I + PrefetchDistance));
        const TFacetRef F = Mesh.Polygon(I);
        const TMVector C0 = CornerOf(F, 0), C1 = CornerOf(F, 1), C2 = CornerOf(F, 2);
        const bool Finite0 = Finite(C0), Finite1 = Finite(C1), Finite2 = Finite(C2);
        Take(Finite0 && Finite1 && Finite2, C0, C1, C2);
        if (F.GetShape() == 1) {
            const TMVector C3 = CornerOf(F, 3);
            Take(Finite0 && Finite2 && Finite(C3), C0, C2, C3);
            // The first quadrilateral: every triangle from here on needs its facet's number.
            if (FCode.empty()) {
                FCode.reserve(Facets + Facets / 4);
                for (std::uint32_t K = 0; K < static_cast<std::uint32_t>(I); ++K) FCode.push_back(4 * K);
            }
            FCode.push_back(4 * static_cast<std::uint32_t>(I) + 1);
            FCode.push_back(4 * static_cast<std::uint32_t>(I) + 3);
        } else if (!FCode.empty()) {
            FCode.push_back(4 * static_cast<std::uint32_t>(I));
        }
    }
    TCutTolerance Scale;
    Scale.Add(BoxLow);
    Scale.Add(BoxHigh);
    FTolerance = Scale.Tolerance();
    if (!(Low <= High)) {  // nothing can be cut
        FSlabStart.assign(1, 0);
        return;
    }
    const double Length = VectorLength(FDirection);
    // The cutter's tolerance along the direction, and room for the rounding of a plane's level.
    FMargin = 2 * FTolerance * Length + 1e-12 * std::max(std::fabs(Low), std::fabs(High));
    FLow = Low - FMargin;
    const double Span = High + FMargin - FLow;
    // Slabs about as wide as the triangles are long: each triangle sits in one or two of them, and the
    // slabs hold about twice the triangles whatever their shape.
    const double MeanExtent = ExtentSum / Cuttable;
    double Slabs = MeanExtent > 0 ? std::ceil(Span / MeanExtent) : 1;
    Slabs = std::clamp(Slabs, 1.0, Cuttable);
    FSlabsPerUnit = Span > 0 ? Slabs / Span : 1;
    const std::size_t K = static_cast<std::size_t>(Slabs);
    FSlabStart.assign(K + 1, 0);
    // Every extent lies above FLow, so truncation finds the slab (and a level a rounding below FLow
    // the first); the library's floor would cost a call per end.
    const double LastSlab = Slabs - 1;
    auto Clamped = [&](double Level) {
        const double S = (Level - FLow) * FSlabsPerUnit;
        return static_cast<std::size_t>(static_cast<std::int64_t>(S > 0 ? std::min(S, LastSlab) : 0.0));
    };
    // Count, then fill: every slab's members in one array, ascending.
    for (const auto& R : FRange)
        if (R[0] <= R[1])
            for (std::size_t B = Clamped(R[0] - FMargin), E = Clamped(R[1] + FMargin); B <= E; ++B) ++FSlabStart[B + 1];
    for (std::size_t B = 1; B <= K; ++B) FSlabStart[B] += FSlabStart[B - 1];
    FSlabMembers.resize(FSlabStart[K]);
    std::vector<std::uint32_t> Fill(FSlabStart.begin(), FSlabStart.end() - 1);
    for (std::size_t I = 0; I < FRange.size(); ++I) {
        const auto& R = FRange[I];
        if (R[0] <= R[1])
            for (std::size_t B = Clamped(R[0] - FMargin), E = Clamped(R[1] + FMargin); B <= E; ++B)
                FSlabMembers[Fill[B]++] = static_cast<int>(I);
    }
}

void TFacetCutIndex::Prefetch(int I) const {
    const std::uint32_t C = FCode.empty() ? 4 * static_cast<std::uint32_t>(I) : Code(I);
    PrefetchFacet(FMesh->Polygon(static_cast<int>(C >> 2)));
}

TMTriangle TFacetCutIndex::Triangle(int I) const {
    const std::uint32_t C = FCode.empty() ? 4 * static_cast<std::uint32_t>(I) : Code(I);
    const TFacetRef F = FMesh->Polygon(static_cast<int>(C >> 2));
    // A quadrilateral's second triangle is (0, 2, 3).
    if ((C & 3) == 3) return {CornerOf(F, 0), CornerOf(F, 2), CornerOf(F, 3)};
    return {CornerOf(F, 0), CornerOf(F, 1), CornerOf(F, 2)};
}

std::size_t TFacetCutIndex::Slab(double Level) const {
    const std::size_t K = FSlabStart.size() - 1;
    const double S = std::floor((Level - FLow) * FSlabsPerUnit);
    // A level that is not a number has no slab; one beyond the ends looks at the end slab, whose
    // triangles' extents then turn it away.
    if (K == 0 || std::isnan(S)) return K;
    return static_cast<std::size_t>(std::clamp(S, 0.0, static_cast<double>(K - 1)));
}

bool TFacetCutIndex::Parallel(const TMVector& Normal) const {
    const double Cross = VectorLength(VectorCross(Normal, FDirection));
    return VectorLength(Normal) > 0 && Cross <= 1e-13 * VectorLength(Normal) * VectorLength(FDirection);
}

bool TFacetCutIndex::LevelOf(const TMPlane& Plane, double& Level) const {
    if (!Parallel(Plane.Normal)) return false;
    // Normal = k Direction: the plane is Direction . P = Distance / k.
    const double K = VectorDot(Plane.Normal, FDirection) / VectorDot(FDirection, FDirection);
    Level = Plane.Distance / K;
    return std::isfinite(Level);
}

}  // namespace sarnova
