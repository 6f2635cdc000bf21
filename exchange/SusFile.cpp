// The SUS file model, its line reader and its writer.
#include "exchange/SusFile.h"

#include <cmath>
#include <filesystem>

#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "foundation/GeomBox.h"
#include "foundation/TextFile.h"

namespace sarnova {

void TSus::CalculateExtents() {
    Extents = Sections.Extents();
    if (!Mirrored) return;
    const double AbsMax = std::fabs(Extents.Max.Y);
    const double AbsMin = std::fabs(Extents.Min.Y);
    if (AbsMax > AbsMin)
        Extents.Min.Y = -Extents.Max.Y;
    else if (AbsMax < AbsMin)
        Extents.Max.Y = -Extents.Min.Y;
}

const TMBox& TSus::GetExtents() {
    CalculateExtents();
    return Extents;
}

int TSus::ShipFlag() const {
    if (!Owner) return 0;
    int Index = 0;
    for (int I = 0; I < Owner->Count(); ++I)
        if (Owner->Items(I)->Name == Name) {
            Index = I;
            break;
        }
    int N = 0;
    switch (Owner->ShipCount) {
        case 1: N = Owner->ShipOneCount; break;
        case 2: N = Owner->ShipTwoCount; break;
        case 3: N = Owner->ShipThreeCount; break;
        default: return 0;
    }
    return Index >= Owner->Count() - N ? 1 : 0;
}

TSus* TSusFile::Items(int Index) const {
    if (Index < 0 || Index >= Count()) throw EError("List index out of bounds (" + std::to_string(Index) + ")");
    return FItems[static_cast<std::size_t>(Index)].get();
}

TSus* TSusFile::Add(std::unique_ptr<TSus> Record) {
    Record->CalculateExtents();
    Record->Owner = this;
    FItems.push_back(std::move(Record));
    return FItems.back().get();
}

void TSusFile::Clear() { FItems.clear(); }

TMBox TSusFile::Extents() {
    TMBox Box = EmptyBox;
    for (auto& Record : FItems) Box = UniteBoxes(Box, Record->GetExtents());
    return Box;
}

namespace {

// Walks the lines of a file, keeping the owner's LineNumber, and raises the file's messages.
class TSusReader {
public:
    TSusReader(TSusFile& File, std::vector<std::string> Lines) : F(File), FLines(std::move(Lines)) {}

    std::string_view ReadLine() {
        if (F.LineNumber >= static_cast<int>(FLines.size())) {
            ++F.LineNumber;
            throw EInOutError("SUSFILE ERROR: Unexpected end of File\r\nLine: " + std::to_string(F.LineNumber));
        }
        FText = FLines[static_cast<std::size_t>(F.LineNumber++)];
        FWords.Split(FText);
        FWordCount = WordCount(FText);
        return FText;
    }
    bool Eof() const { return F.LineNumber >= static_cast<int>(FLines.size()); }
    int Words() const { return FWordCount; }
    std::string Word(int N) const { return std::string(FWords.Word(N)); }

    [[noreturn]] void Invalid(const std::string& What) const {
        throw EConvertError("Invalid Data: " + What + "\r\nLine: " + Tail());
    }
    void Require(bool Ok, const char* What) const {
        if (!Ok) Invalid(What);
    }
    int Integer(int N) const {
        const std::string_view W = FWords.Word(N);
        int Value = 0;
        if (!TryStrToInt(W, Value)) Invalid("Unable to convert string to Integer (" + std::string(W) + ")");
        return Value;
    }
    double Real(int N) const {
        const std::string_view W = FWords.Word(N);
        try {
            return ParseFloat(W);
        } catch (const EConvertError&) {
            Invalid("Unable to convert string to float (" + std::string(W) + ")");
        }
    }
    // A count of lines still to come: refused before anything is made for it when the file cannot
    // hold that many.
    int Count(int N) const {
        const int Value = Integer(N);
        if (Value > static_cast<int>(FLines.size()) - F.LineNumber)
            throw EInOutError("SUSFILE ERROR: Unexpected end of File\r\nLine: " + Tail());
        return Value;
    }

private:
    std::string Tail() const { return std::to_string(F.LineNumber) + "\r\nFile Line: " + std::string(FText); }

    TSusFile& F;
    std::vector<std::string> FLines;
    // The current line, a view into FLines, and its words.
    std::string_view FText;
    TLineWords FWords;
    int FWordCount = 0;
};

void ReadSection(TSusReader& R, TSus& Record, TPolylineList& Into) {
    R.ReadLine();
    R.Require(R.Words() >= 3, "Expected at least 3 Numbers");
    const int Points = R.Count(1);
    const double Station = R.Real(2);
    int Code = 0;
    try {
        Code = R.Integer(3);
    } catch (const EConvertError&) {
        const double Value = R.Real(3);
        try {
            Code = TruncToInteger(Value);
        } catch (const EConvertError&) {
            R.Invalid("Unable to convert string to float (" + R.Word(3) + ")");
        }
    }
    Record.Mirrored = Code == 1;
    auto Section = std::make_unique<TPolyline>();
    for (int I = 0; I < Points; ++I) {
        R.ReadLine();
        R.Require(R.Words() == 2, "Expected 2 Numbers");
        const double Y = R.Real(1);
        Section->AddPoint(Station, Y, R.Real(2));
    }
    Into.Add(std::move(Section));
}

std::unique_ptr<TSus> ReadRecord(TSusReader& R, const TSusFile& F) {
    auto Record = std::make_unique<TSus>();
    R.ReadLine();
    const bool IsHull = F.LineNumber == 3;
    if (IsHull)
        R.Require(R.Words() >= 1, "Expected 1 Number");
    else
        R.Require(R.Words() >= 3, "Expected at least 3 Numbers");
    const int SectionCount = R.Count(1);
    if (!IsHull) Record->Permeability = R.Real(2);
    std::string Name;
    for (int I = 4; I <= R.Words(); ++I) Name += R.Word(I) + " ";
    Record->Name = Trim(Name);
    for (int I = 0; I < SectionCount; ++I) ReadSection(R, *Record, Record->Sections);
    if (IsHull) {
        Record->Mirrored = true;
        Record->Name = "Hull";
    }
    return Record;
}

void ReadMarginLine(TSusReader& R, TSusFile& F) {
    R.ReadLine();
    const int Points = R.Count(1);
    F.Flags |= susHydrostatics;
    if (Points == 0) {
        F.MarginLine.reset();
        F.Flags &= ~susMarginLine;
        return;
    }
    F.MarginLine = std::make_unique<TPolyline>();
    for (int I = 0; I < Points; ++I) {
        R.ReadLine();
        R.Require(R.Words() == 3, "Expected 3 Numbers");
        const double X = R.Real(1), Y = R.Real(2);
        F.MarginLine->AddPoint(X, Y, R.Real(3));
    }
    F.Flags |= susMarginLine;
}

int ReadShipInformation(TSusReader& R, TSusFile& F) {
    R.ReadLine();
    R.Require(R.Words() > 0, "Expected Ship Information");
    const int Records = R.Count(1);
    if (R.Words() >= 5) {
        F.Flags |= susShipInfo;
        F.ShipCount = R.Integer(2);
        if (F.ShipCount > 0) F.ShipOneCount = R.Integer(3);
        if (F.ShipCount > 1) F.ShipTwoCount = R.Integer(4);
        if (F.ShipCount > 2) F.ShipThreeCount = R.Integer(5);
    }
    return Records;
}

}  // namespace

void TSusFile::LoadFromFile(const std::filesystem::path& FileName) {
    if (!std::filesystem::exists(FileName)) throw EInOutError("Sus File: " + FileName.string() + " not found");
    Clear();
    Flags = 0;
    ShipCount = ShipOneCount = ShipTwoCount = ShipThreeCount = 0;
    MarginLine.reset();
    LineNumber = 0;
    TSusReader R(*this, ReadFileLines(FileName));
    try {
        Title = std::string(R.ReadLine());
        R.ReadLine();
        R.Require(R.Words() == 4, "Expected 4 Numbers");
        Length = R.Real(1);
        Beam = R.Real(2);
        Depth = R.Real(3);
        HeaderValue = R.Real(4);
        Add(ReadRecord(R, *this));
        while (!R.Eof()) {
            const std::string_view Line = R.ReadLine();
            if (Line == "A") {
                ReadMarginLine(R, *this);
            } else if (Line == "B") {
                const int Records = ReadShipInformation(R, *this);
                for (int I = 0; I < Records; ++I) Add(ReadRecord(R, *this));
            } else if (Line == "C") {
                Flags |= susTimeSimulation;
            }
        }
    } catch (...) {
        Clear();
        throw;
    }
}

namespace {

void WriteRecord(std::string& Out, const TSus& Record) {
    Out += Format("%10d ", {Record.Sections.Count()});
    AppendFixed(Out, Record.Permeability, 10, 3);
    Out += " " + std::to_string(Record.ShipFlag()) + " " + Record.Name + "\n";
    const char* Symmetry = Record.Mirrored ? " 1\n" : " 2\n";
    for (int I = 0; I < Record.Sections.Count(); ++I) {
        const TPolyline& Section = *Record.Sections.Items(I);
        Out += Format("%10d ", {Section.Count()});
        AppendFixed(Out, Section.GetStation(), 10, 3);
        Out += Symmetry;
        for (int J = 0; J < Section.Count(); ++J) {
            const TRPoint& P = *Section.Point(J);
            AppendFixed(Out, P.Y, 10, 3);
            Out += ' ';
            AppendFixed(Out, P.Z, 10, 3);
            Out += '\n';
        }
    }
}

}  // namespace

std::string TSusFile::SaveToText() const {
    std::string Out = Title + "\n";
    const double Header[] = {Length, Beam, Depth, HeaderValue};
    for (int I = 0; I < 4; ++I) {
        if (I > 0) Out += ' ';
        AppendFixed(Out, Header[I], 10, 3);
    }
    Out += '\n';
    WriteRecord(Out, *FItems.front());
    if (Flags & susHydrostatics) {
        if ((Flags & susMarginLine) && MarginLine) {
            Out += "A\n" + std::to_string(MarginLine->Count()) + "\n";
            for (int I = 0; I < MarginLine->Count(); ++I) {
                const TRPoint& P = *MarginLine->Point(I);
                AppendFixed(Out, P.X, 10, 3);
                Out += ' ';
                AppendFixed(Out, P.Y, 10, 3);
                Out += ' ';
                AppendFixed(Out, P.Z, 10, 3);
                Out += '\n';
            }
        } else {
            Out += "A\n0\n";
        }
    }
    Out += "B\n";
    const int Compartments = Count() - 1;
    if (Flags & susShipInfo)
        Out += Format("%d %d %d %d %d\n", {Compartments, ShipCount, ShipOneCount, ShipTwoCount, ShipThreeCount});
    else
        Out += Format("%10d\n", {Compartments});
    for (int I = 1; I < Count(); ++I) WriteRecord(Out, *FItems[static_cast<std::size_t>(I)]);
    if (Flags & susTimeSimulation) Out += "C\n0\nD\n1\n0.0 0.0\nE\n0.0\n1\n0.0 0.0\n";
    return Out;
}

void TSusFile::SaveToFile(const std::filesystem::path& FileName) const {
    if (FItems.empty()) return;
    ReplaceFileText(FileName, SaveToText(), "Cannot write file \"" + FileName.string() + "\"");
}

}  // namespace sarnova
