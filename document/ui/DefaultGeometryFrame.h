// The property frame of every entity class without a frame of its own: the class, the entity's name and
// its colour, both edited in place.
#pragma once
#include <QWidget>

#include "document/Geometry.h"

class QLabel;
class QLineEdit;

namespace sarnova {

class TVkColorPanel;
class TVkGroupBox;
class TVkGroupBoxManager;

// The frame's heading: the class in blue, bold italic 16-pixel Arial.
QLabel* NewFrameHeading(QWidget* Parent);

class TDefaultGeometryFrame : public QWidget, public IGeometryFrame {
    Q_OBJECT
public:
    TDefaultGeometryFrame(TGeometry& AGeometry, QWidget* Parent);

    bool IsDefaultFrame() const override { return true; }
    // The class's description, the name and the colour.
    void Refresh() override;
    void GeometryDestroyed() override { Geometry = nullptr; }

    // Renames at every keystroke; the name is not made unique.
    void Edit1Change();
    void VkColorPanel1Change();

    TGeometry* GetGeometry() const { return Geometry; }

    QLabel* EntityClass;
    TVkGroupBox* VkGroupBox1;
    QLineEdit* Edit1;
    TVkColorPanel* VkColorPanel1;
    TVkGroupBoxManager* VkGroupBoxManager1;

private:
    TGeometry* Geometry;
};

// Registers the default frame and the frame of the placeholder entity with the model; the GUI calls it
// at start-up.
void RegisterDefaultFrames();

}  // namespace sarnova
