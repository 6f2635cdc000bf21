// What the property frames of the entities share: the title with the entity kind and the group
// "Name and Color", whose edit renames the entity on every change and whose swatch recolours it.
#pragma once
#include <QLabel>
#include <QLineEdit>

#include <string>

#include "shell/VkColorPanel.h"
#include "shell/VkGroupBox.h"

namespace sarnova {

class TGeometry;

// The kind of entity a frame shows, in the frames' title style.
QLabel* NewFrameTitle(const std::string& Text, QWidget* Parent);

class TFrameNameColor : public TVkGroupBox {
    Q_OBJECT
public:
    // Edits Entity, which the frame must forget (SetEntity(nullptr)) before the entity dies.
    TFrameNameColor(TGeometry* Entity, QWidget* Parent);

    void SetEntity(TGeometry* Value) { Entity = Value; }
    // The entity's name and colour, without renaming or recolouring it.
    void Refresh();

    QLineEdit* NameEdit;
    TVkColorPanel* ColorPanel;

private:
    TGeometry* Entity;
};

}  // namespace sarnova
