// Reads a macro file line by line without its comments, and reports errors, warnings and messages
// that name the file and the line ("Error: hull.cmd(12): Command not found FOO").
#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace sarnova {

// Comments: "//" to the end of the line, and "(*" ... "*)" within a line or across lines.
class TMacroFile {
public:
    // Reads the file (LF, CR LF or CR line ends) and puts the cursor on line 1. Messages are kept. A file
    // that cannot be read throws EInOutError naming it.
    void LoadFromFile(const std::filesystem::path& Name);

    // True when every line has been read.
    bool Eof() const { return Cursor > static_cast<int>(Lines.size()); }

    // The next line that is not empty once its comments are removed, trimmed; "" at the end of the
    // file. A "(*" that no later line closes throws "Comment not found" at the last line.
    std::string NextLine();

    // Throws EError "Error: <file>(<line>): <Text>" for the current line (Cursor - 1), or for Line.
    [[noreturn]] void Error(const std::string& Text) const;
    [[noreturn]] void ErrorAtLine(const std::string& Text, int Line) const;
    // Append "Warning: <file>(<line>): <Text>" or "Message: ..." to Messages.
    void Warning(const std::string& Text);
    void WarningAtLine(const std::string& Text, int Line);
    void Message(const std::string& Text);
    // Appends the other reader's messages to this one's, in order.
    void AppendMessages(const TMacroFile& Other);

    // The 1-based number of the next line to read; Cursor - 1 is the current line.
    int GetCursor() const { return Cursor; }
    const std::string& GetFileName() const { return FileName; }
    // The line NextLine delivered last.
    const std::string& GetCurrentLine() const { return CurrentLine; }
    const std::vector<std::string>& GetLines() const { return Lines; }
    // The collected warnings and messages.
    const std::vector<std::string>& GetMessages() const { return Messages; }

private:
    std::string Report(const char* Kind, const std::string& Text, int Line) const;
    // T with its comments removed; a "(*" left open moves the cursor to the line that closes it.
    std::string RemoveComments(const std::string& T);

    std::vector<std::string> Lines;
    std::vector<std::string> Messages;
    int Cursor = 1;
    std::string FileName;
    std::string CurrentLine;
    // The line at the cursor closes a comment opened on an earlier line.
    bool ClosesComment = false;
};

}  // namespace sarnova
