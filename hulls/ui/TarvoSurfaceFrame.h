// The property frame of the Tarvo surface: name and colour, the definition curves (added from the
// selection or from a drop-down list of the curves the surface may take, removed by name) and the
// view options.
#pragma once
#include <functional>
#include <string>

#include "entities/ui/EntityFrame.h"
#include "hulls/GTarvoSurface.h"

class QCheckBox;
class QListWidget;
class QMenu;
class QPushButton;
class QToolButton;

namespace sarnova {

class TTarvoSurfaceFrame : public TEntityFrame, public IGeneratedSurfaceFrame {
public:
    TTarvoSurfaceFrame(TGeoTarvoSurface& AEntity, QWidget* Parent);

    void UpdateControls() override;
    void GeometryDestroyed() override { Forget(); }

    QPushButton* AddButton;
    QPushButton* DeleteEntities;
    QToolButton* SpeedButton1;
    QListWidget* ListBox1;
    QMenu* PopupMenu1;
    QCheckBox* CheckBox3;  // View Surface
    QCheckBox* CheckBox4;  // View Contours
    QCheckBox* CheckBox5;  // View Blends
    QCheckBox* CheckBox1;  // View Construction Curves

    // Fills PopupMenu1 with the curves the surface may take.
    void FillPopup();

protected:
    // The frame of a derived entity, with the title only: it adds the groups itself.
    TTarvoSurfaceFrame(TGeoTarvoSurface& AEntity, const std::string& Caption, const QString& Name, QWidget* Parent);
    // The group "Definition Curves".
    void AddCurvesGroup();
    // A check box of the group View that calls Set with its state when the user turns it.
    QCheckBox* AddViewCheck(TVkGroupBox* View, const char* Caption, std::function<void(bool)> Set);
    TGeoTarvoSurface* Entity() const { return static_cast<TGeoTarvoSurface*>(GetGeometry()); }
};

void RegisterTarvoSurfaceFrame();

}  // namespace sarnova
