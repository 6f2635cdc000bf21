#include "surfaces/SurfaceAnalysis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <numbers>
#include <string>
#include <vector>

#include "foundation/Console.h"
#include "foundation/GeomFacet.h"
#include "foundation/Polygon.h"
#include "foundation/RecordingRenderTarget.h"
#include "foundation/VkMathsExpect.h"
#include "surfaces/AllocationCounter.h"
#include "surfaces/ManifoldFixtures.h"
#include "surfaces/SurfaceFixtures.h"
#include "surfaces/SurfaceList.h"

namespace sarnova {
namespace {

constexpr double Pi = std::numbers::pi;

// A surface given by its formula and exact derivatives over [U0, U1] x [V0, V1].
class TAnalyticSurface : public TSurface {
public:
    using TFormula = std::function<TSurfaceDerivatives(double, double)>;
    TAnalyticSurface(double U0, double U1, double V0, double V1, TFormula F)
        : U0(U0), U1(U1), V0(V0), V1(V1), F(std::move(F)) {}
    double MinU() const override { return U0; }
    double MaxU() const override { return U1; }
    double MinV() const override { return V0; }
    double MaxV() const override { return V1; }
    TMVector Evaluate(double U, double V) const override { return F(U, V).S; }
    TSurfaceDerivatives EvaluateDerivatives(double U, double V) override { return F(U, V); }

private:
    double U0, U1, V0, V1;
    TFormula F;
};

// R (cos u cos v, sin u cos v, sin v): Sv x Su points inwards. Kept off the poles unless asked.
TAnalyticSurface Sphere(double R, double V0 = -1.2, double V1 = 1.2) {
    return TAnalyticSurface(0, 2 * Pi, V0, V1, [R](double u, double v) {
        const double cu = std::cos(u), su = std::sin(u), cv = std::cos(v), sv = std::sin(v);
        return TSurfaceDerivatives{{R * cu * cv, R * su * cv, R * sv},   {-R * su * cv, R * cu * cv, 0},
                                   {-R * cu * sv, -R * su * sv, R * cv}, {-R * cu * cv, -R * su * cv, 0},
                                   {-R * cu * cv, -R * su * cv, -R * sv}, {R * su * sv, -R * cu * sv, 0}};
    });
}

// (R cos u, R sin u, v): Sv x Su points inwards.
TAnalyticSurface Cylinder(double R) {
    return TAnalyticSurface(0, 2 * Pi, 0, 3, [R](double u, double v) {
        const double cu = std::cos(u), su = std::sin(u);
        return TSurfaceDerivatives{{R * cu, R * su, v}, {-R * su, R * cu, 0}, {0, 0, 1},
                                   {-R * cu, -R * su, 0}, {0, 0, 0},        {0, 0, 0}};
    });
}

// (u, v, 0) faces -z (Sv x Su); with the parameters exchanged it faces +z.
TAnalyticSurface Plane(bool FacingUp) {
    return TAnalyticSurface(0, 4, 0, 2, [FacingUp](double u, double v) {
        const TMVector A{1, 0, 0}, B{0, 1, 0};
        return TSurfaceDerivatives{FacingUp ? TMVector{v, u, 0} : TMVector{u, v, 0}, FacingUp ? B : A,
                                   FacingUp ? A : B, {}, {}, {}};
    });
}

// (v cos u, v sin u, v): at v = 0 both Su and Sv... Su vanishes, so the apex has no normal.
TAnalyticSurface Cone() {
    return TAnalyticSurface(0, 2 * Pi, 0, 1, [](double u, double v) {
        const double cu = std::cos(u), su = std::sin(u);
        return TSurfaceDerivatives{{v * cu, v * su, v},  {-v * su, v * cu, 0}, {cu, su, 1},
                                   {-v * cu, -v * su, 0}, {0, 0, 0},           {-su, cu, 0}};
    });
}

// A geodesic sphere of radius R: the icosahedron with every triangle split in four Levels times, the
// points pushed out onto the sphere; loops counter-clockwise seen from outside.
void Icosphere(double R, int Levels, std::vector<TMVector>& P, testing::TIndexPolygons& T) {
    const double t = (1 + std::sqrt(5.0)) / 2;
    P = {{-1, t, 0}, {1, t, 0}, {-1, -t, 0}, {1, -t, 0}, {0, -1, t}, {0, 1, t},
         {0, -1, -t}, {0, 1, -t}, {t, 0, -1}, {t, 0, 1}, {-t, 0, -1}, {-t, 0, 1}};
    T = {{0, 11, 5}, {0, 5, 1},  {0, 1, 7},   {0, 7, 10}, {0, 10, 11}, {1, 5, 9}, {5, 11, 4},
         {11, 10, 2}, {10, 7, 6}, {7, 1, 8},  {3, 9, 4},  {3, 4, 2},   {3, 2, 6}, {3, 6, 8},
         {3, 8, 9},  {4, 9, 5},  {2, 4, 11}, {6, 2, 10}, {8, 6, 7},   {9, 8, 1}};
    for (int L = 0; L < Levels; ++L) {
        std::map<std::pair<int, int>, int> Middle;
        const auto Mid = [&](int A, int B) {
            auto [It, New] = Middle.try_emplace({std::min(A, B), std::max(A, B)}, int(P.size()));
            if (New) P.push_back(VectorScale(VectorAdd(P[A], P[B]), 0.5));
            return It->second;
        };
        testing::TIndexPolygons Finer;
        for (const auto& F : T) {
            const int a = Mid(F[0], F[1]), b = Mid(F[1], F[2]), c = Mid(F[2], F[0]);
            Finer.insert(Finer.end(), {{F[0], a, c}, {F[1], b, a}, {F[2], c, b}, {a, b, c}});
        }
        T = std::move(Finer);
    }
    for (TMVector& Q : P) Q = VectorScale(VectorNormalise(Q), R);
}

const TSurfaceAnalysisMesh& OnlyMesh(const TSurfaceAnalysis& A) {
    return dynamic_cast<const TSurfaceAnalysisMesh&>(*A.Surfaces().Items(0));
}

// ---- Curvature ----

TEST(SurfaceAnalysisTest, CurvaturesOfSphereCylinderAndPlane) {
    auto S = Sphere(2);
    auto C = Cylinder(3);
    auto P = Plane(true);
    const struct {
        const char* Name;
        TSurface* Surface;
        double Gaussian, Mean;
    } Cases[] = {{"sphere r=2", &S, 0.25, 0.5}, {"cylinder r=3", &C, 0, 1.0 / 6}, {"plane", &P, 0, 0}};
    for (const auto& Case : Cases) {
        TSurfaceAnalysis A;
        A.AddMesh(*Case.Surface, 7, 9);
        A.Recalculate();
        ASSERT_EQ(A.Points().Count(), 63) << Case.Name;
        for (const TSurfaceAnalysisPoint* Pt : A.Points()) {
            EXPECT_NEAR(Pt->GaussianCurvature, Case.Gaussian, 1e-12) << Case.Name;
            EXPECT_NEAR(Pt->MeanCurvature, Case.Mean, 1e-12) << Case.Name;
        }
    }
    // The grid runs over the whole parameter rectangle, ends included.
    TSurfaceAnalysis A;
    A.AddMesh(P, 3, 2);
    const TSurfaceAnalysisMesh& M = OnlyMesh(A);
    ExpectNear(M.Point(0, 0).Position, {0, 0, 0});
    ExpectNear(M.Point(2, 1).Position, {2, 4, 0});
    ExpectNear(M.Point(1, 0).Position, {0, 2, 0});
}

TEST(SurfaceAnalysisTest, LightCosineFollowsTheNormal) {
    auto Up = Plane(true);
    auto Down = Plane(false);
    const struct {
        TSurface* Surface;
        TMVector Light;
        double Cosine;
    } Cases[] = {{&Up, {0, 0, 1}, 1},  {&Down, {0, 0, 1}, -1}, {&Up, {0, 0, 5}, 1},
                 {&Up, {1, 0, 1}, std::sqrt(0.5)}, {&Up, {0, 0, 0}, 0}};
    for (const auto& Case : Cases) {
        TSurfaceAnalysis A;
        A.IsoPhotesParameters().SetZebraVector(Case.Light);
        A.AddMesh(*Case.Surface, 2, 2);
        for (const TSurfaceAnalysisPoint* Pt : A.Points()) EXPECT_NEAR(Pt->LightCosine, Case.Cosine, 1e-12);
    }
}

TEST(SurfaceAnalysisTest, PointsWithoutNormalGiveZeroAndNeverNaN) {
    auto K = Cone();
    TSurfaceAnalysis A;
    A.AddMesh(K, 5, 3);
    const TSurfaceAnalysisMesh& M = OnlyMesh(A);
    for (int i = 0; i < 5; ++i) {
        const TSurfaceAnalysisPoint& Apex = M.Point(i, 0);
        EXPECT_EQ(Apex.GaussianCurvature, 0);
        EXPECT_EQ(Apex.MeanCurvature, 0);
        EXPECT_EQ(Apex.LightCosine, 0);
        // Away from the apex a cone is curved one way only.
        EXPECT_NEAR(M.Point(i, 2).GaussianCurvature, 0, 1e-12);
        EXPECT_GT(std::abs(M.Point(i, 2).MeanCurvature), 0.1);
    }

    // A tiny sphere: |n|^4 underflows to 0 and the formulas would give NaN; the sample gives 0.
    auto Tiny = Sphere(1e-90);
    TSurfaceAnalysis B;
    B.AddMesh(Tiny, 6, 6);
    B.AddMesh(K, 6, 6);
    B.Recalculate();
    for (const TSurfaceAnalysisPoint* Pt : B.Points()) {
        EXPECT_TRUE(std::isfinite(Pt->GaussianCurvature) && std::isfinite(Pt->MeanCurvature));
        EXPECT_TRUE(std::isfinite(Pt->GaussianLevel) && std::isfinite(Pt->MeanLevel));
    }
    // Colouring and banding such points works.
    B.SetMode(samMean);
    B.CurvatureParameters().SetLayers(true);
    TRecordingRenderTarget G;
    EXPECT_NO_THROW(B.Draw(G));
    ASSERT_NE(B.ColoredPolygons(), nullptr);
    EXPECT_GT(B.ColoredPolygons()->Count(), 0);
}

TEST(SurfaceAnalysisTest, SingleSampleRowsSitAtTheStart) {
    auto P = Plane(false);
    TSurfaceAnalysis A;
    A.AddMesh(P, 1, 3);
    A.AddMesh(P, 0, 3);
    ASSERT_EQ(A.Points().Count(), 3);
    const TSurfaceAnalysisMesh& M = OnlyMesh(A);
    ExpectNear(M.Point(0, 2).Position, {0, 2, 0});
    TRecordingRenderTarget G;
    A.CurvatureParameters().SetLayers(true);
    A.Draw(G);
    EXPECT_EQ(A.ColoredPolygons()->Count(), 0);
}

// ---- Manifolds ----

TEST(SurfaceAnalysisTest, ManifoldCurvatureOfASphereAndAPlane) {
    std::vector<TMVector> P;
    testing::TIndexPolygons T;
    Icosphere(2, 3, P, T);
    TManifold Sphere;
    testing::BuildManifold(Sphere, P, T);
    TSurfaceAnalysis A;
    A.AddManifold(Sphere);
    ASSERT_EQ(A.Points().Count(), int(P.size()));
    // The vertex normal points against the loops' right-handed normal: inwards here, so the mean
    // curvature is negative and the light from above meets the top vertex's normal head-on.
    for (const TSurfaceAnalysisPoint* Pt : A.Points()) {
        EXPECT_NEAR(Pt->GaussianCurvature, 0.25, 0.25 * 0.02);
        EXPECT_NEAR(Pt->MeanCurvature, -0.5, 0.5 * 0.005);
        EXPECT_NEAR(Pt->LightCosine, -Pt->Position.Z / 2, 0.01);
        EXPECT_GT(Pt->GaussianLevel, 0);
        EXPECT_LT(Pt->MeanLevel, 0);
    }
    EXPECT_EQ(dynamic_cast<const TSurfaceAnalysisManifold&>(*A.Surfaces().Items(0)).Source(), &Sphere);

    // An open flat sheet: nothing curved, inside or on the border.
    testing::GridMesh(5, P, T);
    TManifold Sheet;
    testing::BuildManifold(Sheet, P, T);
    A.AddManifold(Sheet);
    ASSERT_EQ(A.Points().Count(), 25);
    for (const TSurfaceAnalysisPoint* Pt : A.Points()) {
        EXPECT_NEAR(Pt->GaussianCurvature, 0, 1e-12);
        EXPECT_NEAR(Pt->MeanCurvature, 0, 1e-12);
        EXPECT_DOUBLE_EQ(Pt->LightCosine, -1);
    }
}

TEST(SurfaceAnalysisTest, ManifoldVerticesWithoutAreaGiveZero) {
    // A lone vertex, and a sliver whose three corners lie on a line.
    TManifold M;
    testing::BuildManifold(M, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {5, 5, 5}}, {{0, 1, 2}});
    TSurfaceAnalysis A;
    A.AddManifold(M);
    ASSERT_EQ(A.Points().Count(), 4);
    for (const TSurfaceAnalysisPoint* Pt : A.Points()) {
        EXPECT_EQ(Pt->GaussianCurvature, 0);
        EXPECT_EQ(Pt->MeanCurvature, 0);
        EXPECT_EQ(Pt->LightCosine, 0);
    }
}

TEST(SurfaceAnalysisTest, AManifoldThatCannotBeCopiedLeavesTheAnalysisAsItWas) {
    auto Up = Plane(true);
    TSurfaceAnalysis A;
    A.AddSurface(Up, 1);
    const int Before = A.Points().Count();
    TManifold Broken;
    testing::BuildManifold(Broken, testing::CubePoints(), testing::CubeTriangles());
    Broken.Faces().Face(0)->FirstFin()->NextFin = nullptr;
    for (bool Batch : {false, true}) {
        if (Batch) {
            A.BeginUpdate();
            A.AddSurface(Up, 1);
        }
        ExpectError([&] { A.AddManifold(Broken); }, "TSurfaceAnalysisPolygons.Create - Manifold Failed to copy");
        EXPECT_EQ(A.Surfaces().Count(), 1);
        EXPECT_EQ(A.Points().Count(), Before);
    }
    A.EndUpdate();
}

TEST(SurfaceAnalysisTest, ManifoldFacesAreFannedAndTrianglesDrawn) {
    // A square face and a triangle on one side of it.
    TManifold M;
    testing::BuildManifold(M, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {2, 0, 0}}, {{0, 1, 2, 3}, {1, 4, 2}});
    TSurfaceAnalysis A;
    A.AddManifold(M);
    TPolygonList Triangles;
    A.Surfaces().Items(0)->AddTriangles(Triangles);
    ASSERT_EQ(Triangles.Count(), 3);
    // Fans from each face's first fin, whose head is the loop's second corner here.
    const TMVector Expected[3][3] = {{{1, 0, 0}, {1, 1, 0}, {0, 1, 0}},
                                     {{1, 0, 0}, {0, 1, 0}, {0, 0, 0}},
                                     {{2, 0, 0}, {1, 1, 0}, {1, 0, 0}}};
    for (int k = 0; k < 3; ++k) {
        const TFacetRef F = Triangles.Polygon(k);
        EXPECT_EQ(F.GetColor(), 0x0000FF);
        for (int c = 0; c < 3; ++c) EXPECT_EQ(F.Corner(c)->Vector(), Expected[k][c]) << k << c;
    }

    TRecordingRenderTarget G;
    A.Draw(G);
    ASSERT_EQ(G.Rendered.at(1).Kind, TRenderPrimitive::Triangles);
    EXPECT_EQ(G.Of("Vertex").size(), 3u);  // the square is not drawn smooth
    EXPECT_EQ(G.Of("Color").size(), 3u);

    // The banded display resamples the copy and clips its fan.
    A.CurvatureParameters().SetLayers(true);
    A.Draw(G);
    EXPECT_EQ(A.Points().Count(), 5);
    ASSERT_NE(A.ColoredPolygons(), nullptr);
    EXPECT_EQ(A.ColoredPolygons()->Count(), 3);
}

// ---- Level mapping ----

// Points with the given Gaussian curvatures (the mean ones zero) in the analysis's list.
struct TLevelFixture {
    std::vector<TSurfaceAnalysisPoint> Points;
    TSurfaceAnalysis A;

    explicit TLevelFixture(const std::vector<double>& Values, double Preset = 0) : Points(Values.size()) {
        for (std::size_t k = 0; k < Values.size(); ++k) {
            Points[k].GaussianCurvature = Values[k];
            Points[k].GaussianLevel = Preset;
            A.Points().Add(&Points[k]);
        }
        A.NormaliseGaussian();
    }
    double Level(std::size_t k) const { return Points[k].GaussianLevel; }
};

TEST(SurfaceAnalysisTest, LevelsOfPositiveValuesSaturateTheTopFivePercent) {
    std::vector<double> Values;
    for (int k = 21; k >= 1; --k) Values.push_back(k);  // unsorted on purpose
    TLevelFixture F(Values);
    // 21 values: Hi is the 20th smallest, so 21 and 20 both map to 1.
    EXPECT_EQ(F.Level(0), 1);
    EXPECT_DOUBLE_EQ(F.Level(1), 1);
    EXPECT_DOUBLE_EQ(F.Level(16), std::sqrt((5 - 1e-5) / (20 - 1e-5)));
    for (std::size_t k = 0; k < Values.size(); ++k) EXPECT_GT(F.Level(k), 0);

    // Up to eleven values the extremes are the scale ends.
    TLevelFixture Few({1, 2, 4, 8});
    EXPECT_DOUBLE_EQ(Few.Level(3), 1);
    EXPECT_DOUBLE_EQ(Few.Level(1), std::sqrt((2 - 1e-5) / (8 - 1e-5)));
}

TEST(SurfaceAnalysisTest, LevelsOfNegativeAndNearZeroValues) {
    // 40 negatives: Lo is the third smallest (40 div 20 = 2); the two below it saturate.
    std::vector<double> Values;
    for (int k = 1; k <= 40; ++k) Values.push_back(-k);
    Values.push_back(3e-6);  // near zero, with both sides present: 0
    Values.push_back(2);
    TLevelFixture F(Values, 0.3);
    EXPECT_EQ(F.Level(39), -1);
    EXPECT_EQ(F.Level(38), -1);
    EXPECT_DOUBLE_EQ(F.Level(37), -1);
    EXPECT_DOUBLE_EQ(F.Level(9), -std::sqrt((-10 + 1e-5) / (-38 + 1e-5)));
    EXPECT_EQ(F.Level(40), 0);
    EXPECT_DOUBLE_EQ(F.Level(41), 1);

    // Without positive values, near-zero values keep the level they had.
    TLevelFixture OneSided({-1, -2, -3, 0, 1e-5}, 0.3);
    EXPECT_EQ(OneSided.Level(3), 0.3);
    EXPECT_EQ(OneSided.Level(4), 0.3);
    EXPECT_DOUBLE_EQ(OneSided.Level(2), -1);

    // Fewer than four points: nothing is written.
    TLevelFixture Three({-1, 0, 5}, 0.3);
    for (std::size_t k = 0; k < 3; ++k) EXPECT_EQ(Three.Level(k), 0.3);
}

TEST(SurfaceAnalysisTest, PlaneLevelsStayZeroAndPointsAreColouredByMode) {
    auto P = Plane(true);
    TSurfaceAnalysis A;
    A.AddSurface(P, 1);
    for (const TSurfaceAnalysisPoint* Pt : A.Points()) {
        EXPECT_EQ(Pt->GaussianLevel, 0);
        EXPECT_EQ(Pt->MeanLevel, 0);
        EXPECT_EQ(Pt->Color, ZeroCentredColor(ciHSL, -1, 1, 0));
    }

    auto S = Sphere(2);
    TSurfaceAnalysis B;
    B.SetMode(samMean);
    B.CurvatureParameters().SetShadingModel(ciRGB);
    B.AddSurface(S, 1);
    for (const TSurfaceAnalysisPoint* Pt : B.Points()) {
        EXPECT_GT(Pt->MeanLevel, 0);
        EXPECT_LE(Pt->MeanLevel, 1);
        EXPECT_EQ(Pt->Color, ZeroCentredColor(ciRGB, -1, 1, Pt->MeanLevel));
    }
}

// ---- Batching and parameters ----

TEST(SurfaceAnalysisTest, BatchingProtocol) {
    auto P = Plane(true);
    auto S = Sphere(2);
    std::vector<std::string> Log;
    GConsole->OnLine = [&](const std::string& Line) { Log.push_back(Line); };

    TSurfaceAnalysis A;
    A.AddSurface(P, 1);
    int NU = 0, NV = 0;
    P.SampleCounts(5, 1, NU, NV);
    EXPECT_EQ(A.Points().Count(), NU * NV);
    // Outside a batch every add replaces what was there.
    A.AddSurface(S, 1);
    EXPECT_EQ(A.Surfaces().Count(), 1);
    EXPECT_EQ(OnlyMesh(A).Surface(), &S);
    EXPECT_EQ(A.Points().Count(), NU * NV);

    A.BeginUpdate();
    EXPECT_EQ(A.Points().Count(), 0);
    A.AddSurface(P, 2);
    A.AddSurface(S, 2);
    ExpectError([&] { A.BeginUpdate(); }, "TSurfaceAnalysis.BeginUpdate - Already Updating");
    EXPECT_TRUE(A.IsUpdating());
    EXPECT_EQ(A.Surfaces().Count(), 2);
    A.EndUpdate();
    EXPECT_FALSE(A.IsUpdating());
    ExpectError([&] { A.EndUpdate(); }, "TSurfaceAnalysis.EndUpdate - Not Updating");
    // Levels were computed once over both surfaces: the sphere's points are positive, the plane's 0.
    int Positive = 0;
    for (const TSurfaceAnalysisPoint* Pt : A.Points()) Positive += Pt->GaussianLevel > 0;
    P.SampleCounts(5, 2, NU, NV);
    EXPECT_EQ(Positive, A.Points().Count() - NU * NV);

    GConsole->OnLine = nullptr;
    ASSERT_GE(Log.size(), 2u);
    EXPECT_EQ(Log[0], "Generating Analysis Surface 16x16 (TAnalyticSurface)");
}

TEST(SurfaceAnalysisTest, AddSurfacesSamplesEveryListItemAsOneSet) {
    TBSplineSurfaceList L;
    for (int k = 0; k < 2; ++k)
        L.AddSurface(MakeSurface(4, 3, 3, 3, [k](int i, int j) { return TMVector{double(i), double(j), double(k)}; }));
    TSurfaceAnalysis A;
    A.AddSurfaces(L);
    int NU = 0, NV = 0;
    L.Surface(0)->SampleCounts(5, 2, NU, NV);
    EXPECT_EQ(A.Surfaces().Count(), 2);
    EXPECT_EQ(A.Points().Count(), 2 * NU * NV);
    // The knots were not built before: the samples still run over the whole net.
    const auto& First = dynamic_cast<const TSurfaceAnalysisMesh&>(*A.Surfaces().Items(1));
    ExpectNear(First.Point(0, 0).Position, {0, 0, 1});
    ExpectNear(First.Point(NU - 1, NV - 1).Position, {3, 2, 1});
    // The flat net of a B-spline surface: no curvature anywhere, facing down (v x u along -z).
    for (const TSurfaceAnalysisPoint* Pt : A.Points()) {
        EXPECT_NEAR(Pt->GaussianCurvature, 0, 1e-12);
        EXPECT_NEAR(Pt->MeanCurvature, 0, 1e-12);
        EXPECT_NEAR(Pt->LightCosine, -1, 1e-12);
    }
}

TEST(SurfaceAnalysisTest, ParametersMarkDirtyOnlyWhenTheModeUsesThem) {
    TSurfaceAnalysis A;
    A.Update();
    ASSERT_FALSE(A.IsDirty());
    const std::pair<const char*, std::function<void()>> Quiet[] = {
        {"zebra bands in curvature mode", [&] { A.IsoPhotesParameters().SetZebraBands(10); }},
        {"zebra colour in curvature mode", [&] { A.IsoPhotesParameters().SetZebraBand1Color(clRed); }},
        {"same layer count", [&] { A.CurvatureParameters().SetLayersCount(17); }},
        {"same mode", [&] { A.SetMode(samGaussian); }},
    };
    for (const auto& [Name, Change] : Quiet) {
        Change();
        EXPECT_FALSE(A.IsDirty()) << Name;
    }
    A.CurvatureParameters().SetLayersCount(9);
    EXPECT_TRUE(A.IsDirty());
    EXPECT_EQ(A.CurvatureParameters().GetLayersCount(), 9);

    A.SetMode(samZebra);
    A.Update();
    A.CurvatureParameters().SetShadingModel(ciMono);
    A.IsoPhotesParameters().SetZebraVector({0, 0, 1.00005});
    EXPECT_FALSE(A.IsDirty());
    EXPECT_EQ(A.IsoPhotesParameters().GetZebraVector().Z, 1);
    A.IsoPhotesParameters().SetZebraVector({0, 1, 1});
    EXPECT_TRUE(A.IsDirty());
}

// ---- Bands and clipping ----

TEST(SurfaceAnalysisTest, ZebraAndCurvatureBands) {
    TSurfaceAnalysis Zebra;
    Zebra.SetMode(samZebra);
    Zebra.BuildColorPolygons();
    const TSurfaceAnalysisColorLayers& Z = Zebra.Layers();
    ASSERT_EQ(Z.Count(), 36);
    EXPECT_DOUBLE_EQ(Z.Items(0).Lower, -1);
    EXPECT_NEAR(Z.Items(0).Upper, -std::cos(5 * Pi / 180), 1e-15);
    EXPECT_EQ(Z.Items(0).Color, 0xFF0000);
    EXPECT_EQ(Z.Items(1).Color, 0xFFFFFF);
    EXPECT_NEAR(Z.Items(35).Upper, 1, 1e-15);

    TSurfaceAnalysis Curvature;
    Curvature.BuildColorPolygons();
    const TSurfaceAnalysisColorLayers& C = Curvature.Layers();
    ASSERT_EQ(C.Count(), 17);
    EXPECT_DOUBLE_EQ(C.Items(8).Lower, -1.0 / 17);
    EXPECT_DOUBLE_EQ(C.Items(8).Upper, 1.0 / 17);
    EXPECT_EQ(C.Items(8).Color, ZeroCentredColor(ciHSL, -1, 1, 0));
    EXPECT_EQ(C.Items(0).Color, ZeroCentredColor(ciHSL, -1, 1, -1));
    EXPECT_EQ(C.Items(16).Color, ZeroCentredColor(ciHSL, -1, 1, 1));
    EXPECT_DOUBLE_EQ(C.Items(16).Upper, 1);

    // A single band cannot spread the scale and takes its middle colour; no band count, no bands.
    Curvature.CurvatureParameters().SetLayersCount(1);
    Curvature.BuildColorPolygons();
    ASSERT_EQ(C.Count(), 1);
    EXPECT_EQ(C.Items(0).Color, ZeroCentredColor(ciHSL, -1, 1, 0));
    Curvature.CurvatureParameters().SetLayersCount(0);
    Curvature.BuildColorPolygons();
    EXPECT_EQ(C.Count(), 0);
}

TRPoint Weighted(double X, double Y, double W) {
    TRPoint P(TMVector{X, Y, 0});
    P.W = W;
    return P;
}

TEST(SurfaceAnalysisTest, ClippedPolygonAreaKeepsOneSideOfALevel) {
    const auto Tri = [](double a, double b, double c) {
        return NewTriangle(Weighted(0, 0, a), Weighted(1, 0, b), Weighted(0, 1, c));
    };
    auto Above = Tri(1, 2, 3);
    Above->SetColor(clLime);
    auto Copy = ClippedPolygonArea(*Above, 1, 0.5);
    ASSERT_NE(Copy, nullptr);
    EXPECT_EQ(Copy->Color, clLime);
    EXPECT_EQ(ClippedPolygonArea(*Above, -1, 0.5), nullptr);
    // Touching the level at one corner only leaves no area.
    EXPECT_EQ(ClippedPolygonArea(*Tri(0, -1, -1), 1, 0), nullptr);
    // One corner above: a triangle; two above: a quadrilateral, crossings carrying the level.
    auto One = ClippedPolygonArea(*Tri(1, -1, -1), 1, 0);
    ASSERT_NE(One, nullptr);
    EXPECT_EQ(One->CornerCount(), 3);
    ExpectNear(One->Corner(1)->Vector(), {0.5, 0, 0});
    EXPECT_EQ(One->CornerPoint(1).W, 0);
    auto Two = ClippedPolygonArea(*Tri(1, 1, -1), 1, 0);
    ASSERT_NE(Two, nullptr);
    EXPECT_EQ(Two->CornerCount(), 4);
    EXPECT_NEAR(Two->Area(), 0.375, 1e-12);
}

TEST(SurfaceAnalysisTest, ClipToLayersCoversEachBandExactly) {
    TSurfaceAnalysis A;
    A.CurvatureParameters().SetLayersCount(4);  // bands of 0.5 from -1 to 1
    A.BuildColorPolygons();
    // The weight equals x, so each band's part is the strip of the triangle between its bounds.
    TPolygonList Input;
    Input.Add(NewTriangle(Weighted(-0.5, 0, -0.5), Weighted(0.2, 1, 0.2), Weighted(0.7, 0, 0.7)));
    Input.Add(NewTriangle(Weighted(0.1, 5, 0.1), Weighted(0.3, 5, 0.3), Weighted(0.2, 6, 0.2)));
    const auto Result = A.ClipToLayers(Input);

    double BandArea[4] = {};
    int QuadsInBand2 = 0;
    for (int k = 0; k < Result->Count(); ++k) {
        const TFacetRef F = Result->Polygon(k);
        int Band = -1;
        for (int b = 0; b < 4; ++b)
            if (F.GetColor() == A.Layers().Items(b).Color) Band = b;
        ASSERT_GE(Band, 0);
        for (int c = 0; c < F.CornerCount(); ++c) {
            const TRPoint P = F.CornerPoint(c);
            EXPECT_NEAR(P.W, P.X, 1e-12);
            EXPECT_GE(P.W, A.Layers().Items(Band).Lower - 1e-12);
            EXPECT_LE(P.W, A.Layers().Items(Band).Upper + 1e-12);
        }
        if (F.Corner(0)->Y < 4) {
            BandArea[Band] += F.Area();
            QuadsInBand2 += Band == 2 && F.CornerCount() == 4;
        }
    }
    // The strip 0 <= x <= 0.5 of the triangle (-0.5, 0), (0.2, 1), (0.7, 0).
    EXPECT_NEAR(BandArea[2], 0.12 / 0.7 + 0.105 / 0.5, 1e-12);
    EXPECT_EQ(QuadsInBand2, 2);
    EXPECT_NEAR(BandArea[1] + BandArea[2] + BandArea[3], 0.6, 1e-12);
    // The small triangle lies inside band 2 and comes last, whole.
    const TPolygon& Last = *Result->Last();
    EXPECT_EQ(Last.GetColor(), A.Layers().Items(2).Color);
    EXPECT_TRUE(Last.GetOwnColor());
    ExpectNear(Last.Corner(2)->Vector(), {0.2, 6, 0});
}

TEST(SurfaceAnalysisTest, AFlatTriangleOnABandBoundGoesToOneBandOnly) {
    TSurfaceAnalysis A;
    A.CurvatureParameters().SetLayersCount(4);  // bounds -1, -0.5, 0, 0.5, 1
    A.BuildColorPolygons();
    // Constant weights: on an inner bound, on the top bound, inside a band. Drawn in two colours on
    // one plane, such a triangle would speckle.
    const std::pair<double, int> Cases[] = {{0.0, 2}, {-0.5, 1}, {1.0, 3}, {0.25, 2}};
    for (auto [W, Band] : Cases) {
        TPolygonList Input;
        Input.Add(NewTriangle(Weighted(0, 0, W), Weighted(1, 0, W), Weighted(0, 1, W)));
        const auto Result = A.ClipToLayers(Input);
        ASSERT_EQ(Result->Count(), 1) << W;
        EXPECT_EQ(Result->Polygon(0)->GetColor(), A.Layers().Items(Band).Color) << W;
        EXPECT_NEAR(Result->Polygon(0)->Area(), 0.5, 1e-12) << W;
    }
}

// ---- Update and drawing ----

TEST(SurfaceAnalysisTest, SmoothDrawingIsQuadStripsOfColouredPoints) {
    auto S = Sphere(2);
    {
        TSurfaceAnalysis A;
        A.AddMesh(S, 3, 4);
        TRecordingRenderTarget G;
        A.Draw(G);
        EXPECT_EQ(GSurfaceAnalysis, &A);
        EXPECT_EQ(A.ColoredPolygons(), nullptr);
        EXPECT_FALSE(A.IsDirty());
        const TSurfaceAnalysisMesh& M = OnlyMesh(A);
        ASSERT_EQ(G.Rendered.size(), 1u + 2 * (1 + 4 * 2 * 2 + 1));
        EXPECT_EQ(G.Rendered[0].Name, "EnableDepthTest");
        EXPECT_EQ(G.Rendered[1].Kind, TRenderPrimitive::QuadStrip);
        const TColor C = M.Point(0, 1).Color;
        EXPECT_EQ(G.Rendered[6].Name, "Color");
        ExpectNear(G.Rendered[6].V, {(C & 0xFF) / 255.0, (C >> 8 & 0xFF) / 255.0, (C >> 16 & 0xFF) / 255.0});
        EXPECT_EQ(G.Rendered[7].V, M.Point(0, 1).Position);
        EXPECT_EQ(G.Rendered[9].V, M.Point(1, 1).Position);

        TRecordingRenderTarget U;
        A.DrawUncolored(U);
        EXPECT_TRUE(U.Of("Color").empty());
        EXPECT_EQ(U.Of("Vertex").size(), 16u);
    }
    EXPECT_EQ(GSurfaceAnalysis, nullptr);
}

TEST(SurfaceAnalysisTest, BandedDisplayResamplesAndClips) {
    auto Up = Plane(true);
    TSurfaceAnalysis A;
    A.AddMesh(Up, 4, 3);
    A.SetMode(samZebra);
    A.IsoPhotesParameters().SetZebraBand1Color(clYellow);
    TRecordingRenderTarget G;
    A.Draw(G);
    // Facing the light everywhere: every triangle lies whole in the last stripe.
    ASSERT_NE(A.ColoredPolygons(), nullptr);
    EXPECT_EQ(A.ColoredPolygons()->Count(), 2 * 3 * 2);
    EXPECT_EQ(A.Points().Count(), 12);
    int Drawn = 0;
    for (const auto& Call : G.Calls)
        if (Call.Name == "Polygon") {
            ++Drawn;
            EXPECT_EQ(Call.FillColor, clYellow);
        }
    EXPECT_EQ(Drawn, 12);

    // Back to smooth curvature: the coloured polygons go.
    A.SetMode(samGaussian);
    A.Draw(G);
    EXPECT_EQ(A.ColoredPolygons(), nullptr);
}

TEST(SurfaceAnalysisTest, LegendBoxBandsAndMarks) {
    TSurfaceAnalysis A;
    A.CurvatureParameters().SetLayers(true);
    A.CurvatureParameters().SetLayersCount(5);
    A.Update();
    TRecordingRenderTarget G;
    G.ClientWidth = 800;
    G.ClientHeight = 600;
    A.DrawLegend(G);
    const auto& R = G.Rendered;
    ASSERT_FALSE(R.empty());
    EXPECT_EQ(R.front().Name, "BeginPixelOverlay");
    EXPECT_EQ(R.back().Name, "EndPixelOverlay");
    const auto V = G.Of("Vertex");
    // The black box and its white outline, 130 x 30 pixels 10 from the right and bottom.
    ASSERT_EQ(V.size(), 4u * (2 + 5));
    EXPECT_EQ(V[0], (TMVector{660, 560, 0}));
    EXPECT_EQ(V[2], (TMVector{790, 590, 0}));
    EXPECT_EQ(R[1].V, (TMVector{0, 0, 0}));
    EXPECT_EQ(R[8].V, (TMVector{1, 1, 1}));
    EXPECT_EQ(R[9].Kind, TRenderPrimitive::LineLoop);
    // Five bands of 24 pixels over the inner 120, from the inner top to 7 above the inner bottom.
    for (int b = 0; b < 5; ++b) {
        EXPECT_EQ(V[8 + 4 * b], (TMVector{665.0 + 24 * b, 565, 0}));
        EXPECT_EQ(V[8 + 4 * b + 2], (TMVector{665.0 + 24 * (b + 1), 578, 0}));
    }
    // The marks "-", "+" and "0" at the inner bottom.
    std::vector<TMVector> Marks;
    for (const auto& C : R)
        if (C.Name == "Bitmap") Marks.push_back(C.V);
    EXPECT_EQ(Marks, (std::vector<TMVector>{{665, 585, 0}, {780, 585, 0}, {723, 585, 0}}));

    // The smooth gradient: one vertical line per pixel of the inner width, ends included.
    TSurfaceAnalysis Smooth;
    TRecordingRenderTarget S;
    Smooth.DrawLegend(S);
    int Lines = 0;
    for (const auto& C : S.Rendered) Lines += C.Name == "Begin" && C.Kind == TRenderPrimitive::Lines;
    EXPECT_EQ(Lines, 1);
    EXPECT_EQ(S.Of("Vertex").size(), 8u + 2 * 121);

    // A target that cannot render gets nothing.
    TRecordingGraphics Canvas;
    EXPECT_NO_THROW(A.DrawLegend(Canvas));
}

// ---- Cost ----

TEST(SurfaceAnalysisTest, AnalysisAllocatesNothingPerPoint) {
    auto S = Sphere(2);
    TSurfaceAnalysis A;
    const long Before = AllocationCount();
    A.AddMesh(S, 600, 500);
    A.Recalculate();
    EXPECT_LT(AllocationCount() - Before, 200);
    EXPECT_EQ(A.Points().Count(), 300000);
}

// Recalculate maps both curvatures and colours in one sweep: the same as the three steps one by one,
// in either curvature mode and with values on both sides, near zero and in the saturated tails.
TEST(SurfaceAnalysisTest, RecalculateGivesWhatTheStepsOneByOneGive) {
    for (std::uint8_t Mode : {samGaussian, samMean, samZebra}) {
        std::vector<TSurfaceAnalysisPoint> Swept(60), Stepped(60);
        for (std::size_t k = 0; k < Swept.size(); ++k) {
            const double x = static_cast<double>(k) - 25;
            Swept[k].GaussianCurvature = x * std::fabs(x) * 1e-3;
            Swept[k].MeanCurvature = k % 7 == 0 ? 1e-6 : std::sin(x) * (k % 11 == 0 ? 50 : 1);
            Swept[k].GaussianLevel = Swept[k].MeanLevel = 0.25;
            Stepped[k] = Swept[k];
        }
        TSurfaceAnalysis A, B;
        A.SetMode(Mode);
        B.SetMode(Mode);
        for (std::size_t k = 0; k < Swept.size(); ++k) {
            A.Points().Add(&Swept[k]);
            B.Points().Add(&Stepped[k]);
        }
        A.Recalculate();
        B.NormaliseGaussian();
        B.NormaliseMean();
        B.ColorPoints();
        for (std::size_t k = 0; k < Swept.size(); ++k) {
            EXPECT_EQ(Swept[k].GaussianLevel, Stepped[k].GaussianLevel) << int(Mode) << " " << k;
            EXPECT_EQ(Swept[k].MeanLevel, Stepped[k].MeanLevel) << int(Mode) << " " << k;
            EXPECT_EQ(Swept[k].Color, Stepped[k].Color) << int(Mode) << " " << k;
        }
    }
}

}  // namespace
}  // namespace sarnova
