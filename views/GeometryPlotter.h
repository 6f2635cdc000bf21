// Scale printing: a document's entities laid out on pages, each projected onto a principal plane (plan,
// sections or profile) at a true scale of the design units or scaled to fit the printable area, placed
// on a portrait or landscape sheet and shifted by an offset. A page's transform takes model units to
// millimetres on the paper; the preview draws the sheet and the page in those millimetres, printing
// maps them to device pixels. The printer is reached through IPlotterPrinter, so that the arithmetic
// runs and is tested without a window. No Qt and no GL here.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/GraphicsCanvas.h"
#include "foundation/GeomBox.h"

namespace sarnova {

class TGeometry;
class TGeometryList;
class TGeometryPlotter;

// The selected printer's sheet, in whole millimetres, and its device resolution and page size.
struct TPrinterMetrics {
    int PaperWidth = 0;
    int PaperHeight = 0;
    int PrintableWidth = 0;
    int PrintableHeight = 0;
    int LeftMargin = 0;
    int TopMargin = 0;
    int RightMargin = 0;
    int BottomMargin = 0;
    int HorzResolution = 0;  // dots per inch
    int VertResolution = 0;
    int PageHeight = 0;  // device pixels of the printable area
    int PageWidth = 0;
    bool operator==(const TPrinterMetrics&) const = default;
};

// What the printer device reports about itself.
struct TPrinterDeviceCaps {
    int HorzSize = 0;  // printable area, millimetres
    int VertSize = 0;
    int LogPixelsX = 0;  // pixels per inch
    int LogPixelsY = 0;
    int PhysicalWidth = 0;  // the whole sheet, device pixels
    int PhysicalHeight = 0;
    int PhysicalOffsetX = 0;  // the printable area's corner on the sheet, device pixels
    int PhysicalOffsetY = 0;
    int PageWidth = 0;  // the printable area, device pixels
    int PageHeight = 0;
};

// The printer as scale printing uses it. The GUI drives the program's printer (paper or PDF file);
// tests record the calls.
class IPlotterPrinter {
public:
    virtual ~IPlotterPrinter() = default;
    // A print job is running.
    virtual bool Printing() const = 0;
    virtual void SetPortrait() = 0;
    virtual TPrinterDeviceCaps DeviceCaps() = 0;
    virtual void SetTitle(const std::string& Title) = 0;
    // Starts the job; Canvas draws on the current sheet from here until EndDoc.
    virtual void BeginDoc() = 0;
    virtual void NewPage() = 0;
    virtual void EndDoc() = 0;
    virtual ICanvas& Canvas() = 0;
};

// Millimetres in an inch, as the device arithmetic of scale printing has it (not exactly 25.4).
inline constexpr double PlotterMillimetresPerInch = 25.399999961392;

// The metrics from the device's report: margins and sheet size from device pixels and resolution,
// each rounded; the right and bottom margins what is left of the sheet.
TPrinterMetrics PrinterMetricsFromCaps(const TPrinterDeviceCaps& Caps);
// The printer's metrics; the printer is first set to portrait unless a job is running.
TPrinterMetrics ReadPrinterMetrics(IPlotterPrinter& Printer);
// The landscape view of a record: every width exchanged with its height, left with top margin, right
// with bottom margin, and the two resolutions.
TPrinterMetrics SwapPrinterMetrics(const TPrinterMetrics& M);

// Design units of the model: 0 metres, 1 centimetres, 2 millimetres, 3 feet, 4 inches.
// Millimetres of paper per unit at 1:1; 1 for any other code.
double DesignUnitMillimetres(int Units);

// The preview's OpenGL switches that IGraphics does not reach; the scale-printing form supplies them.
class IPlotterSheetSwitches {
public:
    virtual ~IPlotterSheetSwitches() = default;
    // The sheet is drawn at the depth of the page's picture, which must still show over it.
    virtual void DepthTestOff() = 0;
    // Pattern 0 switches the stipple off.
    virtual void LineStipple(int Factor, std::uint16_t Pattern) = 0;
};

// The sheet in page millimetres (origin at the printable area's lower-left corner): a shadow, the
// paper, its outline and the printable area's dotted outline. Switches may be null.
void DrawPlotterSheet(IGraphics& Graphics, const TPrinterMetrics& Metrics, IPlotterSheetSwitches* Switches);

// The entities of one page, in order, not owned.
class TGeometryObjects {
public:
    void Add(TGeometry* Entity) { Items.push_back(Entity); }
    int Count() const { return static_cast<int>(Items.size()); }
    TGeometry* Item(int Index) const { return Items.at(static_cast<std::size_t>(Index)); }
    // The union of their extents; the empty box without entities.
    TMBox Extents() const;
    void Draw(IGraphics& Graphics) const;

private:
    std::vector<TGeometry*> Items;
};

// The page as a printer target: page millimetres (y upwards, origin at the printable area's lower-left
// corner) mapped to device pixels (y downwards).
class TGeometryPlotterCanvas : public TCanvasInterface {
public:
    // Width and Height: the page in pixels; PrintableWidth and PrintableHeight: the same area in mm.
    TGeometryPlotterCanvas(ICanvas& Canvas, int Width, int Height, int PrintableWidth, int PrintableHeight);

    const TMMatrix& GetMatrix() const { return Matrix; }
    TPoint WorldToScreen(double X, double Y, double Z) override;
    // Pixels are not turned back into millimetres: the origin.
    TMVector ScreenToWorld(int X, int Y) override { return ZeroVector; }

private:
    TMMatrix Matrix;
};

class TGeometryPage {
public:
    TGeometryPage() = default;
    TGeometryPage(const TGeometryPage&) = delete;
    TGeometryPage& operator=(const TGeometryPage&) = delete;

    // Millimetres on the paper (x, y).
    TMVector Offset;
    TMVector DragSavedOffset;
    // The page point under the mouse when an offset drag began.
    TMVector DragStart;
    // The entities' extents, recomputed at every drawing.
    TMBox Extents = EmptyBox;
    // 0 XY (plan, "Waterlines"), 1 YZ (sections, "Stations"), 2 XZ (profile, "Buttocks").
    std::uint8_t ViewPlane = 0;
    // 0 portrait, 1 landscape.
    std::uint8_t Orientation = 0;
    TGeometryPlotter* Plotter = nullptr;
    TGeometryObjects Objects;
    // Paper length per model length in the design unit: 1 for 1:1, 0.02 for 1:50, 2 for 2:1.
    double Ratio = 1.0;
    // Scaled to fit the printable area instead of Ratio.
    bool Fit = false;

    // Appended unless the entity is internal (capability 0x400: never printed to scale).
    void AddEntity(TGeometry* Entity);
    void AddList(TGeometryList& List);

    // "%g:1" of Ratio from 1 up, else "1:%g" of its inverse.
    std::string GetScaleText() const;
    // "a:b" sets Ratio to a / b. Throws EConvertError "Scale Factor should be in the format
    // "number:number"" for a text without ":" or with a part that is no number, and "Both numbers in
    // the scale factor should be 1 or greater" for a number below 1; Ratio is then unchanged.
    void SetScaleText(const std::string& Text);
    // Millimetres of paper per model unit. A fitted page's offset is reset by every call.
    double Scale();
    // Fresh extents, then the pipeline's matrix: projection onto the plane about the extents' centre,
    // the scale, and the placement on the sheet (a landscape print turned onto the portrait sheet).
    void SetupPipeline(TMatrixPipeline& Pipeline, bool ForPreview);
    // The page's metrics, exchanged when landscape.
    TPrinterMetrics SheetMetrics() const;
    void DrawSheet(IGraphics& Graphics);
    void DrawPreview(IGraphics& Graphics);
    void Print(IGraphics& Graphics);
    // The paper sheet in page millimetres, from z -1 to 1.
    TMBox SheetBox() const;
    void ResetOffset() { Offset = ZeroVector; }
    // Graphics shows page millimetres (the preview).
    void BeginOffsetDrag(IGraphics& Graphics, int X, int Y);
    void DragOffset(IGraphics& Graphics, int X, int Y);
    void EndOffsetDrag(IGraphics& Graphics, int X, int Y) {}

private:
    void DrawObjects(IGraphics& Graphics, bool ForPreview);
};

class TGeometryPlotter {
public:
    // Reads the printer's metrics; the printer must outlive the plotter.
    explicit TGeometryPlotter(IPlotterPrinter& Printer);
    ~TGeometryPlotter();
    TGeometryPlotter(const TGeometryPlotter&) = delete;
    TGeometryPlotter& operator=(const TGeometryPlotter&) = delete;

    // The design-units code of every page.
    std::uint8_t Units = 0;
    // Whether the setters change every page or only the current one.
    bool ApplyToAll = true;
    // The preview's OpenGL switches; none by default.
    IPlotterSheetSwitches* SheetSwitches = nullptr;

    IPlotterPrinter& GetPrinter() const { return Printer; }
    const TPrinterMetrics& GetMetrics() const { return Metrics; }
    int GetPageWidth() const { return PageWidth; }
    int GetPageHeight() const { return PageHeight; }
    int GetPrintableWidth() const { return PrintableWidth; }
    int GetPrintableHeight() const { return PrintableHeight; }
    // Metrics, page size and printable size from the printer.
    void ReadPrinter();
    // After a change of printer, paper or settings.
    void PrinterChanged() { ReadPrinter(); }

    int PageCount() const { return static_cast<int>(PageList.size()); }
    // Throws EError "List index out of bounds (<Index>)" outside 0 .. PageCount - 1.
    TGeometryPage& Pages(int Index) const;
    // -1 without pages; otherwise the stored index, clamped into the pages (and stored so).
    int GetCurrentIndex();
    TGeometryPage* CurrentPage();
    // Taken only for an index of a page.
    void SetCurrentIndex(int Index);

    // The current page's values; those of a new page without pages.
    std::uint8_t GetViewPlane();
    std::uint8_t GetOrientation();
    std::string GetScaleText();
    bool GetFit();
    // On every page by ApplyToAll, else on the current page. A rejected scale text changes no page.
    void SetViewPlane(std::uint8_t Value);
    void SetOrientation(std::uint8_t Value);
    void SetScaleText(const std::string& Text);
    void SetFit(bool Value);
    void ResetOffsets();

    TGeometryPage& AddPage(std::unique_ptr<TGeometryPage> Page);
    TGeometryPage& NewPage();
    void ClearPages();
    // One page with every printable entity, or (Split) one page for each of them, in list order.
    void Paginate(TGeometryList& List, bool Split);

    // On the current page; nothing without one.
    void DrawPreview(IGraphics& Graphics);
    void BeginOffsetDrag(IGraphics& Graphics, int X, int Y);
    void DragOffset(IGraphics& Graphics, int X, int Y);
    void EndOffsetDrag(IGraphics& Graphics, int X, int Y);

    // One job of the pages First to Last, each on a sheet of its own, nothing drawn when Last < First;
    // nothing at all while the printer is busy. An empty title becomes the program name +
    // " - Plotter". The job ends also when drawing fails.
    void PrintRange(int First, int Last, const std::string& Title);
    void PrintAll(const std::string& Title) { PrintRange(0, PageCount() - 1, Title); }
    // Nothing without a current page.
    void PrintCurrent(const std::string& Title);

private:
    template <class F>
    void ForPages(F&& Action);

    IPlotterPrinter& Printer;
    std::vector<std::unique_ptr<TGeometryPage>> PageList;
    int CurrentIndex = 0;
    TPrinterMetrics Metrics;
    int PageWidth = 0;
    int PageHeight = 0;
    int PrintableWidth = 0;
    int PrintableHeight = 0;
};

}  // namespace sarnova
