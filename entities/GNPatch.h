// The N-sided patch entity: a closed loop of any number of B-spline curve entities of the document,
// held by name, filled by one of the kernel's N-sided patch techniques. It draws the patch's own
// parameter lines; it has no shading and answers no geometry query.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "entities/GCoonsPatch.h"

namespace sarnova {

class TNPatch;

// The name under which the GUI registers the N-sided patch's property frame.
inline const char* const NPatchFrameName = "NPatchFrame";

using TNPatchTechnique = std::uint8_t;
enum : TNPatchTechnique { ptGregory = 0, ptWeightedG0 = 1, ptWeightedG1 = 2, ptSubdivision = 3 };

// "ptGregory", "ptWeightedG0", "ptWeightedG1" or "ptSubdivision".
std::string PatchTypeToText(TNPatchTechnique Technique);
// The first of those names found in the upper-cased text, in that order; ptGregory when none.
TNPatchTechnique TextToPatchType(const std::string& Text);
// "Gregory N-Sided", "G0 Weighted Least-Squares", "G1 Weighted Least-Squares", "Subdivision (Brennick)".
std::string PatchTypeCaption(TNPatchTechnique Technique);

class TGeoNPatch : public TGeoCurveLoopSurface {
public:
    // A Gregory patch; outline and parameter lines on.
    TGeoNPatch();
    ~TGeoNPatch() override;
    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoNPatch>(); }

    static std::string GetKeyword() { return "TN-SidedPatch"; }
    static int GetImageIndex() { return 71; }
    // "N-Sided Patch" when only B-spline curves are selected and they close a loop; then the base's
    // items.
    static void AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List);
    static bool CanMakePatch(TGeometryList& List);

    TNPatchTechnique GetPatchType() const { return Technique; }
    // A new patch object of the technique, rebuilt at the next Recalculate. Subdivision is kept as a
    // choice but makes no patch: the entity then shows nothing.
    void SetPatchType(TNPatchTechnique Value);
    // What the frame does: SetPatchType as an undoable change, redrawn.
    void ChoosePatchType(TNPatchTechnique Value);
    // The patch object; nullptr for subdivision.
    TNPatch* Patch() const { return FPatch.get(); }
    // Whether the curves close a loop that the patch was built over.
    bool IsValid() const { return FValid; }

    // ---- Overrides ----
    TDataObject GetDataObject() override;
    void UpdateMenuItems(TMenuItem& Root) override;
    void AddMenuItems(TMenuItem& Root) override;
    void Recalculate() override;
    IGeometryFrame* CreateFrame(void* Owner) override;
    void Assign(const TGeometry& Source) override;
    void SaveToText(TTextWriter& Out) override;
    void LoadFromText(TTextReader& In) override;
    std::unique_ptr<TPolygonList> CreatePolygonRepresentation(std::uint8_t Purpose) override;
    void CreateRenderer() override {}
    void Query(TGeometryQuery&) override {}
    // The patch's lines at NumULine samples a sector side.
    void AddParameterLines(TPolylineList& List) override;

protected:
    void ForgetCurves() override;

private:
    TNPatchTechnique Technique = ptGregory;
    std::unique_ptr<TNPatch> FPatch;
    bool FValid = false;
};

}  // namespace sarnova
