// The document file ".geo": a sequence of entity blocks, each opened by the class keyword in square
// brackets and closed by an empty line, followed by the line "$SARNOVAVERSION <file version>". The
// list reads and writes the file as a whole (TGeometryList::SaveToFile, LoadFromFile); every entity
// class writes and reads its own block. This module gives the classes the common keys of a block.
#pragma once
#include <string>
#include <string_view>

#include "document/Geometry.h"

namespace sarnova {

// The marker of the version line.
inline constexpr const char* VersionMarker = "$SARNOVAVERSION";

// One line of an entity block: the trimmed text before the first "=" (upper-cased) and the text after
// it (at most 255 characters, trimmed). A line without "=" has an empty key.
struct TBlockLine {
    std::string Key;
    std::string Value;
};

// Reads the next line of a block; false when its key is empty, which ends the block (the empty
// closing line, or the end of the file).
bool ReadBlockLine(TTextReader& In, TBlockLine& Line);

// Whether Text can be a document: no NUL byte, and its first line that is not blank opens a block
// ("[...]") or is the version line. Empty text is an empty document.
bool HasDocumentShape(std::string_view Text);

// A reading error in words for the user: the reader's "I/O Result 100" (the text ended) and "I/O
// Result 106" (a word that is not a number) say what was expected; other messages stay as they are.
std::string ReadErrorInWords(const std::string& Message);

// The state that TGeometry holds which a class keeps in its block.
inline constexpr unsigned ckName = 1;
inline constexpr unsigned ckMirrored = 2;
inline constexpr unsigned ckColor = 4;

// Writes, after a class's own data, "Name=" (when not empty), "Mirrored=TRUE" (when mirrored) and
// "Color=" (when it differs from the settings' DrawColor, as a colour constant name or "$" and eight
// hexadecimal digits), each only when asked for in Keys.
void WriteCommonKeys(TTextWriter& Out, const TGeometry& Entity, unsigned Keys);
// Applies a NAME, MIRRORED or COLOR line to Entity; false for any other key. A colour that is not
// one throws EConvertError.
bool ReadCommonKey(TGeometry& Entity, const TBlockLine& Line);
// Reads the lines after a class's own data up to the first empty one (or the end of the file): the key
// "Name", exactly so, renames Entity, a key "COLOR" in any case recolours it, and every other line, also
// one without "=", is passed over. With Trimmed the line, its key and its value are trimmed; without,
// key and value stand as written. The value is at most 255 characters. Without WithColor a "COLOR"
// line is passed over too.
void ReadNameAndColorLines(TTextReader& In, TGeometry& Entity, bool Trimmed, bool WithColor = true);

}  // namespace sarnova
