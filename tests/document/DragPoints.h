// A test entity whose points are edited by dragging, and small helpers of the editing tests.
#pragma once
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "document/GDraggable.h"
#include "document/GeometryQuery.h"
#include "foundation/Geom.h"
#include "foundation/GeomBox.h"

namespace sarnova::test {

// A handful of points edited by dragging: selected points follow the drag offset from where they
// were when the drag began. It offers its unselected points to object snapping and records what the
// editing machinery asked of it.
class TDragPoints : public TGeoDraggable {
public:
    explicit TDragPoints(const std::string& AName = "", std::vector<TMVector> At = {}) {
        StoreName(AName);
        SetCapabilities(GetCapabilities() | cpUndoable | cpInsertPointKey);
        for (const TMVector& P : At) Points.push_back(std::make_unique<TRPoint>(P));
    }
    const TGeometryClass& GetClass() const override { return GeometryClassOf<TDragPoints>(); }
    static std::string GetKeyword() { return "TDragPoints"; }

    int GetPointCount() override { return static_cast<int>(Points.size()); }
    TRPoint* GetPoint(int Index) override { return Points[static_cast<std::size_t>(Index)].get(); }
    TMBox CalculateExtents() override {
        TMBox B = EmptyBox;
        for (const auto& P : Points) {
            ExtendBoxByVector(VectorAdd(P->Vector(), {0.5, 0.5, 0.5}), B);
            ExtendBoxByVector(VectorAdd(P->Vector(), {-0.5, -0.5, -0.5}), B);
        }
        return B;
    }
    void AddSnapPoints(TGeometrySnapInfo& Request) override {
        for (const auto& P : Points)
            if (!P->Marked) Request.TryRPoint(*P, stPoint, this);
    }
    void RestrictEditPlanes(TEditPlaneSet& Allowed) override {
        if (Planes != 0) Allowed = Planes;
    }

    void BeginDrag(TPoint, const TMVector&, IGraphics&, TShiftState, const TMVector&) override {
        Start.clear();
        for (const auto& P : Points) Start.push_back(P->Vector());
        Log.push_back("BeginDrag");
    }
    void Drag(TPoint, const TMVector&, IGraphics&, TShiftState, const TMVector& Offset) override {
        for (std::size_t I = 0; I < Points.size(); ++I)
            if (Points[I]->Marked) Points[I]->SetVector(VectorAdd(Start[I], Offset));
    }
    void EndDrag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
                 const TMVector& Offset) override {
        Drag(ScreenPoint, Point, View, Shift, Offset);
        Log.push_back("EndDrag");
    }
    void InsertPointClick(TPoint P, TShiftState, IGraphics&) override { Log.push_back("Insert " + Text(P)); }
    void DrawInsertPointPreview(TPoint P, TShiftState, IGraphics&) override { Log.push_back("Preview " + Text(P)); }
    void EraseInsertPointPreview(TPoint P, TShiftState, IGraphics&) override { Log.push_back("Erase " + Text(P)); }

    TMVector At(int I) const { return Points[static_cast<std::size_t>(I)]->Vector(); }
    void Select(int I) { Points[static_cast<std::size_t>(I)]->Marked = true; }
    bool IsSelected(int I) const { return Points[static_cast<std::size_t>(I)]->Marked; }

    std::vector<std::unique_ptr<TRPoint>> Points;
    std::vector<TMVector> Start;
    std::vector<std::string> Log;
    TEditPlaneSet Planes = 0;

private:
    static std::string Text(TPoint P) { return std::to_string(P.X) + "," + std::to_string(P.Y); }
};

inline void ExpectNear(const TMVector& A, const TMVector& B, const char* What = "") {
    EXPECT_NEAR(A.X, B.X, 1e-9) << What;
    EXPECT_NEAR(A.Y, B.Y, 1e-9) << What;
    EXPECT_NEAR(A.Z, B.Z, 1e-9) << What;
}

// Pixel of a world point in the fake view.
inline TPoint Px(double X, double Y) {
    return {100 + static_cast<int>(std::lround(10 * X)), 100 - static_cast<int>(std::lround(10 * Y))};
}

}  // namespace sarnova::test
