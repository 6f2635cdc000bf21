// The property frame of the plane entity: name and colour, the positioning mode, and the offset, the
// location point with the inclination, or the three points, as the mode asks.
#pragma once
#include <QScrollArea>

#include "entities/GPlane.h"

class QLabel;
class QRadioButton;
class QTableWidget;

namespace sarnova {

class TFrameNameColor;
class TVkGroupBox;
class TVkSpinEdit;

class TPlaneFrame : public QScrollArea, public IPlaneFrame {
    Q_OBJECT
public:
    TPlaneFrame(TGeoPlane& AEntity, QWidget* Parent);
    ~TPlaneFrame() override;

    void RefreshAll() override;
    void RefreshPosition() override;
    void GeometryDestroyed() override;

    TGeoPlane* GetEntity() const { return Entity; }

    QLabel* Title;
    TFrameNameColor* NameColor;
    TVkGroupBox* ModeGroup;
    QRadioButton* ModeButtons[7];
    TVkGroupBox* LocationGroup;
    QLabel* LocationLabel;
    TVkSpinEdit* OffsetEdit;
    TVkGroupBox* InclinationGroup;
    QTableWidget* LocationGrid;
    TVkSpinEdit* InclinationEdit;
    TVkGroupBox* PointsGroup;
    QTableWidget* PointsGrid;

private:
    void ShowGroups();
    void EditLocationCell(int Column);
    void EditPointCell(int Row, int Column);

    TGeoPlane* Entity;
    // Set while the frame writes its controls, so that their signals are not edits.
    bool Filling = false;
};

// Registers the plane frame and the projection dialog with the model; the GUI calls it at start-up.
void RegisterPlaneUi();

}  // namespace sarnova
