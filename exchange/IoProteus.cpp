#include "exchange/IoProteus.h"

#include <filesystem>

#include "document/GeometryList.h"
#include "exchange/IoImport.h"
#include "exchange/IoSus.h"
#include "exchange/ProteusFile.h"
#include "exchange/SusFile.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/Errors.h"
#include "naval/GGroup.h"
#include "naval/GOpening.h"
#include "naval/GPList.h"

namespace sarnova {

namespace {

std::filesystem::path WithExtension(const std::string& FileName, const char* Extension) {
    return std::filesystem::path(FileName).replace_extension(Extension);
}

}  // namespace

void ExportProteusDam(const std::string& FileName, TGeometryList& Document) {
    TSusFile Sus;
    AddSusRecords(Document, Sus, false);
    Sus.Flags |= susShipInfo | susTimeSimulation | susDamCompanion;
    if (!Sus.EditProperties()) return;

    TProteusGFile Dam;
    Dam.Title = Sus.Title;
    for (int I = 0; I < Document.Count(); ++I) {
        // Open and closed groups alike: both gather compartments into one space.
        auto* Group = dynamic_cast<TGeoGroup*>(&Document.Items(I));
        if (!Group) continue;
        TProteusGroup G;
        G.Name = Group->GetName();
        const std::string Water = Group->ParameterValue("InitialWater");
        G.InitialWater = Water.empty() ? 0.0 : ParseFloat(Water);
        G.FirstDam = static_cast<int>(Dam.Dams.size()) + 1;
        G.LastDam = static_cast<int>(Dam.Dams.size());
        for (int M = 0; M < Group->GetMemberCount(); ++M) {
            auto* List = dynamic_cast<TGeoPList*>(Group->GetMember(M));
            if (!List) continue;
            auto Record = std::make_unique<TProteusDam>();
            Record->AddCopies(List->Polylines());
            Record->Name = List->GetName();
            Record->Mirrored = List->Mirrored();
            Record->DamValue = -List->GetPermeability();
            Dam.Dams.push_back(std::move(Record));
            ++G.LastDam;
        }
        Dam.Groups.push_back(G);
    }
    for (int I = 0; I < Document.Count(); ++I) {
        auto* Opening = dynamic_cast<TGeoOpening*>(&Document.Items(I));
        if (!Opening) continue;
        auto Record = std::make_unique<TProteusDam>();
        Record->AddCopies(Opening->Sections());
        Record->Name = Opening->GetName();
        Record->IsOpening = true;
        Dam.Dams.push_back(std::move(Record));
        TProteusOpening O;
        O.Dam = static_cast<int>(Dam.Dams.size());
        const TReferenceConnection& C = Opening->Connection();
        O.Direction = C.Direction;
        O.GroupA = Dam.GroupNumber(C.GetEndA());
        O.GroupB = Dam.GroupNumber(C.GetEndB());
        O.CollapseHead = C.HeadOfWater;
        O.OpeningTime = C.OpeningTime;
        Dam.Openings.push_back(O);
    }
    Sus.SaveToFile(WithExtension(FileName, ".sus"));
    Dam.SaveToFile(WithExtension(FileName, ".dam"));
}

void ImportProteusDam(const std::string& FileName, TGeometryList& Document) {
    TImportedEntities None;
    BeginImport(Document);
    try {
        TSusFile Sus;
        const auto SusName = WithExtension(FileName, ".sus");
        const bool HaveSus = std::filesystem::exists(SusName);
        if (HaveSus) {
            GConsole->WriteLine("SUS File Found (" + SusName.string() + "), Loading Hull...");
            Sus.LoadFromFile(SusName);
        } else {
            GConsole->WriteLine("No Corresponding SUS File Found...");
        }
        TProteusGFile Dam;
        Dam.LoadFromFile(FileName);

        for (const TProteusGroup& G : Dam.Groups)
            for (int K = 0; K < G.DamCount(); ++K) {
                const TProteusDam& D = *Dam.Dams[static_cast<std::size_t>(G.FirstDam - 1 + K)];
                if (D.IsOpening) throw EError("Unable to Resolve link between Group and Compartment (" + D.Name + ")");
            }
        if (Dam.Dams.empty() && Dam.Groups.empty() && !(HaveSus && Sus.Hull())) ThrowNothingImported(FileName);
        // Everything is read and checked: from here on entities only go in.
        if (HaveSus && Sus.Hull()) {
            auto Hull = std::make_unique<TGeoPList>();
            Hull->Polylines().AddCopies(Sus.Hull()->Sections);
            Hull->SetName("Hull");
            Hull->SetMirrored(true);
            Hull->SetPermeability(1.0);
            Document.Add(std::move(Hull));
        }
        GConsole->WriteLine(" Importing Compartments to Sarnova...");
        std::vector<TGeometry*> Added(Dam.Dams.size(), nullptr);
        for (std::size_t I = 0; I < Dam.Dams.size(); ++I) {
            const TProteusDam& D = *Dam.Dams[I];
            if (D.IsOpening) continue;
            auto List = std::make_unique<TGeoPList>();
            List->Polylines().AddCopies(D);
            List->SetMirrored(D.Mirrored);
            List->SetPermeability(-D.DamValue);
            List->SetName(D.Name);
            Added[I] = Document.Add(std::move(List));
        }
        GConsole->WriteLine(" Importing Groups to Sarnova...");
        // The groups as added: the document may rename them when it holds a name already, and the
        // openings must link to these, never to an older group of the same name.
        std::vector<TGeometry*> Groups;
        for (const TProteusGroup& G : Dam.Groups) {
            auto Group = std::make_unique<TGeoOpenGroup>();
            // The document renames it on Add when it holds the name already.
            Group->SetName(G.Name);
            Group->Parameters.push_back(FormatWithPoint("InitialWater=%0.1f", {G.InitialWater}));
            Group->SetOwnerList(&Document);
            // Members are linked once the group is in the document, which records changes only of
            // entities it holds.
            auto* New = static_cast<TGeoOpenGroup*>(Document.Add(std::move(Group)));
            for (int K = 0; K < G.DamCount(); ++K) New->AddMember(Added[static_cast<std::size_t>(G.FirstDam - 1 + K)]);
            Groups.push_back(New);
        }
        const auto EndName = [&](int Number) {
            return Number >= 1 && Number <= static_cast<int>(Groups.size())
                       ? Groups[static_cast<std::size_t>(Number - 1)]->GetName()
                       : Dam.GroupName(Number);
        };
        GConsole->WriteLine(" Importing Openings to Sarnova...");
        for (const TProteusOpening& O : Dam.Openings) {
            const TProteusDam& D = *Dam.Dams[static_cast<std::size_t>(O.Dam - 1)];
            auto Opening = std::make_unique<TGeoOpening>();
            Opening->SetName(D.Name);
            Opening->Sections().AddCopies(D);
            Opening->SetOwnerList(&Document);
            // Linked once it is in the document, as the groups' members are.
            auto* New = static_cast<TGeoOpening*>(Document.Add(std::move(Opening)));
            TReferenceConnection& C = New->Connection();
            C.Direction = static_cast<std::uint8_t>(O.Direction);
            C.SetEndA(EndName(O.GroupA));
            C.SetEndB(EndName(O.GroupB));
            C.OpeningTime = O.OpeningTime;
            C.HeadOfWater = O.CollapseHead;
        }
    } catch (const std::exception& E) {
        ReportImportFailure("Proteus DAM", FileName, E);
        EndImport(Document, nullptr);
        RethrowPrintable(E);
    }
    EndImport(Document, &None);
}

}  // namespace sarnova
