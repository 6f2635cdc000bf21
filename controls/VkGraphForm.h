// The chart's properties dialog ("Chart Properties"): the chart, both axes and every series edited
// live; there is no cancel.
#pragma once
#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace sarnova {

class TVkAxis;
class TVkGraphCore;
class TVkSeries;
class TGraphFormColorBox;

class TVkGraphForm : public QDialog {
    Q_OBJECT
public:
    explicit TVkGraphForm(QWidget* Parent = nullptr);
    ~TVkGraphForm() override;

    // Binds the dialog to Graph (which must outlive it) and shows its first page.
    void SetGraph(TVkGraphCore* Graph);
    TVkGraphCore* GetGraph() const { return Graph; }
    // Every control from the chart, without change handlers firing.
    void RefreshControls();
    // The series whose controls the Series Data page shows.
    void ShowSeries(int Index);
    TVkSeries* GetShownSeries() const { return Shown; }

private:
    // The controls of one axis page.
    struct TAxisPage {
        std::array<QCheckBox*, 3> Auto{};        // minimum, maximum, gap
        std::array<QDoubleSpinBox*, 3> Value{};  // minimum, maximum, gap
        QLineEdit* Title = nullptr;
        QCheckBox* GridLines = nullptr;
        QRadioButton* Loose = nullptr;
        QRadioButton* Tight = nullptr;
    };
    QWidget* MakeChartPage();
    QWidget* MakeAxisPage(TAxisPage& Page, bool IsX);
    QWidget* MakeSeriesPage();
    void RefreshAxis(TAxisPage& Page, const TVkAxis& Axis);
    TVkAxis& AxisOf(const TAxisPage& Page) const;
    void ChooseFont();

    TVkGraphCore* Graph = nullptr;
    TVkSeries* Shown = nullptr;
    QTabWidget* PageControl = nullptr;
    QLineEdit* Edit6 = nullptr;
    TGraphFormColorBox* ColorComboBox2 = nullptr;
    TGraphFormColorBox* ColorComboBox3 = nullptr;
    TGraphFormColorBox* ColorComboBox4 = nullptr;
    QCheckBox* CheckBox5 = nullptr;
    QCheckBox* CheckBox6 = nullptr;
    QLabel* Panel2 = nullptr;
    TAxisPage XPage;
    TAxisPage YPage;
    QListWidget* SeriesListBox = nullptr;
    QLineEdit* Edit5 = nullptr;
    TGraphFormColorBox* ColorComboBox1 = nullptr;
    QComboBox* PointStyleBox = nullptr;
    QSpinBox* VkSpinEdit1 = nullptr;
    QPushButton* DelButt = nullptr;
    QPushButton* CopyButt = nullptr;
    QPushButton* PastButt = nullptr;
};

}  // namespace sarnova
