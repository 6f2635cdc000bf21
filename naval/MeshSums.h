// The sums that the hydrostatics of a facet mesh are made of, shared by the one-off calculation of
// an immersed mesh and the table of a hull at many draughts.
#pragma once
#include <functional>
#include <vector>

#include "foundation/GeomBox.h"
#include "foundation/VkMathsIntersect.h"

namespace sarnova {

class TPolylineList;
class TFacetRef;
struct THydrostaticsData;

// The sums over the facets. With n the inward unit normal and A the facet's area, A n is the facet's
// projected area on the three coordinate planes.
struct TMeshSums {
    double SA = 0;                                    // wetted area
    double Aw = 0, Mx = 0, My = 0, Ixx = 0, Iyy = 0;  // waterplane: area, first moments, second moments
    double AxFore = 0, AxAft = 0;                     // transverse projection of the facets facing aft and fore
    double V = 0, Vx = 0, Vy = 0, Vz = 0;             // prisms: volume, moments, and depth moment below the top

    void Negate();
};

// Adds facets up. Every facet bounds a vertical prism up to the top of all the facets added, which is
// only known at the end: the heights are taken from the reference level Z0 until then, so that sums
// of different facets (with the same Z0) can be added together too.
class TMeshSummer {
public:
    explicit TMeshSummer(double AZ0 = 0) : Z0(AZ0) {}
    void Add(const TFacetRef& F);
    // A triangle given by its corners.
    void Add(const TMVector& P0, const TMVector& P1, const TMVector& P2) { AddCorners(P0, P1, P2, nullptr); }
    void Add(const TMeshSummer& Other);
    // The box of the corners added.
    const TMBox& GetBox() const { return Box; }
    // The sums with the prisms reaching up to the top of the box.
    TMeshSums Sums() const;

private:
    // A triangle, or a quadrilateral when P3 is given.
    void AddCorners(const TMVector& P0, const TMVector& P1, const TMVector& P2, const TMVector* P3);

    double Z0;
    TMBox Box = EmptyBox;
    TMeshSums S;
    // Sums over Az h, Az h^2, Az x h and Az y h with h = cz - Z0.
    double S1 = 0, S2 = 0, Sx1 = 0, Sy1 = 0;
};

// The record of an immersed body from its sums, its box and the area of its largest section (0 or
// less when there is none, for the transverse projection to stand in). Sums of normals that point
// into the body are flipped, and the console says so.
void HydrostaticsFromSums(TMeshSums S, const TMBox& Box, double LargestCut, THydrostaticsData& R);

// The area of a section of an immersed body from its cut: the pieces welded within Tolerance, each
// adding the area it encloses with the waterplane and the centre plane.
double SectionAreaOfCut(const TPolylineList& Cut, double Tolerance);

// An upper bound of the area SectionAreaOfCut gives for the cut that these segments (a plane
// x = const cutting triangles) chain into, welded within WeldTolerance; cheap beside the cut itself.
double SectionAreaBound(const std::vector<TMSegment>& Segments, double WeldTolerance);

// How many stations LargestSectionArea measures before it narrows the search down.
inline constexpr int LargestSectionStations = 49;

// The largest of AreaAt between X0 and X1: the best of 49 stations, each shifted forward by more
// than the cut's tolerance so that none runs along a seam, then a golden-section search between
// that station's neighbours. BoundAt, when given, is an upper bound of AreaAt at each station: the
// stations whose bound is below a station's area are then not measured, with the same result.
double LargestSectionArea(const std::function<double(double)>& AreaAt, double X0, double X1, double CutTolerance,
                          const std::function<double(double)>& BoundAt = nullptr);

}  // namespace sarnova
