#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "foundation/Errors.h"
#include "foundation/TextFile.h"
#include "hulls/TarvoCurve.h"

using namespace sarnova;

namespace {

std::unique_ptr<TTarvoCurve> MakeCurve(const std::vector<TMVector>& Points, const std::string& Name = "C") {
    auto C = std::make_unique<TTarvoCurve>();
    C->Name = Name;
    for (const TMVector& P : Points) C->AddPointVector(P);
    return C;
}

// n points along a gentle arc, so that constraints visibly move them.
std::unique_ptr<TTarvoCurve> ArcCurve(int n) {
    std::vector<TMVector> P;
    for (int i = 0; i < n; ++i) P.push_back({double(i), 0.1 * i * i, 0.05 * i});
    return MakeCurve(P);
}

std::vector<std::pair<int, int>> Ranges(const TTarvoCurve& C) {
    std::vector<std::pair<int, int>> R;
    for (int i = 0; i < C.Constraints().Count(); ++i)
        if (auto* P = dynamic_cast<const TRangeConstraint*>(C.Constraints().Items(i)))
            R.emplace_back(P->FirstIndex(), P->LastIndex());
    return R;
}

void ExpectNear(const TMVector& A, const TMVector& B, double Tol = 1e-9) {
    EXPECT_NEAR(A.X, B.X, Tol);
    EXPECT_NEAR(A.Y, B.Y, Tol);
    EXPECT_NEAR(A.Z, B.Z, Tol);
}

std::string Saved(TTarvoCurve& C) {
    TTextWriter W;
    C.SaveToText(W);
    return W.Text();
}

}  // namespace

TEST(StraightConstraint, SpacesTheInteriorEvenlyOnTheChord) {
    auto C = MakeCurve({{9, 9, 9}, {8, 1, 0}, {0, 0, 0}, {5, 5, 5}, {1, 7, 2}, {3, 3, 3}, {4, 0, 0}, {7, 7, 7}});
    ASSERT_EQ(TStraightConstraint::Add(*C, 2, 6), tarvo::csAbsent);
    C->Update();
    for (int i : {3, 4, 5}) ExpectNear(C->Point(i)->Vector(), {double(i - 2), 0, 0});
    ExpectNear(C->Point(1)->Vector(), {8, 1, 0});
    EXPECT_EQ(C->Constraints().Items(0)->GetDescription(), "Straight : Points[2 -> 6]");
    EXPECT_FALSE(C->AcceptsIndex(3));
    EXPECT_TRUE(C->AcceptsIndex(2));
    EXPECT_TRUE(C->AcceptsIndex(6));
    // The digitised curve of the last evaluation runs through the straight part.
    ASSERT_GT(C->Polyline().Count(), 10);
    EXPECT_NEAR(C->Polyline().Extents().Min.Y, 0.0, 1e-9);
}

TEST(RangeConstraints, StateFollowsRangeRulesAndNeighbours) {
    auto C = ArcCurve(12);
    TStraightConstraint::Add(*C, 0, 3);
    TKnuckleConstraint::Add(*C, 8, 10);
    struct Case {
        const char* Kind;
        int First, Last;
        TConstraintState Expected;
    };
    const Case cases[] = {
        {"knuckle", 4, 6, tarvo::csAbsent},   {"knuckle", 4, 7, tarvo::csBlocked}, {"knuckle", 4, 5, tarvo::csBlocked},
        {"straight", 4, 6, tarvo::csAbsent},  {"straight", 4, 5, tarvo::csBlocked}, {"blend", 3, 6, tarvo::csAbsent},
        {"blend", 3, 5, tarvo::csBlocked},    {"blend", 3, 8, tarvo::csAbsent},    // shares ends with both neighbours
        {"blend", 2, 6, tarvo::csBlocked},    {"straight", 0, 3, tarvo::csPresent}, {"blend", 0, 3, tarvo::csBlocked},
        {"knuckle", 8, 10, tarvo::csPresent}, {"straight", 9, 11, tarvo::csBlocked}, {"straight", 10, 12, tarvo::csBlocked},
        {"straight", -1, 1, tarvo::csBlocked}};
    for (const Case& c : cases) {
        const std::string K = c.Kind;
        const TConstraintState S = K == "knuckle"    ? TKnuckleConstraint::State(*C, c.First, c.Last)
                                   : K == "straight" ? TStraightConstraint::State(*C, c.First, c.Last)
                                                     : TBlendConstraint::State(*C, c.First, c.Last);
        EXPECT_EQ(S, c.Expected) << c.Kind << " " << c.First << ".." << c.Last;
    }
    EXPECT_EQ(TStraightConstraint::Add(*C, 4, 5), tarvo::csBlocked);
    EXPECT_EQ(C->Constraints().Count(), 2);
}

TEST(RangeConstraints, SelectionDecidesTheRange) {
    auto C = ArcCurve(8);
    for (int i : {2, 3, 4}) C->Point(i)->Marked = true;
    EXPECT_EQ(TKnuckleConstraint::AddForSelection(*C), tarvo::csAbsent);
    EXPECT_EQ(TKnuckleConstraint::StateForSelection(*C), tarvo::csPresent);
    C->Point(6)->Marked = true;  // no longer one run
    EXPECT_EQ(TKnuckleConstraint::StateForSelection(*C), tarvo::csBlocked);
    C->Point(6)->Marked = false;
    TKnuckleConstraint::RemoveForSelection(*C);
    EXPECT_EQ(C->Constraints().Count(), 0);
}

TEST(RangeConstraints, ApplyInPriorityOrderAndBlendLeavesAlongAStraight) {
    auto C = ArcCurve(10);
    TBlendConstraint::Add(*C, 3, 8);
    TStraightConstraint::Add(*C, 0, 3);
    EXPECT_EQ(Ranges(*C), (std::vector<std::pair<int, int>>{{0, 3}, {3, 8}}));
    C->Update();
    const TMVector P0 = C->Point(0)->Vector(), P3 = C->Point(3)->Vector(), P4 = C->Point(4)->Vector();
    // The straight acted first: point 2 lies on the chord, and the blend starts along that line.
    const TMVector Along = VectorNormalise(VectorFromTo(P0, P3));
    const TMVector Leaving = VectorNormalise(VectorFromTo(P3, P4));
    ExpectNear(Along, Leaving, 1e-9);
}

TEST(BlendConstraint, LaysInteriorPointsOnACubicAtTheMeanSpacing) {
    auto C = MakeCurve({{0, 0, 0}, {1, 1, 0}, {2, 5, 0}, {4, 6, 0}, {6, 5, 0}, {8, 0, 0}, {9, -1, 0}});
    TBlendConstraint::Add(*C, 0, 6);
    C->Update();
    std::vector<TMVector> P;
    for (int i = 0; i < 7; ++i) P.push_back(C->Point(i)->Vector());
    const double Start = VectorDistance(P[0], P[1]), End = VectorDistance(P[5], P[6]);
    EXPECT_NEAR(Start, End, 1e-12) << "both ends are the same distance from the fixed points";
    ExpectNear(VectorNormalise(VectorFromTo(P[0], P[1])), VectorNormalise({1, 1, 0}));
    ExpectNear(VectorNormalise(VectorFromTo(P[5], P[6])), VectorNormalise({1, -1, 0}));
    double Interior = 0;
    for (int i = 1; i < 5; ++i) Interior += VectorDistance(P[i], P[i + 1]);
    EXPECT_NEAR(Start, Interior / 4, 0.01);
    ExpectNear(P[0], {0, 0, 0});
    ExpectNear(P[6], {9, -1, 0});
}

TEST(BlendConstraint, AFourPointBlendAtEitherEndOfTheCurveStaysInside) {
    // Neither point 0 nor point 3 has a neighbour outside the range: the chord stands in.
    auto C = MakeCurve({{0, 0, 0}, {1, 3, 0}, {3, 3, 0}, {4, 0, 0}});
    TBlendConstraint::Add(*C, 0, 3);
    C->Update();
    EXPECT_EQ(C->Count(), 4);
    ExpectNear(C->Point(1)->Vector(), {0.39 * 4, 0, 0});
    ExpectNear(C->Point(2)->Vector(), {4 - 0.39 * 4, 0, 0});

    auto D = MakeCurve({{-1, -1, 0}, {0, 0, 0}, {1, 3, 0}, {3, 3, 0}, {4, 0, 0}, {5, 1, 0}});
    TBlendConstraint::Add(*D, 1, 4);
    D->Update();
    const double L = 0.39 * 4;
    ExpectNear(D->Point(2)->Vector(), VectorScale(VectorNormalise({1, 1, 0}), L));
    ExpectNear(D->Point(3)->Vector(), VectorAdd({4, 0, 0}, VectorScale(VectorNormalise({-1, -1, 0}), L)));
}

TEST(KnuckleConstraint, StacksThreePointsOnItsFirst) {
    auto C = ArcCurve(6);
    C->Point(1)->Tag = 7;
    C->Point(2)->Marked = true;
    TKnuckleConstraint::Add(*C, 1, 3);
    C->Update();
    for (int i : {2, 3}) {
        ExpectNear(C->Point(i)->Vector(), C->Point(1)->Vector());
        EXPECT_EQ(C->Point(i)->Tag, 7);
    }
    EXPECT_TRUE(C->Point(2)->Marked) << "the mark is not copied";
}

TEST(RangeConstraints, FollowInsertedAndDeletedPoints) {
    struct Case {
        bool Insert;
        int Index;
        std::vector<std::pair<int, int>> Expected;  // straight 2..5, knuckle 6..8, in priority order
    };
    const Case cases[] = {
        {true, 0, {{7, 9}, {3, 6}}},  {true, 4, {{7, 9}, {2, 6}}},  {true, 6, {{7, 9}, {2, 5}}},
        {true, 9, {{6, 8}, {2, 5}}},  {false, 0, {{5, 7}, {1, 4}}}, {false, 3, {{5, 7}, {2, 4}}},
        {false, 2, {{5, 7}, {2, 4}}}, {false, 7, {{2, 5}}},         {false, 9, {{6, 8}, {2, 5}}},
    };
    for (const Case& c : cases) {
        auto C = ArcCurve(10);
        TStraightConstraint::Add(*C, 2, 5);
        TKnuckleConstraint::Add(*C, 6, 8);
        if (c.Insert)
            C->InsertPointAt(c.Index);
        else
            C->DeletePoint(c.Index);
        EXPECT_EQ(Ranges(*C), c.Expected) << (c.Insert ? "insert " : "delete ") << c.Index;
    }
    // A straight of three points loses one: it goes.
    auto C = ArcCurve(6);
    TStraightConstraint::Add(*C, 1, 3);
    C->DeletePoint(3);
    EXPECT_EQ(C->Constraints().Count(), 0);
}

TEST(RangeConstraints, ReverseWithTheCurve) {
    auto C = ArcCurve(10);
    TStraightConstraint::Add(*C, 2, 5);
    const TMVector First = C->Point(0)->Vector();
    C->Reverse();
    EXPECT_EQ(Ranges(*C), (std::vector<std::pair<int, int>>{{4, 7}}));
    ExpectNear(C->Point(9)->Vector(), First);
}

TEST(TarvoCurveText, RoundTripsTheBlockByteForByte) {
    auto C = ArcCurve(8);
    C->Name = "Stem";
    C->SetSurfaceOperation(soTangent);
    TStraightConstraint::Add(*C, 0, 2);
    TBlendConstraint::Add(*C, 2, 7);
    const std::string Text = Saved(*C);
    EXPECT_EQ(Text.substr(0, Text.find("Order=")),
              "Name=Stem\nSurfaceOperation=Tangent\nNumConstraints=2\nTStraightConstraint\n FirstIndex=0\n"
              " LastIndex=2\nTBlendConstraint\n FirstIndex=2\n LastIndex=7\n");
    TTarvoCurve D;
    TTextReader R(Text);
    D.LoadFromText(R);
    EXPECT_EQ(Saved(D), Text);
    EXPECT_EQ(D.Name, "Stem");
    EXPECT_EQ(D.Constraints().Items(1)->Curve(), &D);
}

TEST(TarvoCurveText, ReadsOlderNamesAndOperations) {
    const std::string Body = "Order=4\nNumPoints=4\n0 0 0\n1 1 0\n2 1 0\n3 0 0\n";
    TTarvoCurve C;
    TTextReader R("Name= Bow \nSurfaceOperation=panelbreak\nNumConstraints=1\ntcurvemodifier\n"
                  " First=0\n Last=3\n" + Body);
    C.LoadFromText(R);
    EXPECT_EQ(C.Name, " Bow ");
    EXPECT_EQ(C.GetSurfaceOperation(), soPanelBreak);
    ASSERT_EQ(C.Constraints().Count(), 1);
    EXPECT_EQ(C.Constraints().Items(0)->GetDescription(), "Blend : Points[0 -> 3]");
    EXPECT_EQ(C.Count(), 4);
}

TEST(TarvoCurveText, BadBlocksLeaveTheCurveAsItWas) {
    const std::string Head = "Name=New\nSurfaceOperation=Control\n";
    const std::string Body = "Order=4\nNumPoints=4\n0 0 0\n1 1 0\n2 1 0\n3 0 0\n";
    struct Case {
        std::string Text;
        std::string Message;  // part of the error's text
    };
    const Case cases[] = {
        {Head + "NumConstraints=2\nTStraightConstraint\n FirstIndex=0\n LastIndex=2\nTWavyConstraint\n" + Body,
         "Unknown constraint class \"TWavyConstraint\" in line 7"},
        {Head + "NumConstraints=x\n" + Body, "not a valid integer"},
        {Head + "NumConstraints=1\nTKnuckleConstraint\n FirstIndex=a\n LastIndex=2\n" + Body, "not a valid integer"},
        {Head + "NumConstraints=1\nTStraightConstraint\n FirstIndex=1\n LastIndex=9\n" + Body,
         "\"Straight : Points[1 -> 9]\" does not fit a curve of 4 points"},
        {Head + "NumConstraints=1\nTKnuckleConstraint\n FirstIndex=0\n LastIndex=3\n" + Body, "does not fit"},
        {Head + "NumConstraints=3\nTBlendConstraint\n FirstIndex=0\n LastIndex=3\n", "ends after 1 of its 3"},
    };
    for (const Case& c : cases) {
        auto C = ArcCurve(5);
        C->Name = "Old";
        TStraightConstraint::Add(*C, 1, 3);
        const std::string Before = Saved(*C);
        TTextReader R(c.Text);
        try {
            C->LoadFromText(R);
            ADD_FAILURE() << "no error for: " << c.Message;
        } catch (const EError& E) {
            EXPECT_NE(std::string(E.what()).find(c.Message), std::string::npos) << E.what();
        }
        EXPECT_EQ(Saved(*C), Before);
    }
}

TEST(TarvoCurve, InsertPointAtExtendsEndLegsAndSplitsInnerOnes) {
    auto C = MakeCurve({{0, 0, 0}, {1, 0, 0}});
    C->InsertPointAt(0);
    ExpectNear(C->Point(0)->Vector(), {-1, 0, 0});
    C->InsertPointAt(3);
    ExpectNear(C->Point(3)->Vector(), {2, 0, 0});
    C->InsertPointAt(2);
    ExpectNear(C->Point(2)->Vector(), {0.5, 0, 0});
    EXPECT_EQ(C->Count(), 5);
    auto One = MakeCurve({{0, 0, 0}});
    EXPECT_THROW(One->InsertPointAt(0), EGeometryError);
    EXPECT_THROW(C->InsertPointAt(7), EError);
    EXPECT_EQ(C->Count(), 5);
}

TEST(TarvoCurve, DependentCurvesFollowTheirParentsPoints) {
    auto Parent = ArcCurve(4);
    auto Child = ArcCurve(4);
    auto Grandchild = ArcCurve(4);
    TNodeReference ChildOnParent(Child.get()), GrandOnChild(Grandchild.get());
    ChildOnParent.SetNode(Parent.get());
    GrandOnChild.SetNode(Child.get());
    TStraightConstraint::Add(*Child, 1, 3);
    Parent->InsertPointAt(1);
    EXPECT_EQ(Child->Count(), 5);
    EXPECT_EQ(Grandchild->Count(), 5);
    EXPECT_EQ(Ranges(*Child), (std::vector<std::pair<int, int>>{{2, 4}}));
    Parent->DeletePoint(0);
    EXPECT_EQ(Child->Count(), 4);
    EXPECT_EQ(Grandchild->Count(), 4);
    EXPECT_EQ(Ranges(*Child), (std::vector<std::pair<int, int>>{{1, 3}}));
    Child->InsertPointAt(0);
    EXPECT_EQ(Parent->Count(), 4) << "messages go downstream only";
}

TEST(TarvoCurve, AssignCopiesConstraintsSplineAndRoleButNotTheName) {
    auto A = ArcCurve(6);
    A->SetSurfaceOperation(soPanelBreak);
    TKnuckleConstraint::Add(*A, 1, 3);
    auto B = ArcCurve(2);
    B->Name = "B";
    B->Assign(*A);
    EXPECT_EQ(B->Name, "B");
    EXPECT_EQ(B->Count(), 6);
    EXPECT_EQ(B->GetSurfaceOperation(), soPanelBreak);
    ASSERT_EQ(B->Constraints().Count(), 1);
    EXPECT_EQ(B->Constraints().Items(0)->Curve(), B.get());
    EXPECT_EQ(B->Constraints().Items(0)->GetDescription(), "Knuckle : Points[1 -> 3]");
}

TEST(TarvoCurves, SortForLoftRunsCurvesUpwardsAndOrdersThem) {
    TTarvoCurvesContainer L;
    TTarvoCurve* Aft = L.Add(MakeCurve({{1, 0, 0}, {1, 2, 3}}, "Aft"));
    TTarvoCurve* Fwd = L.Add(MakeCurve({{9, 2, 3}, {9, 0, 0}}, "Fwd"));  // drawn downwards
    TTarvoCurve* Mid = L.Add(MakeCurve({{5, 0, 0}, {5, 2, 3}}, "Mid"));
    // The same X at both ends as Mid; told apart by the last points' Y against half the X extent.
    TTarvoCurve* MidLow = L.Add(MakeCurve({{5, 0, 0}, {5, 1, 3}}, "MidLow"));
    L.SortForLoft();
    ASSERT_EQ(L.Count(), 4);
    EXPECT_EQ(L.Items(0), Fwd);
    EXPECT_EQ(L.Items(3), Aft);
    // h = (9 - 1) / 2 = 4; A = Mid, B = MidLow: Sign(1 - 2) = -1, Sign(5 - 4) = 1, so Mid goes after.
    EXPECT_EQ(L.Items(1), MidLow);
    EXPECT_EQ(L.Items(2), Mid);
    EXPECT_LT(Fwd->First()->Z, Fwd->Last()->Z);
}

namespace {

// A node that lofts through reference curves, as a surface does.
class TLoft : public TNode {
public:
    TTarvoReferenceCurves Curves{this};
    void HandleMessage(TNodeMessage& Message) override {
        Curves.HandleMessage(Message);
        TNode::HandleMessage(Message);
    }

protected:
    void Evaluate() override {}
};

}  // namespace

TEST(TarvoReferenceCurves, RefuseCyclesAndDuplicatesAndDropDeletedCurves) {
    TLoft Loft;
    Loft.Name = "Loft";
    auto A = ArcCurve(4);
    auto B = ArcCurve(4);
    auto Downstream = ArcCurve(4);
    TNodeReference DownOnLoft(Downstream.get());
    DownOnLoft.SetNode(&Loft);

    EXPECT_TRUE(Loft.Curves.CanAdd(A.get()));
    Loft.Curves.Add(A.get());
    Loft.Curves.Add(B.get());
    EXPECT_FALSE(Loft.Curves.CanAdd(A.get())) << "already referenced";
    EXPECT_FALSE(Loft.Curves.CanAdd(&Loft));
    EXPECT_FALSE(Loft.Curves.CanAdd(Downstream.get())) << "depends on the loft";
    EXPECT_TRUE(Loft.Curves.Contains(B.get()));

    Loft.Update();
    A.reset();
    EXPECT_EQ(Loft.Curves.Count(), 1);
    EXPECT_EQ(Loft.Curves.Curve(0), B.get());
    EXPECT_FALSE(Loft.IsValid());
    EXPECT_EQ(Loft.Parents().Count(), 1);

    Loft.Curves.Remove(B.get());
    EXPECT_EQ(Loft.Curves.Count(), 0);
    EXPECT_EQ(B->Dependents().Count(), 0);
}

TEST(TarvoCurvesContainer, FreesItsCurves) {
    TLoft Loft;
    {
        TTarvoCurvesContainer L;
        Loft.Curves.Add(L.Add(ArcCurve(4)));
        L.Add(ArcCurve(5));
        L.Clear();
        EXPECT_EQ(L.Count(), 0);
    }
    EXPECT_EQ(Loft.Curves.Count(), 0);
}

TEST(TarvoCurve, KeepsWithinTheKnotLimitAndStaysConsistentWhenADependentCannotFollow) {
    auto Full = ArcCurve(MaxKnots - 4);
    EXPECT_THROW(Full->AddPointVector({0, 0, 0}), EGeometryError);
    EXPECT_EQ(Full->Count(), MaxKnots - 4);

    auto Parent = ArcCurve(4);
    TNodeReference FullOnParent(Full.get());
    FullOnParent.SetNode(Parent.get());
    Parent->Update();
    EXPECT_THROW(Parent->InsertPointAt(1), EGeometryError);
    EXPECT_EQ(Parent->Count(), 5);
    EXPECT_FALSE(Parent->IsValid()) << "the point went in, so the curve must be rebuilt";
    EXPECT_EQ(Full->Count(), MaxKnots - 4);
}
