#include "controls/VkGraphCore.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <random>
#include <utility>
#include <vector>

#include "foundation/TextUtils.h"
#include "platform/Clipboard.h"

namespace sarnova {

namespace {

// ---- The chart-format blocks of this process ----
// A block is a text naming this process and a token; the token stands for a series list only while
// the chart that copied it is alive, so a block from elsewhere or from a closed chart resolves to
// nothing instead of to a dangling list.

constexpr std::string_view BlockPrefix = "SarnovaChart:";

struct TChartFormatRegistry {
    std::uint64_t Process = std::random_device{}() * 0x100000000ull + std::random_device{}();
    std::uint64_t NextToken = 1;
    std::map<std::uint64_t, TVkSeriesList*> Lists;
};

TChartFormatRegistry& Registry() {
    static TChartFormatRegistry Instance;
    return Instance;
}

std::string BlockText(std::uint64_t Token) {
    return std::string(BlockPrefix) + std::to_string(Registry().Process) + ":" + std::to_string(Token);
}

// The token of a block of this process; 0 for anything else.
std::uint64_t BlockToken(std::string_view Block) {
    if (!Block.starts_with(BlockPrefix)) return 0;
    Block.remove_prefix(BlockPrefix.size());
    std::uint64_t Process = 0, Token = 0;
    const char* End = Block.data() + Block.size();
    auto [P, Error] = std::from_chars(Block.data(), End, Process);
    if (Error != std::errc() || P == End || *P != ':' || Process != Registry().Process) return 0;
    auto [Q, Error2] = std::from_chars(P + 1, End, Token);
    if (Error2 != std::errc() || Q != End) return 0;
    return Token;
}

TVkSeriesList* ResolveBlock(std::string_view Block) {
    const auto Found = Registry().Lists.find(BlockToken(Block));
    return Found != Registry().Lists.end() ? Found->second : nullptr;
}

class TTextChartClipboard : public IChartClipboard {
public:
    void Place(const TChartClipboardContents& Contents) override {
        TextClipboard().SetText(Contents.HasText ? Contents.Text : std::string());
        PlacedText = TextClipboard().GetText();
        Block = Contents.ChartFormat;
    }
    bool HasChartFormat() const override { return !Block.empty() && TextClipboard().GetText() == PlacedText; }
    std::string GetChartFormat() const override { return HasChartFormat() ? Block : std::string(); }
    void SetText(const std::string& Text) override {
        TextClipboard().SetText(Text);
        Block.clear();
    }

private:
    std::string PlacedText;
    std::string Block;
};

bool PtInRect(const TRect& R, TPoint P) { return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom; }

double PixelDistance(TPoint A, TPoint B) { return std::hypot(double(A.X) - B.X, double(A.Y) - B.Y); }

// The ticks of an axis: indexes First .. First + Count - 1 of the step Gap.
struct TTicks {
    double First = 0;
    int Count = 0;
    double Gap = 0;
};

// A step too fine for the view would give endless ticks; it is widened to at most this many.
constexpr double MaxTicks = 1000;

TTicks AxisTicks(double Min, double Max, double Gap) {
    if (!(Gap > 0)) return {0, 1, 0};  // a single tick, at 0
    for (int Round = 0; Round < 8; ++Round) {
        double First = std::trunc(Min / Gap);
        double Last = std::trunc(Max / Gap);
        if (First * Gap < Min) First += 1;
        if (Max < Last * Gap) Last -= 1;
        const double N = Last - First + 1;
        if (!std::isfinite(N)) break;
        if (N <= MaxTicks) return {First, N > 0 ? static_cast<int>(N) : 0, Gap};
        Gap *= std::ceil(N / MaxTicks);
    }
    return {};
}

// Segment A -> B cut to the square of half-side Limit, in place; false when nothing of it is left.
bool ClipSegment(double& AX, double& AY, double& BX, double& BY, double Limit) {
    double T0 = 0, T1 = 1;
    const double DX = BX - AX, DY = BY - AY;
    const double P[4] = {-DX, DX, -DY, DY};
    const double Q[4] = {AX + Limit, Limit - AX, AY + Limit, Limit - AY};
    for (int I = 0; I < 4; ++I) {
        if (P[I] == 0) {
            if (Q[I] < 0) return false;
            continue;
        }
        const double T = Q[I] / P[I];
        if (P[I] < 0)
            T0 = std::max(T0, T);
        else
            T1 = std::min(T1, T);
    }
    if (!(T0 <= T1)) return false;
    BX = AX + T1 * DX;
    BY = AY + T1 * DY;
    AX += T0 * DX;
    AY += T0 * DY;
    return true;
}

}  // namespace

int GraphPixel(double V) {
    if (std::isnan(V)) return 0;
    return static_cast<int>(static_cast<float>(std::clamp(V, -134217727.0, 134217727.0)));
}

IChartClipboard& DefaultChartClipboard() {
    static TTextChartClipboard Instance;
    return Instance;
}

// ---- Construction and properties ----

TVkGraphCore::TVkGraphCore()
    : SeriesList(std::make_unique<TVkSeriesList>(this)),
      XAxis(std::make_unique<TVkAxis>(this)),
      YAxis(std::make_unique<TVkAxis>(this)) {
    Font = {"Arial", 8, 0, clWindowText};
    TitleFont = Font;
    TitleFont.Size += 2;
    TitleFont.Style |= fsBold;
    XAxis->Title = "X-Axis";
    YAxis->Title = "Y-Axis";
}

// A window that replaces GetClipboard releases the block itself: here the base's clipboard would be
// asked.
TVkGraphCore::~TVkGraphCore() { ReleaseChartFormat(); }

void TVkGraphCore::SetTitle(const std::string& Value) {
    Title = Value;
    InvalidateControl();
}

void TVkGraphCore::SetTitleFont(const TFont& Value) {
    TitleFont = Value;
    Changed(nullptr);
}

void TVkGraphCore::SetFont(const TFont& Value) {
    Font = Value;
    InvalidateControl();
}

void TVkGraphCore::SetColor(TColor Value) {
    Color = Value;
    InvalidateControl();
}

void TVkGraphCore::SetGridLinesColor(TColor Value) {
    GridLinesColor = Value;
    InvalidateControl();
}

void TVkGraphCore::SetChartColor(TColor Value) {
    ChartColor = Value;
    InvalidateControl();
}

void TVkGraphCore::SetShowChartBorder(bool Value) {
    ShowChartBorder = Value;
    InvalidateControl();
}

void TVkGraphCore::SetShowLegend(bool Value) {
    ShowLegend = Value;
    InvalidateControl();
}

void TVkGraphCore::SetMouseMode(TVkGraphMouseMode Value) {
    if (Dragging) return;
    MouseMode = Value;
    SetCursor(Value == lgmPan ? crGraphPan : Value == lgmZoom ? crGraphZoom : crDefault);
}

void TVkGraphCore::SetClientSize(int Width, int Height) {
    ClientWidth = std::max(0, Width);
    ClientHeight = std::max(0, Height);
}

IChartClipboard& TVkGraphCore::GetClipboard() const { return DefaultChartClipboard(); }

// ---- Popup menu ----

void TVkGraphCore::Loaded() {
    if (UsePopupMenu) BuildPopupMenu();
}

void TVkGraphCore::BuildPopupMenu() {
    PopupMenu = std::make_unique<TMenuItem>();
    PopupMenu->Add("Properties", [this](TMenuItem&) { ShowProperties(); }).Default = true;
    PopupMenu->Add("-");
    TMenuItem& Interaction = PopupMenu->Add("Interaction");
    const auto SetMode = [this](TMenuItem& Item) { SetMouseMode(static_cast<TVkGraphMouseMode>(Item.Tag)); };
    const std::pair<const char*, TVkGraphMouseMode> Modes[] = {
        {"Query", lgmQueryValue}, {"Zoom", lgmZoom}, {"Pan", lgmPan}, {"Modify", lgmModify}};
    for (const auto& [Caption, Mode] : Modes) Interaction.Add(Caption, SetMode).Tag = Mode;
    if (OnMouseDown) Interaction.Add("User", SetMode).Tag = lgmUser;
    PopupMenu->Add("Default Axes Setting", [this](TMenuItem&) { DefaultAxesSetting(); });
    PopupMenu->Add("-");
    PopupMenu->Add("Copy", [this](TMenuItem&) { CopyToClipboard(); });
    PopupMenu->Add("Paste", [this](TMenuItem&) { Paste(); });
    PopupMenu->Add("-");
    PopupMenu->Add("Print", [this](TMenuItem&) { ExecutePrint(); });
    PopupMenu->Add("Print Settings...", [this](TMenuItem&) { ExecutePrinterSetup(); });
}

void TVkGraphCore::UpdatePopupMenu() {
    if (PopupMenu == nullptr) return;
    if (TMenuItem* PasteItem = PopupMenu->Find("Paste")) PasteItem->Enabled = HasChartFormat();
    if (TMenuItem* Interaction = PopupMenu->Find("Interaction"))
        for (int I = 0; I < Interaction->Count(); ++I)
            Interaction->Items(I).Checked = Interaction->Items(I).Tag == MouseMode;
}

void TVkGraphCore::DefaultAxesSetting() {
    for (TVkAxis* Axis : {XAxis.get(), YAxis.get()}) {
        Axis->SetAutoMin(true);
        Axis->SetAutoMax(true);
        Axis->SetAutoGap(true);
    }
}

// ---- Change and mapping ----

void TVkGraphCore::Changed(TVkChartObject* Sender) {
    if (dynamic_cast<TVkDataPoint*>(Sender) != nullptr || dynamic_cast<TVkSeries*>(Sender) != nullptr ||
        dynamic_cast<TVkSeriesList*>(Sender) != nullptr) {
        const TGraphExtents& E = SeriesList->GetExtents();
        XAxis->DataMin = E.MinX;
        XAxis->DataMax = E.MaxX;
        YAxis->DataMin = E.MinY;
        YAxis->DataMax = E.MaxY;
    }
    InvalidateControl();
}

TPoint TVkGraphCore::WorldToScreen(double X, double Y) const {
    const double SX = (X - View.MinX) / (View.MaxX - View.MinX) * (PlotRect.Right - PlotRect.Left) + PlotRect.Left;
    const double SY = (Y - View.MinY) / (View.MaxY - View.MinY) * (PlotRect.Top - PlotRect.Bottom) + PlotRect.Bottom;
    return {GraphPixel(SX), GraphPixel(SY)};
}

void TVkGraphCore::ScreenToWorld(TPoint Pixel, double& X, double& Y) const {
    X = View.MinX + double(Pixel.X - PlotRect.Left) / (PlotRect.Right - PlotRect.Left) * (View.MaxX - View.MinX);
    Y = View.MinY + double(Pixel.Y - PlotRect.Bottom) / (PlotRect.Top - PlotRect.Bottom) * (View.MaxY - View.MinY);
}

// ---- Drawing ----

void TVkGraphCore::DrawTo(const TRect& R, ICanvas& C, int Scale) {
    PlotRect = R;
    C.SetBrushColor(Color);
    C.FillRect(R);
    if (SeriesList->Count() == 0) return;
    View = {XAxis->GetMin(), YAxis->GetMin(), XAxis->GetMax(), YAxis->GetMax()};
    if (!(View.MaxX > View.MinX) && !(View.MaxY > View.MinY)) return;
    // An axis without width (or without a finite range) cannot be mapped onto pixels; the chart then
    // shows its background only.
    if (View.MaxX == View.MinX || View.MaxY == View.MinY || !std::isfinite(View.MaxX - View.MinX) ||
        !std::isfinite(View.MaxY - View.MinY))
        return;

    // Legend.
    if (ShowLegend) {
        C.SetFont(Font);
        const int H = C.TextHeight("Hg"), Q = H / 4;
        int W = 0;
        for (int I = 0; I < SeriesList->Count(); ++I) W = std::max(W, C.TextWidth(SeriesList->GetSeries(I).GetName()));
        const int N = SeriesList->Count();
        const int Height = N * H + (N + 1) * Q;
        TRect Box;
        Box.Right = R.Right - Q;
        Box.Left = R.Right + H - (W + 4 * Q + 2 * H);
        Box.Top = (R.Top + R.Bottom - Height) / 2;
        Box.Bottom = Box.Top + Height;
        C.SetPenWidth(Scale);
        C.SetPenColor(Font.Color);
        C.Rectangle(Box);
        for (int I = 0; I < N; ++I) {
            const TVkSeries& S = SeriesList->GetSeries(I);
            const int SX = Box.Left + Q, SY = Box.Top + I * H + (I + 1) * Q;
            C.SetBrushColor(S.GetColor());
            C.Rectangle({SX, SY, SX + H, SY + H});
            C.SetBrushColor(clNone);
            C.TextOut(SX + H + Q, SY, S.GetName());
        }
        PlotRect.Right = R.Right - (W + 4 * Q + 2 * H);
    }

    // Titles.
    C.SetFont(TitleFont);
    int H = C.TextHeight("Hg");
    if (!Trim(Title).empty()) C.TextOut((R.Left + R.Right - C.TextWidth(Title)) / 2, R.Top + H / 2, Title);
    PlotRect.Top += 2 * H;
    if (!ShowLegend) PlotRect.Right -= 2 * H;
    C.SetFont(Font);
    H = C.TextHeight("Hg");
    const std::string& XTitle = XAxis->Title;
    const std::string& YTitle = YAxis->Title;
    if (!Trim(XTitle).empty()) PlotRect.Bottom = R.Bottom - 2 * H;
    if (!Trim(YTitle).empty()) PlotRect.Left = R.Left + 2 * H;
    if (!XTitle.empty())
        C.TextOut((PlotRect.Left + PlotRect.Right - C.TextWidth(XTitle)) / 2, R.Bottom - (3 * H) / 2, XTitle);
    if (!YTitle.empty()) {
        C.SetFontAngle(900);
        C.TextOut(R.Left + C.TextHeight(YTitle) / 2, (C.TextWidth(YTitle) + PlotRect.Top + PlotRect.Bottom) / 2,
                  YTitle);
        C.SetFontAngle(0);
    }

    // Axes.
    const int U = C.TextWidth("H"), T = C.TextHeight("Hg");
    const TTicks XTicks = AxisTicks(View.MinX, View.MaxX, XAxis->GetGap());
    const TTicks YTicks = AxisTicks(View.MinY, View.MaxY, YAxis->GetGap());
    const auto TickValue = [](const TTicks& Ticks, int I) { return (Ticks.First + I) * Ticks.Gap; };
    int L = 0;
    for (int I = 0; I < YTicks.Count; ++I) L = std::max(L, C.TextWidth(FloatToStr(TickValue(YTicks, I))));
    PlotRect.Left += L + U;
    PlotRect.Bottom -= T + U;
    C.SetBrushColor(ChartColor);
    C.SetPenColor(ChartColor);
    C.Rectangle(PlotRect);
    C.SetBrushColor(clNone);
    const double XLineY = View.MinY > 0 ? View.MinY : 0;
    const double YLineX = View.MinX > 0 ? View.MinX : 0;
    const auto Line = [&C](TPoint A, TPoint B) {
        C.MoveTo(A.X, A.Y);
        C.LineTo(B.X, B.Y);
    };
    C.SetPenWidth(Scale);
    C.SetPenColor(Font.Color);
    for (int I = 0; I < XTicks.Count; ++I) {
        const double V = TickValue(XTicks, I);
        const TPoint P = WorldToScreen(V, XLineY);
        if (XAxis->GridLines) {
            C.SetPenColor(GridLinesColor);
            Line(WorldToScreen(V, View.MinY), WorldToScreen(V, View.MaxY));
            C.SetPenColor(Font.Color);
        }
        Line({P.X, P.Y - (2 * U) / 4}, {P.X, P.Y + (3 * U) / 4});
        const std::string Label = FloatToStr(V);
        C.TextOut(P.X - C.TextWidth(Label) / 2, P.Y + U, Label);
    }
    for (int I = 0; I < YTicks.Count; ++I) {
        const double V = TickValue(YTicks, I);
        const TPoint P = WorldToScreen(YLineX, V);
        if (YAxis->GridLines) {
            C.SetPenColor(GridLinesColor);
            Line(WorldToScreen(View.MinX, V), WorldToScreen(View.MaxX, V));
            C.SetPenColor(Font.Color);
        }
        Line({P.X + (2 * U) / 4, P.Y}, {P.X - (3 * U) / 4, P.Y});
        const std::string Label = FloatToStr(V);
        C.TextOut(P.X - C.TextWidth(Label) - U, P.Y - T / 2, Label);
    }
    C.SetPenWidth(2 * Scale);
    Line(WorldToScreen(YLineX, View.MinY), WorldToScreen(YLineX, View.MaxY));
    Line(WorldToScreen(View.MinX, XLineY), WorldToScreen(View.MaxX, XLineY));
    if (ShowChartBorder) {
        const TPoint Border[] = {WorldToScreen(View.MinX, View.MinY), WorldToScreen(View.MinX, View.MaxY),
                                 WorldToScreen(View.MaxX, View.MaxY), WorldToScreen(View.MaxX, View.MinY),
                                 WorldToScreen(View.MinX, View.MinY)};
        C.Polyline(Border);
    }

    // Series.
    const int G = 4 * Scale;
    const TRect Clip{PlotRect.Left - G, PlotRect.Top - G, PlotRect.Right + G, PlotRect.Bottom + G};
    C.SetClipRect(Clip);
    const double SpanX = View.MaxX - View.MinX, SpanY = View.MaxY - View.MinY;
    const auto ScreenX = [&](double X) {
        return (X - View.MinX) / SpanX * (PlotRect.Right - PlotRect.Left) + PlotRect.Left;
    };
    const auto ScreenY = [&](double Y) {
        return (Y - View.MinY) / SpanY * (PlotRect.Top - PlotRect.Bottom) + PlotRect.Bottom;
    };
    // Ends further off than this are cut back along their segment, so that the part in view keeps its
    // direction however far the other end lies.
    constexpr double Far = 1e7;
    std::vector<TPoint> Run;
    for (int S = 0; S < SeriesList->Count(); ++S) {
        const TVkSeries& Series = SeriesList->GetSeries(S);
        C.SetPenColor(Series.GetColor());
        C.SetPenWidth(Scale * std::max(0, Series.GetLineWidth()));
        Run.clear();
        for (int I = 1; I < Series.Count(); ++I) {
            double AX = ScreenX(Series.GetPoint(I - 1).GetX()), AY = ScreenY(Series.GetPoint(I - 1).GetY());
            double BX = ScreenX(Series.GetPoint(I).GetX()), BY = ScreenY(Series.GetPoint(I).GetY());
            const bool Near = std::abs(AX) < Far && std::abs(AY) < Far && std::abs(BX) < Far && std::abs(BY) < Far;
            if (Near) {
                if (Run.empty()) Run.push_back({GraphPixel(AX), GraphPixel(AY)});
                Run.push_back({GraphPixel(BX), GraphPixel(BY)});
                continue;
            }
            if (Run.size() > 1) C.Polyline(Run);
            Run.clear();
            if (ClipSegment(AX, AY, BX, BY, Far)) {
                const TPoint Piece[] = {{GraphPixel(AX), GraphPixel(AY)}, {GraphPixel(BX), GraphPixel(BY)}};
                C.Polyline(Piece);
            }
        }
        if (Run.size() > 1) C.Polyline(Run);
        if (Series.GetPointType() == ptNone) continue;
        C.SetPenWidth(1);
        C.SetBrushColor(Series.GetColor());
        const int Size = Series.GetPointType() == ptTriangle ? (Scale == 1 ? 2 : Scale / 2)
                         : Series.GetPointType() == ptSquare ? (Scale == 1 ? 4 : (5 * Scale) / 2)
                                                             : (Scale == 1 ? 5 : (5 * Scale) / 2);
        for (int I = 0; I < Series.Count(); ++I) {
            const TPoint P = WorldToScreen(Series.GetPoint(I).GetX(), Series.GetPoint(I).GetY());
            if (P.X < Clip.Left - 3 * Size || P.X > Clip.Right + 3 * Size || P.Y < Clip.Top - 3 * Size ||
                P.Y > Clip.Bottom + 3 * Size)
                continue;  // wholly clipped away
            const TRect Box{P.X - Size, P.Y - Size, P.X + Size, P.Y + Size};
            switch (Series.GetPointType()) {
                case ptCircle: C.Ellipse(Box); break;
                case ptSquare: C.Rectangle(Box); break;
                case ptTriangle: {
                    const TPoint Triangle[] = {
                        {P.X, P.Y - 3 * Size}, {P.X - 2 * Size, P.Y + Size}, {P.X + 2 * Size, P.Y + Size}};
                    C.Polygon(Triangle);
                    break;
                }
                default: break;
            }
        }
    }
    C.ResetClip();

    if (OnCustomDraw) OnCustomDraw(this, this, C);
}

void TVkGraphCore::PaintTo(ICanvas& Canvas) {
    DrawTo(GetClientRect(), Canvas, 1);
    if (QueryVisible) DrawQueryValue(Canvas);
}

void TVkGraphCore::DrawQueryMarker(ICanvas& C, TPoint Q) {
    const TPoint Strokes[][2] = {{{Q.X, Q.Y - 3}, {Q.X, Q.Y + 3}},
                                 {{Q.X - 3, Q.Y}, {Q.X + 3, Q.Y}},
                                 {{Q.X - 3, Q.Y - 3}, {Q.X + 3, Q.Y + 3}},
                                 {{Q.X - 3, Q.Y + 3}, {Q.X + 3, Q.Y - 3}}};
    for (const auto& Stroke : Strokes) {
        C.MoveTo(Stroke[0].X, Stroke[0].Y);
        C.LineTo(Stroke[1].X, Stroke[1].Y);
    }
}

void TVkGraphCore::DrawQueryValue(ICanvas& C) {
    const TSeriesQueryResult& R = QueryResult;
    if (R.SeriesName == "?notfound?" || !(std::sqrt(R.SquaredDistance) < 20)) return;
    const TPoint Q{R.ScreenX, R.ScreenY};
    if (!PtInRect(PlotRect, Q)) return;
    C.SetPenWidth(1);
    C.SetPenColor(clInfoText);
    DrawQueryMarker(C, Q);
    C.SetFont(Font);
    const std::string Text = R.SeriesName.empty()
                                 ? Format("X:%0.3f; Y:%0.3f", {R.X, R.Y})
                                 : Format("X:%0.3f; Y:%0.3f; Series:%s", {R.X, R.Y, R.SeriesName});
    const int TW = C.TextWidth(Text), TH = C.TextHeight(Text);
    TRect Box;
    Box.Left = Q.X + 10;
    Box.Top = Q.Y - TH / 2 - 10;
    Box.Right = Q.X + TW + 10;
    Box.Bottom = Box.Top + TH;
    int LeaderX = Box.Left;
    if (Box.Right > ClientWidth) {
        Box.Right = Q.X - 10;
        Box.Bottom = Q.Y + TH / 2 + 10;
        Box.Left = Q.X - TW - 10;
        Box.Top = Box.Bottom - TH;
        LeaderX = Box.Right;
    }
    C.MoveTo(Q.X, Q.Y);
    C.LineTo(LeaderX, (Box.Top + Box.Bottom) / 2);
    C.SetBrushColor(clInfoBk);
    C.Rectangle({Box.Left - 2, Box.Top - 2, Box.Right + 2, Box.Bottom + 2});
    C.TextOut(Box.Left, Box.Top, Text);
}

TRect TVkGraphCore::PrintRect(int PageWidth, int PageHeight) const {
    const double W = std::max(1, ClientWidth), H = std::max(1, ClientHeight);
    int PW = TruncToInteger(PageWidth * 0.9);
    int PH = TruncToInteger(PageWidth * 0.9 / W * H);
    if (PageHeight * 0.9 < PH) {
        PH = TruncToInteger(PageHeight * 0.9);
        PW = TruncToInteger(PageHeight * 0.9 / H * W);
    }
    return {(PageWidth - PW) / 2, (PageHeight - PH) / 2, (PageWidth + PW) / 2, (PageHeight + PH) / 2};
}

void TVkGraphCore::PrintTo(ICanvas& Canvas, int PageWidth, int PageHeight) {
    // The mouse modes map through the screen's plot rectangle and view: they come back afterwards.
    struct TKeep {
        TVkGraphCore& Graph;
        TRect Plot;
        TGraphExtents View;
        ~TKeep() {
            Graph.PlotRect = Plot;
            Graph.View = View;
        }
    } Keep{*this, PlotRect, View};
    // A page narrower than the window would scale lines and markers down to nothing.
    DrawTo(PrintRect(PageWidth, PageHeight), Canvas, std::max(1, PageWidth / std::max(1, ClientWidth)));
}

// ---- Clipboard ----

std::string TVkGraphCore::ClipboardText() const {
    std::string Text;
    for (int S = 0; S < SeriesList->Count(); ++S) {
        const TVkSeries& Series = SeriesList->GetSeries(S);
        Text += Series.GetName() + "\r\n";
        for (int I = 0; I < Series.Count(); ++I)
            Text += Format("%g\t%g\r\n", {Series.GetPoint(I).GetX(), Series.GetPoint(I).GetY()});
        Text += "\r\n\r\n";
    }
    return Text;
}

void TVkGraphCore::CopyToClipboard() {
    ReleaseChartFormat();
    TChartClipboardContents Contents;
    Contents.HasText = true;
    Contents.Text = ClipboardText();
    Contents.Picture = this;
    ChartFormatToken = Registry().NextToken++;
    Registry().Lists[ChartFormatToken] = SeriesList.get();
    Contents.ChartFormat = BlockText(ChartFormatToken);
    GetClipboard().Place(Contents);
}

void TVkGraphCore::CopyChartFormat() {
    ReleaseChartFormat();
    TChartClipboardContents Contents;
    ChartFormatToken = Registry().NextToken++;
    Registry().Lists[ChartFormatToken] = SeriesList.get();
    Contents.ChartFormat = BlockText(ChartFormatToken);
    GetClipboard().Place(Contents);
}

bool TVkGraphCore::HasChartFormat() const { return GetClipboard().HasChartFormat(); }

void TVkGraphCore::Paste() {
    IChartClipboard& Clipboard = GetClipboard();
    if (!Clipboard.HasChartFormat()) return;
    const TVkSeriesList* Source = ResolveBlock(Clipboard.GetChartFormat());
    if (Source == nullptr) return;
    // Counted first: pasting into the chart that copied adds each series once.
    const int N = Source->Count();
    SeriesList->BeginUpdate();
    struct TEndUpdate {
        TVkSeriesList& List;
        ~TEndUpdate() { List.EndUpdate(); }
    } End{*SeriesList};
    for (int I = 0; I < N; ++I) SeriesList->AddSeries(CloneSeries(Source->GetSeries(I)));
}

void TVkGraphCore::ReleaseChartFormat() {
    if (ChartFormatToken == 0) return;
    // Only this chart's own block is taken off; another chart's copy stays.
    IChartClipboard& Clipboard = GetClipboard();
    if (Clipboard.HasChartFormat() && BlockToken(Clipboard.GetChartFormat()) == ChartFormatToken) Clipboard.SetText("");
    Registry().Lists.erase(ChartFormatToken);
    ChartFormatToken = 0;
}

// ---- Mouse ----

void TVkGraphCore::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TakeFocus();
    if (Button != mbLeft) return;
    Dragging = true;
    switch (MouseMode) {
        case lgmUser:
            if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
            break;
        case lgmQueryValue: QueryAt({X, Y}); break;
        case lgmPan: StartPan({X, Y}); break;
        case lgmZoom: StartZoom({X, Y}); break;
        case lgmModify: StartModify({X, Y}); break;
    }
}

void TVkGraphCore::MouseMove(TShiftState Shift, int X, int Y) {
    if (Dragging) {
        switch (MouseMode) {
            case lgmUser:
                if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
                break;
            case lgmQueryValue: QueryAt({X, Y}); break;
            case lgmPan: PanTo({X, Y}); break;
            case lgmZoom: ZoomTo({X, Y}); break;
            case lgmModify: ModifyTo({X, Y}); break;
        }
    } else if (MouseMode == lgmModify) {
        SetCursor(HitTest({X, Y}) ? crGraphOverPoint : crDefault);
    } else if (OnMouseMove) {
        OnMouseMove(this, Shift, X, Y);
    }
}

void TVkGraphCore::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    // Only the button that started the drag ends it.
    if (Dragging && Button == mbLeft) {
        Dragging = false;
        switch (MouseMode) {
            case lgmQueryValue:
                QueryVisible = false;
                Repaint();
                break;
            case lgmPan: EndPan(); break;
            case lgmZoom: EndZoom(); break;
            case lgmModify: EndModify(); break;
            case lgmUser: break;
        }
    }
    if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

bool TVkGraphCore::HitTest(TPoint Pixel) const {
    for (int S = 0; S < SeriesList->Count(); ++S) {
        const TVkSeries& Series = SeriesList->GetSeries(S);
        for (int I = 0; I < Series.Count(); ++I) {
            const TPoint P = WorldToScreen(Series.GetPoint(I).GetX(), Series.GetPoint(I).GetY());
            if (PtInRect(PlotRect, P) && PixelDistance(P, Pixel) < 5) return true;
        }
    }
    return false;
}

void TVkGraphCore::QueryAt(TPoint P) {
    QueryResult = SeriesList->Query(P);
    QueryVisible = true;
    Repaint();
}

void TVkGraphCore::StartPan(TPoint P) {
    SavedView = View;
    DragStart = P;
}

void TVkGraphCore::FixView() {
    for (TVkAxis* Axis : {XAxis.get(), YAxis.get()}) {
        Axis->AutoMin = false;
        Axis->AutoMax = false;
    }
}

void TVkGraphCore::PanTo(TPoint P) {
    const int PW = PlotRect.Right - PlotRect.Left, PH = PlotRect.Top - PlotRect.Bottom;
    if (PW == 0 || PH == 0) return;  // nothing drawn yet to pan
    FixView();
    const auto WorldX = [&](int X) {
        return SavedView.MinX + double(X - PlotRect.Left) / PW * (SavedView.MaxX - SavedView.MinX);
    };
    const auto WorldY = [&](int Y) {
        return SavedView.MinY + double(Y - PlotRect.Bottom) / PH * (SavedView.MaxY - SavedView.MinY);
    };
    const double X0 = WorldX(DragStart.X), X1 = WorldX(P.X);
    const double Y0 = WorldY(DragStart.Y), Y1 = WorldY(P.Y);
    XAxis->Min = SavedView.MinX + X0 - X1;
    XAxis->Max = X0 + SavedView.MaxX - X1;
    YAxis->Min = SavedView.MinY + Y0 - Y1;
    YAxis->Max = Y0 + SavedView.MaxY - Y1;
    Repaint();
}

void TVkGraphCore::StartZoom(TPoint P) {
    ZoomBand = {P.X, P.Y, P.X, P.Y};
    ZoomBandVisible = true;
}

void TVkGraphCore::ZoomTo(TPoint P) {
    ZoomBand.Right = P.X;
    ZoomBand.Bottom = P.Y;
    Repaint();
}

void TVkGraphCore::EndZoom() {
    ZoomBandVisible = false;
    const TRect Band{std::min(ZoomBand.Left, ZoomBand.Right), std::min(ZoomBand.Top, ZoomBand.Bottom),
                     std::max(ZoomBand.Left, ZoomBand.Right), std::max(ZoomBand.Top, ZoomBand.Bottom)};
    ZoomBand = Band;
    if (Band.Right - Band.Left < 11 || Band.Bottom - Band.Top < 11 || PlotRect.Right == PlotRect.Left ||
        PlotRect.Top == PlotRect.Bottom) {
        Repaint();
        return;
    }
    FixView();
    ScreenToWorld({Band.Left, Band.Bottom}, XAxis->Min, YAxis->Min);
    ScreenToWorld({Band.Right, Band.Top}, XAxis->Max, YAxis->Max);
    Repaint();
}

void TVkGraphCore::StartModify(TPoint P) {
    for (int S = 0; S < SeriesList->Count(); ++S) {
        TVkSeries& Series = SeriesList->GetSeries(S);
        for (int I = 0; I < Series.Count(); ++I) {
            const TVkDataPoint& Point = Series.GetPoint(I);
            const TPoint Pixel = WorldToScreen(Point.GetX(), Point.GetY());
            if (!PtInRect(PlotRect, Pixel) || !(PixelDistance(Pixel, P) < 5)) continue;
            ModifySeries = &Series;
            ModifyIndex = I;
            ModifyStartX = Point.GetX();
            ModifyStartY = Point.GetY();
            DragStart = P;
            SeriesList->BeginUpdate();
            return;
        }
    }
    ModifySeries = nullptr;
    ModifyIndex = -1;
    Dragging = false;
}

void TVkGraphCore::ModifyTo(TPoint P) {
    if (ModifySeries == nullptr) return;
    double WX = 0, WY = 0;
    ScreenToWorld(P, WX, WY);
    TVkDataPoint& Point = ModifySeries->GetPoint(ModifyIndex);
    if (std::abs(P.Y - DragStart.Y) < std::abs(P.X - DragStart.X)) {
        Point.SetX(WX);
        Point.SetY(ModifyStartY);
        SetCursor(crGraphMoveX);
    } else {
        Point.SetX(ModifyStartX);
        Point.SetY(WY);
        SetCursor(crGraphMoveY);
    }
    Repaint();
}

void TVkGraphCore::EndModify() {
    ModifySeries = nullptr;
    ModifyIndex = -1;
    SeriesList->EndUpdate();
}

}  // namespace sarnova
