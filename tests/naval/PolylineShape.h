// The points of a polyline list as plain vectors, for comparing geometry in tests.
#pragma once
#include <vector>

#include "foundation/PolyList.h"

namespace sarnova {

inline std::vector<std::vector<TMVector>> Shape(const TPolylineList& L) {
    std::vector<std::vector<TMVector>> R;
    for (int I = 0; I < L.Count(); ++I) {
        R.emplace_back();
        for (int K = 0; K < L.Items(I)->Count(); ++K) {
            const TRPoint* P = L.Items(I)->Point(K);
            R.back().push_back({P->X, P->Y, P->Z});
        }
    }
    return R;
}

}  // namespace sarnova
