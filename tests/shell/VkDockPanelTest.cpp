#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <memory>

#include "controls/VkDockPanel.h"
#include "controls/VkDockPanelDrag.h"
#include "controls/VkDockPanelLayout.h"
#include "controls/VkDockPanelManager.h"
#include "controls/VkDockPanelSites.h"
#include "shell/ShellTestSupport.h"

namespace sarnova {
namespace {

// A tool window as the program builds them: a dock form filled by a floating-site panel with content.
class TToolForm : public TVkDockForm {
public:
    explicit TToolForm(const QString& Name, int Group = 0) {
        setObjectName(Name);
        setWindowTitle(Name);
        setAttribute(Qt::WA_DeleteOnClose);
        Panel = new TVkDockPanel(this);
        Panel->setObjectName("VkDockPanel1");
        Panel->Group = Group;
        auto* Fill = new QVBoxLayout(Panel);
        Fill->addWidget(new QLabel(Name, Panel));
        setWidget(Panel);
    }
    TVkDockPanel* Panel;
};

QPoint Centre(const QRect& R) { return R.topLeft() + QPoint(R.width() / 2, R.height() / 2); }

class Docking : public ::testing::Test {
protected:
    void SetUp() override {
        Window = std::make_unique<QMainWindow>();
        Window->setObjectName("MainForm");
        Window->setCentralWidget(new QLabel("Documents"));
        Window->statusBar()->showMessage("Ready");
        Panels = InstallMainDockPanels(*Window);
        Window->setGeometry(0, 0, 620, 460);
        Window->show();
        Settle();
    }
    void TearDown() override {
        Window.reset();
        Settle();
        EXPECT_EQ(GDockingManager->DockSiteForms.Count(), 0);
        EXPECT_EQ(GDockingManager->DockSitePanels.Count(), 0);
    }

    TToolForm* Tool(const QString& Name, QRect Place, int Group = 0) {
        auto* Form = new TToolForm(Name, Group);
        FloatForm(Form, Place);
        Settle();
        return Form;
    }
    // A drop at a point of a panel's influence, as a user's release there would make.
    void DropAt(TVkDockForm* Form, QPoint Point) {
        DropDockForm(Form, Point, UndockRect(Form, Point));
        Settle();
    }
    QPoint EdgePoint(TVkDockPanel* Panel) { return Centre(Panel->InfluenceRect()); }

    std::unique_ptr<QMainWindow> Window;
    TVkMainDockPanels Panels;
};

TEST_F(Docking, AToolWindowDocksAtEachEdgeAndFloatsAgain) {
    TToolForm* Form = Tool("Console", QRect(200, 120, 180, 120));
    const std::pair<TVkDockPanel*, Qt::DockWidgetArea> Edges[] = {
        {Panels.Left, Qt::LeftDockWidgetArea}, {Panels.Right, Qt::RightDockWidgetArea}, {Panels.Bottom, Qt::BottomDockWidgetArea}};
    for (auto [Panel, Area] : Edges) {
        EXPECT_FALSE(Panel->IsShowing());
        DropAt(Form, EdgePoint(Panel));
        EXPECT_FALSE(Form->isFloating()) << Panel->FullName();
        EXPECT_EQ(Window->dockWidgetArea(Form), Area);
        EXPECT_TRUE(Panel->IsShowing());
        EXPECT_FALSE(Form->Panel->IsDockSite());
        // Expanded to the window's undocked width (or height).
        if (Area == Qt::BottomDockWidgetArea) {
            EXPECT_NEAR(Form->height(), 120, 2);
        } else {
            EXPECT_NEAR(Form->width(), 180, 2);
        }
        // Dropped on the main window's documents: it floats there, the edge collapses.
        const QPoint Free = Centre(ScreenRectOf(Window->centralWidget()));
        DropAt(Form, Free);
        EXPECT_TRUE(Form->isFloating());
        EXPECT_EQ(ScreenRectOf(Form).topLeft(), Free);
        EXPECT_TRUE(Form->Panel->IsDockSite());
        EXPECT_FALSE(Panel->IsShowing());
    }
}

TEST_F(Docking, DraggingTheTitleDocksAndADoubleClickFloats) {
    TToolForm* Form = Tool("Console", QRect(200, 120, 180, 120));
    const QPoint Grab = Form->TitleArea().center();
    const QPoint Target = EdgePoint(Panels.Left);
    auto Send = [&](QEvent::Type Type, QPoint Global, Qt::MouseButtons Buttons) {
        QMouseEvent Event(Type, Form->mapFromGlobal(Global), Global, Qt::LeftButton, Buttons, Qt::NoModifier);
        QApplication::sendEvent(Form, &Event);
    };
    Send(QEvent::MouseButtonPress, Form->mapToGlobal(Grab), Qt::LeftButton);
    Send(QEvent::MouseMove, Form->mapToGlobal(Grab) + QPoint(30, 0), Qt::LeftButton);
    EXPECT_TRUE(Form->IsDragging());
    Send(QEvent::MouseMove, Target, Qt::LeftButton);
    Send(QEvent::MouseButtonRelease, Target, Qt::NoButton);
    Settle();
    EXPECT_FALSE(Form->isFloating());
    EXPECT_EQ(Window->dockWidgetArea(Form), Qt::LeftDockWidgetArea);

    const QPoint Title = Form->mapToGlobal(Form->TitleArea().center());
    Send(QEvent::MouseButtonDblClick, Title, Qt::LeftButton);
    Settle();
    EXPECT_TRUE(Form->isFloating());
    EXPECT_EQ(Form->size(), QSize(180, 120));
}

TEST_F(Docking, ACentreDropOnAFloatingToolWindowMakesATabbedSiteInItsPlace) {
    TToolForm* Entities = Tool("Entities", QRect(200, 100, 200, 150));
    TToolForm* Attributes = Tool("Attributes", QRect(420, 100, 150, 150));
    const QRect Place = Entities->geometry();
    DropAt(Attributes, Centre(ScreenRectOf(Entities->Panel)));

    ASSERT_EQ(GDockingManager->DockSiteForms.Count(), 1);
    auto* Site = qobject_cast<TVkTabbedDockSiteform*>(GDockingManager->DockSiteForms.Item(0));
    ASSERT_NE(Site, nullptr);
    EXPECT_EQ(Site->objectName(), "TVkTabbedDockSiteform2");
    EXPECT_EQ(Site->geometry(), Place);
    EXPECT_EQ(Site->DockedForms(), (std::vector<TVkDockForm*>{Entities, Attributes}));
    EXPECT_EQ(Site->windowTitle(), "Entities, Attributes");
    EXPECT_EQ(Entities->HostSite(), Site);
    EXPECT_FALSE(Attributes->Panel->IsDockSite());

    // A tab let go inside its own site stays.
    DropAt(Attributes, Centre(ScreenRectOf(Site)));
    EXPECT_EQ(Attributes->HostSite(), Site);

    // Dragged out and let go elsewhere: it floats, the site dissolves and its last window floats
    // where it was, with its undocked size.
    const QPoint EntitiesCorner = ScreenRectOf(Entities).topLeft();
    DropAt(Attributes, QPoint(450, 330));
    EXPECT_TRUE(Attributes->isFloating());
    EXPECT_TRUE(Attributes->Panel->IsDockSite());
    EXPECT_EQ(GDockingManager->DockSiteForms.Count(), 0);
    EXPECT_TRUE(Entities->isFloating());
    EXPECT_EQ(Entities->HostSite(), nullptr);
    EXPECT_EQ(Entities->geometry(), QRect(EntitiesCorner, QSize(200, 150)));
}

TEST_F(Docking, AnEdgeDropOnAFloatingToolWindowMakesAConjoinedSite) {
    TToolForm* Entities = Tool("Entities", QRect(200, 100, 200, 150));
    TToolForm* Attributes = Tool("Attributes", QRect(420, 100, 150, 150));
    const QRect Target = ScreenRectOf(Entities->Panel);
    DropAt(Attributes, QPoint(Target.right() - 2, Target.center().y()));

    ASSERT_EQ(GDockingManager->DockSiteForms.Count(), 1);
    auto* Site = qobject_cast<TVkConjoinDockSiteForm*>(GDockingManager->DockSiteForms.Item(0));
    ASSERT_NE(Site, nullptr);
    EXPECT_EQ(Site->objectName(), "TVkConjoinDockSiteForm2");
    EXPECT_EQ(Site->windowTitle(), "Entities, Attributes");
    EXPECT_FALSE(Entities->Panel->IsDockSite());
    EXPECT_FALSE(Attributes->Panel->IsDockSite());
    // Side by side inside the site, the dropped one on the right.
    EXPECT_TRUE(ScreenRectOf(Site).contains(ScreenRectOf(Entities)));
    EXPECT_TRUE(ScreenRectOf(Site).contains(ScreenRectOf(Attributes)));
    EXPECT_LT(ScreenRectOf(Entities).right(), ScreenRectOf(Attributes).left());
    EXPECT_EQ(ScreenRectOf(Entities).top(), ScreenRectOf(Attributes).top());

    Attributes->hide();
    Site->UpdateCaption();
    EXPECT_EQ(Site->windowTitle(), "Entities");
    Attributes->show();

    // Closing one of the two windows floats the other and frees the site.
    Attributes->close();
    Settle();
    EXPECT_EQ(GDockingManager->DockSiteForms.Count(), 0);
    EXPECT_TRUE(Entities->isFloating());
    EXPECT_TRUE(Entities->isVisible());
    EXPECT_TRUE(Entities->Panel->IsDockSite());
}

TEST_F(Docking, ASecondWindowOnAnEdgePanelTabsAtTheCentreAndSplitsAtAnEdge) {
    TToolForm* Entities = Tool("Entities", QRect(200, 100, 160, 150));
    TToolForm* Attributes = Tool("Attributes", QRect(380, 100, 160, 150));
    DropAt(Entities, EdgePoint(Panels.Left));
    const QSize PanelSize = Panels.Left->ScreenRect().size();

    DropAt(Attributes, Centre(Panels.Left->ScreenRect()));
    ASSERT_EQ(Panels.Left->DockedControls().size(), 1u);
    auto* Site = qobject_cast<TVkTabbedDockSiteform*>(Panels.Left->DockedControls().front());
    ASSERT_NE(Site, nullptr);
    EXPECT_EQ(Site->DockedForms(), (std::vector<TVkDockForm*>{Entities, Attributes}));
    EXPECT_NEAR(Panels.Left->ScreenRect().width(), PanelSize.width(), 2);

    // One tab out: the other takes the site's place in the panel.
    DropAt(Attributes, QPoint(450, 300));
    EXPECT_EQ(GDockingManager->DockSiteForms.Count(), 0);
    EXPECT_EQ(Panels.Left->DockedControls(), (std::vector<QDockWidget*>{Entities}));

    // The top zone of the panel puts the new window above the one there.
    const QRect Edge = Panels.Left->ScreenRect();
    DropAt(Attributes, QPoint(Edge.center().x(), Edge.top() + 3));
    EXPECT_EQ(Panels.Left->DockedControls(), (std::vector<QDockWidget*>{Attributes, Entities}));
    EXPECT_LT(ScreenRectOf(Attributes).bottom(), ScreenRectOf(Entities).top());
}

TEST_F(Docking, AConjoinedSiteGoesOnlyOntoAnEmptyPanelAndKeepsItsArrangement) {
    TToolForm* Entities = Tool("Entities", QRect(200, 100, 160, 150));
    TToolForm* Attributes = Tool("Attributes", QRect(380, 100, 160, 150));
    TToolForm* Groups = Tool("Groups", QRect(380, 280, 160, 100));
    const QRect Target = ScreenRectOf(Entities->Panel);
    DropAt(Attributes, QPoint(Target.center().x(), Target.bottom() - 2));
    auto* Site = qobject_cast<TVkConjoinDockSiteForm*>(GDockingManager->DockSiteForms.Item(0));
    ASSERT_NE(Site, nullptr);
    EXPECT_LT(ScreenRectOf(Entities).bottom(), ScreenRectOf(Attributes).top());

    DropAt(Groups, EdgePoint(Panels.Right));
    EXPECT_FALSE(Panels.Right->CanDockForm(Site));
    EXPECT_TRUE(Panels.Left->CanDockForm(Site));

    Panels.Left->DockDrop(Site, EdgePoint(Panels.Left));
    Settle();
    EXPECT_EQ(GDockingManager->DockSiteForms.Count(), 0);
    EXPECT_EQ(Panels.Left->DockedControls(), (std::vector<QDockWidget*>{Entities, Attributes}));
    EXPECT_LT(ScreenRectOf(Entities).bottom(), ScreenRectOf(Attributes).top());
    EXPECT_FALSE(Entities->Panel->IsDockSite());
}

TEST_F(Docking, ClosingTheOnlyWindowAtTheBottomCollapsesThePanelAboveTheStatusBar) {
    TToolForm* Form = Tool("Console", QRect(200, 100, 200, 120));
    DropAt(Form, EdgePoint(Panels.Bottom));
    ASSERT_TRUE(Panels.Bottom->IsShowing());
    EXPECT_LT(ScreenRectOf(Form).bottom(), ScreenRectOf(Window->statusBar()).top());

    Form->close();
    Settle();
    EXPECT_FALSE(Panels.Bottom->IsShowing());
    EXPECT_EQ(Panels.Bottom->DockedControls().size(), 0u);
    EXPECT_EQ(Window->statusBar()->geometry().bottom(), Window->rect().bottom());
    EXPECT_EQ(Window->centralWidget()->geometry().bottom() + 1, Window->statusBar()->geometry().top());
}

TEST_F(Docking, GroupsDecideWhatAPanelAccepts) {
    TToolForm* Three = Tool("Three", QRect(200, 100, 160, 120), 3);
    TToolForm* Any = Tool("Any", QRect(380, 100, 160, 120), 0);
    Panels.Left->Group = 2;
    QRect Preview;
    EXPECT_FALSE(Panels.Left->DockOver(Three, EdgePoint(Panels.Left), Preview));
    EXPECT_TRUE(Panels.Left->DockOver(Any, EdgePoint(Panels.Left), Preview));
    // Refused: the window floats where it was let go.
    DropAt(Three, EdgePoint(Panels.Left));
    EXPECT_TRUE(Three->isFloating());
    DropAt(Any, EdgePoint(Panels.Left));
    EXPECT_FALSE(Any->isFloating());
}

TEST_F(Docking, APreviewOverACollapsedPanelIsAsThickAsTheWindow) {
    TToolForm* Form = Tool("Console", QRect(200, 100, 170, 110));
    const QRect Edge = Panels.Right->ScreenRect();
    QRect Preview;
    ASSERT_TRUE(Panels.Right->DockOver(Form, EdgePoint(Panels.Right), Preview));
    EXPECT_EQ(Preview, QRect(Edge.left() - 170, Edge.top(), 170, Edge.height()));
}

TEST_F(Docking, SitesAreNamedAfterTheirCount) {
    TVkTabbedDockSiteform* First = GDockingManager->CreateTabbedSite();
    EXPECT_EQ(First->objectName(), "TVkTabbedDockSiteform2");
    TVkConjoinDockSiteForm* Second = GDockingManager->CreateConjoinSite();
    EXPECT_EQ(Second->objectName(), "TVkConjoinDockSiteForm3");
    First->setObjectName("tvktabbeddocksiteFORM4");
    EXPECT_EQ(GDockingManager->CreateTabbedSite()->objectName(), "TVkTabbedDockSiteform5");
    EXPECT_EQ(GDockingManager->DockSiteForms.FindByName("TVkConjoinDockSiteForm3"), Second);
    EXPECT_EQ(GDockingManager->DockSiteForms.FindByName("tvkconjoindocksiteform3"), nullptr);
    EXPECT_EQ(GDockingManager->DockSitePanels.FindPanel("MainForm.VkDockPanel2"), Panels.Right);
    EXPECT_TRUE(GDockingManager->DockSitePanels.IsToolWindow(Window.get()));
    GDockingManager->CloseAll();
    EXPECT_EQ(GDockingManager->DockSiteForms.Count(), 0);
}

TEST_F(Docking, CloseAllClosesToolWindowsAndFreesSites) {
    TToolForm* Entities = Tool("Entities", QRect(200, 100, 200, 150));
    TToolForm* Attributes = Tool("Attributes", QRect(420, 100, 150, 150));
    Tool("Groups", QRect(420, 280, 150, 100));
    DropAt(Attributes, Centre(ScreenRectOf(Entities->Panel)));
    ASSERT_EQ(GDockingManager->DockSiteForms.Count(), 1);
    GDockingManager->CloseAll();
    Settle();
    EXPECT_EQ(GDockingManager->DockSiteForms.Count(), 0);
    EXPECT_EQ(GDockingManager->DockSitePanels.Count(), 3);  // the edges
}

TEST_F(Docking, TheTabMenuSetsTheTabPositionAndShowToolWindowBringsItsPageForward) {
    TToolForm* Entities = Tool("Entities", QRect(200, 100, 200, 150));
    TToolForm* Attributes = Tool("Attributes", QRect(420, 100, 150, 150));
    DropAt(Attributes, Centre(ScreenRectOf(Entities->Panel)));
    auto* Site = qobject_cast<TVkTabbedDockSiteform*>(GDockingManager->DockSiteForms.Item(0));
    ASSERT_NE(Site, nullptr);
    QMenu* Menu = Site->PageControl->TabPositionMenu();
    ASSERT_EQ(Menu->actions().size(), 4);
    EXPECT_EQ(Menu->actions()[2]->text(), "Left");
    Menu->actions()[2]->trigger();
    EXPECT_EQ(Site->PageControl->tabPosition(), QTabWidget::West);

    Site->PageControl->setCurrentIndex(0);
    ShowToolWindow(Attributes);
    EXPECT_EQ(Site->PageControl->currentIndex(), 1);

    // A hidden window's tab goes; showing the window while its site is hidden shows the site.
    Attributes->hide();
    EXPECT_FALSE(Site->PageControl->isTabVisible(1));
    EXPECT_EQ(Site->windowTitle(), "Entities");
    Site->hide();
    Entities->show();
    EXPECT_TRUE(Site->isVisible());
}

TEST_F(Docking, TheInformationWindowListsPanelsAndSites) {
    TToolForm* Entities = Tool("Entities", QRect(200, 100, 200, 150));
    TToolForm* Attributes = Tool("Attributes", QRect(420, 100, 150, 150));
    TToolForm* Groups = Tool("Groups", QRect(420, 280, 150, 100));
    DropAt(Attributes, Centre(ScreenRectOf(Entities->Panel)));
    DropAt(Groups, EdgePoint(Panels.Bottom));
    GDockingManager->ShowInformation();
    ASSERT_NE(GDockingManager->InformationForm, nullptr);
    EXPECT_EQ(GDockingManager->InformationForm->windowTitle(), "Docking Manager");
    QTreeWidget* Tree = GDockingManager->InformationForm->Tree();
    ASSERT_EQ(Tree->topLevelItemCount(), 2);
    QStringList Lines;
    for (int Root = 0; Root < 2; ++Root) {
        Lines << Tree->topLevelItem(Root)->text(0);
        for (int I = 0; I < Tree->topLevelItem(Root)->childCount(); ++I) Lines << Tree->topLevelItem(Root)->child(I)->text(0);
    }
    EXPECT_EQ(Lines, (QStringList{"VkDockPanels",
                                  "VkDockPanel1 (Owner:MainForm; DockCount: 0; Hidden)",
                                  "VkDockPanel2 (Owner:MainForm; DockCount: 0; Hidden)",
                                  "VkDockPanel3 (Owner:MainForm; DockCount: 1; Showing)",
                                  "VkDockPanel1 (Owner:Entities; DockedTo: PageControl1)",
                                  "VkDockPanel1 (Owner:Attributes; DockedTo: PageControl1)",
                                  "VkDockPanel1 (Owner:Groups; DockedTo: VkDockPanel3)",
                                  "VkDockForms",
                                  "TVkTabbedDockSiteform2 (Floating)"}));
    GDockingManager->InformationForm->close();
    EXPECT_EQ(GDockingManager->InformationForm, nullptr);
}

}  // namespace
}  // namespace sarnova
