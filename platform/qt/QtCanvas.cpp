#include "platform/qt/QtCanvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QPen>
#include <QPolygon>
#include <QString>

#include <cstdint>
#include <utility>

namespace sarnova {

namespace {

// The palette colour closest to each system colour index.
QColor SystemColor(int Index) {
    const QPalette Palette = QGuiApplication::palette();
    static const std::pair<int, QPalette::ColorRole> Roles[] = {
        {0, QPalette::Button},          {1, QPalette::Window},       {2, QPalette::Highlight},
        {3, QPalette::Window},          {4, QPalette::Window},       {5, QPalette::Base},
        {6, QPalette::Shadow},          {7, QPalette::WindowText},   {8, QPalette::Text},
        {9, QPalette::HighlightedText}, {10, QPalette::Window},      {11, QPalette::Window},
        {12, QPalette::Dark},           {13, QPalette::Highlight},   {14, QPalette::HighlightedText},
        {15, QPalette::Button},         {16, QPalette::Dark},        {18, QPalette::ButtonText},
        {19, QPalette::WindowText},     {20, QPalette::Light},       {21, QPalette::Shadow},
        {22, QPalette::Midlight},       {23, QPalette::ToolTipText}, {24, QPalette::ToolTipBase},
        {26, QPalette::Link},           {27, QPalette::Highlight},   {28, QPalette::Window},
        {29, QPalette::Highlight},      {30, QPalette::Window},
    };
    if (Index == 17) return Palette.color(QPalette::Disabled, QPalette::Text);  // grey text
    for (const auto& [I, Role] : Roles)
        if (I == Index) return Palette.color(Role);
    return Palette.color(QPalette::WindowText);
}

QPolygon ToQPolygon(std::span<const TPoint> Points) {
    QPolygon Result;
    Result.reserve(static_cast<qsizetype>(Points.size()));
    for (const TPoint& P : Points) Result.append(QPoint(P.X, P.Y));
    return Result;
}

}  // namespace

QColor ColorToQColor(TColor Color) {
    if (Color == clNone) return QColor(Qt::transparent);
    const auto Value = static_cast<std::uint32_t>(Color);
    if ((Value & 0xFF000000u) == 0xFF000000u) return SystemColor(static_cast<int>(Value & 0xFF));
    return QColor(static_cast<int>(Value & 0xFF), static_cast<int>((Value >> 8) & 0xFF),
                  static_cast<int>((Value >> 16) & 0xFF));
}

TColor QColorToColor(const QColor& Color) {
    return static_cast<TColor>(Color.red() | (Color.green() << 8) | (Color.blue() << 16));
}

QFont FontToQFont(const TFont& Font) {
    QFont Result(QString::fromStdString(Font.Name));
    if (Font.Size > 0) Result.setPointSize(Font.Size);
    Result.setBold(Font.Style & fsBold);
    Result.setItalic(Font.Style & fsItalic);
    Result.setUnderline(Font.Style & fsUnderline);
    Result.setStrikeOut(Font.Style & fsStrikeOut);
    return Result;
}

TQtCanvas::TQtCanvas(QPainter& Painter, TColor PenColor, TColor BrushColor)
    : Painter(Painter), PenColor(PenColor), BrushColor(BrushColor) {}

void TQtCanvas::UsePen() {
    if (PenWidth <= 1)
        Painter.setPen(QPen(ColorToQColor(PenColor), 0));
    else
        Painter.setPen(QPen(ColorToQColor(PenColor), PenWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    Painter.setBrush(Qt::NoBrush);
}

void TQtCanvas::UsePenAndBrush() {
    UsePen();
    Painter.setBrush(ColorToQColor(BrushColor));
}

void TQtCanvas::MoveTo(int X, int Y) { Position = {X, Y}; }

void TQtCanvas::LineTo(int X, int Y) {
    UsePen();
    Painter.drawLine(Position.X, Position.Y, X, Y);
    Position = {X, Y};
}

void TQtCanvas::Polyline(std::span<const TPoint> Points) {
    UsePen();
    Painter.drawPolyline(ToQPolygon(Points));
}

void TQtCanvas::Polygon(std::span<const TPoint> Points) {
    UsePenAndBrush();
    Painter.drawPolygon(ToQPolygon(Points), Qt::WindingFill);
}

// The platform's boxes leave out their right and bottom edges; a Qt rectangle outlined with a thin pen
// covers one pixel more than its size, hence the shortened box.
void TQtCanvas::Rectangle(const TRect& R) {
    UsePenAndBrush();
    Painter.drawRect(QRect(R.Left, R.Top, R.Right - R.Left - 1, R.Bottom - R.Top - 1));
}

void TQtCanvas::Ellipse(const TRect& R) {
    UsePenAndBrush();
    Painter.drawEllipse(QRect(R.Left, R.Top, R.Right - R.Left - 1, R.Bottom - R.Top - 1));
}

void TQtCanvas::FillRect(const TRect& R) {
    Painter.fillRect(QRect(R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top), ColorToQColor(BrushColor));
}

void TQtCanvas::SetClipRect(const TRect& R) {
    Painter.setClipRect(QRect(R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top));
}

void TQtCanvas::ResetClip() { Painter.setClipping(false); }

void TQtCanvas::SetFont(const TFont& Value) {
    Font = Value;
    Painter.setFont(FontToQFont(Value));
}

void TQtCanvas::TextOut(int X, int Y, const std::string& Text) {
    const QString S = QString::fromStdString(Text);
    const QFontMetrics Metrics(Painter.font());
    Painter.save();
    Painter.translate(X, Y);
    Painter.rotate(-FontAngle / 10.0);
    Painter.fillRect(QRect(0, 0, Metrics.horizontalAdvance(S), Metrics.height()), ColorToQColor(BrushColor));
    Painter.setPen(QPen(ColorToQColor(Font.Color)));
    Painter.drawText(QPoint(0, Metrics.ascent()), S);
    Painter.restore();
}

int TQtCanvas::TextWidth(const std::string& Text) {
    return QFontMetrics(Painter.font()).horizontalAdvance(QString::fromStdString(Text));
}

int TQtCanvas::TextHeight(const std::string&) { return QFontMetrics(Painter.font()).height(); }

}  // namespace sarnova
