#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "document/GPline.h"
#include "document/GeoFace.h"
#include "document/Geometry.h"
#include "document/Settings.h"
#include "document/ui/AutoSaveTimer.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "platform/ScriptedUserDialogs.h"
#include "shell/GeometryServer.h"
#include "shell/MainUnit.h"
#include "shell/ProgramStart.h"
#include "tests/shell/DocumentWindowFixture.h"
#include "shell/ShellTestSupport.h"
#include "shell/MouseTestSupport.h"
#include "shell/ViewUnit.h"
#include "foundation/Polyline.h"
#include "views/OpenGLView.h"

namespace sarnova {
namespace {

std::string ReadAll(const std::filesystem::path& Path) {
    std::ifstream In(Path);
    std::stringstream Text;
    Text << In.rdbuf();
    return Text.str();
}

std::vector<std::string> Captions(const QMenu& Menu) {
    std::vector<std::string> Result;
    for (QAction* Action : Menu.actions())
        Result.push_back(Action->isSeparator() ? "-" : Action->text().toStdString());
    return Result;
}

// Blocks of kinds the program does not know are kept as they are: a document that loads and saves
// without any entity class.
const char* const TwoBlocks = "[TFutureSurface]\nName=Deck\n\n[TFutureCurve]\nName=Sheer\nColor=$000000FF\n\n";

const std::filesystem::path ExampleHull = std::filesystem::path(SARNOVA_SOURCE_DIR) / "examples" / "hull.geo";

// A left-button press at From, moves to To in a few steps and the release there.
void Drag(QWidget& Widget, QPoint From, QPoint To, Qt::KeyboardModifiers Keys = Qt::NoModifier) {
    SendMouse(Widget, QEvent::MouseButtonPress, From, Qt::LeftButton, Qt::LeftButton, Keys);
    for (int Step = 1; Step <= 4; ++Step)
        SendMouse(Widget, QEvent::MouseMove, From + (To - From) * Step / 4, Qt::NoButton, Qt::LeftButton, Keys);
    SendMouse(Widget, QEvent::MouseButtonRelease, To, Qt::LeftButton, Qt::NoButton, Keys);
}

QPoint PixelOf(TOpenGLView& View, double X, double Y, double Z) {
    const TPoint P = View.WorldToScreen(X, Y, Z);
    return {P.X, P.Y};
}

class Viewform : public test::TDocumentWindowFixture {
protected:
    static TGeometry& AddNamed(TViewform& W, const std::string& Name) {
        return *W.GetDocument().Add(std::make_unique<TBoxEntity>(Name));
    }
};

TEST_F(Viewform, ANewWindowIsUntitledUnmodifiedAndFitted) {
    TViewform* W = NewWindow();
    ASSERT_NE(W, nullptr);
    EXPECT_EQ(SubWindow(W)->windowTitle(), "untitled.geo");
    EXPECT_FALSE(W->IsModified());
    EXPECT_EQ(W->GetDocument().Count(), 0);
    EXPECT_TRUE(W->GetView().IsContextReady());
    EXPECT_GE(W->GetView().SavedCameraStates(), 1);  // ZoomAll keeps the camera it replaced
    EXPECT_EQ(W->GetView().GetInteractionMode(), GSettings->RotationMode);

    // Its menus stand in for the frame's File and Edit.
    std::vector<std::string> Bar;
    for (QAction* Action : Form->menuBar()->actions()) Bar.push_back(Action->text().toStdString());
    const std::vector<std::string> Expected = {"&File",  "&Edit",   "&Create", "Calculation",
                                               "&Tools", "&Window", "&Help"};
    EXPECT_EQ(Bar, Expected);
}

TEST_F(Viewform, OpeningAFileShowsItsNameAndAnUnmodifiedDocument) {
    TViewform* W = OpenWindow(WriteFile("hull.geo", TwoBlocks));
    ASSERT_NE(W, nullptr);
    EXPECT_EQ(SubWindow(W)->windowTitle(), "hull.geo");
    EXPECT_FALSE(W->IsModified());
    EXPECT_FALSE(W->CanUndo());
    EXPECT_EQ(W->GetDocument().Count(), 2);

    // The document's modified flag reaches the file manager and so the main window's Save.
    W->GetDocument().SetModified(true);
    EXPECT_TRUE(W->IsModified());
    Form->UpdateActions();
    EXPECT_TRUE(Form->SaveAction->isEnabled());
}

TEST_F(Viewform, AFileThatFailsToLoadLeavesTheWindowUntitled) {
    const auto Missing = Folder / "gone.geo";
    EXPECT_THROW(Form->OpenDocumentFile(Missing.string()), std::exception);
    Settle();
    TViewform* W = Active();
    ASSERT_NE(W, nullptr);
    EXPECT_EQ(SubWindow(W)->windowTitle(), "untitled.geo");
    // Save asks for a name rather than writing over the file that failed.
    Dialogs.CancelFileDialog();
    W->Save();
    ASSERT_EQ(Dialogs.ShownFileDialogs.size(), 1u);
    EXPECT_TRUE(Dialogs.ShownFileDialogs[0].Save);
    EXPECT_EQ(Dialogs.ShownFileDialogs[0].FileName, "untitled.geo");
    EXPECT_FALSE(std::filesystem::exists(Missing));
}

TEST_F(Viewform, ClosingAModifiedWindowAsksAndCancelKeepsIt) {
    TViewform* W = NewWindow();
    AddNamed(*W, "Keel");
    ASSERT_TRUE(W->IsModified());
    QMdiSubWindow* Sub = SubWindow(W);

    Dialogs.Answer(TModalResult::mrCancel);
    EXPECT_FALSE(Sub->close());
    Settle();
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Dialogs.Shown[0].Text, "untitled.geo is unsaved, Save?");
    EXPECT_EQ(Dialogs.Shown[0].Buttons, unsigned(mbYes | mbNo | mbCancel));
    ASSERT_EQ(Form->DocumentWindows().size(), 1u);
    EXPECT_EQ(W->GetDocument().Count(), 1);

    // Yes with the save dialog cancelled saves nothing and keeps the window too.
    Dialogs.Answer(TModalResult::mrYes);
    Dialogs.CancelFileDialog();
    EXPECT_FALSE(Sub->close());
    Settle();
    EXPECT_EQ(Form->DocumentWindows().size(), 1u);

    // A save that fails is reported and keeps the window and its document.
    Dialogs.Answer(TModalResult::mrYes);
    Dialogs.ChooseFile((Folder / "no-such-folder" / "keel.geo").string());
    EXPECT_FALSE(Sub->close());
    Settle();
    ASSERT_EQ(Form->DocumentWindows().size(), 1u);
    EXPECT_EQ(Dialogs.Shown.back().Icon, TMsgDlgType::mtError);
    EXPECT_TRUE(W->IsModified());

    Dialogs.Answer(TModalResult::mrNo);
    EXPECT_TRUE(Sub->close());
    Settle();
    EXPECT_TRUE(Form->DocumentWindows().empty());
}

TEST_F(Viewform, ClosingTheMainWindowAsksEveryModifiedWindow) {
    TViewform* First = NewWindow();
    AddNamed(*First, "Keel");
    NewWindow();  // unmodified: asks nothing
    TViewform* Third = NewWindow();
    AddNamed(*Third, "Deck");

    // Cancel at the second question: the window that asked and those after it stay, and so does the
    // program.
    Dialogs.Answer(TModalResult::mrNo);
    Dialogs.Answer(TModalResult::mrCancel);
    EXPECT_FALSE(Form->close());
    Settle();
    EXPECT_EQ(Dialogs.Shown.size(), 2u);
    ASSERT_EQ(Form->DocumentWindows().size(), 1u);
    EXPECT_EQ(Form->DocumentWindows()[0], Third);
    EXPECT_TRUE(Form->isVisible());

    Dialogs.Answer(TModalResult::mrNo);
    EXPECT_TRUE(Form->close());
    Settle();
    EXPECT_TRUE(Form->DocumentWindows().empty());
}

TEST_F(Viewform, SaveWritesAFileThatLoadsBackTheSame) {
    TViewform* W = OpenWindow(WriteFile("source.geo", TwoBlocks));
    ASSERT_EQ(W->GetDocument().Count(), 2);
    W->GetDocument().SetModified(true);

    // Save As under a new name; the caption follows.
    const auto Target = Folder / "saved.geo";
    Dialogs.ChooseFile(Target.string());
    W->SaveAs();
    EXPECT_EQ(SubWindow(W)->windowTitle(), "saved.geo");
    EXPECT_FALSE(W->IsModified());
    const std::string Saved = ReadAll(Target);
    EXPECT_EQ(Saved.find(TwoBlocks), 0u) << Saved;

    // A plain Save of a named document asks nothing and writes the same text.
    W->GetDocument().SetModified(true);
    W->Save();
    EXPECT_EQ(Dialogs.ShownFileDialogs.size(), 1u);
    EXPECT_EQ(ReadAll(Target), Saved);

    // Read back in a window of its own once the first is closed (an open file is not opened twice).
    SubWindow(W)->close();
    Settle();
    TViewform* Again = OpenWindow(Target);
    ASSERT_NE(Again, nullptr);
    EXPECT_EQ(Form->DocumentWindows().size(), 1u);
    EXPECT_EQ(Again->GetDocument().Count(), 2);
    const auto Resaved = Folder / "resaved.geo";
    Dialogs.ChooseFile(Resaved.string());
    Again->SaveAs();
    EXPECT_EQ(ReadAll(Resaved), Saved);
}

TEST_F(Viewform, TheExampleOpensAsCurvesAndSavesAsItWasWritten) {
    TViewform* W = OpenWindow(ExampleHull);
    ASSERT_NE(W, nullptr);
    EXPECT_EQ(SubWindow(W)->windowTitle(), "hull.geo");
    ASSERT_EQ(W->GetDocument().Count(), 7);
    for (int I = 0; I < W->GetDocument().Count(); ++I)
        EXPECT_NE(dynamic_cast<TGeoPline*>(&W->GetDocument().Items(I)), nullptr) << I;
    EXPECT_EQ(W->GetDocument().Items(0).GetName(), "Keel");
    const auto Copy = Folder / "copy.geo";
    Dialogs.ChooseFile(Copy.string());
    W->SaveAs();
    EXPECT_EQ(ReadAll(Copy), ReadAll(ExampleHull));
}

TEST_F(Viewform, TheRecentFilesOfTheFileMenuOpenInNewWindows) {
    const auto Path = WriteFile("recent.geo", TwoBlocks);
    TViewform* First = OpenWindow(Path);
    SubWindow(First)->close();
    Settle();
    TViewform* W = NewWindow();
    emit W->File1->aboutToShow();
    QAction* Recent = nullptr;
    for (QAction* Action : W->File1->actions())
        if (Action->isVisible() && Action->text().contains("recent.geo")) Recent = Action;
    ASSERT_NE(Recent, nullptr);
    Recent->trigger();
    Settle();
    ASSERT_EQ(Form->DocumentWindows().size(), 2u);
    EXPECT_EQ(SubWindow(Active())->windowTitle(), "recent.geo");
    EXPECT_EQ(Active()->GetDocument().Count(), 2);
}

TEST_F(Viewform, TheDocumentSpeaksToTheHubThroughItsWindow) {
    TViewform* W = NewWindow();
    TGeometryClient Client(Form->GeometryServer.get());
    std::vector<TGeoMessage*> Messages;
    int Draws = 0;
    Client.OnMessage = [&](TGeoMessage& Message) { Messages.push_back(&Message); };
    Client.OnDraw = [&](IGraphics&) { ++Draws; };

    W->GetDocument().SendMessage(std::make_unique<TGeoSelectionChange>());
    EXPECT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Form->GeometryServer->GetActiveList(), &W->GetDocument());
    W->GetView().Render();
    EXPECT_GE(Draws, 1);

    // Activating another window makes its document the hub's active one.
    TViewform* Other = NewWindow();
    ASSERT_NE(Other, W);
    EXPECT_EQ(Form->GeometryServer->GetActiveList(), &Other->GetDocument());
    Form->MdiArea->setActiveSubWindow(SubWindow(W));
    Settle();
    EXPECT_EQ(Form->GeometryServer->GetActiveList(), &W->GetDocument());
    EXPECT_TRUE(W->GetView().PopupAutoPopup);
    EXPECT_FALSE(Other->GetView().PopupAutoPopup);
}

TEST_F(Viewform, ThePopupListsTheShownNamedEntities) {
    TViewform* W = NewWindow();
    AddNamed(*W, "Alpha");
    AddNamed(*W, "Hidden").SetDisplayState(dsHidden);
    AddNamed(*W, "");
    AddNamed(*W, "B&C").SetSelected(true);

    W->PopupMenu1Popup();
    EXPECT_EQ(Captions(*W->Select1), (std::vector<std::string>{"Select &All", "Select &None", "&Invert Selection",
                                                                "-", "By Type", "-", "Alpha", "B&&C"}));
    const QList<QAction*> Items = W->Select1->actions();
    EXPECT_FALSE(Items[6]->isChecked());
    EXPECT_TRUE(Items[7]->isChecked());
    // The selected entity's own menu comes first.
    QAction* EntityMenu = W->PopupMenu1->actions().first();
    ASSERT_NE(EntityMenu, W->Select1->menuAction());
    ASSERT_NE(EntityMenu->menu(), nullptr);
    EXPECT_EQ(Captions(*EntityMenu->menu()).back(), "Show Attributes...");

    // Choosing a name selects that entity only; the next popup lists it once more, with one entity menu.
    Items[6]->trigger();
    EXPECT_TRUE(W->GetDocument().Items(0).GetSelected());
    EXPECT_FALSE(W->GetDocument().Items(3).GetSelected());
    const qsizetype Before = W->PopupMenu1->actions().size();
    W->PopupMenu1Popup();
    EXPECT_EQ(W->PopupMenu1->actions().size(), Before);
    EXPECT_EQ(W->Select1->actions().size(), 8);

    // Nothing selected: no entity menu; a deactivation takes an entity menu out as well.
    W->GetDocument().ClearSelection();
    W->PopupMenu1Popup();
    EXPECT_EQ(W->PopupMenu1->actions().first(), W->Select1->menuAction());
    W->GetDocument().Items(0).SetSelected(true);
    W->PopupMenu1Popup();
    NewWindow();
    EXPECT_EQ(W->PopupMenu1->actions().first(), W->Select1->menuAction());
}

TEST_F(Viewform, ThePopupEntityListStopsAtAScreenfull) {
    TViewform* W = NewWindow();
    for (int I = 0; I < 200; ++I) AddNamed(*W, "E" + std::to_string(I));
    W->PopupMenu1Popup();
    // Rows of 21 pixels: a 1024-pixel screen holds 48 items, five fixed ones and the separator included.
    const int Rows = W->screen()->geometry().height() / 21;
    ASSERT_GT(Rows, 6);
    EXPECT_EQ(W->Select1->actions().size(), Rows);
    EXPECT_EQ(W->Select1->actions().back()->text().toStdString(), "E" + std::to_string(Rows - 7));
}

TEST_F(Viewform, MouseLeaveClearsTheHighlightAndDeleteNeedsNoModifier) {
    GSettings->ProjectOptions = 0;
    TViewform* W = NewWindow();
    TGeometry& Entity = AddNamed(*W, "Keel");
    W->GetDocument().SetHighlightedGeometry(&Entity);
    Entity.SetHighlighted(true);
    QEvent Leave(QEvent::Leave);
    QApplication::sendEvent(&W->GetView(), &Leave);
    EXPECT_EQ(W->GetDocument().GetHighlightedGeometry(), nullptr);
    EXPECT_FALSE(Entity.GetHighlighted());

    Entity.SetSelected(true);
    W->GetView().setFocus();
    QApplication::setActiveWindow(Form.get());
    Settle();
    ASSERT_TRUE(W->GetView().hasFocus());
    for (TShiftState Shift : {TShiftState(ssShift), TShiftState(ssCtrl), TShiftState(ssAlt)}) {
        TKeyCode Key = VK_DELETE;
        W->GetView().KeyDown(Key, Shift);
        EXPECT_EQ(W->GetDocument().Count(), 1) << Shift;
    }
    TKeyCode Key = VK_DELETE;
    W->GetView().KeyDown(Key, 0);
    EXPECT_EQ(W->GetDocument().Count(), 0);
}

// The example seen from the side (X/Z), in select-and-edit mode.
class ViewformExample : public Viewform {
protected:
    void SetUp() override {
        Viewform::SetUp();
        W = OpenWindow(ExampleHull);
        ASSERT_NE(W, nullptr);
        View = &W->GetView();
        View->ViewZX();
        W->SetInteractionMode(imUser);
        Keel = dynamic_cast<TGeoPline*>(W->GetDocument().FindByName("Keel"));
        ASSERT_NE(Keel, nullptr);
    }
    // The window maximized and the hull seen in perspective from above its port quarter, fitted.
    void ShowInPerspective() {
        SubWindow(W)->showMaximized();
        TCamera& Camera = View->GetCamera();
        Camera.SetMode(cmPerspective);
        Camera.SetTarget({10, 0, 1.5});
        Camera.SetEye({-6, -16, 12});
        Camera.SetUp({0, 0, 1});
        View->ZoomAll();
    }
    bool OnlyKeelSelected() const {
        return Keel->GetSelected() && W->GetDocument().SelectedCount() == 1;
    }

    TViewform* W = nullptr;
    TOpenGLView* View = nullptr;
    TGeoPline* Keel = nullptr;
};

TEST_F(ViewformExample, AClickOnACurveSelectsIt) {
    // Between the keel's points at x 5 and 15; the stations stand at 10 and 15.
    const QPoint OnKeel = PixelOf(*View, 12.5, 0, 0);
    SendMouse(*View, QEvent::MouseButtonPress, OnKeel, Qt::LeftButton, Qt::LeftButton);
    SendMouse(*View, QEvent::MouseButtonRelease, OnKeel, Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(OnlyKeelSelected());

    // A click on nothing deselects it.
    SendMouse(*View, QEvent::MouseButtonPress, {4, 4}, Qt::LeftButton, Qt::LeftButton);
    SendMouse(*View, QEvent::MouseButtonRelease, {4, 4}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(W->GetDocument().SelectedCount(), 0);
}

TEST_F(ViewformExample, ABandOfThreePixelsSelectsNothing) {
    W->GetDocument().SelectOnly(Keel);
    // A Shift band over empty space: 3 pixels wide and 10 high fires no selection, so the keel stays
    // selected; 10 by 10 does, and deselects it.
    Drag(*View, {4, 4}, {7, 14}, Qt::ShiftModifier);
    EXPECT_TRUE(OnlyKeelSelected());
    Drag(*View, {4, 4}, {14, 14}, Qt::ShiftModifier);
    EXPECT_EQ(W->GetDocument().SelectedCount(), 0);

    // A band around the middle of the keel selects it.
    const QPoint OnKeel = PixelOf(*View, 12.5, 0, 0);
    Drag(*View, OnKeel - QPoint(10, 10), OnKeel + QPoint(10, 10), Qt::ShiftModifier);
    EXPECT_TRUE(OnlyKeelSelected());
}

TEST_F(ViewformExample, DraggingAPointInEditModeMovesItAndUndoPutsItBack) {
    // No snapping: the point goes where it is dragged.
    GSettings->ProjectOptions = 0;
    Form->ApplySettings();
    W->GetDocument().SelectOnly(Keel);
    W->UpdateActions();
    W->EditAction->trigger();
    ASSERT_TRUE(Keel->Editing());
    ASSERT_EQ(W->GetDocument().GetEditedGeometry(), Keel);

    // While editing, the popup lists no entities and offers no selection by kind or visibility.
    W->PopupMenu1Popup();
    EXPECT_EQ(W->Select1->actions().size(), 5);
    EXPECT_FALSE(W->PopupInvertSelection->isEnabled());
    EXPECT_FALSE(W->ByType1->menuAction()->isEnabled());
    EXPECT_FALSE(W->ShowHide1->menuAction()->isEnabled());

    // The keel's point at (15, 0, 0), dragged 40 pixels up.
    const TRPoint Before = *Keel->Polyline().Point(3);
    const QPoint Handle = PixelOf(*View, Before.X, Before.Y, Before.Z);
    Drag(*View, Handle, Handle - QPoint(0, 40));
    const TRPoint After = *Keel->Polyline().Point(3);
    EXPECT_GT(After.Z, Before.Z + 1);
    // The drag is applied to the document only when editing ends; the window counts it as unsaved
    // at once, so closing now asks.
    EXPECT_TRUE(W->IsModified());
    Dialogs.Answer(TModalResult::mrCancel);
    EXPECT_FALSE(SubWindow(W)->close());
    EXPECT_EQ(Dialogs.Shown.size(), 1u);

    Form->UpdateActions();
    ASSERT_TRUE(Form->UndoAction->isEnabled());
    Form->UndoAction->trigger();
    const TRPoint Undone = *Keel->Polyline().Point(3);
    EXPECT_DOUBLE_EQ(Undone.X, Before.X);
    EXPECT_DOUBLE_EQ(Undone.Y, Before.Y);
    EXPECT_DOUBLE_EQ(Undone.Z, Before.Z);

    // Out of edit mode the popup lists the curves again.
    W->EditAction->trigger();
    W->PopupMenu1Popup();
    EXPECT_EQ(W->Select1->actions().size(), 13);
    EXPECT_TRUE(W->ByType1->menuAction()->isEnabled());
}

TEST_F(ViewformExample, TheWindowShowsTheExampleCurves) {
    W->SetInteractionMode(imRotateWorld);
    ShowInPerspective();
    Form->UpdateActions();
    Settle();
    View->Render();
    const QImage Shot = Form->grab().toImage();
    ASSERT_FALSE(Shot.isNull());
    // Something besides the black background and the grey grid is drawn in the view.
    const QImage Frame = View->grabFramebuffer();
    int Coloured = 0;
    for (int Y = 0; Y < Frame.height(); ++Y)
        for (int X = 0; X < Frame.width(); ++X) {
            const QColor C = Frame.pixelColor(X, Y);
            if (C.red() != C.green() || C.green() != C.blue()) ++Coloured;
        }
    EXPECT_GT(Coloured, 100);
    const auto Artifacts = std::filesystem::path(GExeDir) / "artifacts";
    std::filesystem::create_directories(Artifacts);
    EXPECT_TRUE(Shot.save(QString::fromStdString((Artifacts / "viewform.png").string())));
}

double DistanceToSegment(QPointF P, QPointF A, QPointF B) {
    const QPointF D = B - A;
    const double Length2 = QPointF::dotProduct(D, D);
    const double T = Length2 > 0 ? std::clamp(QPointF::dotProduct(P - A, D) / Length2, 0.0, 1.0) : 0.0;
    const QPointF Foot = A + D * T;
    return std::hypot(P.x() - Foot.x(), P.y() - Foot.y());
}

TEST_F(ViewformExample, APolylineDrawnWithTheMouseShowsInTheNextFrameAndWipesNothing) {
    ShowInPerspective();
    Settle();
    // No snapping: the corners are where the clicks were, and no snap marker stays on the picture.
    W->GetDocument().SetProjectOptions(
        static_cast<TProjectOptions>(W->GetDocument().GetProjectOptions() & ~(poGridSnap | poObjectSnap)));
    Settle();
    const int Count = W->GetDocument().Count();
    const QImage Before = ScreenOf(*View);

    // Create > Polyline, four clicks and a right click, as a user draws it.
    ASSERT_TRUE(ClickMenuItem(OpenMenu(*Form, W->Create1), "Polyline"));
    const QSize Size = View->size();
    const QPoint Clicks[] = {{Size.width() * 3 / 10, Size.height() * 3 / 10},
                             {Size.width() * 6 / 10, Size.height() * 35 / 100},
                             {Size.width() * 65 / 100, Size.height() * 6 / 10},
                             {Size.width() * 35 / 100, Size.height() * 7 / 10}};
    for (QPoint At : Clicks) {
        SendMouse(*View, QEvent::MouseMove, At, Qt::NoButton, Qt::NoButton);
        Settle();
        SendMouse(*View, QEvent::MouseButtonPress, At, Qt::LeftButton, Qt::LeftButton);
        SendMouse(*View, QEvent::MouseButtonRelease, At, Qt::LeftButton, Qt::NoButton);
        Settle();
    }
    SendMouse(*View, QEvent::MouseButtonPress, Clicks[3], Qt::RightButton, Qt::RightButton);
    SendMouse(*View, QEvent::MouseButtonRelease, Clicks[3], Qt::RightButton, Qt::NoButton);
    Settle();
    ASSERT_EQ(W->GetDocument().Count(), Count + 1);
    auto* Made = dynamic_cast<TGeoPline*>(&W->GetDocument().Items(Count));
    ASSERT_NE(Made, nullptr);
    ASSERT_EQ(Made->Polyline().Count(), 4);
    std::vector<QPointF> Corners;
    for (int I = 0; I < 4; ++I) {
        const TRPoint& P = *Made->Polyline().Point(I);
        Corners.push_back(PixelOf(*View, P.X, P.Y, P.Z));
    }

    // The next frame on screen: the new curve along every segment, and away from it nothing wiped to
    // the background nor left over on it. (Where a curve lies in the grid's plane, the two may trade
    // pixels between renders, as the depth range follows the model's extents.)
    const QImage After = ScreenOf(*View);
    ASSERT_EQ(After.size(), Before.size());
    std::map<QRgb, int> Colours;
    for (int Y = 0; Y < Before.height(); ++Y)
        for (int X = 0; X < Before.width(); ++X) ++Colours[Before.pixel(X, Y)];
    const QRgb Background =
        std::max_element(Colours.begin(), Colours.end(), [](auto& A, auto& B) { return A.second < B.second; })->first;
    int OnCurve = 0, Elsewhere = 0;
    std::string Where;
    for (int Y = 0; Y < After.height(); ++Y)
        for (int X = 0; X < After.width(); ++X) {
            const QRgb Now = After.pixel(X, Y), Was = Before.pixel(X, Y);
            if (Now == Was) continue;
            double Nearest = 1e9;
            for (int I = 0; I + 1 < 4; ++I)
                Nearest = std::min(Nearest, DistanceToSegment(QPointF(X, Y), Corners[I], Corners[I + 1]));
            if (Nearest <= 8) {
                OnCurve += Now != Background;
            } else if (Now == Background || Was == Background) {
                if (++Elsewhere <= 10) Where += " (" + std::to_string(X) + "," + std::to_string(Y) + ")";
            }
        }
    for (int I = 0; I + 1 < 4; ++I) {
        const QPointF Middle = (Corners[I] + Corners[I + 1]) / 2;
        bool Drawn = false;
        for (int DY = -2; DY <= 2 && !Drawn; ++DY)
            for (int DX = -2; DX <= 2 && !Drawn; ++DX) {
                const int X = qRound(Middle.x()) + DX, Y = qRound(Middle.y()) + DY;
                Drawn = After.valid(X, Y) && After.pixel(X, Y) != Before.pixel(X, Y) && After.pixel(X, Y) != Background;
            }
        EXPECT_TRUE(Drawn) << "segment " << I << " is not in the frame";
    }
    EXPECT_GT(OnCurve, 50);
    EXPECT_EQ(Elsewhere, 0) << "pixels away from the new curve wiped or left over:" << Where;
    if (Elsewhere != 0) {
        const auto Artifacts = std::filesystem::path(GExeDir) / "artifacts";
        std::filesystem::create_directories(Artifacts);
        Before.save(QString::fromStdString((Artifacts / "polyline-before.png").string()));
        After.save(QString::fromStdString((Artifacts / "polyline-after.png").string()));
    }
}

TEST_F(Viewform, TheCalculationMenuRunsTheProgramsMacrosOnTheDocument) {
    const auto Macros = std::filesystem::path(GExeDir) / "Macros";
    ASSERT_FALSE(std::filesystem::exists(Macros)) << "the test makes and removes this folder";
    std::filesystem::create_directories(Macros);
    std::ofstream(Macros / "clear.cmd") << "//MACRONAME Clear Everything\nDELETE ALL\n";
    TViewform* W = NewWindow();
    AddNamed(*W, "Keel");

    const std::vector<std::string> Expected = {
        "Hydrostatics...",      "Section Area Curves...", "Entity Extents...", "Compartment Volumes...",
        "Permeability Plot...", "Generate Lines Plan...", "-",                 "Clear Everything"};
    EXPECT_EQ(Captions(*W->Calculation1), Expected);
    W->Calculation1->actions().back()->trigger();
    std::filesystem::remove_all(Macros);
    EXPECT_EQ(W->GetDocument().Count(), 0);
    EXPECT_TRUE(Dialogs.Shown.empty());
}

TEST_F(Viewform, SettingsReachTheViewAndTheAutoSaveTimer) {
    TViewform* W = NewWindow();
    GSettings->AutoSaveEnabled = true;
    GSettings->AutoSaveInterval = 10;
    GSettings->GridEnabled = true;
    GSettings->BackColor = clNavy;
    GSettings->ProjectOptions = poGridSnap | poHighlight;
    W->SetInteractionMode(imRotateWorld);
    GSettings->RotationMode = imRotateView;
    Form->ApplySettings();
    EXPECT_TRUE(W->AutoSaveTimer->Timer().isActive());
    EXPECT_EQ(W->AutoSaveTimer->Timer().interval(), 10 * 60 * 1000);
    EXPECT_TRUE(W->GetView().GetGrid().GetEnabled());
    EXPECT_EQ(W->GetView().GetColor(), clNavy);
    EXPECT_EQ(W->GetDocument().GetProjectOptions(), poGridSnap | poHighlight);
    EXPECT_EQ(W->GetView().GetInteractionMode(), imRotateView);

    // A mode other than rotation stays; auto-save off stops the timer.
    W->SetInteractionMode(imPan);
    GSettings->AutoSaveEnabled = false;
    GSettings->RotationMode = imRotateWorld;
    Form->ApplySettings();
    EXPECT_FALSE(W->AutoSaveTimer->Timer().isActive());
    EXPECT_EQ(W->GetView().GetInteractionMode(), imPan);
}

}  // namespace
}  // namespace sarnova
