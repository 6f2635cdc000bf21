// The sectional-area curve: for one draught, the immersed area of every calculation section (or a
// quantity made from it) against its station.
#pragma once
#include <cstdint>
#include <vector>

namespace sarnova {

class TPolylineList;

enum TSectionAreaFunction : std::uint8_t {
    safHalfArea,          // "Half Area": the sections are whole sections
    safFullArea,          // "Full Area"
    safAreaRatio,         // "Local Area / Max Area"
    safLocalCoefficient,  // "Local Area / (Local Beam * Local Draught)"
};

struct TSectionAreaPoint {
    double Station = 0;
    double Value = 0;
};

struct TSectionAreaCurve {
    // The points of the curve sorted by station: one per section of the summary (where the body
    // leaves the water too) and 0 at each section the water does not reach.
    std::vector<TSectionAreaPoint> Points;
    // The value at each section of the list, in list order; 0 where the section is dry.
    std::vector<double> SectionValues;
};

// The curve of Sections below the level waterplane at Draught. The ratio is 0 without area, the
// coefficient 0 for a section without breadth or height.
TSectionAreaCurve SectionAreaCurve(TPolylineList& Sections, double Draught, TSectionAreaFunction Function);

}  // namespace sarnova
