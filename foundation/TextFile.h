// The text files that documents and kernel objects are written to and read from: whole lines, and
// reals read one after another across blanks and line ends. Numbers always use "." as decimal
// separator; nothing here depends on the locale.
#pragma once
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace sarnova {

// Reads a text held in memory. Lines end in LF, CR LF or a lone CR.
class TTextReader {
public:
    explicit TTextReader(std::string Text);
    // The whole file; one that cannot be read throws EInOutError "Cannot open file "<Name>"".
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

private:
    // Moves past a line end at FPos (LF, CR LF or CR); false when there is none.
    bool SkipLineEnd();

    std::string FText;
    std::size_t FPos = 0;
    int FLine = 1;
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
    // Writes the text to FileName through a temporary file in the same folder that replaces the
    // target only when complete, so a failure leaves an existing file as it was. Throws EInOutError
    // "Cannot write file "<Name>"".
    void SaveToFile(const std::filesystem::path& FileName) const;

private:
    std::string FText;
};

}  // namespace sarnova
