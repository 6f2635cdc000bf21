// The user dialogs as Qt message boxes.
#pragma once
#include "platform/UserDialogs.h"

class QWidget;

namespace sarnova {

class TQtUserDialogs : public IUserDialogs {
public:
    // A modal box over the application's active window.
    TModalResult MessageBox(const std::string& Caption, const std::string& Text, TMsgDlgType Icon,
                            TMsgDlgButtons Buttons) override;
};

}  // namespace sarnova
