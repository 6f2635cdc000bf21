#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "curvenet/PatchEdgeFixtures.h"
#include "curvenet/XTPatchEdge.h"
#include "curvenet/XTSurfaceOptions.h"
#include "foundation/Console.h"
#include "foundation/Errors.h"
#include "foundation/VkMaths.h"
#include "platform/RecordingGraphics.h"

using namespace sarnova;
using sarnova::test::TPatchFaceFixture;

namespace {

bool Near(const TMVector& A, const TMVector& B, double Tol = 1e-9) { return VectorDistance(A, B) < Tol; }

TMVector Tangent(TXTPatchEdge& E, bool AtEnd) {
    TCurveDerivatives D;
    E.Curve().Spline().UpdateKnots();
    E.Curve().Derivatives(AtEnd ? E.Curve().MaxT() : E.Curve().MinT(), D);
    return D[1];
}

TMVector CrossAt(TXTPatchEdge& E, double S) {
    TMVector P, D;
    E.PointAt(S, P, D);
    return D;
}

// Every corner of the square is shared by the right ends, and every cross derivative equals at its
// corners the tangent of the side leaving that corner.
void ExpectParameterSquare(TXTPatchEdges& Edges, const std::string& Case) {
    TXTPatchEdge& S0 = Edges.Edge(0);
    TXTPatchEdge& S1 = Edges.Edge(1);
    TXTPatchEdge& S2 = Edges.Edge(2);
    TXTPatchEdge& S3 = Edges.Edge(3);
    EXPECT_TRUE(Near(S0.StartPoint(), S1.StartPoint())) << Case;
    EXPECT_TRUE(Near(S1.EndPoint(), S2.StartPoint())) << Case;
    EXPECT_TRUE(Near(S0.EndPoint(), S3.StartPoint())) << Case;
    EXPECT_TRUE(Near(S2.EndPoint(), S3.EndPoint())) << Case;
    EXPECT_TRUE(Near(CrossAt(S0, 0), Tangent(S1, false), 1e-7)) << Case;
    EXPECT_TRUE(Near(CrossAt(S0, 1), Tangent(S3, false), 1e-7)) << Case;
    EXPECT_TRUE(Near(CrossAt(S1, 0), Tangent(S0, false), 1e-7)) << Case;
    EXPECT_TRUE(Near(CrossAt(S1, 1), Tangent(S2, false), 1e-7)) << Case;
    EXPECT_TRUE(Near(CrossAt(S2, 0), VectorNegate(Tangent(S1, true)), 1e-7)) << Case;
    EXPECT_TRUE(Near(CrossAt(S2, 1), VectorNegate(Tangent(S3, true)), 1e-7)) << Case;
    EXPECT_TRUE(Near(CrossAt(S3, 0), VectorNegate(Tangent(S0, true)), 1e-7)) << Case;
    EXPECT_TRUE(Near(CrossAt(S3, 1), VectorNegate(Tangent(S2, true)), 1e-7)) << Case;
}

const std::vector<TMVector> Quad = {{0, 0, 0}, {2, 0, 0}, {2.5, 1.5, 0}, {0, 1, 0}};

struct TConsoleLines {
    std::vector<std::string> Lines;
    TConsoleLines() {
        GConsole->OnLine = [this](const std::string& L) { Lines.push_back(L); };
    }
    ~TConsoleLines() { GConsole->OnLine = nullptr; }
};

}  // namespace

TEST(PatchEdges, FourSidesAreOrientedOnTheParameterSquareWhicheverWayTheCurvesRun) {
    const std::vector<std::vector<int>> Reversals = {{}, {0, 1, 2, 3}, {0, 2}, {1}, {3}};
    for (const auto& Reversed : Reversals) {
        TPatchFaceFixture F(Quad, {0, 1, 2, 3}, Reversed);
        TXTPatchEdges Edges;
        Edges.Build(*F.Face, TXTSurfaceOptions{});
        const std::string Case = "reversed " + std::to_string(Reversed.size());
        ExpectParameterSquare(Edges, Case);
        if (Reversed.empty()) {
            // The first fin runs 0 -> 1: side 0 is that edge from the corner it shares with side 1.
            EXPECT_TRUE(Near(Edges.Edge(0).StartPoint(), Quad[1]));
            EXPECT_TRUE(Near(Edges.Edge(0).EndPoint(), Quad[0]));
        }
        for (int I = 0; I < 4; ++I) {
            EXPECT_EQ(Edges.Edge(I).Collapsed, 0);
            EXPECT_DOUBLE_EQ(Edges.Edge(I).Curve().MinT(), 0.0);
            EXPECT_DOUBLE_EQ(Edges.Edge(I).Curve().MaxT(), 1.0);
        }
    }
}

TEST(PatchEdges, EndsMissingEachOtherMeetAtTheMidpointInTheSidesOnly) {
    TPatchFaceFixture F(Quad, {0, 1, 2, 3});
    const TMVector Gap{0, 0.002, 0};
    // The edge 1 -> 2 starts a little above corner 1.
    std::vector<TMVector> Moved = sarnova::test::StraightCubic(VectorAdd(Quad[1], Gap), Quad[2]);
    F.SetSpline(1, 2, Moved);
    TXTPatchEdges Edges;
    Edges.Build(*F.Face, TXTSurfaceOptions{});
    const TMVector Mid = VectorAdd(Quad[1], VectorScale(Gap, 0.5));
    EXPECT_TRUE(Near(Edges.Edge(0).StartPoint(), Mid));
    EXPECT_TRUE(Near(Edges.Edge(1).StartPoint(), Mid));
    TMVector First;
    TXTEdge* E = F.Edge(1, 2);
    E->GetSpline().PointAt(E->Fin1()->GetVertex() == F.Vertex(1) ? 0 : 3, First);
    EXPECT_TRUE(Near(First, Moved.front()));
}

TEST(PatchEdges, ATriangleCollapsesItsSharpestCornerTheEarlierOnATie) {
    struct TCase {
        const char* Name;
        std::vector<TMVector> Points;
        int Collapsed;  // point index
    };
    // The face's fins run 0 -> 1 (head 1), 1 -> 2 (head 2), 2 -> 0 (head 0), in that order.
    const TCase Cases[] = {
        {"sharp at 0", {{0, 0, 0}, {10, 0, 0}, {10, 1, 0}}, 0},
        {"sharp at 2", {{0, 0, 0}, {1, 0, 0}, {0.5, 8, 0}}, 2},
        {"tie of 0 and 1: the first fin's head", {{0, 0, 0}, {10, 0, 0}, {5, 1, 0}}, 1},
    };
    for (const TCase& C : Cases) {
        TPatchFaceFixture F(C.Points, {0, 1, 2});
        TXTPatchEdges Edges;
        Edges.Build(*F.Face, TXTSurfaceOptions{});
        const TMVector V = C.Points[static_cast<std::size_t>(C.Collapsed)];
        TXTPatchEdge& S1 = Edges.Edge(1);
        EXPECT_EQ(S1.Collapsed, 1) << C.Name;
        for (int I = 0; I < S1.PointCount(); ++I) {
            TMVector P;
            S1.Curve().PointAt(I, P);
            EXPECT_TRUE(Near(P, V)) << C.Name;
        }
        EXPECT_TRUE(Near(Edges.Edge(0).StartPoint(), V)) << C.Name;
        EXPECT_TRUE(Near(Edges.Edge(2).StartPoint(), V)) << C.Name;
        EXPECT_TRUE(Near(Edges.Edge(3).StartPoint(), Edges.Edge(0).EndPoint())) << C.Name;
        EXPECT_TRUE(Near(Edges.Edge(3).EndPoint(), Edges.Edge(2).EndPoint())) << C.Name;
        // The collapsed side's cross derivative runs from side 0's tangent to side 2's.
        EXPECT_TRUE(Near(CrossAt(S1, 0), Tangent(Edges.Edge(0), false))) << C.Name;
        EXPECT_TRUE(Near(CrossAt(S1, 1), Tangent(Edges.Edge(2), false))) << C.Name;
    }
}

TEST(PatchEdges, ALensCollapsesSide1AtTheStartOfSide0AndSide3AtItsEnd) {
    // Two curved edges between points 0 and 1, in either direction.
    for (const bool Reversed : {false, true}) {
        TManifold M;
        UseXTEdgeFactories(M);
        TVertex* A = M.AddVertex({0, 0, 0});
        TVertex* B = M.AddVertex({4, 0, 0});
        TEdge* Lower = Reversed ? M.AddEdge(B, A) : M.AddEdge(A, B);
        TEdge* Upper = M.AddEdge(B, A);
        // Face loop: along Lower from A to B, back along Upper; the other face the other way round.
        TFin* L1 = Lower->GetFin(B);
        TFin* U1 = Upper->GetFin(A);
        L1->NextFin = U1;
        U1->NextFin = L1;
        L1->PrevFin = U1;
        U1->PrevFin = L1;
        TFin* L2 = L1->OtherFin();
        TFin* U2 = U1->OtherFin();
        L2->NextFin = U2;
        U2->NextFin = L2;
        L2->PrevFin = U2;
        U2->PrevFin = L2;
        TFace* Face = M.AddFace(U1);
        M.AddFace(U2);
        auto SetCurve = [&](TEdge* E, std::vector<TMVector> P, const TMVector& Across) {
            if (E->Fin1()->GetVertex() != A) std::reverse(P.begin(), P.end());
            static_cast<TXTEdge*>(E)->SetSpline(sarnova::test::MakeSpline(P));
            for (TFin* Fin : {E->Fin1(), E->Fin2()}) {
                const TMVector R = Fin->GetFace() == Face ? Across : VectorNegate(Across);
                static_cast<TXTFin*>(Fin)->SetRibbon(sarnova::test::MakeSpline({R, R}));
            }
        };
        SetCurve(Lower, {{0, 0, 0}, {1, -1, 0}, {3, -1, 0}, {4, 0, 0}}, {0, 1, 0});
        SetCurve(Upper, {{0, 0, 0}, {1, 1, 0}, {3, 1, 0}, {4, 0, 0}}, {0, -1, 0});

        TXTPatchEdges Edges;
        Edges.Build(*Face, TXTSurfaceOptions{});
        const std::string Case = Reversed ? "reversed" : "forward";
        TXTPatchEdge& S0 = Edges.Edge(0);
        TXTPatchEdge& S2 = Edges.Edge(2);
        EXPECT_EQ(Edges.Edge(1).Collapsed + Edges.Edge(3).Collapsed, 2) << Case;
        EXPECT_TRUE(Near(Edges.Edge(1).StartPoint(), S0.StartPoint())) << Case;
        EXPECT_TRUE(Near(Edges.Edge(3).StartPoint(), S0.EndPoint())) << Case;
        EXPECT_TRUE(Near(S2.StartPoint(), S0.StartPoint())) << Case;
        EXPECT_TRUE(Near(CrossAt(Edges.Edge(1), 0), Tangent(S0, false))) << Case;
        EXPECT_TRUE(Near(CrossAt(Edges.Edge(1), 1), Tangent(S2, false))) << Case;
        EXPECT_TRUE(Near(CrossAt(Edges.Edge(3), 0), VectorNegate(Tangent(S0, true)))) << Case;
        EXPECT_TRUE(Near(CrossAt(Edges.Edge(3), 1), VectorNegate(Tangent(S2, true)))) << Case;
    }
}

TEST(PatchEdges, ATangentAlongTheRibbonGivesTheStraightCrossDerivativeAndAConsoleLine) {
    TPatchFaceFixture F(Quad, {0, 1, 2, 3});
    // The ribbon of side 0 (edge 1 -> 0) runs along the edge at corner 1.
    F.SetRibbon(0, 1, {{0, 1, 0}, {-1, 0, 0}});
    TConsoleLines Console;
    TXTPatchEdges Edges;
    Edges.Build(*F.Face, TXTSurfaceOptions{});
    TXTPatchEdge& S0 = Edges.Edge(0);
    const std::string Expected =
        "TXTPatchEdge.GenerateCrossDerivative - Solve3DPlaneEquation failed at (     2.000,      0.000,      0.000)";
    EXPECT_NE(std::find(Console.Lines.begin(), Console.Lines.end(), Expected), Console.Lines.end());
    EXPECT_EQ(S0.CrossDerivative().Order(), 2);
    ASSERT_EQ(S0.CrossDerivative().Count(), 2);
    EXPECT_TRUE(Near(CrossAt(S0, 0), Tangent(Edges.Edge(1), false)));
    EXPECT_TRUE(Near(CrossAt(S0, 1), Tangent(Edges.Edge(3), false)));
}

TEST(PatchEdges, TwistCompatibilityMakesTheCornerTwistsAgreeOnlyWhenAskedAndNeeded) {
    struct TCase {
        const char* Name;
        bool Force;
        double Angle;
        bool Repairs;
    };
    const TCase Cases[] = {
        {"off", false, 0.017453292519943295, false},
        {"on", true, 0.017453292519943295, true},
        {"on, angle of older files", true, 0.0, false},
        {"on, wide angle", true, 3.0, false},
    };
    for (const TCase& C : Cases) {
        // A ribbon turning along one side: its cross derivative bends, and its estimates of the
        // twists at corners 0 and 1 disagree with those of the sides across.
        TPatchFaceFixture F(Quad, {0, 1, 2, 3});
        F.SetRibbon(0, 1, {{0, 1, 0}, VectorNormalise({-1, 1, 0})});
        TXTSurfaceOptions Options;
        Options.ForceTwistCompatibility = C.Force;
        Options.TwistCompatibilityAngle = C.Angle;
        TXTPatchEdges Plain;
        Plain.Build(*F.Face, TXTSurfaceOptions{});
        TXTPatchEdges Edges;
        Edges.Build(*F.Face, Options);
        int Inserted = 0;
        for (int I = 0; I < 4; ++I) {
            TXTPatchEdge& E = Edges.Edge(I);
            Inserted += E.PointCount() - Plain.Edge(I).PointCount();
            EXPECT_EQ(E.CrossDerivative().Count() - Plain.Edge(I).CrossDerivative().Count(),
                      E.PointCount() - Plain.Edge(I).PointCount())
                << C.Name;
            if (!C.Force) {
                EXPECT_TRUE(Near(E.StartTwist, ZeroVector) && Near(E.EndTwist, ZeroVector)) << C.Name;
            }
            // The side curves keep their shape whatever was inserted.
            for (double S : {0.2, 0.5, 0.9}) {
                TMVector P, Q, D;
                E.PointAt(S, P, D);
                Plain.Edge(I).PointAt(S, Q, D);
                EXPECT_TRUE(Near(P, Q, 1e-9)) << C.Name;
            }
            if (C.Repairs) {
                // Every end now has the twist asked of it (within the angle where nothing was done).
                EXPECT_LE(VectorAngle(E.StartTwistEstimate(), E.StartTwist), 0.0175) << C.Name << I;
                EXPECT_LE(VectorAngle(E.EndTwistEstimate(), E.EndTwist), 0.0175) << C.Name << I;
            }
        }
        EXPECT_EQ(Inserted > 0, C.Repairs) << C.Name;
    }
}

TEST(PatchEdges, CollapsingNeedsBothFinsAtTheVertex) {
    TPatchFaceFixture F(Quad, {0, 1, 2, 3});
    TXTPatchEdge Side(nullptr, 1);
    TFin* At1 = F.Fin(0, 1);   // head 1
    TFin* From1 = F.Fin(1, 2); // its other fin has head 1
    TFin* Far = F.Fin(2, 3);
    const struct {
        TFin* Start;
        TFin* End;
        const char* Message;
    } Cases[] = {
        {nullptr, From1, "TXTPatchEdge.Assign - AStartFin or AEndFin not assigned"},
        {At1, nullptr, "TXTPatchEdge.Assign - AStartFin or AEndFin not assigned"},
        {Far, From1, "TXTPatchEdge.Assign - AStartFin or Adjacent Fin does not connect to vertex"},
        {At1, Far, "TXTPatchEdge.Assign - AEndFin or Adjacent Fin does not connect to vertex"},
    };
    for (const auto& C : Cases) {
        try {
            Side.Assign(*F.Vertex(1), C.Start, C.End);
            ADD_FAILURE() << C.Message;
        } catch (const EGeometryError& E) {
            EXPECT_STREQ(E.what(), C.Message);
        }
    }
    Side.Assign(*F.Vertex(1), At1, From1);
    EXPECT_EQ(Side.Collapsed, 1);
    EXPECT_TRUE(Near(CrossAt(Side, 0), {-2, 0, 0}));
    EXPECT_TRUE(Near(CrossAt(Side, 1), {0.5, 1.5, 0}));

    // A face whose loop is broken is refused rather than followed.
    TFin* Broken = F.Fin(1, 2);
    TFin* Next = Broken->NextFin;
    Broken->NextFin = nullptr;
    TXTPatchEdges Edges;
    try {
        Edges.Build(*F.Face, TXTSurfaceOptions{});
        ADD_FAILURE();
    } catch (const EGeometryError& Error) {
        EXPECT_STREQ(Error.what(), "TXTPatchEdges.Build - Open Fin Cycle Found");
    }
    Broken->NextFin = Next;

    TManifold Plain;
    TEdge* E = Plain.AddEdge(Plain.AddVertex({0, 0, 0}), Plain.AddVertex({1, 0, 0}));
    try {
        Side.Assign(*E->Fin1());
        ADD_FAILURE();
    } catch (const EGeometryError& Error) {
        EXPECT_STREQ(Error.what(), "TXTEdgeGeometry.Assign - Fin did not connect to a TXTEdge");
    }
}

TEST(PatchEdges, DrawingShowsHairsAndNormalsOnTheSideOfTheSurfaceNormal) {
    TPatchFaceFixture F({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {1, 0, 3, 2});
    TXTPatchEdges Edges;
    Edges.Build(*F.Face, TXTSurfaceOptions{});
    // u runs along x and v along y: Su x Sv is +z, and every side's normals must say so.
    for (int I = 0; I < 4; ++I) {
        TRecordingGraphics G;
        Edges.Edge(I).DrawNormals(G, 2.0);
        ASSERT_EQ(G.Calls.size(), 201u) << I;
        for (const TGraphicsCall& C : G.Calls) {
            ASSERT_EQ(C.Name, "LineVectors");
            if (C.Points[0].Z == 0) {
                EXPECT_TRUE(Near(VectorFromTo(C.Points[0], C.Points[1]), {0, 0, 2})) << I;
            }
        }
        TRecordingGraphics R;
        Edges.Edge(I).DrawRibbon(R, 1.0);
        EXPECT_EQ(R.Calls.size(), 201u) << I;
        TRecordingGraphics D;
        Edges.Edge(I).DrawCrossDerivative(D);
        ASSERT_EQ(D.Calls.size(), 101u) << I;
        EXPECT_NEAR(VectorDistance(D.Calls[50].Points[0], D.Calls[50].Points[1]), 0.33, 1e-12) << I;
    }
}
