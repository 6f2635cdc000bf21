#include "exchange/IoNapa.h"

#include <unordered_map>

#include "document/GPline.h"
#include "exchange/IoImport.h"
#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "foundation/PolyList.h"
#include "foundation/Polyline.h"
#include "foundation/TextFile.h"
#include "naval/GPList.h"

namespace sarnova {

namespace {

// Digits with an optional sign and at most one ".", nothing else.
bool IsDecimal(std::string_view W) {
    std::size_t I = !W.empty() && (W[0] == '-' || W[0] == '+') ? 1 : 0;
    bool Digit = false, Point = false;
    for (; I < W.size(); ++I) {
        if (W[I] >= '0' && W[I] <= '9') Digit = true;
        else if (W[I] == '.' && !Point) Point = true;
        else return false;
    }
    return Digit;
}

class TNapaReader {
public:
    TNapaReader(const std::string& FileName, TImportedEntities& Entities)
        : FName(FileName), FLines(ReadFileLines(FileName)), FEntities(Entities) {}

    void Read() {
        std::vector<std::string_view> W;
        while (FNext < FLines.size()) {
            const std::string_view Line = NextLine();
            SplitWords(Line, W);
            if (W.size() >= 3 && W[0] == "table" && W[1] == "for:") TwoCurveTable(std::string(W[2]));
            else if (W.size() >= 3 && W[0] == "LIST" && W[1] == "OF") PointList(W.size() >= 4 ? std::string(W[3]) : "");
            else if (W.size() >= 2 && W[0] == "X" && W[1] == "Y") OffsetTable(static_cast<int>(W.size()));
            else if (W.size() >= 2 && UpperCase(W[0]).find("CUR") != std::string::npos) {
                while (FNext < FLines.size() && !NextLine().empty()) {}
            }
        }
        if (FSections.Count() > 0) {
            auto Hull = std::make_unique<TGeoPList>();
            Hull->SetName("Hull");
            // Moved, not copied (they arrive in reverse order; the sort puts them by station).
            Hull->Polylines().TakeFrom(FSections);
            Hull->SortSections();
            FEntities.push_back(std::move(Hull));
        }
    }

private:
    std::string_view NextLine() { return FLines[FNext++]; }
    int LineNumber() const { return static_cast<int>(FNext); }  // of the line read last
    [[noreturn]] void Fail(const std::string& What) const {
        throw EConvertError(FName + "(" + std::to_string(LineNumber()) + "): " + What);
    }
    double Number(std::string_view Text) {
        double V = 0;
        if (!TryStrToFloat(Text, V)) Fail("Unable to convert string to number (" + std::string(Text) + ")");
        return V;
    }

    // The 1-based positions of the letters of Letters in the header, each found and blanked in turn.
    std::vector<std::size_t> ColumnEnds(std::string_view Letters) {
        if (FNext >= FLines.size()) Fail("column header expected");
        std::string Header(NextLine());
        std::vector<std::size_t> Ends;
        for (char L : Letters) {
            const std::size_t At = Header.find(L);
            if (At == std::string::npos) Fail(std::string("the column header has no ") + L);
            Header[At] = ' ';
            Ends.push_back(At + 1);
        }
        return Ends;
    }

    static std::string_view Column(std::string_view Line, std::size_t From, std::size_t To) {
        if (From >= Line.size() || To <= From) return {};
        return TrimmedView(Line.substr(From, To - From));
    }

    bool NextDataLine(std::string_view& Line) {
        if (FNext >= FLines.size()) return false;
        Line = NextLine();
        return WordCount(Line) > 0;
    }

    void AddPolyline(TPolyline& Points, const std::string& Name) {
        auto E = std::make_unique<TGeoPline>();
        E->Polyline().AddCopies(Points);
        E->SetName(Name);
        FEntities.push_back(std::move(E));
    }

    void TwoCurveTable(const std::string& Name) {
        const std::vector<std::size_t> E = ColumnEnds("XYZXYZ");
        if (FNext < FLines.size()) ++FNext;
        TPolyline First, Second;
        std::string_view Line;
        while (NextDataLine(Line)) {
            std::size_t From = 0;
            for (TPolyline* Curve : {&First, &Second}) {
                const std::size_t Base = Curve == &First ? 0 : 3;
                const std::string_view X = Column(Line, From, E[Base]), Y = Column(Line, E[Base], E[Base + 1]),
                                       Z = Column(Line, E[Base + 1], E[Base + 2]);
                From = E[Base + 2];
                if (!X.empty() && !Y.empty() && !Z.empty()) Curve->AddPoint(Number(X), Number(Y), Number(Z));
            }
        }
        First.AddCopies(Second);
        AddPolyline(First, Name);
    }

    void PointList(const std::string& Name) {
        if (FNext < FLines.size()) ++FNext;
        const std::vector<std::size_t> E = ColumnEnds("XYZ");
        TPolyline Points;
        double V[3] = {0, 0, 0};
        std::string_view Line;
        while (NextDataLine(Line)) {
            bool Any = false;
            for (int C = 0; C < 3; ++C) {
                const std::string_view Text = Column(Line, C == 0 ? 0 : E[C - 1], E[C]);
                if (Text.empty()) continue;
                V[C] = Number(Text);
                Any = true;
            }
            if (Any) Points.AddPoint(V[0], V[1], V[2]);
        }
        AddPolyline(Points, Name);
    }

    void OffsetTable(int N) {
        if (FNext >= FLines.size()) Fail("the line of heights is missing");
        std::vector<std::string_view> W;
        SplitWords(NextLine(), W);
        std::vector<double> Heights;
        for (int I = 0; I < N - 1; ++I) {
            std::string_view Word = I < static_cast<int>(W.size()) ? W[static_cast<std::size_t>(I)] : std::string_view();
            if (const std::size_t Eq = Word.find('='); Eq != Word.npos) Word = Word.substr(Eq + 1);
            Heights.push_back(Number(Word));
        }
        if (FNext < FLines.size()) ++FNext;
        while (FNext < FLines.size()) {
            SplitWords(NextLine(), W);
            if (static_cast<int>(W.size()) != N) break;
            if (!IsDecimal(W[0])) continue;
            const double X = Number(W[0]);
            auto [It, New] = FStations.emplace(X, FSections.Count());
            if (New) {
                auto S = std::make_unique<TPolyline>();
                S->SetStation(X);
                FSections.Add(std::move(S));
            }
            TPolyline& Section = *FSections.Items(It->second);
            for (int C = 1; C < N; ++C)
                if (IsDecimal(W[static_cast<std::size_t>(C)]))
                    Section.AddPoint(X, Number(W[static_cast<std::size_t>(C)]), Heights[static_cast<std::size_t>(C - 1)]);
        }
    }

    std::string FName;
    std::vector<std::string> FLines;
    std::size_t FNext = 0;
    TImportedEntities& FEntities;
    TPolylineList FSections;
    std::unordered_map<double, int> FStations;
};

}  // namespace

void ImportNapaOffsets(const std::string& FileName, TGeometryList& Document) {
    RunImport("NAPA", FileName, Document,
              [&](TImportedEntities& Entities) { TNapaReader(FileName, Entities).Read(); });
}

}  // namespace sarnova
