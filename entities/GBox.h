// The box entity: a rectangular block (a tank, a deck house, a reference volume) held as the eight
// corners of the box primitive. It is made from the Create menu or the BOX macro block, changed
// through its property frame (centre and sizes), the document's transforms and undo, snapped to at its
// corners and edges, cut by the contour planes, turned into facets, and shown lit in the rendered
// display state. Its corners are not edited by dragging.
#pragma once
#include <memory>
#include <string>

#include "document/Geometry.h"
#include "foundation/Box.h"

namespace sarnova {

// The name under which the GUI registers the box's property frame.
inline const char* const BoxFrameName = "BoxFrame";

class TGeoBox : public TGeometry {
public:
    // 10 by 10 by 10 about the origin; undoable and shown rendered on request.
    TGeoBox();
    ~TGeoBox() override;

    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoBox>(); }
    static std::string GetKeyword() { return "TBox"; }
    static int GetMenuOrder() { return 12; }
    static int GetImageIndex() { return 41; }
    // "Box": a default box added to the document, drawn, and made the only selection.
    static void AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List);
    // The block "BOX <name>", lines holding X, Y, Z (the centre) and L, W, H (the sizes), each with
    // its value as the second word, and "END". Only a line whose first word is BOX opens one, so that
    // a command on an entity named "Box1" is not taken for it.
    static bool CreateFromMacro(TMacroFile& Macro, TGeometryList& List);

    TBox& Box() { return *FBox; }
    const TBox& Box() const { return *FBox; }

    // ---- What the menu and the property frame do ----
    // Dimension Code (1 to 3 the centre in x, y, z, 4 to 6 the sizes) becomes Value and the box is
    // rebuilt axis-aligned from the corners' extents, as one change. Other codes change nothing.
    void SetDimension(int Code, double Value);
    // A new polyline-list entity holding the contour lines as they are shown.
    void ExtractContours();
    // A new polygon-list entity holding the box's twelve triangles.
    void CreatePolygons();

    // ---- Overrides ----
    TDataObject GetDataObject() override { return TDataObject::Of(FBox.get()); }
    // "Show Contours" checked and "Extract Contours" enabled exactly while the contours are shown.
    void UpdateMenuItems(TMenuItem& Root) override;
    void AddMenuItems(TMenuItem& Root) override;
    int GetPointCount() override { return 8; }
    // Corner Index for 0 to 6; any other index gives corner 7.
    TRPoint* GetPoint(int Index) override;
    // Unmarked corners as points; on each edge the point nearest to the request's pixel as a point on
    // a curve.
    void AddSnapPoints(TGeometrySnapInfo& Request) override;
    TMBox CalculateExtents() override { return FBox->GetBounds(); }
    IGeometryFrame* CreateFrame(void* Owner) override;
    void Transform(const TMMatrix& M) override;
    void Assign(const TGeometry& Source) override;
    // The twelve edges, then the contour lines.
    void Draw(IGraphics& View) override;
    void DrawOutline(IGraphics& View) override;
    void DrawSimplified(IGraphics& View) override;
    // "[TBox]", eight corner lines, "Name=" and "Color=" when they apply, an empty line.
    void SaveToText(TTextWriter& Out) override;
    // Eight corner lines, then lines up to the first empty one: "Name" (exactly so) renames, "COLOR"
    // (any case) recolours, anything else is passed over.
    void LoadFromText(TTextReader& In) override;
    // The twelve triangles, after a console line naming the entity.
    std::unique_ptr<TPolygonList> CreatePolygonRepresentation(std::uint8_t Purpose) override;
    void UpdateFrame() override;
    // The six faces lit, in the entity's colour.
    void DrawRendered(IGraphics& View) override;
    // Facet queries get the twelve triangles, made for the query.
    void Query(TGeometryQuery& Query) override;

private:
    std::unique_ptr<TBox> FBox;
};

}  // namespace sarnova
