#include "hulls/Blend.h"

#include <cmath>

namespace sarnova {

namespace {

double Component(const TMVector& V, int Axis) { return Axis == 0 ? V.X : Axis == 1 ? V.Y : V.Z; }

// Bisection passes of ParameterAtX: each halves the bracket, so 100 reach far below the spacing of
// doubles in [0, 1]; the limit only stops a search whose tolerance the cubic's slope cannot meet.
constexpr int MaxBisectionPasses = 100;
constexpr double XTolerance = 1e-4;

}  // namespace

TMVector TBlendEnd::GetTangent() const { return UseTangentPoint ? VectorFromTo(Point, TangentPoint) : Tangent; }

void TBlendEnd::SetTangent(const TMVector& V) {
    Tangent = V;
    UseTangentPoint = false;
}

void TBlendEnd::SetTangentPoint(const TMVector& P) {
    TangentPoint = P;
    UseTangentPoint = true;
}

void TBlendFunction::SetEnd(int Kind, const TMVector& V) {
    switch (Kind) {
        case 1: StartEnd.Point = V; break;
        case 2: StartEnd.SetTangent(V); break;
        case 3: StartEnd.SetTangentPoint(V); break;
        case 4: FinishEnd.Point = V; break;
        case 5: FinishEnd.SetTangent(V); break;
        case 6: FinishEnd.SetTangentPoint(V); break;
        default: break;
    }
}

void TBlendFunction::Fit() {
    const TMVector P0 = StartEnd.Point;
    const TMVector T0 = StartEnd.GetTangent();
    const TMVector P1 = FinishEnd.Point;
    const TMVector T1 = FinishEnd.GetTangent();
    for (int c = 0; c < 3; ++c) {
        std::array<double, 4>& A = FCoefficients[c];
        const double A0 = Component(P0, c);
        const double A1 = Component(T0, c);
        const double A3 = Component(T1, c) - 2 * Component(P1, c) + A1 + 2 * A0;
        const double A2 = Component(P1, c) - A3 - A1 - A0;
        A = {A3, A2, A1, A0};
    }
    FFittedFinish = P1;
}

double TBlendFunction::Coordinate(int Axis, double T) const {
    if (T == 1.0) return Component(FFittedFinish, Axis);
    const std::array<double, 4>& A = FCoefficients[Axis];
    return ((A[0] * T + A[1]) * T + A[2]) * T + A[3];
}

double TBlendFunction::XAt(double T) const { return Coordinate(0, T); }

TMVector TBlendFunction::PointAt(double T) const { return {Coordinate(0, T), Coordinate(1, T), Coordinate(2, T)}; }

double TBlendFunction::ParameterAtX(double X) const {
    double Lo = 0;
    double Hi = 1;
    double Mid = 0.5;
    for (int Pass = 0; Pass < MaxBisectionPasses; ++Pass) {
        Mid = (Lo + Hi) / 2;
        const double FHi = XAt(Hi);
        const double FLo = XAt(Lo);
        const double FMid = XAt(Mid);
        if (FMid == X) return Mid;
        if (std::fabs(FHi - X) < XTolerance) return Hi;
        if (std::fabs(FLo - X) < XTolerance) return Lo;
        if (Between(FLo, FMid, X))
            Hi = Mid;
        else if (Between(FMid, FHi, X))
            Lo = Mid;
        else
            return -1.0;
        if (std::fabs(X - FMid) < XTolerance) return Mid;
    }
    return Mid;
}

TMVector TBlendFunction::PointAtX(double X) const { return PointAt(ParameterAtX(X)); }

}  // namespace sarnova
