#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "curvenet/XTCurve.h"
#include "document/Settings.h"
#include "foundation/BSpline.h"
#include "foundation/Errors.h"
#include "platform/RecordingGraphics.h"

using namespace sarnova;

namespace {

void ExpectVector(const TMVector& V, double X, double Y, double Z, const std::string& What = "") {
    EXPECT_NEAR(V.X, X, 1e-9) << What;
    EXPECT_NEAR(V.Y, Y, 1e-9) << What;
    EXPECT_NEAR(V.Z, Z, 1e-9) << What;
}

void AddPoints(TXTCurve& Curve, const std::vector<TMVector>& Points) {
    for (const TMVector& P : Points) Curve.AddPointAt(P);
}

// Counts what a node resting on the curve hears from it.
struct TListener {
    explicit TListener(TXTCurve& Curve) : Ref(&Owner) {
        Ref.OnMessage = [this](TXTMessage& M) {
            Reparameterisations += dynamic_cast<TXTCurveReparameterisationMessage*>(&M) != nullptr;
            Ribbons += dynamic_cast<TXTRibbonTangentChangeMessage*>(&M) != nullptr;
        };
        Ref.SetTarget(&Curve);
    }
    TXTNode Owner;
    TXTReference Ref;
    int Reparameterisations = 0;
    int Ribbons = 0;
};

// Sets the program's elastic mode for one test.
struct TElasticMode {
    explicit TElasticMode(std::uint8_t Mode) : Old(GElasticMode) { GElasticMode = Mode; }
    ~TElasticMode() { GElasticMode = Old; }
    std::uint8_t Old;
};

}  // namespace

TEST(XTCurve, InterpolatedPointBetweenFreeOnesSplitsTheCurve) {
    TXTCurve Curve;
    Curve.SetName("C");
    AddPoints(Curve, {{0, 0, 0}, {1, 0, 0}, {2, 1, 0}, {3, 0, 0}, {4, 0, 0}});
    auto I = std::make_unique<TXTInterpolateConstraint>();
    I->Vertex = 2;
    Curve.Constraints().Add(std::move(I));

    TMVector V;
    Curve.F(MakeBeadAddress(1, 0.0), V);  // regenerates
    ASSERT_EQ(Curve.Segments().Count(), 2);
    const TXTSegment* A = Curve.Segments().Items(0);
    const TXTSegment* B = Curve.Segments().Items(1);
    EXPECT_EQ(A->First()->Index(), 0);
    EXPECT_EQ(A->Last()->Index(), 2);
    EXPECT_EQ(B->First()->Index(), 2);
    EXPECT_EQ(B->Last()->Index(), 4);
    TMVector C;
    A->Spline().PointAt(A->Spline().Count() - 2, C);
    ExpectVector(C, 1.5, 1, 0, "before vertex 2");
    B->Spline().PointAt(1, C);
    ExpectVector(C, 2.5, 1, 0, "after vertex 2");

    Curve.F(MakeBeadAddress(1, B->MinT()), V);
    ExpectVector(V, 2, 1, 0, "start of span 1");
    Curve.F(MakeBeadAddress(2, 0.0), V);
    ExpectVector(V, 4, 0, 0, "far end");

    const std::pair<TBeadAddress, const char*> Bad[] = {
        {{2, 0.5}, "TXTCurve.F(ABeadAddress) - SegmentIndex out of bounds [C;2:0.50]"},
        {{-1, 0.0}, "TXTCurve.F(ABeadAddress) - SegmentIndex out of bounds [C;-1:0.00]"},
        {{3, 0.0}, "TXTCurve.F(ABeadAddress) - SegmentIndex out of bounds [C;3:0.00]"}};
    for (auto [Address, Message] : Bad) {
        try {
            Curve.F(Address, V);
            ADD_FAILURE() << Message;
        } catch (const EError& E) {
            EXPECT_EQ(std::string(E.what()), Message);
        }
    }
    TFrenetFrame Frame;
    try {
        Curve.Frenet(MakeBeadAddress(2, 0.5), Frame);
        ADD_FAILURE();
    } catch (const EError& E) {
        EXPECT_EQ(std::string(E.what()), "TXTCurve.Frenet(ABeadAddress) - SegmentIndex out of bounds [C;2:0.50]");
    }

    // Addresses of the points, and the end of a span read as the start of the next.
    TBeadAddress At;
    Curve.AddressOfPoint(2, At);
    EXPECT_EQ(At, MakeBeadAddress(0, A->MaxT()));
    Curve.AddressOfPoint(4, At);
    EXPECT_EQ(At, MakeBeadAddress(1, B->MaxT()));
    Curve.AddressOfPoint(1, At);
    EXPECT_EQ(At.SegmentIndex, 0);
    EXPECT_GT(At.T, A->MinT());
    EXPECT_LT(At.T, A->MaxT());
    // A deleted point is in no span once the curve has caught up.
    Curve.DeletePoint(3);
    Curve.AddressOfPoint(3, At);
    EXPECT_EQ(At, MakeBeadAddress(1, Curve.Segments().Items(1)->MaxT()));
    A = Curve.Segments().Items(0);
    TBeadAddress End = MakeBeadAddress(0, A->MaxT() - 1e-9);
    Curve.NormaliseAddress(End);
    EXPECT_EQ(End, MakeBeadAddress(1, 0.0));
    TBeadAddress Inside = MakeBeadAddress(0, A->MaxT() - 1e-6);
    Curve.NormaliseAddress(Inside);
    EXPECT_EQ(Inside.SegmentIndex, 0);
}

TEST(XTCurve, RegeneratesOncePerChange) {
    TXTCurve Curve;
    AddPoints(Curve, {{0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {3, 1, 0}});
    TListener L(Curve);
    int Rebuilds = 0;
    Curve.OnRegenerated = [&](TXTCurve*) { ++Rebuilds; };
    TMVector V;
    for (int I = 0; I < 3; ++I) Curve.F(MakeBeadAddress(0, 0.0), V);
    EXPECT_EQ(Rebuilds, 1);
    EXPECT_EQ(L.Reparameterisations, 1);

    // A moved point refits the spans it is in: no new spans, no reparameterisation.
    const TXTSegment* Span = Curve.Segments().Items(0);
    Curve.PointAt(1)->SetPosition({1, 2, 0});
    EXPECT_EQ(Curve.DirtyLevel(), dlGeometry);
    for (int I = 0; I < 3; ++I) Curve.F(MakeBeadAddress(0, 0.0), V);
    EXPECT_EQ(Rebuilds, 2);
    EXPECT_EQ(L.Reparameterisations, 1);
    EXPECT_EQ(Curve.Segments().Items(0), Span);

    // An inserted point rebuilds the spans, with one reparameterisation.
    Curve.InsertPointAt(2, {1.5, 1, 0});
    Curve.InsertPointAt(2, {1.4, 1, 0});
    EXPECT_EQ(Curve.DirtyLevel(), dlSpans);
    for (int I = 0; I < 3; ++I) Curve.Regenerate();
    EXPECT_EQ(Rebuilds, 3);
    EXPECT_EQ(L.Reparameterisations, 2);

    // Setting what is already set changes nothing.
    Curve.SetOptions(0);
    Curve.SetRibbonKind(rkNone);
    EXPECT_TRUE(Curve.IsUpToDate());
    EXPECT_EQ(L.Ribbons, 0);
    Curve.SetRibbonKind(rkZ);
    EXPECT_EQ(L.Ribbons, 1);
    EXPECT_EQ(Curve.DirtyLevel(), dlSpans);
    Curve.Regenerate();
    Curve.SetOptions(coFitChordLength);
    EXPECT_EQ(Curve.DirtyLevel(), dlSpans);
    Curve.Regenerate();
    EXPECT_TRUE(Curve.Segments().FitChordLength);
    EXPECT_EQ(L.Reparameterisations, 4);
}

TEST(XTCurve, ElasticModeSpreadsADraggedVertex) {
    // Uneven spacing, so that the weights show: vertex 1 sits a quarter of the way to vertex 2.
    auto Drag = [](std::uint8_t Mode, bool Disabled) {
        TElasticMode Setting(Mode);
        TXTCurve Curve;
        Curve.ElasticDisabled = Disabled;
        AddPoints(Curve, {{0, 0, 0}, {1, 0, 0}, {4, 0, 0}, {7, 0, 0}, {8, 0, 0}});
        Curve.Regenerate();
        Curve.PointAt(2)->SetPosition({4, 1, 0});
        Curve.Regenerate();
        std::vector<double> Y;
        for (int I = 0; I < Curve.PointCount(); ++I) Y.push_back(Curve.PointAt(I)->GetPosition().Y);
        return Y;
    };
    // u = 1/4: e = 2u^3 - 3u^2 + 1 = 0.84375 of the fixed end, 0.15625 of the dragged one.
    const std::vector<double> Spread{0, 0.15625, 1, 0.15625, 0};
    const std::vector<double> Alone{0, 0, 1, 0, 0};
    EXPECT_EQ(Drag(2, false), Spread);
    EXPECT_EQ(Drag(1, false), Alone);  // a plain point: mode 1 reacts to moves from the host curves only
    EXPECT_EQ(Drag(0, false), Alone);
    EXPECT_EQ(Drag(2, true), Alone);
}

TEST(XTCurve, ElasticModeFollowsAReferencePointMovedByItsHost) {
    class TResting : public TXTPoint {
    public:
        bool IsReferencePoint() const override { return true; }
    };
    auto Move = [](std::uint8_t Mode, bool Selected) {
        TElasticMode Setting(Mode);
        TXTCurve Curve;
        AddPoints(Curve, {{0, 0, 0}, {1, 0, 0}});
        auto Resting = std::make_unique<TResting>();
        Resting->SetPosition({2, 0, 0});
        Curve.InsertPoint(2, std::move(Resting));
        AddPoints(Curve, {{3, 0, 0}, {4, 0, 0}});
        Curve.Regenerate();
        Curve.PointAt(2)->Selected = Selected;
        Curve.PointAt(2)->SetPosition({2, 2, 0});
        Curve.Regenerate();
        return Curve.PointAt(1)->GetPosition().Y;
    };
    EXPECT_DOUBLE_EQ(Move(1, false), 1.0);  // u = 1/2: half the move
    EXPECT_DOUBLE_EQ(Move(1, true), 0.0);   // the user dragged it
    EXPECT_DOUBLE_EQ(Move(2, true), 1.0);
}

TEST(XTCurve, AssignCopiesConstraintsRibbonAndOptions) {
    TXTCurve Source;
    AddPoints(Source, {{0, 0, 0}, {1, 1, 0}, {2, 0, 0}});
    auto K = std::make_unique<TXTKnuckleConstraint>();
    K->Vertex = 1;
    Source.Constraints().Add(std::move(K));
    Source.SetRibbonKind(rkY);
    Source.SetOptions(coSurfaceBoundary);
    TXTCurve Copy;
    Copy.Assign(Source);
    ASSERT_EQ(Copy.Constraints().Count(), 1);
    EXPECT_EQ(static_cast<TXTKnuckleConstraint*>(Copy.Constraints().Items(0))->Vertex, 1);
    EXPECT_EQ(Copy.Constraints().Items(0)->Curve(), &Copy);
    EXPECT_EQ(Copy.GetRibbonKind(), rkY);
    EXPECT_EQ(Copy.Options(), coSurfaceBoundary);
    EXPECT_EQ(Copy.DirtyLevel(), dlSpans);
    Copy.Regenerate();
    EXPECT_EQ(Copy.PointAt(1)->State, psKnuckle);
}

TEST(XTCurve, SubCurveAndJoinedSplineFollowTheCurve) {
    TXTCurve Curve;
    AddPoints(Curve, {{0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {3, 1, 0}, {4, 0, 0}, {5, 1, 0}});
    auto K = std::make_unique<TXTKnuckleConstraint>();
    K->Vertex = 2;
    Curve.Constraints().Add(std::move(K));
    auto K2 = std::make_unique<TXTKnuckleConstraint>();
    K2->Vertex = 4;
    Curve.Constraints().Add(std::move(K2));
    Curve.Regenerate();
    ASSERT_EQ(Curve.Segments().Count(), 3);

    auto Mid = [&](int S) {
        const TXTSegment* Span = Curve.Segments().Items(S);
        return MakeBeadAddress(S, (Span->MinT() + Span->MaxT()) / 2);
    };
    const std::pair<TBeadAddress, TBeadAddress> Cases[] = {
        {Mid(0), Mid(0)}, {Mid(0), Mid(1)}, {Mid(0), Mid(2)}, {MakeBeadAddress(0, 0.0), MakeBeadAddress(3, 0.0)}};
    for (auto [From, To] : Cases) {
        if (From == To) To.T = Curve.Segments().Items(0)->MaxT();
        std::unique_ptr<TXTBSpline> Part = Curve.SubCurve(From, To);
        TMVector A, B, First, Last;
        Curve.F(From, A);
        Curve.F(To, B);
        Part->FirstPoint(First);
        Part->LastPoint(Last);
        const std::string What = std::to_string(From.SegmentIndex) + ".." + std::to_string(To.SegmentIndex);
        ExpectVector(First, A.X, A.Y, A.Z, What + " start");
        ExpectVector(Last, B.X, B.Y, B.Z, What + " end");
        // The knuckle inside the part stays on it, as a control point where the pieces join.
        if (From.SegmentIndex == 0 && To.SegmentIndex >= 1) {
            bool Found = false;
            for (int I = 0; I < Part->Count() && !Found; ++I) {
                TMVector P;
                Part->PointAt(I, P);
                Found = VectorDistance(P, {2, 0, 0}) < 1e-9;
            }
            EXPECT_TRUE(Found) << What;
        }
    }
    EXPECT_THROW(Curve.SubCurve(MakeBeadAddress(0, 0.0), MakeBeadAddress(4, 0.0)), EError);

    TBSpline Joined;
    Curve.ToBSpline(Joined);
    ExpectVector(Joined.EvaluatePoint(Joined.MinT()), 0, 0, 0, "joined start");
    ExpectVector(Joined.EvaluatePoint(Joined.MaxT()), 5, 1, 0, "joined end");
}

TEST(XTCurve, RibbonIsDrawnAcrossTheCurve) {
    TXTCurve Curve;
    AddPoints(Curve, {{0, 2, 0}, {4, 2, 0}});
    TRecordingGraphics G;
    Curve.DrawRibbon(G, 0.5);
    EXPECT_TRUE(G.Calls.empty());  // no ribbon kind
    Curve.SetRibbonKind(rkZ);
    Curve.DrawRibbon(G, 0.5);
    // Ten lines per control point of the one span; the plane holds the tangent and Z, so the lines run
    // along T x N = X x Y = Z.
    ASSERT_EQ(G.Calls.size(), 10u * Curve.Segments().Items(0)->Spline().Count());
    ASSERT_EQ(G.Calls[0].Points.size(), 2u);
    ExpectVector(G.Calls[0].Points[0], 0, 2, -0.5, "from");
    ExpectVector(G.Calls[0].Points[1], 0, 2, 0.5, "to");
}

TEST(XTCurve, DetachingSnapLeavesAPlainPointAtTheAnswer) {
    class TResting : public TXTPoint {
    public:
        bool IsReferencePoint() const override { return true; }
    };
    TXTCurve Curve;
    AddPoints(Curve, {{0, 0, 0}, {2, 0, 0}});
    TXTPoint* Resting = Curve.InsertPoint(1, std::make_unique<TResting>());
    Curve.Regenerate();

    TXTSnapTarget Snap;
    Snap.Point = Resting;
    Snap.WorldPosition = {1, 3, 0};
    Snap.Kind = skNone;
    Curve.ApplySnap(Snap);
    EXPECT_TRUE(Curve.IsUpToDate());
    EXPECT_EQ(Curve.PointAt(1), Resting);

    Snap.Kind = skDetach;
    Curve.ApplySnap(Snap);
    EXPECT_FALSE(Curve.PointAt(1)->IsReferencePoint());
    ExpectVector(Curve.PointAt(1)->GetPosition(), 1, 3, 0);
    EXPECT_EQ(Curve.DirtyLevel(), dlSpans);
    Curve.Regenerate();
    EXPECT_EQ(Curve.Segments().Items(0)->Count(), 3);
}

TEST(XTCurve, ReversingKeepsTheShapeWhateverTheElasticMode) {
    TElasticMode Setting(2);
    TXTCurve Curve;
    AddPoints(Curve, {{0, 0, 0}, {1, 0, 0}, {2, 1, 0}, {5, 0, 0}, {6, 0, 0}});
    Curve.Regenerate();
    Curve.ReversePoints();
    Curve.Regenerate();
    const double X[] = {6, 5, 2, 1, 0};
    for (int I = 0; I < 5; ++I) EXPECT_EQ(Curve.PointAt(I)->GetPosition().X, X[I]) << I;
}

TEST(XTCurve, InterpolatedPointsLieAtTheirAddresses) {
    TXTCurve Curve;
    AddPoints(Curve, {{0, 0, 0}, {1, 2, 0}, {3, 1, 1}, {4, 3, 0}, {6, 0, 0}});
    Curve.Constraints().Add(std::make_unique<TXTCubicSplineConstraint>());
    for (int I = 0; I < Curve.PointCount(); ++I) {
        TBeadAddress At;
        Curve.AddressOfPoint(I, At);
        ASSERT_EQ(At.SegmentIndex, 0) << I;
        TMVector V;
        Curve.F(At, V);
        const TMVector P = Curve.PointAt(I)->GetPosition();
        ExpectVector(V, P.X, P.Y, P.Z, std::to_string(I));
    }
    TBeadAddress None;
    Curve.AddressOfPoint(5, None);
    EXPECT_EQ(None, InvalidBeadAddress);
}
