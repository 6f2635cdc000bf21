#include "platform/LoginName.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace sarnova {

std::string GetLoginName() {
    std::string Name;
    long Size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> Buffer(static_cast<std::size_t>(Size > 0 ? Size : 16384));
    passwd Entry{};
    passwd* Found = nullptr;
    if (getpwuid_r(geteuid(), &Entry, Buffer.data(), Buffer.size(), &Found) == 0 && Found && Found->pw_name)
        Name = Found->pw_name;
    for (const char* Variable : {"USER", "LOGNAME"})
        if (Name.empty())
            if (const char* V = std::getenv(Variable)) Name = V;
    if (Name.size() > 256) Name.resize(256);
    return Name;
}

}  // namespace sarnova
