// The polygon-list entity: a loose facet mesh of triangles and quadrilaterals with no connectivity,
// as surfaces, boxes and circles turn into and as imports bring in. It draws its facet edges (and
// normals on request), renders shaded, is cut by plane slicing, and combines and intersects with other
// facet lists and surfaces.
#pragma once
#include <memory>
#include <string>

#include "document/GDraggable.h"
#include "entities/GGonListPoints.h"
#include "foundation/Polygon.h"

namespace sarnova {

// The name under which the GUI registers the polygon-list frame.
inline const char* const GGonFrameName = "GGonFrame";

// The property frame of a polygon list: name, colour and the grid of the shared points.
class IGGonFrame : public IGeometryFrame {
public:
    bool IsDefaultFrame() const override { return false; }
    void Refresh() override { RefreshAll(); }
    // Every field and row from the entity.
    virtual void RefreshAll() = 0;
    // The coordinates of every row, after the corners moved.
    virtual void RefreshPositions() = 0;
};

// The smallest screen distance from ScreenPoint to a corner of Facets shown through View; 1e33 for
// no corners.
double FacetCornerDistance(const TPolygonList& Facets, TPoint ScreenPoint, IGraphics& View);
// Whether a corner of Facets shows inside Rect (right and bottom edges excluded).
bool FacetCornerInRect(const TPolygonList& Facets, const TRect& Rect, IGraphics& View);

class TGeoPGonlist : public TGeoDraggable {
public:
    // An empty facet list, undoable and renderable, facets shown and normals hidden.
    TGeoPGonlist();
    const char* HintText() const override;
    ~TGeoPGonlist() override;

    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoPGonlist>(); }
    static std::string GetKeyword() { return "TPolygonList"; }
    static int GetMenuOrder() { return 18; }
    static int GetImageIndex() { return 61; }
    // "Combine Polygon Groups" when every selected entity is a polygon list; "Intersection Between
    // Surfaces" when exactly two selected entities are surfaces or polygon lists.
    static void AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List);
    // "Polygons": clicks facets into a new polygon list in the document's view.
    static void AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List);

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

    // ---- Facet editing ----
    // The corners picked by the last click; cleared whenever facets are removed or replaced.
    const TRPointList& SelectedPoints() const { return FSelectedPoints; }
    // The positions of the selected facets' corners, one per place.
    TSharedPointList& SharedPoints() { return FSharedPoints; }
    // Exactly two facets selected, and they share an edge.
    bool CanMerge() const;
    // The index of the selected facet when exactly one is selected and it is a triangle, else -1.
    int SelectedTriangle() const;
    // The two selected facets replaced by one quadrilateral at the end of the list; one change.
    void MergeSelected();
    // Each selected triangle into three about its centroid, each quadrilateral into two across its
    // shorter midline; the new facets at the end of the list; one change.
    void SplitSelected();
    // The selected facets moved into a new polygon list, as one undo step; only when some but not all
    // facets are selected.
    void MoveToNewPolygonList();
    // Starts the polygon creator on this entity in the document's view; the entity is edited again
    // when the creator ends.
    void AddPolygons();
    // Axis (0 x, 1 y, 2 z) of every corner of shared point Index becomes Value; one change.
    void SetSharedCoordinate(int Index, int Axis, double Value);
    // While editing, the corners of shared points First .. Last are selected and all others not.
    void SelectSharedPoints(int First, int Last);
    // Axis of every corner of every selected facet becomes Value; one change.
    void FillSharedCoordinate(int Axis, double Value);

    // ---- Overrides ----
    // A click on a corner of a selected facet picks every corner within 5 pixels for dragging; a
    // click elsewhere selects the facets under it (Ctrl toggles them).
    void SelectPoint(IGraphics& View, int X, int Y, TShiftState Shift, TSelectAction& Action) override;
    // Selects every facet with a corner inside the rectangle; without Ctrl the others are deselected.
    void SelectRect(IGraphics& View, const TRect& Rect, TShiftState Shift) override;
    // Ctrl+M merges, Ctrl+K splits while editing; the rest as for every draggable entity.
    void KeyDown(TKeyCode& Key, TShiftState Shift) override;
    // The unselected corners as polygon-list vertex snaps.
    void AddSnapPoints(TGeometrySnapInfo& Request) override;
    void SelectAllPoints() override;
    // One selected corner of a quadrilateral deletes that corner; otherwise, with at most one selected
    // corner per facet, the selected facets go. Nothing when a facet has more selected corners.
    void DeleteSelectedPoints() override;
    void BeginDrag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
                   const TMVector& Offset) override;
    // The picked corners move to where they were when the drag began plus Offset.
    void Drag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
              const TMVector& Offset) override;
    void EndDrag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
                 const TMVector& Offset) override;
    // With one selected triangle: a new corner on its edge nearest to the click makes it a
    // quadrilateral.
    void InsertPointClick(TPoint ScreenPoint, TShiftState Shift, IGraphics& View) override;
    void DrawInsertPointPreview(TPoint ScreenPoint, TShiftState Shift, IGraphics& View) override;
    void EraseInsertPointPreview(TPoint ScreenPoint, TShiftState Shift, IGraphics& View) override;
    // Every facet deselected (corner marks stay), no shared points.
    void DeselectAllPoints() override;

    TDataObject GetDataObject() override { return TDataObject::Of(FFacets.get()); }
    void UpdateMenuItems(TMenuItem& Root) override;
    void AddMenuItems(TMenuItem& Root) override;
    // While editing the corners picked by the last click; none otherwise.
    int GetPointCount() override { return Editing() ? FSelectedPoints.Count() : 0; }
    // Point Index is picked corner Index, described by a TCornerPointInfo.
    std::unique_ptr<TPointInfo> CreatePointInfo() override;
    void GetPointInfo(int Index, TPointInfo& Info, IGraphics* View) override;
    std::uint8_t GetSelectionType() override { return 8; }
    // The union of the selected facets' boxes.
    TMBox GetSelectionExtents(IGraphics& View) override;
    TMBox CalculateExtents() override { return FFacets->Extents(); }
    // Also lets go of the edges views keep.
    void Recalculate() override;
    void InvalidateRepresentations() override;
    IGeometryFrame* CreateFrame(void* Owner) override;
    void UpdateFrame() override;
    void Transform(const TMMatrix& M) override;
    void Assign(const TGeometry& Source) override;
    // Picked over its facet corners.
    double DistanceToPoint(TPoint ScreenPoint, IGraphics& View) override;
    bool InRect(const TRect& Rect, IGraphics& View) override;
    // The facets (when shown), then the contours; the extents box when neither shows. A view that
    // keeps lines gets every shared edge once and keeps them until the facets change.
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
    // The facet edges (and normals), kept by views that keep lines while the normals are hidden.
    void DrawFacetLines(IGraphics& View);
    // The facets replaced as one change, drawn again.
    void ReplaceFacets(const TPolygonList& Source);
    // After facets were freed, reshaped or replaced: no picked corner refers into them any more, and
    // the shared points are those of the facets now selected.
    void FacetsChanged();
    // Insert-point mode with exactly one selected triangle.
    void UpdateInsertMode();
    // The selection changed: shared points rebuilt and the frame refreshed.
    void SelectionChanged();
    void DrawInsertPreview(TPoint ScreenPoint, IGraphics& View, TColor Colour);
    IGGonFrame* GonFrame() const;

    std::unique_ptr<TPolygonList> FFacets;
    bool FShowPolygons = true;
    TRPointList FSelectedPoints;
    TSharedPointList FSharedPoints;
    // Where the picked corners were when the drag began.
    std::unique_ptr<TPolyline> FDragStart;
    // The facet edges as views keep them; renewed whenever the facets may have changed.
    TDrawingKey FEdgesKey;
};

}  // namespace sarnova
