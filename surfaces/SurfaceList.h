// Ordered lists of surfaces that travel together: patches of a curve network, the surfaces of a
// B-spline surface list, the surfaces a section or the shaded renderer works through. The list's size
// is passed to every member's sampling as the surface count, so large sets are sampled more coarsely.
#pragma once
#include <memory>
#include <vector>

#include "foundation/VkMaths.h"
#include "surfaces/BSurface.h"

namespace sarnova {

class TPolygonList;
class TTextReader;
class TTextWriter;

// A list of surfaces. Each item is either borrowed (added by pointer: it stays the caller's, and
// Delete and Clear only drop it) or owned (added as a unique_ptr, and every copy the list makes
// itself: Delete, Clear and the destructor free it).
class TSurfaces {
public:
    TSurfaces() = default;
    TSurfaces(const TSurfaces&) = delete;
    TSurfaces& operator=(const TSurfaces&) = delete;
    virtual ~TSurfaces();

    int Count() const { return static_cast<int>(FItems.size()); }
    // The item at Index; outside 0 .. Count - 1 throws EError "List index out of bounds (Index)".
    TSurface* Surface(int Index) const;
    // The item as a B-spline surface; nullptr when it is another kind.
    TBSplineSurface* BSplineSurface(int Index) const;

    // Appends S as it is and returns its index.
    int Add(TSurface* S);
    int Add(std::unique_ptr<TSurface> S);
    // Gives S the list display settings (5 x 5 lines of 10 points), then appends it.
    int AddSurface(TBSplineSurface* S);
    int AddSurface(std::unique_ptr<TBSplineSurface> S);
    // Removes the item at Index, freeing it when owned; the list's index error outside the list.
    void Delete(int Index);
    // Removes every item, freeing the owned ones.
    void Clear();

    // AddSurface of an owned copy (CloneBSplineSurface) of every B-spline item of Other, in order.
    void AddCopies(const TSurfaces& Other);
    // Clear, then AddCopies.
    void AssignCopies(const TSurfaces& Other);

    // The union of the items' extents; the empty box for an empty list.
    TMBox GetExtents() const;
    // CreatePolygonsFor(0).
    std::unique_ptr<TPolygonList> CreatePolygons() const;
    // Every item's CreatePolygonsFor(Purpose, Count) moved into one new list, item by item.
    std::unique_ptr<TPolygonList> CreatePolygonsFor(TSamplingPurpose Purpose) const;

    // "NumSurfaces=<count>", then each item's block (B-spline surfaces and meshes; another kind of
    // surface throws EGeometryError).
    void SaveToText(TTextWriter& F) const;

private:
    struct TItem {
        TSurface* Surface = nullptr;
        std::unique_ptr<TSurface> Owned;  // null for a borrowed item
    };
    std::vector<TItem> FItems;
};

// A list of B-spline surfaces.
class TBSplineSurfaces : public TSurfaces {};

// The list that owns its surfaces: the B-spline surface list of a document and the results of
// reading and transforming.
class TBSplineSurfaceList : public TBSplineSurfaces {
public:
    // A new list of the items (B-spline surfaces) carried through M, with the list display settings.
    std::unique_ptr<TBSplineSurfaceList> Transformed(const TMMatrix& M) const;
    // Reads "NumSurfaces=" (EConvertError for a count that is not an integer) and that many surface
    // blocks, each into a new surface appended with AddSurface. The list is not cleared first, and
    // surfaces read before an error stay in it. Surfaces are read one at a time, so a damaged count
    // ends at the first block that is not there.
    void LoadFromText(TTextReader& F);
};

}  // namespace sarnova
