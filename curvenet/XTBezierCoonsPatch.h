// Patches of one tensor-product B-spline surface over the four sides of a face: the Boolean sum of a
// loft between sides 0 and 2, a loft between sides 1 and 3 and the surface of the corner data. The
// linear kind blends the sides alone; the cubic kind also takes each side's cross derivative, so that
// neighbouring patches share their tangent plane along the side.
#pragma once
#include <memory>

#include "surfaces/BSurface.h"

namespace sarnova {

class TXTPatchEdges;

class TXTBezierCoonsPatch {
public:
    // The edges are not owned; building refines their curves in place.
    TXTBezierCoonsPatch(TXTPatchEdges& AEdges, bool ACubic) : FEdges(AEdges), FCubic(ACubic) {}

    // The three intermediate surfaces and their sum, made anew at each call.
    void Build();
    // nullptr before Build.
    TBSplineSurface* Surface() const { return FSurface.get(); }
    TBSplineSurface* SurfaceU() const { return FSurfaceU.get(); }
    TBSplineSurface* SurfaceV() const { return FSurfaceV.get(); }
    TBSplineSurface* SurfaceCorner() const { return FSurfaceCorner.get(); }

    // The loft across v between sides 0 and 2, and across u between sides 1 and 3.
    std::unique_ptr<TBSplineSurface> LoftU();
    std::unique_ptr<TBSplineSurface> LoftV();
    // Cubic: the bicubic Bezier patch of the corners' positions, cross-derivative end vectors and
    // twists (the means of the two sides' twist estimates). Linear: the bilinear patch of the corners.
    std::unique_ptr<TBSplineSurface> CornerSurface();

private:
    TXTPatchEdges& FEdges;
    bool FCubic;
    std::unique_ptr<TBSplineSurface> FSurface;
    std::unique_ptr<TBSplineSurface> FSurfaceU;
    std::unique_ptr<TBSplineSurface> FSurfaceV;
    std::unique_ptr<TBSplineSurface> FSurfaceCorner;
};

// The bicubic Bezier patch of the corner data of the four sides: at each corner its point, a third
// of the two cross-derivative end vectors and a ninth of the mean twist estimate.
std::unique_ptr<TBSplineSurface> CubicCornerSurface(TXTPatchEdges& Edges);

// A new surface of the patch built on Edges; nullptr when it made none.
std::unique_ptr<TBSplineSurface> BuildBezierCoonsPatch(TXTPatchEdges& Edges, bool Cubic);

}  // namespace sarnova
