#include <gtest/gtest.h>

#include <string>

#include "foundation/Errors.h"
#include "foundation/TextFile.h"
#include "hulls/TarvoBulb.h"

using namespace sarnova;

namespace {

void ExpectPoint(const TRPoint& P, const TMVector& V) {
    EXPECT_NEAR(P.X, V.X, 1e-9);
    EXPECT_NEAR(P.Y, V.Y, 1e-9);
    EXPECT_NEAR(P.Z, V.Z, 1e-9);
}

// A 2 by 4 net whose corner x values are given; the inner points of each line in between.
void Corners(TBSplineSurface& M, double X00, double X0V, double XU0, double XUV) {
    M.Clear();
    M.SetSize(2, 4);
    for (int j = 0; j < 4; ++j) {
        M.Point(0, j) = TRPoint({X00 + (X0V - X00) * j / 3.0, 1, 2.0 * j});
        M.Point(1, j) = TRPoint({XU0 + (XUV - XU0) * j / 3.0, 0, 2.0 * j});
    }
}

}  // namespace

TEST(TarvoBulb, DefaultNetAtAKnownStem) {
    TTarvoBulb Bulb;
    EXPECT_FALSE(Bulb.IsLocated());
    Bulb.X = 100;
    Bulb.Build();
    const TBSplineSurface& N = Bulb.Surface();
    ExpectPoint(N.Point(0, 0), {85.65, 0, 0});
    ExpectPoint(N.Point(3, 3), {100.162, 2.4, 1.2475});
    ExpectPoint(N.Point(4, 3), {102.958, 0.9, 1.2475});
    ExpectPoint(N.Point(5, 1), {100, 0, 0});
    ExpectPoint(N.Point(5, 3), {102.958, 0, 1.2475});
    ExpectPoint(N.Point(1, 6), {100 - (14.35 + 2.5 * 2.958) / 2, 0, 4.195});
    EXPECT_EQ(N.NumU(), 6);
    EXPECT_EQ(N.NumV(), 7);
}

TEST(TarvoBulb, UnlocatedBulbChangesNothing) {
    TTarvoBulb Bulb;
    const TRPoint Before = Bulb.Surface().Point(3, 3);
    Bulb.SetBeam(10);
    Bulb.SetBulbLength(5);
    ExpectPoint(Bulb.Surface().Point(3, 3), {Before.X, Before.Y, Before.Z});
    EXPECT_DOUBLE_EQ(Bulb.Beam(), 10);
}

TEST(TarvoBulb, StemEdgeAndLocation) {
    struct Case {
        double X00, X0V, XU0, XUV;
        int Edge;
    };
    // Ties go to the lower edge code.
    const Case Cases[] = {{10, 0, 0, -5, 0}, {-5, 0, 0, 10, 2}, {0, 0, 0, 0, 0}, {0, -3, 8, -3, 1}, {-3, 0, -3, 8, 3}};
    for (const Case& c : Cases) {
        TBSplineSurface M(2, 4);
        Corners(M, c.X00, c.X0V, c.XU0, c.XUV);
        TTarvoBulb Bulb(&M);
        EXPECT_EQ(Bulb.FindStemEdge(), c.Edge) << c.X00 << " " << c.X0V << " " << c.XU0 << " " << c.XUV;
    }

    // A raked stem: x = 50 + z / 2 along line 0; the bulb meets it at its height.
    TBSplineSurface M(2, 4);
    Corners(M, 50, 53, 0, 0);
    TTarvoBulb Bulb(&M);
    Bulb.Rebuild();
    EXPECT_EQ(Bulb.StemEdge, 0);
    EXPECT_NEAR(Bulb.X, 50 + 4.195 / 2 + 1e-4, 1e-9);
    ExpectPoint(Bulb.Surface().Point(5, 1), {Bulb.X, 0, 0});

    // Above the stem's top the bulb is not located and its net stays.
    const TRPoint Before = Bulb.Surface().Point(2, 2);
    Bulb.SetHeight(7);
    Bulb.Rebuild();
    EXPECT_FALSE(Bulb.IsLocated());
    ExpectPoint(Bulb.Surface().Point(2, 2), {Before.X, Before.Y, Before.Z});
}

TEST(TarvoBulb, BlockKeepsEveryValue) {
    TTarvoBulb Bulb;
    Bulb.X = 100;
    Bulb.SetTailLength(1.0 / 3);
    TTextWriter W;
    Bulb.SaveToText(W);
    EXPECT_EQ(W.Text(),
              "X=100.000\nBulbLength=2.958\nTailLength=0.333333333333333\nHeight=4.195\nTailBeam=2.760\nBeam=4.800\n"
              "PointHeight=2.0975\nTailHeight=2.0975\nBeamPointSeparation=1.700\nSoftNose=1.800\nBarWidth=0.400\n");

    TTarvoBulb Copy;
    TTextReader R(W.Text());
    Copy.LoadFromText(R);
    EXPECT_DOUBLE_EQ(Copy.X, 100);
    EXPECT_DOUBLE_EQ(Copy.PointHeight(), 2.0975);
    EXPECT_NEAR(Copy.TailLength(), 1.0 / 3, 1e-14);
    TTextWriter W2;
    Copy.SaveToText(W2);
    EXPECT_EQ(W2.Text(), W.Text());

    // A value that is not a number: an error, and nothing read.
    TTextReader Bad("X=1\nBulbLength=x\nTailLength=1\nHeight=1\nTailBeam=1\nBeam=1\nPointHeight=1\nTailHeight=1\n"
                    "BeamPointSeparation=1\nSoftNose=1\nBarWidth=1\n");
    EXPECT_THROW(Copy.LoadFromText(Bad), EError);
    EXPECT_DOUBLE_EQ(Copy.X, 100);

    // A bulb that never found its stem reads back unlocated.
    TTarvoBulb Lost;
    TTextWriter W3;
    Lost.SaveToText(W3);
    TTextReader R3(W3.Text());
    Copy.LoadFromText(R3);
    EXPECT_FALSE(Copy.IsLocated());
}
