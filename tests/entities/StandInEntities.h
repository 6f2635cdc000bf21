// A stand-in for the polyline-list entity, which other entities convert into: it holds its kernel list
// under the file keyword of the real class, for as long as that class is not there. One test program
// registers it once, whichever suite comes first.
#pragma once
#include "document/Geometry.h"
#include "document/GeometryClasses.h"
#include "foundation/PolyList.h"

namespace sarnova::test {

class TFakePolylineList : public TGeometry {
public:
    TFakePolylineList() { SetCapabilities(GetCapabilities() | cpUndoable); }
    const TGeometryClass& GetClass() const override { return GeometryClassOf<TFakePolylineList>(); }
    static std::string GetKeyword() { return "TPolylineList"; }
    TDataObject GetDataObject() override { return TDataObject::Of(&Lines); }
    TMBox CalculateExtents() override { return Lines.Extents(); }
    void Assign(const TGeometry& Source) override {
        TGeometry::Assign(Source);
        if (auto* Other = dynamic_cast<const TFakePolylineList*>(&Source)) Lines.Assign(Other->Lines);
    }
    TPolylineList Lines;
};

// Registers the stand-in, once per test program.
inline void RegisterStandInEntities() {
    static const bool Done = [] {
        RegisterGeometryClass(GeometryClassOf<TFakePolylineList>());
        return true;
    }();
    (void)Done;
}

}  // namespace sarnova::test
