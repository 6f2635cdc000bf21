// Helpers of the shell's window tests.
#pragma once
#include <QCoreApplication>
#include <QEvent>

namespace sarnova {

// Lets posted work run and frees what was deleted later, as the event loop would between events.
inline void Settle() {
    for (int I = 0; I < 4; ++I) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

}  // namespace sarnova
