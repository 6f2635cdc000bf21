// Group entities: closed groups owning copies of their members, open groups naming entities of the
// document, their blocks (and the old "TGroup" form), the macro blocks and commands, and the menus.
#include "naval/GGroup.h"

#include <gtest/gtest.h>

#include "document/GPline.h"
#include "document/GeoFace.h"
#include "document/GeometryReference.h"
#include "startup/RegisterClasses.h"
#include "entities/EntityFixtures.h"
#include "foundation/Console.h"
#include "foundation/TextFile.h"
#include "platform/Menu.h"

namespace sarnova::test {
namespace {

class GroupTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterGeometryClasses();
        GConsole->OnLine = [this](const std::string& Line) { Console.push_back(Line); };
    }
    void TearDown() override { GConsole->OnLine = nullptr; }

    TGeoPline* AddLine(const std::string& Name, double X) {
        auto P = std::make_unique<TGeoPline>();
        P->Polyline().AddPoint(X, 0, 0);
        P->Polyline().AddPoint(X + 1, 1, 0);
        P->SetName(Name);
        return static_cast<TGeoPline*>(Doc.Add(std::move(P)));
    }
    // The names of the group's members, in member order.
    static std::vector<std::string> MemberNames(TGeoGroup& G) {
        std::vector<std::string> Names;
        for (int I = 0; I < G.GetMemberCount(); ++I) Names.push_back(G.GetMember(I) ? G.GetMember(I)->GetName() : "?");
        return Names;
    }
    std::vector<std::string> DocumentNames() const {
        std::vector<std::string> Names;
        for (int I = 0; I < Doc.Count(); ++I) Names.push_back(Doc.Items(I).GetName());
        return Names;
    }
    template <class T>
    T* OnlyGroup() {
        auto Groups = EntitiesOf<T>(Doc);
        return Groups.size() == 1 ? Groups.front() : nullptr;
    }

    TGeometryInterface Doc;
    std::vector<std::string> Console;
};

using TNames = std::vector<std::string>;

TEST_F(GroupTest, ClosedGroupTakesCopiesInReverseAndClonesReverseAgain) {
    for (const char* Name : {"A", "B", "C"}) AddLine(Name, 0)->SetSelected(true);
    AddLine("D", 5);
    TGeoClosedGroup::CreateClosedGroup(Doc);
    auto* G = OnlyGroup<TGeoClosedGroup>();
    ASSERT_NE(G, nullptr);
    EXPECT_EQ(G->GetName(), "Group1");
    EXPECT_EQ(MemberNames(*G), (TNames{"C", "B", "A"}));
    EXPECT_EQ(DocumentNames(), (TNames{"D", "Group1"}));
    EXPECT_EQ(G->GetExtents().Max.X, 1);

    std::unique_ptr<TGeometry> Clone = G->Clone();
    ASSERT_NE(Clone, nullptr);
    auto& Copy = static_cast<TGeoClosedGroup&>(*Clone);
    EXPECT_EQ(MemberNames(Copy), (TNames{"A", "B", "C"}));
    EXPECT_EQ(MemberNames(static_cast<TGeoGroup&>(*Copy.Clone())), (TNames{"C", "B", "A"}));

    // Explode: unselected copies in member order, and the group is gone.
    G->Explode();
    EXPECT_EQ(DocumentNames(), (TNames{"D", "C", "B", "A"}));
    for (int I = 0; I < Doc.Count(); ++I) EXPECT_FALSE(Doc.Items(I).GetSelected());
}

TEST_F(GroupTest, AddSelectedTakesWhatCanBeCopiedAndNeverAGroup) {
    AddLine("A", 0);
    TGeoClosedGroup::CreateClosedGroup(*static_cast<TGeometryList*>(&Doc));  // nothing selected
    EXPECT_EQ(OnlyGroup<TGeoClosedGroup>(), nullptr) << "an empty group leaves at once";

    Doc.Items(0).SetSelected(true);
    TGeoClosedGroup::CreateClosedGroup(Doc);
    auto* G = OnlyGroup<TGeoClosedGroup>();
    ASSERT_NE(G, nullptr);
    TGeoPline* B = AddLine("B", 1);
    TGeoPline* C = AddLine("C", 2);
    TGeoPline* Fixed = AddLine("Fixed", 3);
    Fixed->SetCapabilities(Fixed->GetCapabilities() & ~cpUndoable);
    for (TGeometry* E : std::initializer_list<TGeometry*>{B, C, Fixed, G}) E->SetSelected(true);
    G->AddSelected();
    EXPECT_EQ(MemberNames(*G), (TNames{"A", "B", "C"}));
    // The entity that cannot be copied stays in the document, and the console says why.
    EXPECT_EQ(DocumentNames(), (TNames{"Group1", "Fixed"}));
    EXPECT_EQ(Console.back(), "Warning: Polyline Fixed cannot be copied into group Group1 and stays in the document");

    // Removing the last member removes the group at the next list change.
    G->RemoveMember(G->FindMember("a"));
    G->RemoveMember(G->FindMember("B"));
    G->RemoveMember(G->FindMember("C"));
    Doc.SetChanged();
    Doc.NotifyChange();
    EXPECT_EQ(DocumentNames(), (TNames{"Fixed"}));
}

TEST_F(GroupTest, OpenGroupFollowsItsMembers) {
    TGeoPline* A = AddLine("A", 0);
    TGeoPline* B = AddLine("B", 4);
    auto Unnamed = std::make_unique<TGeoPline>();
    Unnamed->Polyline().AddPoint(0, 0, 0);
    Unnamed->Polyline().AddPoint(0, 0, 1);
    TGeometry* U = Doc.Add(std::move(Unnamed));
    for (TGeometry* E : std::initializer_list<TGeometry*>{A, B, U}) E->SetSelected(true);
    TGeoOpenGroup::CreateOpenGroup(Doc);
    auto* G = OnlyGroup<TGeoOpenGroup>();
    ASSERT_NE(G, nullptr);
    EXPECT_EQ(MemberNames(*G), (TNames{"A", "B", "Polyline"}));
    EXPECT_EQ(Doc.Count(), 4);
    EXPECT_EQ(G->GetExtents().Max.X, 5);

    // Selecting the group highlights its members.
    Doc.ClearSelection();
    G->SetSelected(true);
    EXPECT_TRUE(A->GetHighlighted());
    G->SetSelected(false);
    EXPECT_FALSE(A->GetHighlighted());

    // A renamed member is saved under its new name; a deleted one leaves the group.
    A->SetName("A2");
    Doc.DeleteGeometry(B);
    EXPECT_EQ(MemberNames(*G), (TNames{"A2", "Polyline"}));
    Doc.DeleteGeometry(A);
    Doc.DeleteGeometry(U);
    EXPECT_EQ(G->GetMemberCount(), 0);
    // Gone at the next list change.
    AddLine("E", 0);
    EXPECT_EQ(OnlyGroup<TGeoOpenGroup>(), nullptr);
}

TEST_F(GroupTest, MacroBlocksAndCommands) {
    for (const char* Name : {"A", "B", "C", "D"}) AddLine(Name, 0);
    RunMacroText(Doc, "OPENGROUP G1\nA\nKind=Tank\nInitialWater=0.5\nEND\n"
                      "G1.ADD c D nothing\nG1.DELETE A\n"
                      "OPENGROUP ADDER\nB\nEND\nADDER.NAME=Renamed\n");
    auto* G1 = dynamic_cast<TGeoOpenGroup*>(Doc.FindByName("G1"));
    ASSERT_NE(G1, nullptr);
    EXPECT_EQ(MemberNames(*G1), (TNames{"C", "D"}));
    EXPECT_EQ(G1->Parameters, (TNames{"Kind=Tank", "InitialWater=0.5"}));
    EXPECT_EQ(G1->ParameterValue("initialwater"), "0.5");
    // A name holding the letters ADD is no add command.
    ASSERT_NE(Doc.FindByName("Renamed"), nullptr);
    EXPECT_EQ(MemberNames(static_cast<TGeoGroup&>(*Doc.FindByName("Renamed"))), (TNames{"B"}));
    EXPECT_EQ(std::count(Console.begin(), Console.end(), "Creating Group G1..."), 1);

    RunMacroText(Doc, "CLOSEDGROUP Tanks\nA\nb\nEND\n");
    auto* Tanks = dynamic_cast<TGeoClosedGroup*>(Doc.FindByName("Tanks"));
    ASSERT_NE(Tanks, nullptr);
    EXPECT_EQ(MemberNames(*Tanks), (TNames{"A", "B"}));
    EXPECT_EQ(Doc.FindByName("A"), nullptr);

    // A failed block adds no group and leaves every entity where it was.
    const std::pair<const char*, const char*> Cases[] = {
        {"OPENGROUP G2\nC\nD\n", "Error: test.cmd(2): No END for GROUP G2"},
        {"CLOSEDGROUP G2\nC\nNONE\nEND\n", "Error: test.cmd(3): NONE not found"},
        {"CLOSEDGROUP G2\nC\nD\n", "Error: test.cmd(2): No END for GROUP G2"},
    };
    for (auto [Text, Message] : Cases) {
        EXPECT_EQ(MacroError(Doc, Text), Message) << Text;
        EXPECT_EQ(Doc.FindByName("G2"), nullptr) << Text;
        EXPECT_NE(Doc.FindByName("C"), nullptr) << Text;
        EXPECT_NE(Doc.FindByName("D"), nullptr) << Text;
    }
}

TEST_F(GroupTest, BlocksReadBackAndOldOnesComeInAsTheNewKinds) {
    const std::string Text =
        "[TOpenGroup]\nName=Space\nNumParameters=1\nInitialWater=0.2\nNumObjects=2\nLater\nRail\n\n"
        "[TClosedGroup]\nName=Fittings\nNumParameters=0\n\n"
        "[TPolyline]\nNumPoints=2\n     0.000      0.000      0.000\n     1.000      0.000      0.000\nName=Rail\n\n"
        "[End Group]\n\n"
        "[TPolyline]\nNumPoints=2\n     0.000      0.000      0.000\n     0.000      2.000      0.000\nName=Later\n\n";
    ExpectLoadsAndSavesUnchanged(Text);
    TGeometryInterface Loaded;
    LoadDocumentText(Loaded, Text);
    // Members named before they are read resolve when used.
    auto* Space = dynamic_cast<TGeoOpenGroup*>(Loaded.FindByName("Space"));
    ASSERT_NE(Space, nullptr);
    EXPECT_EQ(Space->GetMember(0), Loaded.FindByName("Later"));
    EXPECT_EQ(Space->GetMember(1), nullptr) << "Rail lives inside the closed group";

    Console.clear();
    TGeometryInterface Old;
    LoadDocumentText(Old, "[TGroup]\nName=O\nOpen\n1\nKind=Tank\n1\nX\n\n"
                          "[TGroup]\nName=C\nClosed\n0\n[TPolyline]\nNumPoints=2\n 0 0 0\n 1 0 0\nName=P\n\n"
                          "[End Group]\n\n");
    EXPECT_EQ(SavedText(Old), "[TOpenGroup]\nName=O\nNumParameters=1\nKind=Tank\nNumObjects=1\nX\n\n"
                              "[TClosedGroup]\nName=C\nNumParameters=0\n\n[TPolyline]\nNumPoints=2\n"
                              "     0.000      0.000      0.000\n     1.000      0.000      0.000\nName=P\n\n"
                              "[End Group]\n\n");
    EXPECT_EQ(Console, (TNames{"Old Format Open Group Loaded", "Old Format Open Group Sucessfully imported",
                               "Old Format Closed Group Loaded", "Old Format Closed Group Sucessfully imported"}));

    // A loader freed before it could hand its group over says so rather than raising.
    Console.clear();
    {
        TGeoOldGroupLoader Loader;
        TTextReader In("Name=O\nOpen\n0\n0\n");
        Loader.LoadFromText(In);
    }
    EXPECT_EQ(Console.back(), "Old style OpenGroup not imported properly");
}

TEST_F(GroupTest, SelectionMenuOffersGroupingOnceOrTheSelectedClosedGroups) {
    TGeoPline* A = AddLine("A", 0);
    TGeoPline* B = AddLine("B", 1);
    A->SetSelected(true);
    TMenuItem One;
    TGeoGroup::AddSelectionMenuItems(One, Doc);
    EXPECT_EQ(One.Count(), 0);

    B->SetSelected(true);
    TMenuItem* Menu = Doc.SelectionPopupMenu();
    ASSERT_NE(Menu, nullptr);
    ASSERT_NE(Menu->Find("Create Open Group"), nullptr);
    Menu->Find("Create Open Group")->Click();
    auto* G = OnlyGroup<TGeoOpenGroup>();
    ASSERT_NE(G, nullptr);
    EXPECT_EQ(MemberNames(*G), (TNames{"A", "B"}));

    RunMacroText(Doc, "CLOSEDGROUP Pumps\nA\nEND\nCLOSEDGROUP Valves\nB\nEND\n");
    Doc.SelectAll();
    TMenuItem Items;
    Items.Add("Copy");
    TGeoGroup::AddSelectionMenuItems(Items, Doc);
    TGeoGroup::AddSelectionMenuItems(Items, Doc);
    TNames Captions;
    for (int I = 0; I < Items.Count(); ++I) Captions.push_back(Items.Items(I).Caption);
    EXPECT_EQ(Captions, (TNames{"Copy", "-", "Explode Pumps", "Edit Pumps", "Explode Valves", "Edit Valves"}));
}

}  // namespace
}  // namespace sarnova::test
