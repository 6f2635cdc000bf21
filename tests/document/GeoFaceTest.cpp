// The document object: undo and redo of what is done to its entities, the modified flag, the frame
// table on demand, the selection popup menu, picking and selection.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "document/GeoFace.h"
#include "document/MacroVariables.h"
#include "document/GFrames.h"
#include "foundation/Console.h"
#include "document/Frames.h"
#include "platform/Menu.h"
#include "platform/RecordingGraphics.h"
#include "tests/document/TestPoint.h"

namespace sarnova {
namespace {

using test::TTestPoint;

// A view looking down Z at one pixel per unit: (x, y, z) shows at pixel (x, y).
class TFlatGraphics : public TRecordingGraphics {
public:
    TPoint WorldToScreen(double X, double Y, double) override {
        return {static_cast<int>(std::lround(X)), static_cast<int>(std::lround(Y))};
    }
    TPoint WorldToScreenVector(const TMVector& V) override { return WorldToScreen(V.X, V.Y, V.Z); }
    TPoint WorldToScreenPoint(const TRPoint& P) override { return WorldToScreen(P.X, P.Y, P.Z); }
};

// An undoable entity whose class is not registered, so that it cannot be cloned.
class TUnclonable : public TGeometry {
public:
    TUnclonable() {
        SetCapabilities(GetCapabilities() | cpUndoable);
        StoreName("U");
    }
    TMBox CalculateExtents() override { return MakeBox(0, 0, 0, Size, Size, Size); }
    void Grow() {
        BeginChange();
        Size += 1;
        EndChange();
    }
    double Size = 1;
};

// A test point in the polyline highlight group, which the default settings highlight.
class THighlightablePoint : public TTestPoint {
public:
    using TTestPoint::TTestPoint;
    std::uint8_t GetSelectionType() override { return 1; }
};

class GeoFaceTest : public ::testing::Test {
protected:
    void SetUp() override { test::RegisterTestClasses(); }

    TTestPoint* AddPoint(const std::string& Name, double X, double Y = 0) {
        return static_cast<TTestPoint*>(Doc.Add(std::make_unique<TTestPoint>(Name, X, Y)));
    }
    TTestPoint* Point(const std::string& Name) { return dynamic_cast<TTestPoint*>(Doc.FindByName(Name)); }
    // Every entity as "name x y", sorted, so that an entity re-created at the end compares equal.
    std::vector<std::string> State() {
        std::vector<std::string> Result;
        for (int I = 0; I < Doc.Count(); ++I) {
            auto* P = dynamic_cast<TTestPoint*>(&Doc.Items(I));
            Result.push_back(Doc.Items(I).GetName() +
                             (P ? " " + std::to_string(int(P->Point.X)) + " " + std::to_string(int(P->Point.Y)) : ""));
        }
        std::sort(Result.begin(), Result.end());
        return Result;
    }
    std::vector<std::string> Names() {
        std::vector<std::string> Result;
        for (int I = 0; I < Doc.Count(); ++I) Result.push_back(Doc.Items(I).GetName());
        return Result;
    }

    TGeometryInterface Doc;
    TFlatGraphics View;
};

TEST_F(GeoFaceTest, UndoAndRedoRestoreEveryStep) {
    std::vector<std::vector<std::string>> States{State()};
    const std::vector<std::function<void()>> Actions = {
        [&] { AddPoint("P1", 1); },
        [&] { AddPoint("P2", 2); },
        [&] { Point("P1")->MoveTo(5, 5, 0); },
        [&] { Doc.DeleteGeometry(Point("P2")); },
        [&] {
            // One bracket is one step.
            Doc.BeginUpdate(ufEndEditing);
            Point("P1")->MoveTo(7, 0, 0);
            AddPoint("P3", 3);
            Point("P3")->MoveTo(4, 4, 0);
            Doc.DeleteGeometry(Point("P1"));
            Doc.EndUpdate();
        },
    };
    for (const auto& Action : Actions) {
        Action();
        States.push_back(State());
    }
    EXPECT_EQ(Doc.GetUndoManager().GetUndoStack().Count(), 5);
    for (int Step = static_cast<int>(Actions.size()) - 1; Step >= 0; --Step) {
        ASSERT_TRUE(Doc.CanUndo());
        Doc.Undo();
        EXPECT_EQ(State(), States[static_cast<std::size_t>(Step)]) << "undo to step " << Step;
    }
    EXPECT_FALSE(Doc.CanUndo());
    for (std::size_t Step = 1; Step < States.size(); ++Step) {
        ASSERT_TRUE(Doc.CanRedo());
        Doc.Redo();
        EXPECT_EQ(State(), States[Step]) << "redo to step " << Step;
    }
    EXPECT_FALSE(Doc.CanRedo());
}

TEST_F(GeoFaceTest, AnUndoneDeletionComesBackInItsPlaceAndCanBeRedoneAgain) {
    AddPoint("A", 1);
    AddPoint("B", 2);
    Doc.DeleteGeometry(Point("A"));
    // Not recorded (the entity is not undoable), so it keeps the name while the deletion is undone.
    TGeometry* Plain = Doc.Add(std::make_unique<test::TPlainEntity>());
    Plain->SetName("A");
    Doc.Undo();
    EXPECT_EQ(Names(), (std::vector<std::string>{"A1", "B", "A"}));
    for (int Round = 0; Round < 2; ++Round) {
        ASSERT_TRUE(Doc.CanRedo()) << Round;
        Doc.Redo();
        EXPECT_EQ(Names(), (std::vector<std::string>{"B", "A"})) << Round;
        Doc.Undo();
        EXPECT_EQ(Names(), (std::vector<std::string>{"A1", "B", "A"})) << Round;
    }
    // The creation record of A finds the latest copy.
    Doc.Undo();
    EXPECT_EQ(Names(), (std::vector<std::string>{"A1", "A"}));
    Doc.Undo();
    EXPECT_EQ(Names(), (std::vector<std::string>{"A"}));
}

TEST_F(GeoFaceTest, DeletedEntitiesComeBackInTheirPlacesWhereverTheyStood) {
    // Which of twelve points are deleted in one step.
    const std::vector<std::vector<int>> Cases = {
        {0, 2, 4, 6, 8, 10}, {1, 3, 5, 7, 9, 11}, {0, 11}, {4, 5, 6, 7}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, {11}, {0}};
    for (const auto& Doomed : Cases) {
        Doc.Clear();
        for (int I = 0; I < 12; ++I) AddPoint("P" + std::to_string(I), I);
        const std::vector<std::string> Before = Names();
        Doc.BeginUpdate(0);
        for (int I : Doomed) Doc.Items(I).SetSelected(true);
        Doc.EndUpdate();
        Doc.DeleteSelected();
        const std::vector<std::string> After = Names();
        for (int Round = 0; Round < 2; ++Round) {
            Doc.Undo();
            ASSERT_EQ(Names(), Before) << Doomed.size() << " deleted, round " << Round;
            for (int I = 0; I < Doc.Count(); ++I) ASSERT_EQ(Doc.IndexOf(&Doc.Items(I)), I);
            Doc.Redo();
            ASSERT_EQ(Names(), After) << Doomed.size() << " deleted, round " << Round;
        }
    }
}

TEST_F(GeoFaceTest, UndoingAChangeEndsEditingOfOtherEntitiesOnly) {
    TTestPoint* P1 = AddPoint("P1", 1);
    TTestPoint* P2 = AddPoint("P2", 2);
    Doc.SetEditedGeometry(P1);
    P1->MoveTo(3, 0, 0);
    Doc.Undo();
    EXPECT_EQ(Doc.GetEditedGeometry(), P1);
    EXPECT_EQ(P1->Point.X, 1);
    P2->MoveTo(4, 0, 0);
    Doc.Undo();
    EXPECT_EQ(Doc.GetEditedGeometry(), nullptr);
    EXPECT_EQ(P2->Point.X, 2);
}

TEST_F(GeoFaceTest, AnEntityThatCannotBeClonedIsNeitherRestoredNorRecreated) {
    auto* U = static_cast<TUnclonable*>(Doc.Add(std::make_unique<TUnclonable>()));
    U->Grow();
    Doc.Undo();
    EXPECT_EQ(U->Size, 2);
    Doc.DeleteGeometry(U);
    Doc.Undo();
    EXPECT_EQ(Doc.Count(), 0);
}

// What an undo or redo restored is kept even when an entity cannot be rebuilt from it: the step is
// done, the entities after it are rebuilt, the console names it, and the history can be walked on.
TEST_F(GeoFaceTest, AnEntityThatCannotBeRebuiltDoesNotStopUndoOrRedo) {
    std::vector<std::string> Console;
    GConsole->OnLine = [&](const std::string& Line) { Console.push_back(Line); };
    auto* A = AddPoint("A", 1);
    auto* B = AddPoint("B", 2);
    Doc.BeginUpdate(0);
    A->MoveTo(5, 0, 0);
    B->MoveTo(6, 0, 0);
    Doc.EndUpdate();
    A->FailRecalculate = true;
    const std::string Warning = "Warning: " + A->DescribedName() +
                                " cannot be rebuilt after the undo (Cannot recalculate A), it keeps its restored state";
    EXPECT_NO_THROW(Doc.Undo());
    EXPECT_EQ(State(), (std::vector<std::string>{"A 1 0", "B 2 0"}));
    EXPECT_FALSE(B->IsChangePending());
    EXPECT_EQ(Console, std::vector<std::string>{Warning});
    EXPECT_NO_THROW(Doc.Undo());
    EXPECT_EQ(State(), (std::vector<std::string>{"A 1 0"}));
    EXPECT_NO_THROW(Doc.Redo());
    EXPECT_NO_THROW(Doc.Redo());
    EXPECT_EQ(State(), (std::vector<std::string>{"A 5 0", "B 6 0"}));
    EXPECT_EQ(Console.back().find("Warning: " + A->DescribedName() + " cannot be rebuilt after the redo"), 0u);
    GConsole->OnLine = nullptr;
}

TEST_F(GeoFaceTest, ChangesSetModifiedAndClearEmptiesTheHistory) {
    int Fired = 0;
    Doc.OnModifiedChange = [&](TGeometryInterface* Sender) {
        EXPECT_EQ(Sender, &Doc);
        ++Fired;
    };
    AddPoint("P1", 1);
    EXPECT_TRUE(Doc.GetModified());
    EXPECT_GT(Fired, 0);
    Fired = 0;
    Doc.SetModified(true);  // fires also when nothing changes
    EXPECT_EQ(Fired, 1);
    Doc.Clear();
    EXPECT_FALSE(Doc.CanUndo());
    EXPECT_EQ(Doc.Count(), 0);
}

TEST_F(GeoFaceTest, TheFrameTableIsMadeOnDemandAndItsAdditionRecorded) {
    EXPECT_EQ(Doc.Count(), 0);
    EXPECT_DOUBLE_EQ(Doc.EvaluateNumber("#12+0.5"), 12.5);
    ASSERT_EQ(Doc.Count(), 1);
    EXPECT_EQ(Doc.Items(0).ClassName(), "TGeoFrames");
    EXPECT_EQ(Doc.Items(0).GetName(), "Frames");
    TFrames* Table = Doc.GetFrames();
    EXPECT_EQ(Table, &static_cast<TGeoFrames&>(Doc.Items(0)).Frames());
    EXPECT_EQ(Table->XMin, -10.0);
    EXPECT_EQ(Table->XMax, 100.0);
    EXPECT_EQ(Table->FramePosition(300000), -1);
    // It survives the list's validation although it has no extents, and one is enough.
    AddPoint("P1", 1);
    EXPECT_EQ(Doc.Count(), 2);
    Doc.Add(std::make_unique<TGeoFrames>());
    EXPECT_EQ(Doc.Count(), 2);
    EXPECT_EQ(Doc.GetFrames(), Table);
    Doc.Undo();  // the second frames entity, which came and went in one step
    EXPECT_EQ(Doc.Count(), 2);
    Doc.Undo();  // P1
    Doc.Undo();  // the frames entity
    EXPECT_EQ(Doc.Count(), 0);
}

TEST_F(GeoFaceTest, EntityPropertiesAndMacroVariablesInNumbers) {
    AddPoint("P1", 1);
    EXPECT_EQ(Doc.EntityExpression("NOPE", "X"), std::nullopt);
    EXPECT_EQ(Doc.GetMacroVariables(), nullptr);
    TVariableList Variables;
    Variables.SetValue("A", 2);
    Doc.Variables = &Variables;
    EXPECT_DOUBLE_EQ(Doc.EvaluateNumber("a*3"), 6);
    Doc.Variables = nullptr;
}

TEST_F(GeoFaceTest, SelectionPopupMenu) {
    EXPECT_EQ(Doc.SelectionPopupMenu(), nullptr);
    TTestPoint* P1 = AddPoint("P1", 1);
    TTestPoint* P2 = AddPoint("P2", 2);
    EXPECT_EQ(Doc.SelectionPopupMenu(), nullptr);
    P1->SetSelected(true);
    EXPECT_EQ(Doc.SelectionPopupMenu(), P1->PopupMenu());
    P2->SetSelected(true);
    for (int Time = 0; Time < 2; ++Time) {
        TMenuItem* Menu = Doc.SelectionPopupMenu();
        ASSERT_EQ(Menu, &Doc.GetMultipleSelectionMenu());
        EXPECT_EQ(Menu->Caption, "Multiple Selection");
        // The group classes offer to gather a selection of several entities.
        ASSERT_EQ(Menu->Count(), 2);
        EXPECT_EQ(Menu->Items(0).Caption, "Create Closed Group");
        EXPECT_EQ(Menu->Items(1).Caption, "Create Open Group");
    }
    EXPECT_EQ(P1->Heard.back(), "TGeoClearSarnovaPopup");
}

TEST_F(GeoFaceTest, PickingAndHints) {
    AddPoint("P1", 100, 100);
    AddPoint("P2", 110, 100);
    AddPoint("P3", 90, 100);
    EXPECT_EQ(Doc.EntityHintAt({500, 500}, View), "");
    EXPECT_EQ(Doc.EntityHintAt({101, 100}, View), "Test Point:P1");
    // Ties go to the earlier entity; the tolerance is strict.
    EXPECT_EQ(Doc.PickNearest({100, 100}, View, 10)->GetName(), "P1");
    EXPECT_EQ(Doc.PickNearest({105, 100}, View, 30)->GetName(), "P1");
    EXPECT_EQ(Doc.PickNearest({120, 100}, View, 10), nullptr);
    Point("P1")->SetDisplayState(dsHidden);
    EXPECT_EQ(Doc.PickNearest({100, 100}, View, 30)->GetName(), "P2");
}

TEST_F(GeoFaceTest, RubberBandSelection) {
    TTestPoint* Inside = AddPoint("In", 10, 10);
    TTestPoint* Outside = AddPoint("Out", 100, 100);
    Outside->SetSelected(true);
    Doc.SelectInRect({0, 0, 50, 50}, View, ssCtrl);
    EXPECT_TRUE(Inside->GetSelected());
    EXPECT_TRUE(Outside->GetSelected());  // kept with Ctrl
    Doc.SelectInRect({0, 0, 50, 50}, View, ssCtrl);
    EXPECT_FALSE(Inside->GetSelected());  // toggled
    Doc.SelectInRect({0, 0, 50, 50}, View, 0);
    EXPECT_TRUE(Inside->GetSelected());
    EXPECT_FALSE(Outside->GetSelected());
}

TEST_F(GeoFaceTest, ClickSelection) {
    TTestPoint* P1 = AddPoint("P1", 100, 100);
    TTestPoint* P2 = AddPoint("P2", 120, 100);
    EXPECT_TRUE(Doc.SelectAtPoint({118, 100}, View, 0));
    EXPECT_FALSE(P1->GetSelected());
    EXPECT_TRUE(P2->GetSelected());
    // The selected entity keeps its selection unless another is strictly nearer.
    EXPECT_FALSE(Doc.SelectAtPoint({110, 100}, View, 0));
    EXPECT_TRUE(P2->GetSelected());
    EXPECT_TRUE(Doc.SelectAtPoint({108, 100}, View, 0));
    EXPECT_TRUE(P1->GetSelected());
    EXPECT_FALSE(P2->GetSelected());
    // Ctrl adds.
    EXPECT_TRUE(Doc.SelectAtPoint({121, 100}, View, ssCtrl));
    EXPECT_TRUE(P1->GetSelected());
    EXPECT_TRUE(P2->GetSelected());
    // Far from everything: nothing is selected.
    EXPECT_FALSE(Doc.SelectAtPoint({400, 400}, View, 0));
    EXPECT_EQ(Doc.SelectedCount(), 0);
    // The highlighted entity wins when it is within reach; only highlight groups highlight.
    Doc.UpdateHighlight({119, 100}, View);
    EXPECT_EQ(Doc.GetHighlightedGeometry(), nullptr);
    TGeometry* H = Doc.Add(std::make_unique<THighlightablePoint>("H", 100, 110));
    Doc.UpdateHighlight({101, 108}, View);
    EXPECT_EQ(Doc.GetHighlightedGeometry(), H);
    EXPECT_TRUE(Doc.SelectAtPoint({119, 100}, View, 0));
    EXPECT_TRUE(H->GetSelected());
    EXPECT_EQ(Doc.SelectedCount(), 1);
}

// ---- Files ----

class GeoFaceFileTest : public GeoFaceTest {
protected:
    void SetUp() override {
        GeoFaceTest::SetUp();
        Folder = std::filesystem::temp_directory_path() /
                 (std::string("geoface-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(Folder);
        GConsole->OnLine = [this](const std::string& Line) { Console.push_back(Line); };
    }
    void TearDown() override {
        GConsole->OnLine = nullptr;
        std::filesystem::remove_all(Folder);
    }
    std::filesystem::path Write(const std::string& Name, const std::string& Text) {
        const auto Path = Folder / Name;
        std::ofstream(Path) << Text;
        return Path;
    }
    static std::string Read(const std::filesystem::path& Path) {
        std::ifstream In(Path);
        return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
    }

    std::filesystem::path Folder;
    std::vector<std::string> Console;
};

TEST_F(GeoFaceFileTest, SaveAndLoadSetTheNameAndEmptyTheHistory) {
    AddPoint("P1", 1, 2);
    AddPoint("P2", 3, 4);
    const auto Path = Folder / "two.geo";
    Doc.SaveToFile(Path);
    EXPECT_EQ(Console.back(), "Saving " + Path.string() + "...");
    EXPECT_EQ(Doc.GetFileName(), Path.string());
    EXPECT_FALSE(Doc.CanUndo());
    EXPECT_FALSE(Doc.GetModified());

    TGeometryInterface Loaded;
    Loaded.Add(std::make_unique<TTestPoint>("Old", 9));
    Loaded.LoadFromFile(Path);
    EXPECT_EQ(Console.back(), "Loading " + Path.string() + "...");
    EXPECT_EQ(Loaded.GetFileName(), Path.string());
    Loaded.SaveToFile(Folder / "again.geo");
    EXPECT_EQ(Read(Folder / "again.geo"), Read(Path));
    EXPECT_EQ(Loaded.Count(), 2);
    EXPECT_FALSE(Loaded.GetModified());
    EXPECT_FALSE(Loaded.CanUndo());
    // Recording is on again.
    Loaded.Add(std::make_unique<TTestPoint>("P3", 5));
    EXPECT_TRUE(Loaded.CanUndo());
}

TEST_F(GeoFaceFileTest, TheFrameTableIsKeptInTheFile) {
    Doc.GetFrames()->SetDefinition("Frames 5 0.6 10 0.7");
    const auto Path = Folder / "frames.geo";
    Doc.SaveToFile(Path);
    EXPECT_EQ(Read(Path).substr(0, 32), "[TFrames]\nFrames 5 0.6 10 0.7 \n\n");
    TGeometryInterface Loaded;
    Loaded.LoadFromFile(Path);
    ASSERT_EQ(Loaded.Count(), 1);
    EXPECT_DOUBLE_EQ(Loaded.FramePosition(12), 12.4);
}

TEST_F(GeoFaceFileTest, ImportedEntitiesAreOneUndoStep) {
    AddPoint("P1", 1);
    const auto Path = Write("import.geo", "[TTestPoint]\n1 2 3\n\n[TTestPoint]\n4 5 6\n\n");
    Doc.LoadText(Path);
    EXPECT_EQ(Doc.Count(), 3);
    Doc.Undo();
    EXPECT_EQ(Doc.Count(), 1);
}

TEST_F(GeoFaceFileTest, AFailedLoadLeavesAnEmptyUntitledDocument) {
    const auto Good = Write("good.geo", "[TTestPoint]\n1 2 3\n\n");
    Doc.LoadFromFile(Good);
    EXPECT_THROW(Doc.LoadFromFile(Folder / "missing.geo"), std::exception);
    EXPECT_EQ(Doc.Count(), 0);
    EXPECT_EQ(Doc.GetFileName(), "");
    EXPECT_FALSE(Doc.GetModified());
    EXPECT_FALSE(Doc.CanUndo());
    AddPoint("P1", 1);
    EXPECT_TRUE(Doc.CanUndo());
}

}  // namespace
}  // namespace sarnova
