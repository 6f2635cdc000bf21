// The numeric input box of forms and frames: a borderless text box with an up/down spin button on its
// right. Besides the arrows, the value changes by dragging the grip between the arrows, by the mouse
// wheel and by the arrow keys; the step is picked from the control's popup menu. Values that a program
// sets while the user types wait until the user pauses. The value is single precision.
#pragma once
#include <QLineEdit>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "controls/VkControls.h"

class QMenu;
class QTimer;

namespace sarnova {

enum TVkSpinType : std::uint8_t { spFloat, spInteger };

// The parts of a spin button, as pressed or hovered.
inline constexpr std::uint8_t sbNone = 0;
inline constexpr std::uint8_t sbUpper = 1;
inline constexpr std::uint8_t sbLower = 2;
inline constexpr std::uint8_t sbGrip = 4;

// ---- Rules of the spin edit that need no window ----

// The text shown for V: spInteger the integer part (towards zero), spFloat fixed with Precision
// decimals and 7 significant digits (scientific from 10^7 on). "." always.
std::string SpinValueText(float V, TVkSpinType SpinType, int Precision);
// A typed text as a value; "." and "," both separate the decimals, blanks around are ignored. False
// for a text that is no number or lies beyond the single-precision range.
bool SpinTextToValue(std::string_view Text, float& Value);
// V kept within Min .. Max; no limits while Min = Max.
float ClampSpinValue(float V, float Min, float Max);
// Whether a spin edit's box takes the typed character C: digits and signs (and for spFloat the
// decimal separators "." and ","), and control characters other than CR. With the editor disabled
// nothing printable and no backspace.
bool IsValidSpinChar(char32_t C, TVkSpinType SpinType, bool EditorEnabled);
// The tag of the increment-menu items to tick for Increment (log10 cut towards zero); false when
// no item can match (a step of 0, a negative one or none at all).
bool IncrementMenuTag(float Increment, int& Tag);
// The part a press at row Y of a button Height rows high hits, and the part hovered at Y.
std::uint8_t SpinButtonPressPart(int Y, int Height, bool EnabledDragging);
std::uint8_t SpinButtonHoverPart(int Y, int Height, bool EnabledDragging);
// Steps of a grip drag: moving up counts positive, whole steps of PixelPerInc from the press.
int SpinDragIncrements(int WrapOffset, int StartY, int CurrentY, int PixelPerInc);

// A small filled triangle centred in Rect, pointing up or down, embossed when not Enabled: the arrow
// glyph of spin buttons and group-box captions.
void DrawArrowGlyph(QPainter& Canvas, const QRect& Rect, bool Up, bool Enabled, const QPalette& Palette);

// ---- Controls ----

// The up/down button. A press on an arrow clicks it at the release and, held, again after 400 ms and
// then every 100 ms; a press on the grip between the arrows reports whole steps while the mouse moves.
class TVkSpinButton : public TVkThemeGraphicControl {
    Q_OBJECT
public:
    explicit TVkSpinButton(QWidget* Parent = nullptr);

    int GetPixelPerInc() const { return PixelPerInc; }
    // Only values above 0 are taken.
    void SetPixelPerInc(int Value);
    bool GetEnabledDragging() const { return EnabledDragging; }
    void SetEnabledDragging(bool Value);
    QWidget* GetFocusControl() const { return FocusControl; }
    void SetFocusControl(QWidget* Value) { FocusControl = Value; }
    bool RepeatClicks = true;

    TNotifyEvent OnUpClick;
    TNotifyEvent OnDownClick;
    // (Sender, steps counted from the press)
    std::function<void(QObject* Sender, int Inc)> OnDragIncrement;
    // Left-button press and release, after the button's own handling of the press and release.
    TNotifyEvent OnMouseDown;
    TNotifyEvent OnMouseUp;

    std::uint8_t GetHotPart() const { return HotPart; }
    std::uint8_t GetPressedPart() const { return PressedPart; }
    // None before the first arrow press.
    QTimer* GetRepeatTimer() const { return RepeatTimer; }

    // Fires the click of the pressed arrow.
    void ClickPressed();
    // A tick of the repeat timer: from now on every 100 ms; clicks again while an arrow is held. An
    // error of the click stops the timer and passes on.
    void RepeatTimerTick();

    void DoMouseLeave() override;

protected:
    void paintEvent(QPaintEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;

private:
    void DrawArrow(QPainter& Canvas, const QRect& Rect, std::uint8_t Part);
    void DragMove(const QPoint& GlobalPosition);

    int PixelPerInc = 1;
    int WrapOffset = 0;
    int DragStartX = 0;
    int DragStartY = 0;
    QTimer* RepeatTimer = nullptr;
    std::uint8_t HotPart = sbNone;
    std::uint8_t PressedPart = sbNone;
    bool Captured = false;
    QPointer<QWidget> FocusControl;
    bool EnabledDragging = true;
};

// The text box of a spin edit: borderless, right-aligned, filtering typed characters; the arrow keys
// click the spin button.
class TVkEdit : public QLineEdit {
    Q_OBJECT
public:
    TVkEdit(TVkSpinButton* Button, QWidget* Parent);

    bool GetEditorEnabled() const { return EditorEnabled; }
    void SetEditorEnabled(bool Value);
    TVkSpinType SpinType = spFloat;

    virtual bool IsValidChar(char32_t C) const;

    // The owning spin edit is entered and left through its box; these report it.
    std::function<void(bool ByMouse)> OnEnter;
    std::function<void()> OnExit;

protected:
    void keyPressEvent(QKeyEvent* Event) override;
    void focusInEvent(QFocusEvent* Event) override;
    void focusOutEvent(QFocusEvent* Event) override;
    void contextMenuEvent(QContextMenuEvent* Event) override;

private:
    bool EditingAllowed() const { return EditorEnabled && !isReadOnly(); }

    bool EditorEnabled = true;
    TVkSpinButton* Button;
};

class TVkSpinEdit : public TVkThemeControl {
    Q_OBJECT
public:
    explicit TVkSpinEdit(QWidget* Parent = nullptr);
    ~TVkSpinEdit() override;

    // The text read as a number; MinValue when it is none.
    float GetValue() const;
    // Clamped, then shown in the format of the spin type; the text change fires OnChange.
    void SetValue(float Value);
    // Value truncated towards zero; EConvertError for a value beyond the integer range.
    int GetValueI() const;
    void SetValueI(int Value) { SetValue(static_cast<float>(Value)); }
    float ClampValue(float V) const { return ClampSpinValue(V, MinValue, MaxValue); }

    // While the user has the box, V waits QuietValueUpdateDelay ms (and is dropped when the user
    // changes the text); otherwise it is shown at once. OnChange does not fire either way.
    void SetValueQuietly(float V);
    // Whether the box has the focus.
    bool Focused() const;

    void Increase();
    void Decrease();

    TVkSpinType GetSpinType() const { return SpinType; }
    void SetSpinType(TVkSpinType Value);
    float GetIncrement() const { return Increment; }
    // spInteger keeps the integer part.
    void SetIncrement(float Value);
    int GetPrecision() const { return Precision; }
    void SetPrecision(int Value);
    float MinValue = 0;
    float MaxValue = 0;
    int QuietValueUpdateDelay = 1000;
    bool ChangeWhileDragging = true;
    bool AutoSelect = true;

    bool GetReadOnly() const;
    void SetReadOnly(bool Value);
    bool GetEditorEnabled() const { return Edit->GetEditorEnabled(); }
    void SetEditorEnabled(bool Value) { Edit->SetEditorEnabled(Value); }
    int GetMaxLength() const;
    void SetMaxLength(int Value);
    TBorderStyle GetBorderStyle() const { return BorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    TColor GetColor() const { return Color; }
    void SetColor(TColor Value);
    int GetPixelPerInc() const { return Button->GetPixelPerInc(); }
    void SetPixelPerInc(int Value) { Button->SetPixelPerInc(Value); }
    bool GetRepeatClicks() const { return Button->RepeatClicks; }
    void SetRepeatClicks(bool Value) { Button->RepeatClicks = Value; }
    bool GetEnabledDragging() const { return Button->GetEnabledDragging(); }
    void SetEnabledDragging(bool Value) { Button->SetEnabledDragging(Value); }

    TNotifyEvent OnChange;

    TVkSpinButton* GetButton() const { return Button; }
    TVkEdit* GetEdit() const { return Edit; }
    QMenu* GetIncrementMenu() const { return IncrementMenu; }
    QTimer* GetQuietUpdateTimer() const { return QuietTimer; }

    // Every text change of the box: drops a pending quiet value, then OnChange unless held back.
    void EditChanged();
    void QuietUpdateTimer();
    void ButtonMouseDown();
    void ButtonMouseUp();
    void DragIncrement(int N);
    // Ticks the increment items whose step is the current increment.
    void TickIncrementMenu();

protected:
    void paintEvent(QPaintEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void wheelEvent(QWheelEvent* Event) override;
    void changeEvent(QEvent* Event) override;
    void contextMenuEvent(QContextMenuEvent* Event) override;

private:
    void BuildIncrementMenu();
    void AddIncrementItem(const char* Caption, int Tag);
    void LayoutParts();
    void UpdateButtonEnabled();
    void DoExit();
    // Runs F with OnChange held back, restoring the flag also when F fails.
    template <class F>
    void WithoutNotify(F&& Action);

    float PendingValue = 0;
    TVkSpinType SpinType = spFloat;
    TVkSpinButton* Button;
    TVkEdit* Edit;
    float DragStartValue = 0;
    float Increment = 1;
    int Precision = 2;
    bool Notify = true;
    QTimer* QuietTimer;
    TBorderStyle BorderStyle = bsSingle;
    TColor Color = clWindow;
    QMenu* IncrementMenu;
};

// Sets ValueI without firing OnChange.
void SetSpinValueIWithoutChange(TVkSpinEdit& SpinEdit, int Value);

}  // namespace sarnova
