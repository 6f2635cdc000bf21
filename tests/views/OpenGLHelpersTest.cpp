// Pictures read from files for OpenGL: bottom row first, red, green, blue.
#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>

#include "foundation/Errors.h"
#include "platform/qt/OpenGLHelpers.h"

using namespace sarnova;

TEST(OpenGLPictures, FilesLoadBottomRowFirst) {
    const auto Folder = std::filesystem::temp_directory_path();
    const auto File = Folder / "sarnova-picture.png";
    QImage Picture(3, 2, QImage::Format_RGB32);
    Picture.fill(QColor(0, 0, 255));
    Picture.setPixelColor(0, 0, QColor(255, 0, 0));  // top left
    Picture.setPixelColor(2, 1, QColor(0, 255, 0));  // bottom right
    ASSERT_TRUE(Picture.save(QString::fromStdString(File.string())));

    TOpenGLImage Image;
    LoadImageFromFile(Image, File);
    ASSERT_EQ(Image.GetWidth(), 3);
    ASSERT_EQ(Image.GetHeight(), 2);
    const std::uint8_t* P = Image.GetData();
    const std::uint8_t Expected[18] = {0, 0, 255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 0, 255, 0, 0, 255};
    EXPECT_TRUE(std::equal(P, P + 18, Expected));

    TOpenGLCompressedImage Compressed;
    LoadCompressedImageFromFile(Compressed, File);
    EXPECT_EQ(Compressed.Count(), 4);
    std::filesystem::remove(File);

    EXPECT_THROW(LoadImageFromFile(Image, Folder / "sarnova-no-such-picture.png"), EInOutError);
    const auto Text = Folder / "sarnova-not-a-picture.png";
    { std::FILE* F = std::fopen(Text.c_str(), "w"); std::fputs("hello", F); std::fclose(F); }
    try {
        LoadImageFromFile(Image, Text);
        ADD_FAILURE();
    } catch (const EError& E) {
        EXPECT_STREQ(E.what(), "Bitmap image is not valid");
    }
    std::filesystem::remove(Text);
}
