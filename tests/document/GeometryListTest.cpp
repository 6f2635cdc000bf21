#include "document/GeometryList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>

#include "TestPoint.h"
#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "foundation/MacroFile.h"
#include "platform/Screen.h"

namespace sarnova::test {
namespace {

class GeometryListTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterTestClasses(); }
    TRecordingList List;
};

TEST_F(GeometryListTest, AddingMakesNamesUniqueIgnoringCaseAndKeepsTheAddedCase) {
    struct TCase {
        std::vector<std::string> Held;
        std::string Added;
        std::string Expected;
    };
    const TCase Cases[] = {
        {{"box1"}, "Box1", "Box2"},
        {{"box1", "Box2"}, "BOX1", "BOX3"},
        {{"Curve7"}, "Curve7", "Curve8"},
        {{"Frame09"}, "frame09", "frame10"},
        {{"Curve"}, "CURVE", "CURVE1"},
        {{"Curve1", "Curve2", "Curve3", "Curve5"}, "Curve1", "Curve4"},
        {{"A"}, "B", "B"},
        {{"", ""}, "", ""},
    };
    for (const auto& Case : Cases) {
        TRecordingList L;
        for (const auto& Name : Case.Held) L.AddPoint(Name);
        EXPECT_EQ(L.AddPoint(Case.Added)->GetName(), Case.Expected) << Case.Added;
    }
}

TEST_F(GeometryListTest, NamesAreFoundIgnoringCaseFirstInListOrder) {
    auto* A = List.AddPoint("Hull");
    auto* B = List.AddPoint("Deck");
    B->SetName("HULL");  // renaming does not make names unique
    EXPECT_EQ(List.FindByName("hull"), A);
    EXPECT_EQ(List.IndexOfName("DECK"), -1);
    A->SetName("Keel");
    EXPECT_EQ(List.FindByName("hull"), B);
    EXPECT_EQ(List.IndexOfName("keel"), 0);
    List.MoveTo(0, B);
    EXPECT_EQ(List.IndexOf(A), 1);
    EXPECT_EQ(List.UniqueName("keel"), "keel1");
    EXPECT_FALSE(List.ContainsName("Deck"));
}

// Many entities bearing a few names, renamed and deleted at random: every name still finds the
// first entity that bears it, as a walk through the list does.
TEST_F(GeometryListTest, NamesAreFoundAfterManyRenamesAndDeletions) {
    std::mt19937 Random(5);
    // Adding twice as likely as renaming or deleting: the list grows to about a thousand.
    std::uniform_int_distribution<int> Pool(0, 29), Action(0, 3);
    auto NameOf = [](int K) { return (K % 2 ? "part" : "PART") + std::to_string(K / 2); };
    List.BeginUpdate(0);
    for (int Step = 0; Step < 4000; ++Step) {
        const int Count = List.Count();
        const int A = Count < 50 ? 0 : Action(Random);
        if (A <= 1)
            List.AddPoint(NameOf(Pool(Random)));
        else if (A == 2)
            List.Items(static_cast<int>(Random() % static_cast<unsigned>(Count))).SetName(NameOf(Pool(Random)));
        else
            List.Delete(static_cast<int>(Random() % static_cast<unsigned>(Count)));
    }
    List.EndUpdate();
    ASSERT_GT(List.Count(), 500);
    std::set<std::string> Names;
    for (int I = 0; I < List.Count(); ++I) Names.insert(List.Items(I).GetName());
    for (int K = 0; K < 30; ++K) Names.insert(NameOf(K));
    for (const std::string& Name : Names) {
        TGeometry* First = nullptr;
        for (int I = 0; I < List.Count() && !First; ++I)
            if (UpperCase(List.Items(I).GetName()) == UpperCase(Name)) First = &List.Items(I);
        ASSERT_EQ(List.FindByName(Name), First) << Name;
    }
}

TEST_F(GeometryListTest, NestedBracketsSendOneMessageAtTheOutermostEnd) {
    List.BeginUpdate(0);
    List.BeginUpdate(0);
    List.AddPoint("P", 1);
    List.AddPoint("Q", 2);
    List.EndUpdate();
    EXPECT_TRUE(List.Messages.empty());
    List.EndUpdate();
    EXPECT_EQ(List.Messages, std::vector<std::string>{"TGeoListChange"});
    EXPECT_THROW(
        {
            try {
                List.EndUpdate();
            } catch (const EError& E) {
                EXPECT_STREQ(E.what(), "TGeometryList.EndUpdate - TGeometryList is not Updating");
                throw;
            }
        },
        EError);
}

TEST_F(GeometryListTest, ASelectionOnlyBracketEndsWithASelectionChange) {
    List.AddPoint("P", 1);
    List.AddPoint("Q", 2);
    List.Messages.clear();
    List.SelectAll();
    EXPECT_EQ(List.Messages, std::vector<std::string>{"TGeoSelectionChange"});
    EXPECT_EQ(List.SelectedCount(), 2);
    EXPECT_EQ(List.SingleSelection(), nullptr);
    List.Messages.clear();
    List.InvertSelection();
    EXPECT_EQ(List.Messages, std::vector<std::string>{"TGeoSelectionChange"});
    EXPECT_EQ(List.SelectedCount(), 0);
}

TEST_F(GeometryListTest, PendingChangesAreAppliedAtTheOutermostEndWithoutGeometryMessages) {
    auto* P = List.AddPoint("P", 1);
    List.ApplyChanges();
    List.Messages.clear();
    List.BeginUpdate(0);
    P->MoveTo(5, 0, 0);
    EXPECT_TRUE(P->IsChangePending());
    List.EndUpdate();
    EXPECT_FALSE(P->IsChangePending());
    EXPECT_EQ(List.Messages, std::vector<std::string>{"TGeoListChange"});
    EXPECT_DOUBLE_EQ(P->GetExtents().Max.X, 5.5);
}

TEST_F(GeometryListTest, ABracketWhoseChangesFailStillCloses) {
    auto* P = List.AddPoint("P", 1);
    auto* Q = List.AddPoint("Q", 2);
    List.ApplyChanges();
    List.BeginUpdate(ufHourGlass);
    P->FailRecalculate = true;
    P->MoveTo(3, 0, 0);
    Q->MoveTo(4, 0, 0);
    EXPECT_THROW(List.EndUpdate(), EError);
    EXPECT_FALSE(List.Updating());
    EXPECT_EQ(GetScreenCursor(), crDefault);
    // The failure does not leave the entities after it stale.
    EXPECT_FALSE(Q->IsChangePending());
    EXPECT_DOUBLE_EQ(Q->GetExtents().Max.X, 4.5);
    P->FailRecalculate = false;
    List.BeginUpdate(0);
    List.EndUpdate();
    EXPECT_EQ(List.Messages.back(), "TGeoListChange");
}

TEST_F(GeometryListTest, ADyingListCallsNobodyBack) {
    int Heard = 0;
    {
        TGeometryList Dying;
        Dying.Add(std::make_unique<TTestPoint>("P", 1))->SetSelected(true);
        Dying.OnMessage = [&](TGeoMessage&) { ++Heard; };
    }
    EXPECT_EQ(Heard, 0);
}

TEST_F(GeometryListTest, TheHourglassShowsWhileAnOutermostBracketAsksForIt) {
    List.BeginUpdate(ufHourGlass);
    EXPECT_EQ(GetScreenCursor(), crHourGlass);
    List.BeginUpdate(0);
    List.EndUpdate();
    EXPECT_EQ(GetScreenCursor(), crHourGlass);
    List.EndUpdate();
    EXPECT_EQ(GetScreenCursor(), crDefault);
}

TEST_F(GeometryListTest, BroadcastsReachEntitiesLastFirstThenTheHandler) {
    auto* A = List.AddPoint("A", 1);
    auto* B = List.AddPoint("B", 2);
    std::vector<std::string> Order;
    A->Heard.clear();
    B->Heard.clear();
    List.OnMessage = [&](TGeoMessage& M) {
        Order.push_back(A->Heard.empty() || B->Heard.empty() ? "early" : "handler");
        EXPECT_EQ(M.SenderList, &List);
        EXPECT_EQ(M.List, &List);
    };
    List.SendMessage(std::make_unique<TGeoSelectPrimitives>());
    EXPECT_EQ(Order, std::vector<std::string>{"handler"});
    EXPECT_EQ(A->Heard, std::vector<std::string>{"TGeoSelectPrimitives"});
}

TEST_F(GeometryListTest, DeletingClearsTheEditedAndHighlightedReferences) {
    auto* A = List.AddPoint("A", 1);
    auto* B = List.AddPoint("B", 2);
    List.SetEditedGeometry(A);
    EXPECT_TRUE(A->Editing());
    EXPECT_TRUE(A->GetSelected());
    List.SetHighlightedGeometry(B);
    List.DeleteGeometry(A);
    EXPECT_EQ(List.GetEditedGeometry(), nullptr);
    List.Delete(0);
    EXPECT_EQ(List.GetHighlightedGeometry(), nullptr);
    EXPECT_EQ(List.RemovedNames, (std::vector<std::string>{"A", "B"}));
    EXPECT_THROW(List.Delete(0), EError);
}

TEST_F(GeometryListTest, ClearingFreesEverythingWithoutRemovedNotifications) {
    auto* A = List.AddPoint("A", 1);
    List.AddPoint("B", 2);
    List.SetEditedGeometry(A);
    A->SetDisplayState(dsHidden);  // hidden while edited: no longer selected, still edited
    List.BeginUpdate(0);
    List.SetHighlightedGeometry(&List.Items(1));
    List.Clear();
    EXPECT_EQ(List.GetEditedGeometry(), nullptr);
    EXPECT_EQ(List.GetHighlightedGeometry(), nullptr);
    List.EndUpdate();
    EXPECT_EQ(List.Count(), 0);
    EXPECT_TRUE(List.RemovedNames.empty());
    EXPECT_FALSE(List.ContainsName("A"));
    EXPECT_EQ(List.AddPoint("A")->GetName(), "A");
}

TEST_F(GeometryListTest, EditingOneEntityDeselectsAMultipleSelection) {
    auto* A = List.AddPoint("A", 1);
    auto* B = List.AddPoint("B", 2);
    auto* Plain = static_cast<TPlainEntity*>(List.Add(std::make_unique<TPlainEntity>()));
    List.SelectAll();
    List.SetEditedGeometry(Plain);  // cannot be point-edited
    EXPECT_EQ(List.GetEditedGeometry(), nullptr);
    List.SetEditedGeometry(B);
    EXPECT_FALSE(A->GetSelected());
    EXPECT_FALSE(Plain->GetSelected());
    EXPECT_EQ(List.SingleSelection(), B);
    B->SetSelected(false);  // deselecting ends editing
    EXPECT_FALSE(B->Editing());
    EXPECT_EQ(List.GetEditedGeometry(), nullptr);
}

TEST_F(GeometryListTest, SelectOnlyShowsAHiddenEntity) {
    auto* A = List.AddPoint("A", 1);
    auto* B = List.AddPoint("B", 2);
    A->SetSelected(true);
    B->SetDisplayState(dsHidden);
    List.SelectByName("b");
    EXPECT_FALSE(A->GetSelected());
    EXPECT_TRUE(B->GetSelected());
    EXPECT_EQ(B->GetDisplayState(), dsNormal);
    List.SelectOnly(nullptr);
    EXPECT_EQ(List.SelectedCount(), 0);
}

TEST_F(GeometryListTest, DeleteSelectedWarnsFirstAndRemovesFromTheLastToTheFirst) {
    for (const char* Name : {"A", "B", "C", "D"}) List.AddPoint(Name, 1);
    List.Items(0).SetSelected(true);
    List.Items(2).SetSelected(true);
    List.Messages.clear();
    List.DeleteSelected();
    EXPECT_EQ(List.RemovedNames, (std::vector<std::string>{"C", "A"}));
    EXPECT_EQ(List.Names(), (std::vector<std::string>{"B", "D"}));
    EXPECT_EQ(List.Messages, (std::vector<std::string>{"TGeoClearingSelection", "TGeoListChange"}));
    EXPECT_EQ(List.IndexOf(&List.Items(1)), 1);
    List.Messages.clear();
    List.DeleteSelected();  // nothing selected: nothing happens
    EXPECT_TRUE(List.Messages.empty());
}

TEST_F(GeometryListTest, ValidationDeletesEntitiesWithoutExtents) {
    auto* A = List.AddPoint("A", 1);
    auto* Empty = List.AddPoint("Empty", 2);
    List.ApplyChanges();
    List.Messages.clear();
    List.BeginUpdate(0);
    Empty->SetSize(0);
    List.EndUpdate();
    // The deletion made by the validation is announced by one more list change.
    EXPECT_EQ(List.Names(), std::vector<std::string>{"A"});
    EXPECT_EQ(List.Messages, (std::vector<std::string>{"TGeoListChange", "TGeoListChange"}));
    EXPECT_EQ(List.FindByName("a"), A);
}

TEST_F(GeometryListTest, AnEmptyEntityWithAPendingChangeSurvivesValidation) {
    auto Fresh = std::make_unique<TTestPoint>("Fresh", 1);
    Fresh->Size = 0;
    List.Add(std::move(Fresh));  // outside a bracket: validated while its construction is pending
    EXPECT_EQ(List.Count(), 1);
    List.SetChanged();
    List.NotifyChange();  // now applied, and the next list change removes it
    EXPECT_EQ(List.Count(), 0);
}

TEST_F(GeometryListTest, CopyAndPasteThroughTheClipboardReverseTheOrder) {
    TRecordingList Clipboard;
    GClipboard = &Clipboard;
    for (const char* Name : {"A", "B", "C"}) List.AddPoint(Name, 1)->SetSelected(true);
    List.AddPoint("Unselected", 1);
    Clipboard.TransferFrom(List, tmCopySelected, true);
    EXPECT_EQ(Clipboard.Names(), (std::vector<std::string>{"C", "B", "A"}));
    EXPECT_EQ(Clipboard.SelectedCount(), 3);
    EXPECT_EQ(List.Count(), 4);
    EXPECT_EQ(Clipboard.Messages.front(), "TGeoPreCopyMessage");

    List.TransferFrom(Clipboard, tmMoveSelected, false);
    EXPECT_EQ(List.Names(), (std::vector<std::string>{"A", "B", "C", "Unselected", "A1", "B1", "C1"}));
    EXPECT_EQ(Clipboard.Count(), 0);
    EXPECT_EQ(Clipboard.Messages.back(), "TGeoListChange");  // the source announces that it lost them
    EXPECT_EQ(List.Items(4).GetOwnerList(), &List);
    EXPECT_TRUE(Clipboard.RemovedNames.empty());
    List.TransferFrom(Clipboard, tmMoveSelected, false);  // a second paste finds nothing
    EXPECT_EQ(List.Count(), 7);
    GClipboard = nullptr;
}

TEST_F(GeometryListTest, TheSettingsStartUpMakesTheClipboard) {
    InitializeSettings();
    ASSERT_NE(GClipboard, nullptr);
    List.AddPoint("A", 1)->SetSelected(true);
    GClipboard->TransferFrom(List, tmCopySelected, true);
    EXPECT_EQ(GClipboard->Count(), 1);
    FinalizeSettings();
    EXPECT_EQ(GClipboard, nullptr);
}

TEST_F(GeometryListTest, CopiesSkipEntitiesThatCannotBeCloned) {
    TRecordingList Target;
    List.AddPoint("A", 1);
    List.Add(std::make_unique<TPlainEntity>());
    Target.TransferFrom(List, tmCopyAll, false);
    EXPECT_EQ(Target.Names(), std::vector<std::string>{"A"});
    Target.TransferFrom(List, tmMoveAll, true);
    EXPECT_EQ(Target.Count(), 2);
    EXPECT_EQ(List.Count(), 0);
}

TEST_F(GeometryListTest, AMovedEntityTakesItsMessagesAlong) {
    TRecordingList Target;
    auto* A = List.AddPoint("A", 1);
    List.AddPoint("B", 1)->AddInfoMessage({nullptr, "Stays", EmptyBox});
    A->AddInfoMessage({nullptr, "Patch cannot be built", EmptyBox});
    A->SetSelected(true);
    Target.TransferFrom(List, tmMoveSelected, false);
    ASSERT_NE(Target.GetTracker().FindInfo(A), nullptr);
    EXPECT_EQ(Target.GetTracker().FindInfo(A)->Items(0).Text(), "Patch cannot be built");
    EXPECT_EQ(List.GetTracker().FindInfo(A), nullptr);
    EXPECT_EQ(List.GetTracker().Count(), 1);
    EXPECT_EQ(A->GetOwnerList(), &Target);
}

TEST_F(GeometryListTest, TransformingTheSelectionWithCopiesAddsTransformedClones) {
    for (const char* Name : {"A", "B", "C"}) List.AddPoint(Name, 1)->SetSelected(true);
    List.AddPoint("D", 7);
    List.Add(std::make_unique<TPlainEntity>())->SetSelected(true);  // cannot be cloned: no copy
    List.TransformSelected(MatrixTranslation(10, 0, 0), true);
    List.Delete(4);
    ASSERT_EQ(List.Count(), 7);
    for (int I = 0; I < 3; ++I) {
        EXPECT_EQ(List.Point(I).Point.X, 1);
        EXPECT_TRUE(List.Point(I).GetSelected());
        EXPECT_EQ(List.Point(4 + I).Point.X, 11);
    }
    EXPECT_EQ(List.Names(), (std::vector<std::string>{"A", "B", "C", "D", "A1", "B1", "C1"}));
    List.ClearSelection();
    List.Items(3).SetSelected(true);
    List.TransformSelected(MatrixTranslation(0, 1, 0), false);
    EXPECT_EQ(List.Point(3).Point.Y, 1);
    EXPECT_EQ(List.Count(), 7);
}

TEST_F(GeometryListTest, VisibilityOperationsWorkOnTheirGroup) {
    auto* A = List.AddPoint("A", 1);
    auto* B = List.AddPoint("B", 1);
    A->SetSelected(true);
    List.HideUnselected();
    EXPECT_TRUE(B->IsHidden());
    EXPECT_FALSE(A->IsHidden());
    List.HideSelected();
    EXPECT_TRUE(A->IsHidden());
    EXPECT_FALSE(A->GetSelected());  // hiding deselects
    List.ShowAll();
    EXPECT_FALSE(A->IsHidden() || B->IsHidden());
    List.SelectClass(GeometryClassOf<TTestPoint>());
    EXPECT_EQ(List.SelectedCount(), 2);
    List.SelectClassName("TSomethingElse");
    EXPECT_EQ(List.SelectedCount(), 0);
}

TEST_F(GeometryListTest, MacroNumbersThatDoNotConvertRaiseAMacroError) {
    EXPECT_DOUBLE_EQ(List.EvaluateNumber(" 3,25 "), 3.25);
    TMacroFile Macro = MacroAt("numbers.cmd", "X = abc");
    EXPECT_DOUBLE_EQ(List.EvaluateMacroNumber("1e3", Macro), 1000);
    try {
        List.EvaluateMacroNumber("abc", Macro);
        FAIL() << "no error";
    } catch (const EError& E) {
        EXPECT_NE(std::string(E.what()).find("(1): Unable to convert abc to number"), std::string::npos) << E.what();
    }
}

// Inside a bracket, deletions and moves to the end's places may wait and are made in one pass when the
// order is next asked for; whatever the mix, every answer is that of the plain list.
TEST_F(GeometryListTest, WaitingDeletionsAndMovesGiveThePlainListsAnswers) {
    std::mt19937 Random(7);
    for (int Round = 0; Round < 40; ++Round) {
        TRecordingList Doc;
        std::vector<std::string> Plain;
        int Made = 0;
        auto Add = [&] {
            const std::string Name = "E" + std::to_string(Made++);
            Doc.AddPoint(Name);
            Plain.push_back(Name);
        };
        for (int I = 0; I < 20; ++I) Add();
        Doc.BeginUpdate(0);
        int LastTarget = -1;
        std::string LastMoved;
        for (int Step = 0; Step < 60; ++Step) {
            const int Kind = static_cast<int>(Random() % 10);
            const int Size = static_cast<int>(Plain.size());
            if (Kind < 4 && Size > 0) {
                // Mostly from the last to the first, as a redo deletes, sometimes anywhere.
                const int At = Kind == 0 ? static_cast<int>(Random() % Size) : std::max(0, Size - 1 - static_cast<int>(Random() % 3));
                Doc.DeleteGeometry(Doc.FindByName(Plain[static_cast<std::size_t>(At)]));
                Plain.erase(Plain.begin() + At);
            } else if (Kind < 8) {
                // Added and put back at a place behind the last one, as an undo restores.
                Add();
                const int Target = std::min(static_cast<int>(Plain.size()) - 1, LastTarget + 1 + static_cast<int>(Random() % 3));
                TGeometry* Last = Doc.FindByName(Plain.back());
                Doc.MoveTo(Target, Last);
                const std::string Moved = Plain.back();
                Plain.pop_back();
                Plain.insert(Plain.begin() + Target, Moved);
                LastMoved = Moved;
                LastTarget = Kind == 7 ? -1 : Target;
            } else if (Kind == 8) {
                Add();
            } else if (Kind == 9 && Step % 2 == 0 && !LastMoved.empty()) {
                // The entity moved last, moved again one place on.
                const auto Found = std::find(Plain.begin(), Plain.end(), LastMoved);
                const int From = static_cast<int>(Found - Plain.begin());
                if (Found == Plain.end() || From + 1 >= Size) continue;
                Doc.MoveTo(From + 1, Doc.FindByName(LastMoved));
                Plain.erase(Found);
                Plain.insert(Plain.begin() + From + 1, LastMoved);
            } else if (Size > 0) {
                // Asking for a place settles what waits.
                const int At = static_cast<int>(Random() % Size);
                ASSERT_EQ(Doc.IndexOf(Doc.FindByName(Plain[static_cast<std::size_t>(At)])), At);
            }
            ASSERT_EQ(Doc.Count(), static_cast<int>(Plain.size()));
        }
        EXPECT_EQ(Doc.Names(), Plain) << "round " << Round;
        Doc.EndUpdate();
        ASSERT_EQ(Doc.Names(), Plain) << "round " << Round;
        for (int I = 0; I < Doc.Count(); ++I) ASSERT_EQ(Doc.IndexOf(&Doc.Items(I)), I);
    }
}

TEST_F(GeometryListTest, LargeDocuments) {
    // Adding, naming and selecting 50,000 entities, most of them named like the previous one; how long
    // it takes is measured in benchmarks/DocumentBench.cpp.
    List.BeginUpdate(0);
    for (int I = 0; I < 50000; ++I) List.AddPoint("Curve1", I);
    List.EndUpdate();
    EXPECT_EQ(List.Items(49999).GetName(), "Curve50000");
    EXPECT_EQ(List.UniqueName("CURVE2"), "CURVE50001");
    List.BeginUpdate(0);
    for (int I = 0; I < 50000; I += 2) List.Items(I).SetName("Renamed" + std::to_string(I));
    List.EndUpdate();
    EXPECT_EQ(List.UniqueName("Curve2"), "Curve3");
    List.SelectAll();
    EXPECT_EQ(List.SelectedCount(), 50000);
    List.SelectByName("renamed25000");
    EXPECT_EQ(List.SingleSelection(), &List.Items(25000));
    EXPECT_EQ(List.IndexOfName("Curve40000"), 39999);
}

}  // namespace
}  // namespace sarnova::test
