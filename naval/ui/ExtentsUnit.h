// The entity extents report: the least and greatest x, y and z of every entity of a document, in
// either of two column orders.
#pragma once
#include "naval/ui/VolumesUnit.h"

namespace sarnova {

class TExtentsForm : public TReportForm {
    Q_OBJECT
public:
    explicit TExtentsForm(QWidget* Parent = nullptr);
    // Remembers Document for the layout buttons.
    void Fill(TGeometryList& Document);
    // Both fill the grid again in the layout of the button that is down.
    void SpeedButton3Click();
    void SpeedButton4Click();

    // Down at start: minima, then maxima.
    QToolButton* SpeedButton3;
    // Each axis's minimum and maximum in turn.
    QToolButton* SpeedButton4;

private:
    TGeometryList* Document = nullptr;
};

// The form while it is shown; nullptr otherwise.
extern TExtentsForm* ExtentsForm;
void ShowEntityExtents(TGeometryList* Document);

}  // namespace sarnova
