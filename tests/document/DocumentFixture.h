// What the whole-document tests share: the test classes registered, the console quiet, a scratch
// folder for the files a test writes, a document's saved text, macros run from their lines and popup
// menu items found by entity and caption.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "document/GeoFace.h"
#include "document/TestPoint.h"
#include "foundation/Console.h"
#include "foundation/MacroFile.h"
#include "foundation/TextFile.h"
#include "platform/Menu.h"

namespace sarnova::test {

class TDocumentFixture : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestClasses();
        Dir = std::filesystem::temp_directory_path() / ("sarnova-doc-" + std::to_string(::getpid()));
        std::filesystem::create_directories(Dir);
        GConsole->OnLine = [](const std::string&) {};
    }
    void TearDown() override {
        GConsole->OnLine = nullptr;
        std::filesystem::remove_all(Dir);
    }

public:
    static std::string Text(TGeometryInterface& Doc) {
        TTextWriter Out;
        Doc.SaveToText(Out);
        return Out.Text();
    }

    // Runs Lines (separated by '\n', or by ';' when Semicolons) as one macro file.
    void RunMacro(TGeometryInterface& Doc, std::string Lines, bool Semicolons = false) {
        if (Semicolons)
            for (char& C : Lines)
                if (C == ';') C = '\n';
        const std::filesystem::path Path = Dir / "edit.cmd";
        std::ofstream(Path, std::ios::binary) << Lines << "\n";
        TMacroFile Macro;
        Macro.LoadFromFile(Path);
        Doc.RunMacro(Macro);
    }

    // The item of "<entity>:<caption>" in the entity's popup menu; nullptr when there is none.
    static TMenuItem* PopupItem(TGeometryInterface& Doc, const std::string& Target) {
        const std::size_t Colon = Target.find(':');
        TGeometry* Entity = Doc.FindByName(Target.substr(0, Colon));
        TMenuItem* Menu = Entity != nullptr ? Entity->PopupMenu() : nullptr;
        return Menu != nullptr && Colon != std::string::npos ? Menu->Find(Target.substr(Colon + 1)) : nullptr;
    }

    std::filesystem::path Dir;
};

}  // namespace sarnova::test
