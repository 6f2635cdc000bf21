#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "curvenet/XTSurfaceOptions.h"
#include "foundation/Console.h"
#include "foundation/Errors.h"

using namespace sarnova;

TEST(SurfaceOptionsText, GregoryBezierPresetWritesAndReadsBackEqual) {
    const std::string Text = SurfaceOptionsToText(soGregoryBezier);
    // The angle with 17 significant digits, so that it reads back as the same double.
    EXPECT_EQ(Text.substr(0, Text.rfind(',') + 1), "sptGregory,False,True,False,True,True,False,0,False,");
    EXPECT_EQ(Text.substr(Text.rfind(',') + 1).size(), 20u) << Text;
    const TXTSurfaceOptions Back = TextToSurfaceOptions(Text);
    EXPECT_TRUE(SameSurfaceOptions(Back, soGregoryBezier));
    EXPECT_EQ(SurfaceOptionsPresetCaption(Back), "Gregory Bezier");
    EXPECT_TRUE(SameSurfaceOptions(TXTSurfaceOptions{}, soGregoryBezier));
}

TEST(SurfaceOptionsText, EveryPresetRoundTripsAndIsFoundByItsCaption) {
    for (const auto& P : SurfaceOptionsPresets) {
        EXPECT_TRUE(SameSurfaceOptions(TextToSurfaceOptions(SurfaceOptionsToText(P.Options)), P.Options)) << P.Caption;
        EXPECT_EQ(SurfaceOptionsPresetCaption(P.Options), P.Caption);
    }
    // Each field in its own place: LinearTangentInterpolation is written before the iteration count.
    TXTSurfaceOptions O = soSubdivision;
    O.JoinAdjacentEdges = true;
    O.LinearTangentInterpolation = true;
    O.ForceTwistCompatibility = true;
    O.TwistCompatibilityAngle = 0.1;
    EXPECT_EQ(SurfaceOptionsToText(O), "sptSubdivision,True,False,True,True,True,True,5,True,0.10000000000000001");
    EXPECT_TRUE(SameSurfaceOptions(TextToSurfaceOptions(SurfaceOptionsToText(O)), O));
    EXPECT_EQ(SurfaceOptionsPresetCaption(O), "Customised");
}

TEST(SurfaceOptionsText, ReadsOlderAndLooserTexts) {
    // An older file rounded the angle to one decimal: it reads as zero and no preset matches.
    TXTSurfaceOptions O = TextToSurfaceOptions("sptGregory,False,True,False,True,True,False,0,False,0.0");
    EXPECT_EQ(O.TwistCompatibilityAngle, 0.0);
    EXPECT_EQ(SurfaceOptionsPresetCaption(O), "Customised");

    // Fields trimmed, booleans true only for "TRUE" in any letter case.
    O = TextToSurfaceOptions(" sptCoonsBrown , true ,TRUE,tRuE, false,no,yes, 3 ,True, 0.5 ");
    EXPECT_EQ(O.PatchType, sptCoonsBrown);
    EXPECT_TRUE(O.JoinAdjacentEdges && O.ForceBezierEdges && O.AllowTrianglePatches && O.ForceTwistCompatibility);
    EXPECT_FALSE(O.UseRegularSubdivision || O.UseIrregularSubdivision || O.LinearTangentInterpolation);
    EXPECT_EQ(O.SubdivisionIterations, 3);
    EXPECT_EQ(O.TwistCompatibilityAngle, 0.5);

    // Missing fields are empty, and an empty number is an error, not a silent zero.
    EXPECT_THROW(TextToSurfaceOptions("sptCoons,True,True,True,True,True,True"), EConvertError);
    EXPECT_THROW(TextToSurfaceOptions("sptCoons,True,True,True,True,True,True,2.5,True,0"), EConvertError);
    EXPECT_THROW(TextToSurfaceOptions("sptCoons,True,True,True,True,True,True,2,True,abc"), EConvertError);
}

TEST(SurfaceOptionsText, IterationsAboveTheMaximumAreClampedWithOneConsoleLine) {
    std::vector<std::string> Console;
    GConsole->OnLine = [&](const std::string& Line) { Console.push_back(Line); };
    const TXTSurfaceOptions Deep =
        ReadSurfaceOptions("sptSubdivision,False,False,True,True,True,False,12,False,0.0174", "Hull");
    const TXTSurfaceOptions Fine =
        ReadSurfaceOptions("sptSubdivision,False,False,True,True,True,False,8,False,0.0174", "Deck");
    GConsole->OnLine = nullptr;
    EXPECT_EQ(Deep.SubdivisionIterations, 8);
    EXPECT_EQ(Fine.SubdivisionIterations, 8);
    ASSERT_EQ(Console.size(), 1u);
    EXPECT_NE(Console[0].find("Hull"), std::string::npos) << Console[0];
    EXPECT_NE(Console[0].find("12"), std::string::npos) << Console[0];
}

TEST(SurfacePatchType, EveryNameReadsBackAsItself) {
    for (int T = 0; T <= 9; ++T) {
        const auto Type = static_cast<TXTPatchType>(T);
        EXPECT_EQ(TextToSurfacePatchType(SurfacePatchTypeToText(Type)), Type) << SurfacePatchTypeToText(Type);
    }
    EXPECT_EQ(SurfacePatchTypeToText(sptGregoryNPatch), "sptGregoryNPatch");
    EXPECT_EQ(SurfacePatchTypeToText(static_cast<TXTPatchType>(10)), "sptLinearCoonsBezier");
    EXPECT_EQ(TextToSurfacePatchType("nothing here"), sptLinearCoonsBezier);
    EXPECT_EQ(TextToSurfacePatchType("sptgregory"), sptLinearCoonsBezier);  // case counts
}

TEST(SurfaceDrawOptions, TextListsNamesInDisplayOrder) {
    EXPECT_EQ(DrawOptionsToText({}), "[]");
    TXTSurfaceDrawOptions O;
    O.Include(sdoVertices);
    O.Include(sdoEdges);
    EXPECT_EQ(DrawOptionsToText(O), "[sdoVertices, sdoEdges]");
    O.Include(sdoSurfacePolygons);
    O.Include(sdoLocalFacePolygons);
    O.Include(sdoSurfaces);
    EXPECT_EQ(DrawOptionsToText(O),
              "[sdoVertices, sdoEdges, sdoSurfaces, sdoLocalFacePolygons, sdoSurfacePolygons]");

    TXTSurfaceDrawOptions All;
    for (int B = 0; B < 15; ++B) All.Include(static_cast<TXTSurfaceDrawOption>(B));
    EXPECT_EQ(All.Bits, 0x7FFF);
    EXPECT_EQ(TextToDrawOptions(DrawOptionsToText(All)), All);
    EXPECT_EQ(TextToDrawOptions(DrawOptionsToText(O)), O);
}

TEST(SurfaceDrawOptions, ANameDoesNotSetTheOptionsWhoseNamesResembleIt) {
    const std::pair<const char*, TXTSurfaceDrawOption> Cases[] = {
        {"sdoSurfaces", sdoSurfaces},     {"sdoEdges", sdoEdges},
        {"sdoEdgeTangents", sdoEdgeTangents}, {"sdoLocalEdges", sdoLocalEdges},
        {"sdoSurfacePolygons", sdoSurfacePolygons}, {"sdoEdgeSurfaceNormals", sdoEdgeSurfaceNormals}};
    for (auto [Text, Only] : Cases) {
        TXTSurfaceDrawOptions Expected;
        Expected.Include(Only);
        EXPECT_EQ(TextToDrawOptions(Text), Expected) << Text;
    }
    EXPECT_EQ(TextToDrawOptions("sdoVerticessdoEdges").Bits, 0x3);  // no separators needed
    EXPECT_EQ(TextToDrawOptions("[SDOVERTICES]").Bits, 0);
}
