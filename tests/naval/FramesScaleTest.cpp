// The frame table's conversions from x to frame numbers, its mapping along x and the scale it draws.
#include <gtest/gtest.h>

#include <cmath>

#include "document/Frames.h"
#include "platform/RecordingGraphics.h"

namespace sarnova {
namespace {

TFrames Table(const char* Definition) {
    TFrames T;
    T.SetDefinition(Definition);
    return T;
}

// Counts lines instead of recording them.
class TLineCounter : public TRecordingGraphics {
public:
    int Lines = 0;
    void Line(double, double, double, double, double, double) override { ++Lines; }
};

TEST(FramesScale, FrameNumbersAndRanges) {
    const TFrames Plain = Table("Frames 0 1");
    EXPECT_DOUBLE_EQ(Plain.FrameNumber(12.5), 12.5);
    EXPECT_EQ(Plain.SpacingOfFrame(300000), nullptr);
    EXPECT_NE(Plain.SpacingOfFrame(-100000), nullptr);

    const TFrames Stepped = Table("Frames 5 0.6 10 0.7");
    EXPECT_NEAR(Stepped.FrameNumber(12.4), 12, 1e-12);
    EXPECT_NEAR(Stepped.FrameNumber(4.4), -1, 1e-12);
    EXPECT_EQ(Stepped.SpacingOfFrame(12), &Stepped.Spacings(1));
    EXPECT_EQ(Stepped.SpacingOfFrame(9.5), &Stepped.Spacings(0));
    // Beyond the last range's x interval no range answers.
    EXPECT_EQ(Stepped.FrameNumber(1e9), -1);
}

TEST(FramesScale, TransformedAlongX) {
    TMMatrix M = IdentityMatrix;
    M[0][0] = 2;
    M[0][3] = 3;
    const auto Moved = Table("Frames 0 1").Transformed(M);
    EXPECT_DOUBLE_EQ(Moved->Origin, 3);
    EXPECT_DOUBLE_EQ(Moved->FramePosition(4), 11);
    EXPECT_EQ(Moved->XMin, 0);
    // Several ranges map to the table their mapped definition gives.
    const auto Stepped = Table("Frames 5 0.6 10 0.7").Transformed(M);
    const TFrames Expected = Table("Frames 13 1.2 10 1.4");
    for (double Frame : {-20.0, 0.0, 10.0, 25.0}) EXPECT_NEAR(Stepped->FramePosition(Frame), Expected.FramePosition(Frame), 1e-9);
    EXPECT_NEAR(Stepped->FrameNumber(Expected.FramePosition(12)), 12, 1e-9);
}

TEST(FramesScale, MirroredTableStillAnswersFrameNumbers) {
    TMMatrix M = IdentityMatrix;
    M[0][0] = -1;
    M[0][3] = 20;
    for (const char* Text : {"Frames 0 1", "Frames 5 0.6 10 0.7"}) {
        const TFrames Original = Table(Text);
        const auto Mirrored = Original.Transformed(M);
        for (double Frame : {-30.0, -1.0, 0.0, 10.0, 12.0, 50.5}) {
            const double X = Mirrored->FramePosition(Frame);
            EXPECT_NEAR(X, 20 - Original.FramePosition(Frame), 1e-9) << Text << " " << Frame;
            EXPECT_NEAR(Mirrored->FrameNumber(X), Frame, 1e-9) << Text << " " << Frame;
        }
    }
}

TEST(FramesScale, DrawsTheAxisAndTwoTicksPerWholeFrame) {
    TFrames T = Table("Frames 0 1");
    T.XMin = -10;
    T.XMax = 100;
    TRecordingGraphics View;
    T.Draw(View);
    ASSERT_EQ(View.Calls.size(), 1u + 2 * 111);
    const auto& Ticks = View.Calls;
    // Frame 0 is a tenth frame, frame 1 is not.
    EXPECT_DOUBLE_EQ(Ticks[21].Points[1].Z, -1);
    EXPECT_DOUBLE_EQ(Ticks[22].Points[0].Y, -1);
    EXPECT_DOUBLE_EQ(Ticks[23].Points[1].Z, -0.5);

    // The limits' frame numbers are cut towards zero: -10.5 gives -10 and 99.7 gives 99.
    T.XMin = -10.5;
    T.XMax = 99.7;
    TLineCounter Cut;
    T.Draw(Cut);
    EXPECT_EQ(Cut.Lines, 1 + 2 * 110);

    // Limits far beyond every frame, or a spacing of 0, draw a bounded scale.
    T.XMin = -1e30;
    T.XMax = 1e30;
    TLineCounter Far;
    T.Draw(Far);
    EXPECT_EQ(Far.Lines, 1 + 2 * 400000);
    // No definition gives such a table, but the scale does not rely on that.
    TFrames Flat;
    Flat.AddSpacing(0) = {0, 0, -1e33, 1e33, -100000, 300000};
    Flat.XMin = -10;
    Flat.XMax = 10;
    TLineCounter None;
    Flat.Draw(None);
    EXPECT_EQ(None.Lines, 1);
}

}  // namespace
}  // namespace sarnova
