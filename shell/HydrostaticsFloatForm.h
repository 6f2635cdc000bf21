// The "Hydrostatics" tool window: the particulars of one hull at an editable draught, recomputed
// whenever the hull changes, with the waterplane and the centre of buoyancy drawn in the 3-D views.
#pragma once
#include <memory>
#include <string>

#include "foundation/Geom.h"
#include "shell/ToolWindow.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace sarnova {

class IGraphics;
class TGeoMessage;
class TGeometry;
class TGeometryReference;
class TVkGrid;
struct THydrostaticsData;

class THydrostaticsFloatForm : public TToolWindowForm {
    Q_OBJECT
public:
    explicit THydrostaticsFloatForm(QWidget* Parent = nullptr);
    ~THydrostaticsFloatForm() override;

    TGeometry* GetHull() const { return Hull; }
    double GetDraught() const { return Draught; }
    const TMPlane& GetWaterPlane() const { return WaterPlane; }
    const TMVector& GetCentreOfBuoyancy() const { return CentreOfBuoyancy; }

    void HandleMessage(TGeoMessage& Message);
    // A hull object becomes the hull at half its height; anything else (nullptr too) clears it.
    void SetHull(TGeometry* Entity);
    // The hull's name, its class description in parentheses when it has none; empty without a hull.
    std::string HullName() const;
    // The hull object of that name in the active document, when it is not the hull already.
    void SelectHullByName(const std::string& Text);
    // The active document's selected hull, when it is not the hull already.
    void SelectFromDocument();
    // A different draught is stored and recomputed.
    void SetDraught(double Value);
    // The particulars of the hull at Draught into R; a cleared R without a hull or sections. The
    // method label says where the figures come from, or why the hull is refused.
    void ComputeHydrostatics(THydrostaticsData& R, double AtDraught);
    void Recalculate();
    void ShowEmpty();
    void ShowHydrostatics(const THydrostaticsData& R);
    // Called by the hub when a view draws: the centre of buoyancy and the blended waterplane.
    void DrawWaterplane(IGraphics& View);
    // Every non-empty name of a hull object of the active document, in document order.
    void FillHullNames();

    QComboBox* ComboBox1;
    QPushButton* UpdateButton;
    QPushButton* SelectButton;
    TVkGrid* VkGrid1;
    QLabel* MethodLabel;

protected:
    void ShowNoDocument() override;

private:
    std::unique_ptr<TGeometryReference> HullRef;
    TGeometry* Hull = nullptr;
    double Draught = 0;
    TMPlane WaterPlane;
    TMVector CentreOfBuoyancy;
};

// The window, made on first use.
THydrostaticsFloatForm* GetHydrostaticsFloatForm();

}  // namespace sarnova
