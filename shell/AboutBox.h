// The About window of the Help menu: the product name, its file version and legal notice, as the
// program's version values give them.
#pragma once
#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace sarnova {

class TAboutForm : public QDialog {
    Q_OBJECT
public:
    explicit TAboutForm(QWidget* Parent = nullptr);

    QLabel* Label1;  // product name
    QLabel* Label2;  // legal notice
    QLabel* Label3;  // "Version:"
    QLabel* Label4;  // file version
    QFrame* Panel1;
    QLabel* Image1;
    QPushButton* Button1;
};

// Shows a TAboutForm modally and frees it.
void ShowAboutBox(QWidget* Parent = nullptr);

}  // namespace sarnova
