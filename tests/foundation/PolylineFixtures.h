// Small builders shared by the polyline and section tests.
#pragma once
#include <initializer_list>
#include <memory>
#include <vector>

#include "foundation/PolyList.h"
#include "foundation/Polyline.h"

inline std::unique_ptr<sarnova::TPolyline> MakePolyline(std::initializer_list<sarnova::TMVector> Points) {
    auto P = std::make_unique<sarnova::TPolyline>();
    for (const sarnova::TMVector& V : Points) P->AddVector(V);
    return P;
}

inline std::vector<sarnova::TMVector> Positions(const sarnova::TRPoints& P) {
    std::vector<sarnova::TMVector> Result;
    for (int I = 0; I < P.Count(); ++I) Result.push_back(P.Point(I)->Vector());
    return Result;
}

// The station of every polyline of the list, in order.
inline std::vector<double> Stations(const sarnova::TPolylineList& L) {
    std::vector<double> Result;
    for (int I = 0; I < L.Count(); ++I) Result.push_back(L.Items(I)->GetStation());
    return Result;
}
