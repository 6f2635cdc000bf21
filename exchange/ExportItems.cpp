#include "exchange/ExportItems.h"

#include <cmath>

#include "document/GeometryList.h"
#include "foundation/Console.h"
#include "naval/GGroup.h"
#include "naval/GPList.h"
#include "surfaces/BSurface.h"

namespace sarnova {

std::unique_ptr<TBSplineSurface> WritableEquivalent(const TBSplineSurface& S) {
    if (S.KnotType != ktPeriodic) return nullptr;
    auto R = std::make_unique<TBSplineSurface>(S.NumU(), S.NumV());
    R->TMesh::Assign(S);
    R->SetOrderU(S.OrderU());
    R->SetOrderV(S.OrderV());
    R->KnotType = ktCustom;
    R->SetKnotsU(S.KnotsU());
    R->SetKnotsV(S.KnotsV());
    R->MinUParameter = S.KnotU(S.OrderU());
    R->MaxUParameter = S.KnotU(S.NumU() + 1);
    R->MinVParameter = S.KnotV(S.OrderV());
    R->MaxVParameter = S.KnotV(S.NumV() + 1);
    R->SetNumULine(S.NumULine());
    R->SetNumVLine(S.NumVLine());
    R->UpdateKnots();
    return R;
}

namespace {

void CollectPolylineLists(TGeometryList& List, std::vector<TGeoPList*>& Found) {
    for (int I = 0; I < List.Count(); ++I) {
        TGeometry& E = List.Items(I);
        if (auto* L = dynamic_cast<TGeoPList*>(&E)) Found.push_back(L);
        else if (auto* G = dynamic_cast<TGeoClosedGroup*>(&E)) CollectPolylineLists(G->Members(), Found);
    }
}

}  // namespace

std::vector<TGeoPList*> PolylineListsOf(TGeometryList& Document) {
    std::vector<TGeoPList*> Found;
    CollectPolylineLists(Document, Found);
    return Found;
}

double WithoutNoise(double Value, double Size) { return std::fabs(Value) <= 1e-12 * Size ? 0.0 : Value; }

TMVector WithoutNoise(const TMVector& V, double Size) {
    return {WithoutNoise(V.X, Size), WithoutNoise(V.Y, Size), WithoutNoise(V.Z, Size)};
}

void TLeftOut::Add(const std::string& Name, const std::string& Reason) { FItems.emplace_back(Name, Reason); }

void TLeftOut::Report(const char* Format, const std::string& FileName) const {
    if (!GConsole) return;
    for (const auto& [Name, Reason] : FItems)
        GConsole->WriteLine(std::string(Format) + " export to " + FileName + ": " + (Name.empty() ? "an item" : Name) +
                            " left out: " + Reason);
}

}  // namespace sarnova
