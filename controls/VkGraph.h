// The chart control placed on forms: a bordered window around the chart (TVkGraphCore) that paints
// it through an off-screen image, feeds it the mouse, shows its popup menu and properties dialog,
// prints it and puts it on the desktop clipboard.
#pragma once
#include <QImage>

#include "controls/VkControls.h"
#include "controls/VkGraphCore.h"

class QPrinter;

namespace sarnova {

// The clipboard MIME type of the chart format.
inline constexpr const char* ChartClipboardMimeType = "application/x-sarnova-chart";

// The desktop clipboard as charts use it: text, a bitmap, a PDF picture and the chart format.
IChartClipboard& QtChartClipboard();

class TVkGraph : public TVkBorderControl, public TVkGraphCore {
    Q_OBJECT
public:
    // 200 x 160 pixels, white, in Arial.
    explicit TVkGraph(QWidget* Parent = nullptr);
    ~TVkGraph() override;

    // Prints on the program's printer, 90 per cent of the page, in a job titled "<application> -
    // Graph". Nothing while the printer is busy. The wait cursor shows meanwhile and goes also when
    // printing fails; printer errors reach the caller.
    void Print();
    void Print(QPrinter& Printer);
    // The chart as the screen shows it, without the mouse modes' marks.
    QImage RenderImage();

    // Loaded runs by itself when the control is first shown, unless the owner ran it before.
    void Loaded() override;

    IChartClipboard& GetClipboard() const override { return QtChartClipboard(); }
    void InvalidateControl() override { update(); }
    void Repaint() override { update(); }
    void TakeFocus() override;
    void ShowProperties() override;
    void ExecutePrint() override;
    void ExecutePrinterSetup() override;

protected:
    void SetCursor(TCursor Value) override;
    void DoFirstShow() override;
    void paintEvent(QPaintEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void contextMenuEvent(QContextMenuEvent* Event) override;

private:
    void UpdateClientSize();
    bool LoadedDone = false;
};

}  // namespace sarnova
