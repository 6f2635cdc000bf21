// The frame-spacing table: frame (station) numbers along x, with frame 0 at an origin and the frames
// following at piecewise-constant spacings.
#pragma once
#include <cstdint>
#include <string>
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

    // Rebuilds the table from "Frames <origin> <spacing> [<frame> <spacing> ...]": frame 0 at the
    // origin, and from each listed frame on the spacing that follows it; the first word is not
    // checked. The ranges cover the frames -100000 up to (not including) 300000 with x continuous
    // across them. Throws EError "Error in frame Definition, Wrong number of Parameters" for an even
    // word count or fewer than three words (the table stays as it was); a word that is not a number
    // throws EConvertError and leaves the table empty.
    void SetDefinition(const std::string& Text);
    // The text SetDefinition reads: reals in the shortest form of up to 15 digits, and after more
    // than one range a trailing blank ("Frames 5 0.6 10 0.7 ").
    std::string GetDefinition() const;
    // Becomes a copy of Other's ranges and origin through its definition; an empty Other changes
    // nothing. The x limits are not copied.
    void Assign(const TFrames& Other);

private:
    void Rebuild();

    std::vector<TFrameSpacing> Ranges;
};

}  // namespace sarnova
