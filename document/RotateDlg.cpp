#include "document/RotateDlg.h"

#include <numbers>

namespace sarnova {

TMMatrix TransformAboutPoint(const TMMatrix& M, const TMVector& Origin) {
    const TMMatrix ToOrigin = MatrixTranslation(-Origin.X, -Origin.Y, -Origin.Z);
    const TMMatrix Back = MatrixInverse(ToOrigin);
    return MatrixMultiply(Back, MatrixMultiply(M, ToOrigin));
}

TMMatrix RotateTransform(double AngleX, double AngleY, double AngleZ, const TMVector& Origin) {
    constexpr double Radians = std::numbers::pi / 180;
    return TransformAboutPoint(MatrixFromRotationAngles(AngleX * Radians, AngleY * Radians, AngleZ * Radians),
                               Origin);
}

}  // namespace sarnova
