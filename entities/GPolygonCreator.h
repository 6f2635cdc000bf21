// The polygon creator: draws facets into a polygon list with the mouse. Every three or four clicked
// points make a triangle or a quadrilateral, and the tool stays for the next facet.
#pragma once
#include <memory>

#include "document/GCreator.h"
#include "document/GeometryReference.h"

namespace sarnova {

class TGeoPGonlist;
class TPolygon;

// Four left clicks make a quadrilateral (the fourth corner where the mouse last moved); three and a
// right click a triangle. A right click with fewer points drops them; one with nothing entered, or
// Esc, ends the tool. Started for an existing entity, it puts that entity back into edit mode when it
// ends.
class TGeoPolygonCreator : public TGeoDraggableLineCreator {
public:
    // Facets go into Target, or into a new polygon list made with the first facet when it is nullptr.
    TGeoPolygonCreator(TGeometryList& List, TGeoPGonlist* Target);

    void MouseDown(IGraphics& View, TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // A new polygon list holding the facet of the points entered, added to the document; it becomes
    // the target.
    void CreateGeometry() override;
    // The target's facets and the closed outline of the points.
    void DrawShape() override;
    void EraseShape() override;
    void Finish(std::uint8_t Code) override;

    // The facet of the three or four points held goes into the target, each one change of an existing
    // target; the points are dropped in any case.
    void CommitFacet();

    TGeoPGonlist* GetTarget();
    bool GetAddToExisting() const { return AddToExisting; }

private:
    // The facet of the points held: a triangle of three, a quadrilateral of four, else nullptr.
    std::unique_ptr<TPolygon> FacetOfPoints() const;
    void DrawFeedback(TColor Colour, bool Outline);

    // Forgets the entity when it is freed.
    TGeometryReference Target{nullptr};
    bool AddToExisting;
};

}  // namespace sarnova
