// The SUS hull definition file of damage-stability and hydrostatics programs: a title, the main
// dimensions, the hull as transverse sections, an optional margin line and named compartments, each
// a list of sections with a permeability. The model, its reader and its writer.
#pragma once
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "foundation/PolyList.h"
#include "foundation/VkMaths.h"

namespace sarnova {

class TSusFile;

// Bits of TSusFile::Flags.
enum TSusFlag : int {
    susMarginLine = 1,       // a margin line is present and written
    susShipInfo = 2,         // the "B" line carries the ship information
    susHydrostatics = 4,     // an "A" section is written
    susTimeSimulation = 8,   // the dummy "C", "D" and "E" sections are written
    susDamCompanion = 16,    // the file accompanies a Proteus DAM file
};

// One record: the hull (record 0) or a compartment.
class TSus {
public:
    TPolylineList Sections;
    std::string Name;
    bool Mirrored = false;
    TMBox Extents = EmptyBox;
    TSusFile* Owner = nullptr;
    double Permeability = 0.0;

    // Extents of the sections; a mirrored record's y range is made symmetric about y = 0.
    void CalculateExtents();
    const TMBox& GetExtents();
    // 1 when the record lies among the last N records of its owner, N being the record count of the
    // owner's last ship; 0 without an owner or ships.
    int ShipFlag() const;
};

// The file: an owned, ordered list of records, record 0 the hull.
class TSusFile {
public:
    std::string Title;
    double Length = 0.0;
    double Beam = 0.0;
    double Depth = 0.0;
    double HeaderValue = 1.0;
    std::unique_ptr<TPolyline> MarginLine;
    int ShipCount = 0;
    int ShipOneCount = 0;
    int ShipTwoCount = 0;
    int ShipThreeCount = 0;
    int LineNumber = 0;
    int Flags = 0;

    int Count() const { return static_cast<int>(FItems.size()); }
    // Throws the list's index error outside 0 .. Count - 1.
    TSus* Items(int Index) const;
    TSus* Hull() const { return FItems.empty() ? nullptr : FItems.front().get(); }
    // Calculates the record's extents, sets its owner and appends it.
    TSus* Add(std::unique_ptr<TSus> Record);
    void Clear();
    TMBox Extents();

    // Reads the file, always starting from an empty model. Every failure is an EError whose message
    // names the line ("Invalid Data: ...", "SUSFILE ERROR: Unexpected end of File"); the model is
    // then left empty.
    void LoadFromFile(const std::filesystem::path& FileName);
    // Writes nothing when there is no record; otherwise replaces the file as a whole.
    void SaveToFile(const std::filesystem::path& FileName) const;
    // The text SaveToFile writes.
    std::string SaveToText() const;
    // Shows the properties window on the model (IoSus.cpp); false when it was closed without Close.
    bool EditProperties();

private:
    std::vector<std::unique_ptr<TSus>> FItems;
};

}  // namespace sarnova
