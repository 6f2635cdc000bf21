// A combo box of named colours, each item with a swatch: the sixteen standard colours, or as many
// and whichever colours its owner supplies through the events.
#pragma once
#include <QComboBox>

#include <array>
#include <functional>
#include <string>

#include "foundation/Colors.h"
#include "controls/VkControls.h"

namespace sarnova {

// The standard items; an item's name is the colour's constant name without its "cl".
inline constexpr std::array<TColor, 16> StandardColorTable = {
    clBlack, clMaroon, clGreen, clOlive, clNavy, clPurple, clTeal, clGray,
    clSilver, clRed, clLime, clYellow, clBlue, clFuchsia, clAqua, clWhite};
// "Black" .. "White" for 0 .. 15; empty outside.
std::string StandardColorName(int Index);

class TCustomColorComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TCustomColorComboBox(QWidget* Parent = nullptr);

    TColor GetSelectedColor() const { return SelectedColor; }
    // Selects the last item of the same red, green and blue; none when no item has them.
    void SetSelectedColor(TColor Value);
    // 32 while the stored width is negative.
    int GetPictureWidth() const { return PictureWidth < 0 ? 32 : PictureWidth; }
    void SetPictureWidth(int Value);

    // (Sender, Num): the number of items, preset to 16.
    std::function<void(QObject* Sender, int& Num)> OnGetColorNum;
    // (Sender, Index, Color, ColorName): may change a standard item or supply one beyond 15.
    std::function<void(QObject* Sender, int Index, TColor& Color, std::string& ColorName)> OnGetColor;
    // After an item is drawn: (Sender, Index, the item's rectangle, selected).
    std::function<void(QObject* Sender, int Index, const QRect& Rect, bool Selected)> OnDrawItem;
    TNotifyEvent OnClick;
    TNotifyEvent OnChange;

    virtual int GetColorCount();
    virtual void GetColorItem(int Index, TColor& Color, std::string& ColorName);
    // Fills the list afresh and selects the item of SelectedColor.
    virtual void PopulateItems();
    void Loaded() { PopulateItems(); }

    TColor ItemColor(int Index) const;
    // The user picked an item: SelectedColor follows it, then OnClick.
    void Click();
    void DrawItem(QPainter& Canvas, int Index, const QRect& Rect, bool Selected);

protected:
    void paintEvent(QPaintEvent* Event) override;

private:
    TColor SelectedColor = clBlack;
    int PictureWidth = 32;
};

class TColorComboBox : public TCustomColorComboBox {
    Q_OBJECT
public:
    using TCustomColorComboBox::TCustomColorComboBox;
};

}  // namespace sarnova
