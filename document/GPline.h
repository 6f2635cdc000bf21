// The polyline entity: an ordered list of 3-D points joined by straight segments, open or closed, the
// most common curve of a document. Its block keyword and macro command, its popup menu of polyline
// operations (break, slice, vertex spacing, conversions), the operations on several selected
// polylines (weld, bridge, break where they cross) and the creator that draws one with the mouse.
#pragma once
#include <memory>
#include <string>

#include "document/GCreator.h"
#include "document/GCustomPline.h"
#include "document/PolylineDialogs.h"
#include "foundation/Polyline.h"

namespace sarnova {

class TGeoPline : public TGeoCustomPLine {
public:
    // An empty polyline, undoable and clonable.
    TGeoPline();
    ~TGeoPline() override;

    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoPline>(); }
    static std::string GetKeyword() { return "TPolyline"; }
    static int GetMenuOrder() { return 31; }
    static int GetImageIndex() { return 42; }
    // "Polyline": draws a new polyline in the document's view.
    static void AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List);
    // The operations on several polylines, offered when every selected entity is a polyline.
    static void AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List);
    // The block "POLYLINE <name>", one line of two or three numbers per point, optionally a line with
    // the word CLOSE, and "END". Only a line whose first word is POLYLINE is taken, so that a
    // command on an entity named "Polyline1" is not. A block without END makes no entity and fails
    // with "No END for POLYLINE <name>" at the line after the command.
    static bool CreateFromMacro(TMacroFile& Macro, TGeometryList& List);

    TPolyline& Polyline() const { return Points; }

    // ---- Popup-menu operations ----
    // The marked point becomes the first (edit mode, one marked point).
    void SetPointAsFirst();
    // Replaces this entity by the pieces before and after the first marked point, which both keep
    // it. Edit mode only; this entity is freed.
    void Break();
    // Replaces this entity by its pieces on both sides of the plane chosen in the slice dialog.
    void Slice(const TMPlane& Plane, bool CloseIfClosed);
    // Re-spaces the vertices as the vertex dialog asks, as one change.
    void ChangeVertexSpacing(const TVertexOptions& Options);
    // A new entity of the polyline-backed curve class with this keyword through this polyline's
    // points, added to the owner list and drawn; nothing when no such class is registered.
    void ConvertToCurveClass(const std::string& Keyword);
    // A new curve-network curve through the points, next to this polyline, which is deselected.
    void CreateXTCurveFrom(TXTCurveShape Shape);
    // Replaces this entity by a point-cloud entity of copies of its points; this entity is freed.
    void ConvertToPointCloud();

    // ---- Overrides ----
    std::uint8_t GetSelectionType() override { return 1; }
    void AddMenuItems(TMenuItem& Root) override;
    void UpdateMenuItems(TMenuItem& Root) override;
    // A named polyline with a point stays, whatever its extents.
    void AfterListChange() override;
    void Transform(const TMMatrix& M) override;
    void Assign(const TGeometry& Source) override;
    // Its block is its points, name and colour, each point changed inside a change bracket.
    bool WritesItsBlockFromState() const override { return true; }
    // Polyline queries are answered with the polyline itself.
    void Query(TGeometryQuery& Query) override;
    // A TGeoSelectPolylines request selects it too.
    void HandleMessage(TGeoMessage& Message) override;
    // The display polyline and comb, the direction arrow when asked for, and in edit mode the
    // control polygon with a handle per point (marked ones in the select colour, the first one in
    // the start colour).
    void Draw(IGraphics& View) override;
    void DrawOutline(IGraphics& View) override;

private:
    // The first marked point in edit mode; -1 when none.
    int FirstMarkedPoint();
    void DrawShapes(IGraphics& View, bool InColour);

    // Held in the entity itself: a document holds polylines by the hundred thousand.
    mutable TPolyline Points;
    TPolyline* OwnCurve() const override { return &Points; }
};

// Draws a polyline with left clicks; a right click makes it.
class TGeoPolylineCreator : public TGeoDraggableLineCreator {
public:
    explicit TGeoPolylineCreator(TGeometryList& List);
    // A new polyline entity through the clicked points, added to the document and drawn.
    void CreateGeometry() override;
};

// ---- Operations on the selected polylines of a document ----
// Each acts on the selected polyline entities in list order and replaces them in one update bracket.

// The first two joined at their nearest ends; nothing when that gives no polyline.
void WeldSelectedPolylines(TGeometryList& List);
// The more closed of the first two spliced into the other through a bridge between their nearest
// segments; nothing when that gives no polyline.
void BridgeSelectedPolylines(TGeometryList& List);
// The first two cut wherever they cross as seen projected onto Plane (the view plane).
void BreakSelectedAtVisualIntersections(TGeometryList& List, const TMPlane& Plane);
// All of them welded into one, the nearest ends first.
void WeldMultiplePolylines(TGeometryList& List);
// Chains whose ends lie closer than Tolerance welded.
void WeldMultiplePolylinesWithin(TGeometryList& List, double Tolerance);
// Asks for the tolerance; a cancelled query or a text that is not a number does nothing.
void WeldMultiplePolylinesWithTolerance(TGeometryList& List);
void ReverseSelectedPolylines(TGeometryList& List);
// One point-cloud entity of copies of the points of all of them, in their order.
void ConvertSelectedToPointCloud(TGeometryList& List);
void ShowSelectedDirections(TGeometryList& List);
void HideSelectedDirections(TGeometryList& List);

}  // namespace sarnova
