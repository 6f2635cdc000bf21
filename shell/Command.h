// The console text control: the newest lines of a log, newest at the bottom, shown the moment they
// are written.
#pragma once
#include <QWidget>

#include <array>
#include <string>

#include "foundation/Colors.h"
#include "foundation/Console.h"
#include "controls/VkControls.h"

namespace sarnova {

class TVCLConsole : public QWidget, public IConsoleInterface {
    Q_OBJECT
public:
    static constexpr int StoredLines = 201;
    static constexpr int LineLength = 200;  // characters kept of a line
    static constexpr int DrawLength = 4000;  // characters drawn of a text at most

    explicit TVCLConsole(QWidget* Parent = nullptr);

    // Both append Text as one line for each stretch between line ends (CR LF, or LF alone); a text without
    // a line end is a line of its own, an empty text adds nothing.
    void WriteLine(const std::string& Text) override;
    void Write(const std::string& Text) override;
    // Empties every line and repaints.
    void Clear() override;

    // Entry 0 is the newest line.
    const std::array<std::string, StoredLines>& GetLines() const { return Lines; }
    // Lines written since creation or the last Clear.
    int GetLineCount() const { return LineCount; }
    // True when the next write that scrolls must repaint the whole control.
    bool GetRepaintPending() const { return RepaintPending; }
    int RowHeight() const;
    int VisibleRows() const;

    TBorderStyle GetBorderStyle() const { return BorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    TColor GetColor() const { return Color; }
    void SetColor(TColor Value);

protected:
    void paintEvent(QPaintEvent* Event) override;

private:
    QRect TextRect() const;
    void ShiftLines();

    std::array<std::string, StoredLines> Lines;
    int LineCount = 0;
    bool RepaintPending = true;
    TBorderStyle BorderStyle = bsSingle;
    TColor Color = clWindow;
};

}  // namespace sarnova
