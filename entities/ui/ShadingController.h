// The shading controller: a vertical colour scale for a range of values with two markers, the
// clipping limits, that the user drags to narrow the values the colours span. The pressure-field
// frame chooses its colour range with it.
#pragma once
#include <QRect>

#include "entities/ShadingControllerScale.h"
#include "controls/VkControls.h"

namespace sarnova {

class TVkShadingController : public TVkBorderControl {
    Q_OBJECT
public:
    // 80 x 80 pixels, the scale -100 to 100 clipped at its ends, linear, ciMono.
    explicit TVkShadingController(QWidget* Parent = nullptr);

    double GetMin() const { return Scale.Min; }
    double GetMax() const { return Scale.Max; }
    double GetClippingMin() const { return Scale.ClippingMin; }
    double GetClippingMax() const { return Scale.ClippingMax; }
    TShadingMethod GetShadingMethod() const { return Scale.Method; }
    TColorInterpolationMode GetShadingModel() const { return Scale.Model; }
    // Min and Max reset both clipping limits to the full scale; the clipping limits are clamped and
    // stored when they change. None of the setters fires OnChanging or OnChanged.
    void SetMin(double Value);
    void SetMax(double Value);
    void SetClippingMin(double Value);
    void SetClippingMax(double Value);
    // A different method also resets the clipping limits.
    void SetShadingMethod(TShadingMethod Value);
    void SetShadingModel(TColorInterpolationMode Value);

    // Through the rows of the last painting.
    double YToValue(int Y) const { return Scale.YToValue(Y); }
    int ValueToY(double Value) const { return Scale.ValueToY(Value); }
    const TShadingScale& GetScale() const { return Scale; }
    // The markers' hit rectangles, set by painting.
    const QRect& ClippingMaxMarker() const { return MaxMarker; }
    const QRect& ClippingMinMarker() const { return MinMarker; }
    // 0 none, 1 the ClippingMax marker, 2 the ClippingMin marker.
    int GetDragState() const { return DragState; }

    // While a marker is dragged (at the press and every move), and once when it is released.
    TNotifyEvent OnChanging;
    TNotifyEvent OnChanged;

protected:
    void paintEvent(QPaintEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;

private:
    void DragTo(int Y);

    TShadingScale Scale;
    QRect MaxMarker;
    QRect MinMarker;
    int DragState = 0;
};

}  // namespace sarnova
