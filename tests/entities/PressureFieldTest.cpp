// Pressure fields and their entity: the facet lines, the pressure and colour ranges, splitting, damaged
// blocks, and the entity's block, copies, transforms, picking, queries and conversion.
#include "entities/GPressureField.h"

#include <gtest/gtest.h>

#include "EntityFixtures.h"
#include "document/GeometryQuery.h"
#include "entities/GGonList.h"
#include "foundation/ColorNames.h"
#include "foundation/Errors.h"

namespace sarnova::test {
namespace {

const TColor Blue = 0xFF0000;
const TColor Red = 0x0000FF;

// Two triangles of pressures 1 and 3.
const std::string TwoTriangles =
    "[TPressureField]\nNumberofPolygons=2\n"
    "3 0.000000 0.000000 0.000000 1.000000 0.000000 0.000000 0.000000 1.000000 0.000000 1.000000\n"
    "3 2.000000 0.000000 0.000000 3.000000 0.000000 0.000000 2.000000 1.000000 0.000000 3.000000\n"
    "Name=Pressures\n\n";

std::unique_ptr<TPressurePolygon> Triangle(double X, double Pressure) {
    auto F = std::make_unique<TPressurePolygon>(0);
    F->SetCorner(0, TRPoint(TMVector{X, 0, 0}));
    F->SetCorner(1, TRPoint(TMVector{X + 1, 0, 0}));
    F->SetCorner(2, TRPoint(TMVector{X, 1, 0}));
    F->Pressure = Pressure;
    return F;
}

void ReadField(TPressureField& Field, const std::string& Text) {
    TTextReader In(Text);
    Field.LoadFromText(In);
}

std::vector<TColor> Colours(const TPressureField& Field) {
    std::vector<TColor> Result;
    for (int I = 0; I < Field.Count(); ++I) Result.push_back(Field.Polygon(I)->GetColor());
    return Result;
}

TEST(PressureField, FacetLinesCarryCornersAndPressureWithSixDecimals) {
    TPressureField Field;
    Field.Add(Triangle(0, 2.5));
    auto Quad = std::make_unique<TPressurePolygon>(1);
    for (int I = 0; I < 4; ++I) Quad->SetCorner(I, TRPoint(TMVector{I * 0.1234567, -1.0 * I, 1e5}));
    Quad->Pressure = -0.0000004;
    Field.Add(std::move(Quad));
    TTextWriter Out;
    Field.SaveToText(Out);
    const std::string Text =
        "NumberofPolygons=2\n"
        "3 0.000000 0.000000 0.000000 1.000000 0.000000 0.000000 0.000000 1.000000 0.000000 2.500000\n"
        "4 0.000000 0.000000 100000.000000 0.123457 -1.000000 100000.000000 0.246913 -2.000000 100000.000000 "
        "0.370370 -3.000000 100000.000000 0.000000\n";
    EXPECT_EQ(Out.Text(), Text);

    // Read back (any blank separation) and written again to the byte.
    TPressureField Back;
    ReadField(Back, "NumberofPolygons=1\n3  1 2 3\t4 5 6 7 8 9   12.3456789\n");
    ASSERT_EQ(Back.Count(), 1);
    EXPECT_EQ(Back.Pressure(0), 12.3456789);
    EXPECT_EQ(PolygonCornerOrOrigin(*Back.Polygon(0), 2).Vector(), (TMVector{7, 8, 9}));
    TPressureField Again;
    ReadField(Again, Text);
    TTextWriter Out2;
    Again.SaveToText(Out2);
    EXPECT_EQ(Out2.Text(), Text);
}

TEST(PressureField, ReadingSetsTheRangeAndColoursFromBlueToRed) {
    struct TCase {
        std::vector<double> Pressures;
        double Min, Max;
    };
    const TCase Cases[] = {{{5}, 5, 5}, {{1, 2, 3, 4}, 1, 4}, {{4, -2, 3}, -2, 4}};
    for (const TCase& C : Cases) {
        std::string Text = "NumberofPolygons=" + std::to_string(C.Pressures.size()) + "\n";
        for (double P : C.Pressures) Text += "3 0 0 0 1 0 0 0 1 0 " + std::to_string(P) + "\n";
        TPressureField Field;
        ReadField(Field, Text);
        EXPECT_EQ(Field.MinPressure, C.Min) << Text;
        EXPECT_EQ(Field.MaxPressure, C.Max) << Text;
        EXPECT_EQ(Field.ColourMin, C.Min) << Text;
        EXPECT_EQ(Field.ColourMax, C.Max) << Text;
        for (int I = 0; I < Field.Count(); ++I) EXPECT_EQ(Field.Polygon(I)->GetEdgeColor(), Field.Polygon(I)->GetColor());
    }
    // One pressure: a range without width shows it in the ramp's start colour, not a failure.
    TPressureField One;
    ReadField(One, "NumberofPolygons=1\n3 0 0 0 1 0 0 0 1 0 5\n");
    EXPECT_EQ(Colours(One), std::vector<TColor>{Blue});
    EXPECT_TRUE(One.Polygon(0)->GetOwnColor());

    // An empty field keeps the start values.
    TPressureField Empty;
    Empty.CalculateRange();
    EXPECT_EQ(Empty.MaxPressure, -1.7e308);
    EXPECT_EQ(Empty.MinPressure, 1.7e308);
}

TEST(PressureField, TheColourRangeMapsPressuresOnTheHueRamp) {
    TPressureField Field;
    for (double P : {50.0, -1.0, 101.0, 0.0, 100.0}) Field.Add(Triangle(0, P));
    Field.CalculateRange();
    Field.SetColourRange(0, 100);
    EXPECT_EQ(Colours(Field), (std::vector<TColor>{ColorHLSToRGB(80, 120, 240), Blue, Red, Blue, Red}));
    // The pressure range stays.
    EXPECT_EQ(Field.MinPressure, -1);
    EXPECT_EQ(Field.MaxPressure, 101);
    // Both ends on one value: that value in the start colour, the others blue or red.
    Field.SetColourRange(50, 50);
    EXPECT_EQ(Colours(Field), (std::vector<TColor>{Blue, Blue, Red, Blue, Red}));
}

TEST(PressureField, SplitQuadsMakesTwoTrianglesOfTheSamePressureAndColour) {
    TPressureField Field;
    ReadField(Field, "NumberofPolygons=3\n3 0 0 0 1 0 0 0 1 0 1\n4 0 0 0 2 0 0 2 2 0 0 2 0 3\n3 5 0 0 6 0 0 5 1 0 2\n");
    Field.Polygon(1)->SetSelected(true);
    Field.SplitQuads();
    ASSERT_EQ(Field.Count(), 4);
    const auto PA = Field.PressurePolygon(1);
    const TPressurePolygon& A = *PA;
    const auto PB = Field.PressurePolygon(2);
    const TPressurePolygon& B = *PB;
    const auto Corners = [](const TPolygon& F) {
        std::vector<TMVector> V;
        for (int I = 0; I < F.CornerCount(); ++I) V.push_back(F.Corner(I)->Vector());
        return V;
    };
    EXPECT_EQ(Corners(A), (std::vector<TMVector>{{0, 0, 0}, {2, 0, 0}, {2, 2, 0}}));
    EXPECT_EQ(Corners(B), (std::vector<TMVector>{{0, 0, 0}, {2, 2, 0}, {0, 2, 0}}));
    for (const TPressurePolygon* F : {&A, &B}) {
        EXPECT_EQ(F->Pressure, 3);
        EXPECT_EQ(F->GetColor(), Red);
        EXPECT_EQ(F->GetEdgeColor(), Red);
        EXPECT_TRUE(F->GetSelected());
    }
    EXPECT_EQ(Field.Pressure(3), 2);
}

TEST(PressureField, DamagedTextIsAClearErrorNamingTheLine) {
    struct TCase {
        const char* Text;
        const char* Message;
    };
    const TCase Cases[] = {
        {"NumberofPolygons=3\n3 0 0 0 1 0 0 0 1 0 1\nName=A\n\n",
         "Polygon 2 of 3 is missing: the block ends at line 3"},
        {"NumberofPolygons=2\n3 0 0 0 1 0 0 0 1 0 1\n\n[TPolyline]\n", "Polygon 2 of 2 is missing: the block ends at line 3"},
        {"NumberofPolygons=2\n3 0 0 0 1 0 0 0 1 0 1\n", "Polygon 2 of 2 is missing: the file ends at line 3"},
        {"NumberofPolygons=1\n5 0 0 0 1 0 0 0 1 0 1 1 1 1\n", "Expected 3 or 4 corners in line \"5 0 0"},
        {"NumberofPolygons=1\n3 0 0 0 1 0 0 0 1 0\n", "Pressure missing or malformed in line"},
        {"NumberofPolygons=1\n4 0 0 0 1 0 0 0 1 0 1 1 1\n", "Pressure missing or malformed"},
        {"NumberofPolygons=1\n3 0 0 0 1 x 0 0 1 0 1\n", "Error in formatted input"},
    };
    for (const TCase& C : Cases) {
        TPressureField Field;
        try {
            ReadField(Field, C.Text);
            ADD_FAILURE() << C.Text;
        } catch (const EInOutError& E) {
            EXPECT_NE(std::string(E.what()).find(C.Message), std::string::npos) << E.what();
        }
    }
    TPressureField Field;
    EXPECT_THROW(ReadField(Field, "NumberofPolygons=many\n"), EConvertError);
}

class PressureFieldEntityTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterEntityClasses(); }
    TGeoPressureField& Loaded(const std::string& Text = TwoTriangles) {
        LoadDocumentText(Doc, Text);
        return *EntitiesOf<TGeoPressureField>(Doc).back();
    }

    TTestSettings TestSettings;
    TGeometryInterface Doc;
};

TEST_F(PressureFieldEntityTest, TheBlockReadsBackAndTakesOnlyAnExactNameKey) {
    ExpectLoadsAndSavesUnchanged(TwoTriangles);
    ExpectLoadsAndSavesUnchanged("[TPressureField]\nNumberofPolygons=0\n\n");
    TGeoPressureField& Field = Loaded();
    EXPECT_EQ(Field.GetName(), "Pressures");
    EXPECT_EQ(Field.MinPressure(), 1);
    EXPECT_EQ(Field.MaxPressure(), 3);
    EXPECT_EQ(Field.GetCapabilities() & (cpUndoable | cpRenderable), cpUndoable | cpRenderable);

    const char* Skipped[] = {"name=Lower", " Name=Blank", "NAME=Upper", "Color=clRed"};
    for (const char* Line : Skipped) {
        TGeometryInterface D;
        LoadDocumentText(D, "[TPressureField]\nNumberofPolygons=1\n3 0 0 0 1 0 0 0 1 0 1\n" + std::string(Line) + "\n\n");
        const auto Fields = EntitiesOf<TGeoPressureField>(D);
        ASSERT_EQ(Fields.size(), 1u) << Line;
        EXPECT_EQ(Fields[0]->GetColor(), TestSettings->DrawColor) << Line;
        EXPECT_NE(Fields[0]->GetName(), std::string(Line).substr(std::string(Line).find('=') + 1)) << Line;
    }
    // The value is taken as written.
    EXPECT_EQ(Loaded("[TPressureField]\nNumberofPolygons=0\nName= Spaced \n\n").GetName(), " Spaced ");
}

TEST_F(PressureFieldEntityTest, ADamagedBlockIsKeptAsItWas) {
    const std::string Damaged = "[TPressureField]\nNumberofPolygons=3\n3 0 0 0 1 0 0 0 1 0 1\nName=Short\n\n";
    ExpectLoadsAndSavesUnchanged(Damaged);
    LoadDocumentText(Doc, Damaged);
    EXPECT_TRUE(EntitiesOf<TGeoPressureField>(Doc).empty());
}

TEST_F(PressureFieldEntityTest, CopiesKeepTheScaleAndTransformsKeepPressuresAndColours) {
    TGeoPressureField& Field = Loaded();
    Field.SetColourRange(1, 2);
    const std::unique_ptr<TGeometry> Copy = Field.Clone();
    auto& Clone = dynamic_cast<TGeoPressureField&>(*Copy);
    EXPECT_EQ(Clone.MinPressure(), 1);
    EXPECT_EQ(Clone.MaxPressure(), 3);
    EXPECT_EQ(Clone.ColourMin(), 1);
    EXPECT_EQ(Clone.ColourMax(), 2);
    EXPECT_EQ(Colours(Clone.Field()), (std::vector<TColor>{Blue, Red}));

    Field.Transform(MatrixTranslation(5, 0, 0));
    EXPECT_EQ(Field.Field().Polygon(1)->Corner(0)->X, 7);
    EXPECT_EQ(Field.Field().Pressure(1), 3);
    EXPECT_EQ(Colours(Field.Field()), (std::vector<TColor>{Blue, Red}));
    EXPECT_EQ(Field.ColourMax(), 2);
    EXPECT_EQ(Field.MaxPressure(), 3);
}

TEST_F(PressureFieldEntityTest, TheColourRangeIsNoUndoStep) {
    TGeoPressureField& Field = Loaded();
    Doc.GetUndoManager().Clear();
    Field.SetColourRange(1, 2);
    EXPECT_EQ(Colours(Field.Field()), (std::vector<TColor>{Blue, Red}));
    EXPECT_FALSE(Doc.CanUndo());
}

TEST_F(PressureFieldEntityTest, IsPickedAtCornersAndAnswersPolygonListQueries) {
    TGeoPressureField& Field = Loaded();
    TFakeView View;
    // Corner (3, 0) is pixel (130, 100) in the fake view.
    EXPECT_NEAR(Field.DistanceToPoint({133, 104}, View), 5, 1e-9);
    EXPECT_TRUE(Field.InRect({128, 98, 132, 102}, View));
    EXPECT_FALSE(Field.InRect({150, 150, 160, 160}, View));
    Field.SetDisplayState(dsHidden);
    EXPECT_EQ(Field.DistanceToPoint({130, 100}, View), 1e33);
    EXPECT_FALSE(Field.InRect({128, 98, 132, 102}, View));
    Field.SetDisplayState(dsNormal);

    TGeometryQuery Count;
    Count.Kinds = 0x1000;
    Count.CountOnly = true;
    Doc.Query(Count, false);
    EXPECT_EQ(Count.Count(), 1);
    TGeometryQuery Facets;
    Facets.Kinds = QueryKinds({qkPolygonList});
    Doc.Query(Facets, false);
    ASSERT_EQ(Facets.Count(), 1);
    EXPECT_EQ(Facets.Item(0).Name, "Pressures");
    EXPECT_EQ(Facets.Item(0).As<TPressureField>(), &Field.Field());
    EXPECT_FALSE(Facets.Item(0).Owned());
    TGeometryQuery Other;
    Other.Kinds = QueryKinds({qkPointCloud, qkPolyline, qkSampledMesh});
    Doc.Query(Other, false);
    EXPECT_EQ(Other.Count(), 0);

    const auto Facet = Field.CreatePolygonRepresentation(6);
    ASSERT_NE(Facet, nullptr);
    EXPECT_EQ(Facet->Count(), 2);
}

TEST_F(PressureFieldEntityTest, ExtractPolygonsLeavesAPolygonListInTheSameColoursAsOneStep) {
    Loaded().SetColourRange(1, 2);
    ExpectOneUndoStep(Doc, "extract", [&] { ClickPopupItem(*EntitiesOf<TGeoPressureField>(Doc)[0], "Extract Polygons"); });
    ClickPopupItem(*EntitiesOf<TGeoPressureField>(Doc)[0], "Extract Polygons");
    EXPECT_TRUE(EntitiesOf<TGeoPressureField>(Doc).empty());
    const auto Lists = EntitiesOf<TGeoPGonlist>(Doc);
    ASSERT_EQ(Lists.size(), 1u);
    const TPolygonList& Facets = Lists[0]->Facets();
    ASSERT_EQ(Facets.Count(), 2);
    EXPECT_EQ(Facets.Polygon(1)->Corner(1)->X, 3);
    EXPECT_EQ(Facets.Polygon(0)->GetColor(), Blue);
    EXPECT_EQ(Facets.Polygon(1)->GetColor(), Red);
}

}  // namespace
}  // namespace sarnova::test
