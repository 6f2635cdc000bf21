// The document window: a child window of the main window's document area that owns one document, shows
// it in its 3-D view and reads and writes it through its file manager. It hands the document's messages
// and drawing passes on to the notification hub, turns clicks, rubber bands and mouse moves in the view
// into picking, selection and highlighting, and builds the view's context menu with the entity list
// and the selected entity's own menu.
#pragma once
#include <QPointer>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

#include "document/Fileman.h"
#include "foundation/VkMaths.h"
#include "platform/Menu.h"
#include "foundation/UserDialogs.h"
#include "shell/MainUnit.h"

class QAction;
class QCloseEvent;
class QMenu;

namespace sarnova {

class IGraphics;
class TGeoMessage;
class TGeometryInterface;
class TAutoSaveTimer;
class TOpenGLView;
class TTextEditForm;
struct TFileFormat;

class TViewform : public QWidget, public IDocumentWindow {
public:
    // The window of MainForm, with an empty "untitled.geo" document. Dialogs asks the file manager's
    // questions and runs its file dialogs; it must outlive the window.
    TViewform(TMainForm& MainForm, IUserDialogs& Dialogs, QWidget* Parent = nullptr);
    // Leaves the hub before the document goes, so that nothing reaches a freed document.
    ~TViewform() override;

    TGeometryInterface& GetDocument() const { return *FDocument; }
    TOpenGLView& GetView() const { return *OpenGLView1; }
    TFileManager& GetFileManager() const { return *FileManager1; }

    // ---- What the main window asks of the window ----
    TGeometryList* Document() override;
    // The file manager takes the name and opens it. A file that fails to load leaves the window
    // untitled (the document is emptied by its loader), so that a save cannot overwrite the file with
    // what little was read; the error goes on to the caller.
    void OpenFile(const std::string& Name) override;
    // The file manager's modified flag, or a change of the document not yet applied: a point drag is
    // applied only when its entity leaves edit mode, and must not be lost by a close before that.
    bool IsModified() const override;
    std::string FileName() const override;
    TMVector GetMouseLocation() const override { return MouseLocation; }
    bool CanUndo() const override;
    bool CanRedo() const override;
    // Only for a document with an entity that scale printing draws.
    bool CanPrintToScale() const override;
    bool IsMacroEditorShowing() const override;
    TInteractionMode GetInteractionMode() const override;
    void SetInteractionMode(TInteractionMode Mode) override;
    // The settings' colours, grid, degradation, auto-save and project options, and a changed rotation
    // style for a view that is rotating.
    void ApplySettings() override;
    // File, Edit, Create, Calculation and Tools.
    std::vector<QMenu*> Menus() override;

    // The file manager saves under the document's name, asking for one while it is untitled.
    void Save() override;
    // The print dialog; once confirmed the selection is cleared and the view printed.
    void Print() override;
    // The modal scale-printing window on the document.
    void PrintToScale() override;
    void Undo() override;
    void Redo() override;
    // The selected entities, copied, become the clipboard's contents.
    void CopySelection() override;
    // The clipboard's selected entities move into the document.
    void PasteClipboard() override;
    // The view takes the focus; an edited entity gets the Delete key, else the selection is deleted.
    void DeleteSelection() override;
    void ZoomIn() override;
    void ZoomOut() override;
    // Before the view can draw, the fit waits for its first drawing.
    void ZoomAll() override;
    // Only with a selection: the view fits the edited entity or the selected ones.
    void ZoomSelection() override;
    void ZoomPrevious() override;
    void StartZoom() override;
    void StartZoomWindow() override;
    void StartPan() override;
    void StartRotateView() override;
    void StartSelectEdit() override;
    // The transform dialogs; a confirmed one moves the selection, or copies of it, as one undo step.
    void TranslateSelection() override;
    void ScaleSelection() override;
    void RotateSelection() override;
    void MirrorSelection() override;
    // Makes the window's macro editor on first use, on this document, and brings it to the front.
    void ShowMacroEditor() override;
    void HideMacroEditor();
    void ShowUndoInformation() override;

    // ---- The window's own operations ----
    // The file manager's name becomes the document's, then Save As.
    void SaveAs();
    // The printer setup dialog of the program's printer.
    void PrintSettings();
    // An item of the Import or Export menu: the format's file dialog, then its reader (and the fit
    // the format asks for) or its writer with the chosen file.
    void ImportFormat(const TFileFormat& Format);
    void ExportFormat(const TFileFormat& Format);
    // Asks the view to repaint.
    void InvalidateView();
    // Takes out an entity menu that an earlier popup put in front of the "&Select" item.
    void RemoveEntityMenu();
    // The entity of an entity-list item becomes the only selected one.
    void SelectObject(const std::string& Name);
    // Enabled and checked states of the window's own actions; run whenever the event loop falls idle.
    void UpdateActions();
    // The context menu is about to open: the entity list of the "&Select" submenu and the selection's
    // own menu are built afresh.
    void PopupMenu1Popup();
    // Adds "Render" to the menu of a single selected entity that may be shown rendered.
    void AddRenderItem(QMenu* EntityMenu);

    // ---- The document's events ----
    void DocumentMessage(TGeoMessage& Message);
    void DocumentDraw(IGraphics& View);
    void DocumentModifiedChanged();

    // The window's macro editor once made; it clears itself when the editor is freed.
    QPointer<TTextEditForm> MacroEditor;

    // The last model position the view reported under the mouse.
    TMVector MouseLocation;

    // ---- Components ----
    TOpenGLView* OpenGLView1;
    std::unique_ptr<TFileManager> FileManager1;
    TOpenDialog OpenDialog1;
    TSaveDialog SaveDialog1;
    // The DXF dialogs keep their last choice between uses.
    TOpenDialog ImpDxf;
    TSaveDialog ExpDxf;
    // Runs the file manager's auto-save while it is enabled.
    TAutoSaveTimer* AutoSaveTimer;

    QMenu* File1;
    QMenu* Import1;
    QMenu* Export1;
    QMenu* Edit1;
    QMenu* Create1;
    QMenu* Calculation1;
    QMenu* Tools1;
    QMenu* PopupMenu1;
    QMenu* Select1;  // the popup's "&Select"
    QMenu* ByType1;
    QMenu* ShowHide1;

    QAction* SaveAsAction;
    QAction* PrintSettingsAction;
    QAction* EditAction;
    QAction* SelectAllAction;
    QAction* SelectNoneAction1;
    QAction* InvertSelectionAction;
    // The popup's own Invert item: an edit disables it without touching the Edit menu's.
    QAction* PopupInvertSelection;
    QAction* CopyClipAction;
    QAction* ForceRedrawAction;
    QAction* PerspectiveAction;
    QAction* HydrostaticsAction;
    QAction* SectionAreaCurveAction;
    QAction* LinesPlanAction;
    QAction* PermeabilityPlotAction;

    // The size a new window opens with in the document area.
    QSize sizeHint() const override { return {640, 480}; }

protected:
    // The close query: the macro editor, then the file manager ask about unsaved changes; Cancel keeps
    // the window, its document and its editor.
    void closeEvent(QCloseEvent* Event) override;
    // Esc in the view with no button held leaves point editing; during a drag it stays the editor's.
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    QAction* MakeAction(const char* Name, const char* Caption, const QKeySequence& Shortcut,
                        std::function<void()> Execute);
    void BuildMenus();
    void BuildPopupMenu();
    void InstallViewEvents();
    void InstallFileManager();
    // The menu item of Format, disabled while the format has no procedure.
    void AddFormatItem(QMenu& Menu, const TFileFormat& Format, void (TViewform::*Run)(const TFileFormat&));
    // Runs a transform dialog and applies what it confirms to the selection.
    void TransformSelection(bool (*Execute)(TMMatrix& Transform, bool& Copy));
    void FormActivate();
    void FormDeactivate();
    // The main window's tool-window actions, in a submenu of Parent.
    QMenu* AddEditorToolWindows(QMenu* Parent);
    // The name the file manager works with: the document's, "untitled.geo" while it has none.
    std::string DocumentFileName() const;

    TMainForm& MainForm;
    IUserDialogs& Dialogs;
    std::unique_ptr<TGeometryInterface> FDocument;
    TMenuItem FileMenuItems;
    TMenuItem CreateMenuItems;
    TMenuItem ToolsMenuItems;
    TMenuItem CalculationMenuItems;
    bool Active = false;
    // A fit waits for the view's rendering context, which it has only once shown.
    bool FitPending = false;
};

// Makes document windows the main window's document windows: New, Open, recent files and the
// command-line document then open in them. Their dialogs are the program's (those the exception
// handler shows its errors with).
void RegisterDocumentWindow();

}  // namespace sarnova
