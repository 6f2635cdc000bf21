// The file manager of a window: its current file name and unsaved-changes flag, the New, Open, Save,
// Save As and close flows with their dialogs and prompt, the recent-file list kept in the registry and
// shown in a menu, and auto-save. It reads and writes no document itself: it fires events and the
// owning window does the work.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Menu.h"
#include "foundation/UserDialogs.h"

namespace sarnova {

class TFileManager;

using TFileNotifyEvent = std::function<void(TFileManager* Sender)>;
using TFileIoEvent = std::function<void(TFileManager* Sender, const std::string& FileName)>;
// FullName is the whole path, ShortName its name part.
using TFileUpDateEvent =
    std::function<void(TFileManager* Sender, const std::string& FullName, const std::string& ShortName)>;

// The recent list never holds more files than this.
inline constexpr int MaxRecentFiles = 5;
// The Tag of a recent-file menu item: this mark plus the file's place in the list.
inline constexpr int RecentFileItemTag = 0xFF00;

struct TFileUnit {
    std::string FileName;
};

// The recent files, entry 0 the newest. Stored under "Software\Tavik\<program>\<RegistryKey>" as
// "NumberOfFiles" and "File0", "File1" ...
class TFileUnitList {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    // Throws std::out_of_range outside 0 .. Count - 1.
    const std::string& Items(int Index) const { return FItems.at(static_cast<std::size_t>(Index)).FileName; }
    void Clear() { FItems.clear(); }

    // Puts Name first: a name already listed (same text, letter case included) moves up, a new one is
    // inserted and, with the list full, the oldest is dropped. With RegistryAccess the list is then
    // saved under RegistryKey. A relative name is listed as the absolute path it names now, so that
    // the entry still finds the file from another working folder.
    void Add(const std::string& Name, const std::string& RegistryKey, bool RegistryAccess);
    // Takes Name off the list; with RegistryAccess the list is then saved under RegistryKey.
    void Remove(const std::string& Name, const std::string& RegistryKey, bool RegistryAccess);
    // Writes the count and the names; values left over from a longer list stay in the store (the count
    // says how many are read). Registry write errors pass to the caller.
    void Save(const std::string& RegistryKey) const;
    // Replaces the list with the stored one, without the names that are empty or whose file no longer
    // exists.
    void Load(const std::string& RegistryKey);

private:
    std::vector<TFileUnit> FItems;
};

// Every living file manager, so that a new recent file shows in the menus of every window. Holds the
// managers without owning them; each joins at creation and leaves at destruction.
class TFileManagerServer {
public:
    void Add(TFileManager* Manager);
    void Remove(TFileManager* Manager);
    int Count() const { return static_cast<int>(FManagers.size()); }
    // RefreshMRUMenu on every manager, in the order they joined.
    void RefreshAll();

private:
    std::vector<TFileManager*> FManagers;
};

// Created while the program loads, like the console, so it exists before any window.
extern std::unique_ptr<TFileManagerServer> GFileManagerServer;

// The file auto-save writes for FileName: beside it, "hull.geo" giving "hull.autosave.geo", so the
// open dialog of the same kind of file finds it.
std::string AutoSaveFileName(const std::string& FileName);

class TFileManager {
public:
    // Dialogs shows the prompt, the file dialogs and the message boxes; it must outlive the manager.
    explicit TFileManager(IUserDialogs& Dialogs);
    // With the timer made (Loaded ran), saves the auto-save settings first; registry errors are
    // dropped here. Recent-file items it made do nothing once it is gone, whichever dies first.
    ~TFileManager();
    TFileManager(const TFileManager&) = delete;
    TFileManager& operator=(const TFileManager&) = delete;

    bool EnableRegistryAccess = true;
    std::string RegistryKey;
    // The menu that lists the recent files after its last item whose caption holds "MRU"; without it,
    // the popup menu (its root item) is used. Not owned.
    TMenuItem* MRUMenu = nullptr;
    TMenuItem* PopUpMRUMenu = nullptr;
    // Not owned; without them Open and Save As only say that they are missing.
    TOpenDialog* OpenDialog = nullptr;
    TSaveDialog* SaveDialog = nullptr;
    // Set by the owner after an edit; cleared by every open, save and close.
    bool Modified = false;
    std::string UnSavedName;

    TFileIoEvent OnOpenFile;
    TFileIoEvent OnMRUOpenFile;
    TFileIoEvent OnSaveFile;
    TFileNotifyEvent OnNewFile;
    TFileNotifyEvent OnCloseFile;
    TFileUpDateEvent OnUpDateFileName;
    // Writes a copy of the document to the given file, leaving the document's own name, undo history
    // and modified state alone. Auto-save runs only with this handler: it never writes the user's
    // file, whose last save the user chose.
    TFileIoEvent OnAutoSaveFile;
    // The auto-save timer's state or interval changed: the GUI's timer follows AutoSaveTimerRunning
    // and AutoSaveTimerInterval.
    TFileNotifyEvent OnAutoSaveTimerChange;

    const TFileUnitList& RecentFiles() const { return FRecentFiles; }

    const std::string& GetFileName() const { return FFileName; }
    // Stores the name; any name but UnSavedName enters the recent list and every manager's menu is
    // refreshed; then OnUpDateFileName.
    void SetFileName(const std::string& Name);

    // Minutes; 0 or less, and the current value, are ignored.
    int GetAutoSaveInterval() const { return FAutoSaveInterval; }
    void SetAutoSaveInterval(int Minutes);
    bool GetAutoSaveEnabled() const { return FAutoSaveEnabled; }
    void SetAutoSaveEnabled(bool Value);

    // After the owner has set the manager up (names, menus, handlers): fills the recent-file menu,
    // reads the auto-save settings and makes the auto-save timer.
    void Loaded();
    // The timer exists (Loaded ran), auto-save is enabled and OnAutoSaveFile is assigned.
    bool AutoSaveTimerRunning() const;
    // The interval in milliseconds, held within what a platform timer takes.
    int AutoSaveTimerInterval() const;

    // Each answers whether it went through. With Modified, New asks "<name> is unsaved, Save?":
    // Cancel, or a save that does not happen (its dialog cancelled, no save handler), ends it with
    // nothing changed. Then OnCloseFile, the name becomes UnSavedName, Modified is cleared, OnNewFile.
    bool New();
    // New, then the open dialog; on OK the chosen file is opened. Ends at once when New did not go
    // through.
    bool Open();
    // OnOpenFile with the file name, then Modified is cleared.
    void DoOpenFile();
    // Save As while the name is UnSavedName (or not set yet); otherwise OnSaveFile with the name and Modified cleared.
    // False when nothing was saved.
    bool Save();
    // The save dialog preset with the name; on OK OnSaveFile with the chosen name, which then becomes
    // the file name, and Modified is cleared. False when nothing was saved.
    bool SaveAs();
    // May the window close? With Modified and a save handler asks as New does; Cancel or a save that
    // does not happen answers false. Otherwise OnCloseFile, Modified cleared, true.
    bool CloseQuery();

    // Re-reads the recent list and shows it in the menu.
    void RefreshMRUMenu();
    // The click of a recent-file item: OnMRUOpenFile with its file, or else New and the file opened. A
    // file that has gone since the menu was built is reported and taken off the list instead.
    void MRUClick(TMenuItem& Item);
    // The auto-save timer's tick: a modified document that has a file name is copied to
    // AutoSaveFileName through OnAutoSaveFile. The copy is written beside it first and renamed into
    // place once complete, so a failing write leaves the last copy as it was; the error passes on.
    void AutoSaveTick();
    void LoadAutoSaveSettings();
    void SaveAutoSaveSettings();

    // A dialog or menu the manager refers to is about to be freed: the reference is cleared.
    void Notification(const void* Removed);

private:
    TMenuItem* MRUTarget() const;
    void ShowMessage(const std::string& Text);
    // The unsaved-changes prompt; true when the flow may go on (No, or Yes and the save happened).
    bool SaveChangesFirst();
    // The document was closed or saved: its auto-save copy is out of date.
    void DiscardAutoSaveFile();
    void AutoSaveTimerChanged();

    IUserDialogs& FDialogs;
    TFileUnitList FRecentFiles;
    std::string FFileName;
    int FAutoSaveInterval = 10;
    bool FAutoSaveEnabled = false;
    bool FTimerMade = false;
    // The auto-save copy this manager wrote last, removed once out of date.
    std::string FAutoSaveFile;
    // The recent-file items hold this weakly, so that a click after the manager died does nothing.
    std::shared_ptr<TFileManager*> FSelf;
};

}  // namespace sarnova
