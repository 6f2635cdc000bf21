// The plane entity: an unbounded plane in a document, shown as the rectangle in which it cuts the
// document's extents, positioned normal to an axis, turned about an axis through a location point or
// through three points. It collects where it crosses the document's curves and cuts its surfaces,
// turns the crossings into new curves, cuts one surface on request and projects curves onto itself
// (GPlaneIntersect.cpp).
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "document/GDraggable.h"
#include "foundation/Plane.h"
#include "foundation/PolyList.h"
#include "foundation/Polyline.h"

namespace sarnova {

// How the plane is positioned: normal to X, Y or Z; turned about X (roll), Y (pitch) or Z (yaw)
// through a location point; or through three points.
enum TGeoPlaneMode : std::uint8_t { pmX, pmY, pmZ, pmRoll, pmPitch, pmYaw, pmThreePoints };

// The name under which the GUI registers the plane's property frame.
inline const char* const PlaneFrameName = "PlaneFrame";

class IPlaneFrame : public IGeometryFrame {
public:
    bool IsDefaultFrame() const override { return false; }
    void Refresh() override { RefreshAll(); }
    // Every control from the plane.
    virtual void RefreshAll() = 0;
    // Only the offset, the location point, the inclination and the three points (while dragging).
    virtual void RefreshPosition() = 0;
};

class TGeoPlane : public TGeoDraggable {
public:
    // The plane z = 0 in mode Z showing its normal; undoable and renderable.
    TGeoPlane();
    ~TGeoPlane() override;

    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoPlane>(); }
    static std::string GetKeyword() { return "TPlane"; }
    static int GetMenuOrder() { return 13; }
    static int GetImageIndex() { return 68; }
    // "Plane": adds a plane to the document and selects only it.
    static void AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List);
    // With one plane and one surface or one curve selected: "Intersection between Plane and Surface"
    // or "Project Curve on to Plane...".
    static void AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List);

    TPlane& Plane() const { return *FPlane; }
    TGeoPlaneMode GetPlaneMode() const { return Mode; }
    std::uint8_t GetSortAxis() const { return SortAxis; }
    bool GetShowCurveIntersections() const { return ShowCurveIntersections; }
    bool GetShowIntersectionCurve() const { return ShowIntersectionCurve; }
    bool GetShowSurfaceIntersections() const { return ShowSurfaceIntersections; }
    bool GetShowNormal() const { return ShowNormal; }
    bool GetShowAxes() const { return ShowAxes; }
    TPolyline& Outline() const { return *FOutline; }
    TPolyline& Handles() const { return *FHandles; }
    TPolyline& CurveIntersections() const { return *FCurveIntersections; }
    TPolylineList& SurfaceIntersections() const { return *FSurfaceIntersections; }

    // ---- Position ----
    // Each does nothing when the value is unchanged; each is one change and invalidates the views.
    // Entering X, Y or Z takes that axis as the normal; roll, pitch and yaw keep the part of the normal
    // across their axis (a normal along the axis gives Z, or Y for yaw); three points start at the
    // plane's foot and its in-plane axes.
    void SetPlaneMode(TGeoPlaneMode Value);
    // The angle of the normal about the mode's axis, in radians; 0 outside roll, pitch and yaw.
    double GetInclination() const;
    // Roll, pitch and yaw only: the angle is brought into (-pi/2, pi/2] and the plane turned to it
    // through the location point. An angle that is not a finite number is ignored.
    void SetInclination(double Angle);
    void SetOffset(double Value);
    // Coordinate Axis of the location point (handle 0) becomes Value and the plane moves through it.
    void SetLocationCoordinate(int Axis, double Value);
    // Coordinate Axis of handle Index (0 to 2) becomes Value and the plane passes through the three.
    void SetHandleCoordinate(int Index, int Axis, double Value);
    // Handle Index becomes the only selected handle.
    void SelectOnlyHandle(int Index);

    // ---- Display switches: no undo step, erased, stored, changed and drawn again ----
    // 0 x, 1 y, 2 z; larger values are ignored.
    void SetSortAxis(std::uint8_t Value);
    void SetShowCurveIntersections(bool Value);
    void SetShowIntersectionCurve(bool Value);
    void SetShowSurfaceIntersections(bool Value);
    void SetShowNormal(bool Value);
    void SetShowAxes(bool Value);

    // ---- Derived shapes ----
    // The 100 outline points around the displayed rectangle; while editing also the handles, the
    // roll, pitch and yaw handles spaced by 100 pixels of View (of the entity's view when null).
    void UpdateOutline(IGraphics* View = nullptr);
    // The location point at the rectangle's centre, or the three points at the plane's foot and its
    // in-plane axes.
    void InitHandles();
    // The plane through the three handles, when they span a triangle.
    void PlaneFromHandles();
    // The mode from the zero components of the normal.
    void DetectPlaneMode();

    // ---- Intersections (GPlaneIntersect.cpp) ----
    // Applies the pending changes of the visible curve and surface entities, so that they are cut as
    // they are now.
    bool ApplyPendingChanges();
    // The crossings of every visible curve entity whose box the plane cuts, repeats in a row dropped,
    // sorted along the sort axis.
    void CalculateCurveIntersections();
    // The lines where the plane cuts the facets of every visible surface entity whose box it cuts.
    void CalculateSurfaceIntersections();
    // Both as their switches ask, when something has changed since they were last made.
    void RefreshIntersections();
    // New curve entities through the crossings: a polyline from 2 points, a B-spline (the crossings as
    // control points) or an interpolating cubic B-spline from 4; with fewer nothing.
    void PolylineFromIntersections();
    void BSplineFromIntersections();
    void CubicSplineFromIntersections();
    // Exactly two selected entities, the last selected plane and the first selected surface: the cut as
    // one polyline, or as a polyline list for several; nothing when it finds nothing.
    static void IntersectSurfaceClick(TGeometryList& List);
    // Exactly two selected entities, the last selected plane and the first selected curve: the curve,
    // or a copy of it, moved onto the plane in the direction the projection dialog gives.
    static void ProjectCurveClick(TGeometryList& List);

    // ---- Overrides ----
    TDataObject GetDataObject() override { return TDataObject::Of(FPlane.get()); }
    void UpdateMenuItems(TMenuItem& Root) override;
    void AddMenuItems(TMenuItem& Root) override;
    // The handles while editing, else the outline points, so that the rectangle's border picks.
    int GetPointCount() override;
    TRPoint* GetPoint(int Index) override;
    // A plane is never removed for having no extents.
    void AfterListChange() override {}
    // The pending changes of the cut entities and the intersections, then the base.
    void Recalculate() override;
    IGeometryFrame* CreateFrame(void* Owner) override;
    void UpdateFrame() override;
    void Transform(const TMMatrix& M) override;
    void Assign(const TGeometry& Source) override;
    // Plane queries get the kernel plane.
    void Query(TGeometryQuery& Query) override;
    void HandleMessage(TGeoMessage& Message) override;
    void Draw(IGraphics& View) override;
    void DrawOutline(IGraphics& View) override;
    void DrawSimplified(IGraphics& View) override;
    void DrawRendered(IGraphics& View) override;
    // "[TPlane]", the plane's two lines, "Name=" and "Color=" when they apply, the six display keys,
    // an empty line.
    void SaveToText(TTextWriter& Out) override;
    void LoadFromText(TTextReader& In) override;
    // X, Y and Z drag only along their axis.
    void RestrictEditPlanes(TEditPlaneSet& Allowed) override;
    void AdjustEditPlane(TEditPlane& Plane, TEditPlaneSet Allowed) override;
    void SnapPoint(IGraphics& View, TPoint& ScreenPoint, TMVector& Point) override;
    void BeginDrag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
                   const TMVector& Offset) override;
    void Drag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
              const TMVector& Offset) override;
    void EndDrag(TPoint, const TMVector&, IGraphics&, TShiftState, const TMVector&) override {}

private:
    // Steps 1 to 3 and 5 to 7 of drawing; InColour sets the colours of the edit shapes.
    void DrawShapes(IGraphics& View, bool InColour);
    void DrawNormalAndAxes(IGraphics& View);
    void DrawEditShapes(IGraphics& View, bool InColour);
    // The corners of the displayed rectangle; false for a plane without a normal.
    bool Corners(std::array<TMVector, 4>& C) const;
    void FillOutline();
    // Every visible entity of the owner list that the plane cuts as a curve, or as a surface.
    std::vector<TGeometry*> CutEntities(bool Surfaces) const;
    IPlaneFrame* PlaneFrame() const;
    template <class T>
    void SetSwitch(T& Field, T Value);

    std::unique_ptr<TPlane> FPlane;
    TGeoPlaneMode Mode = pmZ;
    std::uint8_t SortAxis = 0;
    bool ShowCurveIntersections = false;
    bool ShowNormal = true;
    bool ShowAxes = false;
    bool ShowSurfaceIntersections = false;
    bool ShowIntersectionCurve = false;
    std::unique_ptr<TPolyline> FOutline;
    std::unique_ptr<TPolyline> FHandles;
    std::unique_ptr<TPolyline> FCurveIntersections;
    std::unique_ptr<TPolylineList> FSurfaceIntersections;
    TMVector DragOrigin;
    TMVector DragDirection;
    // Set by the messages of the document: the intersections are made again before they are next
    // used. The plane itself is not marked changed for that, so that cutting leaves the document
    // unmodified.
    bool IntersectionsStale = true;
};

// The turning axis of roll, pitch and yaw (X, Y, Z); the normal of X, Y and Z; nothing else.
TMVector PlaneModeAxis(TGeoPlaneMode Mode);

// The named planes of List, in list order: what the slice dialog offers.
std::vector<std::string> NamedPlanes(const TGeometryList& List);
// The plane of the plane entity named Name (letter case ignored); false when there is none.
bool FindNamedPlane(const TGeometryList& List, const std::string& Name, TMPlane& Plane);

// Whether an entity counts as a surface for the plane's cuts and commands: the surface, mesh,
// B-spline surface and polygon-list kinds.
bool IsPlaneCutSurface(TGeometry& Entity);
// The curve object of a curve entity whose points a plane can take (a polyline or a curve built on
// one); nullptr for any other entity.
TPolyline* ProjectableCurve(TGeometry& Entity);

}  // namespace sarnova
