// The main window: the frame of the document windows. It holds the menus, the toolbar and the actions
// that act on the active document window, the docking areas of the tool windows, the status bar and
// the notification hub. It owns no document; every document action goes to the active document
// window. Enabled and checked states are worked out again whenever the event loop falls idle.
#pragma once
#include <QMainWindow>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "foundation/Graphics.h"
#include "platform/Menu.h"
#include "controls/VkDockPanel.h"

class QAction;
class QActionGroup;
class QCloseEvent;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace sarnova {

class TFileManager;
class TGeometryList;
class TFormSave;
class TGeometryServer;
class TMainForm;
class TVkDockingInterface;
class TVkPaintFormClient;
class TVkStatusBar;

// What the main window asks of a document window and forwards to it. The document window (a widget in
// the document area) implements it.
class IDocumentWindow {
public:
    virtual ~IDocumentWindow() = default;

    // The window's document object.
    virtual TGeometryList* Document() = 0;
    // Its file manager's SetFileName with Name, then DoOpenFile: the document is loaded.
    virtual void OpenFile(const std::string& Name) = 0;
    // The file manager's modified flag.
    virtual bool IsModified() const = 0;
    // The file the document was loaded from or saved to last; empty while it has none.
    virtual std::string FileName() const { return {}; }
    // The model point under the mouse that the window's view reported last.
    virtual TMVector GetMouseLocation() const { return {}; }
    virtual bool CanUndo() const = 0;
    virtual bool CanRedo() const = 0;
    virtual bool CanPrintToScale() const = 0;
    // Whether the window has a macro editor and it is showing.
    virtual bool IsMacroEditorShowing() const = 0;
    // The interaction mode of the window's view.
    virtual TInteractionMode GetInteractionMode() const = 0;
    virtual void SetInteractionMode(TInteractionMode Mode) = 0;
    virtual void ApplySettings() = 0;
    // The window's own menus (File, Edit, Create, Calculation, Tools), shown in place of the frame's
    // File and Edit while the window is active.
    virtual std::vector<QMenu*> Menus() = 0;

    virtual void Save() = 0;
    virtual void Print() = 0;
    virtual void PrintToScale() = 0;
    virtual void Undo() = 0;
    virtual void Redo() = 0;
    virtual void CopySelection() = 0;
    virtual void PasteClipboard() = 0;
    virtual void DeleteSelection() = 0;
    virtual void ZoomIn() = 0;
    virtual void ZoomOut() = 0;
    virtual void ZoomAll() = 0;
    virtual void ZoomSelection() = 0;
    virtual void ZoomPrevious() = 0;
    virtual void StartZoom() = 0;
    virtual void StartZoomWindow() = 0;
    virtual void StartPan() = 0;
    virtual void StartRotateView() = 0;
    virtual void StartSelectEdit() = 0;
    virtual void TranslateSelection() = 0;
    virtual void ScaleSelection() = 0;
    virtual void RotateSelection() = 0;
    virtual void MirrorSelection() = 0;
    virtual void ShowMacroEditor() = 0;
    // The undo manager's information form.
    virtual void ShowUndoInformation() = 0;
};

// Makes a new document window with an empty "untitled.geo" document, in the interaction mode its
// creation sets. The widget must implement IDocumentWindow. Registered by the document window's
// module; while it is empty no document window can be opened and New and Open stay disabled.
using TDocumentWindowFactory = std::function<QWidget*(TMainForm& MainForm)>;
extern TDocumentWindowFactory GDocumentWindowFactory;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* Parent = nullptr);
    ~TMainForm() override;

    // ---- Derived values ----
    // The active child of the document area when it is a document window, else none.
    IDocumentWindow* ActiveDocumentWindow() const;
    // The interaction mode of the active document window's view; imNone without one.
    TInteractionMode ActiveInteractionMode() const;
    // The hub's owner callback: the active document window's document, or Document left as it is.
    void GetActiveDocument(TGeometryList*& Document) const;
    // Every open document window, in creation order.
    std::vector<IDocumentWindow*> DocumentWindows() const;

    // ---- Operations ----
    // Sets Mode on the view of every open document window.
    void SetInteractionModes(TInteractionMode Mode);
    // Refreshes the status bar, then every document window takes the settings again.
    void ApplySettings();
    void UpdateStatusBar();
    // Open dialog, then a new document window that loads the chosen file. A file that is open already
    // is not loaded twice: its window becomes the active one.
    void OpenDocument();
    // A new document window that loads Name and takes the toolbar's mode (recent-file menus); the
    // window of an open file is activated instead.
    void OpenDocumentFile(const std::string& Name);
    // The open document window holding the file Name (the same file by any path), or none.
    IDocumentWindow* FindDocumentWindow(const std::string& Name) const;
    // Brings the window of the open file Name to the front; false when the file is not open.
    bool ActivateDocumentWindow(const std::string& Name);
    // A new document window with an empty document, in the toolbar's mode.
    void NewDocument();
    // A new document window in the document area; nullptr while no factory is registered.
    IDocumentWindow* CreateDocumentWindow();
    // The idle-time update of every action's enabled and checked state.
    void UpdateActions();
    // The tool window of a saved desktop name, made on first use; Control is left as it is for a
    // name that is not a tool window of the program.
    void ReloadDockedControl(QObject* Sender, const std::string& Name, QWidget*& Control);

    // While a document window is active its menus take the place of the File and Edit menus; an
    // empty list puts the frame's own back.
    void MergeDocumentMenus(const std::vector<QMenu*>& Menus);

    // ---- Status bar and modelling switches (MainUnitStatus.cpp) ----
    // Window's modified state and mouse location, and the switch panels lit by the settings.
    void ShowDocumentStatus(IDocumentWindow& Window);
    // No document: the document panels empty, the switch panels all grey.
    void ClearDocumentStatus();
    void ShowCoordinates(IDocumentWindow& Window);
    void ShowStatusMessage(const std::string& Text);
    // Each switch changes the settings, applies them to every window and saves them. Turning a snap
    // on turns 3-D editing on with it.
    void ToggleGrid();
    void ToggleGridSnap();
    void ToggleObjectSnap();
    void Toggle3DEditing();
    void ToggleHighlighting();
    // Off goes to curves, curves and control points go off.
    void ToggleElastic();
    void SetElasticMode(int Mode);

    // ---- Components ----
    std::unique_ptr<TGeometryServer> GeometryServer;
    // Stores the window's placement when the window is destroyed; a child of the window.
    TFormSave* MainFormPosition;
    QMdiArea* MdiArea;
    QToolBar* ToolBar1;
    TVkMainDockPanels DockPanels;

    TVkDockingInterface* VkDockingInterface1;
    TVkPaintFormClient* VkPaintFormClient1;
    TVkStatusBar* VkStatusBar1;
    QMenu* SnapPopupMenu;
    QMenu* HighlightPopupMenu;
    QMenu* ElasticPopupMenu;

    QMenu* File1;
    QMenu* Edit1;
    QMenu* EditorToolWindows1;
    QMenu* Window1;
    QMenu* Help1;
    // The File menu as the recent-file list sees it: the hidden "MRU" item after which the recent
    // documents are listed, in front of Exit.
    TMenuItem FileMenuItems;
    // Keeps only the recent-file list, shared with the document windows through its registry key.
    std::unique_ptr<TFileManager> FileManager1;

    QAction* NewFileAction;
    QAction* OpenFileAction;
    QAction* SaveAction;
    QAction* PrintAction;
    QAction* PrintToScaleAction;
    QAction* ExitAction;
    QAction* UndoAction;
    QAction* RedoAction;
    QAction* CopyAction;
    QAction* PasteAction;
    QAction* DeleteAction;
    QAction* ZoomInAction;
    QAction* ZoomOutAction;
    QAction* ZoomAllAction;
    QAction* ZoomSelectionAction;
    QAction* ZoomPreviousAction;
    QAction* ZoomAction;
    QAction* ZoomWindowAction;
    QAction* PanAction;
    QAction* RotateViewAction;
    QAction* SelectEditAction;
    QAction* TranslateAction;
    QAction* ScaleAction;
    QAction* RotateAction;
    QAction* MirrorAction;
    QAction* MacroAction;
    QAction* HydrostaticsAction;
    QAction* SelectionDockerAction;
    QAction* PropertiesAction;
    QAction* PermeabilitiesAction;
    QAction* HierarchyAction;
    QAction* GroupsAction;
    QAction* OpeningsAction;
    QAction* ErrorsAction;
    QAction* CalculatorAction;
    QAction* ConsoleAction;
    QAction* HelpAction;
    QAction* StatusBarAction;
    QAction* AboutAction;
    QAction* WebsiteAction;
    QAction* ShowDockersInformationAction;
    QAction* ShowUndoInformationAction;
    QAction* WindowCascadeAction;
    QAction* WindowTileHorizontalAction;
    QAction* WindowTileVerticalAction;
    QAction* WindowCloseAction;
    // The five mode actions: at most one is checked.
    QActionGroup* ModeGroup;

    QAction* ToggleSnappingAction;
    QAction* ToggleHighlightingAction;
    QAction* PointSnapAction;
    QAction* CurveSnapAction;
    QAction* SurfaceEdgeSnapAction;
    QAction* PolylineListSnapAction;
    QAction* PolygonListSnapAction;
    QAction* PolylineHighlightAction;
    QAction* CurveHighlightAction;
    QAction* BSplineCurveHighlightAction;
    QAction* SurfaceHighlightAction;
    QAction* MeshHighlightAction;
    QAction* BSplineSurfaceHighlightAction;
    QAction* PolylineListHighlightAction;
    QAction* PolygonHighlightAction;
    QAction* ElasticOffAction;
    QAction* ElasticCurvesAction;
    QAction* ElasticControlPointsAction;

protected:
    // The document windows close first, in creation order; one that refuses (its unsaved-changes
    // question answered Cancel) keeps itself, the later ones and the program open.
    void closeEvent(QCloseEvent* Event) override;
    // The floating tool windows of the last run were shown before the main window: once it is on the
    // screen they are brought in front of it, where a window manager would otherwise not put them.
    void showEvent(QShowEvent* Event) override;

private:
    QAction* MakeAction(const char* Name, const char* Caption, const QKeySequence& Shortcut,
                        std::function<void()> Execute);
    // The action runs on the active document window, when there is one.
    QAction* MakeWindowAction(const char* Name, const char* Caption, const QKeySequence& Shortcut,
                              void (IDocumentWindow::*Operation)());
    QAction* MakeModeAction(const char* Name, const char* Caption, std::function<TInteractionMode()> Mode,
                            void (IDocumentWindow::*Start)());
    void BuildMenus();
    void BuildToolBar();
    // Gives a new window the mode of the checked mode action; none checked leaves its own.
    void ApplyToolbarMode(IDocumentWindow& Window);
    void TileSubWindows(bool Horizontally);
    void FillWindowMenu();
    void BuildModellingActions();
    void BuildStatusBar();
    void UpdateModellingActions();
    // Every window takes the settings again, then they are saved.
    void ModellingSettingsChanged();

    std::vector<QMenu*> MergedMenus;
    std::vector<QAction*> WindowListActions;
    bool UpdatingActions = false;
};

// The main window while it exists; document and tool windows find the hub through it.
extern TMainForm* GMainForm;

}  // namespace sarnova
