#include "controls/ColCombo.h"

#include <QPainter>
#include <QStyledItemDelegate>
#include <QStylePainter>

#include "foundation/ColorNames.h"
#include "platform/qt/QtCanvas.h"

namespace sarnova {

namespace {

constexpr int ColorRole = Qt::UserRole + 1;

// Colours count as equal when they show the same red, green and blue (system colours as the palette
// gives them).
bool SameRGB(TColor A, TColor B) { return (ColorToQColor(A).rgb() & 0xFFFFFF) == (ColorToQColor(B).rgb() & 0xFFFFFF); }

// Draws the list's items through the combo box, so that the open list and the closed box agree.
class TColorItemDelegate : public QStyledItemDelegate {
public:
    explicit TColorItemDelegate(TCustomColorComboBox* Combo) : QStyledItemDelegate(Combo), Combo(Combo) {}

    void paint(QPainter* Painter, const QStyleOptionViewItem& Option, const QModelIndex& Index) const override {
        const bool Selected = Option.state & QStyle::State_Selected;
        Painter->fillRect(Option.rect, Option.palette.color(Selected ? QPalette::Highlight : QPalette::Base));
        Painter->setPen(Option.palette.color(Selected ? QPalette::HighlightedText : QPalette::Text));
        Combo->DrawItem(*Painter, Index.row(), Option.rect, Selected);
    }
    QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex&) const override {
        return {Combo->GetPictureWidth() + 60, Option.fontMetrics.height() + 4};
    }

private:
    TCustomColorComboBox* Combo;
};

}  // namespace

std::string StandardColorName(int Index) {
    if (Index < 0 || Index >= static_cast<int>(StandardColorTable.size())) return {};
    return ColorToString(StandardColorTable[static_cast<std::size_t>(Index)]).substr(2);
}

TCustomColorComboBox::TCustomColorComboBox(QWidget* Parent) : QComboBox(Parent) {
    setItemDelegate(new TColorItemDelegate(this));
    connect(this, &QComboBox::activated, this, [this] {
        Click();
        if (OnChange) OnChange(this);
    });
    PopulateItems();
}

int TCustomColorComboBox::GetColorCount() {
    int Num = static_cast<int>(StandardColorTable.size());
    if (OnGetColorNum) OnGetColorNum(this, Num);
    return Num;
}

void TCustomColorComboBox::GetColorItem(int Index, TColor& Color, std::string& ColorName) {
    if (Index >= 0 && Index < static_cast<int>(StandardColorTable.size())) {
        Color = StandardColorTable[static_cast<std::size_t>(Index)];
        ColorName = StandardColorName(Index);
    }
    if (OnGetColor) OnGetColor(this, Index, Color, ColorName);
}

void TCustomColorComboBox::PopulateItems() {
    const QSignalBlocker Block(this);
    clear();
    const int Count = GetColorCount();
    int Selected = -1;
    for (int I = 0; I < Count; ++I) {
        TColor Color = clBlack;
        std::string Name;
        GetColorItem(I, Color, Name);
        addItem(QString::fromStdString(Name), static_cast<int>(Color));
        setItemData(I, static_cast<int>(Color), ColorRole);
        if (SameRGB(Color, SelectedColor)) Selected = I;
    }
    setCurrentIndex(Selected);
}

TColor TCustomColorComboBox::ItemColor(int Index) const {
    return static_cast<TColor>(itemData(Index, ColorRole).toInt());
}

void TCustomColorComboBox::SetSelectedColor(TColor Value) {
    SelectedColor = Value;
    int Selected = -1;
    for (int I = count() - 1; I >= 0; --I)
        if (SameRGB(ItemColor(I), Value)) {
            Selected = I;
            break;
        }
    const QSignalBlocker Block(this);
    setCurrentIndex(Selected);
    update();
}

void TCustomColorComboBox::SetPictureWidth(int Value) {
    if (Value == PictureWidth) return;
    PictureWidth = Value;
    update();
}

void TCustomColorComboBox::Click() {
    if (currentIndex() >= 0) SetSelectedColor(ItemColor(currentIndex()));
    if (OnClick) OnClick(this);
}

void TCustomColorComboBox::DrawItem(QPainter& Canvas, int Index, const QRect& Rect, bool Selected) {
    QRect R = Rect.adjusted(3, 0, -3, 0);
    const int Picture = GetPictureWidth();
    if (Picture > 0) {
        const QRect Swatch(R.left(), R.top() + 2, Picture, R.height() - 4);
        Canvas.save();
        Canvas.setBrush(ColorToQColor(ItemColor(Index)));
        Canvas.drawRect(Swatch.adjusted(0, 0, -1, -1));
        Canvas.restore();
        R.setLeft(Swatch.right() + 1 + 3);
    }
    Canvas.drawText(R, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, itemText(Index));
    if (OnDrawItem) OnDrawItem(this, Index, Rect, Selected);
}

void TCustomColorComboBox::paintEvent(QPaintEvent*) {
    QStylePainter Painter(this);
    QStyleOptionComboBox Option;
    initStyleOption(&Option);
    Option.currentText.clear();
    Option.currentIcon = QIcon();
    Painter.drawComplexControl(QStyle::CC_ComboBox, Option);
    if (currentIndex() < 0) return;
    const QRect Field = style()->subControlRect(QStyle::CC_ComboBox, &Option, QStyle::SC_ComboBoxEditField, this);
    Painter.setPen(palette().color(QPalette::ButtonText));
    DrawItem(Painter, currentIndex(), Field, false);
}

}  // namespace sarnova
