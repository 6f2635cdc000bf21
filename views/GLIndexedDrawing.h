// Shaded drawings kept in vertex and index buffers of an OpenGL context. The primitives are gathered
// through a render target; each distinct vertex (position and normal as OpenGL keeps them, in
// floats) is stored once and the primitives become runs of indices: a closed body of n triangles
// has about n / 2 distinct vertices against 3n corners, and neither the compile of a display list
// nor the per-vertex calls of sending it are paid. Vertices are shared only where every bit of what
// would be sent agrees, so the pixels are those of the same primitives sent call by call.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "foundation/RenderTarget.h"

namespace sarnova {

// Gathers Begin / End / Normal / Vertex. Anything else that would reach OpenGL (a colour, a
// material, a switch of state, pixels), or a vertex before the first normal (which would take the
// normal current at the time of drawing), makes the gathered drawing unfit for buffers.
class TGLIndexedBuilder final : public IRenderTarget {
public:
    // Sizes are asked of View, which draws nothing.
    explicit TGLIndexedBuilder(const IRenderTarget& AView) : View(AView) {}

    void Begin(TRenderPrimitive Kind) override;
    void End() override;
    void Normal(const TMVector& N) override;
    void Color(double, double, double) override { Fits = false; }
    void Vertex(const TMVector& V) override;
    void EnableDepthTest() override { Fits = false; }
    int GetClientWidth() const override { return View.GetClientWidth(); }
    int GetClientHeight() const override { return View.GetClientHeight(); }
    void BeginPixelOverlay() override { Fits = false; }
    void EndPixelOverlay() override { Fits = false; }
    void Bitmap(double, double, const TBitmapRows&) override { Fits = false; }
    void Material(TColor, TColor, double) override { Fits = false; }
    bool WorldToWindow(const TMVector&, TMVector&) override {
        Fits = false;
        return false;
    }

    bool FitsBuffers() const { return Fits; }
    // Position and normal of each distinct vertex, 6 floats each.
    const std::vector<float>& Vertices() const { return Data; }
    const std::vector<std::uint32_t>& Indices() const { return Index; }
    struct TRun {
        unsigned Mode;  // the OpenGL primitive
        std::size_t First;
        std::size_t Count;
    };
    const std::vector<TRun>& Runs() const { return RunList; }
    // Whether any normal was given, and the last: where the drawing leaves OpenGL's current normal.
    bool GivesNormal() const { return HasNormal; }
    const float* LastNormal() const { return CurrentNormal; }
    std::size_t VertexCount() const { return Data.size() / 6; }

private:
    // The number of the vertex (current normal, Position), added when new.
    std::uint32_t VertexNumber(const float (&Position)[3]);
    void Grow();

    const IRenderTarget& View;
    bool Fits = true;
    bool Open = false;
    bool HasNormal = false;
    float CurrentNormal[3] = {0, 0, 1};
    std::vector<float> Data;
    std::vector<std::uint32_t> Index;
    std::vector<TRun> RunList;
    // Open addressing: in each slot part of the hash (0: free) and the vertex number.
    std::vector<std::uint16_t> Tags;
    std::vector<std::uint32_t> Numbers;
    // The vertex last met under each of a few thousand hashes.
    static constexpr std::uint32_t NoVertex = ~std::uint32_t{0};
    std::vector<std::uint32_t> RecentVertices = std::vector<std::uint32_t>(4096, NoVertex);
};

// The buffers of one gathered drawing in the context that was current when it was kept; every call
// needs that context current.
class TGLIndexedDrawing {
public:
    TGLIndexedDrawing() = default;
    TGLIndexedDrawing(const TGLIndexedDrawing&) = delete;
    TGLIndexedDrawing& operator=(const TGLIndexedDrawing&) = delete;
    TGLIndexedDrawing(TGLIndexedDrawing&& Other) noexcept;
    TGLIndexedDrawing& operator=(TGLIndexedDrawing&& Other) noexcept;
    // Lets the buffers go without deleting them (their context takes them along).
    ~TGLIndexedDrawing() = default;

    // Whether the current context has vertex and index buffers.
    static bool Available();
    // Copies the builder's vertices and indices into new buffers; false (and nothing kept) when the
    // context gives none.
    bool Keep(const TGLIndexedBuilder& Built);
    bool IsKept() const { return VertexBuffer != 0; }
    // Draws the runs in order, leaving client state and bindings as they were before and the current
    // normal where the primitives would leave it.
    void Draw() const;
    // Deletes the buffers.
    void Release();

private:
    unsigned VertexBuffer = 0;
    unsigned IndexBuffer = 0;
    std::vector<TGLIndexedBuilder::TRun> Runs;
    bool SetsNormal = false;
    float EndNormal[3] = {0, 0, 1};
};

}  // namespace sarnova
