#include "shell/Command.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPaintEvent>

#include "platform/qt/QtCanvas.h"

namespace sarnova {

namespace {

// The first Count characters of Text; a character is a whole UTF-8 sequence.
std::string Cut(const std::string& Text, size_t Count) {
    size_t Byte = 0;
    for (size_t Chars = 0; Byte < Text.size() && Chars < Count; ++Chars) {
        ++Byte;
        while (Byte < Text.size() && (static_cast<unsigned char>(Text[Byte]) & 0xC0) == 0x80) ++Byte;
    }
    return Text.substr(0, Byte);
}

// Takes the first line off Text: up to its first line end, which goes with it.
std::string TakeLine(std::string& Text) {
    const size_t End = Text.find('\n');
    std::string Line;
    if (End == std::string::npos) {
        Line = std::move(Text);
        Text.clear();
    } else {
        Line = Text.substr(0, End > 0 && Text[End - 1] == '\r' ? End - 1 : End);
        Text.erase(0, End + 1);
    }
    return Cut(Line, TVCLConsole::LineLength);
}

void DrawText(QPainter& Painter, int X, int Y, const std::string& Text) {
    Painter.drawText(QPoint(X, Y + Painter.fontMetrics().ascent()),
                     QString::fromStdString(Cut(Text, TVCLConsole::DrawLength)));
}

// One sunken ring one pixel wide, inside R; R shrinks by a pixel on every side.
void Frame3D(QPainter& Painter, QRect& R, TColor TopLeft, TColor BottomRight) {
    Painter.setPen(ColorToQColor(TopLeft));
    Painter.drawLine(R.left(), R.bottom(), R.left(), R.top());
    Painter.drawLine(R.left(), R.top(), R.right(), R.top());
    Painter.setPen(ColorToQColor(BottomRight));
    Painter.drawLine(R.right(), R.top(), R.right(), R.bottom());
    Painter.drawLine(R.right(), R.bottom(), R.left(), R.bottom());
    R.adjust(1, 1, -1, -1);
}

}  // namespace

TVCLConsole::TVCLConsole(QWidget* Parent) : QWidget(Parent) {
    // Every pixel is painted: Qt may scroll what is on screen instead of repainting it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(80, 80);
    QFont SystemFont = font();
    SystemFont.setFamily("System");
    setFont(SystemFont);
}

int TVCLConsole::RowHeight() const { return std::max(1, QFontMetrics(font()).height()); }

int TVCLConsole::VisibleRows() const { return height() / RowHeight(); }

QRect TVCLConsole::TextRect() const { return BorderStyle == bsSingle ? rect().adjusted(2, 2, -2, -2) : rect(); }

void TVCLConsole::ShiftLines() {
    for (int I = StoredLines - 2; I >= 0; --I) Lines[static_cast<size_t>(I + 1)] = std::move(Lines[static_cast<size_t>(I)]);
    Lines[0].clear();
}

void TVCLConsole::WriteLine(const std::string& Text) {
    std::string Rest = Text;
    const int H = RowHeight();
    const QRect R = TextRect();
    QRegion Changed;
    while (!Rest.empty()) {
        if (LineCount < VisibleRows()) {
            ++LineCount;
            Changed += QRect(R.left(), (LineCount - 1) * H + 2, R.width(), H) & R;
            ShiftLines();
            Lines[0] = TakeLine(Rest);
            continue;
        }
        // The rows are full: move the picture a row up and draw only the new bottom row, unless the
        // rows on screen are still laid out from the top.
        if (!RepaintPending) scroll(0, -H, R);
        ShiftLines();
        ++LineCount;
        Lines[0] = TakeLine(Rest);
        Changed += RepaintPending ? rect() : QRect(R.left(), R.bottom() + 1 - H, R.width(), H) & R;
        RepaintPending = false;
    }
    if (!Changed.isEmpty()) repaint(Changed);
}

void TVCLConsole::Write(const std::string& Text) { WriteLine(Text); }

void TVCLConsole::Clear() {
    RepaintPending = true;
    LineCount = 0;
    for (std::string& Line : Lines) Line.clear();
    repaint();
}

void TVCLConsole::SetBorderStyle(TBorderStyle Value) {
    BorderStyle = Value;
    update();
}

void TVCLConsole::SetColor(TColor Value) {
    Color = Value;
    update();
}

void TVCLConsole::paintEvent(QPaintEvent*) {
    QPainter Painter(this);
    QRect R = rect();
    if (BorderStyle == bsSingle) {
        Frame3D(Painter, R, clBtnShadow, clBtnHighlight);
        Frame3D(Painter, R, cl3DDkShadow, cl3DLight);
    }
    Painter.fillRect(R, ColorToQColor(Color));
    Painter.setFont(font());
    Painter.setPen(palette().color(QPalette::WindowText));
    const QRect Text = TextRect();
    Painter.setClipRect(Text);
    const int H = RowHeight();
    if (LineCount < VisibleRows()) {
        // Oldest line on top.
        for (int N = 0; N < LineCount; ++N) DrawText(Painter, 3, N * H + 2, Lines[static_cast<size_t>(LineCount - 1 - N)]);
        RepaintPending = true;
        return;
    }
    // Newest line at the bottom, upwards from there; rows above the top fall outside the clip.
    const int Rows = std::min(VisibleRows() + 3, StoredLines);
    for (int C = 1; C <= Rows; ++C) DrawText(Painter, 3, Text.bottom() + 1 - C * H, Lines[static_cast<size_t>(C - 1)]);
}

}  // namespace sarnova
