// The hull of the hydrostatic windows: an entity that answers the hull query (B-spline surfaces,
// surface lists, facet lists and polyline lists) with exactly one object, and the calculation
// sections of such an entity or of a document's single selected entity.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <typeinfo>

#include "document/GeometryQuery.h"
#include "naval/CalcSections.h"
#include "naval/HullHydrostatics.h"

namespace sarnova {

class TGeometry;
class TGeometryList;

// Kind bits 8, 10, 12 and 13.
inline constexpr std::uint32_t HullQueryKinds = 0x3500;

// A new collecting query of the hull kinds.
std::unique_ptr<TGeometryQuery> HullQuery();
// The entity alone, counted, answers exactly once.
bool IsHullObject(TGeometry& Entity);
// A document with exactly one selected entity, which is a hull object.
bool DocumentHasSelectedHull(TGeometryList* Document);
// That entity, or nullptr.
TGeometry* SelectedHull(TGeometryList* Document);
// The kernel object of a query item as the section maker takes it; none for other kinds.
THullObject HullObjectOfItem(const TGeometryQueryItem& Item);
THullObject HullObjectOf(const TDataObject& Data);
// The class name of a kernel object of a query ("TBSplineSurface", "TMesh", "TPolygonList", ...);
// empty for a type the queries do not give.
std::string KernelClassName(const std::type_info& Type);
// The calculation sections of a hull object, a new list the caller owns; nullptr for any other
// entity or an object that gives none.
std::unique_ptr<TPolylineList> CalculationSectionsOfEntity(TGeometry& Entity);
// The hydrostatics of a hull object, named after the entity; nullptr for any other entity. Throws
// EError naming the entity and what is wrong with it as a hull.
std::unique_ptr<THullHydrostatics> HullHydrostaticsOfEntity(TGeometry& Entity);
// The same for the document's single selected entity; nullptr unless exactly one is selected.
std::unique_ptr<TPolylineList> CalculationSectionsOfSelection(TGeometryList* Document);

}  // namespace sarnova
