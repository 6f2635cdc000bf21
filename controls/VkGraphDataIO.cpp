// The series' text block, series file and XML forms.
#include <utility>
#include <vector>

#include "foundation/TextUtils.h"
#include "foundation/ColorNames.h"
#include "foundation/Errors.h"
#include "controls/VkGraphData.h"
#include "controls/XMLStream.h"

namespace sarnova {

namespace {

constexpr const char* LineEnd = "\r\n";

// The value of a "Key=Value" line: the text after the first "=", or the whole line without one; at
// most 255 bytes, cut so that no UTF-8 character is split.
std::string LineValue(const std::string& Line) {
    const std::size_t Equals = Line.find('=');
    std::string Value = Equals == std::string::npos ? Line : Line.substr(Equals + 1);
    if (Value.size() > 255) {
        std::size_t Cut = 255;
        while (Cut > 0 && (static_cast<unsigned char>(Value[Cut]) & 0xC0) == 0x80) --Cut;
        Value.resize(Cut);
    }
    return Value;
}

}  // namespace

void TVkSeries::SaveToText(TTextWriter& Out) const {
    Out.Write("Name=" + Name + LineEnd);
    Out.Write("Tag=" + IntToStr(Tag) + LineEnd);
    Out.Write("Color=" + IntToStr(Color) + LineEnd);
    Out.Write("LineWidth=" + IntToStr(LineWidth) + LineEnd);
    Out.Write("PointType=" + IntToStr(PointType) + LineEnd);
    Out.Write("NumPoints=" + IntToStr(Count()) + LineEnd);
    for (const auto& P : Points) Out.Write(FormatWithPoint("%.6f %.6f", {P->GetX(), P->GetY()}) + LineEnd);
}

void TVkSeries::LoadFromText(TTextReader& In) {
    // Everything is read before anything changes, so a damaged block leaves the series as it was.
    const std::string NewName = LineValue(In.ReadLine());
    const int NewTag = StrToInt(LineValue(In.ReadLine()));
    const TColor NewColor = StrToInt(LineValue(In.ReadLine()));
    const int NewLineWidth = StrToInt(LineValue(In.ReadLine()));
    const auto NewPointType = static_cast<std::uint8_t>(StrToInt(LineValue(In.ReadLine())));
    const int N = StrToInt(LineValue(In.ReadLine()));
    // Grows with what the text holds, never with the count it claims.
    std::vector<std::pair<double, double>> NewPoints;
    for (int I = 0; I < N; ++I) {
        const double X = In.ReadReal();
        const double Y = In.ReadReal();
        In.SkipLine();
        NewPoints.emplace_back(X, Y);
    }
    Name = NewName;
    Tag = NewTag;
    Color = NewColor;
    LineWidth = NewLineWidth;
    PointType = NewPointType;
    Clear();
    for (const auto& [X, Y] : NewPoints) AddXY(X, Y);
}

void TVkSeries::SaveToFile(const std::filesystem::path& FileName) const {
    TTextWriter Out;
    Out.Write("[" + ClassName() + "]" + LineEnd);
    SaveToText(Out);
    Out.SaveToFile(FileName);
}

void TVkSeries::LoadFromFile(const std::filesystem::path& FileName) {
    TTextReader In = TTextReader::FromFile(FileName);
    if (UpperCase(In.ReadLine()) != UpperCase("[" + ClassName() + "]"))
        throw EError(Format("File %s does not contain a %s", {FileName.string(), ClassName()}));
    LoadFromText(In);
    if (SeriesList != nullptr && !SeriesList->GetUpdating()) {
        Update();
        Changed(this);
    }
}

void TVkSeries::SaveToXML(TXMLOutputStream& Stream) const {
    if (!Name.empty()) WriteXMLAttribute(Stream, "Name", Name);
    if (Tag != 0) WriteXMLAttribute(Stream, "Tag", IntToStr(Tag));
    WriteXMLAttribute(Stream, "Color", ColorToString(Color));
    if (LineWidth > 0) WriteXMLAttribute(Stream, "LineWidth", IntToStr(LineWidth));
    if (PointType != ptNone) WriteXMLAttribute(Stream, "Marker", PointTypeToName(PointType));
}

void TVkSeries::LoadFromXML(TXMLElement& Element) {
    std::string NewName = Name;
    int NewTag = Tag;
    TColor NewColor = Color;
    int NewLineWidth = LineWidth;
    std::uint8_t NewPointType = PointType;
    if (Element.HasAttribute("Name")) NewName = AttibuteByName(Element, "Name").Value;
    if (Element.HasAttribute("Tag")) NewTag = StrToInt(AttibuteByName(Element, "Tag").Value);
    if (Element.HasAttribute("Color")) NewColor = StringToColor(AttibuteByName(Element, "Color").Value);
    if (Element.HasAttribute("LineWidth")) NewLineWidth = StrToInt(AttibuteByName(Element, "LineWidth").Value);
    if (Element.HasAttribute("Marker")) NewPointType = NameToPointType(AttibuteByName(Element, "Marker").Value);
    std::vector<std::pair<double, double>> NewPoints;
    for (int I = 0; I < Element.GetChildCount(); ++I) {
        const TXMLElement& Child = Element.GetChild(I);
        if (UpperCase(Child.GetTagName()) != "DATAPOINT") continue;
        NewPoints.emplace_back(ParseFloat(AttibuteByName(Child, "X").Value),
                               ParseFloat(AttibuteByName(Child, "Y").Value));
    }
    Name = NewName;
    Tag = NewTag;
    Color = NewColor;
    LineWidth = NewLineWidth;
    PointType = NewPointType;
    for (const auto& [X, Y] : NewPoints) AddXY(X, Y);
}

void TVkSeriesList::SaveToXML(TXMLOutputStream& Stream) const {
    for (const auto& S : Series) {
        Stream.Write("<SERIES");
        S->SaveToXML(Stream);
        if (S->Count() == 0) {
            Stream.Write("/>\n");
            continue;
        }
        Stream.Write(">\n");
        for (int I = 0; I < S->Count(); ++I) {
            const TVkDataPoint& P = S->GetPoint(I);
            Stream.Write("  <DATAPOINT");
            WriteXMLAttribute(Stream, "X", FloatToStr(P.GetX()));
            WriteXMLAttribute(Stream, "Y", FloatToStr(P.GetY()));
            Stream.Write("/>\n");
        }
        Stream.Write("</SERIES>\n");
    }
}

void TVkSeriesList::LoadFromXML(TXMLElement& Element) {
    // The new series are read in full before the old ones go, so a damaged element changes nothing.
    std::vector<std::unique_ptr<TVkSeries>> NewSeries;
    for (int I = 0; I < Element.GetChildCount(); ++I) {
        TXMLElement& Child = Element.GetChild(I);
        if (Child.GetTagName() != "SERIES") continue;
        auto S = std::make_unique<TVkSeries>();
        S->LoadFromXML(Child);
        NewSeries.push_back(std::move(S));
    }
    BeginUpdate();
    struct TEndUpdate {
        TVkSeriesList& List;
        ~TEndUpdate() { List.EndUpdate(); }
    } End{*this};
    Clear();
    for (auto& S : NewSeries) AddSeries(std::move(S));
}

}  // namespace sarnova
