// The property frame of the ship hull-lines entity: name and colour, the hull type, the parameter
// grid with update on request or after every edit, and the generation status.
#pragma once
#include <QWidget>

#include "hulls/GHalvorn.h"

class QCheckBox;
class QLabel;
class QRadioButton;
class QTableWidget;
class QToolButton;

namespace sarnova {

class TFrameNameColor;

class THalvornFrame : public QWidget, public IHalvornFrame {
    Q_OBJECT
public:
    THalvornFrame(TGeoHalvorn& AEntity, QWidget* Parent);
    ~THalvornFrame() override;

    void UpdateFromEntity() override;
    void ShowStatus(const std::string& Text) override;
    void GeometryDestroyed() override;

    QLabel* Label1;
    TFrameNameColor* NameColor;
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QToolButton* SpeedButton1;
    QToolButton* SpeedButton2;
    QCheckBox* CheckBox1;
    QLabel* Panel2;
    QTableWidget* VkGrid1;

    // What the controls do, also for tests.
    void EditParameter(int Index, const QString& Text);
    void UpdateClick();
    void DefaultsClick();
    void HullTypeClick(int Shape);
    void InteractiveClick(bool On);

private:
    // Generates, reporting a failure in the error box.
    void GenerateNow();
    // After an edit: generate at once, or show the hull as ungenerated.
    void AfterEdit();

    TGeoHalvorn* Entity;
    bool Filling = false;
};

void RegisterHalvornFrame();

}  // namespace sarnova
