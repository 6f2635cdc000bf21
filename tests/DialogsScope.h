// Routes the program's message boxes to a script for the life of a test, and records them.
#pragma once
#include "foundation/Console.h"
#include "platform/ScriptedUserDialogs.h"

namespace sarnova::test {

class TDialogsScope {
public:
    TDialogsScope() : Old(GExceptionHandler->UserDialogs) { GExceptionHandler->UserDialogs = &Dialogs; }
    ~TDialogsScope() { GExceptionHandler->UserDialogs = Old; }
    TDialogsScope(const TDialogsScope&) = delete;
    TDialogsScope& operator=(const TDialogsScope&) = delete;
    TScriptedUserDialogs Dialogs;

private:
    IUserDialogs* Old;
};

}  // namespace sarnova::test
