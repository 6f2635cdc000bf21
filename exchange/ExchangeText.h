// Text helpers of the exchange formats: a file's lines as views into one string, text from a file
// made fit for a message, and names cut without splitting a UTF-8 character.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace sarnova {

// The lines of Text (ended by LF, CR LF or a lone CR) as views into it: a file read once and parsed
// in place, without a string for every line.
std::vector<std::string_view> SplitLineViews(std::string_view Text);

// Text from a file made fit for a message: control characters (but tab and line ends) and bytes that are no UTF-8 shown as
// "\xNN", cut after MaxLength characters with "...".
std::string PrintableText(std::string_view Text, std::size_t MaxLength = 80);

// The lines of a file (ended by LF, CR LF or a lone CR) read block by block: a large file is parsed
// without being held whole. Each line is a view valid until the next call of Next.
class TFileLines {
public:
    // Opens the file; one that cannot be opened raises the error of the program's file reader.
    explicit TFileLines(const std::string& FileName, std::size_t BlockSize = std::size_t{1} << 22);
    ~TFileLines();
    TFileLines(const TFileLines&) = delete;
    TFileLines& operator=(const TFileLines&) = delete;

    // The next line; false at the end of the file.
    bool Next(std::string_view& Line);
    // The lines returned so far: the 1-based number of the last one.
    std::size_t Count() const { return FCount; }
    // The file's first bytes (up to 1024) and its size, to tell what kind of file it is.
    std::string_view Head() const { return FHead; }
    std::uint64_t Size() const { return FSize; }

private:
    // Reads more after the unread rest; false when the file has nothing more.
    bool Fill();

    std::FILE* FFile = nullptr;
    std::string FBuffer;
    std::size_t FPos = 0, FEnd = 0, FBlock;
    bool FEof = false;
    std::size_t FCount = 0;
    std::string FHead;
    std::uint64_t FSize = 0;
};

// The longest start of Text of at most MaxBytes bytes that does not end inside a UTF-8 character.
std::string_view Utf8Prefix(std::string_view Text, std::size_t MaxBytes);

}  // namespace sarnova
