// The box hull as the hydrostatic windows' tests use it: a polyline-list entity holding the box's
// sections.
#pragma once
#include <memory>

#include "naval/BoxSections.h"
#include "naval/GPList.h"

namespace sarnova::test {

inline std::unique_ptr<TGeoPList> BoxHull(const std::string& Name) {
    auto L = std::make_unique<TGeoPList>();
    L->SetName(Name);
    auto Sections = BoxSections();
    L->Polylines().AddCopies(*Sections);
    return L;
}

}  // namespace sarnova::test
