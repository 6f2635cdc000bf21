// The undo engine on its own: stacks, groups, the relocation map and failing records, with records
// about small objects of a test store.
#include <gtest/gtest.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "document/Undo.h"
#include "foundation/Errors.h"
#include "platform/ScriptedUserDialogs.h"

namespace sarnova {
namespace {

// A record that logs its name when executed and pushes its inverse ("a" <-> "~a"); when its name is in
// Failing it raises after pushing the inverse.
class TLogRecord : public TUndo {
public:
    TLogRecord(std::vector<std::string>& ALog, std::string AName, const std::vector<std::string>* AFailing = nullptr)
        : Log(ALog), Name(std::move(AName)), Failing(AFailing) {}
    std::string Description() const override { return Name; }
    void Execute() override {
        const std::string Inverse = Name[0] == '~' ? Name.substr(1) : "~" + Name;
        PushInverse(std::make_unique<TLogRecord>(Log, Inverse, Failing));
        if (Failing != nullptr && std::find(Failing->begin(), Failing->end(), Name) != Failing->end())
            throw EError("cannot run " + Name);
        Log.push_back(Name);
    }

    std::vector<std::string>& Log;
    std::string Name;
    const std::vector<std::string>* Failing;
};

// Objects that records create, change and delete; a deleted object is re-created at a new address.
struct TThing {
    int Value = 0;
};

class TStore {
public:
    TThing* Make(int Value) {
        if (ReuseFreed && !Freed.empty()) {
            // As a heap does: the address freed first comes back first.
            Things.push_back(std::move(Freed.front()));
            Freed.erase(Freed.begin());
            Things.back()->Value = Value;
        } else {
            Things.push_back(std::make_unique<TThing>(TThing{Value}));
        }
        return Things.back().get();
    }
    // Freed things are kept aside, so that no new thing reuses an address that records still name.
    void Free(TThing* Thing) {
        auto Found = std::find_if(Things.begin(), Things.end(), [&](const auto& T) { return T.get() == Thing; });
        ASSERT_NE(Found, Things.end());
        Freed.push_back(std::move(*Found));
        Things.erase(Found);
    }
    bool Holds(const TThing* Thing) const {
        return std::any_of(Things.begin(), Things.end(), [&](const auto& T) { return T.get() == Thing; });
    }
    std::vector<int> Values() const {
        std::vector<int> Result;
        for (const auto& T : Things) Result.push_back(T->Value);
        std::sort(Result.begin(), Result.end());
        return Result;
    }
    std::vector<std::unique_ptr<TThing>> Things;
    std::vector<std::unique_ptr<TThing>> Freed;
    bool ReuseFreed = false;
};

TStore* GStore = nullptr;

class TCreateThing : public TUndoCreateObject {
public:
    void Capture(void* Object) override { DescriptionText = "Create " + std::to_string(Thing(Object)->Value); }
    std::unique_ptr<TUndo> CreateInverse() override;
    void Apply(void* Object) override { GStore->Free(Thing(Object)); }
    static TThing* Thing(void* Object) { return static_cast<TThing*>(Object); }
};

class TModifyThing : public TUndoModifyObject {
public:
    void Capture(void* Object) override { Value = TCreateThing::Thing(Object)->Value; }
    std::unique_ptr<TUndo> CreateInverse() override { return CreateFrom<TModifyThing>(*this); }
    void Apply(void* Object) override { TCreateThing::Thing(Object)->Value = Value; }
    int Value = 0;
};

class TDestroyThing : public TUndoDestroyObject {
public:
    void Capture(void* Object) override { Value = TCreateThing::Thing(Object)->Value; }
    std::unique_ptr<TUndo> CreateInverse() override { return CreateFrom<TCreateThing>(*this); }
    void* Apply(void*) override { return GStore->Make(Value); }
    int Value = 0;
};

std::unique_ptr<TUndo> TCreateThing::CreateInverse() { return CreateFrom<TDestroyThing>(*this); }

class UndoManagerTest : public ::testing::Test {
protected:
    void SetUp() override { GStore = &Store; }
    void TearDown() override { GStore = nullptr; }

    void Record(const std::string& Name) { Manager.AddUndo(std::make_unique<TLogRecord>(Log, Name, &Failing)); }
    // Actions on things, recorded as an editor would.
    TThing* Create(int Value) {
        TThing* Thing = Store.Make(Value);
        Manager.AddUndo(TUndoObject::Create<TCreateThing>(Thing));
        return Thing;
    }
    void Change(TThing* Thing, int Value) {
        Manager.AddUndo(TUndoObject::Create<TModifyThing>(Thing));
        Thing->Value = Value;
    }
    void Destroy(TThing* Thing) {
        Manager.AddUndo(TUndoObject::Create<TDestroyThing>(Thing));
        Store.Free(Thing);
    }
    std::vector<std::string> Dump(const TUndoStack& Stack) {
        std::vector<std::string> Lines;
        Stack.Dump(Lines);
        return Lines;
    }

    TStore Store;
    TUndoManager Manager;
    std::vector<std::string> Log;
    std::vector<std::string> Failing;
};

using Lines = std::vector<std::string>;

TEST_F(UndoManagerTest, UndoAndRedoWalkTheHistoryBothWays) {
    Manager.Undo();  // empty stacks do nothing
    Manager.Redo();
    Record("a");
    Record("b");
    Manager.Undo();
    Manager.Undo();
    EXPECT_EQ(Log, (Lines{"b", "a"}));
    EXPECT_EQ(Dump(Manager.GetRedoStack()), (Lines{"~b", "~a"}));
    Manager.Redo();
    EXPECT_EQ(Log.back(), "~a");
    EXPECT_EQ(Dump(Manager.GetUndoStack()), (Lines{"a"}));
    EXPECT_EQ(Dump(Manager.GetRedoStack()), (Lines{"~b"}));
    // Inverses never clear a stack; a new action clears the redo stack.
    Record("c");
    EXPECT_EQ(Manager.GetRedoStack().Count(), 0);
    EXPECT_EQ(Manager.GetMode(), TUndoMode::Editing);
}

TEST_F(UndoManagerTest, GroupsAreStoredByTheirSize) {
    Record("x");
    Manager.Undo();
    ASSERT_TRUE(Manager.CanRedo());

    // Empty: no trace, and the redo stack stays.
    Manager.BeginUndo();
    EXPECT_FALSE(Manager.CanRedo());  // not while a group is open
    Manager.EndUndo();
    EXPECT_EQ(Manager.GetUndoStack().Count(), 0);
    EXPECT_TRUE(Manager.CanRedo());

    // One record: stored alone.
    Manager.BeginUndo();
    Record("a");
    Manager.EndUndo();
    EXPECT_EQ(Dump(Manager.GetUndoStack()), (Lines{"a"}));
    EXPECT_FALSE(Manager.UndoTopIsGroup());
    EXPECT_FALSE(Manager.CanRedo());

    // Nested levels make one group, undone from the last record to the first.
    Manager.BeginUndo();
    Record("b");
    Manager.BeginUndo();
    Record("c");
    EXPECT_FALSE(Manager.CanUndo());
    Manager.EndUndo();
    Record("d");
    Manager.EndUndo();
    EXPECT_TRUE(Manager.UndoTopIsGroup());
    EXPECT_EQ(Dump(Manager.GetUndoStack()), (Lines{"a", "UndoGroup(3)", "   b", "   c", "   d"}));
    Manager.Undo();
    EXPECT_EQ(Log, (Lines{"x", "d", "c", "b"}));
    EXPECT_TRUE(Manager.RedoTopIsGroup());
    Manager.Redo();
    EXPECT_EQ(Log, (Lines{"x", "d", "c", "b", "~b", "~c", "~d"}));

    EXPECT_THROW(
        {
            try {
                Manager.EndUndo();
            } catch (const EError& E) {
                EXPECT_STREQ(E.what(), "TUndoManager.EndUndo - EndUndo without BeginUndo");
                throw;
            }
        },
        EError);
    EXPECT_EQ(Manager.GetGroupDepth(), 0);
}

TEST_F(UndoManagerTest, AGroupJoiningTheLastStepIsUndoneWithIt) {
    // Nothing recorded yet: a plain group.
    Manager.BeginUndoJoiningLast();
    Record("a");
    Manager.EndUndo();
    Record("b");
    Manager.BeginUndoJoiningLast();
    Record("c");
    Manager.EndUndo();
    EXPECT_EQ(Dump(Manager.GetUndoStack()), (Lines{"a", "UndoGroup(2)", "   b", "   c"}));
    // Inside an open group it is one more level of that group.
    Manager.BeginUndo();
    Record("d");
    Manager.BeginUndoJoiningLast();
    Record("e");
    Manager.EndUndo();
    Manager.EndUndo();
    EXPECT_EQ(Dump(Manager.GetUndoStack()),
              (Lines{"a", "UndoGroup(2)", "   b", "   c", "UndoGroup(2)", "   d", "   e"}));
    Manager.Undo();
    Manager.Undo();
    EXPECT_EQ(Log, (Lines{"e", "d", "c", "b"}));
}

TEST_F(UndoManagerTest, DisabledManagerDropsRecordsButCountsGroups) {
    Record("a");
    Manager.SetEnabled(false);
    EXPECT_EQ(Manager.GetUndoStack().Count(), 0);  // a new value clears
    Record("b");
    Manager.BeginUndo();
    Record("c");
    EXPECT_EQ(Manager.GetGroupDepth(), 1);
    Manager.EndUndo();
    EXPECT_EQ(Manager.GetUndoStack().Count(), 0);
    Manager.SetEnabled(true);
    Record("d");
    Manager.SetEnabled(true);  // the same value keeps the history
    EXPECT_EQ(Manager.GetUndoStack().Count(), 1);
}

TEST_F(UndoManagerTest, UndoWhileARecordRunsIsRefused) {
    struct TReentrant : TUndo {
        void Execute() override { Manager->Undo(); }
    };
    Manager.AddUndo(std::make_unique<TReentrant>());
    try {
        Manager.Undo();
        FAIL();
    } catch (const EError& E) {
        EXPECT_STREQ(E.what(), "TUndoManager.Undo - Unable to Undo, not in editing mode");
    }
    EXPECT_EQ(Manager.GetMode(), TUndoMode::Editing);
}

TEST_F(UndoManagerTest, AFailingRecordStaysWithTheStacksUnchanged) {
    Record("a");
    Record("b");
    Failing = {"b"};
    EXPECT_THROW(Manager.Undo(), EError);
    // "b" is still the step to undo, and the inverse it pushed before failing is withdrawn.
    EXPECT_EQ(Dump(Manager.GetUndoStack()), (Lines{"a", "b"}));
    EXPECT_EQ(Manager.GetRedoStack().Count(), 0);
    EXPECT_EQ(Manager.GetMode(), TUndoMode::Editing);
    Failing.clear();
    Manager.Undo();
    EXPECT_EQ(Log, (Lines{"b"}));
}

TEST_F(UndoManagerTest, AGroupFailingPartWayKeepsWhatDidNotRun) {
    Manager.BeginUndo();
    Record("a");
    Record("b");
    Record("c");
    Manager.EndUndo();
    Failing = {"b"};
    EXPECT_THROW(Manager.Undo(), EError);
    // "c" was undone: its inverse is on the redo stack. "a" and "b" remain to be undone.
    EXPECT_EQ(Log, (Lines{"c"}));
    EXPECT_EQ(Dump(Manager.GetUndoStack()), (Lines{"UndoGroup(2)", "   a", "   b"}));
    EXPECT_EQ(Dump(Manager.GetRedoStack()), (Lines{"~c"}));
    EXPECT_EQ(Manager.GetGroupDepth(), 0);
    Failing.clear();
    Manager.Undo();
    EXPECT_EQ(Log, (Lines{"c", "b", "a"}));
    Manager.Redo();
    Manager.Redo();
    EXPECT_EQ(Log, (Lines{"c", "b", "a", "~a", "~b", "~c"}));
}

TEST_F(UndoManagerTest, GetUndoGroupFollowsTheGroupLevel) {
    EXPECT_EQ(Manager.GetUndoGroup(), nullptr);
    Manager.BeginUndo();
    Manager.BeginUndo();
    ASSERT_NE(Manager.GetUndoGroup(), nullptr);
    Record("a");
    EXPECT_EQ(Manager.GetUndoGroup()->Members.Count(), 1);
    Manager.EndUndo();
    Manager.EndUndo();
    EXPECT_EQ(Manager.GetUndoGroup(), nullptr);
}

// ---- Relocations ----

TEST(PointerRelocationMap, MergeFollowsOneStepAndMergingTheInverseRestores) {
    int A, B, C, D;
    TUndoManager Manager;
    Manager.AddRelocation(&A, &A);        // ignored: equal
    Manager.AddRelocation(nullptr, &A);   // ignored: nil
    Manager.AddRelocation(&A, &B);
    Manager.AddRelocation(&B, &C);
    EXPECT_EQ(Manager.Relocate(&A), &B);  // chains are not followed
    EXPECT_EQ(Manager.Relocate(&D), &D);

    TPointerRelocationMap Other;
    Other.Add(&D, &A);  // D is now represented by A, which the map already relocates to B
    const TPointerRelocationMap Before = Manager.GetRelocations();
    Manager.MergeRelocations(Other);
    EXPECT_EQ(Manager.Relocate(&D), &B);
    EXPECT_EQ(Manager.Relocate(&A), &A);  // (A -> B) was taken over by (D -> B)
    Manager.MergeRelocations(Other.Inverted());
    for (void* P : {(void*)&A, (void*)&B, (void*)&C, (void*)&D}) EXPECT_EQ(Manager.Relocate(P), Before.Relocate(P));
    EXPECT_EQ(Manager.GetRelocations().Count(), Before.Count());

    Manager.AddRelocation(&A, &B);
    Manager.RemoveRelocation(&A, &B);  // every pair of exactly these two
    EXPECT_EQ(Manager.Relocate(&A), &A);
    EXPECT_EQ(Manager.Relocate(&B), &C);
}

// The hashed map against a plain list of pairs, over random additions and removals among a few
// addresses: duplicates, chains, removals from the middle of a key's pairs, growth and compaction.
TEST(PointerRelocationMap, AgreesWithAPlainListOfPairs) {
    std::vector<int> Objects(48);
    std::vector<TPointerRelocationMap::TPair> Plain;
    TPointerRelocationMap Map;
    std::uint32_t Seed = 12345;
    auto Next = [&](std::uint32_t Range) {
        Seed = Seed * 1664525u + 1013904223u;
        return (Seed >> 8) % Range;
    };
    auto Any = [&]() -> void* { return &Objects[Next(static_cast<std::uint32_t>(Objects.size()))]; };
    for (int Step = 0; Step < 20000; ++Step) {
        // More additions than removals at first, then fewer, so the map grows and shrinks to empty.
        const bool Adding = Next(100) < (Step < 10000 ? 60u : 35u);
        if (Adding || Plain.empty()) {
            void* Old = Any();
            void* New = Any();
            Map.Add(Old, New);
            Plain.push_back({New, Old});
        } else {
            // Mostly a pair that is there, sometimes one that is not.
            const auto Picked = Plain[Next(static_cast<std::uint32_t>(Plain.size()))];
            void* Old = Next(8) == 0 ? Any() : Picked.OldObject;
            Map.Remove(Old, Picked.NewObject);
            std::erase_if(Plain, [&](const auto& P) { return P.OldObject == Old && P.NewObject == Picked.NewObject; });
        }
        ASSERT_EQ(Map.Count(), static_cast<int>(Plain.size())) << "step " << Step;
        for (int& Object : Objects) {
            auto ByOld = std::find_if(Plain.begin(), Plain.end(), [&](const auto& P) { return P.OldObject == &Object; });
            auto ByNew = std::find_if(Plain.begin(), Plain.end(), [&](const auto& P) { return P.NewObject == &Object; });
            ASSERT_EQ(Map.Relocate(&Object), ByOld == Plain.end() ? &Object : ByOld->NewObject) << "step " << Step;
            ASSERT_EQ(Map.Original(&Object), ByNew == Plain.end() ? &Object : ByNew->OldObject) << "step " << Step;
        }
        if (Step % 500 == 0)
            for (int I = 0; I < Map.Count(); ++I) ASSERT_EQ(Map.Items(I), Plain[static_cast<std::size_t>(I)]);
    }
    const TPointerRelocationMap Inverse = Map.Inverted();
    ASSERT_EQ(Inverse.Count(), static_cast<int>(Plain.size()));
    for (int I = 0; I < Inverse.Count(); ++I) {
        EXPECT_EQ(Inverse.Items(I).OldObject, Plain[static_cast<std::size_t>(I)].NewObject);
        EXPECT_EQ(Inverse.Items(I).NewObject, Plain[static_cast<std::size_t>(I)].OldObject);
    }
}

TEST_F(UndoManagerTest, AnUndoneDeletionIsFoundByOlderRecords) {
    TThing* Kept = Create(1);
    TThing* Doomed = Create(2);
    Destroy(Doomed);
    Manager.Undo();  // re-created elsewhere
    EXPECT_EQ(Store.Values(), (std::vector<int>{1, 2}));
    EXPECT_EQ(Manager.GetRelocations().Count(), 1);

    // The next action is stored in a group behind the frozen relocations.
    Change(Kept, 10);
    ASSERT_TRUE(Manager.UndoTopIsGroup());
    const auto& Group = static_cast<const TUndoGroup&>(*Manager.GetUndoStack().Top());
    EXPECT_NE(dynamic_cast<const TUndoPRMOperation*>(&Group.Members.Items(0)), nullptr);
    EXPECT_NE(dynamic_cast<const TModifyThing*>(&Group.Members.Items(1)), nullptr);
    EXPECT_EQ(Manager.GetRelocations().Count(), 0);
    EXPECT_EQ(Manager.GetRedoStack().Count(), 0);

    Manager.Undo();  // the change first, then the relocations come back
    EXPECT_EQ(Kept->Value, 1);
    EXPECT_EQ(Manager.GetRelocations().Count(), 1);
    Manager.Undo();  // the older creation record removes the re-created copy
    EXPECT_EQ(Store.Values(), (std::vector<int>{1}));
    Manager.Undo();
    EXPECT_TRUE(Store.Values().empty());

    // All the way forward and back again.
    while (Manager.CanRedo()) Manager.Redo();
    EXPECT_EQ(Store.Values(), (std::vector<int>{2, 10}));
    while (Manager.CanUndo()) Manager.Undo();
    EXPECT_TRUE(Store.Values().empty());
}

// Freed addresses come back: a redo that re-creates two things may give each the other's old address,
// and undoing again must still reach both (the first one's deletion must not hide the second).
TEST_F(UndoManagerTest, ThingsReCreatedAtEachOthersAddressesAreAllUndone) {
    Store.ReuseFreed = true;
    Manager.BeginUndo();
    TThing* First = Create(1);
    TThing* Second = Create(2);
    Manager.EndUndo();
    Manager.Undo();
    Manager.Redo();
    ASSERT_EQ(Manager.Relocate(First), Second);  // the swap really happened
    ASSERT_EQ(Manager.Relocate(Second), First);
    Manager.Undo();
    EXPECT_TRUE(Store.Values().empty());
    Manager.Redo();
    EXPECT_EQ(Store.Values(), (std::vector<int>{1, 2}));
}

TEST_F(UndoManagerTest, DeleteUndoRedoUndoKeepsOneSubject) {
    TThing* Thing = Create(7);
    Destroy(Thing);
    for (int Round = 0; Round < 3; ++Round) {
        Manager.Undo();
        void* Copy = Manager.Relocate(Thing);
        EXPECT_NE(Copy, Thing);
        EXPECT_TRUE(Store.Holds(static_cast<TThing*>(Copy)));
        EXPECT_EQ(Manager.GetRelocations().Count(), 1);
        Manager.Redo();  // deletes the newest copy and drops its pair
        EXPECT_TRUE(Store.Values().empty());
        EXPECT_EQ(Manager.GetRelocations().Count(), 0);
    }
}

TEST_F(UndoManagerTest, AnEmptyBracketAfterAnUndoneDeletionKeepsRedo) {
    TThing* Thing = Create(3);
    Destroy(Thing);
    Manager.Undo();
    // A bracket that records nothing (a click, the validation after every undo) must not turn the
    // pending relocations into a step of their own nor drop the redo stack.
    Manager.BeginUndo();
    Manager.EndUndo();
    EXPECT_EQ(Manager.GetUndoStack().Count(), 1);
    EXPECT_TRUE(Manager.CanRedo());
    EXPECT_EQ(Manager.GetRelocations().Count(), 1);
    Manager.Redo();
    EXPECT_TRUE(Store.Values().empty());
}

TEST(UndoRecords, DumpAndDescriptions) {
    int A, B;
    TPointerRelocationMap Map;
    Map.Add(&A, &B);
    TUndoPRMOperation Operation(Map);
    std::vector<std::string> Lines;
    Operation.Dump(Lines);
    ASSERT_EQ(Lines.size(), 1u);
    char Expected[64];
    std::snprintf(Expected, sizeof Expected, "PRM %08" PRIXPTR " -> %08" PRIXPTR, reinterpret_cast<std::uintptr_t>(&A),
                  reinterpret_cast<std::uintptr_t>(&B));
    EXPECT_EQ(Lines[0], Expected);
    struct TPlain : TUndo {
        void Execute() override {}
    } Plain;
    EXPECT_EQ(Plain.Description(), "TUndo");
}

TEST(UndoManager, ShowInformationFormSaysTheFormIsDisabled) {
    TScriptedUserDialogs Dialogs;
    TUndoManager Manager;
    Manager.ShowInformationForm(Dialogs, "Sarnova");
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Dialogs.Shown[0].Text, "TUndoManager.ShowInformationForm - Undo Debug Form Diabled");
}

}  // namespace
}  // namespace sarnova
