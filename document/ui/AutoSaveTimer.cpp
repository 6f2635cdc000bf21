#include "document/ui/AutoSaveTimer.h"

#include <exception>

#include "document/Fileman.h"
#include "foundation/Console.h"

namespace sarnova {

TAutoSaveTimer::TAutoSaveTimer(TFileManager& Manager, QObject* Parent) : QObject(Parent), FManager(Manager) {
    connect(&FTimer, &QTimer::timeout, this, [this] { Tick(); });
    FManager.OnAutoSaveTimerChange = [this](TFileManager*) { Follow(); };
    Follow();
}

TAutoSaveTimer::~TAutoSaveTimer() { FManager.OnAutoSaveTimerChange = nullptr; }

void TAutoSaveTimer::Follow() {
    FTimer.setInterval(FManager.AutoSaveTimerInterval());
    if (FManager.AutoSaveTimerRunning()) {
        if (!FTimer.isActive()) FTimer.start();
    } else {
        FTimer.stop();
    }
}

void TAutoSaveTimer::Tick() {
    try {
        FManager.AutoSaveTick();
    } catch (const std::exception& E) {
        // An error may not leave a Qt slot; a failed auto-save is reported and tried again next time.
        if (GExceptionHandler) GExceptionHandler->HandleException(E);
    }
}

}  // namespace sarnova
