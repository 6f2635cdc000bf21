#include "naval/HullSelection.h"

#include <typeinfo>

#include "document/Geometry.h"
#include "document/GeometryList.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "surfaces/BSurface.h"
#include "surfaces/Gregory.h"
#include "surfaces/SurfaceList.h"

namespace sarnova {

namespace {

template <class... T>
bool IsOneOf(const std::type_info& Type) {
    return ((Type == typeid(T)) || ...);
}

}  // namespace

std::unique_ptr<TGeometryQuery> HullQuery() {
    auto Query = std::make_unique<TGeometryQuery>();
    Query->Kinds = HullQueryKinds;
    return Query;
}

bool IsHullObject(TGeometry& Entity) {
    const auto Query = HullQuery();
    Query->CountOnly = true;
    Entity.Query(*Query);
    return Query->Count() == 1;
}

TGeometry* SelectedHull(TGeometryList* Document) {
    if (Document == nullptr || Document->SelectedCount() != 1) return nullptr;
    const auto Query = HullQuery();
    Query->CountOnly = true;
    Document->Query(*Query, true);
    return Query->Count() == 1 ? Document->SingleSelection() : nullptr;
}

bool DocumentHasSelectedHull(TGeometryList* Document) { return SelectedHull(Document) != nullptr; }

THullObject HullObjectOfItem(const TGeometryQueryItem& Item) { return HullObjectOf(Item.Instance); }

std::string KernelClassName(const std::type_info& Type) {
    const std::pair<const std::type_info*, const char*> Names[] = {
        {&typeid(TPolylineList), "TPolylineList"},   {&typeid(TBSplineList), "TBSplineList"},
        {&typeid(TCalculationSections), "TCalculationSections"}, {&typeid(TPolygonList), "TPolygonList"},
        {&typeid(TSurfaces), "TSurfaces"},           {&typeid(TBSplineSurfaces), "TBSplineSurfaces"},
        {&typeid(TBSplineSurfaceList), "TBSplineSurfaceList"},     {&typeid(TBSplineSurface), "TBSplineSurface"},
        {&typeid(TMesh), "TMesh"},                   {&typeid(TGregorySurface), "TGregorySurface"}};
    for (auto [T, Name] : Names)
        if (*T == Type) return Name;
    return {};
}

THullObject HullObjectOf(const TDataObject& Data) {
    if (!Data) return {};
    const std::type_info& Type = *Data.Type;
    if (IsOneOf<TPolylineList, TBSplineList, TCalculationSections>(Type))
        return static_cast<const TPolylineList*>(static_cast<TPolylineList*>(Data.Object));
    if (Type == typeid(TPolygonList)) return static_cast<const TPolygonList*>(static_cast<TPolygonList*>(Data.Object));
    if (IsOneOf<TSurfaces, TBSplineSurfaces, TBSplineSurfaceList>(Type))
        return static_cast<TSurfaces*>(Data.Object);
    // The object was stored as its own class: cast back to it before converting to the base.
    if (Type == typeid(TBSplineSurface)) return static_cast<TSurface*>(static_cast<TBSplineSurface*>(Data.Object));
    if (Type == typeid(TMesh)) return static_cast<TSurface*>(static_cast<TMesh*>(Data.Object));
    if (Type == typeid(TGregorySurface)) return static_cast<TSurface*>(static_cast<TGregorySurface*>(Data.Object));
    return {};
}

std::unique_ptr<TPolylineList> CalculationSectionsOfEntity(TGeometry& Entity) {
    const auto Query = HullQuery();
    Entity.Query(*Query);
    if (Query->Count() != 1) return nullptr;
    return CalculationSectionsOf(HullObjectOfItem(Query->Item(0)));
}

std::unique_ptr<THullHydrostatics> HullHydrostaticsOfEntity(TGeometry& Entity) {
    const auto Query = HullQuery();
    Entity.Query(*Query);
    if (Query->Count() != 1) return nullptr;
    const THullObject Hull = HullObjectOfItem(Query->Item(0));
    if (std::holds_alternative<std::monostate>(Hull)) return nullptr;
    return std::make_unique<THullHydrostatics>(Hull, Entity.GetName());
}

std::unique_ptr<TPolylineList> CalculationSectionsOfSelection(TGeometryList* Document) {
    if (Document == nullptr || Document->SelectedCount() != 1) return nullptr;
    TGeometry* Entity = Document->SingleSelection();
    return Entity ? CalculationSectionsOfEntity(*Entity) : nullptr;
}

}  // namespace sarnova
