// The polygon-list entity: a loose facet mesh of triangles and quadrilaterals with no connectivity,
// as surfaces, boxes and circles turn into and as imports bring in. It draws its facet edges (and
// normals on request), renders shaded, is cut by plane slicing, and combines and intersects with other
// facet lists and surfaces.
#pragma once
#include <memory>
#include <string>

#include "document/GDraggable.h"
#include "foundation/Polygon.h"

namespace sarnova {

// The name under which the GUI registers the polygon-list frame.
inline const char* const GGonFrameName = "GGonFrame";

class TGeoPGonlist : public TGeoDraggable {
public:
    // An empty facet list, undoable and renderable, facets shown and normals hidden.
    TGeoPGonlist();
    ~TGeoPGonlist() override;

    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoPGonlist>(); }
    static std::string GetKeyword() { return "TPolygonList"; }
    static int GetMenuOrder() { return 18; }
    static int GetImageIndex() { return 61; }
    // "Combine Polygon Groups" when every selected entity is a polygon list; "Intersection Between
    // Surfaces" when exactly two selected entities are surfaces or polygon lists.
    static void AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List);

    TPolygonList& Facets() { return *FFacets; }
    const TPolygonList& Facets() const { return *FFacets; }
    bool ShowNormals() const { return FFacets->ShowNormals; }
    bool ShowPolygons() const { return FShowPolygons; }

    // ---- Operations of the popup menus ----
    // Display switches only: no change bracket and no undo step.
    void ToggleShowNormals();
    void ToggleShowPolygons();
    // While editing the selected facets turn round, otherwise every facet; one change.
    void FlipNormals();
    // Each quadrilateral becomes two triangles; one change.
    void ConvertToTriangles();
    // Replaces this entity by two polygon lists, the facets on the negative side of Plane and those on
    // the positive side, as one undo step. This entity is freed: nothing may touch it afterwards.
    void Slice(const TMPlane& Plane);
    // A new polyline-list entity of the calculation sections through the facets.
    void CreateCalculationSections();
    // A new polyline-list entity of the contour lines as they are shown.
    void ExtractContours();
    // The selected polygon lists replaced by one holding all their facets, in document order.
    static void CombineSelected(TGeometryList& List);
    // The intersection lines of the first two selected surfaces or polygon lists as a new polyline
    // (one line) or polyline list (several); nothing unless exactly two are selected.
    static void IntersectSelected(TGeometryList& List);

    // ---- Overrides ----
    TDataObject GetDataObject() override { return TDataObject::Of(FFacets.get()); }
    void UpdateMenuItems(TMenuItem& Root) override;
    void AddMenuItems(TMenuItem& Root) override;
    // No points are handed out for marking outside the facet editing.
    int GetPointCount() override { return 0; }
    TRPoint* GetPoint(int) override { return nullptr; }
    std::uint8_t GetSelectionType() override { return 8; }
    // The union of the selected facets' boxes.
    TMBox GetSelectionExtents(IGraphics& View) override;
    TMBox CalculateExtents() override { return FFacets->Extents(); }
    IGeometryFrame* CreateFrame(void* Owner) override;
    void UpdateFrame() override;
    void Transform(const TMMatrix& M) override;
    void Assign(const TGeometry& Source) override;
    // Picked over its facet corners.
    double DistanceToPoint(TPoint ScreenPoint, IGraphics& View) override;
    bool InRect(const TRect& Rect, IGraphics& View) override;
    // The facets (when shown), then the contours; the extents box when neither shows.
    void Draw(IGraphics& View) override;
    void DrawOutline(IGraphics& View) override;
    void DrawSimplified(IGraphics& View) override { DrawBox(View); }
    // "[TPolygonList]", the facet lines, "Name=" and "Color=" where they apply, an empty line.
    void SaveToText(TTextWriter& Out) override;
    // The facet lines, then lines up to the first empty one: "Name" (exactly so) renames, "COLOR"
    // (any case) recolours, anything else is passed over.
    void LoadFromText(TTextReader& In) override;
    // A copy of the facets, whatever the purpose.
    std::unique_ptr<TPolygonList> CreatePolygonRepresentation(std::uint8_t Purpose) override;
    void CreateRenderer() override;
    // Facet queries get the facet list itself.
    void Query(TGeometryQuery& Query) override;
    // Selects itself when polygon lists are selected.
    void HandleMessage(TGeoMessage& Message) override;

private:
    void DrawFacets(IGraphics& View, bool InColour);
    // The facets replaced as one change, drawn again.
    void ReplaceFacets(const TPolygonList& Source);

    std::unique_ptr<TPolygonList> FFacets;
    bool FShowPolygons = true;
};

}  // namespace sarnova
