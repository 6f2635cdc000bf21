#include "views/ViewGrid.h"

#include <cmath>

namespace sarnova {

double TViewGrid::Snap(double C) const {
    if (!(GridSize > 0)) return C;
    const double Q = C / GridSize;
    double N = std::trunc(Q);
    const double Fraction = Q - N;
    if (Q > 0 && Fraction > 0.5) N += 1;
    if (Q < 0 && Fraction < -0.5) N -= 1;
    return N * GridSize;
}

TMVector TViewGrid::SnapPoint(const TMVector& P) const { return {Snap(P.X), Snap(P.Y), Snap(P.Z)}; }

TMVector TViewGrid::SnapPointConstrained(const TMVector& P, TEditPlaneKind Code) const {
    TMVector R = P;
    if (Code == epXY || Code == epZX || Code == epAlongX) R.X = Snap(P.X);
    if (Code == epXY || Code == epYZ || Code == epAlongY) R.Y = Snap(P.Y);
    if (Code == epYZ || Code == epZX || Code == epAlongZ) R.Z = Snap(P.Z);
    return R;
}

}  // namespace sarnova
