#include "foundation/TextFile.h"

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
    return TTextReader(ReadFileText(FileName));
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
    FLastLine = FLine;
    const std::size_t Start = FPos;
    std::size_t End = FPos;
    while (End < FText.size() && FText[End] != '\n' && FText[End] != '\r') ++End;
    FPos = End;
    SkipLineEnd();
    return std::string_view(FText).substr(Start, End - Start);
}

void TTextReader::SkipLine() { ReadLineView(); }

double TTextReader::ReadReal() {
    for (;;) {
        // Blanks run before most numbers: passed over without asking for a line end each.
        while (FPos < FText.size() && FText[FPos] == ' ') ++FPos;
        if (!(FPos < FText.size() && IsSeparator(FText[FPos]))) break;
        if (!SkipLineEnd()) ++FPos;
    }
    FLastLine = FLine;
    if (FPos >= FText.size()) throw EInOutError("I/O Result 100");
    // Most numbers of a document are plain decimals, read in one pass; any other word goes the
    // general way.
    double Quick = 0;
    const char* const End = FText.data() + FText.size();
    if (const char* P = FText.data() + FPos; ScanShortDecimal(P, End, Quick) && (P == End || IsSeparator(*P))) {
        FPos = static_cast<std::size_t>(P - FText.data());
        return Quick;
    }
    const std::size_t Start = FPos;
    while (FPos < FText.size() && !IsSeparator(FText[FPos])) ++FPos;
    double Value = 0;
    if (!TryStrToFloat(std::string_view(FText).substr(Start, FPos - Start), Value))
        throw EInOutError("I/O Result 106");
    return Value;
}

void TTextWriter::SaveToFile(const std::filesystem::path& FileName) const {
    ReplaceFileText(FileName, FText, "Cannot write file \"" + FileName.string() + "\"");
}

}  // namespace sarnova
