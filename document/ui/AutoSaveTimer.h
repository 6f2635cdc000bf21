// The file manager's auto-save timer on the event loop: a QTimer that runs while the manager says so
// and calls its tick.
#pragma once
#include <QObject>
#include <QTimer>

namespace sarnova {

class TFileManager;

class TAutoSaveTimer : public QObject {
public:
    // Takes the manager's OnAutoSaveTimerChange and gives it back empty when destroyed, so the
    // manager must outlive this object.
    explicit TAutoSaveTimer(TFileManager& Manager, QObject* Parent = nullptr);
    ~TAutoSaveTimer() override;

    const QTimer& Timer() const { return FTimer; }

private:
    // Starts, stops or re-times the timer from the manager's state.
    void Follow();
    void Tick();

    TFileManager& FManager;
    QTimer FTimer;
};

}  // namespace sarnova
