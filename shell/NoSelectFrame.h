// The Attributes window's frame while nothing is selected: the program options. Every control edits one
// program setting and the change takes effect at once: the main window applies the settings to its
// windows and the settings are saved.
#pragma once
#include <QWidget>

#include <functional>

#include "foundation/Colors.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QPushButton;
class QToolButton;

namespace sarnova {

class TGeometryList;
class TVkColorListBox;
class TVkColorPanel;
class TVkGroupBox;
class TVkGroupBoxManager;
class TVkSpinEdit;
class TVkVectorPanel;

// The drawing colour shown at row Index of the options' colour list (0 "Background" to 14 "3DEdit
// Icons Color").
TColor& ColorListSetting(int Index);
// The fifteen names of the colour list, in row order.
extern const char* const ColorListNames[15];

class TNoSelectionFrame : public QWidget {
    Q_OBJECT
public:
    explicit TNoSelectionFrame(QWidget* Parent);

    // Every control from the settings.
    void Fill(TGeometryList* ADocument);
    TGeometryList* GetDocument() const { return Document; }

    QLabel* Heading;
    TVkGroupBoxManager* VkGroupBoxManager1;

    TVkGroupBox* ManipulationGroup;
    TVkSpinEdit* GridSpacingEdit;
    TVkSpinEdit* MajorFrequencyEdit;
    TVkSpinEdit* NudgeEdit;
    QCheckBox* GridCheckBox;
    QCheckBox* Edit3DCheckBox;
    QCheckBox* GridSnapCheckBox;
    QCheckBox* ObjectSnapCheckBox;
    QCheckBox* HighlightCheckBox;
    QCheckBox* ContoursWhileEditingCheckBox;
    QCheckBox* CurvatureWhileEditingCheckBox;

    TVkGroupBox* ColorsGroup;
    TVkColorListBox* VkColorListBox1;
    QPushButton* ClassicSchemeButton;
    QPushButton* EvolutionSchemeButton;

    TVkGroupBox* AxisIconGroup;
    QButtonGroup* AxisIconButtons;  // ids: the TAxisIcon values

    TVkGroupBox* DegradationGroup;
    QButtonGroup* DegradationButtons;  // ids: the TAdaptiveDegradation values
    TVkSpinEdit* DegradationDelayEdit;

    TVkGroupBox* RotationGroup;
    QButtonGroup* RotationButtons;  // ids: imRotateWorld, imRotateView

    TVkGroupBox* CurvatureGroup;
    QButtonGroup* ShadingButtons;  // ids: the shading model
    QCheckBox* LayersCheckBox;
    TVkSpinEdit* LayerCountEdit;

    TVkGroupBox* ZebraGroup;
    TVkVectorPanel* VkVectorPanel1;
    QButtonGroup* SnapAngleButtons;  // ids: the snap angle in degrees
    QPushButton* ResetButton;
    TVkColorPanel* Band1Panel;
    TVkColorPanel* Band2Panel;
    QButtonGroup* BandButtons;  // ids: the band count

    TVkGroupBox* SystemGroup;
    QCheckBox* OpenProjectCheckBox;
    QCheckBox* AutoSaveCheckBox;
    TVkSpinEdit* AutoSaveIntervalEdit;
    QCheckBox* NvidiaCheckBox;

    TVkGroupBox* DesignUnitsGroup;
    QButtonGroup* DesignUnitButtons;  // ids: the buttons' tags
    TVkGroupBox* MassUnitsGroup;
    QButtonGroup* MassUnitButtons;
    TVkSpinEdit* WaterDensityEdit;

private:
    void BuildManipulation();
    void BuildColors();
    void BuildViewGroups();
    void BuildCurvature();
    void BuildZebra();
    void BuildSystem();
    void BuildUnits();
    // A box of this frame: its caption, collapsed at first unless Expanded.
    TVkGroupBox* NewGroup(const char* Caption, const char* Name, bool Expanded = false);
    QCheckBox* NewCheckBox(const char* Caption, QWidget* Parent, std::function<void(bool)> Store);
    // Radio buttons of (caption, id) in Parent; a click stores the id.
    QButtonGroup* NewRadioGroup(QWidget* Parent, std::initializer_list<std::pair<const char*, int>> Buttons,
                                std::function<void(int)> Store, bool ApplyToWindows = true);
    void OnSpinChange(TVkSpinEdit* Edit, std::function<void()> Store, bool ApplyToWindows = true);
    // After a change: the windows take the settings (unless only saved), then the settings are saved.
    void SettingChanged(bool ApplyToWindows = true);
    void SetProjectOption(int Bit, bool On);
    void UpdateEnabledStates();
    void ChooseScheme(bool Classic);

    TGeometryList* Document = nullptr;
};

// A new options frame inside Owner.
TNoSelectionFrame* CreateNoSelectionFrame(QWidget* Owner);

}  // namespace sarnova
