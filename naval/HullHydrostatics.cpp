// A hull's hydrostatics at any draught.
#include "naval/HullHydrostatics.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <tuple>
#include <typeinfo>
#include <variant>
#include <vector>

#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "naval/MeshDraughts.h"
#include "naval/VkHydro.h"
#include "surfaces/Surface.h"

namespace sarnova {

namespace {

double Diagonal(const TMBox& Box) {
    return VectorDistance(Box.Min, Box.Max);
}

// Facets lying in the centre plane belong to neither side of a half hull.
bool InCentrePlane(const TFacetRef& F, double Tolerance) {
    for (int K = 0; K < F.CornerCount(); ++K)
        if (std::fabs(PolygonCornerOrOrigin(F, K).Y) > Tolerance) return false;
    return true;
}

// The lower z of every edge that only one facet uses, the corners matched on a grid of Step.
std::vector<double> OpenEdgeLows(const TPolygonList& Mesh, double Step) {
    using TKey = std::tuple<std::int64_t, std::int64_t, std::int64_t>;
    auto Key = [Step](const TFacetCorner& P) {
        return TKey{std::llround(P.X / Step), std::llround(P.Y / Step), std::llround(P.Z / Step)};
    };
    std::map<std::pair<TKey, TKey>, std::pair<int, double>> Edges;
    for (int I = 0; I < Mesh.Count(); ++I) {
        const TFacetRef F = Mesh.Polygon(I);
        const int N = F.CornerCount();
        for (int K = 0; K < N; ++K) {
            const TFacetCorner& A = PolygonCornerOrOrigin(F, K);
            const TFacetCorner& B = PolygonCornerOrOrigin(F, (K + 1) % N);
            TKey KA = Key(A), KB = Key(B);
            if (KA == KB) continue;
            if (KB < KA) std::swap(KA, KB);
            auto& E = Edges[{KA, KB}];
            ++E.first;
            E.second = std::min(A.Z, B.Z);
        }
    }
    std::vector<double> Lows;
    for (const auto& [Edge, Use] : Edges)
        if (Use.first == 1) Lows.push_back(Use.second);
    std::sort(Lows.begin(), Lows.end());
    return Lows;
}

// The volume the facets enclose, by vertical prisms down from Top; negative when their normals
// point into the body.
double EnclosedVolume(const TPolygonList& Mesh, double Top) {
    double V = 0;
    for (int I = 0; I < Mesh.Count(); ++I) {
        const TFacetRef F = Mesh.Polygon(I);
        const int N = F.CornerCount();
        const TFacetCorner& P0 = PolygonCornerOrOrigin(F, 0);
        for (int K = 1; K + 1 < N; ++K) {
            const TFacetCorner& P1 = PolygonCornerOrOrigin(F, K);
            const TFacetCorner& P2 = PolygonCornerOrOrigin(F, K + 1);
            // The plan area, signed like the inward normal, times the mean height below Top.
            const double Az = -((P1.X - P0.X) * (P2.Y - P0.Y) - (P1.Y - P0.Y) * (P2.X - P0.X)) / 2;
            V += Az * (Top - (P0.Z + P1.Z + P2.Z) / 3);
        }
    }
    return V;
}

}  // namespace

THullHydrostatics::THullHydrostatics(const THullObject& Hull, const std::string& Name) : FName(Name) {
    auto Facets = std::make_unique<TPolygonList>();
    if (auto L = std::get_if<const TPolylineList*>(&Hull); L && *L) {
        FSections = CalculationSectionsOf(Hull);
        if (!FSections || FSections->Count() < 2)
            throw EError(FName + ": the hull needs at least two sections");
        FExtents = FSections->Extents();
        return;
    }
    if (auto M = std::get_if<const TPolygonList*>(&Hull); M && *M) {
        Facets->AddCopies(*M);
        FCheckClosed = true;
    } else if (auto Surface = HullSurfaceFacets(Hull)) {
        Facets = std::move(Surface);
        // A plain mesh is facets the user made.
        if (auto S = std::get_if<TSurface*>(&Hull)) FCheckClosed = typeid(**S) == typeid(TMesh);
    } else {
        throw EError(FName + ": this object is not a hull");
    }
    if (Facets->Count() == 0) throw EError(FName + ": the hull has no facets");
    TMBox Box = Facets->Extents();
    const double Size = Diagonal(Box);
    if (!(Size > 0) || !std::isfinite(Size)) throw EError(FName + ": the hull has no extent");
    const double Tolerance = std::max(DefaultTolerance, 1e-6 * Size);
    // A half hull on either side: its mirror image completes it, and the centre plane is inside. A
    // surface may overshoot the centre plane a little at its keel or stem; what lies across is cut
    // off, so that the two halves do not overlap.
    const double Across = std::max(Tolerance, 0.02 * (Box.Max.Y - Box.Min.Y));
    const bool Starboard = Box.Min.Y > -Across && Box.Max.Y > Across;
    const bool Port = !Starboard && Box.Max.Y < Across && Box.Min.Y < -Across;
    if (Starboard || Port) {
        if (Box.Min.Y < 0 && Box.Max.Y > 0) Facets = ClipPolygonsByPlane(*Facets, Starboard ? 1 : 0, XZPlane);
        // The facets lying in the centre plane go in one pass.
        std::vector<bool> InPlane(static_cast<std::size_t>(Facets->Count()));
        for (int I = 0; I < Facets->Count(); ++I) InPlane[static_cast<std::size_t>(I)] = InCentrePlane(Facets->Polygon(I), Tolerance);
        TPolygonList Dropped;
        Facets->MoveFacetsTo(InPlane, Dropped);
        auto Mirror = Facets->Transformed(MirrorXZMatrix);
        Mirror->FlipNormals();
        Facets->TakeFrom(*Mirror);
        Box = Facets->Extents();
    }
    FExtents = Box;
    // Facets facing into the body are turned once here rather than at every draught.
    if (EnclosedVolume(*Facets, Box.Max.Z) < 0) Facets->FlipNormals();
    if (FCheckClosed) FOpenEdgeLows = OpenEdgeLows(*Facets, 1e-7 * Size);
    // The clip at a waterplane splits quadrilaterals into these same two triangles.
    Facets->Triangulate();
    FFacets = std::move(Facets);
    FDraughts = std::make_unique<TMeshDraughts>(*FFacets);
}

THullHydrostatics::~THullHydrostatics() = default;

std::string THullHydrostatics::MethodText() const { return FromFacets() ? "facets" : "sections"; }

std::string HydrostaticsMethodText(const THullHydrostatics& Hydrostatics) {
    return "Figures from the hull's " + Hydrostatics.MethodText();
}

int THullHydrostatics::OpenEdgesBelow(double Z) const {
    return static_cast<int>(std::lower_bound(FOpenEdgeLows.begin(), FOpenEdgeLows.end(), Z) - FOpenEdgeLows.begin());
}

void THullHydrostatics::AtDraught(double Draught, THydrostaticsData& R) const {
    ResetHydrostatics(R);
    const TMPlane Plane = WaterplaneAtDraught(Draught);
    if (FSections) {
        FSections->HydrostaticSummary(Plane, R);
        return;
    }
    const int Open = OpenEdgesBelow(Draught - 1e-6 * Diagonal(FExtents));
    if (Open > 0) throw EError(FName + ": the hull is not closed: " + IntToStr(Open) + " open edges below the waterline");
    R.WaterPlane = Plane;
    R.Draught = Draught;
    if (!FDraughts->AtDraught(Draught, R)) return;
    R.WaterPlane = Plane;
    R.Draught = Draught;
    // The windows' masses follow the settings, as the section road's do.
    R.Displacement = DisplacementOfVolume(R.Volume);
    R.TPC = TonnesPerCentimetre(R.WaterPlanArea);
    R.MCT = R.LWL != 0 ? R.Displacement * R.GML / (100 * R.LWL) : 0;
}

}  // namespace sarnova
