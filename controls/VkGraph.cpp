#include "controls/VkGraph.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>

#include <memory>

#include "foundation/Errors.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtKeys.h"
#include "platform/qt/QtPrinter.h"
#include "platform/qt/QtMenus.h"
#include "controls/VkGraphForm.h"

namespace sarnova {

namespace {

QImage ChartImage(TVkGraphCore& Graph) {
    QImage Image(std::max(1, Graph.GetClientWidth()), std::max(1, Graph.GetClientHeight()), QImage::Format_RGB32);
    QPainter Painter(&Image);
    TQtCanvas Canvas(Painter);
    Graph.DrawTo(Graph.GetClientRect(), Canvas, 1);
    return Image;
}

// The scalable picture: one page of the window's size, 96 pixels to the inch like the screen.
QByteArray ChartPdf(TVkGraphCore& Graph) {
    QBuffer Pdf;
    Pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter Writer(&Pdf);
        Writer.setResolution(96);
        const QSizeF Points(std::max(1, Graph.GetClientWidth()) * 0.75, std::max(1, Graph.GetClientHeight()) * 0.75);
        Writer.setPageSize(QPageSize(Points, QPageSize::Point));
        Writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter Painter(&Writer);
        TQtCanvas Canvas(Painter);
        Graph.DrawTo(Graph.GetClientRect(), Canvas, 1);
    }
    return Pdf.data();
}

class TQtChartClipboard : public IChartClipboard {
public:
    void Place(const TChartClipboardContents& Contents) override {
        auto Data = std::make_unique<QMimeData>();
        if (Contents.Picture != nullptr) {
            Data->setImageData(ChartImage(*Contents.Picture));
            Data->setData("application/pdf", ChartPdf(*Contents.Picture));
        }
        if (Contents.HasText) Data->setText(QString::fromStdString(Contents.Text));
        if (!Contents.ChartFormat.empty())
            Data->setData(ChartClipboardMimeType, QByteArray::fromStdString(Contents.ChartFormat));
        QApplication::clipboard()->setMimeData(Data.release());
    }
    bool HasChartFormat() const override {
        const QMimeData* Data = QApplication::clipboard()->mimeData();
        return Data != nullptr && Data->hasFormat(ChartClipboardMimeType);
    }
    std::string GetChartFormat() const override {
        const QMimeData* Data = QApplication::clipboard()->mimeData();
        return Data != nullptr ? Data->data(ChartClipboardMimeType).toStdString() : std::string();
    }
    void SetText(const std::string& Text) override { QApplication::clipboard()->setText(QString::fromStdString(Text)); }
};

}  // namespace

IChartClipboard& QtChartClipboard() {
    static TQtChartClipboard Instance;
    return Instance;
}

TVkGraph::TVkGraph(QWidget* Parent) : TVkBorderControl(Parent) {
    resize(200, 160);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    UpdateClientSize();
}

// The block goes off the desktop clipboard here: the base's destructor would ask its own clipboard.
TVkGraph::~TVkGraph() { ReleaseChartFormat(); }

void TVkGraph::Loaded() {
    LoadedDone = true;
    TVkGraphCore::Loaded();
}

void TVkGraph::DoFirstShow() {
    if (!LoadedDone) Loaded();
}

void TVkGraph::UpdateClientSize() {
    const QRect R = contentsRect();
    SetClientSize(R.width(), R.height());
}

void TVkGraph::resizeEvent(QResizeEvent* Event) {
    TVkBorderControl::resizeEvent(Event);
    UpdateClientSize();
}

QImage TVkGraph::RenderImage() {
    UpdateClientSize();
    return ChartImage(*this);
}

void TVkGraph::paintEvent(QPaintEvent* Event) {
    TVkBorderControl::paintEvent(Event);
    UpdateClientSize();
    // Drawn off-screen first, so that the modes' frequent redraws never flicker.
    QImage Image(std::max(1, GetClientWidth()), std::max(1, GetClientHeight()), QImage::Format_RGB32);
    {
        QPainter Painter(&Image);
        TQtCanvas Canvas(Painter);
        // An error is shown rather than thrown out of the paint event.
        RunMenuCommand([this, &Canvas] { PaintTo(Canvas); });
        if (GetZoomBandVisible()) {
            // The band inverts what lies under its dotted outline.
            const TRect& B = GetZoomBand();
            Painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
            Painter.setPen(QPen(Qt::black, 0, Qt::DotLine));
            Painter.setBrush(Qt::NoBrush);
            Painter.drawRect(QRect(QPoint(B.Left, B.Top), QPoint(B.Right, B.Bottom)).normalized());
        }
    }
    QPainter Painter(this);
    Painter.drawImage(contentsRect().topLeft(), Image);
}

void TVkGraph::mousePressEvent(QMouseEvent* Event) {
    TMouseButton Button;
    if (!QtMouseButton(Event->button(), Button)) return;
    const QPoint P = Event->position().toPoint() - contentsRect().topLeft();
    MouseDown(Button, QtShiftState(Event->modifiers(), Event->buttons()), P.x(), P.y());
}

void TVkGraph::mouseMoveEvent(QMouseEvent* Event) {
    const QPoint P = Event->position().toPoint() - contentsRect().topLeft();
    MouseMove(QtShiftState(Event->modifiers(), Event->buttons()), P.x(), P.y());
}

void TVkGraph::mouseReleaseEvent(QMouseEvent* Event) {
    TMouseButton Button;
    if (!QtMouseButton(Event->button(), Button)) return;
    const QPoint P = Event->position().toPoint() - contentsRect().topLeft();
    MouseUp(Button, QtShiftState(Event->modifiers(), Event->buttons()), P.x(), P.y());
}

void TVkGraph::contextMenuEvent(QContextMenuEvent* Event) {
    // A menu opened during a drag would swallow the release that ends it.
    if (GetPopupMenu() == nullptr || GetDragging()) {
        TVkBorderControl::contextMenuEvent(Event);
        return;
    }
    UpdatePopupMenu();
    QMenu Menu(this);
    TMenuItem& Root = *GetPopupMenu();
    for (int I = 0; I < Root.Count(); ++I) Menu.addAction(CreateMenuItemAction(Menu, Root.Items(I)));
    Menu.exec(Event->globalPos());
}

void TVkGraph::TakeFocus() {
    if (!hasFocus()) setFocus(Qt::MouseFocusReason);
}

void TVkGraph::SetCursor(TCursor Value) {
    TVkGraphCore::SetCursor(Value);
    Qt::CursorShape Shape = Qt::ArrowCursor;
    switch (Value) {
        case crGraphPan: Shape = Qt::OpenHandCursor; break;
        case crGraphZoom: Shape = Qt::CrossCursor; break;
        case crGraphOverPoint: Shape = Qt::PointingHandCursor; break;
        case crGraphMoveX: Shape = Qt::SizeHorCursor; break;
        case crGraphMoveY: Shape = Qt::SizeVerCursor; break;
        case crHourGlass: Shape = Qt::WaitCursor; break;
        default: break;
    }
    setCursor(QCursor(Shape));
}

void TVkGraph::ShowProperties() {
    TVkGraphForm Form(nullptr);
    Form.SetGraph(this);
    Form.exec();
}

void TVkGraph::ExecutePrint() {
    QPrintDialog Dialog(&GetPrinter(), this);
    if (Dialog.exec() == QDialog::Accepted) Print();
}

void TVkGraph::ExecutePrinterSetup() {
    QPageSetupDialog Dialog(&GetPrinter(), this);
    Dialog.exec();
}

void TVkGraph::Print() { Print(GetPrinter()); }

void TVkGraph::Print(QPrinter& Printer) {
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    struct TRestoreCursor {
        ~TRestoreCursor() { QGuiApplication::restoreOverrideCursor(); }
    } Restore;
    UpdateClientSize();
    PrintJob(Printer, (QGuiApplication::applicationDisplayName() + " - Graph").toStdString(),
             [this](ICanvas& Canvas, int Width, int Height) { PrintTo(Canvas, Width, Height); });
}

}  // namespace sarnova
