// Helpers of the shell's window tests.
#pragma once
#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QMenu>

#include <string>
#include <vector>

#include "document/Geometry.h"

namespace sarnova {

// Lets posted work run and frees what was deleted later, as the event loop would between events.
inline void Settle() {
    for (int I = 0; I < 4; ++I) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// A menu's captions in order, "-" for a separator.
inline std::vector<std::string> MenuCaptions(const QMenu* Menu) {
    std::vector<std::string> Captions;
    for (const QAction* Action : Menu->actions())
        Captions.push_back(Action->isSeparator() ? "-" : Action->text().toStdString());
    return Captions;
}

// An entity with extents, so that a list keeps it, and a name, so that the view's popup lists it.
class TBoxEntity : public TGeometry {
public:
    explicit TBoxEntity(const std::string& Name = {}) { SetName(Name); }
    TMBox CalculateExtents() override {
        TMBox Box;
        InitEmptyBox(Box);
        ExtendBoxXYZ(Box, 0, 0, 0);
        ExtendBoxXYZ(Box, 1, 1, 1);
        return Box;
    }
};

}  // namespace sarnova
