// The curve-network curve in the document: the entity that holds one network curve, finds the other
// nodes of its document by name, turns the curve's rebuilds into document notifications, and offers
// the constraint toggles, the ribbon kind, the options and the conversions on its menus.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "curvenet/XTCurve.h"
#include "curvenet/XTSnapQuery.h"
#include "document/GCreator.h"
#include "document/GCurve.h"

namespace sarnova {

// The view's description of one editable point of a network curve: the vertex it stands for, or none.
class TXTPointInfo : public TPointInfo {
public:
    using TPointInfo::TPointInfo;
    TXTPoint* XTPoint = nullptr;

    // Selects the vertex; nothing without one.
    void SetSelected(bool Value) override;
    // The vertex's position and selection; without a vertex the origin, not selected, not visible.
    void SetXTPoint(TXTPoint* Vertex, IGraphics* View, bool AVisible);
    // A point of the digitised curve; the info then stands for no vertex.
    void SetRPoint(const TRPoint& Point, IGraphics* View, bool AVisible);
};

// The name under which the GUI registers the property frame.
inline const char* const XTCurveFrameName = "XTCurveFrame";

// The property frame as the entity sees it.
class IXTCurveFrame : public IGeometryFrame {
public:
    bool IsDefaultFrame() const override { return false; }
    // Only the values and colours of the point rows it shows (while vertices are dragged).
    virtual void UpdateGridValues() = 0;
};

// Sent through the document after every rebuild of a network curve.
class TGeoXTCurveUpdate : public TGeoMessage {};

class TGeoXTCurve : public TGeoDraggableCurve, public IXTManager {
public:
    // A curve named "XTCurve1" whose node finds its peers through this entity.
    TGeoXTCurve();
    const char* HintText() const override;
    ~TGeoXTCurve() override;

    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoXTCurve>(); }
    static std::string GetKeyword() { return "TXTCurve"; }
    static std::string ClassDescription() { return "D-Azadavaz Curve"; }
    static int GetMenuOrder() { return 52; }
    static int GetImageIndex() { return 75; }
    // Offered when every selected entity is a network curve: options, ribbon, whole-curve
    // constraints and conversions over all of them.
    static void AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List);
    // "D-Azadavaz Curve": the curve creator in the document's view.
    static void AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List);

    TXTCurve& Curve() const { return *FCurve; }
    bool ShowControlPolygon() const { return FShowControlPolygon; }

    // ---- IXTManager ----
    TXTNode* FindNode(const std::string& Name) override;
    std::unique_ptr<TXTNodeList> Nodes() override;
    void AddInfoMessage(const TInfoMessage& Message) override;
    void ClearInfoMessages(const void* Sender) override;

    // ---- Commands ----
    // Adds the kind where the selection allows it, removes it where the selection holds it.
    template <class T>
    void TogglePointConstraint();
    template <class T>
    void ToggleRangeConstraint();
    void TogglePolyline();
    void ToggleCubicSpline();
    // Nothing when unchanged.
    void SetRibbonKindFromMenu(std::uint8_t Kind);
    // Flips one option bit as one undo step.
    void ToggleOption(std::uint8_t Option);
    // The single selected vertex, when it rests on another curve, becomes a free vertex.
    void UnlinkPoint();
    bool CanUnlinkPoint() const;
    void ReversePoints();
    void ToggleControlPolygon();

    // The curve's first offset constraint, or nullptr.
    TXTOffsetConstraint* OffsetConstraint() const;

    // ---- Commands of the property frame, each one undo step ----
    // The plane or, without one, the offset constraint goes; nothing without either.
    void ClearLocation();
    // The curve lies in the plane of Direction (pdX .. pdYaw) through its first vertex; a plane
    // constraint is added when there is none.
    void SetPlaneDirection(std::uint8_t Direction);
    // The plane's position (X, Y, Z) or angle in degrees (roll, pitch, yaw); nothing without a plane.
    void SetPlaneParameter(double Value);
    // The curve keeps its offsets from the network curve of that name; an empty name removes the
    // offset constraint. Nothing on a curve in a plane, or for a name that finds no curve.
    void SetOffsetCurveByName(const std::string& Name);
    // Axis 0, 1, 2 (x, y, z) of one vertex, or of every vertex.
    void SetVertexCoordinate(int Vertex, int Axis, double Value);
    void FillCoordinate(int Axis, double Value);
    // A free vertex before Vertex: halfway to the one before it, or before the first one as far as
    // the second one lies behind it. Nothing on a curve of fewer than two vertices.
    void InsertVertexAbove(int Vertex);
    // A free vertex after Vertex: halfway to the next one, or after the last one as far as the
    // one before it lies ahead.
    void InsertVertexBelow(int Vertex);
    // In edit mode exactly the vertices First to Last become the selection.
    void SelectVertices(int First, int Last);
    // A plane constraint without a direction constrains nothing; the frame drops it when it shows the
    // curve. True when one went.
    bool DropPlaneWithoutDirection();
    // Replace this entity (which is freed) by a B-spline curve or a polyline of the curve; nothing for
    // a curve of fewer than two points or outside a document.
    void ConvertToBSpline();
    void ConvertToPolyline();
    // The new entity the conversion would give; nullptr for fewer than two points.
    std::unique_ptr<TGeometry> MakeBSplineEntity();
    std::unique_ptr<TGeometry> MakePolylineEntity();

    // ---- Overrides ----
    std::string GetName() const override;
    void SetName(const std::string& Value) override;
    TDataObject GetDataObject() override;
    std::unique_ptr<TPointInfo> CreatePointInfo() override;
    void GetPointInfo(int Index, TPointInfo& Info, IGraphics* View) override;
    void AddMenuItems(TMenuItem& Root) override;
    void UpdateMenuItems(TMenuItem& Root) override;
    int GetPointCount() override;
    std::uint8_t GetSelectionType() override { return 2; }
    TMBox CalculateExtents() override;
    IGeometryFrame* CreateFrame(void* Owner) override;
    void UpdateFrame() override;
    void Transform(const TMMatrix& M) override;
    void Assign(const TGeometry& Source) override;
    std::unique_ptr<TPolyline> IntersectPlane(const TMPlane& Plane) override;
    void DrawHighlighted(IGraphics& View) override;
    void Draw(IGraphics& View) override;
    void DrawOutline(IGraphics& View) override;
    void DrawSimplified(IGraphics& View) override;
    void SaveToText(TTextWriter& Out) override;
    void LoadFromText(TTextReader& In) override;
    // FX(x).Z and the like: a coordinate of the curve's point where a coordinate has a value.
    double Expression(const std::string& PropertyText) override;
    // B-spline queries get a new B-spline of the curve, polyline queries its polyline.
    void Query(TGeometryQuery& Query) override;
    void HandleMessage(TGeoMessage& Message) override;
    void AddToCurveAnalysis(TCurveAnalysis& Analysis) override;
    TPolyline* GetPolyline() override;

    // ---- Dragging vertices ----
    void DeselectAllPoints() override;
    // Asks the snap query what the dragged vertex meets and offers it: a vertex of another curve as
    // snap kind 0, a place along one as kind 3; a dragged reference point offers nothing.
    void CollectSnapPoints(TGeometrySnapInfo& Request) override;
    void CancelSnap() override;
    // While a vertex is dragged with a snap or detach pending, the query's cursor.
    void UpdateCursor() override;
    void BeginDrag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
                   const TMVector& Offset) override;
    void Drag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
              const TMVector& Offset) override;
    // A detach always applies; a vertex or curve snap only when the view chose this entity's offer.
    void EndDrag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
                 const TMVector& Offset) override;
    const TXTSnapTarget& SnapResult() const { return FSnapResult; }
    // Offers the vertices that are not selected and the nearest place of the curve to the drags of
    // entities other than network curves and the curve creator.
    void AddSnapPoints(TGeometrySnapInfo& Request) override;
    // A free vertex where the click meets the curve's control polygon, as one undo step.
    void InsertPointClick(TPoint ScreenPoint, TShiftState Shift, IGraphics& View) override;
    // Lines from the neighbouring vertices to where the click would insert, and a handle there.
    void DrawInsertPointPreview(TPoint ScreenPoint, TShiftState Shift, IGraphics& View) override;
    void EraseInsertPointPreview(TPoint ScreenPoint, TShiftState Shift, IGraphics& View) override;
    // The selected vertices go, as one undo step, but never below two.
    void DeleteSelectedPoints() override;

private:
    // The change bracket with the entity erased and the views invalidated.
    template <class F>
    void Change(F Body);
    // The same, for a change that renumbers the vertices, with the curves resting on this one.
    template <class F>
    void ChangeWithDependents(F Body);
    void DrawVertices(IGraphics& View, bool Outline);
    // The vertex positions as a polyline.
    std::unique_ptr<TPolyline> VertexPolyline() const;
    void DrawRibbon(IGraphics& View);
    IXTCurveFrame* CurveFrame() const;

    bool FShowControlPolygon = false;
    std::unique_ptr<TXTCurve> FCurve;
    // While a vertex is dragged: where the vertices were, what it may snap to and the answer.
    std::vector<TMVector> FDragSnapshot;
    std::unique_ptr<TXTSnapQuery> FSnapQuery;
    TXTSnapTarget FSnapResult;
};

// Draws a new network curve in the view: each left click fixes a vertex, the last vertex follows the
// mouse, a vertex put onto a vertex of another network curve or onto one of them rests on it, and a
// right click adds the curve of the fixed vertices (two at least) to the document.
class TGeoXTCurveCreator : public TGeoDraggableCreator, public IXTManager {
public:
    explicit TGeoXTCurveCreator(TGeometryList& List);
    ~TGeoXTCurveCreator() override;

    // The fixed vertices followed by the rubber vertex.
    TXTCurve& WorkingCurve() const { return *FWorkingCurve; }
    const TXTSnapTarget& SnapResult() const { return FSnapResult; }

    // ---- IXTManager: the document's network curves, by name ----
    TXTNode* FindNode(const std::string& Name) override;
    std::unique_ptr<TXTNodeList> Nodes() override;
    // Messages about the working curve are dropped.
    void AddInfoMessage(const TInfoMessage&) override {}
    void ClearInfoMessages(const void*) override {}

    // While a snap is pending, the snap cursor.
    void UpdateCursor() override;
    void MouseDown(IGraphics& View, TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(IGraphics& View, TShiftState Shift, int X, int Y) override;
    // The last fixed vertex once one is fixed, else the origin.
    void GetReferencePoint(TMVector& Point) override;
    void CreateGeometry() override;
    // Back to a single rubber vertex at the origin.
    void Reset() override;
    void DrawShape() override;
    void EraseShape() override;
    // Offers what the rubber vertex would rest on: another curve's vertex as snap kind 0, a place along
    // one as kind 3; then the document's entities.
    void CollectSnapPoints(TGeometrySnapInfo& Request) override;

private:
    void DrawWorkingCurve(TColor Color);
    TXTPoint* RubberVertex() const;

    std::unique_ptr<TXTCurve> FWorkingCurve;
    std::unique_ptr<TXTSnapQuery> FSnapQuery;
    TXTSnapTarget FSnapResult;
};

// Lets polylines and B-spline curves make curve-network curves.
void InstallXTCurveMaker();

}  // namespace sarnova
