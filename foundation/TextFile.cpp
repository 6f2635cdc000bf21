#include "foundation/TextFile.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>

#include "foundation/NumberText.h"
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
    const char* const Begin = FText.data();
    const char* const End = Begin + FText.size();
    // Blanks run before most numbers, a varying number of them: passed over eight at a time.
    const char* P = Begin + FPos;
    if constexpr (std::endian::native == std::endian::little) {
        for (; End - P >= 8; P += 8) {
            std::uint64_t Word = 0;
            std::memcpy(&Word, P, 8);
            if (const std::uint64_t NotBlank = Word ^ 0x2020202020202020ULL) {
                P += std::countr_zero(NotBlank) / 8;
                break;
            }
        }
    }
    FPos = static_cast<std::size_t>(P - Begin);
    for (;;) {
        while (FPos < FText.size() && FText[FPos] == ' ') ++FPos;
        if (!(FPos < FText.size() && IsSeparator(FText[FPos]))) break;
        if (!SkipLineEnd()) ++FPos;
    }
    FLastLine = FLine;
    if (FPos >= FText.size()) throw EInOutError("I/O Result 100");
    // Most numbers of a document are plain decimals, read in one pass; any other word goes the
    // general way.
    double Quick = 0;
    if (P = Begin + FPos; ScanShortDecimal(P, End, Quick) && (P == End || IsSeparator(*P))) {
        FPos = static_cast<std::size_t>(P - Begin);
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
