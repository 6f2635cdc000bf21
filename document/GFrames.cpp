#include "document/GFrames.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "document/GeometryClasses.h"
#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/NumberText.h"
#include "foundation/MacroFile.h"
#include "foundation/RenderTarget.h"
#include "foundation/TextFile.h"
#include "foundation/VkMathsIntersect.h"
#include "platform/Menu.h"

namespace sarnova {

namespace {

// The scale's x limits while the document is smaller than MinimumSpan along x.
constexpr double DefaultXMin = -10.0;
constexpr double DefaultXMax = 100.0;
constexpr double MinimumSpan = 10.0;

// A fractional frame number as a whole one; numbers far beyond any table are held at a bound that
// still lies beyond it, so that rounding cannot overflow.
int NearestFrame(double Number) { return RoundToInteger(std::clamp(Number, -1e6, 1e6)); }

// The frames entity holding Table in List; nullptr when none does.
TGeoFrames* OwnerOf(const TFrames* Table, const TGeometryList& List) {
    for (int I = 0; I < List.Count(); ++I)
        if (auto* Frames = dynamic_cast<TGeoFrames*>(&List.Items(I)); Frames != nullptr && &Frames->Frames() == Table)
            return Frames;
    return nullptr;
}

}  // namespace

TGeoFrames::TGeoFrames() {
    Table.XMin = DefaultXMin;
    Table.XMax = DefaultXMax;
    Table.SetDefinition("Frames 0 1");
    StoreName("Frames");
    SetCapabilities(GetCapabilities() | cpUndoable);
}

void TGeoFrames::AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List) {
    TMenuItem& Item = Menu.Add(NewGMenuItem("&Frames...", &List, [](TMenuItem& Sender) {
        TGeometryList* Document = GeometryListOf(Sender);
        if (Document == nullptr) return;
        Document->GetFrames();
        for (int I = 0; I < Document->Count(); ++I)
            if (TGeometry& G = Document->Items(I); G.ClassName() == "TGeoFrames") {
                G.SetSelected(true);
                return;
            }
    }));
    Item.ImageIndex = GetImageIndex();
}

bool TGeoFrames::CreateFromMacro(TMacroFile& Macro, TGeometryList& List) {
    const std::string& Line = Macro.GetCurrentLine();
    if (UpperCase(ExtractWord(Line, 1)) != "FRAMES") return false;
    TFrames* Table = List.GetFrames();
    if (Table == nullptr) Macro.Error("Frames are undefined");
    if (TGeoFrames* Owner = OwnerOf(Table, List))
        Owner->SetDefinition(Line);
    else
        Table->SetDefinition(Line);
    return true;
}

std::string TGeoFrames::DefinitionText() const {
    const std::string Definition = Table.GetDefinition();
    const std::size_t Blank = Definition.find(' ');
    return Blank == std::string::npos ? std::string() : Definition.substr(Blank + 1);
}

void TGeoFrames::SetDefinition(const std::string& Line) {
    // Tried on a scratch table first, so that a refused definition records no change to undo; the
    // table itself would keep its ranges either way.
    TFrames Trial;
    Trial.SetDefinition(Line);
    BeginChange();
    Table.SetDefinition(Line);
    EndChange();
}

void TGeoFrames::UpdateDefinition(const std::string& Text) {
    Undraw();
    try {
        SetDefinition("Frames " + Text);
    } catch (...) {
        Redraw();
        throw;
    }
    Redraw();
}

void TGeoFrames::VisitShownFrames(const std::function<bool(int Frame, double X)>& Visit) const {
    if (Table.Count() == 0) return;
    const double First = Table.FrameNumber(Table.XMin);
    const double Last = Table.FrameNumber(Table.XMax);
    if (!std::isfinite(First) || !std::isfinite(Last)) return;
    Table.VisitFrames(NearestFrame(First), NearestFrame(Last), Visit);
}

void TGeoFrames::AddMenuItems(TMenuItem&) {
    AddMenuItem("-", {});
    TMenuItem* Show = AddMenuItem("Show Frames", [this](TMenuItem&) {
        // Deselecting frees this menu: nothing of the handler is used after it.
        TGeoFrames* Self = this;
        Self->SetSelected(false);
        Self->SetDisplayState(dsHidden);
    });
    if (Show != nullptr) Show->Checked = true;
}

void TGeoFrames::AfterListChange() {
    TGeometryList* List = GetOwnerList();
    if (List == nullptr) return;
    if (Table.Count() == 0) {
        DeleteFromList();
        return;
    }
    const TFrames* ListFrames = List->GetFrames();
    if (ListFrames != nullptr && ListFrames != &Table) DeleteFromList();
}

void TGeoFrames::AddSnapPoints(TGeometrySnapInfo& Request) {
    if (!Request.SnapTypes().test(stPoint) || Request.View == nullptr || Table.Count() == 0) return;
    TMLine Ray = Request.View->ScreenToRayPoint(Request.ScreenPoint);
    Ray.Direction = VectorNormalise(Ray.Direction);
    // A ray along the x axis, either way, meets it nowhere in particular.
    if (VectorLength(Ray.Direction) == 0 || std::fabs(Ray.Direction.X) >= 1 - 1e-4) return;
    const TMLine Axis{{Table.Origin, 0, 0}, XAxisVector};
    const double Number = Table.FrameNumber(PointOnLineClosestToLine(Axis, Ray).X);
    if (std::isnan(Number)) return;
    Request.TryPoint({Table.FramePosition(NearestFrame(Number)), 0, 0}, stPoint, this);
}

IGeometryFrame* TGeoFrames::CreateFrame(void* Owner) {
    if (IGeometryFrame* Frame = CreateGeometryFrame(FramesFrameName, *this, Owner)) return Frame;
    return TGeometry::CreateFrame(Owner);
}

void TGeoFrames::Transform(const TMMatrix& M) {
    // Only the x row maps the table; a transform that turns x away (or reverses it) would leave frames
    // without a spacing that maps x to frame numbers and back.
    if (!(M[0][0] > 1e-9) && Table.Count() > 0) {
        if (GConsole)
            GConsole->WriteLine("Warning: " + GetName() + " not transformed, the frame spacing would become " +
                                FloatToStr(M[0][0] * Table.Spacings(0).Spacing));
        return;
    }
    BeginChange();
    Table.Assign(*Table.Transformed(M));
    EndChange();
}

void TGeoFrames::Assign(const TGeometry& Source) {
    TGeometry::Assign(Source);
    if (const auto* Other = dynamic_cast<const TGeoFrames*>(&Source)) Table.Assign(Other->Table);
}

double TGeoFrames::DistanceToPoint(TPoint ScreenPoint, IGraphics& View) {
    double Best = 1e33;
    if (IsHidden()) return Best;
    VisitShownFrames([&](int, double X) {
        const TPoint P = View.WorldToScreen(X, 0, 0);
        Best = std::min(Best, std::hypot(double(P.X) - ScreenPoint.X, double(P.Y) - ScreenPoint.Y));
        return true;
    });
    return Best;
}

bool TGeoFrames::InRect(const TRect& Rect, IGraphics& View) {
    bool Inside = false;
    if (IsHidden()) return Inside;
    VisitShownFrames([&](int, double X) {
        const TPoint P = View.WorldToScreen(X, 0, 0);
        Inside = P.X >= Rect.Left && P.X < Rect.Right && P.Y >= Rect.Top && P.Y < Rect.Bottom;
        return !Inside;
    });
    return Inside;
}

void TGeoFrames::DrawLabels(IGraphics& View) {
    IRenderTarget* Target = RenderTargetOf(View);
    // A canvas (a printer, a plotter) has no window pixels to place the labels in.
    if (Target == nullptr) return;
    struct TLabel {
        std::string Text;
        double X;
        double Y;
    };
    std::vector<TLabel> Labels;
    VisitShownFrames([&](int Frame, double X) {
        if (Frame % 10 != 0) return true;
        TMVector Window;
        // The label hangs under the lower end of the long tick, when that lies within the view's depth.
        if (!Target->WorldToWindow({X, 0, -1}, Window) || !(Window.Z >= 0 && Window.Z <= 1)) return true;
        if (!(std::fabs(Window.X) < 1e9 && std::fabs(Window.Y) < 1e9)) return true;
        Labels.push_back({IntToStr(Frame), double(RoundToInteger(Window.X)), double(RoundToInteger(Window.Y))});
        return true;
    });
    if (Labels.empty()) return;
    Target->BeginPixelOverlay();
    struct TEndOverlay {
        IRenderTarget& Target;
        ~TEndOverlay() { Target.EndPixelOverlay(); }
    } End{*Target};
    // Centred, and its top at the tick's end (the overlay counts y downwards).
    for (const TLabel& L : Labels)
        View.TextOut(L.Text, L.X - View.TextWidth(L.Text) / 2, L.Y + View.TextHeight(L.Text), 0);
}

void TGeoFrames::Draw(IGraphics& View) {
    if (Table.Count() == 0) return;
    Table.Draw(View);
    DrawLabels(View);
}

void TGeoFrames::DrawOutline(IGraphics& View) { Draw(View); }

void TGeoFrames::DrawSimplified(IGraphics& View) {
    if (Table.Count() > 0) Table.Draw(View);
}

void TGeoFrames::SaveToText(TTextWriter& Out) {
    if (Table.Count() == 0) return;
    Out.WriteLine("[" + GetKeyword() + "]");
    Out.WriteLine(Table.GetDefinition());
    Out.WriteLine("");
}

void TGeoFrames::LoadFromText(TTextReader& In) { Table.SetDefinition(In.ReadLine()); }

void TGeoFrames::UpdateFrame() {
    if (IGeometryFrame* Frame = GetFrame()) Frame->Refresh();
}

void TGeoFrames::HandleMessage(TGeoMessage& Message) {
    TGeometry::HandleMessage(Message);
    if (dynamic_cast<TGeoListChange*>(&Message) == nullptr && dynamic_cast<TGeoGeometryChange*>(&Message) == nullptr)
        return;
    TGeometryList* List = GetOwnerList();
    if (List == nullptr) return;
    const TMBox Extents = List->GetExtents();
    if (Extents.Max.X - Extents.Min.X > MinimumSpan) {
        Table.XMin = Extents.Min.X;
        Table.XMax = Extents.Max.X;
    } else {
        Table.XMin = DefaultXMin;
        Table.XMax = DefaultXMax;
    }
}

}  // namespace sarnova
