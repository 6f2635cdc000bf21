#include "exchange/GFFile.h"

#include <cmath>

#include "document/Settings.h"
#include "exchange/ExchangeText.h"
#include "exchange/IoImport.h"
#include "foundation/Box.h"
#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "foundation/Geom.h"
#include "foundation/Polyline.h"
#include "foundation/TextFile.h"
#include "foundation/VkMaths.h"

namespace sarnova {

namespace {

constexpr double FeetPerMetre = 3.2808399;

// Three comma-separated reals.
std::array<double, 3> Triple(const TImportLines& F, std::string_view Line) {
    std::array<double, 3> V{};
    for (std::size_t I = 0; I < 3; ++I) {
        const std::size_t C = Line.find(',');
        if (C == Line.npos && I < 2) F.Fail("three values separated by commas expected");
        V[I] = F.Real(Line.substr(0, C));
        Line = C == Line.npos ? std::string_view() : Line.substr(C + 1);
    }
    return V;
}

// A count of items taking at least LinesEach lines each.
int Count(TImportLines& F, std::string_view Text, std::size_t LinesEach) {
    const double V = F.Real(Text);
    const int N = std::isfinite(V) && std::fabs(V) < 2e9 ? static_cast<int>(std::trunc(static_cast<float>(V))) : -1;
    if (N < 0 || static_cast<std::size_t>(N) > F.Remaining() / LinesEach + 1)
        F.Fail("the file cannot hold " + std::string(TrimmedView(Text)) + " items");
    return N;
}

std::string Fixed(double V) { return FormatWithPoint("%.3f", {V}); }

}  // namespace

std::string GFName(const std::string& Name, int Side, bool Component) {
    if (Component ? UpperCase(Name) == "HULL" : Name == "HULL") return Name;
    // Cut in bytes, as the format counts, but never inside a UTF-8 character.
    std::string N(Utf8Prefix(Name, 14));
    const std::size_t Dot = N.find('.');
    N = Dot == std::string::npos ? std::string(Utf8Prefix(N, 12)) : N.substr(0, Dot);
    return N + (Side == -1 ? ".P" : Side == 1 ? ".S" : ".C");
}

std::unique_ptr<TPolylineList> TGFComponent::Geometry() const {
    auto List = std::make_unique<TPolylineList>();
    if (!Representation) return List;
    for (int K = 0; K < Representation->Sections.Count(); ++K) {
        const TPolyline& S = *Representation->Sections.Items(K);
        auto P = std::make_unique<TPolyline>();
        for (int I = 0; I < S.Count(); ++I) {
            const TRPoint& Q = *S.Point(I);
            P->AddPoint(Q.X + Offset[0], (FSide == -1 ? -Q.Y : Q.Y) + Offset[1], Q.Z + Offset[2]);
        }
        List->Add(std::move(P));
    }
    return List;
}

TGFComponent& TGFPart::AddComponent(const TPolylineList& Sections) {
    const TMBox B = Sections.Extents();
    const bool Port = std::fabs(B.Min.Y) > std::fabs(B.Max.Y);
    auto R = std::make_unique<TGFRepresentation>();
    for (int K = 0; K < Sections.Count(); ++K) {
        const TPolyline& S = *Sections.Items(K);
        auto P = std::make_unique<TPolyline>();
        for (int I = 0; I < S.Count(); ++I) {
            const TRPoint& Q = *S.Point(I);
            P->AddPoint(Q.X, Port ? -Q.Y : Q.Y, Q.Z);
        }
        R->Sections.Add(std::move(P));
    }
    R->Name = "S" + std::to_string(FOwner.Representations.size() + 1);
    auto C = std::make_unique<TGFComponent>();
    C->Representation = R.get();
    C->SetSide(Port ? -1 : 1);
    FOwner.Representations.push_back(std::move(R));
    Components.push_back(C.get());
    FOwner.Components.push_back(std::move(C));
    return *Components.back();
}

TGFFile::TGFFile() : ModelMetres(MetresPerDesignUnit()) {}

TGFPart& TGFFile::AddPart() {
    Parts.push_back(std::make_unique<TGFPart>(*this));
    return *Parts.back();
}

double TGFFile::Scale() const { return (Units == 1 ? 1 / FeetPerMetre : 1.0) / ModelMetres; }

void TGFFile::LoadFromFile(const std::string& FileName) {
    Representations.clear();
    Components.clear();
    Parts.clear();
    TImportLines F(FileName);
    Title = std::string(F.Next());
    Reference = std::string(F.Next());
    // Coordinates are read in file units and scaled once the units line is known.
    std::vector<TGFComponent*> Read;
    while (!F.Eof()) {
        const std::string_view Line = TrimmedView(F.Next());
        if (Line == "*") {
            auto R = std::make_unique<TGFRepresentation>();
            R->Name = std::string(F.Next());
            const int N = Count(F, F.Next(), 1);
            for (int K = 0; K < N; ++K) {
                const std::string_view H = F.Next();
                const std::size_t C = H.find(',');
                if (C == H.npos) F.Fail("\"station,points\" expected");
                const double X = F.Real(H.substr(0, C));
                const int M = Count(F, H.substr(C + 1), 1);
                if (M < 1) continue;
                auto P = std::make_unique<TPolyline>();
                for (int I = 0; I < M; ++I) {
                    std::string_view L = F.Next();
                    const std::size_t C1 = L.find(',');
                    if (C1 == L.npos) F.Fail("\"y,z\" expected");
                    std::string_view ZText = L.substr(C1 + 1);
                    ZText = ZText.substr(0, ZText.find(','));
                    P->AddPoint(X, F.Real(L.substr(0, C1)), F.Real(ZText));
                }
                R->Sections.Add(std::move(P));
            }
            Representations.push_back(std::move(R));
        } else if (Line == "**") {
            auto C = std::make_unique<TGFComponent>();
            const std::string Name(F.Next());
            const int Side = F.Integer(F.Next());
            C->Permeability = F.Real(F.Next());
            C->Offset = Triple(F, F.Next());
            const std::string RName(TrimmedView(F.Next()));
            for (const auto& R : Representations)
                if (UpperCase(R->Name) == UpperCase(RName)) {
                    C->Representation = R.get();
                    break;
                }
            if (!C->Representation) F.Fail("TGFFile.ReadComponent - Representation " + RName + " not found");
            C->SetSide(Side);
            C->SetName(Name);
            Components.push_back(std::move(C));
        } else if (Line == "***") {
            TGFPart& P = AddPart();
            const std::string_view NameLine = F.Next();
            const std::size_t Slash = NameLine.find('\\');
            std::string Name(TrimmedView(NameLine.substr(0, Slash)));
            if (Slash != NameLine.npos) P.Description = std::string(TrimmedView(NameLine.substr(Slash + 1)));
            P.SetName(Name);
            P.Fluid = std::string(TrimmedView(F.Next()));
            P.PartCode = F.Integer(F.Next());
            P.Density = F.Real(F.Next());
            P.PartPoint = Triple(F, F.Next());
            const int N = F.Integer(F.Next());
            if (N < 0 || static_cast<std::size_t>(N) > F.Remaining()) F.Fail("the file cannot hold " + std::to_string(N) + " components");
            for (int K = 0; K < N; ++K) {
                const std::string CName(F.Next());
                TGFComponent* Found = nullptr;
                for (auto It = Components.rbegin(); It != Components.rend() && !Found; ++It)
                    if (UpperCase((*It)->Name()) == UpperCase(CName)) Found = It->get();
                if (!Found) F.Fail("TGFFile.ReadPart - Component " + CName + " not found");
                P.Components.push_back(Found);
            }
        } else if (Line.starts_with("L:")) {
            Length = F.Real(Line.substr(2));
        } else if (Line.starts_with("W:")) {
            Beam = F.Real(Line.substr(2));
        } else if (Line.starts_with("P:") && Line.size() >= 3) {
            if (Line[2] == 'F' || Line[2] == 'f') Units = 1;
            else if (Line[2] == 'M' || Line[2] == 'm') Units = 0;
        }
    }
    const double S = Scale();
    for (const auto& R : Representations)
        for (int K = 0; K < R->Sections.Count(); ++K) {
            TPolyline& P = *R->Sections.Items(K);
            for (int I = 0; I < P.Count(); ++I) {
                TRPoint& Q = *P.Point(I);
                Q.X *= S;
                Q.Y *= S;
                Q.Z *= S;
            }
        }
    for (const auto& C : Components)
        for (double& V : C->Offset) V *= S;
}

void TGFFile::SaveToFile(const std::string& FileName) const {
    const double S = 1 / Scale();
    TTextWriter Out;
    const std::string UnitsLine = Units == 1 ? "P:F" : "P:M";
    Out.WriteLine(Title);
    Out.WriteLine(Reference);
    Out.WriteLine(UnitsLine);
    if (Length > 0) Out.WriteLine("L:" + Fixed(Length));
    if (Beam > 0) Out.WriteLine("W:" + Fixed(Beam));
    Out.WriteLine(UnitsLine);
    for (const auto& R : Representations) {
        Out.WriteLine("*");
        Out.WriteLine(R->Name);
        Out.WriteLine(std::to_string(R->Sections.Count()));
        for (int K = 0; K < R->Sections.Count(); ++K) {
            const TPolyline& P = *R->Sections.Items(K);
            Out.WriteLine(Fixed(P.Count() ? P.Point(0)->X * S : 0) + "," + std::to_string(P.Count()));
            for (int I = 0; I < P.Count(); ++I) Out.WriteLine(Fixed(P.Point(I)->Y * S) + "," + Fixed(P.Point(I)->Z * S));
        }
        Out.WriteLine("0.0,0.0,0.0");
    }
    const auto Triple3 = [&](const std::array<double, 3>& V, double F) {
        return Fixed(V[0] * F) + "," + Fixed(V[1] * F) + "," + Fixed(V[2] * F);
    };
    for (const auto& P : Parts) {
        for (const TGFComponent* C : P->Components) {
            Out.WriteLine("**");
            Out.WriteLine(C->Name());
            Out.WriteLine(std::to_string(C->Side()));
            Out.WriteLine(Fixed(C->Permeability));
            Out.WriteLine(Triple3(C->Offset, S));
            Out.WriteLine(C->Representation ? C->Representation->Name : "");
        }
        Out.WriteLine("***");
        Out.WriteLine(P->Name() + "\\" + P->Description);
        Out.WriteLine(P->Fluid);
        Out.WriteLine(std::to_string(P->PartCode));
        Out.WriteLine(Fixed(P->Density));
        Out.WriteLine(Triple3(P->PartPoint, 1));
        Out.WriteLine(std::to_string(P->Components.size()));
        for (const TGFComponent* C : P->Components) Out.WriteLine(C->Name());
    }
    Out.WriteLine("****");
    Out.SaveToFile(FileName);
}

}  // namespace sarnova
