#include "entities/GConversions.h"

#include "document/Geometry.h"
#include "document/GeometryClasses.h"
#include "document/GeometryList.h"
#include "foundation/TextUtils.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"

namespace sarnova {

namespace {

const TGeometryClass* RegisteredClass(const std::string& Keyword) {
    const TGeometryClass& Class = FindGeometryClass(Keyword);
    // An unknown keyword finds the placeholder class, whose keyword differs.
    return UpperCase(Class.GetKeyword()) == UpperCase(Keyword) ? &Class : nullptr;
}

// A new entity of the class registered under Keyword whose data object, a T, is a copy of Source.
template <class T>
std::unique_ptr<TGeometry> NewEntityHolding(const std::string& Keyword, const T& Source) {
    const TGeometryClass* Class = RegisteredClass(Keyword);
    if (Class == nullptr) return nullptr;
    std::unique_ptr<TGeometry> Entity = Class->Create();
    const TDataObject Data = Entity->GetDataObject();
    if (!Data || *Data.Type != typeid(T)) return nullptr;
    static_cast<T*>(Data.Object)->Assign(Source);
    return Entity;
}

TGeometry* AddDrawn(TGeometryList& List, std::unique_ptr<TGeometry> Entity) {
    if (!Entity) return nullptr;
    TGeometry* Added = List.Add(std::move(Entity));
    Added->Redraw();
    return Added;
}

}  // namespace

bool IsClassRegistered(const std::string& Keyword) { return RegisteredClass(Keyword) != nullptr; }

std::unique_ptr<TGeometry> NewPolygonListEntity(const TPolygonList& Facets) {
    return NewEntityHolding(PolygonListKeyword, Facets);
}

std::unique_ptr<TGeometry> NewPolylineListEntity(const TPolylineList& Lines) {
    return NewEntityHolding(PolylineListKeyword, Lines);
}

TGeometry* AddPolygonListEntity(TGeometryList& List, const TPolygonList& Facets) {
    return AddDrawn(List, NewPolygonListEntity(Facets));
}

TGeometry* AddPolylineListEntity(TGeometryList& List, const TPolylineList& Lines) {
    return AddDrawn(List, NewPolylineListEntity(Lines));
}

}  // namespace sarnova
