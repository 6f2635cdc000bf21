#include <gtest/gtest.h>

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

#include <memory>
#include <string>
#include <vector>

#include "document/GeoFace.h"
#include "document/GeometryList.h"
#include "document/Settings.h"
#include "shell/DocumentWindowFixture.h"
#include "shell/MainUnit.h"
#include "shell/ShellTestSupport.h"
#include "shell/TestDocumentWindow.h"
#include "shell/ViewUnit.h"
#include "controls/VkStatusBar.h"

namespace sarnova {
namespace {

class TMouseDocumentWindow : public TTestDocumentWindow {
public:
    TMVector GetMouseLocation() const override { return Where; }
    TMVector Where{0, 0, 0};
};

class StatusBar : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!GSettings) InitializeSettings();
    }
    static void TearDownTestSuite() { FinalizeSettings(); }

    void SetUp() override {
        GSettings->SetDefaults();
        GSettings->GridEnabled = false;
        GSettings->ProjectOptions = 0;
        GSettings->SnapOptions.reset();
        GSettings->HighlightGroups = 0;
        GElasticMode = 0;
        Form = std::make_unique<TMainForm>();
        Form->show();
        Settle();
    }
    void TearDown() override {
        Form.reset();
        GDocumentWindowFactory = nullptr;
        Settle();
    }

    TMouseDocumentWindow* NewWindow() {
        GDocumentWindowFactory = [this](TMainForm&) {
            Window = new TMouseDocumentWindow;
            return Window;
        };
        Form->NewDocument();
        Settle();
        return Window;
    }
    TVkStatusPanel* Panel(int Index) { return Form->VkStatusBar1->Panels().Item(Index); }
    std::string Text(int Index) { return Panel(Index)->GetText(); }
    // The grey state of panels 3 to 8 as a string: "g" grey, "b" black.
    std::string Shades() {
        std::string Found;
        for (int I = 3; I <= 8; ++I) Found += Panel(I)->GetGrayed() ? 'g' : 'b';
        return Found;
    }
    void DoubleClick(int Index) { Panel(Index)->DoDblClick(); }

    std::unique_ptr<TMainForm> Form;
    TMouseDocumentWindow* Window = nullptr;
};

TEST_F(StatusBar, PanelsAndTheirHintsAndMenus) {
    const std::vector<std::pair<int, std::string>> Expected = {
        {10, ""}, {60, ""}, {260, ""}, {35, "GRID"}, {59, "GRIDSNAP"}, {42, "OSNAP"}, {44, "3DEDIT"},
        {65, "HIGHLIGHT"}, {65, "XT-ELASTIC"}, {50, ""}};
    ASSERT_EQ(Form->VkStatusBar1->Panels().Count(), 10);
    EXPECT_EQ(Form->statusBar(), Form->VkStatusBar1);
    for (int I = 0; I < 10; ++I) {
        // The bar widens a panel to its text, never narrows it.
        EXPECT_GE(Panel(I)->GetWidth(), Expected[I].first) << I;
        EXPECT_EQ(Text(I), Expected[I].second) << I;
    }
    EXPECT_EQ(Panel(3)->Hint, "Toggle Grid  (Double-Click)");
    EXPECT_EQ(Panel(7)->Hint, "Toggle Object Highlighting (Double-Click)");
    EXPECT_EQ(Panel(8)->Hint, "");
    EXPECT_EQ(Panel(5)->GetPopupMenu(), Form->SnapPopupMenu);
    EXPECT_EQ(Panel(7)->GetPopupMenu(), Form->HighlightPopupMenu);
    EXPECT_EQ(Panel(8)->GetPopupMenu(), Form->ElasticPopupMenu);
    EXPECT_EQ(MenuCaptions(Form->SnapPopupMenu),
              (std::vector<std::string>{"Snap to Points", "Snap onto Curves", "Snap onto Surface Edges",
                                        "Snap to Polyline List", "Snap to Polygon List Vertices"}));
    EXPECT_EQ(MenuCaptions(Form->HighlightPopupMenu),
              (std::vector<std::string>{"Highlight Polylines", "Highlight Curves", "Highlight BSpline Curves", "-",
                                        "Highlight Meshes", "Highlight Surfaces", "Highlight BSpline Surfaces", "-",
                                        "Highlight Polygon Lists", "Highlight Polyline Lists"}));
    EXPECT_EQ(MenuCaptions(Form->ElasticPopupMenu),
              (std::vector<std::string>{"Elastic Control Points", "Elastic Curves", "Elastic Off"}));
    EXPECT_EQ(Form->ToggleSnappingAction->shortcut(), QKeySequence(Qt::Key_F3));
    EXPECT_TRUE(Form->actions().contains(Form->ToggleSnappingAction));
}

TEST_F(StatusBar, WithoutADocumentWindowTheSwitchesAreGreyWhateverTheSettings) {
    GSettings->GridEnabled = true;
    GSettings->ProjectOptions = poGridSnap | poObjectSnap | po3DEditing | poHighlight;
    GElasticMode = 2;
    Form->ShowStatusMessage("Pick a point");
    Form->ApplySettings();
    EXPECT_EQ(Shades(), "gggggg");
    for (int I : {1, 2, 9}) EXPECT_EQ(Text(I), "") << I;
    EXPECT_EQ(Text(4), "GRIDSNAP");
}

TEST_F(StatusBar, TheActiveWindowShowsItsStateAndCoordinates) {
    TMouseDocumentWindow* W = NewWindow();
    W->Modified = true;
    W->Where = {1.5, -12.25, 1234.5678};
    Form->ShowDocumentStatus(*W);
    EXPECT_EQ(Text(1), "Modified");
    EXPECT_EQ(Text(2), " X:   1.500, Y: -12.250, Z: 1234.568 ");
    Form->ShowStatusMessage("Pick a point");
    EXPECT_EQ(Text(9), "Pick a point");
    // The message belongs to the view: a status refresh leaves it.
    W->Modified = false;
    Form->ApplySettings();
    EXPECT_EQ(Text(1), "");
    EXPECT_EQ(Text(9), "Pick a point");
    Form->ClearDocumentStatus();
    EXPECT_EQ(Text(9), "");
    EXPECT_EQ(Text(2), "");
}

TEST_F(StatusBar, DoubleClicksToggleTheSettingsAndTheShades) {
    NewWindow();
    // Grid snap set but 3-D editing off still shows grey.
    GSettings->ProjectOptions = poGridSnap;
    Form->ApplySettings();
    EXPECT_EQ(Shades(), "gggggg");

    struct TStep {
        int Panel;
        TProjectOptions Options;
        const char* Shades;
    };
    GSettings->ProjectOptions = 0;
    const TStep Steps[] = {
        {5, poObjectSnap | po3DEditing, "ggbbgg"},                // snapping on brings 3-D editing with it
        {4, poGridSnap | poObjectSnap | po3DEditing, "gbbbgg"},
        {6, poGridSnap | poObjectSnap, "gggggg"},                 // the snaps stay set, shown grey
        {6, poGridSnap | poObjectSnap | po3DEditing, "gbbbgg"},
        {4, poObjectSnap | po3DEditing, "ggbbgg"},                // snapping off leaves 3-D editing on
        {5, po3DEditing, "gggbgg"},
        {7, po3DEditing | poHighlight, "gggbbg"},
        {3, po3DEditing | poHighlight, "bggbbg"},
    };
    for (const TStep& Step : Steps) {
        DoubleClick(Step.Panel);
        EXPECT_EQ(GSettings->ProjectOptions, Step.Options) << Step.Panel;
        EXPECT_EQ(Shades(), Step.Shades) << Step.Panel;
    }
    EXPECT_TRUE(GSettings->GridEnabled);
    EXPECT_EQ(Window->Calls.back(), "ApplySettings");
    // Saved at once.
    TSarnovaSettings Stored;
    EXPECT_EQ(Stored.ProjectOptions, po3DEditing | poHighlight);
    EXPECT_TRUE(Stored.GridEnabled);
}

TEST_F(StatusBar, TheElasticPanelGoesBetweenOffAndCurves) {
    NewWindow();
    const std::pair<int, int> Cases[] = {{0, 1}, {1, 0}, {2, 0}};
    for (auto [From, To] : Cases) {
        GElasticMode = static_cast<std::uint8_t>(From);
        DoubleClick(8);
        EXPECT_EQ(GElasticMode, To) << From;
        EXPECT_EQ(Panel(8)->GetGrayed(), To == 0) << From;
    }
    Form->ElasticControlPointsAction->trigger();
    EXPECT_EQ(GElasticMode, 2);
    Form->UpdateActions();
    EXPECT_TRUE(Form->ElasticControlPointsAction->isChecked());
    EXPECT_FALSE(Form->ElasticOffAction->isChecked());
    EXPECT_FALSE(Panel(8)->GetGrayed());
}

TEST_F(StatusBar, SnapAndHighlightActionsEditTheSetsAndFollowTheirSwitch) {
    TSnapOptions& Snaps = GSettings->SnapOptions;
    Form->UpdateActions();
    EXPECT_FALSE(Form->PointSnapAction->isEnabled());
    EXPECT_FALSE(Form->MeshHighlightAction->isEnabled());
    EXPECT_TRUE(Form->ToggleSnappingAction->isEnabled());
    Form->ToggleSnappingAction->trigger();
    Form->ToggleHighlightingAction->trigger();
    EXPECT_EQ(GSettings->ProjectOptions, poObjectSnap | po3DEditing | poHighlight);
    Form->UpdateActions();
    EXPECT_TRUE(Form->PointSnapAction->isEnabled());
    EXPECT_TRUE(Form->MeshHighlightAction->isEnabled());

    // Points and network-curve vertices switch together, as the saved set reads back.
    Form->PointSnapAction->trigger();
    EXPECT_TRUE(Snaps.test(stPoint) && Snaps.test(stCurveNetPoint));
    EXPECT_EQ(TextToSnapOptions(SnapOptionsToText(Snaps)), Snaps);
    Form->PointSnapAction->trigger();
    EXPECT_FALSE(Snaps.test(stPoint) || Snaps.test(stCurveNetPoint));

    Snaps.set(stCurveNetCurve);
    Form->CurveSnapAction->trigger();
    EXPECT_TRUE(Snaps.test(stCurve) && Snaps.test(stCurveNetCurve));
    Form->CurveSnapAction->trigger();
    EXPECT_FALSE(Snaps.test(stCurve) || Snaps.test(stCurveNetCurve));
    for (QAction* Action : {Form->SurfaceEdgeSnapAction, Form->PolylineListSnapAction, Form->PolygonListSnapAction})
        Action->trigger();
    EXPECT_EQ(Snaps, TSnapOptions().set(stSurfaceEdge).set(stPolylineList).set(stPolygonList));

    Form->MeshHighlightAction->trigger();
    Form->PolygonHighlightAction->trigger();
    EXPECT_EQ(GSettings->HighlightGroups, (1u << hgMesh) | (1u << hgPolygons));
    TSarnovaSettings Stored;
    EXPECT_EQ(Stored.HighlightGroups, GSettings->HighlightGroups);
    EXPECT_EQ(Stored.SnapOptions, Snaps);

    // Disabled while their switch is off, the marks still show the sets.
    Form->ToggleSnappingAction->trigger();
    Form->ToggleHighlightingAction->trigger();
    EXPECT_EQ(GSettings->ProjectOptions, po3DEditing);
    Form->UpdateActions();
    EXPECT_TRUE(Form->SurfaceEdgeSnapAction->isChecked());
    EXPECT_FALSE(Form->SurfaceEdgeSnapAction->isEnabled());
    EXPECT_FALSE(Form->CurveSnapAction->isChecked());
    EXPECT_TRUE(Form->MeshHighlightAction->isChecked());
    EXPECT_FALSE(Form->MeshHighlightAction->isEnabled());
    EXPECT_FALSE(Form->CurveHighlightAction->isChecked());
}

class StatusOfDocumentWindows : public test::TDocumentWindowFixture {};

TEST_F(StatusOfDocumentWindows, TheWindowKeepsTheStatusBarInStep) {
    GSettings->ProjectOptions = po3DEditing;
    Form->ApplySettings();
    TViewform* W = NewWindow();
    ASSERT_NE(W, nullptr);
    auto Panel = [this](int Index) { return Form->VkStatusBar1->Panels().Item(Index); };
    EXPECT_FALSE(Panel(6)->GetGrayed());
    EXPECT_EQ(Panel(1)->GetText(), "");
    W->GetDocument().SetModified(true);
    EXPECT_EQ(Panel(1)->GetText(), "Modified");

    // The popup's Snap Options are the main window's snap actions.
    QMenu* Snap = W->PopupMenu1->findChild<QMenu*>("SnapOptions1");
    ASSERT_NE(Snap, nullptr);
    EXPECT_EQ(Snap->actions(), Form->SnapPopupMenu->actions());

    // Closing a window in the background leaves the active one's status.
    TViewform* Other = NewWindow();
    ASSERT_NE(Other, W);
    EXPECT_EQ(Panel(1)->GetText(), "");
    Other->GetDocument().SetModified(true);
    W->GetDocument().SetModified(false);
    SubWindow(W)->close();
    Settle();
    EXPECT_EQ(Form->ActiveDocumentWindow(), Other);
    EXPECT_EQ(Panel(1)->GetText(), "Modified");
    EXPECT_FALSE(Panel(6)->GetGrayed());

    Other->GetDocument().SetModified(false);
    SubWindow(Other)->close();
    Settle();
    EXPECT_TRUE(Panel(6)->GetGrayed());
    EXPECT_EQ(Panel(1)->GetText(), "");
}

}  // namespace
}  // namespace sarnova
