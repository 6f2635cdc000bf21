// A DXF drawing exchange file held in memory as its text lines: a forward reader of group-code and
// value pairs with a line cursor, for the DXF import, and writers that append groups, for the DXF
// export and the lines plan. Knows nothing of the document.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/Colors.h"

namespace sarnova {

enum TDXFEntityKind : std::uint8_t {
    dekSection,
    dekEndSec,
    dekTable,
    dekLine,
    dekPolyline,
    dekLWPolyline,
    dekCircle,
    dekArc,
    dekText,
    dekInsert,
    dekVertex,
    dekSeqEnd,
    dekLayer,
    dekBlock,
    dek3DFace,
    dekSolid,
    dekPoint,
    dekOther,
};

// The kind of a group-0 value, compared trimmed and upper-cased.
TDXFEntityKind DXFEntityKindOf(std::string_view Name);

// The number of the AutoCAD Color Index nearest to Colour (red in the low byte): the nine named
// colours exactly, any other the nearest of the 255-entry palette, ties to the lower number.
int DXFColorIndex(TColor Colour);

// The general number text of the exchange writers: up to 15 significant digits, no trailing zeros,
// "." always; plain for decimal exponents -3 .. 15, else mantissa "E" exponent (1E-5, 1E20).
std::string DXFNumberText(double Value);

class TDXFFile {
public:
    TDXFFile() = default;
    // The lines read are views into the text the file keeps: not copied or moved.
    TDXFFile(const TDXFFile&) = delete;
    TDXFFile& operator=(const TDXFFile&) = delete;

    // The text written, every line ended by CR LF: one string, not a string per line (exports write
    // millions of lines).
    std::string Written;
    // The lines of Written, without their line ends.
    std::vector<std::string> Lines() const;
    // 0-based index of the next line to read.
    int LineIndex = 0;
    // Code and value (untrimmed) of the group read last.
    int GroupCode = 0;
    std::string GroupValue;
    // The name the read errors give; set by LoadFromFile.
    std::string FileName;

    // Console line "DXF: Reading file to memory...", then the file's text, read once; its lines (LF,
    // CR LF or a lone CR) are views into it.
    void LoadFromFile(const std::filesystem::path& Name);
    // Text to read, as LoadFromFile gives it; the cursor goes to the first line.
    void LoadFromText(std::string Text);
    // The number of lines to read.
    int LineCount() const { return static_cast<int>(FReadLines.size()); }
    // Line Index (0-based) to read; outside the lines the error "Unexpected end of file".
    std::string_view LineAt(int Index) const;
    // The text written, through a temporary file renamed over the target.
    void SaveToFile(const std::filesystem::path& Name) const;

    // ---- Reading ----
    // Errors name the file and the 1-based line: "<file>(<line>): <what>", for reading past the last
    // line, a code line that is not an integer and a value that is not a number.

    // The group at LineIndex; LineIndex advances by 2; progress goes to the console.
    void ReadGroup();
    int ReadCode();
    // ReadGroup until the code is Code (at least one group); returns the value.
    const std::string& ReadUntilCode(int Code);
    const std::string& NextEntityName() { return ReadUntilCode(0); }
    TDXFEntityKind NextEntityKind();
    TDXFEntityKind EntityKind() const { return DXFEntityKindOf(GroupValue); }
    // Group-0 values until one equals Name (letter case ignored): true; false at the end of the file.
    bool FindValue(std::string_view Name);
    // The SECTION whose name group equals Name (letter case ignored).
    bool FindSection(std::string_view Name);
    // FindSection "ENTITIES"; without one the cursor goes back to the first line.
    bool FindEntitiesSection();
    // Without moving: the next group-0 line's value is Name (exact case).
    bool PeekEntityIs(std::string_view Name) const;
    bool NextIsSeqEnd() const { return PeekEntityIs("SEQEND"); }
    bool NextIsEndSec() const { return PeekEntityIs("ENDSEC"); }
    // Without moving: the line at LineIndex is a group code 0.
    bool AtEntityStart() const;
    bool Eof() const { return LineIndex >= LineCount(); }
    void Reset() { LineIndex = 0; }
    const std::string& Value() const { return GroupValue; }
    double ValueAsFloat() const;
    int ValueAsInteger() const;

    // ---- Writing ----
    // Code "%3d", then Text.
    void WriteString(int Code, std::string_view Text);
    // A blank and the code, then the value.
    void WriteInteger(int Code, int Value);
    void WriteFloat(int Code, double Value);
    void WriteColor(int Code, TColor Colour) { WriteInteger(Code, DXFColorIndex(Colour)); }
    void BeginEntity(std::string_view Name);
    void BeginSection(std::string_view Name);
    void EndSection() { WriteString(0, "ENDSEC"); }
    void WriteEOF() { WriteString(0, "EOF"); }

private:
    [[noreturn]] void Fail(int Line, const std::string& What) const;
    void WriteCode(int Code, bool Padded);
    void WriteLine(std::string_view Text);
    void WriteUpperCaseLine(std::string_view Text);
    void ReportProgress();

    int LastProgress = -1;
    // Lines [ProgressFrom, ProgressUntil) give LastProgress: no need to work it out again there.
    int ProgressFrom = 0, ProgressUntil = 0;
    std::string FText;
    std::vector<std::string_view> FReadLines;
};

}  // namespace sarnova
