// The Coons patch entity: the surface that fills the region bounded by two to four B-spline curve
// entities of the document, held by name and followed as they change; deleting one of the curves
// deletes the patch. Also the base of the surfaces that fill a loop of curves.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "document/GeometryReference.h"
#include "entities/GSurface.h"

namespace sarnova {

class TBSpline;
class TCoonsPatch;
class TGeoBSpline;

// The name under which the GUI registers the Coons patch's property frame.
inline const char* const CoonsPatchFrameName = "CoonsPatchFrame";

// A surface filling a loop of B-spline curve entities held by name, in selection or file order.
class TGeoCurveLoopSurface : public TGeoSurface {
public:
    // Outline and parameter lines shown.
    TGeoCurveLoopSurface();
    ~TGeoCurveLoopSurface() override;

    const TGeometryReferencesList& Curves() const { return FCurves; }
    // A reference appended, with this entity's events bound.
    TGeometryReference* AddCurveName(const std::string& Name);
    TGeometryReference* AddCurve(TGeometry* Entity);
    // The B-spline curve entities the references name, in order; empty when one names none.
    std::vector<TGeoBSpline*> CurveEntities();

    // A curve was linked, unlinked or changed.
    void CurveModified();
    // A curve is being freed: the patch lets go of it and deletes itself.
    void CurveDestroyed();

    std::uint8_t GetSelectionType() override { return 4; }
    void UpdateFrame() override;
    // Kept while it names curves, though it shows nothing: a file may hold the patch before its
    // curves, which are taken up once they are read.
    void AfterListChange() override;

    // The selected B-spline curve entities in list order, when they are all that is selected.
    static std::vector<TGeoBSpline*> SelectedBSplines(TGeometryList& List);
    // Entity made to fill the selected B-spline curves (the unnamed ones named from "Curve1"), with
    // its parameter lines on, added to List.
    static void MakeFromSelection(TGeometryList& List, std::unique_ptr<TGeoCurveLoopSurface> Entity);

protected:
    // The patch drops the curve objects it holds, since one of them is going.
    virtual void ForgetCurves() = 0;
    void AssignCurves(const TGeoCurveLoopSurface& Other);
    // "NumCurves=" and one name a line.
    void SaveCurves(TTextWriter& Out) const;
    void LoadCurves(TTextReader& In);
    // Every curve entity's display refreshed: a regeneration may have moved their ends.
    void InvalidateCurves();
    // Runs Regenerate, which moves the ends of the curves Moving names, with those curve entities
    // changed within the step that caused the regeneration (the last step when no update bracket is
    // open), so that one undo puts them back with it.
    void RegenerateMovingCurves(const std::vector<TGeoBSpline*>& Entities, const std::vector<TBSpline*>& Moving,
                                const std::function<void()>& Regenerate);

    TGeometryReferencesList FCurves{this};
    // Whether a curve was not found when the patch was last recalculated.
    bool CurvesMissing = false;
    // Set while the entity changes its own curves, whose change it need not hear of.
    bool Regenerating = false;
};

class TGeoCoonsPatch : public TGeoCurveLoopSurface {
public:
    TGeoCoonsPatch();
    ~TGeoCoonsPatch() override;
    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoCoonsPatch>(); }

    static std::string GetKeyword() { return "TCoonsPatch"; }
    static int GetImageIndex() { return 71; }
    // "Coons Patch" when only B-spline curves are selected and they make a valid patch; then the
    // base's items.
    static void AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List);
    static bool CanMakePatch(TGeometryList& List);

    TCoonsPatch& Patch() const { return *FPatch; }
    // Whether the curves form a patch that was generated: otherwise the entity shows nothing.
    bool IsValid() const { return FValid; }
    std::uint8_t GetCoonsMethod() const;
    // cpBiLinear or cpBiCubic, as an undoable change.
    void SetCoonsMethod(std::uint8_t Method);

    // ---- Overrides ----
    TDataObject GetDataObject() override;
    TSurface* GetSurface() override;
    void UpdateMenuItems(TMenuItem& Root) override;
    void AddMenuItems(TMenuItem& Root) override;
    // Hands the curves to the patch when they differ from the ones it holds, and regenerates it
    // when a curve changed; the curve ends it joins are changed within the present undo step.
    void Recalculate() override;
    IGeometryFrame* CreateFrame(void* Owner) override;
    void Assign(const TGeometry& Source) override;
    void SaveToText(TTextWriter& Out) override;
    void LoadFromText(TTextReader& In) override;
    std::unique_ptr<TPolygonList> CreatePolygonRepresentation(std::uint8_t Purpose) override;
    void CreateRenderer() override;
    void UpdateRenderer() override;
    void Query(TGeometryQuery& Query) override;
    void AddToSurfaceAnalysis(TSurfaceAnalysis& Analysis) override;

protected:
    void ForgetCurves() override;

private:
    void Regenerate(const std::vector<TGeoBSpline*>& Entities);

    std::unique_ptr<TCoonsPatch> FPatch;
    bool FValid = false;
};

}  // namespace sarnova
