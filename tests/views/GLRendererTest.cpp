// The shaded-surface renderer: what its instances send (recorded), how it rebuilds, mirrors and
// guards its drawing, and what it shows in a real OpenGL view (run under Xvfb).
#include "views/GLRenderer.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "foundation/VkMathsExpect.h"
#include "foundation/Console.h"
#include "foundation/GeomBox.h"
#include "foundation/GeomFacet.h"
#include "foundation/Polygon.h"
#include "foundation/RecordingRenderTarget.h"
#include "foundation/SphereFacets.h"
#include "platform/qt/OpenGLHelpers.h"
#include "surfaces/Gregory.h"
#include "surfaces/Surface.h"
#include "surfaces/SurfaceList.h"
#include "views/OpenGLViewFixture.h"

using namespace sarnova;

namespace {

// A plane patch: S(u, v) = Origin + u Su + v Sv over [0, 1] x [0, 1].
class TSheet : public TSurface {
public:
    TSheet(const TMVector& AOrigin, const TMVector& ASu, const TMVector& ASv) : Origin(AOrigin), Su(ASu), Sv(ASv) {}
    TMVector Evaluate(double U, double V) const override {
        return VectorAdd(Origin, VectorAdd(VectorScale(Su, U), VectorScale(Sv, V)));
    }
    TSurfaceDerivatives EvaluateDerivatives(double U, double V) override {
        TSurfaceDerivatives D;
        D.S = Evaluate(U, V);
        D.Su = Su;
        D.Sv = Sv;
        return D;
    }

private:
    TMVector Origin, Su, Sv;
};

class TDerivedMesh : public TMesh {
public:
    using TMesh::TMesh;
};

// An instance that runs OnDraw inside an open triangle block.
class TProbeInstance : public TGLBoundaryInstance {
public:
    std::function<void()> OnDraw;
    void Draw(IRenderTarget& Target, std::uint8_t& State, bool) override {
        SwitchPrimitive(Target, State, rsTriangles);
        if (OnDraw) OnDraw();
    }
    TMBox GetBounds() override { return EmptyBox; }
};

// Collects the console lines written while it lives.
class TConsoleLines {
public:
    TConsoleLines() {
        GConsole->OnLine = [this](const std::string& Line) { Lines.push_back(Line); };
    }
    ~TConsoleLines() { GConsole->OnLine = nullptr; }
    std::vector<std::string> Lines;
};

// The Begin and End calls in order: "Q" a quadrilateral block, "T" a triangle block, "E" an end.
std::string Blocks(const TRecordingRenderTarget& T) {
    std::string S;
    for (const TRenderCall& C : T.Rendered) {
        if (C.Name == "Begin") S += C.Kind == TRenderPrimitive::Triangles ? "T" : C.Kind == TRenderPrimitive::Quads ? "Q" : "?";
        if (C.Name == "End") S += "E";
    }
    return S;
}

std::unique_ptr<TPolygonList> UnitQuad(double Y = 0) {
    auto List = std::make_unique<TPolygonList>();
    List->Add(QuadFromVectors({0, Y, 0}, {1, Y, 0}, {1, Y + 1, 0}, {0, Y + 1, 0}));
    return List;
}

}  // namespace

TEST(TGLRenderer, InstancesOfOneKindShareOneBlock) {
    TSheet A({0, 0, 0}, {1, 0, 0}, {0, 1, 0}), B({0, 0, 1}, {1, 0, 0}, {0, 1, 0});
    auto Facets = UnitQuad();
    TGLRenderer R;
    TRecordingRenderTarget Empty;
    R.Render(Empty);
    EXPECT_TRUE(Empty.Rendered.empty());

    R.AddSurface(A, 1);
    R.AddSurface(B, 1);
    R.AddPolygons(*Facets, false);
    TRecordingRenderTarget T;
    R.Render(T);
    EXPECT_EQ(Blocks(T), "QETE");
    // Sixteen by sixteen cells per sheet, then the two triangles of the quadrilateral.
    EXPECT_EQ(T.Of("Vertex").size(), 2u * 16 * 16 * 4 + 6);
}

TEST(TGLRenderer, SurfacesAreSampledWhenAddedAndAgainOnEveryRebuild) {
    TConsoleLines Console;
    TSheet Sheet({1, 2, 3}, {2, 0, 0}, {0, 4, 0});
    TGLRenderer R;
    R.AddSurface(Sheet, 1);
    ASSERT_EQ(Console.Lines, std::vector<std::string>{"Generating Render Surface 17x17 with Normals (TSheet)"});
    auto* Instance = dynamic_cast<TGLSurfaceInstance*>(R.Instance(0));
    ASSERT_NE(Instance, nullptr);
    EXPECT_EQ(Instance->SampleCount(), 289);
    // Nothing computes the bounds before the first rebuild.
    EXPECT_EQ(R.GetBounds(), TMBox{});
    R.Rebuild();
    EXPECT_EQ(Console.Lines.size(), 2u);
    EXPECT_EQ(R.GetBounds(), (TMBox{{3, 6, 3}, {1, 2, 3}}));

    // The first cell runs (0, 0), (1, 0), (1, 1), (0, 1) in sample steps, each point after its normal.
    TRecordingRenderTarget T;
    R.Render(T);
    ASSERT_GE(T.Rendered.size(), 9u);
    const TMVector Corners[4] = {{1, 2, 3}, {1.125, 2, 3}, {1.125, 2.25, 3}, {1, 2.25, 3}};
    for (int K = 0; K < 4; ++K) {
        EXPECT_EQ(T.Rendered[1 + 2 * K].Name, "Normal");
        ExpectNear(T.Rendered[1 + 2 * K].V, {0, 0, 1});
        ExpectNear(T.Rendered[2 + 2 * K].V, Corners[K]);
    }

    // A kind of surface that keeps the base sampling rule.
    auto Gregory = GregorySurfaceFromCorners({0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0});
    TGLRenderer Patch;
    Patch.AddSurface(*Gregory, 1);
    EXPECT_EQ(Console.Lines.back(), "Generating Render Surface 17x17 with Normals (TGregorySurface)");
    auto* PatchInstance = dynamic_cast<TGLSurfaceInstance*>(Patch.Instance(0));
    ASSERT_NE(PatchInstance, nullptr);
    EXPECT_EQ(PatchInstance->SampleCount(), 289);

    // Surfaces shown together are sampled more coarsely.
    TSurfaces Pair;
    Pair.Add(&Sheet);
    Pair.Add(&Sheet);
    TGLRenderer Together;
    Together.AddSurfaces(Pair);
    EXPECT_EQ(Together.InstanceCount(), 2);
    EXPECT_EQ(Console.Lines.back(), "Generating Render Surface 19x19 with Normals (TSheet)");
}

TEST(TGLRenderer, MirroringRebuildsOnAChangeOnlyAndDrawsTheReflectedCopy) {
    TConsoleLines Console;
    // Tilted, so that the normal (0, -1, 1) / sqrt 2 has a y part to reflect.
    TSheet Sheet({0, 1, 0}, {1, 0, 0}, {0, 2, 2});
    TGLRenderer R;
    R.AddSurface(Sheet, 1);
    R.Rebuild();
    const TMBox Plain = R.GetBounds();
    Console.Lines.clear();

    R.SetMirrored(true);
    R.SetMirrored(true);
    EXPECT_EQ(Console.Lines.size(), 1u);
    EXPECT_EQ(R.GetBounds(), (TMBox{{1, 3, 2}, {0, -3, 0}}));
    TRecordingRenderTarget T;
    R.Render(T);
    const std::vector<TMVector> Normals = T.Of("Normal"), Points = T.Of("Vertex");
    ASSERT_EQ(Points.size(), 2u * 16 * 16 * 4);
    // The copy's first cell: the same samples reflected, in the reverse order (0, 0), (0, 1), (1, 1), (1, 0).
    const std::size_t Copy = 16 * 16 * 4;
    const double H = std::sqrt(0.5);
    ExpectNear(Normals[0], {0, -H, H});
    ExpectNear(Normals[Copy], {0, H, H});
    const TMVector Reflected[4] = {{0, -1, 0}, {0, -1.125, 0.125}, {0.0625, -1.125, 0.125}, {0.0625, -1, 0}};
    for (int K = 0; K < 4; ++K) ExpectNear(Points[Copy + static_cast<std::size_t>(K)], Reflected[K]);

    R.SetMirrored(false);
    EXPECT_EQ(Console.Lines.size(), 2u);
    EXPECT_EQ(R.GetBounds(), Plain);
}

TEST(TGLRenderer, APlainMeshIsDrawnFromItsPointsAndADerivedOneIsSampled) {
    TMesh Grid(3, 2);
    for (int J = 0; J < 2; ++J)
        for (int I = 0; I < 3; ++I) Grid.Point(I, J).SetXYZ(I, 1 + J, 0);
    TGLRenderer R(true);
    R.AddSurface(Grid, 1);
    ASSERT_NE(dynamic_cast<TGLMeshInstance*>(R.Instance(0)), nullptr);
    TRecordingRenderTarget T;
    R.Render(T);
    EXPECT_EQ(Blocks(T), "QE");
    const std::vector<TMVector> Normals = T.Of("Normal"), Points = T.Of("Vertex");
    // Two cells, one normal each, then their mirrored copies.
    ASSERT_EQ(Normals.size(), 4u);
    ASSERT_EQ(Points.size(), 16u);
    // A = (0, 0), B = (0, 1), C = (1, 1), D = (1, 0) wind clockwise seen from +z, so the normal is -z.
    const TMVector First[4] = {{0, 1, 0}, {0, 2, 0}, {1, 2, 0}, {1, 1, 0}};
    for (int K = 0; K < 4; ++K) ExpectNear(Points[static_cast<std::size_t>(K)], First[K]);
    ExpectNear(Normals[0], {0, 0, -1});
    // Reflected points in the same order wind the other way: the normal follows them.
    ExpectNear(Points[8], {0, -1, 0});
    ExpectNear(Normals[2], {0, 0, 1});

    TDerivedMesh Derived(3, 2);
    TGLRenderer Sampled;
    Sampled.AddSurface(Derived, 1);
    EXPECT_NE(dynamic_cast<TGLSurfaceInstance*>(Sampled.Instance(0)), nullptr);
}

TEST(TGLRenderer, FacetListsAreDrawnAsTrianglesOfAWorkingCopy) {
    auto Source = UnitQuad(1);
    TGLRenderer Flat;
    Flat.AddPolygons(*Source, false);
    auto* Instance = dynamic_cast<TGLPolygonInstance*>(Flat.Instance(0));
    ASSERT_NE(Instance, nullptr);
    EXPECT_EQ(Instance->GetWorking(), nullptr);
    Flat.Rebuild();
    EXPECT_EQ(Flat.GetBounds(), (TMBox{{1, 2, 0}, {0, 1, 0}}));
    TRecordingRenderTarget T;
    Flat.Render(T);
    EXPECT_EQ(Blocks(T), "TE");
    // Without smoothing the facet normal goes once per triangle: (0, 1, 2) and (0, 2, 3).
    EXPECT_EQ(T.Of("Normal").size(), 2u);
    const std::vector<TMVector> Points = T.Of("Vertex");
    const std::vector<TMVector> Expected = {{0, 1, 0}, {1, 1, 0}, {1, 2, 0}, {0, 1, 0}, {1, 2, 0}, {0, 2, 0}};
    EXPECT_EQ(Points, Expected);
    ASSERT_EQ(Source->Count(), 1);
    EXPECT_EQ(Source->Polygon(0)->GetShape(), 1);
    EXPECT_FALSE(PolygonHasNormals(*Source->Polygon(0)));

    // The bounds were taken from the source when the instance was made.
    Source->Polygon(0).MoveCorner(2, {5, 5, 5});
    Flat.Rebuild();
    EXPECT_EQ(Flat.GetBounds(), (TMBox{{1, 2, 0}, {0, 1, 0}}));

    // Smoothed: a vertex normal before every corner; mirrored: the copy reflected, corners reversed.
    auto Square = UnitQuad(1);
    TGLRenderer Smooth(true);
    Smooth.AddPolygons(*Square, true);
    TRecordingRenderTarget S;
    Smooth.Render(S);
    const std::vector<TMVector> Normals = S.Of("Normal"), Corners = S.Of("Vertex");
    ASSERT_EQ(Normals.size(), 12u);
    ASSERT_EQ(Corners.size(), 12u);
    for (const TMVector& N : Normals) ExpectNear(N, {0, 0, 1});
    const std::vector<TMVector> Copy(Corners.begin() + 6, Corners.begin() + 9);
    const std::vector<TMVector> Reflected = {{0, -1, 0}, {1, -2, 0}, {1, -1, 0}};
    EXPECT_EQ(Copy, Reflected);
}

TEST(TGLRenderer, ANestedRenderDrawsNothingAndAFailedOneLeavesItUsable) {
    TGLRenderer R;
    auto Probe = std::make_unique<TProbeInstance>();
    TProbeInstance* P = Probe.get();
    R.AddInstance(std::move(Probe));
    TRecordingRenderTarget T;
    P->OnDraw = [&] { R.Render(T); };
    R.Render(T);
    EXPECT_EQ(Blocks(T), "TE");

    P->OnDraw = [] { throw std::runtime_error("broken"); };
    TRecordingRenderTarget Failed;
    EXPECT_THROW(R.Render(Failed), std::runtime_error);
    // The open block is closed before the error goes on to the view.
    EXPECT_EQ(Blocks(Failed), "TE");

    P->OnDraw = nullptr;
    TRecordingRenderTarget Again;
    R.Render(Again);
    EXPECT_EQ(Blocks(Again), "TE");
}

TEST(TGLRenderer, EntitiesGetItOnceTheProgramHasInstalledIt) {
    auto Facets = UnitQuad();
    RegisterGLRenderer({});
    EXPECT_EQ(CreateGLRendererFromPolygons(*Facets, true, false), nullptr);
    InstallGLRenderer();
    auto R = CreateGLRendererFromPolygons(*Facets, true, true);
    RegisterGLRenderer({});
    auto* Made = dynamic_cast<TGLRenderer*>(R.get());
    ASSERT_NE(Made, nullptr);
    EXPECT_EQ(Made->InstanceCount(), 1);
    EXPECT_TRUE(Made->GetMirrored());
    EXPECT_EQ(Made->GetBounds(), TMBox{});
}

// ---- In a view ----

namespace {

class GLRendererViewTest : public OpenGLViewFixture {
protected:
    // Looks down on the XY plane at the renderer, in red, with the view fitted to the box from
    // (-6, -6, 0) to (6, 6, 0) (kept by two handles that draw nothing).
    void Show(TGLRenderer& R) {
        R.SetMaterial(clRed, clWhite, 110);
        View->OnRedraw = [&R](void*, IGraphics& G) {
            G.EditHandle(9, -6, -6, 0);
            G.EditHandle(9, 6, 6, 0);
            G.RenderObject(R);
        };
        View->SetProjection(cmParallel);
        View->ViewXY();
    }

    QColor At(const TMVector& P) {
        const TPoint S = View->WorldToScreen(P.X, P.Y, P.Z);
        return PixelAt(S.X, S.Y);
    }

    static bool LitRed(const QColor& C) { return C.red() > 200 && C.green() < 60 && C.blue() < 60; }
};

}  // namespace

TEST_F(GLRendererViewTest, AShadedSphereShowsLitWhereTheCameraPutsItUntilTheNextRebuild) {
    auto Sphere = SphereFacets(24, 12, 2, {-3, 0, 0});
    TGLRenderer R;
    R.AddPolygons(*Sphere, true);
    R.Rebuild();
    Show(R);
    EXPECT_TRUE(LitRed(At({-3, 0, 2}))) << At({-3, 0, 2}).name().toStdString();
    EXPECT_EQ(At({3, 0, 0}), QColor(Qt::black));
    EXPECT_EQ(At({-3, 3.5, 0}), QColor(Qt::black));
    // Smooth shading: the light falls off towards the rim, with no facet edges in between.
    EXPECT_LT(At({-3, 1.9, 0.6}).red(), At({-3, 0, 2}).red());

    // The entity moves its facets; until it rebuilds, the renderer keeps showing what it prepared.
    for (int I = 0; I < Sphere->Count(); ++I)
        for (int C = 0; C < 3; ++C) {
                TFacetRef F = Sphere->Polygon(I);
                F.MoveCorner(C, VectorAdd(F.Corner(C)->Vector(), {6, 0, 0}));
            }
    View->Render();
    EXPECT_TRUE(LitRed(At({-3, 0, 2})));
    R.Rebuild();
    View->Render();
    EXPECT_TRUE(LitRed(At({3, 0, 2})));
    EXPECT_EQ(At({-3, 0, 2}), QColor(Qt::black));
}

TEST_F(GLRendererViewTest, FramesAreDrawnFromOneKeptDrawingMadeAgainOnlyAfterAChange) {
    auto Sphere = SphereFacets(24, 12, 2, {-3, 0, 0});
    TGLRenderer R;
    R.AddPolygons(*Sphere, true);
    R.Rebuild();
    Show(R);
    EXPECT_EQ(R.KeptDrawingCount(), 1);
    const std::uint64_t Built = R.Instance(0)->GetRevision();
    View->Render();
    View->Render();
    EXPECT_EQ(R.KeptDrawingCount(), 1);
    EXPECT_EQ(R.Instance(0)->GetRevision(), Built);

    // A recording target gets the primitives themselves, not the list.
    TRecordingRenderTarget T;
    R.Render(T);
    EXPECT_FALSE(T.Rendered.empty());

    R.Rebuild();
    EXPECT_EQ(R.KeptDrawingCount(), 0);
    View->Render();
    EXPECT_EQ(R.KeptDrawingCount(), 1);
    R.SetMirrored(true);
    EXPECT_EQ(R.KeptDrawingCount(), 0);
    View->Render();
    EXPECT_EQ(R.KeptDrawingCount(), 1);
}

namespace {

// Triangles that give each corner a colour of its own.
class TColouredInstance : public TGLBoundaryInstance {
public:
    void Draw(IRenderTarget& Target, std::uint8_t& State, bool) override {
        SwitchPrimitive(Target, State, rsTriangles);
        Target.Normal({0, 0, 1});
        Target.Color(0, 1, 0);
        Target.Vertex({-5, -5, 0});
        Target.Color(0, 0, 1);
        Target.Vertex({-1, -5, 0});
        Target.Vertex({-3, -1, 0});
    }
    TMBox GetBounds() override { return MakeBox(-5, -5, 0, -1, -1, 0); }
};

// The renderer's primitives sent call by call into the view, in the renderer's material.
class TSentOneByOne : public IRenderable {
public:
    explicit TSentOneByOne(TGLRenderer& AR) : R(AR) {}
    TMBox GetBounds() override { return R.GetBounds(); }
    void Render(IGraphics& View) override {
        SetGLMaterial(clRed, clWhite, 110);
        R.DrawInstances(*RenderTargetOf(View));
    }

private:
    TGLRenderer& R;
};

}  // namespace

TEST_F(GLRendererViewTest, TheKeptDrawingShowsTheSamePixelsAsThePrimitivesSentOneByOne) {
    auto Sphere = SphereFacets(24, 12, 2, {-3, 0, 0});
    TSheet Sheet({2.5, 1.5, 0}, {2, 0, 0}, {0, 3, 0});
    // Facets and a sampled surface, mirrored; and a drawing with colours of its own.
    TGLRenderer Shaded(true), Coloured;
    Shaded.AddPolygons(*Sphere, true);
    Shaded.AddSurface(Sheet, 1);
    Coloured.AddInstance(std::make_unique<TColouredInstance>());
    Coloured.AddPolygons(*Sphere, false);
    auto Frame = [&](IRenderable* What) {
        View->OnRedraw = [What](void*, IGraphics& G) {
            G.EditHandle(9, -6, -6, 0);
            G.EditHandle(9, 6, 6, 0);
            if (What != nullptr) G.RenderObject(*What);
        };
        View->Render();
        return View->grabFramebuffer();
    };
    for (TGLRenderer* R : {&Shaded, &Coloured}) {
        R->Rebuild();
        Show(*R);
        for (const auto& Turn : std::vector<std::function<void()>>{[&] { View->ViewXY(); }, [&] { View->ViewForeEnd(); }}) {
            Turn();
            TSentOneByOne Direct(*R);
            const QImage Sent = Frame(&Direct);
            EXPECT_NE(Sent, Frame(nullptr));
            EXPECT_EQ(Frame(R), Sent);
            EXPECT_EQ(Frame(R), Sent);
            EXPECT_EQ(R->KeptDrawingCount(), 1);
        }
    }
}

TEST_F(GLRendererViewTest, TheMirrorImageIsLitLikeTheOriginal) {
    auto Sphere = SphereFacets(24, 12, 2, {0, 3, 0});
    TSheet Sheet({2.5, 1.5, 0}, {2, 0, 0}, {0, 3, 0});
    TGLRenderer R;
    R.AddPolygons(*Sphere, true);
    R.AddSurface(Sheet, 1);
    R.Rebuild();
    Show(R);
    EXPECT_TRUE(LitRed(At({0, 3, 2})));
    EXPECT_EQ(At({0, -3, 2}), QColor(Qt::black));
    EXPECT_EQ(At({3.5, -3, 0}), QColor(Qt::black));

    R.SetMirrored(true);
    View->Render();
    // Facing the viewer, the copy takes the same light as the original.
    for (const TMVector& P : {TMVector{0, 3, 2}, TMVector{3.5, 3, 0}}) {
        const QColor Original = At(P), Copy = At({P.X, -P.Y, P.Z});
        EXPECT_TRUE(LitRed(Copy)) << Copy.name().toStdString();
        EXPECT_NEAR(Copy.red(), Original.red(), 3);
    }
}
