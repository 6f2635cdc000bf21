// Utilities every module leans on: text words and fields, version, folders, file association.
#include "foundation/TextUtils.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <sstream>
#include <system_error>
#include <thread>

#include "SarnovaVersion.h"
#include "foundation/Errors.h"
#include "foundation/TextFile.h"

namespace sarnova {

std::string GWinDir;
std::string GTempDir;
std::string GExePath;
std::string GExeDir;
std::string GExeName;
std::string GUserFolder;

namespace {

bool IsBlankOrControl(char C) { return static_cast<unsigned char>(C) <= ' '; }

std::string WithSlash(std::string Folder) {
    if (Folder.empty() || Folder.back() != '/') Folder += '/';
    return Folder;
}

// An XDG base folder: the variable when it holds an absolute path, else the fallback under $HOME.
std::string XdgFolder(const char* Variable, const char* UnderHome) {
    if (const char* Value = std::getenv(Variable); Value && Value[0] == '/') return Value;
    if (const char* Home = std::getenv("HOME"); Home && Home[0]) return std::string(Home) + "/" + UnderHome;
    std::error_code Ignored;
    return (std::filesystem::temp_directory_path(Ignored) / UnderHome).string();
}

// The program file's name up to its first ".".
std::string ExeBaseName() {
    const std::string File = std::filesystem::path(GExePath).filename().string();
    return File.substr(0, File.find('.'));
}

}  // namespace

// ---- Folders ----

void InitializeProgramFolders(std::string_view Argv0) {
    std::error_code Error;
    std::filesystem::path Exe = std::filesystem::read_symlink("/proc/self/exe", Error);
    if (Error || Exe.empty()) {
        Exe = std::filesystem::absolute(std::filesystem::path(Argv0), Error);
        if (Error) Exe = std::filesystem::path(Argv0);
        Exe = Exe.lexically_normal();
    }
    GWinDir = WithSlash(XdgFolder("XDG_CONFIG_HOME", ".config"));
    const std::filesystem::path Temp = std::filesystem::temp_directory_path(Error);
    GTempDir = WithSlash(Error ? std::string("/tmp") : Temp.string());
    GExePath = Exe.string();
    GExeDir = WithSlash(Exe.parent_path().string());
    GExeName = LowerCase(ExeBaseName());
    GUserFolder = LocalAppDataFolder() + "Tavik/" + GExeName + "/";
}

std::string LocalAppDataFolder() { return WithSlash(XdgFolder("XDG_DATA_HOME", ".local/share")); }

bool IsDirectory(const std::filesystem::path& Path) {
    std::error_code Ignored;
    return std::filesystem::is_directory(Path, Ignored);
}

// ---- Waiting ----

std::function<void()> GProcessMessages;

// Sleeps rather than spins: the caller sees the same wait without a busy processor.
void WaitMilliseconds(std::uint16_t Count) {
    const auto Start = std::chrono::steady_clock::now();
    if (GProcessMessages) GProcessMessages();
    std::this_thread::sleep_until(Start + std::chrono::milliseconds(Count));
}

// ---- Text basics ----

std::string Trim(std::string_view Text) { return std::string(TrimmedView(Text)); }

std::string_view TrimmedView(std::string_view Text) {
    while (!Text.empty() && IsBlankOrControl(Text.front())) Text.remove_prefix(1);
    while (!Text.empty() && IsBlankOrControl(Text.back())) Text.remove_suffix(1);
    return Text;
}

std::string UpperCase(std::string_view Text) {
    std::string Result(Text);
    for (char& C : Result)
        if (C >= 'a' && C <= 'z') C = static_cast<char>(C - 'a' + 'A');
    return Result;
}

std::string LowerCase(std::string_view Text) {
    std::string Result(Text);
    for (char& C : Result)
        if (C >= 'A' && C <= 'Z') C = static_cast<char>(C - 'A' + 'a');
    return Result;
}

std::string CharToUtf8(char32_t Code) {
    const auto C = static_cast<std::uint32_t>(Code);
    std::string S;
    if (C < 0x80) {
        S += static_cast<char>(C);
    } else if (C < 0x800) {
        S += static_cast<char>(0xC0 | (C >> 6));
        S += static_cast<char>(0x80 | (C & 0x3F));
    } else if (C < 0x10000) {
        S += static_cast<char>(0xE0 | (C >> 12));
        S += static_cast<char>(0x80 | ((C >> 6) & 0x3F));
        S += static_cast<char>(0x80 | (C & 0x3F));
    } else {
        S += static_cast<char>(0xF0 | ((C >> 18) & 0x07));
        S += static_cast<char>(0x80 | ((C >> 12) & 0x3F));
        S += static_cast<char>(0x80 | ((C >> 6) & 0x3F));
        S += static_cast<char>(0x80 | (C & 0x3F));
    }
    return S;
}

bool IsBetween(double A, double B, double X) { return A <= B ? A <= X && X <= B : B <= X && X <= A; }

// ---- Words and fields ----

std::string TabsToSpaces(std::string_view Text) {
    // Readers call this on every line of large files: copy the runs between tabs whole.
    std::size_t Tab = Text.find('\t');
    if (Tab == std::string_view::npos) return std::string(Text);
    std::string Result;
    Result.reserve(Text.size() + 8);
    std::size_t From = 0;
    for (; Tab != std::string_view::npos; From = Tab + 1, Tab = Text.find('\t', From)) {
        Result.append(Text, From, Tab - From);
        Result.append("    ");
    }
    Result.append(Text, From);
    return Result;
}

std::string CommasToSpaces(std::string_view Text) {
    std::string Result(Text);
    std::replace(Result.begin(), Result.end(), ',', ' ');
    return Result;
}

std::string KeepFileNameCharacters(std::string_view Text) {
    std::string Result;
    for (char C : Text)
        if (C == ' ' || C == '-' || C == '.' || C == '_' || (C >= '0' && C <= '9') || (C >= 'A' && C <= 'Z') ||
            (C >= 'a' && C <= 'z'))
            Result += C;
    return Result;
}

namespace {

bool IsWordBlank(char C) { return C == ' ' || C == '\t'; }

}  // namespace

int WordCount(std::string_view Line) {
    // A tab is four blanks to the count, so it separates words as a blank does.
    int Count = 0;
    bool InWord = false;
    for (const char C : Line) {
        const bool Blank = IsWordBlank(C);
        if (!Blank && !InWord) ++Count;
        InWord = !Blank;
    }
    return Count;
}

void SplitWords(std::string_view Line, std::vector<std::string_view>& Words) {
    Words.clear();
    std::size_t I = 0;
    while (I < Line.size()) {
        while (I < Line.size() && IsWordBlank(Line[I])) ++I;
        const std::size_t Start = I;
        while (I < Line.size() && !IsWordBlank(Line[I])) ++I;
        if (I > Start) Words.push_back(Line.substr(Start, I - Start));
    }
}

std::string_view TLineWords::Word(int N) const {
    return N >= 1 && static_cast<std::size_t>(N) <= FWords.size() ? FWords[static_cast<std::size_t>(N) - 1]
                                                                   : std::string_view();
}

std::string ExtractWord(std::string_view Line, int N) {
    if (N < 1) return {};
    // Walks to the N-th word of the trimmed line without splitting the rest.
    const std::string_view Text = TrimmedView(Line);
    std::size_t I = 0;
    for (int K = 1;; ++K) {
        while (I < Text.size() && IsWordBlank(Text[I])) ++I;
        if (I == Text.size()) return {};
        const std::size_t Start = I;
        while (I < Text.size() && !IsWordBlank(Text[I])) ++I;
        if (K == N) return std::string(Text.substr(Start, I - Start));
    }
}

bool LineHasWord(std::string_view Word, std::string_view Line) {
    std::vector<std::string_view> Words;
    SplitWords(TrimmedView(Line), Words);
    const int Count = WordCount(Line);
    for (int I = 0; I < Count; ++I) {
        const std::string_view Candidate = static_cast<size_t>(I) < Words.size() ? Words[static_cast<size_t>(I)] : "";
        if (Candidate == Word) return true;
    }
    return false;
}

int CommaFieldCount(std::string_view Line) { return static_cast<int>(std::count(Line.begin(), Line.end(), ',')) + 1; }

std::string ExtractCommaField(std::string_view Line, int N) {
    // Fields past the last one give the last one; long lines are read whole.
    for (int I = 1; I < N; ++I) {
        const size_t Comma = Line.find(',');
        if (Comma == std::string_view::npos) break;
        Line.remove_prefix(Comma + 1);
    }
    return Trim(Line.substr(0, Line.find(',')));
}

std::string TextAfterKeyword(std::string_view Keyword, std::string_view Line) {
    if (Keyword.empty()) return std::string(Line);
    const size_t At = UpperCase(Line).find(UpperCase(Keyword));
    if (At == std::string::npos) return std::string(Line);
    return Trim(Line.substr(At + Keyword.size()));
}

std::string IncrementNameNumber(std::string_view Name) {
    size_t Start = Name.size();
    while (Start > 0 && Name[Start - 1] >= '0' && Name[Start - 1] <= '9') --Start;
    const std::string_view Prefix = Name.substr(0, Start);
    int Number = 0;
    if (Start < Name.size() && TryStrToInt(Name.substr(Start), Number))
        // Raised in 64 bits: the largest integer goes on to 2147483648 instead of turning negative.
        return std::string(Prefix) + IntToStr(static_cast<std::int64_t>(Number) + 1);
    return std::string(Prefix) + "1";
}

// ---- Version ----

void GetVersionInfoValue(int Index, std::string& Value) {
    switch (Index) {
        case 0: Value = "Tavik"; break;
        case 2: Value = SARNOVA_FILE_VERSION; break;
        case 6: Value = "Sarnova"; break;
        case 7: Value = SARNOVA_PRODUCT_VERSION; break;
        default: break;
    }
}

std::array<int, 4> ParseVersionNumbers(std::string_view Text) {
    if (Text.empty()) return {2147483647, 2147483647, 2147483647, 2147483647};
    std::array<int, 4> Numbers{};
    for (size_t I = 0; I < 3; ++I) {
        const size_t Dot = Text.find('.');
        // A missing "." leaves an empty part, which is no integer.
        Numbers[I] = StrToInt(Dot == std::string_view::npos ? std::string_view() : Text.substr(0, Dot));
        Text.remove_prefix(Dot + 1);
    }
    Numbers[3] = StrToInt(Text);
    return Numbers;
}

int CompareProgramVersion(std::string_view Text, std::string_view ProgramVersion) {
    const auto P = ParseVersionNumbers(ProgramVersion);
    const auto D = ParseVersionNumbers(Text);
    // The third number (the build's minor release) takes no part.
    for (size_t I : {0u, 1u, 3u}) {
        if (D[I] > P[I]) return 2;
        if (D[I] < P[I]) return 0;
    }
    return 1;
}

int CompareProgramVersion(std::string_view Text) {
    std::string Program;
    GetVersionInfoValue(2, Program);
    return CompareProgramVersion(Text, Program);
}

// ---- File association ----

namespace {

std::filesystem::path MimeAppsList() { return std::filesystem::path(XdgFolder("XDG_CONFIG_HOME", ".config")) / "mimeapps.list"; }

std::filesystem::path MimePackage(const std::string& Identifier) {
    return std::filesystem::path(LocalAppDataFolder()) / "mime" / "packages" / (Identifier + ".xml");
}

// Where this program writes its desktop entry.
std::filesystem::path DesktopEntry(const std::string& DesktopId) {
    return std::filesystem::path(LocalAppDataFolder()) / "applications" / DesktopId;
}

// Where the desktop finds an entry: the user's data folder first, then the system's; empty when none.
std::filesystem::path FindDesktopEntry(const std::string& DesktopId) {
    std::error_code Error;
    if (const auto Own = DesktopEntry(DesktopId); std::filesystem::exists(Own, Error)) return Own;
    const char* Dirs = std::getenv("XDG_DATA_DIRS");
    std::stringstream Folders(Dirs && Dirs[0] ? Dirs : "/usr/local/share/:/usr/share/");
    std::string Dir;
    while (std::getline(Folders, Dir, ':')) {
        if (Dir.empty() || Dir[0] != '/') continue;
        const auto Entry = std::filesystem::path(Dir) / "applications" / DesktopId;
        if (std::filesystem::exists(Entry, Error)) return Entry;
    }
    return {};
}

// The program path as it stands between the double quotes of an Exec line.
std::string QuotedExecPath(std::string_view Path) {
    std::string Result;
    for (char C : Path) {
        if (C == '"' || C == '`' || C == '$' || C == '\\') Result += '\\';
        if (C == '%') Result += '%';
        Result += C;
    }
    return Result;
}

bool ReadLines(const std::filesystem::path& File, std::vector<std::string>& Lines) {
    try {
        Lines = ReadFileLines(File);
    } catch (const EInOutError&) {
        return false;
    }
    return true;
}

// The value of Key in [Group] of a desktop-style key file; false when the file, group or key is
// missing.
bool ReadKey(const std::filesystem::path& File, std::string_view Group, std::string_view Key, std::string& Value) {
    std::vector<std::string> Lines;
    if (!ReadLines(File, Lines)) return false;
    bool InGroup = false;
    for (const std::string& L : Lines) {
        const std::string T = Trim(L);
        if (!T.empty() && T.front() == '[') {
            InGroup = T == "[" + std::string(Group) + "]";
            continue;
        }
        const size_t Equals = T.find('=');
        if (InGroup && Equals != std::string::npos && Trim(std::string_view(T).substr(0, Equals)) == Key) {
            Value = Trim(std::string_view(T).substr(Equals + 1));
            return true;
        }
    }
    return false;
}

[[noreturn]] void RegistrationFailed(std::string_view Extension, const std::filesystem::path& File) {
    throw EInOutError("Unable to register the file type " + std::string(Extension) + ": cannot write " + File.string());
}

// Replaces the whole file (see ReplaceFileText), so that a failure leaves the old file as it was.
void WriteFile(std::string_view Extension, const std::filesystem::path& File, const std::string& Text) {
    std::error_code Error;
    std::filesystem::create_directories(File.parent_path(), Error);
    ReplaceFileText(File, Text, "Unable to register the file type " + std::string(Extension) + ": cannot write " + File.string());
}

std::string XmlEscaped(std::string_view Text) {
    std::string Result;
    for (char C : Text) {
        switch (C) {
            case '&': Result += "&amp;"; break;
            case '<': Result += "&lt;"; break;
            case '>': Result += "&gt;"; break;
            case '"': Result += "&quot;"; break;
            default: Result += C;
        }
    }
    return Result;
}

// mimeapps.list with Key = Value in [Default Applications]; every other line stays as it was.
std::string WithDefaultApplication(std::vector<std::string> Lines, const std::string& Key, const std::string& Value) {
    const std::string Entry = Key + "=" + Value;
    bool InGroup = false, Done = false;
    for (size_t I = 0; I < Lines.size() && !Done; ++I) {
        const std::string T = Trim(Lines[I]);
        if (!T.empty() && T.front() == '[') {
            if (InGroup) {  // the group ends without the key: add it at the group's end
                size_t At = I;
                while (At > 0 && Trim(Lines[At - 1]).empty()) --At;
                Lines.insert(Lines.begin() + static_cast<std::ptrdiff_t>(At), Entry);
                Done = true;
            }
            InGroup = T == "[Default Applications]";
            continue;
        }
        const size_t Equals = T.find('=');
        if (InGroup && Equals != std::string::npos && Trim(std::string_view(T).substr(0, Equals)) == Key) {
            Lines[I] = Entry;
            Done = true;
        }
    }
    if (!Done) {
        if (!InGroup) {
            if (!Lines.empty() && !Trim(Lines.back()).empty()) Lines.emplace_back();
            Lines.emplace_back("[Default Applications]");
        }
        Lines.push_back(Entry);
    }
    std::string Text;
    for (const std::string& L : Lines) Text += L + "\n";
    return Text;
}

// Runs a desktop database tool on Folder when it is installed; its outcome does not matter to us.
void RefreshDatabase(const char* Tool, const std::filesystem::path& Folder) {
    const char* Path = std::getenv("PATH");
    if (!Path) return;
    std::stringstream Folders(Path);
    std::string Dir;
    bool Found = false;
    while (!Found && std::getline(Folders, Dir, ':')) {
        std::error_code Ignored;
        Found = !Dir.empty() && std::filesystem::exists(std::filesystem::path(Dir) / Tool, Ignored);
    }
    if (!Found) return;
    std::string Quoted = "'";
    for (char C : Folder.string()) Quoted += C == '\'' ? std::string("'\\''") : std::string(1, C);
    Quoted += "'";
    const int Ignored = std::system((std::string(Tool) + " " + Quoted + " >/dev/null 2>&1").c_str());
    (void)Ignored;
}

}  // namespace

std::string FileTypeMimeType(std::string_view Extension) {
    if (!Extension.empty() && Extension.front() == '.') Extension.remove_prefix(1);
    return "application/x-" + LowerCase(Extension);
}

std::string ProgramIdentifier() { return ExeBaseName() + ".File"; }

bool IsFileTypeRegistered(std::string_view Extension, bool TakeOver) {
    std::string Owner;
    if (!ReadKey(MimeAppsList(), "Default Applications", FileTypeMimeType(Extension), Owner)) return false;
    Owner = Trim(std::string_view(Owner).substr(0, Owner.find(';')));
    if (Owner.empty()) return false;
    const std::filesystem::path Entry = FindDesktopEntry(Owner);
    if (Entry.empty()) return false;
    std::string Command;
    ReadKey(Entry, "Desktop Entry", "Exec", Command);
    Command = UpperCase(Command);
    // The program is the text between the first two double quotes; without them nothing matches.
    const size_t Open = Command.find('"');
    const size_t Close = Open == std::string::npos ? std::string::npos : Command.find('"', Open + 1);
    const bool Ours = Close != std::string::npos &&
                      Command.substr(Open + 1, Close - Open - 1) == UpperCase(QuotedExecPath(GExePath));
    if (!Ours) return !TakeOver;
    // Ours, but with the type itself gone the files still need writing again.
    std::error_code Error;
    return std::filesystem::exists(MimePackage(ProgramIdentifier()), Error);
}

void RegisterFileType(std::string_view Extension, int IconIndex) {
    const std::string Identifier = ProgramIdentifier();
    const std::string MimeType = FileTypeMimeType(Extension);
    std::string_view Bare = Extension;
    if (!Bare.empty() && Bare.front() == '.') Bare.remove_prefix(1);

    const std::filesystem::path Package = MimePackage(Identifier);
    WriteFile(Extension, Package,
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
              "  <mime-type type=\"" + XmlEscaped(MimeType) + "\">\n"
              "    <comment>" + XmlEscaped(ExeBaseName() + " File") + "</comment>\n"
              "    <glob pattern=\"*." + XmlEscaped(Bare) + "\"/>\n"
              "  </mime-type>\n"
              "</mime-info>\n");

    const std::filesystem::path Entry = DesktopEntry(Identifier + ".desktop");
    WriteFile(Extension, Entry,
              "[Desktop Entry]\n"
              "Type=Application\n"
              "Name=" + ExeBaseName() + "\n"
              "Exec=\"" + QuotedExecPath(GExePath) + "\" %f\n"
              "MimeType=" + MimeType + ";\n"
              "NoDisplay=true\n");

    std::vector<std::string> Lines;
    const std::filesystem::path List = MimeAppsList();
    std::error_code Error;
    if (std::filesystem::exists(List, Error) && !ReadLines(List, Lines)) RegistrationFailed(Extension, List);
    WriteFile(Extension, List, WithDefaultApplication(std::move(Lines), MimeType, Identifier + ".desktop"));

    RefreshDatabase("update-mime-database", Package.parent_path().parent_path());
    RefreshDatabase("update-desktop-database", Entry.parent_path());
}

// ---- Line reader ----

void TFileLoader::LoadFromFile(const std::filesystem::path& Name) {
    FileName = Name.string();
    LineNumber = 1;
    FLines = ReadFileLines(Name);
}

std::string TFileLoader::NextLine() {
    if (LineNumber < 1 || LineNumber > Count()) return {};
    Line = FLines[static_cast<size_t>(LineNumber - 1)];
    ++LineNumber;
    Line = CutComment(Line);
    return Line;
}

std::string TFileLoader::CutComment(std::string_view Text) const {
    std::string Result = Trim(Text);
    if (!CommentMarker.empty()) {
        const size_t At = Result.find(CommentMarker);
        if (At != std::string::npos) Result.resize(At);
    }
    return Result;
}

}  // namespace sarnova
