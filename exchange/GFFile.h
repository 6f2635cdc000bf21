// GF geometry files: a ship as parts made of components, each component placing a representation (a
// named list of transverse sections) at an offset on one side of the ship. Lengths in the file are in
// the unit of its units line (metres or feet); the model holds them in document units.
#pragma once
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "foundation/PolyList.h"

namespace sarnova {

class TGFFile;

struct TGFRepresentation {
    std::string Name;
    TPolylineList Sections;
};

// A name cut to 14 characters, then before its first "." (or to 12 characters when it has none),
// with ".P" (side -1), ".S" (1) or ".C" (0) appended; "HULL" stays (for a component in any case).
std::string GFName(const std::string& Name, int Side, bool Component);

class TGFComponent {
public:
    TGFRepresentation* Representation = nullptr;
    double Permeability = 1.0;
    std::array<double, 3> Offset{};

    const std::string& Name() const { return FName; }
    int Side() const { return FSide; }
    void SetName(const std::string& Value) { FName = GFName(Value, FSide, true); }
    void SetSide(int Value) {
        FSide = Value;
        SetName(FName);
    }
    // The representation's sections placed in the document: mirrored in y for side -1, then moved by
    // the offset.
    std::unique_ptr<TPolylineList> Geometry() const;

private:
    std::string FName;
    int FSide = 0;
};

class TGFPart {
public:
    explicit TGFPart(TGFFile& Owner) : FOwner(Owner) {}
    std::string Description;
    std::string Fluid = "SEA WATER";
    double Density = 1.025;
    int PartCode = 0;
    std::array<double, 3> PartPoint{};
    std::vector<TGFComponent*> Components;

    const std::string& Name() const { return FName; }
    // Through the name rules, with the side of the first component (0 without).
    void SetName(const std::string& Value) {
        FName = GFName(Value, Components.empty() ? 0 : Components[0]->Side(), false);
    }
    // A component of copies of the sections, mirrored to positive y (side -1) when they lie mainly at
    // negative y, else side 1, in a new representation "S<n>".
    TGFComponent& AddComponent(const TPolylineList& Sections);

private:
    std::string FName;
    TGFFile& FOwner;
};

class TGFFile {
public:
    std::string Title, Reference;
    int Units = 0;  // 0 metres, 1 feet
    double Length = -1, Beam = -1;  // in file units; not written when not positive
    // Metres per length unit of the model's geometry: the document's unit unless the export says
    // otherwise.
    double ModelMetres;
    std::vector<std::unique_ptr<TGFRepresentation>> Representations;
    std::vector<std::unique_ptr<TGFComponent>> Components;
    std::vector<std::unique_ptr<TGFPart>> Parts;

    TGFFile();
    TGFPart& AddPart();
    // Document length per file length for the units line.
    double Scale() const;
    // Reads the file; a bad number, a cut file, a count the file cannot hold or a name not found is an
    // error naming the file and line.
    void LoadFromFile(const std::string& FileName);
    void SaveToFile(const std::string& FileName) const;
};

}  // namespace sarnova
