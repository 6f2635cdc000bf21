#include "foundation/GeomFacet.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "VkMathsExpect.h"
#include "foundation/Errors.h"

using namespace sarnova;

namespace {

std::vector<TMVector> CornersOf(const TPolygon& F) {
    std::vector<TMVector> Result;
    for (int I = 0; I < F.CornerCount(); ++I) Result.push_back(F.Corner(I)->Vector());
    return Result;
}

void ExpectCorners(const TPolygon& F, const std::vector<TMVector>& Expected, double Tol = 1e-12) {
    ASSERT_EQ(F.CornerCount(), static_cast<int>(Expected.size()));
    for (int I = 0; I < F.CornerCount(); ++I) {
        SCOPED_TRACE(I);
        ASSERT_NE(F.Corner(I), nullptr);
        ExpectNear(F.Corner(I)->Vector(), Expected[static_cast<std::size_t>(I)], Tol);
    }
}

bool HasPoint(const TPolygon& F, const TMVector& V) {
    for (const TMVector& C : CornersOf(F))
        if (VectorsEqualWithin(C, V, 1e-12)) return true;
    return false;
}

const TMPlane ZPlane{{0, 0, 1}, 0};

}  // namespace

TEST(Polygon, NewFacetsAndShapes) {
    TPolygon Empty;
    EXPECT_EQ(Empty.GetShape(), 0);
    EXPECT_EQ(Empty.CornerCount(), 3);
    for (int I = -1; I <= 4; ++I) EXPECT_EQ(Empty.Corner(I), nullptr) << I;
    EXPECT_EQ(Empty.Color, 0);
    EXPECT_EQ(Empty.EdgeColor, clWhite);
    EXPECT_FALSE(Empty.OwnColor);

    TPolygon Quad(1);
    ExpectCorners(Quad, {ZeroVector, ZeroVector, ZeroVector, ZeroVector});
    EXPECT_EQ(Quad.Color, clNone);
    EXPECT_EQ(Quad.EdgeColor, clWhite);
    EXPECT_FALSE(Quad.OwnColor);
    EXPECT_FALSE(PolygonHasNormals(Quad));
    for (int I = 0; I < 3; ++I) EXPECT_EQ(Quad.Normal(I), nullptr);

    Quad.SetColor(clRed);
    EXPECT_TRUE(Quad.OwnColor);
    Quad.SetShape(0);
    EXPECT_EQ(Quad.Corner(3), nullptr);
    EXPECT_EQ(Quad.Color, clNone);

    ExpectError([&] { Quad.SetShape(2); }, "TPolygon.SetShape - Shape must be 0 (triangle) or 1 (quadrilateral)");
    EXPECT_EQ(Quad.GetShape(), 0);
}

TEST(Polygon, CornersStoredInOrderSetTheShape) {
    TPolygon F;
    F.SetCorner(0, TRPoint({1, 0, 0}));
    F.SetCorner(1, TRPoint({2, 0, 0}));
    EXPECT_EQ(F.Corner(2), nullptr);
    F.SetCorner(2, TRPoint({3, 0, 0}));
    EXPECT_EQ(F.GetShape(), 0);
    F.SetCorner(3, TRPoint({4, 0, 0}));
    EXPECT_EQ(F.GetShape(), 1);
    ExpectCorners(F, {{1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}});
    F.SetCorner(4, TRPoint({9, 9, 9}));
    F.SetCorner(-1, TRPoint({9, 9, 9}));
    ExpectCorners(F, {{1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}});
    // Giving corner 2 again makes it a triangle: a fourth corner must not linger.
    F.SetCorner(2, TRPoint({5, 0, 0}));
    EXPECT_EQ(F.GetShape(), 0);
    EXPECT_EQ(F.Corner(3), nullptr);
}

TEST(Polygon, AssignAndCopy) {
    auto Source = QuadFromVectors({0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0});
    Source->SetColor(clBlue);
    Source->EdgeColor = clRed;
    Source->Selected = true;
    Source->Group = 7;
    Source->SetNormal(1, {0, 0, 1});
    TRPoint Tagged = Source->CornerPoint(2);
    Tagged.Tag = 5;
    Source->AssignCorner(2, Tagged);

    auto Copy = CopyPolygon(*Source);
    ExpectCorners(*Copy, CornersOf(*Source));
    EXPECT_EQ(Copy->CornerPoint(2).Tag, 5);
    EXPECT_EQ(Copy->Color, clBlue);
    EXPECT_TRUE(Copy->OwnColor);
    EXPECT_EQ(Copy->EdgeColor, clRed);
    EXPECT_TRUE(Copy->Selected);
    EXPECT_EQ(Copy->Group, 0);
    EXPECT_EQ(Copy->Normal(0), nullptr);
    ASSERT_NE(Copy->Normal(1), nullptr);
    ExpectNear(*Copy->Normal(1), {0, 0, 1});

    // A triangle assigned over a quadrilateral loses corner 3; normals absent in the source stay.
    auto Tri = TriangleFromVectors({5, 0, 0}, {6, 0, 0}, {5, 1, 0});
    Copy->SetNormal(0, {1, 0, 0});
    Copy->Assign(*Tri);
    EXPECT_EQ(Copy->GetShape(), 0);
    EXPECT_EQ(Copy->Corner(3), nullptr);
    ExpectCorners(*Copy, {{5, 0, 0}, {6, 0, 0}, {5, 1, 0}});
    ASSERT_NE(Copy->Normal(0), nullptr);
    ExpectNear(*Copy->Normal(0), {1, 0, 0});
    EXPECT_FALSE(Copy->OwnColor);

    TRPoint A({1, 2, 3}), B({4, 5, 6}), C({7, 8, 9}), D({1, 1, 1});
    A.W = 0.5;
    auto T = NewTriangle(A, B, C);
    ExpectCorners(*T, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
    EXPECT_EQ(T->CornerPoint(0).W, 0.5);
    EXPECT_EQ(NewQuad(A, B, C, D)->GetShape(), 1);
}

TEST(Polygon, SavesOneLineAndReadsItBack) {
    auto F = TriangleFromVectors({0, 1.25, -2}, {1, 0, 0}, {0, 0, 1});
    std::string Text;
    F->SaveToText(Text);
    EXPECT_EQ(Text, "3 0.000 1.250 -2.000 1.000 0.000 0.000 0.000 0.000 1.000\n");

    TPolygon Read;
    Read.LoadFromText(Text);
    EXPECT_EQ(Read.GetShape(), 0);
    ExpectCorners(Read, CornersOf(*F));
    EXPECT_EQ(Read.Color, clNone);

    auto Q = QuadFromVectors({1234.5678, -0.0004, 1e-3}, {1, 2, 3}, {-4, -5, -6}, {0.0005, 0, 0});
    Text.clear();
    Q->SaveToText(Text);
    EXPECT_EQ(Text, "4 1234.568 0.000 0.001 1.000 2.000 3.000 -4.000 -5.000 -6.000 0.001 0.000 0.000\n");
    Read.LoadFromText(Text);
    ExpectCorners(Read, {{1234.568, 0, 0.001}, {1, 2, 3}, {-4, -5, -6}, {0.001, 0, 0}});

    // Files written on Windows, other blank runs and any real notation are read as well.
    Read.LoadFromText("  3\t1e1  2 3 4 5 6 7 8 -9.5 trailing words\r");
    ExpectCorners(Read, {{10, 2, 3}, {4, 5, 6}, {7, 8, -9.5}});
}

TEST(Polygon, DamagedLinesAreRefusedAndLeaveTheFacet) {
    const std::pair<const char*, const char*> Cases[] = {
        {"5 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15",
         "TPolygon.LoadFromText - Expected 3 or 4 corners in line \"5 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15\""},
        {"", "TPolygon.LoadFromText - Expected 3 or 4 corners in line \"\""},
        {"0", "TPolygon.LoadFromText - Expected 3 or 4 corners in line \"0\""},
        {"three 1 2 3", "TPolygon.LoadFromText - Expected 3 or 4 corners in line \"three 1 2 3\""},
        {"3 1 2 3 4 5 6 7 8", "TPolygon.LoadFromText - Error in formatted input in line \"3 1 2 3 4 5 6 7 8\""},
        {"4 1 2 3 4 5 6 7 8 9", "TPolygon.LoadFromText - Error in formatted input in line \"4 1 2 3 4 5 6 7 8 9\""},
        {"3 1 2 3 4,5 6 7 8 9 1",
         "TPolygon.LoadFromText - Error in formatted input in line \"3 1 2 3 4,5 6 7 8 9 1\""},
        {"3 1 2 nan 4 5 6 7 8 9", "TPolygon.LoadFromText - Error in formatted input in line \"3 1 2 nan 4 5 6 7 8 9\""},
    };
    for (auto [Line, Message] : Cases) {
        SCOPED_TRACE(Line);
        auto F = TriangleFromVectors({1, 0, 0}, {0, 1, 0}, {0, 0, 1});
        F->SetColor(clRed);
        try {
            F->LoadFromText(Line);
            ADD_FAILURE() << "no exception";
        } catch (const EInOutError& E) {
            EXPECT_STREQ(E.what(), Message);
        }
        ExpectCorners(*F, {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}});
        EXPECT_EQ(F->Color, clRed);
    }

    // An empty facet that fails to read still has no corners, so a reader cannot keep it by mistake.
    TPolygon Empty;
    EXPECT_THROW(Empty.LoadFromText("7"), EInOutError);
    EXPECT_EQ(Empty.Corner(0), nullptr);

    // A damaged line of any length gives a message of bounded length.
    const std::string Long = "9 " + std::string(100000, '1');
    try {
        Empty.LoadFromText(Long);
        ADD_FAILURE() << "no exception";
    } catch (const EInOutError& E) {
        EXPECT_LT(std::string(E.what()).size(), 200u);
    }
}

TEST(Polygon, Measures) {
    auto T = TriangleFromVectors({0, 0, 0}, {4, 0, 1}, {1, 3, -2});
    const std::tuple<int, double, double, double> Modes[] = {
        {0, 4, 3, 1}, {1, 0, 0, -2}, {2, 5.0 / 3, 1, -1.0 / 3}, {7, 4, 3, 1}};
    for (auto [Mode, X, Y, Z] : Modes) {
        SCOPED_TRACE(Mode);
        EXPECT_DOUBLE_EQ(PolygonX(*T, Mode), X);
        EXPECT_DOUBLE_EQ(PolygonY(*T, Mode), Y);
        EXPECT_DOUBLE_EQ(PolygonZ(*T, Mode), Z);
    }
    EXPECT_EQ(PolygonBox(*T), (TMBox{{4, 3, 1}, {0, 0, -2}}));
    ExpectNear(PolygonCentroid(*T), {5.0 / 3, 1, -1.0 / 3});

    auto Q = QuadFromVectors({0, 0, 0}, {2, 0, 0}, {2, 1, 0}, {0, 1, 0});
    EXPECT_DOUBLE_EQ(Q->Area(), 2);
    ExpectNear(PolygonCentroid(*Q), {1, 0.5, 0});
    EXPECT_DOUBLE_EQ(TriangleFromVectors({0, 0, 0}, {2, 0, 0}, {0, 3, 0})->Area(), 3);

    EXPECT_TRUE(PolygonTouchesBox(*Q, TMBox{{3, 3, 1}, {2, 1, 0}}));  // only corner 2, on the bound
    EXPECT_FALSE(PolygonTouchesBox(*Q, TMBox{{1.5, 0.8, 1}, {0.5, 0.2, -1}}));

    ExpectError([&] { Q->Triangle(); }, "TPolygon.Triangle - Polygon is a Quadrilateral");
    const TMTriangle Corners = T->Triangle();
    ExpectNear(Corners[2], {1, 3, -2});
}

TEST(Polygon, NormalIsRightHandedAndUnit) {
    const std::tuple<std::vector<TMVector>, TMVector> Cases[] = {
        {{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {0, 0, 1}},
        {{{0, 0, 0}, {0, 1, 0}, {1, 0, 0}}, {0, 0, -1}},
        {{{0, 0, 0}, {1, 1, 1}, {2, 2, 2}}, {0, 0, 0}},
        {{{0, 0, 0}, {0, 0, 5}, {0, 3, 5}, {0, 3, 0}}, {-1, 0, 0}},
        {{{1, 1, 1}, {1, 1, 1}, {1, 1, 1}, {1, 1, 1}}, {0, 0, 0}},
    };
    for (const auto& [Corners, Normal] : Cases) {
        SCOPED_TRACE(Corners.size());
        auto F = Corners.size() == 3 ? TriangleFromVectors(Corners[0], Corners[1], Corners[2])
                                     : QuadFromVectors(Corners[0], Corners[1], Corners[2], Corners[3]);
        ExpectNear(PolygonNormal(*F), Normal);
    }
}

TEST(Polygon, CornerIndexAndNormalsAtCorners) {
    auto F = QuadFromVectors({0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0});
    EXPECT_EQ(PolygonCornerIndex(*F, TRPoint({1 + 5e-5, 0, 0})), 1);
    EXPECT_EQ(PolygonCornerIndex(*F, TRPoint({0, 1, 2e-4})), -1);
    EXPECT_EQ(PolygonCornerIndex(*F, TRPoint({0, 1, 0})), 3);
    EXPECT_EQ(PolygonCornerIndex(*F, F->CornerPoint(2)), 2);

    SetPolygonNormalAt(*F, TRPoint({1, 1, 0}), {0, 0, 1});
    SetPolygonNormalAt(*F, TRPoint({5, 5, 5}), {0, 0, 1});   // no such corner
    SetPolygonNormalAt(*F, TRPoint({0, 1, 0}), {0, 0, 1});   // corner 3 has no slot
    EXPECT_EQ(F->Normal(0), nullptr);
    ASSERT_NE(F->Normal(2), nullptr);
    ExpectNear(*F->Normal(2), {0, 0, 1});
    EXPECT_FALSE(PolygonHasNormals(*F));
    F->SetNormal(0, {0, 0, 1});
    F->SetNormal(1, {0, 0.6, 0.8});
    EXPECT_TRUE(PolygonHasNormals(*F));
    F->SetNormal(1, {0, 0, -1});  // replaces
    ExpectNear(*F->Normal(1), {0, 0, -1});
}

// A facet type that may be copied whole, as descendants of TPolygon do.
class TCopyableFacet : public TPolygon {
public:
    using TPolygon::TPolygon;
    TCopyableFacet(const TCopyableFacet&) = default;
    TCopyableFacet& operator=(const TCopyableFacet&) = default;
};

TEST(Polygon, FourthCornerAndNormalsBelongToTheirFacet) {
    const TMVector A{0, 0, 0}, B{1, 0, 0}, C{1, 1, 0}, D{0, 1, 0};
    TCopyableFacet Quad(1);
    Quad.Assign(*QuadFromVectors(A, B, C, D));
    Quad.SetNormal(2, {0, 0, 1});
    Quad.Group = 3;

    // Copies own their parts: changing the source leaves them.
    TCopyableFacet Copy(Quad);
    TCopyableFacet Assigned(0);
    Assigned = Quad;
    Quad.Corner(3)->SetXYZ(9, 9, 9);
    Quad.SetNormal(2, {1, 0, 0});
    for (const TCopyableFacet* F : {&Copy, &Assigned}) {
        ExpectCorners(*F, {A, B, C, D});
        ASSERT_NE(F->Normal(2), nullptr);
        ExpectNear(*F->Normal(2), {0, 0, 1});
        EXPECT_EQ(F->Normal(0), nullptr);
        EXPECT_EQ(F->Group, 3);
    }
    // A plain triangle copied over them takes their fourth corner and normals away.
    const TCopyableFacet Plain(0);
    Copy = Plain;
    EXPECT_EQ(Copy.GetShape(), 0);
    EXPECT_EQ(Copy.Corner(3), nullptr);
    EXPECT_EQ(Copy.Normal(2), nullptr);

    // Every way of losing the fourth corner reads it as the origin again; a new one starts afresh.
    auto Dropped = QuadFromVectors(A, B, C, D);
    Dropped->SetCorner(2, TRPoint(C));
    EXPECT_EQ(Dropped->Corner(3), nullptr);
    ExpectNear(Dropped->StoredCorner(3).Vector(), {0, 0, 0});
    ExpectNear(PolygonCornerOrOrigin(*Dropped, 3).Vector(), {0, 0, 0});
    Dropped->SetCorner(3, TRPoint(TMVector{2, 2, 2}));
    ExpectCorners(*Dropped, {A, B, C, {2, 2, 2}});
    Dropped->SetShape(0);
    ExpectNear(Dropped->StoredCorner(3).Vector(), {0, 0, 0});
    Dropped->SetShape(1);
    ExpectCorners(*Dropped, {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}});
}

// Corners are kept as positions, with weight, parameter and code beside them only where given:
// these must travel with the corner values through every edit, while marks stay with their slots.
TEST(Polygon, CornerWeightsAndCodesTravelWithTheirValuesAndMarksStayInPlace) {
    auto Codes = [](const TPolygon& F) {
        std::vector<int> Result;
        for (int I = 0; I < F.CornerCount(); ++I) Result.push_back(F.CornerPoint(I).Tag);
        return Result;
    };
    auto Marks = [](const TPolygon& F) {
        std::vector<bool> Result;
        for (int I = 0; I < F.CornerCount(); ++I) Result.push_back(F.CornerMarked(I));
        return Result;
    };
    TCopyableFacet Quad(1);
    for (int I = 0; I < 4; ++I) {
        TRPoint P(TMVector{double(I), 0, 0});
        P.Tag = 10 + I;
        P.W = 0.5 * I;
        P.T = -0.0;
        P.Marked = I == 1;
        Quad.SetCorner(I, P);
    }
    EXPECT_EQ(Codes(Quad), (std::vector<int>{10, 11, 12, 13}));
    EXPECT_EQ(Quad.CornerPoint(3).W, 1.5);
    EXPECT_TRUE(std::signbit(Quad.CornerPoint(2).T));
    EXPECT_TRUE(Quad.CornerPoint(1).Marked);

    // Copies carry everything; Assign carries the values but leaves the marks of the target.
    const TCopyableFacet Copy(Quad);
    EXPECT_EQ(Codes(Copy), Codes(Quad));
    EXPECT_EQ(Marks(Copy), Marks(Quad));
    TPolygon Assigned(1);
    Assigned.SetCornerMarked(3, true);
    Assigned.Assign(Quad);
    EXPECT_EQ(Codes(Assigned), Codes(Quad));
    EXPECT_EQ(Marks(Assigned), (std::vector<bool>{false, false, false, true}));

    TCopyableFacet Flipped(Quad);
    FlipPolygon(Flipped);
    EXPECT_EQ(Codes(Flipped), (std::vector<int>{12, 11, 10, 13}));
    EXPECT_EQ(Flipped.CornerPoint(0).W, 1.0);
    EXPECT_EQ(Marks(Flipped), Marks(Quad));

    TCopyableFacet Deleted(Quad);
    Deleted.Delete(0);
    EXPECT_EQ(Codes(Deleted), (std::vector<int>{11, 12, 13}));
    EXPECT_EQ(Marks(Deleted), (std::vector<bool>{false, true, false}));
    // The new corner is a plain point; the moved ones keep what they carry.
    Deleted.Insert(1, {7, 7, 7});
    EXPECT_EQ(Codes(Deleted), (std::vector<int>{11, 0, 12, 13}));
    EXPECT_EQ(Deleted.CornerPoint(1).W, 1.0);
    EXPECT_FALSE(Deleted.CornerMarked(1));

    // A fresh shape and a dropped corner forget them.
    TCopyableFacet Reshaped(Quad);
    Reshaped.SetCorner(2, Reshaped.CornerPoint(2));
    EXPECT_EQ(Reshaped.CornerPoint(3).Tag, 0);
    Reshaped.SetShape(1);
    EXPECT_EQ(Codes(Reshaped), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(Marks(Reshaped), (std::vector<bool>{false, false, false, false}));
}

TEST(Polygon, InsertAndDeleteSwitchTheShape) {
    const TMVector A{0, 0, 0}, B{1, 0, 0}, C{1, 1, 0}, V{5, 5, 5};
    const std::pair<int, std::vector<TMVector>> Inserts[] = {
        {0, {A, B, C, V}}, {1, {A, V, B, C}}, {2, {A, B, V, C}}, {3, {A, B, C, V}}};
    for (const auto& [Index, Expected] : Inserts) {
        SCOPED_TRACE(Index);
        auto F = TriangleFromVectors(A, B, C);
        F->Insert(Index, V);
        EXPECT_EQ(F->GetShape(), 1);
        ExpectCorners(*F, Expected);
    }

    const TMVector D{0, 1, 0};
    const std::pair<int, std::vector<TMVector>> Deletes[] = {
        {0, {B, C, D}}, {1, {A, C, D}}, {2, {A, B, D}}, {3, {A, B, C}}};
    for (const auto& [Index, Expected] : Deletes) {
        SCOPED_TRACE(Index);
        auto F = QuadFromVectors(A, B, C, D);
        F->Delete(Index);
        EXPECT_EQ(F->GetShape(), 0);
        EXPECT_EQ(F->Corner(3), nullptr);
        ExpectCorners(*F, Expected);
    }

    auto Quad = QuadFromVectors(A, B, C, D);
    auto Tri = TriangleFromVectors(A, B, C);
    ExpectError([&] { Quad->Delete(4); }, "TPolygon.Delete - Point index is outside range, expected [0, 3]");
    ExpectError([&] { Quad->Delete(-1); }, "TPolygon.Delete - Point index is outside range, expected [0, 3]");
    ExpectError([&] { Tri->Delete(1); }, "TPolygon.Delete - Point can only be deleted from a polygon with 4 points");
    ExpectError([&] { Tri->Insert(4, V); }, "TPolygon.Insert - Point index is outside range, expected [0, 3]");
    ExpectError([&] { Quad->Insert(1, V); },
                "TPolygon.Insert - Point can only be inserted into a polygon with 3 points");
    ExpectCorners(*Quad, {A, B, C, D});
    ExpectCorners(*Tri, {A, B, C});
}

TEST(Polygon, FlipReversesTheOrientation) {
    auto Q = QuadFromVectors({0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0});
    Q->SetNormal(0, {0, 0, 1});
    FlipPolygon(*Q);
    ExpectCorners(*Q, {{1, 1, 0}, {1, 0, 0}, {0, 0, 0}, {0, 1, 0}});
    ExpectNear(PolygonNormal(*Q), {0, 0, -1});
    ExpectNear(*Q->Normal(0), {0, 0, 1});
    EXPECT_EQ(Q->Normal(2), nullptr);
}

TEST(Polygon, TransformCarriesCornersAndTurnsNormals) {
    auto F = TriangleFromVectors({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
    F->SetNormal(0, {0, 0, 1});
    F->SetNormal(2, {1, 0, 0});
    F->Color = clLime;
    F->EdgeColor = clRed;
    F->Selected = true;
    TRPoint Tagged = F->CornerPoint(1);
    Tagged.Tag = 3;
    F->AssignCorner(1, Tagged);

    // A translation moves the corners but not the directions.
    auto Moved = TransformedPolygon(*F, MatrixTranslation(10, 20, 30));
    ExpectCorners(*Moved, {{10, 20, 30}, {11, 20, 30}, {10, 21, 30}});
    ExpectNear(*Moved->Normal(0), {0, 0, 1});
    ExpectNear(*Moved->Normal(2), {1, 0, 0});
    EXPECT_EQ(Moved->Normal(1), nullptr);
    EXPECT_EQ(Moved->CornerPoint(1).Tag, 3);
    EXPECT_EQ(Moved->Color, clLime);
    EXPECT_TRUE(Moved->OwnColor);
    EXPECT_EQ(Moved->EdgeColor, clRed);
    EXPECT_TRUE(Moved->Selected);

    // Turned about x with a shift and scaled: normals turn with the facet and stay unit length.
    const TMMatrix M = MatrixMultiply(MatrixTranslation(1, 2, 3),
                                      MatrixMultiply(MatrixRotationAboutAxis({1, 0, 0}, std::numbers::pi / 2),
                                                     MatrixUniformScaling(3)));
    auto Turned = TransformedPolygon(*F, M);
    ExpectCorners(*Turned, {{1, 2, 3}, {4, 2, 3}, {1, 2, 6}}, 1e-12);
    ExpectNear(*Turned->Normal(0), {0, -1, 0}, 1e-12);
    ExpectNear(*Turned->Normal(2), {1, 0, 0}, 1e-12);
    ExpectNear(*Turned->Normal(0), PolygonNormal(*Turned), 1e-12);
}

TEST(Polygon, SplitByPlane) {
    auto F = TriangleFromVectors({0, 0, -1}, {1, 0, 1}, {0, 1, 1});
    std::unique_ptr<TPolygon> Above, Below;
    SplitTriangleByPlane(*F, ZPlane, Above, Below);
    ASSERT_TRUE(Above && Below);
    EXPECT_EQ(Below->GetShape(), 0);
    EXPECT_EQ(Above->GetShape(), 1);
    for (const TPolygon* Part : {Above.get(), Below.get()}) {
        EXPECT_TRUE(HasPoint(*Part, {0.5, 0, 0}));
        EXPECT_TRUE(HasPoint(*Part, {0, 0.5, 0}));
    }
    ExpectCorners(*Below, {{0, 0, -1}, {0.5, 0, 0}, {0, 0.5, 0}});
    ExpectCorners(*Above, {{0.5, 0, 0}, {1, 0, 1}, {0, 1, 1}, {0, 0.5, 0}});
    // Both parts keep the facet's orientation.
    EXPECT_GT(VectorDot(PolygonNormal(*Above), PolygonNormal(*F)), 0.99);
    EXPECT_GT(VectorDot(PolygonNormal(*Below), PolygonNormal(*F)), 0.99);

    auto High = TriangleFromVectors({0, 0, 1}, {1, 0, 1}, {0, 1, 2});
    High->SetCornerMarked(0, true);
    SplitTriangleByPlane(*High, ZPlane, Above, Below);
    ASSERT_TRUE(Above);
    EXPECT_EQ(Below, nullptr);
    ExpectCorners(*Above, CornersOf(*High));
    EXPECT_FALSE(Above->CornerMarked(0));

    auto Flat = TriangleFromVectors({0, 0, 0}, {1, 0, 0}, {0, 1, 5e-5});
    SplitTriangleByPlane(*Flat, ZPlane, Above, Below);
    ASSERT_TRUE(Above && Below);
    ExpectCorners(*Above, CornersOf(*Flat));
    ExpectCorners(*Below, CornersOf(*Flat));

    // One corner on the plane, the others on either side: two triangles.
    auto Through = TriangleFromVectors({0, 0, 0}, {1, 0, -1}, {0, 1, 1});
    SplitTriangleByPlane(*Through, ZPlane, Above, Below);
    ASSERT_TRUE(Above && Below);
    ExpectCorners(*Above, {{0, 0, 0}, {0.5, 0.5, 0}, {0, 1, 1}});
    ExpectCorners(*Below, {{0, 0, 0}, {1, 0, -1}, {0.5, 0.5, 0}});

    // A part that touches the plane only along an edge is no part.
    auto Touching = TriangleFromVectors({0, 0, 0}, {1, 0, 0}, {0, 1, 1});
    SplitTriangleByPlane(*Touching, ZPlane, Above, Below);
    EXPECT_TRUE(Above);
    EXPECT_EQ(Below, nullptr);
}

TEST(Polygon, ClipKeepsTheNegativeSide) {
    auto OneBelow = TriangleFromVectors({0, 0, -1}, {1, 0, 1}, {0, 1, 1});
    auto Clipped = ClippedPolygonArea(*OneBelow, ZPlane);
    ASSERT_TRUE(Clipped);
    ExpectCorners(*Clipped, {{0, 0, -1}, {0.5, 0, 0}, {0, 0.5, 0}});

    auto TwoBelow = TriangleFromVectors({0, 0, 1}, {1, 0, -1}, {0, 1, -1});
    Clipped = ClippedPolygonArea(*TwoBelow, ZPlane);
    ASSERT_TRUE(Clipped);
    ExpectCorners(*Clipped, {{0.5, 0, 0}, {1, 0, -1}, {0, 1, -1}, {0, 0.5, 0}});

    auto Low = QuadFromVectors({0, 0, -1}, {1, 0, -1}, {1, 1, -1}, {0, 1, -2});
    Low->SetColor(clRed);
    Clipped = ClippedPolygonArea(*Low, ZPlane);
    ASSERT_TRUE(Clipped);
    ExpectCorners(*Clipped, CornersOf(*Low));
    EXPECT_EQ(Clipped->Color, clRed);

    EXPECT_EQ(ClippedPolygonArea(*TriangleFromVectors({0, 0, 1}, {1, 0, 1}, {0, 1, 1}), ZPlane), nullptr);
    // Only an edge on the plane is left: nothing.
    EXPECT_EQ(ClippedPolygonArea(*TriangleFromVectors({0, 0, 0}, {1, 0, 0}, {0, 1, 1}), ZPlane), nullptr);
}

TEST(PolygonLists, TypedAccessAndIndexChecks) {
    auto A = TriangleFromVectors({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
    auto B = CopyPolygon(*A);
    TPolygons List;
    ExpectError([&] { List.First(); }, "List index out of bounds (0)");
    EXPECT_EQ(List.Add(A.get()), 0);
    EXPECT_EQ(List.Add(B.get()), 1);
    EXPECT_EQ(List.First(), A.get());
    EXPECT_EQ(List.Last(), B.get());
    ExpectError([&] { List.Polygon(2); }, "List index out of bounds (2)");
    List.Delete(0);
    EXPECT_EQ(List.Polygon(0), B.get());
    List.Clear();
    EXPECT_EQ(List.Count(), 0);

    TLines Lines;
    EXPECT_EQ(Lines.Add(NewRPoint(0, 0, 0), NewRPoint(1, 0, 0)), 0);
    EXPECT_EQ(Lines.Add(NewRPoint(2, 0, 0), NewRPoint(3, 0, 0)), 1);
    EXPECT_EQ(Lines.Line(1)->Point1->X, 2);
    Lines.Delete(0);
    EXPECT_EQ(Lines.Line(0)->Point2->X, 3);
    ExpectError([&] { Lines.Line(1); }, "List index out of bounds (1)");
    Lines.Clear();
    EXPECT_EQ(Lines.Count(), 0);
}
