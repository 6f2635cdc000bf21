#include "exchange/DXFFile.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "exchange/ExchangeText.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/Errors.h"
#include "foundation/TextFile.h"

namespace sarnova {

namespace {

bool SameText(std::string_view A, std::string_view B) {
    if (A.size() != B.size()) return false;
    for (std::size_t I = 0; I < A.size(); ++I) {
        char X = A[I], Y = B[I];
        if (X >= 'a' && X <= 'z') X = static_cast<char>(X - 32);
        if (Y >= 'a' && Y <= 'z') Y = static_cast<char>(Y - 32);
        if (X != Y) return false;
    }
    return true;
}

struct TRGB {
    int R, G, B;
};

// The AutoCAD Color Index: 1 to 9 named, 10 to 249 the hue wheel in 24 steps of 15 degrees, each a
// full and a half-tinted colour at five intensities, 250 to 255 greys. Entry 0 is unused.
std::array<TRGB, 256> MakePalette() {
    std::array<TRGB, 256> P{};
    const TRGB Named[] = {{0, 0, 0},     {255, 0, 0},   {255, 255, 0},   {0, 255, 0},     {0, 255, 255},
                          {0, 0, 255},   {255, 0, 255}, {255, 255, 255}, {128, 128, 128}, {192, 192, 192}};
    for (int I = 0; I < 10; ++I) P[static_cast<std::size_t>(I)] = Named[I];
    const int Intensity[] = {255, 204, 153, 127, 76};
    for (int Hue = 0; Hue < 24; ++Hue) {
        // Fractions of red, green and blue on the wheel: a ramp of quarter steps between primaries.
        const int Sector = Hue / 4, Step = Hue % 4;
        double F[3] = {0, 0, 0};
        const double Up = Step / 4.0, Down = 1.0 - Step / 4.0;
        switch (Sector) {
            case 0: F[0] = 1; F[1] = Up; break;    // red to yellow
            case 1: F[0] = Down; F[1] = 1; break;  // yellow to green
            case 2: F[1] = 1; F[2] = Up; break;    // green to cyan
            case 3: F[1] = Down; F[2] = 1; break;  // cyan to blue
            case 4: F[2] = 1; F[0] = Up; break;    // blue to magenta
            default: F[0] = 1; F[2] = Down; break; // magenta to red
        }
        for (int Level = 0; Level < 5; ++Level) {
            const int I = Intensity[Level];
            auto Full = [&](double X) { return static_cast<int>(I * X); };
            auto Tint = [&](double X) { return static_cast<int>(I * (0.5 + 0.5 * X)); };
            const std::size_t Index = static_cast<std::size_t>(10 + Hue * 10 + Level * 2);
            P[Index] = {Full(F[0]), Full(F[1]), Full(F[2])};
            P[Index + 1] = {Tint(F[0]), Tint(F[1]), Tint(F[2])};
        }
    }
    const int Greys[] = {51, 91, 132, 173, 214, 255};
    for (int I = 0; I < 6; ++I) P[static_cast<std::size_t>(250 + I)] = {Greys[I], Greys[I], Greys[I]};
    return P;
}

}  // namespace

TDXFEntityKind DXFEntityKindOf(std::string_view Name) {
    static const std::pair<const char*, TDXFEntityKind> Kinds[] = {
        {"SECTION", dekSection}, {"ENDSEC", dekEndSec}, {"TABLE", dekTable},   {"LINE", dekLine},
        {"POLYLINE", dekPolyline}, {"LWPOLYLINE", dekLWPolyline}, {"CIRCLE", dekCircle}, {"ARC", dekArc},
        {"TEXT", dekText},       {"INSERT", dekInsert},  {"VERTEX", dekVertex}, {"SEQEND", dekSeqEnd},
        {"LAYER", dekLayer},     {"BLOCK", dekBlock},    {"3DFACE", dek3DFace}, {"SOLID", dekSolid},
        {"POINT", dekPoint}};
    const std::string_view Trimmed = TrimmedView(Name);
    for (const auto& [Text, Kind] : Kinds)
        if (SameText(Trimmed, Text)) return Kind;
    return dekOther;
}

int DXFColorIndex(TColor Colour) {
    static const std::array<TRGB, 256> Palette = MakePalette();
    const auto C = static_cast<std::uint32_t>(Colour);
    const int R = static_cast<int>(C & 0xFF), G = static_cast<int>((C >> 8) & 0xFF),
              B = static_cast<int>((C >> 16) & 0xFF);
    for (int I = 1; I <= 9; ++I) {
        const TRGB& E = Palette[static_cast<std::size_t>(I)];
        if (E.R == R && E.G == G && E.B == B) return I;
    }
    double Best = 1e34;
    int Result = 7;
    for (int I = 1; I <= 255; ++I) {
        const TRGB& E = Palette[static_cast<std::size_t>(I)];
        const double D = double(E.R - R) * (E.R - R) + double(E.G - G) * (E.G - G) + double(E.B - B) * (E.B - B);
        if (D < Best) {
            Best = D;
            Result = I;
        }
    }
    return Result;
}

std::string DXFNumberText(double Value) { return FloatToStrWithPoint(Value); }

// ---- File ----

void TDXFFile::LoadFromFile(const std::filesystem::path& Name) {
    if (GConsole) GConsole->WriteLine("DXF: Reading file to memory...");
    LoadFromText(ReadFileText(Name));
    FileName = Name.string();
}

void TDXFFile::LoadFromText(std::string Text) {
    FText = std::move(Text);
    FReadLines = SplitLineViews(FText);
    LineIndex = 0;
    LastProgress = -1;
    ProgressFrom = ProgressUntil = 0;
}

void TDXFFile::SaveToFile(const std::filesystem::path& Name) const {
    ReplaceFileText(Name, Written, "Cannot write file \"" + Name.string() + "\"");
}

std::vector<std::string> TDXFFile::Lines() const {
    std::vector<std::string> Result;
    for (std::size_t Begin = 0; Begin < Written.size();) {
        const std::size_t End = std::min(Written.find("\r\n", Begin), Written.size());
        Result.emplace_back(Written, Begin, End - Begin);
        Begin = End + 2;
    }
    return Result;
}

// ---- Reading ----

void TDXFFile::Fail(int Line, const std::string& What) const {
    // What quotes the file, which may hold anything: printable text only.
    throw EInOutError(FileName + "(" + std::to_string(Line) + "): " + PrintableText(What, 200));
}

std::string_view TDXFFile::LineAt(int Index) const {
    // The error names the line after the last one: where the file ended too early.
    if (Index < 0 || Index >= LineCount()) Fail(LineCount() + 1, "Unexpected end of file");
    return FReadLines[static_cast<std::size_t>(Index)];
}

void TDXFFile::ReportProgress() {
    if (!GConsole || FReadLines.empty()) return;
    // The percentage grows with the line: it stays the same until a little before the next whole
    // percent (the margin covers the float rounding), so most groups skip the division.
    if (LineIndex >= ProgressFrom && LineIndex < ProgressUntil) return;
    const float Percent = static_cast<float>(LineIndex) / static_cast<float>(LineCount()) * 100.0f;
    const int Value = TruncSingle(Percent);
    ProgressFrom = LineIndex;
    ProgressUntil = static_cast<int>(double(Value + 1) * LineCount() / 100.0 * (1 - 1e-6)) - 2;
    // Only changes are passed on: a progress bar redrawn for every group would cost more than reading.
    if (Value == LastProgress) return;
    LastProgress = Value;
    GConsole->Progress(Value);
}

void TDXFFile::ReadGroup() {
    const std::string_view CodeLine = LineAt(LineIndex);
    const std::string_view ValueLine = LineAt(LineIndex + 1);
    int Code = 0;
    if (!TryStrToInt(TrimmedView(CodeLine), Code))
        Fail(LineIndex + 1, "'" + std::string(TrimmedView(CodeLine)) + "' is not a valid group code");
    GroupCode = Code;
    GroupValue = ValueLine;
    LineIndex += 2;
    ReportProgress();
}

int TDXFFile::ReadCode() {
    ReadGroup();
    return GroupCode;
}

const std::string& TDXFFile::ReadUntilCode(int Code) {
    do ReadGroup();
    while (GroupCode != Code);
    return GroupValue;
}

TDXFEntityKind TDXFFile::NextEntityKind() {
    ReadUntilCode(0);
    return EntityKind();
}

bool TDXFFile::FindValue(std::string_view Name) {
    do {
        ReadUntilCode(0);
        if (SameText(TrimmedView(GroupValue), Name)) return true;
    } while (!Eof());
    return false;
}

bool TDXFFile::FindSection(std::string_view Name) {
    if (GConsole) GConsole->WriteLine("DXF: Searching for " + std::string(Name) + " section...");
    while (!Eof()) {
        if (!FindValue("SECTION")) return false;
        ReadGroup();
        if (SameText(TrimmedView(GroupValue), Name)) return true;
    }
    return false;
}

bool TDXFFile::FindEntitiesSection() {
    const bool Found = FindSection("ENTITIES");
    if (Eof()) Reset();
    return Found;
}

bool TDXFFile::PeekEntityIs(std::string_view Name) const {
    int I = LineIndex;
    while (TrimmedView(LineAt(I)) != "0") I += 2;
    return TrimmedView(LineAt(I + 1)) == Name;
}

bool TDXFFile::AtEntityStart() const { return TrimmedView(LineAt(LineIndex)) == "0"; }

double TDXFFile::ValueAsFloat() const {
    try {
        return ParseFloat(TrimmedView(GroupValue));
    } catch (const EConvertError& E) {
        Fail(LineIndex, E.what());
    }
}

int TDXFFile::ValueAsInteger() const {
    int Value = 0;
    if (!TryStrToInt(TrimmedView(GroupValue), Value))
        Fail(LineIndex, "'" + Trim(GroupValue) + "' is not a valid integer value");
    return Value;
}

// ---- Writing ----

void TDXFFile::WriteCode(int Code, bool Padded) {
    // Padded: "%3d", right-aligned in three columns; else a blank and the code.
    char Buffer[16];
    char* End = std::to_chars(Buffer, Buffer + sizeof Buffer, Code).ptr;
    const auto Length = static_cast<std::size_t>(End - Buffer);
    if (Padded) {
        if (Length < 3) Written.append(3 - Length, ' ');
    } else {
        Written += ' ';
    }
    Written.append(Buffer, Length);
    Written += "\r\n";
}

void TDXFFile::WriteLine(std::string_view Text) {
    Written += Text;
    Written += "\r\n";
}

void TDXFFile::WriteString(int Code, std::string_view Text) {
    WriteCode(Code, true);
    WriteLine(Text);
}

void TDXFFile::WriteInteger(int Code, int Value) {
    WriteCode(Code, false);
    char Buffer[16];
    const char* End = std::to_chars(Buffer, Buffer + sizeof Buffer, Value).ptr;
    WriteLine(std::string_view(Buffer, static_cast<std::size_t>(End - Buffer)));
}

void TDXFFile::WriteFloat(int Code, double Value) {
    WriteCode(Code, false);
    AppendFloatTextWithPoint(Written, Value);
    WriteLine({});
}

void TDXFFile::WriteUpperCaseLine(std::string_view Text) {
    for (const char C : Text) Written += C >= 'a' && C <= 'z' ? static_cast<char>(C - 32) : C;
    Written += "\r\n";
}

void TDXFFile::BeginEntity(std::string_view Name) {
    WriteCode(0, true);
    WriteUpperCaseLine(Name);
}

void TDXFFile::BeginSection(std::string_view Name) {
    WriteString(0, "SECTION");
    WriteCode(2, true);
    WriteUpperCaseLine(Name);
}

}  // namespace sarnova
