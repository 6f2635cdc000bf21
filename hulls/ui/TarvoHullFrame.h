// The property frame of the parametric hull: name and colour, the definition curves, the parameter
// grid, the bulb dimensions with their help pages, and the view options.
#pragma once
#include <vector>

#include "hulls/GTarvoHull.h"
#include "hulls/ui/TarvoSurfaceFrame.h"

class QLabel;
class QToolButton;

namespace sarnova {

class TVkGrid;
class TVkSpinEdit;

class TTarvoHullFrame : public TTarvoSurfaceFrame {
public:
    TTarvoHullFrame(TGeoTarvoHull& AEntity, QWidget* Parent);

    void UpdateControls() override;

    TVkGrid* VkGrid1;
    QCheckBox* CheckBox7;  // Apply Bulb
    QCheckBox* CheckBox2;  // View Bulb Surface
    TVkSpinEdit* SpBulbLength;
    TVkSpinEdit* SpTailLength;
    TVkSpinEdit* SpTailBeam;
    TVkSpinEdit* SpBeam;
    TVkSpinEdit* SpPointHeight;
    TVkSpinEdit* SpTailHeight;
    TVkSpinEdit* SpBarWidth;
    TVkSpinEdit* SpSeparation;
    TVkSpinEdit* SpSoftnose;
    QPushButton* SpeedButton18;  // Update Surface
    // The help buttons beside the spin edits, in their order.
    std::vector<QToolButton*> HelpButtons;

private:
    TGeoTarvoHull* Hull() const { return static_cast<TGeoTarvoHull*>(GetGeometry()); }
    // A spin edit of one bulb dimension, with its caption and the button of its help topic.
    TVkSpinEdit* AddBulbSpin(TVkGroupBox* Box, const char* Caption, int HelpContext, float Increment,
                             void (TTarvoBulb::*Set)(double));
    void EditParameter(int Row, double Value);

    std::vector<QLabel*> BulbLabels;
    std::vector<TVkSpinEdit*> BulbSpins;
};

void RegisterTarvoHullFrame();

}  // namespace sarnova
