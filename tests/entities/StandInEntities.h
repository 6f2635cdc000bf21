// Stand-ins for the polyline-list and polygon-list entities, which other entities convert into: each
// holds its kernel list under the file keyword of the real class, for as long as that class is not
// there. One test program registers them once, whichever suite comes first.
#pragma once
#include "document/Geometry.h"
#include "document/GeometryClasses.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"

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

class TFakePolygonList : public TGeometry {
public:
    TFakePolygonList() { SetCapabilities(GetCapabilities() | cpUndoable); }
    const TGeometryClass& GetClass() const override { return GeometryClassOf<TFakePolygonList>(); }
    static std::string GetKeyword() { return "TPolygonList"; }
    TDataObject GetDataObject() override { return TDataObject::Of(&Facets); }
    TMBox CalculateExtents() override { return Facets.Extents(); }
    void Assign(const TGeometry& Source) override {
        TGeometry::Assign(Source);
        if (auto* Other = dynamic_cast<const TFakePolygonList*>(&Source)) Facets.Assign(Other->Facets);
    }
    TPolygonList Facets;
};

// Registers both stand-ins, once per test program.
inline void RegisterStandInEntities() {
    static const bool Done = [] {
        RegisterGeometryClass(GeometryClassOf<TFakePolylineList>());
        RegisterGeometryClass(GeometryClassOf<TFakePolygonList>());
        return true;
    }();
    (void)Done;
}

}  // namespace sarnova::test
