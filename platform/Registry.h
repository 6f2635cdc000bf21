// The per-user registry: keys such as "Software\Tavik\sarnova\ViewOptions" holding named text values
// (settings, recent files, window placement). Linux has no registry, so the whole store is one
// INI-style text file under the user's config folder: one section per key, one "name=value" line per
// value, in the order they were first written.
#pragma once
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/Errors.h"

namespace sarnova {

// A key path the store cannot hold (a line break in a key name).
class ERegistryError : public EError {
public:
    using EError::EError;
};

// "Tavik/sarnova.ini" in the user's config folder GWinDir ($XDG_CONFIG_HOME, or ~/.config when that
// is unset); InitializeProgramFolders must have run.
std::filesystem::path RegistryFileName();

// The program's own key: "Software\Tavik\" followed by ExeName.
std::string ProgramRegistryKey(std::string_view ExeName);

// The store held in memory. Changes are kept until Flush, which re-reads the file, applies this
// object's changes on top (so several registry objects, or two running programs, do not undo each
// other's writes) and replaces the file through a temporary file: a reader never sees a half-written
// store. A damaged file loads what can be read; unreadable lines are dropped at the next Flush.
//
// Key paths are separated by "\"; a path starting with "\" is absolute, any other lies below the
// current key. Key and value names are compared ignoring ASCII letter case, as the system registry
// does, and keep the spelling they were created with.
class TRegistry {
public:
    explicit TRegistry(std::filesystem::path FileName = RegistryFileName());
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;
    // Writes pending changes, unless an exception is unwinding (a half-done series of writes is
    // dropped then). Errors are swallowed here; callers that must know call Flush first.
    virtual ~TRegistry();

    const std::filesystem::path& FileName() const { return FFileName; }

    // Makes Key the current key; with CanCreate a missing key is created, else false is returned.
    bool OpenKey(std::string_view Key, bool CanCreate);
    // Back to the root.
    void CloseKey();
    // The current key's absolute path, without a leading "\" ("" for the root).
    const std::string& CurrentPath() const { return FCurrentPath; }

    bool KeyExists(std::string_view Key) const;
    // False when the key already existed.
    bool CreateKey(std::string_view Key);
    // Removes the key with its values and subkeys; false when there was no such key. The root is
    // never deleted.
    bool DeleteKey(std::string_view Key);
    // The names of the current key's direct subkeys and of its values, in the order they were made.
    std::vector<std::string> GetKeyNames() const;
    std::vector<std::string> GetValueNames() const;

    // Values of the current key. Every value is a text; integers are decimal, booleans "1" or "0".
    bool ValueExists(std::string_view Name) const;
    bool DeleteValue(std::string_view Name);
    std::string ReadString(std::string_view Name, std::string_view Default = {}) const;
    // Default when the value is missing or is no 32-bit integer.
    int ReadInteger(std::string_view Name, int Default) const;
    // A readable integer other than 0 is true; Default when the value is missing or unreadable.
    bool ReadBool(std::string_view Name, bool Default) const;
    void WriteString(std::string_view Name, std::string_view Value);
    void WriteInteger(std::string_view Name, int Value);
    void WriteBool(std::string_view Name, bool Value);

    // Writes the pending changes. Raises EInOutError naming the file when it cannot be written; the
    // old file then stays as it was and the changes stay pending.
    void Flush();
    bool HasPendingChanges() const { return !FChanges.empty(); }

    // The store's contents, and one change of the journal that Flush replays.
    struct TValue {
        std::string Name;
        std::string Data;
    };
    struct TKey {
        std::string Path;
        std::vector<TValue> Values;
    };
    struct TChange {
        enum TKind { ckSetValue, ckDeleteValue, ckCreateKey, ckDeleteKey } Kind;
        std::string Key;
        std::string Name;
        std::string Data;
    };

protected:
    // The absolute path of Key taken from the current key.
    std::string ResolveKey(std::string_view Key) const;
    // Value access by absolute key path, for the section-style reader below.
    const TValue* FindValue(const std::string& KeyPath, std::string_view Name) const;
    void Change(TChange C);
    // Makes Path (absolute) the current key without creating it: reading creates nothing.
    void SetCurrentKey(std::string Path) { FCurrentPath = std::move(Path); }

private:
    std::filesystem::path FFileName;
    std::vector<TKey> FKeys;
    std::vector<TChange> FChanges;
    std::string FCurrentPath;
    int FUncaughtAtCreation;
};

// The registry seen as an ini file: sections are the subkeys of one base key ("Software\Tavik\sarnova"
// with section "ViewOptions" is the key "Software\Tavik\sarnova\ViewOptions"). Reads take the value
// offered by the caller when the value is missing or unreadable.
class TRegIniFile : public TRegistry {
public:
    explicit TRegIniFile(std::string_view BaseKey, std::filesystem::path FileName = RegistryFileName());

    using TRegistry::ReadBool;
    using TRegistry::ReadInteger;
    using TRegistry::ReadString;
    using TRegistry::WriteBool;
    using TRegistry::WriteInteger;
    using TRegistry::WriteString;

    std::string ReadString(std::string_view Section, std::string_view Name, std::string_view Default) const;
    int ReadInteger(std::string_view Section, std::string_view Name, int Default) const;
    bool ReadBool(std::string_view Section, std::string_view Name, bool Default) const;
    void WriteString(std::string_view Section, std::string_view Name, std::string_view Value);
    void WriteInteger(std::string_view Section, std::string_view Name, int Value);
    void WriteBool(std::string_view Section, std::string_view Name, bool Value);

private:
    std::string SectionPath(std::string_view Section) const;
    std::string FBasePath;
};

}  // namespace sarnova
