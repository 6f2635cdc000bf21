// The macro blocks that build openings: BOUNDARYOPENING, OPENING, RECTANGLEOPENING and SOLASOPENING.
#include <cmath>

#include "document/GPline.h"
#include "document/GeometryList.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/MacroFile.h"
#include "foundation/VkMaths.h"
#include "naval/GGroup.h"
#include "naval/GOpening.h"

namespace sarnova {

namespace {

enum class TBlockKind { Boundary, Extents, Rectangle, Solas };

// The text after the line's first blank, trimmed; empty without one.
std::string AfterFirstBlank(const std::string& Line) {
    const auto Blank = Line.find(' ');
    return Blank == std::string::npos ? std::string() : Trim(Line.substr(Blank + 1));
}

bool OpensPointsBlock(const std::string& Line) {
    const std::string W = ExtractWord(Line, 2);
    return W == "BEGIN" || W == "{";
}

// Reads the points block that follows; true when it was closed by "END", which also ends the block
// that holds it.
template <class F>
bool ReadPointsBlock(TMacroFile& Macro, F Point) {
    while (!Macro.Eof()) {
        const std::string L = UpperCase(Macro.NextLine());
        if (L == "END") return true;
        if (L == "}") return false;
        if (L.empty() && Macro.Eof()) return false;
        Point(L);
    }
    return false;
}

class TOpeningBlock {
public:
    TOpeningBlock(TMacroFile& AMacro, TGeometryList& AList, TBlockKind AKind, std::string AName)
        : Macro(AMacro), List(AList), Kind(AKind), Name(std::move(AName)) {
        switch (Kind) {
            case TBlockKind::Boundary: Boundary = std::make_unique<TBoundaryOpening>(); break;
            case TBlockKind::Extents: Boundary = std::make_unique<TOpening>(); break;
            case TBlockKind::Rectangle: Rectangle = std::make_unique<TRectangleOpening>(); break;
            case TBlockKind::Solas: Rectangle = std::make_unique<TSolasOpening>(); break;
        }
        if (Boundary) Boundary->Name = Name;
        if (Rectangle) Rectangle->Name = Name;
    }

    void Run() {
        const int KeyLine = Macro.GetCursor();
        bool Ended = false;
        while (!Macro.Eof()) {
            const std::string L = UpperCase(Macro.NextLine());
            if (L == "END") {
                Ended = true;
                break;
            }
            if (L.empty() && Macro.Eof()) break;
            try {
                if (SubKeyword(L)) {
                    Ended = true;
                    break;
                }
            } catch (const EGeometryError& E) {
                Macro.Error(E.what());
            } catch (const EConvertError& E) {
                Macro.Error(E.what());
            }
        }
        if (!Ended) Macro.ErrorAtLine("No END for Opening " + Name, KeyLine);
        try {
            Build(KeyLine);
        } catch (const EGeometryError& E) {
            Macro.ErrorAtLine(E.what(), KeyLine);
        } catch (const EConvertError& E) {
            Macro.ErrorAtLine(E.what(), KeyLine);
        }
    }

private:
    double Number(const std::string& Text) { return List.EvaluateMacroNumber(Text, Macro); }
    int Count(const std::string& Text) { return TruncSingle(Number(Text)); }
    TConnection& Connection() { return Boundary ? Boundary->Connection : Rectangle->Connection; }
    std::unique_ptr<TRPoint>& NormalField() { return Boundary ? Boundary->Normal : Rectangle->Normal; }

    // Handles one block line; true when a points block closed by "END" ended the block.
    bool SubKeyword(const std::string& L) {
        const std::string Key = ExtractWord(L, 1);
        if (Key == "REFLECT") {
            (Boundary ? Boundary->Reflect : Rectangle->Reflect) = true;
        } else if (Key == "COLLAPSEHEAD") {
            Connection().HeadOfWater = ParseFloat(ExtractWord(L, 2));
        } else if (Key == "OPENINGTIME") {
            Connection().OpeningTime = ParseFloat(ExtractWord(L, 2));
        } else if (Key == "NORMAL") {
            ReadNormal(AfterFirstBlank(L));
        } else if (Key == "CONNECT") {
            ReadConnect(L);
        } else if (Boundary && Key == "SEARCH") {
            const std::string W = ExtractWord(L, 2);
            if (W.find('X') != std::string::npos)
                Boundary->SearchAxis = 0;
            else if (W.find('Y') != std::string::npos)
                Boundary->SearchAxis = 1;
            else if (W.find('Z') != std::string::npos)
                Boundary->SearchAxis = 2;
            else
                Macro.Error("Unknown search direction");
            Boundary->SectionCount = Count(ExtractWord(L, 3));
        } else if (Kind == TBlockKind::Boundary && Key == "BOUNDARY") {
            return ReadBoundary(L);
        } else if (Kind == TBlockKind::Extents && ExtentsLine(Key, L)) {
        } else if (Rectangle && (Key == "TOP" || Key == "BOTTOM")) {
            return ReadProfile(L, Key == "TOP" ? *Rectangle->Top : *Rectangle->Bottom, Key == "TOP" ? -0.001 : 0.001);
        } else if (Rectangle && Key == "LOCATION") {
            Rectangle->Location = Number(ExtractWord(L, 2));
        } else if (Rectangle && Key == "LENGTH") {
            Rectangle->Length = Number(AfterFirstBlank(L));
        } else if (Rectangle && Key == "SECTIONS") {
            Rectangle->SectionCount = Count(ExtractWord(L, 2));
        } else if (Rectangle && Key == "HULL") {
            ReadHull(AfterFirstBlank(L));
        } else if (Kind == TBlockKind::Solas && Key == "DRAUGHT") {
            static_cast<TSolasOpening&>(*Rectangle).Draught = Number(ExtractWord(L, 2));
        } else if (Kind == TBlockKind::Solas && Key == "PENETRATION") {
            static_cast<TSolasOpening&>(*Rectangle).Penetration = ExtractWord(L, 2);
        } else if (Key == "END") {
            // "END" followed by more words is passed over.
        } else {
            Macro.Error("Unknown Command " + Key);
        }
        return false;
    }

    bool ExtentsLine(const std::string& Key, const std::string& L) {
        if (Key.size() < 4 || (Key[0] != 'X' && Key[0] != 'Y' && Key[0] != 'Z')) return false;
        const std::string What = Key.substr(1);
        if (What != "LOCATION" && What != "EXTENTS" && What != "MIN" && What != "MAX") return false;
        TExtent& E = static_cast<TOpening&>(*Boundary).Extents.Axis(Key[0] - 'X');
        const double V = Number(ExtractWord(L, 2));
        if (What == "LOCATION")
            E.SetLocation(V);
        else if (What == "EXTENTS")
            E.SetExtent(V);
        else if (What == "MIN")
            E.SetMin(V);
        else
            E.SetMax(V);
        return true;
    }

    bool ReadBoundary(const std::string& L) {
        if (OpensPointsBlock(L)) {
            Boundary->Boundary->Clear();
            return ReadPointsBlock(Macro, [&](const std::string& P) {
                const double Z = WordCount(P) >= 3 ? Number(ExtractWord(P, 3)) : 0;
                Boundary->Boundary->AddPoint(Number(ExtractWord(P, 1)), Number(ExtractWord(P, 2)), Z);
            });
        }
        const std::string Entity = AfterFirstBlank(L);
        auto* Pline = dynamic_cast<TGeoPline*>(List.FindByName(Entity));
        if (Pline == nullptr) Macro.Error("Polyline Boundary " + Entity + " not found");
        Boundary->Boundary = Pline->Polyline().Clone();
        return false;
    }

    // A points block, a height or a polyline entity, extended to a level line beyond both ends.
    bool ReadProfile(const std::string& L, TPolyline& Profile, double Offset) {
        bool EndedBlock = false;
        if (OpensPointsBlock(L)) {
            Profile.Clear();
            EndedBlock = ReadPointsBlock(Macro, [&](const std::string& P) {
                const double Z = WordCount(P) >= 3 ? Number(ExtractWord(P, 3)) + Offset : Offset;
                Profile.AddPoint(Number(ExtractWord(P, 1)), Number(ExtractWord(P, 2)), Z);
            });
        } else if (IsNumber(ExtractWord(L, 2))) {
            Profile.Clear();
            Profile.AddPoint(0, 0, ParseFloat(ExtractWord(L, 2)) + Offset);
        } else {
            const std::string Entity = AfterFirstBlank(L);
            if (auto* Pline = dynamic_cast<TGeoPline*>(List.FindByName(Entity))) {
                Profile.Assign(Pline->Polyline());
            } else if (Kind == TBlockKind::Solas) {
                Macro.Error("Polyline Boundary " + Entity + " not found");
            } else {
                Profile.Clear();
                Profile.AddPoint(0, 0, Number(ExtractWord(L, 2)) + Offset);
            }
        }
        if (Profile.Count() > 0) {
            const TRPoint F = *Profile.First(), E = *Profile.Last();
            Profile.InsertPoint(0, -1000000, F.Y, F.Z);
            Profile.AddPoint(1000000, E.Y, E.Z);
        }
        return EndedBlock;
    }

    void ReadHull(const std::string& HullName) {
        TGeometry* Hull = List.FindByName(HullName);
        if (Hull == nullptr) Macro.Error(HullName + " not found");
        Rectangle->HullPolygons = Hull->CreatePolygonRepresentation(9);
        if (!Rectangle->HullPolygons) Macro.Error(HullName + " is not a surface entity");
        Rectangle->HullName = HullName;
    }

    void ReadNormal(const std::string& Word) {
        static const std::pair<const char*, TMVector> Axes[] = {{"X+", {1, 0, 0}}, {"X-", {-1, 0, 0}},
                                                                {"Y+", {0, 1, 0}}, {"Y-", {0, -1, 0}},
                                                                {"Z+", {0, 0, 1}}, {"Z-", {0, 0, -1}}};
        for (const auto& [Text, V] : Axes)
            if (Word == Text) {
                NormalField() = NewRPointFromVector(V);
                return;
            }
        if (Word.size() > 2 && Word.front() == '[' && Word.back() == ']') {
            const std::string Inner = Word.substr(1, Word.size() - 2);
            if (CommaFieldCount(Inner) == 3) {
                double C[3];
                bool Ok = true;
                for (int I = 0; I < 3; ++I) Ok = Ok && TryStrToFloat(ExtractCommaField(Inner, I + 1), C[I]);
                const double L = std::sqrt(C[0] * C[0] + C[1] * C[1] + C[2] * C[2]);
                if (Ok && L > 0) {
                    NormalField() = NewRPoint(C[0] / L, C[1] / L, C[2] / L);
                    return;
                }
            }
        }
        Macro.Error(Word + " is an invalid normal specification");
    }

    void ReadConnect(const std::string& L) {
        const auto At = L.find("CONNECT");
        const std::string Text = At + 8 < L.size() ? L.substr(At + 8) : std::string();
        try {
            Connection().Parse(Text);
        } catch (const EGeometryError& E) {
            Macro.Error(E.what());
        }
        for (const std::string& End : {Connection().GetEndA(), Connection().GetEndB()}) {
            if (UpperCase(End) == "SEA") continue;
            TGeometry* G = List.FindByName(End);
            if (G == nullptr)
                Macro.Warning("Connection Object " + End + " not found");
            else if (dynamic_cast<TGeoGroup*>(G) == nullptr)
                Macro.Warning(End + " is not a group");
        }
    }

    void Build(int KeyLine) {
        std::unique_ptr<TGeoOpening> Opening;
        if (Boundary) {
            if (Kind == TBlockKind::Extents) {
                auto& O = static_cast<TOpening&>(*Boundary);
                if (O.Extents.FlatAxis() == O.SearchAxis)
                    Macro.ErrorAtLine("Opening " + Name + ", Search direction is incompatible with boundary definition",
                                      KeyLine);
            }
            TPolyline* B = Boundary->GetBoundary();
            if (B == nullptr || B->Count() < 4)
                Macro.ErrorAtLine("Opening " + Name + ", Boundary has less than 4 points", KeyLine);
            if (!B->IsClosed()) Macro.ErrorAtLine("Opening " + Name + ", Boundary is not closed", KeyLine);
            CheckSectionCount(Boundary->SectionCount, KeyLine);
            WriteConsole("Creating Opening " + Name + "...");
            Opening = CreateOpeningFromBoundary(*Boundary);
        } else {
            if (!Rectangle->HullPolygons) Macro.ErrorAtLine("No Hull Entity", KeyLine);
            const TMBox Hull = Rectangle->HullPolygons->Extents();
            if (Kind == TBlockKind::Solas && static_cast<TSolasOpening&>(*Rectangle).Draught - 0.01 < Hull.Min.Z)
                Macro.ErrorAtLine("Draught is undefined or to close to minimum Z extent of Hull", KeyLine);
            if (Rectangle->Location < Hull.Min.X || Rectangle->Location > Hull.Max.X)
                Macro.ErrorAtLine("Opening location is outside the longitudinal extents of the hull", KeyLine);
            if (Rectangle->Length > 0.8 * (Hull.Max.X - Hull.Min.X))
                Macro.ErrorAtLine("Opening Length is greater then 80% of the length of the hull", KeyLine);
            CheckSectionCount(Rectangle->SectionCount, KeyLine);
            WriteConsole("Creating Opening " + Name + "...");
            if (Kind == TBlockKind::Solas) {
                WriteConsole(Format(" Location:    %0.3f", {Rectangle->Location}));
                WriteConsole(Format(" Length:      %0.3f", {Rectangle->Length}));
                Opening = CreateSolasOpening(static_cast<TSolasOpening&>(*Rectangle));
            } else {
                Opening = CreateRectangleOpening(*Rectangle);
            }
        }
        List.Add(std::move(Opening));
    }

    void CheckSectionCount(int N, int KeyLine) {
        if (N < 2) Macro.ErrorAtLine("Opening " + Name + ", Number of sections is less than 2", KeyLine);
    }

    static void WriteConsole(const std::string& Text) {
        if (GConsole) GConsole->WriteLine(Text);
    }

    TMacroFile& Macro;
    TGeometryList& List;
    TBlockKind Kind;
    std::string Name;
    std::unique_ptr<TBoundaryOpening> Boundary;
    std::unique_ptr<TRectangleOpening> Rectangle;
};

}  // namespace

bool TGeoOpening::CreateFromMacro(TMacroFile& Macro, TGeometryList& List) {
    const std::string Line = Macro.GetCurrentLine();
    // Only the first word opens a block: "OPENGROUP OPENING" is a group named OPENING.
    const std::string Key = UpperCase(ExtractWord(Line, 1));
    TBlockKind Kind;
    if (Key == "BOUNDARYOPENING")
        Kind = TBlockKind::Boundary;
    else if (Key == "RECTANGLEOPENING")
        Kind = TBlockKind::Rectangle;
    else if (Key == "SOLASOPENING")
        Kind = TBlockKind::Solas;
    else if (Key == "OPENING")
        Kind = TBlockKind::Extents;
    else
        return false;
    const auto Blank = Line.find(' ');
    const std::string Name = Blank == std::string::npos ? Line : Trim(Line.substr(Blank));
    TOpeningBlock(Macro, List, Kind, Name).Run();
    return true;
}

}  // namespace sarnova
