#include "hulls/Corvane.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "foundation/BSplineInterpolate.h"
#include "foundation/Errors.h"
#include "foundation/Polyline.h"
#include "foundation/VkMathsSolvers.h"

namespace sarnova {

namespace {

double Radians(double Degrees) { return Degrees * std::numbers::pi / 180.0; }

}  // namespace

// ---- TFormCurve ----

TFormCurve::TFormCurve() : FCurve(std::make_unique<TBSpline>(4)) {}

TFormCurve::~TFormCurve() = default;

void TFormCurve::Update() {
    if (FUpToDate) return;
    DoUpdate();
    FUpToDate = true;
    if (OnChange) OnChange(*this);
}

void TFormCurve::ProgressText(const std::string& Text) {
    if (OnProgressText) OnProgressText(Text);
}

void TFormCurve::Draw(IGraphics& G) {
    Update();
    FCurve->Draw(G);
    if (Mirrored) {
        auto Mirror = FCurve->Clone();
        for (int I = 0; I < Mirror->Count(); ++I) Mirror->Point(I)->Y = -Mirror->Point(I)->Y;
        Mirror->Draw(G);
    }
}

void TFormCurve::Change(double& Field, double Value) {
    if (Field == Value) return;
    Field = Value;
    FUpToDate = false;
}

void TFormCurve::SetControlPoints(int Order, const std::vector<TMVector>& Points) {
    auto Curve = std::make_unique<TBSpline>(Order);
    for (const auto& P : Points) Curve->AddVector(P);
    Curve->UpdateKnots();
    FCurve = std::move(Curve);
}

// ---- TLongitudinalFormCurve ----

TMVector TLongitudinalFormCurve::StationPoint(int I) const {
    const auto& P = Station(I);
    return P ? *P : TMVector{StationX(I), 0, 0};
}

void TLongitudinalFormCurve::Digitise() {
    for (int I = 0; I < StationCount; ++I) {
        auto P = FCurve->Count() >= FCurve->GetOrder() ? FCurve->PointAtX(StationX(I)) : nullptr;
        FStations[static_cast<std::size_t>(I)] =
            P ? std::optional<TMVector>(P->Vector()) : std::optional<TMVector>();
    }
}

// ---- TProfile ----

void TProfile::Build(double T0) {
    const double T = FTc, L = FLwl, O = FOvh, FB = FFreeBow, FF = FForeFoot, B = Radians(FBowCurve);
    const double Th = std::atan2(FB, O), Ph = std::atan2(O, FB);
    const double C = std::cos(Th - B), S = std::sin(Th - B);
    const double Zf = T - S * FF, Xf = C * FF + O;
    const double G = std::atan(Zf / (L / 4 + O - Xf));
    const double X0 = StartX(), XF = EndX();
    const TMVector Foot{FLoa - Xf - std::cos(G) * FF, 0, Zf - std::sin(G) * FF};
    const TMVector Mid{X0 + L / 2, 0, 0}, Bow{XF, 0, T};
    SetControlPoints(4, {{0, 0, T + T0},
                         {X0, 0, T},
                         {X0 + L / 4, 0, T / 5},
                         {X0 + L / 2 - L / 20, 0, 0},
                         Mid,
                         Mid,
                         Mid,
                         {X0 + L / 2 + L / 20, 0, 0},
                         {X0 + 3 * L / 4, 0, T / 6},
                         Foot,
                         Foot,
                         Foot,
                         {FLoa - Xf, 0, Zf},
                         Bow,
                         Bow,
                         Bow,
                         {XF + C * FB / 3, 0, T + S * FB / 3},
                         {FLoa - FB / 3 * std::sin(Ph - B), 0, T + FB - FB / 3 * std::cos(Ph - B)},
                         {FLoa, 0, T + FB}});
}

void TProfile::DoUpdate() {
    ProgressText("Update Profile");
    const double X0 = StartX();
    FTransomHeight = FindValue(FindValueClampToBracket | FindValueEvaluateAnswer, FFreeAft, -FTc, FTc,
                               [&](double T0) {
                                   Build(T0);
                                   auto P = FCurve->PointAtX(X0);
                                   return P ? P->Z : std::nan("");
                               });
    Build(FTransomHeight);
    Digitise();
}

double TProfile::GetTransomHeight() {
    Update();
    return FTransomHeight;
}

// ---- TSheerLine ----

void TSheerLine::DoUpdate() {
    ProgressText("Update Sheerline");
    const double T = FTc, X0 = StartX();
    double D = std::tan(Radians(FTransomAngle)) * (FFreeAft - FTransomHeight);
    if (D > X0) {
        FTransomAngle = std::atan2(X0, FFreeAft - FTransomHeight) * 180.0 / std::numbers::pi;
        D = X0;
    }
    TPolyline Through;
    Through.AddPoint(D - 0.0001, FBTransom / 2, T + FFreeAft);
    Through.AddPoint(FLwl / 2 + FOvh, FBMax / 2, T + FFreeMid);
    Through.AddPoint(FLoa, 0, T + FFreeBow);
    FCurve = InterpolateBSpline(3, Through);
    if (FBMax > FBTransom) {
        const int Samples = 50 * FCurve->Count() + 1;
        const double T0 = FCurve->MinT(), Range = FCurve->ParameterRange();
        FindValue(FindValueEvaluateAnswer, 4 * FBMax, 0, FBMax / 2, [&](double Y) {
            FCurve->Point(1)->Y = Y;
            double Widest = 0;
            for (int I = 0; I < Samples; ++I)
                Widest = std::max(Widest, FCurve->EvaluatePoint(T0 + Range * I / (Samples - 1)).Y);
            return Widest;
        });
    } else {
        FCurve->Point(1)->Y = FBTransom / 2;
        FBMax = FBTransom;
    }
    Digitise();
}

// ---- TWaterline ----

void TWaterline::SetLcf(double Value) { Change(FLcf, std::clamp(Value, 25.0, 75.0)); }

void TWaterline::Build() {
    const double T = FTc, L = FLwl, S = 0.4 * FBwl, A = FLcf / 100 * L, X0 = StartX(), XF = EndX();
    const TMVector Widest{XF - A, FBwl / 2, T};
    SetControlPoints(4, {{X0, 0, T},
                         {X0, (FFullness - FBalance) * S, T},
                         {XF - A - L / 10, FBwl / 2, T},
                         Widest,
                         Widest,
                         Widest,
                         {XF - A + L / 10, FBwl / 2, T},
                         {XF - L / 4, (FFullness + FBalance) * S, T},
                         {XF, 0, T}});
}

void TWaterline::Measure() {
    const double S = 0.4 * FBwl;
    FCurve->Point(1)->Y = (FFullness - FBalance) * S;
    FCurve->Point(7)->Y = (FFullness + FBalance) * S;
    Digitise();
    double Sum = 0, Moment = 0;
    for (int I = 0; I < StationCount; ++I) {
        const double W = I == 0 || I == StationCount - 1 ? 1.0 : I % 2 == 1 ? 4.0 : 2.0;
        const TMVector P = StationPoint(I);
        Sum += W * P.Y;
        Moment += W * P.Y * StationX(I);
    }
    const double Half = Sum / 3 * FLwl / 20;
    FWaterplaneCoefficient = Half / (FLwl * FBwl / 2);
    const double Xc = Sum != 0 ? Moment / Sum : StartX();
    FFlotationFraction = 1 - (Xc - StartX()) / FLwl;
}

void TWaterline::DoUpdate() {
    ProgressText("Update Waterline");
    FFullness = 0.95;
    FBalance = 0.05;
    Build();
    const int Flags = FindValueClampToBracket | FindValueEvaluateAnswer;
    FBalance = FindValue(Flags, FLwl, -FLwl, FLcf / 100, [&](double Balance) {
        FBalance = Balance;
        FFullness = FindValue(Flags, 8, -8, FCwp, [&](double Fullness) {
            FFullness = Fullness;
            Measure();
            return FWaterplaneCoefficient;
        });
        Measure();
        return FFlotationFraction;
    });
    Measure();
}

// ---- TDiagonalLeastSquares ----

void TDiagonalLeastSquares::AddPoint(const TMVector& P) {
    const double X2 = P.X * P.X;
    ++FCount;
    Sx += P.X;
    Sx2 += X2;
    Sx3 += X2 * P.X;
    Sx4 += X2 * X2;
    Sy += P.Y;
    Sxy += P.X * P.Y;
    Sx2y += X2 * P.Y;
    Sz += P.Z;
    Sxz += P.X * P.Z;
    Sx2z += X2 * P.Z;
}

void TDiagonalLeastSquares::Solve() {
    // Normal equations of the quadratic fit, solved by Cramer's rule.
    const double M[3][3] = {{Sx4, Sx3, Sx2}, {Sx3, Sx2, Sx}, {Sx2, Sx, static_cast<double>(FCount)}};
    auto Det = [](const double (&Q)[3][3]) {
        return Q[0][0] * (Q[1][1] * Q[2][2] - Q[1][2] * Q[2][1]) - Q[0][1] * (Q[1][0] * Q[2][2] - Q[1][2] * Q[2][0]) +
               Q[0][2] * (Q[1][0] * Q[2][1] - Q[1][1] * Q[2][0]);
    };
    const double D0 = Det(M);
    if (FCount < 3 || std::abs(D0) < 1e-12 * std::max(1.0, Sx4 * Sx4))
        throw EGeometryError("TDiagonalLeastSquares.Solve - Points do not fix a quadratic");
    auto Column = [&](int J, double R0, double R1, double R2) {
        double Q[3][3];
        for (int I = 0; I < 3; ++I)
            for (int K = 0; K < 3; ++K) Q[I][K] = M[I][K];
        Q[0][J] = R0;
        Q[1][J] = R1;
        Q[2][J] = R2;
        return Det(Q) / D0;
    };
    A = Column(0, Sx2y, Sxy, Sy);
    B = Column(1, Sx2y, Sxy, Sy);
    C = Column(2, Sx2y, Sxy, Sy);
    D = Column(0, Sx2z, Sxz, Sz);
    E = Column(1, Sx2z, Sxz, Sz);
    F = Column(2, Sx2z, Sxz, Sz);
}

TMVector TDiagonalLeastSquares::Intersect(const TMPlane& Plane) const {
    const TMVector& N = Plane.Normal;
    const double Qa = N.Y * A + N.Z * D, Qb = N.X + N.Y * B + N.Z * E, Qc = N.Y * C + N.Z * F - Plane.Distance;
    double X;
    if (Qa == 0) {
        if (Qb == 0) throw EGeometryError("TDiagonalLeastSquares.F - Quadratic Diagonal Equation has no roots");
        X = -Qc / Qb;
    } else {
        const double Disc = Qb * Qb - 4 * Qa * Qc;
        if (Disc < 0) throw EGeometryError("TDiagonalLeastSquares.F - Quadratic Diagonal Equation has no roots");
        const double R1 = (-Qb + std::sqrt(Disc)) / (2 * Qa), R2 = (-Qb - std::sqrt(Disc)) / (2 * Qa);
        X = std::abs(R1) <= std::abs(R2) ? R1 : R2;
    }
    return {X, (A * X + B) * X + C, (D * X + E) * X + F};
}

}  // namespace sarnova
