// The weight profile of the hull's volume curves: a cubic blend read as w(x) for x in 0..1, shaped by
// a fullness fraction and by how each end starts (a given value, a tangent turned by the fullness, or
// a vertical start).
#pragma once
#include <cstdint>

#include "hulls/Blend.h"

namespace sarnova {

class TWeightBlend : public TBlendFunction {
public:
    // The defaults, fitted.
    TWeightBlend();

    double Position() const { return FPosition; }
    std::uint8_t StartKind() const { return FStartKind; }
    std::uint8_t EndKind() const { return FEndKind; }
    double StartValue() const { return FStartValue; }
    double EndValue() const { return FEndValue; }

    // Each stores its value and refits the profile.
    void SetPosition(double Value);
    // 1: the profile starts at StartValue; 2: at the fullness level along a tangent turned by it;
    // 3: at the fullness level, vertically. Any other kind leaves that end of the blend as it was.
    void SetStartKind(std::uint8_t Value);
    void SetEndKind(std::uint8_t Value);
    void SetStartValue(double Value);
    void SetEndValue(double Value);

    void Recalculate();

private:
    double FPosition = 0;
    std::uint8_t FStartKind = 1;
    std::uint8_t FEndKind = 1;
    double FStartValue = 1.0;
    double FEndValue = 0.8;
};

}  // namespace sarnova
