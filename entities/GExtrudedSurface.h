// The extruded surface entity: a shape curve of the document pushed along the normal of its own plane,
// or swept along a second curve, the path. Both curves are held by name, and the surface is rebuilt
// whenever either changes: a B-spline surface for two B-spline curve entities, a point mesh of the
// digitised curves otherwise. Also the base the two-curve surfaces share.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "entities/GSurface.h"

namespace sarnova {

class TBSplineSurface;
class TGeoCustomPLine;
class TGeometryReference;

// The name under which the GUI registers the extruded surface's property frame.
inline const char* const ExtrudedSurfaceFrameName = "ExtrudedSurfaceFrame";

// The property frames of the generated surfaces: refreshed from their entity.
class IGeneratedSurfaceFrame : public IGeometryFrame {
public:
    bool IsDefaultFrame() const override { return false; }
    void Refresh() override { UpdateControls(); }
    virtual void UpdateControls() = 0;
};

// A surface made from two curve entities held by name. The result is a B-spline surface or a mesh,
// or nothing while the curves allow none; subclasses build it in BuildResult.
class TGeoCurveSurface : public TGeoSurface {
public:
    // Outline and parameter lines shown.
    TGeoCurveSurface();
    ~TGeoCurveSurface() override;

    TGeometryReference& Curve1() const { return *FCurve1; }
    TGeometryReference& Curve2() const { return *FCurve2; }
    // The entity a reference names when it is a polyline-backed curve; nullptr otherwise.
    static TGeoCustomPLine* CurveOf(TGeometryReference& Reference);
    TBSplineSurface* BSplineSurface() const { return FSurface.get(); }
    TMesh* Mesh() const { return FMesh.get(); }

    // A curve was linked, unlinked or changed.
    void CurveModified();
    // A curve is being freed: the undo step keeps the link.
    void CurveDestroyed();

    // ---- Overrides ----
    TDataObject GetDataObject() override;
    TSurface* GetSurface() override;
    void UpdateMenuItems(TMenuItem& Root) override;
    // "Generate Polygon Mesh", the two conversions, "Extract Contours" and the display switches.
    void AddMenuItems(TMenuItem& Root) override;
    std::uint8_t GetSelectionType() override { return 4; }
    // Kept while it names a curve, though it shows nothing yet: a file may hold the surface before
    // the curves it names.
    void AfterListChange() override;
    // The result rebuilt, then the renderer.
    void Recalculate() override;
    std::unique_ptr<TPolygonList> CreatePolygonRepresentation(std::uint8_t Purpose) override;
    void UpdateFrame() override;
    void CreateRenderer() override;
    void UpdateRenderer() override;
    // A B-spline result answers surfaces, B-spline surfaces, meshes and polygon lists; a mesh
    // answers meshes and polygon lists.
    void Query(TGeometryQuery& Query) override;
    // A mesh's four edges; a B-spline surface's 2 by 2 lines.
    void AddBoundaryLines(TPolylineList& List) override;

    // The unnamed ones of First and Second named from "Curve1" in List; true when both are curves
    // that may be linked. Used by the selection items, which take the first two selected curves.
    static bool NameSelectedCurves(TGeometryList& List, TGeoCustomPLine*& First, TGeoCustomPLine*& Second);
    // Whether exactly two entities are selected and both are polyline-backed curves.
    static bool TwoCurvesSelected(TGeometryList& List);

protected:
    // Builds FSurface or FMesh from the curves (both are empty on entry).
    virtual void BuildResult() = 0;
    // Facets of a mesh result; the purpose's sampling by default.
    virtual std::unique_ptr<TPolygonList> MeshPolygons(TMesh& Net, std::uint8_t Purpose);

    // Whether a named curve was not found when the result was last built.
    bool MissingCurves();

    bool CurvesMissing = false;
    std::unique_ptr<TGeometryReference> FCurve1;
    std::unique_ptr<TGeometryReference> FCurve2;
    std::unique_ptr<TBSplineSurface> FSurface;
    std::unique_ptr<TMesh> FMesh;
};

// The text after the first "=" of a line read by position, at most 255 characters; empty without one.
std::string PositionalValue(const std::string& Line);

// How a swept shape follows its path.
using TExtrusionOptions = std::uint8_t;
inline constexpr TExtrusionOptions AllExtrusionOptions = 15;

// "[eoRotateWithPath, eoOrientWithPath, eoCentreWithPath, eoScaleShape]" for all options, "[]" for none.
std::string ExtrusionOptionsToText(TExtrusionOptions Options);
// Each option whose name occurs in Text, spelled as written.
TExtrusionOptions TextToExtrusionOptions(const std::string& Text);

class TGeoExtrudedSurface : public TGeoCurveSurface {
public:
    // No curves, all options, one division from 0.0 to 10.0.
    TGeoExtrudedSurface();
    ~TGeoExtrudedSurface() override;
    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoExtrudedSurface>(); }

    static std::string GetKeyword() { return "TExtrudedSurface"; }
    static int GetImageIndex() { return 69; }
    // "Extrude Surface" when exactly two curves and nothing else are selected; then the base's items.
    static void AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List);
    // A surface swept from the first selected curve along the second, added to List.
    static void ExtrudeSelectedCurves(TGeometryList& List);

    // The shape is Curve1, the path Curve2.
    TGeometryReference& Shape() const { return *FCurve1; }
    TGeometryReference& Path() const { return *FCurve2; }
    TExtrusionOptions GetOptions() const { return Options; }
    int GetDivisions() const { return Divisions; }
    double GetMinExtrusion() const { return MinExtrusion; }
    double GetMaxExtrusion() const { return MaxExtrusion; }
    // Each an undoable change when the value differs.
    void SetOptions(TExtrusionOptions Value);
    void SetDivisions(int Value);
    void SetMinExtrusion(double Value);
    void SetMaxExtrusion(double Value);
    // The path becomes the shape and the shape the path; nothing without a path.
    void SwapCurves();

    // ---- Overrides ----
    IGeometryFrame* CreateFrame(void* Owner) override;
    void Assign(const TGeometry& Source) override;
    // "[TExtrudedSurface]", the six positional lines, then the display keys.
    void SaveToText(TTextWriter& Out) override;
    void LoadFromText(TTextReader& In) override;

protected:
    void BuildResult() override;

private:
    TExtrusionOptions Options = AllExtrusionOptions;
    int Divisions = 1;
    double MinExtrusion = 0.0;
    double MaxExtrusion = 10.0;
};

// A linear extrusion of Curve, which is first named "Curve1" (or the next free name) when unnamed.
// The caller adds the surface to the curve's list.
std::unique_ptr<TGeoExtrudedSurface> CreateExtrudedSurfaceFromCurve(TGeoCustomPLine& Curve);

}  // namespace sarnova
