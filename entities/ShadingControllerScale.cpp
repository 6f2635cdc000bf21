#include "entities/ShadingControllerScale.h"

#include <cmath>

#include "entities/PressureField.h"
#include "foundation/NumberText.h"
#include "foundation/VkMaths.h"

namespace sarnova {

namespace {

// More ticks than a scale ever shows: the indices would be too large to step through.
constexpr double TickLimit = 1000;

bool HasHeight(double Min, double Max) { return Max - Min > 0 && std::isfinite(Max - Min); }

}  // namespace

double TShadingScale::ClampClippingMin(double X) const {
    if (X < Min) return Min;
    const double Upper = Method == smLinear ? ClippingMax : 0.0;
    return X > Upper ? Upper : X;
}

double TShadingScale::ClampClippingMax(double X) const {
    if (X > Max) return Max;
    const double Lower = Method == smLinear ? ClippingMin : 0.0;
    return X < Lower ? Lower : X;
}

double TShadingScale::YToValue(int Y) const {
    if (Method == smLinear) {
        if (Top == Bottom || !HasHeight(Min, Max)) return Min;
        return Min + double(Y - Bottom) / double(Top - Bottom) * (Max - Min);
    }
    if (Y < Zero) return Top == Zero ? 0.0 : Max * double(Y - Zero) / double(Top - Zero);
    return Bottom == Zero ? 0.0 : Min * double(Y - Zero) / double(Bottom - Zero);
}

int TShadingScale::ValueToY(double Value) const {
    if (Method == smLinear) {
        if (!HasHeight(Min, Max)) return Bottom;
        return TruncToInteger((Value - Min) / (Max - Min) * double(Top - Bottom) + Bottom);
    }
    // A half of the scale that ends at 0 has no height: its values sit on the zero row.
    if (Value > 0) return Max == 0 ? Zero : TruncToInteger(Value / Max * double(Top - Zero) + Zero);
    return Min == 0 ? Zero : TruncToInteger(Value / Min * double(Bottom - Zero) + Zero);
}

double TShadingScale::Step() const {
    if (!HasHeight(Min, Max)) return 0;
    const double Range = NiceNumber(Max - Min, false);
    return NiceNumber(Range / 9, true);
}

std::vector<TShadingTick> TShadingScale::Ticks() const {
    std::vector<TShadingTick> Result;
    const auto Add = [&Result](double Value, int Y) { Result.push_back({Value, Y, FloatToStr(Value)}); };
    const double S = Step();
    const double First = S > 0 ? std::trunc(Min / S) : 0;
    const double Last = S > 0 ? std::trunc(Max / S) : 0;
    if (!(S > 0) || !(Last - First < TickLimit) || std::abs(First) > 1e9 || std::abs(Last) > 1e9) {
        Add(Min, ValueToY(Min));
        return Result;
    }
    if (Method == smLinear) {
        for (double I = First; I <= Last; I += 1) Add(I * S, ValueToY(I * S));
        return Result;
    }
    // Above 0 by Max's rows, then from Min up to 0 by Min's rows; a half ending at 0 has its tick on
    // the zero row.
    for (double V = 0; V <= Last; V += 1)
        Add(V * S, Max == 0 ? Zero : Zero - TruncToInteger(V * S * double(Zero - Top) / Max));
    for (double I = First; I <= 0; I += 1)
        Add(I * S, Min == 0 ? Zero : Zero - TruncToInteger(I * S * double(Zero - Bottom) / Min));
    return Result;
}

TColor TShadingScale::RowColour(int Y) const {
    const double V = YToValue(Y);
    if (Method == smLinear) return PressureRampColour(ClippingMin, ClippingMax, V);
    // An upper limit at 0 leaves the value 0 on the edge of an empty half: it gets the colour of 0.
    if (V == 0 && ClippingMax == 0) return ZeroCentredColor(Model, ClippingMin, 1.0, 0.0);
    return ZeroCentredColor(Model, ClippingMin, ClippingMax, V);
}

}  // namespace sarnova
