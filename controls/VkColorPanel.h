// A colour swatch: it shows its colour and a click lets the user pick another in the colour dialog.
#pragma once
#include <QWidget>

#include "foundation/Colors.h"
#include "controls/VkControls.h"

namespace sarnova {

class TVkColorPanel : public QWidget {
    Q_OBJECT
public:
    explicit TVkColorPanel(QWidget* Parent = nullptr);

    TColor GetColor() const { return Color; }
    // Repaints; OnChange is the user's choice only.
    void SetColor(TColor Value);

    // The colour dialog preset with Color; on OK the chosen colour is taken and OnChange fires.
    void Click();

    TNotifyEvent OnChange;

protected:
    void paintEvent(QPaintEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void changeEvent(QEvent* Event) override;

private:
    TColor Color = clWhite;
    bool Pressed = false;
};

}  // namespace sarnova
