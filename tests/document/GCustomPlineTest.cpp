// The polyline-backed curve base: its document block, expression values, point editing (delete,
// insert, drag, straighten, the frame's operations), snap candidates and the insert preview.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "CurveFixtures.h"
#include "TestPoint.h"
#include "document/GUnknown.h"
#include "document/GeoFace.h"
#include "document/GeometryQuery.h"
#include "foundation/Colors.h"
#include "foundation/Errors.h"

namespace sarnova::test {
namespace {

// A curve that refuses structural changes, as a B-spline whose user said no.
class TRefusingPline : public TGeoPline {
public:
    bool CanDeletePoints() override { return false; }
};

class GCustomPlineTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterTestClasses(); }

    TGeoPline* Load(const std::string& Block) {
        TTextReader In(Block);
        List.LoadFromText(In);
        return List.Count() > 0 ? dynamic_cast<TGeoPline*>(&List.Items(List.Count() - 1)) : nullptr;
    }
    TGeoPline* Edited(std::initializer_list<TMVector> Points) {
        TGeoPline* P = AddPline(List, Points, "E");
        List.SetEditedGeometry(P);
        return P;
    }

    TGeometryList List;
};

TEST_F(GCustomPlineTest, WritesItsBlockWithNameAndColourOnlyWhenTheyApply) {
    AddPline(List, {{0, 0, 0}, {1, 0, 2}}, "Stem");
    TGeoPline* Red = AddPline(List, {{-1.5, 2.25, 0}, {3, 4, 5}});
    Red->SetColor(clRed);
    EXPECT_EQ(SavedText(List),
              "[TPolyline]\n"
              "NumPoints=2\n"
              "     0.000      0.000      0.000\n"
              "     1.000      0.000      2.000\n"
              "Name=Stem\n"
              "\n"
              "[TPolyline]\n"
              "NumPoints=2\n"
              "    -1.500      2.250      0.000\n"
              "     3.000      4.000      5.000\n"
              "Color=clRed\n"
              "\n");
}

TEST_F(GCustomPlineTest, ReadsTheKeysAfterThePointsUpToTheFirstLineWithoutAKey) {
    const std::string Points = "[TPolyline]\nNumPoints=2\n0 0 0\n1 1 1\n";
    struct TCase {
        const char* Keys;
        const char* Name;
        TColor Color;
    };
    const TColor Default = CurrentSettings().DrawColor;
    const TCase Cases[] = {
        {"  name = Hull line  \n\n", "Hull line", Default},
        {"Smooth=3\nName=A\n\n", "A", Default},
        {"Color=clRed\nMirrored=TRUE\nName=B\n\n", "B", clRed},
        // The block ends at the stray line; the name after it belongs to no block.
        {"Stray line\nName=C\n\n", "", Default},
        {"=X\nName=D\n\n", "", Default},
    };
    for (const TCase& C : Cases) {
        List.Clear();
        TGeoPline* P = Load(Points + C.Keys);
        ASSERT_NE(P, nullptr) << C.Keys;
        EXPECT_EQ(P->GetName(), C.Name) << C.Keys;
        EXPECT_EQ(P->GetColor(), C.Color) << C.Keys;
        EXPECT_FALSE(P->Mirrored()) << C.Keys;
        EXPECT_EQ(PointsOf(P->Polyline()), (std::vector<TMVector>{{0, 0, 0}, {1, 1, 1}})) << C.Keys;
    }
}

TEST_F(GCustomPlineTest, ABlockThatCannotBeReadMakesNoPolyline) {
    // Kept as it was instead, so that a save writes it back.
    for (const char* Block : {"[TPolyline]\nNumPoints=many\n0 0 0\n\n", "[TPolyline]\nNumPoints=3\n0 0 0\n1 1 1\n"}) {
        List.Clear();
        EXPECT_EQ(Load(Block), nullptr) << Block;
        ASSERT_EQ(List.Count(), 1) << Block;
        EXPECT_NE(dynamic_cast<TGeoUnknown*>(&List.Items(0)), nullptr) << Block;
    }
}

TEST_F(GCustomPlineTest, ExpressionsReadCoordinatesOfTheCurveAtAValue) {
    // The document evaluates the argument, so it may be an expression.
    TGeometryInterface Doc;
    TGeoPline* P = AddPline(Doc, {{0, 0, 0}, {10, 10, 0}}, "P");
    EXPECT_DOUBLE_EQ(P->Expression("FX(2.5).Y"), 2.5);
    EXPECT_DOUBLE_EQ(P->Expression("FY(4).X"), 4);
    EXPECT_DOUBLE_EQ(P->Expression("FX(1+2).Z"), 0);
    const std::pair<const char*, const char*> Failures[] = {
        {"FX(20).Y", "Abscissa out of range (FX(20).Y)"},
        {"FQ(1).Y", "TGeoCustomPline.Expression - Correct Function component not found FQ(1).Y"},
        {"FX(1)", "TGeoCustomPline.Expression - Correct Coordinate component not found FX(1)"},
        {"FX(1.Y", "TGeoCustomPline.Expression - Correct Function component not found FX(1.Y"},
    };
    for (auto [Text, Message] : Failures) {
        try {
            P->Expression(Text);
            ADD_FAILURE() << Text;
        } catch (const EError& E) {
            EXPECT_STREQ(E.what(), Message);
        }
    }
}

TEST_F(GCustomPlineTest, DeletingKeepsTwoPointsAndRespectsARefusal) {
    TGeoPline* P = Edited({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}});
    MarkPoints(P->Polyline(), {0, 1, 2, 3, 4});
    P->DeleteSelectedPoints();
    EXPECT_EQ(PointsOf(P->Polyline()), (std::vector<TMVector>{{3, 0, 0}, {4, 0, 0}}));
    EXPECT_TRUE(P->Polyline().Point(0)->Marked);

    auto Refusing = std::make_unique<TRefusingPline>();
    for (double X : {0, 1, 2}) Refusing->Polyline().AddPoint(X, 0, 0);
    MarkPoints(Refusing->Polyline(), {1});
    Refusing->DeleteSelectedPoints();
    Refusing->InsertPointAbove(1);
    EXPECT_EQ(Refusing->Polyline().Count(), 3);
}

TEST_F(GCustomPlineTest, InsertingAboveAndBelowExtendsOrSplitsSegments) {
    TGeoPline* P = AddPline(List, {{0, 0, 0}, {1, 0, 0}}, "P");
    P->InsertPointAbove(0);
    P->InsertPointBelow(2);
    EXPECT_EQ(PointsOf(P->Polyline()), (std::vector<TMVector>{{-1, 0, 0}, {0, 0, 0}, {1, 0, 0}, {2, 0, 0}}));
    P->InsertPointAbove(2);
    P->InsertPointBelow(0);
    EXPECT_EQ(PointsOf(P->Polyline()),
              (std::vector<TMVector>{{-1, 0, 0}, {-0.5, 0, 0}, {0, 0, 0}, {0.5, 0, 0}, {1, 0, 0}, {2, 0, 0}}));
}

TEST_F(GCustomPlineTest, AFrameEditIsOneUndoStep) {
    TGeometryInterface Doc;
    TGeoPline* P = AddPline(Doc, {{0, 0, 0}, {1, 0, 0}}, "P");
    Doc.GetUndoManager().Clear();
    P->SetPointCoordinate(1, 2, 7.5);
    EXPECT_EQ(P->Polyline().Point(1)->Z, 7.5);
    P->FillCoordinate(0, 3);
    EXPECT_EQ(PointsOf(P->Polyline()), (std::vector<TMVector>{{3, 0, 0}, {3, 0, 7.5}}));
    Doc.Undo();
    EXPECT_EQ(PointsOf(P->Polyline()), (std::vector<TMVector>{{0, 0, 0}, {1, 0, 7.5}}));
    Doc.Undo();
    EXPECT_EQ(PointsOf(P->Polyline()), (std::vector<TMVector>{{0, 0, 0}, {1, 0, 0}}));
    EXPECT_FALSE(Doc.CanUndo());
}

TEST_F(GCustomPlineTest, DraggedPointsMoveFromWhereTheDragBegan) {
    TGeoPline* P = Edited({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}});
    MarkPoints(P->Polyline(), {1, 2});
    TPlanView View;
    P->BeginDrag({0, 0}, {}, View, 0, {});
    P->Drag({0, 0}, {}, View, 0, {0, 1, 0});
    P->Drag({0, 0}, {}, View, 0, {0, 2, 0});
    P->EndDrag({0, 0}, {}, View, 0, {0, 2, 0});
    EXPECT_EQ(PointsOf(P->Polyline()), (std::vector<TMVector>{{0, 0, 0}, {1, 2, 0}, {2, 2, 0}}));
}

TEST_F(GCustomPlineTest, StraighteningMovesTheInnerMarkedPointsOntoTheLine) {
    TGeoPline* P = Edited({{0, 0, 0}, {1, 1, 0}, {2, 3, 0}, {3, -1, 0}, {4, 0, 0}});
    MarkPoints(P->Polyline(), {0, 1, 3, 4});
    EXPECT_EQ(P->MarkedPointCount(), 4);
    P->StraightenPoints();
    // The unmarked point between them stays.
    EXPECT_EQ(PointsOf(P->Polyline()), (std::vector<TMVector>{{0, 0, 0}, {1, 0, 0}, {2, 3, 0}, {3, 0, 0}, {4, 0, 0}}));
    List.SetEditedGeometry(nullptr);
    EXPECT_EQ(P->MarkedPointCount(), 0);
}

TEST_F(GCustomPlineTest, ClosingReversingAndConvertingToAPolyline) {
    TGeoPline* P = AddPline(List, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, "P");
    P->ToggleClosed();
    EXPECT_EQ(P->Polyline().Count(), 4);
    EXPECT_TRUE(P->Polyline().IsClosed());
    P->ToggleClosed();
    EXPECT_EQ(P->Polyline().Count(), 3);
    P->ReversePoints();
    EXPECT_EQ(P->Polyline().Point(0)->Vector(), (TMVector{1, 1, 0}));
    P->ConvertToPolyline();
    ASSERT_EQ(List.Count(), 1);
    auto* Converted = dynamic_cast<TGeoPline*>(&List.Items(0));
    ASSERT_NE(Converted, nullptr);
    EXPECT_NE(Converted, P);
    EXPECT_EQ(PointsOf(Converted->Polyline()), (std::vector<TMVector>{{1, 1, 0}, {1, 0, 0}, {0, 0, 0}}));
}

TEST_F(GCustomPlineTest, SnapsToUnmarkedPointsAndAlongTheCurve) {
    TTestSettings Settings;
    Settings->SnapOptions.reset();
    Settings->SnapOptions.set(stPoint).set(stCurve);
    TGeoPline* P = AddPline(List, {{0, 0, 0}, {100, 0, 0}}, "P");
    TPlanView View;
    TGeometrySnapInfo AtEnd({98, 3}, &View, nullptr, {});
    P->AddSnapPoints(AtEnd);
    EXPECT_EQ(AtEnd.BestKind, stPoint);
    EXPECT_EQ(AtEnd.BestPoint, (TMVector{100, 0, 0}));

    TGeometrySnapInfo Along({40, 3}, &View, nullptr, {});
    P->AddSnapPoints(Along);
    EXPECT_EQ(Along.BestKind, stCurve);
    EXPECT_NEAR(Along.BestPoint.X, 40, 1e-9);

    // A marked point is the one being moved: it is no target.
    List.SetEditedGeometry(P);
    MarkPoints(P->Polyline(), {1});
    TGeometrySnapInfo Editing({98, 3}, &View, nullptr, {});
    P->AddSnapPoints(Editing);
    EXPECT_FALSE(Editing.Found());
}

// The drawing calls of a view, without its pixel queries.
std::vector<TGraphicsCall> Drawn(const TRecordingGraphics& View) {
    std::vector<TGraphicsCall> Result;
    for (const TGraphicsCall& Call : View.Calls)
        if (Call.Name != "ScreenToRayPoint") Result.push_back(Call);
    return Result;
}

std::vector<std::string> NamesOf(const std::vector<TGraphicsCall>& Calls) {
    std::vector<std::string> Result;
    for (const TGraphicsCall& Call : Calls) Result.push_back(Call.Name);
    return Result;
}

TEST_F(GCustomPlineTest, TheInsertPreviewShowsWhereAClickInserts) {
    TPlanView View;
    TGeoPline* Single = Edited({{0, 0, 0}});
    Single->DrawInsertPointPreview({5, 5}, 0, View);
    EXPECT_TRUE(View.Calls.empty());

    TGeoPline* P = AddPline(List, {{0, 0, 0}, {10, 0, 0}, {20, 0, 0}}, "P");
    P->DrawInsertPointPreview({15, 2}, 0, View);
    const std::vector<TGraphicsCall> Calls = Drawn(View);
    ASSERT_EQ(NamesOf(Calls), (std::vector<std::string>{"SetLineColor", "LineVectors", "LineVectors", "EditHandle"}));
    EXPECT_EQ(Calls[0].Color, P->Colors().SelectColor());
    EXPECT_EQ(Calls[1].Points, (std::vector<TMVector>{{15, 2, 0}, {10, 0, 0}}));
    EXPECT_EQ(Calls[2].Points, (std::vector<TMVector>{{15, 2, 0}, {20, 0, 0}}));

    // Beyond the end only the last point is joined; the click inserts exactly the previewed point.
    TPlanView After;
    P->DrawInsertPointPreview({30, 1}, 0, After);
    const std::vector<TGraphicsCall> AfterCalls = Drawn(After);
    ASSERT_EQ(NamesOf(AfterCalls), (std::vector<std::string>{"SetLineColor", "LineVectors", "EditHandle"}));
    P->InsertPointClick({30, 1}, 0, After);
    EXPECT_EQ(P->Polyline().Point(3)->Vector(), AfterCalls[1].Points[0]);
}

TEST_F(GCustomPlineTest, APlaneCutsTheCurve) {
    TGeoPline* P = AddPline(List, {{0, 0, 0}, {10, 0, 0}}, "P");
    const std::unique_ptr<TPolyline> Cut = P->IntersectPlane(PlaneFromDirection(1, 4));
    ASSERT_NE(Cut, nullptr);
    EXPECT_EQ(PointsOf(*Cut), (std::vector<TMVector>{{4, 0, 0}}));
    EXPECT_EQ(P->IntersectPlane(PlaneFromDirection(1, 40)), nullptr);
}

}  // namespace
}  // namespace sarnova::test
