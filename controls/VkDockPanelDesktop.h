// Desktops: the arrangement of the tool windows saved to and restored from ".dsk" files through the
// docking manager, and the component that ties the automatic desktop and the named desktops to the
// main window.
#pragma once
#include <QObject>
#include <QPointer>

#include <filesystem>
#include <functional>
#include <string>

#include "controls/VkDockPanel.h"
#include "controls/VkDockPanelStream.h"

class QMenu;

namespace sarnova {

// The desktop as the docking manager holds it now.
TVkDesktop CaptureDesktop();
// Writes the current desktop to FileName (see WriteDesktopBytes for the errors).
void WriteDesktopFile(const std::filesystem::path& FileName);

class TVkDockingInterface : public QObject {
    Q_OBJECT
public:
    // Owner: the form whose creation and closing restore and save the automatic desktop. The list of
    // named desktops is scanned at once.
    explicit TVkDockingInterface(QWidget* Owner);
    ~TVkDockingInterface() override;

    // Resolves a saved tool-window name; stored here and handed to the docking manager. Reading
    // answers the manager's handler.
    TVkReloadDockedControl GetOnReloadDockedControl() const;
    void SetOnReloadDockedControl(TVkReloadDockedControl Handler);
    // After a desktop file was read, and when the file to read does not exist.
    std::function<void(TVkDockingInterface*)> OnChangeDesktop;
    bool AutoLoadSave = false;
    // The manager's desktop name, "<none>" while it is empty.
    std::string DesktopName() const;
    // The menu filled with the named desktops and "Save Desktop..."; forgotten when it is destroyed.
    QMenu* GetDesktopMenu() const;
    void SetDesktopMenu(QMenu* Menu);

    TVkDockingDesktops Desktops;

    // GUserFolder + GExeName + ".dsk".
    static std::filesystem::path DesktopFileName();
    // Restores the desktop of FileName. A file that cannot be read whole is deleted and leaves the
    // windows as they were; nothing is reported and OnChangeDesktop does not fire.
    void LoadDesktopFile(const std::filesystem::path& FileName);
    void SaveAutomaticDesktop();
    void LoadAutomaticDesktop();
    // Saves the desktop under Name (its file named after the name's file-name characters) and lists
    // it; a name of no such characters does nothing.
    void SaveDesktopAs(const std::string& Name);
    // Loads the listed desktop Name once the event loop is idle, never inside the caller's event.
    void SwitchDesktop(const std::string& Name);
    void RebuildDesktopMenu();

    // The owner's creation and closing, with AutoLoadSave: the automatic desktop is restored once
    // and saved at every close.
    void OwnerCreated();
    void OwnerClosing();

private:
    void LoadScheduledDesktop();

    QWidget* Owner;
    TVkReloadDockedControl FOnReloadDockedControl;
    QPointer<QMenu> FDesktopMenu;
    bool AutoLoaded = false;
    bool LoaderPending = false;
    int ScheduledIndex = -1;
};

}  // namespace sarnova
