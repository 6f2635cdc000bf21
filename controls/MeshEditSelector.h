// A small picture of a control-point mesh: the U lines (vertical, counted from the left) and the V
// lines (horizontal, counted from the bottom). In the U or V view the selected line is drawn thick
// and a click reports the line nearest to it and where a new line would go.
#pragma once
#include <cstdint>
#include <functional>

#include "foundation/Colors.h"
#include "controls/VkControls.h"

namespace sarnova {

enum TMeshEditSelectorView : std::uint8_t { svUV, svU, svV };

// The drawing rectangle of the selector, right and bottom exclusive.
struct TMeshSelectorRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

// Where line Index of Count lies between Start and Start + Extent: evenly spread, a single line in
// the middle.
int MeshSelectorLinePosition(int Start, int Extent, int Index, int Count);
// The line a click at (X, Y) picks (GridIndex) and the index a line inserted there gets
// (InsertIndex). False in svUV, and when the view's count is below 2 or the rectangle is empty in that
// direction: no line can be told from another then.
bool MeshSelectorHit(TMeshEditSelectorView View, const TMeshSelectorRect& Rect, int UCount, int VCount, int X,
                     int Y, int& GridIndex, int& InsertIndex);

class TMeshEditSelector : public TVkBorderControl {
    Q_OBJECT
public:
    explicit TMeshEditSelector(QWidget* Parent = nullptr);

    TColor GetGridColor() const { return GridColor; }
    void SetGridColor(TColor Value);
    int GetGridUCount() const { return GridUCount; }
    void SetGridUCount(int Value);
    int GetGridVCount() const { return GridVCount; }
    void SetGridVCount(int Value);
    // Taken only within 0 .. count - 1.
    int GetGridUSelected() const { return GridUSelected; }
    void SetGridUSelected(int Value);
    int GetGridVSelected() const { return GridVSelected; }
    void SetGridVSelected(int Value);
    TMeshEditSelectorView GetGridView() const { return GridView; }
    void SetGridView(TMeshEditSelectorView Value);
    TColor GetColor() const { return Color; }
    void SetColor(TColor Value);

    // The client area inset by 20 pixels, as the last paint laid it out.
    TMeshSelectorRect GetDrawRect() const { return DrawRect; }
    // The drawing rectangle for the control's present size.
    TMeshSelectorRect ComputeDrawRect() const;

    // (Sender, view, the line picked, the index a new line would take)
    std::function<void(QObject* Sender, TMeshEditSelectorView GridDirection, int GridIndex, int InsertIndex)>
        OnMeshSelect;

protected:
    void paintEvent(QPaintEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;

private:
    TMeshSelectorRect DrawRect;
    TMeshEditSelectorView GridView = svUV;
    int GridUCount = 4;
    int GridVCount = 4;
    int GridUSelected = 0;
    int GridVSelected = 0;
    TColor GridColor = clBlack;
    TColor Color = clWhite;
};

}  // namespace sarnova
