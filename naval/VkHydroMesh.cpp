// Hydrostatics of a facet mesh of the immersed body: every facet bounds a vertical prism up to the
// waterplane, and the prisms add up to the body (the ones under the bottom count positive, the ones
// over a lid or overhang negative).
#include <algorithm>
#include <cmath>
#include <utility>

#include "foundation/Console.h"
#include "foundation/Polygon.h"
#include "naval/VkHydro.h"

namespace sarnova {

namespace {

// The mesh calculation always uses sea water, so a fitted hull's displacement does not move with the
// user's settings.
constexpr double SeaWaterDensity = 1025;

// The sums over the facets. With n the inward unit normal and A the facet's area, A n is the facet's
// projected area on the three coordinate planes.
struct TMeshSums {
    double SA = 0;                       // wetted area
    double Aw = 0, Mx = 0, Ixx = 0, Iyy = 0;  // waterplane: area, first moment in x, second moments
    double AxFore = 0, AxAft = 0;         // transverse projection of the facets facing aft and fore
    double V = 0, Vx = 0, Vy = 0, Vz = 0;  // prisms: volume, moments, and depth moment below the top

    void Negate() {
        Aw = -Aw;
        Mx = -Mx;
        Ixx = -Ixx;
        Iyy = -Iyy;
        std::swap(AxFore, AxAft);
        V = -V;
        Vx = -Vx;
        Vy = -Vy;
        Vz = -Vz;
    }
};

// The integrals of x^2 and y^2 over the triangle's plan, signed like the inward normal's z.
void AddPlanSecondMoments(const TRPoint& A, const TRPoint& B, const TRPoint& C, TMeshSums& S) {
    const double Az = -((B.X - A.X) * (C.Y - A.Y) - (B.Y - A.Y) * (C.X - A.X)) / 2;
    S.Ixx += Az * (A.X * A.X + B.X * B.X + C.X * C.X + A.X * B.X + B.X * C.X + C.X * A.X) / 6;
    S.Iyy += Az * (A.Y * A.Y + B.Y * B.Y + C.Y * C.Y + A.Y * B.Y + B.Y * C.Y + C.Y * A.Y) / 6;
}

// One pass over the facets: the box of the corners and the sums. The prism heights are taken from
// a reference level and turned into heights below the top once the top is known, so the mesh is read
// only once (it is large, and reading it is what costs).
TMeshSums SumFacets(const TPolygonList& Mesh, TMBox& Box) {
    TMeshSums S;
    Box = EmptyBox;
    const double Z0 = PolygonCornerOrOrigin(*Mesh.Polygon(0), 0).Z;
    // Sums over Az h, Az h^2, Az x h and Az y h with h = cz - Z0, and Az y.
    double S1 = 0, S2 = 0, Sx1 = 0, Sy1 = 0, My = 0;
    auto Extend = [&Box](const TRPoint& P) {
        Box.Min.X = std::min(Box.Min.X, P.X);
        Box.Min.Y = std::min(Box.Min.Y, P.Y);
        Box.Min.Z = std::min(Box.Min.Z, P.Z);
        Box.Max.X = std::max(Box.Max.X, P.X);
        Box.Max.Y = std::max(Box.Max.Y, P.Y);
        Box.Max.Z = std::max(Box.Max.Z, P.Z);
    };
    for (int I = 0; I < Mesh.Count(); ++I) {
        const TPolygon& F = *Mesh.Polygon(I);
        const bool Quad = F.GetShape() == 1;
        const TRPoint& P0 = PolygonCornerOrOrigin(F, 0);
        const TRPoint& P1 = PolygonCornerOrOrigin(F, 1);
        const TRPoint& P2 = PolygonCornerOrOrigin(F, 2);
        Extend(P0);
        Extend(P1);
        Extend(P2);
        // Twice the area along the outward normal, (B - A) x (C - A) (VectorCross(U, V) is V x U), as
        // PolygonNormal and TPolygon::Area measure a facet (a quadrilateral by its diagonals), and the
        // mean of the corners.
        TMVector N2, C;
        if (Quad) {
            const TRPoint& P3 = PolygonCornerOrOrigin(F, 3);
            Extend(P3);
            N2 = VectorCross({P3.X - P1.X, P3.Y - P1.Y, P3.Z - P1.Z}, {P2.X - P0.X, P2.Y - P0.Y, P2.Z - P0.Z});
            C = {(P0.X + P1.X + P2.X + P3.X) / 4, (P0.Y + P1.Y + P2.Y + P3.Y) / 4,
                 (P0.Z + P1.Z + P2.Z + P3.Z) / 4};
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
        if (Quad) AddPlanSecondMoments(P0, P2, PolygonCornerOrOrigin(F, 3), S);
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
        My += C.Y * Az;
    }
    // The prism of each facet reaches from its centre up to the top: height D - h.
    const double D = Box.Max.Z - Z0;
    S.V = D * S.Aw - S1;
    S.Vx = D * S.Mx - Sx1;
    S.Vy = D * My - Sy1;
    S.Vz = (D * D * S.Aw - 2 * D * S1 + S2) / 2;
    return S;
}

}  // namespace

TMPlane WaterplaneAtDraught(double Draught) { return {{0, 0, 1}, Draught}; }

void MeshHydrostatics(const TPolygonList& Mesh, THydrostaticsData& R) {
    if (Mesh.Count() == 0) return;
    TMBox Box;
    TMeshSums S = SumFacets(Mesh, Box);
    if (S.V < 0) {
        // Normals pointing into the body would turn every figure negative.
        S.Negate();
        if (GConsole) GConsole->WriteLine("MeshHydrostatics - the mesh normals point inwards, computed with them flipped");
    }
    const bool Half = std::fabs(Box.Min.Y) <= DefaultTolerance;
    const double Sides = Half ? 2 : 1;
    const double Aw = S.Aw;

    R.MinCorner = Half ? TMVector{Box.Min.X, -Box.Max.Y, Box.Min.Z} : Box.Min;
    R.MaxCorner = Box.Max;
    R.LWL = Box.Max.X - Box.Min.X;
    R.BWL = Half ? 2 * Box.Max.Y : Box.Max.Y - Box.Min.Y;
    R.Draught = Box.Max.Z - Box.Min.Z;
    R.Volume = Sides * S.V;
    R.Displacement = R.Volume * SeaWaterDensity / 1000;
    // The half body's LCB stays in model coordinates: the parametric hull's fit compares it with its
    // own x positions.
    R.LCB = Half ? S.Vx / S.V : S.Vx / S.V - Box.Min.X;
    R.LCBPercent = R.LCB / R.LWL * 100;
    R.TCB = Half ? 0 : S.Vy / S.V;
    R.VCB = Box.Max.Z - S.Vz / S.V;
    R.WettedArea = Sides * S.SA;
    R.WaterPlanArea = Sides * Aw;
    R.TPC = 0.01 * Aw * SeaWaterDensity * Sides / 1000;
    R.CB = R.Volume / (R.LWL * R.BWL * R.Draught);
    R.LCF = S.Mx / Aw - Box.Min.X;
    R.LCFPercent = R.LCF / R.LWL * 100;
    R.MaxSectionArea = Sides * S.AxAft;
    R.CM = R.MaxSectionArea / (R.BWL * R.Draught);
    R.CP = R.Volume / (R.LWL * R.MaxSectionArea);
    R.CWP = R.WaterPlanArea / (R.LWL * R.BWL);
    if (Half) {
        R.BML = R.BMT = R.KMT = R.KML = R.GMT = R.GML = R.MCT = 0;
    } else {
        const double Xf = S.Mx / Aw;
        R.BML = (S.Ixx - Xf * Xf * Aw) / S.V;
        R.BMT = S.Iyy / S.V;
        R.KMT = R.VCB + R.BMT;
        R.KML = R.VCB + R.BML;
        R.GMT = R.KMT - R.KG;
        R.GML = R.KML - R.KG;
        R.MCT = R.Displacement * R.GML / (100 * R.LWL);
    }
}

}  // namespace sarnova
