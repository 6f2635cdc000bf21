// The grid's arithmetic without OpenGL: snapping, the spacing that keeps lines 24 pixels apart, and
// the lines it lays down in each kind of view.
#include <gtest/gtest.h>

#include <cmath>

#include "views/Camera.h"
#include "views/FakeCameraView.h"
#include "views/ViewGrid.h"

using namespace sarnova;

namespace {

class ViewGridTest : public ::testing::Test {
protected:
    ViewGridTest() : Camera(View), Grid(&Camera) { Camera.SetViewport({0, 0, View.Width, View.Height}); }

    // A parallel view along Direction at 0.5 world units a pixel.
    void LookParallel(const TMVector& Direction, const TMVector& Up, double ViewSize = 150) {
        Camera.SetMode(cmParallel);
        Camera.SetViewSize(ViewSize);
        Camera.SetTarget({0, 0, 0});
        Camera.SetEye(VectorScale(VectorNormalise(Direction), -100));
        Camera.SetUp(Up);
        Camera.Apply();
    }

    TFakeView View;
    TCamera Camera;
    TViewGrid Grid;
};

int MajorCount(const std::vector<TGridLine>& Lines) {
    int N = 0;
    for (const TGridLine& L : Lines) N += L.Major;
    return N;
}

}  // namespace

TEST_F(ViewGridTest, SnappingGoesToTheNearestMultipleWithHalvesTowardsZero) {
    const std::pair<TMVector, TMVector> Cases[] = {
        {{2.999, -1, 1}, {2, 0, 0}},  // 1.4995 down to 1; the halves -0.5 and 0.5 to 0
        {{3.001, -3.001, 5}, {4, -4, 4}},
        {{-2.5, 0.4, 1e9 + 1}, {-2, 0, 1e9}},
    };
    for (const auto& [In, Out] : Cases) EXPECT_EQ(Grid.SnapPoint(In), Out) << VectorToStr(In);

    const TMVector P{2.999, -3.001, 1.2};
    const std::pair<TEditPlaneKind, TMVector> Constrained[] = {
        {epAlongX, {2, -3.001, 1.2}}, {epAlongY, {2.999, -4, 1.2}}, {epAlongZ, {2.999, -3.001, 2}},
        {epXY, {2, -4, 1.2}},         {epYZ, {2.999, -4, 2}},       {epZX, {2, -3.001, 2}},
        {epView, P},                  {epInPlane, P},               {epAlongVector, P}};
    for (const auto& [Kind, Out] : Constrained) EXPECT_EQ(Grid.SnapPointConstrained(P, Kind), Out) << int(Kind);

    Grid.SetGridSize(0);  // no multiples to go to
    EXPECT_EQ(Grid.SnapPoint(P), P);
}

TEST_F(ViewGridTest, DrawnCellsStayAbout24PixelsApart) {
    struct TCase {
        double GridSize;
        double ViewSize;  // over 300 pixels
        int Multiplier;
    };
    const TCase Cases[] = {
        {2, 150, 6},       // 0.5 units a pixel: lines every 12 units
        {1, 150, 12},
        {100, 150, 1},     // at least one cell
        {0, 0.003, 2},     // a grid size below 1e-4 counts as 1e-4
    };
    for (const TCase& C : Cases) {
        Grid.SetGridSize(C.GridSize);
        LookParallel({0, 0, -1}, {0, 1, 0}, C.ViewSize);
        Grid.UpdatePixelMultiplier();
        EXPECT_EQ(Grid.GetPixelMultiplier(), C.Multiplier) << C.GridSize << " " << C.ViewSize;
    }

    // Oblique views: up to 20 times sparser as they turn horizontal.
    Grid.SetGridSize(2);
    const std::pair<TMVector, double> Oblique[] = {{{1, 0.2, 0}, 20}, {{1, 0.2, -0.5}, 1}};
    for (const auto& [Direction, K] : Oblique) {
        LookParallel(Direction, {0, 0, 1});
        const double W = Camera.WorldPerPixel(ZeroVector);
        Grid.UpdatePixelMultiplier();
        EXPECT_EQ(Grid.GetPixelMultiplier(), int(float(K * W / 2 * 24))) << VectorToStr(Direction);
    }

    // No pixel scale while measuring.
    View.Measuring = true;
    Grid.UpdatePixelMultiplier();
    EXPECT_EQ(Grid.GetPixelMultiplier(), 1);
}

TEST_F(ViewGridTest, AnAxisViewGetsLinesInItsPlaneWithEveryTenthMajor) {
    struct TView {
        TMVector Direction, Up;
        int NormalAxis;
    };
    const TView Views[] = {{{0, 0, -1}, {0, 1, 0}, 2}, {{-1, 0, 0}, {0, 0, 1}, 0}, {{0, 1, 0}, {0, 0, 1}, 1}};
    for (const TView& V : Views) {
        LookParallel(V.Direction, V.Up);
        Grid.UpdatePixelMultiplier();
        Grid.UpdateRange();
        // 200 x 150 units of window, cells of 12: indices -11..11 across and -9..9 up.
        EXPECT_NEAR(Grid.MaxU - Grid.MinU, 200, 1);
        EXPECT_NEAR(Grid.MaxV - Grid.MinV, 150, 1);
        const TGridPicture P = Grid.Layout();
        ASSERT_EQ(P.Lines[0].size(), 19u);
        ASSERT_EQ(P.Lines[1].size(), 23u);
        EXPECT_TRUE(P.Dots.empty());
        for (const auto& Family : P.Lines)
            for (const TGridLine& L : Family) {
                const double From[3] = {L.From.X, L.From.Y, L.From.Z}, To[3] = {L.To.X, L.To.Y, L.To.Z};
                EXPECT_EQ(From[V.NormalAxis], -1e-4);
                EXPECT_EQ(To[V.NormalAxis], -1e-4);
            }
        EXPECT_EQ(VectorLength(VectorFromTo(P.Lines[0][0].From, P.Lines[0][0].To)), 22 * 12);
        EXPECT_EQ(VectorLength(VectorFromTo(P.Lines[1][0].From, P.Lines[1][0].To)), 18 * 12);
    }

    // Index -10 is major with a frequency of 10; below 2 nothing is.
    const std::pair<int, std::pair<int, int>> Frequencies[] = {{10, {1, 3}}, {5, {3, 5}}, {1, {0, 0}}, {0, {0, 0}}};
    for (const auto& [Frequency, Majors] : Frequencies) {
        Grid.SetMajorFrequency(Frequency);
        const TGridPicture P = Grid.Layout();
        EXPECT_EQ(MajorCount(P.Lines[0]), Majors.first) << Frequency;
        EXPECT_EQ(MajorCount(P.Lines[1]), Majors.second) << Frequency;
    }
    Grid.SetMajorFrequency(10);
    EXPECT_TRUE(Grid.Layout().Lines[1][1].Major);  // index -10 (the last view is ZX: u is x)
    EXPECT_EQ(Grid.Layout().Lines[1][1].From.X, -10 * 12);

    Grid.GridStyle = gsDots;
    const TGridPicture Dots = Grid.Layout();
    EXPECT_EQ(Dots.Dots.size(), 19u * 23u);
    EXPECT_TRUE(Dots.Lines[0].empty() && Dots.Lines[1].empty());
}

TEST_F(ViewGridTest, PerspectiveAndObliqueViewsGetTheModelGridAroundTheModel) {
    View.Extents = MakeBox(20, -10, 0, 60, 10, 5);  // centre (40, 0), larger extent 40
    for (TCameraMode Mode : {cmPerspective, cmParallel}) {
        Camera.SetMode(Mode);
        Camera.SetTarget({40, 0, 0});
        Camera.SetEye({40, -100, 60});
        Camera.SetUp({0, 0, 1});
        Camera.Apply();
        Grid.UpdatePixelMultiplier();
        const double Step = Grid.GetPixelMultiplier() * Grid.GetGridSize();
        const TGridPicture P = Grid.Layout();
        ASSERT_FALSE(P.Lines[0].empty());
        EXPECT_EQ(P.Lines[0].size(), P.Lines[1].size());
        const int CX = int(std::trunc(40 / Step));
        const int Lo = int(std::trunc((-160 - Step) / Step)) - 2;
        EXPECT_EQ(P.Lines[0].front().From, (TMVector{(CX + Lo) * Step, Lo * Step, -1e-4})) << Mode;
        for (const auto& Family : P.Lines)
            for (const TGridLine& L : Family) EXPECT_EQ(L.From.Z, -1e-4);
    }

    // A view zoomed far into a huge model would ask for millions of lines: it gets none.
    View.Extents = MakeBox(-1e6, -1e6, 0, 1e6, 1e6, 1);
    Camera.Apply();
    Grid.UpdatePixelMultiplier();
    const TGridPicture Huge = Grid.Layout();
    EXPECT_TRUE(Huge.Lines[0].empty() && Huge.Lines[1].empty());
}

TEST_F(ViewGridTest, SettingsRepaintOnlyWhenTheyChange) {
    Grid.SetGridSize(2);
    Grid.SetMajorFrequency(10);
    Grid.SetEnabled(false);
    Grid.SetMinorColor(clGray);
    Grid.SetMajorColor(clGray);
    EXPECT_EQ(View.Invalidates, 0);
    Grid.SetGridSize(3);
    Grid.SetMajorFrequency(5);
    Grid.SetEnabled(true);
    Grid.SetMinorColor(clRed);
    Grid.SetMajorColor(clBlue);
    EXPECT_EQ(View.Invalidates, 5);

    TViewGrid Other;
    Other.SetGridSize(0.25);
    Other.GridStyle = gsDots;
    Other.MinorLineSize = 3;
    Grid.Assign(Other);
    EXPECT_EQ(Grid.GetGridSize(), 0.25);
    EXPECT_EQ(Grid.GridStyle, gsDots);
    EXPECT_EQ(Grid.MinorLineSize, 3);
    EXPECT_FALSE(Grid.GetEnabled());
    EXPECT_EQ(View.Invalidates, 6);
}
