// A cubic space curve between two ends, each a point and a tangent: lays out control points between
// two fixed points of a Tarvo curve and, read by x, weighs one hull curve against another.
#pragma once
#include <array>

#include "foundation/VkMaths.h"

namespace sarnova {

// One end of a blend: a point and a tangent, the tangent given directly or as a second point.
class TBlendEnd {
public:
    TMVector Point{};
    // Used while UseTangentPoint is false.
    TMVector Tangent{};
    // Gives the tangent as TangentPoint - Point, taken when the blend is fitted.
    TMVector TangentPoint{};
    bool UseTangentPoint = false;

    TMVector GetTangent() const;
    void SetTangent(const TMVector& V);
    void SetTangentPoint(const TMVector& P);
};

// The cubic Hermite segment from StartEnd (t = 0) to FinishEnd (t = 1). The tangents are derivatives
// by t, so their lengths set the fullness. Changing an end takes effect at the next Fit.
class TBlendFunction {
public:
    TBlendEnd StartEnd;
    TBlendEnd FinishEnd;

    virtual ~TBlendFunction() = default;

    // Kind 1 start point, 2 start tangent, 3 start tangent point, 4 finish point, 5 finish tangent,
    // 6 finish tangent point; any other kind is ignored.
    void SetEnd(int Kind, const TMVector& V);
    void Fit();

    // Coefficients A3, A2, A1, A0 of x(t), y(t), z(t) (index 0, 1, 2), valid after Fit.
    const std::array<double, 4>& Coefficients(int Axis) const { return FCoefficients[Axis]; }

    double XAt(double T) const;
    // t outside [0, 1] extrapolates the cubic; t = 0 and t = 1 give the fitted ends exactly.
    TMVector PointAt(double T) const;
    // The t in [0, 1] with x(t) = X within 1e-4, by bisection; -1.0 when none is bracketed. x(t) is
    // taken to be monotone: a root that a non-monotone x hides from the bracket is not found.
    double ParameterAtX(double X) const;
    // PointAt(ParameterAtX(X)), which is the cubic at t = -1 when the inverse fails.
    TMVector PointAtX(double X) const;

private:
    double Coordinate(int Axis, double T) const;

    std::array<std::array<double, 4>, 3> FCoefficients{};
    // The finish point as fitted: the polynomial at t = 1 can miss it by rounding.
    TMVector FFittedFinish{};
};

}  // namespace sarnova
