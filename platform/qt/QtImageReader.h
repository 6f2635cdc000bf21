// Picture files read with Qt's image formats (BMP, PNG, JPEG and the others Qt was built with).
#pragma once
#include "platform/ImageReader.h"

class QImage;

namespace sarnova {

// The picture's pixels, bottom row first, as red, green, blue bytes.
TPicture PictureFromQImage(const QImage& Bitmap);

class TQtImageReader : public IImageReader {
public:
    TPicture ReadPicture(const std::filesystem::path& FileName) override;
};

}  // namespace sarnova
