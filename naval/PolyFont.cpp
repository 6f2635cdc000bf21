#include "naval/PolyFont.h"

#include <cmath>
#include <cstdlib>
#include <string_view>

#include "foundation/PolyList.h"

namespace sarnova {

std::unique_ptr<TCharacters> GStrokeFont;

void TCharacter::StartSegment(float X, float Y) {
    FSegments.push_back(std::make_unique<TCharacterSegment>());
    FSegments.back()->AddPoint(X, Y);
}

void TCharacter::LineTo(float X, float Y) {
    if (!FSegments.empty()) FSegments.back()->AddPoint(X, Y);
}

const TCharacter* TCharacters::Glyph(unsigned char Code) const {
    return Code < FItems.size() ? FItems[Code].get() : nullptr;
}

namespace {

const char* OwnDefinition(int Code) {
    for (const auto& E : GGlyphDefinitions)
        if (E.Code == Code) return E.Definition;
    return nullptr;
}

// Reads the comma-separated tokens of a definition one code at a time.
class TGlyphReader {
public:
    explicit TGlyphReader(const std::string& Text) {
        std::string_view Rest = Text;
        while (true) {
            auto Comma = Rest.find(',');
            FTokens.emplace_back(Rest.substr(0, Comma));
            if (Comma == std::string_view::npos) break;
            Rest.remove_prefix(Comma + 1);
        }
    }

    // The next code; 0 at the end of the tokens or on a token that is not a number.
    long NextCode() {
        if (FIndex >= FTokens.size()) return 0;
        std::string_view T = FTokens[FIndex++];
        if (T.size() > 2 && T[0] == '0') return Hex(T.substr(1, 2));
        // The final token counts only when it is the closing "0".
        if (FIndex == FTokens.size() && (T.empty() || T[0] != '0')) return 0;
        return Decimal(T);
    }

    // The operand of codes 8 and 9: "(dx,dy)" spread over two tokens, or two plain tokens.
    bool NextPair(long& DX, long& DY) {
        if (FIndex + 2 > FTokens.size()) {
            FIndex = FTokens.size();
            return false;
        }
        std::string_view A = FTokens[FIndex++], B = FTokens[FIndex++];
        if (!A.empty() && A.front() == '(') A.remove_prefix(1);
        if (!B.empty() && B.back() == ')') B.remove_suffix(1);
        DX = Decimal(A);
        DY = Decimal(B);
        return FValid;
    }

    bool Valid() const { return FValid; }

private:
    long Parse(std::string_view T, int Base) {
        std::string S(T);
        char* End = nullptr;
        long V = std::strtol(S.c_str(), &End, Base);
        if (S.empty() || *End != '\0') FValid = false;
        return V;
    }
    long Hex(std::string_view T) { return Parse(T, 16); }
    long Decimal(std::string_view T) { return Parse(T, 10); }

    std::vector<std::string_view> FTokens;
    std::size_t FIndex = 0;
    bool FValid = true;
};

constexpr double DirectionSteps[16][2] = {{1, 0},  {1, 0.5},   {1, 1},   {0.5, 1},   {0, 1},  {-0.5, 1},
                                          {-1, 1}, {-1, 0.5},  {-1, 0},  {-1, -0.5}, {-1, -1}, {-0.5, -1},
                                          {0, -1}, {0.5, -1},  {1, -1},  {1, -0.5}};

}  // namespace

const char* GlyphDefinition(unsigned char Code) {
    const char* D = OwnDefinition(Code);
    return D ? D : OwnDefinition('?');
}

std::unique_ptr<TCharacter> ParseGlyphDefinition(const std::string& Definition, double Scale) {
    auto C = std::make_unique<TCharacter>();
    TGlyphReader R(Definition);
    double X = 0, Y = 0;
    bool PenDown = false;
    auto MoveTo = [&](double NX, double NY) {
        if (PenDown) C->LineTo(static_cast<float>(NX), static_cast<float>(NY));
        X = NX;
        Y = NY;
    };
    while (true) {
        long Code = R.NextCode();
        if (Code == 0 || !R.Valid()) break;
        if (Code == 1) {
            if (!PenDown) {
                PenDown = true;
                C->StartSegment(static_cast<float>(X), static_cast<float>(Y));
            }
        } else if (Code == 2) {
            PenDown = false;
        } else if (Code == 8 || Code == 9) {
            long DX = 0, DY = 0;
            while (R.NextPair(DX, DY)) {
                if (Code == 9 && DX == 0 && DY == 0) break;
                MoveTo(X + DX * Scale, Y + DY * Scale);
                if (Code == 8) break;
            }
        } else if (Code == 14) {
            long DX = 0, DY = 0;
            if (R.NextCode() == 8) R.NextPair(DX, DY);
        } else if (Code >= 16) {
            double Length = static_cast<double>((Code >> 4) & 0xFFF) * Scale;
            const double* Step = DirectionSteps[Code & 15];
            MoveTo(X + Length * Step[0], Y + Length * Step[1]);
        }
        if (!R.Valid()) break;
    }
    C->AdvanceX = X;
    C->AdvanceY = Y;
    return C;
}

std::unique_ptr<TCharacter> ParseGlyph(unsigned char Code, double Scale) {
    return ParseGlyphDefinition(GlyphDefinition(Code), Scale);
}

void BuildStrokeFont() {
    if (GStrokeFont) return;
    auto Font = std::make_unique<TCharacters>(256);
    for (int Code = 10; Code <= 255; ++Code) Font->SetItem(Code, ParseGlyph(static_cast<unsigned char>(Code), 1.0));
    GStrokeFont = std::move(Font);
}

std::unique_ptr<TPolylineList> StrokeText(const std::string& Text, float X, float Y, double Height, double Angle) {
    BuildStrokeFont();
    auto Result = std::make_unique<TPolylineList>();
    const float S = static_cast<float>(std::sin(-Angle));
    const float C = static_cast<float>(std::cos(-Angle));
    double PX = 0, PY = 0;
    for (unsigned char Ch : Text) {
        const TCharacter* G = GStrokeFont->Glyph(Ch);
        if (!G) G = GStrokeFont->Glyph('?');
        for (int I = 0; I < G->SegmentCount(); ++I) {
            const TCharacterSegment& Seg = G->Segments(I);
            auto P = std::make_unique<TPolyline>();
            for (int K = 0; K < Seg.Count(); ++K) {
                auto [GX, GY] = Seg.Points(K);
                if (Angle == 0) {
                    P->AddPoint((GX + PX) * Height + X, (GY + PY) * Height + Y, 0);
                } else {
                    const float U = static_cast<float>((GX + PX) * Height);
                    const float V = static_cast<float>((GY + PY) * Height);
                    P->AddPoint(C * U + S * V + X, -S * U + C * V + Y, 0);
                }
            }
            Result->Add(std::move(P));
        }
        PX += G->AdvanceX;
        PY += G->AdvanceY;
    }
    return Result;
}

}  // namespace sarnova
