#include "views/GeometryPlotter.h"

#include <algorithm>
#include <cmath>

#include "document/Geometry.h"
#include "document/GeometryList.h"
#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "foundation/Geom.h"
#include "foundation/GeomFacet.h"
#include "views/ViewWinAPICore.h"

namespace sarnova {

namespace {

// A filled quadrilateral of one colour at depth Z.
void FillRectangle(IGraphics& Graphics, double X0, double Y0, double X1, double Y1, double Z, TColor Colour) {
    TPolygon Quad(1);
    Quad.SetCorner(0, TRPoint(TMVector{X0, Y0, Z}));
    Quad.SetCorner(1, TRPoint(TMVector{X1, Y0, Z}));
    Quad.SetCorner(2, TRPoint(TMVector{X1, Y1, Z}));
    Quad.SetCorner(3, TRPoint(TMVector{X0, Y1, Z}));
    Quad.SetColor(Colour);
    Quad.EdgeColor = Colour;
    Graphics.Polygon(Quad);
}

// A rectangle's outline as one line strip.
void OutlineRectangle(IGraphics& Graphics, double X0, double Y0, double X1, double Y1) {
    Graphics.LineStart(X0, Y0, 0);
    Graphics.LineNext(X1, Y0, 0);
    Graphics.LineNext(X1, Y1, 0);
    Graphics.LineNext(X0, Y1, 0);
    Graphics.LineNext(X0, Y0, 0);
    Graphics.LineFinish();
}

}  // namespace

// ---- Printer metrics ----

TPrinterMetrics PrinterMetricsFromCaps(const TPrinterDeviceCaps& Caps) {
    auto Millimetres = [](int Pixels, int PerInch) {
        return RoundPixel(static_cast<double>(Pixels) / PerInch * PlotterMillimetresPerInch);
    };
    TPrinterMetrics M;
    M.PrintableWidth = Caps.HorzSize;
    M.PrintableHeight = Caps.VertSize;
    M.HorzResolution = Caps.LogPixelsX;
    M.VertResolution = Caps.LogPixelsY;
    M.PaperWidth = Millimetres(Caps.PhysicalWidth, Caps.LogPixelsX);
    M.PaperHeight = Millimetres(Caps.PhysicalHeight, Caps.LogPixelsY);
    M.LeftMargin = Millimetres(Caps.PhysicalOffsetX, Caps.LogPixelsX);
    M.TopMargin = Millimetres(Caps.PhysicalOffsetY, Caps.LogPixelsY);
    M.RightMargin = M.PaperWidth - M.PrintableWidth - M.LeftMargin;
    M.BottomMargin = M.PaperHeight - M.PrintableHeight - M.TopMargin;
    M.PageWidth = Caps.PageWidth;
    M.PageHeight = Caps.PageHeight;
    return M;
}

TPrinterMetrics ReadPrinterMetrics(IPlotterPrinter& Printer) {
    if (!Printer.Printing()) Printer.SetPortrait();
    return PrinterMetricsFromCaps(Printer.DeviceCaps());
}

TPrinterMetrics SwapPrinterMetrics(const TPrinterMetrics& M) {
    TPrinterMetrics R;
    R.PaperWidth = M.PaperHeight;
    R.PaperHeight = M.PaperWidth;
    R.PrintableWidth = M.PrintableHeight;
    R.PrintableHeight = M.PrintableWidth;
    R.LeftMargin = M.TopMargin;
    R.TopMargin = M.LeftMargin;
    R.RightMargin = M.BottomMargin;
    R.BottomMargin = M.RightMargin;
    R.HorzResolution = M.VertResolution;
    R.VertResolution = M.HorzResolution;
    R.PageHeight = M.PageWidth;
    R.PageWidth = M.PageHeight;
    return R;
}

double DesignUnitMillimetres(int Units) {
    switch (Units) {
        case 0: return 1000;
        case 1: return 10;
        case 2: return 1;
        case 3: return 304.799999536704;
        case 4: return PlotterMillimetresPerInch;
        default: return 1;
    }
}

// ---- The sheet ----

void DrawPlotterSheet(IGraphics& Graphics, const TPrinterMetrics& M, IPlotterSheetSwitches* Switches) {
    if (Switches) Switches->DepthTestOff();
    Graphics.SetBackColor(clAppWorkSpace);
    const double D = std::min(M.PrintableWidth, M.PrintableHeight) / 60.0;
    const double X0 = -M.LeftMargin, Y0 = -M.BottomMargin;
    const double X1 = X0 + M.PaperWidth, Y1 = Y0 + M.PaperHeight;
    FillRectangle(Graphics, X0 + D, Y0 - D, X1 + D, Y1 - D, -1, clBlack);
    FillRectangle(Graphics, X0, Y0, X1, Y1, 0, clWindow);
    Graphics.SetLineColor(clBlack);
    OutlineRectangle(Graphics, X0, Y0, X1, Y1);
    if (Switches) Switches->LineStipple(1, 0xF0F0);
    OutlineRectangle(Graphics, 0, 0, M.PrintableWidth, M.PrintableHeight);
    if (Switches) Switches->LineStipple(1, 0);
}

// ---- TGeometryObjects ----

TMBox TGeometryObjects::Extents() const {
    TMBox Box = EmptyBox;
    for (TGeometry* Entity : Items) Box = UniteBoxes(Box, Entity->GetExtents());
    return Box;
}

void TGeometryObjects::Draw(IGraphics& Graphics) const {
    for (TGeometry* Entity : Items) Entity->Draw(Graphics);
}

// ---- TGeometryPlotterCanvas ----

TGeometryPlotterCanvas::TGeometryPlotterCanvas(ICanvas& Canvas, int Width, int Height, int PrintableWidth,
                                               int PrintableHeight)
    : TCanvasInterface(Canvas, Width, Height), Matrix(ZeroMatrix) {
    Matrix[0][0] = static_cast<double>(Width) / PrintableWidth;
    Matrix[1][1] = static_cast<double>(Height) / PrintableHeight;
}

TPoint TGeometryPlotterCanvas::WorldToScreen(double X, double Y, double Z) {
    const TMVector P = MatrixTransformPoint(Matrix, {X, Y, Z});
    return {RoundPixel(P.X), Height - RoundPixel(P.Y)};
}

// ---- TGeometryPage ----

void TGeometryPage::AddEntity(TGeometry* Entity) {
    if (Entity != nullptr && !Entity->HasCapability(cpInternal)) Objects.Add(Entity);
}

void TGeometryPage::AddList(TGeometryList& List) {
    for (int I = 0; I < List.Count(); ++I) AddEntity(&List.Items(I));
}

std::string TGeometryPage::GetScaleText() const {
    if (Ratio >= 1) return Format("%g:1", {Ratio});
    return Format("1:%g", {1 / Ratio});
}

void TGeometryPage::SetScaleText(const std::string& Text) {
    const std::size_t Colon = Text.find(':');
    const char* const BadFormat = "Scale Factor should be in the format \"number:number\"";
    if (Colon == std::string::npos) throw EConvertError(BadFormat);
    const std::string First = Text.substr(0, Colon);
    const std::string Second = Text.substr(Colon + 1, 255);
    if (!IsNumber(First) || !IsNumber(Second)) throw EConvertError(BadFormat);
    const double A = ParseFloat(First);
    const double B = ParseFloat(Second);
    if (A < 1 || B < 1) throw EConvertError("Both numbers in the scale factor should be 1 or greater");
    Ratio = A / B;
}

double TGeometryPage::Scale() {
    const int Units = Plotter ? Plotter->Units : 0;
    const double RatioScale = DesignUnitMillimetres(Units) * Ratio;
    if (!Fit) return RatioScale;
    const TMVector Size = VectorFromTo(Extents.Min, Extents.Max);
    double C = Size.X, B = Size.Y;
    if (ViewPlane == 1) {
        C = Size.Y;
        B = Size.Z;
    } else if (ViewPlane == 2) {
        B = Size.Z;
    }
    const double W = Plotter ? Plotter->GetPrintableWidth() : 0;
    const double H = Plotter ? Plotter->GetPrintableHeight() : 0;
    double S = 0;
    if (Orientation == 1) {
        S = H / C;
        if (W < B * S) S = W / B;
    } else {
        S = W / C;
        if (H < B * S) S = H / B;
    }
    Offset = ZeroVector;
    // Entities without extent across the plane have no fitting scale; they print as the ratio has it.
    if (!(std::isfinite(S) && S > 0)) return RatioScale;
    return S * 0.999;
}

void TGeometryPage::SetupPipeline(TMatrixPipeline& Pipeline, bool ForPreview) {
    Extents = Objects.Extents();
    const TMVector C = BoxCentre(Extents);
    const double S = Scale();

    // Paper x and y from the plane's two axes, about the extents' centre; paper z 0.
    TMMatrix P = ZeroMatrix;
    P[3][3] = 1;
    switch (ViewPlane) {
        case 1:
            P[0][1] = 1;
            P[0][3] = -C.Y;
            P[1][2] = 1;
            P[1][3] = -C.Z;
            break;
        case 2:
            P[0][0] = 1;
            P[0][3] = -C.X;
            P[1][2] = 1;
            P[1][3] = -C.Z;
            break;
        default:
            P[0][0] = 1;
            P[0][3] = -C.X;
            P[1][1] = 1;
            P[1][3] = -C.Y;
            break;
    }

    const double W = Plotter ? Plotter->GetPrintableWidth() : 0;
    const double H = Plotter ? Plotter->GetPrintableHeight() : 0;
    TMMatrix T = IdentityMatrix;
    if (Orientation != 1) {
        T = MatrixTranslation(W / 2 + Offset.X, H / 2 + Offset.Y, 0);
    } else if (ForPreview) {
        T = MatrixTranslation(H / 2 + Offset.X, W / 2 + Offset.Y, 0);
    } else {
        // The printer always gets a portrait sheet: the landscape picture is turned onto it.
        T[0][0] = 0;
        T[0][1] = -1;
        T[1][0] = 1;
        T[1][1] = 0;
        T[0][3] = W / 2 - Offset.Y;
        T[1][3] = H / 2 + Offset.X;
    }
    Pipeline.SetMatrix(MatrixMultiply(T, MatrixMultiply(MatrixUniformScaling(S), P)));
}

TPrinterMetrics TGeometryPage::SheetMetrics() const {
    const TPrinterMetrics M = Plotter ? Plotter->GetMetrics() : TPrinterMetrics{};
    return Orientation == 1 ? SwapPrinterMetrics(M) : M;
}

void TGeometryPage::DrawSheet(IGraphics& Graphics) {
    DrawPlotterSheet(Graphics, SheetMetrics(), Plotter ? Plotter->SheetSwitches : nullptr);
}

void TGeometryPage::DrawObjects(IGraphics& Graphics, bool ForPreview) {
    TMatrixPipeline Pipeline;
    Pipeline.SetTarget(&Graphics);
    SetupPipeline(Pipeline, ForPreview);
    Objects.Draw(Pipeline);
}

void TGeometryPage::DrawPreview(IGraphics& Graphics) {
    DrawSheet(Graphics);
    DrawObjects(Graphics, true);
}

void TGeometryPage::Print(IGraphics& Graphics) { DrawObjects(Graphics, false); }

TMBox TGeometryPage::SheetBox() const {
    const TPrinterMetrics M = SheetMetrics();
    return MakeBox(-M.LeftMargin, -M.BottomMargin, -1, M.PaperWidth - M.LeftMargin, M.PaperHeight - M.BottomMargin, 1);
}

void TGeometryPage::BeginOffsetDrag(IGraphics& Graphics, int X, int Y) {
    DragSavedOffset = Offset;
    DragStart = Graphics.ScreenToWorld(X, Y);
}

void TGeometryPage::DragOffset(IGraphics& Graphics, int X, int Y) {
    Offset = VectorAdd(DragSavedOffset, VectorFromTo(DragStart, Graphics.ScreenToWorld(X, Y)));
}

// ---- TGeometryPlotter ----

TGeometryPlotter::TGeometryPlotter(IPlotterPrinter& APrinter) : Printer(APrinter) { ReadPrinter(); }

TGeometryPlotter::~TGeometryPlotter() = default;

void TGeometryPlotter::ReadPrinter() {
    Metrics = ReadPrinterMetrics(Printer);
    PageWidth = Metrics.PageWidth;
    PageHeight = Metrics.PageHeight;
    PrintableWidth = Metrics.PrintableWidth;
    PrintableHeight = Metrics.PrintableHeight;
}

TGeometryPage& TGeometryPlotter::Pages(int Index) const {
    if (Index < 0 || Index >= PageCount()) throw EError("List index out of bounds (" + IntToStr(Index) + ")");
    return *PageList[static_cast<std::size_t>(Index)];
}

int TGeometryPlotter::GetCurrentIndex() {
    if (PageList.empty()) return -1;
    CurrentIndex = std::clamp(CurrentIndex, 0, PageCount() - 1);
    return CurrentIndex;
}

TGeometryPage* TGeometryPlotter::CurrentPage() {
    const int I = GetCurrentIndex();
    return I < 0 ? nullptr : PageList[static_cast<std::size_t>(I)].get();
}

void TGeometryPlotter::SetCurrentIndex(int Index) {
    if (PageList.empty())
        CurrentIndex = -1;
    else if (Index >= 0 && Index < PageCount())
        CurrentIndex = Index;
}

std::uint8_t TGeometryPlotter::GetViewPlane() {
    const TGeometryPage* P = CurrentPage();
    return P ? P->ViewPlane : 0;
}

std::uint8_t TGeometryPlotter::GetOrientation() {
    const TGeometryPage* P = CurrentPage();
    return P ? P->Orientation : 0;
}

std::string TGeometryPlotter::GetScaleText() {
    const TGeometryPage* P = CurrentPage();
    return P ? P->GetScaleText() : "1:1";
}

bool TGeometryPlotter::GetFit() {
    const TGeometryPage* P = CurrentPage();
    return P ? P->Fit : false;
}

template <class F>
void TGeometryPlotter::ForPages(F&& Action) {
    if (ApplyToAll) {
        for (const auto& Page : PageList) Action(*Page);
    } else if (TGeometryPage* Page = CurrentPage()) {
        Action(*Page);
    }
}

void TGeometryPlotter::SetViewPlane(std::uint8_t Value) {
    ForPages([Value](TGeometryPage& P) { P.ViewPlane = Value; });
}

void TGeometryPlotter::SetOrientation(std::uint8_t Value) {
    ForPages([Value](TGeometryPage& P) { P.Orientation = Value; });
}

void TGeometryPlotter::SetScaleText(const std::string& Text) {
    // Every page reads the same text: a rejected one fails at the first page, before any change.
    ForPages([&Text](TGeometryPage& P) { P.SetScaleText(Text); });
}

void TGeometryPlotter::SetFit(bool Value) {
    ForPages([Value](TGeometryPage& P) { P.Fit = Value; });
}

void TGeometryPlotter::ResetOffsets() {
    ForPages([](TGeometryPage& P) { P.ResetOffset(); });
}

TGeometryPage& TGeometryPlotter::AddPage(std::unique_ptr<TGeometryPage> Page) {
    Page->Plotter = this;
    PageList.push_back(std::move(Page));
    return *PageList.back();
}

TGeometryPage& TGeometryPlotter::NewPage() { return AddPage(std::make_unique<TGeometryPage>()); }

void TGeometryPlotter::ClearPages() { PageList.clear(); }

void TGeometryPlotter::Paginate(TGeometryList& List, bool Split) {
    ClearPages();
    if (!Split) {
        NewPage().AddList(List);
        return;
    }
    for (int I = 0; I < List.Count(); ++I) {
        TGeometry& Entity = List.Items(I);
        if (!Entity.HasCapability(cpInternal)) NewPage().AddEntity(&Entity);
    }
}

void TGeometryPlotter::DrawPreview(IGraphics& Graphics) {
    if (TGeometryPage* P = CurrentPage()) P->DrawPreview(Graphics);
}

void TGeometryPlotter::BeginOffsetDrag(IGraphics& Graphics, int X, int Y) {
    if (TGeometryPage* P = CurrentPage()) P->BeginOffsetDrag(Graphics, X, Y);
}

void TGeometryPlotter::DragOffset(IGraphics& Graphics, int X, int Y) {
    if (TGeometryPage* P = CurrentPage()) P->DragOffset(Graphics, X, Y);
}

void TGeometryPlotter::EndOffsetDrag(IGraphics& Graphics, int X, int Y) {
    if (TGeometryPage* P = CurrentPage()) P->EndOffsetDrag(Graphics, X, Y);
}

void TGeometryPlotter::PrintRange(int First, int Last, const std::string& Title) {
    if (Printer.Printing()) return;
    // Checked before the job starts, so a bad range leaves no half-printed job behind.
    if (Last >= First) {
        Pages(First);
        Pages(Last);
    }
    ReadPrinter();
    Printer.SetTitle(Title.empty() ? GExeName + " - Plotter" : Title);
    Printer.SetPortrait();
    Printer.BeginDoc();
    try {
        TGeometryPlotterCanvas Canvas(Printer.Canvas(), PageWidth, PageHeight, PrintableWidth, PrintableHeight);
        for (int I = First; I <= Last; ++I) {
            Pages(I).Print(Canvas);
            if (I < Last) Printer.NewPage();
        }
    } catch (...) {
        Printer.EndDoc();
        throw;
    }
    Printer.EndDoc();
}

void TGeometryPlotter::PrintCurrent(const std::string& Title) {
    if (CurrentPage() == nullptr) return;
    const int I = GetCurrentIndex();
    PrintRange(I, I, Title);
}

}  // namespace sarnova
