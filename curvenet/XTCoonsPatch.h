// The Coons patch of a face made from the corner data of its four sides alone: one bicubic Bezier
// patch. The interior of each side is not used, so the sides should be single cubic segments.
#pragma once
#include <memory>

#include "surfaces/BSurface.h"

namespace sarnova {

class TXTPatchEdges;

class TXTCoonsPatch {
public:
    explicit TXTCoonsPatch(TXTPatchEdges& AEdges) : FEdges(AEdges) {}

    // Replaces the surface by the bicubic patch of the corners.
    void Build();
    // nullptr before Build.
    TBSplineSurface* Surface() const { return FSurface.get(); }

private:
    TXTPatchEdges& FEdges;
    std::unique_ptr<TBSplineSurface> FSurface;
};

// A new surface of the patch built on Edges.
std::unique_ptr<TBSplineSurface> BuildCoonsPatch(TXTPatchEdges& Edges);

}  // namespace sarnova
