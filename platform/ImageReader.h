// Picture files as the model reads them. Decoding picture formats is the GUI's: it installs a reader
// at start-up; without one (tests, tools) reading a picture is refused with a clear error.
#pragma once
#include <cstdint>
#include <filesystem>
#include <vector>

namespace sarnova {

// Width x Height pixels of three bytes (red, green, blue), rows packed without padding, the bottom row
// first.
struct TPicture {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Rgb;
};

class IImageReader {
public:
    virtual ~IImageReader() = default;
    // Throws EInOutError "Cannot open file "<name>"" for a file that is not there and EError "Bitmap
    // image is not valid" for one that is not a picture it knows.
    virtual TPicture ReadPicture(const std::filesystem::path& FileName) = 0;
};

// Installs the GUI's reader (not owned; it must stay until uninstalled with nullptr).
void SetImageReader(IImageReader* Reader);
IImageReader* GetImageReader();
// Reads through the installed reader; without one throws EError "Pictures cannot be read without the
// program's window".
TPicture ReadPictureFile(const std::filesystem::path& FileName);

}  // namespace sarnova
