#include "document/TrackInfo.h"

#include <gtest/gtest.h>

#include <memory>

#include "TestPoint.h"

namespace sarnova::test {
namespace {

// An in-memory tree that counts how often nodes were made, to tell refreshed nodes from new ones.
class TMemoryNode : public ITreeNode {
public:
    std::string Text;
    void* Data = nullptr;
    bool Expanded = false;
    int Serial = 0;
    std::vector<std::unique_ptr<TMemoryNode>> Children;

    void SetText(const std::string& AText) override { Text = AText; }
    void* GetData() const override { return Data; }
    void SetData(void* AData) override { Data = AData; }
    int ChildCount() const override { return static_cast<int>(Children.size()); }
    ITreeNode& Child(int Index) override { return *Children[static_cast<std::size_t>(Index)]; }
    ITreeNode& AddChild() override { return *Children.emplace_back(std::make_unique<TMemoryNode>()); }
    void DeleteChild(int Index) override { Children.erase(Children.begin() + Index); }
    void ExpandAll() override { Expanded = true; }
};

class TMemoryTree : public ITreeView {
public:
    std::vector<std::unique_ptr<TMemoryNode>> Tops;
    int Made = 0;
    int OpenUpdates = 0;

    void BeginUpdate() override { ++OpenUpdates; }
    void EndUpdate() override { --OpenUpdates; }
    int TopCount() const override { return static_cast<int>(Tops.size()); }
    ITreeNode& Top(int Index) override { return *Tops[static_cast<std::size_t>(Index)]; }
    ITreeNode& AddTop() override {
        auto& Node = *Tops.emplace_back(std::make_unique<TMemoryNode>());
        Node.Serial = ++Made;
        return Node;
    }
    void DeleteTop(int Index) override { Tops.erase(Tops.begin() + Index); }

    std::vector<std::string> Texts() const {
        std::vector<std::string> Result;
        for (const auto& Top : Tops) {
            Result.push_back(Top->Text);
            for (const auto& Child : Top->Children) Result.push_back("  " + Child->Text);
        }
        return Result;
    }
};

TEST(TrackInfoTest, MessagesAreGroupedPerSenderInOrderOfFirstReport) {
    TTrackInfo Tracker;
    int A = 0, B = 0;
    Tracker.AddInfoMessage({&A, "a1", EmptyBox});
    Tracker.AddInfoMessage({&B, "b1", EmptyBox});
    Tracker.AddInfoMessage({&A, "a2", EmptyBox});
    Tracker.AddInfoMessage({nullptr, "n1", EmptyBox});
    Tracker.AddInfoMessage({nullptr, "n2", EmptyBox});
    ASSERT_EQ(Tracker.Count(), 3);
    EXPECT_EQ(Tracker.Items(0).Count(), 2);
    EXPECT_EQ(Tracker.Items(0).Items(1).Text(), "a2");
    EXPECT_EQ(Tracker.Items(2).Sender, nullptr);
    EXPECT_EQ(Tracker.Items(2).Count(), 2);
    Tracker.ClearInfoMessages(&A);
    EXPECT_EQ(Tracker.FindInfo(&A), nullptr);
    EXPECT_EQ(Tracker.Count(), 2);
    Tracker.ClearInfoMessages(&A);  // nothing left to drop
    EXPECT_EQ(Tracker.Count(), 2);
}

TEST(TrackInfoTest, FillingTheTreeUpdatesItInPlace) {
    TRecordingList List;
    auto* A = List.AddPoint("A", 1);
    auto* B = List.AddPoint("B", 2);
    auto* C = List.AddPoint("C", 3);
    TMemoryTree Tree;
    A->AddInfoMessage({nullptr, "first", MakeBox(0, 0, 0, 1, 1, 1)});
    A->AddInfoMessage({nullptr, "second", EmptyBox});
    B->AddInfoMessage({nullptr, "only", EmptyBox});
    List.GetTracker().FillTree(Tree);
    EXPECT_EQ(Tree.Texts(), (std::vector<std::string>{"A", "  first", "  second", "B", "  only"}));
    EXPECT_EQ(Tree.OpenUpdates, 0);
    EXPECT_TRUE(Tree.Tops[0]->Expanded);
    auto* Item = static_cast<TObjectInfoItem*>(Tree.Tops[0]->Children[0]->Data);
    EXPECT_EQ(Item->GetBox().Max.X, 1);

    A->ClearInfoMessages();
    A->AddInfoMessage({nullptr, "again", EmptyBox});  // reports afresh: now after B
    C->AddInfoMessage({nullptr, "new", EmptyBox});
    A->SetName("Renamed");
    A->AddInfoMessage({nullptr, "more", EmptyBox});
    List.DeleteGeometry(B);
    List.GetTracker().FillTree(Tree);
    EXPECT_EQ(Tree.Texts(), (std::vector<std::string>{"Renamed", "  again", "  more", "C", "  new"}));
}

TEST(TrackInfoTest, AnEntityThatReportsKeepsItsNodeAcrossFills) {
    TRecordingList List;
    auto* A = List.AddPoint("A", 1);
    TMemoryTree Tree;
    A->AddInfoMessage({nullptr, "one", EmptyBox});
    List.GetTracker().FillTree(Tree);
    A->AddInfoMessage({nullptr, "two", EmptyBox});
    List.GetTracker().FillTree(Tree);
    EXPECT_EQ(Tree.Made, 1);
    EXPECT_EQ(Tree.Texts(), (std::vector<std::string>{"A", "  one", "  two"}));
    List.Clear();
    List.GetTracker().FillTree(Tree);
    EXPECT_TRUE(Tree.Texts().empty());
}

}  // namespace
}  // namespace sarnova::test
