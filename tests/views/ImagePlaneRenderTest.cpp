// Image planes in a real OpenGL view: the picture read from a BMP file shows its colours where the
// camera puts its rectangle, and the selection window shows as a dashed outline.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "OpenGLViewFixture.h"
#include "entities/ImagePlane.h"
#include "entities/ui/ImagePlaneGL.h"
#include "platform/qt/QtImageReader.h"

namespace sarnova {
namespace {

void Put32(std::ofstream& Out, std::uint32_t V) {
    for (int I = 0; I < 4; ++I) Out.put(static_cast<char>((V >> (8 * I)) & 0xFF));
}
void Put16(std::ofstream& Out, std::uint16_t V) {
    Out.put(static_cast<char>(V & 0xFF));
    Out.put(static_cast<char>(V >> 8));
}

// A 24-bit BMP of 2 x 1 pixels: red at the left, blue at the right.
std::filesystem::path WriteTwoColourBmp() {
    const auto Path = std::filesystem::temp_directory_path() / "sarnova-two-colours.bmp";
    std::ofstream Out(Path, std::ios::binary);
    Out.write("BM", 2);
    Put32(Out, 54 + 8);
    Put32(Out, 0);
    Put32(Out, 54);
    Put32(Out, 40);
    Put32(Out, 2);
    Put32(Out, 1);
    Put16(Out, 1);
    Put16(Out, 24);
    for (std::uint32_t V : {0u, 8u, 2835u, 2835u, 0u, 0u}) Put32(Out, V);
    // Blue, green, red per pixel; rows padded to four bytes.
    const unsigned char Row[8] = {0, 0, 255, 255, 0, 0, 0, 0};
    Out.write(reinterpret_cast<const char*>(Row), 8);
    return Path;
}

class ImagePlaneRenderTest : public OpenGLViewFixture {
protected:
    void SetUp() override {
        OpenGLViewFixture::SetUp();
        RegisterImagePlaneUi();
        SetImageReader(&Reader);
    }
    void TearDown() override {
        SetImageReader(nullptr);
        View->makeCurrent();
        Plane.reset();
    }
    TQtImageReader Reader;
    std::unique_ptr<TImagePlane> Plane = std::make_unique<TImagePlane>();
};

TEST_F(ImagePlaneRenderTest, BothColoursShowWhereTheCameraPutsThePicture) {
    const auto File = WriteTwoColourBmp();
    Plane->LoadImage(File);
    std::filesystem::remove(File);
    ASSERT_EQ(Plane->Image().GetWidth(), 2);
    Plane->ImageExtents().SetExtents({-4, -2, 4, 2});
    View->OnRedraw = [this](void*, IGraphics& G) { G.RenderObject(*Plane); };
    View->SetProjection(cmParallel);
    View->ViewXY();
    View->ZoomAll();
    const TPoint Left = View->WorldToScreen(-2, 0, 0);
    const TPoint Right = View->WorldToScreen(2, 0, 0);
    EXPECT_EQ(PixelAt(Left.X, Left.Y), QColor(255, 0, 0));
    EXPECT_EQ(PixelAt(Right.X, Right.Y), QColor(0, 0, 255));
    const TPoint Outside = View->WorldToScreen(0, 3, 0);
    EXPECT_EQ(PixelAt(Outside.X, Outside.Y), QColor(0, 0, 0));

    // The negative swaps in the inverted colours at the next paint.
    Plane->NegativeImage();
    View->Render();
    EXPECT_EQ(PixelAt(Left.X, Left.Y), QColor(0, 255, 255));
    EXPECT_EQ(PixelAt(Right.X, Right.Y), QColor(255, 255, 0));
}

TEST_F(ImagePlaneRenderTest, SelectionWindowIsDashedBlackAndWhite) {
    Plane->ImageExtents().SetExtents({-4, -2, 4, 2});
    Plane->SelectionWindow().SetExtents({-2, -1, 2, 1});
    View->OnRedraw = [this](void*, IGraphics& G) { Plane->DrawSelectionWindow(G); };
    View->SetBackColor(clGray);
    View->SetProjection(cmParallel);
    View->ViewXY();
    View->Render();
    const TPoint A = View->WorldToScreen(-2, -1, 0);
    const TPoint B = View->WorldToScreen(2, -1, 0);
    int Black = 0, White = 0;
    for (int X = A.X + 1; X < B.X; ++X)
        for (int DY = -1; DY <= 1; ++DY) {
            const QColor C = PixelAt(X, A.Y + DY);
            Black += C == QColor(0, 0, 0);
            White += C == QColor(255, 255, 255);
        }
    EXPECT_GT(Black, 4);
    EXPECT_GT(White, 4);
}

}  // namespace
}  // namespace sarnova
