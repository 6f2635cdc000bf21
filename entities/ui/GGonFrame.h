// The property frame of the polygon-list entity: name and colour, and the grid of the shared points
// of the selected facets, whose coordinates are edited there for every corner at once.
#pragma once
#include <string>

#include "entities/GGonList.h"
#include "entities/ui/EntityFrame.h"

class QToolButton;

namespace sarnova {

class TVkGrid;
class TVkValue;
struct TVkGridRect;

class TGGonFrame : public TEntityFrame, public IGGonFrame {
public:
    TGGonFrame(TGeoPGonlist& AEntity, QWidget* Parent);

    void GeometryDestroyed() override { Forget(); }
    // Name, colour and every row of the grid.
    void RefreshAll() override;
    // The coordinates of every row from the corners.
    void RefreshPositions() override;

    // The label of shared point K held by Corners corners: "K", or "K (xCorners)" when shared.
    static std::string RowLabel(int K, int Corners);

    TVkGroupBox* PointsGroup;
    QToolButton* FillButton;
    QToolButton* CopyButton;
    TVkGrid* Grid;

private:
    TGeoPGonlist* Entity() const { return static_cast<TGeoPGonlist*>(GetGeometry()); }
    void FillCoordinates(int Row, const TSharedPoint& Point);
    void EditCell(int Column, int Row, const TVkValue& Value);
    void SelectRows(const TVkGridRect& Range);
    void Fill();
};

void RegisterGGonFrame();

}  // namespace sarnova
