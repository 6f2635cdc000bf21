// The name of the user logged on to this session, as the desktop's login would show it.
#pragma once
#include <string>

namespace sarnova {

// The login name of the effective user (at most 256 characters); $USER or $LOGNAME when the user
// database has no entry; empty when none is known.
std::string GetLoginName();

}  // namespace sarnova
