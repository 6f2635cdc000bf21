// Printer choice: the printer and paper-size drop-down lists of the scale-printing toolbar, the
// platform's printers as those lists see them, and the program's printer as the scale-printing engine
// drives it (a paper printer or a PDF file).
#pragma once
#include <QComboBox>

#include <memory>
#include <string>
#include <vector>

#include "controls/VkControls.h"
#include "views/GeometryPlotter.h"

class QPainter;
class QPrinter;

namespace sarnova {

class TQtCanvas;

// One paper size a printer offers: its name and the platform's paper code.
struct TPaperSize {
    std::string Name;
    int Code = 0;
};

// The platform's printers as the printer and paper-size lists see them. The GUI serves the program's
// printer; tests script their own.
class IPrinterDevices {
public:
    virtual ~IPrinterDevices() = default;
    virtual std::vector<std::string> PrinterNames() = 0;
    // The selected printer's index in PrinterNames; -1 for none.
    virtual int GetPrinterIndex() = 0;
    virtual void SetPrinterIndex(int Index) = 0;
    // Whether the selected printer has device settings (its paper size among them).
    virtual bool HasDeviceSettings() = 0;
    // The paper-size field of the device settings.
    virtual int GetPaperSize() = 0;
    virtual void SetPaperSize(int Code) = 0;
    // Selects the selected printer again, so that changed device settings take effect.
    virtual void ReselectPrinter() = 0;
    // The paper sizes the selected printer's device offers; none when it reports none.
    virtual std::vector<TPaperSize> PaperSizes() = 0;
};

// The desktop's printers on a QPrinter. Without a printer of the desktop (output to a PDF file) the
// device offers the usual sheet sizes. Paper codes are the platform's (DMPAPER) numbers.
class TQtPrinterDevices : public IPrinterDevices {
public:
    explicit TQtPrinterDevices(QPrinter& Printer) : Printer(Printer) {}

    std::vector<std::string> PrinterNames() override;
    int GetPrinterIndex() override;
    void SetPrinterIndex(int Index) override;
    bool HasDeviceSettings() override { return true; }
    int GetPaperSize() override;
    void SetPaperSize(int Code) override;
    // A QPrinter takes its settings at once.
    void ReselectPrinter() override {}
    std::vector<TPaperSize> PaperSizes() override;

private:
    QPrinter& Printer;
};

// A QPrinter as scale printing uses it: device sizes from its page layout, one painter per job.
class TQtPlotterPrinter : public IPlotterPrinter {
public:
    explicit TQtPlotterPrinter(QPrinter& Printer);
    ~TQtPlotterPrinter() override;

    QPrinter& GetQPrinter() const { return Printer; }
    bool Printing() const override;
    void SetPortrait() override;
    TPrinterDeviceCaps DeviceCaps() override;
    void SetTitle(const std::string& Title) override;
    // Throws EError "The printer could not start the print job" when the job cannot begin.
    void BeginDoc() override;
    void NewPage() override;
    void EndDoc() override;
    // Only between BeginDoc and EndDoc.
    ICanvas& Canvas() override;

private:
    QPrinter& Printer;
    std::unique_ptr<QPainter> Painter;
    std::unique_ptr<TQtCanvas> PageCanvas;
};

// A sorted drop-down list (no free text) of a printer property. Items keep a number as their data.
class TVkCustomPrinterComboBox : public QComboBox {
    Q_OBJECT
public:
    // Devices must outlive the box.
    explicit TVkCustomPrinterComboBox(IPrinterDevices& Devices, QWidget* Parent = nullptr);

    virtual void FillItems() = 0;
    virtual void Refresh() { FillItems(); }
    // What a choice of the user runs; the base fires OnChange.
    virtual void Change();
    TNotifyEvent OnChange;

protected:
    // Inserts Text at its sorted place (case-insensitive) with Code as its data.
    void AddSorted(const std::string& Text, int Code);

    IPrinterDevices& Devices;
};

class TVkPrinterComboBox : public TVkCustomPrinterComboBox {
    Q_OBJECT
public:
    // Filled at once.
    explicit TVkPrinterComboBox(IPrinterDevices& Devices, QWidget* Parent = nullptr);

    // Every printer's name; the selected printer's name selected (exact comparison), none when no name
    // matches.
    void FillItems() override;
    // Selects the printer of the chosen name, then OnChange.
    void Change() override;
};

class TVkPageSizeComboBox : public TVkCustomPrinterComboBox {
    Q_OBJECT
public:
    // Filled at once.
    explicit TVkPageSizeComboBox(IPrinterDevices& Devices, QWidget* Parent = nullptr);

    // The selected printer's paper sizes with their codes; the last one of the current code selected,
    // none when none has it. A device that reports no sizes leaves the list as it was.
    void FillItems() override;
    // The selected printer's paper code; -1 when it has no device settings.
    int GetPaperCode();
    // Ignored for a printer without device settings.
    void SetPaperCode(int Code);
    // The chosen size becomes the printer's, then OnChange.
    void Change() override;
};

}  // namespace sarnova
