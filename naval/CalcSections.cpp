// Calculation sections.
#include "naval/CalcSections.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "foundation/Contours.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/FacetCutIndex.h"
#include "foundation/Polygon.h"
#include "naval/VkHydro.h"
#include "platform/Screen.h"
#include "surfaces/BSurface.h"
#include "surfaces/SurfaceList.h"

namespace sarnova {

namespace {

double BoxDiagonal(const TMBox& Box) { return VectorDistance(Box.Min, Box.Max); }

// How many even parameter steps keep the chord within Tolerance along one direction, from the
// deviation of midpoints on a probe grid (a chord's error grows with the square of its span). The
// few probes that straddle a knuckle, where no even spacing helps, are left out of the judgement.
int StepsWithin(TSurface& S, bool AlongU, double Tolerance) {
    constexpr int Probe = 32;
    const double U0 = S.MinU(), U1 = S.MaxU(), V0 = S.MinV(), V1 = S.MaxV();
    std::vector<double> Deviations;
    for (int I = 0; I < Probe; ++I)
        for (int J = 0; J <= Probe / 4; ++J) {
            const double A = static_cast<double>(I) / Probe, B = static_cast<double>(I + 1) / Probe;
            const double C = static_cast<double>(J) / (Probe / 4);
            auto At = [&](double T) {
                return AlongU ? S.Evaluate(U0 + (U1 - U0) * T, V0 + (V1 - V0) * C)
                              : S.Evaluate(U0 + (U1 - U0) * C, V0 + (V1 - V0) * T);
            };
            const TMVector P = At(A), Q = At(B), M = At((A + B) / 2);
            Deviations.push_back(VectorDistance(M, VectorLerp(P, Q, 0.5)));
        }
    const auto Rank = Deviations.begin() + static_cast<std::ptrdiff_t>(Deviations.size() * 19 / 20);
    std::nth_element(Deviations.begin(), Rank, Deviations.end());
    const double Typical = *Rank;
    if (!(Typical > 0)) return 4;
    const double N = Probe * std::sqrt(Typical / Tolerance);
    return std::clamp(static_cast<int>(std::ceil(N)), 4, MaxHullFacetSteps);
}

// What the section list of the hydrostatic windows and that of the volumes report do differently.
struct TCutRules {
    // Kept clear of each end of the mesh, so the end stations cut the body rather than touch it.
    double EndClearance;
    // The mesh is a half hull when its least y is within this of 0 (0: exactly 0).
    double HalfHullLimit;
    bool PlanarArea;
};
constexpr TCutRules SectionsOfRules{0.001, 0.05, false};
constexpr TCutRules CreateRules{0, 0, true};

// Cuts one mesh at many stations through an index of its facets along x, built once, so a hull of
// many facets is not scanned per station.
class TStationCutter {
public:
    explicit TStationCutter(const TPolygonList& Mesh) : FIndex(Mesh, XAxisVector) {}
    // The closed sections at X, one per body; nullptr where the mesh has none.
    std::unique_ptr<TPolylineList> SectionsAt(double X) const { return PolygonSectionsAtX(FIndex, X); }

private:
    TFacetCutIndex FIndex;
};

// One station of a sliced mesh: the sections of its bodies and their area together.
struct TStation {
    double X = 0;
    std::unique_ptr<TPolylineList> Parts;
    double Area = 0;
};

double AreaFor(TPolyline& Section, const TCutRules& Rules) {
    return Rules.PlanarArea ? PlanarSectionArea(Section).Area : SectionArea(Section);
}

// The station at X, or an empty one where the mesh has no section.
TStation StationAt(const TStationCutter& Cutter, double X, const TCutRules& Rules) {
    TStation S;
    S.X = X;
    S.Parts = Cutter.SectionsAt(X);
    if (S.Parts)
        for (int I = 0; I < S.Parts->Count(); ++I) S.Area += AreaFor(*S.Parts->Items(I), Rules);
    return S;
}

// Refines the triple of stations starting at A (see SliceMesh) and returns how many stations it
// inserted.
int RefineTriple(int A, const TStationCutter& Cutter, std::vector<TStation>& List, double MinInterval,
                 const TCutRules& Rules) {
    if (A + 2 >= static_cast<int>(List.size())) return 0;
    const auto At = [&List](int I) -> TStation& { return List[static_cast<std::size_t>(I)]; };
    const double Xa = At(A).X, Xm = At(A + 1).X, Xb = At(A + 2).X;
    if ((Xb - Xa) / 5 < MinInterval) return 0;
    const double Aa = At(A).Area, Am = At(A + 1).Area, Ab = At(A + 2).Area;
    TStation P1 = StationAt(Cutter, (Xa + Xm) / 2, Rules);
    TStation P2 = StationAt(Cutter, (Xm + Xb) / 2, Rules);
    // Without both midpoints there is nothing to judge the parabola by.
    if (!P1.Parts || !P2.Parts) return 0;
    const double G1 = P1.Area, G2 = P2.Area;
    // The parabola through (-1, Aa), (0, Am), (1, Ab) at -1/2 and 1/2.
    const double C1 = (Ab - Aa) / 2, C2 = Ab - Am - C1;
    const double E1 = Am + C2 / 4 - C1 / 2, E2 = Am + C2 / 4 + C1 / 2;
    // A zero midpoint area gives an infinite or undefined departure, which is not within.
    if (std::fabs(E1 - G1) / G1 <= 0.001 || std::fabs(E2 - G2) / G2 <= 0.001) return 0;
    List.insert(List.begin() + A + 2, std::move(P2));
    List.insert(List.begin() + A + 1, std::move(P1));
    // Now a, P1, former a+1, P2, former a+2: both halves in turn.
    const int First = RefineTriple(A, Cutter, List, MinInterval, Rules);
    const int Second = RefineTriple(A + 2 + First, Cutter, List, MinInterval, Rules);
    return 2 + First + Second;
}

void SliceMesh(const TPolygonList& Mesh, TPolylineList& Out, const TCutRules& Rules) {
    const THourGlassCursor HourGlass;
    if (Mesh.Count() == 0) return;
    TMBox Box = Mesh.Extents();
    Box.Min.X += Rules.EndClearance;
    Box.Max.X -= Rules.EndClearance;
    const bool HalfHull =
        Rules.HalfHullLimit > 0 ? std::fabs(Box.Min.Y) < Rules.HalfHullLimit : Box.Min.Y == 0;
    // The station count follows the whole hull's breadth.
    if (HalfHull) Box.Min.Y = -Box.Max.Y;
    const double MinInterval = (Box.Max.X - Box.Min.X) / 200;
    const TStationCutter Cutter(Mesh);
    // The stations of a multihull follow the breadth of one hull, not the span of them all.
    if (const auto Middle = Cutter.SectionsAt((Box.Min.X + Box.Max.X) / 2); Middle && Middle->Count() > 1) {
        double Widest = 0;
        for (int I = 0; I < Middle->Count(); ++I) {
            const TMBox Part = Middle->Items(I)->Extents();
            Widest = std::max(Widest, Part.Max.Y - Part.Min.Y);
        }
        Box.Min.Y = Box.Max.Y - Widest;
    }
    const int N = CalculationStationCount(Box);
    const double Spacing = (Box.Max.X - Box.Min.X - 2 * DefaultTolerance) / N;
    std::vector<TStation> Stations;
    for (int F = 0; F <= N; ++F) {
        TStation S = StationAt(Cutter, Box.Min.X + DefaultTolerance + F * Spacing, Rules);
        if (S.Parts) Stations.push_back(std::move(S));
    }
    for (int F = 0; F < static_cast<int>(Stations.size()) - 2;)
        F += 2 + RefineTriple(F, Cutter, Stations, MinInterval, Rules);
    // Every body's section at a station; the hydrostatics add the parts of one station.
    for (TStation& S : Stations)
        while (S.Parts->Count() > 0) Out.Add(S.Parts->Remove(S.Parts->First()));
}

// Copies of the list's polylines, each completed by its mirror image in y = 0 when Mirror.
void SectionsFromList(const TPolylineList& List, TPolylineList& Out, bool Mirror) {
    if (!Mirror) {
        Out.AddCopies(List);
        return;
    }
    for (int I = 0; I < List.Count(); ++I) {
        const TPolyline& Half = *List.Items(I);
        auto Full = std::make_unique<TPolyline>();
        for (int K = Half.Count() - 1; K >= 1; --K) {
            const TRPoint& P = *Half.Point(K);
            Full->AddPoint(P.X, -P.Y, P.Z);
        }
        for (int K = 0; K < Half.Count(); ++K) Full->AddPointCopy(Half.Point(K));
        Full->SetClosed(true);
        Out.Add(std::move(Full));
    }
}

// Half sections reach the centre plane from one side, starboard or port.
bool IsHalfSectionList(const TPolylineList& List) {
    const TMBox Box = List.Extents();
    return Box.Min.Y == 0 || (Box.Max.Y == 0 && Box.Min.Y < 0);
}

bool AnyClosed(const TPolylineList& List) {
    for (int I = 0; I < List.Count(); ++I)
        if (List.Items(I)->IsClosed()) return true;
    return false;
}

}  // namespace

int CalculationStationCount(const TMBox& Box) {
    const double A = std::max(Box.Max.Y - Box.Min.Y, Box.Max.Z - Box.Min.Z);
    // Without breadth and depth there is no body to cut; and no hull is slender enough to need
    // more than MaxCalculationIntervals (a length of 140 breadths), which keeps a stray long, thin
    // mesh from asking for millions of sections.
    if (!(A > 0)) return 2;
    const double R = std::min((Box.Max.X - Box.Min.X) / A, 150.0);
    const int K = TruncSingle((R + R * R / 2 + 3.5) / 2);
    // A hull shorter than about 0.41 of its breadth would get no interval at all.
    return std::clamp(2 * K - 2, 2, MaxCalculationIntervals);
}

double SectionArea(TPolyline& Section) {
    const auto It = Section.Iterator();
    TSectionProperties R;
    SectionAreaProperties(*It, R);
    return R.Area;
}

TPlanarArea PlanarSectionArea(const TPolyline& Section) {
    TPlanarArea R;
    const int N = Section.Count();
    if (N < 3 || !Section.IsClosed()) return R;
    const TMVector P0 = Section.Point(0)->Vector();
    double Sum = 0;
    TMVector Moment{0, 0, 0};
    // The closing point repeats the first and is left out.
    for (int I = 1; I + 1 <= N - 2; ++I) {
        const TMVector Pi = Section.Point(I)->Vector(), Pj = Section.Point(I + 1)->Vector();
        const double A = VectorDistance(P0, Pi), B = VectorDistance(Pi, Pj), C = VectorDistance(Pj, P0);
        const double S = (A + B + C) / 2;
        // Rounding can take a flat triangle's product just below 0.
        const double Heron = std::sqrt(std::max(0.0, S * (S - A) * (S - B) * (S - C)));
        const double Turn = (Pj.Y - P0.Y) * (Pi.Z - P0.Z) - (Pj.Z - P0.Z) * (Pi.Y - P0.Y);
        const double Signed = Turn > 0 ? Heron : Turn < 0 ? -Heron : 0;
        Sum += Signed;
        Moment = VectorAdd(Moment, VectorScale(VectorAdd(VectorAdd(P0, Pi), Pj), Signed / 3));
    }
    R.Area = std::fabs(Sum);
    if (Sum != 0) R.Centroid = VectorScale(Moment, 1 / Sum);
    return R;
}

std::unique_ptr<TPolylineList> CalculationSectionsOfMesh(const TPolygonList& Mesh) {
    auto Out = std::make_unique<TPolylineList>();
    SliceMesh(Mesh, *Out, SectionsOfRules);
    return Out;
}

std::unique_ptr<TCalculationSections> CalculationSectionsFromMesh(const TPolygonList& Mesh) {
    auto Out = std::make_unique<TCalculationSections>();
    SliceMesh(Mesh, *Out, CreateRules);
    return Out;
}

std::unique_ptr<TPolylineList> CalculationSectionsOf(const THullObject& Hull) {
    if (auto L = std::get_if<const TPolylineList*>(&Hull); L && *L) {
        auto Out = std::make_unique<TPolylineList>();
        SectionsFromList(**L, *Out, IsHalfSectionList(**L));
        return Out;
    }
    if (auto M = std::get_if<const TPolygonList*>(&Hull); M && *M) return CalculationSectionsOfMesh(**M);
    const std::unique_ptr<TPolygonList> Facets = HullSurfaceFacets(Hull);
    if (!Facets) return nullptr;
    return CalculationSectionsOfMesh(*Facets);
}

std::unique_ptr<TPolygonList> SurfaceFacetsWithin(TSurface& Surface, double Tolerance) {
    if (typeid(Surface) == typeid(TMesh)) return Surface.CreatePolygons();
    // The parameter range of a B-spline comes from its knots.
    if (auto* Spline = dynamic_cast<TBSplineSurface*>(&Surface)) Spline->UpdateKnots();
    try {
        return Surface.CreatePolygonsSized(StepsWithin(Surface, true, Tolerance), StepsWithin(Surface, false, Tolerance));
    } catch (const EGeometryError&) {
        // A surface without a parameter range of its own (periodic knots) is sampled as it says.
        return Surface.CreatePolygonsFor(8, 1);
    }
}

std::unique_ptr<TPolygonList> HullSurfaceFacets(const THullObject& Hull) {
    // Faceted to the hull's own size: a fixed count per control point, or points rounded to a fixed
    // grid, would make its hydrostatics depend on the net and on the model's scale.
    if (auto S = std::get_if<TSurface*>(&Hull); S && *S)
        return SurfaceFacetsWithin(**S, HullFacetTolerance * BoxDiagonal((*S)->GetExtents()));
    if (auto Ss = std::get_if<TSurfaces*>(&Hull); Ss && *Ss) {
        const double Tolerance = HullFacetTolerance * BoxDiagonal((*Ss)->GetExtents());
        auto Facets = std::make_unique<TPolygonList>();
        for (int I = 0; I < (*Ss)->Count(); ++I)
            if (TSurface* Item = (*Ss)->Surface(I)) Facets->TakeFrom(*SurfaceFacetsWithin(*Item, Tolerance));
        return Facets;
    }
    return nullptr;
}

std::unique_ptr<TCalculationSections> CreateCalculationSections(const THullObject& Hull) {
    if (auto L = std::get_if<const TPolylineList*>(&Hull); L && *L) {
        auto Out = std::make_unique<TCalculationSections>();
        SectionsFromList(**L, *Out, IsHalfSectionList(**L) && !AnyClosed(**L));
        Out->SortByStation();
        return Out;
    }
    std::unique_ptr<TPolygonList> Facets;
    if (auto S = std::get_if<TSurface*>(&Hull); S && *S) {
        if (dynamic_cast<TBSplineSurface*>(*S))
            Facets = HullSurfaceFacets(Hull);
        else if (dynamic_cast<TMesh*>(*S))
            Facets = (*S)->CreatePolygons();
    } else if (auto Ss = std::get_if<TSurfaces*>(&Hull); Ss && *Ss) {
        if (dynamic_cast<TBSplineSurfaceList*>(*Ss)) Facets = HullSurfaceFacets(Hull);
    } else if (auto M = std::get_if<const TPolygonList*>(&Hull); M && *M) {
        return CalculationSectionsFromMesh(**M);
    }
    if (!Facets) return nullptr;
    return CalculationSectionsFromMesh(*Facets);
}

}  // namespace sarnova
