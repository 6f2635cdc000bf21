// User dialogs for tests: every box shown is recorded, and the answers come from a queue the test
// fills beforehand.
#pragma once
#include <deque>
#include <vector>

#include "platform/UserDialogs.h"

namespace sarnova {

class TScriptedUserDialogs : public IUserDialogs {
public:
    struct TShownBox {
        std::string Caption;
        std::string Text;
        TMsgDlgType Icon;
        TMsgDlgButtons Buttons;
    };

    // Queues the answer of the next box.
    void Answer(TModalResult Result) { Answers.push_back(Result); }

    // Returns the next queued answer. With none queued, a box offering only OK answers mrOk; any other
    // box throws EError naming its text, so a test never goes on with a guessed answer.
    TModalResult MessageBox(const std::string& Caption, const std::string& Text, TMsgDlgType Icon,
                            TMsgDlgButtons Buttons) override;

    std::vector<TShownBox> Shown;

private:
    std::deque<TModalResult> Answers;
};

}  // namespace sarnova
