#include "naval/Arrangement.h"

#include <algorithm>
#include <cmath>

#include "document/GeometryList.h"
#include "document/Settings.h"
#include "foundation/Contours.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "foundation/PolygonBuild.h"
#include "foundation/Polyline.h"
#include "foundation/VkMaths.h"
#include "naval/GPList.h"
#include "platform/Screen.h"

namespace sarnova {

namespace {

// The facets a compartment's sections are skinned with: knuckles sharper than 25 degrees kept, points
// a quarter metre apart.
constexpr double SurfaceKnuckleAngle = 0.4363323129985824;
constexpr double SurfaceSpacing = 0.25;
// The profile is the cut just off the centre plane.
constexpr double ProfileOffset = 0.1;

bool IsEmpty(const TMBox& B) { return B.Max.X < B.Min.X || B.Max.Y < B.Min.Y; }

TMBox MoveBox(TMBox B, double Dx, double Dy) {
    if (IsEmpty(B)) return B;
    B.Min.X += Dx;
    B.Max.X += Dx;
    B.Min.Y += Dy;
    B.Max.Y += Dy;
    return B;
}

// One word of a view layout: the cut it asks for.
struct TViewWord {
    enum TKind { vwNone, vwX, vwY, vwZ, vwProfile } Kind = vwNone;
    std::string Expression;
    bool StartsWithX = false;
};

TViewWord ParseWord(const std::string& Word) {
    TViewWord W;
    const std::string Upper = UpperCase(Word);
    W.StartsWithX = !Upper.empty() && Upper[0] == 'X';
    const std::size_t Equals = Word.find('=');
    if (!Upper.empty() && Equals != std::string::npos && (Upper[0] == 'X' || Upper[0] == 'Y' || Upper[0] == 'Z')) {
        W.Kind = Upper[0] == 'X' ? TViewWord::vwX : Upper[0] == 'Y' ? TViewWord::vwY : TViewWord::vwZ;
        W.Expression = Word.substr(Equals + 1);
    } else if (Upper.find("PROF") != std::string::npos) {
        W.Kind = TViewWord::vwProfile;
    }
    return W;
}

// The layout's tokens: a parenthesised group (its inner words) or a single word.
std::vector<std::vector<std::string>> ViewTokens(const std::string& ViewLayout) {
    std::vector<std::vector<std::string>> Tokens;
    std::string Rest = Trim(ViewLayout);
    while (!Rest.empty()) {
        std::string Token;
        bool Group = false;
        if (Rest[0] == '(') {
            // A group without its ")" runs to the end of the text.
            const std::size_t Close = Rest.find(')');
            Token = Rest.substr(1, Close == std::string::npos ? std::string::npos : Close - 1);
            Rest = Close == std::string::npos ? "" : Trim(Rest.substr(Close + 1));
            Group = true;
        } else {
            const std::size_t Blank = Rest.find(' ');
            Token = Rest.substr(0, Blank);
            Rest = Blank == std::string::npos ? "" : Trim(Rest.substr(Blank + 1));
        }
        std::vector<std::string> Words;
        if (Group) {
            for (int I = 1; I <= WordCount(Token); ++I) Words.push_back(ExtractWord(Token, I));
        } else {
            Words.push_back(Token);
        }
        Tokens.push_back(std::move(Words));
    }
    return Tokens;
}

}  // namespace

TColor PermeabilityColor(double E) {
    auto Near = [E](double V) { return std::fabs(E - V) < 1e-5; };
    if (Near(-0.85)) return 0xFF0000;
    if (Near(-0.95)) return 0x0000FF;
    if (Near(-0.6)) return 0x00FFFF;
    if (Near(-0.9) || E < -0.96) return 0xC0C0C0;
    if (Near(0)) return 0x000000;
    return 0xFF00FF;
}

namespace arrangement {

// ---- A compartment ----

TCompartment::TCompartment(TArrangement& AOwner, TCompBase* AParent, TGeoPList* AEntity, bool AIsRoot)
    : Owner(AOwner), Parent(AParent), PList(AEntity), IsRoot(AIsRoot) {}

TCompartment::~TCompartment() = default;

TCompartment* TCompartment::AddChild(TGeoPList* Entity) {
    TCompartment* Child = Owner.NewCompartment(this, Entity, false);
    Children.push_back(Child);
    return Child;
}

std::string TCompartment::GetName() const { return PList->GetName(); }

bool TCompartment::IsMirrored() const { return PList->Mirrored(); }

TMBox TCompartment::CompartmentExtents() const {
    TMBox B = PList->GetExtents();
    if (IsMirrored()) B.Min.Y = -B.Max.Y;
    return B;
}

TPolygonList& TCompartment::GetSurfaceDefinition() {
    if (!SurfaceDefinition) {
        if (GConsole) GConsole->WriteLine("Creating surface definition " + GetName() + "...");
        SurfaceDefinition = MeshFromSections(PList->Polylines(), SurfaceSpacing, SurfaceKnuckleAngle);
        SurfaceDefinition->Triangulate();
    }
    return *SurfaceDefinition;
}

TCompartment* TCompartment::Find(const TGeometry* Entity) {
    if (PList == Entity) return this;
    for (TCompartment* C : Children)
        if (TCompartment* Found = C->Find(Entity)) return Found;
    return nullptr;
}

void TCompartment::AddToTree(ICompartmentTree& Tree, ICompartmentTree::TNode ParentNode) {
    const ICompartmentTree::TNode Node = Tree.AddNode(ParentNode, GetName(), PList);
    for (TCompartment* C : Children) C->AddToTree(Tree, Node);
}

double TCompartment::EffectivePermeability() const {
    if (IsRoot) return 0;
    const auto* Up = dynamic_cast<const TCompartment*>(Parent);
    return PList->GetPermeability() + (Up ? Up->EffectivePermeability() : 0);
}

void TCompartment::SetPermeabilityKeepingChildren(double Value) {
    const auto* Up = dynamic_cast<const TCompartment*>(Parent);
    const double Base = Value + (Up ? Up->EffectivePermeability() : 0);
    std::vector<double> Own;
    for (TCompartment* C : Children) Own.push_back(C->EffectivePermeability() - Base);
    for (std::size_t I = 0; I < Children.size(); ++I) Children[I]->PList->SetPermeability(Own[I]);
    PList->SetPermeability(Value);
}

std::unique_ptr<TPolyline> TCompartment::CompartmentOutline(const TContours& Contours) {
    const std::unique_ptr<TPolylineList> Cut = ContoursFromPolygons(&GetSurfaceDefinition(), Contours, ContourColors());
    if (!Cut) return nullptr;
    const bool YCut = Contours.YCount() > 0;
    if (IsMirrored() && !YCut) {
        const std::unique_ptr<TPolylineList> Mirror = Cut->Transformed(MatrixMirror(2, 0));
        Cut->AddCopies(*Mirror);
    }
    TPolylineList Kept;
    for (int I = 0; I < Cut->Count(); ++I)
        if (Cut->Items(I)->Count() >= 3) Kept.Add(Cut->Items(I)->Clone());
    if (Kept.Count() == 0) return nullptr;
    std::unique_ptr<TPolyline> Outline = Kept.Count() == 1 ? Kept.Items(0)->Clone() : JoinPolylines(Kept);
    Outline->SetClosed(true);
    // Into the drawing plane: a section shows y and z, a buttock x and z, a waterline x and y.
    const bool XCut = Contours.XCount() > 0;
    for (int I = 0; I < Outline->Count(); ++I) {
        TRPoint& P = *Outline->Point(I);
        const TMVector V = P.Vector();
        if (XCut)
            P.SetXYZ(V.Y, V.Z, 0);
        else if (YCut)
            P.SetXYZ(V.X, V.Z, 0);
        else
            P.SetXYZ(V.X, V.Y, 0);
    }
    Outline->Filled = true;
    Outline->OwnColors = true;
    Outline->FillColor = PermeabilityColor(EffectivePermeability());
    Outline->LineColor = 0xFFFFFF;
    return Outline;
}

// ---- The arrangement ----

TArrangement::TArrangement() = default;
TArrangement::~TArrangement() = default;

void TArrangement::Clear() {
    Children.clear();
    Root = nullptr;
    Compartments.clear();
    ByEntity.clear();
    Extents = EmptyBox;
}

TCompartment* TArrangement::NewCompartment(TCompBase* Parent, TGeoPList* Entity, bool IsRoot) {
    Compartments.push_back(std::make_unique<TCompartment>(*this, Parent, Entity, IsRoot));
    ByEntity.emplace(Entity, Compartments.back().get());
    return Compartments.back().get();
}

bool TArrangement::Place(TCompartment& C, TGeoPList* Entity) {
    const TMBox E = Entity->Polylines().Extents();
    const TMVector Centre = VectorScale(VectorAdd(E.Min, E.Max), 0.5);
    TMBox B = C.GetPList()->Polylines().Extents();
    if (C.IsMirrored()) B.Min.Y = -B.Max.Y;
    if (!(Centre.X >= B.Min.X && Centre.X <= B.Max.X && Centre.Y >= B.Min.Y && Centre.Y <= B.Max.Y &&
          Centre.Z >= B.Min.Z && Centre.Z <= B.Max.Z))
        return false;
    // Under the hull, a compartment belongs where its centre lies; inside another compartment only
    // when it lies wholly within it, so that neighbours that touch are not nested into each other.
    if (!C.GetIsRoot()) {
        const double Tolerance = DefaultTolerance * std::max(1.0, VectorDistance(B.Min, B.Max));
        const bool Within = E.Min.X >= B.Min.X - Tolerance && E.Max.X <= B.Max.X + Tolerance &&
                            E.Min.Y >= B.Min.Y - Tolerance && E.Max.Y <= B.Max.Y + Tolerance &&
                            E.Min.Z >= B.Min.Z - Tolerance && E.Max.Z <= B.Max.Z + Tolerance;
        if (!Within) return false;
    }
    for (int I = 0; I < C.Count(); ++I)
        if (Place(*C.Items(I), Entity)) return true;
    C.AddChild(Entity);
    return true;
}

void TArrangement::Build(TGeometryList& ADocument) {
    Clear();
    Document = &ADocument;
    Problem.clear();
    // Says what the arrangement needs when it cannot be made; the windows show it (a console line
    // would repeat at every change of a document that has no arrangement).
    auto Refuse = [this](const std::string& Text) { Problem = Text; };
    for (int I = 0; I < ADocument.Count(); ++I) {
        TGeometry& G = ADocument.Items(I);
        if (G.ClassName() != "TGeoPList") continue;
        auto& Entity = static_cast<TGeoPList&>(G);
        if (std::fabs(Entity.GetPermeability()) <= DefaultTolerance) {
            if (UpperCase(Entity.GetName()).find("HULL") != std::string::npos && GConsole)
                GConsole->WriteLine("WARNING: Hull Object \"" + Entity.GetName() +
                                    "\" has zero or negative permeability, cannot create valid arrangement");
            continue;
        }
        if (!Root) {
            // The first permeable list must be the hull, or there is no arrangement.
            if (UpperCase(Entity.GetName()).find("HULL") == std::string::npos) {
                Refuse("No arrangement: \"" + Entity.GetName() +
                       "\" comes before the hull; the hull must be the first permeable polyline list, with "
                       "\"HULL\" in its name");
                return;
            }
            Root = NewCompartment(this, &Entity, true);
            Children.push_back(Root);
            continue;
        }
        Place(*Root, &Entity);
    }
    if (!Root) Refuse("No arrangement: the document has no permeable polyline list with \"HULL\" in its name");
}

void TArrangement::FillTree(ICompartmentTree& Tree) {
    Tree.Clear();
    if (Root) Root->AddToTree(Tree, nullptr);
}

TCompartment* TArrangement::Find(const TGeometry* Entity) {
    const auto Found = ByEntity.find(Entity);
    return Found == ByEntity.end() ? nullptr : Found->second;
}

TMBox TArrangement::GetExtents() {
    if (Extents.Max.X < Extents.Min.X && Extents.Max.Y < Extents.Min.Y && Extents.Max.Z < Extents.Min.Z)
        for (const auto& C : Compartments) Extents = UniteBoxes(Extents, C->CompartmentExtents());
    return Extents;
}

std::unique_ptr<TPolylineList> TArrangement::ArrangementContours(int Axis, double Position) {
    TContours Contours;
    Contours.AddContour(Axis, Position);
    auto Result = std::make_unique<TPolylineList>();
    for (const auto& C : Compartments) Result->Add(C->CompartmentOutline(Contours));
    // Transformed polylines keep their fill marks and colours.
    if (Axis == 0) return Result->Transformed(MatrixMirror(1, 0));
    return Result;
}

std::unique_ptr<TPolylineList> TArrangement::ViewPolylines(const std::string& ViewLayout) {
    THourGlassCursor Cursor;
    const TMBox A = GetExtents();
    const double Length = A.Max.X - A.Min.X;
    const double Breadth = A.Max.Y - A.Min.Y;
    auto WordWidth = [&](const TViewWord& W) { return W.StartsWithX ? Breadth : Length; };
    auto WordBox = [&](const TViewWord& W) -> TMBox {
        switch (W.Kind) {
            case TViewWord::vwX:
                return MakeBox(A.Min.Y, A.Min.Z, 0, A.Max.Y, A.Max.Z, 0);
            case TViewWord::vwY:
            case TViewWord::vwProfile:
                return MakeBox(A.Min.X, A.Min.Z, 0, A.Max.X, A.Max.Z, 0);
            case TViewWord::vwZ:
                return A;
            default:
                return EmptyBox;
        }
    };
    auto WordPolylines = [&](const TViewWord& W) -> std::unique_ptr<TPolylineList> {
        // Nothing to cut (the arrangement is empty or was never built): no position is evaluated.
        if (Compartments.empty() || !Document) return std::make_unique<TPolylineList>();
        switch (W.Kind) {
            case TViewWord::vwX:
                return ArrangementContours(0, Document->EvaluateNumber(W.Expression));
            case TViewWord::vwY:
                return ArrangementContours(1, Document->EvaluateNumber(W.Expression));
            case TViewWord::vwZ:
                return ArrangementContours(2, Document->EvaluateNumber(W.Expression));
            case TViewWord::vwProfile:
                return ArrangementContours(1, ProfileOffset);
            default:
                return std::make_unique<TPolylineList>();
        }
    };
    auto Moved = [](TPolylineList& Into, const TPolylineList& From, double Dx, double Dy) {
        const auto Copies = From.Transformed(MatrixTranslation(Dx, Dy, 0));
        for (int I = 0; I < Copies->Count(); ++I) Into.Add(Copies->Items(I)->Clone());
    };

    const auto Tokens = ViewTokens(ViewLayout);
    std::vector<std::vector<TViewWord>> Parsed;
    double MaxWidth = 0;
    for (const auto& Words : Tokens) {
        std::vector<TViewWord> Row;
        double Width = 0;
        for (const std::string& Word : Words) {
            Row.push_back(ParseWord(Word));
            Width += WordWidth(Row.back());
        }
        if (Row.size() > 1) Width += (Row.size() - 1) * Breadth / 2;
        MaxWidth = std::max(MaxWidth, Width);
        Parsed.push_back(std::move(Row));
    }

    auto Result = std::make_unique<TPolylineList>();
    TMBox RowsSoFar = EmptyBox;
    for (const auto& Row : Parsed) {
        // The row laid out where it falls, with its box.
        TPolylineList RowLines;
        TMBox RowBox = EmptyBox;
        double WordsWidth = 0;
        for (const TViewWord& W : Row) WordsWidth += WordWidth(W);
        const double Gap = Row.size() > 1 ? (MaxWidth - WordsWidth) / double(Row.size() - 1) : 0;
        for (const TViewWord& W : Row) {
            const TMBox Box = WordBox(W);
            const auto Lines = WordPolylines(W);
            double Dx = 0, Dy = 0;
            if (!IsEmpty(RowBox) && !IsEmpty(Box)) {
                Dx = RowBox.Max.X - Box.Min.X + Gap;
                Dy = (RowBox.Min.Y + RowBox.Max.Y) / 2 - (Box.Min.Y + Box.Max.Y) / 2;
            }
            Moved(RowLines, *Lines, Dx, Dy);
            RowBox = UniteBoxes(RowBox, MoveBox(Box, Dx, Dy));
        }
        double Rx = 0, Ry = 0;
        if (!IsEmpty(RowsSoFar) && !IsEmpty(RowBox)) {
            Rx = RowsSoFar.Min.X - RowBox.Min.X;
            Ry = RowsSoFar.Max.Y - RowBox.Min.Y + 0.25 * Breadth;
        }
        Moved(*Result, RowLines, Rx, Ry);
        RowsSoFar = UniteBoxes(RowsSoFar, MoveBox(RowBox, Rx, Ry));
    }
    return Result;
}

}  // namespace arrangement
}  // namespace sarnova
