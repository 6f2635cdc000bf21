// The B-spline surface entity: a control net edited like every net entity, with the surface's orders,
// knuckle lines, subdivision, boundary curves, surfaces filled from an edge to the centre plane,
// conversions to and from meshes, the CORNERPOINTSURFACE macro block, the "Create BSpline Surface"
// dialog and a creator that drags the surface out as a rectangle.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "document/GCreator.h"
#include "entities/GCusMesh.h"

namespace sarnova {

class TBSpline;
class TBSplineSurface;

// ---- The "Create BSpline Surface" dialog, as the model sees it ----

// What the dialog asks for.
struct TNewSurfaceInput {
    double Length = 10;
    double Breadth = 10;
    double Depth = 10;
    int NumU = 4;
    int NumV = 4;
    int OrderU = 4;
    int OrderV = 4;
};

// The message that refuses Input, empty when a surface can be made from it. Counts and orders below
// 2 are refused: a single line has no extent to spread its points over.
std::string NewSurfaceInputError(const TNewSurfaceInput& Input);
// A NumU by NumV plane rectangle with those orders: point (i, j) at
// (Length i / (NumU - 1), Breadth j / (NumV - 1), Depth j / (NumV - 1)). Input must pass the check.
std::unique_ptr<TBSplineSurface> NewSurfaceFromInput(const TNewSurfaceInput& Input);

// The dialog the GUI has set: a new surface on "Ok", nullptr on "Cancel". Empty without a GUI.
using TNewSurfaceDialog = std::function<std::unique_ptr<TBSplineSurface>()>;
TNewSurfaceDialog& NewBSplineSurfaceDialog();

// ---- The entity ----

class TGeoBSurf : public TGeoCustomMesh {
public:
    // A 4 by 4 net of orders 4 with open knots; parameter lines and outline shown.
    TGeoBSurf();
    ~TGeoBSurf() override;
    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoBSurf>(); }

    static std::string GetKeyword() { return "TBSplineSurface"; }
    static int GetMenuOrder() { return 42; }
    static int GetImageIndex() { return 46; }
    // "BSpline Surface..." (the dialog) and "Drag BSpline Surface".
    static void AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List);
    // With selected meshes: "Convert Meshes to 2nd Order BSplineSurfaces"; with selected B-spline
    // surfaces: the conversions of their sampled surfaces and of their control nets to meshes.
    static void AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List);
    // "CORNERPOINTSURFACE <name>" (the whole first word), four point lines "x y [z]" and "END": a
    // bilinear surface through the four corners in the order given, with 4 by 4 parameter lines.
    static bool CreateFromMacro(TMacroFile& Macro, TGeometryList& List);

    TBSplineSurface& Surface() const { return *FSurface; }

    // ---- Overrides ----
    void UpdateMenuItems(TMenuItem& Root) override;
    void AddMenuItems(TMenuItem& Root) override;
    std::uint8_t GetSelectionType() override { return 6; }
    // The surface takes the entity's line counts and a point count fitting its net.
    void Recalculate() override;
    // The net points, then, with surface-edge snapping and outside editing, the point of each
    // boundary curve nearest the request's pixel.
    void AddSnapPoints(TGeometrySnapInfo& Request) override;
    void Transform(const TMMatrix& M) override;
    void Assign(const TGeometry& Source) override;
    void Draw(IGraphics& View) override;
    void DrawOutline(IGraphics& View) override;
    void CreateRenderer() override;
    // Surfaces (both kinds): the surface itself; meshes and polygon lists: made for the query.
    void Query(TGeometryQuery& Query) override;
    void HandleMessage(TGeoMessage& Message) override;
    void AddToSurfaceAnalysis(TSurfaceAnalysis& Analysis) override;
    // Nothing for a periodic surface, which has no parameter range to draw lines over.
    void AddBoundaryLines(TPolylineList& List) override;
    void AddParameterLines(TPolylineList& List) override;
    void EndDrag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
                 const TMVector& Offset) override;
    // Open knots allow it at once; other knots ask the user first.
    bool CanChangeNet() override;
    // The all-points view draws the surface's lines with 10 points each, so that editing stays quick.
    void SetEditView(std::uint8_t View) override;
    void DrawEditNet(IGraphics& View) override;

    // ---- What the popup menu does ----
    // Order is 3 to 6 for both orders, or 0 for one Bezier patch. Asks first on knots not open.
    void SetSurfaceOrder(int Order);
    // Order of one direction (0 u, 1 v), as the frame's order lists set it. Asks first on knots not
    // open; an order outside 2 .. the point count of the direction changes nothing.
    void SetDirectionOrder(int Direction, int Order);
    // The popup's order item: told by the first character of its caption.
    void SurfaceOrderClick(TMenuItem& Sender);
    void KnuckleUClick();
    void KnuckleVClick();
    // A knot in the middle of every span of the direction; nothing when the surface cannot be divided.
    void SubDivideU();
    void SubDivideV();
    // New B-spline curves Name.MinUEdge, Name.MinVEdge, Name.MaxUEdge and Name.MaxVEdge.
    void ExtractEdges();
    // New surfaces Name.U=0, Name.V=0, Name.U=Max and Name.V=Max between each edge and the centre plane.
    void FillEdgesToCenterline();
    // Replace the entity by a mesh entity of the sampled surface, or of its control net.
    void ConvertToSurfaceMesh();
    void ControlPointsToMesh();

    // ---- Drawing predicates ----
    // The analysis is not drawn while points are dragged, nor while editing unless the settings say so.
    bool ShowAnalysisNow() const;
    // The surface's own lines while editing: not when they would only hide the contours.
    bool ShowLinesWhileEditing() const;

protected:
    void OpenKnots() override;
    void SaveExtraKeys(TTextWriter& Out) override;
    bool LoadExtraKey(const TBlockLine& Line) override;

private:
    // The knuckle items' state in Root, from the selected points.
    void UpdateKnuckleItems(TMenuItem& Root);
    // The selected net points (i, j), ordered by i, then j.
    std::vector<std::pair<int, int>> SelectedNetPoints();
    void KnuckleClick(int Direction);
    // Replaces the surface by Refined in one change.
    void ReplaceSurface(std::unique_ptr<TBSplineSurface> Refined);
    void DrawEditLines(IGraphics& View, bool Plain);

    std::unique_ptr<TBSplineSurface> FSurface;
};

// The choices of an order list for a direction of Count points: 2 to Count, the last "n (Bezier)",
// else "2 (Linear)", "3 (Quadratic)", "4 (Cubic)" and plain numbers above. Choice k is order k + 2.
std::vector<std::string> OrderChoices(int Count);

// Whether a surface entity shows its analysis now: not while points are dragged, and while editing
// only when the settings say so.
bool SurfaceAnalysisShownNow(const TGeometry& Entity);
// Whether an edited surface entity draws its own lines: not when, with parameter lines hidden, they
// would only hide the contours the settings show while editing.
bool SurfaceLinesShownWhileEditing(const TGeometry& Entity, bool DrawParameters);
// Adds B-spline curve entities Name.MinUEdge, Name.MinVEdge, Name.MaxUEdge and Name.MaxVEdge made by
// EdgeCurve for the edge codes 0 to 3, in one update of Entity's list.
void AddEdgeCurveEntities(TGeometry& Entity, const std::function<std::unique_ptr<TBSpline>(int)>& EdgeCurve);

// Copies Source into Target. A periodic surface, which the kernel's copy refuses for want of a
// parameter range, is copied with its knots and stored limits as they stand.
void AssignBSplineSurface(TBSplineSurface& Target, const TBSplineSurface& Source);

// Drags a rectangle in the view and makes a bilinear surface of its corners.
class TGeoBSurfaceCreator : public TGeoDraggableRectCreator {
public:
    using TGeoDraggableRectCreator::TGeoDraggableRectCreator;
    void CreateGeometry() override;
};

}  // namespace sarnova
