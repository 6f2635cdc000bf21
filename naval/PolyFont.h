// The program's single-stroke vector font: glyphs defined in shape-code notation, parsed once into
// strokes, and texts turned into polylines at a position, size and angle.
#pragma once
#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace sarnova {

class TPolylineList;

// One pen-down stroke, in glyph units.
class TCharacterSegment {
public:
    void AddPoint(float X, float Y) { FPoints.emplace_back(X, Y); }
    int Count() const { return static_cast<int>(FPoints.size()); }
    const std::pair<float, float>& Points(int Index) const { return FPoints.at(Index); }
    void Clear() { FPoints.clear(); }

private:
    std::vector<std::pair<float, float>> FPoints;
};

// One glyph: its strokes and how far the pen moves after it.
class TCharacter {
public:
    double AdvanceX = 0;
    double AdvanceY = 0;

    // A new segment whose first point is (X, Y).
    void StartSegment(float X, float Y);
    // Appends (X, Y) to the last segment; nothing when there is none.
    void LineTo(float X, float Y);
    int SegmentCount() const { return static_cast<int>(FSegments.size()); }
    const TCharacterSegment& Segments(int Index) const { return *FSegments.at(Index); }
    void Clear() { FSegments.clear(); }

private:
    std::vector<std::unique_ptr<TCharacterSegment>> FSegments;
};

// The glyph table: Capacity entries, each empty until set.
class TCharacters {
public:
    explicit TCharacters(int Capacity) : FItems(Capacity) {}
    int Count() const { return static_cast<int>(FItems.size()); }
    void SetItem(int Index, std::unique_ptr<TCharacter> C) { FItems.at(Index) = std::move(C); }
    // The entry of Code; nullptr when it is empty.
    const TCharacter* Glyph(unsigned char Code) const;

private:
    std::vector<std::unique_ptr<TCharacter>> FItems;
};

// One row of the committed glyph table.
struct TGlyphEntry {
    int Code;
    const char* Definition;
};
extern const std::array<TGlyphEntry, 176> GGlyphDefinitions;

// The program-wide font of 256 entries; nullptr until built.
extern std::unique_ptr<TCharacters> GStrokeFont;

// The definition text of Code; codes without a definition of their own answer that of "?".
const char* GlyphDefinition(unsigned char Code);
// A new glyph parsed from Definition (or from GlyphDefinition of Code), every length times Scale. A
// definition without its closing 0 ends at its last token; a malformed number ends it too.
std::unique_ptr<TCharacter> ParseGlyphDefinition(const std::string& Definition, double Scale);
std::unique_ptr<TCharacter> ParseGlyph(unsigned char Code, double Scale);
// Creates GStrokeFont when it does not exist: entries 10 to 255 parsed at scale 1, 0 to 9 empty.
void BuildStrokeFont();
// Text as one polyline per stroke, starting at (X, Y) and running along Angle (radians, counter-
// clockwise); Height multiplies glyph units, so capitals stand 6 * Height high. A line feed moves the
// following characters ten units down in the text's own frame. Codes 0 to 9, which have no glyph,
// draw as "?".
std::unique_ptr<TPolylineList> StrokeText(const std::string& Text, float X, float Y, double Height, double Angle);

}  // namespace sarnova
