#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QStackedWidget>
#include <QTextBrowser>
#include <QTreeWidget>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "curvenet/GXTCurve.h"
#include "curvenet/GXTSurface.h"
#include "document/GeoFace.h"
#include "document/Geometry.h"
#include "document/TrackInfo.h"
#include "foundation/TextUtils.h"
#include "platform/RecordingGraphics.h"
#include "platform/Registry.h"
#include "shell/ConsoleFloat.h"
#include "shell/ErrorsFloat.h"
#include "shell/GeometryServer.h"
#include "shell/GroupsFloat.h"
#include "shell/HelpFloat.h"
#include "shell/HierarchyFloat.h"
#include "shell/OpeningsFloat.h"
#include "shell/SelectionFloat.h"
#include "shell/ShellTestSupport.h"
#include "controls/VkDockPanelDrag.h"
#include "controls/VkDockPanelLayout.h"
#include "controls/VkHelpPanel.h"
#include "tests/shell/DocumentWindowFixture.h"

namespace sarnova {
namespace {

// Entities of two classes whose descriptions differ in letter case, and an internal one.
class TLowerEntity : public TBoxEntity {
public:
    using TBoxEntity::TBoxEntity;
    const TGeometryClass& GetClass() const override { return GeometryClassOf<TLowerEntity>(); }
    static std::string GetKeyword() { return "Tbox"; }
    static int GetImageIndex() { return 51; }
};

class TUpperEntity : public TBoxEntity {
public:
    using TBoxEntity::TBoxEntity;
    const TGeometryClass& GetClass() const override { return GeometryClassOf<TUpperEntity>(); }
    static std::string GetKeyword() { return "TPolyline"; }
    static int GetImageIndex() { return 42; }
};

class TInternalEntity : public TBoxEntity {
public:
    explicit TInternalEntity(const std::string& Name) : TBoxEntity(Name) { Capabilities |= cpInternal; }
};

std::string Text(const QTreeWidgetItem* Node) { return Node->text(0).toStdString(); }

class ToolWindows : public test::TDocumentWindowFixture {
protected:
    TGeometryInterface& Doc(TViewform* W) { return W->GetDocument(); }
    template <class T = TBoxEntity>
    TGeometry& Add(TViewform* W, const std::string& Name) {
        return *Doc(W).Add(std::make_unique<T>(Name));
    }
    // The names the Entities window's list shows, row by row.
    static std::vector<std::string> ListNames(TSelectionForm& F) {
        std::vector<std::string> Names;
        for (int Row = 0; Row < F.ListModel->rowCount(); ++Row)
            Names.push_back(F.ListModel->index(Row, 0).data().toString().toStdString());
        return Names;
    }
    static std::vector<int> SelectedRows(TSelectionForm& F) {
        std::vector<int> Rows;
        for (const QModelIndex& Index : F.ListView1->selectionModel()->selectedRows()) Rows.push_back(Index.row());
        std::sort(Rows.begin(), Rows.end());
        return Rows;
    }
    TSelectionForm* ListForm() {
        TSelectionForm* F = GetSelectionForm();
        F->SetMode(0);
        return F;
    }
    TSelectionForm* TreeForm() {
        TSelectionForm* F = GetSelectionForm();
        F->SetMode(1);
        return F;
    }
    // Counts the selection notifications the hub hands on.
    int CountSelectionMessages(const std::function<void()>& Action) {
        TGeometryClient Counter(Form->GeometryServer.get());
        int Count = 0;
        Counter.OnMessage = [&](TGeoMessage& M) { Count += dynamic_cast<TGeoSelectionChange*>(&M) != nullptr; };
        Action();
        return Count;
    }
    void SendToList(TSelectionForm& F, QEvent::Type Type) {
        QMouseEvent Event(Type, QPointF(2, 2), F.ListView1->viewport()->mapToGlobal(QPointF(2, 2)), Qt::LeftButton,
                          Type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(F.ListView1->viewport(), &Event);
    }
};

// ---- The pattern ----

TEST_F(ToolWindows, EachOpensFromItsActionDocksAndIsMadeAfreshOnceClosed) {
    struct TCase {
        QAction* Action;
        const char* Name;
        const char* Caption;
        std::function<QWidget*()> Get;
    };
    const TCase Cases[] = {
        {Form->SelectionDockerAction, "SelectionForm", "Entities", [] { return GetSelectionForm(); }},
        {Form->OpeningsAction, "OpeningsForm", "Openings", [] { return GetOpeningsForm(); }},
        {Form->GroupsAction, "GroupsForm", "Groups", [] { return GetGroupsForm(); }},
        {Form->HierarchyAction, "HierarchyForm", "Hierarchy", [] { return GetHierarchyForm(); }},
        {Form->ErrorsAction, "ErrorsForm", "Modelling Errors", [] { return GetErrorsForm(); }},
        {Form->HelpAction, "HelpForm", "Help", [] { return GetHelpForm(); }},
    };
    Form->UpdateActions();
    for (const TCase& C : Cases) {
        ASSERT_TRUE(C.Action->isEnabled()) << C.Name;
        C.Action->trigger();
        Settle();
        auto* Window = qobject_cast<TVkDockForm*>(C.Get());
        ASSERT_NE(Window, nullptr) << C.Name;
        EXPECT_TRUE(Window->isVisible()) << C.Name;
        EXPECT_EQ(Window->objectName().toStdString(), C.Name);
        EXPECT_EQ(Window->windowTitle().toStdString(), C.Caption);
        QWidget* ByName = nullptr;
        Form->ReloadDockedControl(nullptr, C.Name, ByName);
        EXPECT_EQ(ByName, Window) << C.Name;

        const QRect Edge = Form->DockPanels.Left->InfluenceRect();
        const QPoint Drop = Edge.center();
        DropDockForm(Window, Drop, UndockRect(Window, Drop));
        Settle();
        EXPECT_FALSE(Window->isFloating()) << C.Name;
        EXPECT_EQ(Form->dockWidgetArea(Window), Qt::LeftDockWidgetArea) << C.Name;

        Window->close();
        EXPECT_NE(C.Get(), Window) << C.Name;  // made anew, while the closed one waits to be freed
        Settle();
        C.Get()->close();
        Settle();
    }
}

TEST_F(ToolWindows, WindowsOpenedForTheFirstTimeDoNotCoverEachOther) {
    Form->UpdateActions();
    const std::pair<QAction*, std::function<QWidget*()>> Tools[] = {
        {Form->ErrorsAction, [] { return GetErrorsForm(); }},
        {Form->ConsoleAction, [] { return GetConsoleForm(); }},
        {Form->GroupsAction, [] { return GetGroupsForm(); }},
        {Form->HelpAction, [] { return GetHelpForm(); }},
    };
    std::vector<QPoint> Places;
    for (const auto& [Action, Get] : Tools) {
        Action->trigger();
        Settle();
        QWidget* Shown = Get();
        ASSERT_TRUE(Shown->isVisible()) << Action->text().toStdString();
        const QPoint Place = Shown->geometry().topLeft();
        for (const QPoint& Earlier : Places) EXPECT_NE(Place, Earlier) << Action->text().toStdString();
        Places.push_back(Place);
    }
    for (const auto& [Action, Get] : Tools) Get()->close();
    Settle();
}

TEST_F(ToolWindows, TheEntitiesListModelGoesWithItsWindow) {
    const QPointer<QObject> Model = ListForm()->ListModel;
    GetSelectionForm()->close();
    Settle();
    EXPECT_TRUE(Model.isNull());
}

TEST_F(ToolWindows, ClosingTheShownDocumentEmptiesEveryWindow) {
    TViewform* W = NewWindow();
    Add(W, "A").SetSelected(true);
    TSelectionForm* Entities = ListForm();
    ASSERT_EQ(Entities->ListModel->rowCount(), 1);
    TErrorsForm* Errors = GetErrorsForm();
    Add(W, "B").AddInfoMessage({nullptr, "Bad", EmptyBox});
    Doc(W).Items(1).SendMessage(std::make_unique<TGeoListChange>());
    ASSERT_EQ(Errors->TreeView1->topLevelItemCount(), 1);

    Dialogs.Answer(TModalResult::mrNo);  // not saved
    SubWindow(W)->close();
    Settle();
    EXPECT_EQ(Entities->ListModel->rowCount(), 0);
    EXPECT_EQ(Errors->TreeView1->topLevelItemCount(), 0);
    Entities->SetMode(1);
    EXPECT_EQ(Entities->TreeView1->topLevelItemCount(), 0);
}

// ---- Entities ----

TEST_F(ToolWindows, TheEntitiesListShowsTheDocumentAndFollowsItsSelection) {
    TViewform* W = NewWindow();
    Add(W, "Alpha");
    Add(W, "");
    Add(W, "Gamma").SetDisplayState(dsBox);
    TSelectionForm* F = ListForm();
    EXPECT_EQ(ListNames(*F), (std::vector<std::string>{"Alpha", "unnamed", "Gamma"}));
    EXPECT_EQ(F->ListModel->index(2, 0).data(ImageIndexRole).toInt(), 41);
    EXPECT_EQ(F->ListModel->index(0, 0).data(ImageIndexRole).toInt(), 34);
    EXPECT_EQ(F->ListModel->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "Type");

    Doc(W).SelectOnly(&Doc(W).Items(2));
    EXPECT_EQ(SelectedRows(*F), std::vector<int>{2});
    Add(W, "Delta");
    EXPECT_EQ(F->ListModel->rowCount(), 4);
    EXPECT_EQ(SelectedRows(*F), std::vector<int>{2});

    // A name typed into the list renames the entity.
    F->ListModel->setData(F->ListModel->index(0, 0), "Renamed", Qt::EditRole);
    EXPECT_EQ(Doc(W).Items(0).GetName(), "Renamed");
    EXPECT_EQ(ListNames(*F)[0], "Renamed");
}

TEST_F(ToolWindows, OneListGestureReachesTheDocumentAsOneNotification) {
    TViewform* W = NewWindow();
    for (int I = 0; I < 50; ++I) Add(W, "E" + std::to_string(I));
    TSelectionForm* F = ListForm();
    int DuringGesture = -1;
    const int Count = CountSelectionMessages([&] {
        SendToList(*F, QEvent::MouseButtonPress);
        // What a shift-click over the whole list makes of the view's selection.
        F->ListView1->selectionModel()->select(QItemSelection(F->ListModel->index(0, 0), F->ListModel->index(49, 1)),
                                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        DuringGesture = Doc(W).SelectedCount();
        EXPECT_EQ(F->GetListRefreshState(), 1);
        SendToList(*F, QEvent::MouseButtonRelease);
    });
    EXPECT_EQ(DuringGesture, 50);
    EXPECT_EQ(Count, 1);
    EXPECT_EQ(F->GetListRefreshState(), 0);
    EXPECT_EQ(Doc(W).SelectedCount(), 50);

    // Deselecting everything in the list clears the document's selection in one go as well.
    EXPECT_EQ(CountSelectionMessages([&] {
                  F->ListView1->clearSelection();
                  SendToList(*F, QEvent::MouseButtonRelease);
              }),
              1);
    EXPECT_EQ(Doc(W).SelectedCount(), 0);
}

TEST_F(ToolWindows, TheTreeGroupsEntitiesByClassSortedIgnoringCase) {
    TViewform* W = NewWindow();
    Add<TUpperEntity>(W, "Curve1");
    Add<TLowerEntity>(W, "Hull");
    Add<TInternalEntity>(W, "Contours");
    TSelectionForm* F = TreeForm();
    ASSERT_EQ(F->TreeView1->topLevelItemCount(), 2);
    QTreeWidgetItem* Boxes = F->TreeView1->topLevelItem(0);
    QTreeWidgetItem* Polylines = F->TreeView1->topLevelItem(1);
    EXPECT_EQ(Text(Boxes), "box (1)");
    EXPECT_EQ(Text(Polylines), "Polyline (1)");
    EXPECT_EQ(NodeImage(Boxes), 51);
    EXPECT_EQ(Text(Polylines->child(0)), "Curve1");
    EXPECT_EQ(NodeImage(Polylines->child(0)), 34);

    // An expanded class stays expanded through a rebuild; one that leaves and comes back starts
    // collapsed.
    Polylines->setExpanded(true);
    Add<TUpperEntity>(W, "Curve2");
    Polylines = F->TreeView1->topLevelItem(1);
    EXPECT_EQ(Text(Polylines), "Polyline (2)");
    EXPECT_TRUE(Polylines->isExpanded());
    EXPECT_FALSE(F->TreeView1->topLevelItem(0)->isExpanded());
    Doc(W).FindByName("Curve1")->SetSelected(true);
    Doc(W).FindByName("Curve2")->SetSelected(true);
    Doc(W).DeleteSelected();
    ASSERT_EQ(F->TreeView1->topLevelItemCount(), 1);
    Add<TUpperEntity>(W, "Curve3");
    EXPECT_FALSE(F->TreeView1->topLevelItem(1)->isExpanded());

    // Choosing an entity node selects only that entity; a class node selects its class.
    F->TreeView1->setCurrentItem(F->TreeView1->topLevelItem(0)->child(0));
    EXPECT_TRUE(Doc(W).FindByName("Hull")->GetSelected());
    EXPECT_EQ(Doc(W).SelectedCount(), 1);
    EXPECT_TRUE(F->TreeView1->topLevelItem(0)->child(0)->isSelected());
}

TEST_F(ToolWindows, DisplayStateCommandsActOnTheSelectionOrOnEverything) {
    TViewform* W = NewWindow();
    for (const char* Name : {"A", "B", "C", "D", "E"}) Add(W, Name);
    TSelectionForm* F = ListForm();
    Doc(W).Items(1).SetSelected(true);
    Doc(W).Items(3).SetSelected(true);
    F->HideAllAction->trigger();
    std::vector<int> States;
    for (int I = 0; I < Doc(W).Count(); ++I) States.push_back(Doc(W).Items(I).GetDisplayState());
    EXPECT_EQ(States, (std::vector<int>{dsNormal, dsHidden, dsNormal, dsHidden, dsNormal}));
    EXPECT_EQ(F->ListModel->index(1, 0).data(ImageIndexRole).toInt(), 35);

    F->BoxAction->trigger();  // nothing selected any more: every entity
    for (int I = 0; I < Doc(W).Count(); ++I) EXPECT_EQ(Doc(W).Items(I).GetDisplayState(), dsBox) << I;

    // A double click hides a boxed entity and shows a hidden one.
    TGeometry& A = Doc(W).Items(0);
    F->ToggleDisplayState(&A);
    EXPECT_EQ(A.GetDisplayState(), dsHidden);
    F->ToggleDisplayState(&A);
    EXPECT_EQ(A.GetDisplayState(), dsNormal);
}

TEST_F(ToolWindows, TheListDeletesAndReordersEntities) {
    TViewform* W = NewWindow();
    for (const char* Name : {"A", "B", "C"}) Add(W, Name);
    TSelectionForm* F = ListForm();
    Doc(W).SelectOnly(&Doc(W).Items(0));
    EXPECT_TRUE(F->CanDropOn(2));
    F->DropOn(2);
    EXPECT_EQ(ListNames(*F), (std::vector<std::string>{"B", "C", "A"}));

    Doc(W).Items(1).SetSelected(true);  // two selected: no reordering
    EXPECT_FALSE(F->CanDropOn(0));
    EXPECT_FALSE(F->CanDropOn(7));
    F->DeleteAction->trigger();
    EXPECT_EQ(ListNames(*F), std::vector<std::string>{"B"});
}

TEST_F(ToolWindows, ThePopupPutsTheSelectionsMenuOnTopOnce) {
    TViewform* W = NewWindow();
    Add(W, "A").SetSelected(true);
    TSelectionForm* F = ListForm();
    F->PopupMenu1Popup();
    F->PopupMenu1Popup();
    const QList<QAction*> Items = F->PopupMenu1->actions();
    ASSERT_EQ(Items.size(), 8);
    ASSERT_NE(Items[0]->menu(), nullptr);
    EXPECT_TRUE(Items[1]->isSeparator());
    EXPECT_EQ(Items[2], F->PopupSelectAll);
    EXPECT_EQ(F->PopupSelectAll->data().toInt(), 42);
    F->RemoveEntityMenu();
    EXPECT_EQ(F->PopupMenu1->actions().first(), F->PopupSelectAll);
    EXPECT_EQ(F->PopupMenu1->actions().size(), 6);
}

TEST_F(ToolWindows, TheEntitiesModeIsKeptInTheRegistry) {
    TSelectionForm* F = TreeForm();
    EXPECT_EQ(F->PageControl1->currentIndex(), 1);
    EXPECT_EQ(F->ToggleViewAction->data().toInt(), 9);
    F->close();
    Settle();
    const TRegIniFile Ini(ProgramRegistryKey(GExeName));
    EXPECT_EQ(Ini.ReadInteger("SelectionForm", "Mode", -1), 1);
    TSelectionForm* Again = GetSelectionForm();
    EXPECT_EQ(Again->GetMode(), 1);
    Again->ToggleViewAction->trigger();
    EXPECT_EQ(Again->GetMode(), 0);
    EXPECT_EQ(Again->ToggleViewAction->data().toInt(), 8);
}

// ---- Openings, Groups, Hierarchy ----

TEST_F(ToolWindows, TreeWindowsKeepTheirModeAndZoom) {
    struct TCase {
        std::function<TEntityTreeForm*()> Get;
        const char* Name;
        bool Zoom;
    };
    const TCase Cases[] = {{[] { return GetOpeningsForm(); }, "OpeningsForm", true},
                           {[] { return GetGroupsForm(); }, "GroupsForm", true},
                           {[] { return GetHierarchyForm(); }, "HierarchyForm", false}};
    NewWindow();
    for (const TCase& C : Cases) {
        TEntityTreeForm* F = C.Get();
        EXPECT_EQ(F->HasZoom(), C.Zoom) << C.Name;
        EXPECT_EQ(F->TreeView1->topLevelItemCount(), 0) << C.Name;
        F->SetMode(0);
        F->ExpandAction->trigger();
        EXPECT_EQ(F->GetMode(), 1);
        EXPECT_TRUE(F->ExpandAction->isChecked());
        F->CollapseAction->trigger();
        EXPECT_EQ(F->GetMode(), 2);
        EXPECT_FALSE(F->ExpandAction->isChecked());
        F->CollapseAction->trigger();
        EXPECT_EQ(F->GetMode(), 0);
        EXPECT_FALSE(F->CollapseAction->isChecked());
        F->ExpandAction->trigger();
        if (C.Zoom) {
            F->SetZoom(false);
            F->ZoomAction->trigger();
            EXPECT_TRUE(F->GetZoom());
        }
        F->close();
        Settle();
        const TRegIniFile Ini(ProgramRegistryKey(GExeName));
        EXPECT_EQ(Ini.ReadInteger(C.Name, "Mode", -1), 1) << C.Name;
        EXPECT_EQ(Ini.ReadString(C.Name, "Zoom", "none") != "none", C.Zoom) << C.Name;
        TEntityTreeForm* Again = C.Get();
        EXPECT_EQ(Again->GetMode(), 1) << C.Name;
        EXPECT_TRUE(Again->ExpandAction->isChecked()) << C.Name;
        EXPECT_EQ(Again->GetZoom(), C.Zoom) << C.Name;
        if (C.Zoom) {
            EXPECT_TRUE(Again->ZoomAction->isChecked());
        }
    }
}

// ---- Modelling Errors ----

TEST_F(ToolWindows, TheErrorsWindowShowsTrackedMessagesAndDrawsTheSelectedOnesBox) {
    TViewform* W = NewWindow();
    Add(W, "Quiet");
    TGeometry& Patch = Add<TUpperEntity>(W, "Patch");
    TErrorsForm* F = GetErrorsForm();
    EXPECT_EQ(F->TreeView1->topLevelItemCount(), 0);
    TMBox Where{{1, 2, 3}, {4, 5, 6}};
    Patch.AddInfoMessage({nullptr, "Corner does not meet", Where});
    Patch.SendMessage(std::make_unique<TGeoGeometryChange>());
    ASSERT_EQ(F->TreeView1->topLevelItemCount(), 1);
    QTreeWidgetItem* Top = F->TreeView1->topLevelItem(0);
    EXPECT_EQ(Text(Top), "Patch");
    EXPECT_EQ(NodeImage(Top), 42);
    ASSERT_EQ(Top->childCount(), 1);
    EXPECT_EQ(Text(Top->child(0)), "Corner does not meet");
    EXPECT_EQ(NodeImage(Top->child(0)), MessageImage);
    EXPECT_TRUE(Top->isExpanded());

    // The entity node selects and draws nothing; the message node selects its entity and draws its box.
    TRecordingGraphics View;
    F->TreeView1->setCurrentItem(Top);
    F->Draw(View);
    EXPECT_TRUE(View.Calls.empty());
    EXPECT_EQ(Doc(W).SelectedCount(), 0);
    F->TreeView1->setCurrentItem(F->TreeView1->topLevelItem(0)->child(0));
    EXPECT_TRUE(Patch.GetSelected());
    F->Draw(View);
    ASSERT_EQ(View.Calls.size(), 12u);
    EXPECT_EQ(View.Calls[0].Name, "Line");

    // Once the entity reports afresh the old node draws nothing, even before the tree is rebuilt.
    Patch.ClearInfoMessages();
    View.Calls.clear();
    F->Draw(View);
    EXPECT_TRUE(View.Calls.empty());
}

TEST_F(ToolWindows, ASurfaceThatCannotBeGeneratedShowsItsMessageInTheErrorsWindow) {
    TViewform* W = NewWindow();
    TErrorsForm* F = GetErrorsForm();
    auto Surface = std::make_unique<TGeoXTSurface>();
    for (const char* Name : {"Keel", "Stem"}) {
        auto Curve = std::make_unique<TGeoXTCurve>();
        Curve->SetName(Name);
        Curve->Curve().AddPointAt({0, 0, 0});
        Curve->Curve().AddPointAt({1, Name[0] == 'K' ? 0.0 : 1.0, 0});
        Surface->Surface().Curves().Add(&static_cast<TGeoXTCurve*>(Doc(W).Add(std::move(Curve)))->Curve());
    }
    auto* S = static_cast<TGeoXTSurface*>(Doc(W).Add(std::move(Surface)));
    S->GetDataObject();  // two edges: the generation stops with a message
    ASSERT_EQ(F->TreeView1->topLevelItemCount(), 1);
    QTreeWidgetItem* Top = F->TreeView1->topLevelItem(0);
    EXPECT_EQ(Text(Top), "XTSurface1");
    // The loose ends it dropped first, then why it stopped.
    ASSERT_GE(Top->childCount(), 1);
    EXPECT_EQ(Text(Top->child(Top->childCount() - 1)), "Atleast three curves/edges are required to generate a surface");
}

// ---- Help ----

TEST_F(ToolWindows, TheHelpWindowShowsTheIndexPageAndReportsAMissingOne) {
    THelpForm* F = GetHelpForm();
    TVkHelpPanel* Panel = F->VkHelpPanel1;
    EXPECT_EQ(Panel->GetFileName(), GExeDir + "help/index.html");
    const std::string Index = (std::filesystem::path(SARNOVA_SOURCE_DIR) / "help" / "index.html").string();
    Panel->SetFileName(Index);
    ShowToolWindow(F);
    Settle();
    ASSERT_TRUE(Panel->IsEmbedded());
    EXPECT_EQ(Panel->Viewer()->documentTitle(), "Sarnova Help");
    EXPECT_EQ(Panel->Viewer()->size(), Panel->size());
    EXPECT_TRUE(Dialogs.Shown.empty());

    F->hide();
    Settle();
    EXPECT_FALSE(Panel->IsEmbedded());
    const std::string Missing = (Folder / "none.html").string();
    Panel->SetFileName(Missing);
    F->show();
    Settle();
    EXPECT_FALSE(Panel->IsEmbedded());
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Dialogs.Shown[0].Text, "Help file not found " + Missing);
    EXPECT_EQ(Panel->LastHelpError(), "Help file not found " + Missing);

    // A new page while embedded shows in the same viewer.
    Panel->SetFileName(Index);
    Panel->setEnabled(false);
    Panel->setEnabled(true);
    ASSERT_TRUE(Panel->IsEmbedded());
    QTextBrowser* Viewer = Panel->Viewer();
    const std::string Other = (Folder / "other.html").string();
    WriteFile("other.html", "<html><head><title>Other</title></head><body>x</body></html>");
    Panel->SetFileName(Other);
    EXPECT_EQ(Panel->Viewer(), Viewer);
    EXPECT_EQ(Viewer->documentTitle(), "Other");
    Panel->setEnabled(false);
    EXPECT_FALSE(Panel->IsEmbedded());
}

}  // namespace
}  // namespace sarnova
