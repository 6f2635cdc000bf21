#include "naval/Compartment.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "curvenet/GBSurfL.h"
#include "document/GPline.h"
#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "document/Settings.h"
#include "entities/GGonList.h"
#include "entities/GMesh.h"
#include "foundation/Contours.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/MacroFile.h"
#include "foundation/PolyList.h"
#include "foundation/PolyListSections.h"
#include "foundation/Polygon.h"
#include "naval/GPList.h"
#include "surfaces/BSurface.h"
#include "surfaces/Surface.h"
#include "surfaces/SurfaceList.h"

namespace sarnova {
namespace {

// A boundary of one point: the constant Value in y (Axis 1) or z (Axis 2).
std::unique_ptr<TPolyline> ConstantCurve(double Value, int Axis) {
    auto P = std::make_unique<TPolyline>();
    P->AddPoint(0, Axis == 1 ? Value : 0, Axis == 2 ? Value : 0);
    return P;
}

double Coordinate(const TRPoint& P, int Axis) { return Axis == 0 ? P.X : Axis == 1 ? P.Y : P.Z; }

// A copy of the B-spline surface a fit entity stands for: its data object when that is a B-spline
// surface, else the one surface it gives to a surface query, as a generated hull gives its surface
// (a hull generator is a B-spline surface of a class of its own); nullptr for anything else.
std::unique_ptr<TBSplineSurface> FitBSplineSurface(TGeometry& Entity) {
    const TDataObject Data = Entity.GetDataObject();
    if (Data && *Data.Type == typeid(TBSplineSurface))
        return CloneBSplineSurface(*static_cast<TBSplineSurface*>(Data.Object));
    TGeometryQuery Query;
    Query.Kinds = 1u << qkSurface;
    Entity.Query(Query);
    if (Query.Count() != 1) return nullptr;
    const TBSplineSurface* Surface = Query.Item(0).As<TBSplineSurface>();
    return Surface ? CloneBSplineSurface(*Surface) : nullptr;
}

}  // namespace

namespace compartment {

TCompartment::TCompartment()
    : Top(ConstantCurve(0, 2)), Bottom(ConstantCurve(0, 2)), Inside(ConstantCurve(0, 1)),
      Outside(ConstantCurve(0, 1)) {}

TCompartment::~TCompartment() = default;

void TCompartment::RaiseError(const std::string& Message) const {
    throw EError("Error: " + FileName + "(" + std::to_string(LineNumber - 1) + ") Compartment " + Name + " - " +
                 Message);
}

double TCompartment::Interpolate(const TPolyline& Curve, const std::string& Boundary, double X, int Axis) const {
    const int N = Curve.Count();
    const auto Fail = [&] { RaiseError("Unable to interpolate " + Boundary + " polyline boundary"); };
    if (N == 0) Fail();
    const auto P = [&](int I) -> const TRPoint& { return *Curve.Point(I); };
    if (N == 1) return Coordinate(P(0), Axis);
    const auto Along = [&](int A, int B) {
        if (P(A).X == P(B).X) Fail();
        return Coordinate(P(A), Axis) +
               (X - P(A).X) / (P(B).X - P(A).X) * (Coordinate(P(B), Axis) - Coordinate(P(A), Axis));
    };
    if (X < P(0).X) return Along(0, 1);
    if (X > P(N - 1).X) return Along(N - 2, N - 1);
    double Value = 0;
    for (int I = 1; I < N; ++I)
        if (P(I - 1).X <= X && X <= P(I).X) Value = Along(I - 1, I);
    return Value;
}

double TCompartment::InterpolateY(const TPolyline& Curve, const std::string& Boundary, double X) const {
    return Interpolate(Curve, Boundary, X, 1);
}

double TCompartment::InterpolateZ(const TPolyline& Curve, const std::string& Boundary, double X) const {
    return Interpolate(Curve, Boundary, X, 2);
}

double TCompartment::Station(int K) const {
    return Back + static_cast<double>(K) / (Sections - 1) * (Front - Back);
}

void TCompartment::Build(TGeometryList& List) {
    TGeoPList* Made = (FitName != "NONEFFFF" && !FitName.empty()) ? BuildFitted(List) : BuildBox(List);
    if (ReflectName != "NONAME") BuildReflection(List, *Made);
}

TGeoPList* TCompartment::AddEntity(TGeometryList& List, const TPolylineList& Sections, bool Sort) {
    auto Entity = std::make_unique<TGeoPList>();
    Entity->Polylines().Assign(Sections);
    if (Sort) Entity->Polylines().SortByStation();
    Entity->SetPermeability(Perm);
    Entity->SetName(Name);
    Entity->SetMirrored(Mirrored);
    Entity->SetShowAsCompartment(true);
    return static_cast<TGeoPList*>(List.Add(std::move(Entity)));
}

TGeoPList* TCompartment::BuildBox(TGeometryList& List) {
    auto Result = std::make_unique<TPolylineList>();
    for (int K = 0; K < Sections; ++K) {
        const double X = Station(K);
        const double Yi = InterpolateY(*Inside, "Inside", X);
        const double Yo = InterpolateY(*Outside, "Outside", X);
        const double Zt = InterpolateZ(*Top, "Top", X);
        const double Zb = InterpolateZ(*Bottom, "Bottom", X);
        auto P = std::make_unique<TPolyline>();
        P->AddPoint(X, Yi, Zb);
        P->AddPoint(X, Yo, Zb);
        P->AddPoint(X, Yo, Zt);
        P->AddPoint(X, Yi, Zt);
        if (!Mirrored) P->AddPoint(X, Yi, Zb);
        Result->Add(std::move(P));
    }
    return AddEntity(List, *Result, false);
}

std::unique_ptr<TPolylineList> TCompartment::ContourFacets(const TPolygonList* Facets) {
    TContours Stations;
    for (int K = 0; K < Sections; ++K) Stations.AddContour(0, Station(K));
    std::unique_ptr<TPolylineList> Result = ContoursFromPolygons(Facets, Stations, ContourColors());
    if (!Result) return std::make_unique<TPolylineList>();
    try {
        for (int I = 0; I < Result->Count(); ++I) {
            TPolyline& P = *Result->Items(I);
            if (P.Count() == 0) continue;
            if (P.Point(P.Count() - 1)->Y < P.Point(0)->Y) P.Reverse();
            const TRPoint First = *P.Point(0);
            if (First.Y > 0) P.InsertPoint(0, First.X, 0, First.Z);
            const TRPoint Last = *P.Point(P.Count() - 1);
            if (Last.Y > 0) P.AddPoint(Last.X, 0, Last.Z);
        }
    } catch (const std::exception&) {
        RaiseError("Unable to contour " + FitName);
    }
    return Result;
}

std::unique_ptr<TPolylineList> TCompartment::FitSections(TGeometry& Fit) {
    if (auto* List = dynamic_cast<TGeoPList*>(&Fit)) {
        auto Result = std::make_unique<TPolylineList>();
        for (int K = 0; K < Sections; ++K) {
            const double X = Station(K);
            std::unique_ptr<TPolyline> Section = InterpolateSectionAt(List->Polylines(), X);
            if (!Section) {
                const TMBox E = List->Polylines().Extents();
                RaiseError("Section not obtained for X=" + FormatWithPoint("%.3f", {X}) + " - " + FitName +
                           " Limits [" + FormatWithPoint("%.3f", {E.Min.X}) + "," +
                           FormatWithPoint("%.3f", {E.Max.X}) + "]");
            }
            Section->OrientSection();
            // An open half section from the keel to the deck edge bounds the hull together with the
            // centre plane: closed along it, the cut to the boundaries keeps the space inboard of it.
            if (!Section->IsClosed() && Section->Count() >= 2 && std::fabs(Section->First()->Y) <= DefaultTolerance) {
                const TRPoint Edge = *Section->Last();
                if (std::fabs(Edge.Y) > DefaultTolerance) Section->AddPoint(Edge.X, 0, Edge.Z);
                Section->SetClosed(true);
            }
            Result->Add(std::move(Section));
        }
        return Result;
    }
    if (auto* Mesh = dynamic_cast<TGeoMesh*>(&Fit)) return ContourFacets(Mesh->Net().CreatePolygons().get());
    if (auto* SurfList = dynamic_cast<TGeoBSurfList*>(&Fit))
        return ContourFacets(SurfList->Surfaces().CreatePolygons().get());
    if (auto* Gons = dynamic_cast<TGeoPGonlist*>(&Fit)) return ContourFacets(&Gons->Facets());
    if (std::unique_ptr<TBSplineSurface> Copy = FitBSplineSurface(Fit)) {
        Copy->SetNumULine(40);
        Copy->SetNumVLine(40);
        return ContourFacets(Copy->CreatePolygons().get());
    }
    RaiseError("Fit entity " + FitName + " not found");
}

TGeoPList* TCompartment::BuildFitted(TGeometryList& List) {
    TGeometry* Fit = List.FindByName(FitName);
    if (Fit == nullptr) RaiseError("The longitudinal extends are outside that of " + FitName);
    const TMBox E = Fit->GetExtents();
    if (!(Back >= E.Min.X && Front <= E.Max.X)) RaiseError("The longitudinal extends are outside that of " + FitName);
    std::unique_ptr<TPolylineList> Found = FitSections(*Fit);

    const TPolyline* In = Inside.get();
    const TPolyline* Out = Outside.get();
    if (In->Count() > 0 && Out->Count() > 0 && In->Point(0)->Y > Out->Point(0)->Y) {
        // A space on the negative side: the hull's half sections are turned over to meet it. Only a
        // first section with a third point can tell which side the hull was drawn on.
        if (Found->Count() > 0 && Found->Items(0)->Count() >= 3 && Found->Items(0)->Point(2)->Y > 0)
            Found = Found->Transformed(MirrorXZMatrix);
        std::swap(Inside, Outside);
    }

    for (int S = 0; S < Found->Count(); ++S) {
        TPolyline& P = *Found->Items(S);
        if (P.Count() == 0) continue;
        const double X = P.Point(0)->X;
        const double Yo = InterpolateY(*Outside, "Outside", X);
        const double Yi = InterpolateY(*Inside, "Inside", X);
        const double Zt = InterpolateZ(*Top, "Top", X);
        const double Zb = InterpolateZ(*Bottom, "Bottom", X);
        const auto Between = [](double V, double A, double B) { return A != B && std::min(A, B) <= V && V <= std::max(A, B); };
        int I = 1;
        while (I < P.Count() - 1) {
            const TRPoint A = *P.Point(I - 1);
            const TRPoint B = *P.Point(I);
            bool Inserted = true;
            if (Between(Yo, A.Y, B.Y))
                P.InsertPoint(I, X, Yo, A.Z + (Yo - A.Y) / (B.Y - A.Y) * (B.Z - A.Z));
            else if (Between(Yi, A.Y, B.Y))
                P.InsertPoint(I, X, Yi, A.Z + (Yi - A.Y) / (B.Y - A.Y) * (B.Z - A.Z));
            else if (Between(Zb, A.Z, B.Z))
                P.InsertPoint(I, X, A.Y + (Zb - A.Z) / (B.Z - A.Z) * (B.Y - A.Y), Zb);
            else if (Between(Zt, A.Z, B.Z))
                P.InsertPoint(I, X, A.Y + (Zt - A.Z) / (B.Z - A.Z) * (B.Y - A.Y), Zt);
            else
                Inserted = false;
            I += Inserted ? 2 : 1;
        }
        for (int J = 0; J < P.Count(); ++J)
            if (P.Point(J)->Z > Zt) P.Point(J)->Z = Zt;
        for (int J = 0; J < P.Count(); ++J)
            if (P.Point(J)->Z < Zb) P.Point(J)->Z = Zb;
        for (int J = 0; J < P.Count(); ++J)
            if (P.Point(J)->Y > Yo) P.Point(J)->Y = Yo;
        for (int J = 0; J < P.Count(); ++J)
            if (P.Point(J)->Y < Yi) P.Point(J)->Y = Yi;
        P.RemoveDuplicatePoints();
        P.RemoveCollinearPoints();
        // A mirrored space is its half sections, open at the centreline, also where the fit entity's
        // sections were closed whole ones: a closed half would be measured as the whole space.
        P.SetClosed(!Mirrored);
    }
    // Sections of three points or fewer enclose nothing and go; but where the space closes to a line
    // at its own limit (the stem or stern of a fine-ended hull) that line stays as its end, of no
    // area, so that its volume runs to the limit and does not stop a station short.
    const auto Degenerate = [&](int S) { return Found->Items(S)->Count() <= 3; };
    const auto ClosesAt = [&](int S, int Inner, double Limit) {
        const TPolyline& P = *Found->Items(S);
        return Degenerate(S) && P.Count() >= 2 && !Degenerate(Inner) &&
               std::fabs(P.Point(0)->X - Limit) < DefaultTolerance;
    };
    const int Count = Found->Count();
    const bool KeepFirst = Count >= 2 && ClosesAt(0, 1, Back);
    const bool KeepLast = Count >= 2 && ClosesAt(Count - 1, Count - 2, Front);
    for (int S = Count - 1; S >= 0; --S)
        if (Degenerate(S) && !(S == 0 && KeepFirst) && !(S == Count - 1 && KeepLast)) Found->Delete(S);
    if (Found->Count() - KeepFirst - KeepLast < 2)
        RaiseError("Compartment " + Name + " was not created, Check to see if it is inside " + FitName);

    return AddEntity(List, *Found, true);
}

void TCompartment::BuildReflection(TGeometryList& List, TGeoPList& Source) {
    auto Twin = std::make_unique<TGeoPList>();
    Twin->Polylines().Assign(*Source.Polylines().Transformed(MirrorXZMatrix));
    Twin->SetName(ReflectName);
    Twin->SetMirrored(Source.Mirrored());
    Twin->SetShowAsCompartment(true);
    Twin->SetPermeability(Source.GetPermeability());
    List.Add(std::move(Twin));
}

}  // namespace compartment

namespace {

using compartment::TCompartment;

// The rest of Line after its first blank, trimmed.
std::string AfterFirstBlank(const std::string& Line) {
    const auto Blank = Line.find(' ');
    return Blank == std::string::npos ? std::string() : Trim(Line.substr(Blank + 1));
}

// Reads the boundary of a TOP, BOTTOM, INSIDE or OUTSIDE line (Axis 1 for y, 2 for z). Returns true
// when a point list was closed by "END", which closes the whole block too.
bool ReadBoundary(TMacroFile& Macro, TGeometryList& List, const std::string& Line, int Axis,
                  std::unique_ptr<TPolyline>& Curve, bool& AtEnd) {
    const std::string Form = ExtractWord(Line, 2);
    if (Form == "BEGIN" || Form == "{") {
        Curve = std::make_unique<TPolyline>();
        while (!Macro.Eof()) {
            const std::string U = UpperCase(Macro.NextLine());
            if (U.empty() && Macro.Eof()) break;
            if (U == "END") return true;
            if (U == "}") return false;
            const double X = List.EvaluateMacroNumber(ExtractWord(U, 1), Macro);
            const double V = List.EvaluateMacroNumber(ExtractWord(U, 2), Macro);
            Curve->AddPoint(X, Axis == 1 ? V : 0, Axis == 2 ? V : 0);
        }
        AtEnd = true;
        return false;
    }
    if (IsNumber(Form)) {
        Curve = ConstantCurve(List.EvaluateMacroNumber(Form, Macro), Axis);
        return false;
    }
    if (auto* Pline = dynamic_cast<TGeoPline*>(List.FindByName(AfterFirstBlank(Line)))) {
        Curve = Pline->Polyline().Clone();
        return false;
    }
    Curve = ConstantCurve(List.EvaluateMacroNumber(Form, Macro), Axis);
    return false;
}

bool IsFitable(TGeometry& Entity) {
    if (dynamic_cast<TGeoPList*>(&Entity) || dynamic_cast<TGeoBSurfList*>(&Entity) ||
        dynamic_cast<TGeoMesh*>(&Entity) || dynamic_cast<TGeoPGonlist*>(&Entity))
        return true;
    return FitBSplineSurface(Entity) != nullptr;
}

}  // namespace

bool TGeoPList::CreateFromMacro(TMacroFile& Macro, TGeometryList& List) {
    const std::string Word = UpperCase(ExtractWord(Macro.GetCurrentLine(), 1));
    if (Word == "COMPARTMENT" || Word == "POLYLIST")
        ReadCompartmentMacro(Macro, List);
    else if (Word == "CMIRROR")
        ReadMirrorMacro(Macro, List);
    else
        return false;
    return true;
}

void TGeoPList::ReadCompartmentMacro(TMacroFile& Macro, TGeometryList& List) {
    TCompartment C;
    C.LineNumber = Macro.GetCursor();
    C.FileName = Macro.GetFileName();
    C.Name = AfterFirstBlank(Trim(Macro.GetCurrentLine()));
    bool Ended = false;
    bool AtEnd = false;
    while (!Ended && !AtEnd && !Macro.Eof()) {
        const std::string U = UpperCase(Macro.NextLine());
        if (U.empty() && Macro.Eof()) break;
        // The command is the line's first word, so that a FIT naming an entity called TOP stays a FIT.
        const std::string Command = ExtractWord(U, 1);
        const auto Number = [&] { return List.EvaluateMacroNumber(ExtractWord(U, 2), Macro); };
        if (Command == "PERM")
            C.Perm = Number();
        else if (Command == "FRONT")
            C.Front = Number();
        else if (Command == "BACK")
            C.Back = Number();
        else if (Command == "TOP")
            Ended = ReadBoundary(Macro, List, U, 2, C.Top, AtEnd);
        else if (Command == "BOTTOM")
            Ended = ReadBoundary(Macro, List, U, 2, C.Bottom, AtEnd);
        else if (Command == "INSIDE")
            Ended = ReadBoundary(Macro, List, U, 1, C.Inside, AtEnd);
        else if (Command == "OUTSIDE")
            Ended = ReadBoundary(Macro, List, U, 1, C.Outside, AtEnd);
        else if (Command == "FIT") {
            C.FitName = AfterFirstBlank(U);
            TGeometry* Fit = List.FindByName(C.FitName);
            if (Fit == nullptr) Macro.Error(C.FitName + " not found");
            if (!IsFitable(*Fit)) Macro.Error(C.FitName + " is not a fitable entity");
        } else if (Command == "REFLECT")
            C.ReflectName = AfterFirstBlank(U);
        else if (Command == "SECTIONS") {
            C.Sections = StrToInt(ExtractWord(U, 2));
            // Fewer than two sections give no spacing between stations.
            if (C.Sections < 2) Macro.Error("Compartment " + C.Name + " needs at least 2 sections");
        } else if (Command == "MIRRORED")
            C.Mirrored = true;
        else if (Command == "END")
            Ended = U == "END";
        else
            Macro.Error("Unknown Command " + Command);
    }
    if (!Ended) Macro.ErrorAtLine("No END for Compartment " + C.Name, C.LineNumber);
    if (!(C.Front - C.Back > 0)) Macro.ErrorAtLine("Compartment " + C.Name + " has no Length", C.LineNumber);
    const double Interval = (C.Front - C.Back) / C.Sections;
    if (Interval > 4.5)
        Macro.WarningAtLine("Compartment section interval is less than 4.5, suggest " +
                                IntToStr(static_cast<std::int64_t>(std::ceil((C.Front - C.Back) / 4.5))) +
                                " sections",
                            C.LineNumber);
    if (GConsole) GConsole->WriteLine("Creating Compartment " + C.Name + "...");
    C.Build(List);
}

void TGeoPList::ReadMirrorMacro(TMacroFile& Macro, TGeometryList& List) {
    const int BlockLine = Macro.GetCursor();
    const std::string Name = AfterFirstBlank(Trim(Macro.GetCurrentLine()));
    TGeoPList* Source = nullptr;
    bool HasPerm = false;
    double Perm = 0;
    bool Ended = false;
    while (!Ended && !Macro.Eof()) {
        const std::string U = UpperCase(Macro.NextLine());
        if (U.empty() && Macro.Eof()) break;
        const std::string Command = ExtractWord(U, 1);
        if (Command == "SOURCE") {
            const std::string SourceName = AfterFirstBlank(U);
            TGeometry* Found = List.FindByName(SourceName);
            if (Found == nullptr) Macro.Error(SourceName + " not found");
            Source = dynamic_cast<TGeoPList*>(Found);
            if (Source == nullptr) Macro.Error(SourceName + " is not a Polylist Compartment");
        } else if (Command == "PERM") {
            Perm = List.EvaluateMacroNumber(ExtractWord(U, 2), Macro);
            HasPerm = true;
        } else if (Command == "END")
            Ended = U == "END";
        else
            Macro.Error("Unknown Command " + Command);
    }
    if (!Ended) Macro.ErrorAtLine("No END for CMirror " + Name, BlockLine);
    if (Source == nullptr) Macro.ErrorAtLine("CMirror " + Name + " has no SOURCE", BlockLine);
    if (GConsole) GConsole->WriteLine("Creating Compartment " + Name + "...");
    std::unique_ptr<TGeometry> Copy = Source->Clone();
    auto* Twin = static_cast<TGeoPList*>(Copy.get());
    Twin->Transform(MirrorXZMatrix);
    Twin->SetName(Name);
    Twin->SetShowAsCompartment(true);
    if (HasPerm) Twin->SetPermeability(Perm);
    List.Add(std::move(Copy));
}

}  // namespace sarnova
