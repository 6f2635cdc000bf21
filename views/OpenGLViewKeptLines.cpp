#include "views/OpenGLViewKeptLines.h"

#include <QOpenGLContext>
#include <QOpenGLFunctions>

#include <GL/gl.h>

#include "views/GLIndexedDrawing.h"
#include "views/OpenGLView.h"

namespace sarnova {

// ---- TGLKeptLines ----

const TGLKeptLines::TKept* TGLKeptLines::Find(std::uint64_t Key) {
    const auto Found = Kept.find(Key);
    if (Found == Kept.end()) return nullptr;
    Found->second.Used = true;
    return &Found->second;
}

void TGLKeptLines::Keep(std::uint64_t Key, const TKept& Compiled) {
    TKept& K = Kept[Key];
    K = Compiled;
    K.Used = true;
}

void TGLKeptLines::EndFrame() {
    for (auto It = Kept.begin(); It != Kept.end();) {
        TKept& K = It->second;
        if (K.Used) {
            K.Used = false;
            ++It;
            continue;
        }
        Delete(K.Parts);
        It = Kept.erase(It);
    }
}

void TGLKeptLines::Release() {
    for (const auto& [Key, K] : Kept) Delete(K.Parts);
    Kept.clear();
}

unsigned TGLKeptLines::LineBuffer(const float* Ends, std::size_t Count) {
    if (!TGLIndexedDrawing::Available()) return 0;
    QOpenGLFunctions* F = QOpenGLContext::currentContext()->functions();
    GLuint Buffer = 0;
    F->glGenBuffers(1, &Buffer);
    if (Buffer == 0) return 0;
    F->glBindBuffer(GL_ARRAY_BUFFER, Buffer);
    F->glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(Count * sizeof(float)), Ends, GL_STATIC_DRAW);
    // Unbound again: array draws compiled into lists read client memory.
    F->glBindBuffer(GL_ARRAY_BUFFER, 0);
    return Buffer;
}

void TGLKeptLines::Draw(const TKept& K) {
    for (const TPart& P : K.Parts) {
        glCallList(P.List);
        if (P.Buffer == 0) continue;
        QOpenGLFunctions* F = QOpenGLContext::currentContext()->functions();
        F->glBindBuffer(GL_ARRAY_BUFFER, P.Buffer);
        glEnableClientState(GL_VERTEX_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, nullptr);
        glDrawArrays(GL_LINES, 0, P.Vertices);
        glDisableClientState(GL_VERTEX_ARRAY);
        F->glBindBuffer(GL_ARRAY_BUFFER, 0);
    }
}

void TGLKeptLines::Delete(const std::vector<TPart>& Parts) {
    for (const TPart& P : Parts) {
        if (P.List != 0) glDeleteLists(P.List, 1);
        if (P.Buffer != 0) QOpenGLContext::currentContext()->functions()->glDeleteBuffers(1, &P.Buffer);
    }
}

// ---- The view's side ----

bool TOpenGLView::KeepsLines() { return (State & vfContextReady) && !(State & vfMeasuring) && !KeepingLines; }

void TOpenGLView::AddExtentsBox(const TMBox& B) {
    if (!(B.Min.X <= B.Max.X)) return;
    ExtendBoxXYZ(ModelExtents, B.Min.X, B.Min.Y, B.Min.Z);
    ExtendBoxXYZ(ModelExtents, B.Max.X, B.Max.Y, B.Max.Z);
}

void TOpenGLView::KeptLines(const TDrawingKey& Key, const std::function<void(IGraphics&)>& Draw) {
    if (!KeepsLines()) {
        Draw(*this);
        return;
    }
    RefuseOpenLine("KeptLines");
    MakeCurrent();
    if (const TGLKeptLines::TKept* K = KeptLineLists.Find(Key.GetValue())) {
        AddExtentsBox(K->Extents);
        Drawn = true;
        SetDrawState(dsLines);
        TGLKeptLines::Draw(*K);
        DrawState = K->EndDrawState;
        if (K->EndLineColor) LineColor = *K->EndLineColor;
        return;
    }
    // Lists do not nest: inside a list being compiled the lines go into that list directly.
    GLint Compiling = 0;
    glGetIntegerv(GL_LIST_INDEX, &Compiling);
    const GLuint List = Compiling == 0 ? glGenLists(1) : 0;
    if (List == 0) {
        Draw(*this);
        return;
    }
    // Switched before the list, so that the list holds the lines only.
    SetDrawState(dsLines);
    // The lines' own extents are kept with them; the view's grow by them as by any lines.
    const TMBox Outside = ModelExtents;
    // What compiling changes in the view's own records only: OpenGL's state changes when the list
    // is called.
    const TColor ColorBefore = LineColor;
    const std::uint8_t StateBefore = DrawState;
    InitEmptyBox(ModelExtents);
    auto Finish = [&] {
        glEndList();
        KeepingLines = false;
        const TMBox Inside = ModelExtents;
        ModelExtents = Outside;
        AddExtentsBox(Inside);
        return Inside;
    };
    KeepingLines = true;
    KeptParts.assign(1, {List});
    glNewList(List, GL_COMPILE);
    try {
        Draw(*this);
        FlushPendingLines();
    } catch (...) {
        PendingLines.clear();
        Finish();
        LineColor = ColorBefore;
        DrawState = StateBefore;
        TGLKeptLines::Delete(KeptParts);
        KeptParts.clear();
        throw;
    }
    TGLKeptLines::TKept Compiled;
    Compiled.Parts = std::move(KeptParts);
    KeptParts.clear();
    Compiled.Extents = Finish();
    Compiled.EndDrawState = DrawState;
    if (LineColor != ColorBefore) Compiled.EndLineColor = LineColor;
    KeptLineLists.Keep(Key.GetValue(), Compiled);
    Drawn = true;
    DrawState = StateBefore;
    TGLKeptLines::Draw(Compiled);
    DrawState = Compiled.EndDrawState;
}

}  // namespace sarnova
