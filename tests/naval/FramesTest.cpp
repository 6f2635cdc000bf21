#include "document/Frames.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "foundation/Errors.h"

namespace sarnova {
namespace {

TEST(FramesTest, ThePositionComesFromTheLastRangeHoldingTheFrame) {
    TFrames Frames;
    EXPECT_EQ(Frames.Count(), 0);
    EXPECT_EQ(Frames.FramePosition(3), -1);
    Frames.AddSpacing(0.6) = {0.6, 0, -60000, 12, -100000, 20};
    Frames.AddSpacingFrom(20, 0.7) = {0.7, -2, 12, 1e33, 20, 300000};
    EXPECT_DOUBLE_EQ(Frames.FramePosition(10), 6);
    EXPECT_DOUBLE_EQ(Frames.FramePosition(19.5), 11.7);
    EXPECT_DOUBLE_EQ(Frames.FramePosition(20), 12);  // a range holds its first frame, not its last
    EXPECT_EQ(Frames.FramePosition(300000), -1);
    Frames.AddSpacing(2).LastFrame = 5;  // overlaps, and its x interval is empty: the later range decides
    EXPECT_DOUBLE_EQ(Frames.FramePosition(3), 6);
}

TEST(FramesTest, DefinitionTexts) {
    struct TCase {
        const char* Text;
        std::vector<std::pair<double, double>> Positions;  // frame, x
    };
    const TCase Cases[] = {
        {"Frames 0 1", {{-100000, -100000}, {12.5, 12.5}, {299999, 299999}, {300000, -1}}},
        {"Frames 5 0.6 10 0.7", {{10, 11}, {12, 12.4}, {-1, 4.4}}},
        {"Frames 0 1 -5 2", {{-5, -10}, {-6, -11}, {0, 0}}},
        {"FRAMES\t5   0.5", {{2, 6}}},
        // A decimal comma reads like a point, whatever the locale.
        {"Frames 5 0,6 10 0,7", {{10, 11}, {12, 12.4}, {-1, 4.4}}},
    };
    for (const TCase& Case : Cases) {
        TFrames Frames;
        Frames.SetDefinition(Case.Text);
        for (auto [Frame, X] : Case.Positions) EXPECT_NEAR(Frames.FramePosition(Frame), X, 1e-9) << Case.Text << " " << Frame;
        // The written text reads back to the same table.
        TFrames Again;
        Again.SetDefinition(Frames.GetDefinition());
        for (auto [Frame, X] : Case.Positions) EXPECT_NEAR(Again.FramePosition(Frame), X, 1e-9) << Case.Text;
    }
    TFrames Frames;
    Frames.SetDefinition("Frames 5 0.6 10 0.7");
    EXPECT_EQ(Frames.GetDefinition(), "Frames 5 0.6 10 0.7 ");
    for (const char* Bad : {"Frames 0", "Frames 0 1 10"}) {
        try {
            Frames.SetDefinition(Bad);
            ADD_FAILURE() << Bad;
        } catch (const EError& E) {
            EXPECT_STREQ(E.what(), "Error in frame Definition, Wrong number of Parameters");
        }
        EXPECT_EQ(Frames.GetDefinition(), "Frames 5 0.6 10 0.7 ");  // kept
    }
    for (const char* Bad : {"Frames x 1", "Frames 0 x", "Frames 0 1 2 x"}) {
        EXPECT_THROW(Frames.SetDefinition(Bad), EConvertError) << Bad;
        EXPECT_EQ(Frames.GetDefinition(), "Frames 5 0.6 10 0.7 ") << Bad;  // kept
    }
    Frames.SetDefinition("Frames 5 0,6 10 0,7");
    EXPECT_EQ(Frames.GetDefinition(), "Frames 5 0.6 10 0.7 ");
    Frames.Clear();
    TFrames Copy;
    Copy.XMin = -10;
    Copy.SetDefinition("Frames 0 1");
    Copy.Assign(Frames);  // an empty table changes nothing
    EXPECT_EQ(Copy.GetDefinition(), "Frames 0 1");
    Frames.SetDefinition("Frames 5 0.6 10 0.7");
    Copy.Assign(Frames);
    EXPECT_EQ(Copy.GetDefinition(), "Frames 5 0.6 10 0.7 ");
    EXPECT_EQ(Copy.XMin, -10);
}

TEST(FramesTest, SpacingsThatAreNotPositiveAndFramesOutOfOrderAreRefusedNamingTheValue) {
    const std::pair<const char*, const char*> Cases[] = {
        {"Frames 0 0", "spacing 0 is not positive"},
        {"Frames 0 -0.6", "spacing -0.6 is not positive"},
        {"Frames 0 0.6 20 0", "spacing 0 is not positive"},
        {"Frames 0 0.6 20 0.7 10 0.8", "frame 10 is out of order"},
        {"Frames 0 0.6 20 0.7 20 0.8", "frame 20 is out of order"},
        {"Frames 0 0.6 -100000 0.7", "frame -100000 is out of order"},
        {"Frames 0 0.6 300000 0.7", "frame 300000 is out of order"},
    };
    for (auto [Text, Fault] : Cases) {
        TFrames Frames;
        Frames.SetDefinition("Frames 5 0.6 10 0.7");
        try {
            Frames.SetDefinition(Text);
            ADD_FAILURE() << Text;
        } catch (const EError& E) {
            EXPECT_EQ(std::string(E.what()), std::string("Error in frame Definition, ") + Fault);
        }
        EXPECT_EQ(Frames.GetDefinition(), "Frames 5 0.6 10 0.7 ") << Text;
    }
}

}  // namespace
}  // namespace sarnova
