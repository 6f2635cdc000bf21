// A drag of a dock form: finds what lies under the cursor, outlines where the form would go, and docks
// or floats the form where it is released.
#pragma once
#include <QPoint>
#include <QRect>

#include <memory>

class QRubberBand;

namespace sarnova {

class TVkDockForm;
class TVkDockPanel;
class TVkDockSiteForm;

// What a drop at a point would meet: a site, a panel, the dragged form's own place (Stay), or nothing.
struct TVkDockTarget {
    TVkDockSiteForm* Site = nullptr;
    TVkDockPanel* Panel = nullptr;
    bool Stay = false;
    bool Accepted = false;
    QRect Preview;
};

// Sites first (the newest on top), then the panels of free tool windows, then the main window's edges.
TVkDockTarget FindDockTarget(TVkDockForm* Source, QPoint ScreenPoint);
// What releasing a drag of Source at ScreenPoint does: docks it where it is accepted, else floats it
// at FloatRect. A page dragged out but released inside its own tabbed site stays.
void DropDockForm(TVkDockForm* Source, QPoint ScreenPoint, const QRect& FloatRect);

class TVkDockDrag {
public:
    // GrabOffset: where the cursor holds the form, from the top-left corner of its floating frame.
    TVkDockDrag(TVkDockForm* Source, QPoint GrabOffset);
    ~TVkDockDrag();
    void Move(QPoint ScreenPoint);
    void Drop(QPoint ScreenPoint);

private:
    QRect FloatRectAt(QPoint ScreenPoint) const;

    TVkDockForm* Source;
    QPoint GrabOffset;
    std::unique_ptr<QRubberBand> Outline;
};

}  // namespace sarnova
