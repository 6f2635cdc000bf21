// The main window's status bar and the program-wide modelling switches it shows: grid, grid snap,
// object snap, 3-D editing, highlighting and the elastic mode, with their actions and popup menus.
#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include "document/Settings.h"
#include "foundation/TextUtils.h"
#include "shell/GeometryServer.h"
#include "shell/MainUnit.h"
#include "controls/VkStatusBar.h"

namespace sarnova {

namespace {

// Panels of the status bar, left to right.
enum : int {
    spModified = 1,
    spCoordinates = 2,
    spGrid = 3,
    spGridSnap = 4,
    spObjectSnap = 5,
    sp3DEdit = 6,
    spHighlight = 7,
    spElastic = 8,
    spMessage = 9,
};

struct TPanelDefinition {
    int Width;
    bool Centred;
    const char* Text;
    const char* Hint;
};

const TPanelDefinition PanelDefinitions[] = {
    {10, false, "", ""},
    {60, true, "", ""},
    {260, false, "", ""},
    {35, true, "GRID", "Toggle Grid  (Double-Click)"},
    {59, true, "GRIDSNAP", "Toggle Snap to Grid (Double-Click)"},
    {42, true, "OSNAP", "Toggle Snap to Objects (Double-Click)"},
    {44, true, "3DEDIT", "Toggle 3D Enhanced Editing (Double-Click)"},
    {65, true, "HIGHLIGHT", "Toggle Object Highlighting (Double-Click)"},
    {65, true, "XT-ELASTIC", ""},
    {50, false, "", ""},
};

bool Has(TProjectOptions Options, TProjectOption Option) { return (Options & Option) != 0; }

}  // namespace

void TMainForm::BuildStatusBar() {
    VkStatusBar1 = new TVkStatusBar(this);
    VkStatusBar1->setObjectName("VkStatusBar1");
    VkStatusBar1->setFont(QFont("Tahoma", 8));
    setStatusBar(VkStatusBar1);
    for (const TPanelDefinition& Definition : PanelDefinitions) {
        TVkStatusPanel* Panel = VkStatusBar1->Panels().Add();
        Panel->SetWidth(Definition.Width);
        Panel->SetAlignment(Definition.Centred ? taCenter : taLeftJustify);
        Panel->SetText(Definition.Text);
        Panel->Hint = Definition.Hint;
    }
    for (int I = spGrid; I <= spElastic; ++I) VkStatusBar1->Panels().Item(I)->SetGrayed(true);

    const std::pair<int, void (TMainForm::*)()> Toggles[] = {
        {spGrid, &TMainForm::ToggleGrid},           {spGridSnap, &TMainForm::ToggleGridSnap},
        {spObjectSnap, &TMainForm::ToggleObjectSnap}, {sp3DEdit, &TMainForm::Toggle3DEditing},
        {spHighlight, &TMainForm::ToggleHighlighting}, {spElastic, &TMainForm::ToggleElastic},
    };
    for (auto [Index, Toggle] : Toggles)
        VkStatusBar1->Panels().Item(Index)->OnDblClick = [this, Toggle = Toggle](QObject*, int, TVkStatusPanel*) {
            (this->*Toggle)();
        };
    VkStatusBar1->Panels().Item(spObjectSnap)->SetPopupMenu(SnapPopupMenu);
    VkStatusBar1->Panels().Item(spHighlight)->SetPopupMenu(HighlightPopupMenu);
    VkStatusBar1->Panels().Item(spElastic)->SetPopupMenu(ElasticPopupMenu);
    VkStatusBar1->Loaded();
}

void TMainForm::BuildModellingActions() {
    ToggleSnappingAction = MakeAction("ToggleSnappingAction", "Toggle Snapping", QKeySequence(Qt::Key_F3),
                                      [this] { ToggleObjectSnap(); });
    ToggleHighlightingAction =
        MakeAction("ToggleHighlightingAction", "Toggle Highlighting", {}, [this] { ToggleHighlighting(); });

    // The sets are only saved: views read them when they next snap or highlight.
    auto SnapAction = [this](const char* Name, const char* Caption, std::function<void(TSnapOptions&)> Change) {
        QAction* Action = MakeAction(Name, Caption, {}, [Change] {
            if (!GSettings) return;
            Change(GSettings->SnapOptions);
            GSettings->Save();
        });
        Action->setCheckable(true);
        return Action;
    };
    auto Flip = [](std::size_t Element) { return [Element](TSnapOptions& Options) { Options.flip(Element); }; };
    // Network-curve vertices go with points, both ways: the saved "stPoint" reads back as both, so
    // clearing the vertices alone would snap differently until the next start.
    PointSnapAction = SnapAction("PointSnapAction", "Snap to Points", [](TSnapOptions& Options) {
        const bool On = !Options.test(stPoint);
        Options.set(stCurveNetPoint, On);
        Options.set(stPoint, On);
    });
    CurveSnapAction = SnapAction("CurveSnapAction", "Snap onto Curves", [](TSnapOptions& Options) {
        const bool On = !Options.test(stCurve);
        Options.set(stCurveNetCurve, On);
        Options.set(stCurve, On);
    });
    SurfaceEdgeSnapAction = SnapAction("SurfaceEdgeSnapAction", "Snap onto Surface Edges", Flip(stSurfaceEdge));
    PolylineListSnapAction = SnapAction("PolylineListSnapAction", "Snap to Polyline List", Flip(stPolylineList));
    PolygonListSnapAction = SnapAction("PolygonListSnapAction", "Snap to Polygon List Vertices", Flip(stPolygonList));

    auto HighlightAction = [this](const char* Name, const char* Caption, THighlightGroup Group) {
        QAction* Action = MakeAction(Name, Caption, {}, [Group] {
            if (!GSettings) return;
            GSettings->HighlightGroups ^= static_cast<THighlightGroups>(1u << Group);
            GSettings->Save();
        });
        Action->setCheckable(true);
        Action->setData(static_cast<int>(Group));
        return Action;
    };
    PolylineHighlightAction = HighlightAction("PolylineHighlightAction", "Highlight Polylines", hgPolyline);
    CurveHighlightAction = HighlightAction("CurveHighlightAction", "Highlight Curves", hgCurve);
    BSplineCurveHighlightAction =
        HighlightAction("BSplineCurveHighlightAction", "Highlight BSpline Curves", hgBSplineCurve);
    SurfaceHighlightAction = HighlightAction("SurfaceHighlightAction", "Highlight Surfaces", hgSurface);
    MeshHighlightAction = HighlightAction("MeshHighlightAction", "Highlight Meshes", hgMesh);
    BSplineSurfaceHighlightAction =
        HighlightAction("BSplineSurfaceHighlightAction", "Highlight BSpline Surfaces", hgBSplineSurface);
    PolylineListHighlightAction =
        HighlightAction("PolylineListHighlightAction", "Highlight Polyline Lists", hgPolylineList);
    PolygonHighlightAction = HighlightAction("PolygonHighlightAction", "Highlight Polygon Lists", hgPolygons);

    auto* ElasticGroup = new QActionGroup(this);
    auto ElasticAction = [this, ElasticGroup](const char* Name, const char* Caption, int Mode) {
        QAction* Action = MakeAction(Name, Caption, {}, [this, Mode] { SetElasticMode(Mode); });
        Action->setCheckable(true);
        ElasticGroup->addAction(Action);
        return Action;
    };
    ElasticOffAction = ElasticAction("ElasticOffAction", "Elastic Off", 0);
    ElasticCurvesAction = ElasticAction("ElasticCurvesAction", "Elastic Curves", 1);
    ElasticControlPointsAction = ElasticAction("ElasticControlPointsAction", "Elastic Control Points", 2);

    SnapPopupMenu = new QMenu(this);
    SnapPopupMenu->setObjectName("SnapPopupMenu");
    SnapPopupMenu->addActions(
        {PointSnapAction, CurveSnapAction, SurfaceEdgeSnapAction, PolylineListSnapAction, PolygonListSnapAction});
    HighlightPopupMenu = new QMenu(this);
    HighlightPopupMenu->setObjectName("HighlightPopupMenu");
    HighlightPopupMenu->addActions({PolylineHighlightAction, CurveHighlightAction, BSplineCurveHighlightAction});
    HighlightPopupMenu->addSeparator();
    HighlightPopupMenu->addActions({MeshHighlightAction, SurfaceHighlightAction, BSplineSurfaceHighlightAction});
    HighlightPopupMenu->addSeparator();
    HighlightPopupMenu->addActions({PolygonHighlightAction, PolylineListHighlightAction});
    ElasticPopupMenu = new QMenu(this);
    ElasticPopupMenu->setObjectName("ElasticPopupMenu");
    ElasticPopupMenu->addActions({ElasticControlPointsAction, ElasticCurvesAction, ElasticOffAction});
}

void TMainForm::UpdateModellingActions() {
    const TProjectOptions Options = GSettings ? GSettings->ProjectOptions : 0;
    const std::pair<QAction*, std::size_t> Snaps[] = {
        {PointSnapAction, stPoint},
        {CurveSnapAction, stCurve},
        {SurfaceEdgeSnapAction, stSurfaceEdge},
        {PolylineListSnapAction, stPolylineList},
        {PolygonListSnapAction, stPolygonList},
    };
    for (auto [Action, Element] : Snaps) {
        Action->setEnabled(Has(Options, poObjectSnap));
        Action->setChecked(GSettings && GSettings->SnapOptions.test(Element));
    }
    for (QAction* Action : {PolylineHighlightAction, CurveHighlightAction, BSplineCurveHighlightAction,
                            SurfaceHighlightAction, MeshHighlightAction, BSplineSurfaceHighlightAction,
                            PolylineListHighlightAction, PolygonHighlightAction}) {
        Action->setEnabled(Has(Options, poHighlight));
        Action->setChecked(GSettings && (GSettings->HighlightGroups >> Action->data().toInt()) & 1);
    }
    ElasticOffAction->setChecked(GElasticMode == 0);
    ElasticCurvesAction->setChecked(GElasticMode == 1);
    ElasticControlPointsAction->setChecked(GElasticMode == 2);
}

// ---- Status bar ----

void TMainForm::UpdateStatusBar() {
    if (IDocumentWindow* W = ActiveDocumentWindow()) {
        ShowDocumentStatus(*W);
    } else {
        ClearDocumentStatus();
    }
}

void TMainForm::ShowDocumentStatus(IDocumentWindow& Window) {
    TVkStatusPanels& Panels = VkStatusBar1->Panels();
    Panels.Item(spModified)->SetText(Window.IsModified() ? "Modified" : "");
    ShowCoordinates(Window);
    for (int I = spGrid; I <= spElastic; ++I) Panels.Item(I)->SetText(PanelDefinitions[I].Text);
    const TProjectOptions Options = GSettings ? GSettings->ProjectOptions : 0;
    const bool Editing = Has(Options, po3DEditing);
    Panels.Item(spGrid)->SetGrayed(!GSettings || !GSettings->GridEnabled);
    Panels.Item(spGridSnap)->SetGrayed(!(Has(Options, poGridSnap) && Editing));
    Panels.Item(spObjectSnap)->SetGrayed(!(Has(Options, poObjectSnap) && Editing));
    Panels.Item(sp3DEdit)->SetGrayed(!Editing);
    Panels.Item(spHighlight)->SetGrayed(!Has(Options, poHighlight));
    Panels.Item(spElastic)->SetGrayed(GElasticMode == 0);
}

void TMainForm::ClearDocumentStatus() {
    TVkStatusPanels& Panels = VkStatusBar1->Panels();
    for (int I : {spModified, spCoordinates, spMessage}) Panels.Item(I)->SetText("");
    for (int I = spGrid; I <= spElastic; ++I) {
        Panels.Item(I)->SetText(PanelDefinitions[I].Text);
        Panels.Item(I)->SetGrayed(true);
    }
}

void TMainForm::ShowCoordinates(IDocumentWindow& Window) {
    const TMVector P = Window.GetMouseLocation();
    VkStatusBar1->Panels().Item(spCoordinates)->SetText(Format(" X: %7.3f, Y: %7.3f, Z: %7.3f ", {P.X, P.Y, P.Z}));
}

void TMainForm::ShowStatusMessage(const std::string& Text) { VkStatusBar1->Panels().Item(spMessage)->SetText(Text); }

// ---- Switches ----

void TMainForm::ModellingSettingsChanged() {
    ApplySettings();
    GSettings->Save();
}

void TMainForm::ToggleGrid() {
    if (!GSettings) return;
    GSettings->GridEnabled = !GSettings->GridEnabled;
    ModellingSettingsChanged();
    // The tool windows show the grid state too.
    if (GeometryServer) GeometryServer->SelectionChanged();
}

void TMainForm::ToggleGridSnap() {
    if (!GSettings) return;
    TProjectOptions& Options = GSettings->ProjectOptions;
    Options = Has(Options, poGridSnap) ? (Options & ~poGridSnap) : (Options | poGridSnap | po3DEditing);
    ModellingSettingsChanged();
}

void TMainForm::ToggleObjectSnap() {
    if (!GSettings) return;
    TProjectOptions& Options = GSettings->ProjectOptions;
    Options = Has(Options, poObjectSnap) ? (Options & ~poObjectSnap) : (Options | poObjectSnap | po3DEditing);
    ModellingSettingsChanged();
}

void TMainForm::Toggle3DEditing() {
    if (!GSettings) return;
    GSettings->ProjectOptions ^= po3DEditing;
    ModellingSettingsChanged();
}

void TMainForm::ToggleHighlighting() {
    if (!GSettings) return;
    GSettings->ProjectOptions ^= poHighlight;
    ModellingSettingsChanged();
}

void TMainForm::ToggleElastic() { SetElasticMode(GElasticMode == 0 ? 1 : 0); }

void TMainForm::SetElasticMode(int Mode) {
    GElasticMode = static_cast<std::uint8_t>(Mode);
    if (GSettings) ModellingSettingsChanged();
}

}  // namespace sarnova
