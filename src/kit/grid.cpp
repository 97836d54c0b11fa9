#include "kit/grid.h"

#include "data/formats.h"
#include "kit/dialogs.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>
#include "kit/controls.h"
#include "kit/csvexport.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDir>
#include <QMenu>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QScrollBar>

namespace lumkar {

QColor gridRowColour(int row)
{
    return row % 2 == 0 ? QColor(255, 255, 192) : QColor(255, 255, 255);
}

GridModel::GridModel(DataSet *dataSet, QVector<GridColumn> columns, QObject *parent)
    : QAbstractTableModel(parent), m_dataSet(dataSet), m_columns(std::move(columns))
{
    m_fieldIndex.fill(-1, m_columns.size());
    connect(dataSet, &DataSet::reset, this, &GridModel::dataSetReset);
    connect(dataSet, &DataSet::rowChanged, this, &GridModel::dataSetRowChanged);
    connect(dataSet, &DataSet::stateChanged, this, &GridModel::dataSetReset);
    dataSetReset();
}

GridModel::GridModel(QObject *parent) : QAbstractTableModel(parent) {}

void GridModel::setCells(int rows, int columns)
{
    beginResetModel();
    m_rows = qMax(0, rows);
    m_cellColumns = qMax(0, columns);
    m_cells = QVector<QString>(qsizetype(m_rows) * m_cellColumns);
    endResetModel();
}

void GridModel::setCellText(int row, int column, const QString &text)
{
    if (!hasCellTexts() || row < 0 || row >= m_rows || column < 0 || column >= m_cellColumns)
        return;
    m_cells[qsizetype(row) * m_cellColumns + column] = text;
    emit dataChanged(index(row, column), index(row, column));
}

void GridModel::appendCellText(int row, int column, const QString &text)
{
    setCellText(row, column, cellText(row, column) + text);
}

void GridModel::setHeadings(Qt::Orientation orientation, const QStringList &texts)
{
    m_headings[orientation == Qt::Horizontal ? 0 : 1] = texts;
    const int count = orientation == Qt::Horizontal ? columnCount() : rowCount();
    if (count > 0)
        emit headerDataChanged(orientation, 0, count - 1);
}

void GridModel::setCellColours(CellColour background, CellColour text)
{
    m_background = std::move(background);
    m_textColour = std::move(text);
}

int GridModel::columnOf(const QString &field) const
{
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].field.compare(field, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void GridModel::dataSetReset()
{
    beginResetModel();
    m_listRows = 0;
    if (m_dataSet && m_dataSet->isOpen() && m_dataSet->isLoaded()) {
        m_listRows = m_dataSet->recordCount()
            + (m_dataSet->state() == DataSet::State::Insert ? 1 : 0);
        for (int i = 0; i < m_columns.size(); ++i)
            m_fieldIndex[i] = m_dataSet->fieldIndex(m_columns[i].field);
    }
    // The window stays where it was, within the list as it is now.
    m_windowStart = qBound(0, m_windowStart, qMax(0, m_listRows - m_windowRows));
    m_rows = qMin(m_windowRows, m_listRows - m_windowStart);
    endResetModel();
}

void GridModel::setWindowRows(int rows)
{
    m_windowRows = qMax(1, rows);
    if (m_dataSet)
        dataSetReset();
}

int GridModel::modelRow(int listRow) const
{
    const int row = listRow - m_windowStart;
    return row >= 0 && row < m_rows ? row : -1;
}

void GridModel::moveWindow(int start)
{
    start = qBound(0, start, qMax(0, m_listRows - m_windowRows));
    if (start == m_windowStart || !m_dataSet)
        return;
    m_windowStart = start;
    dataSetReset();
}

void GridModel::bringIntoWindow(int listRow)
{
    if (listRow >= 0 && listRow < m_listRows && modelRow(listRow) < 0)
        moveWindow(listRow - m_windowRows / 2);
}

void GridModel::dataSetRowChanged(int row)
{
    row = modelRow(row);
    if (row >= 0)
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

int GridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int GridModel::columnCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return hasCellTexts() ? m_cellColumns : int(m_columns.size());
}

QString GridModel::cellText(int row, int column) const
{
    if (hasCellTexts())
        return row >= 0 && row < m_rows && column >= 0 && column < m_cellColumns
            ? m_cells[qsizetype(row) * m_cellColumns + column]
            : QString();
    if (!m_dataSet || column < 0 || column >= m_columns.size() || m_fieldIndex[column] < 0)
        return QString();
    return formats::byName(m_dataSet->valueAt(row, m_fieldIndex[column]),
                           m_columns[column].format);
}

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows)
        return QVariant();
    if (hasCellTexts()) {
        switch (role) {
        case Qt::DisplayRole:
            return cellText(index.row(), index.column());
        case Qt::BackgroundRole:
            return m_background ? m_background(index.row(), index.column())
                                : gridRowColour(index.row());
        case Qt::ForegroundRole:
            return m_textColour ? m_textColour(index.row(), index.column()) : QColor(Qt::black);
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(m_cellAlignment);
        default:
            return QVariant();
        }
    }
    const int row = listRow(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return cellText(row, index.column());
    case Qt::EditRole:
        return m_fieldIndex[index.column()] < 0
            ? QVariant()
            : m_dataSet->valueAt(row, m_fieldIndex[index.column()]);
    case Qt::BackgroundRole:
        return m_rowColours ? m_rowColours(row) : gridRowColour(row);
    case Qt::ForegroundRole:
        return QColor(Qt::black);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(m_columns[index.column()].alignment);
    default:
        return QVariant();
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (hasCellTexts() && role == Qt::DisplayRole) {
        const QStringList &texts = m_headings[orientation == Qt::Horizontal ? 0 : 1];
        return section >= 0 && section < texts.size() ? QVariant(texts[section]) : QVariant();
    }
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0
        && section < m_columns.size())
        return m_columns[section].heading;
    if (orientation == Qt::Vertical && role == Qt::DisplayRole && section >= 0)
        return listRow(section) + 1; // the row's number in the list, not in the window
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags GridModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && !hasCellTexts() && m_columns[index.column()].editable)
        f |= Qt::ItemIsEditable;
    return f;
}

bool GridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || hasCellTexts()
        || !m_columns[index.column()].editable)
        return false;
    if (m_dataSet->currentRow() != listRow(index.row()))
        m_dataSet->moveTo(listRow(index.row()));
    m_dataSet->setValue(m_columns[index.column()].field, value);
    emit dataChanged(index, index);
    return true;
}

void GridDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (option->state & QStyle::State_Selected) {
        option->backgroundBrush = option->palette.brush(QPalette::Highlight);
        option->palette.setColor(QPalette::Text, option->palette.color(QPalette::HighlightedText));
    }
}

GridView::GridView(QWidget *parent) : QTableView(parent)
{
    setItemDelegate(new GridDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setFixedWidth(14);
    horizontalHeader()->setHighlightSections(false);
    setTabKeyNavigation(false);
    setWordWrap(false);
}

void GridView::setColumns(DataSet *dataSet, const QVector<GridColumn> &columns)
{
    if (m_model)
        m_model->deleteLater();
    m_model = new GridModel(dataSet, columns, this);
    setModel(m_model);
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].width > 0)
            setColumnWidth(i, columns[i].width);
    connect(m_model, &QAbstractItemModel::modelReset, this, &GridView::followDataSet);
    connect(dataSet, &DataSet::currentChanged, this, &GridView::followDataSet);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &GridView::scrolled,
            Qt::UniqueConnection);
    followDataSet();
}

void GridView::scrolled()
{
    // Near an edge of the window with more of the list beyond it, the window moves on so that
    // the rows in view stay where they are on the screen. Moved once the scroll is done, never
    // inside the view's own handling of a key or a click.
    if (!m_model || !m_model->windowed() || m_movingWindow || m_windowMovePending)
        return;
    m_windowMovePending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_windowMovePending = false;
            if (!m_model || !m_model->windowed())
                return;
            const QScrollBar *bar = verticalScrollBar();
            const int value = bar->value();
            const int margin = qBound(1, bar->pageStep(), m_model->rowCount() / 4);
            const bool up = value <= bar->minimum() + margin && m_model->windowStart() > 0;
            const bool down = value >= bar->maximum() - margin
                && m_model->windowStart() + m_model->rowCount() < m_model->listRows();
            if (!up && !down)
                return;
            const int top = m_model->listRow(value);
            const int column = currentIndex().isValid() ? currentIndex().column() : -1;
            const QScopedValueRollback moving(m_movingWindow, true);
            m_model->moveWindow(top - m_model->rowCount() / 2);
            showCurrentRow(column);
            verticalScrollBar()->setValue(top - m_model->windowStart());
        },
        Qt::QueuedConnection);
}

GridModel *GridView::useCellTexts()
{
    if (m_model)
        m_model->deleteLater();
    m_model = new GridModel(this);
    setModel(m_model);
    return m_model;
}

void GridView::setWholeRowSelection(bool on)
{
    setSelectionBehavior(on ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    if (currentIndex().isValid())
        selectionModel()->setCurrentIndex(currentIndex(),
                                          QItemSelectionModel::ClearAndSelect
                                              | (on ? QItemSelectionModel::Rows
                                                    : QItemSelectionModel::NoUpdate));
}

void GridView::followDataSet()
{
    DataSet *ds = dataSet();
    if (!ds || m_syncing || !ds->isLoaded())
        return;
    // The row the data set is on, brought into the window unless the window is moving with
    // the scroll bar, away from it. The index is set once the window's reset is done: the
    // selection forgets it at the end of a reset.
    const int column = currentIndex().isValid() ? currentIndex().column() : -1;
    if (!m_movingWindow)
        m_model->bringIntoWindow(ds->currentRow());
    showCurrentRow(column);
}

void GridView::showCurrentRow(int column)
{
    const int row = dataSet() ? m_model->modelRow(dataSet()->currentRow()) : -1;
    if (row < 0)
        return;
    if (column < 0)
        column = qMax(0, firstVisibleColumn());
    const QScopedValueRollback syncing(m_syncing, true);
    setCurrentIndex(m_model->index(row, column));
}

void GridView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    DataSet *ds = dataSet();
    if (m_syncing || m_movingWindow || !ds || !current.isValid()
        || current.row() == previous.row())
        return;
    if (ds->currentRow() != m_model->listRow(current.row())) {
        const int column = current.column();
        m_syncing = true;
        ds->moveTo(m_model->listRow(current.row()));
        m_syncing = false;
        // Leaving a changed row posts it, and a post reads the rows again: the grid keeps
        // its place on the data set's row.
        m_model->bringIntoWindow(ds->currentRow());
        if (!currentIndex().isValid()
            || currentIndex().row() != m_model->modelRow(ds->currentRow()))
            showCurrentRow(column);
    }
}

int GridView::firstVisibleColumn() const
{
    for (int c = 0; m_model && c < m_model->columnCount(); ++c)
        if (!isColumnHidden(c))
            return c;
    return -1;
}

int GridView::lastVisibleColumn() const
{
    for (int c = m_model ? m_model->columnCount() - 1 : -1; c >= 0; --c)
        if (!isColumnHidden(c))
            return c;
    return -1;
}

void GridView::moveColumnForward(bool wrapToNextRow)
{
    if (!m_model || m_model->rowCount() == 0)
        return;
    QModelIndex cur = currentIndex();
    int row = cur.isValid() ? cur.row() : 0;
    int col = cur.isValid() ? cur.column() : firstVisibleColumn() - 1;
    int next = col + 1;
    while (next < m_model->columnCount() && isColumnHidden(next))
        ++next;
    if (next >= m_model->columnCount()) {
        next = firstVisibleColumn();
        if (wrapToNextRow && row + 1 < m_model->rowCount())
            ++row;
    }
    if (next >= 0)
        setCurrentIndex(m_model->index(row, next));
}

void GridView::moveColumnBackward()
{
    if (!m_model || m_model->rowCount() == 0)
        return;
    QModelIndex cur = currentIndex();
    int row = cur.isValid() ? cur.row() : 0;
    int col = cur.isValid() ? cur.column() : firstVisibleColumn();
    int prev = col - 1;
    while (prev >= 0 && isColumnHidden(prev))
        --prev;
    if (prev < 0) {
        prev = lastVisibleColumn();
        if (row > 0)
            --row;
    }
    if (prev >= 0)
        setCurrentIndex(m_model->index(row, prev));
}

void GridView::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && state() != QAbstractItemView::EditingState) {
        switch (m_enterRule) {
        case EnterRule::None:
            // The window decides what Enter does; the key does not travel on to it again.
            event->accept();
            return;
        case EnterRule::NextColumn:
            moveColumnForward(false);
            event->accept();
            return;
        case EnterRule::NextColumnRow:
            if (event->modifiers() & Qt::ShiftModifier)
                moveColumnBackward();
            else
                moveColumnForward(true);
            event->accept();
            return;
        }
    }
    // Ctrl+Home and Ctrl+End go to the ends of the list, beyond the window.
    const bool home = event->key() == Qt::Key_Home, end = event->key() == Qt::Key_End;
    if ((home || end) && (event->modifiers() & Qt::ControlModifier) && m_model
        && m_model->windowed() && dataSet() && state() != QAbstractItemView::EditingState) {
        home ? dataSet()->first() : dataSet()->last(); // the grid follows the data set
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void GridView::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QModelIndex idx = indexAt(event->position().toPoint());
    QTableView::mouseDoubleClickEvent(event);
    if (idx.isValid())
        emit rowActivated(m_model ? m_model->listRow(idx.row()) : idx.row());
}

void GridView::useColumnChooser(Dialogs &dialogs)
{
    // The corner button selects everything by default; here it opens the chooser instead.
    auto *corner = findChild<QAbstractButton *>();
    if (!corner)
        return;
    corner->disconnect();
    corner->setToolTip(QStringLiteral("Gösterlecek Kolonları Seç"));
    connect(corner, &QAbstractButton::clicked, this, [this, &dialogs] {
        ColumnChooser chooser(this, dialogs);
        chooser.exec();
    });
}

ColumnChooser::ColumnChooser(GridView *view, Dialogs &dialogs)
    : QDialog(view), m_view(view), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("ColumnChooser"));
    setWindowTitle(QStringLiteral("Gösterlecek Kolonları Seç"));
    auto *layout = new QVBoxLayout(this);
    QAbstractItemModel *model = view->model();
    for (int c = 0; model && c < model->columnCount(); ++c) {
        auto *box = new QCheckBox(model->headerData(c, Qt::Horizontal).toString(), this);
        box->setChecked(!view->isColumnHidden(c));
        layout->addWidget(box);
        m_boxes << box;
    }
    m_ok = new QPushButton(QStringLiteral("&Tamam"), this);
    m_ok->setObjectName(QStringLiteral("okButton"));
    layout->addWidget(m_ok);
    connect(m_ok, &QPushButton::clicked, this, &ColumnChooser::okClicked);
}

void ColumnChooser::okClicked()
{
    const bool anyShown = std::any_of(m_boxes.cbegin(), m_boxes.cend(),
                                      [](const QCheckBox *box) { return box->isChecked(); });
    if (!anyShown) {
        m_dialogs.information(programTitle(), QStringLiteral("En Az bir kolon görünür olmalı"));
        return;
    }
    for (int c = 0; c < m_boxes.size(); ++c)
        m_view->setColumnHidden(c, !m_boxes[c]->isChecked());
    accept();
}

void GridView::offerExport(Dialogs &dialogs)
{
    m_dialogs = &dialogs;
    if (m_exportAction)
        return;
    m_exportAction = new QAction(QStringLiteral("Listeyi Dışa Aktar (CSV)..."), this);
    m_exportAction->setObjectName(QStringLiteral("listeyiDisaAktar"));
    connect(m_exportAction, &QAction::triggered, this, &GridView::exportList);
}

void GridView::addExportAction(QAction *action)
{
    if (!m_moreExports.contains(action))
        m_moreExports.append(action);
}

QMenu *GridView::contextMenu()
{
    if (!m_contextMenu)
        m_contextMenu = new QMenu(this);
    m_contextMenu->clear();
    if (QMenu *own = popupMenu(this))
        m_contextMenu->addActions(own->actions());
    QList<QAction *> exports = m_moreExports;
    if (m_exportAction)
        exports.prepend(m_exportAction);
    if (!exports.isEmpty() && !m_contextMenu->isEmpty())
        m_contextMenu->addSeparator();
    m_contextMenu->addActions(exports);
    return m_contextMenu;
}

void GridView::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = contextMenu();
    if (menu->isEmpty()) {
        QTableView::contextMenuEvent(event);
        return;
    }
    menu->popup(event->globalPos());
    event->accept();
}

namespace {

// A file name from the window's caption: "Lumkar Vikelmo - Kasa İşlemleri" -> "Kasa İşlemleri".
QString proposedFileName(const QWidget *window)
{
    QString name = window ? window->windowTitle() : QString();
    const qsizetype dash = name.lastIndexOf(QLatin1String(" - "));
    if (dash >= 0)
        name = name.mid(dash + 3);
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    for (QChar &c : name)
        if (forbidden.contains(c))
            c = QLatin1Char(' ');
    name = name.simplified();
    return (name.isEmpty() ? QStringLiteral("liste") : name) + QLatin1String(".csv");
}

} // namespace

void GridView::exportList()
{
    if (!m_dialogs || !m_model)
        return;
    const QString path = m_dialogs->saveFile(
        QStringLiteral("Listeyi Dışa Aktar"), QString(), proposedFileName(window()),
        QStringLiteral("CSV dosyaları (*.csv)"));
    if (path.isEmpty())
        return;
    CsvExport csv(*m_model, CsvExport::shownColumns(*this));
    if (!csv.save(path))
        m_dialogs->error(programTitle(), QStringLiteral("Liste dosyaya yazılamadı:\n%1\n%2")
                                             .arg(QDir::toNativeSeparators(path),
                                                  csv.errorText()));
}

void offerGridExports(QWidget *window, Dialogs &dialogs)
{
    if (auto *grid = qobject_cast<GridView *>(window))
        grid->offerExport(dialogs);
    for (GridView *grid : window->findChildren<GridView *>())
        grid->offerExport(dialogs);
}

} // namespace lumkar
