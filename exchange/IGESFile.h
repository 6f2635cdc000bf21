// An IGES file (fixed ASCII form) held in memory: the start text, the 24 global parameters, the
// terminate counts and one object per directory entry with its parameter records. Reads a whole file
// into this form, checking counts and pointers against the file, and writes it back as 80-column
// records. The entity classes that interpret the parameters are in IGESEntities.h.
#pragma once
#include <cstdint>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace sarnova {

class TIGESFile;
class TGeometryQueryItem;

// Unit flag = ordinal + 1.
enum TIGESUnits : std::uint8_t {
    iuInches,
    iuMillimetres,
    iuUserDefined,
    iuFeet,
    iuMiles,
    iuMetres,
    iuKilometres,
    iuMils,
    iuMicrons,
    iuCentimetres,
    iuMicroinches,
};

// "IN", "MM", "" (user defined), "FT", "MI", "M", "KM", "MIL", "UM", "CM", "UIN".
std::string IGESUnitName(TIGESUnits Units);
// The length of one unit in metres; 1 for user-defined units, which carry no scale.
double IGESUnitMetres(TIGESUnits Units);
// The text of a version flag 1 .. 9; "Unknown IGES version flag (n)" for any other.
std::string IGESVersionName(int Flag);

// A date and time as the global section holds it; all zero for "no date".
struct TIGESDateTime {
    int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
    bool operator==(const TIGESDateTime&) const = default;
    static TIGESDateTime Now();
};

// Text to double: the first "D" becomes "E"; a text that is not a number gives 0. Never fails.
double IGESReal(std::string_view Text);
// "" for an empty text, else count, "H", text: "HELLO" -> "5HHELLO".
std::string MakeHollerith(std::string_view Text);
// The count characters after the first "H" of Token, at most 255.
std::string HollerithValue(std::string_view Token);
// The whole Hollerith token (count, "H", characters) at the front of Text. Throws EError
// "IGES Format Error: Badly formatted Hollerith String (<Text>)" for a count of more than four
// digits, a count that is not a number, or one that runs past the end of Text.
std::string ReadHollerith(std::string_view Text);
// "13H" yymmdd "." hhnnss.
std::string FormatIGESDate(const TIGESDateTime& D);
// Reads both the 13H (two-digit year) and 15H (four-digit year) forms; a two-digit year below 80 is
// in the 2000s. An impossible date or time gives the zero date.
TIGESDateTime ParseIGESDate(std::string_view Text);

struct TIGESTerminateSection {
    int StartCount = 0, GlobalCount = 0, DirectoryCount = 0, ParameterCount = 0;
    // "S%7dG%7dD%7dP%7d", 40 blanks, "T      1".
    std::string Record() const;
    // Throws EError "IGES Format Error (Terminate Section): ..." for a field without its letter or
    // with a count that is not a non-negative integer.
    void Read(std::string_view Record);
};

class TIGESGlobalSection {
public:
    char ParameterDelimiter = ',';
    char RecordDelimiter = ';';
    std::string SendingProductID;
    std::string FileName;
    std::string NativeSystemID;
    std::string PreprocessorVersion;
    int IntegerBits = 64;
    int SingleMaxPower = 38;
    int SingleDigits = 8;
    int DoubleMaxPower = 308;
    int DoubleDigits = 16;
    std::string ReceivingProductID;
    double ModelScale = 1.0;
    TIGESUnits Units = iuMetres;
    std::string UnitsName = "M";
    int LineWeightGradations = 3;
    double MaxLineWeight = 0.003;
    TIGESDateTime DateTime;
    double MinResolution = 0.001;
    double MaxCoordinate = 0.0;
    std::string Author;
    std::string Organisation;
    int IGESVersion = 9;
    int DraftingStandard = 0;

    // Records built by SaveToLines, columns 1 to 72.
    std::vector<std::string> Lines;

    TIGESGlobalSection() { SetDefaults(); }
    void SetDefaults();
    // The 24 parameters as records of at most 72 characters; Hollerith texts split at column 72, never
    // inside their count and "H".
    void SaveToLines();
    // Reads the parameters from the records' columns 1 to 72. Throws EError "IGES Format Error (Global
    // Section): <parameter> is badly formatted" naming the first parameter that cannot be read; a bad
    // date only goes to the console.
    void LoadFromLines(const std::vector<std::string>& Records);
};

struct TIGESEntityStatus {
    bool Blank = false;
    int Subordinate = 0;
    int EntityUse = 0;
    int Hierarchy = 0;
    // 8 blanks when the last three are 0, else "0b0s0u0h".
    std::string Text() const;
    void Read(std::string_view Field);
};

// One directory entry and its parameter records. Subclasses for the types the program exchanges
// convert the parameters to and from kernel objects.
class TIGESEntity {
public:
    explicit TIGESEntity(int AType = 0) : EntityType(AType) {}
    virtual ~TIGESEntity() = default;
    TIGESEntity(const TIGESEntity&) = delete;
    TIGESEntity& operator=(const TIGESEntity&) = delete;

    TIGESFile* File = nullptr;
    // Parameter records, columns 1 to 64.
    std::vector<std::string> Parameters;
    int EntityType = 0;
    int ParameterPointer = 0;
    int Structure = 0;
    int LineFontPattern = 0;
    int Level = 0;
    int View = 0;
    int TransformationMatrix = 0;
    int LabelDisplay = 0;
    TIGESEntityStatus Status;
    int LineWeight = 0;
    int Color = 0;
    int ParameterLineCount = 0;
    int FormNumber = 0;
    std::string EntityLabel;
    int SubscriptNumber = 0;
    // 1-based directory sequence number of the entry (its first record), set when read or appended.
    int DirectorySequence = 0;

    // The entity of the class for the type in Text's first field (a plain TIGESEntity for types
    // without one), with its directory fields read.
    static std::unique_ptr<TIGESEntity> CreateFromDirectory(std::string_view Text, TIGESFile* AFile);

    // Fills the directory fields from the 160 characters of the two records. Throws EError naming the
    // field for an integer field that is not a number.
    void ReadDirectoryEntry(std::string_view Text);
    // The 160 characters of the two records, each ending "D      1"; sets ParameterLineCount.
    std::string DirectoryText();

    // The parameter values; element 0 is the type. Throws EError "<file>: directory entry <n>,
    // parameter line <m>: '<text>' is not a number" for a value that is not a number; an empty value
    // gives 0.
    std::vector<double> ReadParameters() const { return ReadParameters(SIZE_MAX); }
    // The same, stopping at the end of the record line that reaches Wanted values.
    std::vector<double> ReadParameters(std::size_t Wanted) const;
    void ClearParameters() { Parameters.clear(); }
    void AddIntegerParameter(long long Value);
    // General number text.
    void AddRealParameter(double Value);
    void EndParameters();
    char ParameterDelimiter() const;
    char RecordDelimiter() const;

    // Where errors of this entity point: "<file>: directory entry <n>".
    std::string Where() const;

private:
    void AddParameterText(const std::string& Text);
};

// The properties the export asks the user to confirm. The GUI sets the dialog at start-up; without one
// the values stay as they are.
using TIGESPropertiesDialog = std::function<void(std::string& Author, std::string& Organisation, TIGESUnits& Units)>;
TIGESPropertiesDialog& IGESPropertiesDialog();

class TIGESFile {
public:
    std::vector<std::string> StartLines;
    TIGESGlobalSection GlobalSection;
    TIGESTerminateSection TerminateSection;
    // The name reads report in their errors.
    std::string SourceName;
    // AddGeometry multiplies coordinates by Scale: the document's length unit in the file's.
    double Scale = 1.0;

    TIGESFile() = default;
    TIGESFile(const TIGESFile&) = delete;
    TIGESFile& operator=(const TIGESFile&) = delete;

    // Reads a file of LF or CR LF records. Errors name the file and the line.
    void LoadFromFile(const std::filesystem::path& Name);
    // Reads records already split into lines (as LoadFromFile does after reading).
    void LoadFromLines(const std::vector<std::string>& Lines);
    // Writes the model through a temporary file renamed over the target.
    void SaveToFile(const std::filesystem::path& Name);
    // The records SaveToFile writes.
    std::vector<std::string> SaveToLines(const std::string& FileNameParameter);

    void Clear() { FItems.clear(); }
    int Count() const { return static_cast<int>(FItems.size()); }
    TIGESEntity* Items(int Index) const { return FItems[static_cast<std::size_t>(Index)].get(); }
    // Drops the entities from index Count on (what a failed addition left).
    void Truncate(int Count) { FItems.resize(static_cast<std::size_t>(Count)); }
    // The entity whose directory entry starts at sequence number N, or nullptr when N is not the
    // first record of an entry of this file.
    TIGESEntity* EntityByDE(int N) const;
    int CountOfType(int Type) const;
    // Appends Entity, taking it over; returns it.
    TIGESEntity* Add(std::unique_ptr<TIGESEntity> Entity);
    // Appends the entities of one object a document query collected (IoIges.cpp): B-spline curves as
    // type 126, polylines and polyline lists as 106, planes as 108, arcs and circles as a 124 and a
    // 100, B-spline surfaces and surface lists as 128, meshes as order-2 surfaces and Gregory
    // surfaces as their 51 x 51 sample meshes. Other objects add nothing and give false.
    bool AddGeometry(const TGeometryQueryItem& Object);
    // Shows the properties dialog and takes author, organisation and units from it.
    void EditProperties();

private:
    std::vector<std::unique_ptr<TIGESEntity>> FItems;
};

}  // namespace sarnova
