#include "naval/VolumesUnit.h"

#include "document/GeometryList.h"
#include "foundation/GeomBox.h"
#include "naval/CalcSections.h"
#include "naval/GGroup.h"
#include "naval/GPList.h"
#include "naval/VkHydro.h"

namespace sarnova {

namespace {

std::string ShownName(const TGeometry& Entity) {
    const std::string Name = Entity.GetName();
    return Name.empty() ? "unnamed" : Name;
}

}  // namespace

TVolumeInformation CompartmentInfo(TGeoPList& Compartment) {
    TVolumeInformation Info;
    Info.Name = ShownName(Compartment);
    const std::unique_ptr<TCalculationSections> Sections =
        CreateCalculationSections(THullObject(static_cast<const TPolylineList*>(&Compartment.Polylines())));
    if (Sections) {
        const TVolumeAndCentre V = Sections->SectionsVolume();
        Info.Volume = V.Volume;
        Info.Centre[0] = V.X;
        Info.Centre[1] = V.Y;
        Info.Centre[2] = V.Z;
    }
    Info.Permeability = Compartment.GetPermeability();
    Info.NetVolume = Info.Volume * Info.Permeability;
    return Info;
}

TVolumeInformation GroupInfo(TGeoGroup& Group) {
    TVolumeInformation Info;
    Info.Name = ShownName(Group);
    Info.IsGroup = true;
    double Total = 0, Net = 0;
    double Moment[3] = {0, 0, 0};
    for (int I = 0; I < Group.GetMemberCount(); ++I) {
        auto* Member = dynamic_cast<TGeoPList*>(Group.GetMember(I));
        if (Member == nullptr) continue;
        const TVolumeInformation M = CompartmentInfo(*Member);
        // Walled-off spaces carry a negative permeability and take their volume out of the space
        // around them.
        const double W = M.Permeability > 0 ? 1.0 : M.Permeability < 0 ? -1.0 : 0.0;
        Total += W * M.Volume;
        for (int A = 0; A < 3; ++A) Moment[A] += W * M.Volume * M.Centre[A];
        Net += M.NetVolume;
    }
    if (Total != 0) {
        Info.Volume = Total;
        for (int A = 0; A < 3; ++A) Info.Centre[A] = Moment[A] / Total;
        Info.NetVolume = Net;
    }
    return Info;
}

std::vector<TVolumeInformation> CompartmentVolumes(TGeometryList& Document) {
    std::vector<TVolumeInformation> Rows;
    for (int I = 0; I < Document.Count(); ++I) {
        TGeometry& E = Document.Items(I);
        if (auto* Compartment = dynamic_cast<TGeoPList*>(&E))
            Rows.push_back(CompartmentInfo(*Compartment));
        else if (auto* Group = dynamic_cast<TGeoGroup*>(&E))
            Rows.push_back(GroupInfo(*Group));
    }
    return Rows;
}

std::array<const char*, 6> ExtentsHeader(bool ByAxis) {
    if (ByAxis) return {"Minimum X", "Maximum X", "Minimum Y", "Maximum Y", "Minimum Z", "Maximum Z"};
    return {"Minimum X", "Minimum Y", "Minimum Z", "Maximum X", "Maximum Y", "Maximum Z"};
}

std::vector<TExtentsRow> EntityExtents(TGeometryList& Document, bool ByAxis) {
    std::vector<TExtentsRow> Rows;
    Rows.reserve(static_cast<std::size_t>(Document.Count()));
    for (int I = 0; I < Document.Count(); ++I) {
        TGeometry& E = Document.Items(I);
        TExtentsRow Row;
        Row.Name = ShownName(E);
        const TMBox B = E.GetExtents();
        Row.HasArea = BoxHasArea(B);
        if (Row.HasArea) {
            if (ByAxis)
                Row.Values = {B.Min.X, B.Max.X, B.Min.Y, B.Max.Y, B.Min.Z, B.Max.Z};
            else
                Row.Values = {B.Min.X, B.Min.Y, B.Min.Z, B.Max.X, B.Max.Y, B.Max.Z};
        }
        Rows.push_back(Row);
    }
    return Rows;
}

}  // namespace sarnova
