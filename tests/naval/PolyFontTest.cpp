// The stroke font: glyph parsing, the committed table and texts as polylines.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <sstream>

#include "PolylineShape.h"
#include "foundation/PolyList.h"
#include "naval/PolyFont.h"

using namespace sarnova;

namespace {

void ExpectPoints(const std::vector<TMVector>& Got, const std::vector<TMVector>& Want, const char* What) {
    ASSERT_EQ(Got.size(), Want.size()) << What;
    for (std::size_t I = 0; I < Want.size(); ++I) {
        EXPECT_NEAR(Got[I].X, Want[I].X, 1e-5) << What << " point " << I;
        EXPECT_NEAR(Got[I].Y, Want[I].Y, 1e-5) << What << " point " << I;
        EXPECT_NEAR(Got[I].Z, Want[I].Z, 1e-5) << What << " point " << I;
    }
}

}  // namespace

TEST(StrokeText, PlacesGlyphsAlongTheText) {
    EXPECT_EQ(StrokeText("", 0, 0, 1, 0)->Count(), 0);
    EXPECT_EQ(StrokeText(" ", 0, 0, 1, 0)->Count(), 0);

    auto L = Shape(*StrokeText("LL", 0, 0, 1, 0));
    ASSERT_EQ(L.size(), 2u);
    ExpectPoints(L[0], {{0, 6, 0}, {0, 0, 0}, {4, 0, 0}}, "first L");
    ExpectPoints(L[1], {{6, 6, 0}, {6, 0, 0}, {10, 0, 0}}, "second L");

    // A space advances by 6 without strokes; the size factor and origin scale and move the points.
    ExpectPoints(Shape(*StrokeText(" -", 1, 2, 0.5, 0))[0], {{4, 3.5, 0}, {6, 3.5, 0}}, "scaled dash");

    auto Up = Shape(*StrokeText("L", 0, 0, 1, std::numbers::pi / 2));
    ExpectPoints(Up[0], {{-6, 0, 0}, {0, 0, 0}, {0, 4, 0}}, "L turned a quarter");

    // A line feed moves the next character ten units down at the same x.
    auto Two = Shape(*StrokeText("L\nL", 0, 0, 1, 0));
    ASSERT_EQ(Two.size(), 2u);
    ExpectPoints(Two[1], {{6, -4, 0}, {6, -10, 0}, {10, -10, 0}}, "L after the line feed");
}

TEST(StrokeText, CodesWithoutGlyphDrawAsQuestionMark) {
    auto Question = Shape(*StrokeText("?", 0, 0, 1, 0));
    for (const char* Text : {"\xA4", "\x01", "\x09"}) {
        auto Got = Shape(*StrokeText(Text, 0, 0, 1, 0));
        ASSERT_EQ(Got.size(), Question.size()) << int(static_cast<unsigned char>(Text[0]));
        for (std::size_t I = 0; I < Got.size(); ++I) ExpectPoints(Got[I], Question[I], "glyph");
    }
    EXPECT_STREQ(GlyphDefinition(0xA4), GlyphDefinition('?'));
    EXPECT_STREQ(GlyphDefinition(5), GlyphDefinition('?'));
}

TEST(ParseGlyph, FollowsTheShapeCodes) {
    struct Case {
        const char* Definition;
        double Scale;
        std::vector<std::vector<TMVector>> Segments;
        double AdvanceX, AdvanceY;
    };
    const Case Cases[] = {
        // The dash and the line feed as the table keeps them.
        {"2,14,8,(-2,-3),034,1,040,2,020,03c,14,048,0", 1, {{{0, 3, 0}, {4, 3, 0}}}, 6, 0},
        {"2,0ac,14,8,(9,10),0", 1, {}, 0, -10},
        // Half steps of the odd directions, and the scale applied to vectors and displacements.
        {"1,021,8,(1,-1),2,0", 2, {{{0, 0, 0}, {4, 2, 0}, {6, 0, 0}}}, 6, 0},
        // Code 9 runs pairs, bracketed or plain, until (0,0).
        {"1,9,(1,0),(0,1),-1,0,(0,0),2,020,0", 1, {{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}}, 2, 1},
        // A pen-down while down starts no new segment; ignored codes take no operand.
        {"1,010,1,3,010,2,0", 1, {{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}}, 2, 0},
        // Without the closing 0 the definition ends at its last token.
        {"1,040", 1, {{{0, 0, 0}, {4, 0, 0}}}, 4, 0},
        // A malformed number ends the definition where it stands.
        {"1,040,8,(x,1),040,0", 1, {{{0, 0, 0}, {4, 0, 0}}}, 4, 0},
    };
    for (const Case& C : Cases) {
        auto G = ParseGlyphDefinition(C.Definition, C.Scale);
        ASSERT_EQ(G->SegmentCount(), static_cast<int>(C.Segments.size())) << C.Definition;
        for (int I = 0; I < G->SegmentCount(); ++I) {
            std::vector<TMVector> Got;
            for (int K = 0; K < G->Segments(I).Count(); ++K)
                Got.push_back({G->Segments(I).Points(K).first, G->Segments(I).Points(K).second, 0});
            ExpectPoints(Got, C.Segments[I], C.Definition);
        }
        EXPECT_DOUBLE_EQ(G->AdvanceX, C.AdvanceX) << C.Definition;
        EXPECT_DOUBLE_EQ(G->AdvanceY, C.AdvanceY) << C.Definition;
    }
}

TEST(StrokeFont, EveryGlyphStaysInItsCell) {
    BuildStrokeFont();
    ASSERT_TRUE(GStrokeFont);
    for (int Code = 0; Code < 10; ++Code) EXPECT_EQ(GStrokeFont->Glyph(Code), nullptr);
    for (const TGlyphEntry& E : GGlyphDefinitions) {
        const TCharacter* G = GStrokeFont->Glyph(static_cast<unsigned char>(E.Code));
        ASSERT_NE(G, nullptr) << E.Code;
        if (E.Code == 10) continue;
        EXPECT_EQ(G->AdvanceX, 6) << E.Code;
        EXPECT_EQ(G->AdvanceY, 0) << E.Code;
        // Strokes inside the advance, capitals and figures standing on the baseline, below the
        // accents' room and above the descenders'.
        for (int I = 0; I < G->SegmentCount(); ++I)
            for (int K = 0; K < G->Segments(I).Count(); ++K) {
                auto [X, Y] = G->Segments(I).Points(K);
                EXPECT_TRUE(X >= 0 && X <= 6 && Y >= -3 && Y <= 9) << E.Code << " at " << X << "," << Y;
            }
        if ((E.Code >= 'A' && E.Code <= 'Z' && E.Code != 'Q') || (E.Code >= '0' && E.Code <= '9')) {
            float Low = 1e9f, High = -1e9f;
            for (int I = 0; I < G->SegmentCount(); ++I)
                for (int K = 0; K < G->Segments(I).Count(); ++K) {
                    Low = std::min(Low, G->Segments(I).Points(K).second);
                    High = std::max(High, G->Segments(I).Points(K).second);
                }
            EXPECT_EQ(Low, 0) << E.Code;
            EXPECT_EQ(High, 6) << E.Code;
        }
    }
}

TEST(StrokeFont, ConverterReproducesTheCommittedTable) {
    if (!std::ifstream("/usr/share/hershey-fonts/futural.jhf")) GTEST_SKIP() << "hershey-fonts-data not installed";
    const std::string Source = SARNOVA_SOURCE_DIR;
    const std::string Command = "python3 " + Source + "/scripts/polyfont/convert.py";
    FILE* Pipe = popen(Command.c_str(), "r");
    ASSERT_NE(Pipe, nullptr);
    std::string Generated;
    char Buffer[4096];
    for (std::size_t N; (N = std::fread(Buffer, 1, sizeof Buffer, Pipe)) > 0;) Generated.append(Buffer, N);
    ASSERT_EQ(pclose(Pipe), 0);
    std::ifstream Committed(Source + "/naval/PolyFontGlyphs.cpp", std::ios::binary);
    std::stringstream Text;
    Text << Committed.rdbuf();
    EXPECT_EQ(Generated, Text.str());
}
