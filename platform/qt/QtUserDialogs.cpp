#include "platform/qt/QtUserDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

#include "foundation/Console.h"

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

namespace {

bool ExecuteFileDialog(TFileDialog& Dialog, bool Save) {
    QFileDialog Box(QApplication::activeWindow(), QString::fromStdString(Dialog.Title),
                    QString::fromStdString(Dialog.InitialDir));
    Box.setAcceptMode(Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    Box.setFileMode(Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList Filters = QtNameFilters(Dialog.Filter);
    if (!Filters.isEmpty()) Box.setNameFilters(Filters);
    Box.setDefaultSuffix(QString::fromStdString(Dialog.DefaultExt));
    if (!Dialog.FileName.empty()) Box.selectFile(QString::fromStdString(Dialog.FileName));
    if (Box.exec() != QDialog::Accepted || Box.selectedFiles().isEmpty()) return false;
    Dialog.FileName = Box.selectedFiles().first().toStdString();
    return true;
}

}  // namespace

bool TQtUserDialogs::ExecuteOpenDialog(TOpenDialog& Dialog) { return ExecuteFileDialog(Dialog, false); }

bool TQtUserDialogs::ExecuteSaveDialog(TSaveDialog& Dialog) { return ExecuteFileDialog(Dialog, true); }

bool InputQuery(const std::string& Caption, const std::string& Prompt, std::string& Value) {
    bool Ok = false;
    const QString Text = QInputDialog::getText(QApplication::activeWindow(), QString::fromStdString(Caption),
                                               QString::fromStdString(Prompt), QLineEdit::Normal,
                                               QString::fromStdString(Value), &Ok);
    if (Ok) Value = Text.toStdString();
    return Ok;
}

IUserDialogs& ProgramUserDialogs() {
    static TQtUserDialogs Fallback;
    return GExceptionHandler && GExceptionHandler->UserDialogs ? *GExceptionHandler->UserDialogs : Fallback;
}

QStringList QtNameFilters(const std::string& Filter) {
    const QStringList Parts = QString::fromStdString(Filter).split('|');
    QStringList Result;
    for (qsizetype I = 0; I + 1 < Parts.size(); I += 2) {
        QString Text = Parts[I].trimmed();
        if (Text.endsWith(')') && Text.contains('(')) Text = Text.left(Text.lastIndexOf('(')).trimmed();
        QStringList Patterns = Parts[I + 1].split(';', Qt::SkipEmptyParts);
        for (QString& Pattern : Patterns) {
            Pattern = Pattern.trimmed();
            if (Pattern == "*.*") Pattern = "*";
        }
        Result.push_back(Text + " (" + Patterns.join(' ') + ")");
    }
    return Result;
}

}  // namespace sarnova
