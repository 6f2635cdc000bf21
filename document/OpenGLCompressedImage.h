// Pictures as the 3-D view textures them and as documents store them: an RGB pixel image in OpenGL
// row order, and its run-length compressed form with the text block that image planes are saved in.
// Loading from picture files, scaling and uploading are the GUI's (platform/qt/OpenGLHelpers.h).
#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

#include "foundation/Colors.h"

namespace sarnova {

class TTextReader;
class TTextWriter;
struct TPicture;

// Three bytes per pixel (red, green, blue), rows packed without padding, row 0 at the bottom.
class TOpenGLImage {
public:
    // No pixels.
    TOpenGLImage() = default;
    // Bytes bytes of zeros and a size of 0 x 0; throws EError for a negative count.
    explicit TOpenGLImage(int Bytes);
    // W x H black pixels; throws EError for a negative or too large size.
    TOpenGLImage(int W, int H);

    int GetWidth() const { return Width; }
    int GetHeight() const { return Height; }
    // Bytes of pixel data; 0 when there is none.
    int GetSize() const { return static_cast<int>(Data.size()); }
    std::uint8_t* GetData() { return Data.data(); }
    const std::uint8_t* GetData() const { return Data.data(); }

    // Frees the pixels; Width and Height stay.
    void Clear() { Data = {}; }
    void Assign(const TOpenGLImage& Other) { *this = Other; }
    // Replaces the picture by W x H black pixels (same limits as the constructor).
    void SetSize(int W, int H);
    // Replaces the picture by a read picture file's pixels; throws EError when its bytes do not match
    // its size.
    void LoadFromPicture(const TPicture& Picture);
    // Pixel Index (row-major from the bottom row) := the colour's red, green and blue bytes; throws
    // EError for an index outside the data.
    void SetPixel(int Index, TColor Colour);

private:
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Data;
};

// Runs of equal pixels in the pixel order of TOpenGLImage. A run word holds red in byte 0, green in
// byte 1, blue in byte 2 and the run length minus one (0..255) in byte 3.
class TOpenGLCompressedImage {
public:
    int GetWidth() const { return Width; }
    int GetHeight() const { return Height; }
    // Bytes of run words (4 per run).
    int GetSize() const { return 4 * Count(); }

    void Clear();
    void Assign(const TOpenGLCompressedImage& Other) { *this = Other; }
    int Count() const { return static_cast<int>(Words.size()); }
    // Throw EError for an index outside 0 .. Count - 1.
    std::uint32_t Runs(int I) const;
    void SetRun(int I, std::uint32_t Word);

    // Replaces the runs by those of Image (its size is copied).
    void Compress(const TOpenGLImage& Image);
    static int CountRuns(const TOpenGLImage& Image);
    // Red, green and blue bytes equal.
    static bool SameColour(const std::uint8_t* A, const std::uint8_t* B);
    // The pixels again; nullptr without runs. Runs that do not add up to Width x Height (set by hand)
    // fill what they cover; the rest stays black.
    std::unique_ptr<TOpenGLImage> Decompress() const;
    // Every run's colour inverted (255 - value), lengths kept.
    void Negate();
    // The picture file's pixels through the platform's image reader, whose errors pass on; the image
    // is unchanged when it throws.
    void LoadFromFile(const std::filesystem::path& FileName);

    // "Width=", "Height=", "Count=" lines, then the words as "%8.8X", 30 to a line.
    void SaveToText(TTextWriter& Out) const;
    // Reads what SaveToText wrote; the keys before "=" are not checked. Throws EConvertError
    // "'<text>' is not a valid integer value" for a number or run word that does not read (also a word
    // cut short by the end of a line or of the file), and EConvertError "Compressed image - the runs
    // do not cover Width x Height" for runs whose lengths do not add up to the image (or a negative
    // size or count). The image is unchanged when it throws.
    void LoadFromText(TTextReader& In);

private:
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Words;
};

}  // namespace sarnova
