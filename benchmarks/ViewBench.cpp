// Frames per second of the 3-D view turning a hull of 31,250 / 125,000 / 500,000 triangles, shaded
// through the shaded-surface renderer and as a wireframe drawn by a polygon-list entity, and a
// document of 16 / 64 / 256 B-spline surfaces as outlines and parameter lines, each against a bare
// draw of the same triangles (or lines) from one display list in the same view. Needs a display with
// OpenGL: run it under xvfb-run where there is none.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <GL/gl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <new>
#include <numbers>
#include <set>
#include <vector>

#include "foundation/Graphics.h"
#include "document/GeometryList.h"
#include "document/GeoFace.h"
#include "entities/GBSurf.h"
#include "entities/GGonList.h"
#include "foundation/PolyList.h"
#include "foundation/Polyline.h"
#include "startup/RegisterClasses.h"
#include "surfaces/BSurfaceBuild.h"
#include "foundation/Polygon.h"
#include "foundation/TextUtils.h"
#include "views/GLRenderer.h"
#include "platform/qt/OpenGLHelpers.h"
#include "views/OpenGLView.h"

using namespace sarnova;

// Every allocation through new counts, so that a frame can show that it allocates nothing.
namespace {
std::atomic<long> Allocations{0};
}  // namespace

void* operator new(std::size_t Size) {
    ++Allocations;
    if (void* P = std::malloc(Size != 0 ? Size : 1)) return P;
    throw std::bad_alloc();
}
void operator delete(void* P) noexcept { std::free(P); }
void operator delete(void* P, std::size_t) noexcept { std::free(P); }

namespace {

// A closed hull-like body (an ellipsoid flattened towards the keel) of 2 x Slices x Stacks
// triangles, Slices around and Stacks along.
std::unique_ptr<TPolygonList> HullFacets(int Slices, int Stacks) {
    auto List = std::make_unique<TPolygonList>();
    auto P = [&](int I, int J) {
        const double Theta = 2 * std::numbers::pi * I / Slices, X = -1 + 2.0 * J / Stacks;
        const double R = std::sqrt(std::max(0.0, 1 - X * X)) * (1 + 0.05 * std::sin(9 * X));
        return TMVector{20 * X, 3 * R * std::cos(Theta), 2 * R * std::sin(Theta) * (std::sin(Theta) < 0 ? 0.7 : 1)};
    };
    for (int J = 0; J < Stacks; ++J)
        for (int I = 0; I < Slices; ++I) {
            List->Add(TriangleFromVectors(P(I, J), P(I + 1, J), P(I + 1, J + 1)));
            List->Add(TriangleFromVectors(P(I, J), P(I + 1, J + 1), P(I, J + 1)));
        }
    return List;
}

// The hull of Triangles triangles (500 around, the rest along), made once per size.
const TPolygonList& Hull(int Triangles) {
    static std::map<int, std::unique_ptr<TPolygonList>> Made;
    auto& Slot = Made[Triangles];
    if (!Slot) Slot = HullFacets(250, Triangles / 500);
    return *Slot;
}

// A view of 800 x 600 pixels with its context ready; nullptr (and the case skipped) without one.
std::unique_ptr<TOpenGLView> ReadyView(benchmark::State& State) {
    auto View = std::make_unique<TOpenGLView>();
    View->resize(800, 600);
    View->show();
    for (int I = 0; I < 200 && !(View->GetStateFlags() & vfContextReady); ++I)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    if (!(View->GetStateFlags() & vfContextReady)) {
        State.SkipWithError("no OpenGL context: run under xvfb-run");
        return nullptr;
    }
    View->makeCurrent();
    return View;
}

// One frame of the view turned a step further about the model.
void TurnFrame(TOpenGLView& View, int& Step) {
    TCamera& Camera = View.GetCamera();
    Camera.RotateWorldBegin(400, 300);
    Camera.RotateWorldDrag(400 + 4, 300 + ((Step++ / 50) % 2 == 0 ? 1 : -1));
    View.Render();
    glFinish();
}

double Seconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Best frame time of Measured over that of Baseline, in alternating rounds of a few frames each
// (wall-clock time: the software renderer rasterises in threads of its own).
double FrameRatio(TOpenGLView& View, const std::function<void(IGraphics&)>& Measured,
                  const std::function<void(IGraphics&)>& Baseline) {
    double Best[2] = {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity()};
    int Step = 0;
    for (int Round = 0; Round < 5; ++Round)
        for (int K = 0; K < 2; ++K) {
            View.OnRedraw = [&, K](void*, IGraphics& G) { (K == 0 ? Measured : Baseline)(G); };
            TurnFrame(View, Step);  // settles the new drawing (a first frame compiles lists)
            const double Start = Seconds();
            for (int F = 0; F < 3; ++F) TurnFrame(View, Step);
            Best[K] = std::min(Best[K], (Seconds() - Start) / 3);
        }
    return Best[0] / Best[1];
}

using TSegment = std::array<TMVector, 2>;

// The facets' edges, each edge that facets share once, in the order the facets first have it.
std::vector<TSegment> DistinctEdges(const TPolygonList& Facets) {
    using TKey = std::array<double, 6>;
    std::set<TKey> Seen;
    std::vector<TSegment> Edges;
    for (int K = 0; K < Facets.Count(); ++K) {
        const TFacetRef F = Facets.Polygon(K);
        const int N = F.CornerCount();
        for (int I = 0; I < N; ++I) {
            const TMVector A = F.Corner(I)->Vector(), B = F.Corner((I + 1) % N)->Vector();
            TKey Key{A.X, A.Y, A.Z, B.X, B.Y, B.Z};
            if (std::lexicographical_compare(Key.begin() + 3, Key.end(), Key.begin(), Key.begin() + 3))
                Key = {B.X, B.Y, B.Z, A.X, A.Y, A.Z};
            if (Seen.insert(Key).second) Edges.push_back({A, B});
        }
    }
    return Edges;
}

// The facets' triangles with their corner normals (or facet normal), or line segments, compiled
// into one display list: the plain draw the view is measured against.
class TBareList : public IRenderable {
public:
    explicit TBareList(const std::vector<TSegment>& Segments) {
        List = glGenLists(1);
        glNewList(List, GL_COMPILE);
        glBegin(GL_LINES);
        for (const auto& [A, B] : Segments) {
            GLVertexVector(A);
            GLVertexVector(B);
        }
        glEnd();
        glEndList();
    }
    explicit TBareList(const std::vector<const TPolylineList*>& Lines) {
        List = glGenLists(1);
        glNewList(List, GL_COMPILE);
        for (const TPolylineList* L : Lines)
            for (int I = 0; I < L->Count(); ++I) {
                const TPolyline& P = *L->Items(I);
                glBegin(GL_LINE_STRIP);
                for (int J = 0; J < P.Count(); ++J) GLVertexVector(P.Point(J)->Vector());
                glEnd();
            }
        glEndList();
    }
    explicit TBareList(const TPolygonList& Facets) {
        List = glGenLists(1);
        glNewList(List, GL_COMPILE);
        SetGLMaterial(RGBColor(200, 160, 60), clWhite, 110);
        glBegin(GL_TRIANGLES);
        for (int K = 0; K < Facets.Count(); ++K) {
            const TFacetRef F = Facets.Polygon(K);
            const bool Smooth = PolygonHasNormals(F);
            if (!Smooth) {
                const TMVector N = PolygonNormal(F);
                glNormal3d(N.X, N.Y, N.Z);
            }
            for (int I = 0; I < 3; ++I) {
                if (Smooth) {
                    const TMVector N = *F.Normal(I);
                    glNormal3d(N.X, N.Y, N.Z);
                }
                GLVertexVector(F.Corner(I)->Vector());
            }
        }
        glEnd();
        glEndList();
    }
    ~TBareList() override { glDeleteLists(List, 1); }
    TMBox GetBounds() override { return MakeBox(-20, -3, -2, 20, 3, 2); }
    void Render(IGraphics&) override { glCallList(List); }

private:
    GLuint List = 0;
};

// The timed frames, after one that settles the drawing (the first frame after a change keeps
// lists or buffers); the time of that first frame and the allocations through new per timed frame
// go into State's counters. Allocations are counted from the sixth frame on: in the first few the
// software renderer may still compile shader variants, whose compiler allocates through new.
void TurnFrames(benchmark::State& State, TOpenGLView& View) {
    int Step = 0;
    const double Start = Seconds();
    TurnFrame(View, Step);
    State.counters["first_frame_ms"] = 1000 * (Seconds() - Start);
    for (int I = 0; I < 4; ++I) TurnFrame(View, Step);
    const long Before = Allocations;
    for (auto _ : State) TurnFrame(View, Step);
    State.counters["allocations"] = double(Allocations - Before) / double(std::max<benchmark::IterationCount>(1, State.iterations()));
}

void Report(benchmark::State& State, int Triangles, double Ratio) {
    State.counters["triangles"] = Triangles;
    State.counters["fps"] = benchmark::Counter(double(State.iterations()), benchmark::Counter::kIsRate);
    State.counters["x_bare_list"] = Ratio;
}

// The hull shaded with smoothed normals, as a facet list in the rendered display state draws.
void BM_TurnShadedHull(benchmark::State& State) {
    auto View = ReadyView(State);
    if (!View) return;
    const TPolygonList& Facets = Hull(static_cast<int>(State.range(0)));
    TGLRenderer Renderer;
    Renderer.AddPolygons(Facets, true);
    Renderer.Rebuild();
    Renderer.SetMaterial(RGBColor(200, 160, 60), clWhite, 110);
    auto Shaded = [&](IGraphics& G) { G.RenderObject(Renderer); };
    View->OnRedraw = [&](void*, IGraphics& G) { Shaded(G); };
    View->ViewForeEnd();
    // The change the first timed frame compiles the list for.
    Renderer.Rebuild();
    TurnFrames(State, *View);
    const auto* Working = static_cast<TGLPolygonInstance*>(Renderer.Instance(0))->GetWorking();
    TBareList SameTriangles(Working != nullptr ? *Working : Facets);
    const double Ratio = FrameRatio(*View, Shaded, [&](IGraphics& G) { G.RenderObject(SameTriangles); });
    Report(State, Facets.Count(), Ratio);
}
BENCHMARK(BM_TurnShadedHull)->Arg(31'250)->Arg(125'000)->Arg(500'000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The hull as a wireframe: a polygon-list entity drawing its facet edges, as in the normal display
// state.
void BM_TurnWireframeHull(benchmark::State& State) {
    auto View = ReadyView(State);
    if (!View) return;
    const TPolygonList& Facets = Hull(static_cast<int>(State.range(0)));
    TGeometryList Document;
    auto Made = std::make_unique<TGeoPGonlist>();
    Made->Facets().Assign(Facets);
    TGeometry& Entity = *Document.Add(std::move(Made));
    auto Wire = [&](IGraphics& G) {
        G.SetLineColor(clWhite);
        Entity.Draw(G);
    };
    View->OnRedraw = [&](void*, IGraphics& G) { Wire(G); };
    View->ViewForeEnd();
    // A change (which renews the kept edges), so that the first timed frame compiles them again.
    Entity.BeginChange();
    Entity.EndChange();
    TurnFrames(State, *View);
    TBareList Edges(DistinctEdges(Facets));
    const double Ratio = FrameRatio(*View, Wire, [&](IGraphics& G) {
        G.SetLineColor(clWhite);
        G.RenderObject(Edges);
    });
    Report(State, Facets.Count(), Ratio);
}
BENCHMARK(BM_TurnWireframeHull)->Arg(31'250)->Arg(125'000)->Arg(500'000)->Unit(benchmark::kMillisecond)->UseRealTime();

// Surfaces as lines: Count B-spline surfaces side by side, each drawing its outline and parameter
// lines, as in the normal display state; direct_x_bare_list is the same lines drawn call by call.
void BM_TurnSurfaceLines(benchmark::State& State) {
    auto View = ReadyView(State);
    if (!View) return;
    RegisterGeometryClasses();
    const int Count = static_cast<int>(State.range(0)), Side = static_cast<int>(std::sqrt(Count));
    TGeometryInterface Document;
    std::vector<TGeoBSurf*> Surfaces;
    for (int K = 0; K < Count; ++K) {
        auto Made = std::make_unique<TGeoBSurf>();
        const double X = 10.0 * (K % Side), Y = 10.0 * (K / Side);
        AssignBSplineSurface(Made->Surface(), *CornerPointBSplineSurface({X, Y, 0}, {X + 8, Y, 1}, {X + 8, Y + 8, 0}, {X, Y + 8, 2}));
        Made->SetState(Made->GetState() | gsParameterLines);
        Surfaces.push_back(static_cast<TGeoBSurf*>(Document.Add(std::move(Made))));
    }
    auto Lines = [&](IGraphics& G) {
        G.SetLineColor(clWhite);
        Document.Draw(G);
    };
    View->OnRedraw = [&](void*, IGraphics& G) { Lines(G); };
    View->ViewForeEnd();
    View->Render();
    // A change of every surface, so that the first timed frame rebuilds and keeps their lines again.
    for (TGeoBSurf* S : Surfaces) S->Transform(MatrixTranslation(0, 0, 0.5));
    TurnFrames(State, *View);
    std::vector<const TPolylineList*> Pictures;
    for (TGeoBSurf* S : Surfaces)
        for (const TPolylistRepresentation* R :
             {static_cast<TPolylistRepresentation*>(S->OutlineRepresentation()), static_cast<TPolylistRepresentation*>(S->ParametersRepresentation())})
            if (R->GetPolylines() != nullptr) Pictures.push_back(R->GetPolylines());
    TBareList Same(Pictures);
    auto Bare = [&](IGraphics& G) {
        G.SetLineColor(clWhite);
        G.RenderObject(Same);
    };
    const double Ratio = FrameRatio(*View, Lines, Bare);
    State.counters["direct_x_bare_list"] = FrameRatio(*View, [&](IGraphics& G) {
        G.SetLineColor(clWhite);
        for (const TPolylineList* L : Pictures) const_cast<TPolylineList*>(L)->Draw(G);
    }, Bare);
    long Points = 0;
    for (const TPolylineList* L : Pictures)
        for (int I = 0; I < L->Count(); ++I) Points += L->Items(I)->Count();
    State.counters["line_points"] = double(Points);
    Report(State, 0, Ratio);
    State.counters.erase("triangles");
    State.counters["surfaces"] = Count;
}
BENCHMARK(BM_TurnSurfaceLines)->Arg(16)->Arg(64)->Arg(256)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    QApplication App(argc, argv);
    // Entities read the program settings, which need the program's folders.
    InitializeProgramFolders(argv[0]);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
