// The yacht generator: its parameters, the chains that keep the form curves current, the fit to the
// hydrostatic targets and the lofted net.
#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "foundation/BSplineInterpolate.h"
#include "foundation/TextUtils.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/TextFile.h"
#include "hulls/Halvorn.h"
#include "foundation/VkMathsSolvers.h"
#include "hulls/Corvane.h"
#include "hulls/SurfaceHydrostatics.h"

namespace sarnova {

namespace {

constexpr double Unlimited = std::numeric_limits<double>::infinity();

// A parameter's name, default and domain: Low and High, each included unless marked open.
struct TParameterInfo {
    const char* Name;
    double Default;
    double Low, High;
    bool LowOpen, HighOpen;
};

// Lengths, beams, the draught and the freeboards are positive; the overhang, transom beam and
// forefoot may be 0; coefficients lie between 0 and 1; percentages of Lwl between 0 and 100; the
// angles short of a right angle.
constexpr TParameterInfo Parameters[TCorvane::ParameterCount] = {
    {"Loa", 12, 0, Unlimited, true, true},       {"Lwl", 10, 0, Unlimited, true, true},
    {"Ovh", 0.9, 0, Unlimited, false, true},     {"BMax", 3.25, 0, Unlimited, true, true},
    {"Bwl", 3.17, 0, Unlimited, true, true},     {"BTransom", 2, 0, Unlimited, false, true},
    {"Tc", 0.57, 0, Unlimited, true, true},      {"Cp", 0.57, 0, 1, true, true},
    {"Cm", 0.752, 0, 1, true, false},            {"LCB", 53, 0, 100, true, true},
    {"Cwp", 0.73, 0, 1, true, false},            {"Lcf", 55, 0, 100, true, true},
    {"FreeBow", 1.5, 0, Unlimited, true, true},  {"FreeMid", 1.35, 0, Unlimited, true, true},
    {"FreeAft", 1.3, 0, Unlimited, true, true},  {"BowCurve", 0, -90, 90, true, true},
    {"ForeFoot", 0.2, 0, Unlimited, false, true}, {"TransomAngle", 30, 0, 90, false, true},
    {"FlareAngle", 0, -90, 90, true, true}};

void CheckIndex(int Index) {
    if (Index < 0 || Index >= TCorvane::ParameterCount)
        throw EError("Parameter Index out of bounds " + std::to_string(Index));
}

double SimpsonWeight(int I, int Last) { return I == 0 || I == Last ? 1.0 : I % 2 == 1 ? 4.0 : 2.0; }

}  // namespace

TCorvane::TCorvane() {
    for (int I = 0; I < SectionCount; ++I) {
        std::unique_ptr<TSection> S;
        if (I == 0)
            S = std::make_unique<TApSection>(I);
        else if (I == 5 || I == 15)
            S = std::make_unique<TQuarterSection>(I);
        else if (I == 10)
            S = std::make_unique<TMidSection>(I);
        else
            S = std::make_unique<TSection>(I);
        FSections.push_back(std::move(S));
    }
    auto Progress = [this](const std::string& Text) {
        if (OnProgressText) OnProgressText(Text);
    };
    for (TFormCurve* C : std::initializer_list<TFormCurve*>{&FProfile, &FSheerLine, &FWaterline, &FTransom,
                                                            FSections[0].get(), FSections[5].get(),
                                                            FSections[10].get(), FSections[15].get()})
        C->OnProgressText = Progress;
    SetDefaults();
}

TCorvane::~TCorvane() = default;

std::string TCorvane::ParameterName(int Index) {
    CheckIndex(Index);
    return Parameters[Index].Name;
}

double TCorvane::Parameter(int Index) const {
    CheckIndex(Index);
    return FP[Index];
}

std::string TCorvane::DomainError(int Index, double Value) {
    CheckIndex(Index);
    const TParameterInfo& I = Parameters[Index];
    const std::string Name = I.Name;
    if (std::isnan(Value)) return Name + " must be a number";
    const bool AboveLow = I.LowOpen ? Value > I.Low : Value >= I.Low;
    const bool BelowHigh = I.HighOpen ? Value < I.High : Value <= I.High;
    if (!AboveLow) return Name + " must be " + (I.LowOpen ? "greater than " : "at least ") + MessageNumber(I.Low);
    if (!BelowHigh) return Name + " must be " + (I.HighOpen ? "less than " : "at most ") + MessageNumber(I.High);
    return {};
}

void TCorvane::SetParameter(int Index, double Value) {
    const std::string Error = DomainError(Index, Value);
    if (!Error.empty()) throw EGeometryError(Error);
    if (FP[Index] == Value) return;
    FP[Index] = Value;
    FLastChanged = Index;
    Changed(Index);
}

void TCorvane::SetAftQuarterCoefficient(double Value) {
    if (Value == FAftQuarterCoefficient) return;
    FAftQuarterCoefficient = Value;
    ConfigureSection(*FSections[5]);
    ResetDiagonals();
}

void TCorvane::SetForwardQuarterCoefficient(double Value) {
    if (Value == FForwardQuarterCoefficient) return;
    FForwardQuarterCoefficient = Value;
    ConfigureSection(*FSections[15]);
    ResetDiagonals();
}

void TCorvane::SetDefaults() {
    for (int I = 0; I < ParameterCount; ++I) SetParameter(I, Parameters[I].Default);
    FLastChanged = -1;
    FAftQuarterCoefficient = FForwardQuarterCoefficient = 0.75;
    for (TDiagonal& D : FDiagonals) D.Clear();
    Changed(pLoa);
}

void TCorvane::SetMirrored(bool Value) {
    FMirrored = Value;
    FSheerLine.Mirrored = FWaterline.Mirrored = FTransom.Mirrored = Value;
    for (auto& S : FSections) S->Mirrored = Value;
}

void TCorvane::ConfigureSection(TSection& S) {
    S.SetDiagonals(&FDiagonals[0], &FDiagonals[1], &FDiagonals[2]);
    S.SetTc(FP[pTc]);
    S.SetOvh(FP[pOvh]);
    S.SetLwl(FP[pLwl]);
    S.SetLoa(FP[pLoa]);
    if (auto* Ap = dynamic_cast<TApSection*>(&S)) Ap->SetFlareAngle(FP[pFlareAngle]);
    S.Invalidate();
}

void TCorvane::ConfigureTransom() {
    FTransom.SetDiagonals(&FDiagonals[0], &FDiagonals[1], &FDiagonals[2]);
    FTransom.SetTc(FP[pTc]);
    FTransom.SetFreeAft(FP[pFreeAft]);
    FTransom.SetBTransom(FP[pBTransom]);
    FTransom.SetTransomAngle(FP[pTransomAngle]);
}

// Ends every chain of changes: the diagonals' planes, the transom and the plain sections follow the
// parameters, and the net is due again.
void TCorvane::ResetDiagonals() {
    const double Tc = FP[pTc], Bwl = FP[pBwl];
    const double Heights[3] = {Tc, Tc + Bwl / 8, Tc + Bwl / 4};
    const double Angles[3] = {std::numbers::pi / 4, (std::numbers::pi / 4 + std::atan(2.0)) / 2, std::atan(2.0)};
    for (int I = 0; I < 3; ++I) {
        TDiagonal& D = FDiagonals[I];
        D.SetOriginZ(Heights[I]);
        D.SetAngle(Angles[I]);
        D.SetLwl(FP[pLwl]);
        D.SetLoa(FP[pLoa]);
        D.SetOvh(FP[pOvh]);
    }
    ConfigureTransom();
    for (int I = 0; I < SectionCount; ++I)
        if (I != 0 && I != 5 && I != 10 && I != 15) ConfigureSection(*FSections[static_cast<std::size_t>(I)]);
    FGenerated = false;
}

void TCorvane::Changed(int Index) {
    const bool Lengths = Index == pLoa || Index == pLwl || Index == pOvh;
    const bool Stem = Index == pBowCurve || Index == pForeFoot;
    if (Lengths || Index == pTc || Index == pFreeBow || Index == pFreeAft || Index == pTransomAngle || Stem)
        FProfile.Invalidate();
    if (Lengths || Index == pTc || Index == pFreeBow || Index == pFreeAft || Index == pTransomAngle ||
        Index == pBMax || Index == pBTransom || Index == pFreeMid)
        FSheerLine.Invalidate();
    if (Lengths || Index == pTc || Index == pBwl || Index == pCwp || Index == pLcf) FWaterline.Invalidate();
    if (Lengths || Stem)
        for (TDiagonal& D : FDiagonals) D.Clear();
    bool Ends = Index == pCm || Index == pFlareAngle;
    if (!FProfile.UpToDate() || !FSheerLine.UpToDate() || !FWaterline.UpToDate()) {
        // The midship section starts over: the quarter points it was solved with go.
        for (TDiagonal& D : FDiagonals) D.RemoveQuarterPoints();
        ConfigureSection(*FSections[10]);
        ConfigureSection(*FSections[0]);
        Ends = true;
    } else if (Index == pCm) {
        ConfigureSection(*FSections[10]);
    } else if (Index == pFlareAngle) {
        ConfigureSection(*FSections[0]);
    }
    if (Ends || Index == pCp || Index == pLCB) {
        ConfigureSection(*FSections[5]);
        ConfigureSection(*FSections[15]);
    }
    ResetDiagonals();
}

void TCorvane::ConfigureLongitudinal(TLongitudinalFormCurve& C) {
    C.SetLoa(FP[pLoa]);
    C.SetLwl(FP[pLwl]);
    C.SetOvh(FP[pOvh]);
    C.SetTc(FP[pTc]);
}

void TCorvane::FeedSection(TSection& S) {
    const int I = S.Station();
    const TMVector Keel = FProfile.StationPoint(I), Sheer = FSheerLine.StationPoint(I);
    S.SetKeelZ(Keel.Z);
    S.SetSheerZ(Sheer.Z);
    S.SetSheerHalfBreadth(Sheer.Y);
    S.SetWaterlineHalfBreadth(FWaterline.StationPoint(I).Y);
}

void TCorvane::UpdateAll() {
    const double Tc = FP[pTc];
    // 1. Breadth limits; the parameter the user set last stays the one a refusal names.
    const int LastChanged = FLastChanged;
    if (FP[pBwl] > FP[pLwl] / 1.25) SetParameter(pBwl, FP[pLwl] / 1.25);
    if (FP[pFreeAft] / 2 > FP[pBTransom])
        SetParameter(pBTransom, FP[pFreeAft] / 2);
    else if (FP[pBTransom] > FP[pBwl])
        SetParameter(pBTransom, FP[pBwl]);
    FLastChanged = LastChanged;
    // 2. Profile.
    if (!FProfile.UpToDate()) {
        ConfigureLongitudinal(FProfile);
        FProfile.SetForeFoot(FP[pForeFoot]);
        FProfile.SetFreeBow(FP[pFreeBow]);
        FProfile.SetFreeAft(FP[pFreeAft]);
        FProfile.SetBowCurve(FP[pBowCurve]);
        FProfile.SetTransomAngle(FP[pTransomAngle]);
        FProfile.Update();
        const double Height = FProfile.GetTransomHeight();
        FSheerLine.SetTransomHeight(Height);
        FTransom.SetTransomHeight(Height);
        FDiagonals[0].SetOriginX(FP[pLoa] - FP[pOvh]);
        TBSpline Stem(4);
        TBSpline& P = FProfile.Curve();
        for (int I = P.Count() - 5; I < P.Count(); ++I) Stem.AddPointCopy(P.Point(I));
        Stem.UpdateKnots();
        for (int I = 1; I <= 2; ++I) {
            auto At = Stem.PointAtZ(FDiagonals[I].OriginZ());
            if (At) FDiagonals[I].SetOriginX(At->X);
        }
    }
    // 3. Sheer line.
    if (!FSheerLine.UpToDate()) {
        ConfigureLongitudinal(FSheerLine);
        FSheerLine.SetFreeBow(FP[pFreeBow]);
        FSheerLine.SetFreeMid(FP[pFreeMid]);
        FSheerLine.SetFreeAft(FP[pFreeAft]);
        FSheerLine.SetBMax(FP[pBMax]);
        FSheerLine.SetBTransom(FP[pBTransom]);
        FSheerLine.SetTransomAngle(FP[pTransomAngle]);
        FSheerLine.Update();
        FP[pBMax] = FSheerLine.BMax();
        FP[pTransomAngle] = FSheerLine.TransomAngle();
        FTransom.SetTransomAngle(FP[pTransomAngle]);
    }
    // 4. Waterline.
    if (!FWaterline.UpToDate()) {
        ConfigureLongitudinal(FWaterline);
        FWaterline.SetBwl(FP[pBwl]);
        FWaterline.SetLcf(FP[pLcf]);
        FWaterline.SetCwp(FP[pCwp]);
        FWaterline.Update();
    }
    // 5. Midship section.
    TSection& Mid = *FSections[10];
    if (!Mid.UpToDate()) {
        FeedSection(Mid);
        Mid.SetTargetArea(2 * Mid.WaterlineHalfBreadth() * (Tc - Mid.KeelZ()) * FP[pCm]);
        Mid.Update();
    }
    // 6. Station 0.
    if (!FSections[0]->UpToDate()) {
        FeedSection(*FSections[0]);
        FSections[0]->Update();
    }
    // 7. Diagonals.
    for (TDiagonal& D : FDiagonals) D.Update();
    // 8, 9. Quarter sections.
    for (int I : {5, 15}) {
        TSection& Q = *FSections[static_cast<std::size_t>(I)];
        if (Q.UpToDate()) continue;
        double& Coefficient = I == 5 ? FAftQuarterCoefficient : FForwardQuarterCoefficient;
        FeedSection(Q);
        Q.SetTargetArea(2 * Q.WaterlineHalfBreadth() * (Tc - Q.KeelZ()) * Coefficient);
        Q.Update();
        Coefficient = Q.AreaCoefficient();
    }
    // 10. Diagonals again; 11. transom.
    for (TDiagonal& D : FDiagonals) D.Update();
    FTransom.Update();
    // 12. Plain sections.
    for (int I = 0; I < SectionCount; ++I) {
        TSection& S = *FSections[static_cast<std::size_t>(I)];
        if (S.UpToDate()) continue;
        FeedSection(S);
        S.Update();
    }
    // 13. Volume.
    MeasureVolume();
}

void TCorvane::MeasureVolume() {
    const double H = FP[pLwl] / 20, StartX = FP[pLoa] - (FP[pLwl] + FP[pOvh]);
    double S = 0, M = 0;
    for (int I = 0; I < SectionCount; ++I) {
        const double WA = SimpsonWeight(I, SectionCount - 1) * FSections[static_cast<std::size_t>(I)]->Area();
        S += WA;
        M += WA * (StartX + I * H);
    }
    FVolume = S * H / 3;
    FAchievedCp = FVolume / (FP[pLwl] * FP[pBwl] * FP[pTc] * FP[pCm]);
    FLcbX = S != 0 ? M / S : StartX;
    FAchievedLcb = (1 - (FLcbX - StartX) / FP[pLwl]) * 100;
}

void TCorvane::QuarterAreas(double V, double X, double& A5, double& A15) {
    const double L = FP[pLwl], A10 = FSections[10]->Area();
    const double X5 = FWaterline.StationX(5), X10 = FWaterline.StationX(10), X15 = FWaterline.StationX(15);
    A5 = (6 / L * (V * X - V * X15) + A10 * (X15 - X10)) / (2 * (X5 - X15));
    A15 = (6 * V / L - A10 - 2 * A5) / 2;
}

void TCorvane::Fit(double Cp, double LCB) {
    constexpr int PassLimit = 50;
    const double StartX = FP[pLoa] - (FP[pLwl] + FP[pOvh]);
    const double VTarget = FP[pLwl] * FP[pTc] * FP[pBwl] * Cp * FP[pCm];
    const double XTarget = StartX + (1 - LCB / 100) * FP[pLwl];
    double V = VTarget, X = XTarget, AftMiss = 0, ForwardMiss = 0;
    int Misses = 0;
    for (int Pass = 0; Pass < PassLimit; ++Pass) {
        double A5, A15;
        QuarterAreas(V, X, A5, A15);
        TSection& Aft = *FSections[5];
        TSection& Fwd = *FSections[15];
        const double C5 = A5 / (2 * Aft.SheerHalfBreadth() * (FP[pTc] - Aft.KeelZ()));
        const double C15 = A15 / (2 * Fwd.SheerHalfBreadth() * (FP[pTc] - Fwd.KeelZ()));
        SetAftQuarterCoefficient(C5);
        SetForwardQuarterCoefficient(C15);
        UpdateAll();
        AftMiss = std::abs(C5 - FAftQuarterCoefficient);
        ForwardMiss = std::abs(C15 - FForwardQuarterCoefficient);
        Misses = AftMiss >= 0.0001 || ForwardMiss >= 0.0001 ? Misses + 1 : 0;
        if (Misses >= 5) break;
        V = VTarget - (FVolume - V);
        X = XTarget - (FLcbX - X);
        if (std::abs(VTarget - FVolume) < 0.0001 && std::abs(XTarget - FLcbX) < 0.0001) break;
        if (Pass == PassLimit - 1) Misses = 5;
    }
    if (Misses >= 5) {
        const bool TuneForward = AftMiss > ForwardMiss;
        Brent(0, 1, [&](double C) {
            if (TuneForward)
                SetForwardQuarterCoefficient(C);
            else
                SetAftQuarterCoefficient(C);
            UpdateAll();
            const double DCp = Cp - FAchievedCp, DLcb = LCB / 100 - FAchievedLcb / 100;
            return DCp * DCp + DLcb * DLcb;
        });
    }
    // The typed targets stay: the caller measures the surface against them.
}

void TCorvane::BuildNet() {
    constexpr int Columns = 7, Rows = 6;
    SetSize(Columns, Rows);
    TBSpline& Profile = FProfile.Curve();
    const int Stations[5] = {0, 5, 10, 15, 19};
    for (int R = 0; R < Rows; ++R) {
        TPolyline Through;
        Through.AddPointCopy(FTransom.Curve().Point(R));
        for (int S : Stations) Through.AddPointCopy(Section(S).Curve().Point(R));
        switch (R) {
            case 0: Through.AddPointCopy(Profile.Point(9)); break;
            case 1: Through.AddPointCopy(Profile.Point(12)); break;
            case 2: Through.AddPointCopy(Profile.Point(13)); break;
            case 3: Through.AddPoint(FDiagonals[1].OriginX(), 0, FDiagonals[1].OriginZ()); break;
            case 4: Through.AddPoint(FDiagonals[2].OriginX(), 0, FDiagonals[2].OriginZ()); break;
            default: Through.AddPointCopy(Profile.Point(Profile.Count() - 1)); break;
        }
        auto Row = InterpolateBSpline(4, Through);
        for (int C = 0; C < Columns; ++C) SetPoint(C, R, *Row->Point(C));
    }
}

void TCorvane::MeetBeams() {
    constexpr int Rows = 6, Passes = 12;
    const int Columns = NumU();
    for (int Pass = 0; Pass < Passes; ++Pass) {
        // A net on the positive side of the centre plane keeps the whole skin there: the rows
        // lofted through a few sections overshoot near the ends.
        for (int K = 0; K < PointCount(); ++K)
            if (PointByIndex(K).Y < 0) PointByIndex(K).Y = 0;
        const THydrostaticsData H = SurfaceHydrostatics(*this, FP[pTc]);
        const double Beam = 2 * FineFacets(*this)->Extents().Max.Y;
        if (!(H.BWL > 0) || !(Beam > 0)) return;
        const double Waterline = FP[pBwl] / H.BWL, Greatest = FP[pBMax] / Beam;
        if (std::fabs(Waterline - 1) < 1e-5 && std::fabs(Greatest - 1) < 1e-5) return;
        // Every half-breadth follows the waterline; the sheer row then takes the greatest beam. Where
        // the topsides below the sheer are the widest, this leaves the beam a little over BMax.
        for (int C = 0; C < Columns; ++C)
            for (int R = 0; R < Rows; ++R) {
                TRPoint& P = Point(C, R);
                P.Y *= R == Rows - 1 ? Waterline * Greatest : Waterline;
            }
    }
}

void TCorvane::LiftBottom() {
    // The keel and bilge rows carry the keel heights of the sections; lofted through five of them
    // they dip below the base line between the stations (6.5 cm at the defaults, a hull deeper than
    // Tc). The least change of a row's heights that brings its lowest point onto the base line is
    // applied until none dips.
    constexpr int Passes = 20;
    const int Columns = NumU();
    for (int R = 0; R < 2; ++R)
        for (int Pass = 0; Pass < Passes; ++Pass) {
            TBSpline Row(4);
            for (int C = 0; C < Columns; ++C) Row.AddPointCopy(&Point(C, R));
            Row.UpdateKnots();
            constexpr int Samples = 400;
            double Lowest = 0, At = 0;
            for (int I = 0; I <= Samples; ++I) {
                const double T = Row.MinT() + Row.ParameterRange() * I / Samples;
                const double Z = Row.EvaluatePoint(T).Z;
                if (Z < Lowest) {
                    Lowest = Z;
                    At = T;
                }
            }
            if (Lowest > -1e-6 * FP[pTc]) break;
            Row.ComputeBasis(At);
            double Sum = 0;
            for (int C = 0; C < Columns; ++C) Sum += Row.Basis(C + 1) * Row.Basis(C + 1);
            if (!(Sum > 0)) break;
            for (int C = 0; C < Columns; ++C) Point(C, R).Z -= Lowest * Row.Basis(C + 1) / Sum;
        }
}

double TCorvane::SurfaceLCB(const THydrostaticsData& H) const {
    return (FP[pLoa] - FP[pOvh] - H.LCB) / FP[pLwl] * 100;
}

std::string TCorvane::CombinationError() const {
    for (int I = 0; I < ParameterCount; ++I) {
        const std::string Error = DomainError(I, FP[I]);
        if (!Error.empty()) return Error;
    }
    if (FP[pLwl] + FP[pOvh] > FP[pLoa])
        return "Lwl + Ovh (" + MessageNumber(FP[pLwl] + FP[pOvh]) + ") must not exceed Loa (" + MessageNumber(FP[pLoa]) + ")";
    if (FP[pBwl] > FP[pBMax])
        return "Bwl (" + MessageNumber(FP[pBwl]) + ") must not exceed BMax (" + MessageNumber(FP[pBMax]) + ")";
    return {};
}

std::string TCorvane::Refusal(const std::string& Reason) const {
    if (FLastChanged < 0) return "Unable to build the hull with these parameters: " + Reason;
    return "Unable to build the hull with " + std::string(Parameters[FLastChanged].Name) + "=" +
           MessageNumber(FP[FLastChanged]) + ": " + Reason;
}

void TCorvane::Build() {
    const std::string Combination = CombinationError();
    if (!Combination.empty()) throw EGeometryError(Combination);
    try {
        UpdateAll();
    } catch (const std::exception& E) {
        throw EGeometryError(Refusal(E.what()));
    }
    // The quarter sections are fitted to working targets that move by the surface's own miss, until
    // the surface lofted through the sections has the typed Cp and LCB.
    constexpr int Passes = 10;
    constexpr double CpTolerance = 0.002, LCBTolerance = 0.1;
    const double Cp = FP[pCp], LCB = FP[pLCB];
    double WorkingCp = Cp, WorkingLCB = LCB, SurfaceCp = 0, SurfaceLcb = 0;
    bool Met = false;
    for (int Pass = 0; Pass < Passes && !Met; ++Pass) {
        try {
            Fit(WorkingCp, WorkingLCB);
            BuildNet();
        } catch (const std::exception& E) {
            throw EGeometryError(Refusal(E.what()));
        }
        LiftBottom();
        MeetBeams();
        const THydrostaticsData H = SurfaceHydrostatics(*this, FP[pTc]);
        SurfaceCp = H.CP;
        SurfaceLcb = SurfaceLCB(H);
        Met = std::fabs(SurfaceCp - Cp) < CpTolerance && std::fabs(SurfaceLcb - LCB) < LCBTolerance;
        WorkingCp += Cp - SurfaceCp;
        WorkingLCB += LCB - SurfaceLcb;
        if (!(WorkingCp > 0 && WorkingCp < 1)) break;
    }
    // The principal dimensions of the surface itself.
    const THydrostaticsData H = SurfaceHydrostatics(*this, FP[pTc]);
    const TMBox E = FineFacets(*this)->Extents();
    struct TCheck {
        const char* Name;
        double Built, Asked;
    };
    const TCheck Checks[] = {{"Loa", E.Max.X - E.Min.X, FP[pLoa]},
                             {"Lwl", H.LWL, FP[pLwl]},
                             {"Tc", FP[pTc] - E.Min.Z, FP[pTc]},
                             {"Bwl", H.BWL, FP[pBwl]},
                             {"BMax", 2 * E.Max.Y, FP[pBMax]}};
    for (const TCheck& C : Checks)
        if (!(std::fabs(C.Built - C.Asked) <= 0.005 * C.Asked))
            throw EGeometryError(Refusal(Format("the hull's %s would be %0.3f", {std::string(C.Name), C.Built})));
    if (!Met)
        throw EGeometryError(Refusal(Format("Cp %0.3f with LCB %0.2f cannot be reached; the nearest hull has Cp "
                                            "%0.3f with LCB %0.2f",
                                            {Cp, LCB, SurfaceCp, SurfaceLcb})));
    FAchievedCp = SurfaceCp;
    FAchievedLcb = SurfaceLcb;
}

void TCorvane::Generate() {
    TBSplineSurface Net;
    Net.Assign(*this);
    try {
        Build();
    } catch (...) {
        // The last hull built comes back, parameters and net; without one, the parameters stay as
        // typed and the hull is not generated.
        TBSplineSurface::Assign(Net);
        if (FBuilt) {
            for (int I = 0; I < ParameterCount; ++I) FP[I] = FBuilt->P[I];
            FAftQuarterCoefficient = FBuilt->Aft;
            FForwardQuarterCoefficient = FBuilt->Forward;
            InvalidateAll();
            FGenerated = true;
        }
        throw;
    }
    RememberBuilt();
}

void TCorvane::RememberBuilt() {
    FBuilt.emplace();
    for (int I = 0; I < ParameterCount; ++I) FBuilt->P[I] = FP[I];
    FBuilt->Aft = FAftQuarterCoefficient;
    FBuilt->Forward = FForwardQuarterCoefficient;
}

void TCorvane::GenerateIfNeeded() {
    if (FGenerated) return;
    Generate();
    FGenerated = true;
}

void TCorvane::Assign(const TCorvane& Source) {
    // A copy holds the source's values as they are, also those a user could not enter (a file may
    // hold them): an undo must give back what was there.
    bool Enterable = true;
    for (int I = 0; I < ParameterCount && Enterable; ++I) Enterable = DomainError(I, Source.FP[I]).empty();
    if (Enterable) {
        for (int I = 0; I < ParameterCount; ++I)
            if (I != pBowCurve) SetParameter(I, Source.FP[I]);
        SetParameter(pBowCurve, Source.FP[pBowCurve]);
    } else {
        ApplyParameters(Source.FP);
    }
    SetAftQuarterCoefficient(Source.FAftQuarterCoefficient);
    SetForwardQuarterCoefficient(Source.FForwardQuarterCoefficient);
    SetMirrored(Source.FMirrored);
    TBSplineSurface::Assign(Source);
    FLastChanged = Source.FLastChanged;
    FBuilt = Source.FBuilt;
}

void TCorvane::DrawFormCurves(IGraphics& G) {
    UpdateAll();
    for (TFormCurve* C : std::initializer_list<TFormCurve*>{&FProfile, &FSheerLine, &FWaterline, &FTransom})
        C->Draw(G);
    for (auto& S : FSections) {
        S->Curve().DisplaySegments = 100;
        S->Draw(G);
    }
}

void TCorvane::DrawFormCurvesOutline(IGraphics& G) {
    for (TFormCurve* C : std::initializer_list<TFormCurve*>{&FSheerLine, &FProfile, &FWaterline, FSections[0].get(),
                                                            FSections[10].get(), &FTransom}) {
        C->Curve().DrawControlPolygon(G);
        if (FMirrored) C->MirroredCurve()->DrawControlPolygon(G);
    }
}

std::unique_ptr<TPolyline> TCorvane::GetPickPoints() {
    auto Points = std::make_unique<TPolyline>();
    for (TFormCurve* C : std::initializer_list<TFormCurve*>{&FSheerLine, &FProfile, &FWaterline})
        Points->AddCopies(C->Curve());
    for (auto& S : FSections) Points->AddCopies(S->Curve());
    Points->AddCopies(FTransom.Curve());
    for (int K = 0; K < PointCount(); ++K) Points->AddPointCopy(&PointByIndex(K));
    return Points;
}

void TCorvane::InvalidateAll() {
    FProfile.Invalidate();
    FSheerLine.Invalidate();
    FWaterline.Invalidate();
    Changed(pLoa);
    for (auto& S : FSections) ConfigureSection(*S);
    FGenerated = false;
}

void TCorvane::ApplyParameters(const double (&Values)[ParameterCount]) {
    for (int I = 0; I < ParameterCount; ++I) FP[I] = Values[I];
    FLastChanged = -1;
    InvalidateAll();
}

void TCorvane::SaveToText(TTextWriter& F) const {
    for (int I = 0; I < ParameterCount; ++I) F.WriteLine(std::string(Parameters[I].Name) + "=" + RecordNumber(FP[I]));
    TBSplineSurface::SaveToText(F);
}

void TCorvane::LoadFromText(TTextReader& F) {
    double Read[ParameterCount];
    for (double& Value : Read) Value = ParseFloat(Trim(RecordValue(F.ReadLineView())));
    TTextWriter OldSurface;
    TBSplineSurface::SaveToText(OldSurface);
    try {
        TBSplineSurface::LoadFromText(F);
    } catch (...) {
        TTextReader Back(OldSurface.Text());
        TBSplineSurface::LoadFromText(Back);
        throw;
    }
    ApplyParameters(Read);
    // A stored net is the hull these parameters built.
    FBuilt.reset();
    if (PointCount() > 0 && GetExtents().Max.X > GetExtents().Min.X) RememberBuilt();
}

void TCorvane::ImportProject(const std::filesystem::path& FileName) {
    static constexpr TParameter Order[ParameterCount] = {
        pLoa, pLwl, pBMax, pBwl, pBTransom, pTc, pOvh, pFreeBow, pFreeMid, pFreeAft,
        pBowCurve, pForeFoot, pTransomAngle, pCp, pCm, pCwp, pLcf, pLCB, pFlareAngle};
    TTextReader F = TTextReader::FromFile(FileName);
    double Read[ParameterCount];
    for (int I = 0; I < ParameterCount; ++I) Read[I] = FP[I];
    for (TParameter Index : Order) {
        if (F.Eof()) throw EConvertError("The project file ends before its " + std::string(Parameters[Index].Name) + " value");
        Read[Index] = ParseFloat(Trim(RecordValue(F.ReadLineView())));
        const std::string Error = DomainError(Index, Read[Index]);
        if (!Error.empty()) throw EGeometryError(Error);
    }
    ApplyParameters(Read);
}

}  // namespace sarnova
