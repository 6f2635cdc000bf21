// The document entity: the base class TGeometry that every curve, surface, mesh, plane, group and
// placeholder derives from, with the messages that lists broadcast about their entities, the hooks
// through which observers, property frames and shaded renderers attach to an entity, and the class
// reference through which the registry, the file reader and the menus handle entity classes.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeinfo>
#include <vector>

#include "foundation/Colors.h"
#include "foundation/Graphics.h"
#include "foundation/GeomInfo.h"
#include "foundation/VkMaths.h"

namespace sarnova {

class TGeometry;
class TGeometryContours;
class TGeometryList;
class TGeometryReference;
class TMenuItem;
class TMacroFile;
class TRPoint;
class TPolyline;
class TPolygonList;
class TGeometryQuery;
class TGeometrySnapInfo;
class TSarnovaSettings;
// The document text file, read and written by the entity blocks.
class TTextReader;
class TTextWriter;

// The class name of a type as the program shows it, without namespaces: "TGeoPline".
std::string ClassNameOf(const std::type_info& Type);

// ---- Messages ----

// A notification broadcast through an entity list to its entities and to the list's OnMessage
// handler. Receivers tell messages apart by their class (dynamic_cast) and ignore the rest. The
// sender hands the message to TGeometryList::SendMessage or TGeometry::SendMessage and never touches
// it again.
class TGeoMessage {
public:
    virtual ~TGeoMessage();

    // The entity or list that sent it; at most one of the two is set.
    TGeometry* SenderGeometry = nullptr;
    TGeometryList* SenderList = nullptr;
    // The list through which it is broadcast; set by TGeometryList::SendMessage.
    TGeometryList* List = nullptr;

    bool HasSender() const { return SenderGeometry != nullptr || SenderList != nullptr; }
};

// The contents of the list changed: an entity was added, removed, moved or changed, or the list was
// cleared. The list validates its entities after the broadcast.
class TGeoListChange : public TGeoMessage {};
// Another document became the active one.
class TGeoActiveListChange : public TGeoMessage {};
// The selection, a name or a display state changed and nothing else.
class TGeoSelectionChange : public TGeoMessage {};
// The selected entities are about to be deleted.
class TGeoClearingSelection : public TGeoMessage {};
// An entity's popup menu is about to be shown: windows take an entity menu they inserted out again.
class TGeoClearSarnovaPopup : public TGeoMessage {};
// One entity applied a change outside an update bracket.
class TGeoGeometryChange : public TGeoMessage {};
// The user asked for the attributes panel.
class TGeoShowAttributesPanel : public TGeoMessage {};
// Entities of one kind select themselves.
class TGeoSelectPolylines : public TGeoMessage {};
class TGeoSelectArcs : public TGeoMessage {};
class TGeoSelectCircles : public TGeoMessage {};
class TGeoSelectPlanes : public TGeoMessage {};
class TGeoSelectBSplines : public TGeoMessage {};
class TGeoSelectPolyLists : public TGeoMessage {};
class TGeoSelectCurves : public TGeoMessage {};
class TGeoSelectSurfaces : public TGeoMessage {};
class TGeoSelectMeshes : public TGeoMessage {};
class TGeoSelectBSplineSurfaces : public TGeoMessage {};
class TGeoSelectPolygons : public TGeoMessage {};
class TGeoSelectPrimitives : public TGeoMessage {};
class TGeoSelectOpenGroups : public TGeoMessage {};
class TGeoSelectClosedGroups : public TGeoMessage {};
class TGeoSelectOpenings : public TGeoMessage {};
// Before and after entities are copied or moved into a list.
class TGeoPreCopyMessage : public TGeoMessage {};
class TGeoPostCopyMessage : public TGeoMessage {};
class TGeoPrePasteMessage : public TGeoMessage {};
class TGeoPostPasteMessage : public TGeoMessage {};

// ---- Hooks ----

// The name with every control character made "_": such a character would keep the document file
// from opening again.
std::string NameWithoutControls(std::string Name);

// Something that watches one entity (a reference held by another entity, a window). The entity calls
// DoChanging before it changes, Modified when the change is marked, DoChanged when it is applied and
// TargetDestroyed while it is being freed. A call may unregister (or free) the observer.
class TGeometryObserver {
public:
    virtual ~TGeometryObserver();
    virtual void DoChanging() = 0;
    virtual void Modified() = 0;
    virtual void DoChanged() = 0;
    virtual void TargetDestroyed() = 0;
};

// A property frame that shows one entity in the attributes panel. The GUI makes frames through the
// creators it registers by frame name; the entity keeps the open one until FreeFrame.
class IGeometryFrame {
public:
    virtual ~IGeometryFrame();
    // The default frame (class, name, colour), which the base entity refreshes itself.
    virtual bool IsDefaultFrame() const = 0;
    // Shows the entity's present state.
    virtual void Refresh() = 0;
    // The entity is being freed; the frame must not touch it again.
    virtual void GeometryDestroyed() = 0;
};

// Makes a frame for Geometry inside Owner, the GUI's parent widget (opaque to the model).
using TFrameCreator = std::function<IGeometryFrame*(TGeometry& Geometry, void* Owner)>;
// The GUI registers one creator per frame name ("DefaultGeometryFrame", "GUnknownFrame", ...).
void RegisterGeometryFrame(const std::string& FrameName, TFrameCreator Creator);
// A new frame from the registered creator; nullptr when the name has none (no GUI, as in tests).
IGeometryFrame* CreateGeometryFrame(const std::string& FrameName, TGeometry& Geometry, void* Owner);
inline const char* const DefaultGeometryFrameName = "DefaultGeometryFrame";

// The shaded image of an entity in the rendered display state, which the views draw in immediate mode
// from the data it keeps between rebuilds.
class IShadedRenderer : public IRenderable {
public:
    // Also draw the copy mirrored in y = 0.
    virtual void SetMirrored(bool Value) = 0;
    // Rebuilds the image from the entity's present geometry.
    virtual void Rebuild() = 0;
    // The material of the next Render: diffuse and specular colour and shininess.
    virtual void SetMaterial(TColor Diffuse, TColor Specular, double Shininess) = 0;
};

// The program settings, or their defaults where the program's settings were never made (tools, tests).
const TSarnovaSettings& CurrentSettings();

// The colours one entity is drawn in, from the settings and the entity's state.
class TGeometryColors {
public:
    explicit TGeometryColors(const TGeometry& AGeometry) : Geometry(AGeometry) {}
    // SelectColor when selected or highlighted and not editing; else the entity's own colour when it
    // is editing or no entity of its list is; else NonEditColor (the rest is dimmed during an edit).
    TColor DrawColor() const;
    TColor BackColor() const;
    TColor ControlPolygonColor() const;
    TColor StartColor() const;
    TColor SelectColor() const;
    TColor NonEditColor() const;

private:
    const TGeometry& Geometry;
};

// One editable point of an entity as the views and hit tests see it.
class TPointInfo {
public:
    explicit TPointInfo(TGeometry* AGeometry) : Geometry(AGeometry) {}
    virtual ~TPointInfo();

    TGeometry* Geometry;
    TMVector Point;
    TPoint ScreenPoint;  // valid after a fill with a view
    bool Visible = true;
    bool Selected = false;
    int Index = 0;

    virtual bool IsVisible() const { return Visible; }
    virtual bool IsSelected() const { return Selected; }
    virtual TMVector GetPoint() const { return Point; }
    virtual TPoint GetScreenPoint() const { return ScreenPoint; }
    virtual int GetIndex() const { return Index; }
    virtual void SetSelected(bool Value) = 0;

    // Stores the three; with a view, ScreenPoint := the view's screen position of APoint.
    void SetPoint(const TMVector& APoint, bool ASelected, bool AVisible, IGraphics* View);
};

// A point handle backed by a TRPoint, whose mark flag is its selection.
class TRPointInfo : public TPointInfo {
public:
    using TPointInfo::TPointInfo;
    TRPoint* RPoint = nullptr;

    // Selects through the held point's mark flag; nothing without a point.
    void SetSelected(bool Value) override;
    // Holds the point; for nullptr the zero vector, not selected, not visible.
    void SetRPoint(TRPoint* APoint, IGraphics* View, bool AVisible);
};

// A kernel object handed out by an entity (TGeometry::GetDataObject): its address and exact type.
struct TDataObject {
    void* Object = nullptr;
    const std::type_info* Type = nullptr;

    template <class T>
    static TDataObject Of(T* P) {
        return P ? TDataObject{P, &typeid(*P)} : TDataObject{};
    }
    explicit operator bool() const { return Object != nullptr; }
};

// ---- Entity classes ----

// The class-level side of an entity class: what the registry, the document reader and the menus ask
// of a class without an instance. Obtain it with GeometryClassOf<T>().
class TGeometryClass {
public:
    virtual ~TGeometryClass();
    virtual std::string ClassName() const = 0;
    // The file keyword of the class's blocks and its key in the registry.
    virtual std::string GetKeyword() const = 0;
    // Display name: the class's own when it declares one, else made from the keyword
    // ("TBSplineSurface" gives "BSpline Surface").
    virtual std::string GetDescription() const;
    virtual int GetMenuOrder() const = 0;
    virtual int GetImageIndex() const = 0;
    virtual void AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List) const = 0;
    virtual void AddToolsMenuItems(TMenuItem& Menu, TGeometryList& List) const = 0;
    virtual void AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List) const = 0;
    // Offered the macro's current line; true when the class took it.
    virtual bool CreateFromMacro(TMacroFile& Macro, TGeometryList& List) const = 0;
    // The virtual constructor.
    virtual std::unique_ptr<TGeometry> Create() const = 0;
    // Whether G is of this class or of a class derived from it.
    virtual bool IsInstance(const TGeometry& G) const = 0;
};

// Description from a keyword: the keyword without its first character (only for two or more), with a
// blank before every capital that follows a small letter ("TN-SidedPatch" gives "N-Sided Patch").
std::string DescriptionFromKeyword(const std::string& Keyword);

// The key of an entity command line "Name.Key=Value": the text between the first "." and the first
// "=" (the end of the line without one), trimmed and upper-cased. "P1.NAME=RedColor" has the key
// NAME, whatever the name or the value holds.
std::string MacroCommandKey(const std::string& Line);

// The class reference of entity class T. Its class-level operations are T's static members of the
// same names; a class that does not declare one inherits its base's. A class whose display name is
// not the keyword's declares it as a static ClassDescription().
template <class T>
class TGeometryClassOf final : public TGeometryClass {
public:
    std::string ClassName() const override { return ClassNameOf(typeid(T)); }
    std::string GetKeyword() const override { return T::GetKeyword(); }
    std::string GetDescription() const override {
        if constexpr (requires { T::ClassDescription(); })
            return T::ClassDescription();
        else
            return TGeometryClass::GetDescription();
    }
    int GetMenuOrder() const override { return T::GetMenuOrder(); }
    int GetImageIndex() const override { return T::GetImageIndex(); }
    void AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List) const override {
        T::AddCreateMenuItems(Menu, List);
    }
    void AddToolsMenuItems(TMenuItem& Menu, TGeometryList& List) const override {
        T::AddToolsMenuItems(Menu, List);
    }
    void AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List) const override {
        T::AddSelectionMenuItems(Menu, List);
    }
    bool CreateFromMacro(TMacroFile& Macro, TGeometryList& List) const override {
        return T::CreateFromMacro(Macro, List);
    }
    std::unique_ptr<TGeometry> Create() const override { return std::make_unique<T>(); }
    bool IsInstance(const TGeometry& G) const override {
        if constexpr (std::is_same_v<T, TGeometry>)
            return true;
        else
            return dynamic_cast<const T*>(&G) != nullptr;
    }
};

template <class T>
const TGeometryClass& GeometryClassOf() {
    static const TGeometryClassOf<T> Class;
    return Class;
}

// ---- The entity ----

// Capability bits: what a class supports. Classes OR theirs into the inherited value.
inline constexpr std::uint16_t cpPointEditing = 0x0001;    // BeginEdit works, "Edit" in the popup menu
inline constexpr std::uint16_t cpUndoable = 0x0002;        // undo snapshots; the registry may clone it
inline constexpr std::uint16_t cpClickPick = 0x0004;       // picked by a click
inline constexpr std::uint16_t cpRectPick = 0x0008;        // picked by a rectangle
inline constexpr std::uint16_t cpAllMouseMoves = 0x0010;   // every mouse move, enter and leave
inline constexpr std::uint16_t cpKeys = 0x0020;            // keys
inline constexpr std::uint16_t cpInsertPointKey = 0x0040;  // keys; A starts the insert-point mode
inline constexpr std::uint16_t cpInsertKnotKey = 0x0080;   // keys; S starts the insert-knot mode
inline constexpr std::uint16_t cpEdit3D = 0x0100;          // edited in 3-D with the project option
inline constexpr std::uint16_t cpRenderable = 0x0200;      // may take the rendered display state
inline constexpr std::uint16_t cpInternal = 0x0400;        // left out of scale plots and the entity tree
inline constexpr std::uint16_t cpGridSnap = 0x0800;        // grid snapping allowed
inline constexpr std::uint16_t cpObjectSnap = 0x1000;      // object snapping allowed
inline constexpr std::uint16_t cpNoEditMarker = 0x2000;    // no marker at the edited point
inline constexpr std::uint16_t cpDefault = 0x4000;         // set by default; nothing tests it
inline constexpr std::uint16_t cpSectioned = 0x8000;       // sectioned by plane entities

// State bits: edit and display state, written through SetState.
inline constexpr std::uint16_t gsEditing = 0x0001;         // point edit mode
inline constexpr std::uint16_t gsDragging = 0x0002;        // points are being dragged with the mouse
inline constexpr std::uint16_t gsKeyMoving = 0x0004;       // points are being moved with the arrow keys
inline constexpr std::uint16_t gsAxisLock = 0x0008;        // Ctrl held during a drag
inline constexpr std::uint16_t gsInsertPoint = 0x0010;     // insert-point mode
inline constexpr std::uint16_t gsInsertKnot = 0x0020;      // insert-knot mode
inline constexpr std::uint16_t gsMirrored = 0x0040;        // also shown mirrored in y = 0
inline constexpr std::uint16_t gsParameterLines = 0x0080;  // parameter lines shown
inline constexpr std::uint16_t gsContours = 0x0100;        // contour representation shown
inline constexpr std::uint16_t gsCurvature = 0x0200;       // curvature representation shown

// Display states.
inline constexpr std::uint8_t dsNormal = 0;
inline constexpr std::uint8_t dsHidden = 1;
inline constexpr std::uint8_t dsBox = 2;
inline constexpr std::uint8_t dsRendered = 3;

// Common base of entities and interactive creators.
class TGeometryObject : public TEditorInterface {};

// The base of every document entity.
//
// Change protocol, followed by every operation that changes an entity: BeginChange (undo snapshot
// for an undoable entity in a list, observers told), the change, EndChange (marked changed and,
// unless the owner list is updating, applied at once: Recalculate, extents refreshed,
// TGeoGeometryChange broadcast, frame refreshed, observers told). Inside an update bracket the change
// stays pending until the outermost EndUpdate, which applies all of them and sends one message.
//
// An entity belongs to at most one list, which frees it. Class-level operations are static members
// (GetKeyword, GetMenuOrder, ...); every derived class overrides GetClass() to return
// GeometryClassOf<itself>().
class TGeometry : public TGeometryObject {
public:
    TGeometry();
    ~TGeometry() override;
    TGeometry(const TGeometry&) = delete;
    TGeometry& operator=(const TGeometry&) = delete;

    // The class reference of this entity's class.
    virtual const TGeometryClass& GetClass() const;
    std::string ClassName() const { return ClassNameOf(typeid(*this)); }
    std::string GetDescription() const { return GetClass().GetDescription(); }

    // Class-level operations of the base class.
    static std::string GetKeyword() { return {}; }
    static int GetMenuOrder() { return 100; }
    static int GetImageIndex() { return 40; }
    static void AddCreateMenuItems(TMenuItem&, TGeometryList&) {}
    static void AddToolsMenuItems(TMenuItem&, TGeometryList&) {}
    static void AddSelectionMenuItems(TMenuItem&, TGeometryList&) {}
    static bool CreateFromMacro(TMacroFile&, TGeometryList&) { return false; }

    // ---- Editor interface ----
    // 1 with a pick capability, 2 with point editing, 4 with all mouse moves, 8 with keys; in a pick
    // mode (insert point or knot) 1 is replaced by 4.
    std::uint8_t GetEditorFlags() override;

    // ---- Virtual operations ----
    // Enters point editing: nothing when already editing, without cpPointEditing or without a list.
    virtual void BeginEdit();
    virtual void EndEdit();
    virtual std::string GetName() const;
    // The description and, when it has one, the name: how console lines name the entity.
    std::string DescribedName() const;
    // Renames; the same text does nothing. Does not make the name unique (only adding does).
    virtual void SetName(const std::string& Value);
    // The name a list gives the entity as it adds it: the list does not hold the entity yet, so the
    // rename is no change of its own (no undo record, no message) but part of the Add.
    void NameOnAdd(const std::string& Value);
    virtual void SetOwnerList(TGeometryList* List);
    // Stores, redraws and ends a change; a different colour begins the change first, so that it is
    // undoable.
    virtual void SetColor(TColor Value);
    virtual void SetCapabilities(std::uint16_t Value);
    virtual TDataObject GetDataObject();
    virtual std::unique_ptr<TPointInfo> CreatePointInfo();
    // Fills Info for point Index; the base fills a TRPointInfo from GetPoint as visible.
    virtual void GetPointInfo(int Index, TPointInfo& Info, IGraphics* View);
    virtual void UpdateMenuItems(TMenuItem& Root);
    virtual void AddMenuItems(TMenuItem& Root);
    virtual int GetPointCount();
    virtual TRPoint* GetPoint(int Index);
    // Highlight group: 0 none, 1 polyline, 2 curve, 3 B-spline curve, 4 surface, 5 mesh,
    // 6 B-spline surface, 7 polyline list, 8 polygon list.
    virtual std::uint8_t GetSelectionType();
    // Nothing when unchanged or hidden; deselecting ends editing first and frees the popup menu.
    virtual void SetSelected(bool Value);
    virtual void SetDisplayState(std::uint8_t Value);
    // After every TGeoListChange: an entity without extents deletes itself (unless a change is
    // pending or it lives on the clipboard).
    virtual void AfterListChange();
    virtual void Recalculate();
    virtual void InvalidateRepresentations();
    virtual void AddSnapPoints(TGeometrySnapInfo& Request);
    // Box of the points whose point info reports them selected.
    virtual TMBox GetSelectionExtents(IGraphics& View);
    virtual TMBox CalculateExtents();
    // A property frame for the attributes panel; the base asks for the default frame.
    virtual IGeometryFrame* CreateFrame(void* Owner);
    // An entity command line ("Name.Color = Red"): COLOR and NAME are handled here; subclasses
    // handle their own keys first. Errors go through TMacroFile::Error.
    virtual bool ExecuteMacroCommand(TMacroFile& Macro);
    virtual void Transform(const TMMatrix& M);
    // Copies Selected, Color and Name, as plain stores without notification; shows the contour
    // overlay when the source shows its own (without setting gsContours) and hides it when the source
    // does not; takes the mirrored state.
    virtual void Assign(const TGeometry& Source);
    virtual void SelectAllPoints();
    // Screen distance to the nearest point; 1e33 when hidden or without points.
    virtual double DistanceToPoint(TPoint ScreenPoint, IGraphics& View);
    virtual bool InRect(const TRect& Rect, IGraphics& View);
    // The section by a plane as a new polyline; nullptr when the entity has none.
    virtual std::unique_ptr<TPolyline> IntersectPlane(const TMPlane& Plane);
    // Asks the list to draw this entity now (a full re-render when rendered).
    virtual void Redraw();
    // Draws in Colour for once, the entity's own colour put back afterwards.
    virtual void DrawInColor(TColor Colour, IGraphics& View);
    // The hover overlay; entities that have one draw it through DrawHighlightOverlay.
    virtual void DrawHighlighted(IGraphics& View);
    // Asks the list to erase this entity (not when rendered).
    virtual void Undraw();
    // Asks the list for a full re-render. The document hands such a request back here while its view
    // draws an overlay; asked again from inside that hand-off, the views are invalidated instead, so
    // that they render once the overlay is over.
    virtual void RedrawView();
    virtual void Draw(IGraphics& View);
    // Drawing without rebuilding cached data, used for erasing.
    virtual void DrawOutline(IGraphics& View);
    // Quick drawing while the view moves.
    virtual void DrawSimplified(IGraphics& View);
    // The twelve edges of the cached extents, when they have area.
    virtual void DrawBox(IGraphics& View);
    virtual void SaveToText(TTextWriter& Out);
    virtual void LoadFromText(TTextReader& In);
    // Facets for a sampling purpose (6 contour display, 4 queries); nullptr when the entity has none.
    virtual std::unique_ptr<TPolygonList> CreatePolygonRepresentation(std::uint8_t Purpose);
    // Value of an entity property in an expression; throws in the base.
    virtual double Expression(const std::string& PropertyText);
    virtual void DeleteSelectedPoints();
    virtual void FreeFrame();
    // Refreshes the frame when it is the default frame.
    virtual void UpdateFrame();
    virtual void CreateRenderer();
    virtual void DrawRendered(IGraphics& View);
    virtual void FreeRenderer();
    // Passes the mirrored state to the renderer and rebuilds it.
    virtual void UpdateRenderer();
    virtual void Query(TGeometryQuery& Query);
    virtual void HandleMessage(TGeoMessage& Message);

    // ---- State ----
    TGeometryList* GetOwnerList() const { return OwnerList; }
    TColor GetColor() const { return Color; }
    std::uint16_t GetCapabilities() const { return Capabilities; }
    bool HasCapability(std::uint16_t Bits) const { return (Capabilities & Bits) != 0; }
    std::uint16_t GetState() const { return State; }
    void SetState(std::uint16_t Value) { State = Value; }
    std::uint8_t GetDisplayState() const { return DisplayState; }
    bool IsHidden() const { return DisplayState == dsHidden; }
    bool GetSelected() const { return Selected; }
    bool GetHighlighted() const { return Highlighted; }
    bool SelectedOrHighlighted() const { return Selected || Highlighted; }
    // Stores and redraws when it differs.
    void SetHighlighted(bool Value);
    bool IsChangePending() const { return ChangePending; }
    TGeometryColors Colors() const { return TGeometryColors(*this); }
    IGeometryFrame* GetFrame() const { return Rare ? Rare->Frame : nullptr; }
    IShadedRenderer* GetRenderer() const { return Rare ? Rare->Renderer.get() : nullptr; }
    TMenuItem* GetPopupRoot() const { return Rare ? Rare->PopupRoot.get() : nullptr; }

    bool Editing() const { return (State & gsEditing) != 0; }
    // Asks the owner list to make this the edited entity, or to end editing.
    void SetEditing(bool Value);
    void ToggleEditing() { SetEditing(!Editing()); }
    bool Mirrored() const { return (State & gsMirrored) != 0; }
    void SetMirrored(bool Value);

    // The contour overlay, made hidden on first use.
    TGeometryContours& Contours();
    // Whether the overlay exists and is shown.
    bool DrawContours() const;
    // Shows or hides the overlay (state bit gsContours), invalidates the views and refreshes the
    // frame; nothing when unchanged.
    void SetDrawContours(bool Value);

    // The shared point handle of point Index, filled for View; use it at once.
    TPointInfo& PointInfo(int Index, IGraphics* View);

    // The cached extents, recomputed first when they lack area.
    TMBox GetExtents();
    void UpdateExtents();
    // Selected points' box, or the whole extents when that box lacks area.
    TMBox GetFocusExtents(IGraphics& View);

    // ---- Change protocol ----
    void BeginChange();
    // The undo snapshot of BeginChange alone, for a display switch that the block keeps but that is
    // not bracketed as a change of the geometry.
    void RecordChange();
    // The undo snapshot of an entity that follows another one's change (a hull re-fitted to its
    // curves, points sliding along a moved host): it joins the step of that change, also when the
    // following happens later, at the next regeneration outside any update bracket.
    void RecordFollowingChange();
    void MarkChanged();
    void EndChange();
    // Applies a pending change, unless a drag or key edit is under way.
    void ApplyChange();
    void NotifyOwner();
    void RefreshFrame();
    void BeginListUpdate(std::uint8_t Flags);
    void EndListUpdate();

    // Broadcasts through the owner list with this entity as sender; dropped without a list.
    void SendMessage(std::unique_ptr<TGeoMessage> Message);
    void AddObserver(TGeometryObserver* Observer);
    void RemoveObserver(TGeometryObserver* Observer);
    int ObserverCount() const { return Rare ? static_cast<int>(Rare->Observers.size()) : 0; }
    // The references this entity holds to others; each reference enters and leaves itself.
    void AddReference(TGeometryReference* Reference);
    void RemoveReference(TGeometryReference* Reference);
    // Links each reference that only names its target to the entity of exactly that name in the owner
    // list, as a loaded entity's references are linked: a copy or a restored snapshot then follows the
    // target's later renames. Linking changes nothing the entity holds or writes.
    void BindReferences();
    // Files the message under this entity in the owner list's tracker.
    void AddInfoMessage(TInfoMessage Message);
    void ClearInfoMessages();
    // The owner list deletes and frees this entity: nothing may touch it afterwards.
    void DeleteFromList();
    // For an entity about to delete itself for having nothing to show: while its document is being
    // read it is replaced by the block it was read from (this entity is then freed) and true is
    // returned; otherwise false.
    bool KeptAsReadInstead();
    // A registry copy when undoable, else nullptr.
    std::unique_ptr<TGeometry> Clone() const;
    // Mode 0 click, 1 rectangle.
    bool CanPick(int Mode) const;

    // ---- Drawing through the owner list ----
    void DrawEntity(IGraphics& View);
    void Erase(IGraphics& View);
    void DrawPreview(IGraphics& View);
    void InvalidateViews();
    void OfferSnapPoints(TGeometrySnapInfo& Request);

    // ---- Popup menu and frame ----
    // The popup menu, built when missing; nullptr when it would be empty.
    TMenuItem* PopupMenu();
    void CreatePopupMenu();
    void FreePopupMenu();
    TMenuItem* AddMenuItem(const std::string& Caption, std::function<void(TMenuItem&)> OnClick);
    // Under the last item added; nullptr when none was added yet.
    TMenuItem* AddSubMenuItem(const std::string& Caption, std::function<void(TMenuItem&)> OnClick);
    void ShowAttributes();
    IGeometryFrame* CreateFrameFor(void* Owner);

    // The entity's block as it was last read from or written to a document file, whole: what a save
    // writes for it when it cannot be written as it is now. Empty when it never was.
    const std::string& LastGoodBlock() const;
    // Block was just read or written whole for the entity. An entity whose WritesItsBlockFromState
    // keeps no copy of it: until its next change its block is what it writes, and its first change
    // keeps the block of the state before it.
    void KeepLastGoodBlock(std::string_view Block);
    // True for a class whose whole block SaveToText writes from the entity's state, and whose state
    // changes only after RecordChange (BeginChange) or through Assign. Documents hold such entities
    // by the million: a copy of each block would take more memory than the entity.
    virtual bool WritesItsBlockFromState() const { return false; }

protected:
    // What a subclass makes for the few entities that need it (an edit state, pictures), kept with
    // the entity's other rare parts instead of a pointer of its own in every entity.
    struct TSubclassPart {
        virtual ~TSubclassPart() = default;
    };
    enum class TPartSlot : std::uint8_t { Edit, Pictures };
    // The part in Slot; nullptr when none was kept.
    TSubclassPart* FindPart(TPartSlot Slot) const;
    // Keeps Part in Slot, freeing the one there before, and returns it.
    TSubclassPart& KeepPart(TPartSlot Slot, std::unique_ptr<TSubclassPart> Part);
    // Frees the part in Slot: a subclass does so in its destructor, while the entity is still whole
    // down to that subclass.
    void DropPart(TPartSlot Slot) noexcept;

    // Plain stores that keep the holding list's name and selection index in step.
    void StoreName(const std::string& Value);
    void StoreSelected(bool Value);
    // For CreateRenderer overrides: the renderer of the rendered state.
    void SetRenderer(std::unique_ptr<IShadedRenderer> Value);

    TMBox Extents;
    TColor Color;
    std::uint16_t State = 0;
    std::uint16_t Capabilities = 0x400C;
    std::uint8_t DisplayState = dsNormal;

private:
    friend class TGeometryList;

    // What few entities of a large document ever have, made when first needed: a document holds
    // entities by the million.
    struct TRareParts {
        TRareParts();
        ~TRareParts();
        std::unique_ptr<TPointInfo> SharedPointInfo;
        std::vector<TGeometryObserver*> Observers;
        std::vector<TGeometryReference*> References;
        std::unique_ptr<TMenuItem> PopupRoot;
        TMenuItem* LastMenuItem = nullptr;
        IGeometryFrame* Frame = nullptr;
        std::unique_ptr<IShadedRenderer> Renderer;
        std::unique_ptr<TGeometryContours> ContourRepresentation;
        std::string KeptBlock;
        std::array<std::unique_ptr<TSubclassPart>, 2> SubclassParts;
    };
    TRareParts& MakeRare();

    template <class F>
    void NotifyObservers(F Call);
    // Tells the observers that the entity is being freed, while it is still whole.
    void NotifyFreeing();
    void TakeLastGoodBlock();

    // The small fields together, in the padding after DisplayState.
    bool Renaming = false;
    bool ChangePending = true;
    bool Selected = false;
    bool Highlighted = false;
    // Set while RedrawView waits for the list, to notice the list handing the request back.
    bool RedrawingView = false;
    // The last good block is what the entity writes now; TakeLastGoodBlock keeps it before a change.
    bool LastGoodBlockDeferred = false;
    // The entity's position in HoldingList while the list's positions are fresh.
    int HoldingIndex = -1;
    // The hash of the name HoldingList indexes the entity under (its name upper-cased), kept here
    // where it takes no room, so that the list's name table holds nothing but the entities.
    std::uint32_t IndexedNameHash = 0;
    TGeometryList* OwnerList = nullptr;
    // The list that holds this entity and indexes its name and selection; set by the list itself.
    TGeometryList* HoldingList = nullptr;
    std::string Name;
    // Last, so that it goes first: its parts may still look at the entity.
    std::unique_ptr<TRareParts> Rare;
};

// Program-wide clipboard list of copy and paste, made by InitializeSettings and freed by
// FinalizeSettings; nullptr outside them.
extern TGeometryList* GClipboard;

// The hover overlay of Entity: Draw runs with lines 3 pixels wide in the entity's draw colour, so the
// curve under the mouse stands out; the width goes back to 1 afterwards, also when Draw throws.
void DrawHighlightOverlay(const TGeometry& Entity, IGraphics& View, const std::function<void()>& Draw);

}  // namespace sarnova
