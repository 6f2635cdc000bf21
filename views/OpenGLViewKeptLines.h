// The line drawings a 3-D view keeps: one display list of the view's context per drawing key (see
// IGraphics::KeptLines), with the extents of its lines, so that a wireframe is compiled once per
// change and called at every frame. Lists unused through a whole frame are let go when it ends, so
// the lists of drawings that changed or went do not pile up.
#pragma once
#include <cstdint>
#include <optional>
#include <unordered_map>

#include "foundation/Colors.h"
#include "foundation/GeomBox.h"

namespace sarnova {

class TGLKeptLines {
public:
    struct TKept {
        unsigned List = 0;
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

private:
    std::unordered_map<std::uint64_t, TKept> Kept;
};

}  // namespace sarnova
