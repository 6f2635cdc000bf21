#include "platform/ScriptedUserDialogs.h"

#include "foundation/Errors.h"

namespace sarnova {

TModalResult TScriptedUserDialogs::MessageBox(const std::string& Caption, const std::string& Text,
                                              TMsgDlgType Icon, TMsgDlgButtons Buttons) {
    Shown.push_back({Caption, Text, Icon, Buttons});
    if (Answers.empty()) {
        if (Buttons == mbOK) return TModalResult::mrOk;
        throw EError("No answer queued for the message box \"" + Text + "\"");
    }
    const TModalResult Result = Answers.front();
    Answers.pop_front();
    return Result;
}

}  // namespace sarnova
