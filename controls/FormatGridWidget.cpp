#include "controls/FormatGridWidget.h"

#include <QApplication>
#include <QFont>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>

#include "foundation/Console.h"
#include "platform/qt/QtCanvas.h"

namespace sarnova {

namespace {

Qt::Alignment ToQtAlignment(TAlignment Alignment) {
    switch (Alignment) {
        case taRightJustify: return Qt::AlignRight | Qt::AlignVCenter;
        case taCenter: return Qt::AlignHCenter | Qt::AlignVCenter;
        default: return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

}  // namespace

void ReportUiError(const std::exception& E) {
    if (GExceptionHandler)
        GExceptionHandler->HandleException(E);
    else if (GConsole)
        GConsole->WriteLine(E.what());
}

// ---- TFormatGridModel ----

TFormatGridModel::TFormatGridModel(TFormatGrid& AGrid, QObject* Parent)
    : QAbstractTableModel(Parent), Grid(AGrid), Rows(AGrid.GetRowCount()), Cols(AGrid.GetColCount()) {}

int TFormatGridModel::rowCount(const QModelIndex& Parent) const { return Parent.isValid() ? 0 : Rows; }
int TFormatGridModel::columnCount(const QModelIndex& Parent) const { return Parent.isValid() ? 0 : Cols; }

bool TFormatGridModel::IsFixed(int Col, int Row) const { return Col < Grid.FixedCols || Row < Grid.FixedRows; }

QVariant TFormatGridModel::data(const QModelIndex& Index, int Role) const {
    if (!Index.isValid()) return {};
    const int Col = Index.column(), Row = Index.row();
    // Cells are made on first sight, as the grid makes them when it draws them.
    TGridRec& Cell = Grid.Cell(Col, Row);
    const bool Fixed = IsFixed(Col, Row);
    switch (Role) {
        case Qt::DisplayRole: return QString::fromStdString(Cell.GetText());
        case Qt::EditRole: return QString::fromStdString(Grid.GetEditText(Col, Row));
        case Qt::TextAlignmentRole: return QVariant::fromValue(ToQtAlignment(Cell.GetAlignment()));
        case Qt::FontRole: return FontToQFont(Fixed ? Grid.GetFixedFont() : Cell.GetFont());
        case Qt::ForegroundRole: return ColorToQColor(Fixed ? Grid.GetFixedFont().Color : Cell.GetFont().Color);
        case Qt::BackgroundRole:
            return Fixed ? QApplication::palette().color(QPalette::Button) : ColorToQColor(Cell.GetCellColor());
        default: return {};
    }
}

bool TFormatGridModel::setData(const QModelIndex& Index, const QVariant& Value, int Role) {
    if (!Index.isValid() || Role != Qt::EditRole) return false;
    Grid.SetEditText(Index.column(), Index.row(), Value.toString().toStdString());
    RefreshCell(Index.column(), Index.row());
    return true;
}

Qt::ItemFlags TFormatGridModel::flags(const QModelIndex& Index) const {
    if (!Index.isValid()) return Qt::NoItemFlags;
    if (IsFixed(Index.column(), Index.row())) return Qt::ItemIsEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

void TFormatGridModel::Refresh() {
    if (Rows != Grid.GetRowCount() || Cols != Grid.GetColCount()) {
        beginResetModel();
        Rows = Grid.GetRowCount();
        Cols = Grid.GetColCount();
        endResetModel();
    } else if (Rows > 0 && Cols > 0) {
        emit dataChanged(index(0, 0), index(Rows - 1, Cols - 1));
    }
}

void TFormatGridModel::RefreshCell(int Col, int Row) {
    if (Col < 0 || Row < 0 || Col >= Cols || Row >= Rows) return;
    emit dataChanged(index(Row, Col), index(Row, Col));
}

// ---- TFormatGridDelegate ----

TFormatGridDelegate::TFormatGridDelegate(TFormatGridWidget& AView) : QStyledItemDelegate(&AView), View(AView) {}

bool TFormatGridDelegate::eventFilter(QObject* Editor, QEvent* Event) {
    if (Event->type() == QEvent::KeyPress) {
        auto* Widget = qobject_cast<QWidget*>(Editor);
        const int Key = static_cast<QKeyEvent*>(Event)->key();
        if (Widget != nullptr && (Key == Qt::Key_Return || Key == Qt::Key_Enter)) {
            View.EditorReturned(Widget);
            return true;
        }
        if (Widget != nullptr && (Key == Qt::Key_Up || Key == Qt::Key_Down)) {
            View.EditorMoved(Widget, Key);
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(Editor, Event);
}

// ---- TFormatGridWidget ----

TFormatGridWidget::TFormatGridWidget(TFormatGrid& AGrid, QWidget* Parent)
    : QTableView(Parent), Grid(AGrid), Model(new TFormatGridModel(AGrid, this)), Delegate(new TFormatGridDelegate(*this)) {
    setModel(Model);
    setItemDelegate(Delegate);
    // The grid's own fixed cells are its headers.
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    Grid.OnInvalidateCell = [this](int Col, int Row) { Model->RefreshCell(Col, Row); };
    Grid.OnInvalidate = [this] {
        Model->Refresh();
        SyncCurrent();
    };
    SyncCurrent();
}

TFormatGridWidget::~TFormatGridWidget() {
    Grid.OnInvalidateCell = nullptr;
    Grid.OnInvalidate = nullptr;
}

template <class F>
void TFormatGridWidget::Guarded(F Call) {
    try {
        Call();
    } catch (const std::exception& E) {
        ReportUiError(E);
    }
    Model->Refresh();
}

void TFormatGridWidget::SyncCurrent() {
    const QModelIndex Wanted = Model->index(Grid.GetRow(), Grid.GetCol());
    if (Wanted.isValid() && Wanted != currentIndex()) setCurrentIndex(Wanted);
}

void TFormatGridWidget::CommitEditor() {
    if (state() != QAbstractItemView::EditingState) return;
    if (QWidget* Editor = indexWidget(currentIndex())) {
        emit Delegate->commitData(Editor);
        emit Delegate->closeEditor(Editor, QAbstractItemDelegate::NoHint);
    }
}

void TFormatGridWidget::EditorReturned(QWidget* Editor) {
    emit Delegate->commitData(Editor);
    emit Delegate->closeEditor(Editor, QAbstractItemDelegate::NoHint);
    Guarded([&] { Grid.EditorReturned(); });
}

void TFormatGridWidget::EditorMoved(QWidget* Editor, int Key) {
    const QModelIndex Left = currentIndex();
    emit Delegate->commitData(Editor);
    emit Delegate->closeEditor(Editor, QAbstractItemDelegate::NoHint);
    const QModelIndex Next = moveCursor(Key == Qt::Key_Up ? MoveUp : MoveDown, Qt::NoModifier);
    if (Next.isValid()) setCurrentIndex(Next);
    Guarded([&] { Grid.EditorMoved(Left.column(), Left.row()); });
}

void TFormatGridWidget::currentChanged(const QModelIndex& Current, const QModelIndex& Previous) {
    QTableView::currentChanged(Current, Previous);
    if (Current.isValid()) Grid.SetCurrent(Current.column(), Current.row());
}

void TFormatGridWidget::keyPressEvent(QKeyEvent* Event) {
    TShiftState Shift = 0;
    if (Event->modifiers() & Qt::ControlModifier) Shift |= ssCtrl;
    if (Event->modifiers() & Qt::ShiftModifier) Shift |= ssShift;
    if (Event->modifiers() & Qt::AltModifier) Shift |= ssAlt;
    TKeyCode Key = 0;
    switch (Event->key()) {
        case Qt::Key_C: Key = 'C'; break;
        case Qt::Key_V: Key = 'V'; break;
        case Qt::Key_X: Key = 'X'; break;
        case Qt::Key_Delete: Key = VK_DELETE; break;
        default: break;
    }
    if (Key != 0 && ((Shift & ssCtrl) || Key == VK_DELETE)) {
        bool Taken = false;
        Guarded([&] { Taken = Grid.KeyDown(Key, Shift); });
        if (Taken) {
            Event->accept();
            return;
        }
    }
    QTableView::keyPressEvent(Event);
}

}  // namespace sarnova
