#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "curvenet/XTNode.h"
#include "foundation/Errors.h"

using namespace sarnova;

namespace {

// A document of named nodes as the entities would present it.
class TNodeDocument : public IXTManager {
public:
    std::map<std::string, TXTNode*> ByName;
    std::vector<TInfoMessage> Messages;
    std::vector<const void*> Cleared;

    TXTNode* FindNode(const std::string& Name) override {
        auto It = ByName.find(Name);
        return It == ByName.end() ? nullptr : It->second;
    }
    std::unique_ptr<TXTNodeList> Nodes() override {
        auto L = std::make_unique<TXTNodeList>();
        for (auto& [Name, Node] : ByName) L->Add(Node);
        return L;
    }
    void AddInfoMessage(const TInfoMessage& M) override { Messages.push_back(M); }
    void ClearInfoMessages(const void* Sender) override { Cleared.push_back(Sender); }
};

// A node with one part holding references, a stale flag and a log shared with its neighbours.
class TTestNode : public TXTNode {
public:
    std::vector<std::string>* Log = nullptr;
    bool Stale = false;
    int ChangedCalls = 0;
    bool FailValidation = false;
    std::vector<std::unique_ptr<TXTReference>> Parts;

    TTestNode(const std::string& Name, TNodeDocument* Doc, std::vector<std::string>* ALog = nullptr)
        : Log(ALog) {
        SetName(Name);
        Manager = Doc;
        if (Doc) Doc->ByName[Name] = this;
        OnChange = [this](TXTNode*) {
            if (Log) Log->push_back("change " + GetName());
        };
    }
    ~TTestNode() override {
        NotifyDestroying();
        if (auto* Doc = static_cast<TNodeDocument*>(Manager))
            std::erase_if(Doc->ByName, [this](const auto& Entry) { return Entry.second == this; });
    }

    // A part of this node resting on Target (by node or by name).
    TXTReference& RestOn(TXTNode* Target) {
        Parts.push_back(std::make_unique<TXTReference>(this));
        Parts.back()->SetTarget(Target);
        return *Parts.back();
    }
    TXTReference& RestOnName(const std::string& Name) {
        Parts.push_back(std::make_unique<TXTReference>(this));
        Parts.back()->SetName(Name);
        return *Parts.back();
    }

    void HandleMessage(TXTMessage& M) override {
        if (Log && dynamic_cast<TXTDeleteNodeMessage*>(&M)) Log->push_back("self " + GetName());
    }
    bool IsUpToDate() const override { return !Stale; }
    void Changed() override {
        ++ChangedCalls;
        Stale = true;
        TXTNode::Changed();
    }
    void ValidateReferences() override {
        if (FailValidation) throw EError("TTestNode.ValidateReferences - " + GetName());
    }
    void Regenerate() override {
        TXTNode::Regenerate();
        if (Log) Log->push_back("regenerate " + GetName());
        Stale = false;
    }
};

}  // namespace

TEST(XTReference, ResolvesLateByNameAndFollowsRenames) {
    TNodeDocument Doc;
    TTestNode A("A", &Doc);
    TXTReference& R = A.RestOnName("B");
    EXPECT_EQ(R.CurrentTarget(), nullptr);
    EXPECT_EQ(R.GetName(), "B");

    TTestNode B("B", &Doc);  // read after the node that names it
    EXPECT_EQ(R.GetTarget(), &B);
    EXPECT_TRUE(A.HasInput(&B));
    EXPECT_TRUE(B.Dependents().Contains(&R));

    A.ChangedCalls = 0;
    int Told = 0;
    R.OnChange = [&](TXTNode*) { ++Told; };
    B.SetName("Keel");
    Doc.ByName["Keel"] = &B;
    EXPECT_EQ(R.GetName(), "Keel");
    EXPECT_EQ(Told, 0);
    EXPECT_EQ(A.ChangedCalls, 0);

    // An unknown name leaves the reference unresolved with that name; an empty one detaches.
    R.SetName("Nowhere");
    EXPECT_EQ(R.GetTarget(), nullptr);
    EXPECT_EQ(R.GetName(), "Nowhere");
    EXPECT_EQ(B.Dependents().Count(), 0);
    R.SetName("Keel");
    EXPECT_EQ(R.GetTarget(), &B);
    R.SetName("");
    EXPECT_EQ(R.GetTarget(), nullptr);
    EXPECT_EQ(A.Inputs().Count(), 0);
}

TEST(XTReference, RefusesLinksThatCloseACycle) {
    // In each case A is asked to rest on the node named; the graph already has the links listed.
    struct TCase {
        const char* What;
        bool ThroughC;
        bool ByName;
        bool Self;
    };
    const TCase Cases[] = {{"B rests on A", false, false, false},
                           {"B rests on C, C on A", true, false, false},
                           {"by name, through C", true, true, false},
                           {"A on itself", false, false, true}};
    for (const TCase& K : Cases) {
        TNodeDocument Doc;
        TTestNode A("A", &Doc), B("B", &Doc), C("C", &Doc);
        if (K.ThroughC) {
            C.RestOn(&A);
            B.RestOn(&C);
        } else {
            B.RestOn(&A);
        }
        const int InputsBefore = A.Inputs().Count(), DependentsBefore = B.Dependents().Count();
        A.ChangedCalls = 0;
        TXTNode* Wanted = K.Self ? static_cast<TXTNode*>(&A) : &B;
        TXTReference& R = K.ByName ? A.RestOnName(Wanted->GetName()) : A.RestOn(Wanted);
        EXPECT_EQ(R.GetTarget(), nullptr) << K.What;
        EXPECT_EQ(A.Inputs().Count(), InputsBefore) << K.What;
        EXPECT_EQ(B.Dependents().Count(), DependentsBefore) << K.What;
        EXPECT_EQ(A.ChangedCalls, 0) << K.What;
        EXPECT_FALSE(A.HasInput(Wanted)) << K.What;
    }
}

TEST(XTNode, DestroyingTellsEachDependentOnceInReverseOrder) {
    TNodeDocument Doc;
    std::vector<std::string> Log;
    auto Base = std::make_unique<TTestNode>("Base", &Doc, &Log);
    TTestNode C1("C1", &Doc), C2("C2", &Doc), S("S", &Doc);
    std::vector<TXTReference*> Refs{&C1.RestOn(Base.get()), &C2.RestOn(Base.get()), &S.RestOn(Base.get())};
    const char* Names[] = {"C1", "C2", "S"};
    for (int I = 0; I < 3; ++I)
        Refs[I]->OnMessage = [&Log, N = Names[I]](TXTMessage& M) {
            if (dynamic_cast<TXTDeleteNodeMessage*>(&M)) Log.push_back(std::string("delete to ") + N);
        };
    Log.clear();
    Base.reset();
    EXPECT_EQ(Log, (std::vector<std::string>{"self Base", "delete to S", "delete to C2", "delete to C1"}));
    for (TXTReference* R : Refs) EXPECT_EQ(R->CurrentTarget(), nullptr);
    EXPECT_EQ(C1.Inputs().Count() + C2.Inputs().Count() + S.Inputs().Count(), 0);
}

TEST(XTNode, DeliverySurvivesHandlersThatFreeTheirReference) {
    // Each dependent drops its part (and so its reference) from inside its handler, as a reference
    // point turning into a plain point does; the others are still told, in order.
    TNodeDocument Doc;
    std::vector<std::string> Log;
    auto Base = std::make_unique<TTestNode>("Base", &Doc);
    TTestNode D1("D1", &Doc), D2("D2", &Doc), D3("D3", &Doc);
    for (TTestNode* D : {&D1, &D2, &D3}) {
        TXTReference& R = D->RestOn(Base.get());
        R.OnMessage = [D, &Log](TXTMessage&) {
            Log.push_back(D->GetName());
            D->Parts.clear();
        };
    }
    // A surface-like list whose entry removes itself on the delete message.
    TTestNode Surface("Surface", &Doc);
    TXTNodeReferences Curves(&Surface);
    Curves.Add(Base.get());
    Curves.Add(&D1);
    Base.reset();
    EXPECT_EQ(Log, (std::vector<std::string>{"D3", "D2", "D1"}));
    ASSERT_EQ(Curves.Count(), 1);
    EXPECT_EQ(Curves.Items(0), &D1);
    EXPECT_EQ(Surface.Inputs().Count(), 1);
    EXPECT_EQ(D1.Inputs().Count() + D2.Inputs().Count() + D3.Inputs().Count(), 0);
}

TEST(XTNode, ChangeTravelsDepthFirstAndOnceThroughSharedNodes) {
    TNodeDocument Doc;
    std::vector<std::string> Log;
    TTestNode Root("Root", &Doc, &Log), B("B", &Doc, &Log), C("C", &Doc, &Log), Top("Top", &Doc, &Log);
    B.RestOn(&Root);
    C.RestOn(&Root);
    TXTReference& TopOnB = Top.RestOn(&B);
    TXTReference& TopOnC = Top.RestOn(&C);
    int TopTold = 0;
    TopOnB.OnChange = TopOnC.OnChange = [&](TXTNode*) { ++TopTold; };
    Log.clear();
    Top.ChangedCalls = 0;

    Root.Changed();
    // Top is reached through B first and told everything there; through C its reference still hears
    // of the change but Top is not walked again.
    EXPECT_EQ(Log, (std::vector<std::string>{"change Top", "change B", "change C", "change Root"}));
    EXPECT_EQ(TopTold, 2);
    EXPECT_EQ(Top.ChangedCalls, 1);

    // A later change is a new walk.
    Log.clear();
    C.Changed();
    EXPECT_EQ(Log, (std::vector<std::string>{"change Top", "change C"}));

    // A node with no dependents runs only its own hook.
    Log.clear();
    Top.Changed();
    EXPECT_EQ(Log, (std::vector<std::string>{"change Top"}));
}

TEST(XTNode, RegenerateBringsStaleInputsUpToDateFirst) {
    TNodeDocument Doc;
    std::vector<std::string> Log;
    TTestNode A("A", &Doc, &Log), B("B", &Doc, &Log), C("C", &Doc, &Log), Top("Top", &Doc, &Log);
    B.RestOn(&A);
    Top.RestOn(&B);
    Top.RestOn(&C);
    A.Changed();
    C.Stale = false;  // up to date: left alone
    Log.clear();
    Top.Regenerate();
    EXPECT_EQ(Log, (std::vector<std::string>{"regenerate A", "regenerate B", "regenerate Top"}));

    // A reference that cannot be validated stops the rebuild before any input is touched.
    A.Changed();
    Top.FailValidation = true;
    Log.clear();
    EXPECT_THROW(Top.Regenerate(), EError);
    EXPECT_TRUE(Log.empty());
    EXPECT_TRUE(A.Stale);
}

TEST(XTNode, InfoMessagesGoThroughTheManager) {
    TNodeDocument Doc;
    TTestNode A("A", &Doc), Loose("Loose", nullptr);
    TInfoMessage M;
    M.Text = "Dangling edge";
    A.ReportInfo(M);
    ASSERT_EQ(Doc.Messages.size(), 1u);
    EXPECT_EQ(Doc.Messages[0].Sender, &A);
    A.ClearInfoMessages();
    A.ClearInfoMessages(&Loose);
    EXPECT_EQ(Doc.Cleared, (std::vector<const void*>{&A, &Loose}));

    try {
        Loose.ReportInfo(M);
        FAIL() << "no manager: the message is raised";
    } catch (const EError& E) {
        EXPECT_STREQ(E.what(), "Dangling edge");
    }
    Loose.ClearInfoMessages();  // nothing, no crash
}

TEST(XTNodeReferences, HoldsResolvesAndDropsCurves) {
    TNodeDocument Doc;
    TTestNode Surface("Surface", &Doc), C1("C1", &Doc), C2("C2", &Doc), Above("Above", &Doc);
    Above.RestOn(&Surface);
    TXTNodeReferences Curves(&Surface);
    EXPECT_TRUE(Curves.CanAdd(&C1));
    EXPECT_FALSE(Curves.CanAdd(&Above));    // rests on the surface
    EXPECT_FALSE(Curves.CanAdd(&Surface));  // itself

    Surface.ChangedCalls = 0;
    Curves.Add(&C1);
    EXPECT_FALSE(Curves.CanAdd(&C1));  // already an input
    Curves.AddByName("C3");            // read before C3 exists
    Curves.AddByName("C2");
    EXPECT_GT(Surface.ChangedCalls, 0);
    ASSERT_EQ(Curves.Count(), 3);
    EXPECT_EQ(Curves.Items(1), nullptr);
    EXPECT_EQ(Curves.IndexOf(&C2), 2);

    TXTNodeReferences Copy(&Above);
    Copy.AssignNames(Curves);
    ASSERT_EQ(Copy.Count(), 3);
    EXPECT_EQ(Copy.Reference(1).GetName(), "C3");

    Curves.RemoveUnresolved();
    ASSERT_EQ(Curves.Count(), 2);
    Curves.Remove(&C1);
    ASSERT_EQ(Curves.Count(), 1);
    EXPECT_EQ(Curves.Items(0), &C2);
    EXPECT_FALSE(Surface.HasInput(&C1));
    EXPECT_EQ(C1.Dependents().Count(), 1);  // Copy's reference

    Curves.Clear();
    EXPECT_EQ(Surface.Inputs().Count(), 0);
    EXPECT_EQ(C2.Dependents().Count(), 1);  // Copy's reference
    EXPECT_THROW(Curves.Items(0), EError);
}

TEST(XTNode, AHandlerThatRaisesEndsDeliveryAndLeavesTheGraphSound) {
    TNodeDocument Doc;
    TTestNode Base("Base", &Doc), D1("D1", &Doc), D2("D2", &Doc);
    TXTReference& R1 = D1.RestOn(&Base);
    TXTReference& R2 = D2.RestOn(&Base);
    int Told1 = 0;
    R1.OnMessage = [&](TXTMessage&) { ++Told1; };
    R2.OnMessage = [&](TXTMessage&) {
        D2.Parts.clear();  // lets go of its reference, then fails
        throw EError("handler failed");
    };
    TXTReversePointsMessage M;
    EXPECT_THROW(Base.SendMessage(M), EError);
    EXPECT_EQ(Told1, 0);  // delivery ended at the failing receiver
    ASSERT_EQ(Base.Dependents().Count(), 1);
    EXPECT_EQ(Base.Dependents().Items(0), &R1);

    R1.OnMessage = [&](TXTMessage&) { throw EError("again"); };
    EXPECT_THROW(Base.SendMessage(M), EError);
    D1.Parts.clear();  // freeing the reference after its handler raised touches nothing stale
    EXPECT_EQ(Base.Dependents().Count(), 0);
}
