// The spreadsheet grid control: the grid of controls/VkGridModel.h on a scrolling control that paints
// its cells itself, with an in-place editor, the drop-down button and list of list cells, the ellipsis
// button of button cells and the program's printer.
//
// A form fills it inside BeginUpdate / EndUpdate (Cell(c, r).SetValue, SetRowCount,
// Column(i).SetWidth), learns of entered values through OnEditCell and calls SetEditing(false)
// before it acts on the grid from a button, so that an open edit is committed first.
#pragma once
#include <QFont>
#include <QLineEdit>
#include <QListWidget>

#include <memory>

#include "controls/VkControls.h"
#include "controls/VkGridModel.h"

class QPrinter;

namespace sarnova {

class TVkGrid;

// The line editor that opens over the current cell.
class TVkGridInplaceEdit : public QLineEdit {
public:
    explicit TVkGridInplaceEdit(TVkGrid* Grid);
    // A character typed into the editor: the grid's rules first, then the line's own handling.
    void TypeChar(char32_t Key);

protected:
    void keyPressEvent(QKeyEvent* Event) override;
    void keyReleaseEvent(QKeyEvent* Event) override;
    void focusOutEvent(QFocusEvent* Event) override;

private:
    TVkGrid* FGrid;
};

class TVkGridListButton;

// The drop-down list of a list cell: a top-level popup with incremental search.
class TVkGridPopupList : public QListWidget {
public:
    explicit TVkGridPopupList(TVkGridListButton* Button);
    const std::string& SearchText() const { return FSearch.SearchText(); }

protected:
    void keyPressEvent(QKeyEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void hideEvent(QHideEvent* Event) override;

private:
    TVkGridListButton* FButton;
    TVkListSearch FSearch;
};

// The drop-down button of the current list cell ("VkGridPopupList").
class TVkGridListButton : public TVkThemeControl {
public:
    explicit TVkGridListButton(TVkGrid* Grid);
    ~TVkGridListButton() override;
    void PlaceAtCell(int Column, int Row);
    void DropDown();
    // Stores the selected item when accepting; a list without selection stores nothing.
    void CloseUp(bool Accept);
    bool GetDropped() const { return FDropped; }
    bool GetPressed() const { return FPressed; }
    TVkGridPopupList& List() { return *FList; }

protected:
    void paintEvent(QPaintEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void leaveEvent(QEvent* Event) override;

private:
    TVkGrid* FGrid;
    std::unique_ptr<TVkGridPopupList> FList;
    bool FPressed = false;
    bool FTracking = false;
    bool FHot = false;
    bool FDropped = false;
};

// The ellipsis button of the current button cell ("VkGridCellButton"); it calls the form on the
// mouse-down.
class TVkGridButton : public TVkThemeControl {
public:
    explicit TVkGridButton(TVkGrid* Grid);
    void PlaceAtCell(int Column, int Row);
    void Release();
    bool GetPressed() const { return FPressed; }

protected:
    void paintEvent(QPaintEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void leaveEvent(QEvent* Event) override;

private:
    TVkGrid* FGrid;
    bool FPressed = false;
    bool FHot = false;
};

// The grid's printer: a QPrinter (a paper printer or a PDF file) and the painter of one job.
class TQtGridPrinter : public IVkGridPrinter {
public:
    explicit TQtGridPrinter(QPrinter& Printer);
    ~TQtGridPrinter() override;

    bool Printing() const override;
    void SetTitle(const std::string& Title) override;
    // Throws EInOutError when the printer (or PDF file) cannot be opened.
    void BeginDoc() override;
    void NewPage() override;
    void EndDoc() override;
    int PageWidth() const override;
    int PageHeight() const override;
    int TextWidth(const TFont& Font, const std::string& Text) override;
    void FillRect(const TRect& Rect, TColor Color) override;
    void DrawText(const TRect& Rect, const std::string& Text, const TFont& Font, int Alignment) override;
    void Line(int X0, int Y0, int X1, int Y1, int PenWidth) override;
    void FrameRect(const TRect& Rect, int PenWidth) override;

private:
    QPrinter& FPrinter;
    std::unique_ptr<class QPainter> FPainter;
};

class TVkGrid : public TVkScrollControl, public TVkGridModel {
    Q_OBJECT
public:
    explicit TVkGrid(QWidget* Parent = nullptr);
    ~TVkGrid() override;

    TVkGridInplaceEdit& InplaceEdit() { return *FEdit; }
    TVkGridListButton& ListButton() { return *FListButton; }
    TVkGridButton& CellButton() { return *FCellButton; }

    // Draws the visible grid on Canvas in client coordinates.
    void DrawGrid(QPainter& Canvas);
    void DrawCell(QPainter& Canvas, int Column, int Row, const TRect& Rect);
    // Where the client area's (0, 0) lies on the control.
    QPoint ClientOrigin() const;
    // A client rectangle of the model on the control.
    QRect ToControl(const TRect& Rect) const;

    int ClientWidth() const override;
    int ClientHeight() const override;
    int ScreenTextWidth(const TFont& Font, const std::string& Text) override;

protected:
    // The model's hooks.
    void Invalidate() override;
    void ChangeClientSize(int Width, int Height) override;
    void SetScrollBarInfo(int Bar, int Min, int Max, int PageSize) override;
    void SetScrollBarPosition(int Bar, int Position) override;
    void SetGridCursor(TCursor Cursor) override;
    void BusyCursor(bool On) override;
    void FocusGrid() override;
    bool EditorFocused() const override;
    void Beep() override;
    void ShowInplaceEditor(const TRect& Bounds, const std::string& Text) override;
    void HideInplaceEditor() override;
    bool InplaceEditorVisible() const override;
    std::string InplaceEditorText() const override;
    void SetInplaceEditorText(const std::string& Text, int SelStart) override;
    void InplaceEditorCaret(int& Caret, int& SelStart, int& SelEnd) const override;
    void PostEditorChar(char32_t Key) override;
    void HideCellButtons(bool DropDown, bool Ellipsis) override;
    void ReleaseCellButton() override;
    void CloseDropDown(bool Accept) override;
    bool DropDownOpen() const override;

    // The control's own.
    void CreateWnd() override;
    void DoFirstShow() override;
    void DoScroll(int Bar, int Position) override;
    bool event(QEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void mouseDoubleClickEvent(QMouseEvent* Event) override;
    void wheelEvent(QWheelEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;
    void keyReleaseEvent(QKeyEvent* Event) override;
    void focusOutEvent(QFocusEvent* Event) override;

private:
    friend class TVkGridListButton;
    friend class TVkGridInplaceEdit;
    void UpdateCellButtons();

    std::unique_ptr<TQtGridPrinter> FQtPrinter;
    TVkGridInplaceEdit* FEdit = nullptr;  // owned as a child
    TVkGridListButton* FListButton = nullptr;
    TVkGridButton* FCellButton = nullptr;
    QSize FLaidOutClient;
    bool FRelayout = false;
};

}  // namespace sarnova
