// Counts read from a document block, checked against the block's own lines before any item is read:
// a damaged count must never take the lines of the block after it, nor leave lines of its own unread.
// A block's lines run from its keyword line to its first empty line (a line of blanks is part of it),
// the next keyword line "[...]" or the end of the text.
#pragma once
#include <cstddef>
#include <string_view>

namespace sarnova {

class TTextReader;

// What a list's count counts, and where it stands.
struct TListCount {
    // Lines at the reader's place before the count lines (a header of the list's own).
    int SkipLines = 0;
    // Count lines; a grid has two, whose product counts.
    int CountLines = 1;
    // Names one a line (any line without "="), rather than lines of numbers.
    bool Names = false;
};

// The data lines of a list, from the reader's place up to the block's end: lines of numbers, or
// with Names lines without "=", up to the first other line. The reader is left where it was.
long long CountDataLines(TTextReader& In, bool Names);

// How many lines of the block come before the first whose key (the text before "=", trimmed and
// upper-cased) is Key, looking at most Limit lines ahead; -1 when none is found. The reader is left
// where it was.
int LinesBeforeKey(TTextReader& In, std::string_view Key, int Limit);

// Checks a list's count before any item is read: the items, one a line, must fill exactly the data
// lines after the count lines. A count that is no number, or a damaged line of numbers where an item
// is due, is left to the list's own reader and its message; a negative count, or one that does not
// match the lines, throws EGeometryError naming the count's line. The reader is left where it was.
void CheckListCount(TTextReader& In, const TListCount& List = {});

// Where a block's reader stopped, against the block's end. Made at the block's first line, before
// anything of it is read.
class TBlockBounds {
public:
    explicit TBlockBounds(TTextReader& In);
    // A reader that stopped right after the next block's keyword line (taking it for the line that ends
    // its keys) is put back before it. Otherwise throws EGeometryError when the reader ran past the
    // block's end (a count too large took lines of
    // what follows), or when the line that ended its reading is a line of numbers with lines of the
    // block after it (a count too small left data that the key lines after it then lost); either names
    // the line, and the reader is left where it was.
    void CheckReadTo(TTextReader& In) const;

private:
    std::size_t FStart = 0;
    int FStartLine = 1;
    std::size_t FEnd = 0;    // start of the block's closing line (empty or a keyword), or the end of the text
    std::size_t FAfter = 0;  // just past an empty closing line; FEnd otherwise
    std::size_t FKeywordAfter = 0;  // just past a closing keyword line; 0 for other ends
    int FEndLine = 1;
};

}  // namespace sarnova
