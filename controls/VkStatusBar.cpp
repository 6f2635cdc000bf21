#include "controls/VkStatusBar.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QToolTip>
#include <qdrawutil.h>

#include "foundation/Errors.h"
#include "platform/qt/QtCanvas.h"

namespace sarnova {

namespace {

// Pixels between two parts of the bar, and above the parts.
constexpr int PartGap = 2;
constexpr int PartTop = 2;

QString PanelText(const std::string& Text) {
    return QString::fromStdString(Text).left(StatusPanelTextLimit);
}

}  // namespace

// ---- TVkStatusPanel ----

TVkStatusPanel::TVkStatusPanel(TVkStatusPanels& ACollection)
    : Collection(ACollection), Font(ACollection.GetBar().font()), Color(ACollection.GetBar().GetColor()) {}

int TVkStatusPanel::GetIndex() const { return Collection.IndexOf(this); }

TVkStatusBar* TVkStatusPanel::GetStatusBar() const { return &Collection.GetBar(); }

void TVkStatusPanel::Changed() { Collection.GetBar().PanelsChanged(); }

void TVkStatusPanel::SetText(const std::string& Value) {
    Text = Value;
    Redraw();
}

void TVkStatusPanel::SetWidth(int Value) {
    if (Value == Width) return;
    Width = Value;
    Changed();
}

void TVkStatusPanel::SetAlignment(TAlignment Value) {
    if (Value == Alignment) return;
    Alignment = Value;
    Changed();
}

void TVkStatusPanel::SetBevel(TStatusPanelBevel Value) {
    if (Value == Bevel) return;
    Bevel = Value;
    Changed();
}

void TVkStatusPanel::SetStyle(TStatusPanelStyle Value) {
    if (Value == Style) return;
    Style = Value;
    Changed();
}

const QFont& TVkStatusPanel::GetFont() {
    if (ParentFont) Font = Collection.GetBar().font();
    return Font;
}

void TVkStatusPanel::SetFont(const QFont& Value) {
    Font = Value;
    ParentFont = false;
    Changed();
}

TColor TVkStatusPanel::GetColor() const { return ParentColor ? Collection.GetBar().GetColor() : Color; }

void TVkStatusPanel::SetColor(TColor Value) {
    if (Value == Color) return;
    Color = Value;
    ParentColor = false;
    Changed();
}

void TVkStatusPanel::SetParentColor(bool Value) {
    if (Value == ParentColor) return;
    ParentColor = Value;
    Changed();
}

void TVkStatusPanel::SetParentFont(bool Value) {
    if (Value == ParentFont) return;
    ParentFont = Value;
    Changed();
}

void TVkStatusPanel::SetGrayed(bool Value) {
    if (Value == Grayed) return;
    Grayed = Value;
    Changed();
}

void TVkStatusPanel::SetProgressBar(QProgressBar* Value) {
    if (Value == nullptr) {
        ProgressBar = nullptr;
        return;
    }
    TVkStatusBar& Bar = Collection.GetBar();
    if (Value == ProgressBar || Value->parentWidget() != &Bar) return;
    for (int I = 0; I < Collection.Count(); ++I)
        if (Collection.Item(I)->GetProgressBar() == Value) return;
    ProgressBar = Value;
    Value->setGeometry(PanelRect().adjusted(2, 2, -2, -2));
}

void TVkStatusPanel::Assign(const TVkStatusPanel& Source) {
    if (&Source == this) return;
    Text = Source.Text;
    Width = Source.Width;
    Alignment = Source.Alignment;
    Bevel = Source.Bevel;
    Style = Source.Style;
    SetFont(Source.ParentFont ? Source.Collection.GetBar().font() : Source.Font);
    SetColor(Source.GetColor());
    ParentColor = Source.ParentColor;
    ParentFont = Source.ParentFont;
    PopupMenu = Source.PopupMenu;
    OnClick = Source.OnClick;
    OnDblClick = Source.OnDblClick;
    Grayed = Source.Grayed;
    Hint = Source.Hint;
    Changed();
}

QRect TVkStatusPanel::PanelRect() const { return Collection.GetBar().PartRect(GetIndex()); }

void TVkStatusPanel::Redraw() {
    TVkStatusBar& Bar = Collection.GetBar();
    // Drawn at once, not at the next paint cycle.
    if (Bar.isVisible()) Bar.repaint(PanelRect());
}

void TVkStatusPanel::FitText() {
    const QFontMetrics Metrics(GetFont());
    const int Needed = Metrics.horizontalAdvance(PanelText(Text)) + 8;
    if (Width < Needed) SetWidth(Needed);
}

void TVkStatusPanel::DoClick() {
    if (OnClick) OnClick(&Collection.GetBar(), GetIndex(), this);
}

void TVkStatusPanel::DoDblClick() {
    if (OnDblClick) OnDblClick(&Collection.GetBar(), GetIndex(), this);
}

void TVkStatusPanel::Draw(const QRect& R, QPainter& Canvas) {
    if (ProgressBar && ProgressBar->geometry() != R) ProgressBar->setGeometry(R);
    const QString Shown = PanelText(Text);
    if (!ParentColor) Canvas.fillRect(R, ColorToQColor(Color));
    Canvas.save();
    Canvas.setFont(GetFont());
    const QFontMetrics Metrics(Canvas.font());
    const int TextWidth = Metrics.horizontalAdvance(Shown);
    int X = R.left() + 1;
    if (Alignment == taRightJustify)
        X = R.left() + R.width() - TextWidth - 1;
    else if (Alignment == taCenter)
        X = (R.left() + R.left() + R.width() - TextWidth) / 2;
    const int Baseline = R.top() + 1 + Metrics.ascent();
    const QPalette Palette = Collection.GetBar().palette();
    if (Grayed) {
        // The disabled look: the text embossed, light under dark.
        Canvas.setPen(Palette.color(QPalette::Light));
        Canvas.drawText(X + 1, Baseline + 1, Shown);
        Canvas.setPen(Palette.color(QPalette::Disabled, QPalette::WindowText));
    } else {
        Canvas.setPen(Palette.color(QPalette::Active, QPalette::WindowText));
    }
    Canvas.drawText(X, Baseline, Shown);
    Canvas.restore();
}

// ---- TVkStatusPanels ----

TVkStatusPanel* TVkStatusPanels::Add() {
    Items.push_back(std::make_unique<TVkStatusPanel>(*this));
    Bar.PanelsChanged();
    return Items.back().get();
}

TVkStatusPanel* TVkStatusPanels::Item(int Index) const {
    if (Index < 0 || Index >= Count()) throw EError("List index out of bounds (" + std::to_string(Index) + ")");
    return Items[static_cast<std::size_t>(Index)].get();
}

void TVkStatusPanels::Delete(int Index) {
    TVkStatusPanel* Panel = Item(Index);
    Bar.PanelRemoved(Panel);
    Items.erase(Items.begin() + Index);
    Bar.PanelsChanged();
}

void TVkStatusPanels::Clear() {
    while (!Items.empty()) {
        Bar.PanelRemoved(Items.back().get());
        Items.pop_back();
    }
    Bar.PanelsChanged();
}

int TVkStatusPanels::IndexOf(const TVkStatusPanel* Panel) const {
    for (std::size_t I = 0; I < Items.size(); ++I)
        if (Items[I].get() == Panel) return static_cast<int>(I);
    return -1;
}

// ---- TVkStatusBar ----

TVkStatusBar::TVkStatusBar(QWidget* Parent) : QStatusBar(Parent), FPanels(std::make_unique<TVkStatusPanels>(*this)) {
    setMouseTracking(true);
}

TVkStatusBar::~TVkStatusBar() {
    HotPanel = nullptr;
    FPanels.reset();
}

void TVkStatusBar::SetColor(TColor Value) {
    Color = Value;
    update();
}

QRect TVkStatusBar::PartRect(int Index) const {
    if (!FPanels || Index < 0 || Index >= FPanels->Count()) return {};
    int Left = 0;
    for (int I = 0; I < Index; ++I) Left += FPanels->Item(I)->GetWidth() + PartGap;
    // The last part reaches the bar's right edge.
    const int Right = Index == FPanels->Count() - 1 ? width() : Left + FPanels->Item(Index)->GetWidth();
    return QRect(QPoint(Left, PartTop), QPoint(std::max(Left, Right) - 1, height() - 1));
}

TVkStatusPanel* TVkStatusBar::PanelAtPoint(const QPoint& Point) const {
    for (int I = 0; I < FPanels->Count(); ++I)
        if (FPanels->Item(I)->PanelRect().contains(Point)) return FPanels->Item(I);
    return nullptr;
}

void TVkStatusBar::FitPanels() {
    for (int I = 0; I < FPanels->Count(); ++I) FPanels->Item(I)->FitText();
}

void TVkStatusBar::DrawPanel(TVkStatusPanel& Panel, const QRect& Rect) {
    QPainter Canvas(this);
    Canvas.setClipRect(Rect);
    Panel.Draw(Rect, Canvas);
}

void TVkStatusBar::PanelsChanged() {
    if (!FPanels) return;
    for (int I = 0; I < FPanels->Count(); ++I) {
        TVkStatusPanel* Panel = FPanels->Item(I);
        if (QProgressBar* Progress = Panel->GetProgressBar())
            Progress->setGeometry(Panel->PanelRect().adjusted(1, 1, -1, -1));
    }
    update();
}

void TVkStatusBar::PanelRemoved(TVkStatusPanel* Panel) {
    if (HotPanel == Panel) HotPanel = nullptr;
}

QMenu* TVkStatusBar::CurrentPopupMenu() const {
    if (HotPanel && HotPanel->GetPopupMenu()) return HotPanel->GetPopupMenu();
    return PopupMenu;
}

std::string TVkStatusBar::CurrentHint() const {
    if (HotPanel && !HotPanel->Hint.empty()) return HotPanel->Hint;
    return Hint;
}

void TVkStatusBar::paintEvent(QPaintEvent* Event) {
    {
        QPainter Canvas(this);
        Canvas.fillRect(rect(), ColorToQColor(Color));
        for (int I = 0; I < FPanels->Count(); ++I) {
            TVkStatusPanel* Panel = FPanels->Item(I);
            const QRect R = Panel->PanelRect();
            if (!R.intersects(Event->rect()) || Panel->GetBevel() == pbNone) continue;
            qDrawShadePanel(&Canvas, R, palette(), Panel->GetBevel() == pbLowered, 1);
        }
    }
    for (int I = 0; I < FPanels->Count(); ++I) {
        TVkStatusPanel* Panel = FPanels->Item(I);
        const QRect R = Panel->PanelRect().adjusted(1, 1, -1, -1);
        if (R.intersects(Event->rect())) DrawPanel(*Panel, R);
    }
}

void TVkStatusBar::mousePressEvent(QMouseEvent* Event) {
    if (Event->button() == Qt::LeftButton || Event->button() == Qt::RightButton)
        HotPanel = PanelAtPoint(Event->position().toPoint());
    if (Event->button() == Qt::LeftButton) LeftPressed = true;
    QStatusBar::mousePressEvent(Event);
}

void TVkStatusBar::mouseMoveEvent(QMouseEvent* Event) {
    if (ShowHint) {
        TVkStatusPanel* Panel = PanelAtPoint(Event->position().toPoint());
        if (Panel != HotPanel) {
            HotPanel = Panel;
            // The hint shown belongs to the panel left behind.
            QToolTip::hideText();
        }
    }
    QStatusBar::mouseMoveEvent(Event);
}

void TVkStatusBar::mouseReleaseEvent(QMouseEvent* Event) {
    const bool Clicked = Event->button() == Qt::LeftButton && LeftPressed && rect().contains(Event->position().toPoint());
    if (Event->button() == Qt::LeftButton) LeftPressed = false;
    QStatusBar::mouseReleaseEvent(Event);
    if (!Clicked) return;
    if (HotPanel) HotPanel->DoClick();
    if (OnClick) OnClick(this);
}

void TVkStatusBar::mouseDoubleClickEvent(QMouseEvent* Event) {
    if (Event->button() != Qt::LeftButton) {
        QStatusBar::mouseDoubleClickEvent(Event);
        return;
    }
    HotPanel = PanelAtPoint(Event->position().toPoint());
    if (HotPanel) HotPanel->DoDblClick();
    if (OnDblClick) OnDblClick(this);
}

void TVkStatusBar::contextMenuEvent(QContextMenuEvent* Event) {
    if (Event->reason() == QContextMenuEvent::Mouse) HotPanel = PanelAtPoint(Event->pos());
    if (QMenu* Menu = CurrentPopupMenu()) {
        Menu->popup(Event->globalPos());
        Event->accept();
        return;
    }
    QStatusBar::contextMenuEvent(Event);
}

bool TVkStatusBar::event(QEvent* Event) {
    if (Event->type() == QEvent::ToolTip) {
        auto* Help = static_cast<QHelpEvent*>(Event);
        const std::string Text = ShowHint ? CurrentHint() : std::string();
        if (Text.empty())
            QToolTip::hideText();
        else
            QToolTip::showText(Help->globalPos(), QString::fromStdString(Text), this,
                               HotPanel ? HotPanel->PanelRect() : QRect());
        return true;
    }
    return QStatusBar::event(Event);
}

}  // namespace sarnova
