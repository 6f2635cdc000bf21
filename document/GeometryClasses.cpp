#include "document/GeometryClasses.h"

#include <algorithm>

#include "foundation/Errors.h"

namespace sarnova {

std::unique_ptr<TGeometryClasses> GGeometryClasses;

void RegisterGeometryClass(const TGeometryClass& Class) {
    if (!GGeometryClasses) GGeometryClasses = std::make_unique<TGeometryClasses>();
    GGeometryClasses->AddClass(Class);
}

void TGeometryClasses::AddClass(const TGeometryClass& Class) { Classes.push_back(&Class); }

const TGeometryClass& TGeometryClasses::ClassAt(int Index) const {
    if (Index < 0 || Index >= Count()) throw EError("List index out of bounds (" + std::to_string(Index) + ")");
    return *Classes[static_cast<std::size_t>(Index)];
}

bool TGeometryClasses::IsRegistered(const TGeometryClass& Class) const {
    return std::find(Classes.begin(), Classes.end(), &Class) != Classes.end();
}

const TGeometryClass* TGeometryClasses::FindEntry(const TGeometry& Entity) const {
    for (const TGeometryClass* Class : Classes)
        if (Class->IsInstance(Entity)) return Class;
    return nullptr;
}

std::unique_ptr<TGeometry> TGeometryClasses::Clone(const TGeometry& Entity) const {
    const TGeometryClass* Class = FindEntry(Entity);
    if (Class == nullptr || !Entity.HasCapability(cpUndoable)) return nullptr;
    auto Copy = Class->Create();
    Copy->Assign(Entity);
    return Copy;
}

}  // namespace sarnova
