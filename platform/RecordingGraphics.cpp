#include "platform/RecordingGraphics.h"

#include <utility>

#include "foundation/Geom.h"
#include "foundation/GeomFacet.h"

namespace sarnova {

TGraphicsCall& TRecordingGraphics::Record(std::string Name, std::vector<TMVector> Points) {
    TGraphicsCall& Call = Calls.emplace_back();
    Call.Name = std::move(Name);
    Call.Points = std::move(Points);
    return Call;
}

TGraphicsCall& TRecordingGraphics::RecordPixel(std::string Name, int X, int Y) {
    TGraphicsCall& Call = Record(std::move(Name));
    Call.Pixel = {X, Y};
    return Call;
}

std::vector<std::string> TRecordingGraphics::Names() const {
    std::vector<std::string> Result;
    for (const TGraphicsCall& Call : Calls) Result.push_back(Call.Name);
    return Result;
}

void TRecordingGraphics::SetLineColor(TColor C) {
    LineColor = C;
    Record("SetLineColor").Color = C;
}

void TRecordingGraphics::SetLineWidth(double Width) {
    LineWidth = Width;
    Record("SetLineWidth").Size = Width;
}

void TRecordingGraphics::SetFillColor(TColor C) {
    FillColor = C;
    Record("SetFillColor").Color = C;
}

void TRecordingGraphics::SetBackColor(TColor C) {
    BackColor = C;
    Record("SetBackColor").Color = C;
}

void TRecordingGraphics::Line(double X1, double Y1, double Z1, double X2, double Y2, double Z2) {
    Record("Line", {{X1, Y1, Z1}, {X2, Y2, Z2}});
}

void TRecordingGraphics::Line2D(double X1, double Y1, double X2, double Y2) {
    Record("Line2D", {{X1, Y1, 0}, {X2, Y2, 0}});
}

void TRecordingGraphics::LinePoints(const TRPoint& P1, const TRPoint& P2) {
    Record("LinePoints", {P1.Vector(), P2.Vector()});
}

void TRecordingGraphics::LineVectors(const TMVector& P1, const TMVector& P2) { Record("LineVectors", {P1, P2}); }

void TRecordingGraphics::LineStart(double X, double Y, double Z) { Record("LineStart", {{X, Y, Z}}); }

void TRecordingGraphics::LineStartPoint(const TRPoint& P) { Record("LineStartPoint", {P.Vector()}); }

void TRecordingGraphics::LineStartVector(const TMVector& V) { Record("LineStartVector", {V}); }

void TRecordingGraphics::LineNext(double X, double Y, double Z) { Record("LineNext", {{X, Y, Z}}); }

void TRecordingGraphics::LineNextPoint(const TRPoint& P) { Record("LineNextPoint", {P.Vector()}); }

void TRecordingGraphics::LineNextVector(const TMVector& V) { Record("LineNextVector", {V}); }

void TRecordingGraphics::LineFinish() { Record("LineFinish"); }

void TRecordingGraphics::Polyline(const TRPoints& Points) {
    TGraphicsCall& Call = Record("Polyline");
    for (int i = 0; i < Points.Count(); ++i) Call.Points.push_back(Points.Point(i)->Vector());
    Call.Color = Points.LineColor;
    Call.FillColor = Points.FillColor;
    Call.OwnColors = Points.OwnColors;
    Call.Flag = Points.Filled;
}

void TRecordingGraphics::Polygon(const TPolygon& F) {
    TGraphicsCall& Call = Record("Polygon");
    for (int i = 0; i < F.CornerCount(); ++i) Call.Points.push_back(F.Corner(i)->Vector());
    Call.Color = F.EdgeColor;
    Call.FillColor = F.Color;
    Call.OwnColors = F.OwnColor;
}

void TRecordingGraphics::RenderObject(IRenderable&) { Record("RenderObject"); }

void TRecordingGraphics::EditHandle(int Kind, double X, double Y, double Z) {
    Record("EditHandle", {{X, Y, Z}}).Kind = Kind;
}

void TRecordingGraphics::EditHandlePoint(const TRPoint& P, int Kind) {
    Record("EditHandlePoint", {P.Vector()}).Kind = Kind;
}

void TRecordingGraphics::VectorPoints(const TRPoint& Base, const TRPoint& Direction, double Size,
                                      bool Absolute) {
    TGraphicsCall& Call = Record("VectorPoints", {Base.Vector(), Direction.Vector()});
    Call.Size = Size;
    Call.Flag = Absolute;
}

void TRecordingGraphics::Vector(const TMVector& Base, const TMVector& Direction, double Size, bool Absolute) {
    TGraphicsCall& Call = Record("Vector", {Base, Direction});
    Call.Size = Size;
    Call.Flag = Absolute;
}

void TRecordingGraphics::TextOut(const std::string& Text, double X, double Y, double Z) {
    Record("TextOut", {{X, Y, Z}}).Text = Text;
}

double TRecordingGraphics::TextWidth(const std::string& Text) {
    Record("TextWidth").Text = Text;
    return CharWidth * static_cast<double>(Text.size());
}

double TRecordingGraphics::TextHeight(const std::string& Text) {
    Record("TextHeight").Text = Text;
    return LineHeight;
}

TPoint TRecordingGraphics::WorldToScreen(double X, double Y, double Z) {
    Record("WorldToScreen", {{X, Y, Z}});
    return ScreenAnswer;
}

TPoint TRecordingGraphics::WorldToScreenVector(const TMVector& V) {
    Record("WorldToScreenVector", {V});
    return ScreenAnswer;
}

TPoint TRecordingGraphics::WorldToScreenPoint(const TRPoint& P) {
    Record("WorldToScreenPoint", {P.Vector()});
    return ScreenAnswer;
}

TMVector TRecordingGraphics::ScreenToWorld(int X, int Y) {
    RecordPixel("ScreenToWorld", X, Y);
    return {static_cast<double>(X), static_cast<double>(Y), 0};
}

TMVector TRecordingGraphics::ScreenToWorldPoint(TPoint P) {
    RecordPixel("ScreenToWorldPoint", P.X, P.Y);
    return {static_cast<double>(P.X), static_cast<double>(P.Y), 0};
}

TMLine TRecordingGraphics::ScreenToRay(int X, int Y) {
    RecordPixel("ScreenToRay", X, Y);
    return {{static_cast<double>(X), static_cast<double>(Y), 0}, {0, 0, 1}};
}

TMLine TRecordingGraphics::ScreenToRayPoint(TPoint P) {
    RecordPixel("ScreenToRayPoint", P.X, P.Y);
    return {{static_cast<double>(P.X), static_cast<double>(P.Y), 0}, {0, 0, 1}};
}

}  // namespace sarnova
