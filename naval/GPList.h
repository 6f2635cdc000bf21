// The polyline-list entity: an ordered bundle of polylines used as hull sections (one per station), as
// a compartment (the sections of a tank or space, drawn as its outline) or as plain curves extracted
// from other entities. It carries a permeability, a current polyline for point editing and a grid
// frame, and a popup menu of section tools: closing sections to the centre plane, sorting, re-spacing,
// slicing, welding, shell offsets, web frames, meshing and conversions.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "document/GDraggable.h"
#include "document/GeometryRepresentation.h"
#include "foundation/PolyList.h"

namespace sarnova {

class TGeoPList;

// The name under which the GUI registers the polyline-list frame.
inline const char* const PlistFrameName = "PlistFrame";

// The property frame of a polyline list: name, colour, section navigation and a grid of the current
// polyline's points.
class IPlistFrame : public IGeometryFrame {
public:
    bool IsDefaultFrame() const override { return false; }
    // Only the rows of the selected points of the current polyline (while they are dragged).
    virtual void UpdateSelectedRows() = 0;
};

// The answers of the polyline meshing dialog.
struct TPolyMeshOptions {
    double SegmentLength = 0;
    double KnuckleAngle = 0;  // radians
    bool Cancelled = false;
    bool CapStart = false;
    bool CapEnd = false;
};

// The answers of the web-frame dialog; both 0 when it was cancelled.
struct TWebFrameSize {
    double Depth = 0;
    double Thickness = 0;
};

// The dialogs the section tools open. The GUI sets them at start-up; where one is not set, the
// operation that needs it is not offered.
struct TPlistDialogs {
    // Re-sections List in place on OK; true when the dialog closed with OK.
    std::function<bool(TPolylineList& List)> ShowSectionSpacingDialog;
    std::function<TWebFrameSize()> ShowWebFramesDialog;
    std::function<TPolyMeshOptions()> ShowPolyMeshDialog;
    // The one-number dialog: true on OK with the number in Value.
    std::function<bool(const std::string& Caption, const std::string& Label, const std::string& ValueName,
                       double& Value)>
        ShowDoubleDialog;
};

// The dialogs the GUI has set; all empty without a GUI.
TPlistDialogs& PlistDialogs();

// The outline of a compartment: the first and last sections and the lines through their matching
// corners, shown instead of the sections while the entity is shown as a compartment.
class TCompartmentRepresentation : public TPolylistRepresentation {
public:
    // Starts hidden.
    explicit TCompartmentRepresentation(TGeometry& AGeometry);

    // Visible, not being rebuilt, and the entity is not being edited.
    bool CanDraw() const override;

protected:
    void Rebuild() override;
};

class TGeoPList : public TGeoDraggable {
public:
    // An empty list, undoable and sectioned by plane entities, permeability 1.
    TGeoPList();
    ~TGeoPList() override;

    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoPList>(); }
    static std::string GetKeyword() { return "TPolylineList"; }
    static int GetImageIndex() { return 55; }
    // When every selected entity is a polyline list: the display switches and "Explode All Polylists".
    static void AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List);
    // COMPARTMENT (or POLYLIST) and CMIRROR blocks (naval/Compartment.cpp).
    static bool CreateFromMacro(TMacroFile& Macro, TGeometryList& List);
    // The block whose opening line is the macro's current line; errors are raised through the macro.
    static void ReadCompartmentMacro(TMacroFile& Macro, TGeometryList& List);
    static void ReadMirrorMacro(TMacroFile& Macro, TGeometryList& List);

    TPolylineList& Polylines() const { return *FPolylines; }
    // The current index, kept inside the list when it has shrunk.
    int GetCurrentIndex() const;
    // The polyline at the current index; nullptr when the list is empty.
    TPolyline* CurrentPolyline() const;
    // Ignored outside 0 .. Count - 1; the frame is refreshed.
    void SetCurrentPolyline(int Index);
    bool ShowAsCompartment() const { return Representation->GetVisible(); }
    void SetShowAsCompartment(bool Value);
    bool GetShowDirection() const { return ShowDirection; }
    void SetShowDirection(bool Value);
    double GetPermeability() const { return Permeability; }
    void SetPermeability(double Value);
    // By the station of each polyline (the x of its last point), as one change.
    void SortSections();
    TCompartmentRepresentation& CompartmentRepresentation() const { return *Representation; }

    // ---- Section tools of the popup menu ----
    // Each polyline gets a first and a last point on the centre plane y = 0 where it has none.
    void CloseHull();
    // Drops end points that lie on y = 0.
    void UncloseHull();
    void ClosePolylines();
    void UnclosePolylines();
    // Drops the deck end of each section when it lies on y = 0 (the higher end).
    void UncloseDeck();
    void SortByX();
    void SortByXAndDefineStart();
    void MakeUniqueSections();
    void ReversePointsOrder();
    // Through the vertex dialog.
    void ChangeVertexSpacing();
    // Through the section-spacing dialog.
    void ChangeSectionSpacing();
    // Through the slice dialog; see Slice(Plane, Close).
    void Slice();
    // Replaces this entity by the polyline lists on both sides of Plane, as one undo step. This entity
    // is freed: nothing may touch it afterwards.
    void Slice(const TMPlane& Plane, bool Close);
    // Asks for the tolerance; a text that is not a number throws EConvertError.
    void WeldPolylines();
    // Joins polylines whose ends lie within Tolerance. When one polyline results, a polyline entity
    // replaces this one (which is then freed).
    void WeldPolylines(double Tolerance);
    void AddShellThickness();
    // Every polyline offset in the y-z plane by Thickness, as one change.
    void AddShellThickness(double Thickness);
    void GenerateWebFrames();
    // A new polygon list of web frames; nothing when Depth or Thickness is 0.
    void GenerateWebFrames(double Depth, double Thickness);
    // Replaces this entity by one polyline entity per polyline. This entity is freed.
    void Explode();
    void GeneratePolygonMesh();
    // A new polygon list skinned between the sections, with the end sections capped as asked.
    void GeneratePolygonMesh(const TPolyMeshOptions& Options);
    // Replaces this entity by a point cloud of all its points. This entity is freed.
    void ConvertToPointCloud();
    // A new polyline list of the contour lines as they are shown.
    void ExtractContours();
    void ToggleShowDirection() { SetShowDirection(!ShowDirection); }
    void ToggleCompartmentOutline() { SetShowAsCompartment(!ShowAsCompartment()); }

    // ---- Operations of the frame ----
    // Coordinate Axis (0 x, 1 y, 2 z) of point Index of the current polyline becomes Value.
    void SetPointCoordinate(int Index, int Axis, double Value);
    // Inserts before point Index of the current polyline: before the first point its reflection in
    // the second (2 * first - second), elsewhere the midpoint of the two points around the gap.
    void InsertPointBefore(int Index);
    // Inserts after point Index: after the last point 2 * last - second-last, elsewhere the midpoint.
    void InsertPointAfter(int Index);
    // Points First .. Last of the current polyline become its selected points, the rest not.
    void SelectPointRange(int First, int Last);
    // Removes the current polyline, only while the list holds 4 or more.
    void DeleteCurrentPolyline();

    // ---- Overrides ----
    TDataObject GetDataObject() override { return TDataObject::Of(FPolylines.get()); }
    void UpdateMenuItems(TMenuItem& Root) override;
    void AddMenuItems(TMenuItem& Root) override;
    // The current polyline's points.
    int GetPointCount() override;
    TRPoint* GetPoint(int Index) override;
    std::uint8_t GetSelectionType() override { return 7; }
    void InvalidateRepresentations() override;
    void AddSnapPoints(TGeometrySnapInfo& Request) override;
    // Symmetric about y = 0 when mirrored.
    TMBox CalculateExtents() override;
    IGeometryFrame* CreateFrame(void* Owner) override;
    // "Name.PERMEABILITY=<expression>" sets the permeability as one change.
    bool ExecuteMacroCommand(TMacroFile& Macro) override;
    void Transform(const TMMatrix& M) override;
    // The base, then the polylines, the permeability and the compartment outline switch, as the
    // block keeps them (not the direction marks or the current index).
    void Assign(const TGeometry& Source) override;
    // Over every vertex and, when mirrored, its mirror image; the compartment outline while shown so.
    double DistanceToPoint(TPoint ScreenPoint, IGraphics& View) override;
    bool InRect(const TRect& Rect, IGraphics& View) override;
    std::unique_ptr<TPolyline> IntersectPlane(const TMPlane& Plane) override;
    void Draw(IGraphics& View) override;
    void DrawOutline(IGraphics& View) override;
    void DrawSimplified(IGraphics& View) override { DrawBox(View); }
    // "[TPolylineList]", the polylines, then "Mirrored=TRUE", "Name=", "Permeability=" (always),
    // "DrawContours=TRUE", "ShowAsCompartment=TRUE", "Color=" where they apply, and an empty line.
    void SaveToText(TTextWriter& Out) override;
    // The polylines, then key lines up to the empty line; an unknown key is reported and passed
    // over, and a line opening a block ends this one without being taken.
    void LoadFromText(TTextReader& In) override;
    // The sections sorted, oriented and skinned, as triangles.
    std::unique_ptr<TPolygonList> CreatePolygonRepresentation(std::uint8_t Purpose) override;
    // Deletes selected points of the current polyline while more than two remain, as one change.
    void DeleteSelectedPoints() override;
    void UpdateFrame() override;
    // Kind 13 gets the whole list, kind 4 each polyline.
    void Query(TGeometryQuery& Query) override;
    void HandleMessage(TGeoMessage& Message) override;
    void BeginDrag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
                   const TMVector& Offset) override;
    void Drag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
              const TMVector& Offset) override;
    void EndDrag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
                 const TMVector& Offset) override;

private:
    void DrawLists(IGraphics& View, bool InColour);
    // The polylines replaced by Source as one change.
    void ReplacePolylines(const TPolylineList& Source);
    // Body inside a snapshot, erase, mark changed and redraw.
    template <class F>
    void ChangePolylines(F Body);
    IPlistFrame* PlistFrame() const;

    std::unique_ptr<TPolylineList> FPolylines;
    bool ShowDirection = false;
    double Permeability = 1.0;
    std::unique_ptr<TCompartmentRepresentation> Representation;
    int CurrentIndex = 0;
    std::unique_ptr<TPolyline> DragCopy;
};

}  // namespace sarnova
