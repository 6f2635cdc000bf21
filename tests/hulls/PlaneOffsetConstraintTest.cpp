#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "foundation/Errors.h"
#include "foundation/TextFile.h"
#include "hulls/TarvoCurve.h"

using namespace sarnova;

namespace {

constexpr double Pi = std::numbers::pi;

// The curves of a small document, found by name and listed in order.
class TCurveManager : public INodeManager {
public:
    std::vector<std::unique_ptr<TTarvoCurve>> Curves;

    TTarvoCurve& Make(const std::string& Name, const std::vector<TMVector>& Points) {
        auto C = std::make_unique<TTarvoCurve>();
        C->Name = Name;
        C->SetManager(this);
        for (const TMVector& P : Points) C->AddPointVector(P);
        Curves.push_back(std::move(C));
        return *Curves.back();
    }
    TNode* FindNode(const std::string& Name) override {
        for (auto& C : Curves)
            if (C->Name == Name) return C.get();
        return nullptr;
    }
    std::unique_ptr<TNodes> Nodes() override {
        auto List = std::make_unique<TNodes>();
        for (auto& C : Curves) List->Add(C.get());
        return List;
    }
};

const std::vector<TMVector> Wavy = {{2, 0, 0}, {2.5, 1, 0.5}, {1, 2, 2}, {3, 2.5, 3}, {2, 3, 4}};

void ExpectNear(const TMVector& A, const TMVector& B, double Tol = 1e-9) {
    EXPECT_NEAR(A.X, B.X, Tol);
    EXPECT_NEAR(A.Y, B.Y, Tol);
    EXPECT_NEAR(A.Z, B.Z, Tol);
}

std::vector<TMVector> PointsOf(const TTarvoCurve& C) {
    std::vector<TMVector> V;
    for (int i = 0; i < C.Count(); ++i) V.push_back(C.Point(i)->Vector());
    return V;
}

TPlaneConstraint& AddPlane(TTarvoCurve& C) {
    TPlaneConstraint::Add(C);
    return *C.Constraints().PlaneConstraint();
}

TOffsetConstraint& AddOffset(TTarvoCurve& C, const std::string& Reference, TOffsetAxis Axis) {
    TOffsetConstraint::Add(C);
    TOffsetConstraint& O = *C.Constraints().OffsetConstraint();
    O.ReferenceCurve().SetName(Reference);
    O.SetAxis(Axis);
    return O;
}

double OffPlane(const TMPlane& P, const TMVector& V) { return std::fabs(VectorDot(P.Normal, V) - P.Distance); }

}  // namespace

TEST(PlaneConstraint, AxisPlaneHoldsEveryPointAndSetValueMovesThemAll) {
    TCurveManager M;
    TTarvoCurve& C = M.Make("C", Wavy);
    TPlaneConstraint& P = AddPlane(C);
    EXPECT_EQ(P.GetDescription(), "Plane <undefined>");
    P.SetKind(pkX);
    C.Update();
    for (const TMVector& V : PointsOf(C)) EXPECT_DOUBLE_EQ(V.X, 2);
    EXPECT_EQ(P.GetDescription(), "Plane [X=2.00]");
    EXPECT_EQ(P.KindName(), "X");
    P.SetValue(3);
    C.Update();
    for (const TMVector& V : PointsOf(C)) EXPECT_DOUBLE_EQ(V.X, 3);
    // The user drags the first point away: typing the old value brings the curve back.
    C.Point(0)->X = 5;
    C.Invalidate(false);
    P.SetValue(3);
    C.Update();
    for (const TMVector& V : PointsOf(C)) EXPECT_DOUBLE_EQ(V.X, 3);
}

TEST(PlaneConstraint, SetKindTurnsTheCurveIntoTheNewPlaneOrDoesNothing) {
    // Pairs that the kind switch knows; every other pair leaves kind and points alone.
    const std::vector<std::pair<TPlaneKind, TPlaneKind>> Known = {
        {pkX, pkY},     {pkX, pkZ},    {pkX, pkPitch}, {pkX, pkYaw},   {pkY, pkX},    {pkY, pkZ},   {pkY, pkRoll},
        {pkY, pkYaw},   {pkZ, pkX},    {pkZ, pkY},     {pkZ, pkRoll},  {pkZ, pkPitch}, {pkRoll, pkY}, {pkRoll, pkZ},
        {pkPitch, pkX}, {pkPitch, pkZ}, {pkYaw, pkX},  {pkYaw, pkY}};
    // A planar curve of each starting kind: the axis kinds straight from pkNone, the angle kinds from
    // the axis plane they share at angle 0, then turned by 0.3.
    const auto Start = [](TCurveManager& M, TPlaneKind K) -> TTarvoCurve& {
        TTarvoCurve& C = M.Make("C", Wavy);
        TPlaneConstraint& P = AddPlane(C);
        const TPlaneKind Axis = K == pkRoll ? pkZ : K == pkPitch ? pkX : K == pkYaw ? pkY : K;
        P.SetKind(Axis);
        C.Update();
        if (K != Axis) {
            P.SetKind(K);
            P.SetValue(0.3);
            C.Update();
        }
        return C;
    };
    for (int From = pkX; From <= pkYaw; ++From)
        for (int To = pkX; To <= pkYaw; ++To) {
            if (From == To) continue;
            TCurveManager M;
            TTarvoCurve& C = Start(M, TPlaneKind(From));
            TPlaneConstraint& P = *C.Constraints().PlaneConstraint();
            ASSERT_EQ(P.Kind(), From);
            const std::vector<TMVector> Before = PointsOf(C);
            P.SetKind(TPlaneKind(To));
            const bool Switches =
                std::find(Known.begin(), Known.end(), std::make_pair(TPlaneKind(From), TPlaneKind(To))) != Known.end();
            EXPECT_EQ(P.Kind(), Switches ? To : From) << From << " -> " << To;
            ExpectNear(C.Point(0)->Vector(), Before[0]);
            const TMPlane Plane = P.Plane();
            for (const TMVector& V : PointsOf(C)) EXPECT_LT(OffPlane(Plane, V), 1e-9) << From << " -> " << To;
            if (!Switches)
                for (int i = 0; i < C.Count(); ++i) ExpectNear(C.Point(i)->Vector(), Before[i]);
        }
}

TEST(PlaneConstraint, TurnsRightHandedAboutTheFirstPoint) {
    TCurveManager M;
    TTarvoCurve& C = M.Make("C", {{2, 5, 7}, {2, 6, 7}, {2, 6, 8}, {2, 7, 9}});
    TPlaneConstraint& P = AddPlane(C);
    P.SetKind(pkX);
    P.SetKind(pkY);  // a quarter turn about Z: x towards y
    ExpectNear(C.Point(1)->Vector(), {1, 5, 7});
    ExpectNear(C.Point(2)->Vector(), {1, 5, 8});
    P.SetKind(pkRoll);  // the Y plane again, now as a roll of a quarter turn
    EXPECT_DOUBLE_EQ(P.Parameter(), Pi / 2);
    P.SetValue(Pi);  // a further quarter turn about X: y towards z
    ExpectNear(C.Point(1)->Vector(), {1, 5, 7});
    ExpectNear(C.Point(2)->Vector(), {1, 4, 7});
    ExpectNear(C.Point(3)->Vector(), {0, 3, 7});
    EXPECT_EQ(P.GetDescription(), "Plane [Roll Angle=180.00]");
}

TEST(PlaneConstraint, AllowedKindsFollowTheKindAndTheOffsetAxis) {
    const auto Text = [](TPlaneKinds S) {
        std::string T;
        for (int K = 1; K <= 6; ++K)
            if (S.test(K)) T += "-XYZRPW"[K];
        return T;
    };
    struct Case {
        TOffsetAxis Axis;  // oaNone: no offset on the curve
        TPlaneKind Kind;
        const char* Allowed;
    };
    const Case cases[] = {
        {oaNone, pkNone, "XYZRPW"}, {oaNone, pkX, "XYZPW"}, {oaNone, pkRoll, "YZR"}, {oaNone, pkYaw, "XYW"},
        {oaX, pkNone, "XPW"},       {oaX, pkPitch, "XP"},   {oaX, pkRoll, ""},       {oaY, pkY, "YRW"},
        {oaZ, pkRoll, "ZR"},        {oaZ, pkX, ""},         {oaVector, pkNone, ""}};
    for (const Case& c : cases) {
        TCurveManager M;
        M.Make("R", Wavy);
        TTarvoCurve& C = M.Make("C", Wavy);
        if (c.Axis != oaNone) AddOffset(C, "R", c.Axis);
        TPlaneConstraint& P = AddPlane(C);
        // Reach the kind without the turns getting in the way.
        if (c.Kind != pkNone) {
            TTextReader R(std::string(" Direction=") + (c.Kind == pkRoll ? "ROLL" : c.Kind == pkPitch ? "PITCH" : c.Kind == pkYaw ? "YAW" : c.Kind == pkX ? "X" : c.Kind == pkY ? "Y" : "Z") +
                          "\n Parameter=0\n");
            P.LoadFromText(R);
        }
        EXPECT_EQ(Text(P.AllowedKinds()), c.Allowed) << c.Axis << " " << c.Kind;
    }
}

TEST(CurveConstraints, PlaneAndOffsetShareACurveOnlyWhileAloneWithEachOther) {
    TCurveManager M;
    TTarvoCurve& C = M.Make("C", Wavy);
    EXPECT_EQ(TPlaneConstraint::State(C), tarvo::csAbsent);
    EXPECT_EQ(TOffsetConstraint::Add(C), tarvo::csAbsent);
    EXPECT_EQ(TOffsetConstraint::Add(C), tarvo::csPresent);
    EXPECT_EQ(TPlaneConstraint::State(C), tarvo::csAbsent);
    TStraightConstraint::Add(C, 0, 2);
    EXPECT_EQ(TPlaneConstraint::Add(C), tarvo::csBlocked);
    EXPECT_EQ(C.Constraints().Count(), 2);

    TTarvoCurve& D = M.Make("D", Wavy);
    TPlaneConstraint::Add(D);
    TKnuckleConstraint::Add(D, 1, 3);
    EXPECT_EQ(TOffsetConstraint::State(D), tarvo::csBlocked);
    // Whatever the order of adding, the offset acts first, then the plane.
    TTarvoCurve& E = M.Make("E", Wavy);
    TPlaneConstraint::Add(E);
    TOffsetConstraint::Add(E);
    EXPECT_EQ(E.Constraints().Items(0)->ClassName(), "TOffsetConstraint");
    EXPECT_TRUE(E.Constraints().HasOffsetAndPlane());
}

TEST(OffsetConstraint, CopiesTheOtherCoordinatesAndAStraightSetsOnlyItsOwn) {
    TCurveManager M;
    TTarvoCurve& R = M.Make("C1", {{0, 0, 0}, {0, 1, 1}, {0, 3, 2}, {0, 4, 4}, {0, 5, 6}});
    TTarvoCurve& C = M.Make("C2", {{5, 9, 9}, {7, 9, 9}, {6, 9, 9}, {9, 9, 9}, {8, 9, 9}});
    TOffsetConstraint& O = AddOffset(C, "", oaNone);
    EXPECT_EQ(O.GetDescription(), "Offset <no curve>");
    O.ReferenceCurve().SetName("C1");
    EXPECT_EQ(O.GetDescription(), "Offset <- C1 <no direction>");
    O.SetAxis(oaX);
    EXPECT_EQ(O.GetDescription(), "Offset <- C1 in X");
    C.Update();
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(C.Point(i)->Y, R.Point(i)->Y);
        EXPECT_EQ(C.Point(i)->Z, R.Point(i)->Z);
    }
    EXPECT_EQ(C.Point(1)->X, 7);
    // The curve follows the reference.
    R.Point(2)->Y = 10;
    R.Invalidate(false);
    C.Update();
    EXPECT_EQ(C.Point(2)->Y, 10);

    // Each interior point takes x at its share of the chord length of the points as the offset left
    // them.
    std::vector<double> Run{0};
    for (int i = 1; i < 5; ++i) Run.push_back(Run.back() + VectorDistance(C.Point(i - 1)->Vector(), C.Point(i)->Vector()));
    TStraightConstraint::Add(C, 0, 4);
    C.Update();
    for (int i = 1; i < 4; ++i) {
        EXPECT_NEAR(C.Point(i)->X, 5 + 3 * Run[i] / Run[4], 1e-12) << i;
        EXPECT_EQ(C.Point(i)->Y, R.Point(i)->Y);
    }
}

TEST(OffsetConstraint, VectorOffsetSlidesEachPointAlongTheFirstPointsOffset) {
    TCurveManager M;
    M.Make("R", {{0, 0, 0}, {1, 1, 0}, {2, 1, 1}, {3, 0, 2}});
    TTarvoCurve& C = M.Make("C", {{0, 0, 2}, {5, 5, 5}, {2, 1, 7}, {3, 3, 3}});
    TOffsetConstraint& O = AddOffset(C, "R", oaVector);
    ExpectNear(O.Direction(), {0, 0, -1});
    C.Update();
    ExpectNear(C.Point(0)->Vector(), {0, 0, 2});
    ExpectNear(C.Point(1)->Vector(), {1, 1, 5});
    ExpectNear(C.Point(2)->Vector(), {2, 1, 7});
    // Another point count (a reference follows its parents' inserts, not the other way round): the
    // offset stops acting and has no direction.
    C.AddPointVector({4, 0, 0});
    C.Point(1)->X = 9;
    C.Invalidate(false);
    C.Update();
    EXPECT_EQ(C.Point(1)->X, 9);
    EXPECT_EQ(O.Direction(), (TMVector{}));
    EXPECT_EQ(O.Line(4), (TMLine{}));
}

TEST(OffsetConstraint, WithAPlaneEachPointMeetsThePlaneOnItsOffsetLine) {
    TCurveManager M;
    TTarvoCurve& R = M.Make("R", {{0, 0, 0}, {1, 1, 0}, {2, 1, 1}, {3, 0, 2}});
    TTarvoCurve& C = M.Make("C", {{4, 0, 0}, {5, 1, 1}, {6, 1, 2}, {7, 0, 3}});
    AddOffset(C, "R", oaX);
    TPlaneConstraint& P = AddPlane(C);
    P.SetKind(pkYaw);
    P.SetValue(Pi / 2 - 0.2);  // nearly the X plane
    C.Update();
    const TMPlane Plane = P.Plane();
    for (int i = 0; i < 4; ++i) {
        EXPECT_LT(OffPlane(Plane, C.Point(i)->Vector()), 1e-9) << i;
        EXPECT_EQ(C.Point(i)->Y, R.Point(i)->Y) << i;
        EXPECT_EQ(C.Point(i)->Z, R.Point(i)->Z) << i;
    }
    // A plane the offset lines run along cannot be met.
    P.SetValue(0);  // the Y plane
    C.Invalidate(false);
    try {
        C.Update();
        ADD_FAILURE() << "no error";
    } catch (const EError& E) {
        EXPECT_STREQ(E.what(), "VkMaths - IntersectionOfLineAndPlane: Intersection attempted with a line parallel to plane");
    }
    EXPECT_FALSE(C.IsValid());
    // A reference of another point count: the plane projects as it does alone, reading no point the
    // reference lacks.
    P.SetValue(Pi / 2);
    C.AddPointVector({8, 2, 5});
    C.Update();
    for (int i = 0; i < C.Count(); ++i) EXPECT_LT(OffPlane(P.Plane(), C.Point(i)->Vector()), 1e-9) << i;
    EXPECT_EQ(R.Count(), 4);
}

TEST(OffsetConstraint, ListsOnlyCurvesThatCanServeAsReference) {
    TCurveManager M;
    M.Make("Other", Wavy);
    TTarvoCurve& C = M.Make("C", Wavy);
    TTarvoCurve& Dependent = M.Make("Dependent", Wavy);
    M.Make("Short", {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}});
    TTarvoCurve& Farther = M.Make("Farther", Wavy);
    M.Make("Good", Wavy);
    AddOffset(Dependent, "C", oaX);
    AddOffset(Farther, "Dependent", oaY);
    TOffsetConstraint& O = AddOffset(C, "", oaNone);
    std::vector<std::string> Names{"stale"};
    O.ListCandidates(Names);
    EXPECT_EQ(Names, (std::vector<std::string>{"Other", "Good"}));
    // A reference that would close a cycle is refused.
    O.ReferenceCurve().SetName("Farther");
    EXPECT_EQ(O.Reference(), nullptr);
}

TEST(OffsetConstraint, LeavesItsCurveWhenTheReferenceCurveDies) {
    TCurveManager M;
    M.Make("R", Wavy);
    TTarvoCurve& C = M.Make("C", Wavy);
    AddOffset(C, "R", oaZ);
    TStraightConstraint::Add(C, 1, 3);
    ASSERT_TRUE(C.HasParent(M.Curves[0].get()));
    M.Curves.erase(M.Curves.begin());
    ASSERT_EQ(C.Constraints().Count(), 1);
    EXPECT_EQ(C.Constraints().Items(0)->ClassName(), "TStraightConstraint");
    EXPECT_EQ(C.Parents().Count(), 0);
    C.Update();
}

TEST(CurveConstraintsText, PlaneAndOffsetLinesReadBackTheSame) {
    TCurveManager M;
    M.Make("C1", Wavy);
    TTarvoCurve& C = M.Make("C2", Wavy);
    AddOffset(C, "C1", oaX);
    AddPlane(C).SetKind(pkX);
    TTextWriter W;
    C.SaveToText(W);
    const std::string Text = W.Text();
    EXPECT_NE(Text.find("NumConstraints=2\nTOffsetConstraint\n ReferenceCurve=C1\n Axis=X\nTPlaneConstraint\n"
                        " Direction=X\n Parameter=2.0000000000\n"),
              std::string::npos)
        << Text;
    TTarvoCurve& D = M.Make("D", {});
    TTextReader R(Text);
    D.LoadFromText(R);
    TTextWriter W2;
    D.SaveToText(W2);
    EXPECT_EQ(W2.Text(), Text);
    EXPECT_EQ(D.Constraints().OffsetConstraint()->Reference(), M.Curves[0].get());

    // The older names, an offset without axis, a name no curve bears yet and the angle keys.
    TTarvoCurve& E = M.Make("E", {});
    TTextReader Old(
        "Name=E\nSurfaceOperation=Control\nNumConstraints=2\nTOffsetModifier\n ReferenceCurve= Later \n Axis=\n"
        "TPlaneModifier\n Direction=PITCH\n Parameter=0,5\nOrder=4\nNumPoints=4\n0 0 0\n1 1 0\n2 1 0\n3 0 0\n");
    E.LoadFromText(Old);
    const TOffsetConstraint& O = *E.Constraints().OffsetConstraint();
    EXPECT_EQ(O.Axis(), oaNone);
    EXPECT_EQ(O.GetDescription(), "Offset <no curve>");
    EXPECT_EQ(E.Constraints().PlaneConstraint()->Kind(), pkPitch);
    EXPECT_DOUBLE_EQ(E.Constraints().PlaneConstraint()->Parameter(), 0.5);
    TTextWriter W3;
    E.SaveToText(W3);
    EXPECT_NE(W3.Text().find("TOffsetConstraint\n ReferenceCurve=Later\n Axis=\nTPlaneConstraint\n Direction=PITCH\n"
                             " Parameter=0.5000000000\n"),
              std::string::npos)
        << W3.Text();
    TTarvoCurve& Later = M.Make("Later", Wavy);
    EXPECT_EQ(O.Reference(), &Later);
}

TEST(CurveConstraints, AssignCopiesKindAxisAndReference) {
    TCurveManager M;
    TTarvoCurve& R = M.Make("R", Wavy);
    TTarvoCurve& C = M.Make("C", Wavy);
    AddOffset(C, "R", oaY);
    TPlaneConstraint& P = AddPlane(C);
    P.SetKind(pkY);
    P.SetKind(pkRoll);
    TTarvoCurve& D = M.Make("D", {});
    D.Assign(C);
    EXPECT_EQ(D.Constraints().OffsetConstraint()->Reference(), &R);
    EXPECT_EQ(D.Constraints().OffsetConstraint()->Axis(), oaY);
    EXPECT_EQ(D.Constraints().PlaneConstraint()->Kind(), pkRoll);
    EXPECT_DOUBLE_EQ(D.Constraints().PlaneConstraint()->Parameter(), Pi / 2);
}
