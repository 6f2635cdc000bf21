#include "shell/TextEditSearch.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextDocument>
#include <QVBoxLayout>

namespace sarnova {

bool SearchRichEdit(QPlainTextEdit& RichEdit, const std::string& Text, TFindOptions Options) {
    if (Text.empty()) return false;
    QTextDocument::FindFlags Flags;
    if (!(Options & frDown)) Flags |= QTextDocument::FindBackward;
    if (Options & frMatchCase) Flags |= QTextDocument::FindCaseSensitively;
    if (Options & frWholeWord) Flags |= QTextDocument::FindWholeWords;
    // A cursor with a selection is searched from its end forward, or from its start backward.
    const QTextCursor Found = RichEdit.document()->find(QString::fromStdString(Text), RichEdit.textCursor(), Flags);
    if (Found.isNull()) return false;
    RichEdit.setFocus();
    QTextCursor Selection(RichEdit.document());
    Selection.setPosition(Found.selectionStart());
    Selection.setPosition(Found.selectionEnd(), QTextCursor::KeepAnchor);
    RichEdit.setTextCursor(Selection);
    RichEdit.ensureCursorVisible();
    return true;
}

TFindDialog::TFindDialog(QWidget* Parent) : QDialog(Parent) {
    setObjectName("FindDialog1");
    setWindowTitle("Find");
    setModal(false);
    FindEdit = new QLineEdit(this);
    FindEdit->setObjectName("FindEdit");
    WholeWordBox = new QCheckBox("Match &whole word only", this);
    MatchCaseBox = new QCheckBox("Match &case", this);
    DirectionBox = new QGroupBox("Direction", this);
    UpButton = new QRadioButton("&Up", DirectionBox);
    DownButton = new QRadioButton("&Down", DirectionBox);
    DownButton->setChecked(true);
    auto* DirectionLayout = new QHBoxLayout(DirectionBox);
    DirectionLayout->addWidget(UpButton);
    DirectionLayout->addWidget(DownButton);

    auto* FindNextButton = new QPushButton("&Find Next", this);
    FindNextButton->setObjectName("FindNextButton");
    FindNextButton->setDefault(true);
    auto* CancelButton = new QPushButton("Cancel", this);
    CancelButton->setObjectName("CancelButton");

    auto* Grid = new QGridLayout(this);
    Grid->addWidget(new QLabel("Fi&nd what:", this), 0, 0);
    Grid->addWidget(FindEdit, 0, 1);
    Grid->addWidget(WholeWordBox, 2, 0, 1, 2);
    Grid->addWidget(MatchCaseBox, 3, 0, 1, 2);
    Grid->addWidget(DirectionBox, 4, 0, 1, 2);
    auto* Buttons = new QVBoxLayout;
    Buttons->setObjectName("Buttons");
    Buttons->addWidget(FindNextButton);
    Buttons->addWidget(CancelButton);
    Buttons->addStretch();
    Grid->addLayout(Buttons, 0, 2, 5, 1);

    connect(FindNextButton, &QPushButton::clicked, this, [this] {
        LastAction = 0;
        if (OnFind) OnFind();
    });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::close);
    connect(FindEdit, &QLineEdit::textChanged, this, &TFindDialog::FindTextChanged);
}

std::string TFindDialog::FindText() const { return FindEdit->text().toStdString(); }

void TFindDialog::SetFindText(const std::string& Text) { FindEdit->setText(QString::fromStdString(Text)); }

TFindOptions TFindDialog::Options() const {
    TFindOptions Result = LastAction;
    if (DownButton->isChecked()) Result |= frDown;
    if (WholeWordBox->isChecked()) Result |= frWholeWord;
    if (MatchCaseBox->isChecked()) Result |= frMatchCase;
    return Result;
}

void TFindDialog::SetOptions(TFindOptions Options) {
    (Options & frDown ? DownButton : UpButton)->setChecked(true);
    WholeWordBox->setChecked(Options & frWholeWord);
    MatchCaseBox->setChecked(Options & frMatchCase);
}

TReplaceDialog::TReplaceDialog(QWidget* Parent) : TFindDialog(Parent) {
    setObjectName("ReplaceDialog1");
    setWindowTitle("Replace");
    // Replacing always works down the text.
    DownButton->setChecked(true);
    DirectionBox->hide();
    ReplaceEdit = new QLineEdit(this);
    ReplaceEdit->setObjectName("ReplaceEdit");
    auto* Grid = static_cast<QGridLayout*>(layout());
    Grid->addWidget(new QLabel("Re&place with:", this), 1, 0);
    Grid->addWidget(ReplaceEdit, 1, 1);

    auto* ReplaceButton = new QPushButton("&Replace", this);
    ReplaceButton->setObjectName("ReplaceButton");
    auto* ReplaceAllButton = new QPushButton("Replace &All", this);
    ReplaceAllButton->setObjectName("ReplaceAllButton");
    auto* Buttons = findChild<QVBoxLayout*>("Buttons");
    Buttons->insertWidget(1, ReplaceButton);
    Buttons->insertWidget(2, ReplaceAllButton);
    connect(ReplaceButton, &QPushButton::clicked, this, [this] {
        LastAction = frReplace;
        if (OnReplace) OnReplace();
    });
    connect(ReplaceAllButton, &QPushButton::clicked, this, [this] {
        LastAction = frReplaceAll;
        if (OnReplace) OnReplace();
    });
}

std::string TReplaceDialog::ReplaceText() const { return ReplaceEdit->text().toStdString(); }

void TReplaceDialog::SetReplaceText(const std::string& Text) { ReplaceEdit->setText(QString::fromStdString(Text)); }

}  // namespace sarnova
