// References between entities: lazy resolution by name, renames followed, and no reference left
// pointing at a freed entity.
#include <gtest/gtest.h>

#include "document/GeometryReference.h"
#include "TestPoint.h"
#include "foundation/Errors.h"

namespace sarnova {
namespace {

using test::TRecordingList;
using test::TTestPoint;

class GeometryReferenceTest : public ::testing::Test {
protected:
    void SetUp() override { Owner = List.AddPoint("Owner"); }

    // Records every event of R as "<event>:<target name or ->".
    void Record(TGeometryReference& R) {
        auto Log = [this](const char* Event) {
            return [this, Event](TGeometry* Target) { Events.push_back(std::string(Event) + ":" + (Target ? Target->GetName() : "-")); };
        };
        R.OnChanging = Log("changing");
        R.OnChanged = Log("changed");
        R.OnModified = Log("modified");
        R.OnDestroyed = Log("destroyed");
    }

    TRecordingList List;
    TTestPoint* Owner = nullptr;
    std::vector<std::string> Events;
};

TEST_F(GeometryReferenceTest, ANameLinksOnFirstUseOnceItsEntityExists) {
    TGeometryReference R(Owner);
    R.SetName("Target");
    EXPECT_FALSE(R.Assigned());
    EXPECT_EQ(R.GetGeometry(), nullptr);

    TTestPoint* Target = List.AddPoint("target");
    EXPECT_EQ(R.GetGeometry(), Target);
    EXPECT_TRUE(R.Assigned());
    EXPECT_EQ(Target->ObserverCount(), 1);
    Target->SetName("Renamed");
    EXPECT_EQ(R.GetName(), "Renamed");

    // The name is compared exactly: the same text does nothing, another case is a new name that
    // resolves ignoring case.
    Record(R);
    R.SetName("Renamed");
    EXPECT_TRUE(Events.empty());
    TTestPoint* Other = List.AddPoint("Other");
    R.SetName("OTHER");
    EXPECT_EQ(R.GetGeometry(), Other);
    EXPECT_EQ(Target->ObserverCount(), 0);
    EXPECT_EQ(Events, (std::vector<std::string>{"modified:-", "modified:Other"}));
}

TEST_F(GeometryReferenceTest, ALinkedReferenceHearsChangesAndTheEnd) {
    TTestPoint* Target = List.AddPoint("Target");
    TGeometryReference R(Owner);
    R.SetGeometry(Target);
    Record(R);
    Target->MoveTo(1, 2, 3);
    EXPECT_EQ(Events, (std::vector<std::string>{"changing:Target", "modified:Target", "changed:Target"}));

    Events.clear();
    List.DeleteGeometry(Target);
    EXPECT_EQ(Events, (std::vector<std::string>{"destroyed:Target", "modified:-"}));
    EXPECT_FALSE(R.Assigned());
    EXPECT_EQ(R.GetName(), "");
    EXPECT_EQ(R.GetGeometry(), nullptr);
}

TEST_F(GeometryReferenceTest, AListDropsEveryReferenceToAFreedEntity) {
    TTestPoint* Target = List.AddPoint("Target");
    TTestPoint* Kept = List.AddPoint("Kept");
    TGeometryReferencesList Refs(Owner);
    int Changes = 0;
    Refs.OnChange = [&](TGeometryReferences&) { ++Changes; };
    Refs.AddGeometry(Target);
    Refs.AddName("target");
    Refs.AddGeometry(Kept);
    Refs.AddName("TARGET");
    EXPECT_EQ(Target->ObserverCount(), 3);
    EXPECT_EQ(Refs.IndexOfName("kept"), 2);
    EXPECT_EQ(Refs.IndexOfGeometry(Kept), 2);

    List.DeleteGeometry(Target);
    ASSERT_EQ(Refs.Count(), 1);
    EXPECT_EQ(Refs.Items(0).GetGeometry(), Kept);
    EXPECT_EQ(Changes, 4 + 3);

    Refs.Clear();
    EXPECT_EQ(Refs.Count(), 0);
    EXPECT_EQ(Kept->ObserverCount(), 0);
}

TEST_F(GeometryReferenceTest, CopiesResolveTheirNamesInTheirOwnDocument) {
    TRecordingList Other;
    TTestPoint* OtherOwner = Other.AddPoint("Owner");
    List.AddPoint("A");
    TGeometryReferencesList Refs(Owner);
    Refs.AddName("A");
    Refs.AddName("B");

    TGeometryReferencesList Copy(OtherOwner);
    Copy.Assign(Refs);
    ASSERT_EQ(Copy.Count(), 2);
    EXPECT_FALSE(Copy.Items(0).Assigned());
    TTestPoint* B = Other.AddPoint("B");
    EXPECT_EQ(Copy.IndexOfGeometry(B), 1);

    TGeometryReference Single(OtherOwner);
    Single.Assign(Refs.Items(0));
    EXPECT_EQ(Single.GetName(), "A");
    EXPECT_EQ(Single.GetGeometry(), nullptr);
}

TEST_F(GeometryReferenceTest, AFreedReferenceOrListLeavesNoObserverBehind) {
    TTestPoint* Target = List.AddPoint("Target");
    {
        TGeometryReference R(Owner);
        R.SetGeometry(Target);
        TGeometryReferencesList Refs(Owner);
        Refs.AddGeometry(Target);
        EXPECT_EQ(Target->ObserverCount(), 2);
    }
    EXPECT_EQ(Target->ObserverCount(), 0);
    // The target dies with its list while a reference still watches it.
    auto Doc = std::make_unique<TRecordingList>();
    TGeometryReference R(Owner);
    R.SetGeometry(Doc->AddPoint("Doomed"));
    Doc.reset();
    EXPECT_FALSE(R.Assigned());
}

TEST_F(GeometryReferenceTest, AHolderWhoseReactionFailsIsUnlinkedAllTheSame) {
    // Freeing a list may reach holders that react to the end of their target by deleting themselves
    // from that list or by rebuilding, and fail: the list is freed without a throw, and no reference
    // is left pointing at a freed entity.
    auto Doc = std::make_unique<TRecordingList>();
    TTestPoint* Holder = Doc->AddPoint("Holder");
    TGeometryReference Failing(Owner);
    Failing.SetGeometry(Doc->AddPoint("Target"));
    Failing.OnDestroyed = [](TGeometry*) { throw EError("cannot be rebuilt"); };
    TGeometryReference Deleting(Holder);
    Deleting.SetGeometry(Doc->AddPoint("Other"));
    Deleting.OnDestroyed = [Holder](TGeometry*) { Holder->DeleteFromList(); };
    TGeometryReference Watching(Owner);
    Watching.SetGeometry(Holder);
    Doc.reset();
    EXPECT_FALSE(Failing.Assigned());
    EXPECT_FALSE(Deleting.Assigned());
    EXPECT_FALSE(Watching.Assigned());
}

}  // namespace
}  // namespace sarnova
