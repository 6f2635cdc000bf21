#include "exchange/OFFFile.h"

#include <chrono>
#include <ctime>
#include <filesystem>

#include "document/Settings.h"
#include "exchange/IoImport.h"
#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "foundation/Geom.h"
#include "foundation/TextFile.h"

namespace sarnova {

namespace {

// The comma-separated fields of a line, each trimmed.
std::vector<std::string_view> CommaFields(std::string_view Line) {
    std::vector<std::string_view> Fields;
    for (std::size_t Start = 0;;) {
        const std::size_t Comma = Line.find(',', Start);
        Fields.push_back(TrimmedView(Line.substr(Start, Comma == Line.npos ? Line.npos : Comma - Start)));
        if (Comma == Line.npos) return Fields;
        Start = Comma + 1;
    }
}

std::string_view Field(const TImportLines& F, const std::vector<std::string_view>& Fields, std::size_t I) {
    if (I >= Fields.size()) F.Fail("field " + std::to_string(I + 1) + " is missing");
    return Fields[I];
}

// "a<Sep>b<Sep>c" as three integers.
void ReadTriple(const TImportLines& F, std::string_view Text, char Sep, int& A, int& B, int& C) {
    int* Out[3] = {&A, &B, &C};
    for (int I = 0; I < 3; ++I) {
        const std::size_t At = Text.find(Sep);
        if ((At == Text.npos) != (I == 2)) F.Fail("\"" + std::string(Text) + "\" is not a time or date");
        *Out[I] = F.Integer(Text.substr(0, At));
        if (At != Text.npos) Text = Text.substr(At + 1);
    }
}

}  // namespace

double OffDocumentUnitsPerFileUnit(bool Metric) { return (Metric ? 0.001 : 0.003048) / MetresPerDesignUnit(); }

TOFFFile::TOFFFile() {
    const std::time_t Now = std::time(nullptr);
    std::tm T{};
    localtime_r(&Now, &T);
    DateTime = {T.tm_hour, T.tm_min, T.tm_sec, T.tm_mday, T.tm_mon + 1, T.tm_year + 1900};
}

void TOFFFile::Validate() {
    if (Sections.Count() > MaxOffSections)
        throw EError("Number of Sections exceed safe maximum (" + std::to_string(MaxOffSections) + ")");
    for (int K = 0; K < Sections.Count(); ++K) {
        TPolyline* P = Sections.Items(K);
        if (P->Count() > MaxOffPoints)
            throw EError(FormatWithPoint("Number of Points on Section %d exceed safe maximum (%d)", {K, MaxOffPoints}));
        if (dynamic_cast<TOFFSection*>(P) == nullptr) {
            auto S = std::make_unique<TOFFSection>();
            S->Assign(*P);
            Sections.Delete(K);
            Sections.Insert(K, std::move(S));
        }
    }
}

void TOFFFile::LoadFromFile(const std::string& FileName) {
    TImportLines F(FileName);
    auto Fields = CommaFields(F.Next());
    ReadTriple(F, Field(F, Fields, 0), ':', DateTime.Hour, DateTime.Minute, DateTime.Second);
    ReadTriple(F, Field(F, Fields, 1), '/', DateTime.Day, DateTime.Month, DateTime.Year);
    if (DateTime.Year < 100) DateTime.Year += DateTime.Year < 70 ? 2000 : 1900;
    SetMeasurerNumber(std::string(Field(F, Fields, 2)));
    Metric = F.Integer(Field(F, Fields, 3)) > 0;
    SetYachtName(std::string(Field(F, Fields, 5)));
    SetExtraCode(std::string(Field(F, Fields, 6)));
    const double Scale = OffDocumentUnitsPerFileUnit(Metric);
    for (std::array<double, 4>* Line : {&DataLine1, &DataLine2}) {
        Fields = CommaFields(F.Next());
        for (std::size_t I = 0; I < 4; ++I) (*Line)[I] = F.Real(Field(F, Fields, I));
    }
    Fields = CommaFields(F.Next());
    const int N = F.Integer(Field(F, Fields, 0));
    LOA = F.Real(Field(F, Fields, 1));
    SFJ = F.Real(Field(F, Fields, 2));
    SFBI = F.Real(Field(F, Fields, 3));
    if (N < 0 || N > MaxOffSections) F.Fail("Number of Sections exceed safe maximum (" + std::to_string(MaxOffSections) + ")");
    Sections.Clear();
    for (int K = 0; K < N; ++K) {
        Fields = CommaFields(F.Next());
        const double Station = F.Real(Field(F, Fields, 0));
        const int M = F.Integer(Field(F, Fields, 1));
        if (M < 0 || M > MaxOffPoints)
            F.Fail(FormatWithPoint("Number of Points on Section %d exceed safe maximum (%d)", {K, MaxOffPoints}));
        auto S = std::make_unique<TOFFSection>();
        S->SectionCode1 = F.Integer(Field(F, Fields, 2));
        S->SectionCode2 = F.Integer(Field(F, Fields, 3));
        for (int P = 0; P < M; ++P) {
            Fields = CommaFields(F.Next());
            const double Z = F.Real(Field(F, Fields, 0)), Y = F.Real(Field(F, Fields, 1));
            const int Code = F.Integer(Field(F, Fields, 2));
            S->AddPoint(Station * Scale, Y * Scale, Z * Scale);
            S->Point(S->Count() - 1)->Tag = Code;
        }
        S->SetStation(Station * Scale);
        Sections.Add(std::move(S));
    }
}

void TOFFFile::SaveToFile(const std::string& FileName) {
    Validate();
    const double Scale = 1 / OffDocumentUnitsPerFileUnit(Metric);
    TTextWriter Out;
    const std::string Stamp = FormatWithPoint(" %.2d:%.2d:%.2d, %.2d/%.2d/%.2d",
                                              {DateTime.Hour, DateTime.Minute, DateTime.Second, DateTime.Day,
                                               DateTime.Month, DateTime.Year % 100});
    Out.WriteLine(FormatWithPoint("%s,%5s,%4d,%-7s,%-24s,%5s ",
                                  {Stamp, MeasurerNumber, Metric ? 1 : 0,
                                   std::filesystem::path(FileName).filename().string(), YachtName, ExtraCode}));
    for (const auto* Line : {&DataLine1, &DataLine2})
        Out.WriteLine(FormatWithPoint("%7.3f,%7.3f,%7.3f,%7.3f", {(*Line)[0], (*Line)[1], (*Line)[2], (*Line)[3]}));
    Out.WriteLine(FormatWithPoint("%7d,%-7.3f,%7.3f,%6.3f", {Sections.Count(), LOA, SFJ, SFBI}));
    for (int K = 0; K < Sections.Count(); ++K) {
        auto& S = static_cast<TOFFSection&>(*Sections.Items(K));
        Out.WriteLine(FormatWithPoint("%10.4f,%3d,%3d,%3d,%4d",
                                      {S.GetStation() * Scale, S.Count(), S.SectionCode1, S.SectionCode2, K + 1}));
        for (int P = 0; P < S.Count(); ++P) {
            const TRPoint& Pt = *S.Point(P);
            Out.WriteLine(FormatWithPoint("%10.4f,%10.4f,%3d", {Pt.Z * Scale, Pt.Y * Scale, Pt.Tag}));
        }
    }
    Out.SaveToFile(FileName);
}

}  // namespace sarnova
