#include "controls/VkGroupBox.h"

#include <QApplication>
#include <QFontInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <qdrawutil.h>

#include <algorithm>

#include "controls/VkSpin.h"

namespace sarnova {

TVkGroupBoxForms GGroupBoxStates;

int GroupBoxCollapsedHeight(int FontHeight, int Border) { return (3 * (5 - FontHeight)) / 2 + 2 * Border; }

// ---- TVkGroupBoxForms ----

TVkGroupBoxFormSavedState* TVkGroupBoxForms::Find(const std::string& Owner) {
    for (TVkGroupBoxFormSavedState& Form : Forms)
        if (Form.OwnerName == Owner) return &Form;
    return nullptr;
}

TVkGroupBoxFormSavedState& TVkGroupBoxForms::FindOrAdd(const std::string& Owner) {
    if (TVkGroupBoxFormSavedState* Found = Find(Owner)) return *Found;
    Forms.push_back({Owner, {}});
    return Forms.back();
}

namespace {

// The name the box's states are kept under: its owner's. Empty when it cannot be kept.
std::string OwnerName(const TVkGroupBox& Box) {
    const QWidget* Owner = Box.parentWidget();
    return Owner ? Owner->objectName().toStdString() : std::string();
}

}  // namespace

void RegisterGroupBox(TVkGroupBox& Box) {
    const std::string Owner = OwnerName(Box);
    const std::string Name = Box.objectName().toStdString();
    // Nameless owners or boxes would share one another's states.
    if (Owner.empty() || Name.empty()) return;
    TVkGroupBoxFormSavedState& Form = GGroupBoxStates.FindOrAdd(Owner);
    for (const TVkGroupBoxSavedState& Saved : Form.States)
        if (Saved.Name == Name) {
            Box.SetState(Saved.State);
            return;
        }
    Form.States.push_back({Name, Box.GetState()});
}

void UpdateGroupBoxState(TVkGroupBox& Box) {
    TVkGroupBoxFormSavedState* Form = GGroupBoxStates.Find(OwnerName(Box));
    if (!Form) return;
    const std::string Name = Box.objectName().toStdString();
    for (TVkGroupBoxSavedState& Saved : Form->States)
        if (Saved.Name == Name) {
            Saved.State = Box.GetState();
            return;
        }
}

// ---- TVkGroupBoxManager ----

TVkGroupBoxManager::TVkGroupBoxManager(QWidget* Owner) : QObject(Owner) {}

void TVkGroupBoxManager::Loaded() {
    auto* Owner = qobject_cast<QWidget*>(parent());
    if (!Owner) return;
    for (TVkGroupBox* Box : Owner->findChildren<TVkGroupBox*>(Qt::FindDirectChildrenOnly)) {
        Box->SetManager(this);
        RegisterGroupBox(*Box);
    }
}

// ---- TVkGroupBox ----

TVkGroupBox::TVkGroupBox(QWidget* Parent) : QWidget(Parent), ThemeServer(std::make_unique<TVkThemeServer>()) {
    ThemeServer->Bind(this, tcButton);
    setMouseTracking(true);
    AdjustClientRect();
}

TVkGroupBox::TVkGroupBox(const std::string& ACaption, QWidget* Parent) : TVkGroupBox(Parent) { SetCaption(ACaption); }

TVkGroupBox::~TVkGroupBox() = default;

void TVkGroupBox::SetCaption(const std::string& Value) {
    Caption = Value;
    update();
}

int TVkGroupBox::FontHeight() const { return -QFontInfo(font()).pixelSize(); }

void TVkGroupBox::SetState(TVkGroupBoxState Value) {
    const bool Collapse = Value == gsCollapsed;
    if (Collapse == Collapsed) return;
    if (Collapse) {
        ExpandedHeight = height();
        SavedMinimumSize = minimumSize();
        SavedMaximumSize = maximumSize();
        Collapsed = true;
        setFixedHeight(GroupBoxCollapsedHeight(FontHeight(), Border));
        HiddenChildren.clear();
        for (QWidget* Child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (!Child->isHidden()) {
                HiddenChildren.push_back(Child);
                Child->hide();
            }
    } else {
        setMinimumSize(SavedMinimumSize);
        setMaximumSize(SavedMaximumSize);
        resize(width(), ExpandedHeight);
        Collapsed = false;
        const std::vector<QWidget*> Children = std::move(HiddenChildren);
        HiddenChildren.clear();
        for (QWidget* Child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (std::find(Children.begin(), Children.end(), Child) != Children.end()) Child->show();
    }
    updateGeometry();
    update();
    if (Manager) UpdateGroupBoxState(*this);
}

void TVkGroupBox::Toggle() { SetState(Collapsed ? gsExpanded : gsCollapsed); }

void TVkGroupBox::SetBorder(int Value) {
    if (Value < 0) return;
    Border = Value;
    if (Collapsed) setFixedHeight(GroupBoxCollapsedHeight(FontHeight(), Border));
    AdjustClientRect();
    update();
}

void TVkGroupBox::Loaded() {
    if (!OwnEnabled) SetChildrenEnabled(false);
    SetState(InitialState);
}

// Children lie below the caption: the text height and a 2-pixel edge, 4 more pixels at the top, and
// Border on every side.
void TVkGroupBox::AdjustClientRect() {
    const int TextHeight = fontMetrics().height();
    setContentsMargins(2 + Border, TextHeight + 2 + 4 + Border, 2 + Border, 2 + Border);
}

QRect TVkGroupBox::CaptionRect() {
    const int F = FontHeight();
    const int B = Border;
    const int Bottom = B + (ThemeServer->IsThemed() ? 7 : 5) - F;
    return QRect(QPoint(B + 12, B), QPoint(width() - B - 12 - 1, Bottom - 1));
}

void TVkGroupBox::SetChildrenEnabled(bool Value) {
    for (QWidget* Child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) Child->setEnabled(Value);
}

void TVkGroupBox::changeEvent(QEvent* Event) {
    QWidget::changeEvent(Event);
    if (Event->type() == QEvent::EnabledChange) {
        // Only the box's own switch passes to the children, not one that an ancestor's brings.
        const bool Own = !testAttribute(Qt::WA_Disabled);
        if (Own != OwnEnabled) {
            OwnEnabled = Own;
            update();
            SetChildrenEnabled(Own);
        }
    } else if (Event->type() == QEvent::FontChange) {
        AdjustClientRect();
        if (Collapsed) setFixedHeight(GroupBoxCollapsedHeight(FontHeight(), Border));
    }
}

void TVkGroupBox::paintEvent(QPaintEvent*) {
    QPainter Canvas(this);
    const int F = FontHeight();
    const QRect Frame = QRect(QPoint(0, (5 - F) / 2), QPoint(width() - 1, height() - 1))
                            .adjusted(Border, Border, -Border, -Border);
    if (ThemeServer->IsThemed()) {
        QStyleOptionFrame Option;
        Option.initFrom(this);
        Option.rect = Frame;
        Option.lineWidth = 1;
        Option.features = QStyleOptionFrame::None;
        style()->drawPrimitive(QStyle::PE_FrameGroupBox, &Option, &Canvas, this);
    } else {
        qDrawShadeRect(&Canvas, Frame, palette(), true, 1, 0);
    }
    DrawCaption(Canvas);
}

void TVkGroupBox::DrawCaption(QPainter& Canvas) {
    const QRect Button = CaptionRect();
    const bool Themed = ThemeServer->IsThemed();
    const bool Enabled = isEnabled();
    if (Themed) {
        const int State = !Enabled ? tsDisabled : CaptionPressed ? tsPressed : CaptionHot ? tsHot : 1;
        ThemeServer->DrawBackground(Canvas, 1, State, Button, nullptr);
    } else {
        const QPalette Pal = palette();
        qDrawWinButton(&Canvas, Button, Pal, CaptionPressed, &Pal.brush(QPalette::Button));
    }
    const int F = FontHeight();
    const int B = Border;
    const int X0 = 17 + (CaptionPressed ? 1 : 0);
    const int Y0 = (Themed ? 2 : 1) + (CaptionPressed ? 1 : 0);
    const QRect TextRect(QPoint(B + X0, B + Y0), QPoint(width() - B - 37 - 1, B + 4 - F - 1));
    Canvas.save();
    Canvas.setFont(font());
    const QString Shown = Canvas.fontMetrics().elidedText(QString::fromStdString(Caption), Qt::ElideRight,
                                                          std::max(0, TextRect.width()));
    const QPalette Pal = palette();
    const auto DrawEmbossed = [&](const QRect& R, const QString& Text, int Flags) {
        if (!Enabled) {
            Canvas.setPen(Pal.color(QPalette::Light));
            Canvas.drawText(R.translated(1, 1), Flags, Text);
            Canvas.setPen(Pal.color(QPalette::Disabled, QPalette::ButtonText));
        } else {
            Canvas.setPen(Pal.color(QPalette::Active, QPalette::ButtonText));
        }
        Canvas.drawText(R, Flags, Text);
    };
    DrawEmbossed(TextRect, Shown, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine);

    // The arrow: up while expanded (a click collapses), down while collapsed.
    QRect ArrowRect(QPoint(Button.right() + 1 - 16, TextRect.top()), QPoint(Button.right() + 1 - 3 - 1, TextRect.bottom()));
    if (!Themed) ArrowRect.translate(CaptionPressed ? 1 : 0, CaptionPressed ? 1 : 0);
    Canvas.restore();
    DrawArrowGlyph(Canvas, ArrowRect.adjusted(3, 2, -3, -2), !Collapsed, Enabled, Pal);
}

void TVkGroupBox::mousePressEvent(QMouseEvent* Event) {
    if (Event->button() == Qt::LeftButton && CaptionRect().contains(Event->position().toPoint())) {
        CaptionPressed = true;
        repaint();
        return;
    }
    QWidget::mousePressEvent(Event);
}

void TVkGroupBox::mouseReleaseEvent(QMouseEvent* Event) {
    if (Event->button() == Qt::LeftButton && CaptionPressed) {
        // Wherever the mouse is released.
        CaptionPressed = false;
        repaint();
        if (OnChanging) OnChanging(this);
        Toggle();
        if (OnChange) OnChange(this);
        return;
    }
    QWidget::mouseReleaseEvent(Event);
}

void TVkGroupBox::SetCaptionHot(bool Value) {
    if (Value == CaptionHot) return;
    CaptionHot = Value;
    update();
}

void TVkGroupBox::mouseMoveEvent(QMouseEvent* Event) {
    if (ThemeServer->IsThemed() && isEnabled() && Event->buttons() == Qt::NoButton &&
        Event->modifiers() == Qt::NoModifier)
        SetCaptionHot(CaptionRect().contains(Event->position().toPoint()));
    QWidget::mouseMoveEvent(Event);
}

void TVkGroupBox::leaveEvent(QEvent* Event) {
    SetCaptionHot(false);
    QWidget::leaveEvent(Event);
}

}  // namespace sarnova
