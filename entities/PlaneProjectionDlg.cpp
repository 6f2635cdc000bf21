#include "entities/PlaneProjectionDlg.h"

#include <cmath>

namespace sarnova {

TPlaneProjectionDialog& PlaneProjectionDialog() {
    static TPlaneProjectionDialog Dialog;
    return Dialog;
}

bool ShowPlaneProjectionDialog(const TMPlane& Plane, std::uint8_t& Direction, bool& CopyCurve) {
    const TPlaneProjectionDialog& Dialog = PlaneProjectionDialog();
    return Dialog && Dialog(Plane, Direction, CopyCurve);
}

bool ProjectionDirectionAllowed(const TMPlane& Plane, std::uint8_t Direction) {
    const TMVector& N = Plane.Normal;
    switch (Direction) {
        case pdParallelToX: return std::fabs(N.X) > 1e-30;
        case pdParallelToY: return std::fabs(N.Y) > 1e-30;
        case pdParallelToZ: return std::fabs(N.Z) > 1e-30;
        default: return true;
    }
}

}  // namespace sarnova
