// The GDI view control: a bordered, scrollable window that shows world geometry with 2-D drawing (the
// camera, drawing target and mouse modes of TViewWinAPICore) and prints it. It paints through the
// platform canvas into an off-screen picture, so that a rubber band can be drawn over the last picture
// and taken away again without redrawing the model.
#pragma once
#include <QImage>

#include <functional>
#include <string>

#include "controls/VkControls.h"
#include "views/ViewWinAPICore.h"

class QPrinter;

namespace sarnova {

class TViewWinAPI : public TVkScrollControl, public TViewWinAPICore {
    Q_OBJECT
public:
    explicit TViewWinAPI(QWidget* Parent = nullptr);
    ~TViewWinAPI() override;

    // One page with what OnRedraw draws, on the program's printer; nothing while the printer is busy.
    // An empty title becomes the program name + " - Viewport". The job ends also when drawing fails.
    void Print(const std::string& Title = "");
    void Print(const std::string& Title, QPrinter& Printer);

    // After the control changed its size (the owner usually zooms to all then).
    std::function<void(void* Sender)> OnResize;

    int ClientWidth() const override;
    int ClientHeight() const override;
    int ControlHeight() const override { return height(); }

    // The picture the control shows now, without the rubber band.
    const QImage& GetFrame() const { return Frame; }

protected:
    void Invalidate() override;
    void RubberBandChanged() override { update(); }
    void SetCursor(TCursor Value) override;
    void ScrollBarsChanged() override;
    // The bars work on the range 0 .. 20000.
    void DoFirstShow() override;
    // The bars move the window; the scroll control's own events are not fired.
    void DoScroll(int Bar, int Position) override;
    void DoEndScroll(int Bar, int Position) override;

    void paintEvent(QPaintEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void wheelEvent(QWheelEvent* Event) override;

private:
    TPoint ClientPixel(const QPointF& Position) const;

    QImage Frame;
    bool FrameStale = true;
    // A failed paint was reported; the next failures stay quiet until a paint succeeds.
    bool PaintFailed = false;
};

}  // namespace sarnova
