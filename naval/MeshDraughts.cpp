#include "naval/MeshDraughts.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <numeric>

#include "foundation/FacetCutIndex.h"
#include "foundation/GeomFacet.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "foundation/PolygonIntersect.h"
#include "naval/VkHydro.h"

namespace sarnova {

namespace {

constexpr int Stride = 64;
// Corners this close to the waterplane are decided by the clip itself.
constexpr double Margin = 4 * DefaultTolerance;

double LowestZ(const TFacetRef& F) {
    double Z = PolygonCornerOrOrigin(F, 0).Z;
    for (int K = 1; K < F.CornerCount(); ++K) Z = std::min(Z, PolygonCornerOrOrigin(F, K).Z);
    return Z;
}

double HighestZ(const TFacetRef& F) {
    double Z = PolygonCornerOrOrigin(F, 0).Z;
    for (int K = 1; K < F.CornerCount(); ++K) Z = std::max(Z, PolygonCornerOrOrigin(F, K).Z);
    return Z;
}

}  // namespace

TMeshDraughts::TMeshDraughts(const TPolygonList& ATriangles)
    : Triangles(&ATriangles), Index(std::make_unique<TFacetCutIndex>(ATriangles, XAxisVector)) {
    const int N = ATriangles.Count();
    std::vector<double>& Low = Lows;
    Low.resize(static_cast<std::size_t>(N));
    std::vector<double>& High = Highs;
    High.resize(static_cast<std::size_t>(N));
    for (int I = 0; I < N; ++I) {
        Low[static_cast<std::size_t>(I)] = LowestZ(ATriangles.Polygon(I));
        High[static_cast<std::size_t>(I)] = HighestZ(ATriangles.Polygon(I));
    }
    Z0 = N > 0 ? *std::min_element(Low.begin(), Low.end()) : 0;

    ByTop.resize(static_cast<std::size_t>(N));
    std::iota(ByTop.begin(), ByTop.end(), 0);
    std::stable_sort(ByTop.begin(), ByTop.end(), [&High](int A, int B) { return High[static_cast<std::size_t>(A)] < High[static_cast<std::size_t>(B)]; });
    Tops.reserve(ByTop.size());
    for (int I : ByTop) Tops.push_back(High[static_cast<std::size_t>(I)]);
    TMeshSummer Sum(Z0);
    Running.push_back(Sum);
    for (int K = 0; K < N; ++K) {
        Sum.Add(ATriangles.Polygon(ByTop[static_cast<std::size_t>(K)]));
        if ((K + 1) % Stride == 0) Running.push_back(Sum);
    }

    // A facet over four times as tall as nine in ten facets would widen every draught's search.
    std::vector<double> Heights(static_cast<std::size_t>(N));
    for (std::size_t I = 0; I < Heights.size(); ++I) Heights[I] = High[I] - Low[I];
    double Limit = 0;
    if (N > 0) {
        std::vector<double> Sorted = Heights;
        auto Nth = Sorted.begin() + static_cast<std::ptrdiff_t>(Sorted.size() * 9 / 10);
        std::nth_element(Sorted.begin(), Nth, Sorted.end());
        Limit = 4 * *Nth;
    }
    for (int I = 0; I < N; ++I) {
        const double H = Heights[static_cast<std::size_t>(I)];
        if (H > Limit) {
            Tall.push_back(I);
        } else {
            ByBottom.push_back(I);
            Tallest = std::max(Tallest, H);
        }
    }
    std::stable_sort(ByBottom.begin(), ByBottom.end(), [&Low](int A, int B) { return Low[static_cast<std::size_t>(A)] < Low[static_cast<std::size_t>(B)]; });
    Bottoms.reserve(ByBottom.size());
    for (int I : ByBottom) Bottoms.push_back(Low[static_cast<std::size_t>(I)]);
}

TMeshDraughts::~TMeshDraughts() = default;

const std::vector<TMeshDraughts::TNearTriangle>& TMeshDraughts::NearStation(double X, double OnPlane) const {
    // Room for the stations of a few tables whose bodies keep their length; bodies that change it
    // at every draught start afresh now and then.
    constexpr std::size_t MostStations = 400;
    // By their bits: -0 and 0 give cuts that differ in the sign of their points' x.
    const std::pair<std::uint64_t, std::uint64_t> Key{std::bit_cast<std::uint64_t>(X), std::bit_cast<std::uint64_t>(OnPlane)};
    if (auto Found = Kept.find(Key); Found != Kept.end()) return Found->second;
    if (Kept.size() >= MostStations) Kept.clear();
    std::vector<TNearTriangle>& Near = Kept[Key];
    const TMPlane Station = PlaneFromDirection(3, X);
    const TPlaneCutter Cutter(Station, OnPlane);
    Index->ForEachNear(Station, [&](int I) {
        TNearTriangle& T = Near.emplace_back();
        T.Triangle = I;
        T.Cut = Cutter.Cut(Index->Triangle(I), T.Segment);
    });
    return Near;
}

bool TMeshDraughts::AtDraught(double Draught, THydrostaticsData& R) const {
    // The facets wholly below: running sums up to the last stride, then one by one.
    const auto Below = static_cast<std::size_t>(std::lower_bound(Tops.begin(), Tops.end(), Draught - Margin) - Tops.begin());
    TMeshSummer Sum = Running[Below / Stride];
    for (std::size_t K = Below / Stride * Stride; K < Below; ++K) Sum.Add(Triangles->Polygon(ByTop[K]));
    std::size_t Wet = Below;

    // The facets the waterplane may cut, clipped as the clip of a whole mesh would.
    const TMPlane Plane = WaterplaneAtDraught(Draught);
    // A part with four corners counts as its triangles (0, 1, 2) and (0, 2, 3), as the clipped mesh
    // triangulated would hold it.
    std::array<TMVector, 4> Part;
    auto Clip = [&](int I) {
        if (Highs[static_cast<std::size_t>(I)] < Draught - Margin) return;
        const int Corners = ClippedPolygonCorners(Triangles->Polygon(I), Plane, Part);
        if (Corners == 0) return;
        Sum.Add(Part[0], Part[1], Part[2]);
        ++Wet;
        if (Corners == 4) {
            Sum.Add(Part[0], Part[2], Part[3]);
            ++Wet;
        }
    };
    const auto First = std::lower_bound(Bottoms.begin(), Bottoms.end(), Draught - Margin - Tallest) - Bottoms.begin();
    const auto Last = std::upper_bound(Bottoms.begin(), Bottoms.end(), Draught + Margin) - Bottoms.begin();
    // The facets lie about the memory in no order by height: those a few ahead are asked for early.
    constexpr std::ptrdiff_t Ahead = 8;
    for (auto K = First; K < Last; ++K) {
        if (K + Ahead < Last) PrefetchFacet(Triangles->Polygon(ByBottom[static_cast<std::size_t>(K + Ahead)]));
        Clip(ByBottom[static_cast<std::size_t>(K)]);
    }
    for (int I : Tall)
        if (Lows[static_cast<std::size_t>(I)] <= Draught + Margin) Clip(I);
    if (Wet == 0) return false;

    const TMBox& Box = Sum.GetBox();
    // The sections are cut from the facets below the waterplane as the cut of the clipped mesh would
    // find them: the facets near the station, clipped, with the on-plane tolerance of the clipped
    // mesh, which its box gives.
    TCutTolerance WetTolerance;
    WetTolerance.Add(Box.Min);
    WetTolerance.Add(Box.Max);
    const double OnPlane = WetTolerance.Tolerance();
    const double Tolerance = 1e-7 * VectorDistance(Box.Min, Box.Max);
    // The segments of the section at X, in the order the cut of the clipped mesh would gather them.
    auto Gather = [&](double X, std::vector<TMSegment>& Segments) {
        Segments.clear();
        // A station that is no number cuts nothing, and has no place among the kept ones.
        if (std::isnan(X)) return;
        const TPlaneCutter Cutter(PlaneFromDirection(3, X), OnPlane);
        TMSegment Segment;
        auto CutTriangle = [&](const TMTriangle& T) {
            if (Cutter.Cut(T, Segment)) Segments.push_back(Segment);
        };
        const std::vector<TNearTriangle>& Near = NearStation(X, OnPlane);
        Segments.reserve(Near.size());
        for (const TNearTriangle& T : Near) {
            const auto I = static_cast<std::size_t>(T.Triangle);
            if (Highs[I] < Draught - Margin) {
                if (T.Cut) Segments.push_back(T.Segment);
                continue;
            }
            // Wholly above the waterplane: nothing of it is under water.
            if (Lows[I] > Draught + Margin) continue;
            const int Corners = ClippedPolygonCorners(Triangles->Polygon(T.Triangle), Plane, Part);
            if (Corners == 0) continue;
            CutTriangle({Part[0], Part[1], Part[2]});
            if (Corners == 4) CutTriangle({Part[0], Part[2], Part[3]});
        }
    };
    TPolygonIntersections Intersections;
    auto AreaOf = [&](const std::vector<TMSegment>& Segments) {
        Intersections.Clear();
        // Room for every cut point at once: the tables are not grown cut after cut.
        Intersections.Vertices.Reserve(2 * Segments.size());
        for (const TMSegment& S : Segments) Intersections.AddSegment(S);
        const std::unique_ptr<TPolylineList> Cut = Intersections.ToPolylines();
        return Cut ? SectionAreaOfCut(*Cut, Tolerance) : 0.0;
    };
    // The stations' segments are kept from their bounds for their areas.
    std::vector<std::pair<double, std::vector<TMSegment>>> Stations;
    Stations.reserve(LargestSectionStations);
    std::vector<TMSegment> Segments;
    auto BoundAt = [&](double X) {
        Stations.emplace_back(X, std::vector<TMSegment>{});
        Gather(X, Stations.back().second);
        return SectionAreaBound(Stations.back().second, Tolerance);
    };
    auto AreaAt = [&](double X) {
        for (const auto& [At, Cut] : Stations)
            if (At == X) return AreaOf(Cut);
        Gather(X, Segments);
        return AreaOf(Segments);
    };
    HydrostaticsFromSums(Sum.Sums(), Box, LargestSectionArea(AreaAt, Box.Min.X, Box.Max.X, OnPlane, BoundAt), R);
    return true;
}

}  // namespace sarnova
