#include "foundation/TextFile.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <system_error>
#include <utility>

#include "foundation/DuZezOrideFormat.h"
#include "foundation/Errors.h"

namespace sarnova {

namespace {

// Blanks, tabs, line ends and every other control character separate numbers.
bool IsSeparator(char C) { return static_cast<unsigned char>(C) <= ' '; }

}  // namespace

TTextReader::TTextReader(std::string Text) : FText(std::move(Text)) {}

TTextReader TTextReader::FromFile(const std::filesystem::path& FileName) {
    std::error_code Code;
    std::ifstream In;
    if (!std::filesystem::is_directory(FileName, Code)) In.open(FileName, std::ios::binary);
    if (!In.is_open()) throw EInOutError("Cannot open file \"" + FileName.string() + "\"");
    // Read in blocks rather than character by character; the size is only a first guess, since the
    // file may change while it is read.
    std::string Text;
    const std::uintmax_t Size = std::filesystem::file_size(FileName, Code);
    if (!Code && Size < (std::uintmax_t{1} << 40)) Text.reserve(static_cast<std::size_t>(Size));
    char Block[1 << 16];
    while (In.read(Block, sizeof Block) || In.gcount() > 0) Text.append(Block, static_cast<std::size_t>(In.gcount()));
    if (In.bad()) throw EInOutError("Cannot open file \"" + FileName.string() + "\"");
    return TTextReader(std::move(Text));
}

bool TTextReader::SkipLineEnd() {
    if (FPos >= FText.size()) return false;
    if (FText[FPos] == '\r') {
        ++FPos;
        if (FPos < FText.size() && FText[FPos] == '\n') ++FPos;
    } else if (FText[FPos] == '\n') {
        ++FPos;
    } else {
        return false;
    }
    ++FLine;
    return true;
}

std::string TTextReader::ReadLine() { return std::string(ReadLineView()); }

std::string_view TTextReader::ReadLineView() {
    const std::size_t Start = FPos;
    std::size_t End = FPos;
    while (End < FText.size() && FText[End] != '\n' && FText[End] != '\r') ++End;
    FPos = End;
    SkipLineEnd();
    return std::string_view(FText).substr(Start, End - Start);
}

void TTextReader::SkipLine() { ReadLineView(); }

double TTextReader::ReadReal() {
    while (FPos < FText.size() && IsSeparator(FText[FPos])) {
        if (!SkipLineEnd()) ++FPos;
    }
    if (FPos >= FText.size()) throw EInOutError("I/O Result 100");
    const std::size_t Start = FPos;
    while (FPos < FText.size() && !IsSeparator(FText[FPos])) ++FPos;
    double Value = 0;
    if (!TryStrToFloat(std::string_view(FText).substr(Start, FPos - Start), Value))
        throw EInOutError("I/O Result 106");
    return Value;
}

void TTextWriter::SaveToFile(const std::filesystem::path& FileName) const {
    const std::string Failure = "Cannot write file \"" + FileName.string() + "\"";
    std::filesystem::path Temporary = FileName;
    Temporary += ".tmp~";
    {
        std::ofstream Out(Temporary, std::ios::binary | std::ios::trunc);
        if (!Out) throw EInOutError(Failure);
        Out.write(FText.data(), static_cast<std::streamsize>(FText.size()));
        Out.close();
        if (!Out) {
            std::error_code Ignored;
            std::filesystem::remove(Temporary, Ignored);
            throw EInOutError(Failure);
        }
    }
    std::error_code Code;
    std::filesystem::rename(Temporary, FileName, Code);
    if (Code) {
        std::filesystem::remove(Temporary, Code);
        throw EInOutError(Failure);
    }
}

}  // namespace sarnova
