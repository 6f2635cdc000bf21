// What the property frames of the hull-lines entities share: name and colour, the parameter grid
// with update on request or after every edit, the defaults, and the generation status.
#pragma once
#include <QWidget>

#include <string>

#include "hulls/GHullLines.h"

class QCheckBox;
class QLabel;
class QTableWidget;
class QToolButton;
class QVBoxLayout;

namespace sarnova {

class TFrameNameColor;

// The hourglass while a change runs; the cursor comes back on every path.
class TWaitCursor {
public:
    TWaitCursor();
    ~TWaitCursor();
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};

class THullLinesFrame : public QWidget, public IHullLinesFrame {
    Q_OBJECT
public:
    ~THullLinesFrame() override;

    // Name and colour, the generator's own controls, the grid and the update button.
    void UpdateFromEntity() override;
    void ShowStatus(const std::string& Text) override;
    void GeometryDestroyed() override;

    QLabel* Label1;
    TFrameNameColor* NameColor;
    QToolButton* SpeedButton1;
    QToolButton* SpeedButton2;
    QCheckBox* CheckBox1;
    QLabel* Panel2;
    QTableWidget* VkGrid1;

    // What the controls do, also for tests.
    void EditParameter(int Index, const QString& Text);
    void UpdateClick();
    virtual void DefaultsClick();
    virtual void InteractiveClick(bool On);

protected:
    // Builds the title, "Name and Color" and the "Parameters" group; the subclass fills the grid by
    // calling UpdateFromEntity once it is constructed.
    THullLinesFrame(TGeoHullLines& AEntity, const char* Title, const char* ObjectName, QWidget* Parent);

    // ---- The generator's parameter table ----
    virtual int ParameterCount() const = 0;
    virtual std::string ParameterName(int Index) const = 0;
    virtual double Parameter(int Index) const = 0;
    virtual void SetParameter(int Index, double Value) = 0;
    virtual void SetDefaults() = 0;
    // The generator's own controls, refreshed before the grid.
    virtual void RefreshControls() {}
    // The update button (and status) after a refresh.
    virtual void RefreshUpdateButton();

    // Generates, reporting a failure in the error box.
    void GenerateNow();
    // After an edit: generate at once, or show the hull as ungenerated.
    void AfterEdit();

    QVBoxLayout* Layout;
    TGeoHullLines* Entity;
    bool Filling = false;
};

}  // namespace sarnova
