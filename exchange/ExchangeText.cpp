#include "exchange/ExchangeText.h"

#include <cstring>
#include <filesystem>

#include "foundation/Errors.h"
#include "foundation/TextFile.h"

namespace sarnova {

namespace {

// The length of the UTF-8 sequence starting at S[I], 0 when it is none.
std::size_t Utf8Length(std::string_view S, std::size_t I) {
    const auto B = static_cast<unsigned char>(S[I]);
    const std::size_t N = B < 0x80 ? 1 : (B & 0xE0) == 0xC0 && B >= 0xC2 ? 2 : (B & 0xF0) == 0xE0 ? 3
                                       : (B & 0xF8) == 0xF0 && B <= 0xF4 ? 4 : 0;
    if (N == 0 || I + N > S.size()) return 0;
    for (std::size_t K = 1; K < N; ++K)
        if ((static_cast<unsigned char>(S[I + K]) & 0xC0) != 0x80) return 0;
    return N;
}

}  // namespace

std::vector<std::string_view> SplitLineViews(std::string_view Text) {
    std::vector<std::string_view> Lines;
    Lines.reserve(Text.size() / 32 + 1);
    std::size_t Start = 0;
    const std::size_t N = Text.size();
    while (Start < N) {
        std::size_t End = Start;
        while (End < N && Text[End] != '\n' && Text[End] != '\r') ++End;
        Lines.push_back(Text.substr(Start, End - Start));
        if (End < N && Text[End] == '\r' && End + 1 < N && Text[End + 1] == '\n') ++End;
        Start = End + 1;
    }
    return Lines;
}

std::string PrintableText(std::string_view Text, std::size_t MaxLength) {
    std::string R;
    std::size_t Shown = 0;
    for (std::size_t I = 0; I < Text.size();) {
        if (Shown == MaxLength) return R + "...";
        const auto B = static_cast<unsigned char>(Text[I]);
        const std::size_t N = Utf8Length(Text, I);
        if (N == 0 || (B < 0x20 && B != '\t' && B != '\n' && B != '\r') || B == 0x7F) {
            static const char Hex[] = "0123456789ABCDEF";
            R += "\\x";
            R += Hex[B >> 4];
            R += Hex[B & 15];
            ++I;
        } else {
            R.append(Text.substr(I, N));
            I += N;
        }
        ++Shown;
    }
    return R;
}

TFileLines::TFileLines(const std::string& FileName, std::size_t BlockSize) : FBlock(BlockSize) {
    FFile = std::fopen(FileName.c_str(), "rb");
    if (!FFile) {
        // The program's reader gives the reason in its own words (not found, a folder, no access).
        ReadFileText(FileName);
        throw EInOutError("Cannot open file \"" + FileName + "\"");
    }
    std::error_code Ignored;
    FSize = std::filesystem::file_size(FileName, Ignored);
    Fill();
    FHead.assign(FBuffer.data(), std::min<std::size_t>(FEnd, 1024));
}

TFileLines::~TFileLines() {
    if (FFile) std::fclose(FFile);
}

bool TFileLines::Fill() {
    if (FEof) return false;
    // The unread rest moves to the front; a line longer than the block makes room for itself.
    const std::size_t Rest = FEnd - FPos;
    if (FPos > 0) std::memmove(FBuffer.data(), FBuffer.data() + FPos, Rest);
    FPos = 0;
    FEnd = Rest;
    if (FBuffer.size() < Rest + FBlock) FBuffer.resize(Rest + FBlock);
    const std::size_t Got = std::fread(FBuffer.data() + FEnd, 1, FBuffer.size() - FEnd, FFile);
    FEnd += Got;
    if (Got == 0) FEof = true;
    return Got > 0;
}

bool TFileLines::Next(std::string_view& Line) {
    for (;;) {
        const char* Base = FBuffer.data();
        std::size_t P = FPos;
        while (P < FEnd && Base[P] != '\n' && Base[P] != '\r') ++P;
        // A line end found, unless it is a CR at the block's end whose LF may follow in the next block.
        if (P < FEnd && !(Base[P] == '\r' && P + 1 == FEnd && !FEof)) {
            Line = std::string_view(Base + FPos, P - FPos);
            FPos = P + 1 + (Base[P] == '\r' && P + 1 < FEnd && Base[P + 1] == '\n');
            ++FCount;
            return true;
        }
        if (!Fill()) {
            if (FPos >= FEnd) return false;
            // The last line, without a line end.
            Line = std::string_view(FBuffer.data() + FPos, FEnd - FPos);
            FPos = FEnd;
            ++FCount;
            return true;
        }
    }
}

std::string_view Utf8Prefix(std::string_view Text, std::size_t MaxBytes) {
    if (Text.size() <= MaxBytes) return Text;
    std::size_t End = MaxBytes;
    // Back over continuation bytes to the start of the character that does not fit.
    while (End > 0 && (static_cast<unsigned char>(Text[End]) & 0xC0) == 0x80) --End;
    return Text.substr(0, End);
}

}  // namespace sarnova
