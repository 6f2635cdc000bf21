// Whole files on disk: reading only what is a regular file, and replacing a file so that a crash,
// a full disk or a refused write never leaves it half written or changed in kind (mode, owner, link).
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <random>
#include <system_error>

#include "foundation/Errors.h"
#include "foundation/TextFile.h"

namespace sarnova {

namespace {

// Closes a descriptor when it goes out of scope.
class TDescriptor {
public:
    explicit TDescriptor(int Fd) : FFd(Fd) {}
    TDescriptor(const TDescriptor&) = delete;
    TDescriptor& operator=(const TDescriptor&) = delete;
    ~TDescriptor() {
        if (FFd >= 0) ::close(FFd);
    }
    int Get() const { return FFd; }
    // Closes now; the errno of a failing close, else 0.
    int Close() {
        const int Fd = FFd;
        FFd = -1;
        return ::close(Fd) == 0 ? 0 : errno;
    }

private:
    int FFd;
};

// The system's text for an error number, starting in lower case to follow a colon.
std::string Reason(int Code) {
    std::string Text = std::generic_category().message(Code);
    if (!Text.empty()) Text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(Text[0])));
    return Text;
}

[[noreturn]] void WriteFailed(std::string_view Failure, const std::string& Why) {
    throw EInOutError(std::string(Failure) + ": " + Why);
}

// The file a path names once its symbolic links are followed; a dangling link gives the file it
// would make. Relative links count from the link's own folder.
std::filesystem::path FollowLinks(const std::filesystem::path& FileName, std::string_view Failure) {
    std::filesystem::path Path = FileName;
    // More links than any real chain has: a loop.
    for (int Hop = 0; Hop < 40; ++Hop) {
        std::error_code Error;
        if (!std::filesystem::is_symlink(Path, Error)) return Path;
        const std::filesystem::path Link = std::filesystem::read_symlink(Path, Error);
        if (Error) WriteFailed(Failure, Reason(Error.value()));
        Path = Link.is_absolute() ? Link : Path.parent_path() / Link;
    }
    WriteFailed(Failure, Reason(ELOOP));
}

// The temporaries of our own saves beside Base: "<name>.tmp~" and "<name>.<8 hex digits>.tmp~".
bool IsTemporaryOf(const std::string& Entry, const std::string& Base) {
    if (Entry == Base + ".tmp~") return true;
    if (Entry.size() != Base.size() + 14 || Entry.compare(0, Base.size() + 1, Base + ".") != 0 ||
        Entry.compare(Base.size() + 9, 5, ".tmp~") != 0)
        return false;
    for (std::size_t I = Base.size() + 1; I < Base.size() + 9; ++I)
        if (!std::isxdigit(static_cast<unsigned char>(Entry[I]))) return false;
    return true;
}

// A save holds a lock on its temporary until it renames it; a temporary that nobody holds was left
// by a save that was killed, and goes.
void RemoveStaleTemporaries(const std::filesystem::path& Folder, const std::string& Base) {
    std::error_code Error;
    for (std::filesystem::directory_iterator It(Folder, Error), End; !Error && It != End; It.increment(Error)) {
        const std::filesystem::path Entry = It->path();
        if (!IsTemporaryOf(Entry.filename().string(), Base)) continue;
        TDescriptor Fd(::open(Entry.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        if (Fd.Get() < 0) continue;
        struct stat Status {};
        if (::fstat(Fd.Get(), &Status) == 0 && S_ISREG(Status.st_mode) && ::flock(Fd.Get(), LOCK_EX | LOCK_NB) == 0)
            ::unlink(Entry.c_str());
    }
}

bool WriteAll(int Fd, std::string_view Text) {
    while (!Text.empty()) {
        const ssize_t Written = ::write(Fd, Text.data(), Text.size());
        if (Written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        Text.remove_prefix(static_cast<std::size_t>(Written));
    }
    return true;
}

}  // namespace

std::string ReadFileText(const std::filesystem::path& FileName) {
    const auto Fail = [&FileName](const std::string& Why) {
        throw EInOutError("Cannot open file \"" + FileName.string() + "\". " + Why);
    };
    // Without O_NONBLOCK opening a pipe would wait for a writer.
    TDescriptor Fd(::open(FileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (Fd.Get() < 0) Fail(std::generic_category().message(errno));
    struct stat Status {};
    if (::fstat(Fd.Get(), &Status) != 0) Fail(std::generic_category().message(errno));
    if (!S_ISREG(Status.st_mode)) Fail("Not a regular file");
    std::string Text;
    Text.reserve(static_cast<std::size_t>(Status.st_size));
    char Buffer[65536];
    for (;;) {
        const ssize_t Count = ::read(Fd.Get(), Buffer, sizeof Buffer);
        if (Count == 0) break;
        if (Count < 0) {
            if (errno == EINTR) continue;
            Fail(std::generic_category().message(errno));
        }
        Text.append(Buffer, static_cast<std::size_t>(Count));
    }
    return Text;
}

std::vector<std::string> ReadFileLines(const std::filesystem::path& FileName) {
    TTextReader In(ReadFileText(FileName));
    std::vector<std::string> Lines;
    while (!In.Eof()) Lines.push_back(In.ReadLine());
    return Lines;
}

void ReplaceFileText(const std::filesystem::path& FileName, std::string_view Text, std::string_view Failure) {
    const std::filesystem::path Target = FollowLinks(FileName, Failure);
    struct stat Old {};
    const bool Exists = ::stat(Target.c_str(), &Old) == 0;
    if (!Exists && errno != ENOENT) WriteFailed(Failure, Reason(errno));
    if (Exists) {
        if (!S_ISREG(Old.st_mode)) WriteFailed(Failure, "not a regular file");
        // Mode bits first: access() grants everything to the superuser.
        if ((Old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) WriteFailed(Failure, "the file is read-only");
        if (::access(Target.c_str(), W_OK) != 0) WriteFailed(Failure, Reason(errno));
    }
    const std::filesystem::path Folder = Target.has_parent_path() ? Target.parent_path() : ".";
    const std::string Base = Target.filename().string();
    RemoveStaleTemporaries(Folder, Base);

    std::random_device Random;
    std::filesystem::path Temporary;
    int Created = -1;
    for (int Attempt = 0; Attempt < 16 && Created < 0; ++Attempt) {
        char Suffix[24];
        std::snprintf(Suffix, sizeof Suffix, ".%08x.tmp~", static_cast<unsigned>(Random()));
        Temporary = Folder / (Base + Suffix);
        // A new file starts closed to others until it has the old file's mode.
        Created = ::open(Temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, Exists ? 0600 : 0666);
        if (Created < 0 && errno != EEXIST) break;
    }
    if (Created < 0) WriteFailed(Failure, Reason(errno));
    TDescriptor Fd(Created);
    const auto Abandon = [&](int Code) {
        Fd.Close();
        ::unlink(Temporary.c_str());
        WriteFailed(Failure, Reason(Code));
    };
    // Marks the temporary as in use for RemoveStaleTemporaries of another save.
    ::flock(Fd.Get(), LOCK_EX);
    if (!WriteAll(Fd.Get(), Text)) Abandon(errno);
    if (Exists) {
        // The owner only where the user may give it away (the superuser), else the group where the
        // user is a member of it. A refusal is no error: the file is written all the same.
        if (::fchown(Fd.Get(), Old.st_uid, Old.st_gid) != 0 &&
            ::fchown(Fd.Get(), static_cast<uid_t>(-1), Old.st_gid) != 0) {
            errno = 0;
        }
        if (::fchmod(Fd.Get(), Old.st_mode & 07777) != 0) Abandon(errno);
    }
    if (::fsync(Fd.Get()) != 0) Abandon(errno);
    if (const int Code = Fd.Close(); Code != 0) {
        ::unlink(Temporary.c_str());
        WriteFailed(Failure, Reason(Code));
    }
    if (::rename(Temporary.c_str(), Target.c_str()) != 0) {
        const int Code = errno;
        ::unlink(Temporary.c_str());
        WriteFailed(Failure, Reason(Code));
    }
    // The rename itself is on disk only once the folder is.
    TDescriptor Directory(::open(Folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (Directory.Get() >= 0) ::fsync(Directory.Get());
}

}  // namespace sarnova
