// The B-spline surface list entity: any number of B-spline surfaces held, drawn, rendered, analysed
// and exported as one object, such as the frozen result of a curve-network surface or a grouping of
// B-spline surface entities. It can be exploded back into single surface or mesh entities.
#pragma once
#include <memory>
#include <string>

#include "entities/GSurface.h"

namespace sarnova {

class TBSplineSurfaceList;

class TGeoBSurfList : public TGeoSurface {
public:
    // An empty list, 5 by 5 parameter lines, outline and parameter lines shown.
    TGeoBSurfList();
    ~TGeoBSurfList() override;
    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoBSurfList>(); }

    static std::string GetKeyword() { return "TBSplineSurfaceList"; }
    static int GetImageIndex() { return 60; }
    // "Create BSpline Surface List" when B-spline surface entities, and only they, are selected.
    static void AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List);
    // Replaces the selected B-spline surface entities of List by one list of copies of their surfaces,
    // in list order, in one update.
    static void CreateFromSelection(TGeometryList& List);

    TBSplineSurfaceList& Surfaces() const { return *FSurfaces; }

    // ---- Overrides ----
    TDataObject GetDataObject() override;
    void UpdateMenuItems(TMenuItem& Root) override;
    void AddMenuItems(TMenuItem& Root) override;
    TMBox CalculateExtents() override;
    void Transform(const TMMatrix& M) override;
    void Assign(const TGeometry& Source) override;
    // "[TBSplineSurfaceList]", "NumSurfaces=", the surfaces' blocks, then the display keys.
    void SaveToText(TTextWriter& Out) override;
    void LoadFromText(TTextReader& In) override;
    std::unique_ptr<TPolygonList> CreatePolygonRepresentation(std::uint8_t Purpose) override;
    void CreateRenderer() override;
    // Surface lists: the list; surfaces: each surface, unnamed; meshes: one made for each surface;
    // polygon lists: one made for the whole list.
    void Query(TGeometryQuery& Query) override;
    // Each surface's edges, or its lines at the entity's counts, its own settings left as they were.
    void AddBoundaryLines(TPolylineList& List) override;
    void AddParameterLines(TPolylineList& List) override;
    void AddToSurfaceAnalysis(TSurfaceAnalysis& Analysis) override;

    // ---- What the popup menu does ----
    // A new polyline-list entity of the calculation sections of all the surfaces together.
    void CreateCalculationSections();
    // Replace the entity by one B-spline surface entity (5 by 5 lines) for each surface.
    void Explode();
    // Replace the entity by one mesh entity of each surface sampled at its list display lines.
    void ExplodeAsMeshes();

private:
    std::unique_ptr<TBSplineSurfaceList> FSurfaces;
};

}  // namespace sarnova
