// Helpers for the plane entity tests: a document with a plane and a curve that gives it extents, a
// block reader, and a plan view with one pixel per unit that records what is drawn.
#pragma once
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "document/CurveFixtures.h"
#include "document/DragPoints.h"
#include "document/TestPoint.h"
#include "entities/GPlane.h"
#include "foundation/TextFile.h"
#include "platform/RecordingGraphics.h"

namespace sarnova::test {

inline constexpr double Pi = 3.14159265358979323846;

// A plane entity read from a "[TPlane]" block.
inline std::unique_ptr<TGeoPlane> ReadPlane(const std::string& Block) {
    auto Plane = std::make_unique<TGeoPlane>();
    TTextReader In(Block);
    In.ReadLine();
    Plane->LoadFromText(In);
    return Plane;
}

inline std::string PlaneText(TGeoPlane& Plane) {
    TTextWriter Out;
    Plane.SaveToText(Out);
    return Out.Text();
}

// A document whose extents are the box (-5, -5, 0) to (5, 5, 2), given by a polyline corner to
// corner, holding one plane.
class PlaneDocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestClasses();
        Doc.SetProjectOptions(po3DEditing);
        Line = AddPline(Doc, {{-5, -5, 0}, {5, 5, 2}}, "Line");
        Plane = static_cast<TGeoPlane*>(Doc.Add(std::make_unique<TGeoPlane>()));
        Doc.GetUndoManager().Clear();
    }
    // The plane after an undo, which may have put another object in its place.
    TGeoPlane* PlaneAt(int Index) { return dynamic_cast<TGeoPlane*>(&Doc.Items(Index)); }

    TGeometryInterface Doc;
    TGeoPline* Line = nullptr;
    TGeoPlane* Plane = nullptr;
};

}  // namespace sarnova::test
