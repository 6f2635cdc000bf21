// The arithmetic of the shading controller, kept apart from the widget so that it runs without a
// window: the clipping limits and their clamps, the conversions between pixel rows and values, the
// ticks of the scale and the colour of each row of the band.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/ColorNames.h"

namespace sarnova {

enum TShadingMethod : std::uint8_t { smLinear = 0, smZeroCentred = 1 };

struct TShadingTick {
    double Value;
    int Y;
    std::string Label;
};

class TShadingScale {
public:
    double Min = -100.0;
    double Max = 100.0;
    double ClippingMin = -100.0;
    double ClippingMax = 100.0;
    TShadingMethod Method = smLinear;
    TColorInterpolationMode Model = ciMono;
    // The pixel rows of Max, of the value 0 (zero-centred) and of Min, as the last painting laid them.
    int Top = 0;
    int Zero = 0;
    int Bottom = 0;

    // The clipping limits back to Min and Max.
    void ResetClipping() {
        ClippingMin = Min;
        ClippingMax = Max;
    }
    // Linear: within Min .. ClippingMax. Zero-centred: within Min .. 0.
    double ClampClippingMin(double X) const;
    // Linear: within ClippingMin .. Max. Zero-centred: within 0 .. Max.
    double ClampClippingMax(double X) const;

    // Rows to values and back, through the rows of the last painting. A scale without height (Min not
    // below Max) puts every value on the bottom row and reads Min from every row.
    double YToValue(int Y) const;
    int ValueToY(double Value) const;

    // The tick spacing: NiceNumber of a ninth of the nice range; 0 for a scale without height.
    double Step() const;
    // The ticks from Min to Max at multiples of Step, rows from the stored rows; a scale without
    // height (or too fine to count) has one tick, at Min. The zero-centred scale lists the ticks above
    // 0 first and then those from Min up to 0, so 0 comes twice.
    std::vector<TShadingTick> Ticks() const;
    // The colour of row Y: the linear hue ramp over the clipping limits, or the zero-centred colour
    // of the model. A range without width shows one colour instead of failing.
    TColor RowColour(int Y) const;
};

}  // namespace sarnova
