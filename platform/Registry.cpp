// The registry file: parsing, the change journal and the replacing write.
#include "platform/Registry.h"

#include "foundation/TextUtils.h"
#include "foundation/TextFile.h"

#include <algorithm>
#include <exception>
#include <fstream>
#include <system_error>

namespace sarnova {

namespace {

// A store file is a few kilobytes; anything past this is not ours and is not read.
constexpr std::uintmax_t MaxFileSize = 16u * 1024u * 1024u;

char UpperAscii(char C) { return (C >= 'a' && C <= 'z') ? static_cast<char>(C - 'a' + 'A') : C; }

bool SameName(std::string_view A, std::string_view B) {
    return A.size() == B.size() &&
           std::equal(A.begin(), A.end(), B.begin(), [](char X, char Y) { return UpperAscii(X) == UpperAscii(Y); });
}

// Path lies at or below Base (both absolute, without a leading "\").
bool IsAtOrBelow(std::string_view Path, std::string_view Base) {
    if (Base.empty()) return true;
    if (Path.size() < Base.size() || !SameName(Path.substr(0, Base.size()), Base)) return false;
    return Path.size() == Base.size() || Path[Base.size()] == '\\';
}

// Joins the non-empty components of Key below Base: doubled, leading and trailing separators are
// dropped, so "a\\b\" and "\a\b" both name "a\b".
std::string JoinKey(std::string_view Base, std::string_view Key) {
    std::string Result(Base);
    std::size_t Pos = 0;
    while (Pos <= Key.size()) {
        std::size_t End = Key.find('\\', Pos);
        if (End == std::string_view::npos) End = Key.size();
        const std::string_view Part = Key.substr(Pos, End - Pos);
        if (!Part.empty()) {
            if (Part.find_first_of("\r\n") != std::string_view::npos)
                throw ERegistryError("Invalid registry key name '" + std::string(Key) + "'");
            if (!Result.empty()) Result += '\\';
            Result += Part;
        }
        Pos = End + 1;
    }
    return Result;
}

// ---- The file text ----
// Names and values escape "\", "=", line breaks, and a leading "[", ";" or "#" (which would make the
// line read as a section or a comment). Unknown escapes stand for the character itself.

std::string Escape(std::string_view Text, bool IsName) {
    std::string Result;
    Result.reserve(Text.size());
    for (std::size_t I = 0; I < Text.size(); ++I) {
        const char C = Text[I];
        switch (C) {
            case '\\': Result += "\\\\"; break;
            case '\n': Result += "\\n"; break;
            case '\r': Result += "\\r"; break;
            case '=': Result += "\\="; break;
            case '[':
            case ';':
            case '#':
                if (IsName && I == 0) Result += '\\';
                Result += C;
                break;
            default: Result += C;
        }
    }
    return Result;
}

std::string Unescape(std::string_view Text) {
    std::string Result;
    Result.reserve(Text.size());
    for (std::size_t I = 0; I < Text.size(); ++I) {
        if (Text[I] != '\\' || I + 1 == Text.size()) {
            Result += Text[I];
            continue;
        }
        const char C = Text[++I];
        Result += C == 'n' ? '\n' : C == 'r' ? '\r' : C;
    }
    return Result;
}

using TKeys = std::vector<TRegistry::TKey>;

int IntegerOr(const TRegistry::TValue* V, int Default) {
    int Value = Default;
    return V && TryStrToInt(V->Data, Value) ? Value : Default;
}

TRegistry::TKey* FindKey(TKeys& Keys, std::string_view Path) {
    for (auto& K : Keys)
        if (SameName(K.Path, Path)) return &K;
    return nullptr;
}

TRegistry::TKey& FindOrAddKey(TKeys& Keys, std::string_view Path) {
    if (auto* K = FindKey(Keys, Path)) return *K;
    Keys.push_back({std::string(Path), {}});
    return Keys.back();
}

void SetValue(std::vector<TRegistry::TValue>& Values, std::string_view Name, std::string_view Data) {
    for (auto& V : Values)
        if (SameName(V.Name, Name)) {
            V.Data = Data;
            return;
        }
    Values.push_back({std::string(Name), std::string(Data)});
}

bool RemoveValue(TKeys& Keys, std::string_view Path, std::string_view Name) {
    auto* K = FindKey(Keys, Path);
    if (!K) return false;
    const auto Found = std::find_if(K->Values.begin(), K->Values.end(),
                                    [&](const TRegistry::TValue& V) { return SameName(V.Name, Name); });
    if (Found == K->Values.end()) return false;
    K->Values.erase(Found);
    return true;
}

bool RemoveKey(TKeys& Keys, std::string_view Path) {
    if (Path.empty()) return false;
    const auto Old = Keys.size();
    std::erase_if(Keys, [&](const TRegistry::TKey& K) { return IsAtOrBelow(K.Path, Path); });
    return Keys.size() != Old;
}

void Apply(TKeys& Keys, const TRegistry::TChange& C) {
    switch (C.Kind) {
        case TRegistry::TChange::ckSetValue: SetValue(FindOrAddKey(Keys, C.Key).Values, C.Name, C.Data); break;
        case TRegistry::TChange::ckDeleteValue: RemoveValue(Keys, C.Key, C.Name); break;
        case TRegistry::TChange::ckCreateKey: FindOrAddKey(Keys, C.Key); break;
        case TRegistry::TChange::ckDeleteKey: RemoveKey(Keys, C.Key); break;
    }
}

std::string_view TrimRight(std::string_view Line) {
    while (!Line.empty() && (Line.back() == ' ' || Line.back() == '\t' || Line.back() == '\r'))
        Line.remove_suffix(1);
    return Line;
}

TKeys Parse(std::string_view Text) {
    TKeys Keys;
    constexpr std::size_t NoKey = static_cast<std::size_t>(-1);
    std::size_t Current = NoKey;
    std::size_t Pos = 0;
    while (Pos < Text.size()) {
        std::size_t End = Text.find('\n', Pos);
        if (End == std::string_view::npos) End = Text.size();
        std::string_view Line = Text.substr(Pos, End - Pos);
        Pos = End + 1;
        if (!Line.empty() && Line.back() == '\r') Line.remove_suffix(1);
        if (Line.empty() || Line[0] == ';' || Line[0] == '#') continue;
        if (Line[0] == '[') {
            // A damaged header drops the values below it rather than filing them under another key.
            Current = NoKey;
            const std::string_view Header = TrimRight(Line);
            if (Header.size() < 2 || Header.back() != ']') continue;
            try {
                auto& Key = FindOrAddKey(Keys, JoinKey({}, Header.substr(1, Header.size() - 2)));
                Current = static_cast<std::size_t>(&Key - Keys.data());
            } catch (const ERegistryError&) {
            }
            continue;
        }
        if (Current == NoKey) continue;
        std::size_t Equals = 0;
        while (Equals < Line.size() && Line[Equals] != '=') Equals += Line[Equals] == '\\' ? 2 : 1;
        if (Equals >= Line.size()) continue;
        SetValue(Keys[Current].Values, Unescape(Line.substr(0, Equals)), Unescape(Line.substr(Equals + 1)));
    }
    return Keys;
}

std::string Serialize(const TKeys& Keys) {
    std::string Text;
    for (const auto& K : Keys) {
        if (!Text.empty()) Text += '\n';
        Text += '[';
        Text += K.Path;
        Text += "]\n";
        for (const auto& V : K.Values) {
            Text += Escape(V.Name, true);
            Text += '=';
            Text += Escape(V.Data, false);
            Text += '\n';
        }
    }
    return Text;
}

// What can be read of the file; nothing when it is missing, unreadable or not a file.
TKeys LoadFile(const std::filesystem::path& FileName) {
    std::error_code Error;
    if (!std::filesystem::is_regular_file(FileName, Error)) return {};
    const auto Size = std::filesystem::file_size(FileName, Error);
    std::ifstream In(FileName, std::ios::binary);
    if (Error || !In) return {};
    std::string Text(static_cast<std::size_t>(std::min(Size, MaxFileSize)), '\0');
    In.read(Text.data(), static_cast<std::streamsize>(Text.size()));
    Text.resize(static_cast<std::size_t>(In.gcount()));
    return Parse(Text);
}

// Replaces the file as a whole (see ReplaceFileText): a settings file kept elsewhere through a
// symbolic link stays linked, and its mode stays.
void WriteReplacing(const std::filesystem::path& FileName, const std::string& Text) {
    const std::string Failure = "Unable to write the settings file " + FileName.string();
    const auto Folder = FileName.parent_path();
    if (!Folder.empty()) {
        std::error_code Error;
        std::filesystem::create_directories(Folder, Error);
        if (Error) throw EInOutError(Failure + ": " + Error.message());
    }
    ReplaceFileText(FileName, Text, Failure);
}

}  // namespace

std::filesystem::path RegistryFileName() {
    if (GWinDir.empty()) throw EError("RegistryFileName - the program folders are not set up");
    return std::filesystem::path(GWinDir) / "Tavik" / "sarnova.ini";
}

std::string ProgramRegistryKey(std::string_view ExeName) { return "Software\\Tavik\\" + std::string(ExeName); }

// ---- TRegistry ----

TRegistry::TRegistry(std::filesystem::path FileName)
    : FFileName(std::move(FileName)), FKeys(LoadFile(FFileName)), FUncaughtAtCreation(std::uncaught_exceptions()) {}

TRegistry::~TRegistry() {
    if (FChanges.empty() || std::uncaught_exceptions() > FUncaughtAtCreation) return;
    try {
        Flush();
    } catch (...) {
    }
}

std::string TRegistry::ResolveKey(std::string_view Key) const {
    if (!Key.empty() && Key[0] == '\\') return JoinKey({}, Key);
    return JoinKey(FCurrentPath, Key);
}

bool TRegistry::OpenKey(std::string_view Key, bool CanCreate) {
    const std::string Path = ResolveKey(Key);
    if (!KeyExists("\\" + Path)) {
        if (!CanCreate) return false;
        Change({TChange::ckCreateKey, Path, {}, {}});
    }
    FCurrentPath = Path;
    return true;
}

void TRegistry::CloseKey() { FCurrentPath.clear(); }

bool TRegistry::KeyExists(std::string_view Key) const {
    const std::string Path = ResolveKey(Key);
    if (Path.empty()) return true;
    return std::any_of(FKeys.begin(), FKeys.end(), [&](const TKey& K) { return IsAtOrBelow(K.Path, Path); });
}

bool TRegistry::CreateKey(std::string_view Key) {
    const std::string Path = ResolveKey(Key);
    if (KeyExists("\\" + Path)) return false;
    Change({TChange::ckCreateKey, Path, {}, {}});
    return true;
}

bool TRegistry::DeleteKey(std::string_view Key) {
    const std::string Path = ResolveKey(Key);
    if (Path.empty() || !KeyExists("\\" + Path)) return false;
    Change({TChange::ckDeleteKey, Path, {}, {}});
    return true;
}

std::vector<std::string> TRegistry::GetKeyNames() const {
    std::vector<std::string> Names;
    const std::size_t Skip = FCurrentPath.empty() ? 0 : FCurrentPath.size() + 1;
    for (const auto& K : FKeys) {
        if (K.Path.size() <= FCurrentPath.size() || !IsAtOrBelow(K.Path, FCurrentPath)) continue;
        const std::string Name = K.Path.substr(Skip, K.Path.find('\\', Skip) - Skip);
        if (std::none_of(Names.begin(), Names.end(), [&](const std::string& N) { return SameName(N, Name); }))
            Names.push_back(Name);
    }
    return Names;
}

std::vector<std::string> TRegistry::GetValueNames() const {
    std::vector<std::string> Names;
    for (const auto& K : FKeys)
        if (SameName(K.Path, FCurrentPath))
            for (const auto& V : K.Values) Names.push_back(V.Name);
    return Names;
}

const TRegistry::TValue* TRegistry::FindValue(const std::string& KeyPath, std::string_view Name) const {
    for (const auto& K : FKeys)
        if (SameName(K.Path, KeyPath))
            for (const auto& V : K.Values)
                if (SameName(V.Name, Name)) return &V;
    return nullptr;
}

bool TRegistry::ValueExists(std::string_view Name) const { return FindValue(FCurrentPath, Name) != nullptr; }

bool TRegistry::DeleteValue(std::string_view Name) {
    if (!ValueExists(Name)) return false;
    Change({TChange::ckDeleteValue, FCurrentPath, std::string(Name), {}});
    return true;
}

std::string TRegistry::ReadString(std::string_view Name, std::string_view Default) const {
    const TValue* V = FindValue(FCurrentPath, Name);
    return V ? V->Data : std::string(Default);
}

int TRegistry::ReadInteger(std::string_view Name, int Default) const {
    return IntegerOr(FindValue(FCurrentPath, Name), Default);
}

bool TRegistry::ReadBool(std::string_view Name, bool Default) const {
    return ReadInteger(Name, Default ? 1 : 0) != 0;
}

void TRegistry::WriteString(std::string_view Name, std::string_view Value) {
    Change({TChange::ckSetValue, FCurrentPath, std::string(Name), std::string(Value)});
}

void TRegistry::WriteInteger(std::string_view Name, int Value) { WriteString(Name, IntToStr(Value)); }

void TRegistry::WriteBool(std::string_view Name, bool Value) { WriteString(Name, Value ? "1" : "0"); }

void TRegistry::Change(TChange C) {
    Apply(FKeys, C);
    FChanges.push_back(std::move(C));
}

void TRegistry::Flush() {
    if (FChanges.empty()) return;
    TKeys Merged = LoadFile(FFileName);
    for (const auto& C : FChanges) Apply(Merged, C);
    WriteReplacing(FFileName, Serialize(Merged));
    FKeys = std::move(Merged);
    FChanges.clear();
}

// ---- TRegIniFile ----

TRegIniFile::TRegIniFile(std::string_view BaseKey, std::filesystem::path FileName)
    : TRegistry(std::move(FileName)), FBasePath(JoinKey({}, BaseKey)) {
    SetCurrentKey(FBasePath);
}

std::string TRegIniFile::SectionPath(std::string_view Section) const { return JoinKey(FBasePath, Section); }

std::string TRegIniFile::ReadString(std::string_view Section, std::string_view Name,
                                    std::string_view Default) const {
    const TValue* V = FindValue(SectionPath(Section), Name);
    return V ? V->Data : std::string(Default);
}

int TRegIniFile::ReadInteger(std::string_view Section, std::string_view Name, int Default) const {
    return IntegerOr(FindValue(SectionPath(Section), Name), Default);
}

bool TRegIniFile::ReadBool(std::string_view Section, std::string_view Name, bool Default) const {
    return ReadInteger(Section, Name, Default ? 1 : 0) != 0;
}

void TRegIniFile::WriteString(std::string_view Section, std::string_view Name, std::string_view Value) {
    Change({TChange::ckSetValue, SectionPath(Section), std::string(Name), std::string(Value)});
}

void TRegIniFile::WriteInteger(std::string_view Section, std::string_view Name, int Value) {
    WriteString(Section, Name, IntToStr(Value));
}

void TRegIniFile::WriteBool(std::string_view Section, std::string_view Name, bool Value) {
    WriteString(Section, Name, Value ? "1" : "0");
}

}  // namespace sarnova
