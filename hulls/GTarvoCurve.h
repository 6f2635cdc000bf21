// The Tarvo curve in the document: the entity that wraps one constraint-driven curve, edits its control
// points in the 3-D view (dragging only where the constraints leave them free), offers the constraint
// commands and conversions on its popup menu and frame, and resolves curve names over its document;
// its creator; and the loader of the older "TCurve" sections.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "document/GBSpline.h"
#include "document/GCurve.h"
#include "hulls/TarvoCurve.h"

namespace sarnova {

class TBSpline;

// The name under which the GUI registers the property frame.
inline const char* const TarvoCurveFrameName = "TarvoCurveFrame";

// The property frame as the entity sees it.
class ITarvoCurveFrame : public IGeometryFrame {
public:
    bool IsDefaultFrame() const override { return false; }
    void Refresh() override { UpdateFromEntity(); }
    virtual void UpdateFromEntity() = 0;
    // Only the coordinates of the point rows (while points are dragged).
    virtual void UpdatePointCells() = 0;
    // The constraint buttons, after the marked points changed.
    virtual void UpdateConstraintButtons() = 0;
};

class TGeoTarvoCurve : public TGeoDraggableCurve, public INodeManager {
public:
    // A new curve named "TarvoCurve1" whose names resolve over this entity's document; undoable,
    // insert-point mode.
    TGeoTarvoCurve();
    ~TGeoTarvoCurve() override;

    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoTarvoCurve>(); }
    static std::string GetKeyword() { return "TTarvoCurve"; }
    static std::string ClassDescription() { return "TarvoCurve"; }
    static int GetMenuOrder() { return 51; }
    static int GetImageIndex() { return 72; }
    // "TarvoCurve": draws a new Tarvo curve in the document's view.
    static void AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List);

    TTarvoCurve& Curve() const { return *FCurve; }

    // ---- Names of the document's nodes ----
    TNode* FindNode(const std::string& Name) override;
    std::unique_ptr<TNodes> Nodes() override;

    // ---- Commands of the popup menu and the frame ----
    // Adds the range constraint over the marked run when it can go there, removes it when it is there.
    void ToggleStraight();
    void ToggleBlend();
    void ToggleKnuckle();
    // Adds the whole-curve constraint when it can go on the curve.
    void AddPlaneConstraint();
    void AddOffsetConstraint();
    void ReversePoints();
    // Each replaces this entity (which is freed) by a polyline of the curve, a polyline of its control
    // points, or a B-spline entity of a copy of its spline.
    void ConvertToPolyline();
    void ControlPointsToPolyline();
    void ConvertToBSpline();
    // Whether "Reverse Points Order" may run: no curve depends on this one.
    bool CanReverse() const;

    // ---- What the property frame does, each one undoable change ----
    void DeleteConstraint(int Index);
    void ClearConstraints();
    void SetPlaneKind(TPlaneKind Kind);
    // Degrees for the angle kinds, the coordinate for the axis kinds.
    void SetPlaneValue(double Shown);
    void SetOffsetReference(const std::string& Name);
    void SetOffsetAxis(TOffsetAxis Axis);
    void SetSurfaceOperation(TSurfaceOperation Op);
    // Coordinate Axis (0 x, 1 y, 2 z) of control point Index; nothing for a point a constraint drives.
    void SetPointCoordinate(int Index, int Axis, double Value);
    // The midpoint of the neighbours above (below) the row, or the end leg extended at the first (last)
    // row.
    void InsertPointAbove(int Row);
    void InsertPointBelow(int Row);
    // Exactly the free control points of rows First .. Last become marked (edit mode only).
    void MarkRows(int First, int Last);
    // Marks exactly the rows' points, free or not, and deletes them.
    void DeleteRows(int First, int Last);
    void FillCoordinate(int Axis, double Value);

    // ---- Overrides ----
    TDataObject GetDataObject() override;
    std::uint8_t GetSelectionType() override { return 2; }
    TMBox CalculateExtents() override;
    TPolyline* GetPolyline() override;
    int GetPointCount() override;
    TRPoint* GetPoint(int Index) override;
    void GetPointInfo(int Index, TPointInfo& Info, IGraphics* View) override;
    void AddSnapPoints(TGeometrySnapInfo& Request) override;
    std::string GetName() const override;
    void SetName(const std::string& Value) override;
    void Assign(const TGeometry& Source) override;
    // Binds an offset reference that names its curve only (a copy, an undo step), then the list's check.
    void AfterListChange() override;
    void Transform(const TMMatrix& M) override;
    void Query(TGeometryQuery& Query) override;
    void DeleteSelectedPoints() override;
    void SaveToText(TTextWriter& Out) override;
    void LoadFromText(TTextReader& In) override;
    IGeometryFrame* CreateFrame(void* Owner) override;
    void UpdateFrame() override;
    void Draw(IGraphics& View) override;
    void DrawOutline(IGraphics& View) override;
    void DrawSimplified(IGraphics& View) override;
    void DrawHighlighted(IGraphics& View) override;
    void AddMenuItems(TMenuItem& Root) override;
    void UpdateMenuItems(TMenuItem& Root) override;
    void SelectPoint(IGraphics& View, int X, int Y, TShiftState Shift, TSelectAction& Action) override;
    void SelectRect(IGraphics& View, const TRect& Rect, TShiftState Shift) override;
    void RestrictEditPlanes(TEditPlaneSet& Allowed) override;
    void AdjustEditPlane(TEditPlane& Plane, TEditPlaneSet Allowed) override;
    void BeginDrag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
                   const TMVector& Offset) override;
    void Drag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
              const TMVector& Offset) override;
    void EndDrag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
                 const TMVector& Offset) override;
    void InsertPointClick(TPoint ScreenPoint, TShiftState Shift, IGraphics& View) override;
    void DrawInsertPointPreview(TPoint ScreenPoint, TShiftState Shift, IGraphics& View) override;
    void EraseInsertPointPreview(TPoint ScreenPoint, TShiftState Shift, IGraphics& View) override;

private:
    ITarvoCurveFrame* TarvoFrame() const;
    // Brings the curve up to date; a failed evaluation is said once on the console and the curve is
    // drawn as last evaluated.
    void Evaluate();
    // Replaces the curve in its list by what Make builds from the evaluated curve, as one step.
    template <class F>
    void ReplaceEvaluated(F Make);
    // The digitised curve, evaluated first when needed.
    void DrawCurve(IGraphics& View);
    // Only the first control point is marked: a vector offset does not hold it.
    bool OnlyFirstMarked() const;
    template <class T>
    void ToggleRange();
    // The change bracket with the entity erased and redrawn.
    template <class F>
    void Change(F Body);
    void AfterCommand();

    std::unique_ptr<TTarvoCurve> FCurve;
    // The control points as they were when the drag began.
    std::vector<TMVector> DragStart;
    std::string LastError;
};

// Draws a Tarvo curve with left clicks, its control points; a right click makes it.
class TGeoTarvoCurveCreator : public TGeoBSplineCreator {
public:
    explicit TGeoTarvoCurveCreator(TGeometryList& List);
    void CreateGeometry() override;
};

// Reads a section of the older format ("TCurve") into a Tarvo curve entity, which it hands to its
// list when it is added to one; then it leaves the list.
class TGeoOldCurveLoader : public TGeometry {
public:
    TGeoOldCurveLoader();
    // Still holding its curve: says so on the console and frees it.
    ~TGeoOldCurveLoader() override;

    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoOldCurveLoader>(); }
    static std::string GetKeyword() { return "TCurve"; }

    // The B-spline block, the constraint block (older names accepted) and the name line.
    void LoadFromText(TTextReader& In) override;
    // Writes nothing: a document saved afterwards holds the Tarvo curve instead.
    void SaveToText(TTextWriter& Out) override {}
    // Hands the curve to the list.
    void SetOwnerList(TGeometryList* List) override;
    // Leaves the list once the curve is handed over.
    void AfterListChange() override;

    TGeoTarvoCurve* HeldCurve() const { return Held.get(); }

private:
    std::unique_ptr<TGeoTarvoCurve> Held;
    // Set while the curve is being added: the list's notification of that is not yet the one after
    // which the loader leaves.
    bool Handing = false;
};

}  // namespace sarnova
