#include "naval/Frames.h"

#include <string>

#include "foundation/Errors.h"

namespace sarnova {

const TFrameSpacing& TFrames::Items(int Index) const {
    if (Index < 0 || Index >= Count()) throw EError("List index out of bounds (" + std::to_string(Index) + ")");
    return Ranges[static_cast<std::size_t>(Index)];
}

double TFrames::FramePosition(double Frame) const {
    // Where ranges overlap, the last one in the list decides.
    for (auto Range = Ranges.rbegin(); Range != Ranges.rend(); ++Range)
        if (Range->ContainsFrame(Frame)) return Range->FramePosition(Frame);
    return -1;
}

}  // namespace sarnova
