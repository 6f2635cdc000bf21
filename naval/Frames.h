// The frame-spacing table: frame (station) numbers along x, with frame 0 at an origin and the frames
// following at piecewise-constant spacings.
#pragma once
#include <cstdint>
#include <vector>

namespace sarnova {

// One range of equally spaced frames: it holds the frames First <= f < Last and the positions
// XMin <= x < XMax.
struct TFrameSpacing {
    double Spacing = 1;
    double Offset = 0;
    double XMin = 0;
    double XMax = 0;
    std::int32_t FirstFrame = 0;
    std::int32_t LastFrame = 0;

    double FramePosition(double Frame) const { return Frame * Spacing + Offset; }
    bool ContainsFrame(double Frame) const { return FirstFrame <= Frame && Frame < LastFrame; }
};

class TFrames {
public:
    // The x of frame 0, and the x range of the drawn scale (set by the owner, not part of the table).
    double Origin = 0;
    double XMin = 0;
    double XMax = 0;

    // Number of ranges; 0 means the frames are undefined.
    int Count() const { return static_cast<int>(Ranges.size()); }
    // Throws EError "List index out of bounds (<Index>)" outside 0 .. Count - 1.
    const TFrameSpacing& Items(int Index) const;
    void Add(const TFrameSpacing& Range) { Ranges.push_back(Range); }
    void Clear() { Ranges.clear(); }

    // The x of a (fractional) frame number through the last range that holds it; -1 when none does.
    double FramePosition(double Frame) const;

private:
    std::vector<TFrameSpacing> Ranges;
};

}  // namespace sarnova
