#include "views/VkPrinting.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSignalBlocker>
#include <QString>
#include <QStringList>

#include "foundation/Errors.h"
#include "platform/qt/QtCanvas.h"

namespace sarnova {

namespace {

// The sheets a PDF file is offered on.
constexpr QPageSize::PageSizeId PdfSheets[] = {
    QPageSize::A0,     QPageSize::A1,     QPageSize::A2,        QPageSize::A3,      QPageSize::A4,
    QPageSize::A5,     QPageSize::B4,     QPageSize::B5,        QPageSize::Letter,  QPageSize::Legal,
    QPageSize::Ledger, QPageSize::Tabloid, QPageSize::Executive};

// Paper names come in fields of 64 characters, ended early by a zero character.
std::string PaperName(const std::string& Name) {
    std::string Result = Name.substr(0, Name.find('\0'));
    if (Result.size() > 64) Result.resize(64);
    return Result;
}

}  // namespace

// ---- TQtPrinterDevices ----

std::vector<std::string> TQtPrinterDevices::PrinterNames() {
    std::vector<std::string> Names;
    for (const QString& Name : QPrinterInfo::availablePrinterNames()) Names.push_back(Name.toStdString());
    return Names;
}

int TQtPrinterDevices::GetPrinterIndex() {
    return static_cast<int>(QPrinterInfo::availablePrinterNames().indexOf(Printer.printerName()));
}

void TQtPrinterDevices::SetPrinterIndex(int Index) {
    const QStringList Names = QPrinterInfo::availablePrinterNames();
    if (Index >= 0 && Index < Names.size()) Printer.setPrinterName(Names[Index]);
}

int TQtPrinterDevices::GetPaperSize() { return Printer.pageLayout().pageSize().windowsId(); }

void TQtPrinterDevices::SetPaperSize(int Code) {
    const QPageSize::PageSizeId Id = QPageSize::id(Code);
    if (Id != QPageSize::Custom) Printer.setPageSize(QPageSize(Id));
}

std::vector<TPaperSize> TQtPrinterDevices::PaperSizes() {
    QList<QPageSize> Sizes;
    if (Printer.printerName().isEmpty()) {
        for (QPageSize::PageSizeId Id : PdfSheets) Sizes.append(QPageSize(Id));
    } else {
        Sizes = QPrinterInfo::printerInfo(Printer.printerName()).supportedPageSizes();
    }
    std::vector<TPaperSize> Result;
    for (const QPageSize& Size : Sizes) Result.push_back({Size.name().toStdString(), Size.windowsId()});
    return Result;
}

// ---- TQtPlotterPrinter ----

TQtPlotterPrinter::TQtPlotterPrinter(QPrinter& APrinter) : Printer(APrinter) {}

TQtPlotterPrinter::~TQtPlotterPrinter() { EndDoc(); }

bool TQtPlotterPrinter::Printing() const { return Painter != nullptr || Printer.printerState() == QPrinter::Active; }

void TQtPlotterPrinter::SetPortrait() { Printer.setPageOrientation(QPageLayout::Portrait); }

TPrinterDeviceCaps TQtPlotterPrinter::DeviceCaps() {
    const int Resolution = Printer.resolution();
    const QPageLayout Layout = Printer.pageLayout();
    const QRect Full = Layout.fullRectPixels(Resolution);
    const QRect Paint = Layout.paintRectPixels(Resolution);
    TPrinterDeviceCaps Caps;
    Caps.HorzSize = Printer.widthMM();
    Caps.VertSize = Printer.heightMM();
    Caps.LogPixelsX = Printer.logicalDpiX();
    Caps.LogPixelsY = Printer.logicalDpiY();
    Caps.PhysicalWidth = Full.width();
    Caps.PhysicalHeight = Full.height();
    Caps.PhysicalOffsetX = Paint.left();
    Caps.PhysicalOffsetY = Paint.top();
    Caps.PageWidth = Printer.width();
    Caps.PageHeight = Printer.height();
    return Caps;
}

void TQtPlotterPrinter::SetTitle(const std::string& Title) { Printer.setDocName(QString::fromStdString(Title)); }

void TQtPlotterPrinter::BeginDoc() {
    auto NewPainter = std::make_unique<QPainter>();
    if (!NewPainter->begin(&Printer)) throw EError("The printer could not start the print job");
    Painter = std::move(NewPainter);
    PageCanvas = std::make_unique<TQtCanvas>(*Painter);
}

void TQtPlotterPrinter::NewPage() { Printer.newPage(); }

void TQtPlotterPrinter::EndDoc() {
    if (!Painter) return;
    PageCanvas.reset();
    Painter->end();
    Painter.reset();
}

ICanvas& TQtPlotterPrinter::Canvas() {
    if (!PageCanvas) throw EError("The printer has no print job");
    return *PageCanvas;
}

// ---- TVkCustomPrinterComboBox ----

TVkCustomPrinterComboBox::TVkCustomPrinterComboBox(IPrinterDevices& ADevices, QWidget* Parent)
    : QComboBox(Parent), Devices(ADevices) {
    setEditable(false);
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(this, &QComboBox::activated, this, [this](int) { Change(); });
}

void TVkCustomPrinterComboBox::Change() {
    if (OnChange) OnChange(this);
}

void TVkCustomPrinterComboBox::AddSorted(const std::string& Text, int Code) {
    const QString Item = QString::fromStdString(Text);
    int Index = count();
    for (int I = 0; I < count(); ++I)
        if (QString::compare(Item, itemText(I), Qt::CaseInsensitive) < 0) {
            Index = I;
            break;
        }
    insertItem(Index, Item, Code);
}

// ---- TVkPrinterComboBox ----

TVkPrinterComboBox::TVkPrinterComboBox(IPrinterDevices& ADevices, QWidget* Parent)
    : TVkCustomPrinterComboBox(ADevices, Parent) {
    FillItems();
}

void TVkPrinterComboBox::FillItems() {
    const QSignalBlocker Batch(this);
    clear();
    const std::vector<std::string> Names = Devices.PrinterNames();
    for (const std::string& Name : Names) AddSorted(Name, 0);
    const int Selected = Devices.GetPrinterIndex();
    int Found = -1;
    if (Selected >= 0 && Selected < static_cast<int>(Names.size()))
        Found = findText(QString::fromStdString(Names[static_cast<std::size_t>(Selected)]),
                         Qt::MatchExactly | Qt::MatchCaseSensitive);
    setCurrentIndex(Found);
}

void TVkPrinterComboBox::Change() {
    const std::string Name = currentText().toStdString();
    const std::vector<std::string> Names = Devices.PrinterNames();
    for (std::size_t I = 0; I < Names.size(); ++I)
        if (Names[I] == Name) {
            Devices.SetPrinterIndex(static_cast<int>(I));
            break;
        }
    TVkCustomPrinterComboBox::Change();
}

// ---- TVkPageSizeComboBox ----

TVkPageSizeComboBox::TVkPageSizeComboBox(IPrinterDevices& ADevices, QWidget* Parent)
    : TVkCustomPrinterComboBox(ADevices, Parent) {
    FillItems();
}

void TVkPageSizeComboBox::FillItems() {
    Devices.ReselectPrinter();
    const std::vector<TPaperSize> Sizes = Devices.PaperSizes();
    if (Sizes.empty()) return;
    const int Current = GetPaperCode();
    const QSignalBlocker Batch(this);
    clear();
    for (const TPaperSize& Size : Sizes) AddSorted(PaperName(Size.Name), Size.Code);
    int Found = -1;
    for (int I = count() - 1; I >= 0 && Found < 0; --I)
        if (itemData(I).toInt() == Current) Found = I;
    setCurrentIndex(Found);
}

int TVkPageSizeComboBox::GetPaperCode() {
    if (!Devices.HasDeviceSettings()) {
        Devices.ReselectPrinter();
        if (!Devices.HasDeviceSettings()) return -1;
    }
    return Devices.GetPaperSize();
}

void TVkPageSizeComboBox::SetPaperCode(int Code) {
    if (!Devices.HasDeviceSettings()) return;
    Devices.SetPaperSize(Code);
    Devices.ReselectPrinter();
}

void TVkPageSizeComboBox::Change() {
    if (currentIndex() >= 0) SetPaperCode(itemData(currentIndex()).toInt());
    TVkCustomPrinterComboBox::Change();
}

}  // namespace sarnova
