#include "exchange/IoIV.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <memory>
#include <vector>

#include "entities/GGonList.h"
#include "exchange/IoImport.h"
#include "foundation/Colors.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/Errors.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "naval/GPList.h"

namespace sarnova {

namespace {

constexpr std::string_view Keywords = "MATERIALCOORDINATE3INDEXEDLINESETINDEXEDFACESET";

// Nodes that carry geometry or place it, which this basic reader does not read: each met is counted
// and named, so that a scene whose shapes or placements were left out does not pass as whole.
constexpr std::string_view UnreadNodes[] = {
    "Transform",    "Translation",      "Rotation",   "RotationXYZ",     "Scale",     "MatrixTransform",
    "Cube",         "Sphere",           "Cone",       "Cylinder",        "FaceSet",   "LineSet",
    "PointSet",     "IndexedTriangleStripSet", "TriangleStripSet", "QuadMesh", "NurbsSurface",
    "IndexedNurbsSurface", "NurbsCurve", "IndexedNurbsCurve", "Text2", "Text3", "AsciiText", "Coordinate4",
    "File"};

// The value of a field in a block's text: what follows Name (letter case ignored) between the
// outermost "[" "]" when it starts with "[", else between the outermost braces; inner ones are kept.
std::string GetField(std::string_view Text, std::string_view Name) {
    const std::string Upper = UpperCase(Text);
    const std::size_t At = Upper.find(UpperCase(Name));
    if (At == std::string::npos) return {};
    const std::string_view After = TrimmedView(Text.substr(At + Name.size()));
    const char Open = !After.empty() && After.front() == '[' ? '[' : '{';
    const char Close = Open == '[' ? ']' : '}';
    const std::size_t Start = After.find(Open);
    if (Start == std::string_view::npos) return {};
    std::string Value;
    int Depth = 0;
    for (std::size_t I = Start; I < After.size(); ++I) {
        const char C = After[I];
        if (C == Open && Depth++ == 0) continue;
        if (C == Close && --Depth == 0) break;
        Value += C;
    }
    return Trim(Value);
}

class TInventorReader {
public:
    explicit TInventorReader(const std::string& FileName) {
        Loader.CommentMarker = "#";
        Loader.LoadFromFile(FileName);
    }

    void Read(TImportedEntities& Entities) {
        std::string Keyword;
        while (FindBlock(Keyword)) {
            const std::string Text = BlockText();
            if (Keyword == "MATERIAL")
                Material(Text);
            else if (Keyword == "COORDINATE3")
                Coordinate3(Text);
            else if (Keyword == "INDEXEDLINESET")
                LineSet(Text);
            else if (Keyword == "INDEXEDFACESET")
                FaceSet(Text);
            else
                Log("   " + Keyword + " " + Text);
        }
        if (Fanned > 0)
            Log(Format(Fanned == 1 ? "IoIV: %d face of more than 4 corners imported as a fan of triangles"
                                   : "IoIV: %d faces of more than 4 corners imported as fans of triangles",
                       {Fanned}));
        if (Polylines) {
            auto E = std::make_unique<TGeoPList>();
            E->Polylines().TakeFrom(*Polylines);
            Entities.push_back(std::move(E));
        }
        if (Facets) {
            auto E = std::make_unique<TGeoPGonlist>();
            E->Facets().TakeFrom(*Facets);
            Entities.push_back(std::move(E));
        }
    }

private:
    static void Log(const std::string& Line) {
        if (GConsole) GConsole->WriteLine(Line);
    }
    [[noreturn]] void Fail(const char* Message) const { throw EError(Format(Message, {BlockLine})); }

    // The next line whose first word is one of the keywords (or a part of one) and is followed by a
    // blank on its line.
    bool FindBlock(std::string& Keyword) {
        while (!Loader.Eof()) {
            const int Number = Loader.LineNumber;
            const std::string Line = Loader.NextLine();
            CountUnreadNode(Line);
            const std::size_t Blank = Line.find(' ');
            if (Line.empty() || Blank == std::string::npos) continue;
            const std::string Word = UpperCase(Line.substr(0, Blank));
            if (Keywords.find(Word) == std::string_view::npos) continue;
            Keyword = Word;
            BlockLine = Number;
            Rest = Line.substr(Blank + 1);
            return true;
        }
        return false;
    }

    void CountUnreadNode(std::string_view Line) {
        std::size_t End = 0;
        while (End < Line.size() && (std::isalnum(static_cast<unsigned char>(Line[End])) != 0)) ++End;
        const std::string_view Word = Line.substr(0, End);
        // A node opens its braces after its name.
        if (Word.empty() || TrimmedView(Line.substr(End)).substr(0, 1) != "{") return;
        for (const std::string_view Node : UnreadNodes)
            if (Word == Node) Skipped.Add(std::string(Node));
    }

    // The block's text from the keyword line on: without its outermost braces, lines joined by one
    // blank, up to the closing brace (or the end of the keyword line when it opens none).
    std::string BlockText() {
        std::string Text;
        std::string Line = Trim(Rest);
        int Depth = 0;
        bool Opened = false;
        for (bool First = true;; First = false) {
            if (!First) Text += ' ';
            for (const char C : Line) {
                if (C == '{') {
                    Opened = true;
                    if (Depth++ == 0) continue;
                } else if (C == '}' && Depth > 0) {
                    if (--Depth == 0) return Trim(Text);
                }
                Text += C;
            }
            if (!Opened) return Trim(Text);
            if (Loader.Eof()) Fail("IoIV: Block not closed (Block on Line %d)");
            Line = Loader.NextLine();
        }
    }

    std::vector<double> Numbers(std::string Value) {
        for (char& C : Value)
            if (C == ',') C = ' ';
        std::vector<double> Result;
        std::size_t I = 0;
        while (I < Value.size()) {
            while (I < Value.size() && (Value[I] == ' ' || Value[I] == '\t')) ++I;
            std::size_t End = I;
            while (End < Value.size() && Value[End] != ' ' && Value[End] != '\t') ++End;
            if (End > I) {
                const std::string_view Word = std::string_view(Value).substr(I, End - I);
                double X = 0;
                if (!TryStrToFloat(Word, X))
                    throw EConvertError("Unable to convert string to number (" + std::string(Word) +
                                        Format(") (Block on Line %d)", {BlockLine}));
                Result.push_back(X);
            }
            I = End;
        }
        return Result;
    }

    std::vector<int> Indices(const std::string& Value) {
        std::vector<int> Result;
        for (const double X : Numbers(Value)) {
            // -1 ends a run; any other index must name a point.
            if (X < -1 || X >= static_cast<double>(Points.size()) || X != std::floor(X))
                Fail("IoIV: Point index out of range (Block on Line %d)");
            Result.push_back(static_cast<int>(X));
        }
        return Result;
    }

    // The runs of indices ended by -1 (a last run may end with the list).
    template <class F>
    void ForEachRun(const std::vector<int>& List, F Run) {
        std::vector<int> Current;
        for (const int I : List) {
            if (I >= 0) {
                Current.push_back(I);
                continue;
            }
            if (!Current.empty()) Run(Current);
            Current.clear();
        }
        if (!Current.empty()) Run(Current);
    }

    void Material(const std::string& Text) {
        Log("Processing Material: " + Text);
        const std::string Upper = UpperCase(Text);
        const std::size_t At = Upper.find("DIFFUSECOLOR");
        if (At == std::string::npos) return;
        const std::string After = Text.substr(At + 12);
        int RGB[3] = {0, 0, 0};
        for (int K = 0; K < 3; ++K) {
            double X = 0;
            try {
                X = ParseFloat(ExtractWord(After, K + 1));
            } catch (const EConvertError& E) {
                throw EConvertError(std::string(E.what()) + Format(" (Block on Line %d)", {BlockLine}));
            }
            // Components outside 0 .. 1 are held at the ends of the range.
            RGB[K] = std::clamp(TruncSingle(std::clamp(X, 0.0, 1.0) * 255), 0, 255);
        }
        MaterialColor = RGBColor(RGB[0], RGB[1], RGB[2]);
        HasColor = true;
    }

    void CheckNotEmpty(const std::string& Text) const {
        if (Text.empty()) Fail("IoIV: Block does not contain anything (Block on Line: %d)");
    }

    void Coordinate3(const std::string& Text) {
        CheckNotEmpty(Text);
        Log("Processing Coordinate3: " + Text);
        const std::string Value = GetField(Text, "POINT");
        Log("Processing Points: " + Value);
        const std::vector<double> X = Numbers(Value);
        Points.clear();
        for (std::size_t I = 0; I + 2 < X.size(); I += 3) Points.push_back({X[I], X[I + 1], X[I + 2]});
    }

    void LineSet(const std::string& Text) {
        CheckNotEmpty(Text);
        Log("Processing IndexLineSet: " + Text);
        const std::string Value = GetField(Text, "COORDINDEX");
        Log("Processing coordIndex: " + Value);
        ForEachRun(Indices(Value), [&](const std::vector<int>& Run) {
            auto P = std::make_unique<TPolyline>();
            for (const int I : Run) P->AddVector(Points[static_cast<std::size_t>(I)]);
            if (HasColor) {
                P->LineColor = MaterialColor;
                P->OwnColors = true;
            }
            if (!Polylines) Polylines = std::make_unique<TPolylineList>();
            Polylines->Add(std::move(P));
        });
    }

    void FaceSet(const std::string& Text) {
        CheckNotEmpty(Text);
        Log("Processing IndexFaceSet: " + Text);
        const std::string Value = GetField(Text, "COORDINDEX");
        Log("Processing coordIndex: " + Value);
        ForEachRun(Indices(Value), [&](const std::vector<int>& Run) {
            const auto At = [&](int K) { return Points[static_cast<std::size_t>(Run[static_cast<std::size_t>(K)])]; };
            std::unique_ptr<TPolygon> F;
            if (Run.size() == 3)
                F = TriangleFromVectors(At(0), At(1), At(2));
            else if (Run.size() == 4)
                F = QuadFromVectors(At(0), At(1), At(2), At(3));
            else if (Run.size() < 3)
                Fail("IoIV: Polygon defintion not complete (Block on Line %d)");
            if (F) {
                AddFacet(std::move(F));
                return;
            }
            // A face of more corners (writers such as Coin give them) as a fan from its first corner
            // rather than refusing the whole file.
            ++Fanned;
            for (std::size_t K = 1; K + 1 < Run.size(); ++K)
                AddFacet(TriangleFromVectors(At(0), At(static_cast<int>(K)), At(static_cast<int>(K + 1))));
        });
    }

    void AddFacet(std::unique_ptr<TPolygon> F) {
        if (HasColor) {
            F->Color = MaterialColor;
            F->OwnColor = true;
            F->EdgeColor = MaterialColor;
        }
        if (!Facets) Facets = std::make_unique<TPolygonList>();
        Facets->Add(std::move(F));
    }

public:
    TSkippedKinds Skipped;

private:

    TFileLoader Loader;
    std::string Rest;
    int BlockLine = 0;
    std::vector<TMVector> Points;
    TColor MaterialColor = 0;
    bool HasColor = false;
    std::unique_ptr<TPolylineList> Polylines;
    std::unique_ptr<TPolygonList> Facets;
    int Fanned = 0;
};

}  // namespace

void ImportInventor(const std::string& FileName, TGeometryList& Document) {
    RunImport("Open Inventor", FileName, Document,
              [&](TImportedEntities& Entities) {
                  TInventorReader Reader(FileName);
                  Reader.Read(Entities);
                  Reader.Skipped.Report("Open Inventor", FileName);
              });
}

}  // namespace sarnova
