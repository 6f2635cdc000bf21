// The dimension entity: a measured distance between two points in space, drawn as a double-headed
// arrow with the distance written over its middle. Moving its points changes the figure it shows and
// nothing else. Its property frame lists both points and the distances between them in space, along
// each axis and in each coordinate plane; its creator takes the two points from two clicks.
#pragma once
#include <array>
#include <memory>
#include <string>

#include "document/GCreator.h"
#include "entities/GDefinedCurve.h"
#include "foundation/Geom.h"

namespace sarnova {

// The name under which the GUI registers the dimension's property frame.
inline const char* const DimensionFrameName = "DimensionFrame";

// Head size in pixels of the dimension's arrow.
inline constexpr int DimensionArrowHead = 20;

// A distance as the dimension and its frame write it: fixed with 3 decimals (exponent form past 10
// significant digits) and the locale's decimal separator.
std::string DimensionText(double Distance);

// The distances between A and B: in space, along x, y and z, and in the XY, YZ and XZ planes.
std::array<double, 7> DimensionDistances(const TMVector& A, const TMVector& B);

class TGeoDimension : public TGeoDefinedCurve {
public:
    // Both points at the origin.
    TGeoDimension();
    const char* HintText() const override;
    ~TGeoDimension() override;

    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoDimension>(); }
    static std::string GetKeyword() { return "TDimension"; }
    static int GetMenuOrder() { return 1003; }
    static int GetImageIndex() { return 79; }
    // "Dimension": places a new dimension in the document's view.
    static void AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List);

    TRLine& Line() { return *FLine; }
    // The distance between the two points.
    double Distance() const;

    int HandleCount() const override { return 2; }
    TRPoint& Handle(int Index) override { return Index == 0 ? *FLine->Point1 : *FLine->Point2; }
    // 101 points evenly from the first point to the second, for picking.
    std::unique_ptr<TPolyline> MakePolyline() const override;

    // ---- Overrides ----
    TDataObject GetDataObject() override { return TDataObject::Of(FLine.get()); }
    // Both points, as points, when points are snapped to and the dimension is not being edited.
    void AddSnapPoints(TGeometrySnapInfo& Request) override;
    TMBox CalculateExtents() override;
    IGeometryFrame* CreateFrame(void* Owner) override;
    void Transform(const TMMatrix& M) override;
    void Assign(const TGeometry& Source) override;
    // The distance over the middle, the double arrow, and in edit mode the handles.
    void Draw(IGraphics& View) override;
    // As Draw, without colours of its own.
    void DrawOutline(IGraphics& View) override;
    // A plain line between the points.
    void DrawSimplified(IGraphics& View) override;
    // Every marked point moves by the drag's offset.
    void Drag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
              const TMVector& Offset) override;

protected:
    // Each point as "%10.3f %10.3f %10.3f".
    void SaveKernel(TTextWriter& Out) const override;
    // Three numbers from each of the next two lines; the rest of each line is skipped.
    void LoadKernel(TTextReader& In) override;

private:
    void DrawDimension(IGraphics& View, bool InColour);

    std::unique_ptr<TRLine> FLine;
};

// Two clicks make a dimension: the first fixes one end, the second end follows the mouse until the
// second click. The creator then starts over; a right click drops a started dimension, or ends the
// creator when nothing was entered.
class TGeoDimensionCreator : public TGeoDraggableLineCreator {
public:
    explicit TGeoDimensionCreator(TGeometryList& List);

    void MouseDown(IGraphics& View, TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // Before the first click the snapped grid point; then the double arrow between the two ends.
    void DrawShape() override;
    void EraseShape() override;
    // A new dimension between the two points, added to the document and drawn.
    void CreateGeometry() override;

private:
    void DrawRubberDimension(TColor Color);
};

}  // namespace sarnova
