// The splash window shown while the program starts: a borderless, stay-on-top picture in the middle
// of the screen.
#pragma once
#include <QPixmap>
#include <QWidget>

class QLabel;

namespace sarnova {

class TSplashForm : public QWidget {
    Q_OBJECT
public:
    // Sized to its picture and centred on the screen.
    explicit TSplashForm(QWidget* Parent = nullptr);

    QLabel* Image1;
};

// The splash picture: the program's name and version over a sketch of hull sections.
QPixmap SplashPicture();
// The tile behind the main window's document windows: the same sketch, faint, on grey.
QPixmap DocumentAreaPicture();

}  // namespace sarnova
