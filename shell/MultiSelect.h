// The Attributes window's frame for several selected entities: the attributes they share, shown as one
// value or as mixed, and edited for all of them at once.
#pragma once
#include <QCheckBox>
#include <QWidget>

#include <cstdint>

#include "foundation/Colors.h"

class QLabel;
class QPushButton;

namespace sarnova {

class TGeometry;
class TGeometryList;
class TVkColorPanel;
class TVkGroupBox;
class TVkGroupBoxManager;
class TVkSpinEdit;

// A check box that can show a mixed state; a click while it shows one leaves it as it is.
class TGrayableCheckBox : public QCheckBox {
    Q_OBJECT
public:
    TGrayableCheckBox(const QString& Text, QWidget* Parent);
    bool IsGrayed() const { return checkState() == Qt::PartiallyChecked; }

protected:
    void nextCheckState() override;
};

// One attribute gathered over several entities: the first value given, and whether a later one
// differed from it.
class TStateReview {
public:
    bool HasValue = false;
    bool Mixed = false;
    bool BooleanValue = false;
    TColor ColorValue = 0;
    std::int32_t IntegerValue = 0;

    void AddBoolean(bool Value);
    void AddColor(TColor Value);
    void AddInteger(std::int32_t Value);
    // Nothing without a value; otherwise, without firing the box's click, grayed when mixed, else
    // checked as the value.
    void ApplyToCheckBox(TGrayableCheckBox& Box) const;

private:
    template <class T>
    void Add(T Value, T& Stored);
};

class TMultiSelectFrame : public QWidget {
    Q_OBJECT
public:
    explicit TMultiSelectFrame(QWidget* Parent);

    // Shows what the selected entities of Document have in common.
    void Fill(TGeometryList* Document);
    TGeometryList* GetDocument() const { return Document; }

    QLabel* Heading;
    TVkColorPanel* VkColorPanel1;
    TVkGroupBox* VisualisationGroup;
    TGrayableCheckBox* MirroredCheckBox;
    TGrayableCheckBox* CurvatureCheckBox;
    TGrayableCheckBox* OutlinesCheckBox;
    TVkGroupBox* SurfaceGroup;
    TVkSpinEdit* UDivisionsEdit;
    TVkSpinEdit* VDivisionsEdit;
    TGrayableCheckBox* ParametersCheckBox;
    TGrayableCheckBox* ContoursCheckBox;
    QPushButton* UpdateButton;
    TVkGroupBoxManager* VkGroupBoxManager1;

private:
    // Runs Change on every selected entity inside one update bracket of the document.
    template <class F>
    void ForSelected(F Change);
    // A click on Box: Change for every selected entity with the box's state; nothing while grayed.
    template <class F>
    void OnBoxClicked(TGrayableCheckBox* Box, F Change);

    TGeometryList* Document = nullptr;
};

// A new multiple-selection frame inside Owner.
TMultiSelectFrame* CreateMultiSelectFrame(QWidget* Owner);

}  // namespace sarnova
