#include "foundation/Polyline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <random>
#include <sstream>
#include <vector>

#include "VkMathsExpect.h"
#include "foundation/Errors.h"
#include "foundation/TextFile.h"
#include "platform/RecordingGraphics.h"

using namespace sarnova;

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

std::unique_ptr<TPolyline> MakePolyline(std::initializer_list<TMVector> Points) {
    auto P = std::make_unique<TPolyline>();
    for (const TMVector& V : Points) P->AddVector(V);
    return P;
}

// The corner polyline of the examples: legs of 3 along x and 4 along y, length 7.
std::unique_ptr<TPolyline> Corner() { return MakePolyline({{0, 0, 0}, {3, 0, 0}, {3, 4, 0}}); }

std::vector<TMVector> Positions(const TRPoints& P) {
    std::vector<TMVector> Result;
    for (int I = 0; I < P.Count(); ++I) Result.push_back(P.Point(I)->Vector());
    return Result;
}

std::vector<double> Weights(const TRPoints& P) {
    std::vector<double> Result;
    for (int I = 0; I < P.Count(); ++I) Result.push_back(P.Point(I)->W);
    return Result;
}

// A smooth test curve over [0, 2]: x = t, y = t^2, with a jump of x by 1 at t = 1 when Broken.
class TTestCurve : public TPolyline {
public:
    bool Broken = false;
    int Evaluations = 0;
    std::unique_ptr<TRPoint> PointAt(double T) override {
        ++Evaluations;
        if (T < 0 || T > 2) return nullptr;
        auto P = NewRPoint(T + (Broken && T > 1 ? 1 : 0), T * T, 0);
        P->T = T;
        return P;
    }
    std::unique_ptr<TRPoint> Search(std::uint8_t Axis, double Value) {
        return SearchCoordinate(Axis, Value, 0, 2, 1e-4);
    }
};

}  // namespace

// ---- Arc-length parameter ----

TEST(PolylinePointAt, FollowsTheArcLengthAndRecordsItInTheWeights) {
    auto P = Corner();
    EXPECT_DOUBLE_EQ(P->Length(), 7);
    auto Q = P->PointAt(0.5);
    ASSERT_TRUE(Q);
    ExpectNear(Q->Vector(), {3, 0.5, 0});
    EXPECT_EQ(Q->W, 1.0);
    const std::vector<double> W = Weights(*P);
    EXPECT_EQ(W[0], 0);
    EXPECT_DOUBLE_EQ(W[1], 3.0 / 7);
    EXPECT_EQ(W[2], 1);
    ExpectNear(P->PointAt(0)->Vector(), {0, 0, 0});
    ExpectNear(P->PointAt(1)->Vector(), {3, 4, 0});
    ExpectNear(P->PointAt(3.0 / 7)->Vector(), {3, 0, 0});
    for (double T : {1.2, -0.1, NaN}) EXPECT_FALSE(P->PointAt(T)) << T;
}

TEST(PolylinePointAt, DegeneratePolylinesStayUnchanged) {
    EXPECT_FALSE(TPolyline().PointAt(0.5));

    // One point, or points that all coincide: the curve is that point, and no weight is touched.
    for (int N : {1, 3}) {
        TPolyline P;
        for (int I = 0; I < N; ++I) P.AddPoint(1, 2, 3);
        P.Point(0)->W = 5;
        auto Q = P.PointAt(0.5);
        ASSERT_TRUE(Q);
        ExpectNear(Q->Vector(), {1, 2, 3});
        EXPECT_EQ(P.Count(), N);
        EXPECT_EQ(P.Point(0)->W, 5);
        for (double W : Weights(P)) EXPECT_NE(W, 0);
    }

    // A zero-length first segment at T = 0 answers a copy of its end point, weight included.
    auto P = MakePolyline({{0, 0, 0}, {0, 0, 0}, {2, 0, 0}});
    P->Point(1)->Tag = 9;
    auto Q = P->PointAt(0);
    ASSERT_TRUE(Q);
    EXPECT_EQ(Q->Tag, 9);
    EXPECT_EQ(Q->W, 0);
    EXPECT_EQ(P->Count(), 3);
}

TEST(PolylinePointAt, IsLinearInTheNumberOfPoints) {
    // A quadratic evaluation (re-summing the lengths for every point) would not finish here.
    TPolyline P;
    for (int I = 0; I <= 200000; ++I) P.AddPoint(I * 0.5, 0, 0);
    for (int K = 0; K < 20; ++K) {
        const double T = K / 19.0;
        auto Q = P.PointAt(T);
        ASSERT_TRUE(Q);
        EXPECT_NEAR(Q->X, T * 100000, 1e-6);
    }
    EXPECT_NEAR(P.Point(100000)->W, 0.5, 1e-12);
    EXPECT_DOUBLE_EQ(P.Length(), 100000);
}

// ---- Coordinate searches ----

TEST(PolylinePointAtCoordinate, TakesTheFirstCrossingAlongThePoints) {
    auto P = Corner();
    ExpectNear(P->PointAtX(1.5)->Vector(), {1.5, 0, 0});
    ExpectNear(P->PointAtY(2)->Vector(), {3, 2, 0});
    // x = 3 is first reached at the end of the first segment, and interpolated there.
    auto Q = P->PointAtX(3);
    ExpectNear(Q->Vector(), {3, 0, 0});
    EXPECT_EQ(Q->W, 1.0);
    // Every point has z = 0: the first segment shares it, so the copy of its later point.
    ExpectNear(P->PointAtZ(0)->Vector(), {3, 0, 0});
    for (double X : {-0.001, 3.001, NaN}) EXPECT_FALSE(P->PointAtX(X)) << X;
    EXPECT_FALSE(P->PointAtZ(1));

    // A first enclosing segment with equal x at both ends answers a copy of its later point.
    auto R = MakePolyline({{3, 0, 0}, {3, 4, 0}, {0, 0, 0}});
    R->Point(1)->Tag = 7;
    R->Point(1)->T = 0.25;
    auto S = R->PointAtX(3);
    ExpectNear(S->Vector(), {3, 4, 0});
    EXPECT_EQ(S->Tag, 7);
    EXPECT_EQ(S->T, 0.25);
}

TEST(PolylinePointAtCoordinate, SinglePointsAndEmptyPolylines) {
    auto P = MakePolyline({{1, 2, 3}});
    ExpectNear(P->PointAtY(2)->Vector(), {1, 2, 3});
    EXPECT_FALSE(P->PointAtY(2.001));
    EXPECT_FALSE(TPolyline().PointAtX(0));
}

TEST(CurveSearchCoordinate, BisectsTheParameterAndAlwaysEnds) {
    TTestCurve C;
    auto P = C.Search(1, 2.25);  // y = t^2 reaches 2.25 at t = 1.5
    ASSERT_TRUE(P);
    EXPECT_NEAR(P->Y, 2.25, 1e-4);
    EXPECT_NEAR(P->T, 1.5, 1e-4);
    EXPECT_TRUE(C.Search(0, 1.0));  // hit exactly at the first middle
    EXPECT_FALSE(C.Search(0, 3));   // not enclosed by the curve

    // x jumps from 1 to 2 at t = 1: x = 1.5 stays enclosed by every halving yet is never reached.
    C.Broken = true;
    C.Evaluations = 0;
    EXPECT_FALSE(C.Search(0, 1.5));
    EXPECT_LE(C.Evaluations, 3 * 200);
}

TEST(FrenetFrameFromDerivatives, GivesTheCircleFrameAndCurvature) {
    // A circle of radius 2 about the origin, at (2, 0, 0) running towards +y.
    const TFrenetFrame F = FrenetFrameFromDerivatives({{{2, 0, 0}, {0, 2, 0}, {-2, 0, 0}, {0, -2, 0}}});
    ExpectNear(F.Point, {2, 0, 0});
    ExpectNear(F.Tangent, {0, 1, 0});
    ExpectNear(F.Binormal, {0, 0, 1});
    ExpectNear(F.Normal, {-1, 0, 0});  // towards the centre
    EXPECT_DOUBLE_EQ(F.Curvature, 0.5);

    const TFrenetFrame Still = FrenetFrameFromDerivatives({{{1, 1, 1}, {}, {1, 0, 0}, {}}});
    EXPECT_EQ(Still.Tangent, ZeroVector);
    EXPECT_EQ(Still.Normal, ZeroVector);
    EXPECT_EQ(Still.Curvature, 0);
}

TEST(Polyline, AnswersTheCurveOperationsOfAPointList) {
    auto P = Corner();
    EXPECT_EQ(P->MinT(), 0);
    EXPECT_EQ(P->MaxT(), 0);
    EXPECT_TRUE(P->DigitisationParameters(true).empty());
    for (const TMVector& V : P->Derivatives(0.5)) EXPECT_EQ(V, ZeroVector);
    const TFrenetFrame F = P->FrenetFrame(0.5);
    EXPECT_EQ(F.Tangent, ZeroVector);
    EXPECT_EQ(F.Curvature, 0);
    const TMBox B = P->Extents();
    EXPECT_EQ(B.Min, MakeVector(0, 0, 0));
    EXPECT_EQ(B.Max, MakeVector(3, 4, 0));
    EXPECT_EQ(TPolyline().Extents(), EmptyBox);

    P->OwnColors = true;
    P->LineColor = 0x123456;
    auto D = P->Digitise();
    EXPECT_EQ(Positions(*D), Positions(*P));
    EXPECT_NE(D->Point(0), P->Point(0));
    EXPECT_TRUE(D->OwnColors);
    EXPECT_EQ(D->LineColor, 0x123456u);
}

// ---- Points ----

TEST(PolylinePoints, GrowOnDemandAndCopyOnRequest) {
    auto P = Corner();
    TRPoint* Fifth = P->Point(5);
    EXPECT_EQ(P->Count(), 6);
    for (int I = 3; I < 6; ++I) {
        EXPECT_EQ(P->Point(I)->Vector(), ZeroVector);
        EXPECT_EQ(P->Point(I)->W, 1.0);
    }
    EXPECT_EQ(Fifth, P->Point(5));
    ExpectError([&] { P->Point(-1); }, "List index out of bounds (-1)");

    TRPoint Source;
    Source.SetXYZ(7, 8, 9);
    Source.Tag = 3;
    P->SetPoint(8, Source);
    EXPECT_EQ(P->Count(), 9);
    EXPECT_EQ(P->Point(8)->Tag, 3);

    TPolyline Q;
    Q.AddPointCopy(&Source);
    Q.AddPointCopy(nullptr);
    Q.InsertVector(0, {1, 1, 1});
    Q.AddZeroPoints(2);
    EXPECT_EQ(Q.Count(), 4);
    Q.AddCopies(Q);
    EXPECT_EQ(Q.Count(), 8);
    EXPECT_EQ(Q.Point(5)->Vector(), MakeVector(7, 8, 9));
    EXPECT_NE(Q.Point(5), Q.Point(1));
}

TEST(PolylinePoints, ClosingStationAndOrder) {
    auto P = MakePolyline({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});
    EXPECT_FALSE(P->IsClosed());
    P->SetClosed(true);
    EXPECT_EQ(P->Count(), 4);
    EXPECT_TRUE(P->IsClosed());
    P->SetClosed(true);
    EXPECT_EQ(P->Count(), 4);
    P->SetClosed(false);
    EXPECT_EQ(P->Count(), 3);
    auto Two = MakePolyline({{0, 0, 0}, {0, 0, 0}});
    Two->SetClosed(true);
    EXPECT_EQ(Two->Count(), 2);
    EXPECT_FALSE(Two->IsClosed());

    TPolyline Empty;
    EXPECT_EQ(Empty.GetStation(), 0);
    Empty.SetStation(4);
    EXPECT_EQ(Empty.GetStation(), 4);
    EXPECT_EQ(P->GetStation(), 1);
    P->SetStation(12.5);
    for (const TMVector& V : Positions(*P)) EXPECT_EQ(V.X, 12.5);

    auto Odd = MakePolyline({{1, 0, 0}, {2, 0, 0}, {3, 0, 0}});
    Odd->Reverse();
    EXPECT_EQ(Positions(*Odd), Positions(*MakePolyline({{3, 0, 0}, {2, 0, 0}, {1, 0, 0}})));
    auto Even = MakePolyline({{1, 0, 0}, {2, 0, 0}});
    Even->Reverse();
    EXPECT_EQ(Positions(*Even), Positions(*MakePolyline({{2, 0, 0}, {1, 0, 0}})));
}

TEST(PolylineSortPoints, SortsByTheChosenKey) {
    auto P = MakePolyline({{3, 1, 0}, {1, 3, 0}, {2, 2, 0}, {1, 0, 0}});
    P->SortPoints(1);
    EXPECT_EQ(Positions(*P), Positions(*MakePolyline({{1, 0, 0}, {3, 1, 0}, {2, 2, 0}, {1, 3, 0}})));
    for (int I = 0; I < 4; ++I) P->Point(I)->W = 4 - I;
    P->SortPoints(3);
    EXPECT_EQ(P->Point(0)->Vector(), MakeVector(1, 3, 0));
    P->SortPoints(9);  // every point compares equal: nothing is lost
    EXPECT_EQ(P->Count(), 4);

    // Large inputs of every shape sort without deep recursion.
    std::mt19937 Random(7);
    std::uniform_real_distribution<double> Value(-1000, 1000);
    for (int Shape = 0; Shape < 4; ++Shape) {
        TPolyline L;
        for (int I = 0; I < 100000; ++I) {
            const double X = Shape == 0 ? Value(Random) : Shape == 1 ? I : Shape == 2 ? -I : I % 3;
            L.AddPoint(X, 0, 0);
        }
        L.SortPoints(0);
        for (int I = 1; I < L.Count(); ++I) ASSERT_LE(L.Point(I - 1)->X, L.Point(I)->X) << Shape;
    }
}

TEST(PolylineCopies, CloneAndTransformedAreNewPlainPolylines) {
    TTestCurve C;
    C.AddPoint(1, 2, 3);
    C.SetStation(1);
    C.Filled = true;
    C.FillColor = 0xAA;
    C.Point(0)->W = 0.5;
    C.Point(0)->T = 2;
    C.Point(0)->Tag = 4;
    EXPECT_EQ(C.ClassName(), "TTestCurve");

    auto K = C.Clone();
    EXPECT_EQ(typeid(*K), typeid(TPolyline));
    EXPECT_EQ(K->ClassName(), "TPolyline");
    EXPECT_TRUE(K->Filled);
    EXPECT_EQ(K->Point(0)->T, 2);

    auto M = C.Transformed(MatrixTranslation(10, 0, 0));
    EXPECT_EQ(typeid(*M), typeid(TPolyline));
    EXPECT_EQ(M->Point(0)->Vector(), MakeVector(11, 2, 3));
    EXPECT_EQ(M->Point(0)->W, 0.5);
    EXPECT_EQ(M->Point(0)->Tag, 4);
    EXPECT_EQ(M->Point(0)->T, 0);
    EXPECT_TRUE(M->Filled);
    EXPECT_EQ(M->FillColor, 0xAAu);
    M->Clear();
    EXPECT_EQ(M->GetStation(), 0);  // the station stays behind
}

TEST(PolylineAreaNormal, FollowsTheWindingAndTheFittedPlaneFacesUp) {
    auto Square = MakePolyline({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}});
    EXPECT_EQ(Square->AreaNormal(), MakeVector(0, 0, 1));
    auto Reversed = Square->Clone();
    Reversed->Reverse();
    EXPECT_EQ(Reversed->AreaNormal(), MakeVector(0, 0, -1));
    for (const TPolyline* P : {Square.get(), Reversed.get()}) {
        const TMPlane Plane = P->FittedPlane();
        EXPECT_EQ(Plane.Normal, MakeVector(0, 0, 1));
        EXPECT_EQ(Plane.Distance, 0);
    }
    // A section at x = 2 running counter-clockwise seen from +x.
    auto Section = MakePolyline({{2, 0, 0}, {2, 1, 0}, {2, 1, 1}});
    EXPECT_EQ(Section->AreaNormal(), MakeVector(1, 0, 0));
    EXPECT_EQ(Section->FittedPlane().Distance, 2);
    EXPECT_EQ(MakePolyline({{0, 0, 0}, {1, 0, 0}})->AreaNormal(), ZeroVector);
    EXPECT_EQ(TPolyline().FittedPlane().Distance, 0);
}

// ---- Text block ----

TEST(PolylineText, WritesAndReadsTheNumPointsBlock) {
    auto P = MakePolyline({{1, -2.5, 10.125}, {0, 0, 0}});
    TTextWriter Out;
    P->SaveToText(Out);
    // Each value in 10 characters, one blank between them.
    EXPECT_EQ(Out.Text(),
              "NumPoints=2\n"
              "     1.000     -2.500     10.125\n"
              "     0.000      0.000      0.000\n");

    // Read back; also lines spaced by hand, or written on Windows with numbers across line ends;
    // the enclosing block's next line stays for it.
    const std::string Texts[] = {
        Out.Text() + "Next\n",
        "NumPoints=2\n     1.000     -2.500    10.125\n     0.000      0.000      0.000\nNext\n",
        "NumPoints= 2\r\n 1 -2.5 10.125 extra\r\n0 0\r\n 0\r\nNext\r\n"};
    for (const std::string& Text : Texts) {
        TPolyline Q;
        TTextReader In(Text);
        Q.LoadFromText(In);
        EXPECT_EQ(Positions(Q), Positions(*P)) << Text;
        EXPECT_EQ(In.ReadLine(), "Next") << Text;
    }

    TTextWriter Empty;
    TPolyline().SaveToText(Empty);
    EXPECT_EQ(Empty.Text(), "NumPoints=0\n");
}

TEST(PolylineText, ReadsCountsByPositionAndRefusesBadOnes) {
    // The key is not checked, and a count of 0 or less reads no coordinate line.
    for (const char* Text : {"Count=0\nNext\n", "NumPoints=-3\nNext\n"}) {
        TPolyline P;
        TTextReader In(Text);
        P.LoadFromText(In);
        EXPECT_EQ(P.Count(), 0);
        EXPECT_EQ(In.ReadLine(), "Next");
    }
    for (const char* Text : {"NumPoints=2.5\n", "NumPoints=two\n", "NumPoints=\n", ""}) {
        TPolyline P;
        TTextReader In(Text);
        ExpectError([&] { P.LoadFromText(In); }, "Error in field Polyline.NumPoints");
    }
}

TEST(PolylineText, ShortOrDamagedCoordinatesFailAndKeepWhatWasRead) {
    struct TCase {
        const char* Text;
        const char* Message;
    };
    // A count far beyond the text must end at the end of the text, not allocate for the count.
    const TCase Cases[] = {{"NumPoints=2147483647\n1 2 3\n4 5\n", "I/O Result 100"},
                           {"NumPoints=3\n1 2 3\n4 x 6\n", "I/O Result 106"}};
    for (const TCase& C : Cases) {
        TPolyline P;
        TTextReader In(C.Text);
        try {
            P.LoadFromText(In);
            ADD_FAILURE() << C.Text;
        } catch (const EInOutError& E) {
            EXPECT_STREQ(E.what(), C.Message);
        }
        EXPECT_EQ(Positions(P), std::vector<TMVector>{MakeVector(1, 2, 3)});
    }
}

TEST(PolylineText, SaveToFileWritesTheClassHeaderAndTheBlock) {
    const auto Folder = std::filesystem::path(testing::TempDir()) / "polyline-save";
    std::filesystem::create_directories(Folder);
    TTestCurve C;
    C.AddPoint(1, 2, 3);
    C.SaveToFile(Folder / "curve.txt");
    std::ifstream In(Folder / "curve.txt", std::ios::binary);
    const std::string Text((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
    EXPECT_EQ(Text, "[TTestCurve]\nNumPoints=1\n     1.000      2.000      3.000\n");
    EXPECT_THROW(C.SaveToFile(Folder / "missing" / "curve.txt"), EInOutError);
}

// ---- Drawing ----

TEST(PolylineDraw, DrawsThePointListWithItsOwnOrTheTargetsColours) {
    auto P = Corner();
    P->OwnColors = true;
    P->Filled = true;
    TRecordingGraphics G;
    P->Draw(G);
    P->DrawControlPolygon(G);
    P->DrawOutline(G);
    ASSERT_EQ(G.Names(), (std::vector<std::string>{"Polyline", "Polyline", "Polyline"}));
    EXPECT_EQ(G.Calls[0].Points, Positions(*P));
    EXPECT_TRUE(G.Calls[1].OwnColors && G.Calls[1].Flag);
    EXPECT_FALSE(G.Calls[2].OwnColors || G.Calls[2].Flag);
    EXPECT_TRUE(P->OwnColors && P->Filled);  // restored after the outline
}

TEST(PolylineDraw, DirectionArrowSitsOnTheFirstSegmentOfUnitLength) {
    TRecordingGraphics G;
    MakePolyline({{0, 0, 0}, {0.5, 0, 0}, {0.5, 2, 0}, {9, 9, 9}})->DrawDirection(G);
    ASSERT_EQ(G.Names(), std::vector<std::string>{"Vector"});
    EXPECT_EQ(G.Calls[0].Points, (std::vector<TMVector>{{0.5, 0, 0}, {0, 0.5, 0}}));
    EXPECT_EQ(G.Calls[0].Size, 1.0);
    EXPECT_TRUE(G.Calls[0].Flag);

    TRecordingGraphics None;
    MakePolyline({{0, 0, 0}, {0.5, 0, 0}, {0.5, 0.9, 0}})->DrawDirection(None);
    EXPECT_TRUE(None.Calls.empty());
}
