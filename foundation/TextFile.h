// The text files that documents and kernel objects are written to and read from: whole lines, and
// reals read one after another across blanks and line ends. Numbers always use "." as decimal
// separator; nothing here depends on the locale.
#pragma once
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace sarnova {

// Reads a text held in memory. Lines end in LF, CR LF or a lone CR.
class TTextReader {
public:
    explicit TTextReader(std::string Text);
    // The whole file through ReadFileText, whose errors pass on.
    static TTextReader FromFile(const std::filesystem::path& FileName);

    // Nothing left to read.
    bool Eof() const { return FPos >= FText.size(); }
    // The rest of the current line without its line end, then moves to the next line; "" at the end.
    std::string ReadLine();
    // ReadLine without a copy: the view lives as long as the reader.
    std::string_view ReadLineView();
    // Skips the rest of the current line and its line end.
    void SkipLine();
    // The next number, skipping blanks, control characters and line ends before it; the number ends
    // at the next blank or line end, which is not consumed. At the end of the text throws EInOutError
    // "I/O Result 100"; a word that is not a number throws EInOutError "I/O Result 106".
    double ReadReal();
    // Characters not read yet.
    std::size_t Remaining() const { return FText.size() - FPos; }
    // 1-based number of the line the next read starts on.
    int LineNumber() const { return FLine; }
    // 1-based number of the line the last ReadLine or ReadReal read from (where its error lies).
    int LastLineNumber() const { return FLastLine; }

    // A place in the text to come back to, so that a block can be read again another way.
    struct TMark {
        std::size_t Pos = 0;
        int Line = 1;
    };
    TMark Mark() const { return {FPos, FLine}; }
    void Restore(const TMark& At) {
        FPos = At.Pos;
        FLine = At.Line;
    }
    // The text between two marks, line ends as they stand.
    std::string_view Between(const TMark& From, const TMark& To) const {
        return std::string_view(FText).substr(From.Pos, To.Pos - From.Pos);
    }

private:
    // Moves past a line end at FPos (LF, CR LF or CR); false when there is none.
    bool SkipLineEnd();

    std::string FText;
    std::size_t FPos = 0;
    int FLine = 1;
    int FLastLine = 1;
};

// Collects text for a file; lines end in LF.
class TTextWriter {
public:
    void Write(std::string_view Text) { FText.append(Text); }
    void WriteLine(std::string_view Line) {
        FText.append(Line);
        FText.push_back('\n');
    }
    const std::string& Text() const { return FText; }
    // Takes back what was written after the first Size characters.
    void Truncate(std::size_t Size) {
        if (Size < FText.size()) FText.resize(Size);
    }
    // Writes the text to FileName through ReplaceFileText. Throws EInOutError "Cannot write file
    // "<Name>": <reason>".
    void SaveToFile(const std::filesystem::path& FileName) const;

private:
    std::string FText;
};

// ---- Whole files on disk ----

// The whole of a regular file. A folder, pipe or device is refused without reading from it (a pipe
// may never end, /dev/zero never does). Throws EInOutError "Cannot open file "<Name>". <reason>".
std::string ReadFileText(const std::filesystem::path& FileName);
// The lines of ReadFileText, split as TTextReader does (LF, CR LF or a lone CR).
std::vector<std::string> ReadFileLines(const std::filesystem::path& FileName);

// Replaces the file FileName with Text, or creates it. The text goes to a temporary file in the
// target's folder that is flushed to disk and then renamed over the target, so the target is either
// the old file or the new one, never a part. What the file was is kept: its mode, its owner and group
// where the user may set them, and a symbolic link, which stays and gets its linked file replaced. A
// read-only target is refused, and temporaries that a killed save left beside the target are removed.
// A failure leaves the target as it was and throws EInOutError "<Failure>: <reason>", the reason in
// words ("permission denied", "no space left on device", "the file is read-only").
void ReplaceFileText(const std::filesystem::path& FileName, std::string_view Text, std::string_view Failure);

}  // namespace sarnova
