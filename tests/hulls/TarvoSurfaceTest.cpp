#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "foundation/Errors.h"
#include "foundation/TextFile.h"
#include "hulls/TarvoSurface.h"

using namespace sarnova;

namespace {

// A section at station X: N points up the side, Y = Width, Z from 0 to N - 1.
std::unique_ptr<TTarvoCurve> Section(const std::string& Name, double X, double Width, int N = 4,
                                     TSurfaceOperation Op = soControl) {
    auto C = std::make_unique<TTarvoCurve>();
    C->Name = Name;
    for (int j = 0; j < N; ++j) C->AddPointVector({X, Width + 0.1 * j, static_cast<double>(j)});
    C->SetSurfaceOperation(Op);
    return C;
}

void ExpectPoint(const TRPoint& P, const TMVector& V, double Tol = 1e-9) {
    EXPECT_NEAR(P.X, V.X, Tol);
    EXPECT_NEAR(P.Y, V.Y, Tol);
    EXPECT_NEAR(P.Z, V.Z, Tol);
}

}  // namespace

TEST(TarvoSurface, ThreeCurvesLoftThroughTheRowSplineMidpoint) {
    // Given out of order, the middle one drawn downwards: the loft sorts and turns them.
    auto Aft = Section("Aft", -10, 1);
    auto Mid = Section("Mid", 0, 2);
    Mid->Reverse();
    auto Fore = Section("Fore", 10, 1);
    TTarvoSurface S;
    S.ReferenceCurves().Add(Aft.get());
    S.ReferenceCurves().Add(Mid.get());
    S.ReferenceCurves().Add(Fore.get());
    S.Update();

    const TBSplineSurface& N = S.Surface();
    ASSERT_EQ(N.NumU(), 3);
    ASSERT_EQ(N.NumV(), 4);
    EXPECT_EQ(N.OrderU(), 3);
    EXPECT_EQ(N.OrderV(), 4);
    EXPECT_EQ(S.Panels().Count(), 1);
    EXPECT_EQ(S.Blends().Count(), 4);
    for (int j = 0; j < 4; ++j) {
        ExpectPoint(N.Point(0, j), {10, 1 + 0.1 * j, double(j)});
        // The symmetric quadratic row spline passes its chord midpoint at a quarter of the way to
        // the middle curve: not through the middle curve itself.
        ExpectPoint(N.Point(1, j), {0, 1.5 + 0.1 * j, double(j)}, 1e-4);  // on the digitised polyline
        ExpectPoint(N.Point(2, j), {-10, 1 + 0.1 * j, double(j)});
    }
}

TEST(TarvoSurface, PanelBreaksAndRowCounts) {
    struct Case {
        std::vector<TSurfaceOperation> Ops;
        std::vector<int> Points;
        int Panels, Rows;
    };
    const Case Cases[] = {
        {{soControl, soControl, soPanelBreak, soControl, soControl}, {4, 4, 4, 4, 4}, 2, 4},
        // The ends bound a panel whatever they are marked.
        {{soPanelBreak, soControl, soControl, soPanelBreak}, {4, 4, 4, 4}, 1, 4},
        {{soControl, soControl}, {6, 8}, 1, 6},
    };
    for (const Case& c : Cases) {
        std::vector<std::unique_ptr<TTarvoCurve>> Curves;
        TTarvoSurface S;
        for (std::size_t i = 0; i < c.Ops.size(); ++i) {
            Curves.push_back(Section("C" + std::to_string(i), 10.0 * double(i), 1, c.Points[i], c.Ops[i]));
            S.ReferenceCurves().Add(Curves.back().get());
        }
        S.Update();
        ASSERT_EQ(S.Panels().Count(), c.Panels);
        EXPECT_EQ(S.Surface().NumU(), int(c.Ops.size()));
        EXPECT_EQ(S.Surface().NumV(), c.Rows);
        if (c.Panels == 2) {
            EXPECT_EQ(S.Panels().Items(0).EndCurve, S.Panels().Items(1).StartCurve);
            EXPECT_EQ(S.Panels().Items(0).EndCurve->Name, "C2");
            // The break curve carries its own points.
            ExpectPoint(S.Surface().Point(2, 0), {20, 1, 0});
        }
    }
}

TEST(TarvoSurface, TangentCurveGetsAMirroredControlCurveOnItsFarSide) {
    auto Bow = Section("Bow", 30, 0.5);
    auto Flare = Section("Flare", 28, 0.7, 4, soTangent);
    auto Mid = Section("Mid", 10, 2);
    auto Aft = Section("Aft", 0, 1);
    // The tangent curve follows the bow curve, free along X.
    auto Offset = std::make_unique<TOffsetConstraint>(Flare.get());
    Offset->ReferenceCurve().SetNode(Bow.get());
    Offset->SetAxis(oaX);
    Flare->Constraints().Add(std::move(Offset));

    TTarvoSurface S;
    for (TTarvoCurve* C : {Aft.get(), Mid.get(), Flare.get(), Bow.get()}) S.ReferenceCurves().Add(C);
    S.Update();

    ASSERT_EQ(S.ControlCurves().Count(), 1);
    TTarvoCurve* Control = S.ControlCurves().Items(0);
    EXPECT_EQ(Control->Name, "Tangent to Flare");
    const TTarvoCurves& Order = S.Panels().Curves;
    ASSERT_EQ(Order.Count(), 5);
    EXPECT_EQ(Order.Items(1), Flare.get());
    EXPECT_EQ(Order.Items(2), Control);
    ASSERT_EQ(S.Surface().NumU(), 5);
    EXPECT_EQ(S.Surface().OrderU(), 4);
    for (int j = 0; j < 4; ++j) {
        ExpectPoint(*Control->Point(j), {26, 0.5 + 0.1 * j, double(j)});
        // The bow and its tangent curve carry their own points.
        ExpectPoint(S.Surface().Point(0, j), {30, 0.5 + 0.1 * j, double(j)});
        ExpectPoint(S.Surface().Point(1, j), {28, 0.5 + 0.1 * j, double(j)});
    }

    // The next generation frees the control curves of the last one.
    Mid->AddPointVector({10, 2.5, 4});
    S.Update();
    EXPECT_EQ(S.ControlCurves().Count(), 1);
    EXPECT_EQ(S.Panels().Curves.Count(), 5);
}

TEST(TarvoSurface, NeedsTwoCurvesAndFollowsItsDefinitionList) {
    auto A = Section("A", 0, 1);
    auto B = Section("B", 10, 1);
    TTarvoSurface S;
    S.ReferenceCurves().Add(A.get());
    EXPECT_NO_THROW(S.Update());
    EXPECT_TRUE(S.IsValid());
    EXPECT_EQ(S.Surface().NumU(), 0);
    EXPECT_EQ(S.Panels().Count(), 0);

    S.ReferenceCurves().Add(B.get());
    EXPECT_FALSE(S.IsValid());
    S.Update();
    EXPECT_EQ(S.Surface().NumU(), 2);
    EXPECT_EQ(S.Surface().OrderU(), 2);

    // A change of a curve, then its removal, invalidate the surface.
    A->AddPointVector({0, 1, 5});
    EXPECT_FALSE(S.IsValid());
    S.Update();
    S.ReferenceCurves().Remove(B.get());
    EXPECT_FALSE(S.IsValid());
    S.Update();
    EXPECT_EQ(S.Surface().NumU(), 0);

    // A deleted curve leaves the list.
    S.ReferenceCurves().Add(B.get());
    B.reset();
    EXPECT_EQ(S.ReferenceCurves().Count(), 1);
}

TEST(TarvoSurface, MinPointCount) {
    TTarvoSurface S;
    EXPECT_EQ(S.MinPointCount(), 0);
    S.ReferenceCurves().AddByName("Nowhere");
    EXPECT_EQ(S.MinPointCount(), std::numeric_limits<int>::max());
    auto A = Section("A", 0, 1, 7);
    S.ReferenceCurves().Add(A.get());
    EXPECT_EQ(S.MinPointCount(), 7);
}

TEST(TarvoSurface, BlockRoundTripsAndBadBlocksChangeNothing) {
    TTarvoSurface S;
    S.Name = "Hull";
    S.ReferenceCurves().AddByName("Stem");
    S.ReferenceCurves().AddByName("Midship section");
    TTextWriter W;
    S.SaveToText(W);
    EXPECT_EQ(W.Text(), "Name=Hull\nNumCurves=2\nStem\nMidship section\n");

    TTarvoSurface T;
    TTextReader R(W.Text());
    T.LoadFromText(R);
    TTextWriter W2;
    T.SaveToText(W2);
    EXPECT_EQ(W2.Text(), W.Text());

    for (const char* Bad : {"Name=X\nNumCurves=two\n", "Name=X\nNumCurves=-1\n", "Name=X\nNumCurves=3\nA\n"}) {
        TTextReader B(Bad);
        EXPECT_THROW(T.LoadFromText(B), EError) << Bad;
        TTextWriter W3;
        T.SaveToText(W3);
        EXPECT_EQ(W3.Text(), W.Text());
    }
}
