// The property frame of the ship hull-lines entity: name and colour, the hull type, the parameter
// grid with update on request or after every edit, and the generation status.
#pragma once
#include "hulls/GHalvorn.h"
#include "hulls/ui/HullLinesFrame.h"

class QRadioButton;

namespace sarnova {

class THalvornFrame : public THullLinesFrame {
    Q_OBJECT
public:
    THalvornFrame(TGeoHalvorn& AEntity, QWidget* Parent);
    ~THalvornFrame() override;

    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;

    void HullTypeClick(int Shape);

protected:
    int ParameterCount() const override { return Hull().Generator().ParameterCount(); }
    std::string ParameterName(int Index) const override { return Hull().Generator().ParameterName(Index); }
    double Parameter(int Index) const override { return Hull().Generator().Parameter(Index); }
    void SetParameter(int Index, double Value) override { Hull().Generator().SetParameter(Index, Value); }
    void SetDefaults() override { Hull().Generator().SetDefaults(); }
    // The hull type by the bow shape.
    void RefreshControls() override;

private:
    TGeoHalvorn& Hull() const { return *static_cast<TGeoHalvorn*>(Entity); }
};

void RegisterHalvornFrame();

}  // namespace sarnova
