#include "hulls/Corvane.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "foundation/BSplineInterpolate.h"
#include "foundation/Console.h"
#include "foundation/Errors.h"
#include "foundation/Polyline.h"
#include "foundation/VkMathsIntersect.h"
#include "foundation/VkMathsSolvers.h"
#include "naval/VkHydro.h"

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
    if (Mirrored) MirroredCurve()->Draw(G);
}

std::unique_ptr<TBSpline> TFormCurve::MirroredCurve() const {
    auto Mirror = FCurve->Clone();
    for (int I = 0; I < Mirror->Count(); ++I) Mirror->Point(I)->Y = -Mirror->Point(I)->Y;
    return Mirror;
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

// ---- TDiagonal ----

namespace {

// Marks the origin among a diagonal's offset points, which are kept in X order.
constexpr int OriginTag = 1;

}  // namespace

TDiagonal::TDiagonal() { FOffsets.Point(FOffsets.AddPoint(0, 0, 0))->Tag = OriginTag; }

int TDiagonal::OriginIndex() const {
    for (int I = 0; I < FOffsets.Count(); ++I)
        if (FOffsets.Point(I)->Tag == OriginTag) return I;
    return 0;
}

void TDiagonal::MoveOrigin() {
    TRPoint* P = FOffsets.Point(OriginIndex());
    P->X = FOriginX;
    P->Y = 0;
    P->Z = FOriginZ;
}

void TDiagonal::SetOriginZ(double Value) {
    Change(FOriginZ, Value);
    MoveOrigin();
}

void TDiagonal::SetOriginX(double Value) {
    Change(FOriginX, Value);
    MoveOrigin();
}

int TDiagonal::OffsetIndex(int Station) const {
    const double X = StationX(Station);
    for (int I = 0; I < FOffsets.Count(); ++I)
        if (FOffsets.Point(I)->X == X && FOffsets.Point(I)->Tag != OriginTag) return I;
    return -1;
}

void TDiagonal::SetOffset(int Station, double D) {
    int I = OffsetIndex(Station);
    if (I < 0) {
        FOffsets.AddPoint(StationX(Station), 0, 0);
        FOffsets.SortPoints(0);
        I = OffsetIndex(Station);
        if (I < 0) throw EGeometryError("TDiagonal.SetOffset - Error inserting point into diagonal");
    }
    TRPoint* P = FOffsets.Point(I);
    P->W = D;
    P->Y = D * std::sin(FAngle);
    P->Z = FOriginZ - D * std::cos(FAngle);
    Invalidate();
}

double TDiagonal::Offset(int Station) const {
    const int I = OffsetIndex(Station);
    if (I >= 0) return FOffsets.Point(I)->W;
    if (FCurve->Count() < 2) return 0;
    return VectorDistance({StationX(Station), 0, FOriginZ}, StationPoint(Station));
}

double TDiagonal::OffsetToHeight(double Z) const { return (FOriginZ - Z) / std::cos(FAngle); }

void TDiagonal::RemoveQuarterPoints() {
    for (int Station : {15, 5}) {
        const int I = OffsetIndex(Station);
        if (I >= 0) {
            FOffsets.Delete(I);
            Invalidate();
        }
    }
}

void TDiagonal::Clear() {
    for (int I = FOffsets.Count() - 1; I >= 0; --I)
        if (FOffsets.Point(I)->Tag != OriginTag) FOffsets.Delete(I);
    Invalidate();
}

TMLine TDiagonal::TraceLine(int Station) const {
    return {{StationX(Station), 0, FOriginZ}, {0, std::sin(FAngle), -std::cos(FAngle)}};
}

double TDiagonal::OffsetClosestToLine(int Station, const TMLine& Line, double Parallel) const {
    const TMLine Trace = TraceLine(Station);
    try {
        return VectorDistance(Trace.Point, PointOnLineClosestToLine(Trace, Line));
    } catch (const EError&) {
        return Parallel;
    }
}

TMVector TDiagonal::StationPoint(int I) const {
    const int J = OffsetIndex(I);
    return J >= 0 ? FOffsets.Point(J)->Vector() : TLongitudinalFormCurve::StationPoint(I);
}

void TDiagonal::DoUpdate() {
    if (FOffsets.Count() < 3)
        throw EGeometryError("TDiagonal.DoUpdate - Fitting of diagonal attempted with less than three points");
    FCurve = InterpolateBSpline(FOffsets.Count() == 3 ? 3 : 4, FOffsets);
    Digitise();
}

// ---- TSection ----

TSection::TSection(int Station) : FStation(Station) {}

void TSection::SetStation(int Value) {
    if (Value == FStation) return;
    FStation = Value;
    Invalidate();
}

void TFormCurve::ChangeDiagonals(TDiagonal* (&Held)[3], TDiagonal* A, TDiagonal* B, TDiagonal* C) {
    if (Held[0] == A && Held[1] == B && Held[2] == C) return;
    Held[0] = A;
    Held[1] = B;
    Held[2] = C;
    FUpToDate = false;
}

void TSection::SetDiagonals(TDiagonal* A, TDiagonal* B, TDiagonal* C) { ChangeDiagonals(FDiagonals, A, B, C); }

void TSection::RequireDiagonals() const {
    if (!FA || !FB || !FC) throw EGeometryError("TSection - The section has no diagonals");
}

void TSection::SetDiagonalAOffset(double D) {
    RequireDiagonals();
    FA->SetOffset(FStation, D);
    Invalidate();
}

void TSection::SetDiagonalBOffset(double D) {
    RequireDiagonals();
    FB->SetOffset(FStation, D);
    Invalidate();
}

void TSection::SetDiagonalCOffset(double D) {
    RequireDiagonals();
    FC->SetOffset(FStation, D);
    Invalidate();
}

void TSection::BuildSection() {
    RequireDiagonals();
    const double X = this->X();
    SetControlPoints(4, {{X, 0, FKeelZ},
                         {X, std::tan(Radians(10)) * (FTc - FKeelZ), FKeelZ},
                         FA->StationPoint(FStation),
                         FB->StationPoint(FStation),
                         FC->StationPoint(FStation),
                         {X, FSheerHalfBreadth, FSheerZ}});
    FCurve->DisplaySegments = 20;
    auto Half = FCurve->Digitise();
    auto Full = Half->MirroredFullSection();
    TUnderwaterSectionIterator It({{0, 0, 1}, FTc}, *Full);
    TSectionProperties R;
    SectionAreaProperties(It, R);
    SectionWaterlineProperties(It, R);
    FArea = R.Area;
    FWaterlineBreadth = R.WaterlineBreadth;
    const double Box = 2 * FWaterlineHalfBreadth * (FTc - FKeelZ);
    FAreaCoefficient = Box != 0 ? FArea / Box : 0;
}

void DeriveDiagonalAOffset(TSection& S, const TMVector& P) {
    TDiagonal& A = *S.DiagonalA();
    const TMVector B = S.DiagonalB()->StationPoint(S.Station());
    const TMVector C = S.DiagonalC()->StationPoint(S.Station());
    const TMVector T = VectorNormalise(
        VectorAdd(VectorNormalise(VectorFromTo(C, B)), VectorNormalise(VectorFromTo(B, P))));
    const double Keel = A.OffsetToHeight(S.KeelZ());
    // A tangent parallel to the trace leaves the offset that reaches the keel.
    A.SetOffset(S.Station(), std::min(A.OffsetClosestToLine(S.Station(), {B, T}, Keel), Keel));
}

void TMidSection::BuildSection() {
    RequireDiagonals();
    DeriveDiagonalAOffset(*this, {X(), std::tan(Radians(10)) * (FTc - FKeelZ), FKeelZ});
    TSection::BuildSection();
}

void TQuarterSection::BuildSection() {
    RequireDiagonals();
    DeriveDiagonalAOffset(*this, {X(), std::tan(Radians(10)) * (FTc - FKeelZ), FKeelZ});
    TSection::BuildSection();
}

void TMidSection::DoUpdate() {
    ProgressText("Updating Mid Section");
    RequireDiagonals();
    const int Flags = FindValueClampToBracket | FindValueEvaluateAnswer;
    const double CHigh = std::sin(FC->Angle()) != 0 ? FWaterlineHalfBreadth / std::sin(FC->Angle()) : 0;
    FindValue(Flags, FB->OffsetToHeight(FKeelZ), FB->OffsetToHeight(FTc), FTargetArea, [&](double DB) {
        SetDiagonalBOffset(DB);
        FindValue(Flags, FC->OffsetToHeight(FKeelZ), CHigh, FWaterlineHalfBreadth, [&](double DC) {
            SetDiagonalCOffset(DC);
            BuildSection();
            return FWaterlineBreadth / 2;
        });
        BuildSection();
        return FArea;
    });
    BuildSection();
}

void TQuarterSection::DoUpdate() {
    ProgressText(FStation == 5 ? "Updating Aft Quarter Section" : "Updating Forward Quarter Section");
    RequireDiagonals();
    SetDiagonalCOffset(FC->Offset(FStation));
    FindValue(FindValueClampToBracket | FindValueEvaluateAnswer, FB->OffsetToHeight(FKeelZ), FB->OffsetToHeight(FTc),
              FTargetArea, [&](double DB) {
                  SetDiagonalBOffset(DB);
                  BuildSection();
                  return FArea;
              });
    BuildSection();
    FTargetArea = FArea;
}

void TApSection::DoUpdate() {
    ProgressText("Update Ap");
    RequireDiagonals();
    SetDiagonalAOffset(0);
    SetDiagonalBOffset(FB->OffsetToHeight(FTc));
    const double F = Radians(FFlareAngle);
    const TMLine Flare{{X(), FSheerHalfBreadth, FSheerZ}, {0, -std::sin(F), -std::cos(F)}};
    SetDiagonalCOffset(FC->OffsetClosestToLine(FStation, Flare, FC->Offset(FStation)));
    BuildSection();
}

// ---- TTransom ----

void TTransom::SetDiagonals(TDiagonal* A, TDiagonal* B, TDiagonal* C) { ChangeDiagonals(FDiagonals, A, B, C); }

double TTransom::TopX() const { return std::tan(Radians(FTransomAngle)) * (FFreeAft - FTransomHeight); }

TMPlane TTransom::TransomPlane() const {
    const double Bottom = FTc + FTransomHeight, Top = FFreeAft + FTc, E = TopX();
    // The plane holds the Y axis direction and the line from the bottom to the top on the centre plane.
    TMVector N{Top - Bottom, 0, -E};
    const double L = std::sqrt(N.X * N.X + N.Z * N.Z);
    if (L > 0) N = {N.X / L, 0, N.Z / L};
    return {N, N.Z * Bottom};
}

TMVector TTransom::TransomPoint(TDiagonal& D) {
    const TMVector Bottom{0, 0, FTc + FTransomHeight};
    TMVector P;
    try {
        TDiagonalLeastSquares Fit;
        for (int I = 0; I <= 10; ++I) Fit.AddPoint(D.StationPoint(I));
        Fit.Solve();
        P = Fit.Intersect(TransomPlane());
    } catch (const EError& E) {
        const std::string Text = std::string("Transom: ") + E.what() + "; the transom bottom is used";
        if (OnWarning)
            OnWarning(Text);
        else if (GConsole)
            GConsole->WriteLine(Text);
        return Bottom;
    }
    if (P.Y < 0) return Bottom;
    if (P.Z < Bottom.Z) {
        P.X = 0;
        P.Z = Bottom.Z;
    }
    return P;
}

void TTransom::DoUpdate() {
    ProgressText("Update Transom");
    if (!FB || !FC) throw EGeometryError("TTransom - The transom has no diagonals");
    const TMVector Bottom{0, 0, FTc + FTransomHeight};
    SetControlPoints(4, {Bottom, Bottom, Bottom, TransomPoint(*FB), TransomPoint(*FC),
                         {TopX(), FBTransom / 2, FFreeAft + FTc}});
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
        // The stable form: a nearly flat quadratic keeps its finite root accurate.
        const double Q = -0.5 * (Qb + std::copysign(std::sqrt(Disc), Qb));
        const double R1 = Q / Qa, R2 = Q != 0 ? Qc / Q : R1;
        X = std::abs(R1) <= std::abs(R2) ? R1 : R2;
    }
    return {X, (A * X + B) * X + C, (D * X + E) * X + F};
}

}  // namespace sarnova
