// The sectional-area curve window: for the selected hull and a list of draughts, the immersed area of
// every calculation section against its station, as curves on a chart and as a table.
#pragma once
#include "naval/SACurve.h"
#include "naval/ui/HullCalculationForm.h"

class QGroupBox;
class QRadioButton;
class QTabWidget;

namespace sarnova {

class TGeometryList;
class TVkGraph;
class TVkGrid;

class TSecAreaForm : public THullCalculationForm {
    Q_OBJECT
public:
    explicit TSecAreaForm(QWidget* Parent = nullptr);
    ~TSecAreaForm() override;

    void Calculate() override;
    void EnableControls(bool On) override;
    // The function the radio buttons choose.
    TSectionAreaFunction DisplayedFunction() const;

    QGroupBox* GroupBox1;
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QRadioButton* RadioButton3;
    QRadioButton* RadioButton4;
    QTabWidget* PageControl1;
    TVkGraph* VkGraph1;
    TVkGrid* VkGrid1;
    QWidget* Panel1;
};

void OpenSectionAreaCurve(TGeometryList* Document);
bool CanOpenSectionAreaCurve(TGeometryList* Document);

}  // namespace sarnova
