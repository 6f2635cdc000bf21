#include "naval/GOpening.h"

#include <cmath>
#include <filesystem>

#include "document/GeometryList.h"
#include "document/GeometryReference.h"
#include "document/Settings.h"
#include "foundation/Graphics.h"
#include "foundation/TextUtils.h"
#include "foundation/DesktopRects.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/GeomBox.h"
#include "foundation/MacroFile.h"
#include "foundation/PolylineOps.h"
#include "foundation/TextFile.h"
#include "foundation/VkMaths.h"
#include "naval/GGroup.h"
#include "naval/GPList.h"
#include "platform/Menu.h"

namespace sarnova {

namespace {

// The length given to a section of one point, along its neighbour.
constexpr double SinglePointSectionLength = 0.005;

TMVector UnitDirection(const TPolyline& P) {
    const TMVector D = VectorFromTo(P.First()->Vector(), P.Last()->Vector());
    const double L = VectorLength(D);
    return L > 0 ? VectorScale(D, 1 / L) : D;
}

void NegateY(TPolylineList& List) {
    for (int I = 0; I < List.Count(); ++I)
        for (int J = 0; J < List.Items(I)->Count(); ++J) List.Items(I)->Point(J)->Y *= -1;
}

}  // namespace

// ---- TExtent ----

void TExtent::SetExtentType(std::uint8_t T) {
    if (ExtentType != 0 && ExtentType != T)
        throw EGeometryError(ExtentType == 1 ? "TExtent.SetExtentType - Extent is already set using Location/Extent"
                                             : "TExtent.SetExtentType - Extent is already set using Min/Max");
    ExtentType = T;
}

void TExtent::SetLocation(double V) {
    SetExtentType(1);
    const double E = Extent();
    Min = V - E / 2;
    Max = V + E / 2;
}

void TExtent::SetExtent(double E) {
    SetExtentType(1);
    const double L = Location();
    Min = L - E / 2;
    Max = L + E / 2;
}

void TExtent::SetMin(double V) {
    SetExtentType(2);
    Min = V;
}

void TExtent::SetMax(double V) {
    SetExtentType(2);
    Max = V;
}

// ---- TRectangleExtents ----

bool TRectangleExtents::CheckValidity(bool Raise) const {
    const TExtent* Axes[] = {&X, &Y, &Z};
    const char* Names[] = {"X", "Y", "Z"};
    for (int I = 0; I < 3; ++I)
        if (Axes[I]->Extent() < 0) {
            if (Raise)
                throw EGeometryError(std::string("TRectangleExtents.CheckValidity - ") + Names[I] +
                                     " Extents are negative");
            return false;
        }
    int Zero = 0;
    for (const TExtent* A : Axes) Zero += A->Extent() == 0 ? 1 : 0;
    if (Zero != 1) {
        if (Raise)
            throw EGeometryError("TRectangleExtents.CheckValidity - There should be only one set of extents which is zero");
        return false;
    }
    return true;
}

int TRectangleExtents::FlatAxis() const {
    CheckValidity(true);
    if (X.Extent() == 0) return 0;
    if (Y.Extent() == 0) return 1;
    if (Z.Extent() == 0) return 2;
    return 4;
}

std::unique_ptr<TPolyline> TRectangleExtents::Boundary() const {
    auto P = std::make_unique<TPolyline>();
    switch (FlatAxis()) {
        case 0: {
            const double L = X.Location();
            P->AddPoint(L, Y.Min, Z.Min);
            P->AddPoint(L, Y.Max, Z.Min);
            P->AddPoint(L, Y.Max, Z.Max);
            P->AddPoint(L, Y.Min, Z.Max);
            P->AddPoint(L, Y.Min, Z.Min);
            break;
        }
        case 1: {
            const double L = Y.Location();
            P->AddPoint(X.Min, L, Z.Min);
            P->AddPoint(X.Max, L, Z.Min);
            P->AddPoint(X.Max, L, Z.Max);
            P->AddPoint(X.Min, L, Z.Max);
            P->AddPoint(X.Min, L, Z.Min);
            break;
        }
        case 2: {
            const double L = Z.Location();
            P->AddPoint(X.Min, Y.Min, L);
            P->AddPoint(X.Max, Y.Min, L);
            P->AddPoint(X.Max, Y.Max, L);
            P->AddPoint(X.Min, Y.Max, L);
            P->AddPoint(X.Min, Y.Min, L);
            break;
        }
        default:
            return nullptr;
    }
    return P;
}

// ---- TConnection ----

void TConnection::Assign(const TConnection& Other) {
    SetEndA(Other.GetEndA());
    SetEndB(Other.GetEndB());
    Direction = Other.Direction;
    OpeningTime = Other.OpeningTime;
    HeadOfWater = Other.HeadOfWater;
}

std::string TConnection::DirectionText() const {
    switch (Direction) {
        case 0: return "->";
        case 1: return "<-";
        default: return "<->";
    }
}

std::string TConnection::Text() const { return GetEndA() + " " + DirectionText() + " " + GetEndB(); }

void TConnection::Parse(const std::string& Text) {
    const auto Dash = Text.find('-');
    if (Dash == std::string::npos) throw EGeometryError("Connection argument is not one of <-, ->, <->");
    std::string A = Trim(Text.substr(0, Dash));
    if (!A.empty() && A.back() == '<') A = Trim(A.substr(0, A.size() - 1));
    std::string B = Trim(Text.substr(Dash + 1, 255));
    if (!B.empty() && B.front() == '>') B = Trim(B.substr(1));
    if (Text.find("<-") != std::string::npos) Direction = 1;
    if (Text.find("->") != std::string::npos) Direction = 0;
    if (Text.find("<->") != std::string::npos) Direction = 2;
    SetEndA(A);
    SetEndB(B);
}

bool TConnection::Involves(const std::string& Name) const {
    const std::string U = UpperCase(Name);
    return U == UpperCase(GetEndA()) || U == UpperCase(GetEndB());
}

// ---- TReferenceConnection ----

TReferenceConnection::TReferenceConnection(TGeometry* Owner)
    : RefA(std::make_unique<TGeometryReference>(Owner)), RefB(std::make_unique<TGeometryReference>(Owner)) {}

TReferenceConnection::~TReferenceConnection() = default;

TGeometry* TReferenceConnection::GroupA() { return RefA->GetGeometry(); }
TGeometry* TReferenceConnection::GroupB() { return RefB->GetGeometry(); }
// A name that resolves shows the entity's own name.
std::string TReferenceConnection::GetEndA() const {
    RefA->GetGeometry();
    return RefA->GetName();
}

std::string TReferenceConnection::GetEndB() const {
    RefB->GetGeometry();
    return RefB->GetName();
}

namespace {
// A linked reference keeps its link when the new name names nothing; an end that now names the sea
// or a group still to come must let go of the old one.
void SetReferenceName(TGeometryReference& Ref, const std::string& Name) {
    if (!Name.empty() && Ref.FindGeometry(Name) == nullptr) Ref.SetGeometry(nullptr);
    Ref.SetName(Name);
}
}  // namespace

void TReferenceConnection::SetEndA(const std::string& Name) { SetReferenceName(*RefA, Name); }
void TReferenceConnection::SetEndB(const std::string& Name) { SetReferenceName(*RefB, Name); }

void TReferenceConnection::Assign(const TConnection& Other) {
    if (const auto* R = dynamic_cast<const TReferenceConnection*>(&Other)) {
        SetReferenceName(*RefA, R->GetEndA());
        SetReferenceName(*RefB, R->GetEndB());
        Direction = Other.Direction;
        OpeningTime = Other.OpeningTime;
        HeadOfWater = Other.HeadOfWater;
        return;
    }
    TConnection::Assign(Other);
}

// ---- TOpening ----

TPolyline* TOpening::GetBoundary() {
    Boundary = Extents.Boundary();
    return Boundary.get();
}

// ---- Constructions ----

std::unique_ptr<TGeoOpening> CreateOpeningFromBoundary(TBoundaryOpening& Description) {
    const int N = Description.SectionCount;
    if (N < 2) throw EGeometryError("Opening " + Description.Name + ", Number of sections is less than 2");
    TPolyline* Boundary = Description.GetBoundary();
    if (Boundary == nullptr || Boundary->Count() == 0)
        throw EGeometryError("Opening " + Description.Name + ", Boundary has less than 4 points");
    const TMBox Box = Boundary->Extents();
    const int Axis = Description.SearchAxis;
    const double Lo = Axis == 0 ? Box.Min.X : Axis == 1 ? Box.Min.Y : Box.Min.Z;
    const double Hi = Axis == 0 ? Box.Max.X : Axis == 1 ? Box.Max.Y : Box.Max.Z;

    auto Opening = std::make_unique<TGeoOpening>();
    Opening->SetName(Description.Name);
    for (int I = 0; I < N; ++I) {
        double P = Lo + static_cast<double>(I) / (N - 1) * (Hi - Lo);
        if (I == 0) P += DefaultTolerance;
        if (I == N - 1) P -= DefaultTolerance;
        const TMPlane Plane = PlaneFromDirection(static_cast<TPlaneDirection>(3 + Axis), P);
        std::unique_ptr<TPolyline> Cut = CurvePlaneIntersections(Plane, *Boundary);
        // A plane that misses the boundary gives no section.
        if (Cut && Cut->Count() > 0) Opening->Sections().Add(std::move(Cut));
    }
    if (Opening->Sections().Count() == 0)
        throw EGeometryError("Opening " + Description.Name + ", No section cuts the boundary");
    Opening->Connection().Assign(Description.Connection);
    if (Description.Reflect) NegateY(Opening->Sections());
    Opening->UnifySections();
    if (Description.Normal) Opening->OrientToNormal(Description.Normal->Vector());
    return Opening;
}

void CutToBoundary(TPolyline& Section, TPolyline& Boundary, int Side, int AxisCode) {
    const int PlaneCode = AxisCode == 2 ? 2 : 0;
    const auto Axis = static_cast<std::uint8_t>(AxisCode == 2 ? 2 : AxisCode == 1 ? 1 : 0);
    std::unique_ptr<TPolyline> Crossings = CurveCurveIntersections(Section, Boundary, PlaneCode);
    if (Crossings->Count() == 1) {
        const TRPoint& P = *Crossings->First();
        const double C = PointCoordinate(P, Axis);
        if (Side == 1) {
            while (Section.Count() > 0 && C > PointCoordinate(*Section.First(), Axis)) Section.Delete(0);
            Section.Insert(0, P.Clone());
        } else if (Side == -1) {
            while (Section.Count() > 0 && C < PointCoordinate(*Section.Last(), Axis)) Section.Delete(Section.Count() - 1);
            Section.Add(P.Clone());
        }
    } else if (Crossings->Count() > 1) {
        const std::filesystem::path Folder(GTempDir);
        Section.SaveToFile(Folder / "Line.geo");
        Boundary.SaveToFile(Folder / "Boundary.geo");
        Crossings->SaveToFile(Folder / "CutError.geo");
        throw EGeometryError("GOpening:CutToBoundary - Multiple intersections");
    }
}

// ---- TGeoOpening ----

TGeoOpening::TGeoOpening()
    : FSections(std::make_unique<TPolylineList>()), FConnection(std::make_unique<TReferenceConnection>(this)) {
    // Connection edits are undone like any other change of the document.
    SetCapabilities(GetCapabilities() | cpUndoable);
}

TGeoOpening::~TGeoOpening() = default;

template <class F>
void TGeoOpening::Change(F Body) {
    BeginChange();
    Undraw();
    Body();
    Redraw();
    EndChange();
}

TPolyline* TGeoOpening::Current() const {
    if (CurrentSection < 0 || CurrentSection >= FSections->Count()) return nullptr;
    return FSections->Items(CurrentSection);
}

void TGeoOpening::SetCurrentSection(int Index) {
    if (Index < 0 || Index >= FSections->Count()) return;
    CurrentSection = Index;
    UpdateFrame();
}

void TGeoOpening::SetShowNormal(bool Value) {
    Undraw();
    ShowNormal = Value;
    Redraw();
}

void TGeoOpening::UnifySections() {
    TPolylineList& S = *FSections;
    if (S.Count() == 0) return;
    if (S.First()->Count() < 2) {
        if (S.Count() < 2 || S.Items(1)->Count() < 2)
            throw EGeometryError("Unable to unify opening sections, lines 1 and 2 \r\nhave less than two points");
        const TMVector U = UnitDirection(*S.Items(1));
        S.First()->AddVector(VectorAdd(S.First()->First()->Vector(), VectorScale(U, SinglePointSectionLength)));
    }
    for (int K = 1; K < S.Count(); ++K) {
        TPolyline& P = *S.Items(K);
        const TMVector U = UnitDirection(*S.Items(K - 1));
        if (P.Count() > 1) {
            if (VectorLength(VectorAdd(UnitDirection(P), U)) < std::sqrt(2.0)) P.Reverse();
        } else if (P.Count() == 1) {
            P.AddVector(VectorAdd(P.First()->Vector(), VectorScale(U, SinglePointSectionLength)));
        }
    }
}

TMVector TGeoOpening::Normal() const {
    if (FSections->Count() == 0) return {};
    const TPolyline& A = *FSections->Items(0);
    const TPolyline& B = *FSections->Items(FSections->Count() - 1);
    if (A.Count() == 0 || B.Count() == 0) return {};
    const TMVector D1 = VectorFromTo(A.First()->Vector(), B.Last()->Vector());
    const TMVector D2 = VectorFromTo(A.Last()->Vector(), B.First()->Vector());
    const TMVector N = VectorCross(D2, D1);  // D1 x D2
    const double L = VectorLength(N);
    return L > 0 ? VectorScale(N, 1 / L) : N;
}

void TGeoOpening::FlipNormal() {
    Change([this] {
        auto Reversed = std::make_unique<TPolylineList>();
        for (int I = FSections->Count() - 1; I >= 0; --I) Reversed->Add(FSections->Items(I)->Clone());
        FSections = std::move(Reversed);
    });
}

void TGeoOpening::OrientToNormal(const TMVector& Wanted) {
    if (VectorLength(VectorAdd(Wanted, Normal())) < std::sqrt(2.0)) FlipNormal();
}

void TGeoOpening::DrawNormal(IGraphics& View) {
    const TMBox Box = FSections->Extents();
    View.Vector(BoxCentre(Box), Normal(), 0.5 * BoxMaxSize(Box), true);
}

void TGeoOpening::ConvertToPolylineList() {
    TGeometryList* List = GetOwnerList();
    if (List == nullptr) return;
    auto PList = std::make_unique<TGeoPList>();
    PList->Polylines().Assign(*FSections);
    TGeometry* Added = nullptr;
    List->BeginUpdate(ufEndEditing | ufHourGlass);
    try {
        DeleteFromList();
        Added = List->Add(std::move(PList));
    } catch (...) {
        List->EndUpdate();
        throw;
    }
    List->EndUpdate();
    if (Added != nullptr) Added->Redraw();
}

// ---- Connection and section edits ----

void TGeoOpening::SetEndA(const std::string& Name) {
    BeginChange();
    FConnection->SetEndA(Name);
    EndChange();
}

void TGeoOpening::SetEndB(const std::string& Name) {
    BeginChange();
    FConnection->SetEndB(Name);
    EndChange();
}

void TGeoOpening::SetDirection(std::uint8_t Value) {
    if (FConnection->Direction == Value) return;
    BeginChange();
    FConnection->Direction = Value;
    EndChange();
}

void TGeoOpening::SetHeadOfWater(double Value) {
    if (FConnection->HeadOfWater == Value) return;
    BeginChange();
    FConnection->HeadOfWater = Value;
    EndChange();
}

void TGeoOpening::SetOpeningTime(double Value) {
    if (FConnection->OpeningTime == Value) return;
    BeginChange();
    FConnection->OpeningTime = Value;
    EndChange();
}

void TGeoOpening::DeleteCurrentSection() {
    if (FSections->Count() < 4) return;
    Change([this] {
        const int Doomed = CurrentSection;
        if (CurrentSection == FSections->Count() - 1) --CurrentSection;
        FSections->Delete(Doomed);
    });
}

void TGeoOpening::SetSectionPoint(int Index, int Coordinate, double Value) {
    TPolyline* P = Current();
    if (P == nullptr || Index < 0 || Index >= P->Count() || Coordinate < 0 || Coordinate > 2) return;
    Change([&] {
        TRPoint& Q = *P->Point(Index);
        (Coordinate == 0 ? Q.X : Coordinate == 1 ? Q.Y : Q.Z) = Value;
    });
}

void TGeoOpening::InsertPointBefore(int Index) {
    TPolyline* P = Current();
    if (P == nullptr || P->Count() < 2 || Index < 0 || Index >= P->Count()) return;
    Change([&] {
        const TMVector New = Index == 0 ? VectorFromTo(P->Point(1)->Vector(), VectorScale(P->Point(0)->Vector(), 2))
                                        : VectorMidpoint(P->Point(Index - 1)->Vector(), P->Point(Index)->Vector());
        P->InsertVector(Index, New);
    });
}

void TGeoOpening::InsertPointAfter(int Index) {
    TPolyline* P = Current();
    if (P == nullptr || P->Count() < 2 || Index < 0 || Index >= P->Count()) return;
    Change([&] {
        const int Last = P->Count() - 1;
        const TMVector New = Index == Last
                                 ? VectorFromTo(P->Point(Last - 1)->Vector(), VectorScale(P->Point(Last)->Vector(), 2))
                                 : VectorMidpoint(P->Point(Index)->Vector(), P->Point(Index + 1)->Vector());
        P->InsertVector(Index + 1, New);
    });
}

void TGeoOpening::DeleteSectionPoint(int Index) {
    TPolyline* P = Current();
    if (P == nullptr || P->Count() <= 2 || Index < 0 || Index >= P->Count()) return;
    Change([&] { P->Delete(Index); });
}

// ---- Entity operations ----

TMBox TGeoOpening::CalculateExtents() { return FSections->Extents(); }

void TGeoOpening::Assign(const TGeometry& Source) {
    TGeometry::Assign(Source);
    if (const auto* Other = dynamic_cast<const TGeoOpening*>(&Source)) {
        FSections->Assign(*Other->FSections);
        FConnection->Assign(*Other->FConnection);
    }
}

void TGeoOpening::Transform(const TMMatrix& M) {
    BeginChange();
    FSections = FSections->Transformed(M);
    EndChange();
}

double TGeoOpening::DistanceToPoint(TPoint ScreenPoint, IGraphics& View) {
    if (IsHidden()) return 1e33;
    double Best = 1e33;
    for (int I = 0; I < FSections->Count(); ++I)
        for (int J = 0; J < FSections->Items(I)->Count(); ++J)
            Best = std::min(Best, PixelDistance(ScreenPoint, View.WorldToScreenPoint(*FSections->Items(I)->Point(J))));
    return Best;
}

bool TGeoOpening::InRect(const TRect& Rect, IGraphics& View) {
    if (IsHidden()) return false;
    for (int I = 0; I < FSections->Count(); ++I)
        for (int J = 0; J < FSections->Items(I)->Count(); ++J) {
            const TPoint P = View.WorldToScreenPoint(*FSections->Items(I)->Point(J));
            if (P.X >= Rect.Left && P.X < Rect.Right && P.Y >= Rect.Top && P.Y < Rect.Bottom) return true;
        }
    return false;
}

void TGeoOpening::Draw(IGraphics& View) {
    FSections->Draw(View);
    if (ShowNormal) {
        View.SetLineColor(GSettings ? GSettings->OpeningNormalVectorColor : clRed);
        DrawNormal(View);
    }
    TGeometryList* List = GetOwnerList();
    if (!GetSelected() || List == nullptr || List->SelectedCount() != 1) return;
    auto DrawMembers = [&](TGeometry* End, TColor Colour) {
        auto* Group = dynamic_cast<TGeoOpenGroup*>(End);
        if (Group == nullptr) return;
        for (int I = 0; I < Group->GetMemberCount(); ++I)
            if (TGeometry* Member = Group->GetMember(I)) Member->DrawInColor(Colour, View);
    };
    DrawMembers(FConnection->GroupA(), 255);
    DrawMembers(FConnection->GroupB(), 16711680);
}

void TGeoOpening::DrawOutline(IGraphics& View) {
    FSections->DrawOutlines(View);
    if (ShowNormal) DrawNormal(View);
}

void TGeoOpening::DrawSimplified(IGraphics& View) { DrawOutline(View); }

void TGeoOpening::HandleMessage(TGeoMessage& Message) {
    TGeometry::HandleMessage(Message);
    if (dynamic_cast<TGeoSelectOpenings*>(&Message) != nullptr) SetSelected(true);
}

IGeometryFrame* TGeoOpening::CreateFrame(void* Owner) {
    if (IGeometryFrame* Frame = CreateGeometryFrame(OpeningFrameName, *this, Owner)) return Frame;
    return TGeometry::CreateFrame(Owner);
}

void TGeoOpening::UpdateFrame() {
    if (IGeometryFrame* Frame = GetFrame(); Frame != nullptr && !Frame->IsDefaultFrame())
        Frame->Refresh();
    else
        TGeometry::UpdateFrame();
}

void TGeoOpening::AddMenuItems(TMenuItem& Root) {
    TGeometry::AddMenuItems(Root);
    Root.Add("-");
    Root.Add("Flip Normal", [this](TMenuItem&) { FlipNormal(); });
    Root.Add("-");
    Root.Add("Convert to PolyLine List", [this](TMenuItem&) { ConvertToPolylineList(); });
    Root.Add("-");
    Root.Add("Show Normal", [this](TMenuItem&) { ToggleShowNormal(); });
}

void TGeoOpening::UpdateMenuItems(TMenuItem& Root) {
    TGeometry::UpdateMenuItems(Root);
    if (TMenuItem* Item = Root.Find("Show Normal")) Item->Checked = ShowNormal;
}

void TGeoOpening::AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List) {
    std::vector<TGeoOpening*> Selected;
    for (int I = 0; I < List.Count(); ++I) {
        TGeometry& G = List.Items(I);
        if (!G.GetSelected()) continue;
        auto* Opening = dynamic_cast<TGeoOpening*>(&G);
        if (Opening == nullptr) return;
        Selected.push_back(Opening);
    }
    if (Selected.empty()) return;
    if (Menu.Count() > 0) Menu.Add("-");
    TGeometryList* Document = &List;
    auto SetAll = [Document](bool Value) {
        for (int I = 0; I < Document->Count(); ++I)
            if (auto* O = dynamic_cast<TGeoOpening*>(&Document->Items(I)); O != nullptr && O->GetSelected())
                O->SetShowNormal(Value);
    };
    Menu.Add("Show Openings Normals", [SetAll](TMenuItem&) { SetAll(true); });
    Menu.Add("Hide Openings Normals", [SetAll](TMenuItem&) { SetAll(false); });
}

bool TGeoOpening::ExecuteMacroCommand(TMacroFile& Macro) {
    const std::string& Line = Macro.GetCurrentLine();
    const std::string U = UpperCase(Line);
    const bool Time = U.find("OPENINGTIME") != std::string::npos;
    if (!Time && U.find("COLLAPSEHEAD") == std::string::npos) return TGeometry::ExecuteMacroCommand(Macro);
    const auto Equals = Line.find('=');
    const std::string Value = Equals == std::string::npos ? std::string() : Trim(Line.substr(Equals + 1));
    double V = GetOwnerList() ? GetOwnerList()->EvaluateMacroNumber(Value, Macro) : ParseFloat(Value);
    if (Time)
        SetOpeningTime(V);
    else
        SetHeadOfWater(V);
    return true;
}

void TGeoOpening::SaveToText(TTextWriter& Out) {
    Out.WriteLine("[" + GetKeyword() + "]");
    FSections->SaveToText(Out);
    Out.WriteLine("Connection=" + FConnection->Text());
    Out.WriteLine("OpeningTime=" + FormatDefaultReal(FConnection->OpeningTime));
    Out.WriteLine("HeadOfWater=" + FormatDefaultReal(FConnection->HeadOfWater));
    if (!GetName().empty()) Out.WriteLine("Name=" + GetName());
    Out.WriteLine("");
}

void TGeoOpening::LoadFromText(TTextReader& In) {
    FSections->LoadFromText(In);
    while (!In.Eof()) {
        const std::string Line = In.ReadLine();
        if (Trim(Line).empty()) break;
        const auto Equals = Line.find('=');
        const std::string Key = UpperCase(Trim(Line.substr(0, Equals)));
        const std::string Value = Equals == std::string::npos ? std::string() : Line.substr(Equals + 1, 255);
        if (Key == "CONNECTION")
            FConnection->Parse(Value);
        else if (Key == "HEADOFWATER")
            FConnection->HeadOfWater = ParseFloat(Trim(Value));
        else if (Key == "OPENINGTIME")
            FConnection->OpeningTime = ParseFloat(Trim(Value));
        else if (Key == "NAME")
            SetName(Value);
        // Keys of later versions are passed over, so that what follows is still read.
    }
}

}  // namespace sarnova
