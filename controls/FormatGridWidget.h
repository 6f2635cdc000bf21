// The formula grid on screen: a table view over a TFormatGrid that shows each cell in its own font,
// colour and alignment, edits formulas in place, and hands edits and keys back to the grid.
#pragma once
#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <QTableView>

#include <exception>

#include "document/FormatGrid.h"

namespace sarnova {

class TFormatGridWidget;

// A failure inside a Qt event handler goes to the program's exception handler (exceptions must not
// cross Qt's event loop).
void ReportUiError(const std::exception& E);

// The grid's cells as a Qt table model; the grid is the only store.
class TFormatGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    TFormatGridModel(TFormatGrid& AGrid, QObject* Parent);

    int rowCount(const QModelIndex& Parent = {}) const override;
    int columnCount(const QModelIndex& Parent = {}) const override;
    QVariant data(const QModelIndex& Index, int Role) const override;
    bool setData(const QModelIndex& Index, const QVariant& Value, int Role) override;
    Qt::ItemFlags flags(const QModelIndex& Index) const override;

    bool IsFixed(int Col, int Row) const;
    // After the grid changed its size or many cells.
    void Refresh();
    void RefreshCell(int Col, int Row);

private:
    TFormatGrid& Grid;
    int Rows = 0;
    int Cols = 0;
};

// Ends in-place editing with Enter and the up and down arrows as the grid expects.
class TFormatGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit TFormatGridDelegate(TFormatGridWidget& AView);

protected:
    bool eventFilter(QObject* Editor, QEvent* Event) override;

private:
    TFormatGridWidget& View;
};

class TFormatGridWidget : public QTableView {
    Q_OBJECT
public:
    // Shows Grid, which must outlive the widget.
    explicit TFormatGridWidget(TFormatGrid& AGrid, QWidget* Parent = nullptr);
    ~TFormatGridWidget() override;

    TFormatGrid& GetGrid() const { return Grid; }
    TFormatGridModel& GetModel() const { return *Model; }
    // Gives an open editor's text to its cell and closes the editor.
    void CommitEditor();
    // Moves the current cell to the grid's current cell.
    void SyncCurrent();

protected:
    void keyPressEvent(QKeyEvent* Event) override;
    void currentChanged(const QModelIndex& Current, const QModelIndex& Previous) override;

private:
    friend class TFormatGridDelegate;
    // From the editor: Enter, or an arrow that leaves the cell.
    void EditorReturned(QWidget* Editor);
    void EditorMoved(QWidget* Editor, int Key);
    // Runs Call; a failure goes to the program's exception handler.
    template <class F>
    void Guarded(F Call);

    TFormatGrid& Grid;
    TFormatGridModel* Model;
    TFormatGridDelegate* Delegate;
};

}  // namespace sarnova
