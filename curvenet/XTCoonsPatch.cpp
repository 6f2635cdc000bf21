#include "curvenet/XTCoonsPatch.h"

#include "curvenet/XTBezierCoonsPatch.h"

namespace sarnova {

void TXTCoonsPatch::Build() { FSurface = CubicCornerSurface(FEdges); }

std::unique_ptr<TBSplineSurface> BuildCoonsPatch(TXTPatchEdges& Edges) {
    TXTCoonsPatch Patch(Edges);
    Patch.Build();
    return CloneBSplineSurface(*Patch.Surface());
}

}  // namespace sarnova
