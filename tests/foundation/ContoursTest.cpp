#include "foundation/Contours.h"

#include <gtest/gtest.h>

#include <functional>
#include <numbers>
#include <utility>
#include <cmath>
#include <string>
#include <vector>

#include "VkMathsExpect.h"
#include "foundation/Console.h"
#include "foundation/Errors.h"
#include "foundation/GeomBox.h"
#include "foundation/GeomFacet.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "foundation/PolygonIntersect.h"
#include "foundation/Polyline.h"
#include "foundation/TextFile.h"

using namespace sarnova;

namespace {

// Three colours none of which is a default, so that a line coloured by the wrong axis shows.
const TContourColors AxisColors{clTeal, clOlive, clPurple};

std::vector<double> Positions(const TContours& C, int Axis) {
    std::vector<double> Result;
    const int N = Axis == 0 ? C.XCount() : Axis == 1 ? C.YCount() : C.ZCount();
    for (int I = 0; I < N; ++I)
        Result.push_back((Axis == 0 ? C.XContour(I) : Axis == 1 ? C.YContour(I) : C.ZContour(I))->Position);
    return Result;
}

std::string Saved(const TContours& C) {
    TTextWriter Out;
    C.SaveToText(Out);
    return Out.Text();
}

std::unique_ptr<TPolygon> Tri(const TMVector& A, const TMVector& B, const TMVector& C) {
    return TriangleFromVectors(A, B, C);
}

// The unit cube [0, 1]^3 as twelve triangles, every face split along a diagonal.
std::unique_ptr<TPolygonList> Cube() {
    auto M = std::make_unique<TPolygonList>();
    auto Face = [&M](TMVector A, TMVector B, TMVector C, TMVector D) {
        M->Add(Tri(A, B, C));
        M->Add(Tri(A, C, D));
    };
    Face({0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0});
    Face({0, 0, 1}, {0, 1, 1}, {1, 1, 1}, {1, 0, 1});
    Face({0, 0, 0}, {0, 0, 1}, {1, 0, 1}, {1, 0, 0});
    Face({0, 1, 0}, {1, 1, 0}, {1, 1, 1}, {0, 1, 1});
    Face({0, 0, 0}, {0, 1, 0}, {0, 1, 1}, {0, 0, 1});
    Face({1, 0, 0}, {1, 0, 1}, {1, 1, 1}, {1, 1, 0});
    return M;
}

// Captures the console lines written while it lives.
class ConsoleLines {
public:
    ConsoleLines() : FSaved(GConsole->OnLine) {
        GConsole->OnLine = [this](const std::string& L) { Lines.push_back(L); };
    }
    ~ConsoleLines() { GConsole->OnLine = FSaved; }
    std::vector<std::string> Lines;

private:
    std::function<void(const std::string&)> FSaved;
};

}  // namespace

// ---- The set ----

TEST(Contours, ListsKeepTheirOrderAndTheGlobalIndexRunsXThenYThenZ) {
    TContours C;
    C.AddContour(2, 5);
    C.AddContour(0, 3);
    C.AddContour(1, 4);
    C.AddContour(0, 1);
    C.AddContour(3, 9);  // no such axis
    C.AddContour(-1, 9);
    EXPECT_EQ(C.Count(), 4);
    const double Expected[] = {3, 1, 4, 5};
    for (int I = 0; I < 4; ++I) EXPECT_EQ(C.Contour(I)->Position, Expected[I]) << I;
    EXPECT_EQ(C.Contour(2)->Axis, 1);
    EXPECT_EQ(C.Contour(-1), nullptr);
    EXPECT_EQ(C.Contour(4), nullptr);
    ExpectError([&] { C.XContour(2); }, "List index out of bounds (2)");

    const auto Copy = C.Clone();
    C.ClearX();
    EXPECT_EQ(C.Count(), 2);
    EXPECT_EQ(Positions(*Copy, 0), (std::vector<double>{3, 1}));
    Copy->Assign(*Copy);
    EXPECT_EQ(Copy->Count(), 4);
    Copy->Clear();
    EXPECT_EQ(Copy->Count(), 0);
}

TEST(Contours, RangesRunFromFirstToLast) {
    TContours C;
    C.AddContourRange(1, 4, 1, 3);
    EXPECT_EQ(Positions(C, 1), (std::vector<double>{1, 1.5, 2, 2.5, 3}));
    C.AddContourRange(1, -1, 7, 8);
    EXPECT_EQ(C.YCount(), 5);
    // A range of no steps is its first contour rather than a division of 0 by 0.
    C.AddContourRange(2, 0, 7, 8);
    EXPECT_EQ(Positions(C, 2), (std::vector<double>{7}));
}

// ---- Text block ----

TEST(Contours, TextBlockWritesEveryAxisInOrderAndReadsBackByteForByte) {
    TContours C;
    C.AddContour(2, 1.25);
    C.AddContour(0, -3.5);
    C.AddContour(1, 99999.999);
    C.AddContour(1, 100000);
    C.AddContour(1, 12345678.9);
    C.AddContour(1, -10000);
    C.AddContour(0, 0.0004);
    const std::string Text = Saved(C);
    // Positions that fill their field are set off from the code so that the line reads back.
    EXPECT_EQ(Text,
              "NumContours=7\n"
              "         1    -3.500\n"
              "         1     0.000\n"
              "         2 99999.999\n"
              "         2 100000.000\n"
              "         2 12345678.900\n"
              "         2 -10000.000\n"
              "         3     1.250\n");
    TContours Read;
    Read.AddContour(2, 99);  // reading replaces what was there
    TTextReader In(Text);
    Read.LoadFromText(In);
    EXPECT_EQ(Saved(Read), Text);
    EXPECT_EQ(Positions(Read, 2), (std::vector<double>{1.25}));
    EXPECT_TRUE(In.Eof());
}

TEST(Contours, ReadingSkipsUnknownCodesAndAcceptsAnEmptySet) {
    TContours C;
    TTextReader In("NumContours=3\r\n         4     9.000\r\n         1     2.000 tail\r\n  3 -1\r\nNext");
    C.LoadFromText(In);
    EXPECT_EQ(Positions(C, 0), (std::vector<double>{2}));
    EXPECT_EQ(Positions(C, 2), (std::vector<double>{-1}));
    EXPECT_EQ(In.ReadLine(), "Next");

    TTextReader Empty("NumContours=0\n");
    C.LoadFromText(Empty);
    EXPECT_EQ(C.Count(), 0);
}

TEST(Contours, DamagedBlocksRaiseAndKeepWhatWasRead) {
    TContours C;
    TTextReader BadCount("NumContours=many\n");
    EXPECT_THROW(C.LoadFromText(BadCount), EConvertError);

    // A count far beyond the lines present ends at the end of the text, not in an allocation.
    TTextReader Short("NumContours=2000000000\n         1     2.000\n");
    EXPECT_THROW(C.LoadFromText(Short), EInOutError);
    EXPECT_EQ(Positions(C, 0), (std::vector<double>{2}));

    TTextReader Fraction("NumContours=1\n       1.5     2.000\n");
    EXPECT_THROW(C.LoadFromText(Fraction), EInOutError);
    TTextReader Word("NumContours=1\n         1     abc\n");
    EXPECT_THROW(C.LoadFromText(Word), EInOutError);
}

// ---- Filling ----

TEST(Contours, SpacingCoversTheBoxWithOneStepBeyondEachEnd) {
    struct Case {
        double Min, Max, Spacing;
        std::vector<double> Expected;
    };
    const Case Cases[] = {
        {0.5, 3.2, 1.0, {-1, 0, 1, 2, 3, 4}},
        {-2.5, 2.0, 1.0, {-3, -2, -1, 0, 1, 2, 3}},
        {0.0, 1.0, 0.5, {-0.5, 0, 0.5, 1, 1.5}},
    };
    for (const Case& K : Cases) {
        TContours C;
        C.AddContour(0, 42);
        SetContourSpacing(MakeBox(K.Min, 0, 0, K.Max, 1, 1), C, K.Spacing, 0, 0);
        const std::vector<double> Got = Positions(C, 0);
        ASSERT_EQ(Got.size(), K.Expected.size()) << K.Min;
        for (std::size_t I = 0; I < Got.size(); ++I) EXPECT_NEAR(Got[I], K.Expected[I], 1e-12) << K.Min;
    }
}

TEST(Contours, SpacingLeavesAnAxisAloneWhenTheSpacingVanishesOrTheBoxIsFlat) {
    TContours C;
    C.AddContour(0, 7);
    C.AddContour(1, 8);
    C.AddContour(2, 9);
    // x: spacing 0; y: spacing below 1e-4; z: box flat in z.
    SetContourSpacing(MakeBox(0, 0, 3, 10, 10, 3), C, 0, 0.00005, 1);
    EXPECT_EQ(Positions(C, 0), (std::vector<double>{7}));
    EXPECT_EQ(Positions(C, 1), (std::vector<double>{8}));
    EXPECT_EQ(Positions(C, 2), (std::vector<double>{9}));
    // The empty box is flat on every axis in the sense that matters: its maximum is below its minimum.
    SetContourSpacing(EmptyBox, C, 1, 1, 1);
    EXPECT_EQ(C.Count(), 3);
}

TEST(Contours, SpacingRefusesToFillAnAxisWithoutLimit) {
    TContours C;
    C.AddContour(0, 7);
    ExpectError([&] { SetContourSpacing(MakeBox(0, 0, 0, 1000, 1, 1), C, 0.0002, 0, 0); },
                "SetContourSpacing - Too many contours");
    EXPECT_EQ(Positions(C, 0), (std::vector<double>{7}));
}

TEST(Contours, StationContoursComeFromSectionsInPlanesOfConstantX) {
    TPolylineList List;
    auto Add = [&List](std::vector<TMVector> Points) {
        auto P = std::make_unique<TPolyline>();
        for (const TMVector& V : Points) P->AddVector(V);
        List.Add(std::move(P));
    };
    Add({{2, 0, 0}, {2, 1, 0}, {2, 1, 1}});        // station 2
    Add({{5, 0, 0}, {5, 1, 0.5}, {5, 1.5, 2}});    // station 5, already present within 1e-4
    Add({{0, 0, 1}, {1, 0, 1}, {1, 1, 1}});        // a waterline: ignored
    Add({{3, 0, 0}, {3.5, 1, 0}, {3, 1, 1}});      // not in a plane of constant x
    Add({{2.00005, 0, 0}, {2.00005, 0, 1}, {2.00005, 1, 1}});  // station 2 again
    TContours C;
    C.AddContour(0, 5.00005);
    AddStationContours(List, C);
    EXPECT_EQ(Positions(C, 0), (std::vector<double>{5.00005, 2}));
    EXPECT_EQ(C.Count(), 2);
}

// ---- Cutting one facet ----

TEST(Contours, FacetCutsFollowTheCornersOnThePlane) {
    struct Case {
        const char* Name;
        TMTriangle T;
        int Axis;
        double C;
        std::vector<TMVector> Expected;  // empty: no segment
    };
    const Case Cases[] = {
        {"crossing", {{{0, 0, -1}, {2, 0, 1}, {0, 2, 1}}}, 2, 0, {{1, 0, 0}, {0, 1, 0}}},
        {"corner and opposite edge", {{{0, 0, 0}, {1, -1, 2}, {1, 1, 2}}}, 1, 0, {{0, 0, 0}, {1, 0, 2}}},
        {"touching corner", {{{0, 0, 0}, {1, 0, 1}, {0, 1, 1}}}, 2, 0, {}},
        {"edge in the plane", {{{0, 0, 0}, {1, 0, 0}, {0, 1, 1}}}, 2, 0, {{0, 0, 0}, {1, 0, 0}}},
        {"lying in the plane", {{{0, 0, 3}, {1, 0, 3}, {0, 1, 3}}}, 2, 3, {}},
        {"nearly in a constant plane", {{{0, 0, 0}, {1, 0, 0.00005}, {0, 1, 0.00009}}}, 2, 0.00002, {}},
        {"missing", {{{0, 0, 0}, {1, 0, 1}, {0, 1, 1}}}, 0, 5, {}},
        {"shorter than the tolerance", {{{0, 0, 0}, {1, 0, 0.00005}, {1, 0.00005, 0}}}, 0, 0.5, {}},
    };
    for (const Case& K : Cases) {
        SCOPED_TRACE(K.Name);
        TLines Lines;
        CutFacetWithAxisPlane(*Tri(K.T[0], K.T[1], K.T[2]), K.Axis, Lines, K.C);
        if (K.Expected.empty()) {
            EXPECT_EQ(Lines.Count(), 0);
            continue;
        }
        ASSERT_EQ(Lines.Count(), 1);
        ExpectNear(Lines.Line(0)->Point1->Vector(), K.Expected[0], 1e-12);
        ExpectNear(Lines.Line(0)->Point2->Vector(), K.Expected[1], 1e-12);
        // On the cut axis the points lie exactly on the plane.
        EXPECT_EQ(PointCoordinate(*Lines.Line(0)->Point1, static_cast<std::uint8_t>(K.Axis)), K.C);
    }
}

TEST(Contours, FacetCutsTakeCornersWithWhatTheyCarryAndSkipQuadrilaterals) {
    auto F = Tri({0, 0, 0}, {1, -1, 2}, {1, 1, 2});
    TRPoint Tagged = F->CornerPoint(0);
    Tagged.Tag = 7;
    F->AssignCorner(0, Tagged);
    TLines Lines;
    CutFacetWithAxisPlane(*F, 1, Lines, 0);
    ASSERT_EQ(Lines.Count(), 1);
    EXPECT_EQ(Lines.Line(0)->Point1->Tag, 7);

    auto Q = QuadFromVectors({0, 0, -1}, {1, 0, -1}, {1, 0, 1}, {0, 0, 1});
    CutFacetWithAxisPlane(*Q, 2, Lines, 0);
    CutFacetWithAxisPlane(*F, 3, Lines, 0);
    EXPECT_EQ(Lines.Count(), 1);
}

// ---- Contours of a mesh ----

TEST(Contours, NothingToCutGivesNoList) {
    ConsoleLines Console;
    TContours None;
    EXPECT_EQ(ContoursFromPolygons(nullptr, None, AxisColors), nullptr);
    EXPECT_TRUE(Console.Lines.empty());

    const auto M = Cube();
    EXPECT_EQ(ContoursFromPolygons(M.get(), None, AxisColors), nullptr);
    EXPECT_EQ(Console.Lines, (std::vector<std::string>{"  Creating Contours from Polygon Representation..."}));

    TContours Far;
    Far.AddContour(2, 5);
    EXPECT_EQ(ContoursFromPolygons(M.get(), Far, AxisColors), nullptr);
    const TPolygonList Empty;
    EXPECT_EQ(ContoursFromPolygons(&Empty, Far, AxisColors), nullptr);
    // A facet never given corners lies at the origin, and is cut (or not) without failing.
    TPolygonList Blank;
    Blank.Add(std::make_unique<TPolygon>());
    TContours Origin;
    Origin.AddContour(0, 0);
    EXPECT_EQ(ContoursFromPolygons(&Blank, Origin, AxisColors), nullptr);
}

TEST(Contours, ACubeGivesOneClosedLineAtEveryLevelColouredByAxis) {
    const auto M = Cube();
    TContours C;
    C.AddContour(2, 0.5);
    C.AddContour(0, 0.25);
    C.AddContour(1, 0.75);
    const auto Lines = ContoursFromPolygons(M.get(), C, AxisColors);
    ASSERT_NE(Lines, nullptr);
    ASSERT_EQ(Lines->Count(), 3);
    const TColor Colors[] = {AxisColors.X, AxisColors.Y, AxisColors.Z};
    const double Levels[] = {0.25, 0.75, 0.5};
    for (int I = 0; I < 3; ++I) {
        SCOPED_TRACE(I);
        const TPolyline& L = *Lines->Items(I);
        EXPECT_TRUE(L.OwnColors);
        EXPECT_EQ(L.LineColor, Colors[I]);
        // Every face is two triangles, so the square section has a point on each face diagonal too.
        EXPECT_EQ(L.Count(), 9);
        EXPECT_FALSE(L.First() == L.Last());
        EXPECT_TRUE(L.First()->IsEqual(*L.Last()));
        EXPECT_NEAR(L.Length(), 4, 1e-12);
        for (int K = 0; K < L.Count(); ++K)
            EXPECT_EQ(PointCoordinate(*std::as_const(L).Point(K), static_cast<std::uint8_t>(I)), Levels[I]);
    }
}

TEST(Contours, ShapesOfCutLines) {
    // Two triangles sharing the edge y = 0 in the plane z = 0, folded up on both sides: the edge is
    // found by both and kept once.
    TPolygonList Fold;
    Fold.Add(Tri({0, 0, 0}, {1, 0, 0}, {0.5, 1, 1}));
    Fold.Add(Tri({1, 0, 0}, {0, 0, 0}, {0.5, -1, 1}));
    TContours Z0;
    Z0.AddContour(2, 0);
    auto Lines = ContoursFromPolygons(&Fold, Z0, AxisColors);
    ASSERT_NE(Lines, nullptr);
    ASSERT_EQ(Lines->Count(), 1);
    EXPECT_EQ(Lines->Items(0)->Count(), 2);

    // An open strip gives an open line from one end to the other.
    TPolygonList Strip;
    for (int I = 0; I < 4; ++I) {
        Strip.Add(Tri({double(I), 0, 0}, {I + 1.0, 0, 0}, {I + 1.0, 0, 1}));
        Strip.Add(Tri({double(I), 0, 0}, {I + 1.0, 0, 1}, {double(I), 0, 1}));
    }
    TContours Half;
    Half.AddContour(2, 0.5);
    Lines = ContoursFromPolygons(&Strip, Half, AxisColors);
    ASSERT_NE(Lines, nullptr);
    ASSERT_EQ(Lines->Count(), 1);
    ExpectNear(Lines->Items(0)->First()->Vector(), {0, 0, 0.5}, 1e-12);
    ExpectNear(Lines->Items(0)->Last()->Vector(), {4, 0, 0.5}, 1e-12);
    EXPECT_EQ(Lines->Items(0)->Count(), 9);

    // Three fins on the z axis: their cuts meet at one point. The lowest segment runs on through it
    // along the next lowest; the third starts a line of its own.
    TPolygonList Fins;
    for (TMVector Tip : {TMVector{1, 0, 0}, TMVector{0, 1, 0}, TMVector{-1, -1, 0}})
        Fins.Add(Tri({0, 0, 0}, {0, 0, 1}, Tip));
    TContours Quarter;
    Quarter.AddContour(2, 0.25);
    Lines = ContoursFromPolygons(&Fins, Quarter, AxisColors);
    ASSERT_NE(Lines, nullptr);
    ASSERT_EQ(Lines->Count(), 2);
    ASSERT_EQ(Lines->Items(0)->Count(), 3);
    ExpectNear(Lines->Items(0)->First()->Vector(), {-0.75, -0.75, 0.25}, 1e-12);
    ExpectNear(std::as_const(*Lines->Items(0)).Point(1)->Vector(), {0, 0, 0.25}, 1e-12);
    ExpectNear(Lines->Items(0)->Last()->Vector(), {0, 0.75, 0.25}, 1e-12);
    ASSERT_EQ(Lines->Items(1)->Count(), 2);
    ExpectNear(Lines->Items(1)->Last()->Vector(), {0.75, 0, 0.25}, 1e-12);

    // A cut shorter than 0.001 is dropped.
    TPolygonList Tiny;
    Tiny.Add(Tri({0, 0, 0}, {0.0008, 0, 1}, {0, 0.0002, 1}));
    EXPECT_EQ(ContoursFromPolygons(&Tiny, Half, AxisColors), nullptr);

    // Two separate loops at one level give two lines; a third contour adds its own.
    const auto Two = Cube();
    Two->AddCopies(Cube()->Transformed(MatrixTranslation(3, 0, 0)).get());
    Lines = ContoursFromPolygons(Two.get(), Half, AxisColors);
    ASSERT_NE(Lines, nullptr);
    EXPECT_EQ(Lines->Count(), 2);
}

// A large mesh at many levels, and one level of many loops: every contour closed and every segment
// chained once (benchmarks/ContoursBench.cpp measures how long it takes).
TEST(Contours, ALargeMeshAtManyLevels) {
    // A unit sphere from a 400 x 400 grid of latitude and longitude: 320,000 triangles.
    const int N = 400;
    auto At = [N](int I, int J) {
        const double Theta = std::numbers::pi * I / N;
        const double Phi = 2 * std::numbers::pi * J / N;
        return TMVector{std::sin(Theta) * std::cos(Phi), std::sin(Theta) * std::sin(Phi), std::cos(Theta)};
    };
    TPolygonList Sphere;
    for (int I = 0; I < N; ++I)
        for (int J = 0; J < N; ++J) {
            Sphere.Add(Tri(At(I, J), At(I + 1, J), At(I + 1, J + 1)));
            Sphere.Add(Tri(At(I, J), At(I + 1, J + 1), At(I, J + 1)));
        }
    TContours C;
    C.AddContourRange(2, 99, -0.98, 0.98);
    const auto Lines = ContoursFromPolygons(&Sphere, C, AxisColors);
    ASSERT_NE(Lines, nullptr);
    ASSERT_EQ(Lines->Count(), 100);
    for (int I = 0; I < Lines->Count(); ++I) {
        const TPolyline& L = *Lines->Items(I);
        EXPECT_TRUE(L.IsClosed()) << I;
        // A point on every edge the level crosses: two per grid cell, or one where the level runs
        // within 1e-4 of a row of nodes and both cuts of a cell merge.
        EXPECT_TRUE(L.Count() == 2 * N + 1 || L.Count() == N + 1) << I;
        const double R = std::sqrt(1 - C.Contour(I)->Position * C.Contour(I)->Position);
        EXPECT_NEAR(L.Length(), 2 * std::numbers::pi * R, 0.005 * R) << I;
    }

    // An egg-box surface cut through its middle: one level of some 50,000 segments in many loops.
    TPolygonList Field;
    auto Height = [](double X, double Y) { return std::sin(150 * X) * std::sin(150 * Y) + 0.1 * X; };
    auto Node = [&](int I, int J) { return TMVector{I / 300.0, J / 300.0, Height(I / 300.0, J / 300.0)}; };
    for (int I = 0; I < 300; ++I)
        for (int J = 0; J < 300; ++J) {
            Field.Add(Tri(Node(I, J), Node(I + 1, J), Node(I + 1, J + 1)));
            Field.Add(Tri(Node(I, J), Node(I + 1, J + 1), Node(I, J + 1)));
        }
    TContours Middle;
    Middle.AddContour(2, 0.0123);
    // The segments with their ends merged within 1e-4, as the chaining sees them.
    TLines Segments;
    for (int I = 0; I < Field.Count(); ++I) CutFacetWithAxisPlane(*Field.Polygon(I), 2, Segments, 0.0123);
    ASSERT_GT(Segments.Count(), 40000);
    TPolygonIntersections Graph;
    for (int I = 0; I < Segments.Count(); ++I)
        Graph.AddSegmentUnchecked(Segments.Line(I)->Point1->Vector(), Segments.Line(I)->Point2->Vector());
    Graph.Edges.SortEdges();
    double SegmentLength = 0;
    for (int I = 0; I < Graph.Edges.Count(); ++I)
        SegmentLength += VectorDistance(Graph.Edges.Edge(I)->V1->Position, Graph.Edges.Edge(I)->V2->Position);
    const auto Loops = ContoursFromPolygons(&Field, Middle, AxisColors);
    ASSERT_NE(Loops, nullptr);
    EXPECT_GT(Loops->Count(), 100);
    double LoopLength = 0;
    for (int I = 0; I < Loops->Count(); ++I) LoopLength += Loops->Items(I)->Length();
    // Every segment ends up in exactly one line, but for the few pieces shorter than 0.001 that are
    // dropped.
    EXPECT_LE(LoopLength, SegmentLength + 1e-9);
    EXPECT_GT(LoopLength, SegmentLength - 0.01);
}

// ---- Station sections ----

namespace {

// A prismatic surface from x = 0 to 4 through the section points YZ.
std::unique_ptr<TPolygonList> Prism(const std::vector<std::pair<double, double>>& YZ) {
    auto M = std::make_unique<TPolygonList>();
    for (std::size_t K = 1; K < YZ.size(); ++K) {
        const auto [Y0, Z0] = YZ[K - 1];
        const auto [Y1, Z1] = YZ[K];
        M->Add(Tri({0, Y0, Z0}, {4, Y0, Z0}, {4, Y1, Z1}));
        M->Add(Tri({0, Y0, Z0}, {4, Y1, Z1}, {0, Y1, Z1}));
    }
    return M;
}

// One side of a hull, an open surface: its section runs from the keel at y = Offset out and up to
// the deck edge at (Side, 1); Side -1 puts it on the port side.
std::unique_ptr<TPolygonList> HalfSection(double Offset, double Side = 1) {
    return Prism({{Side * Offset, 0}, {Side * 0.5, 0.1}, {Side * 0.9, 0.5}, {Side * 1.0, 1.0}});
}

}  // namespace

TEST(Contours, SectionsAgainstTheCentrePlaneAreMirroredAndClosed) {
    const auto M = HalfSection(0.01);
    const auto S = PolygonSectionAtX(*M, 2);
    ASSERT_NE(S, nullptr);
    EXPECT_TRUE(S->IsClosed());
    // Four points up the side, three mirrored back down (point 0 is not repeated), and the closing one.
    ASSERT_EQ(S->Count(), 8);
    ExpectNear(S->First()->Vector(), {2, 0.01, 0}, 1e-12);
    ExpectNear(std::as_const(*S).Point(3)->Vector(), {2, 1, 1}, 1e-12);
    ExpectNear(std::as_const(*S).Point(4)->Vector(), {2, -1, 1}, 1e-12);
    ExpectNear(std::as_const(*S).Point(6)->Vector(), {2, -0.5, 0.1}, 1e-12);
    ExpectNear(S->Last()->Vector(), {2, 0.01, 0}, 1e-12);

    // A point within 0.01 of its predecessor in y and z is thinned out before mirroring.
    const auto Close = PolygonSectionAtX(*Prism({{0, 0}, {0.5, 0.1}, {0.505, 0.102}, {0.9, 0.5}, {1, 1}}), 2);
    ASSERT_NE(Close, nullptr);
    ASSERT_EQ(Close->Count(), 8);
    ExpectNear(std::as_const(*Close).Point(2)->Vector(), {2, 0.9, 0.5}, 1e-12);
}

TEST(Contours, SectionsAwayFromTheCentrePlaneAreClosedAsTheyAre) {
    const auto M = HalfSection(0.05);
    const auto S = PolygonSectionAtX(*M, 1);
    ASSERT_NE(S, nullptr);
    ASSERT_EQ(S->Count(), 5);
    EXPECT_TRUE(S->IsClosed());
    ExpectNear(S->First()->Vector(), {1, 0.05, 0}, 1e-12);
    ExpectNear(std::as_const(*S).Point(3)->Vector(), {1, 1, 1}, 1e-12);

    EXPECT_EQ(PolygonSectionAtX(*M, 7), nullptr);

    // On the port side the cut comes out from the deck down; it is turned to start at the keel. Its
    // least y is the deck edge's, so it is not mirrored.
    const auto Port = PolygonSectionAtX(*HalfSection(0.01, -1), 1);
    ASSERT_NE(Port, nullptr);
    ASSERT_EQ(Port->Count(), 5);
    ExpectNear(Port->First()->Vector(), {1, -0.01, 0}, 1e-12);
    ExpectNear(std::as_const(*Port).Point(3)->Vector(), {1, -1, 1}, 1e-12);
}

// A whole section comes out open from a hull without a deck, or where a fine mesh's narrow end merges
// the crossings either side of the keel. However narrow, it is closed as it is: its mirror image
// would run round it a second time and double its area.
TEST(Contours, OpenSectionsAcrossTheCentrePlaneAreNotMirrored) {
    const auto S = PolygonSectionAtX(*Prism({{-0.04, 1}, {-0.02, 0.3}, {0, 0}, {0.02, 0.3}, {0.04, 1}}), 2);
    ASSERT_NE(S, nullptr);
    EXPECT_TRUE(S->IsClosed());
    ASSERT_EQ(S->Count(), 6);
    ExpectNear(S->First()->Vector(), {2, -0.04, 1}, 1e-12);
    ExpectNear(std::as_const(*S).Point(4)->Vector(), {2, 0.04, 1}, 1e-12);
    ExpectNear(S->Last()->Vector(), {2, -0.04, 1}, 1e-12);
}

// Just short of the column of vertices at x = 4, the cut crosses each diagonal within 1e-4 of the
// row above, and that crossing merges with the row's point; at the deck edge the section must still
// end on the edge itself, or a waterline at deck height finds no breadth there.
TEST(Contours, SectionsNextToAVertexColumnKeepTheDeckEdge) {
    struct TCase {
        double Offset;
        double Side;
        // Points on the deck edge: the edge, and its mirror image for a half section against the
        // centre plane (on the port side the least y is the deck edge's, so it is not one).
        int AtDeck;
    };
    for (const TCase& Case : {TCase{0.05, 1, 1}, TCase{0.05, -1, 1}, TCase{0.01, 1, 2}, TCase{0.01, -1, 1}}) {
        SCOPED_TRACE(Case.Offset * Case.Side);
        for (double X : {4 - 5e-5, 4 - 1e-6}) {
            SCOPED_TRACE(X);
            const auto S = PolygonSectionAtX(*HalfSection(Case.Offset, Case.Side), X);
            ASSERT_NE(S, nullptr);
            int AtDeck = 0;
            for (int I = 0; I < S->Count(); ++I) {
                const TRPoint& P = *std::as_const(*S).Point(I);
                EXPECT_LE(P.Z, 1);
                if (P.Z == 1) {
                    ++AtDeck;
                    EXPECT_EQ(std::fabs(P.Y), 1);
                }
            }
            EXPECT_EQ(AtDeck, Case.AtDeck);
        }
    }
}

TEST(Contours, ClosedSectionsComeBackAsCut) {
    const auto M = Cube();
    const auto S = PolygonSectionAtX(*M, 0.5);
    ASSERT_NE(S, nullptr);
    const auto Cut = IntersectPlaneWithPolygons(PlaneFromDirection(3, 0.5), *M);
    ASSERT_EQ(Cut->Count(), 1);
    const TPolyline& Expected = *Cut->Items(0);
    ASSERT_TRUE(Expected.IsClosed());
    ASSERT_EQ(S->Count(), Expected.Count());
    for (int I = 0; I < S->Count(); ++I)
        ExpectNear(std::as_const(*S).Point(I)->Vector(), Expected.Point(I)->Vector(), 0);
}
