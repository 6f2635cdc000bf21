#include "foundation/MacroFile.h"

#include "foundation/Errors.h"
#include "foundation/TextFile.h"

namespace sarnova {

// Floating-point exceptions stay masked for the whole run, so a division by zero or an invalid
// operation yields an infinity or a NaN instead of trapping; the expression evaluator relies on it.
// On x86-64 they are masked by default, so nothing needs setting here.

namespace {

// Removes blanks and control characters from both ends.
std::string Trim(const std::string& Text) {
    std::size_t First = 0, Last = Text.size();
    while (First < Last && static_cast<unsigned char>(Text[First]) <= ' ') ++First;
    while (Last > First && static_cast<unsigned char>(Text[Last - 1]) <= ' ') --Last;
    return Text.substr(First, Last - First);
}

}  // namespace

void TMacroFile::LoadFromFile(const std::filesystem::path& Name) {
    FileName = Name.string();
    Cursor = 1;
    ClosesComment = false;
    Lines = ReadFileLines(Name);
    // The byte-order mark that editors on Windows put first.
    if (!Lines.empty() && Lines.front().starts_with("\xEF\xBB\xBF")) Lines.front().erase(0, 3);
}

std::string TMacroFile::NextLine() {
    std::string T;
    while (!Eof()) {
        T = Lines[Cursor - 1];
        ++Cursor;
        if (ClosesComment) {
            ClosesComment = false;
            T.erase(0, T.find("*)") + 2);
        }
        T = RemoveComments(T);
        if (!T.empty()) break;
    }
    CurrentLine = Trim(T);
    return CurrentLine;
}

std::string TMacroFile::RemoveComments(const std::string& T) {
    if (const auto Slashes = T.find("//"); Slashes != std::string::npos) return T.substr(0, Slashes);
    const auto Open = T.find("(*");
    const auto Close = T.find("*)");
    if (Close != std::string::npos) {
        if (Open == std::string::npos || Open > Close) return T.substr(Close + 2);
        // A comment that ends on its own line: keep the text on both sides, the comment standing for a blank.
        const std::string Before = T.substr(0, Open), After = T.substr(Close + 2);
        return Before.empty() || After.empty() ? Before + After : Before + " " + After;
    }
    if (Open == std::string::npos) return T;
    // The comment runs on: skip to the line that closes it, which the next pass reads from its "*)".
    while (!Eof() && Lines[Cursor - 1].find("*)") == std::string::npos) ++Cursor;
    if (Eof()) Error("Comment not found");
    ClosesComment = true;
    return T.substr(0, Open);
}

std::string TMacroFile::Report(const char* Kind, const std::string& Text, int Line) const {
    return std::string(Kind) + ": " + FileName + "(" + std::to_string(Line) + "): " + Text;
}

void TMacroFile::Error(const std::string& Text) const { ErrorAtLine(Text, Cursor - 1); }

void TMacroFile::ErrorAtLine(const std::string& Text, int Line) const { throw EError(Report("Error", Text, Line)); }

void TMacroFile::Warning(const std::string& Text) { WarningAtLine(Text, Cursor - 1); }

void TMacroFile::WarningAtLine(const std::string& Text, int Line) { Messages.push_back(Report("Warning", Text, Line)); }

void TMacroFile::Message(const std::string& Text) { Messages.push_back(Report("Message", Text, Cursor - 1)); }

void TMacroFile::AppendMessages(const TMacroFile& Other) {
    const std::vector<std::string> Copied = Other.Messages;  // Other may be this reader
    Messages.insert(Messages.end(), Copied.begin(), Copied.end());
}

}  // namespace sarnova
