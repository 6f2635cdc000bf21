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

bool TScriptedUserDialogs::ExecuteOpenDialog(TOpenDialog& Dialog) { return ExecuteFileDialog(Dialog, false); }

bool TScriptedUserDialogs::ExecuteSaveDialog(TSaveDialog& Dialog) { return ExecuteFileDialog(Dialog, true); }

bool TScriptedUserDialogs::ExecuteFileDialog(TFileDialog& Dialog, bool Save) {
    ShownFileDialogs.push_back({Save, Dialog.Title, Dialog.FileName});
    if (FileAnswers.empty())
        throw EError("No answer queued for the file dialog \"" + Dialog.Title + "\"");
    std::optional<std::string> Answer = std::move(FileAnswers.front());
    FileAnswers.pop_front();
    if (!Answer) return false;
    Dialog.FileName = std::move(*Answer);
    return true;
}

}  // namespace sarnova
