#include "controls/VkGrid.h"

#include <QApplication>
#include <QDateTime>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <QStyle>
#include <QToolTip>
#include <qdrawutil.h>

#include <algorithm>

#include "foundation/Console.h"
#include "foundation/Errors.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtKeys.h"
#include "platform/qt/QtPrinter.h"

namespace sarnova {

namespace {

// Errors of a handler the grid calls from an event are shown, and the program carries on: an
// exception must not pass through the toolkit's event loop.
template <class F>
void Guarded(F&& Action) {
    try {
        Action();
    } catch (const std::exception& Error) {
        if (GExceptionHandler) GExceptionHandler->HandleException(Error);
    }
}

Qt::Alignment TextAlignment(int DrawAlignment) {
    switch (DrawAlignment) {
        case 1: return Qt::AlignHCenter;
        case 2: return Qt::AlignRight;
        default: return Qt::AlignLeft;
    }
}

// The character a key event types: Enter is CR (LF with Ctrl), Esc and Backspace their codes; Delete
// types nothing.
char32_t TypedChar(const QKeyEvent* Event) {
    switch (Event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter: return (Event->modifiers() & Qt::ControlModifier) ? U'\n' : U'\r';
        case Qt::Key_Escape: return 27;
        case Qt::Key_Backspace: return U'\b';
        case Qt::Key_Delete: return 0;
        default: break;
    }
    const QList<uint> Text = Event->text().toUcs4();
    if (Text.isEmpty() || Text.front() == 127) return 0;
    return static_cast<char32_t>(Text.front());
}

QPoint ToPoint(const QPointF& P) { return P.toPoint(); }

}  // namespace

// ---- TVkGridInplaceEdit ----

TVkGridInplaceEdit::TVkGridInplaceEdit(TVkGrid* Grid) : QLineEdit(Grid), FGrid(Grid) {
    setFrame(false);
    hide();
}

void TVkGridInplaceEdit::TypeChar(char32_t Key) {
    if (FGrid->EditorKeyPress(Key) || isHidden()) return;
    if (Key == U'\b')
        backspace();
    else if (Key >= 32)
        insert(QString::fromUcs4(&Key, 1));
}

void TVkGridInplaceEdit::keyPressEvent(QKeyEvent* Event) {
    Guarded([&] {
        const TKeyCode Key = QtKeyToVirtualKey(Event->key(), Event->modifiers());
        const TShiftState Shift = QtShiftState(Event->modifiers(), Qt::NoButton);
        if (FGrid->EditorKeyDown(Key, Shift)) {
            // The key-down went to the grid; Esc still types its character, which drops the edit.
            if (Key == VK_ESCAPE && FGrid->IsEditing()) FGrid->EditorKeyPress(27);
            Event->accept();
            return;
        }
        const char32_t Typed = TypedChar(Event);
        if (Typed != 0 && FGrid->EditorKeyPress(Typed)) {
            Event->accept();
            return;
        }
        QLineEdit::keyPressEvent(Event);
    });
}

void TVkGridInplaceEdit::keyReleaseEvent(QKeyEvent* Event) {
    Guarded([&] {
        FGrid->KeyUp(QtKeyToVirtualKey(Event->key(), Event->modifiers()),
                     QtShiftState(Event->modifiers(), Qt::NoButton));
    });
    QLineEdit::keyReleaseEvent(Event);
}

// A click on another cell, control or window commits the text; a popup menu of the line does not.
void TVkGridInplaceEdit::focusOutEvent(QFocusEvent* Event) {
    if (Event->reason() != Qt::PopupFocusReason && FGrid->IsEditing() && !isHidden())
        Guarded([&] { FGrid->EndEdit(true); });
    QLineEdit::focusOutEvent(Event);
}

// ---- TVkGridPopupList ----

TVkGridPopupList::TVkGridPopupList(TVkGridListButton* Button)
    : QListWidget(nullptr), FButton(Button) {
    setWindowFlags(Qt::Popup);
    // A click on the button while the list is open only closes the list.
    setAttribute(Qt::WA_NoMouseReplay);
    setFocusPolicy(Qt::StrongFocus);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void TVkGridPopupList::keyPressEvent(QKeyEvent* Event) {
    Guarded([&] {
        switch (Event->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
                if (!(Event->modifiers() & Qt::AltModifier)) {
                    FButton->CloseUp(true);
                    return;
                }
                break;
            case Qt::Key_Escape:
                if (!(Event->modifiers() & Qt::AltModifier)) {
                    FSearch.KeyPress(27, 0, {});
                    FButton->CloseUp(false);
                    return;
                }
                break;
            default: break;
        }
        const char32_t Typed = TypedChar(Event);
        if (Typed == U'\b' || Typed >= 32) {
            std::vector<std::string> Items;
            for (int I = 0; I < count(); ++I) Items.push_back(item(I)->text().toStdString());
            const auto Tick = static_cast<std::uint64_t>(QDateTime::currentMSecsSinceEpoch());
            const int Found = FSearch.KeyPress(Typed, Tick, Items);
            if (Found >= 0) setCurrentRow(Found);
            return;
        }
        QListWidget::keyPressEvent(Event);
    });
}

// The release that ends the opening click lands outside the list and is not a choice.
void TVkGridPopupList::mouseReleaseEvent(QMouseEvent* Event) {
    QListWidget::mouseReleaseEvent(Event);
    if (Event->button() != Qt::LeftButton) return;
    if (!rect().contains(ToPoint(Event->position()))) return;
    Guarded([&] { FButton->CloseUp(true); });
}

void TVkGridPopupList::hideEvent(QHideEvent* Event) {
    QListWidget::hideEvent(Event);
    if (FButton->GetDropped()) Guarded([&] { FButton->CloseUp(false); });
}

// ---- TVkGridListButton ----

TVkGridListButton::TVkGridListButton(TVkGrid* Grid) : TVkThemeControl(Grid), FGrid(Grid) {
    setObjectName("VkGridPopupList");
    GetThemeServer().Bind(this, tcComboBox);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    FList = std::make_unique<TVkGridPopupList>(this);
    hide();
}

TVkGridListButton::~TVkGridListButton() {
    FDropped = false;
    FList.reset();
}

void TVkGridListButton::PlaceAtCell(int Column, int Row) {
    const TRect R = FGrid->CellRect(Column, Row);
    const int W = FGrid->ButtonWidth;
    const QPoint O = FGrid->ClientOrigin();
    setGeometry(O.x() + R.Right - W, O.y() + R.Top, W - 1, R.Bottom - R.Top - 1);
}

void TVkGridListButton::DropDown() {
    if (FDropped) return;
    FGrid->SetEditingFlag(true);
    FList->clear();
    for (const std::string& Item : FGrid->DropDownItems()) FList->addItem(QString::fromStdString(Item));
    FList->setCurrentRow(-1);
    const int ItemHeight = std::max(1, FList->sizeHintForRow(0) > 0 ? FList->sizeHintForRow(0)
                                                                       : FList->fontMetrics().height());
    const int Height = DropDownRowCount(FList->count()) * ItemHeight + 2;
    int Width = FList->width();
    if (const TVkCell* Current = FGrid->CurrentCell()) Width = Current->ColumnWidth();
    const QPoint TopLeft = mapToGlobal(QPoint(0, 0));
    const TRect Button{TopLeft.x(), TopLeft.y(), TopLeft.x() + width(), TopLeft.y() + height()};
    const QScreen* Screen = screen();
    const int ScreenBottom = Screen ? Screen->geometry().bottom() + 1 : Button.Bottom + Height;
    const TRect R = DropDownListRect(Button, Width, Height, ScreenBottom);
    FList->setGeometry(R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top);
    FDropped = true;
    FList->show();
    FList->activateWindow();
    FList->setFocus();
}

void TVkGridListButton::CloseUp(bool Accept) {
    if (!FDropped) return;
    const int Selected = FList->currentRow();
    std::string Text;
    if (Selected < 0 || Selected >= FList->count() || !FList->item(Selected)->isSelected())
        Accept = false;
    else
        Text = FList->item(Selected)->text().toStdString();
    FDropped = false;
    FList->hide();
    if (Accept) FGrid->SetCurrentCellValue(Text);
    FGrid->SetEditingFlag(false);
}

void TVkGridListButton::paintEvent(QPaintEvent*) {
    QPainter Canvas(this);
    const int State = FPressed ? tsPressed : FHot ? tsHot : tsNormal;
    DrawThemedDropDownButton(Canvas, rect(), State, &GetThemeServer());
}

void TVkGridListButton::mousePressEvent(QMouseEvent* Event) {
    if (Event->button() != Qt::LeftButton) return;
    Guarded([&] {
        if (FDropped) {
            CloseUp(false);
            return;
        }
        FTracking = true;
        FPressed = rect().contains(ToPoint(Event->position()));
        update();
        DropDown();
    });
}

void TVkGridListButton::mouseMoveEvent(QMouseEvent* Event) {
    const bool Inside = rect().contains(ToPoint(Event->position()));
    if (FTracking) {
        if (Inside != FPressed) {
            FPressed = Inside;
            update();
        }
        return;
    }
    if (Event->buttons() == Qt::NoButton && Inside != FHot) {
        FHot = Inside;
        repaint();
    }
}

void TVkGridListButton::mouseReleaseEvent(QMouseEvent*) {
    FTracking = false;
    FPressed = false;
    update();
}

void TVkGridListButton::leaveEvent(QEvent* Event) {
    TVkThemeControl::leaveEvent(Event);
    FHot = false;
    if (!FDropped) {
        FTracking = false;
        FPressed = false;
    }
    update();
}

// ---- TVkGridButton ----

TVkGridButton::TVkGridButton(TVkGrid* Grid) : TVkThemeControl(Grid), FGrid(Grid) {
    setObjectName("VkGridCellButton");
    GetThemeServer().Bind(this, tcButton);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    hide();
}

void TVkGridButton::PlaceAtCell(int Column, int Row) {
    const TRect R = FGrid->CellRect(Column, Row);
    const int W = FGrid->ButtonWidth;
    const QPoint O = FGrid->ClientOrigin();
    setGeometry(O.x() + R.Right - W, O.y() + R.Top, W - 1, R.Bottom - R.Top - 1);
}

void TVkGridButton::Release() {
    FPressed = false;
    update();
}

void TVkGridButton::paintEvent(QPaintEvent*) {
    QPainter Canvas(this);
    DrawThemedEllipsisButton(Canvas, rect(), FPressed ? tsPressed : FHot ? tsHot : tsNormal, &GetThemeServer());
}

void TVkGridButton::mousePressEvent(QMouseEvent* Event) {
    if (Event->button() != Qt::LeftButton) return;
    FPressed = true;
    repaint();
    Guarded([&] { FGrid->CellButtonClick(); });
    if (FPressed) Release();
}

void TVkGridButton::mouseMoveEvent(QMouseEvent* Event) {
    const bool Inside = Event->buttons() == Qt::NoButton && rect().contains(ToPoint(Event->position()));
    if (Inside != FHot) {
        FHot = Inside;
        repaint();
    }
}

void TVkGridButton::leaveEvent(QEvent* Event) {
    TVkThemeControl::leaveEvent(Event);
    FHot = false;
    update();
}

// ---- TQtGridPrinter ----

namespace {
// One printer for the program: a job under way makes every grid's print request wait its turn.
int GPrintJobs = 0;
}  // namespace

TQtGridPrinter::TQtGridPrinter(QPrinter& Printer) : FPrinter(Printer) {}

TQtGridPrinter::~TQtGridPrinter() {
    if (FPainter) EndDoc();
}

bool TQtGridPrinter::Printing() const { return GPrintJobs > 0; }

void TQtGridPrinter::SetTitle(const std::string& Title) { FPrinter.setDocName(QString::fromStdString(Title)); }

void TQtGridPrinter::BeginDoc() {
    auto Painter = std::make_unique<QPainter>();
    if (!Painter->begin(&FPrinter)) {
        const QString File = FPrinter.outputFileName();
        throw EInOutError(File.isEmpty() ? std::string("The printer could not be opened")
                                         : "Cannot write file " + File.toStdString());
    }
    FPainter = std::move(Painter);
    ++GPrintJobs;
}

void TQtGridPrinter::NewPage() { FPrinter.newPage(); }

void TQtGridPrinter::EndDoc() {
    if (!FPainter) return;
    FPainter->end();
    FPainter.reset();
    --GPrintJobs;
}

int TQtGridPrinter::PageWidth() const { return FPrinter.pageLayout().paintRectPixels(FPrinter.resolution()).width(); }

int TQtGridPrinter::PageHeight() const {
    return FPrinter.pageLayout().paintRectPixels(FPrinter.resolution()).height();
}

int TQtGridPrinter::TextWidth(const TFont& Font, const std::string& Text) {
    const QFontMetrics Metrics(FontToQFont(Font), &FPrinter);
    return Metrics.horizontalAdvance(QString::fromStdString(Text));
}

void TQtGridPrinter::FillRect(const TRect& Rect, TColor Color) {
    if (!FPainter) return;
    FPainter->fillRect(QRect(Rect.Left, Rect.Top, Rect.Right - Rect.Left, Rect.Bottom - Rect.Top),
                       ColorToQColor(Color));
}

void TQtGridPrinter::DrawText(const TRect& Rect, const std::string& Text, const TFont& Font, int Alignment) {
    if (!FPainter) return;
    TFont Sized = Font;
    Sized.Size = std::max(1, Font.Size);
    FPainter->setFont(QFont(FontToQFont(Sized), &FPrinter));
    FPainter->setPen(ColorToQColor(Font.Color));
    FPainter->setBrush(Qt::NoBrush);
    FPainter->drawText(QRect(Rect.Left, Rect.Top, Rect.Right - Rect.Left, Rect.Bottom - Rect.Top),
                       static_cast<int>(TextAlignment(Alignment) | Qt::AlignVCenter | Qt::TextSingleLine),
                       QString::fromStdString(Text));
}

void TQtGridPrinter::Line(int X0, int Y0, int X1, int Y1, int PenWidth) {
    if (!FPainter) return;
    FPainter->setPen(QPen(Qt::black, PenWidth));
    FPainter->drawLine(X0, Y0, X1, Y1);
}

void TQtGridPrinter::FrameRect(const TRect& Rect, int PenWidth) {
    if (!FPainter) return;
    FPainter->setPen(QPen(Qt::black, PenWidth));
    FPainter->setBrush(Qt::NoBrush);
    FPainter->drawRect(QRect(Rect.Left, Rect.Top, Rect.Right - Rect.Left, Rect.Bottom - Rect.Top));
}

// ---- TVkGrid ----

TVkGrid::TVkGrid(QWidget* Parent) : TVkScrollControl(Parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(200, 150);
    ButtonWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const QFont Own = font();
    const TFont Model{Own.family().toStdString(), Own.pointSize() > 0 ? Own.pointSize() : 9, 0, clWindowText};
    SetFont(Model);
    SetFixedFont(Model);
    FQtPrinter = std::make_unique<TQtGridPrinter>(sarnova::GetPrinter());
    SetPrinter(FQtPrinter.get());
    FEdit = new TVkGridInplaceEdit(this);
    FListButton = new TVkGridListButton(this);
    FCellButton = new TVkGridButton(this);
    Resize();
}

TVkGrid::~TVkGrid() {
    SetEditingFlag(false);
    delete FEdit;
    delete FListButton;
    delete FCellButton;
    FEdit = nullptr;
    FListButton = nullptr;
    FCellButton = nullptr;
    SetPrinter(nullptr);
}

QPoint TVkGrid::ClientOrigin() const { return ClientRect().topLeft(); }

QRect TVkGrid::ToControl(const TRect& R) const {
    return QRect(R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top).translated(ClientOrigin());
}

int TVkGrid::ClientWidth() const { return std::max(0, ClientRect().width()); }

int TVkGrid::ClientHeight() const { return std::max(0, ClientRect().height()); }

int TVkGrid::ScreenTextWidth(const TFont& Font, const std::string& Text) {
    return QFontMetrics(FontToQFont(Font), this).horizontalAdvance(QString::fromStdString(Text));
}

// ---- The model's hooks ----

void TVkGrid::Invalidate() {
    update();
    UpdateCellButtons();
}

void TVkGrid::ChangeClientSize(int Width, int Height) {
    resize(Width + width() - ClientWidth(), Height + height() - ClientHeight());
}

// Shown or hidden bars change the client area: the layout is run again for the new one.
void TVkGrid::SetScrollBarInfo(int Bar, int Min, int Max, int PageSize) {
    TScrollBarController& C = Bar == 0 ? HorzScrollBar() : VertScrollBar();
    C.SetMin(Min);
    C.SetMax(Max);
    C.SetPageSize(PageSize);
    if (Bar != 1 || FRelayout) return;
    const QSize Client(ClientWidth(), ClientHeight());
    if (Client == FLaidOutClient) return;
    FLaidOutClient = Client;
    FRelayout = true;
    Resize();
    FRelayout = false;
}

void TVkGrid::SetScrollBarPosition(int Bar, int Position) {
    (Bar == 0 ? HorzScrollBar() : VertScrollBar()).SetPosition(Position);
}

void TVkGrid::SetGridCursor(TCursor Cursor) {
    if (Cursor == crHSplit)
        setCursor(Qt::SplitHCursor);
    else if (Cursor == crVSplit)
        setCursor(Qt::SplitVCursor);
    else
        unsetCursor();
}

void TVkGrid::BusyCursor(bool On) {
    if (On)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void TVkGrid::FocusGrid() { setFocus(Qt::OtherFocusReason); }

bool TVkGrid::EditorFocused() const { return FEdit && FEdit->hasFocus(); }

void TVkGrid::Beep() { QApplication::beep(); }

void TVkGrid::ShowInplaceEditor(const TRect& Bounds, const std::string& Text) {
    FEdit->setGeometry(ToControl(Bounds));
    QPalette Palette = FEdit->palette();
    Palette.setColor(QPalette::Base, ColorToQColor(GetColor()));
    FEdit->setPalette(Palette);
    FEdit->setFont(FontToQFont(GetFont()));
    FEdit->setText(QString::fromStdString(Text));
    FEdit->show();
    FEdit->setFocus(Qt::OtherFocusReason);
    FEdit->selectAll();
}

// The grid takes the focus back first, so that it does not wander to another control.
void TVkGrid::HideInplaceEditor() {
    if (!FEdit) return;
    if (FEdit->hasFocus()) setFocus(Qt::OtherFocusReason);
    FEdit->hide();
}

bool TVkGrid::InplaceEditorVisible() const { return FEdit && !FEdit->isHidden(); }

std::string TVkGrid::InplaceEditorText() const { return FEdit->text().toStdString(); }

void TVkGrid::SetInplaceEditorText(const std::string& Text, int SelStart) {
    const QString Shown = QString::fromStdString(Text);
    FEdit->setText(Shown);
    FEdit->setSelection(SelStart, static_cast<int>(Shown.size()) - SelStart);
}

void TVkGrid::InplaceEditorCaret(int& Caret, int& SelStart, int& SelEnd) const {
    Caret = FEdit->cursorPosition();
    if (FEdit->hasSelectedText()) {
        SelStart = FEdit->selectionStart();
        SelEnd = SelStart + static_cast<int>(FEdit->selectedText().size());
    } else {
        SelStart = SelEnd = Caret;
    }
}

void TVkGrid::PostEditorChar(char32_t Key) { FEdit->TypeChar(Key); }

void TVkGrid::HideCellButtons(bool DropDown, bool Ellipsis) {
    if (DropDown && FListButton && !FListButton->GetDropped()) FListButton->hide();
    if (Ellipsis && FCellButton) FCellButton->hide();
}

void TVkGrid::ReleaseCellButton() {
    if (FCellButton) FCellButton->Release();
}

void TVkGrid::CloseDropDown(bool Accept) {
    if (FListButton) FListButton->CloseUp(Accept);
}

bool TVkGrid::DropDownOpen() const { return FListButton && FListButton->GetDropped(); }

// The buttons stand at the current cell while it is a visible list or button cell and editing is on.
void TVkGrid::UpdateCellButtons() {
    if (!FListButton || !FCellButton) return;
    TVkCell* Current = CurrentCell();
    const bool Shown = Current && (GetOptions() & loEditing) && CurrentColumn() >= GetFixedColumns() &&
                       CurrentRow() >= GetFixedRows() && IsCellVisible(CurrentColumn(), CurrentRow());
    const TVkFormat Kind = Current ? Current->GetFormat() : lfGeneral;
    if (Shown && Kind == lfComboBox) {
        FListButton->PlaceAtCell(CurrentColumn(), CurrentRow());
        FListButton->show();
    } else if (!FListButton->GetDropped()) {
        FListButton->hide();
    }
    if (Shown && Kind == lfButton) {
        FCellButton->PlaceAtCell(CurrentColumn(), CurrentRow());
        FCellButton->show();
    } else {
        FCellButton->hide();
    }
}

// ---- Drawing ----

void TVkGrid::DrawGrid(QPainter& Canvas) {
    ClampFixedCounts();
    const QRect Client(0, 0, ClientWidth(), ClientHeight());
    Canvas.fillRect(Client, ColorToQColor(GetColor()));
    const int ColCount = GetColCount();
    const int RowCount = GetRowCount();
    if (ColCount <= 0 || RowCount <= 0) return;
    int LastCol = GetLastCol() + 2;
    if (LastCol > ColCount - 1 || GetLastCol() < GetLeftCol()) LastCol = ColCount - 1;
    int LastRow = GetLastRow() + 2;
    if (LastRow > RowCount - 1 || GetLastRow() < GetTopRow()) LastRow = RowCount - 1;
    const int FixedColumns = GetFixedColumns();
    const int FixedRows = GetFixedRows();
    for (int R = 0; R < FixedRows; ++R)
        for (int C = 0; C < FixedColumns; ++C) DrawCell(Canvas, C, R, CellRect(C, R));
    for (int R = 0; R < FixedRows; ++R)
        for (int C = GetLeftCol(); C <= LastCol; ++C) DrawCell(Canvas, C, R, CellRect(C, R));
    for (int R = GetTopRow(); R <= LastRow; ++R)
        for (int C = 0; C < FixedColumns; ++C) DrawCell(Canvas, C, R, CellRect(C, R));
    for (int R = GetTopRow(); R <= LastRow; ++R)
        for (int C = GetLeftCol(); C <= LastCol; ++C) DrawCell(Canvas, C, R, CellRect(C, R));
    const TVkGridRect& S = Selection();
    if (S.Left != -1 || S.Top != -1) {
        const TRect D = DataRect();
        Canvas.save();
        Canvas.setClipRect(QRect(D.Left, D.Top, D.Right - D.Left, D.Bottom - D.Top));
        const TRect First = CellRect(std::max(S.Left, 0), std::max(S.Top, 0));
        const TRect Last = CellRect(std::max(S.Right, 0), std::max(S.Bottom, 0));
        Canvas.setPen(QPen(ColorToQColor(clWindowText), 3));
        Canvas.setBrush(Qt::NoBrush);
        Canvas.drawRect(QRect(QPoint(First.Left, First.Top), QPoint(Last.Right - 2, Last.Bottom - 2)));
        Canvas.restore();
    }
}

void TVkGrid::DrawCell(QPainter& Canvas, int C, int R, const TRect& Rect) {
    TVkCell& Cell = this->Cell(C, R);
    const bool Current = IsCurrentCell(C, R);
    QRect Q(Rect.Left, Rect.Top, Rect.Right - Rect.Left, Rect.Bottom - Rect.Top);
    const bool Fixed = R < GetFixedRows() || C < GetFixedColumns();
    const TFont& BaseFont = Fixed ? GetFixedFont() : GetFont();
    TFont Shown = BaseFont;
    if (!Current && !Cell.ParentTextColor) Shown.Color = Cell.GetTextColor();
    if (!Current && !Cell.ParentFontStyle) Shown.Style = Cell.GetFontStyle();
    Canvas.setFont(FontToQFont(Shown));
    if (Fixed) {
        if (GetThemeServer().IsThemed()) {
            Canvas.fillRect(Q, ColorToQColor(GetFixedColor()));
            Canvas.setPen(ColorToQColor(cl3DDkShadow));
            Canvas.drawLine(Rect.Right - 1, Rect.Top, Rect.Right - 1, Rect.Bottom - 1);
            Canvas.drawLine(Rect.Right - 1, Rect.Bottom - 1, Rect.Left - 1, Rect.Bottom - 1);
        } else {
            qDrawWinPanel(&Canvas, Q, palette(), false);
            Q.adjust(2, 2, -2, -2);
            Canvas.fillRect(Q, ColorToQColor(GetFixedColor()));
        }
        Q.adjust(0, 0, -1, -1);
        Canvas.setPen(ColorToQColor(Shown.Color));
        Canvas.drawText(Q, static_cast<int>(TextAlignment(Cell.DrawAlignment()) | Qt::AlignVCenter | Qt::TextSingleLine),
                        QString::fromStdString(Cell.DisplayText()));
        return;
    }
    TColor Background = Cell.ParentColor ? GetColor() : Cell.GetColor();
    if (InSelection(C, R) && !Current) Background = clHighlight;
    Canvas.fillRect(Q, ColorToQColor(Background));
    const TVkGridOptions Options = GetOptions();
    Canvas.setPen(ColorToQColor(clBtnShadow));
    if ((Options & loColumnLines)) Canvas.drawLine(Rect.Right - 1, Rect.Top, Rect.Right - 1, Rect.Bottom - 1);
    if ((Options & loRowLines)) Canvas.drawLine(Rect.Right - 1, Rect.Bottom - 1, Rect.Left - 1, Rect.Bottom - 1);
    QRect Text = QRect(Rect.Left, Rect.Top, Rect.Right - Rect.Left, Rect.Bottom - Rect.Top).adjusted(2, 2, -4, -2);
    const TVkFormat Kind = Cell.GetFormat();
    if (Current && (Kind == lfComboBox || Kind == lfButton)) Text.adjust(0, 0, -ButtonWidth, 0);
    Canvas.setPen(ColorToQColor(Shown.Color));
    Canvas.drawText(Text, static_cast<int>(TextAlignment(Cell.DrawAlignment()) | Qt::AlignTop | Qt::TextSingleLine),
                    QString::fromStdString(Cell.DisplayText()));
}

void TVkGrid::paintEvent(QPaintEvent* Event) {
    TVkScrollControl::paintEvent(Event);
    QPainter Canvas(this);
    const QRect Client = ClientRect();
    Canvas.setClipRect(Client);
    Canvas.translate(Client.topLeft());
    Guarded([&] { DrawGrid(Canvas); });
    if (GetSizingColumn() >= 0 || GetSizingRow() >= 0) {
        Canvas.setPen(QPen(Qt::black, 1, Qt::DotLine));
        const int P = GetSizingPosition();
        if (GetSizingColumn() >= 0)
            Canvas.drawLine(P, 0, P, ClientHeight());
        else
            Canvas.drawLine(0, P, ClientWidth(), P);
    }
}

// ---- Events ----

void TVkGrid::CreateWnd() {
    TVkScrollControl::CreateWnd();
    UpdateScrollBars();
}

void TVkGrid::DoFirstShow() {
    TVkScrollControl::DoFirstShow();
    Guarded([&] { Resize(); });
}

void TVkGrid::DoScroll(int Bar, int Position) {
    Guarded([&] { ScrollTo(Bar, Position); });
}

bool TVkGrid::event(QEvent* Event) {
    if (Event->type() == QEvent::ToolTip) {
        auto* Help = static_cast<QHelpEvent*>(Event);
        const QPoint P = Help->pos() - ClientOrigin();
        int C = -1;
        int R = -1;
        CellAtPoint(P.x(), P.y(), false, C, R);
        if (C >= 0 && R >= 0 && !Cell(C, R).Hint.empty()) {
            QToolTip::showText(Help->globalPos(), QString::fromStdString(Cell(C, R).Hint), this,
                               ToControl(CellRect(C, R)));
            return true;
        }
    }
    return TVkScrollControl::event(Event);
}

void TVkGrid::resizeEvent(QResizeEvent* Event) {
    TVkScrollControl::resizeEvent(Event);
    FLaidOutClient = QSize(ClientWidth(), ClientHeight());
    Guarded([&] { Resize(); });
}

void TVkGrid::mousePressEvent(QMouseEvent* Event) {
    TMouseButton Button;
    if (!QtMouseButton(Event->button(), Button)) return;
    const QPoint P = ToPoint(Event->position()) - ClientOrigin();
    Guarded([&] { MouseDown(Button, QtShiftState(Event->modifiers(), Event->buttons()), P.x(), P.y()); });
}

void TVkGrid::mouseMoveEvent(QMouseEvent* Event) {
    const QPoint P = ToPoint(Event->position()) - ClientOrigin();
    Guarded([&] { MouseMove(QtShiftState(Event->modifiers(), Event->buttons()), P.x(), P.y()); });
}

void TVkGrid::mouseReleaseEvent(QMouseEvent* Event) {
    TMouseButton Button;
    if (!QtMouseButton(Event->button(), Button)) return;
    const QPoint P = ToPoint(Event->position()) - ClientOrigin();
    Guarded([&] { MouseUp(Button, QtShiftState(Event->modifiers(), Event->buttons()), P.x(), P.y()); });
}

void TVkGrid::mouseDoubleClickEvent(QMouseEvent* Event) {
    if (Event->button() != Qt::LeftButton) return;
    Guarded([&] { DblClick(); });
}

void TVkGrid::wheelEvent(QWheelEvent* Event) {
    const int Delta = Event->angleDelta().y();
    if (Delta == 0) {
        Event->ignore();
        return;
    }
    Guarded([&] { MouseWheel(Delta); });
}

void TVkGrid::keyPressEvent(QKeyEvent* Event) {
    // Esc with no edit open is not the grid's: it goes on to the window, which a dialog closes on.
    const bool Editing = IsEditing();
    Guarded([&] {
        const TKeyCode Key = QtKeyToVirtualKey(Event->key(), Event->modifiers());
        if (Key != 0) KeyDown(Key, QtShiftState(Event->modifiers(), Qt::NoButton));
        if (const char32_t Typed = TypedChar(Event); Typed != 0) KeyPress(Typed);
    });
    if (Event->key() == Qt::Key_Escape && !Editing) Event->ignore();
}

void TVkGrid::keyReleaseEvent(QKeyEvent* Event) {
    Guarded([&] {
        KeyUp(QtKeyToVirtualKey(Event->key(), Event->modifiers()), QtShiftState(Event->modifiers(), Qt::NoButton));
    });
}

// The current cell and selection go with the focus, unless they are to persist or the focus went to
// the grid's own editor or list; a popup menu takes no focus from the grid.
void TVkGrid::focusOutEvent(QFocusEvent* Event) {
    TVkScrollControl::focusOutEvent(Event);
    if (Event->reason() == Qt::PopupFocusReason) return;
    Guarded([&] { ClearSelection(); });
}

}  // namespace sarnova
