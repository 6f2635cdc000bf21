// IMS offsets files (".off"): a yacht hull as transverse sections of (height, half-breadth) offsets
// with point codes, after an identification line and the main dimensions. Lengths in the file are
// millimetres (Metric) or hundredths of feet; the model holds them in document units.
#pragma once
#include <array>
#include <memory>
#include <string>

#include "foundation/PolyList.h"
#include "foundation/Polyline.h"

namespace sarnova {

constexpr int MaxOffSections = 77;
constexpr int MaxOffPoints = 47;

// A section: its points share the station x; z is the height, y the half-breadth and the point's Tag
// its code.
class TOFFSection : public TPolyline {
public:
    int SectionCode1 = 0;
    int SectionCode2 = 0;
};

struct TOffStamp {
    int Hour = 0, Minute = 0, Second = 0;
    int Day = 1, Month = 1, Year = 2000;
};

class TOFFFile {
public:
    TPolylineList Sections;  // of TOFFSection after Validate or LoadFromFile
    double LOA = 0, SFJ = 0, SFBI = 0;
    TOffStamp DateTime;      // the moment the model was made
    std::string MeasurerNumber = "0";
    bool Metric = true;
    std::string YachtName;
    std::string ExtraCode = "    0";
    std::array<double, 4> DataLine1{};
    std::array<double, 4> DataLine2{};

    TOFFFile();

    void SetMeasurerNumber(const std::string& S) { MeasurerNumber = S.substr(0, 5); }
    void SetYachtName(const std::string& S) { YachtName = S.substr(0, 24); }
    void SetExtraCode(const std::string& S) { ExtraCode = S.substr(0, 5); }

    // At most 77 sections of at most 47 points; polylines that are not sections become sections.
    // Throws EError "Number of Sections exceed safe maximum (77)" or "Number of Points on Section <k>
    // exceed safe maximum (47)".
    void Validate();
    // Reads the file, converting lengths to document units; a bad number, a count beyond the limits
    // or the file's lines, or a cut file is an error naming the file and line.
    void LoadFromFile(const std::string& FileName);
    // Validate, then writes the file in the unit Metric declares.
    void SaveToFile(const std::string& FileName);
};

// The file factor: file length times this is document length.
double OffDocumentUnitsPerFileUnit(bool Metric);

}  // namespace sarnova
