#include "platform/qt/QtPrinter.h"

#include <QPrinter>

namespace sarnova {

QPrinter& GetPrinter() {
    static QPrinter Printer(QPrinter::HighResolution);
    return Printer;
}

}  // namespace sarnova
