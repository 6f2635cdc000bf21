#include "controls/MeshEditSelector.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

#include "foundation/NumberText.h"
#include "platform/qt/QtCanvas.h"

namespace sarnova {

int MeshSelectorLinePosition(int Start, int Extent, int Index, int Count) {
    if (Count == 1) return Start + Extent / 2;
    return Start + Index * Extent / (Count - 1);
}

namespace {

// The integer nearest to V (halves to the even one), kept within Low .. High. V is first held to a
// range the integers can hold.
int NearestWithin(double V, int Low, int High) {
    return std::clamp(RoundToInteger(std::clamp(V, -1e9, 1e9)), Low, High);
}

}  // namespace

bool MeshSelectorHit(TMeshEditSelectorView View, const TMeshSelectorRect& Rect, int UCount, int VCount, int X,
                     int Y, int& GridIndex, int& InsertIndex) {
    if (View == svU) {
        if (UCount < 2 || Rect.Right <= Rect.Left) return false;
        const double S = static_cast<double>(Rect.Right - Rect.Left) / (UCount - 1);
        const double D = (X - Rect.Left) / S;
        GridIndex = NearestWithin(D + 0.5, 0, UCount - 1);
        InsertIndex = std::clamp(NearestWithin(D, -1, UCount) + 1, 1, UCount - 1);
        return true;
    }
    if (View == svV) {
        if (VCount < 2 || Rect.Bottom <= Rect.Top) return false;
        const double S = static_cast<double>(Rect.Bottom - Rect.Top) / (VCount - 1);
        const double D = (Y - Rect.Top) / S;
        GridIndex = std::clamp(VCount - 1 - NearestWithin(D + 0.5, -1, VCount), 0, VCount - 1);
        InsertIndex = std::clamp(VCount - 1 - NearestWithin(D, -1, VCount), 1, VCount - 1);
        return true;
    }
    return false;
}

TMeshEditSelector::TMeshEditSelector(QWidget* Parent) : TVkBorderControl(Parent) { resize(80, 80); }

void TMeshEditSelector::SetGridColor(TColor Value) {
    GridColor = Value;
    update();
}

void TMeshEditSelector::SetGridUCount(int Value) {
    GridUCount = Value;
    update();
}

void TMeshEditSelector::SetGridVCount(int Value) {
    GridVCount = Value;
    update();
}

void TMeshEditSelector::SetGridUSelected(int Value) {
    if (Value < 0 || Value >= GridUCount) return;
    GridUSelected = Value;
    update();
}

void TMeshEditSelector::SetGridVSelected(int Value) {
    if (Value < 0 || Value >= GridVCount) return;
    GridVSelected = Value;
    update();
}

void TMeshEditSelector::SetGridView(TMeshEditSelectorView Value) {
    GridView = Value;
    update();
}

void TMeshEditSelector::SetColor(TColor Value) {
    Color = Value;
    update();
}

TMeshSelectorRect TMeshEditSelector::ComputeDrawRect() const {
    const QRect Client = contentsRect();
    return {Client.left() + 20, Client.top() + 20, Client.left() + Client.width() - 20,
            Client.top() + Client.height() - 20};
}

void TMeshEditSelector::paintEvent(QPaintEvent* Event) {
    TVkBorderControl::paintEvent(Event);
    QPainter Canvas(this);
    Canvas.fillRect(contentsRect(), ColorToQColor(Color));
    DrawRect = ComputeDrawRect();
    const int W = DrawRect.Right - DrawRect.Left;
    const int H = DrawRect.Bottom - DrawRect.Top;
    const QColor Line = ColorToQColor(GridColor);
    const auto VLine = [&](int X, int Width) {
        Canvas.setPen(QPen(Line, Width));
        Canvas.drawLine(X, DrawRect.Top, X, DrawRect.Bottom);
    };
    const auto HLine = [&](int Y, int Width) {
        Canvas.setPen(QPen(Line, Width));
        Canvas.drawLine(DrawRect.Left, Y, DrawRect.Right, Y);
    };
    if (GridView == svUV || GridView == svU) {
        for (int I = 0; I < GridUCount; ++I) VLine(MeshSelectorLinePosition(DrawRect.Left, W, I, GridUCount), 1);
        if (GridView == svU) VLine(MeshSelectorLinePosition(DrawRect.Left, W, GridUSelected, GridUCount), 3);
    }
    if (GridView == svUV || GridView == svV) {
        for (int I = 0; I < GridVCount; ++I) HLine(MeshSelectorLinePosition(DrawRect.Top, H, I, GridVCount), 1);
        // V lines count from the bottom.
        if (GridView == svV)
            HLine(MeshSelectorLinePosition(DrawRect.Top, H, GridVCount - GridVSelected - 1, GridVCount), 3);
    }
}

void TMeshEditSelector::mousePressEvent(QMouseEvent* Event) {
    const QPoint P = Event->position().toPoint();
    DrawRect = ComputeDrawRect();
    int GridIndex = 0;
    int InsertIndex = 0;
    if (!MeshSelectorHit(GridView, DrawRect, GridUCount, GridVCount, P.x(), P.y(), GridIndex, InsertIndex)) return;
    if (OnMeshSelect) OnMeshSelect(this, GridView, GridIndex, InsertIndex);
}

}  // namespace sarnova
