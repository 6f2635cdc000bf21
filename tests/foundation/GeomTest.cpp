#include "foundation/Geom.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

#include "foundation/Errors.h"

using namespace sarnova;

namespace {

void ExpectXYZ(const TRPoint& P, double X, double Y, double Z) {
    EXPECT_NEAR(P.X, X, 1e-12);
    EXPECT_NEAR(P.Y, Y, 1e-12);
    EXPECT_NEAR(P.Z, Z, 1e-12);
}

std::unique_ptr<TRPoints> ListOf(int N) {
    auto L = std::make_unique<TRPoints>();
    for (int I = 0; I < N; ++I) L->Add(NewRPoint(I, 10 * I, 0));
    return L;
}

template <typename F>
void ExpectMessage(F&& Call, const char* Message) {
    try {
        Call();
        ADD_FAILURE() << "expected: " << Message;
    } catch (const EError& E) {
        EXPECT_STREQ(E.what(), Message);
    }
}

}  // namespace

TEST(RPoint, DefaultsAndCopiesKeepTheirOwnFields) {
    TRPoint P;
    EXPECT_EQ(P.W, 1.0);
    EXPECT_EQ(P.X + P.Y + P.Z + P.T, 0);
    EXPECT_EQ(P.Tag, 0);
    EXPECT_FALSE(P.Marked);

    TRPoint Src(TMVector{1, 2, 3});
    Src.W = 0.5;
    Src.T = 0.25;
    Src.Tag = -1;
    Src.Marked = true;
    TRPoint Dst;
    Dst.Marked = true;
    Dst.Assign(Src);
    ExpectXYZ(Dst, 1, 2, 3);
    EXPECT_EQ(Dst.W, 0.5);
    EXPECT_EQ(Dst.T, 0.25);
    EXPECT_EQ(Dst.Tag, -1);
    EXPECT_TRUE(Dst.Marked);  // the mark is not copied, nor cleared
    EXPECT_FALSE(Src.Clone()->Marked);

    auto Moved = Src.Transformed(MatrixTranslation(1, 0, 0));
    ExpectXYZ(*Moved, 2, 2, 3);
    EXPECT_EQ(Moved->W, 0.5);
    EXPECT_EQ(Moved->Tag, -1);
    EXPECT_EQ(Moved->T, 0);
    EXPECT_FALSE(Moved->Marked);
}

TEST(RPoint, VectorArithmetic) {
    const TRPoint A(TMVector{1, 0, 0}), B(TMVector{0, 1, 0});
    ExpectXYZ(*A.Cross(B), 0, 0, -1);
    ExpectXYZ(*A.MidPoint(B), 0.5, 0.5, 0);
    ExpectXYZ(*A.Subtract(B), 1, -1, 0);
    TRPoint Z;
    Z.Normalise();
    ExpectXYZ(Z, 0, 0, 0);
    TRPoint P(TMVector{0, 3, 4});
    EXPECT_EQ(P.Length(), 5);
    P.Normalise();
    ExpectXYZ(P, 0, 0.6, 0.8);
}

TEST(RPoint, SignedAngle) {
    const TRPoint A(TMVector{1, 0, 0}), B(TMVector{0, 2, 0}), Back(TMVector{-3, 0, 0});
    const TRPoint Down(TMVector{0, 0, -1}), Up(TMVector{0, 0, 1}), Side(TMVector{1, 0, 0});
    const double Pi = std::numbers::pi;
    EXPECT_NEAR(A.SignedAngle(B, Down), Pi / 2, 1e-12);
    EXPECT_NEAR(A.SignedAngle(B, Up), -Pi / 2, 1e-12);
    EXPECT_EQ(A.SignedAngle(Back, Up), Pi);
    EXPECT_EQ(A.SignedAngle(B, Side), 0);  // cross product perpendicular to the normal
    // Parallel directions whose normalised dot product rounds above 1 give 0, not NaN.
    const TRPoint U(TMVector{3, 7, 11}), V(TMVector{9, 21, 33});
    EXPECT_EQ(U.SignedAngle(V, Up), 0);
}

TEST(RPoint, ComparePointsUsesATolerancePerAxis) {
    struct Case {
        TMVector A, B;
        int Expected;
    };
    const Case Cases[] = {
        {{0, 0, 0}, {0.00005, 5, 0}, -1},  // x counts as equal, y decides
        {{1, 0, 0}, {0, 9, 9}, 1},
        {{0, 0, 0.0001}, {0, 0, 0}, 1},  // a difference of exactly 1e-4 counts
        {{0, 0, 0}, {0.00009, -0.00009, 0.00009}, 0},
    };
    for (const auto& C : Cases) EXPECT_EQ(ComparePoints(TRPoint(C.A), TRPoint(C.B)), C.Expected);
}

TEST(RPoint, InterpolatePoints) {
    const TRPoint A(TMVector{0, 0, 0}), B(TMVector{2, 4, 6});
    ExpectXYZ(*InterpolatePoints(A, B, 0, 1), 1, 2, 3);
    ExpectXYZ(*InterpolatePoints(B, A, 2, 6), 2, 4, 6);  // bounds included, either order
    EXPECT_EQ(InterpolatePoints(A, B, 3, 1), nullptr);
    ExpectMessage([&] { InterpolatePoints(A, B, 0, 3); }, "Interpolation of TRPoints out of Range");
    const TRPoint C(TMVector{0, 1, 1});
    ExpectMessage([&] { InterpolatePoints(A, C, 0, 0); }, "Interpolation of TRPoints out of Range");
}

TEST(RPoint, IntersectLinesTakesTheThirdCoordinateFromTheFirstLine) {
    // AB runs along x at y = 0, rising in z; CD crosses it at x = 1.
    const TRPoint A(TMVector{0, 0, 0}), B(TMVector{2, 0, 4}), C(TMVector{1, -1, 9}), D(TMVector{1, 1, 9});
    ExpectXYZ(*IntersectLinesXY(A, B, C, D), 1, 0, 2);
    // The same picture in the YZ plane, with AB vertical in y (x interpolated by z).
    const TRPoint P(TMVector{0, 0, 0}), Q(TMVector{4, 0, 2}), R(TMVector{9, -1, 1}), S(TMVector{9, 1, 1});
    ExpectXYZ(*IntersectLinesYZ(P, Q, R, S), 2, 0, 1);
}

TEST(RPoints, ClearAndResetAttributes) {
    auto L = ListOf(3);
    EXPECT_EQ(L->FillColor, 0);
    EXPECT_EQ(L->LineColor, 0);
    L->OwnColors = L->Filled = true;
    L->ResetAttributes();
    EXPECT_EQ(L->Count(), 3);
    EXPECT_EQ(L->FillColor, 0);
    EXPECT_EQ(L->LineColor, 0xFFFFFF);
    L->OwnColors = L->Filled = true;
    L->Clear();
    EXPECT_EQ(L->Count(), 0);
    EXPECT_FALSE(L->OwnColors || L->Filled);
    EXPECT_EQ(L->FillColor, 0x1FFFFFFF);
    EXPECT_EQ(L->LineColor, 0xFFFFFF);
}

TEST(RPoints, OwnershipAndIndexErrors) {
    auto L = ListOf(3);
    TRPoint* Middle = L->Point(1);
    L->Insert(0, NewRPoint(-1, 0, 0));
    EXPECT_EQ(L->Point(2), Middle);  // points keep their identity when the list moves them
    int Former = 0;
    std::unique_ptr<TRPoint> Taken = L->Remove(Middle, &Former);
    EXPECT_EQ(Taken.get(), Middle);
    EXPECT_EQ(Former, 2);
    EXPECT_EQ(L->Remove(Middle, &Former), nullptr);
    EXPECT_EQ(Former, -1);
    L->Exchange(0, 2);
    EXPECT_EQ(L->First()->X, 2);
    EXPECT_EQ(L->Last()->X, -1);
    ExpectMessage([&] { L->Point(3); }, "List index out of bounds (3)");
    ExpectMessage([&] { L->Delete(-1); }, "List index out of bounds (-1)");
    ExpectMessage([&] { L->Insert(4, NewRPoint(0, 0, 0)); }, "List index out of bounds (4)");
    TRPoints Empty;
    EXPECT_THROW(Empty.First(), EError);
    EXPECT_THROW(Empty.Last(), EError);
}

TEST(RPoints, KeepsOrderAndIdentityWhileGrowingAndShrinkingThroughManyChanges) {
    // The list against a plain vector of the same points, through growth past several capacities,
    // insertions at both ends and in the middle, removals, exchanges, a reserve and a clear.
    TRPoints L;
    std::vector<const TRPoint*> Model;
    const auto Check = [&](int Step) {
        ASSERT_EQ(L.Count(), static_cast<int>(Model.size())) << Step;
        for (int I = 0; I < L.Count(); ++I) ASSERT_EQ(L.Point(I), Model[static_cast<std::size_t>(I)]) << Step;
    };
    for (int Round = 0; Round < 2; ++Round) {
        for (int Step = 0; Step < 300; ++Step) {
            auto P = NewRPoint(Step, Round, 0);
            const TRPoint* Raw = P.get();
            const int Where = Step % 3 == 0 ? 0 : Step % 3 == 1 ? L.Count() : L.Count() / 2;
            if (Where == L.Count())
                EXPECT_EQ(L.Add(std::move(P)), Where);
            else
                L.Insert(Where, std::move(P));
            Model.insert(Model.begin() + Where, Raw);
            if (Step % 7 == 6) {
                L.Delete(1);
                Model.erase(Model.begin() + 1);
            }
            if (Step % 11 == 10) {
                const TRPoint* Last = Model.back();
                int Former = -1;
                EXPECT_EQ(L.Remove(Last, &Former).get(), Last);
                EXPECT_EQ(Former, L.Count());
                Model.pop_back();
            }
            if (Step % 13 == 12) {
                L.Exchange(0, L.Count() - 1);
                std::swap(Model.front(), Model.back());
            }
            if (Step == 150) L.Reserve(1000);
            Check(Step);
        }
        EXPECT_EQ(L.Remove(nullptr), nullptr);
        L.Clear();
        Model.clear();
        Check(-1);
    }
}

TEST(RPoints, AssignAndTransformedCopyPointsAndAttributes) {
    auto L = ListOf(3);
    L->Point(1)->Tag = 7;
    L->Filled = true;
    L->FillColor = 0x123456;
    TRPoints Copy;
    Copy.Add(NewRPoint(5, 5, 5));
    Copy.Assign(*L);
    ASSERT_EQ(Copy.Count(), 3);
    EXPECT_NE(Copy.Point(1), L->Point(1));
    EXPECT_EQ(Copy.Point(1)->Tag, 7);
    EXPECT_TRUE(Copy.Filled);
    EXPECT_EQ(Copy.FillColor, 0x123456);
    Copy.Assign(Copy);
    EXPECT_EQ(Copy.Count(), 3);

    auto Moved = L->Transformed(MatrixTranslation(0, 0, 1));
    ASSERT_EQ(Moved->Count(), 3);
    ExpectXYZ(*Moved->Point(2), 2, 20, 1);
    EXPECT_EQ(Moved->Point(1)->Tag, 7);
    EXPECT_EQ(Moved->FillColor, 0x123456);
}

TEST(RPoints, MarkedRange) {
    struct Case {
        std::vector<int> Marked;
        TMarkedRange Expected;
    };
    const Case Cases[] = {
        {{}, {0, -1, -1}}, {{2, 3, 4}, {2, 2, 4}}, {{0, 2}, {3, 0, 2}}, {{5}, {1, 5, 5}}, {{0, 7}, {3, 0, 7}},
    };
    for (const auto& C : Cases) {
        auto L = ListOf(8);
        for (int I : C.Marked) L->Point(I)->Marked = true;
        EXPECT_EQ(L->MarkedRange(), C.Expected) << C.Marked.size();
    }
}

TEST(RPointsIterator, WalksThePointsAndStaysOnTheLast) {
    TRPoints Empty;
    ExpectMessage([&] { Empty.Iterator(); }, "TRPointsIterator.Create - no points");

    auto One = ListOf(1);
    auto It = One->Iterator();
    EXPECT_EQ(It->First(), (TMVector{0, 0, 0}));
    EXPECT_TRUE(It->IsLast());
    EXPECT_EQ(It->Next(), (TMVector{0, 0, 0}));

    auto Three = ListOf(3);
    auto It3 = Three->Iterator();
    EXPECT_EQ(It3->Next(), (TMVector{0, 0, 0}));  // Next before First starts at point 0
    EXPECT_FALSE(It3->IsLast());
    EXPECT_EQ(It3->Next(), (TMVector{1, 10, 0}));
    EXPECT_EQ(It3->Next(), (TMVector{2, 20, 0}));
    EXPECT_TRUE(It3->IsLast());
    EXPECT_EQ(It3->Next(), (TMVector{2, 20, 0}));
    EXPECT_EQ(It3->Current(), (TMVector{2, 20, 0}));
}

TEST(RPointPair, OrderCloneAndTransform) {
    TRLine Line(NewRPoint(2, 0, 0), NewRPoint(1, 5, 0));
    OrderPointPair(Line);
    EXPECT_EQ(Line.Point1->X, 1);
    auto Copy = Line.CloneAsLine();
    EXPECT_NE(Copy->Point1.get(), Line.Point1.get());
    ExpectXYZ(*Copy->Point2, 2, 0, 0);

    TRPointVector PV(NewRPoint(1, 0, 0), NewRPoint(0, 1, 0));
    // Scaling by 2 then moving by (10, 0, 0): the direction scales but does not move.
    const TMMatrix M = MatrixMultiply(MatrixTranslation(10, 0, 0), MatrixUniformScaling(2));
    auto T = TransformPointVector(PV, M);
    ExpectXYZ(*T->Point1, 12, 0, 0);
    ExpectXYZ(*T->Point2, 0, 2, 0);

    TRPointPair Empty;
    EXPECT_EQ(Empty.Point1, nullptr);
    Empty.Assign(PV);
    ExpectXYZ(*Empty.Point2, 0, 1, 0);
}

TEST(LinksList, SortSwapAndIndexCheck) {
    TLinksList L;
    L.Add(2, 1);
    L.Add(1, 5);
    L.Add(70000, 3);  // indices past 16 bits survive
    L.Add(1, 3);
    L.Sort();
    const TLink Sorted[] = {{1, 3}, {1, 5}, {2, 1}, {70000, 3}};
    for (int I = 0; I < 4; ++I) EXPECT_EQ(L.Link(I), Sorted[I]);
    L.SwapAll();
    EXPECT_EQ(L.Link(3), (TLink{3, 70000}));
    EXPECT_THROW(L.Link(4), EError);
}
