#pragma once
// The data-aware grid of every list: a table model that reads a DataSet, one row painter, and
// a table view that keeps the data set's cursor and the selected row together.

#include "data/dataset.h"

#include <QAbstractTableModel>
#include <QDialog>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>

class QAction;
class QMenu;

namespace lumkar {

class Dialogs;

struct GridColumn {
    QString field;
    QString heading;
    QString format; // a name of lumkar::formats, or empty
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    int width = 0; // pixels, 0 for the view's default
    bool editable = false;
};

// Rows alternate by their position in the list as shown: odd rows light yellow, even white.
QColor gridRowColour(int row);

// The cells of a grid: the rows of a data set in declared columns, or texts the program sets
// cell by cell (a grid without a data set, as the planner's month).
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    GridModel(DataSet *dataSet, QVector<GridColumn> columns, QObject *parent = nullptr);
    // A grid of texts: empty until setCells().
    explicit GridModel(QObject *parent = nullptr);

    // --- a grid of texts ---
    // Empties the grid and gives it this many rows and columns of empty cells.
    void setCells(int rows, int columns);
    void setCellText(int row, int column, const QString &text);
    void appendCellText(int row, int column, const QString &text);
    // The texts of the row or column headings.
    void setHeadings(Qt::Orientation orientation, const QStringList &texts);
    // The background and text colour of each cell (by default rows alternate, text black).
    using CellColour = std::function<QColor(int row, int column)>;
    void setCellColours(CellColour background, CellColour text);
    // The alignment of every text cell.
    void setCellAlignment(Qt::Alignment alignment) { m_cellAlignment = alignment; }

    DataSet *dataSet() const { return m_dataSet; }
    const QVector<GridColumn> &columns() const { return m_columns; }
    int columnOf(const QString &field) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

    // The text a cell shows (of a data set's row by its place in the whole list).
    QString cellText(int row, int column) const;

    // A long list is shown a window of rows at a time: the view keeps a heading for every row
    // it holds, which at millions of rows takes longer to lay out than a screen frame lasts.
    // The window's rows are the model's; the list's rows are the data set's.
    void setWindowRows(int rows);
    int listRows() const { return hasCellTexts() ? m_rows : m_listRows; }
    int windowStart() const { return m_windowStart; }
    bool windowed() const { return m_rows < m_listRows; }
    int listRow(int modelRow) const { return modelRow < 0 ? modelRow : modelRow + m_windowStart; }
    // The model's row of a list row, -1 outside the window.
    int modelRow(int listRow) const;
    // Moves the window to begin at the list row (kept within the list).
    void moveWindow(int start);
    // Moves the window around the list row when it is outside.
    void bringIntoWindow(int listRow);
    // The background of each row by its position as shown; gridRowColour when none is set.
    void setRowColours(std::function<QColor(int row)> colours)
    {
        m_rowColours = std::move(colours);
    }

private:
    void dataSetReset();
    void dataSetRowChanged(int row);

    bool hasCellTexts() const { return !m_dataSet; }

    QPointer<DataSet> m_dataSet;
    QVector<GridColumn> m_columns;
    QVector<int> m_fieldIndex;
    int m_rows = 0; // in the window
    int m_listRows = 0;
    int m_windowStart = 0;
    int m_windowRows = 20000;
    std::function<QColor(int)> m_rowColours;
    // A grid of texts.
    int m_cellColumns = 0;
    QVector<QString> m_cells; // row by row
    QStringList m_headings[2]; // by orientation: horizontal, vertical
    CellColour m_background;
    CellColour m_textColour;
    Qt::Alignment m_cellAlignment = Qt::AlignLeft | Qt::AlignTop;
};

// Paints every cell with the row colour; a selected cell in the highlight colours; an empty
// list draws nothing of its own.
class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
};

class GridView : public QTableView {
    Q_OBJECT
public:
    enum class EnterRule {
        None,          // Enter is left to the window
        NextColumn,    // next column, from the last back to the first of the same row
        NextColumnRow, // next column, from the last to the first of the next row; Shift back
    };

    explicit GridView(QWidget *parent = nullptr);

    // Shows the data set with these columns; the view owns the model.
    void setColumns(DataSet *dataSet, const QVector<GridColumn> &columns);
    // Shows a grid of texts the program sets (GridModel::setCells); the view owns the model.
    GridModel *useCellTexts();
    GridModel *gridModel() const { return m_model; }
    DataSet *dataSet() const { return m_model ? m_model->dataSet() : nullptr; }

    void setEnterRule(EnterRule rule) { m_enterRule = rule; }
    EnterRule enterRule() const { return m_enterRule; }
    void setWholeRowSelection(bool on);
    bool isEditingCell() const { return state() == QAbstractItemView::EditingState; }

    // Moves the selected column by the given rule (used by the key handling and by windows).
    void moveColumnForward(bool wrapToNextRow);
    void moveColumnBackward();

    // The corner button above the row headers opens the column chooser.
    void useColumnChooser(Dialogs &dialogs);
    // Offers "Listeyi Dışa Aktar (CSV)..." in the grid's context menu, asking the file name
    // and telling a failed write through `dialogs`.
    void offerExport(Dialogs &dialogs);
    QAction *exportAction() const { return m_exportAction; }
    // A further export of the list that the window offers beside the CSV one.
    void addExportAction(QAction *action);
    // The grid's context menu as it would open now: the window's own menu for the grid
    // (setPopupMenu), then the exports; empty when there is nothing to offer.
    QMenu *contextMenu();
    // Writes the rows and columns as shown to a CSV file the user names.
    void exportList();

signals:
    void rowActivated(int row); // double click on a row

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void followDataSet();
    void scrolled();
    // Makes the data set's row current in the view when the window holds it, in `column`
    // (the first shown when negative).
    void showCurrentRow(int column);
    int firstVisibleColumn() const;
    int lastVisibleColumn() const;

    GridModel *m_model = nullptr;
    EnterRule m_enterRule = EnterRule::NextColumn;
    bool m_syncing = false;
    bool m_movingWindow = false;
    bool m_windowMovePending = false;
    Dialogs *m_dialogs = nullptr;
    QAction *m_exportAction = nullptr;
    QList<QAction *> m_moreExports;
    QMenu *m_contextMenu = nullptr;
};

// Offers the export on every grid inside `window`.
void offerGridExports(QWidget *window, Dialogs &dialogs);

} // namespace lumkar

class QCheckBox;
class QPushButton;

namespace lumkar {

// The column chooser of a grid, "Gösterlecek Kolonları Seç": a box for each column, ticked
// when it is shown; "&Tamam" shows the ticked columns and hides the others, and refuses to
// hide them all.
class ColumnChooser : public QDialog {
    Q_OBJECT
public:
    ColumnChooser(GridView *view, Dialogs &dialogs);
    const QList<QCheckBox *> &boxes() const { return m_boxes; }
    QPushButton *okButton() const { return m_ok; }

private:
    void okClicked();

    GridView *m_view;
    Dialogs &m_dialogs;
    QList<QCheckBox *> m_boxes;
    QPushButton *m_ok;
};

} // namespace lumkar
