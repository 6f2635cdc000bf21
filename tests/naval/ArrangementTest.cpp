#include "naval/Arrangement.h"

#include <gtest/gtest.h>

#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "foundation/Console.h"
#include "naval/Compartments.h"

using namespace sarnova;
using arrangement::TCompartment;

namespace {

class Arrangement : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterGeometryClasses();
        GConsole->OnLine = [this](const std::string& L) { Lines.push_back(L); };
    }
    void TearDown() override { GConsole->OnLine = nullptr; }
    TGeoPList* Add(std::unique_ptr<TGeoPList> L) { return static_cast<TGeoPList*>(Doc.Add(std::move(L))); }
    void AddTanks() { sarnova::AddTanks(Doc, Hull, Tank, Sump); }

    TGeometryInterface Doc;
    std::vector<std::string> Lines;
    TGeoPList* Hull = nullptr;
    TGeoPList* Tank = nullptr;
    TGeoPList* Sump = nullptr;
    TArrangement A;
};

struct TRecordingTree : ICompartmentTree {
    std::vector<std::string> Nodes;  // "<parent>><name>"
    void Clear() override { Nodes.push_back("clear"); }
    TNode AddNode(TNode Parent, const std::string& Text, TGeometry* Entity) override {
        Nodes.push_back((Parent ? *static_cast<std::string*>(Parent) : std::string()) + ">" + Text);
        Names.push_back(std::make_unique<std::string>(Text));
        EXPECT_EQ(Entity->GetName(), Text);
        return Names.back().get();
    }
    std::vector<std::unique_ptr<std::string>> Names;
};

}  // namespace

TEST_F(Arrangement, SpacesNestInTheInnermostCompartmentAndAddUpTheirPermeabilities) {
    AddTanks();
    A.Build(Doc);
    ASSERT_NE(A.GetRoot(), nullptr);
    const std::tuple<TGeoPList*, double, TColor> Expected[] = {
        {Hull, 0, 0x000000}, {Tank, -0.85, 0xFF0000}, {Sump, -0.95, 0x0000FF}};
    for (auto [Entity, Effective, Colour] : Expected) {
        TCompartment* C = A.Find(Entity);
        ASSERT_NE(C, nullptr) << Entity->GetName();
        EXPECT_NEAR(C->EffectivePermeability(), Effective, 1e-12) << Entity->GetName();
        EXPECT_EQ(PermeabilityColor(C->EffectivePermeability()), Colour) << Entity->GetName();
    }
    EXPECT_EQ(A.Find(Sump)->GetParent(), A.Find(Tank));
    TRecordingTree Tree;
    A.FillTree(Tree);
    EXPECT_EQ(Tree.Nodes, (std::vector<std::string>{"clear", ">HULL", "HULL>TANK1", "TANK1>SUMP"}));

    A.Find(Tank)->SetPermeabilityKeepingChildren(-0.6);
    EXPECT_NEAR(Tank->GetPermeability(), -0.6, 1e-12);
    EXPECT_NEAR(Sump->GetPermeability(), -0.35, 1e-12);
    EXPECT_NEAR(A.Find(Sump)->EffectivePermeability(), -0.95, 1e-12);
}

// A compartment whose centre lies in a neighbour's box but which reaches beyond it (shaped
// compartments that only touch) is the hull's, not nested into the neighbour.
TEST_F(Arrangement, ANeighbourThatReachesOutIsNotNested) {
    AddTanks();
    TGeoPList* Wing = Add(BoxList("WING", -0.9, 5, 6.6, -1, 1.5, 0, 1));
    A.Build(Doc);
    ASSERT_NE(A.Find(Wing), nullptr);
    EXPECT_EQ(A.Find(Wing)->GetParent(), A.Find(Hull));
    EXPECT_NEAR(A.Find(Wing)->EffectivePermeability(), -0.9, 1e-12);
    EXPECT_EQ(A.Find(Sump)->GetParent(), A.Find(Tank));
}

TEST_F(Arrangement, ColoursOfTheEffectivePermeability) {
    const std::pair<double, TColor> Cases[] = {{-0.85, 0xFF0000}, {-0.95, 0x0000FF}, {-0.6, 0x00FFFF},
                                               {-0.9, 0xC0C0C0}, {-1.2, 0xC0C0C0},  {0.0, 0x000000},
                                               {-0.5, 0xFF00FF}, {0.3, 0xFF00FF}};
    for (auto [E, Colour] : Cases) EXPECT_EQ(PermeabilityColor(E), Colour) << E;
}

TEST_F(Arrangement, NoArrangementWithoutAPermeableHullFirst) {
    AddTanks();
    Hull->SetPermeability(0);
    A.Build(Doc);
    EXPECT_EQ(A.GetRoot(), nullptr);
    EXPECT_EQ(A.Find(Tank), nullptr);
    ASSERT_FALSE(Lines.empty());
    EXPECT_EQ(Lines.back(),
              "WARNING: Hull Object \"HULL\" has zero or negative permeability, cannot create valid arrangement");
    EXPECT_EQ(A.GetProblem(), "No arrangement: \"TANK1\" comes before the hull; the hull must be the first "
                              "permeable polyline list, with \"HULL\" in its name");

    // A tank listed before the hull is the first candidate.
    Doc.Clear();
    Add(BoxList("TANK0", -0.5, 1, 2, -1, 1, 0, 1));
    Add(BoxList("HULL", 1.0, 0, 10, -2, 2, 0, 3));
    A.Build(Doc);
    EXPECT_EQ(A.GetRoot(), nullptr);
    TRecordingTree Tree;
    A.FillTree(Tree);
    EXPECT_EQ(Tree.Nodes, std::vector<std::string>{"clear"});
    // Both say what the arrangement needs.
    const std::string Before = "No arrangement: \"TANK0\" comes before the hull; the hull must be the first "
                               "permeable polyline list, with \"HULL\" in its name";
    EXPECT_EQ(A.GetProblem(), Before);
    Doc.Clear();
    A.Build(Doc);
    EXPECT_EQ(A.GetProblem(), "No arrangement: the document has no permeable polyline list with \"HULL\" in its name");
    AddTanks();
    A.Build(Doc);
    EXPECT_EQ(A.GetProblem(), "");
}

TEST_F(Arrangement, ASpaceOutsideTheHullIsLeftOut) {
    AddTanks();
    TGeoPList* Outside = Add(BoxList("DECKHOUSE", -0.5, 4, 6, -1, 1, 3.5, 5));
    A.Build(Doc);
    EXPECT_EQ(A.Find(Outside), nullptr);
    EXPECT_EQ(A.All().size(), 3u);
}

TEST_F(Arrangement, ViewLayoutPutsCutsInRows) {
    Hull = Add(BoxList("HULL", 1.0, 0, 30, -2, 2, 0, 3));
    A.Build(Doc);
    auto Views = A.ViewPolylines("(X=10 X=20) PROF");
    ASSERT_EQ(Views->Count(), 3);
    const TMBox S1 = Views->Items(0)->Extents(), S2 = Views->Items(1)->Extents(), Profile = Views->Items(2)->Extents();
    // The sections stand side by side on one line, the profile above them, left-aligned.
    EXPECT_LT(S1.Max.X, S2.Min.X);
    EXPECT_NEAR(S1.Min.Y, S2.Min.Y, 1e-6);
    EXPECT_GT(Profile.Min.Y, std::max(S1.Max.Y, S2.Max.Y));
    EXPECT_NEAR(Profile.Min.X, S1.Min.X, 1e-6);
    EXPECT_NEAR(Profile.Max.X - Profile.Min.X, 30, 1e-6);
    // The group spans the widest row: both sections and the gap between them.
    EXPECT_NEAR(S2.Max.X - S1.Min.X, 30, 1e-6);
    for (int I = 0; I < 3; ++I) {
        EXPECT_TRUE(Views->Items(I)->Filled);
        EXPECT_EQ(Views->Items(I)->FillColor, 0x000000);
        EXPECT_EQ(Views->Items(I)->LineColor, 0xFFFFFF);
    }
    EXPECT_EQ(A.ViewPolylines("NOTHING (X=5 FOO")->Count(), 1);
    EXPECT_THROW(A.ViewPolylines("Z=nosuchname"), std::exception);
    // An arrangement that was never built lays out nothing and evaluates nothing.
    EXPECT_EQ(TArrangement().ViewPolylines("Z=nosuchname PROF")->Count(), 0);
}
