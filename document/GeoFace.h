// The document behind one document window: the entity list with undo and redo, its file name and
// modified flag, the link to the window's 3-D view, picking and selection for the view's mouse
// handlers, the multiple-selection popup menu, the on-demand frame table and the names that numbers
// typed into the document or read from its macros may use.
#pragma once
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "document/GeometryList.h"
#include "document/Undo.h"
#include "document/VkExpressionParser.h"
#include "foundation/Keys.h"
#include "foundation/Types.h"

namespace sarnova {

class IOpenGLView;
class TMacroFile;
class TMenuItem;
class TVariableList;

// The undo records of entities. Each names its entity by address (see TUndoObject); the snapshots are
// registry clones, so an entity that cannot be cloned gets records that restore nothing.

// Undoing an entity's creation deletes it from its list.
class TUndoCreateObjectGeometry : public TUndoCreateObject {
public:
    void Capture(void* Object) override;
    std::unique_ptr<TUndo> CreateInverse() override;
    void Apply(void* Object) override;

    TGeometryList* OwnerList = nullptr;
};

// Undoing a change gives the entity back the state it had before, keeping its identity.
class TUndoModifyObjectGeometry : public TUndoModifyObject {
public:
    void Capture(void* Object) override;
    std::unique_ptr<TUndo> CreateInverse() override;
    // Ends any editing but the entity's own, then assigns the snapshot and marks the entity changed.
    void Apply(void* Object) override;

    std::unique_ptr<TGeometry> Snapshot;
};

// Undoing a deletion adds the snapshot back under a unique name, at the place it had in the list (at
// the end when the list has grown shorter than that place since).
class TUndoDestroyObjectGeometry : public TUndoDestroyObject {
public:
    // Also takes the entity's place while its list still holds it.
    void Capture(void* Object) override;
    std::unique_ptr<TUndo> CreateInverse() override;
    void* Apply(void* Object) override;

    TGeometryList* OwnerList = nullptr;
    int Index = -1;
    std::unique_ptr<TGeometry> Snapshot;
};

class TGeometryInterface : public TGeometryList, public IExpressionNames {
public:
    using TEvent = std::function<void(TGeometryInterface* Sender)>;

    // Project options poObjectSnap and po3DEditing.
    TGeometryInterface();
    ~TGeometryInterface() override;

    // Fired by InvalidateViews.
    TEvent OnInvalidate;
    // Fired by every SetModified, also when the value did not change.
    TEvent OnModifiedChange;
    // The window's view; not owned, nullptr until the window sets it.
    IOpenGLView* View = nullptr;
    // The variables of the running macro, owned by the run; nullptr when no macro runs.
    TVariableList* Variables = nullptr;

    bool GetModified() const { return Modified; }
    void SetModified(bool Value);
    // The last file loaded or saved; empty for an untitled document.
    const std::string& GetFileName() const { return FileName; }
    TUndoManager& GetUndoManager() { return *UndoManager; }
    TMenuItem& GetMultipleSelectionMenu() { return *MultipleSelectionMenu; }

    // ---- Overrides of the list ----
    // Also hands the edited entity (or none) to the view as the editor of mouse and keys.
    void SetEditedGeometry(TGeometry* Entity) override;
    // The table of the first frames entity; one is added (and recorded) when there is none.
    TFrames* GetFrames() override;
    // The set of the first contours entity; one is added when there is none.
    TContours* GetContours() override;
    void BeforeChange(TGeometry& Entity) override;
    // Recorded into the step of the change it follows: the open group, else the last step.
    void BeforeFollowingChange(TGeometry& Entity) override;
    void Added(TGeometry& Entity) override;
    void Removed(TGeometry& Entity) override;
    // Empties the undo history too.
    void Clear() override;
    // Every update bracket of the document is one undo group.
    void BeginUpdate(std::uint8_t Flags) override;
    void EndUpdate() override;
    double EvaluateMacroNumber(const std::string& Text, TMacroFile& Macro) override;
    double EvaluateNumber(const std::string& Text) override;
    void InvalidateViews() override;
    void RefreshViews() override;
    void InvalidateGeometry(TGeometry& Entity) override;
    void DrawGeometry(TGeometry& Entity) override;
    void EraseGeometry(TGeometry& Entity) override;
    // Geometry and list changes set the modified flag first.
    void DispatchMessage(TGeoMessage& Message) override;
    // Makes the view's context current first, so that entities may build their display objects.
    void LoadFromText(TTextReader& In) override;

    // ---- Files ----
    // Writes the file (console line "Saving <name>..."); then the name is taken, the history emptied
    // and the modified flag cleared. A failure changes none of them.
    void SaveToFile(const std::filesystem::path& Name);
    // Replaces the contents by the file's, read without recording undo, and takes its name. A file that
    // fails to load leaves an empty, untitled, unmodified document, never part of it under the previous
    // name.
    void LoadFromFile(const std::filesystem::path& Name);
    // Adds the file's entities to the document (console line "Loading <name>..."), recorded as one undo
    // step when recording is on; the entities read before a failure stay.
    void LoadText(const std::filesystem::path& Name);

    // ---- Undo ----
    // One step back or forward, inside an update bracket that records nothing itself.
    void Undo();
    void Redo();
    bool CanUndo() const { return UndoManager->CanUndo(); }
    bool CanRedo() const { return UndoManager->CanRedo(); }
    void RecordUndo(std::unique_ptr<TUndo> Record);

    // ---- Selection ----
    // nullptr when nothing is selected; the entity's own popup for one; else the multiple-selection
    // menu, filled by the entity classes (one disabled "No Actions" item when none adds anything).
    TMenuItem* SelectionPopupMenu();
    // Entities of one kind select themselves, in one update bracket.
    void SelectPolylines();
    void SelectArcs();
    void SelectCircles();
    void SelectPlanes();
    void SelectPolyLists();
    void SelectBSplines();
    void SelectCurves();
    void SelectMeshes();
    void SelectBSplineSurfaces();
    void SelectSurfaces();
    void SelectPolygons();
    void SelectPrimitives();
    void SelectOpenGroups();
    void SelectClosedGroups();
    void SelectOpenings();

    // ---- Picking (Point in window pixels) ----
    // The nearest visible click-pickable entity strictly nearer than Tolerance, the earlier on ties.
    TGeometry* PickNearest(TPoint Point, IGraphics& AView, double Tolerance);
    // The same among the entities of the settings' highlight groups.
    TGeometry* PickNearestHighlightable(TPoint Point, IGraphics& AView, double Tolerance);
    // "<class description>:<name>" of the entity within 30 pixels; empty when there is none.
    std::string EntityHintAt(TPoint Point, IGraphics& AView);
    // The highlightable entity within 30 pixels becomes the highlighted one.
    void UpdateHighlight(TPoint Point, IGraphics& AView);
    // Rubber-band selection: toggles the entities inside Rect; without Ctrl the rest is deselected.
    void SelectInRect(const TRect& Rect, IGraphics& AView, TShiftState Shift);
    // Click selection; true when an entity was selected.
    bool SelectAtPoint(TPoint Point, IGraphics& AView, TShiftState Shift);

    // ---- Macros (document/GeoFaceMacro.cpp) ----
    // Runs Macro from its current line to the end, or to a line "STOP", as one update bracket and so
    // one undo step. Each line goes to the entity classes, then to the entity it names, then to the
    // built-in commands. Console lines "Running Macro <file>..." first, "Ready" and "" last, also when
    // a command fails; the first error ends the run and passes on, what was done before it stays.
    void RunMacro(TMacroFile& Macro);
    // Whether the first word of Line holds a "." that no "=" precedes: "P1.NAME=P2" is, "X=P1.LENGTH"
    // is not.
    static bool IsEntityCommand(const std::string& Line);
    // Hands an entity command to the entity named before its first "." (letter case ignored); false
    // for any other line. Macro error "Entity <name> not found" without such an entity.
    bool ExecuteEntityCommand(TMacroFile& Macro);
    // The built-in commands of the macro's current line.
    void MacroDelete(TMacroFile& Macro);
    void MacroMove(TMacroFile& Macro);
    void MacroRotate(TMacroFile& Macro);
    void MacroMirror(TMacroFile& Macro);
    void MacroScale(TMacroFile& Macro);
    void MacroSelect(TMacroFile& Macro);
    void MacroShow(TMacroFile& Macro);
    void MacroHide(TMacroFile& Macro);

    // ---- Names in numbers ----
    bool FramesDefined() override;
    double FramePosition(double Frame) override;
    const TVariableList* GetMacroVariables() const override { return Variables; }
    std::optional<double> EntityExpression(const std::string& Entity, const std::string& Property) override;

private:
    void Step(bool Forward);
    // Rebuilds what an undo or redo step restored; an entity that cannot be rebuilt keeps its
    // restored state and the console names it.
    void RebuildAfterStep(bool Forward);
    bool SteppingForward = false;
    // Body inside an update bracket of the document, closed also when Body fails.
    template <class F>
    void InBracket(std::uint8_t Flags, F Body);
    template <class TMessage>
    void SelectKind();
    TGeometry* Nearest(TPoint Point, IGraphics& AView, double Tolerance, bool HighlightableOnly);
    // Whether a record made now would be kept, so that snapshots are not cloned in vain.
    bool Recording() const;
    // Draws or erases one entity in an overlay of the view, opened here when none is under way.
    template <class F>
    void InOverlay(F Paint);
    void ResetLineColor();
    // The macro commands INCLUDE (another macro run inside this one) and IMPORT (a document's
    // entities added).
    void MacroInclude(TMacroFile& Macro);
    void MacroImport(TMacroFile& Macro);
    // SHOW and HIDE: ALL, or the display state of each named entity.
    void SetDisplayStates(TMacroFile& Macro, std::uint8_t State);
    // A line no entity class or entity took: a built-in command, an assignment or LISTVARIABLES.
    void ExecuteBuiltIn(TMacroFile& Macro, const std::string& U, int Start);

    std::unique_ptr<TUndoManager> UndoManager;
    std::unique_ptr<TMenuItem> MultipleSelectionMenu;
    bool Modified = false;
    std::string FileName;
    // Set while InvalidateGeometry hands a request back to its entity during an overlay.
    bool HandingBack = false;
    // Macro runs under way, an included one counting as one more.
    int MacroDepth = 0;
};

}  // namespace sarnova
