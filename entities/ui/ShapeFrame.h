// The property frames of arcs and circles: name and colour, and a grid of the defining points' x, y
// and z (three decimals) whose cells edit them; selecting rows in edit mode selects those points.
// The circle's frame adds its radius.
#pragma once
#include <QStringList>

#include "entities/GArc.h"
#include "entities/GCircle.h"
#include "entities/ui/EntityFrame.h"

class QTableWidget;

namespace sarnova {

class TShapeFrame : public TEntityFrame, public IShapeFrame {
public:
    // One grid row per title, row r showing handle r.
    TShapeFrame(TGeoDefinedCurve& AEntity, const std::string& Caption, const QString& Name, const QStringList& Rows,
                QWidget* Parent);

    void UpdateFromEntity() override;
    void UpdateDragged() override;
    void GeometryDestroyed() override { Forget(); }

    TVkGroupBox* VkGroupBox2;
    QTableWidget* VkGrid1;

protected:
    TGeoDefinedCurve* Entity() const { return static_cast<TGeoDefinedCurve*>(GetGeometry()); }
    // A typed coordinate (Axis 0 x, 1 y, 2 z) of the point of grid row Row.
    virtual void EditPoint(int Row, int Axis, double Value) = 0;
    // What the frame shows besides the grid.
    virtual void ShowOthers() {}
    void FillRow(int Row);

private:
    void EditCell(int Row, int Column);
    void SelectRows();
};

class TArcFrame : public TShapeFrame {
public:
    TArcFrame(TGeoArc& AEntity, QWidget* Parent);

protected:
    void EditPoint(int Row, int Axis, double Value) override;
};

class TCircleFrame : public TShapeFrame {
public:
    TCircleFrame(TGeoCircle& AEntity, QWidget* Parent);

    void UpdateDragged() override;

    TVkGroupBox* VkGroupBox3;
    TVkSpinEdit* VkSpinEdit1;

protected:
    void EditPoint(int Row, int Axis, double Value) override;
    void ShowOthers() override;

private:
    TGeoCircle* Circle() const { return static_cast<TGeoCircle*>(GetGeometry()); }
};

void RegisterShapeFrames();

}  // namespace sarnova
