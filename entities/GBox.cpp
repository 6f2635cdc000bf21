#include "entities/GBox.h"

#include <algorithm>
#include <cmath>

#include "document/GeometryFile.h"
#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "document/GeometryRepresentation.h"
#include "entities/GConversions.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/MacroFile.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "foundation/RenderTarget.h"
#include "foundation/TextFile.h"
#include "platform/Menu.h"

namespace sarnova {

namespace {

const char* const ExtractCaption = "Extract Contours";
const char* const PolygonsCaption = "Create Polygons";
const char* const ContoursCaption = "Show Contours";

// The twelve edges in the order of the box primitive.
constexpr int Edges[12][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {0, 4}, {1, 7},
                              {2, 6}, {3, 5}, {4, 5}, {5, 6}, {6, 7}, {7, 4}};

// The six faces lit in a material of the entity's colour.
class TLitBox : public IRenderable {
public:
    TLitBox(TBox& ABox, TColor AColour) : Box(ABox), Colour(AColour) {}
    TMBox GetBounds() override { return Box.GetBounds(); }
    void Render(IGraphics& View) override {
        IRenderTarget* Target = RenderTargetOf(View);
        if (Target == nullptr) return;
        Target->Material(Colour, clWhite, 110);
        Box.Render(*Target);
    }

private:
    TBox& Box;
    TColor Colour;
};

// The parameter along the segment S-E of the screen point nearest to M, clamped to the segment; a
// segment seen end on gives its end nearer to M.
double NearestScreenParameter(TPoint S, TPoint E, TPoint M) {
    const double DX = double(E.X) - S.X, DY = double(E.Y) - S.Y;
    const double Length2 = DX * DX + DY * DY;
    if (Length2 < 1e-9)
        return std::hypot(double(M.X) - S.X, double(M.Y) - S.Y) < std::hypot(double(M.X) - E.X, double(M.Y) - E.Y)
                   ? 0
                   : 1;
    return std::clamp(((double(M.X) - S.X) * DX + (double(M.Y) - S.Y) * DY) / Length2, 0.0, 1.0);
}

}  // namespace

TGeoBox::TGeoBox() : FBox(std::make_unique<TBox>(10, 10, 10, 0, 0, 0)) {
    SetCapabilities(GetCapabilities() | cpRenderable | cpUndoable);
}

TGeoBox::~TGeoBox() = default;

void TGeoBox::AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List) {
    TMenuItem& Item = Menu.Add(NewGMenuItem("Box", &List, [](TMenuItem& Sender) {
        TGeometryList* Document = GeometryListOf(Sender);
        if (Document == nullptr) return;
        TGeometry* Box = Document->Add(std::make_unique<TGeoBox>());
        Box->Redraw();
        Document->RefreshViews();
        Document->ClearSelection();
        Box->SetSelected(true);
    }));
    Item.ImageIndex = GetImageIndex();
}

bool TGeoBox::CreateFromMacro(TMacroFile& Macro, TGeometryList& List) {
    const std::string Line = Trim(Macro.GetCurrentLine());
    if (UpperCase(ExtractWord(Line, 1)) != "BOX") return false;
    const std::string Name = Trim(Line.substr(3));
    // The block's own errors are reported at the line after BOX.
    const int BlockLine = Macro.GetCursor();
    double Length = 0, Width = 0, Height = 0;
    double X = 0, Y = 0, Z = 0;
    bool Ended = false;
    while (!Macro.Eof()) {
        const std::string U = UpperCase(Macro.NextLine());
        // Blank lines at the end of the file are no command: the block simply has no END.
        if (U.empty() && Macro.Eof()) break;
        const auto Has = [&U](char Letter) { return U.find(Letter) != std::string::npos; };
        const auto Value = [&] { return List.EvaluateMacroNumber(ExtractWord(U, 2), Macro); };
        // The letter may stand anywhere in the line; the first one found in this order wins.
        if (Has('X'))
            X = Value();
        else if (Has('Y'))
            Y = Value();
        else if (Has('Z'))
            Z = Value();
        else if (Has('L'))
            Length = Value();
        else if (Has('W'))
            Width = Value();
        else if (Has('H'))
            Height = Value();
        else if (ExtractWord(U, 1) != "END")
            Macro.Error("Unknown Command " + ExtractWord(U, 1));
        if (U == "END") {
            Ended = true;
            break;
        }
    }
    if (!Ended) Macro.ErrorAtLine("No END for BOX " + Name, BlockLine);
    if (Length == 0) Macro.ErrorAtLine("BOX " + Name + " has no Length", BlockLine);
    if (Width == 0) Macro.ErrorAtLine("BOX " + Name + " has no Width", BlockLine);
    if (Height == 0) Macro.ErrorAtLine("BOX " + Name + " has no Height", BlockLine);
    auto Entity = std::make_unique<TGeoBox>();
    Entity->FBox->SetGeometry(Length, Width, Height, X, Y, Z);
    List.Add(std::move(Entity))->SetName(Name);
    return true;
}

void TGeoBox::SetDimension(int Code, double Value) {
    if (Code < 1 || Code > 6) return;
    BeginChange();
    Undraw();
    FBox->SetDimension(Code, Value);
    Redraw();
    EndChange();
}

void TGeoBox::ExtractContours() {
    TGeometryList* List = GetOwnerList();
    if (List == nullptr) return;
    Contours().Update();
    if (const TPolylineList* Lines = Contours().GetPolylines()) AddPolylineListEntity(*List, *Lines);
}

void TGeoBox::CreatePolygons() {
    TGeometryList* List = GetOwnerList();
    if (List == nullptr) return;
    if (const std::unique_ptr<TPolygonList> Facets = CreatePolygonRepresentation(0))
        AddPolygonListEntity(*List, *Facets);
}

void TGeoBox::UpdateMenuItems(TMenuItem& Root) {
    TGeometry::UpdateMenuItems(Root);
    if (TMenuItem* Item = Root.Find(ContoursCaption)) Item->Checked = DrawContours();
    if (TMenuItem* Item = Root.Find(ExtractCaption))
        Item->Enabled = DrawContours() && IsClassRegistered(PolylineListKeyword);
    if (TMenuItem* Item = Root.Find(PolygonsCaption)) Item->Enabled = IsClassRegistered(PolygonListKeyword);
}

void TGeoBox::AddMenuItems(TMenuItem& Root) {
    AddMenuItem("-", {});
    AddMenuItem(ExtractCaption, [this](TMenuItem&) { ExtractContours(); });
    AddMenuItem(PolygonsCaption, [this](TMenuItem&) { CreatePolygons(); });
    AddMenuItem("-", {});
    AddMenuItem(ContoursCaption, [this](TMenuItem&) { SetDrawContours(!DrawContours()); });
    UpdateMenuItems(Root);
}

TRPoint* TGeoBox::GetPoint(int Index) {
    // The corners are the box's own, not shared: handing them out for marking is safe.
    return const_cast<TRPoint*>(&FBox->Corner(Index >= 0 && Index <= 6 ? Index : 7));
}

void TGeoBox::AddSnapPoints(TGeometrySnapInfo& Request) {
    const TSnapOptions Kinds = Request.SnapTypes();
    if (Kinds.test(stPoint))
        for (int I = 0; I < 8; ++I)
            if (const TRPoint& Corner = FBox->Corner(I); !Corner.Marked) Request.TryRPoint(Corner, stPoint, this);
    if (!Kinds.test(stCurve) || Request.View == nullptr) return;
    for (const auto& Edge : Edges) {
        const TRPoint& A = FBox->Corner(Edge[0]);
        const TRPoint& B = FBox->Corner(Edge[1]);
        const double T = NearestScreenParameter(Request.View->WorldToScreenPoint(A),
                                                Request.View->WorldToScreenPoint(B), Request.ScreenPoint);
        Request.TryPoint(VectorLerp(A.Vector(), B.Vector(), T), stCurve, this);
    }
}

IGeometryFrame* TGeoBox::CreateFrame(void* Owner) {
    if (IGeometryFrame* Frame = CreateGeometryFrame(BoxFrameName, *this, Owner)) return Frame;
    return TGeometry::CreateFrame(Owner);
}

void TGeoBox::Transform(const TMMatrix& M) {
    BeginChange();
    FBox->Assign(*FBox->Transformed(M));
    EndChange();
}

void TGeoBox::Assign(const TGeometry& Source) {
    TGeometry::Assign(Source);
    if (const auto* Other = dynamic_cast<const TGeoBox*>(&Source)) FBox->Assign(*Other->FBox);
}

void TGeoBox::Draw(IGraphics& View) {
    FBox->Draw(View);
    Contours().Draw(View);
}

void TGeoBox::DrawOutline(IGraphics& View) {
    FBox->Draw(View);
    Contours().DrawOutline(View);
}

void TGeoBox::DrawSimplified(IGraphics& View) { FBox->Draw(View); }

void TGeoBox::SaveToText(TTextWriter& Out) {
    Out.WriteLine("[" + GetKeyword() + "]");
    FBox->SaveToText(Out);
    WriteCommonKeys(Out, *this, ckName | ckColor);
    Out.WriteLine("");
}

void TGeoBox::LoadFromText(TTextReader& In) {
    FBox->LoadFromText(In);
    ReadNameAndColorLines(In, *this, true);
}

std::unique_ptr<TPolygonList> TGeoBox::CreatePolygonRepresentation(std::uint8_t) {
    const std::string Name = GetName();
    GConsole->WriteLine("  Creating Polygon Representation of " + ClassName() + (Name.empty() ? "" : "." + Name) +
                        "...");
    return FBox->Facets();
}

void TGeoBox::UpdateFrame() {
    if (IGeometryFrame* Frame = GetFrame()) Frame->Refresh();
}

void TGeoBox::DrawRendered(IGraphics& View) {
    TLitBox Lit(*FBox, GetColor());
    View.RenderObject(Lit);
}

void TGeoBox::Query(TGeometryQuery& Query) {
    if (!Query.Asks(qkPolygonList)) return;
    if (Query.CountOnly)
        Query.CountItem();
    else
        Query.AddInstance(FBox->Facets(), GetName());
}

}  // namespace sarnova
