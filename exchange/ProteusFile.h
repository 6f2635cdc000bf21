// The Proteus DAM file of the damage-stability program: GROUP lines, OPENING lines and DAM blocks,
// each block the transverse sections of a compartment or of an opening. The hull travels in a
// companion SUS file. The model, its line reader and its writer.
#pragma once
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "foundation/PolyList.h"

namespace sarnova {

class TProteusGFile;

// One DAM block: its polylines are the sections.
class TProteusDam : public TPolylineList {
public:
    std::string Name;
    bool Mirrored = false;
    // Minus the compartment's permeability.
    double DamValue = 0.0;
    bool IsOpening = false;
    // The line of the DAM keyword (0 for a block that was not read).
    int Line = 0;
};

class TProteusGroup {
public:
    int FirstDam = 0;
    int LastDam = 0;
    double InitialWater = 0.0;
    std::string Name;
    int Line = 0;
    int DamCount() const { return LastDam - FirstDam + 1; }
};

class TProteusOpening {
public:
    int Dam = 0;
    int GroupA = -1;
    int GroupB = -1;
    double CollapseHead = 0.0;
    double OpeningTime = 0.0;
    int Direction = 0;  // 0 "A -> B", 1 "A <- B", 2 "A <-> B"
    int Line = 0;
};

// True when the section's outline turns clockwise in the (y, z) plane, judged at its lowest point.
bool IsSectionClockwise(const TPolyline& Section);

// The lines of a file and a cursor over them.
class TProteusLoader {
public:
    std::string FileName;
    int Cursor = 1;
    std::string CurrentLine;
    std::vector<std::string> Lines;

    void LoadFromFile(const std::filesystem::path& Name);
    // Line Cursor trimmed; moves on.
    const std::string& ReadLine();
    bool Eof() const { return Cursor > static_cast<int>(Lines.size()); }
    void Reset() { Cursor = 1; }
};

class TProteusGFile {
public:
    std::string Title;
    std::vector<std::unique_ptr<TProteusDam>> Dams;
    std::vector<TProteusGroup> Groups;
    std::vector<TProteusOpening> Openings;

    // Reads the DAM blocks, groups and openings, each from wherever they stand. A group or opening that
    // names a DAM number the file does not hold is an error naming the file and the line.
    void LoadFromFile(const std::filesystem::path& FileName);
    void SaveToFile(const std::filesystem::path& FileName) const;
    std::string SaveToText() const;

    // "Sea" for 0, the name of group k for k > 0, "" for a negative number.
    std::string GroupName(int Number) const;
    // 0 for "SEA" in any case, else the number of the first group of that name (case ignored); throws
    // "Proteus Group <name> not found".
    int GroupNumber(const std::string& Name) const;
};

}  // namespace sarnova
