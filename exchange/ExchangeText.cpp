#include "exchange/ExchangeText.h"

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

std::string_view Utf8Prefix(std::string_view Text, std::size_t MaxBytes) {
    if (Text.size() <= MaxBytes) return Text;
    std::size_t End = MaxBytes;
    // Back over continuation bytes to the start of the character that does not fit.
    while (End > 0 && (static_cast<unsigned char>(Text[End]) & 0xC0) == 0x80) --End;
    return Text.substr(0, End);
}

}  // namespace sarnova
