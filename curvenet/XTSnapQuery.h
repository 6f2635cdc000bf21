// What a dragged vertex of a curve-network curve may snap to on the other curves: the answer of the
// snap query, which the curve applies when the user lets go.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "curvenet/XTPoints.h"
#include "foundation/Keys.h"
#include "foundation/Types.h"

namespace sarnova {

class IGraphics;
class TXTCurve;
class TXTCurveRepresentation;
class TXTNode;

// Snap kinds.
inline constexpr std::uint8_t skVertex = 0;  // onto a vertex of the target
inline constexpr std::uint8_t skCurve = 1;   // onto a place along the target
inline constexpr std::uint8_t skNone = 2;    // stays where it is
inline constexpr std::uint8_t skDetach = 3;  // a reference point pulled away from every curve

// One candidate of a snap query, and the form of its answer.
struct TXTSnapTarget {
    TXTCurveRepresentation* Curve = nullptr;  // the target
    TXTCurveElement* Point = nullptr;         // the dragged vertex
    TPoint ScreenPosition;
    TMVector WorldPosition;
    TBeadAddress Address = InvalidBeadAddress;  // for a curve snap
    std::int32_t VertexIndex = -1;              // for a vertex snap
    std::uint8_t Kind = skNone;
    double WorldDistance = 1e33;   // from the cursor's 3-D position
    double ScreenDistance = 1e33;  // from the cursor, in pixels
};

// A candidate counts only closer to the cursor than this, in pixels.
inline constexpr double SnapTolerance = 30.0;

// Option bits.
inline constexpr std::uint8_t soVertices = 1;
inline constexpr std::uint8_t soCurves = 2;

// Decides, while one vertex of a curve follows the mouse, what it may snap to on the other curves of
// the curve's document: a vertex (it becomes a vertex reference), a place along a curve (a bead), or
// nothing; a reference point pulled away from every curve detaches.
class TXTSnapQuery {
public:
    // The view G projects points to the screen; it must outlive the query.
    TXTSnapQuery(TXTCurve* ACurve, std::uint8_t AOptions, IGraphics& G);
    ~TXTSnapQuery();
    TXTSnapQuery(const TXTSnapQuery&) = delete;
    TXTSnapQuery& operator=(const TXTSnapQuery&) = delete;

    std::uint8_t Options = soVertices | soCurves;
    // Lets the owner refuse a candidate curve; without it every candidate is accepted.
    std::function<bool(TXTNode*)> OnFilter;

    // What the selected vertex, proposed at World under the cursor pixel Pixel, snaps to.
    void Query(const TPoint& Pixel, const TMVector& World, TXTSnapTarget& Result);
    // crDetachPending while detaching, crSnapPending for a pending snap, else 0 (the view's own).
    TCursor Cursor() const;
    void ClearTargets() { FTargets.clear(); }

    int SelectedCount() const;
    // The single selected vertex's index, -1 unless exactly one is selected.
    int SelectedIndex() const;
    TXTPoint* SelectedPoint() const;

    const std::vector<std::unique_ptr<TXTSnapTarget>>& Targets() const { return FTargets; }
    const TMVector& StartPosition() const { return FStartPosition; }
    bool IsDetaching() const { return FDetaching; }
    TXTCurve* Curve() const { return FCurve; }

private:
    void FindSnap(TXTSnapTarget& Target, const TPoint& Pixel, const TMVector& World, int DraggedIndex);
    void RedirectVertexSnap(TXTSnapTarget& Result) const;

    std::vector<std::unique_ptr<TXTSnapTarget>> FTargets;
    TMVector FStartPosition;
    TXTCurve* FCurve;
    IGraphics* FGraphics;
    bool FDetaching = false;
};

// Names for a curve list: "<none>" first when WithNone, then every node of the curve's document of the
// curve's own class that neither is the curve nor rests on it, in document order.
void FillCurveNameList(std::vector<std::string>& Names, const TXTCurve& Curve, bool WithNone);

}  // namespace sarnova
