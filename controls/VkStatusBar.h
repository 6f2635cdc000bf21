// The main window's status bar: a row of panels drawn by the bar itself, each with its own font and
// colour, a grayed look, a progress bar inside, and its own hint, popup menu, click and double click.
#pragma once
#include <QFont>
#include <QMenu>
#include <QPointer>
#include <QProgressBar>
#include <QStatusBar>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "document/FormatGrid.h"
#include "foundation/Colors.h"
#include "controls/VkControls.h"

namespace sarnova {

class TVkStatusBar;
class TVkStatusPanel;
class TVkStatusPanels;

enum TStatusPanelBevel : std::uint8_t { pbNone, pbLowered, pbRaised };
enum TStatusPanelStyle : std::uint8_t { psText, psOwnerDraw };

// (the bar, the panel's index, the panel)
using TVkStatusPanelClick = std::function<void(QObject* Sender, int AIndex, TVkStatusPanel* APanel)>;

// Panels hold at most this much text for drawing.
inline constexpr int StatusPanelTextLimit = 255;

class TVkStatusPanel {
public:
    // Made by the bar's panel collection; takes the bar's colour.
    explicit TVkStatusPanel(TVkStatusPanels& Collection);
    virtual ~TVkStatusPanel() = default;
    TVkStatusPanel(const TVkStatusPanel&) = delete;
    TVkStatusPanel& operator=(const TVkStatusPanel&) = delete;

    int GetIndex() const;
    TVkStatusBar* GetStatusBar() const;

    const std::string& GetText() const { return Text; }
    // Redraws the panel at once.
    void SetText(const std::string& Value);
    int GetWidth() const { return Width; }
    void SetWidth(int Value);
    TAlignment GetAlignment() const { return Alignment; }
    void SetAlignment(TAlignment Value);
    TStatusPanelBevel GetBevel() const { return Bevel; }
    void SetBevel(TStatusPanelBevel Value);
    TStatusPanelStyle GetStyle() const { return Style; }
    void SetStyle(TStatusPanelStyle Value);

    // With ParentFont the panel's font first takes the bar's (ParentFont stays set).
    const QFont& GetFont();
    // Clears ParentFont.
    void SetFont(const QFont& Value);
    // The bar's colour while ParentColor is set.
    TColor GetColor() const;
    // A different colour clears ParentColor.
    void SetColor(TColor Value);
    bool GetParentColor() const { return ParentColor; }
    void SetParentColor(bool Value);
    bool GetParentFont() const { return ParentFont; }
    void SetParentFont(bool Value);
    bool GetGrayed() const { return Grayed; }
    void SetGrayed(bool Value);

    std::string Hint;
    QMenu* GetPopupMenu() const { return PopupMenu; }
    void SetPopupMenu(QMenu* Value) { PopupMenu = Value; }
    QProgressBar* GetProgressBar() const { return ProgressBar; }
    // Taken only when it is a child of this panel's bar that no panel holds yet; nullptr releases it.
    void SetProgressBar(QProgressBar* Value);

    TVkStatusPanelClick OnClick;
    TVkStatusPanelClick OnDblClick;

    // Copies every property, ParentColor and ParentFont after the font and colour.
    void Assign(const TVkStatusPanel& Source);

    // The panel's part of the bar, in the bar's pixels.
    QRect PanelRect() const;
    void Redraw();
    // Widens the panel to its text's width + 8 pixels; never narrows it.
    void FitText();
    void DoClick();
    void DoDblClick();

    virtual void Draw(const QRect& R, QPainter& Canvas);

private:
    void Changed();

    TVkStatusPanels& Collection;
    std::string Text;
    int Width = 50;
    TAlignment Alignment = taLeftJustify;
    TStatusPanelBevel Bevel = pbLowered;
    TStatusPanelStyle Style = psOwnerDraw;
    QFont Font;
    TColor Color;
    bool ParentColor = true;
    bool ParentFont = true;
    bool Grayed = false;
    // Forgotten by themselves when the menu or the progress bar is destroyed.
    QPointer<QMenu> PopupMenu;
    QPointer<QProgressBar> ProgressBar;
};

// The bar's panels, in order.
class TVkStatusPanels {
public:
    explicit TVkStatusPanels(TVkStatusBar& Bar) : Bar(Bar) {}

    TVkStatusPanel* Add();
    int Count() const { return static_cast<int>(Items.size()); }
    // Throws EError "List index out of bounds (Index)" outside 0 .. Count - 1.
    TVkStatusPanel* Item(int Index) const;
    void Delete(int Index);
    void Clear();
    int IndexOf(const TVkStatusPanel* Panel) const;
    TVkStatusBar& GetBar() const { return Bar; }

private:
    TVkStatusBar& Bar;
    std::vector<std::unique_ptr<TVkStatusPanel>> Items;
};

class TVkStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit TVkStatusBar(QWidget* Parent = nullptr);
    ~TVkStatusBar() override;

    TVkStatusPanels& Panels() { return *FPanels; }
    TVkStatusPanel* GetHotPanel() const { return HotPanel; }
    // The first panel whose rectangle holds Point, or nullptr.
    TVkStatusPanel* PanelAtPoint(const QPoint& Point) const;
    // Every panel made wide enough for its text.
    void FitPanels();
    // After the panels are set up.
    void Loaded() { FitPanels(); }
    void DrawPanel(TVkStatusPanel& Panel, const QRect& Rect);

    TColor GetColor() const { return Color; }
    void SetColor(TColor Value);
    // The bar's hint, used where the panel under the mouse has none.
    std::string Hint;
    bool ShowHint = true;
    QMenu* GetPopupMenu() const { return PopupMenu; }
    void SetPopupMenu(QMenu* Value) { PopupMenu = Value; }
    // The menu a right click shows: the hot panel's, else the bar's.
    QMenu* CurrentPopupMenu() const;
    // The hint shown now: the hot panel's when it has one, else the bar's.
    std::string CurrentHint() const;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;

    // The rectangle of part Index, as the bar lays its parts out.
    QRect PartRect(int Index) const;
    void PanelsChanged();
    // A panel is going away; the bar forgets it.
    void PanelRemoved(TVkStatusPanel* Panel);

protected:
    void paintEvent(QPaintEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void mouseDoubleClickEvent(QMouseEvent* Event) override;
    void contextMenuEvent(QContextMenuEvent* Event) override;
    bool event(QEvent* Event) override;

private:
    std::unique_ptr<TVkStatusPanels> FPanels;
    TVkStatusPanel* HotPanel = nullptr;
    TColor Color = clBtnFace;
    QPointer<QMenu> PopupMenu;
    bool LeftPressed = false;
};

}  // namespace sarnova
