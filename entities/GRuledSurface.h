// The ruled surface entity: straight lines spanned between two curve entities of the document, held
// by name. Two B-spline curve entities give an exact ruled B-spline surface; other curves are
// digitised and give a point mesh.
#pragma once
#include <string>

#include "entities/GExtrudedSurface.h"

namespace sarnova {

// The name under which the GUI registers the ruled surface's property frame.
inline const char* const RuledSurfaceFrameName = "RuledSurfaceFrame";

// The turn (10 degrees) above which a corner of a resampled polyline stays at a mesh line.
inline constexpr double RuledKnuckleAngle = 0.17453292519943295;

class TGeoRuledSurface : public TGeoCurveSurface {
public:
    TGeoRuledSurface();
    ~TGeoRuledSurface() override;
    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoRuledSurface>(); }

    static std::string GetKeyword() { return "TRuledSurface"; }
    static int GetImageIndex() { return 70; }
    // "Ruled Surface" when exactly two curves and nothing else are selected; then the base's items.
    static void AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List);
    // A surface between the first two selected curves, added to List.
    static void RuleSelectedCurves(TGeometryList& List);

    // ---- Overrides ----
    IGeometryFrame* CreateFrame(void* Owner) override;
    void Assign(const TGeometry& Source) override;
    // "[TRuledSurface]", "Curve1=", "Curve2=", then the display keys.
    void SaveToText(TTextWriter& Out) override;
    void LoadFromText(TTextReader& In) override;

protected:
    void BuildResult() override;
    // Two triangles per mesh cell, whatever the purpose.
    std::unique_ptr<TPolygonList> MeshPolygons(TMesh& Net, std::uint8_t Purpose) override;
};

}  // namespace sarnova
