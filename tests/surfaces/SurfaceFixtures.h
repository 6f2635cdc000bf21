// Surfaces shared by the surface-kernel tests.
#pragma once
#include <cmath>
#include <memory>
#include <vector>

#include "surfaces/BSurface.h"

namespace sarnova {

// An n x m net whose point (i, j) is F(i, j), with the given orders and knot type; knots not built.
template <typename Fn>
std::unique_ptr<TBSplineSurface> MakeSurface(int NumU, int NumV, int OrderU, int OrderV, Fn F,
                                             TKnotType Type = ktOpen) {
    auto S = std::make_unique<TBSplineSurface>(NumU, NumV);
    for (int j = 0; j < NumV; ++j)
        for (int i = 0; i < NumU; ++i) S->Point(i, j).SetVector(F(i, j));
    S->SetOrderU(OrderU);
    S->SetOrderV(OrderV);
    S->KnotType = Type;
    return S;
}

// A curved net: no two points coincide and no row is straight.
inline TMVector WavyPoint(int i, int j) {
    return {i + 0.3 * j * j, j - 0.2 * i + i * j / 7.0, std::sin(i + 2.0 * j)};
}

inline std::vector<double> KnotsU(const TBSplineSurface& S) {
    return std::vector<double>(S.KnotsU().begin(), S.KnotsU().begin() + S.NumU() + S.OrderU());
}

inline std::vector<double> KnotsV(const TBSplineSurface& S) {
    return std::vector<double>(S.KnotsV().begin(), S.KnotsV().begin() + S.NumV() + S.OrderV());
}

// The largest distance between A(u, v) and B(MapU(u), MapV(v)) over a 13 x 13 grid of A's range.
template <typename MU, typename MV>
double ShapeDistance(TBSplineSurface& A, TBSplineSurface& B, MU MapU, MV MapV) {
    A.UpdateKnots();
    B.UpdateKnots();
    double Worst = 0;
    for (int a = 0; a <= 12; ++a)
        for (int b = 0; b <= 12; ++b) {
            const double u = A.MinU() + A.URange() * a / 12;
            const double v = A.MinV() + A.VRange() * b / 12;
            Worst = std::max(Worst, VectorDistance(A.Evaluate(u, v), B.Evaluate(MapU(u), MapV(v))));
        }
    return Worst;
}

inline double ShapeDistance(TBSplineSurface& A, TBSplineSurface& B) {
    const auto Same = [](double t) { return t; };
    return ShapeDistance(A, B, Same, Same);
}

}  // namespace sarnova
