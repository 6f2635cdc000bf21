// The 3-D view's construction grid: its settings and grid snapping.
#pragma once
#include <cstdint>

#include "foundation/DeRaridiView.h"

namespace sarnova {

enum TViewGridStyle : std::uint8_t { gsLines, gsDots };

class TViewGrid : public IViewGrid {
public:
    double GetGridSize() const override { return GridSize; }
    void SetGridSize(double Value) { GridSize = Value; }
    bool GetEnabled() const override { return Enabled; }
    void SetEnabled(bool Value) { Enabled = Value; }

    // Each coordinate to the nearest multiple of GridSize, exact halves towards zero. A grid size that
    // is not positive has no multiples to snap to and leaves the point as it is.
    TMVector SnapPoint(const TMVector& P) const override;
    // Only x for kinds epXY, epZX and epAlongX; y for epXY, epYZ and epAlongY; z for epYZ, epZX and
    // epAlongZ; other kinds leave the point unchanged.
    TMVector SnapPointConstrained(const TMVector& P, TEditPlaneKind Code) const override;

    TViewGridStyle GridStyle = gsLines;
    int MajorFrequency = 10;
    int MajorLineSize = 2;
    int MinorLineSize = 1;
    TColor MinorColor = clGray;
    TColor MajorColor = clGray;

private:
    double Snap(double C) const;

    double GridSize = 2.0;
    bool Enabled = false;
};

}  // namespace sarnova
