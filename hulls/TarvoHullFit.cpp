// The fit of the parametric hull's fore and aft fullness to a displacement and a centre of buoyancy.
#include <algorithm>
#include <cmath>
#include <string>

#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "hulls/TarvoHull.h"

namespace sarnova {

namespace {

void Say(const std::string& Text) {
    if (GConsole) GConsole->WriteLine(Text);
}

// Clamped to 0 .. 1; a value that does not compare as at least 0 (also an undefined one) becomes 0.
double ClampFraction(double F) {
    if (!(F >= 0)) return 0;
    return F > 1 ? 1 : F;
}

}  // namespace

void TTarvoHull::SetFullness(double Fore, double Aft) {
    THullVolumeControlCurve* F = ForeVolumeControl();
    THullVolumeControlCurve* A = AftVolumeControl();
    if (F == nullptr || A == nullptr) throw EGeometryError("TarvoHull - the hull has no fore and aft volume control curves");
    F->SetFraction(Fore);
    A->SetFraction(Aft);
    F->Update();
    A->Update();
    Loft();
    PostProcess();
    CalculateHydrostatics();
    Say(Format("  Hydrostatics Iteration; F=%0.3f; A=%0.3f; Displacement: %0.3f; LCB: %0.3f",
               {Fore, Aft, FHydrostatics.Displacement, FHydrostatics.LCB}));
    // Each trial is a full loft; the window stays alive between them.
    if (GProcessMessages) GProcessMessages();
}

void TTarvoHull::FitHydrostatics(double Displacement, double LCB) {
    if (ForeVolumeControl() == nullptr || AftVolumeControl() == nullptr) {
        UpdateParameters(false);
        throw EGeometryError(
            "Unable to fit the hydrostatics: the hull needs a fore and an aft volume control curve (three "
            "panels with room for them)");
    }
    const double Fore = ForeVolumeControl()->Fraction(), Aft = AftVolumeControl()->Fraction();
    try {
        TTarvoHullHydrostaticsModel Model(*this);
        Model.Solve(Displacement, LCB);
    } catch (...) {
        // A target out of reach leaves the hull as it was, and the parameters show it so.
        try {
            SetFullness(Fore, Aft);
        } catch (...) {
        }
        UpdateParameters(false);
        throw;
    }
    UpdateParameters(false);
}

// ---- The model ----

TTarvoHullHydrostaticsModel::TTarvoHullHydrostaticsModel(TTarvoHull& AHull) : Hull(AHull) { Calibrate(); }

void TTarvoHullHydrostaticsModel::Calibrate() {
    Hull.SetFullness(0, 0);
    const double D00 = GetHydrostatics().Displacement, L00 = GetHydrostatics().LCB;
    BaseDisplacement = MinDisplacement = D00;
    BaseLCB = L00;
    Hull.SetFullness(0, 1);
    const double D01 = GetHydrostatics().Displacement, L01 = GetHydrostatics().LCB;
    AftIncrement = D01 - D00;
    AftCentroid = (L01 * D01 - D00 * L00) / AftIncrement;
    AftmostLCB = L01;
    Hull.SetFullness(1, 0);
    const double D10 = GetHydrostatics().Displacement, L10 = GetHydrostatics().LCB;
    ForeIncrement = D10 - D00;
    ForeCentroid = (L10 * D10 - D00 * L00) / ForeIncrement;
    ForemostLCB = L10;
    Hull.SetFullness(1, 1);
    MaxDisplacement = GetHydrostatics().Displacement;
    Say(" ");
    Say("Hull Hydrostatics Extreme Range:");
    Say(Format("   Displacement [%0.3f, %0.3f]", {MinDisplacement, MaxDisplacement}));
    Say(Format("   LCB          [%0.3f, %0.3f]", {AftmostLCB, ForemostLCB}));
    Say(" ");
}

void TTarvoHullHydrostaticsModel::SolveFractions(double D, double L, double& Fore, double& Aft) const {
    Fore = (D * L - BaseDisplacement * BaseLCB - (D - BaseDisplacement) * AftCentroid) /
           ((ForeCentroid - AftCentroid) * ForeIncrement);
    Aft = (D - Fore * ForeIncrement - BaseDisplacement) / AftIncrement;
}

bool TTarvoHullHydrostaticsModel::LCBRangeAt(double D, double& Aftmost, double& Foremost) const {
    // The fractions that give D lie on a line; its ends on the edges of the unit square give the
    // extreme moments, the model being linear.
    const double R = D - BaseDisplacement;
    const double Candidates[4][2] = {{0, R / AftIncrement},
                                     {1, (R - ForeIncrement) / AftIncrement},
                                     {R / ForeIncrement, 0},
                                     {(R - AftIncrement) / ForeIncrement, 1}};
    constexpr double Slack = 1e-9;
    bool Any = false;
    for (const auto& C : Candidates) {
        const double f = C[0], a = C[1];
        if (!(f >= -Slack && f <= 1 + Slack && a >= -Slack && a <= 1 + Slack) || D == 0) continue;
        const double L = (BaseDisplacement * BaseLCB + f * ForeIncrement * ForeCentroid + a * AftIncrement * AftCentroid) / D;
        if (!Any || L < Aftmost) Aftmost = L;
        if (!Any || L > Foremost) Foremost = L;
        Any = true;
    }
    return Any;
}

bool TTarvoHullHydrostaticsModel::Met() const {
    const THydrostaticsData H = GetHydrostatics();
    const double DTolerance = std::min(1.0, 0.0005 * std::fabs(TargetDisplacement));
    const double LTolerance = std::min(0.1, 0.0005 * std::fabs(H.LWL));
    return std::fabs(TargetDisplacement - H.Displacement) < DTolerance && std::fabs(TargetLCB - H.LCB) < LTolerance;
}

std::string TTarvoHullHydrostaticsModel::OutOfReach(double D, double L) const {
    std::string Text = Format("The fore and aft fullness cannot give DISP=%0.1f with LCB=%0.3f: ", {D, L});
    double Aftmost = 0, Foremost = 0;
    const double Low = std::min(MinDisplacement, MaxDisplacement), High = std::max(MinDisplacement, MaxDisplacement);
    if (D >= Low && D <= High && LCBRangeAt(D, Aftmost, Foremost))
        return Text + Format("at that displacement they reach LCB %0.3f to %0.3f", {Aftmost, Foremost});
    return Text + Format("they reach DISP %0.1f to %0.1f (LCB %0.3f to %0.3f)", {Low, High, AftmostLCB, ForemostLCB});
}

void TTarvoHullHydrostaticsModel::Solve(double D, double L) {
    TargetDisplacement = D;
    TargetLCB = L;
    const double Slack = std::min(1.0, 0.0005 * std::fabs(D));
    if (!(D >= std::min(MinDisplacement, MaxDisplacement) - Slack && D <= std::max(MinDisplacement, MaxDisplacement) + Slack))
        throw EGeometryError(OutOfReach(D, L));
    double wD = D, wL = L;
    int OutOfRange = 0;
    // Passes are capped: a hull whose response the linear model cannot follow would otherwise go
    // round for ever.
    for (int Pass = 0; Pass < MaxPasses; ++Pass) {
        double Fore = 0, Aft = 0;
        SolveFractions(wD, wL, Fore, Aft);
        const bool Inside = Fore >= 0 && Fore <= 1 && Aft >= 0 && Aft <= 1;
        OutOfRange = Inside ? 0 : OutOfRange + 1;
        Hull.SetFullness(ClampFraction(Fore), ClampFraction(Aft));
        if (Met()) return;
        if (OutOfRange == OutOfRangePasses) break;
        // Each working target moves by the error of the trial, which absorbs the non-linearity of
        // the real hull.
        const THydrostaticsData H = GetHydrostatics();
        wD = D - (H.Displacement - wD);
        wL = L - (H.LCB - wL);
    }
    throw EGeometryError(OutOfReach(D, L));
}

}  // namespace sarnova
