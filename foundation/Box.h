// The box primitive: an axis-aligned box given by its sizes and centre, held as its eight corners so
// that a transform can turn it into a general hexahedron. Also the two ways every entity draws its
// extents: the twelve edges of a box and the corner brackets that mark a selection.
#pragma once
#include <array>
#include <memory>

#include "foundation/Graphics.h"
#include "foundation/Geom.h"

namespace sarnova {

class IRenderTarget;
class TPolygonList;
class TTextReader;
class TTextWriter;

// Corners 0 to 3 form the face at minimum x and 4 to 7 the face at maximum x:
//   0 (-,-,-)  1 (-,+,-)  2 (-,+,+)  3 (-,-,+)  4 (+,-,-)  5 (+,-,+)  6 (+,+,+)  7 (+,+,-)
class TBox : public IRenderable {
public:
    TBox(double XSize, double YSize, double ZSize, double XCentre, double YCentre, double ZCentre);
    TBox(const TBox&) = delete;
    TBox& operator=(const TBox&) = delete;

    // The axis-aligned box from centre - size / 2 to centre + size / 2 on each axis.
    void SetGeometry(double XSize, double YSize, double ZSize, double XCentre, double YCentre, double ZCentre);
    // From the bounds of the corners as they stand: 1, 2, 3 the centre in x, y, z; 4, 5, 6 the size in
    // x, y, z; -1 for any other code.
    double Dimension(int Code);
    // Replaces one of the six dimensions and rebuilds an axis-aligned box; other codes do nothing.
    void SetDimension(int Code, double Value);

    // Corner 0 to 7; any other index throws EError "TBox.Corner - Index <i> out of bounds, only 0..7
    // allowed".
    const TRPoint& Corner(int Index) const;
    // Copies the values of Other's corners.
    void Assign(const TBox& Other);
    // A new box of the corners carried through M.
    std::unique_ptr<TBox> Transformed(const TMMatrix& M) const;

    // The twelve edges: 0-1, 1-2, 2-3, 3-0, 0-4, 1-7, 2-6, 3-5, 4-5, 5-6, 6-7, 7-4.
    void Draw(IGraphics& View) const;
    // The box of the corners, kept as the box's bounds.
    TMBox GetBounds() override;
    // Renders through the view's render target, if it has one.
    void Render(IGraphics& View) override;
    // Six white quadrilaterals, each with the outward normal of its own corners, so that a rotated or
    // mirrored box is lit like the solid it is.
    void Render(IRenderTarget& Target) const;
    // Twelve triangles, two per face, with copies of the corners; each runs counter-clockwise seen
    // from outside the axis-aligned box, so their normals point outwards.
    std::unique_ptr<TPolygonList> Facets() const;

    // One line per corner, x, y and z as "%10.3f" each; a value wider than 9 characters gets a blank
    // of its own before it, so that the numbers never run together.
    void SaveToText(TTextWriter& Out) const;
    // Eight lines of three reals into the corners, in corner order. A malformed number or a short
    // text throws the reader's EInOutError; the values read before it stay.
    void LoadFromText(TTextReader& In);

private:
    TMBox FBounds{};
    std::array<TRPoint, 8> FCorners;
};

// The twelve edges of B in the corner order of TBox.
void DrawBoxEdges(const TMBox& B, IGraphics& View);
// The selection marker: B enlarged by 1.05 about its centre, and of each of its edges A-B only the
// pieces from A to 0.33 of the way and from B back to 0.67 of the way.
void DrawBoxCorners(const TMBox& B, IGraphics& View);

}  // namespace sarnova
