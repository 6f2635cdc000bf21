#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/OpenGLCompressedImage.h"
#include "foundation/Colors.h"
#include "foundation/Errors.h"
#include "foundation/TextBlock.h"

using namespace sarnova;

namespace {

TOpenGLImage ImageOf(int W, int H, const std::vector<TColor>& Pixels) {
    TOpenGLImage Image(W, H);
    for (int I = 0; I < int(Pixels.size()); ++I) Image.SetPixel(I, Pixels[std::size_t(I)]);
    return Image;
}

std::vector<std::uint8_t> Bytes(const TOpenGLImage& Image) {
    return {Image.GetData(), Image.GetData() + Image.GetSize()};
}

}  // namespace

TEST(OpenGLCompressedImage, RunsOfEqualPixelsBecomeWordsAndText) {
    const TOpenGLImage Image = ImageOf(5, 1, {clRed, clRed, clLime, clLime, clLime});
    TOpenGLCompressedImage C;
    C.Compress(Image);
    ASSERT_EQ(C.Count(), 2);
    EXPECT_EQ(C.Runs(0), 0x010000FFu);
    EXPECT_EQ(C.Runs(1), 0x0200FF00u);
    EXPECT_EQ(SavedText(C), "Width=5\nHeight=1\nCount=2\n010000ff0200ff00\n");

    TOpenGLCompressedImage Back;
    LoadText(Back, SavedText(C));
    EXPECT_EQ(SavedText(Back), SavedText(C));
    EXPECT_EQ(Bytes(*Back.Decompress()), Bytes(Image));
}

TEST(OpenGLCompressedImage, RunsHoldAtMost256Pixels) {
    TOpenGLImage Image(300, 1);
    for (int I = 0; I < 300; ++I) Image.SetPixel(I, clBlue);
    TOpenGLCompressedImage C;
    C.Compress(Image);
    ASSERT_EQ(TOpenGLCompressedImage::CountRuns(Image), 2);
    ASSERT_EQ(C.Count(), 2);
    EXPECT_EQ(C.Runs(0), 0xFFFF0000u);
    EXPECT_EQ(C.Runs(1), 0x2BFF0000u);
    EXPECT_EQ(Bytes(*C.Decompress()), Bytes(Image));
}

TEST(OpenGLCompressedImage, ThirtyWordsToALineAndAWordWithHighBitsReadsBack) {
    // 31 runs of alternating colours, the last one long enough to set the top bit of its word.
    std::vector<TColor> Pixels;
    for (int Run = 0; Run < 31; ++Run)
        for (int K = 0; K < (Run == 30 ? 200 : 1); ++K) Pixels.push_back(Run % 2 ? clWhite : clBlack);
    const TOpenGLImage Image = ImageOf(int(Pixels.size()), 1, Pixels);
    TOpenGLCompressedImage C;
    C.Compress(Image);
    ASSERT_EQ(C.Count(), 31);
    const std::string Text = SavedText(C);
    const std::size_t Start = Text.find("Count=31\n") + 9;
    const std::size_t FirstEnd = Text.find('\n', Start);
    EXPECT_EQ(FirstEnd - Start, 240u);
    EXPECT_EQ(Text.substr(FirstEnd + 1), "c7000000\n");

    TOpenGLCompressedImage Back;
    LoadText(Back, Text);
    EXPECT_EQ(SavedText(Back), Text);
    EXPECT_EQ(Bytes(*Back.Decompress()), Bytes(Image));
}

TEST(OpenGLCompressedImage, NegateTwiceRestoresEveryWord) {
    TOpenGLCompressedImage C;
    C.Compress(ImageOf(3, 1, {RGBColor(1, 2, 3), RGBColor(1, 2, 3), RGBColor(250, 0, 128)}));
    C.Negate();
    EXPECT_EQ(C.Runs(0), 0x01FCFDFEu);
    EXPECT_EQ(C.Runs(1), 0x007FFF05u);
    C.Negate();
    EXPECT_EQ(C.Runs(0), 0x01030201u);
    EXPECT_EQ(C.Runs(1), 0x008000FAu);

    TOpenGLCompressedImage Empty;
    Empty.Negate();
    EXPECT_EQ(Empty.Count(), 0);
    EXPECT_EQ(Empty.Decompress(), nullptr);
}

TEST(OpenGLCompressedImage, BadTextIsRefusedAndLeavesTheImageAsItWas) {
    const std::pair<const char*, const char*> Cases[] = {
        {"Width=x\nHeight=1\nCount=1\n000000FF\n", "'x' is not a valid integer value"},
        {"Width=1\nHeight=1\nCount=1\n0000GGFF\n", "'$0000GGFF' is not a valid integer value"},
        {"Width=2\nHeight=1\nCount=2\n000000FF\n", "'$' is not a valid integer value"},     // file ends early
        {"Width=2\nHeight=1\nCount=2\n000000FF0000\n", "'$0000' is not a valid integer value"},  // word cut
        {"Width=3\nHeight=1\nCount=1\n010000FF\n", "Compressed image - the runs do not cover Width x Height"},
        {"Width=1\nHeight=1\nCount=-1\n", "Compressed image - the runs do not cover Width x Height"},
    };
    for (auto [Text, Message] : Cases) {
        TOpenGLCompressedImage C;
        C.Compress(ImageOf(1, 1, {clRed}));
        try {
            LoadText(C, Text);
            ADD_FAILURE() << Text;
        } catch (const EConvertError& E) {
            EXPECT_STREQ(E.what(), Message) << Text;
        }
        EXPECT_EQ(SavedText(C), "Width=1\nHeight=1\nCount=1\n000000ff\n") << Text;
    }
}

TEST(OpenGLCompressedImage, ReaderTakesCrLfAndIgnoresTheKeys) {
    TOpenGLCompressedImage C;
    LoadText(C, "W=2\r\nH=1\r\nN=1\r\n010000FF  \r\n");
    EXPECT_EQ(C.GetWidth(), 2);
    EXPECT_EQ(C.Count(), 1);
    EXPECT_EQ(Bytes(*C.Decompress()), (std::vector<std::uint8_t>{255, 0, 0, 255, 0, 0}));
}

TEST(OpenGLImage, PixelsAreBoundsChecked) {
    TOpenGLImage Image(2, 2);
    EXPECT_EQ(Image.GetSize(), 12);
    Image.SetPixel(3, RGBColor(10, 20, 30));
    EXPECT_EQ(Image.GetData()[9], 10);
    EXPECT_EQ(Image.GetData()[11], 30);
    EXPECT_THROW(Image.SetPixel(4, clRed), EError);
    EXPECT_THROW(Image.SetPixel(-1, clRed), EError);
    EXPECT_THROW(TOpenGLImage(-1, 5), EError);
    EXPECT_THROW(TOpenGLImage(100000, 100000), EError);
    Image.Clear();
    EXPECT_EQ(Image.GetSize(), 0);
    EXPECT_EQ(Image.GetWidth(), 2);
}
