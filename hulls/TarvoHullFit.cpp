// The fit of the parametric hull's fore and aft fullness to a displacement and a centre of buoyancy.
#include <cmath>
#include <string>

#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/VkMathsSolvers.h"
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
    try {
        if (ForeVolumeControl() == nullptr || AftVolumeControl() == nullptr)
            throw EGeometryError(
                "Unable to fit the hydrostatics: the hull needs a fore and an aft volume control curve (three "
                "panels with room for them)");
        TTarvoHullHydrostaticsModel Model(*this);
        Model.Solve(Displacement, LCB);
    } catch (...) {
        // The parameters show the hull as it is: the fractions of the last trial, and not a target
        // that was typed but not reached.
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

double TTarvoHullHydrostaticsModel::Error() const {
    const THydrostaticsData H = GetHydrostatics();
    const double dD = TargetDisplacement - H.Displacement;
    const double dL = 100 * TargetLCB - 100 * H.LCB;
    return dD * dD + dL * dL;
}

double TTarvoHullHydrostaticsModel::ErrorForAft(double Aft) {
    Hull.SetFullness(Hull.ForeVolumeControl()->Fraction(), Aft);
    return Error();
}

double TTarvoHullHydrostaticsModel::ErrorForFore(double Fore) {
    Hull.SetFullness(Fore, Hull.AftVolumeControl()->Fraction());
    return Error();
}

void TTarvoHullHydrostaticsModel::Solve(double D, double L) {
    TargetDisplacement = D;
    TargetLCB = L;
    double wD = D, wL = L;
    int OutOfRange = 0;
    double Fore = 0, Aft = 0, f = 0, a = 0;
    bool Converged = false;
    // Passes are capped: a hull whose response the linear model cannot follow would otherwise
    // go round for ever without leaving the range.
    for (int Pass = 0; Pass < MaxPasses; ++Pass) {
        SolveFractions(wD, wL, Fore, Aft);
        const bool Inside = Fore >= 0 && Fore <= 1 && Aft >= 0 && Aft <= 1;
        OutOfRange = Inside ? 0 : OutOfRange + 1;
        f = ClampFraction(Fore);
        a = ClampFraction(Aft);
        Hull.SetFullness(f, a);
        const THydrostaticsData H = GetHydrostatics();
        wD = D - (H.Displacement - wD);
        wL = L - (H.LCB - wL);
        if (OutOfRange == 5) break;
        if (std::fabs(D - H.Displacement) < 1 && std::fabs(L - H.LCB) < 0.1) {
            Converged = true;
            break;
        }
    }
    if (Converged) return;
    Say(" ");
    Say("Hydrostatics Outside of Range - Searching for closest match...");
    Say(" ");
    // The fraction that was clamped less is searched; the other stays where it was clamped. A
    // comparison with an undefined difference searches the aft one.
    if (std::fabs(a - Aft) > std::fabs(f - Fore))
        Brent(0, 1, [this](double X) { return ErrorForFore(X); });
    else
        Brent(0, 1, [this](double X) { return ErrorForAft(X); });
}

}  // namespace sarnova
