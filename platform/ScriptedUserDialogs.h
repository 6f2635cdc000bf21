// User dialogs for tests: every box and file dialog shown is recorded, and the answers come from
// queues the test fills beforehand.
#pragma once
#include <deque>
#include <optional>
#include <vector>

#include "foundation/UserDialogs.h"

namespace sarnova {

class TScriptedUserDialogs : public IUserDialogs {
public:
    struct TShownBox {
        std::string Caption;
        std::string Text;
        TMsgDlgType Icon;
        TMsgDlgButtons Buttons;
    };
    struct TShownFileDialog {
        bool Save;             // a save dialog, else an open dialog
        std::string Title;
        std::string FileName;  // the name preset when it was shown
    };

    // Queues the answer of the next box.
    void Answer(TModalResult Result) { Answers.push_back(Result); }
    // Queues the answer of the next file dialog: OK with this file chosen.
    void ChooseFile(std::string FileName) { FileAnswers.emplace_back(std::move(FileName)); }
    // Queues the answer of the next file dialog: Cancel.
    void CancelFileDialog() { FileAnswers.emplace_back(std::nullopt); }

    // Returns the next queued answer. With none queued, a box offering only OK answers mrOk; any other
    // box throws EError naming its text, so a test never goes on with a guessed answer.
    TModalResult MessageBox(const std::string& Caption, const std::string& Text, TMsgDlgType Icon,
                            TMsgDlgButtons Buttons) override;
    // Take the next queued file answer; with none queued they throw EError naming the dialog.
    bool ExecuteOpenDialog(TOpenDialog& Dialog) override;
    bool ExecuteSaveDialog(TSaveDialog& Dialog) override;

    std::vector<TShownBox> Shown;
    std::vector<TShownFileDialog> ShownFileDialogs;

private:
    bool ExecuteFileDialog(TFileDialog& Dialog, bool Save);

    std::deque<TModalResult> Answers;
    std::deque<std::optional<std::string>> FileAnswers;
};

}  // namespace sarnova
