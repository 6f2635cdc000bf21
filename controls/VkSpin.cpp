#include "controls/VkSpin.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWheelEvent>
#include <qdrawutil.h>

#include <cfloat>
#include <cmath>
#include <exception>

#include "controls/FormatGridWidget.h"
#include "foundation/NumberText.h"
#include "platform/qt/QtCanvas.h"

namespace sarnova {

// ---- Rules ----

std::string SpinValueText(float V, TVkSpinType SpinType, int Precision) {
    if (SpinType == spInteger) return FloatToStrF(std::trunc(static_cast<double>(V)), ffFixed, 18, 0);
    return FloatToStrF(V, ffFixed, 7, Precision);
}

bool SpinTextToValue(std::string_view Text, float& Value) {
    std::string Typed(Text);
    for (char& C : Typed)
        if (C == ',') C = '.';
    double D = 0;
    // A float cannot hold what lies beyond its range; such a text is no value of the box.
    if (!TryStrToFloat(Typed, D) || !std::isfinite(D) || std::fabs(D) > FLT_MAX) return false;
    Value = static_cast<float>(D);
    return true;
}

float ClampSpinValue(float V, float Min, float Max) {
    if (Max == Min) return V;
    if (V < Min) return Min;
    if (V > Max) return Max;
    return V;
}

bool IsValidSpinChar(char32_t C, TVkSpinType SpinType, bool EditorEnabled) {
    bool Valid;
    if (C == '+' || C == '-' || (C >= '0' && C <= '9'))
        Valid = true;
    else if (SpinType == spFloat && (C == '.' || C == ','))
        Valid = true;
    else
        Valid = C < 32 && C != 13;
    if (Valid && !EditorEnabled && (C >= 32 || C == 8)) Valid = false;
    return Valid;
}

bool IncrementMenuTag(float Increment, int& Tag) {
    if (!(Increment > 0) || !std::isfinite(Increment)) return false;
    // Through single precision first, so that 0.01 (held as 0.0099999998) counts as -2.
    const float Log = static_cast<float>(std::log10(static_cast<double>(Increment)));
    Tag = static_cast<int>(std::trunc(Log));
    return true;
}

std::uint8_t SpinButtonPressPart(int Y, int Height, bool EnabledDragging) {
    const int M = Height / 2;
    const int G = EnabledDragging ? 3 : 0;
    if (Y < M - G) return sbUpper;
    if (Y > M + G) return sbLower;
    if (Y >= M - 3 && Y < M + G) return sbGrip;
    return sbNone;
}

std::uint8_t SpinButtonHoverPart(int Y, int Height, bool EnabledDragging) {
    const int M = Height / 2;
    const int G = EnabledDragging ? 3 : 0;
    if (Y < M - G) return sbUpper;
    if (Y >= M + G) return sbLower;
    return sbGrip;
}

int SpinDragIncrements(int WrapOffset, int StartY, int CurrentY, int PixelPerInc) {
    const long long Pixels = static_cast<long long>(WrapOffset) + StartY - CurrentY;
    return static_cast<int>(Pixels / (PixelPerInc > 0 ? PixelPerInc : 1));
}

void DrawArrowGlyph(QPainter& Canvas, const QRect& Rect, bool Up, bool Enabled, const QPalette& Palette) {
    const int Half = std::max(2, std::min(Rect.width() / 2, Rect.height()) - 1);
    const QPoint C = Rect.center();
    const int Dir = Up ? -1 : 1;
    const QPoint Points[3] = {{C.x() - Half, C.y() - Dir * Half / 2}, {C.x() + Half, C.y() - Dir * Half / 2},
                              {C.x(), C.y() + Dir * (Half - Half / 2)}};
    Canvas.save();
    Canvas.setPen(Qt::NoPen);
    if (!Enabled) {
        Canvas.setBrush(Palette.color(QPalette::Light));
        Canvas.translate(1, 1);
        Canvas.drawPolygon(Points, 3);
        Canvas.translate(-1, -1);
        Canvas.setBrush(Palette.color(QPalette::Disabled, QPalette::ButtonText));
    } else {
        Canvas.setBrush(Palette.color(QPalette::Active, QPalette::ButtonText));
    }
    Canvas.drawPolygon(Points, 3);
    Canvas.restore();
}

// ---- TVkSpinButton ----

TVkSpinButton::TVkSpinButton(QWidget* Parent) : TVkThemeGraphicControl(Parent) {
    resize(14, 21);
    setMouseTracking(true);
    GetThemeServer().Bind(this, tcSpin);
}

void TVkSpinButton::SetPixelPerInc(int Value) {
    if (Value > 0) PixelPerInc = Value;
}

void TVkSpinButton::SetEnabledDragging(bool Value) {
    EnabledDragging = Value;
    update();
}

void TVkSpinButton::ClickPressed() {
    if (PressedPart == sbUpper) {
        if (OnUpClick) OnUpClick(this);
    } else if (PressedPart == sbLower) {
        if (OnDownClick) OnDownClick(this);
    }
}

void TVkSpinButton::RepeatTimerTick() {
    if (RepeatTimer) RepeatTimer->setInterval(100);
    if ((PressedPart != sbUpper && PressedPart != sbLower) || !Captured) return;
    try {
        ClickPressed();
    } catch (...) {
        if (RepeatTimer) RepeatTimer->stop();
        throw;
    }
}

void TVkSpinButton::mousePressEvent(QMouseEvent* Event) {
    if (Event->button() != Qt::LeftButton) {
        TVkThemeGraphicControl::mousePressEvent(Event);
        return;
    }
    if (FocusControl) FocusControl->setFocus(Qt::OtherFocusReason);
    const QPoint P = Event->position().toPoint();
    PressedPart = SpinButtonPressPart(P.y(), height(), EnabledDragging);
    Captured = true;
    if (PressedPart == sbGrip) {
        DragStartX = P.x();
        DragStartY = P.y();
        WrapOffset = 0;
    }
    repaint();
    if (RepeatClicks && (PressedPart == sbUpper || PressedPart == sbLower)) {
        if (!RepeatTimer) {
            RepeatTimer = new QTimer(this);
            connect(RepeatTimer, &QTimer::timeout, this, [this] {
                try {
                    RepeatTimerTick();
                } catch (const std::exception& E) {
                    ReportUiError(E);
                }
            });
        }
        RepeatTimer->start(400);
    }
    if (OnMouseDown) OnMouseDown(this);
}

void TVkSpinButton::mouseReleaseEvent(QMouseEvent* Event) {
    if (Event->button() != Qt::LeftButton) {
        TVkThemeGraphicControl::mouseReleaseEvent(Event);
        return;
    }
    Captured = false;
    // Held no longer, the repeat has nothing left to do.
    if (RepeatTimer) RepeatTimer->stop();
    const std::uint8_t Was = PressedPart;
    if (Was == sbUpper || Was == sbLower) {
        ClickPressed();
        repaint();
    }
    PressedPart = sbNone;
    update();
    if (OnMouseUp) OnMouseUp(this);
}

void TVkSpinButton::mouseMoveEvent(QMouseEvent* Event) {
    const QPoint P = Event->position().toPoint();
    if (PressedPart == sbNone) {
        if (P.x() < 0 || P.x() > width()) {
            unsetCursor();
        } else {
            HotPart = SpinButtonHoverPart(P.y(), height(), EnabledDragging);
            if (HotPart == sbGrip)
                setCursor(Qt::SplitVCursor);
            else
                unsetCursor();
            update();
        }
    } else if (PressedPart == sbGrip) {
        DragMove(Event->globalPosition().toPoint());
    }
    TVkThemeGraphicControl::mouseMoveEvent(Event);
}

// The cursor wraps from one screen edge to the other, so a drag never stops at an edge; the wrapped
// distance is kept so that the steps go on counting from the press.
void TVkSpinButton::DragMove(const QPoint& GlobalPosition) {
    QPoint Global = GlobalPosition;
    if (const QScreen* Screen = QGuiApplication::screenAt(Global)) {
        const QRect Area = Screen->geometry();
        if (Global.y() == Area.top()) {
            Global.setY(Area.top() + Area.height() - 2);
            QCursor::setPos(Global);
            WrapOffset += Area.height();
        } else if (Global.y() == Area.top() + Area.height() - 1) {
            Global.setY(Area.top() + 1);
            QCursor::setPos(Global);
            WrapOffset -= Area.height();
        }
    }
    const int CurrentY = mapFromGlobal(Global).y();
    if (OnDragIncrement) OnDragIncrement(this, SpinDragIncrements(WrapOffset, DragStartY, CurrentY, PixelPerInc));
}

void TVkSpinButton::DoMouseLeave() {
    unsetCursor();
    HotPart = sbNone;
    update();
    TVkThemeGraphicControl::DoMouseLeave();
}

void TVkSpinButton::DrawArrow(QPainter& Canvas, const QRect& Rect, std::uint8_t Part) {
    const bool Pressed = PressedPart == Part;
    const int State = !isEnabled() ? tsDisabled : Pressed ? tsPressed : HotPart == Part ? tsHot : 1;
    if (GetThemeServer().DrawBackground(Canvas, Part == sbUpper ? 1 : 2, State, Rect, nullptr) == 0) return;
    const QPalette Palette = QApplication::palette();
    qDrawWinButton(&Canvas, Rect, Palette, Pressed, &Palette.brush(QPalette::Button));
    // The arrow glyph, one pixel right and down while pressed.
    QRect Glyph = Rect.adjusted(3, 2, -3, -2);
    if (Pressed) Glyph.translate(1, 1);
    DrawArrowGlyph(Canvas, Glyph, Part == sbUpper, isEnabled(), Palette);
}

void TVkSpinButton::paintEvent(QPaintEvent*) {
    QPainter Canvas(this);
    const int H = height();
    const int M = H / 2;
    const bool Themed = GetThemeServer().IsThemed();
    // The themed arrows always meet at the middle; classic ones leave room for the grip.
    const int UpperBottom = (EnabledDragging || Themed) ? M : M + 1;
    const int LowerTop = EnabledDragging ? M + 1 : M;
    DrawArrow(Canvas, QRect(0, 0, width(), UpperBottom), sbUpper);
    DrawArrow(Canvas, QRect(0, LowerTop, width(), H - LowerTop), sbLower);
    if (EnabledDragging)
        Canvas.fillRect(QRect(QPoint(0, M - 1), QPoint(width() - 1, M)),
                        isEnabled() ? QColor(Qt::black) : ColorToQColor(clBtnFace));
}

// ---- TVkEdit ----

TVkEdit::TVkEdit(TVkSpinButton* AButton, QWidget* Parent) : QLineEdit(Parent), Button(AButton) {
    setText("0");
    setFrame(false);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void TVkEdit::SetEditorEnabled(bool Value) {
    EditorEnabled = Value;
    setAcceptDrops(Value);
}

bool TVkEdit::IsValidChar(char32_t C) const { return IsValidSpinChar(C, SpinType, EditorEnabled); }

void TVkEdit::keyPressEvent(QKeyEvent* Event) {
    if (Event->key() == Qt::Key_Up) {
        if (Button && Button->OnUpClick) Button->OnUpClick(Button);
    } else if (Event->key() == Qt::Key_Down) {
        if (Button && Button->OnDownClick) Button->OnDownClick(Button);
    }
    if ((Event->matches(QKeySequence::Paste) || Event->matches(QKeySequence::Cut)) && !EditingAllowed()) {
        Event->accept();
        return;
    }
    // Delete types no character; it edits only while the editor is enabled.
    if (Event->key() == Qt::Key_Delete && !EditorEnabled) {
        QApplication::beep();
        Event->accept();
        return;
    }
    const QString Text = Event->text();
    if (!Text.isEmpty() && Event->key() != Qt::Key_Delete && !(Event->modifiers() & Qt::ControlModifier)) {
        const char32_t C = Text.toUcs4().value(0);
        if (!IsValidChar(C)) {
            QApplication::beep();
            Event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(Event);
}

void TVkEdit::focusInEvent(QFocusEvent* Event) {
    QLineEdit::focusInEvent(Event);
    // A popup closing or the window coming back is no entry into the control.
    if (Event->reason() == Qt::PopupFocusReason || Event->reason() == Qt::ActiveWindowFocusReason) return;
    if (OnEnter) OnEnter(Event->reason() == Qt::MouseFocusReason);
}

void TVkEdit::focusOutEvent(QFocusEvent* Event) {
    QLineEdit::focusOutEvent(Event);
    if (Event->reason() == Qt::PopupFocusReason || Event->reason() == Qt::ActiveWindowFocusReason) return;
    if (OnExit) OnExit();
}

void TVkEdit::contextMenuEvent(QContextMenuEvent* Event) {
    QMenu* Menu = createStandardContextMenu();
    if (!EditingAllowed())
        for (QAction* Action : Menu->actions()) {
            const QString Name = Action->objectName();
            if (Name == "edit-paste" || Name == "edit-cut" || Name == "edit-delete") Action->setEnabled(false);
        }
    Menu->setAttribute(Qt::WA_DeleteOnClose);
    Menu->popup(Event->globalPos());
}

// ---- TVkSpinEdit ----

TVkSpinEdit::TVkSpinEdit(QWidget* Parent) : TVkThemeControl(Parent) {
    Button = new TVkSpinButton(this);
    Edit = new TVkEdit(Button, this);
    QuietTimer = new QTimer(this);
    IncrementMenu = new QMenu(this);
    setAutoFillBackground(false);
    resize(65, 21);
    Button->resize(15, 19);
    Button->SetFocusControl(Edit);
    setFocusProxy(Edit);
    SetColor(clWindow);

    connect(Edit, &QLineEdit::textChanged, this, [this] { EditChanged(); });
    connect(QuietTimer, &QTimer::timeout, this, [this] {
        try {
            QuietUpdateTimer();
        } catch (const std::exception& E) {
            ReportUiError(E);
        }
    });
    connect(IncrementMenu, &QMenu::aboutToShow, this, [this] { TickIncrementMenu(); });
    Edit->OnEnter = [this](bool ByMouse) {
        if (AutoSelect && !ByMouse) Edit->selectAll();
    };
    Edit->OnExit = [this] { DoExit(); };
    Button->OnUpClick = [this](QObject*) { Increase(); };
    Button->OnDownClick = [this](QObject*) { Decrease(); };
    Button->OnDragIncrement = [this](QObject*, int N) { DragIncrement(N); };
    Button->OnMouseDown = [this](QObject*) { ButtonMouseDown(); };
    Button->OnMouseUp = [this](QObject*) { ButtonMouseUp(); };

    SetValue(0);
    BuildIncrementMenu();
    GetThemeServer().Bind(this, tcEdit);
    LayoutParts();
}

TVkSpinEdit::~TVkSpinEdit() {
    // The box's last signals must not reach a half-destroyed control.
    disconnect(Edit, nullptr, this, nullptr);
    OnChange = nullptr;
}

template <class F>
void TVkSpinEdit::WithoutNotify(F&& Action) {
    Notify = false;
    try {
        Action();
    } catch (...) {
        Notify = true;
        throw;
    }
    Notify = true;
}

float TVkSpinEdit::GetValue() const {
    float Value = 0;
    if (SpinTextToValue(Edit->text().toStdString(), Value)) return Value;
    return MinValue;
}

void TVkSpinEdit::SetValue(float Value) {
    const float V = ClampValue(Value);
    Edit->setText(QString::fromStdString(SpinValueText(V, SpinType, Precision)));
    Edit->repaint();
}

int TVkSpinEdit::GetValueI() const { return TruncToInteger(GetValue()); }

bool TVkSpinEdit::Focused() const { return Edit->hasFocus(); }

void TVkSpinEdit::SetValueQuietly(float V) {
    if (Focused()) {
        PendingValue = V;
        QuietTimer->start(QuietValueUpdateDelay);
        return;
    }
    WithoutNotify([&] { SetValue(V); });
}

void TVkSpinEdit::QuietUpdateTimer() {
    WithoutNotify([&] { SetValue(PendingValue); });
    QuietTimer->stop();
}

void TVkSpinEdit::EditChanged() {
    QuietTimer->stop();
    if (OnChange && Notify) OnChange(this);
}

void TVkSpinEdit::Increase() {
    if (GetReadOnly()) {
        QApplication::beep();
        return;
    }
    SetValue(GetValue() + Increment);
}

void TVkSpinEdit::Decrease() {
    if (GetReadOnly()) {
        QApplication::beep();
        return;
    }
    SetValue(GetValue() - Increment);
}

void TVkSpinEdit::SetSpinType(TVkSpinType Value) {
    SpinType = Value;
    Edit->SpinType = Value;
    if (SpinType == spInteger) Increment = std::trunc(Increment);
    SetValue(GetValue());
    BuildIncrementMenu();
}

void TVkSpinEdit::SetIncrement(float Value) { Increment = SpinType == spInteger ? std::trunc(Value) : Value; }

void TVkSpinEdit::SetPrecision(int Value) {
    Precision = Value;
    WithoutNotify([&] { SetValue(GetValue()); });
}

bool TVkSpinEdit::GetReadOnly() const { return Edit->isReadOnly(); }

void TVkSpinEdit::SetReadOnly(bool Value) {
    Edit->setReadOnly(Value);
    UpdateButtonEnabled();
}

int TVkSpinEdit::GetMaxLength() const { return Edit->maxLength(); }

void TVkSpinEdit::SetMaxLength(int Value) { Edit->setMaxLength(Value > 0 ? Value : 32767); }

void TVkSpinEdit::SetBorderStyle(TBorderStyle Value) {
    if (Value == BorderStyle) return;
    BorderStyle = Value;
    LayoutParts();
    update();
}

void TVkSpinEdit::SetColor(TColor Value) {
    Color = Value;
    QPalette Palette = Edit->palette();
    Palette.setColor(QPalette::Base, ColorToQColor(Value));
    Edit->setPalette(Palette);
    update();
}

void TVkSpinEdit::UpdateButtonEnabled() { Button->setEnabled(isEnabled() && !GetReadOnly()); }

void TVkSpinEdit::ButtonMouseDown() {
    DragStartValue = GetValue();
    Notify = ChangeWhileDragging;
}

void TVkSpinEdit::ButtonMouseUp() {
    DragStartValue = GetValue();
    Notify = true;
    // One change for the whole press when the changes were held back while it lasted.
    if (!ChangeWhileDragging) EditChanged();
}

void TVkSpinEdit::DragIncrement(int N) { SetValue(static_cast<float>(N) * Increment + DragStartValue); }

void TVkSpinEdit::DoExit() {
    const float V = GetValue();
    if (V != ClampValue(V)) SetValue(V);
}

void TVkSpinEdit::AddIncrementItem(const char* Caption, int Tag) {
    QAction* Item = IncrementMenu->addAction(Caption);
    Item->setData(Tag);
    Item->setCheckable(true);
    if (std::string_view(Caption) == "-") {
        Item->setSeparator(true);
        return;
    }
    connect(Item, &QAction::triggered, this, [this, Tag] { SetIncrement(static_cast<float>(std::pow(10.0, Tag))); });
}

void TVkSpinEdit::BuildIncrementMenu() {
    IncrementMenu->clear();
    if (SpinType == spFloat) {
        AddIncrementItem("0.001", -3);
        AddIncrementItem("0.010", -2);
        AddIncrementItem("0.100", -1);
        AddIncrementItem("-", 0);
    }
    AddIncrementItem("1", 0);
    AddIncrementItem("10", 1);
    AddIncrementItem("100", 2);
}

void TVkSpinEdit::TickIncrementMenu() {
    int Tag = 0;
    const bool Any = IncrementMenuTag(Increment, Tag);
    for (QAction* Item : IncrementMenu->actions()) Item->setChecked(Any && Item->data().toInt() == Tag);
}

void TVkSpinEdit::LayoutParts() {
    const int BW = Button->width();
    if (BorderStyle == bsSingle)
        Button->setGeometry(width() - BW - 1, 1, BW, height() - 2);
    else
        Button->setGeometry(width() - BW, 0, BW, height());
    Edit->setGeometry(2, 3, width() - BW - 4, height() - 5);
}

void TVkSpinEdit::resizeEvent(QResizeEvent* Event) {
    TVkThemeControl::resizeEvent(Event);
    LayoutParts();
}

void TVkSpinEdit::paintEvent(QPaintEvent*) {
    QPainter Canvas(this);
    const QRect R = rect();
    if (BorderStyle == bsNone) {
        Canvas.fillRect(R, ColorToQColor(Color));
        return;
    }
    if (GetThemeServer().DrawBackground(Canvas, 1, isEnabled() ? 1 : tsDisabled, R, nullptr) == 0) return;
    // The classic sunken client edge: two lines on every side, the rest in the control's colour.
    Canvas.fillRect(R, ColorToQColor(Color));
    const auto Edge = [&](const QRect& E, TColor TopLeft, TColor BottomRight) {
        Canvas.setPen(ColorToQColor(TopLeft));
        Canvas.drawLine(E.topLeft(), E.topRight());
        Canvas.drawLine(E.topLeft(), E.bottomLeft());
        Canvas.setPen(ColorToQColor(BottomRight));
        Canvas.drawLine(E.bottomLeft(), E.bottomRight());
        Canvas.drawLine(E.topRight(), E.bottomRight());
    };
    Edge(R, clBtnShadow, clBtnHighlight);
    Edge(R.adjusted(1, 1, -1, -1), cl3DDkShadow, cl3DLight);
}

void TVkSpinEdit::wheelEvent(QWheelEvent* Event) {
    if (Event->angleDelta().y() > 0)
        Increase();
    else
        Decrease();
    Event->accept();
}

void TVkSpinEdit::changeEvent(QEvent* Event) {
    TVkThemeControl::changeEvent(Event);
    if (Event->type() == QEvent::EnabledChange) UpdateButtonEnabled();
}

void TVkSpinEdit::contextMenuEvent(QContextMenuEvent* Event) { IncrementMenu->popup(Event->globalPos()); }

void SetSpinValueIWithoutChange(TVkSpinEdit& SpinEdit, int Value) {
    TNotifyEvent Saved = std::move(SpinEdit.OnChange);
    SpinEdit.OnChange = nullptr;
    try {
        SpinEdit.SetValueI(Value);
    } catch (...) {
        SpinEdit.OnChange = std::move(Saved);
        throw;
    }
    SpinEdit.OnChange = std::move(Saved);
}

}  // namespace sarnova
