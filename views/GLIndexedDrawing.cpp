#include "views/GLIndexedDrawing.h"

#include <QOpenGLContext>
#include <QOpenGLFunctions>

#include <GL/gl.h>

#include <algorithm>
#include <cstring>
#include <utility>

namespace sarnova {

namespace {

constexpr std::size_t FloatsPerVertex = 6;

std::uint32_t Bits(float F) {
    std::uint32_t B;
    std::memcpy(&B, &F, sizeof B);
    return B;
}

inline std::uint64_t HashOf(const float* V) {
    std::uint64_t H = 0x9E3779B97F4A7C15ull;
    // Two floats at a time.
    for (std::size_t I = 0; I < FloatsPerVertex; I += 2)
        H = (H ^ (Bits(V[I]) | std::uint64_t{Bits(V[I + 1])} << 32)) * 0xFF51AFD7ED558CCDull;
    // Every bit of the key reaches the low bits the table uses.
    H ^= H >> 33;
    H *= 0xC4CEB9FE1A85EC53ull;
    return H ^ (H >> 33);
}

// Sixteen high bits of the hash, never 0 (which marks a free slot).
std::uint16_t TagOf(std::uint64_t Hash) { return static_cast<std::uint16_t>((Hash >> 48) | 1); }

GLenum ModeOf(TRenderPrimitive Kind) {
    switch (Kind) {
        case TRenderPrimitive::Quads: return GL_QUADS;
        case TRenderPrimitive::QuadStrip: return GL_QUAD_STRIP;
        case TRenderPrimitive::Triangles: return GL_TRIANGLES;
        case TRenderPrimitive::Lines: return GL_LINES;
        case TRenderPrimitive::LineLoop: return GL_LINE_LOOP;
    }
    return GL_TRIANGLES;
}

}  // namespace

// ---- TGLIndexedBuilder ----

void TGLIndexedBuilder::Begin(TRenderPrimitive Kind) {
    if (Open) Fits = false;
    Open = true;
    RunList.push_back({ModeOf(Kind), Index.size(), 0});
}

void TGLIndexedBuilder::End() {
    if (!Open) {
        Fits = false;
        return;
    }
    Open = false;
    RunList.back().Count = Index.size() - RunList.back().First;
}

void TGLIndexedBuilder::Normal(const TMVector& N) {
    // The conversion glNormal3d makes.
    CurrentNormal[0] = static_cast<float>(N.X);
    CurrentNormal[1] = static_cast<float>(N.Y);
    CurrentNormal[2] = static_cast<float>(N.Z);
    HasNormal = true;
}

void TGLIndexedBuilder::Vertex(const TMVector& V) {
    if (!Open || !HasNormal || !Fits) {
        Fits = false;
        return;
    }
    const float Position[3] = {static_cast<float>(V.X), static_cast<float>(V.Y), static_cast<float>(V.Z)};
    Index.push_back(VertexNumber(Position));
}

void TGLIndexedBuilder::Grow() {
    const std::size_t Size = std::max<std::size_t>(1024, Tags.size() * 2);
    Tags.assign(Size, 0);
    Numbers.resize(Size);
    const std::size_t Mask = Size - 1;
    for (std::uint32_t N = 0; N < VertexCount(); ++N) {
        const std::uint64_t Hash = HashOf(&Data[N * FloatsPerVertex]);
        std::size_t S = Hash & Mask;
        while (Tags[S] != 0) S = (S + 1) & Mask;
        Tags[S] = TagOf(Hash);
        Numbers[S] = N;
    }
}

std::uint32_t TGLIndexedBuilder::VertexNumber(const float (&Position)[3]) {
    const float Key[FloatsPerVertex] = {Position[0], Position[1], Position[2], CurrentNormal[0], CurrentNormal[1], CurrentNormal[2]};
    // Bit for bit: a vertex shared is exactly the one that would have been sent.
    auto Same = [&](std::uint32_t N) { return std::memcmp(&Data[N * FloatsPerVertex], Key, sizeof Key) == 0; };
    const std::uint64_t Hash = HashOf(Key);
    // Neighbouring primitives share corners: most are found among the recent ones, whose data is
    // still in the cache, without a walk into the large table.
    std::uint32_t& Recent = RecentVertices[(Hash >> 40) & (RecentVertices.size() - 1)];
    if (Recent != NoVertex && Same(Recent)) return Recent;
    if (2 * (VertexCount() + 1) > Tags.size()) Grow();
    // The small tags are walked first; a vertex's number and data are read only where its tag
    // agrees, so that adding a new vertex touches little memory.
    const std::size_t Mask = Tags.size() - 1;
    const std::uint16_t Tag = TagOf(Hash);
    for (std::size_t S = Hash & Mask;; S = (S + 1) & Mask) {
        const std::uint16_t T = Tags[S];
        if (T == 0) {
            const auto Made = static_cast<std::uint32_t>(VertexCount());
            Tags[S] = Tag;
            Numbers[S] = Made;
            Data.insert(Data.end(), Key, Key + FloatsPerVertex);
            return Recent = Made;
        }
        if (T == Tag && Same(Numbers[S])) return Recent = Numbers[S];
    }
}

// ---- TGLIndexedDrawing ----

TGLIndexedDrawing::TGLIndexedDrawing(TGLIndexedDrawing&& Other) noexcept { *this = std::move(Other); }

TGLIndexedDrawing& TGLIndexedDrawing::operator=(TGLIndexedDrawing&& Other) noexcept {
    if (this == &Other) return *this;
    VertexBuffer = std::exchange(Other.VertexBuffer, 0);
    IndexBuffer = std::exchange(Other.IndexBuffer, 0);
    Runs = std::move(Other.Runs);
    SetsNormal = Other.SetsNormal;
    std::memcpy(EndNormal, Other.EndNormal, sizeof EndNormal);
    return *this;
}

bool TGLIndexedDrawing::Available() {
    QOpenGLContext* Context = QOpenGLContext::currentContext();
    return Context != nullptr && Context->functions()->hasOpenGLFeature(QOpenGLFunctions::Buffers);
}

bool TGLIndexedDrawing::Keep(const TGLIndexedBuilder& Built) {
    Release();
    if (!Available()) return false;
    QOpenGLFunctions* F = QOpenGLContext::currentContext()->functions();
    GLuint Names[2] = {0, 0};
    F->glGenBuffers(2, Names);
    if (Names[0] == 0 || Names[1] == 0) {
        F->glDeleteBuffers(2, Names);
        return false;
    }
    VertexBuffer = Names[0];
    IndexBuffer = Names[1];
    F->glBindBuffer(GL_ARRAY_BUFFER, VertexBuffer);
    F->glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(Built.Vertices().size() * sizeof(float)), Built.Vertices().data(), GL_STATIC_DRAW);
    F->glBindBuffer(GL_ARRAY_BUFFER, 0);
    F->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, IndexBuffer);
    F->glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(Built.Indices().size() * sizeof(std::uint32_t)), Built.Indices().data(),
                    GL_STATIC_DRAW);
    F->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    Runs.clear();
    for (const TGLIndexedBuilder::TRun& R : Built.Runs())
        if (R.Count > 0) Runs.push_back(R);
    SetsNormal = Built.GivesNormal();
    std::memcpy(EndNormal, Built.LastNormal(), sizeof EndNormal);
    return true;
}

void TGLIndexedDrawing::Draw() const {
    if (!IsKept()) return;
    QOpenGLFunctions* F = QOpenGLContext::currentContext()->functions();
    F->glBindBuffer(GL_ARRAY_BUFFER, VertexBuffer);
    F->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, IndexBuffer);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    constexpr GLsizei Stride = FloatsPerVertex * sizeof(float);
    glVertexPointer(3, GL_FLOAT, Stride, nullptr);
    glNormalPointer(GL_FLOAT, Stride, reinterpret_cast<const void*>(3 * sizeof(float)));
    for (const TGLIndexedBuilder::TRun& R : Runs)
        glDrawElements(R.Mode, static_cast<GLsizei>(R.Count), GL_UNSIGNED_INT, reinterpret_cast<const void*>(R.First * sizeof(std::uint32_t)));
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    F->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    F->glBindBuffer(GL_ARRAY_BUFFER, 0);
    // After an array draw the current normal is undefined; the primitives sent one by one leave the
    // last one given.
    if (SetsNormal) glNormal3fv(EndNormal);
}

void TGLIndexedDrawing::Release() {
    if (IsKept()) {
        const GLuint Names[2] = {VertexBuffer, IndexBuffer};
        QOpenGLContext::currentContext()->functions()->glDeleteBuffers(2, Names);
    }
    VertexBuffer = 0;
    IndexBuffer = 0;
    Runs.clear();
}

}  // namespace sarnova
