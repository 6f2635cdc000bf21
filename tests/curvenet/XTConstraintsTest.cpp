#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "curvenet/XTConstraints.h"
#include "curvenet/XTCurve.h"
#include "foundation/Errors.h"
#include "foundation/TextFile.h"

using namespace sarnova;

namespace {

// A curve of N points along x, with a bend so that no three are in line.
void MakeCurve(TXTCurve& Curve, int N) {
    for (int I = 0; I < N; ++I) Curve.AddPointXYZ(I, (I % 2) * 0.5, 0);
}

void Select(TXTCurve& Curve, std::vector<int> Indices) {
    for (int I = 0; I < Curve.PointCount(); ++I) Curve.PointAt(I)->Selected = false;
    for (int I : Indices) Curve.PointAt(I)->Selected = true;
}

template <class T>
T* AddAt(TXTCurve& Curve, int Vertex) {
    auto C = std::make_unique<T>();
    C->Vertex = Vertex;
    return static_cast<T*>(Curve.Constraints().Add(std::move(C)));
}

// "Knuckle@2" for each constraint of the list, in order.
std::vector<std::string> Describe(const TXTCurve& Curve) {
    std::vector<std::string> Out;
    for (int I = 0; I < Curve.Constraints().Count(); ++I) {
        const TXTConstraint* C = Curve.Constraints().Items(I);
        std::string Name = C->ClassName();
        Name = Name.substr(3, Name.size() - 3 - 10);  // without "TXT" and "Constraint"
        if (auto* P = dynamic_cast<const TXTPointConstraint*>(C)) Name += "@" + std::to_string(P->Vertex);
        if (auto* R = dynamic_cast<const TXTRangeConstraint*>(C)) Name += "@" + std::to_string(R->Vertex);
        Out.push_back(Name);
    }
    return Out;
}

std::string SaveText(const TXTConstraints& List) {
    TTextWriter W;
    List.SaveToText(W);
    return W.Text();
}

// A point resting on a host curve; it keeps its position (fetching it is the bead's business).
class THostedPoint : public TXTPoint {
public:
    explicit THostedPoint(TXTCurveRepresentation* AHost) : FHost(AHost) {}
    bool IsReferencePoint() const override { return true; }
    TXTCurveRepresentation* HostCurve() const override { return FHost; }

private:
    TXTCurveRepresentation* FHost;
};

void ExpectVector(const TMVector& V, double X, double Y, double Z, const char* What = "") {
    EXPECT_NEAR(V.X, X, 1e-9) << What;
    EXPECT_NEAR(V.Y, Y, 1e-9) << What;
    EXPECT_NEAR(V.Z, Z, 1e-9) << What;
}

}  // namespace

TEST(XTConstraints, FactoryTakesTrimmedNamesInAnyCase) {
    TXTCurve Curve;
    const std::pair<const char*, const char*> Cases[] = {
        {" txtknuckleconstraint ", "TXTKnuckleConstraint"},
        {"TXTPlaneConstraint", "TXTPlaneConstraint"},
        {"TXTBlendConstraint", "TXTBlendConstraint"},
        {"TXTCubicSplineConstraint", "TXTCubicSplineConstraint"},
        {"\tTXTStraightConstraint", "TXTStraightConstraint"},
        {"TXTPolylineConstraint", "TXTPolylineConstraint"},
        {"TXTInterpolateConstraint", "TXTInterpolateConstraint"},
        {"TxtOverrideSurfaceTangentConstraint", "TXTOverrideSurfaceTangentConstraint"}};
    for (auto [Line, Class] : Cases) EXPECT_STREQ(Curve.Constraints().CreateConstraint(Line)->ClassName(), Class) << Line;
    const auto Made = Curve.Constraints().CreateConstraint("TXTBlendConstraint");
    auto* Blend = dynamic_cast<TXTRangeConstraint*>(Made.get());
    ASSERT_NE(Blend, nullptr);
    EXPECT_EQ(Blend->Vertex, -1);

    const std::pair<const char*, const char*> Bad[] = {{"TXTFOO", "Constraint TXTFOO not found"},
                                                       {" txtpointconstraint", "Constraint TXTPOINTCONSTRAINT not found"},
                                                       {"TXTConstraint", "Constraint TXTCONSTRAINT not found"},
                                                       {"", "Constraint  not found"}};
    for (auto [Line, Message] : Bad) {
        try {
            Curve.Constraints().CreateConstraint(Line);
            ADD_FAILURE() << Line;
        } catch (const EError& E) {
            EXPECT_EQ(std::string(E.what()), Message);
        }
    }
}

TEST(XTConstraints, RecordsReadBackAsWritten) {
    TXTCurve Curve;
    MakeCurve(Curve, 6);
    AddAt<TXTKnuckleConstraint>(Curve, 2);
    AddAt<TXTStraightConstraint>(Curve, 3);
    auto* Plane = static_cast<TXTPlaneConstraint*>(Curve.Constraints().Add(std::make_unique<TXTPlaneConstraint>()));
    Plane->Direction = pdYaw;
    Plane->Parameter = 0.25;
    Curve.Constraints().Add(std::make_unique<TXTCubicSplineConstraint>());
    const std::string Text = SaveText(Curve.Constraints());
    EXPECT_EQ(Text,
              "NumConstraints=4\nTXTKnuckleConstraint\n  Vertex=2\nTXTStraightConstraint\n  Vertex=3\n"
              "TXTPlaneConstraint\n Direction=YAW\n Parameter=0.2500000000\nTXTCubicSplineConstraint\n");

    TXTCurve Copy;
    MakeCurve(Copy, 6);
    TTextReader R(Text);
    Copy.Constraints().LoadFromText(R);
    EXPECT_EQ(SaveText(Copy.Constraints()), Text);
    EXPECT_TRUE(R.Eof());

    TXTCurve Empty;
    EXPECT_EQ(SaveText(Empty.Constraints()), "NumConstraints=0\n");
    TTextReader Zero("NumConstraints=0\nTXTKnuckleConstraint\n");
    Empty.Constraints().LoadFromText(Zero);
    EXPECT_EQ(Empty.Constraints().Count(), 0);

    TTextReader BadVertex("NumConstraints=1\nTXTKnuckleConstraint\n  Vertex=two\n");
    EXPECT_THROW(Empty.Constraints().LoadFromText(BadVertex), EConvertError);
}

TEST(XTConstraints, PlaneDirectionLineIsSearchedCaseSensitively) {
    const std::pair<const char*, int> Cases[] = {
        {" Direction=YAW", pdYaw}, {" Direction=Y", pdY},       {" Direction=X", pdX},     {" Direction=Z", pdZ},
        {" Direction=ROLL", pdRoll}, {" Direction=PITCH", pdPitch}, {" Direction=", pdNone}, {" Direction=yaw", pdNone}};
    for (auto [Line, Direction] : Cases) {
        TXTPlaneConstraint P;
        TTextReader R(std::string(Line) + "\n Parameter=1.5\n");
        P.LoadFromText(R);
        EXPECT_EQ(P.Direction, Direction) << Line;
        EXPECT_EQ(P.Parameter, 1.5);
    }
}

TEST(XTConstraints, PassesRunInPriorityOrder) {
    TXTCurve Curve;
    MakeCurve(Curve, 5);
    AddAt<TXTStraightConstraint>(Curve, 1);
    AddAt<TXTBlendConstraint>(Curve, 3);
    Curve.Constraints().Add(std::make_unique<TXTPlaneConstraint>());
    AddAt<TXTOverrideSurfaceTangentConstraint>(Curve, 4);
    TMVector V;
    Curve.F(MakeBeadAddress(0, 0), V);  // rebuilds
    EXPECT_EQ(Describe(Curve), (std::vector<std::string>{"OverrideSurfaceTangent@4", "Plane", "Straight@1", "Blend@3"}));
}

TEST(XTConstraints, AddingOrDeletingMakesTheNextRebuildFull) {
    TXTCurve Curve;
    MakeCurve(Curve, 4);
    Curve.Regenerate();
    ASSERT_EQ(Curve.DirtyLevel(), dlUpToDate);
    int Changes = 0;
    Curve.OnChange = [&](TXTNode*) { ++Changes; };
    AddAt<TXTKnuckleConstraint>(Curve, 1);
    EXPECT_EQ(Curve.DirtyLevel(), dlSpans);
    EXPECT_EQ(Changes, 1);
    Curve.Regenerate();
    Curve.Constraints().Delete(0);
    EXPECT_EQ(Curve.DirtyLevel(), dlSpans);
    EXPECT_EQ(Changes, 2);
}

TEST(XTConstraints, StateRules) {
    TXTCurve Curve;
    MakeCurve(Curve, 6);
    // Point kinds stay off the end vertices, except the override kind.
    EXPECT_EQ(TXTKnuckleConstraint::VertexState(Curve, 0), csNotAllowed);
    EXPECT_EQ(TXTKnuckleConstraint::VertexState(Curve, 5), csNotAllowed);
    EXPECT_EQ(TXTKnuckleConstraint::VertexState(Curve, 1), csAbsent);
    EXPECT_EQ(TXTOverrideSurfaceTangentConstraint::VertexState(Curve, 0), csAbsent);
    EXPECT_EQ(TXTOverrideSurfaceTangentConstraint::VertexState(Curve, 6), csNotAllowed);
    // A knuckle excludes an interpolate constraint at its vertex.
    AddAt<TXTKnuckleConstraint>(Curve, 2);
    EXPECT_EQ(TXTKnuckleConstraint::VertexState(Curve, 2), csPresent);
    EXPECT_EQ(TXTInterpolateConstraint::VertexState(Curve, 2), csNotAllowed);
    EXPECT_EQ(TXTInterpolateConstraint::VertexState(Curve, 3), csAbsent);
    // ... and a span over it.
    EXPECT_EQ(RangeState<TXTStraightConstraint>(Curve, 1, 3), csNotAllowed);
    EXPECT_EQ(RangeState<TXTStraightConstraint>(Curve, 2, 3), csAbsent);

    // A range constraint bars the polyline; a straight span reports itself present, not a blend.
    AddAt<TXTStraightConstraint>(Curve, 3);
    EXPECT_EQ(RangeState<TXTStraightConstraint>(Curve, 3, 4), csPresent);
    EXPECT_EQ(RangeState<TXTBlendConstraint>(Curve, 3, 4), csNotAllowed);
    EXPECT_EQ(RangeState<TXTStraightConstraint>(Curve, 3, 5), csNotAllowed);
    EXPECT_EQ(TXTPolylineConstraint::CurveState(Curve), csNotAllowed);
    EXPECT_EQ(TXTCubicSplineConstraint::CurveState(Curve), csAbsent);

    // A polyline bars every vertex and span kind but the override.
    TXTCurve Poly;
    MakeCurve(Poly, 6);
    Poly.Constraints().Add(std::make_unique<TXTPolylineConstraint>());
    EXPECT_EQ(TXTPolylineConstraint::CurveState(Poly), csPresent);
    EXPECT_EQ(TXTCubicSplineConstraint::CurveState(Poly), csNotAllowed);
    EXPECT_EQ(TXTInterpolateConstraint::VertexState(Poly, 2), csNotAllowed);
    EXPECT_EQ(TXTKnuckleConstraint::VertexState(Poly, 2), csNotAllowed);
    EXPECT_EQ(RangeState<TXTStraightConstraint>(Poly, 2, 3), csNotAllowed);
    EXPECT_EQ(RangeState<TXTBlendConstraint>(Poly, 2, 3), csNotAllowed);
    EXPECT_EQ(TXTOverrideSurfaceTangentConstraint::VertexState(Poly, 2), csAbsent);
    EXPECT_EQ(TXTPlaneConstraint::PlaneConstraintState(Poly), csAbsent);
}

TEST(XTConstraints, SelectionStates) {
    TXTCurve Curve;
    MakeCurve(Curve, 6);
    EXPECT_EQ(SelectionVertexState<TXTKnuckleConstraint>(Curve), csNotAllowed);
    EXPECT_EQ(SelectionVertexState<TXTOverrideSurfaceTangentConstraint>(Curve), csNotAllowed);
    EXPECT_EQ(SelectionRangeState<TXTStraightConstraint>(Curve), csNotAllowed);

    Select(Curve, {1, 2, 4});
    AddPointConstraint<TXTKnuckleConstraint>(Curve);
    EXPECT_EQ(Describe(Curve), (std::vector<std::string>{"Knuckle@1", "Knuckle@2", "Knuckle@4"}));
    EXPECT_EQ(SelectionVertexState<TXTKnuckleConstraint>(Curve), csPresent);
    Select(Curve, {2, 3, 4});
    EXPECT_EQ(SelectionVertexState<TXTKnuckleConstraint>(Curve), csNotAllowed);  // mixed
    AddPointConstraint<TXTKnuckleConstraint>(Curve);
    EXPECT_EQ(Curve.Constraints().Count(), 3);

    // Removing one kind leaves another kind on the same vertex alone.
    Select(Curve, {1});
    AddPointConstraint<TXTOverrideSurfaceTangentConstraint>(Curve);
    Curve.Constraints().SortByPriority();  // the override first, where a removal of any kind would hit it
    RemovePointConstraint<TXTKnuckleConstraint>(Curve);
    EXPECT_EQ(Describe(Curve), (std::vector<std::string>{"OverrideSurfaceTangent@1", "Knuckle@2", "Knuckle@4"}));

    Select(Curve, {0, 5});
    EXPECT_EQ(SelectionRangeState<TXTStraightConstraint>(Curve), csNotAllowed);  // scattered
}

TEST(XTConstraints, SpanOverASelectedRunDeletesItsInnerVertices) {
    TXTCurve Curve;
    MakeCurve(Curve, 7);
    int Removals = 0;
    TXTNode Watcher;
    TXTReference Ref(&Watcher);
    Ref.OnMessage = [&](TXTMessage& M) { Removals += dynamic_cast<TXTRemovePointMessage*>(&M) != nullptr; };
    Ref.SetTarget(&Curve);
    Select(Curve, {2, 3, 4, 5});
    AddRangeConstraint<TXTStraightConstraint>(Curve);
    EXPECT_EQ(Removals, 2);
    ASSERT_EQ(Curve.PointCount(), 5);
    EXPECT_EQ(Curve.PointAt(3)->GetPosition().X, 5);
    EXPECT_EQ(Describe(Curve), (std::vector<std::string>{"Straight@2"}));
    EXPECT_EQ(SelectionRangeState<TXTStraightConstraint>(Curve), csPresent);
    RemoveRangeConstraint(Curve);
    EXPECT_EQ(Curve.Constraints().Count(), 0);
}

TEST(XTConstraints, ConstraintsFollowPointEdits) {
    struct TCase {
        const char* What;
        void (*Edit)(TXTCurve&);
        std::vector<std::string> Expected;
    };
    const TCase Cases[] = {
        {"delete the span's second vertex", [](TXTCurve& C) { C.DeletePoint(3); }, {"Knuckle@1"}},
        {"delete the span's first vertex", [](TXTCurve& C) { C.DeletePoint(2); }, {"Knuckle@1"}},
        {"delete vertex 0: a knuckle on 1 would sit on the end",
         [](TXTCurve& C) { C.DeletePoint(0); },
         {"Straight@1"}},
        {"delete the last vertex", [](TXTCurve& C) { C.DeletePoint(5); }, {"Straight@2", "Knuckle@1"}},
        {"insert before the span", [](TXTCurve& C) { C.InsertPointAt(1, {0.5, 0, 0}); }, {"Straight@3", "Knuckle@2"}},
        {"insert inside the span keeps its first vertex",
         [](TXTCurve& C) { C.InsertPointAt(3, {2.5, 0, 0}); },
         {"Straight@2", "Knuckle@1"}},
        {"reverse six vertices", [](TXTCurve& C) { C.ReversePoints(); }, {"Straight@2", "Knuckle@4"}},
    };
    for (const TCase& Case : Cases) {
        TXTCurve Curve;
        MakeCurve(Curve, 6);
        AddAt<TXTStraightConstraint>(Curve, 2);
        AddAt<TXTKnuckleConstraint>(Curve, 1);
        Case.Edit(Curve);
        EXPECT_EQ(Describe(Curve), Case.Expected) << Case.What;
    }

    TXTCurve Reversed;
    MakeCurve(Reversed, 6);
    AddAt<TXTStraightConstraint>(Reversed, 1);
    AddAt<TXTInterpolateConstraint>(Reversed, 1);
    Reversed.ReversePoints();
    EXPECT_EQ(Describe(Reversed), (std::vector<std::string>{"Straight@3", "Interpolate@4"}));

    // The override may sit on an end: it moves to 0, while the knuckle sharing its vertex goes.
    for (bool OverrideFirst : {true, false}) {
        TXTCurve Curve;
        MakeCurve(Curve, 5);
        if (OverrideFirst) AddAt<TXTOverrideSurfaceTangentConstraint>(Curve, 1);
        AddAt<TXTKnuckleConstraint>(Curve, 1);
        if (!OverrideFirst) AddAt<TXTOverrideSurfaceTangentConstraint>(Curve, 1);
        Curve.DeletePoint(0);
        EXPECT_EQ(Describe(Curve), (std::vector<std::string>{"OverrideSurfaceTangent@0"})) << OverrideFirst;
    }
}

TEST(XTConstraints, TangentPassOfEachKind) {
    // States and tangent kinds as "state in-kind out-kind" per vertex after the pass.
    auto Run = [](void (*Setup)(TXTCurve&)) {
        TXTCurve Curve;
        MakeCurve(Curve, 5);
        Setup(Curve);
        Curve.Regenerate();
        std::string Out;
        for (int I = 0; I < Curve.PointCount(); ++I) {
            const TXTPoint* P = Curve.PointAt(I);
            Out += std::to_string(P->State) + std::to_string(P->InTangent.GetKind()) +
                   std::to_string(P->OutTangent.GetKind()) + " ";
        }
        return Out;
    };
    EXPECT_EQ(Run([](TXTCurve& C) { AddAt<TXTStraightConstraint>(C, 1); }), "800 221 212 000 800 ");
    EXPECT_EQ(Run([](TXTCurve& C) { AddAt<TXTStraightConstraint>(C, 0); }), "221 212 000 000 800 ");
    // Knuckle with a straight span on each side: both sides released to none.
    EXPECT_EQ(Run([](TXTCurve& C) {
                  AddAt<TXTKnuckleConstraint>(C, 2);
                  AddAt<TXTStraightConstraint>(C, 1);
                  AddAt<TXTStraightConstraint>(C, 2);
              }),
              "800 221 400 212 800 ");
    // A blend on the first span leaves the curve's start alone.
    EXPECT_EQ(Run([](TXTCurve& C) { AddAt<TXTBlendConstraint>(C, 0); }), "800 221 000 000 800 ");
    EXPECT_EQ(Run([](TXTCurve& C) { AddAt<TXTBlendConstraint>(C, 1); }), "800 212 221 000 800 ");
    EXPECT_EQ(Run([](TXTCurve& C) { C.Constraints().Add(std::make_unique<TXTPolylineConstraint>()); }),
              "400 400 400 400 400 ");
    EXPECT_EQ(Run([](TXTCurve& C) { C.Constraints().Add(std::make_unique<TXTCubicSplineConstraint>()); }),
              "800 100 100 100 800 ");

    TXTCurve Curve;
    MakeCurve(Curve, 5);
    AddAt<TXTStraightConstraint>(Curve, 1);
    Curve.Regenerate();
    const TMVector Chord = VectorNormalise({1, -0.5, 0});
    ExpectVector(Curve.PointAt(1)->OutTangent.GetVector(), Chord.X, Chord.Y, 0, "out of 1");
    ExpectVector(Curve.PointAt(2)->InTangent.GetVector(), -Chord.X, -Chord.Y, 0, "in of 2");
}

TEST(XTConstraints, PlaneConstraintMovesTheCurveIntoItsPlane) {
    TXTCurve Curve;
    Curve.AddPointXYZ(0, 0, 2.5);
    Curve.AddPointXYZ(1, 1, 0);
    Curve.AddPointXYZ(2, 0, -3);
    AddPlaneConstraint(Curve);
    AddPlaneConstraint(Curve);
    ASSERT_EQ(Curve.Constraints().Count(), 1);
    TXTPlaneConstraint* P = Curve.Constraints().PlaneConstraint();
    EXPECT_EQ(P->Direction, pdNone);
    P->SetDirection(pdZ);
    EXPECT_EQ(P->DirectionCaption(), "Z");
    Curve.Regenerate();
    for (int I = 0; I < 3; ++I) EXPECT_EQ(Curve.PointAt(I)->GetPosition().Z, 2.5) << I;
    EXPECT_EQ(P->ParameterValue(), 2.5);
    P->SetParameterValue(1.0);
    EXPECT_EQ(Curve.DirtyLevel(), dlGeometry);
    Curve.Regenerate();
    EXPECT_EQ(Curve.PointAt(2)->GetPosition().Z, 1.0);

    // Roll, pitch and yaw turn the axis planes by the angle; the points are projected.
    P->SetDirection(pdRoll);
    P->SetParameterValue(90);
    EXPECT_DOUBLE_EQ(P->Parameter, std::numbers::pi / 2);
    ExpectVector(P->Plane().Normal, 0, -1, 0, "roll 90");
    Curve.Regenerate();
    for (int I = 0; I < 3; ++I) EXPECT_NEAR(Curve.PointAt(I)->GetPosition().Y, 0, 1e-12) << I;
    const std::pair<std::uint8_t, TMVector> AtZero[] = {{pdRoll, {0, 0, 1}}, {pdPitch, {1, 0, 0}}, {pdYaw, {0, 1, 0}}};
    P->Parameter = 0;
    for (auto [Direction, Normal] : AtZero) {
        P->Direction = Direction;
        ExpectVector(P->Plane().Normal, Normal.X, Normal.Y, Normal.Z, P->DirectionCaption().c_str());
    }
    RemovePlaneConstraint(Curve);
    EXPECT_FALSE(Curve.Constraints().HasPlaneConstraint());
}

TEST(XTConstraints, PlanePositionStaysWhereItCutsTheHostCurves) {
    auto Host = [](double From, double To) {
        auto C = std::make_unique<TXTCurve>();
        C->AddPointXYZ(From, 0, 0);
        C->AddPointXYZ(To, 1, 0);
        C->Regenerate();
        return C;
    };
    std::unique_ptr<TXTCurve> A = Host(1, 4), B = Host(3, 9);
    TXTCurve Curve;
    Curve.AddPoint(std::make_unique<THostedPoint>(A.get()))->SetPosition({0, 0, 0});
    Curve.AddPointXYZ(2, 1, 0);
    Curve.AddPoint(std::make_unique<THostedPoint>(B.get()))->SetPosition({5, 2, 0});
    auto* P = static_cast<TXTPlaneConstraint*>(Curve.Constraints().Add(std::make_unique<TXTPlaneConstraint>()));
    P->Direction = pdX;
    Curve.Regenerate();
    EXPECT_EQ(P->RangeMin, 3);
    EXPECT_EQ(P->RangeMax, 4);
    for (int I = 0; I < 3; ++I) EXPECT_EQ(Curve.PointAt(I)->GetPosition().X, 3) << I;
    P->SetParameterValue(7);
    Curve.Regenerate();
    EXPECT_EQ(Curve.PointAt(1)->GetPosition().X, 4);

    // Hosts that do not overlap leave the position free.
    std::unique_ptr<TXTCurve> Far = Host(10, 12);
    Curve.Points().Replace(Curve.PointAt(2), std::make_unique<THostedPoint>(Far.get()));
    P->UpdateRange();
    EXPECT_EQ(P->ClampToRange(7), 7);
}

TEST(XTConstraints, SurfaceTangentPlaneByRibbonKind) {
    // A straight curve along x at y = 2.
    TXTCurve Curve;
    Curve.AddPointXYZ(0, 2, 0);
    Curve.AddPointXYZ(4, 2, 0);
    const TBeadAddress At = MakeBeadAddress(0, 0.5);
    TXTRibbonTangent R;

    Curve.SetRibbonKind(rkZ);
    Curve.RibbonAt(At, R);
    EXPECT_EQ(R.Kind, rkZ);
    ExpectVector(R.Reference, 0, 0, 1, "Z reference");
    ExpectVector(R.Plane.Normal, 0, 1, 0, "Z x X");  // right-handed
    EXPECT_NEAR(R.Plane.Distance, 2, 1e-12);

    Curve.SetRibbonKind(rkX);  // along the axis: no plane
    Curve.RibbonAt(At, R);
    ExpectVector(R.Plane.Normal, 0, 0, 0, "X x X");

    Curve.SetRibbonKind(rkKnuckle);
    R.Reference = {7, 7, 7};
    Curve.RibbonAt(At, R);
    EXPECT_EQ(R.Kind, rkKnuckle);
    ExpectVector(R.Reference, 7, 7, 7, "untouched");
    ExpectVector(R.Plane.Normal, 0, 0, 0, "none");

    // With a plane constraint: normal to the curve stands on the plane, tangential is the plane.
    auto* P = static_cast<TXTPlaneConstraint*>(Curve.Constraints().Add(std::make_unique<TXTPlaneConstraint>()));
    P->Direction = pdZ;
    Curve.SetRibbonKind(rkNormalToCurve);
    Curve.RibbonAt(At, R);
    ExpectVector(R.Reference, 0, 0, 1, "plane normal");
    ExpectVector(R.Plane.Normal, 0, 1, 0, "n x T");
    Curve.SetRibbonKind(rkTangentialToCurve);
    Curve.RibbonAt(At, R);
    ExpectVector(R.Plane.Normal, 0, 0, 1, "the plane itself");
    EXPECT_EQ(R.Plane.Distance, 0);
}
