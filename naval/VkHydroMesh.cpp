// Hydrostatics of a facet mesh of the immersed body: every facet bounds a vertical prism up to the
// waterplane, and the prisms add up to the body (the ones under the bottom count positive, the ones
// over a lid or overhang negative).
#include <algorithm>
#include <cmath>
#include <utility>

#include "foundation/Console.h"
#include "foundation/FacetCutIndex.h"
#include "foundation/PolyList.h"
#include "foundation/PolygonIntersect.h"
#include "foundation/Polygon.h"
#include "naval/MeshSums.h"
#include "naval/VkHydro.h"

namespace sarnova {

namespace {

// The integrals of x^2 and y^2 over the triangle's plan, signed like the inward normal's z.
void AddPlanSecondMoments(const TMVector& A, const TMVector& B, const TMVector& C, TMeshSums& S) {
    const double Az = -((B.X - A.X) * (C.Y - A.Y) - (B.Y - A.Y) * (C.X - A.X)) / 2;
    S.Ixx += Az * (A.X * A.X + B.X * B.X + C.X * C.X + A.X * B.X + B.X * C.X + C.X * A.X) / 6;
    S.Iyy += Az * (A.Y * A.Y + B.Y * B.Y + C.Y * C.Y + A.Y * B.Y + B.Y * C.Y + C.Y * A.Y) / 6;
}

}  // namespace

void TMeshSums::Negate() {
    Aw = -Aw;
    Mx = -Mx;
    My = -My;
    Ixx = -Ixx;
    Iyy = -Iyy;
    std::swap(AxFore, AxAft);
    V = -V;
    Vx = -Vx;
    Vy = -Vy;
    Vz = -Vz;
}

void TMeshSummer::Add(const TFacetRef& F) {
    const TMVector P0 = PolygonCornerOrOrigin(F, 0).Vector();
    const TMVector P1 = PolygonCornerOrOrigin(F, 1).Vector();
    const TMVector P2 = PolygonCornerOrOrigin(F, 2).Vector();
    if (F.GetShape() == 1) {
        const TMVector P3 = PolygonCornerOrOrigin(F, 3).Vector();
        AddCorners(P0, P1, P2, &P3);
    } else {
        AddCorners(P0, P1, P2, nullptr);
    }
}

void TMeshSummer::AddCorners(const TMVector& P0, const TMVector& P1, const TMVector& P2, const TMVector* P3) {
    ExtendBoxByVector(P0, Box);
    ExtendBoxByVector(P1, Box);
    ExtendBoxByVector(P2, Box);
    // Twice the area along the outward normal, (B - A) x (C - A) (VectorCross(U, V) is V x U), as
    // PolygonNormal and TPolygon::Area measure a facet (a quadrilateral by its diagonals), and the
    // mean of the corners.
    TMVector N2, C;
    if (P3) {
        ExtendBoxByVector(*P3, Box);
        N2 = VectorCross({P3->X - P1.X, P3->Y - P1.Y, P3->Z - P1.Z}, {P2.X - P0.X, P2.Y - P0.Y, P2.Z - P0.Z});
        C = {(P0.X + P1.X + P2.X + P3->X) / 4, (P0.Y + P1.Y + P2.Y + P3->Y) / 4, (P0.Z + P1.Z + P2.Z + P3->Z) / 4};
    } else {
        N2 = VectorCross({P2.X - P0.X, P2.Y - P0.Y, P2.Z - P0.Z}, {P1.X - P0.X, P1.Y - P0.Y, P1.Z - P0.Z});
        C = {(P0.X + P1.X + P2.X) / 3, (P0.Y + P1.Y + P2.Y) / 3, (P0.Z + P1.Z + P2.Z) / 3};
    }
    // A times the inward unit normal.
    const double Ax = -N2.X / 2, Az = -N2.Z / 2;
    S.SA += std::sqrt(N2.X * N2.X + N2.Y * N2.Y + N2.Z * N2.Z) / 2;
    S.Aw += Az;
    S.Mx += C.X * Az;
    // The second moments of the facet's plan, exact for a triangle (a quadrilateral as two), so
    // that a hull of few large facets gets its metacentric radii right too.
    AddPlanSecondMoments(P0, P1, P2, S);
    if (P3) AddPlanSecondMoments(P0, P2, *P3, S);
    if (Ax > 0)
        S.AxAft += Ax;
    else
        S.AxFore -= Ax;
    const double H = C.Z - Z0;
    const double AH = Az * H;
    S1 += AH;
    S2 += AH * H;
    Sx1 += C.X * AH;
    Sy1 += C.Y * AH;
    S.My += C.Y * Az;
}

void TMeshSummer::Add(const TMeshSummer& Other) {
    Box = UniteBoxes(Box, Other.Box);
    S.SA += Other.S.SA;
    S.Aw += Other.S.Aw;
    S.Mx += Other.S.Mx;
    S.My += Other.S.My;
    S.Ixx += Other.S.Ixx;
    S.Iyy += Other.S.Iyy;
    S.AxFore += Other.S.AxFore;
    S.AxAft += Other.S.AxAft;
    S1 += Other.S1;
    S2 += Other.S2;
    Sx1 += Other.Sx1;
    Sy1 += Other.Sy1;
}

TMeshSums TMeshSummer::Sums() const {
    TMeshSums R = S;
    // The prism of each facet reaches from its centre up to the top: height D - h.
    const double D = Box.Max.Z - Z0;
    R.V = D * S.Aw - S1;
    R.Vx = D * S.Mx - Sx1;
    R.Vy = D * S.My - Sy1;
    R.Vz = (D * D * S.Aw - 2 * D * S1 + S2) / 2;
    return R;
}

double SectionAreaOfCut(const TPolylineList& Cut, double Tolerance) {
    if (Cut.Count() == 0) return 0;
    const std::unique_ptr<TPolylineList> Pieces = WeldPolylinesWithin(Cut, Tolerance);
    // Each piece by the integral of y dz along it: a loop encloses its area, and a piece left open
    // at the waterplane or at the centre plane of a half body is closed along them, where y dz is 0.
    double Area = 0;
    for (int I = 0; I < Pieces->Count(); ++I) {
        const TPolyline& P = *Pieces->Items(I);
        double S = 0;
        for (int K = 0; K + 1 < P.Count(); ++K) {
            const TRPoint& A = *P.Point(K);
            const TRPoint& B = *P.Point(K + 1);
            S += (A.Y + B.Y) / 2 * (B.Z - A.Z);
        }
        Area += std::fabs(S);
    }
    return Area;
}

double SectionAreaBound(const std::vector<TMSegment>& Segments, double WeldTolerance) {
    // The section's pieces are chains of these segments with their ends moved onto merged cut
    // points, thinned, and welded across gaps; the area of each piece is at most the sum of the
    // absolute areas its segments sweep against the centre plane, and every step of the way is given
    // its most: a merged point lies within the merging tolerance of each point merged into it (twice
    // that for an open end taking the farthest of them), a thinned piece keeps within 1e-4 of the
    // points it drops, and a weld bridges at most the weld tolerance.
    constexpr double Shift = 3 * DefaultTolerance;
    double Swept = 0, Length = 0, Y = 0, Dz = 0;
    for (const TMSegment& S : Segments) {
        const double dz = S.End.Z - S.Start.Z;
        Swept += std::fabs((S.Start.Y + S.End.Y) / 2 * dz);
        Length += VectorDistance(S.Start, S.End);
        Y = std::max({Y, std::fabs(S.Start.Y), std::fabs(S.End.Y)});
        Dz = std::max(Dz, std::fabs(dz));
    }
    const auto N = static_cast<double>(Segments.size());
    Y += Shift;
    const double Moved = N * Shift * (Dz + 2 * Shift + 2 * Y);
    const double Thinned = 2 * DefaultTolerance * (Length + 4 * N * Shift);
    const double Welded = N * (Y + WeldTolerance) * WeldTolerance;
    const double Bound = Swept + Moved + Thinned + Welded;
    return Bound + 1e-9 * Bound;
}

double LargestSectionArea(const std::function<double(double)>& AreaAt, double X0, double X1, double CutTolerance,
                          const std::function<double(double)>& BoundAt) {
    constexpr int Stations = LargestSectionStations - 1;
    const double Step = (X1 - X0) / Stations;
    // Every station a little forward of its even place, beyond the reach of the cut's tolerance:
    // stations fall on round figures, where patch seams lie too, and a cut along a seam takes the
    // facet edges on both sides of it, which patches faceted apart do not share, so the section would
    // count twice or cancel itself out (the edges round a face lying in the plane would be taken from
    // both sides alike).
    // The end stations so lie just inside the ends, where a transom may be the largest section.
    const double Shift = std::max(1e-6 * Step, 4 * CutTolerance);
    auto StationX = [&](int I) { return std::min(X0 + I * Step + Shift, X1 - Shift); };
    int Best = 0;
    double BestArea = -1;
    if (BoundAt) {
        // The stations by their bounds, greatest first: once a bound falls below the best area found,
        // no station left can match it, and the first of the largest is the one the plain scan takes.
        std::vector<std::pair<double, int>> Order;
        for (int I = 0; I <= Stations; ++I) {
            const double Bound = BoundAt(StationX(I));
            Order.emplace_back(std::isnan(Bound) ? HUGE_VAL : Bound, I);
        }
        std::stable_sort(Order.begin(), Order.end(), [](const auto& P, const auto& Q) { return P.first > Q.first; });
        for (const auto& [Bound, I] : Order) {
            if (Bound < BestArea) break;
            const double A = AreaAt(StationX(I));
            if (A > BestArea || (A == BestArea && I < Best)) {
                BestArea = A;
                Best = I;
            }
        }
    } else {
        for (int I = 0; I <= Stations; ++I) {
            const double A = AreaAt(StationX(I));
            if (A > BestArea) {
                BestArea = A;
                Best = I;
            }
        }
    }
    // Golden-section search between the neighbours of the best station.
    const double G = (std::sqrt(5.0) - 1) / 2;
    double A = StationX(std::max(Best - 1, 0)), D = StationX(std::min(Best + 1, Stations));
    double B = D - G * (D - A), C = A + G * (D - A);
    double FB = AreaAt(B), FC = AreaAt(C);
    for (int K = 0; K < 30; ++K) {
        if (FB > FC) {
            D = C;
            C = B;
            FC = FB;
            B = D - G * (D - A);
            FB = AreaAt(B);
        } else {
            A = B;
            B = C;
            FB = FC;
            C = A + G * (D - A);
            FC = AreaAt(C);
        }
    }
    return std::max({BestArea, FB, FC});
}

TMPlane WaterplaneAtDraught(double Draught) { return {{0, 0, 1}, Draught}; }

void MeshHydrostatics(const TPolygonList& Mesh, THydrostaticsData& R) {
    if (Mesh.Count() == 0) return;
    // One pass over the facets, the prism heights taken from a reference level and turned into
    // heights below the top once the top is known, so the mesh is read only once.
    TMeshSummer Summer(PolygonCornerOrOrigin(Mesh.Polygon(0), 0).Z);
    for (int I = 0; I < Mesh.Count(); ++I) Summer.Add(Mesh.Polygon(I));
    const TMBox& Box = Summer.GetBox();
    // The largest section of the immersed body: the best of evenly spread stations, then narrowed
    // down between its neighbours (the transverse projection that the sums give is larger wherever
    // the sections change shape along the length).
    const TFacetCutIndex Index(Mesh, XAxisVector);
    const double Tolerance = 1e-7 * VectorDistance(Box.Min, Box.Max);
    const double Cut = LargestSectionArea(
        [&](double X) {
            const std::unique_ptr<TPolylineList> Cut = IntersectPlaneWithPolygons(PlaneFromDirection(3, X), Index);
            return Cut ? SectionAreaOfCut(*Cut, Tolerance) : 0.0;
        },
        Box.Min.X, Box.Max.X, Index.Tolerance());
    HydrostaticsFromSums(Summer.Sums(), Box, Cut, R);
}

void HydrostaticsFromSums(TMeshSums S, const TMBox& Box, double LargestCut, THydrostaticsData& R) {
    if (S.V < 0) {
        // Normals pointing into the body would turn every figure negative.
        S.Negate();
        if (GConsole) GConsole->WriteLine("MeshHydrostatics - the mesh normals point inwards, computed with them flipped");
    }
    // A half body lies against the centre plane on either side.
    const bool Starboard = std::fabs(Box.Min.Y) <= DefaultTolerance;
    const bool Port = !Starboard && std::fabs(Box.Max.Y) <= DefaultTolerance;
    const bool Half = Starboard || Port;
    const double Sides = Half ? 2 : 1;
    const double Aw = S.Aw;

    R.MinCorner = Starboard ? TMVector{Box.Min.X, -Box.Max.Y, Box.Min.Z} : Box.Min;
    R.MaxCorner = Port ? TMVector{Box.Max.X, -Box.Min.Y, Box.Max.Z} : Box.Max;
    R.LWL = Box.Max.X - Box.Min.X;
    R.BWL = R.MaxCorner.Y - R.MinCorner.Y;
    R.Draught = Box.Max.Z - Box.Min.Z;
    R.Volume = Sides * S.V;
    R.Displacement = R.Volume * SeaWaterDensity / 1000;
    R.LCB = S.Vx / S.V;
    R.LCBPercent = (R.LCB - Box.Min.X) / R.LWL * 100;
    R.TCB = Half ? 0 : S.Vy / S.V;
    R.VCB = Box.Max.Z - S.Vz / S.V;
    R.WettedArea = Sides * S.SA;
    R.WaterPlanArea = Sides * Aw;
    R.TPC = 0.01 * Aw * SeaWaterDensity * Sides / 1000;
    R.CB = R.Volume / (R.LWL * R.BWL * R.Draught);
    R.LCF = S.Mx / Aw;
    R.LCFPercent = (R.LCF - Box.Min.X) / R.LWL * 100;
    // The transverse projection of the facets is the largest section only where every section lies
    // inside it; the cut finds the largest where the sections change shape along the length.
    R.MaxSectionArea = Sides * (LargestCut > 0 ? LargestCut : S.AxAft);
    R.CM = R.MaxSectionArea / (R.BWL * R.Draught);
    R.CP = R.Volume / (R.LWL * R.MaxSectionArea);
    R.CWP = R.WaterPlanArea / (R.LWL * R.BWL);
    // Both sides double the second moments and the volume alike, so the radii are those of one side;
    // a half body's transverse moment is about the centre plane, where the whole body's centre lies.
    R.BML = (S.Ixx - R.LCF * R.LCF * Aw) / S.V;
    const double Yf = Half ? 0 : S.My / Aw;
    R.BMT = (S.Iyy - Yf * Yf * Aw) / S.V;
    R.KMT = R.VCB + R.BMT;
    R.KML = R.VCB + R.BML;
    R.GMT = R.KMT - R.KG;
    R.GML = R.KML - R.KG;
    R.MCT = R.Displacement * R.GML / (100 * R.LWL);
}

}  // namespace sarnova
