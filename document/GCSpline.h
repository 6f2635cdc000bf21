// The cubic spline entity: the natural cubic spline through its points, which the user edits. Its
// menus, the conversion of its points to a polyline, and the creator that draws one with the mouse.
// Also the drawing shared by the creators of curves generated from the points they pass through.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "document/GCreator.h"
#include "document/GCustomPline.h"

namespace sarnova {

class TCSpline;

class TGeoCSpline : public TGeoCustomPLine {
public:
    // An empty spline; undoable and clonable.
    TGeoCSpline();
    ~TGeoCSpline() override;

    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoCSpline>(); }
    static std::string GetKeyword() { return "TCSpline"; }
    static int GetMenuOrder() { return 32; }
    static int GetImageIndex() { return 44; }
    // "Cubic Spline": draws a new cubic spline in the document's view.
    static void AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List);
    // The conversions of several selected cubic splines.
    static void AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List);

    TCSpline& Spline() const { return *FSpline; }

    // ---- Overrides ----
    std::uint8_t GetSelectionType() override { return 2; }
    // Deletes marked points, first to last, while more than four points remain.
    void DeleteSelectedPoints() override;
    void Transform(const TMMatrix& M) override;
    void Assign(const TGeometry& Source) override;
    // Its block is its points, name and colour, each changed inside a change bracket.
    bool WritesItsBlockFromState() const override { return true; }
    // Curve queries get the spline, polyline queries the display polyline.
    void Query(TGeometryQuery& Query) override;
    // The display polyline and comb; in edit mode a handle per point.
    void Draw(IGraphics& View) override;
    void DrawOutline(IGraphics& View) override;
    void AddMenuItems(TMenuItem& Root) override;
    void UpdateMenuItems(TMenuItem& Root) override;

private:
    std::unique_ptr<TCSpline> FSpline;
    TPolyline* OwnCurve() const override;
};

// Draws a cubic spline through left clicks; a right click makes it.
class TGeoCSplineCreator : public TGeoDraggableLineCreator {
public:
    explicit TGeoCSplineCreator(TGeometryList& List);
    void CreateGeometry() override;
    void DrawShape() override;
    void EraseShape() override;
};

// ---- Shared by the curve entities generated through their points ----

// The shape of a creator collecting the points of a generated curve: the points joined by straight
// lines (drawing: only while the generated polyline is short), the curve once there are two points,
// and a handle per point; in the draw colour, or in the background colour when Erasing.
void DrawGeneratedCurveShape(TGeoDraggableLineCreator& Creator, bool Erasing);

// ---- Operations on the selected cubic splines of a document ----

// Each selected cubic spline replaced by the polyline of its curve.
void ConvertSelectedCSplinesToPolylines(TGeometryList& List);
// Each selected cubic spline replaced by the polyline of its points.
void ConvertSelectedCSplinePointsToPolylines(TGeometryList& List);

}  // namespace sarnova
