#include "platform/qt/QtUserDialogs.h"

#include <QApplication>
#include <QMessageBox>

namespace sarnova {

TModalResult TQtUserDialogs::MessageBox(const std::string& Caption, const std::string& Text, TMsgDlgType Icon,
                                        TMsgDlgButtons Buttons) {
    QMessageBox::Icon Shown = QMessageBox::NoIcon;
    switch (Icon) {
        case TMsgDlgType::mtWarning: Shown = QMessageBox::Warning; break;
        case TMsgDlgType::mtError: Shown = QMessageBox::Critical; break;
        case TMsgDlgType::mtInformation: Shown = QMessageBox::Information; break;
        case TMsgDlgType::mtConfirmation: Shown = QMessageBox::Question; break;
        case TMsgDlgType::mtCustom: break;
    }
    QMessageBox Box(Shown, QString::fromStdString(Caption), QString::fromStdString(Text), QMessageBox::NoButton,
                    QApplication::activeWindow());
    const std::pair<TMsgDlgBtn, QMessageBox::StandardButton> Map[] = {
        {mbYes, QMessageBox::Yes}, {mbNo, QMessageBox::No}, {mbOK, QMessageBox::Ok}, {mbCancel, QMessageBox::Cancel}};
    for (auto [Button, Standard] : Map)
        if (Buttons & Button) Box.addButton(Standard);
    if (Box.buttons().isEmpty()) Box.addButton(QMessageBox::Ok);
    switch (Box.exec()) {
        case QMessageBox::Yes: return TModalResult::mrYes;
        case QMessageBox::No: return TModalResult::mrNo;
        case QMessageBox::Ok: return TModalResult::mrOk;
        case QMessageBox::Cancel: return TModalResult::mrCancel;
        default: return TModalResult::mrNone;
    }
}

}  // namespace sarnova
