// Helpers for the exchange tests: files written to and read from a temporary folder, console lines
// caught, documents saved as text for comparison, and the peer programs run when they are installed.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "foundation/Console.h"
#include "foundation/TextFile.h"

namespace sarnova::test {

inline std::filesystem::path TempFile(const std::string& Name) {
    const auto Dir = std::filesystem::temp_directory_path() / "sarnova-exchange-tests";
    std::filesystem::create_directories(Dir);
    return Dir / Name;
}

inline std::string WriteTemp(const std::string& Name, const std::string& Text) {
    const auto Path = TempFile(Name);
    std::ofstream(Path, std::ios::binary) << Text;
    return Path.string();
}

inline std::string ReadText(const std::string& Path) {
    std::ifstream In(Path, std::ios::binary);
    std::stringstream S;
    S << In.rdbuf();
    return S.str();
}

// Lines joined, each ended by End, for writing fixtures readably.
inline std::string JoinLines(std::initializer_list<const char*> Lines, const char* End = "\n") {
    std::string Text;
    for (const char* L : Lines) (Text += L) += End;
    return Text;
}

// Console lines written while Run runs.
template <class F>
std::vector<std::string> ConsoleLinesOf(F Run) {
    std::vector<std::string> Lines;
    auto Saved = GConsole->OnLine;
    GConsole->OnLine = [&](const std::string& L) { Lines.push_back(L); };
    try {
        Run();
    } catch (...) {
        GConsole->OnLine = Saved;
        throw;
    }
    GConsole->OnLine = Saved;
    return Lines;
}

// The message of the error Run raises; empty when it raises none.
template <class F>
std::string ErrorOf(F Run) {
    try {
        Run();
    } catch (const std::exception& E) {
        return E.what();
    }
    return {};
}

inline std::string DocumentText(TGeometryList& Doc) {
    TTextWriter Out;
    Doc.SaveToText(Out);
    return Out.Text();
}

inline bool HaveProgram(const char* Name) {
    return std::system((std::string("command -v ") + Name + " >/dev/null 2>&1").c_str()) == 0;
}

// The system's Python, whose modules the distribution's packages install; another python3 first on
// the path (a user's own) may not see them.
inline std::string Python() { return std::filesystem::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3"; }

inline bool HavePythonModule(const char* Name) {
    return std::system((Python() + " -c 'import " + Name + "' >/dev/null 2>&1").c_str()) == 0;
}

// Runs a shell command and returns what it printed; Status gets the exit status.
inline std::string RunCommand(const std::string& Command, int& Status) {
    const auto Out = TempFile("command-output.txt");
    Status = std::system((Command + " > '" + Out.string() + "' 2>&1").c_str());
    return ReadText(Out.string());
}

struct TExchangeTest : ::testing::Test {
    static void SetUpTestSuite() { RegisterGeometryClasses(); }
    TGeometryInterface Doc;
};

}  // namespace sarnova::test
