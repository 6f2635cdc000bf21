// Compartments made from macro blocks: the limits and boundary curves of a COMPARTMENT block built
// into a polyline-list entity of rectangular sections, or of a hull's transverse contours cut to the
// boundaries, and the mirrored copy of a CMIRROR block.
#pragma once
#include <memory>
#include <string>

#include "foundation/Polyline.h"

namespace sarnova {

class TGeometry;
class TGeometryList;
class TGeoPList;
class TMacroFile;
class TPolygonList;
class TPolylineList;

namespace compartment {

// The record of one COMPARTMENT block, alive while the block is read and built. Top and Bottom give
// z along x, Inside and Outside give y along x.
class TCompartment {
public:
    TCompartment();
    ~TCompartment();

    double Perm = 1.0;
    double Front = 0;
    double Back = 0;
    std::unique_ptr<TPolyline> Top, Bottom, Inside, Outside;
    std::string Name;
    // The entity to fit; "NONEFFFF" when none.
    std::string FitName = "NONEFFFF";
    // The mirrored twin to create; "NONAME" when none.
    std::string ReflectName = "NONAME";
    // The macro's line counter after the opening line was read.
    int LineNumber = 0;
    int Sections = 5;
    std::string FileName;
    // One half of a symmetric space: open sections, shown mirrored.
    bool Mirrored = false;

    // BuildFitted with a fit entity, else BuildBox; then BuildReflection when a twin is asked for.
    void Build(TGeometryList& List);
    // The boundary's y (z) at X: one point is a constant; outside the points the end segments are
    // extended; inside, the last segment that brackets X. Equal x where the value is taken raises
    // "Unable to interpolate <Boundary> polyline boundary".
    double InterpolateY(const TPolyline& Curve, const std::string& Boundary, double X) const;
    double InterpolateZ(const TPolyline& Curve, const std::string& Boundary, double X) const;
    // Station K of Sections, from Back to Front.
    double Station(int K) const;
    // Rectangles between the boundaries at every station, closed unless mirrored.
    TGeoPList* BuildBox(TGeometryList& List);
    // The fit entity's transverse sections at the stations.
    std::unique_ptr<TPolylineList> FitSections(TGeometry& Fit);
    // X contours of the facets at the stations, each running up from its lower-y end and carried to
    // the centre plane at both ends.
    std::unique_ptr<TPolylineList> ContourFacets(const TPolygonList* Facets);
    // The fit entity's sections cut to the boundaries.
    TGeoPList* BuildFitted(TGeometryList& List);
    // The mirror image in y = 0 of Source, named ReflectName.
    void BuildReflection(TGeometryList& List, TGeoPList& Source);
    // Throws EError "Error: <file>(<line>) Compartment <Name> - <Message>" at the opening line.
    [[noreturn]] void RaiseError(const std::string& Message) const;

private:
    double Interpolate(const TPolyline& Curve, const std::string& Boundary, double X, int Axis) const;
    // A new compartment entity of Sections (sorted by station when Sort), added to List.
    TGeoPList* AddEntity(TGeometryList& List, const TPolylineList& Sections, bool Sort);
};

}  // namespace compartment

}  // namespace sarnova
