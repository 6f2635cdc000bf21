#include <gtest/gtest.h>

#include "ExchangeFixtures.h"
#include "exchange/IGESEntities.h"
#include "exchange/IGESFile.h"
#include "foundation/NumberText.h"

using namespace sarnova;
using namespace sarnova::test;

namespace {

// A global section of one record: Text, padded to 72 columns.
TIGESGlobalSection GlobalFrom(const std::string& Text) {
    TIGESGlobalSection G;
    std::vector<std::string> Records;
    for (std::size_t I = 0; I < Text.size(); I += 72) Records.push_back(Text.substr(I, 72));
    G.LoadFromLines(Records);
    return G;
}

// Parameters 3 .. 24 of a plain global section.
const std::string Rest = "4HSHIP,8Hship.igs,3HSYS,3HPRE,32,38,6,308,15,,1.,2,2HMM,1,0.1,13H240315.142530,0.001,"
                         "100.,6HAuthor,3HOrg,11,0;";

}  // namespace

TEST(IGESFile, Hollerith) {
    EXPECT_EQ(MakeHollerith("HELLO"), "5HHELLO");
    EXPECT_EQ(MakeHollerith(""), "");
    EXPECT_EQ(ReadHollerith("5HHELLO,3HABC;"), "5HHELLO");
    EXPECT_EQ(HollerithValue("5HHELLO"), "HELLO");
    for (const char* Bad : {"12345H" "A", "XH,", "9HSHORT"})
        EXPECT_EQ(ErrorOf([&] { ReadHollerith(Bad); }),
                  std::string("IGES Format Error: Badly formatted Hollerith String (") + Bad + ")");
}

TEST(IGESFile, GlobalDelimiters) {
    const std::pair<std::string, std::pair<char, char>> Cases[] = {
        {"1H,,1H;,", {',', ';'}}, {",,", {',', ';'}}, {"1H//1H;/", {'/', ';'}}};
    for (const auto& [Head, Delimiters] : Cases) {
        std::string Body = Rest;
        if (Delimiters.first != ',') std::replace(Body.begin(), Body.end(), ',', Delimiters.first);
        const TIGESGlobalSection G = GlobalFrom(Head + Body);
        EXPECT_EQ(G.ParameterDelimiter, Delimiters.first) << Head;
        EXPECT_EQ(G.RecordDelimiter, Delimiters.second) << Head;
        EXPECT_EQ(G.FileName, "ship.igs") << Head;
        EXPECT_EQ(G.Units, iuMillimetres) << Head;
        EXPECT_EQ(G.UnitsName, "MM") << Head;
        EXPECT_EQ(G.Author, "Author") << Head;
        EXPECT_EQ(G.IGESVersion, 11) << Head;
        EXPECT_DOUBLE_EQ(G.MaxCoordinate, 100.0) << Head;
    }
    EXPECT_EQ(ErrorOf([] { GlobalFrom("2H//" + Rest); }),
              "IGES Format Error (Global Section): IGES File Parameter Separator is made up of more than one character");
    EXPECT_EQ(ErrorOf([] { GlobalFrom(",2H;;" + Rest); }),
              "IGES Format Error (Global Section): IGES File Record Separator is made up of more than one character");
}

TEST(IGESFile, GlobalSectionErrors) {
    // Ends after the version: the drafting standard is missing and the version has no delimiter.
    EXPECT_EQ(ErrorOf([] { GlobalFrom(",," + Rest.substr(0, Rest.size() - 3) + ";"); }),
              "IGES Format Error (Global Section): IGES Version is badly formatted");
    std::string BadScale = ",," + Rest;
    BadScale.replace(BadScale.find(",1.,"), 4, ",x,");
    EXPECT_EQ(ErrorOf([&] { GlobalFrom(BadScale); }), "IGES Format Error (Global Section): Model Space Scale is badly formatted");
    // A bad date is only logged, and the rest is read.
    std::string BadDate = ",," + Rest;
    BadDate.replace(BadDate.find("240315"), 6, "241399");
    std::vector<std::string> Lines = ConsoleLinesOf([&] { EXPECT_EQ(GlobalFrom(BadDate).Author, "Author"); });
    EXPECT_EQ(Lines, std::vector<std::string>{"IGES Format Error (Global Section): Date and Time String is badly formatted"});
}

TEST(IGESFile, LongHollerithSplitsAtColumn72) {
    TIGESGlobalSection G;
    G.Author = std::string(100, 'A');
    G.Organisation = "Org";
    G.SaveToLines();
    std::string Joined;
    bool PrefixWhole = false;
    for (const std::string& L : G.Lines) {
        EXPECT_LE(L.size(), 72u);
        PrefixWhole |= L.find("100H") != std::string::npos;
        Joined += L;
    }
    EXPECT_TRUE(PrefixWhole);
    EXPECT_EQ(Joined.back(), ';');
    std::vector<std::string> Padded;
    for (const std::string& L : G.Lines) Padded.push_back(L + std::string(72 - L.size(), ' '));
    TIGESGlobalSection Back;
    Back.LoadFromLines(Padded);
    EXPECT_EQ(Back.Author, G.Author);
    EXPECT_EQ(Back.Organisation, "Org");
    EXPECT_EQ(Back.DateTime, G.DateTime);
    EXPECT_EQ(Back.PreprocessorVersion, "Tavik IGES Translator 2.0");
    EXPECT_DOUBLE_EQ(Back.MaxLineWeight, 0.003);
    EXPECT_NE(G.Lines[0].find("1.000,6,1HM,"), std::string::npos) << G.Lines[0];
}

TEST(IGESFile, Dates) {
    const std::pair<const char*, TIGESDateTime> Cases[] = {
        {"13H991231.235959", {1999, 12, 31, 23, 59, 59}},
        {"15H20240315.142530", {2024, 3, 15, 14, 25, 30}},
        {"13H791231.000000", {2079, 12, 31, 0, 0, 0}},
        {"13H990230.000000", {}},
        {"13H991231.245959", {}},
        {"13HGARBAGE", {}},
    };
    for (const auto& [Text, Date] : Cases) EXPECT_EQ(ParseIGESDate(Text), Date) << Text;
    EXPECT_EQ(FormatIGESDate({2024, 3, 15, 14, 25, 30}), "13H240315.142530");
}

TEST(IGESFile, ReadParameters) {
    TIGESFile File;
    File.SourceName = "x.igs";
    TIGESEntity& E = *File.Add(std::make_unique<TIGESEntity>(110));
    E.ParameterPointer = 7;
    E.Parameters = {"110,0.,0.,0.,1.,2.D0,3.;"};
    EXPECT_EQ(E.ReadParameters(), (std::vector<double>{110, 0, 0, 0, 1, 2, 3}));
    // Forms other writers use.
    E.Parameters = {"110,.5,-.5,1.E-3,+2,1.0D+00,1e5,  7 ;"};
    EXPECT_EQ(E.ReadParameters(), (std::vector<double>{110, 0.5, -0.5, 1e-3, 2, 1, 1e5, 7}));
    E.Parameters = {"110,,1.5E1,", "", "4;"};
    EXPECT_EQ(E.ReadParameters(), (std::vector<double>{110, 0, 15, 0, 4}));
    E.Parameters = {"110,1.,", "2.,1.2.3,4.;"};
    EXPECT_EQ(ErrorOf([&] { E.ReadParameters(); }),
              "x.igs: directory entry 1, parameter line 8: '1.2.3' is not a number");
}

TEST(IGESFile, ParameterRecordsWrapAt64) {
    TIGESFile File;
    TIGESEntity& E = *File.Add(std::make_unique<TIGESEntity>(106));
    E.AddIntegerParameter(106);
    for (int I = 0; I < 30; ++I) E.AddRealParameter(I + 0.123456789);
    E.EndParameters();
    ASSERT_GT(E.Parameters.size(), 1u);
    for (const std::string& L : E.Parameters) EXPECT_LE(L.size(), 64u);
    EXPECT_EQ(E.Parameters.back().back(), ';');
    const std::vector<double> P = E.ReadParameters();
    ASSERT_EQ(P.size(), 31u);
    EXPECT_DOUBLE_EQ(P[30], 29.123456789);
}

TEST(IGESFile, StatusAndDirectoryRoundTrip) {
    TIGESEntity E(126);
    E.ParameterPointer = 13;
    E.TransformationMatrix = 5;
    E.Status = {true, 2, 5, 1};
    E.Color = 4;
    E.FormNumber = 12;
    E.EntityLabel = "KEEL";
    E.Parameters = {"a", "b", "c"};
    const std::string T = E.DirectoryText();
    ASSERT_EQ(T.size(), 160u);
    EXPECT_EQ(T.substr(64, 16), "01020501D      1");
    TIGESEntity Back;
    Back.ReadDirectoryEntry(T);
    EXPECT_EQ(Back.EntityType, 126);
    EXPECT_EQ(Back.ParameterPointer, 13);
    EXPECT_EQ(Back.TransformationMatrix, 5);
    EXPECT_EQ(Back.ParameterLineCount, 3);
    EXPECT_EQ(Back.FormNumber, 12);
    EXPECT_EQ(Back.Color, 4);
    EXPECT_EQ(Back.EntityLabel, "KEEL");
    EXPECT_TRUE(Back.Status.Blank);
    EXPECT_EQ(Back.Status.Subordinate, 2);
    EXPECT_EQ(Back.Status.EntityUse, 5);
    EXPECT_EQ(Back.Status.Hierarchy, 1);
    EXPECT_EQ(TIGESEntityStatus{}.Text(), std::string(8, ' '));
}

namespace {

// A file of two entities (a line and a copious data curve), as records.
std::vector<std::string> SmallFile() {
    TIGESFile File;
    File.StartLines = {"Test"};
    auto& L = *File.Add(std::make_unique<TIGESEntity110>());
    for (double V : {110.0, 0.0, 0.0, 0.0, 1.0, 2.0, 3.0}) L.AddRealParameter(V);
    L.EndParameters();
    auto& C = static_cast<TIGESEntity106&>(*File.Add(std::make_unique<TIGESEntity106>()));
    TPolyline P;
    for (int I = 0; I < 10; ++I) P.AddPoint(I, I * I, 0.5);
    C.SetPolyline(P);
    return File.SaveToLines("small.igs");
}

}  // namespace

TEST(IGESFile, WritesEightyColumnRecordsAndReadsThemBack) {
    const std::vector<std::string> Lines = SmallFile();
    int Counts[5] = {};
    for (const std::string& L : Lines) {
        ASSERT_EQ(L.size(), 80u) << L;
        const auto Section = std::string("SGDPT").find(L[72]);
        ASSERT_NE(Section, std::string::npos) << L;
        ++Counts[Section];
    }
    EXPECT_EQ(Counts[4], 1);
    EXPECT_EQ(Lines.back(), Format("S%7dG%7dD%7dP%7d", {Counts[0], Counts[1], Counts[2], Counts[3]}) +
                                std::string(40, ' ') + "T      1");
    EXPECT_EQ(Lines[0].substr(72), "S      1");

    std::vector<std::string> WithBlanks = Lines;
    WithBlanks.push_back("");
    WithBlanks.push_back("   ");
    TIGESFile Back;
    Back.LoadFromLines(WithBlanks);
    ASSERT_EQ(Back.Count(), 2);
    EXPECT_EQ(Back.StartLines[0].substr(0, 4), "Test");
    EXPECT_EQ(Back.GlobalSection.FileName, "small.igs");
    EXPECT_EQ(Back.CountOfType(106), 1);
    EXPECT_EQ(Back.EntityByDE(3), Back.Items(1));
    EXPECT_EQ(Back.EntityByDE(2), nullptr);
    EXPECT_EQ(Back.EntityByDE(5), nullptr);
    EXPECT_EQ(Back.Items(1)->FormNumber, 12);
    const TPolyline& P = static_cast<TIGESEntity106*>(Back.Items(1))->GetPolyline();
    ASSERT_EQ(P.Count(), 10);
    EXPECT_DOUBLE_EQ(const_cast<TPolyline&>(P).Point(9)->Y, 81.0);
    auto* L = dynamic_cast<TIGESEntity110*>(Back.Items(0));
    ASSERT_NE(L, nullptr);
    EXPECT_DOUBLE_EQ(L->GetEndPoint().Z, 3.0);
}

TEST(IGESFile, ReaderChecksCountsAndPointers) {
    const std::vector<std::string> Good = SmallFile();
    const std::size_t TLine = Good.size();
    const auto Fails = [&](std::vector<std::string> Lines) {
        TIGESFile F;
        F.SourceName = "bad.igs";
        return ErrorOf([&] { F.LoadFromLines(Lines); });
    };
    {
        std::vector<std::string> Lines = Good;
        Lines.erase(Lines.end() - 2);  // one parameter record fewer than promised
        EXPECT_NE(Fails(Lines).find("bad.igs(" + std::to_string(TLine - 1) + "): IGES Format Error (Terminate Section)"),
                  std::string::npos)
            << Fails(Lines);
    }
    {
        std::vector<std::string> Lines = Good;
        Lines.pop_back();
        EXPECT_EQ(Fails(Lines), "bad.igs: Terminate section of IGES file not found");
    }
    {
        // The second entry's parameter pointer runs past the parameter section.
        std::vector<std::string> Lines = Good;
        const std::size_t D2 = Lines.size() - 1 - 0;
        std::size_t Entry = 0;
        for (std::size_t I = 0; I < D2; ++I)
            if (Lines[I][72] == 'D' && Lines[I].substr(73) == "      3") Entry = I;
        Lines[Entry].replace(8, 8, "     999");
        EXPECT_EQ(Fails(Lines).substr(0, Fails(Lines).find(':')), "bad.igs(" + std::to_string(Entry + 1) + ")");
        EXPECT_NE(Fails(Lines).find("parameter pointer 999"), std::string::npos);
    }
    {
        std::vector<std::string> Lines = Good;
        Lines.back().replace(0, 1, "X");
        EXPECT_NE(Fails(Lines).find("IGES Format Error (Terminate Section): \"Start\" Parameter not found("),
                  std::string::npos);
    }
}

TEST(IGESFile, UnitsAndVersions) {
    EXPECT_EQ(IGESUnitName(iuMillimetres), "MM");
    EXPECT_EQ(IGESUnitName(iuUserDefined), "");
    EXPECT_EQ(IGESUnitName(iuMicroinches), "UIN");
    EXPECT_EQ(IGESVersionName(9), "IGES Version 5.1 [NIST91?]");
    EXPECT_EQ(IGESVersionName(12), "Unknown IGES version flag (12)");
    EXPECT_DOUBLE_EQ(IGESReal("2.5D2"), 250.0);
    EXPECT_DOUBLE_EQ(IGESReal("abc"), 0.0);
}
