#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "foundation/Errors.h"
#include "hulls/Hierarchy.h"

using namespace sarnova;

namespace {

// A node that counts its evaluations and invalidations and can be told to fail.
class TCountingNode : public TNode {
public:
    explicit TCountingNode(std::string AName) {
        Name = std::move(AName);
        OnInvalidate = [this](TNode*) { ++Invalidations; };
    }
    int Evaluations = 0;
    int Invalidations = 0;
    bool Fail = false;
    std::vector<const TNodeMessage*> Received;

    void HandleMessage(TNodeMessage& Message) override {
        Received.push_back(&Message);
        TNode::HandleMessage(Message);
    }

protected:
    void Evaluate() override {
        ++Evaluations;
        if (Fail) throw EGeometryError("evaluation failed");
    }
};

class TMapManager : public INodeManager {
public:
    std::map<std::string, TNode*> Map;
    TNode* FindNode(const std::string& Name) override {
        const auto It = Map.find(Name);
        return It == Map.end() ? nullptr : It->second;
    }
    std::unique_ptr<TNodes> Nodes() override {
        auto List = std::make_unique<TNodes>();
        for (auto& [Name, Node] : Map) List->Add(Node);
        return List;
    }
};

// A <- B <- C: B depends on A, C on B, through references owned by the fixture.
struct Chain : ::testing::Test {
    TCountingNode A{"A"}, B{"B"}, C{"C"};
    TNodeReference BonA{&B}, ConB{&C};
    void SetUp() override {
        BonA.SetNode(&A);
        ConB.SetNode(&B);
        C.Update();
    }
};

}  // namespace

TEST_F(Chain, UpdateEvaluatesParentsFirstAndOnlyWhatIsStale) {
    EXPECT_TRUE(A.IsValid() && B.IsValid() && C.IsValid());
    const int Before = A.Evaluations;
    B.Invalidate(false);
    EXPECT_TRUE(A.IsValid());
    EXPECT_FALSE(C.IsValid()) << "invalidation reaches dependents of dependents";
    C.Update();
    EXPECT_EQ(A.Evaluations, Before);
    EXPECT_EQ(B.Evaluations, 2);
    EXPECT_EQ(C.Evaluations, 2);
}

TEST_F(Chain, InvalidateWithoutForceStopsAtAnInvalidNode) {
    B.Invalidate(false);
    const int BCount = B.Invalidations, CCount = C.Invalidations;
    B.Invalidate(false);
    EXPECT_EQ(B.Invalidations, BCount);
    EXPECT_EQ(C.Invalidations, CCount);
    B.Invalidate(true);
    EXPECT_EQ(B.Invalidations, BCount + 1);
    EXPECT_EQ(C.Invalidations, CCount) << "C is already invalid, so the walk stops there";
}

TEST_F(Chain, ReferencesThatWouldCloseACycleAreRefused) {
    const int Invalidated = A.Invalidations;
    TNodeReference AonC(&A), AonA(&A);
    AonC.SetNode(&C);
    AonA.SetNode(&A);
    EXPECT_EQ(AonC.AttachedNode(), nullptr);
    EXPECT_EQ(AonA.AttachedNode(), nullptr);
    EXPECT_EQ(A.Parents().Count(), 0);
    EXPECT_EQ(C.Dependents().Count(), 0);
    EXPECT_TRUE(A.IsValid());
    EXPECT_EQ(A.Invalidations, Invalidated);
    EXPECT_TRUE(IsDependentNode(&A, &C));
    EXPECT_FALSE(IsDependentNode(&C, &A));
    EXPECT_TRUE(IsDirectDependent(&A, &B));
    EXPECT_FALSE(IsDirectDependent(&A, &C));
}

TEST_F(Chain, DestroyingANodeDetachesEveryReferenceToIt) {
    auto Doomed = std::make_unique<TCountingNode>("D");
    TNodeReference AonD(&A), ConD(&C);
    AonD.SetNode(Doomed.get());
    ConD.SetNode(Doomed.get());
    A.Update();
    C.Update();
    ASSERT_EQ(Doomed->Dependents().Count(), 2);
    const int Before = A.Invalidations;
    Doomed.reset();
    EXPECT_EQ(AonD.AttachedNode(), nullptr);
    EXPECT_EQ(ConD.AttachedNode(), nullptr);
    EXPECT_EQ(A.Parents().Count(), 0);
    EXPECT_EQ(C.Parents().Count(), 1);
    EXPECT_FALSE(A.IsValid());
    EXPECT_GT(A.Invalidations, Before);
    EXPECT_EQ(AonD.GetName(), "D") << "the name stays, to be resolved again later";
}

TEST_F(Chain, DestroyingAnOwnerLeavesNoReferenceInItsTargets) {
    auto Owner = std::make_unique<TCountingNode>("O");
    TNodeReference OonA(Owner.get());
    OonA.SetNode(&A);
    ASSERT_EQ(A.Dependents().Count(), 2);
    Owner.reset();
    EXPECT_EQ(A.Dependents().Count(), 1);
    EXPECT_EQ(OonA.AttachedNode(), nullptr);
}

TEST_F(Chain, MessagesReachTheSenderAndEveryNodeDownstreamOnce) {
    B.SendMessage(std::make_unique<TNodeMessage>());
    ASSERT_EQ(B.Received.size(), 1u);
    ASSERT_EQ(C.Received.size(), 1u);
    EXPECT_EQ(C.Received[0], B.Received[0]);
    EXPECT_TRUE(A.Received.empty());
}

TEST(NodeUpdate, AFailedEvaluationIsTriedAgain) {
    TCountingNode N("N");
    N.Fail = true;
    EXPECT_THROW(N.Update(), EGeometryError);
    EXPECT_EQ(N.GetState(), nsInvalid);
    N.Fail = false;
    N.Update();
    EXPECT_EQ(N.Evaluations, 2);
    EXPECT_TRUE(N.IsValid());
}

TEST(NodeUpdate, AFailingParentLeavesTheChildInvalidToo) {
    TCountingNode P("P"), Child("Child");
    TNodeReference R(&Child);
    P.Fail = true;
    EXPECT_THROW(R.SetNode(&P), EGeometryError);
    EXPECT_EQ(R.AttachedNode(), &P) << "the reference is attached; only the evaluation failed";
    EXPECT_THROW(Child.Update(), EGeometryError);
    EXPECT_EQ(Child.GetState(), nsInvalid);
    P.Fail = false;
    Child.Update();
    EXPECT_TRUE(Child.IsValid() && P.IsValid());
}

TEST(NodeReference, ResolvesNamesLazilyAndKeepsTargetsOnUnknownNames) {
    TMapManager M;
    TCountingNode Owner("Owner"), T1("T1"), T2("T2");
    Owner.SetManager(&M);
    TNodeReference R(&Owner);

    R.SetName("T1");
    EXPECT_EQ(R.AttachedNode(), nullptr);
    Owner.Update();
    EXPECT_EQ(T1.Evaluations, 0) << "an unattached reference's target is not evaluated";

    M.Map["T1"] = &T1;
    M.Map["T2"] = &T2;
    EXPECT_EQ(R.GetNode(), &T1);
    EXPECT_TRUE(T1.IsValid()) << "attaching brings the target up to date";
    EXPECT_FALSE(Owner.IsValid());

    R.SetName("Nobody");
    EXPECT_EQ(R.AttachedNode(), &T1);
    R.SetName("T2");
    EXPECT_EQ(R.AttachedNode(), &T2);
    EXPECT_EQ(T1.Dependents().Count(), 0);
    T2.Name = "Renamed";
    EXPECT_EQ(R.GetName(), "Renamed");

    Owner.Update();
    const int Before = Owner.Invalidations;
    R.SetNode(&T2);
    EXPECT_EQ(Owner.Invalidations, Before) << "the same target changes nothing";
    EXPECT_TRUE(Owner.IsValid());

    R.SetName("");
    EXPECT_EQ(R.AttachedNode(), nullptr);
    EXPECT_EQ(Owner.Parents().Count(), 0);
}

TEST(NodeReference, ARefusedLookupIsRepeatedLater) {
    TMapManager M;
    TCountingNode Owner("Owner"), Other("Other");
    Owner.SetManager(&M);
    M.Map["X"] = &Owner;
    TNodeReference R(&Owner);
    R.SetName("X");
    EXPECT_EQ(R.GetNode(), &Owner) << "found, though not attached";
    EXPECT_EQ(R.AttachedNode(), nullptr);
    M.Map["X"] = &Other;
    EXPECT_EQ(R.GetNode(), &Other);
    EXPECT_EQ(R.AttachedNode(), &Other);
}

TEST(Nodes, HoldEachNodeOnce) {
    TCountingNode A("A"), B("B");
    TNodes L;
    L.Add(&A);
    L.Add(&A);
    L.Insert(0, &B);
    L.Insert(0, &A);
    ASSERT_EQ(L.Count(), 2);
    EXPECT_EQ(L.First(), &B);
    EXPECT_EQ(L.Last(), &A);
    EXPECT_EQ(L.IndexOf(&A), 1);
    L.Clear();
    EXPECT_EQ(L.IndexOf(&A), -1);
    EXPECT_THROW(L.First(), EError);
}
