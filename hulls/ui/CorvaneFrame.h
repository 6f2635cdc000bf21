// The property frame of the yacht hull-lines entity: name and colour, the parameter grid with update
// on request or after every edit (a choice the entity keeps), and the generation status.
#pragma once
#include "hulls/GCorvane.h"
#include "hulls/ui/HullLinesFrame.h"

namespace sarnova {

class TCorvaneFrame : public THullLinesFrame {
    Q_OBJECT
public:
    TCorvaneFrame(TGeoCorvane& AEntity, QWidget* Parent);

    // As for every hull, then generated at once when updates are interactive.
    void DefaultsClick() override;
    // Kept on the entity.
    void InteractiveClick(bool On) override;

protected:
    int ParameterCount() const override { return TCorvane::ParameterCount; }
    std::string ParameterName(int Index) const override { return TCorvane::ParameterName(Index); }
    double Parameter(int Index) const override { return Hull().Generator().Parameter(Index); }
    void SetParameter(int Index, double Value) override { Hull().Generator().SetParameter(Index, Value); }
    void SetDefaults() override { Hull().Generator().SetDefaults(); }
    // The interactive-update box from the entity.
    void RefreshControls() override;
    // Disabled while updates are interactive or the hull is generated; the status says which state
    // the hull is in unless a generation is pending.
    void RefreshUpdateButton() override;

private:
    TGeoCorvane& Hull() const { return *static_cast<TGeoCorvane*>(Entity); }
};

void RegisterCorvaneFrame();

}  // namespace sarnova
