// The lines plan: grid values and grid lines, the border and information box, and the plan's sheet.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <numbers>
#include <sstream>

#include "HullMeshes.h"
#include "PolylineShape.h"
#include "exchange/ExchangeFixtures.h"
#include "document/Geometry.h"
#include "exchange/DXFFile.h"
#include "foundation/Contours.h"
#include "foundation/Errors.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "naval/Linesplan.h"
#include "naval/PolyFont.h"
#include "platform/RecordingGraphics.h"
#include "surfaces/BSurface.h"

using namespace sarnova;

namespace {

std::vector<double> Values(const TLinesPlanGridLines& L) {
    std::vector<double> R;
    for (int I = 0; I < L.Count(); ++I) R.push_back(L.Values(I));
    return R;
}

bool SameShape(const std::vector<std::vector<TMVector>>& A, const std::vector<std::vector<TMVector>>& B) {
    if (A.size() != B.size()) return false;
    for (std::size_t I = 0; I < A.size(); ++I) {
        if (A[I].size() != B[I].size()) return false;
        for (std::size_t K = 0; K < A[I].size(); ++K)
            if (std::abs(A[I][K].X - B[I][K].X) > 1e-9 || std::abs(A[I][K].Y - B[I][K].Y) > 1e-9) return false;
    }
    return true;
}

std::string ReadFile(const std::filesystem::path& Name) {
    std::ifstream In(Name, std::ios::binary);
    std::stringstream S;
    S << In.rdbuf();
    return S.str();
}

class TTempDir {
public:
    TTempDir() : Path(std::filesystem::temp_directory_path() / ("linesplan-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(Path);
    }
    ~TTempDir() { std::filesystem::remove_all(Path); }
    std::filesystem::path Path;
};

}  // namespace

TEST(LinesPlanGridLines, KeepsValuesSortedAndUnique) {
    const struct {
        std::vector<double> Added, Kept;
    } Cases[] = {
        {{3, 1, 2}, {1, 2, 3}},
        {{1, 5, 3, 4, 2, 0, 6}, {0, 1, 2, 3, 4, 5, 6}},
        {{1, 2, 3, 4, 5, 3, 1, 5, 2, 4}, {1, 2, 3, 4, 5}},
        {{-1, 1, 0, 0, -0.5, 0.5, -0.5}, {-1, -0.5, 0, 0.5, 1}},
    };
    for (const auto& C : Cases) {
        TLinesPlanGridLines L(nullptr);
        for (double V : C.Added) L.Add(V);
        EXPECT_EQ(Values(L), C.Kept);
    }
}

TEST(LinesPlanGrid, StationsGridTakesBothSidesOfTheBodyPlan) {
    const struct {
        std::vector<double> Ys;
        std::vector<double> Horizontal;
        int Lines;
    } Cases[] = {
        {{-2, -1}, {}, 0},             // no buttock at or above 0: no grid at all
        {{0}, {0}, 1 + 2},             // the centre line once, and the two waterlines
        {{-1, 0, 1.5}, {-1.5, 0, 1.5}, 3 + 2},
    };
    for (const auto& C : Cases) {
        TContours Contours;
        for (double Y : C.Ys) Contours.AddContour(1, Y);
        Contours.AddContour(2, 0);
        Contours.AddContour(2, 1);
        TLinesPlanGrid Grid(nullptr);
        Grid.SetContours(Contours, 1);
        EXPECT_EQ(Values(Grid.HorizontalValues), C.Horizontal);
        EXPECT_EQ(Grid.VerticalValues.Count(), 2);
        EXPECT_EQ(Grid.Polylines().Count(), C.Lines);
    }
}

TEST(LinesPlanGrid, FlippedGridWritesTheUnflippedFigures) {
    TLinesPlanGrid Grid(nullptr);
    Grid.HorizontalValues.Add(0);
    Grid.HorizontalValues.Add(2);
    Grid.VerticalValues.Add(1.23456);
    Grid.SetOffset({10, 20, 0});
    Grid.SetTextSize(10);  // glyph units on the sheet
    Grid.SetShowText(true);
    Grid.SetFlip(true);
    const TMBox Box = Grid.GetExtents();
    EXPECT_DOUBLE_EQ(Box.Min.Y, -1.23456);
    EXPECT_DOUBLE_EQ(Box.Max.X, 2);

    const TPolylineList& P = Grid.Polylines();
    auto Figure = StrokeText("1.2346", 0, 0, 1, 0);
    const TMBox F = Figure->Extents();
    const double W = F.Max.X - F.Min.X, T = F.Max.Y - F.Min.Y, CY = (F.Min.Y + F.Max.Y) / 2;
    // Behind the two vertical lines with their four figures "0" and "2" comes the horizontal line at
    // -v, then its figure on the left.
    TPolylineList Expected;
    Expected.AddCopies(*Figure->Transformed(MatrixTranslation(10 - W - T / 2, 20 - 1.23456 - CY, 0)));
    int Start = 0;
    for (int I = 0; I < P.Count(); ++I)
        if (P.Items(I)->Count() == 2 && P.Items(I)->Point(0)->X == 10 && P.Items(I)->Point(1)->X == 12) Start = I + 1;
    ASSERT_GT(Start, 0);
    ASSERT_GE(P.Count(), Start + Expected.Count());
    TPolylineList Got;
    for (int I = 0; I < Expected.Count(); ++I) Got.Add(P.Items(Start + I)->Clone());
    EXPECT_TRUE(SameShape(Shape(Got), Shape(Expected)));
    EXPECT_DOUBLE_EQ(P.Items(Start - 1)->Point(0)->Y, 20 - 1.23456);
}

TEST(LinesPlanBorder, InformationBoxSitsInTheLowerRightCorner) {
    for (std::uint8_t Layout : {0, 2}) {
        TLinesPlan Plan;
        Plan.Contours().AddContour(1, 0);
        Plan.Contours().AddContour(1, 2);  // the body plan is 4 wide
        Plan.Contours().AddContour(2, 0);
        Plan.Contours().AddContour(2, 1);
        Plan.Contours().AddContour(0, 0);
        Plan.Contours().AddContour(0, 10);
        Plan.SetLayout(Layout);
        Plan.SetShowBorder(true);
        Plan.SetShowInfoBox(true);
        Plan.Update();
        const TMBox Box = Plan.Border().GetBox();
        const double Right = Layout == 2 ? Box.Max.X : Box.Max.X + 4;
        const TPolylineList& P = Plan.Border().Polylines();
        ASSERT_GE(P.Count(), 2);
        EXPECT_DOUBLE_EQ(P.Items(0)->Point(1)->X, Right) << int(Layout);
        // The box's outline: 4 wide, 4 / 1.6 high, on the border's bottom right.
        const TMBox Info = P.Items(1)->Extents();
        EXPECT_DOUBLE_EQ(Info.Max.X, Right);
        EXPECT_DOUBLE_EQ(Info.Min.X, Right - 4);
        EXPECT_DOUBLE_EQ(Info.Min.Y, Box.Min.Y);
        EXPECT_DOUBLE_EQ(Info.Max.Y, Box.Min.Y + 2.5);
        // Six rules, then the seven texts, each inside the box.
        int TextStrokes = 0;
        for (const char* T : {"Sarnova", "Lines Plan", "Notes:", "Drawn By:", "Sheet:", "Scale:", "Date:"})
            TextStrokes += StrokeText(T, 0, 0, 1, 0)->Count();
        EXPECT_EQ(P.Count(), 2 + 6 + TextStrokes);
        for (int I = 8; I < P.Count(); ++I) {
            const TMBox E = P.Items(I)->Extents();
            EXPECT_TRUE(E.Min.X >= Info.Min.X && E.Max.X <= Info.Max.X && E.Min.Y >= Info.Min.Y &&
                        E.Max.Y <= Info.Max.Y);
        }
    }
}

TEST(LinesPlanBorder, NoInformationBoxWithoutABodyPlan) {
    TLinesPlan Plan;
    Plan.Contours().AddContour(1, -1);
    Plan.Contours().AddContour(2, 0);
    Plan.Contours().AddContour(0, 0);
    Plan.SetShowBorder(true);
    Plan.SetShowInfoBox(true);
    Plan.Update();
    const TPolylineList& P = Plan.Border().Polylines();
    ASSERT_EQ(P.Count(), 1);
    EXPECT_EQ(P.Items(0)->Extents().Max.X, Plan.Border().GetBox().Max.X);
}

TEST(LinesPlanBorder, WideTextIsFittedToTheWidthAndCentred) {
    TPolylineList L;
    AddFittedText(L, "Lines Plan", 5, 7, 2, 1);
    const TMBox B = L.Extents();
    EXPECT_NEAR(B.Max.X - B.Min.X, 2, 1e-12);
    EXPECT_LT(B.Max.Y - B.Min.Y, 1);
    EXPECT_NEAR((B.Min.X + B.Max.X) / 2, 5, 1e-12);
    EXPECT_NEAR((B.Min.Y + B.Max.Y) / 2, 7, 1e-12);
}

TEST(LinesPlan, EmptyPlanWritesAnEmptyEntitiesSection) {
    TTempDir Dir;
    TLinesPlan Plan;
    TRecordingGraphics G;
    Plan.Draw(G);
    for (const auto& Call : G.Calls) EXPECT_NE(Call.Name, "Polyline");
    Plan.SaveToDXF(Dir.Path / "empty.dxf");
    EXPECT_EQ(ReadFile(Dir.Path / "empty.dxf"), "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n  0\r\nENDSEC\r\n  0\r\nEOF\r\n");
}

TEST(LinesPlan, OnlySurfacesAreAccepted) {
    TLinesPlan Plan;
    TPolylineList NotASurface;
    try {
        Plan.AddSurface(TDataObject::Of(&NotASurface));
        FAIL() << "no error";
    } catch (const EError& E) {
        EXPECT_STREQ(E.what(), "Object is not a valid Surface");
    }
    EXPECT_EQ(Plan.SurfaceCount(), 0);
    EXPECT_EQ(Plan.GetState(), lpsFacets);
    auto Facets = WigleyHull(10, 2, 1, 8, 2);
    Plan.AddSurface(TDataObject::Of(Facets.get()));
    EXPECT_EQ(Plan.SurfaceCount(), 1);
}

class LinesPlanOfWigley : public ::testing::Test {
protected:
    void SetUp() override {
        Facets = WigleyHull(10, 2, 1, 20, 6);
        Plan.AddSurface(TDataObject::Of(Facets.get()));
        for (int X = -5; X <= 5; ++X) Plan.Contours().AddContour(0, X);
        for (double Y : {-1.0, -0.5, 0.0, 0.5, 1.0}) Plan.Contours().AddContour(1, Y);
        Plan.Contours().AddContour(2, 0.5);
    }
    std::unique_ptr<TPolygonList> Facets;
    TLinesPlan Plan;
};

TEST_F(LinesPlanOfWigley, ContourCrossingALabelLineTwiceGetsOneLabel) {
    Plan.SetShowContourText(true);
    Plan.Update();
    TLinesPlanView& W = Plan.WaterlinesView();
    W.Rebuild();
    // One closed waterline, crossed twice by each (unbounded) label line: one label per line.
    ASSERT_EQ(W.Contours().Count(), 1);
    const int Strokes = StrokeText("0.5", 0, 0, 1, 0)->Count();
    EXPECT_EQ(W.ContourTexts().Count(), 2 * Strokes);
    // A line that misses the waterline labels nothing.
    W.LabelLines[0] = {5, 0, 5, 1, false, false};
    W.LabelLines[1] = {5, 0, 6, 1, false, false};
    W.InvalidateLabels();
    W.Rebuild();
    EXPECT_EQ(W.ContourTexts().Count(), 0);
}

TEST_F(LinesPlanOfWigley, LabelOnASlantedLineKeepsItsHeight) {
    Plan.SetShowContourText(true);
    Plan.SetContourTextSize(1);
    Plan.Update();
    TLinesPlanView& W = Plan.WaterlinesView();
    const TMBox Box = W.Grid().GetExtents();
    const double Width = Box.Max.X - Box.Min.X, Height = Box.Max.Y - Box.Min.Y;
    const double Angle = std::numbers::pi / 6;
    // Through the middle of the grid box at 30 degrees on the sheet; line B misses everything.
    const double DS = std::cos(Angle) / Width * 0.5, DT = std::sin(Angle) / Height * 0.5;
    W.LabelLines[0] = {0.5 - DS, 0.5 - DT, 0.5 + DS, 0.5 + DT, false, false};
    W.LabelLines[1] = {5, 0, 5, 1, false, false};
    W.InvalidateLabels();
    W.Rebuild();
    auto Text = StrokeText("0.5", 0, 0, 0.1, 0);
    const TMBox T = Text->Extents();
    ASSERT_EQ(W.ContourTexts().Count(), Text->Count());
    // Turned back by the line's angle, the label has the text's own width and height.
    const TMBox L = W.ContourTexts().Transformed(MatrixRotationAboutAxis(ZAxisVector, -Angle))->Extents();
    EXPECT_NEAR(L.Max.Y - L.Min.Y, T.Max.Y - T.Min.Y, 1e-9);
    EXPECT_NEAR(L.Max.X - L.Min.X, T.Max.X - T.Min.X, 1e-9);
    EXPECT_DOUBLE_EQ(W.ContourTexts().Items(0)->Point(0)->Z, 0.5);
}

TEST(LinesPlan, BodyPlanSidesFollowTheReflectionPlane) {
    auto Surface = WigleySurface(10, 2, 1);
    TLinesPlan Plan;
    Plan.AddSurface(TDataObject::Of(Surface.get()));
    for (int X = -4; X <= 4; ++X) Plan.Contours().AddContour(0, X);
    Plan.Contours().AddContour(1, 0.5);
    Plan.Contours().AddContour(2, 0.5);
    Plan.SetReflectionPlane(0);
    for (bool Flip : {false, true}) {
        Plan.SetFlipSections(Flip);
        Plan.Update();
        TLinesPlanView& S = Plan.StationsView();
        S.Rebuild();
        const double Centre = S.GetOffset().X;
        int Right = 0, Left = 0;
        for (int I = 0; I < S.Contours().Count(); ++I) {
            const TMBox B = S.Contours().Items(I)->Extents();
            // Sheet z is the station; the section at the plane itself counts as beyond it.
            const bool Before = B.Max.Z < 0;
            const bool OnRight = B.Min.X >= Centre - 1e-9;
            EXPECT_TRUE(OnRight || B.Max.X <= Centre + 1e-9) << "a section on both sides";
            EXPECT_EQ(OnRight, Before != Flip) << "station " << B.Max.Z << (Flip ? " flipped" : "");
            (OnRight ? Right : Left)++;
        }
        EXPECT_EQ(Right + Left, 9);
    }
}

TEST_F(LinesPlanOfWigley, FlippedWaterlinesStayInsideTheirGrid) {
    Plan.WaterlinesView().Grid().VerticalValues.Add(0);
    double FirstY = 0;
    for (bool Flip : {false, true}) {
        Plan.SetFlipWaterlines(Flip);
        Plan.Update();
        TLinesPlanView& W = Plan.WaterlinesView();
        W.Rebuild();
        const TMBox Grid = W.Grid().GetExtents(), C = W.Contours().Extents();
        EXPECT_EQ(Grid.Min.Y, -1);
        EXPECT_EQ(Grid.Max.Y, 1);
        // The first waterline point moves to the other side of the centre line.
        const double Y0 = W.Contours().Items(0)->Point(0)->Y;
        if (Flip) {
            EXPECT_DOUBLE_EQ(Y0, -FirstY);
        }
        FirstY = Y0;
        EXPECT_GE(C.Min.Y, Grid.Min.Y - 1e-9);
        EXPECT_LE(C.Max.Y, Grid.Max.Y + 1e-9);
    }
}

TEST_F(LinesPlanOfWigley, DraggingALabelEndMovesIt) {
    Plan.EditingLabelLines = true;
    Plan.PickDistance = 10;
    Plan.Update();
    TRecordingGraphics G;
    G.ScreenAnswer = {1000, 1000};
    TSelectAction Action = saDoNothing;
    Plan.SelectHandle(G, 0, 0, Action);
    EXPECT_EQ(Action, saDoNothing);
    // Every end projects to the same pixel here: the first end of the waterlines view is taken.
    Plan.SelectHandle(G, 1003, 1004, Action);
    EXPECT_EQ(Action, saMouseDrag);
    TLinesPlanView& W = Plan.WaterlinesView();
    EXPECT_TRUE(W.LabelLines[0].Selected1);
    W.ClearSelection();
    W.LabelLines[1].Selected2 = true;
    // The grid box runs from (-5, -1) to (5, 1).
    Plan.MouseMove(0, 1, G);
    EXPECT_DOUBLE_EQ(W.LabelLines[1].S2, 0.5);
    EXPECT_DOUBLE_EQ(W.LabelLines[1].T2, 1);
    // The buttocks grid has one waterline and so no height: the end keeps its height fraction.
    W.ClearSelection();
    TLinesPlanView& B = Plan.ButtocksView();
    B.LabelLines[0].Selected1 = true;
    const double T1 = B.LabelLines[0].T1;
    Plan.MouseMove(static_cast<int>(B.GetOffset().X), 0, G);
    EXPECT_DOUBLE_EQ(B.LabelLines[0].S1, 0.5);
    EXPECT_EQ(B.LabelLines[0].T1, T1);
}

TEST(LinesPlan, WigleySurfaceSheetAsDXFAndPolylines) {
    auto Surface = WigleySurface(10, 2, 1);
    TLinesPlan Plan;
    Plan.AddSurface(TDataObject::Of(Surface.get()));
    SetContourSpacing(Plan.GetExtents(), Plan.Contours(), 1, 0.5, 0.25);
    Plan.SetShowBorder(true);
    Plan.SetShowInfoBox(true);
    Plan.Update();
    EXPECT_EQ(Plan.GetState(), lpsUpToDate);

    auto Sheet = Plan.ToPolylineList();
    std::map<TColor, int> Colours;
    for (int I = 0; I < Sheet->Count(); ++I) {
        const TPolyline* P = Sheet->Items(I);
        if (P->OwnColors) ++Colours[P->LineColor];
        for (int K = 0; K < P->Count(); ++K) EXPECT_EQ(P->Point(K)->Z, 0);
    }
    for (TColor C : {Plan.GetSectionColor(), Plan.GetWaterlineColor(), Plan.GetButtockColor(), Plan.GetGridColor(),
                     Plan.GetSurfaceColor()})
        EXPECT_GT(Colours[C], 0) << C;

    std::map<std::string, int> Expected;
    const std::pair<TLinesPlanView*, std::string> Views[] = {{&Plan.StationsView(), "Stations"},
                                                             {&Plan.WaterlinesView(), "Waterlines"},
                                                             {&Plan.ButtocksView(), "Buttocks"}};
    for (auto& [V, Base] : Views) {
        Expected[Base + "_SurfaceEdge"] = V->SurfaceEdges().Count();
        Expected[Base + "_Contours"] = V->Contours().Count();
        Expected[Base + "_Grid"] = V->Grid().Polylines().Count();
        EXPECT_GT(V->Contours().Count(), 0) << Base;
        EXPECT_GT(V->SurfaceEdges().Count(), 0) << Base;
    }
    // Two edges are seen end on in the body plan and two in the plan view (those only to the digits the
    // file holds): points on the sheet, left out of the file.
    Expected["Stations_SurfaceEdge"] -= 2;
    Expected["Waterlines_SurfaceEdge"] -= 2;
    Expected["Border"] = Plan.Border().Polylines().Count();

    TTempDir Dir;
    const auto File = Dir.Path / "wigley.dxf";
    Plan.SaveToDXF(File);
    const auto Script = Dir.Path / "count.py";
    std::ofstream(Script) << "import sys, ezdxf, collections\n"
                             "doc = ezdxf.readfile(sys.argv[1])\n"
                             "c = collections.Counter(e.dxf.layer for e in doc.modelspace() if e.dxftype() == 'POLYLINE')\n"
                             "for k in sorted(c): print(k, c[k])\n";
    if (!test::HavePythonModule("ezdxf")) GTEST_SKIP() << "python3-ezdxf is not installed";
    int Status = 0;
    const std::string Output = test::RunCommand(test::Python() + " " + Script.string() + " " + File.string(), Status);
    ASSERT_EQ(Status, 0) << Output;
    std::string Want;
    for (const auto& [Layer, Count] : Expected) Want += Layer + " " + std::to_string(Count) + "\n";
    EXPECT_EQ(Output, Want);
}
