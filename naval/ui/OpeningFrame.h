// The property frame of the openings: name and colour, the sections one at a time as a grid of
// points, and the connection: the two spaces chosen from the document's groups and the sea, the
// direction of flow, the collapse head and the opening time.
#pragma once
#include <string>

#include <QWidget>

#include "document/Geometry.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTableWidget;
class QToolButton;

namespace sarnova {

class TFrameNameColor;
class TGeoOpening;
class TMeshEditSelector;
class TVkGroupBox;
class TVkGroupBoxManager;

class TOpeningFrame : public QWidget, public IGeometryFrame {
    Q_OBJECT
public:
    TOpeningFrame(TGeoOpening& AOpening, QWidget* Parent);
    ~TOpeningFrame() override;

    bool IsDefaultFrame() const override { return false; }
    void Refresh() override;
    void GeometryDestroyed() override;

    // "Sea" and every group of the document but the one named Other; Current selected.
    void FillGroupCombo(QComboBox* Combo, const std::string& Current, const std::string& Other);

    void LeftButClick();
    void RightButClick();
    void MeshEditSelector1MeshSelect(int Index);
    void DelButClick();
    // Grid rows as the grid counts them: row 0 is the header.
    void VkGrid1EditCell(int Column, double Value, int Row);
    void InsAboveButClick();
    void InsBelowButClick();
    // Deletes the point of the current row while the section keeps at least two.
    void DelRowButClick();
    void SpeedButton1Click();
    void CopyButClick();
    void ComboBox1Change();
    void ComboBox2Change();
    void RadioButtonClick(int Direction);
    void Edit2Change();
    void Edit3Change();

    QLabel* EntityClass;
    TFrameNameColor* VkGroupBox1;
    TVkGroupBox* VkGroupBox3;
    QToolButton* LeftBut;
    QToolButton* RightBut;
    QToolButton* InsAboveBut;
    QToolButton* InsBelowBut;
    QToolButton* DelRowBut;
    QToolButton* SpeedButton1;
    QToolButton* CopyBut;
    QToolButton* DelBut;
    TMeshEditSelector* MeshEditSelector1;
    QTableWidget* VkGrid1;
    TVkGroupBox* VkGroupBox5;
    QComboBox* ComboBox1;
    QComboBox* ComboBox2;
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QRadioButton* RadioButton3;
    TVkGroupBox* VkGroupBox2;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    TVkGroupBoxManager* VkGroupBoxManager1;

private:
    void EndCellEdit();
    void CellChanged(int Row, int Column);
    void UpdateRowButtons();
    // The point row the grid's current cell is on; 0 when none.
    int CurrentRow() const;

    TGeoOpening* Opening;
    bool Filling = false;
};

// Registers the opening frame; the GUI calls it at start-up.
void RegisterOpeningUi();

}  // namespace sarnova
