// The Gregory patch of a face: one bicubic Gregory surface whose boundary is the four sides taken as
// cubic Bezier segments and whose split inner points carry each side's own cross derivative, so that
// the sides need no common twist at the corners.
#pragma once
#include <memory>

#include "surfaces/Gregory.h"

namespace sarnova {

class TXTPatchEdges;

class TXTGregoryPatch {
public:
    explicit TXTGregoryPatch(TXTPatchEdges& AEdges) : FEdges(AEdges) {}

    // Replaces the surface by the patch of the sides as they are; the opposite sides' curves are made
    // compatible in place first.
    void Build();
    // nullptr before Build.
    TGregorySurface* Surface() const { return FSurface.get(); }

private:
    TXTPatchEdges& FEdges;
    std::unique_ptr<TGregorySurface> FSurface;
};

// A new surface of the patch built on Edges.
std::unique_ptr<TGregorySurface> BuildGregoryPatch(TXTPatchEdges& Edges);

}  // namespace sarnova
