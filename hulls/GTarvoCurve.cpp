#include "hulls/GTarvoCurve.h"

#include "document/Geometry.h"

namespace sarnova {

namespace {

TTarvoCurveMaker& Maker() {
    static TTarvoCurveMaker Installed;
    return Installed;
}

}  // namespace

void SetTarvoCurveMaker(TTarvoCurveMaker Value) { Maker() = std::move(Value); }

bool CanCreateTarvoCurve() { return static_cast<bool>(Maker()); }

std::unique_ptr<TGeometry> CreateTarvoCurve(const TBSpline& Spline) {
    return Maker() ? Maker()(Spline) : nullptr;
}

}  // namespace sarnova
