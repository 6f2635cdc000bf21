// The frame body that the property frames of frames, boxes, arcs and circles share: the entity kind
// as a title, the group "Name and Color", and the collapsible group boxes below, whose states the
// frame's group-box manager remembers.
#pragma once
#include <QWidget>

#include "document/Geometry.h"

class QLabel;
class QVBoxLayout;

namespace sarnova {

class TFrameNameColor;
class TVkGroupBox;
class TVkSpinEdit;

class TEntityFrame : public QWidget {
public:
    // Caption is the entity kind shown at the top; Name names the frame for the remembered states of
    // its group boxes.
    TEntityFrame(TGeometry& AEntity, const std::string& Caption, const QString& Name, QWidget* Parent);
    ~TEntityFrame() override;

    QLabel* EntityClass;
    TFrameNameColor* NameColor;

protected:
    // A new group box under the others, with a vertical layout.
    TVkGroupBox* AddGroupBox(const char* Caption, const char* Name);
    // After the group boxes are in place: their remembered states are restored.
    void FinishLayout();
    // The entity is being freed: nothing may reach it any more.
    void Forget();
    TGeometry* GetGeometry() const { return Entity; }

    // Set while the frame writes its controls, so that their change signals are not edits.
    bool Filling = false;

private:
    TGeometry* Entity;
    QVBoxLayout* FrameLayout;
};

// A floating-point spin edit with a caption in front, added to a group box.
TVkSpinEdit* AddSpinEdit(TVkGroupBox& Box, const char* Caption, float Increment);

// Registers the property frames of frames, boxes, arcs and circles; the GUI calls it at start-up.
void RegisterPrimitiveFrames();

}  // namespace sarnova
