#include "document/Frames.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "foundation/Graphics.h"
#include "foundation/TextUtils.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"

namespace sarnova {

namespace {

// The frames every table spans: its first range starts at LowestFrame, its last ends before
// BeyondFrame.
constexpr std::int32_t LowestFrame = -100000;
constexpr std::int32_t BeyondFrame = 300000;

}  // namespace

const TFrameSpacing& TFrames::Spacings(int Index) const {
    if (Index < 0 || Index >= Count()) throw EError("List index out of bounds (" + std::to_string(Index) + ")");
    return Ranges[static_cast<std::size_t>(Index)];
}

TFrameSpacing& TFrames::AddSpacingFrom(std::int32_t Frame, double Spacing) {
    TFrameSpacing& Range = Ranges.emplace_back();
    Range.Spacing = Spacing;
    Range.FirstFrame = Frame;
    return Range;
}

double TFrames::FramePosition(double Frame) const {
    // Where ranges overlap, the last one in the list decides.
    for (auto Range = Ranges.rbegin(); Range != Ranges.rend(); ++Range)
        if (Range->ContainsFrame(Frame)) return Range->FramePosition(Frame);
    return -1;
}

double TFrames::FrameNumber(double X) const {
    for (auto Range = Ranges.rbegin(); Range != Ranges.rend(); ++Range)
        if (Range->ContainsX(X)) return Range->FrameNumber(X);
    return -1;
}

const TFrameSpacing* TFrames::SpacingOfFrame(double Frame) const {
    for (auto Range = Ranges.rbegin(); Range != Ranges.rend(); ++Range)
        if (Range->ContainsFrame(Frame)) return &*Range;
    return nullptr;
}

void TFrames::SetDefinition(const std::string& Text) {
    const int Words = WordCount(Text);
    if (Words < 3 || Words % 2 == 0) throw EError("Error in frame Definition, Wrong number of Parameters");
    // Read and checked in full before the table changes, so that a refused definition leaves it as it
    // was.
    const double NewOrigin = ParseFloat(ExtractWord(Text, 2));
    std::vector<TFrameSpacing> Read(1);
    Read.front().Spacing = ParseFloat(ExtractWord(Text, 3));
    for (int B = 2; 2 * B + 1 <= Words; ++B) {
        TFrameSpacing Range;
        Range.Spacing = ParseFloat(ExtractWord(Text, 2 * B + 1));
        Range.FirstFrame = StrToInt(ExtractWord(Text, 2 * B));
        Read.push_back(Range);
    }
    int Previous = LowestFrame;
    for (std::size_t I = 0; I < Read.size(); ++I) {
        // A spacing of 0 puts every frame at one x, a negative one counts frames backwards: neither
        // maps x to frame numbers and back.
        if (!(Read[I].Spacing > 0))
            throw EError("Error in frame Definition, spacing " + FloatToStr(Read[I].Spacing) + " is not positive");
        if (I == 0) continue;
        const int Frame = Read[I].FirstFrame;
        if (Frame <= Previous || Frame >= BeyondFrame)
            throw EError("Error in frame Definition, frame " + IntToStr(Frame) + " is out of order");
        Previous = Frame;
    }
    Clear();
    Origin = NewOrigin;
    AddSpacing(Read.front().Spacing);
    for (std::size_t I = 1; I < Read.size(); ++I) AddSpacingFrom(Read[I].FirstFrame, Read[I].Spacing);
    Rebuild();
}

void TFrames::Rebuild() {
    if (Ranges.empty()) return;
    Ranges.front().FirstFrame = LowestFrame;
    for (std::size_t I = 0; I + 1 < Ranges.size(); ++I) Ranges[I].LastFrame = Ranges[I + 1].FirstFrame;
    Ranges.back().LastFrame = BeyondFrame;
    if (Ranges.size() == 1) {
        Ranges[0].XStart = -1e33;
        Ranges[0].XEnd = 1e33;
        Ranges[0].Offset = Origin;
        return;
    }
    // Frame 0 is in some range, since the first starts below it and the last ends above it.
    std::size_t Anchor = 0;
    while (Anchor + 1 < Ranges.size() && !Ranges[Anchor].ContainsFrame(0)) ++Anchor;
    TFrameSpacing& A = Ranges[Anchor];
    A.Offset = Origin;
    A.XStart = A.FramePosition(A.FirstFrame);
    A.XEnd = A.FramePosition(A.LastFrame);
    for (std::size_t I = Anchor; I-- > 0;) {
        TFrameSpacing& R = Ranges[I];
        R.XEnd = Ranges[I + 1].XStart;
        R.Offset = R.XEnd - R.LastFrame * R.Spacing;
        R.XStart = R.FramePosition(R.FirstFrame);
    }
    for (std::size_t I = Anchor + 1; I < Ranges.size(); ++I) {
        TFrameSpacing& R = Ranges[I];
        R.XStart = Ranges[I - 1].XEnd;
        R.Offset = R.XStart - R.FirstFrame * R.Spacing;
        R.XEnd = R.FramePosition(R.LastFrame);
    }
}

std::string TFrames::GetDefinition() const {
    std::string Text = "Frames " + FloatToStr(Origin) + " ";
    if (Ranges.empty()) return Text;
    if (Ranges.size() == 1) return Text + FloatToStr(Ranges[0].Spacing);
    Text += FloatToStr(Ranges[0].Spacing) + " ";
    for (std::size_t I = 1; I < Ranges.size(); ++I)
        Text += IntToStr(Ranges[I].FirstFrame) + " " + FloatToStr(Ranges[I].Spacing) + " ";
    return Text;
}

void TFrames::Assign(const TFrames& Other) {
    if (Other.Count() > 0) SetDefinition(Other.GetDefinition());
}

std::unique_ptr<TFrames> TFrames::Transformed(const TMMatrix& M) const {
    const double Scale = M[0][0];
    const double Shift = M[0][3];
    const auto Map = [&](double X) { return Scale * X + Shift; };
    auto Result = std::make_unique<TFrames>();
    Result->Assign(*this);
    Result->Origin = Map(Result->Origin);
    for (TFrameSpacing& R : Result->Ranges) {
        R.XStart = Map(R.XStart);
        R.XEnd = Map(R.XEnd);
        R.Offset = Map(R.Offset);
        R.Spacing *= Scale;
        // A mirror maps the start above the end; the interval stays the same set of x.
        if (R.XStart > R.XEnd) std::swap(R.XStart, R.XEnd);
    }
    return Result;
}

void TFrames::VisitFrames(int First, int Last, const std::function<bool(int Frame, double X)>& Visit) const {
    First = std::max(First, LowestFrame);
    Last = std::min(Last, BeyondFrame - 1);
    const TFrameSpacing* Range = nullptr;
    for (int Frame = First; Frame <= Last; ++Frame) {
        if (Range == nullptr || !Range->ContainsFrame(Frame)) Range = SpacingOfFrame(Frame);
        if (Range == nullptr) continue;
        if (!Visit(Frame, Range->FramePosition(Frame))) return;
    }
}

void TFrames::Draw(IGraphics& View) const {
    View.Line(XMin, 0, 0, XMax, 0, 0);
    // A limit far beyond the table is held to the frames a table can span, so that the scale neither
    // overflows nor runs on without end; with a spacing of 0 the limits have no frame number at all.
    const auto Whole = [](double F) {
        return TruncSingle(std::clamp(F, double(LowestFrame), double(BeyondFrame)));
    };
    const double F0 = FrameNumber(XMin);
    const double F1 = FrameNumber(XMax);
    if (!std::isfinite(F0) || !std::isfinite(F1)) return;
    VisitFrames(Whole(F0), Whole(F1), [&View](int Frame, double X) {
        const double H = Frame % 10 == 0 ? 1.0 : 0.5;
        View.Line(X, 0, 0, X, 0, -H);
        View.Line(X, -H, 0, X, H, 0);
        return true;
    });
}

}  // namespace sarnova
