// The point-cloud entity: loose points shown as markers, picked, dragged, deleted and edited in a grid,
// and joined into a polyline entity on request; and the creator that clicks points into a new cloud.
#pragma once
#include <memory>
#include <string>

#include "document/GCreator.h"
#include "document/GDraggable.h"
#include "entities/PointList.h"

namespace sarnova {

// The name under which the GUI registers the point-cloud frame.
inline const char* const PointListFrameName = "PointListFrame";

// The property frame of a point cloud: name, colour and a grid of the points.
class IPointListFrame : public IGeometryFrame {
public:
    bool IsDefaultFrame() const override { return false; }
    void Refresh() override { RefreshAll(); }
    // Every field and row from the entity.
    virtual void RefreshAll() = 0;
    // Only the rows of the selected points (while they are dragged).
    virtual void RefreshPositions() = 0;
};

class TGeoPointList : public TGeoDraggable {
public:
    // An empty cloud, undoable, with the 'A' key's insert mode.
    TGeoPointList();
    const char* HintText() const override;
    ~TGeoPointList() override;

    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoPointList>(); }
    static std::string GetKeyword() { return "TPointCloud"; }
    static int GetMenuOrder() { return 19; }
    static int GetImageIndex() { return 50; }
    // "Point Cloud": clicks points into a new cloud in the document's view.
    static void AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List);

    TPointCloud& Cloud() const { return *Points; }

    // ---- Operations of the popup menu and the frame ----
    // A new polyline entity through the selected points while editing, else through all of them,
    // added to the document and drawn. Nothing without an owner list.
    void PolylineThroughPoints();
    // Coordinate Axis (0 x, 1 y, 2 z) of point Index becomes Value, as one change; nothing for an
    // index or axis outside the cloud.
    void SetPointCoordinate(int Index, int Axis, double Value);
    // Point Index becomes the only selected point while the entity is being edited.
    void SelectOnlyPoint(int Index);
    // Appends the point (0, 0, 0), as one change.
    void AddOrigin();
    // Deletes point Index the way the Delete key would, so that a cloud keeps two points.
    void DeletePoint(int Index);

    // ---- Overrides ----
    // Point selection, drags with a button down and keys.
    std::uint8_t GetEditorFlags() override { return efSelectPoints | efDragMoves | efKeys; }
    TDataObject GetDataObject() override { return TDataObject::Of(Points.get()); }
    // "Polyline through Points" enabled for more than one selected point while editing, else for more
    // than one point.
    void UpdateMenuItems(TMenuItem& Root) override;
    void AddMenuItems(TMenuItem& Root) override;
    // The cloud's points, whether editing or not.
    int GetPointCount() override { return Points->Count(); }
    TRPoint* GetPoint(int Index) override;
    TMBox CalculateExtents() override;
    // The point-cloud frame when the GUI has one, else the default frame.
    IGeometryFrame* CreateFrame(void* Owner) override;
    void UpdateFrame() override;
    void Transform(const TMMatrix& M) override;
    void Assign(const TGeometry& Source) override;
    // Point-cloud queries get the cloud itself.
    void Query(TGeometryQuery& Query) override;
    // While editing a handle per point in the select or control-polygon colour; else markers.
    void Draw(IGraphics& View) override;
    void DrawOutline(IGraphics& View) override;
    // The extents box.
    void DrawSimplified(IGraphics& View) override { DrawBox(View); }
    // "[TPointCloud]", the cloud's lines, "Name=" when named and an empty line; no colour.
    void SaveToText(TTextWriter& Out) override;
    // The cloud's lines, then NAME and COLOR key lines up to the first line without a key.
    void LoadFromText(TTextReader& In) override;
    // Deletes the first selected point again and again while more than two remain, as one change.
    void DeleteSelectedPoints() override;
    void BeginDrag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
                   const TMVector& Offset) override;
    // Selected points move to where they were when the drag began plus Offset.
    void Drag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
              const TMVector& Offset) override;
    void EndDrag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
                 const TMVector& Offset) override;
    // A click in the insert mode adds nothing.
    void InsertPointClick(TPoint, TShiftState, IGraphics&) override {}

private:
    void DrawPoints(IGraphics& View, bool InColour);
    IPointListFrame* PointListFrame() const;

    std::unique_ptr<TPointCloud> Points;
    // The cloud as it was when the drag began.
    std::unique_ptr<TPointCloud> DragStart;
};

// Clicks points into a cloud: each left click adds the snapped point, a right click makes a
// point-cloud entity of the points clicked so far and starts over.
class TGeoPointCloudCreator : public TGeoDraggableCreator {
public:
    explicit TGeoPointCloudCreator(TGeometryList& List);

    void MouseDown(IGraphics& View, TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // The point before the last once two points are held, else the origin.
    void GetReferencePoint(TMVector& Point) override;
    // A new point-cloud entity of the clicked points, added to the document and drawn.
    void CreateGeometry() override;
    void Reset() override { Cloud.Clear(); }
    void DrawShape() override;
    void EraseShape() override;

    const TPointCloud& GetCloud() const { return Cloud; }

private:
    void DrawCloud(TColor Colour);

    TPointCloud Cloud;
};

}  // namespace sarnova
