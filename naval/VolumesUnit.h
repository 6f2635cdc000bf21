// The rows of the volumes and extents reports: the volume, centre and net volume of every compartment
// and every group of a document, and the extents box of every entity.
#pragma once
#include <array>
#include <string>
#include <vector>

namespace sarnova {

class TGeometryList;
class TGeoGroup;
class TGeoPList;

// One row of the volumes report.
struct TVolumeInformation {
    std::string Name;
    bool IsGroup = false;
    double Volume = 0;
    // 0 for a group.
    double Permeability = 0;
    double Centre[3] = {0, 0, 0};
    // Shown as "VNet".
    double NetVolume = 0;
};

// The compartment's whole sections integrated: volume and centre, its permeability, and the volume
// times the permeability.
TVolumeInformation CompartmentInfo(TGeoPList& Compartment);
// The compartments among the group's members: their volumes added for a positive permeability and
// taken away for a negative one (a space minus what is walled off inside it), the centre of that
// signed volume, and the sum of their net volumes. Zeros when there is no such member or the signed
// volumes cancel.
TVolumeInformation GroupInfo(TGeoGroup& Group);
// What the report's status bar says about the signs of a group's volume.
inline const char* const GroupVolumeNote =
    "Group volume: members of positive permeability added, of negative permeability subtracted";
// A row for every compartment and every group, in document order.
std::vector<TVolumeInformation> CompartmentVolumes(TGeometryList& Document);

// One row of the extents report.
struct TExtentsRow {
    std::string Name;
    // The box extends along at least two axes; otherwise the row shows no values.
    bool HasArea = false;
    // In the order of the header that ByAxis chose.
    std::array<double, 6> Values{};
};

// "Minimum X", "Minimum Y", "Minimum Z", "Maximum X", "Maximum Y", "Maximum Z", or, ByAxis, the minimum
// and maximum of each axis in turn.
std::array<const char*, 6> ExtentsHeader(bool ByAxis);
// A row for every entity, in document order.
std::vector<TExtentsRow> EntityExtents(TGeometryList& Document, bool ByAxis);

}  // namespace sarnova
