// A naval architect's first hull, through the program's own windows: curves drawn with the curve
// creator, a hull surface, its hydrostatics in the tool window and in the table at several draughts,
// compartments from a macro run in the macro editor, the volumes report, the lines plan, the document
// exported as DXF and IGES, saved, closed and opened again. Each step checks the figures the window
// shows against the model's own; SARNOVA_SCREENSHOT_DIR collects a picture of every step.
#include <gtest/gtest.h>

#include <QApplication>
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

#include "curvenet/GXTCurve.h"
#include "curvenet/XTReferencePoints.h"
#include "document/GeoFace.h"
#include "foundation/DuZezOrideFormat.h"
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
#include "naval/ui/HydrostaticsFloatForm.h"
#include "naval/ui/HydrostaticsForm.h"
#include "naval/ui/LinesPlanUnit.h"
#include "naval/ui/VolumesUnit.h"
#include "shell/EntityFloat.h"
#include "shell/ShellTestSupport.h"
#include "shell/TextEdit.h"
#include "shell/VkGrid.h"
#include "tests/shell/DocumentWindowFixture.h"

namespace sarnova {
namespace {

void SendMouse(QWidget& Widget, QEvent::Type Type, QPoint Pixel, Qt::MouseButton Button, Qt::MouseButtons Held) {
    QMouseEvent Event(Type, QPointF(Pixel), Widget.mapToGlobal(QPointF(Pixel)), Button, Held, Qt::NoModifier);
    QApplication::sendEvent(&Widget, &Event);
}

void Click(QWidget& Widget, QPoint At, Qt::MouseButton Button) {
    SendMouse(Widget, QEvent::MouseMove, At, Qt::NoButton, Qt::NoButton);
    Settle();
    SendMouse(Widget, QEvent::MouseButtonPress, At, Button, Button);
    SendMouse(Widget, QEvent::MouseButtonRelease, At, Button, Qt::NoButton);
    Settle();
}

QPoint PixelOf(TOpenGLView& View, const TMVector& P) {
    const TPoint S = View.WorldToScreen(P.X, P.Y, P.Z);
    return {S.X, S.Y};
}

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
    // Runs Do on the modal dialog of kind TForm once it is up, then closes it; the clicks that open
    // the dialog come after this call.
    template <class TForm>
    void WhenShown(std::function<void(TForm&)> Do, std::function<bool(TForm&)> Ready = nullptr) {
        Seen = false;
        auto Poll = std::make_shared<std::function<void()>>();
        *Poll = [this, Do, Ready, Poll, Tries = 0]() mutable {
            auto* Dialog = dynamic_cast<TForm*>(QApplication::activeModalWidget());
            // Not from inside the dialog's own work, which lets events run while the cursor waits.
            if (Dialog == nullptr || QApplication::overrideCursor() != nullptr || (Ready && !Ready(*Dialog))) {
                if (++Tries < 500) QTimer::singleShot(10, *Poll);
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
    void Shot(QWidget& Widget, const std::string& Name) const {
        if (const char* Dir = std::getenv("SARNOVA_SCREENSHOT_DIR"))
            Widget.grab().save(QString::fromStdString(std::string(Dir) + "/" + Name + ".png"));
    }
    void ScreenShot(QWidget& Widget, const std::string& Name) const {
        if (const char* Dir = std::getenv("SARNOVA_SCREENSHOT_DIR"))
            ScreenOf(Widget).save(QString::fromStdString(std::string(Dir) + "/" + Name + ".png"));
    }

    bool Seen = false;
};

// How many entities of each class a document holds.
std::map<std::string, int> KindsOf(TGeometryInterface& Doc) {
    std::map<std::string, int> Kinds;
    for (int I = 0; I < Doc.Count(); ++I) ++Kinds[typeid(Doc.Items(I)).name()];
    return Kinds;
}

TEST_F(NavalWalkThrough, FromCurvesToASavedHullWithItsHydrostaticsCompartmentsAndDrawings) {
    RegisterCorvaneFrame();
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

    // 1. Curves: a sheer line of three clicks and a station started on it.
    ASSERT_TRUE(ClickMenuItem(Menu(*W, W->Create1), "D-Azadavaz Curve"));
    const QSize Size = View.size();
    const QPoint Sheer[] = {{Size.width() * 2 / 10, Size.height() * 4 / 10},
                            {Size.width() * 5 / 10, Size.height() * 35 / 100},
                            {Size.width() * 8 / 10, Size.height() * 4 / 10}};
    for (QPoint At : Sheer) Click(View, At, Qt::LeftButton);
    Click(View, Sheer[2], Qt::RightButton);
    ASSERT_EQ(Doc.Count(), 1);
    auto* SheerLine = dynamic_cast<TGeoXTCurve*>(&Doc.Items(0));
    ASSERT_NE(SheerLine, nullptr);
    const TPolyline& Drawn = *SheerLine->GetPolyline();
    const QPoint OnSheer = PixelOf(View, Drawn.Point(Drawn.Count() / 2)->Vector()) + QPoint(0, 4);
    const QPoint Keel(OnSheer.x(), Size.height() * 8 / 10);
    Click(View, OnSheer, Qt::LeftButton);
    Click(View, Keel, Qt::LeftButton);
    Click(View, Keel, Qt::RightButton);
    Click(View, Keel, Qt::RightButton);
    ASSERT_EQ(Doc.Count(), 2);
    auto* Station = dynamic_cast<TGeoXTCurve*>(&Doc.Items(1));
    ASSERT_NE(Station, nullptr);
    EXPECT_NE(dynamic_cast<TXTBead*>(Station->Curve().PointAt(0)), nullptr) << "the station starts on the sheer";
    ScreenShot(*Form, "01-curves");

    // 2. The hull surface: a yacht hull from the Create menu, generated from its frame.
    ASSERT_TRUE(ClickMenuItem(Menu(*W, W->Create1), "Corvane Hull"));
    ASSERT_EQ(Doc.Count(), 3);
    auto* Hull = dynamic_cast<TGeoCorvane*>(&Doc.Items(2));
    ASSERT_NE(Hull, nullptr);
    Doc.SelectOnly(Hull);
    Settle();
    auto* Frame = dynamic_cast<TCorvaneFrame*>(GetEntityForm()->ShownFrame());
    ASSERT_NE(Frame, nullptr);
    // Named in its frame, so that the macros and the hydrostatics window can call it by name.
    Frame->NameColor->NameEdit->setText("Yacht");
    EXPECT_EQ(Hull->GetName(), "Yacht");
    Frame->SpeedButton1->click();
    Settle();
    ASSERT_TRUE(Hull->Generated());
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
    }, [](THydrostaticsForm& Table) { return Table.GetSections() != nullptr; });
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
        "\nTOP " + Up(0.9) + "\nFIT " + HullName + "\nSECTIONS 5\nMIRRORED\nPERM 0.95\nEND\n" +
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
    ASSERT_EQ(CompartmentVolumes(Doc).size(), 3u) << "two compartments and their group";

    // 6. The volumes report: both compartments and their group, volumes positive, the group's net
    // volume the sum of its compartments'.
    std::vector<std::vector<std::string>> VolumeRows;
    WhenShown<TVolumesForm>([&](TVolumesForm& Report) {
        for (int R = 0; R < Report.VkGrid1->GetRowCount(); ++R) VolumeRows.push_back(GridRow(*Report.VkGrid1, R));
        Shot(Report, "06-volumes");
    });
    ASSERT_TRUE(ClickEnabledItem(Menu(*W, W->Calculation1), "Compartment Volumes..."));
    ASSERT_TRUE(Seen);
    ASSERT_EQ(VolumeRows.size(), 4u);
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
    ASSERT_TRUE(ClickEnabledItem(OpenSubmenu(Menu(*W, W->File1), "Export"), "IGES 5.0..."));
    ASSERT_TRUE(std::filesystem::exists(WholeDxf));
    ASSERT_TRUE(std::filesystem::exists(WholeIges));

    // 9. Saved, closed and opened again: the same entities, the same hydrostatics.
    const auto Saved = Folder / "walk.geo";
    Dialogs.ChooseFile(Saved.string());
    ASSERT_TRUE(ClickEnabledItem(Menu(*W, W->File1), "Save &as..."));
    ASSERT_TRUE(std::filesystem::exists(Saved));
    const auto KindsBefore = KindsOf(Doc);
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
    auto* Corvane = dynamic_cast<TGeoCorvane*>(HullAgain);
    ASSERT_NE(Corvane, nullptr);
    EXPECT_TRUE(Corvane->Generated());
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
    // line, and the whole document where it was, its hull one B-spline surface.
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
        ASSERT_TRUE(ClickEnabledItem(OpenSubmenu(Menu(*Target, Target->File1), "&Import"), Case.Item));
        if (Case.File == LinesDxf) {
            EXPECT_EQ(Read.Count(), PlanLines);
            continue;
        }
        const TMBox Back = Read.GetExtents();
        for (auto [Got, Want] : {std::pair{Back.Min, DocumentBox.Min}, std::pair{Back.Max, DocumentBox.Max}})
            EXPECT_NEAR(VectorDistance(Got, Want), 0, 1e-3) << Case.File;
        int Surfaces = 0;
        for (int I = 0; I < Read.Count(); ++I) Surfaces += dynamic_cast<TGeoBSurf*>(&Read.Items(I)) != nullptr;
        EXPECT_EQ(Surfaces, 1) << Case.File;
        if (Case.File == WholeIges) {
            Target->GetView().ViewForeEnd();
            Target->GetView().FitAll();
            Target->GetView().Render();
            Settle();
            ScreenShot(*Form, "09-iges-read-back");
        }
    }
}

}  // namespace
}  // namespace sarnova
