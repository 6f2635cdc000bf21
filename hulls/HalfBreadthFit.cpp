#include "hulls/HalfBreadthFit.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "foundation/BSpline.h"
#include "foundation/Polygon.h"
#include "surfaces/BSurface.h"

namespace sarnova {

namespace {
constexpr double MaxRasterCells = 4e6;
}

THalfBreadthRaster::THalfBreadthRaster(double X0, double X1, double Z0, double Z1, double Step)
    : FX0(X0), FZ0(Z0),
      FStep(std::max(Step, std::sqrt(std::max(0.0, (X1 - X0) * (Z1 - Z0)) / MaxRasterCells))),
      FNX(static_cast<int>(std::max(0.0, X1 - X0) / FStep) + 2), FNZ(static_cast<int>(std::max(0.0, Z1 - Z0) / FStep) + 2),
      FY(static_cast<std::size_t>(FNX) * FNZ, -1.0) {}

void THalfBreadthRaster::AddTriangle(const TMVector& A, const TMVector& B, const TMVector& C) {
    const double D = (B.X - A.X) * (C.Z - A.Z) - (C.X - A.X) * (B.Z - A.Z);
    if (std::fabs(D) < 1e-14) return;  // seen edge-on from the side
    const int I0 = std::max(0, static_cast<int>(std::floor((std::min({A.X, B.X, C.X}) - FX0) / FStep)));
    const int I1 = std::min(FNX - 1, static_cast<int>(std::ceil((std::max({A.X, B.X, C.X}) - FX0) / FStep)));
    const int K0 = std::max(0, static_cast<int>(std::floor((std::min({A.Z, B.Z, C.Z}) - FZ0) / FStep)));
    const int K1 = std::min(FNZ - 1, static_cast<int>(std::ceil((std::max({A.Z, B.Z, C.Z}) - FZ0) / FStep)));
    for (int I = I0; I <= I1; ++I)
        for (int K = K0; K <= K1; ++K) {
            const double X = FX0 + I * FStep, Z = FZ0 + K * FStep;
            const double Wb = ((X - A.X) * (C.Z - A.Z) - (C.X - A.X) * (Z - A.Z)) / D;
            const double Wc = ((B.X - A.X) * (Z - A.Z) - (X - A.X) * (B.Z - A.Z)) / D;
            const double Wa = 1 - Wb - Wc;
            if (Wa < -1e-9 || Wb < -1e-9 || Wc < -1e-9) continue;
            double& Y = Cell(I, K);
            Y = std::max(Y, std::fabs(Wa * A.Y + Wb * B.Y + Wc * C.Y));
        }
}

void THalfBreadthRaster::Add(TBSplineSurface& Surface, int Density) {
    const std::unique_ptr<TPolygonList> Facets =
        Surface.CreatePolygonsSized(Density * Surface.NumU(), Density * Surface.NumV());
    for (int p = 0; p < Facets->Count(); ++p) {
        const TFacetRef P = Facets->Polygon(p);
        for (int t = 1; t + 1 < P.CornerCount(); ++t)
            AddTriangle(P.Corner(0)->Vector(), P.Corner(t)->Vector(), P.Corner(t + 1)->Vector());
    }
}

double THalfBreadthRaster::At(double X, double Z) const {
    const double Fi = (X - FX0) / FStep, Fk = (Z - FZ0) / FStep;
    const int I = static_cast<int>(std::floor(Fi)), K = static_cast<int>(std::floor(Fk));
    if (I < 0 || K < 0 || I + 1 >= FNX || K + 1 >= FNZ) return -1;
    const double A = Fi - I, B = Fk - K;
    const auto Y = [&](int i, int k) { return std::max(0.0, Cell(i, k)); };
    return (1 - A) * (1 - B) * Y(I, K) + A * (1 - B) * Y(I + 1, K) + (1 - A) * B * Y(I, K + 1) + A * B * Y(I + 1, K + 1);
}

void RefineRowsForward(TBSplineSurface& S, double XFrom, double ZTo, int Parts) {
    S.UpdateKnots();
    int Last = -1;
    for (int i = 0; i < S.NumU(); ++i)
        for (int j = 0; j < S.NumV(); ++j)
            if (S.Point(i, j).X >= XFrom && S.Point(i, j).Z <= ZTo) Last = std::max(Last, i);
    if (Last < 0 || Parts < 2) return;
    // The row's Greville abscissa: where along u it pulls the surface most.
    const int K = S.OrderU();
    double Until = 0;
    for (int k = Last + 2; k <= Last + K; ++k) Until += S.KnotU(k);
    Until /= K - 1;
    std::vector<double> Distinct;
    for (int k = 1; k <= S.NumU() + K; ++k)
        if (const double T = S.KnotU(k); Distinct.empty() || T > Distinct.back() + 1e-9) Distinct.push_back(T);
    std::vector<double> New;
    for (std::size_t d = 0; d + 1 < Distinct.size() && Distinct[d] < Until; ++d)
        for (int m = 1; m < Parts; ++m) New.push_back(Distinct[d] + (Distinct[d + 1] - Distinct[d]) * m / Parts);
    // Leave the graft room for its own knots; a net that long is fine enough as it is.
    if (S.NumU() + K + static_cast<int>(New.size()) > MaxKnots / 2) return;
    for (const double T : New) {
        S.InsertKnotU(T);
        S.UpdateKnots();
    }
}

void FitHalfBreadths(TBSplineSurface& S, const THalfBreadthRaster& Outline, int Passes) {
    S.UpdateKnots();
    const int NU = S.NumU(), NV = S.NumV();
    if (NU < S.OrderU() || NV < S.OrderV()) return;
    // Eight samples per control span each way; each pass moves every point by the basis-weighted
    // mean of the misses it influences, weighted by the side-view area each sample stands for. That
    // converges to the least-squares fit, so the misses over and under the outline balance and the
    // volume comes out right. Only y moves, so where a sample lies in the side view, its target,
    // area and basis values are the same in every pass.
    constexpr int PerSpan = 8;
    const int SU = PerSpan * NU, SV = PerSpan * NV;
    const auto Index = [NU](int I, int J) { return static_cast<std::size_t>(J) * NU + I; };
    struct TSample {
        double Target, Area;
        int FU, LU, FV, LV;
        std::size_t Basis;  // Nu[FU .. LU] then Nv[FV .. LV] in Bases
    };
    std::vector<TSample> Samples;
    std::vector<double> Bases;
    std::vector<char> Fixed(static_cast<std::size_t>(NU) * NV, 0);
    TBasisValues Nu, Nv;
    for (int a = 0; a <= SU; ++a)
        for (int b = 0; b <= SV; ++b) {
            const double U = S.MinU() + S.URange() * a / SU, V = S.MinV() + S.VRange() * b / SV;
            const TSurfaceFirstDerivatives D = S.EvaluateFirstDerivatives(U, V);
            TSample Sample{Outline.At(D.S.X, D.S.Z), std::fabs(D.Su.Z * D.Sv.X - D.Su.X * D.Sv.Z), 0, 0, 0, 0, Bases.size()};
            CoxDeBoorBasis(NU, S.OrderU(), S.KnotsU(), true, U, Nu, Sample.FU, Sample.LU);
            CoxDeBoorBasis(NV, S.OrderV(), S.KnotsV(), true, V, Nv, Sample.FV, Sample.LV);
            if (Sample.FU > Sample.LU || Sample.FV > Sample.LV) continue;
            if (Sample.Target < 0) {
                // A point that also shapes the skin off the outline stays where it is.
                for (int i = Sample.FU; i <= Sample.LU; ++i)
                    for (int j = Sample.FV; j <= Sample.LV; ++j)
                        if (Nu[static_cast<std::size_t>(i)] * Nv[static_cast<std::size_t>(j)] > 0) Fixed[Index(i - 1, j - 1)] = 1;
                continue;
            }
            for (int i = Sample.FU; i <= Sample.LU; ++i) Bases.push_back(Nu[static_cast<std::size_t>(i)]);
            for (int j = Sample.FV; j <= Sample.LV; ++j) Bases.push_back(Nv[static_cast<std::size_t>(j)]);
            Samples.push_back(Sample);
        }
    std::vector<double> Miss(Fixed.size()), Weight(Fixed.size());
    for (int Pass = 0; Pass < Passes; ++Pass) {
        std::fill(Miss.begin(), Miss.end(), 0.0);
        std::fill(Weight.begin(), Weight.end(), 0.0);
        for (const TSample& Sample : Samples) {
            const double* Bu = &Bases[Sample.Basis];
            const double* Bv = Bu + (Sample.LU - Sample.FU + 1);
            double Y = 0;
            for (int i = Sample.FU; i <= Sample.LU; ++i)
                for (int j = Sample.FV; j <= Sample.LV; ++j)
                    Y += Bu[i - Sample.FU] * Bv[j - Sample.FV] * S.Point(i - 1, j - 1).Y;
            const double R = Sample.Target - Y;
            for (int i = Sample.FU; i <= Sample.LU; ++i)
                for (int j = Sample.FV; j <= Sample.LV; ++j) {
                    const double W = Sample.Area * Bu[i - Sample.FU] * Bv[j - Sample.FV];
                    Miss[Index(i - 1, j - 1)] += W * R;
                    Weight[Index(i - 1, j - 1)] += W;
                }
        }
        for (int j = 0; j < NV; ++j)
            for (int i = 0; i < NU; ++i) {
                TRPoint& P = S.Point(i, j);
                if (Fixed[Index(i, j)] || Weight[Index(i, j)] <= 0 || P.Y < 1e-9) continue;
                P.Y = std::max(0.0, P.Y + Miss[Index(i, j)] / Weight[Index(i, j)]);
            }
    }
}

}  // namespace sarnova
