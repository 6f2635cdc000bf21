#include "document/Fileman.h"

#include <algorithm>
#include <climits>
#include <filesystem>
#include <system_error>

#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/Errors.h"
#include "platform/Registry.h"

namespace sarnova {

std::unique_ptr<TFileManagerServer> GFileManagerServer = std::make_unique<TFileManagerServer>();

namespace {

// Recent files and auto-save settings live in sections of the program's own key.
TRegIniFile ProgramIni() { return TRegIniFile(ProgramRegistryKey(GExeName)); }

// An existing file; a folder of that name does not count.
bool FileExists(const std::string& Name) {
    std::error_code Error;
    const auto Status = std::filesystem::status(Name, Error);
    return !Error && std::filesystem::exists(Status) && !std::filesystem::is_directory(Status);
}

bool IsRecentFileItem(const TMenuItem& Item) { return (Item.Tag & RecentFileItemTag) == RecentFileItemTag; }

std::string ShortFileName(const std::string& Name) { return std::filesystem::path(Name).filename().string(); }

}  // namespace

// ---- TFileUnitList ----

void TFileUnitList::Add(const std::string& Given, const std::string& RegistryKey, bool RegistryAccess) {
    std::error_code Error;
    const std::filesystem::path Absolute = std::filesystem::absolute(Given, Error);
    const std::string Name = Error ? Given : Absolute.lexically_normal().string();
    const auto Found =
        std::find_if(FItems.begin(), FItems.end(), [&](const TFileUnit& U) { return U.FileName == Name; });
    if (Found != FItems.end()) {
        std::rotate(FItems.begin(), Found, Found + 1);
    } else {
        while (Count() >= MaxRecentFiles) FItems.pop_back();
        FItems.insert(FItems.begin(), TFileUnit{Name});
    }
    if (RegistryAccess) Save(RegistryKey);
}

void TFileUnitList::Remove(const std::string& Name, const std::string& RegistryKey, bool RegistryAccess) {
    FItems.erase(std::remove_if(FItems.begin(), FItems.end(), [&](const TFileUnit& U) { return U.FileName == Name; }),
                 FItems.end());
    if (RegistryAccess) Save(RegistryKey);
}

void TFileUnitList::Save(const std::string& RegistryKey) const {
    TRegIniFile Ini = ProgramIni();
    Ini.WriteInteger(RegistryKey, "NumberOfFiles", Count());
    for (int I = 0; I < Count(); ++I) Ini.WriteString(RegistryKey, "File" + std::to_string(I), Items(I));
    Ini.Flush();
}

void TFileUnitList::Load(const std::string& RegistryKey) {
    Clear();
    const TRegIniFile Ini = ProgramIni();
    // The list never holds more, so a damaged count reads no further than that.
    const int Stored = std::clamp(Ini.ReadInteger(RegistryKey, "NumberOfFiles", 0), 0, MaxRecentFiles);
    for (int I = 0; I < Stored; ++I) {
        std::string Name = Ini.ReadString(RegistryKey, "File" + std::to_string(I), "");
        if (!Name.empty() && FileExists(Name)) FItems.push_back(TFileUnit{std::move(Name)});
    }
}

// ---- TFileManagerServer ----

void TFileManagerServer::Add(TFileManager* Manager) { FManagers.push_back(Manager); }

void TFileManagerServer::Remove(TFileManager* Manager) {
    FManagers.erase(std::remove(FManagers.begin(), FManagers.end(), Manager), FManagers.end());
}

void TFileManagerServer::RefreshAll() {
    for (TFileManager* Manager : FManagers) Manager->RefreshMRUMenu();
}

std::string AutoSaveFileName(const std::string& FileName) {
    std::filesystem::path Path(FileName);
    const std::string Extension = Path.extension().string();
    Path.replace_filename(Path.stem().string() + ".autosave" + Extension);
    return Path.string();
}

// ---- TFileManager ----

TFileManager::TFileManager(IUserDialogs& Dialogs)
    : FDialogs(Dialogs), FSelf(std::make_shared<TFileManager*>(this)) {
    if (GFileManagerServer) GFileManagerServer->Add(this);
}

TFileManager::~TFileManager() {
    if (FTimerMade) {
        try {
            SaveAutoSaveSettings();
        } catch (...) {
            // Losing the auto-save settings is better than failing to close the window.
        }
    }
    if (GFileManagerServer) GFileManagerServer->Remove(this);
}

void TFileManager::SetFileName(const std::string& Name) {
    FFileName = Name;
    if (Name != UnSavedName) {
        FRecentFiles.Add(Name, RegistryKey, EnableRegistryAccess);
        if (GFileManagerServer) GFileManagerServer->RefreshAll();
    }
    if (OnUpDateFileName) OnUpDateFileName(this, Name, ShortFileName(Name));
}

void TFileManager::SetAutoSaveInterval(int Minutes) {
    if (Minutes <= 0 || Minutes == FAutoSaveInterval) return;
    FAutoSaveInterval = Minutes;
    AutoSaveTimerChanged();
}

void TFileManager::SetAutoSaveEnabled(bool Value) {
    FAutoSaveEnabled = Value;
    AutoSaveTimerChanged();
}

void TFileManager::Loaded() {
    RefreshMRUMenu();
    LoadAutoSaveSettings();
    FTimerMade = true;
    AutoSaveTimerChanged();
}

bool TFileManager::AutoSaveTimerRunning() const { return FTimerMade && FAutoSaveEnabled && OnAutoSaveFile; }

int TFileManager::AutoSaveTimerInterval() const {
    return static_cast<int>(std::min<long long>(FAutoSaveInterval * 60000LL, INT_MAX));
}

void TFileManager::AutoSaveTimerChanged() {
    if (FTimerMade && OnAutoSaveTimerChange) OnAutoSaveTimerChange(this);
}

bool TFileManager::SaveChangesFirst() {
    const TModalResult Answer = FDialogs.MessageBox("Information", ShortFileName(FFileName) + " is unsaved, Save?",
                                                    TMsgDlgType::mtInformation, mbYes | mbNo | mbCancel);
    if (Answer == TModalResult::mrNo) return true;
    // A box closed without a button counts as Cancel.
    if (Answer != TModalResult::mrYes) return false;
    // Going on without the save would drop the edits the user just asked to keep.
    return Save();
}

bool TFileManager::New() {
    if (Modified && !SaveChangesFirst()) return false;
    if (OnCloseFile) OnCloseFile(this);
    DiscardAutoSaveFile();
    SetFileName(UnSavedName);
    Modified = false;
    if (OnNewFile) OnNewFile(this);
    return true;
}

bool TFileManager::Open() {
    if (!New()) return false;
    if (!OpenDialog) {
        ShowMessage("Open Dialog Unassigned");
        return false;
    }
    OpenDialog->FileName.clear();
    if (!FDialogs.ExecuteOpenDialog(*OpenDialog)) return false;
    SetFileName(OpenDialog->FileName);
    DoOpenFile();
    return true;
}

void TFileManager::DoOpenFile() {
    if (OnOpenFile) OnOpenFile(this, FFileName);
    Modified = false;
}

bool TFileManager::Save() {
    if (FFileName.empty() || FFileName == UnSavedName) return SaveAs();
    // Without a handler nothing is written, so the changes are still unsaved.
    if (!OnSaveFile) return false;
    OnSaveFile(this, FFileName);
    Modified = false;
    DiscardAutoSaveFile();
    return true;
}

bool TFileManager::SaveAs() {
    if (!SaveDialog) {
        ShowMessage("Save Dialog Unassigned");
        return false;
    }
    // Without a handler a chosen name could not be written to.
    if (!OnSaveFile) return false;
    SaveDialog->FileName = FFileName;
    if (!FDialogs.ExecuteSaveDialog(*SaveDialog)) return false;
    const std::string Chosen = SaveDialog->FileName;
    OnSaveFile(this, Chosen);
    SetFileName(Chosen);
    Modified = false;
    DiscardAutoSaveFile();
    return true;
}

bool TFileManager::CloseQuery() {
    if (Modified && OnSaveFile && !SaveChangesFirst()) return false;
    if (OnCloseFile) OnCloseFile(this);
    Modified = false;
    DiscardAutoSaveFile();
    return true;
}

TMenuItem* TFileManager::MRUTarget() const { return MRUMenu ? MRUMenu : PopUpMRUMenu; }

void TFileManager::RefreshMRUMenu() {
    TMenuItem* Menu = MRUTarget();
    if (!Menu) return;
    if (EnableRegistryAccess) FRecentFiles.Load(RegistryKey);
    // The recent files go after the last placeholder item holding "MRU". A recent file whose path
    // holds those letters is no placeholder: taking it for one would shift the list onto other items.
    int Mark = 0;
    int Present = 0;
    int FirstPresent = -1;
    for (int I = 0; I < Menu->Count(); ++I) {
        TMenuItem& Item = Menu->Items(I);
        if (IsRecentFileItem(Item)) {
            if (Present++ == 0) FirstPresent = I;
        } else if (Item.Caption.find("MRU") != std::string::npos) {
            Item.Visible = false;
            Mark = I;
        }
    }
    const int Files = FRecentFiles.Count();
    // Where the list stands, or else where it goes; an empty popup menu has no item to follow.
    const int First = FirstPresent >= 0 ? FirstPresent : std::min(Mark + 1, Menu->Count());
    if (Files > 0) {
        // Below a separator the list gets a separator of its own after it.
        if (Present == 0 && Mark > 0 && Menu->Items(Mark - 1).Caption == "-")
            Menu->Insert(First, std::make_unique<TMenuItem>("-"));
        const TMenuAction Click = [Self = std::weak_ptr<TFileManager*>(FSelf)](TMenuItem& Item) {
            if (const auto Manager = Self.lock()) (*Manager)->MRUClick(Item);
        };
        for (; Present < Files; ++Present) Menu->Insert(First, std::make_unique<TMenuItem>("Menu", Click));
        for (int J = 0; J < Files; ++J) {
            TMenuItem& Item = Menu->Items(First + J);
            Item.Caption = "&" + std::to_string(J + 1) + " " + FRecentFiles.Items(J);
            Item.Tag = RecentFileItemTag + J;
        }
    }
    // Items of a list that has since shrunk would offer files that are no longer there.
    for (int I = 0; I < Menu->Count(); ++I) {
        TMenuItem& Item = Menu->Items(I);
        if (IsRecentFileItem(Item)) Item.Visible = (Item.Tag & 0xFF) < Files;
    }
}

void TFileManager::MRUClick(TMenuItem& Item) {
    const int Index = Item.Tag & 0xFF;
    if (Index >= FRecentFiles.Count()) return;
    // A copy: saving in the prompt of New may reload the list.
    const std::string Name = FRecentFiles.Items(Index);
    if (!FileExists(Name)) {
        ShowMessage(Name + " no longer exists; it is removed from the recent files.");
        FRecentFiles.Remove(Name, RegistryKey, EnableRegistryAccess);
        if (GFileManagerServer) GFileManagerServer->RefreshAll();
        return;
    }
    if (OnMRUOpenFile) {
        OnMRUOpenFile(this, Name);
        return;
    }
    if (!New()) return;
    SetFileName(Name);
    DoOpenFile();
}

void TFileManager::AutoSaveTick() {
    if (!Modified || FFileName.empty() || FFileName == UnSavedName || !OnAutoSaveFile) return;
    if (GConsole) GConsole->WriteLine(Format("Auto saving %s...", {FFileName}));
    const std::filesystem::path Target = AutoSaveFileName(FFileName);
    std::filesystem::path Temporary = Target;
    Temporary += ".tmp";
    std::error_code Error;
    // One that is there already was left by an auto-save that was killed.
    std::filesystem::remove(Temporary, Error);
    try {
        OnAutoSaveFile(this, Temporary.string());
        // The copy is as private as what it copies: it takes the mode of the copy it replaces, else
        // that of the document.
        std::filesystem::file_status Model = std::filesystem::status(Target, Error);
        if (!std::filesystem::exists(Model)) Model = std::filesystem::status(FFileName, Error);
        if (std::filesystem::exists(Model)) std::filesystem::permissions(Temporary, Model.permissions(), Error);
        std::filesystem::rename(Temporary, Target, Error);
        if (Error) throw EInOutError("Cannot write file \"" + Target.string() + "\": " + Error.message());
    } catch (...) {
        std::error_code Ignored;
        std::filesystem::remove(Temporary, Ignored);
        throw;
    }
    FAutoSaveFile = Target.string();
}

void TFileManager::DiscardAutoSaveFile() {
    if (FAutoSaveFile.empty()) return;
    std::error_code Ignored;
    std::filesystem::remove(FAutoSaveFile, Ignored);
    FAutoSaveFile.clear();
}

void TFileManager::LoadAutoSaveSettings() {
    if (!EnableRegistryAccess) return;
    const TRegIniFile Ini = ProgramIni();
    FAutoSaveEnabled = Ini.ReadBool(RegistryKey, "AutoSaveEnabled", FAutoSaveEnabled);
    // A stored interval of 0 or less would make the timer fire without pause.
    const int Interval = Ini.ReadInteger(RegistryKey, "AutoSaveInterval", FAutoSaveInterval);
    if (Interval > 0) FAutoSaveInterval = Interval;
    AutoSaveTimerChanged();
}

void TFileManager::SaveAutoSaveSettings() {
    if (!EnableRegistryAccess) return;
    TRegIniFile Ini = ProgramIni();
    Ini.WriteBool(RegistryKey, "AutoSaveEnabled", FAutoSaveEnabled);
    Ini.WriteInteger(RegistryKey, "AutoSaveInterval", FAutoSaveInterval);
    Ini.Flush();
}

void TFileManager::ShowMessage(const std::string& Text) {
    FDialogs.MessageBox(GExceptionHandler ? GExceptionHandler->ApplicationTitle : std::string(), Text,
                        TMsgDlgType::mtCustom, mbOK);
}

void TFileManager::Notification(const void* Removed) {
    if (Removed == OpenDialog) OpenDialog = nullptr;
    if (Removed == SaveDialog) SaveDialog = nullptr;
    if (Removed == MRUMenu) MRUMenu = nullptr;
    if (Removed == PopUpMRUMenu) PopUpMRUMenu = nullptr;
}

}  // namespace sarnova
