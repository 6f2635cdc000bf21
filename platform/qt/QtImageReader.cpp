#include "platform/qt/QtImageReader.h"

#include <QImage>

#include <system_error>

#include "foundation/Errors.h"

namespace sarnova {

TPicture PictureFromQImage(const QImage& Bitmap) {
    const QImage Rgb = Bitmap.convertToFormat(QImage::Format_RGB888);
    TPicture Result;
    Result.Width = Rgb.width();
    Result.Height = Rgb.height();
    const std::size_t RowBytes = static_cast<std::size_t>(Rgb.width()) * 3;
    Result.Rgb.resize(RowBytes * static_cast<std::size_t>(Rgb.height()));
    std::uint8_t* Out = Result.Rgb.data();
    for (int Row = Rgb.height() - 1; Row >= 0; --Row) {
        const uchar* Line = Rgb.constScanLine(Row);
        Out = std::copy(Line, Line + RowBytes, Out);
    }
    return Result;
}

TPicture TQtImageReader::ReadPicture(const std::filesystem::path& FileName) {
    std::error_code Ignored;
    if (!std::filesystem::is_regular_file(FileName, Ignored))
        throw EInOutError("Cannot open file \"" + FileName.string() + "\"");
    QImage Bitmap;
    if (!Bitmap.load(QString::fromStdString(FileName.string()))) throw EError("Bitmap image is not valid");
    return PictureFromQImage(Bitmap);
}

}  // namespace sarnova
