// The "Scale Printing" window: lays a document's entities out on pages and prints them to scale. It
// previews the current page in a 3-D view, offers the design units, the scale, the view plane, the
// sheet orientation, page navigation, an offset dragged in the preview, the printer and its paper,
// and prints all pages, the current one or a range. Nothing it sets is kept after it closes.
#pragma once
#include <QDialog>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "foundation/Graphics.h"

class QAction;
class QComboBox;
class QPrinter;
class QStatusBar;

namespace sarnova {

class IUserDialogs;
class TGeometryList;
class TGeometryPlotter;
class TOpenGLView;
class TQtPlotterPrinter;
class TQtPrinterDevices;
class TVkPageSizeComboBox;
class TVkPrinterComboBox;
class TVkSpinEdit;

// The number of entities that scale printing draws: those not marked internal (capability 0x400).
int CountPrintableEntities(TGeometryList& List);
bool HasPrintableEntities(TGeometryList& List);

// The window, modal, on List; Dialogs asks whether to split the entities into pages.
void ShowScalePrinting(TGeometryList& List, IUserDialogs& Dialogs);

// What the print dialog was confirmed with.
enum class TPrintRange : std::uint8_t { AllPages, Selection, PageNums };
struct TPrintChoice {
    TPrintRange Range = TPrintRange::AllPages;
    // 1-based; preset with the first and the last page.
    int FromPage = 1;
    int ToPage = 1;
    int Copies = 1;
};

class TPlotterForm : public QDialog {
public:
    // Works on Printer (the program's printer when none), whose printer, paper and copies it changes.
    explicit TPlotterForm(IUserDialogs& Dialogs, QWidget* Parent = nullptr, QPrinter* Printer = nullptr);
    ~TPlotterForm() override;

    TGeometryPlotter& GetPlotter() const { return *Plotter; }

    // Pages for List: one per printable entity when the user agrees to split two or more, else one;
    // then the preview fits and the controls follow.
    void Setup(TGeometryList& List);
    // The controls from the plotter: units, scale, orientation, plane, apply-to-all and the pages.
    void UpdateControls();
    // "Scale To Fit", or the current scale text: a listed one selected, any other shown in entry 0.
    void UpdateScaleCombo();

    // The platform dialogs; tests put their own answers here.
    std::function<bool(const std::string& Caption, const std::string& Prompt, std::string& Value)> InputQuery;
    // True when confirmed; Choice comes preset with the page range of the document.
    std::function<bool(TPrintChoice& Choice)> ExecutePrintDialog;
    std::function<void()> ExecutePrinterSetupDialog;

    // ---- What the controls do ----
    // Nothing without pages; otherwise the print dialog, then the pages it asks for.
    void Print();
    void PrinterSettings();
    void PrinterChange();
    void PageSizeChange();
    void FirstPage();
    void PreviousPage();
    void NextPage();
    void LastPage();
    void PageNumberChange();
    void ApplyToAllClick();
    // 0 portrait, 1 landscape.
    void OrientationClick(std::uint8_t Orientation);
    // 0 XY, 1 YZ, 2 XZ.
    void ViewPlaneClick(std::uint8_t Plane);
    void UnitsChange();
    // A rejected custom text is raised (and the list left as it is).
    void ScaleChange();
    // Before the preview can draw, the fit waits for its first drawing.
    void ZoomToExtents();
    void ZoomToPageExtents();
    void PreviewModeClick(TInteractionMode Mode);
    void ResetOffsetClick();

    // ---- Components ----
    TOpenGLView* OpenGLView2;
    QAction* SpeedButton5;   // Print
    QAction* SpeedButton6;   // Printer Settings...
    QAction* SpeedButton10;  // First Page
    QAction* SpeedButton11;  // Previous Page
    QAction* SpeedButton12;  // Next Page
    QAction* SpeedButton13;  // Last Page
    QAction* SpeedButton14;  // Portrait
    QAction* SpeedButton15;  // Landscape
    QAction* SpeedButton16;  // Apply Settings to All Pages
    QAction* SpeedButton7;   // XY
    QAction* SpeedButton8;   // YZ
    QAction* SpeedButton9;   // XZ
    QAction* SpeedButton17;  // Zoom to Page Extents
    QAction* SpeedButton18;  // Zoom to Extents
    QAction* ToolButton3;    // Zoom
    QAction* ToolButton4;    // Pan the Page
    QAction* ToolButton5;    // Offset Geometry
    QAction* ToolButton6;    // Reset Offset
    QAction* Print1;
    QAction* PrinterSettings1;
    QAction* Close1;
    TVkPrinterComboBox* VkPrinterComboBox1;
    TVkPageSizeComboBox* VkPageSizeComboBox1;
    TVkSpinEdit* VkSpinEdit2;
    QComboBox* ComboBox1;  // design units
    QComboBox* ComboBox3;  // scale
    QStatusBar* StatusBar1;

private:
    class TSheetSwitches;

    void BuildControls();
    void InstallPreviewEvents();
    // Runs a control's handler: an error goes to the program's error box.
    void Run(void (TPlotterForm::*Handler)());
    void PreviewMouseDown(TMouseButton Button, int X, int Y);
    void PreviewMouseMove(TShiftState Shift, int X, int Y);
    void PreviewMouseUp(TMouseButton Button, int X, int Y);

    IUserDialogs& Dialogs;
    QPrinter& Printer;
    std::unique_ptr<TQtPrinterDevices> Devices;
    std::unique_ptr<TQtPlotterPrinter> PlotterPrinter;
    std::unique_ptr<TGeometryPlotter> Plotter;
    std::unique_ptr<TSheetSwitches> Switches;
    // UpdateControls is writing the controls: their change events must not act.
    bool Updating = false;
    // The preview gets its rendering context when first shown; a fit asked for before waits for it.
    bool FitPending = false;
};

}  // namespace sarnova
