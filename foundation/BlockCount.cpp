#include "foundation/BlockCount.h"

#include <algorithm>
#include <string>
#include <vector>

#include "foundation/TextUtils.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/TextFile.h"

namespace sarnova {

namespace {

bool IsKeywordLine(std::string_view Trimmed) {
    return Trimmed.size() >= 2 && Trimmed.front() == '[' && Trimmed.back() == ']';
}

// A line of one or more numbers and nothing else: a point, a knot, a value of a list.
bool IsNumbersLine(std::string_view Line) {
    std::vector<std::string_view> Words;
    SplitWords(TrimmedView(Line), Words);
    if (Words.empty()) return false;
    double Value = 0;
    for (std::string_view Word : Words)
        if (!TryStrToFloat(Word, Value)) return false;
    return true;
}

}  // namespace

long long CountDataLines(TTextReader& In, bool Names) {
    const TTextReader::TMark Start = In.Mark();
    long long Count = 0;
    while (!In.Eof()) {
        const std::string_view Line = In.ReadLineView();
        if (Line.empty() || IsKeywordLine(TrimmedView(Line)) ||
            (Names ? Line.find('=') != std::string_view::npos : !IsNumbersLine(Line)))
            break;
        ++Count;
    }
    In.Restore(Start);
    return Count;
}

int LinesBeforeKey(TTextReader& In, std::string_view Key, int Limit) {
    const TTextReader::TMark Start = In.Mark();
    int Found = -1;
    for (int I = 0; I < Limit && !In.Eof(); ++I) {
        const std::string_view Line = In.ReadLineView();
        const std::size_t Equals = Line.find('=');
        if (Line.empty() || IsKeywordLine(TrimmedView(Line))) break;
        if (Equals != std::string_view::npos && UpperCase(TrimmedView(Line.substr(0, Equals))) == Key) {
            Found = I;
            break;
        }
    }
    In.Restore(Start);
    return Found;
}

void CheckListCount(TTextReader& In, const TListCount& List) {
    const TTextReader::TMark Start = In.Mark();
    for (int I = 0; I < List.SkipLines; ++I) In.SkipLine();
    const int FirstLine = In.LineNumber();
    std::string Counts;
    long long Items = 1;
    bool Numbers = true;
    for (int I = 0; I < List.CountLines; ++I) {
        const int CountLineNo = In.LineNumber();
        const std::string_view Line = TrimmedView(In.ReadLineView());
        Counts += (I == 0 ? "" : ", ") + std::string(Line);
        const std::size_t Equals = Line.find('=');
        int Count = 0;
        Numbers = TryStrToInt(TrimmedView(Equals == std::string_view::npos ? Line : Line.substr(Equals + 1)), Count);
        if (!Numbers) break;
        if (Count < 0) {
            In.Restore(Start);
            throw EGeometryError(std::string(Line) + " on line " + std::to_string(CountLineNo) +
                                 " is a negative count");
        }
        // Capped so that the product of two counts stays in range; no block has this many lines.
        Items = std::min(Items * Count, 1LL << 40);
    }
    if (!Numbers) return In.Restore(Start);
    const long long Found = CountDataLines(In, List.Names);
    for (long long I = 0; I < Found; ++I) In.SkipLine();
    const std::string_view Next = In.Eof() ? std::string_view() : TrimmedView(In.ReadLineView());
    In.Restore(Start);
    // A damaged line where the count expects a point is the list reader's to name.
    const bool Damaged = !List.Names && Found < Items && !Next.empty() && !IsKeywordLine(Next) &&
                         Next.find('=') == std::string_view::npos;
    if (Found != Items && !Damaged)
        throw EGeometryError(Counts + " on line " + std::to_string(FirstLine) + " does not match the " +
                             std::to_string(Found) + " lines that follow");
}

TBlockBounds::TBlockBounds(TTextReader& In) {
    const TTextReader::TMark Start = In.Mark();
    FStart = Start.Pos;
    FStartLine = Start.Line;
    for (;;) {
        const TTextReader::TMark At = In.Mark();
        FEnd = FAfter = At.Pos;
        FEndLine = At.Line;
        if (In.Eof()) break;
        const std::string_view Line = In.ReadLineView();
        if (Line.empty()) {
            FAfter = In.Mark().Pos;
            break;
        }
        if (IsKeywordLine(TrimmedView(Line))) {
            FKeywordAfter = In.Mark().Pos;
            break;
        }
    }
    In.Restore(Start);
}

void TBlockBounds::CheckReadTo(TTextReader& In) const {
    const TTextReader::TMark Stop = In.Mark();
    // A reader that ends its keys at the first line without "=" took the next block's keyword line
    // for that line: it is given back, so that the next block is read.
    if (FKeywordAfter > 0 && Stop.Pos == FKeywordAfter) return In.Restore({FEnd, FEndLine});
    if (Stop.Pos > FAfter)
        throw EGeometryError("a count takes lines past the end of the block on line " + std::to_string(FEndLine));
    if (Stop.Pos == FAfter) return;
    // The line that ended the reading; one partly read (numbers read one by one) ended nothing.
    In.Restore({FStart, FStartLine});
    std::string_view Last;
    int LastLine = 0;
    while (In.Mark().Pos < Stop.Pos) {
        LastLine = In.LineNumber();
        Last = In.ReadLineView();
    }
    const bool Whole = In.Mark().Pos == Stop.Pos;
    // A reader with no key lines stops after its data: only lines left after the numbers show that
    // the count was too small.
    bool LinesLeft = false;
    while (!LinesLeft && In.Mark().Pos < FEnd) LinesLeft = !TrimmedView(In.ReadLineView()).empty();
    In.Restore(Stop);
    if (Whole && LinesLeft && LastLine > 0 && IsNumbersLine(Last))
        throw EGeometryError("line " + std::to_string(LastLine) + " holds data past the count of the block");
}

}  // namespace sarnova
