// The 3-D view's construction grid: its settings, the spacing that keeps drawn lines about 24 pixels
// apart whatever the zoom, the lines or dots it lays down, and grid snapping. Everything but Draw is
// plain arithmetic on the camera, so it runs without a window.
#pragma once
#include <cstdint>
#include <vector>

#include "foundation/ViewContract.h"

namespace sarnova {

class TCamera;
class TOpenGLView;

enum TViewGridStyle : std::uint8_t { gsLines, gsDots };

// One drawn grid line; major lines take the major colour and width.
struct TGridLine {
    TMVector From;
    TMVector To;
    bool Major = false;
};

// What one draw of the grid lays down: two families of lines (the second starts again in the minor
// colour and width), or the dots at their crossings.
struct TGridPicture {
    std::vector<TGridLine> Lines[2];
    std::vector<TMVector> Dots;
};

class TViewGrid : public IViewGrid {
public:
    // Without a camera the grid only snaps; it measures and draws through its camera's view.
    explicit TViewGrid(TCamera* Camera = nullptr);
    TViewGrid(const TViewGrid&) = delete;
    TViewGrid& operator=(const TViewGrid&) = delete;

    // Copies the settings (not the camera, the multiplier or the range) and repaints on a change.
    void Assign(const TViewGrid& Source);

    // The writers of size, major frequency, enabled and the colours repaint the view on a change;
    // style and line widths are only stored.
    double GetGridSize() const override { return GridSize; }
    void SetGridSize(double Value);
    bool GetEnabled() const override { return Enabled; }
    void SetEnabled(bool Value);
    int GetMajorFrequency() const { return MajorFrequency; }
    void SetMajorFrequency(int Value);
    TColor GetMinorColor() const { return MinorColor; }
    void SetMinorColor(TColor Value);
    TColor GetMajorColor() const { return MajorColor; }
    void SetMajorColor(TColor Value);
    TViewGridStyle GridStyle = gsLines;
    int MajorLineSize = 2;
    int MinorLineSize = 1;

    // How many grid cells one drawn cell spans (at least 1 after each draw, 0 before the first).
    int GetPixelMultiplier() const { return PixelMultiplier; }
    // The visible range in the grid plane's two coordinates (XY: x, y; YZ: y, z; ZX: x, z).
    double MinU = 0;
    double MinV = 0;
    double MaxU = 0;
    double MaxV = 0;

    // Each coordinate to the nearest multiple of GridSize, exact halves towards zero. A grid size that
    // is not positive has no multiples to snap to and leaves the point as it is.
    TMVector SnapPoint(const TMVector& P) const override;
    // Only x for kinds epXY, epZX and epAlongX; y for epXY, epYZ and epAlongY; z for epYZ, epZX and
    // epAlongZ; other kinds leave the point unchanged.
    TMVector SnapPointConstrained(const TMVector& P, TEditPlaneKind Code) const override;

    // Drawn cells at least 24 pixels wide at the origin; in oblique views up to 20 times wider as the
    // view turns horizontal.
    void UpdatePixelMultiplier();
    // The range the window shows on the principal plane of an axis view; other views keep the last.
    void UpdateRange();
    // The grid for the current multiplier and range: in an axis-plane of a parallel axis view, else in
    // the XY plane around the model. Nothing for a step that is not positive, and no family of more
    // than MaxGridIndices lines (nor more than MaxGridDots dots), which only a view zoomed far into a
    // large model would ask for.
    TGridPicture Layout() const;
    // UpdatePixelMultiplier, UpdateRange and the picture in OpenGL; the line width is 1 and the
    // current colour the view's line colour afterwards.
    void Draw(TOpenGLView& View);

    static constexpr int MaxGridIndices = 2000;
    static constexpr int MaxGridDots = 250000;

private:
    double Snap(double C) const;
    void Changed();

    TCamera* Camera;
    int PixelMultiplier = 0;
    double GridSize = 2.0;
    int MajorFrequency = 10;
    bool Enabled = false;
    TColor MinorColor = clGray;
    TColor MajorColor = clGray;
};

}  // namespace sarnova
