#include "controls/VkColorListBox.h"

#include <QColorDialog>
#include <QPainter>
#include <QStyledItemDelegate>

#include "foundation/TextUtils.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtMenus.h"

namespace sarnova {

namespace {

constexpr int ColorRole = Qt::UserRole;
constexpr int ItemHeight = 16;

// Items of a fixed height: the selection colour or the list's, a black-edged square swatch, then the
// name centred vertically.
class TColorItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override {
        return {QStyledItemDelegate::sizeHint(Option, Index).width(), ItemHeight};
    }

    void paint(QPainter* Canvas, const QStyleOptionViewItem& Option, const QModelIndex& Index) const override {
        const QRect R = Option.rect;
        const bool Selected = Option.state & QStyle::State_Selected;
        const QPalette& Palette = Option.palette;
        Canvas->save();
        Canvas->fillRect(R, Selected ? Palette.highlight() : Palette.base());
        const QRect Swatch(QPoint(R.left() + 1, R.top() + 1), QPoint(R.left() + R.height() - 2, R.bottom() - 1));
        Canvas->setPen(Qt::black);
        Canvas->setBrush(ColorToQColor(static_cast<TColor>(Index.data(ColorRole).toUInt())));
        Canvas->drawRect(Swatch.adjusted(0, 0, -1, -1));
        Canvas->setPen(Selected ? Palette.highlightedText().color() : Palette.text().color());
        Canvas->setFont(Option.font);
        const int Height = Canvas->fontMetrics().height();
        const QPoint TextAt(R.left() + R.height() + 2, (R.top() + R.bottom() + 1 - Height) / 2);
        Canvas->drawText(QRect(TextAt, QSize(R.right() - TextAt.x(), Height)), Qt::AlignLeft | Qt::AlignTop,
                         Index.data(Qt::DisplayRole).toString());
        Canvas->restore();
    }
};

}  // namespace

TVkColorListBox::TVkColorListBox(QWidget* Parent) : QListWidget(Parent) {
    setItemDelegate(new TColorItemDelegate(this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void TVkColorListBox::SetColorByName(const std::string& Name, TColor Colour) {
    const int Index = IndexOfName(Name);
    if (Index >= 0) {
        SetItemColor(Index, Colour);
        return;
    }
    auto* Item = new QListWidgetItem(QString::fromStdString(Name), this);
    Item->setData(ColorRole, static_cast<uint>(Colour));
}

int TVkColorListBox::IndexOfName(const std::string& Name) const {
    const std::string Wanted = UpperCase(Name);
    for (int I = 0; I < count(); ++I)
        if (UpperCase(item(I)->text().toStdString()) == Wanted) return I;
    return -1;
}

TColor TVkColorListBox::ItemColor(int Index) const {
    const QListWidgetItem* Item = item(Index);
    return Item ? static_cast<TColor>(Item->data(ColorRole).toUInt()) : 0;
}

void TVkColorListBox::SetItemColor(int Index, TColor Colour) {
    if (QListWidgetItem* Item = item(Index)) Item->setData(ColorRole, static_cast<uint>(Colour));
    viewport()->update();
}

void TVkColorListBox::EditColor() {
    const int Index = currentRow();
    if (Index < 0) return;
    const QColor Chosen = QColorDialog::getColor(ColorToQColor(ItemColor(Index)), this);
    if (!Chosen.isValid()) return;
    const TColor Colour = RGBColor(Chosen.red(), Chosen.green(), Chosen.blue());
    SetItemColor(Index, Colour);
    DoChange(Index, item(Index)->text().toStdString(), Colour);
}

void TVkColorListBox::DoChange(int Index, const std::string& Name, TColor Colour) {
    if (OnChange) OnChange(this, Index, Name, Colour);
}

void TVkColorListBox::mouseDoubleClickEvent(QMouseEvent* Event) {
    QListWidget::mouseDoubleClickEvent(Event);
    RunMenuCommand([this] { EditColor(); });
}

}  // namespace sarnova
