// The IGES side of the exchange tests: the export's properties dialog answered with a unit, and what
// OpenCASCADE's IGES reader (the test-only peer program) finds in a file.
#pragma once
#include <filesystem>
#include <map>
#include <sstream>
#include <string>

#include "ExchangeFixtures.h"
#include "exchange/IGESFile.h"
#include "exchange/IoIges.h"

namespace sarnova::test {

// Answers the export's properties dialog with Units while it lives.
struct TUnitsAnswer {
    explicit TUnitsAnswer(TIGESUnits Units) {
        Saved = IGESPropertiesDialog();
        IGESPropertiesDialog() = [Units](std::string&, std::string& Organisation, TIGESUnits& U) {
            Organisation = "Test Yard";
            U = Units;
        };
    }
    ~TUnitsAnswer() { IGESPropertiesDialog() = Saved; }
    TIGESPropertiesDialog Saved;
};

// What OpenCASCADE's IGES reader finds in a file: "key value" lines, and "status" its exit status.
inline std::map<std::string, std::string> PeerReport(const std::string& File) {
    std::map<std::string, std::string> Report;
#ifdef SARNOVA_IGES_PEER
    int Status = 0;
    std::istringstream In(RunCommand(std::string("'") + SARNOVA_IGES_PEER + "' '" + File + "'", Status));
    for (std::string Line; std::getline(In, Line);) {
        const auto Blank = Line.find(' ');
        if (Blank != std::string::npos) Report[Line.substr(0, Blank)] = Line.substr(Blank + 1);
    }
    Report["status"] = std::to_string(Status);
#else
    (void)File;
#endif
    return Report;
}

inline bool HavePeer() {
#ifdef SARNOVA_IGES_PEER
    return std::filesystem::exists(SARNOVA_IGES_PEER);
#else
    return false;
#endif
}

}  // namespace sarnova::test
