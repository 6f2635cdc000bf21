#include "hulls/WeightBlend.h"

#include <cmath>
#include <numbers>

#include "hulls/TarvoFunctions.h"

namespace sarnova {

TWeightBlend::TWeightBlend() { Recalculate(); }

void TWeightBlend::SetPosition(double Value) {
    FPosition = Value;
    Recalculate();
}

void TWeightBlend::SetStartKind(std::uint8_t Value) {
    FStartKind = Value;
    Recalculate();
}

void TWeightBlend::SetEndKind(std::uint8_t Value) {
    FEndKind = Value;
    Recalculate();
}

void TWeightBlend::SetStartValue(double Value) {
    FStartValue = Value;
    Recalculate();
}

void TWeightBlend::SetEndValue(double Value) {
    FEndValue = Value;
    Recalculate();
}

void TWeightBlend::Recalculate() {
    const double F = FPosition;
    double d, c;
    if (FStartKind == 1 && FEndKind == 1) {
        d = F;
        c = 0;
    } else if (FStartKind == 3 && FEndKind == 3) {
        d = 0;
        c = F;
    } else {
        d = Clamp01(2 * F);
        c = Clamp01(2 * F - 1);
    }
    const double a = d * std::numbers::pi / 2;
    const double h = a - std::numbers::pi / 2;
    const double m = 1.5 * (1 - c);

    switch (FStartKind) {
        case 1:
            SetEnd(1, {0, FStartValue, 0});
            SetEnd(2, c > FStartValue ? TMVector{1.5, 3 * (c - FStartValue), 0}
                                      : TMVector{1.5 * std::cos(h), 1.5 * FStartValue * std::sin(h), 0});
            break;
        case 2:
            SetEnd(1, {0, c, 0});
            SetEnd(2, {m * std::cos(a), m * std::sin(a), 0});
            break;
        case 3:
            SetEnd(1, {0, c, 0});
            SetEnd(2, {0, m, 0});
            break;
        default: break;
    }
    switch (FEndKind) {
        case 1:
            SetEnd(4, {1, FEndValue, 0});
            SetEnd(5, c > FEndValue ? TMVector{1.5, -3 * (c - FEndValue), 0}
                                    : TMVector{1.5 * std::cos(h), -1.5 * FEndValue * std::sin(h), 0});
            break;
        case 2:
            SetEnd(4, {1, c, 0});
            SetEnd(5, {m * std::cos(a), -m * std::sin(a), 0});
            break;
        case 3:
            SetEnd(4, {1, c, 0});
            SetEnd(5, {0, -m, 0});
            break;
        default: break;
    }
    Fit();
}

}  // namespace sarnova
