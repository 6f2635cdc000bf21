// The line drawings a 3-D view keeps: per drawing key (see IGraphics::KeptLines) display lists of
// the view's context, with the extents of its lines, so that a wireframe is made once per change
// and drawn at every frame. Long runs of single lines go into vertex buffers between the lists
// instead (a copy, where compiling them into a list costs per vertex). Drawings unused through a
// whole frame are let go when it ends, so those of drawings that changed or went do not pile up.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "foundation/Colors.h"
#include "foundation/GeomBox.h"

namespace sarnova {

class TGLKeptLines {
public:
    // A list, then (when Buffer is not 0) the lines of a vertex buffer: Vertices line ends.
    struct TPart {
        unsigned List = 0;
        unsigned Buffer = 0;
        int Vertices = 0;
    };
    struct TKept {
        // Drawn in order; each part's list is called before its lines are drawn.
        std::vector<TPart> Parts;
        // The measured points of the lines; empty when none is measured.
        TMBox Extents = EmptyBox;
        // The view's drawing state and, when the drawing set one, line colour after the list, so
        // that calling it leaves the view as drawing the lines did.
        std::uint8_t EndDrawState = 0;
        std::optional<TColor> EndLineColor;
        bool Used = true;
    };

    TGLKeptLines() = default;
    TGLKeptLines(const TGLKeptLines&) = delete;
    TGLKeptLines& operator=(const TGLKeptLines&) = delete;

    // The drawing kept under Key, marked used; nullptr when there is none.
    const TKept* Find(std::uint64_t Key);
    // Kept (compiled in the view's context) under Key, which has none yet; used.
    void Keep(std::uint64_t Key, const TKept& Compiled);
    // At the end of a full frame, the view's context current: the lists not used since the last end
    // are deleted, the others count as unused again.
    void EndFrame();
    // Deletes every list; the view's context is current.
    void Release();
    // Lets every list go without deleting it: its context is gone, or is not current and takes its
    // lists with it.
    void Abandon() { Kept.clear(); }
    int Count() const { return static_cast<int>(Kept.size()); }

    // A vertex buffer of the Count floats (x, y, z of each line end) in the current context; 0 when
    // the context has no buffers.
    static unsigned LineBuffer(const float* Ends, std::size_t Count);
    // Draws the parts in order.
    static void Draw(const TKept& K);
    // Deletes the parts' lists and buffers.
    static void Delete(const std::vector<TPart>& Parts);

private:
    std::unordered_map<std::uint64_t, TKept> Kept;
};

}  // namespace sarnova
