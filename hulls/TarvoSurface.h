// The Tarvo surface: a B-spline surface lofted through a set of Tarvo curves, its definition curves.
// The curves are oriented and ordered, split into panels at panel-break curves, and tangent curves
// get a generated control curve on their far side; the net takes one column per curve. The
// parametric hull derives from it and extends the generation through the virtual steps.
#pragma once
#include <memory>
#include <vector>

#include "foundation/PolyList.h"
#include "hulls/TarvoCurve.h"
#include "surfaces/BSurface.h"

namespace sarnova {

class TTarvoPanels;

// A run of consecutive curves of the panels' curve list, both ends included.
class TTarvoPanel {
public:
    TTarvoPanel(TTarvoPanels* AOwner, TTarvoCurve* AStart, TTarvoCurve* AEnd)
        : Owner(AOwner), StartCurve(AStart), EndCurve(AEnd) {}

    TTarvoPanels* Owner;
    TTarvoCurve* StartCurve;
    TTarvoCurve* EndCurve;

    // Positions of the end curves in the owner's curve list; -1 when unset or absent.
    int StartIndex() const;
    int EndIndex() const;
    bool IsComplete() const { return StartIndex() >= 0 && EndIndex() >= 0; }
    // EndIndex - StartIndex + 1 when complete, else 0.
    int Count() const;
    // The curve at StartIndex + K of the owner's list.
    TTarvoCurve* Curve(int K) const;
    // That curve's spline, or nullptr.
    TBSpline* Spline(int K) const;
};

// The ordered curves of a surface (definition curves with the generated control curves among them)
// and the panels over them.
class TTarvoPanels {
public:
    TTarvoCurves Curves;

    int Count() const { return static_cast<int>(FPanels.size()); }
    TTarvoPanel& Items(int Index) const;
    // The spline of the curve at K of Curves, or nullptr.
    TBSpline* Spline(int K) const;
    TTarvoPanel& AddPanel(TTarvoCurve* Start, TTarvoCurve* End);
    void Clear() { FPanels.clear(); }
    // Orders the curves for lofting and splits them at the panel-break curves between the first and
    // the last; neighbouring panels share their boundary curve. Fewer than two curves give no panel.
    void Build();

private:
    std::vector<std::unique_ptr<TTarvoPanel>> FPanels;
};

// The generated partner of a tangent curve: the mirror image of its base curve through the tangent
// curve, so that the surface leaves the base curve towards the tangent curve.
class TSurfaceTangentControlCurve : public TTarvoCurve {
public:
    TSurfaceTangentControlCurve();
    ~TSurfaceTangentControlCurve() override;

    TTarvoCurve* TangentCurve() const;
    TTarvoCurve* BaseCurve() const;
    void SetTangentCurve(TNode* Node);
    void SetBaseCurve(TNode* Node);

protected:
    void Evaluate() override;

private:
    std::unique_ptr<TNodeReference> FTangentCurve;
    std::unique_ptr<TNodeReference> FBaseCurve;
};

class TTarvoSurface : public TNode {
public:
    TTarvoSurface();
    ~TTarvoSurface() override;

    TTarvoReferenceCurves& ReferenceCurves() { return *FReferenceCurves; }
    const TTarvoReferenceCurves& ReferenceCurves() const { return *FReferenceCurves; }
    TTarvoCurvesContainer& ControlCurves() { return *FControlCurves; }
    TTarvoPanels& Panels() { return *FPanels; }
    const TTarvoPanels& Panels() const { return *FPanels; }
    // The row splines of the last loft.
    TBSplineList& Blends() { return *FBlends; }
    TBSplineSurface& Surface() { return *FSurface; }
    const TBSplineSurface& Surface() const { return *FSurface; }

    // The smallest point count of the definition curves that resolve; 0 without references, the
    // largest integer when none resolves.
    int MinPointCount() const;
    TMBox Extents() const;

    // One full generation: panels, control curves, loft, post-processing. With fewer than two
    // resolved definition curves the surface is empty.
    virtual void Rebuild();
    // The resolved definition curves in reference order, then the panels over them.
    virtual void BuildPanels();
    // The control curves of the tangent curves next to a panel's end curves.
    virtual void CreateControlCurves();
    // Builds the control net from the panels.
    virtual void Loft();
    virtual void PostProcess() {}

    void Draw(IGraphics& G) override;
    // The inherited handling, then the definition list drops the reference to a deleted curve.
    void HandleMessage(TNodeMessage& Message) override;
    // "Name=", "NumCurves=" and one line per definition curve name.
    void SaveToText(TTextWriter& F) override;
    // Reads that block; nothing changes when it fails.
    void LoadFromText(TTextReader& F) override;

protected:
    void Evaluate() override { Rebuild(); }
    // Empties the net, the row splines and the panels.
    void ClearSurface();

private:
    void MakeControlCurve(TTarvoPanel& Panel, TTarvoCurve* T);

    std::unique_ptr<TTarvoReferenceCurves> FReferenceCurves;
    std::unique_ptr<TTarvoCurvesContainer> FControlCurves;
    std::unique_ptr<TTarvoPanels> FPanels;
    std::unique_ptr<TBSplineList> FBlends;
    std::unique_ptr<TBSplineSurface> FSurface;
};

}  // namespace sarnova
