// A list of named colours, each item drawn with a swatch of its colour before its name; a double click
// lets the user pick another colour for the current item.
#pragma once
#include <QListWidget>

#include <functional>
#include <string>

#include "foundation/Colors.h"

namespace sarnova {

// (Sender, index, name, colour) of a colour the user changed.
using TVkColorChangeEvent = std::function<void(QObject* Sender, int AIndex, const std::string& AName, TColor AColor)>;

class TVkColorListBox : public QListWidget {
    Q_OBJECT
public:
    explicit TVkColorListBox(QWidget* Parent = nullptr);

    // The colour of the item of that name (letter case ignored), appended when there is none.
    void SetColorByName(const std::string& Name, TColor Colour);
    // -1 when no item has that name.
    int IndexOfName(const std::string& Name) const;
    TColor ItemColor(int Index) const;
    // Stores and repaints.
    void SetItemColor(int Index, TColor Colour);
    // The colour dialog for the current item, preset to its colour; a confirmed choice is stored and
    // reported through OnChange. Nothing without a current item.
    void EditColor();

    TVkColorChangeEvent OnChange;

protected:
    virtual void DoChange(int Index, const std::string& Name, TColor Colour);
    void mouseDoubleClickEvent(QMouseEvent* Event) override;
};

}  // namespace sarnova
