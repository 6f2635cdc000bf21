// The section-hydrostatics queries of a polyline list (declared with the list in foundation/PolyList.h):
// each polyline is a closed transverse section, and the records, iterators and summaries that measure
// it are the naval calculations', so the queries are worked out here beside them.
#include <memory>

#include "foundation/PolyList.h"
#include "foundation/Polyline.h"
#include "naval/VkHydro.h"

namespace sarnova {

TVolumeAndCentre TPolylineList::UnderwaterVolume(const TMPlane& Plane) {
    TSectionsSummary Summary(Plane);
    for (const auto& P : FItems) {
        TUnderwaterSectionIterator It(Plane, *P);
        TSectionProperties Section;
        SectionAreaProperties(It, Section);
        Section.Depth = UnderwaterSectionDraught(It);
        if (Section.Area == 0 && Section.Depth <= 0) Section.Depth = DrySectionDepth(Plane, *P);
        Section.Station = P->GetStation();
        Summary.Add(Section);
    }
    TVolumeAndCentre R;
    Summary.VolumeAndCentroid(R);
    return R;
}

std::unique_ptr<TSectionsSummary> TPolylineList::SectionsSummary(const TMPlane& Plane) {
    auto Summary = TSectionsSummary::CreateForPlane(Plane);
    for (const auto& P : FItems) {
        TUnderwaterSectionIterator It(Plane, *P);
        TSectionProperties Section;
        SectionAreaProperties(It, Section);
        Section.Station = P->GetStation();
        Section.Girth = SectionWettedGirth(It);
        Section.Depth = UnderwaterSectionDraught(It);
        if (Section.Area == 0 && Section.Depth <= 0) Section.Depth = DrySectionDepth(Plane, *P);
        SectionWaterlineProperties(It, Section);
        SectionWettedOutline(It, Section);
        Summary->Add(std::move(Section));
    }
    // The pass prepares the records; its figures are not wanted here.
    THydrostaticsData Scratch;
    Summary->Hydrostatics(Scratch);
    return Summary;
}

void TPolylineList::HydrostaticSummary(const TMPlane& Plane, THydrostaticsData& R) {
    SectionsSummary(Plane)->Hydrostatics(R);
}

TVolumeAndCentre TPolylineList::SectionsVolume() {
    TSectionsSummary Summary;
    for (const auto& P : FItems) {
        const auto It = P->Iterator();
        TSectionProperties Section;
        SectionAreaProperties(*It, Section);
        Section.Station = P->GetStation();
        Section.Depth = 1.0;
        Summary.Add(Section);
    }
    TVolumeAndCentre R;
    Summary.VolumeAndCentroid(R);
    return R;
}

}  // namespace sarnova
