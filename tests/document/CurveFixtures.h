// Helpers for the curve entity tests: a plan view with one pixel per unit, polyline entities built
// from coordinates, and settings that can be changed for one test.
#pragma once
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <initializer_list>
#include <ostream>
#include <memory>
#include <string>
#include <vector>

#include "TestPoint.h"
#include "document/GPline.h"
#include "document/GeoFace.h"
#include "document/GeometryList.h"
#include "document/Settings.h"
#include "foundation/Polyline.h"
#include "foundation/TextFile.h"
#include "platform/Menu.h"
#include "platform/RecordingGraphics.h"

namespace sarnova {

// Vectors in test failures.
inline void PrintTo(const TMVector& V, std::ostream* Out) { *Out << "(" << V.X << ", " << V.Y << ", " << V.Z << ")"; }

}  // namespace sarnova

namespace sarnova::test {

// A view looking down Z: (x, y, z) shows at pixel (x, y), rounded; pick rays run along Z.
class TPlanView : public TRecordingGraphics {
public:
    TPoint WorldToScreen(double X, double Y, double) override {
        return {static_cast<int>(std::lround(X)), static_cast<int>(std::lround(Y))};
    }
    TPoint WorldToScreenVector(const TMVector& V) override { return WorldToScreen(V.X, V.Y, V.Z); }
    TPoint WorldToScreenPoint(const TRPoint& P) override { return WorldToScreen(P.X, P.Y, P.Z); }
};

inline std::unique_ptr<TGeoPline> MakePline(std::initializer_list<TMVector> Points, const std::string& Name = {}) {
    auto P = std::make_unique<TGeoPline>();
    for (const TMVector& V : Points) P->Polyline().AddVector(V);
    if (!Name.empty()) P->SetName(Name);
    return P;
}

inline TGeoPline* AddPline(TGeometryList& List, std::initializer_list<TMVector> Points, const std::string& Name = {}) {
    return static_cast<TGeoPline*>(List.Add(MakePline(Points, Name)));
}

// A new curve entity of class T through Points.
template <class T>
std::unique_ptr<T> MakeCurve(const std::vector<TMVector>& Points, const std::string& Name) {
    auto Curve = std::make_unique<T>();
    for (const TMVector& V : Points) Curve->GetCurve()->AddVector(V);
    Curve->SetName(Name);
    return Curve;
}

template <class T>
T* AddCurve(TGeometryList& List, const std::vector<TMVector>& Points, const std::string& Name) {
    return static_cast<T*>(List.Add(MakeCurve<T>(Points, Name)));
}

// A document of the test classes for tests of curve class T.
template <class T>
class TCurveDocumentTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterTestClasses(); }
    T* Add(const std::vector<TMVector>& Points, const std::string& Name) { return AddCurve<T>(Doc, Points, Name); }

    TGeometryInterface Doc;
};

// The captions of a menu's items, in order.
inline std::vector<std::string> MenuCaptions(const TMenuItem& Menu) {
    std::vector<std::string> Result;
    for (int I = 0; I < Menu.Count(); ++I) Result.push_back(Menu.Items(I).Caption);
    return Result;
}

inline std::vector<TMVector> PointsOf(const TPolyline& P) {
    std::vector<TMVector> Result;
    for (int I = 0; I < P.Count(); ++I) Result.push_back(P.Point(I)->Vector());
    return Result;
}

inline void MarkPoints(TPolyline& P, std::initializer_list<int> Indices) {
    for (int I : Indices) P.Point(I)->Marked = true;
}

inline std::string SavedText(TGeometryList& List) {
    TTextWriter Out;
    List.SaveToText(Out);
    return Out.Text();
}

// Edit changes Doc, and one undo step gives back the document as it was saved.
inline void ExpectOneUndoStep(TGeometryInterface& Doc, const std::string& What, const std::function<void()>& Edit) {
    Doc.GetUndoManager().Clear();
    const std::string Saved = SavedText(Doc);
    Edit();
    EXPECT_NE(SavedText(Doc), Saved) << What;
    Doc.Undo();
    EXPECT_EQ(SavedText(Doc), Saved) << What;
    EXPECT_FALSE(Doc.CanUndo()) << What << ": one step";
}

// Program settings made for one test and dropped at its end, so that later tests see the defaults.
class TTestSettings {
public:
    TTestSettings() {
        GSettings = std::make_unique<TSarnovaSettings>();
        GSettings->SetDefaults();
    }
    ~TTestSettings() { GSettings.reset(); }
    TSarnovaSettings& operator*() const { return *GSettings; }
    TSarnovaSettings* operator->() const { return GSettings.get(); }
};

}  // namespace sarnova::test
