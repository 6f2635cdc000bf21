// A hull entity for the hydrostatic windows' tests: it answers the hull query with its own list of
// sections, as the polyline-list entity does.
#pragma once
#include "document/Geometry.h"
#include "document/GeometryClasses.h"
#include "document/GeometryQuery.h"
#include "naval/BoxSections.h"

namespace sarnova::test {

class TSectionsHull : public TGeometry {
public:
    TSectionsHull() : Sections(BoxSections()) {}
    const TGeometryClass& GetClass() const override { return GeometryClassOf<TSectionsHull>(); }
    static std::string GetKeyword() { return "TSectionsHull"; }
    TMBox CalculateExtents() override { return Sections->Extents(); }
    void Query(TGeometryQuery& Q) override {
        if (!Q.Asks(qkPolylineList)) return;
        if (Q.CountOnly)
            Q.CountItem();
        else
            Q.AddReference(Sections.get(), GetName());
    }
    std::unique_ptr<TPolylineList> Sections;
};

}  // namespace sarnova::test
