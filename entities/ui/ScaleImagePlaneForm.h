// The dialog that rescales an image plane to its selection window: the window's true coordinates are
// typed into four edits placed around a picture of the image, and the picture follows.
#pragma once
#include <QDialog>

class QLineEdit;
class QPushButton;

namespace sarnova {

class TImagePlane;

class TScaleImagePlaneForm : public QDialog {
public:
    TScaleImagePlaneForm(TImagePlane& APlane, QWidget* Parent);

    // "OK": the four values rescale the plane and the dialog closes; a text that is not a number is
    // reported, its edit focused, and the dialog stays open.
    void Accept();

    QLineEdit* Edit1;  // min u, at the left
    QLineEdit* Edit2;  // max v, at the top
    QLineEdit* Edit3;  // min v, at the bottom
    QLineEdit* Edit4;  // max u, at the right
    QPushButton* OKButton;
    QPushButton* CancelButton;

private:
    TImagePlane& Plane;
};

}  // namespace sarnova
