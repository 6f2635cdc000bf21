// The dialog "Create BSpline Surface": the extents, point counts and orders of a new plane B-spline
// surface.
#pragma once
#include <QDialog>

#include <memory>

#include "surfaces/BSurface.h"

class QLineEdit;
class QPushButton;

namespace sarnova {

class TNewSurfForm : public QDialog {
    Q_OBJECT
public:
    explicit TNewSurfForm(QWidget* Parent = nullptr);
    ~TNewSurfForm() override;

    // The surface made by "Ok"; nullptr before, or after "Cancel".
    std::unique_ptr<TBSplineSurface> TakeSurface() { return std::move(Surface); }

    QLineEdit* Edit7;  // Length
    QLineEdit* Edit6;  // Breadth
    QLineEdit* Edit5;  // Depth
    QLineEdit* Edit1;  // Rows (V): NumV
    QLineEdit* Edit2;  // Columns (U): NumU
    QLineEdit* Edit3;  // Rows (V): OrderV
    QLineEdit* Edit4;  // Columns (U): OrderU
    QPushButton* Button1;
    QPushButton* Button2;

private:
    // Reads the fields; a field that is no number, or counts and orders that make no surface, are
    // reported and keep the dialog open.
    void Button1Click();

    std::unique_ptr<TBSplineSurface> Surface;
};

// Installs the dialog as the one the B-spline surface entity's Create-menu item runs.
void RegisterNewSurfaceDialog();

}  // namespace sarnova
