// The base classes of the program's own controls: a theme server that draws control parts in the
// look of the application's style, windowed and graphic controls that own one and report the mouse
// entering and leaving, a control with a sunken border, and a bordered control with two scroll bars,
// each kept by a TScrollBarController that turns scroll requests into clamped positions.
//
// The visual-style service is the widget style: a theme "handle" is the style that draws the bound
// control. When themes are switched off (GThemesEnabled), theme servers fail to open and callers fall
// back to the classic frame drawing of the drawing routines below.
#pragma once
#include <QFrame>
#include <QPointer>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "foundation/Colors.h"

class QPainter;
class QScrollBar;
class QStyle;

namespace sarnova {

enum TBorderStyle { bsNone = 0, bsSingle = 1 };
enum TScrollStyle : std::uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };

// The scroll requests a bar sends to its control.
enum TScrollCode {
    scLineUp = 0,
    scLineDown = 1,
    scPageUp = 2,
    scPageDown = 3,
    scPosition = 4,  // the thumb was released at a position
    scTrack = 5,     // the thumb is being dragged
    scTop = 6,
    scBottom = 7,
    scEndScroll = 8,
};

// Theme part states.
inline constexpr int tsNormal = 0;
inline constexpr int tsHot = 2;
inline constexpr int tsPressed = 3;
inline constexpr int tsDisabled = 4;

// Text flags of TVkThemeServer::DrawText, as bits.
inline constexpr unsigned DT_LEFT = 0x0;
inline constexpr unsigned DT_CENTER = 0x1;
inline constexpr unsigned DT_RIGHT = 0x2;
inline constexpr unsigned DT_VCENTER = 0x4;
inline constexpr unsigned DT_BOTTOM = 0x8;
inline constexpr unsigned DT_SINGLELINE = 0x20;

using TNotifyEvent = std::function<void(QObject* Sender)>;

// The theme classes a theme server can open, by index.
inline constexpr std::array<const char*, 24> ThemeClassNames = {
    "button",  "clock",  "combobox",  "edit",     "explorerbar", "header",   "listview",   "menu",
    "page",    "progress", "rebar",   "scrollbar", "spin",       "startpanel", "status",   "tab",
    "taskband", "taskbar", "toolbar", "tooltip",  "trackbar",    "traynotify", "treeview", "window"};
inline constexpr std::uint8_t tcButton = 0;
inline constexpr std::uint8_t tcComboBox = 2;
inline constexpr std::uint8_t tcEdit = 3;
inline constexpr std::uint8_t tcSpin = 12;

// Whether the application draws with themes. Switched off, every theme server fails to open (for
// good) and the controls draw their classic look.
extern bool GThemesEnabled;

// Draws control parts with the application's style. It opens its theme on first use; a failure to
// open is permanent, and binding afterwards changes nothing.
class TVkThemeServer {
public:
    TVkThemeServer() = default;
    // The same as Bind right after construction.
    TVkThemeServer(QWidget* Control, std::uint8_t ThemeClass);
    ~TVkThemeServer();
    TVkThemeServer(const TVkThemeServer&) = delete;
    TVkThemeServer& operator=(const TVkThemeServer&) = delete;

    // Stores the control and the class, unless the theme was opened or failed already.
    void Bind(QWidget* Control, std::uint8_t ThemeClass);
    // Opens the theme when not yet tried; true while a theme is open and themes are in use.
    bool IsThemed();

    // The drawing calls answer 0 when drawn and -1 when not themed (nothing drawn then).
    // Parts: 0 the whole control (a button face, the drop-down button of a combo box, an edit frame);
    // of the spin class 1 up, 2 down, 3 right and 4 left. States: tsNormal .. tsDisabled.
    int DrawBackground(QPainter& Canvas, int Part, int State, const QRect& Rect, const QRect* ClipRect);
    // The text colour of a part in a state.
    int GetColor(int Part, int State, int Property, TColor& Color);
    // Draws the first CharCount characters of Text (all for -1) in Rect, aligned by the DT_ flags.
    int DrawText(QPainter& Canvas, int Part, int State, const std::string& Text, int CharCount,
                 unsigned TextFlags, unsigned TextFlags2, const QRect& Rect);

    bool GetOpened() const { return Opened; }
    bool GetFailed() const { return Failed; }
    QWidget* GetControl() const { return Control; }
    std::uint8_t GetThemeClass() const { return ThemeClass; }

private:
    void Open();

    QPointer<QStyle> Theme;
    bool Opened = false;
    bool Failed = false;
    QPointer<QWidget> Control;
    std::uint8_t ThemeClass = 0;
};

// What both theme controls add to their base: a theme server of their own and the mouse-enter and
// mouse-leave events.
template <class TBase>
class TVkThemed : public TBase {
public:
    explicit TVkThemed(QWidget* Parent) : TBase(Parent), ThemeServer(std::make_unique<TVkThemeServer>()) {}

    TNotifyEvent OnMouseLeave;
    TNotifyEvent OnMouseEnter;
    TVkThemeServer& GetThemeServer() { return *ThemeServer; }

    virtual void DoMouseLeave() {
        if (OnMouseLeave) OnMouseLeave(this);
    }
    virtual void DoMouseEnter() {
        if (OnMouseEnter) OnMouseEnter(this);
    }

protected:
    void enterEvent(QEnterEvent* Event) override {
        TBase::enterEvent(Event);
        DoMouseEnter();
    }
    void leaveEvent(QEvent* Event) override {
        TBase::leaveEvent(Event);
        DoMouseLeave();
    }

private:
    std::unique_ptr<TVkThemeServer> ThemeServer;
};

// A windowed custom control with a theme server and mouse-enter and mouse-leave events.
class TVkThemeControl : public TVkThemed<QFrame> {
    Q_OBJECT
public:
    explicit TVkThemeControl(QWidget* Parent = nullptr) : TVkThemed(Parent) {}
};

// The graphic-control counterpart, for small controls drawn on their parent's background.
class TVkThemeGraphicControl : public TVkThemed<QWidget> {
    Q_OBJECT
public:
    explicit TVkThemeGraphicControl(QWidget* Parent = nullptr) : TVkThemed(Parent) {}
};

// A themed control with a sunken border (bsSingle, the default) or none. Its window is made when the
// control is first shown (or on HandleNeeded) and made again when the border style is written, which
// runs CreateWnd afresh. DoFirstShow runs once, the first time the control becomes showing.
// Descendants that paint call drawFrame from their paintEvent, or leave the frame to QFrame.
class TVkBorderControl : public TVkThemeControl {
    Q_OBJECT
public:
    explicit TVkBorderControl(QWidget* Parent = nullptr);

    TBorderStyle GetBorderStyle() const { return BorderStyle; }
    // Always makes the window again, also for the value in force.
    void SetBorderStyle(TBorderStyle Value);

    bool HandleAllocated() const { return WindowCreated; }
    // Makes the window when there is none.
    void HandleNeeded();
    // Makes the window again; nothing while there is none.
    void RecreateWnd();
    bool GetFirstShown() const { return FirstShown; }

protected:
    // Makes the window: applies the border. Descendants add their parts and call this first.
    virtual void CreateWnd();
    // Takes down what CreateWnd made, before it runs again.
    virtual void DestroyWnd() {}
    // Work that needs the window and runs once in the control's life.
    virtual void DoFirstShow() {}

    void showEvent(QShowEvent* Event) override;

private:
    TBorderStyle BorderStyle = bsSingle;
    bool FirstShown = false;
    bool WindowCreated = false;
};

// What a window's scroll bar holds: range, page and position, kept as the platform keeps them.
struct TWindowScrollInfo {
    int Min = 0;
    int Max = 100;
    int Page = 0;
    int Pos = 0;
};

// The control that shows a scroll-bar controller's bar (Bar 0 horizontal, 1 vertical): the scroll
// control below, or any other control with bars of its own.
class IScrollBarOwner {
public:
    virtual ~IScrollBarOwner() = default;
    virtual TScrollStyle GetScrollBars() const = 0;
    // Whether the window, and so its bars, exist.
    virtual bool HandleAllocated() const = 0;
    // What the window's bar holds; nullptr without that bar.
    virtual const TWindowScrollInfo* WindowScrollInfo(int Bar) const = 0;
    // Range, page and position at once. DisableNoScroll: a bar that is not needed stays visible and
    // disabled instead of being hidden.
    virtual void SetWindowScrollInfo(int Bar, const TWindowScrollInfo& Info, bool DisableNoScroll) = 0;
    // The position alone; the bar keeps it inside its range.
    virtual void SetWindowScrollPos(int Bar, int Position) = 0;
};

// One scroll bar of a scrolling control: its range, page and position as the control keeps them, sent
// to the window's bar whenever they are written and the bar is shown. Position writes are clamped to
// Min .. Max - PageSize + 1, the upper bound last.
class TScrollBarController {
public:
    TScrollBarController(IScrollBarOwner* Owner, std::uint8_t Kind);

    // 0 for the horizontal bar, 1 for the vertical one.
    std::uint8_t GetKind() const { return Kind; }
    // Whether the owner's ScrollBars show this bar.
    bool IsActive() const;

    int GetPosition() const { return Position; }
    // Ignored while the bar is not active.
    void SetPosition(int Value);
    int GetMin() const { return Min; }
    void SetMin(int Value);
    int GetMax() const { return Max; }
    void SetMax(int Value);
    int GetPageSize() const { return PageSize; }
    void SetPageSize(int Value);
    // True: a bar that is not needed stays visible and disabled; false: it is hidden.
    bool GetHiddenIfUnnecessary() const { return HiddenIfUnnecessary; }
    void SetHiddenIfUnnecessary(bool Value);
    // PageSize while it is positive, else the stored large change.
    int GetLargeChange() const { return PageSize > 0 ? PageSize : FLargeChange; }
    void SetLargeChange(int Value) { FLargeChange = Value; }
    int SmallChange = 1;

    // Sends range, page and position to the window's bar when active and the window exists.
    void UpdateScrollBar();
    // Takes range, page and position from the window's bar when active; sends nothing back.
    void ReadFromWindow();

private:
    IScrollBarOwner* Owner;
    std::uint8_t Kind;
    int PageSize = 0;
    int Min = 0;
    int Max = 0;
    int Position = 0;
    bool HiddenIfUnnecessary = true;
    int FLargeChange = 10;
};

// A bordered control with a horizontal and a vertical scroll bar. Scroll requests of the bars (or of
// ScrollMessage) move the controllers and call DoScroll and DoEndScroll, which descendants override.
// The bars lie inside the border; the area left for drawing is ClientRect().
class TVkScrollControl : public TVkBorderControl, public IScrollBarOwner {
    Q_OBJECT
public:
    explicit TVkScrollControl(QWidget* Parent = nullptr);
    ~TVkScrollControl() override;

    TScrollBarController& VertScrollBar() { return *FVertScrollBar; }
    TScrollBarController& HorzScrollBar() { return *FHorzScrollBar; }

    TScrollStyle GetScrollBars() const override { return ScrollBars; }
    // Makes the window again when the value changes.
    void SetScrollBars(TScrollStyle Value);

    // (Sender, Bar, Position); Bar 0 horizontal, 1 vertical.
    std::function<void(QObject* Sender, int Bar, int Position)> OnScroll;
    std::function<void(QObject* Sender, int Bar, int Position)> OnEndScroll;

    // A scroll request of bar Bar (0 horizontal, 1 vertical); ThumbPosition is read by scPosition and
    // scTrack only. Unknown codes are ignored.
    void ScrollMessage(int Bar, int Code, int ThumbPosition = 0);

    // Inside the border, without the shown bars.
    QRect ClientRect() const;

    // The window's bar of the given kind (0, 1), or none when the window has no such bar.
    QScrollBar* WindowScrollBar(int Bar) const;
    bool HandleAllocated() const override { return TVkBorderControl::HandleAllocated(); }
    const TWindowScrollInfo* WindowScrollInfo(int Bar) const override;
    void SetWindowScrollInfo(int Bar, const TWindowScrollInfo& Info, bool DisableNoScroll) override;
    void SetWindowScrollPos(int Bar, int Position) override;

protected:
    virtual void DoScroll(int Bar, int Position);
    virtual void DoEndScroll(int Bar, int Position);

    void CreateWnd() override;
    void DestroyWnd() override;
    // Reads both controllers back from the window, the vertical one first.
    void DoFirstShow() override;
    void resizeEvent(QResizeEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    struct TWindowBar;
    void LayoutBars();
    void ShowWindowBar(TWindowBar& Bar);
    void BarAction(int Bar, int Action);

    std::unique_ptr<TScrollBarController> FVertScrollBar;
    std::unique_ptr<TScrollBarController> FHorzScrollBar;
    TScrollStyle ScrollBars = ssBoth;
    std::array<std::unique_ptr<TWindowBar>, 2> Bars;
};

// Drop-down button of a grid cell. State: tsNormal, tsHot, tsPressed, tsDisabled; others draw nothing
// in the classic look. ThemeServer may be none.
void DrawThemedDropDownButton(QPainter& Canvas, const QRect& Rect, int State, TVkThemeServer* ThemeServer);
// Ellipsis ("...") button of a grid cell: three square dots of side max(1, width div 8).
void DrawThemedEllipsisButton(QPainter& Canvas, const QRect& Rect, int State, TVkThemeServer* ThemeServer);
// The dot side of DrawThemedEllipsisButton for a button Width pixels wide.
int EllipsisDotSize(int Width);

}  // namespace sarnova
