// The property frame of the Coons patch: name and colour, the line counts and the interpolation
// method.
#pragma once
#include <QString>

#include "entities/GCoonsPatch.h"
#include "entities/ui/ExtrudedSurfaceFrame.h"

class QRadioButton;

namespace sarnova {

class TCoonsPatchFrame : public TGeneratedSurfaceFrame {
public:
    TCoonsPatchFrame(TGeoCoonsPatch& AEntity, QWidget* Parent);

    void UpdateControls() override;

    QRadioButton* RadioButton1;  // "Bi Linear"
    QRadioButton* RadioButton2;  // "Bi Cubic"

private:
    TGeoCoonsPatch* Entity() const { return static_cast<TGeoCoonsPatch*>(GetGeometry()); }
};

// A radio button with Caption under the others in Box.
QRadioButton* AddRadioButton(TVkGroupBox& Box, const QString& Caption);
// Checks or unchecks Button without its signals.
void CheckQuietly(QRadioButton& Button, bool Checked);

void RegisterCoonsPatchFrame();

}  // namespace sarnova
