// The yacht generator: its parameters, the chains that keep the form curves current, the fit to the
// hydrostatic targets and the lofted net.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "foundation/BSplineInterpolate.h"
#include "foundation/TextUtils.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/TextFile.h"
#include "hulls/Halvorn.h"
#include "foundation/VkMathsSolvers.h"
#include "hulls/Corvane.h"

namespace sarnova {

namespace {

struct TParameterInfo {
    const char* Name;
    double Default;
};

constexpr TParameterInfo Parameters[TCorvane::ParameterCount] = {
    {"Loa", 12},      {"Lwl", 10},     {"Ovh", 0.9},    {"BMax", 3.25},     {"Bwl", 3.17},
    {"BTransom", 2},  {"Tc", 0.57},    {"Cp", 0.57},    {"Cm", 0.752},      {"LCB", 53},
    {"Cwp", 0.73},    {"Lcf", 55},     {"FreeBow", 1.5}, {"FreeMid", 1.35}, {"FreeAft", 1.3},
    {"BowCurve", 0},  {"ForeFoot", 0.2}, {"TransomAngle", 30}, {"FlareAngle", 0}};

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

void TCorvane::SetParameter(int Index, double Value) {
    CheckIndex(Index);
    if (FP[Index] == Value) return;
    FP[Index] = Value;
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
    // 1. Breadth limits.
    if (FP[pBwl] > FP[pLwl] / 1.25) SetParameter(pBwl, FP[pLwl] / 1.25);
    if (FP[pFreeAft] / 2 > FP[pBTransom])
        SetParameter(pBTransom, FP[pFreeAft] / 2);
    else if (FP[pBTransom] > FP[pBwl])
        SetParameter(pBTransom, FP[pBwl]);
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

void TCorvane::Fit() {
    constexpr int PassLimit = 50;
    const double StartX = FP[pLoa] - (FP[pLwl] + FP[pOvh]);
    const double VTarget = FP[pLwl] * FP[pTc] * FP[pBwl] * FP[pCp] * FP[pCm];
    const double XTarget = StartX + (1 - FP[pLCB] / 100) * FP[pLwl];
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
            const double DCp = FP[pCp] - FAchievedCp, DLcb = FP[pLCB] / 100 - FAchievedLcb / 100;
            return DCp * DCp + DLcb * DLcb;
        });
    }
    FP[pLCB] = FAchievedLcb;
    FP[pCp] = FAchievedCp;
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

void TCorvane::Generate() {
    UpdateAll();
    Fit();
    BuildNet();
}

void TCorvane::GenerateIfNeeded() {
    if (FGenerated) return;
    Generate();
    FGenerated = true;
}

void TCorvane::Assign(const TCorvane& Source) {
    for (int I = 0; I < ParameterCount; ++I)
        if (I != pBowCurve) SetParameter(I, Source.FP[I]);
    SetParameter(pBowCurve, Source.FP[pBowCurve]);
    SetAftQuarterCoefficient(Source.FAftQuarterCoefficient);
    SetForwardQuarterCoefficient(Source.FForwardQuarterCoefficient);
    SetMirrored(Source.FMirrored);
    TBSplineSurface::Assign(Source);
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
    }
    ApplyParameters(Read);
}

}  // namespace sarnova
