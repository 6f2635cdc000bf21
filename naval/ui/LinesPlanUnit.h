// The "Lines Plan" window: the sheet of the selected surfaces in its own view, every option of the
// plan, label-line editing, printing, copying, DXF export and conversion into a polyline list.
#pragma once
#include <functional>
#include <memory>

#include <QDialog>
#include <QSize>

class QAction;
class QCheckBox;
class QRadioButton;
class QStatusBar;
class QTabWidget;

namespace sarnova {

class IUserDialogs;
class TColorComboBox;
class TGeometryList;
class TGeometryQuery;
class TLinesPlan;
struct TCameraInfo;
class TOpenGLView;
class TVkSpinEdit;

class TLinesPlanForm : public QDialog {
    Q_OBJECT
public:
    explicit TLinesPlanForm(IUserDialogs& ADialogs, QWidget* Parent = nullptr);
    ~TLinesPlanForm() override;

    // Takes the document's selected surfaces, places contours every unit over their extents and
    // shows the whole sheet.
    void Setup(TGeometryList* ADocument);
    // The controls from the plan's settings.
    void RefreshControls();
    TLinesPlan& Plan() { return *FPlan; }

    // Adds the sheet to the document as a polyline-list entity and closes the window.
    void ConvertToPolylineList();
    void ExportAsDXF();
    void Print();
    void CopyToClipboard();
    void PrinterSettings();

    QAction* ConvertToPolylineList1;
    QAction* ExportasDXF1;
    QAction* Print1;
    QAction* CopytoClipboard1;
    QAction* PrinterSettings1;
    QAction* Close1;
    QAction* ToolButton1;
    QAction* ToolButton12;
    QAction* ToolButton2;
    QAction* ToolButton3;
    QAction* ToolButton5;
    QAction* ToolButton6;
    QAction* ToolButton7;
    QAction* ToolButton10;
    QAction* ToolButton9;
    QAction* ToolButton8;
    QAction* ToolButton11;
    QAction* ToolButton14;
    QTabWidget* PageControl1;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox5;
    QCheckBox* CheckBox6;
    QCheckBox* CheckBox7;
    QCheckBox* CheckBox8;
    QCheckBox* CheckBox9;
    QCheckBox* CheckBox10;
    QCheckBox* CheckBox11;
    TColorComboBox* ColorBox1;
    TColorComboBox* ColorBox2;
    TColorComboBox* ColorBox3;
    TColorComboBox* ColorBox4;
    TColorComboBox* ColorBox5;
    TVkSpinEdit* VkSpinEdit1;
    TVkSpinEdit* VkSpinEdit2;
    TVkSpinEdit* VkSpinEdit4;
    TVkSpinEdit* VkSpinEdit5;
    TVkSpinEdit* VkSpinEdit6;
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QRadioButton* RadioButton3;
    QRadioButton* RadioButton4;
    TOpenGLView* OpenGLView1;
    QStatusBar* StatusBar1;

private:
    void BuildControls();
    QWidget* BuildOptionsPage();
    QWidget* BuildLayoutPage();
    QWidget* BuildContoursPage();
    void InstallViewEvents();
    void EnableDependentControls();
    // Runs a handler of a control: nothing while the controls are being refreshed; errors go to the
    // program's exception handler; the view renders afterwards.
    void Change(const std::function<void()>& Handler);
    void LayoutClick(std::uint8_t Layout);
    void SetupContours();

    IUserDialogs& Dialogs;
    TGeometryList* Document = nullptr;
    // The query that found the surfaces owns the meshes it sampled for them.
    std::unique_ptr<TGeometryQuery> FQuery;
    std::unique_ptr<TLinesPlan> FPlan;
    bool Dragging = false;
    bool Refreshing = false;
    // The plan waits to be fitted until the view has its rendering context.
    bool FitWhenReady = false;
    // The view's size and camera right after that fit, while the user has not moved the camera: a view
    // whose size the layout still changes after its first frame is fitted again.
    QSize FittedSize;
    std::unique_ptr<TCameraInfo> FittedCamera;
    void FitAndKeep();
};

// A selected entity of the document gives a surface, a sampled mesh or facets.
bool CanGenerateLinesPlan(TGeometryList* Document);
void ShowLinesPlanForm(TGeometryList* Document, IUserDialogs& Dialogs);

}  // namespace sarnova
