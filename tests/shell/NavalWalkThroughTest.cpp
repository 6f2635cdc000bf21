// A naval architect's first hull, through the program's own windows: curves drawn with the curve
// creator, a hull surface, its hydrostatics in the tool window and in the table at several draughts,
// compartments from a macro run in the macro editor, the volumes report, the lines plan, the document
// exported as DXF and IGES, saved, closed and opened again. Each step checks the figures the window
// shows against the model's own; SARNOVA_SCREENSHOT_DIR collects a picture of every step.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "curvenet/GBSurfL.h"
#include "curvenet/GXTCurve.h"
#include "curvenet/GXTSurface.h"
#include "curvenet/ui/XTCurveFrame.h"
#include "curvenet/ui/XTSurfaceFrame.h"
#include "curvenet/XTReferencePoints.h"
#include "document/GeoFace.h"
#include "foundation/NumberText.h"
#include "foundation/Polygon.h"
#include "hulls/GCorvane.h"
#include "entities/GBSurf.h"
#include "entities/ui/FrameParts.h"
#include "hulls/ui/CorvaneFrame.h"
#include "naval/CalcSections.h"
#include "naval/HullSelection.h"
#include "naval/HydroTable.h"
#include "naval/Linesplan.h"
#include "naval/VkHydro.h"
#include "naval/VolumesUnit.h"
#include "shell/HydrostaticsFloatForm.h"
#include "naval/ui/HydrostaticsForm.h"
#include "naval/ui/LinesPlanUnit.h"
#include "naval/ui/VolumesUnit.h"
#include "shell/EntityFloat.h"
#include "surfaces/SurfaceList.h"
#include "shell/ShellTestSupport.h"
#include "shell/MouseTestSupport.h"
#include "shell/TextEdit.h"
#include "controls/VkGrid.h"
#include "tests/shell/DocumentWindowFixture.h"

namespace sarnova {
namespace {

// Opens the submenu Caption of an open menu in its place and answers it, laid out and shown; nullptr
// without one.
QMenu* OpenSubmenu(QMenu* Menu, const std::string& Caption) {
    for (QAction* Action : Menu->actions())
        if (Action->menu() && Action->isVisible() && Action->text().toStdString() == Caption) {
            QMenu* Sub = Action->menu();
            const QPoint At = Menu->mapToGlobal(Menu->actionGeometry(Action).topRight());
            // The submenu alone stays up, as a click on its item closes it as it does the chain.
            Menu->close();
            emit Sub->aboutToShow();
            Sub->popup(At);
            Settle();
            return Sub;
        }
    return nullptr;
}

// Whether the enabled item Caption of an open menu was there to be clicked; a disabled one is left
// alone, as a user's click on it would be.
bool ClickEnabledItem(QMenu* Menu, const std::string& Caption) {
    for (QAction* Action : Menu->actions())
        if (Action->isVisible() && Action->text().toStdString() == Caption && !Action->isEnabled()) {
            Menu->close();
            Settle();
            return false;
        }
    return ClickMenuItem(Menu, Caption);
}

// The cells of a grid row as shown.
std::vector<std::string> GridRow(TVkGrid& Grid, int Row) {
    std::vector<std::string> Cells;
    for (int C = 0; C < Grid.GetColCount(); ++C) Cells.push_back(Grid.Cell(C, Row).DisplayText());
    return Cells;
}

double Number(const std::string& Text) { return std::stod(Text); }

// The hull's particulars from its facets below the waterplane: a road of its own, independent of the
// calculation sections the windows use. The hull is the starboard half; its surface may stray a few
// millimetres across the centreplane near the keel, so the facets are cut there first, which makes
// them the half body whose record describes both sides.
THydrostaticsData FacetHydrostatics(TGeometry& Hull, double Draught) {
    const auto Query = HullQuery();
    Hull.Query(*Query);
    THydrostaticsData R;
    ResetHydrostatics(R);
    if (Query->Count() != 1) return R;
    const std::unique_ptr<TPolygonList> Facets = HullSurfaceFacets(HullObjectOfItem(Query->Item(0)));
    if (!Facets) return R;
    const auto Starboard = ClipPolygonsByPlane(*Facets, 1, PlaneFromNormalAndPoint({0, 1, 0}, {0, 0, 0}));
    MeshHydrostatics(*ClipPolygonsByPlane(*Starboard, 0, WaterplaneAtDraught(Draught)), R);
    return R;
}

class NavalWalkThrough : public test::TDocumentWindowFixture {
protected:
    // Runs Do on the modal dialog of kind TForm once it is up (and Ready, when given: not inside its
    // own work, which lets events run), then closes it; the clicks that open the dialog come after
    // this call.
    template <class TForm>
    void WhenShown(std::function<void(TForm&)> Do, std::function<bool(TForm&)> Ready = nullptr) {
        Seen = false;
        auto Poll = std::make_shared<std::function<void()>>();
        *Poll = [this, Do, Ready, Poll, Tries = 0]() mutable {
            auto* Dialog = dynamic_cast<TForm*>(QApplication::activeModalWidget());
            if (Dialog == nullptr || (Ready && !Ready(*Dialog))) {
                if (++Tries < 500) {
                    QTimer::singleShot(10, *Poll);
                } else if (auto* Other = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                    // Not the dialog looked for, or never ready: closed, so that the walk goes on to
                    // fail rather than wait.
                    Other->reject();
                }
                return;
            }
            Seen = true;
            SettleExposed(*Dialog);
            Do(*Dialog);
            Dialog->reject();
        };
        QTimer::singleShot(0, *Poll);
    }
    // A menu of the window's bar opened after the program's idle time, when its actions are brought
    // up to date (the test's own event processing never waits for more events).
    QMenu* Menu(TViewform& W, QMenu* Top) {
        Settle();
        Form->UpdateActions();
        W.UpdateActions();
        return OpenMenu(*Form, Top);
    }
    // While the returned guard lives, a modal dialog that comes up is answered OK, as a user takes
    // the properties a format asks for when the settings say to ask.
    std::shared_ptr<bool> AcceptDialogs() {
        auto Live = std::make_shared<bool>(true);
        auto Poll = std::make_shared<std::function<void()>>();
        std::weak_ptr<bool> Watch = Live;
        std::weak_ptr<std::function<void()>> Self = Poll;
        *Poll = [Watch, Self] {
            if (Watch.expired()) return;
            if (auto* Dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) Dialog->accept();
            if (auto Next = Self.lock()) QTimer::singleShot(10, [Next] { (*Next)(); });
        };
        QTimer::singleShot(0, [Poll] { (*Poll)(); });
        return Live;
    }
    void Shot(QWidget& Widget, const std::string& Name) const {
        if (const char* Dir = std::getenv("SARNOVA_SCREENSHOT_DIR"))
            Widget.grab().save(QString::fromStdString(std::string(Dir) + "/" + ShotPrefix + Name + ".png"));
    }
    void ScreenShot(QWidget& Widget, const std::string& Name) const {
        if (const char* Dir = std::getenv("SARNOVA_SCREENSHOT_DIR"))
            ScreenOf(Widget).save(QString::fromStdString(std::string(Dir) + "/" + ShotPrefix + Name + ".png"));
    }

    bool Seen = false;
    // Names the pictures of one walk.
    std::string ShotPrefix;
};

// How many entities of each class a document holds.
std::map<std::string, int> KindsOf(TGeometryInterface& Doc) {
    std::map<std::string, int> Kinds;
    for (int I = 0; I < Doc.Count(); ++I) ++Kinds[typeid(Doc.Items(I)).name()];
    return Kinds;
}

// The world point's pixel in the view, where a click puts it.
QPoint At(TOpenGLView& View, double X, double Y) { return PixelOf(View, TMVector{X, Y, 0}); }

// The pixel of the point of Curve's display line nearest to the station X.
QPoint OnCurveAt(TOpenGLView& View, TGeoXTCurve& Curve, double X) {
    const TPolyline& Line = *Curve.GetPolyline();
    int Best = 0;
    for (int I = 1; I < Line.Count(); ++I)
        if (std::abs(Line.Point(I)->X - X) < std::abs(Line.Point(Best)->X - X)) Best = I;
    return PixelOf(View, Line.Point(Best)->Vector());
}

// Draws a curve with the curve creator through the clicks, ended by a right click.
void DrawCurve(TOpenGLView& View, std::initializer_list<QPoint> Clicks) {
    for (QPoint P : Clicks) Click(View, P, Qt::LeftButton);
    Click(View, *(Clicks.end() - 1), Qt::RightButton);
}

// The hull the walk makes: a yacht hull from the Create menu beside two drawn curves, or a surface
// on a network of drawn curves (keel, sheer and stations resting on them).
enum class THullRoad { Yacht, CurveNetwork };

class NavalWalk : public NavalWalkThrough, public ::testing::WithParamInterface<THullRoad> {
protected:
    // The yacht hull, generated and named in its frame, beside a sheer and a station drawn on it.
    TGeometry* MakeYacht(TViewform& W) {
        RegisterCorvaneFrame();
        TOpenGLView& View = W.GetView();
        TGeometryInterface& Doc = W.GetDocument();
        const QSize Size = View.size();
        if (!ClickMenuItem(Menu(W, W.Create1), "D-Azadavaz Curve")) return nullptr;
        DrawCurve(View, {{Size.width() * 2 / 10, Size.height() * 4 / 10},
                         {Size.width() * 5 / 10, Size.height() * 35 / 100},
                         {Size.width() * 8 / 10, Size.height() * 4 / 10}});
        auto* Sheer = Doc.Count() == 1 ? dynamic_cast<TGeoXTCurve*>(&Doc.Items(0)) : nullptr;
        if (Sheer == nullptr) return nullptr;
        const TPolyline& Drawn = *Sheer->GetPolyline();
        const QPoint OnSheer = PixelOf(View, Drawn.Point(Drawn.Count() / 2)->Vector()) + QPoint(0, 4);
        const QPoint Keel(OnSheer.x(), Size.height() * 8 / 10);
        DrawCurve(View, {OnSheer, Keel});
        Click(View, Keel, Qt::RightButton);
        auto* Station = Doc.Count() == 2 ? dynamic_cast<TGeoXTCurve*>(&Doc.Items(1)) : nullptr;
        EXPECT_TRUE(Station && dynamic_cast<TXTBead*>(Station->Curve().PointAt(0))) << "the station starts on the sheer";
        ScreenShot(*Form, "01-curves");

        if (!ClickMenuItem(Menu(W, W.Create1), "Corvane Hull") || Doc.Count() != 3) return nullptr;
        auto* Hull = dynamic_cast<TGeoCorvane*>(&Doc.Items(2));
        if (Hull == nullptr) return nullptr;
        Doc.SelectOnly(Hull);
        Settle();
        auto* Frame = dynamic_cast<TCorvaneFrame*>(GetEntityForm()->ShownFrame());
        if (Frame == nullptr) return nullptr;
        // Named in its frame, so that the macros and the hydrostatics window can call it by name.
        Frame->NameColor->NameEdit->setText("Yacht");
        Frame->SpeedButton1->click();
        Settle();
        EXPECT_TRUE(Hull->Generated());
        return Hull;
    }

    // A surface on a network drawn in the plan view: a keel and a sheer along the length, five stations
    // each started on the sheer and ended on the keel, the sheer raised to the deck in its frame's
    // grid, and "Create XTSurface Group" from the view's menu on the selected curves. The compartments
    // fit the surface's calculation sections, made from its popup menu.
    TGeometry* MakeNetworkHull(TViewform& W) {
        RegisterXTCurveFrame();
        RegisterXTSurfaceFrame();
        TOpenGLView& View = W.GetView();
        TGeometryInterface& Doc = W.GetDocument();
        TMBox Plan;
        InitEmptyBox(Plan);
        ExtendBoxXYZ(Plan, -1, -1, 0);
        ExtendBoxXYZ(Plan, 21, 5, 0);
        View.ZoomToBox(Plan);
        Settle();
        if (!ClickMenuItem(Menu(W, W.Create1), "D-Azadavaz Curve")) return nullptr;
        DrawCurve(View, {At(View, 0, 0), At(View, 10, 0), At(View, 20, 0)});
        DrawCurve(View, {At(View, 0, 2.5), At(View, 7, 4), At(View, 13, 4), At(View, 20, 2)});
        if (Doc.Count() != 2) return nullptr;
        auto* Keel = dynamic_cast<TGeoXTCurve*>(&Doc.Items(0));
        auto* Sheer = dynamic_cast<TGeoXTCurve*>(&Doc.Items(1));
        if (Keel == nullptr || Sheer == nullptr) return nullptr;
        for (double X : Stations) {
            const QPoint Top = OnCurveAt(View, *Sheer, X);
            const QPoint Bottom = OnCurveAt(View, *Keel, X);
            DrawCurve(View, {Top, (Top * 4 + Bottom * 6) / 10, Bottom});
        }
        // A right click with nothing entered puts the tool away.
        Click(View, At(View, 10, -0.5), Qt::RightButton);
        EXPECT_EQ(Doc.Count(), 2 + static_cast<int>(std::size(Stations)));
        for (int I = 2; I < Doc.Count(); ++I) {
            auto* Station = dynamic_cast<TGeoXTCurve*>(&Doc.Items(I));
            if (Station == nullptr) return nullptr;
            const TXTCurve& C = Station->Curve();
            auto* Top = dynamic_cast<TXTBead*>(C.PointAt(0));
            auto* Bottom = dynamic_cast<TXTBead*>(C.PointAt(C.PointCount() - 1));
            EXPECT_TRUE(Top && Top->GetTargetNode() == &Sheer->Curve()) << "station " << I << " starts on the sheer";
            EXPECT_TRUE(Bottom && Bottom->GetTargetNode() == &Keel->Curve()) << "station " << I << " ends on the keel";
        }
        ScreenShot(*Form, "01-curves");

        // The sheer up to the deck: its vertices' z typed into the frame's grid.
        Doc.SelectOnly(Sheer);
        Settle();
        auto* SheerFrame = dynamic_cast<TXTCurveFrame*>(GetEntityForm()->ShownFrame());
        if (SheerFrame == nullptr) return nullptr;
        for (int Row = 1; Row <= Sheer->Curve().PointCount(); ++Row) SheerFrame->VkGrid1->item(Row, 3)->setText("3");
        Settle();
        auto* FirstStation = dynamic_cast<TGeoXTCurve*>(&Doc.Items(2));
        FirstStation->Curve().Regenerate();
        EXPECT_NEAR(FirstStation->Curve().PointAt(0)->GetPosition().Z, 3, 1e-9) << "the stations follow the sheer";

        // Every curve selected from the Edit menu; the group from the view's popup menu.
        if (!ClickMenuItem(Menu(W, W.Edit1), "Select &All")) return nullptr;
        W.PopupMenu1->popup(View.mapToGlobal(At(View, 10, -0.5)));
        Settle();
        QAction* EntityItems = W.PopupMenu1->actions().value(0);
        QMenu* Items = EntityItems ? EntityItems->menu() : nullptr;
        if (Items == nullptr) return nullptr;
        const QPoint Where = W.PopupMenu1->mapToGlobal(W.PopupMenu1->actionGeometry(EntityItems).topRight());
        W.PopupMenu1->close();
        Items->popup(Where);
        Settle();
        if (!ClickEnabledItem(Items, "Create XTSurface Group")) return nullptr;
        auto* Surface = dynamic_cast<TGeoXTSurface*>(&Doc.Items(Doc.Count() - 1));
        if (Surface == nullptr) return nullptr;
        Doc.SelectOnly(Surface);
        Settle();
        auto* Frame = dynamic_cast<TXTSurfaceFrame*>(GetEntityForm()->ShownFrame());
        if (Frame == nullptr) return nullptr;
        Frame->VkGroupBox1->NameEdit->setText("Hull");
        EXPECT_EQ(Surface->GetName(), "Hull");

        const int Before = Doc.Count();
        TMenuItem* Sections = Surface->PopupMenu()->Find("Create Calculation Sections");
        if (Sections == nullptr) return nullptr;
        Sections->Click();
        Settle();
        EXPECT_EQ(Doc.Count(), Before + 1);
        if (Doc.Count() == Before + 1) Doc.Items(Before).SetName(SectionsName);
        Doc.SelectOnly(Surface);
        Settle();
        return Surface;
    }

    static constexpr double Stations[] = {3, 5.5, 8.5, 11.5, 16};
    static constexpr const char* SectionsName = "Sections";

};

TEST_P(NavalWalk, FromCurvesToASavedHullWithItsHydrostaticsCompartmentsAndDrawings) {
    ShotPrefix = GetParam() == THullRoad::Yacht ? "yacht-" : "network-";
    TViewform* W = NewWindow();
    ASSERT_NE(W, nullptr);
    TOpenGLView& View = W->GetView();
    TGeometryInterface& Doc = W->GetDocument();
    SubWindow(W)->showMaximized();
    View.ViewXY();
    Doc.SetProjectOptions(static_cast<TProjectOptions>((Doc.GetProjectOptions() & ~poGridSnap) | poObjectSnap));
    Form->CurveSnapAction->trigger();
    if (!GSettings->SnapOptions.test(stCurve)) Form->CurveSnapAction->trigger();
    SettleExposed(*Form);

    // 1 and 2. Curves drawn with the curve creator, and the hull surface.
    TGeometry* Hull = GetParam() == THullRoad::Yacht ? MakeYacht(*W) : MakeNetworkHull(*W);
    ASSERT_NE(Hull, nullptr);
    ASSERT_FALSE(Hull->GetName().empty());
    View.ViewForeEnd();
    View.FitAll();
    Settle();
    View.Render();
    Settle();
    ScreenShot(*Form, "02-hull");
    const TMBox Box = Hull->CalculateExtents();
    const double Depth = Box.Max.Z - Box.Min.Z, Length = Box.Max.X - Box.Min.X;
    ASSERT_GT(Depth, 0);
    ASSERT_GT(Length, 0);
    const std::string HullName = Hull->GetName();
    const std::string FitName = GetParam() == THullRoad::Yacht ? HullName : SectionsName;

    // 3. The Hydrostatics tool window, on the selected hull at half its height.
    QMenu* ToolWindows = OpenSubmenu(Menu(*W, W->Edit1), "Editor Tool Windows");
    ASSERT_NE(ToolWindows, nullptr);
    ASSERT_TRUE(ClickEnabledItem(ToolWindows, "Hydrostatics"));
    THydrostaticsFloatForm* Float = GetHydrostaticsFloatForm();
    ASSERT_TRUE(Float->isVisible());
    // The window takes the hull selected in the document as it opens.
    ASSERT_EQ(Float->GetHull(), Hull);
    EXPECT_FALSE(Float->SelectButton->isEnabled());
    const double Half = Box.Min.Z + Depth / 2;
    EXPECT_NEAR(Number(Float->VkGrid1->Cell(1, 0).DisplayText()), Half, 1e-3);
    const THydrostaticsData HalfFacets = FacetHydrostatics(*Hull, Half);
    ASSERT_GT(HalfFacets.Volume, 0);
    EXPECT_NEAR(Number(Float->VkGrid1->Cell(1, 1).DisplayText()), HalfFacets.Displacement,
                0.01 * HalfFacets.Displacement);
    Shot(*Float, "03-hydrostatics-window");

    // 4. The hydrostatic table at five draughts from light to deep; each row agrees with the facets.
    std::vector<double> Draughts;
    std::string DraughtList;
    for (int K = 1; K <= 5; ++K) {
        Draughts.push_back(Box.Min.Z + Depth * K / 6);
        DraughtList += (K > 1 ? " " : "") + FormatWithPoint("%.3f", {Draughts.back()});
    }
    std::vector<std::vector<std::string>> TableRows;
    WhenShown<THydrostaticsForm>([&](THydrostaticsForm& Table) {
        Table.Edit1->setText(QString::fromStdString(DraughtList));
        Table.Button1->click();
        Settle();
        for (int R = 0; R < Table.VkGrid1->GetRowCount(); ++R) TableRows.push_back(GridRow(*Table.VkGrid1, R));
        Shot(Table, "04-hydrostatic-table");
    }, [](THydrostaticsForm& Table) { return Table.GetSections() != nullptr && Table.Button1->isEnabled(); });
    ASSERT_TRUE(ClickEnabledItem(Menu(*W, W->Calculation1), "Hydrostatics..."));
    ASSERT_TRUE(Seen);
    ASSERT_EQ(TableRows.size(), Draughts.size() + 1);
    ASSERT_GE(TableRows[0].size(), 3u);
    EXPECT_EQ(TableRows[0][0], "T");
    EXPECT_EQ(TableRows[0][1], "DISPM");
    EXPECT_EQ(TableRows[0][2], "VOLM");
    double Previous = 0;
    for (std::size_t I = 0; I < Draughts.size(); ++I) {
        const auto& Row = TableRows[I + 1];
        const THydrostaticsData Facets = FacetHydrostatics(*Hull, Draughts[I]);
        EXPECT_NEAR(Number(Row[0]), Draughts[I], 1e-3);
        EXPECT_NEAR(Number(Row[2]), Facets.Volume, 0.01 * Facets.Volume) << "T " << Row[0];
        EXPECT_NEAR(Number(Row[1]), Facets.Displacement, 0.01 * Facets.Displacement) << "T " << Row[0];
        EXPECT_GT(Number(Row[2]), Previous) << "the volume grows with the draught";
        Previous = Number(Row[2]);
    }

    // 5. Compartments from a macro typed into the macro editor and run from its menu.
    ASSERT_TRUE(ClickMenuItem(Menu(*W, W->Tools1), "Macro Editor..."));
    auto* Editor = dynamic_cast<TTextEditForm*>(QApplication::activeWindow());
    if (Editor == nullptr)
        for (QWidget* Top : QApplication::topLevelWidgets())
            if (auto* E = dynamic_cast<TTextEditForm*>(Top); E && E->isVisible()) Editor = E;
    ASSERT_NE(Editor, nullptr);
    const auto At = [&](double Fraction) { return FormatWithPoint("%.3f", {Box.Min.X + Length * Fraction}); };
    const auto Up = [&](double Fraction) { return FormatWithPoint("%.3f", {Box.Min.Z + Depth * Fraction}); };
    const std::string Macro =
        "COMPARTMENT Hold\nFRONT " + At(0.6) + "\nBACK " + At(0.4) + "\nINSIDE 0\nOUTSIDE 10\nBOTTOM " + Up(0.3) +
        "\nTOP " + Up(0.9) + "\nFIT " + FitName + "\nSECTIONS 5\nMIRRORED\nPERM 0.95\nEND\n" +
        "COMPARTMENT Store\nFRONT " + At(0.55) + "\nBACK " + At(0.45) + "\nINSIDE 0\nOUTSIDE 0.1\nBOTTOM " +
        Up(0.6) + "\nTOP " + Up(0.8) + "\nMIRRORED\nPERM 0.6\nEND\n" + "OPENGROUP Holds\nHold\nStore\nEND\n";
    Editor->RichEdit1->selectAll();
    Editor->RichEdit1->insertPlainText(QString::fromStdString(Macro));
    SettleExposed(*Editor);
    // A new macro is saved before it runs.
    Dialogs.ChooseFile((Folder / "compartments.cmd").string());
    Editor->RunAction->trigger();
    Settle();
    Shot(*Editor, "05-macro-editor");
    EXPECT_TRUE(Dialogs.Shown.empty()) << Dialogs.Shown.front().Text;
    EXPECT_EQ(Editor->ListBox1->count(), 0) << Editor->ListBox1->item(0)->text().toStdString();
    // Two compartments and their group; the calculation sections are a polyline list too, which the
    // volumes report counts as a space of its own.
    const std::size_t Spaces = GetParam() == THullRoad::Yacht ? 3 : 4;
    ASSERT_EQ(CompartmentVolumes(Doc).size(), Spaces);

    // 6. The volumes report: both compartments and their group, volumes positive, the group's net
    // volume the sum of its compartments'.
    std::vector<std::vector<std::string>> VolumeRows;
    WhenShown<TVolumesForm>([&](TVolumesForm& Report) {
        for (int R = 0; R < Report.VkGrid1->GetRowCount(); ++R) VolumeRows.push_back(GridRow(*Report.VkGrid1, R));
        Shot(Report, "06-volumes");
    });
    ASSERT_TRUE(ClickEnabledItem(Menu(*W, W->Calculation1), "Compartment Volumes..."));
    ASSERT_TRUE(Seen);
    ASSERT_EQ(VolumeRows.size(), Spaces + 1);
    EXPECT_EQ(VolumeRows[0], (std::vector<std::string>{"Name", "Type", "Permeability", "Volume", "X", "Y", "Z", "VNet"}));
    std::map<std::string, std::vector<std::string>> ByName;
    for (std::size_t R = 1; R < VolumeRows.size(); ++R) ByName[VolumeRows[R][0]] = VolumeRows[R];
    ASSERT_EQ(ByName.count("Hold"), 1u);
    ASSERT_EQ(ByName.count("Store"), 1u);
    ASSERT_EQ(ByName.count("Holds"), 1u);
    const double HoldVolume = Number(ByName["Hold"][3]), StoreVolume = Number(ByName["Store"][3]);
    EXPECT_GT(HoldVolume, 0);
    EXPECT_GT(StoreVolume, 0);
    EXPECT_LT(HoldVolume, TableRows.back().empty() ? 0 : Number(TableRows.back()[2]));
    EXPECT_NEAR(Number(ByName["Hold"][7]), 0.95 * HoldVolume, 2e-3);
    // Mirrored spaces lie across the centreline.
    EXPECT_EQ(ByName["Hold"][5], "0.000");
    EXPECT_EQ(ByName["Store"][5], "0.000");
    EXPECT_EQ(ByName["Holds"][1], "Group");
    EXPECT_NEAR(Number(ByName["Holds"][7]), Number(ByName["Hold"][7]) + Number(ByName["Store"][7]), 2e-3);

    // 7. The lines plan of the selected hull, written as DXF from its window.
    Doc.SelectOnly(Hull);
    Settle();
    const auto LinesDxf = Folder / "lines.dxf";
    Dialogs.ChooseFile(LinesDxf.string());
    int PlanLines = 0;
    WhenShown<TLinesPlanForm>([&](TLinesPlanForm& Plan) {
        PlanLines = Plan.Plan().ToPolylineList()->Count();
        Shot(Plan, "07-lines-plan");
        Plan.ToolButton12->trigger();
    });
    ASSERT_TRUE(ClickEnabledItem(Menu(*W, W->Calculation1), "Generate Lines Plan..."));
    ASSERT_TRUE(Seen);
    EXPECT_GT(PlanLines, 0);
    ASSERT_TRUE(std::filesystem::exists(LinesDxf));

    // 8. The whole document through the Export menu.
    const auto WholeDxf = Folder / "hull.dxf", WholeIges = Folder / "hull.igs";
    Dialogs.ChooseFile(WholeDxf.string());
    ASSERT_TRUE(ClickEnabledItem(OpenSubmenu(Menu(*W, W->File1), "Export"), "AutoCAD DXF..."));
    Dialogs.ChooseFile(WholeIges.string());
    {
        const auto Guard = AcceptDialogs();
        ASSERT_TRUE(ClickEnabledItem(OpenSubmenu(Menu(*W, W->File1), "Export"), "IGES 5.0..."));
    }
    ASSERT_TRUE(std::filesystem::exists(WholeDxf));
    ASSERT_TRUE(std::filesystem::exists(WholeIges));

    // 9. Saved, closed and opened again: the same entities, the same hydrostatics.
    const auto Saved = Folder / "walk.geo";
    Dialogs.ChooseFile(Saved.string());
    ASSERT_TRUE(ClickEnabledItem(Menu(*W, W->File1), "Save &as..."));
    ASSERT_TRUE(std::filesystem::exists(Saved));
    const auto KindsBefore = KindsOf(Doc);
    const std::string HullClass = typeid(*Hull).name();
    const TMBox DocumentBox = Doc.GetExtents();
    Editor = nullptr;
    Float->close();
    SubWindow(W)->close();
    Settle();
    ASSERT_TRUE(Form->DocumentWindows().empty());
    TViewform* Again = OpenWindow(Saved);
    ASSERT_NE(Again, nullptr);
    TGeometryInterface& Reopened = Again->GetDocument();
    EXPECT_EQ(KindsOf(Reopened), KindsBefore);
    TGeometry* HullAgain = Reopened.FindByName(HullName);
    ASSERT_NE(HullAgain, nullptr);
    EXPECT_EQ(typeid(*HullAgain).name(), HullClass);
    const THydrostaticsData Deep = FacetHydrostatics(*HullAgain, Draughts.back());
    EXPECT_NEAR(Deep.Volume, Number(TableRows.back()[2]), 0.01 * Deep.Volume);
    SubWindow(Again)->showMaximized();
    Again->GetView().ViewForeEnd();
    Again->GetView().FitAll();
    SettleExposed(*Form);
    Again->GetView().Render();
    Settle();
    ScreenShot(*Form, "08-reopened");

    // 10. The exported files read back through the Import menu into new documents: the plan's every
    // line, and the whole document where it was, its hull as B-spline surfaces (the yacht one, the
    // network one for each face between two stations).
    const int HullSurfaces = GetParam() == THullRoad::Yacht ? 1 : static_cast<int>(std::size(Stations)) - 1;
    struct TReadBack {
        std::filesystem::path File;
        const char* Item;
    };
    for (const TReadBack& Case : {TReadBack{LinesDxf, "AutoCAD DXF..."}, TReadBack{WholeDxf, "AutoCAD DXF..."},
                                  TReadBack{WholeIges, "IGES 5.0..."}}) {
        TViewform* Target = NewWindow();
        ASSERT_NE(Target, nullptr);
        TGeometryInterface& Read = Target->GetDocument();
        Dialogs.ChooseFile(Case.File.string());
        {
            const auto Guard = AcceptDialogs();
            ASSERT_TRUE(ClickEnabledItem(OpenSubmenu(Menu(*Target, Target->File1), "&Import"), Case.Item));
        }
        if (Case.File == LinesDxf) {
            EXPECT_EQ(Read.Count(), PlanLines);
            continue;
        }
        const TMBox Back = Read.GetExtents();
        for (auto [Got, Want] : {std::pair{Back.Min, DocumentBox.Min}, std::pair{Back.Max, DocumentBox.Max}})
            EXPECT_NEAR(VectorDistance(Got, Want), 0, 1e-3) << Case.File;
        int Surfaces = 0;
        for (int I = 0; I < Read.Count(); ++I) {
            if (dynamic_cast<TGeoBSurf*>(&Read.Items(I))) ++Surfaces;
            if (auto* List = dynamic_cast<TGeoBSurfList*>(&Read.Items(I))) Surfaces += List->Surfaces().Count();
        }
        EXPECT_EQ(Surfaces, HullSurfaces) << Case.File;
        if (Case.File == WholeIges) {
            Target->GetView().ViewForeEnd();
            Target->GetView().FitAll();
            Target->GetView().Render();
            Settle();
            ScreenShot(*Form, "09-iges-read-back");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Hulls, NavalWalk, ::testing::Values(THullRoad::Yacht, THullRoad::CurveNetwork),
                         [](const ::testing::TestParamInfo<THullRoad>& Info) {
                             return Info.param == THullRoad::Yacht ? "Yacht" : "CurveNetwork";
                         });

}  // namespace
}  // namespace sarnova
