// Series as text blocks, series files and XML.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "foundation/Errors.h"
#include "foundation/TextFile.h"
#include "controls/VkGraphCore.h"
#include "controls/XML.h"
#include "controls/XMLStream.h"

namespace sarnova {
namespace {

std::filesystem::path TempFile(const std::string& Name) {
    return std::filesystem::temp_directory_path() / ("sarnova-series-" + Name);
}

std::string ReadFile(const std::filesystem::path& Path) {
    std::ifstream In(Path, std::ios::binary);
    return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::filesystem::path& Path, const std::string& Text) {
    std::ofstream(Path, std::ios::binary) << Text;
}

void FillHull(TVkSeries& S) {
    S.SetName("Hull");
    S.Tag = 3;
    S.SetColor(clBtnFace);
    S.SetLineWidth(2);
    S.SetPointType(ptCircle);
    S.AddXY(1.5, -2.25);
    S.AddXY(0, 1000000);
}

const char* const HullBlock =
    "Name=Hull\r\nTag=3\r\nColor=-16777201\r\nLineWidth=2\r\nPointType=1\r\nNumPoints=2\r\n"
    "1.500000 -2.250000\r\n0.000000 1000000.000000\r\n";

TEST(SeriesText, BlockIsWrittenExactly) {
    TVkSeries S;
    FillHull(S);
    TTextWriter Out;
    S.SaveToText(Out);
    EXPECT_EQ(Out.Text(), HullBlock);
}

TEST(SeriesText, ReadsByLineOrderWithLfOrCrLf) {
    std::string Lf = HullBlock;
    for (std::size_t P; (P = Lf.find("\r\n")) != std::string::npos;) Lf.erase(P, 1);
    for (const std::string& Text : {std::string(HullBlock), Lf}) {
        TVkSeriesList List;
        TVkSeries& S = List.AddNew("S");
        S.AddXY(7, 7);
        TTextReader In(Text);
        S.LoadFromText(In);
        TTextWriter Out;
        S.SaveToText(Out);
        EXPECT_EQ(Out.Text(), HullBlock);
        EXPECT_EQ(S.GetExtents(), (TGraphExtents{0, -2.25, 1.5, 1000000}));
    }
    // The keys are not compared; a name keeps everything after the first "=", cut to 255 bytes.
    const std::string Long(300, 'n');
    const std::pair<std::string, std::string> Names[] = {{"a=b", "a=b"}, {Long, Long.substr(0, 255)}};
    for (const auto& [Written, Read] : Names) {
        TTextReader In("Label=" + Written + "\nT=0\nC=255\nW=1\nP=0\nN=1\n4 5 rest of line\n");
        TVkSeries S;
        S.LoadFromText(In);
        EXPECT_EQ(S.GetName(), Read);
        EXPECT_EQ(S.GetColor(), clRed);
        EXPECT_EQ(S.GetPoint(0).GetY(), 5);
    }
}

TEST(SeriesText, DamagedBlocksChangeNothing) {
    struct Case {
        const char* Text;
        const char* Message;
    };
    const Case Cases[] = {
        {"Name=X\nTag=x\nColor=0\nLineWidth=0\nPointType=0\nNumPoints=0\n", "'x' is not a valid integer value"},
        {"Name=X\nTag=0\nColor=0\nLineWidth=0\nPointType=0\nNumPoints=2\n1 2\n3 abc\n", "I/O Result 106"},
        {"Name=X\nTag=0\nColor=0\nLineWidth=0\nPointType=0\nNumPoints=2000000000\n1 2\n", "I/O Result 100"},
        {"Name=X\nTag=0\n", "'' is not a valid integer value"},
    };
    for (const Case& C : Cases) {
        TVkSeriesList List;
        TVkSeries& S = List.AddNew("Keep");
        S.AddXY(1, 1);
        TTextReader In(C.Text);
        try {
            S.LoadFromText(In);
            ADD_FAILURE() << C.Text;
        } catch (const EError& E) {
            EXPECT_EQ(std::string(E.what()), C.Message);
        }
        EXPECT_EQ(S.GetName(), "Keep");
        EXPECT_EQ(S.Count(), 1);
    }
}

TEST(SeriesFile, RoundTripAndHeader) {
    const auto Path = TempFile("round.txt");
    TVkSeries S;
    FillHull(S);
    S.SaveToFile(Path);
    EXPECT_EQ(ReadFile(Path), std::string("[TVkSeries]\r\n") + HullBlock);

    TVkSeriesList List;
    TVkSeries& Back = List.AddNew("Other");
    Back.LoadFromFile(Path);
    EXPECT_EQ(Back.Tag, 3);
    EXPECT_EQ(Back.GetColor(), clBtnFace);
    EXPECT_EQ(Back.GetPointType(), ptCircle);
    EXPECT_EQ(List.GetExtents().MaxY, 1000000);
    const auto Again = TempFile("again.txt");
    Back.SaveToFile(Again);
    EXPECT_EQ(ReadFile(Again), ReadFile(Path));

    // The header's letter case does not matter; its text does.
    WriteFile(Path, "[tvkseries]\nName=Lower\nTag=0\nColor=0\nLineWidth=0\nPointType=0\nNumPoints=0\n");
    Back.LoadFromFile(Path);
    EXPECT_EQ(Back.GetName(), "Lower");
    WriteFile(Path, "[TVkAxis]\nName=Wrong\n");
    try {
        Back.LoadFromFile(Path);
        ADD_FAILURE();
    } catch (const EError& E) {
        EXPECT_EQ(std::string(E.what()), "File " + Path.string() + " does not contain a TVkSeries");
    }
    EXPECT_EQ(Back.GetName(), "Lower");
    std::filesystem::remove(Path);
    std::filesystem::remove(Again);
    EXPECT_THROW(Back.LoadFromFile(Path), EInOutError);
}

const char* const ChartXml = R"(<?xml version="1.0"?>
<CHART>
  <SERIES Name="A" Tag="4" Color="clRed" LineWidth="2" Marker="circle">
    <DATAPOINT X="1,5" Y="2"/>
    <!-- lower-case points count -->
    <datapoint x="3" y="-4.25"/>
    <NOTE X="9" Y="9"/>
  </SERIES>
  <series Name="skipped"/>
  <SERIES Marker="BigSquare" Color="$00FF8000"/>
  <SERIES Marker="x"/>
</CHART>
)";

TEST(SeriesXml, ListReadsSeriesChildren) {
    TXMLDocument Document;
    Document.LoadXML(ChartXml);
    TVkGraphCore Graph;
    Graph.GetSeriesList().AddNew("Old");
    TXMLElement Root(*Document.GetDocumentElement());
    Graph.GetSeriesList().LoadFromXML(Root);
    const TVkSeriesList& List = Graph.GetSeriesList();
    ASSERT_EQ(List.Count(), 3);
    const TVkSeries& A = List.GetSeries(0);
    EXPECT_EQ(A.GetName(), "A");
    EXPECT_EQ(A.Tag, 4);
    EXPECT_EQ(A.GetColor(), clRed);
    EXPECT_EQ(A.GetLineWidth(), 2);
    EXPECT_EQ(A.GetPointType(), ptCircle);
    ASSERT_EQ(A.Count(), 2);
    EXPECT_EQ(A.GetPoint(0).GetX(), 1.5);
    EXPECT_EQ(A.GetPoint(1).GetY(), -4.25);
    EXPECT_EQ(List.GetSeries(1).GetPointType(), ptSquare);
    EXPECT_EQ(List.GetSeries(1).GetColor(), 0x00FF8000);
    EXPECT_EQ(List.GetSeries(2).GetPointType(), ptNone);
    EXPECT_EQ(List.GetSeries(2).GetName(), "ASeries");
    EXPECT_FALSE(List.GetUpdating());
    EXPECT_EQ(Graph.GetYAxis().DataMin, -4.25);
}

TEST(SeriesXml, DamagedSeriesLeaveTheListAsItWas) {
    const std::pair<const char*, const char*> Cases[] = {
        {R"(<C><SERIES Name="N"><DATAPOINT X="1"/></SERIES></C>)", "XMLStream.AttibuteByName - Attibute Y not found"},
        {R"(<C><SERIES><DATAPOINT X="1" Y="one"/></SERIES></C>)", "Unable to convert string to number (one)"},
        {R"(<C><SERIES Tag="1.5"/></C>)", "'1.5' is not a valid integer value"},
    };
    for (auto [Xml, Message] : Cases) {
        TXMLDocument Document;
        Document.LoadXML(Xml);
        TVkSeriesList List;
        List.AddNew("Kept").AddXY(1, 2);
        TXMLElement Root(*Document.GetDocumentElement());
        try {
            List.LoadFromXML(Root);
            ADD_FAILURE() << Xml;
        } catch (const EError& E) {
            EXPECT_EQ(std::string(E.what()), Message);
        }
        ASSERT_EQ(List.Count(), 1);
        EXPECT_EQ(List.GetSeries(0).GetName(), "Kept");
        EXPECT_FALSE(List.GetUpdating());
    }
}

TEST(SeriesXml, WritesAttributesOnlyWhereSet) {
    TVkSeries Plain;
    TXMLOutputStream Out;
    Plain.SaveToXML(Out);
    EXPECT_EQ(Out.Text(), R"( Name="ASeries" Color="clBlack")");
    TVkSeries Full;
    FillHull(Full);
    TXMLOutputStream FullOut;
    Full.SaveToXML(FullOut);
    EXPECT_EQ(FullOut.Text(), R"( Name="Hull" Tag="3" Color="clBtnFace" LineWidth="2" Marker="Circle")");
}

TEST(SeriesXml, ListRoundTripsByteForByte) {
    TVkSeriesList List;
    TVkSeries& A = List.AddNew("Area <m2> & \"x\"");
    A.SetColor(RGBColor(1, 2, 3));
    A.SetPointType(ptTriangle);
    A.AddXY(0.1, 1e-7);
    A.AddXY(-2.5, 123456789012.5);
    List.AddNew("B");
    TXMLOutputStream Out;
    Out.Write("<CHART>\n");
    List.SaveToXML(Out);
    Out.Write("</CHART>\n");
    EXPECT_EQ(Out.Text(),
              "<CHART>\n"
              "<SERIES Name=\"Area &lt;m2&gt; &amp; &quot;x&quot;\" Color=\"$00030201\" Marker=\"Triangle\">\n"
              "  <DATAPOINT X=\"0.1\" Y=\"1E-7\"/>\n"
              "  <DATAPOINT X=\"-2.5\" Y=\"123456789012.5\"/>\n"
              "</SERIES>\n"
              "<SERIES Name=\"B\" Color=\"clBlack\"/>\n"
              "</CHART>\n");

    const auto Path = TempFile("chart.xml");
    Out.SaveToFile(Path);
    TXMLDocument Document;
    Document.Load(Path);
    std::filesystem::remove(Path);
    TVkSeriesList Back;
    TXMLElement Root(*Document.GetDocumentElement());
    Back.LoadFromXML(Root);
    TXMLOutputStream Again;
    Again.Write("<CHART>\n");
    Back.SaveToXML(Again);
    Again.Write("</CHART>\n");
    EXPECT_EQ(Again.Text(), Out.Text());
}

TEST(XmlElement, ReadsAttributesAndRebindsItsChildReader) {
    TXMLDocument Document;
    Document.LoadXML("<R a='1' B=\"2\"><First/><Second/></R>");
    TXMLElement Root(*Document.GetDocumentElement());
    EXPECT_EQ(Root.GetTagName(), "R");
    EXPECT_TRUE(Root.HasAttribute("b"));
    EXPECT_FALSE(Root.HasAttribute("c"));
    EXPECT_EQ(AttibuteByName(Root, "A").Value, "1");
    EXPECT_EQ(Root.GetAttribute(1).Name, "B");
    EXPECT_THROW(Root.GetAttribute(2), EError);
    TXMLElement& Child = Root.GetChild(0);
    EXPECT_EQ(Child.GetTagName(), "First");
    Root.GetChild(1);
    EXPECT_EQ(Child.GetTagName(), "Second");
    EXPECT_THROW(Root.GetChild(2), EError);
}

TEST(XmlDocument, RefusesMalformedText) {
    std::string Nested;
    for (int I = 0; I < 300; ++I) Nested += "<a>";
    for (const std::string& Text : {std::string("<a><b></a>"), std::string("no xml"), std::string(""), Nested}) {
        TXMLDocument Document;
        try {
            Document.LoadXML(Text);
            ADD_FAILURE() << Text;
        } catch (const EError& E) {
            EXPECT_EQ(std::string(E.what()).rfind("XML.LoadXML - ", 0), 0u) << E.what();
        }
        EXPECT_EQ(Document.GetDocumentElement(), nullptr);
    }
}

}  // namespace
}  // namespace sarnova
