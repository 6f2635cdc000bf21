// The Gregory surface entity: one Gregory patch of 20 control points, dragged in the view or typed in
// its frame's grid, shown with parameter lines, outline, contours and the surface analysis, and turned
// on request into boundary curves or a mesh entity. A rectangle dragged in the view creates one.
#pragma once
#include <memory>
#include <string>

#include "document/GCreator.h"
#include "entities/GCusMesh.h"

namespace sarnova {

class TGregorySurface;

// The name under which the GUI registers the Gregory surface's property frame.
inline const char* const GregoryFrameName = "GregoryFrame";

// The frame shares the control-net frames' interface: it refreshes the rows of dragged points.
using IGregoryFrame = IMeshFrame;

class TGeoGregorySurface : public TGeoDraggableSurface {
public:
    // The kernel's default patch; parameter lines and outline shown.
    TGeoGregorySurface();
    ~TGeoGregorySurface() override;
    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoGregorySurface>(); }

    static std::string GetKeyword() { return "TGregorySurface"; }
    static int GetMenuOrder() { return 43; }
    static int GetImageIndex() { return 77; }
    // "Drag Gregory Surface".
    static void AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List);

    TGregorySurface& Surface() const { return *FSurface; }
    IGregoryFrame* GregoryFrame() const { return dynamic_cast<IGregoryFrame*>(GetFrame()); }

    // ---- Overrides ----
    TDataObject GetDataObject() override;
    void UpdateMenuItems(TMenuItem& Root) override;
    void AddMenuItems(TMenuItem& Root) override;
    int GetPointCount() override { return 20; }
    TRPoint* GetPoint(int Index) override;
    std::uint8_t GetSelectionType() override { return 4; }
    void AddSnapPoints(TGeometrySnapInfo& Request) override;
    TMBox CalculateExtents() override;
    // Takes the surface's line counts for the frame to show.
    IGeometryFrame* CreateFrame(void* Owner) override;
    void UpdateFrame() override;
    void Transform(const TMMatrix& M) override;
    void Assign(const TGeometry& Source) override;
    void Draw(IGraphics& View) override;
    void DrawOutline(IGraphics& View) override;
    void DrawSimplified(IGraphics& View) override;
    // "[TGregorySurface]", 20 point lines, then the display keys; no line counts.
    void SaveToText(TTextWriter& Out) override;
    void LoadFromText(TTextReader& In) override;
    std::unique_ptr<TPolygonList> CreatePolygonRepresentation(std::uint8_t Purpose) override;
    void CreateRenderer() override;
    // Surfaces: the patch itself; meshes and polygon lists: made for the query. Not a B-spline surface.
    void Query(TGeometryQuery& Query) override;
    // The surface draws itself at 25 by 25 lines of 25 points while its points move.
    void BeginDrag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
                   const TMVector& Offset) override;
    void Drag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
              const TMVector& Offset) override;
    // The surface takes the entity's line counts, with twice the smaller as its point count.
    void EndDrag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
                 const TMVector& Offset) override;
    void AddToSurfaceAnalysis(TSurfaceAnalysis& Analysis) override;
    TSurface* GetSurface() override;

    // The surface's own lines (when shown), the control net and a handle at every control point.
    void DrawEditNet(IGraphics& View, bool Plain = false);
    // New B-spline curves Name.MinUEdge, Name.MinVEdge, Name.MaxUEdge and Name.MaxVEdge.
    void ExtractEdges();
    // Replace the entity by a mesh entity of the patch sampled at the entity's line counts.
    void ConvertToSurfaceMesh();
    // Sets coordinate Axis (0 x, 1 y, 2 z) of every control point to Value, as one change.
    void SetAllCoordinates(int Axis, double Value);

private:
    std::unique_ptr<TGregorySurface> FSurface;
    std::unique_ptr<TGregorySurface> DragStart;
};

// Drags a rectangle in the view and makes a flat Gregory patch over it.
class TGeoGregoryCreator : public TGeoDraggableRectCreator {
public:
    using TGeoDraggableRectCreator::TGeoDraggableRectCreator;
    void CreateGeometry() override;
};

}  // namespace sarnova
