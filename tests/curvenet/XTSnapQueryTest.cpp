#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "curvenet/XTConstraints.h"
#include "curvenet/XTCurve.h"
#include "curvenet/XTReferencePoints.h"
#include "curvenet/XTSnapQuery.h"
#include "tests/curvenet/CurveDocument.h"
#include "tests/document/CurveFixtures.h"
#include "tests/foundation/VkMathsExpect.h"

using namespace sarnova;
using sarnova::test::TCurveDocument;

namespace {

using TPlan = sarnova::test::TPlanView;

// Selects vertex Index of Curve alone and asks what it snaps to at (X, Y).
struct TDrag {
    TXTSnapQuery Query;
    TXTSnapTarget Result;
    TDrag(TXTCurve* Curve, int Index, TPlan& G) : Query(Curve, soVertices | soCurves, G) {
        for (int I = 0; I < Curve->PointCount(); ++I) Curve->PointAt(I)->Selected = I == Index;
    }
    const TXTSnapTarget& At(double X, double Y) {
        Query.Query({static_cast<int>(std::lround(X)), static_cast<int>(std::lround(Y))}, {X, Y, 0}, Result);
        return Result;
    }
};

// Drags vertex Index of Curve to (X, Y) and lets go there, seeing only the curves Filter accepts; the
// kind of snap applied.
std::uint8_t Release(TXTCurve* Curve, int Index, double X, double Y, TPlan& G, std::uint8_t Options,
                     std::function<bool(TXTNode*)> Filter = {}) {
    TDrag D(Curve, Index, G);
    D.Query.Options = Options;
    D.Query.OnFilter = std::move(Filter);
    Curve->ApplySnap(D.At(X, Y));
    return D.Result.Kind;
}

}  // namespace

TEST(XTSnapQuery, AnswersOnlyForASingleSelectedVertex) {
    TCurveDocument Doc;
    TPlan G;
    TXTCurve* A = Doc.Add("A", {{0, 0, 0}, {50, 0, 0}, {100, 0, 0}});
    Doc.Add("B", {{100, -50, 0}, {100, 50, 0}, {150, 80, 0}});
    TXTSnapQuery Q(A, soVertices | soCurves, G);
    TXTSnapTarget R;
    for (int Selected : {0, 2}) {
        for (int I = 0; I < A->PointCount(); ++I) A->PointAt(I)->Selected = I < Selected;
        Q.Query({100, 0}, {100, 0, 0}, R);
        EXPECT_EQ(R.Kind, skNone) << Selected << " selected";
        EXPECT_EQ(R.Curve, nullptr);
        EXPECT_TRUE(Q.Targets().empty());
        EXPECT_EQ(Q.Cursor(), 0);
    }
}

TEST(XTSnapQuery, VertexBeatsNearerCurveAndNearerCurveWinsBetweenCurves) {
    TCurveDocument Doc;
    TPlan G;
    TXTCurve* A = Doc.Add("A", {{0, 0, 0}, {50, 0, 0}, {100, 0, 0}});
    TXTCurve* Far = Doc.Add("Far", {{150, -50, 0}, {150, 0, 0}, {170, 50, 0}});   // vertex 20 px away
    TXTCurve* Near = Doc.Add("Near", {{132, -80, 0}, {132, -40, 0}, {132, 80, 0}});  // passes 2 px away
    TDrag D(A, 2, G);
    const TXTSnapTarget& R = D.At(130, 0);
    EXPECT_EQ(R.Kind, skVertex);
    EXPECT_EQ(R.Curve, Far);
    EXPECT_EQ(R.VertexIndex, 1);
    EXPECT_EQ(R.Point, A->PointAt(2));
    EXPECT_EQ(R.WorldPosition, (TMVector{150, 0, 0}));
    EXPECT_EQ(D.Query.Cursor(), crSnapPending);

    // Without vertex snaps the two curves compete by distance from the cursor's 3-D position.
    D.Query.Options = soCurves;
    D.At(128, 0);
    EXPECT_EQ(D.Result.Kind, skCurve);
    EXPECT_EQ(D.Result.Curve, Near);
    EXPECT_TRUE(IsValidAddress(D.Result.Address));
    EXPECT_NEAR(D.Result.WorldPosition.X, 132, 1.0);
    D.At(145, 0);
    EXPECT_EQ(D.Result.Curve, Far);

    // Beyond 30 px of everything a plain vertex stays as it is.
    D.Query.Options = soVertices | soCurves;
    EXPECT_EQ(D.At(300, 300).Kind, skNone);
    EXPECT_EQ(D.Query.Cursor(), 0);
    EXPECT_FALSE(D.Query.IsDetaching());
}

TEST(XTSnapQuery, FreeControlPointsAreNoVertexSnaps) {
    TCurveDocument Doc;
    TPlan G;
    TXTCurve* A = Doc.Add("A", {{0, 0, 0}, {50, 0, 0}, {100, 0, 0}});
    TXTCurve* B = Doc.Add("B", {{100, -50, 0}, {110, 0, 0}, {100, 50, 0}}, false);
    B->Regenerate();
    ASSERT_EQ(B->PointAt(1)->State, psFree);
    TDrag D(A, 2, G);
    D.At(110, 0);
    EXPECT_NE(D.Result.Kind, skVertex);
}

TEST(XTSnapQuery, CurvesRestingOnTheDraggedOneAreNoCandidates) {
    TCurveDocument Doc;
    TPlan G;
    TXTCurve* A = Doc.Add("A", {{0, 0, 0}, {50, 0, 0}, {100, 0, 0}});
    TXTCurve* B = Doc.Add("B", {{50, 0, 0}, {50, 50, 0}, {50, 100, 0}});
    ASSERT_EQ(Release(B, 0, 50, 0, G, soVertices), skVertex);
    ASSERT_TRUE(B->PointAt(0)->IsReferencePoint());

    TDrag D(A, 2, G);
    D.At(50, 40);
    EXPECT_EQ(D.Result.Kind, skNone);
    EXPECT_TRUE(D.Query.Targets().empty());

    std::vector<std::string> Names{"old"};
    FillCurveNameList(Names, *A, true);
    EXPECT_EQ(Names, (std::vector<std::string>{"<none>"}));
    FillCurveNameList(Names, *B, false);
    EXPECT_EQ(Names, (std::vector<std::string>{"A"}));
}

TEST(XTSnapQuery, BeadStaysOnItsHostAndDetachesFarFromEveryCurve) {
    TCurveDocument Doc;
    TPlan G;
    TXTCurve* Host = Doc.Add("Host", {{0, 0, 0}, {50, 0, 0}, {100, 0, 0}});
    TXTCurve* A = Doc.Add("A", {{20, 0, 0}, {20, 50, 0}, {20, 100, 0}});
    ASSERT_EQ(Release(A, 0, 20, 0, G, soCurves), skCurve);
    ASSERT_NE(dynamic_cast<TXTBead*>(A->PointAt(0)), nullptr);
    ASSERT_EQ(static_cast<TXTBead*>(A->PointAt(0))->GetTargetNode(), Host);

    TDrag D(A, 0, G);
    D.At(30, 3);
    EXPECT_EQ(D.Result.Kind, skNone);
    EXPECT_EQ(D.Result.Point, A->PointAt(0));
    EXPECT_EQ(D.Query.Cursor(), 0);

    D.At(40, 200);
    EXPECT_EQ(D.Result.Kind, skDetach);
    EXPECT_EQ(D.Result.Point, A->PointAt(0));
    EXPECT_EQ(D.Result.WorldPosition, (TMVector{40, 200, 0}));
    EXPECT_EQ(D.Result.ScreenPosition, (TPoint{40, 200}));
    EXPECT_TRUE(D.Query.IsDetaching());
    EXPECT_EQ(D.Query.Cursor(), crDetachPending);
}

TEST(XTSnapQuery, PlanarCurveSnapsWhereTheTargetCrossesItsPlane) {
    TCurveDocument Doc;
    TPlan G;
    // A lies in the plane x = 0 through its first vertex.
    TXTCurve* A = Doc.Add("A", {{0, 0, 0}, {0, 50, 0}, {0, 100, 0}});
    AddPlaneConstraint(*A);
    A->Constraints().PlaneConstraint()->SetDirection(pdX);
    // B runs along x through y = 110 and has a vertex at (5, 110).
    TXTCurve* B = Doc.Add("B", {{-100, 110, 0}, {5, 110, 0}, {100, 110, 0}});

    TDrag D(A, 2, G);
    D.At(8, 110);
    EXPECT_EQ(D.Result.Kind, skCurve) << "no vertex snap away from the first vertex";
    EXPECT_EQ(D.Result.Curve, B);
    EXPECT_NEAR(D.Result.WorldPosition.X, 0, 1e-3);
    EXPECT_NEAR(D.Result.WorldPosition.Y, 110, 1e-3);

    TDrag First(A, 0, G);
    First.At(8, 110);
    EXPECT_EQ(First.Result.Kind, skVertex);
    EXPECT_EQ(First.Result.VertexIndex, 1);
}

TEST(XTSnapQuery, SharedVertexIsReachedThroughTheFirstCurveThatTookIt) {
    TCurveDocument Doc;
    TPlan G;
    TXTCurve* Host = Doc.Add("Host", {{0, 0, 0}, {50, 0, 0}, {100, 0, 0}});
    TXTCurve* First = Doc.Add("First", {{50, 0, 0}, {50, 50, 0}, {50, 100, 0}});
    TXTCurve* Later = Doc.Add("Later", {{50, 0, 0}, {100, 50, 0}, {150, 50, 0}});
    TXTCurve* A = Doc.Add("A", {{0, 200, 0}, {30, 150, 0}, {45, 5, 0}});

    Release(First, 0, 50, 0, G, soVertices, [Host](TXTNode* N) { return N == Host; });
    ASSERT_NE(dynamic_cast<TXTPointIndexReference*>(First->PointAt(0)), nullptr);

    // Onto the host's vertex: through First, which took it before.
    TDrag D(Later, 0, G);
    D.Query.OnFilter = [Host](TXTNode* N) { return N == Host; };
    D.At(50, 0);
    EXPECT_EQ(D.Result.Kind, skVertex);
    EXPECT_EQ(D.Result.Curve, First);
    EXPECT_EQ(D.Result.VertexIndex, 0);
    Later->ApplySnap(D.Result);

    ASSERT_EQ(static_cast<TXTReferencePoint*>(Later->PointAt(0))->GetTargetNode(), First);

    // Onto Later's reference, which repeats First's: the answer is First's, whose target is a plain vertex.
    TDrag E(A, 2, G);
    E.Query.OnFilter = [Later](TXTNode* N) { return N == Later; };
    E.At(48, 2);
    EXPECT_EQ(E.Result.Kind, skVertex);
    EXPECT_EQ(E.Result.Curve, First);
    EXPECT_EQ(E.Result.VertexIndex, 0);
    EXPECT_EQ(static_cast<TXTReferencePoint*>(First->PointAt(0))->GetTargetNode(), Host);
}

// In a plane view a curve running along the line of sight is one pixel for every depth: a vertex
// snapped onto it stays at the view's depth (a station drawn in the body plan lands on the keel at
// its own station), while a curve lying at the view's depth keeps the place under the cursor.
TEST(XTSnapQuery, InAPlaneViewACurveSnapKeepsTheViewsDepth) {
    TCurveDocument Doc;
    TPlan G;  // looks along z
    Doc.Add("Keel", {{50, 0, -100}, {50, 0, -20}, {50, 0, 40}, {50, 0, 100}});
    TXTCurve* Station = Doc.Add("Station", {{0, 40, 30}, {20, 20, 30}, {40, 5, 30}});
    for (int I = 0; I < Station->PointCount(); ++I) Station->PointAt(I)->Selected = I == 2;
    TXTSnapQuery Q(Station, soCurves, G);
    TXTSnapTarget R;
    Q.Query({50, 0}, {50, 0, 30}, R);
    ASSERT_EQ(R.Kind, skCurve);
    EXPECT_EQ(R.Curve->GetName(), "Keel");
    ExpectNear(R.WorldPosition, {50, 0, 30}, 1e-6);

    TXTCurve* Flat = Doc.Add("Flat", {{60, -30, 30}, {60, 30, 30}});
    Q.Query({61, 10}, {61, 10, 30}, R);
    ASSERT_EQ(R.Kind, skCurve);
    EXPECT_EQ(R.Curve, Flat);
    EXPECT_NEAR(R.WorldPosition.Z, 30, 1e-9);
    EXPECT_NEAR(R.WorldPosition.Y, 10, 0.5);  // the digitised place nearest the cursor
}
