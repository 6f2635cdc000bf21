#include "platform/ImageReader.h"

#include "foundation/Errors.h"

namespace sarnova {

namespace {
IImageReader* Installed = nullptr;
}

void SetImageReader(IImageReader* Reader) { Installed = Reader; }

IImageReader* GetImageReader() { return Installed; }

TPicture ReadPictureFile(const std::filesystem::path& FileName) {
    if (Installed == nullptr) throw EError("Pictures cannot be read without the program's window");
    return Installed->ReadPicture(FileName);
}

}  // namespace sarnova
