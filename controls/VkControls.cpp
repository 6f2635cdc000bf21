#include "controls/VkControls.h"

#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOption>
#include <qdrawutil.h>

#include <algorithm>
#include <climits>

#include "platform/qt/QtCanvas.h"

namespace sarnova {

bool GThemesEnabled = true;

namespace {

// Sums of positions and steps are taken in 64 bits and brought back into the int range, so that a
// bar at the edge of the range cannot overflow.
int Saturate(long long Value) {
    return static_cast<int>(std::clamp<long long>(Value, INT_MIN, INT_MAX));
}

QStyle::State StyleState(int State) {
    QStyle::State Result = QStyle::State_None;
    if (State != tsDisabled) Result |= QStyle::State_Enabled;
    if (State == tsHot) Result |= QStyle::State_MouseOver;
    Result |= State == tsPressed ? QStyle::State_Sunken | QStyle::State_On : QStyle::State_Raised;
    return Result;
}

// A filled triangle pointing down, centred in Rect, in Color.
void DrawDownArrow(QPainter& Canvas, const QRect& Rect, const QColor& Color) {
    const int Half = std::max(2, std::min(Rect.width(), Rect.height()) / 4);
    const QPoint C = Rect.center();
    const QPoint Points[3] = {{C.x() - Half, C.y() - Half / 2}, {C.x() + Half, C.y() - Half / 2},
                              {C.x(), C.y() + Half / 2 + 1}};
    Canvas.save();
    Canvas.setPen(Qt::NoPen);
    Canvas.setBrush(Color);
    Canvas.drawPolygon(Points, 3);
    Canvas.restore();
}

// The classic frame of a push button: raised for the normal, hot and disabled states, flat and
// pushed (one shadow line) for the pressed state. False for any other state: no frame.
bool DrawClassicButtonFrame(QPainter& Canvas, const QRect& Rect, int State) {
    const QPalette Palette = QApplication::palette();
    switch (State) {
        case tsNormal:
        case tsHot:
        case tsDisabled:
            qDrawWinButton(&Canvas, Rect, Palette, false, &Palette.brush(QPalette::Button));
            return true;
        case tsPressed:
            Canvas.fillRect(Rect, ColorToQColor(clBtnFace));
            Canvas.save();
            Canvas.setPen(ColorToQColor(clBtnShadow));
            Canvas.setBrush(Qt::NoBrush);
            Canvas.drawRect(Rect.adjusted(0, 0, -1, -1));
            Canvas.restore();
            return true;
        default:
            return false;
    }
}

}  // namespace

// ---- TVkThemeServer ----

TVkThemeServer::TVkThemeServer(QWidget* AControl, std::uint8_t AThemeClass) { Bind(AControl, AThemeClass); }

TVkThemeServer::~TVkThemeServer() { Theme = nullptr; }

void TVkThemeServer::Bind(QWidget* AControl, std::uint8_t AThemeClass) {
    if (Opened || Failed) return;
    Control = AControl;
    ThemeClass = AThemeClass < ThemeClassNames.size() ? AThemeClass : 0;
}

void TVkThemeServer::Open() {
    if (Opened || Failed) return;
    if (Theme || !GThemesEnabled) {
        Failed = true;
        return;
    }
    if (auto* Border = qobject_cast<TVkBorderControl*>(Control.data())) Border->HandleNeeded();
    Theme = Control ? Control->style() : QApplication::style();
    Opened = !Theme.isNull();
    Failed = !Opened;
}

bool TVkThemeServer::IsThemed() {
    if (!Opened && !Failed) Open();
    return !Theme.isNull() && GThemesEnabled;
}

int TVkThemeServer::DrawBackground(QPainter& Canvas, int Part, int State, const QRect& Rect,
                                   const QRect* ClipRect) {
    if (!IsThemed()) return -1;
    Canvas.save();
    if (ClipRect) Canvas.setClipRect(*ClipRect, Qt::IntersectClip);
    QStyleOptionButton Button;
    Button.rect = Rect;
    Button.state = StyleState(State);
    Button.palette = Control ? Control->palette() : QApplication::palette();
    QStyleOption Indicator = Button;
    Indicator.rect = Rect.adjusted(2, 2, -2, -2);
    switch (ThemeClass) {
        case tcEdit: {
            QStyleOptionFrame Frame;
            Frame.QStyleOption::operator=(Button);
            Frame.lineWidth = Theme->pixelMetric(QStyle::PM_DefaultFrameWidth, &Frame, Control);
            Theme->drawPrimitive(QStyle::PE_PanelLineEdit, &Frame, &Canvas, Control);
            break;
        }
        case tcComboBox:
            Theme->drawControl(QStyle::CE_PushButtonBevel, &Button, &Canvas, Control);
            Theme->drawPrimitive(QStyle::PE_IndicatorArrowDown, &Indicator, &Canvas, Control);
            break;
        case tcSpin: {
            Theme->drawControl(QStyle::CE_PushButtonBevel, &Button, &Canvas, Control);
            static constexpr QStyle::PrimitiveElement Arrows[] = {
                QStyle::PE_IndicatorSpinUp, QStyle::PE_IndicatorSpinDown, QStyle::PE_IndicatorArrowRight,
                QStyle::PE_IndicatorArrowLeft};
            if (Part >= 1 && Part <= 4) Theme->drawPrimitive(Arrows[Part - 1], &Indicator, &Canvas, Control);
            break;
        }
        default:
            Theme->drawControl(QStyle::CE_PushButtonBevel, &Button, &Canvas, Control);
            break;
    }
    Canvas.restore();
    return 0;
}

int TVkThemeServer::GetColor(int Part, int State, int Property, TColor& Color) {
    if (!IsThemed()) return -1;
    const QPalette Palette = Control ? Control->palette() : QApplication::palette();
    const auto Group = State == tsDisabled ? QPalette::Disabled : QPalette::Active;
    Color = QColorToColor(Palette.color(Group, QPalette::ButtonText));
    return 0;
}

int TVkThemeServer::DrawText(QPainter& Canvas, int Part, int State, const std::string& Text, int CharCount,
                             unsigned TextFlags, unsigned TextFlags2, const QRect& Rect) {
    if (!IsThemed()) return -1;
    QString Shown = QString::fromStdString(Text);
    if (CharCount >= 0) Shown = Shown.left(CharCount);
    Qt::Alignment Align = (TextFlags & DT_CENTER) ? Qt::AlignHCenter
                          : (TextFlags & DT_RIGHT) ? Qt::AlignRight
                                                    : Qt::AlignLeft;
    Align |= (TextFlags & DT_VCENTER) ? Qt::AlignVCenter : (TextFlags & DT_BOTTOM) ? Qt::AlignBottom : Qt::AlignTop;
    const QPalette Palette = Control ? Control->palette() : QApplication::palette();
    Theme->drawItemText(&Canvas, Rect, static_cast<int>(Align), Palette, State != tsDisabled, Shown,
                        QPalette::ButtonText);
    return 0;
}

// ---- TVkBorderControl ----

TVkBorderControl::TVkBorderControl(QWidget* Parent) : TVkThemeControl(Parent) {}

void TVkBorderControl::SetBorderStyle(TBorderStyle Value) {
    BorderStyle = Value;
    RecreateWnd();
}

void TVkBorderControl::HandleNeeded() {
    if (WindowCreated) return;
    WindowCreated = true;
    CreateWnd();
}

void TVkBorderControl::RecreateWnd() {
    if (!WindowCreated) return;
    DestroyWnd();
    CreateWnd();
}

// The sunken border is drawn by the style when themes are in use, else as the classic client edge.
void TVkBorderControl::CreateWnd() {
    if (BorderStyle == bsSingle)
        setFrameStyle((GThemesEnabled ? QFrame::StyledPanel : QFrame::WinPanel) | QFrame::Sunken);
    else
        setFrameStyle(QFrame::NoFrame);
    update();
}

void TVkBorderControl::showEvent(QShowEvent* Event) {
    TVkThemeControl::showEvent(Event);
    HandleNeeded();
    if (FirstShown) return;
    FirstShown = true;
    DoFirstShow();
}

// ---- TScrollBarController ----

TScrollBarController::TScrollBarController(IScrollBarOwner* AOwner, std::uint8_t AKind)
    : Owner(AOwner), Kind(AKind) {}

bool TScrollBarController::IsActive() const {
    const TScrollStyle Style = Owner->GetScrollBars();
    return Kind == 0 ? (Style == ssHorizontal || Style == ssBoth) : (Style == ssVertical || Style == ssBoth);
}

void TScrollBarController::UpdateScrollBar() {
    if (!IsActive() || !Owner->HandleAllocated()) return;
    Owner->SetWindowScrollInfo(Kind, {Min, Max, PageSize, Position}, HiddenIfUnnecessary);
}

void TScrollBarController::SetPosition(int Value) {
    if (!IsActive()) return;
    Position = std::max(Value, Min);
    // The upper bound is tested last, so it wins when it lies below Min.
    const long long Upper = static_cast<long long>(Max) - PageSize + 1;
    if (Upper < Position) Position = Saturate(Upper);
    if (Owner->HandleAllocated()) Owner->SetWindowScrollPos(Kind, Position);
}

void TScrollBarController::SetMin(int Value) {
    Min = Value;
    UpdateScrollBar();
}

void TScrollBarController::SetMax(int Value) {
    Max = Value;
    UpdateScrollBar();
}

void TScrollBarController::SetPageSize(int Value) {
    PageSize = Value;
    UpdateScrollBar();
}

void TScrollBarController::SetHiddenIfUnnecessary(bool Value) {
    HiddenIfUnnecessary = Value;
    UpdateScrollBar();
}

void TScrollBarController::ReadFromWindow() {
    if (!IsActive()) return;
    const TWindowScrollInfo* Info = Owner->WindowScrollInfo(Kind);
    if (!Info) return;
    Position = Info->Pos;
    Min = Info->Min;
    Max = Info->Max;
    PageSize = Info->Page;
}

// ---- TVkScrollControl ----

// A bar of the window: what the platform keeps for it, and the widget that shows it.
struct TVkScrollControl::TWindowBar {
    TWindowScrollInfo Info;
    bool DisableNoScroll = false;
    QScrollBar* Widget = nullptr;
};

TVkScrollControl::TVkScrollControl(QWidget* Parent) : TVkBorderControl(Parent) {
    FVertScrollBar = std::make_unique<TScrollBarController>(this, 1);
    FHorzScrollBar = std::make_unique<TScrollBarController>(this, 0);
}

TVkScrollControl::~TVkScrollControl() {
    FHorzScrollBar.reset();
    FVertScrollBar.reset();
}

void TVkScrollControl::SetScrollBars(TScrollStyle Value) {
    if (Value == ScrollBars) return;
    ScrollBars = Value;
    RecreateWnd();
}

void TVkScrollControl::CreateWnd() {
    TVkBorderControl::CreateWnd();
    for (int Kind = 0; Kind < 2; ++Kind) {
        const bool Shown = Kind == 0 ? (ScrollBars == ssHorizontal || ScrollBars == ssBoth)
                                     : (ScrollBars == ssVertical || ScrollBars == ssBoth);
        if (!Shown) continue;
        auto Bar = std::make_unique<TWindowBar>();
        Bar->Widget = new QScrollBar(Kind == 0 ? Qt::Horizontal : Qt::Vertical, this);
        Bar->Widget->setFocusPolicy(Qt::NoFocus);
        Bar->Widget->installEventFilter(this);
        connect(Bar->Widget, &QScrollBar::actionTriggered, this, [this, Kind](int Action) { BarAction(Kind, Action); });
        ShowWindowBar(*Bar);
        Bars[static_cast<size_t>(Kind)] = std::move(Bar);
    }
    LayoutBars();
}

void TVkScrollControl::DestroyWnd() {
    for (auto& Bar : Bars) {
        if (Bar) delete Bar->Widget;
        Bar.reset();
    }
    TVkBorderControl::DestroyWnd();
}

void TVkScrollControl::DoFirstShow() {
    FVertScrollBar->ReadFromWindow();
    FHorzScrollBar->ReadFromWindow();
}

QScrollBar* TVkScrollControl::WindowScrollBar(int Bar) const {
    if (Bar < 0 || Bar > 1 || !Bars[static_cast<size_t>(Bar)]) return nullptr;
    return Bars[static_cast<size_t>(Bar)]->Widget;
}

const TWindowScrollInfo* TVkScrollControl::WindowScrollInfo(int Bar) const {
    if (Bar < 0 || Bar > 1 || !Bars[static_cast<size_t>(Bar)]) return nullptr;
    return &Bars[static_cast<size_t>(Bar)]->Info;
}

// As the platform keeps a bar: the page is at most the range, and the position lies between Min and
// the last position at which a whole page still fits.
void TVkScrollControl::SetWindowScrollInfo(int Bar, const TWindowScrollInfo& Info, bool DisableNoScroll) {
    if (Bar < 0 || Bar > 1 || !Bars[static_cast<size_t>(Bar)]) return;
    TWindowBar& B = *Bars[static_cast<size_t>(Bar)];
    B.Info.Min = Info.Min;
    B.Info.Max = std::max(Info.Max, Info.Min);
    const long long Range = static_cast<long long>(B.Info.Max) - B.Info.Min + 1;
    B.Info.Page = Saturate(std::clamp<long long>(Info.Page, 0, Range));
    B.DisableNoScroll = DisableNoScroll;
    ShowWindowBar(B);
    SetWindowScrollPos(Bar, Info.Pos);
}

void TVkScrollControl::SetWindowScrollPos(int Bar, int Position) {
    if (Bar < 0 || Bar > 1 || !Bars[static_cast<size_t>(Bar)]) return;
    TWindowBar& B = *Bars[static_cast<size_t>(Bar)];
    const long long Last = static_cast<long long>(B.Info.Max) - std::max(B.Info.Page - 1, 0);
    B.Info.Pos = Saturate(std::clamp<long long>(Position, B.Info.Min, std::max<long long>(Last, B.Info.Min)));
    B.Widget->setValue(B.Info.Pos);
}

void TVkScrollControl::ShowWindowBar(TWindowBar& B) {
    const long long Last = static_cast<long long>(B.Info.Max) - std::max(B.Info.Page - 1, 0);
    const bool Needed = B.Info.Max > B.Info.Min && static_cast<long long>(B.Info.Page) <= static_cast<long long>(B.Info.Max) - B.Info.Min;
    const QSignalBlocker Quiet(B.Widget);
    B.Widget->setRange(B.Info.Min, Saturate(std::max<long long>(Last, B.Info.Min)));
    B.Widget->setPageStep(std::max(B.Info.Page, 1));
    B.Widget->setEnabled(Needed);
    // Shown or hidden explicitly, so that a hidden bar stays hidden when the control is shown.
    B.Widget->setVisible(Needed || B.DisableNoScroll);
    LayoutBars();
}

void TVkScrollControl::LayoutBars() {
    QScrollBar* H = WindowScrollBar(0);
    QScrollBar* V = WindowScrollBar(1);
    const int Extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const int VW = V && !V->isHidden() ? Extent : 0;
    const int HH = H && !H->isHidden() ? Extent : 0;
    const QRect Inner = contentsRect();
    if (V) V->setGeometry(Inner.right() - VW + 1, Inner.top(), VW, std::max(0, Inner.height() - HH));
    if (H) H->setGeometry(Inner.left(), Inner.bottom() - HH + 1, std::max(0, Inner.width() - VW), HH);
}

QRect TVkScrollControl::ClientRect() const {
    QRect R = contentsRect();
    if (QScrollBar* V = WindowScrollBar(1); V && !V->isHidden()) R.setRight(V->geometry().left() - 1);
    if (QScrollBar* H = WindowScrollBar(0); H && !H->isHidden()) R.setBottom(H->geometry().top() - 1);
    return R;
}

void TVkScrollControl::resizeEvent(QResizeEvent* Event) {
    TVkBorderControl::resizeEvent(Event);
    LayoutBars();
}

void TVkScrollControl::BarAction(int Bar, int Action) {
    QScrollBar* Widget = WindowScrollBar(Bar);
    switch (Action) {
        case QAbstractSlider::SliderSingleStepSub: ScrollMessage(Bar, scLineUp); break;
        case QAbstractSlider::SliderSingleStepAdd: ScrollMessage(Bar, scLineDown); break;
        case QAbstractSlider::SliderPageStepSub: ScrollMessage(Bar, scPageUp); break;
        case QAbstractSlider::SliderPageStepAdd: ScrollMessage(Bar, scPageDown); break;
        case QAbstractSlider::SliderToMinimum: ScrollMessage(Bar, scTop); break;
        case QAbstractSlider::SliderToMaximum: ScrollMessage(Bar, scBottom); break;
        case QAbstractSlider::SliderMove: ScrollMessage(Bar, scTrack, Widget->sliderPosition()); break;
        default: break;
    }
}

// A release on a bar ends the scroll; a thumb drag first reports where the thumb was let go.
bool TVkScrollControl::eventFilter(QObject* Watched, QEvent* Event) {
    if (Event->type() == QEvent::MouseButtonRelease) {
        for (int Bar = 0; Bar < 2; ++Bar) {
            QScrollBar* Widget = WindowScrollBar(Bar);
            if (Widget != Watched) continue;
            if (Widget->isSliderDown()) ScrollMessage(Bar, scPosition, Widget->sliderPosition());
            ScrollMessage(Bar, scEndScroll);
        }
    }
    return TVkBorderControl::eventFilter(Watched, Event);
}

// Thumb positions come as whole ints: the bars are not limited to 16-bit positions.
void TVkScrollControl::ScrollMessage(int Bar, int Code, int ThumbPosition) {
    if (Bar != 0 && Bar != 1) return;
    TScrollBarController& C = Bar == 0 ? *FHorzScrollBar : *FVertScrollBar;
    switch (Code) {
        case scLineUp: C.SetPosition(Saturate(static_cast<long long>(C.GetPosition()) - C.SmallChange)); break;
        case scLineDown: C.SetPosition(Saturate(static_cast<long long>(C.GetPosition()) + C.SmallChange)); break;
        case scPageUp: C.SetPosition(Saturate(static_cast<long long>(C.GetPosition()) - C.GetLargeChange())); break;
        case scPageDown: C.SetPosition(Saturate(static_cast<long long>(C.GetPosition()) + C.GetLargeChange())); break;
        case scPosition:
        case scTrack: C.SetPosition(ThumbPosition); break;
        case scTop:
            C.SetPosition(C.GetMin());
            DoScroll(Bar, C.GetMin());
            return;
        case scBottom:
            C.SetPosition(C.GetMax());
            DoScroll(Bar, C.GetMax());
            return;
        case scEndScroll: DoEndScroll(Bar, C.GetPosition()); return;
        default: return;
    }
    DoScroll(Bar, C.GetPosition());
}

void TVkScrollControl::DoScroll(int Bar, int Position) {
    if (OnScroll) OnScroll(this, Bar, Position);
}

void TVkScrollControl::DoEndScroll(int Bar, int Position) {
    if (OnEndScroll) OnEndScroll(this, Bar, Position);
}

// ---- Drawing routines ----

void DrawThemedDropDownButton(QPainter& Canvas, const QRect& Rect, int State, TVkThemeServer* ThemeServer) {
    if (ThemeServer && ThemeServer->IsThemed()) {
        ThemeServer->DrawBackground(Canvas, 0, State, Rect, nullptr);
        return;
    }
    if (!DrawClassicButtonFrame(Canvas, Rect, State)) return;
    const QRect Arrow = State == tsPressed ? Rect.translated(1, 1) : Rect;
    if (State == tsDisabled) {
        DrawDownArrow(Canvas, Arrow.translated(1, 1), ColorToQColor(clBtnHighlight));
        DrawDownArrow(Canvas, Arrow, ColorToQColor(clBtnShadow));
    } else {
        DrawDownArrow(Canvas, Arrow, ColorToQColor(clBtnText));
    }
}

int EllipsisDotSize(int Width) { return std::max(1, Width / 8); }

void DrawThemedEllipsisButton(QPainter& Canvas, const QRect& Rect, int State, TVkThemeServer* ThemeServer) {
    const int S = EllipsisDotSize(Rect.width());
    int CX = Rect.left() + Rect.width() / 2 - 1;
    int CY = Rect.top() + Rect.height() / 2 - 1;
    auto Dots = [&](int X, int Y, TColor Color) {
        const QColor C = ColorToQColor(Color);
        for (int Offset : {0, -2 * S, 2 * S}) Canvas.fillRect(QRect(X + Offset, Y, S, S), C);
    };
    if (ThemeServer && ThemeServer->IsThemed()) {
        ThemeServer->DrawBackground(Canvas, 0, State, Rect.adjusted(-1, -1, 1, 1), &Rect);
        TColor Color = clBtnText;
        ThemeServer->GetColor(0, State, 0, Color);
        Dots(CX, CY, Color);
        return;
    }
    DrawClassicButtonFrame(Canvas, Rect, State);
    if (State == tsPressed) {
        ++CX;
        ++CY;
    }
    if (State == tsDisabled) {
        Dots(CX + 1, CY + 1, clBtnHighlight);
        Dots(CX, CY, clBtnShadow);
    } else {
        Dots(CX, CY, clWindowText);
    }
}

}  // namespace sarnova
