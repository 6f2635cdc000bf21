#include "document/ScaleDlg.h"

#include "document/RotateDlg.h"
#include "foundation/NumberText.h"

namespace sarnova {

TMMatrix ScaleTransform(double FactorX, double FactorY, double FactorZ, const TMVector& Origin) {
    return TransformAboutPoint(MatrixScaling(FactorX, FactorY, FactorZ), Origin);
}

const std::array<TScalePreset, 6> ScalePresets{{
    {"Metres to Millimetres", 1000},
    {"Millimetres to Metres", 0.001},
    {"Metres to Feet", 3.2808399},
    {"Millimetres to Feet", 0.0032808399},
    {"Feet to Metres", 0.304799999536704},
    {"Feet to Millimetres", 304.799999536704},
}};

std::string ScaleFactorText(double Factor) { return FloatToStr(Factor); }

}  // namespace sarnova
