#include "document/OpenGLCompressedImage.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <string>

#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "foundation/TextFile.h"
#include "platform/ImageReader.h"

namespace sarnova {

namespace {

constexpr int WordsPerLine = 30;
constexpr int WordLength = 8;

std::uint32_t RunWord(const std::uint8_t* Pixel, int Repeats) {
    return Pixel[0] | (std::uint32_t(Pixel[1]) << 8) | (std::uint32_t(Pixel[2]) << 16) |
           (std::uint32_t(Repeats) << 24);
}

int RunLength(std::uint32_t Word) { return int(Word >> 24) + 1; }

// Pixels that both the size and the data hold: an image made with a byte count has no width.
int PixelCount(const TOpenGLImage& Image) {
    const long long BySize = static_cast<long long>(Image.GetWidth()) * Image.GetHeight();
    return static_cast<int>(std::clamp(BySize, 0LL, static_cast<long long>(Image.GetSize() / 3)));
}

// Calls Store(first pixel, repeats) for every run in order.
template <typename TStore>
void WalkRuns(const TOpenGLImage& Image, TStore Store) {
    const int Pixels = PixelCount(Image);
    if (Pixels == 0) return;
    const std::uint8_t* Data = Image.GetData();
    const std::uint8_t* Start = Data;
    int Repeats = 0;
    for (int I = 1; I < Pixels; ++I) {
        const std::uint8_t* Pixel = Data + 3 * I;
        if (!TOpenGLCompressedImage::SameColour(Pixel, Start) || Repeats == 255) {
            Store(Start, Repeats);
            Start = Pixel;
            Repeats = 0;
        } else {
            ++Repeats;
        }
    }
    Store(Start, Repeats);
}

// The decimal number after the first "=" of a line (the whole line when there is none).
int ReadValueLine(TTextReader& In) {
    const std::string Line = In.ReadLine();
    const std::size_t Equals = Line.find('=');
    return StrToInt(Trim(Equals == std::string::npos ? Line : Line.substr(Equals + 1)));
}

void CheckSize(int W, int H) {
    if (W < 0 || H < 0 || static_cast<long long>(W) * H * 3 > INT_MAX)
        throw EError("TOpenGLImage - Invalid image size " + IntToStr(W) + " x " + IntToStr(H));
}

}  // namespace

// ---- TOpenGLImage ----

TOpenGLImage::TOpenGLImage(int Bytes) {
    if (Bytes < 0) throw EError("TOpenGLImage - Invalid image size " + IntToStr(Bytes));
    Data.resize(static_cast<std::size_t>(Bytes));
}

TOpenGLImage::TOpenGLImage(int W, int H) { SetSize(W, H); }

void TOpenGLImage::SetSize(int W, int H) {
    CheckSize(W, H);
    Width = W;
    Height = H;
    Data.assign(static_cast<std::size_t>(W) * H * 3, 0);
}

void TOpenGLImage::LoadFromPicture(const TPicture& Picture) {
    CheckSize(Picture.Width, Picture.Height);
    if (Picture.Rgb.size() != static_cast<std::size_t>(Picture.Width) * Picture.Height * 3)
        throw EError("Bitmap image is not valid");
    Width = Picture.Width;
    Height = Picture.Height;
    Data = Picture.Rgb;
}

void TOpenGLImage::SetPixel(int Index, TColor Colour) {
    if (Index < 0 || static_cast<long long>(Index) * 3 + 3 > GetSize())
        throw EError("TOpenGLImage.SetPixel - Index " + IntToStr(Index) + " out of bounds");
    std::uint8_t* Pixel = Data.data() + 3 * static_cast<std::size_t>(Index);
    Pixel[0] = Colour & 0xFF;
    Pixel[1] = (Colour >> 8) & 0xFF;
    Pixel[2] = (Colour >> 16) & 0xFF;
}

// ---- TOpenGLCompressedImage ----

void TOpenGLCompressedImage::Clear() { Words.clear(); }

std::uint32_t TOpenGLCompressedImage::Runs(int I) const {
    if (I < 0 || I >= Count()) throw EError("TOpenGLCompressedImage.Runs - Index " + IntToStr(I) + " out of bounds");
    return Words[static_cast<std::size_t>(I)];
}

void TOpenGLCompressedImage::SetRun(int I, std::uint32_t Word) {
    if (I < 0 || I >= Count())
        throw EError("TOpenGLCompressedImage.SetRun - Index " + IntToStr(I) + " out of bounds");
    Words[static_cast<std::size_t>(I)] = Word;
}

bool TOpenGLCompressedImage::SameColour(const std::uint8_t* A, const std::uint8_t* B) {
    return A[0] == B[0] && A[1] == B[1] && A[2] == B[2];
}

int TOpenGLCompressedImage::CountRuns(const TOpenGLImage& Image) {
    int Runs = 0;
    WalkRuns(Image, [&](const std::uint8_t*, int) { ++Runs; });
    return Runs;
}

void TOpenGLCompressedImage::Compress(const TOpenGLImage& Image) {
    Clear();
    Width = Image.GetWidth();
    Height = Image.GetHeight();
    Words.reserve(static_cast<std::size_t>(CountRuns(Image)));
    WalkRuns(Image, [&](const std::uint8_t* Pixel, int Repeats) { Words.push_back(RunWord(Pixel, Repeats)); });
}

std::unique_ptr<TOpenGLImage> TOpenGLCompressedImage::Decompress() const {
    if (Words.empty()) return nullptr;
    auto Image = std::make_unique<TOpenGLImage>(Width, Height);
    const int Pixels = PixelCount(*Image);
    std::uint8_t* Data = Image->GetData();
    int Next = 0;
    for (std::uint32_t Word : Words) {
        for (int K = RunLength(Word); K > 0 && Next < Pixels; --K, ++Next) {
            Data[3 * Next] = Word & 0xFF;
            Data[3 * Next + 1] = (Word >> 8) & 0xFF;
            Data[3 * Next + 2] = (Word >> 16) & 0xFF;
        }
    }
    return Image;
}

void TOpenGLCompressedImage::LoadFromFile(const std::filesystem::path& FileName) {
    TOpenGLImage Pixels;
    Pixels.LoadFromPicture(ReadPictureFile(FileName));
    Compress(Pixels);
}

void TOpenGLCompressedImage::Negate() {
    for (std::uint32_t& Word : Words) Word ^= 0x00FFFFFFu;
}

void TOpenGLCompressedImage::SaveToText(TTextWriter& Out) const {
    Out.WriteLine("Width=" + IntToStr(Width));
    Out.WriteLine("Height=" + IntToStr(Height));
    Out.WriteLine("Count=" + IntToStr(Count()));
    for (int I = 0; I < Count(); ++I) {
        // Lower-case digits, as documents have them; the reader takes either case.
        char Word[9];
        std::snprintf(Word, sizeof Word, "%08x", static_cast<unsigned>(Words[static_cast<std::size_t>(I)]));
        Out.Write(Word);
        if ((I + 1) % WordsPerLine == 0 || I + 1 == Count()) Out.Write("\n");
    }
}

void TOpenGLCompressedImage::LoadFromText(TTextReader& In) {
    const int W = ReadValueLine(In);
    const int H = ReadValueLine(In);
    const int N = ReadValueLine(In);
    std::vector<std::uint32_t> Read;
    // The words come from the text itself, so the text bounds what is held; a wild count does not.
    Read.reserve(static_cast<std::size_t>(std::clamp(N, 0, 1 << 16)));
    long long Covered = 0;
    std::string Line;
    std::size_t Position = 0;
    for (int I = 0; I < N; ++I) {
        if (Position >= Line.size()) {
            Line = Trim(In.ReadLine());
            Position = 0;
        }
        const std::string Word = Line.substr(Position, WordLength);
        Position += WordLength;
        if (Word.size() < WordLength) throw EConvertError("'$" + Word + "' is not a valid integer value");
        const auto Value = static_cast<std::uint32_t>(StrToInt("$" + Word));
        Read.push_back(Value);
        Covered += RunLength(Value);
    }
    // An image without runs has no pixels to cover (it decompresses to none).
    if (W < 0 || H < 0 || N < 0 || (N > 0 && Covered != static_cast<long long>(W) * H))
        throw EConvertError("Compressed image - the runs do not cover Width x Height");
    Width = W;
    Height = H;
    Words = std::move(Read);
}

}  // namespace sarnova
