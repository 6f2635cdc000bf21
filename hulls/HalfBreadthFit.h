// Fitting a half hull's net to an outline given as half-breadths over the centre plane: used to
// make a grafted bulb carry the volume of the hull and bulb together.
#pragma once
#include <cstddef>
#include <vector>

#include "foundation/GeomFacet.h"

namespace sarnova {

class TBSplineSurface;

// The greatest |y| of some surfaces over a regular x-z grid (the half-breadths of their union
// seen from the side). A cell no facet covers holds no breadth.
class THalfBreadthRaster {
public:
    // Cells of Step, or coarser where a grid that fine would hold more than four million.
    THalfBreadthRaster(double X0, double X1, double Z0, double Z1, double Step);
    // The surface faceted at Density facets per control span.
    void Add(TBSplineSurface& Surface, int Density);
    // The half-breadth at (X, Z), bilinear between the cells (an uncovered cell counts 0);
    // negative outside the grid.
    double At(double X, double Z) const;

private:
    void AddTriangle(const TMVector& A, const TMVector& B, const TMVector& C);
    double FX0, FZ0, FStep;
    int FNX, FNZ;
    std::vector<double> FY;  // -1 where no facet covers the cell
    double& Cell(int I, int K) { return FY[static_cast<std::size_t>(I) * FNZ + K]; }
    double Cell(int I, int K) const { return FY[static_cast<std::size_t>(I) * FNZ + K]; }
};

// Knots inserted across u so that every span from the net's start to the last row that reaches
// x >= XFrom below z = ZTo is split into Parts equal spans; the surface keeps its shape. A net
// that would need more than half the knots a direction may hold is left as it is.
void RefineRowsForward(TBSplineSurface& S, double XFrom, double ZTo, int Parts);

// Moves the half-breadths (y) of the net's control points off the centre plane, by a least-squares
// fit over Passes passes, so that the surface's half-breadth matches Outline wherever the surface
// lies over the outline's grid. Points on the centre plane stay there and none crosses it, so the
// hull stays closed; x and z of the net do not change.
void FitHalfBreadths(TBSplineSurface& S, const THalfBreadthRaster& Outline, int Passes);

}  // namespace sarnova
