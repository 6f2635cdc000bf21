#include <gtest/gtest.h>

#include "document/Fileman.h"
#include "document/ui/AutoSaveTimer.h"
#include "platform/ScriptedUserDialogs.h"
#include "platform/qt/QtUserDialogs.h"

namespace sarnova {
namespace {

TEST(QtUserDialogs, FiltersBecomeQtNameFilters) {
    EXPECT_EQ(QtNameFilters("Geometry File (*.geo)|*.geo"), QStringList{"Geometry File (*.geo)"});
    EXPECT_EQ(QtNameFilters("Macro Command Files (*.cmd)|*.cmd|Any File (*.*)|*.*"),
              (QStringList{"Macro Command Files (*.cmd)", "Any File (*)"}));
    EXPECT_EQ(QtNameFilters("Meshes|*.stl;*.obj"), QStringList{"Meshes (*.stl *.obj)"});
    EXPECT_TRUE(QtNameFilters("").isEmpty());
}

TEST(AutoSaveTimer, RunsWhileTheManagerSaysSo) {
    TScriptedUserDialogs Dialogs;
    TFileManager Manager(Dialogs);
    Manager.EnableRegistryAccess = false;
    Manager.OnAutoSaveFile = [](TFileManager*, const std::string&) {};
    TAutoSaveTimer Timer(Manager);
    Manager.Loaded();
    EXPECT_FALSE(Timer.Timer().isActive());

    Manager.SetAutoSaveInterval(2);
    Manager.SetAutoSaveEnabled(true);
    EXPECT_TRUE(Timer.Timer().isActive());
    EXPECT_EQ(Timer.Timer().interval(), 120000);

    Manager.SetAutoSaveEnabled(false);
    EXPECT_FALSE(Timer.Timer().isActive());
}

}  // namespace
}  // namespace sarnova
