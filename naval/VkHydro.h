// Section hydrostatics: transverse sections clipped below a waterplane, their area, waterline, girth
// and depth, and the summary that integrates them along the length into volumes and the hydrostatic
// result record.
#pragma once
#include <memory>
#include <vector>

#include "foundation/Geom.h"
#include "foundation/GeomBox.h"
#include "foundation/VkMaths.h"
#include "foundation/VkMathsSolvers.h"

namespace sarnova {

class TPolygonList;

// ---- The hydrostatic result record ----

// The answer of every hydrostatic calculation. Lengths in model units; the centres are absolute
// coordinates, the two percentages measured from the aft end of the immersed body.
struct THydrostaticsData {
    TMPlane WaterPlane = XYPlane;
    TMVector MinCorner;
    TMVector MaxCorner;
    double LOA = 0;
    double BMAX = 0;
    double LWL = 0;
    double BWL = 0;
    double Draught = 0;
    double Depth = 0;
    double Displacement = 0;
    double Volume = 0;
    double LCB = 0;
    double TCB = 0;
    double VCB = 0;
    double LCBPercent = 0;
    double CB = 0;
    double CM = 0;
    double CP = 0;
    double CWP = 0;
    double IL = 0;
    double IT = 0;
    double SurfaceArea = 0;
    double WettedArea = 0;
    double MaxSectionArea = 0;
    double WaterPlanArea = 0;
    double TPC = 0;
    double MCT = 0;
    double BMT = 0;
    double BML = 0;
    double KMT = 0;
    double KML = 0;
    double GMT = 0;
    double GML = 0;
    double LCF = 0;
    double TCF = 0;
    double LCFPercent = 0;
    // Input: height of the centre of gravity.
    double KG = 0;
};

// The waterplane z = 0 and every other field 0.
void ResetHydrostatics(THydrostaticsData& R);
// Density (kg/m3) times the volume converted to cubic metres by the design length unit, expressed
// in the design mass unit.
double MassOfVolume(double Density, double Volume);
// MassOfVolume with the water density setting.
double DisplacementOfVolume(double Volume);
// The level waterplane z = Draught.
TMPlane WaterplaneAtDraught(double Draught);
// The mass of water, in the design mass unit, that one centimetre of immersion adds to a waterplane
// of this area in design length units squared (tonnes per centimetre for metres and tonnes).
double TonnesPerCentimetre(double WaterPlanArea);

// The density (kg/m3) of the mesh calculation, whatever the settings: a fitted hull's displacement
// does not move with them.
inline constexpr double SeaWaterDensity = 1025;

// The hydrostatics of a facet mesh that is the immersed body itself: its highest point lies in the
// waterplane, and its facet normals point out of the body (a mesh without a lid is fine). A mesh
// whose least y lies within 1e-4 of 0 is the half body on the positive side, one whose greatest y
// does the half body on the negative side, and the record describes both sides, its metacentric
// radii included. The displacement is in tonnes for a mesh in metres (density 1025, whatever the
// unit settings). LCB, LCF and VCB are model coordinates, as the section calculation gives them; the
// percentages are measured from the aft end. A mesh whose normals point into the body is computed as
// if they were flipped, and the console says so.
// WaterPlane, LOA, BMAX, Depth, SurfaceArea, IL, IT, TCF and KG keep their values; a mesh without
// facets leaves R alone.
void MeshHydrostatics(const TPolygonList& Mesh, THydrostaticsData& R);

// ---- Plane tests ----

// 1 above the plane (on the side its normal points to), -1 below, 0 within 1e-10 of it; the signed
// distance is taken in single precision.
int WaterplaneSide(const TMPlane& Plane, const TMVector& P);
bool IsOnWaterplane(const TMPlane& Plane, const TMVector& P);

// ---- One section ----

// The integrals of one section below a waterplane.
struct TSectionProperties {
    double Area = 0;
    double Station = 0;
    double CentroidY = 0;
    double CentroidZ = 0;
    // Integration weight along x; set by the summary.
    double LengthWeight = 0;
    // What the section adds to the first moment along x beyond LengthWeight times its station: next
    // to a waterline end the piece it stands for lies off its station.
    double LengthShift = 0;
    // Integration weight along x of the wetted girth, which falls differently towards a waterline end.
    double GirthWeight = 0;
    TMBox Extents = EmptyBox;
    // Length of the section's cut with the waterplane, with its centre, first and second moment
    // about the centre plane.
    double WaterlineBreadth = 0;
    // x of the first point of the underwater outline.
    double FirstX = 0;
    double WaterlineCentre = 0;
    double WaterlineMoment = 0;
    double WaterlineInertia = 0;
    // Integration weight along the waterplane, with what the section adds to the first and second
    // moments along x beyond it times the station and its square, and the weight of the waterline's
    // inertia; set by the summary.
    double WaterplaneWeight = 0;
    double WaterplaneShift = 0;
    double WaterplaneSpread = 0;
    double InertiaWeight = 0;
    // Where the section's plane, the waterplane and the centre plane meet.
    TMVector WaterlineRef;
    // Greatest depth below the waterplane; negative for a dry section.
    double Depth = 0;
    // Length of the underwater outline that does not lie in the waterplane.
    double Girth = 0;
    double Breadth = 0;
    double Height = 0;
    // The wetted outline of each part of the section, resampled at equal steps of its length (see
    // SectionWettedOutline), ordered across the ship: what the wetted area takes the hull's slope
    // along its length from.
    std::vector<std::vector<TMVector>> WettedOutlines;
    // Set on a section the summary inserted where the body leaves the water between two stations.
    bool WaterlineEnd = false;
};

// Walks a section outline and yields only its part on or below the waterplane: each run of points
// above the plane is replaced by the two points where the outline crosses the plane, and the yielded
// outline ends on its first point. A section wholly above the plane yields one point, the foot on the
// plane of (x, 0, 0). Every call either moves the source on or closes the outline, so a walk from
// First until IsLast always ends.
class TUnderwaterSectionIterator : public IMVectorIterator {
public:
    // Takes an iterator over the section's points from Source, which must outlive this object and not
    // change meanwhile. A source without points throws its "no points" error.
    TUnderwaterSectionIterator(const TMPlane& Plane, IMVectorSource& Source);

    TMVector First() override;
    TMVector Next() override;
    TMVector Current() const override { return FCurrent; }
    // Back on the first yielded point with the source used up.
    bool IsLast() const override { return Finished(); }
    bool Finished() const;
    const TMPlane& Plane() const { return FPlane; }

private:
    // The next source point that matters: runs of points above the plane are skipped.
    TMVector Advance();
    // Where the segment from A to B (on opposite sides) crosses the plane.
    TMVector Crossing(const TMVector& A, const TMVector& B) const;
    int Side(const TMVector& P) const { return WaterplaneSide(FPlane, P); }

    std::unique_ptr<IMVectorIterator> FSource;
    TMVector FCurrent;
    TMVector FLastSource;
    TMVector FPrevious;
    TMVector FStart;
    TMPlane FPlane;
};

// Each integral restarts It with First and reads it until IsLast. The outline is taken as closed:
// its yielded points end on the first one. The waterline integrals use the iterator's waterplane.

// Area (half the absolute shoelace sum in the y-z plane), its centroid (0 when the area is 0), the
// extents, breadth and height. Station is left alone.
void SectionAreaProperties(IMVectorIterator& It, TSectionProperties& R);
// The parts of the outline lying in the waterplane: their length, first and second moment about the
// centre plane, the centre of the cut, FirstX and WaterlineRef. Throws the three-plane routine's error
// for a waterplane parallel to the x axis.
void SectionWaterlineProperties(TUnderwaterSectionIterator& It, TSectionProperties& R);
// Length of the outline's segments, leaving out those lying in the waterplane.
double SectionWettedGirth(TUnderwaterSectionIterator& It);
// The greatest depth below the waterplane that the outline reaches.
double UnderwaterSectionDraught(TUnderwaterSectionIterator& It);
// The depth of a section that lies wholly above the waterplane, from its own points: minus its
// clearance, so that the summary sees where the body leaves the water between two stations.
double DrySectionDepth(const TMPlane& Plane, IMVectorSource& Section);
// The wetted part of the clipped outline (its segments in the waterplane left out) as one chain from
// the starboard waterline round to the port one (a submerged section as a loop from its top),
// resampled at WettedOutlinePoints equal steps of its length; nothing for a dry section.
inline constexpr int WettedOutlinePoints = 48;
void SectionWettedOutline(TUnderwaterSectionIterator& It, TSectionProperties& R);

// ---- Integration along the length ----

struct TVolumeAndCentre {
    double Volume = 0;
    double X = 0;
    double Y = 0;
    double Z = 0;
};

// The sections of one hull for one waterplane, integrated along x. The sections are taken in order of
// station whatever order they were added in; sections at the very same station whose outlines do not
// overlap are parts of one section (the hulls of a catamaran) and add up. The rule is exact for
// polynomials through groups of three or four unequally spaced sections, and sections that coincide
// within 1e-4 split the integration. The immersed body ends where the depth of the sections goes
// through 0 between two stations, so its length is that of the immersed hull, not of the list.
class TSectionsSummary {
public:
    TMPlane WaterPlane;

    // Without a waterplane: whole, unclipped sections.
    TSectionsSummary() = default;
    explicit TSectionsSummary(const TMPlane& Plane) : WaterPlane(Plane) {}

    static std::unique_ptr<TSectionsSummary> CreateForPlane(const TMPlane& Plane) {
        return std::make_unique<TSectionsSummary>(Plane);
    }

    int Count() const { return static_cast<int>(FItems.size()); }
    // Throws the list's index error outside 0 .. Count - 1.
    const TSectionProperties& Items(int Index) const;
    // Appends a copy; returns its index.
    int Add(const TSectionProperties& R);
    // A copy before position Index (0 .. Count); the list's index error elsewhere.
    void Insert(int Index, const TSectionProperties& R);
    // Throws the list's index error outside 0 .. Count - 1.
    void Delete(int Index);
    void Clear() { FItems.clear(); }

    // The preparation steps, in the order VolumeAndCentroid and Hydrostatics run them.
    // Sorts by station and joins the parts of one section.
    void JoinSectionParts();
    // Between neighbours whose depths have strictly opposite signs, a section of depth 0 where the
    // body leaves the water, on the parabola through the depths of the two and the wet side's next.
    void InsertWaterlineCrossings();
    // Drops every section with a negative depth.
    void RemoveDrySections();
    void ComputeLengthWeights();
    // The same rule, with the spacing measured between the sections' waterline points, and ends
    // where the waterline stops above a body that goes on under the water.
    void ComputeWaterplaneWeights();

    // Prepares the sections and fills the volume and its centre; R is left alone below two sections.
    void VolumeAndCentroid(TVolumeAndCentre& R);
    // Prepares the sections and fills the hydrostatic particulars; fields it does not compute keep
    // their values, and R is left alone below two sections. The wetted area is the girths integrated
    // along x, corrected for the hull's slope along its length by ruled strips between neighbouring
    // outlines, plus the immersed areas of the two end sections (a transom, a flat end).
    void Hydrostatics(THydrostaticsData& R);

private:
    void Prepare();
    // The weighted sum of the areas (signed) and its centre; the centre is 0 without volume.
    TVolumeAndCentre Integrate() const;
    double WettedArea() const;

    std::vector<TSectionProperties> FItems;
};

}  // namespace sarnova
