// The curve-network surface in the document: the entity that holds one surface node, finds the
// curves it names in its document, draws, renders and exports the generated patches, offers the
// explode, convert and export commands, and lets the points of its curves be dragged through it.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "curvenet/XTSurface.h"
#include "entities/GSurface.h"

namespace sarnova {

class TPolygonList;
class TPolyline;
class TXTCurve;
class TXTPoint;

// The node an entity holds: a network curve's curve, a network surface's surface (with Regenerate
// brought up to date on the way, as asking for its data object does); nullptr for other entities.
TXTNode* XTNodeOf(TGeometry& Entity, bool Regenerate);

// The points of a surface's curves that can be dragged through the surface: every point of every
// curve, except index references, and on a curve held in a plane the points after the first that
// rest on something.
class TXTSurfaceEditor {
public:
    explicit TXTSurfaceEditor(TXTSurface& ASurface) : Surface(ASurface) {}

    void Clear();
    // Clear, then the points of every curve of the surface's list in order.
    void Rebuild();
    int Count() const { return static_cast<int>(FPoints.size()); }
    TXTPoint* Points(int Index) const { return FPoints[static_cast<std::size_t>(Index)]; }
    // The curve that point Index belongs to.
    TXTCurve* CurveOf(int Index) const { return FPointCurves[static_cast<std::size_t>(Index)]; }

    void DrawCurves(IGraphics& G);
    void DrawSpanPolygons(IGraphics& G);
    // Both, then a handle and the point's number beside it for every point.
    void DrawEditing(IGraphics& G);

private:
    void AddCurvePoints(TXTCurve& Curve);

    TXTSurface& Surface;
    std::vector<TXTPoint*> FPoints;
    std::vector<TXTCurve*> FPointCurves;
    std::vector<TXTCurve*> FCurves;
};

// The name under which the GUI registers the property frame.
inline const char* const XTSurfaceFrameName = "XTSurfaceFrame";

// The property frame as the entity sees it.
class IXTSurfaceFrame : public IGeometryFrame {
public:
    bool IsDefaultFrame() const override { return false; }
    // Only the values and colours of the point grid (while points are dragged).
    virtual void RefreshGrid() = 0;
};

// Sent through the document after every generation of a network surface, also one that a message
// stopped.
class TGeoXTSurfaceUpdate : public TGeoMessage {};

class TGeoXTSurface : public TGeoDraggableSurface, public IXTManager {
public:
    // A surface named "XTSurface1" without curves, the Gregory Bezier scheme and no display options.
    TGeoXTSurface();
    ~TGeoXTSurface() override;

    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoXTSurface>(); }
    static std::string GetKeyword() { return "TXTSurface"; }
    static int GetImageIndex() { return 74; }
    // "Create XTSurface Group" when every selected entity (or none) is a network curve.
    static void AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List);
    // A new surface on the selected network curves, in list order, with its parameter lines shown.
    static TGeoXTSurface* CreateGroup(TGeometryList& List);

    TXTSurface& Surface() const { return *FSurface; }
    TXTSurfaceEditor& Editor() const { return *FEditor; }
    std::uint16_t DrawOptions() const { return FDrawOptions; }
    // One undo step; nothing when unchanged.
    void SetDrawOptions(std::uint16_t Value);
    // The scheme as one undo step; nothing when unchanged.
    void SetOptions(const TXTSurfaceOptions& Options);
    // The curve of the network-curve entity of that name joins the list as one undo step, when the
    // list can take it.
    void AddCurve(const std::string& EntityName);
    // The curve of that name leaves the list as one undo step, when it is in it.
    void RemoveCurve(const std::string& EntityName);
    TXTCurve* FindCurve(const std::string& Name);
    // One coordinate (0 x, 1 y, 2 z) of editor point Index, as one undo step that also restores the
    // curve the point belongs to.
    void SetPointCoordinate(int Index, int Axis, double Value);
    // In edit mode exactly the editor points First to Last become the selection.
    void SelectPoints(int First, int Last);

    // ---- IXTManager ----
    TXTNode* FindNode(const std::string& Name) override;
    std::unique_ptr<TXTNodeList> Nodes() override;
    void AddInfoMessage(const TInfoMessage& Message) override;
    void ClearInfoMessages(const void* Sender) override;

    // ---- Commands of the popup menu ----
    // One B-spline or Gregory surface entity (5 by 5 lines) for each patch of either kind; then the
    // entity goes. One undo step.
    void Explode();
    // One mesh entity of the control net of each patch that is a mesh; then the entity goes.
    void ExplodeAsMeshes();
    // One B-spline curve entity for each edge of the manifold; the surface stays.
    void ExtractCurveEdges();
    // One B-spline surface list of copies of the B-spline patches replaces the entity; nothing when
    // there is no such patch.
    void ConvertToBSplineSurfaceList();
    // "Create Calculation Sections": the sections of all the patches together.
    void CreateCalculationSections();
    // Asks for a file through the program's dialogs and writes it; nothing when cancelled.
    void ExportSurfaceAndCurves();
    void ExportManifold();

    // ---- Overrides ----
    void SetName(const std::string& Value) override;
    // The patch surfaces, regenerated first unless the document is inside an update that shows the
    // hourglass or holds the views.
    TDataObject GetDataObject() override;
    std::unique_ptr<TPointInfo> CreatePointInfo() override;
    void GetPointInfo(int Index, TPointInfo& Info, IGraphics* View) override;
    void UpdateMenuItems(TMenuItem& Root) override;
    void AddMenuItems(TMenuItem& Root) override;
    // The editor's points, brought up to date first.
    int GetPointCount() override;
    std::uint8_t GetSelectionType() override { return 4; }
    // The curves' box, not the patches'.
    TMBox CalculateExtents() override;
    IGeometryFrame* CreateFrame(void* Owner) override;
    void UpdateFrame() override;
    // The curves, the options and the display options of another network surface.
    void Assign(const TGeometry& Source) override;
    void Draw(IGraphics& View) override;
    void DrawOutline(IGraphics& View) override;
    void DrawSimplified(IGraphics& View) override { DrawBox(View); }
    void SaveToText(TTextWriter& Out) override;
    void LoadFromText(TTextReader& In) override;
    std::unique_ptr<TPolygonList> CreatePolygonRepresentation(std::uint8_t Purpose) override;
    void CreateRenderer() override;
    void UpdateRenderer() override;
    void Query(TGeometryQuery& Query) override;
    void HandleMessage(TGeoMessage& Message) override;
    void BeginDrag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
                   const TMVector& Offset) override;
    void Drag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
              const TMVector& Offset) override;
    void EndDrag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
                 const TMVector& Offset) override;
    void AddBoundaryLines(TPolylineList& List) override;
    void AddParameterLines(TPolylineList& List) override;
    void AddToSurfaceAnalysis(TSurfaceAnalysis& Analysis) override;

private:
    // The change bracket with the entity erased and the views invalidated.
    template <class F>
    void Change(F Body);
    IXTSurfaceFrame* SurfaceFrame() const { return dynamic_cast<IXTSurfaceFrame*>(GetFrame()); }
    // Fills the renderer anew with the patches of the leaf faces of the last generation, or their
    // polygons; nothing without a renderer.
    void AddToRenderer();
    void DrawPatches(IGraphics& View);
    bool GenerationAllowed() const;
    // The network-curve entities of the document holding the editor points that Take accepts.
    template <class F>
    std::vector<TGeometry*> CurveEntitiesOf(F Take) const;

    // The curve entities whose points a drag moves; they change with this entity.
    std::vector<TGeometry*> FDragCurves;

    std::unique_ptr<TXTSurface> FSurface;
    std::unique_ptr<TXTSurfaceEditor> FEditor;
    std::unique_ptr<TPolyline> DragStart;
    std::uint16_t FDrawOptions = 0;
};

}  // namespace sarnova
