#include "platform/RecordingCanvas.h"

#include <utility>

namespace sarnova {

void TRecordingCanvas::Record(TCanvasCallKind Kind, std::vector<TPoint> Points, std::string Text) {
    Calls.push_back({Kind, std::move(Points), std::move(Text), PenColor, BrushColor, FontAngle, PenWidth, Font});
}

void TRecordingCanvas::MoveTo(int X, int Y) { Record(ccMoveTo, {{X, Y}}); }

void TRecordingCanvas::LineTo(int X, int Y) { Record(ccLineTo, {{X, Y}}); }

void TRecordingCanvas::Polyline(std::span<const TPoint> Points) {
    Record(ccPolyline, {Points.begin(), Points.end()});
}

void TRecordingCanvas::Polygon(std::span<const TPoint> Points) {
    Record(ccPolygon, {Points.begin(), Points.end()});
}

void TRecordingCanvas::Rectangle(const TRect& R) { Record(ccRectangle, {{R.Left, R.Top}, {R.Right, R.Bottom}}); }

void TRecordingCanvas::Ellipse(const TRect& R) { Record(ccEllipse, {{R.Left, R.Top}, {R.Right, R.Bottom}}); }

void TRecordingCanvas::FillRect(const TRect& R) { Record(ccFillRect, {{R.Left, R.Top}, {R.Right, R.Bottom}}); }

void TRecordingCanvas::SetClipRect(const TRect& R) { Record(ccClip, {{R.Left, R.Top}, {R.Right, R.Bottom}}); }

void TRecordingCanvas::ResetClip() { Record(ccClip, {}); }

void TRecordingCanvas::TextOut(int X, int Y, const std::string& Text) { Record(ccTextOut, {{X, Y}}, Text); }

int TRecordingCanvas::TextWidth(const std::string& Text) { return CharWidth * static_cast<int>(Text.size()); }

int TRecordingCanvas::TextHeight(const std::string&) { return LineHeight; }

}  // namespace sarnova
