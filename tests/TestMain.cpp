// Test entry for every suite: points HOME and the XDG folders at a fresh temporary folder, so that no
// test reads or writes the user's real settings, and creates the QApplication for the GUI suites.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "foundation/TextUtils.h"

#ifdef SARNOVA_GUI_TEST
#include <QApplication>
#endif

namespace {

std::filesystem::path MakeTestHome() {
    std::string pattern = (std::filesystem::temp_directory_path() / "sarnova-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        std::exit(2);
    }
    const std::filesystem::path home(pattern);
    const std::pair<const char*, const char*> folders[] = {
        {"HOME", ""},
        {"XDG_CONFIG_HOME", ".config"},
        {"XDG_DATA_HOME", ".local/share"},
        {"XDG_CACHE_HOME", ".cache"},
        {"XDG_STATE_HOME", ".local/state"},
        {"XDG_RUNTIME_DIR", "runtime"},
        // Suites that run side by side must not meet in fixed folder names under the temp folder.
        {"TMPDIR", "tmp"},
    };
    for (auto [variable, sub] : folders) {
        const auto path = home / sub;
        std::filesystem::create_directories(path);
        setenv(variable, path.c_str(), 1);
    }
    // Qt refuses a runtime folder that others can read.
    std::filesystem::permissions(home / "runtime", std::filesystem::perms::owner_all);
    return home;
}

}  // namespace

int main(int argc, char** argv) {
    const auto home = MakeTestHome();
    sarnova::InitializeProgramFolders(argv[0]);
    ::testing::InitGoogleTest(&argc, argv);
    int result = 0;
    {
#ifdef SARNOVA_GUI_TEST
        QApplication app(argc, argv);
#endif
        result = RUN_ALL_TESTS();
    }
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    return result;
}
