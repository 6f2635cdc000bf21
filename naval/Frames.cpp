#include "naval/Frames.h"

#include <string>

#include "foundation/DuZezOride.h"
#include "foundation/Errors.h"

namespace sarnova {

const TFrameSpacing& TFrames::Items(int Index) const {
    if (Index < 0 || Index >= Count()) throw EError("List index out of bounds (" + std::to_string(Index) + ")");
    return Ranges[static_cast<std::size_t>(Index)];
}

double TFrames::FramePosition(double Frame) const {
    // Where ranges overlap, the last one in the list decides.
    for (auto Range = Ranges.rbegin(); Range != Ranges.rend(); ++Range)
        if (Range->ContainsFrame(Frame)) return Range->FramePosition(Frame);
    return -1;
}

void TFrames::SetDefinition(const std::string& Text) {
    const int Words = WordCount(Text);
    if (Words < 3 || Words % 2 == 0) throw EError("Error in frame Definition, Wrong number of Parameters");
    Clear();
    Origin = StrToFloat(ExtractWord(Text, 2));
    TFrameSpacing First;
    First.Spacing = StrToFloat(ExtractWord(Text, 3));
    Ranges.push_back(First);
    for (int B = 2; 2 * B + 1 <= Words; ++B) {
        TFrameSpacing Range;
        Range.Spacing = StrToFloat(ExtractWord(Text, 2 * B + 1));
        Range.FirstFrame = StrToInt(ExtractWord(Text, 2 * B));
        Ranges.push_back(Range);
    }
    Rebuild();
}

void TFrames::Rebuild() {
    constexpr std::int32_t LowestFrame = -100000;
    constexpr std::int32_t BeyondFrame = 300000;
    if (Ranges.empty()) return;
    Ranges.front().FirstFrame = LowestFrame;
    for (std::size_t I = 0; I + 1 < Ranges.size(); ++I) Ranges[I].LastFrame = Ranges[I + 1].FirstFrame;
    Ranges.back().LastFrame = BeyondFrame;
    if (Ranges.size() == 1) {
        Ranges[0].XMin = -1e33;
        Ranges[0].XMax = 1e33;
        Ranges[0].Offset = Origin;
        return;
    }
    // Frame 0 is in some range, since the first starts below it and the last ends above it.
    std::size_t Anchor = 0;
    while (Anchor + 1 < Ranges.size() && !Ranges[Anchor].ContainsFrame(0)) ++Anchor;
    TFrameSpacing& A = Ranges[Anchor];
    A.Offset = Origin;
    A.XMin = A.FramePosition(A.FirstFrame);
    A.XMax = A.FramePosition(A.LastFrame);
    for (std::size_t I = Anchor; I-- > 0;) {
        TFrameSpacing& R = Ranges[I];
        R.XMax = Ranges[I + 1].XMin;
        R.Offset = R.XMax - R.LastFrame * R.Spacing;
        R.XMin = R.FramePosition(R.FirstFrame);
    }
    for (std::size_t I = Anchor + 1; I < Ranges.size(); ++I) {
        TFrameSpacing& R = Ranges[I];
        R.XMin = Ranges[I - 1].XMax;
        R.Offset = R.XMin - R.FirstFrame * R.Spacing;
        R.XMax = R.FramePosition(R.LastFrame);
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

}  // namespace sarnova
