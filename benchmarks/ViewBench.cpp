// Frames per second of the 3-D view drawing a 500,000-triangle mesh kept in a display list. Needs a
// display with OpenGL: run it under xvfb-run where there is none.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <GL/gl.h>

#include <cmath>
#include <cstdio>
#include <memory>

#include "foundation/Graphics.h"
#include "views/OpenGLHelpers.h"
#include "views/OpenGLView.h"

using namespace sarnova;

namespace {

// A wavy square sheet of 2 x N x N lit triangles, compiled once into a display list.
class TMeshInList : public IRenderable {
public:
    explicit TMeshInList(int N) : N(N) {}
    ~TMeshInList() override {
        if (List != 0) glDeleteLists(List, 1);
    }
    int Triangles() const { return 2 * N * N; }

    TMBox GetBounds() override { return MakeBox(-1, -1, -0.1, 1, 1, 0.1); }
    void Render(IGraphics&) override {
        if (List == 0) Compile();
        glCallList(List);
    }

private:
    TMVector Point(int I, int J) const {
        const double X = -1 + 2.0 * I / N, Y = -1 + 2.0 * J / N;
        return {X, Y, 0.1 * std::sin(6 * X) * std::cos(6 * Y)};
    }
    void Compile() {
        List = glGenLists(1);
        glNewList(List, GL_COMPILE);
        SetGLMaterial(RGBColor(200, 160, 60), clWhite, 110);
        glBegin(GL_TRIANGLES);
        for (int I = 0; I < N; ++I)
            for (int J = 0; J < N; ++J) {
                const TMVector A = Point(I, J), B = Point(I + 1, J), C = Point(I + 1, J + 1), D = Point(I, J + 1);
                const TMVector Normal = VectorNormalise(VectorCross(VectorFromTo(A, C), VectorFromTo(B, D)));
                glNormal3d(Normal.X, Normal.Y, Normal.Z);
                for (const TMVector& V : {A, B, C, A, C, D}) GLVertexVector(V);
            }
        glEnd();
        glEndList();
    }

    int N;
    GLuint List = 0;
};

void BM_RenderDisplayListMesh(benchmark::State& State) {
    TOpenGLView View;
    View.resize(800, 600);
    View.show();
    for (int I = 0; I < 200 && !(View.GetStateFlags() & vfContextReady); ++I)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    if (!(View.GetStateFlags() & vfContextReady)) {
        State.SkipWithError("no OpenGL context: run under xvfb-run");
        return;
    }
    View.makeCurrent();
    TMeshInList Mesh(500);  // 2 x 500 x 500 = 500,000 triangles
    View.OnRedraw = [&](void*, IGraphics& G) { G.RenderObject(Mesh); };
    View.ViewForeEnd();  // also compiles the list
    for (auto _ : State) {
        View.Render();
        glFinish();
    }
    State.counters["triangles"] = Mesh.Triangles();
    State.counters["fps"] = benchmark::Counter(double(State.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RenderDisplayListMesh)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    QApplication App(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
