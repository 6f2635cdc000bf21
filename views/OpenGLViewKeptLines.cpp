#include "views/OpenGLViewKeptLines.h"

#include <GL/gl.h>

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
        glDeleteLists(K.List, 1);
        It = Kept.erase(It);
    }
}

void TGLKeptLines::Release() {
    for (const auto& [Key, K] : Kept) glDeleteLists(K.List, 1);
    Kept.clear();
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
        glCallList(K->List);
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
    glNewList(List, GL_COMPILE);
    try {
        Draw(*this);
        FlushPendingLines();
    } catch (...) {
        PendingLines.clear();
        Finish();
        LineColor = ColorBefore;
        DrawState = StateBefore;
        glDeleteLists(List, 1);
        throw;
    }
    TGLKeptLines::TKept Compiled;
    Compiled.List = List;
    Compiled.Extents = Finish();
    Compiled.EndDrawState = DrawState;
    if (LineColor != ColorBefore) Compiled.EndLineColor = LineColor;
    KeptLineLists.Keep(Key.GetValue(), Compiled);
    Drawn = true;
    DrawState = StateBefore;
    glCallList(List);
    DrawState = Compiled.EndDrawState;
}

}  // namespace sarnova
