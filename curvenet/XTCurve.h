// The curve of the curve network: points shaped by constraints into spans of B-splines and cubic
// splines, rebuilt lazily when next used after a change, with the free points following moved ones
// elastically, and telling what rests on it when its spans were rebuilt.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "curvenet/XTConstraints.h"
#include "curvenet/XTSegments.h"
#include "curvenet/XTSnapQuery.h"

namespace sarnova {

class TBSpline;
class TCurveAnalysis;

// Curve options, a set of bits.
inline constexpr std::uint8_t coFitChordLength = 1;   // cubic spans scale their tangents by chord length
inline constexpr std::uint8_t coSurfaceBoundary = 2;  // the curve bounds the network's faces

// "[coFitChordLength,coSurfaceBoundary]" and its parts; "[]" for none.
std::string CurveOptionsToText(std::uint8_t Options);
// "None", "Knuckle", "X", "Y", "Z", "NormalToCurve", "TangentialToCurve".
std::string RibbonKindToText(std::uint8_t Kind);

// Dirty levels.
inline constexpr std::uint8_t dlUpToDate = 0;
inline constexpr std::uint8_t dlGeometry = 1;  // refit the spans as they are
inline constexpr std::uint8_t dlSpans = 2;     // rebuild the spans and reparameterise

class TXTCurve : public TXTCurveRepresentation {
public:
    TXTCurve();
    ~TXTCurve() override;

    // Set by the interactive creator, whose working curve never adjusts elastically.
    bool ElasticDisabled = false;
    // Called at the end of every rebuild.
    std::function<void(TXTCurve*)> OnRegenerated;

    TXTConstraints& Constraints() { return FConstraints; }
    const TXTConstraints& Constraints() const { return FConstraints; }
    TXTSegments& Segments() { return FSegments; }
    const TXTSegments& Segments() const { return FSegments; }
    std::uint8_t DirtyLevel() const { return FDirtyLevel; }
    std::uint8_t Options() const { return FOptions; }
    void SetOptions(std::uint8_t Options);

    // Raises the dirty level to Level (never lowers it), then tells the dependents and OnChange.
    void MarkDirty(std::uint8_t Level);
    // 0 when elastic editing is disabled for this curve, else the program's setting.
    std::uint8_t ElasticMode() const;

    void HandleMessage(TXTMessage& Message) override;
    void Regenerate() override;
    bool IsUpToDate() const override { return FDirtyLevel == dlUpToDate; }
    void Changed() override;
    void Draw(IGraphics& G) override;
    void ResolveReferences() override;
    void CheckReferences() override;
    void ValidateReferences() override;
    void SetRibbonKind(std::uint8_t Kind) override;
    // The curve's block: name, options, ribbon kind, constraint records, then one line per point
    // (a point resting on another curve names it). Reading goes into a curve without points; the
    // curves named are attached when first used.
    void LoadFromText(TTextReader& F) override;
    void SaveToText(TTextWriter& F) override;
    void PointInserted(int Index, TXTPoint* Point) override;
    void PointRemoved(int Index, TXTPoint* Point) override;
    // An address at the very end of its span (within 1e-8) becomes the start of the next one.
    void NormaliseAddress(TBeadAddress& Address) override;
    void DetachPoint(int Index) override;
    // Regenerates first when stale. The invalid address for a point in no span.
    void AddressOfPoint(int Index, TBeadAddress& Address) override;
    // Throw EError "TXTCurve.F(ABeadAddress) - SegmentIndex out of bounds [<name>;<span>:<T>]"
    // (".Frenet" for Frenet) for an address outside the curve; the far end {spans, 0.0} is the end.
    void F(const TBeadAddress& Address, TMVector& Position) override;
    void Frenet(const TBeadAddress& Address, TFrenetFrame& Frame) override;
    void RibbonAt(const TBeadAddress& Address, TXTRibbonTangent& Ribbon) override;

    bool AddressInRange(const TBeadAddress& Address) const;
    void ReversePoints();
    // Takes Other's points, options and constraints. The spans are rebuilt from them as Other had them,
    // so points resting on this curve keep their addresses (an undo step gives them back theirs)
    // instead of sliding to the places nearest to where they stood.
    void Assign(const TXTCurve& Other);
    void Transform(const TMMatrix& M);
    // The control polygons of the B-spline spans.
    void DrawSegments(IGraphics& G);
    // Across the ribbon, lines of half length S along each span.
    void DrawRibbon(IGraphics& G, double S);
    // All spans joined into one B-spline.
    void ToBSpline(TBSpline& Result);
    // The curvature comb of the joined B-spline.
    void AddToCurveAnalysis(TCurveAnalysis& Analysis);
    // The part of the curve from From to To (From first). Throws EError for an address outside the
    // curve.
    std::unique_ptr<TXTBSpline> SubCurve(const TBeadAddress& From, const TBeadAddress& To);

    // Applies what the snap query found for the dragged point: snapping onto a place of another curve
    // makes it a bead there, onto a vertex a reference to that vertex; a detach replaces it by a plain
    // point at the answer's position; staying changes nothing.
    void ApplySnap(const TXTSnapTarget& Snap);

    // What Regenerate runs once the inputs are up to date; nothing at dirty level 0.
    void Rebuild();

private:
    void ElasticAdjust();
    void TangentPass();
    void EnsureRegenerated();
    void CheckAddress(const TBeadAddress& Address, const char* Where);

    TXTConstraints FConstraints;
    TXTSegments FSegments;
    std::uint8_t FDirtyLevel = dlUpToDate;
    std::uint8_t FOptions = 0;
    bool FRebuilding = false;
    // The spans are due to be rebuilt after an Assign, which does not reparameterise.
    bool FAssigned = false;
};

}  // namespace sarnova
