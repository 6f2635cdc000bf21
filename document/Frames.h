// The frame-spacing table: frame (station) numbers along x, with frame 0 at an origin and the frames
// following at piecewise-constant spacings.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "foundation/VkMaths.h"

namespace sarnova {

class IGraphics;

// One range of equally spaced frames: it holds the frames First <= f < Last and the positions
// XStart <= x < XEnd.
struct TFrameSpacing {
    double Spacing = 1;
    double Offset = 0;
    double XStart = 0;
    double XEnd = 0;
    std::int32_t FirstFrame = 0;
    std::int32_t LastFrame = 0;

    double FramePosition(double Frame) const { return Frame * Spacing + Offset; }
    double FrameNumber(double X) const { return (X - Offset) / Spacing; }
    bool ContainsFrame(double Frame) const { return FirstFrame <= Frame && Frame < LastFrame; }
    bool ContainsX(double X) const { return XStart <= X && X < XEnd; }
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
    const TFrameSpacing& Spacings(int Index) const;
    // Append a range with the spacing from frame 0 on, or from the given frame on, and return it; its
    // limits and offset are left for the table's rebuild (or the caller) to set.
    TFrameSpacing& AddSpacing(double Spacing) { return AddSpacingFrom(0, Spacing); }
    TFrameSpacing& AddSpacingFrom(std::int32_t Frame, double Spacing);
    void Clear() { Ranges.clear(); }

    // The x of a (fractional) frame number through the last range that holds it; -1 when none does.
    double FramePosition(double Frame) const;
    // The fractional frame number at X through the last range whose x interval holds X; -1 when none
    // does (which callers cannot tell from frame -1).
    double FrameNumber(double X) const;
    // The last range holding the frame; nullptr when none does.
    const TFrameSpacing* SpacingOfFrame(double Frame) const;

    // Rebuilds the table from "Frames <origin> <spacing> [<frame> <spacing> ...]": frame 0 at the
    // origin, and from each listed frame on the spacing that follows it; the first word is not
    // checked. The ranges cover the frames -100000 up to (not including) 300000 with x continuous
    // across them. Numbers are read with "." or "," as decimal separator, whatever the locale.
    // Throws EError "Error in frame Definition, Wrong number of Parameters" for an even
    // word count or fewer than three words, EError naming the value for a spacing that is not positive
    // or a frame number not above the one before it (or beyond the table), and EConvertError for a
    // word that is not a number; the table then stays as it was.
    void SetDefinition(const std::string& Text);
    // The text SetDefinition reads: reals in the shortest form of up to 15 digits, and after more
    // than one range a trailing blank ("Frames 5 0.6 10 0.7 ").
    std::string GetDefinition() const;
    // Becomes a copy of Other's ranges and origin through its definition; an empty Other changes
    // nothing. The x limits are not copied.
    void Assign(const TFrames& Other);
    // A copy mapped along x by the matrix's x row, x' = M[0][0] x + M[0][3]: origin, range limits and
    // offsets mapped, spacings scaled. A mirror (M[0][0] < 0) turns each range's x interval round, so
    // its limits are swapped and FrameNumber keeps answering. Its x limits are 0.
    std::unique_ptr<TFrames> Transformed(const TMMatrix& M) const;
    // The scale: the x axis from XMin to XMax and at every whole frame between the frame numbers of
    // the two limits (each in single precision, truncated towards zero) a tick down in z and a cross
    // tick in y, 1 long at every tenth frame and 0.5 otherwise. Frames outside every range are left
    // out, and so are limits that have no frame number.
    void Draw(IGraphics& View) const;
    // Calls Visit with every whole frame from First to Last (clamped to the frames a table can hold)
    // that lies in a range, and its x, in increasing order, until Visit answers false.
    void VisitFrames(int First, int Last, const std::function<bool(int Frame, double X)>& Visit) const;

private:
    void Rebuild();

    std::vector<TFrameSpacing> Ranges;
};

}  // namespace sarnova
