// The box hull the hydrostatic windows are checked on: closed rectangular sections every metre from
// x = 0 to 10, y from -1 to 1 and z from 0 to 2. At draught 1 it displaces 20 m3.
#pragma once
#include <memory>

#include "foundation/PolyList.h"
#include "foundation/Polyline.h"

namespace sarnova {

inline std::unique_ptr<TPolylineList> BoxSections() {
    auto List = std::make_unique<TPolylineList>();
    for (int X = 0; X <= 10; ++X) {
        auto P = std::make_unique<TPolyline>();
        for (TMVector V : {TMVector{0, -1, 0}, {0, 1, 0}, {0, 1, 2}, {0, -1, 2}, {0, -1, 0}})
            P->AddVector({double(X), V.Y, V.Z});
        P->SetStation(X);
        List->Add(std::move(P));
    }
    return List;
}

}  // namespace sarnova
