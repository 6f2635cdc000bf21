// Box-shaped compartments for the arrangement tests: a hull with a tank inside and a sump inside the
// tank.
#pragma once
#include <memory>
#include <string>

#include "foundation/PolyList.h"
#include "foundation/Polyline.h"
#include "naval/GPList.h"

namespace sarnova {

// A closed box compartment: rectangular sections at X0, the middle and X1.
inline std::unique_ptr<TGeoPList> BoxList(const std::string& Name, double Perm, double X0, double X1, double Y0,
                                          double Y1, double Z0, double Z1) {
    auto L = std::make_unique<TGeoPList>();
    L->SetName(Name);
    for (double X : {X0, (X0 + X1) / 2, X1}) {
        auto P = std::make_unique<TPolyline>();
        for (TMVector V : {TMVector{X, Y0, Z0}, {X, Y1, Z0}, {X, Y1, Z1}, {X, Y0, Z1}, {X, Y0, Z0}}) P->AddVector(V);
        L->Polylines().Add(std::move(P));
    }
    L->SetPermeability(Perm);
    return L;
}

// HULL (1.0), TANK1 (-0.85) inside it and SUMP (-0.1) inside TANK1, added to Doc in that order.
template <class TDoc>
void AddTanks(TDoc& Doc, TGeoPList*& Hull, TGeoPList*& Tank, TGeoPList*& Sump) {
    Hull = static_cast<TGeoPList*>(Doc.Add(BoxList("HULL", 1.0, 0, 10, -2, 2, 0, 3)));
    Tank = static_cast<TGeoPList*>(Doc.Add(BoxList("TANK1", -0.85, 2, 6, -1, 1, 0, 1.5)));
    Sump = static_cast<TGeoPList*>(Doc.Add(BoxList("SUMP", -0.1, 3, 4, -0.5, 0.5, 0, 0.5)));
}

}  // namespace sarnova
