// Image planes: their axes, the pixel aspect ratio, handle moves with and without the aspect lock,
// rescaling to the selection window, the text block and reading picture files.
#include "entities/ImagePlane.h"

#include <gtest/gtest.h>

#include "document/DragPoints.h"
#include "foundation/Errors.h"
#include "foundation/TextFile.h"
#include "platform/ImageReader.h"

namespace sarnova::test {
namespace {

void ExpectExtents(const TImageExtents& E, TImageExtentsRecord R, double Tol = 1e-9, const char* What = "") {
    EXPECT_NEAR(E.MinU(), R.MinU, Tol) << What;
    EXPECT_NEAR(E.MinV(), R.MinV, Tol) << What;
    EXPECT_NEAR(E.MaxU(), R.MaxU, Tol) << What;
    EXPECT_NEAR(E.MaxV(), R.MaxV, Tol) << What;
}

// A picture of W x H pixels on the rectangle R.
void Place(TImagePlane& Plane, int W, int H, TImageExtentsRecord R) {
    TOpenGLImage Pixels(W, H);
    if (W > 0 && H > 0) Pixels.SetPixel(0, clRed);
    Plane.Image().Compress(Pixels);
    Plane.ImageExtents().SetExtents(R);
}

TEST(ImagePlaneAxes, UprightOnTheXAndYPlanes) {
    struct TCase {
        TMVector N, U, V;
    };
    const TCase Cases[] = {
        {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
        {{0, 1, 0}, {1, 0, 0}, {0, 0, 1}},
        {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}},
        // A tie between x and z goes to x.
        {VectorNormalise({1, 0, 1}), VectorNormalise({0, 1, 0}), VectorNormalise({-1, 0, 1})},
    };
    for (const TCase& C : Cases) {
        TMVector U, V;
        ImagePlaneAxes(C.N, U, V);
        ExpectNear(U, C.U, "U");
        ExpectNear(V, C.V, "V");
    }
    // Points of an offset Y plane: u along x, v up along z.
    TImagePlane Plane;
    Plane.SetPlane({0, 1, 0}, 2);
    ExpectNear(Plane.PointAt(3, 4), {3, 2, 4});
}

TEST(ImagePlane, NewPlaneAndItsBounds) {
    TImagePlane Plane;
    ExpectNear(Plane.Plane().Normal, {0, 0, 1});
    EXPECT_EQ(Plane.Plane().Distance, 0);
    ExpectExtents(Plane.ImageExtents(), {0, 0, 1, 1});
    ExpectExtents(Plane.SelectionWindow(), {0, 0, 1, 1});
    EXPECT_EQ(Plane.PixelAspectRatio(), 0);
    EXPECT_FALSE(Plane.LockAspectRatio);

    // The picture rectangle as a slab 0.02 thick about the plane.
    Plane.SetPlane({1, 0, 0}, 5);
    Plane.ImageExtents().SetExtents({-1, 2, 3, 4});
    const TMBox B = Plane.GetBounds();
    ExpectNear(B.Min, {4.99, -1, 2});
    ExpectNear(B.Max, {5.01, 3, 4});

    // The texture's s along u and t along v, the bottom row at minimum v.
    const auto Quad = Plane.TextureQuad();
    ExpectNear(Quad[0].Point, {5, -1, 2});
    ExpectNear(Quad[1].Point, {5, 3, 2});
    EXPECT_EQ(Quad[1].S, 1);
    EXPECT_EQ(Quad[1].T, 0);
    ExpectNear(Quad[3].Point, {5, -1, 4});
    EXPECT_EQ(Quad[3].T, 1);
}

TEST(ImagePlane, SelectionWindowIsDashedBlackAndWhiteOnBothSides) {
    TImagePlane Plane;
    Plane.SelectionWindow().SetExtents({1, 2, 3, 4});
    const auto Loops = Plane.SelectionWindowLoops();
    const TColor Colours[] = {clBlack, clWhite, clWhite, clBlack};
    const std::uint16_t Patterns[] = {0xF0F0, 0x0F0F, 0xF0F0, 0x0F0F};
    for (int I = 0; I < 4; ++I) {
        const TStippledLoop& L = Loops[static_cast<std::size_t>(I)];
        EXPECT_EQ(L.Color, Colours[I]) << I;
        EXPECT_EQ(L.Pattern, Patterns[I]) << I;
        // Corners 0, 3, 2, 1 above the plane, then below it.
        const double Z = I < 2 ? 0.01 : -0.01;
        ExpectNear(L.Points[0], {1, 2, Z});
        ExpectNear(L.Points[1], {3, 2, Z});
        ExpectNear(L.Points[2], {3, 4, Z});
        ExpectNear(L.Points[3], {1, 4, Z});
    }
}

TEST(ImagePlane, PixelAspectRatioKeepsAreaAndCentre) {
    TImagePlane Plane;
    Place(Plane, 200, 100, {0, 0, 4, 2});
    EXPECT_DOUBLE_EQ(Plane.PixelAspectRatio(), 1);
    Plane.SetPixelAspectRatio(2);
    const double H = std::sqrt(8.0) / 2;
    ExpectExtents(Plane.ImageExtents(), {2 - H, 1 - H, 2 + H, 1 + H});
    EXPECT_NEAR(Plane.ImageExtents().MinU(), 0.586, 1e-3);
    EXPECT_NEAR(Plane.PixelAspectRatio(), 2, 1e-12);

    // No picture, no area, or a ratio that is not a positive number: nothing changes.
    struct TCase {
        int W, H;
        TImageExtentsRecord R;
        double Ratio;
    };
    const TCase Unchanged[] = {{0, 0, {0, 0, 4, 2}, 2},   {200, 100, {1, 0, 1, 2}, 2}, {200, 100, {0, 1, 4, 1}, 2},
                               {200, 100, {0, 0, 4, 2}, 0}, {200, 100, {0, 0, 4, 2}, -1},
                               {200, 100, {0, 0, 4, 2}, std::nan("")}};
    for (const TCase& C : Unchanged) {
        TImagePlane Other;
        Place(Other, C.W, C.H, C.R);
        Other.SetPixelAspectRatio(C.Ratio);
        ExpectExtents(Other.ImageExtents(), C.R, 0, "unchanged");
    }
}

TEST(ImagePlane, HandlesMoveTheirEdges) {
    // Without the lock each handle takes its own edges along.
    const TImageExtentsRecord Free[8] = {{-1, -1, 4, 2}, {0, -1, 4, 2}, {0, -1, 5, 2}, {0, 0, 5, 2},
                                         {0, 0, 5, 3},   {0, 0, 4, 3},  {-1, 0, 4, 3}, {-1, 0, 4, 2}};
    for (int K = 0; K < 8; ++K) {
        TImagePlane Plane;
        Plane.ImageExtents().SetExtents({0, 0, 4, 2});
        const bool Right = K >= 2 && K <= 4;
        const bool Top = K >= 4 && K <= 6;
        Plane.MoveHandle(K, Right ? 5 : -1, Top ? 3 : -1);
        ExpectExtents(Plane.ImageExtents(), Free[K], 1e-12, "free");
    }

    // With the lock the proportions (here 1:2) stay.
    struct TCase {
        int K;
        double U, V;
        TImageExtentsRecord Result;
    };
    const TCase Locked[] = {
        {3, 6, 0, {0, 0, 6, 3}},
        {5, 0, 4, {0, 0, 8, 4}},
        {7, -4, 0, {-4, -2, 4, 2}},
        {1, 0, -2, {-4, -2, 4, 2}},
        // Corner 4 dragged further along v than along u: v decides.
        {4, 5, 6, {0, 0, 12, 6}},
        // Corner 0 dragged further along u: u decides.
        {0, -4, -1, {-4, -2, 4, 2}},
        {2, 8, 1, {0, -2, 8, 2}},
        {6, 1, 3, {-2, 0, 4, 3}},
    };
    for (const TCase& C : Locked) {
        TImagePlane Plane;
        Plane.LockAspectRatio = true;
        Plane.ImageExtents().SetExtents({0, 0, 4, 2});
        Plane.MoveHandle(C.K, C.U, C.V);
        ExpectExtents(Plane.ImageExtents(), C.Result, 1e-12, ("locked " + std::to_string(C.K)).c_str());
    }

    // A rectangle without height has no proportions to keep: the lock acts as off.
    TImagePlane Flat;
    Flat.LockAspectRatio = true;
    Flat.ImageExtents().SetExtents({0, 1, 4, 1});
    Flat.MoveHandle(3, 6, 0);
    ExpectExtents(Flat.ImageExtents(), {0, 1, 6, 1}, 0);
    Flat.MoveHandle(5, 0, 3);
    ExpectExtents(Flat.ImageExtents(), {0, 1, 6, 3}, 0);
}

TEST(ImagePlane, RescaleMovesThePictureWithTheWindow) {
    TImagePlane Plane;
    Plane.ImageExtents().SetExtents({0, 0, 4, 2});
    Plane.SelectionWindow().SetExtents({1, 0.5, 3, 1.5});
    Plane.RescaleToSelection(10, 10, 20, 15);
    ExpectExtents(Plane.ImageExtents(), {5, 7.5, 25, 17.5});
    ExpectExtents(Plane.SelectionWindow(), {10, 10, 20, 15});

    // A window or picture without size along u or v gives no scale: nothing changes.
    const std::pair<TImageExtentsRecord, TImageExtentsRecord> Unchanged[] = {
        {{0, 0, 4, 2}, {1, 0.5, 1, 1.5}}, {{0, 0, 4, 2}, {1, 1, 3, 1}},
        {{0, 0, 0, 2}, {1, 0.5, 3, 1.5}}, {{0, 2, 4, 2}, {1, 0.5, 3, 1.5}}};
    for (const auto& [Picture, Window] : Unchanged) {
        TImagePlane Other;
        Other.ImageExtents().SetExtents(Picture);
        Other.SelectionWindow().SetExtents(Window);
        Other.RescaleToSelection(10, 10, 20, 15);
        ExpectExtents(Other.ImageExtents(), Picture, 0, "picture");
        ExpectExtents(Other.SelectionWindow(), Window, 0, "window");
    }
}

TEST(ImagePlane, BlockRoundTripsAndOlderBlocksLoad) {
    TImagePlane Plane;
    Plane.SetPlane({0, 1, 0}, -2.5);
    Plane.LockAspectRatio = true;
    Place(Plane, 3, 2, {0.25, -1, 4.5, 2});
    Plane.SelectionWindow().SetExtents({1, 1, 2, 2});
    TTextWriter Out;
    Plane.SaveToText(Out);
    const std::string Text = Out.Text();
    EXPECT_EQ(Text,
              "PlaneNormal=(0,1,0)\nPlaneOffset=-2.5\nLockAspectRatio=TRUE\nMinV=0.25\nMinV=-1\nMaxV=4.5\nMaxV=2\n"
              "Width=3\nHeight=2\nCount=2\n000000ff04000000\n");

    TImagePlane Read;
    TTextReader In(Text);
    Read.LoadFromText(In);
    ExpectNear(Read.Plane().Normal, {0, 1, 0});
    EXPECT_EQ(Read.Plane().Distance, -2.5);
    ExpectNear(Read.VAxis(), {0, 0, 1});
    EXPECT_TRUE(Read.LockAspectRatio);
    ExpectExtents(Read.ImageExtents(), {0.25, -1, 4.5, 2}, 0);
    ExpectExtents(Read.SelectionWindow(), {0, 0, 1, 1}, 0);
    TTextWriter Again;
    Read.SaveToText(Again);
    EXPECT_EQ(Again.Text(), Text);

    // Without the lock line the lock is off and the next line is the picture rectangle.
    TImagePlane Older;
    Older.LockAspectRatio = true;
    TTextReader Old("PlaneNormal=(1,0,0)\nPlaneOffset=0\nMinV=1\nMinV=2\nMaxV=3\nMaxV=4\nWidth=0\nHeight=0\nCount=0\n");
    Older.LoadFromText(Old);
    EXPECT_FALSE(Older.LockAspectRatio);
    ExpectExtents(Older.ImageExtents(), {1, 2, 3, 4}, 0);

    // Bad numbers and a normal of no length are refused and change nothing.
    const char* Bad[] = {"PlaneNormal=(0,0,1)\nPlaneOffset=x\n",
                         "PlaneNormal=(0,0,0)\nPlaneOffset=0\nMinV=1\nMinV=2\nMaxV=3\nMaxV=4\nWidth=0\nHeight=0\nCount=0\n",
                         "PlaneNormal=(0,0,1)\nPlaneOffset=0\nMinV=1\nMinV=2\nMaxV=3\nMaxV=4\nWidth=1\nHeight=1\nCount=1\nzz\n"};
    for (const char* B : Bad) {
        TTextReader BadIn(B);
        EXPECT_THROW(Read.LoadFromText(BadIn), EError) << B;
        ExpectExtents(Read.ImageExtents(), {0.25, -1, 4.5, 2}, 0);
        EXPECT_EQ(Read.Image().GetWidth(), 3);
    }
    try {
        TTextReader BadIn(Bad[0]);
        Read.LoadFromText(BadIn);
    } catch (const EConvertError& E) {
        EXPECT_STREQ(E.what(), "Unable to convert string to number (x)");
    }
}

// Answers every file with a 2 x 1 picture, red then blue; a name with "broken" fails.
class TTwoPixelReader : public IImageReader {
public:
    TPicture ReadPicture(const std::filesystem::path& FileName) override {
        if (FileName.string().find("broken") != std::string::npos) throw EError("Bitmap image is not valid");
        return {2, 1, {255, 0, 0, 0, 0, 255}};
    }
};

TEST(ImagePlane, PicturesComeThroughTheInstalledReader) {
    TImagePlane Plane;
    // Without a reader a picture cannot be read; the plane stays without one.
    EXPECT_THROW(Plane.LoadImage("any.bmp"), EError);
    EXPECT_EQ(Plane.Image().Count(), 0);
    Plane.NegativeImage();
    EXPECT_EQ(Plane.Image().Count(), 0);

    TTwoPixelReader Reader;
    SetImageReader(&Reader);
    Plane.LoadImage("plan.bmp");
    ASSERT_EQ(Plane.Image().Count(), 2);
    EXPECT_EQ(Plane.Image().Runs(0), 0x000000FFu);
    EXPECT_EQ(Plane.Image().Runs(1), 0x00FF0000u);
    EXPECT_THROW(Plane.LoadImage("broken.bmp"), EError);
    EXPECT_EQ(Plane.Image().Runs(1), 0x00FF0000u) << "the previous picture stays";
    Plane.NegativeImage();
    EXPECT_EQ(Plane.Image().Runs(0), 0x00FFFF00u);
    SetImageReader(nullptr);
}

}  // namespace
}  // namespace sarnova::test
