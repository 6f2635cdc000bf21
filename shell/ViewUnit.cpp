#include "shell/ViewUnit.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>
#include <filesystem>

#include "document/GCustomPline.h"
#include "document/GeoFace.h"
#include "document/GeoFaceMacro.h"
#include "document/Geometry.h"
#include "document/GeometryClasses.h"
#include "document/Settings.h"
#include "document/ui/AutoSaveTimer.h"
#include "document/ui/MirrorForm.h"
#include "document/ui/MoveForm.h"
#include "document/ui/RotateForm.h"
#include "document/ui/ScaleForm.h"
#include "foundation/Console.h"
#include "naval/ui/ExtentsUnit.h"
#include "naval/ui/HydrostaticsForm.h"
#include "naval/ui/LinesPlanUnit.h"
#include "naval/ui/PermForm.h"
#include "naval/ui/SecAreaForm.h"
#include "naval/ui/VolumesUnit.h"
#include "foundation/Keys.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtPrinter.h"
#include "platform/qt/QtUserDialogs.h"
#include "shell/GeometryServer.h"
#include "platform/qt/QtMenus.h"
#include "shell/TextEdit.h"
#include "shell/ViewUnitFormats.h"
#include "views/OpenGLView.h"
#include "views/PlotterUnit.h"

namespace sarnova {

namespace {

const char* const UnSavedFileName = "untitled.geo";
const char* const GeometryFilter = "Geometry File (*.geo)|*.geo";

// The format's title, extension and filter on Dialog; a kept dialog keeps its last file.
void PrepareFormatDialog(TFileDialog& Dialog, const TFileFormat& Format) {
    Dialog.Title = Format.Title;
    Dialog.DefaultExt = Format.DefaultExt;
    Dialog.Filter = Format.Filter;
}

}  // namespace

TViewform::TViewform(TMainForm& AMainForm, IUserDialogs& ADialogs, QWidget* Parent)
    : QWidget(Parent), MainForm(AMainForm), Dialogs(ADialogs) {
    setObjectName("Viewform");

    OpenGLView1 = new TOpenGLView(this);
    OpenGLView1->setObjectName("OpenGLView1");
    auto* Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->addWidget(OpenGLView1);
    OpenGLView1->installEventFilter(this);
    OpenGLView1->SetProjection(cmParallel);
    OpenGLView1->SetEnable(EnableFlag(TEnable::DepthTest));
    OpenGLView1->SetDepthBits(24);
    OpenGLView1->SetStencilBits(0);
    OpenGLView1->SetTextMode(tmBitmap);
    OpenGLView1->AxisIconColor = clWhite;
    OpenGLView1->EditIconColor = clGray;
    OpenGLView1->SnapIconColor = clLime;
    OpenGLView1->SetColor(clBlack);
    OpenGLView1->SetLineColor(clWhite);
    TViewGrid& Grid = OpenGLView1->GetGrid();
    Grid.SetGridSize(2.0);
    Grid.GridStyle = gsLines;
    Grid.SetMajorFrequency(10);
    Grid.MinorLineSize = 1;
    Grid.MajorLineSize = 1;
    Grid.SetEnabled(false);
    Grid.SetMinorColor(clGray);
    Grid.SetMajorColor(clGray);
    OpenGLView1->CopyBackBuffer = true;
    OpenGLView1->SetFieldOfView(35.0);
    OpenGLView1->DefaultLighting = true;
    OpenGLView1->SetAxisIcon(aiModelOrigin);
    OpenGLView1->AdaptiveDegration = adWhenRequired;
    OpenGLView1->AdaptiveDegrationThreshold = 250;
    OpenGLView1->SetPfdFlags(PfdFlag(TPFDFlag::DoubleBuffer) | PfdFlag(TPFDFlag::Draw_To_Window) |
                             PfdFlag(TPFDFlag::Support_OpenGL) | PfdFlag(TPFDFlag::Generic_Accelerated));

    BuildMenus();
    BuildPopupMenu();
    InstallFileManager();

    // Creation: the document, the settings, the class menus, an untitled document, the document's
    // events and view, the rotation mode and the fit to the model.
    FDocument = std::make_unique<TGeometryInterface>();
    ApplySettings();
    if (GGeometryClasses) {
        GGeometryClasses->AddCreateMenuItems(CreateMenuItems, *FDocument);
        GGeometryClasses->AddToolsMenuItems(ToolsMenuItems, *FDocument);
    }
    new TQtMenuMirror(*Create1, CreateMenuItems);
    new TQtMenuMirror(*Tools1, ToolsMenuItems);
    FileManager1->New();

    FDocument->OnInvalidate = [this](TGeometryInterface*) { InvalidateView(); };
    FDocument->OnMessage = [this](TGeoMessage& Message) { DocumentMessage(Message); };
    FDocument->OnDraw = [this](IGraphics& View) { DocumentDraw(View); };
    FDocument->OnModifiedChange = [this](TGeometryInterface*) { DocumentModifiedChanged(); };
    FDocument->View = OpenGLView1;
    InstallViewEvents();
    OpenGLView1->SetInteractionMode(CurrentSettings().RotationMode);
    AddMacroMenuItems(CalculationMenuItems, *FDocument);
    new TQtMenuMirror(*Calculation1, CalculationMenuItems);
    ZoomAll();

    connect(MainForm.MdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* Sub) {
        const bool Mine = Sub != nullptr && Sub->widget() == this;
        if (Mine && !Active)
            FormActivate();
        else if (!Mine && Active)
            FormDeactivate();
    });
    if (QAbstractEventDispatcher* Dispatcher = QAbstractEventDispatcher::instance())
        connect(Dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] { UpdateActions(); });
    UpdateActions();
}

TViewform::~TViewform() {
    if (QAbstractEventDispatcher* Dispatcher = QAbstractEventDispatcher::instance()) Dispatcher->disconnect(this);
    // The view outlives this body (it is a child widget): it must not draw or report into the document.
    OpenGLView1->OnRedraw = nullptr;
    OpenGLView1->OnPreviewRedraw = nullptr;
    OpenGLView1->OnSelectPoint = nullptr;
    OpenGLView1->OnSelectRect = nullptr;
    OpenGLView1->OnSelectionHint = nullptr;
    OpenGLView1->OnMouseLocation = nullptr;
    OpenGLView1->OnHintInformation = nullptr;
    OpenGLView1->OnMouseMove = nullptr;
    OpenGLView1->OnMouseLeave = nullptr;
    OpenGLView1->OnKeyDown = nullptr;
    OpenGLView1->PopupMenu = nullptr;
    OpenGLView1->SetEditorInterface(nullptr);
    // The timer gives the manager back its event, so it goes first.
    delete AutoSaveTimer;
    AutoSaveTimer = nullptr;
    FDocument->OnMessage = nullptr;
    FDocument->OnDraw = nullptr;
    FDocument->OnInvalidate = nullptr;
    FDocument->OnModifiedChange = nullptr;
    FDocument->View = nullptr;
    // The editor runs on the document: it is saved and closed first.
    if (MacroEditor) MacroEditor->CloseWithDocument();
    if (MainForm.GeometryServer) MainForm.GeometryServer->DocumentClosed(FDocument.get());
    // Entity menus hold items of the document's entities.
    RemoveEntityMenu();
    FDocument.reset();
    FileManager1.reset();
    // Another window may be the active one by now: its status stays.
    if (Active) MainForm.ClearDocumentStatus();
}

// ---- Building ----

QAction* TViewform::MakeAction(const char* Name, const char* Caption, const QKeySequence& Shortcut,
                               std::function<void()> Execute) {
    // Keys reach the document window that holds the focus, not the other document windows.
    return CreateCommandAction(*this, Name, Caption, Shortcut, Qt::WidgetWithChildrenShortcut, std::move(Execute));
}

QMenu* TViewform::AddEditorToolWindows(QMenu* Parent) {
    QMenu* Menu = Parent->addMenu("Editor Tool Windows");
    for (QAction* Action : MainForm.EditorToolWindows1->actions()) Menu->addAction(Action);
    return Menu;
}

void TViewform::BuildMenus() {
    SaveAsAction = MakeAction("SaveAsAction", "Save &as...", {}, [this] { SaveAs(); });
    PrintSettingsAction = MakeAction("PrintSettingsAction", "Print Settings...", {}, [this] { PrintSettings(); });
    EditAction = MakeAction("EditAction", "Edit Object", QKeySequence(Qt::Key_F2), [this] {
        if (FDocument->SelectedCount() != 1) return;
        TGeometry* Entity = FDocument->SingleSelection();
        if (Entity) Entity->SetEditing(!Entity->Editing());
    });
    SelectAllAction = MakeAction("SelectAllAction", "Select &All", QKeySequence("Ctrl+A"),
                                 [this] { FDocument->SelectAll(); });
    SelectNoneAction1 = MakeAction("SelectNoneAction1", "Select &None", QKeySequence("Ctrl+N"),
                                   [this] { FDocument->ClearSelection(); });
    InvertSelectionAction = MakeAction("InvertSelectionAction", "&Invert Selection", QKeySequence("Ctrl+I"),
                                       [this] { FDocument->InvertSelection(); });
    CopyClipAction = MakeAction("CopyClipAction", "Copy View to Windows Clipboard", {},
                                [this] { OpenGLView1->CopyToClipboard(); });
    ForceRedrawAction =
        MakeAction("ForceRedrawAction", "Force Redraw", QKeySequence("Ctrl+W"), [this] { OpenGLView1->Render(); });

    File1 = new QMenu("&File", this);
    File1->setObjectName("File1");
    File1->addAction(MainForm.NewFileAction);
    File1->addAction(MainForm.OpenFileAction);
    File1->addAction(MainForm.SaveAction);
    File1->addAction(SaveAsAction);
    Import1 = File1->addMenu("&Import");
    Import1->setObjectName("Import1");
    for (const TFileFormat& Format : ImportFormats()) AddFormatItem(*Import1, Format, &TViewform::ImportFormat);
    Export1 = File1->addMenu("Export");
    Export1->setObjectName("Export1");
    for (const TFileFormat& Format : ExportFormats()) AddFormatItem(*Export1, Format, &TViewform::ExportFormat);
    File1->addAction(MainForm.PrintAction);
    File1->addAction(MainForm.PrintToScaleAction);
    File1->addAction(PrintSettingsAction);
    File1->addAction(MainForm.ExitAction);
    // The recent files: after the hidden "MRU" item, in front of Exit.
    FileMenuItems.Add("MRU").Visible = false;
    new TQtMenuMirror(*File1, FileMenuItems, MainForm.ExitAction);

    Edit1 = new QMenu("&Edit", this);
    Edit1->setObjectName("Edit1");
    for (QAction* Action : {MainForm.UndoAction, MainForm.RedoAction, EditAction, MainForm.CopyAction,
                            MainForm.PasteAction, MainForm.DeleteAction, SelectAllAction, SelectNoneAction1,
                            InvertSelectionAction})
        Edit1->addAction(Action);
    AddEditorToolWindows(Edit1);
    Edit1->addAction(CopyClipAction);
    Edit1->addAction(ForceRedrawAction);

    Create1 = new QMenu("&Create", this);
    Create1->setObjectName("Create1");

    // The calculation windows. The reports and the permeability plot work on any document. The
    // document's macro items follow them.
    Calculation1 = new QMenu("Calculation", this);
    Calculation1->setObjectName("Calculation1");
    HydrostaticsAction =
        MakeAction("HydrostaticsAction", "Hydrostatics...", {}, [this] { OpenHydrostaticTable(FDocument.get()); });
    SectionAreaCurveAction = MakeAction("SectionAreaCurveAction", "Section Area Curves...", {},
                                        [this] { OpenSectionAreaCurve(FDocument.get()); });
    QAction* EntityExtentsAction = MakeAction("EntityExtentsAction", "Entity Extents...", {},
                                              [this] { ShowEntityExtents(FDocument.get()); });
    QAction* CompartmentVolumesAction = MakeAction("CompartmentVolumesAction", "Compartment Volumes...", {},
                                                   [this] { ShowCompartmentVolumes(FDocument.get()); });
    PermeabilityPlotAction = MakeAction("PermeabilityPlotAction", "Permeability Plot...", {},
                                        [this] { OpenPermeabilityPlot(FDocument.get()); });
    LinesPlanAction = MakeAction("LinesPlanAction", "Generate Lines Plan...", {},
                                 [this] { ShowLinesPlanForm(FDocument.get(), Dialogs); });
    for (QAction* Action : {HydrostaticsAction, SectionAreaCurveAction, EntityExtentsAction, CompartmentVolumesAction,
                            PermeabilityPlotAction, LinesPlanAction}) {
        Action->setEnabled(Action != LinesPlanAction);
        Calculation1->addAction(Action);
    }

    Tools1 = new QMenu("&Tools", this);
    Tools1->setObjectName("Tools1");
    Tools1->addAction(MainForm.StatusBarAction);
    Tools1->addAction(MainForm.MacroAction);
}

void TViewform::AddFormatItem(QMenu& Menu, const TFileFormat& Format, void (TViewform::*Run)(const TFileFormat&)) {
    QAction* Item = Menu.addAction(Format.Caption);
    Item->setEnabled(Format.Available());
    connect(Item, &QAction::triggered, this,
            [this, &Format, Run] { RunMenuCommand([this, &Format, Run] { (this->*Run)(Format); }); });
}

void TViewform::BuildPopupMenu() {
    PopupInvertSelection = new QAction(InvertSelectionAction->text(), this);
    PopupInvertSelection->setObjectName("PopupInvertSelection");
    connect(PopupInvertSelection, &QAction::triggered, InvertSelectionAction, &QAction::trigger);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    Select1 = PopupMenu1->addMenu("&Select");
    Select1->setObjectName("Select1");
    Select1->addAction(SelectAllAction);
    Select1->addAction(SelectNoneAction1);
    Select1->addAction(PopupInvertSelection);
    Select1->addSeparator();
    ByType1 = Select1->addMenu("By Type");
    ByType1->setObjectName("ByType1");
    const std::pair<const char*, void (TGeometryInterface::*)()> Kinds[] = {
        {"Select Polylines", &TGeometryInterface::SelectPolylines},
        {"Select BSplines", &TGeometryInterface::SelectBSplines},
        {"Select Curves", &TGeometryInterface::SelectCurves},
        {"Select Polyline Groups", &TGeometryInterface::SelectPolyLists},
        {"Select Meshes", &TGeometryInterface::SelectMeshes},
        {"Select BSpline Surfaces", &TGeometryInterface::SelectBSplineSurfaces},
        {"Select Surfaces", &TGeometryInterface::SelectSurfaces},
        {"Select Planes", &TGeometryInterface::SelectPlanes},
        {"Select Arcs", &TGeometryInterface::SelectArcs},
        {"Select Circles", &TGeometryInterface::SelectCircles},
        {"Select Polygon Groups", &TGeometryInterface::SelectPolygons},
        {"Select Open Groups", &TGeometryInterface::SelectOpenGroups},
        {"Select Closed Groups", &TGeometryInterface::SelectClosedGroups},
        {"Select Openings", &TGeometryInterface::SelectOpenings},
    };
    for (auto [Caption, Select] : Kinds)
        ByType1->addAction(MakeAction("", Caption, {}, [this, Select = Select] { ((*FDocument).*Select)(); }));
    PopupMenu1->addSeparator();

    QMenu* View1 = PopupMenu1->addMenu("&View");
    View1->setObjectName("View1");
    View1->addAction(MakeAction("ViewXYAction", "(X/Y) Waterlines", {}, [this] { OpenGLView1->ViewXY(); }));
    View1->addAction(MakeAction("ViewYZAction", "(Y/Z) Stations", {}, [this] { OpenGLView1->ViewYZ(); }));
    View1->addAction(MakeAction("ViewZXAction", "(X/Z) Buttocks", {}, [this] { OpenGLView1->ViewZX(); }));
    View1->addAction(MakeAction("ViewForeEndAction", "View Fore End", {}, [this] { OpenGLView1->ViewForeEnd(); }));
    View1->addAction(MakeAction("ViewAftEndAction", "View Aft End", {}, [this] { OpenGLView1->ViewAftEnd(); }));
    PerspectiveAction = MakeAction("PerspectiveAction", "Perspective", {}, [this] {
        OpenGLView1->SetProjection(OpenGLView1->GetProjection() == cmParallel ? cmPerspective : cmParallel);
    });
    PerspectiveAction->setCheckable(true);
    View1->addAction(PerspectiveAction);
    PopupMenu1->addSeparator();

    ShowHide1 = PopupMenu1->addMenu("Show / Hide");
    ShowHide1->setObjectName("ShowHide1");
    ShowHide1->addAction(MakeAction("ShowAllAction", "Show All", {}, [this] { FDocument->ShowAll(); }));
    ShowHide1->addAction(MakeAction("HideAllAction", "Hide All", {}, [this] { FDocument->HideAll(); }));
    ShowHide1->addSeparator();
    ShowHide1->addAction(MakeAction("HideSelectedAction", "Hide Selected", QKeySequence("Ctrl+H"),
                                    [this] { FDocument->HideSelected(); }));
    ShowHide1->addAction(MakeAction("HideUnselectedAction", "Hide Unselected", QKeySequence("Ctrl+U"),
                                    [this] { FDocument->HideUnselected(); }));
    QMenu* SnapOptions1 = PopupMenu1->addMenu("Snap Options");
    SnapOptions1->setObjectName("SnapOptions1");
    SnapOptions1->addActions({MainForm.PointSnapAction, MainForm.CurveSnapAction, MainForm.SurfaceEdgeSnapAction,
                              MainForm.PolylineListSnapAction, MainForm.PolygonListSnapAction});
    AddEditorToolWindows(PopupMenu1);
    PopupMenu1->addSeparator();
    connect(PopupMenu1, &QMenu::aboutToShow, this, [this] { RunMenuCommand([this] { PopupMenu1Popup(); }); });
}

void TViewform::InstallFileManager() {
    OpenDialog1.Title = "Open Geometry File";
    OpenDialog1.Filter = GeometryFilter;
    OpenDialog1.DefaultExt = "geo";
    SaveDialog1.Title = "Save Geometry File";
    SaveDialog1.Filter = GeometryFilter;
    SaveDialog1.DefaultExt = "geo";

    FileManager1 = std::make_unique<TFileManager>(Dialogs);
    FileManager1->UnSavedName = UnSavedFileName;
    FileManager1->RegistryKey = "GeoFiles";
    FileManager1->MRUMenu = &FileMenuItems;
    FileManager1->OpenDialog = &OpenDialog1;
    FileManager1->SaveDialog = &SaveDialog1;
    // The document has no name of its own until it is loaded or saved: DocumentFileName stands for
    // the untitled one.
    FileManager1->OnNewFile = [this](TFileManager*) { FDocument->Clear(); };
    FileManager1->OnCloseFile = [this](TFileManager*) { FDocument->Clear(); };
    FileManager1->OnOpenFile = [this](TFileManager*, const std::string& Name) {
        FDocument->LoadFromFile(Name);
        OpenGLView1->Render();
        ZoomAll();
    };
    FileManager1->OnSaveFile = [this](TFileManager*, const std::string& Name) { FDocument->SaveToFile(Name); };
    // A copy for auto-save: the plain list writer leaves the document's name, history and flag alone.
    FileManager1->OnAutoSaveFile = [this](TFileManager*, const std::string& Name) {
        static_cast<TGeometryList&>(*FDocument).SaveToFile(Name);
    };
    FileManager1->OnMRUOpenFile = [this](TFileManager*, const std::string& Name) { MainForm.OpenDocumentFile(Name); };
    FileManager1->OnUpDateFileName = [this](TFileManager*, const std::string&, const std::string& ShortName) {
        setWindowTitle(QString::fromStdString(ShortName));
    };
    AutoSaveTimer = new TAutoSaveTimer(*FileManager1, this);
    FileManager1->Loaded();
}

void TViewform::InstallViewEvents() {
    OpenGLView1->PopupMenu = PopupMenu1;
    OpenGLView1->OnRedraw = [this](void*, IGraphics& View) {
        // A fit asked for before the view had its rendering context runs once it draws.
        if (FitPending) {
            FitPending = false;
            QTimer::singleShot(0, this, [this] { OpenGLView1->ZoomAll(); });
        }
        FDocument->Draw(View);
    };
    OpenGLView1->OnPreviewRedraw = [this](void*, IGraphics& View) { FDocument->DrawPreview(View); };
    OpenGLView1->OnSelectPoint = [this](IGraphics& View, int X, int Y, TShiftState Shift, TSelectAction& Action) {
        if (!(Shift & ssLeft) || FDocument->GetEditedGeometry() != nullptr) return;
        if (!FDocument->SelectAtPoint({X, Y}, View, Shift)) Action = saDragRectangle;
    };
    OpenGLView1->OnSelectRect = [this](IGraphics& View, const TRect& Rect, TShiftState Shift) {
        FDocument->SelectInRect(Rect, View, Shift);
    };
    OpenGLView1->OnSelectionHint = [this](void*, int X, int Y, std::string& Hint) {
        Hint = FDocument->EntityHintAt({X, Y}, *OpenGLView1);
    };
    OpenGLView1->OnMouseLocation = [this](void*, double X, double Y, double Z) {
        MouseLocation = {X, Y, Z};
        // A window under the mouse that is not the active one does not speak for the status bar.
        if (Active) MainForm.ShowCoordinates(*this);
    };
    OpenGLView1->OnHintInformation = [this](void*, const std::string& Text) { MainForm.ShowStatusMessage(Text); };
    OpenGLView1->OnMouseMove = [this](void*, TShiftState, int X, int Y) {
        if (CurrentSettings().ProjectOptions & poHighlight) FDocument->UpdateHighlight({X, Y}, *OpenGLView1);
    };
    OpenGLView1->OnMouseLeave = [this](void*) { FDocument->ClearHighlight(); };
    OpenGLView1->OnKeyDown = [this](void*, TKeyCode& Key, TShiftState Shift) {
        if (Key == VK_DELETE && !(Shift & (ssShift | ssCtrl | ssAlt)) && OpenGLView1->hasFocus()) DeleteSelection();
    };
}

// ---- Settings ----

void TViewform::ApplySettings() {
    const TSarnovaSettings& S = CurrentSettings();
    QPalette Palette = palette();
    Palette.setColor(QPalette::Window, ColorToQColor(S.BackColor));
    setPalette(Palette);
    OpenGLView1->SetColor(S.BackColor);
    OpenGLView1->SetLineColor(S.DrawColor);
    OpenGLView1->SnapIconColor = S.SnapIconColor;
    OpenGLView1->AxisIconColor = S.AxisIconColor;
    OpenGLView1->EditIconColor = S.EditIconColor;
    TViewGrid& Grid = OpenGLView1->GetGrid();
    Grid.SetMajorColor(S.MajorGridColor);
    Grid.SetMinorColor(S.MinorGridColor);
    OpenGLView1->SetAxisIcon(S.AxisIcon);
    Grid.SetEnabled(S.GridEnabled);
    Grid.SetGridSize(S.GridSize);
    Grid.SetMajorFrequency(S.MajorGridFrequency);
    OpenGLView1->AdaptiveDegration = S.AdaptiveDegradationOption;
    OpenGLView1->AdaptiveDegrationThreshold = static_cast<std::uint32_t>(std::max(0, S.AdaptiveDegradationInterval));
    OpenGLView1->CopyBackBuffer = S.CorrectNVIDIABackBufferProblem;

    FileManager1->SetAutoSaveEnabled(S.AutoSaveEnabled);
    FileManager1->SetAutoSaveInterval(S.AutoSaveInterval);
    if (FDocument) FDocument->SetProjectOptions(S.ProjectOptions);
    const TInteractionMode Mode = OpenGLView1->GetInteractionMode();
    if (Mode == imRotateWorld || Mode == imRotateView) OpenGLView1->SetInteractionMode(S.RotationMode);
    if (MacroEditor) MacroEditor->ApplyEditorSettings();
    OpenGLView1->UpdateCursor();
    if (OpenGLView1->IsContextReady()) OpenGLView1->Render();
}

// ---- Window events ----

void TViewform::closeEvent(QCloseEvent* Event) {
    bool MayClose = false;
    try {
        // The macro is asked about first: the document's query empties the document once answered.
        if (!MacroEditor || MacroEditor->DocumentCloseQuery()) {
            FileManager1->Modified = IsModified();
            MayClose = FileManager1->CloseQuery();
        }
    } catch (const std::exception& Error) {
        // A save that failed keeps the window and its document.
        if (GExceptionHandler) GExceptionHandler->HandleException(Error);
    }
    Event->setAccepted(MayClose);
}

void TViewform::FormActivate() {
    Active = true;
    OpenGLView1->PopupAutoPopup = true;
    MainForm.ShowDocumentStatus(*this);
    for (IDocumentWindow* W : MainForm.DocumentWindows())
        if (auto* Other = dynamic_cast<TViewform*>(W); Other && Other != this) Other->HideMacroEditor();
    if (MainForm.GeometryServer) MainForm.GeometryServer->SetActiveDocument(FDocument.get());
}

bool TViewform::IsMacroEditorShowing() const { return MacroEditor && MacroEditor->isVisible(); }

void TViewform::ShowMacroEditor() {
    if (!MacroEditor) {
        MacroEditor = new TTextEditForm(Dialogs);
        MacroEditor->SetDocument(FDocument.get());
        MacroEditor->DocumentWindow = this;
    }
    MacroEditor->show();
    MacroEditor->raise();
    MacroEditor->activateWindow();
}

void TViewform::HideMacroEditor() {
    if (MacroEditor) MacroEditor->hide();
}

void TViewform::FormDeactivate() {
    MainForm.ClearDocumentStatus();
    Active = false;
    OpenGLView1->PopupAutoPopup = false;
    RemoveEntityMenu();
}

void TViewform::UpdateActions() {
    PerspectiveAction->setChecked(OpenGLView1->GetProjection() == cmPerspective);
    if (!(OpenGLView1->GetStateFlags() & vfDragging)) {
        const bool Hull = CanOpenHydrostaticTable(FDocument.get());
        HydrostaticsAction->setEnabled(Hull);
        SectionAreaCurveAction->setEnabled(Hull);
        LinesPlanAction->setEnabled(CanGenerateLinesPlan(FDocument.get()));
    }
    EditAction->setEnabled(FDocument->SelectedCount() == 1);
}

// ---- The document's events ----

void TViewform::InvalidateView() { OpenGLView1->Invalidate(); }

void TViewform::DocumentMessage(TGeoMessage& Message) {
    if (dynamic_cast<TGeoClearSarnovaPopup*>(&Message))
        RemoveEntityMenu();
    else if (dynamic_cast<TGeoShowAttributesPanel*>(&Message))
        MainForm.PropertiesAction->trigger();
    if (MainForm.GeometryServer) MainForm.GeometryServer->DispatchMessage(Message);
}

void TViewform::DocumentDraw(IGraphics& View) {
    if (MainForm.GeometryServer) MainForm.GeometryServer->BroadcastDraw(View);
}

void TViewform::DocumentModifiedChanged() {
    FileManager1->Modified = FDocument->GetModified();
    if (Active) MainForm.ShowDocumentStatus(*this);
}

// ---- Context menu ----

void TViewform::RemoveEntityMenu() {
    const QList<QAction*> Items = PopupMenu1->actions();
    if (Items.isEmpty() || Items.first() == Select1->menuAction()) return;
    PopupMenu1->removeAction(Items.first());
    // Not at once: the menu may be inside one of its own item's clicks.
    Items.first()->deleteLater();
}

void TViewform::PopupMenu1Popup() {
    RemoveEntityMenu();
    const bool Editing = FDocument->GetEditedGeometry() != nullptr;
    PopupInvertSelection->setEnabled(!Editing);
    ByType1->menuAction()->setEnabled(!Editing);
    ShowHide1->menuAction()->setEnabled(!Editing);

    QList<QAction*> SelectItems = Select1->actions();
    for (qsizetype I = 5; I < SelectItems.size(); ++I) {
        Select1->removeAction(SelectItems[I]);
        SelectItems[I]->deleteLater();
    }
    if (!Editing) {
        // The list ends where the menu would fill the screen, in rows of 21 pixels.
        const int Height = screen() ? screen()->geometry().height() : 0;
        const qsizetype Limit = std::max(1, Height / 21);
        for (int I = 0; I < FDocument->Count(); ++I) {
            TGeometry& Entity = FDocument->Items(I);
            if (Entity.GetName().empty() || Entity.IsHidden()) continue;
            if (Select1->actions().size() == 5) Select1->addSeparator();
            const std::string Name = Entity.GetName();
            QString Caption = QString::fromStdString(Name);
            QAction* Item = Select1->addAction(Caption.replace("&", "&&"));
            Item->setCheckable(true);
            Item->setChecked(Entity.GetSelected());
            connect(Item, &QAction::triggered, this,
                    [this, Name] { RunMenuCommand([this, Name] { SelectObject(Name); }); });
            if (Select1->actions().size() % Limit == 0) break;
        }
    }

    if (TMenuItem* EntityMenu = FDocument->SelectionPopupMenu()) {
        const QList<QAction*> Items = PopupMenu1->actions();
        QAction* First = Items.isEmpty() ? nullptr : Items.first();
        QAction* EntityItem = CreateMenuItemAction(*PopupMenu1, *EntityMenu);
        PopupMenu1->insertAction(First, EntityItem);
        AddRenderItem(EntityItem->menu());
    }
}

void TViewform::AddRenderItem(QMenu* EntityMenu) {
    // A single entity that may be shown shaded is shaded from its own menu, as the Entities window's
    // "Render Entities" does for all.
    TGeometry* Entity = FDocument->SelectedCount() == 1 ? FDocument->SingleSelection() : nullptr;
    if (!EntityMenu || !Entity || !(Entity->GetCapabilities() & cpRenderable)) return;
    EntityMenu->addSeparator();
    QAction* Render = EntityMenu->addAction("Render");
    Render->setObjectName("RenderEntityItem");
    Render->setCheckable(true);
    Render->setChecked(Entity->GetDisplayState() == dsRendered);
    TGeometryInterface* Document = FDocument.get();
    connect(Render, &QAction::triggered, this, [Document, Entity](bool On) {
        RunMenuCommand([&] {
            if (!Document->Contains(Entity)) return;
            InListUpdate(*Document, [&] { Entity->SetDisplayState(On ? dsRendered : dsNormal); });
        });
    });
}

void TViewform::SelectObject(const std::string& Name) {
    if (TGeometry* Entity = FDocument->FindByName(Name)) FDocument->SelectOnly(Entity);
}

// ---- What the main window asks ----

TGeometryList* TViewform::Document() { return FDocument.get(); }

std::vector<QMenu*> TViewform::Menus() { return {File1, Edit1, Create1, Calculation1, Tools1}; }

std::string TViewform::DocumentFileName() const {
    return FDocument->GetFileName().empty() ? std::string(UnSavedFileName) : FDocument->GetFileName();
}

void TViewform::OpenFile(const std::string& Name) {
    FileManager1->SetFileName(Name);
    try {
        FileManager1->DoOpenFile();
    } catch (...) {
        FileManager1->SetFileName(UnSavedFileName);
        FileManager1->Modified = FDocument->GetModified();
        throw;
    }
}

std::string TViewform::FileName() const { return FDocument->GetFileName(); }

bool TViewform::IsModified() const { return FileManager1->Modified || FDocument->IsChanged(); }
bool TViewform::CanUndo() const { return FDocument->CanUndo(); }
bool TViewform::CanRedo() const { return FDocument->CanRedo(); }
TInteractionMode TViewform::GetInteractionMode() const { return OpenGLView1->GetInteractionMode(); }
void TViewform::SetInteractionMode(TInteractionMode Mode) { OpenGLView1->SetInteractionMode(Mode); }

void TViewform::Save() {
    FileManager1->SetFileName(DocumentFileName());
    FileManager1->Save();
}

void TViewform::SaveAs() {
    FileManager1->SetFileName(DocumentFileName());
    FileManager1->SaveAs();
}

void TViewform::Print() {
    QPrintDialog PrintDialog1(&GetPrinter(), this);
    if (PrintDialog1.exec() != QDialog::Accepted) return;
    FDocument->ClearSelection();
    OpenGLView1->Print("Sarnova - " + std::filesystem::path(DocumentFileName()).filename().string());
}

bool TViewform::CanPrintToScale() const { return HasPrintableEntities(*FDocument); }

void TViewform::PrintToScale() { ShowScalePrinting(*FDocument, Dialogs); }

void TViewform::PrintSettings() {
    QPageSetupDialog PrinterSetupDialog1(&GetPrinter(), this);
    PrinterSetupDialog1.exec();
}

bool TViewform::eventFilter(QObject* Watched, QEvent* Event) {
    if (Watched != OpenGLView1 || Event->type() != QEvent::KeyPress || !FDocument) return false;
    const auto* Key = static_cast<QKeyEvent*>(Event);
    if (Key->key() != Qt::Key_Escape || QGuiApplication::mouseButtons() != Qt::NoButton) return false;
    TGeometry* Edited = FDocument->GetEditedGeometry();
    if (!Edited) return false;
    RunMenuCommand([Edited] { Edited->SetEditing(false); });
    return true;
}

void TViewform::Undo() { FDocument->Undo(); }
void TViewform::Redo() { FDocument->Redo(); }

void TViewform::CopySelection() {
    if (GClipboard) GClipboard->TransferFrom(*FDocument, tmCopySelected, true);
}

void TViewform::PasteClipboard() {
    if (GClipboard) FDocument->TransferFrom(*GClipboard, tmMoveSelected, false);
}

void TViewform::DeleteSelection() {
    OpenGLView1->setFocus();
    if (TGeometry* Edited = FDocument->GetEditedGeometry()) {
        TKeyCode Key = VK_DELETE;
        OpenGLView1->BeginOverlayDraw();
        try {
            Edited->KeyDown(Key, 0);
        } catch (...) {
            OpenGLView1->EndOverlayDraw();
            throw;
        }
        OpenGLView1->EndOverlayDraw();
    } else {
        FDocument->DeleteSelected();
    }
}

void TViewform::ZoomIn() {
    FDocument->ClearHighlight();
    OpenGLView1->ZoomIn();
}

void TViewform::ZoomOut() {
    FDocument->ClearHighlight();
    OpenGLView1->ZoomOut();
}

void TViewform::ZoomAll() {
    FDocument->ClearHighlight();
    if (OpenGLView1->IsContextReady())
        OpenGLView1->ZoomAll();
    else
        FitPending = true;
}

void TViewform::ZoomPrevious() {
    FDocument->ClearHighlight();
    OpenGLView1->ZoomPrevious();
}

void TViewform::ZoomSelection() {
    if (FDocument->SelectedCount() == 0) return;
    OpenGLView1->ZoomToBox(FDocument->GetFocusExtents(*OpenGLView1));
}

void TViewform::StartZoom() {
    FDocument->ClearHighlight();
    OpenGLView1->SetInteractionMode(imZoom);
}

void TViewform::StartZoomWindow() {
    FDocument->ClearHighlight();
    OpenGLView1->SetInteractionMode(imZoomWindow);
}

void TViewform::StartPan() {
    FDocument->ClearHighlight();
    OpenGLView1->SetInteractionMode(imPan);
}

void TViewform::StartRotateView() {
    FDocument->ClearHighlight();
    OpenGLView1->SetInteractionMode(CurrentSettings().RotationMode);
}

void TViewform::StartSelectEdit() {
    FDocument->ClearHighlight();
    OpenGLView1->SetInteractionMode(imUser);
}

void TViewform::TransformSelection(bool (*Execute)(TMMatrix& Transform, bool& Copy)) {
    TMMatrix Transform = IdentityMatrix;
    bool Copy = false;
    if (Execute(Transform, Copy)) FDocument->TransformSelected(Transform, Copy);
}

void TViewform::TranslateSelection() { TransformSelection(ExecuteMoveDialog); }
void TViewform::ScaleSelection() { TransformSelection(ExecuteScaleDialog); }
void TViewform::RotateSelection() { TransformSelection(ExecuteRotateDialog); }
void TViewform::MirrorSelection() { TransformSelection(ExecuteMirrorDialog); }

void TViewform::ImportFormat(const TFileFormat& Format) {
    if (!Format.Available()) return;
    bool Imported = true;
    if (Format.Dialog == TFormatDialog::fdNone) {
        Format.AskingProcedure(Dialogs, *FDocument);
    } else {
        TOpenDialog Own;
        TOpenDialog& Dialog = Format.Dialog == TFormatDialog::fdGeometry ? OpenDialog1
                              : Format.Dialog == TFormatDialog::fdDxf    ? ImpDxf
                                                                         : Own;
        PrepareFormatDialog(Dialog, Format);
        Imported = Dialogs.ExecuteOpenDialog(Dialog);
        if (Imported) Format.Procedure(Dialog.FileName, *FDocument);
    }
    if (Format.Zoom == TImportZoom::izAlways || (Imported && Format.Zoom == TImportZoom::izAfterImport)) ZoomAll();
}

void TViewform::ExportFormat(const TFileFormat& Format) {
    if (!Format.Available()) return;
    if (Format.Dialog == TFormatDialog::fdNone) {
        Format.AskingProcedure(Dialogs, *FDocument);
        return;
    }
    TSaveDialog Own;
    TSaveDialog& Dialog = Format.Dialog == TFormatDialog::fdDxf ? ExpDxf : Own;
    PrepareFormatDialog(Dialog, Format);
    if (Dialogs.ExecuteSaveDialog(Dialog)) Format.Procedure(Dialog.FileName, *FDocument);
}

void TViewform::ShowUndoInformation() {
    const std::string Caption = GExceptionHandler ? GExceptionHandler->ApplicationTitle : std::string();
    FDocument->GetUndoManager().ShowInformationForm(Dialogs, Caption);
}

void RegisterDocumentWindow() {
    GDocumentWindowFactory = [](TMainForm& MainForm) -> QWidget* {
        return new TViewform(MainForm, ProgramUserDialogs());
    };
}

}  // namespace sarnova
