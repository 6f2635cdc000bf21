// Utilities every module leans on: words and fields of text lines, numbered names, the program's
// version, its folders and the ".geo" file association, and a line reader with comments.
// Number texts (Format, ParseFloat, TruncSingle ...) are in NumberText.h, included here.
#pragma once
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/NumberText.h"

namespace sarnova {

// Sets a flag for the life of a scope and clears it when the scope ends, an exception included:
// forms hold one while they set their controls, to tell those changes from the user's edits.
class TFlagScope {
public:
    explicit TFlagScope(bool& Flag) : FFlag(Flag) { FFlag = true; }
    ~TFlagScope() { FFlag = false; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& FFlag;
};

// ---- The program's folders and name ----
// Set once by InitializeProgramFolders at start-up, read-only afterwards. Folders end in "/".

extern std::string GWinDir;      // the per-user configuration folder: $XDG_CONFIG_HOME or ~/.config
extern std::string GTempDir;     // the temporary folder
extern std::string GExePath;     // the full path of the program file
extern std::string GExeDir;      // the folder of the program file
extern std::string GExeName;     // the program file's name up to its first ".", lower case: the program's key
extern std::string GUserFolder;  // LocalAppDataFolder + "Tavik/" + GExeName + "/" (named, not created)

// Fills the globals above. Called first thing by the program and by the test main, rather than from
// a static constructor, so that no other module's start-up can run before it. Argv0 (the first
// command-line item) is used only when the running program file cannot be found otherwise.
void InitializeProgramFolders(std::string_view Argv0);

// The user's local application-data folder: $XDG_DATA_HOME or ~/.local/share, with a trailing "/".
std::string LocalAppDataFolder();

// True when Path names an existing folder.
bool IsDirectory(const std::filesystem::path& Path);

// ---- Waiting ----

// The GUI's single pass over its pending window messages, set by the shell; empty without a window.
extern std::function<void()> GProcessMessages;
// Runs GProcessMessages once, then returns when Count milliseconds have passed since the call. No
// messages are processed during the rest of the wait.
void WaitMilliseconds(std::uint16_t Count);

// ---- Text basics of the class library ----

// Text without the characters up to " " (blanks, tabs, line ends, control characters) at both ends.
std::string Trim(std::string_view Text);
// Trim without a copy: the part of Text that Trim would return.
std::string_view TrimmedView(std::string_view Text);
// ASCII letter case only, as the class library does.
std::string UpperCase(std::string_view Text);
std::string LowerCase(std::string_view Text);
// The UTF-8 bytes of one character.
std::string CharToUtf8(char32_t Code);

// X between A and B, both included, in either order.
bool IsBetween(double A, double B, double X);

// ---- Words and fields of a line ----

std::string TabsToSpaces(std::string_view Text);            // every tab becomes four blanks
std::string CommasToSpaces(std::string_view Text);          // every "," becomes a blank
// Only blanks, "-", ".", "_", digits and the letters A-Z, a-z are kept.
std::string KeepFileNameCharacters(std::string_view Text);

// Blank-separated words (tabs count as blanks): 1 when the line starts with a non-blank, plus 1 for
// every blank followed by a non-blank. "  a  b" has 2, "" has 0.
int WordCount(std::string_view Line);
// The N-th word (from 1) of the trimmed line; empty when N is 0 or beyond the last word.
std::string ExtractWord(std::string_view Line, int N);
// The words of Line, separated by blanks and tabs, as views into Line; Words is emptied first, its room
// kept, so that a reader can split line after line without allocating.
void SplitWords(std::string_view Line, std::vector<std::string_view>& Words);

// The words of one line at a time, read by number as ExtractWord reads them but split once and without
// copies: for readers of large files. The views point into the line last given to Split.
class TLineWords {
public:
    void Split(std::string_view Line) { SplitWords(TrimmedView(Line), FWords); }
    int Count() const { return static_cast<int>(FWords.size()); }
    // The N-th word (from 1); empty when N is 0 or beyond the last word.
    std::string_view Word(int N) const;

private:
    std::vector<std::string_view> FWords;
};

// True when one of the words of Line equals Word exactly, letter case included.
bool LineHasWord(std::string_view Word, std::string_view Line);

// The number of "," in Line plus 1 (1 for an empty line).
int CommaFieldCount(std::string_view Line);
// The N-th comma-separated field (from 1), trimmed. Asking beyond the last field gives the last one.
std::string ExtractCommaField(std::string_view Line, int N);

// The text after the first occurrence of Keyword in Line (letter case ignored), trimmed; the whole
// Line unchanged when Keyword does not occur.
std::string TextAfterKeyword(std::string_view Keyword, std::string_view Line);

// The next numbered name: the trailing number raised by 1 without leading zeros ("A007" -> "A8",
// "Frame9" -> "Frame10"), or "1" appended when there is no trailing number that fits an integer
// ("Curve" -> "Curve1", "" -> "1").
std::string IncrementNameNumber(std::string_view Name);

// ---- Version ----

// Keys of GetVersionInfoValue, in index order.
inline constexpr std::array<const char*, 8> VersionKeyNames = {
    "CompanyName",  "FileDescription",  "FileVersion", "InternalName",
    "LegalCopyRight", "OriginalFileName", "ProductName", "ProductVersion"};

// Value = the program's version value of key Index (0 .. 7, see VersionKeyNames), taken from the
// build. Keys the build does not define, and indices outside 0 .. 7, leave Value unchanged.
void GetVersionInfoValue(int Index, std::string& Value);

// "a.b.c.d" as four integers; an empty text gives four times 2147483647. A part that is not an
// integer (also a text with fewer than three ".") raises StrToInt's EConvertError.
std::array<int, 4> ParseVersionNumbers(std::string_view Text);

// Compares the version Text (of a document) with the program's "FileVersion": 2 when Text is newer,
// 1 when equal, 0 when older. Only the first, second and fourth numbers take part.
int CompareProgramVersion(std::string_view Text);
// The same against a given program version.
int CompareProgramVersion(std::string_view Text, std::string_view ProgramVersion);

// ---- The file association ----
// The desktop's counterpart of the Windows association keys, all per user:
//   the extension's owner      $XDG_CONFIG_HOME/mimeapps.list, [Default Applications]
//                              "application/x-<ext>=<identifier>.desktop"
//   the type itself            $XDG_DATA_HOME/mime/packages/<identifier>.xml (glob "*.<ext>")
//   the open command           $XDG_DATA_HOME/applications/<identifier>.desktop, Exec="<program>" %f
// where <identifier> is the program file's name up to its first "." followed by ".File".

// The MIME type the association gives Extension (".geo" -> "application/x-geo").
std::string FileTypeMimeType(std::string_view Extension);
// The program identifier: "sarnova.File" for the program file "sarnova".
std::string ProgramIdentifier();

// True when Extension is opened by this program file; false when nothing is registered or the entry
// is incomplete; when another program owns it, the negation of TakeOver. A command line whose program
// is not in double quotes never matches.
bool IsFileTypeRegistered(std::string_view Extension, bool TakeOver);

// Registers Extension for this program (the three files above; the MIME and desktop databases are
// refreshed when their tools are installed). IconIndex has no counterpart on this desktop. A file
// that cannot be written raises EInOutError "Unable to register the file type <Extension>: cannot
// write <file>", leaving the files written before it in place.
void RegisterFileType(std::string_view Extension, int IconIndex);

// ---- Line reader ----

// Reads a text file as lines and hands them out one by one, trimmed and cut at a comment marker.
class TFileLoader {
public:
    std::string CommentMarker;  // starts a comment; empty means no comments
    int LineNumber = 1;         // 1-based number of the next line to return
    std::string FileName;       // the loaded file
    std::string Line;           // the last line returned

    // FileName = Name, LineNumber = 1, then the lines of the file (LF, CR LF or CR ends). A file that
    // cannot be read raises ReadFileText's EInOutError "Cannot open file "<Name>". <reason>".
    void LoadFromFile(const std::filesystem::path& Name);

    int Count() const { return static_cast<int>(FLines.size()); }
    const std::vector<std::string>& Lines() const { return FLines; }

    bool Eof() const { return LineNumber > Count(); }
    // The next line through CutComment (also kept in Line); the empty string after the last line.
    std::string NextLine();
    // Text trimmed and, when CommentMarker occurs in it, cut before its first occurrence (the part
    // before is not trimmed again: "  a # note" gives "a ").
    std::string CutComment(std::string_view Text) const;

private:
    std::vector<std::string> FLines;
};

}  // namespace sarnova
