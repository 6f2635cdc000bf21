// Calculation sections.
#include "naval/CalcSections.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "foundation/Contours.h"
#include "foundation/NumberText.h"
#include "foundation/FacetCutIndex.h"
#include "foundation/Polygon.h"
#include "naval/VkHydro.h"
#include "platform/Screen.h"
#include "surfaces/BSurface.h"
#include "surfaces/SurfaceList.h"

namespace sarnova {

namespace {

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
    // The closed section at X; nullptr where the mesh has none.
    std::unique_ptr<TPolyline> SectionAt(double X) const { return PolygonSectionAtX(FIndex, X); }

private:
    TFacetCutIndex FIndex;
};

double AreaFor(TPolyline& Section, const TCutRules& Rules) {
    return Rules.PlanarArea ? PlanarSectionArea(Section).Area : SectionArea(Section);
}

// Refines the triple of sections starting at A (see SliceMesh) and returns how many sections it
// inserted.
int RefineTriple(int A, const TStationCutter& Cutter, TPolylineList& List, double MinInterval,
                 const TCutRules& Rules) {
    if (A + 2 >= List.Count()) return 0;
    const double Xa = List.Items(A)->GetStation(), Xm = List.Items(A + 1)->GetStation(),
                 Xb = List.Items(A + 2)->GetStation();
    if ((Xb - Xa) / 5 < MinInterval) return 0;
    const double Aa = AreaFor(*List.Items(A), Rules), Am = AreaFor(*List.Items(A + 1), Rules),
                 Ab = AreaFor(*List.Items(A + 2), Rules);
    std::unique_ptr<TPolyline> P1 = Cutter.SectionAt((Xa + Xm) / 2);
    std::unique_ptr<TPolyline> P2 = Cutter.SectionAt((Xm + Xb) / 2);
    // Without both midpoints there is nothing to judge the parabola by.
    if (!P1 || !P2) return 0;
    const double G1 = AreaFor(*P1, Rules), G2 = AreaFor(*P2, Rules);
    // The parabola through (-1, Aa), (0, Am), (1, Ab) at -1/2 and 1/2.
    const double C1 = (Ab - Aa) / 2, C2 = Ab - Am - C1;
    const double E1 = Am + C2 / 4 - C1 / 2, E2 = Am + C2 / 4 + C1 / 2;
    // A zero midpoint area gives an infinite or undefined departure, which is not within.
    if (std::fabs(E1 - G1) / G1 <= 0.001 || std::fabs(E2 - G2) / G2 <= 0.001) return 0;
    List.Insert(A + 2, std::move(P2));
    List.Insert(A + 1, std::move(P1));
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
    const int N = CalculationStationCount(Box);
    const double Spacing = (Box.Max.X - Box.Min.X - 2 * DefaultTolerance) / N;
    const TStationCutter Cutter(Mesh);
    for (int F = 0; F <= N; ++F)
        if (auto Section = Cutter.SectionAt(Box.Min.X + DefaultTolerance + F * Spacing)) Out.Add(std::move(Section));
    for (int F = 0; F < Out.Count() - 2;) F += 2 + RefineTriple(F, Cutter, Out, MinInterval, Rules);
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
        SectionsFromList(**L, *Out, (*L)->Extents().Min.Y == 0);
        return Out;
    }
    if (auto M = std::get_if<const TPolygonList*>(&Hull); M && *M) return CalculationSectionsOfMesh(**M);
    const std::unique_ptr<TPolygonList> Facets = HullSurfaceFacets(Hull);
    if (!Facets) return nullptr;
    return CalculationSectionsOfMesh(*Facets);
}

std::unique_ptr<TPolygonList> HullSurfaceFacets(const THullObject& Hull) {
    if (auto S = std::get_if<TSurface*>(&Hull); S && *S) return (*S)->CreatePolygonsFor(8, 1);
    if (auto Ss = std::get_if<TSurfaces*>(&Hull); Ss && *Ss) return (*Ss)->CreatePolygonsFor(8);
    return nullptr;
}

std::unique_ptr<TCalculationSections> CreateCalculationSections(const THullObject& Hull) {
    if (auto L = std::get_if<const TPolylineList*>(&Hull); L && *L) {
        auto Out = std::make_unique<TCalculationSections>();
        SectionsFromList(**L, *Out, (*L)->Extents().Min.Y == 0 && !AnyClosed(**L));
        Out->SortByStation();
        return Out;
    }
    std::unique_ptr<TPolygonList> Facets;
    if (auto S = std::get_if<TSurface*>(&Hull); S && *S) {
        if (dynamic_cast<TBSplineSurface*>(*S))
            Facets = (*S)->CreatePolygonsFor(8, 1);
        else if (dynamic_cast<TMesh*>(*S))
            Facets = (*S)->CreatePolygons();
    } else if (auto Ss = std::get_if<TSurfaces*>(&Hull); Ss && *Ss) {
        if (dynamic_cast<TBSplineSurfaceList*>(*Ss)) Facets = (*Ss)->CreatePolygonsFor(8);
    } else if (auto M = std::get_if<const TPolygonList*>(&Hull); M && *M) {
        return CalculationSectionsFromMesh(**M);
    }
    if (!Facets) return nullptr;
    return CalculationSectionsFromMesh(*Facets);
}

}  // namespace sarnova
