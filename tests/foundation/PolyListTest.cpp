#include "foundation/PolyList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "PolylineFixtures.h"
#include "VkMathsExpect.h"
#include "foundation/BSpline.h"
#include "foundation/Errors.h"
#include "foundation/TextFile.h"

using namespace sarnova;

namespace {

// The first x of every polyline, to follow the order of a list.
std::vector<double> FirstXs(TPolylineList& L) {
    std::vector<double> Result;
    for (int I = 0; I < L.Count(); ++I) Result.push_back(L.Items(I)->First()->X);
    return Result;
}

std::unique_ptr<TPolyline> Segment(double X0, double X1) { return MakePolyline({{X0, 0, 0}, {X1, 0, 0}}); }

}  // namespace

TEST(PolylineList, OwnsAndHandsBackItsPolylines) {
    TPolylineList L;
    L.Add(Segment(0, 1));
    L.Add(nullptr);
    L.Insert(0, Segment(5, 6));
    L.Insert(1, nullptr);
    EXPECT_EQ(FirstXs(L), (std::vector<double>{5, 0}));
    TPolyline* Second = L.Items(1);
    int Former = -2;
    auto Taken = L.Remove(Second, &Former);
    EXPECT_EQ(Taken.get(), Second);
    EXPECT_EQ(Former, 1);
    EXPECT_EQ(L.Remove(Second, &Former), nullptr);
    EXPECT_EQ(Former, -1);
    ExpectError([&] { L.Items(1); }, "List index out of bounds (1)");
    ExpectError([&] { L.Delete(-1); }, "List index out of bounds (-1)");
    L.Delete(0);
    EXPECT_EQ(L.Count(), 0);
    ExpectError([&] { L.First(); }, "List index out of bounds (0)");
}

TEST(PolylineList, CopiesAreAlwaysPlainPolylines) {
    TPolylineList L;
    auto S = std::make_unique<TBSpline>(3);
    S->AddPoint(0, 0, 0);
    S->AddPoint(1, 1, 0);
    S->AddPoint(2, 0, 0);
    S->Filled = true;
    L.Add(std::move(S));
    L.Add(Segment(3, 4));
    auto C = L.Clone();
    ASSERT_EQ(C->Count(), 2);
    EXPECT_EQ(C->Items(0)->ClassName(), "TPolyline");
    EXPECT_TRUE(C->Items(0)->Filled);
    EXPECT_EQ(Positions(*C->Items(1)), Positions(*L.Items(1)));
    auto T = L.Transformed(MatrixTranslation(0, 0, 1));
    EXPECT_EQ(T->Items(0)->ClassName(), "TPolyline");
    ExpectNear(T->Items(1)->Last()->Vector(), {4, 0, 1});
    C->AddCopies(L);
    EXPECT_EQ(C->Count(), 4);
}

TEST(PolylineList, TakeFromArrivesInReverseOrder) {
    TPolylineList Target, Source;
    Target.Add(Segment(9, 10));
    for (double X : {1, 2, 3}) Source.Add(Segment(X, X + 1));
    Target.TakeFrom(Source);
    EXPECT_EQ(Source.Count(), 0);
    EXPECT_EQ(FirstXs(Target), (std::vector<double>{9, 3, 2, 1}));
}

TEST(PolylineList, SortsByTheLastPointsX) {
    TPolylineList L;
    L.Add(Segment(0, 5));
    L.Add(Segment(9, 1));
    L.Add(Segment(4, 3));
    L.SortByStation();
    EXPECT_EQ(FirstXs(L), (std::vector<double>{9, 4, 0}));
    L.Add(std::make_unique<TPolyline>());
    ExpectError([&] { L.SortByStation(); }, "List index out of bounds (-1)");
    EXPECT_EQ(L.Items(0)->First()->X, 9);
}

TEST(PolylineList, TextBlock) {
    TPolylineList Empty;
    TTextWriter W0;
    Empty.SaveToText(W0);
    EXPECT_EQ(W0.Text(), "NumPolylines=0\n");
    TTextReader R0(W0.Text());
    Empty.LoadFromText(R0);
    EXPECT_EQ(Empty.Count(), 0);

    TPolylineList L;
    L.Add(Segment(0, 1));
    L.Add(MakePolyline({{1, 2, 3}}));
    TTextWriter W;
    L.SaveToText(W);
    EXPECT_EQ(W.Text(),
              "NumPolylines=2\nNumPoints=2\n     0.000      0.000      0.000\n     1.000      0.000      0.000\n"
              "NumPoints=1\n     1.000      2.000      3.000\n");
    TPolylineList Back;
    Back.Add(Segment(7, 8));
    TTextReader R(W.Text());
    Back.LoadFromText(R);
    ASSERT_EQ(Back.Count(), 3);
    EXPECT_EQ(Positions(*Back.Items(2)), Positions(*L.Items(1)));
}

TEST(PolylineList, DamagedTextBlocks) {
    {
        TPolylineList L;
        TTextReader R("NumPolylines=two\n");
        ExpectError([&] { L.LoadFromText(R); }, "Error in field PolylineList.NumPolylines");
    }
    {
        // The second polyline is damaged: the first stays, the error is passed on.
        TPolylineList L;
        TTextReader R("NumPolylines=2\nNumPoints=1\n1 2 3\nNumPoints=x\n");
        ExpectError([&] { L.LoadFromText(R); }, "Error in field Polyline.NumPoints");
        EXPECT_EQ(L.Count(), 1);
    }
    {
        // A count far beyond the text ends at the end of the text.
        TPolylineList L;
        TTextReader R("NumPolylines=2000000000\nNumPoints=1\n1 2 3\n");
        EXPECT_THROW(L.LoadFromText(R), EError);
        EXPECT_EQ(L.Count(), 1);
    }
}

TEST(PolylineList, ExtentAlongANormal) {
    TPolylineList L;
    double Min = 0, Max = 0;
    L.ExtentAlong({{0, 0, 1}, 3}, Min, Max);
    EXPECT_EQ(Min, 1.7e308);
    EXPECT_EQ(Max, -1.7e308);
    L.Add(MakePolyline({{0, 0, -2}, {0, 1, 1}}));
    L.Add(MakePolyline({{1, 0, 5}, {1, 1, 0}}));
    L.ExtentAlong({{0, 0, 1}, 3}, Min, Max);
    EXPECT_EQ(Min, -2);
    EXPECT_EQ(Max, 5);
    TMBox Box;
    static_cast<IHydroSections&>(L).Extents(Box);
    EXPECT_EQ(Box, L.Extents());
}

TEST(BSplineList, WritesEachItemUnderItsClassName) {
    TBSplineList L;
    TTextWriter Empty;
    L.SaveToText(Empty);
    EXPECT_EQ(Empty.Text(), "");
    auto S = std::make_unique<TBSpline>(2);
    S->AddPoint(0, 0, 0);
    S->AddPoint(1, 0, 0);
    TTextWriter Block;
    S->SaveToText(Block);
    L.Add(std::move(S));
    L.Add(Segment(0, 1));
    TTextWriter W;
    L.SaveToText(W);
    TTextWriter Plain;
    L.Items(1)->SaveToText(Plain);
    EXPECT_EQ(W.Text(), "[TBSpline]\n" + Block.Text() + "\n[TPolyline]\n" + Plain.Text() + "\n");
    EXPECT_NE(L.BSplines(0), nullptr);
    EXPECT_EQ(L.BSplines(1), nullptr);
    auto T = L.Transformed(MatrixTranslation(1, 0, 0));
    ASSERT_NE(T->BSplines(0), nullptr);
    EXPECT_EQ(T->BSplines(0)->GetOrder(), 2);
    EXPECT_EQ(T->BSplines(1), nullptr);
    ExpectNear(T->Items(1)->Last()->Vector(), {2, 0, 0});
}

TEST(BSplineIterator, WalksTheListOrTheSplines) {
    TBSplines Splines;
    auto Empty = Splines.Iterator();
    EXPECT_FALSE(Empty->MoveNext());
    TBSpline A, B;
    Splines.Add(&A);
    Splines.Add(&B);
    auto It = Splines.Iterator();
    std::vector<TBSpline*> Seen;
    while (It->MoveNext()) Seen.push_back(It->Current());
    EXPECT_EQ(Seen, (std::vector<TBSpline*>{&A, &B}));
    TBSplineIterator Nothing;
    EXPECT_FALSE(Nothing.MoveNext());
    EXPECT_EQ(Nothing.Current(), nullptr);
    TBSplineList List;
    List.Add(std::make_unique<TBSpline>());
    It->List = &List;
    It->Position = -1;
    ASSERT_TRUE(It->MoveNext());
    EXPECT_EQ(It->Current(), List.BSplines(0));
    EXPECT_FALSE(It->MoveNext());
}

// ---- Welding ----

TEST(Welds, ChainsSegmentsNearestEndsFirst) {
    TPolylineList L;
    L.Add(Segment(0, 1));
    L.Add(Segment(2, 3));
    L.Add(Segment(1, 2));
    auto W = WeldAllPolylines(L);
    ASSERT_EQ(W->Count(), 1);
    EXPECT_EQ(Positions(*W->Items(0)), (std::vector<TMVector>{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}}));
    EXPECT_EQ(L.Count(), 3);
    EXPECT_EQ(Positions(*JoinPolylines(L)), Positions(*W->Items(0)));
    ExpectError([] { JoinPolylines(TPolylineList()); }, "List index out of bounds (0)");
}

TEST(Welds, ToleranceLimitsTheJoins) {
    TPolylineList L;
    L.Add(Segment(0, 1));
    L.Add(Segment(1.5, 2));
    EXPECT_EQ(WeldPolylinesWithin(L, 1e-4)->Count(), 2);
    auto W = WeldPolylinesWithin(L, 1);
    ASSERT_EQ(W->Count(), 1);
    // The gap is not 0, so both end points stay.
    EXPECT_EQ(Positions(*W->Items(0)), (std::vector<TMVector>{{0, 0, 0}, {1, 0, 0}, {1.5, 0, 0}, {2, 0, 0}}));
    // A gap exactly at the tolerance is not below it.
    EXPECT_EQ(WeldPolylinesWithin(L, 0.5)->Count(), 2);
}

TEST(Welds, UntouchedPolylinesKeepTheirPlaceBeforeTheJoinedOnes) {
    TPolylineList L;
    L.Add(Segment(0, 1));
    L.Add(std::make_unique<TPolyline>());
    L.Add(Segment(10, 11));
    L.Add(MakePolyline({{1, 0, 0}, {0.5, 1, 0}}));
    auto W = WeldPolylinesWithin(L, 0.01);
    ASSERT_EQ(W->Count(), 3);
    EXPECT_EQ(W->Items(0)->Count(), 0);
    EXPECT_EQ(W->Items(1)->First()->X, 10);
    EXPECT_EQ(Positions(*W->Items(2)), (std::vector<TMVector>{{0, 0, 0}, {1, 0, 0}, {0.5, 1, 0}}));
}

TEST(Welds, ManyShuffledPiecesBecomeOneChain) {
    // 20000 unit segments of a zigzag, shuffled and half of them reversed; each joint is shared
    // exactly. Looking at every pair would take minutes here.
    const int N = 20000;
    auto Corner = [](int I) { return TMVector{static_cast<double>(I), (I % 2) * 0.5, 0}; };
    std::vector<int> Order(N);
    for (int I = 0; I < N; ++I) Order[static_cast<std::size_t>(I)] = I;
    std::mt19937 Random(7);
    std::shuffle(Order.begin(), Order.end(), Random);
    TPolylineList L;
    for (int I : Order) {
        auto P = std::make_unique<TPolyline>();
        P->AddVector(Corner(I));
        P->AddVector(Corner(I + 1));
        if (Random() % 2) P->Reverse();
        L.Add(std::move(P));
    }
    for (auto* Welded : {WeldAllPolylines(L).release(), WeldPolylinesWithin(L, 1e-4).release()}) {
        std::unique_ptr<TPolylineList> Owner(Welded);
        ASSERT_EQ(Owner->Count(), 1);
        TPolyline& Chain = *Owner->Items(0);
        ASSERT_EQ(Chain.Count(), N + 1);
        const bool Forward = Chain.First()->X == 0;
        for (int I = 0; I <= N; ++I) EXPECT_EQ(Chain.Point(I)->Vector(), Corner(Forward ? I : N - I));
    }
}
