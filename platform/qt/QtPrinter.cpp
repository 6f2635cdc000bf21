#include "platform/qt/QtPrinter.h"

#include <QPainter>
#include <QPrinter>
#include <QString>

#include "foundation/Errors.h"
#include "platform/qt/QtCanvas.h"

namespace sarnova {

QPrinter& GetPrinter() {
    static QPrinter Printer(QPrinter::HighResolution);
    return Printer;
}

void PrintJob(QPrinter& Printer, const std::string& Title,
              const std::function<void(ICanvas& Canvas, int Width, int Height)>& Draw) {
    if (Printer.printerState() == QPrinter::Active) return;
    Printer.setDocName(QString::fromStdString(Title));
    QPainter Painter;
    if (!Painter.begin(&Printer)) throw EError("The printer could not start the print job");
    // The job ends whatever the drawing does.
    struct TEndJob {
        QPainter& Painter;
        ~TEndJob() { Painter.end(); }
    } End{Painter};
    TQtCanvas Canvas(Painter);
    Draw(Canvas, Printer.width(), Printer.height());
}

}  // namespace sarnova
