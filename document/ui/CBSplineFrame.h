// The property frame of the interpolating cubic B-spline: the curve frame's name, colour and point
// grid, and the interpolation settings: continuity, chord-length weighting and the kind of each end
// condition.
#pragma once
#include "document/ui/PlineFrame.h"

class QCheckBox;
class QRadioButton;

namespace sarnova {

class TGeoCBSpline;

class TCBSplineFrame : public TPlineFrame {
public:
    TCBSplineFrame(TGeoCBSpline& AEntity, QWidget* Parent);

    void UpdateFromEntity() override;
    // Rows are not refreshed while points are dragged: the whole grid follows once the drag is over.
    void UpdateMarkedRows() override {}

    QGroupBox* ContinuityGroupBox = nullptr;
    QRadioButton* RadioButton5 = nullptr;  // 1st Order
    QRadioButton* RadioButton6 = nullptr;  // 2nd Order
    QRadioButton* RadioButton7 = nullptr;  // 2nd Order Piecewise
    QCheckBox* CheckBox1 = nullptr;        // Account for Chord Length
    QGroupBox* StartGroupBox = nullptr;    // collapsed at first
    QRadioButton* RadioButton1 = nullptr;  // start: Natural
    QRadioButton* RadioButton2 = nullptr;  // start: Bessel
    QGroupBox* EndGroupBox = nullptr;      // collapsed at first
    QRadioButton* RadioButton3 = nullptr;  // end: Natural
    QRadioButton* RadioButton4 = nullptr;  // end: Bessel

private:
    TGeoCBSpline* Spline() const;
};

// Registers the frame with the model; part of the curve frames' start-up registration.
void RegisterCBSplineFrame();

}  // namespace sarnova
