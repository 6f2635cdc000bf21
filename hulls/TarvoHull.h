// The parametric hull: a lofted Tarvo surface of transverse sections (keel first, deck edge last)
// with named parameters in naval-architecture terms that follow the geometry after each rebuild and
// drive it when edited, generated flat-tangent and volume control curves, the hydrostatics of the
// underwater body at the design draught, the fit of the fore and aft fullness to a displacement and
// centre of buoyancy, and an optional grafted bulbous bow.
#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "hulls/SurfaceHydrostatics.h"
#include "hulls/TarvoBulb.h"
#include "hulls/TarvoSurface.h"
#include "naval/VkHydro.h"

namespace sarnova {

class TFTParameters;
class TPolygonList;
class TTarvoHull;

// One named value of a hull.
class TFTParameter {
public:
    explicit TFTParameter(std::string AName) : Name(std::move(AName)) {}

    std::string Name;
    std::string Description;
    TFTParameters* Owner = nullptr;

    double GetValue() const { return FValue; }
    // Nothing when V equals the value exactly; otherwise stores it and tells the owner.
    void SetValue(double V);
    // Stores V without telling anyone: for a parameter that has not joined a list yet.
    void StoreValue(double V) { FValue = V; }

private:
    double FValue = 0;
};

// The ordered parameters of a hull. Names need not be unique: every lookup takes the first whose
// name matches without regard to case.
class TFTParameters {
public:
    explicit TFTParameters(TTarvoHull* AHull = nullptr) : FHull(AHull) {}
    TFTParameters(const TFTParameters&) = delete;
    TFTParameters& operator=(const TFTParameters&) = delete;

    int Count() const { return static_cast<int>(FItems.size()); }
    // The list index error outside 0 .. Count - 1.
    TFTParameter& Items(int Index) const;
    // The value of the first parameter of that name; a missing one is appended first, with value 0.
    double GetValue(const std::string& Name);
    void SetValue(const std::string& Name, double V);
    void SetValueAt(int Index, double V);
    // Passes a change on to the hull's ParameterChanged.
    void Changed(const std::string& Name, double NewValue, double OldValue);
    TFTParameter& Add(const std::string& Name);
    TFTParameter& AddParameter(std::unique_ptr<TFTParameter> P);
    void Remove(const std::string& Name);
    void Delete(int Index);
    void Clear() { FItems.clear(); }
    int IndexOf(const std::string& Name) const;
    bool Exists(const std::string& Name) const { return IndexOf(Name) >= 0; }

    // "NumParameters=" and the count, then "%s=%g;%s" per parameter (name, value, description).
    void SaveToText(TTextWriter& F) const;
    // Appends the parameters of that block. A first line without "NumParameters=" ends the block
    // (it is consumed). The whole block is read before anything is appended, so a bad line changes
    // nothing: a count that is not an integer or is negative, a value that is not a number, or a
    // block that ends early throws.
    void LoadFromText(TTextReader& F);

private:
    TTarvoHull* FHull;
    std::vector<std::unique_ptr<TFTParameter>> FItems;
};

// A generated curve that carries the flat of the parallel middle body a percentage of the way from a
// boundary curve of that body towards the far end curve of the neighbouring panel. Like every node
// it learns of a deleted curve through its references, which let go of it.
class THullFlatTangentControlCurve : public TTarvoCurve {
public:
    THullFlatTangentControlCurve();
    ~THullFlatTangentControlCurve() override;

    // The curve the boundary curve is an offset copy of.
    TTarvoCurve* ParentCurve() const;
    TTarvoCurve* BoundaryCurve() const;
    TTarvoCurve* EndCurve() const;
    // Each attaches and invalidates.
    void SetParentCurve(TNode* Node);
    void SetBoundaryCurve(TNode* Node);
    void SetEndCurve(TNode* Node);
    double Percent() const { return FPercent; }
    // Stores and invalidates, also when unchanged.
    void SetPercent(double P);

protected:
    void Evaluate() override;

private:
    std::unique_ptr<TNodeReference> FParentCurve;
    std::unique_ptr<TNodeReference> FBoundaryCurve;
    std::unique_ptr<TNodeReference> FEndCurve;
    double FPercent = 0;
};

// A generated curve between two sections whose shape sets the fullness of its body.
class THullVolumeControlCurve : public TTarvoCurve {
public:
    THullVolumeControlCurve();
    ~THullVolumeControlCurve() override;

    TTarvoCurve* CurveA() const;
    TTarvoCurve* CurveB() const;
    // Attach and invalidate only when the node differs.
    void SetCurveA(TNode* Node);
    void SetCurveB(TNode* Node);
    double Fraction() const { return FFraction; }
    // Stores and invalidates only when F differs.
    void SetFraction(double F);

protected:
    void Evaluate() override;

private:
    std::unique_ptr<TNodeReference> FCurveA;
    std::unique_ptr<TNodeReference> FCurveB;
    double FFraction = 0;
};

class TTarvoHull : public TTarvoSurface {
public:
    TTarvoHull();
    ~TTarvoHull() override;

    TFTParameters& Parameters() { return *FParameters; }
    TTarvoBulb& Bulb() { return *FBulb; }
    bool ApplyBulb() const { return FApplyBulb; }
    // Invalidates when it changes.
    void SetApplyBulb(bool B);
    const THydrostaticsData& Hydrostatics() const { return FHydrostatics; }
    // The curve lines of an old-layout block, kept until the next rebuild.
    bool HasPendingContinuity() const { return FPendingContinuity.has_value(); }

    // ---- The layout ----
    // Exactly three panels: fore body, parallel middle body, aft body.
    bool IsStandardLayout() const;
    TTarvoCurve* ForeBoundary() const;
    TTarvoCurve* AftBoundary() const;
    // The middle curve of the parallel middle body when it holds exactly three; nullptr otherwise.
    TTarvoCurve* MidshipCurve() const;
    THullFlatTangentControlCurve* ForeFlatTangentControl() const;
    THullFlatTangentControlCurve* AftFlatTangentControl() const;
    THullVolumeControlCurve* ForeVolumeControl() const;
    THullVolumeControlCurve* AftVolumeControl() const;
    // The neighbour (the one before, then the one after) that depends directly on a tangent curve;
    // nullptr for any other curve.
    TTarvoCurve* TangentDependentCurve(TTarvoCurve* C) const;

    // ---- Parameters ----
    // Rewrites the parameters from the geometry (and from new hydrostatics when asked). Nothing while
    // it runs already, or while the hull has fewer than two curves. On the first rebuild after
    // reading, only the figures the document lacks are written.
    void UpdateParameters(bool WithHydrostatics);
    // The geometry follows an edited parameter. Ignored unless the hull is valid and the parameters
    // are not being rewritten.
    void ParameterChanged(const std::string& Name, double NewValue, double OldValue);
    // "Draught" = 0.4 x the height of the surface.
    void SetDefaultDraught();

    // ---- Hydrostatics ----
    // The underwater body at "Draught": the surface and the filled stern, clipped below the
    // waterplane; empty when the surface has no net.
    // Density is the number of facets per control-point span in each direction.
    std::unique_ptr<TPolygonList> CreateUnderwaterMesh(int Density = HydrostaticsDensity);
    void CalculateHydrostatics();
    // One trial of the fit: the fractions of the two volume controls, a new loft, the bulb graft and
    // new hydrostatics; one console line.
    void SetFullness(double Fore, double Aft);
    // Fits the fore and aft fullness to the displacement and LCB, then rewrites the parameters (also
    // when the fit fails). A hull without both volume control curves throws before any trial.
    void FitHydrostatics(double Displacement, double LCB);

    // ---- Generation ----
    void Rebuild() override;
    void CreateControlCurves() override;
    void PostProcess() override;

    // "Version=TarvoHull2S", the surface block, the parameter block, "ApplyBulb=" and the bulb.
    void SaveToText(TTextWriter& F) override;
    // That block, or the old layout. The block is read whole before the hull changes.
    void LoadFromText(TTextReader& F) override;

private:
    void ApplyPendingContinuity();
    void CreateFlatTangentControls();
    void AddFlatTangentControl(TTarvoCurve* Boundary, TTarvoCurve* Parent, TTarvoCurve* End);
    void CreateVolumeControls();
    void AddVolumeControl(TTarvoCurve* First, TTarvoCurve* Second, int K);
    void ApplyControlParameters();
    std::vector<TTarvoCurve*> DefinitionCurves() const;
    // The panel of that index when the layout is standard.
    TTarvoPanel* StandardPanel(int Index) const;

    void ShiftParallelBody(double X);
    void ScaleLength(double S);
    void ChangeLBP(double Delta, double New, double Old);
    void ChangeBWL(double New, double Old);
    void ChangeDepth(double New, double Old);
    void ChangePMBF(double New, double Old);
    void ChangePMBA(double New, double Old);
    void ChangePMB(double Delta);
    void ChangePDF(double New, double Old);
    void ChangePDA(double New, double Old);
    void ChangePD(double New);
    void LoadOldLayout(TTextReader& F, const std::string& FirstLine);

    std::optional<std::vector<std::string>> FPendingContinuity;
    std::unique_ptr<TFTParameters> FParameters;
    THydrostaticsData FHydrostatics;
    std::unique_ptr<TTarvoBulb> FBulb;
    bool FApplyBulb = false;
    bool FUpdatingParameters = false;
    // Set by reading a block: the first rebuild computes the hydrostatics but keeps the figures the
    // block holds.
    bool FKeepStoredFigures = false;
};

// The fit of a hull's fore and aft fullness: displacement and moment sampled at the four corners of
// the two fractions, modelled as linear in them, solved, and the targets corrected by the error of
// each trial until the hull's own hydrostatics meet them. A target the fractions cannot reach is
// refused with the range they reach, and the hull goes back to the fractions it had.
class TTarvoHullHydrostaticsModel {
public:
    // Passes of the correction loop before the target counts as out of reach.
    static constexpr int MaxPasses = 50;
    // Consecutive passes whose linear solution lies outside 0..1 before the target counts as out of
    // reach.
    static constexpr int OutOfRangePasses = 5;

    // Calibrates: four trials.
    explicit TTarvoHullHydrostaticsModel(TTarvoHull& AHull);

    TTarvoHull& Hull;
    double MinDisplacement = 0;
    double MaxDisplacement = 0;
    double AftmostLCB = 0;
    double ForemostLCB = 0;
    double ForeIncrement = 0;
    double BaseDisplacement = 0;
    double AftIncrement = 0;
    double ForeCentroid = 0;
    double BaseLCB = 0;
    double AftCentroid = 0;
    double TargetDisplacement = 0;
    double TargetLCB = 0;

    THydrostaticsData GetHydrostatics() const { return Hull.Hydrostatics(); }
    void Calibrate();
    // The fractions of the linear model for D and L; infinite or undefined when a fraction changes
    // nothing.
    void SolveFractions(double D, double L, double& Fore, double& Aft) const;
    // The LCB range the linear model reaches at displacement D (fractions within 0..1); false when
    // D itself is out of reach.
    bool LCBRangeAt(double D, double& Aftmost, double& Foremost) const;
    // Whether the hull's hydrostatics meet the targets: displacement within 0.05 % (and 1 t), LCB
    // within 0.05 % of the waterline length (and 0.1 m).
    bool Met() const;
    // Runs the correction loop; throws EGeometryError naming the reachable range when the targets
    // are out of reach.
    void Solve(double D, double L);
    // The refusal for targets out of reach.
    std::string OutOfReach(double D, double L) const;
};

}  // namespace sarnova
